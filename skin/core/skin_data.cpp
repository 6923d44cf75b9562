#include "skin/core/skin_data.h"

#include <algorithm>
#include <memory>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/screen.h"
#include "platform/win/user_api.h"
#include "skin/core/button_records.h"
#include "skin/core/control_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/object_records.h"
#include "skin/core/panel_records.h"
#include "skin/core/range_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_files.h"
#include "skin/core/skin_messages.h"
#include "skin/core/stored_skin.h"
#include "skin/core/tab_grid_records.h"
#include "skin/core/view_menu_records.h"
#include "skin/core/window_records.h"

TbsSkinData::TbsSkinData(TComponent* AOwner)
    : TComponent(AOwner),
      FPicture(new TBitmap),
      FInActivePicture(new TBitmap),
      FMask(new TBitmap),
      FActivePicturesNames(new TStringList),
      PopupWindow(new TbsDataSkinPopupWindow),
      LayerFrame(new TbsDataSkinLayerFrame),
      HintWindow(new TbsDataSkinHintWindow),
      FSkinColors(new TbsSkinColors)
{}

TbsSkinData::~TbsSkinData()
{
    Empty = true;
    ClearObjects();
    delete FPicture;
    delete FInActivePicture;
    delete FMask;
    delete FActivePicturesNames;
    delete PopupWindow;
    delete LayerFrame;
    delete HintWindow;
    delete FSkinColors;
}

// ---- clearing --------------------------------------------------------------------------------

void TbsSkinData::ClearObjects()
{
    for (TbsDataSkinObject* r : ObjectList) delete r;
    ObjectList.clear();
    for (TbsDataSkinControl* r : CtrlList) delete r;
    CtrlList.clear();
    for (TBitmap* b : FActivePictures) delete b;
    FActivePictures.clear();
    LayerFrame->PictureIndex = -1;
    LayerFrame->InActivePictureIndex = -1;
    LayerFrame->InitAlphaImages(this);
    PopupWindow->WindowPictureIndex = -1;
    HintWindow->WindowPictureIndex = -1;
    FActivePicturesNames->Clear();
    FSkinColors->SetColorsToDefault();
}

void TbsSkinData::ClearAll()
{
    ClearObjects();
    FPicture->SetSize(0, 0);
    FMask->SetSize(0, 0);
    FInActivePicture->SetSize(0, 0);
    FPictureName.clear();
    FMaskName.clear();
    FInActivePictureName.clear();
    Empty = true;
}

void TbsSkinData::ClearSkin()
{
    ClearAll();
    SendSkinDataMessage(WM_SKINDATA_BEFORECHANGE);
    SendSkinDataMessage(WM_SKINDATA_CHANGE);
    SendSkinDataMessage(WM_SKINDATA_AFTERCHANGE);
}

// ---- loading ---------------------------------------------------------------------------------

void TbsSkinData::BeginLoad()
{
    Empty = true;
    ChangeSkinDataProcess = true;
    SendSkinDataMessage(WM_SKINDATA_BEFORECHANGE);
    ClearAll();
}

void TbsSkinData::EndLoad()
{
    Empty = false;
    if (OnLoadData) OnLoadData(this);
    SendSkinDataMessage(WM_SKINDATA_CHANGE);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_SKINDATA_AFTERCHANGE);
}

void TbsSkinData::FailLoad()
{
    ClearAll();
    SendSkinDataMessage(WM_SKINDATA_CHANGE);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_SKINDATA_AFTERCHANGE);
}

void TbsSkinData::ReadSkinParts(TCustomIniFile* IniFile)
{
    ReadFormInfo(IniFile);
    PopupWindow->LoadFromFile(IniFile);
    LayerFrame->LoadFromFile(IniFile);
    LayerFrame->InitAlphaImages(this);
    HintWindow->LoadFromFile(IniFile);
    FSkinColors->LoadFromFile(IniFile);
    ReadSkinObjects(IniFile);
    ReadSkinControls(IniFile);
}

namespace {

void ReadIdentity(TbsSkinData* d, TCustomIniFile* ini)
{
    d->SkinName = ini->ReadString(L"VERSION", L"skinname", String());
    d->SkinAuthor = ini->ReadString(L"VERSION", L"skinauthor", String());
    d->AuthorEmail = ini->ReadString(L"VERSION", L"authoremail", String());
    d->AuthorURL = ini->ReadString(L"VERSION", L"authorurl", String());
    d->SkinComments = ini->ReadString(L"VERSION", L"skincomments", String());
    d->FPictureName = ini->ReadString(L"PICTURES", L"picture", String());
    d->FInActivePictureName = ini->ReadString(L"PICTURES", L"inactivepicture", String());
    d->FMaskName = ini->ReadString(L"PICTURES", L"mask", String());
}

}  // namespace

