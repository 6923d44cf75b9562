// Skinned hints: line separators, the built-in and skinned sizes, the flip at the work area's
// edges, delayed hints, the extended layout, which component is in charge, and a freed component
// leaving the application's hints alone.
#include "skin/form/skin_hint.h"

#include "platform/framework/controls/panel.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/core/marks.h"
#include "tests/skin/form/skin_form_test_support.h"
#include "tests/skin/support/synthetic_menu_skin.h"

namespace {

struct SkinHintTest : SkinFormFixture {
    TbsSkinHint* Hint = nullptr;
    void SetUp() override
    {
        Make(300, 200);
        Show();
        Application->SetMainForm(Form);
        Hint = new TbsSkinHint(Form);
        vxwin::InjectMouseMove(300, 300);
        Pump();
    }
    void TearDown() override
    {
        Application->SetMainForm(nullptr);
        vxwin::SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 984});
        SkinFormFixture::TearDown();
    }
    TSize TextSize(const String& S, TFont* F)
    {
        TBitmap b;
        b.SetSize(1, 1);
        b.Canvas()->Font()->Assign(F);
        RECT r{0, 0, 0, 0};
        DrawTextW(b.Canvas()->Handle(), S.c_str(), static_cast<int>(S.size()), &r, DT_CALCRECT);
        return TSize{r.right, r.bottom};
    }
    TRect Bounds() const { return ::Bounds(Hint->HW->Left(), Hint->HW->Top(), Hint->HW->Width(), Hint->HW->Height()); }
};

TEST_F(SkinHintTest, LinesAndTheBuiltInLook)
{
    Hint->ActivateHint(Point(100, 100), L"a@b");
    EXPECT_EQ(Hint->HW->Caption(), String(L"a\n\rb"));
    const TSize one = TextSize(L"Hint text", Hint->DefaultFont());
    const TSize two = TextSize(L"a\n\rb", Hint->DefaultFont());
    EXPECT_EQ(Hint->HW->Height(), two.cy + 4);
    EXPECT_GT(two.cy, one.cy) << "two lines";

    Hint->ActivateHint(Point(100, 100), L"Hint text");
    EXPECT_TRUE(Hint->IsVisible());
    EXPECT_EQ(Bounds(), Rect(100, 100, 100 + one.cx + 4, 100 + one.cy + 4));
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(Hint->HW->Handle(), &w, &h);
    auto at = [&](int x, int y) { return px[static_cast<size_t>(y * w + x)] & 0xFFFFFF; };
    EXPECT_EQ(at(0, 0), Rgb(static_cast<uint32_t>(ColorToRGB(clBtnShadow))));
    EXPECT_EQ(at(1, 1), Rgb(static_cast<uint32_t>(ColorToRGB(clInfoBk))));
    // The text starts at (2, 2): some ink in the first columns from there, none before.
    bool inkBefore = false, ink = false;
    for (int y = 1; y < h - 1; ++y) {
        inkBefore |= at(1, y) != at(1, 1);
        for (int x = 2; x < 6; ++x) ink |= at(x, y) != at(1, 1);
    }
    EXPECT_FALSE(inkBefore);
    EXPECT_TRUE(ink);

    Hint->LineSeparator = L"";
    Hint->ActivateHint(Point(100, 100), L"a@b");
    EXPECT_EQ(Hint->HW->Caption(), String(L"a@b"));
    Hint->HideHint();
    EXPECT_FALSE(Hint->IsVisible());
    Hint->HideHint();
}

TEST_F(SkinHintTest, SkinnedSizesAndTheExtendedLayout)
{
    Def = std::make_unique<skintest::SyntheticSkin>();
    skintest::AddMenuSkin(*Def);
    Def->LoadInto(Model);
    Hint->SetSkinData(Model);
    TFont f;
    f.SetName(L"Tahoma");
    f.SetHeight(13);
    const TSize t = TextSize(L"Skinned", &f);
    Hint->ActivateHint(Point(100, 100), L"Skinned");
    // The picture's frame (3 + 3 each way) and 5 more across.
    EXPECT_EQ(Hint->HW->Width(), t.cx + 3 + 3 + 5);
    EXPECT_EQ(Hint->HW->Height(), t.cy + 3 + 3);
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(Hint->HW->Handle(), &w, &h);
    EXPECT_EQ(px[0] & 0xFFFFFF, skintest::kExtra1) << "the hint picture's frame";

    // A title: the extended layout, 10 across and 10 below the title.
    Hint->ActivateHintEx(Point(100, 100), L"Title", L"Skinned", -1, nullptr);
    EXPECT_TRUE(Hint->HW->AExtendedStyle);
    const TSize tt = TextSize(L"Title", &f);
    EXPECT_EQ(Hint->HW->Width(), std::max(t.cx, tt.cx) + 10 + 3 + 3);
    EXPECT_EQ(Hint->HW->Height(), t.cy + tt.cy + 10 + 3 + 3);
    Hint->HideHint();
}

