// The skinned form's window procedure. Every message of the form passes here: first the menu
// closing, then the message's *before* rule (its action, its answer, and whether the form's
// saved procedure runs), then the saved procedure, then the *after* rules of the message, which
// run whatever the before rule decided. The rules are two tables below, one row per message and
// condition; the first before row whose condition holds is the message's rule.
#include <algorithm>

#include "platform/win/win_api.h"
#include "skin/controls/skin_button.h"
#include "skin/core/layer_manager.h"
#include "skin/core/os_layers.h"
#include "skin/core/skin_messages.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/frame_objects.h"
#include "skin/form/skin_form.h"

namespace {

// Where the saved procedure runs for a before rule.
enum class Saved {
    Then,   // after the action
    No,     // not at all
    Own,    // the action calls it where it must
    Twice,  // the action calls it first, and it runs again after the action
};

// The answer column: the one the action or the saved procedure left, or a fixed code.
constexpr LRESULT kKeep = static_cast<LRESULT>(INTPTR_MIN);

TPoint PointOf(LPARAM L) { return Point(GET_X_LPARAM(L), GET_Y_LPARAM(L)); }

}  // namespace

struct TbsSkinFormRules {
    using F = TbsSkinForm;
    using Condition = bool (*)(const F&, const TMessage&);
    using Action = void (F::*)(TMessage&);

    struct Before {
        UINT Msg;
        Condition When;  // nullptr: always
        Action Do;       // nullptr: nothing
        LRESULT Answer;
        Saved Run;
    };
    struct After {
        UINT Msg;
        Condition When;
        Action Do;
    };

    // ---- conditions ----
    static bool Skinnable(const F& f, const TMessage&) { return f.FSkinnableForm; }
    static bool FullDragLoop(const F& f, const TMessage&) { return f.FSizeMove && f.FFullDrag; }
    static bool UnskinnedShow(const F& f, const TMessage& m)
    {
        return !f.FSkinnableForm && static_cast<intptr_t>(m.WParam) > 0;
    }
    static bool FormCursor(const F& f, const TMessage&) { return f.FSkinnableForm && f.FUseFormCursorInNCArea; }
    static bool InactiveActiveMDIChild(const F& f, const TMessage&)
    {
        if (!f.FSkinnableForm || !f.IsMDIChild() || f.FFormActive) return false;
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        return main && main->ActiveMDIChild() == f.FForm;
    }
    static bool DisplayLimits(const F& f, const TMessage&)
    {
        return f.FForm->BorderStyle() != bsNone &&
               (f.GetMaxWidth() < f.FForm->Width() || f.GetMaxHeight() < f.FForm->Height());
    }
    static bool FullFrameShown(const F& f, const TMessage&) { return f.FullLayeredFrameShown(); }
    static bool RolledUp(const F& f, const TMessage&) { return f.FSkinnableForm && f.FRollUpState; }
    static bool ScRestore(const F&, const TMessage& m) { return (m.WParam & 0xFFF0) == SC_RESTORE; }
    static bool ScKeyMenu(const F&, const TMessage& m) { return (m.WParam & 0xFFF0) == SC_KEYMENU; }
    static bool FadeTimer(const F&, const TMessage& m) { return m.WParam == 1; }
    static bool OwnSkinData(const F& f, const TMessage& m)
    {
        return f.FSD && reinterpret_cast<TbsSkinData*>(m.WParam) == f.FSD;
    }
    static bool MaximizedMDIChild(const F& f, const TMessage&)
    {
        return f.IsMDIChild() && f.FWindowState == wsMaximized;
    }
    static bool MDIFormMaximizing(const F& f, const TMessage&)
    {
        return f.FForm->FormStyle() == fsMDIForm && !f.FInMaximizeAll;
    }
    static bool MDIFormRestoring(const F& f, const TMessage&)
    {
        return f.FForm->FormStyle() == fsMDIForm && !f.FInRestoreAll;
    }
    static bool MDIFormRestoringMaximized(const F& f, const TMessage& m)
    {
        return MDIFormRestoring(f, m) && f.FMDIChildMaximized;
    }
    static bool MDIFormChildMoved(const F& f, const TMessage&)
    {
        return f.FForm->FormStyle() == fsMDIForm && !f.FStopCheckChildMove;
    }
    static bool SkinnableChange(const F& f, const TMessage& m)
    {
        return !f.FUseRibbon && OwnSkinData(f, m) && !f.IsMDIChild();
    }
    static bool TrayRestoring(const F& f, const TMessage&) { return f.FForm->Tag() == -10000; }
    static bool BorderShown(const F& f, const TMessage&)
    {
        return f.LayeredBorderEnabled() && f.FBorderLayer->FVisible;
    }
    static bool SmartEffects(const F& f, const TMessage&) { return f.FSmartEffectsShow; }
    static bool PaintKey(const F& f, const TMessage& m) { return f.FSkinnableForm && m.LParam == SKIN_PAINT_KEY; }
    static bool Shown(const F&, const TMessage& m) { return static_cast<intptr_t>(m.WParam) > 0; }
    static bool Hidden(const F&, const TMessage& m) { return static_cast<intptr_t>(m.WParam) <= 0; }
    static bool MDIChild(const F& f, const TMessage&) { return f.IsMDIChild(); }
    static bool SkinnableCaption(const F& f, const TMessage& m)
    {
        return f.FSkinnableForm && m.WParam == static_cast<WPARAM>(HTCAPTION);
    }

    static const Before kBefore[];
    static const After kAfter[];
};

