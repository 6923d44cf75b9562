// The records' 32-bit images of skin pictures: button looks for a full layered border, and the
// layer frame's alpha sources.
#include "skin/core/object_records.h"
#include "skin/core/window_records.h"

// Until the skin bitmap class lands the records build no images.
void TbsDataSkinButton::FreeImage(TbsBitmap*& Slot) { Slot = nullptr; }
void TbsDataSkinButton::InitAlphaImage(TbsSkinData*, TbsBitmap*& Slot, int, const TRect&) { FreeImage(Slot); }
TbsDataSkinButton::~TbsDataSkinButton() = default;
void TbsDataSkinButton::InitAlphaImages(TbsSkinData*) {}
TbsDataSkinStdButton::~TbsDataSkinStdButton() = default;
void TbsDataSkinStdButton::InitAlphaImages(TbsSkinData* ASkinData) { TbsDataSkinButton::InitAlphaImages(ASkinData); }
TbsDataSkinLayerFrame::~TbsDataSkinLayerFrame() = default;
void TbsDataSkinLayerFrame::FreeSource(TbsBitmap*& Source) { Source = nullptr; }
void TbsDataSkinLayerFrame::BuildSource(TbsSkinData*, TbsBitmap*& Source, int, int) { FreeSource(Source); }
void TbsDataSkinLayerFrame::InitAlphaImages(TbsSkinData*) {}
