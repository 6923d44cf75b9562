#include "platform/framework/forms/screen.h"

#include <algorithm>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/forms.h"

TScreen* Screen = new TScreen(nullptr);

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const
{
    RECT r{0, 0, 0, 0};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
    return Rect(r.left, r.top, r.right, r.bottom);
}

TRect TMonitor::BoundsRect() const
{
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(FHandle, &mi)) return TRect{};
    return Rect(mi.rcMonitor.left, mi.rcMonitor.top, mi.rcMonitor.right, mi.rcMonitor.bottom);
}

TRect TMonitor::WorkareaRect() const
{
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    if (!GetMonitorInfoW(FHandle, &mi)) return TRect{};
    return Rect(mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom);
}

bool TMonitor::Primary() const
{
    MONITORINFO mi{};
    mi.cbSize = sizeof(mi);
    return GetMonitorInfoW(FHandle, &mi) && (mi.dwFlags & MONITORINFOF_PRIMARY);
}

TScreen::~TScreen()
{
    for (TMonitor* m : FMonitors) delete m;
    delete FFonts;
}

void TScreen::RefreshMonitors() const
{
    std::vector<HMONITOR> now;
    EnumDisplayMonitors([&](HMONITOR h, const RECT&) {
        now.push_back(h);
        return TRUE;
    });
    bool same = now.size() == FMonitors.size();
    for (size_t i = 0; same && i < now.size(); ++i) same = FMonitors[i]->Handle() == now[i];
    if (same) return;
    // Monitors handed out before stay valid while their monitor does.
    std::vector<TMonitor*> next;
    for (size_t i = 0; i < now.size(); ++i) {
        auto it = std::find_if(FMonitors.begin(), FMonitors.end(), [&](TMonitor* m) { return m->Handle() == now[i]; });
        if (it != FMonitors.end() && (*it)->MonitorNum() == static_cast<int>(i)) {
            next.push_back(*it);
            FMonitors.erase(it);
        } else {
            next.push_back(new TMonitor(now[i], static_cast<int>(i)));
        }
    }
    for (TMonitor* m : FMonitors) delete m;
    FMonitors = next;
}

int TScreen::MonitorCount() const
{
    RefreshMonitors();
    return std::max(1, static_cast<int>(FMonitors.size()));
}

TMonitor* TScreen::Monitors(int i) const
{
    RefreshMonitors();
    if (i < 0 || i >= static_cast<int>(FMonitors.size()))
        throw EListError(L"List index out of bounds (" + std::to_wstring(i) + L")");
    return FMonitors[static_cast<size_t>(i)];
}

TMonitor* TScreen::FindMonitor(HMONITOR h) const
{
    RefreshMonitors();
    for (TMonitor* m : FMonitors)
        if (m->Handle() == h) return m;
    return FMonitors.empty() ? nullptr : FMonitors.front();
}

TMonitor* TScreen::PrimaryMonitor() const
{
    RefreshMonitors();
    for (TMonitor* m : FMonitors)
        if (m->Primary()) return m;
    return FMonitors.empty() ? nullptr : FMonitors.front();
}

TMonitor* TScreen::MonitorFromWindow(HWND Handle) const
{
    return FindMonitor(::MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST));
}

TMonitor* TScreen::MonitorFromPoint(const TPoint& P) const
{
    return FindMonitor(::MonitorFromPoint(POINT{P.X, P.Y}, MONITOR_DEFAULTTONEAREST));
}

TRect TScreen::DesktopRect() const
{
    RefreshMonitors();
    TRect r{};
    bool first = true;
    for (TMonitor* m : FMonitors) {
        TRect b = m->BoundsRect();
        if (first) {
            r = b;
            first = false;
        } else {
            r = Rect(std::min(r.Left, b.Left), std::min(r.Top, b.Top), std::max(r.Right, b.Right),
                     std::max(r.Bottom, b.Bottom));
        }
    }
    return first ? Rect(0, 0, Width(), Height()) : r;
}

TStrings* TScreen::Fonts()
{
    if (FFonts) return FFonts;
    FFonts = new TStringList;
    FFonts->SetSorted(true);
    FFonts->Duplicates = dupIgnore;
    EnumFontFamiliesExW(
        nullptr, nullptr,
        [this](const LOGFONTW* lf, const TEXTMETRICW*, DWORD) {
            FFonts->Add(lf->lfFaceName);
            return 1;
        },
        0);
    return FFonts;
}

HCURSOR TScreen::CursorHandle(TCursor c) const
{
    LPCWSTR id = IDC_ARROW;
    switch (c) {
    case crIBeam: id = IDC_IBEAM; break;
    case crHourGlass: id = IDC_WAIT; break;
    case crCross: id = IDC_CROSS; break;
    case crSizeNWSE: id = IDC_SIZENWSE; break;
    case crSizeNESW: id = IDC_SIZENESW; break;
    case crSizeWE:
    case crHSplit: id = IDC_SIZEWE; break;
    case crSizeNS:
    case crVSplit: id = IDC_SIZENS; break;
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
        if (HWND h = WindowFromPoint(p))
            SendMessageW(h, WM_SETCURSOR, reinterpret_cast<WPARAM>(h), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
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
