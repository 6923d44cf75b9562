// Picture decoding of the probe on a 25 fps clip with a key frame every 10 pictures (every
// 400 ms): positioning, stepping forward and back, the end of the file, and the copy into
// a bitmap.
#include <cstdlib>
#include <memory>

#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/picture.h"
#include "tests/engine/probe_test_support.h"

using namespace probe_test;

namespace {

// A probe with the clip open.
class ProbeClipTest : public ProbeFixture {
protected:
    virtual std::string Container() const { return "mp4"; }
    void SetUp() override
    {
        ProbeFixture::SetUp();
        Clip = MakeClip("clip." + Container());
        ASSERT_TRUE(Probe.LoadFile(Utf8ToString(Clip))) << StringToUtf8(Probe.LastErrMsg());
    }
    void TearDown() override
    {
        Owned.reset();  // while the libraries are loaded
        ProbeFixture::TearDown();
    }

    int64_t PTS() const { return Probe.FrameInfo().PTS; }

    std::string Clip;
    std::unique_ptr<TAVProbe> Owned = std::make_unique<TAVProbe>(nullptr);
    TAVProbe& Probe = *Owned;
};

// The same clip in containers whose readers position the file in different ways.
class ProbeFramesTest : public ProbeClipTest, public ::testing::WithParamInterface<const char*> {
protected:
    std::string Container() const override { return GetParam(); }
};

// Positioning lands on key frames through the container's index; a transport stream has
// none (its reader positions by time stamps, wherever a picture starts).
class ProbeIndexedTest : public ProbeFramesTest {};

// Lets a test break the decoded picture the way a format without a converter would.
class TBreakableProbe : public TAVProbe {
public:
    using TAVProbe::TAVProbe;
    // A hardware surface format: no converter takes it as input.
    void MakeUnconvertible() { FPicture.PixFmt = AV_PIX_FMT_VAAPI; }
};

}  // namespace

TEST_P(ProbeFramesTest, DecodesPicturesInOrderWithTheirTimes)
{
    ASSERT_TRUE(Probe.Decode(-1));
    const TFrameInfo& f = Probe.FrameInfo();
    EXPECT_TRUE(f.Ready);
    EXPECT_EQ(f.PTS, 0);
    EXPECT_TRUE(f.IsKeyFrame);
    EXPECT_EQ(f.PictureType, ptI);
    EXPECT_EQ(f.Width, 320);
    EXPECT_EQ(f.Height, 240);
    EXPECT_EQ(f.PixFmt, AV_PIX_FMT_YUV420P);
    EXPECT_EQ(f.StreamIndex, 0);
    EXPECT_GE(f.Position, 0);
    EXPECT_GT(Probe.Position(), 0);

    ASSERT_TRUE(Probe.Decode(-1));
    EXPECT_EQ(PTS(), 40000);
    EXPECT_FALSE(Probe.FrameInfo().IsKeyFrame);
    EXPECT_EQ(Probe.FrameInfo().PictureType, ptP);
    ASSERT_TRUE(Probe.Decode(0));
    EXPECT_EQ(PTS(), 80000);

    // Back one picture from the third: two frame durations back, then forward.
    ASSERT_TRUE(Probe.DecodePreviousFrame(-1));
    EXPECT_EQ(PTS(), 40000);
    ASSERT_TRUE(Probe.DecodePreviousFrame(-1));
    EXPECT_EQ(PTS(), 0);
}

TEST_P(ProbeIndexedTest, SeeksByTimeToKeyFrames)
{
    const struct {
        int64_t Target;
        TSeekFlags Flags;
        int64_t Landed;
    } cases[] = {
        {1000000, 0, 1200000},          // forward: the next key frame
        {1000000, sfBackward, 800000},  // backward: the key frame before
        {400000, 0, 400000},
        {-5000000, 0, 0},  // before the start: the start
        {0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Target);
        ASSERT_TRUE(Probe.Seek(c.Target, c.Flags)) << StringToUtf8(Probe.LastErrMsg());
        EXPECT_FALSE(Probe.FrameInfo().Ready);
        ASSERT_TRUE(Probe.Decode(-1));
        EXPECT_EQ(PTS(), c.Landed);
        EXPECT_TRUE(Probe.FrameInfo().IsKeyFrame);
    }
    EXPECT_FALSE(Probe.Seek(60000000, 0));
    EXPECT_EQ(Probe.LastErrMsg(), L"could not seek to position 60.000 seconds");
}

