// TCanvas over a device context of the window layer.
#include "platform/framework/graphics/canvas.h"

#include "platform/framework/core/exceptions.h"
#include "platform/framework/graphics/graphic.h"
#include "platform/win/win_api.h"

TCanvas::TCanvas()
{
    FFont.OnChange = [this](TObject* s) { FontChanged(s); };
    FPen.OnChange = [this](TObject* s) { PenChanged(s); };
    FBrush.OnChange = [this](TObject* s) { BrushChanged(s); };
}

TCanvas::~TCanvas()
{
    // Descendants that own their DC detach in their own destructor; an external DC gets its
    // objects back here.
    SetHandle(nullptr);
}

HDC TCanvas::Handle()
{
    RequiredState(csHandleValid);
    return FHandle;
}

void TCanvas::SetHandle(HDC Value)
{
    if (FHandle == Value) return;
    if (FHandle) {
        if (FOldFont) SelectObject(FHandle, FOldFont);
        if (FOldPen) SelectObject(FHandle, FOldPen);
        if (FOldBrush) SelectObject(FHandle, FOldBrush);
    }
    FOldFont = FOldPen = FOldBrush = nullptr;
    FHandle = Value;
    FState = Value ? unsigned(csHandleValid) : 0u;
}

void TCanvas::DeselectHandles()
{
    FHandle = nullptr;
    FOldFont = FOldPen = FOldBrush = nullptr;
    FState = 0;
}

void TCanvas::RequiredState(unsigned State)
{
    unsigned need = State & ~FState;
    if (!need) return;
    if (need & csHandleValid) {
        CreateHandle();
        if (!FHandle) throw EInvalidOperation(L"Canvas does not allow drawing");
        FState |= csHandleValid;
    }
    if (need & csFontValid) {
        HGDIOBJ old = SelectObject(FHandle, FFont.Handle());
        if (!FOldFont) FOldFont = old;
        SetTextColor(FHandle, static_cast<COLORREF>(ColorToRGB(FFont.Color())));
        FState |= csFontValid;
    }
    if (need & csPenValid) {
        HGDIOBJ old = SelectObject(FHandle, FPen.Handle());
        if (!FOldPen) FOldPen = old;
        SetROP2(FHandle, PenModeToRop2(FPen.Mode()));
        FState |= csPenValid;
    }
    if (need & csBrushValid) {
        HGDIOBJ old = SelectObject(FHandle, FBrush.Handle());
        if (!FOldBrush) FOldBrush = old;
        SetBkColor(FHandle, static_cast<COLORREF>(ColorToRGB(FBrush.Color())));
        SetBkMode(FHandle, FBrush.Style() == bsSolid ? OPAQUE : TRANSPARENT);
        FState |= csBrushValid;
    }
}

void TCanvas::FontChanged(TObject*) { FState &= ~csFontValid; }
void TCanvas::PenChanged(TObject*) { FState &= ~csPenValid; }
void TCanvas::BrushChanged(TObject*) { FState &= ~csBrushValid; }

void TCanvas::Refresh() { FState &= csHandleValid; }

void TCanvas::Changing()
{
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed()
{
    if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos()
{
    RequiredState(csHandleValid);
    POINT p;
    GetCurrentPositionEx(FHandle, &p);
    return TPoint{p.x, p.y};
}

TRect TCanvas::ClipRect()
{
    RequiredState(csHandleValid);
    RECT r;
    GetClipBox(FHandle, &r);
    return TRect{r.left, r.top, r.right, r.bottom};
}

void TCanvas::MoveTo(int X, int Y)
{
    RequiredState(csHandleValid);
    MoveToEx(FHandle, X, Y, nullptr);
}

void TCanvas::LineTo(int X, int Y)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::LineTo(FHandle, X, Y);
    Changed();
}

namespace {
std::vector<POINT> ToPoints(const std::vector<TPoint>& pts)
{
    std::vector<POINT> out(pts.size());
    for (size_t i = 0; i < pts.size(); ++i) out[i] = POINT{pts[i].X, pts[i].Y};
    return out;
}
RECT ToRECT(const TRect& r) { return RECT{r.Left, r.Top, r.Right, r.Bottom}; }
}  // namespace

void TCanvas::Polyline(const std::vector<TPoint>& Points)
{
    if (Points.empty()) return;
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    auto pts = ToPoints(Points);
    ::Polyline(FHandle, pts.data(), static_cast<int>(pts.size()));
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& Points)
{
    if (Points.empty()) return;
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    auto pts = ToPoints(Points);
    ::Polygon(FHandle, pts.data(), static_cast<int>(pts.size()));
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Rectangle(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::RoundRect(FHandle, X1, Y1, X2, Y2, X3, Y3);
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2)
{
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::Ellipse(FHandle, X1, Y1, X2, Y2);
    Changed();
}

void TCanvas::FillRect(const TRect& R)
{
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = ToRECT(R);
    ::FillRect(FHandle, &r, FBrush.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& R)
{
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = ToRECT(R);
    ::FrameRect(FHandle, &r, FBrush.Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& R)
{
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT r = ToRECT(R);
    ::DrawFocusRect(FHandle, &r);
    Changed();
}

void TCanvas::TextOut(int X, int Y, const String& Text)
{
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    ExtTextOutW(FHandle, X, Y, 0, nullptr, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
    MoveToEx(FHandle, X + TextWidth(Text), Y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& R, int X, int Y, const String& Text)
{
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    UINT options = ETO_CLIPPED;
    if (FBrush.Style() != bsClear) options |= ETO_OPAQUE;
    RECT r = ToRECT(R);
    ExtTextOutW(FHandle, X, Y, options, &r, Text.c_str(), static_cast<UINT>(Text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const String& Text)
{
    RequiredState(csHandleValid | csFontValid);
    SIZE s;
    GetTextExtentPoint32W(FHandle, Text.c_str(), static_cast<int>(Text.size()), &s);
    return TSize{s.cx, s.cy};
}

void TCanvas::Draw(int X, int Y, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    RequiredState(csHandleValid);
    Graphic->Draw(this, Bounds(X, Y, Graphic->Width(), Graphic->Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& R, TGraphic* Graphic)
{
    if (!Graphic || Graphic->Empty()) return;
    Changing();
    RequiredState(csHandleValid);
    Graphic->Draw(this, R);
    Changed();
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source)
{
    if (!Canvas) return;
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    Canvas->RequiredState(csHandleValid | csBrushValid);
    StretchBlt(FHandle, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Canvas->FHandle, Source.Left, Source.Top,
               Source.Width(), Source.Height(), FCopyMode);
    Changed();
}

TColor TCanvas::Pixels(int X, int Y)
{
    RequiredState(csHandleValid);
    return static_cast<TColor>(GetPixel(FHandle, X, Y));
}

void TCanvas::SetPixels(int X, int Y, TColor Value)
{
    Changing();
    RequiredState(csHandleValid | csPenValid);
    ::SetPixel(FHandle, X, Y, static_cast<COLORREF>(ColorToRGB(Value)));
    Changed();
}

void TCanvas::Lock()
{
    FLock.lock();
    ++FLockCount;
}

void TCanvas::Unlock()
{
    --FLockCount;
    FLock.unlock();
}

bool TCanvas::TryLock()
{
    if (!FLock.try_lock()) return false;
    ++FLockCount;
    return true;
}
