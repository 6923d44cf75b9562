// The codecs' share of the cores: the cores divided among the tasks converting when a task opens
// its codecs, the thread count every codec context of a real run opens with, the priority the
// codecs' own threads inherit from the converting thread, and conversions of every codec family
// with several threads that still give whole, valid files.
#include <dirent.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <fstream>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>

#include "engine/codec_threads.h"
#include "engine/converter.h"
#include "engine/transcode_run.h"
#include "platform/base/main_thread.h"
#include "tests/engine/probe_test_support.h"
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::TOutputFacts;

// Sets the machine's core count for a test.
class TCores {
public:
    explicit TCores(int ACores) { SetCoreCountOverride(ACores); }
    ~TCores() { SetCoreCountOverride(0); }
};

// Other tasks converting meanwhile.
std::vector<std::unique_ptr<TConvertingTask>> OtherTasks(int ACount)
{
    std::vector<std::unique_ptr<TConvertingTask>> tasks;
    for (int i = 0; i < ACount; ++i) tasks.push_back(std::make_unique<TConvertingTask>());
    return tasks;
}

TEST(CodecThreads, TheCoresAreSharedAmongTheTasksConverting)
{
    struct Case {
        int Cores, Converting, Threads;
    } cases[] = {{8, 1, 8}, {8, 2, 4}, {8, 3, 2}, {8, 8, 1}, {8, 16, 1}, {3, 2, 1}, {1, 1, 1}};
    for (const Case& c : cases) {
        TCores cores(c.Cores);
        auto tasks = OtherTasks(c.Converting);
        EXPECT_EQ(ConvertingTasks(), c.Converting);
        EXPECT_EQ(CodecThreadCount(), c.Threads) << c.Cores << " cores, " << c.Converting << " tasks";
    }
    EXPECT_EQ(ConvertingTasks(), 0);
    // Without an override: the cores the process may use.
    cpu_set_t set;
    ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    EXPECT_EQ(CoreCount(), CPU_COUNT(&set));
    EXPECT_EQ(CodecThreadCount(), CPU_COUNT(&set));
}

// A share of every core lets the libraries choose (0); a smaller share is asked as it is.
TEST(CodecThreads, ATaskWithEveryCoreLetsTheLibrariesChoose)
{
    struct Case {
        int Cores, Share, Request;
    } cases[] = {{8, 8, 0}, {8, 4, 4}, {8, 1, 1}, {2, 2, 0}, {1, 1, 1}, {8, 0, 1}};
    for (const Case& c : cases) {
        TCores cores(c.Cores);
        EXPECT_EQ(CodecThreadRequest(c.Share), c.Request) << c.Cores << " cores, share " << c.Share;
    }
}

class CodecThreadsOfARun : public engine_test::TranscodeFixture {};

// A run on 8 cores beside 0, 1 and 7 other converting tasks: its video codecs open with the
// libraries' own count (several wherever the machine has several cores), 4 and 1 threads; codecs
// without threads of their own (the MP3 encoder, the PCM decoder) with one.
TEST_F(CodecThreadsOfARun, EachCodecOpensWithItsShare)
{
    TCores cores(8);
    const std::string in = Clip("in.mkv", 176, 144, 44100, 25);
    for (int converting : {1, 2, 8}) {
        SCOPED_TRACE(std::to_string(converting) + " tasks converting");
        Task->ResetConverter();
        auto others = OtherTasks(converting - 1);
        Prepare(in, Dir.file("out" + std::to_string(converting) + ".avi"),
                {{"vcodec", "mpeg4"}, {"acodec", "libmp3lame"}});
        Task->ReportInterval = 0;
        std::set<std::string> seen;
        // The libraries' own count depends on the machine: a lone task's counts above one read "several".
        auto count = [&](int AThreads) {
            return converting == 1 && AThreads > 1 ? std::string("several") : std::to_string(AThreads);
        };
        Task->FOnProgress = [&](TObject*, int, int, int, float, float, int64_t, int64_t, int64_t) {
            for (auto& ost : Task->FRun->OutputStreamTable)
                seen.insert(std::string("encoder ") + ost->enc->codec->name + " " + count(ost->enc->thread_count));
            for (auto& ist : Task->FRun->InputStreamTable)
                if (ist->decoder_opened)
                    seen.insert(std::string("decoder ") + ist->dec->codec->name + " " + count(ist->dec->thread_count));
        };
        ASSERT_EQ(Run(), "");
        cpu_set_t set;
        ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
        const std::string share = converting > 1        ? std::to_string(8 / converting)
                                  : CPU_COUNT(&set) > 1 ? "several"
                                                        : "1";
        EXPECT_EQ(Task->Fthread_count, 8 / converting);
        EXPECT_EQ(seen, (std::set<std::string>{"encoder mpeg4 " + share, "encoder libmp3lame 1",
                                               "decoder mpeg4 " + share, "decoder pcm_s16le 1"}));
    }
}

