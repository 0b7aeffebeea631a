// The main window on real widgets with real key and mouse events, headless, each test with a
// settings folder of its own.
#include "WidgetTestSupport.h"
#include "core/Errors.h"
#include "core/NumberText.h"
#include "core/ProfileFile.h"
#include "ui/FormLayout.h"
#include "ui/TForm1.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using namespace kalvo;
using kalvo::test::Recorded;
using kalvo::test::Settle;
using namespace Qt::StringLiterals;

namespace {

QString ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<none>");
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList RowTexts(const TForm1& form, int row)
{
    QStringList cells;
    for (int c = 0; c < 4; ++c)
        cells << form.Tabelle->CellText(c, row);
    return cells;
}

class MainWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FConfig.isValid());
        qputenv("XDG_CONFIG_HOME", FConfig.path().toLocal8Bit());
        // The window reads the separators of the user's locale: German here.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override { Form.reset(); }

    // A window as the program starts it: created, shown off the screen, activated.
    TForm1& Start()
    {
        Form = std::make_unique<TForm1>();
        Form->move(-500, 323);
        Form->show();
        Form->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form.get()));
        Settle();
        EXPECT_TRUE(Form->Activated());
        return *Form;
    }
    QString Settings() const { return SettingsPath(); }

    // Keys go to the control that has the focus, as a user's keys do.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    }
    void Type(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }
    void Focus(QWidget* w)
    {
        w->setFocus(Qt::TabFocusReason);
        Settle();
    }
    // Types an amount into a field from scratch.
    void Enter(TJvCalcEdit* field, const QString& text)
    {
        Focus(field);
        field->selectAll();
        Key(Qt::Key_Delete);
        Type(text);
    }

    QTemporaryDir FConfig;
    std::unique_ptr<TForm1> Form;
};

