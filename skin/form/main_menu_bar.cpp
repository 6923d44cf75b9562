#include "skin/form/main_menu_bar.h"

#include <algorithm>
#include <memory>

#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"
#include "skin/core/button_records.h"
#include "skin/core/control_records.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/marks.h"
#include "skin/core/object_records.h"
#include "skin/core/parent_background.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_image.h"
#include "skin/core/skin_messages.h"
#include "skin/core/text_layout.h"
#include "skin/core/view_menu_records.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_menu_item.h"
#include "skin/form/skin_popup_window.h"

namespace {

constexpr TColor kDownFill = static_cast<TColor>(0xE4BCA2);   // red 162, green 188, blue 228
constexpr TColor kHotFill = static_cast<TColor>(0xF3D4C1);    // red 193, green 212, blue 243
constexpr TColor kFrameLine = static_cast<TColor>(0xB76B3B);  // red 59, green 107, blue 183

TbsDataSkinControl* ControlRecord(TbsSkinData* SD, const wchar_t* Name)
{
    if (!SD || SD->Empty) return nullptr;
    const int i = SD->GetControlIndex(Name);
    return i == -1 ? nullptr : SD->CtrlList[static_cast<size_t>(i)];
}

TBitmap* PictureAt(TbsSkinData* SD, int Index)
{
    if (!SD || Index < 0 || Index >= static_cast<int>(SD->FActivePictures.size())) return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Index)];
}

TbsSkinMenu* EngineOf(TbsSkinForm* F) { return F ? dynamic_cast<TbsSkinMenu*>(F->SkinMenuEngine()) : nullptr; }

// A nine-part control look composed to W x H, its client rectangle moved by the size change.
TRect ComposeControl(TbsDataSkinCustomControl* R, TBitmap* Pic, const TRect& Src, TBitmap* B, int W, int H)
{
    const int dW = W - RectWidth(R->SkinRect), dH = H - RectHeight(R->SkinRect);
    const TPoint rt = Point(R->RTPoint.X + dW, R->RTPoint.Y), lb = Point(R->LBPoint.X, R->LBPoint.Y + dH),
                 rb = Point(R->RBPoint.X + dW, R->RBPoint.Y + dH);
    const TRect cl = Rect(R->ClRect.Left, R->ClRect.Top, R->ClRect.Right + dW, R->ClRect.Bottom + dH);
    CreateSkinImage(R->LTPoint, R->RTPoint, R->LBPoint, R->RBPoint, R->ClRect, R->LTPoint, rt, lb, rb, cl, B, Pic, Src,
                    W, H, true, R->LeftStretch, R->TopStretch, R->RightStretch, R->BottomStretch, R->StretchEffect,
                    R->StretchType);
    return cl;
}

}  // namespace

// ---- TbsSkinMainMenu -------------------------------------------------------------------------

void TbsSkinMainMenu::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
}

void TbsSkinMainMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TMainMenu::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FSD) FSD = nullptr;
}

// ---- TbsMenuBarObject ------------------------------------------------------------------------

TbsMenuBarObject::TbsMenuBarObject(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData) : Parent(AParent)
{
    if (!AData) return;
    IDName = AData->IDName;
    SkinRect = AData->SkinRect;
    ActiveSkinRect = AData->ActiveSkinRect;
    DownRect = AData->ActiveSkinRect;
    Morphing = AData->Morphing;
    MorphKind = AData->MorphKind;
    ObjectRect = AData->SkinRect;
    Picture = PictureAt(AParent->SkinData(), AData->ActivePictureIndex);
    if (Morphing && IsNullRect(ActiveSkinRect)) Morphing = false;
}

bool TbsMenuBarObject::EnableMorphing() const
{
    TbsSkinData* sd = Parent->SkinData();
    return Morphing && sd && !sd->Empty && !(Parent->ToolBarMode && Parent->ToolBarModeItemTransparent) &&
           sd->EnableSkinEffects();
}

bool TbsMenuBarObject::CanMorphing()
{
    return (!FDown || IsNullRect(DownRect)) && ((Active && FMorphKf < 1) || (!Active && FMorphKf > 0));
}

void TbsMenuBarObject::SetMorphKf(double Value) { FMorphKf = std::clamp(Value, 0.0, 1.0); }

void TbsMenuBarObject::DoMorphing()
{
    SetMorphKf(Active ? FMorphKf + 0.2 : FMorphKf - 0.2);
    Draw(Parent->Canvas());
}

void TbsMenuBarObject::UpdateLook()
{
    if (EnableMorphing())
        Parent->MorphTimer->SetEnabled(true);
    else
        Parent->DrawObject(this);
}

// ---- TbsSkinMainMenuBarItem ------------------------------------------------------------------

