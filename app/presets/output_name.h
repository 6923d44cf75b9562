// Output file names of jobs: the output name of an input file for a preset (the output
// folder text, "/", the input's name with the preset's extension), made unique with
// "_1", "_2"... unless overwriting is chosen, and the extension that a preset combo
// caption names. Used by ApplyPresetOptions and by the main window's and the per-file
// dialog's preset change handlers and rename command (new extension for a row's name).
#pragma once

#include "platform/framework/core/types.h"

// The output extension of a preset caption: the four characters before its last one
// (".avi" for "...(*.avi)"), with six exceptions for captions whose extension is not
// three letters long: "lac)" -> ".alac" (a caption ending in "(*.alac) "), "flac" ->
// ".flac", "aiff" -> ".aiff", "mpeg" -> ".mpeg", "*.rm" -> ".rm", "*.ra" -> ".ra".
String CaptionExtension(const String& caption);

// The name part of a path: the characters after its last "/".
String ExtractNamePart(const String& path);

// A file name with its extension replaced: everything from the last "." on gives way to
// ext; a name without "." gets ext appended.
String ReplaceNameExtension(const String& name, const String& ext);

// folder + "/" + the name part of inputPath with its extension replaced by ext. The folder
// text is used as it stands: not trimmed, no separator removed or added but the one "/".
String OutputFileName(const String& folder, const String& inputPath, const String& ext);

// folder + "/" + fileName when no file of that name exists or overwrite is set; otherwise
// "_" and the first number from 1 giving a name of no existing file go before fileName's
// extension (from its last "."). Only files count: a folder of that name does not, and a
// name that cannot be tested counts as free.
String UniqueOutputFileName(const String& folder, const String& fileName, bool overwrite);

// True when a file (anything but a folder) of that name exists.
bool OutputFileExists(const String& path);
