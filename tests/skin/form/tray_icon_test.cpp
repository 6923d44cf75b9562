// The tray icon on the headless back end: the notification area's callbacks injected with
// TrayClick on the test clock, the state the shell keeps (tip, balloon, icon), animation, the
// menu, minimising to the tray through the application window and the subclassings' lifetime.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/backend.h"
#include "platform/win/headless_api.h"
#include "platform/win/user_api.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"
#include "skin/form/tray_icon.h"
#include "tests/support/application_fixture.h"

namespace {

// A menu that records where it would pop up instead of tracking it.
class RecordingMenu : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    void Popup(int X, int Y) override { Shown.push_back({X, Y}); }
    std::vector<TPoint> Shown;
};

struct TrayIconTest : ApplicationFixture {
    TForm* Owner = nullptr;
    TbsTrayIcon* Tray = nullptr;
    std::vector<std::string> Events;

    void SetUp() override
    {
        Owner = new TForm(Application);
        Owner->AfterConstruction();
        Tray = new TbsTrayIcon(Owner);
        Tray->SetIconVisible(true);  // what loading the form does
        Tray->OnClick = [this](TObject*) { Events.push_back("click"); };
        Tray->OnDblClick = [this](TObject*) { Events.push_back("dblclick"); };
        Tray->OnMouseDown = [this](TObject*, TMouseButton b, TShiftState s, int, int) {
            Events.push_back(std::string("down") + "LRM"[b] + (s.Contains(ssLeft) || s.Contains(ssRight) ? "+" : ""));
        };
        Tray->OnMouseUp = [this](TObject*, TMouseButton b, TShiftState, int, int) {
            Events.push_back(std::string("up") + "LRM"[b]);
        };
    }

    void Send(UINT MouseMessage)
    {
        ASSERT_TRUE(vxwin::TrayClick(Tray->Handle(), 1, MouseMessage));
        Pump();
    }
    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }
    static void Wait(unsigned Ms)
    {
        for (unsigned t = 0; t < Ms; t += 25) {
            vxwin::AdvanceClock(25);
            Pump();
        }
    }
    NOTIFYICONDATAW Shown() const
    {
        NOTIFYICONDATAW d;
        EXPECT_TRUE(vxwin::TrayIconState(Tray->Handle(), 1, &d));
        return d;
    }
};

TEST_F(TrayIconTest, ClickComesAfterTheDoubleClickTimeOrAtALateReleaseNeverWithADoubleClick)
{
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    EXPECT_EQ(Events, (std::vector<std::string>{"downL+", "upL"}));
    Wait(450);
    EXPECT_EQ(Events.size(), 2u);
    Wait(100);
    EXPECT_EQ(Events, (std::vector<std::string>{"downL+", "upL", "click"}));

    // Held past the double-click time: the click comes with the release.
    Events.clear();
    Send(WM_LBUTTONDOWN);
    Wait(600);
    EXPECT_EQ(Events, (std::vector<std::string>{"downL+"}));
    Send(WM_LBUTTONUP);
    EXPECT_EQ(Events, (std::vector<std::string>{"downL+", "click", "upL"}));

    // A double click gives only the double click, also after the timer ran out.
    Events.clear();
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    Send(WM_LBUTTONDBLCLK);
    Send(WM_LBUTTONUP);
    Wait(1000);
    EXPECT_EQ(Events, (std::vector<std::string>{"downL+", "upL", "dblclick", "upL"}));

    // Disabled, the callbacks are ignored.
    Events.clear();
    Tray->SetEnabled(false);
    Send(WM_LBUTTONDOWN);
    Send(WM_LBUTTONUP);
    Wait(600);
    EXPECT_TRUE(Events.empty());
}

