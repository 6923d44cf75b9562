// The shell folder tree over real temporary folders: the default tree, a path deep down, lazy
// children, links that loop, a node that is no folder, the add-folder veto, an unreadable folder,
// a root that cannot be resolved and the watcher's refresh.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/framework/controls/inplace_edit.h"
#include "platform/win/shell_api.h"
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

TEST_F(ShellTreeView, TheDefaultTreeIsTheDesktopOneLevelOpen)
{
    auto* tree = Place(new TbsSkinDirTreeView(FForm));
    EXPECT_EQ(tree->Root(), L"rfDesktop");
    EXPECT_FALSE(tree->ShowRoot());
    ASSERT_GT(tree->Items()->Count(), 0);
    TTreeNode* root = tree->Items()->GetFirstNode();
    EXPECT_EQ(root->Text(), L"桌面");
    EXPECT_EQ(root->GetNextSibling(), nullptr);
    EXPECT_TRUE(root->Expanded());
    EXPECT_TRUE(root->Selected());
    const std::vector<String> children = ChildTexts(root);
    ASSERT_GE(children.size(), 2u);
    EXPECT_EQ(children[0], L"主文件夹");
    EXPECT_EQ(children[1], L"计算机");
    for (int i = 0; i < root->Count(); ++i) EXPECT_EQ(root->Item(i)->Count(), 0);  // not read yet

    tree->ExpandMyComputer();
    EXPECT_EQ(tree->Selected()->Text(), L"计算机");
    EXPECT_TRUE(tree->Selected()->Expanded());
    ASSERT_GT(tree->Selected()->Count(), 0);
    EXPECT_EQ(static_cast<TbsShellFolder*>(tree->Selected()->Item(0)->Data())->PathName(), L"/");
}

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
    EXPECT_FALSE(early->HasChildren());  // a folder without sub-folders shows no button
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

TEST_F(ShellTreeView, LinksThatLoopOrLeadNowhereAreNoFolders)
{
    Make("real/inside");
    std::filesystem::create_directory_symlink(".", FRoot + "/real/loop");
    std::filesystem::create_symlink(FRoot + "/cycle b", FRoot + "/cycle a");
    std::filesystem::create_symlink(FRoot + "/cycle a", FRoot + "/cycle b");
    std::filesystem::create_symlink(FRoot + "/missing", FRoot + "/dangling");
    TbsSkinDirTreeView* tree = Tree();
    TTreeNode* root = tree->Items()->GetFirstNode();
    EXPECT_EQ(ChildTexts(root), std::vector<String>{L"real"});
    TTreeNode* real = ChildNamed(root, L"real");
    real->Expand(false);
    EXPECT_EQ(ChildTexts(real), std::vector<String>{L"inside"});  // "loop" would recurse for ever

    tree->SetObjectTypes({otFolders, otNonFolders});
    root = tree->Items()->GetFirstNode();
    EXPECT_EQ(ChildTexts(root), (std::vector<String>{L"cycle a", L"cycle b", L"dangling", L"real"}));
    real = ChildNamed(root, L"real");
    real->Expand(false);
    EXPECT_EQ(ChildTexts(real), (std::vector<String>{L"inside", L"loop"}));
    EXPECT_FALSE(ChildNamed(real, L"loop")->HasChildren());
}

TEST_F(ShellTreeView, ANodeThatIsNoFolderOpensWithItsProgramOnExpansion)
{
    Touch("clip.zip");
    Make("folder");
    TbsSkinDirTreeView* tree = Tree();
    tree->SetObjectTypes({otFolders, otNonFolders});
    TTreeNode* root = tree->Items()->GetFirstNode();
    TTreeNode* zip = ChildNamed(root, L"clip.zip");
    ASSERT_TRUE(zip);
    std::vector<vxwin::ShellExecuteCall> calls;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        calls.push_back(c);
        return LONG_PTR{42};
    });
    ChildNamed(root, L"folder")->Expand(false);
    const size_t byFolder = calls.size();
    zip->Expand(false);
    vxwin::SetShellExecuteHook(nullptr);
    EXPECT_EQ(byFolder, 0u);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].operation, L"");
    EXPECT_EQ(calls[0].file, Path("clip.zip"));
    EXPECT_EQ(calls[0].directory, Path());
    EXPECT_EQ(calls[0].showCmd, SW_HIDE);
    EXPECT_EQ(zip->Count(), 0);
    EXPECT_FALSE(zip->HasChildren());
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

