#include "core/Errors.h"

#include <gtest/gtest.h>

using namespace kalvo;

TEST(ErrorBoxText, AppendsAPeriodAfterLettersAndDigits)
{
    const struct
    {
        const char16_t* Message;
        const char16_t* Box;
    } cases[] = {
        {u"Gleitkommadivision durch Null", u"Gleitkommadivision durch Null."},
        {u"'x' ist kein gültiger Integerwert", u"'x' ist kein gültiger Integerwert."},
        {u"Code 5", u"Code 5."},
        {u"Wirklich?", u"Wirklich?."}, // "?" has a higher code than "."
        {u"Schon da.", u"Schon da."},
        {u"Achtung!", u"Achtung!"},
        {u"(so)", u"(so)"},
        {u"", u""},
        {u"Größe", u"Größe."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorBoxText(QString::fromUtf16(c.Message)), QString::fromUtf16(c.Box));
}

TEST(Errors, CarryTheirGermanMessages)
{
    EXPECT_EQ(EZeroDivide().Message(), u"Gleitkommadivision durch Null");
    EXPECT_EQ(EInvalidOp().Message(), u"Ungültige Gleitkommaoperation");
    EXPECT_EQ(EOverflow().Message(), u"Gleitkommaüberlauf");
    EXPECT_EQ(EWriteError(QStringLiteral("kalvo.INI")).Message(),
              u"In kalvo.INI kann nicht geschrieben werden");
    EXPECT_EQ(EPrinterError::SystemError(5, QStringLiteral("Zugriff %1 verweigert")).Message(),
              u"Systemfehler.  Code: 5.\r\nZugriff %1 verweigert");
    EXPECT_STREQ(EOverflow().what(), "Gleitkomma\xC3\xBC"
                                     "berlauf");
}
