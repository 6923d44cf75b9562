#include "skin/boxes/ribbon.h"

#include <algorithm>

#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/forms/forms.h"
#include "skin/boxes/app_menu.h"
#include "skin/core/marks.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"

namespace {

// The parent form of C, else its owner: the owner of new pages.
TComponent* PageOwner(TControl* C)
{
    if (TCustomForm* f = C->GetParentForm()) return f;
    return C->Owner();
}

// Format "Prefix%d" with the first n >= 1 that no component of Owner is named.
String FreePageName(TComponent* Owner, const String& Prefix)
{
    for (int n = 1;; ++n) {
        String name = Prefix + IntToStr(n);
        if (!Owner || !Owner->FindComponent(name)) return name;
    }
}

}  // namespace

// ---- tabs ----

TbsRibbonTab::TbsRibbonTab(TCollection* Collection) : TCollectionItem(Collection) {}

TbsRibbon* TbsRibbonTab::Ribbon() const
{
    auto* tabs = dynamic_cast<TbsRibbonTabs*>(Collection());
    return tabs ? tabs->Ribbon : nullptr;
}

void TbsRibbonTab::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsRibbonTab*>(Source)) {
        SetPage(src->FPage);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsRibbonTab::SetPage(TbsRibbonPage* Value)
{
    if (FPage == Value) return;
    FPage = Value;
    TbsRibbon* r = Ribbon();
    if (Value && r) Value->FreeNotification(r);
    if (Value && Value->Ribbon && r) r->SetTabIndex(Index());
}

void TbsRibbonTab::SetVisible(bool Value)
{
    if (FVisible == Value) return;
    FVisible = Value;
    TbsRibbon* r = Ribbon();
    if (!r) return;
    if (!Value) {
        if (FPage) FPage->SetVisible(false);
        if (r->FTabIndex == Index()) {
            int next = r->NextVisibleTab(Index());
            if (next == -1) next = r->PriorVisibleTab(Index());
            if (next != -1) {
                r->SetTabIndex(next);
                return;
            }
        }
    }
    r->Repaint();
}

TbsRibbonTabs::TbsRibbonTabs(TbsRibbon* ARibbon)
    : TCollection([](TCollection*) { return new TbsRibbonTab(nullptr); }, ARibbon), Ribbon(ARibbon)
{}

TbsRibbonTab* TbsRibbonTabs::Add()
{
    auto* tab = static_cast<TbsRibbonTab*>(TCollection::Add());
    if (Ribbon && !(Ribbon->ComponentState() & (csLoading | csDesigning))) Ribbon->AttachNewPage(tab);
    return tab;
}

TbsRibbonTab* TbsRibbonTabs::Insert(int Index)
{
    auto* tab = static_cast<TbsRibbonTab*>(TCollection::Add());
    tab->SetIndex(Index);
    if (Ribbon && !(Ribbon->ComponentState() & (csLoading | csDesigning))) Ribbon->AttachNewPage(tab);
    return tab;
}

void TbsRibbonTabs::Delete(int Index)
{
    TbsRibbonTab* tab = GetItem(Index);
    if (Ribbon && !(Ribbon->ComponentState() & (csLoading | csDesigning)) && tab->FPage) {
        TbsRibbonPage* page = tab->FPage;
        tab->FPage = nullptr;
        delete page;
    }
    TCollection::Delete(Index);
    if (!Ribbon) return;
    // The selection stays on a tab that exists.
    const int old = Ribbon->FTabIndex;
    if (old >= Count()) {
        Ribbon->FTabIndex = -1;
        Ribbon->SetTabIndex(Count() - 1);
    } else if (old == Index) {
        Ribbon->FTabIndex = -1;
        Ribbon->SetTabIndex(old);
    }
    Ribbon->Repaint();
}

void TbsRibbonTabs::Clear()
{
    while (Count() > 0) Delete(Count() - 1);
}

// ---- buttons ----

TbsRibbonButtonItem::TbsRibbonButtonItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TbsRibbonButtonItem::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsRibbonButtonItem*>(Source)) {
        FImageIndex = src->FImageIndex;
        FHint = src->FHint;
        FEnabled = src->FEnabled;
        FVisible = src->FVisible;
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsRibbonButtonItem::SetImageIndex(int Value)
{
    FImageIndex = Value;
    Changed(false);
}

void TbsRibbonButtonItem::SetEnabled(bool Value)
{
    FEnabled = Value;
    Changed(false);
}

void TbsRibbonButtonItem::SetVisible(bool Value)
{
    FVisible = Value;
    Changed(false);
}

TbsRibbonButtonItems::TbsRibbonButtonItems(TbsRibbon* ARibbon)
    : TCollection([](TCollection*) { return new TbsRibbonButtonItem(nullptr); }, ARibbon), Ribbon(ARibbon)
{}

void TbsRibbonButtonItems::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (Ribbon && !(Ribbon->ComponentState() & csLoading)) Ribbon->Repaint();
}

