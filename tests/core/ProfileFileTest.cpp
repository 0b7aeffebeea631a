#include "core/ProfileFile.h"

#include "core/Errors.h"
#include "core/SettingsFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>

using namespace kalvo;

namespace {

std::string ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

void WriteBytes(const QString& path, std::string_view bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

TEST(TIniDocument, ReadsNamesWithoutRegardToCase)
{
    const auto doc = TIniDocument::Parse("[Staat]\r\nNummer=23\r\n[Lage]\n links = 290 \n");
    EXPECT_EQ(doc.Value("staat", "NUMMER"), "23");
    EXPECT_EQ(doc.Value("LAGE", "Links"), "290");
    EXPECT_EQ(doc.Value("Lage", "oben"), std::nullopt);
    EXPECT_EQ(doc.Value("Darstellung", "gross"), std::nullopt);
    EXPECT_EQ(doc.ReadString(QStringLiteral("Lage"), QStringLiteral("oben"), QStringLiteral("180")),
              u"180");
}

TEST(TIniDocument, TheFirstSectionAndKeyWin)
{
    const auto doc = TIniDocument::Parse("x=0\n[Staat]\nNummer=1\nNummer=2\n[Staat]\nNummer=3\n");
    EXPECT_EQ(doc.Value("Staat", "Nummer"), "1");
    EXPECT_EQ(doc.Value("", "x"), std::nullopt); // keys before any section belong to none
}

TEST(TIniDocument, IgnoresCommentsAndAByteOrderMark)
{
    const auto doc = TIniDocument::Parse("\xEF\xBB\xBF[Staat]\n;Nummer=9\n#Nummer=8\nNummer=7\n");
    EXPECT_EQ(doc.Value("Staat", "Nummer"), "7");
}

TEST(TIniDocument, EveryLineBreakEndsALineAndWritesBackAsALineFeed)
{
    // "\r\n", "\n" and a lone "\r" all end a line, so that every line reads back as it was.
    auto doc = TIniDocument::Parse("[Staat]\r\nNummer=4\r\r\n[Lage]\rlinks=290\n");
    EXPECT_EQ(doc.Value("Staat", "Nummer"), "4");
    EXPECT_EQ(doc.Value("Lage", "links"), "290");
    EXPECT_EQ(doc.Serialize(), "[Staat]\nNummer=4\n\n[Lage]\nlinks=290\n");
    EXPECT_EQ(TIniDocument::Parse(doc.Serialize()).Serialize(), doc.Serialize());
}

TEST(TIniDocument, AValueMayStartWithAByteOrderMark)
{
    TIniDocument doc;
    const QString value = QChar(0xFEFF) + QStringLiteral("4");
    doc.WriteString(QStringLiteral("Staat"), QStringLiteral("Nummer"), value);
    EXPECT_EQ(TIniDocument::Parse(doc.Serialize())
                  .ReadString(QStringLiteral("Staat"), QStringLiteral("Nummer"), {}),
              value);
}

TEST(TIniDocument, ValuesAreCutTo2047Characters)
{
    const std::string longValue(5000, '7');
    const auto doc = TIniDocument::Parse("[Staat]\nNummer=" + longValue + "\n");
    const QString value = doc.ReadString(QStringLiteral("Staat"), QStringLiteral("Nummer"), {});
    EXPECT_EQ(value.size(), 2047);

    // A character outside the BMP that the cut would halve goes whole.
    const std::string emoji = "\xF0\x9F\x98\x80"; // U+1F600, two UTF-16 units
    const auto split = TIniDocument::Parse("[Staat]\nNummer=" + std::string(2046, '7') + emoji);
    const QString cut = split.ReadString(QStringLiteral("Staat"), QStringLiteral("Nummer"), {});
    EXPECT_EQ(cut.size(), 2046);
    EXPECT_FALSE(cut.back().isHighSurrogate());
}

TEST(TIniDocument, AWriteKeepsEveryOtherLine)
{
    auto doc = TIniDocument::Parse("; kalvo settings\n"
                                   "[Staat]\n"
                                   "Nummer=4\n"
                                   "Farbe=blau\n"
                                   "\n"
                                   "[Lage]\n"
                                   "links=290\n"
                                   "\n"
                                   "[Fremd]\n"
                                   "a=b\n"
                                   "Zeile ohne Gleichheitszeichen\n");
    doc.SetValue("staat", "NUMMER", "23");
    doc.SetValue("Lage", "oben", "180");
    doc.SetValue("Darstellung", "gross", "1");
    EXPECT_EQ(doc.Serialize(), "; kalvo settings\n"
                               "[Staat]\n"
                               "Nummer=23\n"
                               "Farbe=blau\n"
                               "\n"
                               "[Lage]\n"
                               "links=290\n"
                               "oben=180\n"
                               "\n"
                               "[Fremd]\n"
                               "a=b\n"
                               "Zeile ohne Gleichheitszeichen\n"
                               "[Darstellung]\n"
                               "gross=1\n");
}

TEST(TIniDocument, ALineBreakInAValueCannotBreakTheFile)
{
    TIniDocument doc;
    doc.SetValue("Staat", "Nummer", "1\n[Lage]\nlinks=5");
    EXPECT_EQ(doc.Value("Lage", "links"), std::nullopt);
}

TEST(TIniDocument, BinaryJunkIsKeptAndNeverBreaksReading)
{
    std::mt19937 random(42);
    for (int round = 0; round < 50; ++round) {
        std::string junk(2000, '\0');
        for (char& c : junk)
            c = static_cast<char>(random() % 256);
        auto doc = TIniDocument::Parse(junk);
        doc.Value("Staat", "Nummer"); // must not crash
        doc.SetValue("Staat", "Nummer", "5");
        const auto written = doc.Serialize();
        const auto again = TIniDocument::Parse(written);
        EXPECT_EQ(again.Value("Staat", "Nummer"), "5");
        // Every line of the junk is still there, in order.
        auto original = TIniDocument::Parse(junk).Serialize();
        std::size_t pos = 0;
        for (std::size_t start = 0; start < original.size();) {
            const auto end = original.find('\n', start);
            const auto line = original.substr(start, end - start + 1);
            pos = written.find(line, pos);
            ASSERT_NE(pos, std::string::npos) << "round " << round;
            start = end + 1;
        }
    }
}

class SettingsFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FOldXdg = qgetenv("XDG_CONFIG_HOME");
        FOldHome = qgetenv("HOME");
        ASSERT_TRUE(FDir.isValid());
        qputenv("XDG_CONFIG_HOME", FDir.path().toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("XDG_CONFIG_HOME", FOldXdg);
        qputenv("HOME", FOldHome);
        // Leave nothing read-only behind for QTemporaryDir to trip over.
        for (const QString& path : {Folder(), Folder() + QStringLiteral("/kalvo"), SettingsPath()})
            ::chmod(QFile::encodeName(path).constData(), 0700);
    }
    QString Folder() const { return FDir.path() + QStringLiteral("/Quorvath-Software"); }

    QTemporaryDir FDir;

private:
    QByteArray FOldXdg, FOldHome;
};

TEST_F(SettingsFolder, PathsFollowXdgConfigHome)
{
    EXPECT_EQ(AppDataFolder(), FDir.path());
    EXPECT_EQ(SettingsPath(), FDir.path() + QStringLiteral("/Quorvath-Software/kalvo/kalvo.ini"));
    EXPECT_EQ(ResolveProfilePath(QStringLiteral("kalvo.INI")),
              FDir.path() + QStringLiteral("/Quorvath-Software/kalvo.INI"));
    EXPECT_EQ(ResolveProfilePath(QStringLiteral("/etc/x.ini")), u"/etc/x.ini");

    qputenv("XDG_CONFIG_HOME", "relative/path"); // not absolute: ignored, as XDG says
    qputenv("HOME", "/home/tarvo");
    EXPECT_EQ(AppDataFolder(), u"/home/tarvo/.config");
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(AppDataFolder(), u"/home/tarvo/.config");
}

TEST_F(SettingsFolder, WithoutAHomeNothingIsReadOrWritten)
{
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("HOME");
    EXPECT_TRUE(AppDataFolder().isEmpty());
    EXPECT_TRUE(SettingsPath().isEmpty());
    SettingsFile settings(SettingsPath());
    EXPECT_EQ(
        settings.ReadString(QStringLiteral("Staat"), QStringLiteral("Nummer"), QStringLiteral("4")),
        u"4");
    settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), 5);
    EXPECT_NO_THROW(settings.UpdateFile());
    EXPECT_NO_THROW(WriteProfileString(QStringLiteral("kalvo.INI"), QStringLiteral("Staat"),
                                       QStringLiteral("Nummer"), QStringLiteral("13")));
}

