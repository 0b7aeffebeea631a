#include "ProfileFile.h"

#include "Errors.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvo {

namespace {

// A settings file this large is nobody's settings: leave it alone rather than load it whole.
constexpr off_t MaxFileSize = 64 * 1024 * 1024;

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = char(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string_view WithoutBom(std::string_view line, std::size_t index)
{
    if (index == 0 && line.substr(0, Utf8Bom.size()) == Utf8Bom)
        line.remove_prefix(Utf8Bom.size());
    return line;
}

// The section name when the line is a section header.
std::optional<std::string_view> SectionName(std::string_view line)
{
    line = Trim(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    line.remove_prefix(1);
    return Trim(line.substr(0, line.find(']')));
}

struct KeyLine
{
    std::string_view Key;
    std::string_view Value;
};

std::optional<KeyLine> ParseKeyLine(std::string_view line)
{
    const auto trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#')
        return std::nullopt;
    const auto eq = trimmed.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyLine{Trim(trimmed.substr(0, eq)), Trim(trimmed.substr(eq + 1))};
}

std::string OneLine(std::string_view value)
{
    std::string s(value);
    for (char& c : s) {
        if (c == '\n' || c == '\r')
            c = ' ';
    }
    return s;
}

QString EnvPath(const char* name)
{
    const char* value = std::getenv(name);
    return value ? QString::fromLocal8Bit(value) : QString();
}

bool MakeFolders(const QString& folder)
{
    return QDir().mkpath(folder);
}

// A write that was killed leaves its temporary file behind; remove those of earlier writes. One
// touched within the last minute may belong to another writer still at work.
void RemoveStaleTemporaries(const QString& folder, const QString& fileName)
{
    const QString pattern = u'.' + fileName + QStringLiteral(".??????");
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-60);
    const QFileInfoList temporaries =
        QDir(folder).entryInfoList({pattern}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& temporary : temporaries) {
        if (temporary.lastModified().toUTC() < stale)
            QFile::remove(temporary.absoluteFilePath());
    }
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

TIniDocument TIniDocument::Parse(std::string_view bytes)
{
    // A line ends at "\r\n", "\n" or a lone "\r": a carriage return inside a line could not be
    // written back as it was read.
    TIniDocument doc;
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        doc.FLines.emplace_back(bytes.substr(0, end));
        if (end == std::string_view::npos)
            break;
        const bool crlf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crlf ? 2 : 1));
    }
    return doc;
}