// ---- the application button ----

TbsAppButton::TbsAppButton(TComponent* AOwner) : TbsSkinMenuButton(AOwner) {}

bool TbsAppButton::CanMenuTrack(int X, int Y)
{
    if (Ribbon && Ribbon->AppMenu()) return true;
    return TbsSkinMenuButton::CanMenuTrack(X, Y);
}

void TbsAppButton::TrackMenu()
{
    if (Ribbon && Ribbon->AppMenu()) {
        if (!Down()) SetDown(true);
        Ribbon->ShowAppMenu();
        // The menu took the focus, which raises a button: it stays down while the menu is open.
        if (Ribbon->AppMenuVisible() && !Down()) SetDown(true);
        return;
    }
    TbsSkinMenuButton::TrackMenu();
}

void TbsAppButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    if (Button == mbLeft && Ribbon && Ribbon->AppMenuVisible()) {
        Ribbon->HideAppMenu(nullptr);
        return;
    }
    TbsSkinMenuButton::MouseDown(Button, Shift, X, Y);
}

void TbsAppButton::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinMenuButton::KeyDown(Key, Shift);
    if (Key == VK_DOWN || Key == VK_SPACE)
        DropDown();
    else if ((Key == VK_LEFT || Key == VK_RIGHT || Key == VK_UP) && Ribbon && Ribbon->CanFocus())
        Ribbon->SetFocus();
}

void TbsAppButton::Dispatch(TMessage& m)
{
    if (m.Msg == WM_GETDLGCODE) {
        m.Result = DLGC_WANTARROWS;
        return;
    }
    TbsSkinMenuButton::Dispatch(m);
    if (m.Msg == WM_KEYUP && m.WParam == VK_RETURN) DropDown();
}

// ---- the bar ----

TbsRibbon::TbsRibbon(TComponent* AOwner) : TbsSkinControl(AOwner)
{
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls);
    SetControlStyle(style);
    FTabs = new TbsRibbonTabs(this);
    FButtons = new TbsRibbonButtonItems(this);
    FMDIButtons = new TbsRibbonButtonItems(this);
    FSkinDataName = L"officetab";
    SetBounds(Left(), Top(), 300, 115);
    SetAlign(alTop);
    CreateAppButton();
}

TbsRibbon::~TbsRibbon()
{
    RemoveAppHook();
    // Pages are the form's, but they are children of the bar: they go with it.
    for (int i = 0; i < FTabs->Count(); ++i) FTabs->GetItem(i)->FPage = nullptr;
    FTabs->Ribbon = nullptr;
    FButtons->Ribbon = nullptr;
    FMDIButtons->Ribbon = nullptr;
    delete FTabs;
    delete FButtons;
    delete FMDIButtons;
    FTabs = nullptr;
    FButtons = FMDIButtons = nullptr;
}

void TbsRibbon::CreateAppButton()
{
    delete FAppButton;
    FAppButton = new TbsAppButton(this);
    FAppButton->SetCanFocused(true);
    FAppButton->SetTabStop(false);
    FAppButton->Ribbon = this;
    FAppButton->SetBounds(0, 1, FAppButtonWidth, 24);
    FAppButton->SetParent(this);
    FAppButton->SetSkinDataName(L"officemenubutton");
    FAppButton->OnHideTrackMenu = [this](TObject*) {
        if (OnMenuClose) OnMenuClose(this);
    };
    FLeftOffset = FAppButtonWidth + 3;
}

