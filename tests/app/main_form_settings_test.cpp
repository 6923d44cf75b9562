// The main window's start-up against "option.ini": the first start writes the file and makes the
// output folder, present values are used as they stand, a broken value fails its own step only,
// and a program folder that takes no files sends the settings to the config folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/framework/controls/combo_box.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/ini_file.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/core/skin_data.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/modal_script.h"

namespace fs = std::filesystem;

namespace {

using MainWindowSettings = MainWindowFixture;

String Ini(const std::string& path, const String& section, const String& key)
{
    return TIniFile(Utf8ToString(path)).ReadString(section, key, L"Error");
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST_F(MainWindowSettings, FirstStartWritesTheFileAndMakesTheOutputFolder)
{
    Start();
    const std::string out = HomeDir() + "/Vexmora视频软件/输出";
    EXPECT_TRUE(fs::is_directory(out));
    EXPECT_EQ(Ini(OptionIni(), L"OutPath", L"OutPath"), Utf8ToString(out));
    EXPECT_EQ(Ini(OptionIni(), L"Skin", L"SetSkin"), L"0");
    // The options dialog adds its keys right after.
    EXPECT_EQ(Ini(OptionIni(), L"Options", L"After_Done"), L"0");
    EXPECT_EQ(Ini(OptionIni(), L"Options", L"Thread_Priority"), L"3");
    EXPECT_EQ(Main->FileOutPutPath, Utf8ToString(out));
    EXPECT_EQ(Main->Video_OutPut_Folder_Edit->Text(), Utf8ToString(out));
}

TEST_F(MainWindowSettings, APresentFolderIsMadeAndUsedAndAnUnknownSkinIndexIsKept)
{
    const std::string wanted = Root.file("别处/输出 文件夹");
    WriteText(OptionIni(), "[OutPath]\nOutPath=" + wanted + "\n[Skin]\nSetSkin=5\n");
    Start();
    EXPECT_TRUE(fs::is_directory(wanted));
    EXPECT_EQ(Main->FileOutPutPath, Utf8ToString(wanted));
    // A skin index the list does not have leaves skin 0 in force and the value in the file.
    EXPECT_EQ(Main->bsSkinData1->SkinIndex(), 0);
    EXPECT_EQ(Ini(OptionIni(), L"Skin", L"SetSkin"), L"5");
}

TEST_F(MainWindowSettings, AMissingValueTakesTheDefault)
{
    WriteText(OptionIni(), "[OutPath]\nOutPath=Error\n");
    Start();
    EXPECT_EQ(Ini(OptionIni(), L"OutPath", L"OutPath"), Utf8ToString(HomeDir() + "/Vexmora视频软件/输出"));
    EXPECT_EQ(Ini(OptionIni(), L"Skin", L"SetSkin"), L"0");
}

// A skin value that is no whole number is missing: no box, skin 0, and the file repaired.
TEST_F(MainWindowSettings, AnUnreadableSkinValueIsRepairedWithoutABox)
{
    const std::string values[] = {"abc", "=", std::string("\x01\xff\xfe\x80", 4), "12345678901234567890"};
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        WriteText(OptionIni(), "[OutPath]\nOutPath=" + Root.file("out") + "\n[Skin]\nSetSkin=" + value + "\n");
        int boxes = 0;
        Application->MessageBoxHandler = [&](const String&, const String&, int) {
            ++boxes;
            return IDOK;
        };
        Start();
        EXPECT_EQ(boxes, 0);
        EXPECT_EQ(ModalScript::ModalForm(), nullptr);
        EXPECT_EQ(Main->bsSkinData1->SkinIndex(), 0);
        EXPECT_EQ(Ini(OptionIni(), L"Skin", L"SetSkin"), L"0");
        EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 0);
        EXPECT_EQ(Main->cboScreens->Text(), L"Panel6");
        Application->MessageBoxHandler = nullptr;
        ApplicationFixture::TearDown();
        Form1 = Main = nullptr;
    }
}

TEST_F(MainWindowSettings, AProgramFolderThatTakesNoFilesSendsTheSettingsToTheConfigFolder)
{
    fs::permissions(ProgramDir(), fs::perms::owner_read | fs::perms::owner_exec);
    // A user who may write anywhere: a folder that does not exist takes no files either.
    if (::access(ProgramDir().c_str(), W_OK) == 0) SetProgramFolder(Utf8ToString(Root.file("gone")));
    Start();
    const std::string ini = Root.file("config") + "/vexmora/option.ini";
    EXPECT_TRUE(fs::exists(ini));
    EXPECT_EQ(Ini(ini, L"Skin", L"SetSkin"), L"0");
    EXPECT_FALSE(fs::exists(OptionIni()));
    EXPECT_TRUE(fs::is_directory(HomeDir() + "/Vexmora视频软件/输出"));
    EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 0) << "start-up completed";
}

}  // namespace
