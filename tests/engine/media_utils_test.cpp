// Media utilities: texts, options by name on real library contexts, whole-file reading, decoded
// pictures turned into images, codec and media type names.
#include <cstring>
#include <fstream>

#include "engine/media_utils.h"

#include "engine/logger.h"
#include "engine_test_support.h"
#include "media_test_support.h"
#include "platform/base/main_thread.h"
#include "platform/framework/graphics/bitmap.h"

using namespace engine_test;

TEST(MediaTexts, DurationToText)
{
    const std::pair<int64_t, const wchar_t*> cases[] = {
        {AV_NOPTS_VALUE, L"N/A"},         {0, L"00:00:00.000"},  {3723004000LL, L"01:02:03.004"},
        {90000000000LL, L"25:00:00.000"}, {-1, L"00:00:00.000"}, {999999, L"00:00:00.999"},
    };
    for (auto& [us, text] : cases) EXPECT_EQ(DurationToText(us), text) << us;
}

TEST(MediaTexts, FrameDuration)
{
    const std::pair<AVRational, int64_t> cases[] = {
        {{25, 1}, 40000}, {{30000, 1001}, 33366}, {{0, 1}, 40000}, {{25, 0}, 40000}, {{24, 1}, 41666}};
    for (auto& [rate, us] : cases) EXPECT_EQ(FrameDuration(rate), us) << rate.num << "/" << rate.den;
}

