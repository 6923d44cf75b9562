// The images menu: the grid's rows, keys that wrap sideways and stop up and down, the events of a
// choice in their order, an outside click choosing nothing, opening above near the bottom, and
// images without items showing nothing.
#include "skin/form/images_menu.h"

#include "platform/framework/graphics/image_list.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

struct ImagesMenuTest : SkinFormFixture {
    TbsSkinImagesMenu* Menu = nullptr;
    std::vector<std::string> Events;

    void SetUp() override
    {
        Make(300, 200);
        Show();
        auto* il = new TCustomImageList(Form, 16, 16);
        TBitmap b;
        b.SetPixelFormat(pf24bit);
        b.SetSize(16, 16);
        for (int i = 0; i < 4; ++i) il->Add(&b, nullptr);
        Menu = new TbsSkinImagesMenu(Form);
        Menu->SetImages(il);
        auto log = [this](const char* N) { return [this, N](TObject*) { Events.push_back(N); }; };
        Menu->OnInternalMenuClose = log("internal close");
        Menu->OnMenuClose = log("close");
        Menu->OnItemClick = log("item click");
        Menu->OnInternalChange = log("internal change");
        Menu->OnChange = log("change");
    }
    TbsImagesMenuItem* AddCell(int Image = 0)
    {
        TbsImagesMenuItem* i = Menu->ImagesItems()->AddItem();
        i->ImageIndex = Image;
        i->OnClick = [this](TObject*) { Events.push_back("click"); };
        return i;
    }
    TRect Cell(int I) const { return Menu->ImagesItems()->Item(I)->ItemRect; }
    TbsSkinImagesMenuPopupWindow* W() const { return Menu->PopupWindow(); }
    void Key(int Vk)
    {
        PressKey(Vk);
        Pump();
    }
};

TEST_F(ImagesMenuTest, GridRowsAndSize)
{
    Menu->SetColumnsCount(4);
    for (int i = 0; i < 10; ++i) AddCell(i % 4);
    Menu->SetColumnsCount(0);
    Menu->SetColumnsCount(51);
    EXPECT_EQ(Menu->ColumnsCount(), 4) << "0 and 51 are ignored";
    Menu->Popup(100, 100);
    ASSERT_NE(W(), nullptr);
    // Cells of 26 x 26 touching sideways, rows 1 pixel apart: 4, 4, 2.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Cell(i), Rect(5 + (i % 4) * 26, 5 + (i / 4) * 27, 5 + (i % 4) * 26 + 26, 5 + (i / 4) * 27 + 26)) << i;
    EXPECT_EQ(W()->Width(), 4 * 26 + 10);
    EXPECT_EQ(W()->Height(), (2 * 27 + 26) + 10);
    Menu->Hide();
    // A button after a half row starts a new one; a cell after it starts at the left.
    TbsImagesMenuItem* b = Menu->ImagesItems()->AddItem();
    b->Button = true;
    b->Caption = L"Button";
    AddCell();
    Menu->Popup(100, 100);
    EXPECT_EQ(Cell(10), Rect(5, 5 + 3 * 27, 5 + 104, 5 + 3 * 27 + 26));
    EXPECT_EQ(Cell(11).Left, 5);
    EXPECT_EQ(Cell(11).Top, 5 + 4 * 27);
    Menu->Hide();
}

TEST_F(ImagesMenuTest, KeysAndTheEventsOfAChoice)
{
    Menu->SetColumnsCount(4);
    for (int i = 0; i < 10; ++i) AddCell();
    Menu->ItemIndex = 2;
    Menu->Popup(100, 100);
    Key(VK_LEFT);
    EXPECT_EQ(W()->MouseInItem, 9) << "Left with nothing hot: the last";
    Key(VK_RIGHT);
    EXPECT_EQ(W()->MouseInItem, 0) << "Right on the last wraps";
    Key(VK_LEFT);
    EXPECT_EQ(W()->MouseInItem, 9) << "Left on the first wraps";
    Key(VK_DOWN);
    EXPECT_EQ(W()->MouseInItem, 9) << "Down stops at the bottom";
    Key(VK_UP);
    EXPECT_EQ(W()->MouseInItem, 5);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(W()->MouseInItem, 1) << "Up stops at the top";
    Events.clear();
    Key(VK_RETURN);
    EXPECT_EQ(Events, (std::vector<std::string>{"internal close", "close", "click", "item click", "internal change",
                                                "change"}));
    EXPECT_EQ(Menu->ItemIndex, 1);
    EXPECT_EQ(W(), nullptr);
    Pump();

    // The same item again: no change events. A release on an item chooses it.
    Menu->Popup(100, 100);
    Events.clear();
    const TPoint o = W()->ClientToScreen(Point(0, 0));
    Click(o.X + Cell(1).Left + 5, o.Y + Cell(1).Top + 5);
    Pump();
    EXPECT_EQ(Events, (std::vector<std::string>{"internal close", "close", "click", "item click"}));
    EXPECT_EQ(W(), nullptr);

    // A click outside every item's window closes without a choice.
    Menu->Popup(100, 100);
    Events.clear();
    Click(600, 600);
    Pump();
    EXPECT_EQ(Events, (std::vector<std::string>{"internal close", "close"}));
    EXPECT_EQ(W(), nullptr);
    EXPECT_EQ(Menu->ItemIndex, 1);
}

TEST_F(ImagesMenuTest, PlacementAndEmptyMenus)
{
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 800, 600}, RECT{0, 0, 800, 600}));
    for (int i = 0; i < 3; ++i) AddCell();
    Menu->PopupFromRect(Rect(100, 580, 160, 596));
    ASSERT_NE(W(), nullptr);
    EXPECT_EQ(W()->Top() + W()->Height(), 580) << "above the rectangle near the bottom";
    Menu->Hide();
    Menu->PopupFromRect(Rect(790, 100, 795, 110));
    EXPECT_EQ(W()->Left() + W()->Width(), 800) << "shifted in from the right";
    Menu->Hide();

    // Images but no items: nothing shows; whoever dropped it is released.
    Menu->ImagesItems()->Clear();
    Events.clear();
    Menu->Popup(100, 100);
    EXPECT_EQ(W(), nullptr);
    EXPECT_EQ(Events, (std::vector<std::string>{"internal close", "close"}));
    vxwin::SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 984});
}

}  // namespace
