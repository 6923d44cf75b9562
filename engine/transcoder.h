// TCustomFFmpeg: one conversion task of the engine. It holds every option field that the
// option setters fill, the opened inputs and outputs, the stream maps and the state of one
// run, and runs the conversion in its own converting thread (or inline) with stop, pause,
// resume and cancel. The task component creates one TFFmpeg per task, fills it through the
// setters (option_setters.cpp, option_dispatch.cpp, encoder_presets.cpp,
// target_presets.cpp), then starts it with StartConvert.
// The fields keep the transcoder's option names (Fframe_width, Frecording_time, ...) and are
// public: the transcoder's stages, spread over several files, and the task component use them.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

#include "engine/av_api.h"
#include "engine/codec_threads.h"

#include "engine/encoder_option_translation.h"
#include "engine/media_utils.h"
#include "engine/stream_codecs.h"
#include "engine/task_options.h"
#include "platform/framework/core/component.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/sync_objects.h"
#include "platform/framework/core/thread.h"

class TBitmap;  // the pictures of the hooks (platform/framework/graphics/bitmap.h)

// Failures raised by the transcoder's own checks.
class FFmpegException : public Exception {
public:
    explicit FFmpegException(const String& AMessage) : Exception(AMessage) {}
    explicit FFmpegException(const std::string& AMessage);
};

// A failed internal precondition (an argument outside its range).
class EAssertionFailed : public Exception {
public:
    explicit EAssertionFailed(const String& AMessage) : Exception(AMessage) {}
};

constexpr int MaxTaskFiles = 512;
constexpr int MaxFileStreams = 20;  // stream slots per file

struct TAVStreamMap {
    int file_index;
    int stream_index;
    int sync_file_index;
    int sync_stream_index;
};

struct TAVMetaDataMap {
    int out_file;
    int in_file;
};

struct TMetadataPair {
    std::string Key;
    std::string Value;
};

// A bitstream filter chain: the filters in the order packets pass them.
using TBitstreamFilterChain = std::vector<AVBSFContext*>;

// An opened codec, kept so that a failed run still closes it.
struct TCodecItem {
    AVCodecContext* st;
    TCodecItem* Prev;
    TCodecItem* Next;
};
using PCodecItem = TCodecItem*;

struct TCustomHookContext {
    TRGBConvertContext Context;
    std::unique_ptr<TBitmap> Bitmap;  // the picture handed to the custom hook
};

struct TPostHookContext {
    TRGBConvertContext Context;
    TObject* Previewer = nullptr;  // the task's preview window, nil until the first preview picture
    int64_t preview_last_time = 0;
    int64_t preview_cur_time = 0;
    std::unique_ptr<TBitmap> Bitmap;  // the picture handed to the preview
    // The clock the preview cadence is measured with (microseconds); nil: the libraries' clock.
    int64_t (*Clock)() = nullptr;
};

enum TPostHook { phPreview, phBitmap, phHBITMAP };
// A set of TPostHook: bit n stands for ordinal n.
using TPostHooks = unsigned;
constexpr TPostHooks PostHookSet(TPostHook AHook) { return 1u << AHook; }
constexpr bool PostHookIn(TPostHook AHook, TPostHooks ASet) { return (ASet & (1u << AHook)) != 0; }

struct TFrameHookEntry;

using TCustomHookEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                            bool& AUpdate, bool& AStopHook)>;
using TPreviewBitmapEvent = std::function<void(TObject* Sender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS)>;
using TProgressEvent =
    std::function<void(TObject* Sender, int AFileIndex, int AFrameNumber, int AFPS, float AQuality, float ABitRate,
                       int64_t ACurrentSize, int64_t ACurrentDuration, int64_t ATotalDuration)>;

class TCustomFFmpeg;
struct TAVInputStream;
struct TAVOutputStream;
struct TTranscodeRun;

// Runs the conversion body of its owner.
class TConvertThread : public TThread {
public:
    explicit TConvertThread(TCustomFFmpeg* AOwner);
    TCustomFFmpeg* FOwner;
    // Shared with the owner: the owner may be freed the moment the event is set, while the
    // setting call still runs.
    std::shared_ptr<TEvent> FStopEvent;

protected:
    void Execute() override;
};

// Ends a task that is cancelled before it converted.
class TDoTerminateThread : public TThread {
public:
    explicit TDoTerminateThread(TCustomFFmpeg* AOwner);
    TCustomFFmpeg* FOwner;
    std::shared_ptr<TEvent> FTermEvent;

protected:
    void Execute() override;
};

// Serialises the post-hook routine with SetPostHooksLocked across all tasks.
TCriticalSection& PostHookLock();