TbsSkinMainMenuBarItem::TbsSkinMainMenuBarItem(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : TbsMenuBarObject(AParent, AData)
{
    if (auto* d = dynamic_cast<TbsDataSkinMainMenuItem*>(AData)) {
        FSkinSupport = true;
        FontName = d->FontName;
        FontHeight = d->FontHeight;
        FontStyle = d->FontStyle;
        UnEnabledFontColor = d->UnEnabledFontColor;
        FontColor = d->FontColor;
        ActiveFontColor = d->ActiveFontColor;
        DownFontColor = d->DownFontColor;
        TextRct = d->TextRct;
        ItemDownRect = d->DownRect;
        if (IsNullRect(ItemDownRect)) ItemDownRect = d->ActiveSkinRect;
        if (IsNullRect(ItemDownRect)) ItemDownRect = d->SkinRect;
        LO = d->ItemLO;
        RO = d->ItemRO;
        StretchEffect = d->StretchEffect;
        AnimateSkinRect = d->AnimateSkinRect;
        FrameCount = d->FrameCount;
        AnimateInterval = d->AnimateInterval;
        InActiveAnimation = d->InActiveAnimation;
        if (IsNullRect(ActiveSkinRect)) Morphing = false;
    }
    OldEnabled = Enabled;
    ItemVisible = true;
    CurrentFrame = 0;
}

bool TbsSkinMainMenuBarItem::EnableAnimation() const
{
    TbsSkinData* sd = Parent->SkinData();
    return !IsNullRect(AnimateSkinRect) && FrameCount > 0 && sd && !sd->Empty && !Parent->ToolBarMode &&
           sd->EnableSkinEffects();
}

void TbsSkinMainMenuBarItem::UpdateLook()
{
    if (EnableAnimation()) {
        Parent->AnimateTimer->SetInterval(AnimateInterval);
        Parent->AnimateTimer->SetEnabled(true);
    } else {
        TbsMenuBarObject::UpdateLook();
    }
}

int TbsSkinMainMenuBarItem::ImageWidth() const
{
    TCustomImageList* il = MenuItem->GetImageList();
    if (il && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < il->Count()) return il->Width();
    if (MenuItem->HasBitmap()) return MenuItem->Bitmap()->Width();
    return -1;
}

void TbsSkinMainMenuBarItem::DrawImage(TCanvas* C, int X, int H)
{
    TCustomImageList* il = MenuItem->GetImageList();
    if (il && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < il->Count())
        il->Draw(C, X, H / 2 - il->Height() / 2, MenuItem->ImageIndex(), MenuItem->Enabled());
    else if (MenuItem->HasBitmap())
        C->Draw(X, H / 2 - MenuItem->Bitmap()->Height() / 2, MenuItem->Bitmap());
}

void TbsSkinMainMenuBarItem::ApplySkinFont(TFont* F) const
{
    if (Parent->UseSkinFont) {
        F->SetName(FontName);
        F->SetStyle(FontStyle);
        F->SetHeight(FontHeight);
    } else {
        F->Assign(Parent->DefItemFont);
    }
    TbsSkinData* sd = Parent->SkinData();
    F->SetCharset(sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet() : Parent->DefItemFont->Charset());
}

bool TbsSkinMainMenuBarItem::Place(int Width)
{
    int left = 0;
    auto& list = Parent->ObjectList;
    auto me = std::find(list.begin(), list.end(), this);
    for (auto i = me; i != list.begin();) {
        --i;
        if (dynamic_cast<TbsSkinMainMenuBarItem*>(*i)) {
            left = (*i)->ObjectRect.Right;
            break;
        }
    }
    if (left == 0) left = Parent->NewItemsRect.Left;
    const int top = Parent->NewItemsRect.Top;
    int bottom = Parent->NewItemsRect.Bottom;
    if (FSkinSupport && Parent->UseSkinSize) bottom = top + RectHeight(SkinRect);
    ObjectRect = Rect(left, top, left + Width, bottom);
    const int limit = Parent->ScrollMenu ? Parent->NewItemsRect.Right - 5 : Parent->NewItemsRect.Right;
    if (ObjectRect.Right > limit) {
        Parent->Scroll = true;
        if (ItemVisible) {
            OldEnabled = Enabled;
            Enabled = false;
            ItemVisible = false;
        }
        return false;
    }
    if (!ItemVisible) {
        ItemVisible = true;
        Enabled = OldEnabled;
    }
    return true;
}

TRect TbsSkinMainMenuBarItem::FrameRect(int N) const
{
    const TRect& a = AnimateSkinRect;
    if (RectHeight(a) > RectHeight(SkinRect)) {
        const int fh = RectHeight(a) / FrameCount;
        return Rect(a.Left, a.Top + fh * (N - 1), a.Right, a.Top + fh * N);
    }
    const int fw = RectWidth(a) / FrameCount;
    return Rect(a.Left + fw * (N - 1), a.Top, a.Left + fw * N, a.Bottom);
}

void TbsSkinMainMenuBarItem::DrawCaption(TCanvas* C, TRect TextRect, bool Selected)
{
    if (MenuItem->OnDrawItem) {
        MenuItem->OnDrawItem(this, C, TextRect, Selected);
        return;
    }
    UINT flags = DT_CENTER | DT_VCENTER;
    if (!Parent->MenuActive) flags |= DT_HIDEPREFIX;
    DrawWideText(C, MenuItem->Caption(), TextRect, Parent->DrawTextBiDiModeFlags(flags));
}

void TbsSkinMainMenuBarItem::SkinLook(TCanvas* Target, TBitmap* B, const TRect& R, bool Highlighted)
{
    if (!Picture) return;
    const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
    B->SetPixelFormat(pf24bit);
    if (Parent->ItemTransparent && (R == SkinRect || (!Parent->UseSkinSize && !Highlighted))) {
        B->SetSize(w, h);
        B->Canvas()->CopyRect(Rect(0, 0, w, h), Target, ObjectRect);
    } else if (Parent->UseSkinSize) {
        CreateHSkinImage(LO, RO, B, Picture, R, w, RectHeight(R), Highlighted && StretchEffect);
    } else {
        B->SetSize(w, h);
        const int rw = RectWidth(R), rh = RectHeight(R);
        CreateStretchImage(B, Picture, R, Rect(LO, rh / 4, rw - RO, rh - rh / 4), true);
    }
    TCanvas* c = B->Canvas();
    c->Brush()->SetStyle(bsClear);
    ApplySkinFont(c->Font());
    c->Font()->SetColor(FDown
                            ? DownFontColor
                            : (Highlighted ? ActiveFontColor : (MenuItem->Enabled() ? FontColor : UnEnabledFontColor)));
    TRect tr = TextRct;
    const int H = B->Height();
    if (ImageWidth() >= 0) {
        DrawImage(c, tr.Left + 2, H);
        tr.Left += ImageWidth() + 5;
    }
    TRect m = tr;
    DrawWideText(c, MenuItem->Caption(), m, DT_CALCRECT);
    tr.Right = m.Right + 2;
    tr.Bottom = m.Bottom;
    if (!Parent->UseSkinSize) {
        const int ch = RectHeight(m);
        tr.Top = H / 2 - ch / 2;
        tr.Bottom = tr.Top + ch;
    }
    DrawCaption(c, tr, Highlighted);
}

void TbsSkinMainMenuBarItem::ToolLook(TCanvas* Target, TBitmap* B, bool Highlighted, bool Pressed)
{
    auto* rec = dynamic_cast<TbsDataSkinButtonControl*>(ControlRecord(Parent->SkinData(), L"resizetoolbutton"));
    const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
    B->SetPixelFormat(pf24bit);
    B->SetSize(w, h);
    TBitmap* pic = rec ? PictureAt(Parent->SkinData(), rec->PictureIndex) : nullptr;
    if (!rec || !pic) return;
    TRect src = rec->SkinRect;
    if (Pressed) {
        src = !IsNullRect(rec->DownSkinRect) ? rec->DownSkinRect
                                             : (!IsNullRect(rec->ActiveSkinRect) ? rec->ActiveSkinRect : rec->SkinRect);
    } else if (Highlighted && !IsNullRect(rec->ActiveSkinRect)) {
        src = rec->ActiveSkinRect;
    }
    TRect content;
    if (!Pressed && !Highlighted && Parent->ToolBarModeItemTransparent) {
        B->Canvas()->CopyRect(Rect(0, 0, w, h), Target, ObjectRect);
        const int dW = w - RectWidth(rec->SkinRect), dH = h - RectHeight(rec->SkinRect);
        content = Rect(rec->ClRect.Left, rec->ClRect.Top, rec->ClRect.Right + dW, rec->ClRect.Bottom + dH);
    } else {
        content = ComposeControl(rec, pic, src, B, w, h);
    }
    TCanvas* c = B->Canvas();
    c->Brush()->SetStyle(bsClear);
    if (Parent->UseSkinFont) {
        c->Font()->SetName(rec->FontName);
        c->Font()->SetStyle(rec->FontStyle);
        c->Font()->SetHeight(rec->FontHeight);
    } else {
        c->Font()->Assign(Parent->DefItemFont);
    }
    TbsSkinData* sd = Parent->SkinData();
    c->Font()->SetCharset(sd && sd->ResourceStrData() ? sd->ResourceStrData()->CharSet()
                                                      : Parent->DefItemFont->Charset());
    c->Font()->SetColor(
        Pressed ? rec->DownFontColor
                : (Highlighted ? rec->ActiveFontColor : (MenuItem->Enabled() ? rec->FontColor : UnEnabledFontColor)));
    if (ImageWidth() >= 0) {
        TCustomImageList* il = MenuItem->GetImageList();
        const int ih = (il && MenuItem->ImageIndex() >= 0) ? il->Height() : MenuItem->Bitmap()->Height();
        const int y = content.Top + RectHeight(content) / 2 - ih / 2;
        if (il && MenuItem->ImageIndex() >= 0 && MenuItem->ImageIndex() < il->Count())
            il->Draw(c, content.Left + 2, y, MenuItem->ImageIndex(), MenuItem->Enabled());
        else
            c->Draw(content.Left + 2, y, MenuItem->Bitmap());
        content.Left += ImageWidth() + 5;
    }
    TRect m = Rect(0, 0, 0, 0);
    DrawWideText(c, MenuItem->Caption(), m, DT_CALCRECT);
    const int ch = RectHeight(m);
    // Centred in the content area (with the skin's size) or in the item.
    TRect tr = Parent->UseSkinSize
                   ? Rect(content.Left, content.Top + RectHeight(content) / 2 - ch / 2, content.Right, 0)
                   : Rect(content.Left, h / 2 - ch / 2, content.Right, 0);
    tr.Bottom = tr.Top + ch;
    DrawCaption(c, tr, Highlighted);
}

void TbsSkinMainMenuBarItem::DefaultDraw(TCanvas* Cnvs)
{
    TCanvas* m = Parent->Scratch.Canvas();
    m->Font()->Assign(Parent->DefItemFont);
    TbsSkinData* sd = Parent->SkinData();
    if (sd && sd->ResourceStrData()) m->Font()->SetCharset(sd->ResourceStrData()->CharSet());
    TRect cr{};
    DrawWideText(m, MenuItem->Caption(), cr, DT_CALCRECT | DT_CENTER);
    const int iw = ImageWidth();
    const int width = RectWidth(cr) + (iw >= 0 ? iw + 17 : 12);
    if (!Place(width)) return;
    const int w = RectWidth(ObjectRect), h = RectHeight(ObjectRect);
    if (w <= 0 || h <= 0) return;
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    TCanvas* c = b.Canvas();
    c->Brush()->SetStyle(bsSolid);
    if (FDown || FMouseIn) {
        c->Brush()->SetColor(FDown ? kDownFill : kHotFill);
        c->FillRect(Rect(0, 0, w, h));
        c->Brush()->SetColor(kFrameLine);
        c->FrameRect(Rect(0, 0, w, h));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, w, h));
    }
    c->Brush()->SetStyle(bsClear);
    c->Font()->Assign(m->Font());
    const int ch = RectHeight(cr);
    TRect band = Rect(0, h / 2 - ch / 2, w, h / 2 - ch / 2 + ch);
    if (iw >= 0) {
        DrawImage(c, 2, h);
        band.Left += iw + 5;
    }
    DrawCaption(c, band, Active);
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinMainMenuBarItem::Draw(TCanvas* Cnvs)
{
    if (!FSkinSupport) {
        DefaultDraw(Cnvs);
        return;
    }
    if (IsNullRect(SkinRect) || IsNullRect(TextRct)) return;
    TCanvas* m = Parent->Scratch.Canvas();
    ApplySkinFont(m->Font());
    TRect cr{};
    DrawWideText(m, MenuItem->Caption(), cr, DT_CALCRECT | DT_CENTER);
    int width = RectWidth(SkinRect) + TextRct.Left - TextRct.Right + RectWidth(cr) + 2;
    if (ImageWidth() >= 0) width += ImageWidth() + 5;
    if (!Place(width)) return;
    TBitmap b;
    const TRect active = IsNullRect(ActiveSkinRect) ? SkinRect : ActiveSkinRect;
    if (FDown) {
        if (Parent->ToolBarMode)
            ToolLook(Cnvs, &b, true, true);
        else
            SkinLook(Cnvs, &b, ItemDownRect, true);
    } else if (EnableAnimation() && CurrentFrame > 0 && CurrentFrame <= FrameCount) {
        SkinLook(Cnvs, &b, FrameRect(CurrentFrame), true);
    } else if (!EnableMorphing() || (Active && FMorphKf >= 1) || (!Active && FMorphKf <= 0)) {
        if (Parent->ToolBarMode)
            ToolLook(Cnvs, &b, Active, false);
        else
            SkinLook(Cnvs, &b, Active ? active : SkinRect, Active);
    } else {
        TBitmap hot;
        SkinLook(Cnvs, &b, SkinRect, false);
        SkinLook(Cnvs, &hot, active, true);
        if (b.Empty() || hot.Empty()) return;
        std::unique_ptr<TbsEffectBmp> e1(TbsEffectBmp::CreateFromhWnd(b.Handle()));
        std::unique_ptr<TbsEffectBmp> e2(TbsEffectBmp::CreateFromhWnd(hot.Handle()));
        e1->MorphBy(MorphKind, e2.get(), FMorphKf);
        e1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    }
    if (!b.Empty()) Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinMainMenuBarItem::MouseEnter()
{
    // Items are told apart as objects: two unnamed items are two items.
    TbsSkinMainMenuBarItem* pressed = nullptr;
    for (TbsMenuBarObject* o : Parent->ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o); i && i != this && i->FDown) {
            pressed = i;
            break;
        }
    if (pressed) {
        pressed->SetDown(false);
        Active = true;
        FMouseIn = true;
        if (EnableMorphing()) SetMorphKf(1);
        if (MenuItem->OnClick) MenuItem->OnClick(Parent);
        SetDown(true);
        return;
    }
    for (TbsMenuBarObject* o : Parent->ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o); i && i != this && i->Active) {
            i->MouseLeave();
            break;
        }
    FMouseIn = true;
    Active = true;
    UpdateLook();
    if (Parent->OnItemMouseEnter) Parent->OnItemMouseEnter(MenuItem);
    if (Parent->Hint() != MenuItem->Hint()) Parent->SetHint(MenuItem->Hint());
}