void TbsRibbon::CreateParams(TCreateParams& Params)
{
    TbsSkinControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsRibbon::Loaded()
{
    TbsSkinControl::Loaded();
    for (int i = 0; i < FTabs->Count(); ++i)
        if (TbsRibbonPage* p = FTabs->GetItem(i)->FPage) {
            p->Ribbon = this;
            if (i != FTabIndex) p->SetVisible(false);
        }
    if (FAppMenu) FAppMenu->Ribbon = this;
}

void TbsRibbon::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FAppButtonPopupMenu) {
        FAppButtonPopupMenu = nullptr;
        if (FAppButton) FAppButton->SetSkinPopupMenu(nullptr);
    }
    if (AComponent == FAppButtonImageList) {
        FAppButtonImageList = nullptr;
        if (FAppButton) FAppButton->SetImageList(nullptr);
    }
    if (AComponent == FButtonsImageList) FButtonsImageList = nullptr;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FAppMenu) {
        RemoveAppHook();
        FAppMenu = nullptr;
    }
    if (AComponent == FAppButton) FAppButton = nullptr;
    if (FTabs)
        for (int i = 0; i < FTabs->Count(); ++i)
            if (FTabs->GetItem(i)->FPage == AComponent) FTabs->GetItem(i)->FPage = nullptr;
}

// ---- properties ----

void TbsRibbon::SetTabs(TbsRibbonTabs* Value)
{
    FTabs->TCollection::Assign(Value);
    Repaint();
}

void TbsRibbon::SetButtons(TbsRibbonButtonItems* Value)
{
    FButtons->Assign(Value);
    Repaint();
}

void TbsRibbon::SetAppMenu(TbsAppMenu* Value)
{
    if (FAppMenu == Value) return;
    if (FAppMenu) FAppMenu->RemoveFreeNotification(this);
    FAppMenu = Value;
    if (!Value) return;
    Value->FreeNotification(this);
    Value->Ribbon = this;
    Value->SetVisible(false);
}

void TbsRibbon::SetAppButtonWidth(int Value)
{
    if (Value == FAppButtonWidth || Value < 35) return;
    FAppButtonWidth = Value;
    if (FAppButton) FAppButton->SetWidth(Value);
    FLeftOffset = Value + 3;
    Repaint();
}

void TbsRibbon::SetAppButtonImageList(TCustomImageList* Value)
{
    if (FAppButtonImageList) FAppButtonImageList->RemoveFreeNotification(this);
    FAppButtonImageList = Value;
    if (Value) Value->FreeNotification(this);
    if (FAppButton) {
        FAppButton->SetImageList(Value);
        Repaint();
    }
}

void TbsRibbon::SetAppButtonImageIndex(int Value)
{
    FAppButtonImageIndex = std::max(0, Value);
    if (FAppButton) FAppButton->SetImageIndex(FAppButtonImageIndex);
}

void TbsRibbon::SetAppButtonPopupMenu(TbsSkinPopupMenuBase* Value)
{
    if (FAppButtonPopupMenu) FAppButtonPopupMenu->RemoveFreeNotification(this);
    FAppButtonPopupMenu = Value;
    if (Value) Value->FreeNotification(this);
    if (FAppButton) FAppButton->SetSkinPopupMenu(Value);
}

void TbsRibbon::SetAppButtonCaption(const String& Value)
{
    if (FAppButton) FAppButton->SetCaption(Value);
}

void TbsRibbon::SetAppButtonMargin(int Value)
{
    if (FAppButton) FAppButton->SetMargin(Value);
}

void TbsRibbon::SetAppButtonSpacing(int Value)
{
    if (FAppButton) FAppButton->SetSpacing(Value);
}

