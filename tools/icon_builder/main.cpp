// icon_builder: draws the program's own icons and writes them out.
//   --folder DIR    the folder form: DIR/<name>.png for every icon and DIR/all_icons.png, the
//                   sheet of all of them for people to look at
//   --source FILE   a C++ source holding every icon's PNG bytes, linked into the program
#include <cstdio>
#include <string>
#include <vector>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "tools/icon_builder/icon_design.h"

namespace {

std::string SourceText(const std::vector<TProgramIcon>& Icons)
{
    std::string s =
        "// Made by tools/icon_builder when the program is built: the PNG files of the program's own icons.\n"
        "#include <cstddef>\n#include <cstdint>\n\n#include \"app/program_icons_data.h\"\n\n";
    char buf[64];
    for (size_t n = 0; n < Icons.size(); ++n) {
        const std::vector<uint8_t> png = EncodeIconPng(Icons[n]);
        std::snprintf(buf, sizeof buf, "static const uint8_t kIcon%zu[] = {", n);
        s += buf;
        for (size_t i = 0; i < png.size(); ++i) {
            std::snprintf(buf, sizeof buf, "%s%u,", i % 24 == 0 ? "\n    " : "", png[i]);
            s += buf;
        }
        s += "\n};\n";
    }
    s += "\nconst TProgramIconData kProgramIcons[] = {\n";
    for (size_t n = 0; n < Icons.size(); ++n) {
        const std::string array = "kIcon" + std::to_string(n);
        s += "    {\"" + Icons[n].Name + "\", " + std::to_string(Icons[n].Size) + ", " + array + ", sizeof " + array +
             "},\n";
    }
    s += "};\nconst size_t kProgramIconCount = sizeof kProgramIcons / sizeof kProgramIcons[0];\n";
    return s;
}

void WriteFile(const std::string& Path, const std::vector<uint8_t>& Bytes)
{
    const String name = Utf8ToString(Path);
    const String dir = ExtractFileDir(name);
    if (!dir.empty()) ForceDirectories(dir);
    WriteFileAtomically(name, std::string(Bytes.begin(), Bytes.end()));
}

int Usage()
{
    std::fprintf(stderr, "usage: icon_builder [--folder DIR] [--source FILE]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string folder, source;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (i + 1 >= argc) return Usage();
        if (a == "--folder")
            folder = argv[++i];
        else if (a == "--source")
            source = argv[++i];
        else
            return Usage();
    }
    if (folder.empty() && source.empty()) return Usage();
    try {
        const std::vector<TProgramIcon> icons = DrawProgramIcons();
        if (!folder.empty()) {
            for (const TProgramIcon& icon : icons) WriteFile(folder + "/" + icon.Name + ".png", EncodeIconPng(icon));
            WriteFile(folder + "/all_icons.png", EncodeIconPng(DrawIconSheet(icons)));
        }
        if (!source.empty()) {
            const std::string text = SourceText(icons);
            WriteFile(source, std::vector<uint8_t>(text.begin(), text.end()));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "icon_builder: %s\n", e.what());
        return 1;
    }
    return 0;
}
