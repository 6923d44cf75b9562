// TbsSkinToolBar: a skinned panel carrying tool buttons and other controls in one row. It keeps
// its children vertically centred (AdjustControls), hands its skin, flat style and image lists to
// the windowless speed buttons and bevels it holds, and, with CanScroll, scrolls content wider
// than itself horizontally with two 12-pixel scroll buttons drawn in its own non-client area
// (hit codes 119 and 120). Timer 1 repeats scroll steps every ScrollTimerInterval while a button
// is held (or hovered with HotScroll); timer 2 checks every 100 ms whether the mouse has left.
//
// Scroll state: SPosition is how far the content is scrolled left, SMax the content's extent
// minus 1, SPage the client width at the last update; the largest position is SMax - SPage + 1.
#pragma once

#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_tool_bar_item.h"

class TbsDataSkinButtonControl;

// The hit-test codes of the two scroll buttons.
constexpr LRESULT HTTOOLBARSCROLLLEFT = 119;
constexpr LRESULT HTTOOLBARSCROLLRIGHT = 120;

class TbsSkinToolBar : public TbsSkinPanel, public TbsCentringParent {
public:
    explicit TbsSkinToolBar(TComponent* AOwner);
    ~TbsSkinToolBar() override;

    bool CanScroll() const { return FCanScroll; }
    void SetCanScroll(bool Value);
    bool HotScroll() const { return FHotScroll; }
    void SetHotScroll(bool Value) { FHotScroll = Value; }
    int ScrollOffset() const { return FScrollOffset; }
    // Negative values are ignored.
    void SetScrollOffset(int Value);
    int ScrollTimerInterval() const { return FScrollTimerInterval; }
    // Values of 0 or less are ignored.
    void SetScrollTimerInterval(int Value);
    bool AdjustControls() const { return FAdjustControls; }
    void SetAdjustControls(bool Value) { FAdjustControls = Value; }
    int WidthWithCaptions() const { return FWidthWithCaptions; }
    void SetWidthWithCaptions(int Value) { FWidthWithCaptions = Value; }
    int WidthWithoutCaptions() const { return FWidthWithoutCaptions; }
    void SetWidthWithoutCaptions(int Value) { FWidthWithoutCaptions = Value; }
    bool AutoShowHideCaptions() const { return FAutoShowHideCaptions; }
    void SetAutoShowHideCaptions(bool Value) { FAutoShowHideCaptions = Value; }
    bool ShowCaptions() const { return FShowCaptions; }
    void SetShowCaptions(bool Value);
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    TCustomImageList* HotImages() const { return FHotImages; }
    void SetHotImages(TCustomImageList* Value);
    TCustomImageList* DisabledImages() const { return FDisabledImages; }
    void SetDisabledImages(TCustomImageList* Value);

    void SetSkinData(TbsSkinData* Value) override;
    void GetSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    bool CentresChildren(TRect& ClientRect) override;

    // Centres the children that do not centre themselves.
    void AdjustControlsTop();
    void UpdateScrollInfo();
    // One step towards the start (0) or the end (1).
    void ScrollStep(int Direction);

    struct TScrollButton {
        TRect R{};  // window coordinates
        bool Hot = false, Pressed = false, Visible = false;
    };
    TScrollButton Buttons[2];  // 0 left, 1 right
    int SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0, FHSizeOffset = 0;
    int TimerMode = 0;  // 0 idle, 1 towards the start, 2 towards the end
    bool FMouseIn = false;
    // The skin's "resizebutton" record, or nullptr.
    TbsDataSkinButtonControl* ButtonData = nullptr;

protected:
    void AdjustClientRect(TRect& Rect) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The new window's client width is known only now: the scroll state follows it.
    void CreateWnd() override;

private:
    bool FCreatingWnd = false;
    WINDOWPOS* FPendingPos = nullptr;  // the move under way while WM_WINDOWPOSCHANGING is handled
    void ShowScrollButtons(bool Show);
    void ScrollControls(int Left);
    void StartScrollTimer();
    void StopScrollTimer();
    void NCMouseEnter();
    void NCMouseLeave();
    void PaintNonClient();
    void DrawScrollButton(HDC DC, int Index);
    template <class F>
    void ForEachItem(F Fn);

    bool FCanScroll = false, FHotScroll = false;
    int FScrollOffset = 0, FScrollTimerInterval = 50;
    bool FAdjustControls = true;
    int FWidthWithCaptions = 0, FWidthWithoutCaptions = 0;
    bool FAutoShowHideCaptions = false, FShowCaptions = false, FFlat = false;
    TCustomImageList *FImages = nullptr, *FHotImages = nullptr, *FDisabledImages = nullptr;
};
