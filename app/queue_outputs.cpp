#include "app/queue_outputs.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

namespace {

// One spelling per file: the absolute path with links and "." / ".." resolved as far as the
// path exists, so "out/../out/a.mp4" and a link to the folder both meet "out/a.mp4".
std::filesystem::path Identity(const String& AName)
{
    std::error_code error;
    std::filesystem::path path = std::filesystem::weakly_canonical(std::filesystem::path(StringToUtf8(AName)), error);
    if (error) path = std::filesystem::absolute(std::filesystem::path(StringToUtf8(AName)), error).lexically_normal();
    return path;
}

bool Exists(const String& AName)
{
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(StringToUtf8(AName)), error);
}

}  // namespace

std::vector<String> ResolveQueueOutputs(const std::vector<TQueueJobFiles>& AJobs, bool AOverwrite)
{
    std::set<std::filesystem::path> inputs, taken;
    for (const TQueueJobFiles& job : AJobs) inputs.insert(Identity(job.Input));

    std::vector<String> outputs;
    outputs.reserve(AJobs.size());
    for (const TQueueJobFiles& job : AJobs) {
        const String ext = ExtractFileExt(job.Output);
        const String base = job.Output.substr(0, job.Output.size() - ext.size());
        String name = job.Output;
        for (int n = 1;; ++n) {
            const std::filesystem::path id = Identity(name);
            const bool replaceable = AOverwrite || (n == 1 && job.Own);
            if (!taken.count(id) && !inputs.count(id) && (replaceable || !Exists(name))) {
                taken.insert(id);
                break;
            }
            name = base + L"_" + IntToStr(int64_t(n)) + ext;
        }
        outputs.push_back(name);
    }
    return outputs;
}

void TWrittenOutputs::Note(int ASlot, const String& AInput, const String& AOutput)
{
    const String output = Utf8ToString(Identity(AOutput).string());
    std::erase_if(FEntries, [&](const TEntry& AEntry) { return AEntry.Output == output; });
    struct stat file {};
    if (::stat(StringToUtf8(AOutput).c_str(), &file) != 0 || !S_ISREG(file.st_mode)) return;
    FEntries.push_back({ASlot, AInput, output, uint64_t(file.st_dev), uint64_t(file.st_ino), int64_t(file.st_size),
                        int64_t(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec});
}

bool TWrittenOutputs::Owns(int ASlot, const String& AInput, const String& AOutput) const
{
    const String output = Utf8ToString(Identity(AOutput).string());
    struct stat file {};
    if (::stat(StringToUtf8(AOutput).c_str(), &file) != 0) return false;
    return std::any_of(FEntries.begin(), FEntries.end(), [&](const TEntry& AEntry) {
        return AEntry.Output == output && AEntry.Slot == ASlot && AEntry.Input == AInput &&
               AEntry.Device == uint64_t(file.st_dev) && AEntry.Inode == uint64_t(file.st_ino) &&
               AEntry.Size == int64_t(file.st_size) &&
               AEntry.Modified == int64_t(file.st_mtim.tv_sec) * 1000000000 + file.st_mtim.tv_nsec;
    });
}
