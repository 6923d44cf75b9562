#include "skin/dialogs/open_dialog.h"

#include <algorithm>
#include <memory>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/menus.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_bevel.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/controls/skin_std_label.h"
#include "skin/controls/skin_tool_bar.h"
#include "skin/core/png_image_list.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/dialog_tool_pictures.h"
#include "skin/dialogs/file_paths.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_popup_menu.h"

namespace {

// Forms go through Free, so the skinned frame hears their last messages in the destroying state.
struct FreeForm {
    void operator()(TbsOpenDlgForm* F) const { F->Free(); }
};

// The extension of a mask, or of its first pattern; empty when the mask contains ".*".
String MaskExtension(const String& Mask)
{
    if (Mask.find(L".*") != String::npos) return String();
    const size_t semi = Mask.find(L';');
    return ExtractFileExt(semi == String::npos ? Mask : Mask.substr(0, semi));
}

bool HasExtension(const String& Name) { return !ExtractFileExt(Name).empty(); }

}  // namespace

// ---- the form ----------------------------------------------------------------------------------

TbsOpenDlgForm* TbsOpenDlgForm::CreateEx(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                         bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList)
{
    std::unique_ptr<TbsOpenDlgForm, FreeForm> f(
        new TbsOpenDlgForm(AOwner, ASaveMode, ACtrlSkinData, AToolButtonsTransparent, AToolBarImageList,
                           {L"BS_BACK_PNG", L"BS_UP_PNG", L"BS_NEWFOLDER_PNG", L"BS_LVSTYLE_PNG"}));
    f->AfterConstruction();
    return f.release();
}

