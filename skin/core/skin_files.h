// File names inside a skin folder. A skin names its pictures relative to its INI's folder, with
// "\" or "/" between the parts, and was often made on a system that ignores letter case; on the
// way out a name must not lead outside the folder it is written to.
#pragma once

#include <string>

#include "platform/framework/core/types.h"

class TBitmap;

// A name inside Folder: its relative path with "\" read as "/", or only its file name part when the
// name is absolute or climbs out with "..". Reading and writing a skin use the same rule.
//
// The file to read for Name: each part matched without regard to case when no part of that exact
// name exists; the plain path when nothing matches (the open then reports it).
String ResolveSkinFile(const String& Folder, const String& Name);
// EFOpenError when entry Index of a skin's picture list has no file name (the list counts more
// pictures than it names).
void CheckSkinPictureName(const String& Name, int Index);
// Where a picture named Name is written under Folder.
String SkinStorePath(const String& Folder, const String& Name);
// Writes Bytes through a temporary file and a rename; EFCreateError when it cannot.
void WriteSkinFile(const String& FileName, const std::string& Bytes);
// The bitmap as a BMP file, written the same way.
void WriteSkinBitmap(const String& FileName, TBitmap* Bitmap);
