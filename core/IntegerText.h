// The integer conversion of the settings file.
#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

namespace kalvo {

// Optional leading blanks, an optional sign, then decimal digits or hexadecimal digits after
// "$" or "0x"; nothing else. Decimal values must fit a 32-bit signed integer; a hexadecimal one
// may use all 32 bits ("$FFFFFFFF" is -1).
std::optional<std::int32_t> ReadInteger(QStringView text);

// ReadInteger, raising EConvertError "'text' ist kein gültiger Integerwert" on failure.
std::int32_t StrToInt(QStringView text);

} // namespace kalvo
