// Menus: TMenuItem (the item tree with captions, "&" accelerators, shortcuts, check marks and radio
// groups, enabling and visibility, image index, command numbers and OnClick), TMenu with command and
// shortcut dispatch, TMainMenu (a form's menu) and TPopupMenu (virtual Popup(X, Y); the plain popup
// of this framework is shown unless a skinned menu overrides Popup). Shortcut helpers too.
#pragma once

#include <vector>

#include "platform/framework/controls/control_types.h"
#include "platform/framework/controls/shortcuts.h"
#include "platform/framework/core/component.h"

class TMenu;
class TCanvas;
class TCustomImageList;
class TBitmap;
class TBasicAction;

using TAdvancedMenuDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;

class TMenuItem : public TComponent {
    friend class TMenu;

public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // ---- tree ----
    int Count() const { return static_cast<int>(FItems.size()); }
    TMenuItem* Items(int i) const;
    TMenuItem* Parent() const { return FParent; }
    int MenuIndex() const;
    void SetMenuIndex(int v);
    void Add(TMenuItem* Item);
    void Insert(int Index, TMenuItem* Item);
    void Delete(int Index);
    void Remove(TMenuItem* Item);
    // Frees every sub-item.
    void Clear();
    int IndexOf(TMenuItem* Item) const;
    // The sub-item whose caption (without "&") matches, or nullptr.
    TMenuItem* Find(const String& ACaption) const;
    TMenu* GetParentMenu() const;
    TCustomImageList* GetImageList() const;
    // Automatic line reduction: separators that would stand first, last or after another
    // separator among the visible sub-items are hidden; the others are shown again. Only when the
    // menu asks for it (AutoLineReduction maAutomatic, or no menu); true when a flag changed.
    bool RethinkLines();

    // ---- properties ----
    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v);
    bool IsLine() const { return FCaption == L"-"; }
    bool Checked() const { return FChecked; }
    void SetChecked(bool v);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool v);
    int GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(int v) { FGroupIndex = v; }
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool v);
    bool Visible() const { return FVisible && !FLineHidden; }
    void SetVisible(bool v);
    bool Default() const { return FDefault; }
    void SetDefault(bool v);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut v);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int v);
    const String& Hint() const { return FHint; }
    void SetHint(const String& v) { FHint = v; }
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool v) { FAutoCheck = v; }
    // The item's command number (unique in the program; WM_COMMAND carries it).
    UINT Command() const { return FCommand; }
    // The item's own picture, drawn in front of its caption; owned, empty until given.
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* v);
    bool HasBitmap() const;
    // The action the item shows (caption, checked, enabled, visible, hint, image, shortcut) and
    // runs when clicked without an OnClick of its own.
    TBasicAction* Action() const { return FAction; }
    void SetAction(TBasicAction* v);
    // Asks the action to update itself (OnUpdate) and takes its properties again; a menu does
    // this for each item it is about to show.
    void InitiateAction();

    virtual void Click();
    TNotifyEvent OnClick;
    TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
    TAdvancedMenuDrawItemEvent OnDrawItem;

protected:
    void Changed();
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void TurnSiblingsOff();
    void ActionChange();
    TBitmap* FBitmap = nullptr;
    TBasicAction* FAction = nullptr;
    // Hidden by line reduction (kept apart from Visible, which the program sets).
    bool FLineHidden = false;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on a menu's root item
    std::vector<TMenuItem*> FItems;
    String FCaption;
    String FHint;
    bool FChecked = false;
    bool FRadioItem = false;
    int FGroupIndex = 0;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FAutoCheck = false;
    TShortCut FShortCut = 0;
    int FImageIndex = -1;
    UINT FCommand = 0;
};

enum TMenuAutoFlag { maAutomatic, maManual, maParent };
enum TFindItemKind { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    TMenuItem* Items() const { return FItems; }
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* v);
    TMenuAutoFlag AutoLineReduction() const { return FAutoLineReduction; }
    void SetAutoLineReduction(TMenuAutoFlag v) { FAutoLineReduction = v; }
    // Clicks the item with that command number; false when none has it.
    bool DispatchCommand(UINT ACommand);
    // Clicks the enabled, visible item whose shortcut the key message makes; true when one ran.
    bool IsShortCut(TMessage& KeyMsg);
    TMenuItem* FindItem(UINT Value, TFindItemKind Kind) const;
    // The window the menu belongs to (a form's handle for a main menu).
    HWND WindowHandle() const { return FWindowHandle; }
    void SetWindowHandle(HWND h) { FWindowHandle = h; }
    // Called when an item changes (the skinned menu bar redraws).
    TNotifyEvent OnChange;
    virtual void MenuChanged(TMenuItem* Source);

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    TMenuItem* FItems;
    TCustomImageList* FImages = nullptr;
    TMenuAutoFlag FAutoLineReduction = maAutomatic;
    HWND FWindowHandle = nullptr;
};

class TMainMenu : public TMenu {
public:
    explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
};

enum TPopupAlignment { paLeft, paRight, paCenter };

class TPopupMenu : public TMenu {
public:
    explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
    // Shows the menu at a screen point and clicks the item chosen (the plain popup of the
    // framework; a skinned menu overrides this).
    virtual void Popup(int X, int Y);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool v) { FAutoPopup = v; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* v) { FPopupComponent = v; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment v) { FAlignment = v; }
    TNotifyEvent OnPopup;

protected:
    virtual void DoPopup(TObject* Sender);

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TPopupAlignment FAlignment = paLeft;
};
