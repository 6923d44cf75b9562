#include "skin/dialogs/select_skin_dialog.h"

#include <algorithm>
#include <memory>

#include "platform/framework/forms/application.h"
#include "skin/boxes/skin_list_box.h"
#include "skin/controls/skin_button.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "skin/form/skin_form.h"

namespace {

// Forms go through Free, so the skinned frame hears their last messages in the destroying state.
struct FreeForm {
    void operator()(TbsSelectSkinDlgForm* F) const { F->Free(); }
};
using OwnedForm = std::unique_ptr<TbsSelectSkinDlgForm, FreeForm>;

// A dialog text: the controls' text table when there is one, else the English fallback.
String DialogText(TbsSkinData* CtrlSkinData, const wchar_t* Key, const wchar_t* Fallback)
{
    if (CtrlSkinData && CtrlSkinData->ResourceStrData()) return CtrlSkinData->ResourceStrData()->GetResStr(Key);
    return Fallback;
}

}  // namespace

// ---- the form ----------------------------------------------------------------------------------

TbsSelectSkinDlgForm::TbsSelectSkinDlgForm(TComponent* AOwner, TbsSkinData* ACtrlSkinData) : TForm(AOwner)
{
    SetPosition(poScreenCenter);
    SetBorderStyle(bsSingle);
    BSF = new TbsSkinForm(this);

    PreviewForm = new TForm(this);
    PreviewForm->SetParent(this);
    PreviewForm->SetCaption(DialogText(ACtrlSkinData, L"MSG_PREVIEWSKIN", L"Preview"));
    PreviewForm->SetEnabled(false);
    PreviewForm->SetBounds(0, 0, 220, 170);
    PreviewForm->SetVisible(false);
    PreviewForm->AfterConstruction();

    PreviewSkinData = new TbsSkinData(this);
    if (ACtrlSkinData && ACtrlSkinData->ResourceStrData())
        PreviewSkinData->SetResourceStrData(ACtrlSkinData->ResourceStrData());
    PreviewButton = new TbsSkinButton(PreviewForm);
    PreviewButton->SetParent(PreviewForm);
    PreviewButton->SetCaption(DialogText(ACtrlSkinData, L"MSG_PREVIEWBUTTON", L"Button"));
    PreviewButton->SetBounds(20, 20, 100, PreviewButton->Height());
    PreviewButton->SetSkinData(PreviewSkinData);
    PreviewBSF = new TbsSkinForm(PreviewForm);
    PreviewBSF->SetSkinData(PreviewSkinData);
    // Always drawn active, no layered border, frame objects deaf to the mouse.
    PreviewBSF->PreviewMode = true;

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetParent(this);
    OpenButton->SetCaption(DialogText(ACtrlSkinData, L"MSG_BTN_OK", L"OK"));
    OpenButton->SetDefault(true);
    OpenButton->SetCanFocused(true);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetBounds(260, 200, 70, 25);
    OpenButton->SetModalResult(mrOk);

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(this);
    CancelButton->SetCaption(DialogText(ACtrlSkinData, L"MSG_BTN_CANCEL", L"Cancel"));
    CancelButton->SetCanFocused(true);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetBounds(340, 200, 70, 25);
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);

    SkinsListBox = new TbsSkinListBox(this);
    SkinsListBox->SetParent(this);
    SkinsListBox->SetBounds(10, 10, 170, 170);
    SkinsListBox->OnListBoxClick = [this](TObject* Sender) { SLBOnChange(Sender); };
    SkinsListBox->OnListBoxDblClick = [this](TObject* Sender) { SLBOnDblClick(Sender); };
}

TbsSelectSkinDlgForm::~TbsSelectSkinDlgForm() = default;

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx2(TComponent* AOwner, TbsCompressedSkinList* ASkinList,
                                                      int ASkinIndex, TbsSkinData* ACtrlSkinData)
{
    OwnedForm f(new TbsSelectSkinDlgForm(AOwner, ACtrlSkinData));
    f->FCSkinList = ASkinList;
    f->FCSkinIndex = ASkinIndex;
    TbsSkinListItems* items = ASkinList->Skins();
    for (int i = 0; i < items->Count(); ++i) {
        TbsSkinListItem* item = items->GetItem(i);
        f->SkinsListBox->Items()->Add(item->Description().empty() ? item->Name() : item->Description());
    }
    f->SkinsListBox->SetItemIndex(ASkinIndex);
    // The index first, so setting the list loads that one skin (none when out of range).
    f->PreviewSkinData->SetSkinIndex(ASkinIndex);
    f->PreviewSkinData->SetSkinList(ASkinList);
    f->FinishBuild();
    return f.release();
}

