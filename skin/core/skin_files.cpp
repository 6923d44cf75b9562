#include "skin/core/skin_files.h"

#include <vector>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"

namespace {

// The parts of a skin file name, split at "\" and "/"; empty parts and "." dropped.
std::vector<String> NameParts(const String& Name)
{
    std::vector<String> parts;
    String cur;
    for (wchar_t c : Name + L"/") {
        if (c == L'\\' || c == L'/') {
            if (!cur.empty() && cur != L".") parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    return parts;
}

bool Absolute(const String& Name)
{
    return (!Name.empty() && (Name[0] == L'/' || Name[0] == L'\\')) || (Name.size() >= 2 && Name[1] == L':');
}

// The parts of Name inside the skin's folder: all of them, or only the file name part when the
// name is absolute or climbs out with "..".
std::vector<String> InsideParts(const String& Name)
{
    std::vector<String> parts = NameParts(Name);
    bool climbs = Absolute(Name);
    for (const String& p : parts) climbs = climbs || p == L"..";
    if (climbs && !parts.empty()) parts = {parts.back()};
    return parts;
}

}  // namespace

void CheckSkinPictureName(const String& Name, int Index)
{
    if (NameParts(Name).empty())
        throw EFOpenError(L"Picture " + IntToStr(Index) + L" of the skin's picture list has no file name");
}

String ResolveSkinFile(const String& Folder, const String& Name)
{
    const std::vector<String> parts = InsideParts(Name);
    String path = IncludeTrailingPathDelimiter(Folder.empty() ? String(L".") : Folder);
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        String part = parts[i];
        if (!(last ? FileExists(path + part) : DirectoryExists(path + part))) {
            for (const String& e : last ? ListFiles(path) : ListDirectories(path))
                if (SameText(e, part)) {
                    part = e;
                    break;
                }
        }
        path += part;
        if (!last) path += PathDelim;
    }
    return path;
}

String SkinStorePath(const String& Folder, const String& Name)
{
    String path = IncludeTrailingPathDelimiter(Folder.empty() ? String(L".") : Folder);
    const std::vector<String> parts = InsideParts(Name);
    for (size_t i = 0; i < parts.size(); ++i) path += parts[i] + (i + 1 < parts.size() ? String(1, PathDelim) : L"");
    return path;
}

void WriteSkinFile(const String& FileName, const std::string& Bytes)
{
    const String dir = ExtractFileDir(FileName);
    if (!dir.empty()) ForceDirectories(dir);
    WriteFileAtomically(FileName, Bytes);
}

void WriteSkinBitmap(const String& FileName, TBitmap* Bitmap)
{
    TMemoryStream s;
    Bitmap->SaveToStream(s);
    WriteSkinFile(FileName, std::string(static_cast<const char*>(s.Memory()), s.Data().size()));
}
