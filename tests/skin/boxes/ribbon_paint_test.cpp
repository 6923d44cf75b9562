// The ribbon's and the application menu's own drawing, pixel by pixel: caption-button faces in
// both looks (hot, pressed, and a button whose menu is open), the hot tab face and the divider of
// narrowed tabs, the menu's item highlight in both looks, the frame round the active page and the
// size grip.
#include <gtest/gtest.h>

#include "skin/boxes/app_menu.h"
#include "skin/boxes/ribbon.h"
#include "skin/core/skin_messages.h"
#include "skin/core/window_records.h"
#include "tests/skin/boxes/office_test_support.h"
#include "tests/skin/form/skin_form_test_support.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

// A caption button's menu that only records that it was asked to show.
class TQuietPopupMenu : public TbsSkinPopupMenuBase {
public:
    using TbsSkinPopupMenuBase::TbsSkinPopupMenuBase;
    void PopupFromRect2(TControl*, const TRect&, bool) override {}
};

uint32_t Sys(TColor C) { return RgbOf(ColorToRGB(C)); }

struct RibbonPaint : SkinControlFixture {
    TbsRibbon* R = nullptr;
    TbsRibbonButtonItem* B = nullptr;  // one caption button with a 16 x 16 red image and a menu

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 600, 300);
        R = new TbsRibbon(Form);
        R->SetParent(Form);
        ShowForm();
        for (int i = 0; i < 4; ++i) R->Tabs()->Add();
        R->SetButtonsImageList(officetest::MakePngList(Form, 16, {0xFF0000}));
        B = R->Buttons()->Add();
        B->SetImageIndex(0);
        B->PopupMenu = new TQuietPopupMenu(Form);
        Pump();
    }
    // The caption button's face (a corner pixel, clear of the image) and its centre.
    uint32_t Face()
    {
        R->Repaint();
        return PixelAt(R, B->ItemRect.Left + 1, B->ItemRect.Top + 1);
    }
    uint32_t Centre() { return PixelAt(R, B->ItemRect.Left + 11, B->ItemRect.Top + 11); }
    // Opens the button's menu by a click, then takes the pointer's marks off it.
    void OpenMenu()
    {
        const TPoint p = Screen(R, B->ItemRect.Left + 3, B->ItemRect.Top + 3);
        Click(p.X, p.Y);
        Pump();
        B->Active = false;
    }
    void CloseMenu()
    {
        SendMessageW(R->Handle(), WM_SKINMENU_CLOSED, 0, 0);
        B->Active = B->Down = false;
    }
    TRect TabRect(int I) { return R->Tabs()->GetItem(I)->ItemRect; }
};

}  // namespace

TEST_F(RibbonPaint, BuiltInCaptionButtonFacesShowOnlyTheButtonUnderThePointer)
{
    ASSERT_EQ(B->ItemRect.Width(), 22);
    struct Case {
        const char* name;
        bool active, down, menu;
        TColor face;
    } cases[] = {
        {"idle", false, false, false, clBtnShadow},
        {"hot", true, false, false, clBtnFace},
        {"pressed", true, true, false, cl3DDkShadow},
        {"menu open, pointer elsewhere", false, false, true, clBtnShadow},
        {"menu open, pointer on it", true, false, true, clBtnFace},
    };
    for (const Case& c : cases) {
        if (c.menu) OpenMenu();
        B->Active = c.active;
        B->Down = c.down;
        EXPECT_EQ(Face(), Sys(c.face)) << c.name;
        EXPECT_EQ(Centre(), 0xFF0000u) << c.name << ": the image on top";
        CloseMenu();
    }
}

namespace {

// The "officetab" record: a frame, the strip background in extra 1, the selected tab in focused,
// the hot tab in extra 3; a caption-button record with hot (kHot) and pressed (kDown) faces.
struct SkinnedRibbonPaint : RibbonPaint {
    SyntheticSkin S;
    int P = 0;

