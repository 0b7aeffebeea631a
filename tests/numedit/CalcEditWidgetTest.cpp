// The amount field on real widgets with real key and mouse events, headless.
#include "WidgetTestSupport.h"
#include "core/NumberText.h"
#include "numedit/TJvCustomNumEdit.h"
#include "numedit/TJvPopupCalculator.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace kalvo;
using kalvo::test::Recorded;
using kalvo::test::Settle;

namespace {

// A small window with an amount field and a plain line edit to move the focus to.
class CalcEditWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetLocaleSeparators(NumberSeparators::German());
        Window = new QWidget;
        Window->setGeometry(100, 100, 300, 200);
        Field = new TJvCalcEdit(Window);
        Field->setObjectName(QStringLiteral("Edit1"));
        Field->setGeometry(56, 40, 113, 25);
        Field->SetDisplayFormat(QStringLiteral(",0.00"));
        Other = new QLineEdit(Window);
        Other->setGeometry(56, 100, 113, 25);
        Changes = std::make_unique<QSignalSpy>(Field, &TJvCustomComboEdit::Change);
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window));
        Field->setFocus(Qt::TabFocusReason);
        Settle();
        ASSERT_TRUE(Field->hasFocus());
    }
    void TearDown() override
    {
        Changes.reset();
        delete Window;
    }

    TJvPopupCalculator* Calculator() const
    {
        return static_cast<TJvPopupCalculator*>(Field->Popup());
    }
    void Type(const char* keys) { QTest::keyClicks(Field, QString::fromLatin1(keys)); }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(Field, key, modifiers);
    }
    void FocusElsewhere()
    {
        Other->setFocus(Qt::TabFocusReason);
        Settle();
    }
    // The calculator key button with this face.
    TJvCalcButton* CalcKey(const QString& face) const
    {
        for (TJvCalcButton* b : Calculator()->Panel()->Buttons()) {
            if (b->text() == face)
                return b;
        }
        return nullptr;
    }

    QWidget* Window = nullptr;
    TJvCalcEdit* Field = nullptr;
    QLineEdit* Other = nullptr;
    std::unique_ptr<QSignalSpy> Changes;
};

TEST_F(CalcEditWindow, TypingIsCheckedKeyByKey)
{
    Type("1234,567");
    EXPECT_EQ(Field->text(), u"1234,56");
    EXPECT_EQ(Recorded().Beeps, 1); // the 7 was refused
    EXPECT_EQ(Changes->count(), 7);

    Field->clear();
    Recorded().Clear();
    Type("1.234"); // the thousands separator is let in and ignored
    EXPECT_EQ(Field->text(), u"1.234");
    EXPECT_EQ(Field->Value(), 1234);
    Type("a%");
    EXPECT_EQ(Field->text(), u"1.234");
    EXPECT_EQ(Recorded().Beeps, 2);
}

TEST_F(CalcEditWindow, LeavingFormatsThePaintedTextAndKeepsTheEditText)
{
    Type("1234,5");
    EXPECT_TRUE(Field->Editing());
    FocusElsewhere();
    EXPECT_FALSE(Field->Editing());
    EXPECT_EQ(Field->DisplayText(), u"1.234,50");
    EXPECT_EQ(Field->text(), u"1234,5");
    EXPECT_EQ(Changes->count(), 6); // no change event for the reformatting

    // Coming back shows the edit text, all of it selected for typing over.
    Field->setFocus(Qt::TabFocusReason);
    Settle();
    EXPECT_TRUE(Field->Editing());
    EXPECT_EQ(Field->selectedText(), u"1234,5");
}

TEST_F(CalcEditWindow, AnUnreadableTextKeepsTheFocusAndIsReported)
{
    Type("5");
    Field->home(false);
    Type("+");
    Key(Qt::Key_Delete); // "+5" loses its 5
    EXPECT_EQ(Field->text(), u"+");
    EXPECT_EQ(Field->Value(), 0);
    FocusElsewhere();
    EXPECT_TRUE(Field->hasFocus());
    EXPECT_EQ(Field->selectedText(), u"+");
    EXPECT_EQ(Recorded().Errors,
              QStringList{QStringLiteral("'+' ist kein gültiger Gleitkommawert")});
}

TEST_F(CalcEditWindow, APasteThatIsNoNumberIsUndone)
{
    Type("12");
    Changes->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("abc"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Field->text(), u"12");
    EXPECT_EQ(Field->selectedText(), u"12");
    EXPECT_EQ(Recorded().Beeps, 1);
    EXPECT_EQ(Changes->count(), 0);

    // A grouped number as the program shows it pastes, and stays as pasted.
    QGuiApplication::clipboard()->setText(QStringLiteral("1.234,50"));
    Field->selectAll();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Field->text(), u"1.234,50");
    EXPECT_EQ(Field->Value(), 1234.5L);
    EXPECT_EQ(Recorded().Beeps, 1);
}

