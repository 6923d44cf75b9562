// TbsSkinForm: construction and destruction in their order, the properties and their setters,
// and the small services the other parts of the form call.
#include "skin/form/skin_form.h"

#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/screen.h"
#include "platform/win/win_api.h"
#include "skin/controls/skin_change_client.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/layer_manager.h"
#include "skin/core/os_layers.h"
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_messages.h"
#include "skin/core/text_layout.h"
#include "skin/core/window_records.h"
#include "skin/form/client_inactive_panel.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/frame_objects.h"
#include "skin/form/quick_buttons.h"
#include "skin/form/skin_menu.h"

TbsFormMenuFactory& FormMenuFactory()
{
    static TbsFormMenuFactory factory;
    return factory;
}

namespace {

TCustomForm* OwnerForm(TComponent* AOwner)
{
    auto* f = dynamic_cast<TCustomForm*>(AOwner);
    if (!f) throw EInvalidCast(L"Invalid class typecast: the skinned form component needs a form as its owner");
    return f;
}

TFont* CaptionFont(TComponent*, TColor Color)
{
    auto* f = new TFont;
    f->SetName(L"Tahoma");
    f->SetStyle(TFontStyles{fsBold});
    f->SetHeight(13);
    f->SetColor(Color);
    return f;
}

}  // namespace

TbsSkinForm::TbsSkinForm(TComponent* AOwner) : TComponent(AOwner), FAlive(std::make_shared<bool>(true))
{
    // The owner is checked first, so a refused owner leaves nothing made or hooked.
    TCustomForm* form = OwnerForm(AOwner);
    FQuickButtons = new TbsQuickButtonItems(this);
    FLayerManager = new TbsLayerManager(this);
    FBorderLayer = new TbsFormLayerBorder(this);
    FBorderLayer->BSF = this;
    FMenuLayerManager = new TbsLayerManager(this);
    FIsW7 = IsWindows7() || IsWindows8OrLater();
    FIsVistaOs = IsWindowsVistaOrLater();
    FLogoBitMap = new TBitmap;
    FDefCaptionFont = CaptionFont(this, clBtnText);
    FDefInActiveCaptionFont = CaptionFont(this, clBtnShadow);
    FDefMenuItemFont = new TFont;
    FIsLayerEnabled = IsWindows2000OrLater();
    RMTop = new TBitmap;
    RMBottom = new TBitmap;
    RMLeft = new TBitmap;
    RMRight = new TBitmap;
    BlackColor = RGB(0, 0, 0);
    auto timer = [this](unsigned Interval, void (TbsSkinForm::*Proc)(TObject*)) {
        auto* t = new TTimer(this);
        t->SetEnabled(false);
        t->SetInterval(Interval);
        t->OnTimer = [this, Proc](TObject* Sender) { (this->*Proc)(Sender); };
        return t;
    };
    MouseTimer = timer(50, &TbsSkinForm::MouseTimerProc);
    MorphTimer = timer(25, &TbsSkinForm::MorphTimerProc);
    AnimateTimer = timer(25, &TbsSkinForm::AnimateTimerProc);
    FForm = form;
    FFormControl = form;
    FForm->SetBorderIcons(TBorderIcons{});
    FForm->OnShortCut = [this](TMessage& Msg, bool& Handled) { FormShortCut(Msg, Handled); };
    FForm->SetAutoSize(false);
    FForm->SetAutoScroll(false);
    FSysMenu = new TPopupMenu(this);
    InstallSkinMenus();
    auto& factory = FormMenuFactory();
    FSysTrayMenu = factory.MakeTrayMenu ? factory.MakeTrayMenu(this, FForm) : new TPopupMenu(this);
    CreateTrayMenuItems();
    if (factory.MakeEngine) SkinMenu = factory.MakeEngine(this, FForm);
    FBorderIcons = TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize,
                                  TbsBorderIcon::biRollUp};
    InstallWndProc();
    // The skinned form lists the MDI children in the window menu itself.
    FForm->SetListChildrenInWindowMenu(false);
    if (FForm->FormStyle() == fsMDIForm) CreateMDIScrollBars();
}

