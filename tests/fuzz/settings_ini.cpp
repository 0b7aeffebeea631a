// The INI reader and writer: any bytes as a settings file; reading never fails, a written value
// reads back as the reader gives values, other keys read as before, and every other line stays
// as it was, in order. One input in eight also goes through the real file functions.
//
// Input: [flags] [pick] [repeat] [s] [k] [v] [s bytes] [k bytes] [v bytes] [file content]
//   flags bits 0-1: the section: a name found in the content (0, 1) or the s bytes (2, 3);
//   flags bits 2-3: the key, likewise from the content or the k bytes;
//   flags bit 4: the letter case of the names is swapped (names compare without it);
//   flags bits 5-7: 0 runs the file round trip; there bit 5 of pick chooses WriteProfileString
//   over SettingsFile, bit 6 a file that exists already, bit 7 its mode 0640 over 0600;
//   the value is the v bytes (UTF-8) repeated (repeat % 64) + 1 times, or a number from them.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "core/ProfileFile.h"
#include "core/SettingsFile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <filesystem>
#include <functional>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace kalvo;
using namespace kalvo::fuzz;

namespace {

// The lines as the reader takes them: each ends at "\r\n", "\n" or a lone "\r".
std::vector<std::string_view> Lines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    while (!bytes.empty()) {
        const auto end = bytes.find_first_of("\r\n");
        lines.push_back(bytes.substr(0, end));
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(bytes.substr(end, 2) == "\r\n" ? end + 2 : end + 1);
    }
    return lines;
}

std::string_view Blankless(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Section and key names as they occur in the content, to write to existing ones.
void CollectNames(std::string_view content, std::vector<std::string>& sections,
                  std::vector<std::string>& keys)
{
    for (const std::string_view line : Lines(content)) {
        const std::string_view t = Blankless(line);
        if (t.empty())
            continue;
        if (t.front() == '[') {
            sections.emplace_back(Blankless(t.substr(1, t.find(']') - 1)));
        } else if (t.find('=') != std::string_view::npos) {
            keys.emplace_back(Blankless(t.substr(0, t.find('='))));
        }
    }
}

// Names the writer can write so that they read back: one line, no blanks around them, no "]"
// in a section name; a key without "=" that does not start like a comment or a section.
bool WritableName(const std::string& name, bool section)
{
    if (name.find_first_of("\r\n") != std::string::npos || Blankless(name) != name)
        return false;
    if (section)
        return name.find(']') == std::string::npos;
    return name.find('=') == std::string::npos &&
           (name.empty() || (name.front() != ';' && name.front() != '#' && name.front() != '['));
}

QString SwapCase(const QString& s)
{
    QString out = s;
    for (QChar& c : out) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
        else if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + 32);
    }
    return out;
}

QString PickName(int source, std::uint8_t pick, const std::vector<std::string>& found,
                 std::string_view own, bool section, const char16_t* fallback)
{
    QString name;
    if (source < 2 && !found.empty())
        name = QString::fromUtf8(found[(pick + source) % found.size()]);
    else
        name = QString::fromUtf8(own);
    if (!WritableName(name.toStdString(), section))
        name = QString::fromUtf16(fallback);
    return name;
}

// What the reader gives for a written value: line breaks became blanks, blanks and tabs around
// it are gone, and it is cut to 2047 characters.
QString AsRead(const QString& written)
{
    QString s = written;
    s.replace(u'\r', u' ').replace(u'\n', u' ');
    qsizetype first = 0, last = s.size();
    while (first < last && (s[first] == u' ' || s[first] == u'\t'))
        ++first;
    while (last > first && (s[last - 1] == u' ' || s[last - 1] == u'\t'))
        --last;
    return s.mid(first, last - first).left(TIniDocument::MaxValueLength);
}

std::string OneLine(const QString& value)
{
    std::string s = value.toStdString();
    for (char& c : s) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return s;
}

// Names compare without regard to the case of ASCII letters, and only of those.
bool EqualNoCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool SameName(const QString& a, const QString& b)
{
    return EqualNoCase(a.toStdString(), b.toStdString());
}

const QString Missing = QStringLiteral("\x01missing");

