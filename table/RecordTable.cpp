#include "RecordTable.h"

namespace kalvo {

namespace {

constexpr QStringView AmountPattern = u"##0.00";
constexpr QStringView RatePattern = u"##0.#";

} // namespace

void TRecordTable::SetRowCount(int count)
{
    FRows.resize(static_cast<std::size_t>(std::max(count, 0)));
}

void TRecordTable::WritePlaceholder(QStringView amountPattern, QStringView ratePattern,
                                    NumberSeparators separators)
{
    const QString zero = FormatNumber(amountPattern, 0, separators);
    FRows[1] = {zero, zero, zero, FormatNumber(ratePattern, 0, separators)};
}

void TRecordTable::SetUp(TCalcState& state, NumberSeparators separators)
{
    state.TabellenZeile = 1;
    SetRowCount(2);
    FRows[0] = {QStringLiteral("Netto"), QStringLiteral("Brutto"), QStringLiteral("USt"),
                QStringLiteral("%")};
    const QString zero = FormatNumber(u"###,##0.00", 0, separators);
    FRows[1] = {zero, zero, zero, FormatNumber(u"###,##0.#", state.Satz, separators)};
}

bool TRecordTable::AddLine(TCalcState& state, const TTableLine& line, NumberSeparators separators)
{
    if (!(line.Netto > 0))
        return false;
    const int r = state.TabellenZeile;
    // Rows past the row count are not part of the table; make room for the new one.
    if (static_cast<int>(FRows.size()) <= r)
        SetRowCount(r + 1);
    FRows[r] = {FormatNumber(AmountPattern, line.Netto, separators),
                FormatNumber(AmountPattern, line.Brutto, separators),
                FormatNumber(AmountPattern, line.Steuer, separators),
                FormatNumber(RatePattern, line.Satz, separators)};
    state.TabellenZeile = r + 1;
    SetRowCount(state.TabellenZeile);
    return true;
}

void TRecordTable::DeleteLastLine(TCalcState& state, NumberSeparators separators)
{
    if (state.TabellenZeile > 2) {
        --state.TabellenZeile;
        SetRowCount(state.TabellenZeile);
        return;
    }
    state.TabellenZeile = 1;
    SetRowCount(2);
    WritePlaceholder(u"###,##0.00", u"###,##0.#", separators);
}

void TRecordTable::Clear(TCalcState& state, NumberSeparators separators)
{
    SetRowCount(2);
    state.TabellenZeile = 1;
    WritePlaceholder(AmountPattern, RatePattern, separators);
}

} // namespace kalvo
