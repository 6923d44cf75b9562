// The menu engine of a skinned form: shows the sub-items of a menu item as a stack of skinned
// popup windows (level 0 the menu, level n + 1 the submenu of an entry of level n), opens
// submenus after a 500 ms hover, runs the command of a chosen entry and tells the opener control
// and the form when the menu closes (WM_SKINMENU_CLOSED) and a command ran
// (WM_SKINMENU_COMMAND). Menus are modeless: Popup returns once level 0 shows.
//
// Also the test of which form messages close an open skin menu, and FindSkinForm.
#pragma once

#include <vector>

#include "platform/framework/core/component.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/timer.h"
#include "platform/framework/graphics/graphics_objects.h"
#include "skin/form/form_links.h"

class TbsSkinData;
class TbsSkinForm;
class TbsSkinMenuItem;
class TbsSkinPopupWindow;

class TbsSkinMenu : public TComponent, public TbsFormMenuEngine {
public:
    TbsSkinMenu(TComponent* AOwner, TCustomForm* AForm);
    ~TbsSkinMenu() override;

    // Opens level 0 with AItem's sub-items from StartIndex next to the screen rectangle R (a
    // point as an empty rectangle), below R unless PopupUp. APopupCtrl hears the close.
    void Popup(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R, TMenuItem* AItem,
               bool PopupUp) override;
    // The same with a level of two lists (AItem's sub-items from StartIndex, then AItem2's).
    void Popup2(TControl* APopupCtrl, TbsSkinData* ASkinData, int StartIndex, const TRect& R, TMenuItem* AItem,
                TMenuItem* AItem2, bool PopupUp);
    // Closes the whole menu and notifies the opener, OnMenuClose and the form.
    void Hide() override;
    // Frees the levels from the last down to Level; with 0 the menu closes.
    void CloseLevels(int Level);
    int LevelOf(const TbsSkinPopupWindow* Window) const;
    // An entry highlighted (Click false) or chosen (Click true).
    void ActivateItem(TbsSkinPopupWindow* Window, TbsSkinMenuItem* Item, bool Click, bool Kb);

    // Frees the closed windows at the next turn of the message loop.
    void FreeBuriedLater();

    bool Visible() const override { return FVisible; }
    bool First() const { return FFirst; }
    bool HasPopupList() const override { return !FPopupList.empty(); }
    bool PopupKeyDown(WPARAM Key) override;
    int PopupCount() const override { return static_cast<int>(FPopupList.size()); }
    bool LastSelectedHasSubItems() const override;
    void SetMaxMenuItemsInWindow(int Value) override { MaxMenuItemsInWindow = Value; }
    void SetAlphaBlend(bool On, int Value, bool Animation) override;

    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool Value) { FUseSkinSize = Value; }
    int DefaultMenuItemHeight() const { return FDefaultMenuItemHeight; }
    void SetDefaultMenuItemHeight(int Value) { FDefaultMenuItemHeight = Value; }
    TFont* DefaultMenuItemFont() const { return FDefaultMenuItemFont; }
    void SetDefaultMenuItemFont(TFont* Value) { FDefaultMenuItemFont->Assign(Value); }
    TCustomForm* Form() const { return FForm; }

    TControl* PopupCtrl = nullptr;
    TControl* DCtrl = nullptr;
    TTimer* WaitTimer = nullptr;
    TbsSkinMenuItem* WItem = nullptr;
    TRect WorkArea{};
    TbsSkinData* SkinData = nullptr;
    TNotifyEvent OnMenuClose;
    std::vector<TbsSkinPopupWindow*> FPopupList;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 150;
    bool AlphaBlendAnimation = false;
    int MaxMenuItemsInWindow = 0;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AddPopupWindow(const TRect& R, TMenuItem* AItem, TMenuItem* AItem2, int StartIndex, bool PopupByItem,
                        bool PopupUp);
    void WaitTimerProc(TObject*);
    // Takes the settings of the skinned form the engine belongs to.
    void TakeFormSettings();
    // Windows closed from inside their own handlers are freed once those have returned.
    void Bury(TbsSkinPopupWindow* W);
    // Frees the buried windows no message is being handled for (all of them with AAll).
    void FreeBuried(bool AAll = false);
    void UtilWndProc(TMessage& M);

    bool FUseSkinFont = true;
    bool FUseSkinSize = true;
    bool FFirst = false;
    int FDefaultMenuItemHeight = 20;
    TFont* FDefaultMenuItemFont;
    TCustomForm* FForm;
    bool FVisible = false;
    std::vector<TbsSkinPopupWindow*> FBuried;
    HWND FUtilWnd = nullptr;
};

// WM_MOVE, WM_SIZE, WM_ACTIVATE, WM_KILLFOCUS, WM_CANCELMODE, WM_MOUSEACTIVATE, the three
// non-client and the three client button presses and WM_PARENTNOTIFY.
bool IsMenuClosingMessage(UINT Msg);
// The first component owned by AComponent that is a TbsSkinForm, or nullptr.
TbsSkinForm* FindSkinForm(TComponent* AComponent);
// Sends a menu message (WM_SKINMENU_CLOSED, WM_SKINMENU_COMMAND) to a control: through its window
// when it has one, else by direct dispatch.
void SendMenuMessage(TControl* Ctrl, UINT Msg);
// Fills the form menu factory, so each skinned form gets this engine.
void InstallSkinMenus();
