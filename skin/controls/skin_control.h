// The two windowed bases of the skinned controls and the protocol they share with every skinned
// control: a control names a record of its skin model (SkinDataName), looks it up again by that
// exact name at every paint, SetBounds and ChangeSkinData (FIndex, -1 when there is none, never
// kept across a skin change), and paints its whole image into one control-sized bitmap - the
// built-in look without a record, the skin look with one - drawn in one step; nothing is erased.
//
// TbsSkinControl holds the model, the name, the index and that paint pipeline through TbsSkinLink
// (skin_link.h), which the graphic bases share.
// TbsSkinCustomControl adds the resizable picture look of a TbsDataSkinCustomControl record: it
// copies the record's nine-part geometry, works out the geometry for the current size (CalcSize,
// ResizeMode), composes the picture to that size, shapes the window with the record's mask and
// passes WM_SKIN_PARENTBGCHANGED to its children when its stretched background moved.
//
// A derived control: sets its defaults in its constructor (SkinDataName, size); in GetSkinData
// calls the base first and copies its own record fields when FIndex is not -1 and the record is
// of its class (else keeps the previous values); draws itself in CreateControlDefaultImage and
// CreateControlSkinImage; resets per-skin state after the base's ChangeSkinData; hides what it
// shows outside itself after the base's BeforeChangeSkinData; repaints in CheckParentBackground
// when it shows its parent's background.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_change_client.h"
#include "skin/controls/skin_link.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_types.h"

// A container that keeps its children vertically centred (the tool bar with AdjustControls):
// answers True with its client rectangle when it does.
class TbsCentringParent {
public:
    virtual ~TbsCentringParent() = default;
    virtual bool CentresChildren(TRect& ClientRect) = 0;
};

// A windowless skinned control that centres itself in such a container from its own SetBounds
// (the graphic skin bases); the container leaves it alone.
class TbsCentredChild {
public:
    virtual ~TbsCentredChild() = default;
};

// The top that centres a control of height AHeight in its parent when the parent centres its
// children; ATop otherwise.
int CentredTop(TWinControl* Parent, int ATop, int AHeight);

class TbsDataSkinCustomControl;

// The nine-part geometry of a TbsDataSkinCustomControl record as a control uses it; the windowed
// and the graphic custom bases share it.
struct TbsSkinGeometry {
    // Copies the record's points, rectangles and stretch settings and works out ResizeMode
    // (Picture is the caller's).
    void CopyGeometry(const TbsDataSkinCustomControl* Rec);
    // The record's sizing rule for a wished size: the size it allows and the geometry moved for
    // it (ResizeMode -1 changes nothing).
    void CalcGeometry(int& AWidth, int& AHeight);
    // The look whose rectangle in SB is R composed into B for a control of W x H by ResizeMode
    // (mode 0: B takes R's size).
    void ComposeSkinImage(TBitmap* B, TBitmap* SB, const TRect& R, int W, int H);

    // Geometry copied from the record, in its coordinates (from SkinRect's top-left).
    TPoint LTPt{}, RTPt{}, LBPt{}, RBPt{};
    TRect SkinRect{}, ClRect{};
    // Geometry for the current size.
    TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
    TRect NewClRect{};
    // An active picture of the model, borrowed; nullptr when the record names none.
    TBitmap* Picture = nullptr;
    // -1 no look, 0 fixed size, 1 nine-part, 2 three-part across, 3 three-part down.
    int ResizeMode = 0;
    bool StretchEffect = false;
    TbsStretchType StretchType = bsstFull;
    bool LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
};

// The built-in look's font and size of a custom skinned control, used while its skin has no record
// for it; the windowed and the graphic custom bases share it.
class TbsSkinDefaults {
public:
    explicit TbsSkinDefaults(TControl* Control);
    virtual ~TbsSkinDefaults();
    TbsSkinDefaults(const TbsSkinDefaults&) = delete;
    TbsSkinDefaults& operator=(const TbsSkinDefaults&) = delete;

