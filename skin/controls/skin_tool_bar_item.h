// What the skinned tool bar hands down to the windowless controls it carries: its skin model to
// the speed buttons and bevels, its flat style, caption mode and image lists to the speed
// buttons. Those classes implement it; the bar needs nothing else of them.
#pragma once

class TbsSkinData;

class TbsToolBarItem {
public:
    virtual ~TbsToolBarItem() = default;
    // The bar's SkinData writer (speed buttons, menu speed buttons and bevels).
    virtual void ToolBarSkinData(TbsSkinData* Value) = 0;
    // Speed buttons only: the bar's Flat, ShowCaptions (with AutoShowHideCaptions) and a change
    // of its Images.
    virtual void ToolBarFlat(bool) {}
    virtual void ToolBarShowCaption(bool) {}
    virtual void ToolBarImagesChanged() {}
};
