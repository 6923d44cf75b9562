// Fixture of the tests that open input and output files of a task: the converter libraries, a
// prepared task, its log lines (TaskFixture), and a temporary folder with media made on demand.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/engine/media_test_support.h"
#include "tests/engine/task_test_support.h"
#include "tests/support/temp_dir.h"

namespace engine_test {

class OpenFilesFixture : public TaskFixture {
protected:
    // A media file in the test's folder; fails the test when it cannot be written.
    std::string Media(const std::string& AName, const TestMedia& AMedia)
    {
        std::string path = Dir.file(AName);
        std::string error = WriteTestMedia(path, AMedia);
        EXPECT_EQ(error, "") << AName;
        return path;
    }
    std::string VideoAudio(const std::string& AName = "in.mkv")
    {
        TestMedia m;
        m.Width = 64;
        m.Height = 48;
        m.SampleRate = 48000;
        return Media(AName, m);
    }
    std::string AudioOnly(const std::string& AName = "in.wav", int ARate = 44100)
    {
        TestMedia m;
        m.SampleRate = ARate;
        return Media(AName, m);
    }

    void Apply(const std::string& AName, const std::string& AValue = "")
    {
        Task->ApplyOption(Utf8ToString(AName), Utf8ToString(AValue));
    }
    bool Input(const std::string& APath) { return Task->OpenInputFile(Utf8ToString(APath)); }
    int Output(const std::string& APath, bool AJoin = false)
    {
        return Task->OpenOutputFile(Utf8ToString(APath), AJoin);
    }
    std::string LastError() const { return StringToUtf8(Task->FLastErrMsg); }

    // The media types of the streams of output entry AIndex, in order.
    std::vector<AVMediaType> OutputTypes(int AIndex) const
    {
        std::vector<AVMediaType> types;
        AVFormatContext* oc = Task->Foutput_files[AIndex];
        for (unsigned i = 0; oc && i < oc->nb_streams; ++i) types.push_back(oc->streams[i]->codecpar->codec_type);
        return types;
    }
    // The prepared encoder context of stream AStream of output entry AIndex.
    AVCodecContext* Encoder(int AIndex, int AStream) const
    {
        TStreamCodec* item = Task->OutputStreamCodec(Task->Foutput_files[AIndex]->streams[AStream]);
        return item ? item->codec : nullptr;
    }

    static std::string Contents(const std::string& APath)
    {
        std::ifstream in(APath, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void WriteFile(const std::string& APath, const std::string& AData)
    {
        std::ofstream(APath, std::ios::binary) << AData;
    }
    static bool Exists(const std::string& APath) { return std::filesystem::exists(APath); }

    TempDir Dir;
};

}  // namespace engine_test
