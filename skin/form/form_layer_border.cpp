#include "skin/form/form_layer_border.h"

#include <algorithm>
#include <cmath>

#include "platform/win/win_api.h"
#include "skin/core/layer_manager.h"
#include "skin/core/mask_region.h"
#include "skin/core/os_layers.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_data.h"
#include "skin/core/window_records.h"
#include "skin/form/animate_object.h"
#include "skin/form/caption_object.h"
#include "skin/form/frame_objects.h"
#include "skin/form/quick_buttons.h"
#include "skin/form/skin_form.h"

namespace {

// Copies Src's S into Dst's D pixel for pixel, alpha included (nearest pixel when the sizes
// differ); parts outside either bitmap are left out.
void CopyPixels(TbsBitmap* Dst, const TRect& D, TbsBitmap* Src, const TRect& S)
{
    const int dw = D.Width(), dh = D.Height(), sw = S.Width(), sh = S.Height();
    if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
    for (int y = 0; y < dh; ++y) {
        const int dy = D.Top + y, sy = S.Top + y * sh / dh;
        if (dy < 0 || dy >= Dst->Height() || sy < 0 || sy >= Src->Height()) continue;
        for (int x = 0; x < dw; ++x) {
            const int dx = D.Left + x, sx = S.Left + x * sw / dw;
            if (dx < 0 || dx >= Dst->Width() || sx < 0 || sx >= Src->Width()) continue;
            *Dst->PixelAddress(dx, dy) = *Src->PixelAddress(sx, sy);
        }
    }
}

// A band of Src (its rows Top .. Top + BandH, columns S) down a side strip of height H: stretched,
// or tiled from the top, the last tile cut. A band without height draws nothing.
void FillSide(TbsBitmap* Dst, TbsBitmap* Src, int SrcLeft, int SrcTop, int BandH, int H, bool Stretch)
{
    const int w = Dst->Width();
    if (BandH <= 0 || H <= 0 || w <= 0) return;
    if (Stretch) {
        CopyPixels(Dst, Rect(0, 0, w, H), Src, Rect(SrcLeft, SrcTop, SrcLeft + w, SrcTop + BandH));
        return;
    }
    for (int y = 0; y < H; y += BandH) {
        const int h = std::min(BandH, H - y);
        CopyPixels(Dst, Rect(0, y, w, y + h), Src, Rect(SrcLeft, SrcTop, SrcLeft + w, SrcTop + h));
    }
}

TbsBitmap* NewImage(int W, int H)
{
    auto* b = new TbsBitmap;
    if (W > 0 && H > 0) b->SetSize(W, H);
    return b;
}

bool HasArea(const TbsBitmap* B) { return B && B->Width() > 0 && B->Height() > 0; }

// The first standard button or animated object with a command that the layout places.
TbsActiveSkinObject* ButtonWithCommand(TbsSkinForm* F, TbsStdCommand C)
{
    for (TbsActiveSkinObject* o : F->ObjectList) {
        if (!o->Visible || !o->SkinRectInAPicture) continue;
        if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o); s && s->Command == C) return o;
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o); a && a->Command == C) return o;
    }
    return nullptr;
}

}  // namespace

// ---- TbsFormLayerWindow ----------------------------------------------------------------------

TbsFormLayerWindow::TbsFormLayerWindow(TbsFormLayerBorder* AOwner, TCustomForm* AForm, TbsFormLayerBorderType AType)
    : TForm(AOwner), FForm(AForm), FLayerBorder(AOwner), BorderType(AType)
{
    SetBorderStyle(bsNone);
    SetVisible(false);
    SetFormStyle(AForm && AForm->FormStyle() == fsStayOnTop ? fsStayOnTop : fsNormal);
    AfterConstruction();
}

void TbsFormLayerWindow::CreateParams(TCreateParams& Params)
{
    TForm::CreateParams(Params);
    Params.Style = WS_POPUP;
    // Never activated: neither by a click nor when another window goes away.
    Params.ExStyle |= WS_EX_LAYERED | WS_EX_NOACTIVATE;
    // A frame with no outer bounds is decoration only: the mouse passes through.
    if (FLayerBorder->FData && FLayerBorder->FData->BorderRect.IsEmpty()) Params.ExStyle |= WS_EX_TRANSPARENT;
    Params.WindowClass.style |= CS_DBLCLKS;
}

bool TbsFormLayerWindow::CanResize() const
{
    TbsSkinForm* f = FLayerBorder->BSF;
    return f->IsSizeable() && !f->RollUpState() && f->WindowState() == wsNormal;
}

