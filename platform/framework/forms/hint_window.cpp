#include "platform/framework/forms/hint_window.h"

#include <algorithm>

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner)
{
    FVisible = false;
    FColor = clInfoBk;
    FFont.SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& p)
{
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    p.WindowClass.style |= CS_SAVEBITS;
    p.WndParent = nullptr;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    RECT r{0, 0, std::max(1, MaxWidth), 0};
    DrawTextW(dc, AHint.c_str(), static_cast<int>(AHint.size()), &r,
              DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    return Rect(0, 0, r.right + 6, r.bottom + 4);
}

void THintWindow::ActivateHint(TRect R, const String& AHint)
{
    SetCaption(AHint);
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (R.Right > sw) {
        int w = R.Width();
        R.Left = std::max(0, sw - w);
        R.Right = R.Left + w;
    }
    if (R.Bottom > sh) {
        int h = R.Height();
        R.Top = std::max(0, sh - h);
        R.Bottom = R.Top + h;
    }
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
    HandleNeeded();
    FVisible = true;
    SetWindowPos(FHandle, HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Invalidate();
}

void THintWindow::ReleaseHandle()
{
    FVisible = false;
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
}

void THintWindow::Paint()
{
    TRect r = ClientRect();
    FCanvas.Brush()->SetColor(FColor);
    FCanvas.FillRect(r);
    HDC dc = FCanvas.Handle();
    HGDIOBJ old = SelectObject(dc, FFont.Handle());
    SetTextColor(dc, ColorToRGB(FFont.Color()));
    SetBkMode(dc, TRANSPARENT);
    RECT tr{r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2};
    String t = Caption();
    DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &tr, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
}

void THintWindow::Dispatch(TMessage& m)
{
    if (m.Msg == WM_NCHITTEST) {
        m.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::Dispatch(m);
}
