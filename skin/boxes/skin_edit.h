// TbsSkinCustomEdit: the skinned single-line edit. Its frame ("edit" record, "buttonedit" for an
// edit with a button, or the built-in look) lives in the window's non-client area; the text area
// in the middle repaints transparently through the base's off-screen pass over the record's
// client piece. An optional edit button at the right (ButtonMode) answers hit code 6 and clicks
// on a release over it after a press on it. Hover is tracked by hit tests and a 100 ms timer that
// watches the window under the cursor. The height follows the skin picture (UseSkinFont) or the
// font. A disabled edit paints its own text (password characters for a password edit).
#pragma once

#include "platform/framework/graphics/image_list.h"
#include "skin/boxes/custom_edit.h"
#include "skin/controls/skin_change_client.h"
#include "skin/core/skin_data.h"

class TbsSkinCustomEdit : public TbsCustomEdit, public TbsSkinChangeClient {
public:
    explicit TbsSkinCustomEdit(TComponent* AOwner);
    ~TbsSkinCustomEdit() override;

    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    TFont* DefaultFont() { return &FDefaultFont; }
    // Copies; without a record into Font as well.
    void SetDefaultFont(TFont* Value) { FDefaultFont.Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int DefaultWidth() const { return FDefaultWidth; }
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool ButtonMode() const { return FButtonMode; }
    // Stores and makes the window anew.
    void SetButtonMode(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TbsSkinData* SkinData() const { return FSD; }
    // Stores; with a model that is not empty, ChangeSkinData.
    virtual void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    int SkinIndex() const { return FIndex; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    int ButtonImageIndex() const { return FButtonImageIndex; }
    void SetButtonImageIndex(int Value);

    void GetSkinData();
    // The record again, fonts and height, a new window keeping text, selection and read-only.
    virtual void ChangeSkinData();
    // The height for the font (and the skin's frame).
    int CalcEditHeight();
    void AdjustEditHeight() { SetHeight(CalcEditHeight()); }
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void RepaintFrame();
    // The whole frame image (window coordinates) onto DC.
    void PaintFrameTo(HDC DC);
    void RepaintBuffered() override;

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

    TNotifyEvent OnButtonClick;

    // Window coordinates.
    TRect FButtonRect{}, FEditRect{};
    bool FButtonDown = false, FButtonActive = false, FMouseIn = false;

    // Copies of the record.
    TRect ClRect{}, SkinRect{}, ActiveSkinRect{};
    TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
    int LOffset = 0, ROffset = 0;
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    bool StretchEffect = false;
    TBitmap* Picture = nullptr;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BufferSize(int& W, int& H) override;

    void CalcRects();
    // The text area's background (client coordinates, from 0,0) onto C.
    void PaintEditBackground(TCanvas* C);
    // The disabled edit's own paint: background and text in the disabled colour.
    void PaintDisabled(HDC DC);
    int HitTest(const TPoint& Screen);
    void DoMouseEnter();
    void DoMouseLeave();
    bool NeedsHoverTimer() const;
    bool Active() { return FMouseIn || Focused(); }
    void ApplyFontColor();
    TbsSkinData* UsableModel() const { return FSD && !FSD->Empty ? FSD : nullptr; }

    TColor FDefaultColor = clWindow;
    TFont FDefaultFont;
    bool FUseSkinFont = true;
    int FDefaultWidth = 0, FDefaultHeight = 0;
    bool FButtonMode = false;
    TAlignment FAlignment = taLeftJustify;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"edit";
    int FIndex = -1;
    TCustomImageList* FImages = nullptr;
    int FButtonImageIndex = -1;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
public:
    using TbsSkinCustomEdit::TbsSkinCustomEdit;
};
