// TbsSkinPageControl: the framework's page control dressed by the "tab" record of its skin (or a
// built-in look without one). The framework control keeps the tabs' layout, selection and
// scrolling; this control adjusts its answers (the page area by TCM_ADJUSTRECT, the tab
// rectangles by TCM_GETITEMRECT, so the pages and the hit tests follow) and paints everything
// itself. On top it adds close buttons on the tabs (room reserved through a blank image list
// the framework control sizes its tabs by), a centred or offset tab row, hiding the tab row and
// the border, a skinned scroller in place of the native arrows, page switching by the wheel, a
// hot tab and button-style tabs from a button record.
//
// The painting (frame, tab row, each tab composed as a top tab, then turned for side tabs or
// flipped for bottom ones) is in skin_page_control_paint.cpp.
#pragma once

#include "platform/framework/controls/page_control.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_change_client.h"
#include "skin/controls/skin_tab_sheet.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_types.h"
#include "skin/core/text_layout.h"

class TbsSkinCustomControl;

using TbsCloseEvent = std::function<void(TObject* Sender, bool& CanClose)>;
using TbsDrawSkinTabEvent =
    std::function<void(int TabIndex, const TRect& Rct, bool Active, bool MouseIn, TCanvas* Cnvs)>;

class TbsSkinPageControl : public TPageControl, public TbsSkinChangeClient {
    friend class TbsSkinCustomTabSheet;

public:
    explicit TbsSkinPageControl(TComponent* AOwner);
    ~TbsSkinPageControl() override;

    bool MouseWheelSupport() const { return FMouseWheelSupport; }
    void SetMouseWheelSupport(bool Value) { FMouseWheelSupport = Value; }
    bool TabExtededDraw() const { return FTabExtendedDraw; }
    void SetTabExtededDraw(bool Value);
    int TabMargin() const { return FTabMargin; }
    // Values below -1 are refused.
    void SetTabMargin(int Value);
    int TabSpacing() const { return FTabSpacing; }
    void SetTabSpacing(int Value);
    TbsButtonLayout TabLayout() const { return FTabLayout; }
    void SetTabLayout(TbsButtonLayout Value);
    bool TextInHorizontal() const { return FTextInHorizontal; }
    void SetTextInHorizontal(bool Value);
    bool TabsInCenter() const { return FTabsInCenter; }
    // Stays off while TabWidth is 0; on, it moves the tabs to a single top row over the parent.
    void SetTabsInCenter(bool Value);
    int TabsOffset() const { return FTabsOffset; }
    void SetTabsOffset(int Value);
    bool FreeOnClose() const { return FFreeOnClose; }
    void SetFreeOnClose(bool Value) { FFreeOnClose = Value; }
    bool ShowCloseButtons() const { return FShowCloseButtons; }
    void SetShowCloseButtons(bool Value);
    // This control's own glyphs (the framework control is given the blank list).
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* Value);
    bool TabsBGTransparent() const { return FTabsBGTransparent; }
    void SetTabsBGTransparent(bool Value);
    const String& ButtonTabSkinDataName() const { return FButtonTabSkinDataName; }
    void SetButtonTabSkinDataName(const String& Value) { FButtonTabSkinDataName = Value; }
    TFont* DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    const String& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& Value) { FSkinDataName = Value; }
    int SkinIndex() const { return FIndex; }
    int CloseSize() const { return FCloseSize; }
    // The scroller while tabs overflow a single row, else nullptr.
    TbsSkinCustomControl* SkinUpDown() const { return FSkinUpDown; }
    // The hot tab: its page index and visible index (-1: none).
    int ActiveTab() const { return FActiveTab; }
    int ActiveTabIndex() const { return FActiveTabIndex; }

    void HideTabs();
    void ShowTabs();
    void HideBorderAndTabs();
    void ShowBorderAndTabs();
    void UpDateTabs();
    void ChangeSkinData();
    void Loaded() override;
    // Reads the record (or none) into the fields below; every paint and size change runs it.
    void GetSkinData();

    // TCM_SETITEMSIZE with W low and H high; TCM_GETITEMRECT of visible tab I, as drawn.
    void SetItemSize(int W, int H);
    bool GetItemRect(int I, TRect& R);
    // Where a centred or offset tab row starts.
    int TabsStartOffset();
    // The tabs right of the row's end, and those scrolled off its start.
    int HiddenTabsCount();
    int ScrolledTabsCount();
    void UpdateTabScroller();
    void UpdateScrollerPosition();

    TbsSkinData* SkinChangeModel() const override { return FSD; }
    void SkinChangeEnd() override { ChangeSkinData(); }

    TbsCloseEvent OnClose;
    TNotifyEvent OnAfterClose;
    TbsDrawSkinTabEvent OnDrawSkinTab;

    // Copied from the record by GetSkinData.
    TRect CloseButtonRect{}, ClosebuttonActiveRect{}, CloseButtonDownRect{};
    bool ButtonTransparent = false;
    TColor ButtonTransparentColor = 0;
    TBitmap* Picture = nullptr;
    TRect SkinRect{}, ClRect{}, TabRect{}, ActiveTabRect{}, FocusTabRect{}, MouseInTabRect{}, TabsBGRect{};
    TPoint LTPoint{}, RTPoint{}, LBPoint{}, RBPoint{};
    int TabLeftOffset = 0, TabRightOffset = 0;
    String FontName;
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0, MouseInFontColor = 0;
    String UpDown;
    int BGPictureIndex = -1;
    bool TabStretchEffect = false, ShowFocus = false;
    int FocusOffsetX = 0, FocusOffsetY = 0;
    bool StretchEffect = false, LeftStretch = false, TopStretch = false, RightStretch = false, BottomStretch = false;
    TbsStretchType StretchType = bsstFull;
    TRect TabLeftBottomActiveRect{}, TabLeftBottomFocusRect{};

    // ---- painting (skin_page_control_paint.cpp) ----
    void PaintTabs(TCanvas* Canvas);
    void DrawSkinTab(int PageIndex, TRect R, TCanvas* Canvas, bool MouseIn, bool Active);

