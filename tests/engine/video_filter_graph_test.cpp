// Conversions through the video filter graph ("vfilters"): the filters the graph is built with
// (no scaler at the input's size, a scaler with the task's flags at another), crop bands before
// the scaler, a chain that changes the picture size, a chain the library does not know, and a
// source whose picture size changes midway.
#include "engine/transcode_run.h"
#include "tests/engine/picture_test_support.h"
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::FirstPicture;
using engine_test::Near;
using engine_test::PaintYuv;
using engine_test::PixelOf;

class VideoFilterGraph : public engine_test::TranscodeFixture {
protected:
    // 176x144: a green band of 16 rows on top, a blue band of 32 columns on the left below it,
    // red elsewhere.
    std::string Banded()
    {
        std::string path = Dir.file("banded.mkv");
        EXPECT_EQ(engine_test::WritePaintedVideo(path, 176, 144, 10,
                                                 [](AVFrame* f, int) {
                                                     PaintYuv(f, 0, 0, 176, 144, engine_test::YuvRed);
                                                     PaintYuv(f, 0, 0, 176, 16, engine_test::YuvGreen);
                                                     PaintYuv(f, 0, 16, 32, 144, engine_test::YuvBlue);
                                                 }),
                  "");
        return path;
    }

    // Runs with the options and records the filters the graph of the first output stream was
    // built with (read while the run lasts, from the preview event).
    std::string RunRecordingChain()
    {
        Task->SetPostHooks(PostHookSet(phBitmap));
        Task->FOnPreviewBitmap = [this](TObject*, TBitmap*, int, int64_t) {
            if (Chain.empty() && Task->FRun) Chain = Task->FRun->OutputStreamTable[0]->filter_chain;
        };
        return Run();
    }

    std::string Chain;
};

TEST_F(VideoFilterGraph, SameSizeHasNoScaler)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"vfilters", "hflip"}});
    ASSERT_EQ(RunRecordingChain(), "");
    EXPECT_EQ(Chain, "src -> hflip -> out");
    engine_test::TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Width, 176);
    EXPECT_EQ(f.Height, 144);
    EXPECT_EQ(f.VideoPackets, 25);
}

TEST_F(VideoFilterGraph, OtherSizeScalesWithTheTaskFlags)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"s", "88x72"}, {"vfilters", "null"}});
    ASSERT_EQ(RunRecordingChain(), "");
    EXPECT_EQ(Chain, "src -> scale=88:72:sws_flags=4 -> null -> out");
    engine_test::TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Width, 88);
    EXPECT_EQ(f.Height, 72);

    // Flags set as an option reach the scaler.
    Task->ResetConverter();
    Chain.clear();
    std::string out2 = Dir.file("out2.avi");
    Prepare(Clip("in2.mkv"), out2, {{"vcodec", "mpeg4"}, {"sws_flags", "1"}, {"s", "88x72"}, {"vfilters", "null"}});
    ASSERT_EQ(RunRecordingChain(), "");
    EXPECT_EQ(Chain, "src -> scale=88:72:sws_flags=1 -> null -> out");
}

// The bands come off first; what is left inside them is scaled.
TEST_F(VideoFilterGraph, CropBandsBeforeTheScaler)
{
    std::string in = Banded();
    struct Case {
        const char* Size;
        int Width, Height;
        const char* Chain;
    };
    const Case cases[] = {
        {nullptr, 144, 128, "src -> crop=w=144:h=128:x=32:y=16 -> null -> out"},
        {"72x64", 72, 64, "src -> crop=w=144:h=128:x=32:y=16 -> scale=72:64:sws_flags=4 -> null -> out"},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Chain);
        Task->ResetConverter();
        Chain.clear();
        std::string out = Dir.file("out" + std::to_string(n++) + ".avi");
        std::vector<std::pair<std::string, std::string>> options = {
            {"vcodec", "mpeg4"}, {"qscale", "2"}, {"croptop", "16"}, {"cropleft", "32"}, {"vfilters", "null"}};
        // The frame size after the bands: it is the size the rest is scaled to.
        if (c.Size) options.insert(options.end() - 1, {"s", c.Size});
        Prepare(in, out, options);
        ASSERT_EQ(RunRecordingChain(), "");
        EXPECT_EQ(Chain, c.Chain);
        TBitmap picture;
        ASSERT_TRUE(FirstPicture(out, picture));
        ASSERT_EQ(picture.Width(), c.Width);
        ASSERT_EQ(picture.Height(), c.Height);
        // No green and no blue left: the corners and the middle are red.
        for (auto [x, y] : {std::pair{1, 1}, {c.Width - 2, 1}, {1, c.Height - 2}, {c.Width / 2, c.Height / 2}})
            EXPECT_TRUE(Near(PixelOf(picture, x, y), 0xFF0000))
                << x << "," << y << std::hex << " " << PixelOf(picture, x, y);
    }
}

// The encoder takes the size the chain delivers.
TEST_F(VideoFilterGraph, ChainThatResizesSetsTheEncoderSize)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"vfilters", "scale=96:80,hflip"}});
    ASSERT_EQ(Run(), "");
    engine_test::TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Width, 96);
    EXPECT_EQ(f.Height, 80);
    EXPECT_EQ(f.VideoPackets, 25);
}

TEST_F(VideoFilterGraph, UnknownFilterFailsTheTask)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}, {"vfilters", "nosuchfilter=1"}});
    EXPECT_EQ(Run(), "Error opening filters!");
    EXPECT_FALSE(Exists(out));
}

// Pictures of another size midway get a graph of their own; the encoder keeps its size.
TEST_F(VideoFilterGraph, SourceSizeChangeMidway)
{
    std::string small = Dir.file("small.m2v"), large = Dir.file("large.m2v");
    Prepare(Clip(), small, {{"vcodec", "mpeg2video"}});
    ASSERT_EQ(Run(), "");
    Task->ResetConverter();
    Prepare(Clip("in2.mkv"), large, {{"vcodec", "mpeg2video"}, {"s", "320x240"}});
    ASSERT_EQ(Run(), "");
    std::string joined = Dir.file("joined.m2v");
    WriteFile(joined, Contents(small) + Contents(large));
    Task->ResetConverter();
    Lines.clear();
    std::string out = Dir.file("out.avi");
    Prepare(joined, out, {{"vcodec", "mpeg4"}, {"vfilters", "hflip"}});
    ASSERT_EQ(Run(), "");
    engine_test::TOutputFacts f = Facts(out);
    EXPECT_EQ(f.Width, 176);
    EXPECT_EQ(f.Height, 144);
    EXPECT_EQ(f.VideoPackets, 50);
    EXPECT_TRUE(Logged(llQuiet, L"Input Stream #0.0 frame size changed to 320x240, yuv420p"));
}

}  // namespace
