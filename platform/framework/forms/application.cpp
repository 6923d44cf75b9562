#include "platform/framework/forms/application.h"

#include <cstdio>

#include "platform/base/main_thread.h"
#include "platform/framework/controls/custom_control.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/hint_window.h"
#include "platform/framework/forms/message_box.h"
#include "platform/framework/forms/screen.h"
#include "platform/framework/forms/util_window.h"
#include "platform/framework/graphics/icon.h"
#include "platform/win/headless_api.h"
#include "platform/win/shell_api.h"

THintWindowClass HintWindowClass = [](TComponent* AOwner) -> THintWindow* { return new THintWindow(AOwner); };

TApplication* Application = new TApplication(nullptr);

namespace {
constexpr UINT_PTR kHintShowTimer = 1;
constexpr UINT_PTR kHintHideTimer = 2;

// The short part of a hint ("short|long").
String ShortHint(const String& h)
{
    size_t bar = h.find(L'|');
    return bar == String::npos ? h : h.substr(0, bar);
}
}  // namespace

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {}

TApplication::~TApplication()
{
    delete FIcon;
    if (FHandle) DeallocateHWnd(FHandle);
}

TIcon* TApplication::Icon()
{
    if (!FIcon) FIcon = new TIcon;
    return FIcon;
}

void TApplication::SetIcon(TIcon* v) { Icon()->Assign(v); }

String TApplication::ExeName() const { return ExeFileName(); }

HWND TApplication::Handle()
{
    if (!FHandle) {
        FHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
        HWND h = FHandle;
        SetWakeMainThread([h] { PostMessageW(h, WM_NULL, 0, 0); });
        SetMainThreadIdleHook([] {
            if (Application) Application->ProcessMessages();
        });
    }
    return FHandle;
}

void TApplication::SetTitle(const String& v)
{
    FTitle = v;
    if (FHandle) SetWindowTextW(FHandle, v.c_str());
}

void TApplication::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_NULL: CheckSynchronize(0); return;
    case WM_TIMER: HintTimerExpired(m.WParam); return;
    default: m.Result = DefWindowProcW(FHandle, m.Msg, m.WParam, m.LParam);
    }
}

void TApplication::RegisterForm(TCustomForm* f)
{
    f->AfterConstruction();
    if (!FMainForm) {
        f->HandleNeeded();
        FMainForm = f;
    }
}

// ---- the message loop ----

bool TApplication::IsKeyMsg(MSG& msg)
{
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    TWinControl* c = nullptr;
    for (HWND h = msg.hwnd; h && !c; h = GetParent(h)) c = FindControl(h);
    TCustomForm* form = c ? c->GetParentForm() : (Screen ? Screen->ActiveForm() : nullptr);
    TMessage km{msg.message, msg.wParam, msg.lParam, 0};
    if (form && form->IsShortCut(km)) return true;
    return c && c->Perform(CN_KEYDOWN, msg.wParam, msg.lParam) != 0;
}

