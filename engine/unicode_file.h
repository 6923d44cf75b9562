// File names between the engine (String) and the media libraries (8-bit C strings), and the
// engine's own file access for names of the form "unicode:utf8:<UTF-8 name>". The transcoder,
// the probe and the player encode every name they hand to the libraries with EncodeAVFileName
// and open their files through OpenAVInput / OpenAVOutputIO, which serve such names with an
// I/O context of their own (the libraries cannot register protocols any more).
#pragma once

#include <string>

#include "engine/av_api.h"
#include "platform/framework/core/types.h"

// True when a name must travel as "unicode:utf8:..." (it does not survive the round trip through
// the 8-bit text the libraries take, UTF-8 here); False for URLs of the protocols unicode,
// stream, gopher, http, pipe, rtp, tcp and udp.
bool NeedsUnicodeName(const String& AFileName);
// The name for the libraries: the UTF-8 name, or "unicode:utf8:" and the UTF-8 name. Each call
// returns its own value (safe from any thread).
std::string EncodeAVFileName(const String& AFileName);
String DecodeAVFileName(const char* AName);
bool IsUnicodeName(const char* AName);
std::string MakeUnicodeName(const String& AFileName);
String ParseUnicodeName(const char* AName);

// The engine's own I/O context on the file a "unicode:utf8:" name names. AFlags are
// AVIO_FLAG_READ, AVIO_FLAG_WRITE (create or truncate) or AVIO_FLAG_READ_WRITE (create or
// truncate, readable). 0 or AVERROR(ENOENT) when the file cannot be opened.
int OpenUnicodeIO(const char* AName, int AFlags, AVIOContext** APb);
// Frees a context of OpenUnicodeIO (flushing what is buffered) and closes its file.
void CloseUnicodeIO(AVIOContext** APb);
bool IsUnicodeIO(const AVIOContext* APb);

// avformat_open_input for an encoded name: a "unicode:utf8:" name is read through the engine's
// own context. *AContext may be a context the caller allocated (e.g. with an interrupt
// callback). On failure *AContext is freed and nullptr, as with avformat_open_input.
int OpenAVInput(AVFormatContext** AContext, const char* AName, const AVInputFormat* AFormat, AVDictionary** AOptions);
// avformat_close_input, then frees the engine's own context when the input had one.
void CloseAVInput(AVFormatContext** AContext);
// Opens the output file of AContext (nothing for formats without a file): the engine's own
// context for a "unicode:utf8:" name, avio_open2 otherwise.
int OpenAVOutputIO(AVFormatContext* AContext, const char* AName);
// Closes what OpenAVOutputIO opened (after av_write_trailer); AContext->pb becomes nullptr.
void CloseAVOutputIO(AVFormatContext* AContext);
