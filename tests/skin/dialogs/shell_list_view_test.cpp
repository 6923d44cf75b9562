// The shell file list over real temporary folders: the mask, folders first, column sorts (also of
// a file gone since listing), Refresh, the navigation keys, double click, type-ahead, the selected
// files, in-place renaming, the watcher's refresh and the link with the folder tree.
#include <gtest/gtest.h>
#include <utime.h>

#include "platform/framework/controls/inplace_edit.h"
#include "platform/framework/core/string_list.h"
#include "platform/win/shell_api.h"
#include "skin/dialogs/shell_list_view.h"
#include "tests/skin/dialogs/shell_view_fixture.h"

namespace {

class ShellListView : public ShellViewTest {
protected:
    TbsSkinFileListView* List(const std::string& rel = "")
    {
        auto* list = new TbsSkinFileListView(FForm);
        Place(list, 200);
        list->SetPath(Path(rel));
        return list;
    }
    static std::vector<String> Names(TbsCustomShellListView* List)
    {
        std::vector<String> out;
        for (int i = 0; i < List->Items()->Count(); ++i) out.push_back(List->Items()->Item(i)->Caption());
        return out;
    }
    // A double click on row Index, as the mouse gives it: press, release, the double press, release.
    static void DoubleClick(TbsCustomShellListView* List, int Index)
    {
        const TRect r = List->Items()->Item(Index)->DisplayRect(drBounds);
        const LPARAM at = MAKELPARAM(r.Left + 4, (r.Top + r.Bottom) / 2);
        List->Perform(WM_LBUTTONDOWN, MK_LBUTTON, at);
        List->Perform(WM_LBUTTONUP, 0, at);
        List->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        List->Perform(WM_LBUTTONUP, 0, at);
    }
    void SetTime(const std::string& rel, time_t t)
    {
        utimbuf times{t, t};
        ::utime((FRoot + "/" + rel).c_str(), &times);
    }
};

TEST_F(ShellListView, MaskAdmitsFilesByPatternAndListsEveryFolder)
{
    Make("sub.d");
    for (const char* f : {"a.MKV", "b.mp4", "c.txt", "README", "d.tar.gz"}) Touch(f);
    TbsSkinFileListView* list = List();
    const struct {
        const wchar_t* mask;
        std::vector<String> names;
    } cases[] = {
        {L"*.*|*.*", {L"sub.d", L"a.MKV", L"b.mp4", L"c.txt", L"d.tar.gz", L"README"}},
        {L"*", {L"sub.d", L"a.MKV", L"b.mp4", L"c.txt", L"d.tar.gz", L"README"}},
        {L"*.mkv;*.MP4", {L"sub.d", L"a.MKV", L"b.mp4"}},
        {L"Videos|*.mkv", {L"sub.d", L"a.MKV"}},  // a description without a dot admits nothing
        {L"mkv", {L"sub.d"}},
        {L"*.gz", {L"sub.d", L"d.tar.gz"}},
        {L"", {L"sub.d"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mask);
        list->SetMask(c.mask);
        EXPECT_EQ(Names(list), c.names);
        EXPECT_EQ(list->FolderCount(), list->Items()->Count());
    }
    int added = 0;
    list->OnAddFolder = [&](TObject*, TbsShellFolder*, bool&) { ++added; };
    list->SetMask(L"");  // the same mask again reads nothing
    EXPECT_EQ(added, 0);
}

TEST_F(ShellListView, FoldersFirstThenColumnSortsEvenWithAFileGone)
{
    Make("z");
    Make("a");
    Touch("b.txt", std::string(30, 'b'));
    Touch("c.txt", std::string(10, 'c'));
    Touch("A.txt", std::string(20, 'a'));
    SetTime("a", 1600000000);
    SetTime("z", 1500000000);
    SetTime("b.txt", 1400000000);
    SetTime("c.txt", 1700000000);
    SetTime("A.txt", 1650000000);
    TbsSkinFileListView* list = List();
    list->SetViewStyle(vsReport);
    ASSERT_EQ(list->Columns()->Count(), 4);
    EXPECT_EQ(list->Column(1)->Caption(), L"Size");
    EXPECT_EQ(Names(list), (std::vector<String>{L"a", L"z", L"A.txt", L"b.txt", L"c.txt"}));
    TListItem* folder = list->Items()->Item(0);
    EXPECT_EQ(folder->SubItems()->Strings(0), L"");  // a folder has no size
    TListItem* file = list->Items()->Item(4);
    EXPECT_EQ(file->SubItems()->Strings(0), L"10");
    EXPECT_EQ(file->SubItems()->Strings(1), L".txt");

    const struct {
        int column;
        std::vector<String> names;
    } clicks[] = {
        {0, {L"a", L"z", L"A.txt", L"b.txt", L"c.txt"}},
        {0, {L"c.txt", L"b.txt", L"A.txt", L"z", L"a"}},  // again: descending, files first
        {1, {L"a", L"z", L"c.txt", L"A.txt", L"b.txt"}},  // folders keep the shell's order
        {3, {L"z", L"a", L"b.txt", L"A.txt", L"c.txt"}},
        {3, {L"c.txt", L"A.txt", L"b.txt", L"a", L"z"}},
    };
    for (const auto& c : clicks) {
        list->ColumnClick(c.column);
        EXPECT_EQ(Names(list), c.names) << "column " << c.column;
    }
}

TEST_F(ShellListView, AFileGoneBeforeASortSortsFirstWithoutDetails)
{
    Touch("x.txt", "xxxxx");
    Touch("gone.txt", "ggg");
    Touch("y.txt", "y");
    TbsSkinFileListView* list = List();
    std::filesystem::remove(FRoot + "/gone.txt");  // listed, then removed before its details are read
    list->SetViewStyle(vsReport);
    list->ColumnClick(1);
    EXPECT_EQ(Names(list), (std::vector<String>{L"gone.txt", L"y.txt", L"x.txt"}));
    EXPECT_EQ(list->Items()->Item(0)->SubItems()->Strings(0), L"");
    list->ColumnClick(3);
    EXPECT_EQ(Names(list)[0], L"gone.txt");
    list->Repaint();
}

TEST_F(ShellListView, AColumnSortKeepsTheSelectedFilesSelected)
{
    Touch("a.txt", std::string(30, 'a'));
    Touch("b.txt", std::string(10, 'b'));
    Touch("c.txt", std::string(20, 'c'));
    TbsSkinFileListView* list = List();
    list->SetViewStyle(vsReport);
    list->SetMultiSelect(true);
    list->SetItemIndex(1);
    list->ColumnClick(1);  // by size: b, c, a
    EXPECT_EQ(list->GetSelectedFile(), Path("b.txt"));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->ItemFocused()->Index(), 0);

    list->SetItemIndex(1);                      // c
    list->Items()->Item(2)->SetSelected(true);  // and a
    list->ColumnClick(1);                       // descending: a, c, b
    TStringList files;
    list->GetSelectedFiles(&files);
    ASSERT_EQ(files.Count(), 2);
    EXPECT_EQ(files.Strings(0), Path("a.txt"));
    EXPECT_EQ(files.Strings(1), Path("c.txt"));
    EXPECT_EQ(list->ItemFocused()->Index(), 1);  // c kept the focus
}

TEST_F(ShellListView, ColumnSortsFollowTheFoldersKindAfterAVisitToTheComputer)
{
    Touch("big.txt", std::string(30, 'b'));
    Touch("a.txt", "a");
    Touch("mid.txt", std::string(10, 'm'));
    TbsSkinFileListView* list = List();
    list->SetViewStyle(vsReport);
    list->ColumnClick(1);
    EXPECT_EQ(Names(list), (std::vector<String>{L"a.txt", L"mid.txt", L"big.txt"}));

    list->SetRoot(L"rfMyComputer");  // not on the file system: the name column alone
    ASSERT_EQ(list->Columns()->Count(), 1);
    list->ColumnClick(1);
    EXPECT_EQ(list->SortColumn(), 1);  // no such column here: nothing changes
    list->ColumnClick(0);
    const std::vector<String> volumes = Names(list);
    EXPECT_TRUE(std::is_sorted(volumes.begin(), volumes.end(),
                               [](const String& A, const String& B) { return CompareText(A, B) < 0; }));

    list->SetPath(Path());
    list->ColumnClick(1);
    EXPECT_EQ(Names(list), (std::vector<String>{L"a.txt", L"mid.txt", L"big.txt"}));
    list->ColumnClick(1);
    EXPECT_EQ(Names(list), (std::vector<String>{L"big.txt", L"mid.txt", L"a.txt"}));
}

TEST_F(ShellListView, RefreshKeepsTheSelectionAndTheFolderEvenDuringAReload)
{
    Make("sub");
    Touch("one.txt");
    Touch("two.txt");
    TbsSkinFileListView* list = List();
    int changes = 0;
    list->OnPathChanged = [&](TObject*) { ++changes; };
    list->SetItemIndex(2);
    Touch("three.txt");
    list->Refresh();
    EXPECT_EQ(list->Path(), Path());
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()->Count(), 4);
    EXPECT_EQ(changes, 1);

