#include "TJvPopupCalculator.h"

#include "core/AppServices.h"
#include "numedit/NumEditLogic.h"

#include <QApplication>

namespace kalvo {

namespace {

// The field's text as a start number: grouping allowed, then the plain reader, else 0.
double StartNumber(const QVariant& value)
{
    if (value.isNull())
        return 0;
    const QString text = value.toString();
    const NumberSeparators separators = LocaleSeparators();
    QString ungrouped = text;
    if (separators.Decimal != separators.Thousands)
        ungrouped.remove(separators.Thousands);
    for (const QString& candidate : {ungrouped, text}) {
        if (const auto number = ReadNumber(candidate, separators)) {
            const double d = static_cast<double>(*number);
            if (std::isfinite(d))
                return d;
        }
    }
    return 0;
}

} // namespace

TJvPopupCalculator::TJvPopupCalculator(TJvCustomComboEdit* editor) : TJvPopupWindow(editor)
{
    QFont font = QApplication::font("QMessageBox");
    font.setBold(true);
    setFont(font);
    resize(OuterSize);

    FPanel = new TJvLocCalculator(this);
    FPanel->setGeometry(1, 1, OuterSize.width() - 2, OuterSize.height() - 2);
    FPanel->SetPrecision(15);
    FPanel->OnDisplayChanged = [this] { RepaintField(); };
    FPanel->OnResultKey = [this] { CalculatorResult(); };
    // A failure in a clicked key closes the calculator without taking its value.
    FPanel->OnKeyFailure = [this](const Exception& e) {
        Editor()->ClosePopup(false);
        ReportErrorLater(e.Message());
    };
}

QVariant TJvPopupCalculator::ReadPopupValue()
{
    if (FPanel->EntryState() == TCalcEntryState::cesError) {
        if (FPanel->BeepOnError())
            Beep();
        return QVariant(0);
    }
    FPanel->ShowNumber(FPanel->DisplayValue());
    return QVariant(FPanel->DisplayValue());
}

void TJvPopupCalculator::WritePopupValue(const QVariant& value)
{
    FPanel->SetSeparators(LocaleSeparators());
    FPanel->LoadNumber(StartNumber(value));
}

QString TJvPopupCalculator::PopupDisplayText() const
{
    return FPanel->DisplayText();
}

void TJvPopupCalculator::KeyPress(QChar key)
{
    FPanel->PressKey(key);
}

void TJvPopupCalculator::CalculatorResult()
{
    if (FPanel->EntryState() == TCalcEntryState::cesError)
        return;
    FPanel->ShowNumber(FPanel->DisplayValue());
    EndPopup(true);
}

TJvPopupWindow* CreatePopupCalculator(TJvCustomComboEdit* field)
{
    return new TJvPopupCalculator(field);
}

void ConfigureCalculator(TJvPopupWindow* popup, int precision, bool beep)
{
    if (auto* calculator = qobject_cast<TJvPopupCalculator*>(popup)) {
        calculator->Panel()->SetPrecision(std::max(2, precision));
        calculator->Panel()->SetBeepOnError(beep);
    }
}

} // namespace kalvo
