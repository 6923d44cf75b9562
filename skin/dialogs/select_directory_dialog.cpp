#include "skin/dialogs/select_directory_dialog.h"

#include <algorithm>
#include <memory>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/forms/application.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_bevel.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/controls/skin_tool_bar.h"
#include "skin/core/png_image_list.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/dialog_tool_pictures.h"
#include "skin/dialogs/file_paths.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/form/skin_form.h"

namespace {

struct FreeForm {
    void operator()(TbsSelDirDlgForm* F) const { F->Free(); }
};

}  // namespace

// ---- the form ----------------------------------------------------------------------------------

TbsSelDirDlgForm::TbsSelDirDlgForm(TComponent* AOwner, TbsSkinData* ACtrlSkinData, bool AShowToolBar)
    : TForm(AOwner), CtrlSD(ACtrlSkinData), ShowToolBar(AShowToolBar)
{
    SetPosition(poScreenCenter);
    PngImgList = new TbsPngImageList(this);
    AddDialogToolPictures(PngImgList, {L"BS_NEWFOLDER_PNG"});
    BSF = new TbsSkinForm(this);
}

String TbsSelDirDlgForm::Text(const wchar_t* Key, const wchar_t* Fallback) const
{
    if (CtrlSD && CtrlSD->ResourceStrData()) return CtrlSD->ResourceStrData()->GetResStr(Key);
    return Fallback;
}

