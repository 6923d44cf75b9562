// The page control's painting: the page frame (built-in or composed from the "tab" record) with
// the selected tab's rectangle left out, the tab row composed off-screen, and each tab composed
// as a top tab in a bitmap of its own, then flipped (bottom tabs) or turned a quarter (side
// tabs) on its way out. The selected tab is drawn last, straight on the canvas, so in a skin
// whose selected tab is taller it reaches into the page.
#include <memory>

#include "platform/win/win_api.h"
#include "skin/controls/skin_page_control.h"
#include "skin/core/button_records.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/marks.h"
#include "skin/core/parent_background.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_image.h"
#include "skin/core/window_records.h"

namespace {
TRect Moved(const TRect& R, int DX, int DY) { return Rect(R.Left + DX, R.Top + DY, R.Right + DX, R.Bottom + DY); }

std::unique_ptr<TbsEffectBmp> EffectCopy(TBitmap* Bitmap)
{
    if (!Bitmap || Bitmap->Empty()) return nullptr;
    return std::unique_ptr<TbsEffectBmp>(TbsEffectBmp::CreateFromhWnd(Bitmap->Handle()));
}

// Bitmap turned a quarter (Left: counter-clockwise), or null for an empty one.
std::unique_ptr<TbsEffectBmp> Turned(TBitmap* Bitmap, bool Left)
{
    auto src = EffectCopy(Bitmap);
    if (!src) return nullptr;
    auto dst = std::make_unique<TbsEffectBmp>(src->Height, src->Width);
    if (Left)
        src->Rotate90_1(dst.get());
    else
        src->Rotate90_2(dst.get());
    return dst;
}

void TurnInPlace(TBitmap* Bitmap, bool Left)
{
    auto t = Turned(Bitmap, Left);
    if (!t) return;
    Bitmap->SetSize(t->Width, t->Height);
    t->Draw(Bitmap->Canvas()->Handle(), 0, 0);
}

// A button record's look for a W x H bitmap; nullptr when Name names no button record.
const TbsDataSkinButtonControl* ButtonRecord(TbsSkinData* SD, const String& Name, TBitmap*& Pic)
{
    Pic = nullptr;
    if (!SD || SD->Empty) return nullptr;
    const int i = SD->GetControlIndex(Name);
    if (i < 0 || i >= static_cast<int>(SD->CtrlList.size())) return nullptr;
    // A record of another class under this name has no button looks: nothing is drawn from it.
    auto* rec = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<size_t>(i)]);
    if (!rec || rec->PictureIndex < 0 || rec->PictureIndex >= static_cast<int>(SD->FActivePictures.size()))
        return nullptr;
    Pic = SD->FActivePictures[static_cast<size_t>(rec->PictureIndex)];
    return Pic && !Pic->Empty() ? rec : nullptr;
}

// Composes the button record's pressed, hot or normal look (the pressed falling back to the
// hot, the hot to the normal) onto T at T's size; false when there is none. Colour: the look's
// font colour.
bool ComposeButton(TbsSkinData* SD, const String& Name, TBitmap* T, bool Down, bool Hot, TColor& Color)
{
    TBitmap* pic = nullptr;
    const TbsDataSkinButtonControl* rec = ButtonRecord(SD, Name, pic);
    if (!rec || IsNullRect(rec->SkinRect)) return false;
    TRect r = rec->SkinRect;
    Color = rec->FontColor;
    if (Down) {
        r = !IsNullRect(rec->DownSkinRect)     ? rec->DownSkinRect
            : !IsNullRect(rec->ActiveSkinRect) ? rec->ActiveSkinRect
                                               : rec->SkinRect;
        Color = rec->DownFontColor;
    } else if (Hot) {
        r = !IsNullRect(rec->ActiveSkinRect) ? rec->ActiveSkinRect : rec->SkinRect;
        Color = rec->ActiveFontColor;
    }
    const int xo = T->Width() - RectWidth(rec->SkinRect), yo = T->Height() - RectHeight(rec->SkinRect);
    const TRect cl = rec->ClRect;
    CreateSkinImage(rec->LTPoint, rec->RTPoint, rec->LBPoint, rec->RBPoint, cl, rec->LTPoint,
                    Point(rec->RTPoint.X + xo, rec->RTPoint.Y), Point(rec->LBPoint.X, rec->LBPoint.Y + yo),
                    Point(rec->RBPoint.X + xo, rec->RBPoint.Y + yo),
                    Rect(cl.Left, cl.Top, cl.Right + xo, cl.Bottom + yo), T, pic, r, T->Width(), T->Height(), true,
                    rec->LeftStretch, rec->TopStretch, rec->RightStretch, rec->BottomStretch, rec->StretchEffect,
                    rec->StretchType);
    return true;
}

