// Measures the shell folder layer under the shell views' loads, in a temporary folder:
// listing a folder of 5,000 files and 500 folders as the file list fills (enumerate, a folder
// object per item, the mask test, folders first in the shell's order, and the captions and icons
// of a first screen), sorting that list by size (details read once per item), and expanding a
// tree node of 1,000 subfolders (enumerate, folder objects, names, icons, has-children, sort).
// Aims: 100 ms, 50 ms, 50 ms.
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "skin/dialogs/shell_folder.h"

namespace {

using Folders = std::vector<std::unique_ptr<TbsShellFolder>>;

double Ms(const std::function<void()>& fn)
{
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

Folders Enumerate(TbsShellFolder* folder, DWORD flags)
{
    Folders out;
    std::unique_ptr<IEnumIDList> e;
    if (folder->ShellFolder()->EnumObjects(nullptr, flags, &e) != S_OK) return out;
    LPITEMIDLIST id;
    ULONG got;
    while (e->Next(1, &id, &got) == S_OK) {
        out.push_back(
            std::make_unique<TbsShellFolder>(folder, BindShellFolder(folder->ShellFolder(), id, nullptr), id));
        IdListFree(id);
    }
    return out;
}

// Folders first, then the shell's own order.
bool ShellOrder(const std::unique_ptr<TbsShellFolder>& a, const std::unique_ptr<TbsShellFolder>& b)
{
    const int r = (b->IsFolder() ? 1 : 0) - (a->IsFolder() ? 1 : 0);
    if (r != 0) return r < 0;
    return static_cast<short>(HRESULT_CODE(a->ParentShellFolder()->CompareIDs(0, a->RelativeID(), b->RelativeID()))) <
           0;
}

void Report(const char* what, double ms, double aim)
{
    std::printf("%-48s %8.1f ms   (aim %3.0f ms)%s\n", what, ms, aim, ms <= aim ? "" : "  over");
}

}  // namespace

int main(int argc, char** argv)
{
    const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    char tmpl[] = "/tmp/vx-shell-bench-XXXXXX";
    if (!::mkdtemp(tmpl)) return 1;
    const std::string dir = tmpl;
    std::filesystem::create_directories(dir + "/list");
    std::filesystem::create_directories(dir + "/tree");
    for (int i = 0; i < 5000; ++i)
        std::ofstream(dir + "/list/视频 " + std::to_string(i) + (i % 3 ? ".mkv" : ".txt")) << std::string(i % 977, 'x');
    for (int i = 0; i < 500; ++i) std::filesystem::create_directories(dir + "/list/文件夹 " + std::to_string(i));
    for (int i = 0; i < 1000; ++i) std::filesystem::create_directories(dir + "/tree/子目录 " + std::to_string(i));

    TRoot listRoot = Utf8ToString(dir + "/list"), treeRoot = Utf8ToString(dir + "/tree");
    std::unique_ptr<TbsShellFolder> list(ResolveRoot(nullptr, L"", listRoot));
    std::unique_ptr<TbsShellFolder> tree(ResolveRoot(nullptr, L"", treeRoot));
    double fill = 1e9, bySize = 1e9, expand = 1e9;
    for (int rep = 0; rep < reps; ++rep) {
        Folders items;
        fill = std::min(fill, Ms([&] {
                            items = Enumerate(list.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
                            std::erase_if(items, [](const std::unique_ptr<TbsShellFolder>& f) {
                                return !f->IsFolder() && !MatchesMask(ExtractFileName(f->FullObjectName()), L"*.mkv");
                            });
                            std::sort(items.begin(), items.end(), ShellOrder);
                            for (size_t i = 0; i < std::min<size_t>(items.size(), 40); ++i) {
                                items[i]->DisplayName();
                                items[i]->ImageIndex(false);
                            }
                        }));
        bySize = std::min(bySize, Ms([&] {
                              std::sort(items.begin(), items.end(), [&](const auto& a, const auto& b) {
                                  a->LoadColumnDetails(list.get(), nullptr, 4);
                                  b->LoadColumnDetails(list.get(), nullptr, 4);
                                  const bool fa = a->IsFolder(), fb = b->IsFolder();
                                  if (fa != fb) return fa;
                                  if (fa) return ShellOrder(a, b);
                                  return FindDataSize(a->ReadFindData()) < FindDataSize(b->ReadFindData());
                              });
                          }));
        expand = std::min(expand, Ms([&] {
                              Folders nodes = Enumerate(tree.get(), SHCONTF_FOLDERS);
                              for (auto& n : nodes) {
                                  n->DisplayName();
                                  ShellIconIndex(n->AbsoluteID(), false, false);
                                  ShellIconIndex(n->AbsoluteID(), false, true);
                                  n->SubFolders();
                              }
                              std::sort(nodes.begin(), nodes.end(), ShellOrder);
                          }));
        if (rep == 0) std::printf("%zu items listed after the mask\n", items.size());
    }
    Report("list 5,000 files + 500 folders (fill, mask, sort)", fill, 100);
    Report("sort that list by size", bySize, 50);
    Report("expand a node of 1,000 subfolders", expand, 50);
    std::filesystem::remove_all(dir);
    return 0;
}
