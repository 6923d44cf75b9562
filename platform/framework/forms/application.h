// TApplication (global Application): the program's message loop and its nested steps
// (HandleMessage, ProcessMessages), the queue of synchronous calls from worker threads served by
// that loop, the main form and form creation, termination, the title, shortcut and dialog-key
// pre-processing of key messages, the OnMessage hook, the default exception handler (the error
// box), and the hint machinery (hover detection, THintWindow of class HintWindowClass, timers).
#pragma once

#include <exception>
#include <functional>

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/component.h"
#include "platform/framework/core/exceptions.h"

class TControl;
class TCustomForm;
class THintWindow;
class TIcon;

// What the hint machinery tells OnShowHint and the hint window.
struct THintInfo {
    TControl* HintControl = nullptr;
    TPoint HintPos;  // screen position of the hint window
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect;  // client area of HintControl in which the hint stays
    TPoint CursorPos;  // client coordinates of the pointer
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    String HintStr;
};

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TShowHintEvent = std::function<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using THintWindowClass = std::function<THintWindow*(TComponent* AOwner)>;
// Answers a message box instead of showing one (tests, and the skinned message boxes).
using TMessageBoxHandler = std::function<int(const String& Text, const String& Caption, int Flags)>;
// Shows help topic Context of HelpFile (the active form's help file, else the application's).
using THelpEvent = std::function<void(int Context, const String& HelpFile)>;

// The class of hint window the application creates; the skin engine installs its own.
extern THintWindowClass HintWindowClass;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize() {}
    // Creates a form owned by the application, builds it, runs its OnCreate, and makes the
    // first form created the main form.
    template <typename T>
    void CreateForm(T*& Reference)
    {
        T* f = new T(this);
        Reference = f;
        RegisterForm(f);
    }
    void RegisterForm(TCustomForm* f);

    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // One message (or, when none is waiting, the idle step and a wait for the next).
    void HandleMessage();
    // Every waiting message, then the queued synchronous calls; never waits.
    void ProcessMessages();
    // The idle step's mouse check: the control with the mouse over it loses it when the pointer
    // is no longer over its window although it did not move (a dialog opened or closed under it).
    void CheckMouseControl();

    HWND Handle();
    TCustomForm* MainForm() const { return FMainForm; }
    void SetMainForm(TCustomForm* f) { FMainForm = f; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool v) { FShowMainForm = v; }
    bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
    void SetMainFormOnTaskBar(bool v) { FMainFormOnTaskBar = v; }
    const String& Title() const { return FTitle; }
    void SetTitle(const String& v);
    const String& HelpFile() const { return FHelpFile; }
    void SetHelpFile(const String& v) { FHelpFile = v; }
    // Help for a context number: OnHelp when set, else the help file opened by the desktop (there
    // is no help viewer that could turn to a topic). An exception OnHelp raises passes on.
    void HelpContext(int Context);
    String ExeName() const;
    // The program's icon (drawn by the preview overlay, shown by the tray).
    TIcon* Icon();
    void SetIcon(TIcon* v);

    void Minimize();
    void Restore();
    void BringToFront();

    // Called inside a catch block: reports the exception being handled (EAbort is silent).
    void HandleException(TObject* Sender);
    void ShowException(const std::exception& E);
    int MessageBox(const String& Text, const String& Caption, int Flags = MB_OK);

    // ---- hints ----
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool v);
    int HintPause() const { return FHintPause; }
    void SetHintPause(int v) { FHintPause = v; }
    int HintHidePause() const { return FHintHidePause; }
    void SetHintHidePause(int v) { FHintHidePause = v; }
    int HintShortPause() const { return FHintShortPause; }
    void SetHintShortPause(int v) { FHintShortPause = v; }
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor v) { FHintColor = v; }
    THintWindow* HintWindow() const { return FHintWindow; }
    void ActivateHint(const TPoint& CursorPos);
    void CancelHint();
    // Every mouse message of a control passes here (hover detection).
    void HintMouseMessage(TControl* Control, TMessage& Msg);
    const String& Hint() const { return FHint; }

    TMessageEvent OnMessage;
    TExceptionEvent OnException;
    TNotifyEvent OnIdle;
    TNotifyEvent OnHint;
    TShowHintEvent OnShowHint;
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TMessageBoxHandler MessageBoxHandler;
    THelpEvent OnHelp;

    // Bookkeeping calls from controls and forms going away.
    void ControlDestroyed(TControl* c);
    void FormDestroyed(TCustomForm* f);

private:
    bool ProcessMessage(MSG& Msg);
    bool IsKeyMsg(MSG& Msg);
    void Idle();
    void WndProc(TMessage& m);
    void StartHintTimer(unsigned ms, UINT_PTR id);
    void StopHintTimers();
    void HintTimerExpired(UINT_PTR id);
    int PlainMessageBox(const String& Text, const String& Caption, int Flags);

    HWND FHandle = nullptr;
    TIcon* FIcon = nullptr;
    TCustomForm* FMainForm = nullptr;
    bool FTerminated = false;
    bool FShowMainForm = true;
    bool FMainFormOnTaskBar = false;
    String FTitle;
    String FHelpFile;
    // hints
    bool FShowHint = true;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    int FHintShortPause = 50;
    TColor FHintColor = clInfoBk;
    THintWindow* FHintWindow = nullptr;
    TControl* FHintControl = nullptr;
    bool FHintActive = false;
    String FHint;
    TRect FHintCursorRect;
};

extern TApplication* Application;