TbsSkinForm::~TbsSkinForm()
{
    *FAlive = false;
    UnHookApp();
    // The client window's procedure must not outlive this component.
    RemoveMDIClientProc();
    // The application's restore handler would outlive this component.
    if (FAppRestoreSet && Application) Application->OnRestore = nullptr;
    delete FQuickButtons;
    FQuickButtons = nullptr;
    ClearObjects();
    if (FForm && !(FForm->ComponentState() & csDestroying)) {
        FForm->SetWindowProc(OldWindowProc);
        FForm->OnShortCut = nullptr;
        FrameChanged();
    }
    delete FDefCaptionFont;
    delete FDefInActiveCaptionFont;
    delete FDefMenuItemFont;
    delete FLogoBitMap;
    FSysMenu->Free();
    FSysTrayMenu->Free();
    delete RMTop;
    delete RMLeft;
    delete RMBottom;
    delete RMRight;
    MouseTimer->Free();
    MorphTimer->Free();
    AnimateTimer->Free();
    delete SkinMenu;
    SkinMenu = nullptr;
    FLayerManager->Free();
    FMenuLayerManager->Free();
    FBorderLayer->Free();
    delete FIcon;
}

void TbsSkinForm::InstallWndProc()
{
    if (ComponentState() & csDesigning) return;
    OldWindowProc = FForm->WindowProc();
    FForm->SetWindowProc([this](TMessage& M) { SkinFormWndProc(M); });
    // A window that already exists measures and paints its frame again through the new
    // procedure; the window itself stays.
    FrameChanged();
}

void TbsSkinForm::FrameChanged()
{
    if (!FForm->HandleAllocated()) return;
    SetWindowPos(FForm->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TbsSkinForm::CallSaved(TMessage& M)
{
    if (OldWindowProc)
        OldWindowProc(M);
    else
        FForm->WndProc(M);
}

void TbsSkinForm::Loaded()
{
    TComponent::Loaded();
    if (FWindowStateInit != FWindowState && !(ComponentState() & csDesigning)) SetWindowState(FWindowStateInit);
}

void TbsSkinForm::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) {
        FSD = nullptr;
        // The frame falls back to its built-in look rather than keep drawing a skin that is gone.
        if (!(ComponentState() & csDestroying) && !(FForm->ComponentState() & csDestroying)) ChangeSkinData();
    }
    if (AComponent == FMSD) FMSD = nullptr;
    if (AComponent == FSystemMenu) FSystemMenu = nullptr;
    if (AComponent == FMainMenuBarComponent) {
        FMainMenuBarComponent = nullptr;
        FMainMenuBar = nullptr;
    }
    if (AComponent == FMDITabsBar) FMDITabsBar = nullptr;
    if (AComponent == FTrayIconComponent) {
        FTrayIconComponent = nullptr;
        FTrayIcon = nullptr;
    }
    if (AComponent == FSkinHintComponent) {
        FSkinHintComponent = nullptr;
        FSkinHint = nullptr;
    }
    if (AComponent == FStatusBarComponent) {
        FStatusBarComponent = nullptr;
        FStatusBar = nullptr;
    }
    if (AComponent == dynamic_cast<TComponent*>(FQuickImageList)) FQuickImageList = nullptr;
    if (AComponent == FSkinRibbonComponent) {
        FSkinRibbonComponent = nullptr;
        FSkinRibbon = nullptr;
    }
}

// ---- outer bounds ----

void TbsSkinForm::Move(int AX, int AY)
{
    if (LayeredBorderEnabled() && FBorderLayer->FVisible && FBorderLayer->FData &&
        (FBorderLayer->FData->BorderRect.IsEmpty() || FBorderLayer->FData->FullBorder)) {
        AX += FBorderLayer->LeftSize;
        AY += FBorderLayer->TopSize;
    }
    FForm->SetBounds(AX, AY, FForm->Width(), FForm->Height());
}

