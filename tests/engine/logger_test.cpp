// The engine log: admission by level, the library callback's line assembly per thread, and
// delivery to the main thread (library lines never block the thread that logs).
#include <atomic>
#include <cstdarg>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/library_loader.h"
#include "engine/logger.h"
#include "engine_test_support.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"

namespace {

struct Event {
    TObject* Sender;
    uint32_t ThreadID;
    TLogLevel Level;
    String Msg;
    bool OnMainThread;
};

// Captures OnLog of the process's logger for one test and restores the logger afterwards.
class LoggerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FLogger = DefaultLogger();
        FSavedLevel = FLogger->LogLevel();
        FLogger->SetTriggerEventInMainThread(true);
        FLogger->SetOnLog([this](TObject* s, uint32_t id, TLogLevel l, const String& m) {
            std::lock_guard<std::mutex> g(FLock);
            FEvents.push_back(Event{s, id, l, m, IsMainThread()});
        });
    }
    void TearDown() override
    {
        CheckSynchronize(0);
        FLogger->SetOnLog(nullptr);
        FLogger->SetLogLevel(FSavedLevel);
    }
    std::vector<Event> Events()
    {
        std::lock_guard<std::mutex> g(FLock);
        return FEvents;
    }
    void Clear()
    {
        std::lock_guard<std::mutex> g(FLock);
        FEvents.clear();
    }
    // Serves the main thread's queue until n events have arrived.
    bool WaitForEvents(size_t n)
    {
        return WaitServingMainThread([&] { return Events().size() >= n; }, 5, 5000);
    }

    TFFLogger* FLogger = nullptr;

private:
    TLogLevel FSavedLevel = llInfo;
    std::mutex FLock;
    std::vector<Event> FEvents;
};

void LibraryLog(void* context, int level, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    TFFLogger::LibraryLogCallback(context, level, format, args);
    va_end(args);
}

// A stand-in for a library object: its first member is its class.
const char* FakeItemName(void*) { return "mpeg4"; }
const AVClass FakeClass = {"AVCodecContext", FakeItemName, nullptr, LIBAVUTIL_VERSION_INT};
struct FakeContext {
    const AVClass* Class = &FakeClass;
};

}  // namespace

TEST(LogLevels, LibraryLevelsBothWays)
{
    const std::pair<int, TLogLevel> fromLibrary[] = {
        {-8, llQuiet}, {-100, llQuiet}, {-7, llPanic},   {-1, llPanic}, {0, llPanic},    {7, llPanic},  {8, llFatal},
        {15, llFatal}, {16, llError},   {24, llWarning}, {32, llInfo},  {40, llVerbose}, {48, llDebug}, {56, llDebug}};
    for (auto& [level, expected] : fromLibrary) EXPECT_EQ(LogLevelFromLibrary(level), expected) << level;
    for (int l = llQuiet; l <= llDebug; ++l) EXPECT_EQ(LibraryLogLevel(static_cast<TLogLevel>(l)), l * 8 - 8);
}

TEST_F(LoggerTest, AdmissionByLevel)
{
    struct Case {
        TLogLevel message, logger;
        bool admitted;
    };
    const Case cases[] = {
        {llVerbose, llError, true}, {llVerbose, llQuiet, false}, {llQuiet, llQuiet, true},
        {llQuiet, llDebug, true},   {llDebug, llInfo, false},    {llInfo, llInfo, true},
        {llWarning, llInfo, true},  {llInfo, llWarning, false},  {llDebug, llDebug, true},
    };
    for (const Case& c : cases) {
        Clear();
        FLogger->SetLogLevel(c.logger);
        FLogger->Log(FLogger, c.message, L"message");
        EXPECT_EQ(Events().size(), c.admitted ? 1u : 0u) << int(c.message) << " at " << int(c.logger);
    }
    // Formatting happens only for admitted messages; the arguments fill the text.
    Clear();
    FLogger->SetLogLevel(llInfo);
    FLogger->Log(FLogger, llError, L"%s: %d frames", L"clip.avi", 25);
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].Msg, L"clip.avi: 25 frames");
    EXPECT_EQ(Events()[0].ThreadID, CurrentLogThreadID());

    FLogger->SetOnLog(nullptr);
    FLogger->Log(FLogger, llQuiet, L"nobody listens");  // no handler: nothing happens
}

