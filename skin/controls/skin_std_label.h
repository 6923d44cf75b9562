// TbsSkinStdLabel: the framework's windowless text label with the skin's font and colour (a
// "stdlabel" record, default name "stdlabel"), a font of its own for the unskinned case
// (DefaultFont) and text ellipsis. It keeps its own skin model and record index; the skinned
// form's skin-change walk reaches it through TbsSkinChangeClient.
#pragma once

#include "platform/framework/controls/label.h"
#include "skin/controls/skin_change_client.h"
#include "skin/core/skin_data.h"

enum TbsEllipsType { bsetNone, bsetEndEllips, bsetPathEllips };

class TbsSkinStdLabel : public TCustomLabel, public TbsSkinChangeClient {
public:
    explicit TbsSkinStdLabel(TComponent* AOwner);
    ~TbsSkinStdLabel() override;

    TbsEllipsType EllipsType() const { return FEllipsType; }
    void SetEllipsType(TbsEllipsType Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont.Assign(Value); }
    TbsSkinData* SkinData() const { return FSD; }
    // Stores the model; with one, ChangeSkinData.
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    int SkinIndex() const { return FIndex; }

    void GetSkinData();
    // The record again, the size when auto-sized, and a repaint.
    void ChangeSkinData();
    // The label with the text AText drawn on C with its top-left corner at (X, Y).
    void PaintSkinTo(TCanvas* C, int X, int Y, const String& AText);

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;

protected:
    void DoDrawText(TRect& Rect, UINT Flags) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The label's text steps on DC: font, charset, ellipsis, and the embossed disabled look.
    void DrawLabelText(HDC DC, TRect& R, UINT Flags, String Text);

    TbsEllipsType FEllipsType = bsetNone;
    bool FUseSkinFont = true, FUseSkinColor = true;
    TFont FDefaultFont;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"stdlabel";
    int FIndex = -1;
};
