// The plain file dialogs: filter entries and matching, names completed with the default
// extension, the existence and overwrite checks, the injectable answer, and the plain dialog
// itself driven by keys.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/dialogs.h"
#include "tests/platform/framework/control_test_support.h"
#include "tests/support/temp_dir.h"

namespace {
struct Dialogs : ApplicationFixture {
    void SetUp() override
    {
        folder = Utf8ToString(dir.path());
        std::ofstream(dir.file("片头.avi")) << "x";
        std::ofstream(dir.file("b.mkv")) << "x";
        std::ofstream(dir.file("shot.bmp")) << "x";
        ForceDirectories(folder + L"/sub");
        Application->MessageBoxHandler = [this](const String& text, const String&, int) {
            boxes.push_back(text);
            return answer;
        };
    }
    void TearDown() override
    {
        FileDialogHandler = nullptr;
        ApplicationFixture::TearDown();
    }
    void Answer(std::vector<String> names)
    {
        FileDialogHandler = [names](TOpenDialog*, bool, std::vector<String>& out) {
            out = names;
            return true;
        };
    }
    TempDir dir;
    String folder;
    std::vector<String> boxes;
    int answer = IDYES;
};

struct TOpenForTest : TOpenDialog {
    using TOpenDialog::TOpenDialog;
    bool Plain(std::vector<String>& names) { return ShowPlainDialog(names); }
};
}  // namespace

TEST_F(Dialogs, FilterEntriesAndMatching)
{
    TOpenDialog d(nullptr);
    d.SetFilter(L"Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg|AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|");
    auto e = d.FilterEntries();
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[1].first, L"JPEG Image File ");
    EXPECT_TRUE(d.MatchesFilter(L"/x/A.JPEG", 2));
    EXPECT_FALSE(d.MatchesFilter(L"a.bmp", 2));
    EXPECT_TRUE(d.MatchesFilter(L"song.aiff", 3));  // a blank after the semicolon is no part of it
    EXPECT_TRUE(d.MatchesFilter(L"anything", 9));
}

TEST_F(Dialogs, SaveCompletesTheNameAndAsksBeforeOverwriting)
{
    TSavePictureDialog d(nullptr);
    d.SetInitialDir(folder);
    d.SetDefaultExt(L"bmp");
    d.SetOptions(TOpenOptions{ofOverwritePrompt, ofHideReadOnly, ofPathMustExist, ofEnableSizing});
    Answer({L"new"});
    ASSERT_TRUE(d.Execute());
    EXPECT_EQ(d.FileName(), folder + L"/new.bmp");
    EXPECT_FALSE(d.Options().Contains(ofExtensionDifferent));
    Answer({L"pic.jpg"});
    ASSERT_TRUE(d.Execute());
    EXPECT_TRUE(d.Options().Contains(ofExtensionDifferent));
    // An existing file: the answer to the question decides.
    Answer({L"shot"});
    answer = IDNO;
    EXPECT_FALSE(d.Execute());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(L"shot.bmp"), String::npos);
    answer = IDYES;
    EXPECT_TRUE(d.Execute());
    // A folder that does not exist is refused.
    Answer({folder + L"/nowhere/x.bmp"});
    EXPECT_FALSE(d.Execute());
}

TEST_F(Dialogs, OpenChecksExistenceAndKeepsSeveralFiles)
{
    TOpenDialog d(nullptr);
    d.SetInitialDir(folder);
    d.SetOptions(TOpenOptions{ofAllowMultiSelect, ofFileMustExist});
    Answer({L"片头.avi", L"b.mkv"});
    ASSERT_TRUE(d.Execute());
    EXPECT_EQ(d.Files()->Count(), 2);
    EXPECT_EQ(d.Files()->Get(0), folder + L"/片头.avi");
    EXPECT_EQ(d.FileName(), folder + L"/片头.avi");
    Answer({L"missing.avi"});
    EXPECT_FALSE(d.Execute());
    EXPECT_EQ(d.Files()->Count(), 2);  // unchanged after a refusal
    // Headless, with nobody to answer, the dialog is cancelled.
    FileDialogHandler = nullptr;
    EXPECT_FALSE(d.Execute());
}

TEST_F(Dialogs, PlainDialogListsTheFolderAndTakesATypedName)
{
    TOpenForTest d(nullptr);
    d.SetInitialDir(folder);
    d.SetFilter(L"视频|*.avi;*.mkv|全部|*.*");
    d.SetOptions(TOpenOptions{ofFileMustExist});
    vxwin::InjectText(L"b.mkv");
    PressKey(VK_RETURN);
    std::vector<String> names;
    ASSERT_TRUE(d.Plain(names));
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(names[0], folder + L"/b.mkv");
    // Escape cancels.
    PressKey(VK_ESCAPE);
    names.clear();
    EXPECT_FALSE(d.Plain(names));
    EXPECT_TRUE(names.empty());
}
