// TControlCanvas (a canvas that draws on a control: its window, or its area of the parent's window
// for a windowless one), TCustomControl (a windowed control that paints itself on its Canvas in
// Paint) and TGraphicControl (a windowless control its parent paints in stacking order; its Paint
// draws on the parent's DC through Canvas). Bases of the standard controls and the skin controls.
#pragma once

#include "platform/framework/controls/win_control.h"
#include "platform/framework/graphics/canvas.h"

class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;
    TControl* Control() const { return FControl; }
    void SetControl(TControl* c);
    // Gives back a DC the canvas took for itself (drawing outside a paint).
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* FControl = nullptr;
    HDC FDeviceContext = nullptr;
    HWND FWindowHandle = nullptr;
};

// Every control canvas gives back the DC it took (the message loop calls this when idle).
void FreeDeviceContexts();

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;
    TCanvas* Canvas() { return &FCanvas; }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC DC) override;
    void Dispatch(TMessage& Message) override;
    void DestroyWnd() override;

    TControlCanvas FCanvas;
};

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;
    TCanvas* Canvas() { return &FCanvas; }

protected:
    virtual void Paint() {}
    void Dispatch(TMessage& Message) override;

    TControlCanvas FCanvas;
};
