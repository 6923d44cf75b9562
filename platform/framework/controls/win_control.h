// TWinControl: a control with a window of the window layer - handle created on demand and
// re-created after style changes, the child control list in stacking order, alignment of the
// children, painting of windowless children in order, focus and tab order, keyboard and dialog
// keys, and the routing of mouse messages to windowless children. Base of forms, panels, edits,
// list views and every windowed skin control.
//
// Taking over a standard control's look (the skinned edit, list box, combo list, tree, list and
// tab controls). The standard controls are framework controls that paint themselves, not window
// classes of the layer. A skinned control derives from one and overrides WndProc, which stands
// in for the subclassed window procedure: it sees every message first and calls the inherited
// WndProc for the behaviour it keeps (selection, keys, scroll state, the EM_/LB_/TCM_ answers).
// What it can take over, as on Windows:
// - frame and scroll bars live in the non-client area (WS_EX_CLIENTEDGE, WS_VSCROLL from
//   CreateParams, drawn by the default WM_NCPAINT): drop the styles in CreateParams or answer
//   WM_NCCALCSIZE, WM_NCPAINT and WM_NCHITTEST; answered without change, the control keeps its
//   scroll state (GetScrollInfo, WM_VSCROLL) while no bar shows;
// - colours: before painting, a control asks itself through ControlColor (CN_CTLCOLOREDIT
//   48435, CN_CTLCOLORSTATIC 48440 for read-only and disabled edits, CN_CTLCOLORLISTBOX); the
//   stock NULL_BRUSH leaves the background to the owner, and the text takes the DC's colour;
// - painting: WM_ERASEBKGND and WM_PAINT with a DC in wParam paint into that DC (an owner's
//   off-screen pass); items through owner draw (list box) and custom draw (list and tree views);
//   CS_HREDRAW/CS_VREDRAW in the class style decide what a resize repaints;
// - windows inside a control (the list view's "SysHeader32" header) are real child windows,
//   announced by WM_PARENTNOTIFY and subclassed with SetWindowLongPtrW(GWL_WNDPROC) and
//   CallWindowProcW; the edit's text area follows EM_SETRECTNP and EM_SETMARGINS.
#pragma once

#include <vector>

#include "platform/framework/controls/control.h"

// What CreateParams fills in before the window is made.
struct TCreateParams {
    String Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0, Y = 0, Width = 0, Height = 0;
    HWND WndParent = nullptr;
    WNDCLASSW WindowClass;
    String WinClassName;
};

class TWinControl : public TControl {
    friend class TControl;
    friend struct TWinControlAccess;

public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    // ---- handle ----
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Destroys the window now and makes a new one on the next need (style changes).
    void RecreateWnd();
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND h);

    // ---- children ----
    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int i) const { return FControls.at(static_cast<size_t>(i)); }
    void InsertControl(TControl* AControl);
    void RemoveControl(TControl* AControl);
    bool ContainsControl(TControl* Control) const;
    // The windowless or windowed child at a client point (topmost first); AllowDisabled lets
    // disabled ones count.
    TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
    // Sends a message to every child control until one answers non-zero.
    void Broadcast(TMessage& Message);
    void NotifyControls(UINT Msg);
    void ScrollBy(int DeltaX, int DeltaY);

    // ---- alignment ----
    void DisableAlign();
    void EnableAlign();
    void Realign();
    bool AlignDisabled() const { return FAlignLevel > 0; }

    // ---- focus and tab order ----
    virtual bool CanFocus();
    bool Focused();
    virtual void SetFocus();
    int TabOrder() const;
    void SetTabOrder(int v);
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool v) { FCtl3D = v; }
    bool DoubleBuffered() const { return FDoubleBuffered; }
    void SetDoubleBuffered(bool v) { FDoubleBuffered = v; }
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool v);
    // Windowed children in tab order.
    void GetTabOrderList(std::vector<TWinControl*>& List);
    TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop, bool CheckParent);
    void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    TRect GetClientRect() override;
    TPoint GetClientOrigin() const override;
    void SetEnabled(bool v) override;
    void SetParent(TWinControl* AParent) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void DefaultHandler(TMessage& Message) override;
    void Invalidate() override;
    void Update() override;
    void Repaint() override;
    // Paints the windowless children (from First on, lower index first) into DC.
    void PaintControls(HDC DC, TControl* First);

    // The window procedure entry (the layer calls it through the window's object instance).
    void MainWndProc(TMessage& Message);

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;
    TMouseWheelEvent OnMouseWheel;

protected:
    virtual void CreateParams(TCreateParams& Params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& Params);
    virtual void DestroyWnd();
    virtual void DestroyWindowHandle();
    virtual void CreateHandle();
    void DestroyHandle();
    // Makes the window a subclass of an existing window class (the layer's common controls).
    void CreateSubClass(TCreateParams& Params, LPCWSTR ControlClassName);
    virtual void AlignControls(TControl* AControl, TRect& Rect);
    virtual void AdjustClientRect(TRect& Rect);
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;
    virtual void PaintWindow(HDC DC);
    void PaintHandler(TMessage& Message);
    // Asks the control itself (through WndProc, so a descendant can answer) for the colours to
    // paint with: Query is CN_CTLCOLOREDIT, CN_CTLCOLORSTATIC or CN_CTLCOLORLISTBOX; the answer
    // sets DC's text colour, background colour and mode, and is the background brush (the stock
    // NULL_BRUSH: leave the background as it is).
    HBRUSH ControlColor(HDC DC, UINT Query);
    // A solid brush of the colour, owned by the control (the default colour answers).
    HBRUSH ColorBrush(TColor Color);
    virtual void DoEnter();
    virtual void DoExit();
    virtual void KeyDown(WORD& Key, TShiftState Shift);
    virtual void KeyUp(WORD& Key, TShiftState Shift);
    virtual void KeyPress(wchar_t& Key);
    bool DoKeyDown(TMessage& m);
    bool DoKeyUp(TMessage& m);
    bool DoKeyPress(TMessage& m);
    // Keys the control takes itself (not turned into dialog keys).
    virtual bool WantsKey(WORD Key);
    void BoundsChanged() override;
    void UpdateBounds();
    void UpdateShowing();
    void Loaded() override;
    void ParentColorChanged() override;
    void VisibleChanging() override;
    void RemoveFocus(bool Removing);
    // Realigns when the client size changed (WM_SIZE) and fires OnResize.
    void ClientResized();

    HWND FHandle = nullptr;
    HWND FParentWindow = nullptr;
    WNDPROC FDefWndProc = nullptr;
    WNDPROC FObjectInstance = nullptr;
    std::vector<TControl*> FControls;  // stacking order: index 0 is the bottom
    int FAlignLevel = 0;
    bool FTabStop = false;
    bool FCtl3D = true;
    bool FDoubleBuffered = false;
    int FTabOrderHint = -1;
    bool FShowing = false;
    bool FRecreating = false;
    TPoint FLastClientSize{-1, -1};
    HBRUSH FColorBrush = nullptr;
    COLORREF FColorBrushColor = 0;

private:
    void DoAlign(TAlign AAlign, TRect& Rect);
    void ApplyAnchors();
    void IsControlMouseMsg(TMessage& m, bool& handled);
    void TrackMouse(TMessage& m);
    std::vector<TWinControl*> FTabList;
};

// The framework object behind a window (nullptr for a foreign window).
TWinControl* FindControl(HWND h);
