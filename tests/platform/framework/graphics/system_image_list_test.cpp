// The system image lists: two sizes of every shell icon, each its own picture with a transparent
// surround, and SHGetFileInfoW's answers by item and by path.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/framework/graphics/system_image_list.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(SystemImageList, TwoSizesOfDistinctIconsWithTransparentSurround)
{
    for (bool large : {false, true}) {
        SCOPED_TRACE(large);
        TCustomImageList* list = SystemImageList(large);
        ASSERT_EQ(list->Count(), vxwin::siCount);
        EXPECT_EQ(list->Width(), large ? 32 : 16);
        EXPECT_EQ(list->Height(), large ? 32 : 16);
        for (int i = 0; i < list->Count(); ++i) {
            SCOPED_TRACE(i);
            const TRasterImage img = list->GetImage(i);
            int opaque = 0;
            for (int y = 0; y < img.Height(); ++y)
                for (int x = 0; x < img.Width(); ++x) opaque += (img.Pixel(x, y) >> 24) == 255;
            EXPECT_GT(opaque, img.Width() * img.Height() / 4);
            EXPECT_LT(opaque, img.Width() * img.Height());
            EXPECT_EQ(img.Pixel(0, 0) >> 24, 0u);  // no icon fills its corner
            for (int j = 0; j < i; ++j) EXPECT_FALSE(img.SamePixels(list->GetImage(j))) << "same as " << j;
        }
    }
}

TEST(SystemImageList, FileInfoAnswersTheListAndTheItemsIcon)
{
    TempDir t;
    std::filesystem::create_directories(t.file("folder"));
    std::ofstream(t.file("clip.mkv")) << "x";
    SHFILEINFOW info;
    const DWORD_PTR small = SHGetFileInfoW(t.File(L"folder").c_str(), 0, &info, sizeof info,
                                           SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_OPENICON);
    EXPECT_EQ(small, reinterpret_cast<DWORD_PTR>(SystemImageList(false)->Handle()));
    EXPECT_EQ(info.iIcon, vxwin::siFolderOpen);
    EXPECT_EQ(ImageList_GetImageCount(reinterpret_cast<HIMAGELIST>(small)), vxwin::siCount);
    const DWORD_PTR large = SHGetFileInfoW(t.File(L"clip.mkv").c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX);
    EXPECT_EQ(large, reinterpret_cast<DWORD_PTR>(SystemImageList(true)->Handle()));
    EXPECT_EQ(info.iIcon, vxwin::siVideo);
    // The lists' handle for a path that is nowhere; nothing without the system index flag.
    EXPECT_EQ(SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON), small);
    EXPECT_EQ(info.iIcon, vxwin::siFile);
    EXPECT_EQ(SHGetFileInfoW(t.File(L"folder").c_str(), 0, &info, sizeof info, SHGFI_SMALLICON), 0u);

    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    SHGetFileInfoW(reinterpret_cast<LPCWSTR>(computer), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_SYSICONINDEX);
    EXPECT_EQ(info.iIcon, vxwin::siComputer);
    std::free(computer);
}

}  // namespace
