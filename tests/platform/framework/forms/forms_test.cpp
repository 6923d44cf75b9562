// Forms and the application loop on the headless window layer: focus and its broadcast, Tab and
// dialog keys, modal show returning its result through a nested loop, closing with OnCloseQuery
// and OnClose, OnCreate after the layout, exceptions reaching the error box, timers on the test
// clock, and the hint window.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/base/main_thread.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/hint_window.h"
#include "platform/framework/forms/screen.h"
#include "tests/platform/framework/control_test_support.h"

#include <thread>
#include "platform/framework/forms/timer.h"

namespace {

struct Forms : ApplicationFixture {
    void SetUp() override
    {
        Application->MessageBoxHandler = [this](const String& text, const String&, int) {
            boxes.push_back(text);
            return IDOK;
        };
    }
    std::vector<String> boxes;
};

// A focusable windowed control that logs the notices it hears.
class TProbe : public TColorPanel {
public:
    TProbe(TComponent* owner, std::vector<std::string>* log, std::string name)
        : TColorPanel(owner), FLog(log), FName(std::move(name))
    {
        SetTabStop(true);
    }
    bool wantArrows = false;

protected:
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_FOCUSCHANGED)
            FLog->push_back(FName + ":changed");
        else if (m.Msg == CM_WANTSPECIALKEY && wantArrows && (m.WParam == VK_LEFT || m.WParam == VK_RIGHT)) {
            m.Result = 1;
            return;
        }
        TColorPanel::Dispatch(m);
    }

private:
    std::vector<std::string>* FLog;
    std::string FName;
};

// A windowless control that answers Enter as a dialog key.
class TDefaultAnswer : public TColorBox {
public:
    using TColorBox::TColorBox;
    int answered = 0;

protected:
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == CM_DIALOGKEY && m.WParam == VK_RETURN) {
            ++answered;
            m.Result = 1;
            return;
        }
        TColorBox::Dispatch(m);
    }
};

}  // namespace

TEST_F(Forms, FocusChangesAreBroadcastToEveryControlWithEnterAndExit)
{
    std::vector<std::string> log;
    TForm* f = MakeForm(10, 10, 200, 100);
    auto* e1 = new TProbe(f, &log, "e1");
    e1->SetBounds(0, 0, 50, 20);
    e1->SetParent(f);
    auto* panel = new TProbe(f, &log, "panel");
    panel->SetTabStop(false);
    panel->SetBounds(60, 0, 100, 50);
    panel->SetParent(f);
    auto* e2 = new TProbe(f, &log, "e2");  // inside the panel: the broadcast reaches it too
    e2->SetBounds(5, 5, 40, 20);
    e2->SetParent(panel);
    e1->OnEnter = [&](TObject*) { log.push_back("e1:enter"); };
    e1->OnExit = [&](TObject*) { log.push_back("e1:exit"); };
    e2->OnEnter = [&](TObject*) { log.push_back("e2:enter"); };
    f->Show();
    Pump();
    e1->SetFocus();
    Pump();
    EXPECT_TRUE(e1->Focused());
    EXPECT_EQ(f->ActiveControl(), e1);
    log.clear();
    e2->SetFocus();
    EXPECT_EQ(log, (std::vector<std::string>{"e1:exit", "e2:enter", "e1:changed", "panel:changed", "e2:changed"}));
    EXPECT_EQ(Screen->ActiveControl(), e2);

    // Tab goes through the tab order (nested controls included), Shift+Tab back.
    PressKey(VK_TAB);
    Pump();
    EXPECT_TRUE(e1->Focused());
    PressKey(VK_TAB);
    Pump();
    EXPECT_TRUE(e2->Focused());

    // Arrows move the focus unless the control claims them.
    PressKey(VK_RIGHT);
    Pump();
    EXPECT_TRUE(e1->Focused());
    e1->wantArrows = true;
    PressKey(VK_RIGHT);
    Pump();
    EXPECT_TRUE(e1->Focused());
}

