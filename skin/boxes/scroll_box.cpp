#include "skin/boxes/scroll_box.h"

#include <algorithm>

#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/marks.h"
#include "skin/core/panel_records.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"

TbsSkinScrollBox::TbsSkinScrollBox(TComponent* AOwner) : TbsSkinCustomControl(AOwner)
{
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls);
    SetControlStyle(style);
    FSkinDataName = L"scrollbox";
    SetBounds(Left(), Top(), 150, 150);
}

void TbsSkinScrollBox::SetVScrollBar(TbsSkinScrollBar* Value)
{
    if (FVScrollBar) FVScrollBar->RemoveFreeNotification(this);
    FVScrollBar = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    Value->SetCanFocused(false);
    LinkExternalScrollBar(Value, [this](TObject* S) { VScrollBarChanged(S); });
    Value->OnLastChange = [this](TObject*) { Invalidate(); };
    GetVRange();
}

void TbsSkinScrollBox::SetHScrollBar(TbsSkinScrollBar* Value)
{
    if (FHScrollBar) FHScrollBar->RemoveFreeNotification(this);
    FHScrollBar = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    Value->SetCanFocused(false);
    LinkExternalScrollBar(Value, [this](TObject* S) { HScrollBarChanged(S); });
    Value->OnLastChange = [this](TObject*) { Invalidate(); };
    GetHRange();
}

void TbsSkinScrollBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinCustomControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FVScrollBar) FVScrollBar = nullptr;
    if (AComponent == FHScrollBar) FHScrollBar = nullptr;
}

void TbsSkinScrollBox::FrameChanged()
{
    if (HandleAllocated())
        SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
}

void TbsSkinScrollBox::SetBorderStyle(TbsSkinBorderStyle Value)
{
    if (FBorderStyle == Value) return;
    FBorderStyle = Value;
    FrameChanged();
}

// ---- scrolling ----

void TbsSkinScrollBox::VScrollBarChanged(TObject*)
{
    if (!FVScrollBar) return;
    ScrollContentV(FVScrollBar->Position() - FOldVScrollBarPos);
    FOldVScrollBarPos = FVScrollBar->Position();
}

void TbsSkinScrollBox::HScrollBarChanged(TObject*)
{
    if (!FHScrollBar) return;
    ScrollContentH(FHScrollBar->Position() - FOldHScrollBarPos);
    FOldHScrollBarPos = FHScrollBar->Position();
}

void TbsSkinScrollBox::ScrollContentV(int Delta)
{
    ScrollBy(0, -Delta);
    // A stretched background does not survive moved pixels.
    if (FIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::ScrollContentH(int Delta)
{
    ScrollBy(-Delta, 0);
    if (FIndex != -1 && StretchEffect) Repaint();
}

void TbsSkinScrollBox::UpDateScrollRange()
{
    GetHRange();
    GetVRange();
}

void TbsSkinScrollBox::GetVRange() { GetRange(true); }

void TbsSkinScrollBox::GetHRange() { GetRange(false); }

void TbsSkinScrollBox::GetRange(bool V)
{
    TbsSkinScrollBar* bar = V ? FVScrollBar : FHScrollBar;
    if (!bar || FInCheckScrollBars || !Parent()) return;
    int& sizeOffset = V ? FVSizeOffset : FHSizeOffset;
    int& oldPos = V ? FOldVScrollBarPos : FOldHScrollBarPos;
    auto scroll = [&](int Delta) { V ? ScrollContentV(Delta) : ScrollContentH(Delta); };
    const TRect client = GetClientRect();
    const int page = V ? client.Height() : client.Width();
    int far = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Visible()) far = std::max(far, V ? c->Top() + c->Height() : c->Left() + c->Width());
    }
    const int p = bar->Position();
    const int content = p + far;
    int show = -1;  // unchanged
    if (content > page) {
        if (!bar->Visible()) show = 1;
        if (p > 0 && far < page && sizeOffset > 0) {
            // Grown while scrolled: pull the content into the new room.
            sizeOffset = std::min(sizeOffset, p);
            bar->SetRange(0, content - 1, p - sizeOffset, page);
            scroll(-sizeOffset);
        } else if (sizeOffset == 0 && content - 1 < bar->Max() && p > 0 && far < page) {
            // The content shrank while scrolled.
            const int d = std::min(page - far, p);
            scroll(-d);
            bar->SetRange(0, content - 1, p - d, page);
        } else {
            bar->SetRange(0, content - 1, p, page);
        }
        sizeOffset = 0;
        oldPos = bar->Position();
    } else {
        if (p > 0) scroll(-p);
        sizeOffset = 0;
        oldPos = 0;
        bar->SetRange(0, 0, 0, 0);
        if (bar->Visible()) show = 0;
    }
    if (FHScrollBar && FVScrollBar && FHScrollBar->Both() != FVScrollBar->Visible())
        FHScrollBar->SetBoth(FVScrollBar->Visible());
    if (show == -1) return;
    FInCheckScrollBars = true;
    try {
        bar->SetVisible(show == 1);
        if (Align() != alNone) {
            if (Parent()) Parent()->Realign();
            Realign();
        }
    } catch (...) {
        FInCheckScrollBars = false;
        throw;
    }
    FInCheckScrollBars = false;
}

