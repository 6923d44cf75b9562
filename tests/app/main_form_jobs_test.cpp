// Adding and editing jobs on real generated clips: a folder of videos, a sound and a text file;
// the rows' columns as the panel shows them (no video, target and norm included); adding with a
// row selected; rename refusals; moves and removals keeping slots and task numbers; the folder
// dialogs' cancel.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/presets/presets.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/ini_file.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_panel.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/user_input.h"
#include "platform/win/headless_api.h"

namespace fs = std::filesystem;

namespace {

void PressEnter() { PressKey(VK_RETURN, kNoMods, L"\r"); }
void PressEsc() { PressKey(VK_ESCAPE, kNoMods, L"\x1b"); }

class MainWindowJobs : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        Out = Main->FileOutPutPath;
    }

    // Runs "添加整个目录" on AFolder, confirming the folder dialog; AInfoBox: the "nothing found"
    // box is expected (and closed).
    void AddFolder(const std::string& AFolder, bool AInfoBox = false)
    {
        Main->bsSkinSelectDirectoryDialog1->SetDirectory(Utf8ToString(AFolder));
        std::vector<ModalScript::Step> steps{[](TCustomForm*) { PressEnter(); }};
        if (AInfoBox) steps.push_back([](TCustomForm*) { PressEnter(); });
        ModalScript script(steps);
        Main->N21Click(Main);
        EXPECT_TRUE(script.Done());
        Pump();
    }

    int Rows() const { return Main->lvFiles->Items()->Count(); }
    TListItem* Row(int I) const { return Main->lvFiles->Items()->Item(I); }
    String Cell(int ARow, int AColumn) const
    {
        return AColumn == 0 ? Row(ARow)->Caption() : Row(ARow)->SubItems()->Get(AColumn - 1);
    }
    int LogCount(const String& AText) const
    {
        int n = 0;
        TStrings* lines = Main->mmoLog->Lines();
        for (int i = 0; i < lines->Count(); ++i)
            if (lines->Get(i).starts_with(AText)) ++n;
        return n;
    }
    void ChoosePreset(TPresetPosition APosition)
    {
        ASSERT_GE(APosition.CategoryIndex, 0);
        Main->bsSkinOfficeComboBox2->SetItemIndex(APosition.CategoryIndex);
        Main->bsSkinOfficeComboBox1->SetItemIndex(APosition.PresetIndex);
    }
    bool OutputFolderEmpty() const { return fs::is_empty(StringToUtf8(Out)); }

    String Out;
};

TEST_F(MainWindowJobs, AFolderAddsItsMediaFilesAndSkipsTheRest)
{
    const std::string in = Root.file("素材");
    Clip(in + "/A.mkv");
    Clip(in + "/b.avi", 160, 120);
    Clip(in + "/c.wav", 0, 0);
    std::ofstream(in + "/notes.txt") << "not media";
    AddFolder(in);

    // Case-insensitive order, walked from the last file: c, b, A; the text file is skipped.
    ASSERT_EQ(Rows(), 3);
    EXPECT_EQ(Cell(0, 0), Utf8ToString(in + "/c.wav"));
    EXPECT_EQ(Cell(1, 0), Utf8ToString(in + "/b.avi"));
    EXPECT_EQ(Cell(2, 0), Utf8ToString(in + "/A.mkv"));
    EXPECT_EQ(LogCount(L"***File load error: "), 1);
    EXPECT_EQ(LogCount(L"***Can do convert."), 3);
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_EQ(Cell(r, 1), L"00:00:01");
        EXPECT_TRUE(Cell(r, 2).ends_with(L"MB"));
        EXPECT_EQ(Cell(r, 4), L"");
        EXPECT_EQ(Cell(r, 8), IntToStr(int64_t(r) + 1)) << "task index + 1";
        EXPECT_EQ(Cell(r, 9), L"100") << "first category, first preset";
        EXPECT_EQ(Cell(r, 10).size(), 12u);
        EXPECT_EQ(Cell(r, 22), L"False");
        EXPECT_EQ(Main->OO1[r].AudioLanguage, L"Full");
        EXPECT_EQ(Main->OO1[r].FileName, Out + L"/" + Cell(r, 3));
    }
    EXPECT_EQ(Cell(0, 3), L"c.mkv");
    EXPECT_EQ(Cell(2, 3), L"A.mkv");
    EXPECT_EQ(Main->OO1[3].AudioLanguage, L"kong");
    EXPECT_EQ(Main->DERID->TasksCount(), 3);
    // Nothing is written before the queue runs; the last row is the selected one; the job
    // commands are available.
    EXPECT_TRUE(OutputFolderEmpty());
    EXPECT_EQ(Main->lvFiles->Selected(), Row(2));
    EXPECT_FALSE(Main->bsSkinPanel5->Visible());
    EXPECT_TRUE(Main->bsSkinButton2->Enabled());
    EXPECT_TRUE(Main->bsSkinButton7->Enabled());
}

