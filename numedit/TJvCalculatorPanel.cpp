#include "TJvCalculatorPanel.h"

#include "core/AppServices.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>

namespace kalvo {

namespace {

constexpr QColor Purple(128, 0, 128);
constexpr QColor Maroon(128, 0, 0);

struct TKeyLayout
{
    TCalcBtnKind Kind;
    QPoint Position;
};

// Created in kind order: digits, sign change, decimal, the operators, equals, backspace, clear.
constexpr std::array<TKeyLayout, 19> KeyLayout{{
    {TCalcBtnKind::cbNum0, {6, 75}},  {TCalcBtnKind::cbNum1, {6, 52}},
    {TCalcBtnKind::cbNum2, {29, 52}}, {TCalcBtnKind::cbNum3, {52, 52}},
    {TCalcBtnKind::cbNum4, {6, 29}},  {TCalcBtnKind::cbNum5, {29, 29}},
    {TCalcBtnKind::cbNum6, {52, 29}}, {TCalcBtnKind::cbNum7, {6, 6}},
    {TCalcBtnKind::cbNum8, {29, 6}},  {TCalcBtnKind::cbNum9, {52, 6}},
    {TCalcBtnKind::cbSgn, {52, 75}},  {TCalcBtnKind::cbDcm, {29, 75}},
    {TCalcBtnKind::cbDiv, {75, 6}},   {TCalcBtnKind::cbMul, {75, 29}},
    {TCalcBtnKind::cbSub, {75, 52}},  {TCalcBtnKind::cbAdd, {75, 75}},
    {TCalcBtnKind::cbEql, {52, 98}},  {TCalcBtnKind::cbBck, {29, 98}},
    {TCalcBtnKind::cbClr, {6, 98}},
}};

QString Face(TCalcBtnKind kind, NumberSeparators separators)
{
    switch (kind) {
    case TCalcBtnKind::cbSgn:
        return QStringLiteral("±");
    case TCalcBtnKind::cbDcm:
        return QString(separators.Decimal);
    case TCalcBtnKind::cbBck:
        return QStringLiteral("<-");
    default:
        return QString(KeyCharacter(kind, separators));
    }
}

QColor FaceColor(TCalcBtnKind kind)
{
    switch (kind) {
    case TCalcBtnKind::cbDiv:
    case TCalcBtnKind::cbMul:
    case TCalcBtnKind::cbSub:
    case TCalcBtnKind::cbAdd:
    case TCalcBtnKind::cbEql:
        return Purple;
    case TCalcBtnKind::cbClr:
    case TCalcBtnKind::cbBck:
        return Maroon;
    default:
        return {}; // the button text colour
    }
}

QFont PanelFont()
{
    QFont font = QApplication::font("QMessageBox");
    font.setBold(true);
    return font;
}

} // namespace

QChar KeyCharacter(TCalcBtnKind kind, NumberSeparators separators)
{
    static constexpr char16_t Keys[] = u"0123456789_./*-+Q%R=\bC";
    if (kind == TCalcBtnKind::cbDcm)
        return separators.Decimal;
    return QChar(Keys[static_cast<int>(kind)]);
}

TJvCalcButton::TJvCalcButton(TCalcBtnKind kind, TJvCalculatorPanel* panel)
    : TJvxSpeedButton(panel), FKind(kind)
{
    setText(Face(kind, panel->Separators()));
    SetTextColor(FaceColor(kind));
}

TJvCalculatorPanel::TJvCalculatorPanel(QWidget* parent)
    : QFrame(parent), TCalculatorEngine([] { kalvo::Beep(); })
{
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    setFont(PanelFont());
    resize(NaturalSize);
    SetSeparators(LocaleSeparators());
    OnKeyFailure = [](const Exception& e) { ReportError(e.Message()); };

    for (const TKeyLayout& key : KeyLayout) {
        auto* button = new TJvCalcButton(key.Kind, this);
        const int width = key.Kind == TCalcBtnKind::cbEql ? 44 : 21;
        button->setGeometry(QRect(key.Position, QSize(width, 21)));
        connect(button, &QAbstractButton::clicked, this, [this, button] {
            try {
                KeyButtonClicked(button);
            } catch (const Exception& e) {
                if (OnKeyFailure)
                    OnKeyFailure(e);
            }
        });
        FButtons.push_back(button);
    }
}

TJvCalcButton* TJvCalculatorPanel::FindKeyButton(QChar key) const
{
    const NumberSeparators separators = Separators();
    if (key == u',' || key == u'.' || key == separators.Decimal)
        key = u'.';
    else if (key == QChar(13))
        key = u'=';
    else if (key == QChar(27))
        key = u'C';
    key = key.toUpper();
    static constexpr QStringView Keys = u"0123456789_./*-+Q%R=\bC";
    const qsizetype index = Keys.indexOf(key);
    if (index < 0)
        return nullptr;
    for (TJvCalcButton* button : FButtons) {
        if (static_cast<qsizetype>(button->Kind()) == index)
            return button;
    }
    return nullptr;
}

void TJvCalculatorPanel::PressKey(QChar key)
{
    TJvCalcButton* button = FindKeyButton(key);
    if (!button) {
        ProcessKey(key);
        return;
    }
    if (!button->isEnabled())
        return;
    // Shown pressed for a moment, so that a typed key is seen on the keypad.
    button->setDown(true);
    button->repaint();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20) {
    }
    struct Release
    {
        TJvCalcButton* Button;
        ~Release()
        {
            Button->setDown(false);
            Button->repaint();
        }
    } release{button};
    KeyButtonClicked(button);
}

void TJvCalculatorPanel::KeyButtonClicked(TJvCalcButton* button)
{
    ProcessKey(KeyCharacter(button->Kind(), Separators()));
}

void TJvCalculatorPanel::DisplayChanged()
{
    TCalculatorEngine::DisplayChanged();
}

void TJvCalculatorPanel::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    // The keys take the panel's font again and keep their own colours.
    if (event->type() == QEvent::FontChange) {
        for (TJvCalcButton* button : FButtons)
            button->setFont(font());
    }
}

TJvLocCalculator::TJvLocCalculator(QWidget* parent) : TJvCalculatorPanel(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void TJvLocCalculator::paintEvent(QPaintEvent* event)
{
    TJvCalculatorPanel::paintEvent(event);
    // A raised bevel one pixel wide.
    QPainter p(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace kalvo
