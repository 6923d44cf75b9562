// TbsSkinCustomEdit: the skinned single-line edit. Its frame ("edit" record, "buttonedit" for an
// edit with a button, or the built-in look) lives in the window's non-client area; the text area
// in the middle repaints transparently through the base's off-screen pass over the record's
// client piece. An optional edit button at the right (ButtonMode) answers hit code 6 and clicks
// on a release over it after a press on it. Two image buttons from Images sit at the ends of the
// text area (which is narrowed so the text never runs under them), answer hit codes 104 and 105
// and click the same way, each with a normal, hot and down image. Hover is tracked by hit tests
// and a 100 ms timer that watches the window under the cursor. The height follows the skin picture (UseSkinFont) or the
// font. A disabled edit paints its own text (password characters for a password edit).
#pragma once

#include "platform/framework/graphics/image_list.h"
#include "skin/boxes/box_buttons.h"
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
    // The image buttons' images (-1: none); the normal ones narrow the text area.
    int LeftImageIndex() const { return FLeftImageIndex; }
    void SetLeftImageIndex(int Value);
    int LeftImageHotIndex() const { return FLeftImageHotIndex; }
    void SetLeftImageHotIndex(int Value) { FLeftImageHotIndex = Value; }
    int LeftImageDownIndex() const { return FLeftImageDownIndex; }
    void SetLeftImageDownIndex(int Value) { FLeftImageDownIndex = Value; }
    int RightImageIndex() const { return FRightImageIndex; }
    void SetRightImageIndex(int Value);
    int RightImageHotIndex() const { return FRightImageHotIndex; }
    void SetRightImageHotIndex(int Value) { FRightImageHotIndex = Value; }
    int RightImageDownIndex() const { return FRightImageDownIndex; }
    void SetRightImageDownIndex(int Value) { FRightImageDownIndex = Value; }

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
    // With Images: the image buttons' rectangles at the ends of the client area; with SetRect
    // the text is kept to what lies between them.
    void CalcImageRects(bool SetRect);

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }
    // Its MDI form's menu closing cancels the edit's modes too (OnEditCancelMode).
    bool SkinCancelModeClient() const override { return true; }

    TNotifyEvent OnButtonClick;
    TNotifyEvent OnLeftButtonClick, OnRightButtonClick;

    // The image buttons, client coordinates.
    TbsCBButtonX LeftButton, RightButton;

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
    void CreateWnd() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void BufferSize(int& W, int& H) override;

    void CalcRects();
    // The text area's background (client coordinates, from 0,0) onto C.
    void PaintEditBackground(TCanvas* C);
    // The image buttons' images (client coordinates) onto C.
    void DrawImages(TCanvas* C);
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
    int FLeftImageIndex = -1, FLeftImageHotIndex = -1, FLeftImageDownIndex = -1;
    int FRightImageIndex = -1, FRightImageHotIndex = -1, FRightImageDownIndex = -1;

private:
    bool ValidImage(int Index) const { return FImages && Index >= 0 && Index < FImages->Count(); }
    // The image button under a client point (with its image): 104 left, 105 right, else 0.
    int ImageButtonAt(const TPoint& Client);
    // Sets or clears a button's MouseIn, repainting on a change.
    void SetImageHot(TbsCBButtonX& B, bool Value);
    // A release anywhere in the edit ends an image press (a click is the release over its image).
    void ReleaseImageButtons();

    // The text area was narrowed for images (widened again once they go).
    bool FTextNarrowed = false;
};

class TbsSkinEdit : public TbsSkinCustomEdit {
public:
    using TbsSkinCustomEdit::TbsSkinCustomEdit;
};
