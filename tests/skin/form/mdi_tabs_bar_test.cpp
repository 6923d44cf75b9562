// The MDI tabs bar on an MDI main form, headless: its tabs follow the skinned children; the
// layout (tab width, hidden tabs, the add button's place), dragging a tab into another order,
// the close buttons, hover events around a deleted tab, the built-in colours, and the skinned
// looks on a synthetic "tab" record with "resizebutton" and "resizetoolbutton" records.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/win/headless_api.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/form/mdi_tabs_bar.h"
#include "skin/form/skin_popup_menu.h"
#include "tests/skin/form/mdi_test_support.h"

namespace {

using namespace skintest;

// The synthetic tab skin: tabs 20 wide in kNormal (20 high), kDown (active, 24 high) and kHot
// (hovered, 20 high); the background piece in kExtra2; the band under the tabs (4 rows, the
// record's client top) in kExtra1; a 10 x 10 close button in kExtra3 given only as the normal
// rectangle (or none). The button records share a second picture: normal, hot and pressed looks.
constexpr TRect kCloseRect{70, 0, 80, 10};
constexpr uint32_t kIconColor = 0x123456;

void AddTabSkin(SyntheticSkin& S, bool Transparent = false, bool CloseRect = true)
{
    const int p = S.AddPicture(120, 60);
    S.Block(p, Rect(0, 0, 20, 20), kNormal, false);
    S.Block(p, Rect(20, 0, 40, 24), kDown, false);
    S.Block(p, Rect(40, 0, 60, 20), kHot, false);
    S.Block(p, Rect(60, 0, 70, 20), kExtra2, false);
    S.Block(p, kCloseRect, kExtra3, false);
    S.Block(p, Rect(0, 30, 40, 40), kExtra1, false);
    S.Control("tab", "tab",
              "pictureindex=0\nskinrect=0,30,40,40\nclientrect=3,4,37,8\nlefttoppoint=3,4\nrighttoppoint=37,4\n"
              "tabrect=0,0,20,20\nactivetabrect=20,0,40,24\nmouseintabrect=40,0,60,20\ntabsbgrect=60,0,70,20\n"
              "tableftoffset=2\ntabrightoffset=2\n" +
                  (CloseRect ? "closebuttonrect=" + IniRect(kCloseRect) + "\n" : std::string()));
    const int b = S.AddPicture(60, 20);
    S.Block(b, Rect(0, 0, 20, 20), kNormal, false);
    S.Block(b, Rect(20, 0, 40, 20), kHot, false);
    S.Block(b, Rect(40, 0, 60, 20), kDown, false);
    const std::string button = "pictureindex=" + std::to_string(S.ActiveIndex(b)) +
                               "\nskinrect=0,0,20,20\nactiveskinrect=20,0,40,20\ndownskinrect=40,0,60,20\n"
                               "clientrect=2,2,18,18\nlefttoppoint=2,2\nrighttoppoint=18,2\nleftbottompoint=2,18\n"
                               "rightbottompoint=18,18\n";
    S.Control("resizebutton", "button", button);
    S.Control("resizetoolbutton", "button", button);
    if (Transparent) S.FormInfo = "mditabstransparent=1\r\n";
}

// A 16 x 16 icon of one colour.
HICON SolidIcon(uint32_t Rgb0)
{
    TBitmap color;
    color.SetPixelFormat(pf24bit);
    color.SetSize(16, 16);
    color.Canvas()->Brush()->SetColor(static_cast<TColor>(RGB((Rgb0 >> 16) & 0xFF, (Rgb0 >> 8) & 0xFF, Rgb0 & 0xFF)));
    color.Canvas()->FillRect(Rect(0, 0, 16, 16));
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);  // all black: every pixel opaque
    ICONINFO ii{};
    ii.fIcon = TRUE;
    ii.hbmColor = color.Handle();
    ii.hbmMask = mask;
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    return icon;
}

struct MdiTabsBar : MdiFixture {
    TbsSkinMDITabsBar* Bar = nullptr;
    int Made = 0;

