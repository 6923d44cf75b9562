// TbsListBox: the list inside every skinned list box (its container, TbsSkinCustomListBox, and
// so the combo box's drop-down). A framework list box without border or non-client area - its
// scroll state stays (the container reads the ranges and shows skin bars instead) - that paints
// every item itself from the container's skin data with one of three painters (built-in, skin
// item picture at its own height, skin item picture stretched to the list's item height), each
// item composed off-screen and copied in one piece. Every message goes to the container's
// ListBoxWndProc first; input reaches the container's hooks before the standard handling. A
// wheel notch scrolls one line.
//
// DrawTabbedText and TabWidthValue are the tabbed item text the combo face draws as well.
#pragma once

#include "platform/framework/controls/list_box.h"

class TbsSkinCustomListBox;

// Item-drawing callback of the skinned lists and combo boxes (no sender): canvas, item index,
// item width and height, text rectangle and the item state (odSelected, odFocused).
using TbsDrawSkinItemEvent =
    std::function<void(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect, TOwnerDrawState State)>;

// The entry's integer value when every character is a digit, else 0 (0 for an empty entry).
int TabWidthValue(const String& Entry);
// Text with tab stops from the first ten entries of TabWidths, at R's left + Offset + 2,
// vertically centred (one pixel higher for an odd font height), tab origin 0.
void DrawTabbedText(TCanvas* C, TStrings* TabWidths, const String& Text, const TRect& R, int Offset);

class TbsListBox : public TListBox {
    friend class TbsSkinCustomListBox;

public:
    explicit TbsListBox(TComponent* AOwner);

    int HorizontalExtentValue() const { return FHorizontalExtentValue; }
    void SetHorizontalExtentValue(int Value) { FHorizontalExtentValue = Value; }
    TbsSkinCustomListBox* SkinListBox = nullptr;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    // The state an item paints with: the current item selected (and focused with the focus),
    // else selected when it is among the selection.
    TOwnerDrawState GetItemState(int Index);
    // The whole client background into DC: the window colour, or the skin's client tiles.
    void PaintBackgroundToDC(HDC DC);
    // The visible items into DC and, below the last one, the background.
    void PaintWindowStep(HDC DC);
    // One item through the painter the container's skin asks for.
    void DrawItemTo(HDC DC, int Index, const TRect& R, TOwnerDrawState State);

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void DoEnter() override;
    void DoExit() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(WORD& Key, TShiftState Shift) override;
    void KeyPress(wchar_t& Key) override;
    void Click() override;
    // The wheel is the container's: one line a notch (after the standard handling, which
    // scrolls nothing here).
    void WheelScroll(WPARAM) override {}

private:
    void DrawDefaultItem(TCanvas* C, int Index, int W, int H, TOwnerDrawState State);
    void DrawStretchSkinItem(TCanvas* C, int Index, int W, int H, TOwnerDrawState State);
    void DrawSkinItem(TCanvas* C, int Index, int W, int H, TOwnerDrawState State);
    // Image and text of an item on its bitmap.
    void DrawItemContent(TCanvas* C, int Index, TRect TextRect);
    void DrawSkinBackground(TCanvas* C, const TRect& Area);
    void SkinItemFont(TCanvas* C);
    // The container's bars follow when the list's scroll state changed since the last time.
    void CheckScrollState();

    int FHorizontalExtentValue = 0;
    int FSyncedTop = -1, FSyncedCount = -1, FSyncedHeight = -1;
};