void TbsSkinForm::SetBounds(int AX, int AY, int AWidth, int AHeight)
{
    if (LayeredBorderEnabled() && FBorderLayer->FVisible && FBorderLayer->FData &&
        (FBorderLayer->FData->BorderRect.IsEmpty() || FBorderLayer->FData->FullBorder)) {
        const auto* b = FBorderLayer;
        FForm->SetBounds(AX + b->LeftSize, AY + b->TopSize, AWidth - b->LeftSize - b->RightSize,
                         AHeight - b->TopSize - b->BottomSize);
        return;
    }
    FForm->SetBounds(AX, AY, AWidth, AHeight);
}

void TbsSkinForm::UpDateFormNC()
{
    if (LayeredBorderEnabled() && FBorderLayer->FVisible && FBorderLayer->FullBorder()) {
        FBorderLayer->UpdateBorder();
        return;
    }
    if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
}

// ---- the skinned-frame switch ----

void TbsSkinForm::SetSkinnableForm(bool Value)
{
    const bool useRibbon = FUseRibbon;
    FFormActive = GetFormActive();
    if (FForm->FormStyle() == fsMDIForm && FForm->MDIChildCount() > 0) return;
    if (ComponentState() & csDesigning) return;
    const bool mdiForm = FForm->FormStyle() == fsMDIForm;
    bool wasMaximized = false;
    if (FWindowStateInit == wsMaximized && FSkinnableForm) {
        if (!mdiForm) FForm->Hide();
        SetWindowState(wsNormal);
        wasMaximized = true;
    } else if (FForm->WindowState() == wsMaximized && !FSkinnableForm) {
        FForm->SetWindowState(wsNormal);
        if (!mdiForm) FForm->Hide();
        wasMaximized = true;
    }
    FSkinnableForm = useRibbon ? false : Value;
    ChangeSkinData();
    ChangeSkinDataOfControls(nullptr, FForm);
    // The procedure stays the skin form's; the frame is measured and painted anew.
    FrameChanged();
    if (mdiForm) ReapplySizeLimits();
    if (wasMaximized) {
        if (!FSkinnableForm)
            FForm->SetWindowState(wsMaximized);
        else
            SetWindowState(wsMaximized);
        if (!mdiForm) FForm->Show();
    }
}

void TbsSkinForm::UpdateFormBorderIcons()
{
    TBorderIcons icons;
    if (!FHideCaptionButtons && !FSkinnableForm) icons.Include(biSystemMenu);
    if (FBorderIcons.Contains(TbsBorderIcon::biMaximize)) icons.Include(biMaximize);
    if (FBorderIcons.Contains(TbsBorderIcon::biMinimize)) icons.Include(biMinimize);
    FForm->SetBorderIcons(icons);
}

// ---- position ----

void TbsSkinForm::ApplyPositionInMonitor()
{
    if (FPositionInMonitor == bspDefault) return;
    TPoint p = GetPositionInMonitor(FForm->Left(), FForm->Top(), FForm->Width(), FForm->Height());
    FForm->SetBounds(p.X, p.Y, FForm->Width(), FForm->Height());
}

TPoint TbsSkinForm::GetPositionInMonitor(int AX, int AY, int AW, int AH)
{
    if (FPositionInMonitor == bspDefault) return Point(AX, AY);
    TRect r;
    GetScreenRect(FPositionInMonitor == bspDesktopCenter, r);
    GetWindowMonitorRect(FForm->Handle(), FPositionInMonitor == bspDesktopCenter, r);
    return Point(r.Left + r.Width() / 2 - AW / 2, r.Top + r.Height() / 2 - AH / 2);
}

// ---- layered border predicates ----

