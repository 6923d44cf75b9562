// The images a skinned panel composes off screen: the built-in image, the skin image with its
// caption strip (text, check image, glyph or list image, roll-up marker, text frame), the resized
// caption of a group box that does not keep the skin's proportions, and the group frame of a
// transparent panel with a caption.
#include <algorithm>

#include "skin/controls/skin_panel.h"
#include "skin/core/marks.h"
#include "skin/core/panel_records.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"

// ---- shared pieces ----

void TbsSkinPanel::SetSkinFont(TCanvas* C)
{
    if (FUseSkinFont && FIndex != -1) {
        C->Font()->SetName(FontName);
        C->Font()->SetHeight(FontHeight);
        C->Font()->SetStyle(FontStyle);
    } else {
        C->Font()->Assign(FDefaultFont);
    }
    C->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
}

void TbsSkinPanel::DrawPicturePiece(TCanvas* C, int X, int Y, const TRect& Src)
{
    if (!Picture || IsNullRect(Src)) return;
    TBitmap piece(RectWidth(Src), RectHeight(Src));
    piece.Canvas()->CopyRect(Rect(0, 0, piece.Width(), piece.Height()), Picture->Canvas(), Src);
    piece.SetTransparent(true);
    C->Draw(X, Y, &piece);
}

bool TbsSkinPanel::CaptionImageSize(int& W, int& H) const
{
    if (FGlyph.Empty() && FCaptionImageList && FCaptionImageIndex >= 0 &&
        FCaptionImageIndex < FCaptionImageList->Count()) {
        W = FCaptionImageList->Width();
        H = FCaptionImageList->Height();
        return true;
    }
    if (!FGlyph.Empty() && FNumGlyphs > 0) {
        W = FGlyph.Width() / FNumGlyphs;
        H = FGlyph.Height();
        return true;
    }
    return false;
}

void TbsSkinPanel::DrawCaptionImage(TCanvas* C, int X, int Y)
{
    if (FGlyph.Empty()) {
        if (FCaptionImageList && FCaptionImageIndex >= 0 && FCaptionImageIndex < FCaptionImageList->Count())
            FCaptionImageList->Draw(C, X, Y, FCaptionImageIndex, Enabled());
        return;
    }
    DrawGlyphFrame(C, X, Y, &FGlyph, FNumGlyphs, !Enabled() && FNumGlyphs == 2 ? 2 : 1);
}

namespace {
// Text at (X, Y) clipped to R, with a hollow brush.
void ClippedText(TCanvas* C, const TRect& R, int X, int Y, const String& Text)
{
    C->Brush()->SetStyle(bsClear);
    C->TextRect(R, X, Y, Text);
}
}  // namespace

// ---- the built-in image ----

void TbsSkinPanel::CreateControlDefaultImage(TBitmap* B)
{
    TbsSkinCustomControl::CreateControlDefaultImage(B);
    TCanvas* c = B->Canvas();
    const int w = Width(), h = Height();
    TRect r = Rect(0, 0, w, h);
    switch (FBorderStyle) {
    case bvFrame:
        c->Brush()->SetColor(clBtnShadow);
        c->FrameRect(r);
        break;
    case bvRaised: Draw3DFrame(c, r, clBtnHighlight, clBtnShadow); break;
    case bvLowered: Draw3DFrame(c, r, clBtnShadow, clBtnHighlight); break;
    case bvNone: break;
    }
    if (!FCaptionMode) return;
    const int dch = FDefaultCaptionHeight;
    if (FBorderStyle != bvNone)
        r = FRibbonStyle ? Rect(1, h - dch - 1, w - 1, h - 1) : Rect(1, 1, w - 1, dch);
    else
        r = FRibbonStyle ? Rect(0, h - dch, w, h) : Rect(0, 0, w, dch);
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(clBtnShadow);
    c->FillRect(r);
    if (FCheckedMode) r.Left += 20;
    if (FRollUpMode) r.Right -= 10;
    c->Font()->Assign(FDefaultFont);
    c->Font()->SetCharset(SkinCharset(FDefaultFont->Charset()));
    const String caption = Caption();
    const int ty = RectHeight(r) / 2 + r.Top - c->TextHeight(caption) / 2 - 1;
    int tx = r.Left + 4;
    int iw = 0, ih = 0;
    const bool image = CaptionImageSize(iw, ih);
    const int total = c->TextWidth(caption) + (!FGlyph.Empty() ? iw + FSpacing : 0);
    if (FDefaultAlignment == taRightJustify)
        tx = r.Right - total;
    else if (FDefaultAlignment == taCenter)
        tx = RectWidth(r) / 2 + tx - total / 2;
    if (FCheckedMode) {
        const TRect sq = Bounds(5, RectHeight(r) / 2 + r.Top - 6, 13, 13);
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clWindow);
        c->FillRect(sq);
        if (FChecked) DrawCheckMark(c, sq.Left + 3, sq.Top + 2, clBtnText);
    }
    int ix = 0, iy = 0;
    if (image) {
        ix = tx;
        iy = RectHeight(r) / 2 + r.Top - ih / 2;
        tx += iw + FSpacing;
    }
    ClippedText(c, r, tx, ty, caption);
    if (image) DrawCaptionImage(c, ix, iy);
    if (FRollUpMode) DrawArrowImage(c, Rect(r.Right, r.Top, r.Right + 6, r.Bottom), clBtnText, FRollUpState ? 4 : 3);
}

