// The open and save dialog driven inside its modal loop on real folders: the first folder, the
// filter, typed names, masks and paths, double clicks, Back and Up, New folder, several files,
// save-mode names and the overwrite question, and what Cancel still keeps.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/forms/screen.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/controls/skin_std_label.h"
#include "skin/core/png_image_list.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/shell_combo_box.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/skin_form.h"
#include "tests/skin/dialogs/file_dialog_fixture.h"
#include "tests/support/unprivileged.h"

namespace {

using Steps = std::vector<ModalScript::Step>;

TbsOpenDlgForm* AsOpenForm(TCustomForm* F)
{
    auto* f = dynamic_cast<TbsOpenDlgForm*>(F);
    EXPECT_NE(f, nullptr);
    return f;
}

// The name typed into the edit, then Enter.
void TypeAndEnter(TbsOpenDlgForm* F, const String& Text)
{
    F->FileNameEdit->SetText(Text);
    F->FileNameEdit->SetFocus();
    PressEnter();
}

bool MessageBoxShown()
{
    for (int i = 0; i < Screen->FormCount(); ++i)
        if (dynamic_cast<TbsMessageForm*>(Screen->Forms(i)) && Screen->Forms(i)->Visible()) return true;
    return false;
}

struct OpenDialogTest : FileDialogTest {
    TbsSkinOpenDialog* Dialog = nullptr;

    void SetUp() override
    {
        FileDialogTest::SetUp();
        Make("视频 素材/子目录");
        Touch("视频 素材/sample.avi");
        Touch("视频 素材/clip.mkv");
        Touch("视频 素材/notes.txt");
        Touch("视频 素材/x.mp4");
        Dialog = new TbsSkinOpenDialog(Application);
        Dialog->SetInitialDir(Path("视频 素材"));
        Dialog->SetFilter(L"Videos|*.avi;*.mkv|All files|*.*");
    }
    bool Run(Steps S) { return RunDialog(Dialog, std::move(S)); }
};

}  // namespace

TEST_F(OpenDialogTest, BuildsTheFormAndCancelKeepsFilterSizeAndViewStyle)
{
    Dialog->SetFileName(L"/nowhere/earlier.avi");
    bool checked = false;
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        checked = true;
        EXPECT_EQ(f->Caption(), L"Open file");
        EXPECT_TRUE(f->BSF->BorderIcons().Empty());
        EXPECT_EQ(f->ClientWidth(), 450);
        EXPECT_EQ(f->ClientHeight(), 290);
        EXPECT_EQ(f->FileListView->Path(), Path("视频 素材"));
        // Folders first, then the files of the first filter.
        EXPECT_EQ(Rows(f->FileListView), (std::vector<String>{L"子目录", L"clip.mkv", L"sample.avi"}));
        EXPECT_EQ(f->FileNameEdit->Text(), L"earlier.avi");
        // Fallback texts without a text table.
        EXPECT_EQ(f->Drivelabel->Caption(), L"Look in: ");
        EXPECT_EQ(f->OpenButton->Caption(), L"&Open");
        EXPECT_EQ(f->CancelButton->Caption(), L"Cancel");
        EXPECT_EQ(f->OpenFileLabel->Caption(), L"File name:");
        EXPECT_EQ(f->FileTypeLabel->Caption(), L"File type:");
        EXPECT_EQ(f->BackToolButton->Hint(), L"Go To Last Folder Visited");
        EXPECT_EQ(f->ReportMenuItem->Caption(), L"Details");
        EXPECT_TRUE(f->ListMenuItem->Checked());
        // The tool bar reads: label, combo box, Back, Up, New folder, view style; the buttons keep
        // to the bottom panel's right edge.
        EXPECT_LT(f->Drivelabel->Left(), f->ShellBox->Left());
        EXPECT_LT(f->ShellBox->Left(), f->BackToolButton->Left());
        EXPECT_LT(f->BackToolButton->Left(), f->UpToolButton->Left());
        EXPECT_LT(f->UpToolButton->Left(), f->NewFolderToolButton->Left());
        EXPECT_LT(f->NewFolderToolButton->Left(), f->StyleToolButton->Left());
        EXPECT_EQ(f->StyleToolButton->Left() + f->StyleToolButton->Width(), f->ClientWidth());
        EXPECT_EQ(f->OpenButton->Left(), f->BottomPanel->ClientWidth() - 80);
        EXPECT_EQ(f->FileNameEdit->Left() + f->FileNameEdit->Width(), f->BottomPanel->ClientWidth() - 90);
        // The built-in pictures: four of 16 x 16.
        EXPECT_EQ(f->PngImgList->Count(), 4);
        EXPECT_EQ(f->PngImgList->Width(), 16);
        // The shell box follows the list.
        EXPECT_EQ(f->ShellBox->Path(), Path("视频 素材"));

        f->FilterComboBox->SetItemIndex(1);
        EXPECT_EQ(Rows(f->FileListView).size(), 5u);
        f->ReportItemClick(nullptr);
        EXPECT_TRUE(f->ReportMenuItem->Checked());
        EXPECT_FALSE(f->ListMenuItem->Checked());
        f->SetClientSize(500, 320);
        PressEsc();
    }}));
    EXPECT_TRUE(checked);
    EXPECT_EQ(Dialog->FilterIndex(), 2);
    EXPECT_EQ(Dialog->DialogWidth(), 500);
    EXPECT_EQ(Dialog->DialogHeight(), 320);
    EXPECT_EQ(Dialog->LVViewStyle(), vsReport);
    EXPECT_EQ(Dialog->FileName(), L"/nowhere/earlier.avi");
    EXPECT_EQ(Dialog->Files()->Count(), 0);

    // The next call opens as the user left it.
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        EXPECT_EQ(f->ClientWidth(), 500);
        EXPECT_EQ(f->ClientHeight(), 320);
        EXPECT_EQ(f->FilterComboBox->ItemIndex(), 1);
        EXPECT_EQ(f->FileListView->ViewStyle(), vsReport);
        EXPECT_TRUE(f->ReportMenuItem->Checked());
        ClickControl(f->CancelButton);
    }}));
}

