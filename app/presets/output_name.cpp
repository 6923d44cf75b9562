// Output file names: caption extensions, extension replacement and unique names.
#include "app/presets/output_name.h"

#include <filesystem>
#include <system_error>

#include "platform/framework/core/strings.h"

String CaptionExtension(const String& caption)
{
    // Up to four characters before the last one.
    size_t end = caption.empty() ? 0 : caption.size() - 1;
    size_t start = end >= 4 ? end - 4 : 0;
    String ext = caption.substr(start, end - start);
    if (ext == L"lac)") ext = L".alac";
    if (ext == L"flac") ext = L".flac";
    if (ext == L"aiff") ext = L".aiff";
    if (ext == L"mpeg") ext = L".mpeg";
    if (ext == L"*.rm") ext = L".rm";
    if (ext == L"*.ra") ext = L".ra";
    return ext;
}

String ExtractNamePart(const String& path)
{
    size_t slash = path.rfind(L'/');
    return slash == String::npos ? path : path.substr(slash + 1);
}

String ReplaceNameExtension(const String& name, const String& ext)
{
    size_t dot = name.rfind(L'.');
    return (dot == String::npos ? name : name.substr(0, dot)) + ext;
}

String OutputFileName(const String& folder, const String& inputPath, const String& ext)
{
    return folder + L"/" + ReplaceNameExtension(ExtractNamePart(inputPath), ext);
}

bool OutputFileExists(const String& path)
{
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(StringToUtf8(path)), error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

String UniqueOutputFileName(const String& folder, const String& fileName, bool overwrite)
{
    size_t dot = fileName.rfind(L'.');
    String base = folder + L"/" + (dot == String::npos ? fileName : fileName.substr(0, dot));
    String ext = dot == String::npos ? String() : fileName.substr(dot);
    if (overwrite || !OutputFileExists(base + ext)) return base + ext;
    for (long long n = 1;; ++n) {
        String candidate = base + L"_" + std::to_wstring(n) + ext;
        if (!OutputFileExists(candidate)) return candidate;
    }
}