protected:
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Change() override;
    void AlignControls(TControl* AControl, TRect& Rect) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    bool SkinLook() const { return FIndex != -1; }
    bool SideTabs() const { return TabPosition() == tpLeft || TabPosition() == tpRight; }
    bool RowShifted() const { return FTabsInCenter || FTabsOffset > 0; }
    TbsSkinCustomTabSheet* SkinPage(int PageIndex) const;
    TbsSkinCustomTabSheet* SkinPageOfTab(int TabIndex) const;
    void AdjustPageArea(RECT& R);
    void AdjustTabRect(RECT& R);
    // Adds Delta to the room every tab keeps (the blank list's width or height by TabPosition).
    void ChangeReservedRoom(int Delta, bool AlongWidth);
    int GetCloseButtonSize() const;
    void RemoveNativeArrows();
    void CreateSkinUpDown();
    void FreeSkinUpDown();
    void PlaceSkinUpDown();
    void SkinUpDownChange(TObject* Sender);
    void UpdateHotTab(int X, int Y);
    // The hot page's close button in control coordinates (empty without one).
    TRect HotButtonRect(int XShift);
    void CloseActivePage();
    void RepaintTabs();
    void MouseWheel(int Delta);
    void EraseBackground(TMessage& Message);
    // A W x H area of Canvas filled with P, by StretchEffect and StretchType.
    void FillWithPicture(TCanvas* Canvas, int W, int H, TBitmap* P, const TRect& PR);
    // The client piece of the record: the part of Picture under ClRect.
    TRect ClientPiece() const;

    // ---- painting ----
    void PaintDefaultFrame(TCanvas* Canvas);
    void PaintSkinFrame(TCanvas* Canvas);
    TRect SkinFrameRect();
    TRect GetActiveTabRect();
    void DrawButtonTab(TBitmap* T, bool Active, bool MouseIn);
    void DrawCloseButton(TCanvas* Canvas, const TRect& A, int H, int W, int PageIndex);
    void DrawTabGlyphAndText(TCanvas* Canvas, int W, int H, int S, bool Enabled, int ImageIndex,
                             TCustomImageList* AImages, const String& Caption);

    bool FMouseWheelSupport = false;
    bool FTabExtendedDraw = false;
    int FTabMargin = -1;
    int FTabSpacing = 1;
    TbsButtonLayout FTabLayout = blGlyphLeft;
    bool FTextInHorizontal = false;
    bool FHideTabs = false, FHideBorder = false;
    TTabPosition FOLdTabPosition = tpTop;
    bool FOldMultiLine = false;
    int FOldTabHeight = -1;
    int FCloseSize = 14;
    bool FFreeOnClose = false;
    bool FShowCloseButtons = false;
    bool FTabsBGTransparent = false;
    int FActiveTab = -1, FActiveTabIndex = -1;
    int FOldActiveTab = -1, FOldActiveTabIndex = -1;
    TCustomImageList* FImages = nullptr;
    TCustomImageList* FTempImages = nullptr;
    bool FTabsInCenter = false;
    int FTabsOffset = 0;
    String FButtonTabSkinDataName = L"resizetoolbutton";
    TbsSkinData* FSD = nullptr;
    String FSkinDataName = L"tab";
    int FIndex = -1;
    TbsSkinCustomControl* FSkinUpDown = nullptr;
    TFont* FDefaultFont = nullptr;
    bool FUseSkinFont = true;
    int FDefaultItemHeight = 20;
};

// A quarter turn of Bitmap counter-clockwise (its top edge becomes the left edge) or clockwise
// (the top edge becomes the right edge), drawn opaque at X, Y.
void DrawBitmapTurnedLeft(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y);
void DrawBitmapTurnedRight(TCanvas* Canvas, TBitmap* Bitmap, int X, int Y);
// The same turns, and a flip top to bottom, in place.
void TurnBitmapLeft(TBitmap* Bitmap);
void TurnBitmapRight(TBitmap* Bitmap);
void FlipBitmapVert(TBitmap* Bitmap);
