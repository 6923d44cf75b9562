// The form's skin menus: the system menu's items (built in, or added to the application's own
// system menu), the tray icon's small menu, opening menus through the form's menu engine, the
// bookkeeping while one is open, and linking a menu to a frame button.
#include "platform/framework/controls/shortcuts.h"
#include "platform/win/win_api.h"
#include "skin/core/layer_manager.h"
#include "skin/core/resource_strings.h"
#include "skin/form/animate_object.h"
#include "skin/form/caption_object.h"
#include "skin/form/frame_objects.h"
#include "skin/form/skin_form.h"

namespace {

const wchar_t* const kSysItemNames[] = {L"BSF_MINITEM", L"BSF_MAXITEM",   L"BSF_RESTORE",
                                        L"BSF_ROLLUP",  L"BSF_MINTOTRAY", L"BSF_CLOSE"};

String MenuText(TbsSkinData* SD, const wchar_t* Key)
{
    if (SD && SD->ResourceStrData()) return SD->ResourceStrData()->GetResStr(Key);
    return GetBuiltInResStr(Key);
}

}  // namespace

bool TbsSkinForm::SkinMenuVisible() const { return SkinMenu && SkinMenu->Visible(); }

// ---- open menus ------------------------------------------------------------------------------

void TbsSkinForm::SkinMenuOpen()
{
    if (!InMainMenu) HookApp();
    if (InMenu) return;
    InMenu = true;
    if (OnSkinMenuOpen) OnSkinMenuOpen(this);
}

void TbsSkinForm::SkinMenuClose()
{
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    InMenu = false;
    for (TbsActiveSkinObject* o : std::vector<TbsActiveSkinObject*>(ObjectList))
        if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o); c && c->PopupMenuQuickButton != -1)
            c->ReleasePopupQuickButton();
    for (TbsActiveSkinObject* o : ObjectList) {
        if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o); b && b->MenuItem && b->FDown) {
            b->SetDown(false);
            break;
        }
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o); a && a->MenuItem && a->FMenuTracking) {
            // Its frames play back to the first one.
            a->Active = true;
            a->FFrame = a->CountFrames;
            a->FDown = false;
            a->FMenuTracking = false;
            a->Increment = false;
            AnimateTimer->SetEnabled(true);
            break;
        }
    }
    UnHookApp();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
    if (InMainMenu) {
        InMainMenu = false;
        if (FMainMenuBar) FMainMenuBar->LeaveMenuMode();
        if (OnMainMenuExit) OnMainMenuExit(this);
    }
}

void TbsSkinForm::SkinMainMenuClose()
{
    InMainMenu = false;
    if (SkinMenuVisible()) SkinMenu->Hide();
    if (FMainMenuBar) FMainMenuBar->LeaveMenuMode();
    UnHookApp();
    if (OnMainMenuExit) OnMainMenuExit(this);
}

void TbsSkinForm::SkinSubMenuClose()
{
    InMenu = false;
    if (FMainMenuBar) FMainMenuBar->ReleaseItem();
    if (OnSkinMenuClose) OnSkinMenuClose(this);
}

void TbsSkinForm::PopupSkinMenu(TMenu* Menu, const TPoint& P) { PopupSkinMenu1(Menu, Rect(P.X, P.Y, P.X, P.Y), false); }

void TbsSkinForm::PopupSkinMenu1(TMenu* Menu, const TRect& R, bool PopupUp)
{
    if (!Menu) return;
    SkinMenuOpen();
    if (SkinMenu) SkinMenu->Popup(nullptr, FMSD ? FMSD : FSD, 0, R, Menu->Items(), PopupUp);
}

void TbsSkinForm::PopupSysMenu(int X, int Y) { PopupSysMenuAtRect(Rect(X, Y, X, Y)); }

