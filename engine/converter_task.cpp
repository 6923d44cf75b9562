// TFFmpeg, the task the task component creates: its input probes, its stored copies of the
// option records, the option text applied to it, and the opening of its files through the
// transcoder.
#include "engine/av_probe.h"
#include "engine/option_text.h"
#include "engine/transcoder.h"

namespace {

// The names that only the output's stream pass (newvideo, newaudio, newsubtitle and what they
// take) may hand on, and the codec names that the output side defers.
bool NeverHandedOn(const String& AName)
{
    static const wchar_t* const names[] = {L"newvideo", L"newaudio", L"newsubtitle", L"apre",
                                           L"vpre",     L"spre",     L"vfilters",    L"vf"};
    for (const wchar_t* name : names)
        if (AName == name) return true;
    return false;
}

bool InputSideOnly(const String& AName)
{
    return AName == L"acodec" || AName == L"vcodec" || AName == L"scodec" || AName == L"s";
}

}  // namespace

TFFmpeg::TFFmpeg(int AMaxFiles) : TCustomFFmpeg(AMaxFiles)
{
    FAVProbes.assign(FMaxFiles, nullptr);
    FInputOptions.assign(FMaxFiles, nullptr);
    FOutputOptions.assign(FMaxFiles, nullptr);
}

TFFmpeg::~TFFmpeg()
{
    // The probes only borrow the inputs' contexts; the transcoder closes them.
    for (TAVProbe*& probe : FAVProbes) {
        delete probe;
        probe = nullptr;
    }
    FAVProbes.clear();
    for (PInputOptions& options : FInputOptions) {
        if (options) InitInputOptions(options);
        delete options;
        options = nullptr;
    }
    for (POutputOptions& options : FOutputOptions) {
        if (options) InitOutputOptions(options);
        delete options;
        options = nullptr;
    }
    FInputOptions.clear();
    FOutputOptions.clear();
}

void TFFmpeg::InputsClosed()
{
    for (TAVProbe*& probe : FAVProbes) {
        delete probe;
        probe = nullptr;
    }
}

TAVProbe* TFFmpeg::GetProbe(int AIndex)
{
    TAVProbe*& probe = FAVProbes.at(AIndex);
    if (!probe) probe = new TAVProbe(nullptr);
    return probe;
}

void TFFmpeg::SetInputOptions(int AIndex, PInputOptions AOptions)
{
    PInputOptions& entry = FInputOptions.at(AIndex);
    if (!entry) {
        entry = new TInputOptions;
        InitInputOptions(entry);
    }
    if (AOptions) *entry = *AOptions;
}

void TFFmpeg::SetOutputOptions(int AIndex, POutputOptions AOptions)
{
    POutputOptions& entry = FOutputOptions.at(AIndex);
    if (!entry) {
        entry = new TOutputOptions;
        InitOutputOptions(entry);
    }
    if (AOptions) *entry = *AOptions;
}

void TFFmpeg::ClearInputOptions(int AIndex)
{
    if (AIndex >= 0 && AIndex < int(FInputOptions.size()) && FInputOptions[AIndex])
        InitInputOptions(FInputOptions[AIndex]);
}

void TFFmpeg::ClearOutputOptions(int AIndex)
{
    if (AIndex >= 0 && AIndex < int(FOutputOptions.size()) && FOutputOptions[AIndex])
        InitOutputOptions(FOutputOptions[AIndex]);
}

void TFFmpeg::ApplyExtOptions(const String& AText, bool AAll)
{
    for (const TOptionLine& line : SplitOptionText(AText)) {
        if (NeverHandedOn(line.LowerName)) continue;
        if (!AAll && InputSideOnly(line.LowerName)) continue;
        ApplyOption(line.LowerName, line.Value);
    }
}

bool TFFmpeg::OpenInput(const String& AFileName) { return OpenInputFile(AFileName); }

int TFFmpeg::OpenOutput(const String& AFileName, bool AJoin) { return OpenOutputFile(AFileName, AJoin); }
