#include "tools/skin_builder/skin_design.h"

#include <memory>

#include "platform/framework/graphics/bitmap.h"
#include "skin/core/control_records.h"
#include "skin/core/object_records.h"
#include "skin/core/window_records.h"
#include "tools/skin_builder/design_parts.h"

const wchar_t* const kDefaultSkinName = L"Vexmora Light";
const wchar_t* const kDefaultSkinIni = L"skin.ini";

namespace {

void SetPicture(TBitmap* Target, TBitmap* Made)
{
    std::unique_ptr<TBitmap> made(Made);
    Target->Assign(made.get());
}

void AddPicture(TbsSkinData& S, const wchar_t* Name, TBitmap* Made)
{
    S.FActivePictures.push_back(Made);
    S.FActivePicturesNames->Add(Name);
}

void SetColors(TbsSkinColors* C)
{
    using namespace palette;
    C->SetcBtnFace(ToColor(Face));
    C->SetcBtnText(ToColor(Text));
    C->SetcWindow(ToColor(White));
    C->SetcWindowText(ToColor(Text));
    C->SetcHighLight(ToColor(Accent));
    C->SetcHighLightText(ToColor(White));
    C->SetcBtnHighLight(ToColor(White));
    C->SetcBtnShadow(ToColor(Shadow));
}

}  // namespace

void BuildDefaultSkin(TbsSkinData& Skin)
{
    Skin.ClearAll();
    Skin.SkinName = kDefaultSkinName;
    Skin.SkinAuthor = L"vexmora";
    Skin.SkinComments = L"Drawn in code by tools/skin_builder.";

    SkinSheets sheets;
    DesignFrame(Skin, sheets);
    DesignControls(Skin, sheets);

    SetPicture(Skin.FPicture, sheets.Form.ToBitmap());
    SetPicture(Skin.FMask, sheets.Form.ToMask());
    Skin.FPictureName = L"form.bmp";
    Skin.FMaskName = L"mask.bmp";
    // In the order of ActivePicture.
    AddPicture(Skin, L"frame.bmp", sheets.Objects.ToBitmap());
    AddPicture(Skin, L"controls.bmp", sheets.Controls.ToBitmap());
    AddPicture(Skin, L"popup.bmp", sheets.Popup.ToBitmap());
    AddPicture(Skin, L"popupmask.bmp", sheets.Popup.ToMask());
    AddPicture(Skin, L"hint.bmp", sheets.Hint.ToBitmap());
    AddPicture(Skin, L"hintmask.bmp", sheets.Hint.ToMask());
    SetColors(Skin.FSkinColors);

    // As a load would: no layered frame, so the button records build no alpha images.
    Skin.LayerFrame->InitAlphaImages(&Skin);
    for (TbsDataSkinObject* o : Skin.ObjectList) o->InitAlphaImages(&Skin);
    Skin.Empty = false;
}
