// The skinned tree view: its external bars (shown when the nodes or the widest row do not fit,
// the corner, scrolling by the bar, following the tree's own scrolling by keys and wheel
// silently), the default colour without a record, and the DrawSkin node painter's pixels
// (selected node focused and not, fading connectors, plus and minus boxes, roots without
// ShowRoot).
#include <gtest/gtest.h>

#include "skin/controls/skin_tree_view.h"
#include "skin/core/marks.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

struct TreeViewTest : SkinControlFixture {
    TbsSkinCustomTreeView* Tree = nullptr;
    TbsSkinScrollBar* HBar = nullptr;
    TbsSkinScrollBar* VBar = nullptr;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 300, 250);
    }
    TbsSkinCustomTreeView* Make(bool Bars)
    {
        Tree = new TbsSkinCustomTreeView(Form);
        Tree->SetBounds(0, 0, 150, 100);
        Tree->SetParent(Form);
        if (!Bars) return Tree;
        HBar = new TbsSkinScrollBar(Form);
        HBar->SetBounds(0, 100, 150, 19);
        HBar->SetParent(Form);
        VBar = new TbsSkinScrollBar(Form);
        VBar->SetKind(sbVertical);
        VBar->SetBounds(150, 0, 19, 100);
        VBar->SetParent(Form);
        Tree->SetHScrollBar(HBar);
        Tree->SetVScrollBar(VBar);
        return Tree;
    }
};

}  // namespace

TEST_F(TreeViewTest, BarsFollowTheNodesAndScrollTheTree)
{
    Make(true);
    ShowForm();
    TTreeNodes* n = Tree->Items();
    n->Add(nullptr, L"a");
    Pump();
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Visible());
    for (int i = 0; i < 20; ++i) n->Add(nullptr, L"n" + IntToStr(i));
    Pump();
    ASSERT_TRUE(VBar->Visible());
    EXPECT_EQ(VBar->PageSize(), Tree->VisibleCount());
    EXPECT_EQ(VBar->Max(), 20);
    EXPECT_FALSE(HBar->Visible());

    // Dragging the bar sets the top row.
    VBar->SetPosition(3);
    EXPECT_EQ(Tree->TopItem(), n->Item(3));
    // The tree's own scrolling moves the bar at the next paint, without its OnChange.
    Tree->SetFocus();
    PressKey(VK_HOME);
    Pump();
    EXPECT_EQ(Tree->TopItem(), n->Item(0));
    EXPECT_EQ(VBar->Position(), 0);

    // A row wider than the tree: the horizontal bar, its page the tree's width, with the corner.
    n->Add(nullptr, String(60, L'w'));
    Pump();
    ASSERT_TRUE(HBar->Visible());
    EXPECT_EQ(HBar->PageSize(), Tree->Width());
    EXPECT_TRUE(HBar->Both());
    HBar->SetPosition(20);
    EXPECT_EQ(n->Item(0)->DisplayRect(true).Left, Tree->Indent() - 20);
    while (n->Count() > 2) n->Delete(n->Item(0));
    Pump();
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Both());
}

TEST_F(TreeViewTest, KeysAndWheelMoveTheBarsSilently)
{
    Make(true);
    ShowForm();
    TTreeNodes* n = Tree->Items();
    for (int i = 0; i < 30; ++i) n->Add(nullptr, L"n" + IntToStr(i));
    Pump();
    ASSERT_TRUE(VBar->Visible());
    int changes = 0;
    TNotifyEvent link = VBar->OnChange;
    VBar->OnChange = [&](TObject* Sender) {
        ++changes;
        link(Sender);
    };
    Tree->SetFocus();
    // A wheel notch scrolls three rows; the bar follows at the next paint.
    TPoint p = Screen(Tree, 50, 50);
    vxwin::InjectMouseMove(p.X, p.Y);
    vxwin::InjectMouseWheel(-WHEEL_DELTA, p.X, p.Y);
    Pump();
    EXPECT_EQ(Tree->TopItem(), n->Item(3));
    EXPECT_EQ(VBar->Position(), 3);
    // Keys select the last node and bring it into view.
    PressKey(VK_END);
    Pump();
    EXPECT_EQ(VBar->Position(), VBar->Max() - VBar->PageSize() + 1);
    EXPECT_EQ(Tree->TopItem(), n->Item(VBar->Position()));
    EXPECT_EQ(changes, 0);  // none of it came from the bar
    // The bar itself still scrolls the tree.
    VBar->SetPosition(5);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(Tree->TopItem(), n->Item(5));
}

