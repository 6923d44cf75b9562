#include "skin/dialogs/picture_dialogs.h"

#include <memory>

#include "platform/framework/controls/image.h"
#include "platform/framework/core/files.h"
#include "platform/framework/forms/application.h"
#include "skin/boxes/scroll_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/controls/skin_splitter.h"
#include "skin/controls/skin_tool_bar.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/shell_list_view.h"

namespace {

struct FreeForm {
    void operator()(TbsOpenDlgForm* F) const { F->Free(); }
};

}  // namespace

// ---- the form ----------------------------------------------------------------------------------

TbsOpenPictureDlgForm* TbsOpenPictureDlgForm::CreateEx(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                                       bool AToolButtonsTransparent,
                                                       TCustomImageList* AToolBarImageList)
{
    std::unique_ptr<TbsOpenDlgForm, FreeForm> f(
        new TbsOpenPictureDlgForm(AOwner, ASaveMode, ACtrlSkinData, AToolButtonsTransparent, AToolBarImageList));
    f->AfterConstruction();
    return static_cast<TbsOpenPictureDlgForm*>(f.release());
}

TbsOpenPictureDlgForm::TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                             bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList)
    : TbsOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, AToolButtonsTransparent, AToolBarImageList,
                     {L"BS_BACK_PNG", L"BS_UP_PNG", L"BS_NEWFOLDER_PNG", L"BS_LVSTYLE_PNG", L"BS_STRETCH_PNG"})
{
    SetKeyPreview(true);
    // Off until Execute copies the component's settings in.
    CheckFileExists = false;

    // The preview pane on the right, the splitter left of it.
    ImagePanel = new TbsSkinPanel(this);
    ImagePanel->SetParent(this);
    ImagePanel->SetBorderStyle(bvFrame);
    ImagePanel->SetWidth(200);
    ImagePanel->SetLeft(100000);
    ImagePanel->SetAlign(alRight);

    Splitter = new TbsSkinSplitter(this);
    Splitter->SetParent(this);
    Splitter->SetWidth(10);
    Splitter->SetDefaultSize(10);
    Splitter->SetBeveled(false);
    Splitter->SetLeft(ImagePanel->Left() - 10);
    Splitter->SetAlign(alRight);

    SBVScrollBar = new TbsSkinScrollBar(this);
    SBVScrollBar->SetParent(ImagePanel);
    SBVScrollBar->SetKind(sbVertical);
    SBVScrollBar->SetDefaultWidth(19);
    SBVScrollBar->SetAlign(alRight);
    SBVScrollBar->SetEnabled(false);
    SBVScrollBar->SetSkinDataName(L"vscrollbar");

    SBHScrollBar = new TbsSkinScrollBar(this);
    SBHScrollBar->SetParent(ImagePanel);
    SBHScrollBar->SetDefaultHeight(19);
    SBHScrollBar->SetBothMarkerWidth(19);
    SBHScrollBar->SetAlign(alBottom);
    SBHScrollBar->SetEnabled(false);
    SBHScrollBar->SetSkinDataName(L"hscrollbar");

    ScrollBox = new TbsSkinScrollBox(this);
    ScrollBox->SetParent(ImagePanel);
    ScrollBox->SetAlign(alClient);
    ScrollBox->SetBorderStyle(bvNone);
    ScrollBox->SetHScrollBar(SBHScrollBar);
    ScrollBox->SetVScrollBar(SBVScrollBar);

    Image = new TImage(this);
    Image->SetParent(ScrollBox);
    Image->SetBounds(0, 0, 0, 0);

    // The stretch toggle, right of the view-style button.
    StretchButton = MakeToolButton(4, Text(L"MSG_BTN_STRETCH_HINT", L"Stretch Picture"), AToolButtonsTransparent);
    StretchButton->SetGroupIndex(2);
    StretchButton->SetAllowAllUp(true);
    StretchButton->OnClick = [this](TObject* S) { StretchButtonClick(S); };

    // The bottom row keeps fixed places here.
    FileNameEdit->SetAnchors({akLeft, akTop});
    FileNameEdit->SetBounds(70, 10, 280, FileNameEdit->Height());
    FilterComboBox->SetAnchors({akLeft, akTop});
    FilterComboBox->SetBounds(70, 45, 280, 21);
    OpenButton->SetAnchors({akLeft, akTop});
    OpenButton->SetBounds(370, 10, 70, 25);
    CancelButton->SetAnchors({akLeft, akTop});
    CancelButton->SetBounds(370, 45, 70, 25);
}