class TCustomFFmpeg : public TObject {
public:
    explicit TCustomFFmpeg(int AMaxFiles);
    ~TCustomFFmpeg() override;

    // --- life cycle (transcoder.cpp) ---
    void ResetConverter();
    void InitDefaults();
    TThread* StartConvert(bool AUseThread, TThreadPriority APriority);
    void Stop(bool AWaitFor);
    void Cancel(bool AWaitFor);
    void Pause();
    void Resume();
    bool Paused() const { return FPaused; }
    void DoConvert();
    void DoTerminate();
    void Cleanup();
    // Called when the clean-up has closed the inputs: whatever borrowed them lets go.
    virtual void InputsClosed() {}
    // The converting thread calls this between two packets: it returns at once unless the
    // task is paused, and then waits until Resume or Stop.
    void CheckPause();

    static void AddCodecItem(PCodecItem& AList, AVCodecContext* AStream);
    static void RemoveCodecItem(PCodecItem& AList, AVCodecContext* AStream);
    void CloseEncoderList(PCodecItem& AList);
    void CloseDecoderList(PCodecItem& AList);
    static void ClearPostHookContext(TPostHookContext& AContext);

    // The transcode run over the output files, input files and stream maps. Sets FFinished to
    // the opposite of FBroken when its loop and trailers complete.
    virtual void Transcode();

    // --- the stages of the run (transcode_setup.cpp, transcode_loop.cpp, decode_packet.cpp,
    // audio_path.cpp, video_path.cpp, encode_write.cpp, progress_report.cpp, two_pass.cpp) ---
    void BuildInputStreamTable();
    void BuildOutputStreamTable();
    void MapOutputStreams();
    void MapExplicitStream(TAVOutputStream* AStream, int AIndex);
    void MapDefaultStream(TAVOutputStream* AStream, int AFileIndex);
    void SetupOutputCodecs();
    void SetupStreamCopy(TAVOutputStream* AStream);
    void SetupEncoding(TAVOutputStream* AStream, int AIndex);
    void OpenPassLogFile(TAVOutputStream* AStream, int AIndex);
    // The thread count (from Fthread_count, the run's share of the cores: CodecThreadRequest) and
    // threading a codec context opens with.
    void SetCodecThreads(AVCodecContext* AContext, const AVCodec* ACodec, bool ADecoder);
    void OpenEncoders();
    void OpenDecoders();
    void InitInputTimestamps();
    void CopyMetadataMaps();
    void CopyAllChapters();
    void WriteOutputHeaders();
    void LogStreamMapping();
    void FreeStreamTables();
    void TranscodeLoop();
    // Decodes one packet of an input stream (nil: flushes its decoder and drains the encoders
    // it feeds) and hands the results to the output routines; 0, or -1 when decoding failed.
    int OutputPacket(TAVInputStream* ist, int ist_index, const AVPacket* pkt);
    void WriteFrame(AVFormatContext* AContext, AVPacket* APacket, AVCodecContext* ACodecContext,
                    TBitstreamFilterChain* AFilters);
    void DoAudioOut(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream, uint8_t* ABuffer,
                    int ASize);
    void DoVideoOut(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream,
                    AVFrame* APicture, int& AFrameSize);
    void DoSubtitleOut(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream,
                       AVSubtitle* ASubtitle, int64_t APts);
    void DoVideoStats(TAVOutputStream* AOutStream, int AFrameSize);
    // Drains what an encoder still holds (audio: the resampler and the sample queue first).
    void FlushEncoder(TAVOutputStream* AOutStream);
    // Hands the queued samples of an audio stream to its encoder in frames of the encoder's
    // size; AFinal also sends the rest, short or padded with silence.
    void EncodeAudioQueue(TAVOutputStream* AOutStream, bool AFinal);
    // Writes every packet the encoder of an output stream has ready; the size of the last one.
    int ReceiveEncodedPackets(TAVOutputStream* AOutStream);
    void PrintReport(bool AIsLastReport, int AFileIndex);
    // The picture of every decoded video frame before it reaches the encoders, and every
    // picture handed to a video encoder (hooks and preview).
    void PreProcessVideoFrame(TAVInputStream* AInStream, AVFrame* APicture);
    void ProcessPostHooks(AVFrame* APicture, AVCodecContext* AEncoder);
    void CallCustomHook(AVFrame* APicture, int64_t APts);
    // Deinterlaces a decoded picture in place ("deinterlace"); False when its format cannot be.
    bool DeinterlacePicture(AVFrame* APicture);
    void FreeDeinterlacer();
    AVFilterGraph* FDeinterlaceGraph = nullptr;
    AVFilterContext* FDeinterlaceSource = nullptr;
    AVFilterContext* FDeinterlaceSink = nullptr;
    int FDeinterlaceWidth = 0, FDeinterlaceHeight = 0, FDeinterlaceFormat = -1;
    // Sets up the video filter graph between a decoded input stream and an encoded output
    // stream (video_filter_graph.cpp): 0, or -1 with the reason in FLastErrMsg when it has one.
    int BuildFilterGraph(TAVInputStream* AInStream, TAVOutputStream* AOutStream);
    // (Re)builds the graph of an output stream for pictures of the given size, format and
    // sample aspect: 0, or -1 when a step of the filter library fails.
    int CreateVideoFilterGraph(TAVOutputStream* AOutStream, int AWidth, int AHeight, int AFormat,
                               AVRational ASampleAspect);
    // The next picture of a graph's sink into AFrame, its time in microseconds into APts: 1, or
    // -1 when the sink has none now.
    int GetFilteredPicture(AVFilterContext* ASinkContext, AVFrame* AFrame, int64_t& APts);
    // Feeds a decoded picture into the graph of an output stream and encodes what comes out;
    // FlushFilterGraph ends the graph's input and encodes the rest.
    void FilterVideoFrame(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream,
                          AVFrame* APicture);
    void FlushFilterGraph(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream);
    void DrainFilterGraph(AVFormatContext* AContext, TAVOutputStream* AOutStream, TAVInputStream* AInStream);
    TTranscodeRun* FRun = nullptr;
    // Outputs the clean-up removes like empty files: a run wrote no packet into them, or could
    // not complete them (their trailer failed: a file without its index does not play).
    std::vector<const AVFormatContext*> FDiscardedOutputs;
    // Outputs whose file this task opened itself: only those are removed by the clean-up.
    std::vector<const AVFormatContext*> FOpenedOutputs;