TbsOpenDlgForm::TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                               bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList,
                               std::initializer_list<const wchar_t*> APictureNames)
    : TForm(AOwner), SaveMode(ASaveMode), CtrlSD(ACtrlSkinData)
{
    SetPosition(poScreenCenter);
    // The form owns its pictures: they go with it.
    PngImgList = new TbsPngImageList(this);
    AddDialogToolPictures(PngImgList, APictureNames);
    BSF = new TbsSkinForm(this);

    ToolPanel = new TbsSkinToolBar(this);
    ToolPanel->SetParent(this);
    ToolPanel->SetBorderStyle(bvNone);
    ToolPanel->SetDefaultHeight(25);
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetSkinDataName(L"toolpanel");
    ToolPanel->SetImages(AToolBarImageList ? AToolBarImageList : PngImgList);

    auto* leftSpacer = new TbsSkinBevel(this);
    leftSpacer->SetParent(ToolPanel);
    leftSpacer->SetShape(bsSpacer);
    leftSpacer->SetWidth(10);
    leftSpacer->SetAlign(alLeft);

    Drivelabel = new TbsSkinStdLabel(this);
    Drivelabel->SetParent(ToolPanel);
    Drivelabel->SetLeft(20);
    Drivelabel->SetAlign(alLeft);
    Drivelabel->SetAutoSize(true);
    Drivelabel->SetLayout(tlCenter);
    Drivelabel->SetCaption(Text(L"FLV_LOOKIN", L"Look in: "));

    BackToolButton =
        MakeToolButton(0, Text(L"MSG_BTN_BACK_HINT", L"Go To Last Folder Visited"), AToolButtonsTransparent);
    BackToolButton->OnClick = [this](TObject* S) { BackToolButtonClick(S); };
    UpToolButton = MakeToolButton(1, Text(L"MSG_BTN_UP_HINT", L"Up One Level"), AToolButtonsTransparent);
    UpToolButton->OnClick = [this](TObject* S) { UpToolButtonClick(S); };
    NewFolderToolButton =
        MakeToolButton(2, Text(L"MSG_BTN_NEWFOLDER_HINT", L"Create New Folder"), AToolButtonsTransparent);
    NewFolderToolButton->OnClick = [this](TObject* S) { NewFolderToolButtonClick(S); };

    auto* rightSpacer = new TbsSkinBevel(this);
    rightSpacer->SetParent(ToolPanel);
    rightSpacer->SetShape(bsSpacer);
    rightSpacer->SetWidth(10);
    AlignRightOnToolBar(rightSpacer);

    StylePopupMenu = new TbsSkinPopupMenu(this);
    StyleToolButton = new TbsSkinMenuSpeedButton(this);
    StyleToolButton->SetParent(ToolPanel);
    StyleToolButton->SetDefaultWidth(37);
    StyleToolButton->SetDefaultHeight(25);
    StyleToolButton->SetSkinDataName(L"toolmenubutton");
    StyleToolButton->SetNumGlyphs(1);
    StyleToolButton->SetImageIndex(3);
    StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
    StyleToolButton->SetHint(Text(L"MSG_BTN_VIEWMENU_HINT", L"View Menu"));
    StyleToolButton->SetShowHint(true);
    StyleToolButton->SetFlat(AToolButtonsTransparent);
    AlignRightOnToolBar(StyleToolButton);

    ShellBox = new TbsSkinShellComboBox(this);
    ShellBox->SetParent(ToolPanel);
    ShellBox->SetAlign(alClient);
    ShellBox->SetDropDownCount(10);

    auto addStyleItem = [this](const wchar_t* Key, const wchar_t* Fallback, TViewStyle Style) {
        auto* item = new TMenuItem(this);
        item->SetCaption(Text(Key, Fallback));
        item->SetRadioItem(true);
        item->OnClick = [this, Style](TObject*) { SetViewStyleItem(Style); };
        StylePopupMenu->Items()->Add(item);
        return item;
    };
    IconMenuItem = addStyleItem(L"MSG_LV_ICON", L"Large icons", vsIcon);
    SmallIconMenuItem = addStyleItem(L"MSG_LV_SMALLICON", L"Small icons", vsSmallIcon);
    ListMenuItem = addStyleItem(L"MSG_LV_LIST", L"List", vsList);
    ReportMenuItem = addStyleItem(L"MSG_LV_DETAILS", L"Details", vsReport);

    BottomPanel = new TbsSkinPanel(this);
    BottomPanel->SetParent(this);
    BottomPanel->SetBorderStyle(bvNone);
    BottomPanel->SetHeight(80);
    BottomPanel->SetAlign(alBottom);

    FileListViewPanel = new TbsSkinPanel(this);
    FileListViewPanel->SetParent(this);
    FileListViewPanel->SetBorderStyle(bvFrame);
    FileListViewPanel->SetAlign(alClient);

    FLVHScrollBar = new TbsSkinScrollBar(this);
    FLVHScrollBar->SetParent(FileListViewPanel);
    FLVHScrollBar->SetDefaultHeight(19);
    FLVHScrollBar->SetBothMarkerWidth(19);
    FLVHScrollBar->SetAlign(alBottom);
    FLVHScrollBar->SetEnabled(false);
    FLVHScrollBar->SetSkinDataName(L"hscrollbar");

    FLVVScrollBar = new TbsSkinScrollBar(this);
    FLVVScrollBar->SetParent(FileListViewPanel);
    FLVVScrollBar->SetKind(sbVertical);
    FLVVScrollBar->SetDefaultWidth(19);
    FLVVScrollBar->SetAlign(alRight);
    FLVVScrollBar->SetEnabled(false);
    FLVVScrollBar->SetSkinDataName(L"vscrollbar");

    FileListView = new TbsSkinFileListView(this);
    FileListView->SetParent(FileListViewPanel);
    FileListView->SetAlign(alClient);
    FileListView->SetViewStyle(vsList);
    FileListView->SetShowColumnHeaders(true);
    FileListView->SetHideSelection(false);
    FileListView->SetHScrollBar(FLVHScrollBar);
    FileListView->SetVScrollBar(FLVVScrollBar);
    FileListView->OnChange = [this](TObject* S, TListItem*, TItemChange) { FLVChange(S); };
    FileListView->OnPathChanged = [this](TObject* S) { FLVPathChange(S); };
    FileListView->OnDblClick = [this](TObject* S) { FLVDBLClick(S); };
    FileListView->OnKeyPress = [this](TObject* S, wchar_t& K) { FLVKeyPress(S, K); };
    FileListView->SetShellComboBox(ShellBox);

    // The bottom row stretches with the form; the buttons keep to its right edge.
    const int w = BottomPanel->ClientWidth();
    FileNameEdit = new TbsSkinEdit(this);
    FileNameEdit->SetParent(BottomPanel);
    FileNameEdit->SetBounds(70, 10, std::max(10, w - 160), FileNameEdit->Height());
    FileNameEdit->SetAnchors({akLeft, akTop, akRight});
    FileNameEdit->OnKeyPress = [this](TObject* S, wchar_t& K) { EditKeyPress(S, K); };

    FilterComboBox = new TbsSkinFilterComboBox(this);
    FilterComboBox->SetParent(BottomPanel);
    FilterComboBox->SetDefaultHeight(21);
    FilterComboBox->SetBounds(70, 45, std::max(10, w - 160), 21);
    FilterComboBox->SetAnchors({akLeft, akTop, akRight});
    FilterComboBox->OnChange = [this](TObject* S) { FCBChange(S); };

    OpenButton = new TbsSkinButton(this);
    OpenButton->SetParent(BottomPanel);
    OpenButton->SetDefaultHeight(25);
    OpenButton->SetBounds(w - 80, 10, 70, 25);
    OpenButton->SetCanFocused(true);
    OpenButton->SetAnchors({akRight, akTop});
    OpenButton->SetCaption(SaveMode ? Text(L"MSG_BTN_SAVE", L"&Save") : Text(L"MSG_BTN_OPEN", L"&Open"));
    OpenButton->OnClick = [this](TObject* S) { OpenButtonClick(S); };

    CancelButton = new TbsSkinButton(this);
    CancelButton->SetParent(BottomPanel);
    CancelButton->SetDefaultHeight(25);
    CancelButton->SetBounds(w - 80, 45, 70, 25);
    CancelButton->SetCanFocused(true);
    CancelButton->SetAnchors({akRight, akTop});
    CancelButton->SetModalResult(mrCancel);
    CancelButton->SetCancel(true);
    CancelButton->SetCaption(Text(L"MSG_BTN_CANCEL", L"Cancel"));

    OpenFileLabel = new TbsSkinStdLabel(this);
    OpenFileLabel->SetParent(BottomPanel);
    OpenFileLabel->SetAutoSize(true);
    OpenFileLabel->SetLeft(10);
    OpenFileLabel->SetTop(10);
    OpenFileLabel->SetCaption(Text(L"MSG_FILENAME", L"File name:"));

    FileTypeLabel = new TbsSkinStdLabel(this);
    FileTypeLabel->SetParent(BottomPanel);
    FileTypeLabel->SetAutoSize(true);
    FileTypeLabel->SetLeft(10);
    FileTypeLabel->SetTop(45);
    FileTypeLabel->SetCaption(Text(L"MSG_FILETYPE", L"File type:"));

    SetActiveControl(FileNameEdit);
}