TbsSelDirDlgForm* TbsSelDirDlgForm::CreateEx(TComponent* AOwner, TbsSkinData* ACtrlSkinData, bool AShowToolBar,
                                             bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList,
                                             int AToolButtonImageIndex, bool ATreeShowLines,
                                             TCustomImageList* ATreeButtonImageList, int ATreeButtonExpandImageIndex,
                                             int ATreeButtonNoExpandImageIndex)
{
    std::unique_ptr<TbsSelDirDlgForm, FreeForm> owned(new TbsSelDirDlgForm(AOwner, ACtrlSkinData, AShowToolBar));
    TbsSelDirDlgForm* f = owned.get();

    if (AShowToolBar) {
        f->ToolPanel = new TbsSkinToolBar(f);
        f->ToolPanel->SetParent(f);
        f->ToolPanel->SetBorderStyle(bvNone);
        f->ToolPanel->SetDefaultHeight(25);
        f->ToolPanel->SetAlign(alTop);
        f->ToolPanel->SetSkinDataName(L"toolpanel");
        f->ToolPanel->SetImages(AToolBarImageList ? AToolBarImageList : f->PngImgList);

        f->NewFolderToolButton = new TbsSkinSpeedButton(f);
        f->NewFolderToolButton->SetParent(f->ToolPanel);
        f->NewFolderToolButton->SetDefaultHeight(25);
        f->NewFolderToolButton->SetDefaultWidth(27);
        f->NewFolderToolButton->SetSkinDataName(L"toolbutton");
        f->NewFolderToolButton->SetNumGlyphs(1);
        f->NewFolderToolButton->SetImageIndex(AToolBarImageList ? AToolButtonImageIndex : 0);
        f->NewFolderToolButton->SetHint(f->Text(L"MSG_BTN_NEWFOLDER_HINT", L"Create New Folder"));
        f->NewFolderToolButton->SetShowHint(true);
        f->NewFolderToolButton->SetFlat(AToolButtonsTransparent);
        f->NewFolderToolButton->OnClick = [f](TObject* S) { f->NewFolderToolButtonClick(S); };
        f->NewFolderToolButton->SetLeft(10000);
        f->NewFolderToolButton->SetAlign(alRight);

        // Right of the button: right-aligned controls line up rightmost first.
        auto* spacer = new TbsSkinBevel(f);
        spacer->SetParent(f->ToolPanel);
        spacer->SetShape(bsSpacer);
        spacer->SetWidth(5);
        spacer->SetLeft(20000);
        spacer->SetAlign(alRight);

        f->DirEdit = new TbsSkinEdit(f);
        f->DirEdit->SetParent(f->ToolPanel);
        f->DirEdit->SetAlign(alClient);
        f->DirEdit->SetSkinDataName(L"edit");
        f->DirEdit->OnKeyPress = [f](TObject* S, wchar_t& K) { f->DirEditKeyPress(S, K); };
    }

    f->DirTreeViewPanel = new TbsSkinPanel(f);
    f->DirTreeViewPanel->SetParent(f);
    f->DirTreeViewPanel->SetBorderStyle(bvFrame);
    f->DirTreeViewPanel->SetAlign(alClient);

    f->VScrollBar = new TbsSkinScrollBar(f);
    f->VScrollBar->SetParent(f->DirTreeViewPanel);
    f->VScrollBar->SetKind(sbVertical);
    f->VScrollBar->SetDefaultWidth(19);
    f->VScrollBar->SetAlign(alRight);
    f->VScrollBar->SetEnabled(false);
    f->VScrollBar->SetSkinDataName(L"vscrollbar");

    f->HScrollBar = new TbsSkinScrollBar(f);
    f->HScrollBar->SetParent(f->DirTreeViewPanel);
    f->HScrollBar->SetDefaultHeight(19);
    f->HScrollBar->SetBothMarkerWidth(19);
    f->HScrollBar->SetAlign(alBottom);
    f->HScrollBar->SetEnabled(false);
    f->HScrollBar->SetSkinDataName(L"hscrollbar");

    f->DirTreeView = new TbsSkinDirTreeView(f);
    f->DirTreeView->SetParent(f->DirTreeViewPanel);
    f->DirTreeView->SetAlign(alClient);
    f->DirTreeView->SetHScrollBar(f->HScrollBar);
    f->DirTreeView->SetVScrollBar(f->VScrollBar);
    TShellObjectTypes types = f->DirTreeView->ObjectTypes();
    f->DirTreeView->SetObjectTypes(types.Include(otHidden));
    f->DirTreeView->SetHideSelection(false);
    f->DirTreeView->SetShowLines(ATreeShowLines);
    f->DirTreeView->SetButtonImageList(ATreeButtonImageList);
    f->DirTreeView->SetButtonExpandImageIndex(ATreeButtonExpandImageIndex);
    f->DirTreeView->SetButtonNoExpandImageIndex(ATreeButtonNoExpandImageIndex);
    f->DirTreeView->OnChange = [f](TObject* S, TTreeNode*) { f->DirTreeViewChange(S); };

    f->BottomPanel = new TbsSkinPanel(f);
    f->BottomPanel->SetParent(f);
    f->BottomPanel->SetBorderStyle(bvNone);
    f->BottomPanel->SetHeight(50);
    f->BottomPanel->SetAlign(alBottom);

    f->OkButton = new TbsSkinButton(f);
    f->OkButton->SetParent(f->BottomPanel);
    f->OkButton->SetDefault(true);
    f->OkButton->SetCanFocused(true);
    f->OkButton->SetDefaultHeight(25);
    f->OkButton->SetBounds(20, 15, 70, 25);
    f->OkButton->SetModalResult(mrOk);
    f->OkButton->SetCaption(f->Text(L"MSG_BTN_OK", L"OK"));

    f->CancelButton = new TbsSkinButton(f);
    f->CancelButton->SetParent(f->BottomPanel);
    f->CancelButton->SetCanFocused(true);
    f->CancelButton->SetDefaultHeight(25);
    f->CancelButton->SetBounds(100, 15, 70, 25);
    f->CancelButton->SetModalResult(mrCancel);
    f->CancelButton->SetCancel(true);
    f->CancelButton->SetCaption(f->Text(L"MSG_BTN_CANCEL", L"Cancel"));

    f->AfterConstruction();
    return owned.release();
}

void TbsSelDirDlgForm::DirEditKeyPress(TObject*, wchar_t& Key)
{
    if (Key != 13) return;
    const String text = DirEdit->Text();
    if (!text.empty() && IsExistingDirectory(text)) DirTreeView->SetPath(text);
}

void TbsSelDirDlgForm::DirTreeViewChange(TObject*)
{
    if (ShowToolBar && DirEdit) DirEdit->SetText(DirTreeView->Path());
}

void TbsSelDirDlgForm::NewFolderToolButtonClick(TObject*)
{
    TTreeNode* node = DirTreeView->Selected();
    const String path = DirTreeView->Path();
    // Virtual folders (the desktop, the computer) have no path to make a folder in.
    if (!node || path.find(L'/') == String::npos) return;
    const String full = IncludeTrailingPathDelimiter(path) + Text(L"MSG_NEWFOLDER", L"New Folder");
    if (FileExists(full) || DirectoryExists(full)) return;
    if (!CreateDir(full)) throw EInOutError(L"I/O error: cannot create the folder " + full);
    DirTreeView->Refresh(node);
}

// ---- the component -----------------------------------------------------------------------------