    // --- the option dispatcher (option_dispatch.cpp) and the setters (option_setters.cpp) ---
    // Hands one option to its setter, or by name to the libraries; a name or value the libraries
    // refuse is logged by them and noted in FRefusedOptions, and the task goes on without it.
    void ApplyOption(const String& AName, const String& AValue);
    struct TRefusedOption {
        String Name, Value;
        bool Known;  // the name is an option, its value was refused
    };
    std::vector<TRefusedOption> FRefusedOptions;
    // An option of the libraries by name; False when it is refused, AKnown then telling whether
    // the name is known (the value was refused) or not.
    bool SetContextOption(const std::string& AName, const std::string& AValue, bool* AKnown = nullptr);
    bool SetContextOptionInt(const std::string& AName, int AValue);
    void SetFormat(const String& AFormat);
    void SetVerbose(int AValue);
    void SetFrameRate(const String& AText);
    void SetFrameSize(const String& AText);
    void SetAspectRatio(const String& AText);
    void SetPixelFormat(const std::string& AName);
    void SetSampleFormat(const std::string& AName);
    void SetCropTop(int ABand);
    void SetCropBottom(int ABand);
    void SetCropLeft(int ABand);
    void SetCropRight(int ABand);
    bool SetBitRate(const String& AName, const String& AValue);
    void SetVideoQScale(float AValue);
    void SetTopFieldFirst(int AValue);
    void SetVideoChannel(int AValue);
    void SetMotionThreshold(int AValue);
    void SetAudioSampleRate(int AValue);
    void SetAudioChannels(int AValue);
    void SetAudioVolume(int AValue);
    void SetAudioSyncMethod(int AValue);
    void SetVideoSyncMethod(int AValue);
    void SetMuxMaxDelay(float AValue);
    void SetMuxPreload(float AValue);
    void SetVideoStandard(const std::string& AName);
    void SetRateControlOverride(const std::string& AText);
    void SetAudioCodec(const String& AName);
    void SetVideoCodec(const String& AName);
    void SetSubtitleCodec(const String& AName);
    void SetAudioTag(const String& ATag);
    void SetVideoTag(const String& ATag);
    void SetSubtitleTag(const String& ATag);
    void SetVideoFilters(const String& AText);
    void AddMetadata(const std::string& AText);
    void AddMetadataPair(const std::string& AKey, const std::string& AValue);
    void AddStreamMap(const std::string& AText);
    void AddMetadataMap(const std::string& AText);
    void SetInputTimestampScale(const std::string& AText);
    void SetStreamId(const String& AName, const String& AValue);
    void AddBitstreamFilter(const String& AOption, const String& AText);
    void AddVideoHook(const std::string& AText);
    void SetIntraMatrix(const std::string& AText);
    void SetInterMatrix(const std::string& AText);
    int64_t ParseTime(const std::string& AOption, const std::string& AText, bool AIsDuration);
    void SetRecordingTime(int64_t AValue);
    void SetStartTime(int64_t AValue);
    void SetProgramId(int AValue);
    void SetPass(int AValue);
    void SetVideoStatsFile(const std::string& AName);
    void SetVideoStats(bool AEnable);
    void SetPostHooks(TPostHooks AHooks);
    void SetPostHooksLocked(TPostHooks AHooks);

