// Filling the task component's tasks: option records and texts reaching the transcoder, the
// keys kept back for the output's streams, the stored record copies, the failures of AddTask,
// AddInputFile and SetOutputFile, and the task list operations.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/option_text.h"
#include "engine/small_texts.h"
#include "platform/framework/core/date_time.h"
#include "tests/engine/converter_test_support.h"

using engine_test::ConverterFixture;

class ConverterOptions : public ConverterFixture {
protected:
    TFFmpeg& TaskOf(int AIndex) { return *Converter->Tasks(AIndex); }
};

TEST(OptionText, LinesSplitAtTheFirstEqualsSignAfterEveryKindOfLineBreak)
{
    std::vector<TOptionLine> lines =
        SplitOptionText(L"  \r\nVCodec=mpeg4<CRLF>vf=scale=320:240\r\nan\rab = 64000\n\n=orphan\nTimeStart=\t ");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].Name, L"VCodec");
    EXPECT_EQ(lines[0].LowerName, L"vcodec");
    EXPECT_EQ(lines[0].Value, L"mpeg4");
    EXPECT_EQ(lines[1].Value, L"scale=320:240");
    EXPECT_EQ(lines[2].Name, L"an");
    EXPECT_EQ(lines[2].Value, L"");
    EXPECT_EQ(lines[3].Name, L"ab");
    EXPECT_EQ(lines[3].Value, L"64000");
    EXPECT_EQ(lines[4].LowerName, L"timestart");
    EXPECT_EQ(OptionTextTime(L"1500000"), 1500000);
    EXPECT_EQ(OptionTextTime(L"1.5"), NoTimestamp);
    EXPECT_EQ(OptionTextTime(L""), NoTimestamp);
}

TEST_F(ConverterOptions, TheInputTextSetsTheStartTimeAndHandsOnItsOtherLines)
{
    ASSERT_EQ(
        Converter->AddTask(L"end", L"TimeStart=1500000<CRLF>F=avi\r\nVCodec=mpeg4\nvpre=no-such-preset\nvf=hflip"), 0);
    TFFmpeg& task = TaskOf(0);
    ASSERT_NE(task.FInputOptions[0], nullptr);
    EXPECT_EQ(task.FInputOptions[0]->FileName, L"end");
    EXPECT_EQ(task.FInputOptions[0]->TimeStart, 1500000);
    EXPECT_EQ(task.FInputOptions[0]->ExtOptions, L"F=avi\nVCodec=mpeg4\nvpre=no-such-preset\nvf=hflip\n");
    EXPECT_EQ(task.Fstart_time, 1500000);
    EXPECT_EQ(task.Flast_asked_format, "avi");
    // The input side takes codec names; presets and filters belong to an output's streams.
    EXPECT_EQ(task.Fvideo_codec_name, "mpeg4");
    EXPECT_TRUE(task.Fvfilters.empty());

    ASSERT_EQ(Converter->AddTask(L"end", L"TimeStart=soon"), 1);
    EXPECT_EQ(TaskOf(1).FInputOptions[0]->TimeStart, NoTimestamp);
    EXPECT_EQ(TaskOf(1).Fstart_time, 0);
}

TEST_F(ConverterOptions, TheInputRecordGetsTheFileNameAndReachesTheTask)
{
    TInputOptions options;
    InitInputOptions(&options);
    options.ProgramID = 2;
    options.Tag = 7;
    Converter->SetVerbose(-1);
    ASSERT_EQ(Converter->AddTask(L"end", &options), 0);
    EXPECT_EQ(options.FileName, L"end");  // written into the caller's record
    TFFmpeg& task = TaskOf(0);
    EXPECT_EQ(task.Fopt_programid, 2);
    EXPECT_EQ(task.Fverbose, -1);
    EXPECT_EQ(task.FInputOptions[0]->Tag, 7);
    EXPECT_NE(task.FInputOptions[0], &options);  // a copy of its own
    // The input's probe is attached to what the task opened.
    TAVProbe* probe = Converter->GetTaskProbe(0, 0);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe, task.FAVProbes[0]);
    EXPECT_EQ(probe->FileHandle(), task.Finput_files[0]);
    EXPECT_NE(Converter->AVProbe(), nullptr);
}

TEST_F(ConverterOptions, TheOutputTextSwitchesHookAndJoinAndDefersStreamKeys)
{
    ASSERT_EQ(Converter->AddTask(L"end", String()), 0);
    ASSERT_TRUE(Converter->SetOutputFile(
        0, L"out",
        L"Hook=0<CRLF>Join=<CRLF>TimeLength=2000000<CRLF>vcodec=mpeg4<CRLF>VCODEC=libx264<CRLF>"
        L"s=320x240<CRLF>vfilters=hflip<CRLF>ab=64000"))
        << StringToUtf8(Converter->LastErrMsg());
    TFFmpeg& task = TaskOf(0);
    const TOutputOptions& stored = *task.FOutputOptions[0];
    EXPECT_TRUE(stored.CustomHook);
    EXPECT_TRUE(stored.Join);
    EXPECT_EQ(stored.TimeLength, 2000000);
    EXPECT_EQ(stored.FileName, L"out");
    EXPECT_TRUE(bool(task.FOnCustomHook));
    // The first value of a deferred key is the default of the output's first streams.
    EXPECT_EQ(task.Fvideo_codec_name, "mpeg4");
    EXPECT_EQ(task.Fframe_width, 320);
    EXPECT_EQ(task.Fframe_height, 240);
    EXPECT_EQ(task.Fvfilters, L"hflip");
    EXPECT_EQ(task.FTotalOutputDuration, 2000000);
}