TEST_P(ProbeFramesTest, StepsBetweenKeyFrames)
{
    // Right after opening the next key frame lies at least one frame duration ahead.
    ASSERT_TRUE(Probe.DecodeNextKeyFrame(-1));
    EXPECT_EQ(PTS(), 400000);
    ASSERT_TRUE(Probe.Decode(-1));
    EXPECT_EQ(PTS(), 440000);
    ASSERT_TRUE(Probe.DecodeNextKeyFrame(-1));
    EXPECT_EQ(PTS(), 800000);

    ASSERT_TRUE(Probe.Decode(-1));
    EXPECT_EQ(PTS(), 840000);
    ASSERT_TRUE(Probe.DecodePreviousKeyFrame(-1));
    EXPECT_EQ(PTS(), 800000);
    ASSERT_TRUE(Probe.DecodePreviousKeyFrame(-1));
    EXPECT_EQ(PTS(), 400000);
    ASSERT_TRUE(Probe.DecodePreviousKeyFrame(-1));
    EXPECT_EQ(PTS(), 0);
    EXPECT_TRUE(Probe.FrameInfo().IsKeyFrame);
}

TEST_P(ProbeFramesTest, SteppingBackFromTheFirstPictureEnds)
{
    ASSERT_TRUE(Probe.Decode(-1));
    ASSERT_EQ(PTS(), 0);
    Probe.DecodePreviousKeyFrame(-1);
    EXPECT_EQ(PTS(), 0);
    Probe.DecodePreviousFrame(-1);
    EXPECT_EQ(PTS(), 0);
}

TEST_P(ProbeFramesTest, ReadingToTheEndStopsDecodingUntilTheNextSeek)
{
    int pictures = 0;
    int64_t last = -1;
    while (Probe.Decode(-1)) {
        EXPECT_GT(PTS(), last);
        last = PTS();
        ++pictures;
        ASSERT_LT(pictures, 100);
    }
    EXPECT_EQ(pictures, 50);
    EXPECT_EQ(last, 1960000);
    EXPECT_TRUE(Probe.Eof());
    EXPECT_EQ(Probe.LastErrMsg(), L"stream eof reached.");
    EXPECT_FALSE(Probe.Decode(-1));
    EXPECT_EQ(Probe.LastErrMsg(), L"stream eof reached.");

    // Stepping back from the end still finds the pictures before it.
    ASSERT_TRUE(Probe.Seek(0, 0));
    EXPECT_FALSE(Probe.Eof());
    ASSERT_TRUE(Probe.Decode(-1));
    EXPECT_EQ(PTS(), 0);
}

TEST_F(ProbeClipTest, CopyToBitmapGivesThePicture)
{
    TFrameImage bitmap;
    bitmap.SetSize(4, 4);
    EXPECT_FALSE(Probe.CopyToBitmap(bitmap));
    EXPECT_EQ(Probe.LastErrMsg(), L"picture not ready, please decode first");
    EXPECT_EQ(bitmap.Width, 4);

    ASSERT_TRUE(Probe.Decode(-1));
    ASSERT_TRUE(Probe.CopyToBitmap(bitmap));
    ASSERT_EQ(bitmap.Width, 320);
    ASSERT_EQ(bitmap.Height, 240);

    // The same picture converted by the ffmpeg tool, as packed B, G, R bytes.
    ASSERT_TRUE(RunFFmpeg({"-i", Clip, "-frames:v", "1", "-f", "rawvideo", "-pix_fmt", "bgr24", Path("first.bgr")}));
    const std::string reference = ReadBytes(Path("first.bgr"));
    ASSERT_EQ(reference.size(), 320u * 240u * 3u);
    int worst = 0;
    for (int y = 0; y < 240; y += 7) {
        for (int x = 0; x < 320; x += 5) {
            const uint32_t pixel = Pixel(bitmap, x, y);
            const auto* ref = reinterpret_cast<const uint8_t*>(reference.data()) + (y * 320 + x) * 3;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(static_cast<int>((pixel >> (8 * c)) & 0xFF) - ref[c]));
        }
    }
    EXPECT_LE(worst, 3);
}

