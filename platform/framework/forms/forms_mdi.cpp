// The MDI side of TCustomForm: the client window of an fsMDIForm, the windows of its fsMDIChild
// forms inside it, their order and activation. No system MDI messages are involved: the children
// are ordinary child windows of the client, and a skinned form draws their frames itself.
#include <algorithm>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/screen.h"

namespace {
constexpr wchar_t kMDIClientClass[] = L"MDIClient";

void RegisterMDIClientClass()
{
    WNDCLASSW existing;
    if (GetClassInfoW(nullptr, kMDIClientClass, &existing)) return;
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    wc.lpszClassName = kMDIClientClass;
    if (!RegisterClassW(&wc)) throw EOSError(L"Cannot register window class MDIClient");
}

TCustomForm* FormOfWindow(HWND h) { return h ? dynamic_cast<TCustomForm*>(FindControl(h)) : nullptr; }
}  // namespace

void TCustomForm::CreateMDIClient()
{
    if (!FHandle) return;
    if (FMDIParking) {
        // Back from a recreation: the same client window, its children as they were.
        HWND client = FClientHandle;
        HWND parking = FMDIParking;
        FMDIParking = nullptr;
        if (client && IsWindow(client)) {
            ::SetParent(client, FHandle);
            DestroyWindow(parking);
            Realign();
            return;
        }
        DestroyWindow(parking);
        FClientHandle = nullptr;
    }
    if (FClientHandle) return;
    RegisterMDIClientClass();
    TRect r = TWinControl::GetClientRect();
    FClientHandle = CreateWindowExW(WS_EX_CLIENTEDGE, kMDIClientClass, L"",
                                    WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, r.Left, r.Top, r.Width(),
                                    r.Height(), FHandle, nullptr, nullptr, nullptr);
    if (!FClientHandle) throw EOSError(L"Error creating the MDI client window");
    Realign();
}