TEST_F(LoggerTest, OptLogLevelWordsAndNumbers)
{
    const std::pair<const wchar_t*, TLogLevel> cases[] = {
        {L"VERBOSE", llVerbose}, {L"24", llWarning}, {L"-8", llQuiet}, {L"debug", llDebug},
        {L"Panic", llPanic},     {L"33", llInfo},    {L"info", llInfo}};
    for (auto& [arg, level] : cases) {
        FLogger->OptLogLevel(arg);
        EXPECT_EQ(FLogger->LogLevel(), level) << StringToUtf8(arg);
    }
    FLogger->SetLogLevel(llWarning);
    EXPECT_THROW(FLogger->OptLogLevel(L"loud"), EConvertError);
    EXPECT_EQ(FLogger->LogLevel(), llWarning);
}

TEST_F(LoggerTest, OnlyOneLoggerPerProcess)
{
    try {
        TFFLogger second(nullptr);
        ADD_FAILURE() << "a second logger was created";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Allow creating only one instance of TFFLogger.");
    }
    EXPECT_EQ(DefaultLogger(), FLogger);
}

TEST_F(LoggerTest, LibraryLinesAreAssembledPerCall)
{
    FLogger->SetLogLevel(llInfo);
    LibraryLog(nullptr, AV_LOG_INFO, "%s", "abc");
    EXPECT_TRUE(Events().empty());
    LibraryLog(nullptr, AV_LOG_WARNING, "d%cf\n", 'e');
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].Msg, L"abcdef");
    EXPECT_EQ(Events()[0].Level, llWarning);  // the level of the call that completed the line
    EXPECT_EQ(Events()[0].Sender, FLogger);
    Clear();
    LibraryLog(nullptr, AV_LOG_INFO, "x\ny\n");
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(Events()[0].Msg, L"x");
    EXPECT_EQ(Events()[1].Msg, L"y");
    Clear();
    LibraryLog(nullptr, AV_LOG_INFO, "\n");  // empty lines are lines too
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].Msg, L"");
}

TEST_F(LoggerTest, LibraryLinesAboveTheLevelAreIgnored)
{
    FLogger->SetLogLevel(llInfo);
    LibraryLog(nullptr, AV_LOG_INFO, "kept ");
    LibraryLog(nullptr, AV_LOG_VERBOSE, "dropped\n");  // neither delivered nor pending
    LibraryLog(nullptr, AV_LOG_INFO, "line\n");
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].Msg, L"kept line");
}

TEST_F(LoggerTest, ContextPrefixStartsALineOnly)
{
    FLogger->SetLogLevel(llInfo);
    FakeContext ctx;
    char pointer[32];
    std::snprintf(pointer, sizeof pointer, "%p", static_cast<void*>(&ctx));
    LibraryLog(&ctx, AV_LOG_INFO, "first ");
    LibraryLog(&ctx, AV_LOG_INFO, "part\n");  // continues the pending line: no second prefix
    LibraryLog(&ctx, AV_LOG_ERROR, "视频 %d\n", 2);
    ASSERT_EQ(Events().size(), 2u);
    EXPECT_EQ(StringToUtf8(Events()[0].Msg), std::string("[mpeg4 @ ") + pointer + "]first part");
    EXPECT_EQ(StringToUtf8(Events()[1].Msg), std::string("[mpeg4 @ ") + pointer + "]视频 2");
}

