// A single-line edit field with a push button inside its right edge and an optional popup
// window that drops down beside it. Subclasses create the popup and connect it.
#pragma once

#include "TJvxSpeedButton.h"
#include "core/ShortCut.h"
#include "numedit/PopupPlacement.h"

#include <QLineEdit>
#include <QPointer>
#include <QVariant>

#include <functional>

namespace kalvo {

class TJvCustomComboEdit;

enum class TGlyphKind
{
    gkCustom,
    gkDefault,
    gkDropDown,
    gkEllipsis,
};

// The field's button. A press while the popup is open closes it, and the click of that press
// must not open it again.
class TJvEditButton : public TJvxSpeedButton
{
    Q_OBJECT

public:
    TJvEditButton(TJvCustomComboEdit* editor, QWidget* parent);

    bool SuppressNextClick() const { return FSuppressNextClick; }
    void SetSuppressNextClick(bool suppress) { FSuppressNextClick = suppress; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    TJvCustomComboEdit* FEditor;
    bool FSuppressNextClick = false;
};

// The popup window base: a top-level window that is never activated, so the keyboard focus
// stays in the field that owns it.
class TJvPopupWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TJvPopupWindow(TJvCustomComboEdit* editor);

    TJvCustomComboEdit* Editor() const { return FEditor; }

    // The popup's current value (none in the base).
    virtual QVariant ReadPopupValue();
    // Loads a value into the popup (nothing in the base).
    virtual void WritePopupValue(const QVariant& value);
    // Tells the owner that the popup ends, accepting its value or not.
    virtual void EndPopup(bool accept);
    // The text the field paints while the popup is open.
    virtual QString PopupDisplayText() const;
    // A character the field forwards while the popup is open.
    virtual void KeyPress(QChar key);

    // Moves to the screen point, on top, without activation.
    void ShowAt(QPoint position);
    void Conceal();
    // Repaints the owner's text area at once.
    void RepaintField();

    std::function<void(TJvPopupWindow* sender, bool accept)> OnPopupEnd;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    TJvCustomComboEdit* FEditor;
};

class TJvCustomComboEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit TJvCustomComboEdit(QWidget* parent = nullptr);
    ~TJvCustomComboEdit() override;

    bool ReadOnly() const { return GetReadOnly(); }
    void SetReadOnly(bool readOnly);
    bool DirectInput() const { return FDirectInput; }
    void SetDirectInput(bool directInput);

    TShortCut ClickKey() const { return FClickKey; }
    void SetClickKey(TShortCut key) { FClickKey = key; }
    TPopupAlign PopupAlign() const { return FPopupAlign; }
    void SetPopupAlign(TPopupAlign align) { FPopupAlign = align; }

    TGlyphKind GlyphKind() const { return FGlyphKind; }
    void SetGlyphKind(TGlyphKind kind);
    QPixmap Glyph() const { return FButton->Glyph(); }
    void SetGlyph(const QPixmap& glyph);
    int NumGlyphs() const { return FButton->NumGlyphs(); }
    void SetNumGlyphs(int count);
    int ButtonWidth() const { return FButtonWidth; }
    void SetButtonWidth(int width);
    QString ButtonHint() const { return FButton->toolTip(); }
    void SetButtonHint(const QString& hint) { FButton->setToolTip(hint); }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool autoSelect) { FAutoSelect = autoSelect; }
    // Whether the field is entered: from focus enter to a completed focus exit.
    bool Entered() const { return FEntered; }
    // Draws the button's picture this many times its size (the window's double size).
    void SetGlyphScale(int scale) { FButton->SetGlyphScale(scale); }

    TJvEditButton* Button() const { return FButton; }
    TJvPopupWindow* Popup() const { return FPopup; }
    bool PopupVisible() const { return FPopupVisible; }

    // Selects the whole text, when text may be typed.
    void SelectWholeText();
    // Closes the popup, accepting its value when accept is true.
    void ClosePopup(bool accept);
    // Fires Change.
    void FireChange();
    // The button's action: ButtonClick, then opens or closes (accepting) the popup.
    virtual void ButtonClicked();
    // Drops the popup down beside the field; lockEdit makes the text read-only meanwhile.
    virtual void OpenPopup(bool lockEdit);

    // The smallest height at which the text fits.
    int MinimumHeight() const;

Q_SIGNALS:
    void ButtonClick();
    // Fires whenever the text changes, except while the popup is open.
    void Change();

protected:
    // The slots a subclass overrides, in this order.
    virtual QPixmap DefaultGlyph(bool& callerOwns) const;
    virtual void PlacePopup(QPoint position);
    virtual void RemovePopup();
    virtual bool MayTakePopupValue(const QVariant& value);
    virtual void TakePopupValue(const QVariant& value);
    virtual void SendToPopup(const QVariant& value);
    virtual QVariant FetchFromPopup();
    virtual void PopupEdited();
    virtual bool GetReadOnly() const { return FReadOnly; }

    // The character steps of a key press; returns false when the key is consumed. A subclass
    // runs its own steps before and after this one and may replace the key.
    virtual bool KeyPress(QChar& key);
    // Every change of the edit text; routes it to PopupEdited or FireChange.
    virtual void TextChanged();
    // Paste and cut requests: they reach the edit control only when text may be typed.
    virtual void PasteFromClipboard(bool selection);
    // The field is entered (it became the window's focused control) or left. FocusExit
    // returns false when the field keeps the focus.
    virtual void FocusEnter(Qt::FocusReason reason);
    virtual bool FocusExit();

    void SetPopup(TJvPopupWindow* popup);
    // While being created, a button width is applied at once.
    void SetCreating(bool creating) { FCreating = creating; }
    // Whether this field set its edit control read-only because the popup is open.
    bool EditLocked() const { return FEditLocked; }

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Whether focus changes for this reason mean the field was entered or left (not a window
    // switch, a menu or a message box).
    static bool IsControlFocusChange(Qt::FocusReason reason);
    // The character a key press types (backspace, Enter and Esc included), or none.
    static QChar TypedCharacter(const QKeyEvent* event);

private:
    void ButtonPressed();
    void ButtonReleasedClick();
    void LayoutButton();
    void NarrowTextArea();
    void RebuildGlyph();
    void UpdateEditReadOnly();
    void TakeFocus();

    TJvEditButton* FButton = nullptr;
    QWidget* FButtonHolder = nullptr;
    TShortCut FClickKey = ShortCut(vk::Down, scAlt);
    bool FReadOnly = false;
    bool FDirectInput = true;
    bool FPopupVisible = false;
    bool FEditLocked = false;
    bool FCreating = true;
    bool FEntered = false;
    bool FAutoSelect = true;
    TPopupAlign FPopupAlign = TPopupAlign::epaRight;
    TGlyphKind FGlyphKind = TGlyphKind::gkCustom;
    int FButtonWidth = 21;
    int FDefaultGlyphCount = 1;
    QPointer<TJvPopupWindow> FPopup;

    friend class TJvEditButton;
    friend class TJvPopupWindow;

protected:
    void SetDefaultGlyphCount(int count) { FDefaultGlyphCount = count; }
};

} // namespace kalvo
