// The codec context that opening a file prepares for each of its streams, kept by the task
// until its clean-up. The libraries' streams no longer carry a codec context of their own, so
// the opening stage (open_input.cpp, output_streams.cpp) makes one per stream and the transcode
// set-up finds it by the stream: for an input stream the decoder context with the decoding
// options applied (to be opened by the set-up), for an output stream the encoder context with
// every encoding parameter set (to be opened by the set-up), or the mark of a copied stream.
#pragma once

#include "engine/av_api.h"

struct TStreamCodec {
    AVStream* st = nullptr;            // the library stream of an opened input or output file
    AVCodecContext* codec = nullptr;   // owned: freed with the task's files
    const AVCodec* avcodec = nullptr;  // the decoder (input) or encoder (output) the context was
                                       // made for and is to be opened with; nil when none exists
    bool stream_copy = false;          // output: packets are copied, not encoded
    float quality = 0;                 // output: 118 x qscale of a fixed-quality encoding, else 0
};
