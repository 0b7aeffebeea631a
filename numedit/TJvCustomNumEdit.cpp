#include "TJvCustomNumEdit.h"

#include "TJvPopupCalculator.h"
#include "core/AppServices.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>
#include <QTimer>

namespace kalvo {

TJvCustomNumEdit::TJvCustomNumEdit(QWidget* parent) : TJvCustomComboEdit(parent)
{
    FDisplayFormat = StandardDisplayFormat();
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    SetDefaultGlyphCount(2);
    RefreshEditText();
    SetCreating(true);
    SetGlyphKind(TGlyphKind::gkDefault);
    SetButtonWidth(20);
}

TJvCustomNumEdit::~TJvCustomNumEdit() = default;

template<class F>
void TJvCustomNumEdit::Formatting(F&& f)
{
    const bool was = FFormatting;
    FFormatting = true;
    f();
    FFormatting = was;
}

long double TJvCustomNumEdit::Value()
{
    try {
        FValue = kalvo::ParseEditText(text(), FLimits, FDecimalPlaces, LocaleSeparators());
    } catch (const Exception&) {
        FValue = FLimits.MinValue;
    }
    return FValue;
}

void TJvCustomNumEdit::SetValue(long double v)
{
    FValue = ClampValue(v, FLimits, false, FDecimalPlaces, LocaleSeparators());
    RefreshEditText();
    update();
}

void TJvCustomNumEdit::SetNumberText(const QString& s)
{
    FValue = kalvo::ParseEditText(s, FLimits, FDecimalPlaces, LocaleSeparators());
    RefreshEditText();
    update();
}

void TJvCustomNumEdit::ClearValue()
{
    SetNumberText(QString());
}

void TJvCustomNumEdit::SetMinValue(long double value)
{
    if (value == FLimits.MinValue)
        return;
    FLimits.MinValue = value;
    SetValue(FValue);
}

void TJvCustomNumEdit::SetMaxValue(long double value)
{
    if (value == FLimits.MaxValue)
        return;
    FLimits.MaxValue = value;
    SetValue(FValue);
}

void TJvCustomNumEdit::SetDecimalPlaces(unsigned places)
{
    if (places == FDecimalPlaces)
        return;
    FDecimalPlaces = places;
    RefreshEditText();
    update();
}

void TJvCustomNumEdit::SetBeepOnError(bool beep)
{
    if (beep == FBeepOnError)
        return;
    FBeepOnError = beep;
    ConfigurePopup();
}

void TJvCustomNumEdit::SetZeroEmpty(bool zeroEmpty)
{
    if (zeroEmpty == FZeroEmpty)
        return;
    FZeroEmpty = zeroEmpty;
    RefreshEditText();
}

void TJvCustomNumEdit::SetFormatOnEditing(bool format)
{
    if (format == FFormatOnEditing)
        return;
    FFormatOnEditing = format;
    const Qt::Alignment horizontal = !format                                    ? Qt::AlignLeft
                                     : FAlignment == TAlignment::taRightJustify ? Qt::AlignRight
                                     : FAlignment == TAlignment::taCenter       ? Qt::AlignHCenter
                                                                                : Qt::AlignLeft;
    setAlignment(horizontal | Qt::AlignVCenter);
    if (!FEditing)
        return;
    if (format) {
        GroupWhileEditing();
    } else {
        ParseEditText();
        RefreshEditText();
    }
}

void TJvCustomNumEdit::SetDisplayFormat(const QString& format)
{
    if (format == FDisplayFormat)
        return;
    FDisplayFormat = format;
    update();
    RefreshEditText();
}

void TJvCustomNumEdit::SetAlignment(TAlignment alignment)
{
    if (alignment == FAlignment)
        return;
    FAlignment = alignment;
    update();
}

void TJvCustomNumEdit::RefreshEditText()
{
    const QString newText = EditText(FValue, FDecimalPlaces, FZeroEmpty, LocaleSeparators());
    if (newText != text())
        setText(newText);
}

QString TJvCustomNumEdit::StandardDisplayFormat() const
{
    return QStringLiteral(",0.##");
}

bool TJvCustomNumEdit::IsAcceptableKey(QChar key)
{
    const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype end = hasSelectedText() ? selectionEnd() : cursorPosition();
    return kalvo::IsAcceptableKey(text(), start, end, key, FDecimalPlaces, FLimits,
                                  LocaleSeparators());
}

QString TJvCustomNumEdit::PaintedText()
{
    return FormatForDisplay(Value(), FDisplayFormat, LocaleSeparators());
}

void TJvCustomNumEdit::ConfigurePopup() {}

void TJvCustomNumEdit::GroupWhileEditing()
{
    Formatting([this] {
        QString t = text();
        const qsizetype oldLength = t.size();
        const int selection = hasSelectedText() ? selectionStart() : cursorPosition();
        if (!t.isEmpty() && t != u"-")
            t = NormalizeNumberText(t, LocaleSeparators());
        t = GroupIntegerDigits(t, FDisplayFormat.contains(u','), LocaleSeparators());
        setText(t);
        if (hasFocus())
            setCursorPosition(selection + static_cast<int>(t.size() - oldLength));
    });
}

void TJvCustomNumEdit::RevertText()
{
    RefreshEditText();
    SelectWholeText();
}

void TJvCustomNumEdit::ParseEditText()
{
    FValue = kalvo::ParseEditText(text(), FLimits, FDecimalPlaces, LocaleSeparators());
}

void TJvCustomNumEdit::CheckRangeOnExit()
{
    if (!FCheckOnExit)
        return;
    const long double read =
        TextToNumber(NormalizeNumberText(text(), LocaleSeparators()), LocaleSeparators());
    ClampValue(read, FLimits, true, FDecimalPlaces, LocaleSeparators());
}

QPixmap TJvCustomNumEdit::DefaultGlyph(bool& callerOwns) const
{
    // Loaded once, shared by all fields.
    static const QPixmap picture = TransparentBitmap(LoadBitmap(u"CEDITBMP"));
    callerOwns = false;
    return picture;
}

void TJvCustomNumEdit::TakePopupValue(const QVariant& value)
{
    TJvCustomComboEdit::TakePopupValue(value);
}

bool TJvCustomNumEdit::KeyPress(QChar& key)
{
    const NumberSeparators separators = LocaleSeparators();
    if (PopupVisible() && IsCalculatorKey(key, separators)) {
        try {
            Popup()->KeyPress(key);
        } catch (const Exception& e) {
            // The calculator failed in the middle of a key: close it, keep the text.
            ClosePopup(false);
            ReportErrorLater(e.Message());
        }
        return false;
    }
    key = MapSeparatorKey(key, separators);
    if (!TJvCustomComboEdit::KeyPress(key))
        return false;
    if (key >= u' ' && !IsAcceptableKey(key)) {
        if (FBeepOnError)
            Beep();
        return false;
    }
    if (key == QChar(27)) {
        RevertText();
        return false;
    }
    return true;
}

void TJvCustomNumEdit::keyPressEvent(QKeyEvent* event)
{
    // The keypad's decimal key types the decimal separator whatever the keyboard layout says.
    if ((event->modifiers() & Qt::KeypadModifier) &&
        (event->text() == u"." || event->text() == u",")) {
        QKeyEvent decimal(event->type(), event->key(), event->modifiers(),
                          QString(LocaleSeparators().Decimal), event->isAutoRepeat(),
                          event->count());
        TJvCustomComboEdit::keyPressEvent(&decimal);
        event->setAccepted(decimal.isAccepted());
        return;
    }
    TJvCustomComboEdit::keyPressEvent(event);
}

void TJvCustomNumEdit::TextChanged()
{
    if (FFormatting)
        return;
    if (FFormatOnEditing && FEditing)
        GroupWhileEditing();
    TJvCustomComboEdit::TextChanged();
}

void TJvCustomNumEdit::PasteFromClipboard(bool selection)
{
    if (!DirectInput() || ReadOnly())
        return;
    const QString remembered = text();
    const QString pasted = QGuiApplication::clipboard()->text(selection ? QClipboard::Selection
                                                                        : QClipboard::Clipboard);
    const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype end = hasSelectedText() ? selectionEnd() : cursorPosition();
    const QString candidate = remembered.left(start) + pasted + remembered.mid(end);
    // Refuse before the text changes, so that nothing computes with a text that is no number.
    bool ok = !pasted.isEmpty();
    if (ok) {
        try {
            kalvo::ParseEditText(candidate, FLimits, FDecimalPlaces, LocaleSeparators());
        } catch (const Exception&) {
            ok = false;
        }
    }
    if (ok) {
        TJvCustomComboEdit::PasteFromClipboard(selection);
        try {
            ParseEditText();
        } catch (const Exception&) {
            ok = false;
            setText(remembered);
        }
    }
    if (!ok) {
        SelectWholeText();
        if (!hasFocus() && isEnabled())
            setFocus(Qt::OtherFocusReason);
        if (FBeepOnError)
            Beep();
    }
}

void TJvCustomNumEdit::SetEditing(bool editing)
{
    FEditing = editing;
    update();
    Formatting([this] { RefreshEditText(); });
}

void TJvCustomNumEdit::FocusEnter(Qt::FocusReason reason)
{
    SetEditing(true);
    if (FFormatOnEditing)
        GroupWhileEditing();
    TJvCustomComboEdit::FocusEnter(reason);
}

bool TJvCustomNumEdit::FocusExit()
{
    try {
        CheckRangeOnExit();
        ParseEditText();
    } catch (const Exception& e) {
        // The focus comes back to the field and the message is shown once the focus change
        // that is under way has finished.
        SelectWholeText();
        const QString message = e.Message();
        QTimer::singleShot(0, this, [this, message] {
            if (isEnabled() && isVisible())
                setFocus(Qt::OtherFocusReason);
            SelectWholeText();
            ReportError(message);
        });
        return false;
    }
    SetEditing(false);
    setCursorPosition(0);
    deselect();
    return true;
}

void TJvCustomNumEdit::changeEvent(QEvent* event)
{
    TJvCustomComboEdit::changeEvent(event);
    if ((event->type() == QEvent::EnabledChange && !FEditing) ||
        event->type() == QEvent::FontChange)
        update();
}

void TJvCustomNumEdit::paintEvent(QPaintEvent* event)
{
    const bool popupShown = PopupVisible();
    if (FEditing && !popupShown) {
        TJvCustomComboEdit::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionFrame option;
    initStyleOption(&option);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);

    const QString shown = popupShown ? Popup()->PopupDisplayText() : PaintedText();
    QRect area = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    area.adjust(margins.left(), margins.top(), 0, -margins.bottom());
    const int buttonWidth = margins.right();
    const QFontMetrics metrics(font());
    constexpr int leftMargin = 2; // as the edit control itself leaves
    const int x = DisplayTextLeft(FAlignment, popupShown, area.width(), buttonWidth,
                                  metrics.horizontalAdvance(shown), leftMargin);
    const int baseline = area.top() + (area.height() - metrics.height() + 1) / 2 + metrics.ascent();

    painter.setClipRect(area.adjusted(0, 0, -buttonWidth, 0));
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    painter.drawText(area.left() + x, baseline, shown);
}

// --- TJvCustomCalcEdit --------------------------------------------------------------------

TJvCustomCalcEdit::TJvCustomCalcEdit(QWidget* parent) : TJvCustomNumEdit(parent)
{
    TJvPopupWindow* popup = CreatePopupCalculator(this);
    SetPopup(popup);
    popup->OnPopupEnd = [this](TJvPopupWindow*, bool accept) { ClosePopup(accept); };
    ConfigurePopup();
    SetCreating(false);
}

TJvCustomCalcEdit::~TJvCustomCalcEdit()
{
    if (TJvPopupWindow* popup = Popup()) {
        popup->OnPopupEnd = nullptr;
        delete popup;
    }
}

void TJvCustomCalcEdit::ConfigurePopup()
{
    ConfigureCalculator(Popup(), 15, BeepOnError());
}

} // namespace kalvo
