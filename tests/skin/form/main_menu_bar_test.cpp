// The main menu bar: item widths and fitting behind the marker, merging by GroupIndex, keyboard
// menu mode (Alt, the arrows, Return, accelerators, shortcuts), switching open submenus, command
// items, and accelerator underlines only in menu mode.
#include "skin/form/main_menu_bar.h"

#include "skin/core/marks.h"
#include "skin/core/text_layout.h"
#include "tests/skin/support/synthetic_menu_skin.h"

#include "tests/skin/form/menu_test_support.h"

namespace {

struct MainMenuBarTest : MenuFixture {
    TbsSkinMainMenuBar* Bar = nullptr;
    TbsSkinMainMenu* Main = nullptr;

    void SetUp() override
    {
        MenuFixture::SetUp();
        Main = new TbsSkinMainMenu(Form);
        Bar = new TbsSkinMainMenuBar(Form);
        Bar->SetParent(Form);
        Bar->SetSkinForm(SF);
        SF->SetMainMenuBar(Bar);
    }
    // File(Open, Exit), Edit(Cut), View(Zoom), Help (a command with F1).
    void Standard()
    {
        TMenuItem* file = Add(Main->Items(), L"&File");
        Add(file, L"&Open");
        Add(file, L"E&xit");
        Add(Add(Main->Items(), L"&Edit"), L"Cut");
        Add(Add(Main->Items(), L"&View"), L"Zoom");
        Add(Main->Items(), L"&Help")->SetShortCut(ShortCut(VK_F1, {}));
        Bar->SetMainMenu(Main);
        Pump();
    }
    TbsSkinMainMenuBarItem* Item(int I) const { return Bar->ItemAt(I); }
    int DownItem() const
    {
        for (int i = 0; i < static_cast<int>(Bar->ObjectList.size()); ++i)
            if (Item(i)->FDown) return i;
        return -1;
    }
    std::string OpenCaption() const
    {
        return Levels() ? StringToUtf8(Level(Levels() - 1)->Item(0)->MenuItem->Caption()) : std::string();
    }
    void Alt()
    {
        PressKey(VK_MENU);
        Pump();
    }
};

TEST_F(MainMenuBarTest, WidthsFittingAndTheMarker)
{
    Standard();
    ASSERT_EQ(Bar->ObjectList.size(), 4u);
    TCanvas* c = Bar->Scratch.Canvas();
    c->Font()->Assign(Bar->DefItemFont);
    int left = 2;
    for (int i = 0; i < 4; ++i) {
        TRect m{};
        DrawWideText(c, Item(i)->MenuItem->Caption(), m, DT_CALCRECT | DT_CENTER);
        EXPECT_EQ(Item(i)->ObjectRect, Rect(left, 2, left + RectWidth(m) + 12, Bar->Height() - 2)) << i;
        left = Item(i)->ObjectRect.Right;
    }
    // Narrower than its items: the last ones hide, disabled, and come back with the room.
    const int need = Item(2)->ObjectRect.Right;
    Bar->SetAlign(alNone);
    Bar->SetBounds(0, 0, need + 2, 22);
    Pump();
    EXPECT_TRUE(Item(0)->ItemVisible);
    EXPECT_TRUE(Item(1)->ItemVisible);
    EXPECT_FALSE(Item(2)->ItemVisible) << "its right edge passes the marker";
    EXPECT_FALSE(Item(2)->Enabled);
    EXPECT_FALSE(Item(3)->ItemVisible);
    EXPECT_TRUE(Bar->Scroll);
    // The marker lists the top-level items from the first hidden one.
    const TRect mr = Bar->MarkerRect();
    const TPoint p = Bar->ClientToScreen(Point(mr.Left + 2, mr.Top + 5));
    Click(p.X, p.Y);
    Pump();
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(OpenCaption(), "&View");
    EXPECT_EQ(Level(0)->ItemCount(), 2);
    Engine->Hide();
    Bar->SetBounds(0, 0, 390, 22);
    Pump();
    EXPECT_TRUE(Item(2)->ItemVisible);
    EXPECT_TRUE(Item(2)->Enabled);
    EXPECT_FALSE(Bar->Scroll);
}

TEST_F(MainMenuBarTest, MergeByGroupIndex)
{
    TMenuItem* file = Add(Main->Items(), L"File");
    TMenuItem* edit = Add(Main->Items(), L"Edit");
    TMenuItem* help = Add(Main->Items(), L"Help");
    Add(Main->Items(), L"Hidden")->SetVisible(false);
    file->SetGroupIndex(0);
    edit->SetGroupIndex(2);
    help->SetGroupIndex(9);
    auto* child = new TMainMenu(Form);
    Add(child->Items(), L"Child edit")->SetGroupIndex(2);
    Add(child->Items(), L"Window")->SetGroupIndex(5);
    Bar->SetMainMenu(Main);
    EXPECT_EQ(Bar->ObjectList.size(), 3u) << "no item for an invisible one";
    Bar->Merge(child);
    std::vector<std::string> shown;
    for (int i = 0; i < static_cast<int>(Bar->ObjectList.size()); ++i)
        shown.push_back(StringToUtf8(Item(i)->MenuItem->Caption()));
    EXPECT_EQ(shown, (std::vector<std::string>{"File", "Child edit", "Window", "Help"}));
    EXPECT_FALSE(Bar->ScrollMenu) << "merging switches the marker off for good";
    Bar->UnMerge();
    EXPECT_EQ(Bar->ObjectList.size(), 3u);
    EXPECT_FALSE(Bar->ScrollMenu);
}

TEST_F(MainMenuBarTest, AltArrowsAndReturn)
{
    Standard();
    Alt();
    EXPECT_TRUE(Bar->MenuActive);
    EXPECT_TRUE(SF->InMainMenu);
    EXPECT_TRUE(Item(0)->Active) << "the first item highlighted";
    EXPECT_EQ(Levels(), 0);
    Key(VK_RIGHT);
    EXPECT_TRUE(Item(1)->Active);
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_TRUE(Item(3)->Active) << "Left wraps to the last";
    Key(VK_RIGHT);
    EXPECT_TRUE(Item(0)->Active) << "Right wraps to the first";
    Key(VK_DOWN);
    ASSERT_EQ(Levels(), 1);
    EXPECT_EQ(OpenCaption(), "&Open");
    EXPECT_EQ(DownItem(), 0);
    // With a submenu open, Right and Left move the open submenu; unnamed items are told apart.
    Key(VK_RIGHT);
    EXPECT_EQ(DownItem(), 1);
    EXPECT_EQ(OpenCaption(), "Cut");
    Key(VK_RIGHT);
    EXPECT_EQ(OpenCaption(), "Zoom");
    Key(VK_LEFT);
    Key(VK_LEFT);
    EXPECT_EQ(OpenCaption(), "&Open");
    Events.clear();
    Key(VK_RETURN);
    EXPECT_EQ(Events, (menutest::Log{"form 1228", "click Open"}));
    EXPECT_FALSE(Bar->MenuActive) << "the chosen entry ends menu mode";
    EXPECT_FALSE(SF->InMainMenu);
    EXPECT_EQ(DownItem(), -1);

    // Escape on an open submenu keeps menu mode with the item highlighted; again leaves it.
    Alt();
    Key(VK_DOWN);
    Key(VK_ESCAPE);
    EXPECT_EQ(Levels(), 0);
    EXPECT_TRUE(SF->InMainMenu);
    EXPECT_TRUE(Item(0)->Active);
    Key(VK_ESCAPE);
    EXPECT_FALSE(SF->InMainMenu);
    EXPECT_FALSE(Bar->MenuActive);
}

TEST_F(MainMenuBarTest, AcceleratorsShortcutsAndCommandItems)
{
    Standard();
    PressKey('E', kAlt);
    Pump();
    ASSERT_EQ(Levels(), 1) << "Alt+E opens Edit";
    EXPECT_EQ(OpenCaption(), "Cut");
    EXPECT_TRUE(SF->InMainMenu);
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_FALSE(SF->InMainMenu);

    Events.clear();
    PressKey(VK_F1);
    Pump();
    EXPECT_EQ(Events, (menutest::Log{"click Help"})) << "the menu's shortcut";

    // Alt+F4 is never an accelerator, though VK_F4 is the code of "s".
    TMenuItem* s = Add(Main->Items(), L"&Settings");
    Add(s, L"One");
    Bar->UpDateItems();
    TMessage m{WM_SYSKEYDOWN, VK_F4, 1 << 29, 0};
    bool handled = false;
    Form->OnShortCut(m, handled);
    EXPECT_FALSE(handled);
    EXPECT_EQ(Levels(), 0);
    TMessage space{WM_SYSKEYDOWN, VK_SPACE, 1 << 29, 0};
    Form->OnShortCut(space, handled);
    EXPECT_TRUE(handled) << "Alt+Space is always taken";
    Engine->Hide();

    // A command item clicked on the bar runs and ends menu mode.
    Alt();
    Events.clear();
    const TRect r = Item(3)->ObjectRect;
    const TPoint p = Bar->ClientToScreen(Point(r.Left + 3, r.Top + 3));
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(Events, (menutest::Log{"click Help"}));
    EXPECT_FALSE(SF->InMainMenu);
    EXPECT_FALSE(Bar->MenuActive);
}

TEST_F(MainMenuBarTest, NoItemsAndUnderlines)
{
    Bar->SetMainMenu(Main);
    Pump();
    Bar->EnterMenuMode();
    EXPECT_TRUE(Bar->MenuActive);
    EXPECT_FALSE(SF->InMainMenu) << "nothing to highlight: no menu mode on the form";
    Bar->LeaveMenuMode();

    Standard();
    vxwin::InjectMouseMove(5, 290);
    Pump();
    auto pixels = [this] {
        int w = 0, h = 0;
        return vxwin::WindowPixels(Bar->Handle(), &w, &h);
    };
    int w = 0, h = 0;
    vxwin::WindowPixels(Bar->Handle(), &w, &h);
    const auto plain = pixels();
    Alt();
    Item(0)->Active = false;  // compare the caption alone, not the highlight
    Item(0)->FMouseIn = false;
    Bar->DrawBar(nullptr);
    const auto menuMode = pixels();
    std::vector<int> rows;
    const TRect r = Item(0)->ObjectRect;
    for (int y = 0; y < h; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            if (plain[static_cast<size_t>(y * w + x)] != menuMode[static_cast<size_t>(y * w + x)]) {
                rows.push_back(y);
                break;
            }
    ASSERT_FALSE(rows.empty()) << "the underline appears in menu mode";
    // The underline: new ink on a row that had none.
    const int y = rows.back();
    const uint32_t bg = plain[static_cast<size_t>(y * w + r.Right - 2)];
    int was = 0, now = 0;
    for (int x = r.Left + 2; x < r.Right - 2; ++x) {
        was += plain[static_cast<size_t>(y * w + x)] != bg;
        now += menuMode[static_cast<size_t>(y * w + x)] != bg;
    }
    EXPECT_EQ(was, 0);
    EXPECT_GE(now, 3);
    Key(VK_ESCAPE);
}

// Tool-bar mode with the skin's sizes: the caption sits in the middle of the tool button's
// content area, so moving that area down by 4 moves the caption's ink down by 4.
TEST_F(MainMenuBarTest, ToolBarModeCentresTheCaptionInTheContentArea)
{
    std::vector<int> inkTop;
    for (const char* client : {"2,0,38,16", "2,4,38,20"}) {
        skintest::SyntheticSkin s;
        skintest::AddMenuSkin(s);
        const int p = s.AddPicture(40, 20);
        s.Block(p, Rect(0, 0, 40, 20), skintest::kExtra3, false);
        s.Control("resizetoolbutton", "button",
                  "pictureindex=" + std::to_string(s.ActiveIndex(p)) +
                      "\r\nskinrect=0,0,40,20\r\nlefttoppoint=2,0\r\nrighttoppoint=38,0\r\nleftbottompoint=2,20\r\n"
                      "rightbottompoint=38,20\r\nclientrect=" +
                      client + "\r\nfontname=Tahoma\r\nfontheight=13\r\nfontcolor=0\r\n");
        auto* model = new TbsSkinData(Form);
        s.LoadInto(model);
        Bar->ToolBarMode = true;
        Bar->UseSkinSize = true;
        Bar->SetSkinData(model);
        Add(Main->Items(), L"Mm");
        Bar->SetMainMenu(Main);
        Pump();
        Bar->DrawBar(nullptr);
        int w = 0, h = 0;
        const auto px = vxwin::WindowPixels(Bar->Handle(), &w, &h);
        const TRect r = Item(0)->ObjectRect;
        ASSERT_GT(RectHeight(r), 0);
        int top = -1;
        for (int y = r.Top; y < r.Bottom && top < 0; ++y)
            for (int x = r.Left; x < r.Right; ++x)
                if ((px[static_cast<size_t>(y * w + x)] & 0xFFFFFF) == 0) {
                    top = y;
                    break;
                }
        ASSERT_GE(top, 0) << "the caption is drawn";
        inkTop.push_back(top);
        Bar->SetMainMenu(nullptr);
        Main->Items()->Clear();
        Bar->SetSkinData(nullptr);
        model->Free();
    }
    EXPECT_EQ(inkTop[1] - inkTop[0], 4);
}

}  // namespace
