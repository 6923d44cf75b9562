// Filling the task component's tasks: AddTask and AddInputFile with their input options,
// SetOutputFile with its output options, the option keys that wait for the output's streams,
// and the text forms of these calls.
#include <cmath>
#include <utility>
#include <vector>

#include "engine/converter.h"
#include "engine/option_text.h"
#include "engine/serving_lock.h"
#include "engine/small_texts.h"
#include "platform/framework/core/date_time.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/strings.h"

namespace {

// Name and value lines kept back until the output's streams exist: the defaults ("def_acodec"
// and the like) and the deferred lines of the option text, in text order.
struct TDeferredOption {
    String Name;
    String Value;
};
using TDeferredOptions = std::vector<TDeferredOption>;

bool HasEntry(const TDeferredOptions& AList, const String& AName)
{
    for (const TDeferredOption& option : AList)
        if (option.Name == AName) return true;
    return false;
}

String EntryValue(const TDeferredOptions& AList, const String& AName)
{
    for (const TDeferredOption& option : AList)
        if (option.Name == AName) return option.Value;
    return String();
}

void AddDefault(TDeferredOptions& AList, const String& AName, const String& AValue)
{
    if (!AValue.empty()) AList.push_back(TDeferredOption{L"def_" + AName, AValue});
}

// The names an output's stream pass uses; "vfilters" counts as "vf".
bool IsDeferredName(const String& ALowerName)
{
    static const wchar_t* const names[] = {L"acodec", L"vcodec", L"scodec", L"apre",    L"vpre",
                                           L"spre",   L"s",      L"vf",     L"vfilters"};
    for (const wchar_t* name : names)
        if (ALowerName == name) return true;
    return false;
}

TDeferredOptions PrepareDeferredOptions(const TOutputOptions& AOptions)
{
    TDeferredOptions list;
    AddDefault(list, L"acodec", AOptions.AudioCodec);
    AddDefault(list, L"vcodec", AOptions.VideoCodec);
    AddDefault(list, L"scodec", AOptions.SubtitleCodec);
    AddDefault(list, L"apre", AOptions.AudioPreset);
    AddDefault(list, L"vpre", AOptions.VideoPreset);
    AddDefault(list, L"spre", AOptions.SubtitlePreset);
    AddDefault(list, L"s", AOptions.FrameSize);
    AddDefault(list, L"vf", AOptions.VideoFilters);
    for (const TOptionLine& line : SplitOptionText(AOptions.ExtOptions)) {
        if (!IsDeferredName(line.LowerName) || line.Value.empty()) continue;
        String name = line.LowerName == L"vfilters" ? String(L"vf") : line.LowerName;
        if (!HasEntry(list, L"def_" + name)) list.push_back(TDeferredOption{L"def_" + name, line.Value});
        list.push_back(TDeferredOption{name, line.Value});
    }
    return list;
}

// Hands the first deferred line of the name on and drops it; without one, the name's default.
void TakeDeferredOption(TFFmpeg& ATask, TDeferredOptions& AList, const String& AName)
{
    for (auto it = AList.begin(); it != AList.end(); ++it) {
        if (it->Name == AName) {
            String value = it->Value;
            AList.erase(it);
            ATask.ApplyOption(AName, value);
            return;
        }
    }
    ATask.ApplyOption(AName, EntryValue(AList, L"def_" + AName));
}

// After the output is open: each new-stream line takes the deferred values its stream uses.
void ApplyNewStreamOptions(TFFmpeg& ATask, const String& AExtOptions, TDeferredOptions& AList)
{
    for (const TOptionLine& line : SplitOptionText(AExtOptions)) {
        if (line.LowerName == L"newaudio") {
            TakeDeferredOption(ATask, AList, L"acodec");
            TakeDeferredOption(ATask, AList, L"apre");
        } else if (line.LowerName == L"newvideo") {
            TakeDeferredOption(ATask, AList, L"vcodec");
            TakeDeferredOption(ATask, AList, L"vpre");
            TakeDeferredOption(ATask, AList, L"s");
            TakeDeferredOption(ATask, AList, L"vf");
        } else if (line.LowerName == L"newsubtitle") {
            TakeDeferredOption(ATask, AList, L"scodec");
            TakeDeferredOption(ATask, AList, L"spre");
        } else {
            continue;
        }
        ATask.ApplyOption(line.LowerName, line.Value);
    }
}

String StreamName(TStream* AStream, const String& APrivateData)
{
    return L"stream:" + std::to_wstring(reinterpret_cast<uintptr_t>(AStream)) + L":" + APrivateData;
}

}  // namespace

