// A fixture of the shell view tests: a folder of the test's own inside the process's test home
// (tests/support/shell_home.h), helpers that make folders and files in it, and a form to put the
// views on.
#pragma once

#include <gtest/gtest.h>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "platform/base/main_thread.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "tests/support/shell_home.h"

class ShellViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FRoot = ShellTestHome::Get().NewFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        FForm = new TForm(Application);
        FForm->SetBounds(0, 0, 400, 300);
    }
    void TearDown() override { FForm->Free(); }

    std::string Make(const std::string& rel)
    {
        std::filesystem::create_directories(FRoot + "/" + rel);
        return FRoot + "/" + rel;
    }
    std::string Touch(const std::string& rel, const std::string& text = "x")
    {
        std::ofstream(FRoot + "/" + rel, std::ios::binary) << text;
        return FRoot + "/" + rel;
    }
    String Path(const std::string& rel = "") const { return Utf8ToString(rel.empty() ? FRoot : FRoot + "/" + rel); }
    // Puts a control on the form, the form shown and its messages handled.
    template <class T>
    T* Place(T* Control, int Left = 0)
    {
        Control->SetParent(FForm);
        Control->SetBounds(Left, 0, 190, 280);
        FForm->Show();
        Application->ProcessMessages();
        return Control;
    }

    // Runs the message loop, the watch threads' calls included, until Done holds; false when the
    // (generous) time runs out first.
    static bool WaitFor(const std::function<bool()>& Done, int Ms = 10000)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
        while (!Done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            Application->ProcessMessages();
            CheckSynchronize(10);
        }
        return true;
    }

    std::string FRoot;
    TForm* FForm = nullptr;
};
