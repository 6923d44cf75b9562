#include "platform/framework/controls/memo.h"

#include <algorithm>

#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/edit_common_messages.h"
#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/controls/scrolling.h"

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = 185;
    FHeight = 89;
    FTabStop = true;
    FColor = clWindow;
    FCursor = crIBeam;
    FLines.OnChange = [this](TObject*) { LinesChanged(); };
}

void TCustomMemo::SetScrollBars(TScrollStyle v)
{
    if (v == FScrollBars) return;
    FScrollBars = v;
    RecreateWnd();
}

void TCustomMemo::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) p.Style |= WS_VSCROLL;
}

void TCustomMemo::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollBars();
}

void TCustomMemo::UpdateScrollBars()
{
    if (!FHandle || FInScrollUpdate || !(FScrollBars == ssVertical || FScrollBars == ssBoth)) return;
    FInScrollUpdate = true;
    SCROLLINFO si;
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    si.nMin = 0;
    si.nMax = std::max(0, FLines.Count() - 1);
    si.nPage = static_cast<UINT>(VisibleLineCount());
    si.nPos = FTopLine;
    SetScrollInfo(FHandle, SB_VERT, &si, TRUE);
    FInScrollUpdate = false;
}

void TCustomMemo::SetReadOnly(bool v) { SetAndInvalidate(FReadOnly, v); }

void TCustomMemo::SetBorderStyle(TFormBorderStyle v) { SetAndInvalidate(FBorderStyle, v); }

String TCustomMemo::GetText() const { return FLines.Text(); }

int TCustomMemo::LineHeight()
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteDC(dc);
    return std::max<int>(1, tm.tmHeight);
}

int TCustomMemo::VisibleLineCount()
{
    int inner = ClientHeight() - (FBorderStyle == bsSingle ? 4 : 0) - 2;
    return std::max(1, inner / LineHeight());
}

int TCustomMemo::TextLeft() const { return (FBorderStyle == bsSingle ? 2 : 0) + 2; }
int TCustomMemo::TextTop() const { return (FBorderStyle == bsSingle ? 2 : 0) + 1; }

int TCustomMemo::WidthOf(const String& s)
{
    if (s.empty()) return 0;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SIZE sz{0, 0};
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz);
    SelectObject(dc, old);
    DeleteDC(dc);
    return sz.cx;
}

int TCustomMemo::ColFromX(int Line, int X)
{
    String s = LineAt(Line);
    int x = X - TextLeft() + FScrollX;
    int prev = 0;
    for (size_t i = 1; i <= s.size(); ++i) {
        int w = WidthOf(s.substr(0, i));
        if (x < (prev + w) / 2) return static_cast<int>(i) - 1;
        prev = w;
    }
    return static_cast<int>(s.size());
}

TMemoPos TCustomMemo::PosFromPoint(int X, int Y)
{
    int line = FTopLine + (Y - TextTop()) / LineHeight();
    if (Y < TextTop()) line = FTopLine - 1;
    line = std::clamp(line, 0, LineCount() - 1);
    return TMemoPos{line, ColFromX(line, X)};
}

void TCustomMemo::ScrollToCaret()
{
    int visible = VisibleLineCount();
    int top = FTopLine;
    if (FCaret.Line < top) top = FCaret.Line;
    if (FCaret.Line >= top + visible) top = FCaret.Line - visible + 1;
    if (top != FTopLine) {
        FTopLine = std::max(0, top);
        UpdateScrollBars();
    }
    int room = ClientWidth() - 2 * TextLeft();
    if (room <= 0) return;
    int x = WidthOf(LineAt(FCaret.Line).substr(0, static_cast<size_t>(FCaret.Col)));
    if (x - FScrollX > room) FScrollX = x - room;
    if (x < FScrollX) FScrollX = x;
}

void TCustomMemo::SetTopLine(int v)
{
    int maxTop = std::max(0, FLines.Count() - VisibleLineCount());
    v = std::clamp(v, 0, maxTop);
    if (v == FTopLine) return;
    FTopLine = v;
    UpdateScrollBars();
    Invalidate();
}

void TCustomMemo::LinesChanged()
{
    if (FLines.UpdateCount() > 0 || FEditing) return;
    FCanUndo = false;
    FTypingRun = false;
    if (FSettingText) {
        FTopLine = 0;
        FScrollX = 0;
        FAnchor = FCaret = TMemoPos{};
    } else {
        // Lines changed from outside: the view and the caret follow the end of the text.
        FTopLine = std::max(0, FLines.Count() - VisibleLineCount());
        FAnchor = FCaret = Clamped(TMemoPos{LineCount() - 1, 1 << 30});
    }
    UpdateScrollBars();
    Invalidate();
    if (!FSettingText) Change();
}

void TCustomMemo::Change()
{
    if (OnChange && !(ComponentState() & (csLoading | csDestroying))) OnChange(this);
}