TEST_F(ConverterOptions, TheOutputRecordComesBeforeItsTextAndFeedsTheTask)
{
    ASSERT_EQ(Converter->AddTask(L"end", String()), 0);
    TOutputOptions options;
    InitOutputOptions(&options);
    options.AudioCodec = L"aac";
    options.ExtOptions = L"acodec=mp2\nab=96000";
    options.AudioChannels = 1;
    options.AudioSampleRate = 22050;
    options.AudioVolume = 512;
    options.VideoSyncMethod = 2;
    options.AudioLanguage = L"chi";
    options.CopyTimestamp = true;
    options.TimeStart = 3000000;
    options.Info.Title = "标题";
    options.Info.Year = 2020;
    options.Info.Track = 0;
    options.Info.TimeStamp = EncodeDate(2020, 1, 2) + EncodeTime(3, 4, 5, 0);
    ASSERT_TRUE(Converter->SetOutputFile(0, L"out", &options)) << StringToUtf8(Converter->LastErrMsg());
    EXPECT_EQ(options.FileName, L"out");
    TFFmpeg& task = TaskOf(0);
    EXPECT_EQ(task.Faudio_codec_name, "aac");
    EXPECT_EQ(task.Faudio_channels, 1);
    EXPECT_EQ(task.Faudio_sample_rate, 22050);
    EXPECT_EQ(task.Faudio_volume, 512);
    EXPECT_EQ(task.Fvideo_sync_method, 2);
    EXPECT_EQ(task.Faudio_language, L"chi");
    EXPECT_TRUE(task.Fcopy_ts);
    EXPECT_EQ(task.Fstart_time, 3000000);
    ASSERT_EQ(task.Fmetadata.size(), 2u);
    EXPECT_EQ(task.Fmetadata[0].Key, "year");
    EXPECT_EQ(task.Fmetadata[0].Value, "2020");
    EXPECT_EQ(task.Fmetadata[1].Key, "title");
    EXPECT_EQ(task.Fmetadata[1].Value, "标题");
    double seconds = (EncodeDate(2020, 1, 2) + EncodeTime(3, 4, 5, 0) - 25569.0 - TimeZoneBias()) * 86400.0;
    EXPECT_EQ(task.Frecording_timestamp, int64_t(std::nearbyint(seconds)));

    // A fresh record leaves the transcoder as it is, but for the fields always applied.
    ASSERT_EQ(Converter->AddTask(L"end", String()), 1);
    InitOutputOptions(&options);
    ASSERT_TRUE(Converter->SetOutputFile(1, L"out", &options));
    TFFmpeg& fresh = TaskOf(1);
    EXPECT_TRUE(fresh.Faudio_codec_name.empty());
    EXPECT_EQ(fresh.Faudio_sample_rate, 44100);
    EXPECT_EQ(fresh.Faudio_channels, 2);
    EXPECT_EQ(fresh.Frecording_time, INT64_MAX);
    EXPECT_EQ(fresh.Frecording_timestamp, 0);
    EXPECT_TRUE(fresh.Fmetadata.empty());
    EXPECT_FALSE(bool(fresh.FOnCustomHook));
}

TEST_F(ConverterOptions, FailuresComeBackAsResultsWithTheirText)
{
    // An input that does not open leaves no task.
    EXPECT_EQ(Converter->AddTask(L"missing", String()), -1);
    EXPECT_EQ(Converter->LastErrMsg(), L"missing: No such file or directory");
    EXPECT_EQ(Converter->TasksCount(), 0);
    // An option the transcoder refuses.
    EXPECT_EQ(Converter->AddTask(L"end", L"threads=2"), -1);
    EXPECT_EQ(Converter->LastErrMsg(), L"TODO: option - threads");
    EXPECT_EQ(Converter->TasksCount(), 0);

    ASSERT_EQ(Converter->AddTask(L"end", String()), 0);
    TOutputOptions options;
    InitOutputOptions(&options);
    options.AudioCodec = L"aac";
    EXPECT_FALSE(Converter->SetOutputFile(0, L"bad", &options));
    EXPECT_EQ(Converter->LastErrMsg(), L"bad: Permission denied");
    EXPECT_EQ(Converter->TasksCount(), 1);  // the task stays, its stored record is reset
    EXPECT_TRUE(TaskOf(0).FOutputOptions[0]->AudioCodec.empty());
    EXPECT_FALSE(Converter->SetOutputFile(0, L"out", L"pass=3"));
    EXPECT_EQ(Converter->LastErrMsg(), L"pass number can be only 1 or 2");
    options.VideoTag = L"XVID1";
    EXPECT_FALSE(Converter->SetOutputFile(0, L"out", &options));
    EXPECT_EQ(Converter->LastErrMsg(), L"video tag parameter must be 4 chars");
    EXPECT_FALSE(Converter->SetOutputFile(5, L"out", String()));
    EXPECT_FALSE(Converter->AddInputFile(-1, L"end", String()));

    // The limit of files per task.
    Converter->SetCustomMaxFiles(1);
    ASSERT_EQ(Converter->AddTask(L"end", String()), 1);
    EXPECT_FALSE(Converter->AddInputFile(1, L"end", String()));
    EXPECT_EQ(Converter->LastErrMsg(), L"max input files 1 reached");
    EXPECT_TRUE(Converter->SetOutputFile(1, L"out", String()));
    EXPECT_FALSE(Converter->SetOutputFile(1, L"out", String()));
    EXPECT_EQ(Converter->LastErrMsg(), L"max output files 1 reached");
    // Outside 1..512 the task cannot be made, and that reaches the caller.
    for (int bad : {0, 513}) {
        Converter->SetCustomMaxFiles(bad);
        EXPECT_THROW(Converter->AddTask(L"end", String()), EAssertionFailed);
    }
    EXPECT_EQ(Converter->TasksCount(), 2);
}

