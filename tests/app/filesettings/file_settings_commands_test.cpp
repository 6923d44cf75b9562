// The per-file settings dialog's commands on the main window's settings and a job row:
// the choice lists against the main window's, the parameter handlers' row work, a preset
// change on a row, and the snapshot a cancel restores.
#include "app/filesettings/file_settings_commands.h"

#include <gtest/gtest.h>

#include <fstream>

#include "app/presets/apply_preset.h"
#include "app/presets/preset_catalogue.h"
#include "platform/framework/core/strings.h"
#include "tests/app/filesettings/job_row_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

void Touch(const String& path) { std::ofstream(StringToUtf8(path)) << "x"; }

// The texts the six combos show after a fill with the defaults.
std::array<String, PresetParameterCount> DefaultTexts(const TParameterChoices& choices)
{
    std::array<String, PresetParameterCount> texts;
    for (int p = 0; p < PresetParameterCount; ++p) texts[p] = choices.Combos[p].Items[choices.Combos[p].ItemIndex];
    return texts;
}

TEST(FileSettingsChoices, DialogAndMainWindowGiveTheSameListsForEveryPosition)
{
    int rows = 0;
    for (int category = -1; category <= CategoryCount; ++category) {
        int count = category >= 0 && category < CategoryCount ? CategoryTable[category].PresetCount : 1;
        for (int preset = 0; preset <= count; ++preset) {  // one past the end as well
            SCOPED_TRACE(testing::Message() << category << "," << preset);
            PresetSettings mainWindow, dialog;
            mainWindow.Video_DisableVideo = dialog.Video_DisableVideo = true;
            TParameterChoices expected = FillParameterChoices(category, preset, mainWindow);
            TParameterChoices got = DialogParameterChoices(category, preset, dialog);
            EXPECT_EQ(got.HasRow, expected.HasRow);
            for (int p = 0; p < PresetParameterCount; ++p) {
                EXPECT_EQ(got.Combos[p].Items, expected.Combos[p].Items);
                EXPECT_EQ(got.Combos[p].ItemIndex, expected.Combos[p].ItemIndex);
                EXPECT_EQ(got.Combos[p].Enabled, expected.Combos[p].Enabled);
            }
            EXPECT_EQ(dialog, mainWindow);
            rows += got.HasRow;
        }
    }
    EXPECT_EQ(rows, 173);
    PresetSettings s;
    DialogParameterChoices(19, 0, s);
    EXPECT_EQ(s.All_Trant_Number, 2200);
}

TEST(FileSettingsRow, SelectionCodePairReplacement)
{
    struct Case {
        const wchar_t* code;
        TPresetParameter parameter;
        int index;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"010203040506", ppFrameSize, 7, L"070203040506"},
        {L"010203040506", ppVideoBitrate, 12, L"011203040506"},
        {L"010203040506", ppAudioBitrate, 0, L"010200040506"},
        {L"010203040506", ppAspectMode, 25, L"010203250506"},
        {L"010203040506", ppFrameRate, 9, L"010203040906"},
        {L"010203040506", ppSampleRate, 10, L"010203040510"},
        {L"0102", ppSampleRate, 3, L"010200000003"},  // short: the pairs keep their places
        {L"", ppVideoBitrate, 4, L"000400000000"},
        {L"01020304050607", ppFrameSize, 1, L"010203040506"},  // only twelve digits count
        {L"010203040506", ppFrameSize, -1, L"010203040506"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceSelectionPair(c.code, c.parameter, c.index), c.expected) << c.code << " " << c.index;
}

