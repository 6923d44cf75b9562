// The boxes the main window shows a user: a full job list says in "提示" how many files stayed
// out; a task that fails shows the skinned box titled as the program, a Chinese sentence naming
// the file first and the libraries' text after it.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "app/job_data.h"
#include "platform/framework/controls/list_view.h"
#include "platform/win/shell_api.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/shown_boxes.h"

namespace {

class MainWindowBoxes : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        vxwin::SetShellExecuteHook([](const vxwin::ShellExecuteCall&) { return LONG_PTR(42); });
        Start();
        ASSERT_TRUE(Main->DERID->LoadAVLib(ProgramFolder() + L"LibAV"));
    }
    void TearDown() override
    {
        if (Main) Main->DERID->Stop(true);
        MainWindowFixture::TearDown();
        vxwin::SetShellExecuteHook(nullptr);
    }
    int Rows() const { return Main->lvFiles->Items()->Count(); }
};

TEST_F(MainWindowBoxes, AFullListSaysHowManyFilesWereNotAdded)
{
    for (const char* name : {"a.mkv", "b.mkv", "c.mkv", "d.mkv"}) Clip(Root.file(std::string("in/") + name));
    // Every slot but two is taken.
    for (int slot = 0; slot < JobSlotCount - 2; ++slot) Main->OO1[slot].AudioLanguage = SlotFull;

    Main->bsSkinSelectDirectoryDialog1->SetDirectory(Utf8ToString(Root.file("in")));
    std::vector<TShownBox> boxes;
    {
        ModalScript script({[](TCustomForm* F) { ClickControl(dynamic_cast<TbsSelDirDlgForm*>(F)->OkButton); },
                            ReadAndCloseBox(boxes)});
        Main->Button12Click(nullptr);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(Rows(), 2);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].Skinned);
    EXPECT_EQ(boxes[0].Caption, L"提示");
    EXPECT_NE(boxes[0].Text.find(L"有 2 个文件没有添加"), String::npos) << StringToUtf8(boxes[0].Text);
}

TEST_F(MainWindowBoxes, AFailedTaskNamesItsFileBeforeTheLibrarysText)
{
    const std::string clip = Clip(Root.file("in/大片.mkv"), 320, 240, 48000, 200);
    ASSERT_EQ(Main->AddJob(Utf8ToString(clip)), ajAdded);
    int ends = 0;
    auto terminate = Main->DERID->OnTerminate();
    Main->DERID->SetOnTerminate([&](TObject* Sender, const TTerminateInfo& AInfo) {
        terminate(Sender, AInfo);
        if (AInfo.TaskIndex == -1) ++ends;
    });

    // The disk takes no more than 40 kB of any file of this process while the queue runs.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved;
    limit.rlim_cur = 40000;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::vector<TShownBox> boxes;
    {
        ModalScript script({ReadAndCloseBox(boxes)});
        Main->bsSkinButton2Click(nullptr);
        EXPECT_TRUE(WaitFor([&] { return ends > 0 && script.Done(); }));
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].Skinned);
    EXPECT_EQ(boxes[0].Caption, Application->Title());
    const std::string text = StringToUtf8(boxes[0].Text);
    EXPECT_EQ(text.rfind("文件“大片.mkv”转换失败：\n", 0), 0u) << text;
    EXPECT_TRUE(text.find("av_interleaved_write_frame(): ") != std::string::npos ||
                text.find("av_write_trailer(): ") != std::string::npos)
        << text;
}

}  // namespace
