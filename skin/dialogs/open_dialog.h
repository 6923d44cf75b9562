// The skinned file dialogs: TbsSkinOpenDialog.Execute builds a TbsOpenDlgForm - a tool bar with
// the folder combo box and Back, Up, New folder and view-style buttons, the shell file list with
// its scroll bars, and below them the name edit, the file-type combo box, Open and Cancel - shows
// it modally and copies the chosen file (or files) back. TbsSkinSaveDialog is the same dialog in
// save mode: the button saves, a typed name is completed with the type's extension and an
// existing file may be confirmed first.
//
// The form keeps a history of the folders the list showed (Back) and hands the list's selection
// to the name edit. The picture dialogs (picture_dialogs.h) derive from both classes and add
// their preview pane.
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/controls/list_view.h"
#include "platform/framework/core/component.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/graphics_objects.h"
#include "skin/dialogs/shell_folder.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinScrollBar;
class TbsSkinFileListView;
class TbsSkinEdit;
class TbsSkinFilterComboBox;
class TbsSkinShellComboBox;
class TbsSkinButton;
class TbsSkinStdLabel;
class TbsSkinToolBar;
class TbsSkinSpeedButton;
class TbsSkinMenuSpeedButton;
class TbsSkinPopupMenu;
class TbsSkinBevel;
class TbsPngImageList;
class TCustomImageList;
class TMenuItem;

class TbsOpenDlgForm : public TForm {
public:
    // The form, owned by AOwner; in save mode the button saves and names are completed.
    static TbsOpenDlgForm* CreateEx(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                    bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList);
    ~TbsOpenDlgForm() override;

    // The extension a typed name without one gets: "." + DefaultExt when set, else the chosen
    // type's extension (empty for a mask with ".*").
    String DefaultExtension();
    // The chosen type's extension: that of its mask, or of the mask's first pattern; empty when
    // the mask contains ".*".
    String FilterExtension();
    // A save-mode name completed once: the type's extension when it has none, else
    // "." + DefaultExt. The overwrite question and the result both use this name.
    String CompleteSaveName(const String& Name);

    void OpenButtonClick(TObject* Sender);
    void FLVDBLClick(TObject* Sender);
    void FLVKeyPress(TObject* Sender, wchar_t& Key);
    void EditKeyPress(TObject* Sender, wchar_t& Key);
    virtual void FLVChange(TObject* Sender);
    void FLVPathChange(TObject* Sender);
    virtual void FCBChange(TObject* Sender);
    void BackToolButtonClick(TObject* Sender);
    void UpToolButtonClick(TObject* Sender);
    void NewFolderToolButtonClick(TObject* Sender);
    void IconItemClick(TObject* Sender);
    void SmallIconItemClick(TObject* Sender);
    void ListItemClick(TObject* Sender);
    void ReportItemClick(TObject* Sender);
    // The current folder into the history before the form shows.
    void InitHistory();
    // The menu item of a view style checked, the others not, and the list in that style.
    void SetViewStyleItem(TViewStyle Style);

    bool SaveMode = false;
    // Folder identifiers the list showed, oldest first; each a copy the form frees.
    std::vector<LPITEMIDLIST> FolderHistory;
    bool StopAddToHistory = false;
    TbsSkinData* CtrlSD = nullptr;
    int NewFolderCount = 0;
    TbsPngImageList* PngImgList = nullptr;
    String DefaultExt;
    bool OverwritePromt = false;
    String FileName;
    TbsSkinForm* BSF = nullptr;
    TbsSkinPanel* FileListViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinScrollBar* FLVHScrollBar = nullptr;
    TbsSkinScrollBar* FLVVScrollBar = nullptr;
    TbsSkinFileListView* FileListView = nullptr;
    TbsSkinEdit* FileNameEdit = nullptr;
    TbsSkinFilterComboBox* FilterComboBox = nullptr;
    TbsSkinShellComboBox* ShellBox = nullptr;
    TbsSkinButton* OpenButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinStdLabel* Drivelabel = nullptr;
    TbsSkinStdLabel* OpenFileLabel = nullptr;
    TbsSkinStdLabel* FileTypeLabel = nullptr;
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinSpeedButton* UpToolButton = nullptr;
    TbsSkinSpeedButton* BackToolButton = nullptr;
    TbsSkinMenuSpeedButton* StyleToolButton = nullptr;
    TbsSkinPopupMenu* StylePopupMenu = nullptr;
    TMenuItem* IconMenuItem = nullptr;
    TMenuItem* SmallIconMenuItem = nullptr;
    TMenuItem* ReportMenuItem = nullptr;
    TMenuItem* ListMenuItem = nullptr;
    TNotifyEvent OnFolderChange;
    bool CheckFileExists = true;

protected:
    // Builds the form; APictureNames are the tool pictures of the built-in list in order.
    TbsOpenDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData, bool AToolButtonsTransparent,
                   TCustomImageList* AToolBarImageList, std::initializer_list<const wchar_t*> APictureNames);
    // A dialog text: the controls' text table when there is one, else the fallback.
    String Text(const wchar_t* Key, const wchar_t* Fallback) const;
    // Places a right-aligned tool bar control to the right of those placed before it.
    void AlignRightOnToolBar(TControl* C);
    // Asks the overwrite question; true for OK.
    bool ConfirmOverwrite();
    // The list's folder with a trailing "/".
    String FolderPath();
    // A typed name as a path: absolute as typed, else inside the folder shown.
    String TypedPath(const String& Name);
    void AddToHistory();
    TbsSkinSpeedButton* MakeToolButton(int ImageIndex, const String& Hint, bool Flat);

    int FNextRightLeft = 100000;
};