// The nice value and policy of a thread of this process.
struct TThreadPriorityFacts {
    int Nice = 0;
    int Policy = 0;
};

std::map<pid_t, TThreadPriorityFacts> ThreadsOfTheProcess()
{
    std::map<pid_t, TThreadPriorityFacts> threads;
    DIR* dir = opendir("/proc/self/task");
    if (!dir) return threads;
    while (dirent* entry = readdir(dir)) {
        pid_t tid = atoi(entry->d_name);
        if (tid <= 0) continue;
        std::ifstream stat("/proc/self/task/" + std::string(entry->d_name) + "/stat");
        std::string line((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // Fields after the name in parentheses: state is field 3, nice field 19.
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        std::string field;
        TThreadPriorityFacts facts;
        for (int i = 3; i <= 19 && rest >> field; ++i)
            if (i == 19) facts.Nice = std::stoi(field);
        facts.Policy = sched_getscheduler(tid);
        threads[tid] = facts;
    }
    closedir(dir);
    return threads;
}

class CodecThreadsOfAQueue : public engine_test::LibrariesFixture {
protected:
    void SetUp() override { LoadOrFail(ConverterLibraries); }
};

// The codecs' own threads (the H.264 encoder's, the frame threads of the decoder) run at the
// priority of the converting thread that started them: a low-priority queue stays low.
TEST_F(CodecThreadsOfAQueue, CodecThreadsRunAtTheTasksPriority)
{
    TCores cores(4);
    TempDir dir;
    const std::string in = dir.file("in.mp4");
    ASSERT_TRUE(probe_test::RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=3", "-c:v",
                                       "libx264", "-pix_fmt", "yuv420p", in}));
    // The run may itself start niced (`nice make test`): idle keeps the nice value the threads
    // inherit, and a plain user cannot go below it.
    const int startNice = ::getpriority(PRIO_PROCESS, 0);
    const int lowestNice = ::geteuid() == 0 ? 10 : std::max(10, startNice);
    struct Case {
        TThreadPriority Priority;
        int Nice, Policy;
    } cases[] = {{tpLowest, lowestNice, SCHED_OTHER}, {tpIdle, startNice, SCHED_IDLE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Priority);
        TFFConverter converter(nullptr);
        converter.SetThreadPriority(c.Priority);
        converter.SetTriggerEventInMainThread(false);
        ASSERT_EQ(converter.AddTask(Utf8ToString(in), String()), 0) << StringToUtf8(converter.LastErrMsg());
        ASSERT_TRUE(converter.SetOutputFile(0, Utf8ToString(dir.file(std::to_string(c.Priority) + ".mp4")), L"hook=1"));
        const auto before = ThreadsOfTheProcess();
        std::mutex lock;
        std::map<pid_t, TThreadPriorityFacts> during;
        bool ended = false;
        // The custom hook runs on the converting thread for every picture, while the codecs are open.
        converter.SetOnCustomHook([&](TObject*, PHookInfo) {
            std::lock_guard<std::mutex> guard(lock);
            for (auto& [tid, facts] : ThreadsOfTheProcess())
                if (!before.count(tid)) during[tid] = facts;
        });
        converter.SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
            std::lock_guard<std::mutex> guard(lock);
            ended = ended || AInfo.TaskIndex == -1;
        });
        converter.Start(1);
        ASSERT_TRUE(WaitServingMainThread(
            [&] {
                std::lock_guard<std::mutex> guard(lock);
                return ended;
            },
            5, 120000));
        // The converting thread and the codecs' threads.
        EXPECT_GE(during.size(), 3u);
        for (auto& [tid, facts] : during) {
            EXPECT_EQ(facts.Nice, c.Nice) << "thread " << tid;
            EXPECT_EQ(facts.Policy, c.Policy) << "thread " << tid;
        }
    }
}

