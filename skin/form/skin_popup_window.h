// One open level of a skinned menu: a borderless, never-activated topmost tool window listing the
// visible sub-items of one menu item as TbsSkinMenuItem entries. It sizes itself to them, places
// itself beside a screen rectangle inside the work area, paints the skin's popup-window picture
// (or a built-in look) with the entries, scrolls with two 10-pixel bands when they do not fit, and
// turns mouse movement, releases and keys into the entries' state changes. The menu engine
// (TbsSkinMenu) makes one per level and frees it; the window calls back into the engine for
// everything that concerns other levels.
#pragma once

#include <vector>

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/timer.h"
#include "platform/framework/graphics/bitmap.h"

class TbsSkinMenu;
class TbsSkinMenuItem;
class TbsSkinData;
class TbsDataSkinMenuItem;
class TbsDataSkinPopupWindow;
class TCustomImageList;

class TbsSkinPopupWindow : public TCustomControl {
public:
    TbsSkinPopupWindow(TComponent* AOwner, TbsSkinMenu* AParentMenu, TbsDataSkinPopupWindow* AData);
    ~TbsSkinPopupWindow() override;

    // Loads AItem's sub-items from StartIndex, sizes, places beside the screen rectangle R and
    // shows the window. PopupByItem: R is the parent entry; PopupUp: prefer above R.
    void Show(const TRect& R, TMenuItem* AItem, int StartIndex, bool PopupByItem, bool PopupUp);
    // The same for a level of two lists: AItem's sub-items from StartIndex, then AItem2's.
    void Show2(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem, bool PopupUp);
    // Hides without activation and stops the timers.
    void Hide();
    // One key (a virtual-key code) from the form's menu key handler.
    void PopupKeyDown(int CharCode);
    void PaintMenu(HDC DC);
    // Closes the levels below this one and releases the entries whose submenu was open.
    void CollapseSubMenus();
    // Repaints the whole window now.
    void RedrawMenu();

    TbsSkinMenuItem* Item(int Index) const { return ItemList[static_cast<size_t>(Index)]; }
    int ItemCount() const { return static_cast<int>(ItemList.size()); }
    // The entry height: a separator's or any other entry's.
    int EntryHeight(const TbsSkinMenuItem* I) const;
    int ItemHeight() const;
    TCanvas* PaintCanvas() { return Canvas(); }

    TbsDataSkinMenuItem* DSMI = nullptr;
    int VisibleCount = 0;
    int VisibleStartIndex = 0;
    bool Scroll = false;
    bool Scroll2 = false;
    int ScrollCode = 0;
    TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
    TRect NewItemsRect{};
    HRGN FRgn = nullptr;
    int ShowX = 0, ShowY = 0;
    int OMX = -1, OMY = -1;
    TCustomImageList* ImgL = nullptr;
    int GlyphWidth = 19;
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    int OldActiveItem = -1;
    TTimer* MouseTimer = nullptr;
    TTimer* MorphTimer = nullptr;
    TbsSkinMenu* ParentMenu;
    TbsSkinData* SD = nullptr;
    TbsDataSkinPopupWindow* PW = nullptr;
    std::vector<TbsSkinMenuItem*> ItemList;
    int ActiveItem = -1;
    TBitmap* FPaintBuffer = nullptr;
    // The hint of the highlighted entry.
    String HintText;

    // Closed and waiting to be freed (the engine's Bury); freed only once no message of the
    // window is being handled (a menu command may run a modal loop from inside one).
    bool Buried = false;
    bool Dispatching() const { return FDispatchDepth > 0; }

    // Exposed for the entries and the tests.
    void TrackMouse(int X, int Y);
    bool CanScroll(int Code) const;
    void ScrollUp(bool Cycle);
    void ScrollDown(bool Cycle);
    int LastPageStartIndex() const;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void DispatchMessageOfWindow(TMessage& Message);

    int FDispatchDepth = 0;
    void LoadItems(TMenuItem* AItem, int StartIndex);
    void LoadItems2(TMenuItem* AItem, TMenuItem* AItem2, int StartIndex);
    void PrepareLoad(TMenuItem* MenuOfItems);
    void AddChildren(TMenuItem* AItem, int From);
    void FinishLoad(bool TwoLists);
    void CalcSize(bool TwoLists);
    int ItemTextWidth(TbsSkinMenuItem* I);
    int CalcWidth();
    int CalcHeight(bool TwoLists);
    void ArrangeItems();
    void CalcShowPosition(const TRect& R, bool PopupByItem, bool PopupUp);
    void ShowAt();
    void CreateWindowImage(TBitmap* B, bool DrawCenter);
    void DrawItemBackground(TCanvas* C, const TRect& R);
    void DrawUpMarker(TCanvas* C);
    void DrawDownMarker(TCanvas* C);
    TRect UpBand() const;
    TRect DownBand() const;
    void StartScroll();
    void StopScroll();
    void MouseTimerProc(TObject*);
    void MorphTimerProc(TObject*);
    void SetMenuRegion();
    bool SelectAccelItem(int CharCode);
    void SelectNextItem();
    void SelectPriorItem();
    void ChangeActive(int NewIndex);
    bool Selectable(int Index) const;
};
