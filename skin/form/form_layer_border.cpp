// The layered border's state as the form reads it. The windows and their images come with the
// layer frame support; until a skin gives a layer frame with a source, every operation is inert.
#include "skin/form/form_layer_border.h"

#include "skin/core/skin_data.h"
#include "skin/core/window_records.h"

TbsFormLayerBorder::TbsFormLayerBorder(TComponent* AOwner) : TComponent(AOwner) {}

TbsFormLayerBorder::~TbsFormLayerBorder() = default;

void TbsFormLayerBorder::InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm)
{
    FSD = ASkinData;
    FForm = AForm;
    FData = nullptr;
    LeftSize = TopSize = RightSize = BottomSize = 0;
}

void TbsFormLayerBorder::ShowWithForm() {}
void TbsFormLayerBorder::ShowWithFormAnimation() {}
void TbsFormLayerBorder::Hide() { FVisible = false; }
void TbsFormLayerBorder::SetBoundsWithForm() {}
void TbsFormLayerBorder::SetBoundsWithForm3(int, int, int, int) {}
void TbsFormLayerBorder::MoveWithForm() {}
void TbsFormLayerBorder::MoveWithForm2(int, int) {}
void TbsFormLayerBorder::CheckFormAlpha(int, bool) {}
void TbsFormLayerBorder::SetActive(bool AValue, bool) { FActive = AValue; }
void TbsFormLayerBorder::UpdateBorder() {}
bool TbsFormLayerBorder::FullBorder() const { return FData && FData->FullBorder; }
bool TbsFormLayerBorder::TopBorderOrigin(TPoint&) const { return false; }

bool IsFormLayerWindow(TCustomForm*) { return false; }