void TbsSkinMainMenuBarItem::MouseLeave()
{
    Active = false;
    FMouseIn = false;
    if (EnableAnimation() && !InActiveAnimation) {
        CurrentFrame = 0;
        Draw(Parent->Canvas());
    }
    if (EnableMorphing() && FDown) SetMorphKf(0);
    UpdateLook();
    if (Parent->OnItemMouseLeave) Parent->OnItemMouseLeave(MenuItem);
}

void TbsSkinMainMenuBarItem::MouseDown(int, int, TMouseButton Button)
{
    TbsSkinForm* f = Parent->BSF;
    if (!Enabled || !f || Button != mbLeft) return;
    if (MenuItem->Count() > 0) {
        Parent->MenuActive = true;
        Parent->DrawBar(nullptr);
        if (MenuItem->OnClick) MenuItem->OnClick(Parent);
        SetDown(true);
        return;
    }
    if (f->InMainMenu) f->SkinMainMenuClose();
    f->InMenu = false;
    if (EnableMorphing())
        UpdateLook();
    else
        Parent->DrawObject(this);
    TMenuItem* item = MenuItem;
    if (TMenu* menu = item->GetParentMenu())
        menu->DispatchCommand(item->Command());
    else
        item->Click();
}

void TbsSkinMainMenuBarItem::SetDown(bool Value)
{
    FDown = Value;
    TbsSkinForm* f = Parent->BSF;
    if (Value) {
        SetMorphKf(1);
        Parent->DrawObject(this);
        if (f && !f->InMainMenu && f->OnMainMenuEnter) f->OnMainMenuEnter(Parent);
        PopupSubMenu();
        return;
    }
    Active = false;
    if (EnableAnimation()) {
        if (InActiveAnimation) {
            CurrentFrame = FrameCount + 1;
            UpdateLook();
            return;
        }
        CurrentFrame = 0;
    } else if (EnableMorphing()) {
        SetMorphKf(1);
        UpdateLook();
        return;
    }
    Parent->DrawObject(this);
}

