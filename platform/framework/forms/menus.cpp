#include "platform/framework/forms/menus.h"

#include <algorithm>
#include <atomic>
#include <cwctype>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/action.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/menu_popup.h"
#include "platform/framework/graphics/bitmap.h"

namespace {
std::atomic<UINT> gNextCommand{1};
}

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), FCommand(gNextCommand++) {}

TMenuItem::~TMenuItem()
{
    // Sub-items owned by this item go with it; others (owned by a form) are only unhooked.
    while (!FItems.empty()) {
        TMenuItem* i = FItems.back();
        FItems.pop_back();
        i->FParent = nullptr;
        if (i->Owner() == this || i->Owner() == nullptr) delete i;
    }
    if (FParent) FParent->Remove(this);
    SetAction(nullptr);
    delete FBitmap;
}

TMenuItem* TMenuItem::Items(int i) const
{
    if (i < 0 || i >= Count()) throw EListError(L"Menu index out of bounds");
    return FItems[static_cast<size_t>(i)];
}

int TMenuItem::MenuIndex() const { return FParent ? FParent->IndexOf(const_cast<TMenuItem*>(this)) : -1; }

void TMenuItem::SetMenuIndex(int v)
{
    if (!FParent) return;
    TMenuItem* p = FParent;
    p->Remove(this);
    p->Insert(std::clamp(v, 0, p->Count()), this);
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item)
{
    if (!Item) return;
    if (Item->FParent) throw EInvalidOperation(L"Menu inserted twice");
    if (Index < 0 || Index > Count()) throw EListError(L"Menu index out of bounds");
    FItems.insert(FItems.begin() + Index, Item);
    Item->FParent = this;
    Changed();
}

void TMenuItem::Delete(int Index)
{
    TMenuItem* i = Items(Index);
    FItems.erase(FItems.begin() + Index);
    i->FParent = nullptr;
    Changed();
}

void TMenuItem::Remove(TMenuItem* Item)
{
    int i = IndexOf(Item);
    if (i < 0) throw EListError(L"Menu item not found");
    Delete(i);
}

void TMenuItem::Clear()
{
    while (!FItems.empty()) {
        TMenuItem* i = FItems.back();
        FItems.pop_back();
        i->FParent = nullptr;
        i->Free();
    }
    Changed();
}

int TMenuItem::IndexOf(TMenuItem* Item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

TMenuItem* TMenuItem::Find(const String& ACaption) const
{
    String want = StripHotkey(ACaption);
    for (TMenuItem* i : FItems)
        if (SameText(StripHotkey(i->FCaption), want)) return i;
    return nullptr;
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* i = this;
    while (i->FParent) i = i->FParent;
    return i->FMenu;
}

TCustomImageList* TMenuItem::GetImageList() const
{
    TMenu* m = GetParentMenu();
    return m ? m->Images() : nullptr;
}

void TMenuItem::Changed()
{
    if (TMenu* m = GetParentMenu()) m->MenuChanged(this);
}

void TMenuItem::SetCaption(const String& v)
{
    if (v == FCaption) return;
    FCaption = v;
    Changed();
}

void TMenuItem::TurnSiblingsOff()
{
    if (!FParent) return;
    for (TMenuItem* i : FParent->FItems)
        if (i != this && i->FRadioItem && i->FGroupIndex == FGroupIndex) i->SetChecked(false);
}

void TMenuItem::SetChecked(bool v)
{
    if (v == FChecked) return;
    FChecked = v;
    // While a layout loads the stored states stand as they are.
    if (v && FRadioItem && !(ComponentState() & csLoading)) TurnSiblingsOff();
    Changed();
}

void TMenuItem::SetRadioItem(bool v)
{
    if (v == FRadioItem) return;
    FRadioItem = v;
    if (FChecked && v && !(ComponentState() & csLoading)) TurnSiblingsOff();
    Changed();
}

void TMenuItem::Loaded()
{
    TComponent::Loaded();
    if (FChecked && FRadioItem) TurnSiblingsOff();
}

void TMenuItem::SetEnabled(bool v)
{
    if (v == FEnabled) return;
    FEnabled = v;
    Changed();
}

void TMenuItem::SetVisible(bool v)
{
    if (v == FVisible) return;
    FVisible = v;
    Changed();
}

void TMenuItem::SetDefault(bool v)
{
    if (v == FDefault) return;
    if (v && FParent)
        for (TMenuItem* i : FParent->FItems) i->FDefault = false;
    FDefault = v;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut v)
{
    if (v == FShortCut) return;
    FShortCut = v;
    Changed();
}

void TMenuItem::SetImageIndex(int v)
{
    if (v == FImageIndex) return;
    FImageIndex = v;
    Changed();
}

void TMenuItem::Click()
{
    if (!FEnabled) return;
    if (FAutoCheck) SetChecked(!FChecked);
    if (OnClick)
        OnClick(this);
    else if (FAction)
        FAction->Execute();
}

TBitmap* TMenuItem::Bitmap()
{
    if (!FBitmap) FBitmap = new TBitmap;
    return FBitmap;
}

void TMenuItem::SetBitmap(TBitmap* v)
{
    if (v)
        Bitmap()->Assign(v);
    else if (FBitmap)
        FBitmap->SetSize(0, 0);
    Changed();
}

bool TMenuItem::HasBitmap() const { return FBitmap && !FBitmap->Empty(); }

void TMenuItem::SetAction(TBasicAction* v)
{
    if (v == FAction) return;
    if (FAction) FAction->RemoveFreeNotification(this);
    FAction = v;
    if (FAction) {
        FAction->FreeNotification(this);
        ActionChange();
    }
}

void TMenuItem::ActionChange()
{
    auto* a = dynamic_cast<TCustomAction*>(FAction);
    if (!a) return;
    FCaption = a->Caption();
    FChecked = a->Checked();
    FEnabled = a->Enabled();
    FVisible = a->Visible();
    FHint = a->Hint();
    FImageIndex = a->ImageIndex();
    FShortCut = a->ShortCut();
    FGroupIndex = a->GroupIndex();
    FAutoCheck = a->AutoCheck();
    Changed();
}

void TMenuItem::InitiateAction()
{
    if (!FAction) return;
    FAction->Update();
    ActionChange();
}

void TMenuItem::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FAction) FAction = nullptr;
}

