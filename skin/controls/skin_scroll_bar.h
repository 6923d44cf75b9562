// TbsSkinScrollBar: the skinned scroll bar - two arrow buttons, a track and a thumb, drawn from a
// "scrollbar" record (TbsDataSkinScrollBarControl) or in the built-in look. It keeps Min, Max,
// Position and an optional PageSize, steps by SmallChange and LargeChange, repeats while an arrow
// or the track is held (timer 1: a step at the press, the first tick after 500 ms only switches to
// 50 ms, then a step every 50 ms), lets the thumb be dragged and reports through its events.
//
// The arrow buttons are named by what they do: the up button raises Position, the down button
// lowers it (built-in look: up at the right or bottom end). A click on the track before the thumb
// pages toward Min (OnPageUp), after it toward Max (OnPageDown).
//
// The external bar protocol: an owner (tree and list views, list and combo boxes, ...) hides its
// own scroll bars and keeps one or two of these bars in step. It links a bar with
// LinkExternalScrollBar, brings it in step with SetRange (which fires nothing) at its own moments,
// lets the horizontal bar's Both follow the vertical bar's visibility, scrolls from the bar's
// OnChange and shows the bars with itself. The helpers below hold the steps every owner shares.
#pragma once

#include "skin/controls/skin_control.h"

struct TbsScrollBarButton {
    TRect R{};
    bool MouseIn = false;
    bool Down = false;
};

class TbsSkinScrollBar : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBar(TComponent* AOwner);
    ~TbsSkinScrollBar() override;

    TScrollBarKind Kind() const { return FKind; }
    // Stores and repaints; only the designer also switches the skin name and the size.
    void SetKind(TScrollBarKind Value);
    int Min() const { return FMin; }
    void SetMin(int Value);
    int Max() const { return FMax; }
    void SetMax(int Value);
    int Position() const { return FPosition; }
    // Clamped to Min .. Max (Max - PageSize + 1 with a page); OnChange when it changed.
    void SetPosition(int Value);
    int PageSize() const { return FPageSize; }
    // Refused (the old page stays) when Position + Value > Max - Min + 1.
    void SetPageSize(int Value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int Value);
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int Value);
    // A horizontal bar sharing its right end with a vertical bar: the corner square in the
    // built-in look, the BothSkinDataName record with a skin.
    bool Both() const { return FBoth; }
    void SetBoth(bool Value);
    int BothMarkerWidth() const { return FBothMarkerWidth; }
    void SetBothMarkerWidth(int Value);
    const String& BothSkinDataName() const { return FBothSkinDataName; }
    void SetBothSkinDataName(const String& Value) { FBothSkinDataName = Value; }
    // The bar takes the focus, the arrow keys and the wheel (also sets TabStop).
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value);

    // Min, Max and PageSize without checks, then Position clamped; repaints, fires nothing.
    void SetRange(int AMin, int AMax, int APosition, int APageSize);
    // Position clamped; repaints when it changed; fires nothing.
    void SimplySetPosition(int AValue);

    void GetSkinData() override;
    void CalcSize(int& AWidth, int& AHeight) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnLastChange;
    TNotifyEvent OnUpButtonClick;
    TNotifyEvent OnDownButtonClick;
    TNotifyEvent OnPageUp;
    TNotifyEvent OnPageDown;

protected:
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;

private:
    bool Horizontal() const { return FKind == sbHorizontal; }
    int Clamped(int Value) const;
    // Layout: NewTrackArea, the three button rectangles, Offset1, Offset2, BOffset.
    void CalcRects();
    void CalcPosition(int Along);
    void DrawButton(TCanvas* C, int I);
    void DrawSkinThumb(TCanvas* C);
    void ButtonDown(int I);
    void ButtonUp(int I);
    void ButtonEnter(int I);
    void ButtonLeave(int I);
    void TestActive(int X, int Y);
    void StartTimer(UINT Interval);
    void StopTimer();
    void UpStep();
    void DownStep();
    void PageStep(bool TowardMax);
    bool BeforeThumb(int X, int Y) const;
    bool AfterThumb(int X, int Y) const;
    void PaintInto(HDC DC);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0, FMax = 100, FPosition = 0, FPageSize = 0;
    int FSmallChange = 1, FLargeChange = 1;
    bool FBoth = false;
    int FBothMarkerWidth = 19;
    String FBothSkinDataName = L"bothhscrollbar";
    bool FCanFocused = false;

    String FNormalSkinDataName;
    int Offset1 = 0, Offset2 = 0, BOffset = 0;
    TRect NewTrackArea{};
    bool FDown = false;
    int OMPos = 0, OldBOffset = 0;
    int MX = 0, MY = 0;
    bool MouseD = false;
    bool WaitMode = false;
    bool FClicksDisabled = false;
    int TimerMode = 0;
    int ActiveButton = -1, OldActiveButton = -1, CaptureButton = -1;
    TbsScrollBarButton Buttons[3];

    // Copy of the record.
    TRect TrackArea{}, UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
    TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
    TRect ThumbRect{}, ActiveThumbRect{}, DownThumbRect{};
    int ThumbOffset1 = 0, ThumbOffset2 = 0;
    bool ThumbTransparent = false;
    TColor ThumbTransparentColor = 0;
    bool ThumbStretchEffect = false;
    int ThumbMinSize = 0, ThumbMinPageSize = 0;
    TRect GlyphRect{}, ActiveGlyphRect{}, DownGlyphRect{};
    bool GlyphTransparent = false;
    TColor GlyphTransparentColor = 0;
};

// ---- the owner's side of the external bar protocol ----

// Link: the bar enabled and hidden, its OnChange the owner's handler. Null bars are skipped.
void LinkExternalScrollBar(TbsSkinScrollBar* Bar, TNotifyEvent OnChange);
// Shows or hides a linked bar with the owner's guard set around the change; true when its
// visibility changed.
bool ShowExternalScrollBar(TbsSkinScrollBar* Bar, bool Show, bool& Guard);
// The end of every owner's update: the horizontal bar's Both follows the vertical bar's
// visibility (both linked), and when a visibility changed and the owner is aligned, its parent
// re-aligns once with the guard set.
void FinishExternalScrollBars(TControl* Owner, TbsSkinScrollBar* HBar, TbsSkinScrollBar* VBar, bool Changed,
                              bool& Guard);