    // --- presets and targets (encoder_presets.cpp, target_presets.cpp) ---
    void LoadPreset(const String& AKind, const String& AName);
    void SetTarget(const String& AType, const String& ANorm, const String& ADefaultNorm);
    void ParseTarget(const std::string& AText);

    // Output streams added by "newvideo", "newaudio", "newsubtitle" to the last output file
    // (output_streams.cpp holds the stream operations).
    void AddVideoStream();
    void AddAudioStream();
    void AddSubtitleStream();
    void new_video_stream(AVFormatContext* AContext);
    // Brings a video encoder's bit rate into its "minrate".."maxrate" limits, with a warning.
    void FitVideoBitRate(AVCodecContext* ACodec);
    void new_audio_stream(AVFormatContext* AContext);
    void new_subtitle_stream(AVFormatContext* AContext);

    // --- opening files (codec_lookup.cpp, open_input.cpp, open_output.cpp) ---
    // The codec id of a named encoder or decoder of media type AType (AName nil: id 0); False
    // with the reason in FLastErrMsg. Encoders the libraries lack are looked up under their
    // successor's name, with an info line.
    bool FindCodec(const char* AName, int AType, int& ACodecID, int AStrict, bool AEncoder);
    // The encoder or decoder of a name as FindCodec takes it (nil for nil or none).
    const AVCodec* NamedCodec(const char* AName, bool AEncoder, bool ALogSuccessor = false);
    // The encoder AContext's container can store in place of ACodec: ACodec itself, or the
    // successor of ContainerEncoderSuccessorName (with an info line) when the container cannot.
    const AVCodec* ContainerCodec(const AVFormatContext* AContext, const AVCodec* ACodec);
    // The compliance level ("strict") of the option context of media type AType.
    int OptionCompliance(int AType) const;
    // Opens and analyses the next input; False with FLastErrMsg on an expected failure.
    bool OpenInputFile(const String& AFileName);
    // How an input was opened and what it held, so that it can be opened again the same way: a
    // task waiting in the queue closes its inputs (their read buffers, parsers and the packets
    // the analysis read ahead go) and opens them again when it starts (input_reopen.cpp).
    struct TInputReopen {
        TInputReopen() = default;
        TInputReopen(const TInputReopen&) = delete;
        TInputReopen& operator=(const TInputReopen&) = delete;
        ~TInputReopen();
        String FileName;                                                  // as the caller gave it
        std::string Name;                                                 // as handed to the libraries
        const AVInputFormat* Format = nullptr;                            // forced, nil: probed
        std::vector<std::pair<std::string, std::string>> ContextOptions;  // set on the format context
        AVDictionary* Parameters = nullptr;                               // the format parameters
        int VideoId = 0, AudioId = 0, SubtitleId = 0;                     // forced decoders
        int ProgramId = 0;
        bool IgnoreAnalysis = false;  // the analysis result does not count (verbose below 0)
        int64_t StartTime = 0;        // the start-time seek, 0: none
        // What the opening left: the streams' discard levels, where the input's decoder contexts
        // begin in Finput_stream_codecs, and the streams' layout, which a file opened again must
        // show once more.
        std::vector<int> StreamDiscard;
        size_t FirstStreamCodec = 0;
        std::string Layout;
        bool Closable = false;  // a local file: opening it again reads the same bytes
        bool Closed = false;
    };
    std::vector<std::unique_ptr<TInputReopen>> FInputReopen;  // [input], grows with the inputs
    // Allocates the format context of an input, opens and analyses the file as ARecipe says
    // (options, forced codecs, program, analysis, start-time seek); 0, or a negative code below
    // with AError (the context then freed). ASeekResult: the seek's result (0 without one).
    enum { OpenFailed = -1, ProgramNotFound = -2, AnalysisFailed = -3 };
    int OpenInputContext(const TInputReopen& ARecipe, AVFormatContext*& AContext, String& AError, int& ASeekResult);
    // The streams of an opened input as a text that changes with any stream's type, codec,
    // format, size, rate, layout, time base or codec data.
    static std::string InputLayout(const AVFormatContext* AContext);
    // Keeps the recipe of the input just opened (entry Fnb_input_files) with what its opening left.
    void NoteInputOpened(std::unique_ptr<TInputReopen> ARecipe, AVFormatContext* AContext);
    // Closes the inputs of a task that has its outputs and waits to start; their recipes stay.
    void CloseIdleInputs();
    // Opens the closed inputs again. Raises FFmpegException when one cannot be opened or no
    // longer holds the streams it was added with (the file was replaced or changed).
    void ReopenInputs();
    bool InputsClosedForNow() const;
    // Creates the next output with its streams; the new output count, or -1 with FLastErrMsg.
    // An existing file is only replaced when Ffile_overwrite is set, and never when it is one
    // of the task's inputs. The file itself is not touched here: OpenOutputTargets creates (or
    // truncates) it when the task starts converting, so a task that never runs leaves the
    // folder as it was.
    int OpenOutputFile(const String& AFileName, bool AJoin);
    // Opens every output file of the task for writing, checking each once more (a file that
    // appeared since the output was set is not replaced without Ffile_overwrite). Raises
    // FFmpegException with the reason when one cannot be opened. Called by the run before the
    // headers are written.
    void OpenOutputTargets();
    // The files this task created or truncated, as named when set (kept after the run until
    // the task is reset). Safe to call from any thread.
    std::vector<String> CreatedOutputs() const;
    // Whether the default subtitle encoder of AFormat can take the subtitles of the inputs (only
    // the first with AFirstOnly): text from text, pictures from pictures.
    bool CanTakeSubtitles(const AVOutputFormat* AFormat, bool AFirstOnly) const;
    // A local output file as resolved once: the same-file check between tasks compares these
    // instead of resolving every other task's names again.
    struct TOutputIdentity {
        std::string Name;  // absolute, with the links on its way resolved
        bool Exists = false;
        dev_t Device = 0;
        ino_t Inode = 0;
    };
    // The identity of the file AFileName names; nullopt for other protocols' URLs.
    static std::optional<TOutputIdentity> OutputIdentity(const String& AFileName);
    static TOutputIdentity ResolveOutputIdentity(const std::string& APath);
    // Whether an opened output of the task is the file AFileName names (the same file where it
    // exists, else the same full name).
    bool NamesOutput(const String& AFileName) const;
    bool NamesOutput(const TOutputIdentity& ATarget) const;
    // Which media types the input files hold (only the first with AFirstOnly).
    void check_audio_video_sub_inputs(bool& AHasVideo, bool& AHasAudio, bool AFirstOnly, bool& AHasSubtitle);
    // The prepared codec context of a stream of an opened input or output, nil when none.
    TStreamCodec* InputStreamCodec(const AVStream* AStream) const;
    TStreamCodec* OutputStreamCodec(const AVStream* AStream) const;
    // The muxer options for writing the header of output entry AFileIndex (the muxer's own
    // options recorded when it was opened, and its preload); the caller frees the dictionary.
    AVDictionary* OutputHeaderOptions(int AFileIndex) const;

