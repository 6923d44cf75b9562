// TTreeView: the node tree (levels, order, visible order), expanding and collapsing with their
// events, selection by program, keys and mouse with OnChanging able to refuse, deletion, and the
// advanced custom-draw hook.
#include <gtest/gtest.h>

#include "platform/framework/controls/tree_view.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/image_list.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct TreeViews : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 300, 300, clBtnFace);
        tv = new TTreeView(f);
        tv->SetBounds(0, 0, 300, 300);
        tv->SetParent(f);
        TTreeNodes* n = tv->Items();
        root = n->Add(nullptr, L"我的电脑");
        a = n->AddChild(root, L"a");
        a1 = n->AddChild(a, L"a1");
        b = n->AddChild(root, L"b");
        other = n->Add(root, L"other");
        f->Show();
        Pump();
    }
    TPoint NodePoint(TTreeNode* node, int x)
    {
        TRect r = node->DisplayRect(false);
        return tv->ClientToScreen(Point(x, (r.Top + r.Bottom) / 2));
    }
    TForm* f = nullptr;
    TTreeView* tv = nullptr;
    TTreeNode *root, *a, *a1, *b, *other;
};
}  // namespace

TEST_F(TreeViews, StructureAndOrder)
{
    EXPECT_EQ(tv->Items()->Count(), 5);
    EXPECT_EQ(a1->Level(), 2);
    EXPECT_EQ(a1->Parent(), a);
    EXPECT_EQ(b->AbsoluteIndex(), 3);
    EXPECT_EQ(tv->Items()->Item(4), other);
    EXPECT_EQ(a->GetNextSibling(), b);
    EXPECT_EQ(b->GetPrevSibling(), a);
    EXPECT_EQ(a1->GetNext(), b);
    EXPECT_EQ(b->GetPrev(), a1);
    EXPECT_TRUE(root->HasChildren());
    EXPECT_FALSE(b->HasChildren());
    // Only the roots show until something is expanded.
    EXPECT_EQ(root->GetNextVisible(), other);
    EXPECT_EQ(tv->VisibleNodeCount(), 2);
    root->Expand(true);
    EXPECT_EQ(tv->VisibleNodeCount(), 5);
    EXPECT_EQ(root->GetNextVisible(), a);
    EXPECT_EQ(a1->GetNextVisible(), b);
    EXPECT_EQ(other->GetPrevVisible(), b);
    EXPECT_EQ(tv->GetNodeAt(5, tv->ItemHeight() * 2 + 1), a1);
    EXPECT_EQ(a1->DisplayRect(false).Top, 2 * tv->ItemHeight());
    EXPECT_GT(a1->DisplayRect(true).Left, a->DisplayRect(true).Left);
    EXPECT_THROW(tv->Items()->Item(5), EListError);
}

TEST_F(TreeViews, ExpandCollapseAndSelection)
{
    std::vector<std::string> log;
    tv->OnChange = [&](TObject*, TTreeNode* n) {
        log.push_back("change:" + (n ? std::to_string(n->AbsoluteIndex()) : "-"));
    };
    tv->OnExpanded = [&](TObject*, TTreeNode* n) { log.push_back("expanded:" + std::to_string(n->AbsoluteIndex())); };
    tv->OnCollapsing = [&](TObject*, TTreeNode*, bool& allow) { allow = log.size() < 100; };
    a1->SetSelected(true);  // selecting shows it: its parents expand
    EXPECT_TRUE(root->Expanded());
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(tv->Selected(), a1);
    root->Collapse(false);  // the hidden selection moves up to the collapsed node
    EXPECT_EQ(tv->Selected(), root);
    EXPECT_EQ(log, (std::vector<std::string>{"expanded:0", "expanded:1", "change:2", "change:0"}));

    // Keys: Right expands, then goes in; Left goes out, then collapses.
    log.clear();
    tv->SetFocus();
    Pump();
    PressKey(VK_RIGHT);
    PressKey(VK_RIGHT);
    Pump();
    EXPECT_EQ(tv->Selected(), a);
    PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(tv->Selected(), a1);  // a stayed expanded
    PressKey(VK_LEFT);
    PressKey(VK_LEFT);
    Pump();
    EXPECT_EQ(tv->Selected(), a);
    EXPECT_FALSE(a->Expanded());

    // OnChanging may refuse a change.
    tv->OnChanging = [&](TObject*, TTreeNode* n, bool& allow) { allow = n != b; };
    PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(tv->Selected(), a);
    tv->OnChanging = nullptr;

    // A click on a node's button toggles it; on its text selects it.
    TPoint btn = NodePoint(a, tv->Indent() + tv->Indent() / 2);
    vxwin::AdvanceClock(2000);
    Click(btn.X, btn.Y);
    Pump();
    EXPECT_TRUE(a->Expanded());
    TPoint text = NodePoint(b, b->DisplayRect(true).Left + 5);
    vxwin::AdvanceClock(2000);
    Click(text.X, text.Y);
    Pump();
    EXPECT_EQ(tv->Selected(), b);

    // Deleting the selected node leaves no selection and says so.
    log.clear();
    b->Delete();
    EXPECT_EQ(tv->Selected(), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"change:-"}));
    EXPECT_EQ(tv->Items()->Count(), 4);
    tv->Items()->Clear();
    EXPECT_EQ(tv->Items()->GetFirstNode(), nullptr);
}

