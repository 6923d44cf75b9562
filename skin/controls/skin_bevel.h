// TbsSkinBevel: the framework's bevel drawn in the two colours of a bevel record of the skin
// (default "bevel"), the system highlight and shadow without one; in divider mode a two-pixel
// two-tone line across the middle with 2 pixels free at its ends. On a tool bar that centres its
// children it centres itself from SetBounds. A removed skin model is forgotten.
#pragma once

#include "platform/framework/controls/bevel.h"
#include "skin/controls/skin_change_client.h"
#include "skin/controls/skin_control.h"
#include "skin/controls/skin_tool_bar_item.h"
#include "skin/core/skin_data.h"

class TbsSkinBevel : public TBevel, public TbsSkinChangeClient, public TbsCentredChild, public TbsToolBarItem {
public:
    explicit TbsSkinBevel(TComponent* AOwner);
    ~TbsSkinBevel() override;

    TbsSkinData* SkinData() const { return FSD; }
    // Stores and runs ChangeSkinData, also for nullptr.
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    bool DividerMode() const { return FDividerMode; }
    void SetDividerMode(bool Value);
    int SkinIndex() const { return FIndex; }

    // The colours from the record (the system's without one), a repaint.
    void ChangeSkinData();
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }
    void ToolBarSkinData(TbsSkinData* Value) override { SetSkinData(Value); }

    TColor LightColor = clBtnHighlight, DarkColor = clBtnShadow;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"bevel";
    int FIndex = -1;
    bool FDividerMode = false;
};
