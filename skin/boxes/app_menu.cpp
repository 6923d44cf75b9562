#include "skin/boxes/app_menu.h"

#include <algorithm>

#include "platform/framework/forms/forms.h"
#include "skin/boxes/ribbon.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/marks.h"
#include "skin/form/skin_form.h"

namespace {
constexpr int kGrip = 10;
}  // namespace

// ---- items ----

TbsAppMenuItem::TbsAppMenuItem(TCollection* Collection) : TCollectionItem(Collection) {}

void TbsAppMenuItem::Assign(TPersistent* Source)
{
    if (auto* src = dynamic_cast<TbsAppMenuItem*>(Source)) {
        SetPage(src->FPage);
        FCaption = src->FCaption;
        FImageIndex = src->FImageIndex;
        FVisible = src->FVisible;
        FEnabled = src->FEnabled;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(Source);
}

void TbsAppMenuItem::SetPage(TbsAppMenuPage* Value)
{
    if (FPage == Value) return;
    FPage = Value;
    auto* items = dynamic_cast<TbsAppMenuItems*>(Collection());
    if (Value && items && items->AppMenu) Value->FreeNotification(items->AppMenu);
    if (Value && Value->AppMenu) Value->AppMenu->SetActivePage(Value);
}

void TbsAppMenuItem::SetVisible(bool Value)
{
    if (FVisible == Value) return;
    FVisible = Value;
    Changed(false);
}

void TbsAppMenuItem::SetEnabled(bool Value)
{
    if (FEnabled == Value) return;
    FEnabled = Value;
    Changed(false);
}

void TbsAppMenuItem::SetImageIndex(int Value)
{
    if (FImageIndex == Value) return;
    FImageIndex = Value;
    Changed(false);
}

void TbsAppMenuItem::SetCaption(const String& Value)
{
    if (FCaption == Value) return;
    FCaption = Value;
    Changed(false);
}

// The default caption carries the item's index, known once it is in the collection.
TbsAppMenuItems::TbsAppMenuItems(TbsAppMenu* AMenu)
    : TCollection(
          [](TCollection* C) {
              auto* item = new TbsAppMenuItem(nullptr);
              item->SetCaption(L"TbsAppMenuItem" + IntToStr(C->Count()));
              return item;
          },
          AMenu),
      AppMenu(AMenu)
{}

void TbsAppMenuItems::Update(TCollectionItem* Item)
{
    TCollection::Update(Item);
    if (!AppMenu) return;
    if (AppMenu->Visible()) AppMenu->UpdateScrollInfo();
    AppMenu->Repaint();
}

// ---- the menu ----

TbsAppMenu::TbsAppMenu(TComponent* AOwner) : TbsSkinControl(AOwner)
{
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls).Include(csNoDesignVisible);
    SetControlStyle(style);
    FItems = new TbsAppMenuItems(this);
    FSkinDataName = L"appmenu";
    SetBounds(Left(), Top(), 250, 200);
}

TbsAppMenu::~TbsAppMenu()
{
    FItems->AppMenu = nullptr;
    // Pages are the form's; as children of the menu they go with it.
    for (int i = 0; i < FItems->Count(); ++i) FItems->Items(i)->FPage = nullptr;
    FActivePage = nullptr;
    delete FItems;
    FItems = nullptr;
}

void TbsAppMenu::CreateParams(TCreateParams& Params)
{
    TbsSkinControl::CreateParams(Params);
    Params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TbsAppMenu::Loaded()
{
    TbsSkinControl::Loaded();
    for (int i = 0; i < FItems->Count(); ++i)
        if (TbsAppMenuPage* p = FItems->Items(i)->FPage) {
            p->AppMenu = this;
            p->SetVisible(p == FActivePage);
        }
}

void TbsAppMenu::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinControl::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSkinHint) FSkinHint = nullptr;
    if (AComponent == FActivePage) FActivePage = nullptr;
    if (AComponent == FItemImageList) FItemImageList = nullptr;
    if (AComponent == FItemPageImageList) FItemPageImageList = nullptr;
    if (AComponent == FScrollBar) FScrollBar = nullptr;
    if (FItems)
        for (int i = 0; i < FItems->Count(); ++i)
            if (FItems->Items(i)->FPage == AComponent) FItems->Items(i)->FPage = nullptr;
}

