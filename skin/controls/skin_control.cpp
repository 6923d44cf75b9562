#include "skin/controls/skin_control.h"

#include <vector>

#include "skin/core/control_records.h"
#include "skin/core/marks.h"
#include "skin/core/mask_region.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"

int CentredTop(TWinControl* Parent, int ATop, int AHeight)
{
    TRect r;
    if (auto* p = dynamic_cast<TbsCentringParent*>(Parent); p && p->CentresChildren(r))
        return r.Top + RectHeight(r) / 2 - AHeight / 2;
    return ATop;
}

// ---- TbsSkinGeometry ----

void TbsSkinGeometry::CopyGeometry(const TbsDataSkinCustomControl* Rec)
{
    LTPt = Rec->LTPoint;
    RTPt = Rec->RTPoint;
    LBPt = Rec->LBPoint;
    RBPt = Rec->RBPoint;
    SkinRect = Rec->SkinRect;
    ClRect = Rec->ClRect;
    StretchEffect = Rec->StretchEffect;
    StretchType = Rec->StretchType;
    LeftStretch = Rec->LeftStretch;
    TopStretch = Rec->TopStretch;
    RightStretch = Rec->RightStretch;
    BottomStretch = Rec->BottomStretch;
    ResizeMode = Rec->ResizeMode();
}

void TbsSkinGeometry::CalcGeometry(int& AWidth, int& AHeight)
{
    if (ResizeMode == -1) return;
    const int sw = RectWidth(SkinRect), sh = RectHeight(SkinRect);
    if (ResizeMode == 0) {
        AWidth = sw;
        AHeight = sh;
        NewClRect = ClRect;
        return;
    }
    const int dw = AWidth - sw, dh = AHeight - sh;
    NewLTPoint = LTPt;
    switch (ResizeMode) {
    case 1:
        NewRTPoint = Point(RTPt.X + dw, RTPt.Y);
        NewLBPoint = Point(LBPt.X, LBPt.Y + dh);
        NewRBPoint = Point(RBPt.X + dw, RBPt.Y + dh);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh);
        break;
    case 2:
        AHeight = sh;
        NewRTPoint = Point(RTPt.X + dw, RTPt.Y);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom);
        break;
    case 3:
        AWidth = sw;
        NewLBPoint = Point(LBPt.X, LBPt.Y + dh);
        NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right, ClRect.Bottom + dh);
        break;
    default: break;
    }
}

void TbsSkinGeometry::ComposeSkinImage(TBitmap* B, TBitmap* SB, const TRect& R, int W, int H)
{
    switch (ResizeMode) {
    case 0:
        B->SetSize(RectWidth(R), RectHeight(R));
        if (SB && !B->Empty()) B->Canvas()->CopyRect(Rect(0, 0, B->Width(), B->Height()), SB->Canvas(), R);
        break;
    case 1:
        CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, B,
                        SB, R, W, H, true, LeftStretch, TopStretch, RightStretch, BottomStretch, StretchEffect,
                        StretchType);
        break;
    case 2: CreateHSkinImage(LTPt.X, RectWidth(SkinRect) - RTPt.X, B, SB, R, W, H, StretchEffect); break;
    case 3: CreateVSkinImage(LTPt.Y, RectHeight(SkinRect) - LBPt.Y, B, SB, R, W, H, StretchEffect); break;
    default: break;
    }
}

// ---- TbsSkinControl ----

TbsSkinControl::TbsSkinControl(TComponent* AOwner) : TCustomControl(AOwner), TbsSkinLink(this) {}

void TbsSkinControl::SetSkinData(TbsSkinData* Value)
{
    if (StoreSkinData(Value)) ChangeSkinData();
}

void TbsSkinControl::SetSkinDataName(const String& Value) { FSkinDataName = Value; }

void TbsSkinControl::ChangeSkinData()
{
    GetSkinData();
    Repaint();
}

void TbsSkinControl::BeforeChangeSkinData() { FIndex = -1; }

void TbsSkinControl::Paint() { PaintLook(Canvas(), Width(), Height()); }

