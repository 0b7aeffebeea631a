#include "TJvCustomComboEdit.h"

#include "KeyCodes.h"
#include "core/AppServices.h"
#include "core/NumberText.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOption>

namespace kalvo {

namespace {

QString ValueText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    case QMetaType::Double:
        return GeneralNumberText(value.toDouble(), 15, LocaleSeparators());
    default:
        return {};
    }
}

// Three black 2 x 2 squares, centred in a bitmap a little narrower than the button.
QPixmap EllipsisGlyph(int buttonWidth)
{
    const int w = std::max(1, buttonWidth - 6);
    const int gap = std::clamp((w - 6) / 2, 1, 3);
    const int x0 = (w - 6 - 2 * gap) / 2;
    QImage image(w, 4, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    for (const int x : {x0, x0 + 2 + gap, x0 + 4 + 2 * gap})
        p.fillRect(x, 1, 2, 2, Qt::black);
    p.end();
    return QPixmap::fromImage(image);
}

QPixmap DropDownGlyph(QWidget* widget, int width)
{
    QPixmap pixmap(std::max(4, width - 4), 8);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    QStyleOption option;
    option.initFrom(widget);
    option.rect = pixmap.rect();
    widget->style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &option, &p, widget);
    return pixmap;
}

} // namespace

// --- TJvEditButton ------------------------------------------------------------------------

TJvEditButton::TJvEditButton(TJvCustomComboEdit* editor, QWidget* parent)
    : TJvxSpeedButton(parent), FEditor(editor)
{
    setObjectName(QStringLiteral("Button"));
}

void TJvEditButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        FEditor->ButtonPressed();
    TJvxSpeedButton::mousePressEvent(event);
}

// --- TJvPopupWindow -----------------------------------------------------------------------

TJvPopupWindow::TJvPopupWindow(TJvCustomComboEdit* editor)
    : QWidget(editor, Qt::ToolTip | Qt::FramelessWindowHint), FEditor(editor)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Button));
    setPalette(p);
    hide();
}

QVariant TJvPopupWindow::ReadPopupValue()
{
    return {};
}

void TJvPopupWindow::WritePopupValue(const QVariant&) {}

void TJvPopupWindow::EndPopup(bool accept)
{
    if (OnPopupEnd)
        OnPopupEnd(this, accept);
}

QString TJvPopupWindow::PopupDisplayText() const
{
    return {};
}

void TJvPopupWindow::KeyPress(QChar) {}

void TJvPopupWindow::ShowAt(QPoint position)
{
    move(position);
    show();
    raise();
}

void TJvPopupWindow::Conceal()
{
    hide();
}

void TJvPopupWindow::RepaintField()
{
    FEditor->repaint();
}

void TJvPopupWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        EndPopup(rect().contains(event->position().toPoint()));
}

void TJvPopupWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

// --- TJvCustomComboEdit -------------------------------------------------------------------

TJvCustomComboEdit::TJvCustomComboEdit(QWidget* parent) : QLineEdit(parent)
{
    FButtonHolder = new QWidget(this);
    FButtonHolder->setObjectName(QStringLiteral("ButtonHolder"));
    FButtonHolder->resize(21, 17);
    FButton = new TJvEditButton(this, FButtonHolder);
    FButton->resize(FButtonHolder->size());
    connect(FButton, &QAbstractButton::clicked, this, &TJvCustomComboEdit::ButtonReleasedClick);
    // Dragged text would bypass the checks that typing and pasting make.
    setAcceptDrops(false);
    resize(width(), 21);
    connect(this, &QLineEdit::textChanged, this, [this] { TextChanged(); });
}

TJvCustomComboEdit::~TJvCustomComboEdit()
{
    qApp->removeEventFilter(this);
    disconnect(FButton, nullptr, this, nullptr);
}

void TJvCustomComboEdit::SetReadOnly(bool readOnly)
{
    FReadOnly = readOnly;
    UpdateEditReadOnly();
}

void TJvCustomComboEdit::SetDirectInput(bool directInput)
{
    FDirectInput = directInput;
    UpdateEditReadOnly();
}

void TJvCustomComboEdit::UpdateEditReadOnly()
{
    setReadOnly(FReadOnly || !FDirectInput || FEditLocked);
}