TEST_F(ConverterOptions, WithoutTheLibrariesNothingIsOpened)
{
    ASSERT_EQ(Converter->AddTask(L"end", String()), 0);
    DefaultLoader().Unload(ConverterLibraries);
    EXPECT_FALSE(Converter->AVLibLoaded());
    EXPECT_EQ(Converter->AddTask(L"end", String()), -1);
    EXPECT_EQ(Converter->LastErrMsg(), L"Converter libraries not loaded.");
    EXPECT_FALSE(Converter->AddInputFile(0, L"end", String()));
    EXPECT_FALSE(Converter->SetOutputFile(0, L"out", String()));
    EXPECT_EQ(Converter->LastErrMsg(), L"Converter libraries not loaded.");
    EXPECT_EQ(Converter->TasksCount(), 1);
    DefaultLoader().SetLibraryPath(L"");
    ASSERT_TRUE(Converter->LoadAVLib(L""));
    EXPECT_TRUE(Converter->SetOutputFile(0, L"out", String()));
}

TEST_F(ConverterOptions, FurtherInputsAreStoredUnderTheirOwnIndex)
{
    ASSERT_EQ(Converter->AddTask(L"end", String()), 0);
    TInputOptions options;
    InitInputOptions(&options);
    options.Tag = 3;
    EXPECT_TRUE(Converter->AddInputFile(0, L"second", &options));
    EXPECT_EQ(options.FileName, L"second");
    EXPECT_FALSE(Converter->AddInputFile(0, L"missing", &options));
    EXPECT_EQ(Converter->LastErrMsg(), L"missing: No such file or directory");
    TFFmpeg& task = TaskOf(0);
    EXPECT_EQ(task.Fnb_input_files, 2);
    EXPECT_EQ(task.FInputOptions[1]->Tag, 3);
    ASSERT_NE(task.FInputOptions[2], nullptr);  // reset after the failed opening
    EXPECT_EQ(task.FInputOptions[2]->Tag, 0);
}

TEST_F(ConverterOptions, PreviewSwitchesReachExistingAndLaterTasks)
{
    ASSERT_EQ(Converter->AddTask(L"end", String()), 0);
    Converter->SetPreview(true);
    EXPECT_TRUE(PostHookIn(phPreview, TaskOf(0).FPostHooks));
    Converter->SetPreviewBitmap(true);
    ASSERT_EQ(Converter->AddTask(L"end", String()), 1);
    EXPECT_EQ(TaskOf(1).FPostHooks, PostHookSet(phPreview) | PostHookSet(phBitmap));
    Converter->SetPreview(false);
    EXPECT_EQ(TaskOf(0).FPostHooks, PostHookSet(phBitmap));
    EXPECT_EQ(TaskOf(1).FPostHooks, PostHookSet(phBitmap));
}

TEST_F(ConverterOptions, TasksAreNumberedByTheirPlaceInTheList)
{
    for (const wchar_t* name : {L"a", L"b", L"c"}) ASSERT_GE(Converter->AddTask(name, String()), 0);
    TFFmpeg* a = Converter->Tasks(0);
    TFFmpeg* c = Converter->Tasks(2);
    Converter->Exchange(0, 2);
    EXPECT_EQ(Converter->Tasks(0), c);
    EXPECT_EQ(Converter->Tasks(2), a);
    Converter->RemoveTask(0);
    EXPECT_EQ(Converter->TasksCount(), 2);
    EXPECT_EQ(Converter->Tasks(1), a);
    EXPECT_THROW(Converter->RemoveTask(2), EListError);
    EXPECT_EQ(Converter->Version(), L"3.3");
    Converter->ClearTasks();
    EXPECT_EQ(Converter->TasksCount(), 0);
    EXPECT_TRUE(Converter->LastErrMsg().empty());
}