bool TApplication::ProcessMessage(MSG& msg)
{
    Handle();
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    if (handled || msg.message == 0) return true;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN || msg.message == WM_LBUTTONDOWN ||
        msg.message == WM_RBUTTONDOWN || msg.message == WM_MBUTTONDOWN)
        CancelHint();
    if (IsKeyMsg(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

void TApplication::CheckMouseControl()
{
    TControl* mc = GetMouseControl();
    if (!mc || GetCaptureControl()) return;
    TWinControl* host = dynamic_cast<TWinControl*>(mc);
    if (!host) host = mc->Parent();
    POINT pt;
    if (host && host->HandleAllocated() && GetCursorPos(&pt) && WindowFromPoint(pt) == host->Handle()) return;
    SetMouseControl(nullptr);
}

void TApplication::Idle()
{
    CheckMouseControl();
    if (OnIdle) {
        try {
            OnIdle(this);
        } catch (...) {
            HandleException(this);
        }
    }
    FreeDeviceContexts();
    if (CheckSynchronize(0)) return;
    WaitMessage();
}

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {}
    CheckSynchronize(0);
}

void TApplication::Run()
{
    Handle();
    FTerminated = false;
    if (FMainForm && FShowMainForm) {
        if (FMainForm->WindowState() == wsMinimized) Minimize();
        FMainForm->SetVisible(true);
    }
    do {
        try {
            HandleMessage();
        } catch (...) {
            HandleException(this);
        }
    } while (!FTerminated);
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::Minimize()
{
    // The application window hears of the minimise first (as its own WM_SIZE): a hook there may
    // hide the main form instead (minimise to the tray), which then stays hidden, not iconified.
    const bool shown = FMainForm && FMainForm->HandleAllocated() && IsWindowVisible(FMainForm->Handle());
    SendMessageW(Handle(), WM_SIZE, SIZE_MINIMIZED, 0);
    if (FMainForm && FMainForm->HandleAllocated() && (!shown || IsWindowVisible(FMainForm->Handle())))
        ShowWindow(FMainForm->Handle(), SW_MINIMIZE);
    if (OnMinimize) OnMinimize(this);
}

void TApplication::Restore()
{
    if (FMainForm && FMainForm->HandleAllocated() && IsIconic(FMainForm->Handle()))
        ShowWindow(FMainForm->Handle(), SW_RESTORE);
    if (OnRestore) OnRestore(this);
}

void TApplication::BringToFront()
{
    if (Screen && Screen->ActiveForm() && Screen->ActiveForm()->HandleAllocated())
        SetActiveWindow(Screen->ActiveForm()->Handle());
    else if (FMainForm && FMainForm->HandleAllocated())
        SetActiveWindow(FMainForm->Handle());
}

// ---- errors ----

void TApplication::HandleException(TObject* Sender)
{
    std::exception_ptr p = std::current_exception();
    if (!p) return;
    try {
        std::rethrow_exception(p);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    } catch (...) {
        Exception e(L"Unknown error");
        if (OnException)
            OnException(Sender, e);
        else
            ShowException(e);
    }
}

void TApplication::ShowException(const std::exception& E)
{
    String msg;
    if (auto* ex = dynamic_cast<const Exception*>(&E))
        msg = ex->Message();
    else
        msg = Utf8ToString(E.what());
    msg = TrimRight(msg);
    if (!msg.empty() && msg.back() > L'.') msg += L'.';
    MessageBox(msg, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const String& Text, const String& Caption, int Flags)
{
    if (MessageBoxHandler) return MessageBoxHandler(Text, Caption, Flags);
    return PlainMessageBox(Text, Caption, Flags);
}

void TApplication::HelpContext(int Context)
{
    String file = Screen && Screen->ActiveForm() ? Screen->ActiveForm()->HelpFile() : String();
    if (file.empty()) file = FHelpFile;
    if (OnHelp) {
        OnHelp(Context, file);
        return;
    }
    if (!file.empty()) ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int TApplication::PlainMessageBox(const String& Text, const String& Caption, int Flags)
{
    if (std::string(vxwin::BackendName()) != "headless") return ShowPlainMessageBox(Text, Caption, Flags);
    // Without a display nobody could answer a dialog: the text goes to the error stream and the
    // box answers as its first button would.
    std::fprintf(stderr, "%s: %s\n", StringToUtf8(Caption).c_str(), StringToUtf8(Text).c_str());
    switch (Flags & 0xF) {
    case MB_YESNO:
    case MB_YESNOCANCEL: return IDYES;
    default: return IDOK;
    }
}

// ---- hints ----

void TApplication::SetShowHint(bool v)
{
    if (v == FShowHint) return;
    FShowHint = v;
    CancelHint();
    // The hint window is made anew (of the current HintWindowClass) on the next hint.
    if (FHintWindow) {
        FHintWindow->Free();
        FHintWindow = nullptr;
    }
}

void TApplication::StartHintTimer(unsigned ms, UINT_PTR id) { SetTimer(Handle(), id, ms, nullptr); }

void TApplication::StopHintTimers()
{
    if (!FHandle) return;
    KillTimer(FHandle, kHintShowTimer);
    KillTimer(FHandle, kHintHideTimer);
}

void TApplication::CancelHint()
{
    StopHintTimers();
    if (FHintWindow && FHintActive) FHintWindow->ReleaseHandle();
    FHintActive = false;
}

void TApplication::HintMouseMessage(TControl* Control, TMessage& m)
{
    if (!FShowHint || (Control && dynamic_cast<THintWindow*>(Control))) return;
    if (m.Msg != WM_MOUSEMOVE) {
        if (m.Msg == WM_LBUTTONDOWN || m.Msg == WM_RBUTTONDOWN || m.Msg == WM_MBUTTONDOWN) CancelHint();
        return;
    }
    if (Control != FHintControl) {
        bool wasActive = FHintActive;
        CancelHint();
        FHintControl = Control;
        if (Control) StartHintTimer(wasActive ? FHintShortPause : FHintPause, kHintShowTimer);
        return;
    }
    if (FHintActive) {
        TPoint p = Point(GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
        if (!PtInRect(FHintCursorRect, p)) CancelHint();
    }
}

void TApplication::HintTimerExpired(UINT_PTR id)
{
    KillTimer(FHandle, id);
    if (id == kHintHideTimer) {
        CancelHint();
        return;
    }
    if (!FHintControl) return;
    POINT p;
    GetCursorPos(&p);
    ActivateHint(Point(p.x, p.y));
}

void TApplication::ActivateHint(const TPoint& CursorPos)
{
    TControl* c = FHintControl;
    // A control without a hint of its own shows its parent's.
    while (c && c->Hint().empty()) c = c->Parent();
    if (!c || !c->ShowHint()) return;
    THintInfo info;
    info.HintControl = FHintControl;
    info.HintPos = Point(CursorPos.X, CursorPos.Y + 20);
    info.HintMaxWidth = Screen ? Screen->Width() : 1024;
    info.HintColor = FHintColor;
    info.CursorRect = FHintControl->ClientRect();
    info.CursorPos = FHintControl->ScreenToClient(CursorPos);
    info.HideTimeout = FHintHidePause;
    info.HintStr = ShortHint(c->Hint());
    if (FHintControl->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) != 0) return;
    bool can = true;
    if (OnShowHint) OnShowHint(info.HintStr, can, info);
    FHint = info.HintStr;
    if (OnHint) OnHint(this);
    if (!can || info.HintStr.empty()) return;
    if (!FHintWindow) FHintWindow = HintWindowClass(this);
    FHintWindow->SetColor(info.HintColor);
    TRect r = FHintWindow->CalcHintRect(info.HintMaxWidth, info.HintStr);
    r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
    FHintWindow->ActivateHint(r, info.HintStr);
    FHintActive = true;
    FHintCursorRect = info.CursorRect;
    if (info.HideTimeout > 0) StartHintTimer(static_cast<unsigned>(info.HideTimeout), kHintHideTimer);
}

void TApplication::ControlDestroyed(TControl* c)
{
    if (c == FHintControl) {
        CancelHint();
        FHintControl = nullptr;
    }
    if (c == FHintWindow) FHintWindow = nullptr;
}

void TApplication::FormDestroyed(TCustomForm* f)
{
    if (f == FMainForm) FMainForm = nullptr;
}
