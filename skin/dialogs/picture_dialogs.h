// The picture dialogs: the file dialog of open_dialog.h with a preview pane on its right, behind
// a splitter - a scroll box showing the selected picture at its own size with scroll bars, or
// stretched to the pane (the tool bar's stretch toggle). TbsSkinOpenPictureDialog opens,
// TbsSkinSavePictureDialog saves. The pane width, the stretch state, the view style, the filter
// index and the client size carry to the next call.
//
// A file the picture loader cannot read (a damaged picture, a metafile, which the loader has no
// class for) leaves the preview empty and the dialog usable.
#pragma once

#include "skin/dialogs/open_dialog.h"

class TImage;
class TbsSkinScrollBox;
class TbsSkinSplitter;

class TbsOpenPictureDlgForm : public TbsOpenDlgForm {
public:
    static TbsOpenPictureDlgForm* CreateEx(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData,
                                           bool AToolButtonsTransparent, TCustomImageList* AToolBarImageList);

    // The name edit and the preview follow the list's selection.
    void FLVChange(TObject* Sender) override;
    void StretchButtonClick(TObject* Sender);
    // Loads the file into the preview; one that cannot be read leaves it empty. Unless
    // stretching, the picture shows at its own size with the bars it needs.
    void LoadPreview(const String& FileName);
    // The stretch button's state onto the preview.
    void ApplyStretch();

    TbsSkinPanel* ImagePanel = nullptr;
    TImage* Image = nullptr;
    TbsSkinScrollBox* ScrollBox = nullptr;
    TbsSkinScrollBar* SBVScrollBar = nullptr;
    TbsSkinScrollBar* SBHScrollBar = nullptr;
    TbsSkinSpeedButton* StretchButton = nullptr;
    TbsSkinSplitter* Splitter = nullptr;

private:
    TbsOpenPictureDlgForm(TComponent* AOwner, bool ASaveMode, TbsSkinData* ACtrlSkinData, bool AToolButtonsTransparent,
                          TCustomImageList* AToolBarImageList);
    // The image at the picture's size (or 0 x 0 without one), then the bars.
    void FitImageToPicture();
};

class TbsSkinOpenPictureDialog : public TbsSkinOpenDialog {
public:
    explicit TbsSkinOpenPictureDialog(TComponent* AOwner);

    // Every call starts with the preview stretched.
    bool StretchPicture() const { return FStretchPicture; }
    void SetStretchPicture(bool Value) { FStretchPicture = Value; }
    // The preview pane's width and stretch state the next call starts with.
    int PaneWidth() const { return FPaneWidth; }
    bool StretchState() const { return FStretchState; }
    TbsOpenPictureDlgForm* Form() const { return static_cast<TbsOpenPictureDlgForm*>(FDlgFrm); }

protected:
    TbsOpenDlgForm* CreateDlgForm() override;
    void PrepareForm(TbsOpenDlgForm* Form) override;
    void BeforeShow(TbsOpenDlgForm* Form) override;
    void AfterShow(TbsOpenDlgForm* Form) override;

private:
    bool FStretchPicture = false;
    int FPaneWidth = 190;
    bool FStretchState = false;
};

// The picture dialog in save mode, titled "Save file".
class TbsSkinSavePictureDialog : public TbsSkinOpenPictureDialog {
public:
    explicit TbsSkinSavePictureDialog(TComponent* AOwner);
};
