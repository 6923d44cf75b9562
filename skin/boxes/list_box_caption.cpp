// The skinned list box's caption bar (text and glyph), its up, down and check buttons with their
// auto-repeat, and the two frame images the base paint asks for.
#include <algorithm>

#include "skin/boxes/box_buttons.h"
#include "skin/boxes/skin_list_box.h"
#include "skin/core/marks.h"
#include "skin/core/text_layout.h"

namespace {
constexpr UINT_PTR kRepeatTimer = 1;
}

// ---- caption buttons ----

void TbsSkinCustomListBox::DrawButton(TCanvas* C, int I)
{
    const TCaptionButton& b = Buttons[I];
    if (FIndex == -1) {
        if (IsNullRect(b.R)) return;
        if (b.MouseIn) {
            DrawBoxButtonFrame(C, b.R, b.Down ? bbsPressed : bbsHot);
        } else {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(clBtnShadow);
            C->FillRect(b.R);
        }
        if (I == 2)
            DrawCheckMark(C, b.R.Left + 4, b.R.Top + 4, clBlack);
        else
            DrawArrowImage(C, b.R, clBlack, I == 0 ? 3 : 4);
        return;
    }
    if (IsNullRect(b.R) || !Picture) return;
    const TRect normal[] = {UpButtonRect, DownButtonRect, CheckButtonRect};
    const TRect active[] = {ActiveUpButtonRect, ActiveDownButtonRect, ActiveCheckButtonRect};
    const TRect down[] = {DownUpButtonRect, DownDownButtonRect, DownCheckButtonRect};
    TRect src;
    if (b.Down && b.MouseIn)
        src = down[I];
    else if (b.MouseIn)
        src = active[I];
    if (IsNullRect(src)) {
        src = MovedRect(normal[I], SkinRect.Left, SkinRect.Top);
    }
    if (!IsNullRect(src)) C->CopyRect(b.R, Picture->Canvas(), src);
}

