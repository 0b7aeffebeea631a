// The small controls of the main window: labels that click, the state marker's ellipse, pictures
// stretched with a transparent colour, the spin button, the tab control with a fixed tab height,
// the list box and the record-table grid.
#pragma once

#include "numedit/TJvxSpeedButton.h"
#include "table/RecordTable.h"

#include <QAbstractTableModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <functional>

namespace kalvo {

// Turns a left press and a release over the widget into a click. The events themselves go on
// to the parent (the window's context menu and double click).
class TClickDetector
{
public:
    void Press(QMouseEvent* event);
    bool Release(const QWidget* widget, QMouseEvent* event);

private:
    bool FPressed = false;
};

// A label that reports clicks and double clicks.
class TLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

Q_SIGNALS:
    void Click();
    void DblClick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TClickDetector FClick;
};

// An ellipse filling its box: outline and fill colour.
class TShape : public QWidget
{
    Q_OBJECT

public:
    explicit TShape(QWidget* parent = nullptr);
    void SetPenWidth(int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int FPenWidth = 2;
};

// A picture stretched to the control's box. With Transparent, every pixel of the colour of the
// picture's bottom-left pixel lets the background show through.
class TImage : public QWidget
{
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);

    // The drawing surface the picture is drawn on.
    QImage& Canvas() { return FCanvas; }
    void SetPicture(const QImage& picture);
    void SetTransparent(bool transparent);

Q_SIGNALS:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage FCanvas;
    bool FTransparent = false;
    TClickDetector FClick;
};

// Two stacked arrows that never take the focus. An arrow steps when the mouse button is released
// over it, and while it is held also 400 ms after the press and every 100 ms after that.
class TSpinButton : public QWidget
{
    Q_OBJECT

public:
    explicit TSpinButton(QWidget* parent = nullptr);
    void SetArrowScale(int scale);

Q_SIGNALS:
    void UpClick();
    void DownClick();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Half
    {
        None,
        Up,
        Down
    };
    Half HalfAt(QPoint position) const;
    void Step(Half half);

    Half FPressed = Half::None;
    QTimer FRepeat;
    QPixmap FUp, FDown;
    int FArrowScale = 1;
};

// The rate field: its key presses may be replaced before they are typed.
class TRateEdit : public QLineEdit
{
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;
    std::function<QChar(QChar)> OnKeyPress;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A tab control whose tabs keep a set height.
class TPageControl : public QTabWidget
{
    Q_OBJECT

public:
    explicit TPageControl(QWidget* parent = nullptr);
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int height);

private:
    int FTabHeight = 20;
};

// A list box whose click notification also fires when the selection moves with the keyboard.
class TListBox : public QListWidget
{
    Q_OBJECT

public:
    using QListWidget::QListWidget;

Q_SIGNALS:
    void Click();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// The record table as the grid shows it: row 0 is the fixed header row.
class TRecordTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit TRecordTableModel(const TRecordTable& table, QObject* parent = nullptr);
    // Call after every change of the table. Rows are inserted and removed, never reset, so that
    // the columns keep the widths the user gave them.
    void Refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const TRecordTable& FTable;
    int FShownRows = 0; // the rows below the header that the views know of
};

// The grid of text cells: lines between all cells, whole-row selection, no editing, columns the
// user may widen, a fixed header row in its own colour.
class TStringGrid : public QTableView
{
    Q_OBJECT

public:
    explicit TStringGrid(QWidget* parent = nullptr);

    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int height);
    int DefaultColWidth() const { return FDefaultColWidth; }
    // Gives every column this width, also one the user widened.
    void SetDefaultColWidth(int width);
    QString CellText(int column, int row) const;

    static constexpr QColor FixedColor{240, 202, 166};

private:
    int FDefaultRowHeight = 24;
    int FDefaultColWidth = 64;
};

} // namespace kalvo