TEST_F(ProbeClipTest, CopyToFrameworkBitmapGivesThePicture)
{
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    EXPECT_FALSE(Probe.CopyToBitmap(bitmap));
    EXPECT_EQ(bitmap.Width(), 4);  // untouched while nothing is decoded

    ASSERT_TRUE(Probe.Decode(-1));
    ASSERT_TRUE(Probe.CopyToBitmap(bitmap));
    ASSERT_EQ(bitmap.Width(), 320);
    ASSERT_EQ(bitmap.Height(), 240);
    TFrameImage image;
    ASSERT_TRUE(Probe.CopyToBitmap(image));
    for (int y = 0; y < 240; y += 7)
        for (int x = 0; x < 320; x += 5)
            ASSERT_EQ(bitmap.PixelArgb(x, y), Pixel(image, x, y) | 0xFF000000u) << x << "," << y;

    // The snapshot path: the frame saved as a picture file and read back.
    TPicture picture;
    picture.SetGraphic(&bitmap);
    picture.SaveToFile(Utf8ToString(Path("snapshot.png")));
    TPicture back;
    back.LoadFromFile(Utf8ToString(Path("snapshot.png")));
    EXPECT_EQ(back.Width(), 320);
    TRasterImage pixels = back.Graphic()->ToRasterImage();
    EXPECT_EQ(pixels.Pixel(100, 100), bitmap.PixelArgb(100, 100));
}

TEST_F(ProbeClipTest, FailedConversionFillsTheBitmapBlack)
{
    TBreakableProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(Clip)));
    ASSERT_TRUE(probe.Decode(-1));
    probe.MakeUnconvertible();

    TFrameImage bitmap;
    bitmap.SetSize(8, 8);
    std::fill(bitmap.Pixels.begin(), bitmap.Pixels.end(), 0xFF);
    EXPECT_FALSE(probe.CopyToBitmap(bitmap));
    ASSERT_EQ(bitmap.Width, 320);
    ASSERT_EQ(bitmap.Height, 240);
    for (int y = 0; y < 240; y += 13)
        for (int x = 0; x < 320; x += 11) ASSERT_EQ(Pixel(bitmap, x, y), 0xFF000000u) << x << "," << y;
    EXPECT_TRUE(Logged("convert picture to bitmap failed"));

    TBitmap framework;
    EXPECT_FALSE(probe.CopyToBitmap(framework));
    ASSERT_EQ(framework.Width(), 320);
    EXPECT_EQ(framework.PixelArgb(160, 120), 0xFF000000u);
}

TEST_F(ProbeClipTest, ChoosingAnotherStreamOrFileResetsThePicture)
{
    ASSERT_TRUE(Probe.Decode(-1));
    EXPECT_FALSE(Probe.Decode(5));
    EXPECT_EQ(Probe.LastErrMsg(), L"stream index #5 is invalid.");
    EXPECT_TRUE(Probe.FrameInfo().Ready);

    Probe.CloseFile();
    EXPECT_FALSE(Probe.FrameInfo().Ready);
    EXPECT_EQ(Probe.FrameInfo().PTS, AV_NOPTS_VALUE);
    EXPECT_FALSE(Probe.Decode(-1));
    EXPECT_EQ(Probe.LastErrMsg(), L"file not loaded.");

    ASSERT_TRUE(Probe.LoadFile(Utf8ToString(Clip)));
    ASSERT_TRUE(Probe.Decode(-1));
    EXPECT_EQ(PTS(), 0);
}

