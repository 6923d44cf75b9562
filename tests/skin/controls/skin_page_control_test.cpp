// The skinned page control on real windows: the page area by tab position, look and hidden
// parts; centred rows; the scroller's absence without the up-down link; hiding and showing the
// tabs; the close protocol through injected input; the fill of backgrounds; button tabs from a
// record of another class; and the composed pixels of the built-in and skinned tabs, turned for
// side tabs and flipped for bottom ones.
#include <gtest/gtest.h>

#include <memory>

#include "skin/boxes/skin_up_down.h"
#include "skin/controls/skin_page_control.h"
#include "skin/controls/skin_tab_scroller_link.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

// The "tab" record: a 40 x 40 frame (border 3 left, 4 top, 5 right, 6 bottom) in kNormal round a
// kExtra3 client, tabs 30 x 20 in kHot and selected tabs 30 x 23 in kDown, each with its outer
// (top) row in kExtra1, and the tab-row background in kExtra2.
constexpr TRect kClRect{3, 4, 35, 34};

struct PageControlTest : SkinControlFixture {
    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 200, 120);
    }

    void LoadTabSkin(const TRect& ClRect = kClRect, const std::string& More = "")
    {
        auto owned = std::make_unique<SyntheticSkin>();
        SyntheticSkin& s = *owned;
        const int p = s.AddPicture(100, 80);
        s.Block(p, Rect(0, 0, 40, 40), kNormal, false);
        s.Block(p, ClRect, kExtra3, false);
        s.Block(p, Rect(40, 0, 70, 20), kHot, false);
        s.Block(p, Rect(40, 0, 70, 1), kExtra1, false);
        s.Block(p, Rect(70, 0, 100, 23), kDown, false);
        s.Block(p, Rect(70, 0, 100, 1), kExtra1, false);
        s.Block(p, Rect(0, 40, 10, 50), kExtra2, false);
        s.Block(p, Rect(10, 40, 30, 60), kFocused, false);
        s.Block(p, Rect(0, 60, 4, 64), kDisabled, false);
        s.Block(p, Rect(40, 30, 56, 44), kExtra1, false);
        s.Block(s.AddPicture(8, 8), Rect(0, 0, 8, 8), kExtra2, false);
        s.Control("tab", "tab",
                  "pictureindex=0\nskinrect=0,0,40,40\nclientrect=" + IniRect(ClRect) +
                      "\nlefttoppoint=3,4\nrighttoppoint=35,4\nleftbottompoint=3,34\nrightbottompoint=35,34\n"
                      "tabrect=40,0,70,20\nactivetabrect=70,0,100,23\ntabsbgrect=0,40,10,50\n"
                      "tableftoffset=2\ntabrightoffset=2\n" +
                      More);
        s.Control("button", "button",
                  "pictureindex=0\nskinrect=10,40,30,60\nclientrect=2,2,18,18\nlefttoppoint=2,2\n"
                  "righttoppoint=18,2\nleftbottompoint=2,18\nrightbottompoint=18,18\n");
        s.LoadInto(Model);
        Skins.push_back(std::move(owned));
    }

    TbsSkinPageControl* Make(int Pages, bool Skin, TTabPosition Pos = tpTop, int TabW = 40)
    {
        auto* pc = new TbsSkinPageControl(Form);
        pc->SetParent(Form);
        pc->SetBounds(0, 0, 200, 120);
        for (int i = 0; i < Pages; ++i) {
            auto* s = new TbsSkinTabSheet(pc);
            s->SetPageControl(pc);
        }
        pc->SetTabPosition(Pos);
        pc->SetTabHeight(20);
        pc->SetTabWidth(TabW);
        if (Skin) pc->SetSkinData(Model);
        return pc;
    }

    static uint32_t Rgb(TColor C) { return RgbOf(ColorToRGB(C)); }

    std::vector<std::unique_ptr<SyntheticSkin>> Skins;
};

// ---- page area ----

struct AdjustCase {
    TTabPosition Pos;
    bool Skin;
    int Mode;  // 0 shown, 1 HideTabs, 2 HideBorderAndTabs
    TRect Expected;
};