void TbsRibbon::SetButtonsImageList(TCustomImageList* Value)
{
    if (FButtonsImageList) FButtonsImageList->RemoveFreeNotification(this);
    FButtonsImageList = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsRibbon::SetSkinHint(TComponent* Value)
{
    if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

TbsFormHintLink* TbsRibbon::HintLink() const { return dynamic_cast<TbsFormHintLink*>(FSkinHint); }

void TbsRibbon::SetTabBoldStyle(bool Value)
{
    if (FTabBoldStyle == Value) return;
    FTabBoldStyle = Value;
    Repaint();
}

void TbsRibbon::SetSkinData(TbsSkinData* Value)
{
    TbsSkinControl::SetSkinData(Value);
    if (FAppButton) FAppButton->SetSkinData(Value);
}

// ---- skin ----

void TbsRibbon::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    // A record of another class under the name counts as none.
    FData = dynamic_cast<TbsDataSkinTabControl*>(Record());
    FDataPicture = nullptr;
    if (FData && FData->PictureIndex >= 0 && FData->PictureIndex < static_cast<int>(FSD->FActivePictures.size()))
        FDataPicture = FSD->FActivePictures[static_cast<size_t>(FData->PictureIndex)];
    if (!FData) FIndex = -1;
}

void TbsRibbon::ChangeSkinData()
{
    TbsSkinControl::ChangeSkinData();
    if (TbsRibbonPage* p = ActivePage()) {
        p->UpDateSize();
        if (FAppButton) FAppButton->SetBounds(0, 1, FAppButton->Width(), FAppButton->Height());
    }
    if (FAppMenu && FAppMenu->Visible() && Parent()) {
        TCustomForm* f = GetParentForm();
        const int ch = f ? f->ClientHeight() : Parent()->ClientHeight();
        const int cw = f ? f->ClientWidth() : Parent()->ClientWidth();
        int top = FAppButton->Top() + Top() + FAppButton->Height();
        int h = ch - Top() + FAppButton->Top() - FAppButton->Height();
        FAppMenu->GetSkinData();
        if (FData && FAppMenu->SkinRecord() && !IsNullRect(FAppMenu->SkinRecord()->BackButtonRect)) {
            top = 0;
            h = ch;
        }
        FAppMenu->SetBounds(0, top, cw, h);
    }
}

bool TbsRibbon::BackgroundTile(TBitmap& Tile)
{
    if (!FData) return false;
    if (FData->BGPictureIndex != -1) {
        if (FData->BGPictureIndex < 0 || FData->BGPictureIndex >= static_cast<int>(FSD->FActivePictures.size()))
            return false;
        Tile.Assign(FSD->FActivePictures[static_cast<size_t>(FData->BGPictureIndex)]);
        return true;
    }
    if (!FDataPicture) return false;
    const TRect src = Rect(FData->SkinRect.Left + FData->ClRect.Left, FData->SkinRect.Top + FData->ClRect.Top,
                           FData->SkinRect.Left + FData->ClRect.Right, FData->SkinRect.Top + FData->ClRect.Bottom);
    if (IsNullRect(src)) return false;
    Tile.SetSize(src.Width(), src.Height());
    Tile.Canvas()->CopyRect(Rect(0, 0, src.Width(), src.Height()), FDataPicture->Canvas(), src);
    return true;
}

// ---- geometry ----

int TbsRibbon::GetTabsHeight()
{
    GetSkinData();
    return FData ? RectHeight(FData->TabRect) + 1 : 24;
}

TRect TbsRibbon::GetPageBounds()
{
    const int h = GetTabsHeight();
    if (FData) {
        const TRect& s = FData->SkinRect;
        const TRect& c = FData->ClRect;
        return Bounds(c.Left, h + c.Top, Width() - (RectWidth(s) - RectWidth(c)),
                      Height() - (RectHeight(s) - RectHeight(c)) - h);
    }
    return Bounds(1, h + 2, Width() - 2, Height() - h - 5);
}

bool TbsRibbon::CaptionButtonsShown() const { return FButtons->Count() > 0 && FButtonsImageList; }

void TbsRibbon::CalcLayout(TCanvas* C)
{
    const int h = GetTabsHeight();
    const int w = Width();
    int x = w - 2;
    if (CaptionButtonsShown()) {
        const int bw = FButtonsImageList->Width() + 6;
        for (int i = FButtons->Count() - 1; i >= 0; --i) {
            TbsRibbonButtonItem* b = FButtons->Items(i);
            if (!b->Visible()) continue;
            b->ItemRect = Rect(x - bw, 1, x, h - 1);
            x -= bw;
        }
        FRightOffset = w - x + 2;
    } else {
        FRightOffset = 5;
    }
    if (FMDIButtons->Count() > 0) {
        int bw = 22, bh = 22;
        if (FData && !IsNullRect(FData->MDICloseRect)) {
            bw = RectWidth(FData->MDICloseRect);
            bh = RectHeight(FData->MDICloseRect);
        }
        x = w - FRightOffset;
        for (int i = 0; i < FMDIButtons->Count(); ++i) {
            FMDIButtons->Items(i)->ItemRect = Rect(x - bw, 1, x, bh + 1);
            x -= bw;
        }
        FRightOffset = w - x + 2;
    }
    const int room = w - FLeftOffset - FRightOffset;
    int sum = 0;
    for (int i = 0; i < FTabs->Count(); ++i) {
        TbsRibbonTab* t = FTabs->GetItem(i);
        if (!t->FVisible) continue;
        RECT m{0, 0, 0, 0};
        const String caption = t->FPage ? t->FPage->Caption() : String();
        DrawTextW(C->Handle(), caption.c_str(), static_cast<int>(caption.size()), &m, DT_CALCRECT | DT_SINGLELINE);
        t->Width = static_cast<int>(m.right - m.left) + 30;
        sum += t->Width;
    }
    FShowDivider = sum > room;
    int tx = FLeftOffset;
    for (int i = 0; i < FTabs->Count(); ++i) {
        TbsRibbonTab* t = FTabs->GetItem(i);
        if (!t->FVisible) continue;
        if (FShowDivider) t->Width = std::max(15, static_cast<int>(static_cast<double>(room) * t->Width / sum));
        t->ItemRect = Rect(tx, 1, tx + t->Width, FData ? 1 + RectHeight(FData->TabRect) : 24);
        tx += t->Width;
    }
}

// ---- tabs ----

bool TbsRibbon::AnyVisibleTab() const
{
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->GetItem(i)->FVisible) return true;
    return false;
}

