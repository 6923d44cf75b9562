// The header half of TbsSkinCustomListView: taking over the list's "SysHeader32" child, its
// window procedure (25 pixels wider than laid out, the pressed section, divider drags) and
// painting its sections and the part right of the last from a button record or the built-in look.
#include <algorithm>

#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_list_view.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"

namespace {
constexpr int kHeaderExtra = 25;
constexpr TColor kPressedFrame = static_cast<TColor>(0xB76B3B);
constexpr TColor kPressedFill = static_cast<TColor>(0xE4BCA2);
}  // namespace

void TbsSkinCustomListView::TakeOverHeader(HWND Child)
{
    GiveBackHeader();
    FHeaderHandle = Child;
    FDefHeaderProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(Child, GWL_WNDPROC));
    SetWindowLongPtrW(Child, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FHeaderInstance));
}

void TbsSkinCustomListView::GiveBackHeader()
{
    if (FHeaderHandle && FDefHeaderProc && IsWindow(FHeaderHandle))
        SetWindowLongPtrW(FHeaderHandle, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FDefHeaderProc));
    FHeaderHandle = nullptr;
    FDefHeaderProc = nullptr;
    FActiveSection = -1;
    FHeaderDown = FDevDown = false;
}

void TbsSkinCustomListView::InvalidateHeader(bool Erase)
{
    if (FHeaderHandle) InvalidateRect(FHeaderHandle, nullptr, Erase ? TRUE : FALSE);
}

TRect TbsSkinCustomListView::GetHeaderSectionRect(int Index)
{
    RECT r{0, 0, 0, 0};
    if (!FHeaderHandle) return TRect{};
    int item = Index;
    if (FullDrag()) {
        // The section shown at position Index.
        const int n = static_cast<int>(SendMessageW(FHeaderHandle, HDM_GETITEMCOUNT, 0, 0));
        std::vector<int> order(static_cast<size_t>(std::max(n, 0)));
        if (n > 0 && Index < n &&
            SendMessageW(FHeaderHandle, HDM_GETORDERARRAY, static_cast<WPARAM>(n),
                         reinterpret_cast<LPARAM>(order.data())))
            item = order[static_cast<size_t>(Index)];
    }
    SendMessageW(FHeaderHandle, HDM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&r));
    return Rect(r.left, r.top, r.right, r.bottom);
}

LRESULT TbsSkinCustomListView::HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    switch (Msg) {
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(LParam);
        if (pos && !(pos->flags & SWP_NOSIZE)) pos->cx += kHeaderExtra;
        return 0;
    }
    case WM_PAINT: PaintHeader(reinterpret_cast<HDC>(WParam)); return 0;
    case WM_ERASEBKGND: return 1;
    default: break;
    }
    WNDPROC def = FDefHeaderProc;
    const LRESULT result =
        def ? CallWindowProcW(def, Wnd, Msg, WParam, LParam) : DefWindowProcW(Wnd, Msg, WParam, LParam);
    switch (Msg) {
    case WM_MOUSEMOVE:
        if (FDevDown) InvalidateHeader(false);
        break;
    case WM_LBUTTONDOWN: {
        const TPoint p = Point(static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam)));
        FActiveSection = -1;
        for (int i = 0; i < FColumns.Count(); ++i)
            if (PointInsideRect(GetHeaderSectionRect(i), p)) {
                FActiveSection = i;
                break;
            }
        HDHITTESTINFO hit{};
        hit.pt = POINT{p.X, p.Y};
        SendMessageW(Wnd, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        FDevDown = (hit.flags & HHT_ONDIVIDER) != 0;
        FHeaderDown = !FDevDown;
        InvalidateHeader(false);
        break;
    }
    case WM_LBUTTONUP:
        FHeaderDown = FDevDown = false;
        FActiveSection = -1;
        InvalidateHeader(false);
        break;
    case WM_NCDESTROY:
        // The list destroyed its header (another view, a new window): nothing to give back.
        if (Wnd == FHeaderHandle) {
            FHeaderHandle = nullptr;
            FDefHeaderProc = nullptr;
            FActiveSection = -1;
            FHeaderDown = FDevDown = false;
        }
        break;
    default: break;
    }
    return result;
}

