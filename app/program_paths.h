// Where the program keeps its files on Linux. "option.ini" lives beside the program when that
// folder is writable (a portable copy keeps its settings with it), else in the user's config
// folder ($XDG_CONFIG_HOME/vexmora, ~/.config/vexmora by default), since an installed program's
// folder is read-only. The default output and snapshot folders lie under the home folder.
// Resources shipped with the program (the sound, the help, the skins) are found beside it.
#pragma once

#include "platform/framework/core/types.h"

// The program's folder with its trailing "/": the folder of the running program, or the one
// SetProgramFolder gave (tests run the program's code from a temporary program folder).
String ProgramFolder();
// Replaces the program's folder for this process; an empty text goes back to the real one.
void SetProgramFolder(const String& folder);

// The settings file: ProgramFolder() + "option.ini" when that folder accepts a new file, else
// $XDG_CONFIG_HOME/vexmora/option.ini (its folder created when missing). Decided on each call,
// so a folder that becomes read-only while the program runs sends later writes to the config
// folder instead of failing.
String OptionIniPath();

// ~/Vexmora视频软件/输出 and ~/Vexmora视频软件/快照 (not created here).
String DefaultOutputFolder();
String DefaultSnapshotFolder();

// A file shipped beside the program, e.g. ProgramFile(L"sounds/ring001.wav").
String ProgramFile(const String& relativePath);

// The private folder where adding a job tries its output ($TMPDIR/vexmora-check-<pid>), created
// when missing. RemoveScratchFolder removes this process's folder (at exit);
// RemoveStaleScratchFolders removes those of this user's processes that no longer run (at start).
String ScratchFolder();
void RemoveScratchFolder();
void RemoveStaleScratchFolders();