void TbsSkinScrollBox::VScroll(int APosition)
{
    if (!FVScrollBar || FVScrollBar->PageSize() == 0) return;
    FVScrollBar->SetPosition(std::min(APosition, FVScrollBar->Max() - FVScrollBar->PageSize()));
}

void TbsSkinScrollBox::HScroll(int APosition)
{
    if (!FHScrollBar || FHScrollBar->PageSize() == 0) return;
    FHScrollBar->SetPosition(APosition);
}

void TbsSkinScrollBox::ScrollToControl(TControl* C)
{
    if (!C || C->Parent() != this) return;
    if (FHScrollBar && FHScrollBar->Visible()) {
        if (C->Left() < 0)
            FHScrollBar->SetPosition(FHScrollBar->Position() + C->Left() - FHSizeOffset);
        else if (C->Left() + C->Width() > Width())
            FHScrollBar->SetPosition(FHScrollBar->Position() + C->Left() + C->Width() - FHSizeOffset);
    }
    if (FVScrollBar && FVScrollBar->Visible()) {
        if (C->Top() < 0)
            FVScrollBar->SetPosition(FVScrollBar->Position() + C->Top() - FVSizeOffset);
        else if (C->Top() + C->Height() > Height())
            FVScrollBar->SetPosition(FVScrollBar->Position() + C->Top() + C->Height() - FVSizeOffset);
    }
}

void TbsSkinScrollBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    const int oldW = Width(), oldH = Height();
    TbsSkinCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    FHSizeOffset = oldW > 0 && Width() > oldW ? Width() - oldW : 0;
    if (Align() != alNone) GetHRange();
    FVSizeOffset = oldH > 0 && Height() > oldH ? Height() - oldH : 0;
    if (Align() != alNone) GetVRange();
}

void TbsSkinScrollBox::AdjustClientRect(TRect& R)
{
    const TRect client = GetClientRect();
    const bool h = FHScrollBar && FHScrollBar->Visible();
    const bool v = FVScrollBar && FVScrollBar->Visible();
    R.Left = h ? -FHScrollBar->Position() : 0;
    R.Top = v ? -FVScrollBar->Position() : 0;
    R.Right = R.Left + (h ? std::max(FHScrollBar->Max(), client.Width()) : client.Width());
    R.Bottom = R.Top + (v ? std::max(FVScrollBar->Max(), client.Height()) : client.Height());
}

// ---- skin ----

void TbsSkinScrollBox::GetSkinData()
{
    TbsSkinCustomControl::GetSkinData();
    BGPictureIndex = -1;
    if (auto* r = dynamic_cast<TbsDataSkinScrollBoxControl*>(Record())) BGPictureIndex = r->BGPictureIndex;
}

