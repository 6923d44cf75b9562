// TPageControl with TTabSheet pages: tabs along one edge of the pages (TabPosition), one page
// shown at a time; tabs of pages whose TabVisible is off are left out, so a tab index and a page
// index can differ. A click on a tab (or Ctrl+Tab) changes the page with OnChanging/OnChange;
// setting ActivePage in code raises nothing. Plain look with an owner-draw hook (OnDrawTab).
//
// It stands in for the system tab control and answers its messages: TCM_GETITEMRECT (by visible
// tab), TCM_GETCURSEL, TCM_SETCURSEL, TCM_ADJUSTRECT and TCM_SETITEMSIZE (width in the low word,
// height in the high word; the TabWidth and TabHeight properties send it). The pages take the
// place TCM_ADJUSTRECT gives, sent through the control's own window procedure, so a descendant
// that adjusts the answer moves them.
//
// Layout. Tabs are laid out in visible order along the edge from 2 pixels in, each row TH thick
// (the item height when set, else the font's height + 6, at least the image list's height + 4),
// rows starting 2 pixels from the edge. A tab's length along its row is the item width when set;
// otherwise the caption's width + 12, plus the image list's width + 4 only when the tab's sheet
// has an ImageIndex of 0 or more (side tabs count the images' height, as they lie turned). A
// single row that does not fit is scrolled by a first-visible tab index: WM_HSCROLL with
// SB_THUMBPOSITION moves it (the position in the high word of wParam), and a child window of class
// "msctls_updown32" with two arrows shows at the row's end while the tabs overflow (made or
// removed at WM_SIZE). With MultiLine the tabs wrap into further rows, the row of the selected
// tab nearest the pages. Hit testing uses this layout as it stands.
#pragma once

#include <vector>

#include "platform/framework/controls/custom_control.h"

class TPageControl;
class TCustomImageList;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;
using TDrawTabEvent = std::function<void(TPageControl* Control, int TabIndex, const TRect& Rect, bool Active)>;

class TTabSheet : public TCustomControl {
    friend class TPageControl;

public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* v);
    int PageIndex() const;
    void SetPageIndex(int v);
    // Index among the visible tabs; -1 when the tab is hidden.
    int TabIndex() const;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool v);
    // 0 for a new sheet: its tab has room for an image when the page control has images.
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    bool Highlighted() const { return FHighlighted; }
    void SetHighlighted(bool v) { FHighlighted = v; }

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    bool FHighlighted = false;
    int FImageIndex = 0;
};

class TPageControl : public TCustomControl {
    friend class TTabSheet;

public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int i) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Page);
    int ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }
    void SetActivePageIndex(int i);
    // The active page's tab among the visible tabs (-1: none); setting it picks that tab's page.
    int TabIndex() const { return FActivePage ? FActivePage->TabIndex() : -1; }
    void SetTabIndex(int i);
    int TabCount() const;
    TTabSheet* PageOfTab(int TabIndex) const;
    TRect TabRect(int TabIndex);
    int IndexOfTabAt(int X, int Y);
    // The area the pages take: the client rectangle through TCM_ADJUSTRECT.
    TRect DisplayRect();
    // The first tab shown of a scrolled single row.
    int FirstVisibleTab() const { return FFirstVisible; }
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    // The fixed tab size asked for (0: from the caption and font); the writers pass it on as
    // TCM_SETITEMSIZE.
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int v);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int v);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition v);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle v);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool v) { FHotTrack = v; }
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool v);
    bool RaggedRight() const { return FRaggedRight; }
    void SetRaggedRight(bool v) { FRaggedRight = v; }
    bool ScrollOpposite() const { return FScrollOpposite; }
    void SetScrollOpposite(bool v) { FScrollOpposite = v; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);

    TNotifyEvent OnChange;
    TTabChangingEvent OnChanging;
    TDrawTabEvent OnDrawTab;

protected:
    virtual bool CanChange();
    virtual void Change();
    // A change asked for by the user: OnChanging may refuse it.
    void UserSelect(TTabSheet* Page);
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void ShowActive();
    // The thickness of one row of tabs.
    int TabStripHeight();
    int TextWidth(const String& s);
    // Every visible tab's rectangle and the number of rows.
    void LayoutTabs(std::vector<TRect>& Tabs, int& Rows);
    // The page area before any descendant's adjustment.
    TRect NativeDisplayRect();
    // A single row wider than the control.
    bool TabsOverflow();
    // Scrolls a single row so that the selected tab shows.
    void ScrollToActive();
    // Makes, places or removes the scroll arrows.
    void UpdateScrollArrows();

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    int FTabHeight = 0;
    int FTabWidth = 0;
    // The item size of the last TCM_SETITEMSIZE.
    int FItemHeight = 0;
    int FItemWidth = 0;
    int FFirstVisible = 0;
    HWND FArrows = nullptr;
    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    bool FMultiLine = false;
    bool FHotTrack = false;
    bool FOwnerDraw = false;
    bool FRaggedRight = false;
    bool FScrollOpposite = false;
    TCustomImageList* FImages = nullptr;
};
