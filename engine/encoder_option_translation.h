// Translation of encoder names and options that the older libraries took and the current encoders take
// under other names: the flags2 tokens of the H.264 presets, "directpred", "cqp", the
// "scan_offset" flag of the MPEG-2 targets, and the partition lists. The option setter
// (SetContextOption) applies it, so built-in presets, preset files and targets all convert.
#pragma once

#include <string>
#include <vector>

struct TOptionPair {
    std::string Name;
    std::string Value;
};

// True when AName/AValue uses an option or flag token of the table; AResult then holds the
// options to set instead (flag tokens outside the table stay under the original name).
bool TranslateEncoderOption(const std::string& AName, const std::string& AValue, std::vector<TOptionPair>& AResult);

// "partitions" given as flag tokens ("+parti8x8-partp4x4"): the encoder matches parts of the
// text, so a token switched off would switch the partition on. The list form names only the
// partitions switched on ("i8x8,p8x8"), "none" when there is none.
bool IsPartitionList(const std::string& AName, const std::string& AValue);
std::string TranslatePartitions(const std::string& AValue);

// The encoder that stands in for one the current libraries lack ("libfaac" -> "aac",
// "libamr_nb" -> "libopencore_amrnb", "msmpeg4v1" -> "msmpeg4v2"); other names unchanged.
std::string EncoderSuccessorName(const std::string& AName);

// The encoder that stands in for one whose codec a container cannot store: AAC in the MPEG
// program-stream muxers ("ac3" for the disc muxers "vob", "dvd", "svcd"; "mp2" for "mpeg" and
// "vcd") and MS-MPEG-4 v2 in the MP4 family ("mpeg4"). AFormatName is the muxer's name,
// ACodecName the codec's ("aac", "msmpeg4v2"); empty when the table has no entry.
std::string ContainerEncoderSuccessorName(const std::string& AFormatName, const std::string& ACodecName);