int TbsRibbon::NextVisibleTab(int From) const
{
    for (int i = From + 1; i < FTabs->Count(); ++i)
        if (FTabs->GetItem(i)->FVisible) return i;
    return -1;
}

int TbsRibbon::PriorVisibleTab(int From) const
{
    for (int i = std::min(From, FTabs->Count()) - 1; i >= 0; --i)
        if (FTabs->GetItem(i)->FVisible) return i;
    return -1;
}

TbsRibbonPage* TbsRibbon::ActivePage() const
{
    if (FTabIndex < 0 || FTabIndex >= FTabs->Count()) return nullptr;
    return FTabs->GetItem(FTabIndex)->FPage;
}

void TbsRibbon::SetTabIndex(int Value)
{
    if ((FTabs->Count() == 0 || !AnyVisibleTab()) && !FStopCheckTabIndex) {
        FTabIndex = -1;
        Repaint();
        return;
    }
    if (Value < 0 || Value >= FTabs->Count()) return;
    TbsRibbonTab* tab = FTabs->GetItem(Value);
    if (!tab->FVisible) tab->FVisible = true;
    if (Value != FTabIndex) {
        if (OnChangingPage) OnChangingPage(this);
        const int old = FTabIndex;
        FTabIndex = Value;
        if (TbsRibbonPage* p = tab->FPage) {
            p->SetParent(this);
            p->SetVisible(true);
            p->BringToFront();
        }
        if (old >= 0 && old < FTabs->Count())
            if (TbsRibbonPage* p = FTabs->GetItem(old)->FPage) p->SetVisible(false);
        if (OnChangePage) OnChangePage(this);
    } else if (tab->FPage && !tab->FPage->Visible()) {
        tab->FPage->SetVisible(true);
    }
    Repaint();
}

void TbsRibbon::SetActivePage(TbsRibbonPage* Value)
{
    if (!Value || !AnyVisibleTab()) return;
    for (int i = 0; i < FTabs->Count(); ++i) {
        TbsRibbonTab* t = FTabs->GetItem(i);
        if (t->FPage != Value) continue;
        if (!t->FVisible) t->FVisible = true;
        SetTabIndex(i);
        return;
    }
}

void TbsRibbon::AttachNewPage(TbsRibbonTab* Tab)
{
    TComponent* owner = PageOwner(this);
    auto* page = new TbsRibbonPage(owner);
    page->Ribbon = this;
    page->SetParent(this);
    const TRect r = GetPageBounds();
    page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    const String name = FreePageName(owner, L"bsRibbonPage");
    page->SetName(name);
    page->FreeNotification(this);
    Tab->FPage = page;
    page->SetCaption(name);
    FStopCheckTabIndex = true;
    try {
        SetTabIndex(Tab->Index());
    } catch (...) {
        FStopCheckTabIndex = false;
        throw;
    }
    FStopCheckTabIndex = false;
    Repaint();
}

// ---- the application menu ----

bool TbsRibbon::AppMenuVisible() const { return FAppMenu && FAppMenu->Visible(); }

void TbsRibbon::FocusRibbon()
{
    if (CanFocus()) SetFocus();
}

bool TbsRibbon::CanDrawAppMenuCaption() const { return FAppMenu && FAppMenu->CanDrawAppMenuCaption(); }

void TbsRibbon::DrawAppMenuCaption(TCanvas* Canvas, const TRect& R)
{
    if (FAppMenu) FAppMenu->DrawAppMenuCaption(Canvas, R);
}

