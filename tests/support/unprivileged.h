// Runs a check in a child process as an ordinary user (nobody when the tests run as root), so
// permission failures can be tested on any machine. Returns the child's exit code, or -1.
#pragma once

#include <sys/wait.h>
#include <unistd.h>
#include <functional>

inline int RunUnprivileged(const std::function<int()>& check)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(100);
        ::_exit(check());
    }
    int status = -1;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
