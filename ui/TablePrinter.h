// Prints the record table at once on the default printer, on one portrait page.
#pragma once

#include "core/NumberText.h"
#include "table/RecordTable.h"

namespace kalvo {

// Raises EPrinterError when there is no usable default printer, and EConvertError (after
// aborting the document) when a cell does not read back as a number.
void PrintTable(const TRecordTable& table, int tabellenZeile, NumberSeparators separators);

} // namespace kalvo
