#include "skin/form/skin_menu_item.h"

#include <algorithm>
#include <memory>

#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/marks.h"
#include "skin/core/object_records.h"
#include "skin/core/panel_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_image.h"
#include "skin/core/text_layout.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_popup_window.h"

namespace {

constexpr TColor kHighlight = static_cast<TColor>(0xF3D4C1);  // red 193, green 212, blue 243

// The caption of a header without its two outer dashes.
String HeaderText(const String& Caption) { return Caption.size() >= 2 ? Caption.substr(1, Caption.size() - 2) : L""; }

UINT BiDi(TbsSkinMenu* Engine, UINT Flags)
{
    TCustomForm* f = Engine ? Engine->Form() : nullptr;
    return f ? f->DrawTextBiDiModeFlags(Flags) : Flags;
}

TRect Moved(const TRect& R, int X, int Y) { return Rect(R.Left + X, R.Top + Y, R.Right + X, R.Bottom + Y); }

}  // namespace

// ---- glyphs ----------------------------------------------------------------------------------

void DrawCheckGlyph(TCanvas* Cnvs, int X, int Y, TColor Color)
{
    Cnvs->Pen()->SetColor(Color);
    Cnvs->Pen()->SetWidth(1);
    for (int i = 0; i < 3; ++i) Cnvs->Polyline({Point(X, Y + 5 - i), Point(X + 2, Y + 7 - i), Point(X + 7, Y + 2 - i)});
}

void DrawSubMenuArrow(TCanvas* Cnvs, int X, int Y, TColor Color)
{
    Cnvs->Pen()->SetColor(Color);
    Cnvs->Pen()->SetWidth(1);
    for (int i = 0; i < 4; ++i) {
        Cnvs->MoveTo(X + i, Y + i);
        Cnvs->LineTo(X + i, Y + 7 - i);
    }
}

void DrawRadioGlyph(TCanvas* Cnvs, int X, int Y, TColor Color)
{
    Cnvs->Pen()->SetColor(Color);
    Cnvs->Pen()->SetWidth(1);
    Cnvs->Brush()->SetStyle(bsSolid);
    Cnvs->Brush()->SetColor(Color);
    Cnvs->Ellipse(X, Y, X + 6, Y + 6);
}

// ---- TbsSkinMenuItem -------------------------------------------------------------------------

TbsSkinMenuItem::TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData)
    : Parent(AParent), MI(AData), MenuItem(AMenuItem)
{
    if (!MI) return;
    TbsSkinData* sd = Parent->SD;
    const int n = sd ? static_cast<int>(sd->FActivePictures.size()) : 0;
    if (MI->ActivePictureIndex != -1 && MI->ActivePictureIndex >= 0 && MI->ActivePictureIndex < n) {
        ActivePicture = sd->FActivePictures[static_cast<size_t>(MI->ActivePictureIndex)];
    } else {
        // The shared record loses its looks: nothing can be cut from a missing picture.
        ActivePicture = nullptr;
        MI->SkinRect = TRect{};
        MI->ActiveSkinRect = TRect{};
    }
}

bool TbsSkinMenuItem::IsSeparator() const { return MenuItem->Caption() == L"-"; }

bool TbsSkinMenuItem::IsHeader() const
{
    const String& c = MenuItem->Caption();
    return !IsSeparator() && !c.empty() && c.front() == L'-' && c.back() == L'-' && !MenuItem->Enabled();
}

bool TbsSkinMenuItem::EnableMorphing() const
{
    TbsSkinData* sd = Parent->SD;
    return MI && MI->Morphing && sd && !sd->Empty && sd->EnableSkinEffects();
}

bool TbsSkinMenuItem::EnableAnimation() const
{
    TbsSkinData* sd = Parent->SD;
    return MI && !IsNullRect(MI->AnimateSkinRect) && MI->FrameCount > 0 && sd && !sd->Empty && sd->EnableSkinEffects();
}

bool TbsSkinMenuItem::CanMorphing()
{
    const bool f = Active || Down;
    if (!FVisible && FMorphKf != 0) {
        // A scrolled-out entry drops its state.
        Active = Down = false;
        FMorphKf = 0;
    }
    return FVisible && ((f && FMorphKf < 1) || (!f && FMorphKf > 0));
}

void TbsSkinMenuItem::SetMorphKf(double Value) { FMorphKf = std::clamp(Value, 0.0, 1.0); }