void TbsAppMenu::SetSkinHint(TComponent* Value)
{
    if (FSkinHint) FSkinHint->RemoveFreeNotification(this);
    FSkinHint = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsAppMenu::SetItemImageList(TCustomImageList* Value)
{
    if (FItemImageList) FItemImageList->RemoveFreeNotification(this);
    FItemImageList = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsAppMenu::SetItemPageImageList(TCustomImageList* Value)
{
    if (FItemPageImageList) FItemPageImageList->RemoveFreeNotification(this);
    FItemPageImageList = Value;
    if (Value) Value->FreeNotification(this);
    Repaint();
}

void TbsAppMenu::SetItemWidth(int Value)
{
    FItemWidth = std::max(100, Value);
    if (FActivePage) FActivePage->UpDateSize();
    Repaint();
}

void TbsAppMenu::GetSkinData()
{
    TbsSkinControl::GetSkinData();
    FData = dynamic_cast<TbsDataSkinAppMenu*>(Record());
    if (!FData) FIndex = -1;
    auto pic = [this](int I) -> TBitmap* {
        if (!FSD || I < 0 || I >= static_cast<int>(FSD->FActivePictures.size())) return nullptr;
        return FSD->FActivePictures[static_cast<size_t>(I)];
    };
    FDataPicture = FData ? pic(FData->PictureIndex) : nullptr;
    FDataBGPicture = FData ? pic(FData->BGPictureIndex) : nullptr;
    FDataPageBGPicture = FData ? pic(FData->BGPagePictureIndex) : nullptr;
}

bool TbsAppMenu::ClientTile(TBitmap& Tile)
{
    if (!FData || !FDataPicture) return false;
    const TRect src = Rect(FData->SkinRect.Left + FData->ClRect.Left, FData->SkinRect.Top + FData->ClRect.Top,
                           FData->SkinRect.Left + FData->ClRect.Right, FData->SkinRect.Top + FData->ClRect.Bottom);
    if (IsNullRect(src)) return false;
    Tile.SetSize(src.Width(), src.Height());
    Tile.Canvas()->CopyRect(Rect(0, 0, src.Width(), src.Height()), FDataPicture->Canvas(), src);
    return true;
}

TbsAppMenuItem* TbsAppMenu::SelectedItem() const
{
    if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return nullptr;
    return FItems->Items(FItemIndex);
}

// ---- geometry ----

void TbsAppMenu::ItemHeights(int& ItemH, int& PageH, bool& Same) const
{
    if (FData) {
        ItemH = RectHeight(FData->ItemRect);
        PageH = RectHeight(FData->PageItemRect);
        Same = FData->ItemRect == FData->PageItemRect;
    } else {
        ItemH = 28;
        PageH = 35;
        Same = false;
    }
}

bool TbsAppMenu::CanDrawAppMenuCaption()
{
    GetSkinData();
    return FData && !IsNullRect(FData->CaptionRect);
}

int TbsAppMenu::GetAppMenuCaptionOffset()
{
    GetSkinData();
    return FData ? FData->CaptionLeftOffset + FItemWidth : FItemWidth;
}

void TbsAppMenu::DrawAppMenuCaption(TCanvas* Cnvs, TRect R)
{
    GetSkinData();
    if (!FData || !FDataPicture || IsNullRect(FData->CaptionRect)) return;
    R = Rect(R.Left + FData->CaptionLeftOffset, FData->CaptionTopOffset, R.Right + FData->CaptionLeftOffset, R.Bottom);
    TBitmap part(FData->CaptionRect.Width(), FData->CaptionRect.Height());
    part.Canvas()->CopyRect(Rect(0, 0, part.Width(), part.Height()), FDataPicture->Canvas(), FData->CaptionRect);
    Cnvs->StretchDraw(R, &part);
}

TRect TbsAppMenu::GetPageBounds()
{
    GetSkinData();
    const int offset = FData ? FData->PageOffset : 0;
    return Bounds(FItemWidth + offset, 25, Width() - FItemWidth - offset - 25, Height() - 50);
}

void TbsAppMenu::CalcItemRects()
{
    GetSkinData();
    int itemH = 0, pageH = 0;
    bool same = false;
    ItemHeights(itemH, pageH, same);
    FBackButtonRect = TRect{};
    int top = 0;
    if (FData && !IsNullRect(FData->BackButtonRect)) {
        const int w = FData->BackButtonRect.Width(), h = FData->BackButtonRect.Height();
        const int t = CanDrawAppMenuCaption() ? 0 : 3;
        FBackButtonRect = Rect(23, t, 23 + w, t + h);
        top = h + 5;
    }
    int y = top + 7 - FScrollOffset;
    bool first = true, prevPage = false;
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsAppMenuItem* item = FItems->Items(i);
        if (!item->Visible()) continue;
        const bool page = item->FPage != nullptr;
        if (first && page && !same)
            y = 30 - FScrollOffset;
        else if (!first && page && !prevPage && !same)
            y += 8;
        if (page) {
            item->ItemRect = Rect(0, y, FItemWidth, y + pageH);
            y = item->ItemRect.Bottom + (same ? 0 : 8);
        } else {
            item->ItemRect = same ? Rect(0, y, FItemWidth, y + itemH) : Rect(8, y, FItemWidth - 8, y + itemH);
            y = item->ItemRect.Bottom;
        }
        first = false;
        prevPage = page;
    }
}

int TbsAppMenu::GetContentHeight()
{
    GetSkinData();
    int itemH = 0, pageH = 0;
    bool same = false;
    ItemHeights(itemH, pageH, same);
    int top = 0;
    if (FData && !IsNullRect(FData->BackButtonRect)) top = FData->BackButtonRect.Height() + 5;
    int y = top + 7;
    bool first = true, prevPage = false;
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsAppMenuItem* item = FItems->Items(i);
        if (!item->Visible()) continue;
        const bool page = item->FPage != nullptr;
        if (first && page && !same)
            y = 30;
        else if (!first && page && !prevPage && !same)
            y += 8;
        y += page ? pageH + (same ? 0 : 8) : itemH;
        first = false;
        prevPage = page;
    }
    if (FItems->Count() > 0 && FItems->Items(FItems->Count() - 1)->FPage) y += 25;
    return y;
}

