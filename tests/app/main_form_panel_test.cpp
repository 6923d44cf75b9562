// The format panel's handlers on the main window's job row, the per-file settings button, and the
// window's small commands: links and help through the shell, the about box, the skin list with
// skin folders beside the program, the bounded log.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/filesettings/file_settings_form.h"
#include "app/maker_links.h"
#include "app/presets/presets.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/core/ini_file.h"
#include "platform/win/shell_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/office_items.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/modal_script.h"

namespace fs = std::filesystem;

namespace {

class MainWindowPanel : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
    }
    // A row as an added job has it, without probing: caption, the add's columns, the slot.
    TListItem* AddRow(const String& AInput, const String& AOutputName)
    {
        TListItem* item = Main->lvFiles->Items()->Add();
        item->SetCaption(AInput);
        TJobRow row{AInput, *item->SubItems()};
        row.SetColumn(JobRowLastColumn, L"");
        row.SetColumn(OutputNameColumn, AOutputName);
        row.SetColumn(TaskNumberColumn, L"1");
        row.SetColumn(PositionCodeColumn, L"100");
        row.SetColumn(SelectionCodeColumn, SelectionCode(Main->ParameterIndexes()));
        SetRowSlot(item, 0);
        return item;
    }
    String Cell(TListItem* AItem, int AColumn) { return TJobRow{AItem->Caption(), *AItem->SubItems()}.Column(AColumn); }
};

// The per-file dialog offers exactly what the main window's format panel offers, for every
// preset: the same lists, default items, shown texts and enabled combos.
TEST_F(MainWindowPanel, TheSettingsDialogOffersTheMainWindowsChoicesForEveryPreset)
{
    int presets = 0;
    for (int category = 0; category < CategoryCount; ++category) {
        Main->bsSkinOfficeComboBox2->SetItemIndex(category);
        Form7->bsSkinOfficeComboBox2->SetItemIndex(category);
        const int count = Main->bsSkinOfficeComboBox1->Items()->Count();
        ASSERT_EQ(Form7->bsSkinOfficeComboBox1->Items()->Count(), count);
        for (int preset = 0; preset < count; ++preset) {
            SCOPED_TRACE(testing::Message() << category << "," << preset);
            Main->bsSkinOfficeComboBox1->SetItemIndex(preset);
            Form7->bsSkinOfficeComboBox1->SetItemIndex(preset);
            for (int p = 0; p < PresetParameterCount; ++p) {
                TbsSkinComboBox* mine = Main->ParameterCombo(static_cast<TPresetParameter>(p));
                TbsSkinComboBox* its = Form7->ParameterCombo(static_cast<TPresetParameter>(p));
                EXPECT_EQ(its->Items()->Text(), mine->Items()->Text());
                EXPECT_EQ(its->ItemIndex(), mine->ItemIndex());
                EXPECT_EQ(its->Text(), mine->Text());
                EXPECT_EQ(its->Enabled(), mine->Enabled());
            }
            ++presets;
        }
    }
    EXPECT_EQ(presets, 173);
}

TEST_F(MainWindowPanel, WithoutARowAParameterChangesOnlyItsCombo)
{
    const PresetSettings before = Main->Settings;
    Main->bsSkinComboBox1->SetItemIndex(2);
    EXPECT_EQ(Main->Settings, before);
}

TEST_F(MainWindowPanel, ParameterAndPresetChangesRewriteTheSelectedRow)
{
    TListItem* item = AddRow(L"/in/song.mp3", L"song.mkv");
    Main->lvFiles->SetSelected(item);

    // Frame size item 3: the first pair of the code and column 16.
    Main->bsSkinComboBox1->SetItemIndex(3);
    EXPECT_TRUE(Cell(item, SelectionCodeColumn).starts_with(L"03"));
    PresetSettings s;
    ReadParameterChoice(ppFrameSize, Main->bsSkinComboBox1->Text(), s);
    EXPECT_EQ(Cell(item, 16), s.Video_FrameSize);

    // A preset whose caption ends "(*.flac)": the extension of column 3 and the position code.
    const TPresetPosition flac =
        FindPreset([](const TOutputPreset& p) { return String(p.Title).ends_with(L"(*.flac)"); });
    ASSERT_GE(flac.CategoryIndex, 0);
    Main->bsSkinOfficeComboBox2->SetItemIndex(flac.CategoryIndex);
    Main->bsSkinOfficeComboBox1->SetItemIndex(flac.PresetIndex);
    EXPECT_EQ(Cell(item, OutputNameColumn), L"song.flac");
    EXPECT_EQ(Cell(item, PositionCodeColumn),
              IntToStr(int64_t(PresetPositionCode(flac.CategoryIndex, flac.PresetIndex))));
    EXPECT_EQ(Cell(item, 22), L"True");
    // The row converts with what the panel shows: 16 to 21 from the shown choices.
    PresetSettings shown;
    ReadParameterChoices(Main->ParameterTexts(), shown);
    EXPECT_EQ(Cell(item, 18), shown.Video_FrameRate);
    EXPECT_EQ(Cell(item, 19), IntToStr(int64_t(shown.Video_AudioBitrate)));
    EXPECT_EQ(Cell(item, 20), shown.Video_AudioSampleRate);
}

TEST_F(MainWindowPanel, SelectingARowBringsBackItsPresetAndChoices)
{
    TListItem* item = AddRow(L"/in/clip.mkv", L"clip.mp4");
    TJobRow row{item->Caption(), *item->SubItems()};
    row.SetColumn(PositionCodeColumn, L"302");
    row.SetColumn(SelectionCodeColumn, L"010000000000");
    Main->lvFiles->SetSelected(item);
    EXPECT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), 2);
    EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 2);
    EXPECT_EQ(Main->bsSkinComboBox1->ItemIndex(), 1);
    EXPECT_EQ(Main->T_Movie_PLayer_FileName, L"/in/clip.mkv");
}

