// Measures the shell views in a temporary folder of 5,000 files and 500 folders and one of
// 1,000 subfolders, on the headless back end: the file list (report view, mask "*.mkv") opening
// the folder (enumerate, mask, folders first, the first page painted), the same list sorted by
// size by a click on the size column and painted, and a folder tree node of 1,000 subfolders
// expanded and painted. Then the same loads on the folder layer alone, without the views.
// Aims: 100 ms, 50 ms, 50 ms. Medians of REPS runs (default 7).
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
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "skin/dialogs/shell_folder.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/shell_tree_view.h"

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

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void Report(const char* what, const std::vector<double>& ms, double aim)
{
    const double m = Median(ms);
    std::printf("%-56s %8.1f ms   (aim %3.0f ms; runs %.1f-%.1f)%s\n", what, m, aim,
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()),
                m <= aim ? "" : "  over");
}

void Pump()
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

}  // namespace

int main(int argc, char** argv)
{
    const int reps = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    vxwin::UseHeadlessBackend();
    char tmpl[] = "/tmp/vx-shell-bench-XXXXXX";
    if (!::mkdtemp(tmpl)) return 1;
    const std::string dir = tmpl;
    std::filesystem::create_directories(dir + "/list");
    std::filesystem::create_directories(dir + "/empty");
    for (int i = 0; i < 5000; ++i)
        std::ofstream(dir + "/list/视频 " + std::to_string(i) + (i % 3 ? ".mkv" : ".txt")) << std::string(i % 977, 'x');
    for (int i = 0; i < 500; ++i) std::filesystem::create_directories(dir + "/list/文件夹 " + std::to_string(i));
    for (int i = 0; i < 1000; ++i) std::filesystem::create_directories(dir + "/tree/big/子目录 " + std::to_string(i));

    // ---- through the views ----
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsNone);
    form->SetBounds(0, 0, 1000, 600);
    auto* list = new TbsSkinFileListView(form);
    list->SetParent(form);
    list->SetBounds(300, 0, 700, 600);
    auto* tree = new TbsSkinDirTreeView(form);
    tree->SetParent(form);
    tree->SetBounds(0, 0, 300, 600);
    form->Show();
    Pump();
    list->SetPath(Utf8ToString(dir + "/empty"));
    list->SetViewStyle(vsReport);
    list->SetMask(L"*.mkv");
    Pump();

    const String listDir = Utf8ToString(dir + "/list"), emptyDir = Utf8ToString(dir + "/empty");
    const String treeDir = Utf8ToString(dir + "/tree");
    std::vector<double> viewFill, viewSize, viewExpand;
    for (int rep = 0; rep < reps; ++rep) {
        // From an empty folder sorted by name, so that the size column's click sorts ascending.
        list->SetPath(emptyDir);
        while (list->SortColumn() != 0 || list->SortDescending()) list->ColumnClick(0);
        Pump();
        viewFill.push_back(Ms([&] {
            list->SetPath(listDir);
            list->Repaint();
        }));
        viewSize.push_back(Ms([&] {
            list->ColumnClick(1);
            list->Repaint();
        }));
        if (rep == 0) {
            const TbsShellFolder* firstFile = list->FolderAt(500);
            const TbsShellFolder* lastFile = list->FolderAt(list->FolderCount() - 1);
            std::printf("list view: %d rows after the mask; by size, first file %s, last %s\n", list->FolderCount(),
                        firstFile ? StringToUtf8(firstFile->DisplayName()).c_str() : "-",
                        lastFile ? StringToUtf8(lastFile->DisplayName()).c_str() : "-");
        }
        Pump();

        tree->SetRoot(emptyDir);
        tree->SetRoot(treeDir);
        Pump();
        TTreeNode* big = tree->Items()->GetFirstNode() ? tree->Items()->GetFirstNode()->GetFirstChild() : nullptr;
        if (!big) return 1;
        viewExpand.push_back(Ms([&] {
            big->Expand(false);
            tree->Repaint();
        }));
        if (rep == 0) std::printf("tree view: %d child nodes expanded\n", big->Count());
        Pump();
    }
    form->Free();

    // ---- the folder layer alone ----
    TRoot listRoot = listDir, treeRoot = Utf8ToString(dir + "/tree/big");
    std::unique_ptr<TbsShellFolder> listFolder(ResolveRoot(nullptr, L"", listRoot));
    std::unique_ptr<TbsShellFolder> treeFolder(ResolveRoot(nullptr, L"", treeRoot));
    std::vector<double> fill, bySize, expand;
    for (int rep = 0; rep < reps; ++rep) {
        Folders items;
        fill.push_back(Ms([&] {
            items = Enumerate(listFolder.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
            std::erase_if(items, [](const std::unique_ptr<TbsShellFolder>& f) {
                return !f->IsFolder() && !MatchesMask(ExtractFileName(f->FullObjectName()), L"*.mkv");
            });
            std::sort(items.begin(), items.end(), ShellOrder);
            for (size_t i = 0; i < std::min<size_t>(items.size(), 40); ++i) {
                items[i]->DisplayName();
                items[i]->ImageIndex(false);
            }
        }));
        bySize.push_back(Ms([&] {
            std::sort(items.begin(), items.end(), [&](const auto& a, const auto& b) {
                a->LoadColumnDetails(listFolder.get(), nullptr, 4);
                b->LoadColumnDetails(listFolder.get(), nullptr, 4);
                const bool fa = a->IsFolder(), fb = b->IsFolder();
                if (fa != fb) return fa;
                if (fa) return ShellOrder(a, b);
                return FindDataSize(a->ReadFindData()) < FindDataSize(b->ReadFindData());
            });
        }));
        expand.push_back(Ms([&] {
            Folders nodes = Enumerate(treeFolder.get(), SHCONTF_FOLDERS);
            for (auto& n : nodes) {
                n->DisplayName();
                ShellIconIndex(n->AbsoluteID(), false, false);
                ShellIconIndex(n->AbsoluteID(), false, true);
                n->SubFolders();
            }
            std::sort(nodes.begin(), nodes.end(), ShellOrder);
        }));
        if (rep == 0) std::printf("folder layer: %zu items listed after the mask\n", items.size());
    }

    std::printf("\nthrough the views (medians of %d runs):\n", reps);
    Report("file list opens the folder (fill, mask, sort, paint)", viewFill, 100);
    Report("file list sorted by size (column click, paint)", viewSize, 50);
    Report("tree node of 1,000 subfolders expanded and painted", viewExpand, 50);
    std::printf("the folder layer alone (medians of %d runs):\n", reps);
    Report("list 5,000 files + 500 folders (fill, mask, sort)", fill, 100);
    Report("sort that list by size", bySize, 50);
    Report("expand a node of 1,000 subfolders", expand, 50);
    std::filesystem::remove_all(dir);
    return 0;
}
