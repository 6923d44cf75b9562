// The loader of the media libraries: the library table, loading from the library folder beside
// the program ("LibAV") or through the system's search, binding every entry point by name
// (av_bindings.h) and unloading, per library and per library set. The task component, the
// probe and the player load their set through DefaultLoader(); the process-wide CodecLock
// serialises every opening and closing of a codec.
#pragma once

#include <string>

#include "engine/av_bindings.h"
#include "engine/library_set.h"
#include "platform/framework/core/sync_objects.h"
#include "platform/framework/core/types.h"

using TPathFileName = String;

// One entry of the library table.
using TFixupProc = void (*)(const std::string& ALibName, void* AHandle);
using TUnfixProc = void (*)();
struct TLibraryItem {
    TLibrary Lib;
    const char* Name;  // the library's base name: file "lib" + Name + ".so." + Version
    int Version;       // -1: the file name has no version part ("lib" + Name + ".so")
    TFixupProc Fixup;  // binds the library's names
    TUnfixProc Unfix;  // sets the library's slots back to nullptr
};
extern const TLibraryItem LibraryTable[LibraryCount];

// The loader's state of one library (process-wide).
struct TLibraryStatus {
    TLibrary Lib;
    TPathFileName Name;  // a file name that replaces the table's rule when not empty
    void* Handle;        // the dlopen handle, nullptr = not loaded
    bool Fixuped;        // the library's names are bound
};

// Opens ADir + AName when ADir is not empty and that file exists, else AName through the
// system's search; nullptr on failure with the system's message in AError.
void* LoadLibraryWithPath(const String& ADir, const String& AName, std::string& AError);

// Binding of one name; raise Exception "Load function %s@%s error: %s" / "Load variable %s@%s
// error: %s" (name, library file, the system's message) when the library lacks it.
void BindFunction(const std::string& ALibName, const char* AName, void* AHandle, void*& ASlot);
void BindVariable(const std::string& ALibName, const char* AName, void* AHandle, void*& ASlot);

class TFFmpegLoader {
public:
    TFFmpegLoader();
    virtual ~TFFmpegLoader() = default;

    // Loads and binds; False with the text in LastErrMsg() on failure. A set is loaded member by
    // member in load order; a failing member unloads every member of the set.
    bool Load(TLibrary ALibrary);
    bool Load(TLibraries ALibraries);
    bool Loaded(TLibrary ALibrary) const;
    bool Loaded(TLibraries ALibraries) const;
    void Unload(TLibrary ALibrary);
    void Unload(TLibraries ALibraries);

    // The library's file name: the status record's Name when set, else the table's rule.
    TPathFileName GetLibraryFileName(TLibrary ALibrary) const;
    // Replaces the file-name rule for one library (empty = back to the rule).
    void SetLibraryFileName(TLibrary ALibrary, const TPathFileName& AName);

    String LastErrMsg() const;
    TPathFileName LibraryPath() const;
    void SetLibraryPath(const TPathFileName& APath);
    bool InstallLogger() const { return FInstallLogger; }
    void SetInstallLogger(bool AValue) { FInstallLogger = AValue; }

    // The status record of a library (a copy; for diagnostics and tests).
    TLibraryStatus Status(TLibrary ALibrary) const;

private:
    bool FInstallLogger;
};

// The one loader of the process.
TFFmpegLoader& DefaultLoader();

// Held around every opening and closing of a codec and the stream analysis of a newly opened
// input, in every task, the player and the probe. Nothing that waits for another thread may be
// done while holding it.
TCriticalSection& CodecLock();