TEST_F(CalcEditWindow, EscRevertsToTheValueAndSelectsIt)
{
    // Esc goes back to the value last read: nothing has read "12," yet.
    Type("12,");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Field->text(), u"");

    // The program's change handlers read the value on every change.
    QObject::connect(Field, &TJvCustomComboEdit::Change, Field, [this] { Field->Value(); });
    Type("12,");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Field->text(), u"12");
    EXPECT_EQ(Field->selectedText(), u"12");
}

TEST_F(CalcEditWindow, SettingTheValueFiresChangeOnlyForANewText)
{
    FocusElsewhere();
    Field->SetValue(12.3456L);
    EXPECT_EQ(Changes->count(), 1);
    EXPECT_EQ(Field->text(), u"12,35");
    EXPECT_EQ(Field->DisplayText(), u"12,35");
    EXPECT_EQ(Field->Value(), 12.35L);
    Field->SetValue(12.35L);
    EXPECT_EQ(Changes->count(), 1);
    Field->SetValue(0);
    EXPECT_EQ(Field->text(), u"");
    EXPECT_EQ(Field->DisplayText(), u"0,00");
}

TEST_F(CalcEditWindow, AltDownOpensTheCalculatorAndEnterHandsTheResultBack)
{
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Field->PopupVisible());
    EXPECT_TRUE(Calculator()->isVisible());
    EXPECT_EQ(Calculator()->size(), QSize(104, 127));
    // Below the field, right edges aligned.
    const QRect field(Field->mapToGlobal(QPoint(0, 0)), Field->size());
    EXPECT_EQ(Calculator()->pos(), QPoint(field.right() - 103, field.bottom() + 1));

    Type("2+3");
    EXPECT_EQ(Calculator()->PopupDisplayText(), u"3");
    EXPECT_EQ(Field->text(), u""); // nothing typed reaches the text
    EXPECT_EQ(Changes->count(), 0);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_FALSE(Calculator()->isVisible());
    EXPECT_EQ(Field->text(), u"5");
    EXPECT_EQ(Field->selectedText(), u"5");
    EXPECT_EQ(Changes->count(), 1);
    EXPECT_TRUE(Field->hasFocus());
    EXPECT_FALSE(Field->isReadOnly());
}

TEST_F(CalcEditWindow, TheCalculatorStartsFromTheFieldsNumber)
{
    const struct
    {
        const char16_t* Text;
        const char16_t* Display;
        const char16_t* AfterEnter;
        int ChangeEvents;
    } cases[] = {
        {u"", u"0", u"0", 1},
        {u"1234,50", u"1234,5", u"1234,5", 1},
        {u"1234,5", u"1234,5", u"1234,5", 0},
        {u"1.234,5", u"1234,5", u"1234,5", 1},
    };
    for (const auto& c : cases) {
        Field->setText(QString::fromUtf16(c.Text));
        Changes->clear();
        Key(Qt::Key_Down, Qt::AltModifier);
        EXPECT_EQ(Calculator()->PopupDisplayText(), QString::fromUtf16(c.Display));
        Key(Qt::Key_Return);
        EXPECT_EQ(Field->text(), QString::fromUtf16(c.AfterEnter));
        EXPECT_EQ(Changes->count(), c.ChangeEvents) << QString::fromUtf16(c.Text).toStdString();
    }
}

TEST_F(CalcEditWindow, PercentClosesAtOnce)
{
    Type("100");
    Changes->clear();
    Key(Qt::Key_Down, Qt::AltModifier);
    Type("+19%");
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(Field->text(), u"119");
    EXPECT_EQ(Changes->count(), 1);
}

TEST_F(CalcEditWindow, EscClosesWithoutTakingTheValue)
{
    Type("7");
    Changes->clear();
    Key(Qt::Key_Down, Qt::AltModifier);
    Type("9*9");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(Field->text(), u"7");
    EXPECT_EQ(Changes->count(), 0);
    EXPECT_EQ(Recorded().Beeps, 0);
}

TEST_F(CalcEditWindow, TheErrorStateStaysOpenAndBeeps)
{
    Type("7");
    Key(Qt::Key_Down, Qt::AltModifier);
    Type("5/0");
    Key(Qt::Key_Return);
    EXPECT_TRUE(Field->PopupVisible());
    EXPECT_EQ(Calculator()->PopupDisplayText(), u"Error");
    EXPECT_EQ(Recorded().Beeps, 1);
    Key(Qt::Key_Escape); // the close reads the value: one more beep
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(Recorded().Beeps, 2);
    EXPECT_EQ(Field->text(), u"7");
}