TEST_F(TreeViews, CustomDrawSeesEveryVisibleNodeInBothStages)
{
    root->Expand(false);
    std::vector<std::string> seen;
    tv->OnAdvancedCustomDrawItem = [&](TCustomTreeView*, TTreeNode* n, TCustomDrawState, TCustomDrawStage stage, bool&,
                                       bool& def) {
        seen.push_back(StringToUtf8(n->Text()) + (stage == cdPrePaint ? "<" : ">"));
        if (n == other) def = false;  // drawn by the handler: no post stage, no text
    };
    tv->Invalidate();
    Pump();
    EXPECT_EQ(seen, (std::vector<std::string>{"我的电脑<", "我的电脑>", "a<", "a>", "b<", "b>", "other<"}));
}

TEST_F(TreeViews, VerticalScrollBarFollowsTheVisibleNodes)
{
    TTreeNodes* n = tv->Items();
    n->BeginUpdate();
    for (int i = 0; i < 40; ++i) n->AddChild(b, L"x" + std::to_wstring(i));
    n->EndUpdate();
    root->Expand(false);
    b->Expand(false);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(tv->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nMax, tv->VisibleNodeCount() - 1);
    EXPECT_EQ(static_cast<int>(si.nPage), tv->VisibleCount());
    tv->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3));
    EXPECT_EQ(tv->TopItem(), b->Item(0));  // rows: the root, a, b, then b's children
    GetScrollInfo(tv->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, 3);
    tv->Perform(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(tv->TopItem(), b);
}

// The horizontal range is the widest visible row; WM_HSCROLL moves the rows left within it.
TEST_F(TreeViews, HorizontalScrollBarFollowsTheWidestVisibleRow)
{
    tv->SetWidth(120);
    Pump();
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    auto width = [&] {
        GetScrollInfo(tv->Handle(), SB_HORZ, &si);
        return si.nMax + 1;
    };
    const int rootRight = root->DisplayRect(true).Right;
    EXPECT_EQ(width(), rootRight);
    EXPECT_EQ(static_cast<int>(si.nPage), tv->ClientWidth());
    TTreeNode* wide = tv->Items()->AddChild(a1, String(60, L'w'));
    EXPECT_EQ(width(), rootRight);  // hidden in a collapsed parent
    wide->MakeVisible();            // opens the parents
    EXPECT_TRUE(a->Expanded());
    const int wideRight = wide->DisplayRect(true).Right;
    EXPECT_EQ(width(), wideRight);
    ASSERT_GT(wideRight, tv->ClientWidth());

    const int textLeft = wide->DisplayRect(true).Left;
    tv->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30));
    EXPECT_EQ(wide->DisplayRect(true).Left, textLeft - 30);
    GetScrollInfo(tv->Handle(), SB_HORZ, &si);
    EXPECT_EQ(si.nPos, 30);
    tv->Perform(WM_HSCROLL, SB_BOTTOM);  // no further than the widest row's end
    EXPECT_EQ(wide->DisplayRect(true).Right, tv->ClientWidth());
    wide->Delete();  // narrower content pulls the rows back
    EXPECT_EQ(root->DisplayRect(true).Right, rootRight);
}

