// The engine's small utilities.
#include "engine/my_utils.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <ctime>

#include "platform/base/main_thread.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

int SeekFlagsToAVFlags(TSeekFlags AFlags)
{
    int r = 0;
    if (AFlags & sfBackward) r |= 1;  // AVSEEK_FLAG_BACKWARD
    if (AFlags & sfByte) r |= 2;      // AVSEEK_FLAG_BYTE
    if (AFlags & sfAny) r |= 4;       // AVSEEK_FLAG_ANY
    if (AFlags & sfFrame) r |= 8;     // AVSEEK_FLAG_FRAME
    return r;
}

int64_t FileSize64(const String& AFileName)
{
    if (AFileName.empty()) return -1;
    struct stat st;
    if (::stat(StringToUtf8(ExpandFileName(AFileName)).c_str(), &st) != 0) return -1;
    return S_ISDIR(st.st_mode) ? 0 : static_cast<int64_t>(st.st_size);
}

String AppFileName() { return ExeFileName(); }

String AppPath() { return ExtractFilePath(ExeFileName()); }

void SplitAtDelimiter(String& S, const String& ADelimiter, bool ARemove, String& AHead)
{
    size_t p = ADelimiter.empty() ? String::npos : S.find(ADelimiter);
    if (p != String::npos) {
        AHead = S.substr(0, p);
        if (ARemove) S = S.substr(p + ADelimiter.size());
    } else {
        AHead = S;
        if (ARemove) S.clear();
    }
}

String SizeToText(int64_t ASize)
{
    char text[64];
    if (ASize > 1073741824)
        std::snprintf(text, sizeof text, "%.2f GB", ASize / 1073741824.0);
    else if (ASize > 1048576)
        std::snprintf(text, sizeof text, "%.2f MB", ASize / 1048576.0);
    else if (ASize > 1024)
        std::snprintf(text, sizeof text, "%.2f KB", ASize / 1024.0);
    else
        std::snprintf(text, sizeof text, "%lld Byte", static_cast<long long>(ASize));
    return Utf8ToString(text);
}

double TimeZoneBias()
{
    tzset();
    return -static_cast<double>(timezone) / 86400.0;  // timezone: seconds west of UTC
}

TDateTime UnixTimeToDateTime(int64_t ASeconds)
{
    return static_cast<double>(ASeconds) / 86400.0 + 25569.0 + TimeZoneBias();
}

String DateTimeToText(const String& AFormat, TDateTime ADateTime) { return FormatDateTime(AFormat, ADateTime); }

void* LoadLibraryWithPath(const String& ADir, const String& AName, std::string& AError)
{
    // RTLD_LOCAL: libavdevice pulls in SDL 2, whose names must not meet SDL 1.2's.
    // RTLD_NODELETE: the libraries and what they pull in (codec libraries, TLS stacks, sound
    // servers) keep process-wide state, threads and exit handlers; unloading only releases the
    // handle and the slots, the module stays mapped so nothing is pulled away from under them.
    std::string target = StringToUtf8(AName);
    if (!ADir.empty() && FileExists(ADir + AName)) target = StringToUtf8(ADir + AName);
    dlerror();
    void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* err = dlerror();
        AError = err ? err : "unknown error";
    }
    return handle;
}

bool ProcessOneMessage() { return IsMainThread() && CheckSynchronize(0); }

void PumpMessages()
{
    while (ProcessOneMessage()) {}
}

void RunInMainThread(const std::function<void()>& AMethod)
{
    if (IsMainThread())
        AMethod();
    else
        RunInMainThreadSync(AMethod);
}