void TCustomForm::ParkMDIClient()
{
    if (FMDIParking || !FClientHandle || !IsWindow(FClientHandle)) return;
    FMDIParking =
        CreateWindowExW(0, kMDIClientClass, L"", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (FMDIParking) ::SetParent(FClientHandle, FMDIParking);
}

void TCustomForm::DropParkedMDIClient()
{
    if (!FMDIParking) return;
    HWND parking = FMDIParking;
    FMDIParking = nullptr;
    FClientHandle = nullptr;
    DestroyWindow(parking);  // the children's windows go with it, as with the form's own window
}

void TCustomForm::AlignControls(TControl* AControl, TRect& Rect)
{
    TWinControl::AlignControls(AControl, Rect);
    // The client window takes what the aligned controls leave.
    if (FClientHandle && IsWindow(FClientHandle))
        SetWindowPos(FClientHandle, HWND_BOTTOM, Rect.Left, Rect.Top, std::max(0, Rect.Width()),
                     std::max(0, Rect.Height()), SWP_NOACTIVATE);
}

TCustomForm* TCustomForm::MDIHostForm() const
{
    // The owner form when it is an MDI form, else the main form, else the first MDI form on screen.
    auto usable = [this](TCustomForm* f) { return f && f != this && f->FFormStyle == fsMDIForm; };
    TCustomForm* host = dynamic_cast<TCustomForm*>(Owner());
    if (!usable(host) && Application) host = Application->MainForm();
    if (!usable(host) && Screen) {
        host = nullptr;
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (usable(Screen->Forms(i))) {
                host = Screen->Forms(i);
                break;
            }
    }
    return usable(host) ? host : nullptr;
}

TCustomForm* TCustomForm::MDIParent() const
{
    if (FFormStyle != fsMDIChild || !FHandle) return nullptr;
    HWND client = GetParent(FHandle);
    TCustomForm* f = client ? FormOfWindow(GetParent(client)) : nullptr;
    return f && f->FClientHandle == client ? f : nullptr;
}

int TCustomForm::MDIChildCount() const
{
    int n = 0;
    while (MDIChildren(n)) ++n;
    return n;
}

TCustomForm* TCustomForm::MDIChildren(int I) const
{
    if (!FClientHandle || I < 0) return nullptr;
    for (HWND h = GetWindow(FClientHandle, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        TCustomForm* f = FormOfWindow(h);
        if (!f || f->FFormStyle != fsMDIChild) continue;
        if (I-- == 0) return f;
    }
    return nullptr;
}

TCustomForm* TCustomForm::ActiveMDIChild() const
{
    TCustomForm* f = FActiveMDIChild;
    if (f && f->FVisible && f->FHandle && GetParent(f->FHandle) == FClientHandle) return f;
    return nullptr;
}

void TCustomForm::ActivateAsMDIChild(bool Focus)
{
    TCustomForm* host = MDIParent();
    if (!host) return;
    SetWindowPos(FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    TCustomForm* old = host->ActiveMDIChild();
    if (old != this || !FActive) {
        if (host->FActiveMDIChild) host->FActiveMDIChild->RemoveFreeNotification(host);
        host->FActiveMDIChild = this;
        FreeNotification(host);
        if (old && old != this) {
            old->FActive = false;
            old->Deactivate();
        }
        FActive = true;
        Activate();
        host->UpdateWindowMenu();
        // The frames follow the switch: the one losing activation draws inactive, this one active.
        if (old && old != this && old->FHandle) SendMessageW(old->FHandle, WM_NCACTIVATE, FALSE, 0);
        SendMessageW(FHandle, WM_NCACTIVATE, host->FActive ? TRUE : FALSE, 0);
    }
    if (Focus && host->FActive) SetWindowFocus();
}

void TCustomForm::MDIChildHidden(TCustomForm* Child)
{
    if (FActiveMDIChild && FActiveMDIChild != Child) {
        UpdateWindowMenu(Child);
        return;
    }
    if (FActiveMDIChild) {
        FActiveMDIChild->RemoveFreeNotification(this);
        FActiveMDIChild = nullptr;
    }
    if (Child->FActive) {
        Child->FActive = false;
        Child->Deactivate();
    }
    // The next visible child in order takes over.
    for (int i = 0; TCustomForm* f = MDIChildren(i); ++i)
        if (f != Child && f->FVisible) {
            f->ActivateAsMDIChild(true);
            UpdateWindowMenu(Child);
            return;
        }
    UpdateWindowMenu(Child);
}

void TCustomForm::Next()
{
    TCustomForm* active = ActiveMDIChild();
    if (!active) {
        if (TCustomForm* f = MDIChildren(0)) f->ActivateAsMDIChild(true);
        return;
    }
    TCustomForm* next = nullptr;
    for (int i = 0; TCustomForm* f = MDIChildren(i); ++i)
        if (f != active && f->FVisible) {
            next = f;
            break;
        }
    if (!next) return;
    SetWindowPos(active->FHandle, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    next->ActivateAsMDIChild(true);
}

void TCustomForm::WndProc(TMessage& m)
{
    // A press anywhere in an MDI child (its frame, its client, or a window inside it) activates it.
    if (FFormStyle == fsMDIChild && FHandle) {
        switch (m.Msg) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN: ActivateAsMDIChild(true); break;
        case WM_PARENTNOTIFY:
            if (LOWORD(m.WParam) == WM_LBUTTONDOWN || LOWORD(m.WParam) == WM_RBUTTONDOWN ||
                LOWORD(m.WParam) == WM_MBUTTONDOWN)
                ActivateAsMDIChild(false);
            break;
        default: break;
        }
    }
    TWinControl::WndProc(m);
    // The active child's frame follows the MDI form's activation.
    if (FFormStyle == fsMDIForm && m.Msg == WM_NCACTIVATE)
        if (TCustomForm* child = ActiveMDIChild(); child && child->FHandle)
            SendMessageW(child->FHandle, WM_NCACTIVATE, m.WParam, 0);
}

// ---- the window menu ----

void TCustomForm::SetWindowMenu(TMenuItem* v)
{
    if (v == FWindowMenu) return;
    for (TMenuItem* i : FWindowItems) delete i;
    FWindowItems.clear();
    if (FWindowMenu) FWindowMenu->RemoveFreeNotification(this);
    FWindowMenu = v;
    if (v) v->FreeNotification(this);
    UpdateWindowMenu();
}

std::vector<TCustomForm*> TCustomForm::WindowMenuChildren(TCustomForm* Leaving) const
{
    std::vector<TCustomForm*> list;
    for (int i = 0; TCustomForm* f = MDIChildren(i); ++i)
        if (f != Leaving && f->FVisible && !(f->ComponentState() & csDestroying)) list.push_back(f);
    std::sort(list.begin(), list.end(), [](TCustomForm* a, TCustomForm* b) { return a->FMDISerial < b->FMDISerial; });
    return list;
}

void TCustomForm::SetListChildrenInWindowMenu(bool v)
{
    if (v == FListChildrenInWindowMenu) return;
    FListChildrenInWindowMenu = v;
    UpdateWindowMenu();
}

void TCustomForm::UpdateWindowMenu(TCustomForm* Leaving)
{
    if (!FWindowMenu || (ComponentState() & csDestroying)) return;
    std::vector<TCustomForm*> list =
        FListChildrenInWindowMenu ? WindowMenuChildren(Leaving) : std::vector<TCustomForm*>{};
    // A separator, then one item per child. Items are updated in place, so the item being
    // clicked is never deleted under its own click; only surplus ones go.
    size_t want = list.empty() ? 0 : list.size() + 1;
    while (FWindowItems.size() > want) {
        delete FWindowItems.back();
        FWindowItems.pop_back();
    }
    while (FWindowItems.size() < want) {
        auto* item = new TMenuItem(nullptr);
        size_t k = FWindowItems.size();
        if (k == 0) {
            item->SetCaption(L"-");
        } else {
            item->OnClick = [this, k](TObject*) {
                std::vector<TCustomForm*> now = WindowMenuChildren(nullptr);
                if (k - 1 < now.size()) now[k - 1]->Show();
            };
        }
        FWindowMenu->Add(item);
        FWindowItems.push_back(item);
    }
    TCustomForm* active = ActiveMDIChild();
    for (size_t k = 0; k < list.size(); ++k) {
        TMenuItem* item = FWindowItems[k + 1];
        item->SetCaption(L"&" + std::to_wstring(k + 1) + L" " + list[k]->Caption());
        item->SetChecked(list[k] == active);
    }
}
