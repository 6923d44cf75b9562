// TControl: the base of every visible component - bounds, alignment and anchors, size
// constraints, visibility, enabling, caption, hint, cursor, popup menu, the message path
// (Perform -> WindowProc -> WndProc -> Dispatch -> DefaultHandler) and the mouse and click events.
// Windowed controls (TWinControl) and windowless ones (TGraphicControl) derive from it; the skin
// engine's controls derive from those.
//
// Message handlers: a class handles a message by overriding Dispatch, switching on Msg and calling
// its base's Dispatch for the inherited handling (that ends in DefaultHandler). WndProc is the
// earlier step every message passes (mouse capture and click tracking happen there); WindowProc
// is the replaceable entry, so a component may install its own procedure and chain to the saved one.
#pragma once

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"
#include "platform/framework/graphics/graphics_objects.h"

class TWinControl;
class TPopupMenu;
class TCustomForm;
class TControl;
class TBasicAction;

// Size limits of a control; 0 = no limit. A change re-applies them to the control.
class TSizeConstraints : public TPersistent {
public:
    explicit TSizeConstraints(TControl* AControl) : FControl(AControl) {}
    int MaxHeight() const { return FMaxHeight; }
    int MaxWidth() const { return FMaxWidth; }
    int MinHeight() const { return FMinHeight; }
    int MinWidth() const { return FMinWidth; }
    void SetMaxHeight(int v);
    void SetMaxWidth(int v);
    void SetMinHeight(int v);
    void SetMinWidth(int v);
    void Assign(TPersistent* Source) override;
    TNotifyEvent OnChange;

private:
    void Change();
    TControl* FControl;
    int FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

class TControl : public TComponent {
    friend class TWinControl;
    friend class TSizeConstraints;

public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;

    // ---- tree ----
    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);
    TCustomForm* GetParentForm() const;
    virtual bool HasParent() const { return FParent != nullptr; }

    // ---- bounds ----
    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int v) { SetBounds(v, FTop, FWidth, FHeight); }
    void SetTop(int v) { SetBounds(FLeft, v, FWidth, FHeight); }
    void SetWidth(int v) { SetBounds(FLeft, FTop, v, FHeight); }
    void SetHeight(int v) { SetBounds(FLeft, FTop, FWidth, v); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
    void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
    virtual TRect GetClientRect();
    TRect ClientRect() { return GetClientRect(); }
    int ClientWidth() { return GetClientRect().Width(); }
    int ClientHeight() { return GetClientRect().Height(); }
    void SetClientWidth(int v);
    void SetClientHeight(int v);
    virtual void SetClientSize(int w, int h);
    virtual TPoint GetClientOrigin() const;  // screen position of the client's top-left corner
    TPoint ClientToScreen(const TPoint& p) const;
    TPoint ScreenToClient(const TPoint& p) const;
    TPoint ClientToParent(const TPoint& p, TWinControl* AParent = nullptr) const;

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign v);
    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors v);
    TSizeConstraints* Constraints() { return &FConstraints; }
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool v);
    void BringToFront();
    void SendToBack();
    // Asks the parent to realign its children (after a size, align or visibility change).
    virtual void RequestAlign();
    void AdjustSize();

    // ---- state ----
    bool Visible() const { return FVisible; }
    void SetVisible(bool v);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a top-level window.
    bool IsShowing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool v);
    String Caption() const { return GetText(); }
    void SetCaption(const String& v) { SetText(v); }
    String Text() const { return GetText(); }
    void SetText(const String& v);
    int HelpContext() const { return FHelpContext; }
    void SetHelpContext(int v) { FHelpContext = v; }
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool v);
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* v);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor v);
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool v);
    TFont* Font() { return &FFont; }
    void SetFont(TFont* v) { FFont.Assign(v); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool v);
    // Reading order: bdLeftToRight by default; taken from the parent while ParentBiDiMode is on
    // (setting BiDiMode turns that off). bdRightToLeft also mirrors alignment; the NoAlign and
    // ReadingOnly modes only read right to left.
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode v);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool v);
    bool UseRightToLeftAlignment() const { return FBiDiMode == bdRightToLeft; }
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }
    // Text flags for this control's mode: DT_LEFT and DT_RIGHT swapped under right-to-left
    // alignment, DT_RTLREADING added under right-to-left reading.
    UINT DrawTextBiDiModeFlags(UINT Flags) const;
    // DT_RTLREADING under right-to-left reading, else 0.
    UINT DrawTextBiDiModeFlagsReadingOnly() const;
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle v) { FControlStyle = v; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState v) { FControlState = v; }

    // ---- messages ----
    LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
    const TWndMethod& WindowProc() const { return FWindowProc; }
    void SetWindowProc(TWndMethod proc);
    virtual void WndProc(TMessage& Message);
    virtual void Dispatch(TMessage& Message);
    virtual void DefaultHandler(TMessage& Message);

    // ---- painting ----
    virtual void Invalidate();
    virtual void Update();
    virtual void Repaint();
    void Refresh() { Repaint(); }

    // ---- action ----
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* v);
    // The linked action changed (or was just linked): the control takes its properties.
    // CheckDefaults: only those the control still has at their defaults.
    virtual void ActionChange(TObject* Sender, bool CheckDefaults);

    // ---- events ----
    virtual void Click();
    virtual void DblClick();
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;
    TNotifyEvent OnResize;
    TContextPopupEvent OnContextPopup;

    // Writes a control's text without raising CM_TEXTCHANGED (used by a window's WM_SETTEXT).
    void StoreText(const String& v) { FText = v; }

