// Two small panels. TbsSkinPaintPanel: its owner paints the client content through
// OnPanelPaint, the last step of every image the panel composes, always on the off-screen
// canvas and in the client rectangle children would use (the skinned form's inactive-client
// panel derives from it). TbsSkinGroupBox: a panel that always has a caption, drawn from the
// "groupbox" record, or with UseSkinSize off from the "panel" record with a caption strip of
// DefaultCaptionHeight.
#pragma once

#include "skin/controls/skin_panel.h"

// R: the panel's client rectangle (GetSkinClientRect) in the coordinates of Cnvs.
using TbsPaintPanelEvent = std::function<void(TCanvas* Cnvs, TRect& R)>;

class TbsSkinPaintPanel : public TbsSkinPanel {
public:
    explicit TbsSkinPaintPanel(TComponent* AOwner);
    TbsPaintPanelEvent OnPanelPaint;

protected:
    void DoPanelPaint(TCanvas* Cnvs) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void Dispatch(TMessage& Message) override;
};

class TbsSkinGroupBox : public TbsSkinPanel {
public:
    explicit TbsSkinGroupBox(TComponent* AOwner);
    // The panel's; a record whose client area lies wholly above its caption switches
    // ForcebackGround off for the life of the control.
    void GetSkinData() override;
};