void TJvCustomComboEdit::SetGlyphKind(TGlyphKind kind)
{
    if (kind == FGlyphKind)
        return;
    FGlyphKind = kind;
    RebuildGlyph();
    if (kind == TGlyphKind::gkDefault && !FButton->Glyph().isNull()) {
        SetButtonWidth(std::max(FButton->Glyph().width() / FButton->NumGlyphs() + 6, FButtonWidth));
    } else if (kind == TGlyphKind::gkDropDown) {
        SetButtonWidth(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
    }
}

void TJvCustomComboEdit::SetGlyph(const QPixmap& glyph)
{
    FButton->SetGlyph(glyph);
    FGlyphKind = TGlyphKind::gkCustom;
}

void TJvCustomComboEdit::SetNumGlyphs(int count)
{
    switch (FGlyphKind) {
    case TGlyphKind::gkDropDown:
    case TGlyphKind::gkEllipsis:
        FButton->SetNumGlyphs(1);
        break;
    case TGlyphKind::gkDefault:
        FButton->SetNumGlyphs(FDefaultGlyphCount);
        break;
    case TGlyphKind::gkCustom:
        FButton->SetNumGlyphs(count);
        break;
    }
}

void TJvCustomComboEdit::SetButtonWidth(int width)
{
    if (width == FButtonWidth)
        return;
    // After creation a button as wide as the field would leave no room for the text.
    if (!FCreating && width >= contentsRect().width())
        return;
    FButtonWidth = width;
    FButtonHolder->setVisible(width > 1);
    LayoutButton();
    RebuildGlyph();
}

void TJvCustomComboEdit::RebuildGlyph()
{
    switch (FGlyphKind) {
    case TGlyphKind::gkDefault: {
        bool callerOwns = false;
        FButton->SetGlyph(DefaultGlyph(callerOwns));
        FButton->SetNumGlyphs(FDefaultGlyphCount);
        break;
    }
    case TGlyphKind::gkDropDown:
        FButton->SetGlyph(DropDownGlyph(this, FButtonWidth));
        FButton->SetNumGlyphs(1);
        break;
    case TGlyphKind::gkEllipsis:
        FButton->SetGlyph(EllipsisGlyph(FButtonWidth));
        FButton->SetNumGlyphs(1);
        break;
    case TGlyphKind::gkCustom:
        break;
    }
}

QPixmap TJvCustomComboEdit::DefaultGlyph(bool& callerOwns) const
{
    callerOwns = false;
    return {};
}

void TJvCustomComboEdit::LayoutButton()
{
    const int bw = FButtonWidth, w = width(), h = height();
    QRect holder;
    if (hasFrame())
        holder = QRect(w - bw - 2, 2, bw, h - 4);
    else
        holder = QRect(w - bw, 0, bw, h);
    FButtonHolder->setGeometry(holder);
    FButton->setGeometry(0, 0, holder.width(), holder.height());
    NarrowTextArea();
}

void TJvCustomComboEdit::NarrowTextArea()
{
    // The text must never run under the button.
    const int right = FButtonHolder->isVisibleTo(this) ? FButtonHolder->width() : 0;
    setTextMargins(0, 0, right, 0);
}

int TJvCustomComboEdit::MinimumHeight() const
{
    const int text =
        std::min(QFontMetrics(QApplication::font()).height(), QFontMetrics(font()).height());
    return text + 4 * 1 + 1;
}

void TJvCustomComboEdit::SelectWholeText()
{
    if (FDirectInput)
        selectAll();
}

void TJvCustomComboEdit::FireChange()
{
    Q_EMIT Change();
}

void TJvCustomComboEdit::SetPopup(TJvPopupWindow* popup)
{
    FPopup = popup;
}

void TJvCustomComboEdit::TakeFocus()
{
    if (isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus && !hasFocus())
        setFocus(Qt::OtherFocusReason);
}

void TJvCustomComboEdit::ButtonPressed()
{
    FButton->SetSuppressNextClick(FPopup && FPopupVisible);
    if (FPopupVisible) {
        ClosePopup(true);
    } else if ((focusPolicy() & Qt::TabFocus) && isEnabled() && !hasFocus()) {
        TakeFocus();
    }
}

void TJvCustomComboEdit::ButtonReleasedClick()
{
    if (FButton->SuppressNextClick()) {
        FButton->SetSuppressNextClick(false);
        return;
    }
    if (!ReadOnly())
        Guarded([this] { ButtonClicked(); });
}

void TJvCustomComboEdit::ButtonClicked()
{
    Q_EMIT ButtonClick();
    if (!FPopup)
        return;
    if (FPopupVisible)
        ClosePopup(true);
    else
        OpenPopup(true);
}

void TJvCustomComboEdit::OpenPopup(bool lockEdit)
{
    if (!FPopup || ReadOnly() || FPopupVisible)
        return;
    const QRect screen = this->screen()->geometry();
    const QRect field(mapToGlobal(QPoint(0, 0)) - screen.topLeft(), size());
    const QPoint position =
        PopupPosition(field, FPopup->size(), screen.size(), FPopupAlign) + screen.topLeft();
    SendToPopup(text().isEmpty() ? QVariant() : QVariant(text()));
    TakeFocus();
    PlacePopup(position);
    FPopupVisible = true;
    if (lockEdit) {
        FEditLocked = true;
        UpdateEditReadOnly();
    }
    qApp->installEventFilter(this);
    update();
}

void TJvCustomComboEdit::ClosePopup(bool accept)
{
    if (!FPopup || !FPopupVisible)
        return;
    qApp->removeEventFilter(this);
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();

    QVariant value;
    QString failure;
    try {
        value = FetchFromPopup();
    } catch (const Exception& e) {
        // The popup's value cannot be had: close without taking anything.
        failure = e.Message();
        accept = false;
    }
    RemovePopup();
    TakeFocus();
    FEditLocked = false;
    UpdateEditReadOnly();
    update();
    if (accept && MayTakePopupValue(value) && !ReadOnly()) {
        Guarded([&] { TakePopupValue(value); });
        if (hasFocus())
            selectAll();
    }
    FPopupVisible = false;
    if (!failure.isEmpty())
        ReportErrorLater(failure);
}

void TJvCustomComboEdit::PlacePopup(QPoint position)
{
    FPopup->ShowAt(position);
}

void TJvCustomComboEdit::RemovePopup()
{
    FPopup->Conceal();
}

bool TJvCustomComboEdit::MayTakePopupValue(const QVariant&)
{
    return true;
}

void TJvCustomComboEdit::TakePopupValue(const QVariant& value)
{
    const QString t = ValueText(value);
    if (t == text())
        return;
    // The popup is still marked open, so this text change goes to PopupEdited: the value
    // fires Change exactly once, below.
    setText(t);
    setModified(true);
    FPopupVisible = FPopup && FPopup->isVisible();
    FireChange();
}

void TJvCustomComboEdit::SendToPopup(const QVariant& value)
{
    if (FPopup)
        FPopup->WritePopupValue(value);
}

QVariant TJvCustomComboEdit::FetchFromPopup()
{
    return FPopup ? FPopup->ReadPopupValue() : QVariant(QString());
}

void TJvCustomComboEdit::PopupEdited() {}

void TJvCustomComboEdit::TextChanged()
{
    if (FPopupVisible)
        PopupEdited();
    else
        FireChange();
}

bool TJvCustomComboEdit::KeyPress(QChar& key)
{
    const bool enter = key == QChar(13), escape = key == QChar(27);
    if ((enter || escape) && FPopupVisible) {
        ClosePopup(enter);
        return false;
    }
    return !enter; // Enter is consumed, Esc goes on
}

void TJvCustomComboEdit::PasteFromClipboard(bool selection)
{
    if (!FDirectInput || ReadOnly())
        return;
    if (selection) {
        const QString text = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!text.isEmpty())
            insert(text);
    } else {
        paste();
    }
}