TEST_F(CalcEditWindow, TheThousandsSeparatorNeverReachesTheCalculator)
{
    Key(Qt::Key_Down, Qt::AltModifier);
    Type("1.5");
    EXPECT_EQ(Calculator()->PopupDisplayText(), u"15");
    Type("q");
    EXPECT_NE(Calculator()->PopupDisplayText(), u"15");
}

TEST_F(CalcEditWindow, TheFieldKeepsTheFocusThroughKeysAndClicks)
{
    Key(Qt::Key_Down, Qt::AltModifier);
    QTest::mouseClick(CalcKey(QStringLiteral("7")), Qt::LeftButton);
    QTest::mouseClick(CalcKey(QStringLiteral("*")), Qt::LeftButton);
    Type("6");
    EXPECT_TRUE(Field->hasFocus());
    EXPECT_EQ(QApplication::focusWidget(), Field);
    EXPECT_TRUE(Window->isActiveWindow());
    EXPECT_FALSE(Calculator()->isActiveWindow());
    QTest::mouseClick(CalcKey(QStringLiteral("=")), Qt::LeftButton);
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(Field->text(), u"42");
    EXPECT_TRUE(Field->hasFocus());
}

TEST_F(CalcEditWindow, TheButtonOpensAndAPressWhileOpenAcceptsWithoutReopening)
{
    FocusElsewhere();
    QSignalSpy buttonClicks(Field, &TJvCustomComboEdit::ButtonClick);
    // A field without the focus takes it first, its whole text selected.
    Field->setText(QStringLiteral("8"));
    QTest::mouseClick(Field->Button(), Qt::LeftButton);
    EXPECT_TRUE(Field->hasFocus());
    ASSERT_TRUE(Field->PopupVisible());
    EXPECT_EQ(buttonClicks.count(), 1);
    Type("+5"); // the value handed back is the display's, "+" still pending
    Changes->clear();
    QTest::mouseClick(Field->Button(), Qt::LeftButton);
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(Field->text(), u"5");
    EXPECT_EQ(Changes->count(), 1);
    EXPECT_EQ(buttonClicks.count(), 1);
}

TEST_F(CalcEditWindow, APressElsewhereClosesWithoutTakingTheValue)
{
    Type("3");
    Key(Qt::Key_Down, Qt::AltModifier);
    Type("+4");
    QTest::mouseClick(Other, Qt::LeftButton);
    Settle();
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(Field->text(), u"3");
}

TEST_F(CalcEditWindow, AnOverflowIsReportedAndTakesNothing)
{
    Type("1E300");
    Changes->clear();
    Key(Qt::Key_Down, Qt::AltModifier);
    Type("*1000000000=");
    Settle();
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(Field->text(), u"1E300");
    EXPECT_EQ(Changes->count(), 0);
    EXPECT_EQ(Recorded().Errors, QStringList{QStringLiteral("Gleitkommaüberlauf")});
}

TEST_F(CalcEditWindow, ReadOnlyStopsTheButtonAndTheClickKey)
{
    Field->SetReadOnly(true);
    QSignalSpy buttonClicks(Field, &TJvCustomComboEdit::ButtonClick);
    Key(Qt::Key_Down, Qt::AltModifier);
    QTest::mouseClick(Field->Button(), Qt::LeftButton);
    EXPECT_FALSE(Field->PopupVisible());
    EXPECT_EQ(buttonClicks.count(), 0);
    Type("5");
    EXPECT_EQ(Field->text(), u"");
}

TEST_F(CalcEditWindow, WithoutDirectInputOnlyTheCalculatorEntersValues)
{
    Field->SetDirectInput(false);
    Type("5");
    EXPECT_EQ(Field->text(), u"");
    QGuiApplication::clipboard()->setText(QStringLiteral("12"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Field->text(), u"");
    Key(Qt::Key_Down, Qt::AltModifier);
    Type("6=");
    EXPECT_EQ(Field->text(), u"6");
}

TEST_F(CalcEditWindow, TheTextNeverRunsUnderTheButton)
{
    EXPECT_EQ(Field->Button()->parentWidget()->geometry(), QRect(91, 2, 20, 21));
    EXPECT_EQ(Field->textMargins().right(), 20);
    Field->resize(113, 5);
    EXPECT_EQ(Field->height(), Field->MinimumHeight());
}

TEST(CalcEditEnglish, EnglishSeparators)
{
    SetLocaleSeparators(NumberSeparators::English());
    QWidget window;
    auto* field = new TJvCalcEdit(&window);
    field->SetDisplayFormat(QStringLiteral(",0.00"));
    window.show();
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("1234.567"));
    EXPECT_EQ(field->text(), u"1234.56");
    field->SetValue(1234.5L);
    field->clearFocus();
    Settle();
    EXPECT_EQ(field->DisplayText(), u"1,234.50");
    SetLocaleSeparators(NumberSeparators::German());
}

} // namespace