TEST_F(PageControlTest, PageAreaByPositionLookAndHiddenParts)
{
    // 200 x 120, tabs 20 high: the framework's own page area is (4, 26, 196, 116) for top tabs,
    // (4, 4, 196, 96) bottom, (24, 4, 196, 116) left and (4, 4, 176, 116) right; with the tabs
    // hidden (height 1) (4, 7, 196, 116) and (4, 4, 196, 115).
    const AdjustCase cases[] = {
        {tpTop, false, 0, Rect(1, 21, 199, 119)},    {tpBottom, false, 0, Rect(1, 1, 199, 99)},
        {tpLeft, false, 0, Rect(21, -1, 199, 119)},  {tpRight, false, 0, Rect(1, -1, 179, 119)},
        {tpTop, true, 0, Rect(3, 24, 195, 114)},     {tpBottom, true, 0, Rect(3, 4, 195, 94)},
        {tpLeft, true, 0, Rect(23, 4, 195, 114)},    {tpRight, true, 0, Rect(3, 4, 175, 114)},
        {tpTop, false, 1, Rect(1, 1, 199, 119)},     {tpBottom, false, 1, Rect(1, 1, 199, 118)},
        {tpTop, true, 1, Rect(3, 4, 195, 114)},      {tpBottom, true, 1, Rect(3, 4, 195, 114)},
        {tpLeft, false, 1, Rect(1, 1, 199, 119)},    {tpRight, true, 1, Rect(3, 4, 195, 114)},
        {tpBottom, false, 2, Rect(0, -2, 200, 120)}, {tpLeft, true, 2, Rect(0, -2, 200, 120)},
    };
    LoadTabSkin();
    for (const AdjustCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.Pos << " skin " << c.Skin << " mode " << c.Mode);
        auto* pc = Make(2, c.Skin, c.Pos);
        if (c.Mode == 1) pc->HideTabs();
        if (c.Mode == 2) pc->HideBorderAndTabs();
        EXPECT_EQ(pc->DisplayRect(), c.Expected);
        // The pages take that place.
        const TRect p = c.Expected;
        EXPECT_EQ(pc->ActivePage()->BoundsRect(), p);
        delete pc;
    }
}

TEST_F(PageControlTest, CentredRowStartsWhereTheTabsFit)
{
    Form->SetWidth(400);
    auto* pc = Make(10, false, tpTop, 80);
    pc->SetWidth(400);
    pc->SetTabsInCenter(true);
    EXPECT_TRUE(pc->TabsInCenter());
    EXPECT_EQ(pc->TabsStartOffset(), 0);
    while (pc->PageCount() > 3) delete pc->Pages(pc->PageCount() - 1);
    EXPECT_EQ(pc->TabsStartOffset(), 80);
    TRect r;
    ASSERT_TRUE(pc->GetItemRect(0, r));
    EXPECT_EQ(r, Rect(80, 0, 160, 20));
    // A press on the shifted tab reaches the framework control's unshifted one.
    ShowForm();
    const TPoint p = Screen(pc, 250, 10);
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(pc->TabIndex(), 2);

    auto* free = Make(3, false, tpTop, 0);
    free->SetTabsInCenter(true);
    EXPECT_FALSE(free->TabsInCenter());
}

