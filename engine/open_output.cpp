// Creating an output file of a conversion task: its format (forced or by the name), the video,
// audio and subtitle streams it gets from the inputs and options, its metadata, the opening of
// the file and the joining of several inputs into it. The task component calls
// OpenOutputFile when an output is set, which checks the file but leaves it alone; the run
// opens it (OpenOutputTargets) when the task starts converting. An existing file is never
// touched unless the task allows overwriting ("y"), and an input of the task is never opened
// for writing.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <ctime>
#include <filesystem>

#include "engine/av_bindings.h"
#include "engine/logger.h"
#include "engine/transcoder.h"
#include "engine/unicode_file.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

// The local file a name for the libraries stands for; empty for other protocols' URLs.
std::string LocalPath(const char* AName)
{
    if (!AName) return std::string();
    if (IsUnicodeName(AName)) return StringToUtf8(ParseUnicodeName(AName));
    std::string name = AName;
    if (name.rfind("file:", 0) == 0) return name.substr(5);
    size_t colon = name.find(':');
    if (colon != std::string::npos && colon > 1 && isalpha(static_cast<unsigned char>(name[0]))) {
        bool scheme = true;
        for (size_t i = 0; i < colon; ++i) {
            char c = name[i];
            if (!isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.') scheme = false;
        }
        if (scheme) return std::string();
    }
    return name;
}

bool SameFile(const struct stat& A, const struct stat& B) { return A.st_dev == B.st_dev && A.st_ino == B.st_ino; }

// A file's name with every link on its way resolved, as far as the path exists: two spellings
// of an output that does not exist yet (a linked folder, "..") give the same name.
std::filesystem::path CanonicalName(const std::string& APath)
{
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(APath, ec);
    if (ec) absolute = APath;
    std::filesystem::path canonical = std::filesystem::weakly_canonical(absolute, ec);
    return ec ? absolute.lexically_normal() : canonical;
}

// An image codec as the default video codec of a container that also has a default audio
// codec is its cover picture (mp3, flac): such a container has no video of its own.
bool HasDefaultVideo(const AVOutputFormat* AFormat)
{
    if (AFormat->video_codec == AV_CODEC_ID_NONE) return false;
    bool picture = AFormat->video_codec == AV_CODEC_ID_PNG || AFormat->video_codec == AV_CODEC_ID_MJPEG;
    return !(picture && AFormat->audio_codec != AV_CODEC_ID_NONE);
}

bool IsFeedName(const String& AFileName) { return EndsText(L".ffm", AFileName); }

String FeedMessage(const String& AFileName)
{
    return Format(L"Feed output '%s' is not supported: the media libraries have no ffm format", AFileName);
}

}  // namespace

bool TCustomFFmpeg::CanTakeSubtitles(const AVOutputFormat* AFormat, bool AFirstOnly) const
{
    const AVCodec* encoder =
        av::avcodec_find_encoder(av::av_guess_codec(AFormat, nullptr, nullptr, nullptr, AVMEDIA_TYPE_SUBTITLE));
    const AVCodecDescriptor* target = encoder ? av::avcodec_descriptor_get(encoder->id) : nullptr;
    if (!target) return false;
    // The subtitles the default mapping takes: the first subtitle stream of the inputs.
    int count = AFirstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (int i = 0; i < count; ++i) {
        const AVFormatContext* ic = Finput_files[i];
        for (unsigned j = 0; ic && j < ic->nb_streams; ++j) {
            const AVCodecParameters* par = ic->streams[j]->codecpar;
            if (par->codec_type != AVMEDIA_TYPE_SUBTITLE) continue;
            const AVCodecDescriptor* source = av::avcodec_descriptor_get(par->codec_id);
            const int kinds = AV_CODEC_PROP_TEXT_SUB | AV_CODEC_PROP_BITMAP_SUB;
            return source && (source->props & target->props & kinds) != 0;
        }
    }
    return false;
}