// A windowed control freed on its own (not with its parent) leaves the tab order with it: Tab
// and Shift+Tab afterwards walk the controls that are left and come round.
TEST_F(Forms, TabWalksTheControlsLeftAfterOneIsFreed)
{
    std::vector<std::string> log;
    TForm* f = MakeForm(10, 10, 200, 100);
    std::vector<TProbe*> probes;
    for (int i = 0; i < 4; ++i) {
        auto* p = new TProbe(f, &log, "p" + std::to_string(i));
        p->SetBounds(i * 40, 0, 30, 20);
        p->SetParent(f);
        probes.push_back(p);
    }
    auto* inner = new TProbe(f, &log, "inner");  // nested in the one that goes
    inner->SetParent(probes[2]);
    f->Show();
    Pump();
    probes[0]->SetFocus();
    Pump();
    delete probes[2];
    for (unsigned key : {0u, unsigned(kShift)}) {
        std::vector<TWinControl*> seen;
        for (int i = 0; i < 4; ++i) {
            PressKey(VK_TAB, key);
            Pump();
            seen.push_back(f->ActiveControl());
        }
        const auto want = key ? std::vector<TWinControl*>{probes[3], probes[1], probes[0], probes[3]}
                              : std::vector<TWinControl*>{probes[1], probes[3], probes[0], probes[1]};
        EXPECT_EQ(seen, want) << (key ? "Shift+Tab" : "Tab");
        probes[0]->SetFocus();
        Pump();
    }
}

TEST_F(Forms, UnhandledEnterIsOfferedToTheControlsAsDialogKey)
{
    TForm* f = MakeForm(10, 10, 200, 100);
    std::vector<std::string> log;
    auto* e = new TProbe(f, &log, "e");
    e->SetParent(f);
    auto* answer = new TDefaultAnswer(f);
    answer->SetParent(f);
    WORD seenKey = 0;
    e->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { seenKey = key; };
    f->Show();
    e->SetFocus();
    Pump();
    PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(answer->answered, 1);
    EXPECT_EQ(seenKey, 0);  // taken as a dialog key before the control's own key handling
    PressKey('A');
    Pump();
    EXPECT_EQ(seenKey, 'A');
    // With KeyPreview the form sees keys first and may swallow them.
    f->SetKeyPreview(true);
    f->OnKeyDown = [](TObject*, WORD& key, TShiftState) {
        if (key == 'B') key = 0;
    };
    PressKey('B');
    Pump();
    EXPECT_EQ(seenKey, 'A');
}

TEST_F(Forms, FocusRequestOnAnInactiveFormOnlyRecordsTheControl)
{
    std::vector<std::string> log;
    TForm* main = MakeForm(10, 10, 200, 100);
    auto* e = new TProbe(main, &log, "e");
    e->SetParent(main);
    main->Show();
    TForm* other = MakeForm(300, 10, 100, 100);
    other->Show();
    Pump();
    EXPECT_FALSE(main->Active());
    e->SetFocus();
    EXPECT_EQ(main->ActiveControl(), e);
    EXPECT_FALSE(e->Focused());
    main->Show();  // activated again: the recorded control takes the focus
    Pump();
    EXPECT_TRUE(e->Focused());
}

TEST_F(Forms, ShowModalRunsANestedLoopAndReturnsTheResult)
{
    TForm* main = MakeForm(0, 0, 300, 300);
    main->Show();
    TForm* dlg = MakeForm(100, 100, 100, 100, clGreen);
    auto* ok = new TColorBox(dlg);
    ok->SetBounds(10, 10, 30, 20);
    ok->SetParent(dlg);
    ok->OnClick = [&](TObject*) { dlg->SetModalResult(mrOk); };
    int shown = 0;
    bool mainDisabledMeanwhile = false;
    dlg->OnShow = [&](TObject*) { ++shown; };
    ok->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) {
        mainDisabledMeanwhile = !IsWindowEnabled(main->Handle());
    };
    Pump();
    Click(115, 115);  // queued now, handled by the modal loop
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(mainDisabledMeanwhile);
    EXPECT_FALSE(dlg->Visible());
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));

    // Close answers mrCancel; a refusing OnCloseQuery keeps the dialog up until it agrees.
    int queries = 0;
    dlg->OnCloseQuery = [&](TObject*, bool& can) { can = ++queries > 1; };
    ok->OnClick = [&](TObject*) { dlg->Close(); };
    Click(115, 115);
    Click(115, 115);
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
    EXPECT_THROW(main->ShowModal(), EInvalidOperation);  // already visible
}

