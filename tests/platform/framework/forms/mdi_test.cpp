// MDI forms on the headless window layer: the "MDIClient" window of an fsMDIForm (placed after the
// aligned controls, subclassable through the window procedure), fsMDIChild forms as its child
// windows in its coordinates, child order with index 0 on top, activation by Show, by a click and
// by Next, and what happens when the active child goes away.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework/controls/panel.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/forms/menus.h"
#include "tests/platform/framework/control_test_support.h"

namespace {

struct Mdi : ApplicationFixture {
    void SetUp() override
    {
        frame = MakeForm(100, 100, 400, 300);
        frame->SetFormStyle(fsMDIForm);
        frame->Show();
        Pump();
    }
    // A shown MDI child that logs its activation.
    TForm* Child(const std::string& name, int x, int y, TFormBorderStyle border = bsNone)
    {
        TForm* f = new TForm(Application);
        f->SetFormStyle(fsMDIChild);
        f->SetBorderStyle(border);
        f->SetBounds(x, y, 120, 80);
        f->OnActivate = [this, name](TObject*) { log.push_back(name + "+"); };
        f->OnDeactivate = [this, name](TObject*) { log.push_back(name + "-"); };
        f->AfterConstruction();
        f->Show();
        Pump();
        return f;
    }
    std::vector<TCustomForm*> Order() const
    {
        std::vector<TCustomForm*> v;
        for (int i = 0; i < frame->MDIChildCount(); ++i) v.push_back(frame->MDIChildren(i));
        return v;
    }
    TForm* frame = nullptr;
    std::vector<std::string> log;
};

WNDPROC gOld = nullptr;
int gSeen = 0;
LRESULT SpyProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_USER + 7) ++gSeen;
    return CallWindowProcW(gOld, h, msg, wp, lp);
}

TEST_F(Mdi, ClientWindowFillsWhatAlignedControlsLeaveAndCanBeSubclassed)
{
    HWND client = frame->ClientHandle();
    ASSERT_TRUE(client);
    wchar_t cls[32] = {};
    GetClassNameW(client, cls, 32);
    EXPECT_EQ(String(cls), L"MDIClient");
    EXPECT_EQ(GetParent(client), frame->Handle());

    auto* bar = new TPanel(frame);
    bar->SetParent(frame);
    bar->SetHeight(30);
    bar->SetAlign(alTop);
    Pump();
    RECT r;
    GetWindowRect(client, &r);
    MapWindowPoints(nullptr, frame->Handle(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.bottom - r.top, frame->ClientHeight() - 30);
    EXPECT_EQ(r.right - r.left, frame->ClientWidth());

    // Subclassing chains to the class procedure, which still answers.
    gSeen = 0;
    gOld = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&SpyProc)));
    ASSERT_TRUE(gOld);
    SendMessageW(client, WM_USER + 7, 0, 0);
    SetWindowTextW(client, L"x");
    wchar_t text[8] = {};
    GetWindowTextW(client, text, 8);
    EXPECT_EQ(gSeen, 1);
    EXPECT_EQ(String(text), L"x");
    SetWindowLongPtrW(client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(gOld));
}

TEST_F(Mdi, ChildrenLiveInTheClientInItsCoordinatesTopmostFirst)
{
    TForm* a = Child("a", 10, 20);
    TForm* b = Child("b", 40, 50);
    TForm* c = Child("c", 70, 80);
    EXPECT_EQ(GetParent(a->Handle()), frame->ClientHandle());
    POINT o{0, 0};
    ClientToScreen(frame->ClientHandle(), &o);
    RECT r;
    GetWindowRect(b->Handle(), &r);
    EXPECT_EQ(r.left - o.x, 40);
    EXPECT_EQ(r.top - o.y, 50);
    EXPECT_EQ(b->Left(), 40);
    EXPECT_EQ(b->Top(), 50);

    EXPECT_EQ(frame->MDIChildCount(), 3);
    EXPECT_EQ(Order(), (std::vector<TCustomForm*>{c, b, a}));
    EXPECT_EQ(frame->ActiveMDIChild(), c);
    EXPECT_TRUE(c->Active());
    EXPECT_FALSE(a->Active());
    EXPECT_EQ(a->MDIParent(), frame);
    EXPECT_EQ(frame->MDIChildren(3), nullptr);

    // Showing a child again brings it up and activates it.
    log.clear();
    a->Show();
    EXPECT_EQ(Order(), (std::vector<TCustomForm*>{a, c, b}));
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(log, (std::vector<std::string>{"c-", "a+"}));

    // Next: the one below takes over, the active one goes to the bottom.
    frame->Next();
    EXPECT_EQ(Order(), (std::vector<TCustomForm*>{c, b, a}));
    EXPECT_EQ(frame->ActiveMDIChild(), c);
}

