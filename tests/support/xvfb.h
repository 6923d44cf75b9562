// Running X11 tests: finding the tools, starting programs with a chosen display, and an Xvfb
// server of the test's own on a display number the server picks (no clashes under ctest -j),
// which ends with the test process however that ends.
#pragma once

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

extern char** environ;

// Full path of a program in the usual folders; empty when it is not installed.
inline std::string FindTool(const char* name)
{
    for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"}) {
        std::string p = std::string(dir) + "/" + name;
        if (::access(p.c_str(), X_OK) == 0) return p;
    }
    return "";
}

// Starts a program (args[0] a full path) with DISPLAY set to display (or unset when empty).
// With dieWithTest the program is ended when the test process ends, even by a crash.
inline pid_t SpawnWithDisplay(const std::vector<std::string>& args, const std::string& display,
                              bool dieWithTest = false)
{
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envs;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "DISPLAY=", 8) != 0) envs.push_back(*e);
    if (!display.empty()) envs.push_back("DISPLAY=" + display);
    std::vector<char*> envp;
    for (auto& e : envs) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    if (dieWithTest) {
        const pid_t parent = ::getpid();
        const pid_t pid = ::fork();
        if (pid == 0) {
            // The kernel ends the program when the thread that started it ends.
            if (::prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || ::getppid() != parent) ::_exit(127);
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        return pid;
    }
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
    return pid;
}

// Runs a program to its end; its exit code, or -1.
inline int RunTool(const std::vector<std::string>& args, const std::string& display)
{
    const pid_t pid = SpawnWithDisplay(args, display);
    if (pid < 0) return -1;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A program a test starts beside its server (a window manager, a compositor), ended with it.
class TestProcess {
public:
    TestProcess() = default;
    TestProcess(const std::vector<std::string>& args, const std::string& display)
        : FPid(SpawnWithDisplay(args, display))
    {}
    ~TestProcess() { Stop(); }
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;
    bool Started() const { return FPid > 0; }
    void Stop()
    {
        if (FPid <= 0) return;
        ::kill(FPid, SIGTERM);
        ::waitpid(FPid, nullptr, 0);
        FPid = -1;
    }

private:
    pid_t FPid = -1;
};

class XvfbServer {
public:
    // screen: Xvfb's screen geometry and depth ("WIDTHxHEIGHTxDEPTH").
    explicit XvfbServer(const std::string& screen = "640x480x24")
    {
        const std::string exe = FindTool("Xvfb");
        int fds[2];
        if (exe.empty() || ::pipe(fds) != 0) return;
        FPid = SpawnWithDisplay({exe, "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"},
                                "", true);
        ::close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        char buf[32] = {};
        if (FPid > 0 && ::poll(&p, 1, 10000) == 1 && ::read(fds[0], buf, sizeof buf - 1) > 0)
            FDisplay = ":" + std::string(buf).substr(0, std::string(buf).find('\n'));
        ::close(fds[0]);
    }
    ~XvfbServer()
    {
        if (FPid > 0) {
            ::kill(FPid, SIGTERM);
            ::waitpid(FPid, nullptr, 0);
        }
    }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // The display name (":N"); empty when the server could not be started.
    const std::string& Display() const { return FDisplay; }

private:
    pid_t FPid = -1;
    std::string FDisplay;
};
