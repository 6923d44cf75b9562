// The library loader: table, file names, loading, binding, unloading; CodecLock.
#include "engine/library_loader.h"

#include <dlfcn.h>

#include <cassert>
#include <cstdio>
#include <mutex>

#include "engine/logger.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"

void* LoadLibraryWithPath(const String& ADir, const String& AName, std::string& AError)
{
    // RTLD_LOCAL: libavdevice pulls in SDL 2, whose names must not meet SDL 1.2's.
    // RTLD_NODELETE: the libraries and what they pull in (codec libraries, TLS stacks, sound
    // servers) keep process-wide state, threads and exit handlers; unloading only releases the
    // handle and the slots, the module stays mapped so nothing is pulled away from under them.
    std::string target = StringToUtf8(AName);
    if (!ADir.empty() && FileExists(ADir + AName)) target = StringToUtf8(ADir + AName);
    dlerror();
    void* handle = dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (!handle) {
        const char* err = dlerror();
        AError = err ? err : "unknown error";
    }
    return handle;
}

const TLibraryItem LibraryTable[LibraryCount] = {
    {avUtil, "avutil", LIBAVUTIL_VERSION_MAJOR, [](const std::string& n, void* h) { FixupLibrary(avUtil, n, h); },
     [] { UnfixLibrary(avUtil); }},
    {swResample, "swresample", LIBSWRESAMPLE_VERSION_MAJOR,
     [](const std::string& n, void* h) { FixupLibrary(swResample, n, h); }, [] { UnfixLibrary(swResample); }},
    {swScale, "swscale", LIBSWSCALE_VERSION_MAJOR, [](const std::string& n, void* h) { FixupLibrary(swScale, n, h); },
     [] { UnfixLibrary(swScale); }},
    {avCodec, "avcodec", LIBAVCODEC_VERSION_MAJOR, [](const std::string& n, void* h) { FixupLibrary(avCodec, n, h); },
     [] { UnfixLibrary(avCodec); }},
    {avFormat, "avformat", LIBAVFORMAT_VERSION_MAJOR,
     [](const std::string& n, void* h) { FixupLibrary(avFormat, n, h); }, [] { UnfixLibrary(avFormat); }},
    {avFilter, "avfilter", LIBAVFILTER_VERSION_MAJOR,
     [](const std::string& n, void* h) { FixupLibrary(avFilter, n, h); }, [] { UnfixLibrary(avFilter); }},
    {avDevice, "avdevice", LIBAVDEVICE_VERSION_MAJOR,
     [](const std::string& n, void* h) { FixupLibrary(avDevice, n, h); }, [] { UnfixLibrary(avDevice); }},
    {myUtil, "c", 6, [](const std::string& n, void* h) { FixupLibrary(myUtil, n, h); }, [] { UnfixLibrary(myUtil); }},
    {lbSDL, "SDL-1.2", 0, [](const std::string& n, void* h) { FixupLibrary(lbSDL, n, h); },
     [] { UnfixLibrary(lbSDL); }},
};

namespace {

// The loader's process-wide state, shared by every instance.
struct TLoaderState {
    std::recursive_mutex Lock;
    TLibraryStatus Status[LibraryCount];
    void* PostprocHandle = nullptr;  // libpostproc from the library folder, held for libavfilter
    bool Mapped[LibraryCount] = {};  // the library was loaded once (its module stays mapped)
    String LastErrMsg;
    TPathFileName LibraryPath;

    TLoaderState()
    {
        for (int i = 0; i < LibraryCount; ++i)
            Status[i] = TLibraryStatus{static_cast<TLibrary>(i), String(), nullptr, false};
    }
};

TLoaderState& State()
{
    static TLoaderState* state = new TLoaderState;  // lives to the end of the process
    return *state;
}

// libpostproc is a dependency of libavfilter that binds no names: a private copy in the folder
// is loaded by path first so the folder's libavfilter does not pull in the system's.
constexpr const char* PostprocFileName = "libpostproc.so.56";

std::string FormatText(const char* format, const std::string& a, const std::string& b)
{
    std::string out(a.size() + b.size() + 256, '\0');
    int n = std::snprintf(out.data(), out.size(), format, a.c_str(), b.c_str());
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

std::string FormatText(const char* format, const std::string& a, const std::string& b, const std::string& c)
{
    std::string out(a.size() + b.size() + c.size() + 256, '\0');
    int n = std::snprintf(out.data(), out.size(), format, a.c_str(), b.c_str(), c.c_str());
    out.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return out;
}

void BindSymbol(const char* format, const std::string& libName, const char* name, void* handle, void*& slot)
{
    dlerror();
    void* p = handle ? dlsym(handle, name) : nullptr;
    if (!p) {
        const char* err = dlerror();
        slot = nullptr;
        throw Exception(Utf8ToString(FormatText(format, name, libName, err ? err : "symbol not found")));
    }
    slot = p;
}

}  // namespace

void BindFunction(const std::string& ALibName, const char* AName, void* AHandle, void*& ASlot)
{
    BindSymbol("Load function %s@%s error: %s", ALibName, AName, AHandle, ASlot);
}

void BindVariable(const std::string& ALibName, const char* AName, void* AHandle, void*& ASlot)
{
    BindSymbol("Load variable %s@%s error: %s", ALibName, AName, AHandle, ASlot);
}

TFFmpegLoader::TFFmpegLoader() : FInstallLogger(true) {}

TPathFileName TFFmpegLoader::GetLibraryFileName(TLibrary ALibrary) const
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    if (!st.Status[ALibrary].Name.empty()) return st.Status[ALibrary].Name;
    const TLibraryItem& item = LibraryTable[ALibrary];
    String name = L"lib" + Utf8ToString(item.Name) + L".so";
    if (item.Version >= 0) name += L"." + std::to_wstring(item.Version);
    return name;
}