class TbsSkinOpenDialog : public TComponent {
public:
    explicit TbsSkinOpenDialog(TComponent* AOwner);
    ~TbsSkinOpenDialog() override;

    // Shows the form modally; true when it closed with OK, then FileName (and Files) hold the
    // choice. The filter index, client size and view style are kept either way.
    bool Execute();
    // While the form exists, the list's selected file; else empty.
    String GetSelectedFile() const;

    TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
    void SetToolBarImageList(TCustomImageList* Value);
    bool ShowHiddenFiles() const { return FShowHiddenFiles; }
    void SetShowHiddenFiles(bool Value) { FShowHiddenFiles = Value; }
    bool ToolButtonsTransparent() const { return FToolButtonsTransparent; }
    void SetToolButtonsTransparent(bool Value) { FToolButtonsTransparent = Value; }
    bool OverwritePromt() const { return FOverwritePromt; }
    void SetOverwritePromt(bool Value) { FOverwritePromt = Value; }
    const String& DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
    int DialogWidth() const { return FDialogWidth; }
    void SetDialogWidth(int Value) { FDialogWidth = Value; }
    int DialogHeight() const { return FDialogHeight; }
    void SetDialogHeight(int Value) { FDialogHeight = Value; }
    int DialogMinWidth() const { return FDialogMinWidth; }
    void SetDialogMinWidth(int Value) { FDialogMinWidth = Value; }
    int DialogMinHeight() const { return FDialogMinHeight; }
    void SetDialogMinHeight(int Value) { FDialogMinHeight = Value; }
    bool CheckFileExists() const { return FCheckFileExists; }
    void SetCheckFileExists(bool Value) { FCheckFileExists = Value; }
    bool MultiSelection() const { return FMultiSelection; }
    void SetMultiSelection(bool Value) { FMultiSelection = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    bool CtrlAlphaBlend() const { return FCtrlAlphaBlend; }
    void SetCtrlAlphaBlend(bool Value) { FCtrlAlphaBlend = Value; }
    BYTE CtrlAlphaBlendValue() const { return FCtrlAlphaBlendValue; }
    void SetCtrlAlphaBlendValue(BYTE Value) { FCtrlAlphaBlendValue = Value; }
    bool CtrlAlphaBlendAnimation() const { return FCtrlAlphaBlendAnimation; }
    void SetCtrlAlphaBlendAnimation(bool Value) { FCtrlAlphaBlendAnimation = Value; }
    const String& LVHeaderSkinDataName() const { return FLVHeaderSkinDataName; }
    void SetLVHeaderSkinDataName(const String& Value) { FLVHeaderSkinDataName = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont; }
    // Copies the font.
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    const String& InitialDir() const { return FInitialDir; }
    void SetInitialDir(const String& Value) { FInitialDir = Value; }
    const String& Filter() const { return FFilter; }
    void SetFilter(const String& Value) { FFilter = Value; }
    int FilterIndex() const { return FFilterIndex; }
    void SetFilterIndex(int Value) { FFilterIndex = Value; }
    const String& FileName() const { return FFileName; }
    // Also the form's name edit while the form exists.
    void SetFileName(const String& Value);
    // The selected files after an accepted execution.
    TStrings* Files() const { return FFiles; }
    // The view style each execution starts with and stores back.
    TViewStyle LVViewStyle() const { return FLVViewStyle; }
    // The form while Execute shows it, else nullptr.
    TbsOpenDlgForm* Form() const { return FDlgFrm; }

    // Called with the form as sender when the list's folder or selection changes.
    TNotifyEvent OnFolderChange;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    // The form of this dialog, built with the component's settings.
    virtual TbsOpenDlgForm* CreateDlgForm();
    // Before the filter: nothing here (the picture dialog sets its preview).
    virtual void PrepareForm(TbsOpenDlgForm*) {}
    // Just before the modal show: the edit and the history.
    virtual void BeforeShow(TbsOpenDlgForm* Form);
    // After the modal show, accepted or not: nothing here.
    virtual void AfterShow(TbsOpenDlgForm*) {}
    // The folder the list opens in.
    String FirstFolder() const;

    bool FSaveMode = false;
    int FDefaultClientWidth = 450;
    int FDefaultClientHeight = 290;
    TCustomImageList* FToolBarImageList = nullptr;
    bool FShowHiddenFiles = false;
    bool FToolButtonsTransparent = false;
    bool FOverwritePromt = false;
    String FDefaultExt;
    int FDialogWidth = 0, FDialogHeight = 0;
    int FDialogMinWidth = 0, FDialogMinHeight = 0;
    bool FCheckFileExists = true;
    bool FMultiSelection = false;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 225;
    bool FCtrlAlphaBlend = false, FCtrlAlphaBlendAnimation = false;
    BYTE FCtrlAlphaBlendValue = 225;
    String FLVHeaderSkinDataName = L"header";
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    TFont* FDefaultFont;
    String FTitle = L"Open file";
    String FInitialDir;
    String FFilter = L"All files|*.*";
    int FFilterIndex = 1;
    String FFileName;
    TStrings* FFiles;
    TViewStyle FLVViewStyle = vsList;
    TbsOpenDlgForm* FDlgFrm = nullptr;
};

// The file dialog in save mode, titled "Save file".
class TbsSkinSaveDialog : public TbsSkinOpenDialog {
public:
    explicit TbsSkinSaveDialog(TComponent* AOwner);
};
