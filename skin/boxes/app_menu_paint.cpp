// The application menu's looks: skinned from its "appmenu" record (column and page backgrounds,
// the frame round the active page, back button, item faces, top line, size grip), composed in
// one image; built-in in system colours straight onto the canvas.
#include <algorithm>

#include "skin/boxes/app_menu.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"

namespace {

// Repeats Pic over the columns and rows that cover W x H from (X, Y).
void Tile(TCanvas* C, TBitmap* Pic, int X, int Y, int W, int H)
{
    if (!Pic || Pic->Width() < 1 || Pic->Height() < 1) return;
    for (int j = 0; j <= H / Pic->Height(); ++j)
        for (int i = 0; i <= W / Pic->Width(); ++i) C->Draw(X + i * Pic->Width(), Y + j * Pic->Height(), Pic);
}

}  // namespace

void TbsAppMenu::DrawItemContent(TCanvas* C, int Index, TRect R, int Spacing, TCustomImageList* Images)
{
    TbsAppMenuItem* item = FItems->Items(Index);
    int itemH = 0, pageH = 0;
    bool same = false;
    ItemHeights(itemH, pageH, same);
    R.Left += item->FPage || same ? 20 : 10;
    if (same && FItemImageList) R.Left += 3;
    if (Images && item->ImageIndex() >= 0 && item->ImageIndex() < Images->Count()) {
        if (same) R.Left = std::max(0, R.Left - (Images->Width() + 3));
        DrawImageAndText(C, R, 0, Spacing, blGlyphLeft, item->Caption(), item->ImageIndex(), Images, false,
                         item->Enabled(), false, 0);
    } else {
        DrawVCenterText2(C, item->Caption(), R);
    }
}

void TbsAppMenu::DrawMenu(TCanvas* C)
{
    if (Width() < 1 || Height() < 1) return;
    GetSkinData();
    if (!FData) {
        C->Font()->Assign(Font());
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(clBtnShadow);
        C->FillRect(Rect(0, 0, Width(), Height()));
        CalcItemRects();
        for (int i = 0; i < FItems->Count(); ++i)
            if (FItems->Items(i)->Visible()) DrawDefaultItem(C, i);
        return;
    }
    TBitmap a(Width(), Height());
    TCanvas* ac = a.Canvas();
    const int w = a.Width(), h = a.Height();
    if (FDataBGPicture) {
        const int cw = FDataPageBGPicture ? FItemWidth : w;
        if (FData->BGStretchEffect)
            ac->StretchDraw(Rect(0, 0, cw, h), FDataBGPicture);
        else
            Tile(ac, FDataBGPicture, 0, 0, cw, h);
    }
    if (FDataPageBGPicture) {
        if (FData->BGPageStretchEffect)
            ac->StretchDraw(Rect(FItemWidth, 0, w, h), FDataPageBGPicture);
        else
            Tile(ac, FDataPageBGPicture, FItemWidth, 0, w - FItemWidth, h);
    }
    if (FActivePage && FDataPicture && !FActivePage->BoundsRect().IsEmpty()) {
        const TRect p = FActivePage->BoundsRect();
        const TRect& s = FData->SkinRect;
        const TRect& cl = FData->ClRect;
        const TRect r = Rect(p.Left - cl.Left, p.Top - cl.Top, p.Right + RectWidth(s) - cl.Right,
                             p.Bottom + RectHeight(s) - cl.Bottom);
        const int dx = r.Width() - RectWidth(s), dy = r.Height() - RectHeight(s);
        TBitmap left, top, right, bottom;
        CreateSkinBorderImages(
            FData->LTPoint, FData->RTPoint, FData->LBPoint, FData->RBPoint, cl, FData->LTPoint,
            Point(FData->RTPoint.X + dx, FData->RTPoint.Y), Point(FData->LBPoint.X, FData->LBPoint.Y + dy),
            Point(FData->RBPoint.X + dx, FData->RBPoint.Y + dy), Rect(cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy),
            &left, &top, &right, &bottom, FDataPicture, s, r.Width(), r.Height(), FData->LeftStretch, FData->TopStretch,
            FData->RightStretch, FData->BottomStretch);
        ac->Draw(r.Left, r.Top, &top);
        ac->Draw(r.Left, r.Top + top.Height(), &left);
        ac->Draw(r.Right - right.Width(), r.Top + top.Height(), &right);
        ac->Draw(r.Left, r.Bottom - bottom.Height(), &bottom);
    }
    CalcItemRects();
    if (!IsNullRect(FBackButtonRect) && FDataPicture) {
        const TRect src = FBackButtonActive && !IsNullRect(FData->BackButtonActiveRect) ? FData->BackButtonActiveRect
                                                                                        : FData->BackButtonRect;
        ac->CopyRect(FBackButtonRect, FDataPicture->Canvas(), src);
    }
    HDC dc = ac->Handle();
    int saved = 0;
    if (!IsNullRect(FBackButtonRect)) {
        // Scrolled items never cover the back button.
        saved = SaveDC(dc);
        ExcludeClipRect(dc, 0, 0, FItemWidth, FBackButtonRect.Bottom + 2);
    }
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Visible()) DrawSkinItem(ac, i);
    if (saved) RestoreDC(dc, saved);
    if (!IsNullRect(FData->TopLineRect) && FDataPicture) {
        TBitmap line;
        CreateHSkinImage(FData->TopLineOffset1, FData->TopLineOffset2, &line, FDataPicture, FData->TopLineRect, w,
                         RectHeight(FData->TopLineRect), true);
        ac->Draw(0, 0, &line);
    }
    if (GripOffered() && FDataPicture && !IsNullRect(FData->GripperRect)) {
        TBitmap g(FData->GripperRect.Width(), FData->GripperRect.Height());
        g.Canvas()->CopyRect(Rect(0, 0, g.Width(), g.Height()), FDataPicture->Canvas(), FData->GripperRect);
        g.SetTransparentColor(FData->GripperTransparentColor);
        g.SetTransparent(true);
        ac->Draw(w - g.Width(), h - g.Height(), &g);
    }
    C->Draw(0, 0, &a);
}

