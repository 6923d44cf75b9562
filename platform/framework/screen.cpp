#include "platform/framework/screen.h"

#include <algorithm>

#include "platform/framework/forms.h"

TScreen* Screen = new TScreen(nullptr);

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const
{
    RECT r{0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return Rect(r.left, r.top, r.right, r.bottom);
}

int TScreen::MonitorCount() const { return std::max(1, GetSystemMetrics(SM_CMONITORS)); }

HCURSOR TScreen::CursorHandle(TCursor c) const
{
    LPCWSTR id = IDC_ARROW;
    switch (c) {
    case crIBeam: id = IDC_IBEAM; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crCross: id = IDC_CROSS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeWE: case crHSplit: id = IDC_SIZEWE; break;
    case crSizeNS: case crVSplit: id = IDC_SIZENS; break;
    case crSizeAll: id = IDC_SIZEALL; break;
    case crHandPoint: id = IDC_HAND; break;
    case crNone: return nullptr;
    default: break;
    }
    return LoadCursorW(nullptr, id);
}

void TScreen::SetCursor(TCursor v)
{
    if (v == FCursor) return;
    FCursor = v;
    if (v != crDefault) {
        ::SetCursor(CursorHandle(v));
    } else {
        // Let the window under the pointer choose again.
        POINT p;
        GetCursorPos(&p);
        if (HWND h = WindowFromPoint(p)) SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
}

void TScreen::AddForm(TCustomForm* f) { FForms.push_back(f); }

void TScreen::RemoveForm(TCustomForm* f)
{
    FForms.erase(std::remove(FForms.begin(), FForms.end(), f), FForms.end());
    if (FActiveForm == f) FActiveForm = nullptr;
    if (FActiveControl && FActiveControl->GetParentForm() == f) FActiveControl = nullptr;
}

void TScreen::FormActivated(TCustomForm* f)
{
    FActiveForm = f;
    auto it = std::find(FForms.begin(), FForms.end(), f);
    if (it != FForms.end()) {
        FForms.erase(it);
        FForms.insert(FForms.begin(), f);
    }
}