void TbsSkinScrollBox::ChangeSkinData()
{
    TbsSkinCustomControl::ChangeSkinData();
    FrameChanged();
    // The bars align beside the box again.
    for (TbsSkinScrollBar* bar : {FHScrollBar, FVScrollBar})
        if (bar) {
            const TAlign a = bar->Align();
            bar->SetAlign(alNone);
            bar->SetAlign(a);
        }
}

void TbsSkinScrollBox::CreateParams(TCreateParams& Params)
{
    TbsSkinCustomControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsSkinScrollBox::CreateControlDefaultImage(TBitmap* B)
{
    B->Canvas()->Brush()->SetColor(Color());
    B->Canvas()->FillRect(GetClientRect());
}

void TbsSkinScrollBox::Paint()
{
    GetSkinData();
    if (FIndex == -1) {
        TbsSkinCustomControl::Paint();
        return;
    }
    const TRect client = GetClientRect();
    const int cw = client.Width(), ch = client.Height();
    if (cw < 1 || ch < 1) return;
    TCanvas* c = Canvas();
    HDC dc = c->Handle();
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, 0, 0, cw, ch);
    TBitmap* pic = BGPictureIndex != -1 ? ActivePicture(BGPictureIndex) : nullptr;
    TBitmap part;
    int tileW = 0, tileH = 0;  // the area the plain tiling covers
    if (BGPictureIndex != -1) {
        tileW = Width();
        tileH = Height();
    } else if (Picture && !IsNullRect(ClRect)) {
        const TRect src = Rect(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, SkinRect.Left + ClRect.Right,
                               SkinRect.Top + ClRect.Bottom);
        part.SetSize(RectWidth(ClRect), RectHeight(ClRect));
        part.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), Picture->Canvas(), src);
        pic = &part;
        tileW = cw;
        tileH = ch;
    }
    if (pic && pic->Width() > 0 && pic->Height() > 0) {
        const int pw = pic->Width(), ph = pic->Height();
        if (StretchEffect && Width() > 0 && Height() > 0) {
            switch (StretchType) {
            case bsstFull: c->StretchDraw(Rect(0, 0, Width(), Height()), pic); break;
            case bsstHorz: {
                TBitmap strip(pw, Height());
                strip.Canvas()->StretchDraw(Rect(0, 0, pw, Height()), pic);
                for (int i = 0; i <= Width() / pw; ++i) c->Draw(i * pw, 0, &strip);
                break;
            }
            case bsstVert: {
                TBitmap strip(Width(), ph);
                strip.Canvas()->StretchDraw(Rect(0, 0, Width(), ph), pic);
                for (int j = 0; j <= Height() / ph; ++j) c->Draw(0, j * ph, &strip);
                break;
            }
            }
        } else {
            for (int j = 0; j <= tileH / ph; ++j)
                for (int i = 0; i <= tileW / pw; ++i) c->Draw(i * pw, j * ph, pic);
        }
    }
    RestoreDC(dc, saved);
}

void TbsSkinScrollBox::PaintSkinFrame(TCanvas* C)
{
    GetSkinData();
    if (FIndex == -1) {
        if (FBorderStyle == bvNone) return;
        C->Brush()->SetStyle(bsClear);
        const TRect r = Rect(0, 0, Width(), Height());
        switch (FBorderStyle) {
        case bvFrame: Draw3DFrame(C, r, clBtnShadow, clBtnShadow); break;
        case bvRaised: Draw3DFrame(C, r, clBtnHighlight, clBtnShadow); break;
        case bvLowered: Draw3DFrame(C, r, clBtnShadow, clBtnHighlight); break;
        default: break;
        }
        return;
    }
    if (!Picture) return;
    const int dw = Width() - RectWidth(SkinRect), dh = Height() - RectHeight(SkinRect);
    TBitmap left, top, right, bottom;
    CreateSkinBorderImages(LTPt, RTPt, LBPt, RBPt, ClRect, LTPt, Point(RTPt.X + dw, RTPt.Y), Point(LBPt.X, LBPt.Y + dh),
                           Point(RBPt.X + dw, RBPt.Y + dh),
                           Rect(ClRect.Left, ClRect.Top, ClRect.Right + dw, ClRect.Bottom + dh), &left, &top, &right,
                           &bottom, Picture, SkinRect, Width(), Height(), LeftStretch, TopStretch, RightStretch,
                           BottomStretch);
    C->Draw(0, 0, &top);
    C->Draw(0, top.Height(), &left);
    C->Draw(Width() - right.Width(), top.Height(), &right);
    C->Draw(0, Height() - bottom.Height(), &bottom);
}

