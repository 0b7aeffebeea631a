// The program's real services: the alert sound, the error box, the information box and the
// web browser.
#pragma once

class QWidget;

namespace kalvo {

// Installs them; the boxes belong to mainWindow (transient for it, no taskbar entry).
void InstallQtServices(QWidget* mainWindow);

} // namespace kalvo
