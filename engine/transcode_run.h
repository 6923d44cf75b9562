// The records of one transcode run of a conversion task, and where the run's stages live. A
// run is a pipeline from the input files to the output files; TCustomFFmpeg::Transcode
// (transcode_setup.cpp) builds the records, runs the loop and frees them again:
//
//   opening      before the run: inputs opened and analysed, decoders prepared (open_input.cpp);
//                outputs created with their streams and prepared encoders (open_output.cpp,
//                output_streams.cpp, codec_lookup.cpp, encoder_format_choice.cpp)
//   set-up       stream tables, the mapping of input to output streams, codecs opened, the
//                statistics of two-pass encodings, headers written (transcode_setup.cpp,
//                two_pass.cpp)
//   demuxing     the input to read next, its packets and their timestamps, the recording time,
//                the end of an input and of the run (transcode_loop.cpp)
//   decoding     packets decoded, stream clocks kept, sound made packed 16-bit; copied streams
//                pass their packets on (decode_packet.cpp)
//   pictures     the hooks and deinterlacing of decoded pictures (frame_hook_calls.cpp,
//                frame_hook_chain.cpp, deinterlace.cpp); the filter graph with cropping and
//                scaling (video_filter_graph.cpp); frame-rate sync and the scaler without a
//                graph (video_path.cpp); the preview of encoded pictures (frame_hook_calls.cpp)
//   sound        sync with the video, resampling to the encoder, its sample queue and frames
//                (audio_path.cpp)
//   encoding and muxing
//                encoders drained, packets through the bitstream filters and written
//                interleaved, subtitles encoded (encode_write.cpp); trailers at the end of the
//                loop (transcode_loop.cpp)
//   progress     the reports to OnProgress and the log (progress_report.cpp)
//
// The records hold the input files, the input streams with their decoders and clocks, and the
// output streams with their encoders, resamplers, scalers and sample queues. They live only while
// Transcode runs.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/av_api.h"

struct TAVInputFile {
    int eof_reached = 0;  // 1 once reading met the end of the file or an error
    int ist_index = 0;    // position of the file's first stream in the input stream table
    int buffer_size = 0;
    int nb_streams = 0;  // the file's stream count at set-up
};

struct TAVInputStream {
    int file_index = 0;
    int index = 0;  // stream number within its file
    AVStream* st = nullptr;
    AVCodecContext* dec = nullptr;     // the prepared decoder context (owned by the task)
    const AVCodec* decoder = nullptr;  // the decoder it was prepared for
    bool decoder_opened = false;
    int discard = 1;  // 1 until an output stream takes this stream as its source
    int decoding_needed = 0;
    int64_t sample_index = 0;
    int64_t start = 0;     // clock at set-up with rate emulation, microseconds
    int64_t next_pts = 0;  // microseconds: the time the next decoded data will have
    int64_t pts = 0;       // microseconds: the time of the data being handled
    int is_start = 1;
    int showed_multi_packet_warning = 0;
    int is_past_recording_time = 0;
    int decoder_flushed = 0;
    float quality = 0;  // quality of the last decoded picture
    // Audio: decoded samples normalised to packed signed 16-bit at the decoder's rate and layout.
    SwrContext* s16_ctx = nullptr;
    int s16_format = -1, s16_rate = 0;
    AVChannelLayout s16_layout{};
    int channels = 0;     // channels of the samples handed to the output routines
    int sample_rate = 0;  // their rate
};

struct TAVOutputStream {
    int file_index = 0;
    int index = 0;  // stream number within its output file
    int source_index = 0;
    AVStream* st = nullptr;
    AVCodecContext* enc = nullptr;     // the encoder context (owned by the task)
    const AVCodec* encoder = nullptr;  // the encoder it is opened with
    bool stream_copy = false;
    int encoding_needed = 0;
    int frame_number = 0;
    TAVInputStream* sync_ist = nullptr;
    int64_t sync_opts = 0;  // the next output time in encoder time-base units (audio: samples)
    float quality = 0;      // the fixed quality of the stream (118 x qscale), 0 for none
    // Joined outputs: every block's record of one library stream uses the encoder state of the
    // first block's record (itself in the first block).
    TAVOutputStream* first = nullptr;

