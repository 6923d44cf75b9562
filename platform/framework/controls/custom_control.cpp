#include "platform/framework/controls/custom_control.h"

#include <algorithm>
#include <vector>

namespace {
std::vector<TControlCanvas*>& CanvasList()
{
    static std::vector<TControlCanvas*> list;
    return list;
}
}  // namespace

void FreeDeviceContexts()
{
    for (TControlCanvas* c : std::vector<TControlCanvas*>(CanvasList())) c->FreeHandle();
}

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* c)
{
    if (c == FControl) return;
    FreeHandle();
    FControl = c;
}

void TControlCanvas::FreeHandle()
{
    if (!FDeviceContext) return;
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
    auto& list = CanvasList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void TControlCanvas::CreateHandle()
{
    if (!FControl) return;
    TWinControl* w = dynamic_cast<TWinControl*>(FControl);
    int dx = 0, dy = 0;
    if (!w) {
        w = FControl->Parent();
        dx = FControl->Left();
        dy = FControl->Top();
    }
    if (!w) return;
    HWND h = w->Handle();
    HDC dc = GetDCEx(h, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc) return;
    if (dx || dy) OffsetViewportOrgEx(dc, dx, dy, nullptr);
    if (!dynamic_cast<TWinControl*>(FControl)) IntersectClipRect(dc, 0, 0, FControl->Width(), FControl->Height());
    FDeviceContext = dc;
    FWindowHandle = h;
    CanvasList().push_back(this);
    SetHandle(dc);
}

// ---- TCustomControl ----

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) { FCanvas.SetControl(this); }

TCustomControl::~TCustomControl() { FCanvas.FreeHandle(); }

void TCustomControl::PaintWindow(HDC DC)
{
    FCanvas.Lock();
    try {
        FCanvas.FreeHandle();
        FCanvas.SetHandle(DC);
        FControlState.Include(csCustomPaint);
        Paint();
    } catch (...) {
        FCanvas.SetHandle(nullptr);
        FCanvas.Unlock();
        throw;
    }
    FCanvas.SetHandle(nullptr);
    FCanvas.Unlock();
}

void TCustomControl::Dispatch(TMessage& m)
{
    if (m.Msg == WM_PAINT) {
        FControlState.Include(csCustomPaint);
        PaintHandler(m);
        return;
    }
    TWinControl::Dispatch(m);
}

void TCustomControl::DestroyWnd()
{
    FCanvas.FreeHandle();
    TWinControl::DestroyWnd();
}

// ---- TGraphicControl ----

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) { FCanvas.SetControl(this); }

TGraphicControl::~TGraphicControl() { FCanvas.FreeHandle(); }

void TGraphicControl::Dispatch(TMessage& m)
{
    if (m.Msg == WM_PAINT && m.WParam) {
        FCanvas.Lock();
        try {
            FCanvas.FreeHandle();
            FCanvas.SetHandle(reinterpret_cast<HDC>(m.WParam));
            Paint();
        } catch (...) {
            FCanvas.SetHandle(nullptr);
            FCanvas.Unlock();
            throw;
        }
        FCanvas.SetHandle(nullptr);
        FCanvas.Unlock();
        return;
    }
    TControl::Dispatch(m);
}
