// The records' 32-bit images of skin pictures: the button looks a full layered border draws with,
// and the layer frame's alpha sources.
#include <memory>

#include "platform/framework/graphics/bitmap.h"
#include "platform/win/gdi_api.h"
#include "skin/core/color_filters.h"
#include "skin/core/object_records.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_data.h"
#include "skin/core/window_records.h"

namespace {

// The active picture at Index, or nullptr when the index is outside the skin's pictures.
TBitmap* ActivePicture(TbsSkinData* d, int Index)
{
    if (!d || Index < 0 || Index >= static_cast<int>(d->FActivePictures.size())) return nullptr;
    TBitmap* b = d->FActivePictures[static_cast<size_t>(Index)];
    return b->Empty() ? nullptr : b;
}

// Copies W x H pixels of Picture from (X, Y) into B at (0, 0); what lies outside the picture
// stays zero.
void CopyPicture(TbsBitmap* B, TBitmap* Picture, int X, int Y)
{
    BitBlt(B->DC(), 0, 0, B->Width(), B->Height(), Picture->Canvas()->Handle(), X, Y, SRCCOPY);
}

void FreeImage(TbsBitmap*& Slot)
{
    delete Slot;
    Slot = nullptr;
}

}  // namespace

// ---- button looks ----------------------------------------------------------------------------

TbsDataSkinButton::~TbsDataSkinButton()
{
    FreeImage(FAlphaNormalImage);
    FreeImage(FAlphaActiveImage);
    FreeImage(FAlphaDownImage);
    FreeImage(FAlphaInActiveImage);
}

void TbsDataSkinButton::InitAlphaImage(TbsSkinData* ASkinData, TbsBitmap*& Slot, int MaskIndex, const TRect& R)
{
    FreeImage(Slot);
    TBitmap* picture = ActivePicture(ASkinData, ActivePictureIndex);
    if (R.IsEmpty() || !picture) return;
    auto image = std::make_unique<TbsBitmap>();
    image->SetSize(R.Width(), R.Height());
    CopyPicture(image.get(), picture, R.Left, R.Top);
    if (TBitmap* maskPicture = ActivePicture(ASkinData, MaskIndex)) {
        // The mask's top-left part gives the alpha, whatever the rect; past a smaller mask it is 0.
        TbsBitmap mask;
        mask.SetSize(R.Width(), R.Height());
        CopyPicture(&mask, maskPicture, 0, 0);
        SetPremultipliedAlphaFromMask(image.get(), &mask);
    } else {
        image->SetAlphaBlend(true);
        image->SetAlpha(255);
    }
    Slot = image.release();
}

// Images are made only for a full layered border, whose frame draws the buttons itself.
static bool FullLayeredBorder(TbsSkinData* d)
{
    return d && d->LayerFrame->PictureIndex != -1 && d->LayerFrame->FullBorder;
}

void TbsDataSkinButton::InitAlphaImages(TbsSkinData* ASkinData)
{
    const bool full = FullLayeredBorder(ASkinData);
    auto image = [&](TbsBitmap*& Slot, int Mask, const TRect& R) {
        if (full)
            InitAlphaImage(ASkinData, Slot, Mask, R);
        else
            FreeImage(Slot);
    };
    image(FAlphaNormalImage, AlphaMaskPictureIndex, SkinRect);
    image(FAlphaActiveImage, AlphaMaskActivePictureIndex, ActiveSkinRect);
    image(FAlphaDownImage, AlphaMaskActivePictureIndex, DownRect);
    image(FAlphaInActiveImage, AlphaMaskInActivePictureIndex, InActiveSkinRect);
}

TbsDataSkinStdButton::~TbsDataSkinStdButton()
{
    FreeImage(FAlphaRestoreNormalImage);
    FreeImage(FAlphaRestoreActiveImage);
    FreeImage(FAlphaRestoreDownImage);
    FreeImage(FAlphaInActiveRestoreImage);
}

void TbsDataSkinStdButton::InitAlphaImages(TbsSkinData* ASkinData)
{
    TbsDataSkinButton::InitAlphaImages(ASkinData);
    const bool full = FullLayeredBorder(ASkinData);
    auto image = [&](TbsBitmap*& Slot, int Mask, const TRect& R) {
        if (full)
            InitAlphaImage(ASkinData, Slot, Mask, R);
        else
            FreeImage(Slot);
    };
    image(FAlphaRestoreNormalImage, AlphaMaskPictureIndex, RestoreRect);
    image(FAlphaRestoreActiveImage, AlphaMaskActivePictureIndex, RestoreActiveRect);
    image(FAlphaRestoreDownImage, AlphaMaskActivePictureIndex, RestoreDownRect);
    image(FAlphaInActiveRestoreImage, AlphaMaskInActivePictureIndex, RestoreInActiveRect);
}

// ---- layer frame sources ---------------------------------------------------------------------

TbsDataSkinLayerFrame::~TbsDataSkinLayerFrame()
{
    FreeImage(FSourceBitmap);
    FreeImage(FSourceInActiveBitMap);
}

void TbsDataSkinLayerFrame::BuildSource(TbsSkinData* ASkinData, TbsBitmap*& Source, int Picture, int Mask)
{
    FreeImage(Source);
    TBitmap* picture = ActivePicture(ASkinData, Picture);
    if (!picture) return;
    auto source = std::make_unique<TbsBitmap>();
    source->Assign(picture);
    if (TBitmap* maskPicture = ActivePicture(ASkinData, Mask)) {
        TbsBitmap mask;
        mask.Assign(maskPicture);
        SetAlphaFromMask(source.get(), &mask);
        source->CheckingAlphaBlend();
    } else {
        // Without a usable mask the frame is opaque rather than missing.
        source->SetAlphaBlend(true);
        source->SetAlpha(255);
    }
    Source = source.release();
}

void TbsDataSkinLayerFrame::InitAlphaImages(TbsSkinData* ASkinData)
{
    BuildSource(ASkinData, FSourceBitmap, PictureIndex, MaskPictureIndex);
    BuildSource(ASkinData, FSourceInActiveBitMap, InActivePictureIndex, InActiveMaskPictureIndex);
}
