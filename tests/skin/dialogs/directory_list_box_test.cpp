#include "skin/dialogs/directory_list_box.h"

#include <unistd.h>

#include <algorithm>

#include "platform/framework/core/exceptions.h"
#include "skin/controls/skin_std_label.h"
#include "skin/dialogs/drive_combo_box.h"
#include "skin/dialogs/file_list_box.h"
#include "tests/skin/dialogs/shell_view_fixture.h"

namespace {

std::string Cwd()
{
    char buf[4096];
    return ::getcwd(buf, sizeof buf) ? buf : "";
}

class DirectoryListBoxTest : public ShellViewTest {
protected:
    std::vector<String> ItemTexts(TbsSkinCustomListBox* List)
    {
        std::vector<String> out;
        for (int i = 0; i < List->Items()->Count(); ++i) out.push_back(List->Items()->Get(i));
        return out;
    }
};

TEST_F(DirectoryListBoxTest, ShowsTheChainAndSubfoldersAndOpensThem)
{
    const std::string before = Cwd();
    Make("视频 素材/影片/Zeta");
    Make("视频 素材/影片/alpha");
    Make("视频 素材/影片/.隐藏");
    Touch("视频 素材/影片/片头.mkv");
    Touch("视频 素材/影片/Zeta/尾.mkv");
    auto* dirs = Place(new TbsSkinDirectoryListBox(FForm));
    auto* files = Place(new TbsSkinFileListBox(FForm), 200);
    dirs->SetFileList(files);
    EXPECT_EQ(files->DirList(), dirs);
    int changes = 0;
    dirs->OnChange = [&](TObject*) { ++changes; };

    const String movie = Path("视频 素材/影片");
    dirs->SetDirectory(movie);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(dirs->Directory(), movie);
    // "/", each folder down to the one shown, then its visible sub-folders case-blind.
    std::vector<String> want{L"/"};
    for (size_t at = 1, slash; at < movie.size(); at = slash + 1) {
        slash = std::min(movie.find(L'/', at), movie.size());
        want.push_back(movie.substr(at, slash - at));
    }
    const int current = static_cast<int>(want.size()) - 1;
    want.push_back(L"alpha");
    want.push_back(L"Zeta");
    EXPECT_EQ(ItemTexts(dirs), want);
    EXPECT_EQ(dirs->ItemIndex(), current);
    EXPECT_EQ(dirs->Items()->Objects(0), dirs->OpenedBMP);
    EXPECT_EQ(dirs->Items()->Objects(current), dirs->CurrentBMP);
    EXPECT_EQ(dirs->Items()->Objects(current + 1), dirs->ClosedBMP);
    EXPECT_EQ(dirs->GetItemPath(0), L"/");
    EXPECT_EQ(dirs->GetItemPath(current - 1), Path("视频 素材"));
    EXPECT_EQ(dirs->GetItemPath(current + 2), Path("视频 素材/影片/Zeta"));
    EXPECT_EQ(dirs->GetItemPath(current + 3), L"");
    EXPECT_EQ(files->Directory(), movie);
    EXPECT_EQ(ItemTexts(files), std::vector<String>{L"片头.mkv"});

    // Opening a sub-folder moves the linked file list; opening an ancestor goes back up.
    dirs->SetItemIndex(current + 2);
    dirs->OpenCurrent();
    EXPECT_EQ(dirs->Directory(), Path("视频 素材/影片/Zeta"));
    EXPECT_EQ(files->Directory(), dirs->Directory());
    EXPECT_EQ(ItemTexts(files), std::vector<String>{L"尾.mkv"});
    dirs->SetItemIndex(current);
    dirs->OpenCurrent();
    EXPECT_EQ(dirs->Directory(), movie);
    // Relative texts are taken against the folder shown.
    dirs->SetDirectory(L"alpha");
    EXPECT_EQ(dirs->Directory(), Path("视频 素材/影片/alpha"));
    dirs->SetDirectory(L"..");
    EXPECT_EQ(dirs->Directory(), movie);
    EXPECT_EQ(changes, 5);
    // A repaint leaves the list alone; UpdateList reads the folder again.
    Make("视频 素材/影片/新建");
    const int count = dirs->Items()->Count();
    dirs->Repaint();
    EXPECT_EQ(dirs->Items()->Count(), count);
    EXPECT_EQ(changes, 5);
    dirs->UpdateList();
    EXPECT_EQ(dirs->Items()->Count(), count + 1);
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(Cwd(), before);
}

TEST_F(DirectoryListBoxTest, AFolderThatCannotBeEnteredRaisesAndKeepsTheList)
{
    Make("a/b");
    Touch("a/file");
    auto* dirs = Place(new TbsSkinDirectoryListBox(FForm));
    dirs->SetDirectory(Path("a"));
    const auto items = ItemTexts(dirs);
    for (const String& bad : {Path("a/missing"), Path("a/file"), String(L"missing/deeper")}) {
        SCOPED_TRACE(StringToUtf8(bad));
        EXPECT_THROW(dirs->SetDirectory(bad), EInOutError);
        EXPECT_EQ(dirs->Directory(), Path("a"));
        EXPECT_EQ(ItemTexts(dirs), items);
    }
}

TEST_F(DirectoryListBoxTest, TheLabelShowsThePathAndLinksGoWithTheirPartners)
{
    Make("很长的文件夹名字/第二层/第三层");
    auto* dirs = Place(new TbsSkinDirectoryListBox(FForm));
    auto* files = Place(new TbsSkinFileListBox(FForm), 200);
    auto* drives = Place(new TbsSkinDriveComboBox(FForm), 200);
    auto* label = new TbsSkinStdLabel(FForm);
    label->SetParent(FForm);
    label->SetAutoSize(false);
    label->SetBounds(0, 0, 120, 16);
    dirs->SetDirLabel(label);
    dirs->SetFileList(files);
    drives->SetDirList(dirs);
    dirs->SetDirectory(Path("很长的文件夹名字/第二层/第三层"));
    // Shortened to the label's width, the folder's own name kept.
    const String caption = label->Caption();
    EXPECT_EQ(caption.substr(0, 5), L"/.../");
    EXPECT_EQ(caption.substr(caption.size() - 4), L"/第三层");
    EXPECT_LE(label->Canvas()->TextWidth(caption), 120);

    delete label;
    EXPECT_EQ(dirs->DirLabel(), nullptr);
    delete files;
    EXPECT_EQ(dirs->FileList(), nullptr);
    delete drives;
    dirs->SetDirectory(Path("很长的文件夹名字"));  // no partner left to reach
    EXPECT_EQ(dirs->Directory(), Path("很长的文件夹名字"));
}

}  // namespace