QChar TJvCustomComboEdit::TypedCharacter(const QKeyEvent* event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    switch (event->key()) {
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return {};
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() == 1 && text[0] >= u' ' && text[0] != QChar(127))
        return text[0];
    return {};
}

bool TJvCustomComboEdit::IsControlFocusChange(Qt::FocusReason reason)
{
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void TJvCustomComboEdit::keyPressEvent(QKeyEvent* event)
{
    if (ShortCutFromKeyEvent(event) == FClickKey && FButtonWidth > 0) {
        if (!ReadOnly())
            Guarded([this] { ButtonClicked(); });
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        PasteFromClipboard(false);
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut) && (!FDirectInput || ReadOnly())) {
        event->accept();
        return;
    }
    const QChar typed = TypedCharacter(event);
    if (!typed.isNull()) {
        QChar key = typed;
        if (!KeyPress(key)) {
            event->accept();
            return;
        }
        if (key != typed) {
            QKeyEvent mapped(event->type(), event->key(), event->modifiers(), QString(key),
                             event->isAutoRepeat(), event->count());
            QLineEdit::keyPressEvent(&mapped);
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TJvCustomComboEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text goes through the same checks as typed keys.
    const QString commit = event->commitString();
    QInputMethodEvent preedit(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preedit);
    for (QChar c : commit) {
        QChar key = c;
        if (KeyPress(key))
            insert(QString(key));
    }
    event->accept();
}

void TJvCustomComboEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && FPopup) {
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        if (!hasFocus()) {
            event->accept();
            return;
        }
        if (FPopupVisible)
            ClosePopup(false);
    }
    QLineEdit::mousePressEvent(event);
}

void TJvCustomComboEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection()) {
        PasteFromClipboard(true);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void TJvCustomComboEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = createStandardContextMenu();
    if (QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"))) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, [this] { PasteFromClipboard(false); });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

void TJvCustomComboEdit::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    // Coming back to an active window, or from a menu or a box, is no new entry.
    if (!FEntered) {
        FEntered = true;
        FocusEnter(event->reason());
    }
}

void TJvCustomComboEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    ClosePopup(false);
    if (FEntered && IsControlFocusChange(event->reason()))
        FEntered = !FocusExit();
}

void TJvCustomComboEdit::FocusEnter(Qt::FocusReason reason)
{
    if (FAutoSelect && reason != Qt::MouseFocusReason)
        SelectWholeText();
}

bool TJvCustomComboEdit::FocusExit()
{
    return true;
}

void TJvCustomComboEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int minimum = MinimumHeight();
    if (height() < minimum) {
        resize(width(), minimum);
        return;
    }
    LayoutButton();
}

void TJvCustomComboEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        FButton->setEnabled(isEnabled());
    else if (event->type() == QEvent::FontChange)
        NarrowTextArea();
}

bool TJvCustomComboEdit::eventFilter(QObject* watched, QEvent* event)
{
    // A press on another control of this window closes the popup without taking its value.
    if (event->type() == QEvent::MouseButtonPress && FPopupVisible && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->window() == window() && widget != this && !isAncestorOf(widget))
            ClosePopup(false);
    }
    return QLineEdit::eventFilter(watched, event);
}

} // namespace kalvo
