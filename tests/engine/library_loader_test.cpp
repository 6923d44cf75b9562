// The library loader against the libraries Debian ships: loading each set from the system and
// from a library folder, the failure texts, whole-set unloading and one copy per library.
#include <dlfcn.h>
#include <elf.h>
#include <link.h>

#include <filesystem>

#include "engine/library_loader.h"
#include "engine_test_support.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

using namespace engine_test;
namespace fs = std::filesystem;

namespace {

bool AllSlotsBound(TLibrary lib)
{
    for (const TBindSlot& s : LibrarySlots(lib))
        if (!*s.Slot) return false;
    return true;
}

bool AllSlotsClear(TLibrary lib)
{
    for (const TBindSlot& s : LibrarySlots(lib))
        if (*s.Slot) return false;
    return true;
}

std::string LastError() { return StringToUtf8(DefaultLoader().LastErrMsg()); }

// Restores the loader's folder and file-name overrides after a test.
class LoaderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        TLibraries all;
        for (int i = 0; i < LibraryCount; ++i) all = all + TLibraries{static_cast<TLibrary>(i)};
        DefaultLoader().Unload(all);
        for (int i = 0; i < LibraryCount; ++i) DefaultLoader().SetLibraryFileName(static_cast<TLibrary>(i), L"");
        DefaultLoader().SetLibraryPath(L"");
    }
};

}  // namespace

TEST(LoaderNames, FileNamesFollowTheSonameRule)
{
    const std::pair<TLibrary, const wchar_t*> cases[] = {
        {avUtil, L"libavutil.so.57"},     {swResample, L"libswresample.so.4"},
        {swScale, L"libswscale.so.6"},    {avCodec, L"libavcodec.so.59"},
        {avFormat, L"libavformat.so.59"}, {avFilter, L"libavfilter.so.8"},
        {avDevice, L"libavdevice.so.59"}, {myUtil, L"libc.so.6"},
        {lbSDL, L"libSDL-1.2.so.0"},
    };
    for (auto& [lib, name] : cases) EXPECT_EQ(DefaultLoader().GetLibraryFileName(lib), name);
    DefaultLoader().SetLibraryFileName(avCodec, L"/opt/x/libavcodec-custom.so");
    EXPECT_EQ(DefaultLoader().GetLibraryFileName(avCodec), L"/opt/x/libavcodec-custom.so");
    DefaultLoader().SetLibraryFileName(avCodec, L"");
    EXPECT_EQ(DefaultLoader().GetLibraryFileName(avCodec), L"libavcodec.so.59");
}

TEST(LoaderNames, ProgramHasNoLinkTimeMediaLibrary)
{
    // The media libraries are bound at run time only: none may be a needed entry of the program.
    const char* strtab = nullptr;
    for (const ElfW(Dyn)* d = _DYNAMIC; d->d_tag != DT_NULL; ++d)
        if (d->d_tag == DT_STRTAB) strtab = reinterpret_cast<const char*>(d->d_un.d_ptr);
    ASSERT_NE(strtab, nullptr);
    int needed = 0;
    for (const ElfW(Dyn)* d = _DYNAMIC; d->d_tag != DT_NULL; ++d) {
        if (d->d_tag != DT_NEEDED) continue;
        ++needed;
        std::string name = strtab + d->d_un.d_val;
        for (const char* lib : {"libavutil", "libavcodec", "libavformat", "libavfilter", "libavdevice", "libswscale",
                                "libswresample", "libSDL"})
            EXPECT_NE(name.rfind(lib, 0), 0u) << name;
    }
    EXPECT_GT(needed, 0);
}