TEST_F(TreeViewTest, DefaultColourAppliesAtOnceOnlyWithoutARecord)
{
    SyntheticSkin skin;
    skin.Control("treeview", "treeview", "fontcolor=0\r\nbgcolor=" + IniColor(0xF0E0D0) + "\r\n");
    skin.LoadInto(Model);
    Make(false);
    Tree->SetDefaultColor(clYellow);
    EXPECT_EQ(Tree->Color(), clYellow);
    Tree->SetSkinData(Model);
    EXPECT_EQ(RgbOf(Tree->Color()), 0xF0E0D0u);
    Tree->SetDefaultColor(clRed);
    EXPECT_EQ(RgbOf(Tree->Color()), 0xF0E0D0u);
    // Lines a quarter, buttons half-way from the background toward the text colour.
    EXPECT_EQ(RgbOf(Tree->LineColor()), 0xB4A89Cu);
    EXPECT_EQ(RgbOf(Tree->ButtonColor()), 0x787068u);
    // No record: the default colour and grey lines.
    Tree->SetSkinDataName(L"none");
    Tree->ChangeSkinData();
    EXPECT_EQ(Tree->Color(), clRed);
    EXPECT_EQ(RgbOf(Tree->LineColor()), 0x808080u);
}

namespace {

void AddTreeSkin(SyntheticSkin& s)
{
    int p = s.AddPicture(40, 10);
    s.Block(p, Rect(0, 0, 20, 10), kHot, false);
    s.Block(p, Rect(20, 0, 40, 10), kFocused, false);
    s.Control("listbox", "listbox",
              "pictureindex=0\r\nactiveitemrect=0,0,20,10\r\nfocusitemrect=20,0,40,10\r\nitemtextrect=2,2,18,8\r\n");
    s.Control("treeview", "treeview", "fontcolor=0\r\nbgcolor=" + IniColor(0xFFFFFF) + "\r\n");
}

}  // namespace

TEST_F(TreeViewTest, DrawSkinPaintsNodesLinesAndBoxes)
{
    SyntheticSkin skin;
    AddTreeSkin(skin);
    skin.LoadInto(Model);
    Make(false);
    Tree->SetSkinData(Model);
    Tree->SetDrawSkin(true);
    TTreeNodes* n = Tree->Items();
    TTreeNode* root = n->Add(nullptr, L"");
    TTreeNode* leaf = n->AddChild(root, L"");
    n->Add(nullptr, L"");
    root->Expand(false);
    Tree->SetSelected(leaf);
    ShowForm();
    const uint32_t line = 0xBFBFBF, button = 0x7F7F7F;
    const TRect rootRow = root->DisplayRect(false), leafRow = leaf->DisplayRect(false);
    const int rootCy = rootRow.Top + rootRow.Height() / 2, leafCy = leafRow.Top + leafRow.Height() / 2;

    // The root's plus/minus box (half-size 5 around x 9) framed in the button colour.
    EXPECT_EQ(PixelAt(Tree, 4, rootCy), button);
    EXPECT_EQ(PixelAt(Tree, 12, rootCy), button);
    // The leaf's connector from x 27 to 38: solid in its left half, fading out in its right half.
    for (int x = 27; x < 32; ++x) EXPECT_EQ(PixelAt(Tree, x, leafCy - 1), line) << x;
    uint32_t previous = line & 0xFF;
    for (int x = 32; x < 37; ++x) {
        uint32_t v = PixelAt(Tree, x, leafCy - 1) & 0xFF;
        EXPECT_GT(v, previous) << x;
        previous = v;
    }
    EXPECT_EQ(PixelAt(Tree, 37, leafCy - 1), 0xFFFFFFu);
    // The leaf's line up to its parent.
    EXPECT_EQ(PixelAt(Tree, 27, leafRow.Top), line);

    // The selected node: the active picture, then the focused one with the focus.
    const TRect text = leaf->DisplayRect(true);
    const int tx = text.Left + 1, ty = text.Top + text.Height() / 2;
    EXPECT_EQ(PixelAt(Tree, tx, ty), kHot);
    Tree->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(Tree, tx, ty), kFocused);

    // An indent of 10 leaves the root's connector one pixel long: drawn whole, not faded.
    Tree->SetIndent(10);
    Pump();
    EXPECT_EQ(PixelAt(Tree, 9, rootCy - 1), line);
    Tree->SetIndent(19);

    // Without ShowRoot every node moves one Indent left.
    Tree->SetShowRoot(false);
    Pump();
    EXPECT_EQ(PixelAt(Tree, 27 - Tree->Indent(), leafCy - 1), line);
    EXPECT_EQ(PixelAt(Tree, 27, leafCy - 1), 0xFFFFFFu);
}
