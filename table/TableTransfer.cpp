#include "TableTransfer.h"

#include "core/Errors.h"

namespace kalvo {

namespace {

using Extended = long double;

// Trunc(factor * s), the product formed in the extended format.
int Scaled(Extended factor, double s)
{
    return static_cast<int>(factor * s);
}

// The text right-aligned in at least width characters ("%4s", "%15s", "%5s").
QString Pad(const QString& text, int width)
{
    return text.rightJustified(width, u' ', false);
}

} // namespace

TPrintLayout TablePrintLayout(const TRecordTable& table, int tabellenZeile, int h,
                              NumberSeparators separators)
{
    TPrintLayout layout;
    const double s = static_cast<double>(h) / 6777.0;
    layout.S = s;
    const int x = Scaled(600, s);
    auto& items = layout.Items;

    items.push_back({x, Scaled(200, s), QStringLiteral("Umsatzsteuerberechnungen")});
    items.push_back({x, Scaled(600, s),
                     Pad(QStringLiteral("Nr."), 4) + Pad(table.Cell(0, 0), 15) +
                         Pad(table.Cell(1, 0), 15) + Pad(table.Cell(2, 0), 15) +
                         Pad(table.Cell(3, 0), 5)});

    std::array<double, 3> sums{0, 0, 0};
    for (int i = 1; i <= tabellenZeile - 1; ++i) {
        items.push_back({x, Scaled(Extended(100) * i + 800, s),
                         Pad(QString::number(i), 4) + Pad(table.Cell(0, i), 15) +
                             Pad(table.Cell(1, i), 15) + Pad(table.Cell(2, i), 15) +
                             Pad(table.Cell(3, i), 5) + QStringLiteral(" %")});
        for (int column = 0; column < 3; ++column) {
            const auto value = ReadNumber(table.Cell(column, i), separators);
            if (!value) {
                layout.Failure = EConvertError::NotAFloat(table.Cell(column, i)).Message();
                return layout;
            }
            sums[column] = static_cast<double>(sums[column] + *value);
        }
    }

    const int totalsY = Scaled(800, s) + static_cast<int>(Extended(tabellenZeile + 1) * s * 100);
    QString totals = Pad(QStringLiteral("ges."), 4);
    for (const double sum : sums)
        totals += Pad(FormatNumber(u"##0.00", sum, separators), 15);
    items.push_back({x, totalsY, totals});
    return layout;
}

QString TableClipboardText(const TRecordTable& table, int tabellenZeile)
{
    QString text;
    for (int r = 0; r < tabellenZeile; ++r) {
        text += table.Cell(0, r) + u'\t' + table.Cell(1, r) + u'\t' + table.Cell(2, r) + u'\t' +
                table.Cell(3, r) + QStringLiteral("\r\n");
    }
    return text;
}

} // namespace kalvo
