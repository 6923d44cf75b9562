// The plain button family: TButton (push button with ModalResult, Default and Cancel answering
// Enter and Escape as dialog keys), TCheckBox (checked/unchecked/grayed, OnClick on every change
// made outside a layout load) and TRadioButton (one checked per parent). Drawn in the framework's
// plain look.
#pragma once

#include "platform/framework/controls/custom_control.h"

class TButton : public TCustomControl {
public:
    explicit TButton(TComponent* AOwner);
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool v) { FCancel = v; }
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult v) { FModalResult = v; }
    // Runs OnClick whatever the button's state, and hands ModalResult to the form.
    void Click() override;

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;  // Enter clicks this button
    bool FPressed = false;
    bool FSpaceDown = false;
    TModalResult FModalResult = mrNone;
};

class TCustomCheckBox : public TCustomControl {
public:
    explicit TCustomCheckBox(TComponent* AOwner);
    TCheckBoxState State() const { return FState; }
    void SetState(TCheckBoxState v);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool v) { FAllowGrayed = v; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);

protected:
    virtual void Toggle();
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    virtual bool IsRadio() const { return false; }

    TCheckBoxState FState = cbUnchecked;
    bool FAllowGrayed = false;
    TAlignment FAlignment = taRightJustify;
    bool FPressed = false;
};

class TCheckBox : public TCustomCheckBox {
public:
    explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
};

class TRadioButton : public TCustomCheckBox {
public:
    explicit TRadioButton(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
    void SetChecked(bool v);

protected:
    void Toggle() override { SetChecked(true); }
    bool IsRadio() const override { return true; }
};