// clang-format off
const TbsSkinFormRules::Before TbsSkinFormRules::kBefore[] = {
    // message                      condition               action                         answer       saved
    {WM_DESTROY,                    nullptr,                &F::WMDestroy,                 kKeep,       Saved::Then},
    {WM_SIZE,                       FullDragLoop,           &F::WMSizeFullDrag,            kKeep,       Saved::Then},
    {WM_SIZE,                       nullptr,                &F::WMSize,                    kKeep,       Saved::Own},
    {WM_ACTIVATE,                   Skinnable,              &F::WMActivate,                kKeep,       Saved::Own},
    {WM_SETTEXT,                    Skinnable,              &F::WMSetText,                 kKeep,       Saved::Own},
    {WM_ERASEBKGND,                 nullptr,                &F::WMEraseBkgnd,              0,           Saved::No},
    {WM_SHOWWINDOW,                 Skinnable,              &F::WMShowWindow,              kKeep,       Saved::Then},
    {WM_SHOWWINDOW,                 UnskinnedShow,          &F::WMShowWindowUnskinned,     kKeep,       Saved::Then},
    {WM_SETCURSOR,                  FormCursor,             &F::WMSetCursor,               kKeep,       Saved::Then},
    {WM_MOUSEACTIVATE,              InactiveActiveMDIChild, &F::WMMouseActivate,           kKeep,       Saved::Then},
    {WM_GETMINMAXINFO,              Skinnable,              &F::WMGetMinMaxInfo,           kKeep,       Saved::Then},
    {WM_WINDOWPOSCHANGED,           nullptr,                &F::WMWindowPosChanged,        kKeep,       Saved::Then},
    {WM_DISPLAYCHANGE,              DisplayLimits,          &F::WMDisplayChange,           kKeep,       Saved::Then},
    {WM_NCCALCSIZE,                 Skinnable,              &F::WMNCCalcSize,              kKeep,       Saved::No},
    {WM_NCHITTEST,                  FullFrameShown,         nullptr,                       HTCLIENT,    Saved::No},
    {WM_NCHITTEST,                  Skinnable,              &F::WMNCHitTest,               kKeep,       Saved::No},
    {WM_NCPAINT,                    Skinnable,              &F::WMNCPaint,                 kKeep,       Saved::No},
    {WM_NCACTIVATE,                 Skinnable,              &F::WMNCActivate,              kKeep,       Saved::Own},
    {WM_SYNCPAINT,                  RolledUp,               &F::WMSyncPaint,               0,           Saved::No},
    {WM_SYSCOMMAND,                 ScRestore,              &F::WMSysCommandRestore,       kKeep,       Saved::Own},
    {WM_SYSCOMMAND,                 ScKeyMenu,              &F::WMSysCommandKeyMenu,       kKeep,       Saved::No},
    {WM_TIMER,                      FadeTimer,              &F::WMTimerFade,               kKeep,       Saved::Then},
    {WM_SIZING,                     FullDragLoop,           &F::WMSizingFullDrag,          kKeep,       Saved::Twice},
    {WM_MOVING,                     Skinnable,              &F::WMMoving,                  kKeep,       Saved::Then},
    {WM_ENTERSIZEMOVE,              Skinnable,              &F::WMEnterSizeMove,           kKeep,       Saved::Then},
    {WM_EXITSIZEMOVE,               Skinnable,              &F::WMExitSizeMove,            kKeep,       Saved::Then},
    {WM_SKINDATA_BEFORECHANGE,      OwnSkinData,            &F::WMSkinDataBeforeChange,    kKeep,       Saved::Then},
    {WM_SKINDATA_CHANGE,            nullptr,                &F::WMSkinDataChange,          kKeep,       Saved::Then},
    {WM_SKINDATA_AFTERCHANGE,       nullptr,                &F::WMSkinDataAfterChange,     kKeep,       Saved::Then},
    {WM_SKINMENU_CLOSED,            nullptr,                &F::WMSkinMenuClosed,          kKeep,       Saved::Then},
    {WM_MDICHILD_FIT,               MaximizedMDIChild,      &F::WMMDIChildFit,             kKeep,       Saved::Then},
    {WM_MDICHILD_MAXIMIZED,         MDIFormMaximizing,      &F::WMMDIChildMaximized,       kKeep,       Saved::No},
    {WM_MDICHILD_RESTORED,          MDIFormRestoring,       &F::WMMDIChildRestored,        kKeep,       Saved::No},
    {WM_MDICHILD_QUERYMAXIMIZED,    nullptr,                &F::WMMDIChildQueryMaximized,  kKeep,       Saved::No},
    {WM_MDICHILD_RESTOREALL,        MDIFormRestoringMaximized, &F::WMMDIChildRestoreAll,   kKeep,       Saved::No},
    {WM_MDICHILD_RESTOREOTHERS,     MDIFormRestoringMaximized, &F::WMMDIChildRestoreOthers, kKeep,      Saved::No},
    {WM_MDICHILD_MOVED,             MDIFormChildMoved,      &F::WMMDIChildMoved,           kKeep,       Saved::No},
    {WM_SKINDATA_STRINGSCHANGED,    nullptr,                &F::WMStringsChanged,          kKeep,       Saved::Then},
    {WM_SKINDATA_SKINNABLECHANGED,  SkinnableChange,        &F::WMSkinnableChanged,        kKeep,       Saved::Then},
    {WM_SKINFORM_TRAYRESTORE,       TrayRestoring,          &F::WMTrayRestore,             kKeep,       Saved::Then},
    {WM_SKINDATA_LAYERCHANGED,      nullptr,                &F::WMLayerChanged,            kKeep,       Saved::Then},
    {WM_SKINDATA_BLURCHANGED,       BorderShown,            &F::WMBlurChanged,             kKeep,       Saved::Then},
    {WM_SKINFORM_QUERYOWNFRAME,     nullptr,                &F::WMQueryOwnFrame,           kKeep,       Saved::No},
    {WM_SKINFORM_SHOWEFFECTBEGIN,   nullptr,                &F::WMShowEffectBegin,         kKeep,       Saved::Then},
    {WM_SKINFORM_SHOWEFFECTEND,     SmartEffects,           &F::WMShowEffectEnd,           kKeep,       Saved::Then},
    {WM_SKIN_PAINTTODC,             Skinnable,              &F::WMPaintToDC,               kKeep,       Saved::No},
    {WM_SKIN_PAINTBORDERTODC,       PaintKey,               &F::WMPaintToDC,               SKIN_PAINT_KEY, Saved::No},
};