void TbsSkinData::LoadFromFile(const String& FileName)
{
    // A missing file reads as a text without sections: not a skin, so the current one stays.
    TMemIniFile ini(FileName);
    if (!SkinIniCheck(&ini)) return;
    BeginLoad();
    try {
        const String folder = ExtractFilePath(FileName);
        ReadIdentity(this, &ini);
        if (!FPictureName.empty()) FPicture->LoadFromFile(ResolveSkinFile(folder, FPictureName));
        if (!FInActivePictureName.empty())
            FInActivePicture->LoadFromFile(ResolveSkinFile(folder, FInActivePictureName));
        if (!FMaskName.empty()) FMask->LoadFromFile(ResolveSkinFile(folder, FMaskName));
        ReadStrings(&ini, L"PICTURES", L"activepictures", FActivePicturesNames);
        for (int i = 0; i < FActivePicturesNames->Count(); ++i) {
            CheckSkinPictureName(FActivePicturesNames->Get(i), i);
            FActivePictures.push_back(new TBitmap);
            FActivePictures.back()->LoadFromFile(ResolveSkinFile(folder, FActivePicturesNames->Get(i)));
        }
        ReadSkinParts(&ini);
        EndLoad();
    } catch (...) {
        FailLoad();
        throw;
    }
}

void TbsSkinData::ReadPayload(TMemoryStream& Payload)
{
    Payload.SetPosition(0);
    int32_t version = 0;
    Payload.ReadBuffer(&version, 4);
    uint64_t budget = MaxStoredSkinPixels;
    auto readFlagged = [&Payload, &budget](TBitmap* b) {
        uint8_t empty = 0;
        Payload.ReadBuffer(&empty, 1);
        if (empty)
            b->SetSize(0, 0);
        else
            ReadStoredBitmap(Payload, b, budget);
    };
    readFlagged(FPicture);
    readFlagged(FInActivePicture);
    readFlagged(FMask);
    if (version == 2) {
        TBitmap discarded;
        readFlagged(&discarded);
        readFlagged(&discarded);
    }
    int32_t count = 0;
    Payload.ReadBuffer(&count, 4);
    // Every stored bitmap takes at least a file and a core header.
    const int64_t left = Payload.Size() - Payload.Position();
    if (count > 0 && count > left / 26)
        throw EbsSkinDataError(L"Skin data names " + IntToStr(count) + L" pictures but holds only " + IntToStr(left) +
                               L" bytes for them");
    for (int32_t i = 0; i < count; ++i) {
        FActivePictures.push_back(new TBitmap);
        ReadStoredBitmap(Payload, FActivePictures.back(), budget);
    }
    const int64_t at = Payload.Position();
    const std::string text(reinterpret_cast<const char*>(Payload.Data().data()) + at,
                           static_cast<size_t>(Payload.Size() - at));
    TMemIniFile ini(String{});
    SetSkinIniText(ini, text);
    ReadIdentity(this, &ini);
    ReadStrings(&ini, L"PICTURES", L"activepictures", FActivePicturesNames);
    ReadSkinParts(&ini);
}

void TbsSkinData::LoadCompressedStoredSkin(TbsCompressedStoredSkin* AStoredSkin)
{
    if (!AStoredSkin || AStoredSkin->Empty()) return;
    // The whole payload and its version are checked before any form hears of a change.
    TMemoryStream payload;
    AStoredSkin->DeCompressToStream(payload);
    int32_t version = 0;
    if (payload.Size() < 4) throw EbsSkinDataError(L"Skin data is too short to hold a version");
    std::copy_n(payload.Data().data(), 4, reinterpret_cast<uint8_t*>(&version));
    if (version > 3) throw EbsSkinDataError(L"Skin data version " + IntToStr(version) + L" is not supported");
    BeginLoad();
    try {
        ReadPayload(payload);
        EndLoad();
    } catch (...) {
        FailLoad();
        throw;
    }
}

void TbsSkinData::LoadFromCompressedFile(const String& FileName)
{
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromCompressFile(FileName);
    if (!stored.Empty()) LoadCompressedStoredSkin(&stored);
}

// ---- saving ----------------------------------------------------------------------------------

