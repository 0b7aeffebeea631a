// The one calculation state of the main window.
#pragma once

#include <cstdint>

namespace kalvo {

struct TCalcState
{
    double Netto = 0;                  // net amount
    double Steuer = 0;                 // VAT amount
    double Brutto = 0;                 // gross amount
    double Satz = 0;                   // VAT rate in percent: 19 means 19 %
    std::int32_t StaatNummer = 0;      // selected row of the state catalogue
    std::int32_t TabellenZeile = 0;    // the record-table row the next added line fills
    std::int32_t StdZeilenHoehe = 0;   // the record table's laid-out default row height
    std::int32_t StdSpaltenBreite = 0; // and column width
};

} // namespace kalvo
