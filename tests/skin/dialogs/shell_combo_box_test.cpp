// The shell folder combo box: the desktop's rows indented by depth, the chain of folders down to
// the one shown, a choice that moves the linked tree and list once, and the three views linked in
// a loop, each moving once whichever of them navigates.
#include <gtest/gtest.h>

#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/shell_tree_view.h"
#include "tests/skin/dialogs/shell_view_fixture.h"

namespace {

// Counts the folders shown: the change hook once the rows are complete.
class CountingShellComboBox : public TbsSkinShellComboBox {
public:
    using TbsSkinShellComboBox::TbsSkinShellComboBox;
    int Shown = 0;

protected:
    void Change() override
    {
        if (ItemsEx()->UpdateCount() == 0) ++Shown;
        TbsSkinShellComboBox::Change();
    }
};

class ShellComboBox : public ShellViewTest {
protected:
    TbsSkinShellComboBox* Combo() { return Place(new TbsSkinShellComboBox(FForm)); }
    static int RowNamed(TbsCustomShellComboBox* Box, const String& Caption)
    {
        for (int i = 0; i < Box->ItemsEx()->Count(); ++i)
            if (Box->ItemsEx()->ItemAt(i)->Caption == Caption) return i;
        return -1;
    }
};

TEST_F(ShellComboBox, TheDesktopListsItsChildrenAndTheVolumesIndentedByDepth)
{
    TbsSkinShellComboBox* box = Combo();
    TbsItemsEx* rows = box->ItemsEx();
    ASSERT_GT(rows->Count(), 3);
    EXPECT_EQ(rows->ItemAt(0)->Caption, L"桌面");
    EXPECT_EQ(rows->ItemAt(0)->Indent, 0);
    EXPECT_EQ(box->ItemIndex(), 0);
    ASSERT_EQ(box->Items()->Count(), rows->Count());
    for (int i = 0; i < rows->Count(); ++i) {
        EXPECT_EQ(box->Items()->Strings(i), rows->ItemAt(i)->Caption);
        EXPECT_EQ(rows->ItemAt(i)->Indent, rows->ItemAt(i)->Data->Level());
    }
    const int home = RowNamed(box, L"主文件夹"), computer = RowNamed(box, L"计算机");
    ASSERT_GE(home, 1);
    ASSERT_GE(computer, 1);
    EXPECT_EQ(rows->ItemAt(home)->Indent, 1);
    EXPECT_EQ(rows->ItemAt(computer)->Indent, 1);
    // The volumes follow the computer one step further in, "/" first.
    ASSERT_LT(computer + 1, rows->Count());
    EXPECT_EQ(rows->ItemAt(computer + 1)->Indent, 2);
    EXPECT_EQ(rows->ItemAt(computer + 1)->Data->PathName(), L"/");
    EXPECT_EQ(box->Path(), L"桌面");
}

TEST_F(ShellComboBox, AFolderShownBelowAVolumeAddsItsChainSelected)
{
    Make("深/b/c");
    TbsSkinShellComboBox* box = Combo();
    const int before = box->ItemsEx()->Count();
    box->SetPath(Path("深/b/c"));
    TbsItemsEx* rows = box->ItemsEx();
    const int shown = box->ItemIndex();
    ASSERT_GE(shown, 0);
    EXPECT_EQ(box->Path(), Path("深/b/c"));
    EXPECT_EQ(rows->ItemAt(shown)->Caption, L"c");
    // Up from the folder, one step out per row, to the volume that holds it.
    int volume = shown;
    while (rows->ItemAt(volume)->Indent > 2) {
        ASSERT_EQ(rows->ItemAt(volume - 1)->Indent, rows->ItemAt(volume)->Indent - 1);
        --volume;
    }
    String chain = rows->ItemAt(volume)->Data->PathName();
    for (int i = volume + 1; i <= shown; ++i) chain += (chain.back() == L'/' ? L"" : L"/") + rows->ItemAt(i)->Caption;
    EXPECT_EQ(chain, Path("深/b/c"));
    EXPECT_EQ(rows->Count(), before + (shown - volume));

    box->SetPath(Path("深"));  // a shorter chain replaces the longer one
    EXPECT_EQ(box->ItemsEx()->ItemAt(box->ItemIndex())->Caption, L"深");
    EXPECT_EQ(RowNamed(box, L"c"), -1);
    EXPECT_THROW(box->SetPath(L"no/such"), EInvalidPath);
}

TEST_F(ShellComboBox, ChoosingARowMovesTheLinkedViewsOnce)
{
    Make("a/b");
    auto* tree = Place(new TbsSkinDirTreeView(FForm));
    auto* list = Place(new TbsSkinFileListView(FForm), 200);
    TbsSkinShellComboBox* box = Combo();
    box->SetShellTreeView(tree);
    box->SetShellListView(list);
    tree->SetShellListView(list);
    list->SetPath(Path("a/b"));
    EXPECT_EQ(tree->Path(), Path("a/b"));
    EXPECT_EQ(box->Path(), Path("a/b"));

    int listMoves = 0, treeMoves = 0;
    list->OnPathChanged = [&](TObject*) { ++listMoves; };
    tree->OnChange = [&](TObject*, TTreeNode*) { ++treeMoves; };
    const int rows = box->ItemsEx()->Count();
    box->SetItemIndex(box->ItemIndex() - 1);  // "a"
    EXPECT_EQ(list->Path(), Path("a"));
    EXPECT_EQ(tree->Path(), Path("a"));
    EXPECT_EQ(listMoves, 1);
    EXPECT_EQ(treeMoves, 1);
    EXPECT_EQ(box->ItemsEx()->Count(), rows);  // the box keeps its rows
    EXPECT_EQ(box->Path(), Path("a"));

    // Scrolling through the open list moves no partner; closing it on a row moves both once.
    listMoves = treeMoves = 0;
    box->DropDown();
    ASSERT_TRUE(box->IsPopupVisible());
    for (WORD key : {VK_DOWN, VK_UP, VK_UP}) box->Perform(WM_KEYDOWN, key);
    EXPECT_EQ(listMoves + treeMoves, 0);
    EXPECT_EQ(list->Path(), Path("a"));
    box->Perform(WM_KEYDOWN, VK_RETURN);
    EXPECT_FALSE(box->IsPopupVisible());
    EXPECT_EQ(list->Path(), Path());
    EXPECT_EQ(tree->Path(), Path());
    EXPECT_EQ(listMoves, 1);
    EXPECT_EQ(treeMoves, 1);

    tree->Free();  // the partners forget it
    EXPECT_EQ(box->ShellTreeView(), nullptr);
    EXPECT_EQ(list->ShellTreeView(), nullptr);
    box->SetItemIndex(box->ItemIndex() + 1);
    EXPECT_EQ(list->Path(), Path("a"));
}

TEST_F(ShellComboBox, ThreeViewsLinkedInALoopMoveOnceWhicheverNavigates)
{
    Make("a/b/c");
    auto* tree = Place(new TbsSkinDirTreeView(FForm));
    auto* list = Place(new TbsSkinFileListView(FForm), 200);
    auto* box = Place(new CountingShellComboBox(FForm));
    tree->SetShellListView(list);
    list->SetShellComboBox(box);
    box->SetShellTreeView(tree);
    int treeMoves = 0, listMoves = 0;
    tree->OnChange = [&](TObject*, TTreeNode*) { ++treeMoves; };
    list->OnPathChanged = [&](TObject*) { ++listMoves; };

    const struct {
        const char* driver;
        std::function<void()> go;
        std::string shown;
        int moves;
    } steps[] = {
        {"tree", [&] { tree->SetPath(Path("a")); }, "a", 1},
        {"list", [&] { list->SetPath(Path("a/b")); }, "a/b", 1},
        {"box", [&] { box->SetPath(Path("a/b/c")); }, "a/b/c", 1},
        {"box row", [&] { box->SetItemIndex(box->ItemIndex() - 1); }, "a/b", 1},
        {"list key", [&] { list->Perform(WM_KEYDOWN, VK_BACK); }, "a", 1},
        {"tree again", [&] { tree->SetPath(Path("a")); }, "a", 0},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.driver);
        treeMoves = listMoves = box->Shown = 0;
        s.go();
        EXPECT_EQ(tree->Path(), Path(s.shown));
        EXPECT_EQ(list->Path(), Path(s.shown));
        EXPECT_EQ(box->Path(), Path(s.shown));
        EXPECT_EQ(treeMoves, s.moves);
        EXPECT_EQ(listMoves, s.moves);
        EXPECT_EQ(box->Shown, s.moves);
    }
}

}  // namespace
