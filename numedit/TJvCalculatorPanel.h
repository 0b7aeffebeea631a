// The calculator's keypad: the engine with 19 key buttons in a four-column grid.
#pragma once

#include "CalculatorEngine.h"
#include "TJvxSpeedButton.h"
#include "core/Errors.h"

#include <QFrame>

#include <array>
#include <functional>

namespace kalvo {

class TJvCalculatorPanel;

// The kinds of key, in the order in which the key characters name them.
enum class TCalcBtnKind
{
    cbNum0,
    cbNum1,
    cbNum2,
    cbNum3,
    cbNum4,
    cbNum5,
    cbNum6,
    cbNum7,
    cbNum8,
    cbNum9,
    cbSgn,
    cbDcm,
    cbDiv,
    cbMul,
    cbSub,
    cbAdd,
    cbSqr,
    cbPcnt,
    cbRev,
    cbEql,
    cbBck,
    cbClr,
};

class TJvCalcButton : public TJvxSpeedButton
{
    Q_OBJECT

public:
    TJvCalcButton(TCalcBtnKind kind, TJvCalculatorPanel* panel);
    TCalcBtnKind Kind() const { return FKind; }

private:
    TCalcBtnKind FKind;
};

class TJvCalculatorPanel : public QFrame, public TCalculatorEngine
{
    Q_OBJECT

public:
    explicit TJvCalculatorPanel(QWidget* parent = nullptr);

    // The keyboard entry: the key's button is shown pressed for 20 ms and clicked; keys without
    // a button go to ProcessKey unchanged. Raises what ProcessKey raises.
    void PressKey(QChar key);
    // The click of any key button.
    void KeyButtonClicked(TJvCalcButton* button);
    TJvCalcButton* FindKeyButton(QChar key) const;
    const std::vector<TJvCalcButton*>& Buttons() const { return FButtons; }

    // A failure of a key clicked with the mouse goes here (the program's error report unless
    // set otherwise).
    std::function<void(const Exception&)> OnKeyFailure;

    static constexpr QSize NaturalSize{98, 124};

protected:
    void DisplayChanged() override;
    void changeEvent(QEvent* event) override;

private:
    std::vector<TJvCalcButton*> FButtons;
};

// The panel as the drop-down calculator holds it: never focused, no tab stop, a raised bevel.
class TJvLocCalculator : public TJvCalculatorPanel
{
    Q_OBJECT

public:
    explicit TJvLocCalculator(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// The character a key kind sends to ProcessKey.
QChar KeyCharacter(TCalcBtnKind kind, NumberSeparators separators);

} // namespace kalvo