void TbsSkinControl::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_PAINT:
        FromWMPaint = true;
        try {
            TCustomControl::Dispatch(m);
        } catch (...) {
            FromWMPaint = false;
            throw;
        }
        FromWMPaint = false;
        return;
    case WM_ERASEBKGND: m.Result = 1; return;  // the paint covers the whole control
    case WM_SKIN_PARENTBGCHANGED: CheckParentBackground(); return;
    default: TCustomControl::Dispatch(m);
    }
}

void TbsSkinControl::Notification(TComponent* AComponent, TOperation Operation)
{
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove) ForgetRemoved(AComponent);
}

// ---- TbsSkinDefaults ----

TbsSkinDefaults::TbsSkinDefaults(TControl* Control) : FControl(Control)
{
    FDefaultFont = new TFont;
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
    FDefaultFont->OnChange = [this](TObject*) { DefaultFontChanged(); };
}

TbsSkinDefaults::~TbsSkinDefaults()
{
    FDefaultFont->OnChange = nullptr;
    delete FDefaultFont;
}

void TbsSkinDefaults::DefaultFontChanged()
{
    ApplyDefaultFont();
    if (!HasSkinRecord()) FControl->Repaint();
}

void TbsSkinDefaults::SetDefaultFont(TFont* Value)
{
    FDefaultFont->Assign(Value);
    ApplyDefaultFont();
}

void TbsSkinDefaults::SetDefaultWidth(int Value)
{
    FDefaultWidth = Value;
    if (!HasSkinRecord() && Value > 0) FControl->SetWidth(Value);
}

void TbsSkinDefaults::SetDefaultHeight(int Value)
{
    FDefaultHeight = Value;
    if (!HasSkinRecord() && Value > 0) FControl->SetHeight(Value);
}

void TbsSkinDefaults::ApplyDefaultSize()
{
    if (FDefaultWidth > 0) FControl->SetWidth(FDefaultWidth);
    if (FDefaultHeight > 0) FControl->SetHeight(FDefaultHeight);
}


// ---- TbsSkinCustomControl ----

TbsSkinCustomControl::TbsSkinCustomControl(TComponent* AOwner) : TbsSkinControl(AOwner), TbsSkinDefaults(this) {}

void TbsSkinCustomControl::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    if (FIndex == -1) return;
    auto* rec = dynamic_cast<TbsDataSkinCustomControl*>(Record());
    if (!rec) {
        ResizeMode = 0;
        Picture = MaskPicture = nullptr;
        return;
    }
    CopyGeometry(rec);
    Picture = ActivePicture(rec->PictureIndex);
    MaskPicture = ActivePicture(rec->MaskPictureIndex);
}

void TbsSkinCustomControl::CalcSize(int& AWidth, int& AHeight)
{
    if (FIndex != -1) CalcGeometry(AWidth, AHeight);
}

void TbsSkinCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    const bool changed = (AWidth != Width() || AHeight != Height()) && FIndex != -1;
    if (changed) {
        CalcSize(AWidth, AHeight);
        if (ResizeMode == 0) NewClRect = ClRect;
    }
    ATop = CentredTop(Parent(), ATop, AHeight);
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (changed) {
        SetControlRegion();
        Repaint();
    }
    if (FIndex != -1 && StretchEffect) CheckControlsBackground();
}

void TbsSkinCustomControl::ChangeSkinData()
{
    GetSkinData();
    if (FIndex == -1) {
        ApplyDefaultSize();
    } else {
        int w = Width(), h = Height();
        CalcSize(w, h);
        if (w != Width() || h != Height()) {
            // The size change composes, shapes and repaints.
            SetBounds(Left(), Top(), w, h);
            return;
        }
    }
    SetControlRegion();
    Repaint();
}