    void SetUp() override
    {
        MdiFixture::SetUp();
        Bar = new TbsSkinMDITabsBar(Main);
        Bar->SetParent(Main);
        Bar->SetBounds(0, 0, 400, 21);
        Bar->SetSkinForm(MSF);
        MSF->SetMDITabsBar(Bar);
    }
    void Children(int N)
    {
        for (int i = 0; i < N; ++i, ++Made) Child(L"C" + std::to_wstring(Made), 10 * i, 40 + 10 * i);
        Paint();
    }
    void Paint()
    {
        Bar->Repaint();
        Pump();
    }
    LRESULT Mouse(UINT Msg, int X, int Y, WPARAM Keys = 0)
    {
        return SendMessageW(Bar->Handle(), Msg, Keys, MAKELPARAM(X, Y));
    }
    // Gives the bar the synthetic tab skin.
    void Skin(bool Transparent = false, bool CloseRect = true)
    {
        Def = std::make_unique<SyntheticSkin>();
        AddTabSkin(*Def, Transparent, CloseRect);
        Def->LoadInto(Model);
        Bar->SetSkinData(Model);
        Pump();
    }
    // The pointer really over (X, Y) of the bar, so the bar keeps that tab hovered.
    void Hover(int X, int Y)
    {
        POINT p{X, Y};
        ClientToScreen(Bar->Handle(), &p);
        vxwin::InjectMouseMove(p.x, p.y);
        Pump();
    }
    // The bar's pixels as they are now (0xRRGGBB).
    std::function<uint32_t(int, int)> Pixels()
    {
        int w = 0, h = 0;
        auto px = std::make_shared<std::vector<uint32_t>>(vxwin::WindowPixels(Bar->Handle(), &w, &h));
        return [px, w](int X, int Y) { return (*px)[static_cast<size_t>(Y * w + X)] & 0xFFFFFF; };
    }
    std::vector<String> Order() const
    {
        std::vector<String> v;
        for (int i = 0; i < Bar->TabCount(); ++i) v.push_back(Bar->Tab(i)->Child->Name());
        return v;
    }
};

TEST_F(MdiTabsBar, TabsShareTheWidthUpToTheDefaultAndHideBelowTheMinimum)
{
    Children(3);
    ASSERT_EQ(Bar->TabCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Bar->Tab(i)->ObjectRect, Rect(15 + 100 * i, 0, 115 + 100 * i, 21)) << i;
    EXPECT_EQ(Bar->AddButtonRect().Left, 317);
    ASSERT_TRUE(Bar->ListButton());

    Children(5);
    ASSERT_EQ(Bar->TabCount(), 8);
    EXPECT_EQ(Bar->Tab(0)->ObjectRect, Rect(15, 0, 63, 21));
    EXPECT_EQ(Bar->Tab(7)->ObjectRect.Right, 400);
    EXPECT_FALSE(Bar->HideListButton());

    Bar->SetMinTabWidth(80);
    Paint();
    EXPECT_EQ(Bar->InVisibleCount(), 4);
    EXPECT_EQ(Bar->Tab(3)->ObjectRect, Rect(255, 0, 335, 21));
    EXPECT_FALSE(Bar->Tab(4)->Visible);
    ASSERT_TRUE(Bar->HideListButton());
    Bar->FillHideListMenu();
    ASSERT_EQ(Bar->HideListMenu()->Items()->Count(), 4);
    EXPECT_EQ(Bar->HideListMenu()->Items()->Items(0)->Name(), Bar->Tab(4)->Child->Name() + L"_BSFCHILDITEMBARHIDE");
    Bar->FillListMenu();
    EXPECT_EQ(Bar->ListMenu()->Items()->Count(), 8);

    // A click on a hidden child's item shows it.
    Bar->HideListMenu()->Items()->Items(1)->Click();
    EXPECT_EQ(Main->ActiveMDIChild(), Bar->Tab(5)->Child);

    Bar->SetMinTabWidth(0);
    Paint();
    EXPECT_FALSE(Bar->HideListButton());
}

TEST_F(MdiTabsBar, DraggingTheFirstTabPastACentreDropsItThere)
{
    Children(3);
    const String a = Order()[0], b = Order()[1], c = Order()[2];
    // Each drag takes the tab that is first at the time; the centres are at 65, 165 and 265.
    struct Case {
        int By;
        std::vector<String> Want;
    } cases[] = {
        {30, {a, b, c}},   // right edge 145: short of the second tab's centre
        {70, {b, a, c}},   // 185: past the second's
        {160, {a, c, b}},  // 275: past the third's
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.By);
        Mouse(WM_LBUTTONDOWN, 50, 10, MK_LBUTTON);
        Mouse(WM_MOUSEMOVE, 50 + k.By, 10, MK_LBUTTON);
        EXPECT_TRUE(Bar->IsDrag);
        Paint();
        Mouse(WM_LBUTTONUP, 50 + k.By, 10);
        EXPECT_FALSE(Bar->IsDrag);
        EXPECT_EQ(Bar->DragIndex, -1);
        EXPECT_EQ(Order(), k.Want);
    }
}

