// The menu engine and the popup menu component: the order of the close and command messages
// for every way a menu ends, submenus on hover and click, the keys, the placement rules and the
// scroll bands, and how the popup menu finds its skinned form and skin.
#include "tests/skin/form/menu_test_support.h"

#include <functional>

namespace {

using menutest::GraphicOpener;
using menutest::Log;
using menutest::WindowedOpener;

using SkinMenuEngine = MenuFixture;

struct OrderCase {
    const char* Name;
    std::function<void(MenuFixture&)> Act;
    Log Expected;
};

TEST_F(SkinMenuEngine, NotificationOrderForEveryEnding)
{
    const Log leaf = {"opener 1228", "close", "form 1228", "click A", "opener 1229"};
    const std::vector<OrderCase> cases = {
        {"leaf by release", [](MenuFixture& F) { F.ClickEntry(0, 0); }, leaf},
        {"Return on the preselected entry", [](MenuFixture& F) { F.Key(VK_RETURN); }, leaf},
        {"accelerator",
         [](MenuFixture& F) { F.Key('B'); },
         {"opener 1228", "close", "form 1228", "click B", "opener 1229"}},
        {"Escape on one level", [](MenuFixture& F) { F.Key(VK_ESCAPE); }, {"opener 1228", "close"}},
        {"Escape and Left on a deeper level",
         [](MenuFixture& F) {
             F.Key(VK_DOWN);
             F.Key(VK_DOWN);
             F.Key(VK_RIGHT);
             ASSERT_EQ(F.Levels(), 2);
             F.Key(VK_ESCAPE);
             EXPECT_EQ(F.Levels(), 1);
             F.Key(VK_RIGHT);
             F.Key(VK_LEFT);
             EXPECT_EQ(F.Levels(), 1);
             EXPECT_FALSE(F.Level(0)->Item(2)->Down);
         },
         {"click Sub", "click Sub"}},
    };
    for (bool windowed : {true, false}) {
        for (const OrderCase& c : cases) {
            SCOPED_TRACE(std::string(c.Name) + (windowed ? " (windowed opener)" : " (windowless opener)"));
            Events.clear();
            TControl* opener = windowed ? static_cast<TControl*>(new WindowedOpener(Form, &Events, "opener"))
                                        : new GraphicOpener(Form, &Events, "opener");
            opener->SetParent(Form);
            TbsSkinPopupMenu* m = Menu({L"&A", L"&B", L"Sub"});
            Add(m->Items()->Items(2), L"S1");
            m->PopupFromRect2(opener, Rect(150, 150, 150, 150), false);
            Pump();
            ASSERT_EQ(Levels(), 1);
            c.Act(*this);
            Pump();
            EXPECT_EQ(Events, c.Expected);
            if (Engine->Visible()) {
                Events.clear();
                Key(VK_ESCAPE);
            }
            EXPECT_FALSE(Engine->Visible());
            EXPECT_FALSE(SF->InMenu) << "the form's bookkeeping ends with the menu";
            opener->Free();
            m->Free();
        }
    }
}

TEST_F(SkinMenuEngine, NewPopupClosesTheOpenMenuForItsOwnOpener)
{
    auto* first = new WindowedOpener(Form, &Events, "first");
    auto* second = new WindowedOpener(Form, &Events, "second");
    first->SetParent(Form);
    second->SetParent(Form);
    TbsSkinPopupMenu* m1 = Menu({L"A"});
    TbsSkinPopupMenu* m2 = Menu({L"B"});
    m2->OnMenuClose = [this](TObject*) { Events.push_back("close 2"); };
    m1->PopupFromRect2(first, Rect(100, 100, 100, 100), false);
    m2->PopupFromRect2(second, Rect(100, 100, 100, 100), false);
    Pump();
    EXPECT_EQ(Events, (Log{"first 1228", "close"})) << "the old opener is released, the new one keeps its menu";
    EXPECT_EQ(Levels(), 1);
    EXPECT_EQ(Level(0)->Item(0)->MenuItem->Caption(), L"B");
    Events.clear();
    ClickEntry(0, 0);
    EXPECT_EQ(Events, (Log{"second 1228", "close 2", "form 1228", "click B", "second 1229"}));
}

TEST_F(SkinMenuEngine, SubmenusOpenOnHoverAndClick)
{
    TbsSkinPopupMenu* m = Menu({L"Sub", L"Leaf", L"Sub2"});
    Add(m->Items()->Items(0), L"S1");
    Add(m->Items()->Items(0), L"S2");
    // Sub2 fills itself anew when clicked.
    Add(m->Items()->Items(2), L"Old");
    m->Items()->Items(2)->OnClick = [this, m](TObject*) {
        Events.push_back("click Sub2");
        m->Items()->Items(2)->Clear();
        Add(m->Items()->Items(2), L"Made");
    };
    vxwin::InjectMouseMove(5, 5);
    m->Popup(120, 100);
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(Level(0)->ActiveItem, 0) << "the first selectable entry is preselected";
    Wait(700);
    EXPECT_EQ(Levels(), 1) << "the preselected entry opens nothing by itself";

    HoverEntry(0, 0);
    Wait(400);
    EXPECT_EQ(Levels(), 1);
    Wait(150);
    ASSERT_EQ(Levels(), 2) << "500 ms on the entry open its submenu";
    const TRect l0 = LevelBounds(0), l1 = LevelBounds(1);
    TRect entry = Level(0)->Item(0)->ObjectRect;
    EXPECT_EQ(l1.Left, l0.Left + entry.Right + 1) << "beside the entry";
    EXPECT_EQ(l1.Top, l0.Top + entry.Top - Level(1)->NewItemsRect.Top) << "first entries in line";
    EXPECT_TRUE(Level(0)->Item(0)->Down);

    HoverEntry(0, 1);
    EXPECT_EQ(Levels(), 1) << "a leaf closes the deeper level";
    HoverEntry(0, 0);
    Wait(200);
    HoverEntry(0, 1);
    Wait(400);
    EXPECT_EQ(Levels(), 1) << "leaving before 500 ms cancels the delay";

    Events.clear();
    ClickEntry(0, 2);
    EXPECT_EQ(Events, (Log{"click Sub2"}));
    ASSERT_EQ(Levels(), 2) << "a click opens at once, after the entry's OnClick";
    EXPECT_EQ(Level(1)->Item(0)->MenuItem->Caption(), L"Made");
    Events.clear();
    ClickEntry(1, 0);
    EXPECT_EQ(Events, (Log{"close", "form 1228", "click Made"}));
    EXPECT_EQ(Levels(), 0);
}

TEST_F(SkinMenuEngine, KeysWrapAndScroll)
{
    SF->SetMaxMenuItemsInWindow(5);
    TbsSkinPopupMenu* m = Menu({L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8"});
    m->Popup(100, 100);
    Pump();
    TbsSkinPopupWindow* w = Level(0);
    EXPECT_TRUE(w->Scroll);
    EXPECT_EQ(w->Height(), 5 * 20 + 20 + 4);
    EXPECT_EQ(w->VisibleCount, 5);
    for (int i = 0; i < 7; ++i) Key(VK_DOWN);
    EXPECT_EQ(w->ActiveItem, 7);
    EXPECT_EQ(w->VisibleStartIndex, 3);
    Key(VK_DOWN);
    EXPECT_EQ(w->ActiveItem, 0) << "Down on the last wraps";
    EXPECT_EQ(w->VisibleStartIndex, 0) << "and the view goes back to the top";
    Key(VK_UP);
    EXPECT_EQ(w->ActiveItem, 7) << "Up on the first wraps";
    EXPECT_EQ(w->VisibleStartIndex, 3) << "to the last page";
    Key(VK_LEFT);
    EXPECT_EQ(Levels(), 1) << "Left on the only level does nothing";
    Key(VK_ESCAPE);
    EXPECT_EQ(Levels(), 0);

    // A level of two lists has 6 pixels of built-in border.
    auto* other = new TPopupMenu(Form);
    for (int i = 0; i < 4; ++i) Add(other->Items(), L"x");
    Engine->Popup2(nullptr, nullptr, 0, Rect(100, 100, 100, 100), m->Items(), other->Items(), false);
    EXPECT_EQ(Level(0)->Height(), 5 * 20 + 20 + 6);
    EXPECT_EQ(Level(0)->ItemCount(), 12);
    Engine->Hide();
}

struct PlaceCase {
    const char* Name;
    TRect R;
    bool Up;
    int X, Y;  // expected top-left; the level is W x H
};

TEST_F(SkinMenuEngine, PlacementFollowsTheWorkArea)
{
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 800, 600}, RECT{0, 0, 800, 600}));
    TbsSkinPopupMenu* m = Menu({L"1", L"2", L"3", L"4", L"5"});
    m->Popup(0, 0);
    const int W = Level(0)->Width(), H = Level(0)->Height();
    Engine->Hide();
    EXPECT_EQ(H, 5 * 20 + 4);
    const PlaceCase cases[] = {
        {"below", Rect(100, 100, 160, 120), false, 100, 120},
        {"above when no room below", Rect(100, 560, 160, 580), false, 100, 560 - H},
        {"PopupUp with room above", Rect(100, 300, 160, 320), true, 100, 300 - H},
        {"PopupUp without room above, upper half: below", Rect(100, 40, 160, 60), true, 100, 60},
        {"pushed in from the right edge", Rect(780, 100, 790, 110), false, 800 - W, 110},
    };
    for (const PlaceCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Engine->Popup(nullptr, nullptr, 0, c.R, m->Items(), c.Up);
        EXPECT_EQ(LevelBounds(0), Rect(c.X, c.Y, c.X + W, c.Y + H));
        Engine->Hide();
    }
    // A level taller than both halves overlaps R and goes beside it.
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 800, 150}, RECT{0, 0, 800, 150}));
    Engine->Popup(nullptr, nullptr, 0, Rect(100, 50, 160, 70), m->Items(), false);
    EXPECT_EQ(LevelBounds(0), Rect(161, 150 - H, 161 + W, 150)) << "at the bottom, beside R";
    Engine->Hide();

    // 40 entries on a short work area: as tall as it, at its top, beside R; the bands scroll one
    // entry per 100 ms.
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 800, 600}, RECT{0, 20, 800, 320}));
    auto* big = new TPopupMenu(Form);
    for (int i = 0; i < 40; ++i) Add(big->Items(), L"Entry");
    Engine->Popup(nullptr, nullptr, 0, Rect(100, 100, 160, 120), big->Items(), false);
    TbsSkinPopupWindow* w = Level(0);
    EXPECT_EQ(LevelBounds(0), Rect(161, 20, 161 + w->Width(), 320));
    EXPECT_TRUE(w->Scroll);
    EXPECT_FALSE(w->Scroll2);
    vxwin::InjectMouseMove(161 + w->Width() / 2, 320 - 6);
    Pump();
    Wait(60);
    EXPECT_EQ(w->ScrollCode, 2);
    const int start = w->VisibleStartIndex;
    Wait(100);
    EXPECT_EQ(w->VisibleStartIndex, start + 1);
    Wait(100);
    EXPECT_EQ(w->VisibleStartIndex, start + 2);
    vxwin::InjectMouseMove(161 + w->Width() / 2, 170);
    Pump();
    Wait(60);
    EXPECT_EQ(w->ScrollCode, 0) << "leaving the band stops";
    Wait(200);
    EXPECT_EQ(w->VisibleStartIndex, start + 2);
    Engine->Hide();
    vxwin::SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 984});
}