void TbsSkinData::SaveToFile(const String& FileName)
{
    TMemIniFile ini(FileName);
    WriteSkin(&ini);
    WriteSkinFile(FileName, SkinIniBytes(ini));
}

void TbsSkinData::StoreToDisk(const String& AFileName)
{
    SaveToFile(AFileName);
    const String folder = ExtractFilePath(AFileName);
    const std::pair<TBitmap*, const String*> pictures[] = {
        {FPicture, &FPictureName}, {FInActivePicture, &FInActivePictureName}, {FMask, &FMaskName}};
    for (auto& [bitmap, name] : pictures)
        if (!bitmap->Empty() && !name->empty()) WriteSkinBitmap(SkinStorePath(folder, *name), bitmap);
    const size_t n = std::min(FActivePictures.size(), static_cast<size_t>(FActivePicturesNames->Count()));
    for (size_t i = 0; i < n; ++i)
        if (!FActivePictures[i]->Empty())
            WriteSkinBitmap(SkinStorePath(folder, FActivePicturesNames->Get(static_cast<int>(i))), FActivePictures[i]);
}

void TbsSkinData::SaveToCompressedFile(const String& FileName)
{
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinData(this);
    stored.SaveToCompressFile(FileName);
}

// ---- look-ups, pictures and fonts ------------------------------------------------------------

int TbsSkinData::GetIndex(const String& AIDName) const
{
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return static_cast<int>(i);
    return -1;
}

int TbsSkinData::GetControlIndex(const String& AIDName) const
{
    for (size_t i = 0; i < CtrlList.size(); ++i)
        if (CtrlList[i]->IDName == AIDName) return static_cast<int>(i);
    return -1;
}

void TbsSkinData::AddBitMap(const String& FileName)
{
    auto b = std::make_unique<TBitmap>();
    b->LoadFromFile(FileName);
    FActivePicturesNames->Add(ExtractFileName(FileName));
    FActivePictures.push_back(b.release());
}

void TbsSkinData::DeleteBitMap(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(FActivePictures.size()))
        throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
    if (Index < FActivePicturesNames->Count()) FActivePicturesNames->Delete(Index);
    delete FActivePictures[static_cast<size_t>(Index)];
    FActivePictures.erase(FActivePictures.begin() + Index);
}

void TbsSkinData::GlobalChangeFont(const String& ANewFontName, int AFontHeightCorrection)
{
    auto change = [&](String& name, int& height) {
        name = ANewFontName;
        height += AFontHeightCorrection;
    };
    change(HintWindow->FontName, HintWindow->FontHeight);
    for (TbsDataSkinObject* o : ObjectList) {
        if (auto* m = dynamic_cast<TbsDataSkinMenuItem*>(o))
            change(m->FontName, m->FontHeight);
        else if (auto* b = dynamic_cast<TbsDataSkinMainMenuBarItem*>(o))
            change(b->FontName, b->FontHeight);
        else if (auto* c = dynamic_cast<TbsDataSkinCaption*>(o))
            change(c->FontName, c->FontHeight);
    }
    // Each control record by the first of these classes it belongs to.
    for (TbsDataSkinControl* r : CtrlList) {
        if (auto* tv = dynamic_cast<TbsDataSkinTreeView*>(r)) {
            change(tv->FontName, tv->FontHeight);
        } else if (auto* lv = dynamic_cast<TbsDataSkinListView*>(r)) {
            change(lv->FontName, lv->FontHeight);
        } else if (auto* re = dynamic_cast<TbsDataSkinRichEdit*>(r)) {
            change(re->FontName, re->FontHeight);
        } else if (auto* tab = dynamic_cast<TbsDataSkinTabControl*>(r)) {
            change(tab->FontName, tab->FontHeight);
        } else if (auto* grid = dynamic_cast<TbsDataSkinGridControl*>(r)) {
            change(grid->FontName, grid->FontHeight);
            change(grid->FixedFontName, grid->FixedFontHeight);
        } else if (auto* am = dynamic_cast<TbsDataSkinAppMenu*>(r)) {
            change(am->FontName, am->FontHeight);
        } else if (auto* cb = dynamic_cast<TbsDataSkinComboBox*>(r)) {
            change(cb->FontName, cb->FontHeight);
        } else if (auto* lb = dynamic_cast<TbsDataSkinListBox*>(r)) {
            change(lb->FontName, lb->FontHeight);
            change(lb->CaptionFontName, lb->CaptionFontHeight);
        } else if (auto* se = dynamic_cast<TbsDataSkinSpinEditControl*>(r)) {
            change(se->FontName, se->FontHeight);
        } else if (auto* ed = dynamic_cast<TbsDataSkinEditControl*>(r)) {
            change(ed->FontName, ed->FontHeight);
        } else if (auto* sl = dynamic_cast<TbsDataSkinStdLabelControl*>(r)) {
            change(sl->FontName, sl->FontHeight);
        } else if (auto* la = dynamic_cast<TbsDataSkinLabelControl*>(r)) {
            change(la->FontName, la->FontHeight);
        } else if (auto* ga = dynamic_cast<TbsDataSkinGaugeControl*>(r)) {
            change(ga->FontName, ga->FontHeight);
        } else if (auto* bu = dynamic_cast<TbsDataSkinButtonControl*>(r)) {
            change(bu->FontName, bu->FontHeight);
        } else if (auto* cr = dynamic_cast<TbsDataSkinCheckRadioControl*>(r)) {
            change(cr->FontName, cr->FontHeight);
        } else if (auto* pa = dynamic_cast<TbsDataSkinPanelControl*>(r)) {
            change(pa->FontName, pa->FontHeight);
        } else if (auto* ep = dynamic_cast<TbsDataSkinExPanelControl*>(r)) {
            change(ep->FontName, ep->FontHeight);
        }
    }
}