    // A refresh while the folder is read (a watcher's call, a menu's) keeps the folder being read.
    int refreshes = 0;
    list->OnAddFolder = [&](TObject*, TbsShellFolder*, bool&) {
        if (refreshes++ == 0) list->Refresh();
    };
    list->Refresh();
    EXPECT_EQ(list->Path(), Path());
    EXPECT_EQ(Names(list), (std::vector<String>{L"sub", L"one.txt", L"three.txt", L"two.txt"}));
}

TEST_F(ShellListView, BackspaceGoesUpEnterOpensAFolderF5ReadsAgain)
{
    Make("sub/inner");
    Touch("sub/file.txt");
    TbsSkinFileListView* list = List("sub");
    int changes = 0;
    list->OnPathChanged = [&](TObject*) { ++changes; };
    list->SetItemIndex(1);  // the file: Enter opens no file
    list->Perform(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(list->Path(), Path("sub"));
    EXPECT_EQ(list->GetSelectedFile(), Path("sub/file.txt"));
    Touch("sub/later.txt");
    list->Perform(WM_KEYDOWN, VK_F5);
    EXPECT_EQ(Names(list), (std::vector<String>{L"inner", L"file.txt", L"later.txt"}));
    EXPECT_EQ(list->GetSelectedFile(), Path("sub/file.txt"));
    list->SetItemIndex(0);
    list->Perform(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(list->Path(), Path("sub/inner"));
    list->Perform(WM_KEYDOWN, VK_BACK);
    list->Perform(WM_KEYDOWN, VK_BACK);
    EXPECT_EQ(list->Path(), Path());
    EXPECT_EQ(changes, 4);  // F5 opens the folder anew

    list->SetAutoNavigate(false);  // the keys are the program's own then
    list->SetItemIndex(0);
    for (WORD key : {VK_RETURN, VK_BACK, VK_F5}) list->Perform(WM_KEYDOWN, key);
    EXPECT_EQ(list->Path(), Path());
    EXPECT_EQ(changes, 4);

    list->SetRoot(L"rfMyComputer");
    list->Back();
    EXPECT_EQ(list->Path(), L"桌面");
    changes = 0;
    list->Back();  // nothing above the desktop
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list->Path(), L"桌面");
}

TEST_F(ShellListView, DoubleClickOpensAFolderAndLeavesAFileToTheProgram)
{
    Make("sub/inner");
    Touch("film.mkv");
    TbsSkinFileListView* list = List();
    list->SetViewStyle(vsReport);
    int doubleClicks = 0;
    list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    std::vector<String> launched;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        launched.push_back(c.file);
        return LONG_PTR{42};
    });

    DoubleClick(list, 1);  // a file: the dialog's handler takes it, nothing is launched
    EXPECT_EQ(list->Path(), Path());
    EXPECT_EQ(list->GetSelectedFile(), Path("film.mkv"));
    EXPECT_EQ(doubleClicks, 1);
    DoubleClick(list, 0);
    EXPECT_EQ(list->Path(), Path("sub"));
    EXPECT_EQ(doubleClicks, 2);
    list->SetAutoNavigate(false);
    DoubleClick(list, 0);
    EXPECT_EQ(list->Path(), Path("sub"));
    EXPECT_EQ(doubleClicks, 3);
    vxwin::SetShellExecuteHook(nullptr);
    EXPECT_TRUE(launched.empty());
}