TbsFormLayerBorderHit TbsFormLayerWindow::HitTest(int X, int Y)
{
    TbsFormLayerBorder* b = FLayerBorder;
    TbsDataSkinLayerFrame* d = b->FData;
    if (!d) return bsflhNone;
    POINT c{0, 0};
    GetCursorPos(&c);
    const TPoint P = Point(c.x, c.y);
    const int fl = FForm->Left(), ft = FForm->Top(), fw = FForm->Width(), fh = FForm->Height();
    TRect R = d->CaptionRect;
    R.Right += fw - d->ClRect.Width();
    R.Top = d->BorderRect.Top + d->HitTestSize;
    R = Rect(R.Left + Left(), R.Top + Top(), R.Right + Left(), R.Bottom + Top());
    if (d->FullBorder && BorderType == bsflTop)
        b->TrackObjects(X, Y);
    else
        b->TrackObjects(-1, -1);
    if (TbsActiveSkinObject* o = b->ActiveObject >= 0 && b->ActiveObject < static_cast<int>(b->BSF->ObjectList.size())
                                     ? b->BSF->ObjectList[static_cast<size_t>(b->ActiveObject)]
                                     : nullptr)
        return dynamic_cast<TbsSkinCaptionObject*>(o) ? bsflCaption : bsflObject;
    if (!CanResize()) return bsflhNone;
    const int L = fl - b->LeftSize, T = ft - b->TopSize, Rt = fl + fw + b->RightSize;
    const int bottom = Top() + Height();
    switch (BorderType) {
    case bsflLeft: return P.X >= L ? bsflhLeft : bsflhNone;
    case bsflRight: return P.X > Rt ? bsflhNone : bsflhRight;
    case bsflTop: {
        const TRect z1 = Rect(L, T, L + b->HitTopLeftX, T + b->HitTopLeftY);
        const TRect z2 = Rect(Rt - b->HitTopRightX, T, Rt, T + b->HitTopRightY);
        const TRect z3 = Rect(z1.Right, T, z2.Left, T + d->HitTestSize);
        const TRect z4 = Rect(L, z1.Bottom, L + d->HitTestSize, bottom);
        const TRect z5 = Rect(z2.Left, z2.Bottom, Rt, bottom);
        if (PtInRect(z1, P) && !PtInRect(R, P)) return bsflhTopLeft;
        if (PtInRect(z3, P)) return bsflhTop;
        if (PtInRect(z2, P) && !PtInRect(R, P)) return bsflhTopRight;
        if (PtInRect(z4, P) && !PtInRect(R, P)) return bsflhLeft;
        if (PtInRect(z5, P) && !PtInRect(R, P)) return bsflhRight;
        return bsflhNone;
    }
    case bsflBottom: {
        const int B = ft + fh + b->BottomSize;
        const TRect bl = Rect(L, B - b->HitBottomLeftY, L + b->HitBottomLeftX, B);
        const TRect br = Rect(Rt - b->HitBottomRightX, B - b->HitBottomRightY, Rt, B);
        const TRect edge = Rect(bl.Right, bl.Top, br.Left, B);
        const TRect left = Rect(L, Top(), fl, bl.Top);
        const TRect right = Rect(fl + fw, Top(), Rt, br.Top);
        if (PtInRect(bl, P)) return bsflhBottomLeft;
        if (PtInRect(edge, P)) return bsflhBottom;
        if (PtInRect(br, P)) return bsflhBottomRight;
        if (PtInRect(left, P)) return bsflhLeft;
        if (PtInRect(right, P)) return bsflhRight;
        return bsflhNone;
    }
    }
    return bsflhNone;
}

void TbsFormLayerWindow::Dispatch(TMessage& Message)
{
    TbsFormLayerBorder* b = FLayerBorder;
    const bool hitTest = b->FData && b->FData->HitTestEnable;
    const bool full = b->FData && b->FData->FullBorder;
    const bool formAlive = !(FForm->ComponentState() & csDestroying);
    switch (Message.Msg) {
    case WM_MOUSEACTIVATE: {
        Message.Result = MA_NOACTIVATE;
        if (hitTest && formAlive && !FForm->Active()) FForm->Show();
        if (hitTest) {
            POINT p;
            GetCursorPos(&p);
            FHitMode = HitTest(p.x - Left(), p.y - Top());
        }
        return;
    }
    case WM_SETFOCUS:
        if (formAlive && !FForm->Active()) FForm->Show();
        Message.Result = 1;
        return;
    case WM_LBUTTONDBLCLK:
        if (full) DoubleClick(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
        break;
    case CM_MOUSEENTER:
        if (full) b->MouseTimer->SetEnabled(true);
        break;
    case CM_MOUSELEAVE:
        if (full) {
            b->MouseTimer->SetEnabled(false);
            b->TrackObjects(-1, -1);
        }
        break;
    }
    TForm::Dispatch(Message);
}

void TbsFormLayerWindow::DoubleClick(int X, int Y)
{
    TbsFormLayerBorder* b = FLayerBorder;
    TbsSkinForm* f = b->BSF;
    TbsFormLayerBorderHit h = HitTest(X, Y);
    TbsActiveSkinObject* o = b->ActiveObject >= 0 && b->ActiveObject < static_cast<int>(f->ObjectList.size())
                                 ? f->ObjectList[static_cast<size_t>(b->ActiveObject)]
                                 : nullptr;
    // A caption hit over a pressed quick button is an object hit.
    if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o); h == bsflCaption && c && c->ActiveQuickButton >= 0)
        h = bsflObject;
    if (h == bsflObject) {
        if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o); s && s->Command == cmSysMenu) {
            f->TrackObjects(-1, -1, false);
            FForm->Close();
        }
    } else if (h == bsflCaption) {
        if (f->IsSizeable() && f->WindowState() == wsMinimized) {
            f->SetWindowState(wsNormal);
        } else if (f->IsSizeable() && f->WindowState() != wsMaximized && !f->RollUpState() &&
                   f->BorderIcons().Contains(TbsBorderIcon::biMaximize)) {
            f->SetWindowState(wsMaximized);
            FDown = false;
        } else if (f->IsSizeable() && f->WindowState() == wsMaximized && !f->MaxRollUpState) {
            f->SetWindowState(wsNormal);
            FDown = false;
        } else {
            f->SetRollUpState(!f->RollUpState());
        }
    }
    b->MouseCaptureObject = -1;
}

