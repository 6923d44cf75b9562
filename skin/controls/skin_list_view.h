// TbsSkinCustomListView / TbsSkinListView: the framework's list view dressed by the skin. It takes
// its font and colour from the "listview" record, hides its own scroll bars and keeps external
// TbsSkinScrollBars in step by rules per view style (report view: rows; icon views: pixels; list
// view: columns), and with DrawSkin paints its items itself (the selected item on the "listbox"
// item picture, "checkbox" pictures, images, sub-items, skin grid lines). The main window's job
// list is one in report view with two external bars.
//
// It also takes over the list's column header (the "SysHeader32" child window, announced by
// WM_PARENTNOTIFY) and paints its sections from a button record ("header", else
// "resizetoolbutton") or in the built-in look; that half lives in skin_list_view_header.cpp.
#pragma once

#include "platform/framework/controls/list_view.h"
#include "skin/controls/skin_change_client.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_types.h"

class TbsDataSkinListBox;

// Draws a sub-item cell in DrawSkin mode; ADrawRect is already 3 pixels in on each side.
using TbsDrawSkinSubItemEvent = std::function<void(TObject* Sender, TListItem* Item, int SubItemIndex,
                                                   TCustomDrawState State, TCanvas* ACanvas, const TRect& ADrawRect)>;
// Draws a header section's content on the section's bitmap; R is (0, 0, width, height).
using TbsDrawHeaderSectionEvent = std::function<void(TCanvas* Cnvs, TListColumn* Column, bool Pressed, const TRect& R)>;

class TbsSkinCustomListView : public TCustomListView, public TbsSkinChangeClient {
public:
    explicit TbsSkinCustomListView(TComponent* AOwner);
    ~TbsSkinCustomListView() override;

    TbsSkinData* SkinData() const { return FSD; }
    // Stores; with a model that is not empty, ChangeSkinData.
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    int SkinIndex() const { return FIndex; }
    TFont* DefaultFont() const { return FDefaultFont; }
    // Copies the font; applies it at once while there is no record.
    void SetDefaultFont(TFont* Value);
    TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(TColor Value);
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    const String& ItemSkinDataName() const { return FItemSkinDataName; }
    void SetItemSkinDataName(const String& Value) { FItemSkinDataName = Value; }
    const String& CheckSkinDataName() const { return FCheckSkinDataName; }
    void SetCheckSkinDataName(const String& Value) { FCheckSkinDataName = Value; }
    const String& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const String& Value) { FHeaderSkinDataName = Value; }
    bool DrawSkin() const { return FDrawSkin; }
    // True installs the item painter (for good) and switches FullDrag off.
    virtual void SetDrawSkin(bool Value);
    bool DrawSkinLines() const { return FDrawSkinLines; }
    void SetDrawSkinLines(bool Value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    void SetVScrollBar(TbsSkinScrollBar* Value);
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    void SetHScrollBar(TbsSkinScrollBar* Value);

    // Re-reads the skin: font, colours, grid line colour; the bars in step; the header repainted.
    void ChangeSkinData();
    // Brings the external bars in step with the list's scroll state.
    void UpDateScrollBars();

    // ---- the header (skin_list_view_header.cpp) ----
    // The taken-over header window, nullptr while there is none.
    HWND TakenHeader() const { return FHeaderHandle; }
    // Paints every section and the part right of the last into DC (nullptr: the header's own
    // paint).
    void PaintHeader(HDC DC);
    void DrawHeaderSection(TCanvas* Cnvs, TListColumn* Column, const TRect& R, bool Pressed);
    TRect GetHeaderSectionRect(int Index);
    // The header record: HeaderSkinDataName, else "resizetoolbutton"; -1 for the built-in look.
    void GetHeaderSkinData();
    int HeaderSkinIndex() const { return FHIndex; }

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

    TbsDrawSkinSubItemEvent OnDrawSkinSubItem;
    TbsDrawHeaderSectionEvent OnDrawHeaderSection;

protected:
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void WndProc(TMessage& Message) override;
    void CreateParams(TCreateParams& Params) override;
    void Change(TListItem* Item, TItemChange What) override;

private:
    void VScrollBarChange(TObject* Sender);
    void HScrollBarChange(TObject* Sender);
    void SetBar(TbsSkinScrollBar*& Field, TbsSkinScrollBar* Value, bool Vertical);
    void UpdateBarsIconView(bool& Changed);
    void UpdateBarsListView(bool& Changed);
    void UpdateBarsReportView(bool& Changed);
    int ItemZeroHeight();
    int ItemZeroWidth();
    void FillBelowHeader();

    // Item painting.
    void DrawSkinItem(TCustomListView* Sender, TListItem* Item, TCustomDrawState State, bool& DefaultDraw);
    void DrawItemText(TCanvas* C, const String& Caption, TRect R, bool Wrap, bool Ellipsis);
    void DrawSubItems(TCanvas* C, TListItem* Item, TCustomDrawState State, const TRect& BR, const TRect* SR,
                      int BitmapHeight);
    void DrawSkinGridLines(TCanvas* C, TListItem* Item, const TRect& BR);
    TbsDataSkinListBox* ItemRecord(TBitmap*& Picture);

    // The header.
    void TakeOverHeader(HWND Child);
    void GiveBackHeader();
    LRESULT HeaderWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);
    void InvalidateHeader(bool Erase);
    void DrawEmptyHeaderPart(TCanvas* C, const TRect& E);
    void ResizeHeaderGeometry(int W, int H);

    // The image list set directly on the list window (the shell's system icons), read at paint
    // time when neither SmallImages nor LargeImages is set.
    HIMAGELIST FThirdImages = nullptr;
    int FThirdImageWidth = 0, FThirdImageHeight = 0, FThirdImagesCount = 0;
    TColor FLineColor = 0;
    String FItemSkinDataName = L"listbox";
    String FCheckSkinDataName = L"checkbox";
    bool FDrawSkin = false;
    bool FDrawSkinLines = false;
    bool FDevDown = false;
    String FHeaderSkinDataName = L"header";
    bool FInCheckScrollBars = false;
    bool FromSB = false;
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"listview";
    int FIndex = -1;
    TFont* FDefaultFont = nullptr;
    bool FUseSkinFont = true;
    TColor FDefaultColor = clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;

    HWND FHeaderHandle = nullptr;
    WNDPROC FHeaderInstance = nullptr;
    WNDPROC FDefHeaderProc = nullptr;
    int FActiveSection = -1;
    bool FHeaderDown = false;
    int FHIndex = -1;
    TPoint HLTPt{}, HRTPt{}, HLBPt{}, HRBPt{};
    TRect HSkinRect{}, HClRect{};
    TPoint HNewLTPoint{}, HNewRTPoint{}, HNewLBPoint{}, HNewRBPoint{};
    TRect HNewClRect{};
    TBitmap* HPicture = nullptr;
    TColor HFontColor = 0, HActiveFontColor = 0, HDownFontColor = 0;
    TRect HActiveSkinRect{}, HDownSkinRect{};
    bool HStretchEffect = false, HLeftStretch = false, HTopStretch = false, HRightStretch = false,
         HBottomStretch = false;
    TbsStretchType HStretchType = bsstFull;
};

class TbsSkinListView : public TbsSkinCustomListView {
public:
    explicit TbsSkinListView(TComponent* AOwner) : TbsSkinCustomListView(AOwner) {}
};