TEST_F(ShellListView, TypeAheadFindsTheNextNameAndWrapsAtTheEnd)
{
    Make("Beta");
    for (const char* f : {"apple.txt", "banana.txt", "cherry.txt"}) Touch(f);
    TbsSkinFileListView* list = List();
    ASSERT_EQ(Names(list), (std::vector<String>{L"Beta", L"apple.txt", L"banana.txt", L"cherry.txt"}));
    const struct {
        int start;
        const wchar_t* text;
        bool partial, wrap;
        int found;
    } cases[] = {
        {0, L"b", true, true, 0},   {1, L"b", true, true, 2},  {3, L"b", true, true, 0},   {3, L"b", true, false, -1},
        {1, L"BAN", true, true, 2}, {0, L"x", true, true, -1}, {0, L"ch", false, true, 3}, {2, L"beta", true, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << StringToUtf8(c.text));
        EXPECT_EQ(list->FindCaption(c.start, c.text, c.partial, c.wrap), c.found);
    }
    // Typed: the search starts after the focused row and comes round from the top.
    list->SetItemIndex(2);
    list->Perform(WM_CHAR, L'A');
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(ShellListView, SelectedFilesArePathsInRowOrderWithoutFolders)
{
    Make("folder");
    for (const char* f : {"a 甲.mkv", "b.mp4", "c\\*.avi", "d.txt"}) Touch(f);
    TbsSkinFileListView* list = List();
    list->SetMultiSelect(true);
    ASSERT_EQ(Names(list), (std::vector<String>{L"folder", L"a 甲.mkv", L"b.mp4", L"c\\*.avi", L"d.txt"}));
    for (int i : {4, 0, 1, 3}) list->Items()->Item(i)->SetSelected(true);
    TStringList files;
    files.Add(L"left over");
    list->GetSelectedFiles(&files);
    ASSERT_EQ(files.Count(), 3);
    EXPECT_EQ(files.Strings(0), Path("a 甲.mkv"));
    EXPECT_EQ(files.Strings(1), Path("c\\*.avi"));
    EXPECT_EQ(files.Strings(2), Path("d.txt"));
    list->SetItemIndex(0);  // a folder alone: no file
    list->GetSelectedFiles(&files);
    EXPECT_EQ(files.Count(), 0);
    EXPECT_EQ(list->GetSelectedFile(), L"");
}

TEST_F(ShellListView, AutoRefreshFollowsTheShownFolderOnDisk)
{
    Make("sub");
    Touch("one.txt");
    const int threads = TbsShellChangeThread::LiveCount();
    TbsSkinFileListView* list = List();
    list->SetAutoRefresh(true);
    list->SetItemIndex(1);
    Touch("新 文件.txt");
    ASSERT_TRUE(WaitFor([&] { return list->Items()->Count() == 3; }));
    EXPECT_EQ(Names(list), (std::vector<String>{L"sub", L"one.txt", L"新 文件.txt"}));
    EXPECT_EQ(list->ItemIndex(), 1);
    std::filesystem::remove(FRoot + "/one.txt");
    ASSERT_TRUE(WaitFor([&] { return list->Items()->Count() == 2; }));
    EXPECT_EQ(Names(list), (std::vector<String>{L"sub", L"新 文件.txt"}));

    // A change made while the refresh reads the folder is not lost.
    bool madeLate = false;
    list->OnAddFolder = [&](TObject*, TbsShellFolder*, bool&) {
        if (!madeLate) Touch("late.txt");
        madeLate = true;
    };
    Touch("trigger.txt");
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<String> names = Names(list);
        return std::find(names.begin(), names.end(), L"late.txt") != names.end();
    }));
    list->OnAddFolder = nullptr;

    // Another folder: the one watcher moves with the view.
    list->SetPath(Path("sub"));
    Touch("sub/inner.txt");
    ASSERT_TRUE(WaitFor([&] { return list->Items()->Count() == 1; }));
    EXPECT_EQ(list->Path(), Path("sub"));
    EXPECT_TRUE(WaitFor([&] { return TbsShellChangeThread::LiveCount() <= threads + 1; }));
    list->SetAutoRefresh(false);
    EXPECT_TRUE(WaitFor([&] { return TbsShellChangeThread::LiveCount() <= threads; }));
}