void TbsSkinCustomControl::SetControlRegion()
{
    if (!Parent()) return;
    // No mask, or a record without a look (empty SkinRect): the window gets no region.
    if (!MaskPicture || FIndex == -1 || ResizeMode == -1) {
        if (FRgn) {
            if (HandleAllocated()) SetWindowRgn(Handle(), nullptr, TRUE);
            FRgn = nullptr;
        }
        return;
    }
    // A region needs the window; CreateWnd sets it when the window is made later.
    if (!HandleAllocated()) return;
    int w = Width(), h = Height();
    CalcSize(w, h);
    const int sw = RectWidth(SkinRect), sh = RectHeight(SkinRect);
    HRGN rgn = nullptr;
    switch (ResizeMode) {
    case 0: CreateMaskRegion(rgn, MaskPicture); break;
    case 1:
        CreateSkinRegion(rgn, LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                         MaskPicture, Width(), Height());
        break;
    case 2: {
        TPoint r = Point(RTPt.X + Width() - sw, RTPt.Y);
        CreateSkinRegion(rgn, LTPt, RTPt, LTPt, RTPt, ClRect, LTPt, r, LTPt, r, NewClRect, MaskPicture, Width(),
                         Height());
        break;
    }
    case 3: {
        TPoint b = Point(LBPt.X, LBPt.Y + Height() - sh);
        CreateSkinRegion(rgn, LTPt, LTPt, LBPt, LBPt, ClRect, LTPt, LTPt, b, b, NewClRect, MaskPicture, Width(),
                         Height());
        break;
    }
    default: break;
    }
    // The window takes the region (and frees the one it replaces); FRgn only remembers that
    // one is set.
    SetWindowRgn(Handle(), rgn, TRUE);
    FRgn = rgn;
}

void TbsSkinCustomControl::CreateWnd()
{
    TbsSkinControl::CreateWnd();
    FRgn = nullptr;  // the old window took its region with it
    SetControlRegion();
}

void TbsSkinCustomControl::CheckControlsBackground()
{
    std::vector<TControl*> children;
    for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
    for (TControl* c : children) {
        if (auto* w = dynamic_cast<TWinControl*>(c)) {
            if (w->HandleAllocated())
                SendMessageW(w->Handle(), WM_SKIN_PARENTBGCHANGED, 0, 0);
            else
                w->Perform(WM_SKIN_PARENTBGCHANGED, 0, 0);
        } else if (dynamic_cast<TGraphicControl*>(c)) {
            c->Perform(WM_SKIN_PARENTBGCHANGED, 0, 0);
        }
    }
}

void TbsSkinCustomControl::CreateSkinControlImage(TBitmap* B, TBitmap* SB, const TRect& R)
{
    if (ResizeMode == 1 && FForceBackground) return;  // the forced background paint draws this look
    ComposeSkinImage(B, SB, R, Width(), Height());
}

void TbsSkinCustomControl::MapSkinRect(const TRect& R, TRect& R2)
{
    const int sw = RectWidth(SkinRect), sh = RectHeight(SkinRect);
    const int dw = Width() - sw, dh = Height() - sh;
    R2 = R;
    switch (ResizeMode) {
    case 1: {
        const TRect lt = Rect(0, 0, LTPt.X, LTPt.Y), rt = Rect(RTPt.X, 0, sw, RTPt.Y);
        const TRect lb = Rect(0, LBPt.Y, LBPt.X, sh), rb = Rect(RBPt.X, RBPt.Y, sw, sh);
        const TPoint tl = Point(R.Left, R.Top), br = Point(R.Right, R.Bottom);
        if (RectInsideRect(R, lt)) return;
        if (RectInsideRect(R, rt)) {
            R2 = Rect(R.Left + dw, R.Top, R.Right + dw, R.Bottom);
        } else if (RectInsideRect(R, lb)) {
            R2 = Rect(R.Left, R.Top + dh, R.Right, R.Bottom + dh);
        } else if (RectInsideRect(R, rb)) {
            R2 = Rect(R.Left + dw, R.Top + dh, R.Right + dw, R.Bottom + dh);
        } else if (PointInsideRect(lt, tl) && PointInsideRect(rb, br)) {
            R2 = Rect(R.Left, R.Top, R.Right + dw, R.Bottom + dh);
        } else if (PointInsideRect(lt, tl) && PointInsideRect(rt, br)) {
            R2 = Rect(R.Left, R.Top, R.Right + dw, R.Bottom);
        } else if (PointInsideRect(lb, tl) && PointInsideRect(rb, br)) {
            R2 = Rect(R.Left, R.Top + dh, R.Right + dw, R.Bottom + dh);
        } else if (PointInsideRect(lt, tl) && PointInsideRect(lb, br)) {
            R2 = Rect(R.Left, R.Top, R.Right, R.Bottom + dh);
        } else if (PointInsideRect(rt, tl) && PointInsideRect(rb, br)) {
            R2 = Rect(R.Left + dw, R.Top, R.Right + dw, R.Bottom + dh);
        }
        break;
    }
    case 2:
        if (R.Left <= LTPt.X && R.Right >= RTPt.X)
            R2.Right = R.Right + dw;
        else if (R.Left >= RTPt.X && R.Right > RTPt.X)
            R2 = Rect(R.Left + dw, R.Top, R.Right + dw, R.Bottom);
        break;
    case 3:
        if (R.Top <= LTPt.Y && R.Bottom >= LBPt.Y)
            R2.Bottom = R.Bottom + dh;
        else if (R.Top >= LBPt.Y && R.Bottom > LBPt.Y)
            R2 = Rect(R.Left, R.Top + dh, R.Right, R.Bottom + dh);
        break;
    default: break;
    }
}