TEST_F(SkinMenuEngine, PopupComponentFindsItsFormAndKeepsItsSkin)
{
    // Owned by a frame on the form: found through the owner's owner.
    auto* frame = new TCustomControl(Form);
    auto* m = new TbsSkinPopupMenu(frame);
    Add(m->Items(), L"A");
    m->Popup(50, 60);
    EXPECT_EQ(Levels(), 1);
    EXPECT_EQ(m->PopupPoint(), Point(50, 60));
    Engine->Hide();

    Skin();
    auto* m2 = new TbsSkinPopupMenu(Form);
    Add(m2->Items(), L"A");
    m2->Popup(50, 60);
    EXPECT_EQ(m2->SkinData(), Model) << "the form's skin, taken on the first popup";
    Engine->Hide();
    auto* other = new TbsSkinData(Form);
    SF->SetSkinData(other);
    m2->Popup(50, 60);
    EXPECT_EQ(m2->SkinData(), Model) << "and kept";
    Engine->Hide();

    // Nothing without a skinned form; Popup2 also needs skin data.
    auto* lone = new TbsSkinPopupMenu(Application);
    Add(lone->Items(), L"A");
    lone->Popup(10, 10);
    EXPECT_EQ(Levels(), 0);
    auto* bare = new TbsSkinPopupMenu(Form);
    Add(bare->Items(), L"A");
    SF->SetSkinData(nullptr);
    bare->Popup2(nullptr, 10, 10);
    EXPECT_EQ(Levels(), 0);
    EXPECT_EQ(lone->PopupPoint(), Point(-1, -1));

    // No level for a start index at the end.
    Engine->Popup(nullptr, nullptr, 1, Rect(0, 0, 0, 0), m->Items(), false);
    EXPECT_EQ(Levels(), 0);
    EXPECT_FALSE(Engine->Visible());
}