constexpr TColor kTabFrame = static_cast<TColor>(0xB76B3B);    // (59, 107, 183)
constexpr TColor kTabHot = static_cast<TColor>(0xF3D4C1);      // (193, 212, 243)
constexpr TColor kTabFocused = static_cast<TColor>(0xE4BCA2);  // (162, 188, 228)
}  // namespace

// ---- bitmap turns ----

void DrawBitmapTurnedLeft(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y)
{
    if (auto t = Turned(Bitmap, true)) t->Draw(Canvas->Handle(), X, Y);
}

void DrawBitmapTurnedRight(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y)
{
    if (auto t = Turned(Bitmap, false)) t->Draw(Canvas->Handle(), X, Y);
}

void TurnBitmapLeft(TBitmap* Bitmap) { TurnInPlace(Bitmap, true); }

void TurnBitmapRight(TBitmap* Bitmap) { TurnInPlace(Bitmap, false); }

void FlipBitmapVert(TBitmap* Bitmap)
{
    auto src = EffectCopy(Bitmap);
    if (!src) return;
    TbsEffectBmp dst(src->Width, src->Height);
    src->FlipVert(&dst);
    dst.Draw(Bitmap->Canvas()->Handle(), 0, 0);
}

// ---- frame ----

void TbsSkinPageControl::Paint()
{
    if (Width() <= 0 || Height() <= 0) return;
    GetSkinData();
    TCanvas* c = Canvas();
    const int saved = SaveDC(c->Handle());
    if (FIndex == -1)
        PaintDefaultFrame(c);
    else
        PaintSkinFrame(c);
    PaintTabs(c);
    RestoreDC(c->Handle(), saved);
    c->Refresh();
}

void TbsSkinPageControl::PaintDefaultFrame(TCanvas* C)
{
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnFace);
    C->FillRect(ClientRect());
    if (FHideBorder) return;
    const TRect p = DisplayRect();
    C->Brush()->SetColor(clBtnShadow);
    C->FrameRect(Rect(p.Left - 1, p.Top - 1, p.Right + 1, p.Bottom + 1));
}

TRect TbsSkinPageControl::SkinFrameRect()
{
    const TRect p = DisplayRect();
    return Rect(p.Left - ClRect.Left, p.Top - ClRect.Top, p.Right + RectWidth(SkinRect) - ClRect.Right,
                p.Bottom + RectHeight(SkinRect) - ClRect.Bottom);
}

TRect TbsSkinPageControl::GetActiveTabRect()
{
    const int ti = TabIndex();
    if (ti < 0 || ti >= PageCount() || PageCount() == 0 || TabCount() == 0 || !ActivePage()) return TRect{};
    TRect r;
    if (!GetItemRect(ti, r)) return TRect{};
    const int d = RectHeight(ActiveTabRect) - RectHeight(TabRect);
    switch (TabPosition()) {
    case tpTop: r.Bottom += d; break;
    case tpBottom: r.Top -= d; break;
    case tpLeft: r.Right += d; break;
    case tpRight: r.Left -= d; break;
    }
    return r;
}