const TbsSkinFormRules::After TbsSkinFormRules::kAfter[] = {
    {WM_MOVE,                       MDIChild,               &F::AfterMoveOrSize},
    {WM_SIZE,                       MDIChild,               &F::AfterMoveOrSize},
    {WM_SHOWWINDOW,                 Shown,                  &F::AfterShowWindow},
    {WM_SHOWWINDOW,                 Hidden,                 &F::AfterHideWindow},
    {WM_NCMOUSEMOVE,                Skinnable,              &F::AfterNCMouseMove},
    {WM_NCLBUTTONDOWN,              Skinnable,              &F::AfterNCLButtonDown},
    {WM_NCLBUTTONUP,                Skinnable,              &F::AfterNCLButtonUp},
    {WM_NCLBUTTONDBLCLK,            Skinnable,              &F::AfterNCLButtonDblClk},
    {WM_NCRBUTTONDOWN,              SkinnableCaption,       &F::AfterNCRButtonDown},
    {WM_NCRBUTTONDBLCLK,            SkinnableCaption,       &F::AfterNCRButtonDblClk},
    {WM_LBUTTONUP,                  nullptr,                &F::AfterLButtonUp},
    {WM_RBUTTONUP,                  nullptr,                &F::AfterRButtonUp},
};
// clang-format on

void TbsSkinForm::SkinFormWndProc(TMessage& M)
{
    // A form on its way out hears its last messages the plain way.
    if ((ComponentState() & csDestroying) || (FForm->ComponentState() & csDestroying)) {
        // A child going with its form still tells the main form it is no longer maximized.
        // (The form's window may also go from its base class's destructor: the form is asked
        // through the base then.)
        if (M.Msg == WM_DESTROY)
            if (auto* f = dynamic_cast<TCustomForm*>(FFormControl); f && f->FormStyle() == fsMDIChild) WMDestroy(M);
        CallSaved(M);
        return;
    }
    // A handler may free the form and this component with it; nothing runs after that.
    const std::shared_ptr<bool> alive = FAlive;
    CloseMenusOnMessage(M);
    if (!*alive) return;
    const TbsSkinFormRules::Before* rule = nullptr;
    for (const auto& r : TbsSkinFormRules::kBefore)
        if (r.Msg == M.Msg && (!r.When || r.When(*this, M))) {
            rule = &r;
            break;
        }
    if (rule) {
        if (rule->Do) (this->*rule->Do)(M);
        if (!*alive) return;
        if (rule->Answer != kKeep) M.Result = rule->Answer;
        if (rule->Run == Saved::Then || rule->Run == Saved::Twice) CallSaved(M);
    } else {
        CallSaved(M);
    }
    if (!*alive) return;
    for (const auto& r : TbsSkinFormRules::kAfter)
        if (r.Msg == M.Msg && (!r.When || r.When(*this, M))) {
            (this->*r.Do)(M);
            if (!*alive) return;
        }
}

// ---- closing menus ---------------------------------------------------------------------------

void TbsSkinForm::CloseMenusOnMessage(TMessage& M)
{
    switch (M.Msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_KILLFOCUS:
    case WM_CANCELMODE:
    case WM_MOUSEACTIVATE:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_PARENTNOTIFY: break;
    default: return;
    }
    if (FShowObjectHint && FSkinHint) FSkinHint->HideHint();
    auto close = [](TbsSkinForm* f) {
        if (f->SkinMenuVisible())
            f->SkinMenu->Hide();
        else
            f->SkinMenuClose();
    };
    if (InMainMenu && !InMenu) {
        SkinMainMenuClose();
    } else if (SkinMenuVisible() || InMenu) {
        close(this);
    } else if (FForm->FormStyle() == fsMDIForm && FForm->Visible()) {
        if (TbsSkinForm* child = SkinFormOfForm(FForm->ActiveMDIChild());
            child && (child->SkinMenuVisible() || child->InMenu))
            close(child);
    }
    SendCancelModeToControls();
}

// ---- menu keys -------------------------------------------------------------------------------

void TbsSkinForm::SkinMenuKeyDown(TMessage& M)
{
    if (IsMDIChild()) {
        TbsSkinForm* host = SkinFormOfForm(Application ? Application->MainForm() : nullptr);
        if (host && host != this && (host->InMenu || host->InMainMenu || host->SkinMenuVisible())) {
            host->SkinMenuKeyDown(M);
            return;
        }
    }
    const WPARAM key = M.WParam;
    if (InMainMenu && MenuBarAccel(static_cast<int>(key))) return;
    if (key == VK_ESCAPE && InMainMenu && !InMenu) {
        SkinMainMenuClose();
        return;
    }
    if (key == VK_LEFT && InMainMenu && SingleMenuLevel()) {
        if (FMainMenuBar) FMainMenuBar->PreviousItem();
        return;
    }
    if (key == VK_RIGHT && InMainMenu && ActiveMenuItemIsLeaf()) {
        if (FMainMenuBar) FMainMenuBar->NextItem();
        return;
    }
    if (key == VK_RETURN || key == VK_DOWN) {
        if (InMainMenu && MenuBarPressActive()) return;
        if (SkinMenu && SkinMenu->Visible()) SkinMenu->PopupKeyDown(key);
        return;
    }
    if (!SkinMenu || !SkinMenu->HasPopupList()) return;
    if (SkinMenu->Visible()) SkinMenu->PopupKeyDown(key);
    if (key == VK_ESCAPE && SkinMenu->PopupCount() == 0) {
        if (InMainMenu)
            SkinSubMenuClose();
        else
            SkinMenuClose();
    }
}

