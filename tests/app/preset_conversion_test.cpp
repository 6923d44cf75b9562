// Every preset of the catalogue converts: a one-second generated clip (176x144, stereo sound)
// goes through the add sequence's steps (apply the preset, read its default choices back,
// build the output record) and the task component as the main window drives it (AddTask,
// SetOutputFile with the record, Start), and the probe finds the preset's container and
// codecs in the output (encoder names after the successor tables), the chosen frame size,
// and no video in the output of an audio-only preset. One test per preset, so they run in parallel.
// Also: the main window's overwrite choice reaches the engine through the output record.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "app/job_output_options.h"
#include "app/presets/presets.h"
#include "engine/converter.h"
#include "engine/encoder_option_translation.h"
#include "tests/engine/transcode_test_support.h"

using namespace engine_test;

namespace {

// The demuxer that reads back each output extension of the catalogue.
const std::map<std::string, std::string> DemuxerOfExtension = {
    {".mp4", "mov,mp4,m4a,3gp,3g2,mj2"},
    {".mov", "mov,mp4,m4a,3gp,3g2,mj2"},
    {".3gp", "mov,mp4,m4a,3gp,3g2,mj2"},
    {".3g2", "mov,mp4,m4a,3gp,3g2,mj2"},
    {".m4a", "mov,mp4,m4a,3gp,3g2,mj2"},
    {".avi", "avi"},
    {".mpg", "mpeg"},
    {".mpeg", "mpeg"},
    {".vob", "mpeg"},
    {".wmv", "asf"},
    {".asf", "asf"},
    {".wma", "asf"},
    {".mkv", "matroska,webm"},
    {".swf", "swf"},
    {".flv", "flv"},
    {".amr", "amr"},
    {".rm", "rm"},
    {".ra", "rm"},
    {".mp3", "mp3"},
    {".mp2", "mp3"},
    {".wav", "wav"},
    {".aac", "aac"},
    {".ogg", "ogg"},
    {".ac3", "ac3"},
    {".aiff", "aiff"},
    {".flac", "flac"},
};

// The codec (decoder name) the output of a stream type should hold: the named encoder's after
// the engine's successor tables (for the libraries and for the container the output was opened
// with, AMuxer), the target's, or the container's default.
std::string ExpectedCodec(const String& AEncoder, TOptionTargetType ATarget, const std::string& AOutput,
                          const std::string& AMuxer, AVMediaType AType)
{
    if (!AEncoder.empty()) {
        std::string name = EncoderSuccessorName(StringToUtf8(AEncoder));
        const AVCodec* codec = av::avcodec_find_encoder_by_name(name.c_str());
        if (!codec) return "no encoder " + name;
        std::string stored = ContainerEncoderSuccessorName(AMuxer, av::avcodec_get_name(codec->id));
        if (!stored.empty()) codec = av::avcodec_find_encoder_by_name(stored.c_str());
        return codec ? av::avcodec_get_name(codec->id) : "no encoder " + stored;
    }
    if (ATarget == ttDVD) return AType == AVMEDIA_TYPE_VIDEO ? "mpeg2video" : "ac3";
    if (ATarget == ttSVCD) return AType == AVMEDIA_TYPE_VIDEO ? "mpeg2video" : "mp2";
    if (ATarget == ttVCD) return AType == AVMEDIA_TYPE_VIDEO ? "mpeg1video" : "mp2";
    const AVOutputFormat* format = av::av_guess_format(nullptr, AOutput.c_str(), nullptr);
    if (!format) return "no muxer";
    return av::avcodec_get_name(av::av_guess_codec(format, nullptr, AOutput.c_str(), nullptr, AType));
}

std::vector<int> CatalogueKeys()
{
    std::vector<int> keys;
    for (const TOutputPreset* preset : AllOutputPresets()) keys.push_back(preset->Key);
    return keys;
}

class PresetJob : public TranscodeFixture {
protected:
    void TearDown() override
    {
        Converter.reset();
        TranscodeFixture::TearDown();
    }

    // The settings the add sequence leaves for AKey with the default choices, and the record.
    void Settle(int AKey, const std::string& AInput, const String& AFolder, bool AOverwrite)
    {
        Settings.Video_AddFileName = Utf8ToString(AInput);
        ResetPresetSettings(Settings);
        ASSERT_TRUE(ApplyPresetKey(AKey, AFolder, AOverwrite, Settings));
        TParameterChoices choices = ParameterChoicesOfKey(AKey);
        if (choices.HasRow) {
            std::array<String, PresetParameterCount> texts;
            for (int i = 0; i < PresetParameterCount; ++i) {
                const TParameterCombo& combo = choices.Combos[i];
                if (combo.ItemIndex >= 0) texts[i] = combo.Items[combo.ItemIndex];
            }
            ReadParameterChoices(texts, Settings);
        }
        InitOutputOptions(&Options);
        SettingsToOutputOptions(Settings, AOverwrite, Options);
    }

    // The log lines of warnings and errors, to show with a failure.
    std::string Complaints() const
    {
        std::string text;
        for (const TLogLine& line : Lines)
            if (line.Level <= llWarning) text += StringToUtf8(line.Text) + "\n";
        return text;
    }

