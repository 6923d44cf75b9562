// The two windowless bases of the skinned controls, the twins of TbsSkinControl and
// TbsSkinCustomControl (skin_control.h) for controls without a window of their own: the same
// record protocol (a SkinDataName looked up again at every paint and SetBounds, FIndex -1 for the
// built-in look) and the same paint pipeline (the whole look composed into one control-sized
// bitmap, drawn in one step), without a window region and without the parent-background pass.
//
// TbsGraphicSkinControl holds the model, the name, the index and the pipeline through TbsSkinLink.
// TbsGraphicSkinCustomControl adds the nine-part geometry of a TbsDataSkinCustomControl record,
// the sizing rule it imposes (ResizeMode), a default size and font for a skin without the record,
// and vertical centring on a tool bar that centres its children (from SetBounds, whatever top is
// asked).
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_control.h"
#include "skin/core/marks.h"
#include "skin/core/skin_data.h"

class TbsGraphicSkinControl : public TGraphicControl,
                              public TbsSkinChangeClient,
                              public TbsCentredChild,
                              public TbsSkinLink {
public:
    explicit TbsGraphicSkinControl(TComponent* AOwner);

    // Stores the reference; with a model that is not empty, ChangeSkinData.
    virtual void SetSkinData(TbsSkinData* Value);
    // Stores the name only; the next paint uses it.
    virtual void SetSkinDataName(const String& Value) { FSkinDataName = Value; }

    // GetSkinData, then a repaint.
    virtual void ChangeSkinData();
    virtual void BeforeChangeSkinData() { FIndex = -1; }

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

protected:
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
};

class TbsGraphicSkinCustomControl : public TbsGraphicSkinControl, public TbsSkinGeometry, public TbsSkinDefaults {
public:
    explicit TbsGraphicSkinCustomControl(TComponent* AOwner);

    TRect RealClientRect() const { return NewClRect; }
    int RealClientWidth() const { return RectWidth(NewClRect); }
    int RealClientHeight() const { return RectHeight(NewClRect); }
    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }

    void GetSkinData() override;
    // Resizes to what the record allows (to the default size without one), then repaints.
    void ChangeSkinData() override;
    // The record's sizing rule for a new size (not for the current one), centred on a tool bar
    // that centres its children; a repaint only when the size changed.
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    virtual void CalcSize(int& AWidth, int& AHeight);
    // Composes the look whose rectangle in SB is R into B by ResizeMode.
    void CreateSkinControlImage(TBitmap* B, TBitmap* SB, const TRect& R)
    {
        ComposeSkinImage(B, SB, R, Width(), Height());
    }

protected:
    // The client rectangle of B filled with clBtnFace.
    void CreateControlDefaultImage(TBitmap* B) override;
    // The record's look composed to the control's size; nothing without a picture.
    void CreateControlSkinImage(TBitmap* B) override;
    bool HasSkinRecord() const override { return FIndex != -1; }
};