void TbsSkinMainMenuBarItem::PopupSubMenu()
{
    TbsSkinForm* f = Parent->BSF;
    if (!f) return;
    const TPoint o = Parent->ClientToScreen(Point(0, 0));
    const TRect r = Rect(ObjectRect.Left + o.X, ObjectRect.Top + o.Y, ObjectRect.Right + o.X, ObjectRect.Bottom + o.Y);
    f->SkinMenuOpen();
    f->InMainMenu = true;
    if (TbsFormMenuEngine* e = f->SkinMenuEngine())
        e->Popup(nullptr, Parent->SkinData(), 0, r, MenuItem, Parent->PopupToUp);
}

// ---- TbsSkinMainMenuBar ----------------------------------------------------------------------

TbsSkinMainMenuBar::TbsSkinMainMenuBar(TComponent* AOwner) : TbsSkinControl(AOwner), DefItemFont(new TFont)
{
    DefItemFont->SetName(L"Tahoma");
    DefItemFont->SetHeight(13);
    DefItemFont->SetStyle({});
    DefItemFont->SetColor(clBtnText);
    auto timer = [this](unsigned Ms, void (TbsSkinMainMenuBar::*Proc)(TObject*)) {
        auto* t = new TTimer(this);
        t->SetEnabled(false);
        t->SetInterval(Ms);
        t->OnTimer = [this, Proc](TObject* S) { (this->*Proc)(S); };
        return t;
    };
    MouseTimer = timer(50, &TbsSkinMainMenuBar::MouseTimerProc);
    MorphTimer = timer(25, &TbsSkinMainMenuBar::MorphTimerProc);
    AnimateTimer = timer(25, &TbsSkinMainMenuBar::AnimateTimerProc);
    Scratch.SetSize(1, 1);
    FSkinDataName = L"mainmenubar";
    SetAlign(alTop);
    SetBounds(Left(), Top(), Width(), 22);
}

