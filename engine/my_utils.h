// The engine's small utilities: the program's folder, 64-bit file sizes, splitting at a
// delimiter, size texts, time-zone bias and Unix time, loading a shared library from a folder,
// message pumping and running a method in the main thread. Used throughout the engine and by
// the main window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/framework/core/date_time.h"
#include "platform/framework/core/types.h"

// Seek flags of the engine's seek calls, mapped to the libraries' AVSEEK_FLAG_* bits.
enum TSeekFlag : unsigned { sfBackward = 1u << 0, sfByte = 1u << 1, sfAny = 1u << 2, sfFrame = 1u << 3 };
using TSeekFlags = unsigned;  // OR of TSeekFlag
int SeekFlagsToAVFlags(TSeekFlags AFlags);

// Size of an existing file (name expanded to a full path); -1 when it does not exist.
int64_t FileSize64(const String& AFileName);

String AppFileName();  // full path of the program file
String AppPath();      // its folder, with a trailing "/"

// Splits S at the first ADelimiter (case-sensitive): AHead gets the text before it; with
// ARemove, S keeps the text after it. Without the delimiter AHead gets S and, with ARemove, S
// becomes empty.
void SplitAtDelimiter(String& S, const String& ADelimiter, bool ARemove, String& AHead);

// "1.50 GB", "12.00 MB", "1.00 KB", "1024 Byte".
String SizeToText(int64_t ASize);

// The local standard-time offset in days (no daylight-saving part).
double TimeZoneBias();
TDateTime UnixTimeToDateTime(int64_t ASeconds);
String DateTimeToText(const String& AFormat, TDateTime ADateTime);

// Opens ADir + AName when ADir is not empty and that file exists, else AName through the
// system's search; nullptr on failure with the system's message in AError.
void* LoadLibraryWithPath(const String& ADir, const String& AName, std::string& AError);

// Runs one pending piece of main-thread work; False when there was none. PumpMessages runs them
// until none is left. (They serve the main thread's queue of synchronous calls; window messages
// join once the message queue of the window layer serves them.)
bool ProcessOneMessage();
void PumpMessages();

// Runs AMethod in the main thread: directly there, otherwise queued to it while the caller
// waits until it has run (its exception is raised again in the caller).
void RunInMainThread(const std::function<void()>& AMethod);