    // --- encoder format choice (encoder_format_choice.cpp) ---
    // Bring the sample format, sample rate and pixel format of a new output stream's encoder
    // context into the lists of ACodec; nothing happens without a codec or a list.
    void ChooseSampleFormat(AVCodecContext* AContext, const AVCodec* ACodec);
    void ChooseSampleRate(AVCodecContext* AContext, const AVCodec* ACodec);
    void ChoosePixelFormat(AVCodecContext* AContext, const AVCodec* ACodec);
    // The channel layout, when ACodec lists those it takes: one of them with the requested
    // channel count, else the nearest one. CheckChannelCount fails with a text that says so when
    // ACodec lists none of AChannels channels (for a count the user chose).
    void ChooseChannelLayout(AVCodecContext* AContext, const AVCodec* ACodec);
    void CheckChannelCount(const AVCodec* ACodec, int AChannels);

    // --- fields ---
    // The stream tables (Finput_codecs, Foutput_codecs, Fstream_maps) hold at most
    // MaxFileStreams places per file; each grows as its places are used.
    int StreamSlotLimit() const { return FMaxFiles * MaxFileStreams; }
    // Place AIndex of a stream table, the table grown to it; nil beyond the limit.
    template <typename T>
    T* StreamSlot(std::vector<T>& ATable, int AIndex)
    {
        if (AIndex < 0 || AIndex >= StreamSlotLimit()) return nullptr;
        if (int(ATable.size()) <= AIndex) ATable.resize(AIndex + 1, T{});
        return &ATable[AIndex];
    }
    template <typename T, typename V>
    void SetStreamSlot(std::vector<T>& ATable, int AIndex, const V& AValue)
    {
        if (T* slot = StreamSlot(ATable, AIndex)) *slot = AValue;
    }
    int FMaxFiles;
    std::vector<AVFormatContext*> Finput_files;
    std::vector<int64_t> Finput_files_ts_offset;
    std::vector<std::vector<double>> Finput_files_ts_scale;  // [file][stream 0..19], empty until one is set
    std::vector<const AVCodec*> Finput_codecs;               // grows with the input streams (StreamSlotLimit)
    int Fnb_input_files = 0;
    int Fnb_icodecs = 0;
    std::vector<AVFormatContext*> Foutput_files;
    std::vector<TOutputIdentity> FOutputIdentities;  // one per distinct local output, when set
    std::vector<const AVCodec*> Foutput_codecs;      // grows with the output streams (StreamSlotLimit)
    int Fnb_output_files = 0;
    int Fnb_ocodecs = 0;
    std::vector<TAVStreamMap> Fstream_maps;  // the Fnb_stream_maps maps set (StreamSlotLimit)
    int Fnb_stream_maps = 0;
    std::vector<TAVMetaDataMap> Fmeta_data_maps;
    int Fnb_meta_data_maps = 0;
    int Fstreamid_map[MaxFileStreams] = {};
    std::string Flast_asked_format;
    int Fframe_width = 0;
    int Fframe_height = 0;
    float Fframe_aspect_ratio = 0;
    int Fframe_pix_fmt = -1;
    int Faudio_sample_fmt = -1;
    int Fframe_topBand = 0, Fframe_bottomBand = 0, Fframe_leftBand = 0, Fframe_rightBand = 0;
    int Fmax_frames[4] = {};  // video, audio, data, subtitle
    AVRational Fframe_rate = {0, 0};
    float Fvideo_qscale = 0;
    std::vector<uint16_t> Fintra_matrix;  // 64 coefficients when set, empty when not
    std::vector<uint16_t> Finter_matrix;
    std::string Fvideo_rc_override_string;
    bool Fvideo_disable = false;
    int Fvideo_discard = 0;
    std::string Fvideo_codec_name;  // empty = none
    uint32_t Fvideo_codec_tag = 0;
    String Fvideo_language;
    bool Fsame_quality = false;
    bool Fdo_deinterlace = false;
    int Ftop_field_first = -1;
    int Fme_threshold = 0;
    int Fintra_dc_precision = 8;
    bool Floop_input = false;
    int Floop_output = -1;
    bool Fqp_hist = false;
    String Fvfilters;
    bool FEnableFilter = false;
    AVFilterGraph* Fgraph = nullptr;  // the graph built last; owned by its output stream's record
    bool Fintra_only = false;
    int Faudio_sample_rate = 44100;
    int64_t Fchannel_layout = 0;
    float Faudio_qscale = -99999.0f;
    bool Faudio_disable = false;
    int Faudio_channels = 2;
    bool Faudio_channels_chosen = false;  // set by the "ac" option, not taken from an input
    std::string Faudio_codec_name;
    uint32_t Faudio_codec_tag = 0;
    String Faudio_language;
    bool Fsubtitle_disable = false;
    std::string Fsubtitle_codec_name;
    String Fsubtitle_language;
    uint32_t Fsubtitle_codec_tag = 0;
    float Fmux_preload = 0.5f;
    float Fmux_max_delay = 0.7f;
    int64_t Frecording_time = INT64_MAX;
    int64_t Fstart_time = 0;
    int64_t Frecording_timestamp = 0;
    int64_t Finput_ts_offset = 0;
    std::vector<TMetadataPair> Fmetadata;  // pending metadata of the next output
    int Fdo_benchmark = 0;
    bool Fdo_hex_dump = false, Fdo_pkt_dump = false, Fdo_psnr = false;
    int Fdo_pass = 0;
    std::string Fpass_logfilename_prefix;
    int Faudio_stream_copy = 0, Fvideo_stream_copy = 0, Fsubtitle_stream_copy = 0;
    int Fvideo_sync_method = -1;
    int Faudio_sync_method = 0;
    float Faudio_drift_threshold = 0.1f;
    bool Fcopy_ts = false;
    bool Fopt_shortest = false;
    int Fvideo_global_header = 0;
    std::string Fvstats_filename;
    FILE* Fvstats_file = nullptr;
    int Fopt_programid = 0;
    int Fcopy_initial_nonkeyframes = 0;
    bool Frate_emu = false;
    int Fvideo_channel = 0;
    std::string Fvideo_standard;
    int Faudio_volume = 256;
    bool Fexit_on_error = false;
    int Fusing_stdin = 0;
    bool Fusing_vhook = false;
    int Fverbose = 1;
    int Fthread_count = 1;  // the codecs' threads: set when a run opens its codecs (codec_threads.h)
    int Fq_pressed = 0;
    int64_t Fvideo_size = 0, Faudio_size = 0, Fextra_size = 0;
    int Fnb_frames_dup = 0, Fnb_frames_drop = 0;
    bool FShowDupOrDrop = false;
    bool Finput_sync = false;
    int64_t Flimit_filesize = 0;
    bool Fforce_fps = false;
    int Fpgmyuv_compatibility_hack = 0;
    // Set by "y": an output file that exists may be replaced. Without it, opening an output
    // never touches an existing file.
    bool Ffile_overwrite = false;
    float Fdts_delta_threshold = 10.0f;
    unsigned Fsws_flags = 4;
    // The option holders; packed while the task waits to start (ReleaseIdleMemory): use
    // Options(), which makes them again when they are.
    mutable TFFOptions FOptions;
    TFFOptions& Options() const
    {
        if (FOptions.packed) UnpackFFOptions(FOptions);
        return FOptions;
    }
    // Lets go of what a set-up task holds only for its run, while it waits in the queue: once
    // it has an output its inputs are closed (CloseIdleInputs), the option holders are packed
    // into their changed values and the input decoders' private state goes (the decoders make
    // it again when they open). Called by the task component after each file it adds; the next
    // option set, or the start, brings the holders back, and the start opens the inputs again.
    void ReleaseIdleMemory();
    // Options that only the named encoder of a media type (video 0, audio 1, subtitle 3) or an
    // output's muxer knows, in the order they were set: the output stage sets them on the
    // encoder context before opening it and hands the muxer's to the writing of the header.
    std::vector<TOptionPair> FCodecPrivateOptions[AVMEDIA_TYPE_NB];
    std::vector<TOptionPair> FFormatPrivateOptions;
    // The prepared codec context of every stream of the opened inputs (input order, stream
    // order) and of every output stream (creation order).
    std::vector<std::unique_ptr<TStreamCodec>> Finput_stream_codecs;
    std::vector<std::unique_ptr<TStreamCodec>> Foutput_stream_codecs;
    // Per output entry: the muxer's own options as they stood when the output was opened.
    std::vector<std::vector<TOptionPair>> Foutput_format_options;
    int64_t Ftimer_start = 0;
    uint8_t* Faudio_buf = nullptr;
    uint8_t* Faudio_out = nullptr;
    unsigned Fallocated_audio_out_size = 0, Fallocated_audio_buf_size = 0;
    uint8_t* Finput_tmp = nullptr;
    unsigned Fsamples_size = 0;
    int16_t* Fsamples = nullptr;
    TBitstreamFilterChain Fvideo_bitstream_filters, Faudio_bitstream_filters, Fsubtitle_bitstream_filters;
    std::vector<std::vector<TBitstreamFilterChain>> Fbitstream_filters;  // [file][stream 0..19]
    // Entry [AFileIndex][AStreamIndex] of Fbitstream_filters; a file's chains are made on first use.
    TBitstreamFilterChain& BitstreamFilters(int AFileIndex, int AStreamIndex);
    int Fbit_buffer_size = 262144;
    uint8_t* Fbit_buffer = nullptr;
    PCodecItem FEncoderList = nullptr;
    PCodecItem FDecoderList = nullptr;
    std::atomic<TConvertThread*> FThread{nullptr};
    std::shared_ptr<TEvent> FStopEvent;
    std::shared_ptr<TEvent> FTermEvent;
    TFrameHookEntry* FFirstHook = nullptr;
    uint8_t* FHookBuf = nullptr;
    int FHookBufSize = 0;
    TCustomHookContext FHookContext;
    int FHookFrameNumber = 0;
    TPostHookContext FPostContext;
    TPostHooks FPostHooks = 0;
    bool FJoinMode = false;
    // Counts the task as converting from its start until its codecs are closed, so tasks started
    // together share the cores whichever opens its codecs first.
    std::unique_ptr<TConvertingTask> FConvertingCount;
    std::atomic<bool> FConverting{false};
    std::atomic<bool> FBroken{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FTerminated{false};
    bool FFatalException = false;
    String FFatalMessage;
    int64_t FTotalOutputDuration = -1;
    String FLastErrMsg;
    // Set when the task's owner refused an output of the task: starting the task then fails with
    // this text at once, rather than converting without that output.
    String FRefusedOutput;
    TCustomHookEvent FOnCustomHook;
    TPreviewBitmapEvent FOnPreviewBitmap;
    TProgressEvent FOnProgress;
    TNotifyEvent FOnTerminate;
    int64_t ReportInterval = 500000;
    int64_t PreviewInterval = 100000;

    // Adds a video hook library with its arguments to the frame-hook chain (0 on success) and
    // releases the chain (frame_hook_chain.cpp).
    int AddFrameHookEntry(int AArgCount, char** AArgs);
    void ReleaseFrameHookChain();
    std::list<std::vector<std::string>> FHookWords;  // the words the hooks point into

private:
    bool SetPrivateOption(const std::string& AName, const std::string& AValue, bool* AKnown = nullptr);
    void SetCodecName(int& ACopyFlag, std::string& AName, const String& AText);
    void SetTag(uint32_t& ATag, const String& AText, const char* AMessage);
    void SetCropBand(int ABand, bool AVertical, int& AField);
    void SetMatrix(std::vector<uint16_t>& AMatrix, const std::string& AText);
    void LogFormatList(bool APixelFormats);
    void FailStep(const String& AMessage);
    void FreeBitstreamFilters();
    void FreeStreamCodecs(std::vector<std::unique_ptr<TStreamCodec>>& AList);
    // Parts of the opening (open_input.cpp, open_output.cpp, output_streams.cpp).
    AVDictionary* InputFormatParameters() const;
    void ReleaseInputNames();
    TStreamCodec& AddOutputStream(AVFormatContext* AContext, AVMediaType AType, const AVCodec* ACodec,
                                  std::string& ACodecName);
    int OutputFileIndex(const AVFormatContext* AContext) const;
    void SetVideoAspect(AVStream* AStream, AVCodecContext* ACodec);
    void DropOutputContext(AVFormatContext* AContext, bool AAppended, bool AFileOpened);
    String CheckOutputTarget(const AVFormatContext* AContext, const std::string& AEncodedName,
                             const String& AFileName) const;
    void SetupJoin();
    void CloseInputFiles();
    void CloseOutputFiles();

    mutable std::mutex FCreatedLock;
    std::vector<String> FCreatedOutputs;
    std::mutex FPauseLock;
    std::condition_variable FPauseCond;
    std::atomic<bool> FPaused{false};
};

class TAVProbe;

// The published task class the task component creates: the transcoder with one media probe per
// input and the component's own copy of every input and output option record it was given
// (converter_task.cpp).
class TFFmpeg : public TCustomFFmpeg {
public:
    explicit TFFmpeg(int AMaxFiles);
    ~TFFmpeg() override;

