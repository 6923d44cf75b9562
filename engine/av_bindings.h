// Run-time bindings of the media libraries. Every entry point the engine calls is a
// process-wide slot named exactly like the exported function, in a namespace per family:
//   av::  FFmpeg (libavutil, libswresample, libswscale, libavcodec, libavformat, libavfilter,
//         libavdevice), e.g. av::avcodec_open2(ctx, codec, &opts)
//   sdl:: SDL 1.2, e.g. sdl::SDL_Init(SDL_INIT_AUDIO)
//   crt:: the C library, e.g. crt::fopen(name, "rb")
// A slot is nullptr until its library is loaded by TFFmpegLoader (library_loader.h) and again
// after it is unloaded; call one only while the loader reports its library as loaded.
// Header inlines that call exported functions (avio_tell, av_err2str, av_opt_set_int_list)
// would need a link-time library: use the slots they expand to instead.
#pragma once

#include <string>

#include "engine/av_api.h"
#include "engine/library_set.h"

// The name lists, one per library, in the order they are bound: one entry a line.
// clang-format off
#define VX_AVUTIL_NAMES(X) \
    X(av_malloc) \
    X(av_mallocz) \
    X(av_realloc) \
    X(av_free) \
    X(av_freep) \
    X(av_strdup) \
    X(av_strlcpy) \
    X(av_strstart) \
    X(av_fast_malloc) \
    X(av_fast_realloc) \
    X(av_gcd) \
    X(av_reduce) \
    X(av_rescale) \
    X(av_rescale_rnd) \
    X(av_rescale_q) \
    X(av_rescale_q_rnd) \
    X(av_compare_ts) \
    X(av_find_nearest_q_idx) \
    X(av_d2q) \
    X(av_gettime) \
    X(av_gettime_relative) \
    X(av_parse_time) \
    X(av_parse_video_rate) \
    X(av_parse_video_size) \
    X(av_log) \
    X(av_log_default_callback) \
    X(av_log_get_level) \
    X(av_log_set_level) \
    X(av_log_set_callback) \
    X(av_get_pix_fmt) \
    X(av_get_pix_fmt_name) \
    X(av_pix_fmt_desc_get) \
    X(av_get_pix_fmt_string) \
    X(av_get_sample_fmt) \
    X(av_get_sample_fmt_name) \
    X(av_get_sample_fmt_string) \
    X(av_get_bytes_per_sample) \
    X(av_sample_fmt_is_planar) \
    X(av_get_packed_sample_fmt) \
    X(av_get_picture_type_char) \
    X(av_opt_find) \
    X(av_opt_set) \
    X(av_opt_get) \
    X(av_opt_set_int) \
    X(av_opt_get_int) \
    X(av_opt_serialize) \
    X(av_opt_free) \
    X(av_opt_set_bin) \
    X(av_dict_get) \
    X(av_dict_set) \
    X(av_dict_copy) \
    X(av_dict_free) \
    X(av_dict_count) \
    X(av_strerror) \
    X(av_frame_alloc) \
    X(av_frame_free) \
    X(av_frame_ref) \
    X(av_frame_unref) \
    X(av_frame_move_ref) \
    X(av_frame_get_buffer) \
    X(av_frame_make_writable) \
    X(av_image_alloc) \
    X(av_image_fill_arrays) \
    X(av_image_get_buffer_size) \
    X(av_image_copy) \
    X(av_samples_alloc) \
    X(av_samples_alloc_array_and_samples) \
    X(av_samples_get_buffer_size) \
    X(av_samples_set_silence) \
    X(av_audio_fifo_alloc) \
    X(av_audio_fifo_free) \
    X(av_audio_fifo_write) \
    X(av_audio_fifo_read) \
    X(av_audio_fifo_size) \
    X(av_channel_layout_default) \
    X(av_channel_layout_copy) \
    X(av_channel_layout_uninit) \
    X(av_channel_layout_compare) \
    X(av_channel_layout_describe) \
    X(av_pix_fmt_get_chroma_sub_sample) \
    X(av_pix_fmt_desc_next) \
    X(av_int_list_length_for_size) \
    X(avutil_version)