void TbsSkinForm::AppMessageHook(MSG& Msg, bool& Handled)
{
    if (Msg.message == WM_KEYDOWN) {
        TMessage m{WM_KEYDOWN, Msg.wParam, Msg.lParam, 0};
        SkinMenuKeyDown(m);
        Msg.message = 0;
        Handled = true;
    } else if (Msg.message == WM_MOUSEWHEEL) {
        // The wheel is swallowed while a menu is open.
        Msg.message = 0;
        Handled = true;
    } else if (OldAppMessage) {
        OldAppMessage(Msg, Handled);
    }
}

void TbsSkinForm::EnableShadow(bool AShowShadow, bool AHideFormBefore)
{
    if (!IsWindows2000OrLater() || AShowShadow == FHaveShadow) return;
    FHaveShadow = AShowShadow;
    if (AHideFormBefore) FForm->Hide();
    HWND h = FForm->Handle();
    DWORD style = GetClassLongW(h, GCL_STYLE);
    style = AShowShadow ? (style | CS_DROPSHADOW) : (style & ~CS_DROPSHADOW);
    SetClassLongW(h, GCL_STYLE, static_cast<LONG>(style));
    if (AHideFormBefore) FForm->Show();
}

// ---- the before rules' actions ---------------------------------------------------------------

bool TbsSkinForm::FadeWanted() const
{
    return IsWindows2000OrLater() && (FAlphaBlend || FAlphaBlendAnimation || (FSD && FSD->AnimationForAllWindows()));
}

void TbsSkinForm::WMDestroy(TMessage&)
{
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    AnimateTimer->SetEnabled(false);
    if (!IsMDIChild()) return;
    FWindowState = FWindowStateInit = wsNormal;
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main || !main->HandleAllocated()) return;
    SendMessageW(main->Handle(), WM_MDICHILD_RESTORED, 0, 0);
    // A tab must not outlive its child (a child freed while shown is never hidden first).
    DeleteChildFromBar(FForm);
    RefreshMDIMenuBar();
    RefreshMDITabsBar();
    SendMessageW(main->Handle(), WM_MDICHILD_MOVED, reinterpret_cast<WPARAM>(FForm->Handle()), 0);
}

void TbsSkinForm::WMSizeFullDrag(TMessage&)
{
    if (!FLogoBitMap->Empty() && FForm->FormStyle() != fsMDIForm) FForm->Repaint();
}

void TbsSkinForm::WMSize(TMessage& M)
{
    // The frame is rebuilt for the new size after the form has taken it, except while the
    // layered border drives the size: then the form hears of it after the rebuild.
    if (!FBorderLayerChangeSize) {
        CallSaved(M);
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
    }
    HMagnetized = HMagnetized2 = VMagnetized = VMagnetized2 = false;
    if (!FSkinSupport && FSkinnableForm) {
        SetFormRegion(true);
        if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
    } else if (FSkinSupport && FSD && FSkinnableForm && FFormWidth >= GetMinWidth() && FFormHeight >= GetMinHeight()) {
        if (LayeredBorderEnabled()) {
            if (!FBorderLayerChangeSize)
                FBorderLayer->SetBoundsWithForm();
            else
                FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
        }
        UpdateSkinFrame(true);
    }
    if (FBorderLayerChangeSize) CallSaved(M);
    if (FAlphaBlend && FAlphaBlendValue != 255 && FIsLayerEnabled && FForm->HandleAllocated()) {
        SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
        FForm->Repaint();
    }
    if (!FLogoBitMap->Empty() && FForm->FormStyle() != fsMDIForm) FForm->Repaint();
}

void TbsSkinForm::WMActivate(TMessage& M)
{
    CallSaved(M);
    if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
    if (IsMDIChildMaximized()) {
        FormChangeActive(false);
    } else {
        ResetObjectsState();
        FormChangeActive(true);
    }
    // The menu bar of an MDI form shows the active child's menu merged into its own.
    if (FForm->FormStyle() == fsMDIForm && FMainMenuBar && FMainMenuBar->ShowsChildMenu()) FMainMenuBar->UpDateItems();
}

void TbsSkinForm::WMSetText(TMessage& M)
{
    CallSaved(M);
    if (FForm->BorderStyle() != bsNone && !IsMDIChildMaximized()) UpDateFormNC();
    if (IsMDIChild()) {
        UpDateChildCaptionInMenu(FForm);
        RefreshMDIBarTab(FForm);
    }
    if (IsMDIChildMaximized())
        if (TbsSkinForm* host = SkinFormOfForm(Application ? Application->MainForm() : nullptr)) host->UpDateFormNC();
}

void TbsSkinForm::WMEraseBkgnd(TMessage& M)
{
    if (FForm->FormStyle() == fsMDIForm && !FClientInActiveDraw) return;
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    if (!HasSkin())
        PaintBGDefault(dc);
    else if (FUseRibbon && FSD->MDIBGPictureIndex != -1)
        PaintBG3(dc);
    else if (FSD->BGPictureIndex == -1)
        PaintBG(dc);
    else
        PaintBG2(dc);
}