// Files are only opened with the libraries loaded: without them a task could not even be reset.
void TCustomFFConverter::CheckLibrariesLoaded()
{
    if (!AVLibLoaded()) throw Exception(L"Converter libraries not loaded.");
}

TFFmpeg* TCustomFFConverter::TaskAt(int ATaskIndex, const String& AOperation)
{
    if (ATaskIndex < 0 || ATaskIndex >= FFFmpegList.Count())
        throw EListError(Format(L"%s: task index out of bounds (%d)", AOperation.c_str(), ATaskIndex));
    return FFFmpegList.Items(ATaskIndex);
}

// The main thread opens files holding CodecLock, which a converting thread may hold while it
// waits for the main thread to take a log line: the lock is taken serving those calls, and the
// transcoder's own taking of it inside the opening then succeeds at once.
bool TCustomFFConverter::OpenTaskInput(TFFmpeg& ATask, const String& AFileName)
{
    TServingLock lock(CodecLock());
    return ATask.OpenInput(AFileName);
}

int TCustomFFConverter::OpenTaskOutput(TFFmpeg& ATask, const String& AFileName, bool AJoin)
{
    TServingLock lock(CodecLock());
    return ATask.OpenOutput(AFileName, AJoin);
}

// A task waiting in the queue may have closed its inputs: what reads them opens them again.
void TCustomFFConverter::ReopenTaskInputs(TFFmpeg& ATask)
{
    if (!ATask.InputsClosedForNow()) return;
    TServingLock lock(CodecLock());
    ATask.ReopenInputs();
}

// The input's probe reads what the opened input holds (the main window logs its description).
void TCustomFFConverter::AttachProbe(TFFmpeg& ATask, int AFileIndex)
{
    ATask.GetProbe(AFileIndex)->SetFileHandle(ATask.Finput_files[AFileIndex]);
}

void TCustomFFConverter::ApplyInputOptions(TFFmpeg& ATask, PInputOptions AOptions)
{
    ATask.SetInputOptions(ATask.Fnb_input_files, AOptions);
    ATask.ApplyExtOptions(AOptions->ExtOptions, true);
    ATask.SetFormat(AOptions->FileFormat);
    if (AOptions->TimeStart != NoTimestamp) ATask.SetStartTime(AOptions->TimeStart);
    if (AOptions->ProgramID >= 0) ATask.SetProgramId(AOptions->ProgramID);
}

int TCustomFFConverter::AddTask(const String& AFileName, PInputOptions AOptions)
{
    CheckNotWorking(L"AddTask");
    // A bad CustomMaxFiles fails the task's assertion, which reaches the caller.
    std::unique_ptr<TFFmpeg> task(CreateTask(FCustomMaxFiles));
    try {
        CheckLibrariesLoaded();
        task->ResetConverter();
        task->SetVerbose(FVerbose);
        TPostHooks hooks = 0;
        if (FPreview) hooks |= PostHookSet(phPreview);
        if (FPreviewBitmap) hooks |= PostHookSet(phBitmap);
        task->SetPostHooks(hooks);
        task->FOnPreviewBitmap = [this](TObject* ASender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS) {
            DoPreviewBitmap(ASender, ABitmap, AFrameNumber, APTS);
        };
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            ApplyInputOptions(*task, AOptions);
        }
        int index = task->Fnb_input_files;
        if (!OpenTaskInput(*task, AFileName)) {
            FLastErrMsg = task->FLastErrMsg;
            return -1;
        }
        AttachProbe(*task, index);
        ConnectTask(*task);
        task->ReleaseIdleMemory();
    } catch (const Exception& e) {
        FLastErrMsg = e.Message();
        return -1;
    }
    return FFFmpegList.Add(task.release());
}

int TCustomFFConverter::AddTask(const String& AFileName, const String& AExtOptions)
{
    TInputOptions options;
    InitInputOptions(&options);
    for (const TOptionLine& line : SplitOptionText(AExtOptions)) {
        if (line.LowerName == L"timestart")
            options.TimeStart = OptionTextTime(line.Value);
        else
            options.ExtOptions += line.Name + L"=" + line.Value + L"\n";
    }
    return AddTask(AFileName, &options);
}

int TCustomFFConverter::AddTask(TStream* AStream, const String& APrivateData, PInputOptions AOptions)
{
    return AddTask(StreamName(AStream, APrivateData), AOptions);
}

