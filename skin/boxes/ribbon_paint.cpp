// The ribbon's looks: the skinned look from its "officetab" tab record (strip background, tab
// faces, a nine-part frame round the page area, MDI button faces) and caption buttons from
// "officeribbonbutton" or "resizetoolbutton"; the built-in look in system colours. The strip
// with its tabs and buttons is composed in one image and reaches the screen in one draw.
#include <algorithm>

#include "skin/boxes/app_menu.h"
#include "skin/boxes/ribbon.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"

namespace {

TbsDataSkinButtonControl* CaptionButtonRecord(TbsSkinData* SD)
{
    if (!SD || SD->Empty) return nullptr;
    for (const wchar_t* name : {L"officeribbonbutton", L"resizetoolbutton"}) {
        const int i = SD->GetControlIndex(name);
        if (i < 0 || i >= static_cast<int>(SD->CtrlList.size())) continue;
        if (auto* r = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<size_t>(i)])) return r;
    }
    return nullptr;
}

TBitmap* PictureOf(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}

void SetBold(TCanvas* C, bool Bold)
{
    if (Bold) C->Font()->SetStyle(TFontStyles(C->Font()->Style()).Include(fsBold));
}

}  // namespace

void TbsRibbon::DrawTabCaption(TCanvas* C, const String& Caption, const TRect& R, int TabWidth)
{
    if (TabWidth - 6 < C->TextWidth(Caption))
        DrawVCenterText(C, Caption, R);
    else
        DrawCenteredText(C, Caption, R);
}

void TbsRibbon::DrawRibbon(TCanvas* C)
{
    GetSkinData();
    const int w = Width(), h = Height();
    if (w < 1 || h < 1) return;
    const int hs = GetTabsHeight();
    const TRect page = GetPageBounds();
    if (FData && FDataPicture) {
        const TRect& s = FData->SkinRect;
        const TRect& cl = FData->ClRect;
        const TRect r = Rect(page.Left - cl.Left, page.Top - cl.Top, page.Right + RectWidth(s) - cl.Right,
                             page.Bottom + RectHeight(s) - cl.Bottom);
        const int dx = r.Width() - RectWidth(s), dy = r.Height() - RectHeight(s);
        TBitmap left, top, right, bottom;
        CreateSkinBorderImages(
            FData->LTPoint, FData->RTPoint, FData->LBPoint, FData->RBPoint, cl, FData->LTPoint,
            Point(FData->RTPoint.X + dx, FData->RTPoint.Y), Point(FData->LBPoint.X, FData->LBPoint.Y + dy),
            Point(FData->RBPoint.X + dx, FData->RBPoint.Y + dy), Rect(cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy),
            &left, &top, &right, &bottom, FDataPicture, s, r.Width(), r.Height(), FData->LeftStretch, FData->TopStretch,
            FData->RightStretch, FData->BottomStretch);
        TBitmap strip(w, top.Height() + hs);
        TCanvas* t = strip.Canvas();
        t->Draw(0, strip.Height() - top.Height(), &top);
        const TRect bg = Rect(0, 0, w, strip.Height() - top.Height());
        if (IsNullRect(FData->TabsBGRect)) {
            t->Brush()->SetColor(FSD->SkinColors()->cBtnShadow());
            t->FillRect(bg);
        } else {
            TBitmap part(FData->TabsBGRect.Width(), FData->TabsBGRect.Height());
            part.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), FDataPicture->Canvas(), FData->TabsBGRect);
            t->StretchDraw(bg, &part);
        }
        if (FUseSkinFont) {
            t->Font()->SetName(FData->FontName);
            t->Font()->SetStyle(FData->FontStyle);
            t->Font()->SetHeight(FData->FontHeight);
        } else {
            t->Font()->Assign(Font());
        }
        CalcLayout(t);
        if (AnyVisibleTab())
            for (int i = 0; i < FTabs->Count(); ++i)
                if (FTabs->GetItem(i)->FVisible) DrawSkinTab(t, i);
        if (CaptionButtonsShown())
            for (int i = 0; i < FButtons->Count(); ++i)
                if (FButtons->Items(i)->Visible()) DrawCaptionButton(t, i);
        for (int i = 0; i < FMDIButtons->Count(); ++i) DrawMDIButton(t, i);
        C->Draw(r.Left, r.Top + top.Height(), &left);
        C->Draw(r.Right - right.Width(), r.Top + top.Height(), &right);
        C->Draw(r.Left, r.Bottom - bottom.Height(), &bottom);
        C->Draw(0, 0, &strip);
        if (FTabs->Count() == 0 || !AnyVisibleTab()) DrawEmptyClientArea(C, page);
        return;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(clBtnShadow);
    C->FillRect(Rect(0, hs + 2, w, h));
    TBitmap strip(w, hs + 2);
    TCanvas* b = strip.Canvas();
    b->Brush()->SetColor(clBtnShadow);
    b->FillRect(Rect(0, 0, w, hs + 2));
    if (FTabs->Count() == 0) {
        C->Brush()->SetColor(clBtnFace);
        C->FillRect(page);
    }
    b->Font()->Assign(Font());
    CalcLayout(b);
    if (AnyVisibleTab())
        for (int i = 0; i < FTabs->Count(); ++i)
            if (FTabs->GetItem(i)->FVisible) DrawDefaultTab(b, i);
    if (CaptionButtonsShown())
        for (int i = 0; i < FButtons->Count(); ++i)
            if (FButtons->Items(i)->Visible()) DrawCaptionButton(b, i);
    for (int i = 0; i < FMDIButtons->Count(); ++i) DrawMDIButton(b, i);
    C->Draw(0, 0, &strip);
}

