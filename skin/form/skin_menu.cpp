#include "skin/form/skin_menu.h"

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/util_window.h"
#include "platform/win/win_api.h"
#include "skin/core/os_layers.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_menu_item.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/form/skin_popup_window.h"

namespace {

// Posted to the engine's message window: free the levels closed since.
constexpr UINT kFreeBuried = WM_USER + 1;

}  // namespace

bool IsMenuClosingMessage(UINT Msg)
{
    switch (Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY: return true;
    default: return false;
    }
}

TbsSkinForm* FindSkinForm(TComponent* AComponent)
{
    if (!AComponent) return nullptr;
    for (int i = 0; i < AComponent->ComponentCount(); ++i)
        if (auto* f = dynamic_cast<TbsSkinForm*>(AComponent->Components(i))) return f;
    return nullptr;
}

void SendMenuMessage(TControl* Ctrl, UINT Msg)
{
    if (!Ctrl) return;
    if (auto* w = dynamic_cast<TWinControl*>(Ctrl); w && w->HandleAllocated())
        SendMessageW(w->Handle(), Msg, 0, 0);
    else
        Ctrl->Perform(Msg, 0, 0);
}

void InstallSkinMenus()
{
    TbsFormMenuFactory& f = FormMenuFactory();
    if (f.MakeEngine) return;
    f.MakeEngine = [](TbsSkinForm* Owner, TCustomForm* Form) -> TbsFormMenuEngine* {
        return new TbsSkinMenu(Owner, Form);
    };
    f.MakeTrayMenu = [](TbsSkinForm* Owner, TCustomForm*) -> TPopupMenu* {
        auto* m = new TbsSkinPopupMenu(Owner);
        m->SetSkinComponent(Owner);
        return m;
    };
    f.SetMenuSkinData = [](TPopupMenu* Menu, TbsSkinData* SD) {
        if (auto* m = dynamic_cast<TbsSkinPopupMenu*>(Menu)) m->SetSkinData(SD);
    };
}

// ---- TbsSkinMenu -----------------------------------------------------------------------------

TbsSkinMenu::TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm)
    : TComponent(AOwner), FDefaultMenuItemFont(new TFont), FForm(AForm)
{
    FDefaultMenuItemFont->SetName(L"Tahoma");
    FDefaultMenuItemFont->SetHeight(13);
    FDefaultMenuItemFont->SetStyle({});
    WaitTimer = new TTimer(this);
    WaitTimer->SetEnabled(false);
    WaitTimer->SetInterval(500);
    WaitTimer->OnTimer = [this](TObject* S) { WaitTimerProc(S); };
    FUtilWnd = AllocateHWnd([this](TMessage& M) { UtilWndProc(M); });
    TakeFormSettings();
}

TbsSkinMenu::~TbsSkinMenu()
{
    // Closing here sends no message to an opener or a form that may be half gone.
    for (auto i = FPopupList.rbegin(); i != FPopupList.rend(); ++i) delete *i;
    FPopupList.clear();
    FVisible = false;
    FreeBuried(true);
    delete WaitTimer;
    WaitTimer = nullptr;
    delete FDefaultMenuItemFont;
    if (FUtilWnd) DeallocateHWnd(FUtilWnd);
}

void TbsSkinMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == PopupCtrl) PopupCtrl = nullptr;
    if (AComponent == DCtrl) DCtrl = nullptr;
    if (AComponent == SkinData) SkinData = nullptr;
}

void TbsSkinMenu::TakeFormSettings()
{
    auto* f = dynamic_cast<TbsSkinForm*>(Owner());
    if (!f) return;
    FUseSkinFont = f->UseSkinFontInMenu();
    FUseSkinSize = f->UseSkinSizeInMenu();
    FDefaultMenuItemHeight = f->DefMenuItemHeight();
    if (f->DefMenuItemFont()) FDefaultMenuItemFont->Assign(f->DefMenuItemFont());
    MaxMenuItemsInWindow = f->MaxMenuItemsInWindow();
    AlphaBlend = f->MenusAlphaBlend();
    AlphaBlendValue = f->MenusAlphaBlendValue();
    AlphaBlendAnimation = f->MenusAlphaBlendAnimation();
}

void TbsSkinMenu::SetAlphaBlend(bool On, int Value, bool Animation)
{
    AlphaBlend = On;
    AlphaBlendValue = static_cast<uint8_t>(Value);
    AlphaBlendAnimation = Animation;
}

void TbsSkinMenu::Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R, TMenuItem* AItem,
                        bool PopupUp)
{
    Popup2(APopupCtrl, ASkinData, StartIndex, R, AItem, nullptr, PopupUp);
}

void TbsSkinMenu::Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R, TMenuItem* AItem,
                         TMenuItem* AItem2, bool PopupUp)
{
    TakeFormSettings();
    FFirst = !FVisible;
    // The open menu closes first, so its opener hears it; the new opener is stored after.
    if (!FPopupList.empty() || FVisible) CloseLevels(0);
    auto setCtrl = [this](TControl*& Field, TControl* Value) {
        if (Field && Field != DCtrl && Field != PopupCtrl) Field->RemoveFreeNotification(this);
        Field = Value;
        if (Value) Value->FreeNotification(this);
    };
    setCtrl(PopupCtrl, APopupCtrl);
    if (FForm && FForm->HandleAllocated())
        GetWindowMonitorRect(FForm->Handle(), true, WorkArea);
    else
        GetScreenRect(true, WorkArea);
    SkinData = ASkinData;
    if (SkinData) SkinData->FreeNotification(this);
    const int count = (AItem ? AItem->Count() : 0) + (AItem2 ? AItem2->Count() : 0);
    if (AItem && AItem->Count() > 0 && StartIndex < count) {
        FVisible = true;
        AddPopupWindow(R, AItem, AItem2, StartIndex, false, PopupUp);
        FFirst = false;
    } else {
        FFirst = false;
    }
}

