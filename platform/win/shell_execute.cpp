// ShellExecuteW: the desktop's launcher, started detached and reaped. See shell_api.h.
#include <spawn.h>
#include <sys/wait.h>
#include <cerrno>
#include <mutex>
#include <string>
#include <thread>

#include "platform/base/utf.h"
#include "platform/win/shell_api.h"

extern char** environ;

namespace vxwin {
namespace {
std::mutex& HookLock()
{
    static std::mutex m;
    return m;
}
std::function<LONG_PTR(const ShellExecuteCall&)>& Hook()
{
    static auto* h = new std::function<LONG_PTR(const ShellExecuteCall&)>();
    return *h;
}

std::wstring Text(LPCWSTR s) { return s ? std::wstring(s) : std::wstring(); }

LONG_PTR Launch(const ShellExecuteCall& call)
{
    if (!call.operation.empty() && call.operation != L"open") return SE_ERR_NOASSOC;
    if (call.file.empty()) return SE_ERR_FNF;
    const std::string file = StringToUtf8(call.file);
    const std::string dir = StringToUtf8(call.directory);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!dir.empty()) posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
    char launcher[] = "xdg-open";
    char* argv[] = {launcher, const_cast<char*>(file.c_str()), nullptr};
    pid_t pid = 0;
    const int err = ::posix_spawnp(&pid, launcher, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (err != 0) return err == EACCES ? SE_ERR_ACCESSDENIED : SE_ERR_NOASSOC;
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    }).detach();
    return 42;
}
}  // namespace

void SetShellExecuteHook(std::function<LONG_PTR(const ShellExecuteCall&)> hook)
{
    std::lock_guard<std::mutex> lock(HookLock());
    Hook() = std::move(hook);
}
}  // namespace vxwin

using namespace vxwin;

HINSTANCE ShellExecuteW(HWND, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int showCmd)
{
    ShellExecuteCall call{Text(operation), Text(file), Text(parameters), Text(directory), showCmd};
    std::function<LONG_PTR(const ShellExecuteCall&)> hook;
    {
        std::lock_guard<std::mutex> lock(HookLock());
        hook = Hook();
    }
    return reinterpret_cast<HINSTANCE>(hook ? hook(call) : Launch(call));
}
