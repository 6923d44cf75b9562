// The options dialog on a temporary program folder and home: what it shows and writes on a first
// start, how it reads (and repairs) a saved [Options] section, what "确定" saves, that "取消"
// changes nothing, and that a settings file nobody can write never stops it.
#include "app/options_form.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <string>

#include "app/program_paths.h"
#include "engine/converter.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/strings.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_page_control.h"
#include "skin/controls/skin_paint_panel.h"
#include "skin/controls/skin_std_label.h"
#include "skin/controls/skin_tab_sheet.h"
#include "tests/support/application_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/temp_dir.h"

namespace {

class OptionsForm : public ApplicationFixture {
protected:
    void SetUp() override
    {
        for (const char* v : {"HOME", "XDG_CONFIG_HOME"}) {
            const char* old = std::getenv(v);
            FOldEnv[v] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        std::filesystem::create_directories(FDir.file("程序"));
        ::setenv("HOME", FDir.file("home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", FDir.file("config").c_str(), 1);
        SetProgramFolder(Utf8ToString(FDir.file("程序")));
        DERID = new TCustomFFConverter(Application);
    }
    void TearDown() override
    {
        ApplicationFixture::TearDown();
        SetProgramFolder(L"");
        for (const auto& [name, value] : FOldEnv) {
            if (value)
                ::setenv(name.c_str(), value->c_str(), 1);
            else
                ::unsetenv(name.c_str());
        }
    }

    std::string IniPath() const { return FDir.file("程序/option.ini"); }
    void WriteIni(const std::string& text) const { std::ofstream(IniPath()) << text; }
    // A key of [Options] as the file holds it, "-" when absent.
    static String Key(const String& Name) { return TIniFile(OptionIniPath()).ReadString(L"Options", Name, L"-"); }

    TForm5* Make()
    {
        auto* f = new TForm5(Application, DERID);
        Form5 = f;
        return f;
    }
    // The numbers of the ticked boxes.
    static std::set<int> Ticked(TForm5* F)
    {
        std::set<int> out;
        for (int i = 1; i <= 12; ++i)
            if (Box(F, i)->Checked()) out.insert(i);
        return out;
    }
    static TbsSkinCheckRadioBox* Box(TForm5* F, int N)
    {
        TbsSkinCheckRadioBox* boxes[] = {F->bsSkinCheckRadioBox1,  F->bsSkinCheckRadioBox2,  F->bsSkinCheckRadioBox3,
                                         F->bsSkinCheckRadioBox4,  F->bsSkinCheckRadioBox5,  F->bsSkinCheckRadioBox6,
                                         F->bsSkinCheckRadioBox7,  F->bsSkinCheckRadioBox8,  F->bsSkinCheckRadioBox9,
                                         F->bsSkinCheckRadioBox10, F->bsSkinCheckRadioBox11, F->bsSkinCheckRadioBox12};
        return boxes[N - 1];
    }

    TempDir FDir;
    TCustomFFConverter* DERID = nullptr;
    std::map<std::string, std::optional<std::string>> FOldEnv;
};

TEST_F(OptionsForm, TheDialogHoldsItsControlsOnTwoTabsOpeningOnGeneral)
{
    TForm5* f = Make();
    EXPECT_EQ(f->Caption(), L"选项");
    EXPECT_EQ(f->ClientWidth(), 526);
    EXPECT_EQ(f->ClientHeight(), 464);
    EXPECT_EQ(f->bsSkinTabSheet1->Caption(), L"CPU");
    EXPECT_EQ(f->bsSkinTabSheet2->Caption(), L"常规");
    EXPECT_EQ(f->bsSkinPageControl1->ActivePage(), f->bsSkinTabSheet2);

    struct Row {
        int box;
        const wchar_t* caption;
        bool radio;
        TWinControl* group;
    };
    const Row rows[] = {
        {9, L"系统空闲时进行", true, f->bsSkinGroupBox1},
        {10, L"最低优先级进行", true, f->bsSkinGroupBox1},
        {11, L"较低优先级进行", true, f->bsSkinGroupBox1},
        {12, L"正常优先级进行", true, f->bsSkinGroupBox1},
        {8, L"转换时进行实时视频预览", false, f->bsSkinGroupBox2},
        {7, L"启用多线程模式   （同时进行转换的视频个数）", false, f->bsSkinGroupBox2},
        {3, L"直接覆盖输出文件", true, f->bsSkinGroupBox3},
        {6, L"自动重命名输出文件", true, f->bsSkinGroupBox3},
        {1, L"自动打开输出文件夹", true, f->bsSkinGroupBox4},
        {2, L"自动关闭计算机", true, f->bsSkinGroupBox4},
        {4, L" 播放提示音乐", true, f->bsSkinGroupBox4},
        {5, L"不进行任何操作", true, f->bsSkinGroupBox4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.box);
        EXPECT_EQ(Box(f, r.box)->Caption(), r.caption);
        EXPECT_EQ(Box(f, r.box)->Radio(), r.radio);
        EXPECT_EQ(Box(f, r.box)->Parent(), r.group);
    }
    EXPECT_EQ(f->bsSkinGroupBox1->Parent(), f->bsSkinTabSheet1);
    EXPECT_EQ(f->bsSkinGroupBox4->Parent(), f->bsSkinTabSheet2);
    EXPECT_EQ(f->bsSkinGroupBox1->Caption(), L"转换时CPU利用方式");
    EXPECT_EQ(f->bsSkinGroupBox2->Caption(), L"转换参数");
    EXPECT_EQ(f->bsSkinGroupBox3->Caption(), L"如果输出文件存在时");
    EXPECT_EQ(f->bsSkinGroupBox4->Caption(), L"转换工作完成后");
    // The multi-thread box lies below its group's visible area.
    EXPECT_GE(f->bsSkinCheckRadioBox7->Top(), f->bsSkinGroupBox2->Height());
    EXPECT_EQ(f->bsSkinStdLabel1->Caption(), L"同时进行转换的文件个数");
    ASSERT_EQ(f->bsSkinComboBox2->Items()->Count(), 19);
    EXPECT_EQ(f->bsSkinComboBox2->Items()->Strings(18), L"19");
    EXPECT_EQ(f->bsSkinButton6->Caption(), L"确定");
    EXPECT_EQ(f->bsSkinButton1->Caption(), L"取消");

    // The radios of one group exclude each other; the groups do not touch one another.
    f->bsSkinCheckRadioBox4->SetChecked(true);
    f->bsSkinCheckRadioBox9->SetChecked(true);
    EXPECT_EQ(Ticked(f), (std::set<int>{4, 6, 7, 9}));
}

TEST_F(OptionsForm, AFirstStartWritesTheDefaultsAndShowsThem)
{
    ASSERT_FALSE(std::filesystem::exists(IniPath()));
    TForm5* f = Make();
    EXPECT_EQ(Key(L"After_Done"), L"0");
    EXPECT_EQ(Key(L"Show_Preview"), L"0");
    EXPECT_EQ(Key(L"Thread_Priority"), L"3");
    EXPECT_EQ(Key(L"Overwrite_File"), L"1");
    EXPECT_EQ(Key(L"Thread_Count"), L"-");  // stored only by a save with the multi-thread box ticked
    EXPECT_EQ(Ticked(f), (std::set<int>{1, 6, 7, 12}));
    EXPECT_EQ(f->bsSkinComboBox2->Text(), L"1");
    EXPECT_FALSE(DERID->Preview());
}

TEST_F(OptionsForm, ASavedSectionIsShownAndUnknownValuesAreRepaired)
{
    struct Case {
        const char* name;
        std::string ini;
        std::set<int> ticked;
        const wchar_t* threads;
        bool preview;
        std::map<String, String> file;  // keys as the file holds them afterwards
    };
    const Case cases[] = {
        {"saved choices",
         "[Options]\nAfter_Done=2\nThread_Priority=1\nOverwrite_File=0\nShow_Preview=1\nThread_Count=5\n",
         {3, 4, 7, 8, 10},
         L"5",
         true,
         {{L"After_Done", L"2"}, {L"Thread_Count", L"5"}}},
        {"unknown values",
         "[Options]\nAfter_Done=7\nThread_Priority=high\nOverwrite_File=\nShow_Preview=yes\nThread_Count=25\n",
         {1, 6, 7, 12},
         L"1",
         false,
         {{L"After_Done", L"0"},
          {L"Thread_Priority", L"3"},
          {L"Overwrite_File", L"1"},
          {L"Show_Preview", L"0"},
          {L"Thread_Count", L"25"}}},
        {"missing keys",
         "[OutPath]\nOutPath=/x\n",
         {1, 6, 7, 12},
         L"1",
         false,
         {{L"After_Done", L"0"}, {L"Thread_Priority", L"3"}, {L"Show_Preview", L"0"}, {L"Thread_Count", L"-"}}},
        {"shut down, idle, \"Error\" values",
         "[Options]\nAfter_Done=1\nThread_Priority=0\nOverwrite_File=Error\nShow_Preview=0\nThread_Count=abc\n",
         {2, 6, 7, 9},
         L"1",
         false,
         {{L"Overwrite_File", L"1"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteIni(c.ini);
        TForm5* f = Make();
        EXPECT_EQ(Ticked(f), c.ticked);
        EXPECT_EQ(f->bsSkinComboBox2->Text(), c.threads);
        EXPECT_EQ(DERID->Preview(), c.preview);
        for (const auto& [key, value] : c.file) EXPECT_EQ(Key(key), value) << StringToUtf8(key);
        f->Free();
    }
}

TEST_F(OptionsForm, AMalformedFileStillGivesOneChoicePerGroup)
{
    const std::string cases[] = {
        std::string("\0\xff\xfe[Opt\0ions]\nAfter_Done=\x01\n", 25),
        "After_Done=2\nThread_Priority=0\n",  // keys outside any section
        "[Options\nAfter_Done=2\n[]\n=\n==\n",
        "[Options]\r\nAfter_Done=2\r\nThread_Count=19\r\n[Options]\r\nAfter_Done=1\r\n",
        "[Options]\nAfter_Done=" + std::string(100000, '2') + "\nThread_Count=-3\n",
        "[Options]\nThread_Count=2147483648\nShow_Preview=1 \n",
    };
    for (const std::string& text : cases) {
        SCOPED_TRACE(text.substr(0, 40));
        WriteIni(text);
        TForm5* f = Make();
        const std::set<int> ticked = Ticked(f);
        auto count = [&](std::set<int> group) {
            int n = 0;
            for (int b : group) n += ticked.count(b) ? 1 : 0;
            return n;
        };
        EXPECT_EQ(count({1, 2, 4, 5}), 1);
        EXPECT_EQ(count({9, 10, 11, 12}), 1);
        EXPECT_EQ(count({3, 6}), 1);
        EXPECT_GE(f->bsSkinComboBox2->ItemIndex(), 0);
        const String done = Key(L"After_Done");
        EXPECT_TRUE(done == L"0" || done == L"1" || done == L"2" || done == L"3") << StringToUtf8(done);
        f->Free();
    }
}

TEST_F(OptionsForm, SavingWritesEveryChoiceAndTheThreadCountOnlyInMultiThreadMode)
{
    TForm5* f = Make();
    f->bsSkinCheckRadioBox5->SetChecked(true);
    f->bsSkinCheckRadioBox11->SetChecked(true);
    f->bsSkinCheckRadioBox3->SetChecked(true);
    f->bsSkinCheckRadioBox8->SetChecked(true);
    EXPECT_TRUE(DERID->Preview());  // at once, saved or not
    f->bsSkinComboBox2->SetItemIndex(2);

    f->bsSkinCheckRadioBox7->SetChecked(false);
    EXPECT_FALSE(f->bsSkinComboBox2->Enabled());
    EXPECT_TRUE(f->SaveOptions());
    EXPECT_EQ(Key(L"Thread_Count"), L"-");
    EXPECT_EQ(Key(L"After_Done"), L"3");
    EXPECT_EQ(Key(L"Thread_Priority"), L"2");
    EXPECT_EQ(Key(L"Overwrite_File"), L"0");
    EXPECT_EQ(Key(L"Show_Preview"), L"1");

    f->bsSkinCheckRadioBox7->SetChecked(true);
    EXPECT_TRUE(f->bsSkinComboBox2->Enabled());
    f->Button2->Click();  // the hidden "写ini"
    EXPECT_EQ(Key(L"Thread_Count"), L"3");

    // The next start shows what was saved.
    f->Free();
    f = Make();
    EXPECT_EQ(Ticked(f), (std::set<int>{3, 5, 7, 8, 11}));
    EXPECT_EQ(f->bsSkinComboBox2->Text(), L"3");
}

TEST_F(OptionsForm, OkSavesAndCancelPutsBackWhatTheDialogShowed)
{
    TForm5* f = Make();
    const std::string before = [&] {
        std::ifstream in(IniPath());
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }();

    // Cancel: the clicks and a change made in code all go back, the preview too; nothing written.
    {
        ModalScript script({[&](TCustomForm*) {
                                ClickControl(f->bsSkinCheckRadioBox2);
                                f->bsSkinCheckRadioBox8->SetChecked(true);
                                f->bsSkinComboBox2->SetItemIndex(6);
                            },
                            [&](TCustomForm*) {
                                EXPECT_TRUE(f->bsSkinCheckRadioBox2->Checked());
                                EXPECT_TRUE(DERID->Preview());
                                ClickControl(f->bsSkinButton1);
                            }});
        EXPECT_EQ(f->ShowModal(), mrCancel);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(Ticked(f), (std::set<int>{1, 6, 7, 12}));
    EXPECT_EQ(f->bsSkinComboBox2->Text(), L"1");
    EXPECT_FALSE(DERID->Preview());
    std::ifstream in(IniPath());
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()), before);

    // OK: saved, and the choice stays in force.
    {
        ModalScript script({[&](TCustomForm*) { ClickControl(f->bsSkinCheckRadioBox2); },
                            [&](TCustomForm*) { ClickControl(f->bsSkinButton6); }});
        EXPECT_EQ(f->ShowModal(), mrOk);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_TRUE(f->bsSkinCheckRadioBox2->Checked());
    EXPECT_EQ(Key(L"After_Done"), L"1");
    EXPECT_EQ(Key(L"Thread_Count"), L"1");
}

TEST_F(OptionsForm, ASettingsFileNobodyCanWriteLeavesTheDefaultsInForce)
{
    // No program folder to write beside, and a config home that is a plain file: even root
    // cannot make a folder inside it.
    SetProgramFolder(Utf8ToString(FDir.file("gone")));
    std::ofstream(FDir.file("config-file")) << "x";
    ::setenv("XDG_CONFIG_HOME", FDir.file("config-file").c_str(), 1);

    TForm5* f = nullptr;
    EXPECT_NO_THROW(f = Make());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(Ticked(f), (std::set<int>{1, 6, 7, 12}));
    EXPECT_NO_THROW(f->LoadOptions());
    f->bsSkinCheckRadioBox2->SetChecked(true);
    bool saved = true;
    EXPECT_NO_THROW(saved = f->SaveOptions());
    EXPECT_FALSE(saved);
    EXPECT_TRUE(f->bsSkinCheckRadioBox2->Checked());
}

}  // namespace