TEST_F(Forms, CloseHidesOrEndsTheProgramAndHonoursCloseQuery)
{
    TForm* main = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(main);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), main);
    second->Show();
    std::vector<std::string> log;
    second->OnCloseQuery = [&](TObject*, bool& can) {
        log.push_back("query");
        can = log.size() > 1;
    };
    second->OnClose = [&](TObject*, TCloseAction& a) {
        log.push_back("close");
        EXPECT_EQ(a, caHide);
    };
    second->Close();
    EXPECT_TRUE(second->Visible());
    SendMessageW(second->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(second->Visible());
    EXPECT_EQ(log, (std::vector<std::string>{"query", "query", "close"}));

    // Closing the main form ends Run.
    main->OnShow = [&](TObject*) { main->Close(); };
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(Forms, OnCreateRunsAfterTheLayoutAndItsErrorsReachTheErrorBox)
{
    struct TLayoutForm : TForm {
        explicit TLayoutForm(TComponent* o) : TForm(o)
        {
            BeginLoading();
            box = new TColorBox(this);
            box->SetAlign(alClient);
            box->SetParent(this);
            OnCreate = [this](TObject*) {
                createdLoading = (box->ComponentState() & csLoading) != 0;
                StrToInt(L"x");  // raises: the rest of the handler is skipped
                reachedEnd = true;
            };
            EndLoading();
        }
        TColorBox* box;
        bool createdLoading = true;
        bool reachedEnd = false;
    };
    TLayoutForm* f = nullptr;
    Application->CreateForm(f);
    EXPECT_FALSE(f->createdLoading);
    EXPECT_FALSE(f->reachedEnd);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(L"x"), String::npos);
    EXPECT_EQ(f->box->Width(), f->ClientWidth());
}

TEST_F(Forms, HandlerErrorsGoToTheErrorBoxAndTheLoopGoesOn)
{
    TForm* f = MakeForm(0, 0, 100, 100);
    auto* b = new TColorBox(f);
    b->SetBounds(0, 0, 50, 50);
    b->SetParent(f);
    b->OnClick = [](TObject*) { throw EConvertError(L"'abc' is not a valid integer value"); };
    f->Show();
    Pump();
    Click(10, 10);
    Pump();
    Click(10, 10);
    Pump();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0], L"'abc' is not a valid integer value.");
}

TEST_F(Forms, TimersFireOnTheTestClock)
{
    ASSERT_STREQ(vxwin::BackendName(), "headless");  // starts the back end and its test clock
    vxwin::SetClockAutoStep(0);
    TTimer* t = new TTimer(Application);
    t->SetInterval(100);
    int ticks = 0;
    t->OnTimer = [&](TObject*) { ++ticks; };
    Pump();
    vxwin::AdvanceClock(99);
    Pump();
    EXPECT_EQ(ticks, 0);
    vxwin::AdvanceClock(1);
    Pump();
    EXPECT_EQ(ticks, 1);
    vxwin::AdvanceClock(100);
    Pump();
    EXPECT_EQ(ticks, 2);
    t->SetEnabled(false);
    vxwin::AdvanceClock(500);
    Pump();
    EXPECT_EQ(ticks, 2);
    t->SetEnabled(true);
    t->SetInterval(50);
    vxwin::AdvanceClock(50);
    Pump();
    EXPECT_EQ(ticks, 3);
    t->Free();
    vxwin::AdvanceClock(500);
    Pump();
    EXPECT_EQ(ticks, 3);
}

TEST_F(Forms, QueuedCallsFromWorkersRunInTheLoop)
{
    TForm* f = MakeForm(0, 0, 50, 50);
    f->Show();
    Pump();
    int ran = 0;
    std::thread worker([&] { RunInMainThreadSync([&] { ++ran; }); });
    while (ran == 0) Application->HandleMessage();
    worker.join();
    EXPECT_EQ(ran, 1);
}

TEST_F(Forms, HintShowsAfterThePauseAndHidesOnLeave)
{
    vxwin::SetClockAutoStep(0);
    TForm* f = MakeForm(100, 100, 200, 200);
    auto* g = new TColorBox(f);
    g->SetBounds(10, 10, 50, 50);
    g->SetHint(L"提示|long text");
    g->SetShowHint(true);
    g->SetParent(f);
    int shown = 0;
    Application->OnShowHint = [&](String& s, bool&, THintInfo& info) {
        ++shown;
        EXPECT_EQ(s, L"提示");
        EXPECT_EQ(info.HintControl, g);
    };
    f->Show();
    Pump();
    vxwin::InjectMouseMove(120, 120);
    Pump();
    EXPECT_EQ(shown, 0);
    vxwin::AdvanceClock(Application->HintPause());
    Pump();
    EXPECT_EQ(shown, 1);
    ASSERT_NE(Application->HintWindow(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Application->HintWindow()->Handle()));
    EXPECT_EQ(Application->HintWindow()->Caption(), L"提示");
    vxwin::InjectMouseMove(250, 250);
    Pump();
    EXPECT_FALSE(IsWindowVisible(Application->HintWindow()->Handle()));
    Application->OnShowHint = nullptr;
}

