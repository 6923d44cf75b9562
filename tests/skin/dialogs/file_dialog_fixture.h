// A fixture of the file and folder dialog tests: a folder of the test's own inside the process's
// test home (tests/support/shell_home.h) with helpers that make folders and files in it, and
// helpers that find, click and double-click a shell list's rows on the screen, and that run a
// dialog with a script of steps inside its modal loop.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/framework/core/strings.h"
#include "skin/dialogs/shell_list_view.h"
#include "tests/support/application_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/shell_home.h"

// Enter and Esc as a keyboard sends them: the key and its character.
inline void PressEnter() { PressKey(VK_RETURN, kNoMods, L"\r"); }
inline void PressEsc() { PressKey(VK_ESCAPE, kNoMods, L"\x1b"); }

struct FileDialogTest : ApplicationFixture {
    void SetUp() override
    {
        Root = ShellTestHome::Get().NewFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override
    {
        ApplicationFixture::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(Root, ec);
    }

    std::string Make(const std::string& rel)
    {
        std::filesystem::create_directories(Root + "/" + rel);
        return Root + "/" + rel;
    }
    std::string Touch(const std::string& rel, const std::string& text = "x")
    {
        std::ofstream(Root + "/" + rel, std::ios::binary) << text;
        return Root + "/" + rel;
    }
    String Path(const std::string& rel = "") const { return Utf8ToString(rel.empty() ? Root : Root + "/" + rel); }

    // The captions of the list's rows in order.
    static std::vector<String> Rows(TbsCustomShellListView* L)
    {
        std::vector<String> out;
        for (int i = 0; i < L->FolderCount(); ++i) out.push_back(L->FolderAt(i)->DisplayName());
        return out;
    }
    static int RowOf(TbsCustomShellListView* L, const String& Name)
    {
        for (int i = 0; i < L->FolderCount(); ++i)
            if (L->FolderAt(i)->DisplayName() == Name) return i;
        return -1;
    }
    // A click (two for a double click) on the start of a row's caption (a list-style row takes
    // clicks on its text only, which may end before its cell).
    static void ClickRow(TbsCustomShellListView* L, const String& Name, int Clicks = 1)
    {
        const int i = RowOf(L, Name);
        ASSERT_GE(i, 0) << StringToUtf8(Name);
        const TRect r = L->Items()->Item(i)->DisplayRect(drLabel);
        const TPoint p = L->ClientToScreen(Point(r.Left + 4, (r.Top + r.Bottom) / 2));
        for (int c = 0; c < Clicks; ++c) Click(p.X, p.Y);
    }

    // The dialog's Execute with the steps S played inside its modal loop; every step has run and
    // the dialog's form is gone afterwards.
    template <class TDialog>
    static bool RunDialog(TDialog* Dialog, std::vector<ModalScript::Step> S)
    {
        ModalScript script(std::move(S));
        const bool r = Dialog->Execute();
        EXPECT_TRUE(script.Done());
        EXPECT_EQ(Dialog->Form(), nullptr);
        return r;
    }

    std::string Root;
};