void TbsSkinCustomListBox::TestActive(int X, int Y)
{
    if (!FCaptionMode || !FShowCaptionButtons) return;
    if (FIndex != -1 && IsNullRect(UpButtonRect) && IsNullRect(DownButtonRect)) return;
    OldActiveButton = ActiveButton;
    ActiveButton = -1;
    for (int i = 0; i < 3; ++i)
        if (PtInRect(Buttons[i].R, Point(X, Y))) {
            ActiveButton = i;
            break;
        }
    if (CaptureButton != -1 && ActiveButton != CaptureButton) ActiveButton = -1;
    if (ActiveButton == OldActiveButton) return;
    if (OldActiveButton != -1) {
        TCaptionButton& b = Buttons[OldActiveButton];
        b.MouseIn = false;
        Repaint();
        if (TimerMode != 0 && b.Down && HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
    }
    if (ActiveButton != -1) {
        TCaptionButton& b = Buttons[ActiveButton];
        b.MouseIn = true;
        Repaint();
        if (TimerMode != 0 && b.Down) StartRepeatTimer(50);
    }
}

void TbsSkinCustomListBox::StartRepeatTimer(unsigned Ms)
{
    if (!HandleAllocated()) return;
    KillTimer(FHandle, kRepeatTimer);
    SetTimer(FHandle, kRepeatTimer, Ms, nullptr);
}

void TbsSkinCustomListBox::StopRepeatTimer()
{
    if (HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
    TimerMode = 0;
}

void TbsSkinCustomListBox::ButtonAction(int I)
{
    switch (I) {
    case 0:
        if (ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
        break;
    case 1: SetItemIndex(ItemIndex() + 1); break;
    case 2: ListBox->Click(); break;
    default: break;
    }
}

void TbsSkinCustomListBox::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TestActive(X, Y);
    if (ActiveButton != -1) {
        const int i = ActiveButton;
        CaptureButton = i;
        Buttons[i].MouseIn = Buttons[i].Down = true;
        Repaint();
        const TNotifyEvent* events[] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
        // An assigned event replaces the repeating default action.
        if (!*events[i] && i < 2) {
            TimerMode = i == 0 ? 1 : 2;
            WaitMode = true;
            StartRepeatTimer(500);
        }
    }
    TbsSkinCustomControl::MouseDown(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinCustomControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsSkinCustomListBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (CaptureButton != -1) {
        const int i = CaptureButton;
        CaptureButton = -1;
        TCaptionButton& b = Buttons[i];
        b.Down = false;
        if (i != ActiveButton) b.MouseIn = false;
        Repaint();
        const TNotifyEvent* events[] = {&OnUpButtonClick, &OnDownButtonClick, &OnCheckButtonClick};
        if (b.MouseIn && *events[i]) {
            (*events[i])(this);
        } else {
            ButtonAction(i);
            StopRepeatTimer();
        }
    }
    TbsSkinCustomControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinCustomListBox::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SIZE:
        TbsSkinCustomControl::Dispatch(m);
        AdjustLayout();
        UpDateScrollBar();
        if (ScrollBar) ScrollBar->Repaint();
        return;
    case WM_TIMER:
        TbsSkinCustomControl::Dispatch(m);
        if (m.WParam != kRepeatTimer) return;
        if (WaitMode) {
            WaitMode = false;
            StartRepeatTimer(100);
        } else if (TimerMode == 1) {
            if (ItemIndex() > 0) SetItemIndex(ItemIndex() - 1);
        } else if (TimerMode == 2) {
            SetItemIndex(ItemIndex() + 1);
        }
        return;
    case CM_MOUSEENTER:
        TbsSkinCustomControl::Dispatch(m);
        TestActive(-1, -1);
        return;
    case CM_MOUSELEAVE: {
        TbsSkinCustomControl::Dispatch(m);
        bool changed = false;
        for (TCaptionButton& b : Buttons)
            if (b.MouseIn) {
                b.MouseIn = false;
                changed = true;
            }
        if (changed) Repaint();
        return;
    }
    case CM_TEXTCHANGED:
        TbsSkinCustomControl::Dispatch(m);
        if (FCaptionMode) Repaint();
        return;
    case WM_DESTROY:
        if (HandleAllocated()) KillTimer(FHandle, kRepeatTimer);
        TbsSkinCustomControl::Dispatch(m);
        return;
    default: TbsSkinCustomControl::Dispatch(m);
    }
}

// ---- caption text ----

int TbsSkinCustomListBox::CaptionContentWidth(TCanvas* C)
{
    int w = C->TextWidth(Caption());
    if (!FGlyph->Empty()) w += FGlyph->Width() / std::max(1, FNumGlyphs) + FSpacing;
    return w;
}

void TbsSkinCustomListBox::DrawCaptionContent(TCanvas* C, const TRect& R, int Y, int X, int)
{
    if (!FGlyph->Empty()) {
        const int n = std::max(1, FNumGlyphs);
        const int gy = R.Top + R.Height() / 2 - FGlyph->Height() / 2 - (FIndex == -1 ? 1 : 0);
        DrawGlyphFrame(C, X, gy, FGlyph, n, !Enabled() && n == 2 ? 2 : 1);
        X += FGlyph->Width() / n + FSpacing;
    }
    C->Brush()->SetStyle(bsClear);
    C->TextRect(R, X, Y, Caption());
}

// ---- frame images ----

void TbsSkinCustomListBox::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* c = B->Canvas();
    const int w = B->Width(), h = B->Height();
    const bool buttons = FCaptionMode && FShowCaptionButtons;
    const int a = std::min(17, FDefaultCaptionHeight - 3);
    if (buttons) {
        Buttons[0].R = Rect(w - a - 2, 2, w - 2, a + 1);
        Buttons[1].R = Rect(w - 2 * a - 2, 2, w - a - 2, a + 1);
        Buttons[2].R = Rect(w - 3 * a - 2, 2, w - 2 * a - 2, a + 1);
    } else {
        for (TCaptionButton& b : Buttons) b.R = TRect{};
    }
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnShadow);
    c->FrameRect(Rect(0, 0, w, h));
    c->Brush()->SetColor(ListBox ? ListBox->Color() : clWindow);
    c->FrameRect(Rect(1, 1, w - 1, h - 1));
    if (!FCaptionMode) return;
    const int ch = FDefaultCaptionHeight;
    c->Brush()->SetColor(clBtnShadow);
    c->FillRect(Rect(0, 0, w, ch));
    const TRect text = buttons ? Rect(3, 2, w - 3 * a - 3, ch - 2) : Rect(3, 2, w - 2, ch - 2);
    c->Font()->Assign(FDefaultCaptionFont);
    c->Font()->SetCharset(SkinCharset(FDefaultCaptionFont->Charset()));
    const int cw = CaptionContentWidth(c);
    int x = text.Left;
    if (FAlignment == taRightJustify)
        x = text.Right - cw;
    else if (FAlignment == taCenter)
        x = text.Left + text.Width() / 2 - cw / 2;
    const int y = (ch - 2) / 2 - c->TextHeight(Caption()) / 2;
    DrawCaptionContent(c, text, y, x, cw);
    if (buttons)
        for (int i = 0; i < 3; ++i) DrawButton(c, i);
}

