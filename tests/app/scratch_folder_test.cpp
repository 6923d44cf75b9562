// The private folder where adding a job tries its output: gone when the main window goes, and
// the folders that ended processes left behind are removed at the next start (not a running
// process's, not a stranger's).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/app/main_window_fixture.h"

namespace fs = std::filesystem;

namespace {

class ScratchFolders : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        FOldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        fs::create_directories(Tmp());
        ::setenv("TMPDIR", Tmp().c_str(), 1);
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        if (FOldTmp.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", FOldTmp.c_str(), 1);
    }
    std::string Tmp() const { return Root.file("tmp"); }
    std::string Folder(const std::string& AName) const { return Tmp() + "/vexmora-check-" + AName; }

private:
    std::string FOldTmp;
};

// A process id that no process has now: a child that has ended and been reaped.
pid_t EndedProcess()
{
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

TEST_F(ScratchFolders, StaleOnesGoAtStartAndTheProgramsOwnAtItsEnd)
{
    const std::string stale = Folder(std::to_string(EndedProcess()));
    const std::string running = Folder(std::to_string(::getppid()));
    const std::string other = Folder("notes");
    for (const std::string& folder : {stale, running, other}) {
        fs::create_directories(folder);
        std::ofstream(folder + "/job1.mkv") << "x";
    }
    Start();
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running + "/job1.mkv"));
    EXPECT_TRUE(fs::exists(other + "/job1.mkv"));

    const std::string clip = Clip(Root.file("in/clip.mkv"));
    ASSERT_TRUE(Main->DERID->LoadAVLib(ProgramFolder() + L"LibAV"));
    ASSERT_EQ(Main->AddJob(Utf8ToString(clip)), ajAdded);
    const std::string own = Folder(std::to_string(::getpid()));
    EXPECT_TRUE(fs::is_directory(own));
    EXPECT_TRUE(fs::is_empty(own)) << "each try is removed at once";
    ApplicationFixture::TearDown();
    Form1 = Main = nullptr;
    EXPECT_FALSE(fs::exists(own));
    EXPECT_TRUE(fs::exists(running));
}

}  // namespace
