// TImage: a windowless control showing a TPicture - at its own size from the top-left corner,
// centred, or stretched (optionally keeping proportions); AutoSize fits the control to the
// picture. Transparent bitmaps leave the parent showing through.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/graphics/picture.h"

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    TPicture* Picture() { return &FPicture; }
    void SetPicture(TPicture* v) { FPicture.Assign(v); }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool v);
    bool Center() const { return FCenter; }
    void SetCenter(bool v);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    // Where the picture lands inside the control.
    TRect DestRect();
    bool CanAutoSize(int& NewWidth, int& NewHeight) override;

protected:
    void Paint() override;
    void PictureChanged();

    TPicture FPicture;
    bool FStretch = false;
    bool FCenter = false;
    bool FProportional = false;
    bool FTransparent = false;
};