    // The probe of input AIndex, created on first use. The probes go when the inputs close
    // (they read the inputs' contexts): an ended task keeps none.
    TAVProbe* GetProbe(int AIndex);
    void InputsClosed() override;

    // Entry AIndex is allocated (at the defaults) when empty, then takes a copy of AOptions.
    void SetInputOptions(int AIndex, PInputOptions AOptions);
    void SetOutputOptions(int AIndex, POutputOptions AOptions);
    // Entry AIndex back to the defaults, when it exists.
    void ClearInputOptions(int AIndex);
    void ClearOutputOptions(int AIndex);
    // Hands each line of an option text to the option dispatcher, except the names that only
    // an output's stream pass may use; the codec names only with AAll (the input side).
    void ApplyExtOptions(const String& AText, bool AAll);

    // Open the next input (False with FLastErrMsg on failure) and the next output (the new
    // number of outputs, -1 with FLastErrMsg on failure) for the task component.
    virtual bool OpenInput(const String& AFileName);
    virtual int OpenOutput(const String& AFileName, bool AJoin);

    std::vector<TAVProbe*> FAVProbes;            // [FMaxFiles], nil until used
    std::vector<PInputOptions> FInputOptions;    // [FMaxFiles], nil until used
    std::vector<POutputOptions> FOutputOptions;  // [FMaxFiles], nil until used
};

// The display aspect an input video stream hands on: width x sample aspect / height, width /
// height without a sample aspect, 4/3 when neither size nor sample aspect is known.
float InputDisplayAspect(int AWidth, int AHeight, float ASampleAspect);

// Number of option names the dispatcher knows itself.
int EngineOptionCount();

// Splits a video hook text into its words: separated by "|" when the text has one, else by
// blanks; runs of separators count as one.
std::vector<std::string> SplitHookWords(const std::string& AText);

// Parses a C integer at the start of AText (decimal, "0x" hexadecimal, leading "0" octal);
// no digits give 0. AEnd receives the position after the number.
long ParseCInteger(const std::string& AText, size_t APos, size_t& AEnd);