// A transport stream cut in the middle of a picture group: the pictures before the first key
// frame cannot be decoded, so the first picture lies after the stream's start.
TEST_F(ProbeFixture, SteppingBackFromAFirstPictureAfterTheStartEnds)
{
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=3", "-c:v", "mpeg2video", "-g",
                           "25", "-bf", "0", Path("whole.ts")}));
    WriteBytes(Path("cut.ts"), ReadBytes(Path("whole.ts")).substr(188 * 100));
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(WPath("cut.ts"))) << StringToUtf8(probe.LastErrMsg());
    ASSERT_TRUE(probe.Decode(-1));
    const int64_t first = probe.FrameInfo().PTS;
    ASSERT_GT(first, 0);
    ASSERT_TRUE(probe.Decode(-1));
    ASSERT_TRUE(probe.DecodePreviousFrame(-1));
    ASSERT_EQ(probe.FrameInfo().PTS, first);

    EXPECT_FALSE(probe.DecodePreviousKeyFrame(-1));
    EXPECT_EQ(probe.LastErrMsg(), L"Could not seek to the previous key-frame. ");
    EXPECT_EQ(probe.FrameInfo().PTS, first);
    EXPECT_FALSE(probe.DecodePreviousFrame(-1));
    EXPECT_EQ(probe.LastErrMsg(), L"Could not seek to the previous key-frame. ");
    EXPECT_EQ(probe.FrameInfo().PTS, first);
}

std::string ContainerName(const ::testing::TestParamInfo<const char*>& info) { return info.param; }
INSTANTIATE_TEST_SUITE_P(Containers, ProbeFramesTest, ::testing::Values("mp4", "avi", "mkv", "ts"), ContainerName);
INSTANTIATE_TEST_SUITE_P(Containers, ProbeIndexedTest, ::testing::Values("mp4", "avi", "mkv"), ContainerName);

TEST_F(ProbeFixture, StillImageIsDecodedOnceAndNotPositioned)
{
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=64x48", "-frames:v", "1", Path("still.tga")}));
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(WPath("still.tga"))) << StringToUtf8(probe.LastErrMsg());
    ASSERT_EQ(probe.FormatName(), L"image2");
    ASSERT_TRUE(probe.Decode(-1));
    EXPECT_TRUE(probe.Decode(-1));  // the picture already decoded, nothing read
    EXPECT_TRUE(probe.FrameInfo().Ready);
    EXPECT_FALSE(probe.Eof());

    EXPECT_FALSE(probe.Seek(0, 0));
    EXPECT_EQ(probe.LastErrMsg(), L"\"image2\" format cannot to be seeked.");
    EXPECT_TRUE(probe.FrameInfo().Ready);
    EXPECT_TRUE(probe.DecodePreviousKeyFrame(-1));

    TFrameImage image;
    ASSERT_TRUE(probe.CopyToBitmap(image));
    EXPECT_EQ(image.Width, 64);
    EXPECT_EQ(image.Height, 48);
}

TEST_F(ProbeFixture, TruncatedFilesGiveWhatTheyHoldAndEnd)
{
    // A transport stream cut in a packet, and an MP4 whose index lists pictures past the cut.
    ASSERT_TRUE(RunFFmpeg(
        {"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-c:v", "mpeg2video", Path("whole.ts")}));
    WriteBytes(Path("part.ts"), ReadBytes(Path("whole.ts")).substr(0, 188 * 150 + 77));
    WriteBytes(Path("part.mp4"), ReadBytes(MakeClip()).substr(0, 30000));

    for (const char* name : {"part.ts", "part.mp4"}) {
        SCOPED_TRACE(name);
        TAVProbe probe(nullptr);
        ASSERT_TRUE(probe.LoadFile(WPath(name))) << StringToUtf8(probe.LastErrMsg());
        int pictures = 0;
        int64_t last = -1;
        while (probe.Decode(-1)) {
            last = probe.FrameInfo().PTS;
            ASSERT_LT(++pictures, 50);
        }
        EXPECT_GT(pictures, 1);
        EXPECT_TRUE(probe.Eof());
        EXPECT_EQ(probe.LastErrMsg(), L"stream eof reached.");
        // The last picture is kept; stepping back from it works.
        EXPECT_EQ(probe.FrameInfo().PTS, last);
        ASSERT_TRUE(probe.DecodePreviousFrame(-1)) << StringToUtf8(probe.LastErrMsg());
        EXPECT_EQ(probe.FrameInfo().PTS, last - 40000);
    }
}