// ---- scroll bar ----

void TbsAppMenu::UpdateScrollInfo()
{
    const int max = GetContentHeight() + 1;
    if (max > Height() && !FScrollBar)
        ShowScrollBar();
    else if (max <= Height() && FScrollBar)
        HideScrollBar();
    if (!FScrollBar) return;
    FScrollBar->SetRange(0, max, FScrollOffset, Height());
    FScrollBar->SetLargeChange(Height());
}

void TbsAppMenu::ShowScrollBar()
{
    if (FScrollBar) return;
    FScrollBar = new TbsSkinScrollBar(this);
    FScrollBar->SetVisible(false);
    FScrollBar->SetParent(this);
    FScrollBar->SetDefaultHeight(0);
    FScrollBar->SetDefaultWidth(19);
    FScrollBar->SetSmallChange(28);
    FScrollBar->SetLargeChange(28);
    FScrollBar->SetSkinDataName(L"vscrollbar");
    FScrollBar->SetKind(sbVertical);
    FScrollBar->SetSkinData(FSD);
    FScrollBar->OnChange = [this](TObject*) {
        FScrollOffset = FScrollBar->Position();
        Repaint();
    };
    AdjustScrollBar();
    FScrollBar->SetVisible(true);
    Repaint();
}

void TbsAppMenu::HideScrollBar()
{
    if (!FScrollBar) return;
    TbsSkinScrollBar* bar = FScrollBar;
    FScrollBar = nullptr;
    bar->SetVisible(false);
    delete bar;
    Repaint();
}

void TbsAppMenu::AdjustScrollBar()
{
    if (!FScrollBar) return;
    const int h = GripOffered() ? Height() - 20 : Height();
    FScrollBar->SetBounds(Width() - FScrollBar->Width(), 0, FScrollBar->Width(), h);
}

bool TbsAppMenu::GripOffered() const
{
    TbsSkinForm* f = Ribbon ? Ribbon->BSF : nullptr;
    if (!f) return false;
    return f->WindowState() != wsMaximized && !(f->Form() && f->Form()->BorderStyle() == bsSingle) && !f->RollUpState();
}

// ---- selection ----

void TbsAppMenu::SetItemIndex(int Value)
{
    FItemIndex = Value;
    if (TbsAppMenuItem* item = SelectedItem(); item && item->FPage && item->FPage != FActivePage)
        SetActivePage(item->FPage);
    if (FScrollBar) ScrollToItem(Value);
    Repaint();
}