void TbsFormLayerWindow::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsFormLayerBorder* b = FLayerBorder;
    TbsSkinForm* f = b->BSF;
    if (f->SkinMenuVisible() && f->SkinMenu) f->SkinMenu->Hide();
    if (TWinControl* ac = FForm->ActiveControl(); ac && ac->HandleAllocated())
        SendMessageW(ac->Handle(), CM_CANCELMODE, 0, 0);
    const TbsFormLayerBorderHit h = HitTest(X, Y);
    TForm::MouseDown(Button, Shift, X, Y);
    if (!b->FData || !b->FData->HitTestEnable || !(CanResize() || h == bsflCaption || h == bsflObject)) return;
    FInProcessMessages = false;
    FHitMode = h;
    FDown = !(h == bsflObject || h == bsflhNone || f->WindowState() == wsMaximized || Button != mbLeft);
    POINT p;
    GetCursorPos(&p);
    MousePos1 = MousePos2 = Point(p.x, p.y);
    if (b->FData->FullBorder && b->ActiveObject >= 0 && b->ActiveObject < static_cast<int>(f->ObjectList.size())) {
        TbsActiveSkinObject* o = f->ObjectList[static_cast<size_t>(b->ActiveObject)];
        if (Button != mbRight) b->MouseCaptureObject = b->ActiveObject;
        o->MouseDown(X, Y, Button);
        // A press on a quick button is no caption drag.
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o); c && c->MouseCaptureQuickButton >= 0) FDown = false;
    }
    if (f->FLayerManager->IsVisible && FForm->FormStyle() == fsStayOnTop) f->FLayerManager->Update();
}

void TbsFormLayerWindow::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsFormLayerBorder* b = FLayerBorder;
    TbsSkinForm* f = b->BSF;
    f->FBorderLayerChangeSize = false;
    FDown = false;
    FInProcessMessages = false;
    MousePos1 = MousePos2 = Point(0, 0);
    TForm::MouseUp(Button, Shift, X, Y);
    const bool full = b->FData && b->FData->FullBorder;
    auto objectAt = [f](int I) {
        return I >= 0 && I < static_cast<int>(f->ObjectList.size()) ? f->ObjectList[static_cast<size_t>(I)] : nullptr;
    };
    if (full && b->MouseCaptureObject != b->ActiveObject)
        if (TbsActiveSkinObject* o = objectAt(b->MouseCaptureObject)) o->MouseUp(X, Y, Button);
    b->MouseCaptureObject = -1;
    if (b->FData && b->FData->HitTestEnable && (CanResize() || FHitMode == bsflCaption || FHitMode == bsflObject) &&
        full)
        if (TbsActiveSkinObject* o = objectAt(b->ActiveObject)) o->MouseUp(X, Y, Button);
}

void TbsFormLayerWindow::MouseMove(TShiftState Shift, int X, int Y)
{
    TForm::MouseMove(Shift, X, Y);
    if (FInProcessMessages) {
        FInProcessMessages = false;
        return;
    }
    TbsFormLayerBorder* b = FLayerBorder;
    if (!b->FData || !b->FData->HitTestEnable) return;
    TbsSkinForm* f = b->BSF;
    POINT p;
    GetCursorPos(&p);
    MousePos2 = Point(p.x, p.y);
    const int dx = MousePos2.X - MousePos1.X, dy = MousePos2.Y - MousePos1.Y;
    if (!FDown) {
        f->FBorderLayerChangeSize = false;
        FHitMode = HitTest(X, Y);
        switch (FHitMode) {
        case bsflhLeft:
        case bsflhRight: SetCursor(crSizeWE); break;
        case bsflhTop:
        case bsflhBottom: SetCursor(crSizeNS); break;
        case bsflhTopLeft:
        case bsflhBottomRight: SetCursor(crSizeNWSE); break;
        case bsflhTopRight:
        case bsflhBottomLeft: SetCursor(crSizeNESW); break;
        default: SetCursor(crDefault); break;
        }
        if (b->FData->FullBorder && b->ActiveObject >= 0 && b->ActiveObject < static_cast<int>(f->ObjectList.size()))
            f->ObjectList[static_cast<size_t>(b->ActiveObject)]->MouseMove(X, Y);
    } else {
        f->FBorderLayerChangeSize = true;
        if (FHitMode == bsflCaption)
            DragCaption(dx, dy);
        else
            Drag(dx, dy);
    }
    MousePos1 = MousePos2;
}

void TbsFormLayerWindow::PumpIgnoringMoves()
{
    FInProcessMessages = true;
    if (Application) Application->ProcessMessages();
}

void TbsFormLayerWindow::ApplyBounds(int L, int T, int W, int H)
{
    TbsFormLayerBorder* b = FLayerBorder;
    const bool topDown = T > FForm->Top();
    const int oldH = FForm->Height();
    if (topDown) b->MoveWithForm2(L, T);
    if (FForm->HandleAllocated())
        RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
    FForm->SetBounds(L, T, W, H);
    if (topDown && FForm->Height() == oldH) b->MoveWithForm();
    MousePos1 = MousePos2;
    PumpIgnoringMoves();
}

void TbsFormLayerWindow::Drag(int DX, int DY)
{
    TbsFormLayerBorder* b = FLayerBorder;
    TbsSkinForm* f = b->BSF;
    const int grip = b->FData->HitTestSize;
    const int fl = FForm->Left(), ft = FForm->Top(), fw = FForm->Width(), fh = FForm->Height();
    const int minW = f->GetMinWidth(), maxW = f->GetMaxWidth(), minH = f->GetMinHeight(), maxH = f->GetMaxHeight();
    const TPoint P = MousePos2;
    auto clampW = [&](int W) { return std::max(minW, maxW > 0 ? std::min(W, maxW) : W); };
    auto clampH = [&](int H) { return std::max(minH, maxH > 0 ? std::min(H, maxH) : H); };
    // Each side's step: the new size and the move of its edge (0 when the side does not move).
    // The left and top sides move only when the opposite edge can stay (no clamping).
    auto leftSide = [&](int& W, int& X) {
        const int nw = fw - DX;
        if (DX == 0 || nw == fw || clampW(nw) != nw) return;
        if (DX < 0 && P.X > fl - b->LeftSize + grip) return;
        W = nw;
        X = DX;
    };
    auto topSide = [&](int& H, int& Y) {
        const int nh = fh - DY;
        if (DY == 0 || nh == fh || clampH(nh) != nh) return;
        if (DY < 0 && P.Y > ft - b->TopSize + grip) return;
        H = nh;
        Y = DY;
    };
    auto rightSide = [&](int& W) {
        const int nw = clampW(fw + DX);
        if (DX == 0 || nw == fw) return;
        if (DX >= 1 && P.X < fl + fw + b->RightSize - grip) return;
        W = nw;
    };
    auto bottomSide = [&](int& H) {
        const int nh = clampH(fh + DY);
        if (DY == 0 || nh == fh) return;
        if (DY >= 1 && P.Y < ft + fh + b->BottomSize - grip) return;
        H = nh;
    };
    int w = fw, h = fh, x = 0, y = 0;
    switch (FHitMode) {
    case bsflhLeft: leftSide(w, x); break;
    case bsflhTop: topSide(h, y); break;
    case bsflhRight: rightSide(w); break;
    case bsflhBottom: bottomSide(h); break;
    case bsflhTopLeft:
        leftSide(w, x);
        topSide(h, y);
        break;
    case bsflhTopRight:
        rightSide(w);
        topSide(h, y);
        break;
    case bsflhBottomLeft:
        leftSide(w, x);
        bottomSide(h);
        break;
    case bsflhBottomRight:
        rightSide(w);
        bottomSide(h);
        break;
    default: return;
    }
    if (w == fw && h == fh) return;
    ApplyBounds(fl + x, ft + y, w, h);
}