TbsSkinSelectDirectoryDialog::TbsSkinSelectDirectoryDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(new TFont)
{
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
}

TbsSkinSelectDirectoryDialog::~TbsSkinSelectDirectoryDialog()
{
    if (FDlgFrm) FDlgFrm->Free();
    delete FDefaultFont;
}

void TbsSkinSelectDirectoryDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
    if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
    if (AComponent == FTreeButtonImageList) FTreeButtonImageList = nullptr;
}

void TbsSkinSelectDirectoryDialog::SetTreeButtonImageList(TCustomImageList* Value)
{
    FTreeButtonImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::SetToolBarImageList(TCustomImageList* Value)
{
    FToolBarImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinSelectDirectoryDialog::SetCtrlSkinData(TbsSkinData* Value)
{
    FCtrlFSD = Value;
    if (Value) Value->FreeNotification(this);
}

bool TbsSkinSelectDirectoryDialog::Execute()
{
    if (OnShow) OnShow(this);
    bool accepted = false;
    std::unique_ptr<TbsSelDirDlgForm, FreeForm> form;
    // OnClose before the form goes, on every way out.
    auto finish = [&] {
        if (OnClose) OnClose(this);
        FDlgFrm = nullptr;
        form.reset();
    };
    try {
        form.reset(TbsSelDirDlgForm::CreateEx(
            Application, FCtrlFSD, FShowToolBar, FToolButtonsTransparent, FToolBarImageList, FToolButtonImageIndex,
            FTreeShowLines, FTreeButtonImageList, FTreeButtonExpandImageIndex, FTreeButtonNoExpandImageIndex));
        TbsSelDirDlgForm* f = form.get();
        FDlgFrm = f;

        f->SetCaption(FTitle);
        TbsSkinForm* bsf = f->BSF;
        bsf->SetBorderIcons({});
        bsf->SetSkinData(FSD);
        bsf->SetMenusSkinData(FCtrlFSD);
        bsf->SetMinWidth(FDialogMinWidth);
        bsf->SetMinHeight(FDialogMinHeight);
        bsf->SetAlphaBlend(FAlphaBlend);
        bsf->SetAlphaBlendAnimation(FAlphaBlendAnimation);
        bsf->SetAlphaBlendValue(FAlphaBlendValue);

        f->DirTreeViewPanel->SetSkinData(FCtrlFSD);
        f->DirTreeView->SetDefaultFont(FDefaultFont);
        f->DirTreeView->SetSkinData(FCtrlFSD);
        if (FCtrlFSD) {
            f->DirTreeView->SetDrawSkin(FCtrlFSD->DlgTreeViewDrawSkin());
            f->DirTreeView->SetItemSkinDataName(FCtrlFSD->DlgTreeViewItemSkinDataName());
        }

        // The tree builds its nodes with its window, and the client size holds from then on.
        f->HandleNeeded();
        if (!FDirectory.empty() && IsExistingDirectory(FDirectory))
            f->DirTreeView->SetPath(FDirectory);
        else
            f->DirTreeView->ExpandMyComputer();

        f->VScrollBar->SetSkinData(FCtrlFSD);
        f->HScrollBar->SetSkinData(FCtrlFSD);
        f->OkButton->SetSkinData(FCtrlFSD);
        f->CancelButton->SetSkinData(FCtrlFSD);
        f->BottomPanel->SetSkinData(FCtrlFSD);
        f->OkButton->SetDefaultFont(FDefaultFont);
        f->CancelButton->SetDefaultFont(FDefaultFont);
        if (f->ToolPanel) {
            f->ToolPanel->SetSkinData(FCtrlFSD);
            f->NewFolderToolButton->SetSkinData(FCtrlFSD);
            f->DirEdit->SetSkinData(FCtrlFSD);
        }

        int w = FDialogWidth < 1 ? 280 : FDialogWidth;
        int h = FDialogHeight < 1 ? 280 : FDialogHeight;
        if (FSD && !FSD->Empty) {
            w = std::max(w, bsf->GetMinWidth());
            h = std::max(h, bsf->GetMinHeight());
        }
        f->SetClientSize(w, h);

        f->SetActiveControl(f->DirTreeView);
        const TModalResult result = f->ShowModal();
        FDialogWidth = f->ClientWidth();
        FDialogHeight = f->ClientHeight();
        accepted = result == mrOk;
        if (accepted) FDirectory = f->DirTreeView->Path();
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return accepted;
}
