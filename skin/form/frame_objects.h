// The frame objects of a skinned form: the pieces of its caption and borders that the mouse can
// reach. TbsActiveSkinObject is their base (state, look choice, morphing between the normal and
// the hover look, glow layer, the object events); TbsUserObject is an area the application paints;
// TbsSkinButtonObject a pushable frame button with an optional menu; TbsSkinStdButtonObject a
// caption button that runs a window command (close, maximize, minimize, system menu, roll-up,
// minimize to tray), with a built-in look when the skin has none.
//
// The form (TbsSkinForm) owns them in its ObjectList, places them (ObjectRect, window
// coordinates), draws them while it composes the frame (Draw with UpDate false: the frame picture
// under the object is already there) or alone (DrawSkinObject, UpDate true), routes the mouse to
// them and steps their morph on its 25 ms timer. The objects call back on the form for redraws,
// the window commands, menus and events.
#pragma once

#include "platform/framework/controls/control_types.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/object_records.h"
#include "skin/core/skin_types.h"

class TbsSkinForm;
class TbsSkinData;
class TbsBitmap;

class TbsActiveSkinObject : public TObject {
public:
    // AData nullptr: an object without a record (every rectangle empty, no pictures).
    TbsActiveSkinObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    // X, Y relative to ObjectRect's top-left: inside the object's shape (its mask picture).
    virtual bool PointInMask(int X, int Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    // A morph step is due: hovered below 1, or left above 0.
    virtual bool CanMorphing();
    virtual void Draw(TCanvas* Cnvs, bool UpDate);
    // Onto the full-border layered frame's 32-bit top image.
    virtual void DrawAlpha(TCanvas* /*Cnvs*/, TbsBitmap* /*ABitMap*/) {}
    virtual void DblClick() {}
    virtual void MouseDown(int X, int Y, TMouseButton Button);
    virtual void MouseUp(int X, int Y, TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // Morphing is on for this object and its skin.
    bool EnableMorphing();
    // One step of 0.2 towards the look of the current state, then a redraw.
    void DoMorphing();
    double MorphKf() const { return FMorphKf; }
    // Clamped to 0..1.
    void SetMorphKf(double Value);
    // After a hover or press change: the morph timer runs, or the object is redrawn at once.
    void UpdateLook();
    // The object redrawn in place on the window (the form's DrawSkinObject).
    void Redraw();
    // ObjectRect in screen coordinates (glow layers, menus).
    virtual TRect ScreenRect();

    TbsSkinForm* Parent;
    double FMorphKf = 0;
    bool FMouseIn = false;
    TBitmap* Picture = nullptr;
    TBitmap* ActivePicture = nullptr;
    TBitmap* ActiveMaskPicture = nullptr;
    TbsSkinData* SD = nullptr;
    String IDName;
    String Hint;
    TRect SkinRect{}, ActiveSkinRect{}, InActiveSkinRect{};
    TRect ObjectRect{};
    bool Active = false;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool Enabled = true;
    bool Visible = true;
    bool SkinRectInAPicture = false;
    int GlowLayerPictureIndex = -1;
    int GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0, GlowLayerOffsetY = 0;
    int GlowLayerAlphaBlendValue = 255;

protected:
    // The skin is present and holds a skin.
    bool HasSkin() const;
    // Copies SrcRect of Src into ObjectRect (stretched when the sizes differ).
    void CopyLook(TCanvas* Cnvs, TBitmap* Src, const TRect& SrcRect);
    // The morph between two looks of ActivePicture (or Picture for a normal look on the frame)
    // at FMorphKf, drawn at ObjectRect's top-left.
    void DrawMorph(TCanvas* Cnvs, TBitmap* NormalSrc, const TRect& NormalRect, const TRect& HotRect);
    // Morphing and a transition under way.
    bool InTransition();
    // The glow layer manager this object uses.
    virtual class TbsLayerManager* GlowManager();
};

// An area of the frame the application paints itself (the form's OnPaintEvent).
class TbsUserObject : public TbsActiveSkinObject {
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
};

class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
    TbsSkinButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool Down() const { return FDown; }
    void SetDown(bool Value);
    // Opens the linked menu beside the button.
    void PopupObjectMenu();

    bool FDown = false;
    bool FPopupUp = false;
    TRect DisableSkinRect{}, DownRect{};
    TMenuItem* MenuItem = nullptr;

protected:
    TbsLayerManager* GlowManager() override;
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject {
public:
    TbsSkinStdButtonObject(TbsSkinForm* AParent, TbsDataSkinObject* AData);

    bool PointInMask(int X, int Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(TCanvas* Cnvs, bool UpDate) override;
    void DrawAlpha(TCanvas* Cnvs, TbsBitmap* ABitMap) override;
    void DblClick() override;
    void MouseDown(int X, int Y, TMouseButton Button) override;
    void MouseUp(int X, int Y, TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // The built-in look (no skin record).
    void DefaultDraw(TCanvas* Cnvs);
    // The state the button toggles is on: it shows its restore look.
    bool RestoreLook();
    // The system-menu button showing the form's icon.
    bool IconMode(bool WithSkinSupport = false);

    TbsBitmap* FAlphaNormalImage = nullptr;
    TbsBitmap* FAlphaActiveImage = nullptr;
    TbsBitmap* FAlphaDownImage = nullptr;
    TbsBitmap* FAlphaRestoreNormalImage = nullptr;
    TbsBitmap* FAlphaRestoreActiveImage = nullptr;
    TbsBitmap* FAlphaRestoreDownImage = nullptr;
    TbsBitmap* FAlphaInActiveImage = nullptr;
    TbsBitmap* FAlphaInActiveRestoreImage = nullptr;
    bool FSkinSupport = false;
    TbsStdCommand Command = cmClose;
    TRect RestoreRect{}, RestoreActiveRect{}, RestoreInActiveRect{}, RestoreDownRect{};
    String RestoreHint;
    String FTempHint;

private:
    void ExecuteCommand();
};

// The window commands caption buttons share (close, maximize, minimize, roll-up, minimize to
// tray): the object under the mouse is dropped first (not for roll-up), and with HideGlow the
// glow layer goes before the window changes. False for the commands each class runs itself.
bool RunWindowCommand(TbsActiveSkinObject* O, TbsStdCommand Command, bool HideGlow);

// The hint a caption button shows now: RestoreHint while the state it toggles is on.
String CaptionButtonHint(TbsSkinForm* Form, TbsStdCommand Command, const String& RestoreHint, const String& TempHint);
