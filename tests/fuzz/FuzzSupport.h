// What the fuzz targets share: reading the input piece by piece and reporting a broken property.
#pragma once

#include "core/NumberText.h"

#include <QString>
#include <QStringView>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kalvo::fuzz {

// A text for a report: printable ASCII as it is, everything else as \uXXXX, in quotes.
inline std::string Quote(QStringView text)
{
    std::string out = "\"";
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'"' && u != u'\\') {
            out += char(u);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", unsigned(u));
            out += buffer;
        }
    }
    return out + '"';
}

inline std::string Quote(std::string_view bytes)
{
    std::string out = "\"";
    for (const char ch : bytes) {
        const auto u = static_cast<unsigned char>(ch);
        if (u >= 0x20 && u < 0x7F && u != '"' && u != '\\') {
            out += ch;
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\x%02X", u);
            out += buffer;
        }
    }
    return out + '"';
}

inline std::string Number(long double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.21Lg", value);
    return buffer;
}

inline std::string SeparatorsName(NumberSeparators separators)
{
    return "separators " + Quote(QString(separators.Decimal)) + " and " +
           Quote(QString(separators.Thousands));
}

// What a target must tidy up before it aborts (its temporary files).
inline void (*CleanUpBeforeAbort)() = nullptr;

// Prints the broken property and what broke it, then aborts so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(std::string_view property, const std::string& details)
{
    std::fprintf(stderr, "\n*** property broken: %.*s\n%s\n", int(property.size()), property.data(),
                 details.c_str());
    std::fflush(stderr);
    if (CleanUpBeforeAbort)
        CleanUpBeforeAbort();
    std::abort();
}

// The input taken apart from the front: single bytes, then the rest. Past the end it gives zeros.
class ByteReader
{
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : FData(data), FSize(size) {}

    std::uint8_t Byte() { return FPos < FSize ? FData[FPos++] : 0; }

    std::string_view Bytes(std::size_t n)
    {
        n = std::min(n, FSize - FPos);
        const std::string_view out(reinterpret_cast<const char*>(FData + FPos), n);
        FPos += n;
        return out;
    }

    std::string_view Rest() { return Bytes(FSize - FPos); }
    bool AtEnd() const { return FPos >= FSize; }

private:
    const std::uint8_t* FData;
    std::size_t FSize;
    std::size_t FPos = 0;
};

inline bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// 10^n in the extended format (infinite or 0 beyond its range).
inline long double PowerOfTen(int n)
{
    return std::pow(10.0L, static_cast<long double>(n));
}

} // namespace kalvo::fuzz
