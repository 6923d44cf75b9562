// TbsSkinTextLabel: a windowless multi-line label in the font and colour of a label record of the
// skin (default "stdlabel"), else in DefaultFont; no background. Alignment, vertical layout, word
// wrap, and automatic sizing to the text (measured on the screen with one "A" height taken off;
// a right-aligned label keeps its right edge; no lines give height 0). Under right-to-left
// BiDiMode the text reads right to left and bdRightToLeft mirrors the alignment. Disabled text is drawn
// twice, one pixel apart, in the highlight and shadow colours.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/graphics/graphics_objects.h"
#include "skin/controls/skin_change_client.h"
#include "skin/core/skin_data.h"

class TbsSkinTextLabel : public TGraphicControl, public TbsSkinChangeClient {
public:
    explicit TbsSkinTextLabel(TComponent* AOwner);
    ~TbsSkinTextLabel() override;

    TbsSkinData* SkinData() const { return FSD; }
    // Stores; with a model, ChangeSkinData.
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinColor() const { return FUseSkinColor; }
    void SetUseSkinColor(bool Value) { FUseSkinColor = Value; }
    TStrings* Lines() const { return FLines; }
    void SetLines(TStrings* Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    bool AutoSize() const { return FAutoSize; }
    virtual void SetAutoSize(bool Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    int SkinIndex() const { return FIndex; }

    void GetSkinData();
    // GetSkinData, AdjustBounds with AutoSize, a repaint.
    void ChangeSkinData();
    virtual String GetLabelText() { return FLines->Text(); }
    void AdjustBounds();

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

    // Copied from the label record.
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0;

protected:
    void Paint() override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Dispatch(TMessage& Message) override;
    // Sets up Cnvs's font and draws (or with DT_CALCRECT measures) the text in R.
    void DoDrawText(TCanvas* Cnvs, TRect& R, UINT Flags);

private:
    int FIndex = -1;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"stdlabel";
    TFont* FDefaultFont = nullptr;
    bool FUseSkinFont = true, FUseSkinColor = true;
    TStringList* FLines = nullptr;
    TAlignment FAlignment = taLeftJustify;
    bool FAutoSize = true;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
};