void TbsOpenPictureDlgForm::FitImageToPicture()
{
    Image->SetBounds(Image->Left(), Image->Top(), Image->Picture()->Width(), Image->Picture()->Height());
    ScrollBox->UpDateScrollRange();
}

void TbsOpenPictureDlgForm::LoadPreview(const String& FileName)
{
    try {
        Image->Picture()->LoadFromFile(FileName);
    } catch (const Exception&) {
        // Unreadable or of a kind the loader lacks: nothing to show, the dialog goes on.
        Image->Picture()->SetGraphic(nullptr);
    }
    if (!Image->Stretch()) FitImageToPicture();
}

void TbsOpenPictureDlgForm::FLVChange(TObject*)
{
    FileNameEdit->SetText(ExtractFileName(FileListView->GetSelectedFile()));
    if (!FileNameEdit->Text().empty()) {
        LoadPreview(IncludeTrailingPathDelimiter(FileListView->Path()) + FileNameEdit->Text());
    } else {
        // While stretching, the client alignment keeps the last picture filling the pane.
        Image->SetBounds(Image->Left(), Image->Top(), 0, 0);
        ScrollBox->UpDateScrollRange();
    }
}

void TbsOpenPictureDlgForm::ApplyStretch()
{
    Image->SetVisible(false);
    if (StretchButton->Down()) {
        ScrollBox->UpDateScrollRange();
        Image->SetStretch(true);
        Image->SetAlign(alClient);
        Image->SetVisible(true);
    } else {
        Image->SetAlign(alNone);
        Image->SetStretch(false);
        Image->SetBounds(0, 0, Image->Picture()->Width(), Image->Picture()->Height());
        Image->SetVisible(true);
        ScrollBox->UpDateScrollRange();
    }
}

void TbsOpenPictureDlgForm::StretchButtonClick(TObject*) { ApplyStretch(); }

// ---- the components ----------------------------------------------------------------------------

TbsSkinOpenPictureDialog::TbsSkinOpenPictureDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner)
{
    FTitle = L"Open picture";
    FFilter =
        L"All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
        L"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
    FDefaultClientWidth = 550;
    FDefaultClientHeight = 290;
    FAlphaBlendValue = 200;
}

TbsOpenDlgForm* TbsSkinOpenPictureDialog::CreateDlgForm()
{
    return TbsOpenPictureDlgForm::CreateEx(Application, FSaveMode, FCtrlFSD, FToolButtonsTransparent,
                                           FToolBarImageList);
}

void TbsSkinOpenPictureDialog::PrepareForm(TbsOpenDlgForm* Form)
{
    auto* f = static_cast<TbsOpenPictureDlgForm*>(Form);
    f->ImagePanel->SetWidth(FPaneWidth);
    f->ImagePanel->SetSkinData(FCtrlFSD);
    f->ScrollBox->SetSkinData(FCtrlFSD);
    f->SBVScrollBar->SetSkinData(FCtrlFSD);
    f->SBHScrollBar->SetSkinData(FCtrlFSD);
    f->Splitter->SetSkinData(FCtrlFSD);
    if (FCtrlFSD && !FCtrlFSD->Empty && FCtrlFSD->GetControlIndex(L"resizetoolbutton") != -1)
        f->StretchButton->SetSkinDataName(L"resizetoolbutton");
    f->StretchButton->SetSkinData(FCtrlFSD);
}

void TbsSkinOpenPictureDialog::BeforeShow(TbsOpenDlgForm* Form)
{
    auto* f = static_cast<TbsOpenPictureDlgForm*>(Form);
    f->StretchButton->SetDown(FStretchPicture || FStretchState);
    if (f->StretchButton->Down()) f->ApplyStretch();
    if (FileExists(FFileName)) f->LoadPreview(FFileName);
    TbsSkinOpenDialog::BeforeShow(Form);
}

void TbsSkinOpenPictureDialog::AfterShow(TbsOpenDlgForm* Form)
{
    auto* f = static_cast<TbsOpenPictureDlgForm*>(Form);
    FStretchState = f->StretchButton->Down();
    FPaneWidth = f->ImagePanel->Width();
}

TbsSkinSavePictureDialog::TbsSkinSavePictureDialog(TComponent* AOwner) : TbsSkinOpenPictureDialog(AOwner)
{
    FSaveMode = true;
    FTitle = L"Save file";
}
