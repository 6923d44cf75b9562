#include "platform/win/shell_execute.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cwctype>
#include <mutex>
#include <vector>

#include "platform/base/utf.h"

namespace {
std::mutex& HookLock()
{
    static std::mutex m;
    return m;
}
vxwin::ShellExecuteHook& Hook()
{
    static vxwin::ShellExecuteHook h;
    return h;
}

HINSTANCE Result(int code) { return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(code)); }

bool SameVerb(const std::wstring& a, const wchar_t* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (static_cast<wchar_t>(std::towlower(static_cast<wint_t>(a[i]))) != b[i]) return false;
    return i == a.size() && !b[i];
}

// Starts args[0] (in dir, when given) in a grandchild of its own session: the child exits at once and is waited
// for here, so nothing is left to reap; the grandchild belongs to init from then on.
bool StartDetached(const std::vector<std::string>& args, const std::string& dir)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        setsid();
        if (fork() == 0) {
            if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
            execv(argv[0], argv.data());
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    return true;
}
}  // namespace

namespace vxwin {

void SetShellExecuteHook(ShellExecuteHook H)
{
    std::lock_guard<std::mutex> lock(HookLock());
    Hook() = std::move(H);
}

std::string ShellOpenerPath()
{
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        if (!dir.empty()) {
            std::string file = dir + "/xdg-open";
            struct stat st;
            if (stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(file.c_str(), X_OK) == 0) return file;
        }
        start = end + 1;
    }
    return {};
}

}  // namespace vxwin

HINSTANCE ShellExecuteW(HWND hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int show)
{
    vxwin::ShellExecuteCall call{
        hwnd, verb ? verb : L"", file ? file : L"", parameters ? parameters : L"", directory ? directory : L"", show};
    {
        std::lock_guard<std::mutex> lock(HookLock());
        if (Hook()) return Result(Hook()(call));
    }
    if (call.File.empty()) return Result(SE_ERR_FNF);
    // Only opening is offered (no verb means the default one, opening).
    if (!call.Verb.empty() && !SameVerb(call.Verb, L"open")) return Result(SE_ERR_NOASSOC);
    const std::string opener = vxwin::ShellOpenerPath();
    if (opener.empty()) return Result(SE_ERR_NOASSOC);
    if (!StartDetached({opener, StringToUtf8(call.File)}, StringToUtf8(call.Directory))) return Result(SE_ERR_NOASSOC);
    return Result(42);
}
