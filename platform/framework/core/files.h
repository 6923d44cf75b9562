// File and path routines over the Linux file system. Names are Strings (UTF-8 on disk, with the
// lossless escape of strings.h for names that are not UTF-8). "\" in the program's path building
// is PathDelim.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/framework/core/types.h"

constexpr wchar_t PathDelim = L'/';

bool FileExists(const String& name);  // a file (not a folder)
bool DirectoryExists(const String& name);
bool ForceDirectories(const String& dir);  // creates parents; true when the folder exists after
bool CreateDir(const String& dir);
bool RemoveDir(const String& dir);
bool DeleteFile(const String& name);
bool RenameFile(const String& from, const String& to);

String ExtractFileName(const String& path);
String ExtractFilePath(const String& path);  // with the trailing delimiter
String ExtractFileDir(const String& path);   // without it
String ExtractFileExt(const String& path);   // with the dot; "" when none
String ChangeFileExt(const String& path, const String& ext);
String IncludeTrailingPathDelimiter(const String& path);
String ExcludeTrailingPathDelimiter(const String& path);
String ExpandFileName(const String& path);

String GetCurrentDir();
bool SetCurrentDir(const String& dir);
int64_t FileSizeOf(const String& name);  // -1 when missing or not a file

// Entries of a folder (names only, sorted); mask with * and ? matched case-insensitively.
std::vector<String> ListFiles(const String& dir, const String& mask = L"*");
std::vector<String> ListDirectories(const String& dir);

String ExeFileName();  // full path of the running program
String HomeDir();
String GetTempDirectory();

// Whole-file helpers for the framework's own use.
bool ReadFileBytes(const String& name, std::string& out);
// Writes through a temporary file in the same folder and renames it over the target, so a failed
// write leaves the old file whole. Raises EFCreateError with the reason on failure.
void WriteFileAtomically(const String& name, const std::string& data);

bool MatchesMask(const String& name, const String& mask);