TEST_F(MdiTabsBar, DeletingTheDraggedTabEndsTheDrag)
{
    Children(3);
    TCustomForm* last = Bar->Tab(2)->Child;
    Mouse(WM_LBUTTONDOWN, 250, 10, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 200, 10, MK_LBUTTON);
    ASSERT_EQ(Bar->DragIndex, 2);
    last->Free();
    Pump();
    EXPECT_EQ(Bar->TabCount(), 2);
    EXPECT_EQ(Bar->DragIndex, -1);
    EXPECT_FALSE(Bar->IsDrag);
    // The rest of the gesture reorders nothing and reads no stale tab.
    const auto before = Order();
    Mouse(WM_MOUSEMOVE, 20, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 20, 10);
    Paint();
    EXPECT_EQ(Order(), before);
}

TEST_F(MdiTabsBar, AReleaseOnACloseButtonClosesThatChild)
{
    Bar->SetShowCloseButtons(true);
    Children(3);
    TForm* second = static_cast<TForm*>(Bar->Tab(1)->Child);
    int closed = 0;
    second->OnClose = [&](TObject*, TCloseAction& Action) {
        ++closed;
        Action = caHide;
    };
    // The close box of the second tab: 14 pixels at 100 - 19 of the tab, centred in its height.
    EXPECT_EQ(Bar->Tab(1)->ButtonRect, Bounds(81, 3, 14, 14));
    // Pressed beyond the tabs, released on the box.
    Mouse(WM_LBUTTONDOWN, 390, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 115 + 81 + 5, 10);
    Pump();
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(second->Visible());
    EXPECT_EQ(Bar->TabCount(), 2);
    // A press on a close box starts no drag; a release off it closes nothing.
    Mouse(WM_LBUTTONDOWN, 15 + 81 + 5, 10, MK_LBUTTON);
    EXPECT_EQ(Bar->DragIndex, -1);
    EXPECT_TRUE(Bar->Tab(0)->ButtonMouseDown);
    Mouse(WM_MOUSEMOVE, 60, 10, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 60, 10);
    Pump();
    EXPECT_EQ(Bar->TabCount(), 2);
    EXPECT_FALSE(Bar->Tab(0)->ButtonMouseDown);
}

TEST_F(MdiTabsBar, DeletingTheHoveredTabFiresItsMouseLeaveFirst)
{
    Children(3);
    std::vector<String> log;
    Bar->OnTabMouseEnter = [&](TbsMDITab* T) { log.push_back(L"+" + T->Child->Name()); };
    Bar->OnTabMouseLeave = [&](TbsMDITab* T) {
        log.push_back(L"-" + T->Child->Name() + L"/" + std::to_wstring(Bar->TabCount()));
    };
    const String hovered = Bar->Tab(1)->Child->Name();
    Mouse(WM_MOUSEMOVE, 150, 10);
    Bar->Tab(1)->Child->Hide();
    Pump();
    EXPECT_EQ(log, (std::vector<String>{L"+" + hovered, L"-" + hovered + L"/3"}));
    EXPECT_EQ(Bar->ActiveTabIndex, -1);
    EXPECT_EQ(Bar->TabCount(), 2);
}

TEST_F(MdiTabsBar, BuiltInLookColoursTheActiveAndTheHoveredTab)
{
    Children(3);
    Bar->Tab(0)->Child->Show();
    Pump();
    // The pointer really over the second tab, so the bar keeps it hovered.
    POINT p{150, 10};
    ClientToScreen(Bar->Handle(), &p);
    vxwin::InjectMouseMove(p.x, p.y);
    Pump();
    Paint();
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(Bar->Handle(), &w, &h);
    auto at = [&](int X, int Y) { return px[static_cast<size_t>(Y * w + X)] & 0xFFFFFF; };
    EXPECT_TRUE(Bar->Tab(0)->Active);
    EXPECT_EQ(at(17, 1), skintest::RgbOf(TColor(14990498)));
    EXPECT_EQ(at(117, 1), skintest::RgbOf(TColor(15979713)));
    EXPECT_EQ(at(217, 1), skintest::RgbOf(ColorToRGB(clBtnFace)));
}

