// TPageControl with TTabSheet pages: tabs in a row above (or below) the pages, one page shown at
// a time; tabs of pages whose TabVisible is off are left out, so a tab index and a page index
// can differ. A click on a tab (or Ctrl+Tab) changes the page with OnChanging/OnChange; setting
// ActivePage in code raises nothing. Plain look with an owner-draw hook (OnDrawTab).
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
    int FImageIndex = -1;
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
    // The area the pages take (inside the border, beside the tabs).
    TRect DisplayRect();
    void SelectNextPage(bool GoForward, bool CheckTabVisible = true);

    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int v);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int v);
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition v);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle v);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool v) { FMultiLine = v; }
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
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void ShowActive();
    int TabStripHeight();
    int TextWidth(const String& s);

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
    int FTabHeight = 0;
    int FTabWidth = 0;
    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    bool FMultiLine = false;
    bool FHotTrack = false;
    bool FOwnerDraw = false;
    bool FRaggedRight = false;
    bool FScrollOpposite = false;
    TCustomImageList* FImages = nullptr;
};