TEST_F(SkinMenuEngine, PressOutsideTheProgramDeactivatesTheForm)
{
    auto* opener = new WindowedOpener(Form, &Events, "opener");
    opener->SetParent(Form);
    TbsSkinPopupMenu* m = Menu({L"A", L"B"});
    m->PopupFromRect2(opener, Rect(150, 150, 150, 150), false);
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
    Click(1200, 900);  // no window of the program there
    Pump();
    EXPECT_EQ(Levels(), 0);
    EXPECT_EQ(Events, (Log{"opener 1228", "close", "form 1228"}));
    EXPECT_NE(GetActiveWindow(), Form->Handle());
    // Without an open level such a press does nothing.
    Form->SetFocus();
    SetActiveWindow(Form->Handle());
    Click(1200, 900);
    Pump();
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
}

TEST_F(SkinMenuEngine, TrackSkinMenuWaitsForTheChoice)
{
    TMenuItem root(nullptr);
    for (const wchar_t* c : {L"Open", L"Rename", L"Delete"}) Add(&root, c);
    struct Case {
        std::vector<int> Keys;
        int Chosen;  // -1: none
    };
    for (const Case& c : std::vector<Case>{{{VK_DOWN, VK_RETURN}, 1}, {{VK_ESCAPE}, -1}, {{VK_UP, VK_RETURN}, 2}}) {
        Events.clear();
        // Queued before the call: the keys reach the menu inside its wait.
        for (int vk : c.Keys) {
            vxwin::InjectKey(vk, true);
            vxwin::InjectKey(vk, false);
        }
        TMenuItem* chosen = TrackSkinMenu(SF, &root, Point(120, 130));
        EXPECT_EQ(chosen, c.Chosen < 0 ? nullptr : root.Items(c.Chosen));
        EXPECT_FALSE(Engine->Visible());
        Pump();
        for (const std::string& e : Events) EXPECT_NE(e.rfind("click", 0), 0u) << "the item's own OnClick ran";
    }
    // The items' own events are back.
    root.Items(1)->Click();
    EXPECT_EQ(Events.back(), "click Rename");
    // Without a skinned form: nothing.
    EXPECT_EQ(TrackSkinMenu(nullptr, &root, Point(0, 0)), nullptr);
}