// The program connects the skinned scroller at start: a row that no longer fits gets it in
// place of the native arrows, and its right button reaches the hidden tabs.
TEST_F(PageControlTest, NarrowRowGetsTheSkinnedScrollerThatReachesEveryTab)
{
    const TbsTabScrollerLink saved = TabScrollerLink();
    UseSkinUpDownTabScroller();
    ASSERT_TRUE(TabScrollerLink().Registered());
    auto* pc = Make(8, false, tpTop, 60);
    ShowForm();
    pc->SetWidth(150);
    Pump();
    EXPECT_GT(pc->HiddenTabsCount(), 0);
    auto* up = dynamic_cast<TbsSkinUpDown*>(pc->SkinUpDown());
    ASSERT_NE(up, nullptr);
    EXPECT_TRUE(up->Visible());
    for (HWND h = GetWindow(pc->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        GetClassNameW(h, name, 32);
        EXPECT_NE(String(name), L"msctls_updown32");
    }
    for (int i = 0; i < 8 && pc->HiddenTabsCount() > pc->ScrolledTabsCount(); ++i) {
        const TPoint p = Screen(up, up->Width() - 5, up->Height() / 2);
        Click(p.X, p.Y);
        Pump();
    }
    EXPECT_EQ(pc->ScrolledTabsCount(), pc->HiddenTabsCount());
    // The last tab now starts left of the scroller, and a click there opens it.
    TRect last;
    ASSERT_TRUE(pc->GetItemRect(7, last));
    ASSERT_LT(last.Left + 5, up->Left());
    const TPoint p = Screen(pc, last.Left + 5, (last.Top + last.Bottom) / 2);
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(pc->TabIndex(), 7);
    pc->Free();
    TabScrollerLink() = saved;
}

TEST_F(PageControlTest, HideTabsTwiceThenShowTabsRestores)
{
    auto* pc = Make(3, false, tpLeft);
    pc->SetMultiLine(true);
    const TRect shown = pc->DisplayRect();
    pc->HideTabs();
    EXPECT_EQ(pc->TabPosition(), tpTop);
    EXPECT_EQ(pc->TabHeight(), 1);
    pc->HideTabs();
    pc->ShowTabs();
    EXPECT_EQ(pc->TabPosition(), tpLeft);
    EXPECT_TRUE(pc->MultiLine());
    EXPECT_EQ(pc->TabHeight(), 20);
    EXPECT_EQ(pc->DisplayRect(), shown);

    // Nothing to hide when no tab shows.
    auto* none = Make(2, false, tpBottom);
    for (int i = 0; i < 2; ++i) none->Pages(i)->SetTabVisible(false);
    none->HideTabs();
    EXPECT_EQ(none->TabHeight(), 20);
    EXPECT_EQ(none->TabPosition(), tpBottom);
}

// ---- close buttons ----

struct CloseTest : PageControlTest {
    TbsSkinPageControl* PC = nullptr;
    std::vector<TObject*> Closing;
    int AfterClose = 0;
    bool Allow = true;

    void Build(TTabPosition Pos = tpTop)
    {
        PC = Make(3, false, Pos, 60);
        PC->SetShowCloseButtons(true);
        PC->OnClose = [this](TObject* s, bool& CanClose) {
            Closing.push_back(s);
            CanClose = Allow;
        };
        PC->OnAfterClose = [this](TObject*) { ++AfterClose; };
        ShowForm();
    }
    void Mouse(bool Down, int X, int Y)
    {
        const TPoint p = Screen(PC, X, Y);
        vxwin::InjectMouseMove(p.X, p.Y);
        Pump();
        vxwin::InjectMouseButton(0, Down, p.X, p.Y);
        Pump();
    }
};

TEST_F(CloseTest, ReleaseOverTheButtonClosesThePressedTab)
{
    Build();
    // Tab 1 runs from x 60 to 120; its close button is the 14 x 14 square 16 pixels from its end.
    auto* sheet = static_cast<TbsSkinTabSheet*>(PC->Pages(1));
    EXPECT_EQ(sheet->ButtonRect, Rect(44, 3, 58, 17));
    Mouse(true, 110, 10);
    EXPECT_TRUE(sheet->ButtonMouseDown);
    EXPECT_EQ(PC->ActivePage(), sheet);
    Mouse(false, 110, 10);
    ASSERT_EQ(Closing.size(), 1u);
    EXPECT_EQ(Closing[0], sheet);
    EXPECT_FALSE(sheet->TabVisible());
    EXPECT_EQ(AfterClose, 1);
    // The next tab's page shows in its place.
    EXPECT_EQ(PC->ActivePage(), PC->Pages(2));
    EXPECT_FALSE(sheet->Visible());
}

TEST_F(CloseTest, SideTabsKeepTheButtonWhereTheTurnPutsIt)
{
    // Tab 0 runs down from y 2 to 62; its button, composed at the end of a lying tab, ends up at
    // its top on the left and at its bottom on the right.
    struct {
        TTabPosition Pos;
        TRect Button;
        TPoint Inside;
    } cases[] = {{tpLeft, Rect(3, 2, 17, 16), Point(10, 10)}, {tpRight, Rect(3, 44, 17, 58), Point(190, 53)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.Pos);
        Closing.clear();
        Build(c.Pos);
        auto* sheet = static_cast<TbsSkinTabSheet*>(PC->Pages(0));
        EXPECT_EQ(sheet->ButtonRect, c.Button);
        Mouse(true, c.Inside.X, c.Inside.Y);
        Mouse(false, c.Inside.X, c.Inside.Y);
        EXPECT_EQ(Closing.size(), 1u);
        EXPECT_FALSE(sheet->TabVisible());
        delete PC;
    }
}

TEST_F(CloseTest, FreeOnCloseFreesTheLastPage)
{
    Build();
    PC->SetFreeOnClose(true);
    Mouse(true, 170, 10);
    Mouse(false, 170, 10);
    EXPECT_EQ(PC->PageCount(), 2);
    EXPECT_EQ(PC->ActivePage(), PC->Pages(1));
    EXPECT_EQ(AfterClose, 1);
}

TEST_F(CloseTest, ReleaseOutsideClosesNothingAndPressOutsideReleaseOverCloses)
{
    Build();
    auto* sheet = static_cast<TbsSkinTabSheet*>(PC->Pages(0));
    Mouse(true, 50, 10);
    Mouse(false, 20, 10);
    EXPECT_TRUE(Closing.empty());
    EXPECT_FALSE(sheet->ButtonMouseDown);
    EXPECT_FALSE(sheet->ButtonMouseIn);
    EXPECT_TRUE(sheet->TabVisible());

    Mouse(true, 20, 10);
    Mouse(false, 50, 10);
    ASSERT_EQ(Closing.size(), 1u);
    EXPECT_FALSE(sheet->TabVisible());
}

TEST_F(CloseTest, RefusedCloseKeepsThePage)
{
    Build();
    Allow = false;
    Mouse(true, 50, 10);
    Mouse(false, 50, 10);
    EXPECT_EQ(Closing.size(), 1u);
    EXPECT_TRUE(PC->Pages(0)->TabVisible());
    EXPECT_EQ(AfterClose, 0);
}

// ---- backgrounds ----

TEST_F(PageControlTest, SheetFillFromAPieceWithoutAreaFillsNothing)
{
    for (bool empty : {false, true}) {
        SCOPED_TRACE(empty ? "client piece 0 wide" : "client piece");
        Skins.clear();
        LoadTabSkin(empty ? Rect(3, 4, 3, 34) : kClRect);
        auto* pc = Make(1, true);
        auto* sheet = static_cast<TbsSkinTabSheet*>(pc->Pages(0));
        TBitmap b(20, 20);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, 20, 20));
        sheet->PaintBG(b.Canvas()->Handle());
        EXPECT_EQ(RgbOf(b.Canvas()->Pixels(5, 5)), empty ? 0xFFFFFFu : kExtra3);
        delete pc;
    }
}

