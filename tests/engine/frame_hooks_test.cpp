// Hooks on decoded pictures: the custom hook event (a handler that paints, leaves the picture,
// stops the hook or raises) with its effect checked in the converted output, the video hook
// libraries (a small library built with the tests) with their failure codes, and deinterlacing.
#include <dlfcn.h>

#include <fstream>

#include "engine/frame_hook_chain.h"
#include "tests/engine/picture_test_support.h"
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::FirstPicture;
using engine_test::Near;
using engine_test::PaintYuv;
using engine_test::PixelOf;

class FrameHooks : public engine_test::TranscodeFixture {
protected:
    // 176x144 of plain red.
    std::string Red()
    {
        std::string path = Dir.file("red.mkv");
        EXPECT_EQ(engine_test::WritePaintedVideo(
                      path, 176, 144, 10, [](AVFrame* f, int) { PaintYuv(f, 0, 0, 176, 144, engine_test::YuvRed); }),
                  "");
        return path;
    }
    // The colours of the output's first picture inside the top-left square and far from it.
    void Corner(const std::string& AOutput, uint32_t& AInside, uint32_t& AOutside)
    {
        TBitmap picture;
        ASSERT_TRUE(FirstPicture(AOutput, picture));
        AInside = PixelOf(picture, 8, 8);
        AOutside = PixelOf(picture, 120, 100);
    }
    bool LoggedPart(TLogLevel ALevel, const String& APart) const
    {
        for (const engine_test::TLogLine& line : Lines)
            if (line.Level == ALevel && line.Text.find(APart) != String::npos) return true;
        return false;
    }
};

// Paints the top-left 32x32 square of a hooked bitmap blue.
void PaintBlueSquare(TBitmap* ABitmap)
{
    for (int y = 0; y < 32; ++y) {
        auto* row = static_cast<uint8_t*>(ABitmap->ScanLine(y));
        for (int x = 0; x < 32; ++x) {
            row[x * 4] = 255;
            row[x * 4 + 1] = 0;
            row[x * 4 + 2] = 0;
        }
    }
}

TEST_F(FrameHooks, CustomHookPaintsIntoTheOutput)
{
    std::string out = Dir.file("out.avi");
    Prepare(Red(), out, {{"vcodec", "mpeg4"}, {"qscale", "2"}});
    std::vector<int> numbers;
    std::vector<int64_t> times;
    Task->FOnCustomHook = [&](TObject* Sender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS, bool& AUpdate,
                              bool& AStopHook) {
        EXPECT_EQ(Sender, Task.get());
        EXPECT_TRUE(AUpdate);
        EXPECT_FALSE(AStopHook);
        EXPECT_EQ(ABitmap->Width(), 176);
        EXPECT_TRUE(Near(PixelOf(*ABitmap, 8, 8), 0xFF0000));
        numbers.push_back(AFrameNumber);
        times.push_back(APTS);
        PaintBlueSquare(ABitmap);
    };
    ASSERT_EQ(Run(), "");
    ASSERT_EQ(numbers.size(), 10u);
    for (size_t i = 0; i < numbers.size(); ++i) {
        EXPECT_EQ(numbers[i], int(i) + 1);
        EXPECT_EQ(times[i], int64_t(i) * 40000);
    }
    uint32_t inside = 0, outside = 0;
    Corner(out, inside, outside);
    EXPECT_TRUE(Near(inside, 0x0000FF)) << std::hex << inside;
    EXPECT_TRUE(Near(outside, 0xFF0000)) << std::hex << outside;
}

// What the handler asks for: the picture kept, the hook stopped, a failure discarded.
TEST_F(FrameHooks, CustomHookUpdateStopAndFailure)
{
    enum Mode { NoUpdate, Stop, Raise };
    struct Case {
        Mode What;
        int Calls;
        bool Painted;
    };
    const Case cases[] = {{NoUpdate, 10, false}, {Stop, 1, true}, {Raise, 10, false}};
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        Task->ResetConverter();
        Lines.clear();
        std::string out = Dir.file("out" + std::to_string(n++) + ".avi");
        Prepare(Red(), out, {{"vcodec", "mpeg4"}, {"qscale", "2"}});
        int calls = 0;
        Task->FOnCustomHook = [&](TObject*, TBitmap* ABitmap, int, int64_t, bool& AUpdate, bool& AStopHook) {
            ++calls;
            PaintBlueSquare(ABitmap);
            if (c.What == NoUpdate)
                AUpdate = false;
            else if (c.What == Stop)
                AStopHook = true;
            else
                throw Exception(L"boom");
        };
        ASSERT_EQ(Run(), "");
        EXPECT_EQ(calls, c.Calls);
        uint32_t inside = 0, outside = 0;
        Corner(out, inside, outside);
        EXPECT_TRUE(Near(inside, c.Painted ? 0x0000FF : 0xFF0000)) << std::hex << inside;
        EXPECT_EQ(Logged(llError, L"Error occurs OnCustomHook: boom"), c.What == Raise);
    }
}