TEST_F(LoggerTest, PendingLinesBelongToTheirThread)
{
    FLogger->SetLogLevel(llInfo);
    std::atomic<int> step{0};
    uint32_t idA = 0, idB = 0;
    std::thread a([&] {
        idA = CurrentLogThreadID();
        LibraryLog(nullptr, AV_LOG_INFO, "abc");
        step = 1;
        while (step != 2) std::this_thread::yield();
        LibraryLog(nullptr, AV_LOG_INFO, "def\n");
    });
    while (step != 1) std::this_thread::yield();
    std::thread b([&] {
        idB = CurrentLogThreadID();
        LibraryLog(nullptr, AV_LOG_INFO, "whole line\n");
    });
    b.join();
    step = 2;
    a.join();
    ASSERT_TRUE(WaitForEvents(2));
    std::vector<Event> ev = Events();
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].Msg, L"whole line");
    EXPECT_EQ(ev[0].ThreadID, idB);
    EXPECT_EQ(ev[1].Msg, L"abcdef");
    EXPECT_EQ(ev[1].ThreadID, idA);
    EXPECT_TRUE(ev[0].OnMainThread && ev[1].OnMainThread);
}

TEST_F(LoggerTest, LibraryLinesNeverWaitForTheMainThread)
{
    // The main thread holds CodecLock and waits for a worker that logs from a library call (as
    // when a codec logs while it is opened): the worker must finish without the main thread.
    FLogger->SetLogLevel(llInfo);
    CodecLock().Enter();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < 3; ++i) LibraryLog(nullptr, AV_LOG_INFO, "line %d\n", i);
        done = true;
    });
    for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(done.load());
    worker.join();
    CodecLock().Leave();
    EXPECT_TRUE(Events().empty());  // nothing ran yet: the main thread did not serve its queue
    ASSERT_TRUE(WaitForEvents(3));
    std::vector<Event> ev = Events();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(ev[i].Msg, L"line " + std::to_wstring(i));  // order kept
}

TEST_F(LoggerTest, EngineMessagesFromWorkersRunOnTheMainThreadWithTheirOwnValues)
{
    FLogger->SetLogLevel(llDebug);
    std::vector<std::thread> workers;
    std::atomic<int> finished{0};
    for (int t = 0; t < 4; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < 5; ++i) FLogger->Log(FLogger, static_cast<TLogLevel>(llError + t), L"t%d m%d", t, i);
            ++finished;
        });
    ASSERT_TRUE(WaitServingMainThread([&] { return finished == 4; }, 5, 10000));
    for (auto& w : workers) w.join();
    std::vector<Event> ev = Events();
    ASSERT_EQ(ev.size(), 20u);
    for (const Event& e : ev) {
        EXPECT_TRUE(e.OnMainThread);
        int t = e.Msg[1] - L'0';
        EXPECT_EQ(e.Level, static_cast<TLogLevel>(llError + t)) << StringToUtf8(e.Msg);
    }
}

TEST_F(LoggerTest, LevelReachesTheLoadedLibraries)
{
    ASSERT_TRUE(DefaultLoader().Load(avUtil)) << StringToUtf8(DefaultLoader().LastErrMsg());
    FLogger->SetLogLevel(llWarning);
    EXPECT_EQ(av::av_log_get_level(), AV_LOG_WARNING);
    EXPECT_EQ(LibraryLevel(), AV_LOG_WARNING);
    av::av_log(nullptr, AV_LOG_ERROR, "from the library %d\n", 7);
    av::av_log(nullptr, AV_LOG_INFO, "too verbose\n");
    ASSERT_EQ(Events().size(), 1u);
    EXPECT_EQ(Events()[0].Msg, L"from the library 7");
    EXPECT_EQ(Events()[0].Level, llError);
    DefaultLoader().Unload(avUtil);
    FLogger->SetLogLevel(llDebug);  // libraries gone: only the property changes
    EXPECT_EQ(LibraryLevel(), AV_LOG_WARNING);
}