bool TbsSkinForm::LayeredBorderEnabled() const
{
    return FSD && !FSD->Empty && FSD->ShowLayeredBorders() && FSD->LayerFrame && FSD->LayerFrame->HasSource() &&
           FIsLayerEnabled && FSkinnableForm && !AlwaysDisableLayeredFrames && !PreviewMode &&
           FForm->BorderStyle() != bsNone && !IsMDIChild() && !FSmartEffectsShow;
}

bool TbsSkinForm::LayerFrameRolledUp() const
{
    if (!FBorderLayer->FData || !FBorderLayer->FData->FullBorder) return false;
    return FRollUpState ||
           (FWindowStateInit == wsMinimized && !FMinimizeDefault && !(Application && Application->MainForm() == FForm));
}

bool TbsSkinForm::UseLayeredShowAnimation() const
{
    return FIsVistaOs && LayeredBorderEnabled() && !FAlphaBlend && !FAlphaBlendAnimation &&
           (!FSD || !FSD->AnimationForAllWindows());
}

bool TbsSkinForm::FullLayeredFrameInUse() const { return LayeredBorderEnabled() && FBorderLayer->FullBorder(); }

bool TbsSkinForm::FullLayeredFrameShown() const { return FBorderLayer->FVisible && FBorderLayer->FullBorder(); }

void TbsSkinForm::CheckAppLayeredBorders()
{
    if (!Application || Application->MainForm() != FForm || !FSD || !FSD->ShowLayeredBorders() ||
        !LayeredBorderEnabled() || !IsOtherFormVisible())
        return;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f != FForm && f->Visible() && !IsFormLayerWindow(f) && f->FormStyle() != fsStayOnTop &&
            f->FormStyle() != fsMDIChild)
            f->Show();
    }
    if (FForm->Visible()) FForm->Show();
}

void TbsSkinForm::AppRestore(TObject*) { CheckAppLayeredBorders(); }

// ---- small services ----

bool TbsSkinForm::GetFormActive() const
{
    if (PreviewMode) return true;
    if (FForm->FormStyle() == fsMDIChild || FForm->FormStyle() == fsMDIForm) return FFormActive;
    return FForm->Active();
}

String TbsSkinForm::GetProductVersion() const { return L"1.0"; }

bool TbsSkinForm::IsSizeable() const
{
    return FAlwaysResize || FForm->BorderStyle() == bsSizeable || FForm->BorderStyle() == bsSizeToolWin;
}

int TbsSkinForm::GetDefCaptionHeight() const
{
    return FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 15 : 19;
}

int TbsSkinForm::GetDefButtonSize() const
{
    return FForm->BorderStyle() == bsToolWindow || FForm->BorderStyle() == bsSizeToolWin ? 13 : 17;
}

bool TbsSkinForm::UseAutoInActiveImage() const { return FSD && !FSD->Empty && FSD->AutoRenderingInActiveImage; }

bool TbsSkinForm::HasSkin() const { return FSD && !FSD->Empty; }

bool TbsSkinForm::IsMDIChild() const { return FForm->FormStyle() == fsMDIChild; }

bool TbsSkinForm::IsMDIChildMaximized() const { return IsMDIChild() && FWindowStateInit == wsMaximized; }

int TbsSkinForm::GetRealHeight() const { return FRollUpState ? OldHeight : FFormHeight; }

void TbsSkinForm::SendParentBGChanged()
{
    for (int i = 0; i < FForm->ControlCount(); ++i)
        if (auto* w = dynamic_cast<TWinControl*>(FForm->Controls(i)); w && w->HandleAllocated())
            SendMessageW(w->Handle(), WM_SKIN_PARENTBGCHANGED, 0, 0);
}