bool TCustomFFConverter::AddInputFile(int ATaskIndex, const String& AFileName, PInputOptions AOptions)
{
    CheckNotWorking(L"AddInputFile");
    try {
        CheckLibrariesLoaded();
        TFFmpeg* task = TaskAt(ATaskIndex, L"AddInputFile");
        ReopenTaskInputs(*task);
        int index = task->Fnb_input_files;
        if (index >= task->FMaxFiles) {
            FLastErrMsg = Format(L"max input files %d reached", task->FMaxFiles);
            return false;
        }
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            ApplyInputOptions(*task, AOptions);
        } else {
            task->ClearInputOptions(index);
        }
        if (!OpenTaskInput(*task, AFileName)) {
            task->ClearInputOptions(index);
            FLastErrMsg = task->FLastErrMsg;
            return false;
        }
        AttachProbe(*task, index);
        task->ReleaseIdleMemory();
        return true;
    } catch (const Exception& e) {
        FLastErrMsg = e.Message();
        return false;
    }
}

bool TCustomFFConverter::AddInputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions)
{
    TInputOptions options;
    InitInputOptions(&options);
    for (const TOptionLine& line : SplitOptionText(AExtOptions)) {
        if (line.LowerName == L"timestart")
            options.TimeStart = OptionTextTime(line.Value);
        else
            options.ExtOptions += line.Name + L"=" + line.Value + L"\n";
    }
    return AddInputFile(ATaskIndex, AFileName, &options);
}

void TCustomFFConverter::ApplyTargetType(TFFmpeg& ATask, const TOutputOptions& AOptions)
{
    if (AOptions.TargetType == ttIgnore) return;
    ATask.SetTarget(Utf8ToString(TargetTypeText(AOptions.TargetType)), Utf8ToString(NormTypeText(AOptions.NormType)),
                    Utf8ToString(NormDefaultText(AOptions.NormDefault)));
}

// The record's fields but the codecs, presets, frame size and filters, in its field order.
void TCustomFFConverter::ApplyOutputOptions(TFFmpeg& ATask, const TOutputOptions& O)
{
    auto named = [&ATask](const wchar_t* AName, int AValue) {
        if (AValue > 0) ATask.ApplyOption(AName, IntToStr(AValue));
    };
    ATask.SetFormat(O.FileFormat);
    named(L"packetsize", O.PacketSize);
    named(L"muxrate", O.MuxRate);
    ATask.SetMuxMaxDelay(O.MuxDelay);
    ATask.SetMuxPreload(O.MuxPreload);
    if (O.DisableAudio) ATask.Faudio_disable = true;
    ATask.SetAudioVolume(O.AudioVolume);
    if (O.AudioChannels > 0) ATask.SetAudioChannels(O.AudioChannels);
    if (O.AudioSampleRate > 0) ATask.SetAudioSampleRate(O.AudioSampleRate);
    named(L"ab", O.AudioBitrate);
    named(L"abt", O.AudioBitRateTolerance);
    if (O.DisableVideo) ATask.Fvideo_disable = true;
    ATask.SetFrameRate(O.FrameRate);
    ATask.SetAspectRatio(O.FrameAspectRatio);
    ATask.SetCropTop(O.CropTop);
    ATask.SetCropBottom(O.CropBottom);
    ATask.SetCropLeft(O.CropLeft);
    ATask.SetCropRight(O.CropRight);
    named(L"g", O.GroupPictureSize);
    named(L"vb", O.VideoBitrate);
    named(L"maxrate", O.VideoMaxRate);
    named(L"minrate", O.VideoMinRate);
    named(L"bt", O.VideoBitRateTolerance);
    named(L"bufsize", O.VideoBufSize);
    ATask.SetAudioSyncMethod(O.AudioSyncMethod);
    ATask.SetVideoSyncMethod(O.VideoSyncMethod);
    ATask.SetAudioTag(O.AudioTag);
    ATask.SetVideoTag(O.VideoTag);
    ATask.Faudio_language = O.AudioLanguage;
    ATask.Fvideo_language = O.VideoLanguage;
    if (O.DisableSubtitle) ATask.Fsubtitle_disable = true;
    ATask.Fsubtitle_language = O.SubtitleLanguage;
    ATask.Finput_sync = O.InputSync;
    if (O.CopyTimestamp) ATask.Fcopy_ts = true;
    ATask.SetStartTime(O.TimeStart);
    ATask.SetRecordingTime(O.TimeLength);
    const TStreamInfo& info = O.Info;
    if (info.TimeStamp >= 0) {
        TDateTime stamp = info.TimeStamp == 0 ? Now() : info.TimeStamp;
        ATask.Frecording_timestamp = int64_t(std::nearbyint((stamp - 25569.0 - TimeZoneBias()) * 86400.0));
    }
    if (info.Year > 0) ATask.AddMetadataPair("year", std::to_string(info.Year));
    if (info.Track > 0) ATask.AddMetadataPair("track", std::to_string(info.Track));
    const std::pair<const char*, const std::string*> texts[] = {
        {"title", &info.Title},     {"author", &info.Author}, {"copyright", &info.Copyright},
        {"comment", &info.Comment}, {"album", &info.Album},   {"genre", &info.Genre}};
    for (const auto& [key, value] : texts)
        if (!value->empty()) ATask.AddMetadataPair(key, *value);
}

