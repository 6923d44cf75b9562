// ShellExecuteW and MessageBeep: the opener started detached with an argument vector, the answers
// without an opener and for other verbs, the test hook, and the counted beep.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/win/headless_api.h"
#include "platform/win/shell_execute.h"
#include "platform/win/win_api.h"

namespace {

int Code(HINSTANCE h) { return static_cast<int>(reinterpret_cast<intptr_t>(h)); }

// PATH pointed at a folder of the test's own for the test's length.
struct PathFolder {
    std::string dir, oldPath;
    PathFolder()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vx-shell-XXXXXX").string();
        dir = ::mkdtemp(tmpl.data()) ? tmpl : "";
        const char* p = std::getenv("PATH");
        oldPath = p ? p : "";
        setenv("PATH", dir.c_str(), 1);
    }
    ~PathFolder()
    {
        setenv("PATH", oldPath.c_str(), 1);
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
};

std::string ReadWhenThere(const std::string& file)
{
    for (int i = 0; i < 200; ++i) {
        std::ifstream in(file);
        std::stringstream ss;
        ss << in.rdbuf();
        if (ss.str().find("end") != std::string::npos) return ss.str();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return {};
}

}  // namespace

TEST(ShellExecute, OpenStartsTheOpenerWithTheFileAsOneArgument)
{
    PathFolder f;
    const std::string out = f.dir + "/args.txt";
    {
        std::ofstream s(f.dir + "/xdg-open");
        s << "#!/bin/sh\nprintf '%s|%s|' \"$#\" \"$1\" > '" << out << ".tmp'\necho end >> '" << out
          << ".tmp'\n/bin/mv '" << out << ".tmp' '" << out << "'\n";
    }
    chmod((f.dir + "/xdg-open").c_str(), 0755);
    const wchar_t* file = L"https://example.invalid/a b'c;$(x)&d=中文";
    HINSTANCE r = ShellExecuteW(nullptr, L"open", file, nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(Code(r), 32);
    EXPECT_EQ(ReadWhenThere(out), "1|https://example.invalid/a b'c;$(x)&d=中文|end\n");
}

TEST(ShellExecute, AnswersWithoutAnOpenerForOtherVerbsAndForNoFile)
{
    PathFolder f;  // an empty PATH folder: no opener
    EXPECT_EQ(vxwin::ShellOpenerPath(), "");
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", L"/tmp", nullptr, nullptr, SW_SHOWNORMAL)), SE_ERR_NOASSOC);
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"print", L"/tmp", nullptr, nullptr, SW_SHOWNORMAL)), SE_ERR_NOASSOC);
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", L"", nullptr, nullptr, SW_SHOWNORMAL)), SE_ERR_FNF);
}

TEST(ShellExecute, TheHookSeesTheCallsInsteadOfTheOpener)
{
    std::vector<vxwin::ShellExecuteCall> calls;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        calls.push_back(c);
        return 42;
    });
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", L"mailto:a@b.c", nullptr, nullptr, SW_SHOWNORMAL)), 42);
    vxwin::SetShellExecuteHook(nullptr);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].Verb, L"open");
    EXPECT_EQ(calls[0].File, L"mailto:a@b.c");
    EXPECT_EQ(calls[0].Parameters, L"");
    EXPECT_EQ(calls[0].Show, SW_SHOWNORMAL);
}

TEST(MessageBeep, EachBeepIsCounted)
{
    const unsigned before = vxwin::BeepCount();
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_TRUE(MessageBeep(0));
    EXPECT_EQ(vxwin::BeepCount(), before + 2);
}