TbsOpenDlgForm::~TbsOpenDlgForm()
{
    for (LPITEMIDLIST id : FolderHistory) IdListFree(id);
    FolderHistory.clear();
}

String TbsOpenDlgForm::Text(const wchar_t* Key, const wchar_t* Fallback) const
{
    if (CtrlSD && CtrlSD->ResourceStrData()) return CtrlSD->ResourceStrData()->GetResStr(Key);
    return Fallback;
}

void TbsOpenDlgForm::AlignRightOnToolBar(TControl* C)
{
    // Right-aligned controls line up by their right edges, the rightmost first: each new one
    // starts further right than any before it.
    C->SetLeft(FNextRightLeft);
    FNextRightLeft += 1000;
    C->SetAlign(alRight);
}

TbsSkinSpeedButton* TbsOpenDlgForm::MakeToolButton(int ImageIndex, const String& Hint, bool Flat)
{
    auto* b = new TbsSkinSpeedButton(this);
    b->SetParent(ToolPanel);
    b->SetDefaultHeight(25);
    b->SetDefaultWidth(27);
    b->SetSkinDataName(L"toolbutton");
    b->SetNumGlyphs(1);
    b->SetImageIndex(ImageIndex);
    b->SetHint(Hint);
    b->SetShowHint(true);
    b->SetFlat(Flat);
    AlignRightOnToolBar(b);
    return b;
}