void TCustomFFmpeg::check_audio_video_sub_inputs(bool& AHasVideo, bool& AHasAudio, bool AFirstOnly, bool& AHasSubtitle)
{
    AHasVideo = AHasAudio = AHasSubtitle = false;
    int count = AFirstOnly ? std::min(Fnb_input_files, 1) : Fnb_input_files;
    for (int i = 0; i < count; ++i) {
        AVFormatContext* ic = Finput_files[i];
        for (unsigned j = 0; j < ic->nb_streams; ++j) {
            switch (ic->streams[j]->codecpar->codec_type) {
            case AVMEDIA_TYPE_VIDEO: AHasVideo = true; break;
            case AVMEDIA_TYPE_AUDIO: AHasAudio = true; break;
            case AVMEDIA_TYPE_SUBTITLE: AHasSubtitle = true; break;
            case AVMEDIA_TYPE_DATA:
            case AVMEDIA_TYPE_ATTACHMENT:
            case AVMEDIA_TYPE_UNKNOWN: break;
            default: throw FFmpegException(L"invalid codec_type of input file");
            }
        }
    }
}

AVDictionary* TCustomFFmpeg::OutputHeaderOptions(int AFileIndex) const
{
    AVDictionary* options = nullptr;
    if (AFileIndex < 0 || AFileIndex >= int(Foutput_format_options.size())) return options;
    for (const TOptionPair& pair : Foutput_format_options[AFileIndex])
        av::av_dict_set(&options, pair.Name.c_str(), pair.Value.c_str(), 0);
    return options;
}

// Checks that the output file may be written: not one of the inputs, not another output of the
// task, not an existing file unless overwriting is allowed, and in a folder that exists and can
// be written. Nothing is created. The error text, or empty.
String TCustomFFmpeg::CheckOutputTarget(const AVFormatContext* AContext, const std::string& AEncodedName,
                                        const String& AFileName) const
{
    std::string path = LocalPath(AEncodedName.c_str());
    if (path.empty()) return String();
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0) {
        for (int i = 0; i < Fnb_input_files; ++i) {
            std::string input = LocalPath(Finput_files[i] ? Finput_files[i]->url : nullptr);
            struct stat source {};
            if (!input.empty() && ::stat(input.c_str(), &source) == 0 && SameFile(source, target))
                return Format(L"Output file '%s' is the same as input file #%d", AFileName, i);
        }
        for (int i = 0; i < Fnb_output_files; ++i) {
            if (Foutput_files[i] == AContext) continue;
            std::string output = LocalPath(Foutput_files[i] ? Foutput_files[i]->url : nullptr);
            struct stat other {};
            if (!output.empty() && ::stat(output.c_str(), &other) == 0 && SameFile(other, target))
                return Format(L"Output file '%s' is already an output of this task", AFileName);
        }
        if (!Ffile_overwrite) return Format(L"File '%s' already exists", AFileName);
        if (S_ISDIR(target.st_mode)) return ErrorCodeText(AFileName, AVERROR(EISDIR));
        return String();
    }
    // A new file: its folder must take it (the error the opening would give later).
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (folder.empty()) folder = ".";
    struct stat place {};
    if (::stat(folder.c_str(), &place) != 0) return ErrorCodeText(AFileName, AVERROR(errno));
    if (!S_ISDIR(place.st_mode)) return ErrorCodeText(AFileName, AVERROR(ENOTDIR));
    if (::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        return ErrorCodeText(AFileName, AVERROR(errno));
    return String();
}