TEST_F(Forms, FormInsideAForeignWindowIsAChildWindow)
{
    TForm* host = MakeForm(10, 10, 300, 200);
    host->Show();
    TForm* inner = MakeForm(20, 30, 100, 50, clGreen);
    inner->SetParentWindow(host->Handle());
    inner->Show();
    Pump();
    EXPECT_EQ(GetParent(inner->Handle()), host->Handle());
    EXPECT_NE(GetWindowLongW(inner->Handle(), GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(PixelOf(host, 25, 35), Rgb(clGreen));
    EXPECT_EQ(inner->Left(), 20);
}

TEST_F(Forms, OnDestroyRunsWhileTheDerivedFormIsWholeAndDestroyingIsSet)
{
    struct TWithMembers : TForm {
        explicit TWithMembers(TComponent* o) : TForm(o), folder(L"输出目录")
        {
            box = new TColorBox(this);
            box->SetParent(this);
            OnDestroy = [this](TObject*) {
                seenFolder = folder;  // a member of the derived form
                destroying = (ComponentState() & csDestroying) && (box->ComponentState() & csDestroying);
            };
        }
        String folder;
        TColorBox* box;
        String seenFolder;
        bool destroying = false;
    };
    String seen;
    bool destroying = false;
    TWithMembers* f = nullptr;
    Application->CreateForm(f);
    f->OnDestroy = [&, f](TObject* s) {
        EXPECT_EQ(s, f);
        seen = f->folder;
        destroying = (f->ComponentState() & csDestroying) != 0;
    };
    Application->DestroyComponents();  // as the program's end frees its forms
    EXPECT_EQ(seen, L"输出目录");
    EXPECT_TRUE(destroying);
}

TEST_F(Forms, AShownFormStaysShownWhenItsWindowIsRecreated)
{
    struct Case {
        TWindowState State;
        bool Zoomed;
    } cases[] = {{wsNormal, false}, {wsMaximized, true}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.State);
        TForm* f = MakeForm(10, 10, 200, 100);
        f->Show();
        f->SetWindowState(k.State);
        const HWND before = f->Handle();
        RECT was;
        GetWindowRect(before, &was);
        f->SetBorderStyle(bsSingle);  // a new window
        ASSERT_NE(f->Handle(), before);
        EXPECT_TRUE(IsWindowVisible(f->Handle()));
        EXPECT_EQ(IsZoomed(f->Handle()) != FALSE, k.Zoomed);
        RECT now;
        GetWindowRect(f->Handle(), &now);
        EXPECT_EQ(now.left, was.left);
        EXPECT_EQ(now.top, was.top);
        f->Free();
    }
    // A hidden one stays hidden.
    TForm* h = MakeForm(10, 10, 200, 100);
    h->Show();
    h->Hide();
    h->SetBorderStyle(bsSingle);
    EXPECT_FALSE(IsWindowVisible(h->Handle()));
}

TEST_F(Forms, BorderAndFormStyleBecomeWindowStylesAndStayOnTopSwitchesAtRunTime)
{
    TForm* f = MakeForm(10, 10, 200, 100);
    f->SetBorderStyle(bsSingle);
    f->SetBorderIcons(TBorderIcons{biSystemMenu, biMinimize});
    LONG style = GetWindowLongW(f->Handle(), GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_NE(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    f->SetClientWidth(150);
    EXPECT_EQ(f->ClientWidth(), 150);
    f->Show();
    f->SetFormStyle(fsStayOnTop);
    EXPECT_NE(GetWindowLongW(f->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    f->SetFormStyle(fsNormal);
    EXPECT_EQ(GetWindowLongW(f->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // A centred form lands in the middle of the screen at its first show.
    TForm* c = MakeForm(0, 0, 200, 100);
    c->SetPosition(poScreenCenter);
    c->Show();
    EXPECT_EQ(c->Left(), (Screen->Width() - 200) / 2);
    EXPECT_EQ(c->Top(), (Screen->Height() - 100) / 2);
}
