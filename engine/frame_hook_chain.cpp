// The chain of video hook libraries of a task and the process-wide list of loaded hook libraries.
#include "engine/frame_hook_chain.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <map>
#include <mutex>
#include <string>

#include "engine/av_bindings.h"
#include "engine/transcoder.h"

namespace {

// Library path (as given, compared exactly) -> module handle. Libraries are never unloaded:
// their code may still be referred to by chains of tasks that live on.
std::mutex& LibrariesLock()
{
    static std::mutex lock;
    return lock;
}

std::map<std::string, void*>& FrameHookLibraries()
{
    static std::map<std::string, void*> libraries;
    return libraries;
}

bool FileExistsUtf8(const std::string& APath)
{
    struct stat info;
    return stat(APath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

int AddFrameHook(PFrameHookEntry& AFirst, int AArgCount, char** AArgs)
{
    if (AArgCount < 1 || !AArgs || !AArgs[0]) return -2;
    const std::string path = AArgs[0];
    void* module = nullptr;
    {
        std::lock_guard<std::mutex> guard(LibrariesLock());
        auto found = FrameHookLibraries().find(path);
        if (found != FrameHookLibraries().end()) {
            module = found->second;
        } else {
            // A bare name is looked for in the current folder first, as a path with a folder is.
            std::string file = path;
            if (file.find('/') == std::string::npos && FileExistsUtf8(file)) file = "./" + file;
            module = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!module) {
                const char* error = dlerror();
                av::av_log(nullptr, AV_LOG_ERROR, "%s\n", error ? error : "cannot load library");
                return -1;
            }
            FrameHookLibraries()[path] = module;
        }
    }
    auto* entry = static_cast<TFrameHookEntry*>(av::av_mallocz(sizeof(TFrameHookEntry)));
    if (!entry) return -12;
    entry->Configure = reinterpret_cast<TFrameHookConfigureFn>(dlsym(module, "Configure"));
    entry->Process = reinterpret_cast<TFrameHookProcessFn>(dlsym(module, "Process"));
    entry->Release = reinterpret_cast<TFrameHookReleaseFn>(dlsym(module, "Release"));
    if (!entry->Process) {
        av::av_log(nullptr, AV_LOG_ERROR, "Failed to find Process entrypoint in %s\n", AArgs[0]);
        av::av_free(entry);
        return -2;
    }
    if (!entry->Configure && AArgCount > 1) {
        av::av_log(nullptr, AV_LOG_ERROR, "Failed to find Configure entrypoint in %s\n", AArgs[0]);
        av::av_free(entry);
        return -2;
    }
    if (entry->Configure && entry->Configure(&entry->ctx, AArgCount, AArgs) != 0) {
        av::av_log(nullptr, AV_LOG_ERROR, "Failed to Configure %s\n", AArgs[0]);
        av::av_free(entry);
        return -22;
    }
    PFrameHookEntry* last = &AFirst;
    while (*last) last = &(*last)->next;
    *last = entry;
    return 0;
}

void ProcessFrameHooks(PFrameHookEntry AFirst, TAVPicture* APicture, int APixelFormat, int AWidth, int AHeight,
                       int64_t APTS)
{
    for (PFrameHookEntry entry = AFirst; entry; entry = entry->next)
        entry->Process(entry->ctx, APicture, APixelFormat, AWidth, AHeight, APTS);
}

void ReleaseFrameHooks(PFrameHookEntry& AFirst)
{
    PFrameHookEntry entry = AFirst;
    while (entry) {
        PFrameHookEntry next = entry->next;
        if (entry->Release) entry->Release(entry->ctx);
        av::av_free(entry);
        entry = next;
    }
    AFirst = nullptr;
}

int FrameHookLibraryCount()
{
    std::lock_guard<std::mutex> guard(LibrariesLock());
    return int(FrameHookLibraries().size());
}

int TCustomFFmpeg::AddFrameHookEntry(int AArgCount, char** AArgs) { return AddFrameHook(FFirstHook, AArgCount, AArgs); }

void TCustomFFmpeg::ReleaseFrameHookChain()
{
    // Without the libraries bound the chain was never built.
    if (FFirstHook && av::av_free) ReleaseFrameHooks(FFirstHook);
    FFirstHook = nullptr;
    FHookWords.clear();
}