// The report of a broken property, made only when one breaks.
using Details = std::function<std::string()>;

struct Probe
{
    QString Section, Key, Before;
};

std::string Describe(std::string_view content, const QString& section, const QString& key,
                     const QString& value)
{
    return "content " + Quote(content) + "\nsection " + Quote(section) + ", key " + Quote(key) +
           ", value " + Quote(value.left(200)) + " (" + std::to_string(value.size()) +
           " characters)";
}

// The other lines stay, in order: the write replaced one key line, or put one key line into the
// section, or appended the section with the key.
void CheckLinesKept(std::string_view before, std::string_view after, const QString& section,
                    const QString& key, const std::string& text, const Details& context)
{
    const auto o = Lines(before);
    const auto n = Lines(after);
    const std::string keyLine = key.toStdString() + '=' + text;
    std::size_t j = 0;
    while (j < o.size() && j < n.size() && o[j] == n[j])
        ++j;
    bool ok = false;
    if (n.size() == o.size()) {
        ok = j == o.size();
        if (!ok) {
            const std::string_view line = n[j];
            const auto eq = line.find('=');
            ok = eq != std::string_view::npos && line.substr(eq + 1) == text &&
                 EqualNoCase(line.substr(0, eq), key.toStdString()) &&
                 std::equal(o.begin() + j + 1, o.end(), n.begin() + j + 1);
        }
    } else if (n.size() == o.size() + 1) {
        ok = n[j] == keyLine && std::equal(o.begin() + j, o.end(), n.begin() + j + 1);
    } else if (n.size() == o.size() + 2) {
        ok = j == o.size() && n[j] == '[' + section.toStdString() + ']' && n[j + 1] == keyLine;
    }
    if (!ok)
        Fail("a write keeps every other line as it was, in order",
             context() + "\nwritten " + Quote(after) + "\nfirst difference at line " +
                 std::to_string(j + 1));
}

QString TempFolder()
{
    static const QString folder = [] {
        // tmpfs where there is one: every file round trip flushes to disk.
        const QString base =
            QDir(QStringLiteral("/dev/shm")).exists() && ::access("/dev/shm", W_OK) == 0
                ? QStringLiteral("/dev/shm")
                : QDir::tempPath();
        QByteArray name = QFile::encodeName(base + QStringLiteral("/kalvo-fuzz-ini-XXXXXX"));
        if (!::mkdtemp(name.data()))
            Fail("a temporary folder for the file round trip", name.toStdString());
        static std::string path = name.toStdString();
        CleanUpBeforeAbort = [] {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        };
        std::atexit(CleanUpBeforeAbort);
        return QFile::decodeName(name);
    }();
    return folder;
}

std::string ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