TEST_F(PageControlTest, ButtonTabsFromARecordOfAnotherClassDrawNothingFromIt)
{
    LoadTabSkin();
    auto shown = [&](const String& Name) {
        auto* pc = Make(2, true);
        pc->SetStyle(tsButtons);
        pc->SetButtonTabSkinDataName(Name);
        TBitmap b(200, 40);
        b.Canvas()->Brush()->SetColor(clWhite);
        b.Canvas()->FillRect(Rect(0, 0, 200, 40));
        pc->GetSkinData();
        TRect r;
        pc->GetItemRect(1, r);
        pc->DrawSkinTab(1, r, b.Canvas(), false, false);
        const uint32_t px = RgbOf(b.Canvas()->Pixels(r.Left + 10, r.Top + 10));
        delete pc;
        return px;
    };
    EXPECT_EQ(shown(L"button"), kFocused);
    EXPECT_EQ(shown(L"tab"), shown(L"missing"));
    EXPECT_NE(shown(L"tab"), kFocused);
}

TEST_F(CloseTest, CloseButtonRoomFollowsTheSkin)
{
    // Tabs sized by their (empty) captions: 12 + the blank list's width (1 + the close size) + 4.
    auto* pc = Make(2, false, tpTop, 0);
    pc->SetShowCloseButtons(true);
    TRect r;
    ASSERT_TRUE(pc->GetItemRect(0, r));
    EXPECT_EQ(pc->CloseSize(), 14);
    EXPECT_EQ(r.Width(), 31);
    LoadTabSkin(kClRect, "closebuttonrect=40,30,56,44\n");
    pc->SetSkinData(Model);
    ASSERT_TRUE(pc->GetItemRect(0, r));
    EXPECT_EQ(pc->CloseSize(), 16);
    EXPECT_EQ(r.Width(), 33);
    pc->SetShowCloseButtons(false);
    ASSERT_TRUE(pc->GetItemRect(0, r));
    EXPECT_EQ(r.Width(), 17);
}

TEST_F(PageControlTest, WheelTurnsPagesOnlyWithTheFocus)
{
    auto* pc = Make(3, false);
    pc->SetMouseWheelSupport(true);
    pc->Pages(1)->SetTabVisible(false);
    ShowForm();
    pc->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(pc->ActivePageIndex(), 0);
    pc->SetFocus();
    Pump();
    const TPoint p = Screen(pc, 100, 60);
    vxwin::InjectMouseWheel(-120, p.X, p.Y);
    Pump();
    // Down skips the page without a tab; on the last page it does nothing; up goes back.
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    vxwin::InjectMouseWheel(-120, p.X, p.Y);
    Pump();
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    vxwin::InjectMouseWheel(120, p.X, p.Y);
    Pump();
    EXPECT_EQ(pc->ActivePageIndex(), 0);
}