void TbsFormLayerWindow::DragCaption(int DX, int DY)
{
    TbsFormLayerBorder* b = FLayerBorder;
    TbsSkinForm* f = b->BSF;
    const int ux = FForm->Left() + DX, uy = FForm->Top() + DY;
    int x = ux, y = uy;
    bool go = true;
    if (f->Magnetic() && (DX != 0 || DY != 0)) {
        const int h = f->LayerFrameRolledUp() && b->FData ? b->FData->RollUpFormHeight : FForm->Height();
        f->DoMagnetic(x, y, FForm->Width(), h);
        MousePos1 = MousePos2;
        // Snapped: the form goes there only when that lies further in the drag direction.
        go = (x == ux && y == uy) || (DX > 0 && x > ux) || (DX < 0 && x < ux) || (DY > 0 && y > uy) ||
             (DY < 0 && y < uy);
    }
    if (go && (x != FForm->Left() || y != FForm->Top())) {
        if (y > FForm->Top()) b->MoveWithForm2(x, y);
        FForm->SetBounds(x, y, FForm->Width(), FForm->Height());
    }
    b->MoveWithForm();
    PumpIgnoringMoves();
}

// ---- TbsFormLayerBorder: life and geometry ---------------------------------------------------

TbsFormLayerBorder::TbsFormLayerBorder(TComponent* AOwner) : TComponent(AOwner)
{
    MouseTimer = new TTimer(this);
    MouseTimer->SetEnabled(false);
    MouseTimer->SetInterval(500);
    MouseTimer->OnTimer = [this](TObject* Sender) { MouseTimerProc(Sender); };
}

TbsFormLayerBorder::~TbsFormLayerBorder()
{
    FreeImages();
    FreeWindows();
    delete MouseTimer;
    MouseTimer = nullptr;
    DeleteRegions(false);
}

void TbsFormLayerBorder::FreeImages()
{
    for (TbsBitmap** b : {&LeftImage, &TopImage, &RightImage, &BottomImage}) {
        delete *b;
        *b = nullptr;
    }
}

void TbsFormLayerBorder::FreeWindows()
{
    for (TbsFormLayerWindow** w : {&LeftBorder, &TopBorder, &RightBorder, &BottomBorder}) {
        delete *w;
        *w = nullptr;
    }
}

void TbsFormLayerBorder::DeleteRegions(bool WindowRegionsOnly)
{
    for (HRGN* r : {&TopRgn, &BottomRgn, &RightRgn, &LeftRgn}) {
        if (*r) DeleteObject(*r);
        *r = nullptr;
    }
    if (WindowRegionsOnly) return;
    for (HRGN* r : {&DataRgn1, &DataRgn2, &DataRgn3, &DataRgn4}) {
        if (*r) DeleteObject(*r);
        *r = nullptr;
    }
}

bool TbsFormLayerBorder::FullBorder() const { return FData && FData->FullBorder; }

bool TbsFormLayerBorder::TopBorderOrigin(TPoint& P) const
{
    if (!TopBorder || !FVisible) return false;
    P = Point(TopBorder->Left(), TopBorder->Top());
    return true;
}

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm)
{
    FForm = AForm;
    FSD = ASkinData;
    // The record tells whether it has a usable source (not only a picture index).
    FData = ASkinData && !ASkinData->Empty && ASkinData->LayerFrame && ASkinData->LayerFrame->HasSource()
                ? ASkinData->LayerFrame
                : nullptr;
    if (!FData) return;
    FIsAeroEnabled = IsWindowsVistaOrLater() && IsCompositionEnabled() && !IsWindows8OrLater();
    FCurrentAlphaBlendValue = FData->AlphaBlendValue;
    FCurrentInActiveAlphaBlendValue = FData->InActiveAlphaBlendValue;
    const TRect& br = FData->BorderRect;
    const TRect& cl = FData->ClRect;
    if (br.IsEmpty()) {
        LeftSize = TopSize = RightSize = BottomSize = 0;
    } else {
        LeftSize = cl.Left - br.Left;
        TopSize = cl.Top - br.Top;
        RightSize = br.Right - cl.Right;
        BottomSize = br.Bottom - cl.Bottom;
        HitTopLeftX = FData->HitTestLTPoint.X - br.Left;
        HitTopLeftY = FData->HitTestLTPoint.Y - br.Top;
        HitTopRightX = br.Right - FData->HitTestRTPoint.X;
        HitTopRightY = FData->HitTestRTPoint.Y - br.Top;
        HitBottomLeftX = FData->HitTestLBPoint.X - br.Left;
        HitBottomLeftY = br.Bottom - FData->HitTestLBPoint.Y;
        HitBottomRightX = br.Right - FData->HitTestRBPoint.X;
        HitBottomRightY = br.Bottom - FData->HitTestRBPoint.Y;
    }
    if (FData->FullBorder) {
        if (BSF) BSF->IsAlphaIcon = BSF->CheckIconAlpha();
        OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    }
    CreateBlurMaskRegions();
}