// A hook library paints the square with the luma it was configured with and is released with
// the task.
TEST_F(FrameHooks, HookLibraryProcessesEveryPicture)
{
    std::string out = Dir.file("out.avi");
    std::string released = Dir.file("released.txt");
    Prepare(Red(), out,
            {{"vcodec", "mpeg4"}, {"qscale", "2"}, {"vhook", std::string(VX_TEST_HOOK_FULL) + " 16 " + released}});
    EXPECT_TRUE(Task->Fusing_vhook);
    void* module = dlopen(VX_TEST_HOOK_FULL, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    auto count = reinterpret_cast<int (*)()>(dlsym(module, "HookProcessCount"));
    ASSERT_NE(count, nullptr);
    const int before = count();
    ASSERT_EQ(Run(), "");
    EXPECT_EQ(count() - before, 10);
    uint32_t inside = 0, outside = 0;
    Corner(out, inside, outside);
    EXPECT_TRUE(Near(inside, 0x000000)) << std::hex << inside;
    EXPECT_TRUE(Near(outside, 0xFF0000)) << std::hex << outside;
    EXPECT_EQ(Task->FFirstHook, nullptr);
    EXPECT_EQ(Contents(released), "released\n");
    dlclose(module);
}

TEST_F(FrameHooks, HookLibraryFailureCodes)
{
    auto add = [](PFrameHookEntry& AChain, std::vector<std::string> AWords) {
        std::vector<char*> args;
        for (std::string& word : AWords) args.push_back(word.data());
        return AddFrameHook(AChain, int(args.size()), args.data());
    };
    PFrameHookEntry chain = nullptr;
    EXPECT_EQ(AddFrameHook(chain, 0, nullptr), -2);
    EXPECT_EQ(add(chain, {Dir.file("missing.so")}), -1);
    EXPECT_EQ(add(chain, {VX_TEST_HOOK_NO_PROCESS}), -2);
    EXPECT_TRUE(LoggedPart(
        llError, Utf8ToString(std::string("Failed to find Process entrypoint in ") + VX_TEST_HOOK_NO_PROCESS)));
    EXPECT_EQ(add(chain, {VX_TEST_HOOK_NO_CONFIGURE, "16"}), -2);
    EXPECT_TRUE(LoggedPart(
        llError, Utf8ToString(std::string("Failed to find Configure entrypoint in ") + VX_TEST_HOOK_NO_CONFIGURE)));
    EXPECT_EQ(add(chain, {VX_TEST_HOOK_FULL, "refuse"}), -22);
    EXPECT_TRUE(LoggedPart(llError, Utf8ToString(std::string("Failed to Configure ") + VX_TEST_HOOK_FULL)));
    EXPECT_EQ(chain, nullptr);

    // Without arguments a library needs no "Configure"; one library added twice is loaded once
    // and gives two entries, each with its own arguments.
    EXPECT_EQ(add(chain, {VX_TEST_HOOK_NO_CONFIGURE}), 0);
    const int libraries = FrameHookLibraryCount();
    EXPECT_EQ(add(chain, {VX_TEST_HOOK_FULL, "16"}), 0);
    EXPECT_EQ(add(chain, {VX_TEST_HOOK_FULL, "235"}), 0);
    EXPECT_LE(FrameHookLibraryCount(), libraries + 1);
    ASSERT_NE(chain, nullptr);
    ASSERT_NE(chain->next, nullptr);
    ASSERT_NE(chain->next->next, nullptr);
    EXPECT_EQ(chain->ctx, nullptr);
    EXPECT_NE(chain->next->ctx, chain->next->next->ctx);
    ReleaseFrameHooks(chain);
    EXPECT_EQ(chain, nullptr);

    // Through the option: the task refuses the text.
    EXPECT_EQ(FailureOf([&] { Apply("vhook", Dir.file("missing.so") + " 1"); }),
              "Failed to add video hook function: " + Dir.file("missing.so") + " 1");
    EXPECT_FALSE(Task->Fusing_vhook);
}

// Lines of the two fields alternate between dark and light: deinterlaced, neighbouring lines
// come out alike; converted as they are, they keep apart.
TEST_F(FrameHooks, DeinterlacedConversion)
{
    std::string in = Dir.file("fields.mkv");
    ASSERT_EQ(
        engine_test::WritePaintedVideo(in, 176, 144, 10,
                                       [](AVFrame* f, int) {
                                           for (int y = 0; y < 144; y += 2) {
                                               PaintYuv(f, 0, y, 176, y + 1, engine_test::TYuv{40, 128, 128});
                                               PaintYuv(f, 0, y + 1, 176, y + 2, engine_test::TYuv{200, 128, 128});
                                           }
                                       }),
        "");
    for (bool deinterlace : {false, true}) {
        SCOPED_TRACE(deinterlace);
        Task->ResetConverter();
        Lines.clear();
        std::string out = Dir.file(deinterlace ? "out1.avi" : "out0.avi");
        Prepare(in, out, {{"vcodec", "mpeg4"}, {"qscale", "2"}, {"deinterlace", deinterlace ? "1" : "0"}});
        ASSERT_EQ(Run(), "");
        EXPECT_FALSE(Logged(llError, L"Deinterlacing failed."));
        TBitmap picture;
        ASSERT_TRUE(FirstPicture(out, picture));
        const int dark = int(PixelOf(picture, 88, 70) & 0xFF), light = int(PixelOf(picture, 88, 71) & 0xFF);
        if (deinterlace)
            EXPECT_LT(std::abs(light - dark), 40) << dark << " " << light;
        else
            EXPECT_GT(light - dark, 100) << dark << " " << light;
    }
}

}  // namespace