TEST_F(MainWindowJobs, AFolderWithoutMediaSaysSoAndAddsNothing)
{
    const std::string in = Root.file("空");
    fs::create_directories(in);
    std::ofstream(in + "/readme.txt") << "text";
    AddFolder(in, true);
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(Main->bsSkinPanel5->Visible());
}

TEST_F(MainWindowJobs, RowsTakeThePresetsNoVideoTargetAndNorm)
{
    const std::string in = Root.file("in");
    Clip(in + "/one.mkv");
    Clip(in + "/two.mkv");
    struct Case {
        const char* Name;
        TPresetPosition Position;
        String NoVideo, Target, Norm;
    } cases[] = {
        {"audio only", FindPreset([](const TOutputPreset& p) { return p.DisableVideo; }), L"True", L"", L""},
        {"DVD in PAL", FindPreset([](const TOutputPreset& p) {
             return String(p.TargetType) == L"dvd" && String(p.NormType) == L"PAL";
         }),
         L"False", L"dvd", L"PAL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Main->btnClearClick(Main);
        Main->lvFiles->ClearSelection();
        ChoosePreset(c.Position);
        AddFolder(in);
        ASSERT_EQ(Rows(), 2);
        for (int r = 0; r < 2; ++r) {
            EXPECT_EQ(Cell(r, 22), c.NoVideo);
            EXPECT_EQ(Cell(r, 23), c.Target);
            EXPECT_EQ(Cell(r, 24), c.Norm);
        }
        // Columns 16 to 21 hold what the panel's combos show.
        const auto texts = Main->ParameterTexts();
        PresetSettings shown;
        ReadParameterChoices(texts, shown);
        EXPECT_EQ(Cell(1, 16), shown.Video_FrameSize);
        EXPECT_EQ(Cell(1, 18), shown.Video_FrameRate);
        EXPECT_EQ(Cell(1, 20), shown.Video_AudioSampleRate);
    }
}

TEST_F(MainWindowJobs, AddingWithARowSelectedLeavesThatRowAlone)
{
    Clip(Root.file("a/first.mkv"));
    Clip(Root.file("b/second.mkv"));
    AddFolder(Root.file("a"));
    ASSERT_EQ(Rows(), 1);
    ASSERT_EQ(Main->lvFiles->Selected(), Row(0));
    // The user picks another frame size for the selected job.
    TbsSkinComboBox* size = Main->bsSkinComboBox1;
    ASSERT_GT(size->Items()->Count(), 3);
    const String preset = Cell(0, 16);
    size->SetItemIndex(3);
    ASSERT_NE(Cell(0, 16), preset) << "the choice differs from the preset's own size";
    EXPECT_TRUE(Cell(0, 10).starts_with(L"03"));
    TStringList before;
    before.Assign(Row(0)->SubItems());
    AddFolder(Root.file("b"));
    ASSERT_EQ(Rows(), 2);
    for (int c = 0; c < before.Count(); ++c) EXPECT_EQ(Row(0)->SubItems()->Get(c), before.Get(c)) << "column " << c + 1;
}

TEST_F(MainWindowJobs, RenameRefusesNamesThatAreNoFileName)
{
    Clip(Root.file("in/clip.mkv"));
    AddFolder(Root.file("in"));
    ASSERT_EQ(Rows(), 1);
    Main->N26Click(Main);
    ASSERT_TRUE(Main->edt->Visible());
    EXPECT_EQ(Main->edt->Text(), L"clip");
    for (const wchar_t* bad : {L"", L".", L"..", L"a/b", L"tab\there"}) {
        Main->edt->SetText(bad);
        Main->edtExit(Main->edt);
        EXPECT_TRUE(Main->edt->Visible()) << StringToUtf8(bad);
        EXPECT_EQ(Cell(0, 3), L"clip.mkv");
    }
    Main->edt->SetText(L"新名字");
    Main->edtExit(Main->edt);
    EXPECT_FALSE(Main->edt->Visible());
    EXPECT_EQ(Cell(0, 3), L"新名字.mkv");
    EXPECT_EQ(Main->OO1[0].FileName, Out + L"/新名字.mkv");
    EXPECT_TRUE(OutputFolderEmpty());
}

// From the keyboard: Esc closes the box and keeps the name, Enter renames; Enter on a refused
// name keeps the box open.
TEST_F(MainWindowJobs, RenameByKeyboard)
{
    Clip(Root.file("in/clip.mkv"));
    AddFolder(Root.file("in"));
    ASSERT_EQ(Rows(), 1);
    Main->Show();  // the keys go to the focused control of the active window
    Pump();
    struct Case {
        const wchar_t* Text;
        int Key;
        bool Open;
        const wchar_t* Cell;
    } cases[] = {{L"其他", VK_ESCAPE, false, L"clip.mkv"},
                 {L"a/b", VK_RETURN, true, L"clip.mkv"},
                 {L"新名字", VK_RETURN, false, L"新名字.mkv"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.Text));
        if (!Main->edt->Visible()) Main->N26Click(Main);
        ASSERT_TRUE(Main->edt->Focused());
        Main->edt->SetText(c.Text);
        PressKey(c.Key, kNoMods, c.Key == VK_RETURN ? L"\r" : L"\x1b");
        Pump();
        EXPECT_EQ(Main->edt->Visible(), c.Open);
        EXPECT_EQ(Main->edt->Focused(), c.Open);
        EXPECT_EQ(Cell(0, 3), c.Cell);
    }
}

