// Keeping net, VAT and gross consistent with the rate.
//
// Every formula takes the stored doubles as operands, is evaluated in 80-bit extended precision
// and rounded to a double when it is stored. A failure (EZeroDivide, EInvalidOp, EOverflow)
// stops the computation where it occurs: what was stored and set before stays.
#pragma once

#include "CalcState.h"
#include "NumberText.h"

#include <QChar>
#include <QString>
#include <QStringView>

namespace kalvo {

// The two amount fields a computation sets. Setting one fires its change notification at once;
// the window's focus guard makes that notification return.
class TAmountFields
{
public:
    virtual void SetNetValue(double value) = 0;
    virtual void SetVatValue(double value) = 0;
    virtual void SetGrossValue(double value) = 0;

protected:
    ~TAmountFields() = default;
};

// x rounded to a double; EOverflow when it lies beyond the double range.
double StoreDouble(long double x);
// a / b; EZeroDivide for a non-zero a over 0, EInvalidOp for 0 / 0.
long double Divide(long double a, long double b);

// The rate of a rate text: empty gives 0, anything else is read unchanged by TextToNumber.
// Raises EConvertError, or EOverflow for a rate beyond the double range.
double RateFromText(QStringView text, NumberSeparators separators);
// The rate as the program writes it: one decimal ("19,0", "7,7").
QString RateText(double rate, NumberSeparators separators);

// Satz := the rate of rateText. On failure Satz keeps its value and the exception propagates.
void ReadRate(TCalcState& state, QStringView rateText, NumberSeparators separators);

// Net drives (the net field and the rate): VAT and gross from the net amount.
void ComputeFromNet(TCalcState& state, long double net, TAmountFields& fields);
// VAT drives: net and gross from the VAT amount.
void ComputeFromVat(TCalcState& state, long double vat, TAmountFields& fields);
// Gross drives: VAT and net from the gross amount.
void ComputeFromGross(TCalcState& state, long double gross, TAmountFields& fields);

// Whether the add-line button is enabled after a net-driven computation.
inline bool AddLineAllowed(const TCalcState& state)
{
    return state.Brutto > 0;
}

// The spin steps: +1, or -1 but never below 0. There is no upper bound.
void SpinUp(TCalcState& state);
void SpinDown(TCalcState& state);

// The rate field's key mapping: "," and "." become the locale's decimal separator, found by
// writing 0 with the pattern "0.0"; every other key passes unchanged.
QChar MapRateKey(QChar key, NumberSeparators separators);

} // namespace kalvo