void TbsSkinForm::PopupSysMenuAtRect(const TRect& R)
{
    TMenuItem* items = GetSysMenuItems();
    SkinMenuOpen();
    // An MDI child's system menu opens through its main form's menu engine.
    TbsSkinForm* host = this;
    if (IsMDIChild()) host = SkinFormOfForm(Application ? Application->MainForm() : nullptr);
    if (!host || !host->SkinMenu) return;
    host->SkinMenu->Popup(nullptr, host->FMSD ? host->FMSD : host->FSD, 0, R, items, false);
}

void TbsSkinForm::ShowSysMenuAtButton()
{
    for (TbsActiveSkinObject* o : ObjectList) {
        TbsStdCommand cmd;
        if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o))
            cmd = s->Command;
        else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o))
            cmd = a->Command;
        else
            continue;
        if (cmd != cmSysMenu || !o->Enabled) continue;
        TRect r = o->ObjectRect;
        TPoint off;
        if (IsMDIChild()) {
            POINT p = FSkinSupport ? POINT{-NewClRect.Left, -NewClRect.Top} : POINT{-3, -(GetDefCaptionHeight() + 3)};
            ClientToScreen(FForm->Handle(), &p);
            off = Point(p.x, p.y);
        } else {
            off = Point(FForm->Left(), FForm->Top());
        }
        PopupSysMenuAtRect(Rect(r.Left + off.X, r.Top + off.Y, r.Right + off.X, r.Bottom + off.Y));
    }
}

// ---- the system menu's items -----------------------------------------------------------------

TMenuItem* TbsSkinForm::GetSysMenuItems()
{
    if (FSystemMenu) {
        AddSysMenuItems();
        return FSystemMenu->Items();
    }
    FSysMenu->Items()->Clear();
    // Built anew each time: the items shown follow the window state.
    const bool minimized = FWindowState == wsMinimized;
    const bool maximized = FWindowState == wsMaximized;
    auto item = [this](const wchar_t* Name, const wchar_t* Key, std::function<void()> Click) {
        auto* i = new TMenuItem(FSysMenu);
        i->SetName(Name);
        i->SetCaption(MenuText(FSD, Key));
        i->OnClick = [Click](TObject*) { Click(); };
        FSysMenu->Items()->Add(i);
        return i;
    };
    int added = 0;
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimize) && !minimized) {
        item(kSysItemNames[0], L"MI_MINCAPTION", [this] {
            if (FAlwaysMinimizeToTray)
                MinimizeToTray();
            else
                SetWindowState(wsMinimized);
        });
        ++added;
    }
    if (FBorderIcons.Contains(TbsBorderIcon::biMaximize) && !maximized) {
        item(kSysItemNames[1], L"MI_MAXCAPTION", [this] { SetWindowState(wsMaximized); });
        ++added;
    }
    if (FWindowState != wsNormal || FRollUpState) {
        item(kSysItemNames[2], L"MI_RESTORECAPTION", [this] {
            if (MaxRollUpState || (FRollUpState && FWindowState == wsNormal))
                SetRollUpState(false);
            else
                SetWindowState(wsNormal);
        });
        ++added;
    }
    if (FBorderIcons.Contains(TbsBorderIcon::biRollUp) && !FRollUpState && !minimized && !IsMDIChildMaximized()) {
        item(kSysItemNames[3], L"MI_ROLLUPCAPTION", [this] { SetRollUpState(true); });
        ++added;
    }
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimizeToTray)) {
        item(kSysItemNames[4], L"MI_MINTOTRAYCAPTION", [this] { MinimizeToTray(); });
        ++added;
    }
    if (added > 0) {
        auto* line = new TMenuItem(FSysMenu);
        line->SetCaption(L"-");
        FSysMenu->Items()->Add(line);
    }
    TMenuItem* close = item(kSysItemNames[5], L"MI_CLOSECAPTION", [this] { FForm->Close(); });
    close->SetShortCut(TextToShortCut(IsMDIChild() ? L"Ctrl+F4" : L"Alt+F4"));
    return FSysMenu->Items();
}

