#include "VatComputation.h"

#include "Errors.h"

#include <cmath>

namespace kalvo {

namespace {

using Extended = long double;

} // namespace

double StoreDouble(long double x)
{
    const double d = static_cast<double>(x);
    if (std::isinf(d) && std::isfinite(x))
        throw EOverflow();
    return d;
}

long double Divide(long double a, long double b)
{
    if (b == 0) {
        if (a == 0)
            throw EInvalidOp();
        throw EZeroDivide();
    }
    return a / b;
}

double RateFromText(QStringView text, NumberSeparators separators)
{
    if (text.isEmpty())
        return 0;
    return StoreDouble(TextToNumber(text, separators));
}

QString RateText(double rate, NumberSeparators separators)
{
    return FormatNumber(u"0.0", rate, separators);
}

void ReadRate(TCalcState& state, QStringView rateText, NumberSeparators separators)
{
    state.Satz = RateFromText(rateText, separators);
}

void ComputeFromNet(TCalcState& state, long double net, TAmountFields& fields)
{
    state.Netto = StoreDouble(net);
    state.Steuer = StoreDouble(Extended(state.Netto) * state.Satz / 100);
    fields.SetVatValue(state.Steuer);
    state.Brutto = StoreDouble(Extended(state.Steuer) + state.Netto);
    fields.SetGrossValue(state.Brutto);
}

void ComputeFromVat(TCalcState& state, long double vat, TAmountFields& fields)
{
    state.Steuer = StoreDouble(vat);
    state.Netto = StoreDouble(Divide(100 * Extended(state.Steuer), state.Satz));
    fields.SetNetValue(state.Netto);
    state.Brutto = StoreDouble(Extended(state.Steuer) + state.Netto);
    fields.SetGrossValue(state.Brutto);
}

void ComputeFromGross(TCalcState& state, long double gross, TAmountFields& fields)
{
    state.Brutto = StoreDouble(gross);
    state.Steuer =
        StoreDouble(Divide(Extended(state.Brutto) * state.Satz, Extended(state.Satz) + 100));
    fields.SetVatValue(state.Steuer);
    state.Netto = StoreDouble(Extended(state.Brutto) - state.Steuer);
    fields.SetNetValue(state.Netto);
}

void SpinUp(TCalcState& state)
{
    state.Satz = StoreDouble(Extended(state.Satz) + 1);
}

void SpinDown(TCalcState& state)
{
    const double lowered = StoreDouble(Extended(state.Satz) - 1);
    state.Satz = lowered >= 0 ? lowered : 0;
}

QChar MapRateKey(QChar key, NumberSeparators separators)
{
    if (key != u',' && key != u'.')
        return key;
    return FormatNumber(u"0.0", 0, separators) == u"0,0" ? QChar(u',') : QChar(u'.');
}

} // namespace kalvo