protected:
    // A property setter's body: assigns the field and repaints, only when the value changed. True
    // when it changed, so the setter can do the rest of its work then.
    template <class T, class V>
    bool SetAndInvalidate(T& field, const V& value)
    {
        if (field == value) return false;
        field = value;
        Invalidate();
        return true;
    }

    virtual String GetText() const;
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void Resize();
    virtual bool CanAutoSize(int& NewWidth, int& NewHeight);
    virtual bool CanResize(int& NewWidth, int& NewHeight);
    virtual void ConstrainedResize(int& MinWidth, int& MinHeight, int& MaxWidth, int& MaxHeight);
    void DoConstrainedResize(int& NewWidth, int& NewHeight);
    // The parent's client-relative bounds changed; windowed controls move their window.
    virtual void BoundsChanged() {}
    virtual void VisibleChanging() {}
    virtual void ParentColorChanged();
    virtual void ParentFontChanged();
    virtual void ParentBiDiModeChanged();
    void FontChanged();
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // Records the anchor distances from the current bounds and the parent's client size.
    void UpdateAnchorRules();
    void SetZOrder(bool TopMost);
    // The control the mouse was pressed on keeps the mouse until release (csCaptureMouse).
    void SetMouseCapture(bool capture);
    bool MouseCapture() const;

    TWinControl* FParent = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    TAlign FAlign = alNone;
    TAnchors FAnchors{akLeft, akTop};
    TSizeConstraints FConstraints;
    bool FAutoSize = false;
    bool FVisible = true;
    bool FEnabled = true;
    String FText;
    String FHint;
    int FHelpContext = 0;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TPopupMenu* FPopupMenu = nullptr;
    TBasicAction* FAction = nullptr;
    TCursor FCursor = crDefault;
    TColor FColor = clWindow;
    bool FParentColor = false;
    TFont FFont;
    bool FParentFont = true;
    bool FFontFromParent = false;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TControlStyle FControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState FControlState;
    TWndMethod FWindowProc;
    // Anchoring: the bounds and the parent's client size when the rules were last taken.
    TRect FAnchorBounds;
    TPoint FAnchorParentSize{-1, -1};
    bool FAligning = false;

private:
    void HandleMouseDown(TMessage& m, TMouseButton button, bool dbl);
    void HandleMouseUp(TMessage& m, TMouseButton button);
    bool CheckNewSize(int& NewWidth, int& NewHeight);
};

// Control under the mouse, and the control holding the mouse (windowless ones included); the
// window layer only knows windows, so the framework keeps these.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* c);
TControl* GetMouseControl();
// Moves the mouse-over state to c (nullptr: none), sending CM_MOUSELEAVE/CM_MOUSEENTER.
void SetMouseControl(TControl* c);