TEST_F(TrayIconTest, IconsCycleThroughTheListAndTheIndexStaysInIt)
{
    TImageList* list = new TImageList(Owner, 16, 16);
    const TColor colours[] = {clRed, clLime, clBlue};
    for (TColor c : colours) {
        TBitmap b;
        b.SetSize(16, 16);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 16, 16));
        list->Add(&b, nullptr);
    }
    Tray->SetIconList(list);
    Tray->SetIconIndex(10);
    EXPECT_EQ(Tray->IconIndex(), 2);

    std::vector<int> next, shown;
    Tray->OnCycle = [&](TObject*, int n) {
        next.push_back(n);
        shown.push_back(Tray->Icon()->ToRasterImage().Pixel(8, 8) & 0xFFFFFF);
    };
    Tray->SetAnimateTimerInterval(100);
    Tray->SetCycleIcons(true);
    Wait(400);
    EXPECT_EQ(next, (std::vector<int>{1, 2, 0, 1}));
    EXPECT_EQ(shown, (std::vector<int>{0xFF0000, 0x00FF00, 0x0000FF, 0xFF0000}));
    Tray->SetCycleIcons(false);
    Wait(200);
    EXPECT_EQ(next.size(), 4u);
}

TEST_F(TrayIconTest, TipBalloonAndTitleAreCutAndTheTipFollowsShowHint)
{
    Tray->SetHint(std::wstring(200, L'提'));
    EXPECT_EQ(std::wstring(Shown().szTip).size(), 127u);
    Tray->SetShowHint(false);
    EXPECT_STREQ(Shown().szTip, L"");

    EXPECT_TRUE(Tray->ShowBalloonHint(std::wstring(100, L'T'), std::wstring(300, L'x'), bsbitWarning));
    NOTIFYICONDATAW d = Shown();
    EXPECT_EQ(std::wstring(d.szInfo), std::wstring(255, L'x'));
    EXPECT_EQ(std::wstring(d.szInfoTitle).size(), 63u);
    EXPECT_EQ(d.dwInfoFlags, NIIF_WARNING);
    EXPECT_TRUE(Tray->HideBalloonHint());
    EXPECT_STREQ(Shown().szInfo, L"");

    // A balloon click reaches OnBalloonHintClick.
    int clicks = 0;
    Tray->OnBalloonHintClick = [&](TObject*) { ++clicks; };
    Send(NIN_BALLOONUSERCLICK);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconTest, RightButtonPopsUpOnlyAnAutoPopupMenuAtTheCursor)
{
    Send(WM_RBUTTONDOWN);  // no menu: nothing but the event
    EXPECT_EQ(Events, (std::vector<std::string>{"downR+"}));
    auto* menu = new RecordingMenu(Owner);
    Tray->SetPopupMenu(menu);
    menu->SetAutoPopup(false);
    Send(WM_RBUTTONDOWN);
    EXPECT_TRUE(menu->Shown.empty());
    menu->SetAutoPopup(true);
    SetCursorPos(300, 200);
    Send(WM_RBUTTONDOWN);
    ASSERT_EQ(menu->Shown.size(), 1u);
    EXPECT_EQ(menu->Shown[0], Point(300, 200));
    EXPECT_EQ(menu->PopupComponent(), Tray);

    // A double click clicks the menu's default item; a freed menu is forgotten.
    auto* item = new TMenuItem(menu);
    int chosen = 0;
    item->OnClick = [&](TObject*) { ++chosen; };
    item->SetDefault(true);
    menu->Items()->Add(item);
    Send(WM_LBUTTONDBLCLK);
    EXPECT_EQ(chosen, 1);
    menu->Free();
    EXPECT_EQ(Tray->PopupMenu(), nullptr);
    Send(WM_RBUTTONDOWN);
}

TEST_F(TrayIconTest, MinimisingTheApplicationHidesTheMainFormInTheTray)
{
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    auto* tray = new TbsTrayIcon(main);
    tray->SetIconVisible(false);
    Tray->SetMinimizeToTray(false);
    EXPECT_FALSE(vxwin::TrayIconState(tray->Handle(), 1, nullptr));

    Application->Minimize();
    EXPECT_FALSE(main->Visible());
    EXPECT_FALSE(IsIconic(main->Handle()));
    EXPECT_EQ(main->Tag(), -10000);
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_TRUE(vxwin::TrayIconState(tray->Handle(), 1, nullptr));

    // Back: shown, still marked, and the restore message is on its way to the main form.
    std::vector<UINT> posted;
    Application->OnMessage = [&](MSG& m, bool&) {
        if (m.hwnd == main->Handle()) posted.push_back(m.message);
    };
    tray->ShowMainForm();
    EXPECT_TRUE(main->Visible());
    EXPECT_EQ(main->Tag(), -10000);
    Pump();
    Application->OnMessage = nullptr;
    EXPECT_NE(std::find(posted.begin(), posted.end(), WM_SKINFORM_TRAYRESTORE), posted.end());

    // Without MinimizeToTray the main form is minimised as usual.
    tray->SetMinimizeToTray(false);
    Application->Minimize();
    EXPECT_TRUE(IsIconic(main->Handle()));
}