TEST_F(MdiTabsBar, SkinnedTabsTakeTheirStateLooksOverTheBackgroundAndTheBand)
{
    Skin();
    EXPECT_EQ(Bar->Height(), 24);  // the tab's height and the band under it
    Bar->SetShowAddButton(true);
    Children(3);
    Bar->Tab(0)->Child->Show();
    Pump();
    Hover(150, 5);
    Paint();
    auto at = Pixels();
    EXPECT_EQ(at(17, 1), kDown);  // active
    EXPECT_EQ(at(117, 1), kHot);  // hovered
    EXPECT_EQ(at(217, 1), kNormal);
    EXPECT_EQ(at(117, 22), kExtra1);  // the band under a tab that is not active
    EXPECT_EQ(at(17, 22), kDown);     // the active tab reaches into it
    EXPECT_EQ(at(360, 5), kExtra2);   // the background after the tabs
    const TRect add = Bar->AddButtonRect();
    EXPECT_EQ(at(add.Left, add.Top), kNormal);  // the add button on the tool-button record

    // With the skin's transparent tabs bar what lies under it shows through instead: here the
    // MDI client window, which covers the form's client area.
    Skin(true);
    Paint();
    EXPECT_EQ(Pixels()(360, 5), RgbOf(ColorToRGB(clAppWorkSpace)));
}

TEST_F(MdiTabsBar, ButtonTabsTakeTheResizeButtonRecord)
{
    Skin();
    Bar->SetTabKind(bstkButton);
    Children(3);
    Bar->Tab(0)->Child->Show();
    Pump();
    Hover(150, 5);
    Paint();
    auto at = Pixels();
    EXPECT_EQ(at(16, 1), kDown);
    EXPECT_EQ(at(116, 1), kHot);
    EXPECT_EQ(at(216, 1), kNormal);
}

TEST_F(MdiTabsBar, StretchedTabsFillTheBarAndTheActiveOneReachesIntoTheBand)
{
    Skin();
    Bar->SetUseSkinSize(false);
    Bar->SetDefaultHeight(30);
    Bar->ChangeSkinData();
    ASSERT_EQ(Bar->Height(), 30);
    Children(2);
    Bar->Tab(0)->Child->Show();
    Pump();
    Paint();
    EXPECT_EQ(Bar->Tab(1)->ObjectRect.Height(), 26);
    auto at = Pixels();
    EXPECT_EQ(at(117, 25), kNormal);  // the 20-row look stretched to 26
    EXPECT_EQ(at(117, 28), kExtra1);
    EXPECT_EQ(at(17, 28), kDown);  // 4 rows more when active
}

TEST_F(MdiTabsBar, ACloseButtonRectAloneServesAllThreeStates)
{
    Skin();
    Bar->SetShowCloseButtons(true);
    Children(2);
    TbsMDITab* t = Bar->Tab(1);
    ASSERT_EQ(Bar->FCloseSize, 10);
    EXPECT_EQ(t->ButtonRect.Width(), 10);
    const int x = t->ObjectRect.Left + t->ButtonRect.Left + 5, y = t->ObjectRect.Top + t->ButtonRect.Top + 5;
    struct Case {
        const char* State;
        bool In, Down;
    } cases[] = {{"normal", false, false}, {"hovered", true, false}, {"pressed", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.State);
        t->ButtonMouseIn = c.In;
        t->ButtonMouseDown = c.Down;
        Paint();
        EXPECT_EQ(Pixels()(x, y), kExtra3);
    }
}

TEST_F(MdiTabsBar, WithoutACloseRectTheToolButtonRecordMakesTheCloseButton)
{
    Skin(false, false);
    Bar->SetShowCloseButtons(true);
    Children(2);
    TbsMDITab* t = Bar->Tab(1);
    ASSERT_EQ(Bar->FCloseSize, 14);
    EXPECT_EQ(t->ButtonRect.Width(), 14);
    const int x = t->ObjectRect.Left + t->ButtonRect.Left + 1, y = t->ObjectRect.Top + t->ButtonRect.Top + 1;
    struct Case {
        bool In, Down;
        uint32_t Want;
    } cases[] = {{false, false, kNormal}, {true, false, kHot}, {true, true, kDown}};
    for (const Case& c : cases) {
        t->ButtonMouseIn = c.In;
        t->ButtonMouseDown = c.Down;
        Paint();
        EXPECT_EQ(Pixels()(x, y), c.Want) << c.In << c.Down;
    }
}

TEST_F(MdiTabsBar, ATabCanCarryItsChildsIcon)
{
    Children(1);
    Bar->Tab(0)->Child->Icon()->SetHandle(SolidIcon(kIconColor));
    Bar->SetShowChildIcon(true);
    Paint();
    // The text box starts at 2 in the tab; the 16-pixel icon is centred in its first 20 pixels.
    auto at = Pixels();
    EXPECT_EQ(at(15 + 4, 2), kIconColor);
    EXPECT_EQ(at(15 + 19, 17), kIconColor);
    EXPECT_NE(at(15 + 21, 10), kIconColor);
}

}  // namespace
