// Life cycle of a conversion task: creation, reset, starting in a converting thread or inline,
// stop, pause, resume, cancel, the end of a run and the clean-up that releases it.
#include "engine/transcoder.h"

#include <malloc.h>

#include <algorithm>

#include "engine/av_bindings.h"
#include "engine/codec_threads.h"
#include "engine/library_loader.h"
#include "engine/logger.h"
#include "engine/main_thread_calls.h"
#include "engine/unicode_file.h"
#include "platform/base/main_thread.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"

FFmpegException::FFmpegException(const std::string& AMessage) : Exception(Utf8ToString(AMessage)) {}

TCriticalSection& PostHookLock()
{
    static TCriticalSection lock;
    return lock;
}

// --- threads ---

TConvertThread::TConvertThread(TCustomFFmpeg* AOwner)
    : FOwner(AOwner), FStopEvent(AOwner ? AOwner->FStopEvent : nullptr)
{}

void TConvertThread::Execute()
{
    if (!FOwner) return;
    FStopEvent->ResetEvent();
    try {
        FOwner->DoConvert();
    } catch (...) {
        // DoConvert guards every step itself; nothing may keep the stop event from being set.
    }
    // The owner may be freed as soon as the event is set: touch nothing of it afterwards.
    FStopEvent->SetEvent();
}

TDoTerminateThread::TDoTerminateThread(TCustomFFmpeg* AOwner)
    : FOwner(AOwner), FTermEvent(AOwner ? AOwner->FTermEvent : nullptr)
{}

void TDoTerminateThread::Execute()
{
    if (!FOwner) return;
    FTermEvent->ResetEvent();
    try {
        FOwner->DoTerminate();
    } catch (...) {}
    FTermEvent->SetEvent();
}

// The run's pictures, queues and codec buffers are free once a task has ended, but glibc's
// allocator keeps the pages of a converting thread's arena: they go back to the system, so a
// long queue of tasks does not grow the program by what each run once used. (Under the address
// sanitizer the allocator is the sanitizer's, and glibc's arenas are not in use.)
static void ReleaseFreedMemory()
{
#if !defined(__SANITIZE_ADDRESS__)
    malloc_trim(0);
#endif
}

// --- creation ---

TCustomFFmpeg::TCustomFFmpeg(int AMaxFiles)
{
    if (AMaxFiles < 1 || AMaxFiles > MaxTaskFiles) throw EAssertionFailed(L"AMaxFiles must lie in 1..512");
    FMaxFiles = AMaxFiles;
    Finput_files.assign(FMaxFiles, nullptr);
    Finput_files_ts_offset.assign(FMaxFiles, 0);
    // The per-stream tables of a file are made when something is set in them (a task waiting in
    // the queue keeps none it does not use).
    Finput_files_ts_scale.assign(FMaxFiles, std::vector<double>());
    Foutput_files.assign(FMaxFiles, nullptr);
    Fmeta_data_maps.assign(FMaxFiles, TAVMetaDataMap{});
    Fbitstream_filters.assign(FMaxFiles, std::vector<TBitstreamFilterChain>());
    Foutput_format_options.assign(FMaxFiles, std::vector<TOptionPair>());
    ReportInterval = 500000;
    PreviewInterval = 100000;
    FStopEvent = std::make_shared<TEvent>(true, true);
    FTermEvent = std::make_shared<TEvent>(true, true);
    FConverting = false;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FTotalOutputDuration = -1;
    FEncoderList = nullptr;
    FDecoderList = nullptr;
    FHookContext = TCustomHookContext{};
    FPostContext = TPostHookContext{};
    InitDefaults();
}

// Waits for an event; the main thread keeps serving the calls of other threads meanwhile.
static void WaitServing(TEvent& AEvent)
{
    while (AEvent.WaitFor(20) != wrSignaled) {
        if (IsMainThread()) PumpMessages();
    }
}

TCustomFFmpeg::~TCustomFFmpeg()
{
    // A converting thread that was never started is dropped with the task.
    TConvertThread* thread = FThread;
    if (thread && !thread->Started()) {
        FThread = nullptr;
        delete thread;
        FStopEvent->SetEvent();
    }
    Stop(true);
    // The thread may have ended the task and still be on its way out; a cancelled task may
    // still be ending on its terminating thread.
    WaitServing(*FStopEvent);
    WaitServing(*FTermEvent);
    Cleanup();
    if (DefaultLoader().Loaded(ConverterLibraries)) {
        ResetRGBContext(FHookContext.Context);
        ClearPostHookContext(FPostContext);
    }
}

