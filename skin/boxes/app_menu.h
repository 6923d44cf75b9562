// TbsAppMenu: the skinned application menu that the ribbon's application button opens over the
// form's client area. Its left column lists items; a command item closes the menu and runs its
// OnClick (sender: the ribbon), a page item shows its page (TbsAppMenuPage) right of the column
// while selected. Keys, the mouse and the wheel (by the window under the pointer) move the
// selection; a vertical skin bar scrolls the column while the items do not fit; a 10 x 10 size
// grip resizes the form while the skinned form offers it; the menu's caption picture goes into
// the skinned form's title. Its drawing is in app_menu_paint.cpp.
//
// TbsAppMenuPageList: an office list a page can name as its FirstActiveControl, so that the
// wheel over it steps its selection.
//
// An ItemIndex past the items counts as no selection wherever an item is used.
#pragma once

#include "platform/framework/core/collection.h"
#include "skin/boxes/office_list_box.h"
#include "skin/boxes/ribbon_pages.h"
#include "skin/controls/skin_control.h"
#include "skin/core/view_menu_records.h"

class TbsRibbon;
class TbsSkinScrollBar;
class TbsAppMenu;

class TbsAppMenuItem : public TCollectionItem {
public:
    explicit TbsAppMenuItem(TCollection* Collection);
    void Assign(TPersistent* Source) override;

    TbsAppMenuPage* Page() const { return FPage; }
    // A page that already knows its menu becomes the active page.
    void SetPage(TbsAppMenuPage* Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& Value);

    // Called with the ribbon as sender when the item is chosen.
    TNotifyEvent OnClick;
    bool Active = false;
    TRect ItemRect{};

    TbsAppMenuPage* FPage = nullptr;

private:
    bool FVisible = true;
    bool FEnabled = true;
    int FImageIndex = -1;
    String FCaption;
};

class TbsAppMenuItems : public TCollection {
public:
    explicit TbsAppMenuItems(TbsAppMenu* AMenu);
    TbsAppMenuItem* Add() { return static_cast<TbsAppMenuItem*>(TCollection::Add()); }
    TbsAppMenuItem* Items(int Index) const { return static_cast<TbsAppMenuItem*>(TCollection::Items(Index)); }
    TbsAppMenu* AppMenu;

protected:
    void Update(TCollectionItem* Item) override;
};

class TbsAppMenu : public TbsSkinControl {
    friend class TbsRibbon;

public:
    explicit TbsAppMenu(TComponent* AOwner);
    ~TbsAppMenu() override;

    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int ItemWidth() const { return FItemWidth; }
    // At least 100.
    void SetItemWidth(int Value);
    TbsAppMenuItems* Items() const { return FItems; }
    TbsAppMenuPage* ActivePage() const { return FActivePage; }
    void SetActivePage(TbsAppMenuPage* Value);
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int Value);
    TComponent* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TComponent* Value);
    TCustomImageList* ItemImageList() const { return FItemImageList; }
    void SetItemImageList(TCustomImageList* Value);
    TCustomImageList* ItemPageImageList() const { return FItemPageImageList; }
    void SetItemPageImageList(TCustomImageList* Value);
    int ScrollOffset() const { return FScrollOffset; }
    TbsSkinScrollBar* ScrollBar() const { return FScrollBar; }
    const TRect& BackButtonRect() const { return FBackButtonRect; }

    void FindNextItem();
    void FindPriorItem();
    void FindFirstItem();
    void FindLastItem();
    void UpdateScrollInfo();
    // A new page owned by the parent form ("bsAppMenuPage%d", the first free n), made active.
    TbsAppMenuPage* CreatePage();
    // The page area (Left, Top, Right = Left + width, Bottom = Top + height).
    TRect GetPageBounds();
    int GetAppMenuCaptionOffset();
    bool CanDrawAppMenuCaption();
    void DrawAppMenuCaption(TCanvas* Cnvs, TRect R);
    void CalcItemRects();
    int GetContentHeight();
    void ScrollToItem(int Index);
    // The size grip: a linked skinned form, not maximized, not bsSingle, not rolled up.
    bool GripOffered() const;

    TbsDataSkinAppMenu* SkinRecord() const { return FData; }
    // The ClRect part of the record's SkinRect; false without a record or picture.
    bool ClientTile(TBitmap& Tile);

    void GetSkinData() override;
    void Loaded() override;

    TNotifyEvent OnChangePage;
    TNotifyEvent OnShowMenu;
    TNotifyEvent OnShowingMenu;
    TNotifyEvent OnHideMenu;
    TNotifyEvent OnHidingMenu;

    TbsRibbon* Ribbon = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // Painting (app_menu_paint.cpp).
    void DrawMenu(TCanvas* C);
    void DrawSkinItem(TCanvas* C, int Index);
    void DrawDefaultItem(TCanvas* C, int Index);
    void DrawItemContent(TCanvas* C, int Index, TRect R, int Spacing, TCustomImageList* Images);

    void TestActive(int X, int Y);
    // Command and page item heights and whether the two record rectangles are equal.
    void ItemHeights(int& ItemH, int& PageH, bool& Same) const;
    // The item at ItemIndex, or nullptr when ItemIndex names none.
    TbsAppMenuItem* SelectedItem() const;
    void ShowScrollBar();
    void HideScrollBar();
    void AdjustScrollBar();

    int FScrollOffset = 0;
    TbsSkinScrollBar* FScrollBar = nullptr;
    int FOldHeight = -1;
    TRect FBackButtonRect{};
    bool FBackButtonActive = false;
    bool FUseSkinFont = true;
    int FItemIndex = -1;
    TComponent* FSkinHint = nullptr;
    TbsAppMenuItems* FItems = nullptr;
    int FOldItemActive = -1, FItemActive = -1;
    TbsAppMenuPage* FActivePage = nullptr;
    int FItemWidth = 100;
    TCustomImageList* FItemImageList = nullptr;
    TCustomImageList* FItemPageImageList = nullptr;
    TBitmap* FDataPicture = nullptr;
    TBitmap* FDataBGPicture = nullptr;
    TBitmap* FDataPageBGPicture = nullptr;
    TbsDataSkinAppMenu* FData = nullptr;
};

class TbsAppMenuPageList : public TbsSkinOfficeListBox {
public:
    using TbsSkinOfficeListBox::TbsSkinOfficeListBox;
};