int TbsRibbon::AppMenuCaptionOffset() const { return FAppMenu ? FAppMenu->GetAppMenuCaptionOffset() : 0; }

int TbsRibbon::AppMenuItemWidth() const { return FAppMenu ? FAppMenu->ItemWidth() : 0; }

bool TbsRibbon::AppButtonShortCut(TMessage& Msg) { return FAppButtonPopupMenu && FAppButtonPopupMenu->IsShortCut(Msg); }

void TbsRibbon::TabAccel(WORD Key)
{
    if (GetKeyState(VK_MENU) >= 0) return;
    for (int i = 0; i < FTabs->Count(); ++i)
        if (TbsRibbonPage* page = FTabs->GetItem(i)->Page(); page && IsAccel(Key, page->Caption())) {
            SetActivePage(page);
            return;
        }
}

void TbsRibbon::InstallAppHook()
{
    if (FInAppHook) return;
    OldAppMessage = Application->OnMessage;
    Application->OnMessage = [this](MSG& Msg, bool& Handled) { AppMessage(Msg, Handled); };
    FInAppHook = true;
}

void TbsRibbon::RemoveAppHook()
{
    if (!FInAppHook) return;
    Application->OnMessage = OldAppMessage;
    OldAppMessage = nullptr;
    FInAppHook = false;
}

void TbsRibbon::AppMessage(MSG& Msg, bool& Handled)
{
    if (Msg.message == WM_KEYDOWN && Msg.wParam == VK_ESCAPE && AppMenuVisible() && BSF && BSF->GetFormActive()) {
        HideAppMenu(nullptr);
        Msg.message = 0;
        Handled = true;
    }
}

void TbsRibbon::ShowAppMenu()
{
    if (!FAppMenu) return;
    TbsAppMenu* menu = FAppMenu;
    if (menu->OnShowingMenu) menu->OnShowingMenu(this);
    InstallAppHook();
    TCustomForm* form = GetParentForm();
    if (form && menu->Parent() != form) menu->SetParent(form);
    TWinControl* host = form ? static_cast<TWinControl*>(form) : Parent();
    const int ch = host ? host->ClientHeight() : Height();
    const int cw = host ? host->ClientWidth() : Width();
    int top = FAppButton->Top() + Top() + FAppButton->Height();
    int h = ch - Top() + FAppButton->Top() - FAppButton->Height();
    GetSkinData();
    menu->GetSkinData();
    if (FData && menu->SkinRecord() && !IsNullRect(menu->SkinRecord()->BackButtonRect)) {
        top = 0;
        h = ch;
    }
    menu->SetBounds(0, top, cw, h);
    menu->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    int index = 0;
    if (menu->FActivePage)
        for (int i = 0; i < menu->FItems->Count(); ++i)
            if (menu->FItems->Items(i)->FPage == menu->FActivePage) index = i;
    menu->SetItemIndex(index);
    menu->SetVisible(true);
    menu->BringToFront();
    if (menu->CanFocus()) menu->SetFocus();
    // An opening without items, or on a page no item holds, selects nothing to test.
    if (TbsAppMenuItem* item = menu->SelectedItem(); item && (!item->Visible() || !item->Enabled()))
        menu->FindNextItem();
    if (TbsAppMenuPage* p = menu->FActivePage) {
        p->FStopScroll = false;
        p->UpDateSize();
        if (p->CanScroll()) p->GetScrollInfo();
    }
    Repaint();
    if (BSF) BSF->UpDateFormNC();
    if (menu->OnShowMenu) menu->OnShowMenu(this);
}

void TbsRibbon::HideAppMenu(TbsAppMenuItem* Item)
{
    if (!FAppMenu) return;
    TbsAppMenu* menu = FAppMenu;
    RemoveAppHook();
    if (menu->OnHidingMenu) menu->OnHidingMenu(this);
    menu->SetAnchors(TAnchors{});
    menu->SetVisible(false);
    if (menu->FActivePage) menu->FActivePage->FStopScroll = true;
    Repaint();
    if (FAppButton) {
        FAppButton->SetDown(false);
        FAppButton->Repaint();
    }
    Application->ProcessMessages();
    if (Item && Item->OnClick) Item->OnClick(this);
    if (OnMenuClose) OnMenuClose(this);
    if (BSF) BSF->UpDateFormNC();
    if (menu->OnHideMenu) menu->OnHideMenu(this);
}

