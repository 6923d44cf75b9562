// The one table of encoder option translations (see the header).
#include "engine/encoder_option_translation.h"

namespace {

struct TFlagTranslation {
    const char* Option;    // the option whose flag token is translated
    const char* Token;     // the token without its sign
    const char* Name;      // the encoder option now
    const char* OnValue;   // value for "+token"
    const char* OffValue;  // value for "-token"
};

const TFlagTranslation FlagTranslations[] = {
    {"flags2", "wpred", "weightb", "1", "0"},
    {"flags2", "mixed_refs", "mixed-refs", "1", "0"},
    {"flags2", "dct8x8", "8x8dct", "1", "0"},
    {"flags2", "fastpskip", "fast-pskip", "1", "0"},
    {"flags2", "bpyramid", "b-pyramid", "normal", "none"},
    {"flags2", "mbtree", "mbtree", "1", "0"},
    {"flags", "scan_offset", "scan_offset", "1", "0"},
};

struct TNameTranslation {
    const char* Option;
    const char* Name;
};

const TNameTranslation NameTranslations[] = {
    {"directpred", "direct-pred"},
    {"cqp", "qp"},
};

struct TNameSuccessor {
    const char* Name;
    const char* Successor;
};

const TNameSuccessor EncoderSuccessors[] = {
    {"libfaac", "aac"},
    {"libamr_nb", "libopencore_amrnb"},
    {"msmpeg4v1", "msmpeg4v2"},
};

struct TContainerSuccessor {
    const char* Format;  // muxer name
    const char* Codec;   // codec the muxer cannot store
    const char* Successor;
};

const TContainerSuccessor ContainerSuccessors[] = {
    {"vob", "aac", "ac3"},         {"dvd", "aac", "ac3"},          {"svcd", "aac", "ac3"},
    {"mpeg", "aac", "mp2"},        {"vcd", "aac", "mp2"},          {"mp4", "msmpeg4v2", "mpeg4"},
    {"mov", "msmpeg4v2", "mpeg4"}, {"ipod", "msmpeg4v2", "mpeg4"}, {"psp", "msmpeg4v2", "mpeg4"},
    {"3gp", "msmpeg4v2", "mpeg4"}, {"3g2", "msmpeg4v2", "mpeg4"},
};

struct TFlagToken {
    char Sign;
    std::string Token;
};

// Splits "+a-b+c" (a first token without sign counts as "+") into its tokens.
std::vector<TFlagToken> SplitFlagTokens(const std::string& AValue)
{
    std::vector<TFlagToken> tokens;
    size_t pos = 0;
    while (pos < AValue.size()) {
        char sign = '+';
        if (AValue[pos] == '+' || AValue[pos] == '-') sign = AValue[pos++];
        size_t end = AValue.find_first_of("+-", pos);
        if (end == std::string::npos) end = AValue.size();
        if (end > pos) tokens.push_back(TFlagToken{sign, AValue.substr(pos, end - pos)});
        pos = end;
    }
    return tokens;
}

}  // namespace

bool TranslateEncoderOption(const std::string& AName, const std::string& AValue, std::vector<TOptionPair>& AResult)
{
    AResult.clear();
    for (const TNameTranslation& t : NameTranslations) {
        if (AName == t.Option) {
            AResult.push_back(TOptionPair{t.Name, AValue});
            return true;
        }
    }
    bool translated = false;
    std::string rest;
    for (const TFlagToken& token : SplitFlagTokens(AValue)) {
        const TFlagTranslation* found = nullptr;
        for (const TFlagTranslation& t : FlagTranslations)
            if (AName == t.Option && token.Token == t.Token) found = &t;
        if (found) {
            AResult.push_back(TOptionPair{found->Name, token.Sign == '+' ? found->OnValue : found->OffValue});
            translated = true;
        } else {
            rest += token.Sign + token.Token;
        }
    }
    if (!translated) {
        AResult.clear();
        return false;
    }
    if (!rest.empty()) AResult.insert(AResult.begin(), TOptionPair{AName, rest});
    return true;
}

bool IsPartitionList(const std::string& AName, const std::string& AValue)
{
    if (AName != "partitions") return false;
    std::vector<TFlagToken> tokens = SplitFlagTokens(AValue);
    if (tokens.empty()) return false;
    for (const TFlagToken& token : tokens)
        if (token.Token.rfind("part", 0) != 0) return false;
    return true;
}

std::string TranslatePartitions(const std::string& AValue)
{
    std::string list;
    for (const TFlagToken& token : SplitFlagTokens(AValue)) {
        if (token.Sign != '+') continue;
        if (!list.empty()) list += ',';
        list += token.Token.substr(4);
    }
    return list.empty() ? "none" : list;
}

std::string EncoderSuccessorName(const std::string& AName)
{
    for (const TNameSuccessor& s : EncoderSuccessors)
        if (AName == s.Name) return s.Successor;
    return AName;
}

std::string ContainerEncoderSuccessorName(const std::string& AFormatName, const std::string& ACodecName)
{
    for (const TContainerSuccessor& s : ContainerSuccessors)
        if (AFormatName == s.Format && ACodecName == s.Codec) return s.Successor;
    return std::string();
}