String TbsOpenDlgForm::FilterExtension() { return MaskExtension(FilterComboBox->Mask()); }

String TbsOpenDlgForm::DefaultExtension()
{
    if (!DefaultExt.empty()) return L"." + DefaultExt;
    return FilterExtension();
}

String TbsOpenDlgForm::CompleteSaveName(const String& Name)
{
    if (HasExtension(Name)) return Name;
    const String ext = FilterExtension();
    if (!ext.empty()) return Name + ext;
    if (!DefaultExt.empty()) return Name + L"." + DefaultExt;
    return Name;
}

String TbsOpenDlgForm::FolderPath() { return IncludeTrailingPathDelimiter(FileListView->Path()); }

String TbsOpenDlgForm::TypedPath(const String& Name)
{
    return !Name.empty() && Name[0] == L'/' ? Name : FolderPath() + Name;
}

bool TbsOpenDlgForm::ConfirmOverwrite()
{
    std::unique_ptr<TbsSkinMessage> box(new TbsSkinMessage(nullptr));
    box->SetSkinData(BSF->SkinData());
    box->SetCtrlSkinData(CtrlSD);
    return box->MessageDlg(Text(L"MSG_OVERWRITE", L"Do you want to overwrite old file?"), mtWarning,
                           TMsgDlgButtons{mbOK, mbCancel}, 0) == mrOk;
}

void TbsOpenDlgForm::OpenButtonClick(TObject*)
{
    const String n = FileNameEdit->Text();
    const String selected = FileListView->GetSelectedFile();
    if (SaveMode) {
        if (n.empty() || (FileListView->Path() + L"/" + n).find(L'*') != String::npos) return;
        // Completed once: the name asked about is the name returned.
        const String c = CompleteSaveName(TypedPath(n));
        if (OverwritePromt && FileExists(c) && !ConfirmOverwrite()) return;
        FileName = c;
        SetModalResult(mrOk);
        return;
    }
    String c;
    if (CheckFileExists && selected.empty() && !n.empty()) {
        c = TypedPath(n);
        if (!HasExtension(c)) c += DefaultExtension();
        if (!FileExists(c)) return;
    }
    if (n.empty()) return;
    if (CheckFileExists) {
        FileName = selected.empty() ? c : selected;
        if (FileExists(FileName))
            SetModalResult(mrOk);
        else
            FileName.clear();
        return;
    }
    if (!selected.empty()) {
        FileName = selected;
    } else {
        FileName = TypedPath(n);
        if (!HasExtension(FileName)) FileName += DefaultExtension();
    }
    SetModalResult(mrOk);
}

void TbsOpenDlgForm::FLVDBLClick(TObject*)
{
    const String selected = FileListView->GetSelectedFile();
    if (selected.empty()) return;
    if (SaveMode && OverwritePromt && !ConfirmOverwrite()) return;
    FileName = selected;
    SetModalResult(mrOk);
}

void TbsOpenDlgForm::FLVKeyPress(TObject* Sender, wchar_t& Key)
{
    if (Key == 13 && !FileListView->GetSelectedFile().empty()) OpenButtonClick(Sender);
}

void TbsOpenDlgForm::EditKeyPress(TObject* Sender, wchar_t& Key)
{
    if (Key != 13) return;
    const String text = FileNameEdit->Text();
    if (text.find(L'*') != String::npos) {
        FileListView->SetMask(text);
    } else if (text.find(L'/') != String::npos) {
        // A folder opens in the list; a file path in an existing folder is taken as the name.
        if (IsExistingDirectory(TypedPath(text)))
            FileListView->SetPath(TypedPath(text));
        else if (IsExistingDirectory(ExtractFilePath(TypedPath(text))))
            OpenButtonClick(Sender);
    } else {
        OpenButtonClick(Sender);
    }
}

