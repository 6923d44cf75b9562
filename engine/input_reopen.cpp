// Inputs of a task waiting in the queue. A listed task has opened and analysed its inputs to set
// up its outputs; until it starts, an input that is a local file is closed (its read buffer, the
// parsers and the packets the analysis read ahead are what a waiting task would hold most of),
// and opened again the same way when the task starts, or earlier when a further input or output
// needs it. A file that cannot be opened again, or no longer holds the streams it was added
// with, fails the task with a clear text: a different layout is never converted silently.
#include <sys/stat.h>

#include <cstring>

#include "engine/av_bindings.h"
#include "engine/library_loader.h"
#include "engine/transcoder.h"
#include "engine/unicode_file.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

template <typename T>
void Put(std::string& AText, const T& AValue)
{
    AText.append(reinterpret_cast<const char*>(&AValue), sizeof AValue);
}

void PutRational(std::string& AText, AVRational AValue)
{
    Put(AText, AValue.num);
    Put(AText, AValue.den);
}

// FNV-1a of a block of bytes: the codec data enters the layout by its size and this.
uint64_t BytesHash(const uint8_t* AData, int ASize)
{
    uint64_t hash = 1469598103934665603ull;
    for (int i = 0; i < ASize; ++i) hash = (hash ^ AData[i]) * 1099511628211ull;
    return hash;
}

// Whether opening the input again reads the same bytes as now: a regular local file read
// through the libraries' own file access or the engine's (not a device, pipe, URL or a demuxer
// that reads files of its own).
bool CanOpenAgain(const AVFormatContext* AContext, const std::string& AName)
{
    if (!AContext->iformat || (AContext->iformat->flags & AVFMT_NOFILE)) return false;
    if ((AContext->flags & AVFMT_FLAG_CUSTOM_IO) && !IsUnicodeIO(AContext->pb)) return false;
    std::string path = IsUnicodeName(AName.c_str()) ? StringToUtf8(ParseUnicodeName(AName.c_str())) : AName;
    if (path.rfind("file:", 0) == 0) path.erase(0, 5);
    struct stat info {};
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

TCustomFFmpeg::TInputReopen::~TInputReopen()
{
    if (Parameters) av::av_dict_free(&Parameters);
}

std::string TCustomFFmpeg::InputLayout(const AVFormatContext* AContext)
{
    std::string text;
    text += AContext->iformat ? AContext->iformat->name : "";
    text += '\0';
    Put(text, AContext->nb_streams);
    Put(text, AContext->nb_programs);
    Put(text, AContext->start_time);
    for (unsigned i = 0; i < AContext->nb_streams; ++i) {
        const AVStream* st = AContext->streams[i];
        const AVCodecParameters* par = st->codecpar;
        Put(text, st->id);
        Put(text, st->disposition);
        Put(text, st->start_time);
        PutRational(text, st->time_base);
        PutRational(text, st->r_frame_rate);
        PutRational(text, st->avg_frame_rate);
        PutRational(text, st->sample_aspect_ratio);
        Put(text, par->codec_type);
        Put(text, par->codec_id);
        Put(text, par->codec_tag);
        Put(text, par->format);
        Put(text, par->profile);
        Put(text, par->level);
        Put(text, par->width);
        Put(text, par->height);
        PutRational(text, par->sample_aspect_ratio);
        Put(text, par->field_order);
        Put(text, par->sample_rate);
        Put(text, par->ch_layout.order);
        Put(text, par->ch_layout.nb_channels);
        Put(text, par->ch_layout.order == AV_CHANNEL_ORDER_NATIVE ? par->ch_layout.u.mask : 0);
        Put(text, par->frame_size);
        Put(text, par->block_align);
        Put(text, par->bits_per_coded_sample);
        Put(text, par->bits_per_raw_sample);
        Put(text, par->extradata_size);
        Put(text, BytesHash(par->extradata, par->extradata_size));
    }
    return text;
}

void TCustomFFmpeg::NoteInputOpened(std::unique_ptr<TInputReopen> ARecipe, AVFormatContext* AContext)
{
    ARecipe->StreamDiscard.clear();
    for (unsigned i = 0; i < AContext->nb_streams; ++i) ARecipe->StreamDiscard.push_back(AContext->streams[i]->discard);
    ARecipe->Layout = InputLayout(AContext);
    ARecipe->Closable = CanOpenAgain(AContext, ARecipe->Name);
    ARecipe->Closed = false;
    if (int(FInputReopen.size()) <= Fnb_input_files) FInputReopen.resize(Fnb_input_files + 1);
    FInputReopen[Fnb_input_files] = std::move(ARecipe);
}

bool TCustomFFmpeg::InputsClosedForNow() const
{
    for (int i = 0; i < Fnb_input_files && i < int(FInputReopen.size()); ++i)
        if (FInputReopen[i] && FInputReopen[i]->Closed) return true;
    return false;
}

void TCustomFFmpeg::CloseIdleInputs()
{
    if (FConverting || Fnb_output_files <= 0 || !DefaultLoader().Loaded(ConverterLibraries)) return;
    bool closed = false;
    for (int i = 0; i < Fnb_input_files && i < int(FInputReopen.size()); ++i) {
        TInputReopen* recipe = FInputReopen[i].get();
        if (!recipe || recipe->Closed || !recipe->Closable || !Finput_files[i]) continue;
        const size_t count = recipe->StreamDiscard.size();
        for (size_t k = 0; k < count && recipe->FirstStreamCodec + k < Finput_stream_codecs.size(); ++k)
            Finput_stream_codecs[recipe->FirstStreamCodec + k]->st = nullptr;
        CloseAVInput(&Finput_files[i]);
        recipe->Closed = true;
        closed = true;
    }
    // The probes read the closed contexts.
    if (closed) InputsClosed();
}

void TCustomFFmpeg::ReopenInputs()
{
    for (int i = 0; i < Fnb_input_files && i < int(FInputReopen.size()); ++i) {
        TInputReopen* recipe = FInputReopen[i].get();
        if (!recipe || !recipe->Closed) continue;
        AVFormatContext* ic = nullptr;
        String error;
        int seekResult = 0;
        if (OpenInputContext(*recipe, ic, error, seekResult) < 0) throw FFmpegException(error);
        if (InputLayout(ic) != recipe->Layout) {
            CloseAVInput(&ic);
            throw FFmpegException(Format(
                L"%s: the file has changed since it was added (its streams are not the ones listed); add it again",
                recipe->FileName));
        }
        for (unsigned k = 0; k < ic->nb_streams; ++k) {
            ic->streams[k]->discard = AVDiscard(recipe->StreamDiscard[k]);
            if (recipe->FirstStreamCodec + k < Finput_stream_codecs.size())
                Finput_stream_codecs[recipe->FirstStreamCodec + k]->st = ic->streams[k];
        }
        Finput_files[i] = ic;
        recipe->Closed = false;
    }
}
