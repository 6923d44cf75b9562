// The skinned form's MDI side, headless: an MDI main form with a skin form and skinned children.
// The protocol between the children and the main form (maximize and restore together, the main
// caption), the arrangement commands, the two scroll bars, the window menu, the client window's
// procedure, and the platform's part: frame activation on a switch and children kept across
// a recreation of the main form's window.
#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/controls/panel.h"
#include "platform/framework/forms/menus.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_messages.h"
#include "skin/form/form_links.h"
#include "skin/form/skin_form.h"
#include "tests/skin/form/mdi_test_support.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/support/application_fixture.h"
#include "tests/support/user_input.h"

namespace {

using MdiSkinForm = MdiFixture;

// ---- the protocol ------------------------------------------------------------------------------

TEST_F(MdiSkinForm, MaximizingOneMaximizesTheOthersThatAllowItAndTheMainCaptionShowsTheChild)
{
    TForm* a = Child(L"ChildA");
    TForm* b = Child(L"ChildB", 30, 30);
    TForm* fixed = Child(L"Fixed", 50, 50, 200, 150, false);
    ASSERT_EQ(ClientSize(), Rect(0, 0, W, H));
    EXPECT_EQ(SendMessageW(Main->Handle(), WM_MDICHILD_QUERYMAXIMIZED, 0, 0), 0);

    S(a)->SetWindowState(wsMaximized);
    EXPECT_EQ(S(a)->WindowState(), wsMaximized);
    EXPECT_EQ(S(b)->WindowState(), wsMaximized);
    EXPECT_EQ(S(fixed)->WindowState(), wsNormal);
    EXPECT_EQ(BoundsOf(b), Rect(0, 0, W, H));
    EXPECT_EQ(BoundsOf(fixed), Rect(50, 50, 250, 200));
    EXPECT_TRUE(MSF->MDIChildMaximized());
    EXPECT_EQ(SendMessageW(Main->Handle(), WM_MDICHILD_QUERYMAXIMIZED, 0, 0), 1);
    // The caption names the active maximized child (the one shown last is active: Fixed is
    // not maximized, so the first maximized child in order).
    EXPECT_EQ(MSF->CaptionText(), L"main - [" + MSF->MaximizedMDIChild()->Caption() + L"]");
    a->Show();
    Pump();
    EXPECT_EQ(MSF->CaptionText(), L"main - [ChildA]");

    // A child's own maximize message while all are maximized changes nothing further.
    SendMessageW(Main->Handle(), WM_MDICHILD_MAXIMIZED, 0, 0);
    EXPECT_EQ(S(fixed)->WindowState(), wsNormal);

    // A child shown now opens maximized.
    TForm* late = Child(L"Late", 70, 70);
    EXPECT_EQ(S(late)->WindowState(), wsMaximized);
    EXPECT_EQ(BoundsOf(late), Rect(0, 0, W, H));

    // Restoring one restores all.
    S(b)->SetWindowState(wsNormal);
    EXPECT_EQ(S(a)->WindowState(), wsNormal);
    EXPECT_EQ(S(late)->WindowState(), wsNormal);
    EXPECT_EQ(BoundsOf(b), Rect(30, 30, 230, 180));
    EXPECT_FALSE(MSF->MDIChildMaximized());
    EXPECT_EQ(MSF->CaptionText(), L"main");
}

TEST_F(MdiSkinForm, MinimizingOneWhileAllAreMaximizedRestoresTheOthersAndActivatesTheNext)
{
    TForm* a = Child(L"ChildA");
    TForm* b = Child(L"ChildB", 30, 30);
    TForm* c = Child(L"ChildC", 50, 50);
    S(c)->SetWindowState(wsMaximized);
    ASSERT_TRUE(MSF->MDIChildMaximized());
    ASSERT_EQ(Main->ActiveMDIChild(), c);

    S(c)->SetWindowState(wsMinimized);
    EXPECT_EQ(S(c)->WindowState(), wsMinimized);
    EXPECT_EQ(S(a)->WindowState(), wsNormal);
    EXPECT_EQ(S(b)->WindowState(), wsNormal);
    EXPECT_EQ(BoundsOf(a), Rect(10, 10, 210, 160));
    EXPECT_FALSE(MSF->MDIChildMaximized());
    EXPECT_NE(Main->ActiveMDIChild(), c);
    EXPECT_NE(Main->ActiveMDIChild(), nullptr);
    // The minimized child sits in the first slot at the bottom of the client area.
    EXPECT_EQ(c->Left(), 0);
    EXPECT_EQ(c->Top() + c->Height(), H);
}

TEST_F(MdiSkinForm, DestroyingTheMaximizedChildClearsTheMainFormsRecord)
{
    Child(L"Fixed", 50, 50, 200, 150, false);
    TForm* a = Child(L"ChildA");
    S(a)->SetWindowState(wsMaximized);
    ASSERT_TRUE(MSF->MDIChildMaximized());
    a->Free();
    Pump();
    EXPECT_FALSE(MSF->MDIChildMaximized());
    EXPECT_EQ(MSF->CaptionText(), L"main");
    EXPECT_EQ(SendMessageW(Main->Handle(), WM_MDICHILD_QUERYMAXIMIZED, 0, 0), 0);
}

TEST_F(MdiSkinForm, MaximizedChildrenRefitWhenTheMainFormsClientAreaChanges)
{
    TForm* a = Child(L"ChildA");
    S(a)->SetWindowState(wsMaximized);
    // A skin gives the main form another frame, so another client area.
    Def = std::make_unique<skintest::SyntheticSkin>();
    skintest::AddFrame(*Def);
    Def->LoadInto(Model);
    MSF->SetSkinData(Model);
    Pump();
    ASSERT_NE(ClientSize(), Rect(0, 0, W, H));
    EXPECT_EQ(BoundsOf(a), ClientSize());
    Main->SetClientWidth(500);
    Pump();
    EXPECT_EQ(a->Width(), 500);
    EXPECT_EQ(BoundsOf(a), ClientSize());
}

// ---- arrangement -------------------------------------------------------------------------------

TEST_F(MdiSkinForm, TileAndCascadePlaceTheChildrenByTheirOrder)
{
    for (int i = 0; i < 5; ++i) Child(L"C" + std::to_wstring(i), 10 * i, 10 * i);
    struct Case {
        const char* Name;
        TTileMode Mode;
        TRect Want[5];  // by index, 0 topmost
    } cases[] = {
        {"horizontal: two columns, the right one in thirds",
         tbHorizontal,
         {Bounds(0, 0, 400, 300), Bounds(0, 300, 400, 300), Bounds(400, 0, 400, 200), Bounds(400, 200, 400, 200),
          Bounds(400, 400, 400, 200)}},
        {"vertical: the left column in halves, the right one in thirds",
         tbVertical,
         {Bounds(0, 0, 400, 300), Bounds(0, 300, 400, 300), Bounds(400, 0, 400, 200), Bounds(400, 200, 400, 200),
          Bounds(400, 400, 400, 200)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        MSF->SetTileMode(c.Mode);
        MSF->Tile();
        for (int i = 0; i < 5; ++i) EXPECT_EQ(BoundsOf(Main->MDIChildren(i)), c.Want[i]) << i;
    }
}

TEST_F(MdiSkinForm, CascadeStepsByTheCaptionHeightWithinSevenSteps)
{
    for (int i = 0; i < 3; ++i) Child(L"C" + std::to_wstring(i), 100, 100);
    TCustomForm* first = Main->MDIChildren(0);
    S(first)->SetWindowState(wsMaximized);
    MSF->Cascade();
    // Cascading restores first, then steps by 19 + 3.
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(S(Main->MDIChildren(i))->WindowState(), wsNormal);
        EXPECT_EQ(BoundsOf(Main->MDIChildren(i)), Bounds(44 - 22 * i, 44 - 22 * i, 756, 556));
    }
    EXPECT_EQ(Main->MDIChildren(0), first);
}

TEST_F(MdiSkinForm, CascadeInASkinWhoseClientStartsAtTheTopStillSteps)
{
    for (int i = 0; i < 3; ++i) Child(L"C" + std::to_wstring(i), 100, 100);
    Def = std::make_unique<skintest::SyntheticSkin>();
    skintest::AddFrame(*Def);
    Def->LoadInto(Model);
    MSF->SetSkinData(Model);
    Pump();
    // The skinned caption height the cascade steps by, as a skin without a caption gives it.
    MSF->NewClRect.Top = 0;
    MSF->Cascade();
    const TRect area = MSF->GetMDIClientRect();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(BoundsOf(Main->MDIChildren(i)), Bounds(2 - i, 2 - i, area.Width() - 2, area.Height() - 2)) << i;
}

TEST_F(MdiSkinForm, TheClientAreaIsWhatTheAlignedControlsLeave)
{
    auto panel = [this](TAlign A, int Size) {
        auto* p = new TPanel(Main);
        p->SetParent(Main);
        (A == alLeft || A == alRight ? static_cast<void>(p->SetWidth(Size)) : p->SetHeight(Size));
        p->SetAlign(A);
        return p;
    };
    panel(alLeft, 50);
    panel(alTop, 30);
    panel(alRight, 40);
    TPanel* hidden = panel(alBottom, 20);
    hidden->SetVisible(false);
    Pump();
    EXPECT_EQ(MSF->GetMDIClientRect(), Rect(50, 30, W - 40, H));
    hidden->SetVisible(true);
    Pump();
    EXPECT_EQ(MSF->GetMDIClientRect(), Rect(50, 30, W - 40, H - 20));
    // Tiling one child fills that area, in the client window's coordinates.
    Child(L"Only");
    MSF->Tile();
    EXPECT_EQ(BoundsOf(Main->MDIChildren(0)), Bounds(0, 0, W - 90, H - 50));
}

// ---- scroll bars -------------------------------------------------------------------------------

TEST_F(MdiSkinForm, AChildPastTheLeftEdgeShowsTheHorizontalBarAtTheOvershoot)
{
    TForm* a = Child(L"ChildA");
    TForm* b = Child(L"ChildB", 100, 100);
    TbsSkinScrollBar* hb = MSF->MDIHScrollBar();
    TbsSkinScrollBar* vb = MSF->MDIVScrollBar();
    ASSERT_TRUE(hb && vb);
    EXPECT_FALSE(hb->Visible());

    a->SetLeft(-40);
    Pump();
    ASSERT_TRUE(hb->Visible());
    EXPECT_FALSE(vb->Visible());
    EXPECT_EQ(hb->Position(), 40);
    EXPECT_EQ(hb->Max(), W + 40 - 1);
    EXPECT_EQ(hb->PageSize(), W);
    EXPECT_EQ(Bounds(hb->Left(), hb->Top(), hb->Width(), hb->Height()), Bounds(0, H - 17, W, 17));

    // Scrolling by the bar moves every visible child; the range stays until a child moves.
    hb->SetPosition(10);
    ASSERT_TRUE(hb->OnLastChange);
    hb->OnLastChange(hb);
    EXPECT_EQ(a->Left(), -10);
    EXPECT_EQ(b->Left(), 130);
    EXPECT_EQ(hb->Max(), W + 40 - 1);
    EXPECT_EQ(hb->Position(), 10);
    b->SetTop(101);
    Pump();
    EXPECT_EQ(hb->Max(), W + 10 - 1);
    EXPECT_EQ(hb->Position(), 10);

    // An arrow steps by 10 pixels: back to the left edge, where no bar is needed.
    hb->OnDownButtonClick(hb);
    EXPECT_EQ(a->Left(), 0);
    EXPECT_EQ(b->Left(), 140);
    EXPECT_FALSE(hb->Visible());

    // A child being hidden is left out: the bar goes with it.
    a->SetLeft(-40);
    Pump();
    ASSERT_TRUE(hb->Visible());
    a->Hide();
    Pump();
    EXPECT_FALSE(hb->Visible());
}

TEST_F(MdiSkinForm, ChildrenPastBothEdgesShowBothBarsWithTheCorner)
{
    TForm* a = Child(L"ChildA");
    a->SetBounds(-40, -30, 200, 150);
    Pump();
    TbsSkinScrollBar* hb = MSF->MDIHScrollBar();
    TbsSkinScrollBar* vb = MSF->MDIVScrollBar();
    ASSERT_TRUE(hb->Visible());
    ASSERT_TRUE(vb->Visible());
    EXPECT_TRUE(hb->Both());
    EXPECT_EQ(Bounds(vb->Left(), vb->Top(), vb->Width(), vb->Height()), Bounds(W - 17, 0, 17, H - 17));
    EXPECT_EQ(vb->Position(), 30);
    EXPECT_EQ(vb->PageSize(), H - 17);
    EXPECT_EQ(hb->PageSize(), W - 17);
    // A maximized child hides them.
    S(a)->SetWindowState(wsMaximized);
    EXPECT_FALSE(hb->Visible());
    EXPECT_FALSE(vb->Visible());
}

// ---- the window menu ---------------------------------------------------------------------------

TEST_F(MdiSkinForm, TheWindowMenuListsEachChildOnceWithTheActiveOneChecked)
{
    auto* mm = new TMainMenu(Main);
    auto* window = new TMenuItem(mm);
    window->SetCaption(L"Window");
    mm->Items()->Add(window);
    Main->SetWindowMenu(window);
    TForm* a = Child(L"ChildA");
    TForm* b = Child(L"ChildB", 30, 30);
    auto entries = [&] {
        std::vector<std::pair<String, bool>> v;
        for (int i = 0; i < window->Count(); ++i)
            v.emplace_back(window->Items(i)->Name() + L"|" + window->Items(i)->Caption(), window->Items(i)->Checked());
        return v;
    };
    using E = std::vector<std::pair<String, bool>>;
    // No framework list ("-", "&1 ...") beside the entries.
    EXPECT_EQ(entries(), (E{{L"ChildA_BSFCHILDITEM|ChildA", false}, {L"ChildB_BSFCHILDITEM|ChildB", true}}));
    a->SetCaption(L"Renamed");
    a->Show();
    Pump();
    EXPECT_EQ(entries(), (E{{L"ChildA_BSFCHILDITEM|Renamed", true}, {L"ChildB_BSFCHILDITEM|ChildB", false}}));

    // A click restores a minimized child and activates it.
    S(b)->SetWindowState(wsMinimized);
    window->Items(1)->Click();
    Pump();
    EXPECT_EQ(S(b)->WindowState(), wsNormal);
    EXPECT_EQ(Main->ActiveMDIChild(), b);

    // A hidden child leaves the menu; without an active child no entry stays checked (here one
    // left behind by a child that is gone).
    auto* stale = new TMenuItem(mm);
    stale->SetName(L"Gone_BSFCHILDITEM");
    stale->SetChecked(true);
    window->Add(stale);
    b->Hide();
    a->Hide();
    Pump();
    ASSERT_EQ(Main->ActiveMDIChild(), nullptr);
    MSF->UpDateChildActiveInMenu();
    EXPECT_EQ(entries(), (E{{L"Gone_BSFCHILDITEM|", false}}));
}

// ---- the client window -------------------------------------------------------------------------

TEST_F(MdiSkinForm, TheClientWindowHasNoFrameAndPaintsTheWorkspace)
{
    HWND client = Main->ClientHandle();
    EXPECT_EQ(SendMessageW(client, WM_NCACTIVATE, 0, 0), 1);
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(SendMessageW(client, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r)), 0);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(ClientSize(), Rect(0, 0, W, H));
    RedrawWindow(Main->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(Main->Handle(), &w, &h);
    POINT p{W / 2, H / 2};
    ClientToScreen(client, &p);
    POINT o{0, 0};
    ClientToScreen(Main->Handle(), &o);
    RECT wr;
    GetWindowRect(Main->Handle(), &wr);
    const int x = p.x - wr.left, y = p.y - wr.top;
    ASSERT_TRUE(x >= 0 && y >= 0 && x < w && y < h);
    EXPECT_EQ(px[static_cast<size_t>(y * w + x)] & 0xFFFFFF, skintest::RgbOf(ColorToRGB(clAppWorkSpace)));
}

TEST_F(MdiSkinForm, TheSkinsMDIPictureIsTiledOverTheClientWindow)
{
    // An 8 x 8 picture: its top-left quarter in kExtra1, the rest in kExtra2.
    Def = std::make_unique<skintest::SyntheticSkin>();
    skintest::AddFrame(*Def);
    const int p = Def->AddPicture(8, 8, skintest::kExtra2);
    Def->Block(p, Rect(0, 0, 4, 4), skintest::kExtra1, false);
    Def->FormInfo += "mdibgpictureindex=" + std::to_string(Def->ActiveIndex(p)) + "\r\n";
    Def->LoadInto(Model);
    MSF->SetSkinData(Model);
    Pump();
    HWND client = Main->ClientHandle();
    RedrawWindow(Main->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(Main->Handle(), &w, &h);
    RECT wr;
    GetWindowRect(Main->Handle(), &wr);
    auto at = [&](int X, int Y) {
        POINT q{X, Y};
        ClientToScreen(client, &q);
        return px[static_cast<size_t>((q.y - wr.top) * w + q.x - wr.left)] & 0xFFFFFF;
    };
    struct Case {
        int X, Y;
        uint32_t Want;
    } cases[] = {{1, 1, skintest::kExtra1}, {5, 1, skintest::kExtra2},   {1, 5, skintest::kExtra2},
                 {9, 1, skintest::kExtra1}, {81, 41, skintest::kExtra1}, {86, 41, skintest::kExtra2}};
    for (const Case& c : cases) EXPECT_EQ(at(c.X, c.Y), c.Want) << c.X << "," << c.Y;
}

TEST_F(MdiSkinForm, TheClientProcedureGoesWithTheComponent)
{
    HWND client = Main->ClientHandle();
    const LONG_PTR skinned = GetWindowLongPtrW(client, GWL_WNDPROC);
    MSF->Free();
    MSF = nullptr;
    EXPECT_NE(GetWindowLongPtrW(client, GWL_WNDPROC), skinned);
    // The class procedure answers again: its frame is the client edge.
    RedrawWindow(client, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(SendMessageW(client, WM_NCACTIVATE, 0, 0), TRUE);
    Pump();
}

// ---- platform ----------------------------------------------------------------------------------

TEST_F(MdiSkinForm, ActivationSwitchesDrawTheChildFramesActiveAndInactive)
{
    TForm* a = Child(L"ChildA");
    TForm* b = Child(L"ChildB", 30, 30);
    EXPECT_TRUE(S(b)->GetFormActive());
    EXPECT_FALSE(S(a)->GetFormActive());
    a->Show();
    Pump();
    EXPECT_TRUE(S(a)->GetFormActive());
    EXPECT_FALSE(S(b)->GetFormActive());
}

TEST_F(MdiSkinForm, RecreatingTheMainFormsWindowKeepsTheChildrenAndTheClientProcedure)
{
    TForm* a = Child(L"ChildA");
    TForm* b = Child(L"ChildB", 30, 30);
    TForm* c = Child(L"ChildC", 50, 50);
    b->Show();
    Pump();
    const TCustomForm* order[] = {Main->MDIChildren(0), Main->MDIChildren(1), Main->MDIChildren(2)};
    const TRect bounds[] = {BoundsOf(a), BoundsOf(b), BoundsOf(c)};
    const HWND window = Main->Handle();
    Main->SetBorderStyle(bsSingle);  // a new window for the main form
    Pump();
    ASSERT_NE(Main->Handle(), window);
    EXPECT_EQ(Main->MDIChildCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Main->MDIChildren(i), order[i]) << i;
    EXPECT_EQ(BoundsOf(a), bounds[0]);
    EXPECT_EQ(BoundsOf(b), bounds[1]);
    EXPECT_EQ(BoundsOf(c), bounds[2]);
    EXPECT_EQ(Main->ActiveMDIChild(), b);
    // The skinned client procedure still answers in the kept client window, and the protocol
    // still reaches the main form's new window.
    EXPECT_EQ(SendMessageW(Main->ClientHandle(), WM_NCACTIVATE, 0, 0), 1);
    S(a)->SetWindowState(wsMaximized);
    EXPECT_TRUE(MSF->MDIChildMaximized());
    EXPECT_EQ(S(c)->WindowState(), wsMaximized);
}

TEST_F(MdiSkinForm, ARecreatedChildShowsAgainWithOneWindowMenuEntry)
{
    auto* mm = new TMainMenu(Main);
    auto* window = new TMenuItem(mm);
    mm->Items()->Add(window);
    Main->SetWindowMenu(window);
    TForm* a = Child(L"ChildA");
    Child(L"ChildB", 30, 30);
    const TRect bounds = BoundsOf(a);
    const HWND before = a->Handle();
    a->SetBorderStyle(bsSingle);  // a new window for the child
    Pump();
    ASSERT_NE(a->Handle(), before);
    EXPECT_TRUE(IsWindowVisible(a->Handle()));
    EXPECT_EQ(BoundsOf(a), bounds);
    EXPECT_EQ(Main->MDIChildCount(), 2);
    int entries = 0;
    for (int i = 0; i < window->Count(); ++i) entries += window->Items(i)->Name() == L"ChildA_BSFCHILDITEM";
    EXPECT_EQ(entries, 1);
}

TEST_F(MdiSkinForm, AChildDraggedByItsCaptionMovesInsideTheClientAreaAndTheMainFormStays)
{
    TForm* a = Child(L"ChildA", 100, 100);
    const int mainLeft = Main->Left(), mainTop = Main->Top();
    POINT grab{60, 10};  // on the child's built-in caption
    ClientToScreen(Main->ClientHandle(), &grab);
    grab.x += 100;
    grab.y += 100;
    ASSERT_EQ(SendMessageW(a->Handle(), WM_NCHITTEST, 0, MAKELPARAM(grab.x, grab.y)), HTCAPTION);
    Drag(grab.x, grab.y, grab.x + 40, grab.y + 25);
    Pump();
    EXPECT_EQ(Bounds(a->Left(), a->Top(), a->Width(), a->Height()), Bounds(140, 125, 200, 150));
    EXPECT_EQ(Main->Left(), mainLeft);
    EXPECT_EQ(Main->Top(), mainTop);
    // The pointer counts only inside the client area: dragged far past its left edge, the
    // caption's grab point stops at the edge.
    POINT again{60, 10};
    ClientToScreen(Main->ClientHandle(), &again);
    again.x += 140;
    again.y += 125;
    Drag(again.x, again.y, again.x - 1000, again.y);
    Pump();
    EXPECT_EQ(a->Left(), -60);
    EXPECT_EQ(Main->Left(), mainLeft);
}

// A menu bar that counts the times it builds its items again.
class TCountingMenuBar : public TComponent, public TbsFormMenuBarLink {
public:
    using TComponent::TComponent;
    void EnterMenuMode() override {}
    void LeaveMenuMode() override {}
    bool ShowsChildMenu() const override { return ChildMenu; }
    void UpDateItems() override { ++Updates; }
    bool ChildMenu = true;
    int Updates = 0;
};

TEST_F(MdiSkinForm, ActivatingTheMdiFormRefreshesAMenuBarThatShowsAChildsMenu)
{
    auto* bar = new TCountingMenuBar(Main);
    MSF->SetMainMenuBar(bar);
    for (bool childMenu : {true, false}) {
        bar->ChildMenu = childMenu;
        bar->Updates = 0;
        SendMessageW(Main->Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
        EXPECT_EQ(bar->Updates, childMenu ? 1 : 0) << childMenu;
    }
    MSF->SetMainMenuBar(nullptr);
}

// An MDI form whose skin form does not skin it still takes over its client window when shown.
using MdiSkinFormUnskinned = ApplicationFixture;

TEST_F(MdiSkinFormUnskinned, ShowingSubclassesTheClientWindow)
{
    auto* main = new TForm(Application);
    main->SetFormStyle(fsMDIForm);
    main->SetBounds(0, 0, 500, 400);
    main->AfterConstruction();
    auto* sf = new TbsSkinForm(main);
    sf->SetSkinnableForm(false);
    main->Show();
    MdiFixture::Pump();
    ASSERT_TRUE(main->ClientHandle());
    EXPECT_EQ(GetPropW(main->ClientHandle(), L"VxSkinFormMDIClient"), sf);
}

}  // namespace