TEST_F(LoaderTest, EachSetLoadsFromTheSystemAndUnloads)
{
    const std::pair<const char*, TLibraries> sets[] = {
        {"converter", ConverterLibraries}, {"probe", ProbeLibraries}, {"player", PlayerLibraries}};
    for (auto& [what, set] : sets) {
        SCOPED_TRACE(what);
        ASSERT_TRUE(DefaultLoader().Load(set)) << LastError();
        EXPECT_TRUE(DefaultLoader().Loaded(set));
        for (int i = 0; i < LibraryCount; ++i) {
            TLibrary lib = static_cast<TLibrary>(i);
            if (set.Contains(lib)) {
                EXPECT_TRUE(AllSlotsBound(lib)) << i;
            }
        }
        EXPECT_EQ(static_cast<int>(av::avcodec_version() >> 16), LIBAVCODEC_VERSION_MAJOR);
        EXPECT_NE(av::avcodec_find_encoder_by_name("mpeg4"), nullptr);
        DefaultLoader().Unload(set);
        EXPECT_FALSE(DefaultLoader().Loaded(set));
        for (int i = 0; i < LibraryCount; ++i) EXPECT_TRUE(AllSlotsClear(static_cast<TLibrary>(i))) << i;
    }
}

TEST_F(LoaderTest, DeviceLibraryLoadsAloneAndNeverNextToSdl)
{
    EXPECT_FALSE(ConverterLibraries.Contains(avDevice) || ProbeLibraries.Contains(avDevice) ||
                 PlayerLibraries.Contains(avDevice));
    if (DefaultLoader().Load(avDevice)) {
        EXPECT_TRUE(AllSlotsBound(avDevice));
        DefaultLoader().Unload(avDevice);  // its SDL 2 stays in the process
        EXPECT_FALSE(DefaultLoader().Load(lbSDL));
        EXPECT_EQ(LastError(), "Load library libSDL-1.2.so.0 error: not loaded next to libavdevice.so.59");
        EXPECT_TRUE(AllSlotsClear(lbSDL));
    } else {
        // SDL 1.2 came first in this process (a run of several tests in one process).
        EXPECT_EQ(LastError(), "Load library libavdevice.so.59 error: not loaded next to libSDL-1.2.so.0");
        EXPECT_TRUE(AllSlotsClear(avDevice));
    }
}

TEST_F(LoaderTest, SdlLockSlotsShareTheMutexExports)
{
    ASSERT_TRUE(DefaultLoader().Load(lbSDL)) << LastError();
    EXPECT_EQ(reinterpret_cast<void*>(sdl::SDL_LockMutex), reinterpret_cast<void*>(sdl::SDL_mutexP));
    EXPECT_EQ(reinterpret_cast<void*>(sdl::SDL_UnlockMutex), reinterpret_cast<void*>(sdl::SDL_mutexV));
    SDL_mutex* m = sdl::SDL_CreateMutex();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(sdl::SDL_LockMutex(m), 0);
    EXPECT_EQ(sdl::SDL_UnlockMutex(m), 0);
    sdl::SDL_DestroyMutex(m);
}

TEST_F(LoaderTest, FolderCopiesLoadOnceEach)
{
    std::string sysDir = SystemLibraryDir();
    ASSERT_FALSE(sysDir.empty());
    const char* files[] = {"libavutil.so.57",   "libswresample.so.4", "libswscale.so.6", "libavcodec.so.59",
                           "libavformat.so.59", "libpostproc.so.56",  "libavfilter.so.8"};
    for (const char* f : files)
        if (!MappedCopies(f).empty())
            GTEST_SKIP() << f << " is mapped already: this case needs a fresh process (run it under ctest)";

    TempDir tmp;
    fs::path folder = fs::path(tmp.path()) / "LibAV";
    fs::create_directory(folder);
    for (const char* f : files) fs::copy_file(fs::canonical(fs::path(sysDir) / f), folder / f);

    DefaultLoader().SetLibraryPath(Utf8ToString(folder.string()));
    ASSERT_TRUE(DefaultLoader().Load(ConverterLibraries)) << LastError();
    for (const char* f : files) {
        std::set<std::string> copies = MappedCopies(f);
        ASSERT_EQ(copies.size(), 1u) << f;
        EXPECT_EQ(fs::path(*copies.begin()).parent_path(), folder) << f;
    }
    EXPECT_EQ(static_cast<int>(av::avutil_version() >> 16), LIBAVUTIL_VERSION_MAJOR);
}