TEST_F(MainWindowJobs, MovesAndRemovalsKeepSlotsAndTaskNumbers)
{
    const std::string in = Root.file("in");
    for (const char* name : {"1.mkv", "2.mkv", "3.mkv"}) Clip(in + "/" + name);
    AddFolder(in);
    ASSERT_EQ(Rows(), 3);  // 3, 2, 1 in slots 0, 1, 2
    EXPECT_EQ(RowSlot(Row(0)), 0);

    // The first row does not move up; moving the last one up carries its slot with it.
    Main->lvFiles->SetSelected(Row(0));
    Main->bsSkinButton3Click(Main);
    EXPECT_EQ(Cell(0, 0), Utf8ToString(in + "/3.mkv"));
    Main->lvFiles->SetSelected(Row(2));
    Main->bsSkinButton3Click(Main);
    EXPECT_EQ(Cell(1, 0), Utf8ToString(in + "/1.mkv"));
    EXPECT_EQ(RowSlot(Row(1)), 2);
    EXPECT_EQ(Main->lvFiles->Selected(), Row(1));

    // Removing task 2 (now the third row) renumbers the rest and marks its slot.
    Main->lvFiles->SetSelected(Row(2));
    ASSERT_EQ(Cell(2, 8), L"2");
    Main->btnRemoveClick(Main);
    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(Cell(0, 8), L"1");
    EXPECT_EQ(Cell(1, 8), L"2");
    EXPECT_EQ(Main->DERID->TasksCount(), 2);
    EXPECT_EQ(Main->OO1[1].AudioLanguage, L"DELETED");
    EXPECT_EQ(Main->lvFiles->Selected(), Row(0));

    // The last removal shows the empty-list panel; clearing frees every slot again.
    Main->btnRemoveClick(Main);
    Main->btnRemoveClick(Main);
    EXPECT_EQ(Rows(), 0);
    EXPECT_TRUE(Main->bsSkinPanel5->Visible());
    EXPECT_FALSE(Main->bsSkinButton2->Enabled());
    EXPECT_EQ(LowestFreeSlot(Main->OO1), 3);
    Main->btnClearClick(Main);
    EXPECT_EQ(LowestFreeSlot(Main->OO1), 0);
    EXPECT_TRUE(OutputFolderEmpty());
}