void TbsRibbon::DrawEmptyClientArea(TCanvas* C, const TRect& R)
{
    if (Width() < 1 || Height() < 1 || !FData) return;
    TBitmap tile;
    if (BackgroundTile(tile)) DrawBackgroundTile(C, R, &tile, FData->StretchEffect, FData->StretchType);
}

void TbsRibbon::DrawDefaultTab(TCanvas* C, int Index)
{
    TbsRibbonTab* tab = FTabs->GetItem(Index);
    const String caption = tab->FPage ? tab->FPage->Caption() : String();
    const TRect& r = tab->ItemRect;
    if (Index == FTabIndex) {
        TBitmap img(r.Width(), r.Height() + 2);
        TCanvas* c = img.Canvas();
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, img.Width(), img.Height()));
        c->Font()->Assign(C->Font());
        c->Font()->SetColor(clBtnText);
        SetBold(c, FTabBoldStyle);
        c->Brush()->SetStyle(bsClear);
        DrawTabCaption(c, caption, Rect(3, 0, img.Width() - 3, img.Height() - 1), tab->Width);
        C->Draw(r.Left, r.Top, &img);
        return;
    }
    C->Brush()->SetStyle(bsClear);
    C->Font()->SetColor(clBtnHighlight);
    DrawTabCaption(C, caption, Rect(r.Left + 3, r.Top, r.Right - 3, r.Bottom), tab->Width);
    if (FShowDivider) {
        C->Pen()->SetColor(cl3DDkShadow);
        C->MoveTo(r.Right, r.Top);
        C->LineTo(r.Right, r.Bottom + 1);
    }
}

void TbsRibbon::DrawSkinTab(TCanvas* C, int Index)
{
    TbsRibbonTab* tab = FTabs->GetItem(Index);
    const String caption = tab->FPage ? tab->FPage->Caption() : String();
    const TRect& r = tab->ItemRect;
    const bool selected = Index == FTabIndex && !AppMenuVisible();
    auto face = [&](const TRect& Src, TColor Color, bool Bold, int BottomInset) {
        TBitmap img;
        CreateHSkinImage(FData->TabLeftOffset, FData->TabRightOffset, &img, FDataPicture, Src, r.Width(),
                         RectHeight(Src), FData->TabStretchEffect);
        TCanvas* c = img.Canvas();
        c->Font()->Assign(C->Font());
        c->Font()->SetColor(Color);
        SetBold(c, Bold);
        c->Brush()->SetStyle(bsClear);
        DrawTabCaption(c, caption, Rect(3, 0, img.Width() - 3, img.Height() - BottomInset), tab->Width);
        C->Draw(r.Left, r.Top, &img);
    };
    if (selected && Focused() && !IsNullRect(FData->FocusTabRect)) {
        face(FData->FocusTabRect, FData->FocusFontColor, FTabBoldStyle, 1);
    } else if (selected && !IsNullRect(FData->ActiveTabRect)) {
        face(FData->ActiveTabRect, FData->ActiveFontColor, FTabBoldStyle, 1);
    } else if (!tab->Active || IsNullRect(FData->MouseInTabRect)) {
        C->Brush()->SetStyle(bsClear);
        C->Font()->SetColor(tab->Active ? FData->MouseInFontColor : FData->FontColor);
        DrawTabCaption(C, caption, Rect(r.Left + 3, r.Top, r.Right - 3, r.Bottom), tab->Width);
        if (!FShowDivider) return;
        if (IsNullRect(FData->DividerRect)) {
            C->Pen()->SetColor(FSD->SkinColors()->cBtnShadow());
            C->MoveTo(r.Right, r.Top);
            C->LineTo(r.Right, r.Bottom);
        } else {
            TBitmap d(FData->DividerRect.Width(), FData->DividerRect.Height());
            d.Canvas()->CopyRect(Rect(0, 0, d.Width(), d.Height()), FDataPicture->Canvas(), FData->DividerRect);
            if (FData->DividerTransparent) {
                d.SetTransparentColor(FData->DividerTransparentColor);
                d.SetTransparent(true);
            }
            C->Draw(r.Right - d.Width(), r.Bottom - d.Height(), &d);
        }
    } else {
        face(FData->MouseInTabRect, FData->MouseInFontColor, false, 0);
    }
}