TEST_F(ShellListView, AFolderRemovedWhileShownListsNothing)
{
    Make("gone/inner");
    Touch("gone/file.txt");
    TbsSkinFileListView* list = List("gone");
    list->SetViewStyle(vsReport);
    list->SetAutoRefresh(true);
    ASSERT_EQ(Names(list), (std::vector<String>{L"inner", L"file.txt"}));
    std::filesystem::remove_all(FRoot + "/gone");
    ASSERT_TRUE(WaitFor([&] { return Names(list) != std::vector<String>{L"inner", L"file.txt"}; }));
    EXPECT_EQ(Names(list), std::vector<String>{});  // nothing, not some other folder's items
    EXPECT_EQ(list->Path(), Path("gone"));
    list->Perform(WM_KEYDOWN, VK_F5);
    EXPECT_EQ(list->Items()->Count(), 0);
    list->Repaint();
    list->Back();
    EXPECT_EQ(list->Path(), Path());
    EXPECT_EQ(list->Items()->Count(), 0);
    list->SetAutoRefresh(false);
}

TEST_F(ShellListView, RenameInPlaceRefusesAnExistingName)
{
    Touch("old.txt", "old");
    Touch("taken.txt", "taken");
    TbsSkinFileListView* list = List();
    list->SetItemIndex(0);
    list->BeginRename();
    ASSERT_TRUE(list->IsEditing());
    TInplaceEdit* editor = nullptr;
    for (int i = 0; i < list->ComponentCount() && !editor; ++i)
        editor = dynamic_cast<TInplaceEdit*>(list->Components(i));
    ASSERT_TRUE(editor);
    editor->SetText(L"taken.txt");
    try {
        editor->Finish(true);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Rename to taken.txt failed");
    }
    std::ifstream taken(FRoot + "/taken.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(taken), {}), "taken");
    EXPECT_EQ(list->Items()->Item(0)->Caption(), L"old.txt");

    list->BeginRename();
    editor->SetText(L"新 名.txt");
    editor->Finish(true);
    EXPECT_EQ(list->Items()->Item(0)->Caption(), L"新 名.txt");
    EXPECT_TRUE(std::filesystem::exists(FRoot + "/新 名.txt"));
}

TEST_F(ShellListView, LinkedToATreeBothShowOneFolder)
{
    Make("one/two");
    Touch("one/file.txt");
    auto* tree = new TbsSkinDirTreeView(FForm);
    tree->SetRoot(Path());
    Place(tree);
    TbsSkinFileListView* list = List();
    tree->SetShellListView(list);
    EXPECT_EQ(list->ShellTreeView(), tree);
    EXPECT_EQ(list->Root(), Path());
    int listChanges = 0, treeChanges = 0;
    list->OnPathChanged = [&](TObject*) { ++listChanges; };
    tree->OnChange = [&](TObject*, TTreeNode*) { ++treeChanges; };

    tree->SetPath(Path("one"));
    EXPECT_EQ(list->Path(), Path("one"));
    EXPECT_EQ(listChanges, 1);
    list->SetItemIndex(0);  // "two"
    list->Perform(WM_KEYDOWN, VK_RETURN);
    EXPECT_EQ(tree->Path(), Path("one/two"));
    EXPECT_EQ(listChanges, 2);
    EXPECT_EQ(treeChanges, 2);

    list->Free();  // the tree forgets its partner
    EXPECT_EQ(tree->ShellListView(), nullptr);
    tree->SetPath(Path());
}

}  // namespace
