// Tasks waiting in the queue: a listed task closes its input once its output is set and opens
// it again when it starts; it converts exactly as a task whose input stayed open, and a file
// replaced or removed meanwhile fails its task with a clear text and nothing written.
#include <filesystem>

#include "tests/engine/converter_media_test_support.h"
#include "tests/support/file_bytes.h"

namespace {

using engine_test::ConverterMedia;

class ConverterWaiting : public ConverterMedia {
protected:
    // Adds a task of AInput with an MPEG-4 and MP2 output; AKeepOpen keeps its input open, as a
    // task started at once would have it.
    int List(const std::string& AInput, const std::string& AOutput, int64_t ATimeStart, bool AKeepOpen)
    {
        TInputOptions input;
        InitInputOptions(&input);
        if (ATimeStart > 0) input.TimeStart = ATimeStart;
        const int index = Converter->AddTask(Utf8ToString(AInput), &input);
        EXPECT_GE(index, 0) << StringToUtf8(Converter->LastErrMsg());
        if (index < 0) return index;
        if (AKeepOpen) Converter->Tasks(index)->FInputReopen[0]->Closable = false;
        TOutputOptions output = Output(L"mpeg4", L"mp2");
        EXPECT_TRUE(Converter->SetOutputFile(index, WPath(AOutput), &output)) << StringToUtf8(Converter->LastErrMsg());
        return index;
    }

    const TTerminateInfo* EndOf(int ATaskIndex)
    {
        for (const TTerminateInfo& end : Ends)
            if (end.TaskIndex == ATaskIndex) return &end;
        return nullptr;
    }
};

TEST_F(ConverterWaiting, AListedTaskClosesItsInputAndConvertsAsOneWhoseInputStayedOpen)
{
    const std::string input = MakeSoundClip("clip.mp4", 2);
    // From the start, and from a point the opening seeks to.
    for (const int64_t start : {int64_t(0), int64_t(700000)}) {
        SCOPED_TRACE(start);
        Converter->ClearTasks();
        Ends.clear();
        const std::string tag = std::to_string(start);
        const int listed = List(input, "listed" + tag + ".avi", start, false);
        const int open = List(input, "open" + tag + ".avi", start, true);
        ASSERT_GE(listed, 0);
        ASSERT_GE(open, 0);
        TFFmpeg* task = Converter->Tasks(listed);
        EXPECT_EQ(task->Finput_files[0], nullptr);
        EXPECT_TRUE(task->InputsClosedForNow());
        EXPECT_NE(Converter->Tasks(open)->Finput_files[0], nullptr);

        Converter->Start(1);
        ASSERT_TRUE(ServeUntilQueueEnd());
        for (const TTerminateInfo& end : Ends) EXPECT_FALSE(end.Exception) << StringToUtf8(end.ExceptionMsg);
        const std::string written = ReadBytes(Path("listed" + tag + ".avi"));
        EXPECT_GT(written.size(), 10000u);
        EXPECT_TRUE(written == ReadBytes(Path("open" + tag + ".avi")));
    }
}

TEST_F(ConverterWaiting, AnInputReplacedOrRemovedAfterTheAddFailsItsTaskAndWritesNothing)
{
    const std::string clip = MakeSoundClip("clip.mp4", 1);
    const std::string other = MakeSoundClip("other.mp4", 1, "160x120");
    for (const char* name : {"replaced.mp4", "removed.mp4", "kept.mp4"}) std::filesystem::copy_file(clip, Path(name));
    ASSERT_EQ(List(Path("replaced.mp4"), "replaced.avi", 0, false), 0);
    ASSERT_EQ(List(Path("removed.mp4"), "removed.avi", 0, false), 1);
    ASSERT_EQ(List(Path("kept.mp4"), "kept.avi", 0, false), 2);
    std::filesystem::copy_file(other, Path("replaced.mp4"), std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(Path("removed.mp4"));

    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    const TTerminateInfo* replaced = EndOf(0);
    const TTerminateInfo* removed = EndOf(1);
    const TTerminateInfo* kept = EndOf(2);
    ASSERT_TRUE(replaced && removed && kept);
    EXPECT_TRUE(replaced->Exception);
    EXPECT_NE(replaced->ExceptionMsg.find(L"has changed since it was added"), String::npos)
        << StringToUtf8(replaced->ExceptionMsg);
    EXPECT_NE(replaced->ExceptionMsg.find(WPath("replaced.mp4")), String::npos);
    EXPECT_TRUE(removed->Exception);
    EXPECT_NE(removed->ExceptionMsg.find(WPath("removed.mp4")), String::npos) << StringToUtf8(removed->ExceptionMsg);
    EXPECT_FALSE(kept->Exception) << StringToUtf8(kept->ExceptionMsg);
    EXPECT_FALSE(std::filesystem::exists(Path("replaced.avi")));
    EXPECT_FALSE(std::filesystem::exists(Path("removed.avi")));
    EXPECT_GT(std::filesystem::file_size(Path("kept.avi")), 0u);
}

// What reads a waiting task's input opens it again: its probe, a further output.
TEST_F(ConverterWaiting, ItsProbeAndAFurtherOutputOpenTheInputAgain)
{
    const std::string input = MakeSoundClip("clip.mp4", 1);
    ASSERT_EQ(List(input, "first.avi", 0, false), 0);
    TFFmpeg* task = Converter->Tasks(0);
    ASSERT_EQ(task->Finput_files[0], nullptr);
    TAVProbe* probe = Converter->GetTaskProbe(0, 0);
    ASSERT_NE(task->Finput_files[0], nullptr);
    EXPECT_EQ(probe->FileHandle(), task->Finput_files[0]);
    EXPECT_EQ(probe->StreamCount(), 2);

    TOutputOptions output = Output(L"wmv2", L"wmav2");
    ASSERT_TRUE(Converter->SetOutputFile(0, WPath("second.wmv"), &output)) << StringToUtf8(Converter->LastErrMsg());
    EXPECT_EQ(task->Finput_files[0], nullptr);
    std::filesystem::remove(input);
    EXPECT_FALSE(Converter->SetOutputFile(0, WPath("third.wmv"), &output));
    EXPECT_NE(Converter->LastErrMsg().find(Utf8ToString(input)), String::npos) << StringToUtf8(Converter->LastErrMsg());
}

}  // namespace