void TbsSkinPageControl::PaintSkinFrame(TCanvas* C)
{
    if (FHideBorder) return;
    GetSkinData();
    if (FIndex == -1) return;
    const TRect f = SkinFrameRect();
    const int fw = RectWidth(f), fh = RectHeight(f);
    if (fw <= 0 || fh <= 0) return;
    const int xo = fw - RectWidth(SkinRect), yo = fh - RectHeight(SkinRect);
    TBitmap lb, tb, rb, bb;
    CreateSkinBorderImages(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, LTPoint, Point(RTPoint.X + xo, RTPoint.Y),
                           Point(LBPoint.X, LBPoint.Y + yo), Point(RBPoint.X + xo, RBPoint.Y + yo),
                           Rect(ClRect.Left, ClRect.Top, ClRect.Right + xo, ClRect.Bottom + yo), &lb, &tb, &rb, &bb,
                           Picture, SkinRect, fw, fh, LeftStretch, TopStretch, RightStretch, BottomStretch);
    const HDC dc = C->Handle();
    const int saved = SaveDC(dc);
    const TRect a = GetActiveTabRect();
    if (!IsNullRect(a) && !FHideTabs && Style() == tsTabs) ExcludeClipRect(dc, a.Left, a.Top, a.Right, a.Bottom);
    C->Draw(f.Left, f.Top, &tb);
    C->Draw(f.Left, f.Top + tb.Height(), &lb);
    C->Draw(f.Left + fw - rb.Width(), f.Top + tb.Height(), &rb);
    C->Draw(f.Left, f.Top + fh - bb.Height(), &bb);
    RestoreDC(dc, saved);
    C->Refresh();
}

// ---- tab row ----

void TbsSkinPageControl::PaintTabs(TCanvas* C)
{
    if (FHideTabs || PageCount() == 0) return;
    TRect r;
    if (FIndex == -1) {
        for (int i = 0; i < TabCount(); ++i)
            if (GetItemRect(i, r)) DrawSkinTab(PageOfTab(i)->PageIndex(), r, C, i == FActiveTabIndex, i == TabIndex());
        return;
    }
    GetSkinData();
    if (FIndex == -1) return;
    const TRect f = SkinFrameRect();
    const TTabPosition pos = TabPosition();
    // The row's bitmap and, with a transparent row, the part of the control whose parent
    // background it shows.
    int bw = Width(), bh = Height();
    TRect row = ClientRect();
    switch (pos) {
    case tpTop:
        bh = f.Top;
        row = Rect(0, 0, Width(), f.Top);
        break;
    case tpBottom:
        bh = Height() - f.Bottom;
        row = Rect(0, f.Bottom, Width(), Height());
        break;
    case tpLeft:
        bw = f.Left;
        row = Rect(0, 0, f.Left, f.Bottom);
        break;
    case tpRight:
        bw = Width() - f.Right;
        row = Rect(f.Right, 0, Width(), Height());
        break;
    }
    if (bw > 0 && bh > 0) {
        TBitmap b(bw, bh);
        if (IsNullRect(TabsBGRect)) TabsBGRect = Moved(ClRect, SkinRect.Left, SkinRect.Top);
        if (FTabsBGTransparent) {
            PaintParentBackgroundRect(this, row, b.Canvas());
        } else if (!IsNullRect(TabsBGRect)) {
            const int pw = RectWidth(TabsBGRect), ph = RectHeight(TabsBGRect);
            for (int y = 0; y < bh; y += ph)
                for (int x = 0; x < bw; x += pw)
                    b.Canvas()->CopyRect(Rect(x, y, x + pw, y + ph), Picture->Canvas(), TabsBGRect);
        }
        const int ti = TabIndex();
        for (int i = 0; i < TabCount(); ++i) {
            if (i == ti || !GetItemRect(i, r)) continue;
            if (pos == tpBottom) r = Moved(r, 0, -f.Bottom);
            if (pos == tpRight) r = Moved(r, -f.Right, 0);
            DrawSkinTab(PageOfTab(i)->PageIndex(), r, b.Canvas(), i == FActiveTabIndex, false);
        }
        const HDC dc = C->Handle();
        const int saved = SaveDC(dc);
        const TRect a = GetActiveTabRect();
        if (!IsNullRect(a)) ExcludeClipRect(dc, a.Left, a.Top, a.Right, a.Bottom);
        switch (pos) {
        case tpTop:
        case tpLeft: C->Draw(0, 0, &b); break;
        case tpBottom: C->Draw(0, Height() - bh, &b); break;
        case tpRight: C->Draw(Width() - bw, 0, &b); break;
        }
        RestoreDC(dc, saved);
        C->Refresh();
    }
    const int ti = TabIndex();
    if (ti < 0 || ti >= PageCount() || !GetItemRect(ti, r)) return;
    const int d = RectHeight(ActiveTabRect) - RectHeight(TabRect);
    if (d != 0 && Style() == tsTabs) {
        if (pos == tpBottom) r = Moved(r, 0, -d);
        if (pos == tpRight) r = Moved(r, -d, 0);
    }
    DrawSkinTab(PageOfTab(ti)->PageIndex(), r, C, ti == FActiveTabIndex, true);
}