// ---- painting ----

void TbsSkinCustomListView::PaintHeader(HDC DC)
{
    if (!FHeaderHandle) return;
    PAINTSTRUCT ps;
    HDC dc = DC ? DC : BeginPaint(FHeaderHandle, &ps);
    TCanvas c;
    c.SetHandle(dc);
    int right = 0;
    for (int i = 0; i < FColumns.Count(); ++i) {
        const TRect r = GetHeaderSectionRect(i);
        DrawHeaderSection(&c, FColumns.Items(i), r, i == FActiveSection && FHeaderDown);
        right = std::max(right, r.Right);
    }
    RECT cr;
    ::GetClientRect(FHeaderHandle, &cr);
    const TRect e = Rect(right, 0, cr.right + 1, cr.bottom);
    GetHeaderSkinData();
    if (!IsNullRect(e)) DrawEmptyHeaderPart(&c, e);
    c.SetHandle(nullptr);
    if (!DC) EndPaint(FHeaderHandle, &ps);
}

void TbsSkinCustomListView::ResizeHeaderGeometry(int W, int H)
{
    const int dw = W - HSkinRect.Width(), dh = H - HSkinRect.Height();
    HNewLTPoint = HLTPt;
    HNewRTPoint = Point(HRTPt.X + dw, HRTPt.Y);
    HNewLBPoint = Point(HLBPt.X, HLBPt.Y + dh);
    HNewRBPoint = Point(HRBPt.X + dw, HRBPt.Y + dh);
    HNewClRect = Rect(HClRect.Left, HClRect.Top, HClRect.Right + dw, HClRect.Bottom + dh);
}

void TbsSkinCustomListView::DrawEmptyHeaderPart(TCanvas* C, const TRect& E)
{
    if (FHIndex == -1) {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(E);
        C->Brush()->SetColor(clBtnShadow);
        C->FrameRect(E);
        return;
    }
    TBitmap b(E.Width(), E.Height());
    if (HLBPt.X != 0 || HLBPt.Y != 0) {
        ResizeHeaderGeometry(E.Width(), E.Height());
        CreateLeftSkinImage(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HNewLTPoint, HNewRTPoint, HNewLBPoint, HNewRBPoint,
                            HNewClRect, &b, HPicture, HSkinRect, E.Width(), E.Height(), true, HLeftStretch, HTopStretch,
                            HRightStretch, HBottomStretch, HStretchEffect, HStretchType);
    } else {
        TBitmap strip;
        CreateLeftHSkinImage(HLTPt.X, HSkinRect.Width() - HRTPt.X, &strip, HPicture, HSkinRect, E.Width(),
                             HSkinRect.Height(), HStretchEffect);
        if (!strip.Empty()) b.Canvas()->StretchDraw(Rect(0, 0, b.Width(), b.Height()), &strip);
    }
    C->Draw(E.Left, E.Top, &b);
}

