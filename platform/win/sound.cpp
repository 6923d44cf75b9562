// PlaySoundW through the desktop's sound player. See sound_api.h.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/utf.h"
#include "platform/win/file_api.h"
#include "platform/win/sound_api.h"

extern char** environ;

namespace vxwin {
namespace {
std::mutex& Lock()
{
    static std::mutex m;
    return m;
}
std::function<BOOL(const PlaySoundCall&)>& Hook()
{
    static auto* h = new std::function<BOOL(const PlaySoundCall&)>();
    return *h;
}
pid_t gPlaying = 0;  // the player started last, while it runs (under Lock)

// The full path of an executable found on PATH, or "".
std::string FindOnPath(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = end > start ? dirs.substr(start, end - start) : std::string(".");
        const std::string candidate = dir + "/" + name;
        struct stat st {};
        if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return std::string();
}

// Waits for the player to end, then forgets and reaps it under the lock, so that a stop never
// signals a process id the system has already handed to someone else.
void Wait(pid_t pid)
{
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {}
    std::lock_guard<std::mutex> lock(Lock());
    if (gPlaying == pid) gPlaying = 0;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
}

BOOL Stop()
{
    std::lock_guard<std::mutex> lock(Lock());
    if (gPlaying > 0) ::kill(gPlaying, SIGTERM);
    return TRUE;
}

BOOL Play(const PlaySoundCall& call)
{
    if (call.sound.empty()) return Stop();
    if ((call.flags & SND_MEMORY) || (call.flags & SND_RESOURCE) == SND_RESOURCE ||
        ((call.flags & SND_ALIAS) && !(call.flags & SND_FILENAME))) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    const std::string file = StringToUtf8(call.sound);
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    std::string player;
    std::string quiet;
    for (const char* name : {"paplay", "pw-play", "aplay"}) {
        player = FindOnPath(name);
        if (!player.empty()) {
            if (std::string(name) == "aplay") quiet = "-q";
            break;
        }
    }
    if (player.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    if (call.flags & SND_NOSTOP) {
        std::lock_guard<std::mutex> lock(Lock());
        if (gPlaying > 0) return FALSE;
    }
    Stop();  // one sound at a time, as the system's own

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv{player.data()};
    if (!quiet.empty()) argv.push_back(quiet.data());
    // A name starting with "-" must not read as an option of the player.
    std::string target = file[0] == '-' ? "./" + file : file;
    argv.push_back(target.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int err = 0;
    {
        std::lock_guard<std::mutex> lock(Lock());
        err = ::posix_spawn(&pid, player.c_str(), &actions, nullptr, argv.data(), environ);
        if (err == 0) gPlaying = pid;
    }
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (call.flags & SND_ASYNC)
        std::thread([pid] { Wait(pid); }).detach();
    else
        Wait(pid);
    return TRUE;
}
}  // namespace

void SetPlaySoundHook(std::function<BOOL(const PlaySoundCall&)> hook)
{
    std::lock_guard<std::mutex> lock(Lock());
    Hook() = std::move(hook);
}
}  // namespace vxwin

using namespace vxwin;

BOOL PlaySoundW(LPCWSTR sound, HMODULE, DWORD flags)
{
    PlaySoundCall call{sound ? std::wstring(sound) : std::wstring(), flags};
    std::function<BOOL(const PlaySoundCall&)> hook;
    {
        std::lock_guard<std::mutex> lock(Lock());
        hook = Hook();
    }
    return hook ? hook(call) : Play(call);
}
