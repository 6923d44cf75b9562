// Media utilities shared by the transcoder, the probe and the player: time and error texts, the
// option contexts through which options are set by name (TFFOptions), reading a whole file into
// a library buffer, turning a decoded picture into a bitmap (TRGBConvertContext), metadata
// values, codec display names and media type names. Plain routines; records belong to callers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/av_api.h"
#include "platform/framework/core/types.h"

class TBitmap;

// "hh:mm:ss.zzz" of a time in microseconds (hours not wrapped); "N/A" for AV_NOPTS_VALUE.
String DurationToText(int64_t AMicroseconds);
// Duration of one frame at a rate, in microseconds (40000 when the rate has a 0 part).
int64_t FrameDuration(AVRational ARate);
// APrefix + ": " + the text of a library error code: the engine's own text for the common
// codes, else the libraries' (or the C library's) name of the error, else "Error number %d
// occurred".
String ErrorCodeText(const String& APrefix, int ACode);

// The contexts through which the engine's options are set by name. One per transcoder.
struct TFFOptions {
    std::vector<const char*> opt_names;                  // each the option's own name in the libraries' tables
    AVCodecContext* avcodec_opts[AVMEDIA_TYPE_NB] = {};  // video, audio, data, subtitle, attachment
    AVFormatContext* avformat_opts = nullptr;
    SwsContext* sws_opts = nullptr;
    int opt_name_count() const { return static_cast<int>(opt_names.size()); }
    // While packed (PackFFOptions) the contexts above are freed and each one's options that
    // differ from its defaults are kept as "name=value" pairs (the codec contexts by type, then
    // the format context, then the scaler's); opt_names stays as it was.
    bool packed = false;
    std::string packed_opts[AVMEDIA_TYPE_NB + 2];
    int packed_sws_flags = 0;
};

void InitFFOptions(TFFOptions& AOptions);
void AllocFFOptions(TFFOptions& AOptions, int ASwsFlags);
void FreeFFOptions(TFFOptions& AOptions);
// Frees the contexts of a task that waits to start, keeping what was set on them as text; True
// when packed. Nothing changes when a context's options would not come back exactly as they
// are. UnpackFFOptions makes the contexts again with those values (nothing when not packed).
bool PackFFOptions(TFFOptions& AOptions);
void UnpackFFOptions(TFFOptions& AOptions);
// Sets one option by name on every generic context whose type takes it; True when one did. A
// refused value logs "Invalid value "%s" for option "%s"" at error level and gives False.
bool SetFFOption(TFFOptions& AOptions, const char* AName, const char* AValue, bool* AKnown = nullptr);
// Copies the recorded options whose flags hold all of AFlags from ASource to ATarget.
void ApplyFFOptions(const TFFOptions& AOptions, void* ATarget, void* ASource, int AFlags);
// The name and value pairs ApplyFFOptions sets, in the order it sets them; SetFFOptionPairs sets
// such pairs on a context the way ApplyFFOptions does.
std::vector<std::pair<std::string, std::string>> SelectFFOptions(const TFFOptions& AOptions, void* ASource, int AFlags);
void SetFFOptionPairs(void* ATarget, const std::vector<std::pair<std::string, std::string>>& APairs);

// Reads a whole file into an av_malloc'ed buffer with a terminating zero (counted in ASize):
// 0, -1 when the file cannot be opened, -12 when memory runs out. Free with av_free.
int ReadWholeFile(const char* AFileName, uint8_t** ABuffer, int* ASize);

// A decoded picture's planes.
struct TAVPicture {
    uint8_t* data[4] = {};
    int linesize[4] = {};
};

// A picture as 32-bit pixels, B, G, R, A bytes, top row first, Stride = Width * 4.
// (Stands for the framework's TBitmap until that exists; PictureToBitmap fills it.)
struct TFrameImage {
    int Width = 0;
    int Height = 0;
    int Stride = 0;
    std::vector<uint8_t> Pixels;
    void SetSize(int AWidth, int AHeight);
    uint8_t* ScanLine(int ARow) { return Pixels.data() + static_cast<size_t>(ARow) * Stride; }
    const uint8_t* ScanLine(int ARow) const { return Pixels.data() + static_cast<size_t>(ARow) * Stride; }
};

// The conversion of decoded pictures into an image, reused across calls by its owner.
struct TRGBConvertContext {
    AVPixelFormat RGBPixFmt = AV_PIX_FMT_BGRA;  // layout of the intermediate picture and the image
    std::unique_ptr<TFrameImage> Bitmap;        // created on first use
    uint8_t* RGBBuf = nullptr;                  // av_malloc'ed, only grows
    int RGBBufSize = 0;
    TAVPicture RGBPicture;                      // laid over RGBBuf
    const TAVPicture* RGBPictureRef = nullptr;  // the picture last copied into the image
    SwsContext* toRGB_convert_ctx = nullptr;
    SwsContext* fromRGB_convert_ctx = nullptr;  // made by callers that write an image back
};

void ResetRGBContext(TRGBConvertContext& AContext);
std::unique_ptr<TFrameImage> CreateFrameBitmap(int AWidth, int AHeight);
// Copies a decoded picture into AContext.Bitmap, converting through the scaler unless it already
// has the image's layout; False when no scaler can be made.
bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, int APixFmt, int AWidth, int AHeight);
bool PictureToBitmap(TRGBConvertContext& AContext, const AVFrame* AFrame);
// The same, then the picture copied into a framework bitmap (32 bits per pixel, opaque); on
// False ABitmap is left as it was.
bool PictureToBitmap(TRGBConvertContext& AContext, const TAVPicture& APicture, int APixFmt, int AWidth, int AHeight,
                     TBitmap& ABitmap);
bool PictureToBitmap(TRGBConvertContext& AContext, const AVFrame* AFrame, TBitmap& ABitmap);
// Copies an image into a framework bitmap of its size (pf32bit).
void FrameImageToBitmap(const TFrameImage& AImage, TBitmap& ABitmap);

// The value of a metadata key (case-insensitive), else ADefault.
String GetMetadataText(const AVDictionary* AMetadata, const char* AKey, const String& ADefault);
// "name(long name)" of the codec, else "mpeg2ts", else the tag as "ABCD / 0x...", else "0x....".
String CodecNameText(AVCodecID ACodecId, uint32_t ACodecTag, bool AEncoder);
String CodecNameText(const AVCodecParameters* APar, bool AEncoder);
String CodecNameText(const AVCodecContext* AContext, bool AEncoder);
// "Video", "Audio", "Data", "Subtitle", "Attachment", else "Unknown".
String MediaTypeName(int AMediaType);
