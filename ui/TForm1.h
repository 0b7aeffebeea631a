// The main window "Tarvo Mehrwertsteuer": the calculator part on the left, the record table, the
// rate list and the about page on a tab control to the right. Its methods are the handlers of
// its controls' events.
#pragma once

#include "Controls.h"
#include "MenuModel.h"
#include "core/CalcState.h"
#include "core/VatComputation.h"
#include "numedit/TJvCustomNumEdit.h"
#include "table/RecordTable.h"

#include <QPlainTextEdit>
#include <QWidget>

namespace kalvo {

class TForm1 : public QWidget, private TAmountFields
{
    Q_OBJECT

public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // The calculator part, row by row.
    TShape* Shape1;
    TLabel* oval;
    TImage* ggg;
    TRateEdit* Edit2;
    TLabel* Label1;
    TSpinButton* SpinButton1;
    TJvxSpeedButton* Zufug;
    TLabel* Label2;
    TJvCalcEdit* Edit1;
    TLabel* L1;
    TLabel* Label3;
    TJvCalcEdit* Edit3;
    TLabel* L2;
    TLabel* Label5;
    TJvCalcEdit* Edit4;
    TLabel* L3;
    TJvxSpeedButton* SpeedButton1;
    TJvxSpeedButton* SpeedButton2;
    QPlainTextEdit* Edit5;
    // The side panel.
    TPageControl* PageControl1;
    QWidget* TabSheet1;
    TStringGrid* Tabelle;
    QWidget* TabSheet2;
    TLabel* Label7;
    TListBox* ListBox1;
    QWidget* TabSheet3;
    TLabel* Label4;
    TLabel* Label6;
    TImage* Image1;
    // The options menu and the state menu.
    TPopupMenu* PopupMenu2;
    TPopupMenu* PopupMenu3;

    const TCalcState& State() const { return FState; }
    const TRecordTable& Table() const { return FTable; }
    bool Activated() const { return FActivated; }

    // The moments of the window's life.
    void FormCreate();
    void FormActivate();
    // Writes the settings; returns false (and reports) when they cannot be written.
    bool FormClose();

    // State selection.
    void SelectState(int row);
    void ListBox1Click();
    void ovalClick();
    void gggClick();

    // The computation.
    void Edit1Change();
    void Edit3Change();
    void Edit4Change();
    void Edit2Change();
    QChar Edit111KeyPress(QChar key);
    void SpinButton1UpClick();
    void SpinButton1DownClick();

    // The record table.
    void ZufugClick();
    void letzte1Click();
    void Tabschen1Click();
    void Tabdruck1Click();
    void Zwisch1Click();

    // The window commands.
    void Hilfe1Click();
    void Ontop1Click();
    void Tooltips1Click();
    void grossClick();
    void ber1Click();
    void rausClick();
    void SpeedButton1Click();
    void FormDblClick();
    // The key preview, after the menu shortcuts: F5 and F2.
    void FormKeyDown(int key);
    void Label6Click();

    // The text of the help and the about box, and the maker's web address.
    static QString HelpText();
    static QString AboutText();
    static QString WebAddress();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void WireEvents();
    void RunMenuCommand(const TMenuItemSpec& item);
    // Whether w is the window's focused control (the focus guard of the change handlers).
    bool IsFocused(const QWidget* w) const;
    void SetClientSize(int width, int height);
    // The window at the wanted place, clamped to the screen.
    void PlaceWindow(int left, int top);
    void MoveFrame(QPoint position);
    void SpinStep(void (*step)(TCalcState&));
    void DoubleSizeOn();
    void DoubleSizeOff();
    void ScaleControls(int factor);
    void SetStayOnTop(bool onTop);
    // Shows an information box; a window that stays on top steps back meanwhile.
    void ShowInfoBox(const QString& text);
    void DrawFlag(QStringView bitmap);
    void SetHint(QWidget* widget, const QString& hint);
    // Keeps the numbers' separators in step with the user's locale.
    static void ReadLocaleSeparators();

    void SetNetValue(double value) override;
    void SetVatValue(double value) override;
    void SetGrossValue(double value) override;

    TCalcState FState;
    TRecordTable FTable;
    TRecordTableModel* FTableModel = nullptr;
    bool FActivated = false;
    bool FShowHints = false;
    bool FDestroying = false;
    int FScale = 1;
};

} // namespace kalvo