TEST_F(OpenDialogTest, ATypedNameTakesTheFiltersExtension)
{
    EXPECT_TRUE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        f->FileNameEdit->SetText(L"sample");
        ClickControl(f->OpenButton);
    }}));
    EXPECT_EQ(Dialog->FileName(), Path("视频 素材/sample.avi"));
}

TEST_F(OpenDialogTest, AMissingNameKeepsTheFormOpen)
{
    EXPECT_TRUE(Run({[&](TCustomForm* F) { TypeAndEnter(AsOpenForm(F), L"missing"); },
                     [&](TCustomForm* F) {
                         TbsOpenDlgForm* f = AsOpenForm(F);
                         EXPECT_TRUE(f->Visible());
                         EXPECT_EQ(f->FileName, L"");
                         TypeAndEnter(f, L"notes.txt");
                     }}));
    EXPECT_EQ(Dialog->FileName(), Path("视频 素材/notes.txt"));
}

TEST_F(OpenDialogTest, EnterInTheEditFiltersByAMaskAndOpensAFolderPath)
{
    Make("elsewhere/inner");
    EXPECT_FALSE(Run({[&](TCustomForm* F) { TypeAndEnter(AsOpenForm(F), L"*.mp4"); },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_EQ(Rows(f->FileListView), (std::vector<String>{L"子目录", L"x.mp4"}));
                          TypeAndEnter(f, Path("elsewhere"));
                      },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_EQ(f->FileListView->Path(), Path("elsewhere"));
                          EXPECT_EQ(f->ShellBox->Path(), Path("elsewhere"));
                          // A path that is no folder changes nothing.
                          TypeAndEnter(f, Path("nothing/here"));
                      },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_TRUE(f->Visible());
                          EXPECT_EQ(f->FileListView->Path(), Path("elsewhere"));
                          PressEsc();
                      }}));
}

