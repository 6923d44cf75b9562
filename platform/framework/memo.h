// TCustomMemo / TMemo: multi-line text in the plain look, kept as Lines. Adding a line shows it
// (the view follows the end, as a log wants); typing goes to the end of the text; the wheel and
// the keys scroll. ReadOnly stops typing.
#pragma once

#include "platform/framework/custom_control.h"
#include "platform/framework/forms.h"
#include "platform/framework/string_list.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomControl {
public:
    explicit TCustomMemo(TComponent* AOwner);
    TStrings* Lines() { return &FLines; }
    void SetLines(TStrings* v) { FLines.Assign(v); }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool v) { FWordWrap = v; }
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle v);
    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle v);
    int TopLine() const { return FTopLine; }
    void SetTopLine(int v);
    int VisibleLineCount();
    void Clear() { FLines.Clear(); }

    TNotifyEvent OnChange;

protected:
    String GetText() const override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    virtual void Change();
    int LineHeight();
    void LinesChanged();
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void UpdateScrollBars();
    bool FInScrollUpdate = false;

    TStringList FLines;
    bool FReadOnly = false;
    bool FWordWrap = true;
    TScrollStyle FScrollBars = ssNone;
    TFormBorderStyle FBorderStyle = bsSingle;
    int FTopLine = 0;
    bool FSettingText = false;
};

class TMemo : public TCustomMemo {
public:
    explicit TMemo(TComponent* AOwner) : TCustomMemo(AOwner) {}
};