void TbsSkinForm::SendCancelModeToControls()
{
    if (ComponentState() != 0 || FForm->FormStyle() != fsMDIForm || !FForm->Visible()) return;
    for (int i = 0; i < FForm->ComponentCount(); ++i) {
        auto* client = dynamic_cast<TbsSkinChangeClient*>(FForm->Components(i));
        auto* c = dynamic_cast<TControl*>(FForm->Components(i));
        if (client && c && client->SkinCancelModeClient() && c->Visible() && c->Enabled())
            c->Perform(CM_CANCELMODE, 0, 0);
    }
}

void TbsSkinForm::BringStayOnTopFormsToFront()
{
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->Visible() && f->FormStyle() == fsStayOnTop && !IsFormLayerWindow(f) && f->HandleAllocated())
            SetForegroundWindow(f->Handle());
    }
}

// ---- the form's icon and logo ----

void TbsSkinForm::GetIconSize(int& W, int& H) const
{
    W = GetSystemMetrics(SM_CXSMICON);
    H = GetSystemMetrics(SM_CYSMICON);
    if (W == 0) W = GetSystemMetrics(SM_CXSIZE);
    if (H == 0) H = GetSystemMetrics(SM_CYSIZE);
}

void TbsSkinForm::CreateFormIcon()
{
    if (FIcon) return;
    HICON source = nullptr;
    if (!FForm->Icon()->Empty())
        source = FForm->Icon()->Handle();
    else if (Application && !Application->Icon()->Empty())
        source = Application->Icon()->Handle();
    else
        source = LoadIconW(nullptr, IDI_APPLICATION);
    int w = 0, h = 0;
    GetIconSize(w, h);
    FIcon = new TIcon;
    if (source) FIcon->SetHandle(reinterpret_cast<HICON>(CopyImage(source, IMAGE_ICON, w, h, LR_COPYFROMRESOURCE)));
}