TEST_F(SettingsFolder, AWriteCreatesTheFoldersAndReadsBack)
{
    {
        SettingsFile settings(SettingsPath());
        settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), 23);
        settings.WriteInteger(QStringLiteral("Lage"), QStringLiteral("links"), -500);
        settings.UpdateFile();
    }
    EXPECT_EQ(ReadBytes(SettingsPath()), "[Staat]\nNummer=23\n[Lage]\nlinks=-500\n");
    SettingsFile again(SettingsPath());
    EXPECT_EQ(again.ReadString(QStringLiteral("Lage"), QStringLiteral("links"), {}), u"-500");
    // Nothing but the settings file is left in the folder.
    EXPECT_EQ(QDir(Folder() + QStringLiteral("/kalvo"))
                  .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("kalvo.ini")});
}

TEST_F(SettingsFolder, TemporariesOfKilledWritesAreRemovedOnceStale)
{
    const QString folder = Folder() + QStringLiteral("/kalvo");
    const QString stale = folder + QStringLiteral("/.kalvo.ini.abc123");
    const QString fresh = folder + QStringLiteral("/.kalvo.ini.def456");
    const QString other = folder + QStringLiteral("/.other.ini.abc123");
    for (const QString& path : {stale, fresh, other})
        WriteBytes(path, "[Staat]\nNummer=");
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const QString& path : {stale, other}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        f.setFileTime(hourAgo, QFileDevice::FileModificationTime);
    }
    SettingsFile settings(SettingsPath());
    settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), 1);
    settings.UpdateFile();
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(fresh)); // perhaps another writer's, still at work
    EXPECT_TRUE(QFile::exists(other)); // not ours
}