bool TCustomFFConverter::SetOutputFile(int ATaskIndex, const String& AFileName, POutputOptions AOptions)
{
    CheckNotWorking(L"SetOutputFile");
    TFFmpeg* task = nullptr;
    // A refused output fails its task when the queue reaches it: the task is not converted
    // without it as if it were complete.
    auto refuse = [&](const String& AText) {
        FLastErrMsg = AText;
        if (task && task->FRefusedOutput.empty()) task->FRefusedOutput = AText;
        return false;
    };
    try {
        CheckLibrariesLoaded();
        task = TaskAt(ATaskIndex, L"SetOutputFile");
        ReopenTaskInputs(*task);
        int index = task->Fnb_output_files;
        if (index >= task->FMaxFiles) return refuse(Format(L"max output files %d reached", task->FMaxFiles));
        // Two tasks never write one file (each would replace or corrupt the other's).
        const std::optional<TCustomFFmpeg::TOutputIdentity> target = TCustomFFmpeg::OutputIdentity(AFileName);
        for (int i = 0; target && i < FFFmpegList.Count(); ++i) {
            if (i != ATaskIndex && FFFmpegList.Items(i)->NamesOutput(*target))
                return refuse(Format(L"Output file '%s' is already the output of task #%d", AFileName, i));
        }
        TDeferredOptions deferred;
        bool join = false;
        if (AOptions) {
            if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
            task->SetOutputOptions(index, AOptions);
            deferred = PrepareDeferredOptions(*AOptions);
            ApplyTargetType(*task, *AOptions);
            task->SetAudioCodec(EntryValue(deferred, L"def_acodec"));
            task->SetVideoCodec(EntryValue(deferred, L"def_vcodec"));
            task->SetSubtitleCodec(EntryValue(deferred, L"def_scodec"));
            task->LoadPreset(L"apre", EntryValue(deferred, L"def_apre"));
            task->LoadPreset(L"vpre", EntryValue(deferred, L"def_vpre"));
            task->LoadPreset(L"spre", EntryValue(deferred, L"def_spre"));
            task->ApplyExtOptions(AOptions->ExtOptions, false);
            ApplyOutputOptions(*task, *AOptions);
            task->SetFrameSize(EntryValue(deferred, L"def_s"));
            task->SetVideoFilters(EntryValue(deferred, L"def_vf"));
            if (AOptions->CustomHook) {
                task->FOnCustomHook = [this](TObject* ASender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS,
                                             bool& AUpdate, bool& AStopHook) {
                    DoCustomHook(ASender, ABitmap, AFrameNumber, APTS, AUpdate, AStopHook);
                };
            }
            join = AOptions->Join;
        } else {
            task->ClearOutputOptions(index);
        }
        if (OpenTaskOutput(*task, AFileName, join) < 0) {
            task->ClearOutputOptions(index);
            return refuse(task->FLastErrMsg);
        }
        if (AOptions) ApplyNewStreamOptions(*task, AOptions->ExtOptions, deferred);
        task->ReleaseIdleMemory();
        return true;
    } catch (const Exception& e) {
        return refuse(e.Message());
    }
}

bool TCustomFFConverter::SetOutputFile(int ATaskIndex, const String& AFileName, const String& AExtOptions)
{
    TOutputOptions options;
    InitOutputOptions(&options);
    for (const TOptionLine& line : SplitOptionText(AExtOptions)) {
        if (line.LowerName == L"hook" || line.LowerName == L"customhook")
            options.CustomHook = true;
        else if (line.LowerName == L"join")
            options.Join = true;
        else if (line.LowerName == L"timestart")
            options.TimeStart = OptionTextTime(line.Value);
        else if (line.LowerName == L"timelength")
            options.TimeLength = OptionTextTime(line.Value);
        else
            options.ExtOptions += line.Name + L"=" + line.Value + L"\n";
    }
    return SetOutputFile(ATaskIndex, AFileName, &options);
}

bool TCustomFFConverter::SetOutputStream(int ATaskIndex, TStream* AStream, const String& APrivateData,
                                         POutputOptions AOptions)
{
    return SetOutputFile(ATaskIndex, StreamName(AStream, APrivateData), AOptions);
}
