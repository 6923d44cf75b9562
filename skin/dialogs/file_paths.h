// Path routines of the file and folder dialogs and of the file-system list controls: the
// directory test every dialog uses, joining a name to a folder, shortening a path to a width for
// display, the names shown for a volume and splitting a path the user typed.
//
// Paths use "/" as their separator and have no drive part, so a path is either rooted ("/a/b")
// or relative to a folder the caller names. Nothing here changes the process's current directory:
// the converter's threads resolve relative names against it.
#pragma once

#include "platform/framework/core/types.h"
#include "platform/win/file_api.h"

class TCanvas;

// True when Name can be read and is a folder (a link to a folder counts).
bool IsExistingDirectory(const String& Name);
// Path followed by Part, with one "/" between them; Path is a folder and never empty.
String AppendPathPart(const String& Path, const String& Part);
// Drops the first folder level of a folder text and marks the cut with ".../": "/a/b/" gives
// "/.../b/", "/.../b/" gives "/.../", ".../" and "/" give an empty text.
void DropFirstDirectory(String& Dir);
// Path with its leading folders replaced by ".../" until it fits MaxWidth pixels on Canvas. The
// file name is never cut, so the result may stay wider.
String ShortenPathToWidth(const String& Path, TCanvas* Canvas, int MaxWidth);
// "[label]" of a mounted volume ("[]" when it has none or is gone).
String DriveVolumeLabel(const vxwin::ShellVolume& Volume);
// The source a remote volume is mounted from, else DriveVolumeLabel.
String NetworkDriveName(const vxwin::ShellVolume& Volume);
// Splits a typed path into its folder and file part. Relative parts are taken against
// CurrentDir; each folder the text passes through must exist, else EInOutError ("I/O error"
// and the platform's error code). A folder part the text leaves relative stays relative
// ("sub/*.txt" gives "sub" and "*.txt"); a bare name that is no file must be a folder and becomes
// the folder part ("Docs" gives CurrentDir + "/Docs" and an empty file part); "[name]" is a folder
// as the file list box shows it.
void SplitEditPath(const String& Text, const String& CurrentDir, String& DirPart, String& FilePart);
// The number of "/" in Path.
int CountPathSeparators(const String& Path);
