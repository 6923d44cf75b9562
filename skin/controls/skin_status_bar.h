// TbsSkinStatusBar: a skinned panel docked at the bottom of a form with an optional size grip in
// its bottom-right corner, drawn from the record's gripper picture or as diagonal lines. The grip
// answers the hit test with HTBOTTOMRIGHT, and a press there sizes the form (the bar hands the
// press to the form's size loop). The skinned form hides the grip while it is maximized.
#pragma once

#include "skin/controls/skin_panel.h"

class TbsSkinStatusBar : public TbsSkinPanel {
public:
    explicit TbsSkinStatusBar(TComponent* AOwner);

    bool SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(bool Value);
    // Switched by the skinned form (off while maximized).
    bool ShowGrip() const { return FShowGrip; }
    void SetShowGrip(bool Value);
    bool GripPresent() const { return FSizeGrip && FShowGrip; }
    // The grip's rectangle in the bar's coordinates.
    TRect GripRect();

    // The base's, then every windowed skinned child gets the same model.
    void SetSkinData(TbsSkinData* Value) override;
    void GetSkinData() override;

    TRect GripperRect{};
    bool GripperTransparent = false;
    TColor GripperTransparentColor = 0;

protected:
    void AdjustClientRect(TRect& Rect) override;
    void CreateControlDefaultImage(TBitmap* B) override;
    void CreateControlSkinImage(TBitmap* B) override;
    void WndProc(TMessage& Message) override;

private:
    void DrawGrip(TCanvas* C);

    bool FSizeGrip = false, FShowGrip = true;
};
