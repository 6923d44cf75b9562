#include "skin/form/frame_objects.h"

#include <algorithm>
#include <memory>

#include "platform/framework/forms/application.h"
#include "platform/win/win_api.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/core/layer_manager.h"
#include "skin/core/marks.h"
#include "skin/core/os_layers.h"
#include "skin/core/pixel_routines.h"
#include "skin/core/skin_bitmap.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/object_menu.h"
#include "skin/form/skin_form.h"

namespace {

TBitmap* PictureAt(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}

}  // namespace

// ---- TbsActiveSkinObject ---------------------------------------------------------------------

TbsActiveSkinObject::TbsActiveSkinObject(TbsSkinForm* AParent, TbsDataSkinObject* AData) : Parent(AParent)
{
    SD = AParent->SkinData();
    if (!AData) return;
    IDName = AData->IDName;
    Hint = AData->Hint;
    SkinRectInAPicture = AData->SkinRectInAPicture;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    InActiveSkinRect = AData->InActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    GlowLayerPictureIndex = AData->GlowLayerPictureIndex;
    GlowLayerMaskPictureIndex = AData->GlowLayerMaskPictureIndex;
    GlowLayerOffsetX = AData->GlowLayerOffsetX;
    GlowLayerOffsetY = AData->GlowLayerOffsetY;
    GlowLayerAlphaBlendValue = AData->GlowLayerAlphaBlendValue;
    ActivePicture = PictureAt(SD, AData->ActivePictureIndex);
    ActiveMaskPicture = PictureAt(SD, AData->ActiveMaskPictureIndex);
    // Without the active picture there is no hover look, here or in the record.
    if (!ActivePicture) {
        ActiveSkinRect = TRect{};
        AData->ActiveSkinRect = TRect{};
    }
    if (ActiveSkinRect.IsEmpty()) Morphing = false;
    ObjectRect = SkinRect;
    Picture = SD ? SD->FPicture : nullptr;
}

bool TbsActiveSkinObject::HasSkin() const { return SD && !SD->Empty; }

bool TbsActiveSkinObject::PointInMask(int X, int Y)
{
    if (!HasSkin() || !ActiveMaskPicture) return true;
    uint32_t c = 0xFFFFFF;
    if (X >= 0 && Y >= 0 && X < ActiveMaskPicture->Width() && Y < ActiveMaskPicture->Height())
        c = ActiveMaskPicture->PixelArgb(X, Y) & 0xFFFFFF;
    return c == 0;
}

TbsLayerManager* TbsActiveSkinObject::GlowManager() { return Parent->FLayerManager; }

void TbsActiveSkinObject::ShowLayer()
{
    if (!HasSkin() || GlowLayerPictureIndex == -1 || !IsWindows2000OrLater() || !SD->ShowCaptionButtonGlowFrames())
        return;
    // The glow needs both pictures; a mask index outside the skin's pictures shows none.
    TBitmap* image = PictureAt(SD, GlowLayerPictureIndex);
    TBitmap* mask = PictureAt(SD, GlowLayerMaskPictureIndex);
    if (!image || !mask) return;
    TRect r = ScreenRect();
    GlowManager()->Show(r.Left - GlowLayerOffsetX, r.Top - GlowLayerOffsetY, image, mask, GlowLayerAlphaBlendValue);
}

void TbsActiveSkinObject::HideLayer()
{
    if (!HasSkin() || GlowLayerPictureIndex == -1 || !IsWindows2000OrLater() || !SD->ShowCaptionButtonGlowFrames())
        return;
    GlowManager()->Hide();
}

bool TbsActiveSkinObject::CanMorphing() { return (Active && FMorphKf < 1) || (!Active && FMorphKf > 0); }

bool TbsActiveSkinObject::EnableMorphing()
{
    return Morphing && HasSkin() && SD->EnableSkinEffects() && !Parent->FullLayeredFrameInUse();
}

bool TbsActiveSkinObject::InTransition() { return (Active && FMorphKf != 1) || (!Active && FMorphKf != 0); }

void TbsActiveSkinObject::SetMorphKf(double Value)
{
    // Five steps of 0.2 end exactly at the ends, whatever the rounding on the way.
    if (Value < 1e-6) Value = 0;
    if (Value > 1 - 1e-6) Value = 1;
    FMorphKf = Value;
}

void TbsActiveSkinObject::DoMorphing()
{
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Redraw();
}

void TbsActiveSkinObject::UpdateLook()
{
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Redraw();
}

