// TCustomMemo / TMemo: a multi-line text box in the plain look, its text kept as Lines (TStrings).
// Editing at the caret: caret keys (arrows, Home/End, Ctrl+Home/End, PageUp/PageDown), selection
// with Shift and the mouse, typing, Enter splitting a line and Backspace/Delete joining lines, the
// framework clipboard, undo, ReadOnly, the view scrolled to the caret (lines are not wrapped).
// Lines added from outside show the end, as a log wants. SelStart and the EM_ messages count a
// line break as two characters, as the multi-line edit of the window system does.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/core/string_list.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

// A place in the text: line and column (both from 0).
struct TMemoPos {
    int Line = 0;
    int Col = 0;
    bool operator==(const TMemoPos&) const = default;
    bool operator<(const TMemoPos& o) const { return Line < o.Line || (Line == o.Line && Col < o.Col); }
};

class TCustomMemo : public TCustomControl {
public:
    explicit TCustomMemo(TComponent* AOwner);
    TStrings* Lines() { return &FLines; }
    void SetLines(TStrings* v) { FLines.Assign(v); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool v) { FWantTabs = v; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    int TopLine() const { return FTopLine; }
    void SetTopLine(int v);
    int VisibleLineCount();
    void Clear() { FLines.Clear(); }
    bool Modified() const { return FModified; }
    void SetModified(bool v) { FModified = v; }

    // ---- caret and selection ----
    int SelStart() const;
    void SetSelStart(int v);
    int SelLength() const;
    void SetSelLength(int v);
    String SelText() const;
    void SetSelText(const String& v);
    // X = column, Y = line.
    TPoint CaretPos() const { return Point(FCaret.Col, FCaret.Line); }
    void SetCaretPos(const TPoint& p);
    void SelectAll();
    void ClearSelection();
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    bool CanUndo() const { return FCanUndo; }
    void Undo();
    void ClearUndo() { FCanUndo = false; }

    TNotifyEvent OnChange;

protected:
    String GetText() const override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    bool WantsKey(WORD Key) override;
    virtual void Change();
    int LineHeight();
    void LinesChanged();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void UpdateScrollBars();

    // ---- the text as lines (at least one, possibly empty) ----
    int LineCount() const { return std::max(1, FLines.Count()); }
    String LineAt(int i) const { return i < FLines.Count() ? FLines.Get(i) : String(); }
    String JoinedText() const;
    int OffsetOf(const TMemoPos& p) const;
    TMemoPos PosOf(int Offset) const;
    TMemoPos Clamped(TMemoPos p) const;
    TMemoPos SelFirst() const { return FCaret < FAnchor ? FCaret : FAnchor; }
    TMemoPos SelLast() const { return FCaret < FAnchor ? FAnchor : FCaret; }

    // ---- editing ----
    // Replaces the selection (undoable: a snapshot for Undo first; Typing groups one run of
    // typed characters into one undo step).
    void ReplaceSelection(const String& s, bool Undoable, bool Typing = false);
    void SetAllText(const String& s);
    void MoveCaret(TMemoPos p, bool Extend, bool KeepGoal = false);
    void KeyDownEdit(WORD Key, bool Shift, bool Ctrl);
    void CharTyped(wchar_t Ch);
    void ScrollToCaret();
    int TextLeft() const;
    int TextTop() const;
    int WidthOf(const String& s);
    int ColFromX(int Line, int X);
    TMemoPos PosFromPoint(int X, int Y);

    bool FInScrollUpdate = false;
    TStringList FLines;
    bool FReadOnly = false;
    bool FWordWrap = true;
    bool FWantTabs = false;
    TScrollStyle FScrollBars = ssNone;
    TFormBorderStyle FBorderStyle = bsSingle;
    int FTopLine = 0;
    int FScrollX = 0;
    bool FSettingText = false;
    bool FEditing = false;
    TMemoPos FCaret;
    TMemoPos FAnchor;
    int FGoalX = -1;  // the x that up/down keep to, -1 = the caret's own
    bool FModified = false;
    bool FCanUndo = false;
    String FUndoText;
    int FUndoCaret = 0;
    bool FTypingRun = false;  // the last change was typing, ending at the caret
    bool FMouseSelecting = false;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