void TFFmpegLoader::SetLibraryFileName(TLibrary ALibrary, const TPathFileName& AName)
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    st.Status[ALibrary].Name = AName;
}

bool TFFmpegLoader::Load(TLibrary ALibrary)
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    TLibraryStatus& s = st.Status[ALibrary];
    String fileName = GetLibraryFileName(ALibrary);

    if (!s.Handle) {
        // libavdevice pulls in SDL 2, whose names are SDL 1.2's: the two never share a process.
        TLibrary rival = ALibrary == avDevice ? lbSDL : ALibrary == lbSDL ? avDevice : ALibrary;
        if (rival != ALibrary && st.Mapped[rival]) {
            st.LastErrMsg = Utf8ToString(FormatText("Load library %s error: %s", StringToUtf8(fileName),
                                                    "not loaded next to " + StringToUtf8(GetLibraryFileName(rival))));
            return false;
        }
        String dir, name;
        size_t slash = fileName.rfind(L'/');
        if (slash != String::npos) {
            dir = fileName.substr(0, slash + 1);
            name = fileName.substr(slash + 1);
        } else {
            if (!st.LibraryPath.empty()) dir = IncludeTrailingPathDelimiter(st.LibraryPath);
            name = fileName;
        }
        if (ALibrary == avFilter && !dir.empty() && !st.PostprocHandle) {
            std::string ignored;
            String postproc = Utf8ToString(PostprocFileName);
            if (FileExists(dir + postproc)) st.PostprocHandle = LoadLibraryWithPath(dir, postproc, ignored);
        }
        std::string error;
        void* handle = LoadLibraryWithPath(dir, name, error);
        if (!handle) {
            st.LastErrMsg = Utf8ToString(FormatText("Load library %s error: %s", StringToUtf8(dir + name), error));
            return false;
        }
        s.Handle = handle;
        st.Mapped[ALibrary] = true;
    }

    if (!s.Fixuped) {
        try {
            LibraryTable[ALibrary].Fixup(StringToUtf8(fileName), s.Handle);
            s.Fixuped = true;
        } catch (const Exception& e) {
            st.LastErrMsg = e.Message();
            // A half-bound library must not leave slots pointing into a module about to go.
            LibraryTable[ALibrary].Unfix();
        }
    }
    if (!s.Fixuped) Unload(ALibrary);

    if (s.Fixuped && ALibrary == avUtil && FInstallLogger) DefaultLogger()->InstallAVLogCallback();
    // libavformat needs no registration any more: names that need the engine's own file access
    // ("unicode:utf8:...") are opened through unicode_file.h when a file is opened.
    return s.Fixuped;
}

bool TFFmpegLoader::Load(TLibraries ALibraries)
{
    assert(!ALibraries.Empty());
    for (int i = 0; i < LibraryCount; ++i) {
        TLibrary lib = static_cast<TLibrary>(i);
        if (ALibraries.Contains(lib) && !Load(lib)) {
            Unload(ALibraries);
            return false;
        }
    }
    return true;
}

bool TFFmpegLoader::Loaded(TLibrary ALibrary) const
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    return st.Status[ALibrary].Handle && st.Status[ALibrary].Fixuped;
}

bool TFFmpegLoader::Loaded(TLibraries ALibraries) const
{
    assert(!ALibraries.Empty());
    for (int i = 0; i < LibraryCount; ++i)
        if (ALibraries.Contains(static_cast<TLibrary>(i)) && !Loaded(static_cast<TLibrary>(i))) return false;
    return true;
}

void TFFmpegLoader::Unload(TLibrary ALibrary)
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    TLibraryStatus& s = st.Status[ALibrary];
    if (s.Fixuped) {
        LibraryTable[ALibrary].Unfix();
        s.Fixuped = false;
    }
    if (s.Handle) {
        dlclose(s.Handle);
        s.Handle = nullptr;
    }
    if (ALibrary == avFilter && st.PostprocHandle) {
        dlclose(st.PostprocHandle);
        st.PostprocHandle = nullptr;
    }
}

void TFFmpegLoader::Unload(TLibraries ALibraries)
{
    assert(!ALibraries.Empty());
    // Dependents first, so each module is released after the modules that use it.
    for (int i = LibraryCount - 1; i >= 0; --i)
        if (ALibraries.Contains(static_cast<TLibrary>(i))) Unload(static_cast<TLibrary>(i));
}

String TFFmpegLoader::LastErrMsg() const
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    return st.LastErrMsg;
}

TPathFileName TFFmpegLoader::LibraryPath() const
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    return st.LibraryPath;
}

void TFFmpegLoader::SetLibraryPath(const TPathFileName& APath)
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    st.LibraryPath = APath;
}

TLibraryStatus TFFmpegLoader::Status(TLibrary ALibrary) const
{
    TLoaderState& st = State();
    std::lock_guard<std::recursive_mutex> g(st.Lock);
    return st.Status[ALibrary];
}

TFFmpegLoader& DefaultLoader()
{
    static TFFmpegLoader* loader = new TFFmpegLoader;
    return *loader;
}

TCriticalSection& CodecLock()
{
    static TCriticalSection* lock = new TCriticalSection;
    return *lock;
}