std::optional<std::string> TIniDocument::Value(std::string_view section, std::string_view key) const
{
    bool inSection = false;
    bool sectionSeen = false;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const std::string_view line = WithoutBom(FLines[i], i);
        if (const auto name = SectionName(line)) {
            if (inSection)
                return std::nullopt; // only the first section of that name counts
            inSection = !sectionSeen && EqualNoCase(*name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (const auto kv = ParseKeyLine(line); kv && EqualNoCase(kv->Key, key))
            return std::string(kv->Value);
    }
    return std::nullopt;
}

void TIniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string text = OneLine(value);
    std::optional<std::size_t> sectionLine;
    std::size_t lastContent = 0;
    for (std::size_t i = 0; i < FLines.size(); ++i) {
        const std::string_view line = WithoutBom(FLines[i], i);
        if (const auto name = SectionName(line)) {
            if (sectionLine)
                break;
            if (EqualNoCase(*name, section)) {
                sectionLine = i;
                lastContent = i;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        if (const auto kv = ParseKeyLine(line); kv && EqualNoCase(kv->Key, key)) {
            FLines[i] = std::string(kv->Key) + '=' + text;
            return;
        }
        if (!Trim(line).empty())
            lastContent = i;
    }
    if (sectionLine) {
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(lastContent + 1),
                      std::string(key) + '=' + text);
        return;
    }
    FLines.push_back('[' + std::string(section) + ']');
    FLines.push_back(std::string(key) + '=' + text);
}

std::string TIniDocument::Serialize() const
{
    std::size_t size = 0;
    for (const auto& line : FLines)
        size += line.size() + 1;
    std::string out;
    out.reserve(size);
    for (const auto& line : FLines) {
        out += line;
        out += '\n';
    }
    return out;
}

QString TIniDocument::ReadString(const QString& section, const QString& key,
                                 const QString& defaultValue) const
{
    const auto raw = Value(section.toStdString(), key.toStdString());
    if (!raw)
        return defaultValue;
    // Decoded as it stands: a value may begin with a byte order mark like any other character.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString value = utf8(*raw);
    if (value.size() > MaxValueLength) {
        // Never half a character: a pair of UTF-16 units stays whole or goes.
        const bool splitsPair = value[MaxValueLength - 1].isHighSurrogate();
        value.truncate(MaxValueLength - (splitsPair ? 1 : 0));
    }
    return value;
}

void TIniDocument::WriteString(const QString& section, const QString& key, const QString& value)
{
    SetValue(section.toStdString(), key.toStdString(), value.toStdString());
}

QString AppDataFolder()
{
    const QString xdg = EnvPath("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    const QString home = EnvPath("HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(home + QStringLiteral("/.config"));
    return {};
}

QString DefaultProfileFolder()
{
    const QString appData = AppDataFolder();
    return appData.isEmpty() ? QString() : appData + QStringLiteral("/Quorvath-Software");
}

QString SettingsPath()
{
    const QString folder = DefaultProfileFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/kalvo/kalvo.ini");
}

QString ResolveProfilePath(const QString& fileName)
{
    if (fileName.contains(u'/'))
        return fileName;
    const QString folder = DefaultProfileFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + fileName;
}

bool AtomicWriteFile(const QString& path, std::string_view bytes)
{
    if (path.isEmpty())
        return false;
    // Write through a symbolic link to the file it names, as an editor would.
    QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
    info = QFileInfo(target);
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old
    {};
    const bool exists = ::stat(targetName.constData(), &old) == 0;
    // A file without any write permission was made read-only on purpose; keep it, even as root.
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0 ||
                   ::access(targetName.constData(), W_OK) != 0))
        return false;
    if (!MakeFolders(info.absolutePath()))
        return false;
    struct stat folder
    {};
    if (::stat(QFile::encodeName(info.absolutePath()).constData(), &folder) != 0 ||
        (folder.st_mode & 0222) == 0)
        return false;
    RemoveStaleTemporaries(info.absolutePath(), info.fileName());

    QByteArray tempName = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") +
                                            info.fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkstemp(tempName.data());
    if (fd < 0)
        return false;

    const mode_t mode = exists ? (old.st_mode & 07777) : 0600;
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok)
        ok = ::rename(tempName.constData(), targetName.constData()) == 0;
    if (!ok) {
        ::unlink(tempName.constData());
        return false;
    }
    // Make the rename itself durable.
    const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(),
                           O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

TIniDocument LoadIniFile(const QString& path, bool* tooLarge)
{
    if (tooLarge)
        *tooLarge = false;
    if (path.isEmpty())
        return {};
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat st
    {};
    std::string bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        if (st.st_size > MaxFileSize) {
            if (tooLarge)
                *tooLarge = true;
        } else {
            bytes.resize(static_cast<std::size_t>(st.st_size));
            std::size_t got = 0;
            while (got < bytes.size()) {
                const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                got += static_cast<std::size_t>(n);
            }
            bytes.resize(got);
        }
    }
    ::close(fd);
    return TIniDocument::Parse(bytes);
}

QString ReadProfileString(const QString& fileName, const QString& section, const QString& key,
                          const QString& defaultValue)
{
    const TIniDocument doc = LoadIniFile(ResolveProfilePath(fileName));
    return doc.ReadString(section, key, defaultValue);
}

void WriteProfileString(const QString& fileName, const QString& section, const QString& key,
                        const QString& value)
{
    const QString path = ResolveProfilePath(fileName);
    if (path.isEmpty())
        return; // no home folder: nothing is stored, silently
    bool tooLarge = false;
    TIniDocument doc = LoadIniFile(path, &tooLarge);
    if (tooLarge)
        throw EWriteError(fileName);
    doc.WriteString(section, key, value);
    if (!AtomicWriteFile(path, doc.Serialize()))
        throw EWriteError(fileName);
}

} // namespace kalvo
