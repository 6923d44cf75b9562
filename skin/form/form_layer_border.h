// The layered border of a skinned form: a skin's layer frame picture (shadow, glow, or the whole
// frame with caption and caption buttons) shown as four layered windows around the form, which
// follow it as it moves, sizes, changes activation and fades in. The form owns one and calls it
// only while LayeredBorderEnabled holds; without a layer frame record every operation returns
// at once.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/forms/forms.h"

class TbsSkinData;
class TbsSkinForm;
class TbsDataSkinLayerFrame;

class TbsFormLayerBorder : public TComponent {
public:
    explicit TbsFormLayerBorder(TComponent* AOwner);
    ~TbsFormLayerBorder() override;

    // Takes the skin's layer frame record (none for an empty skin or a frame without source).
    void InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm);
    // The four windows shown around the form, at the current alpha.
    void ShowWithForm();
    void ShowWithFormAnimation();
    void Hide();
    // The windows placed around the form's bounds (new images first).
    void SetBoundsWithForm();
    void SetBoundsWithForm3(int ALeft, int ATop, int AWidth, int AHeight);
    // The windows moved with the form, images unchanged.
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    // The alpha the windows show at for the form's alpha (AUpdate: republished at once).
    void CheckFormAlpha(int AAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    // The full border's caption and buttons drawn again.
    void UpdateBorder();
    // A full border whose frame record is present.
    bool FullBorder() const;
    // The screen position of the top border window while it shows; false without one.
    bool TopBorderOrigin(TPoint& P) const;

    TbsSkinForm* BSF = nullptr;
    TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;
    TbsDataSkinLayerFrame* FData = nullptr;
    int LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1, FCurrentInActiveAlphaBlendValue = -1;
};

// One of the border's own windows (they are forms, but no form of the application).
bool IsFormLayerWindow(TCustomForm* AForm);
