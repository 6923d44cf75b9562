// PlaySoundW hands the file to the first desktop player found on PATH (stand-in players written
// by the test record what they were given); the token calls keep their privileges; ExitWindowsEx
// reaches only the test's hook, never logind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/utf.h"
#include "platform/win/file_api.h"
#include "platform/win/power_api.h"
#include "platform/win/sound_api.h"
#include "platform/win/waitable_api.h"
#include "tests/support/temp_dir.h"

namespace {

std::string ReadText(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Polls for a condition for up to 20 s (a loaded machine may be slow to start a process).
template <class F>
bool Eventually(F condition)
{
    for (int i = 0; i < 2000; ++i) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

class PlaySound : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* path = std::getenv("PATH");
        FOldPath = path ? path : "";
        std::filesystem::create_directories(FBin);
        ::setenv("PATH", FBin.c_str(), 1);
        std::ofstream(FWav) << "RIFF";
    }
    void TearDown() override
    {
        ::setenv("PATH", FOldPath.c_str(), 1);
        vxwin::SetPlaySoundHook(nullptr);
    }
    // A player that writes its name and arguments, then runs body.
    void AddPlayer(const std::string& name, const std::string& body = "")
    {
        const std::string file = FBin + "/" + name;
        std::ofstream(file) << "#!/bin/sh\nprintf '%s' \"" << name << "\" > '" << FLog << ".tmp'\n"
                            << "for a in \"$@\"; do printf '|%s' \"$a\" >> '" << FLog << ".tmp'; done\n"
                            << "/bin/mv '" << FLog << ".tmp' '" << FLog << "'\n"
                            << body;
        ::chmod(file.c_str(), 0755);
    }

    TempDir FDir;
    std::string FBin = FDir.file("bin");
    std::string FLog = FDir.file("played.txt");
    std::string FWav = FDir.file("提示 音.wav");
    std::string FOldPath;
};

TEST_F(PlaySound, TheFirstPlayerFoundGetsTheFileAsOneArgument)
{
    struct Case {
        std::vector<std::string> players;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {{"aplay"}, "aplay|-q|"},
        {{"pw-play", "aplay"}, "pw-play|"},
        {{"aplay", "pw-play", "paplay"}, "paplay|"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        std::filesystem::remove_all(FBin);
        std::filesystem::create_directories(FBin);
        std::filesystem::remove(FLog);
        for (const std::string& p : c.players) AddPlayer(p);
        EXPECT_TRUE(PlaySoundW(Utf8ToString(FWav).c_str(), nullptr, SND_ASYNC));
        EXPECT_TRUE(Eventually([&] { return std::filesystem::exists(FLog); }));
        EXPECT_EQ(ReadText(FLog), c.expected + FWav);
    }
}

TEST_F(PlaySound, AWaitingCallReturnsWhenThePlayerHasEnded)
{
    AddPlayer("paplay");
    EXPECT_TRUE(PlaySoundW(Utf8ToString(FWav).c_str(), nullptr, SND_FILENAME));
    EXPECT_EQ(ReadText(FLog), "paplay|" + FWav);
}

TEST_F(PlaySound, SilentWithoutAPlayerOrAFile)
{
    EXPECT_FALSE(PlaySoundW(Utf8ToString(FWav).c_str(), nullptr, SND_ASYNC));  // no player
    AddPlayer("paplay");
    EXPECT_FALSE(PlaySoundW(Utf8ToString(FDir.file("missing.wav")).c_str(), nullptr, SND_FILENAME));
    EXPECT_FALSE(PlaySoundW(L"SystemAsterisk", nullptr, SND_ALIAS));
    EXPECT_FALSE(std::filesystem::exists(FLog));
}

TEST_F(PlaySound, ANullSoundStopsThePlayingOne)
{
    AddPlayer("paplay", "echo $$ > '" + FDir.file("pid") + "'\nexec /bin/sleep 60\n");
    ASSERT_TRUE(PlaySoundW(Utf8ToString(FWav).c_str(), nullptr, SND_ASYNC));
    ASSERT_TRUE(Eventually([&] { return !ReadText(FDir.file("pid")).empty(); }));
    const pid_t pid = std::stoi(ReadText(FDir.file("pid")));
    // A second sound that must not interrupt is refused while the first plays.
    EXPECT_FALSE(PlaySoundW(Utf8ToString(FWav).c_str(), nullptr, SND_ASYNC | SND_NOSTOP));
    EXPECT_TRUE(PlaySoundW(nullptr, nullptr, 0));
    // Ended and reaped: the process is gone.
    EXPECT_TRUE(Eventually([&] { return ::kill(pid, 0) != 0; }));
}

TEST_F(PlaySound, TheHookAnswersInThePlayersPlace)
{
    AddPlayer("paplay");
    std::vector<vxwin::PlaySoundCall> calls;
    vxwin::SetPlaySoundHook([&](const vxwin::PlaySoundCall& c) {
        calls.push_back(c);
        return TRUE;
    });
    EXPECT_TRUE(PlaySoundW(L"/x/ring001.wav", nullptr, SND_ASYNC));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].sound, L"/x/ring001.wav");
    EXPECT_EQ(calls[0].flags, SND_ASYNC);
    EXPECT_FALSE(std::filesystem::exists(FLog));
}

