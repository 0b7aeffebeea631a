#include "Controls.h"

#include "resources/Pictures.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTabBar>

namespace kalvo {

// --- TClickDetector -------------------------------------------------------------------------

void TClickDetector::Press(QMouseEvent* event)
{
    FPressed = event->button() == Qt::LeftButton;
    event->ignore();
}

bool TClickDetector::Release(const QWidget* widget, QMouseEvent* event)
{
    const bool click = FPressed && event->button() == Qt::LeftButton &&
                       widget->rect().contains(event->position().toPoint());
    FPressed = false;
    event->ignore();
    return click;
}

// --- TLabel ---------------------------------------------------------------------------------

void TLabel::mousePressEvent(QMouseEvent* event)
{
    FClick.Press(event);
}

void TLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (FClick.Release(this, event))
        Q_EMIT Click();
}

void TLabel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        event->accept();
        Q_EMIT DblClick();
        return;
    }
    event->ignore();
}

// --- TShape ---------------------------------------------------------------------------------

TShape::TShape(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::SetPenWidth(int width)
{
    FPenWidth = width;
    update();
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, FPenWidth));
    p.setBrush(Qt::white);
    const qreal inset = FPenWidth / 2.0;
    p.drawEllipse(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

// --- TImage ---------------------------------------------------------------------------------

TImage::TImage(QWidget* parent) : QWidget(parent) {}

void TImage::SetPicture(const QImage& picture)
{
    FCanvas = picture;
    update();
}

void TImage::SetTransparent(bool transparent)
{
    FTransparent = transparent;
    update();
}

void TImage::paintEvent(QPaintEvent*)
{
    if (FCanvas.isNull())
        return;
    QPainter p(this);
    // Pixel art: stretched without smoothing, so it stays sharp at every size.
    const QPixmap picture = QPixmap::fromImage(FCanvas);
    p.drawPixmap(rect(), FTransparent ? TransparentBitmap(picture) : picture);
}

void TImage::mousePressEvent(QMouseEvent* event)
{
    FClick.Press(event);
}

void TImage::mouseReleaseEvent(QMouseEvent* event)
{
    if (FClick.Release(this, event))
        Q_EMIT Click();
}

// --- TSpinButton ----------------------------------------------------------------------------

TSpinButton::TSpinButton(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    FUp = TransparentBitmap(LoadBitmap(u"SPIN_UP"));
    FDown = TransparentBitmap(LoadBitmap(u"SPIN_DOWN"));
    connect(&FRepeat, &QTimer::timeout, this, [this] {
        FRepeat.setInterval(100);
        Step(FPressed);
    });
}

void TSpinButton::SetArrowScale(int scale)
{
    FArrowScale = std::max(1, scale);
    update();
}

TSpinButton::Half TSpinButton::HalfAt(QPoint position) const
{
    if (!rect().contains(position))
        return Half::None;
    return position.y() < height() / 2 ? Half::Up : Half::Down;
}

void TSpinButton::Step(Half half)
{
    if (half == Half::Up)
        Q_EMIT UpClick();
    else if (half == Half::Down)
        Q_EMIT DownClick();
}

void TSpinButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    FPressed = HalfAt(event->position().toPoint());
    FRepeat.start(400);
    update();
}

void TSpinButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    FRepeat.stop();
    const Half pressed = FPressed;
    FPressed = Half::None;
    update();
    if (pressed != Half::None && HalfAt(event->position().toPoint()) == pressed)
        Step(pressed);
}

void TSpinButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int h = height() / 2;
    const std::pair<QRect, Half> halves[] = {{QRect(0, 0, width(), h), Half::Up},
                                             {QRect(0, h, width(), height() - h), Half::Down}};
    for (const auto& [area, half] : halves) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = area;
        option.state |= FPressed == half ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawControl(QStyle::CE_PushButtonBevel, &option, &p, this);
        const QPixmap& arrow = half == Half::Up ? FUp : FDown;
        const QSize size = arrow.size() * FArrowScale;
        const int shift = FPressed == half ? 1 : 0;
        p.drawPixmap(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2) +
                               QPoint(shift, shift),
                           size),
                     arrow);
    }
}

// --- TRateEdit ------------------------------------------------------------------------------

