#include "IntegerText.h"

#include "Errors.h"

namespace kalvo {

namespace {

int HexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

std::optional<std::int32_t> ReadInteger(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    int base = 10;
    if (i < n && text[i] == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }

    if (i == n)
        return std::nullopt;
    // Decimal: up to 2^31 (the magnitude of INT32_MIN). Hexadecimal: any 32-bit pattern.
    const std::uint64_t limit = base == 10 ? (negative ? 0x80000000u : 0x7FFFFFFFu) : 0xFFFFFFFFu;
    std::uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const int digit = base == 10
                              ? (text[i] >= u'0' && text[i] <= u'9' ? text[i].unicode() - u'0' : -1)
                              : HexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<std::uint32_t>(magnitude);
    const auto value = static_cast<std::int32_t>(negative ? 0u - bits : bits);
    return value;
}

std::int32_t StrToInt(QStringView text)
{
    if (const auto value = ReadInteger(text))
        return *value;
    throw EConvertError::NotAnInteger(text.toString());
}

} // namespace kalvo