void TCustomMemo::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    if (FBorderStyle == bsSingle) DrawSunkenEdge(c, r);
    c->Brush()->SetColor(FEnabled ? FColor : clBtnFace);
    c->FillRect(r);
    HDC dc = c->Handle();
    int saved = SaveDC(dc);
    IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(FEnabled ? FFont.Color() : clGrayText));
    int lh = LineHeight();
    int x0 = TextLeft() - FScrollX;
    bool focused = Focused();
    TMemoPos s0 = SelFirst(), s1 = SelLast();
    bool showSel = !(s0 == s1) && focused;
    HBRUSH selBrush = showSel ? CreateSolidBrush(ColorToRGB(clHighlight)) : nullptr;
    int y = TextTop();
    for (int i = FTopLine; i < LineCount() && y < r.Bottom; ++i, y += lh) {
        String s = LineAt(i);
        TextOutW(dc, x0, y, s.c_str(), static_cast<int>(s.size()));
        if (showSel && i >= s0.Line && i <= s1.Line) {
            int from = i == s0.Line ? s0.Col : 0;
            int to = i == s1.Line ? s1.Col : static_cast<int>(s.size());
            int xs = x0 + WidthOf(s.substr(0, static_cast<size_t>(from)));
            int xe = x0 + WidthOf(s.substr(0, static_cast<size_t>(to)));
            if (i != s1.Line) xe += WidthOf(L" ");  // the selected line break
            RECT sel{xs, y, xe, y + lh};
            FillRect(dc, &sel, selBrush);
            SetTextColor(dc, ColorToRGB(clHighlightText));
            String part = s.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
            TextOutW(dc, xs, y, part.c_str(), static_cast<int>(part.size()));
            SetTextColor(dc, ColorToRGB(FEnabled ? FFont.Color() : clGrayText));
        }
    }
    if (selBrush) DeleteObject(selBrush);
    if (focused) {
        int cx = x0 + WidthOf(LineAt(FCaret.Line).substr(0, static_cast<size_t>(FCaret.Col)));
        int cy = TextTop() + (FCaret.Line - FTopLine) * lh;
        RECT caret{cx, cy, cx + 1, cy + lh};
        HBRUSH b = CreateSolidBrush(ColorToRGB(FFont.Color()));
        FillRect(dc, &caret, b);
        DeleteObject(b);
    }
    SelectObject(dc, old);
    RestoreDC(dc, saved);
}

void TCustomMemo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft) {
        FMouseSelecting = true;
        if (CanFocus() && !Focused()) SetFocus();
        MoveCaret(PosFromPoint(X, Y), Shift.Contains(ssShift));
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomMemo::MouseMove(TShiftState Shift, int X, int Y)
{
    if (FMouseSelecting && FControlState.Contains(csLButtonDown)) MoveCaret(PosFromPoint(X, Y), true);
    TCustomControl::MouseMove(Shift, X, Y);
}

bool TCustomMemo::WantsKey(WORD Key) { return Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP || Key == VK_DOWN; }

void TCustomMemo::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETTEXT: {
        String t = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
        FSettingText = true;
        FLines.SetText(t);
        FSettingText = false;
        FText = t;
        FModified = false;
        if (FHandle) DefaultHandler(m);
        m.Result = TRUE;
        Change();
        return;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH: FText = FLines.Text(); break;
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS | (FWantTabs ? DLGC_WANTTAB : 0);
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    case WM_LBUTTONUP: FMouseSelecting = false; break;
    case WM_MOUSEWHEEL:
        SetTopLine(FTopLine - WheelScrollLines(m.WParam));
        m.Result = 1;
        return;
    case WM_VSCROLL: {
        int top;
        if (ScrollBarTarget(m.WParam, FTopLine, 1, VisibleLineCount(), FLines.Count(), top)) SetTopLine(top);
        m.Result = 0;
        return;
    }
    case WM_KEYDOWN:
        if (DoKeyDown(m)) return;
        KeyDownEdit(static_cast<WORD>(m.WParam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0);
        return;
    case WM_CHAR: {
        if (DoKeyPress(m)) return;
        wchar_t ch = static_cast<wchar_t>(m.WParam);
        if (GetKeyState(VK_CONTROL) < 0 && ch != 8 && ch != 10) return;  // shortcuts went by on key down
        CharTyped(ch);
        return;
    }
    case EM_GETSEL: {
        auto s = static_cast<DWORD>(SelStart()), e = static_cast<DWORD>(SelStart() + SelLength());
        if (m.WParam) *reinterpret_cast<DWORD*>(m.WParam) = s;
        if (m.LParam) *reinterpret_cast<DWORD*>(m.LParam) = e;
        m.Result = static_cast<LRESULT>(MAKELPARAM(static_cast<int>(s), static_cast<int>(e)));
        return;
    }
    case EM_SETSEL: {
        int n = static_cast<int>(JoinedText().size());
        int s = static_cast<int>(static_cast<LONG_PTR>(m.WParam)), e = static_cast<int>(m.LParam);
        if (s < 0) {
            FAnchor = FCaret;  // -1: no selection
        } else {
            if (e < 0 || e > n) e = n;
            FAnchor = PosOf(std::min(s, n));
            FCaret = PosOf(e);
        }
        FGoalX = -1;
        FTypingRun = false;
        Invalidate();
        return;
    }
    case EM_REPLACESEL:
        ReplaceSelection(m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"", m.WParam != 0);
        return;
    case EM_GETLINECOUNT: m.Result = LineCount(); return;
    case EM_LINEINDEX: {
        int line = static_cast<int>(static_cast<LONG_PTR>(m.WParam));
        if (line < 0) line = FCaret.Line;
        m.Result = line < LineCount() ? OffsetOf(TMemoPos{line, 0}) : -1;
        return;
    }
    case EM_LINEFROMCHAR: {
        int off = static_cast<int>(static_cast<LONG_PTR>(m.WParam));
        m.Result = off < 0 ? SelFirst().Line : PosOf(off).Line;
        return;
    }
    case EM_LINELENGTH: {
        int off = static_cast<int>(static_cast<LONG_PTR>(m.WParam));
        m.Result = static_cast<LRESULT>(LineAt(off < 0 ? FCaret.Line : PosOf(off).Line).size());
        return;
    }
    case EM_GETFIRSTVISIBLELINE: m.Result = FTopLine; return;
    case EM_SCROLLCARET:
        ScrollToCaret();
        Invalidate();
        m.Result = 1;
        return;
    default: break;
    }
    if (DispatchCommonEditMessage(*this, m)) return;
    TCustomControl::Dispatch(m);
}
