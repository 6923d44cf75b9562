// TbsSkinSplitter: the framework's splitter drawn from a "splitter" record ("hsplitter" for
// bars aligned top or bottom, "vsplitter" otherwise): a three-part picture along its length with
// an optional gripper in the middle; its thickness follows the skin. Without a record, aligned
// alNone or alClient, or with a record whose picture is not in the skin, it paints the framework's
// way. It keeps its own skin model; the skinned form's walk reaches it through
// TbsSkinChangeClient.
#pragma once

#include "platform/framework/controls/splitter.h"
#include "skin/controls/skin_change_client.h"
#include "skin/core/skin_data.h"

class TbsSkinSplitter : public TSplitter, public TbsSkinChangeClient {
public:
    explicit TbsSkinSplitter(TComponent* AOwner);
    ~TbsSkinSplitter() override;

    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    int DefaultSize() const { return FDefaultSize; }
    void SetDefaultSize(int Value) { FDefaultSize = Value; }
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    // Stores the model and always runs ChangeSkinData.
    void SetSkinData(TbsSkinData* Value);
    int SkinIndex() const { return FIndex; }

    void GetSkinData();
    // The thickness from the record (DefaultSize without one or when transparent), a repaint.
    void ChangeSkinData();

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

    TRect SkinRect{}, GripperRect{};
    TPoint LTPt{}, RTPt{}, LBPt{};
    bool StretchEffect = false, GripperTransparent = false;
    TColor GripperTransparentColor = 0;
    TBitmap* Picture = nullptr;

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FTransparent = false;
    int FDefaultSize = 10;
    String FSkinDataName = L"vsplitter";
    TbsSkinData* FSD = nullptr;
    int FIndex = -1;
};
