// TbsSkinCustomTreeView: the framework's tree view dressed by the skin. Font and colour come from
// the "treeview" record (lines and buttons mixed from its text and background colours, squared
// expand pictures cut from its picture); the tree's own scroll bars give way to external
// TbsSkinScrollBars kept in step; with DrawSkin it paints every node itself: fading connectors,
// plus and minus boxes (or image-list or skin buttons), ancestor lines, the node image and the
// selected node on the "listbox" item picture. Base of the dialogs' shell folder tree.
#pragma once

#include "platform/framework/controls/tree_view.h"
#include "skin/controls/skin_change_client.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/skin_data.h"

class TbsSkinCustomTreeView : public TCustomTreeView, public TbsSkinChangeClient {
public:
    explicit TbsSkinCustomTreeView(TComponent* AOwner);
    ~TbsSkinCustomTreeView() override;

    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    int SkinIndex() const { return FIndex; }
    TFont* DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(TFont* Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
    TCustomImageList* ButtonImageList() const { return FButtonImageList; }
    void SetButtonImageList(TCustomImageList* Value);
    int ButtonExpandImageIndex() const { return FButtonExpandImageIndex; }
    void SetButtonExpandImageIndex(int Value) { FButtonExpandImageIndex = Value; }
    int ButtonNoExpandImageIndex() const { return FButtonNoExpandImageIndex; }
    void SetButtonNoExpandImageIndex(int Value) { FButtonNoExpandImageIndex = Value; }
    bool DrawSkin() const { return FDrawSkin; }
    // True installs the node painter (for good).
    virtual void SetDrawSkin(bool Value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);
    TColor LineColor() const { return FLineColor; }
    TColor ButtonColor() const { return FButtonColor; }

    virtual void ChangeSkinData();
    void UpDateScrollBars();

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void Change(TTreeNode* Node) override;

private:
    void SetBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical);
    void VScrollBarChange(TObject* Sender);
    void HScrollBarChange(TObject* Sender);
    void DrawSkinItem(TTreeNode* Node, TCustomDrawState State, TCustomDrawStage Stage, bool& DefaultDraw);
    void DrawNodeLines(TCanvas* C, TTreeNode* Node, const TRect& R);
    void DrawFadedLine(TCanvas* C, int X1, int X2, int Y);
    void DrawNodeImage(TCanvas* C, TTreeNode* Node, const TRect& R, int CY);
    void CutExpandPicture(TBitmap* Target, TBitmap* Source, const TRect& R);

    TBitmap FExpandImage, FNoExpandImage;
    TCustomImageList* FButtonImageList = nullptr;
    int FButtonNoExpandImageIndex = 0;
    int FButtonExpandImageIndex = 1;
    String FItemSkinDataName = L"listbox";
    String FCheckSkinDataName = L"checkbox";
    TColor FLineColor = 0;
    TColor FButtonColor = 0;
    int FButtonSize = 5;
    // The image list set directly on the tree window (the shell's system icons), read at paint
    // time when the tree has no Images component.
    HIMAGELIST FThirdImages = nullptr;
    int FThirdImageWidth = 0, FThirdImageHeight = 0, FThirdImagesCount = 0;
    bool FDrawSkin = false;
    bool FInCheckScrollBars = false;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"treeview";
    int FIndex = -1;
    TFont* FDefaultFont = nullptr;
    bool FUseSkinFont = true;
    TColor FDefaultColor = clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
};
