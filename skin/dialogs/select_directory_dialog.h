// The skinned folder chooser: TbsSkinSelectDirectoryDialog.Execute builds a TbsSelDirDlgForm - an
// optional tool bar (a path edit and a New folder button), the shell folder tree with its scroll
// bars, OK and Cancel - shows it modally and on OK stores the chosen folder in Directory. The
// client size carries over to the next call.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/graphics_objects.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinPanel;
class TbsSkinScrollBar;
class TbsSkinDirTreeView;
class TbsSkinButton;
class TbsSkinEdit;
class TbsSkinToolBar;
class TbsSkinSpeedButton;
class TbsPngImageList;
class TCustomImageList;

class TbsSelDirDlgForm : public TForm {
public:
    static TbsSelDirDlgForm* CreateEx(TComponent* AOwner, TbsSkinData* ACtrlSkinData, bool AShowToolBar,
                                      bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList,
                                      int AToolButtonImageIndex, bool ATreeShowLines,
                                      TCustomImageList* ATreeButtonImageList, int ATreeButtonExpandImageIndex,
                                      int ATreeButtonNoExpandImageIndex);

    // Enter with a text naming an existing folder selects it in the tree.
    void DirEditKeyPress(TObject* Sender, wchar_t& Key);
    // The edit follows the tree's selection.
    void DirTreeViewChange(TObject* Sender);
    // Makes one folder of the new-folder name in the selected one (never numbered, so a second
    // click there does nothing).
    void NewFolderToolButtonClick(TObject* Sender);

    TbsSkinData* CtrlSD = nullptr;
    bool ShowToolBar = false;
    TbsPngImageList* PngImgList = nullptr;
    TbsSkinForm* BSF = nullptr;
    TbsSkinPanel* DirTreeViewPanel = nullptr;
    TbsSkinPanel* BottomPanel = nullptr;
    TbsSkinDirTreeView* DirTreeView = nullptr;
    TbsSkinScrollBar* VScrollBar = nullptr;
    TbsSkinScrollBar* HScrollBar = nullptr;
    TbsSkinButton* OkButton = nullptr;
    TbsSkinButton* CancelButton = nullptr;
    TbsSkinToolBar* ToolPanel = nullptr;
    TbsSkinSpeedButton* NewFolderToolButton = nullptr;
    TbsSkinEdit* DirEdit = nullptr;

private:
    TbsSelDirDlgForm(TComponent* AOwner, TbsSkinData* ACtrlSkinData, bool AShowToolBar);
    String Text(const wchar_t* Key, const wchar_t* Fallback) const;
};

class TbsSkinSelectDirectoryDialog : public TComponent {
public:
    explicit TbsSkinSelectDirectoryDialog(TComponent* AOwner);
    ~TbsSkinSelectDirectoryDialog() override;

    // True when the form closed with OK; then Directory holds the chosen folder. The client
    // size is kept either way.
    bool Execute();

    bool TreeShowLines() const { return FTreeShowLines; }
    void SetTreeShowLines(bool Value) { FTreeShowLines = Value; }
    TCustomImageList* TreeButtonImageList() const { return FTreeButtonImageList; }
    void SetTreeButtonImageList(TCustomImageList* Value);
    int TreeButtonExpandImageIndex() const { return FTreeButtonExpandImageIndex; }
    void SetTreeButtonExpandImageIndex(int Value) { FTreeButtonExpandImageIndex = Value; }
    int TreeButtonNoExpandImageIndex() const { return FTreeButtonNoExpandImageIndex; }
    void SetTreeButtonNoExpandImageIndex(int Value) { FTreeButtonNoExpandImageIndex = Value; }
    TCustomImageList* ToolBarImageList() const { return FToolBarImageList; }
    void SetToolBarImageList(TCustomImageList* Value);
    int ToolButtonImageIndex() const { return FToolButtonImageIndex; }
    void SetToolButtonImageIndex(int Value) { FToolButtonImageIndex = Value; }
    bool ToolButtonsTransparent() const { return FToolButtonsTransparent; }
    void SetToolButtonsTransparent(bool Value) { FToolButtonsTransparent = Value; }
    int DialogWidth() const { return FDialogWidth; }
    void SetDialogWidth(int Value) { FDialogWidth = Value; }
    int DialogHeight() const { return FDialogHeight; }
    void SetDialogHeight(int Value) { FDialogHeight = Value; }
    int DialogMinWidth() const { return FDialogMinWidth; }
    void SetDialogMinWidth(int Value) { FDialogMinWidth = Value; }
    int DialogMinHeight() const { return FDialogMinHeight; }
    void SetDialogMinHeight(int Value) { FDialogMinHeight = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    BYTE AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(BYTE Value) { FAlphaBlendValue = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlFSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont; }
    // Copies the font.
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& Value) { FTitle = Value; }
    const String& Directory() const { return FDirectory; }
    void SetDirectory(const String& Value) { FDirectory = Value; }
    bool ShowToolBar() const { return FShowToolBar; }
    void SetShowToolBar(bool Value) { FShowToolBar = Value; }
    // The form while Execute shows it, else nullptr.
    TbsSelDirDlgForm* Form() const { return FDlgFrm; }

    TNotifyEvent OnShow;
    TNotifyEvent OnClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    bool FTreeShowLines = true;
    TCustomImageList* FTreeButtonImageList = nullptr;
    int FTreeButtonExpandImageIndex = 0;
    int FTreeButtonNoExpandImageIndex = 1;
    TCustomImageList* FToolBarImageList = nullptr;
    int FToolButtonImageIndex = 0;
    bool FToolButtonsTransparent = false;
    int FDialogWidth = 0, FDialogHeight = 0;
    int FDialogMinWidth = 0, FDialogMinHeight = 0;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    BYTE FAlphaBlendValue = 200;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlFSD = nullptr;
    TFont* FDefaultFont;
    String FTitle = L"Select folder";
    String FDirectory;
    bool FShowToolBar = false;
    TbsSelDirDlgForm* FDlgFrm = nullptr;
};