    void SetUp() override
    {
        RibbonPaint::SetUp();
        P = S.AddPicture(160, 60);
        S.Block(P, Rect(0, 0, 40, 40), kNormal);
        S.Block(P, Rect(40, 0, 60, 20), kFocused, false);
        S.Block(P, Rect(60, 0, 80, 20), kExtra3, false);
        S.Block(P, Rect(80, 0, 100, 20), kExtra1, false);
        S.Block(P, Rect(100, 0, 110, 10), kHot, false);
        S.Block(P, Rect(110, 0, 120, 10), kDown, false);
        S.Block(P, Rect(120, 0, 130, 10), kExtra2, false);
        S.Block(P, Rect(130, 0, 132, 4), kDisabled, false);  // a divider picture
        S.Control("officetab", "tab", TabKeys(""));
        S.Control("resizetoolbutton", "button", ButtonKeys("100,0,110,10"));
        Load();
    }
    static std::string TabKeys(const std::string& Extra)
    {
        return "pictureindex=0\nskinrect=0,0,40,40\nclientrect=4,4,36,36\nlefttoppoint=4,4\nrighttoppoint=36,4\n"
               "leftbottompoint=4,36\nrightbottompoint=36,36\ntabrect=40,0,60,20\nactivetabrect=40,0,60,20\n"
               "mouseintabrect=60,0,80,20\ntabsbgrect=80,0,100,20\ntableftoffset=2\ntabrightoffset=2\n" +
               Extra;
    }
    static std::string ButtonKeys(const std::string& Active)
    {
        return "pictureindex=0\nskinrect=100,0,110,10\nclientrect=2,2,8,8\nactiveskinrect=" + Active +
               "\ndownskinrect=110,0,120,10";
    }
    void Load()
    {
        S.LoadInto(Model);
        R->SetSkinData(Model);
        Pump();
    }
};

}  // namespace

TEST_F(SkinnedRibbonPaint, CaptionButtonFacesFromTheButtonRecord)
{
    struct Case {
        const char* name;
        bool active, down, menu;
        uint32_t face;
    } cases[] = {
        {"idle: the strip shows", false, false, false, kExtra1},
        {"hot", true, false, false, kHot},
        {"pressed", true, true, false, kDown},
        {"menu open, pointer elsewhere", false, false, true, kDown},
    };
    for (const Case& c : cases) {
        if (c.menu) OpenMenu();
        B->Active = c.active;
        B->Down = c.down;
        EXPECT_EQ(Face(), c.face) << c.name;
        EXPECT_EQ(Centre(), 0xFF0000u) << c.name;
        CloseMenu();
    }
    // "officeribbonbutton" comes before "resizetoolbutton".
    S.Control("officeribbonbutton", "button", ButtonKeys("120,0,130,10"));
    Load();
    B->Active = true;
    EXPECT_EQ(Face(), kExtra2);
}

TEST_F(SkinnedRibbonPaint, HotTabFaceAndTheDividerOfNarrowedTabs)
{
    R->SetTabIndex(3);
    R->Tabs()->GetItem(1)->Active = true;  // under the pointer
    R->Repaint();
    EXPECT_EQ(PixelAt(R, TabRect(1).Left + 1, TabRect(1).Top + 2), kExtra3);
    EXPECT_EQ(PixelAt(R, TabRect(0).Left + 1, TabRect(0).Top + 2), kExtra1) << "a plain tab on the strip";
    EXPECT_FALSE(R->ShowDivider());

    // Narrowed: a line in the skin's button shadow right of each plain tab.
    R->Tabs()->GetItem(1)->Active = false;
    Form->SetWidth(57 + 80 + 5);
    R->Repaint();
    ASSERT_TRUE(R->ShowDivider());
    EXPECT_EQ(PixelAt(R, TabRect(0).Right, TabRect(0).Top + 2), RgbOf(ColorToRGB(Model->SkinColors()->cBtnShadow())));
    // A divider picture instead, at the tab's bottom right.
    S.Controls[0].Keys = TabKeys("dividerrect=130,0,132,4\n");
    Load();
    R->Repaint();
    const TRect t0 = TabRect(0);
    EXPECT_EQ(PixelAt(R, t0.Right - 1, t0.Bottom - 1), kDisabled);
    EXPECT_EQ(PixelAt(R, t0.Right - 1, t0.Bottom - 5), kExtra1);
}

namespace {

struct AppMenuPaint : SkinFormFixture {
    TbsRibbon* R = nullptr;
    TbsAppMenu* M = nullptr;

    void SetUp() override
    {
        Make(500, 400);
        R = new TbsRibbon(Form);
        R->SetParent(Form);
        M = new TbsAppMenu(Form);
        M->SetParent(Form);
        M->Items()->Add();                              // a command item
        M->Items()->Add()->SetPage(M->CreatePage());  // a page item
        R->SetAppMenu(M);
        SF->SetSkinRibbon(R);
        Show();
    }
    // The menu's own drawing (the form's frame may cover its edges on the screen).
    uint32_t MenuPx(int X, int Y)
    {
        TBitmap b(M->Width(), M->Height());
        M->Perform(WM_PAINT, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 0);
        return b.PixelArgb(X, Y) & 0xFFFFFF;
    }
    TRect ItemRect(int I) { return M->Items()->Items(I)->ItemRect; }
};

}  // namespace