#define VX_SWRESAMPLE_NAMES(X) \
    X(swr_alloc_set_opts2) \
    X(swr_init) \
    X(swr_convert) \
    X(swr_get_out_samples) \
    X(swr_get_delay) \
    X(swr_set_compensation) \
    X(swr_free) \
    X(swresample_version)

#define VX_SWSCALE_NAMES(X) \
    X(sws_getContext) \
    X(sws_getCachedContext) \
    X(sws_scale) \
    X(sws_freeContext) \
    X(sws_alloc_context) \
    X(swscale_version)

#define VX_AVCODEC_NAMES(X) \
    X(avcodec_find_decoder) \
    X(avcodec_find_decoder_by_name) \
    X(avcodec_find_encoder) \
    X(avcodec_find_encoder_by_name) \
    X(avcodec_get_name) \
    X(avcodec_descriptor_get) \
    X(avcodec_get_class) \
    X(avcodec_alloc_context3) \
    X(avcodec_free_context) \
    X(avcodec_is_open) \
    X(avcodec_parameters_to_context) \
    X(avcodec_parameters_from_context) \
    X(avcodec_parameters_copy) \
    X(avcodec_open2) \
    X(avcodec_close) \
    X(avcodec_send_packet) \
    X(avcodec_receive_frame) \
    X(avcodec_send_frame) \
    X(avcodec_receive_packet) \
    X(avcodec_flush_buffers) \
    X(avcodec_decode_subtitle2) \
    X(avcodec_encode_subtitle) \
    X(avsubtitle_free) \
    X(avcodec_string) \
    X(av_get_bits_per_sample) \
    X(av_packet_alloc) \
    X(av_packet_free) \
    X(av_packet_ref) \
    X(av_packet_unref) \
    X(av_packet_rescale_ts) \
    X(av_packet_get_side_data) \
    X(av_new_packet) \
    X(av_bsf_get_by_name) \
    X(av_bsf_alloc) \
    X(av_bsf_init) \
    X(av_bsf_send_packet) \
    X(av_bsf_receive_packet) \
    X(av_bsf_free) \
    X(av_rdft_init) \
    X(av_rdft_calc) \
    X(av_rdft_end) \
    X(avcodec_version)

#define VX_AVFORMAT_NAMES(X) \
    X(avformat_get_class) \
    X(avformat_alloc_context) \
    X(avformat_free_context) \
    X(avformat_open_input) \
    X(avformat_close_input) \
    X(avformat_find_stream_info) \
    X(av_find_input_format) \
    X(av_find_best_stream) \
    X(av_read_frame) \
    X(av_read_pause) \
    X(av_read_play) \
    X(av_seek_frame) \
    X(avformat_seek_file) \
    X(av_dump_format) \
    X(av_guess_format) \
    X(av_guess_codec) \
    X(av_codec_get_id) \
    X(av_codec_get_tag) \
    X(avformat_query_codec) \
    X(avformat_alloc_output_context2) \
    X(avformat_new_stream) \
    X(avformat_write_header) \
    X(av_interleaved_write_frame) \
    X(av_write_trailer) \
    X(av_filename_number_test) \
    X(av_sdp_create) \
    X(av_pkt_dump_log2) \
    X(avio_open2) \
    X(avio_closep) \
    X(avio_alloc_context) \
    X(avio_context_free) \
    X(avio_size) \
    X(avio_seek) \
    X(avio_feof) \
    X(avio_flush) \
    X(av_stream_get_parser) \
    X(av_stream_get_codec_timebase) \
    X(avformat_version)

#define VX_AVFILTER_NAMES(X) \
    X(avfilter_graph_alloc) \
    X(avfilter_graph_free) \
    X(avfilter_get_by_name) \
    X(avfilter_graph_create_filter) \
    X(avfilter_link) \
    X(avfilter_inout_alloc) \
    X(avfilter_inout_free) \
    X(avfilter_graph_parse_ptr) \
    X(avfilter_graph_config) \
    X(av_buffersrc_add_frame_flags) \
    X(av_buffersink_get_frame) \
    X(av_buffersink_get_w) \
    X(av_buffersink_get_h) \
    X(av_buffersink_get_format) \
    X(av_buffersink_get_sample_aspect_ratio) \
    X(av_buffersink_get_time_base) \
    X(avfilter_version)