void TbsAppMenu::ScrollToItem(int Index)
{
    if (!FScrollBar || Index < 0 || Index >= FItems->Count()) return;
    CalcItemRects();
    TbsAppMenuItem* item = FItems->Items(Index);
    const int t = item->ItemRect.Top, b = item->ItemRect.Bottom;
    const bool last = Index == FItems->Count() - 1;
    if (FScrollBar->Visible() && (t < 0 || b > Height())) {
        if (last)
            FScrollBar->SetPosition(FScrollBar->Max());
        else
            FScrollBar->SetPosition(FScrollBar->Position() + (t < 0 ? t - FScrollOffset : b - FScrollOffset));
    } else if (FScrollBar->Visible()) {
        if (last && FScrollBar->Position() != FScrollBar->Max()) FScrollBar->SetPosition(FScrollBar->Max());
        if (Index == 0 && FScrollBar->Position() != FScrollBar->Min()) FScrollBar->SetPosition(FScrollBar->Min());
    }
    if (item->FPage) {
        CalcItemRects();
        const int t2 = item->ItemRect.Top, b2 = item->ItemRect.Bottom;
        if (t2 < 30)
            FScrollBar->SetPosition(FScrollBar->Position() - (30 - t2));
        else if (b2 > Height() - 30)
            FScrollBar->SetPosition(FScrollBar->Position() + b2 - (Height() - 30));
    }
}

void TbsAppMenu::SetActivePage(TbsAppMenuPage* Value)
{
    TbsAppMenuPage* old = FActivePage;
    if (old && old != Value) {
        old->SetVisible(false);
        old->FStopScroll = true;
    }
    FActivePage = Value;
    if (Value && !(ComponentState() & csLoading)) {
        Value->FreeNotification(this);
        Value->SetVisible(false);
        Value->AppMenu = this;
        Value->SetParent(this);
        Value->UpDateSize();
        Value->SetVisible(true);
        Value->BringToFront();
        Value->FStopScroll = !Visible();
        if (Value->CanScroll()) Value->GetScrollInfo();
        if (old != Value && OnChangePage) OnChangePage(this);
    }
    Repaint();
}

TbsAppMenuPage* TbsAppMenu::CreatePage()
{
    TComponent* owner = GetParentForm() ? static_cast<TComponent*>(GetParentForm()) : Owner();
    auto* page = new TbsAppMenuPage(owner);
    page->AppMenu = this;
    page->SetParent(this);
    const TRect r = GetPageBounds();
    page->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    for (int n = 1;; ++n) {
        const String name = L"bsAppMenuPage" + IntToStr(n);
        if (!owner || !owner->FindComponent(name)) {
            page->SetName(name);
            break;
        }
    }
    SetActivePage(page);
    Repaint();
    return page;
}

void TbsAppMenu::FindNextItem()
{
    if (FItemIndex == -1 || FItemIndex >= FItems->Count() - 1) return;
    for (int i = FItemIndex + 1; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Visible() && FItems->Items(i)->Enabled()) {
            SetItemIndex(i);
            return;
        }
}

void TbsAppMenu::FindPriorItem()
{
    if (FItemIndex <= 0) return;
    for (int i = std::min(FItemIndex, FItems->Count()) - 1; i >= 0; --i)
        if (FItems->Items(i)->Visible() && FItems->Items(i)->Enabled()) {
            SetItemIndex(i);
            return;
        }
}

void TbsAppMenu::FindFirstItem()
{
    for (int i = 0; i < FItems->Count(); ++i)
        if (FItems->Items(i)->Visible() && FItems->Items(i)->Enabled()) {
            SetItemIndex(i);
            return;
        }
}

void TbsAppMenu::FindLastItem()
{
    for (int i = FItems->Count() - 1; i >= 0; --i)
        if (FItems->Items(i)->Visible() && FItems->Items(i)->Enabled()) {
            SetItemIndex(i);
            return;
        }
}

// ---- input ----

void TbsAppMenu::TestActive(int X, int Y)
{
    if (FItems->Count() == 0) return;
    const TPoint p = Point(X, Y);
    const bool back = !IsNullRect(FBackButtonRect) && PtInRect(FBackButtonRect, p);
    if (back != FBackButtonActive) {
        FBackButtonActive = back;
        Repaint();
    }
    int hot = -1;
    for (int i = 0; i < FItems->Count(); ++i) {
        TbsAppMenuItem* item = FItems->Items(i);
        if (item->Visible() && item->Enabled() && PtInRect(item->ItemRect, p)) {
            hot = i;
            break;
        }
    }
    if (hot == FItemActive) return;
    FOldItemActive = FItemActive;
    if (FOldItemActive >= 0 && FOldItemActive < FItems->Count()) FItems->Items(FOldItemActive)->Active = false;
    FItemActive = hot;
    if (hot != -1) FItems->Items(hot)->Active = true;
    Repaint();
}