TEST_F(LoaderTest, FolderWithoutTheFileFallsBackToTheSystem)
{
    TempDir tmp;
    DefaultLoader().SetLibraryPath(Utf8ToString(tmp.path()));
    EXPECT_TRUE(DefaultLoader().Load(ProbeLibraries)) << LastError();
}

TEST_F(LoaderTest, MissingFileNamesFolderAndFile)
{
    TempDir tmp;
    DefaultLoader().SetLibraryPath(Utf8ToString(tmp.path()));
    DefaultLoader().SetLibraryFileName(swScale, L"libvx-missing.so.1");
    EXPECT_FALSE(DefaultLoader().Load(swScale));
    EXPECT_EQ(LastError(), "Load library " + tmp.file("libvx-missing.so.1") +
                               " error: libvx-missing.so.1: cannot open shared object file: No such file or directory");
    EXPECT_FALSE(DefaultLoader().Loaded(swScale));
    EXPECT_EQ(DefaultLoader().Status(swScale).Handle, nullptr);
}

TEST_F(LoaderTest, MissingNameFailsTheLibraryAndUnloadsTheWholeSet)
{
    TempDir tmp;
    fs::copy_file(VX_STUB_LIBRARY, fs::path(tmp.path()) / "libavformat.so.59");
    DefaultLoader().SetLibraryPath(Utf8ToString(tmp.path()));
    EXPECT_FALSE(DefaultLoader().Load(ProbeLibraries));
    EXPECT_EQ(LastError().rfind("Load function avformat_get_class@libavformat.so.59 error: ", 0), 0u) << LastError();
    EXPECT_NE(LastError().find("undefined symbol: avformat_get_class"), std::string::npos) << LastError();
    for (int i = 0; i < LibraryCount; ++i) {
        TLibrary lib = static_cast<TLibrary>(i);
        EXPECT_FALSE(DefaultLoader().Loaded(lib)) << i;
        EXPECT_EQ(DefaultLoader().Status(lib).Handle, nullptr) << i;
        EXPECT_TRUE(AllSlotsClear(lib)) << i;
    }
}

TEST_F(LoaderTest, WrongMajorVersionIsRefused)
{
    TempDir tmp;
    fs::copy_file(VX_STUB_LIBRARY, fs::path(tmp.path()) / "libswscale.so.6");
    DefaultLoader().SetLibraryPath(Utf8ToString(tmp.path()));
    EXPECT_FALSE(DefaultLoader().Load(swScale));
    EXPECT_EQ(LastError(), "Load library libswscale.so.6 error: version 5, expected 6");
    EXPECT_TRUE(AllSlotsClear(swScale));
    EXPECT_EQ(DefaultLoader().Status(swScale).Handle, nullptr);
}

TEST_F(LoaderTest, FailingPlayerLibraryUnloadsTheConverterSetToo)
{
    ASSERT_TRUE(DefaultLoader().Load(ConverterLibraries)) << LastError();
    DefaultLoader().SetLibraryFileName(lbSDL, L"libvx-no-sdl.so.0");
    EXPECT_FALSE(DefaultLoader().Load(PlayerLibraries));
    EXPECT_EQ(LastError().rfind("Load library libvx-no-sdl.so.0 error: ", 0), 0u) << LastError();
    EXPECT_FALSE(DefaultLoader().Loaded(ConverterLibraries));
    EXPECT_TRUE(AllSlotsClear(avCodec));
}

TEST(LoaderBinding, MissingVariableText)
{
    void* libc = dlopen("libc.so.6", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(libc, nullptr);
    void* slot = reinterpret_cast<void*>(1);
    try {
        BindVariable("libc.so.6", "vx_no_such_variable", libc, slot);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Load variable vx_no_such_variable@libc.so.6 error: ", 0), 0u)
            << e.what();
    }
    EXPECT_EQ(slot, nullptr);
    dlclose(libc);
}