#define VX_AVDEVICE_NAMES(X) X(avdevice_register_all)

// SDL_LockMutex/SDL_UnlockMutex are the second names of SDL_mutexP/SDL_mutexV: own slots,
// bound to the same exports (X2 gives the slot and the exported name).
#define VX_SDL_NAMES(X, X2) \
    X(SDL_Init) \
    X(SDL_Quit) \
    X(SDL_GetError) \
    X(SDL_AddTimer) \
    X(SDL_RemoveTimer) \
    X(SDL_OpenAudio) \
    X(SDL_PauseAudio) \
    X(SDL_CloseAudio) \
    X(SDL_MixAudio) \
    X(SDL_WaitEvent) \
    X(SDL_PushEvent) \
    X(SDL_EventState) \
    X(SDL_GetVideoInfo) \
    X(SDL_SetVideoMode) \
    X(SDL_UpdateRect) \
    X(SDL_WM_SetCaption) \
    X(SDL_MapRGB) \
    X(SDL_FillRect) \
    X(SDL_CreateYUVOverlay) \
    X(SDL_LockYUVOverlay) \
    X(SDL_UnlockYUVOverlay) \
    X(SDL_DisplayYUVOverlay) \
    X(SDL_FreeYUVOverlay) \
    X(SDL_CreateMutex) \
    X(SDL_mutexP) \
    X(SDL_mutexV) \
    X2(SDL_LockMutex, SDL_mutexP) \
    X2(SDL_UnlockMutex, SDL_mutexV) \
    X(SDL_DestroyMutex) \
    X(SDL_CreateCond) \
    X(SDL_DestroyCond) \
    X(SDL_CondSignal) \
    X(SDL_CondWait) \
    X(SDL_CreateThread) \
    X(SDL_WaitThread) \
    X(SDL_AudioDriverName) \
    X(SDL_VideoDriverName)

#define VX_CRT_NAMES(X) \
    X(fopen) \
    X(fclose) \
    X(fread) \
    X(fwrite) \
    X(fseek) \
    X(ftell) \
    X(fprintf) \
    X(snprintf) \
    X(vsnprintf) \
    X(strtod) \
    X(strtok) \
    X(strtol) \
    X(setenv) \
    X(unsetenv)

// clang-format on

#define VX_DECLARE_SLOT(name) extern decltype(&::name) name;
#define VX_DECLARE_SLOT2(slot, name) extern decltype(&::name) slot;

namespace av {
VX_AVUTIL_NAMES(VX_DECLARE_SLOT)
VX_SWRESAMPLE_NAMES(VX_DECLARE_SLOT)
VX_SWSCALE_NAMES(VX_DECLARE_SLOT)
VX_AVCODEC_NAMES(VX_DECLARE_SLOT)
VX_AVFORMAT_NAMES(VX_DECLARE_SLOT)
VX_AVFILTER_NAMES(VX_DECLARE_SLOT)
VX_AVDEVICE_NAMES(VX_DECLARE_SLOT)
}  // namespace av

namespace sdl {
VX_SDL_NAMES(VX_DECLARE_SLOT, VX_DECLARE_SLOT2)
}  // namespace sdl

namespace crt {
VX_CRT_NAMES(VX_DECLARE_SLOT)
}  // namespace crt

#undef VX_DECLARE_SLOT
#undef VX_DECLARE_SLOT2

// The slots of one library: each exported name with the address of its slot, in binding order.
struct TBindSlot {
    const char* Name;  // the exported name looked up
    void** Slot;       // the slot it fills
};
struct TBindSlotList {
    const TBindSlot* Items;
    int Count;
    const TBindSlot* begin() const { return Items; }
    const TBindSlot* end() const { return Items + Count; }
};
TBindSlotList LibrarySlots(TLibrary lib);

// Binding and unbinding of one library, called by the loader. Fixup binds every name of the
// library's list (the first missing one raises "Load function %s@%s error: %s"), checks the
// library's major version against the headers the engine was built with ("Load library %s
// error: version %d, expected %d") and runs the library's set-up call where it has one. Unfix
// sets the library's slots back to nullptr.
void FixupLibrary(TLibrary lib, const std::string& libName, void* handle);
void UnfixLibrary(TLibrary lib);