void TbsOpenDlgForm::FLVChange(TObject*)
{
    const String name = ExtractFileName(FileListView->GetSelectedFile());
    if (!name.empty()) FileNameEdit->SetText(name);
    if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::AddToHistory()
{
    TbsShellFolder* folder = FileListView->RootFolder();
    if (!folder) return;
    if (!FolderHistory.empty() && IdListEqual(FolderHistory.back(), folder->AbsoluteID())) return;
    FolderHistory.push_back(IdListCopy(folder->AbsoluteID()));
}

void TbsOpenDlgForm::FLVPathChange(TObject*)
{
    if (!StopAddToHistory) AddToHistory();
    if (FileListView->Items()->Count() > 0) FileListView->SetItemFocused(FileListView->Items()->Item(0));
    if (OnFolderChange) OnFolderChange(this);
}

void TbsOpenDlgForm::InitHistory() { AddToHistory(); }

void TbsOpenDlgForm::BackToolButtonClick(TObject*)
{
    if (FolderHistory.size() < 2) return;
    // The folder shown is the last entry: it goes, and the one before it opens.
    IdListFree(FolderHistory.back());
    FolderHistory.pop_back();
    StopAddToHistory = true;
    try {
        FileListView->FollowId(FolderHistory.back());
    } catch (...) {
        StopAddToHistory = false;
        throw;
    }
    StopAddToHistory = false;
}

void TbsOpenDlgForm::UpToolButtonClick(TObject*) { FileListView->Back(); }

void TbsOpenDlgForm::NewFolderToolButtonClick(TObject*)
{
    // Virtual folders have no file-system path.
    const String path = FileListView->Path();
    if (path.find(L'/') == String::npos) return;
    ++NewFolderCount;
    String name = Text(L"MSG_NEWFOLDER", L"New Folder");
    if (NewFolderCount > 1) name += L"(" + IntToStr(NewFolderCount) + L")";
    const String full = IncludeTrailingPathDelimiter(path) + name;
    if (FileExists(full) || DirectoryExists(full)) return;
    if (!CreateDir(full)) throw EInOutError(L"I/O error: cannot create the folder " + full);
    FileListView->ReloadFolder();
    Application->ProcessMessages();
    for (int i = 0; i < FileListView->FolderCount(); ++i) {
        TbsShellFolder* f = FileListView->FolderAt(i);
        if (f && f->DisplayName() == name) {
            FileListView->SetSelected(FileListView->Items()->Item(i));
            FileListView->Items()->Item(i)->EditCaption();
            break;
        }
    }
}

void TbsOpenDlgForm::SetViewStyleItem(TViewStyle Style)
{
    IconMenuItem->SetChecked(Style == vsIcon);
    SmallIconMenuItem->SetChecked(Style == vsSmallIcon);
    ListMenuItem->SetChecked(Style == vsList);
    ReportMenuItem->SetChecked(Style == vsReport);
    FileListView->SetViewStyle(Style);
    if (Style == vsReport && FileListView->MultiSelect()) FileListView->BuildColumns();
}

void TbsOpenDlgForm::IconItemClick(TObject*) { SetViewStyleItem(vsIcon); }
void TbsOpenDlgForm::SmallIconItemClick(TObject*) { SetViewStyleItem(vsSmallIcon); }
void TbsOpenDlgForm::ListItemClick(TObject*) { SetViewStyleItem(vsList); }
void TbsOpenDlgForm::ReportItemClick(TObject*) { SetViewStyleItem(vsReport); }

void TbsOpenDlgForm::FCBChange(TObject*)
{
    FileListView->SetMask(FilterComboBox->Mask());
    if (!SaveMode) return;
    const String ext = FilterExtension();
    String text = FileNameEdit->Text();
    if (ext.empty() || text.empty()) return;
    const String old = ExtractFileExt(text);
    if (!old.empty()) text.erase(text.find(old), old.size());
    FileNameEdit->SetText(text + ext);
}

// ---- the component -----------------------------------------------------------------------------

TbsSkinOpenDialog::TbsSkinOpenDialog(TComponent* AOwner)
    : TComponent(AOwner), FDefaultFont(new TFont), FFiles(new TStringList)
{
    FDefaultFont->SetName(L"Tahoma");
    FDefaultFont->SetHeight(13);
}

TbsSkinOpenDialog::~TbsSkinOpenDialog()
{
    if (FDlgFrm) FDlgFrm->Free();
    delete FFiles;
    delete FDefaultFont;
}

void TbsSkinOpenDialog::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlFSD) FCtrlFSD = nullptr;
    if (AComponent == FToolBarImageList) FToolBarImageList = nullptr;
}