// ---- MDI buttons ----

void TbsRibbon::MDIChildMaximize()
{
    if (FMDIButtons->Count() > 0) return;
    FMDIButtons->Clear();
    for (int code = 1; code <= 3; ++code) {
        TbsRibbonButtonItem* b = FMDIButtons->Add();
        b->Code = code;
        b->OnClick = [code](TObject*) {
            TbsSkinForm* child = MaximizedMDIChildSkinForm();
            if (!child) return;
            if (code == 1) {
                if (child->Form()) child->Form()->Close();
            } else {
                child->SetWindowState(code == 2 ? wsNormal : wsMinimized);
            }
        };
    }
    Repaint();
}

void TbsRibbon::MDIChildRestore()
{
    if (MaximizedMDIChildSkinForm() || FMDIButtons->Count() == 0) return;
    FMDIButtons->Clear();
    Repaint();
}

// ---- input ----

void TbsRibbon::TestActive(int X, int Y)
{
    if (FTabs->Count() == 0) return;
    const TPoint p = Point(X, Y);
    int hot = -1;
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->GetItem(i)->FVisible && PtInRect(FTabs->GetItem(i)->ItemRect, p)) {
            hot = i;
            break;
        }
    if (hot != FTabActive) {
        FOldTabActive = FTabActive;
        if (FOldTabActive >= 0 && FOldTabActive < FTabs->Count()) FTabs->GetItem(FOldTabActive)->Active = false;
        FTabActive = hot;
        if (hot != -1) FTabs->GetItem(hot)->Active = true;
        Repaint();
    }
    // Buttons: the first whose rectangle holds the point (caption buttons: enabled and visible).
    auto track = [&](TbsRibbonButtonItems* L, int& Cur, int& Old, bool Check) {
        int h = -1;
        for (int i = 0; i < L->Count(); ++i) {
            TbsRibbonButtonItem* b = L->Items(i);
            if (Check && (!b->Enabled() || !b->Visible())) continue;
            if (PtInRect(b->ItemRect, p)) {
                h = i;
                break;
            }
        }
        bool changed = false;
        for (int i = 0; i < L->Count(); ++i) {
            const bool a = i == h;
            if (L->Items(i)->Active != a) changed = true;
            L->Items(i)->Active = a;
        }
        const bool hotChanged = h != Cur;
        Old = Cur;
        Cur = h;
        if (hotChanged || changed) Repaint();
        return changed;
    };
    if (FMDIButtons->Count() > 0) track(FMDIButtons, FMDIActiveButton, FMDIOldActiveButton, false);
    if (CaptionButtonsShown()) {
        const int before = FActiveButton;
        const bool changed = track(FButtons, FActiveButton, FOldActiveButton, true);
        TbsFormHintLink* hint = HintLink();
        if (FActiveButton != before && FActiveButton != -1 && hint && FButtonsShowHint &&
            !FButtons->Items(FActiveButton)->Hint().empty())
            hint->ActivateHint2(FButtons->Items(FActiveButton)->Hint());
        if (changed && FButtonsShowHint && FActiveButton == -1 && hint) hint->HideHint();
    }
}

void TbsRibbon::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinControl::KeyDown(Key, Shift);
    int last = -1, first = -1;
    for (int i = 0; i < FTabs->Count(); ++i)
        if (FTabs->GetItem(i)->FVisible) {
            if (first == -1) first = i;
            last = i;
        }
    switch (Key) {
    case VK_NEXT:
        if (last != -1) SetTabIndex(last);
        break;
    case VK_PRIOR:
        if (first != -1) SetTabIndex(first);
        break;
    case VK_LEFT:
    case VK_UP:
        if (FTabIndex == 0) {
            if (FAppButton && FAppButton->CanFocus()) FAppButton->SetFocus();
        } else if (FTabIndex != -1) {
            if (int i = PriorVisibleTab(FTabIndex); i != -1) SetTabIndex(i);
        }
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (FTabIndex != -1)
            if (int i = NextVisibleTab(FTabIndex); i != -1) SetTabIndex(i);
        break;
    default: break;
    }
}