bool TMenuItem::RethinkLines()
{
    if (TMenu* m = GetParentMenu(); m && m->AutoLineReduction() != maAutomatic) return false;
    bool changed = false;
    TMenuItem* lastShown = nullptr;
    for (TMenuItem* it : FItems) {
        if (!it->FVisible) continue;
        bool hide = it->IsLine() && (!lastShown || lastShown->IsLine());
        if (hide != it->FLineHidden) {
            it->FLineHidden = hide;
            changed = true;
        }
        if (!hide) lastShown = it;
    }
    // Separators left at the end go too.
    for (auto i = FItems.rbegin(); i != FItems.rend(); ++i) {
        TMenuItem* it = *i;
        if (!it->FVisible || it->FLineHidden) continue;
        if (!it->IsLine()) break;
        it->FLineHidden = true;
        changed = true;
    }
    return changed;
}

// ---- TMenu ----

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(new TMenuItem(this)) { FItems->FMenu = this; }

TMenu::~TMenu()
{
    // The root item is owned by this menu and goes with the other owned components.
    FItems->FMenu = nullptr;
}

void TMenu::SetImages(TCustomImageList* v)
{
    if (FImages == v) return;
    FImages = v;
    MenuChanged(nullptr);
}

void TMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
}

void TMenu::MenuChanged(TMenuItem*)
{
    // A form showing this menu in its plain bar lays its frame out again.
    if (FWindowHandle && IsWindow(FWindowHandle) && !(ComponentState() & csDestroying))
        SetWindowPos(FWindowHandle, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (OnChange && !(ComponentState() & csDestroying)) OnChange(this);
}

namespace {
TMenuItem* FindIn(TMenuItem* item, UINT value, TFindItemKind kind)
{
    for (int i = 0; i < item->Count(); ++i) {
        TMenuItem* c = item->Items(i);
        if (kind == fkCommand && c->Command() == value) return c;
        if (kind == fkShortCut && c->ShortCut() == value && value != 0) return c;
        if (TMenuItem* r = FindIn(c, value, kind)) return r;
    }
    return nullptr;
}

// The item and every item above it (the root excepted) are enabled and visible.
bool EnabledPath(TMenuItem* i)
{
    for (; i && i->Parent(); i = i->Parent())
        if (!i->Enabled() || !i->Visible()) return false;
    return true;
}
}  // namespace

TMenuItem* TMenu::FindItem(UINT Value, TFindItemKind Kind) const { return FindIn(FItems, Value, Kind); }

bool TMenu::DispatchCommand(UINT ACommand)
{
    TMenuItem* i = FindItem(ACommand, fkCommand);
    if (!i) return false;
    i->Click();
    return true;
}

bool TMenu::IsShortCut(TMessage& KeyMsg)
{
    WORD key = static_cast<WORD>(KeyMsg.WParam);
    TShortCut sc = ShortCut(key, KeyDataToShiftState(KeyMsg.LParam));
    if (sc == 0) return false;
    TMenuItem* i = FindItem(sc, fkShortCut);
    if (!i || !EnabledPath(i)) return false;
    i->Click();
    return true;
}

// ---- TPopupMenu ----

void TPopupMenu::DoPopup(TObject* Sender)
{
    if (OnPopup) OnPopup(Sender);
}

void TPopupMenu::Popup(int X, int Y)
{
    DoPopup(this);
    if (TMenuItem* chosen = TrackPlainPopup(Items(), X, Y)) chosen->Click();
}
