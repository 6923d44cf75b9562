#include "platform/framework/forms/action.h"

#include <algorithm>

#include "platform/framework/controls/control.h"
#include "platform/framework/forms/menus.h"

// ---- TBasicAction ----

TBasicAction::~TBasicAction()
{
    for (TControl* c : std::vector<TControl*>(FClients)) c->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::RegisterClient(TControl* c)
{
    if (std::find(FClients.begin(), FClients.end(), c) == FClients.end()) FClients.push_back(c);
}

void TBasicAction::UnRegisterClient(TControl* c)
{
    FClients.erase(std::remove(FClients.begin(), FClients.end(), c), FClients.end());
}

void TBasicAction::Change()
{
    for (TControl* c : std::vector<TControl*>(FClients)) c->ActionChange(this, false);
}

// ---- TCustomAction ----

void TCustomAction::SetActionList(TActionList* v)
{
    if (v == FActionList) return;
    if (FActionList) {
        auto& a = FActionList->FActions;
        a.erase(std::remove(a.begin(), a.end(), this), a.end());
    }
    FActionList = v;
    if (v) v->FActions.push_back(this);
}

void TCustomAction::SetCaption(const String& v)
{
    if (v == FCaption) return;
    FCaption = v;
    Change();
}

void TCustomAction::SetChecked(bool v)
{
    if (v == FChecked) return;
    FChecked = v;
    // Checking one action of a group unchecks the others of its list.
    if (v && FGroupIndex > 0 && FActionList)
        for (TCustomAction* a : FActionList->FActions)
            if (a != this && a->FGroupIndex == FGroupIndex) a->SetChecked(false);
    Change();
}

void TCustomAction::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    Change();
}

void TCustomAction::SetVisible(bool v)
{
    if (v == FVisible) return;
    FVisible = v;
    Change();
}

void TCustomAction::SetHint(const String& v)
{
    if (v == FHint) return;
    FHint = v;
    Change();
}

void TCustomAction::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    Change();
}

void TCustomAction::SetShortCut(TShortCut v)
{
    if (v == FShortCut) return;
    FShortCut = v;
    Change();
}

bool TCustomAction::Execute()
{
    Update();
    if (!FEnabled) return false;
    if (FAutoCheck) SetChecked(!FChecked);
    return TBasicAction::Execute();
}

// ---- TActionList ----

TActionList::~TActionList()
{
    for (TCustomAction* a : FActions) a->FActionList = nullptr;
}

bool TActionList::IsShortCut(TMessage& KeyMsg)
{
    TShortCut sc = ::ShortCut(static_cast<WORD>(KeyMsg.WParam), KeyDataToShiftState(KeyMsg.LParam));
    if (!sc) return false;
    for (TCustomAction* a : FActions)
        if (a->ShortCut() == sc) {
            a->Update();
            if (a->Enabled()) {
                a->Execute();
                return true;
            }
        }
    return false;
}