TEST_F(MainWindowJobs, CancelInTheFolderDialogsChangesNothing)
{
    const String before = Main->FileOutPutPath;
    const std::string other = Root.file("另一个");
    fs::create_directories(other);
    Main->bsSkinSelectDirectoryDialog2->SetDirectory(Utf8ToString(other));
    {
        ModalScript script({[](TCustomForm*) { PressEsc(); }});
        Main->bsSkinButton5Click(Main);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(Main->FileOutPutPath, before);
    EXPECT_EQ(TIniFile(Utf8ToString(OptionIni())).ReadString(L"OutPath", L"OutPath", L""), before);
    {
        ModalScript script({[](TCustomForm*) { PressEnter(); }});
        Main->bsSkinButton5Click(Main);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(Main->FileOutPutPath, Utf8ToString(other));
    EXPECT_EQ(Main->Video_OutPut_Folder_Edit->Text(), Utf8ToString(other));
    EXPECT_EQ(TIniFile(Utf8ToString(OptionIni())).ReadString(L"OutPath", L"OutPath", L""), Utf8ToString(other));

    // Adding a folder: a cancel adds nothing.
    Clip(Root.file("in/clip.mkv"));
    Main->bsSkinSelectDirectoryDialog1->SetDirectory(Utf8ToString(Root.file("in")));
    {
        ModalScript script({[](TCustomForm*) { PressEsc(); }});
        Main->N21Click(Main);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(Rows(), 0);
}

}  // namespace

// The job list under the mouse: a double click on a row opens the rename box over its output
// cell; a click below the last row and a Ctrl+click on the selected row clear the selection, so
// rename and remove say what they need.
TEST_F(MainWindowJobs, ClicksInTheListRenameAndDeselect)
{
    Clip(Root.file("in/a.mkv"));
    Clip(Root.file("in/b.mkv"));
    AddFolder(Root.file("in"));
    ASSERT_EQ(Rows(), 2);
    Main->Show();
    Pump();
    TbsSkinListView* list = Main->lvFiles;
    auto rowPoint = [&](int ARow) {
        const TRect r = Row(ARow)->DisplayRect(drBounds);
        return list->ClientToScreen(Point(r.Left + 40, (r.Top + r.Bottom) / 2));
    };
    TPoint p = rowPoint(1);
    Click(p.X, p.Y);
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(list->Selected(), Row(1));
    ASSERT_TRUE(Main->edt->Visible()) << "a double click opens no rename box";
    EXPECT_TRUE(Main->edt->Focused());
    EXPECT_EQ(Main->edt->Text(), ChangeFileExt(Cell(1, 3), L""));
    EXPECT_EQ(Main->edt->Left(), list->Left() + list->Column(0)->Width() + list->Column(1)->Width() +
                                     list->Column(2)->Width() + 2);
    EXPECT_EQ(Main->edt->Width(), list->Column(3)->Width());
    PressEsc();
    Pump();
    EXPECT_FALSE(Main->edt->Visible());

    // Below the last row.
    const TRect last = Row(1)->DisplayRect(drBounds);
    ASSERT_LT(last.Bottom + 20, list->ClientHeight());
    p = list->ClientToScreen(Point(last.Left + 40, last.Bottom + 20));
    vxwin::AdvanceClock(GetDoubleClickTime() + 1);
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(list->Selected(), nullptr) << "a click below the rows keeps the selection";
    String box;
    auto readBox = [&](TCustomForm* F) {
        box = F->Caption();
        PressEnter();
    };
    {
        ModalScript script({readBox});
        Main->bsSkinButton21Click(Main);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(box, L"提示");
    EXPECT_FALSE(Main->edt->Visible());

    // Ctrl+click takes the selection from the selected row; remove then names what it needs.
    p = rowPoint(0);
    vxwin::AdvanceClock(GetDoubleClickTime() + 1);
    Click(p.X, p.Y);
    Pump();
    ASSERT_EQ(list->Selected(), Row(0));
    vxwin::AdvanceClock(GetDoubleClickTime() + 1);  // two clicks, not a double click
    vxwin::InjectKey(VK_CONTROL, true);
    Click(p.X, p.Y);
    vxwin::InjectKey(VK_CONTROL, false);
    Pump();
    EXPECT_EQ(list->Selected(), nullptr) << "Ctrl+click keeps the selection";
    box.clear();
    {
        ModalScript script({readBox});
        Main->btnRemoveClick(Main);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(box, L"提示");
    EXPECT_EQ(Rows(), 2);
}
