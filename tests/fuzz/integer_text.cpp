// The settings file's integers: ReadInteger and StrToInt against a reference reader; whatever is
// accepted prints back and reads back equal; decimal numbers outside 32 bits are refused.
//
// Input: [flags] [8 bytes of a 64-bit integer] [text]
//   flags bit 0: the text is UTF-16 (little-endian code units) instead of UTF-8.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "core/IntegerText.h"

#include <cstring>
#include <limits>

using namespace kalvo;
using namespace kalvo::fuzz;

namespace {

int DigitValue(QChar c, int base)
{
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= u'0' && u <= u'9')
        d = u - u'0';
    else if (u >= u'a' && u <= u'z')
        d = u - u'a' + 10;
    else if (u >= u'A' && u <= u'Z')
        d = u - u'A' + 10;
    return d < base ? d : -1;
}

// Blanks, a sign, decimal digits or hexadecimal ones after "$" or "0x"; decimal within the 32-bit
// signed range, hexadecimal any 32-bit pattern.
std::optional<std::int32_t> ReferenceRead(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    int base = 10;
    if (text.mid(i).startsWith(u'$')) {
        base = 16;
        i += 1;
    } else if (text.mid(i).startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    std::uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const int d = DigitValue(text[i], base);
        if (d < 0)
            return std::nullopt;
        magnitude = std::min<std::uint64_t>(magnitude * base + d, std::uint64_t(1) << 40);
    }
    if (base == 10) {
        const std::int64_t v = negative ? -std::int64_t(magnitude) : std::int64_t(magnitude);
        if (v < std::numeric_limits<std::int32_t>::min() ||
            v > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        return std::int32_t(v);
    }
    if (magnitude > 0xFFFFFFFFu)
        return std::nullopt;
    const auto bits = std::uint32_t(magnitude);
    return std::int32_t(negative ? 0u - bits : bits);
}

std::string Show(std::optional<std::int32_t> v)
{
    return v ? std::to_string(*v) : std::string("refused");
}

void Check(QStringView text)
{
    const auto value = ReadInteger(text);
    const auto expected = ReferenceRead(text);
    if (value != expected)
        Fail("ReadInteger reads the integer form",
             "text " + Quote(text) + ": " + Show(value) + ", expected " + Show(expected));
    try {
        const std::int32_t v = StrToInt(text);
        if (!value || v != *value)
            Fail("StrToInt gives what ReadInteger gives", "text " + Quote(text));
    } catch (const EConvertError& e) {
        if (value)
            Fail("StrToInt accepts what ReadInteger accepts", "text " + Quote(text));
        if (e.Message() !=
            u'\'' + text.toString() + QStringLiteral("' ist kein gültiger Integerwert"))
            Fail("StrToInt's message names the text", Quote(e.Message()));
    }
    if (!value)
        return;

    // What is accepted prints back, in decimal and in both hexadecimal forms, and reads back.
    const auto bits = static_cast<std::uint32_t>(*value);
    const QString printed[] = {
        QString::number(*value),
        QStringLiteral("  ") + QString::number(*value),
        u'$' + QString::number(bits, 16).toUpper(),
        QStringLiteral("0x") + QString::number(bits, 16),
    };
    for (const QString& p : printed) {
        if (ReadInteger(p) != value)
            Fail("an accepted integer printed back reads back equal",
                 "text " + Quote(text) + " read " + std::to_string(*value) + ", printed " +
                     Quote(p) + " reads " + Show(ReadInteger(p)));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size);
    const std::uint8_t flags = in.Byte();
    std::int64_t wide = 0;
    const std::string_view raw = in.Bytes(sizeof wide);
    std::memcpy(&wide, raw.data(), raw.size());
    const std::string_view rest = in.Rest();

    QString text;
    if (flags & 1) {
        for (std::size_t i = 0; i + 1 < rest.size(); i += 2)
            text += QChar(char16_t(std::uint8_t(rest[i]) | std::uint8_t(rest[i + 1]) << 8));
    } else {
        text = QString::fromUtf8(rest);
    }
    Check(text);

    // A decimal number is accepted exactly when it fits 32 bits.
    const QString decimal = QString::number(wide);
    const auto read = ReadInteger(decimal);
    const bool fits = wide >= std::numeric_limits<std::int32_t>::min() &&
                      wide <= std::numeric_limits<std::int32_t>::max();
    if (fits ? read != std::int32_t(wide) : read.has_value())
        Fail("decimal texts read within 32 bits and are refused outside",
             "text " + Quote(decimal) + ": " + Show(read));
    Check(decimal);
    return 0;
}