TEST_F(MainWindow, LaysOutAll29ControlsWithTheirNames)
{
    TForm1& f = Start();
    const QStringList names{
        u"Label1"_s, u"Label2"_s,       u"Label3"_s,    u"L2"_s,      u"Label5"_s,
        u"L1"_s,     u"L3"_s,           u"Shape1"_s,    u"oval"_s,    u"SpeedButton1"_s,
        u"ggg"_s,    u"SpeedButton2"_s, u"Zufug"_s,     u"Edit2"_s,   u"SpinButton1"_s,
        u"Edit5"_s,  u"PageControl1"_s, u"TabSheet1"_s, u"Tabelle"_s, u"TabSheet2"_s,
        u"Label7"_s, u"ListBox1"_s,     u"TabSheet3"_s, u"Label4"_s,  u"Label6"_s,
        u"Image1"_s, u"Edit1"_s,        u"Edit3"_s,     u"Edit4"_s};
    ASSERT_EQ(names.size(), 29);
    for (const QString& name : names) {
        auto* w = f.findChild<QWidget*>(name);
        ASSERT_TRUE(w) << name.toStdString();
        EXPECT_FALSE(w->accessibleName().isEmpty()) << name.toStdString();
    }
    for (const TLayoutEntry& entry : FormLayout()) {
        if (entry.Name == u"Form1")
            continue;
        const QRect actual = f.findChild<QWidget*>(entry.Name.toString())->geometry();
        const std::string name = entry.Name.toString().toStdString();
        switch (entry.AutoSize) {
        case TAutoSize::None:
            EXPECT_EQ(actual, entry.Rect) << name;
            break;
        case TAutoSize::KeepRight: // the captions end at x 45 whatever the font
            EXPECT_EQ(actual.right(), entry.Rect.right()) << name;
            break;
        case TAutoSize::KeepLeft:
            EXPECT_EQ(actual.left(), entry.Rect.left()) << name;
            break;
        case TAutoSize::KeepCentre:
            EXPECT_LE(std::abs(actual.center().x() - entry.Rect.center().x()), 1) << name;
            break;
        }
    }
    EXPECT_EQ(f.size(), QSize(207, 131));
    EXPECT_EQ(f.windowTitle(), u"Tarvo Mehrwertsteuer");
    EXPECT_EQ(f.ListBox1->count(), 30);
    EXPECT_EQ(f.ListBox1->item(19)->text(), u"Österreich - 20%");
    EXPECT_EQ(f.PageControl1->tabText(1), u"&USt");
    EXPECT_FALSE(f.Zufug->isEnabled());
    EXPECT_FALSE(f.SpeedButton2->isVisible());
    EXPECT_FALSE(f.Label4->isVisibleTo(f.TabSheet3));
    EXPECT_EQ(f.Edit5->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(RowTexts(f, 0), (QStringList{u"Netto"_s, u"Brutto"_s, u"USt"_s, u"%"_s}));
    EXPECT_EQ(RowTexts(f, 1), (QStringList{u"0,00"_s, u"0,00"_s, u"0,00"_s, u"0"_s}));
    // Fixed boxes hold their texts whole.
    for (const QLabel* label : {f.Label2, f.Label3, f.Label5, f.L1, f.Label6, f.Label7}) {
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << label->objectName().toStdString();
    }
    // The tab order of the calculator part.
    EXPECT_EQ(f.Edit2->nextInFocusChain(), f.Edit1);
    EXPECT_EQ(f.Edit1->nextInFocusChain(), f.Edit3);
}

TEST_F(MainWindow, TheFirstStartSelectsDeutschland)
{
    TForm1& f = Start();
    EXPECT_EQ(f.Edit2->text(), u"19,0");
    EXPECT_EQ(f.focusWidget(), f.Edit2);
    for (const TLabel* l : {f.L1, f.L2, f.L3})
        EXPECT_EQ(l->text(), u"EUR");
    EXPECT_EQ(f.oval->text(), u"D");
    EXPECT_EQ(f.State().StaatNummer, 4);
    EXPECT_EQ(f.State().Satz, 19);
    EXPECT_EQ(f.ggg->property("kalvoHint").toString(), u"Deutschland");
    EXPECT_EQ(f.frameGeometry().topLeft(), QPoint(290, 180));
    EXPECT_EQ(f.size(), QSize(207, 131));
    EXPECT_TRUE(Recorded().Errors.isEmpty());
}

TEST_F(MainWindow, EachAmountDrivesTheOtherTwo)
{
    TForm1& f = Start();
    Enter(f.Edit1, u"100"_s);
    EXPECT_EQ(f.Edit3->DisplayText(), u"19,00");
    EXPECT_EQ(f.Edit4->DisplayText(), u"119,00");
    EXPECT_TRUE(f.Zufug->isEnabled());

    Enter(f.Edit4, u"238"_s);
    EXPECT_EQ(f.Edit1->DisplayText(), u"200,00");
    EXPECT_EQ(f.Edit3->DisplayText(), u"38,00");

    Enter(f.Edit3, u"1,9"_s);
    EXPECT_EQ(f.Edit1->DisplayText(), u"10,00");
    EXPECT_EQ(f.Edit4->DisplayText(), u"11,90");

    // Gross and VAT never change the button; a zero net amount disables it.
    Enter(f.Edit1, u"0"_s);
    EXPECT_FALSE(f.Zufug->isEnabled());
    Enter(f.Edit4, u"50"_s);
    EXPECT_FALSE(f.Zufug->isEnabled());
}

TEST_F(MainWindow, TheRateFieldDrivesWithItsKeyMapping)
{
    TForm1& f = Start();
    Enter(f.Edit1, u"100"_s);
    Focus(f.Edit2);
    f.Edit2->selectAll();
    Type(u"7.5"_s); // "." becomes the decimal comma
    EXPECT_EQ(f.Edit2->text(), u"7,5");
    EXPECT_EQ(f.Edit3->DisplayText(), u"7,50");
    EXPECT_EQ(f.Edit4->DisplayText(), u"107,50");

    // A text that is no number is reported; the rate keeps its value.
    Type(u"x"_s);
    EXPECT_EQ(Recorded().Errors, QStringList{u"'7,5x' ist kein gültiger Gleitkommawert"_s});
    EXPECT_EQ(f.State().Satz, 7.5);
}

TEST_F(MainWindow, AVatEntryAtRateZeroIsADivisionByZero)
{
    TForm1& f = Start();
    Focus(f.Edit2);
    f.Edit2->selectAll();
    Type(u"0"_s);
    Enter(f.Edit1, u"5"_s);
    Enter(f.Edit3, u"1"_s);
    ASSERT_EQ(Recorded().Errors.size(), 1);
    EXPECT_EQ(ErrorBoxText(Recorded().Errors[0]), u"Gleitkommadivision durch Null.");
    EXPECT_EQ(f.Edit1->DisplayText(), u"5,00"); // the other fields keep their values
}

TEST_F(MainWindow, TheSpinButtonStepsTheRate)
{
    TForm1& f = Start();
    Enter(f.Edit1, u"100"_s);
    const QPoint up(10, 5), down(10, 19);
    QTest::mouseClick(f.SpinButton1, Qt::LeftButton, {}, up);
    EXPECT_EQ(f.Edit2->text(), u"20,0");
    EXPECT_EQ(f.Edit3->DisplayText(), u"20,00");
    EXPECT_EQ(f.focusWidget(), f.Edit2);
    QTest::mouseClick(f.SpinButton1, Qt::LeftButton, {}, down);
    QTest::mouseClick(f.SpinButton1, Qt::LeftButton, {}, down);
    EXPECT_EQ(f.Edit2->text(), u"18,0");
    EXPECT_EQ(f.Edit4->DisplayText(), u"118,00");
}

TEST_F(MainWindow, MenuShortcutsWinOverTheFocusedField)
{
    TForm1& f = Start();
    Enter(f.Edit1, u"100"_s);
    QGuiApplication::clipboard()->setText(u"vorher"_s);
    f.Edit1->selectAll();
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(f.oval->text(), u"CH");
    EXPECT_EQ(f.L1->text(), u"CHF");
    EXPECT_EQ(f.Edit2->text(), u"7,7");
    EXPECT_EQ(f.Edit3->DisplayText(), u"7,70");
    EXPECT_EQ(f.Edit4->DisplayText(), u"107,70");
    EXPECT_EQ(f.State().StaatNummer, 23);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"vorher"); // nothing was copied

    Key(Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(f.oval->text(), u"LT");
    Key(Qt::Key_E, Qt::ControlModifier); // EURO keeps the rate
    EXPECT_EQ(f.oval->text(), u"EUR");
    EXPECT_EQ(f.Edit2->text(), u"21,0");
    EXPECT_EQ(f.State().StaatNummer, 0);
    Key(Qt::Key_B, Qt::AltModifier); // Bulgarien is only in the state menu
    EXPECT_EQ(f.oval->text(), u"EUR");
}

TEST_F(MainWindow, F2AddsALineAndAltLStillSelectsLettland)
{
    TForm1& f = Start();
    f.Tabelle->horizontalHeader()->resizeSection(0, 60); // widened by the user
    Enter(f.Edit1, u"100"_s);
    Key(Qt::Key_F2);
    EXPECT_EQ(f.Tabelle->columnWidth(0), 60); // adding a line keeps it
    EXPECT_EQ(f.Tabelle->columnWidth(1), 27);
    EXPECT_EQ(f.Tabelle->model()->rowCount(), 1);
    EXPECT_EQ(RowTexts(f, 1), (QStringList{u"100,00"_s, u"119,00"_s, u"19,00"_s, u"19"_s}));
    EXPECT_EQ(f.State().TabellenZeile, 2);
    EXPECT_EQ(f.Edit1->selectedText(), u"100");
    for (QStringView item : {u"Tabdruck1", u"Tabschen1", u"letzte1", u"Zwisch1"})
        EXPECT_TRUE(f.PopupMenu2->Item(item)->isEnabled());

    Key(Qt::Key_L, Qt::AltModifier);
    EXPECT_EQ(f.oval->text(), u"LV");
    EXPECT_EQ(f.State().TabellenZeile, 2); // the table keeps its line

    // Ctrl+Alt+L deletes the last line.
    Focus(f.Edit1);
    Key(Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(f.State().TabellenZeile, 1);
    EXPECT_EQ(RowTexts(f, 1), (QStringList{u"0,00"_s, u"0,00"_s, u"0,00"_s, u"0"_s}));

    // F2 with a net amount of zero adds nothing.
    Enter(f.Edit1, u"0"_s);
    Key(Qt::Key_F2);
    EXPECT_EQ(f.State().TabellenZeile, 1);
}

TEST_F(MainWindow, ADisabledMenuItemSwallowsItsKey)
{
    TForm1& f = Start();
    Enter(f.Edit1, u"12"_s);
    Key(Qt::Key_F8); // Tabdruck1 is disabled until a line exists
    EXPECT_TRUE(Recorded().Errors.isEmpty());
    EXPECT_EQ(f.Edit1->text(), u"12");
}

TEST_F(MainWindow, TheRateListSelectsAndKeepsTheFocus)
{
    TForm1& f = Start();
    Enter(f.Edit1, u"100"_s);
    f.PageControl1->setCurrentWidget(f.TabSheet2);
    Focus(f.ListBox1);
    f.ListBox1->setCurrentRow(4);
    Key(Qt::Key_Down);
    EXPECT_EQ(f.oval->text(), u"EST");
    EXPECT_EQ(f.Edit2->text(), u"22,0"); // listed with 20 %, applied with 22
    EXPECT_EQ(f.Edit3->DisplayText(), u"22,00");
    EXPECT_EQ(f.focusWidget(), f.ListBox1);
    Key(Qt::Key_Down);
    EXPECT_EQ(f.oval->text(), u"SF");
}

TEST_F(MainWindow, OesterreichWritesItsOwnFile)
{
    TForm1& f = Start();
    Focus(f.Edit1);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(f.oval->text(), u"A");
    EXPECT_EQ(f.State().StaatNummer, 19);
    EXPECT_EQ(ReadFile(ResolveProfilePath(u"kalvo.INI"_s)), u"[Staat]\nNummer=13\n");
}

TEST_F(MainWindow, CloseWritesTheSettingsAndTheNextStartRestoresThem)
{
    {
        TForm1& f = Start();
        Focus(f.Edit1);
        Key(Qt::Key_C, Qt::ControlModifier);
        Key(Qt::Key_F12);
        EXPECT_EQ(f.size(), QSize(414, 262));
        f.move(100, 50);
        EXPECT_TRUE(f.close());
        EXPECT_EQ(ReadFile(Settings()),
                  u"[Staat]\nNummer=23\n[Lage]\nlinks=100\noben=50\n[Darstellung]\ngross=1\n");
    }
    TForm1& again = Start();
    EXPECT_EQ(again.State().StaatNummer, 23);
    EXPECT_EQ(again.oval->text(), u"CH");
    EXPECT_EQ(again.frameGeometry().topLeft(), QPoint(100, 50));
    EXPECT_EQ(again.size(), QSize(414, 262));
    EXPECT_TRUE(again.PopupMenu2->Item(u"gross")->isChecked());
    EXPECT_EQ(again.PageControl1->TabHeight(), 30);
    EXPECT_EQ(again.Tabelle->DefaultRowHeight(), 24);
    EXPECT_EQ(again.Tabelle->DefaultColWidth(), 54);
}

TEST_F(MainWindow, StoredPositionsAreClampedToTheScreen)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    const QSize outer = Start().frameGeometry().size(); // the collapsed window with its frame
    const int w = outer.width(), h = outer.height();
    const struct
    {
        int Left, Top;
        QPoint Expected;
    } cases[] = {
        {-50, -10, {0, 0}},
        {screen.width() - w, 0, {screen.width() - w, 0}},          // ends at the edge: stays
        {screen.width() - w + 1, 0, {screen.width() - w - 20, 0}}, // one past: back by 20
        {0, screen.height() - h + 1, {0, screen.height() - h - 20}},
    };
    for (const auto& c : cases) {
        WriteFile(Settings(),
                  QStringLiteral("[Lage]\nlinks=%1\noben=%2\n").arg(c.Left).arg(c.Top).toUtf8());
        TForm1& f = Start();
        EXPECT_EQ(f.frameGeometry().topLeft(), c.Expected) << c.Left << "," << c.Top;
    }
}

TEST_F(MainWindow, StoredValuesThatAreNoIntegers)
{
    const struct
    {
        const char* File;
        const char16_t* Error; // nullptr: none
        const char16_t* Oval;
        QSize Size;
    } cases[] = {
        {"[Staat]\nNummer=x\n", u"'x' ist kein gültiger Integerwert", u"D", {207, 131}},
        {"[Staat]\nNummer=\n", u"'' ist kein gültiger Integerwert", u"D", {207, 131}},
        {"[Staat]\nNummer=0\n", nullptr, u"EUR", {207, 131}},
        {"[Staat]\nNummer=30\n", nullptr, u"D", {207, 131}},
        {"[Staat]\nNummer=$10\n[Darstellung]\ngross=2\n", nullptr, u"NL", {207, 131}},
        {"[Darstellung]\ngross=x\n", u"'x' ist kein gültiger Integerwert", u"D", {207, 131}},
        {"\x01\x02\xff\xfe[Staat\n=\n\n", nullptr, u"D", {207, 131}},
    };
    for (const auto& c : cases) {
        Recorded().Clear();
        WriteFile(Settings(), c.File);
        TForm1& f = Start();
        SCOPED_TRACE(c.File);
        if (c.Error) {
            EXPECT_EQ(Recorded().Errors, QStringList{QString::fromUtf16(c.Error)});
            // Reported once, and the window is on the screen, not off it.
            EXPECT_EQ(f.frameGeometry().topLeft(), QPoint(290, 180));
        } else {
            EXPECT_TRUE(Recorded().Errors.isEmpty());
        }
        EXPECT_EQ(f.oval->text(), QString::fromUtf16(c.Oval));
        EXPECT_EQ(f.size(), c.Size);
    }
    // After a start with "x" a close writes valid values again.
    WriteFile(Settings(), "[Staat]\nNummer=x\n");
    TForm1& f = Start();
    EXPECT_TRUE(f.close());
    EXPECT_EQ(ReadFile(Settings()),
              u"[Staat]\nNummer=0\n[Lage]\nlinks=290\noben=180\n[Darstellung]\ngross=0\n");
}

TEST_F(MainWindow, BadSettingsFilesStartTheWindowVisiblyWithAtMostOneMessage)
{
    const QString folder = FConfig.path() + u"/Quorvath-Software"_s;
    const struct
    {
        const char* Name;
        std::function<void()> Prepare;
    } cases[] = {
        {"binary junk",
         [&] {
             QByteArray junk;
             for (int i = 0; i < 4096; ++i)
                 junk += char((i * 7919) % 256);
             WriteFile(Settings(), junk);
         }},
        {"a 10 MB line",
         [&] { WriteFile(Settings(), "[Staat]\nNummer=" + QByteArray(10 << 20, '7') + "\n"); }},
        {"a 10 MB line elsewhere",
         [&] { WriteFile(Settings(), "[Fremd]\nx=" + QByteArray(10 << 20, 'x') + "\n"); }},
        {"missing sections", [&] { WriteFile(Settings(), "links=5\noben=7\n[Lage\n"); }},
        {"values out of range",
         [&] {
             WriteFile(Settings(), "[Staat]\nNummer=-7\n[Lage]\nlinks=2147483647\n"
                                   "oben=-2147483648\n[Darstellung]\ngross=99\n");
         }},
        {"Nummer=x", [&] { WriteFile(Settings(), "[Staat]\nNummer=x\n"); }},
        {"an unwritable folder", [&] { WriteFile(folder, "a file, not a folder"); }},
        {"a read-only file",
         [&] {
             WriteFile(Settings(), "[Staat]\nNummer=9\n");
             QFile::setPermissions(Settings(), QFile::ReadOwner | QFile::ReadGroup);
         }},
    };
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QFile::setPermissions(Settings(), QFile::ReadOwner | QFile::WriteOwner);
        QDir(folder).removeRecursively();
        QFile::remove(folder);
        Recorded().Clear();
        c.Prepare();
        TForm1& f = Start();
        EXPECT_TRUE(f.isVisible());
        EXPECT_TRUE(screen.contains(f.frameGeometry()))
            << f.frameGeometry().x() << "," << f.frameGeometry().y();
        EXPECT_LE(Recorded().Errors.size(), 1);
        for (const QString& e : Recorded().Errors)
            EXPECT_TRUE(e.contains(u"ist kein gültiger Integerwert"_s)) << e.toStdString();
        Form.reset();
    }
    QFile::setPermissions(Settings(), QFile::ReadOwner | QFile::WriteOwner);
}

