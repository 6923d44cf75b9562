// Check and radio boxes: sequences of clicks and writes with their states and OnClick counts,
// groups, keys and focus, the flat, skinned and built-in looks, and sizes across a skin change.
#include <gtest/gtest.h>

#include <functional>

#include "skin/controls/skin_check_radio_box.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

void AddCheckSkin(SyntheticSkin& s)
{
    int p = s.AddPicture(60, 30);
    s.Block(p, Rect(0, 0, 30, 12), kNormal);
    s.Block(p, Rect(30, 0, 60, 12), kHot);
    s.Block(p, Rect(0, 12, 6, 18), kExtra1, false);    // checked image
    s.Block(p, Rect(6, 12, 12, 18), kExtra2, false);   // unchecked image
    s.Block(p, Rect(12, 12, 18, 18), kDown, false);    // active checked
    for (int x : {0, 6, 12}) s.Pixel(p, x, 17, kKey);  // each image's transparent colour
    s.Control("checkbox", "checkradio",
              "pictureindex=0\r\nskinrect=0,0,30,12\r\nactiveskinrect=30,0,60,12\r\n"
              "lefttoppoint=2,2\r\nrighttoppoint=28,2\r\nleftbottompoint=2,10\r\nrightbottompoint=28,10\r\n"
              "clientrect=2,2,28,10\r\ncheckimagearea=0,0,12,12\r\ntextarea=12,0,30,12\r\n"
              "checkimagerect=0,12,6,18\r\nuncheckimagerect=6,12,12,18\r\nactivecheckimagerect=12,12,18,18\r\n"
              "morphing=1\r\n");
}

struct CheckBoxTest : SkinControlFixture {
    std::vector<TbsSkinCheckRadioBox*> Boxes;
    std::vector<int> Clicks;

    TbsSkinCheckRadioBox* Make(int Y = 10)
    {
        auto* b = new TbsSkinCheckRadioBox(Form);
        b->SetParent(Form);
        b->SetBounds(10, Y, 100, 20);
        size_t i = Boxes.size();
        Boxes.push_back(b);
        Clicks.push_back(0);
        b->OnClick = [this, i](TObject*) { ++Clicks[i]; };
        return b;
    }
    void ClickOn(TControl* B, int X = 5)
    {
        TPoint p = Screen(B, X, 10);
        Click(p.X, p.Y);
        Pump();
    }
};

}  // namespace

TEST_F(CheckBoxTest, ClickAndWriteSequences)
{
    struct Case {
        const char* what;
        bool radio, allowGrayed;
        std::function<void(CheckBoxTest&, TbsSkinCheckRadioBox*)> act;
        TCheckBoxState state;
        bool checked;
        int clicks;
    } cases[] = {
        {"three clicks with AllowGrayed", false, true,
         [](CheckBoxTest& t, TbsSkinCheckRadioBox* b) {
             t.ClickOn(b);
             EXPECT_EQ(b->State(), cbGrayed);
             EXPECT_FALSE(b->Checked());
             t.ClickOn(b);
             EXPECT_EQ(b->State(), cbChecked);
             t.ClickOn(b);
         },
         cbUnchecked, false, 3},
        {"two clicks without", false, false,
         [](CheckBoxTest& t, TbsSkinCheckRadioBox* b) {
             t.ClickOn(b);
             EXPECT_TRUE(b->Checked());
             t.ClickOn(b);
         },
         cbUnchecked, false, 2},
        {"a checked radio clicked", true, false,
         [](CheckBoxTest& t, TbsSkinCheckRadioBox* b) {
             t.ClickOn(b);
             t.ClickOn(b);
         },
         cbChecked, true, 1},
        {"Checked False on grayed stays grayed", false, true,
         [](CheckBoxTest&, TbsSkinCheckRadioBox* b) {
             b->SetState(cbGrayed);
             b->SetChecked(false);
         },
         cbGrayed, false, 2},
        {"Checked True leaves grayed", false, true,
         [](CheckBoxTest&, TbsSkinCheckRadioBox* b) {
             b->SetState(cbGrayed);
             b->SetChecked(true);
         },
         cbChecked, true, 2},
        {"an unchanged Checked still fires", false, false,
         [](CheckBoxTest&, TbsSkinCheckRadioBox* b) {
             b->SetChecked(false);
             b->SetChecked(false);
         },
         cbUnchecked, false, 2},
        {"an unchecking radio write fires nothing", true, false,
         [](CheckBoxTest&, TbsSkinCheckRadioBox* b) { b->SetChecked(false); }, cbUnchecked, false, 0},
        {"a release outside does nothing", false, false,
         [](CheckBoxTest& t, TbsSkinCheckRadioBox* b) {
             TPoint in = t.Screen(b, 5, 10), out = t.Screen(b, 5, 60);
             Drag(in.X, in.Y, out.X, out.Y);
             t.Pump();
         },
         cbUnchecked, false, 0},
    };
    ShowForm();
    for (auto& k : cases) {
        SCOPED_TRACE(k.what);
        Boxes.clear();
        Clicks.clear();
        TbsSkinCheckRadioBox* b = Make();
        b->SetRadio(k.radio);
        b->SetAllowGrayed(k.allowGrayed);
        k.act(*this, b);
        EXPECT_EQ(b->State(), k.state);
        EXPECT_EQ(b->Checked(), k.checked);
        EXPECT_EQ(Clicks[0], k.clicks);
        b->Free();
    }
}