void TbsSkinMenuItem::DoMorphing()
{
    SetMorphKf((Active || Down) ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Draw(Parent->PaintCanvas());
}

void TbsSkinMenuItem::UpdateLook()
{
    if (EnableAnimation()) {
        if (Parent->MorphTimer->Interval() != static_cast<unsigned>(MI->AnimateInterval))
            Parent->MorphTimer->SetInterval(MI->AnimateInterval);
        if (!MI->InActiveAnimation && !Active) {
            CurrentFrame = 0;
            Draw(Parent->PaintCanvas());
        } else {
            Parent->MorphTimer->SetEnabled(true);
        }
    } else if (EnableMorphing()) {
        Parent->MorphTimer->SetInterval(20);
        Parent->MorphTimer->SetEnabled(true);
    } else {
        Draw(Parent->PaintCanvas());
    }
}

void TbsSkinMenuItem::MouseEnter(bool Kb)
{
    Active = true;
    if (EnableAnimation()) CurrentFrame = 0;
    for (TbsSkinMenuItem* o : Parent->ItemList)
        if (o != this && o->Down) {
            o->Down = false;
            o->UpdateLook();
        }
    TbsSkinMenu* engine = Parent->ParentMenu;
    if (WaitCommand && !Kb) {
        UpdateLook();
    } else if (!Down) {
        UpdateLook();
        engine->ActivateItem(Parent, this, false, Kb);
    } else {
        const int l = engine->LevelOf(Parent);
        if (l + 2 < engine->PopupCount()) engine->FPopupList[static_cast<size_t>(l + 1)]->CollapseSubMenus();
    }
    if (Parent->HintText != MenuItem->Hint()) Parent->HintText = MenuItem->Hint();
}

void TbsSkinMenuItem::MouseLeave()
{
    Active = false;
    if (EnableAnimation()) CurrentFrame = MI->FrameCount + 1;
    WaitCommand = false;
    if (!Down) UpdateLook();
    TbsSkinMenu* engine = Parent->ParentMenu;
    if (engine->WItem == this) {
        engine->WaitTimer->SetEnabled(false);
        engine->WItem = nullptr;
    }
}

void TbsSkinMenuItem::MouseDown(int, int)
{
    WaitCommand = false;
    if (!Down && MenuItem->Enabled()) Parent->ParentMenu->ActivateItem(Parent, this, true, false);
}

// ---- drawing ---------------------------------------------------------------------------------

void TbsSkinMenuItem::Draw(TCanvas* Cnvs)
{
    if (!FVisible || !Cnvs) return;
    if (!MI) {
        DefaultDraw(Cnvs);
        return;
    }
    if (!Parent->ParentMenu->UseSkinSize()) {
        ResizeDraw(Cnvs);
        return;
    }
    DrawSkinLook(Cnvs, false);
}

void TbsSkinMenuItem::ResizeDraw(TCanvas* Cnvs) { DrawSkinLook(Cnvs, true); }

TRect TbsSkinMenuItem::GetAnimationFrameRect() const
{
    const TRect& a = MI->AnimateSkinRect;
    const int k = CurrentFrame;
    if (RectHeight(MI->SkinRect) < RectHeight(a)) {
        const int h = RectHeight(a) / MI->FrameCount;
        return Rect(a.Left, a.Top + h * (k - 1), a.Right, a.Top + h * k);
    }
    const int w = RectWidth(a) / MI->FrameCount;
    return Rect(a.Left + w * (k - 1), a.Top, a.Left + w * k, a.Bottom);
}

void TbsSkinMenuItem::DrawSkinLook(TCanvas* Cnvs, bool Resize)
{
    const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
    if (w <= 0 || h <= 0) return;
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    if (IsSeparator()) {
        if (!ActivePicture || IsNullRect(MI->DividerRect)) return;
        CreateHSkinImage(MI->DividerLO, MI->DividerRO, &b, ActivePicture, MI->DividerRect, w,
                         RectHeight(MI->DividerRect), MI->DividerStretchEffect);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
        return;
    }
    // The skin look needs the picture; without it the entry takes the built-in look.
    if (!ActivePicture || IsNullRect(MI->SkinRect)) {
        DefaultDraw(Cnvs);
        return;
    }
    const bool f = Active || Down;
    if (EnableAnimation() && CurrentFrame >= 1 && CurrentFrame <= MI->FrameCount) {
        CreateItemImage(&b, f, true, Resize);
    } else if (EnableMorphing()) {
        if (f && FMorphKf >= 1) {
            CreateItemImage(&b, true, false, Resize);
        } else if (f || FMorphKf != 0) {
            TBitmap active;
            active.SetPixelFormat(pf24bit);
            CreateItemImage(&b, false, false, Resize);
            CreateItemImage(&active, true, false, Resize);
            std::unique_ptr<TbsEffectBmp> e1(TbsEffectBmp::CreateFromhWnd(b.Handle()));
            std::unique_ptr<TbsEffectBmp> e2(TbsEffectBmp::CreateFromhWnd(active.Handle()));
            e1->MorphBy(MI->MorphKind, e2.get(), FMorphKf);
            e1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
            return;
        } else {
            CreateItemImage(&b, false, false, Resize);
        }
    } else {
        CreateItemImage(&b, f, false, Resize);
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinMenuItem::ApplyFont(TFont* F, bool SkinFont) const
{
    TbsSkinMenu* engine = Parent->ParentMenu;
    if (SkinFont) {
        F->SetName(MI->FontName);
        F->SetStyle(MI->FontStyle);
        F->SetHeight(MI->FontHeight);
    } else {
        F->Assign(engine->DefaultMenuItemFont());
    }
    TbsSkinData* sd = engine->SkinData;
    if (sd && sd->ResourceStrData())
        F->SetCharset(sd->ResourceStrData()->CharSet());
    else
        F->SetCharset(engine->DefaultMenuItemFont()->Charset());
}

bool TbsSkinMenuItem::HasImage(int& W, int& H) const
{
    if (MenuItem->HasBitmap()) {
        W = MenuItem->Bitmap()->Width();
        H = MenuItem->Bitmap()->Height();
        return true;
    }
    TCustomImageList* il = Parent->ImgL;
    if (il && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < il->Count()) {
        W = il->Width();
        H = il->Height();
        return true;
    }
    return false;
}

void TbsSkinMenuItem::DrawImage(TCanvas* Cnvs, int X, int Y, int W, int H, TColor FrameColor)
{
    if (MenuItem->Checked()) {
        Cnvs->Brush()->SetStyle(bsClear);
        Cnvs->Pen()->SetColor(FrameColor);
        Cnvs->Rectangle(X - 1, Y - 1, X + W + 1, Y + H + 1);
    }
    if (MenuItem->HasBitmap())
        Cnvs->Draw(X, Y, MenuItem->Bitmap());
    else
        Parent->ImgL->Draw(Cnvs, X, Y, MenuItem->ImageIndex(), MenuItem->Enabled());
}

void TbsSkinMenuItem::DrawNamedGlyph(TCanvas* Cnvs, int X, int Y, TColor Color, bool& Drawn) const
{
    const String& n = MenuItem->Name();
    Drawn = true;
    if (n == L"BSF_CLOSE" || n == L"TRAY_BSF_CLOSE")
        DrawCloseGlyph(Cnvs, X, Y, Color);
    else if (n == L"BSF_MINITEM")
        DrawMinimizeGlyph(Cnvs, X, Y, Color);
    else if (n == L"BSF_MAXITEM")
        DrawMaximizeGlyph(Cnvs, X, Y, Color);
    else if (n == L"BSF_RESTORE" || n == L"TRAY_BSF_RESTORE")
        DrawRestoreGlyph(Cnvs, X, Y, Color);
    else if (n == L"BSF_ROLLUP")
        DrawRollUpGlyph(Cnvs, X, Y, Color);
    else if (n == L"BSF_MINTOTRAY")
        DrawTrayGlyph(Cnvs, X, Y, Color);
    else
        Drawn = false;
}

void TbsSkinMenuItem::CreateItemImage(TBitmap* B, bool AActive, bool AFrame, bool Resize)
{
    const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
    TRect src = AActive ? MI->ActiveSkinRect : MI->SkinRect;
    if (IsNullRect(src)) src = MI->SkinRect;
    if (AFrame) src = GetAnimationFrameRect();
    // Background.
    if (!AActive && MI->InActiveTransparent && Parent->FPaintBuffer) {
        B->SetSize(w, h);
        B->Canvas()->CopyRect(Rect(0, 0, w, h), Parent->FPaintBuffer->Canvas(), ObjectRect);
    } else if (!Resize) {
        bool stretch = AActive ? MI->StretchEffect : MI->InActiveStretchEffect;
        if (AFrame && !MI->InActiveStretchEffect) stretch = MI->StretchEffect;
        CreateHSkinImage(MI->ItemLO, MI->ItemRO, B, ActivePicture, src, w, RectHeight(src), stretch);
    } else {
        B->SetSize(w, h);
        const int sw = RectWidth(src), sh = RectHeight(src);
        CreateStretchImage(B, ActivePicture, src, Rect(MI->ItemLO, sh / 4, sw - MI->ItemRO, sh - sh / 4), true);
    }
    const int bw = B->Width(), bh = B->Height();
    TCanvas* c = B->Canvas();
    TbsSkinMenu* engine = Parent->ParentMenu;
    const bool hasImgRect = !IsNullRect(MI->ImageRct);
    const int glyphColumn = hasImgRect ? 0 : (Parent->ImgL ? Parent->GlyphWidth : 16);
    TRect TR = MI->TextRct;
    TR.Right = bw - (RectWidth(MI->SkinRect) - MI->TextRct.Right);
    if (Resize) TR.Bottom = bh - (RectHeight(MI->SkinRect) - MI->TextRct.Bottom);
    ApplyFont(c->Font(), engine->UseSkinFont());
    TColor color = AActive ? MI->ActiveFontColor : (MenuItem->Enabled() ? MI->FontColor : MI->UnEnabledFontColor);
    c->Font()->SetColor(color);
    c->Brush()->SetStyle(bsClear);
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, c, TR, AActive);
        return;
    }
    if (IsHeader()) {
        DrawHeaderItem(c, Rect(0, 0, bw, bh), Resize);
        return;
    }
    const bool odd = (c->Font()->Height() % 2) != 0;
    TRect r2 = Rect(TR.Left + glyphColumn, 0, TR.Right - 16, 0);
    DrawWideText(c, MenuItem->Caption(), r2, DT_CALCRECT);
    r2 = Moved(r2, 0, RectHeight(TR) / 2 + TR.Top - r2.Bottom / 2);
    r2.Right += 2;
    if (odd) r2.Top -= 1;
    TRect cr = r2;
    DrawWideText(c, MenuItem->Caption(), cr, BiDi(engine, DT_CENTER | DT_VCENTER));
    const String sc = MenuItem->ShortCut() ? ShortCutToText(MenuItem->ShortCut()) : String();
    if (!sc.empty()) {
        TRect m{};
        DrawWideText(c, sc, m, DT_CALCRECT);
        TRect sr = Rect(TR.Right - RectWidth(m) - 16, r2.Top, TR.Right - 16, r2.Bottom);
        if (odd) sr.Top -= 1;
        DrawWideText(c, sc, sr, BiDi(engine, DT_CENTER | DT_VCENTER));
    }
    if (MenuItem->Count() > 0) {
        if (IsNullRect(MI->ArrowImageRect))
            DrawSubMenuArrow(c, TR.Right - 7, RectHeight(TR) / 2 + TR.Top - 4, color);
        else
            DrawSkinArrow(c, Rect(TR.Right - RectWidth(MI->ArrowImageRect) - 5, TR.Top, TR.Right, TR.Bottom), AActive);
    }
    if (MI->UseImageColor) {
        color = AActive ? MI->ActiveImageColor : MI->ImageColor;
        c->Font()->SetColor(color);
    }
    TRect imgRect = MI->ImageRct;
    if (Resize && hasImgRect) imgRect.Bottom = bh - (RectHeight(MI->SkinRect) - MI->ImageRct.Bottom);
    int iw = 0, ih = 0;
    if (HasImage(iw, ih)) {
        int X, Y;
        if (!hasImgRect) {
            X = TR.Left + 2;
            Y = RectHeight(TR) / 2 + TR.Top - ih / 2;
        } else {
            X = RectWidth(imgRect) / 2 + imgRect.Left - iw / 2;
            Y = RectHeight(imgRect) / 2 + imgRect.Top - ih / 2;
        }
        DrawImage(c, X, Y, iw, ih, color);
        return;
    }
    int GX = TR.Left + 2, GY = RectHeight(TR) / 2 + TR.Top - 4;
    if (hasImgRect) {
        GX = (imgRect.Left + imgRect.Right) / 2 - 4;
        GY = (imgRect.Top + imgRect.Bottom) / 2 - 4;
    }
    bool drawn = false;
    DrawNamedGlyph(c, GX, GY, color, drawn);
    if (drawn || !MenuItem->Checked()) return;
    const TRect box =
        hasImgRect ? imgRect : Rect(MI->TextRct.Left + 2, MI->TextRct.Top, MI->TextRct.Left + 16, MI->TextRct.Bottom);
    if (MenuItem->RadioItem()) {
        if (IsNullRect(MI->RadioImageRect))
            DrawRadioGlyph(c, GX, GY + 1, color);
        else
            DrawSkinRadio(c, box, AActive);
    } else {
        if (IsNullRect(MI->CheckImageRect))
            DrawCheckGlyph(c, GX, GY, color);
        else
            DrawSkinCheck(c, box, AActive);
    }
}

void TbsSkinMenuItem::DrawSkinGlyph(TCanvas* Cnvs, const TRect& R, const TRect& Src)
{
    if (!ActivePicture || IsNullRect(Src)) return;
    TBitmap g;
    g.SetPixelFormat(pf24bit);
    g.SetSize(RectWidth(Src), RectHeight(Src));
    g.Canvas()->CopyRect(Rect(0, 0, g.Width(), g.Height()), ActivePicture->Canvas(), Src);
    g.SetTransparent(true);
    const int x = std::max(R.Left, RectWidth(R) / 2 + R.Left - g.Width() / 2);
    const int y = std::max(R.Top, RectHeight(R) / 2 + R.Top - g.Height() / 2);
    Cnvs->Draw(x, y, &g);
}

void TbsSkinMenuItem::DrawSkinCheck(TCanvas* Cnvs, const TRect& R, bool AActive)
{
    DrawSkinGlyph(Cnvs, R, AActive ? MI->ActiveCheckImageRect : MI->CheckImageRect);
}

void TbsSkinMenuItem::DrawSkinRadio(TCanvas* Cnvs, const TRect& R, bool AActive)
{
    DrawSkinGlyph(Cnvs, R, AActive ? MI->ActiveRadioImageRect : MI->RadioImageRect);
}

void TbsSkinMenuItem::DrawSkinArrow(TCanvas* Cnvs, const TRect& R, bool AActive)
{
    DrawSkinGlyph(Cnvs, R, AActive ? MI->ActiveArrowImageRect : MI->ArrowImageRect);
}

void TbsSkinMenuItem::DrawHeaderItem(TCanvas* Cnvs, const TRect& R, bool Resize)
{
    TbsSkinData* sd = Parent->SD;
    if (!sd) return;
    int i = sd->GetControlIndex(L"menuheader");
    auto* lab = i != -1 ? dynamic_cast<TbsDataSkinLabelControl*>(sd->CtrlList[static_cast<size_t>(i)]) : nullptr;
    if (!lab) {
        i = sd->GetControlIndex(L"label");
        lab = i != -1 ? dynamic_cast<TbsDataSkinLabelControl*>(sd->CtrlList[static_cast<size_t>(i)]) : nullptr;
    }
    if (!lab) return;
    const auto& pics = sd->FActivePictures;
    if (lab->PictureIndex < 0 || lab->PictureIndex >= static_cast<int>(pics.size()) || IsNullRect(lab->SkinRect))
        return;
    TBitmap* pic = pics[static_cast<size_t>(lab->PictureIndex)];
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    const int w = RectWidth(R), h = RectHeight(R);
    const int sw = RectWidth(lab->SkinRect), sh = RectHeight(lab->SkinRect);
    TRect tr;
    TbsSkinMenu* engine = Parent->ParentMenu;
    if (!Resize) {
        CreateHSkinImage(lab->LTPoint.X, sw - lab->RTPoint.X, &b, pic, lab->SkinRect, w, sh, lab->StretchEffect);
        b.Canvas()->Font()->SetName(lab->FontName);
        b.Canvas()->Font()->SetHeight(lab->FontHeight);
        b.Canvas()->Font()->SetStyle(lab->FontStyle);
        b.Canvas()->Font()->SetCharset(Cnvs->Font()->Charset());
        tr = Rect(lab->ClRect.Left, lab->ClRect.Top, b.Width() - (sw - lab->ClRect.Right), b.Height());
    } else {
        b.SetSize(w, h);
        CreateStretchImage(&b, pic, lab->SkinRect, Rect(lab->LTPoint.X, sh / 4, lab->RTPoint.X, sh - sh / 4), true);
        b.Canvas()->Font()->Assign(engine->DefaultMenuItemFont());
        tr = Rect(lab->ClRect.Left, lab->ClRect.Top, w - (sw - lab->ClRect.Right), h - (sh - lab->ClRect.Bottom));
    }
    b.Canvas()->Font()->SetColor(lab->FontColor);
    b.Canvas()->Brush()->SetStyle(bsClear);
    if (b.Canvas()->Font()->Height() % 2 != 0) tr.Top -= 1;
    DrawWideText(b.Canvas(), HeaderText(MenuItem->Caption()), tr, BiDi(engine, DT_CENTER | DT_VCENTER));
    if (!Resize)
        Cnvs->Draw(R.Left, RectHeight(R) / 2 + R.Top - b.Height() / 2, &b);
    else
        Cnvs->Draw(R.Left, R.Top, &b);
}

void TbsSkinMenuItem::DefaultDraw(TCanvas* Cnvs)
{
    const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
    if (w <= 0 || h <= 0) return;
    TbsSkinMenu* engine = Parent->ParentMenu;
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    c->Font()->Assign(engine->DefaultMenuItemFont());
    TbsSkinData* sd = engine->SkinData;
    if (sd && sd->ResourceStrData()) c->Font()->SetCharset(sd->ResourceStrData()->CharSet());
    const int GW = Parent->ImgL ? Parent->GlyphWidth : 19;
    const bool sep = IsSeparator();
    TColor color;
    c->Brush()->SetStyle(bsSolid);
    if ((Active || Down) && !sep) {
        c->Brush()->SetColor(kHighlight);
        c->FillRect(Rect(0, 0, w, h));
        color = clWindowText;
    } else {
        c->Brush()->SetColor(clWindow);
        c->FillRect(Rect(0, 0, GW, h));
        c->FillRect(Rect(GW, 0, w, h));
        color = MenuItem->Enabled() ? clWindowText : clBtnShadow;
    }
    if (sep) {
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(0, h / 2);
        c->LineTo(w, h / 2);
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
        return;
    }
    const TRect R = Rect(2, 2, w - 2, h - 2);
    c->Brush()->SetStyle(bsClear);
    if (IsHeader()) {
        c->Brush()->SetStyle(bsSolid);
        c->Brush()->SetColor(clBtnShadow);
        c->FillRect(Rect(0, 0, w, h));
        c->Brush()->SetStyle(bsClear);
        c->Font()->SetColor(clBtnHighlight);
        TRect r = R;
        DrawWideText(c, HeaderText(MenuItem->Caption()), r, BiDi(engine, DT_CENTER | DT_VCENTER));
        Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
        return;
    }
    c->Font()->SetColor(color);
    TRect r2 = Rect(R.Left + GW, 0, R.Right - 19, 0);
    DrawWideText(c, MenuItem->Caption(), r2, DT_CALCRECT);
    r2 = Moved(r2, 0, RectHeight(R) / 2 + R.Top - r2.Bottom / 2);
    r2.Right += 2;
    TRect cr = r2;
    DrawWideText(c, MenuItem->Caption(), cr, BiDi(engine, DT_CENTER | DT_VCENTER));
    if (MenuItem->ShortCut()) {
        const String sc = ShortCutToText(MenuItem->ShortCut());
        TRect m{};
        DrawWideText(c, sc, m, DT_CALCRECT);
        TRect sr = Rect(R.Right - 19 - RectWidth(m), r2.Top, R.Right - 19, r2.Bottom);
        DrawWideText(c, sc, sr, BiDi(engine, DT_CENTER | DT_VCENTER));
    }
    if (MenuItem->Count() > 0) DrawSubMenuArrow(c, R.Right - 7, RectHeight(R) / 2 + R.Top - 4, color);
    int iw = 0, ih = 0;
    if (HasImage(iw, ih)) {
        DrawImage(c, R.Left + 2, RectHeight(R) / 2 + R.Top - ih / 2, iw, ih, color);
    } else {
        bool drawn = false;
        DrawNamedGlyph(c, R.Left + 2, RectHeight(R) / 2 + R.Top - 4, color, drawn);
        if (!drawn && MenuItem->Checked()) {
            if (MenuItem->RadioItem())
                DrawRadioGlyph(c, R.Left + 3, RectHeight(R) / 2 + R.Top - 4, color);
            else
                DrawCheckGlyph(c, R.Left + 3, RectHeight(R) / 2 + R.Top - 4, color);
        }
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}