// ---- one tab ----

void TbsSkinPageControl::DrawSkinTab(int PageIndex, TRect R, TCanvas* Canvas, bool MouseIn, bool Active)
{
    if (FHideTabs || PageIndex < 0 || PageIndex >= PageCount()) return;
    const TTabPosition pos = TabPosition();
    const bool side = pos == tpLeft || pos == tpRight;
    const int w = side ? R.Height() : R.Width();
    const int h = side ? R.Width() : R.Height();
    if (w <= 0 || h <= 0) return;
    TTabSheet* page = Pages(PageIndex);
    const bool hasGlyph = FImages && page->ImageIndex() >= 0 && page->ImageIndex() < FImages->Count();
    const String caption = page->Caption();
    const bool focused = Focused();
    const bool skin = FIndex != -1;
    TBitmap t(w, h);
    TCanvas* tc = t.Canvas();
    TbsResourceStrData* table = FSD ? FSD->ResourceStrData() : nullptr;

    TColor color = FFont.Color();
    if (!skin) {
        tc->Brush()->SetStyle(bsSolid);
        if (MouseIn && !Active) {
            tc->Brush()->SetColor(kTabHot);
            tc->FillRect(Rect(0, 0, w, h));
        } else if (!Active) {
            tc->Brush()->SetColor(clBtnFace);
            tc->FillRect(Rect(0, 0, w, h));
        } else {
            tc->Brush()->SetColor(kTabFrame);
            tc->FillRect(Rect(0, 0, w, h));
            tc->Brush()->SetColor(focused ? kTabFocused : kTabHot);
            tc->FillRect(Rect(1, 1, w - 1, h - 1));
        }
        tc->Font()->Assign(&FFont);
        if (table) tc->Font()->SetCharset(table->CharSet());
    } else {
        if (Style() != tsTabs) {
            DrawButtonTab(&t, Active, MouseIn);
            color = tc->Font()->Color();
        } else {
            const TRect p = MouseIn && !Active && !IsNullRect(MouseInTabRect) ? MouseInTabRect
                            : Active && focused                               ? FocusTabRect
                            : !Active                                         ? TabRect
                                                                              : ActiveTabRect;
            if (TabHeight() > 0) {
                int th = h;
                if (Active) {
                    const int d = RectHeight(ActiveTabRect) - RectHeight(TabRect);
                    const int df = RectHeight(FocusTabRect) - RectHeight(TabRect);
                    if (d > 0)
                        th += d;
                    else if (focused && df > 0)
                        th += df;
                }
                t.SetSize(w, th);
                const int m = RectHeight(TabRect) / 4;
                CreateStretchImage(&t, Picture, p,
                                   Rect(TabLeftOffset, m, RectWidth(p) - TabRightOffset, RectHeight(p) - m), true);
            } else if (!IsNullRect(p)) {
                CreateHSkinImage(TabLeftOffset, TabRightOffset, &t, Picture, p, w, RectHeight(p), TabStretchEffect);
            }
            // The first selected tab of a single row meets the frame's corner with a piece of its own.
            const TRect corner = focused ? TabLeftBottomFocusRect : TabLeftBottomActiveRect;
            if (Active && R.Left == 0 && !IsNullRect(TabLeftBottomActiveRect) && !MultiLine() && !side &&
                !IsNullRect(corner)) {
                const int cw = RectWidth(corner), ch = RectHeight(corner);
                tc->CopyRect(Rect(0, t.Height() - ch, cw, t.Height()), Picture->Canvas(), corner);
            }
            color = MouseIn && !Active  ? MouseInFontColor
                    : Active && focused ? FocusFontColor
                    : !Active           ? FontColor
                                        : ActiveFontColor;
        }
        if (pos == tpBottom) FlipBitmapVert(&t);
        if (FUseSkinFont) {
            tc->Font()->SetName(FontName);
            tc->Font()->SetStyle(FontStyle);
            tc->Font()->SetHeight(FontHeight);
        } else {
            tc->Font()->Assign(&FFont);
        }
        tc->Font()->SetCharset(table ? table->CharSet() : FFont.Charset());
    }
    tc->Font()->SetColor(color);
    tc->Brush()->SetStyle(bsClear);

    TRect c = Rect(0, 0, w, h);
    if (FTextInHorizontal && side) {
        TurnInPlace(&t, pos == tpLeft);
        c = Rect(0, 0, t.Width(), t.Height());
    }
    if (skin && ShowFocus && focused && Active) {
        tc->Brush()->SetStyle(bsSolid);
        tc->Brush()->SetColor(FSD->SkinColors() ? FSD->SkinColors()->cBtnFace() : clBtnFace);
        DrawDottedFocusRect(
            tc, Rect(c.Left + FocusOffsetX, c.Top + FocusOffsetY, c.Right - FocusOffsetX, c.Bottom - FocusOffsetY));
        tc->Brush()->SetStyle(bsClear);
    }
    int s = 0;
    if (skin && RectHeight(TabRect) != RectHeight(ActiveTabRect) && !Active) {
        const int shift = pos == tpTop || pos == tpLeft ? 2 : -2;
        c.Top += shift;
        if (hasGlyph) s = shift;
    }
    const int room = FShowCloseButtons ? FCloseSize + 2 : 0;
    const int roomRight = room > 0 ? (skin ? room + 3 : room) : 0;
    if (OnDrawSkinTab) {
        OnDrawSkinTab(PageIndex, Rect(0, 0, t.Width(), t.Height()), Active, MouseIn, tc);
        c.Right -= roomRight;
    } else if (hasGlyph || FTabExtendedDraw) {
        if (FTabExtendedDraw)
            DrawImageAndText(tc, Rect(c.Left, c.Top, c.Right - room, c.Bottom), FTabMargin, FTabSpacing, FTabLayout,
                             caption, page->ImageIndex(), FImages, false, page->Enabled(), false, 0);
        else
            DrawTabGlyphAndText(tc, t.Width() - room, t.Height(), s, page->Enabled(), page->ImageIndex(), FImages,
                                caption);
        c.Right -= roomRight;
    } else {
        c.Right -= roomRight;
        TRect tr = c;
        DrawWideText(tc, caption, tr, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    }
    if (FShowCloseButtons) {
        auto* sp = dynamic_cast<TbsSkinCustomTabSheet*>(page);
        if (sp && !MouseIn) sp->ButtonMouseIn = false;
        DrawCloseButton(tc, Rect(c.Right, c.Top + s, t.Width(), c.Bottom), t.Height(), t.Width(), PageIndex);
    }
    if (side && !FTextInHorizontal) {
        if (pos == tpLeft)
            DrawBitmapTurnedLeft(Canvas, &t, R.Left, R.Top);
        else
            DrawBitmapTurnedRight(Canvas, &t, R.Left, R.Top);
    } else {
        Canvas->Draw(R.Left, R.Top, &t);
    }
}

void TbsSkinPageControl::DrawButtonTab(TBitmap* T, bool Active, bool MouseIn)
{
    TColor color = 0;
    if (ComposeButton(FSD, FButtonTabSkinDataName, T, Active, MouseIn, color)) T->Canvas()->Font()->SetColor(color);
}

void TbsSkinPageControl::DrawCloseButton(TCanvas* C, const TRect& A, int H, int W, int PageIndex)
{
    auto* page = dynamic_cast<TbsSkinCustomTabSheet*>(SkinPage(PageIndex));
    if (!page) return;
    const bool hot = page->ButtonMouseIn, down = page->ButtonMouseIn && page->ButtonMouseDown;
    TRect d;
    if (FIndex == -1) {
        const int m = A.Top + RectHeight(A) / 2;
        d = Rect(A.Left, m - 7, A.Left + 14, m + 7);
        DrawCloseGlyph(C, d.Left + 2, d.Top + 2, hot ? clWhite : clBlack);
    } else if (IsNullRect(CloseButtonRect)) {
        TBitmap b(FCloseSize, FCloseSize);
        TColor color = 0;
        if (!ComposeButton(FSD, L"resizetoolbutton", &b, down, hot, color)) return;
        DrawCloseGlyph(b.Canvas(), b.Width() / 2 - 5, b.Height() / 2 - 5, color);
        d = Bounds(A.Left, A.Top + RectHeight(A) / 2 - b.Height() / 2, b.Width(), b.Height());
        C->Draw(d.Left, d.Top, &b);
    } else {
        const TRect p = down ? CloseButtonDownRect : hot ? ClosebuttonActiveRect : CloseButtonRect;
        if (IsNullRect(p)) return;
        TBitmap b(RectWidth(p), RectHeight(p));
        b.Canvas()->CopyRect(Rect(0, 0, b.Width(), b.Height()), Picture->Canvas(), p);
        if (ButtonTransparent) {
            b.SetTransparentColor(ButtonTransparentColor);
            b.SetTransparent(true);
        }
        d = Bounds(A.Left, A.Top + RectHeight(A) / 2 - b.Height() / 2, b.Width(), b.Height());
        C->Draw(d.Left, d.Top, &b);
    }
    // Stored as the tab will show: turned with it.
    if (TabPosition() == tpLeft && !FTextInHorizontal)
        page->ButtonRect = Rect(d.Top, W - d.Right, d.Bottom, W - d.Left);
    else if (TabPosition() == tpRight && !FTextInHorizontal)
        page->ButtonRect = Rect(H - d.Bottom, d.Left, H - d.Top, d.Right);
    else
        page->ButtonRect = d;
}

void TbsSkinPageControl::DrawTabGlyphAndText(TCanvas* C, int W, int H, int S, bool Enabled, int ImageIndex,
                                             TCustomImageList* AImages, const String& Caption)
{
    TRect m = Rect(0, 0, 0, 0);
    DrawWideText(C, Caption, m, DT_CALCRECT | DT_SINGLELINE);
    const int tw = Caption.empty() ? 0 : RectWidth(m) + 2, th = RectHeight(m);
    const int iw = AImages ? AImages->Width() : 0, ih = AImages ? AImages->Height() : 0;
    const int x = W / 2 - (tw + iw + 2) / 2;
    if (AImages) AImages->Draw(C, x, H / 2 + S - ih / 2, ImageIndex, Enabled);
    const int top = H / 2 + S - th / 2;
    TRect r = Rect(x + iw + 2, top, x + iw + 2 + tw, top + th);
    DrawWideText(C, Caption, r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}
