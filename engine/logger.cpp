// The engine log: admission, delivery to the main thread, the library callback.
#include "engine/logger.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>

#include "engine/av_bindings.h"
#include "engine/main_thread_calls.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

namespace {

std::atomic<int> GLibraryLevel{32};

// The logger of the process and the guard that lets library threads take a reference to it
// while the main thread may be destroying it.
std::mutex GLoggerLock;
TFFLogger* GLogger = nullptr;
std::shared_ptr<TFFLogger*> GLoggerCell;

// The text a thread has sent since its last complete line (bytes as the libraries gave them).
thread_local std::string TPendingLine;

constexpr size_t LineBufferSize = 2048;

}  // namespace

int LibraryLogLevel(TLogLevel ALevel) { return static_cast<int>(ALevel) * 8 - 8; }

TLogLevel LogLevelFromLibrary(int ALevel)
{
    int l = ALevel / 8 + 1;  // C++ division truncates toward zero
    if (l < 0) return llQuiet;
    if (l >= 7) return llDebug;
    return static_cast<TLogLevel>(l);
}

int LibraryLevel() { return GLibraryLevel.load(); }

uint32_t CurrentLogThreadID() { return static_cast<uint32_t>(::syscall(SYS_gettid)); }

TFFLogger::TFFLogger(TComponent* AOwner) : TFFBaseComponent(AOwner)
{
    std::lock_guard<std::mutex> g(GLoggerLock);
    if (GLogger) throw Exception(L"Allow creating only one instance of TFFLogger.");
    FTriggerEventInMainThread = true;
    FLogLevel = LogLevelFromLibrary(GLibraryLevel.load());
    FSelf = std::make_shared<TFFLogger*>(this);
    GLogger = this;
    GLoggerCell = FSelf;
}

TFFLogger::~TFFLogger()
{
    std::lock_guard<std::mutex> g(GLoggerLock);
    if (FSelf) *FSelf = nullptr;
    if (GLogger == this) {
        GLogger = nullptr;
        GLoggerCell.reset();
    }
}

TFFLogger* DefaultLogger()
{
    {
        std::lock_guard<std::mutex> g(GLoggerLock);
        if (GLogger) return GLogger;
    }
    return new TFFLogger(nullptr);
}

void TFFLogger::SetLogLevel(TLogLevel Value)
{
    if (Value != FLogLevel) {
        FLogLevel = Value;
        ApplyLibraryLevel();
    }
}

void TFFLogger::ApplyLibraryLevel()
{
    if (av::av_log_set_level) {
        GLibraryLevel = LibraryLogLevel(FLogLevel);
        av::av_log_set_level(GLibraryLevel.load());
    }
}

void TFFLogger::InstallAVLogCallback()
{
    if (!av::av_log_set_callback || !av::av_log_set_level) throw Exception(L"Assertion failure");
    av::av_log_set_callback(&TFFLogger::LibraryLogCallback);
    ApplyLibraryLevel();
}

void TFFLogger::OptLogLevel(const String& arg)
{
    static const wchar_t* const Words[] = {L"quiet",   L"panic", L"fatal",   L"error",
                                           L"warning", L"info",  L"verbose", L"debug"};
    for (int i = 0; i < 8; ++i)
        if (SameText(arg, Words[i])) {
            SetLogLevel(LogLevelFromLibrary(i * 8 - 8));
            return;
        }
    SetLogLevel(LogLevelFromLibrary(StrToInt(arg)));
}

bool TFFLogger::Admits(TLogLevel ALogLevel) const
{
    if (!FOnLog) return false;
    return ALogLevel <= FLogLevel || (ALogLevel == llVerbose && FLogLevel != llQuiet);
}

void TFFLogger::Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg)
{
    if (Admits(ALogLevel)) Deliver(Sender, CurrentLogThreadID(), ALogLevel, ALogMsg, true);
}

void TFFLogger::CallOnLog(const TLogInfo& AInfo)
{
    FLogInfo = AInfo;
    if (FOnLog) FOnLog(AInfo.Sender, AInfo.ThreadID, AInfo.LogLevel, AInfo.LogMsg);
}

void TFFLogger::Deliver(TObject* Sender, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg, bool AWait)
{
    TLogInfo info{Sender, AThreadID, ALogLevel, ALogMsg};
    if (!FTriggerEventInMainThread || IsMainThread()) {
        CallOnLog(info);
        return;
    }
    // Each delivery carries its own copy; the cell tells whether the logger still exists when
    // the main thread gets to it.
    std::shared_ptr<TFFLogger*> cell = FSelf;
    auto call = [cell, info] {
        if (TFFLogger* logger = *cell) logger->CallOnLog(info);
    };
    if (AWait)
        RunInMainThread(call);
    else
        QueueInMainThread(call);
}

void TFFLogger::LogLibraryLine(uint32_t AThreadID, int ALevel, const String& ALine)
{
    if (FOnLog) Deliver(this, AThreadID, LogLevelFromLibrary(ALevel), ALine, false);
}

void TFFLogger::LibraryLogCallback(void* context, int level, const char* format, va_list args)
{
    if (level > GLibraryLevel.load()) return;

    char buffer[LineBufferSize] = {};
    size_t used = 0;
    std::string& pending = TPendingLine;
    if (context && pending.empty()) {
        const AVClass* avc = *static_cast<const AVClass* const*>(context);
        const char* name = (avc && avc->item_name) ? avc->item_name(context) : nullptr;
        int n = std::snprintf(buffer, sizeof buffer, "[%s @ %p]", name ? name : "NULL", context);
        if (n > 0) used = std::min(static_cast<size_t>(n), sizeof buffer - 1);
    }
    if (format && used < sizeof buffer - 1) {
        va_list copy;
        va_copy(copy, args);
        std::vsnprintf(buffer + used, sizeof buffer - used, format, copy);
        va_end(copy);
    }
    pending += buffer;

    size_t eol;
    while ((eol = pending.find('\n')) != std::string::npos) {
        // Libraries write UTF-8 (file names, metadata); the lossless decoding keeps other bytes.
        String line = Utf8ToString(std::string_view(pending).substr(0, eol));
        pending.erase(0, eol + 1);
        std::shared_ptr<TFFLogger*> cell;
        {
            std::lock_guard<std::mutex> g(GLoggerLock);
            cell = GLoggerCell;
        }
        if (cell && *cell) (*cell)->LogLibraryLine(CurrentLogThreadID(), level, line);
    }
}
