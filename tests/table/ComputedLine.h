// A record-table line as the window hands it to the add command: the amounts of a net-driven
// computation at a rate.
#pragma once

#include "core/VatComputation.h"
#include "table/RecordTable.h"

namespace kalvo::test {

inline TTableLine ComputedLine(double net, double rate)
{
    struct : TAmountFields
    {
        void SetNetValue(double) override {}
        void SetVatValue(double) override {}
        void SetGrossValue(double) override {}
    } fields;
    TCalcState s;
    s.Satz = rate;
    ComputeFromNet(s, net, fields);
    return {s.Netto, s.Brutto, s.Steuer, s.Satz};
}

} // namespace kalvo::test