TEST_F(PageControlTest, SheetBackgrounds)
{
    LoadTabSkin(kClRect, "bgpictureindex=1\n");
    auto paint = [](TbsSkinPageControl* pc) {
        TBitmap b(20, 20);
        static_cast<TbsSkinTabSheet*>(pc->Pages(0))->PaintBG(b.Canvas()->Handle());
        return RgbOf(b.Canvas()->Pixels(5, 5));
    };
    auto* skinned = Make(1, true);
    EXPECT_EQ(paint(skinned), kExtra2);
    EXPECT_EQ(paint(Make(1, false)), Rgb(clBtnFace));
    // A wallpaper takes the place of everything else.
    TBitmap wall(4, 4);
    wall.Canvas()->Brush()->SetColor(clRed);
    wall.Canvas()->FillRect(Rect(0, 0, 4, 4));
    static_cast<TbsSkinTabSheet*>(skinned->Pages(0))->SetWallPaper(&wall);
    EXPECT_EQ(paint(skinned), 0xFF0000u);
}

// ---- pixels ----

TEST_F(PageControlTest, BuiltInTabColours)
{
    auto* pc = Make(2, false);
    ShowForm();
    // The selected tab 0 (0..40) without focus: blue frame round the light fill; tab 1 plain.
    EXPECT_EQ(PixelAt(pc, 0, 0), 0x3B6BB7u);
    EXPECT_EQ(PixelAt(pc, 10, 10), 0xC1D4F3u);
    EXPECT_EQ(PixelAt(pc, 50, 10), Rgb(clBtnFace));
    // The page frame in button shadow one pixel round the page area.
    EXPECT_EQ(PixelAt(pc, 100, 20), Rgb(clBtnShadow));
    pc->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(pc, 10, 10), 0xA2BCE4u);
    const TPoint p = Screen(pc, 50, 10);
    vxwin::InjectMouseMove(p.X, p.Y);
    Pump();
    EXPECT_EQ(pc->ActiveTabIndex(), 1);
    EXPECT_EQ(PixelAt(pc, 50, 10), 0xC1D4F3u);
}

TEST_F(PageControlTest, SkinTabsAreTurnedForSidesAndFlippedAtTheBottom)
{
    LoadTabSkin();
    // Tab 1, not selected: its outer row kExtra1 faces away from the pages.
    struct {
        TTabPosition Pos;
        TPoint Outer, Inner;
    } cases[] = {
        {tpLeft, Point(0, 60), Point(19, 60)},
        {tpRight, Point(199, 60), Point(180, 60)},
        {tpBottom, Point(60, 119), Point(60, 100)},
        {tpTop, Point(60, 0), Point(60, 19)},
    };
    ShowForm();
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << c.Pos);
        auto* pc = Make(2, true, c.Pos);
        Pump();
        EXPECT_EQ(PixelAt(pc, c.Outer.X, c.Outer.Y), kExtra1);
        EXPECT_EQ(PixelAt(pc, c.Inner.X, c.Inner.Y), kHot);
        delete pc;
        Pump();
    }
}

TEST_F(PageControlTest, SelectedSkinTabReachesThreePixelsIntoThePage)
{
    LoadTabSkin();
    auto* pc = Make(2, true);
    ShowForm();
    // The frame starts at y 20 (page area top 24 less the border of 4); the selected tab, 23
    // high, covers rows 20 to 22 over it, the other tab leaves the frame showing.
    for (int y : {20, 21, 22}) EXPECT_EQ(PixelAt(pc, 10, y), kDown) << y;
    EXPECT_EQ(PixelAt(pc, 10, 23), kNormal);
    EXPECT_EQ(PixelAt(pc, 50, 21), kNormal);
    EXPECT_EQ(PixelAt(pc, 50, 10), kHot);
    // The row's background beyond the tabs.
    EXPECT_EQ(PixelAt(pc, 150, 10), kExtra2);
    // The page shows the client piece.
    EXPECT_EQ(PixelAt(pc, 100, 60), kExtra3);
}

TEST_F(PageControlTest, FirstSelectedTabTakesTheCornerPiece)
{
    LoadTabSkin(kClRect, "tableftbottomactiverect=0,60,4,64\n");
    auto* pc = Make(2, true);
    ShowForm();
    EXPECT_EQ(PixelAt(pc, 1, 21), kDisabled);
    EXPECT_EQ(PixelAt(pc, 5, 21), kDown);
    // Rows of several lines start 2 pixels in: no corner there.
    pc->SetMultiLine(true);
    Pump();
    EXPECT_EQ(PixelAt(pc, 3, 21), kDown);
}

}  // namespace