TEST_F(CheckBoxTest, GroupsUncheckThroughTheWriter)
{
    TbsSkinCheckRadioBox* a = Make(10);
    TbsSkinCheckRadioBox* b = Make(40);
    TbsSkinCheckRadioBox* loose = Make(70);  // group 0
    a->SetGroupIndex(1);
    b->SetGroupIndex(1);
    a->SetChecked(true);
    loose->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(loose->Checked());
    EXPECT_EQ(Clicks[0], 2);  // a check box unchecked by its group fires
    // State writes leave the group alone.
    a->SetState(cbChecked);
    EXPECT_TRUE(b->Checked());
    // A radio button unchecked by its group does not fire.
    a->SetRadio(true);
    b->SetRadio(true);
    Clicks = {0, 0, 0};
    a->SetChecked(true);
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_EQ(Clicks[0], 1);
    EXPECT_EQ(Clicks[1], 1);
}

TEST_F(CheckBoxTest, KeysAndFocus)
{
    TbsSkinCheckRadioBox* b = Make();
    b->SetCaption(L"&Go");
    ShowForm();
    b->SetFocus();
    Pump();
    PressKey(VK_SPACE);
    Pump();
    EXPECT_TRUE(b->Checked());
    PressKey('G', kAlt, L"g");
    Pump();
    EXPECT_FALSE(b->Checked());
    // Without CanFocused the box ignores both.
    b->SetCanFocused(false);
    EXPECT_FALSE(b->TabStop());
    PressKey(VK_SPACE);
    PressKey('G', kAlt, L"g");
    Pump();
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(Clicks[0], 2);
}

TEST_F(CheckBoxTest, TheFlatBuiltInLook)
{
    TbsSkinCheckRadioBox* b = Make();
    ShowForm();
    const int top = 20 / 2 - 7;
    EXPECT_EQ(PixelAt(b, 3, top), Rgb(ColorToCOLORREF(clBtnShadow)));
    EXPECT_EQ(PixelAt(b, 5, top + 2), Rgb(ColorToCOLORREF(clWindow)));
    EXPECT_EQ(PixelAt(b, 50, 2), 0xFFFFFFu);  // the white form behind it
    ClickOn(b, 30);
    EXPECT_EQ(PixelAt(b, 3, top), RgbOf(0xB76B3B));  // hot frame
    // The check mark is drawn in black inside the box.
    int black = 0;
    for (int y = top; y < top + 14; ++y)
        for (int x = 3; x < 17; ++x) black += PixelAt(b, x, y) == 0;
    EXPECT_GT(black, 5);
}

TEST_F(CheckBoxTest, SkinnedLooksAndSizes)
{
    SyntheticSkin s;
    AddCheckSkin(s);
    s.LoadInto(Model);
    TbsSkinCheckRadioBox* flat = Make(10);
    TbsSkinCheckRadioBox* skinned = Make(40);
    skinned->SetFlat(false);
    flat->SetSkinData(Model);
    skinned->SetSkinData(Model);
    EXPECT_EQ(flat->Width(), 100);     // flat keeps its size
    EXPECT_EQ(skinned->Height(), 20);  // a nine-part record: any size
    ShowForm();
    // Flat with a skin: the check image at (3, H/2 - 3) on the parent's background.
    EXPECT_EQ(PixelAt(flat, 4, 8), kExtra2);
    flat->SetChecked(true);
    EXPECT_EQ(PixelAt(flat, 4, 8), kExtra1);
    // Skinned: the picture composed to the size, the image centred in its area.
    EXPECT_EQ(PixelAt(skinned, 0, 0), kMarkTL);
    EXPECT_EQ(PixelAt(skinned, 50, 5), kNormal);
    EXPECT_EQ(PixelAt(skinned, 5, 5), kExtra2);
    skinned->SetChecked(true);
    EXPECT_EQ(PixelAt(skinned, 5, 5), kExtra1);
    EXPECT_FALSE(flat->Morphing());
    // Hover: the active picture fades in and the active check image shows at once.
    TPoint p = Screen(skinned, 50, 5);
    vxwin::InjectMouseMove(p.X, p.Y);
    Pump();
    EXPECT_TRUE(skinned->Morphing());
    Wait(140, 20);
    EXPECT_EQ(skinned->MorphKf(), 1.0);
    EXPECT_FALSE(skinned->Morphing());
    EXPECT_EQ(PixelAt(skinned, 50, 5), kHot);
    EXPECT_EQ(PixelAt(skinned, 5, 5), kDown);
}
