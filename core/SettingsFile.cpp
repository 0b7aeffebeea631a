#include "SettingsFile.h"

#include "Errors.h"

namespace kalvo {

SettingsFile::SettingsFile(QString path) : FPath(std::move(path))
{
    FDocument = LoadIniFile(FPath, &FTooLarge);
}

QString SettingsFile::ReadString(const QString& section, const QString& key,
                                 const QString& defaultValue) const
{
    return FDocument.ReadString(section, key, defaultValue);
}

void SettingsFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    FDocument.WriteString(section, key, value);
    FModified = true;
}

void SettingsFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void SettingsFile::UpdateFile()
{
    if (!FModified || FPath.isEmpty())
        return;
    // A file too large to have been read whole must not be replaced by what was read of it.
    if (FTooLarge || !AtomicWriteFile(FPath, FDocument.Serialize()))
        throw EWriteError(FPath);
    FModified = false;
}

} // namespace kalvo