TbsSkinMainMenuBar::~TbsSkinMainMenuBar()
{
    delete DefItemFont;
    ClearObjects();
    delete MouseTimer;
    delete MorphTimer;
    delete AnimateTimer;
}

void TbsSkinMainMenuBar::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FMainMenu) {
        FMainMenu = nullptr;
        if (!(ComponentState() & csDestroying)) ClearObjects();
    }
    if (AComponent == FMergeMenu) FMergeMenu = nullptr;
    if (AComponent == BSF) BSF = nullptr;
}

void TbsSkinMainMenuBar::SetMainMenu(TMainMenu* Value)
{
    FMainMenu = Value;
    if (Value) Value->FreeNotification(this);
    CreateMenu();
    Redraw();
}

void TbsSkinMainMenuBar::SetSkinForm(TbsSkinForm* Value)
{
    BSF = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMainMenuBar::ClearObjects()
{
    for (TbsMenuBarObject* o : ObjectList) delete o;
    ObjectList.clear();
    ButtonsCount = 0;
}

TbsSkinMainMenuBarItem* TbsSkinMainMenuBar::ItemAt(int I) const
{
    if (I < 0 || I >= static_cast<int>(ObjectList.size())) return nullptr;
    return dynamic_cast<TbsSkinMainMenuBarItem*>(ObjectList[static_cast<size_t>(I)]);
}

TMainMenu* TbsSkinMainMenuBar::GetChildMainMenu() const
{
    if (FMergeMenu) return FMergeMenu;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
    if (!child) return nullptr;
    for (int i = 0; i < child->ComponentCount(); ++i)
        if (auto* m = dynamic_cast<TMainMenu*>(child->Components(i))) return m;
    return nullptr;
}

void TbsSkinMainMenuBar::CreateMenu()
{
    ClearObjects();
    if (FMDIChildMax) {
        CreateMDIButtons();
        if (TbsSkinForm* child = MaximizedMDIChildSkinForm()) EnableMDIButtons(child->BorderIcons());
    }
    if (!FMainMenu) return;
    TMainMenu* child = nullptr;
    if (BSF && ((BSF->Form() && BSF->Form()->FormStyle() == fsMDIForm) || FMergeMenu)) child = GetChildMainMenu();
    TbsDataSkinObject* rec = nullptr;
    if (FSD && !FSD->Empty) {
        const int i = FSD->GetIndex(MenuBarItem);
        if (i != -1) rec = FSD->ObjectList[static_cast<size_t>(i)];
    }
    ChildMenuIn = child != nullptr;
    if (child && ScrollMenu) ScrollMenu = false;
    std::vector<TMenuItem*> items;
    TMenuItem* root = FMainMenu->Items();
    if (child) {
        TMenuItem* croot = child->Items();
        for (int i = 0; i < root->Count(); ++i) {
            bool taken = false;
            for (int j = 0; j < croot->Count(); ++j)
                if (croot->Items(j)->GroupIndex() == root->Items(i)->GroupIndex()) taken = true;
            if (!taken) items.push_back(root->Items(i));
        }
        for (int j = 0; j < croot->Count(); ++j) items.push_back(croot->Items(j));
        std::stable_sort(items.begin(), items.end(),
                         [](TMenuItem* a, TMenuItem* b) { return a->GroupIndex() < b->GroupIndex(); });
    } else {
        for (int i = 0; i < root->Count(); ++i) items.push_back(root->Items(i));
    }
    for (TMenuItem* m : items) {
        if (!m->Visible()) continue;
        auto* o = new TbsSkinMainMenuBarItem(this, rec);
        o->IDName = m->Name();
        o->Enabled = m->Enabled();
        o->OldEnabled = o->Enabled;
        o->MenuItem = m;
        ObjectList.push_back(o);
    }
}

void TbsSkinMainMenuBar::Merge(TMainMenu* Menu)
{
    FMergeMenu = Menu;
    if (Menu) Menu->FreeNotification(this);
    UpDateItems();
}

void TbsSkinMainMenuBar::UnMerge()
{
    FMergeMenu = nullptr;
    UpDateItems();
}

void TbsSkinMainMenuBar::UpDateItems()
{
    CreateMenu();
    Redraw();
    ActiveObject = OldActiveObject = -1;
    MouseTimer->SetEnabled(true);
}

void TbsSkinMainMenuBar::UpDateEnabledItems()
{
    for (TbsMenuBarObject* o : ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o)) i->Enabled = i->MenuItem->Enabled();
    Redraw();
}

void TbsSkinMainMenuBar::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    auto* r = dynamic_cast<TbsDataSkinMainMenuBar*>(Record());
    if (!r) return;
    BarSkinRect = r->SkinRect;
    ItemsRect = r->ItemsRect;
    MenuBarItem = r->MenuBarItem;
    CloseButton = r->CloseButton;
    MaxButton = r->MaxButton;
    MinButton = r->MinButton;
    SysMenuButton = r->SysMenuButton;
    TrackMarkColor = r->TrackMarkColor;
    TrackMarkActiveColor = r->TrackMarkActiveColor;
    Picture = PictureAt(FSD, r->PictureIndex);
    StretchEffect = r->StretchEffect;
    ItemTransparent = r->ItemTransparent;
}

void TbsSkinMainMenuBar::BeforeChangeSkinData()
{
    FSkinSupport = false;
    TbsSkinControl::BeforeChangeSkinData();
    ClearObjects();
}

void TbsSkinMainMenuBar::ChangeSkinData()
{
    GetSkinData();
    FSkinSupport = FIndex != -1;
    CreateMenu();
    if (FSkinSupport && UseSkinSize)
        SetBounds(Left(), Top(), Width(), RectHeight(BarSkinRect));
    else if (DefaultHeight > 0)
        SetBounds(Left(), Top(), Width(), DefaultHeight);
    Redraw();
}

void TbsSkinMainMenuBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    GetSkinData();
    if (FIndex != -1 && UseSkinSize && dynamic_cast<TbsDataSkinMainMenuBar*>(Record()))
        AHeight = RectHeight(BarSkinRect);
    TbsSkinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    Redraw();
}

void TbsSkinMainMenuBar::CalcItemsRect()
{
    if (FSkinSupport && FIndex != -1) {
        NewItemsRect =
            Rect(ItemsRect.Left, ItemsRect.Top, Width() - (RectWidth(BarSkinRect) - ItemsRect.Right), ItemsRect.Bottom);
        if (!UseSkinSize) NewItemsRect.Bottom = Height() - (RectHeight(BarSkinRect) - ItemsRect.Bottom);
    } else {
        NewItemsRect = Rect(2, 2, Width() - 2, Height() - 2);
    }
    PlaceMDIButtons();
}

TRect TbsSkinMainMenuBar::MarkerRect() const
{
    return Rect(NewItemsRect.Right - 5, NewItemsRect.Top, NewItemsRect.Right, NewItemsRect.Bottom);
}

void TbsSkinMainMenuBar::DrawMarker(TCanvas* C)
{
    TColor color;
    if (FIndex == -1)
        color = MarkerActive ? clBtnText : clBtnShadow;
    else
        color = MarkerActive ? TrackMarkActiveColor : TrackMarkColor;
    DrawArrowImage(C, MarkerRect(), color, 2);
}

void TbsSkinMainMenuBar::DrawBar(TCanvas* C)
{
    if (!C) {
        Redraw();
        return;
    }
    GetSkinData();
    const int W = Width(), H = Height();
    if (W <= 0 || H <= 0) return;
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(W, H);
    TCanvas* bc = b.Canvas();
    if (FIndex == -1) {
        bc->Brush()->SetColor(clBtnFace);
        bc->FillRect(Rect(0, 0, W, H));
    } else if (FSD->MainMenuBarTransparent) {
        PaintParentBackground(this, bc);
    } else if (Picture && UseSkinSize) {
        CreateHSkinImage(ItemsRect.Left, RectWidth(BarSkinRect) - ItemsRect.Right, &b, Picture, BarSkinRect, W,
                         RectHeight(BarSkinRect), StretchEffect);
    } else if (!UseSkinSize && ToolBarMode) {
        auto* panel = dynamic_cast<TbsDataSkinCustomControl*>(ControlRecord(FSD, L"resizetoolpanel"));
        if (!panel) panel = dynamic_cast<TbsDataSkinCustomControl*>(ControlRecord(FSD, L"panel"));
        if (TBitmap* pic = panel ? PictureAt(FSD, panel->PictureIndex) : nullptr)
            ComposeControl(panel, pic, panel->SkinRect, &b, W, H);
    } else if (Picture) {
        const int sh = RectHeight(BarSkinRect);
        CreateStretchImage(&b, Picture, BarSkinRect, Rect(ItemsRect.Left, sh / 4, ItemsRect.Right, sh - sh / 4), true);
    }
    if (b.Width() != W || b.Height() != H) b.SetSize(W, H);
    CalcItemsRect();
    Scroll = false;
    for (TbsMenuBarObject* o : ObjectList)
        if (o->Visible) o->Draw(b.Canvas());
    if (Scroll && ScrollMenu) DrawMarker(b.Canvas());
    C->Draw(0, 0, &b);
}

void TbsSkinMainMenuBar::Redraw()
{
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    HDC dc = GetDC(Handle());
    TCanvas c;
    c.SetHandle(dc);
    DrawBar(&c);
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

void TbsSkinMainMenuBar::DrawObject(TbsMenuBarObject* Obj)
{
    if (dynamic_cast<TbsSkinMainMenuBarItem*>(Obj) && FIndex != -1 &&
        (ItemTransparent || (ToolBarMode && ToolBarModeItemTransparent))) {
        Redraw();
        return;
    }
    if (!Obj->Visible || !HandleAllocated()) return;
    HDC dc = GetDC(Handle());
    TCanvas c;
    c.SetHandle(dc);
    Obj->Draw(&c);
    c.SetHandle(nullptr);
    ReleaseDC(Handle(), dc);
}

void TbsSkinMainMenuBar::Dispatch(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_ERASEBKGND: {
        TCanvas c;
        c.SetHandle(reinterpret_cast<HDC>(Message.WParam));
        DrawBar(&c);
        c.SetHandle(nullptr);
        Message.Result = 1;
        return;
    }
    case WM_SIZE:
        TbsSkinControl::Dispatch(Message);
        CalcItemsRect();
        // The items fit anew at the new width.
        Redraw();
        return;
    case WM_MOVE:
        TbsSkinControl::Dispatch(Message);
        if (FIndex != -1 && FSD && FSD->MainMenuBarTransparent && Align() == alNone) Redraw();
        return;
    case WM_SKIN_PARENTBGCHANGED:
        if (FIndex != -1 && FSD && FSD->MainMenuBarTransparent) Redraw();
        return;
    case WM_SKINMENU_CLOSED:
        TbsSkinControl::Dispatch(Message);
        ReleaseSysMenuButton();
        return;
    case CM_MOUSEENTER:
        TbsSkinControl::Dispatch(Message);
        if (OnMouseEnter) OnMouseEnter(this);
        MouseTimer->SetEnabled(true);
        return;
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(Message);
        if (OnMouseLeave) OnMouseLeave(this);
        MouseTimer->SetEnabled(false);
        TrackObjects(-1, -1);
        return;
    default: TbsSkinControl::Dispatch(Message);
    }
}

// ---- mouse -----------------------------------------------------------------------------------