// ---- the skin image ----

void TbsSkinPanel::CreateControlSkinImage(TBitmap* B)
{
    if (FBorderStyle == bvNone && ResizeMode == 1 && !FCaptionMode && !StretchEffect) {
        // The client piece tiled over everything, the last column and row cut at the edge.
        const int cw = RectWidth(ClRect), ch = RectHeight(ClRect);
        if (!Picture || cw <= 0 || ch <= 0) return;
        const TRect src = Bounds(SkinRect.Left + ClRect.Left, SkinRect.Top + ClRect.Top, cw, ch);
        for (int i = 0; i <= B->Width() / cw; ++i)
            for (int j = 0; j <= B->Height() / ch; ++j)
                B->Canvas()->CopyRect(Bounds(i * cw, j * ch, cw, ch), Picture->Canvas(), src);
        return;
    }
    TbsSkinCustomControl::CreateControlSkinImage(B);
    if (FUseSkinSize) {
        if (ResizeMode < 1)
            NewCaptionRect = CaptionRect;
        else if (!FTransparentMode)
            MapSkinRect(CaptionRect, NewCaptionRect);
    }
    if (!Caption().empty() && !IsNullRect(CaptionRect)) DrawSkinCaption(B->Canvas());
}

void TbsSkinPanel::DrawSkinCaption(TCanvas* C)
{
    TRect r = NewCaptionRect;
    if (FRollUpMode) r.Right -= 12;
    if (FCheckedMode) {
        const TRect img = FChecked ? CheckImageRect : UnCheckImageRect;
        DrawPicturePiece(C, r.Left, RectHeight(r) / 2 + r.Top - RectHeight(img) / 2, img);
        r.Left += RectWidth(img) + 2;
    }
    SetSkinFont(C);
    C->Font()->SetColor(FontColor);
    const String caption = Caption();
    const int th = C->TextHeight(caption), textW = C->TextWidth(caption);
    int ty = RectHeight(r) / 2 + r.Top - th / 2;
    if (OddFontHeight(C)) --ty;
    int iw = 0, ih = 0;
    const bool image = CaptionImageSize(iw, ih);
    const int total = textW + (!FGlyph.Empty() ? iw + FSpacing : 0);
    int tx = r.Left;
    if (Alignment == taRightJustify)
        tx = r.Right - total;
    else if (Alignment == taCenter)
        tx = RectWidth(r) / 2 + tx - total / 2;
    int ix = 0, iy = 0;
    if (image) {
        iy = RectHeight(r) / 2 + r.Top - ih / 2;
        if (FImagePosition == bsipDefault) {
            ix = tx;
            tx += iw + FSpacing;
        } else {
            ix = r.Left + 2;
            tx = ix + iw + FSpacing;
            if (Alignment == taRightJustify)
                tx = r.Right - textW;
            else if (Alignment == taCenter)
                tx = RectWidth(r) / 2 + r.Left - textW / 2;
            tx = std::max(tx, ix + iw + FSpacing);
        }
    }
    if (FRollUpMode) {
        const TRect m = Rect(r.Right, r.Top, r.Right + 10, NewCaptionRect.Bottom);
        if (!IsNullRect(MarkFrameRect) && Picture)
            C->CopyRect(
                Rect(m.Left, m.Top, m.Left + RectWidth(MarkFrameRect), CaptionRect.Top + RectHeight(MarkFrameRect)),
                Picture->Canvas(), MarkFrameRect);
        DrawArrowImage(C, m, FontColor, FRollUpState ? 4 : 3);
    }
    if (!IsNullRect(FrameRect) && Picture) {
        const int e = RectWidth(FrameRect) - RectWidth(FrameTextRect);
        TBitmap frame;
        CreateHSkinImage(FrameLeftOffset, FrameRightOffset, &frame, Picture, FrameRect, e + textW,
                         RectHeight(FrameRect), false);
        int fx;
        if (Alignment == taLeftJustify) {
            fx = tx;
            tx += FrameTextRect.Left;
        } else if (Alignment == taRightJustify) {
            fx = tx - e;
            tx = tx + FrameTextRect.Left - e;
            ix -= e;
        } else {
            fx = tx - FrameTextRect.Left - 2;
            ix -= FrameTextRect.Left;
            tx -= 2;
        }
        C->Draw(fx, CaptionRect.Top, &frame);
    }
    ClippedText(C, r, tx, ty, caption);
    if (image) DrawCaptionImage(C, ix, iy);
}