// A path typed whole (absolute, or relative to the folder shown) names the file, by Enter or by
// the Open button.
TEST_F(OpenDialogTest, ATypedPathToAFileOpensIt)
{
    Make("elsewhere");
    Touch("elsewhere/片段 1.mkv");
    Touch("视频 素材/子目录/inner.avi");
    EXPECT_TRUE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        f->FileNameEdit->SetText(L"子目录/inner");
        ClickControl(f->OpenButton);
    }}));
    EXPECT_EQ(Dialog->FileName(), Path("视频 素材/子目录/inner.avi"));
    EXPECT_TRUE(Run({[&](TCustomForm* F) { TypeAndEnter(AsOpenForm(F), Path("elsewhere/片段 1.mkv")); }}));
    EXPECT_EQ(Dialog->FileName(), Path("elsewhere/片段 1.mkv"));
    // Nothing selected: the typed file is also the one entry of Files.
    ASSERT_EQ(Dialog->Files()->Count(), 1);
    EXPECT_EQ(Dialog->Files()->Get(0), Path("elsewhere/片段 1.mkv"));
}

TEST_F(OpenDialogTest, DoubleClicksOpenAFolderThenTakeAFile)
{
    Touch("视频 素材/子目录/深处.mkv");
    EXPECT_TRUE(Run({[&](TCustomForm* F) { ClickRow(AsOpenForm(F)->FileListView, L"子目录", 2); },
                     [&](TCustomForm* F) {
                         TbsOpenDlgForm* f = AsOpenForm(F);
                         EXPECT_EQ(f->FileListView->Path(), Path("视频 素材/子目录"));
                         ClickRow(f->FileListView, L"深处.mkv", 2);
                     }}));
    EXPECT_EQ(Dialog->FileName(), Path("视频 素材/子目录/深处.mkv"));
    ASSERT_EQ(Dialog->Files()->Count(), 1);
    EXPECT_EQ(Dialog->Files()->Strings(0), Path("视频 素材/子目录/深处.mkv"));
}

TEST_F(OpenDialogTest, BackReturnsThroughTheFoldersVisitedAndUpGoesToTheParent)
{
    Make("a/b/c");
    Dialog->SetInitialDir(Path("a"));
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          ASSERT_EQ(f->FolderHistory.size(), 1u);
                          // Back with one entry does nothing.
                          f->BackToolButtonClick(nullptr);
                          EXPECT_EQ(f->FileListView->Path(), Path("a"));
                          f->FileListView->SetPath(Path("a/b"));
                          f->FileListView->SetPath(Path("a/b/c"));
                          EXPECT_EQ(f->FolderHistory.size(), 3u);
                          ClickControl(f->BackToolButton);
                      },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_EQ(f->FileListView->Path(), Path("a/b"));
                          EXPECT_EQ(f->FolderHistory.size(), 2u);
                          ClickControl(f->BackToolButton);
                      },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_EQ(f->FileListView->Path(), Path("a"));
                          EXPECT_EQ(f->FolderHistory.size(), 1u);
                          // A new folder after going back, then Back: where the user came from.
                          f->FileListView->SetPath(Path("a/b/c"));
                          f->BackToolButtonClick(nullptr);
                          EXPECT_EQ(f->FileListView->Path(), Path("a"));
                          ClickControl(f->UpToolButton);
                      },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_EQ(f->FileListView->Path(), Path());
                          EXPECT_EQ(f->ShellBox->Path(), Path());
                          PressEsc();
                      }}));
}

TEST_F(OpenDialogTest, NewFolderTwiceMakesNumberedFoldersOpenedForRenaming)
{
    EXPECT_FALSE(Run({[&](TCustomForm* F) { ClickControl(AsOpenForm(F)->NewFolderToolButton); },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_TRUE(DirectoryExists(Path("视频 素材/New Folder")));
                          EXPECT_EQ(f->FileListView->EditingIndex(), RowOf(f->FileListView, L"New Folder"));
                          PressEsc();
                      },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_TRUE(f->Visible());
                          ClickControl(f->NewFolderToolButton);
                      },
                      [&](TCustomForm* F) {
                          TbsOpenDlgForm* f = AsOpenForm(F);
                          EXPECT_TRUE(DirectoryExists(Path("视频 素材/New Folder(2)")));
                          EXPECT_EQ(f->FileListView->EditingIndex(), RowOf(f->FileListView, L"New Folder(2)"));
                          PressEsc();
                      },
                      [&](TCustomForm*) { PressEsc(); }}));
}