void TbsSkinMenu::AddPopupWindow(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem,
                                 bool PopupUp)
{
    TbsDataSkinPopupWindow* data = SkinData && !SkinData->Empty ? SkinData->PopupWindow : nullptr;
    auto* w = new TbsSkinPopupWindow(this, this, data);
    FPopupList.push_back(w);
    if (AItem2)
        w->Show2(R, AItem, AItem2, StartIndex, PopupByItem, PopupUp);
    else
        w->Show(R, AItem, StartIndex, PopupByItem, PopupUp);
}

int TbsSkinMenu::LevelOf(const TbsSkinPopupWindow* Window) const
{
    for (size_t i = 0; i < FPopupList.size(); ++i)
        if (FPopupList[i] == Window) return static_cast<int>(i);
    return static_cast<int>(FPopupList.size());
}

void TbsSkinMenu::Bury(TbsSkinPopupWindow* W)
{
    W->Hide();
    W->Buried = true;
    FBuried.push_back(W);
    FreeBuriedLater();
}

void TbsSkinMenu::FreeBuriedLater()
{
    if (FUtilWnd) PostMessageW(FUtilWnd, kFreeBuried, 0, 0);
}

void TbsSkinMenu::FreeBuried(bool AAll)
{
    std::vector<TbsSkinPopupWindow*> dead;
    dead.swap(FBuried);
    for (TbsSkinPopupWindow* w : dead)
        if (AAll || !w->Dispatching())
            delete w;
        else
            FBuried.push_back(w);  // asks again when its message has been handled
}

void TbsSkinMenu::UtilWndProc(TMessage& M)
{
    if (M.Msg == kFreeBuried) {
        FreeBuried();
        return;
    }
    M.Result = DefWindowProcW(FUtilWnd, M.Msg, M.WParam, M.LParam);
}

void TbsSkinMenu::CloseLevels(int Level)
{
    if (Level < 0) Level = 0;
    for (int i = static_cast<int>(FPopupList.size()) - 1; i >= Level; --i) {
        TbsSkinPopupWindow* w = FPopupList[static_cast<size_t>(i)];
        FPopupList.erase(FPopupList.begin() + i);
        if (WItem && WItem->Parent == w) {
            WaitTimer->SetEnabled(false);
            WItem = nullptr;
        }
        Bury(w);
    }
    if (Level != 0) return;
    FVisible = false;
    WaitTimer->SetEnabled(false);
    DCtrl = PopupCtrl;
    if (PopupCtrl) {
        TControl* c = PopupCtrl;
        PopupCtrl = nullptr;
        SendMenuMessage(c, WM_SKINMENU_CLOSED);
    }
    TNotifyEvent close = OnMenuClose;
    OnMenuClose = nullptr;
    if (close) close(this);
}

void TbsSkinMenu::Hide()
{
    CloseLevels(0);
    WaitTimer->SetEnabled(false);
    WItem = nullptr;
    if (FForm && FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_SKINMENU_CLOSED, 0, 0);
}

void TbsSkinMenu::ActivateItem(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool Click, bool Kb)
{
    TMenuItem* mi = Item->MenuItem;
    const bool leaf = mi->Count() == 0;
    auto closeBelow = [this, Window] {
        const int l = LevelOf(Window) + 1;
        if (l < static_cast<int>(FPopupList.size())) CloseLevels(l);
    };
    if (leaf && !Click) {
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
        closeBelow();
    } else if (leaf) {
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
        TMenu* menu = mi->GetParentMenu();
        const UINT cmd = mi->Command();
        Hide();
        // The command runs once every level is closed; its menu may free the item.
        if (menu)
            menu->DispatchCommand(cmd);
        else
            mi->Click();
        if (DCtrl) {
            TControl* c = DCtrl;
            DCtrl = nullptr;
            SendMenuMessage(c, WM_SKINMENU_COMMAND);
        }
    } else if (!Click && !Kb) {
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
        closeBelow();
        WItem = Item;
        WaitTimer->SetEnabled(true);
    } else if (!Click) {
        // A keyboard highlight opens nothing.
    } else {
        if (TMenu* menu = mi->GetParentMenu())
            menu->DispatchCommand(mi->Command());
        else
            mi->Click();
        WaitTimer->SetEnabled(false);
        WItem = nullptr;
        if (LevelOf(Window) >= static_cast<int>(FPopupList.size())) return;  // the handler closed the menu
        Item->Down = true;
        TRect r = Item->ObjectRect;
        TPoint p = Window->ClientToScreen(Point(0, 0));
        r = Rect(r.Left + p.X, r.Top + p.Y, r.Right + p.X, r.Bottom + p.Y);
        AddPopupWindow(r, mi, nullptr, 0, true, false);
    }
}

void TbsSkinMenu::WaitTimerProc(TObject*)
{
    WaitTimer->SetEnabled(false);
    if (!WItem) return;
    TbsSkinMenuItem* i = WItem;
    ActivateItem(i->Parent, i, true, false);
}

bool TbsSkinMenu::PopupKeyDown(WPARAM Key)
{
    if (FPopupList.empty()) return false;
    FPopupList.back()->PopupKeyDown(static_cast<int>(Key));
    return true;
}

bool TbsSkinMenu::LastSelectedHasSubItems() const
{
    if (FPopupList.empty()) return false;
    TbsSkinPopupWindow* w = FPopupList.back();
    if (w->ActiveItem < 0 || w->ActiveItem >= w->ItemCount()) return false;
    return w->Item(w->ActiveItem)->MenuItem->Count() > 0;
}