TRect TbsFormLayerBorder::OuterRect(int ALeft, int ATop, int AWidth, int AHeight, bool RolledUp) const
{
    if (!FData || !FData->FSourceBitmap) return TRect{};
    const TRect& cl = FData->ClRect;
    const int sw = FData->FSourceBitmap->Width(), sh = FData->FSourceBitmap->Height();
    const int x = ALeft + FData->LeftOffset - cl.Left;
    const int y = ATop + FData->TopOffset - cl.Top;
    const int w = AWidth + FData->WidthOffset + sw - cl.Width();
    const int h = (RolledUp ? FData->RollUpFormHeight : AHeight + FData->HeightOffset) + sh - cl.Height();
    return Rect(x, y, x + w, y + h);
}

TRect TbsFormLayerBorder::FormOuterRect(bool RolledUp) const
{
    if (!FForm) return TRect{};
    return OuterRect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height(),
                     RolledUp && BSF && BSF->LayerFrameRolledUp());
}

// ---- the strips ------------------------------------------------------------------------------

void TbsFormLayerBorder::CreateBorderImages(int AWidth, int AHeight)
{
    if (!FData || !BSF) return;
    TbsBitmap* S = FActive || !FData->FSourceInActiveBitMap ? FData->FSourceBitmap : FData->FSourceInActiveBitMap;
    if (!S) return;
    const int SW = S->Width(), SH = S->Height();
    const TPoint LT = FData->LTPoint, RT = FData->RTPoint, LB = FData->LBPoint, RB = FData->RBPoint;
    FreeImages();
    // Top: the corner pieces copied, the middle stretched.
    const int TH = std::max(LT.Y, RT.Y);
    TopImage = NewImage(AWidth, TH);
    if (HasArea(TopImage)) {
        CopyPixels(TopImage, Rect(0, 0, LT.X, TH), S, Rect(0, 0, LT.X, TH));
        CopyPixels(TopImage, Rect(AWidth + RT.X - SW, 0, AWidth, TH), S, Rect(RT.X, 0, SW, TH));
        CopyPixels(TopImage, Rect(LT.X, 0, AWidth + RT.X - SW, TH), S, Rect(LT.X, 0, RT.X, TH));
        TopImage->CheckingAlphaBlend();
        if (FData->FullBorder) {
            PlaceObjects();
            for (TbsActiveSkinObject* o : BSF->ObjectList)
                if (o->Visible) o->DrawAlpha(TopImage->Canvas(), TopImage);
        }
    }
    // Bottom: cut to what the window leaves when it is lower than both strips.
    const int BH0 = SH - std::min(LB.Y, RB.Y);
    const int BH = TH + BH0 > AHeight ? std::max(0, AHeight - TH) : BH0;
    BottomImage = NewImage(AWidth, BH);
    if (HasArea(BottomImage)) {
        const int sy = SH - BH;  // the strip's lowest rows
        CopyPixels(BottomImage, Rect(0, 0, LB.X, BH), S, Rect(0, sy, LB.X, SH));
        CopyPixels(BottomImage, Rect(AWidth - (SW - RB.X), 0, AWidth, BH), S, Rect(RB.X, sy, SW, SH));
        CopyPixels(BottomImage, Rect(LB.X, 0, AWidth - (SW - RB.X), BH), S, Rect(LB.X, sy, RB.X, SH));
        BottomImage->CheckingAlphaBlend();
    }
    // Sides: the band between the strips, tiled (or stretched) down; a band of no height, or a
    // window with no room between the strips, leaves the side empty.
    const int LH = AHeight - TH - BH;
    const int band = SH - TH - BH0;
    const int lw = FData->ClRect.Left, rw = SW - FData->ClRect.Right;
    LeftImage = NewImage(LH > 0 && band > 0 ? lw : 0, LH > 0 && band > 0 ? LH : 0);
    RightImage = NewImage(LH > 0 && band > 0 ? rw : 0, LH > 0 && band > 0 ? LH : 0);
    if (HasArea(LeftImage)) {
        FillSide(LeftImage, S, 0, TH, band, LH, FData->FullStretch);
        LeftImage->CheckingAlphaBlend();
    }
    if (HasArea(RightImage)) {
        FillSide(RightImage, S, SW - rw, TH, band, LH, FData->FullStretch);
        RightImage->CheckingAlphaBlend();
    }
    for (TbsBitmap* b : {TopImage, BottomImage, LeftImage, RightImage})
        if (HasArea(b)) b->CheckRGBA();
    if (FIsAeroEnabled && FSD && FSD->AeroBlurEnabled() && !BSF->AlphaBlend()) CreateBlurRegions();
}

