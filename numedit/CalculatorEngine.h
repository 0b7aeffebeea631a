// The arithmetic of the drop-down calculator, free of any window.
//
// It consumes key characters and produces a display text, two notifications and beeps. It
// evaluates strictly from left to right, carries results on with the display's 15 digits, and
// leaves its error state only by clearing.
#pragma once

#include "core/NumberText.h"

#include <QChar>
#include <QString>

#include <functional>

namespace kalvo {

enum class TCalcEntryState
{
    cesFresh,    // the display shows a value that is not being typed
    cesEntering, // a number is being typed
    cesError,    // the display shows "Error"; every key but C is ignored
};

class TCalculatorEngine
{
public:
    // Beeps go to `beep` (the platform's alert sound in the program, a recorder in tests).
    explicit TCalculatorEngine(std::function<void()> beep = {});
    virtual ~TCalculatorEngine() = default;

    // The single entry point of the arithmetic. May raise EOverflow (a result beyond the double
    // range) or EConvertError (a display text that does not read back); the key's processing
    // then stops where it got.
    void ProcessKey(QChar key);

    // Shows value, then the entry state becomes fresh and the pending operator "=".
    void LoadNumber(double value);
    // The display's number (0 in the error state); raises EConvertError when it does not read.
    double DisplayValue() const;
    // Writes value in the display format (GeneralNumberText with max(2, Precision) digits).
    void ShowNumber(double value);
    // Stores text and calls DisplayChanged() when it differs from the current display text.
    void SetDisplayText(const QString& text);

    const QString& DisplayText() const { return FDisplayText; }
    TCalcEntryState EntryState() const { return FEntryState; }
    QChar PendingOperator() const { return FPendingOperator; }
    double Operand() const { return FOperand; }

    int Precision() const { return FPrecision; }
    void SetPrecision(int precision) { FPrecision = precision; }
    bool BeepOnError() const { return FBeepOnError; }
    void SetBeepOnError(bool beep) { FBeepOnError = beep; }

    // The separators used for the display; LocaleSeparators() at construction.
    NumberSeparators Separators() const { return FSeparators; }
    void SetSeparators(NumberSeparators separators) { FSeparators = separators; }

    // Raised each time the display text actually changes.
    std::function<void()> OnDisplayChanged;
    // Raised after "=", "%" and Enter have been processed, whatever the state then is.
    std::function<void()> OnResultKey;

protected:
    // Called whenever the display text changes; raises OnDisplayChanged.
    virtual void DisplayChanged();
    void Beep() const;

private:
    // A fresh display starts an entry at "0"; otherwise nothing.
    void BeginEntry();
    void EnterError();
    void DigitKey(QChar digit);
    void BackspaceKey();
    // "+", "-", "*", "/", "=", "%" and Enter.
    void OperatorKey(QChar key);
    void SquareRootKey();
    void ReciprocalKey();
    int DigitLimit() const;

    QString FDisplayText = QStringLiteral("0");
    TCalcEntryState FEntryState = TCalcEntryState::cesFresh;
    QChar FPendingOperator = QChar(0);
    double FOperand = 0.0;
    int FPrecision = 15;
    bool FBeepOnError = true;
    NumberSeparators FSeparators;
    std::function<void()> FBeep;
};

} // namespace kalvo
