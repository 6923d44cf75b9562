// The frame of a skinned form: its geometry for the current size, the non-client painting
// (built-in look without a skin, the skin's frame picture cut into four strips with one), the
// client background, hit testing and the window region cut from the skin's mask.
#include <algorithm>
#include <memory>

#include "platform/win/win_api.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/mask_region.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"
#include "skin/form/animate_object.h"
#include "skin/form/caption_object.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/frame_objects.h"
#include "skin/form/quick_buttons.h"
#include "skin/form/skin_form.h"

namespace {

// A canvas drawing on a DC it does not own.
struct DCCanvas {
    explicit DCCanvas(HDC DC) { Canvas.SetHandle(DC); }
    ~DCCanvas() { Canvas.SetHandle(nullptr); }
    TCanvas Canvas;
};

// A window DC (GetWindowDC) released at the end, or the caller's DC.
struct FrameDC {
    FrameDC(HWND Wnd, HDC Given, bool UseGiven) : Wnd(UseGiven ? nullptr : Wnd)
    {
        DC = UseGiven ? Given : GetWindowDC(Wnd);
    }
    ~FrameDC()
    {
        if (Wnd && DC) ReleaseDC(Wnd, DC);
    }
    HWND Wnd;
    HDC DC;
};

// The caption-button command of a standard button or a button-style animated object.
bool ButtonCommand(TbsActiveSkinObject* O, TbsStdCommand& Command)
{
    if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(O)) {
        Command = s->Command;
        return true;
    }
    if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(O)) {
        Command = a->Command;
        return true;
    }
    return false;
}

constexpr TbsStdCommand kButtonOrder[] = {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray};

void Blit(HDC Target, int X, int Y, TBitmap* B)
{
    if (B->Empty()) return;
    BitBlt(Target, X, Y, B->Width(), B->Height(), B->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace

// ---- 32-bit copies of the skin's pictures ----------------------------------------------------

TBitmap* TbsSkinForm::Picture32(TBitmap* Source, std::unique_ptr<TBitmap>& Copy)
{
    if (!Source || Source->Empty()) return Source;
    if (Source->PixelFormat() == pf32bit) return Source;
    if (!Copy || Copy->Width() != Source->Width() || Copy->Height() != Source->Height()) {
        Copy = std::make_unique<TBitmap>();
        Copy->Assign(Source);
        Copy->SetPixelFormat(pf32bit);
    }
    return Copy.get();
}

void TbsSkinForm::ForgetPictures32()
{
    FPicture32.reset();
    FInActivePicture32.reset();
}

// ---- the built-in look -----------------------------------------------------------------------

void TbsSkinForm::CalcDefRects()
{
    if (ObjectList.empty()) return;
    const int w = FFormWidth ? FFormWidth : FForm->Width();
    const int h = GetDefCaptionHeight(), s = GetDefButtonSize();
    NewDefCaptionRect = Rect(3, 3, w - 3, h);
    int x = w - 3;
    for (TbsStdCommand cmd : kButtonOrder)
        for (TbsActiveSkinObject* o : ObjectList) {
            auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o);
            if (!b || b->Command != cmd || !b->Visible || !b->SkinRectInAPicture) continue;
            b->ObjectRect = Rect(x - s, 4, x, 4 + s);
            x -= s;
            break;
        }
    NewDefCaptionRect.Right = x;
    for (TbsActiveSkinObject* o : ObjectList) {
        auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o);
        if (!b || b->Command != cmSysMenu || !b->Visible) continue;
        int iw = s, ih = s;
        if (FShowIcon) GetIconSize(iw, ih);
        b->ObjectRect = Rect(3, 4, 3 + iw, 4 + ih);
        NewDefCaptionRect.Left = 3 + iw;
        break;
    }
}

