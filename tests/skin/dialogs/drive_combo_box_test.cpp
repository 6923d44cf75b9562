#include "skin/dialogs/drive_combo_box.h"

#include <unistd.h>

#include "platform/win/file_api.h"
#include "skin/dialogs/directory_list_box.h"
#include "tests/skin/dialogs/shell_view_fixture.h"

namespace {

class DriveComboBoxTest : public ShellViewTest {
protected:
    void SetUp() override
    {
        ShellViewTest::SetUp();
        Make("labels");
        Touch("dev-disk");
        std::filesystem::create_symlink(FRoot + "/dev-disk", FRoot + "/labels/Movies");
        FDisk = Make("盘");
        FShare = Make("share");
        vxwin::SetMountTableForTest(
            [this] {
                return std::vector<vxwin::MountEntry>{{"/", "/dev/root", "ext4", false},
                                                      {FDisk, FRoot + "/dev-disk", "ext4", true},
                                                      {FShare, "server:/export/视频", "nfs", true}};
            },
            FRoot + "/labels", FRoot + "/sys");
    }
    void TearDown() override
    {
        ShellViewTest::TearDown();
        vxwin::SetMountTableForTest(nullptr);
    }
    std::string FDisk, FShare;
};

TEST_F(DriveComboBoxTest, ListsVolumesAndMovesTheDirectoryList)
{
    char before[4096];
    ASSERT_TRUE(::getcwd(before, sizeof before));
    Make("盘/剧集/第一季");
    auto* drives = Place(new TbsSkinDriveComboBox(FForm));
    auto* dirs = Place(new TbsSkinDirectoryListBox(FForm), 200);
    drives->SetDirList(dirs);
    ASSERT_EQ(drives->Items()->Count(), 3);
    EXPECT_EQ(drives->ItemDrive(0), L"/");
    EXPECT_EQ(drives->Items()->Get(1), Utf8ToString(FDisk) + L" [movies]");
    EXPECT_EQ(drives->Items()->Get(2), Utf8ToString(FShare) + L" server:/export/视频");
    EXPECT_EQ(drives->Items()->Objects(1), drives->FixedBMP);
    EXPECT_EQ(drives->Items()->Objects(2), drives->NetworkBMP);
    drives->SetTextCase(tcUpperCase);
    EXPECT_EQ(drives->Items()->Get(1), Utf8ToString(FDisk) + L" [MOVIES]");

    // Choosing a volume enters its mount point the first time, the folder last shown after.
    int changes = 0;
    dirs->OnChange = [&](TObject*) { ++changes; };
    drives->SetItemIndex(1);
    EXPECT_EQ(drives->Drive(), Utf8ToString(FDisk));
    EXPECT_EQ(dirs->Directory(), Utf8ToString(FDisk));
    EXPECT_EQ(changes, 1);
    dirs->SetDirectory(L"剧集/第一季");
    drives->SetItemIndex(2);
    EXPECT_EQ(dirs->Directory(), Utf8ToString(FShare));
    drives->SetItemIndex(1);
    EXPECT_EQ(dirs->Directory(), Utf8ToString(FDisk + "/剧集/第一季"));
    // A folder typed on another volume selects that volume once, the list built once.
    changes = 0;
    dirs->SetDirectory(Utf8ToString(FShare));
    EXPECT_EQ(drives->ItemIndex(), 2);
    EXPECT_EQ(changes, 1);
    char after[4096];
    ASSERT_TRUE(::getcwd(after, sizeof after));
    EXPECT_STREQ(after, before);
}

}  // namespace