void TbsSkinForm::AddSysMenuItems()
{
    if (!FSystemMenu || !FUseDefaultSysMenu) return;
    TMenuItem* root = FSystemMenu->Items();
    for (bool found = true; found;) {
        found = false;
        for (int i = 0; i < root->Count(); ++i) {
            const String& name = root->Items(i)->Name();
            for (const wchar_t* n : kSysItemNames)
                if (name == n) found = true;
            if (found) {
                root->Items(i)->Free();
                break;
            }
        }
    }
    const bool minimized = FWindowState == wsMinimized;
    auto insert = [this, root](const wchar_t* Name, const wchar_t* Key, std::function<void()> Click, bool AtEnd) {
        auto* i = new TMenuItem(FSystemMenu);
        i->SetName(Name);
        i->SetCaption(MenuText(FSD, Key));
        i->OnClick = [Click](TObject*) { Click(); };
        if (AtEnd)
            root->Add(i);
        else
            root->Insert(0, i);
        return i;
    };
    // Each inserted at the top, so the menu begins minimize, restore, maximize, roll-up, tray.
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimizeToTray))
        insert(
            kSysItemNames[4], L"MI_MINTOTRAYCAPTION", [this] { MinimizeToTray(); }, false);
    if (FBorderIcons.Contains(TbsBorderIcon::biRollUp) && !FRollUpState && !minimized && !IsMDIChildMaximized())
        insert(
            kSysItemNames[3], L"MI_ROLLUPCAPTION", [this] { SetRollUpState(true); }, false);
    if (FBorderIcons.Contains(TbsBorderIcon::biMaximize) && FWindowState != wsMaximized)
        insert(
            kSysItemNames[1], L"MI_MAXCAPTION", [this] { SetWindowState(wsMaximized); }, false);
    if (FWindowState != wsNormal || FRollUpState)
        insert(
            kSysItemNames[2], L"MI_RESTORECAPTION",
            [this] {
                if (MaxRollUpState || (FRollUpState && FWindowState == wsNormal))
                    SetRollUpState(false);
                else
                    SetWindowState(wsNormal);
            },
            false);
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimize) && !minimized)
        insert(
            kSysItemNames[0], L"MI_MINCAPTION",
            [this] {
                if (FAlwaysMinimizeToTray)
                    MinimizeToTray();
                else
                    SetWindowState(wsMinimized);
            },
            false);
    TMenuItem* close = insert(
        kSysItemNames[5], L"MI_CLOSECAPTION", [this] { FForm->Close(); }, true);
    close->SetShortCut(TextToShortCut(IsMDIChild() ? L"Ctrl+F4" : L"Alt+F4"));
}

void TbsSkinForm::CreateTrayMenuItems()
{
    TMenuItem* root = FSysTrayMenu->Items();
    auto* restore = new TMenuItem(FSysTrayMenu);
    restore->SetName(L"TRAY_BSF_RESTORE");
    restore->SetCaption(MenuText(FSD, L"MI_RESTORECAPTION"));
    restore->OnClick = [this](TObject*) { RestoreFromTray(); };
    root->Add(restore);
    auto* line = new TMenuItem(FSysTrayMenu);
    line->SetCaption(L"-");
    root->Add(line);
    auto* close = new TMenuItem(FSysTrayMenu);
    close->SetName(L"TRAY_BSF_CLOSE");
    close->SetCaption(MenuText(FSD, L"MI_CLOSECAPTION"));
    close->SetShortCut(TextToShortCut(IsMDIChild() ? L"Ctrl+F4" : L"Alt+F4"));
    close->OnClick = [this](TObject*) { FForm->Close(); };
    root->Add(close);
}

void TbsSkinForm::LinkMenu(const String& AIDName, TMenu* AMenu, bool APopupUp)
{
    TbsActiveSkinObject* o = ObjectAt(GetIndex(AIDName));
    if (!o || !AMenu) return;
    if (auto* b = dynamic_cast<TbsSkinButtonObject*>(o)) {
        b->MenuItem = AMenu->Items();
        b->FPopupUp = APopupUp;
    } else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o); a && a->ButtonStyle) {
        a->MenuItem = AMenu->Items();
        a->FPopupUp = APopupUp;
    }
}