void TbsSkinMainMenuBar::TrackObjects(int X, int Y)
{
    if (ObjectList.empty()) return;
    OldActiveObject = ActiveObject;
    int hit = -1;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        const TRect& r = ObjectList[i]->ObjectRect;
        if (ObjectList[i]->Enabled && X >= r.Left && X < r.Right && Y >= r.Top && Y < r.Bottom) {
            hit = static_cast<int>(i);
            break;
        }
    }
    if (hit == -1 && OldActiveObject != -1 && MenuActive && ItemAt(OldActiveObject))
        ActiveObject = OldActiveObject;
    else
        ActiveObject = hit;
    if (MouseCaptureObject != -1 && ActiveObject >= 0 && MouseCaptureObject != ActiveObject) ActiveObject = -1;
    if (ActiveObject >= static_cast<int>(ObjectList.size())) ActiveObject = -1;
    if (ActiveObject != OldActiveObject) {
        if (OldActiveObject != -1 && OldActiveObject < static_cast<int>(ObjectList.size()) &&
            ObjectList[static_cast<size_t>(OldActiveObject)]->Enabled)
            ObjectList[static_cast<size_t>(OldActiveObject)]->MouseLeave();
        if (ActiveObject != -1 && ObjectList[static_cast<size_t>(ActiveObject)]->Enabled)
            ObjectList[static_cast<size_t>(ActiveObject)]->MouseEnter();
    }
    if (Scroll && ScrollMenu) {
        const bool in = PointInsideRect(MarkerRect(), Point(X, Y));
        if (in != MarkerActive) {
            MarkerActive = in;
            if (HandleAllocated()) {
                HDC dc = GetDC(Handle());
                TCanvas c;
                c.SetHandle(dc);
                DrawMarker(&c);
                c.SetHandle(nullptr);
                ReleaseDC(Handle(), dc);
            }
        }
    }
}

void TbsSkinMainMenuBar::MouseTimerProc(TObject*)
{
    POINT p;
    GetCursorPos(&p);
    const TPoint c = ScreenToClient(Point(p.x, p.y));
    if ((c.X < 0 || c.Y < 0 || c.X > Width() || c.Y > Height()) && MouseTimer->Enabled()) {
        MouseTimer->SetEnabled(false);
        TrackObjects(-1, -1);
    } else {
        TrackObjects(c.X, c.Y);
    }
}

void TbsSkinMainMenuBar::MouseMove(TShiftState Shift, int X, int Y)
{
    if (!MouseTimer->Enabled()) MouseTimer->SetEnabled(true);
    TbsSkinControl::MouseMove(Shift, X, Y);
}

void TbsSkinMainMenuBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    TrackObjects(X, Y);
    if (ActiveObject != -1) {
        MouseCaptureObject = ActiveObject;
        TbsMenuBarObject* o = ObjectList[static_cast<size_t>(ActiveObject)];
        o->MouseDown(X, Y, Button);
        if (Shift.Contains(ssDouble)) o->DblClick();
    } else if (Scroll && ScrollMenu && PointInsideRect(MarkerRect(), Point(X, Y))) {
        PopupHiddenItems();
    }
}

void TbsSkinMainMenuBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (MouseCaptureObject != -1 && MouseCaptureObject < static_cast<int>(ObjectList.size())) {
        ObjectList[static_cast<size_t>(MouseCaptureObject)]->MouseUp(X, Y, Button);
        MouseCaptureObject = -1;
    }
    MouseCaptureObject = -1;
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
}

void TbsSkinMainMenuBar::MorphTimerProc(TObject*)
{
    bool stepped = false;
    for (TbsMenuBarObject* o : ObjectList)
        if (o->EnableMorphing() && o->CanMorphing()) {
            o->DoMorphing();
            stepped = true;
        }
    if (!stepped) MorphTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::AnimateTimerProc(TObject*)
{
    bool stepped = false;
    for (TbsMenuBarObject* o : ObjectList) {
        auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o);
        if (!i || !i->EnableAnimation()) continue;
        if (i->Active && i->CurrentFrame <= i->FrameCount) {
            ++i->CurrentFrame;
            DrawObject(i);
            stepped = true;
        } else if (!i->Active && i->CurrentFrame > 0) {
            --i->CurrentFrame;
            DrawObject(i);
            stepped = true;
        }
    }
    if (!stepped) AnimateTimer->SetEnabled(false);
}

void TbsSkinMainMenuBar::PopupHiddenItems()
{
    if (!BSF || !FMainMenu) return;
    int n = 0;
    for (TbsMenuBarObject* o : ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o); i && i->ItemVisible) ++n;
    const TPoint s = ClientToScreen(Point(NewItemsRect.Right, NewItemsRect.Top));
    const TRect r = Rect(s.X - 5, s.Y, s.X, s.Y + RectHeight(NewItemsRect));
    TMainMenu* child = nullptr;
    if ((BSF->Form() && BSF->Form()->FormStyle() == fsMDIForm) || FMergeMenu) child = GetChildMainMenu();
    BSF->SkinMenuOpen();
    TbsSkinMenu* e = EngineOf(BSF);
    if (!e) return;
    if (child)
        e->Popup2(nullptr, FSD, n, r, FMainMenu->Items(), child->Items(), false);
    else
        e->Popup(nullptr, FSD, n, r, FMainMenu->Items(), false);
}

// ---- menu mode and keys ----------------------------------------------------------------------

void TbsSkinMainMenuBar::EnterMenuMode()
{
    MenuActive = true;
    Redraw();
    TbsSkinMainMenuBarItem* item = nullptr;
    for (TbsMenuBarObject* o : ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o); i && i->Active) {
            item = i;
            break;
        }
    if (!item)
        for (TbsMenuBarObject* o : ObjectList)
            if ((item = dynamic_cast<TbsSkinMainMenuBarItem*>(o))) break;
    if (!item) return;
    item->MouseEnter();
    if (BSF) {
        BSF->HookApp();
        BSF->InMainMenu = true;
        if (BSF->OnMainMenuEnter) BSF->OnMainMenuEnter(this);
    }
}

