// What SIGTERM and SIGINT ask for, on the UI thread as the signal watcher queues it: while tasks
// fail on a full disk and their box is up, the request stops the queue, closes the box and ends
// the message loop; the output converted before the disk filled stays whole. (The built program
// taking the signals themselves is tested with the program.) Skipped where no small tmpfs can be
// mounted.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <filesystem>
#include <fstream>

#include "app/program_signals.h"
#include "app/program_start.h"
#include "platform/base/main_thread.h"
#include "platform/framework/controls/list_view.h"
#include "platform/win/shell_api.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_list_view.h"
#include "tests/app/main_window_fixture.h"
#include "tests/app/shown_boxes.h"
#include "tests/support/file_bytes.h"

namespace fs = std::filesystem;

namespace {

class EndOnRequest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        vxwin::SetShellExecuteHook([](const vxwin::ShellExecuteCall&) { return LONG_PTR(42); });
        fs::create_directories(Disk());
        Mounted = ::mount("tmpfs", Disk().c_str(), "tmpfs", 0, "size=2m") == 0;
    }
    void TearDown() override
    {
        if (Form1) Form1->DERID->Stop(true);
        MainWindowFixture::TearDown();
        Application->OnException = nullptr;
        vxwin::SetShellExecuteHook(nullptr);
        if (Mounted) ::umount2(Disk().c_str(), MNT_DETACH);
    }
    std::string Disk() const { return Root.file("disk"); }
    // Fills the disk to its last byte.
    void FillDisk() const
    {
        std::ofstream filler(Disk() + "/filler", std::ios::binary);
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size())) {}
    }
    bool Mounted = false;
};

TEST_F(EndOnRequest, StopsTheQueueAndEndsWhileTasksFailOnAFullDisk)
{
    if (!Mounted) GTEST_SKIP() << "a small tmpfs cannot be mounted here";
    CreateProgramForms();
    Main = Form1;
    Pump();
    ASSERT_TRUE(Main->DERID->LoadAVLib(ProgramFolder() + L"LibAV"));
    Main->FileOutPutPath = Utf8ToString(Disk());
    Main->Video_OutPut_Folder_Edit->SetText(Main->FileOutPutPath);
    // The first job converts while the disk has room; the disk is then filled and the others fail.
    ASSERT_EQ(Main->AddJob(Utf8ToString(Clip(Root.file("in/a.mkv"), 64, 48, 8000, 5))), ajAdded);
    for (const char* name : {"b.mkv", "c.mkv"}) {
        const std::string clip = Clip(Root.file(std::string("in/") + name), 320, 240, 48000, 200);
        ASSERT_EQ(Main->AddJob(Utf8ToString(clip)), ajAdded);
    }
    std::string firstOutput, firstBytes;
    auto terminate = Main->DERID->OnTerminate();
    Main->DERID->SetOnTerminate([&](TObject* Sender, const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex == 0 && AInfo.Finished) {
            TListItem* row = Main->lvFiles->Items()->Item(0);
            firstOutput = Disk() + "/" + StringToUtf8(row->SubItems()->Get(2));
            firstBytes = ReadBytes(firstOutput);
            FillDisk();
        }
        terminate(Sender, AInfo);
    });

    std::vector<TShownBox> boxes;
    bool asked = false;
    {
        // At the first failure's box the request comes, queued as the signal watcher queues it.
        ModalScript script({[&](TCustomForm* AForm) {
            boxes.push_back({dynamic_cast<TbsMessageForm*>(AForm)->Message->Caption(), AForm->Caption(), true});
            asked = true;
            QueueInMainThread([] { EndProgramOnRequest(); });
        }});
        Main->bsSkinButton2Click(nullptr);
        EXPECT_TRUE(WaitFor([&] { return Application->Terminated(); })) << "the loop did not end";
    }
    ASSERT_TRUE(asked) << "no task failed";
    EXPECT_EQ(ModalScript::ModalForm(), nullptr) << "a box stays up";
    EXPECT_FALSE(Main->DERID->Working() && !Main->DERID->Terminated()) << "the queue still runs";
    ASSERT_FALSE(firstOutput.empty()) << "the first job did not convert";
    EXPECT_FALSE(firstBytes.empty());
    EXPECT_EQ(ReadBytes(firstOutput), firstBytes) << "the completed output changed";
    ASSERT_FALSE(boxes.empty());
    EXPECT_NE(boxes[0].Text.find(L"转换失败"), String::npos);
}

}  // namespace