void TRateEdit::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (OnKeyPress && text.size() == 1 && text[0] >= u' ') {
        const QChar replaced = OnKeyPress(text[0]);
        if (replaced != text[0]) {
            QKeyEvent mapped(event->type(), event->key(), event->modifiers(), QString(replaced),
                             event->isAutoRepeat(), event->count());
            QLineEdit::keyPressEvent(&mapped);
            event->setAccepted(mapped.isAccepted());
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

// --- TPageControl ---------------------------------------------------------------------------

namespace {

class TFixedHeightTabBar : public QTabBar
{
public:
    explicit TFixedHeightTabBar(TPageControl* control) : FControl(control) {}

protected:
    QSize tabSizeHint(int index) const override
    {
        return {QTabBar::tabSizeHint(index).width(), FControl->TabHeight()};
    }

private:
    TPageControl* FControl;
};

// The header row of the grid, drawn in the fixed cells' colour with lines around each cell.
class TFixedRowHeader : public QHeaderView
{
public:
    explicit TFixedRowHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int section) const override
    {
        painter->save();
        painter->fillRect(rect, TStringGrid::FixedColor);
        painter->setPen(Qt::gray);
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->setPen(Qt::black);
        painter->setFont(font());
        painter->drawText(rect.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          model()->headerData(section, orientation()).toString());
        painter->restore();
    }
};

// A cell's text two pixels from its left edge, cut at its right edge: the narrow default columns
// show as much of an amount as fits, and a wider column shows all of it.
class TGridCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            painter->fillRect(option.rect, option.palette.highlight());
        painter->setClipRect(option.rect);
        painter->setFont(option.font);
        painter->setPen(
            option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data().toString());
        painter->restore();
    }
};

} // namespace

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent)
{
    auto* bar = new TFixedHeightTabBar(this);
    bar->setExpanding(false);
    bar->setDrawBase(false);
    setTabBar(bar);
    setTabPosition(QTabWidget::South);
}

void TPageControl::SetTabHeight(int height)
{
    FTabHeight = height;
    // Setting a tab's text makes the tab bar ask for its tabs' sizes again.
    for (int i = 0; i < count(); ++i)
        tabBar()->setTabText(i, tabBar()->tabText(i));
}

// --- TListBox -------------------------------------------------------------------------------

void TListBox::mouseReleaseEvent(QMouseEvent* event)
{
    QListWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint()))
        Q_EMIT Click();
}

void TListBox::keyPressEvent(QKeyEvent* event)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before)
        Q_EMIT Click();
}

// --- TRecordTableModel ----------------------------------------------------------------------

TRecordTableModel::TRecordTableModel(const TRecordTable& table, QObject* parent)
    : QAbstractTableModel(parent), FTable(table)
{}

void TRecordTableModel::Refresh()
{
    const int rows = std::max(0, FTable.RowCount() - TRecordTable::FixedRows);
    if (rows > FShownRows) {
        beginInsertRows({}, FShownRows, rows - 1);
        FShownRows = rows;
        endInsertRows();
    } else if (rows < FShownRows) {
        beginRemoveRows({}, rows, FShownRows - 1);
        FShownRows = rows;
        endRemoveRows();
    }
    if (rows > 0)
        Q_EMIT dataChanged(index(0, 0), index(rows - 1, TRecordTable::ColumnCount - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, TRecordTable::ColumnCount - 1);
}

int TRecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FShownRows;
}

int TRecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : TRecordTable::ColumnCount;
}

QVariant TRecordTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= FShownRows)
        return {};
    return FTable.Cell(index.column(), index.row() + TRecordTable::FixedRows);
}

QVariant TRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= TRecordTable::ColumnCount || FTable.RowCount() == 0)
        return {};
    return FTable.Cell(section, 0);
}

// --- TStringGrid ----------------------------------------------------------------------------

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent)
{
    setHorizontalHeader(new TFixedRowHeader(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setMinimumSectionSize(4);
    verticalHeader()->setMinimumSectionSize(4);
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setItemDelegate(new TGridCellDelegate(this));
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void TStringGrid::SetDefaultRowHeight(int height)
{
    FDefaultRowHeight = height;
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
}

void TStringGrid::SetDefaultColWidth(int width)
{
    FDefaultColWidth = width;
    horizontalHeader()->setDefaultSectionSize(width);
    for (int c = 0; c < horizontalHeader()->count(); ++c)
        horizontalHeader()->resizeSection(c, width);
}

QString TStringGrid::CellText(int column, int row) const
{
    if (row == 0)
        return model()->headerData(column, Qt::Horizontal).toString();
    return model()->index(row - 1, column).data().toString();
}

} // namespace kalvo