TEST_F(MainWindow, AFailedWriteKeepsTheWindowOpen)
{
    WriteFile(FConfig.path() + u"/Quorvath-Software"_s, "a file where the folder should be");
    TForm1& f = Start();
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(Recorded().Errors,
              QStringList{u"In "_s + Settings() + u" kann nicht geschrieben werden"_s});
}

TEST_F(MainWindow, TheExitCommandWritesNothing)
{
    TForm1& f = Start();
    Focus(f.Edit1);
    Key(Qt::Key_C, Qt::ControlModifier);
    f.rausClick();
    EXPECT_EQ(ReadFile(Settings()), u"<none>");
}

TEST_F(MainWindow, DoubleSizeAndTheSidePanel)
{
    TForm1& f = Start();
    QTest::mouseClick(f.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(f.size(), QSize(347, 131));
    EXPECT_EQ(f.SpeedButton1->text(), u"<");
    EXPECT_TRUE(f.Label4->isVisibleTo(f.TabSheet3));

    Key(Qt::Key_F12);
    EXPECT_EQ(f.size(), QSize(694, 262));
    EXPECT_EQ(f.PageControl1->TabHeight(), 30);
    EXPECT_EQ(f.Tabelle->DefaultRowHeight(), 24);
    EXPECT_EQ(f.Tabelle->DefaultColWidth(), 54);
    EXPECT_EQ(f.Edit1->geometry(), QRect(112, 80, 226, 50));
    EXPECT_EQ(f.Edit1->font().pixelSize(), 32);
    QTest::mouseClick(f.SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(f.size(), QSize(414, 262));
    EXPECT_EQ(f.SpeedButton1->text(), u">");

    Key(Qt::Key_F12);
    EXPECT_EQ(f.size(), QSize(207, 131));
    EXPECT_EQ(f.PageControl1->TabHeight(), 20);
    EXPECT_EQ(f.Tabelle->DefaultRowHeight(), 12);
    EXPECT_EQ(f.Tabelle->DefaultColWidth(), 27);
    EXPECT_EQ(f.Edit1->geometry(), QRect(56, 40, 113, 25));
    EXPECT_FALSE(f.PopupMenu2->Item(u"gross")->isChecked());
}

TEST_F(MainWindow, TooltipsShowTheHintsOfNineControls)
{
    TForm1& f = Start();
    EXPECT_TRUE(f.oval->toolTip().isEmpty());
    Key(Qt::Key_F9);
    EXPECT_EQ(f.oval->toolTip(), u"rechte Maus zur \nLänderauswahl");
    EXPECT_EQ(f.ggg->toolTip(), u"Deutschland");
    EXPECT_EQ(f.Zufug->toolTip(), u"Übernahme eines Datensatzes\nin die Tabelle (auch F2)");
    Focus(f.Edit1);
    Key(Qt::Key_C, Qt::ControlModifier); // the flag's hint follows the state
    EXPECT_EQ(f.ggg->toolTip(), u"Schweiz");
    Key(Qt::Key_F9);
    EXPECT_TRUE(f.oval->toolTip().isEmpty());
    EXPECT_TRUE(f.Image1->toolTip().isEmpty());
}

TEST_F(MainWindow, HelpAndAboutBoxes)
{
    TForm1& f = Start();
    Key(Qt::Key_F1);
    ASSERT_EQ(Recorded().Informations.size(), 1);
    const QStringList help = Recorded().Informations[0].split(u'\n');
    EXPECT_EQ(help.size(), 15);
    EXPECT_EQ(help[0], u"Tastatur:");
    EXPECT_EQ(help[14], u"Tabelle füllen auch mit F2!");
    Key(Qt::Key_F6);
    ASSERT_EQ(Recorded().Informations.size(), 2);
    EXPECT_EQ(Recorded().Informations[1].split(u'\n')[1], u"Version 5.0  -  01.03.2024");

    // A window that stays on top is on top again after the box.
    Key(Qt::Key_F7);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
    Key(Qt::Key_F1);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f.PopupMenu2->Item(u"Ontop1")->isChecked());

    QTest::mouseClick(f.Label6, Qt::LeftButton);
}

TEST_F(MainWindow, MenusOpenWhereTheyShould)
{
    TForm1& f = Start();
    const QRect frame = f.frameGeometry();
    Key(Qt::Key_F5);
    EXPECT_TRUE(f.PopupMenu2->isVisible());
    EXPECT_EQ(f.PopupMenu2->pos(), frame.topLeft() + QPoint(10, 40));
    f.PopupMenu2->hide();

    QTest::mouseDClick(f.Label2, Qt::LeftButton);
    EXPECT_TRUE(f.PopupMenu2->isVisible());
    f.PopupMenu2->hide();

    QTest::mouseClick(f.oval, Qt::LeftButton);
    EXPECT_TRUE(f.PopupMenu3->isVisible());
    // Left of the window, not over it; the menu of 30 states may be moved up to fit the screen.
    EXPECT_EQ(f.PopupMenu3->geometry().right() + 1, frame.left() - 5);
    EXPECT_LE(f.PopupMenu3->pos().y(), frame.top() + 20);
    f.PopupMenu3->hide();

    // Right button: the state menu on the flag, the options menu elsewhere.
    QContextMenuEvent onFlag(QContextMenuEvent::Mouse, QPoint(3, 3),
                             f.ggg->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(f.ggg, &onFlag);
    EXPECT_TRUE(f.PopupMenu3->isVisible());
    f.PopupMenu3->hide();
    QContextMenuEvent onLabel(QContextMenuEvent::Mouse, QPoint(3, 3),
                              f.Label3->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(f.Label3, &onLabel);
    EXPECT_TRUE(f.PopupMenu2->isVisible());
    f.PopupMenu2->hide();

    EXPECT_EQ(f.PopupMenu3->Item(u"Schweiz2")->text(), u"S&chweiz\tStrg+C");
    EXPECT_EQ(f.PopupMenu2->Item(u"letzte1")->text(), u"letzte Zeile löschen\tStrg+Alt+L");
    EXPECT_FALSE(f.PopupMenu2->Item(u"Europa1")->isVisible());
}

TEST_F(MainWindow, PrintingWithoutAPrintServiceSaysSoAtOnce)
{
    // No print server at this address: the command must report, not hang or print to a file.
    qputenv("CUPS_SERVER", (FConfig.path() + u"/no-cups.sock"_s).toLocal8Bit());
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");
    TForm1& f = Start();
    Enter(f.Edit1, u"100"_s);
    Key(Qt::Key_F2);
    Key(Qt::Key_F8);
    EXPECT_EQ(Recorded().Errors, QStringList{u"Zur Zeit ist kein Standard-Drucker gewählt"_s});
    EXPECT_TRUE(QDir(FConfig.path()).entryList({u"*.pdf"_s}).isEmpty());
}

TEST_F(MainWindow, TheClipboardGetsTheTable)
{
    TForm1& f = Start();
    Enter(f.Edit1, u"100"_s);
    Key(Qt::Key_F2);
    Enter(f.Edit1, u"50"_s);
    Key(Qt::Key_F2);
    const QString expected =
        u"Netto\tBrutto\tUSt\t%\r\n100,00\t119,00\t19,00\t19\r\n50,00\t59,50\t9,50\t19\r\n"_s;
    for (int run = 0; run < 2; ++run) {
        Key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), expected);
    }
    QString memo = expected;
    memo.replace(u"\r\n"_s, u"\n"_s);
    EXPECT_EQ(f.Edit5->toPlainText(), memo);
}

} // namespace
