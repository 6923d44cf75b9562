#include "skin/form/animate_object.h"

#include "platform/framework/forms/application.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/core/layer_manager.h"
#include "skin/form/object_menu.h"
#include "skin/form/skin_form.h"

TbsSkinAnimateObject::TbsSkinAnimateObject(TbsSkinForm* AParent, TbsDataSkinObject* AData)
    : TbsActiveSkinObject(AParent, AData)
{
    auto* a = dynamic_cast<TbsDataSkinAnimate*>(AData);
    if (!a) return;
    TimerInterval = std::max(25, a->TimerInterval);
    CountFrames = a->CountFrames;
    Cycle = a->Cycle;
    ButtonStyle = a->ButtonStyle;
    Command = a->Command;
    DownSkinRect = a->DownSkinRect;
    RestoreRect = a->RestoreRect;
    RestoreActiveRect = a->RestoreActiveRect;
    RestoreDownRect = a->RestoreDownRect;
    RestoreInActiveRect = a->RestoreInActiveRect;
    RestoreHint = a->RestoreHint;
    FTempHint = a->Hint;
}

TbsLayerManager* TbsSkinAnimateObject::GlowManager()
{
    return MenuItem ? Parent->FMenuLayerManager : Parent->FLayerManager;
}

TRect TbsSkinAnimateObject::ScreenRect()
{
    TCustomForm* f = Parent->Form();
    if (f->FormStyle() == fsMDIChild) return TbsActiveSkinObject::ScreenRect();
    TRect r = ObjectRect;
    return Rect(r.Left + f->Left(), r.Top + f->Top(), r.Right + f->Left(), r.Bottom + f->Top());
}

bool TbsSkinAnimateObject::RestoreLook()
{
    switch (Command) {
    case cmMaximize: return Parent->WindowState() == wsMaximized;
    case cmMinimize: return Parent->WindowState() == wsMinimized;
    case cmRollUp: return Parent->RollUpState();
    default: return false;
    }
}

TRect TbsSkinAnimateObject::FrameRect(int N)
{
    const bool restore = !RestoreRect.IsEmpty() && RestoreLook();
    const TRect& r = restore ? RestoreRect : SkinRect;
    const TRect& a = restore ? RestoreActiveRect : ActiveSkinRect;
    const int w = r.Width(), h = r.Height();
    return Rect(a.Left + (N - 1) * w, a.Top, a.Left + N * w, a.Top + h);
}

void TbsSkinAnimateObject::Draw(TCanvas* Cnvs, bool)
{
    if (!HasSkin()) return;
    const bool restore = !RestoreRect.IsEmpty() && RestoreLook();
    const TRect& d = restore ? RestoreDownRect : DownSkinRect;
    const TRect& i = restore ? RestoreInActiveRect : InActiveSkinRect;
    if (FMenuTracking) {
        if (!d.IsEmpty()) {
            CopyLook(Cnvs, ActivePicture, d);
        } else {
            FFrame = CountFrames;
            CopyLook(Cnvs, ActivePicture, FrameRect(FFrame));
        }
    } else if (!Parent->GetFormActive() && !i.IsEmpty()) {
        CopyLook(Cnvs, ActivePicture, i);
    } else if (FDown && FMouseIn && !d.IsEmpty()) {
        CopyLook(Cnvs, ActivePicture, d);
    } else {
        CopyLook(Cnvs, ActivePicture, FrameRect(FFrame));
    }
}

void TbsSkinAnimateObject::SetFrame(int Value)
{
    if (Increment)
        FFrame = Value > CountFrames ? 1 : Value;
    else
        FFrame = Value <= 0 ? CountFrames : Value;
    Redraw();
}

void TbsSkinAnimateObject::ChangeFrame()
{
    if (FInc < TimerInterval) {
        FInc += 25;
        return;
    }
    if (Increment) {
        SetFrame(FFrame + 1);
        if (!Cycle && FFrame == CountFrames) Active = false;
    } else {
        SetFrame(FFrame - 1);
        if (FFrame == 1) Active = false;
    }
    FInc = 25;
}

void TbsSkinAnimateObject::Start()
{
    FInc = 25;
    FFrame = 1;
    Active = true;
    Parent->AnimateTimer->SetEnabled(true);
}

void TbsSkinAnimateObject::Stop()
{
    SetFrame(1);
    Active = false;
    FInc = 25;
}

void TbsSkinAnimateObject::MouseEnter()
{
    if (Command != cmDefault) Hint = CaptionButtonHint(Parent, Command, RestoreHint, FTempHint);
    FMouseIn = true;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = true;
        if (FDown && !DownSkinRect.IsEmpty())
            Redraw();
        else
            Parent->AnimateTimer->SetEnabled(true);
    }
    Parent->DoMouseEnterEvent(IDName);
    ShowLayer();
}

void TbsSkinAnimateObject::MouseLeave()
{
    if (!FMouseIn) return;
    FMouseIn = false;
    if (FMenuTracking) return;
    if (ButtonStyle) {
        Active = true;
        Increment = false;
        if (FDown && !DownSkinRect.IsEmpty())
            Redraw();
        else
            Parent->AnimateTimer->SetEnabled(true);
    }
    Parent->DoMouseLeaveEvent(IDName);
    HideLayer();
}

void TbsSkinAnimateObject::MouseDown(int X, int Y, TMouseButton Button)
{
    TbsActiveSkinObject::MouseDown(X, Y, Button);
    if (Button == mbLeft && !DownSkinRect.IsEmpty()) {
        FFrame = CountFrames;
        FDown = true;
        Redraw();
    }
    // The system-menu object opens its menu on the press.
    if (Command == cmSysMenu && ButtonStyle && FMouseIn && Button == mbLeft) ExecuteCommand();
}

void TbsSkinAnimateObject::MouseUp(int X, int Y, TMouseButton Button)
{
    TbsActiveSkinObject::MouseUp(X, Y, Button);
    if (FMenuTracking) return;
    if (Button == mbLeft && !DownSkinRect.IsEmpty()) {
        FDown = false;
        Redraw();
        Parent->AnimateTimer->SetEnabled(true);
    }
    if (Command != cmSysMenu && ButtonStyle && FMouseIn && Button == mbLeft) ExecuteCommand();
}

void TbsSkinAnimateObject::DblClick()
{
    if (Command == cmSysMenu) Parent->Form()->Close();
}

void TbsSkinAnimateObject::PopupObjectMenu()
{
    if (!MenuItem || MenuItem->Count() == 0) return;
    TRect r = ScreenRect();
    FMenuTracking = true;
    if (Parent->FLayerManager->IsVisible) Parent->FLayerManager->Hide();
    if (Parent->FMenuLayerManager->IsVisible) Parent->FMenuLayerManager->Hide();
    if (FMouseIn) ShowLayer();
    if (auto* m = dynamic_cast<TbsSkinPopupMenuBase*>(MenuItem->GetParentMenu())) {
        m->PopupFromRect2(Parent->Form(), r, FPopupUp);
        return;
    }
    Parent->SkinMenuOpen();
    TbsSkinData* d = Parent->MenusSkinData() ? Parent->MenusSkinData() : Parent->SkinData();
    PopupFrameObjectMenu(Parent, d, r, MenuItem, FPopupUp);
}

void TbsSkinAnimateObject::ExecuteCommand()
{
    if (RunWindowCommand(this, Command, false)) return;
    if (Command == cmSysMenu) {
        MenuItem = Parent->GetSysMenuItems();
        PopupObjectMenu();
    } else if (Command == cmDefault && MenuItem) {
        PopupObjectMenu();
    }
}