TEST_F(SettingsFolder, AReplacedFileKeepsItsPermissions)
{
    WriteBytes(SettingsPath(), "[Staat]\nNummer=4\n");
    ::chmod(QFile::encodeName(SettingsPath()).constData(), 0640);
    SettingsFile settings(SettingsPath());
    settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), 5);
    settings.UpdateFile();
    struct stat st
    {};
    ASSERT_EQ(::stat(QFile::encodeName(SettingsPath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(SettingsFolder, WritingThroughASymbolicLinkUpdatesItsTarget)
{
    const QString target = FDir.path() + QStringLiteral("/elsewhere.ini");
    WriteBytes(target, "[Staat]\nNummer=4\n");
    QDir().mkpath(Folder() + QStringLiteral("/kalvo"));
    ASSERT_TRUE(QFile::link(target, SettingsPath()));
    SettingsFile settings(SettingsPath());
    settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), 9);
    settings.UpdateFile();
    EXPECT_TRUE(QFileInfo(SettingsPath()).isSymLink());
    EXPECT_EQ(ReadBytes(target), "[Staat]\nNummer=9\n");
}

TEST_F(SettingsFolder, FailedWritesReportThePathAndChangeNothing)
{
    const auto expectWriteError = [&](const char* what) {
        SettingsFile settings(SettingsPath());
        settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), 1);
        try {
            settings.UpdateFile();
            ADD_FAILURE() << what << ": no exception";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("In ") + SettingsPath() +
                                       QStringLiteral(" kann nicht geschrieben werden"))
                << what;
        }
    };

    // A plain file stands where the folder should be.
    WriteBytes(Folder(), "not a folder");
    expectWriteError("file in place of the folder");
    QFile::remove(Folder());

    // A read-only settings file is left alone.
    WriteBytes(SettingsPath(), "[Staat]\nNummer=4\n");
    ::chmod(QFile::encodeName(SettingsPath()).constData(), 0444);
    expectWriteError("read-only file");
    EXPECT_EQ(ReadBytes(SettingsPath()), "[Staat]\nNummer=4\n");
    ::chmod(QFile::encodeName(SettingsPath()).constData(), 0644);

    // A folder without write permission.
    ::chmod(QFile::encodeName(Folder() + QStringLiteral("/kalvo")).constData(), 0555);
    expectWriteError("read-only folder");
    EXPECT_EQ(ReadBytes(SettingsPath()), "[Staat]\nNummer=4\n");
}

TEST_F(SettingsFolder, AHugeLineSurvivesAWrite)
{
    const std::string huge(5 * 1024 * 1024, 'x');
    WriteBytes(SettingsPath(), "[Staat]\nNummer=4\n[Fremd]\nlang=" + huge + "\n");
    SettingsFile settings(SettingsPath());
    EXPECT_EQ(settings.ReadString(QStringLiteral("Fremd"), QStringLiteral("lang"), {}).size(),
              2047);
    settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), 12);
    settings.UpdateFile();
    EXPECT_EQ(ReadBytes(SettingsPath()), "[Staat]\nNummer=12\n[Fremd]\nlang=" + huge + "\n");
}

TEST_F(SettingsFolder, TheProfileServiceUsesTheDefaultFolderForABareName)
{
    WriteProfileString(QStringLiteral("kalvo.INI"), QStringLiteral("Staat"),
                       QStringLiteral("Nummer"), QStringLiteral("13"));
    EXPECT_EQ(ReadBytes(Folder() + QStringLiteral("/kalvo.INI")), "[Staat]\nNummer=13\n");
    EXPECT_EQ(ReadProfileString(QStringLiteral("kalvo.INI"), QStringLiteral("STAAT"),
                                QStringLiteral("nummer"), {}),
              u"13");

    ::chmod(QFile::encodeName(Folder()).constData(), 0555);
    try {
        WriteProfileString(QStringLiteral("kalvo.INI"), QStringLiteral("Staat"),
                           QStringLiteral("Nummer"), QStringLiteral("13"));
        ADD_FAILURE() << "no exception";
    } catch (const EWriteError& e) {
        EXPECT_EQ(e.Message(), u"In kalvo.INI kann nicht geschrieben werden");
    }
}

} // namespace
