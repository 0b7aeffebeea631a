#include "CalculatorEngine.h"

#include "core/Errors.h"
#include "core/VatComputation.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kalvo {

namespace {

constexpr QChar KeyBackspace = QChar(8);
constexpr QChar KeyEnter = QChar(13);

bool IsOperatorKey(QChar key)
{
    return key == u'+' || key == u'-' || key == u'*' || key == u'/' || key == u'=' || key == u'%' ||
           key == KeyEnter;
}

bool IsResultKey(QChar key)
{
    return key == u'=' || key == u'%' || key == KeyEnter;
}

} // namespace

TCalculatorEngine::TCalculatorEngine(std::function<void()> beep)
    : FSeparators(LocaleSeparators()), FBeep(std::move(beep))
{}

void TCalculatorEngine::ProcessKey(QChar key)
{
    if (key >= u'a' && key <= u'z')
        key = QChar(key.unicode() - (u'a' - u'A'));
    if (FEntryState == TCalcEntryState::cesError && key != u'C')
        return;

    if (key == u',' || key == u'.' || key == FSeparators.Decimal) {
        BeginEntry();
        if (!FDisplayText.contains(FSeparators.Decimal))
            SetDisplayText(FDisplayText + FSeparators.Decimal);
        return;
    }

    if (key >= u'0' && key <= u'9') {
        DigitKey(key);
    } else if (key == KeyBackspace) {
        BackspaceKey();
    } else if (IsOperatorKey(key)) {
        OperatorKey(key);
    } else if (key == u'C') {
        FEntryState = TCalcEntryState::cesFresh;
        ShowNumber(0.0);
        FPendingOperator = u'=';
    } else if (key == u'Q') {
        SquareRootKey();
    } else if (key == u'R') {
        ReciprocalKey();
    } else if (key == u'_') {
        // The entry state stays: typing goes on from the reformatted text.
        ShowNumber(-DisplayValue());
    }
}

void TCalculatorEngine::LoadNumber(double value)
{
    ShowNumber(value);
    FEntryState = TCalcEntryState::cesFresh;
    FPendingOperator = u'=';
}

double TCalculatorEngine::DisplayValue() const
{
    if (FEntryState == TCalcEntryState::cesError)
        return 0.0;
    // A 15-digit display of a value near the double limit can read back beyond it.
    return StoreDouble(TextToNumber(FDisplayText.trimmed(), FSeparators));
}

void TCalculatorEngine::ShowNumber(double value)
{
    // The display only ever holds a number that reads back; never "INF" or "NAN".
    if (std::isnan(value))
        throw EInvalidOp();
    if (std::isinf(value))
        throw EOverflow();
    SetDisplayText(GeneralNumberText(value, std::max(2, FPrecision), FSeparators));
}

void TCalculatorEngine::SetDisplayText(const QString& text)
{
    if (text == FDisplayText)
        return;
    FDisplayText = text;
    DisplayChanged();
}

void TCalculatorEngine::DisplayChanged()
{
    if (OnDisplayChanged)
        OnDisplayChanged();
}

void TCalculatorEngine::Beep() const
{
    if (FBeepOnError && FBeep)
        FBeep();
}

void TCalculatorEngine::BeginEntry()
{
    if (FEntryState != TCalcEntryState::cesFresh)
        return;
    FEntryState = TCalcEntryState::cesEntering;
    SetDisplayText(QStringLiteral("0"));
}

void TCalculatorEngine::EnterError()
{
    FEntryState = TCalcEntryState::cesError;
    SetDisplayText(QStringLiteral("Error"));
    Beep();
}

int TCalculatorEngine::DigitLimit() const
{
    return std::max(2, FPrecision);
}

void TCalculatorEngine::DigitKey(QChar digit)
{
    BeginEntry();
    // A lone "0" is replaced, so no number starts with a leading zero. The emptied text is never
    // shown: the digit always fits into it.
    const QString text = FDisplayText == u"0" ? QString() : FDisplayText;
    if (text.contains(u'E'))
        return;
    const int limit = DigitLimit() + (text.contains(u'-') ? 1 : 0);
    if (text.size() < limit)
        SetDisplayText(text + digit);
    else
        Beep();
}

void TCalculatorEngine::BackspaceKey()
{
    BeginEntry();
    const qsizetype n = FDisplayText.size();
    if (n <= 1 || (n == 2 && FDisplayText.front() == u'-'))
        SetDisplayText(QStringLiteral("0"));
    else
        SetDisplayText(FDisplayText.left(n - 1));
}

void TCalculatorEngine::OperatorKey(QChar key)
{
    if (FEntryState == TCalcEntryState::cesEntering) {
        FEntryState = TCalcEntryState::cesFresh;
        long double x = DisplayValue();
        const long double operand = FOperand;
        if (key == u'%') {
            if (FPendingOperator == u'*' || FPendingOperator == u'/')
                x = x / 100;
            else if (FPendingOperator == u'+' || FPendingOperator == u'-')
                x = (operand * x) / 100;
        }
        // The result is checked against the double range before anything of it is shown.
        if (FPendingOperator == u'*') {
            ShowNumber(StoreDouble(operand * x));
        } else if (FPendingOperator == u'+') {
            ShowNumber(StoreDouble(operand + x));
        } else if (FPendingOperator == u'-') {
            ShowNumber(StoreDouble(operand - x));
        } else if (FPendingOperator == u'/') {
            if (x == 0)
                EnterError();
            else
                ShowNumber(StoreDouble(operand / x));
        }
    }
    // Read back from the display, so results are carried on with the display's digits. Read
    // before storing anything, so a display that does not read leaves operator and operand.
    const double operand = DisplayValue();
    FPendingOperator = key;
    FOperand = operand;
    if (IsResultKey(key) && OnResultKey)
        OnResultKey();
}

void TCalculatorEngine::SquareRootKey()
{
    FEntryState = TCalcEntryState::cesFresh;
    const double v = DisplayValue();
    if (v < 0.0)
        EnterError();
    else
        ShowNumber(StoreDouble(std::sqrt(static_cast<long double>(v))));
}

void TCalculatorEngine::ReciprocalKey()
{
    FEntryState = TCalcEntryState::cesFresh;
    const double v = DisplayValue();
    if (v == 0.0)
        EnterError();
    else
        ShowNumber(StoreDouble(1.0L / v)); // the reciprocal of a subnormal overflows
}

} // namespace kalvo