void TCustomFFmpeg::OpenOutputTargets()
{
    for (int i = 0; i < Fnb_output_files; ++i) {
        AVFormatContext* oc = Foutput_files[i];
        // A joined output fills several entries with one context: it is opened once.
        if (!oc || oc->pb || (oc->oformat && (oc->oformat->flags & AVFMT_NOFILE)) ||
            std::find(Foutput_files.begin(), Foutput_files.begin() + i, oc) != Foutput_files.begin() + i)
            continue;
        const std::string name = oc->url ? oc->url : "";
        const String fileName = DecodeAVFileName(name.c_str());
        String refusal = CheckOutputTarget(oc, name, fileName);
        if (!refusal.empty()) throw FFmpegException(refusal);
        // Without overwriting the file is made here, exclusively: one that appeared meanwhile
        // is refused rather than replaced.
        std::string path = LocalPath(name.c_str());
        bool made = false;
        if (!Ffile_overwrite && !path.empty()) {
            int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd < 0) {
                if (errno == EEXIST) throw FFmpegException(Format(L"File '%s' already exists", fileName));
                throw FFmpegException(ErrorCodeText(fileName, AVERROR(errno)));
            }
            ::close(fd);
            made = true;
        }
        int result = OpenAVOutputIO(oc, name.c_str());
        if (result < 0) {
            if (made) ::unlink(path.c_str());
            throw FFmpegException(ErrorCodeText(fileName, result));
        }
        FOpenedOutputs.push_back(oc);
        std::lock_guard<std::mutex> lock(FCreatedLock);
        FCreatedOutputs.push_back(fileName);
    }
}

std::vector<String> TCustomFFmpeg::CreatedOutputs() const
{
    std::lock_guard<std::mutex> lock(FCreatedLock);
    return FCreatedOutputs;
}

TCustomFFmpeg::TOutputIdentity TCustomFFmpeg::ResolveOutputIdentity(const std::string& APath)
{
    TOutputIdentity identity;
    struct stat target {};
    if (::stat(APath.c_str(), &target) == 0) {
        identity.Exists = true;
        identity.Device = target.st_dev;
        identity.Inode = target.st_ino;
    }
    identity.Name = CanonicalName(APath).string();
    return identity;
}

std::optional<TCustomFFmpeg::TOutputIdentity> TCustomFFmpeg::OutputIdentity(const String& AFileName)
{
    std::string path = LocalPath(EncodeAVFileName(AFileName).c_str());
    if (path.empty()) return std::nullopt;
    return ResolveOutputIdentity(path);
}

bool TCustomFFmpeg::NamesOutput(const String& AFileName) const
{
    std::optional<TOutputIdentity> target = OutputIdentity(AFileName);
    return target && NamesOutput(*target);
}

bool TCustomFFmpeg::NamesOutput(const TOutputIdentity& ATarget) const
{
    // By identity where both files exist, else by the name with its folders' links resolved.
    for (const TOutputIdentity& other : FOutputIdentities) {
        if (ATarget.Exists && other.Exists) {
            if (other.Device == ATarget.Device && other.Inode == ATarget.Inode) return true;
        } else if (other.Name == ATarget.Name) {
            return true;
        }
    }
    return false;
}

void TCustomFFmpeg::DropOutputContext(AVFormatContext* AContext, bool AAppended, bool AFileOpened)
{
    int fileIndex = OutputFileIndex(AContext);
    for (auto it = Foutput_stream_codecs.begin(); it != Foutput_stream_codecs.end();) {
        bool ours = false;
        for (unsigned i = 0; i < AContext->nb_streams; ++i) ours = ours || AContext->streams[i] == (*it)->st;
        if (ours) {
            av::avcodec_free_context(&(*it)->codec);
            it = Foutput_stream_codecs.erase(it);
        } else {
            ++it;
        }
    }
    if (fileIndex < FMaxFiles) {
        for (TBitstreamFilterChain& chain : Fbitstream_filters[fileIndex]) {
            for (AVBSFContext*& bsf : chain) av::av_bsf_free(&bsf);
            chain.clear();
        }
        Foutput_format_options[fileIndex].clear();
    }
    if (AFileOpened) CloseAVOutputIO(AContext);
    av::avformat_free_context(AContext);
    if (AAppended && Fnb_output_files > 0 && Foutput_files[Fnb_output_files - 1] == AContext)
        Foutput_files[--Fnb_output_files] = nullptr;
}