void TbsSkinForm::DrawFormIcon(TCanvas* Canvas, int X, int Y)
{
    CreateFormIcon();
    if (FIcon->Empty()) return;
    DrawIconEx(Canvas->Handle(), X, Y, FIcon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
}

bool TbsSkinForm::CheckIconAlpha()
{
    CreateFormIcon();
    if (FIcon->Width() == 0 || FIcon->Height() == 0) return false;
    TbsBitmap b;
    b.SetSize(FIcon->Width(), FIcon->Height());
    DrawIconEx(b.DC(), 0, 0, FIcon->Handle(), 0, 0, 0, nullptr, DI_NORMAL);
    for (int x = 0; x < b.Width(); ++x)
        for (int y = 0; y < b.Height(); ++y)
            if (b.Pixel(x, y) >> 24) return true;
    return false;
}

void TbsSkinForm::DrawLogo(TCanvas* Canvas)
{
    if (FLogoBitMap->Empty()) return;
    int x = std::max(0, FForm->ClientWidth() / 2 - FLogoBitMap->Width() / 2);
    int y = std::max(0, FForm->ClientHeight() / 2 - FLogoBitMap->Height() / 2);
    if (FLogoBitMap->Transparent() != FLogoBitMapTransparent) FLogoBitMap->SetTransparent(FLogoBitMapTransparent);
    Canvas->Draw(x, y, FLogoBitMap);
}

void TbsSkinForm::CorrectText(TCanvas* Canvas, String& Text, int Width) { FitWideTextToWidth(Canvas, Text, Width); }

// ---- inactive client effect ----

void TbsSkinForm::ShowClientInActiveEffect()
{
    HideClientInActiveEffect();
    FInActivePanel = new TbsClientInActivePanel(this);
    FClientInActiveDraw = true;
    FInActivePanel->ShowPanel(FForm, FClientInActiveEffectType);
    FClientInActiveDraw = false;
}

void TbsSkinForm::HideClientInActiveEffect()
{
    if (!FInActivePanel) return;
    FInActivePanel->HidePanel();
    FInActivePanel->Free();
    FInActivePanel = nullptr;
}

// ---- application message hook ----

void TbsSkinForm::HookApp()
{
    if (FInAppHook || !Application) return;
    OldAppMessage = Application->OnMessage;
    Application->OnMessage = [this](MSG& Msg, bool& Handled) { AppMessageHook(Msg, Handled); };
    FInAppHook = true;
}

void TbsSkinForm::UnHookApp()
{
    if (!FInAppHook) return;
    if (Application) Application->OnMessage = OldAppMessage;
    OldAppMessage = nullptr;
    FInAppHook = false;
}

void TbsSkinForm::DoPopupMenu(TPopupMenu* Menu, int X, int Y)
{
    if (!Menu) return;
    if (Menu->OnPopup) Menu->OnPopup(this);
    if (SkinMenuVisible()) SkinMenuClose();
    SkinMenuOpen();
    if (SkinMenu) SkinMenu->Popup(nullptr, FSD, 0, Rect(X, Y, X, Y), Menu->Items(), false);
}

// ---- properties ----

void TbsSkinForm::SetSkinRibbon(TComponent* Value)
{
    Bind(FSkinRibbonComponent, FSkinRibbon, Value);
    if (FSkinRibbon) FSkinRibbon->SetSkinForm(this);
}

void TbsSkinForm::SetUseRibbon(bool Value)
{
    FUseRibbon = Value;
    if (Value && !(ComponentState() & csDesigning)) SetSkinnableForm(false);
}

void TbsSkinForm::SetQuickButtons(TbsQuickButtonItems* Value) { FQuickButtons->Assign(Value); }

void TbsSkinForm::SetQuickImageList(TCustomImageList* Value)
{
    FQuickImageList = Value;
    if (auto* c = dynamic_cast<TComponent*>(Value)) c->FreeNotification(this);
}

void TbsSkinForm::SetStatusBar(TComponent* Value) { Bind(FStatusBarComponent, FStatusBar, Value); }

void TbsSkinForm::SetMaxMenuItemsInWindow(int Value)
{
    if (Value < 0) return;
    FMaxMenuItemsInWindow = Value;
    if (SkinMenu) SkinMenu->SetMaxMenuItemsInWindow(Value);
}

void TbsSkinForm::SetLogoBitMap(TBitmap* Value) { FLogoBitMap->Assign(Value); }

void TbsSkinForm::SetShowIcon(bool Value)
{
    FShowIcon = Value;
    if (!(ComponentState() & (csDesigning | csLoading))) UpDateFormNC();
}

void TbsSkinForm::SetAlphaBlend(bool Value)
{
    if (Value == FAlphaBlend) return;
    FAlphaBlend = Value;
    if (ComponentState() != 0 || !IsWindows2000OrLater() || !FForm->HandleAllocated()) return;
    HWND h = FForm->Handle();
    LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
    if (Value) {
        if (!(ex & WS_EX_LAYERED)) SetWindowLongW(h, GWL_EXSTYLE, ex | WS_EX_LAYERED);
        SetLayeredAlpha(h, FAlphaBlendValue);
    } else if (ex & WS_EX_LAYERED) {
        SetWindowLongW(h, GWL_EXSTYLE, ex & ~static_cast<LONG>(WS_EX_LAYERED));
    }
}

void TbsSkinForm::SetAlphaBlendValue(uint8_t Value)
{
    if (Value == FAlphaBlendValue) return;
    FAlphaBlendValue = Value;
    if (FAlphaBlend && ComponentState() == 0 && FIsLayerEnabled && FForm->HandleAllocated())
        SetLayeredAlpha(FForm->Handle(), Value);
}

void TbsSkinForm::SetSkinHint(TComponent* Value) { Bind(FSkinHintComponent, FSkinHint, Value); }

void TbsSkinForm::SetMenusAlphaBlend(bool Value)
{
    FMenusAlphaBlend = Value;
    if (SkinMenu) SkinMenu->SetAlphaBlend(FMenusAlphaBlend, FMenusAlphaBlendValue, FMenusAlphaBlendAnimation);
}

void TbsSkinForm::SetMenusAlphaBlendAnimation(bool Value)
{
    FMenusAlphaBlendAnimation = Value;
    if (SkinMenu) SkinMenu->SetAlphaBlend(FMenusAlphaBlend, FMenusAlphaBlendValue, FMenusAlphaBlendAnimation);
}

void TbsSkinForm::SetMenusAlphaBlendValue(uint8_t Value)
{
    FMenusAlphaBlendValue = Value;
    if (SkinMenu) SkinMenu->SetAlphaBlend(FMenusAlphaBlend, FMenusAlphaBlendValue, FMenusAlphaBlendAnimation);
}

void TbsSkinForm::SetDefCaptionFont(TFont* Value)
{
    FDefCaptionFont->Assign(Value);
    if (!FSkinSupport && !(ComponentState() & (csDesigning | csLoading)) && FForm->HandleAllocated())
        SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetDefInActiveCaptionFont(TFont* Value)
{
    FDefInActiveCaptionFont->Assign(Value);
    if (!FSkinSupport && !(ComponentState() & (csDesigning | csLoading)) && FForm->HandleAllocated())
        SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
}

void TbsSkinForm::SetDefMenuItemHeight(int Value)
{
    if (Value > 0) FDefMenuItemHeight = Value;
}

void TbsSkinForm::SetDefMenuItemFont(TFont* Value) { FDefMenuItemFont->Assign(Value); }

void TbsSkinForm::SetMainMenuBar(TComponent* Value) { Bind(FMainMenuBarComponent, FMainMenuBar, Value); }

void TbsSkinForm::SetMDITabsBar(TComponent* Value)
{
    FMDITabsBar = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinForm::SetSystemMenu(TPopupMenu* Value)
{
    FSystemMenu = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinForm::SetSkinData(TbsSkinData* Value)
{
    FSD = Value;
    if (Value) {
        Value->FreeNotification(this);
        if (!IsMDIChild()) FSkinnableForm = Value->SkinnableForm();
    }
    if (FMDIHScrollBar) FMDIHScrollBar->SetSkinData(Value);
    if (FMDIVScrollBar) FMDIVScrollBar->SetSkinData(Value);
    if (!(ComponentState() & csDesigning)) ChangeSkinData();
    if (auto& set = FormMenuFactory().SetMenuSkinData) set(FSysTrayMenu, Value);
}

void TbsSkinForm::SetMenusSkinData(TbsSkinData* Value)
{
    FMSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinForm::SetBorderIcons(TbsBorderIcons Value)
{
    FBorderIcons = Value;
    if (ComponentState() & (csDesigning | csLoading)) return;
    UpdateCaptionButtons();
    UpDateFormNC();
}

// ---- unit routines ----

TbsSkinForm* SkinFormOfForm(TCustomForm* AForm)
{
    if (!AForm) return nullptr;
    for (int i = 0; i < AForm->ComponentCount(); ++i)
        if (auto* s = dynamic_cast<TbsSkinForm*>(AForm->Components(i))) return s;
    return nullptr;
}

TbsSkinForm* MaximizedMDIChildSkinForm()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main) return nullptr;
    for (int i = 0; i < main->MDIChildCount(); ++i)
        if (TbsSkinForm* s = SkinFormOfForm(main->MDIChildren(i)); s && s->FWindowStateInit == wsMaximized) return s;
    return nullptr;
}

TbsSkinForm* ActiveMDIChildSkinForm()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if (!main || !main->ActiveMDIChild()) return nullptr;
    return SkinFormOfForm(main->ActiveMDIChild());
}

bool IsOtherFormVisible()
{
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* f = Screen->Forms(i);
        if (f != main && f->Visible() && !IsFormLayerWindow(f) && f->FormStyle() != fsStayOnTop &&
            f->FormStyle() != fsMDIChild)
            return true;
    }
    return false;
}