void TbsSkinScrollBox::WndProc(TMessage& m)
{
    if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && FCanFocused && !(ComponentState() & csDesigning) &&
        !Focused()) {
        FClicksDisabled = true;
        if (CanFocus()) SetFocus();
        FClicksDisabled = false;
        if (!Focused()) return;
    } else if (m.Msg == CN_COMMAND && FClicksDisabled) {
        return;
    }
    TbsSkinCustomControl::WndProc(m);
}

void TbsSkinScrollBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        if (HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 1, 0);
        return;
    case WM_WINDOWPOSCHANGING:
        TbsSkinCustomControl::Dispatch(m);
        if (HandleAllocated() && Align() == alNone) {
            GetVRange();
            GetHRange();
        }
        return;
    case WM_NCCALCSIZE: {
        GetSkinData();
        if (m.LParam && FBorderStyle != bvNone) {
            RECT* r = reinterpret_cast<RECT*>(m.LParam);
            if (FIndex == -1) {
                InflateRect(r, -1, -1);
            } else if (BGPictureIndex == -1) {
                r->left += ClRect.Left;
                r->top += ClRect.Top;
                r->right -= RectWidth(SkinRect) - ClRect.Right;
                r->bottom -= RectHeight(SkinRect) - ClRect.Bottom;
            }
        }
        m.Result = 0;
        return;
    }
    case WM_NCHITTEST: m.Result = HTCLIENT; return;
    case WM_NCPAINT:
        if (HandleAllocated()) {
            GetSkinData();
            if (PaintsFrame()) {
                HDC dc = GetWindowDC(Handle());
                TCanvas c;
                try {
                    c.SetHandle(dc);
                    PaintSkinFrame(&c);
                } catch (...) {
                    c.SetHandle(nullptr);
                    ReleaseDC(Handle(), dc);
                    throw;
                }
                c.SetHandle(nullptr);
                ReleaseDC(Handle(), dc);
            }
        }
        m.Result = 0;
        return;
    case CM_VISIBLECHANGED:
        TbsSkinCustomControl::Dispatch(m);
        if (FVScrollBar) FVScrollBar->SetVisible(Visible());
        if (FHScrollBar) FHScrollBar->SetVisible(Visible());
        return;
    case WM_SKIN_PAINTTODC:
        GetSkinData();
        if (m.WParam && PaintsFrame()) {
            TCanvas c;
            c.SetHandle(reinterpret_cast<HDC>(m.WParam));
            PaintSkinFrame(&c);
            c.SetHandle(nullptr);
            m.Result = SKIN_PAINTTODC_DONE;
        } else {
            m.Result = 0;
        }
        return;
    case WM_SKIN_PAINTBORDERTODC:
        if (m.LParam != SKIN_PAINT_KEY) break;
        GetSkinData();
        if (m.WParam && PaintsFrame()) {
            TCanvas c;
            c.SetHandle(reinterpret_cast<HDC>(m.WParam));
            PaintSkinFrame(&c);
            c.SetHandle(nullptr);
        }
        m.Result = SKIN_PAINT_KEY;
        return;
    default: break;
    }
    TbsSkinCustomControl::Dispatch(m);
}