TEST_F(SkinHintTest, FlipsAtTheEdges)
{
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 800, 600}, RECT{0, 0, 800, 560}));
    Pump();
    Hint->ActivateHint(Point(790, 100), L"Right edge");
    const int W = Hint->HW->Width(), H = Hint->HW->Height();
    EXPECT_EQ(Hint->HW->Left() + W, 790 - 2) << "right edge 2 pixels left of the anchor";
    EXPECT_EQ(Hint->HW->Top(), 100);
    Hint->ActivateHint(Point(100, 555), L"Right edge");
    EXPECT_EQ(Hint->HW->Top() + H, 555 - 2) << "bottom 2 pixels above the anchor";
    EXPECT_EQ(Hint->HW->Left(), 100);
    Hint->HideHint();
}

TEST_F(SkinHintTest, DelayedHintsShowTheLastRequestOnce)
{
    Application->SetHintPause(500);
    Application->SetHintHidePause(2500);
    int shown = 0;
    String last;
    Hint->ActivateHint2(L"one");
    Wait(300);
    Hint->ActivateHint2(L"two");
    for (int t = 0; t < 1000; t += 10) {
        const bool before = Hint->IsVisible();
        Wait(10);
        if (!before && Hint->IsVisible()) {
            ++shown;
            last = Hint->HW->Caption();
        }
    }
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(last, String(L"two"));
    Wait(2600);
    EXPECT_FALSE(Hint->IsVisible()) << "hidden after the hide pause";
    EXPECT_EQ(Hint->HintTimer, nullptr);
}

TEST_F(SkinHintTest, TheComponentInChargeAndAFreedOne)
{
    auto* second = new TbsSkinHint(Form);
    second->LineSeparator = L"#";
    second->SetActive(true);
    EXPECT_FALSE(Hint->Active()) << "switching one on switches the other off";
    Hint->ActivateHint(Point(50, 50), L"a#b");
    EXPECT_EQ(Hint->HW->Caption(), String(L"a\n\rb")) << "the second's settings rule";
    Hint->HideHint();

    // Without an active component nothing shows.
    second->SetActive(false);
    Hint->ActivateHint(Point(50, 50), L"nothing");
    EXPECT_FALSE(Hint->IsVisible());

    // A freed component leaves the application's show-hint event.
    second->SetActive(true);
    ASSERT_TRUE(static_cast<bool>(Application->OnShowHint));
    second->Free();
    EXPECT_FALSE(static_cast<bool>(Application->OnShowHint));
}

// The application's show-hint event takes the hinted control's title and image from windowed and
// graphic skinned controls alike, and the hint window then takes the extended layout.
TEST_F(SkinHintTest, ShowHintTakesTitleAndImageFromWindowedAndGraphicControls)
{
    auto* images = new TImageList(Form);
    auto* windowed = new TbsSkinButton(Form);
    windowed->SetParent(Form);
    windowed->SetHintTitle(L"Windowed");
    auto* graphic = new TbsSkinSpeedButton(Form);
    graphic->SetParent(Form);
    graphic->SetHintTitle(L"Graphic");
    graphic->SetHintImageIndex(3);
    graphic->SetHintImageList(images);
    auto* plain = new TPanel(Form);
    plain->SetParent(Form);
    const struct {
        TControl* control;
        String title;
        int index;
        TCustomImageList* list;
        bool extended;
    } cases[] = {
        {windowed, L"Windowed", 0, nullptr, true},
        {graphic, L"Graphic", 3, images, true},
        {plain, L"", 0, nullptr, false},
    };
    ASSERT_TRUE(static_cast<bool>(Application->OnShowHint));
    for (const auto& c : cases) {
        String text = L"text";
        bool can = true;
        THintInfo info;
        info.HintControl = c.control;
        Application->OnShowHint(text, can, info);
        EXPECT_EQ(Hint->FHintTitle, c.title) << StringToUtf8(c.title);
        EXPECT_EQ(Hint->FHintImageIndex, c.index) << StringToUtf8(c.title);
        EXPECT_EQ(Hint->FHintImageList, c.list) << StringToUtf8(c.title);
        Hint->HW->ActivateHint(Rect(20, 20, 20, 20), text);
        EXPECT_EQ(Hint->HW->AExtendedStyle, c.extended) << StringToUtf8(c.title);
    }
}

}  // namespace