    TFont* DefaultFont() const { return FDefaultFont; }
    // Copies the font, then ApplyDefaultFont.
    void SetDefaultFont(TFont* Value);
    int DefaultWidth() const { return FDefaultWidth; }
    // Sets the width too while there is no record (a value above 0).
    void SetDefaultWidth(int Value);
    int DefaultHeight() const { return FDefaultHeight; }
    void SetDefaultHeight(int Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

    // Runs whenever DefaultFont changes; list and combo boxes copy it into their own font.
    virtual void ApplyDefaultFont() {}

protected:
    // True while the control has its skin's record (FIndex not -1).
    virtual bool HasSkinRecord() const = 0;
    // The default width and height, each where it is above 0 (a skin without the record).
    void ApplyDefaultSize();

    int FDefaultWidth = 0, FDefaultHeight = 0;
    TFont* FDefaultFont = nullptr;
    bool FUseSkinFont = true;

private:
    void DefaultFontChanged();

    TControl* FControl;
};

class TbsSkinControl : public TCustomControl, public TbsSkinChangeClient, public TbsSkinLink {
public:
    explicit TbsSkinControl(TComponent* AOwner);

    // Stores the reference; with a model that is not empty, ChangeSkinData.
    virtual void SetSkinData(TbsSkinData* Value);
    // Stores the name only; the next GetSkinData uses it.
    virtual void SetSkinDataName(const String& Value);

    // GetSkinData, then an immediate repaint.
    virtual void ChangeSkinData();
    // FIndex := -1 until the new skin is applied.
    virtual void BeforeChangeSkinData();
    // Nothing runs it; kept for descendants that name it.
    virtual void AfterChangeSkinData() {}
    // WM_SKIN_PARENTBGCHANGED: the background behind the control changed.
    virtual void CheckParentBackground() {}

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeBegin() override { BeforeChangeSkinData(); }
    void SkinChangeEnd() override { ChangeSkinData(); }
    bool SkinCancelModeClient() const override { return true; }

protected:
    void Paint() override;
    void Dispatch(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The window region last handed to the window, or nullptr. The window owns it: the control
    // only tests it and never deletes or reuses it.
    HRGN FRgn = nullptr;

    bool FromWMPaint = false;
};

class TbsSkinCustomControl : public TbsSkinControl, public TbsSkinGeometry, public TbsSkinDefaults {
public:
    explicit TbsSkinCustomControl(TComponent* AOwner);
    bool ForcebackGround() const { return FForceBackground; }
    void SetForcebackGround(bool Value) { FForceBackground = Value; }
    bool DrawbackGround() const { return FDrawbackground; }
    void SetDrawbackGround(bool Value) { FDrawbackground = Value; }

    TRect RealClientRect() const { return NewClRect; }
    int RealClientWidth() const { return NewClRect.Right - NewClRect.Left; }
    int RealClientHeight() const { return NewClRect.Bottom - NewClRect.Top; }
    int RealClientLeft() const { return NewClRect.Left; }
    int RealClientTop() const { return NewClRect.Top; }

    void GetSkinData() override;
    void ChangeSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // The size the record allows for a wished size, and the new geometry for it.
    virtual void CalcSize(int& AWidth, int& AHeight);
    // Sets or removes the window region from the record's mask.
    virtual void SetControlRegion();

    // WM_SKIN_PARENTBGCHANGED to every child in child order: sent to a windowed child, performed
    // on a graphic one.
    void CheckControlsBackground();
    // Composes the look whose rectangle in SB is R into B by ResizeMode.
    void CreateSkinControlImage(TBitmap* B, TBitmap* SB, const TRect& R);
    // A rectangle in the record's coordinates mapped into the control's at the current size.
    void MapSkinRect(const TRect& R, TRect& R2);

    // The record's mask picture, borrowed; nullptr when the record names none.
    TBitmap* MaskPicture = nullptr;

protected:
    void Paint() override;
    // A new window gets the record's region again.
    void CreateWnd() override;
    // The client rectangle of B filled with clBtnFace.
    void CreateControlDefaultImage(TBitmap* B) override;
    // The record's look composed to the control's size (Picture, SkinRect).
    void CreateControlSkinImage(TBitmap* B) override;
    bool HasSkinRecord() const override { return FIndex != -1; }

    bool FForceBackground = false;
    bool FDrawbackground = true;

private:
    // The ForcebackGround look: border images and the client piece straight onto the canvas.
    void PaintForcedBackground();
};
