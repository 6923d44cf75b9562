// A job changed in the per-file settings dialog converts with the dialog's choices: a clip
// added as MKV is switched to an MP4 preset with another frame size, and the queue's start
// (the job rebuilt from its row's columns) produces that container, those codecs and that size.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/filesettings/file_settings_form.h"
#include "app/job_output_options.h"
#include "app/presets/output_name.h"
#include "app/presets/preset_catalogue.h"
#include "engine/converter.h"
#include "platform/framework/core/strings.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "tests/engine/transcode_test_support.h"
#include "tests/support/modal_script.h"

using namespace engine_test;

namespace {

// The output settings a job row's columns 11 to 24 hold, as the queue's start reads them.
PresetSettings RowSettings(const TJobRow& row)
{
    PresetSettings s;
    s.Video_VideoCodec = row.Column(11);
    s.Video_AudioCodec = row.Column(12);
    s.Video_AudioChannels = row.Column(13);
    s.Video_VideoTag = row.Column(14);
    s.Video_FileExt = row.Column(15);
    s.Video_FrameSize = row.Column(16);
    s.Video_VideoBitrate = StrToInt(row.Column(17));
    s.Video_FrameRate = row.Column(18);
    s.Video_AudioBitrate = StrToInt(row.Column(19));
    s.Video_AudioSampleRate = row.Column(20);
    s.Video_FrameAspectRatio = row.Column(21);
    s.Video_DisableVideo = row.Column(22) == L"True";
    s.Video_TargetType = row.Column(23);
    s.Video_NormType = row.Column(24);
    return s;
}

class FileSettingsConversion : public TranscodeFixture {
protected:
    void TearDown() override
    {
        if (Dialog) Dialog->Free();
        TranscodeFixture::TearDown();
    }
    TForm7* Dialog = nullptr;
};

TEST_F(FileSettingsConversion, JobChangedInTheDialogConvertsWithItsChoices)
{
    const std::string in = Clip("clip.mkv", 176, 144, 48000, 25, 2);
    std::filesystem::create_directory(Dir.file("out"));
    const String folder = Utf8ToString(Dir.file("out"));

    // The job as the add command leaves it: MKV's first preset with its default choices.
    PresetSettings settings;
    settings.Video_AddFileName = Utf8ToString(in);
    ApplyPresetKey(1600, folder, false, settings);
    TParameterChoices choices = ParameterChoicesOfKey(1600);
    std::array<String, PresetParameterCount> texts;
    for (int p = 0; p < PresetParameterCount; ++p) texts[p] = choices.Combos[p].Items[choices.Combos[p].ItemIndex];
    ReadParameterChoices(texts, settings);
    TStringList subItems;
    TJobRow row{Utf8ToString(in), subItems};
    row.SetColumn(OutputNameColumn, ExtractNamePart(settings.Video_OutPutFileName));
    row.SetColumn(PositionCodeColumn, IntToStr(PresetPositionCode(0, 0)));
    row.SetColumn(SelectionCodeColumn, L"000000000000");
    std::array<String, PresetRowColumnCount> columns = PresetRowColumns(settings);
    for (int i = 0; i < PresetRowColumnCount; ++i) row.SetColumn(PresetRowFirstColumn + i, columns[i]);

    Dialog = new TForm7(Application, &settings);
    TFileSettingsIndexes indexes{0, 0};
    for (int i = 0; i < PresetParameterCount; ++i) indexes[2 + i] = choices.Combos[ChoiceCopyOrder[i]].ItemIndex;
    ModalScript script({[&](TCustomForm*) {
        Dialog->bsSkinOfficeComboBox2->SetItemIndex(3);  // "MP4格式"
        Dialog->bsSkinOfficeComboBox1->SetItemIndex(2);  // "MPEG-4视频高清晰视频(*.mp4)": libx264
        TStrings* sizes = Dialog->bsSkinComboBox1->Items();
        int small = -1;
        for (int i = 0; i < sizes->Count() && small < 0; ++i)
            if (sizes->Strings(i) == L"320*240") small = i;
        ASSERT_GE(small, 0);
        Dialog->bsSkinComboBox1->SetItemIndex(small);
        ClickControl(Dialog->bsSkinButton2);
    }});
    ASSERT_TRUE(Dialog->ExecuteForJob(indexes, settings, &row, folder, false));
    ASSERT_EQ(row.Column(OutputNameColumn), L"clip.mp4");
    ASSERT_EQ(row.Column(16), L"320*240");

    // The queue's start: the job from its row.
    TOutputOptions options;
    InitOutputOptions(&options);
    SettingsToOutputOptions(RowSettings(row), false, options);
    const std::string out = Dir.file("out/") + StringToUtf8(row.Column(OutputNameColumn));
    TFFConverter converter(nullptr);
    ASSERT_EQ(converter.AddTask(Utf8ToString(in), String()), 0) << StringToUtf8(converter.LastErrMsg());
    ASSERT_TRUE(converter.SetOutputFile(0, Utf8ToString(out), &options)) << StringToUtf8(converter.LastErrMsg());
    TTerminateInfo end{};
    converter.SetOnTerminate([&](TObject*, const TTerminateInfo& info) {
        if (info.TaskIndex == 0) end = info;
    });
    converter.Start(0);
    ASSERT_FALSE(end.Exception) << StringToUtf8(end.ExceptionMsg);
    ASSERT_TRUE(end.Finished);

    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(out))) << StringToUtf8(probe.LastErrMsg());
    EXPECT_EQ(std::string(probe.FileHandle()->iformat->name), "mov,mp4,m4a,3gp,3g2,mj2");
    TOutputFacts facts = Facts(out);
    ASSERT_TRUE(facts.Opened);
    EXPECT_EQ(facts.VideoCodec, "h264");
    EXPECT_EQ(facts.AudioCodec, "mp3");
    EXPECT_EQ(facts.Width, 320);
    EXPECT_EQ(facts.Height, 240);
}

}  // namespace
