// Life cycle of a conversion task: creation limits, the refusals of StartConvert, the single
// termination event, stop, pause, resume and cancel of a converting thread, and the clean-up
// of a run.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "engine/av_bindings.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/files.h"
#include "tests/engine/task_test_support.h"
#include "tests/support/temp_dir.h"

using namespace std::chrono_literals;
using engine_test::TaskFixture;

namespace {

// A task whose run converts nothing: it passes its loop until it is stopped, halting where the
// transcode loop halts, or fails when asked to.
class TWaitingTask : public TFFmpeg {
public:
    using TFFmpeg::TFFmpeg;
    std::atomic<int> Passes{0};
    bool FailRun = false;
    bool EndAtOnce = false;
    bool LogEveryPass = false;
    // Opens the outputs as a real run does, then calls DuringRun.
    bool OpenOutputs = false;
    std::function<void()> DuringRun;

    void Transcode() override
    {
        if (FailRun) throw FFmpegException(L"broken input");
        if (OpenOutputs) OpenOutputTargets();
        if (DuringRun) DuringRun();
        while (!FBroken && !EndAtOnce) {
            CheckPause();
            // A log line waits until the main thread has delivered it.
            if (LogEveryPass) DefaultLogger()->Log(this, llWarning, L"pass");
            ++Passes;
            std::this_thread::sleep_for(1ms);
        }
        FFinished = !FBroken;
    }
};

template <class Pred>
bool WaitUntil(Pred APred, std::chrono::milliseconds ATimeout = 5000ms)
{
    auto end = std::chrono::steady_clock::now() + ATimeout;
    while (!APred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        CheckSynchronize();
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

}  // namespace

class TaskLifeCycle : public TaskFixture {
protected:
    void SetUp() override
    {
        TaskFixture::SetUp();
        Run = std::make_unique<TWaitingTask>(2);
        Run->ResetConverter();
        Run->FOnTerminate = [this](TObject*) {
            ++Terminations;
            TerminatedOn = std::this_thread::get_id();
        };
    }
    void TearDown() override
    {
        Run.reset();
        TaskFixture::TearDown();
    }
    // Opened files are stood in for by counts: this run opens nothing itself.
    void PretendFiles()
    {
        Run->Fnb_input_files = 1;
        Run->Fnb_output_files = 1;
    }

    std::unique_ptr<TWaitingTask> Run;
    std::atomic<int> Terminations{0};
    std::thread::id TerminatedOn;
};

TEST(TaskCreation, FileCountMustLieInOneTo512)
{
    EXPECT_THROW(TFFmpeg(0), EAssertionFailed);
    EXPECT_THROW(TFFmpeg(513), EAssertionFailed);
    TFFmpeg one(1);
    EXPECT_EQ(one.Finput_files.size(), 1u);
    // The stream tables hold 20 places per file and grow as they are used.
    EXPECT_EQ(one.StreamSlotLimit(), 20);
    EXPECT_TRUE(one.Fstream_maps.empty());
    EXPECT_NE(one.StreamSlot(one.Fstream_maps, 19), nullptr);
    EXPECT_EQ(one.Fstream_maps.size(), 20u);
    EXPECT_EQ(one.StreamSlot(one.Fstream_maps, 20), nullptr);
    TFFmpeg most(512);
    EXPECT_EQ(most.Foutput_files.size(), 512u);
    EXPECT_EQ(most.StreamSlotLimit(), 10240);
    EXPECT_TRUE(most.Foutput_codecs.empty());
    EXPECT_EQ(most.ReportInterval, 500000);
    EXPECT_EQ(most.PreviewInterval, 100000);
    EXPECT_EQ(most.FTotalOutputDuration, -1);
    EXPECT_EQ(most.Fmax_frames[3], INT32_MAX);
    EXPECT_EQ(most.Frecording_time, INT64_MAX);
}

TEST_F(TaskLifeCycle, StartWithoutFilesFailsAndEndsOnceOnTheCallingThread)
{
    EXPECT_EQ(Run->StartConvert(true, tpNormal), nullptr);
    EXPECT_EQ(Terminations, 1);
    EXPECT_EQ(TerminatedOn, std::this_thread::get_id());
    EXPECT_TRUE(Run->FFatalException);
    EXPECT_EQ(Run->FFatalMessage, L"At least one output file must be specified");
    EXPECT_TRUE(Logged(llQuiet, L"At least one output file must be specified"));
    EXPECT_TRUE(Run->FTerminated);
    // An ended task does not start again.
    EXPECT_EQ(Run->StartConvert(true, tpNormal), nullptr);
    EXPECT_EQ(Terminations, 1);

    Run->ResetConverter();
    Run->Fnb_output_files = 1;
    EXPECT_EQ(Run->StartConvert(false, tpNormal), nullptr);
    EXPECT_EQ(Run->FFatalMessage, L"At least one input file must be specified");
    EXPECT_EQ(Terminations, 2);
    EXPECT_EQ(Run->Passes, 0);
}

TEST_F(TaskLifeCycle, InlineRunFinishesOnTheCallingThread)
{
    PretendFiles();
    Run->EndAtOnce = true;
    EXPECT_EQ(Run->StartConvert(false, tpNormal), nullptr);
    EXPECT_TRUE(Run->FFinished);
    EXPECT_FALSE(Run->FFatalException);
    EXPECT_FALSE(Run->FConverting);
    EXPECT_EQ(Terminations, 1);
    EXPECT_EQ(TerminatedOn, std::this_thread::get_id());
    // Cleaned up: the files are released.
    EXPECT_EQ(Run->Fnb_output_files, 0);
    EXPECT_EQ(Run->Fnb_input_files, 0);
}

TEST_F(TaskLifeCycle, PauseHaltsTheThreadAndResumeAndStopReleaseIt)
{
    PretendFiles();
    TThread* thread = Run->StartConvert(true, tpLower);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(Run->FConverting);
    // A second start while converting is refused.
    EXPECT_EQ(Run->StartConvert(true, tpNormal), nullptr);
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return Run->Passes > 3; }));

    Run->Pause();
    EXPECT_TRUE(Run->Paused());
    std::this_thread::sleep_for(20ms);
    int halted = Run->Passes;
    std::this_thread::sleep_for(50ms);
    EXPECT_LE(Run->Passes, halted + 1);

    Run->Resume();
    EXPECT_TRUE(WaitUntil([&] { return Run->Passes > halted + 3; }));

    Run->Pause();
    // Stop lets a halted thread go on and waits until it has ended the task.
    Run->Stop(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_NE(TerminatedOn, std::this_thread::get_id());
    EXPECT_FALSE(Run->FConverting);
    EXPECT_TRUE(Run->FTerminated);
    EXPECT_FALSE(Run->FFinished);
    EXPECT_FALSE(Run->FFatalException);
    EXPECT_EQ(Run->FThread.load(), nullptr);
    // Pause and Resume without a thread do nothing.
    Run->Pause();
    EXPECT_FALSE(Run->Paused());
}