void TbsSkinForm::PaintNCDefault(HDC DC, bool AUseExternalDC)
{
    if (FSD && FSD->ChangeSkinDataProcess) return;
    if (!AUseExternalDC && !FForm->HandleAllocated()) return;
    // The six standard buttons first, so their places are known on the very first paint.
    if (ObjectList.empty() && !FSkinSupport) CreateDefaultObjects();
    CalcDefRects();
    const int w = FFormWidth ? FFormWidth : FForm->Width();
    const int ht = FFormHeight ? FFormHeight : FForm->Height();
    const int h = GetDefCaptionHeight();
    if (w - 6 <= 0) return;
    FrameDC target(AUseExternalDC ? nullptr : FForm->Handle(), DC, AUseExternalDC);
    if (!target.DC) return;
    TBitmap caption(w - 6, h);
    TCanvas* c = caption.Canvas();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(Rect(0, 0, w - 6, h));
    c->Font()->Assign(GetFormActive() ? FDefCaptionFont : FDefInActiveCaptionFont);
    if (FSD && FSD->ResourceStrData()) c->Font()->SetCharset(FSD->ResourceStrData()->CharSet());
    String text = CaptionText();
    if (OnCaptionPaint) {
        OnCaptionPaint(c, Rect(NewDefCaptionRect.Left - 3, 0, NewDefCaptionRect.Right - 3, h), GetFormActive());
    } else if (!text.empty()) {
        const int width = NewDefCaptionRect.Right - NewDefCaptionRect.Left + 3;
        CorrectText(c, text, width);
        TRect r = Rect(0, 0, 0, 0);
        DrawWideText(c, text, r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        const int left = NewDefCaptionRect.Left - 3 + width / 2 - (r.Width() + 5) / 2;
        const int top = h / 2 - r.Height() / 2;
        r = Rect(left, top, left + r.Width(), top + r.Height());
        c->FillRect(Rect(r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2));
        c->Brush()->SetStyle(bsClear);
        DrawWideText(c, text, r, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
    }
    for (TbsActiveSkinObject* o : ObjectList) {
        if (!o->Visible) continue;
        const TRect saved = o->ObjectRect;
        o->ObjectRect = Rect(saved.Left - 3, saved.Top - 3, saved.Right - 3, saved.Bottom - 3);
        o->Draw(c, true);
        o->ObjectRect = saved;
    }
    const int saved = SaveDC(target.DC);
    ExcludeClipRect(target.DC, 3, h + 3, w - 3, ht - 3);
    Blit(target.DC, 3, 3, &caption);
    DCCanvas t(target.DC);
    const TColor frames[3] = {cl3DDkShadow, clBtnFace, clBtnFace};
    for (int i = 0; i < 3; ++i) {
        t.Canvas.Brush()->SetColor(frames[i]);
        t.Canvas.FrameRect(Rect(i, i, w - i, ht - i));
    }
    RestoreDC(target.DC, saved);
}

void TbsSkinForm::PaintBGDefault(HDC DC) { PaintBGColor(DC, clBtnFace); }

String TbsSkinForm::CaptionText() const
{
    String text = FForm->Caption();
    if (FForm->FormStyle() == fsMDIForm && FMDIChildMaximized)
        if (TbsSkinForm* child = MaximizedMDIChildSkinForm()) text += L" - [" + child->Form()->Caption() + L"]";
    return text;
}

void TbsSkinForm::PaintMDIBGDefault(HDC DC) { PaintBGColor(DC, clAppWorkSpace); }

void TbsSkinForm::PaintBGColor(HDC DC, TColor Color)
{
    if (!DC) return;
    DCCanvas c(DC);
    c.Canvas.Brush()->SetColor(Color);
    c.Canvas.FillRect(Rect(0, 0, FForm->ClientWidth(), FForm->ClientHeight()));
    DrawLogo(&c.Canvas);
}

// ---- skinned geometry ------------------------------------------------------------------------

void TbsSkinForm::CalcSkinRects()
{
    if (!HasSkin() || !FSD->FPicture) return;
    const int pw = FSD->FPicture->Width(), ph = FSD->FPicture->Height();
    const int dx = (FFormWidth ? FFormWidth : FForm->Width()) - pw;
    const int dy = (FFormHeight ? FFormHeight : FForm->Height()) - ph;
    NewLTPoint = FSD->LTPoint;
    NewRTPoint = Point(FSD->RTPoint.X + dx, FSD->RTPoint.Y);
    NewLBPoint = Point(FSD->LBPoint.X, FSD->LBPoint.Y + dy);
    NewRBPoint = Point(FSD->RBPoint.X + dx, FSD->RBPoint.Y + dy);
    const TRect& cl = FSD->ClRect;
    NewClRect = Rect(cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy);
    NewCaptionRect = FSD->CaptionRect;
    if (!FSD->CaptionRect.IsEmpty()) NewCaptionRect.Right += dx;
    NewButtonsRect = FSD->ButtonsRect;
    NewButtonsInLeft = FSD->CapButtonsInLeft;
    if (!FSD->ButtonsRect.IsEmpty() && FSD->ButtonsRect.Left > pw / 2) {
        NewButtonsRect.Left += dx;
        NewButtonsRect.Right += dx;
    }
    NewButtonsOffset = FSD->ButtonsOffset;
    NewHitTestLTPoint = FSD->HitTestLTPoint;
    NewHitTestRTPoint = Point(FSD->HitTestRTPoint.X + dx, FSD->HitTestRTPoint.Y);
    NewHitTestLBPoint = Point(FSD->HitTestLBPoint.X, FSD->HitTestLBPoint.Y + dy);
    NewHitTestRBPoint = Point(FSD->HitTestRBPoint.X + dx, FSD->HitTestRBPoint.Y + dy);
    const TRect& m = FSD->MaskRectArea;
    NewMaskRectArea = Rect(m.Left, m.Top, m.Right + dx, m.Bottom + dy);
}

void TbsSkinForm::PlaceSkinRect(const TRect& R, TRect& Result)
{
    Result = R;
    if (!HasSkin() || !FSD->FPicture) return;
    const int pw = FSD->FPicture->Width(), ph = FSD->FPicture->Height();
    const TRect lt = Rect(0, 0, FSD->LTPoint.X, FSD->LTPoint.Y);
    const TRect rt = Rect(FSD->RTPoint.X, 0, pw, FSD->RTPoint.Y);
    const TRect lb = Rect(0, FSD->LBPoint.Y, FSD->LBPoint.X, ph);
    const TRect rb = Rect(FSD->RBPoint.X, FSD->RBPoint.Y, pw, ph);
    const int dx = NewRBPoint.X - FSD->RBPoint.X, dy = NewRBPoint.Y - FSD->RBPoint.Y;
    const TPoint tl = Point(R.Left, R.Top), br = Point(R.Right, R.Bottom);
    auto move = [&](int x, int y) { Result = Rect(R.Left + x, R.Top + y, R.Right + x, R.Bottom + y); };
    auto inside = [&](const TRect& a) { return PtInRect(a, tl) && PtInRect(a, br); };
    if (inside(lt)) return;
    if (inside(rt)) return move(dx, 0);
    if (inside(lb)) return move(0, dy);
    if (inside(rb)) return move(dx, dy);
    if (PtInRect(lt, tl) && PtInRect(rb, br)) {
        Result.Right += dx;
        Result.Bottom += dy;
    } else if (PtInRect(lt, tl) && PtInRect(rt, br)) {
        Result.Right += dx;
    } else if (PtInRect(lb, tl) && PtInRect(rb, br)) {
        move(0, dy);
        Result.Right += dx;
    } else if (PtInRect(lt, tl) && PtInRect(lb, br)) {
        Result.Bottom += dy;
    } else if (PtInRect(rt, tl) && PtInRect(rb, br)) {
        move(dx, 0);
        Result.Bottom += dy;
    }
}

void TbsSkinForm::CalcObjectRects()
{
    if (FullLayeredFrameInUse()) return;
    for (TbsActiveSkinObject* o : ObjectList)
        if (!o->SkinRectInAPicture) PlaceSkinRect(o->SkinRect, o->ObjectRect);
    TRect row;
    if (!NewButtonsRect.IsEmpty())
        row = NewButtonsRect;
    else if (!NewCaptionRect.IsEmpty())
        row = NewCaptionRect;
    else
        return;
    TbsSkinCaptionObject* caption = nullptr;
    for (TbsActiveSkinObject* o : ObjectList)
        if ((caption = dynamic_cast<TbsSkinCaptionObject*>(o))) break;
    auto isButton = [](TbsActiveSkinObject* o, TbsStdCommand& cmd) {
        return o->Visible && o->SkinRectInAPicture && ButtonCommand(o, cmd);
    };
    auto sizeOf = [this](TbsActiveSkinObject* o, TbsStdCommand cmd, int& w, int& h) {
        w = o->SkinRect.Width();
        h = o->SkinRect.Height();
        if (cmd == cmSysMenu && FShowIcon) GetIconSize(w, h);
    };
    // The buttons in their order: the five commands (first object of each), then cmDefault.
    std::vector<TbsActiveSkinObject*> order;
    for (TbsStdCommand want : kButtonOrder)
        for (TbsActiveSkinObject* o : ObjectList) {
            TbsStdCommand cmd = cmDefault;
            if (isButton(o, cmd) && cmd == want) {
                order.push_back(o);
                break;
            }
        }
    TbsActiveSkinObject* sysMenu = nullptr;
    for (TbsActiveSkinObject* o : ObjectList) {
        TbsStdCommand cmd = cmDefault;
        if (!isButton(o, cmd)) continue;
        if (cmd == cmDefault) order.push_back(o);
        if (cmd == cmSysMenu && !sysMenu) sysMenu = o;
    }
    const int t = row.Top;
    if (!NewButtonsInLeft) {
        int x = row.Right;
        for (TbsActiveSkinObject* o : order) {
            TbsStdCommand cmd = cmDefault;
            ButtonCommand(o, cmd);
            int w, h;
            sizeOf(o, cmd, w, h);
            o->ObjectRect = Rect(x - w, t, x, t + h);
            x = x - w - NewButtonsOffset;
        }
        if (NewButtonsRect.IsEmpty() && caption) caption->ObjectRect.Right = x + NewButtonsOffset;
        if (sysMenu) {
            int w, h;
            sizeOf(sysMenu, cmSysMenu, w, h);
            x = NewCaptionRect.Left;
            const int top = NewCaptionRect.Height() / 2 + NewCaptionRect.Top - h / 2;
            sysMenu->ObjectRect = Rect(x, top, x + w, top + h);
            x = x + w + NewButtonsOffset;
            if (caption) caption->ObjectRect.Left = x - NewButtonsOffset;
        }
    } else {
        // With a separate buttons rectangle the system-menu button keeps its place.
        int x = row.Left;
        if (NewButtonsRect.IsEmpty() && sysMenu) order.push_back(sysMenu);
        for (TbsActiveSkinObject* o : order) {
            TbsStdCommand cmd = cmDefault;
            ButtonCommand(o, cmd);
            int w, h;
            sizeOf(o, cmd, w, h);
            o->ObjectRect = Rect(x, t, x + w, t + h);
            x = x + w + NewButtonsOffset;
        }
        if (NewButtonsRect.IsEmpty() && caption) caption->ObjectRect.Left = x + NewButtonsOffset;
    }
}

// ---- skinned painting ------------------------------------------------------------------------

void TbsSkinForm::PaintNCSkin(HDC DC, bool AUseExternalDC)
{
    if (!HasSkin() || !FSD->FPicture || FSD->FPicture->Empty()) return;
    if (!AUseExternalDC && !FForm->HandleAllocated()) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (FFormWidth < GetMinWidth() || FFormHeight < GetMinHeight()) return;
    CalcSkinRects();
    CalcObjectRects();
    FrameDC target(AUseExternalDC ? nullptr : FForm->Handle(), DC, AUseExternalDC);
    if (!target.DC) return;
    const bool active = GetFormActive();
    TBitmap* source = active || !FSD->FInActivePicture || FSD->FInActivePicture->Empty()
                          ? Picture32(FSD->FPicture, FPicture32)
                          : Picture32(FSD->FInActivePicture, FInActivePicture32);
    TBitmap top, left, right, bottom;
    CreateSkinBorderImages(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->ClRect, NewLTPoint, NewRTPoint,
                           NewLBPoint, NewRBPoint, NewClRect, &left, &top, &right, &bottom, source,
                           Rect(0, 0, source->Width(), source->Height()), FFormWidth, FFormHeight, FSD->LeftStretch,
                           FSD->TopStretch, FSD->RightStretch, FSD->BottomStretch);
    for (TbsActiveSkinObject* o : ObjectList) {
        if (!o->Visible) continue;
        if (o->ObjectRect.Bottom <= NewClRect.Top) {
            if (!top.Empty()) o->Draw(top.Canvas(), false);
        } else if (!bottom.Empty()) {
            const TRect saved = o->ObjectRect;
            o->ObjectRect =
                Rect(saved.Left, saved.Top - NewClRect.Bottom, saved.Right, saved.Bottom - NewClRect.Bottom);
            o->Draw(bottom.Canvas(), false);
            o->ObjectRect = saved;
        }
    }
    if (RibbonAppMenuCaptionVisible() && !top.Empty())
        DrawRibbonAppMenuCaption(top.Canvas(), Rect(0, 0, FSkinRibbon->AppMenuItemWidth(), top.Height()));
    const int saved = SaveDC(target.DC);
    if (NewClRect.Height() > 0)
        ExcludeClipRect(target.DC, NewClRect.Left, NewClRect.Top, NewClRect.Right, NewClRect.Bottom);
    if (!active && FSD->AutoRenderingInActiveImage) {
        for (TBitmap* b : {&top, &left, &right, &bottom}) {
            if (b->Empty()) continue;
            b->SetPixelFormat(pf24bit);
            std::unique_ptr<TbsEffectBmp> e(TbsEffectBmp::CreateFromhWnd(b->Handle()));
            switch (FSD->InActiveEffect) {
            case ieBrightness: e->ChangeBrightness(0.5); break;
            case ieDarkness: e->ChangeDarkness(0.3); break;
            case ieGrayScale: e->GrayScale(); break;
            case ieNoise: e->AddMonoNoise(50); break;
            case ieSplitBlur: e->SplitBlur(1); break;
            case ieInvert: e->Invert(); break;
            }
            e->Draw(b->Canvas()->Handle(), 0, 0);
        }
    }
    Blit(target.DC, 0, 0, &top);
    Blit(target.DC, 0, top.Height(), &left);
    Blit(target.DC, FFormWidth - right.Width(), top.Height(), &right);
    Blit(target.DC, 0, FFormHeight - bottom.Height(), &bottom);
    RestoreDC(target.DC, saved);
}

void TbsSkinForm::PaintBGTile(HDC DC, TBitmap* Tile, const TRect& SrcRect, bool Stretch, TbsStretchType Type)
{
    const int cw = FForm->ClientWidth(), ch = FForm->ClientHeight();
    const int w = SrcRect.Width(), h = SrcRect.Height();
    DCCanvas c(DC);
    // A background picture without width or height has no tiles to draw.
    if (Tile && !Tile->Empty() && w > 0 && h > 0 && cw > 0 && ch > 0) {
        HDC src = Tile->Canvas()->Handle();
        if (Stretch) {
            const int fw = FFormWidth ? FFormWidth : FForm->Width();
            const int fh = FFormHeight ? FFormHeight : FForm->Height();
            switch (Type) {
            case bsstFull: StretchBlt(DC, 0, 0, cw, ch, src, SrcRect.Left, SrcRect.Top, w, h, SRCCOPY); break;
            case bsstHorz:
                for (int i = 0; i < fw / w + 1; ++i)
                    StretchBlt(DC, i * w, 0, w, fh, src, SrcRect.Left, SrcRect.Top, w, h, SRCCOPY);
                break;
            case bsstVert:
                for (int i = 0; i < fh / h + 1; ++i)
                    StretchBlt(DC, 0, i * h, fw, h, src, SrcRect.Left, SrcRect.Top, w, h, SRCCOPY);
                break;
            }
        } else {
            for (int y = 0; y < ch / h + 1; ++y)
                for (int x = 0; x < cw / w + 1; ++x)
                    BitBlt(DC, x * w, y * h, w, h, src, SrcRect.Left, SrcRect.Top, SRCCOPY);
        }
    }
    DrawLogo(&c.Canvas);
}

void TbsSkinForm::PaintBG(HDC DC)
{
    if (!DC || !HasSkin()) return;
    if (FSD->ClRect.IsEmpty()) return PaintBGColor(DC, clBtnFace);
    PaintBGTile(DC, Picture32(FSD->FPicture, FPicture32), FSD->ClRect, FSD->StretchEffect, FSD->StretchType);
}

void TbsSkinForm::PaintBG2(HDC DC)
{
    if (!DC || !HasSkin()) return;
    const int i = FSD->BGPictureIndex;
    TBitmap* b = i >= 0 && i < static_cast<int>(FSD->FActivePictures.size()) ? FSD->FActivePictures[i] : nullptr;
    PaintBGTile(DC, b, b ? Rect(0, 0, b->Width(), b->Height()) : TRect{}, FSD->StretchEffect, FSD->StretchType);
}

void TbsSkinForm::PaintBG3(HDC DC)
{
    if (!DC || !HasSkin()) return;
    const int i = FSD->MDIBGPictureIndex;
    TBitmap* b = i >= 0 && i < static_cast<int>(FSD->FActivePictures.size()) ? FSD->FActivePictures[i] : nullptr;
    PaintBGTile(DC, b, b ? Rect(0, 0, b->Width(), b->Height()) : TRect{}, FSD->MDIBGStretchEffect,
                FSD->MDIBGStretchType);
}

void TbsSkinForm::DrawSkinObject(TbsActiveSkinObject* AObject)
{
    if (FullLayeredFrameInUse() && FBorderLayer->FVisible) {
        FBorderLayer->UpdateBorder();
        return;
    }
    if (IsMDIChildMaximized() || FForm->BorderStyle() == bsNone || !FForm->HandleAllocated()) return;
    HDC dc = GetWindowDC(FForm->Handle());
    if (!dc) return;
    {
        DCCanvas c(dc);
        AObject->Draw(&c.Canvas, true);
    }
    ReleaseDC(FForm->Handle(), dc);
}

// ---- hit testing -----------------------------------------------------------------------------

void TbsSkinForm::PointToFrame(TPoint& P)
{
    if (IsMDIChild()) {
        POINT p{P.X, P.Y};
        ScreenToClient(FForm->Handle(), &p);
        P = FSkinSupport ? Point(p.x + NewClRect.Left, p.y + NewClRect.Top)
                         : Point(p.x + 3, p.y + GetDefCaptionHeight() + 3);
        return;
    }
    P.X -= FForm->Left();
    P.Y -= FForm->Top();
}

LRESULT TbsSkinForm::DefaultHitTest(TPoint P)
{
    const int w = FForm->Width(), h = FForm->Height(), ch = GetDefCaptionHeight();
    auto inner = [&]() -> LRESULT {
        CalcDefRects();
        if (PtInRect(NewDefCaptionRect, P)) return HTCAPTION;
        if (PtInRect(Rect(3, ch + 3, w - 3, h - 3), P)) return HTCLIENT;
        return HTOBJECT;
    };
    if (FWindowState == wsMaximized || FWindowState == wsMinimized || FRollUpState || !IsSizeable()) return inner();
    if (ActiveObject != -1) return HTOBJECT;
    const int x = P.X, y = P.Y;
    if (x <= 2 && y <= 2) return HTTOPLEFT;
    if (x >= w - 2 && y <= 2) return HTTOPRIGHT;
    if (x <= 2 && y >= h - 2) return HTBOTTOMLEFT;
    if (x >= w - 2 && y >= h - 2) return HTBOTTOMRIGHT;
    if (x <= 2) return HTLEFT;
    if (y <= 2) return HTTOP;
    if (x >= w - 2) return HTRIGHT;
    if (y >= h - 2) return HTBOTTOM;
    return inner();
}

LRESULT TbsSkinForm::SkinHitTest(TPoint P)
{
    const int w = FForm->Width(), h = FForm->Height();
    auto captionTest = [&] {
        for (TbsActiveSkinObject* o : ObjectList) {
            if (!dynamic_cast<TbsSkinCaptionObject*>(o) || !PtInRect(o->ObjectRect, P)) continue;
            TRect r = o->ObjectRect;
            // The quick buttons are not caption: clicks there reach the caption object.
            if (FQuickButtons->Count() > 0 && FQuickImageList && !RibbonAppMenuCaptionVisible())
                r.Left += FQuickButtons->Count() * (FQuickImageList->Width() + 8) + 7;
            return PtInRect(r, P);
        }
        return false;
    };
    auto inner = [&]() -> LRESULT {
        if (PtInRect(NewClRect, P)) return HTCLIENT;
        if (captionTest()) return HTCAPTION;
        return HTOBJECT;
    };
    if (FRollUpState || FWindowStateInit == wsMinimized) return captionTest() ? HTCAPTION : HTOBJECT;
    if (ActiveObject != -1 && !captionTest() && !PtInRect(NewClRect, P) && !FSizeMove) return HTOBJECT;
    if (FWindowStateInit == wsMaximized || !IsSizeable()) return inner();
    const int b = FSD->BorderW;
    const TPoint probes[4] = {Point(P.X - b, P.Y), Point(P.X, P.Y - b), Point(P.X + b, P.Y), Point(P.X, P.Y + b)};
    bool near = false;
    const bool masked = FSD->FMask && !FSD->FMask->Empty();
    if (!masked) {
        for (const TPoint& q : probes)
            if (!PtInRect(Rect(0, 0, w, h), q)) near = true;
    } else if (!PtInRect(NewMaskRectArea, P)) {
        for (const TPoint& q : probes)
            if (!PointInWindowMask(q)) near = true;
    }
    if (!near) return inner();
    const int x = P.X, y = P.Y;
    if (x <= NewHitTestLTPoint.X && y <= NewHitTestLTPoint.Y) return HTTOPLEFT;
    if (x >= NewHitTestRTPoint.X && y <= NewHitTestRTPoint.Y) return HTTOPRIGHT;
    if (x <= NewHitTestLBPoint.X && y >= NewHitTestLBPoint.Y) return HTBOTTOMLEFT;
    if (x >= NewHitTestRBPoint.X && y >= NewHitTestRBPoint.Y) return HTBOTTOMRIGHT;
    if (PtInRect(Rect(NewHitTestLTPoint.X, 0, NewHitTestRTPoint.X, NewClRect.Top), P)) return HTTOP;
    if (PtInRect(Rect(NewHitTestLBPoint.X, NewClRect.Bottom, NewHitTestRBPoint.X, h), P)) return HTBOTTOM;
    if (PtInRect(Rect(0, NewHitTestLTPoint.Y, NewClRect.Left, NewHitTestLBPoint.Y), P)) return HTLEFT;
    if (PtInRect(Rect(NewClRect.Right, NewHitTestRTPoint.Y, w, NewHitTestRBPoint.Y), P)) return HTRIGHT;
    return inner();
}

bool TbsSkinForm::PointInWindowMask(const TPoint& P)
{
    if (PtInRect(NewMaskRectArea, P)) return true;
    auto black = [this](TBitmap* B, int X, int Y) {
        if (B->Empty() || X < 0 || Y < 0 || X >= B->Width() || Y >= B->Height()) return false;
        return (B->PixelArgb(X, Y) & 0xFFFFFF) == static_cast<uint32_t>(BlackColor);
    };
    const TRect& m = NewMaskRectArea;
    if (P.Y <= m.Top) return black(RMTop, P.X, P.Y);
    if (P.Y < m.Bottom && P.X > m.Left) return black(RMRight, P.X - m.Right, P.Y - m.Top);
    if (P.Y < m.Bottom) return black(RMLeft, P.X, P.Y - m.Top);
    return black(RMBottom, P.X, P.Y - m.Bottom);
}

// ---- rebuild and region ----------------------------------------------------------------------

void TbsSkinForm::UpdateSkinFrame(bool AUpdate)
{
    if ((ComponentState() & csDesigning) || !HasSkin()) return;
    if (FSkinnableForm) {
        CalcSkinRects();
        if (AUpdate) CalcObjectRects();
    }
    SetFormRegion(AUpdate);
    if (!FRgn && FSkinnableForm && FForm->BorderStyle() != bsNone && FForm->HandleAllocated())
        SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
    if (FSkinSupport && FSD->StretchEffect) {
        FForm->Repaint();
        SendParentBGChanged();
    }
}

void TbsSkinForm::SetFormRegion(bool AUpdate)
{
    if (!FForm->HandleAllocated()) return;
    HWND wnd = FForm->Handle();
    // A region handed over belongs to the window, which frees it when it is replaced.
    auto give = [&](HRGN Rgn) {
        FRgn = Rgn;
        SetWindowRgn(wnd, Rgn, TRUE);
    };
    const int w = FFormWidth ? FFormWidth : FForm->Width();
    const int h = FFormHeight ? FFormHeight : FForm->Height();
    if (!FSkinnableForm) return give(nullptr);
    if (HasSkin() && FForm->BorderStyle() != bsNone && FullLayeredFrameInUse()) {
        int rh = h;
        if (LayerFrameRolledUp()) {
            rh = FBorderLayer->FData->RollUpFormHeight;
            if (rh == 0) rh = FIsW7 ? 1 : 0;
        }
        return give(CreateRectRgn(0, 0, w, rh));
    }
    if (FForm->BorderStyle() == bsNone) return give(nullptr);
    const bool masked = HasSkin() && FSD->FMask && !FSD->FMask->Empty();
    if (HasSkin() && (!masked || IsMDIChildMaximized())) return give(CreateRectRgn(0, 0, w, h));
    if (!HasSkin()) {
        for (TBitmap* b : {RMTop, RMLeft, RMRight, RMBottom}) b->SetSize(0, 0);
        return give(CreateRectRgn(0, 0, w, h));
    }
    if (!AUpdate) {
        HRGN rgn = nullptr;
        CreateMaskRegion(rgn, FSD->FMask);
        if (rgn) give(rgn);
        return;
    }
    for (TBitmap* b : {RMTop, RMLeft, RMRight, RMBottom}) b->SetSize(0, 0);
    CreateSkinMask(FSD->LTPoint, FSD->RTPoint, FSD->LBPoint, FSD->RBPoint, FSD->MaskRectArea, NewLTPoint, NewRTPoint,
                   NewLBPoint, NewRBPoint, NewMaskRectArea, FSD->FMask, RMTop, RMLeft, RMRight, RMBottom, w, h);
    HRGN rgn = CreateRectRgn(NewMaskRectArea.Left, NewMaskRectArea.Top, NewMaskRectArea.Right, NewMaskRectArea.Bottom);
    const struct {
        TBitmap* Strip;
        int X, Y;
    } strips[] = {{RMTop, 0, 0},
                  {RMBottom, 0, NewMaskRectArea.Bottom},
                  {RMLeft, 0, NewMaskRectArea.Top},
                  {RMRight, NewMaskRectArea.Right, NewMaskRectArea.Top}};
    for (const auto& s : strips) {
        if (s.Strip->Empty()) continue;
        std::vector<uint8_t> data;
        const int size = MaskToRegionData(s.Strip, s.X, s.Y, data);
        if (size <= 0) continue;
        HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(size), reinterpret_cast<const RGNDATA*>(data.data()));
        if (!part) continue;
        CombineRgn(rgn, rgn, part, RGN_OR);
        DeleteObject(part);
    }
    give(rgn);
}

// ---- the ribbon's application-menu caption ---------------------------------------------------

bool TbsSkinForm::RibbonAppMenuCaptionVisible() const
{
    if (!FSkinRibbon || !FSkinRibbon->HasAppMenu() || FullLayeredFrameInUse()) return false;
    return FSkinRibbon->AppMenuVisible() && FSkinRibbon->CanDrawAppMenuCaption();
}

void TbsSkinForm::DrawRibbonAppMenuCaption(TCanvas* Canvas, const TRect& R)
{
    if (FSkinRibbon && FSkinRibbon->HasAppMenu()) FSkinRibbon->DrawAppMenuCaption(Canvas, R);
}

int TbsSkinForm::RibbonAppMenuCaptionOffset() const
{
    return FSkinRibbon && FSkinRibbon->HasAppMenu() ? FSkinRibbon->AppMenuCaptionOffset() : 0;
}