    // A task of the task component as the main window makes one: the input, then the output
    // with the record. False with the component's text when the output is refused.
    bool AddJob(const std::string& AInput, const std::string& AOutput)
    {
        Converter = std::make_unique<TFFConverter>(nullptr);
        EXPECT_EQ(Converter->AddTask(Utf8ToString(AInput), String()), 0) << StringToUtf8(Converter->LastErrMsg());
        return Converter->SetOutputFile(0, Utf8ToString(AOutput), &Options);
    }

    // Runs the queue on this thread; the task's failure text, empty when it finished.
    std::string RunJob()
    {
        TTerminateInfo end{};
        Converter->SetOnTerminate([&](TObject*, const TTerminateInfo& AInfo) {
            if (AInfo.TaskIndex == 0) end = AInfo;
        });
        Converter->Start(0);
        if (end.Exception) return StringToUtf8(end.ExceptionMsg);
        return end.Finished ? std::string() : "the task did not finish";
    }

    PresetSettings Settings;
    TOutputOptions Options;
    std::unique_ptr<TFFConverter> Converter;
};

class PresetConversion : public PresetJob, public ::testing::WithParamInterface<int> {};

TEST_P(PresetConversion, Converts)
{
    const int key = GetParam();
    const TOutputPreset* preset = FindOutputPreset(key);
    ASSERT_NE(preset, nullptr);
    std::string in = Clip("in.mkv", 176, 144, 48000, 25, 2);
    std::filesystem::create_directory(Dir.file("out"));
    Settle(key, in, Utf8ToString(Dir.file("out")), false);
    std::string out = StringToUtf8(Settings.Video_OutPutFileName);
    ASSERT_EQ(out, Dir.file("out/in") + StringToUtf8(preset->OutputExt));

    ASSERT_TRUE(AddJob(in, out)) << StringToUtf8(Converter->LastErrMsg()) << "\n" << Complaints();
    const std::string muxer = Converter->Tasks(0)->Foutput_files[0]->oformat->name;
    ASSERT_EQ(RunJob(), "") << Complaints();

    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(out))) << StringToUtf8(probe.LastErrMsg());
    auto demuxer = DemuxerOfExtension.find(StringToUtf8(preset->OutputExt));
    ASSERT_NE(demuxer, DemuxerOfExtension.end()) << "no demuxer listed for " << StringToUtf8(preset->OutputExt);
    EXPECT_EQ(probe.FileHandle()->iformat->name, demuxer->second);

    TOutputFacts facts = Facts(out);
    ASSERT_TRUE(facts.Opened);
    EXPECT_EQ(facts.AudioCodec, ExpectedCodec(Options.AudioCodec, Options.TargetType, out, muxer, AVMEDIA_TYPE_AUDIO));
    EXPECT_GT(facts.AudioPackets, 0);
    const TPresetChoiceRow* row = FindPresetChoices(key);
    bool audioOnly = row && row->AudioOnly;
    EXPECT_EQ(audioOnly, preset->DisableVideo);
    if (preset->DisableVideo) {
        EXPECT_EQ(facts.VideoCodec, "");
        EXPECT_EQ(facts.VideoPackets, 0);
    } else {
        EXPECT_EQ(facts.VideoCodec,
                  ExpectedCodec(Options.VideoCodec, Options.TargetType, out, muxer, AVMEDIA_TYPE_VIDEO));
        EXPECT_GT(facts.VideoPackets, 0);
        if (!Options.FrameSize.empty()) {
            EXPECT_EQ(IntToStr(facts.Width) + L"*" + IntToStr(facts.Height), Options.FrameSize);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Catalogue, PresetConversion, ::testing::ValuesIn(CatalogueKeys()),
                         [](const ::testing::TestParamInfo<int>& AInfo) {
                             return "Key" + std::to_string(AInfo.param);
                         });

// The overwrite choice: the output name stays that of the existing file and the engine
// replaces it; without the choice the name is made unique and the file is left alone.
class OverwriteChoice : public PresetJob {};

TEST_F(OverwriteChoice, ReachesTheEngineThroughTheRecord)
{
    std::string in = Clip("in.mkv", 176, 144, 48000, 25, 2);
    std::filesystem::create_directory(Dir.file("out"));
    std::string existing = Dir.file("out/in.avi");
    WriteFile(existing, "old");

    Settle(0, in, Utf8ToString(Dir.file("out")), false);
    EXPECT_EQ(StringToUtf8(Settings.Video_OutPutFileName), Dir.file("out/in_1.avi"));
    EXPECT_EQ(Options.ExtOptions.find(L"y="), String::npos);
    // The record without the choice does not let the task replace the file.
    EXPECT_FALSE(AddJob(in, existing));
    EXPECT_EQ(Contents(existing), "old");

    Settle(0, in, Utf8ToString(Dir.file("out")), true);
    ASSERT_EQ(StringToUtf8(Settings.Video_OutPutFileName), existing);
    ASSERT_TRUE(AddJob(in, existing)) << StringToUtf8(Converter->LastErrMsg());
    ASSERT_EQ(RunJob(), "");
    TOutputFacts facts = Facts(existing);
    ASSERT_TRUE(facts.Opened);
    EXPECT_EQ(facts.VideoCodec, "mpeg4");
    EXPECT_EQ(facts.AudioCodec, "mp3");
}

}  // namespace