void TbsFormLayerBorder::PlaceObjects()
{
    TbsSkinForm* f = BSF;
    const int SW = FData->FSourceBitmap->Width();
    const int D = TopImage->Width() - SW;
    const int gap = FSD ? FSD->ButtonsOffset : 0;
    TRect C = FData->CaptionRect;
    C.Right += D;
    int x, top;
    if (FData->ButtonsRect.IsEmpty()) {
        x = C.Right;
        top = FData->ButtonsTopOffset != 0 ? FData->ButtonsTopOffset : C.Top;
    } else {
        x = FData->ButtonsRect.Right + D;
        top = FData->ButtonsRect.Top;
    }
    for (TbsStdCommand cmd : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray}) {
        auto* s = dynamic_cast<TbsSkinStdButtonObject*>(ButtonWithCommand(f, cmd));
        if (!s) continue;
        const int w = s->SkinRect.Width(), h = s->SkinRect.Height();
        s->ObjectRect = Rect(x - w, top, x, top + h);
        x -= w + gap;
    }
    TbsSkinCaptionObject* caption = nullptr;
    for (TbsActiveSkinObject* o : f->ObjectList)
        if ((caption = dynamic_cast<TbsSkinCaptionObject*>(o))) break;
    if (caption) caption->ObjectRect = Rect(C.Left, C.Top, x - gap, C.Bottom);
    TbsSkinStdButtonObject* sys = nullptr;
    for (TbsActiveSkinObject* o : f->ObjectList)
        if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o);
            s && s->Command == cmSysMenu && s->Visible && s->SkinRectInAPicture) {
            sys = s;
            break;
        }
    if (!sys) return;
    int w = sys->SkinRect.Width(), h = sys->SkinRect.Height();
    if (f->ShowIcon()) f->GetIconSize(w, h);
    const TRect& sr = FData->SysMenuButtonRect;
    if (sr.IsEmpty()) {
        const int t = !f->ShowIcon() && FData->SysButtonTopOffset != 0 ? FData->SysButtonTopOffset
                                                                       : C.Top + C.Height() / 2 - h / 2;
        sys->ObjectRect = Rect(C.Left, t, C.Left + w, t + h);
        if (caption) caption->ObjectRect.Left = C.Left + w + gap;
    } else {
        const int t = sr.Top + sr.Height() / 2 - h / 2;
        sys->ObjectRect = Rect(sr.Left, t, sr.Left + w, t + h);
    }
}

void TbsFormLayerBorder::CreateBlurMaskRegions()
{
    DeleteRegions(false);
    if (!FData || !FSD || FData->BlurMaskPictureIndex < 0 ||
        FData->BlurMaskPictureIndex >= static_cast<int>(FSD->FActivePictures.size()))
        return;
    TBitmap* m = FSD->FActivePictures[static_cast<size_t>(FData->BlurMaskPictureIndex)];
    if (!m || m->Empty()) return;
    const int pw = m->Width(), ph = m->Height();
    const TPoint LT = FData->LTPoint, RT = FData->RTPoint, LB = FData->LBPoint, RB = FData->RBPoint;
    auto corner = [&](HRGN& Rgn, const TRect& R, int DX) {
        if (R.Width() <= 0 || R.Height() <= 0) return;
        TBitmap piece(R.Width(), R.Height());
        piece.Canvas()->CopyRect(Rect(0, 0, R.Width(), R.Height()), m->Canvas(), R);
        CreateMaskRegion(Rgn, &piece);
        if (Rgn && DX) OffsetRgn(Rgn, DX, 0);
    };
    corner(DataRgn1, Rect(0, 0, LT.X, LT.Y), 0);
    corner(DataRgn2, Rect(RT.X, 0, pw, RT.Y), RT.X);
    corner(DataRgn3, Rect(0, LB.Y, LB.X, ph), 0);
    corner(DataRgn4, Rect(RB.X, RB.Y, pw, ph), RB.X);
}

void TbsFormLayerBorder::CreateBlurRegions()
{
    DeleteRegions(true);
    if (!FData || !TopImage) return;
    const int D = TopImage->Width() - FData->FSourceBitmap->Width();
    const TRect& in = FData->IntersectBlurMaskRect;
    const TRect& ex = FData->ExcludeBlurMaskRect;
    const TPoint LT = FData->LTPoint, RT = FData->RTPoint, LB = FData->LBPoint, RB = FData->RBPoint;
    auto unite = [](HRGN Dst, HRGN Part, int DX) {
        if (!Part) return;
        HRGN copy = CreateRectRgn(0, 0, 0, 0);
        CombineRgn(copy, Part, nullptr, RGN_COPY);
        OffsetRgn(copy, DX, 0);
        CombineRgn(Dst, Dst, copy, RGN_OR);
        DeleteObject(copy);
    };
    TopRgn = CreateRectRgn(LT.X, in.Top, D + RT.X, ex.Top);
    unite(TopRgn, DataRgn1, 0);
    unite(TopRgn, DataRgn2, D);
    BottomRgn = CreateRectRgn(LB.X, ex.Bottom - LB.Y, D + RB.X, in.Bottom - LB.Y);
    unite(BottomRgn, DataRgn3, 0);
    unite(BottomRgn, DataRgn4, D);
    if (HasArea(LeftImage)) LeftRgn = CreateRectRgn(in.Left, 0, ex.Left, LeftImage->Height());
    if (HasArea(RightImage))
        RightRgn =
            CreateRectRgn(ex.Right - FData->ClRect.Right, 0, in.Right - FData->ClRect.Right, RightImage->Height());
}

// ---- showing ---------------------------------------------------------------------------------

int TbsFormLayerBorder::CurrentAlpha() const
{
    return FActive ? FCurrentAlphaBlendValue : FCurrentInActiveAlphaBlendValue;
}

void TbsFormLayerBorder::Publish(int X, int Y, bool Show)
{
    const BYTE alpha = static_cast<BYTE>(std::clamp(CurrentAlpha(), 0, 255));
    const int th = TopImage ? TopImage->Height() : 0;
    const int bh = BottomImage ? BottomImage->Height() : 0;
    struct Piece {
        TbsFormLayerWindow* W;
        TbsBitmap* B;
        int X, Y;
        bool Side;
    } pieces[] = {{TopBorder, TopImage, X, Y, false},
                  {BottomBorder, BottomImage, X, Y + FHeight - bh, false},
                  {LeftBorder, LeftImage, X, Y + th, true},
                  {RightBorder, RightImage, X + FWidth - (RightImage ? RightImage->Width() : 0), Y + th, true}};
    for (const Piece& p : pieces) {
        if (!p.W) continue;
        HWND h = p.W->Handle();
        if (!HasArea(p.B)) {
            // A side without height (a window lower than both strips) is not shown.
            if (p.Side || Show) ShowWindow(h, SW_HIDE);
            continue;
        }
        p.W->SetBounds(p.X, p.Y, p.B->Width(), p.B->Height());
        UpdateLayeredFromBitmap(p.B, alpha, p.W);
        // Composition is off here, so no blur goes behind the window.
        UINT flags = SWP_NOACTIVATE | SWP_NOSIZE | SWP_NOOWNERZORDER;
        if (Show || p.Side) flags |= SWP_SHOWWINDOW;
        SetWindowPos(h, Show ? HWND_TOP : nullptr, p.X, p.Y, 0, 0, Show ? flags : flags | SWP_NOZORDER);
    }
}