void TbsActiveSkinObject::Redraw() { Parent->DrawSkinObject(this); }

TRect TbsActiveSkinObject::ScreenRect()
{
    TRect r = ObjectRect;
    TCustomForm* f = Parent->Form();
    TPoint o{};
    if (f->FormStyle() == fsMDIChild) {
        POINT p = Parent->FSkinSupport ? POINT{-Parent->NewClRect.Left, -Parent->NewClRect.Top}
                                       : POINT{-3, -(Parent->GetDefCaptionHeight() + 3)};
        ClientToScreen(f->Handle(), &p);
        o = Point(p.x, p.y);
    } else if (!(Parent->FullLayeredFrameInUse() && Parent->FBorderLayer->FVisible &&
                 Parent->FBorderLayer->TopBorderOrigin(o))) {
        o = Point(f->Left(), f->Top());
    }
    return Rect(r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y);
}

void TbsActiveSkinObject::CopyLook(TCanvas* Cnvs, TBitmap* Src, const TRect& SrcRect)
{
    if (!Src || SrcRect.IsEmpty() || ObjectRect.IsEmpty()) return;
    Cnvs->CopyRect(ObjectRect, Src->Canvas(), SrcRect);
}

void TbsActiveSkinObject::DrawMorph(TCanvas* Cnvs, TBitmap* NormalSrc, const TRect& NormalRect, const TRect& HotRect)
{
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0 || !NormalSrc || !ActivePicture) return;
    TBitmap normal(w, h), hot(w, h);
    normal.SetPixelFormat(pf24bit);
    hot.SetPixelFormat(pf24bit);
    normal.Canvas()->CopyRect(Rect(0, 0, w, h), NormalSrc->Canvas(), NormalRect);
    hot.Canvas()->CopyRect(Rect(0, 0, w, h), ActivePicture->Canvas(), HotRect);
    std::unique_ptr<TbsEffectBmp> e1(TbsEffectBmp::CreateFromhWnd(normal.Handle()));
    std::unique_ptr<TbsEffectBmp> e2(TbsEffectBmp::CreateFromhWnd(hot.Handle()));
    e1->MorphBy(MorphKind, e2.get(), FMorphKf);
    e1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
}

void TbsActiveSkinObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!HasSkin()) return;
    // A disabled object never takes the inactive look.
    if (Enabled && !Parent->GetFormActive() && !InActiveSkinRect.IsEmpty()) {
        CopyLook(Cnvs, ActivePicture, InActiveSkinRect);
        return;
    }
    if (EnableMorphing() && InTransition()) {
        DrawMorph(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect, ActiveSkinRect);
        return;
    }
    if (Active && !ActiveSkinRect.IsEmpty()) {
        CopyLook(Cnvs, ActivePicture, ActiveSkinRect);
        return;
    }
    // At rest on the frame picture: composing the frame already drew it.
    if (!UpDate && !SkinRectInAPicture) return;
    CopyLook(Cnvs, SkinRectInAPicture ? ActivePicture : Picture, SkinRect);
}

