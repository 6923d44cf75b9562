// Media probe: reads what a media file holds (streams, programs, metadata, a multi-line
// description) and, in TAVProbe, decodes single pictures of its video streams.
// Called by the main window when files are added and for snapshots, by the task component
// (one probe per input, adopting the input's format context) and by the player.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/av_bindings.h"
#include "engine/base_component.h"
#include "engine/library_loader.h"
#include "engine/media_utils.h"
#include "engine/seek_flags.h"
#include "platform/framework/core/types.h"

// The libraries' picture type numbers 0 to 7.
enum TPictureType { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

// One decoded picture with its own buffer (owned by the probe, reused and grown).
struct TFrameInfo {
    int PixFmt = -1;
    int Width = -1;
    int Height = -1;
    bool IsKeyFrame = false;
    TPictureType PictureType = ptUnknown;
    int64_t PTS = AV_NOPTS_VALUE;          // microseconds from the stream's start time
    int64_t OriginalDTS = AV_NOPTS_VALUE;  // stream time base
    int64_t OriginalPTS = AV_NOPTS_VALUE;  // stream time base
    int StreamIndex = -1;
    int64_t Position = -1;  // I/O position before the packets were read
    bool Ready = false;
    TAVPicture Picture{};
    uint8_t* Buffer = nullptr;
    int Size = 0;
};

// File-level facts; every number -1 and every text empty when no file is open.
struct TFileStreamInfo {
    int64_t StartTime = -1;  // microseconds
    int64_t Duration = -1;   // microseconds
    int BitRate = -1;
    int64_t TimeStamp = -1;  // seconds since 1970-01-01
    int Year = -1;
    int Track = -1;
    String Title, Author, Copyright, Comment, Album, Genre;
};

struct TAudioStreamInfo {
    String Language, CodecName;
    int64_t StartTime = -1, StartTimeScaled = -1, Duration = -1, DurationScaled = -1;
    int BitRate = -1, Channels = -1, SampleRate = -1;
    int SampleFormat = -1;
};

struct TVideoStreamInfo {
    String Language, CodecName;
    int64_t StartTime = -1, StartTimeScaled = -1, Duration = -1, DurationScaled = -1;
    int BitRate = -1, Height = -1, Width = -1;
    float AspectRatio = -1.0f;
    int PixFmt = -1;
    AVRational FrameRate{-1, -1};
};

struct TSubtitleStreamInfo {
    String Language, CodecName;
};

class TCustomAVProbe : public TFFBaseComponent {
public:
    explicit TCustomAVProbe(TComponent* AOwner);
    ~TCustomAVProbe() override;

    bool AVLibLoaded() const;
    bool LoadAVLib(const String& APath);
    void UnloadAVLib();

    // Opens a file (the format is detected when AFormatName is empty); False with LastErrMsg.
    bool LoadFile(const String& AFileName, const String& AFormatName = String());
    virtual void CloseFile();

    bool IsAudioStream(int AStreamIndex);
    bool IsVideoStream(int AStreamIndex);
    bool IsSubtitleStream(int AStreamIndex);

    AVFormatContext* FileHandle() const { return FFileHandle; }
    // Adopts a format context that another component opened and keeps owning.
    virtual void SetFileHandle(AVFormatContext* Value);

    String FileName();
    int64_t FileSize() const { return FFileSize; }
    const String& ForceFormat() const { return FForceFormat; }
    String FormatName();
    String FormatLongName();
    int StreamCount() const { return FStreamCount; }
    int ProgramCount() const { return FProgramCount; }
    int AudioStreamCount() const { return FAudioStreamCount; }
    int VideoStreamCount() const { return FVideoStreamCount; }
    int SubtitleStreamCount() const { return FSubtitleStreamCount; }
    int FirstAudioStreamIndex() const { return FFirstAudioStreamIndex; }
    int FirstVideoStreamIndex() const { return FFirstVideoStreamIndex; }
    int FirstSubtitleStreamIndex() const { return FFirstSubtitleStreamIndex; }
    TFileStreamInfo FileStreamInfo();
    String FileInfoText();
    TAudioStreamInfo FirstAudioStreamInfo() { return GetAudioStreamInfo(-1); }
    TVideoStreamInfo FirstVideoStreamInfo() { return GetVideoStreamInfo(-1); }
    TSubtitleStreamInfo FirstSubtitleStreamInfo() { return GetSubtitleStreamInfo(-1); }
    const String& LastErrMsg() const { return FLastErrMsg; }

