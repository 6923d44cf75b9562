#include "bench/bench_support.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

extern char** environ;

double Median(std::vector<double> V)
{
    if (V.empty()) return -1;
    std::sort(V.begin(), V.end());
    const size_t n = V.size();
    return n % 2 ? V[n / 2] : (V[n / 2 - 1] + V[n / 2]) / 2;
}

double CpuSeconds(clockid_t AClock)
{
    timespec ts{};
    clock_gettime(AClock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

long StatusField(const std::string& APath, const char* AName)
{
    std::ifstream in(APath);
    std::string line;
    const size_t n = std::strlen(AName);
    while (std::getline(in, line))
        if (line.compare(0, n, AName) == 0 && line.size() > n && line[n] == ':') return std::atol(line.c_str() + n + 1);
    return -1;
}

long ResidentKb(pid_t APid)
{
    return StatusField("/proc/" + (APid ? std::to_string(APid) : std::string("self")) + "/status", "VmRSS");
}

int NumberArg(int& i, int argc, char** argv) { return i + 1 < argc ? std::max(1, std::atoi(argv[++i])) : 1; }

bool MakeClip(const std::string& AName, const std::string& ASize, int ASeconds, int ATone,
              const std::vector<std::string>& AEncoding)
{
    const std::string d = std::to_string(ASeconds);
    std::vector<std::string> args = {"ffmpeg", "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                                     "-f",     "lavfi",    "-i",           "testsrc2=size=" + ASize + ":rate=25:duration=" + d,
                                     "-f",     "lavfi",    "-i",
                                     "sine=frequency=" + std::to_string(ATone) + ":sample_rate=44100:duration=" + d};
    args.insert(args.end(), AEncoding.begin(), AEncoding.end());
    args.push_back(AName);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, "ffmpeg", nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