TEST_F(OpenDialogTest, SeveralSelectedFilesAllReachFiles)
{
    Dialog->SetMultiSelection(true);
    Dialog->SetFilterIndex(2);
    EXPECT_TRUE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        EXPECT_TRUE(f->FileListView->MultiSelect());
        for (const wchar_t* name : {L"clip.mkv", L"notes.txt", L"x.mp4"})
            f->FileListView->Items()->Item(RowOf(f->FileListView, name))->SetSelected(true);
        EXPECT_FALSE(f->FileNameEdit->Text().empty());
        ClickControl(f->OpenButton);
    }}));
    ASSERT_EQ(Dialog->Files()->Count(), 3);
    EXPECT_EQ(Dialog->Files()->Strings(0), Path("视频 素材/clip.mkv"));
    EXPECT_EQ(Dialog->Files()->Strings(2), Path("视频 素材/x.mp4"));
    EXPECT_TRUE(Dialog->FileName() == Path("视频 素材/clip.mkv") || Dialog->FileName() == Path("视频 素材/x.mp4") ||
                Dialog->FileName() == Path("视频 素材/notes.txt"));
}

TEST_F(OpenDialogTest, TheFirstFolderFollowsFileNameThenInitialDirThenTheProgramsFolder)
{
    Make(".隐藏 目录");
    Touch(".隐藏 目录/a.avi");
    const String program = ExtractFileDir(ExeFileName());
    struct Case {
        String FileName, InitialDir, Folder, Edit;
    } cases[] = {
        {Path(".隐藏 目录/a.avi"), Path("视频 素材"), Path(".隐藏 目录"), L"a.avi"},
        {Path("gone/a.avi"), Path("视频 素材"), Path("视频 素材"), L"a.avi"},
        {Path("gone/a.avi"), Path("gone"), program, L"a.avi"},
        {L"", Path("gone"), program, L""},
        {L"", Path("视频 素材"), Path("视频 素材"), L""},
    };
    for (const Case& c : cases) {
        Dialog->SetFileName(c.FileName);
        Dialog->SetInitialDir(c.InitialDir);
        EXPECT_FALSE(Run({[&](TCustomForm* F) {
            TbsOpenDlgForm* f = AsOpenForm(F);
            EXPECT_EQ(f->FileListView->Path(), c.Folder) << StringToUtf8(c.FileName);
            EXPECT_EQ(f->FileNameEdit->Text(), c.Edit);
            PressEsc();
        }}));
    }
}

TEST_F(OpenDialogTest, OnFolderChangeHearsFolderAndSelectionChanges)
{
    int heard = 0;
    Dialog->OnFolderChange = [&](TObject* Sender) {
        EXPECT_NE(dynamic_cast<TbsOpenDlgForm*>(Sender), nullptr);
        ++heard;
    };
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        const int before = heard;
        f->FileListView->SetPath(Path("视频 素材/子目录"));
        EXPECT_GT(heard, before);
        PressEsc();
    }}));
}

TEST_F(OpenDialogTest, TextsComeFromTheTableAndAMissingKeyIsEmpty)
{
    auto* model = new TbsSkinData(Application);
    auto* table = new TbsResourceStrData(Application);
    TStringList lines;
    lines.Add(L"MSG_BTN_OPEN=打开(&O)");
    lines.Add(L"FLV_LOOKIN=查找范围：");
    table->SetResStrings(&lines);
    model->SetResourceStrData(table);
    Dialog->SetCtrlSkinData(model);
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        EXPECT_EQ(f->OpenButton->Caption(), L"打开(&O)");
        EXPECT_EQ(f->Drivelabel->Caption(), L"查找范围：");
        EXPECT_EQ(f->CancelButton->Caption(), L"");
        PressEsc();
    }}));
}

// ---- save mode ---------------------------------------------------------------------------------

struct SaveDialogTest : OpenDialogTest {
    TbsSkinSaveDialog* Save = nullptr;
    void SetUp() override
    {
        OpenDialogTest::SetUp();
        Save = new TbsSkinSaveDialog(Application);
        Save->SetInitialDir(Path("视频 素材"));
        Dialog = Save;
    }
};