TEST(MediaTexts, ErrorCodeText)
{
    const std::pair<int, const wchar_t*> cases[] = {
        {AVERROR(ENOENT), L"No such file or directory"},
        {AVERROR(EIO), L"I/O error"},
        {AVERROR(ENOMEM), L"Not enough memory"},
        {AVERROR(EINVAL), L"Invalid data found when processing input"},
        {AVERROR_INVALIDDATA, L"Invalid data found when processing input"},
        {AVERROR_EOF, L"End of file"},
        {-32, L"End of file"},
        {AVERROR(EDOM), L"Number syntax expected in filename"},
        {AVERROR(EILSEQ), L"Unknown format"},
        {AVERROR_DEMUXER_NOT_FOUND, L"Unknown format"},
        {AVERROR_PROTOCOL_NOT_FOUND, L"Unsupported network protocol"},
        {AVERROR_PATCHWELCOME, L"Not yet implemented in FFmpeg"},
        // Other system errors by their name, with and without the libraries.
        {AVERROR(EACCES), L"Permission denied"},
        {AVERROR(ENOTDIR), L"Not a directory"},
        {AVERROR(EISDIR), L"Is a directory"},
        {AVERROR(ENOSPC), L"No space left on device"},
        {-99999, L"Error number -99999 occurred"},
    };
    for (auto& [code, text] : cases) EXPECT_EQ(ErrorCodeText(L"clip.avi", code), String(L"clip.avi: ") + text) << code;
    ASSERT_TRUE(DefaultLoader().Load(ProbeLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
    for (auto& [code, text] : cases) EXPECT_EQ(ErrorCodeText(L"clip.avi", code), String(L"clip.avi: ") + text) << code;
    EXPECT_EQ(ErrorCodeText(L"clip.avi", AVERROR_BSF_NOT_FOUND), L"clip.avi: Bitstream filter not found");
    DefaultLoader().Unload(ProbeLibraries);
}

TEST(MediaTexts, MediaTypeAndCodecNames)
{
    const std::pair<int, const wchar_t*> types[] = {{0, L"Video"},    {1, L"Audio"},      {2, L"Data"},
                                                    {3, L"Subtitle"}, {4, L"Attachment"}, {5, L"Unknown"},
                                                    {-1, L"Unknown"}};
    for (auto& [t, name] : types) EXPECT_EQ(MediaTypeName(t), name) << t;

    ASSERT_TRUE(DefaultLoader().Load(ProbeLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
    EXPECT_EQ(CodecNameText(AV_CODEC_ID_MPEG4, 0, false), L"mpeg4(MPEG-4 part 2)");
    EXPECT_EQ(CodecNameText(AV_CODEC_ID_NONE, MKTAG('X', 'V', 'I', 'D'), false), L"XVID / 0x44495658");
    EXPECT_EQ(CodecNameText(AV_CODEC_ID_NONE, 1, false), L"0x0001");
    EXPECT_EQ(CodecNameText(AV_CODEC_ID_MPEG2TS, 0, true), L"mpeg2ts");

    AVDictionary* meta = nullptr;
    av::av_dict_set(&meta, "Title", "标题", 0);
    EXPECT_EQ(GetMetadataText(meta, "title", L"none"), L"标题");
    EXPECT_EQ(GetMetadataText(meta, "album", L"none"), L"none");
    EXPECT_EQ(GetMetadataText(nullptr, "title", L""), L"");
    av::av_dict_free(&meta);
    DefaultLoader().Unload(ProbeLibraries);
}

TEST(MediaFiles, ReadWholeFile)
{
    TempDir tmp;
    std::ofstream(tmp.file("十.txt"), std::ios::binary) << "0123456789";
    ASSERT_TRUE(DefaultLoader().Load(avUtil));
    uint8_t* buffer = nullptr;
    int size = 0;
    ASSERT_EQ(ReadWholeFile(tmp.file("十.txt").c_str(), &buffer, &size), 0);
    EXPECT_EQ(size, 11);
    EXPECT_EQ(buffer[10], 0);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer)), "0123456789");
    av::av_free(buffer);
    EXPECT_EQ(ReadWholeFile(tmp.file("missing.txt").c_str(), &buffer, &size), -1);
    EXPECT_EQ(buffer, nullptr);
    DefaultLoader().Unload(avUtil);
}

// Options by name on the generic contexts; the log lines of refused values are captured.
class FFOptionsTest : public LibrariesFixture {
protected:
    void SetUp() override
    {
        LoadOrFail(ConverterLibraries);
        FSavedLevel = DefaultLogger()->LogLevel();
        DefaultLogger()->SetLogLevel(llInfo);
        DefaultLogger()->SetOnLog([this](TObject*, uint32_t, TLogLevel l, const String& m) {
            if (l <= llError) FErrors.push_back(m);
        });
        InitFFOptions(FOpts);
        AllocFFOptions(FOpts, SWS_BICUBIC);
    }
    void TearDown() override
    {
        FreeFFOptions(FOpts);
        DefaultLogger()->SetOnLog(nullptr);
        DefaultLogger()->SetLogLevel(FSavedLevel);
        LibrariesFixture::TearDown();
    }
    TFFOptions FOpts;
    std::vector<String> FErrors;
    TLogLevel FSavedLevel = llInfo;
};

TEST_F(FFOptionsTest, SetByNameOnTheRightContexts)
{
    ASSERT_NE(FOpts.avcodec_opts[AVMEDIA_TYPE_AUDIO], nullptr);
    int64_t audioDefault = FOpts.avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate;

    EXPECT_TRUE(SetFFOption(FOpts, "b", "1000k"));
    EXPECT_EQ(FOpts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->bit_rate, 1000000);
    EXPECT_EQ(FOpts.avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate, audioDefault);  // video only
    EXPECT_TRUE(SetFFOption(FOpts, "ab", "128k"));
    EXPECT_EQ(FOpts.avcodec_opts[AVMEDIA_TYPE_AUDIO]->bit_rate, 128000);
    EXPECT_EQ(FOpts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->bit_rate, 1000000);
    // A generic option reaches every codec context whose type lets it through ("strict" is an
    // audio and video option: not the subtitle context).
    EXPECT_TRUE(SetFFOption(FOpts, "strict", "-2"));
    for (int t : {AVMEDIA_TYPE_VIDEO, AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_DATA, AVMEDIA_TYPE_ATTACHMENT})
        EXPECT_EQ(FOpts.avcodec_opts[t]->strict_std_compliance, -2) << t;
    EXPECT_EQ(FOpts.avcodec_opts[AVMEDIA_TYPE_SUBTITLE]->strict_std_compliance, 0);
    // Format and scaler options.
    EXPECT_TRUE(SetFFOption(FOpts, "packetsize", "2048"));
    EXPECT_EQ(FOpts.avformat_opts->packet_size, 2048u);
    EXPECT_TRUE(SetFFOption(FOpts, "sws_flags", "bilinear"));
    int64_t swsFlags = 0;
    av::av_opt_get_int(FOpts.sws_opts, "sws_flags", 0, &swsFlags);
    EXPECT_EQ(swsFlags, SWS_BILINEAR);
    // "v"/"a"/"s" before a codec option name the type.
    EXPECT_TRUE(SetFFOption(FOpts, "vqmin", "3"));
    EXPECT_EQ(FOpts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->qmin, 3);

    ASSERT_EQ(FOpts.opt_name_count(), 6);  // one entry per accepted option, however many took it
    const char* expected[] = {"b", "ab", "strict", "packetsize", "sws_flags", "qmin"};
    for (int i = 0; i < 6; ++i) EXPECT_STREQ(FOpts.opt_names[i], expected[i]);
    EXPECT_TRUE(FErrors.empty());
}

TEST_F(FFOptionsTest, RefusedAndUnknownOptions)
{
    EXPECT_FALSE(SetFFOption(FOpts, "   ", "1"));
    EXPECT_FALSE(SetFFOption(FOpts, "b", ""));
    EXPECT_FALSE(SetFFOption(FOpts, "b", "  "));
    EXPECT_FALSE(SetFFOption(FOpts, "no_such_option", "1"));
    EXPECT_TRUE(FErrors.empty());  // unknown names are not logged
    EXPECT_FALSE(SetFFOption(FOpts, "b", "fast"));
    ASSERT_FALSE(FErrors.empty());
    // The library reports its own reason first; the engine's line comes last.
    EXPECT_EQ(FErrors.back(), L"Invalid value \"fast\" for option \"b\"");
    EXPECT_EQ(FOpts.opt_name_count(), 0);
}

TEST_F(FFOptionsTest, DebugValueRaisesTheLogLevel)
{
    EXPECT_TRUE(SetFFOption(FOpts, "debug", "pict"));
    EXPECT_EQ(DefaultLogger()->LogLevel(), llDebug);
}

TEST_F(FFOptionsTest, ApplyToRealEncoderContextsByType)
{
    ASSERT_TRUE(SetFFOption(FOpts, "b", "800k"));
    ASSERT_TRUE(SetFFOption(FOpts, "ab", "96k"));
    ASSERT_TRUE(SetFFOption(FOpts, "g", "12"));
    AVCodecContext* video = av::avcodec_alloc_context3(av::avcodec_find_encoder(AV_CODEC_ID_MPEG4));
    AVCodecContext* audio = av::avcodec_alloc_context3(av::avcodec_find_encoder(AV_CODEC_ID_AAC));
    ApplyFFOptions(FOpts, video, FOpts.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                   AV_OPT_FLAG_VIDEO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    ApplyFFOptions(FOpts, audio, FOpts.avcodec_opts[AVMEDIA_TYPE_AUDIO],
                   AV_OPT_FLAG_AUDIO_PARAM | AV_OPT_FLAG_ENCODING_PARAM);
    EXPECT_EQ(video->bit_rate, 800000);
    EXPECT_EQ(video->gop_size, 12);
    EXPECT_EQ(audio->bit_rate, 96000);  // the video bit rate never reaches the audio encoder
    av::avcodec_free_context(&video);
    av::avcodec_free_context(&audio);
}

// A waiting task's holders are freed and made again with every value set on them, whether by
// name, by a field (the global-header flag) or with characters the packed text escapes.
TEST_F(FFOptionsTest, PackedOptionsComeBackAsTheyWere)
{
    ASSERT_TRUE(SetFFOption(FOpts, "b", "800k"));
    ASSERT_TRUE(SetFFOption(FOpts, "ab", "96k"));
    ASSERT_TRUE(SetFFOption(FOpts, "strict", "-2"));
    ASSERT_TRUE(SetFFOption(FOpts, "packetsize", "2048"));
    ASSERT_TRUE(SetFFOption(FOpts, "sws_flags", "bilinear"));
    ASSERT_TRUE(SetFFOption(FOpts, "dump_separator", " x=y,z\\w "));
    FOpts.avcodec_opts[AVMEDIA_TYPE_VIDEO]->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    const std::vector<const char*> names = FOpts.opt_names;

    ASSERT_TRUE(PackFFOptions(FOpts));
    EXPECT_TRUE(FOpts.packed);
    for (AVCodecContext* ctx : FOpts.avcodec_opts) EXPECT_EQ(ctx, nullptr);
    EXPECT_EQ(FOpts.avformat_opts, nullptr);
    EXPECT_EQ(FOpts.sws_opts, nullptr);
    EXPECT_EQ(FOpts.opt_names, names);

    UnpackFFOptions(FOpts);
    EXPECT_FALSE(FOpts.packed);
    AVCodecContext* video = FOpts.avcodec_opts[AVMEDIA_TYPE_VIDEO];
    AVCodecContext* audio = FOpts.avcodec_opts[AVMEDIA_TYPE_AUDIO];
    ASSERT_NE(video, nullptr);
    ASSERT_NE(audio, nullptr);
    EXPECT_EQ(video->bit_rate, 800000);
    EXPECT_EQ(audio->bit_rate, 96000);
    EXPECT_EQ(audio->codec_type, AVMEDIA_TYPE_AUDIO);
    EXPECT_EQ(video->strict_std_compliance, -2);
    EXPECT_EQ(FOpts.avcodec_opts[AVMEDIA_TYPE_SUBTITLE]->strict_std_compliance, 0);
    EXPECT_NE(video->flags & AV_CODEC_FLAG_GLOBAL_HEADER, 0);
    uint8_t* text = nullptr;
    ASSERT_GE(av::av_opt_get(video, "dump_separator", 0, &text), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(text), " x=y,z\\w ");
    av::av_free(text);
    EXPECT_EQ(FOpts.avformat_opts->packet_size, 2048u);
    int64_t swsFlags = 0;
    av::av_opt_get_int(FOpts.sws_opts, "sws_flags", 0, &swsFlags);
    EXPECT_EQ(swsFlags, SWS_BILINEAR);
    EXPECT_EQ(FOpts.opt_names, names);
    EXPECT_TRUE(FErrors.empty());
}

class PictureTest : public LibrariesFixture {
protected:
    void SetUp() override
    {
        LoadOrFail(ConverterLibraries);
        ResetRGBContext(FCtx);
    }
    void TearDown() override
    {
        ResetRGBContext(FCtx);
        LibrariesFixture::TearDown();
    }
    TRGBConvertContext FCtx;
};

TEST_F(PictureTest, DecodedYuvFrameConvertsThroughTheScaler)
{
    FilterSource red("color=c=red:size=64x48", AV_PIX_FMT_YUV420P);
    ASSERT_TRUE(red.Ok());
    AVFrame* f = red.Next();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(PictureToBitmap(FCtx, f));
    ASSERT_NE(FCtx.Bitmap, nullptr);
    const TFrameImage& img = *FCtx.Bitmap;
    EXPECT_EQ(img.Width, 64);
    EXPECT_EQ(img.Height, 48);
    EXPECT_EQ(img.Stride, 256);
    for (int y : {0, 23, 47})
        for (int x : {0, 31, 63}) {
            const uint8_t* p = img.ScanLine(y) + x * 4;
            EXPECT_LE(p[0], 8) << x << "," << y;    // blue
            EXPECT_LE(p[1], 8) << x << "," << y;    // green
            EXPECT_GE(p[2], 245) << x << "," << y;  // red
        }
    EXPECT_EQ(FCtx.RGBPictureRef, &FCtx.RGBPicture);
    EXPECT_NE(FCtx.toRGB_convert_ctx, nullptr);
}

TEST_F(PictureTest, PictureInTheImageLayoutIsCopiedDirectly)
{
    FilterSource src("testsrc=size=64x48:rate=25", AV_PIX_FMT_BGRA);
    AVFrame* f = src.Next();
    ASSERT_NE(f, nullptr);
    ASSERT_EQ(f->linesize[0], 256);
    TAVPicture pic;
    pic.data[0] = f->data[0];
    pic.linesize[0] = f->linesize[0];
    ASSERT_TRUE(PictureToBitmap(FCtx, pic, AV_PIX_FMT_BGRA, 64, 48));
    EXPECT_EQ(FCtx.RGBPictureRef, &pic);  // no conversion
    EXPECT_EQ(FCtx.toRGB_convert_ctx, nullptr);
    for (int y = 0; y < 48; ++y)
        ASSERT_EQ(std::memcmp(FCtx.Bitmap->ScanLine(y), f->data[0] + y * f->linesize[0], 256), 0) << y;
}

TEST_F(PictureTest, OddSizeConvertsAndTheBufferIsReused)
{
    FilterSource big("testsrc=size=65x49:rate=25", AV_PIX_FMT_BGRA);
    AVFrame* f = big.Next();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(PictureToBitmap(FCtx, f));  // odd width: through the scaler although BGRA
    EXPECT_EQ(FCtx.RGBPictureRef, &FCtx.RGBPicture);
    EXPECT_EQ(FCtx.Bitmap->Width, 65);
    // The scaler only converts the layout: pixels come out as they went in.
    for (int y : {0, 30, 48})
        EXPECT_EQ(std::memcmp(FCtx.Bitmap->ScanLine(y), f->data[0] + y * f->linesize[0], 65 * 4), 0) << y;
    uint8_t* buffer = FCtx.RGBBuf;
    int bufferSize = FCtx.RGBBufSize;

    FilterSource small("testsrc=size=33x25:rate=25", AV_PIX_FMT_YUV420P);
    AVFrame* g = small.Next();
    ASSERT_NE(g, nullptr);
    ASSERT_TRUE(PictureToBitmap(FCtx, g));
    EXPECT_EQ(FCtx.RGBBuf, buffer);  // a smaller picture keeps the buffer
    EXPECT_EQ(FCtx.RGBBufSize, bufferSize);
    EXPECT_EQ(FCtx.Bitmap->Width, 33);
    EXPECT_EQ(FCtx.Bitmap->Height, 25);
    EXPECT_EQ(FCtx.Bitmap->Pixels.size(), 33u * 25 * 4);
}

TEST_F(PictureTest, FramesCopyIntoAFrameworkBitmap)
{
    FilterSource src("testsrc=size=64x48:rate=25", AV_PIX_FMT_YUV420P);
    AVFrame* f = src.Next();
    ASSERT_NE(f, nullptr);
    TBitmap bitmap;
    ASSERT_TRUE(PictureToBitmap(FCtx, f, bitmap));
    EXPECT_EQ(bitmap.Width(), 64);
    EXPECT_EQ(bitmap.Height(), 48);
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
    for (int y = 0; y < 48; ++y) ASSERT_EQ(std::memcmp(bitmap.ScanLine(y), FCtx.Bitmap->ScanLine(y), 64 * 4), 0) << y;
    EXPECT_EQ(bitmap.PixelArgb(10, 10) >> 24, 0xFFu);

    // The picture overload, and a canvas that draws on the copy.
    TAVPicture pic;
    for (int i = 0; i < 4; ++i) {
        pic.data[i] = f->data[i];
        pic.linesize[i] = f->linesize[i];
    }
    TBitmap second;
    ASSERT_TRUE(PictureToBitmap(FCtx, pic, f->format, 64, 48, second));
    second.Canvas()->Brush()->SetColor(clRed);
    second.Canvas()->FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(second.PixelArgb(1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(std::memcmp(second.ScanLine(40), bitmap.ScanLine(40), 64 * 4), 0);

    // A failed conversion leaves the bitmap as it was.
    TAVPicture empty;
    EXPECT_FALSE(PictureToBitmap(FCtx, empty, AV_PIX_FMT_YUV420P, 64, 48, second));
    EXPECT_FALSE(PictureToBitmap(FCtx, nullptr, second));
    EXPECT_EQ(second.Width(), 64);
    EXPECT_EQ(second.PixelArgb(1, 1) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(PictureTest, NoPictureNoImage)
{
    TAVPicture empty;
    EXPECT_FALSE(PictureToBitmap(FCtx, empty, AV_PIX_FMT_YUV420P, 64, 48));
    EXPECT_FALSE(PictureToBitmap(FCtx, nullptr));
}
