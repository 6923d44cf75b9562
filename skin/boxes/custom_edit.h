// TbsCustomEdit: the base of the skin engine's edits (the skinned edit, the combo box's inner
// edit). A framework edit made as a borderless multi-line window that shows one line, with:
//   - ReadOnly of its own, kept by dropping messages (typing, Delete, cut, paste, clear, undo), so
//     the caret, the selection and copying go on working;
//   - Enter and Esc handed to the form as the dialog-key notice (45061) after OnKeyPress, so the
//     default and cancel buttons answer and nothing goes into the text;
//   - EditTransparent: the colour queries answer NULL_BRUSH, and every repaint goes through one
//     off-screen bitmap one pixel larger than the edit - the parent's background, then the edit's
//     own paint under FStopDraw - copied in one step, every context and bitmap released on every
//     path;
//   - a skinned context menu (Undo, Cut, Copy, Paste, Delete, Select All) built anew for each
//     request and shown through the form's skin menus (none on a form without them), captions
//     from the skin's text table, freed when the menus report that its command has run.
// TbsSkinNumEdit filters typed characters to a number and turns Up, Down and the wheel into
// OnUpClick and OnDownClick.
#pragma once

#include <functional>

#include "platform/framework/controls/edit.h"
#include "platform/framework/forms/menus.h"

class TbsSkinPopupMenu;

class TbsCustomEdit : public TCustomEdit {
public:
    explicit TbsCustomEdit(TComponent* AOwner);
    ~TbsCustomEdit() override;

    bool ReadOnly() const { return FReadOnly2; }
    void SetReadOnly(bool Value) { FReadOnly2 = Value; }
    bool EditTransparent() const { return FEditTransparent; }
    // Stores and makes the window anew.
    void SetEditTransparent(bool Value);
    // The context menu while one exists.
    TbsSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

    // Repaints the client now through an off-screen bitmap (nothing without a window).
    virtual void RepaintBuffered();
    // The same into DC, which stays the caller's.
    virtual void PaintBufferedTo(HDC DC);

    // The framework's cancel-mode notice reached the edit; C caused it (nullptr: none).
    std::function<void(TControl* C)> OnEditCancelMode;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Change() override;
    // The size of the off-screen pass (the edit's; the skinned edit paints its client).
    virtual void BufferSize(int& W, int& H);
    // The menu built anew (the old one freed): eight items with their captions and states.
    void CreateSysPopupMenu();
    // Closes the skin menus while they show this edit's menu.
    void CloseSysPopupMenu(bool Destroying);
    // The off-screen pass into Target; with Caret the caret is hidden around it.
    void BufferedPass(HDC Target, bool Caret);
    void SetMargins();

    bool FDown = false;
    bool FStopDraw = false;
    bool FEditTransparent = false;
    TbsSkinPopupMenu* FSysPopupMenu = nullptr;

private:
    bool FReadOnly2 = false;
};

class TbsSkinNumEdit : public TbsCustomEdit {
public:
    explicit TbsSkinNumEdit(TComponent* AOwner);

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool Value) { FEditorEnabled = Value; }
    // Admits the decimal separator.
    bool Float = false;

    // Whether a typed character may go in, in the edit's present state.
    bool IsValidChar(wchar_t C);

    TNotifyEvent OnUpClick;
    TNotifyEvent OnDownClick;

protected:
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void WndProc(TMessage& Message) override;

private:
    bool FEditorEnabled = true;
};