void TCustomFFmpeg::ResetConverter()
{
    if (!DefaultLoader().Loaded(ConverterLibraries)) return;
    Cleanup();
    InitDefaults();
    FJoinMode = false;
    FConverting = false;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FTotalOutputDuration = -1;
    FRefusedOutput.clear();
    FRefusedOptions.clear();
    {
        std::lock_guard<std::mutex> lock(FCreatedLock);
        FCreatedOutputs.clear();
    }
    AllocFFOptions(FOptions, Fsws_flags);
}

void TCustomFFmpeg::InitDefaults()
{
    Fnb_input_files = 0;
    Fnb_output_files = 0;
    FOutputIdentities.clear();
    Fnb_stream_maps = 0;
    std::vector<TAVStreamMap>().swap(Fstream_maps);
    Fnb_meta_data_maps = 0;
    for (int& id : Fstreamid_map) id = 0;
    for (auto& scales : Finput_files_ts_scale) std::fill(scales.begin(), scales.end(), 0.0);
    Flast_asked_format.clear();
    Fframe_width = 0;
    Fframe_height = 0;
    Fframe_aspect_ratio = 0;
    Fframe_pix_fmt = -1;
    Faudio_sample_fmt = -1;
    Fframe_topBand = Fframe_bottomBand = Fframe_leftBand = Fframe_rightBand = 0;
    for (int& m : Fmax_frames) m = INT32_MAX;
    Fframe_rate = AVRational{0, 0};
    Fvideo_qscale = 0;
    Fintra_matrix.clear();
    Finter_matrix.clear();
    Fvideo_rc_override_string.clear();
    Fvideo_disable = false;
    Fvideo_discard = 0;
    Fvideo_codec_name.clear();
    Fvideo_codec_tag = 0;
    Fvideo_language.clear();
    Fsame_quality = false;
    Fdo_deinterlace = false;
    Ftop_field_first = -1;
    Fme_threshold = 0;
    Fintra_dc_precision = 8;
    Floop_input = false;
    Floop_output = -1;
    Fqp_hist = false;
    Fvfilters.clear();
    FEnableFilter = false;
    Fgraph = nullptr;
    Fintra_only = false;
    Faudio_sample_rate = 44100;
    Fchannel_layout = 0;
    Faudio_qscale = -99999.0f;
    Faudio_disable = false;
    Faudio_channels = 2;
    Faudio_channels_chosen = false;
    Faudio_codec_name.clear();
    Faudio_codec_tag = 0;
    Faudio_language.clear();
    Fsubtitle_disable = false;
    Fsubtitle_codec_name.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;
    Fmux_preload = 0.5f;
    Fmux_max_delay = 0.7f;
    Frecording_time = INT64_MAX;
    Fstart_time = 0;
    Frecording_timestamp = 0;
    Finput_ts_offset = 0;
    Fmetadata.clear();
    Fdo_benchmark = 0;
    Fdo_hex_dump = Fdo_pkt_dump = Fdo_psnr = false;
    Fdo_pass = 0;
    Fpass_logfilename_prefix.clear();
    Faudio_stream_copy = Fvideo_stream_copy = Fsubtitle_stream_copy = 0;
    Fvideo_sync_method = -1;
    Faudio_sync_method = 0;
    Faudio_drift_threshold = 0.1f;
    Fcopy_ts = false;
    Fopt_shortest = false;
    Fvideo_global_header = 0;
    Fvstats_filename.clear();
    Fvstats_file = nullptr;
    Fopt_programid = 0;
    Fcopy_initial_nonkeyframes = 0;
    Frate_emu = false;
    Fvideo_channel = 0;
    Fvideo_standard.clear();
    Faudio_volume = 256;
    Fexit_on_error = false;
    Fusing_stdin = 0;
    Fusing_vhook = false;
    Fverbose = 1;
    Fthread_count = 1;
    Fq_pressed = 0;
    Fvideo_size = Faudio_size = Fextra_size = 0;
    Fnb_frames_dup = Fnb_frames_drop = 0;
    FShowDupOrDrop = false;
    Finput_sync = false;
    Flimit_filesize = 0;
    Fforce_fps = false;
    Fpgmyuv_compatibility_hack = 0;
    Ffile_overwrite = false;
    Fdts_delta_threshold = 10.0f;
    Fsws_flags = 4;
    InitFFOptions(FOptions);
    for (auto& list : FCodecPrivateOptions) list.clear();
    FFormatPrivateOptions.clear();
    Faudio_buf = Faudio_out = nullptr;
    Fallocated_audio_out_size = Fallocated_audio_buf_size = 0;
    Finput_tmp = nullptr;
    Fsamples_size = 0;
    Fsamples = nullptr;
    Fbit_buffer_size = 262144;
    Fbit_buffer = nullptr;
    FHookContext = TCustomHookContext{};
    FPostContext = TPostHookContext{};
    FPostHooks = 0;
    FHookFrameNumber = 0;
    FFatalException = false;
    FThread = nullptr;
    FFirstHook = nullptr;
    FHookBuf = nullptr;
    FHookBufSize = 0;
}