void TbsSkinForm::WMShowWindow(TMessage& M)
{
    if (static_cast<intptr_t>(M.WParam) > 0) {
        if (Application && Application->MainForm() == FForm && !Application->OnRestore) {
            Application->OnRestore = [this](TObject* Sender) { AppRestore(Sender); };
            FAppRestoreSet = true;
        }
        if (FStartShow && FPositionInMonitor == bspDefault) {
            FStartShow = false;
        } else if (FStartShow && FWindowState == wsNormal) {
            FStartShow = false;
            ApplyPositionInMonitor();
        }
        if (FSD && FSD->AnimationForAllWindows() && FAlphaBlendValue == 0) FAlphaBlendValue = 255;
        if (FadeWanted() || UseLayeredShowAnimation()) {
            HWND h = FForm->Handle();
            if (FIsVistaOs && !DisableDWMAnimation) {
                SetWindowTransitions(h, false);
                DisableDWMAnimation = true;
            }
            const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
            if (!(ex & WS_EX_LAYERED)) SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
            SetLayeredAlpha(h, 0);
            if (LayeredBorderEnabled() && (FForm->Visible() || FForm->Tag() == -10000)) {
                FBorderLayer->CheckFormAlpha(0, false);
                FBorderLayer->ShowWithForm();
            }
            SetTimer(h, 1, 1, nullptr);
        }
        if (FForm->FormStyle() != fsMDIForm) ReapplySizeLimits();
        if (FForm->FormStyle() == fsMDIForm) {
            CreateMDIScrollBars();
            InstallMDIClientProc();
        }
        if (IsMDIChild()) {
            AddChildToMenu(FForm);
            AddChildToBar(FForm);
            TCustomForm* main = Application ? Application->MainForm() : nullptr;
            if (main && main->HandleAllocated() &&
                SendMessageW(main->Handle(), WM_MDICHILD_QUERYMAXIMIZED, 0, 0) == 1 &&
                FBorderIcons.Contains(TbsBorderIcon::biMaximize))
                SetWindowState(wsMaximized);
        }
        // The skinned menu bar shows the form's menu instead.
        if (FForm->Menu()) FForm->SetMenu(nullptr);
        return;
    }
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    if (IsMDIChild()) {
        DeleteChildFromMenu(FForm);
        DeleteChildFromBar(FForm);
        TCustomForm* main = Application ? Application->MainForm() : nullptr;
        if (main && main->HandleAllocated())
            SendMessageW(main->Handle(), WM_MDICHILD_MOVED, reinterpret_cast<WPARAM>(FForm->Handle()), 0);
    }
    if (FBorderLayer->FVisible && FIsVistaOs) {
        HWND h = FForm->Handle();
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        if (!(ex & WS_EX_LAYERED)) SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    }
}

void TbsSkinForm::WMShowWindowUnskinned(TMessage&)
{
    if (FStartShow && FPositionInMonitor == bspDefault) {
        FStartShow = false;
    } else if (FStartShow && FWindowState == wsNormal) {
        FStartShow = false;
        ApplyPositionInMonitor();
    }
    if (FForm->FormStyle() == fsMDIForm) InstallMDIClientProc();
    if (!FadeWanted()) return;
    HWND h = FForm->Handle();
    const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredAlpha(h, 0);
    SetTimer(h, 1, 1, nullptr);
}

void TbsSkinForm::WMSetCursor(TMessage& M)
{
    // Over the caption and the rest of the frame the form's own cursor shows; the sizing
    // borders keep their cursors.
    const WORD hit = LOWORD(static_cast<DWORD_PTR>(M.LParam));
    if (hit != HTCLIENT && !(hit >= HTLEFT && hit <= HTBOTTOMRIGHT))
        M.LParam = MAKELPARAM(HTCLIENT, HIWORD(static_cast<DWORD_PTR>(M.LParam)));
}

void TbsSkinForm::WMMouseActivate(TMessage&)
{
    FFormActive = true;
    FormChangeActive(FWindowState != wsMaximized);
}

void TbsSkinForm::WMGetMinMaxInfo(TMessage& M)
{
    auto* mmi = reinterpret_cast<MINMAXINFO*>(M.LParam);
    if (!mmi) return;
    mmi->ptMinTrackSize = POINT{GetMinWidth(), GetMinHeight()};
    mmi->ptMaxTrackSize = POINT{GetMaxWidth(), GetMaxHeight()};
}

void TbsSkinForm::WMWindowPosChanged(TMessage& M)
{
    const auto* wp = reinterpret_cast<const WINDOWPOS*>(M.LParam);
    if (!wp) return;
    if ((wp->flags & SWP_HIDEWINDOW) && FBorderLayer->FVisible && FIsVistaOs) {
        HWND h = FForm->Handle();
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        if (!(ex & WS_EX_LAYERED)) SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    }
    FFormLeft = wp->x;
    FFormTop = wp->y;
    if (!FSizing && FBorderLayerChangeSize) {
        FFormWidth = wp->cx;
        FFormHeight = wp->cy;
    }
    if (FSizing && (FForm->Top() != FFormTop || FForm->Left() != FFormLeft) && LayeredBorderEnabled())
        FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
    if (!FSizing && !FBorderLayerChangeSize) {
        if (LayeredBorderEnabled()) FBorderLayer->MoveWithForm2(FFormLeft, FFormTop);
        FOldFormLeft = FFormLeft;
        FOldFormTop = FFormTop;
    }
}

void TbsSkinForm::WMDisplayChange(TMessage&) { ReapplySizeLimits(); }

void TbsSkinForm::WMNCCalcSize(TMessage& M)
{
    M.Result = 0;
    auto* r = reinterpret_cast<RECT*>(M.LParam);
    if (!r || FForm->BorderStyle() == bsNone || IsMDIChildMaximized()) return;
    const RECT window = *r;
    if (HasSkin() && FSD->FPicture) {
        CalcSkinRects();
        if (FullLayeredFrameInUse()) {
            M.Result = 1;
            return;
        }
        const TRect& cl = FSD->ClRect;
        r->left += cl.Left;
        r->top += cl.Top;
        r->right -= FSD->FPicture->Width() - cl.Right;
        r->bottom -= FSD->FPicture->Height() - cl.Bottom;
    } else {
        r->left += 3;
        r->top += GetDefCaptionHeight() + 3;
        r->right -= 3;
        r->bottom -= 3;
    }
    // The client area lies inside the window (a skin's client rectangle past its picture would
    // make it wider than the form); a form smaller than its frame has an empty one, never a
    // negative one.
    r->left = std::clamp(r->left, window.left, window.right);
    r->top = std::clamp(r->top, window.top, window.bottom);
    r->right = std::clamp(r->right, r->left, window.right);
    r->bottom = std::clamp(r->bottom, r->top, window.bottom);
}