TbsSelectSkinDlgForm* TbsSelectSkinDlgForm::CreateEx(TComponent* AOwner, TComponent* AForm,
                                                     TbsCompressedStoredSkin* ADefaultSkin, TbsSkinData* ACtrlSkinData)
{
    OwnedForm f(new TbsSelectSkinDlgForm(AOwner, ACtrlSkinData));
    int start = 0;
    for (int i = 0; AForm && i < AForm->ComponentCount(); ++i) {
        auto* skin = dynamic_cast<TbsCompressedStoredSkin*>(AForm->Components(i));
        if (!skin) continue;
        if (skin == ADefaultSkin) start = static_cast<int>(f->SkinList.size());
        f->SkinList.push_back(skin);
        f->SkinsListBox->Items()->Add(skin->Description().empty() ? skin->Name() : skin->Description());
    }
    if (!f->SkinList.empty()) {
        f->SkinsListBox->SetItemIndex(start);
        f->PreviewSkinData->SetCompressedStoredSkin(f->SkinList[static_cast<size_t>(start)]);
    }
    f->FinishBuild();
    return f.release();
}

void TbsSelectSkinDlgForm::FinishBuild()
{
    PreviewForm->SetBounds(190, 10, PreviewForm->Width(), PreviewForm->Height());
    PreviewForm->Show();
    SetActiveControl(SkinsListBox->ListBox);
    AfterConstruction();
}

TbsCompressedStoredSkin* TbsSelectSkinDlgForm::GetSelectedSkin() const
{
    return PreviewSkinData->CompressedStoredSkin();
}

void TbsSelectSkinDlgForm::SLBOnChange(TObject*)
{
    const int i = SkinsListBox->ItemIndex();
    if (FCSkinList) {
        PreviewSkinData->SetSkinIndex(i);
    } else if (i >= 0 && i < static_cast<int>(SkinList.size())) {
        PreviewSkinData->SetCompressedStoredSkin(SkinList[static_cast<size_t>(i)]);
    }
}

void TbsSelectSkinDlgForm::SLBOnDblClick(TObject*) { SetModalResult(mrOk); }

// ---- the component -----------------------------------------------------------------------------

TbsSelectSkinDialog::TbsSelectSkinDialog(TComponent* AOwner) : TComponent(AOwner), FDefaultFont(new TFont)
{
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
}

TbsSelectSkinDialog::~TbsSelectSkinDialog()
{
    if (FDlgFrm) FDlgFrm->Free();
    delete FDefaultFont;
}

void TbsSelectSkinDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
    if (AComponent == FSkinList) FSkinList = nullptr;
}

void TbsSelectSkinDialog::SetSkinList(TbsCompressedSkinList* Value)
{
    FSkinList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSelectSkinDialog::SetCtrlSkinData(TbsSkinData* Value)
{
    FCtrlFSD = Value;
    if (Value) Value->FreeNotification(this);
}

bool TbsSelectSkinDialog::Execute(int SkinIndex)
{
    if (!FSkinList) return false;
    FSelectedSkin = nullptr;
    FSelectedSkinIndex = -1;
    return ShowForm(TbsSelectSkinDlgForm::CreateEx2(Application, FSkinList, SkinIndex, FCtrlFSD), false);
}

bool TbsSelectSkinDialog::Execute(TbsCompressedStoredSkin* DefaultCompressedSkin)
{
    FSelectedSkin = nullptr;
    return ShowForm(TbsSelectSkinDlgForm::CreateEx(Application, Owner(), DefaultCompressedSkin, FCtrlFSD), true);
}

bool TbsSelectSkinDialog::ShowForm(TbsSelectSkinDlgForm* Form, bool StoredSkins)
{
    OwnedForm owned(Form);
    FDlgFrm = Form;
    struct Forget {
        TbsSelectSkinDialog* D;
        ~Forget() { D->FDlgFrm = nullptr; }
    } forget{this};

    Form->SetCaption(FTitle);
    TbsSkinForm* bsf = Form->BSF;
    bsf->SetBorderIcons({});
    bsf->SetSkinData(FSD);
    bsf->SetMenusSkinData(FCtrlFSD);
    bsf->SetAlphaBlend(FAlphaBlend);
    bsf->SetAlphaBlendAnimation(FAlphaBlendAnimation);
    bsf->SetAlphaBlendValue(FAlphaBlendValue);
    for (TbsSkinCustomControl* c :
         {static_cast<TbsSkinCustomControl*>(Form->OpenButton), static_cast<TbsSkinCustomControl*>(Form->CancelButton),
          static_cast<TbsSkinCustomControl*>(Form->SkinsListBox)}) {
        c->SetDefaultFont(FDefaultFont);
        c->SetSkinData(FCtrlFSD);
    }
    if (!FSD || FSD->Empty)
        Form->SetClientSize(420, 240);
    else
        Form->SetClientSize(std::max(420, bsf->GetMinWidth()), std::max(240, bsf->GetMinHeight()));

    if (Form->ShowModal() != mrOk) return false;
    if (StoredSkins)
        FSelectedSkin = Form->GetSelectedSkin();
    else
        FSelectedSkinIndex = Form->PreviewSkinData->SkinIndex();
    return true;
}