TBitstreamFilterChain& TCustomFFmpeg::BitstreamFilters(int AFileIndex, int AStreamIndex)
{
    std::vector<TBitstreamFilterChain>& chains = Fbitstream_filters[AFileIndex];
    if (chains.empty()) chains.resize(MaxFileStreams);
    return chains[AStreamIndex];
}

void TCustomFFmpeg::ReleaseIdleMemory()
{
    if (FConverting || !DefaultLoader().Loaded(ConverterLibraries)) return;
    CloseIdleInputs();
    PackFFOptions(FOptions);
    // The decoders' contexts are not open until the run: their private part is allocated again
    // (at its defaults, as here) when they are.
    for (auto& item : Finput_stream_codecs) {
        AVCodecContext* ctx = item->codec;
        if (!ctx || av::avcodec_is_open(ctx) || !ctx->priv_data) continue;
        if (ctx->codec && ctx->codec->priv_class) av::av_opt_free(ctx->priv_data);
        av::av_freep(&ctx->priv_data);
    }
}

// --- running ---

TThread* TCustomFFmpeg::StartConvert(bool AUseThread, TThreadPriority APriority)
{
    if (FConverting || FTerminated) return nullptr;
    try {
        if (!FRefusedOutput.empty()) {
            Cleanup();
            throw FFmpegException(FRefusedOutput);
        }
        if (Fnb_output_files <= 0) {
            Cleanup();
            throw FFmpegException(L"At least one output file must be specified");
        }
        if (Fnb_input_files == 0) {
            Cleanup();
            throw FFmpegException(L"At least one input file must be specified");
        }
    } catch (const Exception& e) {
        FailStep(e.Message());
        DoTerminate();
        return nullptr;
    }
    Options();  // the holders back before the run, on the starting thread
    FConverting = true;
    FBroken = false;
    FFinished = false;
    FTerminated = false;
    FConvertingCount = std::make_unique<TConvertingTask>();
    if (!AUseThread) {
        DoConvert();
        return nullptr;
    }
    auto* thread = new TConvertThread(this);
    thread->FreeOnTerminate = true;
    thread->SetPriority(APriority);
    // From here until DoConvert has returned, a waiting Stop must wait for the thread.
    FStopEvent->ResetEvent();
    FThread = thread;
    return thread;
}

void TCustomFFmpeg::FailStep(const String& AMessage)
{
    DefaultLogger()->Log(this, llQuiet, AMessage);
    FFatalException = true;
    FFatalMessage = AMessage;
}

void TCustomFFmpeg::DoConvert()
{
    FFinished = false;
    auto guarded = [this](const std::function<void()>& AStep) {
        try {
            AStep();
        } catch (const Exception& e) {
            FailStep(e.Message());
        } catch (const std::exception& e) {
            FailStep(Utf8ToString(e.what()));
        }
    };
    // The task counts as converting until its codecs are closed: tasks that open theirs
    // meanwhile share the cores with it.
    guarded([this] { Transcode(); });
    guarded([this] { CloseEncoderList(FEncoderList); });
    guarded([this] { CloseDecoderList(FDecoderList); });
    FConvertingCount.reset();
    guarded([this] { Cleanup(); });
    ReleaseFreedMemory();
    guarded([this] { DoTerminate(); });
}

void TCustomFFmpeg::DoTerminate()
{
    FConverting = false;
    FTerminated = true;
    FThread = nullptr;
    if (FOnTerminate) FOnTerminate(this);
}

void TCustomFFmpeg::Stop(bool AWaitFor)
{
    FBroken = true;
    if (FThread == nullptr) return;
    Resume();
    // A converting thread may be handing an event to the main thread: serve it meanwhile.
    if (AWaitFor) WaitServing(*FStopEvent);
}

