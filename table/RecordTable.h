// The record table: text cells in four columns (net, gross, VAT, rate) under a header row, and
// the three commands that change it. The row counter is the calculation state's TabellenZeile.
#pragma once

#include "core/CalcState.h"
#include "core/NumberText.h"

#include <QString>

#include <array>
#include <vector>

namespace kalvo {

// One computation as the add command takes it from the window.
struct TTableLine
{
    long double Netto;
    long double Brutto;
    long double Steuer;
    double Satz;
};

class TRecordTable
{
public:
    static constexpr int ColumnCount = 4;
    using TRow = std::array<QString, ColumnCount>;

    // One fixed header row, TabellenZeile 1, row count 2, the placeholder line in row 1.
    void SetUp(TCalcState& state, NumberSeparators separators);
    // Writes the line into row TabellenZeile when its net amount is above 0; returns whether it
    // did.
    bool AddLine(TCalcState& state, const TTableLine& line, NumberSeparators separators);
    // Removes the last line; with one line or none the placeholder line is written again.
    void DeleteLastLine(TCalcState& state, NumberSeparators separators);
    // Back to the placeholder line alone.
    void Clear(TCalcState& state, NumberSeparators separators);

    // Rows shown, header included: always the larger of TabellenZeile and 2.
    int RowCount() const { return static_cast<int>(FRows.size()); }
    static constexpr int FixedRows = 1;
    const QString& Cell(int column, int row) const { return FRows.at(row).at(column); }

private:
    void SetRowCount(int count);
    void WritePlaceholder(QStringView amountPattern, QStringView ratePattern,
                          NumberSeparators separators);

    std::vector<TRow> FRows;
};

} // namespace kalvo