void TbsSkinForm::WMNCHitTest(TMessage& M)
{
    TPoint p = PointOf(M.LParam);
    PointToFrame(p);
    M.Result = FSkinSupport ? SkinHitTest(p) : DefaultHitTest(p);
    // Hover tracking starts here; from then on the mouse timer follows the pointer.
    if (M.Result == HTOBJECT && !MouseTimer->Enabled()) {
        TrackObjects(p.X, p.Y, true);
        MouseTimer->SetEnabled(true);
    }
}

void TbsSkinForm::WMNCPaint(TMessage& M)
{
    if (FForm->BorderStyle() == bsNone || IsMDIChildMaximized()) return;
    if (FSkinSupport) {
        if (FullLayeredFrameInUse()) {
            M.Result = 1;
            return;
        }
        PaintNCSkin(nullptr, false);
    } else if (!FStopPainting) {
        PaintNCDefault(nullptr, false);
    }
}

void TbsSkinForm::WMNCActivate(TMessage& M)
{
    FBorderLayerChangeSize = false;
    if (SkinMenuVisible()) SkinMenu->Hide();
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    FFormActive = M.WParam != 0;
    if (!FFormActive) TrackObjects(-1, -1, false);
    const bool mdiChild = IsMDIChild() && FForm->Visible();
    if ((FForm->FormStyle() == fsMDIForm && !FIsVistaOs) || mdiChild) {
        if (mdiChild && FIsVistaOs) {
            HWND h = FForm->Handle();
            SendMessageW(h, WM_SETREDRAW, 0, 0);
            CallSaved(M);
            SendMessageW(h, WM_SETREDRAW, 1, 0);
            RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        } else {
            CallSaved(M);
            if (mdiChild) FForm->Repaint();
        }
    } else {
        // The system draws no caption of its own.
        M.Result = 1;
    }
    if (IsMDIChildMaximized() || FForm->BorderStyle() == bsNone) {
        FormChangeActive(false);
    } else {
        if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
        FormChangeActive(true);
    }
    if (IsMDIChildMaximized())
        if (TbsSkinForm* host = SkinFormOfForm(Application ? Application->MainForm() : nullptr)) host->UpDateFormNC();
    if (IsMDIChild()) {
        RefreshMDIMenuBar();
        RefreshMDITabsBar();
        UpDateChildActiveInMenu();
    }
    if (FForm->Visible() && FClientInActiveEffect) {
        if (!FFormActive)
            ShowClientInActiveEffect();
        else
            HideClientInActiveEffect();
    }
    if (FForm->Visible() && LayeredBorderEnabled())
        FBorderLayer->SetActive(FFormActive, true);
    else if (!FForm->Visible() && FForm->Tag() != -10000 && LayeredBorderEnabled())
        FBorderLayer->Hide();
}