void TCustomFFmpeg::Cancel(bool AWaitFor)
{
    if (FConverting) {
        Stop(AWaitFor);
        return;
    }
    if (FTerminated) return;
    // A second cancel while the first is still ending the task must not end it twice.
    if (FTermEvent->WaitFor(0) != wrSignaled) {
        if (AWaitFor) FTermEvent->WaitFor(INFINITE);
        return;
    }
    FTermEvent->ResetEvent();
    auto* thread = new TDoTerminateThread(this);
    thread->FreeOnTerminate = true;
    thread->Start();
    if (AWaitFor) FTermEvent->WaitFor(INFINITE);
}

void TCustomFFmpeg::Pause()
{
    if (FThread == nullptr || FPaused) return;
    std::lock_guard<std::mutex> lock(FPauseLock);
    FPaused = true;
}

void TCustomFFmpeg::Resume()
{
    if (!FPaused) return;
    {
        std::lock_guard<std::mutex> lock(FPauseLock);
        FPaused = false;
    }
    FPauseCond.notify_all();
}

void TCustomFFmpeg::CheckPause()
{
    if (!FPaused) return;
    std::unique_lock<std::mutex> lock(FPauseLock);
    FPauseCond.wait(lock, [this] { return !FPaused || FBroken; });
}

// --- opened codecs ---

void TCustomFFmpeg::AddCodecItem(PCodecItem& AList, AVCodecContext* AStream)
{
    auto* item = new TCodecItem{AStream, nullptr, AList};
    if (AList) AList->Prev = item;
    AList = item;
}

void TCustomFFmpeg::RemoveCodecItem(PCodecItem& AList, AVCodecContext* AStream)
{
    for (PCodecItem item = AList; item; item = item->Next) {
        if (item->st != AStream) continue;
        if (item->Prev)
            item->Prev->Next = item->Next;
        else
            AList = item->Next;
        if (item->Next) item->Next->Prev = item->Prev;
        delete item;
        return;
    }
}

// Only opened codecs are in the lists: every item is closed.
void TCustomFFmpeg::CloseEncoderList(PCodecItem& AList)
{
    while (AList) {
        PCodecItem item = AList;
        AList = item->Next;
        if (item->st) {
            av::av_freep(&item->st->stats_in);
            TCriticalSection& lock = CodecLock();
            lock.Enter();
            try {
                av::avcodec_close(item->st);
            } catch (...) {
                lock.Leave();
                delete item;
                throw;
            }
            lock.Leave();
        }
        delete item;
    }
}

void TCustomFFmpeg::CloseDecoderList(PCodecItem& AList)
{
    while (AList) {
        PCodecItem item = AList;
        AList = item->Next;
        if (item->st) {
            TCriticalSection& lock = CodecLock();
            lock.Enter();
            try {
                av::avcodec_close(item->st);
            } catch (...) {
                lock.Leave();
                delete item;
                throw;
            }
            lock.Leave();
        }
        delete item;
    }
}

void TCustomFFmpeg::ClearPostHookContext(TPostHookContext& AContext)
{
    ResetRGBContext(AContext.Context);
    AContext.Bitmap.reset();
    // The main thread may switch the preview off (and free the window) at the same time.
    TCriticalSection& lock = PostHookLock();
    lock.Enter();
    TObject* previewer = AContext.Previewer;
    AContext.Previewer = nullptr;
    lock.Leave();
    delete previewer;
    AContext.preview_last_time = 0;
    AContext.preview_cur_time = 0;
}

// --- clean-up ---

void TCustomFFmpeg::FreeBitstreamFilters()
{
    auto freeChain = [](TBitstreamFilterChain& AChain) {
        for (AVBSFContext*& ctx : AChain) av::av_bsf_free(&ctx);
        AChain.clear();
    };
    freeChain(Fvideo_bitstream_filters);
    freeChain(Faudio_bitstream_filters);
    freeChain(Fsubtitle_bitstream_filters);
    for (auto& file : Fbitstream_filters)
        for (auto& chain : file) freeChain(chain);
}

void TCustomFFmpeg::FreeStreamCodecs(std::vector<std::unique_ptr<TStreamCodec>>& AList)
{
    for (auto& item : AList)
        if (item) av::avcodec_free_context(&item->codec);
    AList.clear();
}

TStreamCodec* TCustomFFmpeg::InputStreamCodec(const AVStream* AStream) const
{
    for (const auto& item : Finput_stream_codecs)
        if (item->st == AStream) return item.get();
    return nullptr;
}

TStreamCodec* TCustomFFmpeg::OutputStreamCodec(const AVStream* AStream) const
{
    for (const auto& item : Foutput_stream_codecs)
        if (item->st == AStream) return item.get();
    return nullptr;
}

