// TbsSkinPopupMenu: a popup menu that, instead of the plain popup, finds the skinned form it
// belongs to and shows its items through that form's menu engine. Without a skinned form it
// shows nothing.
#pragma once

#include "skin/controls/skin_menu_links.h"

class TbsSkinData;
class TbsSkinForm;

class TbsSkinPopupMenu : public TbsSkinPopupMenuBase {
public:
    explicit TbsSkinPopupMenu(TComponent* AOwner);

    // The framework's popup entry (a control's right click): at a screen point, no opener.
    void Popup(int X, int Y) override;
    void PopupFromRect(const TRect& R, bool APopupUp);
    void PopupFromRect2(TControl* ACtrl, const TRect& R, bool APopupUp) override;
    // At a screen point for ACtrl; needs SkinData.
    void Popup2(TControl* ACtrl, int X, int Y);

    TPoint PopupPoint() const { return FPopupPoint; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TCustomForm* ComponentForm() const { return FComponentForm; }
    void SetComponentForm(TCustomForm* Value) { FComponentForm = Value; }
    TComponent* SkinComponent() const { return FSkinComponent; }
    void SetSkinComponent(TComponent* Value) { FSkinComponent = Value; }
    TNotifyEvent OnMenuClose;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The skinned form that shows the menu (takes SkinData on the first find); nullptr: none.
    TbsSkinForm* FindForm();
    void DoPopup(TControl* Opener, const TRect& R, bool PopupUp, bool NeedSkinData);

    TPoint FPopupPoint{-1, -1};
    TbsSkinData* FSD = nullptr;
    TCustomForm* FComponentForm = nullptr;
    TComponent* FSkinComponent = nullptr;
};

// Shows Root's sub-items through the skinned form's menu engine at a screen point and waits
// (running the message loop) until the menu closes; the item chosen, or nullptr. For callers that
// need an answer, such as the shell's item menu.
TMenuItem* TrackSkinMenu(TbsSkinForm* SF, TMenuItem* Root, const TPoint& P);
