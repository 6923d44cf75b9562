// Ending an X11 test that cannot run here (a tool not installed, a server that does not start):
// skipped with the reason on a developer's machine, failed with it under CI (the variable CI set
// and not empty), where the real-desktop checks must always run.
//   if (FindTool("xdotool").empty()) X11_TEST_UNAVAILABLE() << "xdotool is not installed";
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

inline bool RunningUnderCi()
{
    const char* ci = std::getenv("CI");
    return ci && *ci;
}

#define X11_TEST_UNAVAILABLE()                                                  \
    return GTEST_MESSAGE_(                                                      \
        RunningUnderCi() ? "CI is set, so the X11 test must run, but it cannot" \
                         : "Skipped: the X11 test cannot run here",             \
        RunningUnderCi() ? ::testing::TestPartResult::kFatalFailure : ::testing::TestPartResult::kSkip)
