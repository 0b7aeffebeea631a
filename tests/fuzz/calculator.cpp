// The calculator engine fed with key characters: only its two documented failures escape, and
// after every key the display, the entry state and the notifications agree with its rules.
//
// Input: [flags] [precision] [keys...]
//   flags bit 0: English instead of German separators; bit 1: BeepOnError;
//   flags bits 2-3: Precision 15 (0, 1), the precision byte modulo 20 (2) or the byte itself (3);
//   keys: a byte below 0x80 is that character; 0xFF followed by 8 bytes loads that double (as
//   opening the calculator on a value does); other bytes pick one of the calculator's keys.

#include "FuzzSupport.h"
#include "core/Errors.h"
#include "numedit/CalculatorEngine.h"

#include <cfloat>
#include <cstring>

using namespace kalvo;
using namespace kalvo::fuzz;

namespace {

const char16_t Keys[] = u"0123456789,.+-*/=%\r\bCQR_cqr";

// Records every display change, and whether one of them repeated the text before it.
class ProbeEngine : public TCalculatorEngine
{
public:
    using TCalculatorEngine::TCalculatorEngine;

    int Changes = 0;
    bool Repeated = false;

protected:
    void DisplayChanged() override
    {
        Repeated = Repeated || DisplayText() == FLastSeen;
        FLastSeen = DisplayText();
        ++Changes;
        TCalculatorEngine::DisplayChanged();
    }

private:
    QString FLastSeen = QStringLiteral("0");
};

const char* StateName(TCalcEntryState s)
{
    switch (s) {
    case TCalcEntryState::cesFresh:
        return "fresh";
    case TCalcEntryState::cesEntering:
        return "entering";
    case TCalcEntryState::cesError:
        return "error";
    }
    return "?";
}

// The general form's choice of notation: the exponent form exactly when the decimal exponent E
// (value = 0.d1d2... x 10^E) lies outside [-3, P].
bool NotationFits(QStringView display, int p, NumberSeparators seps)
{
    QStringView s = display;
    if (s.startsWith(u'-'))
        s = s.mid(1);
    const qsizetype e = s.indexOf(u'E');
    if (e >= 0) {
        bool ok = false;
        const int exponent = s.mid(e + 1).toInt(&ok) + 1;
        return ok && (exponent < -3 || exponent > p);
    }
    if (s.startsWith(QString(u'0') + seps.Decimal)) {
        qsizetype zeros = 0;
        while (2 + zeros < s.size() && s[2 + zeros] == u'0')
            ++zeros;
        return zeros <= 3;
    }
    const qsizetype point = s.indexOf(seps.Decimal);
    return (point < 0 ? s.size() : point) <= p;
}

qsizetype MantissaDigits(QStringView display)
{
    const qsizetype e = display.indexOf(u'E');
    const QStringView mantissa = e < 0 ? display : display.left(e);
    return std::count_if(mantissa.begin(), mantissa.end(), IsAsciiDigit);
}

bool IsOneOf(QChar c, std::u16string_view set)
{
    return set.find(c.unicode()) != std::u16string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ByteReader in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::uint8_t precisionByte = in.Byte();
    const NumberSeparators seps =
        flags & 1 ? NumberSeparators::English() : NumberSeparators::German();
    const int mode = (flags >> 2) & 3;
    const int precision = mode < 2 ? 15 : mode == 2 ? precisionByte % 20 : precisionByte;
    const int digitLimit = std::max(2, precision);
    const int shownDigits = std::min(digitLimit, 18);

    int beeps = 0;
    int results = 0;
    ProbeEngine engine([&] { ++beeps; });
    engine.SetSeparators(seps);
    engine.SetPrecision(precision);
    engine.SetBeepOnError(flags & 2);
    engine.OnResultKey = [&] { ++results; };

    std::u16string history; // the keys so far, for the report
    bool shownByEngine = true;
    // The sign key rewrites a typed number in the display format; with more than 15 digits that
    // may show more digits than were typed (the double's own), so the typing limit is not
    // checked there.
    bool reformatted = false;
    while (!in.AtEnd()) {
        const std::uint8_t b = in.Byte();
        bool load = false;
        double loaded = 0;
        QChar key;
        if (b == 0xFF) {
            const std::string_view raw = in.Bytes(sizeof loaded);
            std::memcpy(&loaded, raw.data(), raw.size());
            if (raw.size() != sizeof loaded || !std::isfinite(loaded))
                continue;
            load = true;
        } else {
            key = b < 0x80 ? QChar(char16_t(b)) : QChar(Keys[(b - 0x80) % (std::size(Keys) - 1)]);
        }
        history += load ? std::u16string(u"<load>") : std::u16string(1, key.unicode());

        const QString before = engine.DisplayText();
        const TCalcEntryState stateBefore = engine.EntryState();
        const QChar pendingBefore = engine.PendingOperator();
        const double operandBefore = engine.Operand();
        const int changesBefore = engine.Changes;
        beeps = 0;
        results = 0;
        const char* failure = nullptr;
        try {
            if (load)
                engine.LoadNumber(loaded);
            else
                engine.ProcessKey(key);
        } catch (const EOverflow&) {
            failure = "EOverflow";
        } catch (const EConvertError&) {
            failure = "EConvertError";
        } catch (const std::exception& e) {
            Fail("only EOverflow and EConvertError escape ProcessKey",
                 "keys " + Quote(QString::fromStdU16String(history)) + ": " + e.what());
        }

        const QString display = engine.DisplayText();
        const TCalcEntryState state = engine.EntryState();
        const auto context = [&] {
            return "keys " + Quote(QString::fromStdU16String(history)) + ", precision " +
                   std::to_string(precision) + ", " + SeparatorsName(seps) + ": display " +
                   Quote(display) + ", state " + StateName(state) +
                   (failure ? std::string(", raised ") + failure : std::string());
        };
        const QChar upper = key >= u'a' && key <= u'z' ? QChar(key.unicode() - 32) : key;

        if (engine.Repeated)
            Fail("OnDisplayChanged is raised only when the display text changes", context());
        if ((display == u"Error") != (state == TCalcEntryState::cesError))
            Fail("the display shows \"Error\" exactly in the error state", context());
        if (beeps > 0 && !engine.BeepOnError())
            Fail("no beep without BeepOnError", context());
        const bool resultKey = !load && IsOneOf(upper, u"=%\r");
        if (results != (resultKey && !failure && stateBefore != TCalcEntryState::cesError))
            Fail("OnResultKey is raised once after \"=\", \"%\" and Enter, outside the error state",
                 context());
        if (failure) {
            if (load || !IsOneOf(upper, u"+-*/=%\rQR_"))
                Fail("only the keys that compute raise", context());
            if (display != before || engine.PendingOperator() != pendingBefore ||
                engine.Operand() != operandBefore)
                Fail("a raising key leaves the display, the operator and the operand", context());
        }
        if (!load && upper == u'C' && !failure &&
            (display != u"0" || state != TCalcEntryState::cesFresh ||
             engine.PendingOperator() != u'='))
            Fail("C clears to a fresh \"0\" with the operator \"=\"", context());

        if (engine.Changes > changesBefore)
            shownByEngine = load || IsOneOf(upper, u"+-*/=%\rCQR_");
        if (state != TCalcEntryState::cesEntering)
            reformatted = false;
        else if (!load && upper == u'_' && engine.Changes > changesBefore)
            reformatted = true;
        if (state == TCalcEntryState::cesError)
            continue;

        // The display reads back, but for a separator put behind an exponent display, or a
        // 15-digit display rounded beyond the double range.
        double value = 0;
        bool readable = false;
        try {
            value = engine.DisplayValue();
            readable = true;
        } catch (const EConvertError&) {
            const bool known = display.endsWith(seps.Decimal) && display.count(seps.Decimal) == 1 &&
                               display.contains(u'E');
            if (!known)
                Fail("the display reads back with DisplayValue", context());
        } catch (const EOverflow&) {
            const auto wide = ReadNumber(display.trimmed(), seps);
            if (!wide || std::fabs(*wide) <= DBL_MAX)
                Fail("DisplayValue overflows only for a display beyond the double range",
                     context());
        }

        if (shownByEngine) {
            if (!NotationFits(display, shownDigits, seps))
                Fail("a shown number is in exponent form exactly when its magnitude needs it",
                     context());
            // Written with P digits and read back, a double writes again as the same text
            // (16 digits are the one precision where a double need not survive that, and a
            // subnormal has fewer digits than P).
            if (readable && shownDigits != 16 && (value == 0 || std::fabs(value) >= DBL_MIN) &&
                GeneralNumberText(value, digitLimit, seps) != display)
                Fail("a shown number reads back as the value it shows",
                     context() + ", writes again as " +
                         Quote(GeneralNumberText(value, digitLimit, seps)));
        }
        if (state == TCalcEntryState::cesEntering && (!reformatted || shownDigits <= 15) &&
            MantissaDigits(display) > digitLimit)
            Fail("a typed number holds at most max(2, Precision) digits", context());
    }
    return 0;
}