void TbsSkinCustomListView::DrawHeaderSection(TCanvas* Cnvs, TListColumn* Column, const TRect& R, bool Pressed)
{
    const int w = R.Width(), h = R.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    GetHeaderSkinData();
    if (FHIndex == -1) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(Pressed ? kPressedFrame : clBtnShadow);
        c->FillRect(Rect(0, 0, w, h));
        c->Brush()->SetColor(Pressed ? kPressedFill : clBtnFace);
        c->FillRect(Rect(1, 1, w - 1, h - 1));
        c->Brush()->SetStyle(bsClear);
        c->Font()->Assign(Font());
        c->Font()->SetColor(clBtnText);
    } else {
        c->Font()->Assign(Font());
        const TRect& src = Pressed ? HDownSkinRect : HSkinRect;
        c->Font()->SetColor(Pressed ? HDownFontColor : HFontColor);
        if (HLBPt.X != 0 || HLBPt.Y != 0) {
            ResizeHeaderGeometry(w, h);
            CreateSkinImage(HLTPt, HRTPt, HLBPt, HRBPt, HClRect, HNewLTPoint, HNewRTPoint, HNewLBPoint, HNewRBPoint,
                            HNewClRect, &b, HPicture, src, w, h, true, HLeftStretch, HTopStretch, HRightStretch,
                            HBottomStretch, HStretchEffect, HStretchType);
        } else {
            TBitmap strip;
            CreateHSkinImage(HLTPt.X, src.Width() - HRTPt.X, &strip, HPicture, src, w, src.Height(), HStretchEffect);
            if (!strip.Empty()) c->StretchDraw(Rect(0, 0, w, h), &strip);
        }
    }
    if (OnDrawHeaderSection) {
        OnDrawHeaderSection(c, Column, Pressed, Rect(0, 0, w, h));
    } else {
        c->Brush()->SetStyle(bsClear);
        const TRect t = Rect(5, 0, w - 5, h);
        String s = Column->Caption();
        const int image = Column->ImageIndex();
        int x = t.Left;
        if (FSmallImages && image >= 0 && image < FSmallImages->Count()) {
            const int iw = FSmallImages->Width(), ih = FSmallImages->Height();
            const String whole = s;
            FitTextToWidth(c, s, t.Width() - iw - 10);
            if (s == whole) {
                const int tw = c->TextWidth(s);
                if (Column->Alignment() == taRightJustify)
                    x = t.Right - tw - iw - 10;
                else if (Column->Alignment() == taCenter)
                    x = t.Left + t.Width() / 2 - (tw + iw + 10) / 2;
            }
            FSmallImages->Draw(c, x, t.Top + t.Height() / 2 - ih / 2, image, Enabled());
            x += iw + 10;
        } else {
            FitTextToWidth(c, s, t.Width());
            const int tw = c->TextWidth(s);
            if (Column->Alignment() == taRightJustify)
                x = t.Right - tw;
            else if (Column->Alignment() == taCenter)
                x = t.Left + t.Width() / 2 - tw / 2;
        }
        int y = t.Top + t.Height() / 2 - c->TextHeight(s) / 2;
        if (OddFontHeight(c)) y -= 1;
        c->TextRect(t, x, y, s);
    }
    Cnvs->Draw(R.Left, R.Top, &b);
}

void TbsSkinCustomListView::GetHeaderSkinData()
{
    FHIndex = -1;
    if (!FSD || FSD->Empty) return;
    int i = FSD->GetControlIndex(FHeaderSkinDataName);
    if (i == -1) i = FSD->GetControlIndex(L"resizetoolbutton");
    if (i < 0 || i >= static_cast<int>(FSD->CtrlList.size())) return;
    auto* rec = dynamic_cast<TbsDataSkinButtonControl*>(FSD->CtrlList[static_cast<size_t>(i)]);
    if (!rec || rec->PictureIndex < 0 || rec->PictureIndex >= static_cast<int>(FSD->FActivePictures.size())) return;
    FHIndex = i;
    HLTPt = rec->LTPoint;
    HRTPt = rec->RTPoint;
    HLBPt = rec->LBPoint;
    HRBPt = rec->RBPoint;
    HSkinRect = rec->SkinRect;
    HClRect = rec->ClRect;
    HStretchEffect = rec->StretchEffect;
    HLeftStretch = rec->LeftStretch;
    HTopStretch = rec->TopStretch;
    HRightStretch = rec->RightStretch;
    HBottomStretch = rec->BottomStretch;
    HStretchType = rec->StretchType;
    HPicture = FSD->FActivePictures[static_cast<size_t>(rec->PictureIndex)];
    HFontColor = rec->FontColor;
    HActiveFontColor = rec->ActiveFontColor;
    HDownFontColor = rec->DownFontColor;
    HActiveSkinRect = IsNullRect(rec->ActiveSkinRect) ? HSkinRect : rec->ActiveSkinRect;
    HDownSkinRect = IsNullRect(rec->DownSkinRect) ? HActiveSkinRect : rec->DownSkinRect;
}