void TbsSkinForm::WMSyncPaint(TMessage&)
{
    if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::WMSysCommandRestore(TMessage& M)
{
    if (OnRestore) OnRestore(this);
    CallSaved(M);
    if (LayeredBorderEnabled() && Application && Application->MainFormOnTaskBar() && Application->MainForm() == FForm)
        FBorderLayer->ShowWithForm();
}

void TbsSkinForm::WMSysCommandKeyMenu(TMessage&)
{
    // The system's own menu loop never starts.
    if (InMainMenu) {
        SkinMainMenuClose();
        return;
    }
    if (SkinMenuVisible()) SkinMenuClose();
    // The bar enters menu mode itself (hook, InMainMenu, OnMainMenuEnter) when it has items.
    if (FMainMenuBar) FMainMenuBar->EnterMenuMode();
    if (FSkinRibbon) {
        if (FSkinRibbon->HasAppMenu() && FSkinRibbon->AppMenuVisible()) FSkinRibbon->HideAppMenu();
        if (SkinMenuVisible())
            SkinMenu->Hide();
        else
            SkinMenuClose();
        FSkinRibbon->FocusRibbon();
    }
}

void TbsSkinForm::WMTimerFade(TMessage&) { RunFadeIn(); }

void TbsSkinForm::RunFadeIn()
{
    HWND h = FForm->Handle();
    auto removeLayered = [h] {
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        if (ex & WS_EX_LAYERED) SetWindowLongW(h, GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
    };
    const bool border = LayeredBorderEnabled();
    if (UseLayeredShowAnimation()) {
        KillTimer(h, 1);
        removeLayered();
        if (border && (FForm->Visible() || FForm->Tag() == -10000)) {
            FBorderLayer->FActive = GetFormActive();
            FBorderLayer->CheckFormAlpha(255, true);
        }
        return;
    }
    if (!FadeWanted()) return;
    KillTimer(h, 1);
    if (border) FBorderLayer->FActive = GetFormActive();
    if (auto* b = dynamic_cast<TbsSkinButton*>(FForm->ActiveControl())) b->FStopAnimate = true;
    const bool animAll = FSD && FSD->AnimationForAllWindows();
    const int target = (FAlphaBlendAnimation || animAll) && !FAlphaBlend ? 255 : FAlphaBlendValue;
    if (FAlphaBlendAnimation || animAll) {
        const int step = std::max(1, target / 15);
        if (Application) Application->ProcessMessages();
        int alpha = 0;
        DWORD last = 0;
        bool first = true;
        while (alpha < target) {
            const DWORD now = GetTickCount();
            // An unsigned difference: the 32-bit tick count wrapping around cannot stall the fade.
            if (!first && static_cast<DWORD>(now - last) <= 5) continue;
            first = false;
            last = now;
            alpha = std::min(alpha + step, target);
            SetLayeredAlpha(h, static_cast<BYTE>(alpha));
            if (border) FBorderLayer->CheckFormAlpha(alpha, true);
        }
        if (border && !FBorderLayer->FullBorder()) FBorderLayer->SetBoundsWithForm();
    } else if (target != 255) {
        SetLayeredAlpha(h, FAlphaBlendValue);
        if (border) {
            FBorderLayer->CheckFormAlpha(FAlphaBlendValue, true);
            if (!FBorderLayer->FullBorder()) FBorderLayer->SetBoundsWithForm();
        }
    }
    if (target == 255) {
        removeLayered();
        if (border) FBorderLayer->CheckFormAlpha(255, true);
    }
}

void TbsSkinForm::WMSizingFullDrag(TMessage& M)
{
    FSizing = true;
    FBorderLayerChangeSize = false;
    HMagnetized = VMagnetized = HMagnetized2 = VMagnetized2 = false;
    CallSaved(M);
    const auto* r = reinterpret_cast<const RECT*>(M.LParam);
    if (!r) return;
    FFormWidth = std::max<int>(r->right - r->left, GetMinWidth());
    FFormHeight = std::max<int>(r->bottom - r->top, GetMinHeight());
    if (!FSD || (FSD->Empty && FSkinnableForm)) {
        SetFormRegion(true);
    } else if (FSkinnableForm && FForm->Width() >= GetMinWidth() && FForm->Height() >= GetMinHeight() &&
               (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
        if (LayeredBorderEnabled() && FFormTop == FOldFormTop && FFormLeft == FOldFormLeft)
            FBorderLayer->SetBoundsWithForm3(FFormLeft, FFormTop, FFormWidth, FFormHeight);
        FOldFormTop = FFormTop;
        FOldFormLeft = FFormLeft;
        UpdateSkinFrame(true);
    }
}

void TbsSkinForm::WMMoving(TMessage& M)
{
    auto* r = reinterpret_cast<RECT*>(M.LParam);
    if (!r) return;
    const int w = FForm->Width(), h = FForm->Height();
    if (FWindowStateInit == wsMaximized && !IsMDIChild()) {
        *r = RECT{FForm->Left(), FForm->Top(), FForm->Left() + w, FForm->Top() + h};
    } else if (FMagnetic) {
        int x = r->left, y = r->top;
        DoMagnetic(x, y, w, h);
        *r = RECT{x, y, x + w, y + h};
    }
}

void TbsSkinForm::WMEnterSizeMove(TMessage&)
{
    POINT p;
    GetCursorPos(&p);
    FOnMouseDownCoord = Point(p.x, p.y);
    ResetObjectsState();
    MouseTimer->SetEnabled(false);
    ActiveObject = MouseCaptureObject = -1;
    FSizeMove = true;
    FFullDrag = GetFullDrag();
}

void TbsSkinForm::WMExitSizeMove(TMessage&)
{
    if (FSizing && (FForm->Width() != FFormWidth || FForm->Height() != FFormHeight)) {
        FFormLeft = FForm->Left();
        FFormTop = FForm->Top();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        UpdateSkinFrame(true);
    }
    FSizing = FSizeMove = false;
    MouseTimer->SetEnabled(false);
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
    if (FSkinSupport && FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
    if (LayeredBorderEnabled()) FBorderLayer->SetBoundsWithForm();
}

void TbsSkinForm::RecordFormBounds()
{
    const auto* b = FBorderLayer;
    if (b->FData && b->FVisible && b->FullBorder()) {
        FOldFormBounds =
            Rect(FForm->Left() - b->LeftSize, FForm->Top() - b->TopSize, FForm->Width() + b->RightSize + b->LeftSize,
                 FForm->Height() + b->BottomSize + b->TopSize);
        FOldFullBorder = 1;
    } else {
        FOldFormBounds = Rect(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
        FOldFullBorder = 0;
    }
}

void TbsSkinForm::WMSkinDataBeforeChange(TMessage& M)
{
    RecordFormBounds();
    FStopPainting = true;
    FSkinSupport = false;
    ForgetPictures32();
    MouseTimer->SetEnabled(false);
    MorphTimer->SetEnabled(false);
    AnimateTimer->SetEnabled(false);
    ClearObjects();
    BeforeChangeSkinDataOfControls(reinterpret_cast<TbsSkinData*>(M.WParam), FForm);
    if (OnBeforeChangeSkinData) OnBeforeChangeSkinData(this);
}

void TbsSkinForm::WMSkinDataChange(TMessage& M)
{
    FStopPainting = false;
    auto* sender = reinterpret_cast<TbsSkinData*>(M.WParam);
    if (FSD && sender == FSD) ChangeSkinData();
    ChangeSkinDataOfControls(sender, FForm);
}

void TbsSkinForm::WMSkinDataAfterChange(TMessage& M)
{
    if (FSD && reinterpret_cast<TbsSkinData*>(M.WParam) == FSD && FForm->FormStyle() == fsMDIForm)
        for (int i = 0; i < FForm->MDIChildCount(); ++i)
            if (FForm->MDIChildren(i)->HandleAllocated())
                SendMessageW(FForm->MDIChildren(i)->Handle(), WM_MDICHILD_FIT, 0, 0);
    if (OnAfterChangeSkinData) OnAfterChangeSkinData(this);
}

void TbsSkinForm::WMSkinMenuClosed(TMessage&) { SkinMenuClose(); }

void TbsSkinForm::WMMDIChildFit(TMessage&)
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    RECT cr{};
    if (main && main->ClientHandle()) GetClientRect(main->ClientHandle(), &cr);
    FForm->SetBounds(0, 0, cr.right, cr.bottom);
}

void TbsSkinForm::WMMDIChildQueryMaximized(TMessage& M)
{
    M.Result = FForm->FormStyle() == fsMDIForm && FMDIChildMaximized ? 1 : 0;
}

void TbsSkinForm::WMStringsChanged(TMessage&) { SetCaptionButtonHints(); }

void TbsSkinForm::WMSkinnableChanged(TMessage&) { SetSkinnableForm(FSD->SkinnableForm()); }

void TbsSkinForm::WMTrayRestore(TMessage&)
{
    if (LayeredBorderEnabled()) {
        if (TCustomForm* main = Application ? Application->MainForm() : nullptr; main && main->HandleAllocated())
            SetForegroundWindow(main->Handle());
        BringStayOnTopFormsToFront();
    }
    FForm->SetTag(0);
}

void TbsSkinForm::WMLayerChanged(TMessage&)
{
    RecordFormBounds();
    if (LayeredBorderEnabled()) {
        if (FForm->Visible() && !FBorderLayer->FVisible) {
            if (FIsVistaOs && !DisableDWMAnimation) {
                SetWindowTransitions(FForm->Handle(), false);
                DisableDWMAnimation = true;
            }
            FBorderLayer->FActive = FFormActive;
            FBorderLayer->ShowWithForm();
            RestoreFormBounds();
            FForm->Show();
        }
    } else if (FBorderLayer->FVisible) {
        FBorderLayer->Hide();
        RestoreFormBounds();
        if (FIsVistaOs && DisableDWMAnimation) {
            SetWindowTransitions(FForm->Handle(), true);
            DisableDWMAnimation = false;
        }
    }
    if (FBorderLayer->FullBorder()) ChangeSkinData();
}

void TbsSkinForm::WMBlurChanged(TMessage&)
{
    FBorderLayer->Hide();
    FBorderLayer->ShowWithForm();
}

void TbsSkinForm::WMQueryOwnFrame(TMessage& M)
{
    M.Result = FSkinnableForm || !FIsVistaOs ? SKINFORM_OWNFRAME : SKINFORM_SYSTEMFRAME;
}

void TbsSkinForm::WMShowEffectBegin(TMessage&) { FSmartEffectsShow = true; }

void TbsSkinForm::WMShowEffectEnd(TMessage&)
{
    FSmartEffectsShow = false;
    if ((FForm->Visible() || FForm->Tag() == -10000) && LayeredBorderEnabled()) {
        if (Application) Application->ProcessMessages();
        FBorderLayer->FActive = true;
        FBorderLayer->ShowWithFormAnimation();
    }
}

void TbsSkinForm::WMPaintToDC(TMessage& M)
{
    M.Result = 0;
    HDC dc = reinterpret_cast<HDC>(M.WParam);
    if (!dc || FForm->BorderStyle() == bsNone || IsMDIChildMaximized()) return;
    if (FSkinSupport)
        PaintNCSkin(dc, true);
    else
        PaintNCDefault(dc, true);
    M.Result = SKIN_PAINTTODC_DONE;
}

// ---- the after rules' actions ----------------------------------------------------------------

void TbsSkinForm::AfterMoveOrSize(TMessage&)
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (main && main->HandleAllocated()) SendMessageW(main->Handle(), WM_MDICHILD_MOVED, 0, 0);
}

void TbsSkinForm::AfterShowWindow(TMessage& M)
{
    if (IsWindows2000OrLater() && !FAlphaBlendAnimation && !FAlphaBlend && !UseLayeredShowAnimation() &&
        (!FSD || !FSD->AnimationForAllWindows()) && (FForm->Visible() || FForm->Tag() == -10000) &&
        LayeredBorderEnabled()) {
        if (Application) Application->ProcessMessages();
        FBorderLayer->FActive = true;
        FBorderLayer->ShowWithForm();
    }
    if (IsMDIChild()) AfterMoveOrSize(M);
}

void TbsSkinForm::AfterHideWindow(TMessage&)
{
    if (LayeredBorderEnabled()) FBorderLayer->Hide();
}

void TbsSkinForm::AfterNCMouseMove(TMessage& M)
{
    TPoint p = PointOf(M.LParam);
    PointToFrame(p);
    ObjectMouseMove(p.X, p.Y);
}

void TbsSkinForm::AfterNCLButtonDown(TMessage& M)
{
    if (FSizeMove) {
        FSizeMove = false;
        return;
    }
    TPoint p = PointOf(M.LParam);
    PointToFrame(p);
    TrackObjects(p.X, p.Y, true);
    ObjectMouseDown(mbLeft, p.X, p.Y);
    if (M.WParam == static_cast<WPARAM>(HTCAPTION)) MouseCaptureObject = -1;
}

void TbsSkinForm::AfterNCLButtonUp(TMessage& M)
{
    TPoint p = PointOf(M.LParam);
    PointToFrame(p);
    ObjectMouseUp(mbLeft, p.X, p.Y);
}

void TbsSkinForm::AfterNCLButtonDblClk(TMessage& M)
{
    TPoint p = PointOf(M.LParam);
    PointToFrame(p);
    TrackObjects(p.X, p.Y, true);
    ObjectMouseDown(mbLeft, p.X, p.Y);
    ObjectDblClick();
    if (M.WParam == static_cast<WPARAM>(HTCAPTION)) CaptionDblClick();
}

void TbsSkinForm::CaptionDblClick()
{
    const bool sizeable = IsSizeable();
    if (sizeable && FWindowStateInit == wsMinimized)
        SetWindowState(wsNormal);
    else if (sizeable && FWindowStateInit != wsMaximized && !FRollUpState &&
             FBorderIcons.Contains(TbsBorderIcon::biMaximize))
        SetWindowState(wsMaximized);
    else if (sizeable && FWindowStateInit == wsMaximized && !MaxRollUpState)
        SetWindowState(wsNormal);
    else
        SetRollUpState(!FRollUpState);
    MouseCaptureObject = -1;
}

void TbsSkinForm::AfterNCRButtonDown(TMessage&)
{
    POINT p;
    GetCursorPos(&p);
    MouseCaptureObject = -1;
    if (!FDisableSystemMenu) PopupSysMenu(p.x, p.y);
}

void TbsSkinForm::AfterNCRButtonDblClk(TMessage&) { MouseCaptureObject = -1; }

void TbsSkinForm::AfterLButtonUp(TMessage&) { ObjectMouseUp(mbLeft, -1, -1); }

void TbsSkinForm::AfterRButtonUp(TMessage&) { ObjectMouseUp(mbRight, -1, -1); }
