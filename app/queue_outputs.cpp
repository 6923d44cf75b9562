#include "app/queue_outputs.h"

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
            if (!taken.count(id) && !inputs.count(id) && (AOverwrite || !Exists(name))) {
                taken.insert(id);
                break;
            }
            name = base + L"_" + IntToStr(int64_t(n)) + ext;
        }
        outputs.push_back(name);
    }
    return outputs;
}
