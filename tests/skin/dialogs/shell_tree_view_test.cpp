// The shell folder tree over real temporary folders: a path deep down, lazy children, the
// add-folder veto, an unreadable folder and a root that cannot be resolved.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "skin/dialogs/shell_tree_view.h"
#include "tests/skin/dialogs/shell_view_fixture.h"
#include "tests/support/unprivileged.h"

namespace {

std::vector<String> ChildTexts(TTreeNode* Node)
{
    std::vector<String> out;
    for (int i = 0; i < Node->Count(); ++i) out.push_back(Node->Item(i)->Text());
    return out;
}

TTreeNode* ChildNamed(TTreeNode* Node, const String& Text)
{
    for (int i = 0; i < Node->Count(); ++i)
        if (Node->Item(i)->Text() == Text) return Node->Item(i);
    return nullptr;
}

class ShellTreeView : public ShellViewTest {
protected:
    TbsSkinDirTreeView* Tree()
    {
        auto* tree = new TbsSkinDirTreeView(FForm);
        tree->SetRoot(Path());
        return Place(tree);
    }
};

TEST_F(ShellTreeView, PathExpandsDownToADeepFolderOnceInTheShellsOrder)
{
    Make("深 层/中间/底");
    Make("深 层/file10");
    Make("深 层/file9");
    Make("other");
    TbsSkinDirTreeView* tree = Tree();
    TTreeNode* root = tree->Items()->GetFirstNode();
    ASSERT_TRUE(root);
    EXPECT_TRUE(root->Expanded());
    EXPECT_EQ(root->Data(), tree->SelectedFolder());
    EXPECT_EQ(ChildTexts(root), (std::vector<String>{L"other", L"深 层"}));
    int changes = 0;
    tree->OnChange = [&](TObject*, TTreeNode*) { ++changes; };

    tree->SetPath(Path("深 层/中间/底"));
    EXPECT_EQ(tree->Path(), Path("深 层/中间/底"));
    EXPECT_EQ(tree->Selected()->Text(), L"底");
    EXPECT_EQ(tree->Selected()->Level(), 3);
    EXPECT_EQ(tree->SelectedFolder()->Level(), 3);
    TTreeNode* deep = ChildNamed(root, L"深 层");
    EXPECT_TRUE(deep->Expanded());
    EXPECT_EQ(ChildTexts(deep), (std::vector<String>{L"file9", L"file10", L"中间"}));  // natural order
    EXPECT_EQ(changes, 1);

    const int nodes = tree->Items()->Count();
    tree->SetPath(Path("深 层/中间/底"));  // the same folder again changes nothing
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(tree->Items()->Count(), nodes);

    EXPECT_THROW(tree->SetPath(L"relative/name"), EInvalidPath);
    EXPECT_EQ(tree->Path(), Path("深 层/中间/底"));
}

TEST_F(ShellTreeView, ChildrenAreReadOnTheFirstExpansionOnly)
{
    Make("a/early");
    TbsSkinDirTreeView* tree = Tree();
    TTreeNode* a = ChildNamed(tree->Items()->GetFirstNode(), L"a");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Count(), 0);
    EXPECT_TRUE(a->HasChildren());  // shown expandable without reading it
    Make("a/later");                // made after the tree was built: read at the first expansion
    a->Expand(false);
    EXPECT_EQ(ChildTexts(a), (std::vector<String>{L"early", L"later"}));
    TTreeNode* early = ChildNamed(a, L"early");
    early->Expand(false);
    EXPECT_FALSE(early->HasChildren());  // an empty folder loses its button on expansion

    Make("a/latest");
    a->Collapse(false);
    a->Expand(false);
    EXPECT_EQ(ChildTexts(a), (std::vector<String>{L"early", L"later"}));
    tree->Refresh(a);  // reads it again, keeping what was expanded
    a = ChildNamed(tree->Items()->GetFirstNode(), L"a");
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->Expanded());
    EXPECT_EQ(ChildTexts(a), (std::vector<String>{L"early", L"later", L"latest"}));
}

TEST_F(ShellTreeView, AddFolderVetoHidesAFolderInEveryExpansion)
{
    Make("hide/x");
    Make("keep/hide");
    Make("keep/show");
    auto* tree = new TbsSkinDirTreeView(FForm);
    std::vector<String> asked;
    tree->OnAddFolder = [&](TObject* Sender, TbsShellFolder* Folder, bool& CanAdd) {
        EXPECT_EQ(Sender, tree);
        asked.push_back(Folder->DisplayName());
        CanAdd = Folder->DisplayName() != L"hide";
    };
    tree->SetRoot(Path());
    Place(tree);
    TTreeNode* root = tree->Items()->GetFirstNode();
    EXPECT_EQ(ChildTexts(root), std::vector<String>{L"keep"});
    asked.clear();
    TTreeNode* keep = ChildNamed(root, L"keep");
    keep->Expand(false);
    EXPECT_EQ(ChildTexts(keep), std::vector<String>{L"show"});
    EXPECT_EQ(asked.size(), 2u);  // asked once for each folder it reads
}

TEST_F(ShellTreeView, AnUnreadableFolderExpandsEmpty)
{
    Make("locked/inside");
    Make("open/inside");
    ASSERT_EQ(::chmod((FRoot + "/locked").c_str(), 0700), 0);
    const int rc = RunUnprivileged([&] {
        auto* tree = new TbsSkinDirTreeView(nullptr);
        tree->SetRoot(Path());
        TTreeNode* root = tree->Items()->GetFirstNode();
        TTreeNode* locked = root ? ChildNamed(root, L"locked") : nullptr;
        TTreeNode* open = root ? ChildNamed(root, L"open") : nullptr;
        if (!locked || !open) return 2;
        locked->Expand(false);
        open->Expand(false);
        const bool ok = locked->Count() == 0 && !locked->HasChildren() && open->Count() == 1;
        tree->Free();
        return ok ? 0 : 1;
    });
    ::chmod((FRoot + "/locked").c_str(), 0755);
    EXPECT_EQ(rc, 0);
}

TEST_F(ShellTreeView, AMissingRootRaisesAndKeepsTheTree)
{
    Make("kept");
    TbsSkinDirTreeView* tree = Tree();
    const String missing = Path("missing");
    try {
        tree->SetRoot(missing);
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(e.Message(), L"Error setting path: \"" + missing + L"\"");
    }
    EXPECT_EQ(tree->Root(), Path());
    TTreeNode* root = tree->Items()->GetFirstNode();
    ASSERT_TRUE(root);
    EXPECT_EQ(tree->Path(), Path());
    EXPECT_EQ(ChildTexts(root), std::vector<String>{L"kept"});

    tree->SetRoot(L"rfDesktop");  // a root name: the desktop with home and computer
    root = tree->Items()->GetFirstNode();
    EXPECT_EQ(root->Text(), L"桌面");
    EXPECT_TRUE(ChildNamed(root, L"主文件夹"));
    EXPECT_TRUE(ChildNamed(root, L"计算机"));
}

}  // namespace