TEST_F(AppMenuPaint, BuiltInHighlightFramesACommandItemAndPointsAtTheShownPage)
{
    R->ShowAppMenu();
    M->SetItemIndex(0);
    const TRect c = ItemRect(0);
    EXPECT_EQ(MenuPx(c.Left, c.Top), Sys(cl3DDkShadow)) << "the command item's frame";
    EXPECT_EQ(MenuPx(c.Left + 2, c.Top + 2), Sys(clBtnFace));
    EXPECT_EQ(MenuPx(c.Left - 2, c.Top + 2), Sys(clBtnShadow)) << "beside the item";
    M->SetItemIndex(1);  // shows its page
    const TRect p = ItemRect(1);
    EXPECT_EQ(MenuPx(c.Left + 2, c.Top + 2), Sys(clBtnShadow)) << "no longer selected";
    EXPECT_EQ(MenuPx(p.Left + 2, p.Top + 2), Sys(clBtnFace)) << "a page item has no frame";
    bool arrow = false;
    for (int x = p.Right - 5; x < p.Right; ++x)
        for (int y = p.Top; y < p.Bottom; ++y) arrow |= MenuPx(x, y) == Sys(clWindow);
    EXPECT_TRUE(arrow) << "the arrow at the right end points at the page";
    R->HideAppMenu(nullptr);
}

TEST_F(AppMenuPaint, SkinnedItemFaceActivePageFrameAndGrip)
{
    Def = std::make_unique<SyntheticSkin>();
    FrameSkin f;
    AddFrame(*Def, f);
    const int p = Def->AddPicture(80, 20);
    Def->Block(p, Rect(0, 0, 10, 10), kNormal, false);
    Def->Block(p, Rect(2, 2, 8, 8), kExtra1, false);
    Def->Block(p, Rect(10, 0, 30, 10), kHot, false);     // command item face
    Def->Block(p, Rect(30, 0, 50, 10), kFocused, false);  // page item faces
    Def->Block(p, Rect(50, 0, 60, 10), kDown, false);     // grip, its corner in the key colour
    Def->Pixel(p, 50, 0, 0x00FF00);
    Def->Control("appmenu", "appmenu",
                 "pictureindex=" + std::to_string(Def->ActiveIndex(p)) +
                     "\nskinrect=0,0,10,10\nclientrect=2,2,8,8\nlefttoppoint=2,2\nrighttoppoint=8,2\n"
                     "leftbottompoint=2,8\nrightbottompoint=8,8\nitemrect=10,0,30,10\npageitemrect=30,0,50,10\n"
                     "pageitemactiverect=30,0,50,10\ngripperrect=50,0,60,10\ngrippertransparentcolor=65280");
    Def->LoadInto(Model);
    SF->SetSkinData(Model);
    M->SetSkinData(Model);
    R->ShowAppMenu();
    M->SetItemIndex(0);
    const TRect c = ItemRect(0);
    EXPECT_EQ(MenuPx(c.Left + 1, c.Top + 1), kHot) << "the command item's face";
    // The grip in the bottom-right corner, transparent where the key colour is.
    const int w = M->Width(), h = M->Height();
    EXPECT_EQ(MenuPx(w - 1, h - 1), kDown);
    EXPECT_NE(MenuPx(w - 10, h - 10), 0x00FF00u);
    // The page item's page is shown inside the record's frame.
    M->SetItemIndex(1);
    const TRect page = M->Items()->Items(1)->Page()->BoundsRect();
    ASSERT_FALSE(page.IsEmpty());
    EXPECT_EQ(MenuPx(page.Left - 1, page.Top + 5), kNormal);
    EXPECT_EQ(MenuPx(page.Left + 5, page.Top - 1), kNormal);
    EXPECT_NE(MenuPx(c.Left + 1, c.Top + 1), kHot) << "no longer highlighted";
    // No grip on a maximized form.
    SF->SetWindowState(wsMaximized);
    Pump();
    EXPECT_NE(MenuPx(M->Width() - 1, M->Height() - 1), kDown);
    R->HideAppMenu(nullptr);
}