// ---- notices ---------------------------------------------------------------------------------

void TbsSkinData::SendSkinDataMessage(UINT M)
{
    const auto wp = reinterpret_cast<WPARAM>(this);
    TCustomForm* first = nullptr;
    if (auto* owner = dynamic_cast<TCustomForm*>(Owner()); owner && !FShowLayeredBorders) {
        SendMessageW(owner->Handle(), M, wp, SKINDATA_LPARAM);
        first = owner;
    }
    // Handles first, so a form that goes away during a send is not touched afterwards.
    std::vector<HWND> forms;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f == first || f->ClassName() == L"TbsFormLayerWindow") continue;
        forms.push_back(f->Handle());
    }
    if (FShowLayeredBorders && LayerFrame->PictureIndex != -1) std::reverse(forms.begin(), forms.end());
    for (HWND h : forms) SendMessageW(h, M, wp, SKINDATA_LPARAM);
}

// ---- properties ------------------------------------------------------------------------------

void TbsSkinData::SetSkinnableForm(bool v)
{
    if (v == FSkinnableForm) return;
    FSkinnableForm = v;
    if (!(ComponentState() & csLoading)) SendSkinDataMessage(WM_SKINDATA_SKINNABLECHANGED);
}

void TbsSkinData::SetShowLayeredBorders(bool v)
{
    if (v == FShowLayeredBorders) return;
    FShowLayeredBorders = v;
    if (!(ComponentState() & csLoading)) SendSkinDataMessage(WM_SKINDATA_LAYERCHANGED);
}

void TbsSkinData::SetAeroBlurEnabled(bool v)
{
    if (v == FAeroBlurEnabled) return;
    FAeroBlurEnabled = v;
    if (!(ComponentState() & csLoading)) SendSkinDataMessage(WM_SKINDATA_BLURCHANGED);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* v)
{
    FResourceStrData = v;
    if (v) v->FreeNotification(this);
    SendSkinDataMessage(WM_SKINDATA_STRINGSCHANGED);
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* v)
{
    FCompressedStoredSkin = v;
    if (!v) return;
    v->FreeNotification(this);
    LoadCompressedStoredSkin(v);
}

void TbsSkinData::SetSkinList(TbsCompressedSkinList* v)
{
    FSkinList = v;
    if (!v) return;
    v->FreeNotification(this);
    if (FSkinIndex >= 0 && FSkinIndex < v->Skins()->Count())
        LoadCompressedStoredSkin(v->Skins()->GetItem(FSkinIndex)->Skin());
}

void TbsSkinData::SetSkinIndex(int v)
{
    if (v == FSkinIndex) return;
    if (!FSkinList) {
        FSkinIndex = v;
        return;
    }
    if (v < 0 || v >= FSkinList->Skins()->Count()) return;
    FSkinIndex = v;
    LoadCompressedStoredSkin(FSkinList->Skins()->GetItem(v)->Skin());
}

void TbsSkinData::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
    if (AComponent == FResourceStrData) FResourceStrData = nullptr;
    if (AComponent == FSkinList) FSkinList = nullptr;
}
