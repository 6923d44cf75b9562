// TCustomLabel / TLabel: windowless text. AutoSize fits the control to its text (AdjustBounds),
// the text is laid out by Alignment, Layout and WordWrap, "&" marks an accelerator that focuses
// FocusControl, and DoDrawText is the replaceable drawing step (the skinned label overrides it).
#pragma once

#include "platform/framework/controls/custom_control.h"

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    void SetAutoSize(bool v) override;
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment v);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout v);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool v);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool v);
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* v);

protected:
    // Draws (or with DT_CALCRECT measures into Rect) the caption with the given DT_ flags.
    virtual void DoDrawText(TRect& Rect, UINT Flags);
    virtual void AdjustBounds();
    virtual String GetLabelText() const { return Caption(); }
    UINT DrawTextFlags() const;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    explicit TLabel(TComponent* AOwner) : TCustomLabel(AOwner) {}
};
