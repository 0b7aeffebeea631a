// The drop-down calculator of an amount field: starts from the field's number, takes the keys
// the field forwards, and hands its result back.
#pragma once

#include "TJvCalculatorPanel.h"
#include "TJvCustomComboEdit.h"

namespace kalvo {

class TJvPopupCalculator : public TJvPopupWindow
{
    Q_OBJECT

public:
    explicit TJvPopupCalculator(TJvCustomComboEdit* editor);

    TJvLocCalculator* Panel() const { return FPanel; }

    QVariant ReadPopupValue() override;
    void WritePopupValue(const QVariant& value) override;
    QString PopupDisplayText() const override;
    void KeyPress(QChar key) override;

    // Raised by the panel after "=", "%" and Enter.
    void CalculatorResult();

    static constexpr QSize OuterSize{104, 127};

private:
    TJvLocCalculator* FPanel;
};

TJvPopupWindow* CreatePopupCalculator(TJvCustomComboEdit* field);
// Hands the field's settings to its calculator (nothing for another kind of popup).
void ConfigureCalculator(TJvPopupWindow* popup, int precision, bool beep);

} // namespace kalvo
