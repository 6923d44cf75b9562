// skin_builder: draws the program's own skin and writes it out.
//   --folder DIR        the folder form: DIR/skin.ini and its bitmaps (the INI is written anew)
//   --container FILE    the compressed skin container (int32 3, int32 size, zlib data)
//   --source FILE       a C++ source holding the container's bytes, linked into the program
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/framework/core/files.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "tools/skin_builder/skin_design.h"

namespace {

std::vector<uint8_t> Container(TbsSkinData& Skin)
{
    TbsCompressedStoredSkin stored(nullptr);
    stored.LoadFromSkinData(&Skin);
    TMemoryStream m;
    stored.SaveToCompressStream(m);
    return m.Data();
}

std::string SourceText(const std::vector<uint8_t>& Bytes)
{
    std::string s =
        "// Made by tools/skin_builder when the program is built: the container of the program's own skin.\n"
        "#include <cstddef>\n#include <cstdint>\n\n"
        "extern const uint8_t kDefaultSkinContainer[];\nextern const size_t kDefaultSkinContainerSize;\n\n"
        "alignas(4) const uint8_t kDefaultSkinContainer[] = {";
    char buf[16];
    for (size_t i = 0; i < Bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%s%u,", i % 24 == 0 ? "\n    " : "", Bytes[i]);
        s += buf;
    }
    s += "\n};\nconst size_t kDefaultSkinContainerSize = sizeof kDefaultSkinContainer;\n";
    return s;
}

void WriteFile(const std::string& Path, const std::string& Bytes)
{
    const String name = Utf8ToString(Path);
    const String dir = ExtractFileDir(name);
    if (!dir.empty()) ForceDirectories(dir);
    WriteFileAtomically(name, Bytes);
}

int Usage()
{
    std::fprintf(stderr, "usage: skin_builder [--folder DIR] [--container FILE] [--source FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder, container, source;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return Usage();
        if (a == "--folder")
            folder = argv[++i];
        else if (a == "--container")
            container = argv[++i];
        else if (a == "--source")
            source = argv[++i];
        else
            return Usage();
    }
    if (folder.empty() && container.empty() && source.empty()) return Usage();
    try {
        TbsSkinData skin(nullptr);
        BuildDefaultSkin(skin);
        if (!folder.empty()) {
            const String dir = Utf8ToString(folder);
            if (!ForceDirectories(dir)) throw Exception(L"cannot make the folder " + dir);
            const String ini = IncludeTrailingPathDelimiter(dir) + kDefaultSkinIni;
            // SaveToFile keeps what an existing INI holds besides the skin: start from none.
            if (FileExists(ini) && !DeleteFile(ini)) throw Exception(L"cannot replace " + ini);
            skin.StoreToDisk(ini);
        }
        if (!container.empty() || !source.empty()) {
            const std::vector<uint8_t> bytes = Container(skin);
            if (!container.empty()) WriteFile(container, std::string(bytes.begin(), bytes.end()));
            if (!source.empty()) WriteFile(source, SourceText(bytes));
        }
    } catch (const Exception& e) {
        std::fprintf(stderr, "skin_builder: %s\n", StringToUtf8(e.Message()).c_str());
        return 1;
    }
    return 0;
}