// ---- the resized caption ----

void TbsSkinPanel::CreateResizedCaptionImage(TBitmap* B)
{
    const String own = FSkinDataName;
    FSkinDataName = L"panel";
    GetSkinData();
    const bool panelRecord = FIndex != -1;
    if (!panelRecord) {
        // Without a "panel" record the body is the control's own picture.
        FSkinDataName = own;
        GetSkinData();
    }
    int w = Width(), h = Height();
    CalcSize(w, h);
    CreateSkinImage(LTPt, RTPt, LBPt, RBPt, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, B,
                    Picture, SkinRect, Width(), Height(), true, LeftStretch, TopStretch, RightStretch, BottomStretch,
                    StretchEffect, StretchType);
    FSkinDataName = own;
    GetSkinData();
    const int pieceH = FDefaultCaptionHeight - NewClRect.Top - 1;
    if (Picture && !IsNullRect(CaptionRect) && RectWidth(NewClRect) > 0 && pieceH > 0) {
        const TRect src = Rect(CaptionRect.Left + 1 + SkinRect.Left, CaptionRect.Top + 1 + SkinRect.Top,
                               CaptionRect.Right - 1 + SkinRect.Left, CaptionRect.Bottom - 1 + SkinRect.Top);
        if (!IsNullRect(src))
            B->Canvas()->CopyRect(Bounds(NewClRect.Left, NewClRect.Top, RectWidth(NewClRect), pieceH),
                                  Picture->Canvas(), src);
    }
    NewCaptionRect = Rect(NewClRect.Left, NewClRect.Top, NewClRect.Right, FDefaultCaptionHeight - 1);
    CreateControlSkinImage(B);
}

// ---- the group frame ----

void TbsSkinPanel::CreateGroupFrameImage(TBitmap* B)
{
    TCanvas* c = B->Canvas();
    const int w = Width(), h = Height();
    c->Pen()->SetWidth(1);
    c->Pen()->SetColor(FSD && FSD->SkinColors() ? FSD->SkinColors()->cBtnShadow() : clBtnShadow);
    c->Brush()->SetStyle(bsClear);
    SetSkinFont(c);
    const String caption = Caption();
    const int th = c->TextHeight(caption) + 5;
    NewCaptionRect = Rect(5, 0, w, th);
    int x = 5;
    if (FCheckedMode) {
        const TRect img = FChecked ? CheckImageRect : UnCheckImageRect;
        DrawPicturePiece(c, 5, th / 2 - RectHeight(img) / 2, img);
        x = RectWidth(img) + 10;
    }
    int iw = 0, ih = 0, ix = 0;
    const bool image = CaptionImageSize(iw, ih);
    if (image) {
        ix = x;
        x += iw + 2;
    }
    TColor colour = FSD && FSD->SkinColors() ? FSD->SkinColors()->cBtnText() : clBtnText;
    if (FSD && !FSD->Empty)
        if (auto* label = dynamic_cast<TbsDataSkinStdLabelControl*>(
                FSD->GetControlIndex(L"stdlabel") >= 0
                    ? FSD->CtrlList[static_cast<size_t>(FSD->GetControlIndex(L"stdlabel"))]
                    : nullptr))
            colour = label->FontColor;
    c->Font()->SetColor(colour);
    DrawVCenterText(c, caption, Rect(x, 0, w, th));
    TRect measured = Rect(x, 0, w, th);
    DrawWideText(c, caption, measured, DT_CALCRECT | DT_SINGLELINE);
    const int tw = caption.empty() ? 0 : RectWidth(measured);
    if (image) DrawCaptionImage(c, ix, th / 2 - ih / 2);
    int start = tw + x + 3;
    if (FRollUpMode) {
        DrawArrowImage(c, Rect(tw + x + 3, 0, tw + x + 10, th), colour, FRollUpState ? 4 : 3);
        start = tw + x + 12;
    }
    const int y = th / 2;
    c->Pen()->SetColor(FSD && FSD->SkinColors() ? FSD->SkinColors()->cBtnShadow() : clBtnShadow);
    c->MoveTo(0, y);
    c->LineTo(4, y);
    c->MoveTo(start, y);
    c->LineTo(w - 1, y);
    c->LineTo(w - 1, h - 1);
    c->LineTo(0, h - 1);
    c->LineTo(0, y);
}
