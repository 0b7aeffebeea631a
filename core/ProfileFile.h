// The profile (INI) file service: our own reader and writer with the rules the program relies on.
//
// - a missing file, section or key reads as the default;
// - section and key names compare without regard to letter case (ASCII);
// - a write replaces the key's value, or appends the key to its section, or appends the section
//   at the end, and keeps every other line of the file as it was;
// - values are read as at most 2047 characters;
// - "\r\n" and "\n" are read, "\n" is written;
// - a write replaces the whole file atomically and creates missing folders.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvo {

// The lines of one INI file, kept byte for byte.
class TIniDocument
{
public:
    static constexpr qsizetype MaxValueLength = 2047;

    TIniDocument() = default;
    static TIniDocument Parse(std::string_view bytes);

    // The value of the first matching key in the first matching section, trimmed of blanks.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    std::string Serialize() const;

    // The same, with names and values as text: values are decoded from UTF-8 and cut to
    // MaxValueLength characters.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    void WriteString(const QString& section, const QString& key, const QString& value);

private:
    std::vector<std::string> FLines;
};

// The per-user application-data folder: $XDG_CONFIG_HOME, else $HOME/.config; empty when there is
// no home at all (then nothing is read or written).
QString AppDataFolder();
// <AppDataFolder>/Quorvath-Software/kalvo/kalvo.ini, built anew at every call.
QString SettingsPath();
// Where a profile file named without a folder goes: <AppDataFolder>/Quorvath-Software.
QString DefaultProfileFolder();
// fileName itself when it names a folder, else the file of that name in DefaultProfileFolder().
QString ResolveProfilePath(const QString& fileName);

// Replaces the file with `bytes` through a temporary file in the same folder, flushed to disk and
// renamed over the old one; creates missing folders. Refuses an existing file that is read-only.
// Returns false on any failure, leaving the old file as it was.
bool AtomicWriteFile(const QString& path, std::string_view bytes);

// Reads a whole profile file; a missing, unreadable or absurdly large file reads as empty.
// `tooLarge` (if given) tells whether the file exists but is too large to be handled.
TIniDocument LoadIniFile(const QString& path, bool* tooLarge = nullptr);

// One-key reads and writes in the manner of the platform's profile service. fileName may be
// given without a folder (see ResolveProfilePath). Writing raises EWriteError with fileName.
QString ReadProfileString(const QString& fileName, const QString& section, const QString& key,
                          const QString& defaultValue);
void WriteProfileString(const QString& fileName, const QString& section, const QString& key,
                        const QString& value);

} // namespace kalvo