TEST_F(MainWindowPanel, TheSettingsButtonTakesTheDialogsChoicesOnlyOnConfirm)
{
    TListItem* item = AddRow(L"/in/clip.mkv", L"clip.mkv");
    Main->lvFiles->SetSelected(item);
    TStringList before;
    before.Assign(item->SubItems());
    // Cancel: the dialog's change is undone on the row, the panel stays.
    {
        ModalScript script({[](TCustomForm*) {
                                ASSERT_NE(Form7, nullptr);
                                EXPECT_EQ(Form7->bsSkinOfficeComboBox2->ItemIndex(), 0);
                                Form7->bsSkinOfficeComboBox1->SetItemIndex(1);
                            },
                            [](TCustomForm* f) { f->SetModalResult(mrCancel); }});
        Main->bsSkinButton24Click(Main);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 0);
    for (int c = 0; c < before.Count(); ++c) EXPECT_EQ(item->SubItems()->Get(c), before.Get(c)) << c + 1;
    // Confirm: the main window's combos follow the dialog.
    {
        ModalScript script({[](TCustomForm*) { Form7->bsSkinOfficeComboBox1->SetItemIndex(1); },
                            [](TCustomForm*) { Form7->bsSkinButton2Click(Form7); }});
        Main->bsSkinButton24Click(Main);
        EXPECT_TRUE(script.Done());
    }
    EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 1);
    EXPECT_EQ(Cell(item, PositionCodeColumn), L"101");
}

TEST_F(MainWindowPanel, LinksAndHelpGoToTheShell)
{
    std::vector<std::wstring> opened;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        opened.push_back(c.file);
        return LONG_PTR(42);
    });
    Main->N15Click(Main);
    Main->N19Click(Main);
    Main->EMAIL1Click(Main);
    Main->Button1Click(Main);
    vxwin::SetShellExecuteHook(nullptr);
    ASSERT_EQ(opened.size(), 4u);
    EXPECT_EQ(opened[0], kMakerQuestionPage);
    EXPECT_EQ(opened[1], kMakerWebSite);
    EXPECT_EQ(opened[2], kMakerSupportMail);
    EXPECT_EQ(opened[3], Utf8ToString(ProgramDir() + "/help/index.html"));
}

TEST_F(MainWindowPanel, AboutBoxShowsAndCloses)
{
    String caption;
    ModalScript script({[&](TCustomForm* f) {
        caption = f->Caption();
        f->SetModalResult(mrOk);
    }});
    Main->N5Click(Main);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(caption, L"关于");
}

TEST_F(MainWindowPanel, TheLogKeepsItsLastLines)
{
    for (int i = 0; i < LogMemoLineLimit + 50; ++i) Main->LogLine(L"line " + IntToStr(int64_t(i)));
    TStrings* lines = Main->mmoLog->Lines();
    EXPECT_LE(lines->Count(), LogMemoLineLimit);
    EXPECT_EQ(lines->Get(lines->Count() - 1), L"line " + IntToStr(int64_t(LogMemoLineLimit + 49)));
}

TEST_F(MainWindowPanel, CancellingTheSkinChoiceStillWritesTheSkinInForce)
{
    TIniFile(Utf8ToString(OptionIni())).WriteString(L"Skin", L"SetSkin", L"7");
    ModalScript script({[](TCustomForm* f) { f->SetModalResult(mrCancel); }});
    Main->bsSkinButton9Click(Main);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(TIniFile(Utf8ToString(OptionIni())).ReadString(L"Skin", L"SetSkin", L""), L"0");
}

// The "添加" button loses its hot look whenever it is enabled or disabled: clearing the list
// with the pointer still resting on it leaves the normal look, as does the queue's start.
TEST_F(MainWindowPanel, TheAddButtonShowsNoHotLookAfterItIsEnabledOrDisabled)
{
    Main->Show();
    Pump();
    TbsSkinMenuSpeedButton* add = Main->bsSkinMenuSpeedButton1;
    for (bool enabled : {true, false}) {
        SCOPED_TRACE(enabled);
        SetMouseControl(nullptr);
        SetMouseControl(add);  // the pointer comes to rest on the button
        Pump();
        ASSERT_TRUE(add->MouseIn());
        Main->SetAddCommandsEnabled(enabled);
        Pump();
        EXPECT_FALSE(add->MouseIn());
        EXPECT_EQ(add->Enabled(), enabled);
        Main->SetAddCommandsEnabled(true);
    }
}

// Skin folders beside the program join the list after the program's own skin.
using MainWindowSkins = MainWindowFixture;

TEST_F(MainWindowSkins, SkinFoldersBesideTheProgramJoinTheList)
{
    const char* src = std::getenv("VX_SOURCE_DIR");
    const fs::path light = fs::path(src ? src : ".") / "resources/skins/light";
    ASSERT_TRUE(fs::exists(light / "skin.ini"));
    fs::create_directories(ProgramDir() + "/skins");
    fs::copy(light, ProgramDir() + "/skins/浅色", fs::copy_options::recursive);
    fs::create_directories(ProgramDir() + "/skins/empty");
    Start();
    TbsSkinListItems* skins = Main->bsCompressedSkinList1->Skins();
    ASSERT_EQ(skins->Count(), 2);
    EXPECT_EQ(skins->GetItem(1)->Name(), L"浅色");
    Main->bsSkinData1->SetSkinIndex(1);
    EXPECT_EQ(Main->bsSkinData1->SkinIndex(), 1);
    EXPECT_FALSE(Main->bsSkinData1->Empty);
}

}  // namespace