TEST_F(SaveDialogTest, ANameWithoutExtensionTakesTheFilters)
{
    struct Case {
        String Filter, Expected;
    } cases[] = {
        {L"Bitmaps|*.bmp", L"shot.bmp"},
        {L"All|*.*", L"shot"},
        {L"Pictures|*.bmp;*.ico", L"shot.bmp"},
    };
    for (const Case& c : cases) {
        Save->SetFilter(c.Filter);
        EXPECT_TRUE(Run({[&](TCustomForm* F) {
            TbsOpenDlgForm* f = AsOpenForm(F);
            EXPECT_EQ(f->Caption(), L"Save file");
            EXPECT_EQ(f->OpenButton->Caption(), L"&Save");
            TypeAndEnter(f, L"shot");
        }}));
        EXPECT_EQ(Save->FileName(), Path("视频 素材/") + c.Expected) << StringToUtf8(c.Filter);
    }
}

TEST_F(SaveDialogTest, TheFileAskedAboutIsTheFileReturned)
{
    // With a default extension beside the filter's, the question must be about the name that is
    // returned: shot.bmp exists, shot.txt does not.
    Touch("视频 素材/shot.bmp", "old");
    Save->SetFilter(L"Bitmaps|*.bmp");
    Save->SetDefaultExt(L"txt");
    Save->SetOverwritePromt(true);
    EXPECT_TRUE(Run({[&](TCustomForm* F) { TypeAndEnter(AsOpenForm(F), L"shot"); },
                     [&](TCustomForm*) {
                         EXPECT_TRUE(MessageBoxShown());
                         PressEsc();
                     },
                     [&](TCustomForm* F) {
                         // Cancelled: the dialog stays.
                         EXPECT_FALSE(MessageBoxShown());
                         EXPECT_TRUE(F->Visible());
                         TypeAndEnter(AsOpenForm(F), L"shot");
                     },
                     [&](TCustomForm*) {
                         EXPECT_TRUE(MessageBoxShown());
                         PressEnter();
                     }}));
    EXPECT_EQ(Save->FileName(), Path("视频 素材/shot.bmp"));
}

TEST_F(SaveDialogTest, ATypedPathSavesIntoThatFolder)
{
    Make("elsewhere");
    Save->SetFilter(L"Bitmaps|*.bmp");
    EXPECT_TRUE(Run({[&](TCustomForm* F) { TypeAndEnter(AsOpenForm(F), Path("elsewhere/shot")); }}));
    EXPECT_EQ(Save->FileName(), Path("elsewhere/shot.bmp"));
}

TEST_F(SaveDialogTest, ChangingTheTypeReplacesTheTypedExtension)
{
    Save->SetFilter(L"Bitmaps|*.bmp|Icons|*.ico|All|*.*");
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        f->FileNameEdit->SetText(L"shot");
        f->FilterComboBox->SetItemIndex(1);
        EXPECT_EQ(f->FileNameEdit->Text(), L"shot.ico");
        f->FilterComboBox->SetItemIndex(0);
        EXPECT_EQ(f->FileNameEdit->Text(), L"shot.bmp");
        f->FilterComboBox->SetItemIndex(2);
        EXPECT_EQ(f->FileNameEdit->Text(), L"shot.bmp");
        PressEsc();
    }}));
}

TEST_F(OpenDialogTest, AFailureWhileBuildingStillClosesAndFreesTheForm)
{
    // A dialog whose form fails half built.
    struct FailingDialog : TbsSkinOpenDialog {
        using TbsSkinOpenDialog::TbsSkinOpenDialog;
        void PrepareForm(TbsOpenDlgForm*) override { throw EInOutError(L"I/O error 5"); }
    };
    auto* failing = new FailingDialog(Application);
    int closes = 0;
    failing->OnClose = [&](TObject*) { ++closes; };
    // Should the form show after all, the script closes it.
    ModalScript script({[](TCustomForm* F) { F->SetModalResult(mrCancel); }});
    EXPECT_THROW(failing->Execute(), EInOutError);
    EXPECT_FALSE(script.Done());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(failing->Form(), nullptr);
    for (int i = 0; i < Application->ComponentCount(); ++i)
        EXPECT_EQ(dynamic_cast<TbsOpenDlgForm*>(Application->Components(i)), nullptr) << "the form is freed";
}