void CheckFileRoundTrip(std::string_view content, std::uint8_t pick, const QString& section,
                        const QString& key, const QString& value,
                        std::optional<std::int32_t> number, const Details& context)
{
    const QString folder = TempFolder() + QStringLiteral("/f");
    QDir(folder).removeRecursively();
    const QString path = folder + QStringLiteral("/sub/kalvo.ini");
    const bool exists = pick & 0x40;
    const mode_t mode = pick & 0x80 ? 0640 : 0600;
    if (exists) {
        QDir().mkpath(folder + QStringLiteral("/sub"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) ||
            f.write(content.data(), qint64(content.size())) != qint64(content.size()))
            Fail("the test file can be written", path.toStdString());
        f.close();
        ::chmod(QFile::encodeName(path).constData(), mode);
    }

    TIniDocument expected = TIniDocument::Parse(exists ? content : std::string_view());
    expected.WriteString(section, key, value);
    try {
        if (pick & 0x20) {
            WriteProfileString(path, section, key, value);
        } else {
            SettingsFile settings(path);
            if (number)
                settings.WriteInteger(section, key, *number);
            else
                settings.WriteString(section, key, value);
            settings.UpdateFile();
        }
    } catch (const EWriteError& e) {
        Fail("the settings file in a writable folder can be written",
             context() + "\n" + Quote(e.Message()));
    }

    if (ReadFile(path) != expected.Serialize())
        Fail("the file holds what the document serialises to",
             context() + "\nfile " + Quote(ReadFile(path)));
    struct stat st
    {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 ||
        (st.st_mode & 07777) != (exists ? mode : 0600))
        Fail("the file keeps its mode (0600 when new)", context());
    const QStringList left =
        QDir(folder + QStringLiteral("/sub"))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    if (left != QStringList{QStringLiteral("kalvo.ini")})
        Fail("the atomic replace leaves no temporary file",
             context() + "\nfolder " + left.join(u' ').toStdString());
    const QString read = SettingsFile(path).ReadString(section, key, Missing);
    if (read != AsRead(value) || ReadProfileString(path, section, key, Missing) != read)
        Fail("the written value reads back from the file",
             context() + "\nread " + Quote(read.left(200)));
    QDir(folder).removeRecursively();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::uint8_t pick = in.Byte();
    const int repeat = in.Byte() % 64 + 1;
    const std::size_t sectionLength = in.Byte() % 32;
    const std::size_t keyLength = in.Byte() % 32;
    const std::size_t valueLength = in.Byte();
    const std::string_view ownSection = in.Bytes(sectionLength);
    const std::string_view ownKey = in.Bytes(keyLength);
    const std::string_view valueBytes = in.Bytes(valueLength);
    const std::string_view content = in.Rest();

    TIniDocument doc = TIniDocument::Parse(content);
    std::vector<std::string> sections, keys;
    CollectNames(content, sections, keys);

    QString section = PickName(flags & 3, pick, sections, ownSection, true, u"Staat");
    QString key = PickName((flags >> 2) & 3, pick, keys, ownKey, false, u"Nummer");
    if (flags & 0x10) {
        section = SwapCase(section);
        key = SwapCase(key);
    }
    std::optional<std::int32_t> number;
    if (repeat == 64)
        number = std::int32_t(std::hash<std::string_view>{}(valueBytes));
    const QString value =
        number ? QString::number(*number) : QString::fromUtf8(valueBytes).repeated(repeat);

    // Reading never fails, and every key found reads as the reader gives values.
    std::vector<Probe> probes;
    for (std::size_t i = 0; i < std::min<std::size_t>(sections.size(), 4); ++i) {
        for (std::size_t j = 0; j < std::min<std::size_t>(keys.size(), 4); ++j) {
            Probe p{
                QString::fromUtf8(sections[i]), QString::fromUtf8(keys[(i + j) % keys.size()]), {}};
            p.Before = doc.ReadString(p.Section, p.Key, Missing);
            const auto raw = doc.Value(p.Section.toStdString(), p.Key.toStdString());
            if (raw && (raw->find('\n') != std::string::npos || Blankless(*raw) != *raw ||
                        p.Before.size() > TIniDocument::MaxValueLength))
                Fail("values read as one line without blanks around, at most 2047 characters",
                     Describe(content, p.Section, p.Key, p.Before));
            probes.push_back(p);
        }
    }

    const Details context = [&] { return Describe(content, section, key, value); };
    doc.WriteString(section, key, value);
    if (doc.ReadString(section, key, Missing) != AsRead(value))
        Fail("a written value reads back",
             context() + "\nread " + Quote(doc.ReadString(section, key, Missing)));
    const std::string written = doc.Serialize();
    const TIniDocument again = TIniDocument::Parse(written);
    const QString read = again.ReadString(section, key, Missing);
    if (read != AsRead(value))
        Fail("a written value reads back after serialising",
             context() + "\nread " + Quote(read.left(200)));
    CheckLinesKept(content, written, section, key, OneLine(value), context);
    for (const Probe& p : probes) {
        if (SameName(p.Section, section) && SameName(p.Key, key))
            continue;
        if (again.ReadString(p.Section, p.Key, Missing) != p.Before)
            Fail("a write leaves the other keys' values as they were",
                 context() + "\nother key " + Quote(p.Section) + " " + Quote(p.Key) + " read " +
                     Quote(p.Before) + " before and " +
                     Quote(again.ReadString(p.Section, p.Key, Missing)) + " after");
    }

    if (again.Serialize() != written)
        Fail("a serialised document serialises the same once parsed again", context());

    if ((flags & 0xE0) == 0)
        CheckFileRoundTrip(content, pick, section, key, value, number, context);
    return 0;
}
