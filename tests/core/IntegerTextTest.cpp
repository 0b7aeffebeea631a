#include "core/IntegerText.h"

#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace kalvo;

TEST(StrToInt, TheSettingsFileIntegers)
{
    const struct
    {
        const char16_t* Text;
        std::optional<std::int32_t> Value;
    } cases[] = {
        {u"4", 4},
        {u"  290", 290},
        {u"-50", -50},
        {u"+7", 7},
        {u"0", 0},
        {u"2147483647", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"$1F", 31},
        {u"0x1f", 31},
        {u"0X10", 16},
        {u"-$10", -16},
        {u"$FFFFFFFF", -1},
        // Refused:
        {u"", std::nullopt},
        {u" ", std::nullopt},
        {u"x", std::nullopt},
        {u"12 ", std::nullopt},
        {u"1.5", std::nullopt},
        {u"2147483648", std::nullopt},
        {u"-2147483649", std::nullopt},
        {u"$100000000", std::nullopt},
        {u"99999999999999999999999", std::nullopt},
        {u"$", std::nullopt},
        {u"0x", std::nullopt},
        {u"$G", std::nullopt},
        {u"--1", std::nullopt},
        {u"１", std::nullopt}, // a full-width digit
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadInteger(c.Text), c.Value) << QString::fromUtf16(c.Text).toStdString();
    }
}

TEST(StrToInt, RaisesTheGermanMessage)
{
    try {
        StrToInt(u"x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), u"'x' ist kein gültiger Integerwert");
    }
}