TEST_F(TaskLifeCycle, WaitingStopServesTheCallsOfTheConvertingThread)
{
    PretendFiles();
    Run->LogEveryPass = true;
    TThread* thread = Run->StartConvert(true, tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return Run->Passes > 2; }));
    Run->Stop(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_TRUE(Logged(llWarning, L"pass"));
}

TEST_F(TaskLifeCycle, CodecListsCloseEveryOpenedCodecNewestFirst)
{
    const AVCodec* codec = av::avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    AVCodecContext* contexts[3] = {};
    for (AVCodecContext*& ctx : contexts) {
        ctx = av::avcodec_alloc_context3(codec);
        ctx->width = 64;
        ctx->height = 48;
        ctx->pix_fmt = AV_PIX_FMT_YUV420P;
        ctx->time_base = AVRational{1, 25};
        ASSERT_GE(av::avcodec_open2(ctx, codec, nullptr), 0);
        ctx->stats_in = av::av_strdup("two-pass statistics");
        TCustomFFmpeg::AddCodecItem(Run->FEncoderList, ctx);
    }
    EXPECT_EQ(Run->FEncoderList->st, contexts[2]);
    TCustomFFmpeg::RemoveCodecItem(Run->FEncoderList, contexts[1]);
    TCustomFFmpeg::RemoveCodecItem(Run->FEncoderList, contexts[1]);
    ASSERT_EQ(Run->FEncoderList->Next->st, contexts[0]);
    EXPECT_EQ(Run->FEncoderList->Next->Prev, Run->FEncoderList);
    Run->CloseEncoderList(Run->FEncoderList);
    EXPECT_EQ(Run->FEncoderList, nullptr);
    EXPECT_EQ(contexts[0]->stats_in, nullptr);
    EXPECT_EQ(contexts[2]->stats_in, nullptr);
    av::av_freep(&contexts[1]->stats_in);
    for (AVCodecContext*& ctx : contexts) av::avcodec_free_context(&ctx);
}

TEST_F(TaskLifeCycle, StopBeforeStartOnlyMarksTheTaskBroken)
{
    PretendFiles();
    Run->Stop(true);
    EXPECT_TRUE(Run->FBroken);
    EXPECT_EQ(Terminations, 0);
    TThread* thread = Run->StartConvert(true, tpNormal);
    ASSERT_NE(thread, nullptr);
    EXPECT_FALSE(Run->FBroken);
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return Run->Passes > 0; }));
    Run->Stop(true);
    EXPECT_EQ(Terminations, 1);
}

