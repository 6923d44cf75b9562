// Option records of one conversion task and the records handed to the task events.
// The task component takes a conversion as one TInputOptions per input and one
// TOutputOptions per output; callers reset a record with InitInputOptions /
// InitOutputOptions, fill what they want and hand it over by pointer. Every field has a
// "not set" value that leaves the choice to the media libraries.
// Text fields are String (UTF-16); the metadata texts of TStreamInfo are 8-bit (UTF-8) and
// go to the libraries as they stand.
#pragma once

#include <cstdint>
#include <string>

#include "platform/framework/core/date_time.h"
#include "platform/framework/core/types.h"

class TBitmap;

// The media libraries' marker for a missing time (the smallest Int64).
constexpr int64_t NoTimestamp = INT64_MIN;

enum TOptionTargetType : int32_t { ttIgnore, ttVCD, ttSVCD, ttDVD };
enum TOptionNormType : int32_t { ntAuto, ntPAL, ntNTSC };
// Subrange ntPAL..ntNTSC of TOptionNormType.
using TOptionNormDefault = TOptionNormType;

struct TInputOptions {
    String FileName;    // empty at AddTask/AddInputFile: the call writes the name in
    String FileFormat;  // forced container format ("f"); empty = probe
    int64_t TimeStart;  // microseconds; NoTimestamp = unset
    int ProgramID;      // applied when 0 or more
    String ExtOptions;  // further options as "key=value" lines
    int Tag;            // the caller's, never read
    void* Data;         // the caller's, never read
};
using PInputOptions = TInputOptions*;

struct TStreamInfo {
    TDateTime TimeStamp;  // 0 = now, > 0 = that local time, < 0 = not written
    int Year;             // > 0: "year"
    int Track;            // > 0: "track"
    std::string Title;
    std::string Author;
    std::string Copyright;
    std::string Comment;
    std::string Album;
    std::string Genre;
};

struct TOutputOptions {
    String FileName;
    String FileExt;  // the caller's; not read by the engine
    String FileFormat;
    int PacketSize;    // "packetsize", when > 0
    int MuxRate;       // "muxrate", when > 0
    float MuxDelay;    // seconds, when > 0
    float MuxPreload;  // seconds, when > 0
    String AudioCodec;
    String AudioPreset;
    bool DisableAudio;
    int AudioVolume;            // 256 = unchanged; when 0 or more
    int AudioChannels;          // when > 0
    int AudioSampleRate;        // Hz, when > 0
    int AudioBitrate;           // "ab" bit/s, when > 0
    int AudioBitRateTolerance;  // "abt", when > 0
    String AudioLanguage;
    int AudioSyncMethod;  // always applied
    String AudioTag;      // FourCC, 4 characters
    String VideoCodec;
    String VideoPreset;
    bool DisableVideo;
    String FrameRate;
    String FrameSize;
    String FrameAspectRatio;
    int CropTop, CropBottom, CropLeft, CropRight;
    int GroupPictureSize;       // "g"
    int VideoBitrate;           // "vb"
    int VideoMaxRate;           // "maxrate"
    int VideoMinRate;           // "minrate"
    int VideoBitRateTolerance;  // "bt"
    int VideoBufSize;           // "bufsize"
    int VideoSyncMethod;        // always applied; -1 automatic
    String VideoTag;
    String VideoFilters;
    String VideoLanguage;
    String SubtitleCodec;
    String SubtitlePreset;
    bool DisableSubtitle;
    String SubtitleLanguage;
    bool InputSync;
    bool CopyTimestamp;
    int64_t TimeStart;   // microseconds; NoTimestamp = unset
    int64_t TimeLength;  // microseconds; NoTimestamp = unset
    TStreamInfo Info;
    TOptionTargetType TargetType;
    TOptionNormType NormType;
    TOptionNormDefault NormDefault;
    bool CustomHook;
    bool Join;
    String ExtOptions;
    int Tag;
    void* Data;
};
using POutputOptions = TOutputOptions*;

void InitInputOptions(PInputOptions AOptions);
void InitOutputOptions(POutputOptions AOptions);

// Texts of the target options for SetTarget.
const char* TargetTypeText(TOptionTargetType AType);    // "" for ttIgnore
const char* NormTypeText(TOptionNormType ANorm);        // "auto", "pal", "ntsc"
const char* NormDefaultText(TOptionNormDefault ANorm);  // "pal" for ntPAL, else "ntsc"

// Event records; owned by the task component and valid only during the event call.
struct TProgressInfo {
    int TaskIndex;
    int FileIndex;
    int FrameNumber;          // -1 without video
    int FPS;                  // -1 without video
    float Quality;            // -1 without video or for a copied stream
    float BitRate;            // kbit/s
    int64_t CurrentSize;      // bytes
    int64_t CurrentDuration;  // microseconds
    int64_t TotalDuration;    // microseconds, -1 when unknown
};
using PProgressInfo = TProgressInfo*;

struct TTerminateInfo {
    int TaskIndex;  // -1: the whole queue has ended
    bool Finished;
    bool Exception;
    String ExceptionMsg;
};

struct TPreviewInfo {
    int TaskIndex;
    TBitmap* Bitmap;  // owned by the transcoder
    int FrameNumber;
    int64_t PTS;  // microseconds
};

struct THookInfo {
    int TaskIndex;
    TBitmap* Bitmap;  // the handler may draw on it
    int FrameNumber;
    int64_t PTS;
    bool Update;    // True at the start; the picture is taken back while True
    bool StopHook;  // True ends the custom hook for the rest of the task
};
using PHookInfo = THookInfo*;
