// The per-user settings file kalvo.ini.
#pragma once

#include "ProfileFile.h"

#include <QString>

namespace kalvo {

// Opened on a path, read key by key, written key by key; UpdateFile() stores all written keys
// at once, so the file on disk is always either the old or the new complete file.
class SettingsFile
{
public:
    explicit SettingsFile(QString path);

    const QString& FileName() const { return FPath; }

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);

    // Raises EWriteError "In <path> kann nicht geschrieben werden" when the file cannot be
    // written. Without a path (no home folder) nothing is stored, silently.
    void UpdateFile();

private:
    QString FPath;
    TIniDocument FDocument;
    bool FTooLarge = false;
    bool FModified = false;
};

} // namespace kalvo
