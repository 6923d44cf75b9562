#include "skin/form/skin_popup_menu.h"

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "skin/core/skin_data.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu.h"

TbsSkinPopupMenu::TbsSkinPopupMenu(TComponent* AOwner) : TbsSkinPopupMenuBase(AOwner) {}

void TbsSkinPopupMenu::SetSkinData(TbsSkinData* Value)
{
    if (FSD == Value) return;
    if (FSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (FSD) FSD->FreeNotification(this);
}

void TbsSkinPopupMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinPopupMenuBase::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FSkinComponent) FSkinComponent = nullptr;
    if (AComponent == FComponentForm) FComponentForm = nullptr;
}

TbsSkinForm* TbsSkinPopupMenu::FindForm()
{
    TbsSkinForm* found = nullptr;
    if (FSkinComponent) {
        found = dynamic_cast<TbsSkinForm*>(FSkinComponent);
    } else if (FComponentForm) {
        found = FindSkinForm(FComponentForm);
    } else {
        TComponent* o = Owner();
        TComponent* form = nullptr;
        if (dynamic_cast<TCustomForm*>(o))
            form = o;
        else if (o && dynamic_cast<TCustomForm*>(o->Owner()))
            form = o->Owner();
        found = FindSkinForm(form);
        // An MDI child's menus open through the main form.
        if (found && found->Form() && found->Form()->FormStyle() == fsMDIChild && Application &&
            Application->MainForm())
            found = FindSkinForm(Application->MainForm());
    }
    if (found && !FSD) SetSkinData(found->MenusSkinData() ? found->MenusSkinData() : found->SkinData());
    return found;
}

void TbsSkinPopupMenu::DoPopup(TControl* Opener, const TRect& R, bool PopupUp, bool NeedSkinData)
{
    if (OnPopup) OnPopup(this);
    TbsSkinForm* sf = FindForm();
    if (!sf) return;
    if (NeedSkinData && !FSD) return;
    auto* engine = dynamic_cast<TbsSkinMenu*>(sf->SkinMenuEngine());
    if (!engine) return;
    if (engine->Visible()) sf->SkinMenuClose();
    sf->SkinMenuOpen();
    FPopupPoint = Point(R.Left, R.Top);
    engine->Popup(Opener, FSD, 0, R, Items(), PopupUp);
    if (OnMenuClose) engine->OnMenuClose = OnMenuClose;
}

void TbsSkinPopupMenu::Popup(int X, int Y) { DoPopup(nullptr, Rect(X, Y, X, Y), false, false); }

void TbsSkinPopupMenu::PopupFromRect(const TRect& R, bool APopupUp) { DoPopup(nullptr, R, APopupUp, false); }

void TbsSkinPopupMenu::PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp)
{
    DoPopup(ACtrl, R, APopupUp, false);
}

void TbsSkinPopupMenu::Popup2(TControl* ACtrl, int X, int Y) { DoPopup(ACtrl, Rect(X, Y, X, Y), false, true); }

TMenuItem* TrackSkinMenu(TbsSkinForm* SF, TMenuItem* Root, const TPoint& P)
{
    auto* engine = SF ? dynamic_cast<TbsSkinMenu*>(SF->SkinMenuEngine()) : nullptr;
    if (!engine || !Root || !Application) return nullptr;
    TMenuItem* chosen = nullptr;
    std::vector<TNotifyEvent> saved;
    for (int i = 0; i < Root->Count(); ++i) {
        TMenuItem* item = Root->Items(i);
        saved.push_back(item->OnClick);
        item->OnClick = [&chosen, item](TObject*) { chosen = item; };
    }
    if (engine->Visible()) SF->SkinMenuClose();
    SF->SkinMenuOpen();
    engine->Popup(nullptr, SF->MenusSkinData() ? SF->MenusSkinData() : SF->SkinData(), 0, Rect(P.X, P.Y, P.X, P.Y),
                  Root, false);
    while (engine->Visible() && !Application->Terminated()) Application->HandleMessage();
    for (int i = 0; i < Root->Count() && i < static_cast<int>(saved.size()); ++i) Root->Items(i)->OnClick = saved[i];
    return chosen;
}