void TbsSkinOpenDialog::SetToolBarImageList(TCustomImageList* Value)
{
    FToolBarImageList = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinOpenDialog::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinOpenDialog::SetCtrlSkinData(TbsSkinData* Value)
{
    FCtrlFSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinOpenDialog::SetFileName(const String& Value)
{
    FFileName = Value;
    if (FDlgFrm) FDlgFrm->FileNameEdit->SetText(ExtractFileName(Value));
}

String TbsSkinOpenDialog::GetSelectedFile() const
{
    return FDlgFrm ? FDlgFrm->FileListView->GetSelectedFile() : String();
}

TbsOpenDlgForm* TbsSkinOpenDialog::CreateDlgForm()
{
    return TbsOpenDlgForm::CreateEx(Application, FSaveMode, FCtrlFSD, FToolButtonsTransparent, FToolBarImageList);
}

String TbsSkinOpenDialog::FirstFolder() const
{
    const String programFolder = ExtractFileDir(ExeFileName());
    const String initial = !FInitialDir.empty() && IsExistingDirectory(FInitialDir) ? FInitialDir : programFolder;
    const String dir = ExtractFileDir(FFileName);
    if (!dir.empty()) return IsExistingDirectory(dir) ? dir : initial;
    return initial;
}

void TbsSkinOpenDialog::BeforeShow(TbsOpenDlgForm* Form)
{
    Form->FileNameEdit->SetText(ExtractFileName(FFileName));
    Form->InitHistory();
}

bool TbsSkinOpenDialog::Execute()
{
    if (OnShow) OnShow(this);
    bool accepted = false;
    std::unique_ptr<TbsOpenDlgForm, FreeForm> form;
    // OnClose before the form goes, on every way out.
    auto finish = [&] {
        if (OnClose) OnClose(this);
        FDlgFrm = nullptr;
        form.reset();
    };
    try {
        form.reset(CreateDlgForm());
        FDlgFrm = form.get();
        TbsOpenDlgForm* f = form.get();
        f->OverwritePromt = FOverwritePromt;
        f->OnFolderChange = OnFolderChange;
        f->CheckFileExists = FCheckFileExists;
        f->DefaultExt = FDefaultExt;

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
        bsf->SetMenusAlphaBlend(FCtrlAlphaBlend);
        bsf->SetMenusAlphaBlendAnimation(FCtrlAlphaBlendAnimation);
        bsf->SetMenusAlphaBlendValue(FCtrlAlphaBlendValue);
        for (TbsSkinCustomComboBox* box : {static_cast<TbsSkinCustomComboBox*>(f->ShellBox),
                                           static_cast<TbsSkinCustomComboBox*>(f->FilterComboBox)}) {
            box->SetAlphaBlend(FCtrlAlphaBlend);
            box->SetAlphaBlendAnimation(FCtrlAlphaBlendAnimation);
            box->SetAlphaBlendValue(FCtrlAlphaBlendValue);
        }

        f->OpenButton->SetDefaultFont(FDefaultFont);
        f->CancelButton->SetDefaultFont(FDefaultFont);
        f->ShellBox->SetDefaultFont(FDefaultFont);
        f->FileListView->SetDefaultFont(FDefaultFont);

        f->SetViewStyleItem(FLVViewStyle);
        f->FileListView->SetRoot(FirstFolder());

        TbsSkinFileListView* list = f->FileListView;
        list->SetHeaderSkinDataName(FLVHeaderSkinDataName);
        list->SetSkinData(FCtrlFSD);
        if (FCtrlFSD) {
            list->SetDrawSkin(FCtrlFSD->DlgListViewDrawSkin());
            list->SetItemSkinDataName(FCtrlFSD->DlgListViewItemSkinDataName());
        }
        list->SetMultiSelect(FMultiSelection);
        if (FShowHiddenFiles) {
            TShellObjectTypes types = list->ObjectTypes();
            types.Include(otHidden);
            list->SetObjectTypes(types);
        }

        PrepareForm(f);
        // The filter box makes its items once its window exists.
        f->FilterComboBox->HandleNeeded();
        f->FilterComboBox->SetFilter(FFilter);
        f->FilterComboBox->SetItemIndex(FFilterIndex - 1);
        list->SetMask(f->FilterComboBox->Mask());

        for (TbsSkinCustomControl* c :
             {static_cast<TbsSkinCustomControl*>(f->FileListViewPanel),
              static_cast<TbsSkinCustomControl*>(f->BottomPanel), static_cast<TbsSkinCustomControl*>(f->ToolPanel)})
            c->SetSkinData(FCtrlFSD);
        std::vector<TbsSkinSpeedButton*> toolButtons{f->BackToolButton, f->UpToolButton, f->NewFolderToolButton,
                                                     f->StyleToolButton};
        if (FCtrlFSD && !FCtrlFSD->Empty && FCtrlFSD->GetControlIndex(L"resizetoolbutton") != -1)
            for (TbsSkinSpeedButton* b : toolButtons) b->SetSkinDataName(L"resizetoolbutton");
        f->Drivelabel->SetSkinData(FCtrlFSD);
        for (TbsSkinSpeedButton* b : toolButtons) b->SetSkinData(FCtrlFSD);
        f->FLVHScrollBar->SetSkinData(FCtrlFSD);
        f->FLVVScrollBar->SetSkinData(FCtrlFSD);
        f->FileNameEdit->SetSkinData(FCtrlFSD);
        f->FilterComboBox->SetSkinData(FCtrlFSD);
        f->OpenButton->SetSkinData(FCtrlFSD);
        f->CancelButton->SetSkinData(FCtrlFSD);
        f->OpenFileLabel->SetSkinData(FCtrlFSD);
        f->FileTypeLabel->SetSkinData(FCtrlFSD);
        f->ShellBox->SetSkinDataName(L"combobox");
        f->ShellBox->SetSkinData(FCtrlFSD);

        int w = FDialogWidth < 1 ? FDefaultClientWidth : FDialogWidth;
        int h = FDialogHeight < 1 ? FDefaultClientHeight : FDialogHeight;
        if (FSD && !FSD->Empty) {
            w = std::max(w, bsf->GetMinWidth());
            h = std::max(h, bsf->GetMinHeight());
        }
        f->SetClientSize(w, h);

        if (list->Items()->Count() > 0) list->SetItemFocused(list->Items()->Item(0));
        BeforeShow(f);

        const TModalResult result = f->ShowModal();
        FFilterIndex = f->FilterComboBox->ItemIndex() + 1;
        FDialogWidth = f->ClientWidth();
        FDialogHeight = f->ClientHeight();
        FLVViewStyle = list->ViewStyle();
        AfterShow(f);
        accepted = result == mrOk;
        if (accepted) {
            FFileName = f->FileName;
            if (FSaveMode) FFileName = f->CompleteSaveName(FFileName);
            list->GetSelectedFiles(FFiles);
            // A name typed with nothing selected is the one file chosen.
            if (FFiles->Count() == 0 && !FFileName.empty()) FFiles->Add(FFileName);
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    return accepted;
}

// ---- save mode ---------------------------------------------------------------------------------

TbsSkinSaveDialog::TbsSkinSaveDialog(TComponent* AOwner) : TbsSkinOpenDialog(AOwner)
{
    FSaveMode = true;
    FTitle = L"Save file";
}
