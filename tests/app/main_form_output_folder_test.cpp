// A configured output folder that cannot take files (a file in its place, a path too long, a
// read-only disk) is reported once at start in the skinned "提示" box, and the default folder is
// used and shown instead; the setting itself stays in "option.ini".
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>

#include "platform/framework/core/ini_file.h"
#include "skin/boxes/skin_edit.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/shown_boxes.h"

namespace fs = std::filesystem;

namespace {

class OutputFolderAtStart : public MainWindowFixture {
protected:
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        if (Mounted) ::umount2(Root.file("ro").c_str(), MNT_DETACH);
    }
    // Starts with [OutPath] OutPath = AFolder and gives the boxes the start showed.
    std::vector<TShownBox> StartWith(const std::string& AFolder)
    {
        std::ofstream(OptionIni(), std::ios::binary) << "[OutPath]\nOutPath=" << AFolder << "\n[Skin]\nSetSkin=0\n";
        std::vector<TShownBox> boxes;
        ModalScript script({ReadAndCloseBox(boxes)});
        Start();
        return boxes;
    }
    bool Mounted = false;
};

TEST_F(OutputFolderAtStart, AnUnusableFolderIsReportedOnceAndTheDefaultIsUsed)
{
    std::ofstream(Root.file("a file")) << "x";
    std::string longPath = Root.file("long");
    while (longPath.size() < 5000) longPath += "/" + std::string(200, 'd');
    std::vector<std::pair<std::string, std::string>> cases = {{"a file", Root.file("a file")},
                                                              {"a 5000-character path", longPath}};
    fs::create_directories(Root.file("ro"));
    Mounted = ::mount("tmpfs", Root.file("ro").c_str(), "tmpfs", MS_RDONLY, "size=64k") == 0;
    if (Mounted)
        cases.push_back({"a read-only disk", Root.file("ro") + "/输出"});
    else
        std::cerr << "a read-only tmpfs cannot be mounted here: that case is left out\n";
    const String fallback = Utf8ToString(HomeDir() + "/Vexmora视频软件/输出");
    for (const auto& [name, folder] : cases) {
        SCOPED_TRACE(name);
        const std::vector<TShownBox> boxes = StartWith(folder);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].Skinned);
        EXPECT_EQ(boxes[0].Caption, L"提示");
        EXPECT_NE(boxes[0].Text.find(L"无法使用"), String::npos) << StringToUtf8(boxes[0].Text);
        EXPECT_NE(boxes[0].Text.find(fallback), String::npos) << "the box names the folder in use";
        EXPECT_EQ(Main->FileOutPutPath, fallback);
        EXPECT_EQ(Main->Video_OutPut_Folder_Edit->Text(), fallback);
        EXPECT_TRUE(fs::is_directory(StringToUtf8(fallback)));
        EXPECT_EQ(TIniFile(Utf8ToString(OptionIni())).ReadString(L"OutPath", L"OutPath", L"Error"),
                  Utf8ToString(folder))
            << "the setting stays for a later start";
        ApplicationFixture::TearDown();
        Form1 = Main = nullptr;
    }
}

TEST_F(OutputFolderAtStart, AUsableFolderShowsNoBox)
{
    const std::string folder = Root.file("可用/输出");
    EXPECT_TRUE(StartWith(folder).empty());
    EXPECT_EQ(Main->FileOutPutPath, Utf8ToString(folder));
    EXPECT_TRUE(fs::is_directory(folder));
}

}  // namespace