TEST_F(OpenDialogTest, TheFolderBoxBrowsesTheHomeFolderAndTheListFollows)
{
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenDlgForm* f = AsOpenForm(F);
        // The chain down to the folder shown, under the desktop's own rows.
        std::vector<String> rows;
        for (int i = 0; i < f->ShellBox->ItemsEx()->Count(); ++i)
            rows.push_back(f->ShellBox->ItemsEx()->ItemAt(i)->Caption);
        ASSERT_GE(rows.size(), 3u);
        EXPECT_EQ(rows[0], L"桌面");
        EXPECT_EQ(rows.back(), L"视频 素材");
        int home = -1;
        for (int i = 0; i < static_cast<int>(rows.size()); ++i)
            if (rows[static_cast<size_t>(i)] == L"主文件夹") home = i;
        ASSERT_GE(home, 0);
        f->ShellBox->SetItemIndex(home);
        EXPECT_EQ(f->FileListView->Path(), Utf8ToString(ShellTestHome::Get().Home()));
        EXPECT_EQ(f->FolderHistory.size(), 2u);
        // Back returns to the folder of the test.
        f->BackToolButtonClick(nullptr);
        EXPECT_EQ(f->FileListView->Path(), Path("视频 素材"));
        EXPECT_EQ(f->ShellBox->Path(), Path("视频 素材"));
        PressEsc();
    }}));
}

TEST_F(OpenDialogTest, AFolderRemovedWhileShownIsReadAgainWithoutHarm)
{
    Make("将消失/里面");
    Dialog->SetInitialDir(Path("将消失/里面"));
    EXPECT_TRUE(Run({[&](TCustomForm* F) {
                         TbsOpenDlgForm* f = AsOpenForm(F);
                         std::filesystem::remove_all(Root + "/将消失");
                         f->FileListView->SetFocus();
                         PressKey(VK_F5);
                     },
                     [&](TCustomForm* F) {
                         TbsOpenDlgForm* f = AsOpenForm(F);
                         // Nothing listed, not the desktop's items under the vanished folder's name.
                         EXPECT_EQ(f->FileListView->FolderCount(), 0);
                         // Still usable: a file elsewhere.
                         f->FileListView->SetPath(Path("视频 素材"));
                         TypeAndEnter(f, L"sample.avi");
                     }}));
    EXPECT_EQ(Dialog->FileName(), Path("视频 素材/sample.avi"));
}

TEST_F(OpenDialogTest, AnUnreadableFolderOpensEmptyAndTheDialogGoesOn)
{
    Make("视频 素材/锁住/里面");
    Touch("视频 素材/锁住/秘密.avi");
    ASSERT_EQ(::chmod((Root + "/视频 素材/锁住").c_str(), 0700), 0);
    // As an ordinary user, in a child process: the checks answer through the exit code.
    const int rc = RunUnprivileged([&] {
        int failed = 0;
        ModalScript script({[&](TCustomForm* F) { ClickRow(AsOpenForm(F)->FileListView, L"锁住", 2); },
                            [&](TCustomForm* F) {
                                TbsOpenDlgForm* f = AsOpenForm(F);
                                if (f->FileListView->Path() != Path("视频 素材/锁住")) failed |= 2;
                                if (f->FileListView->FolderCount() != 0) failed |= 4;
                                ClickControl(f->BackToolButton);
                            },
                            [&](TCustomForm* F) {
                                TbsOpenDlgForm* f = AsOpenForm(F);
                                if (f->FileListView->Path() != Path("视频 素材")) failed |= 8;
                                TypeAndEnter(f, L"sample");
                            }});
        if (!Dialog->Execute() || !script.Done()) failed |= 16;
        if (Dialog->FileName() != Path("视频 素材/sample.avi")) failed |= 32;
        return failed;
    });
    ::chmod((Root + "/视频 素材/锁住").c_str(), 0755);
    EXPECT_EQ(rc, 0);
}