TEST_F(Mdi, ClickingAChildOrAControlInItActivatesIt)
{
    TForm* a = Child("a", 0, 0);
    auto* inner = new TPanel(a);
    inner->SetParent(a);
    inner->SetBounds(0, 0, 40, 40);
    TForm* b = Child("b", 200, 0);
    Pump();
    ASSERT_EQ(frame->ActiveMDIChild(), b);

    POINT p{60, 60};  // a's own client area, outside the panel
    ClientToScreen(a->Handle(), &p);
    Click(p.x, p.y);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(frame->MDIChildren(0), a);

    POINT q{10, 10};
    ClientToScreen(b->Handle(), &q);
    Click(q.x, q.y);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), b);

    p = POINT{10, 10};  // inside the panel on a
    ClientToScreen(inner->Handle(), &p);
    Click(p.x, p.y);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(frame->MDIChildren(0), a);

    // A child with a frame: a press on its caption activates it too.
    TForm* framed = Child("framed", 100, 100, bsSizeable);
    a->Show();
    ASSERT_EQ(frame->ActiveMDIChild(), a);
    RECT wr;
    GetWindowRect(framed->Handle(), &wr);
    POINT inside{0, 0};
    ClientToScreen(framed->Handle(), &inside);
    ASSERT_GT(inside.y - wr.top, 6);  // the frame has a caption band
    Click(wr.left + 30, wr.top + (inside.y - wr.top) / 2);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), framed);
    EXPECT_EQ(frame->MDIChildren(0), framed);
}

TEST_F(Mdi, HidingOrFreeingTheActiveChildHandsOverAndNoFrameIsAnError)
{
    TForm* a = Child("a", 0, 0);
    TForm* b = Child("b", 20, 20);
    log.clear();
    b->Hide();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(log, (std::vector<std::string>{"b-", "a+"}));
    b->Show();
    EXPECT_EQ(frame->ActiveMDIChild(), b);
    b->Free();
    Pump();
    EXPECT_EQ(frame->MDIChildCount(), 1);
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    a->Free();
    EXPECT_EQ(frame->MDIChildCount(), 0);
    EXPECT_EQ(frame->ActiveMDIChild(), nullptr);

    // Without any MDI form a child cannot get a window.
    frame->SetFormStyle(fsNormal);
    EXPECT_EQ(frame->ClientHandle(), nullptr);
    TForm* orphan = new TForm(Application);
    orphan->SetFormStyle(fsMDIChild);
    orphan->AfterConstruction();
    EXPECT_THROW(orphan->Show(), EInvalidOperation);
}

