// The hooks and the preview through the task component, as the main window uses them: its
// Preview switch (the options dialog's live preview) shows each converting task's window on the
// main thread while the task converts in its thread, and its custom hook event paints into the
// output.
#include <mutex>

#include "engine/converter.h"
#include "platform/base/main_thread.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "tests/engine/picture_test_support.h"
#include "tests/engine/preview_test_support.h"
#include "tests/engine/task_test_support.h"
#include "tests/support/temp_dir.h"

namespace {

using engine_test::Near;
using engine_test::PaintYuv;
using engine_test::PixelOf;
using engine_test::PreviewWindows;

class ConverterPreview : public engine_test::LibrariesFixture {
protected:
    void SetUp() override
    {
        LoadOrFail(ConverterLibraries);
        vxwin::UseHeadlessBackend();
        Converter = std::make_unique<TFFConverter>(nullptr);
        Converter->SetOnTerminate([this](TObject*, const TTerminateInfo& AInfo) {
            std::lock_guard<std::mutex> lock(Lock);
            Ends.push_back(AInfo);
        });
    }
    void TearDown() override
    {
        Converter.reset();
        engine_test::LibrariesFixture::TearDown();
    }

    std::string Red(int AFrames)
    {
        std::string path = Dir.file("red.mkv");
        EXPECT_EQ(
            engine_test::WritePaintedVideo(path, 176, 144, AFrames,
                                           [](AVFrame* f, int) { PaintYuv(f, 0, 0, 176, 144, engine_test::YuvRed); }),
            "");
        return path;
    }
    // Adds a task from AInput to AOutput (MPEG-4 at a fine quantiser).
    void AddTask(const std::string& AInput, const std::string& AOutput, bool ACustomHook)
    {
        ASSERT_EQ(Converter->AddTask(Utf8ToString(AInput), String()), 0) << StringToUtf8(Converter->LastErrMsg());
        TOutputOptions options;
        InitOutputOptions(&options);
        options.VideoCodec = L"mpeg4";
        options.ExtOptions = L"qscale=2";
        options.CustomHook = ACustomHook;
        ASSERT_TRUE(Converter->SetOutputFile(0, Utf8ToString(AOutput), &options))
            << StringToUtf8(Converter->LastErrMsg());
    }
    // Serves the main thread until the queue has ended; APoll runs at every turn.
    bool ServeUntilQueueEnd(const std::function<void()>& APoll = nullptr)
    {
        return WaitServingMainThread(
            [&] {
                if (APoll) APoll();
                std::lock_guard<std::mutex> lock(Lock);
                return !Ends.empty() && Ends.back().TaskIndex == -1;
            },
            5, 120000);
    }

    TempDir Dir;
    std::unique_ptr<TFFConverter> Converter;
    std::mutex Lock;
    std::vector<TTerminateInfo> Ends;
};

TEST_F(ConverterPreview, PreviewSwitchShowsTheConvertingTask)
{
    std::string out = Dir.file("out.avi");
    AddTask(Red(75), out, false);
    Converter->SetPreview(true);
    Converter->Start(1);
    bool painted = false;
    ASSERT_TRUE(ServeUntilQueueEnd([&] {
        for (HWND window : PreviewWindows()) {
            if (!IsWindowVisible(window)) continue;
            int w = 0, h = 0;
            std::vector<uint32_t> pixels = vxwin::WindowPixels(window, &w, &h);
            POINT origin{0, 0};
            ClientToScreen(window, &origin);
            RECT frame;
            GetWindowRect(window, &frame);
            size_t at = size_t(origin.y - frame.top + 72) * w + size_t(origin.x - frame.left + 88);
            painted = painted || (at < pixels.size() && Near(pixels[at] & 0xFFFFFF, 0xFF0000));
        }
    }));
    ASSERT_EQ(Ends.size(), 2u);
    EXPECT_TRUE(Ends[0].Finished) << StringToUtf8(Ends[0].ExceptionMsg);
    EXPECT_TRUE(painted);
    EXPECT_TRUE(PreviewWindows().empty());
}

TEST_F(ConverterPreview, CustomHookEventPaintsIntoTheOutput)
{
    std::string out = Dir.file("out.avi");
    AddTask(Red(10), out, true);
    int calls = 0;
    Converter->SetOnCustomHook([&](TObject*, PHookInfo AInfo) {
        EXPECT_EQ(AInfo->TaskIndex, 0);
        EXPECT_EQ(AInfo->FrameNumber, calls + 1);
        ++calls;
        for (int y = 0; y < 32; ++y) {
            auto* row = static_cast<uint8_t*>(AInfo->Bitmap->ScanLine(y));
            for (int x = 0; x < 32; ++x) {
                row[x * 4] = 255;
                row[x * 4 + 1] = 0;
                row[x * 4 + 2] = 0;
            }
        }
    });
    Converter->Start(1);
    ASSERT_TRUE(ServeUntilQueueEnd());
    ASSERT_EQ(Ends.size(), 2u);
    EXPECT_TRUE(Ends[0].Finished) << StringToUtf8(Ends[0].ExceptionMsg);
    EXPECT_EQ(calls, 10);
    TBitmap picture;
    ASSERT_TRUE(engine_test::FirstPicture(out, picture));
    EXPECT_TRUE(Near(PixelOf(picture, 8, 8), 0x0000FF)) << std::hex << PixelOf(picture, 8, 8);
    EXPECT_TRUE(Near(PixelOf(picture, 120, 100), 0xFF0000)) << std::hex << PixelOf(picture, 120, 100);
}

}  // namespace