TEST_F(TaskLifeCycle, CancelBeforeStartEndsTheTaskFromAnotherThread)
{
    Run->Cancel(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_NE(TerminatedOn, std::this_thread::get_id());
    EXPECT_TRUE(Run->FTerminated);
    EXPECT_FALSE(Run->FFinished);
    EXPECT_FALSE(Run->FFatalException);
    // An ended task is left alone.
    Run->Cancel(true);
    EXPECT_EQ(Terminations, 1);
}

TEST_F(TaskLifeCycle, CancelWithoutWaitingEndsOnceAndDestroyWaitsForIt)
{
    Run->FOnTerminate = [this](TObject*) {
        std::this_thread::sleep_for(30ms);
        ++Terminations;
    };
    Run->Cancel(false);
    Run->Cancel(false);
    Run.reset();
    EXPECT_EQ(Terminations, 1);
}

TEST_F(TaskLifeCycle, FailedRunIsCleanedUpAndEndsOnce)
{
    PretendFiles();
    Run->FailRun = true;
    TThread* thread = Run->StartConvert(true, tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return Run->FTerminated.load(); }));
    Run->Stop(true);
    EXPECT_EQ(Terminations, 1);
    EXPECT_TRUE(Run->FFatalException);
    EXPECT_EQ(Run->FFatalMessage, L"broken input");
    EXPECT_FALSE(Run->FFinished);
    EXPECT_EQ(Run->Fnb_output_files, 0);
    EXPECT_TRUE(WaitUntil([&] { return Logged(llQuiet, L"broken input"); }));
}

TEST_F(TaskLifeCycle, DestroyDuringConversionWaitsForTheThread)
{
    PretendFiles();
    TThread* thread = Run->StartConvert(true, tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Start();
    ASSERT_TRUE(WaitUntil([&] { return Run->Passes > 0; }));
    Run.reset();
    EXPECT_EQ(Terminations, 1);
}

TEST_F(TaskLifeCycle, CleanupRemovesOutputsThatGotNoByte)
{
    TempDir dir;
    const std::string empty = dir.file("空的 output.mp4");
    const std::string written = dir.file("written.mp4");
    AVFormatContext* a = nullptr;
    AVFormatContext* b = nullptr;
    ASSERT_GE(av::avformat_alloc_output_context2(&a, nullptr, "mp4", empty.c_str()), 0);
    ASSERT_GE(av::avformat_alloc_output_context2(&b, nullptr, "mp4", written.c_str()), 0);
    Run->Foutput_files[0] = a;
    Run->Foutput_files[1] = b;
    Run->Fnb_output_files = 2;
    Run->Fnb_input_files = 1;
    Run->EndAtOnce = true;
    Run->OpenOutputs = true;
    Run->DuringRun = [&] {
        EXPECT_TRUE(FileExists(Utf8ToString(empty)));
        std::ofstream(written) << "data";
    };
    Run->StartConvert(false, tpNormal);
    EXPECT_FALSE(FileExists(Utf8ToString(empty)));
    EXPECT_TRUE(FileExists(Utf8ToString(written)));
    EXPECT_EQ(Run->Foutput_files[0], nullptr);
    EXPECT_EQ(Run->CreatedOutputs(), (std::vector<String>{Utf8ToString(empty), Utf8ToString(written)}));
}

// An empty file at the output of a task that ended without opening it is not the task's.
TEST_F(TaskLifeCycle, CleanupLeavesAFileTheTaskNeverOpened)
{
    TempDir dir;
    const std::string theirs = dir.file("theirs.mp4");
    std::ofstream(theirs).close();
    AVFormatContext* a = nullptr;
    ASSERT_GE(av::avformat_alloc_output_context2(&a, nullptr, "mp4", theirs.c_str()), 0);
    Run->Foutput_files[0] = a;
    Run->Fnb_output_files = 1;
    Run->Fnb_input_files = 1;
    Run->EndAtOnce = true;
    Run->StartConvert(false, tpNormal);
    EXPECT_TRUE(FileExists(Utf8ToString(theirs)));
    EXPECT_TRUE(Run->CreatedOutputs().empty());
}

TEST_F(TaskLifeCycle, PostHooksDropThePreviewerWhenPreviewGoesOff)
{
    struct TCountedObject : TObject {
        explicit TCountedObject(int& AFreed) : Freed(AFreed) {}
        ~TCountedObject() override { ++Freed; }
        int& Freed;
    };
    int freed = 0;
    Run->SetPostHooksLocked(PostHookSet(phPreview) | PostHookSet(phBitmap));
    Run->FPostContext.Previewer = new TCountedObject(freed);
    Run->SetPostHooksLocked(PostHookSet(phPreview));
    EXPECT_EQ(freed, 0);
    Run->SetPostHooksLocked(PostHookSet(phBitmap));
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(Run->FPostContext.Previewer, nullptr);
    EXPECT_EQ(Run->FPostHooks, PostHookSet(phBitmap));
}
