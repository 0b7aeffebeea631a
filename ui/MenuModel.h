// A popup menu built from its item table, keeping the table's depth-first order for the
// shortcut keys.
#pragma once

#include "core/StateCatalogue.h"

#include <QMenu>

#include <functional>
#include <span>
#include <vector>

namespace kalvo {

class TPopupMenu : public QMenu
{
    Q_OBJECT

public:
    TPopupMenu(QStringView name, std::span<const TMenuItemSpec> items, QWidget* parent);

    std::span<const TMenuItemSpec> Items() const { return FItems; }
    QAction* Item(QStringView name) const;
    QAction* ItemAt(int index) const { return FActions[static_cast<std::size_t>(index)]; }

    // The first item, depth first and hidden ones included, that carries shortCut; -1 if none.
    int FindShortCut(TShortCut shortCut) const { return FindShortCutItem(FItems, shortCut); }
    // Whether the item and the submenu that holds it are enabled.
    bool ItemUsable(int index) const;

    // Runs when an item is chosen, by mouse, menu key or shortcut.
    std::function<void(const TMenuItemSpec& item)> OnItemClick;

private:
    std::span<const TMenuItemSpec> FItems;
    std::vector<QAction*> FActions;
    std::vector<QMenu*> FSubmenus; // the submenu of each item (nullptr at top level)
};

} // namespace kalvo
