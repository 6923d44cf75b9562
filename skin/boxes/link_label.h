// TbsSkinLinkLabel: a transparent, windowless hyperlink label with a hand cursor, drawn
// (underlined by default) in the "stdlabel" record's font, or its DefaultFont without one. While
// the pointer is over it the text turns the active colour, or with GlowEffect glows in it; a glow
// label sits GlowSize pixels lower at all times. A click fires OnClick, then opens URL through
// the shell's "open".
#pragma once

#include "platform/framework/controls/label.h"
#include "skin/controls/skin_change_client.h"
#include "skin/core/skin_data.h"

class TbsSkinLinkLabel : public TCustomLabel, public TbsSkinChangeClient {
public:
    explicit TbsSkinLinkLabel(TComponent* AOwner);
    ~TbsSkinLinkLabel() override;

    bool GlowEffect() const { return FGlowEffect; }
    void SetGlowEffect(bool Value) { FGlowEffect = Value; }
    int GlowSize() const { return FGlowSize; }
    void SetGlowSize(int Value) { FGlowSize = Value; }
    bool UseUnderLine() const { return FUseUnderLine; }
    // Repaints when it changes.
    void SetUseUnderLine(bool Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    TColor DefaultActiveFontColor() const { return FDefaultActiveFontColor; }
    void SetDefaultActiveFontColor(TColor Value) { FDefaultActiveFontColor = Value; }
    const String& URL() const { return FURL; }
    void SetURL(const String& Value) { FURL = Value; }
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont.Assign(Value); }
    TbsSkinData* SkinData() const { return FSD; }
    // Stores the model; with one, ChangeSkinData.
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    bool MouseIn() const { return FMouseIn; }

    void GetSkinData();
    void ChangeSkinData();
    void Click() override;

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0;

protected:
    void DoDrawText(TRect& Rect, UINT Flags) override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FGlowEffect = false;
    int FGlowSize = 7;
    bool FMouseIn = false;
    int FIndex = -1;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"stdlabel";
    TFont FDefaultFont;
    bool FUseSkinFont = true;
    TColor FDefaultActiveFontColor = clBlue;
    String FURL;
    bool FUseUnderLine = true;
};