void TbsRibbon::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    FMouseCaptureButton = FMouseCaptureMDIButton = -1;
    if (Button != mbLeft) return;
    TestActive(X, Y);
    if (FTabActive != -1) {
        if (AppMenuVisible()) HideAppMenu(nullptr);
        if (FTabActive != FTabIndex) SetTabIndex(FTabActive);
        if (!Focused() && CanFocus()) SetFocus();
    }
    if (FMDIActiveButton != -1) {
        for (int i = 0; i < FMDIButtons->Count(); ++i) {
            TbsRibbonButtonItem* b = FMDIButtons->Items(i);
            b->Down = i == FMDIActiveButton;
            if (!b->Down) b->Active = false;
        }
        FMouseCaptureMDIButton = FMDIActiveButton;
        Repaint();
    }
    if (FActiveButton != -1 && CaptionButtonsShown()) {
        for (int i = 0; i < FButtons->Count(); ++i) {
            TbsRibbonButtonItem* b = FButtons->Items(i);
            b->Down = i == FActiveButton;
            if (!b->Down) b->Active = false;
        }
        FMouseCaptureButton = FActiveButton;
        Repaint();
        if (FButtons->Items(FActiveButton)->PopupMenu) {
            FPopupButton = FActiveButton;
            ShowButtonMenu(FActiveButton);
        }
    }
    if (FButtonsShowHint)
        if (TbsFormHintLink* hint = HintLink()) hint->HideHint();
}

void TbsRibbon::ShowButtonMenu(int Index)
{
    TbsRibbonButtonItem* b = FButtons->Items(Index);
    TRect r = b->ItemRect;
    const TPoint tl = ClientToScreen(Point(r.Left, r.Top));
    r = Rect(tl.X, tl.Y, tl.X + r.Width(), tl.Y + r.Height() + 1);
    b->PopupMenu->PopupFromRect2(this, r, false);
}

void TbsRibbon::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsRibbon::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    TestActive(X, Y);
    if (FMDIActiveButton != -1) {
        TbsRibbonButtonItem* b = FMDIButtons->Items(FMDIActiveButton);
        const bool wasDown = b->Down;
        for (int i = 0; i < FMDIButtons->Count(); ++i) FMDIButtons->Items(i)->Down = false;
        Repaint();
        if (wasDown && b->OnClick) b->OnClick(this);
    } else if (FMouseCaptureMDIButton != -1 && FMouseCaptureMDIButton < FMDIButtons->Count()) {
        FMDIButtons->Items(FMouseCaptureMDIButton)->Down = false;
        FMDIButtons->Items(FMouseCaptureMDIButton)->Active = false;
        Repaint();
    }
    if (FActiveButton != -1 && CaptionButtonsShown()) {
        TbsRibbonButtonItem* b = FButtons->Items(FActiveButton);
        const bool wasDown = b->Down;
        for (int i = 0; i < FButtons->Count(); ++i)
            if (i != FPopupButton) FButtons->Items(i)->Down = false;
        Repaint();
        if (wasDown && b->OnClick) b->OnClick(this);
    } else if (FMouseCaptureButton != -1 && FMouseCaptureButton < FButtons->Count()) {
        FButtons->Items(FMouseCaptureButton)->Down = false;
        FButtons->Items(FMouseCaptureButton)->Active = false;
        Repaint();
    }
    FMouseCaptureButton = FMouseCaptureMDIButton = -1;
}

void TbsRibbon::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_SIZE:
        TbsSkinControl::Dispatch(m);
        Repaint();
        return;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS; return;
    case WM_MOUSEWHEEL: {
        TbsSkinControl::Dispatch(m);
        if (!Focused() || FTabIndex == -1) return;
        const int i = GET_WHEEL_DELTA_WPARAM(m.WParam) < 0 ? NextVisibleTab(FTabIndex) : PriorVisibleTab(FTabIndex);
        if (i != -1) SetTabIndex(i);
        return;
    }
    case WM_ERASEBKGND:
        if (m.WParam) {
            TCanvas c;
            c.SetHandle(reinterpret_cast<HDC>(m.WParam));
            DrawRibbon(&c);
            c.SetHandle(nullptr);
            WMEraseReady = true;
        }
        m.Result = 1;
        return;
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(m);
        TestActive(-1, -1);
        return;
    case WM_SKINMENU_CLOSED:
        if (FPopupButton >= 0 && FPopupButton < FButtons->Count()) {
            FButtons->Items(FPopupButton)->Down = false;
            FPopupButton = -1;
            Repaint();
        }
        return;
    default: TbsSkinControl::Dispatch(m);
    }
}

void TbsRibbon::Paint()
{
    if (WMEraseReady) {
        WMEraseReady = false;
        return;
    }
    DrawRibbon(Canvas());
}