void TCustomFFmpeg::SetupJoin()
{
    FJoinMode = true;
    int64_t total = 0;
    for (int i = 0; i < Fnb_input_files; ++i)
        if (Finput_files[i]->duration != AV_NOPTS_VALUE) total += Finput_files[i]->duration;
    FTotalOutputDuration = total == 0 ? -1 : total;
    // One output entry per input file, all the same context: the run writes input after input.
    for (int i = 1; i < Fnb_input_files; ++i) {
        Foutput_files[Fnb_output_files] = Foutput_files[Fnb_output_files - 1];
        Foutput_format_options[Fnb_output_files] = Foutput_format_options[Fnb_output_files - 1];
        ++Fnb_output_files;
    }
}

int TCustomFFmpeg::OpenOutputFile(const String& AFileName, bool AJoin)
{
    if (FJoinMode) {
        FLastErrMsg = L"Cannot join more than one output file.";
        return -1;
    }
    int needed = AJoin && Fnb_input_files > 1 ? Fnb_input_files : 1;
    if (Fnb_output_files + needed > FMaxFiles) {
        FLastErrMsg = Format(L"max output files %d reached", FMaxFiles);
        return -1;
    }
    FEnableFilter = !Fvfilters.empty();

    std::string name = EncodeAVFileName(AFileName);
    const AVOutputFormat* format = nullptr;
    if (!Flast_asked_format.empty()) {
        format = av::av_guess_format(Flast_asked_format.c_str(), nullptr, nullptr);
        if (!format) {
            FLastErrMsg =
                Flast_asked_format == "ffm"
                    ? FeedMessage(AFileName)
                    : Format(L"Requested output format '%s' is not a suitable output format", Flast_asked_format);
            return -1;
        }
        Flast_asked_format.clear();
    } else {
        format = av::av_guess_format(nullptr, name.c_str(), nullptr);
        if (!format) {
            FLastErrMsg = IsFeedName(AFileName)
                              ? FeedMessage(AFileName)
                              : Format(L"Unable to find a suitable output format for '%s'", AFileName);
            return -1;
        }
    }
    AVFormatContext* oc = nullptr;
    if (av::avformat_alloc_output_context2(&oc, format, nullptr, name.c_str()) < 0 || !oc)
        throw FFmpegException(L"avformat_alloc_context failed");

    const int ocodecs = Fnb_ocodecs;
    bool appended = false;
    auto fail = [&](const String& AMessage) {
        FLastErrMsg = AMessage;
        DropOutputContext(oc, appended, false);
        // Encoder places taken by the dropped streams are given back.
        for (int i = ocodecs; i < Fnb_ocodecs && i < int(Foutput_codecs.size()); ++i) Foutput_codecs[i] = nullptr;
        Fnb_ocodecs = ocodecs;
        return -1;
    };

    bool useVideo = HasDefaultVideo(format) || Fvideo_stream_copy || !Fvideo_codec_name.empty();
    bool useAudio = format->audio_codec != AV_CODEC_ID_NONE || Faudio_stream_copy || !Faudio_codec_name.empty();
    bool useSubtitle =
        format->subtitle_codec != AV_CODEC_ID_NONE || Fsubtitle_stream_copy || !Fsubtitle_codec_name.empty();
    if (Fnb_input_files > 0) {
        bool hasVideo = false, hasAudio = false, hasSubtitle = false;
        try {
            check_audio_video_sub_inputs(hasVideo, hasAudio, AJoin, hasSubtitle);
        } catch (const Exception& e) {
            return fail(Format(L"check_audio_video_sub_inputs fail: %s", e.Message()));
        }
        useVideo = useVideo && hasVideo;
        useAudio = useAudio && hasAudio;
        useSubtitle = useSubtitle && hasSubtitle;
    }
    if (Faudio_disable) useAudio = false;
    if (Fvideo_disable) useVideo = false;
    if (Fsubtitle_disable) useSubtitle = false;
    // Without a subtitle codec named (and nothing copied) the container's own subtitle codec
    // takes the input's subtitles when it can: text to text, pictures to pictures. Others are
    // left out; the rest converts.
    if (useSubtitle && !Fsubtitle_stream_copy && Fsubtitle_codec_name.empty() && !CanTakeSubtitles(format, AJoin)) {
        DefaultLogger()->Log(this, llWarning, L"No subtitle encoder for '%s': its subtitle stream is left out",
                             AFileName);
        useSubtitle = false;
        Fsubtitle_language.clear();
    }

    struct TStep {
        bool Wanted;
        void (TCustomFFmpeg::*Operation)(AVFormatContext*);
        const wchar_t* Text;
    } steps[] = {{useVideo, &TCustomFFmpeg::new_video_stream, L"new_video_stream fail: %s"},
                 {useAudio, &TCustomFFmpeg::new_audio_stream, L"new_audio_stream fail: %s"},
                 {useSubtitle, &TCustomFFmpeg::new_subtitle_stream, L"new_subtitle_stream fail: %s"}};
    for (const TStep& step : steps) {
        if (!step.Wanted) continue;
        try {
            (this->*step.Operation)(oc);
        } catch (const Exception& e) {
            return fail(Format(step.Text, e.Message()));
        }
    }

    if (Frecording_timestamp != 0) {
        std::time_t seconds = std::time_t(Frecording_timestamp);
        std::tm utc{};
        gmtime_r(&seconds, &utc);
        char text[64];
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000000Z", &utc);
        av::av_dict_set(&oc->metadata, "creation_time", text, 0);
    }
    // Set from the last pair to the first, so of two pairs with one key the first given stays.
    for (auto it = Fmetadata.rbegin(); it != Fmetadata.rend(); ++it)
        av::av_dict_set(&oc->metadata, it->Key.c_str(), it->Value.c_str(), 0);
    Fmetadata.clear();

    Foutput_files[Fnb_output_files++] = oc;
    appended = true;

    if ((format->flags & AVFMT_NEEDNUMBER) && av::av_filename_number_test(oc->url) == 0)
        return fail(ErrorCodeText(DecodeAVFileName(oc->url), AVERROR(EDOM)));
    // The file is only checked now; the run opens it when the task starts converting.
    if (!(format->flags & AVFMT_NOFILE)) {
        String refusal = CheckOutputTarget(oc, name, AFileName);
        if (!refusal.empty()) return fail(refusal);
    }
    if (std::string path = LocalPath(name.c_str()); !path.empty())
        FOutputIdentities.push_back(ResolveOutputIdentity(path));

    oc->max_delay = int(Fmux_max_delay * 1000000.0f);
    oc->flags |= AVFMT_FLAG_NONBLOCK;
    ApplyFFOptions(Options(), oc, Options().avformat_opts, AV_OPT_FLAG_ENCODING_PARAM);
    // The muxer's own options go to the writing of the header: its preload, then the options
    // set by name.
    std::vector<TOptionPair>& headerOptions = Foutput_format_options[Fnb_output_files - 1];
    headerOptions.clear();
    if (format->priv_class &&
        av::av_opt_find(const_cast<AVClass**>(&format->priv_class), "preload", nullptr, 0, AV_OPT_SEARCH_FAKE_OBJ))
        headerOptions.push_back(TOptionPair{"preload", std::to_string(int64_t(Fmux_preload * 1000000.0f))});
    headerOptions.insert(headerOptions.end(), FFormatPrivateOptions.begin(), FFormatPrivateOptions.end());

    for (int& id : Fstreamid_map) id = 0;
    if (AJoin && Fnb_input_files > 1) SetupJoin();
    return Fnb_output_files;
}