    TAudioStreamInfo GetAudioStreamInfo(int AStreamIndex);
    TVideoStreamInfo GetVideoStreamInfo(int AStreamIndex);
    TSubtitleStreamInfo GetSubtitleStreamInfo(int AStreamIndex);

protected:
    bool StreamIsOfType(int AStreamIndex, int AType);
    // Holds CodecLock while it lives (opening and closing codecs, the stream analysis).
    class TCodecLockScope {
    public:
        TCodecLockScope() { CodecLock().Enter(); }
        ~TCodecLockScope() { CodecLock().Leave(); }
        TCodecLockScope(const TCodecLockScope&) = delete;
        TCodecLockScope& operator=(const TCodecLockScope&) = delete;
    };

    virtual void RefreshFileInfo();
    // Logs the message at the log level matching the library level and keeps it as LastErrMsg.
    void ReportError(int ALevel, const String& AMsg);
    void CheckLibraries();
    // Index of the stream of the given kind for a record, -1 after reporting why there is none.
    int CheckStreamForInfo(int AStreamIndex, int AMediaType);
    void AddStreamLine(std::vector<String>& AList, int AIndex);

    AVFormatContext* FFileHandle = nullptr;
    bool FOwnHandle = false;
    String FLastErrMsg;
    String FForceFormat;
    int64_t FFileSize = -1;
    int FStreamCount = -1;
    int FProgramCount = -1;
    int FAudioStreamCount = -1;
    int FVideoStreamCount = -1;
    int FSubtitleStreamCount = -1;
    int FFirstAudioStreamIndex = -1;
    int FFirstVideoStreamIndex = -1;
    int FFirstSubtitleStreamIndex = -1;
};

class TAVProbe : public TCustomAVProbe {
public:
    explicit TAVProbe(TComponent* AOwner);
    ~TAVProbe() override;

    void CloseFile() override;

    // APTS in microseconds from the start, or a byte offset with sfByte.
    bool Seek(int64_t APTS, TSeekFlags ASeekFlags);
    // AStreamIndex -1: the stream decoded so far, else the first video stream.
    bool Decode(int AStreamIndex = -1);
    bool DecodeNextKeyFrame(int AStreamIndex = -1);
    bool DecodePreviousFrame(int AStreamIndex = -1);
    bool DecodePreviousKeyFrame(int AStreamIndex = -1);
    // Copies the last decoded picture; on a failed conversion the bitmap is filled black.
    bool CopyToBitmap(TFrameImage& ABitmap);
    // The same into a framework bitmap (32 bits per pixel).
    bool CopyToBitmap(TBitmap& ABitmap);

    // The end of the file was reached while reading (EOF itself is the C library's macro).
    bool Eof() const { return FEOF; }
    const TFrameInfo& FrameInfo() const { return FPicture; }
    int64_t Position();

protected:
    void RefreshFileInfo() override;
    void ResetPicture();
    bool CheckOwnHandle();
    bool CanSeek();
    int SelectDecodeStream(int AStreamIndex);
    AVCodecContext* OpenDecoder(int AIndex);
    void CloseDecoder();
    bool StoreFrame(const AVFrame* AFrame, int64_t APos);
    bool IsImage2() const;
    void TracePosition(const String& AMsg);
    int64_t StepDuration(int AIndex) const;

    AVCodecContext* FCodec = nullptr;  // decoder of stream FCodecStream, owned by the probe
    int FCodecStream = -1;
    bool FDraining = false;  // end of file met: the decoder is giving out what it holds
    TRGBConvertContext FRGBContext{};
    int FSeekIndex = -1;
    int64_t FStartTime = -1;
    int FDecodeIndex = -1;
    bool FEOF = false;
    TFrameInfo FPicture;
    int64_t FLastPTS = AV_NOPTS_VALUE;
    int64_t FLastPos = -1;
};