    // video
    int video_resample = 0;
    AVFrame* pict_tmp = nullptr;  // receives rescaled pictures
    SwsContext* img_resample_ctx = nullptr;
    int resample_height = 0, resample_width = 0, resample_pix_fmt = -1;
    int original_height = 0, original_width = 0;
    int video_crop = 0;
    int topBand = 0, bottomBand = 0, leftBand = 0, rightBand = 0;
    int original_topBand = 0, original_bottomBand = 0, original_leftBand = 0, original_rightBand = 0;
    // The video filter graph of the stream ("vfilters"): decoded pictures enter its source, the
    // encoder takes them from its sink. The graph is rebuilt when the decoded pictures change
    // size or format; source_width, source_height and source_format are what it was built for.
    AVFilterGraph* filter_graph = nullptr;
    AVFilterContext* input_video_filter = nullptr;
    AVFilterContext* out_video_filter = nullptr;
    int source_width = 0, source_height = 0, source_format = -1;
    std::string filter_chain;  // the filters as built, "src -> ... -> out"

    // audio
    int audio_resample = 0;
    SwrContext* resample = nullptr;  // S16 at the decoder's rate and layout -> the encoder's
    int resample_in_rate = 0, resample_in_channels = 0;
    AVAudioFifo* fifo = nullptr;     // converted samples waiting for a whole encoder frame
    AVFrame* audio_frame = nullptr;  // the frame handed to the encoder
    int64_t audio_pts = 0;           // samples handed to the encoder so far

    FILE* logfile = nullptr;  // statistics of the first pass of a two-pass encoding
    AVCodecID codec_id = AV_CODEC_ID_NONE;
    int show_fps = 0;
    bool encoder_flushed = false;

    // what the report and the input choice read
    double end_time = 0;   // seconds: end of the last packet written
    int last_quality = 0;  // lambda of the last encoded packet
    int last_pict_type = 0;
    int64_t last_error[4] = {};
    bool has_error = false;
};

// The tables of one run.
struct TTranscodeRun {
    std::vector<TAVInputFile> InputFileTable;
    std::vector<std::unique_ptr<TAVInputStream>> InputStreamTable;
    std::vector<std::unique_ptr<TAVOutputStream>> OutputStreamTable;
    int JoinBlockSize = 0;
    std::vector<bool> NoPacketFlags;
    int NoPacketCount = 0;
    int CurrentFileIndex = 0;
    int64_t LastReportTime = 0;
    double ReportedTime = 0;          // seconds: the time the last report gave, which later ones never go below
    std::vector<bool> HeaderWritten;  // per output entry
    std::vector<const AVFormatContext*> WrittenOutputs;  // outputs that received a packet
    AVFrame* DecodedFrame = nullptr;
    AVPacket* OutPacket = nullptr;
    // Encoders are drained when their source is flushed, except at the switch between joined
    // inputs, where they go on with the next input.
    bool DrainEncoders = true;
    unsigned input_tmp_size = 0;
    std::vector<uint8_t> SubtitleBuffer;
    // planar or packed samples converted for an encoder, before they enter its queue
    uint8_t** ConvertBuffer = nullptr;
    int ConvertSamples = 0, ConvertChannels = 0, ConvertFormat = -1;
};

// Holds the process-wide codec lock while it lives (opening and closing codecs).
class TRunCodecLock {
public:
    TRunCodecLock();
    ~TRunCodecLock();
    TRunCodecLock(const TRunCodecLock&) = delete;
    TRunCodecLock& operator=(const TRunCodecLock&) = delete;
};

// The time of a timestamp in microseconds (AV_NOPTS_VALUE stays).
int64_t TimestampToMicroseconds(int64_t ATimestamp, AVRational ATimeBase);
// Nearest(x): the nearest integer, halves to the even neighbour.
int64_t NearestInt(double AValue);