void TbsAppMenu::DrawSkinItem(TCanvas* C, int Index)
{
    TbsAppMenuItem* item = FItems->Items(Index);
    const TRect& r = item->ItemRect;
    const bool page = item->FPage != nullptr;
    bool may = true;
    if (page) {
        may = r.Top >= 30;
        if (FActivePage && FActivePage->BoundsRect().Bottom - 5 < r.Bottom) may = false;
    }
    const bool highlighted =
        may && (item->Active || (page && item->FPage == FActivePage) || (Index == FItemIndex && item->Enabled()));
    auto setFont = [&](TCanvas* c, TColor Color, int Height) {
        if (FUseSkinFont) {
            c->Font()->SetName(FData->FontName);
            c->Font()->SetStyle(FData->FontStyle);
        } else {
            c->Font()->Assign(Font());
        }
        c->Font()->SetColor(Color);
        c->Font()->SetHeight(Height);
        c->Brush()->SetStyle(bsClear);
    };
    if (highlighted && FDataPicture) {
        TBitmap img;
        TRect text;
        if (page) {
            const bool shown = item->FPage == FActivePage;
            const TRect& src = shown ? FData->PageItemActiveRect : FData->PageItemRect;
            CreateHSkinImage(FData->PageItemOffset1, FData->PageItemOffset2, &img, FDataPicture, src, r.Width(),
                             shown ? RectHeight(FData->PageItemActiveRect) : r.Height(), true);
            text = Rect(0, 0, img.Width(), RectHeight(FData->PageItemRect));
            setFont(img.Canvas(), FData->ActiveFontPageColor, FData->FontPageHeight);
        } else {
            CreateHSkinImage(FData->ItemOffset1, FData->ItemOffset2, &img, FDataPicture, FData->ItemRect, r.Width(),
                             r.Height(), true);
            text = Rect(0, 0, img.Width(), img.Height());
            setFont(img.Canvas(), FData->ActiveFontColor, FData->FontHeight);
        }
        DrawItemContent(img.Canvas(), Index, text, 3, FItemImageList);
        C->Draw(r.Left, r.Top, &img);
        return;
    }
    TColor color = page ? FData->FontPageColor : FData->FontColor;
    if (!item->Enabled()) color = FData->DisabledFontColor;
    setFont(C, color, page ? FData->FontPageHeight : FData->FontHeight);
    DrawItemContent(C, Index, r, 3, page ? FItemPageImageList : FItemImageList);
}

void TbsAppMenu::DrawDefaultItem(TCanvas* C, int Index)
{
    TbsAppMenuItem* item = FItems->Items(Index);
    const TRect& r = item->ItemRect;
    const bool page = item->FPage != nullptr;
    TCustomImageList* images = page ? FItemPageImageList : FItemImageList;
    const bool highlighted = item->Active || (page && item->FPage == FActivePage) || Index == FItemIndex;
    if (highlighted) {
        TBitmap img(r.Width(), r.Height() + 2);
        TCanvas* c = img.Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, img.Width(), img.Height()));
        c->Font()->Assign(C->Font());
        c->Font()->SetColor(clBtnText);
        c->Brush()->SetStyle(bsClear);
        if (!page) Draw3DFrame(c, Rect(0, 0, img.Width(), img.Height()), cl3DDkShadow, cl3DDkShadow);
        DrawItemContent(c, Index, Rect(0, 0, img.Width(), img.Height()), 5, images);
        if (page && item->FPage == FActivePage)
            DrawLargeArrowImage(c, Rect(img.Width() - 5, 0, img.Width(), img.Height()), clWindow, 1);
        C->Draw(r.Left, r.Top, &img);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(item->Enabled() ? clBtnHighlight : cl3DDkShadow);
    DrawItemContent(C, Index, r, 5, images);
}
