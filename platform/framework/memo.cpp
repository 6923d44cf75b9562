#include "platform/framework/memo.h"

#include <algorithm>

#include "platform/framework/plain_draw.h"

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

void TCustomMemo::SetBorderStyle(TFormBorderStyle v)
{
    FBorderStyle = v;
    Invalidate();
}

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
    if (FLines.UpdateCount() > 0) return;
    // The view follows the end of the text.
    FTopLine = std::max(0, FLines.Count() - VisibleLineCount());
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
    int y = r.Top + 1;
    for (int i = FTopLine; i < FLines.Count() && y < r.Bottom; ++i, y += lh) {
        String s = FLines.Get(i);
        TextOutW(dc, r.Left + 2, y, s.c_str(), static_cast<int>(s.size()));
    }
    if (Focused() && !FReadOnly) {
        int last = std::max(0, FLines.Count() - 1);
        String s = FLines.Count() ? FLines.Get(last) : String();
        SIZE sz{0, 0};
        GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz);
        int cy = r.Top + 1 + (last - FTopLine) * lh;
        RECT caret{r.Left + 2 + sz.cx, cy, r.Left + 3 + sz.cx, cy + lh};
        HBRUSH b = CreateSolidBrush(ColorToRGB(FFont.Color()));
        FillRect(dc, &caret, b);
        DeleteObject(b);
    }
    SelectObject(dc, old);
    RestoreDC(dc, saved);
}

void TCustomMemo::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETTEXT: {
        String t = m.LParam ? reinterpret_cast<const wchar_t*>(m.LParam) : L"";
        FSettingText = true;
        FLines.SetText(t);
        FSettingText = false;
        FText = t;
        if (FHandle) DefaultHandler(m);
        m.Result = TRUE;
        Change();
        return;
    }
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        FText = FLines.Text();
        break;
    case WM_GETDLGCODE:
        m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Invalidate();
        break;
    case WM_MOUSEWHEEL:
        SetTopLine(FTopLine - GET_WHEEL_DELTA_WPARAM(m.WParam) / WHEEL_DELTA * 3);
        m.Result = 1;
        return;
    case WM_VSCROLL:
        switch (LOWORD(m.WParam)) {
        case SB_LINEUP: SetTopLine(FTopLine - 1); break;
        case SB_LINEDOWN: SetTopLine(FTopLine + 1); break;
        case SB_PAGEUP: SetTopLine(FTopLine - VisibleLineCount()); break;
        case SB_PAGEDOWN: SetTopLine(FTopLine + VisibleLineCount()); break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: SetTopLine(static_cast<short>(HIWORD(m.WParam))); break;
        case SB_TOP: SetTopLine(0); break;
        case SB_BOTTOM: SetTopLine(FLines.Count()); break;
        default: break;
        }
        m.Result = 0;
        return;
    case WM_LBUTTONDOWN:
        if (CanFocus() && !Focused()) SetFocus();
        break;
    case WM_KEYDOWN:
        if (DoKeyDown(m)) return;
        switch (m.WParam) {
        case VK_UP: SetTopLine(FTopLine - 1); return;
        case VK_DOWN: SetTopLine(FTopLine + 1); return;
        case VK_PRIOR: SetTopLine(FTopLine - VisibleLineCount()); return;
        case VK_NEXT: SetTopLine(FTopLine + VisibleLineCount()); return;
        default: return;
        }
    case WM_CHAR: {
        if (DoKeyPress(m)) return;
        if (FReadOnly) return;
        wchar_t ch = static_cast<wchar_t>(m.WParam);
        if (ch == L'\r') {
            FLines.Add(L"");
        } else if (ch == 8) {
            if (FLines.Count() == 0) return;
            int last = FLines.Count() - 1;
            String s = FLines.Get(last);
            if (s.empty())
                FLines.Delete(last);
            else
                FLines.Put(last, s.substr(0, s.size() - 1));
        } else if (ch >= 32 && ch != 127) {
            if (FLines.Count() == 0) FLines.Add(L"");
            int last = FLines.Count() - 1;
            FLines.Put(last, FLines.Get(last) + ch);
        }
        return;
    }
    default:
        break;
    }
    TCustomControl::Dispatch(m);
}