TEST(AccessToken, PrivilegesAreSwitchedAndReportedPerToken)
{
    EXPECT_EQ(sizeof(TOKEN_PRIVILEGES), 16u);
    HANDLE token = nullptr;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    LUID luid;
    ASSERT_TRUE(LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &luid));
    EXPECT_EQ(luid.LowPart, 19u);

    TOKEN_PRIVILEGES tp;
    tp.PrivilegeCount = 1;
    tp.Privileges[0].Luid = luid;
    tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    TOKEN_PRIVILEGES previous;
    DWORD length = 0;
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, sizeof(previous), &previous, &length));
    EXPECT_EQ(previous.Privileges[0].Attributes, 0u);
    EXPECT_TRUE(vxwin::TokenPrivilegeEnabled(token, luid));
    tp.Privileges[0].Attributes = 0;
    EXPECT_TRUE(AdjustTokenPrivileges(token, FALSE, &tp, sizeof(previous), &previous, &length));
    EXPECT_EQ(previous.Privileges[0].Attributes, SE_PRIVILEGE_ENABLED);
    EXPECT_FALSE(vxwin::TokenPrivilegeEnabled(token, luid));
    EXPECT_TRUE(CloseHandle(token));
    EXPECT_FALSE(AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);

    // A token opened without the right to adjust, and a privilege nobody knows.
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    EXPECT_FALSE(AdjustTokenPrivileges(token, FALSE, &tp, 0, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(CloseHandle(token));
    EXPECT_FALSE(LookupPrivilegeValueW(nullptr, L"SeNoSuchPrivilege", &luid));
    EXPECT_EQ(GetLastError(), ERROR_NO_SUCH_PRIVILEGE);
}

TEST(ExitWindows, RequestsGoToTheHookAsNormalPowerOffsOrReboots)
{
    std::vector<vxwin::PowerRequest> requests;
    vxwin::SetPowerRequestHook([&](vxwin::PowerRequest r) {
        requests.push_back(r);
        return TRUE;
    });
    EXPECT_TRUE(ExitWindowsEx(EWX_SHUTDOWN | EWX_FORCE | EWX_POWEROFF, 0));  // force is not passed on
    EXPECT_TRUE(ExitWindowsEx(EWX_REBOOT, 0));
    EXPECT_FALSE(ExitWindowsEx(EWX_LOGOFF, 0));
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(requests, (std::vector<vxwin::PowerRequest>{vxwin::PowerRequest::PowerOff, vxwin::PowerRequest::Reboot}));

    vxwin::SetPowerRequestHook([](vxwin::PowerRequest) { return FALSE; });
    EXPECT_FALSE(ExitWindowsEx(EWX_POWEROFF, 0));
    vxwin::SetPowerRequestHook(nullptr);
}

TEST(ExitWindows, ATestProcessWithoutAHookIsRefused)
{
    // Only the program's main enables real requests, and never under the test launcher.
    ASSERT_FALSE(vxwin::SystemPowerRequestsEnabled());
    EXPECT_FALSE(ExitWindowsEx(EWX_POWEROFF, 0));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

}  // namespace
