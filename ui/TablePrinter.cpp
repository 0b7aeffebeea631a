#include "TablePrinter.h"

#include "core/Errors.h"
#include "table/TableTransfer.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace kalvo {

void PrintTable(const TRecordTable& table, int tabellenZeile, NumberSeparators separators)
{
    // A printer made from a null description would quietly print to a PDF file instead.
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        throw EPrinterError::NoDefaultPrinter();
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid())
        throw EPrinterError::InvalidPrinter();
    if (printer.printerState() == QPrinter::Active)
        throw EPrinterError::Printing();
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(QStringLiteral("Umsatzsteuerberechnungen"));

    const int h = printer.pageRect(QPrinter::DevicePixel).toRect().height();
    const TPrintLayout layout = TablePrintLayout(table, tabellenZeile, h, separators);

    QPainter painter;
    if (!painter.begin(&printer))
        throw EPrinterError::InvalidPrinter();
    // A fixed-pitch face whose line height fits the line pitch of 100 * s.
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(std::max(1, static_cast<int>(80 * layout.S)));
    painter.setFont(font);
    painter.setPen(Qt::black);
    const int ascent = painter.fontMetrics().ascent();
    for (const TPrintItem& item : layout.Items) {
        // (x, y) is the text's top-left corner; items at or below the page's end are not printed.
        if (item.Y < h)
            painter.drawText(QPoint(item.X, item.Y + ascent), item.Text);
    }
    if (layout.Failure) {
        // Leave no half-printed job behind, so that the next print-out works.
        printer.abort();
        painter.end();
        throw EConvertError(*layout.Failure);
    }
    painter.end();
}

} // namespace kalvo