TEST_F(ProbeFixture, SeeksByBytesWithoutTheStartTime)
{
    // A transport stream starts its clock well above 0; byte offsets must not be shifted by it.
    const std::string clip = MakeClip("clip.ts");
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(Utf8ToString(clip)));
    const int64_t size = probe.FileSize();
    ASSERT_GT(size, 0);

    ASSERT_TRUE(probe.Seek(0, sfByte)) << StringToUtf8(probe.LastErrMsg());
    ASSERT_TRUE(probe.Decode(-1));
    EXPECT_EQ(probe.FrameInfo().PTS, 0);

    ASSERT_TRUE(probe.Seek(size / 2, sfByte)) << StringToUtf8(probe.LastErrMsg());
    ASSERT_TRUE(probe.Decode(-1));
    EXPECT_GT(probe.FrameInfo().PTS, 400000);
    EXPECT_LT(probe.FrameInfo().PTS, 1600000);

    // Past the end there is nothing to decode.
    probe.Seek(size * 4, sfByte);
    EXPECT_FALSE(probe.Decode(-1));
    EXPECT_EQ(probe.LastErrMsg(), L"stream eof reached.");
}

TEST_F(ProbeFixture, PicturesHeldByTheDecoderComeOutAtTheEnd)
{
    // With B-pictures the decoder gives each picture out one packet late.
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=320x240:rate=25:duration=2", "-c:v", "mpeg4", "-g", "10",
                           "-bf", "2", Path("b.mp4")}));
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(WPath("b.mp4")));
    std::vector<int64_t> times;
    while (probe.Decode(-1)) times.push_back(probe.FrameInfo().PTS);
    ASSERT_EQ(times.size(), 50u);
    for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], static_cast<int64_t>(i) * 40000);
}

TEST_F(ProbeFixture, CoverPictureOfASoundFileIsDecoded)
{
    // A sound file with a cover: one picture stream holding a single picture.
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "testsrc=size=64x64", "-frames:v", "1", Path("cover.png")}));
    ASSERT_TRUE(RunFFmpeg({"-f", "lavfi", "-i", "sine=duration=1", "-i", Path("cover.png"), "-map", "0", "-map", "1",
                           "-c:a", "libmp3lame", "-c:v", "png", "-disposition:v", "attached_pic", Path("song.mp3")}));
    TAVProbe probe(nullptr);
    ASSERT_TRUE(probe.LoadFile(WPath("song.mp3")));
    ASSERT_EQ(probe.VideoStreamCount(), 1);
    ASSERT_TRUE(probe.Decode(-1)) << StringToUtf8(probe.LastErrMsg());
    EXPECT_EQ(probe.FrameInfo().Width, 64);
    EXPECT_FALSE(probe.Decode(-1));  // one picture only
    EXPECT_EQ(probe.LastErrMsg(), L"stream eof reached.");

    // Positioning goes by the sound, and the cover comes again after it.
    ASSERT_TRUE(probe.Seek(0, 0)) << StringToUtf8(probe.LastErrMsg());
    ASSERT_TRUE(probe.Decode(-1)) << StringToUtf8(probe.LastErrMsg());
    EXPECT_EQ(probe.FrameInfo().Width, 64);
    EXPECT_TRUE(probe.DecodePreviousKeyFrame(-1)) << StringToUtf8(probe.LastErrMsg());
    EXPECT_TRUE(probe.FrameInfo().Ready);
}
