// TCustomEdit / TEdit: a one-line text box drawn in the plain look - the layer's caret (hidden
// and shown with HideCaret and ShowCaret) and selection (mouse and keys, Shift and Ctrl), typing
// with MaxLength, CharCase, ReadOnly, PasswordChar, one level of undo, the framework clipboard
// (cut, copy, paste), OnChange, AutoSelect, text aligned by the window's ES_LEFT, ES_CENTER or
// ES_RIGHT style, and the EM_ and clipboard messages callers send. Background and text colours
// come from the colour query (a NULL_BRUSH answer leaves the background alone). The skinned
// edits derive from it.
#pragma once

#include "platform/framework/controls/custom_control.h"

// The program's clipboard text (shared by every edit of the program).
String ClipboardText();
void SetClipboardText(const String& Text);

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

class TCustomEdit : public TCustomControl {
public:
    explicit TCustomEdit(TComponent* AOwner);

    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    wchar_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(wchar_t v);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool v) { FAutoSelect = v; }
    TEditCharCase CharCase() const { return FCharCase; }
    // Also turns the text there is into that case.
    void SetCharCase(TEditCharCase v);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool v);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }

    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    String SelText() const;
    void SetSelText(const String& v);
    void SelectAll();
    void ClearSelection();
    void Clear() { SetText(L""); }
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const { return FCanUndo; }
    void Undo();
    void ClearUndo() { FCanUndo = false; }

    TNotifyEvent OnChange;

protected:
    virtual void Change();
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void DoEnter() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    bool WantsKey(WORD Key) override;
    // The text as shown (password characters instead of the text).
    String DisplayText() const;
    // Where the text goes: the formatting rectangle (EM_SETRECT, EM_SETRECTNP; the client area
    // when none was set) less the margins (EM_SETMARGINS).
    TRect TextArea();
    int TextLeft() const;
    // Where the shown text starts, after alignment and scrolling.
    int TextOriginX();
    // The text as CharCase writes it.
    String Cased(const String& s) const;
    // The caret at the caret position when the edit has the focus.
    void PlaceCaret(int X, int Y, int H);
    int CaretFromX(int X);
    int WidthOf(const String& s);
    void ReplaceSelection(const String& s, bool undoable);
    void MoveCaret(int pos, bool extend);
    void ScrollToCaret();
    // Hands the text to the window without the reset an outside WM_SETTEXT makes.
    void SyncWindowText();
    bool FSyncing = false;

    int FMaxLength = 0;
    bool FReadOnly = false;
    wchar_t FPasswordChar = 0;
    bool FAutoSelect = true;
    bool FHideSelection = true;
    bool FModified = false;
    TFormBorderStyle FBorderStyle = bsSingle;
    bool FHasFormatRect = false;
    TRect FFormatRect;
    int FLeftMargin = 1;
    int FRightMargin = 1;
    int FAnchor = 0;  // selection: from FAnchor to FCaret
    int FCaret = 0;
    int FScrollX = 0;
    bool FCanUndo = false;
    String FUndoText;
    int FUndoCaret = 0;
    bool FMouseSelecting = false;
    TEditCharCase FCharCase = ecNormal;
    bool FCaretMade = false;
};

class TEdit : public TCustomEdit {
public:
    explicit TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}
};