TEST(FileSettingsRow, ParameterChangeWritesPairFieldAndColumn)
{
    struct Case {
        TPresetParameter parameter;
        int index;
        const wchar_t* text;
        const wchar_t* code;
        const wchar_t* column;
    };
    const Case cases[] = {
        {ppFrameSize, 19, L"1280*720", L"190000000000", L"1280*720"},
        {ppFrameSize, 0, L"该格式无视频", L"000000000000", L""},
        {ppVideoBitrate, 0, L"无视频", L"000000000000", L"-1000"},
        {ppVideoBitrate, 6, L"1600 kbps", L"000600000000", L"1600000"},
        {ppAudioBitrate, 0, L"4.75 kbps", L"000000000000", L"4750"},
        {ppAudioBitrate, 7, L"12.2 kbps", L"000007000000", L"12200"},
        {ppAspectMode, 2, L"宽屏视频16:9模式", L"000000020000", L"16:9"},
        {ppFrameRate, 10, L"29.97", L"000000001000", L"29.97"},
        {ppFrameRate, 0, L"保持原帧速率", L"000000000000", L""},
        {ppSampleRate, 4, L"44100", L"000000000004", L"44100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        JobRowFixture f;
        PresetSettings s;
        ApplyParameterChange(c.parameter, c.index, c.text, s, &f.row);
        EXPECT_EQ(f.row.Column(SelectionCodeColumn), c.code);
        EXPECT_EQ(f.row.Column(ParameterColumn(c.parameter)), c.column);
        EXPECT_EQ(PresetRowColumns(s)[ParameterColumn(c.parameter) - PresetRowFirstColumn], c.column);
        // No other column moves.
        for (int column = 1; column <= JobRowLastColumn; ++column) {
            if (column == SelectionCodeColumn || column == ParameterColumn(c.parameter) || column == OutputNameColumn)
                continue;
            EXPECT_EQ(f.row.Column(column), L"c" + IntToStr(column)) << column;
        }
    }

    // Without a selected row nothing changes.
    PresetSettings s;
    ApplyParameterChange(ppFrameSize, 19, L"1280*720", s, nullptr);
    EXPECT_EQ(s, PresetSettings());
}

TEST(FileSettingsRow, PresetChangeLeavesTheRowWithTheShownValues)
{
    TempDir dir;
    String out = Utf8ToString(dir.path());
    JobRowFixture f;
    PresetSettings s;
    s.Video_AddFileName = L"/in/last.mp4";  // added after this job

    // "高清格式" (position 8), preset 0 = key 200: stores "25" but its frame-rate list
    // defaults to "29.97"; the user picked another frame size.
    TParameterChoices choices = DialogParameterChoices(8, 0, s);
    std::array<String, PresetParameterCount> shown = DefaultTexts(choices);
    shown[ppFrameSize] = L"1920*1080";
    ApplyPresetToJobRow(8, 0, L"高清AVI视频格式(*.avi)", shown, out, false, s, f.row);

    EXPECT_EQ(s.Video_FrameRate, L"29.97");
    EXPECT_EQ(f.row.Column(18), L"29.97");
    EXPECT_EQ(f.row.Column(16), L"1920*1080");
    std::array<String, PresetRowColumnCount> columns = PresetRowColumns(s);
    for (int i = 0; i < PresetRowColumnCount; ++i)
        EXPECT_EQ(f.row.Column(PresetRowFirstColumn + i), columns[i]) << PresetRowFirstColumn + i;
    EXPECT_EQ(f.row.Column(11), L"mpeg4");
    EXPECT_EQ(f.row.Column(22), L"False");
    EXPECT_EQ(f.row.Column(OutputNameColumn), L"first.avi");
    EXPECT_EQ(f.row.Column(PositionCodeColumn), L"900");
    EXPECT_EQ(s.All_Trant_Number, 300);
    // The output name is the job's own; the file added last stays the main window's.
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/first.avi");
    EXPECT_EQ(s.Video_AddFileName, L"/in/last.mp4");
    EXPECT_EQ(f.row.Column(SelectionCodeColumn), L"000000000000");  // the combos' handlers write it

    // The job's own name is the one made unique.
    Touch(out + L"/first.avi");
    ApplyPresetToJobRow(8, 0, L"高清AVI视频格式(*.avi)", shown, out, false, s, f.row);
    EXPECT_EQ(s.Video_OutPutFileName, out + L"/first_1.avi");
}

TEST(FileSettingsRow, RowNameTakesTheTitlesExtension)
{
    struct Case {
        int category, preset;
        const wchar_t* caption;
        const wchar_t *rowName, *outputName;
    };
    const Case cases[] = {
        {14, 1, L"Xbox360 MCE HD MPEG-2视频(*.mpg)", L"first_3.old.mpg", L"first.mpeg"},  // 801
        {14, 6, L"Xbox360 WMV HDTV视频(*.wmv)", L"first_3.old.wmv", L"first.avi"},        // 806
        {7, 10, L"FLAC-音频格式(*.flac)", L"first_3.old.flac", L"first.flac"},
        {6, 14, L"RM - REAL视频格式(*.rm)", L"first_3.old.rm", L"first.rm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        ASSERT_EQ(String(FindOutputPreset(PresetKey(c.category, c.preset))->Title), c.caption);
        JobRowFixture f;
        f.row.SetColumn(OutputNameColumn, L"first_3.old.avi");
        PresetSettings s;
        std::array<String, PresetParameterCount> shown = DefaultTexts(DialogParameterChoices(c.category, c.preset, s));
        ApplyPresetToJobRow(c.category, c.preset, c.caption, shown, L"/nowhere", true, s, f.row);
        EXPECT_EQ(f.row.Column(OutputNameColumn), c.rowName);
        EXPECT_EQ(s.Video_OutPutFileName, String(L"/nowhere/") + c.outputName);
        EXPECT_EQ(f.row.Column(PositionCodeColumn), IntToStr(PresetPositionCode(c.category, c.preset)));
    }
}

TEST(FileSettingsSnapshot, CancelRestoresSettingsAndRowButKeepsProgress)
{
    JobRowFixture f;
    PresetSettings s;
    s.Video_AddFileName = L"/in/last.mp4";
    ApplyPresetKey(1600, L"/out", true, s);
    const PresetSettings before = s;
    std::vector<String> columnsBefore;
    for (int column = 0; column <= JobRowLastColumn; ++column) columnsBefore.push_back(f.row.Column(column));

    TFileSettingsSnapshot snapshot = TakeFileSettingsSnapshot(s, &f.row);
    // The dialog changes preset and a parameter; the queue reports progress meanwhile.
    std::array<String, PresetParameterCount> shown = DefaultTexts(DialogParameterChoices(7, 0, s));
    ApplyPresetToJobRow(7, 0, L"MP3 - MPEG Layer-3音频格式(*.mp3)", shown, L"/out", true, s, f.row);
    ApplyParameterChange(ppSampleRate, 5, L"48000", s, &f.row);
    f.row.SetColumn(5, L"50%");
    ASSERT_NE(s, before);

    RestoreFileSettingsSnapshot(snapshot, s, &f.row);
    EXPECT_EQ(s, before);
    for (int column = 0; column <= JobRowLastColumn; ++column)
        EXPECT_EQ(f.row.Column(column), column == 5 ? L"50%" : columnsBefore[column]) << column;

    // Taken without a row, a snapshot leaves any row alone.
    TFileSettingsSnapshot rowless = TakeFileSettingsSnapshot(before, nullptr);
    f.row.SetColumn(OutputNameColumn, L"x.avi");
    RestoreFileSettingsSnapshot(rowless, s, &f.row);
    EXPECT_EQ(f.row.Column(OutputNameColumn), L"x.avi");
}

}  // namespace