TEST_F(TreeViews, InPlaceEditingKeepsOrDropsTheText)
{
    root->Expand(false);
    tv->SetFocus();
    Pump();
    std::vector<std::wstring> edited;
    tv->OnEdited = [&](TObject*, TTreeNode* n, String& s) {
        edited.push_back(n->Text() + L"->" + s);
        s += L"!";  // the handler may change the text the node takes
    };
    ASSERT_TRUE(b->EditText());
    EXPECT_TRUE(tv->IsEditing());
    EXPECT_EQ(tv->EditingNode(), b);
    Type(L"新名");  // the old text was all selected: typing replaces it
    Key(VK_RETURN);
    EXPECT_FALSE(tv->IsEditing());
    EXPECT_EQ(b->Text(), L"新名!");
    EXPECT_EQ(edited, std::vector<std::wstring>{L"b->新名"});
    EXPECT_TRUE(tv->Focused());

    // Escape drops the text; so does deleting the node; leaving the editor keeps it.
    ASSERT_TRUE(a->EditText());
    Type(L"zz");
    Key(VK_ESCAPE);
    EXPECT_EQ(a->Text(), L"a");
    ASSERT_TRUE(a->EditText());
    Type(L"gone");
    a->Delete();
    EXPECT_FALSE(tv->IsEditing());
    ASSERT_TRUE(b->EditText());
    Type(L"kept");
    tv->SetFocus();
    Pump();
    EXPECT_FALSE(tv->IsEditing());
    EXPECT_EQ(b->Text(), L"kept!");
    EXPECT_EQ(edited.size(), 2u);

    // A read-only tree, or OnEditing, refuses.
    tv->OnEditing = [&](TObject*, TTreeNode* n, bool& allow) { allow = n != other; };
    EXPECT_FALSE(other->EditText());
    tv->SetReadOnly(true);
    EXPECT_FALSE(b->EditText());
    EXPECT_FALSE(tv->IsEditing());
}

TEST_F(TreeViews, RightClickSelectsOnlyWhenAsked)
{
    root->Expand(false);
    a->SetSelected(true);
    Pump();
    TPoint p = NodePoint(b, b->DisplayRect(true).Left + 5);
    Click(p.X, p.Y, 1);
    Pump();
    EXPECT_EQ(tv->Selected(), a);
    tv->SetRightClickSelect(true);
    vxwin::AdvanceClock(2000);
    Click(p.X, p.Y, 1);
    Pump();
    EXPECT_EQ(tv->Selected(), b);
}

TEST_F(TreeViews, ImagesComeFromTheListTheMessageSetAndAreAskedAsNodesAreDrawn)
{
    TImageList red(nullptr, 16, 16), green(nullptr, 16, 16);
    for (auto [list, colour] : {std::pair{&red, 0x0000FF}, std::pair{&green, 0x00FF00}}) {
        TBitmap bmp;
        bmp.SetSize(16, 16);
        bmp.Canvas()->Brush()->SetColor(static_cast<TColor>(colour));
        bmp.Canvas()->FillRect(Rect(0, 0, 16, 16));
        list->Add(&bmp, nullptr);
    }
    std::vector<std::wstring> asked;
    tv->OnGetImageIndex = [&](TObject*, TTreeNode* n) {
        asked.push_back(n->Text());
        n->SetImageIndex(0);
    };
    EXPECT_EQ(tv->Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(red.Handle())), 0);
    EXPECT_EQ(tv->Images(), nullptr);  // the component stays unset
    EXPECT_EQ(tv->NormalImageList(), &red);
    tv->Invalidate();
    Pump();
    EXPECT_EQ(asked, (std::vector<std::wstring>{L"我的电脑", L"other"}));
    TRect text = root->DisplayRect(true);
    const TPoint img = f->ScreenToClient(tv->ClientToScreen(Point(text.Left - 2 - 8, (text.Top + text.Bottom) / 2)));
    const int ix = img.X, iy = img.Y;
    EXPECT_EQ(PixelOf(f, ix, iy), 0xFF0000u);
    Pump();
    EXPECT_EQ(asked.size(), 2u);  // asking changes nothing that needs painting again

    tv->SetImages(&green);  // the component sets the list drawn too
    EXPECT_EQ(tv->NormalImageList(), &green);
    Pump();
    EXPECT_EQ(PixelOf(f, ix, iy), 0x00FF00u);
    EXPECT_EQ(tv->Perform(TVM_SETIMAGELIST, TVSIL_NORMAL, 0), reinterpret_cast<LRESULT>(green.Handle()));
    EXPECT_EQ(tv->NormalImageList(), nullptr);
}

TEST_F(TreeViews, CustomSortOrdersANodesChildrenOrTheRoots)
{
    TTreeNode* c = tv->Items()->AddChild(root, L"c");
    auto byTextDescending = [](TTreeNode* x, TTreeNode* y) { return y->Text().compare(x->Text()); };
    EXPECT_TRUE(root->CustomSort(byTextDescending));
    EXPECT_EQ(root->Item(0), c);
    EXPECT_EQ(root->Item(1), b);
    EXPECT_EQ(root->Item(2), a);
    EXPECT_EQ(a->GetNextSibling(), nullptr);
    EXPECT_FALSE(b->CustomSort(byTextDescending));  // no children
    EXPECT_TRUE(tv->CustomSort([&](TTreeNode* x, TTreeNode* y) { return int(y == other) - int(x == other); }));
    EXPECT_EQ(tv->Items()->GetFirstNode(), other);
}
