// TbsSkinCustomTabSheet / TbsSkinTabSheet: a page of the skinned page control. It paints its own
// background (a wallpaper of its own, else the page control's background picture or client piece
// from the "tab" record, else plain button face) and keeps its tab's close-button state, which the
// page control's painting and mouse handling share.
#pragma once

#include "platform/framework/controls/page_control.h"
#include "platform/framework/graphics/bitmap.h"

class TbsSkinPageControl;

class TbsSkinCustomTabSheet : public TTabSheet {
public:
    explicit TbsSkinCustomTabSheet(TComponent* AOwner);
    ~TbsSkinCustomTabSheet() override;

    TBitmap* WallPaper() const { return FWallPaper; }
    // Copies the picture; the sheet repaints only while being designed.
    void SetWallPaper(TBitmap* Value);
    // The background into DC (the sheet's coordinates).
    void PaintBG(HDC DC);

    // Where this page's close button was last drawn, in its tab's coordinates as shown.
    TRect ButtonRect{};
    // The mouse is over the close button; the left button went down on it.
    bool ButtonMouseIn = false;
    bool ButtonMouseDown = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    TbsSkinPageControl* SkinPageControl() const;

    TBitmap* FWallPaper = nullptr;
};

class TbsSkinTabSheet : public TbsSkinCustomTabSheet {
public:
    using TbsSkinCustomTabSheet::TbsSkinCustomTabSheet;
};