void TbsRibbon::DrawMDIButton(TCanvas* C, int Index)
{
    TbsRibbonButtonItem* b = FMDIButtons->Items(Index);
    const TRect& r = b->ItemRect;
    if (!FData || !FDataPicture) {
        const int x = r.Left + r.Width() / 2 - 5, y = r.Top + r.Height() / 2 - 4;
        const TColor color = b->Active || b->Down ? clBtnHighlight : clBtnText;
        switch (b->Code) {
        case 1: DrawCloseGlyph(C, x, y, color); break;
        case 2: DrawRestoreGlyph(C, x, y, color); break;
        case 3: DrawMinimizeGlyph(C, x, y, color); break;
        default: break;
        }
        return;
    }
    const TRect* faces[3][3] = {
        {&FData->MDICloseRect, &FData->MDICloseActiveRect, &FData->MDICloseDownRect},
        {&FData->MDIRestoreRect, &FData->MDIRestoreActiveRect, &FData->MDIRestoreDownRect},
        {&FData->MDIMinRect, &FData->MDIMinActiveRect, &FData->MDIMinDownRect},
    };
    if (b->Code < 1 || b->Code > 3) return;
    TRect normal = *faces[b->Code - 1][0];
    TRect active = IsNullRect(*faces[b->Code - 1][1]) ? normal : *faces[b->Code - 1][1];
    TRect down = IsNullRect(*faces[b->Code - 1][2]) ? active : *faces[b->Code - 1][2];
    const TRect src = b->Active && b->Down ? down : b->Active ? active : normal;
    if (IsNullRect(src)) return;
    TBitmap img(src.Width(), src.Height());
    img.Canvas()->CopyRect(Rect(0, 0, img.Width(), img.Height()), FDataPicture->Canvas(), src);
    if (FData->MDIButtonsTransparent) {
        img.SetTransparentColor(FData->MDIButtonsTransparentColor);
        img.SetTransparent(true);
    }
    C->Draw(r.Left, r.Top, &img);
}

void TbsRibbon::DrawCaptionButton(TCanvas* C, int Index)
{
    TbsRibbonButtonItem* b = FButtons->Items(Index);
    if (!b->Visible()) return;
    const TRect& r = b->ItemRect;
    const int side = r.Width();
    const bool pressed = (b->Active && b->Down) || Index == FPopupButton;
    if (!FData || !FDataPicture) {
        // The built-in look shows only the pointer's button: pressed or hot.
        if (b->Active) {
            C->Brush()->SetStyle(bsSolid);
            C->Brush()->SetColor(b->Down ? cl3DDkShadow : clBtnFace);
            C->FillRect(Rect(r.Left, r.Top, r.Left + side, r.Top + side));
        }
    } else if (auto* rec = CaptionButtonRecord(FSD)) {
        TRect src{};
        if (pressed)
            src = rec->DownSkinRect;
        else if (b->Active)
            src = rec->ActiveSkinRect;
        TBitmap* pic = PictureOf(FSD, rec->PictureIndex);
        if (!IsNullRect(src) && pic) {
            TBitmap img(side, side);
            CreateStretchImage(&img, pic, src, rec->ClRect, true);
            C->Draw(r.Left, r.Top, &img);
        }
    }
    if (FButtonsImageList && b->ImageIndex() >= 0 && b->ImageIndex() < FButtonsImageList->Count())
        FButtonsImageList->Draw(C, r.Left + r.Width() / 2 - FButtonsImageList->Width() / 2,
                                r.Top + r.Height() / 2 - FButtonsImageList->Height() / 2, b->ImageIndex(),
                                b->Enabled());
}