void TbsAppMenu::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    TestActive(X, Y);
    if (FItemActive != FItemIndex) SetItemIndex(FItemActive);
    if (!Focused() && CanFocus()) SetFocus();
}

void TbsAppMenu::MouseMove(TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseMove(Shift, X, Y);
    TestActive(X, Y);
}

void TbsAppMenu::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TbsSkinControl::MouseUp(Button, Shift, X, Y);
    if (Button != mbLeft) return;
    TestActive(X, Y);
    if (FBackButtonActive) {
        if (Ribbon) Ribbon->HideAppMenu(nullptr);
        return;
    }
    TbsAppMenuItem* item = SelectedItem();
    if (item && !item->FPage && Ribbon && FItemIndex == FItemActive) Ribbon->HideAppMenu(item);
}

void TbsAppMenu::KeyDown(WORD& Key, TShiftState Shift)
{
    TbsSkinControl::KeyDown(Key, Shift);
    switch (Key) {
    case VK_RETURN:
    case VK_SPACE:
    case VK_TAB: {
        TbsAppMenuItem* item = SelectedItem();
        if (!item) break;
        if (!item->FPage) {
            if (!Ribbon) break;
            if (Key == VK_TAB)
                FindNextItem();
            else
                Ribbon->HideAppMenu(item);
            break;
        }
        TWinControl* c = item->FPage->FirstActiveControl();
        if (c && c->Parent() == item->FPage && c->Visible() && c->Enabled() && c->CanFocus())
            c->SetFocus();
        else if (Key == VK_TAB)
            FindNextItem();
        break;
    }
    case VK_NEXT: FindLastItem(); break;
    case VK_PRIOR: FindFirstItem(); break;
    case VK_LEFT:
    case VK_UP: FindPriorItem(); break;
    case VK_RIGHT:
    case VK_DOWN: FindNextItem(); break;
    default: break;
    }
}

void TbsAppMenu::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        TbsSkinControl::Dispatch(m);
        Repaint();
        return;
    case WM_GETDLGCODE: m.Result = DLGC_WANTARROWS | DLGC_WANTTAB; return;
    case WM_ERASEBKGND: m.Result = 1; return;
    case WM_MOUSEWHEEL: {
        TbsSkinControl::Dispatch(m);
        if (!Focused()) return;
        const bool down = GET_WHEEL_DELTA_WPARAM(m.WParam) < 0;
        POINT p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
        HWND under = WindowFromPoint(p);
        if (under == Handle()) {
            down ? FindNextItem() : FindPriorItem();
            return;
        }
        TWinControl* first = FActivePage ? FActivePage->FirstActiveControl() : nullptr;
        auto* list = dynamic_cast<TbsAppMenuPageList*>(first);
        if (list && list->HandleAllocated() && under == list->Handle() && list->ScrollBar())
            down ? list->FindDown() : list->FindUp();
        return;
    }
    case WM_SIZE: {
        TbsSkinControl::Dispatch(m);
        if (FActivePage) FActivePage->UpDateSize();
        if (FOldHeight != -1 && Height() != FOldHeight) {
            if (FScrollOffset > 0) FScrollOffset = std::max(0, FScrollOffset + FOldHeight - Height());
            UpdateScrollInfo();
        }
        AdjustScrollBar();
        Repaint();
        FOldHeight = Height();
        return;
    }
    case WM_NCHITTEST:
        if (GripOffered()) {
            const TPoint p =
                ScreenToClient(Point(static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))));
            if (PtInRect(Rect(Width() - kGrip, Height() - kGrip, Width(), Height()), p)) {
                m.Result = HTBOTTOMRIGHT;
                return;
            }
        }
        break;
    case CM_MOUSELEAVE:
        TbsSkinControl::Dispatch(m);
        TestActive(-1, -1);
        return;
    default: break;
    }
    TbsSkinControl::Dispatch(m);
}

void TbsAppMenu::Paint() { DrawMenu(Canvas()); }
