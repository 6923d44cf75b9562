// Glow layers: a soft glow around a skinned button or caption button, shown outside the
// control's bounds on top of everything in a top-level layered window with per-pixel alpha that
// fades in. TbsLayerManager owns one such window at a time; TbsLayerWindow is that window. A
// new window is made for every Show and destroyed by every Hide.
#pragma once

#include <memory>

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/forms/timer.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/skin_bitmap.h"

// A popup tool window, transparent to the mouse and never activated by a click.
class TbsLayerWindow : public TCustomControl {
public:
    explicit TbsLayerWindow(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
};

class TbsLayerManager : public TComponent {
public:
    explicit TbsLayerManager(TComponent* AOwner);
    ~TbsLayerManager() override;

    // AImage shaped by AImageMask (white opaque, black transparent) at the screen point (X, Y),
    // fading in to the constant alpha AAlphaBlendValue in steps of a tenth every 25 ms. A layer
    // shown before is removed first.
    void Show(int X, int Y, TBitmap* AImage, TBitmap* AImageMask, int AAlphaBlendValue);
    void Hide();
    // Puts the shown window at the top of its band again, without moving, sizing or activating.
    void Update();
    void StartTimer();
    void StopTimer();

    TbsLayerWindow* LayerWindow = nullptr;  // owned, while a layer is shown
    TbsBitmap* Bmp = nullptr;               // owned, while a layer is shown
    TTimer* Timer = nullptr;                // owned by the manager as a component
    int EndAlphaBlendValue = 0;
    int BeginAlphaBlendValue = 0;
    int StepAlphaBlendValue = 0;
    bool IsVisible = false;
    bool TopMostMode = true;

private:
    void FadeTimer(TObject* Sender);
    void FreeWindow();
};
