// The pages of the ribbon tabs and of the application-menu items: containers that scroll their
// children page by page with two 12-pixel scroll buttons in their non-client area (hit codes 119
// and 120). The buttons repeat while held (timer 1, ScrollTimerInterval) and, with HotScroll, on
// mere hovering; timer 2 watches every 100 ms whether the pointer left the page.
//
// One engine, TbsScrollingPage, serves both twins; TbsScrollPageTwin holds what differs (the
// direction, the arrows, what a fitting content does to SOldPosition), and a few virtual hooks
// the rest (range suspension, the repaint after a step, whose skin draws the buttons and the
// background).
//
// Scroll state: SPosition is how far the content is scrolled, SMax the content's extent - 1,
// SPage the client extent at the last range computation; the largest position is
// SMax - SPage + 1. Buttons appearing or going change the frame (SWP_FRAMECHANGED) and give the
// focus back to the child that had it.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "skin/core/skin_data.h"

class TbsRibbon;
class TbsAppMenu;

constexpr LRESULT HTPAGESCROLLBACK = 119;
constexpr LRESULT HTPAGESCROLLFORWARD = 120;

struct TbsScrollPageTwin {
    bool Vertical;
    int BackArrow, ForwardArrow;  // DrawArrowImage kinds
    bool ResetOldPositionWhenFits;
};
extern const TbsScrollPageTwin kRibbonPageTwin;
extern const TbsScrollPageTwin kAppMenuPageTwin;

class TbsScrollingPage : public TCustomControl {
public:
    TbsScrollingPage(TComponent* AOwner, const TbsScrollPageTwin& Twin);
    ~TbsScrollingPage() override;

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
    int Position() const { return SPosition; }
    void SetPosition(int Value);

    // Computes the scroll range when scrolling is on and not suspended.
    void GetScrollInfo();
    // Applies the current bounds again.
    void UpDateSize();
    // One step back (0) or forward (1).
    void ScrollStep(int Direction);
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    struct TScrollButton {
        TRect R{};  // window coordinates
        bool Hot = false, Pressed = false, Visible = false;
    };
    TScrollButton Buttons[2];  // 0 back, 1 forward
    int TimerMode = 0;         // 0 idle, 1 back, 2 forward
    int SMax = 0, SPosition = 0, SPage = 0, SOldPosition = 0;
    // Growth of the page along its direction at the last bounds change.
    int FSizeOffset = 0;
    bool FMouseIn = false;

protected:
    void AdjustClientRect(TRect& Rect) override;
    void Paint() override {}
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;

    // While true no range is computed (the application-menu page's FStopScroll).
    virtual bool RangeSuspended() const { return false; }
    // A step also repaints the page.
    virtual bool RepaintAfterStep() const { return false; }
    // WM_SIZE may place the buttons (the menu page needs its menu).
    virtual bool CanPlaceButtons() const { return true; }
    // The skin the buttons are drawn from: the owner's model when the owner has its record.
    virtual TbsSkinData* ButtonSkin() const = 0;
    // WM_ERASEBKGND: the page's background on DC.
    virtual void PaintBackground(HDC DC) = 0;

    void CalcScrollRange();
    void DrawScrollButton(TCanvas* C, int Index);
    void PaintButtons(HDC DC);

    const TbsScrollPageTwin& Twin;
    bool FCanScroll = true;
    bool FHotScroll = false;
    int FScrollOffset = 0;
    int FScrollTimerInterval = 50;

private:
    int ClientExtent();
    // Moves every child forward (towards the end of the content) by D pixels; back when negative.
    void MoveChildren(int D);
    void ShowButtons(bool Show);
    void PlaceButtons();
    void StartScrollTimer();
    void StopScrollTimer();
    void PointerEnter();
    void PointerLeave();
    void RedrawButtons();
};

class TbsRibbonCustomPage : public TbsScrollingPage {
public:
    explicit TbsRibbonCustomPage(TComponent* AOwner);
    TbsRibbon* Ribbon = nullptr;

protected:
    bool RepaintAfterStep() const override;
    TbsSkinData* ButtonSkin() const override;
    void PaintBackground(HDC DC) override;
};

class TbsRibbonPage : public TbsRibbonCustomPage {
public:
    explicit TbsRibbonPage(TComponent* AOwner);
    const String& Caption() const { return FCaption; }
    // Stores and repaints the ribbon.
    void SetCaption(const String& Value);
    // Inside a ribbon the page keeps the ribbon's page area.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Dispatch(TMessage& Message) override;

private:
    String FCaption;
};

class TbsAppMenuCustomPage : public TbsScrollingPage {
public:
    explicit TbsAppMenuCustomPage(TComponent* AOwner);
    TbsAppMenu* AppMenu = nullptr;
    // While set no range is computed.
    bool FStopScroll = true;

protected:
    bool RangeSuspended() const override { return FStopScroll; }
    bool CanPlaceButtons() const override { return AppMenu != nullptr; }
    TbsSkinData* ButtonSkin() const override;
    void PaintBackground(HDC DC) override;
};

class TbsAppMenuPage : public TbsAppMenuCustomPage {
public:
    explicit TbsAppMenuPage(TComponent* AOwner);
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    TWinControl* FirstActiveControl() const { return FFirstActiveControl; }
    void SetFirstActiveControl(TWinControl* Value);
    // Inside a menu the page takes the menu's page area (DefaultWidth within it), at least 100 x 100.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;

private:
    int FDefaultWidth = 0;
    TWinControl* FFirstActiveControl = nullptr;
};

// The skin's tile drawn over R by stretch mode: bsstFull stretched, bsstHorz stretched to R's
// height and repeated to the right, bsstVert stretched to R's width and repeated down; without
// Stretch repeated both ways from R's top-left. Clipped to R.
void DrawBackgroundTile(TCanvas* C, const TRect& R, TBitmap* Tile, bool Stretch, TbsStretchType StretchType);