void TbsSkinMainMenuBar::LeaveMenuMode()
{
    MenuActive = false;
    Redraw();
    for (TbsMenuBarObject* o : ObjectList) {
        auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o);
        if (!i || !(i->FDown || i->Active)) continue;
        i->Active = i->FMouseIn = i->FDown = false;
        if (!i->EnableAnimation() || i->InActiveAnimation) {
            i->UpdateLook();
        } else {
            i->CurrentFrame = 0;
            DrawObject(i);
        }
        break;
    }
    ActiveObject = OldActiveObject = -1;
}

void TbsSkinMainMenuBar::ReleaseDownItem()
{
    for (TbsMenuBarObject* o : ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o); i && i->FDown) {
            i->FDown = false;
            i->Active = true;
            DrawObject(i);
            break;
        }
}

bool TbsSkinMainMenuBar::ActivateAccelItem(int Key)
{
    if (!BSF || ObjectList.empty() || !BSF->Form() || !BSF->Form()->Visible()) return false;
    for (TbsMenuBarObject* o : ObjectList) {
        auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o);
        if (!i || !i->Enabled || !i->ItemVisible) continue;
        if (!IsAccel(static_cast<WORD>(Key), i->MenuItem->Caption())) continue;
        i->MouseEnter();
        if (!BSF->InMenu || i->MenuItem->Count() == 0) i->MouseDown(0, 0, mbLeft);
        return true;
    }
    return false;
}

void TbsSkinMainMenuBar::NextMainMenuItem()
{
    std::vector<TbsSkinMainMenuBarItem*> c;
    for (TbsMenuBarObject* o : ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o); i && i->Enabled && i->ItemVisible) c.push_back(i);
    if (c.empty()) return;
    for (size_t k = 0; k < c.size(); ++k)
        if (c[k]->Active || c[k]->FDown) {
            c[k]->MouseLeave();
            c[(k + 1) % c.size()]->MouseEnter();
            return;
        }
    c.front()->MouseEnter();
}

void TbsSkinMainMenuBar::PriorMainMenuItem()
{
    std::vector<TbsSkinMainMenuBarItem*> c;
    for (TbsMenuBarObject* o : ObjectList)
        if (auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o); i && i->Enabled && i->ItemVisible) c.push_back(i);
    if (c.empty()) return;
    for (size_t k = c.size(); k-- > 0;)
        if (c[k]->Active || c[k]->FDown) {
            c[k]->MouseLeave();
            c[k == 0 ? c.size() - 1 : k - 1]->MouseEnter();
            return;
        }
    c.back()->MouseEnter();
}

bool TbsSkinMainMenuBar::PressActiveItem()
{
    if (!BSF) return false;
    for (TbsMenuBarObject* o : ObjectList) {
        auto* i = dynamic_cast<TbsSkinMainMenuBarItem*>(o);
        if (!i) continue;
        if ((i->FDown && i->MenuItem->Count() == 0) || (i->Active && !BSF->InMenu)) {
            i->Active = false;
            i->MouseDown(0, 0, mbLeft);
            return true;
        }
    }
    return false;
}

// ---- the skinned form's shortcut handler and its helpers for the bar ---------------------------

bool TbsSkinForm::MenuBarAccel(int Key)
{
    auto* bar = dynamic_cast<TbsSkinMainMenuBar*>(FMainMenuBar);
    return bar ? bar->ActivateAccelItem(Key) : (FMainMenuBar && FMainMenuBar->MenuKeyDown(Key));
}

bool TbsSkinForm::MenuBarPressActive()
{
    auto* bar = dynamic_cast<TbsSkinMainMenuBar*>(FMainMenuBar);
    return bar ? bar->PressActiveItem() : (FMainMenuBar && FMainMenuBar->OpensOnKey(VK_RETURN));
}

bool TbsSkinForm::ActiveMenuItemIsLeaf() const
{
    auto* e = dynamic_cast<TbsSkinMenu*>(SkinMenu);
    if (!e || e->FPopupList.empty()) return true;
    TbsSkinPopupWindow* w = e->FPopupList.back();
    if (w->ActiveItem == -1 || w->ActiveItem >= w->ItemCount()) return true;
    return w->Item(w->ActiveItem)->MenuItem->Count() == 0;
}

bool TbsSkinForm::SingleMenuLevel() const { return !SkinMenu || SkinMenu->PopupCount() <= 1; }

void TbsSkinForm::FormShortCut(TMessage& Msg, bool& Handled)
{
    if (OnShortCut) {
        OnShortCut(Msg, Handled);
        if (Handled) return;
    }
    const TShiftState shift = KeyDataToShiftState(Msg.LParam);
    const bool altOnly = shift == TShiftState{ssAlt};
    const WORD key = static_cast<WORD>(Msg.WParam);
    if (altOnly && key == VK_SPACE) {
        ShowSysMenuAtButton();
        FInShortCut = false;
        Handled = true;
        return;
    }
    if (FInShortCut) {
        FInShortCut = false;
        Handled = false;
    }
    auto* bar = dynamic_cast<TbsSkinMainMenuBar*>(FMainMenuBarComponent);
    if (TMainMenu* menu = bar ? bar->MainMenu() : nullptr) {
        if (altOnly && key != VK_F4 && MenuBarAccel(key)) {
            Handled = true;
        } else {
            FInShortCut = menu->IsShortCut(Msg);
            Handled = FInShortCut;
        }
    }
    if (!FInShortCut && bar) {
        if (TMainMenu* child = bar->GetChildMainMenu()) {
            if (altOnly && MenuBarAccel(key)) {
                Handled = true;
            } else {
                FInShortCut = child->IsShortCut(Msg);
                Handled = Handled || FInShortCut;
            }
        }
    }
    if (FSkinRibbon && !FInShortCut && key != 0) {
        FInShortCut = FSkinRibbon->AppButtonShortCut(Msg);
        if (FInShortCut) Handled = true;
    }
    if (FSkinRibbon && !FInShortCut && key != 0) FSkinRibbon->TabAccel(key);
    if (FSystemMenu && !FInShortCut && key != 0) {
        FInShortCut = FSystemMenu->IsShortCut(Msg);
        if (FInShortCut) Handled = true;
    }
}
