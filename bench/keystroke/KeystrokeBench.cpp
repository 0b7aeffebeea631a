// One typed digit in the net amount field of the real main window, beside the same keystroke in a
// minimal window that does the same sum with plain Qt: a real key event (QTest::keyClick, press
// and release) into the focused field, which runs the key checks, the change event and the VAT
// computation that rewrites the other two fields. Headless (offscreen platform).
//
// Each benchmark times the digit alone (manual time): "NoPaint" stops there, with the repaints
// still pending; "Paint" also runs the event loop once (processEvents), which delivers the
// pending UpdateRequest and paints every widget the keystroke made dirty into the window's
// backing store. Every 6 digits the field goes back to "12" by 6 Backspaces, outside the timed
// part, so that the text never grows past 8 digits.
#include "core/AppServices.h"
#include "ui/TForm1.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace kalvo;

namespace {

constexpr int DigitsPerCycle = 6;

// What the program reports while typing: anything here makes the measurement void.
int Complaints = 0;

// Counts the paint events of the watched widgets.
class PaintCounter : public QObject
{
public:
    int Paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++Paints;
        return false;
    }
};

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

// A window under test with its net field focused and holding "12".
class Session
{
public:
    virtual ~Session() = default;
    virtual QWidget* Window() = 0;
    virtual QWidget* Net() = 0;
    virtual QWidget* Vat() = 0;
    virtual QWidget* Gross() = 0;
    // The texts the two computed fields show.
    virtual QString VatText() = 0;
    virtual QString GrossText() = 0;

    // Shows, activates and focuses; returns an error, or an empty string.
    std::string Start()
    {
        QWidget* w = Window();
        w->move(-500, 323);
        w->show();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w))
            return "the window did not become active";
        Settle();
        if (std::string e = AfterActivation(); !e.empty())
            return e;
        Net()->setFocus(Qt::TabFocusReason);
        Settle();
        if (QApplication::focusWidget() != Net())
            return "the net field did not take the focus";
        // Not Ctrl+A: that is one of the program's menu shortcuts.
        qobject_cast<QLineEdit*>(Net())->selectAll();
        QTest::keyClick(Net(), Qt::Key_Delete);
        QTest::keyClicks(Net(), QStringLiteral("12"));
        Settle();
        if (VatText() != u"2,28" || GrossText() != u"14,28")
            return "12 at 19 % did not give 2,28 and 14,28 but " + VatText().toStdString() +
                   " and " + GrossText().toStdString();
        return {};
    }

protected:
    virtual std::string AfterActivation() { return {}; }
};

class KalvoSession final : public Session
{
public:
    KalvoSession() : Form(std::make_unique<TForm1>()) {}
    QWidget* Window() override { return Form.get(); }
    QWidget* Net() override { return Form->Edit1; }
    QWidget* Vat() override { return Form->Edit3; }
    QWidget* Gross() override { return Form->Edit4; }
    QString VatText() override { return Form->Edit3->DisplayText(); }
    QString GrossText() override { return Form->Edit4->DisplayText(); }

private:
    std::string AfterActivation() override
    {
        // The first activation reads the (absent) settings and selects Deutschland.
        if (!Form->Activated() || Form->State().Satz != 19)
            return "the first activation did not select the rate 19";
        return {};
    }

    std::unique_ptr<TForm1> Form;
};

// The same sum in plain Qt: read with QLocale, compute in double, format with QLocale.
class MinimalVatWindow final : public QWidget
{
public:
    MinimalVatWindow()
    {
        setWindowTitle(QStringLiteral("Minimal VAT"));
        QFont font = this->font();
        font.setPixelSize(16); // as the program's amount fields
        for (QLineEdit** field : {&FNet, &FVat, &FGross})
            *field = new QLineEdit(this);
        FNet->setGeometry(56, 40, 113, 25);
        FVat->setGeometry(56, 72, 113, 25);
        FGross->setGeometry(56, 104, 113, 25);
        for (QLineEdit* field : {FNet, FVat, FGross})
            field->setFont(font);
        connect(FNet, &QLineEdit::textChanged, this, [this](const QString& t) { NetChanged(t); });
        setFixedSize(207, 131);
    }

    QLineEdit *FNet, *FVat, *FGross;

private:
    void NetChanged(const QString& text)
    {
        const QLocale locale;
        bool ok = false;
        const double net = locale.toDouble(text, &ok);
        const double vat = ok ? net * 19 / 100 : 0;
        FVat->setText(locale.toString(vat, 'f', 2));
        FGross->setText(locale.toString(net + vat, 'f', 2));
    }
};

class MinimalSession final : public Session
{
public:
    QWidget* Window() override { return &W; }
    QWidget* Net() override { return W.FNet; }
    QWidget* Vat() override { return W.FVat; }
    QWidget* Gross() override { return W.FGross; }
    QString VatText() override { return W.FVat->text(); }
    QString GrossText() override { return W.FGross->text(); }

private:
    MinimalVatWindow W;
};

// The timed work, out of line so that a profiler can collect exactly it (callgrind
// --toggle-collect, see bench/README.md).
[[gnu::noinline]] void TypeDigit(QWidget* field, char digit)
{
    QTest::keyClick(field, digit);
}

[[gnu::noinline]] void PaintPending()
{
    QCoreApplication::processEvents();
}

