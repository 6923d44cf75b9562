// The engine log: one TFFLogger per process gathers the engine's own messages (Log) and the
// media libraries' log output (through the callback installed when libavutil loads) into its
// OnLog event, one line per event with level, thread id and sender. The main window puts the
// component on its form; every other part of the engine reaches it through DefaultLogger().
//
// Delivery: with TriggerEventInMainThread (the default) OnLog runs on the main thread. An
// engine message from a worker waits until the handler has run; a library line is queued to the
// main thread without waiting (libraries log inside calls made under CodecLock, for which the
// main thread may be waiting), one copy per line, order kept.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/base_component.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/types.h"

enum TLogLevel : uint8_t { llQuiet, llPanic, llFatal, llError, llWarning, llInfo, llVerbose, llDebug };

using TLogEvent = std::function<void(TObject* Sender, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg)>;

struct TLogInfo {
    TObject* Sender = nullptr;
    uint32_t ThreadID = 0;
    TLogLevel LogLevel = llInfo;
    String LogMsg;
};

// Library level of a TLogLevel (AV_LOG_QUIET -8 ... AV_LOG_DEBUG 48) and back.
int LibraryLogLevel(TLogLevel ALevel);
TLogLevel LogLevelFromLibrary(int ALevel);

// The level last passed to the libraries (32 until one is).
int LibraryLevel();

// The operating-system id of the calling thread, as the log reports it.
uint32_t CurrentLogThreadID();

class TFFLogger : public TFFBaseComponent {
public:
    // Raises Exception "Allow creating only one instance of TFFLogger." when a logger exists.
    explicit TFFLogger(TComponent* AOwner);
    ~TFFLogger() override;

    bool TriggerEventInMainThread() const { return FTriggerEventInMainThread; }
    void SetTriggerEventInMainThread(bool AValue) { FTriggerEventInMainThread = AValue; }
    TLogLevel LogLevel() const { return FLogLevel; }
    void SetLogLevel(TLogLevel Value);
    const TLogEvent& OnLog() const { return FOnLog; }
    void SetOnLog(TLogEvent AEvent) { FOnLog = std::move(AEvent); }

    // Installs the library log callback and applies LogLevel to the libraries.
    void InstallAVLogCallback();
    // Handler of the engine option "loglevel": a level word or a decimal library level
    // (EConvertError for anything else, LogLevel unchanged).
    void OptLogLevel(const String& arg);

    void Log(TObject* Sender, TLogLevel ALogLevel, const String& ALogMsg);
    template <class A0, class... A>
    void Log(TObject* Sender, TLogLevel ALogLevel, const String& AFormat, const A0& a0, const A&... args)
    {
        if (Admits(ALogLevel)) Deliver(Sender, CurrentLogThreadID(), ALogLevel, Format(AFormat, a0, args...), true);
    }

    // The libraries' log callback (installed by InstallAVLogCallback).
    static void LibraryLogCallback(void* context, int level, const char* format, va_list args);

private:
    bool Admits(TLogLevel ALogLevel) const;
    void ApplyLibraryLevel();
    // Hands one message to OnLog: directly on the main thread or when not triggering in the main
    // thread; otherwise synchronously (AWait) or queued.
    void Deliver(TObject* Sender, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg, bool AWait);
    void CallOnLog(const TLogInfo& AInfo);
    void LogLibraryLine(uint32_t AThreadID, int ALevel, const String& ALine);

    bool FTriggerEventInMainThread = true;
    TLogLevel FLogLevel = llInfo;
    TLogInfo FLogInfo;  // the delivery in progress (main thread)
    TLogEvent FOnLog;
    // Cleared when the logger goes, so lines still queued for the main thread are dropped.
    std::shared_ptr<TFFLogger*> FSelf;
};

// The logger of the process; creates one without owner when there is none yet.
TFFLogger* DefaultLogger();