void TbsFormLayerBorder::Show(int X, int Y, int AWidth, int AHeight)
{
    if (!FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    FVisible = true;
    CreateBorderImages(AWidth, AHeight);
    FreeWindows();
    LeftBorder = new TbsFormLayerWindow(this, FForm, bsflLeft);
    RightBorder = new TbsFormLayerWindow(this, FForm, bsflRight);
    TopBorder = new TbsFormLayerWindow(this, FForm, bsflTop);
    BottomBorder = new TbsFormLayerWindow(this, FForm, bsflBottom);
    Publish(X, Y, true);
}

void TbsFormLayerBorder::Hide()
{
    FVisible = false;
    MouseTimer->SetEnabled(false);
    FreeImages();
    FreeWindows();
}

void TbsFormLayerBorder::SetBounds(int X, int Y, int AWidth, int AHeight)
{
    if (!FVisible || !FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateBorderImages(AWidth, AHeight);
    Publish(X, Y, false);
}

void TbsFormLayerBorder::Update(int X, int Y, int AWidth, int AHeight)
{
    if (!FVisible || !FData) return;
    FWidth = AWidth;
    FHeight = AHeight;
    CreateBorderImages(AWidth, AHeight);
    Publish(X, Y, false);
    for (TbsFormLayerWindow* w : {TopBorder, BottomBorder, LeftBorder, RightBorder})
        if (w && w->HandleAllocated()) UpdateWindow(w->Handle());
}

void TbsFormLayerBorder::ShowWithForm()
{
    const TRect r = FormOuterRect(true);
    Show(r.Left, r.Top, r.Width(), r.Height());
}

void TbsFormLayerBorder::UpdateBorder()
{
    const TRect r = FormOuterRect(true);
    Update(r.Left, r.Top, r.Width(), r.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm()
{
    const TRect r = FormOuterRect(true);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm2(int AW, int AH)
{
    if (!FForm) return;
    const TRect r = OuterRect(FForm->Left(), FForm->Top(), AW, AH, BSF && BSF->LayerFrameRolledUp());
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TbsFormLayerBorder::SetBoundsWithForm3(int ALeft, int ATop, int AWidth, int AHeight)
{
    const TRect r = OuterRect(ALeft, ATop, AWidth, AHeight, BSF && BSF->LayerFrameRolledUp());
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TbsFormLayerBorder::MoveWithForm()
{
    if (FForm) MoveWithForm2(FForm->Left(), FForm->Top());
}

void TbsFormLayerBorder::MoveWithForm2(int ALeft, int ATop)
{
    if (!FVisible || !FData || !FForm) return;
    const TRect r = OuterRect(ALeft, ATop, FForm->Width(), FForm->Height(), BSF && BSF->LayerFrameRolledUp());
    const int th = TopImage ? TopImage->Height() : 0;
    const int bh = BottomImage ? BottomImage->Height() : 0;
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    auto move = [&](TbsFormLayerWindow* W, int X, int Y) {
        if (W && W->HandleAllocated()) SetWindowPos(W->Handle(), nullptr, X, Y, 0, 0, flags);
    };
    move(TopBorder, r.Left, r.Top);
    move(BottomBorder, r.Left, r.Top + FHeight - bh);
    if (LeftBorder && IsWindowVisible(LeftBorder->Handle())) move(LeftBorder, r.Left, r.Top + th);
    if (RightBorder && IsWindowVisible(RightBorder->Handle()))
        move(RightBorder, r.Left + FWidth - RightBorder->Width(), r.Top + th);
}

void TbsFormLayerBorder::Draw(TCanvas* C, int X, int Y, int AWidth, int AHeight)
{
    if (!FData || !C) return;
    CreateBorderImages(AWidth, AHeight);
    const int th = HasArea(TopImage) ? TopImage->Height() : 0;
    if (HasArea(TopImage)) TopImage->Draw(C, X, Y);
    if (HasArea(BottomImage)) BottomImage->Draw(C, X, Y + AHeight - BottomImage->Height());
    if (HasArea(LeftImage)) LeftImage->Draw(C, X, Y + th);
    if (HasArea(RightImage)) RightImage->Draw(C, X + AWidth - RightImage->Width(), Y + th);
}

void TbsFormLayerBorder::SetAlphaBlend()
{
    if (!FVisible) return;
    const BYTE alpha = static_cast<BYTE>(std::clamp(CurrentAlpha(), 0, 255));
    auto apply = [&](TbsFormLayerWindow* W, TbsBitmap* B, bool Side) {
        if (!W || !HasArea(B)) return;
        if (Side && !IsWindowVisible(W->Handle())) return;
        UpdateLayeredFromBitmap(B, alpha, W);
    };
    apply(TopBorder, TopImage, false);
    apply(BottomBorder, BottomImage, false);
    apply(LeftBorder, LeftImage, true);
    apply(RightBorder, RightImage, true);
}

void TbsFormLayerBorder::SetAlphaBlend2()
{
    if (!FData || !FVisible) return;
    SetAlphaBlend();
    const TRect r = FormOuterRect(true);
    const int th = TopImage ? TopImage->Height() : 0;
    const int bh = BottomImage ? BottomImage->Height() : 0;
    const UINT flags = SWP_NOACTIVATE | SWP_NOSIZE | SWP_SHOWWINDOW;
    auto place = [&](TbsFormLayerWindow* W, TbsBitmap* B, int X, int Y, bool Side) {
        if (!W || !HasArea(B)) return;
        if (Side && !IsWindowVisible(W->Handle())) return;
        SetWindowPos(W->Handle(), HWND_TOP, X, Y, 0, 0, flags);
    };
    place(TopBorder, TopImage, r.Left, r.Top, false);
    place(BottomBorder, BottomImage, r.Left, r.Top + FHeight - bh, false);
    place(LeftBorder, LeftImage, r.Left, r.Top + th, true);
    place(RightBorder, RightImage, r.Left + FWidth - (RightImage ? RightImage->Width() : 0), r.Top + th, true);
}

void TbsFormLayerBorder::CheckFormAlpha(int AFormAlpha, bool AUpdate)
{
    if (!FData) return;
    // Rounded to the nearest, a half to the even neighbour.
    auto scaled = [&](int A) { return static_cast<int>(std::nearbyint(static_cast<double>(A) * AFormAlpha / 255.0)); };
    FCurrentAlphaBlendValue = scaled(FData->AlphaBlendValue);
    FCurrentInActiveAlphaBlendValue = scaled(FData->InActiveAlphaBlendValue);
    if (AUpdate) SetAlphaBlend();
}

void TbsFormLayerBorder::SetActive(bool AValue, bool AUpdate)
{
    FActive = AValue;
    if (!AValue && BSF) {
        TbsActiveSkinObject* o = ActiveObject >= 0 && ActiveObject < static_cast<int>(BSF->ObjectList.size())
                                     ? BSF->ObjectList[static_cast<size_t>(ActiveObject)]
                                     : nullptr;
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o);
            c && c->MouseCaptureQuickButton >= 0 && c->MouseCaptureQuickButton < BSF->QuickButtons()->Count()) {
            TbsQuickButtonItem* item = BSF->QuickButtons()->Items(c->MouseCaptureQuickButton);
            item->Active = item->Down = false;
        }
        for (TbsActiveSkinObject* x : BSF->ObjectList)
            if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(x)) s->FDown = s->FMouseIn = false;
        MouseCaptureObject = -1;
        TrackObjects(-1, -1, true);
        ActiveObject = -1;
    }
    if (!FVisible || !FData) return;
    if (FData->FullBorder || FData->FSourceInActiveBitMap) SetBoundsWithForm();
    if (AUpdate) SetAlphaBlend2();
}

void TbsFormLayerBorder::ShowWithFormAnimation()
{
    if (!FData || !FForm) return;
    const TRect r = FormOuterRect(false);
    const int target = FCurrentAlphaBlendValue;
    FCurrentAlphaBlendValue = 0;
    Show(r.Left, r.Top, r.Width(), r.Height());
    if (Application) Application->ProcessMessages();
    const int step = std::max(1, target / 15);
    DWORD last = GetTickCount();
    while (FCurrentAlphaBlendValue < target) {
        const DWORD now = GetTickCount();
        if (now - last <= 5) continue;
        last = now;
        FCurrentAlphaBlendValue = std::min(target, FCurrentAlphaBlendValue + step);
        SetAlphaBlend();
    }
}

// ---- objects on the full border --------------------------------------------------------------

void TbsFormLayerBorder::TrackObjects(int X, int Y, bool Force)
{
    TbsSkinForm* f = BSF;
    if (!f || f->ObjectList.empty()) return;
    if (!Force && (!f->FFormActive || f->FSizeMove || f->FBorderLayerChangeSize || f->PreviewMode ||
                   (f->Form()->FormStyle() == fsMDIChild && f->WindowState() == wsMaximized) ||
                   f->Form()->BorderStyle() == bsNone || (FData && !FData->FullBorder)))
        return;
    OldActiveObject = ActiveObject;
    int hit = -1;
    for (size_t i = 0; i < f->ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = f->ObjectList[i];
        if (o->Enabled && o->Visible && PtInRect(o->ObjectRect, Point(X, Y)) &&
            o->PointInMask(X - o->ObjectRect.Left, Y - o->ObjectRect.Top)) {
            hit = static_cast<int>(i);
            break;
        }
    }
    ActiveObject = hit;
    if (MouseCaptureObject != -1 && MouseCaptureObject != hit) ActiveObject = -1;
    if (OldActiveObject == ActiveObject) return;
    auto at = [f](int I) {
        return I >= 0 && I < static_cast<int>(f->ObjectList.size()) ? f->ObjectList[static_cast<size_t>(I)] : nullptr;
    };
    TbsFormHintLink* hint = f->HintLink();
    if (TbsActiveSkinObject* old = at(OldActiveObject); old && old->Enabled && old->Visible) {
        old->MouseLeave();
        if (f->ShowObjectHint() && hint && !old->Hint.empty()) hint->HideHint();
    }
    if (TbsActiveSkinObject* now = at(ActiveObject); now && now->Enabled && now->Visible) {
        now->MouseEnter();
        if (f->ShowObjectHint() && hint && !now->Hint.empty() && f->FFormActive) hint->ActivateHint2(now->Hint);
    }
}

void TbsFormLayerBorder::MouseTimerProc(TObject*)
{
    if (FData && !FData->FullBorder) {
        MouseTimer->SetEnabled(false);
        return;
    }
    if (!TopBorder || !TopBorder->HandleAllocated()) return;
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) == TopBorder->Handle()) return;
    MouseTimer->SetEnabled(false);
    MouseCaptureObject = -1;
    TrackObjects(-1, -1);
}

bool IsFormLayerWindow(TCustomForm* AForm) { return dynamic_cast<TbsFormLayerWindow*>(AForm) != nullptr; }