template<class S>
void Keystroke(benchmark::State& state, bool paint)
{
    // A window of its own per run: the program's application-wide key filter must not sit in
    // the minimal window's path.
    S session;
    if (const std::string e = session.Start(); !e.empty()) {
        state.SkipWithError(e.c_str());
        return;
    }
    PaintCounter net, others;
    session.Net()->installEventFilter(&net);
    session.Vat()->installEventFilter(&others);
    session.Gross()->installEventFilter(&others);
    const int complaintsBefore = Complaints;

    using Clock = std::chrono::steady_clock;
    QWidget* field = session.Net();
    int typed = 0;
    for (auto _ : state) {
        const char digit = char('3' + typed);
        const Clock::time_point t0 = Clock::now();
        TypeDigit(field, digit);
        if (paint)
            PaintPending();
        const Clock::time_point t1 = Clock::now();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        if (++typed == DigitsPerCycle) {
            for (; typed > 0; --typed)
                QTest::keyClick(field, Qt::Key_Backspace);
            if (paint)
                QCoreApplication::processEvents();
        }
    }
    const auto iterations = double(state.iterations());
    state.counters["net_paints"] = net.Paints / iterations;
    state.counters["other_paints"] = others.Paints / iterations;
    session.Net()->removeEventFilter(&net);
    session.Vat()->removeEventFilter(&others);
    session.Gross()->removeEventFilter(&others);

    // The typing must have worked: digits and Backspaces in balance, the sums right, no error.
    const auto* line = qobject_cast<const QLineEdit*>(field);
    const QString expected = QStringLiteral("12") + QStringLiteral("345678").left(typed);
    if (Complaints != complaintsBefore)
        state.SkipWithError("the program beeped or reported an error while typing");
    else if (!line || line->text() != expected)
        state.SkipWithError("the net field does not hold what was typed");
    else if (paint && (net.Paints == 0 || others.Paints == 0))
        state.SkipWithError("the event loop painted nothing");
}

void KalvoNoPaint(benchmark::State& state)
{
    Keystroke<KalvoSession>(state, false);
}
void KalvoPaint(benchmark::State& state)
{
    Keystroke<KalvoSession>(state, true);
}
void MinimalNoPaint(benchmark::State& state)
{
    Keystroke<MinimalSession>(state, false);
}
void MinimalPaint(benchmark::State& state)
{
    Keystroke<MinimalSession>(state, true);
}
BENCHMARK(KalvoNoPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(MinimalNoPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(KalvoPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(MinimalPaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Collects each repetition's time per keystroke so that median and range can be printed after
// the table.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    using ConsoleReporter::ConsoleReporter;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.error_occurred)
                Failed = true;
            else if (run.run_type == Run::RT_Iteration)
                Times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, std::vector<double>> Times;
    bool Failed = false;
};

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

bool HasFlag(int argc, char** argv, const char* flag)
{
    const std::string f = flag;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]).rfind(f, 0) == 0)
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A settings folder of our own before the window exists: the first start, every time.
    QTemporaryDir config;
    if (!config.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));

    TAppServices& services = AppServices();
    services.Beep = [] { ++Complaints; };
    services.ReportError = [](const QString& m) {
        ++Complaints;
        std::fprintf(stderr, "error box: %s\n", qPrintable(m));
    };
    services.ShowInformation = [](const QString&) { ++Complaints; };
    services.OpenUrl = [](const QString&) {};

    // Medians of repetitions, the programs interleaved, unless asked otherwise.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=10";
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    if (!HasFlag(argc, argv, "--benchmark_repetitions"))
        args.push_back(repetitions.data());
    if (!HasFlag(argc, argv, "--benchmark_enable_random_interleaving"))
        args.push_back(interleave.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    // Colours only for a terminal, as the library's own reporter does.
    RatioReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Defaults
                                                 : benchmark::ConsoleReporter::OO_Tabular);
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::printf("\nTime per typed digit, over %s:\n", "the repetitions");
    std::printf("%-16s %10s %22s %5s\n", "", "median us", "range us", "reps");
    std::map<std::string, double> median;
    for (const char* name : {"KalvoNoPaint", "MinimalNoPaint", "KalvoPaint", "MinimalPaint"}) {
        const auto found = reporter.Times.find(name);
        if (found == reporter.Times.end() || found->second.empty())
            continue;
        const std::vector<double>& v = found->second;
        median[name] = Median(v);
        std::printf("%-16s %10.2f %10.2f - %9.2f %5zu\n", name, median[name],
                    *std::min_element(v.begin(), v.end()), *std::max_element(v.begin(), v.end()),
                    v.size());
    }
    const auto ratio = [&](const char* a, const char* b, const char* what) {
        if (!median.count(a) || !median.count(b) || median[b] <= 0)
            return;
        const double r = median[a] / median[b];
        std::printf("kalvo/minimal %-13s = %.2fx (target: at most 1.5x): %s\n", what, r,
                    r <= 1.5 ? "met" : "MISSED");
    };
    std::printf("\n");
    ratio("KalvoNoPaint", "MinimalNoPaint", "without paint");
    ratio("KalvoPaint", "MinimalPaint", "with paint");
    benchmark::Shutdown();
    // A cycle that did not type what it should is a broken bench, whatever the times.
    return reporter.Failed ? 1 : 0;
}