void TbsSkinCustomControl::CreateControlDefaultImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetColor(clBtnFace);
    B->Canvas()->FillRect(Rect(0, 0, B->Width(), B->Height()));
}

void TbsSkinCustomControl::CreateControlSkinImage(TBitmap* B) { CreateSkinControlImage(B, Picture, SkinRect); }

void TbsSkinCustomControl::Paint()
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    int w = Width(), h = Height();
    CalcSize(w, h);
    if (FIndex == -1 || !FForceBackground || ResizeMode != 1)
        TbsSkinControl::Paint();
    else
        PaintForcedBackground();
}

void TbsSkinCustomControl::PaintForcedBackground()
{
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect,
                           &left, &top, &right, &bottom, Picture, SkinRect, Width(), Height(), LeftStretch, TopStretch,
                           RightStretch, BottomStretch);
    CreateControlSkinImage(&top);
    TCanvas* c = Canvas();
    const int cw = RectWidth(ClRect), ch = RectHeight(ClRect);
    // A client piece without width or height has nothing to tile or stretch.
    if (FDrawbackground && Picture && cw > 0 && ch > 0) {
        TBitmap piece(cw, ch);
        piece.Canvas()->CopyRect(Rect(0, 0, cw, ch), Picture->Canvas(),
                                 Bounds(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, cw, ch));
        HDC dc = c->Handle();
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
        const int nw = RectWidth(NewClRect), nh = RectHeight(NewClRect);
        if (StretchEffect) {
            if (nw > 0 && nh > 0) {
                switch (StretchType) {
                case bsstFull: c->StretchDraw(NewClRect, &piece); break;
                case bsstHorz:
                    for (int k = 0; k <= nw / cw; ++k)
                        c->StretchDraw(Bounds(NewClRect.Left + k * cw, NewClRect.Top, cw, nh), &piece);
                    break;
                case bsstVert:
                    for (int k = 0; k <= nh / ch; ++k)
                        c->StretchDraw(Bounds(NewClRect.Left, NewClRect.Top + k * ch, nw, ch), &piece);
                    break;
                }
            }
        } else if (nw >= 0 && nh >= 0) {
            for (int i = 0; i <= nw / cw; ++i)
                for (int j = 0; j <= nh / ch; ++j) c->Draw(NewClRect.Left + i * cw, NewClRect.Top + j * ch, &piece);
        }
        RestoreDC(dc, saved);
    }
    c->Draw(0, 0, &top);
    c->Draw(0, top.Height(), &left);
    c->Draw(Width() - right.Width(), top.Height(), &right);
    c->Draw(0, Height() - bottom.Height(), &bottom);
}