void TbsSkinCustomListBox::CreateControlSkinImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlSkinImage(B);
    TCanvas* c = B->Canvas();
    const int w = Width(), h = Height();
    const int sw = RectWidth(SkinRect), sh = RectHeight(SkinRect);
    const int dx = w - sw, dy = h - sh;
    if (!FShowCaptionButtons && !IsNullRect(UpButtonRect) && Picture) {
        if (!IsNullRect(DisabledButtonsRect)) {
            const TRect area = MovedRect(ButtonsArea, dx, 0);
            c->CopyRect(Rect(area.Left, area.Top, area.Left + RectWidth(DisabledButtonsRect),
                             area.Top + RectHeight(DisabledButtonsRect)),
                        Picture->Canvas(), DisabledButtonsRect);
        } else {
            // The caption strip stretched over the skin's button pictures.
            const int top = NewClRect.Top - 1;
            const int stripW = NewRTPoint.X - NewLTPoint.X;
            const int right = w - (sw - UpButtonRect.Right);
            if (stripW > 0 && top > 0 && right > NewLTPoint.X) {
                TBitmap strip(stripW, top);
                strip.Canvas()->CopyRect(Rect(0, 0, stripW, top), c, Rect(NewLTPoint.X, 0, NewRTPoint.X, top));
                c->StretchDraw(Rect(NewLTPoint.X, 0, right, top), &strip);
            }
        }
    }
    NewClRect = Rect(ClRect.Left, ClRect.Top, ClRect.Right + dx, ClRect.Bottom + dy);
    const bool buttons = FCaptionMode && FShowCaptionButtons;
    if (FCaptionMode) {
        NewCaptionRect = CaptionRect;
        if (buttons) {
            if (CaptionRect.Right >= RTPt.X) NewCaptionRect.Right += dx;
            const TRect skinButtons[] = {UpButtonRect, DownButtonRect, CheckButtonRect};
            for (int i = 0; i < 3; ++i) {
                TRect r = skinButtons[i];
                if (r.Top > LTPt.Y) {
                    r = MovedRect(r, 0, dy);
                    if (r.Left > RBPt.X) r = MovedRect(r, dx, 0);
                } else if (r.Left > RTPt.X) {
                    r = MovedRect(r, dx, 0);
                }
                Buttons[i].R = r;
            }
        } else {
            NewCaptionRect.Right = w - CaptionRect.Left;
            for (TCaptionButton& b : Buttons) b.R = TRect{};
        }
    }
    if (!IsNullRect(CaptionRect)) {
        c->Font()->SetName(CaptionFontName);
        c->Font()->SetHeight(CaptionFontHeight);
        c->Font()->SetColor(CaptionFontColor);
        c->Font()->SetStyle(CaptionFontStyle);
        c->Font()->SetCharset(SkinCharset(FDefaultCaptionFont->Charset()));
        const int cw = CaptionContentWidth(c);
        const TRect& r = NewCaptionRect;
        const int y = r.Top + r.Height() / 2 - c->TextHeight(Caption()) / 2;
        int x = r.Left + 2;
        if (FAlignment == taRightJustify)
            x = r.Right - cw - 2;
        else if (FAlignment == taCenter)
            x = x + r.Width() / 2 - cw / 2;
        DrawCaptionContent(c, r, y, x, cw);
    }
    if (buttons)
        for (int i = 0; i < 3; ++i) DrawButton(c, i);
}
