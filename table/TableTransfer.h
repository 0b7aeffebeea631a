// The record table handed on: its one-page print layout and its clipboard text.
#pragma once

#include "RecordTable.h"

#include <QString>

#include <optional>
#include <vector>

namespace kalvo {

// A text with its top-left corner in device pixels of the printable area.
struct TPrintItem
{
    int X;
    int Y;
    QString Text;
    friend bool operator==(const TPrintItem&, const TPrintItem&) = default;
};

struct TPrintLayout
{
    double S = 0; // the scale: printable height / 6777
    // Title, header line, table lines, totals line, in this order.
    std::vector<TPrintItem> Items;
    // When a cell does not read back as a number: its message. Items then end with the line
    // that holds the cell, and there is no totals line.
    std::optional<QString> Failure;
};

// The page for a printable height of h device pixels. Positions are truncated from products
// formed in the extended format; the totals are the column sums of the cells read back.
TPrintLayout TablePrintLayout(const TRecordTable& table, int tabellenZeile, int h,
                              NumberSeparators separators);

// One line per row from the header to the last line, cells separated by tabs, every line ended
// by "\r\n"; an empty table gives the header line alone.
QString TableClipboardText(const TRecordTable& table, int tabellenZeile);

} // namespace kalvo
