// TbsSkinScrollBox: a skinned container whose children may be larger than itself. It has no
// bars of its own: it drives two external skinned scroll bars placed beside it, shows each only
// while the content does not fit that way, shifts its children by the bars' positions, paints a
// skinned frame in its non-client area and a skinned (or tiled picture) background.
//
// Invariant: the children are shifted left by the horizontal bar's Position and up by the
// vertical bar's; FOldHScrollBarPos and FOldVScrollBarPos hold the shift in effect. The growth
// offsets (FHSizeOffset, FVSizeOffset) let a box that grew while scrolled pull its content back
// into the new room at the next range computation.
#pragma once

#include "skin/controls/skin_control.h"
#include "skin/controls/skin_panel.h"

class TbsSkinScrollBar;

class TbsSkinScrollBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinScrollBox(TComponent* AOwner);

    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    TbsSkinBorderStyle BorderStyle() const { return FBorderStyle; }
    // A new non-client size.
    void SetBorderStyle(TbsSkinBorderStyle Value);
    bool CanFocused() const { return FCanFocused; }
    void SetCanFocused(bool Value) { FCanFocused = Value; }

    // After adding, removing or resizing children.
    void UpDateScrollRange();
    void GetVRange();
    void GetHRange();
    void VScroll(int APosition);
    void HScroll(int APosition);
    // Scrolls a direct child that lies partly outside the box into view.
    void ScrollToControl(TControl* C);

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    int BGPictureIndex = -1;

protected:
    void CreateParams(TCreateParams& Params) override;
    void AdjustClientRect(TRect& Rect) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void Dispatch(TMessage& Message) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void Paint() override;
    void PaintSkinFrame(TCanvas* C);

    void VScrollBarChanged(TObject* Sender);
    void HScrollBarChanged(TObject* Sender);
    void ScrollContentV(int Delta);
    void ScrollContentH(int Delta);

    bool FClicksDisabled = false;
    bool FCanFocused = false;
    bool FInCheckScrollBars = false;
    bool FDown = false;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0;
    int FOldHScrollBarPos = 0;
    int FVSizeOffset = 0;
    int FHSizeOffset = 0;
    TbsSkinBorderStyle FBorderStyle = bvFrame;

private:
    // One direction of the range computation (GetVRange / GetHRange).
    void GetRange(bool Vertical);
    // The frame is drawn (no background picture, a border).
    bool PaintsFrame() const { return BGPictureIndex == -1 && FBorderStyle != bvNone; }
    void FrameChanged();
};