void TbsActiveSkinObject::MouseEnter()
{
    FMouseIn = true;
    Active = true;
    if (!ActiveSkinRect.IsEmpty()) UpdateLook();
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TbsActiveSkinObject::MouseLeave()
{
    FMouseIn = false;
    Active = false;
    if (!ActiveSkinRect.IsEmpty()) UpdateLook();
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

void TbsActiveSkinObject::MouseDown(int X, int Y, TMouseButton Button)
{
    Parent->DoMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseUp(int X, int Y, TMouseButton Button)
{
    if (FMouseIn) Parent->DoMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsActiveSkinObject::MouseMove(int X, int Y) { Parent->DoMouseMoveEvent(IDName, X, Y, ObjectRect); }

// ---- TbsUserObject ---------------------------------------------------------------------------

void TbsUserObject::Draw(TCanvas* Cnvs, bool) { Parent->DoPaintEvent(IDName, Cnvs, ObjectRect); }

// ---- TbsSkinButtonObject ---------------------------------------------------------------------

TbsSkinButtonObject::TbsSkinButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData)
{
    if (auto* b = dynamic_cast<TbsDataSkinButton*>(AData)) {
        DownRect = b->DownRect;
        DisableSkinRect = b->DisableSkinRect;
    }
}

TbsLayerManager* TbsSkinButtonObject::GlowManager()
{
    return MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager;
}

void TbsSkinButtonObject::ShowLayer() { TbsActiveSkinObject::ShowLayer(); }

void TbsSkinButtonObject::HideLayer() { TbsActiveSkinObject::HideLayer(); }

bool TbsSkinButtonObject::CanMorphing() { return TbsActiveSkinObject::CanMorphing() && !(FDown && MenuItem); }

void TbsSkinButtonObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!HasSkin()) return;
    if (!Enabled && !DisableSkinRect.IsEmpty())
        CopyLook(Cnvs, ActivePicture, DisableSkinRect);
    else if (FDown && FMouseIn && !DownRect.IsEmpty())
        CopyLook(Cnvs, ActivePicture, DownRect);
    else
        TbsActiveSkinObject::Draw(Cnvs, UpDate);
}

void TbsSkinButtonObject::SetDown(bool Value)
{
    FDown = Value;
    if (EnableMorphing() && Active) FMorphKf = 1;
    Redraw();
    if (EnableMorphing() && !Value) UpdateLook();
}

void TbsSkinButtonObject::MouseDown(int X, int Y, TMouseButton Button)
{
    if (!Enabled) return;
    if (Button == mbLeft && !FDown) {
        SetDown(true);
        PopupObjectMenu();
    }
    TbsActiveSkinObject::MouseDown(X, Y, Button);
}

void TbsSkinButtonObject::MouseUp(int X, int Y, TMouseButton Button)
{
    if (!Enabled) return;
    if (Button == mbLeft && !MenuItem && FDown) SetDown(false);
    TbsActiveSkinObject::MouseUp(X, Y, Button);
}

void TbsSkinButtonObject::MouseEnter()
{
    FMouseIn = true;
    Active = true;
    if (!(FDown && !DownRect.IsEmpty())) {
        if (!ActiveSkinRect.IsEmpty()) UpdateLook();
        if (MenuItem) ShowLayer();
    } else {
        if (EnableMorphing()) FMorphKf = 1;
        Redraw();
    }
    Parent->DoMouseEnterEvent(IDName);
    if (!MenuItem) ShowLayer();
}

void TbsSkinButtonObject::MouseLeave()
{
    FMouseIn = false;
    Active = false;
    if (!(MenuItem && FDown)) {
        if (MenuItem) HideLayer();
        Redraw();
        UpdateLook();
    }
    Parent->DoMouseLeaveEvent(IDName);
    if (!MenuItem) HideLayer();
}

void TbsSkinButtonObject::PopupObjectMenu()
{
    if (!MenuItem || MenuItem->Count() == 0) return;
    if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    TRect r = ScreenRect();
    if (auto* m = dynamic_cast<TbsSkinPopupMenuBase*>(MenuItem->GetParentMenu())) {
        m->PopupFromRect2(Parent->Form(), r, FPopupUp);
        return;
    }
    Parent->SkinMenuOpen();
    TbsSkinData* d = Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData();
    PopupFrameObjectMenu(Parent, d, r, MenuItem, FPopupUp);
}

// ---- TbsSkinStdButtonObject ------------------------------------------------------------------

TbsSkinStdButtonObject::TbsSkinStdButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsSkinButtonObject(AParent, AData)
{
    auto* s = dynamic_cast<TbsDataSkinStdButton*>(AData);
    if (!s) return;
    Command = s->Command;
    RestoreRect = s->RestoreRect;
    RestoreActiveRect = s->RestoreActiveRect;
    RestoreInActiveRect = s->RestoreInActiveRect;
    RestoreDownRect = s->RestoreDownRect;
    RestoreHint = s->RestoreHint;
    FTempHint = Hint;
    FAlphaNormalImage = s->FAlphaNormalImage;
    FAlphaActiveImage = s->FAlphaActiveImage;
    FAlphaDownImage = s->FAlphaDownImage;
    FAlphaInActiveImage = s->FAlphaInActiveImage;
    FAlphaRestoreNormalImage = s->FAlphaRestoreNormalImage;
    FAlphaRestoreActiveImage = s->FAlphaRestoreActiveImage;
    FAlphaRestoreDownImage = s->FAlphaRestoreDownImage;
    FAlphaInActiveRestoreImage = s->FAlphaInActiveRestoreImage;
    FSkinSupport = true;
}

bool TbsSkinStdButtonObject::IconMode(bool WithSkinSupport)
{
    return Command == cmSysMenu && Parent->ShowIcon() && SkinRectInAPicture && (!WithSkinSupport || FSkinSupport);
}

bool TbsSkinStdButtonObject::RestoreLook()
{
    switch (Command) {
    case cmMaximize: return Parent->WindowState() == wsMaximized;
    case cmMinimize:
        return Parent->WindowState() == wsMinimized && !(Application && Application->MainForm() == Parent->Form());
    case cmRollUp: return Parent->RollUpState();
    default: return false;
    }
}

bool TbsSkinStdButtonObject::PointInMask(int X, int Y)
{
    if (IconMode(true)) return true;
    return TbsSkinButtonObject::PointInMask(X, Y);
}

void TbsSkinStdButtonObject::ShowLayer()
{
    if (!IconMode()) TbsSkinButtonObject::ShowLayer();
}

void TbsSkinStdButtonObject::HideLayer()
{
    if (!IconMode()) TbsSkinButtonObject::HideLayer();
}

bool TbsSkinStdButtonObject::CanMorphing() { return !IconMode() && TbsSkinButtonObject::CanMorphing(); }

void TbsSkinStdButtonObject::Draw(TCanvas* Cnvs, bool UpDate)
{
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (!HasSkin()) return;
    if (Parent->RibbonAppMenuCaptionVisible() && ObjectRect.Left < Parent->RibbonAppMenuCaptionOffset()) return;
    if (IconMode()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        FMorphKf = 0;
        return;
    }
    const bool restore = RestoreLook();
    if (!Enabled || (!Parent->GetFormActive() && !InActiveSkinRect.IsEmpty() && !restore)) {
        TbsSkinButtonObject::Draw(Cnvs, UpDate);
        return;
    }
    if (!restore || RestoreRect.IsEmpty()) {
        // The system-menu button stays pressed while its menu is open, wherever the mouse is.
        if (Command == cmSysMenu && FDown && !DownRect.IsEmpty())
            CopyLook(Cnvs, ActivePicture, DownRect);
        else
            TbsSkinButtonObject::Draw(Cnvs, UpDate);
        return;
    }
    if (!Parent->FFormActive && !RestoreInActiveRect.IsEmpty())
        CopyLook(Cnvs, ActivePicture, RestoreInActiveRect);
    else if (FDown && FMouseIn && !RestoreDownRect.IsEmpty())
        CopyLook(Cnvs, ActivePicture, RestoreDownRect);
    else if (EnableMorphing() && InTransition())
        DrawMorph(Cnvs, ActivePicture, RestoreRect, RestoreActiveRect);
    else if (Active && !RestoreActiveRect.IsEmpty())
        CopyLook(Cnvs, ActivePicture, RestoreActiveRect);
    else
        CopyLook(Cnvs, ActivePicture, RestoreRect);
}

void TbsSkinStdButtonObject::DefaultDraw(TCanvas* Cnvs)
{
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap b(w, h);
    TCanvas* c = b.Canvas();
    const TRect all = Rect(0, 0, w, h);
    if (FMouseIn || (FDown && FMouseIn)) {
        c->Brush()->SetColor(static_cast<TColor>(0xB76B3B));
        c->FillRect(all);
        c->Brush()->SetColor(static_cast<TColor>(FDown ? 0xE4BCA2 : 0xF3D4C1));
        c->FillRect(Rect(1, 1, w - 1, h - 1));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(all);
    }
    const TColor glyph = Enabled ? clBtnText : clBtnShadow;
    const int x = w / 2 - 5, y = h / 2 - 4;
    const TWindowState state = Parent->WindowState();
    switch (Command) {
    case cmClose: DrawCloseGlyph(c, x, y, glyph); break;
    case cmMaximize:
        if (state == wsMaximized)
            DrawRestoreGlyph(c, x, y, glyph);
        else
            DrawMaximizeGlyph(c, x, y, glyph);
        break;
    case cmMinimize:
        if (state == wsMinimized)
            DrawRestoreGlyph(c, x, y, glyph);
        else
            DrawMinimizeGlyph(c, x, y, glyph);
        break;
    case cmSysMenu: DrawSysMenuGlyph(c, x, y, glyph); break;
    case cmRollUp:
        if (Parent->RollUpState())
            DrawRollDownGlyph(c, x, y, glyph);
        else
            DrawRollUpGlyph(c, x, y, glyph);
        break;
    case cmMinimizeToTray: DrawTrayGlyph(c, x, y, glyph); break;
    case cmDefault: break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinStdButtonObject::DrawAlpha(TCanvas* Cnvs, TbsBitmap*)
{
    if (Command == cmSysMenu && Parent->ShowIcon()) {
        if (Parent->IsAlphaIcon) {
            Parent->DrawFormIcon(Cnvs, ObjectRect.Left, ObjectRect.Top);
            return;
        }
        int w = 0, h = 0;
        Parent->GetIconSize(w, h);
        TbsBitmap b;
        b.SetSize(w, h);
        b.Clear(0x7F007F);
        Parent->DrawFormIcon(b.Canvas(), 0, 0);
        b.SetTransparent(true);
        b.Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    }
    const bool restore = RestoreLook();
    auto pick = [&](TbsBitmap* Restored, TbsBitmap* Plain) { return restore && Restored ? Restored : Plain; };
    TbsBitmap* image = nullptr;
    if (Parent->FFormActive || InActiveSkinRect.IsEmpty()) {
        if (FDown && !DownRect.IsEmpty() && (Command == cmSysMenu || FMouseIn))
            image = pick(FAlphaRestoreDownImage, FAlphaDownImage);
        else if (Active && !ActiveSkinRect.IsEmpty())
            image = pick(FAlphaRestoreActiveImage, FAlphaActiveImage);
        else
            image = pick(FAlphaRestoreNormalImage, FAlphaNormalImage);
    } else {
        image = pick(FAlphaInActiveRestoreImage, FAlphaInActiveImage);
    }
    if (!image || image->Empty() || !IsMsImg32Loaded()) return;
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top, ObjectRect.Width(), ObjectRect.Height(), image->DC(),
                 0, 0, image->Width(), image->Height(), bf);
}

void TbsSkinStdButtonObject::MouseEnter()
{
    if (Command != cmDefault) Hint = CaptionButtonHint(Parent, Command, RestoreHint, FTempHint);
    if (!IconMode()) TbsSkinButtonObject::MouseEnter();
}

void TbsSkinStdButtonObject::MouseLeave()
{
    if (!IconMode()) TbsSkinButtonObject::MouseLeave();
}

void TbsSkinStdButtonObject::MouseDown(int, int, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft || FDown) return;
    if (!IconMode()) SetDown(true);
    if (Command == cmSysMenu) {
        MenuItem = Parent->GetSysMenuItems();
        PopupObjectMenu();
    }
}

void TbsSkinStdButtonObject::MouseUp(int X, int Y, TMouseButton Button)
{
    // The close button is released (and its event fired) before the form closes; every other
    // command runs first and the release is drawn after it.
    const bool run = Active && Button == mbLeft;
    if (Command == cmClose) {
        TbsSkinButtonObject::MouseUp(X, Y, Button);
        if (run) ExecuteCommand();
        return;
    }
    if (run) ExecuteCommand();
    if (!IconMode()) TbsSkinButtonObject::MouseUp(X, Y, Button);
}

void TbsSkinStdButtonObject::DblClick()
{
    if (Command == cmSysMenu) Parent->Form()->Close();
}

void TbsSkinStdButtonObject::ExecuteCommand() { RunWindowCommand(this, Command, true); }

bool RunWindowCommand(TbsActiveSkinObject* O, TbsStdCommand Command, bool HideGlow)
{
    TbsSkinForm* f = O->Parent;
    auto drop = [f] { f->TrackObjects(-1, -1, false); };
    switch (Command) {
    case cmClose:
        drop();
        f->Form()->Close();
        return true;
    case cmMaximize:
        drop();
        if (HideGlow) O->HideLayer();
        f->SetWindowState(f->WindowState() == wsMaximized ? wsNormal : wsMaximized);
        return true;
    case cmMinimize:
        drop();
        if (f->AlwaysMinimizeToTray()) {
            f->MinimizeToTray();
            return true;
        }
        if (HideGlow) O->HideLayer();
        f->SetWindowState(f->WindowState() == wsMinimized ? wsNormal : wsMinimized);
        return true;
    case cmRollUp: f->SetRollUpState(!f->RollUpState()); return true;
    case cmMinimizeToTray:
        drop();
        f->MinimizeToTray();
        return true;
    case cmSysMenu:
    case cmDefault: break;
    }
    return false;
}

String CaptionButtonHint(TbsSkinForm* Form, TbsStdCommand Command, const String& RestoreHint, const String& TempHint)
{
    const bool on = (Command == cmRollUp && Form->RollUpState()) ||
                    (Command == cmMinimize && Form->WindowState() == wsMinimized) ||
                    (Command == cmMaximize && Form->WindowState() == wsMaximized);
    return on && !RestoreHint.empty() ? RestoreHint : TempHint;
}