TEST_F(Mdi, RecreatingTheFormKeepsItsChildren)
{
    TForm* a = Child("a", 10, 20);
    TForm* b = Child("b", 40, 50);
    TForm* c = Child("c", 70, 80);
    TForm* hidden = Child("hidden", 5, 5);
    hidden->Hide();
    b->Show();
    Pump();
    const std::vector<TCustomForm*> order = Order();
    ASSERT_EQ(order.size(), 4u);
    ASSERT_EQ(order[0], b);
    auto boundsOf = [](TCustomForm* f) {
        RECT r;
        GetWindowRect(f->Handle(), &r);
        POINT o{r.left, r.top};
        ScreenToClient(GetParent(f->Handle()), &o);
        return std::vector<int>{o.x, o.y, r.right - r.left, r.bottom - r.top};
    };
    std::vector<std::vector<int>> bounds;
    for (TCustomForm* f : order) bounds.push_back(boundsOf(f));
    const HWND windowBefore = frame->Handle();
    const HWND childWindow = a->Handle();

    log.clear();
    frame->SetBorderIcons(TBorderIcons{biSystemMenu});  // recreates the form's window
    Pump();
    ASSERT_NE(frame->Handle(), windowBefore);
    EXPECT_EQ(GetParent(frame->ClientHandle()), frame->Handle());
    EXPECT_EQ(Order(), order);
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(GetParent(order[i]->Handle()), frame->ClientHandle());
        EXPECT_EQ(boundsOf(order[i]), bounds[i]) << i;
    }
    EXPECT_EQ(a->Handle(), childWindow);  // the same windows, not new ones
    auto shown = [](TCustomForm* f) { return (GetWindowLongW(f->Handle(), GWL_STYLE) & WS_VISIBLE) != 0; };
    EXPECT_FALSE(shown(hidden));
    EXPECT_TRUE(shown(c));
    EXPECT_EQ(frame->ActiveMDIChild(), b);
    EXPECT_EQ(a->MDIParent(), frame);
    EXPECT_TRUE(log.empty());  // nobody lost or took activation

    // The form shows again, and the children work in it: a click on one activates it.
    EXPECT_TRUE(IsWindowVisible(frame->Handle()));
    EXPECT_TRUE(IsWindowVisible(c->Handle()));
    POINT p{5, 5};
    ClientToScreen(a->Handle(), &p);
    Click(p.x, p.y);
    Pump();
    EXPECT_EQ(frame->ActiveMDIChild(), a);

    // Turned into a plain form, the children's windows go as before.
    frame->SetFormStyle(fsNormal);
    EXPECT_EQ(frame->ClientHandle(), nullptr);
    EXPECT_FALSE(IsWindow(childWindow));
}

TEST_F(Mdi, WindowMenuListsTheChildrenAndActivatesTheChosenOne)
{
    auto* menu = new TMainMenu(frame);
    auto* window = new TMenuItem(menu);
    window->SetCaption(L"窗口(&W)");
    auto* tile = new TMenuItem(menu);
    tile->SetCaption(L"平铺");
    window->Add(tile);
    menu->Items()->Add(window);
    frame->SetWindowMenu(window);
    EXPECT_EQ(window->Count(), 1);  // no children yet: nothing added

    TForm* a = Child("a", 0, 0);
    a->SetCaption(L"文件一");
    TForm* b = Child("b", 20, 20);
    b->SetCaption(L"文件二");
    ASSERT_EQ(window->Count(), 4);
    EXPECT_EQ(window->Items(1)->Caption(), L"-");
    EXPECT_EQ(window->Items(2)->Caption(), L"&1 文件一");
    EXPECT_EQ(window->Items(3)->Caption(), L"&2 文件二");
    EXPECT_FALSE(window->Items(2)->Checked());
    EXPECT_TRUE(window->Items(3)->Checked());

    window->Items(2)->Click();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_TRUE(window->Items(2)->Checked());
    EXPECT_FALSE(window->Items(3)->Checked());
    EXPECT_EQ(window->Items(2)->Caption(), L"&1 文件一");  // the order they were made stays

    b->Free();
    ASSERT_EQ(window->Count(), 3);
    a->Hide();
    EXPECT_EQ(window->Count(), 1);
    EXPECT_EQ(window->Items(0), tile);
    a->Show();
    EXPECT_EQ(window->Count(), 3);

    menu->Free();  // the window menu goes with its menu
    EXPECT_EQ(frame->WindowMenu(), nullptr);
    a->SetCaption(L"x");
}

}  // namespace
