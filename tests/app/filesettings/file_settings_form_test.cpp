// The per-file settings dialog as a form: its creation step, its combos against the
// catalogue for every preset, and runs of ExecuteForJob driven inside the modal loop (a
// selected row re-applied on opening, a change then "确定" or "取消", a duplicate choice,
// the output name of a job added before others).
#include "app/filesettings/file_settings_form.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/strings.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "tests/app/filesettings/job_row_fixture.h"
#include "tests/support/application_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/temp_dir.h"

namespace {

// The combo's items as texts.
std::vector<String> ComboItems(TbsSkinComboBox* combo)
{
    std::vector<String> items;
    for (int i = 0; i < combo->Items()->Count(); ++i) items.push_back(combo->Items()->Strings(i));
    return items;
}

struct FileSettingsFormTest : ApplicationFixture {
    PresetSettings mainSettings;
    TForm7* dialog = nullptr;
    TempDir dir;
    String folder = Utf8ToString(dir.path());

    void SetUp() override
    {
        mainSettings.Video_DisableVideo = true;
        dialog = new TForm7(Application, &mainSettings);
    }

    // The main window's indexes for a preset with its default choices.
    static TFileSettingsIndexes DefaultIndexes(int category, int preset)
    {
        PresetSettings scratch;
        TParameterChoices choices = FillParameterChoices(category, preset, scratch);
        TFileSettingsIndexes indexes{category, preset};
        for (int i = 0; i < PresetParameterCount; ++i) indexes[2 + i] = choices.Combos[ChoiceCopyOrder[i]].ItemIndex;
        return indexes;
    }
};

TEST_F(FileSettingsFormTest, CreationFillsTheFirstCategoryAndItsFirstPreset)
{
    ASSERT_EQ(dialog->bsSkinOfficeComboBox2->Items()->Count(), CategoryCount);
    EXPECT_EQ(dialog->bsSkinOfficeComboBox2->Items()->Items(0)->Caption(), L"MKV格式");
    EXPECT_EQ(dialog->bsSkinOfficeComboBox2->Items()->Items(19)->Caption(), L"MTS格式");
    EXPECT_EQ(dialog->bsSkinOfficeComboBox2->ItemIndex(), 0);

    std::vector<String> titles = FillPresetList(0);
    TbsSkinOfficeItems* presets = dialog->bsSkinOfficeComboBox1->Items();
    ASSERT_EQ(presets->Count(), static_cast<int>(titles.size()));
    for (int i = 0; i < presets->Count(); ++i) {
        EXPECT_EQ(presets->Items(i)->Caption(), titles[i]);
        EXPECT_EQ(presets->Items(i)->ImageIndex(), i % 2);
    }
    EXPECT_EQ(dialog->bsSkinOfficeComboBox1->ItemIndex(), 0);
    // The creation step wrote the main window's two fields for the MKV category's first key.
    EXPECT_EQ(mainSettings.All_Trant_Number, 1700);
    EXPECT_FALSE(mainSettings.Video_DisableVideo);
    EXPECT_EQ(dialog->ParameterCombo(ppFrameSize)->Items()->Count(),
              static_cast<int>(ParameterChoicesOfKey(1600).Combos[ppFrameSize].Items.size()));
}

// The dialog's combos hold, for every preset, what the main window's command gives its own.
TEST_F(FileSettingsFormTest, CombosEqualTheMainWindowsListsForEveryPreset)
{
    int presets = 0;
    for (int category = 0; category < CategoryCount; ++category) {
        dialog->bsSkinOfficeComboBox2->SetItemIndex(category);
        for (int preset = 0; preset < CategoryTable[category].PresetCount; ++preset) {
            SCOPED_TRACE(testing::Message() << category << "," << preset);
            dialog->bsSkinOfficeComboBox1->SetItemIndex(preset);
            PresetSettings mainWindow;
            TParameterChoices expected = FillParameterChoices(category, preset, mainWindow);
            ASSERT_TRUE(expected.HasRow);
            for (int p = 0; p < PresetParameterCount; ++p) {
                TbsSkinComboBox* combo = dialog->ParameterCombo(static_cast<TPresetParameter>(p));
                EXPECT_EQ(ComboItems(combo), expected.Combos[p].Items);
                EXPECT_EQ(combo->ItemIndex(), expected.Combos[p].ItemIndex);
                EXPECT_EQ(combo->Enabled(), expected.Combos[p].Enabled);
                EXPECT_EQ(combo->Text(), expected.Combos[p].Items[expected.Combos[p].ItemIndex]);
            }
            ++presets;
        }
    }
    EXPECT_EQ(presets, 173);
}

// Opening re-applies the main window's choice to the row; a parameter change reaches the row at
// once; "确定" hands the dialog's indexes back in the copy order.
TEST_F(FileSettingsFormTest, OpeningReappliesThePresetAndConfirmHandsTheChoicesBack)
{
    JobRowFixture f;
    mainSettings.Video_AddFileName = L"/in/last.mp4";
    TFileSettingsIndexes indexes = DefaultIndexes(8, 0);  // "高清格式", key 200
    const TFileSettingsIndexes opened = indexes;
    int sizeIndex = -1;
    int focused = 0;
    dialog->OnFocusJobList = [&] { ++focused; };
    ModalScript script({[&](TCustomForm* form) {
                            EXPECT_EQ(form, dialog);
                            // Re-applied on opening: the preset's row, the combos' shown values.
                            EXPECT_EQ(f.row.Column(PositionCodeColumn), L"900");
                            EXPECT_EQ(f.row.Column(11), L"mpeg4");
                            EXPECT_EQ(f.row.Column(18), L"29.97");  // the shown default, not the stored "25"
                            EXPECT_EQ(f.row.Column(OutputNameColumn), L"first.avi");
                            // A new frame size: pair 1, the field and column 16.
                            TbsSkinComboBox* sizes = dialog->bsSkinComboBox1;
                            sizeIndex = sizes->ItemIndex() == 3 ? 4 : 3;
                            const int before = focused;
                            sizes->SetItemIndex(sizeIndex);
                            EXPECT_EQ(focused, before + 1);  // the row changed: the job list takes the focus
                        },
                        [&](TCustomForm*) {
                            const String size = dialog->bsSkinComboBox1->Text();
                            EXPECT_EQ(f.row.Column(16), size);
                            EXPECT_EQ(mainSettings.Video_FrameSize, size);
                            EXPECT_EQ(f.row.Column(SelectionCodeColumn).substr(0, 2), L"0" + IntToStr(sizeIndex));
                            ClickControl(dialog->bsSkinButton2);
                        }});
    ASSERT_TRUE(dialog->ExecuteForJob(indexes, mainSettings, &f.row, folder, false));
    EXPECT_TRUE(script.Done());

    TFileSettingsIndexes expected = opened;
    expected[2] = sizeIndex;  // frame size comes first after category and preset
    EXPECT_EQ(indexes, expected);
    EXPECT_EQ(dialog->ChoiceIndexes(), expected);
    // The row keeps the change, and its columns 16 to 21 are what the combos show.
    std::array<String, PresetParameterCount> shown = dialog->ShownTexts();
    PresetSettings read;
    ReadParameterChoices(shown, read);
    for (TPresetParameter p : ChoiceCopyOrder)
        EXPECT_EQ(f.row.Column(ParameterColumn(p)), PresetRowColumns(read)[ParameterColumn(p) - PresetRowFirstColumn])
            << p;
    // Only the dialog's columns moved; progress and the like stayed.
    JobRowFixture untouched;
    for (int column : {1, 2, 4, 5, 6, 7, 8}) EXPECT_EQ(f.row.Column(column), untouched.row.Column(column));
    EXPECT_EQ(mainSettings.Video_AddFileName, L"/in/last.mp4");
}

TEST_F(FileSettingsFormTest, CancelPutsBackTheRowAndTheSettings)
{
    JobRowFixture f;
    ApplyPresetKey(1600, folder, false, mainSettings);
    const PresetSettings settingsBefore = mainSettings;
    const std::vector<String> rowBefore = f.Columns();
    TFileSettingsIndexes indexes = DefaultIndexes(0, 0);
    const TFileSettingsIndexes opened = indexes;

    ModalScript script({[&](TCustomForm*) {
                            dialog->bsSkinOfficeComboBox2->SetItemIndex(7);  // "音频格式": audio only
                            EXPECT_EQ(f.row.Column(22), L"True");
                            EXPECT_TRUE(mainSettings.Video_DisableVideo);
                            dialog->bsSkinComboBox10->SetItemIndex(0);
                        },
                        [&](TCustomForm*) { ClickControl(dialog->bsSkinButton3); }});
    EXPECT_FALSE(dialog->ExecuteForJob(indexes, mainSettings, &f.row, folder, false));
    EXPECT_TRUE(script.Done());

    EXPECT_EQ(indexes, opened);
    EXPECT_EQ(mainSettings, settingsBefore);
    EXPECT_EQ(f.Columns(), rowBefore);
    // The dialog keeps what it showed; outside a run its handlers touch neither.
    EXPECT_EQ(dialog->bsSkinOfficeComboBox2->ItemIndex(), 7);
    dialog->bsSkinOfficeComboBox2->SetItemIndex(3);
    EXPECT_EQ(mainSettings, settingsBefore);
    EXPECT_EQ(f.Columns(), rowBefore);
}

// Picking the other item of a text the list shows already runs no handler.
TEST_F(FileSettingsFormTest, SecondOfTwoEqualChoicesChangesNothing)
{
    int key = -1, first = -1, second = -1;
    for (const TOutputPreset* preset : AllOutputPresets()) {
        const std::vector<String> items = ParameterChoicesOfKey(preset->Key).Combos[ppFrameSize].Items;
        auto a = std::find(items.begin(), items.end(), L"1920*1200");
        if (a == items.end()) continue;
        auto b = std::find(a + 1, items.end(), L"1920*1200");
        if (b == items.end()) continue;
        key = preset->Key;
        first = static_cast<int>(a - items.begin());
        second = static_cast<int>(b - items.begin());
        break;
    }
    ASSERT_GE(key, 0) << "no frame-size list holds 1920*1200 twice";
    int category = 0;
    while (CategoryCodeOf(category) != key / 100) ++category;
    TFileSettingsIndexes indexes = DefaultIndexes(category, key % 100);
    indexes[2] = first;

    JobRowFixture f;
    ModalScript script({[&](TCustomForm*) {
        const std::vector<String> before = f.Columns();
        const PresetSettings settingsBefore = mainSettings;
        EXPECT_EQ(f.row.Column(SelectionCodeColumn).substr(0, 2), (first < 10 ? L"0" : L"") + IntToStr(first));
        dialog->bsSkinComboBox1->SetItemIndex(second);
        EXPECT_EQ(dialog->bsSkinComboBox1->ItemIndex(), second);
        EXPECT_EQ(f.Columns(), before);
        EXPECT_EQ(mainSettings, settingsBefore);
        ClickControl(dialog->bsSkinButton2);
    }});
    ASSERT_TRUE(dialog->ExecuteForJob(indexes, mainSettings, &f.row, folder, false));
    EXPECT_EQ(indexes[2], second);
}

// The main window added other files after this job: a change names the output after the job.
TEST_F(FileSettingsFormTest, OutputNameKeepsTheJobsOwnBaseName)
{
    JobRowFixture f;
    mainSettings.Video_AddFileName = L"/in/added_last.wmv";
    TFileSettingsIndexes indexes = DefaultIndexes(0, 0);
    ModalScript script({[&](TCustomForm*) {
        dialog->bsSkinOfficeComboBox2->SetItemIndex(3);  // "MP4格式"
        const TOutputPreset* preset = FindOutputPreset(PresetKey(3, 0));
        ASSERT_NE(preset, nullptr);
        EXPECT_EQ(mainSettings.Video_OutPutFileName, folder + L"/first" + preset->OutputExt);
        EXPECT_EQ(f.row.Column(OutputNameColumn), L"first.mp4");
        EXPECT_EQ(mainSettings.Video_AddFileName, L"/in/added_last.wmv");
        ClickControl(dialog->bsSkinButton2);
    }});
    ASSERT_TRUE(dialog->ExecuteForJob(indexes, mainSettings, &f.row, folder, false));
    EXPECT_EQ(f.row.Column(OutputNameColumn), L"first.mp4");
    EXPECT_EQ(indexes[0], 3);
}

// Without a row the dialog only refills its combos; confirm still hands the choices back.
TEST_F(FileSettingsFormTest, WithoutARowOnlyTheCombosChange)
{
    mainSettings = PresetSettings();
    TFileSettingsIndexes indexes = DefaultIndexes(8, 0);
    int focused = 0;
    dialog->OnFocusJobList = [&] { ++focused; };
    ModalScript script({[&](TCustomForm*) {
        dialog->bsSkinComboBox9->SetItemIndex(1);
        EXPECT_EQ(focused, 0);
        ClickControl(dialog->bsSkinButton2);
    }});
    ASSERT_TRUE(dialog->ExecuteForJob(indexes, mainSettings, nullptr, folder, false));
    EXPECT_EQ(indexes[4], 1);  // frame rate is the third parameter copied
    PresetSettings expected;
    expected.All_Trant_Number = 300;  // the fill's two writes only
    EXPECT_EQ(mainSettings, expected);
}

}  // namespace