void TCustomFFmpeg::CloseOutputFiles()
{
    FreeStreamCodecs(Foutput_stream_codecs);
    for (auto& options : Foutput_format_options) options.clear();
    std::vector<const AVCodec*>().swap(Foutput_codecs);
    Fnb_ocodecs = 0;
    for (int i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        // A joined output fills several entries with one context: it is closed once.
        if (!oc || std::find(Foutput_files.begin(), Foutput_files.begin() + i, oc) != Foutput_files.begin() + i)
            continue;
        String fileName = oc->url ? DecodeAVFileName(oc->url) : String();
        bool discarded = std::find(FDiscardedOutputs.begin(), FDiscardedOutputs.end(), oc) != FDiscardedOutputs.end();
        bool opened = std::find(FOpenedOutputs.begin(), FOpenedOutputs.end(), oc) != FOpenedOutputs.end();
        if (!(oc->oformat && (oc->oformat->flags & AVFMT_NOFILE)) && oc->pb) CloseAVOutputIO(oc);
        av::avformat_free_context(oc);
        // An output that never got a byte, never a packet or no trailer is no result: remove it.
        // Only a file this task opened: one it never started on is someone else's.
        if (opened && !fileName.empty() && (FileSizeOf(fileName) == 0 || (discarded && FileSizeOf(fileName) > 0)))
            DeleteFile(fileName);
    }
    for (auto& oc : Foutput_files) oc = nullptr;
    FDiscardedOutputs.clear();
    FOpenedOutputs.clear();
    FOutputIdentities.clear();
    Fnb_output_files = 0;
}

void TCustomFFmpeg::CloseInputFiles()
{
    FreeStreamCodecs(Finput_stream_codecs);
    // The decoder places follow the streams of the open inputs: they go with them.
    std::vector<const AVCodec*>().swap(Finput_codecs);
    Fnb_icodecs = 0;
    for (int i = 0; i < Fnb_input_files; ++i) {
        if (Finput_files[i]) CloseAVInput(&Finput_files[i]);
        Finput_files[i] = nullptr;
    }
    FInputReopen.clear();
    Fnb_input_files = 0;
    InputsClosed();
}

void TCustomFFmpeg::Cleanup()
{
    if (!DefaultLoader().Loaded(ConverterLibraries)) return;
    FreeFFOptions(FOptions);
    for (auto& list : FCodecPrivateOptions) list.clear();
    FFormatPrivateOptions.clear();
    av::av_freep(&Faudio_buf);
    av::av_freep(&Faudio_out);
    av::av_freep(&Finput_tmp);
    av::av_freep(&Fsamples);
    Fallocated_audio_out_size = 0;
    Fallocated_audio_buf_size = 0;
    Fsamples_size = 0;
    CloseOutputFiles();
    CloseInputFiles();
    Fintra_matrix.clear();
    Finter_matrix.clear();
    if (Fvstats_file) {
        fclose(Fvstats_file);
        Fvstats_file = nullptr;
    }
    Fvstats_filename.clear();
    Fvideo_codec_name.clear();
    Faudio_codec_name.clear();
    Fsubtitle_codec_name.clear();
    Fvideo_standard.clear();
    Fvideo_rc_override_string.clear();
    Fvideo_language.clear();
    Faudio_language.clear();
    Fsubtitle_language.clear();
    Fsubtitle_codec_tag = 0;
    av::av_freep(&Fbit_buffer);
    ReleaseFrameHookChain();
    av::av_freep(&FHookBuf);
    FHookBufSize = 0;
    Fgraph = nullptr;
    FreeDeinterlacer();
    FreeBitstreamFilters();
    Fmetadata.clear();
    ResetRGBContext(FHookContext.Context);
    FHookContext.Bitmap.reset();
    ClearPostHookContext(FPostContext);
}

// --- post hooks ---

void TCustomFFmpeg::SetPostHooks(TPostHooks AHooks)
{
    if (AHooks == FPostHooks) return;
    if (PostHookIn(phPreview, FPostHooks) && !PostHookIn(phPreview, AHooks)) {
        delete FPostContext.Previewer;
        FPostContext.Previewer = nullptr;
    }
    FPostHooks = AHooks;
}

void TCustomFFmpeg::SetPostHooksLocked(TPostHooks AHooks)
{
    TCriticalSection& lock = PostHookLock();
    lock.Enter();
    try {
        SetPostHooks(AHooks);
    } catch (...) {
        lock.Leave();
        throw;
    }
    lock.Leave();
}
