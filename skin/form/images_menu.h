// The images menu: a popup grid of pictures from an image list, with full-width button rows
// (picture and caption) and header rows, from which the user picks one. The grid lives in a
// never-activated popup window of its own that holds the mouse capture, takes the keys through
// the application's message hook and is made anew at each popup and destroyed at each close.
#pragma once

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/core/collection.h"
#include "platform/framework/forms/application.h"
#include "skin/controls/skin_menu_links.h"

class TbsSkinData;
class TbsSkinHint;
class TbsSkinImagesMenu;

class TbsImagesMenuItem : public TCollectionItem {
public:
    explicit TbsImagesMenuItem(TCollection* Collection) : TCollectionItem(Collection) {}
    void Assign(TPersistent* Source) override;
    int ImageIndex = -1;
    String Caption;
    TNotifyEvent OnClick;
    bool Button = false;
    bool Header = false;
    String Hint;
    TRect ItemRect{};
};

class TbsImagesMenuItems : public TCollection {
public:
    explicit TbsImagesMenuItems(TbsSkinImagesMenu* AImagesMenu);
    TbsImagesMenuItem* Item(int Index) const { return static_cast<TbsImagesMenuItem*>(Items(Index)); }
    TbsImagesMenuItem* AddItem() { return static_cast<TbsImagesMenuItem*>(Add()); }
    TbsSkinImagesMenu* ImagesMenu;
};

class TbsSkinImagesMenuPopupWindow;

class TbsSkinImagesMenu : public TbsSkinImagesMenuBase {
public:
    explicit TbsSkinImagesMenu(TComponent* AOwner);
    ~TbsSkinImagesMenu() override;

    void Popup(int X, int Y);
    void PopupFromRect(const TRect& R) override;
    void Hide();
    TbsImagesMenuItem* SelectedItem() const;
    bool SelectedItem(String& Caption, int& ImageIndex) const override;
    TCustomImageList* Images() const override { return FImages; }
    void SetImages(TCustomImageList* Value);
    TbsImagesMenuItems* ImagesItems() const { return FImagesItems; }
    int ColumnsCount() const { return FColumnsCount; }
    void SetColumnsCount(int Value);
    TbsSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinHint* SkinHint() const { return FSkinHint; }
    void SetSkinHint(TbsSkinHint* Value);
    TFont* DefaultFont() const { return FDefaultFont; }
    // The window closed (called by it): frees it once its handlers returned, fires the events.
    void CloseMenu(bool AProcessEvents);
    TbsSkinImagesMenuPopupWindow* PopupWindow() const { return FPopupWindow; }

    int ItemIndex = -1;
    bool ShowSelectedItem = true;
    bool AlphaBlend = false;
    bool AlphaBlendAnimation = false;
    uint8_t AlphaBlendValue = 200;
    bool UseSkinFont = true;
    bool ShowHints = true;
    TNotifyEvent OnItemClick, OnChange, OnMenuClose, OnMenuPopup;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void UtilWndProc(TMessage& M);

    TCustomImageList* FImages = nullptr;
    TbsImagesMenuItems* FImagesItems;
    int FColumnsCount = 1;
    TbsSkinData* FSkinData = nullptr;
    TbsSkinImagesMenuPopupWindow* FPopupWindow = nullptr;
    TbsSkinImagesMenuPopupWindow* FDeadWindow = nullptr;
    int FOldItemIndex = -1;
    TFont* FDefaultFont;
    TbsSkinHint* FSkinHint = nullptr;
    HWND FUtilWnd = nullptr;
};

class TbsSkinImagesMenuPopupWindow : public TCustomControl {
public:
    explicit TbsSkinImagesMenuPopupWindow(TbsSkinImagesMenu* AOwner);
    ~TbsSkinImagesMenuPopupWindow() override;
    void Show(const TRect& PopupRect);
    void Hide(bool AProcessEvents);
    void ProcessKey(int Key);

    bool FSkinSupport = false;
    TMessageEvent OldAppMessage;
    TbsSkinImagesMenu* ImagesMenu;
    HRGN FRgn = nullptr;
    TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
    TRect NewItemsRect{};
    TBitmap* WindowPicture = nullptr;
    TBitmap* MaskPicture = nullptr;
    int MouseInItem = -1, OldMouseInItem = -1;
    bool FDown = false;
    bool FItemDown = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    void Paint() override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    bool SkinUsable();
    void CalcItemRects();
    void CalcSize();
    int ItemAt(int X, int Y) const;
    void SetHot(int Index);
    void DrawItemFrame(TCanvas* C, const TRect& R, bool Pressed);
    void DrawItemText(TCanvas* C, const String& S, const TRect& R, int State);
    void DrawHeader(TCanvas* C, TbsImagesMenuItem* I);
    void AppMessageHook(MSG& Msg, bool& Handled);
    void HookApp();
    void UnHookApp();
    bool FHooked = false;
    bool FClosing = false;
};