// A queue started with four task threads on 8 cores: the four tasks count as converting before
// any opens its codecs, so each gets two threads, not the first all the cores.
TEST_F(CodecThreadsOfAQueue, TasksStartedTogetherShareTheCoresEvenly)
{
    TCores cores(8);
    TempDir dir;
    const std::string in = dir.file("in.mkv");
    ASSERT_TRUE(probe_test::RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=176x144:rate=25:duration=1", in}));
    TFFConverter converter(nullptr);
    converter.SetTriggerEventInMainThread(false);
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(converter.AddTask(Utf8ToString(in), String()), i) << StringToUtf8(converter.LastErrMsg());
        ASSERT_TRUE(converter.SetOutputFile(i, Utf8ToString(dir.file(std::to_string(i) + ".avi")), L"vcodec=mpeg4"));
    }
    std::atomic<bool> ended{false};
    converter.SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
        if (AInfo.TaskIndex == -1) ended = true;
    });
    converter.Start(4);
    ASSERT_TRUE(WaitServingMainThread([&] { return ended.load(); }, 5, 120000));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(converter.Tasks(i)->Fthread_count, 2) << "task " << i;
    EXPECT_EQ(ConvertingTasks(), 0);
}

// One conversion per codec family on 4 cores (the decoders of MPEG-4 and H.264 input with frame
// threads): whole files, every picture in them, as long as the source.
TEST_F(CodecThreadsOfARun, EveryCodecFamilyConvertsWithThreads)
{
    TCores cores(4);
    const std::string mpeg4 = Clip("in.mkv", 176, 144, 44100, 25, 2);
    const std::string h264 = Dir.file("in_h264.mp4");
    ASSERT_TRUE(probe_test::RunFFmpeg({"-i", mpeg4, "-c:v", "libx264", "-c:a", "aac", h264}));
    struct Case {
        const char* Output;
        const char* Video;
        const char* Audio;
        const char* VideoOut;  // decoder name in the output
    } cases[] = {
        {"x264.mp4", "libx264", "aac", "h264"},
        {"mpeg4.avi", "mpeg4", "libmp3lame", "mpeg4"},
        {"wmv.wmv", "wmv2", "wmav2", "wmv2"},
        {"mpeg2.mpg", "mpeg2video", "mp2", "mpeg2video"},
        {"flv.flv", "flv", "libmp3lame", "flv1"},
        {"h263.3gp", "h263", "aac", "h263"},
        {"mpeg1.mpg", "mpeg1video", "mp2", "mpeg1video"},
    };
    for (const std::string& in : {mpeg4, h264}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(in + " to " + c.Output);
            Task->ResetConverter();
            std::string out = Dir.file(std::string(in == h264 ? "h264_" : "") + c.Output);
            Prepare(in, out, {{"vcodec", c.Video}, {"acodec", c.Audio}});
            ASSERT_EQ(Run(), "");
            TOutputFacts f = Facts(out);
            ASSERT_TRUE(f.Opened);
            EXPECT_EQ(f.VideoCodec, c.VideoOut);
            EXPECT_EQ(f.VideoPackets, 25);
            EXPECT_NEAR(f.VideoDuration, 1.0, 0.05);
            EXPECT_NEAR(f.AudioDuration, 1.0, 0.1);
        }
    }
}

}  // namespace