TEST_F(ShellTreeView, RenamingInPlaceReadsTheParentAgainAndNeverReplaces)
{
    Make("p/old/inner");
    Make("p/zz");
    TbsSkinDirTreeView* tree = Tree();
    tree->SetPath(Path("p/old/inner"));
    tree->SetPath(Path("p/old"));
    auto rename = [&](const String& Text) {
        ASSERT_TRUE(tree->Selected()->EditText());
        TInplaceEdit* editor = nullptr;
        for (int i = 0; i < tree->ComponentCount() && !editor; ++i)
            editor = dynamic_cast<TInplaceEdit*>(tree->Components(i));
        ASSERT_TRUE(editor);
        editor->SetText(Text);
        editor->Finish(true);
    };
    rename(L"zzz");
    TTreeNode* p = ChildNamed(tree->Items()->GetFirstNode(), L"p");
    ASSERT_TRUE(p);
    EXPECT_EQ(ChildTexts(p), (std::vector<String>{L"zz", L"zzz"}));  // read again, in order
    EXPECT_TRUE(ChildNamed(p, L"zzz")->Expanded());
    EXPECT_EQ(tree->Path(), Path("p/zzz"));
    EXPECT_EQ(static_cast<TbsShellFolder*>(ChildNamed(ChildNamed(p, L"zzz"), L"inner")->Data())->PathName(),
              Path("p/zzz/inner"));

    try {
        rename(L"zz");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Rename to zz failed");
    }
    EXPECT_TRUE(std::filesystem::exists(FRoot + "/p/zzz/inner"));
    EXPECT_TRUE(std::filesystem::exists(FRoot + "/p/zz"));
    EXPECT_EQ(tree->Path(), Path("p/zzz"));
}

TEST_F(ShellTreeView, AutoRefreshShowsFoldersMadeInTheWatchedFolder)
{
    Make("a");
    const int threads = TbsShellChangeThread::LiveCount();
    TbsSkinDirTreeView* tree = Tree();
    tree->SetAutoRefresh(true);
    Make("新 文件夹");
    ASSERT_TRUE(WaitFor([&] { return ChildNamed(tree->Items()->GetFirstNode(), L"新 文件夹") != nullptr; }));
    EXPECT_EQ(tree->Path(), Path());
    EXPECT_TRUE(tree->Items()->GetFirstNode()->Expanded());

    // A new selection moves the one watcher to the folder selected.
    tree->SetPath(Path("a"));
    Make("a/inner");
    ASSERT_TRUE(WaitFor([&] { return tree->Selected() && ChildNamed(tree->Selected(), L"inner") != nullptr; }));
    EXPECT_EQ(tree->Path(), Path("a"));
    // The folder removed while shown: its node empties and the tree goes on.
    std::filesystem::remove_all(FRoot + "/a");
    ASSERT_TRUE(WaitFor([&] { return tree->Selected() && tree->Selected()->Count() == 0; }));
    EXPECT_EQ(tree->Path(), Path("a"));
    tree->SetPath(Path());
    EXPECT_EQ(tree->Selected(), tree->Items()->GetFirstNode());
    EXPECT_TRUE(WaitFor([&] { return TbsShellChangeThread::LiveCount() <= threads + 1; }));
    tree->SetAutoRefresh(false);
    EXPECT_TRUE(WaitFor([&] { return TbsShellChangeThread::LiveCount() <= threads; }));
}

}  // namespace