// Through the skinned form: minimised to the tray and restored, its restore message clears the
// mark, and the icon goes unless the form always shows it.
TEST_F(TrayIconTest, SkinnedFormMinimisesToTheTrayAndBack)
{
    for (bool always : {false, true}) {
        TForm* main = nullptr;
        Application->CreateForm(main);
        auto* sf = new TbsSkinForm(main);
        auto* tray = new TbsTrayIcon(main);
        Tray->SetMinimizeToTray(false);
        sf->SetAlwaysShowInTray(always);
        sf->SetTrayIcon(tray);
        main->Show();
        Pump();
        EXPECT_EQ(tray->PopupMenu(), sf->FSysTrayMenu) << "the form's tray menu";

        sf->MinimizeToTray();
        EXPECT_FALSE(main->Visible());
        EXPECT_EQ(main->Tag(), -10000);
        EXPECT_TRUE(vxwin::TrayIconState(tray->Handle(), 1, nullptr));

        // A double click on the icon restores.
        ASSERT_TRUE(vxwin::TrayClick(tray->Handle(), 1, WM_LBUTTONDBLCLK));
        Pump();
        EXPECT_TRUE(main->Visible());
        EXPECT_EQ(main->Tag(), 0) << "the restore message clears the mark";
        EXPECT_EQ(vxwin::TrayIconState(tray->Handle(), 1, nullptr), always);
        main->Free();
    }
}

TEST_F(TrayIconTest, ANewTrayAddsTheIconAgainAndDestructionUndoesTheSubclassings)
{
    HWND app = Application->Handle();
    const LONG_PTR appProc = GetWindowLongPtrW(app, GWL_WNDPROC);
    auto* other = new TForm(Application);
    other->AfterConstruction();
    const LONG_PTR formProc = GetWindowLongPtrW(other->Handle(), GWL_WNDPROC);
    auto* tray = new TbsTrayIcon(other);
    tray->SetIconVisible(true);
    EXPECT_NE(GetWindowLongPtrW(app, GWL_WNDPROC), appProc);
    EXPECT_NE(GetWindowLongPtrW(other->Handle(), GWL_WNDPROC), formProc);

    // The shell lost the icon; "TaskbarCreated" brings it back while IconVisible is on.
    ASSERT_TRUE(vxwin::TrayIconState(tray->Handle(), 1, nullptr));
    NOTIFYICONDATAW d = tray->IconData();
    Shell_NotifyIconW(NIM_DELETE, &d);
    vxwin::BroadcastTaskbarCreated();
    Pump();
    EXPECT_TRUE(vxwin::TrayIconState(tray->Handle(), 1, nullptr));

    // Gone: the icon, the hidden window and both subclassings (the application window's chain
    // goes back to the procedure before it, the fixture's tray icon).
    HWND hidden = tray->Handle();
    tray->Free();
    EXPECT_FALSE(vxwin::TrayIconState(hidden, 1, nullptr));
    EXPECT_FALSE(IsWindow(hidden));
    EXPECT_EQ(GetWindowLongPtrW(app, GWL_WNDPROC), appProc);
    EXPECT_EQ(GetWindowLongPtrW(other->Handle(), GWL_WNDPROC), formProc);
}

TEST_F(TrayIconTest, MinimizedOnStartKeepsTheMainFormHiddenWithTheIconShown)
{
    auto* tray = new TbsTrayIcon(Owner);
    tray->SetIconVisible(false);
    tray->BeginLoading();
    tray->SetMinimizedOnStart(true);
    tray->EndLoading();
    EXPECT_FALSE(Application->ShowMainForm());
    EXPECT_TRUE(tray->IconVisible());
    EXPECT_TRUE(tray->MinimizeToTray());
    EXPECT_TRUE(vxwin::TrayIconState(tray->Handle(), 1, nullptr));
    Application->SetShowMainForm(true);
}

}  // namespace
