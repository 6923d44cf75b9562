// One playback of the preview player: the state record TVideoState, the packet queues between
// the reading thread and the decoders, and the operations of the playback's threads. The player
// component (player.cpp) creates the record through OpenStream and ends it through
// CloseStream; the reading (player_reader.cpp), video (player_video.cpp), sound and subtitle
// (player_audio.cpp) and output (player_output.cpp) parts all work on this record.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/av_api.h"
#include "engine/player.h"

constexpr int AUDIO_BUF_BYTES = 288000;
constexpr int SAMPLE_ARRAY_SIZE = 2 * 65536;
constexpr int VIDEO_PICTURE_QUEUE_SIZE = 2;
constexpr int SUBPICTURE_QUEUE_SIZE = 4;
constexpr int MAX_QUEUE_SIZE = 15 * 1024 * 1024;
constexpr int MIN_AUDIOQ_SIZE = 20 * 16 * 1024;
constexpr int MIN_FRAMES = 5;

// The player's own SDL events (first user data: the state record).
constexpr int AllocPictureEvent = SDL_USEREVENT;  // 24
constexpr int RefreshEvent = SDL_USEREVENT + 1;   // 25
constexpr int QuitEvent = SDL_USEREVENT + 2;      // 26
constexpr int RedrawEvent = SDL_USEREVENT + 3;    // 27

struct TPacketNode {
    AVPacket pkt;
    TPacketNode* next;
};

struct TPacketQueue {
    TPacketNode* first_pkt;
    TPacketNode* last_pkt;
    int nb_packets;
    int size;
    std::atomic<int> abort_request;
    SDL_mutex* mutex;
    SDL_cond* cond;
};

struct TVideoPicture {
    double PTS;          // presentation time, seconds
    double TargetClock;  // wall clock (seconds) when to show it
    int64_t Pos;         // byte position of its packet, -1 none
    SDL_Overlay* Overlay;
    int Width, Height;  // overlay size
    int Allocated;
    int PixFmt;       // of the filter output
    AVFrame* PicRef;  // the filtered picture, held while queued
};

struct TSubPicture {
    double PTS;
    AVSubtitle Sub;
};

struct TVideoState {
    uint8_t audio_buf1[AUDIO_BUF_BYTES];  // silence handed to the device while no sound is ready
    uint8_t audio_buf2[AUDIO_BUF_BYTES];  // decoded sound converted to signed 16-bit
    SDL_Thread* parse_tid;
    SDL_Thread* video_tid;
    SDL_Thread* refresh_tid;
    const AVInputFormat* iformat;
    int no_background;
    std::atomic<int> abort_request;
    std::atomic<int> paused;
    int last_paused;
    std::atomic<int> seek_req;
    int seek_flags;
    int64_t seek_pos;
    int64_t seek_rel;
    int read_pause_return;
    AVFormatContext* ic;
    int audio_stream;
    Tav_sync_type av_sync_type;
    double external_clock;
    int64_t external_clock_time;

    double audio_clock;
    double audio_diff_cum;
    double audio_diff_avg_coef;
    double audio_diff_threshold;
    int audio_diff_avg_count;
    AVStream* audio_st;
    AVCodecContext* audio_ctx;  // the audio decoder
    TPacketQueue audioq;
    int audio_hw_buf_size;
    SDL_AudioSpec audio_spec;  // what the device (or the silent stand-in) plays
    bool audio_device;         // SDL's sound device is open (else the silent stand-in runs)
    SDL_Thread* silent_tid;
    uint8_t* audio_buf;
    unsigned audio_buf_size;
    int audio_buf_index;
    AVPacket* audio_pkt;
    AVFrame* audio_frame;
    bool audio_pkt_pending;  // audio_pkt was refused by a full decoder and waits
    int audio_src_fmt;
    int audio_src_rate;
    AVChannelLayout audio_src_layout;
    SwrContext* reformat_ctx;
    std::atomic<int> show_audio;
    int16_t sample_array[SAMPLE_ARRAY_SIZE];
    int sample_array_index;
    int last_i_start;
    RDFTContext* rdft;
    int rdft_bits;
    FFTSample* rdft_data;
    int xpos;

    SDL_Thread* subtitle_tid;
    int subtitle_stream;
    std::atomic<int> subtitle_stream_changed;
    AVStream* subtitle_st;
    AVCodecContext* subtitle_ctx;
    TPacketQueue subtitleq;
    TSubPicture subpq[SUBPICTURE_QUEUE_SIZE];
    int subpq_size, subpq_rindex, subpq_windex;
    SDL_mutex* subpq_mutex;
    SDL_cond* subpq_cond;

