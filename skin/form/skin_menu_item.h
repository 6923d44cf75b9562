// One entry of a skinned menu level: wraps a framework menu item, keeps its highlight, open
// submenu and morph or frame-animation state, and paints it in one of three looks (built in, the
// skin's own item height, the skin look stretched to the default height). Also the three small
// vector glyphs (check mark, radio dot, submenu arrow) of the built-in look.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"

class TbsSkinPopupWindow;
class TbsDataSkinMenuItem;

class TbsSkinMenuItem : public TObject {
public:
    TbsSkinMenuItem(TbsSkinPopupWindow* AParent, TMenuItem* AMenuItem, TbsDataSkinMenuItem* AData);
    ~TbsSkinMenuItem() override = default;

    // Paints the entry at ObjectRect, in the look the record and the engine ask for.
    void Draw(TCanvas* Cnvs);
    void DefaultDraw(TCanvas* Cnvs);
    void ResizeDraw(TCanvas* Cnvs);

    // Kb: the keyboard or the level's own preselection moved the highlight.
    void MouseEnter(bool Kb);
    void MouseLeave();
    void MouseDown(int X, int Y);

    bool EnableMorphing() const;
    bool EnableAnimation() const;
    virtual bool CanMorphing();
    void DoMorphing();
    double MorphKf() const { return FMorphKf; }
    void SetMorphKf(double Value);
    // The repaint after a state change, animated where the skin asks for it.
    void UpdateLook();

    void DrawSkinCheck(TCanvas* Cnvs, const TRect& R, bool AActive);
    void DrawSkinRadio(TCanvas* Cnvs, const TRect& R, bool AActive);
    void DrawSkinArrow(TCanvas* Cnvs, const TRect& R, bool AActive);

    // Exactly "-".
    bool IsSeparator() const;
    // A disabled item whose caption begins and ends with "-" (other than a separator).
    bool IsHeader() const;

    TbsSkinPopupWindow* Parent;
    TbsDataSkinMenuItem* MI;
    TBitmap* ActivePicture = nullptr;
    double FMorphKf = 0;
    TMenuItem* MenuItem;
    TRect ObjectRect{};
    bool Active = false;
    bool Down = false;
    bool FVisible = true;
    bool WaitCommand = false;
    int CurrentFrame = 0;

private:
    void DrawSkinLook(TCanvas* Cnvs, bool Resize);
    void CreateItemImage(TBitmap* B, bool AActive, bool AFrame, bool Resize);
    void DrawHeaderItem(TCanvas* Cnvs, const TRect& R, bool Resize);
    void DrawSkinGlyph(TCanvas* Cnvs, const TRect& R, const TRect& Src);
    TRect GetAnimationFrameRect() const;
    // True when the entry has a picture of its own or one from the level's image list.
    bool HasImage(int& W, int& H) const;
    void DrawImage(TCanvas* Cnvs, int X, int Y, int W, int H, TColor FrameColor);
    void DrawNamedGlyph(TCanvas* Cnvs, int X, int Y, TColor Color, bool& Drawn) const;
    void ApplyFont(TFont* F, bool SkinFont) const;
};

// A check mark three pixels thick from (X, Y + 5) to (X + 2, Y + 7) to (X + 7, Y + 2).
void DrawCheckGlyph(TCanvas* Cnvs, int X, int Y, TColor Color);
// A right-pointing triangle 4 pixels wide and 7 high with its tip at (X + 3, Y + 3).
void DrawSubMenuArrow(TCanvas* Cnvs, int X, int Y, TColor Color);
// A filled dot in (X, Y, X + 6, Y + 6).
void DrawRadioGlyph(TCanvas* Cnvs, int X, int Y, TColor Color);
