// The numeric edit field: a combo edit that holds one number, tests every keystroke and paste,
// shows an edit text while it has the focus and paints the value in its display format (with
// grouped thousands) while it has not.
#pragma once

#include "TJvCustomComboEdit.h"
#include "numedit/NumEditLogic.h"

namespace kalvo {

class TJvCustomNumEdit : public TJvCustomComboEdit
{
    Q_OBJECT

public:
    explicit TJvCustomNumEdit(QWidget* parent = nullptr);
    ~TJvCustomNumEdit() override;

    // Reads the number afresh from the edit text; a text that is no number reads as MinValue.
    long double Value();
    // Clamps v, rewrites the edit text; Change fires when, and only when, the text changes.
    void SetValue(long double v);
    // The field's Text property: sets the number of s (EConvertError when it is none).
    void SetNumberText(const QString& s);
    void ClearValue();

    long double MinValue() const { return FLimits.MinValue; }
    void SetMinValue(long double value);
    long double MaxValue() const { return FLimits.MaxValue; }
    void SetMaxValue(long double value);
    unsigned DecimalPlaces() const { return FDecimalPlaces; }
    void SetDecimalPlaces(unsigned places);
    bool BeepOnError() const { return FBeepOnError; }
    void SetBeepOnError(bool beep);
    bool CheckOnExit() const { return FCheckOnExit; }
    void SetCheckOnExit(bool check) { FCheckOnExit = check; }
    bool ZeroEmpty() const { return FZeroEmpty; }
    void SetZeroEmpty(bool zeroEmpty);
    bool FormatOnEditing() const { return FFormatOnEditing; }
    void SetFormatOnEditing(bool format);
    QString DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& format);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment alignment);

    // True from focus enter to focus exit: the edit control shows the edit text.
    bool Editing() const { return FEditing; }
    // The text painted while the field is not being edited.
    QString DisplayText() { return PaintedText(); }

protected:
    // The slots of the numeric field, in this order.
    virtual void RefreshEditText();
    virtual QString StandardDisplayFormat() const;
    virtual bool IsAcceptableKey(QChar key);
    virtual QString PaintedText();
    virtual void ConfigurePopup();
    virtual void GroupWhileEditing();
    virtual void RevertText();

    QPixmap DefaultGlyph(bool& callerOwns) const override;
    void TakePopupValue(const QVariant& value) override;
    bool KeyPress(QChar& key) override;
    void TextChanged() override;
    void PasteFromClipboard(bool selection) override;
    void FocusEnter(Qt::FocusReason reason) override;
    bool FocusExit() override;

    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void SetEditing(bool editing);
    void ParseEditText();
    void CheckRangeOnExit();
    // Runs f with the formatting guard set: the field's own text changes fire nothing.
    template<class F>
    void Formatting(F&& f);

    long double FValue = 0;
    TValueLimits FLimits;
    unsigned FDecimalPlaces = 2;
    bool FBeepOnError = true;
    bool FCheckOnExit = false;
    bool FZeroEmpty = true;
    bool FFormatOnEditing = false;
    bool FEditing = false;
    bool FFormatting = false;
    QString FDisplayFormat;
    TAlignment FAlignment = TAlignment::taRightJustify;
};

// Creates the drop-down calculator.
class TJvCustomCalcEdit : public TJvCustomNumEdit
{
    Q_OBJECT

public:
    explicit TJvCustomCalcEdit(QWidget* parent = nullptr);
    ~TJvCustomCalcEdit() override;

protected:
    void ConfigurePopup() override;
};

// The amount field of the program.
class TJvCalcEdit final : public TJvCustomCalcEdit
{
    Q_OBJECT

public:
    using TJvCustomCalcEdit::TJvCustomCalcEdit;
};

} // namespace kalvo