    double frame_timer;
    double frame_last_pts;
    double frame_last_delay;
    double video_clock;
    int video_stream;
    AVStream* video_st;
    AVCodecContext* video_ctx;
    TPacketQueue videoq;
    double video_current_pts;
    double video_current_pts_drift;
    int64_t video_current_pos;
    TVideoPicture pictq[VIDEO_PICTURE_QUEUE_SIZE];
    int pictq_size, pictq_rindex, pictq_windex;
    int shown_index;  // the entry shown last (what is on screen), -1 before the first
    SDL_mutex* pictq_mutex;
    SDL_cond* pictq_cond;
    wchar_t filename[1024];
    int width, height, xleft, ytop;
    int64_t faulty_pts, faulty_dts, last_dts_for_fault_detection, last_pts_for_fault_detection;
    AVFilterContext* out_video_filter;
    int out_width, out_height, out_format;  // the filter output's size and format
    float skip_frames, skip_frames_index;
    std::atomic<int> refresh;
    TCustomPlayer* Owner;
    std::atomic<int> Opened;
    int64_t StartTime, Duration, AudioDuration;
    int IsImage2, IsDevice;
    int ErrorEOF;
    std::atomic<int> EventEOF, ReachEOF, Reading;
    std::atomic<int> open_paused, seek_paused, seek_done, seek_flushed;
    // Opened paused: the first picture stays shown (the second waits in the queue) until the
    // playback resumes or seeks.
    std::atomic<int> open_hold;
    // Held by the reading thread around routing a packet, and by stream switching around closing
    // and reopening a component, so no packet goes to a queue being replaced.
    SDL_mutex* stream_mutex;
};

// Packet queues.
void PacketQueueInit(TPacketQueue* q);
void PacketQueueFlush(TPacketQueue* q);
void PacketQueueDone(TPacketQueue* q);
int PacketQueuePut(TPacketQueue* q, AVPacket* pkt, const AVPacket* flush_pkt);
void PacketQueueAbort(TPacketQueue* q);
int PacketQueueGet(TPacketQueue* q, AVPacket* pkt, bool block);
bool IsFlushPacket(const TVideoState* is, const AVPacket* pkt);

// Playback (player_reader.cpp).
bool OpenStream(TCustomPlayer* APlayer, const String& AFileName, const AVInputFormat* AFormat, bool APaused);
void CloseStream(TVideoState* is);
int OpenStreamComponent(TVideoState* is, int stream_index);
void CloseStreamComponent(TVideoState* is, int stream_index);
void RequestSeek(TVideoState* is, TSeekFlags flags, bool wait, int64_t rel, int64_t pos);
void TogglePauseState(TVideoState* is);
void PushQuitEvent(TVideoState* is);
void PushRedrawEvent(TVideoState* is);
int DecodeInterrupt(void* opaque);
void FreeVideoState(TVideoState* is);

// Video (player_video.cpp).
int VideoThread(void* arg);
int RefreshThread(void* arg);
void AllocPicture(TVideoState* is);
void RefreshDisplay(TVideoState* is, bool advance);
void RunEventLoop(TCustomPlayer* APlayer);
double AudioClock(TVideoState* is);
double VideoClock(TVideoState* is);
double ExternalClock(TVideoState* is);
double MasterClock(TVideoState* is);
double ComputeTargetTime(TVideoState* is, double pts);
double WallClock();  // seconds

// Sound and subtitles (player_audio.cpp).
void SoundCallback(void* opaque, Uint8* stream, int len);
int SilentDeviceThread(void* arg);
int AudioDecodeFrame(TVideoState* is, double* pts_ptr);
int SynchronizeAudio(TVideoState* is, uint8_t* samples, int samples_size);
void UpdateSampleDisplay(TVideoState* is, const int16_t* samples, int samples_size);
int SubtitleThread(void* arg);
void FreeSubPicture(TSubPicture* sp);

// Output (player_output.cpp).
int VideoOpen(TVideoState* is, bool force);
void VideoDisplay(TVideoState* is);
void ShowPicture(TVideoState* is);
void BlendSubRect(uint8_t* data[3], const int linesize[3], const AVSubtitleRect* rect, int imgw, int imgh);
void ShowAudioDisplay(TVideoState* is);