// A command that runs a message loop of its own (a modal dialog) while the closed menu window
// still handles the click: the window outlives the command and is freed after it.
TEST_F(SkinMenuEngine, ACommandRunningAModalLoopOutlivesItsMenuWindow)
{
    for (bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Return" : "release");
        Events.clear();
        TbsSkinPopupMenu* m = Menu({L"Open"});
        m->Items()->Items(0)->OnClick = [this](TObject*) {
            Pump();  // the dialog's loop: every posted message is handled here
            Events.push_back("dialog closed");
        };
        m->PopupFromRect2(Form, Rect(150, 150, 150, 150), false);
        Pump();
        ASSERT_EQ(Levels(), 1);
        if (byKey)
            Key(VK_RETURN);
        else
            ClickEntry(0, 0);
        Pump();
        // The form opened the menu: it hears the close as the opener and as the form.
        EXPECT_EQ(Events, (Log{"form 1228", "close", "form 1228", "dialog closed"}));
        EXPECT_FALSE(Engine->Visible());
        m->Free();
    }
}

TEST(SkinMenuMessages, ClosingMessages)
{
    for (UINT m : {3u, 5u, 6u, 8u, 31u, 33u, 161u, 164u, 167u, 513u, 516u, 519u, 528u})
        EXPECT_TRUE(IsMenuClosingMessage(m)) << m;
    for (UINT m : {0u, 2u, 15u, 20u, 256u, 512u, 514u, 1228u}) EXPECT_FALSE(IsMenuClosingMessage(m)) << m;
}

}  // namespace
