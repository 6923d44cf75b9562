// The item menu of the shell namespace: "打开" through the launcher, "重命名" (carried out by the
// views, which edit the name in place), "删除" to the freedesktop trash by GIO (nothing is ever
// unlinked: without a trash the command fails with the reason). See shell_folder_api.h.
#include <gio/gio.h>
#include <algorithm>
#include <string_view>

#include "platform/base/utf.h"
#include "platform/win/shell_api.h"
#include "platform/win/shell_folder_api.h"
#include "platform/win/shell_items.h"
#include "platform/win/win_consts.h"

namespace vxwin {

namespace {

struct Command {
    const char* verb;
    const wchar_t* caption;
};
constexpr Command kOpen{"open", L"打开"};
constexpr Command kRename{"rename", L"重命名"};
constexpr Command kDelete{"delete", L"删除"};

// Moves one file or folder to the trash; false with the reason kept.
bool MoveToTrash(const std::string& path)
{
    GFile* file = g_file_new_for_path(path.c_str());
    GError* error = nullptr;
    const bool ok = g_file_trash(file, nullptr, &error);
    g_object_unref(file);
    if (!ok) {
        SetLastShellErrorText(L"Cannot move \"" + Utf8ToString(path) + L"\" to the trash: " +
                              Utf8ToString(error ? error->message : "unknown error"));
        if (error) g_error_free(error);
    }
    return ok;
}

class ItemMenu : public IContextMenu {
public:
    explicit ItemMenu(std::vector<ShellNode> nodes) : FNodes(std::move(nodes))
    {
        bool paths = true, rename = FNodes.size() == 1, remove = true;
        for (const auto& n : FNodes) {
            paths = paths && n.HasPath();
            ULONG a = 0;
            if (!NodeAttributes(n, SFGAO_CANRENAME | SFGAO_CANDELETE, &a)) a = 0;
            rename = rename && (a & SFGAO_CANRENAME);
            remove = remove && (a & SFGAO_CANDELETE);
        }
        if (!paths) return;
        FCommands.push_back(kOpen);
        if (rename) FCommands.push_back(kRename);
        if (remove) FCommands.push_back(kDelete);
    }

    HRESULT QueryContextMenu(std::vector<std::wstring>& captions, UINT flags) override
    {
        if (!(flags & CMF_CANRENAME))
            std::erase_if(FCommands, [](const Command& c) { return std::string_view(c.verb) == kRename.verb; });
        for (const auto& c : FCommands) captions.push_back(c.caption);
        return static_cast<HRESULT>(FCommands.size());
    }

    HRESULT GetCommandString(UINT_PTR offset, UINT type, std::string* out) override
    {
        if (!out || offset >= FCommands.size()) return E_INVALIDARG;
        if (type == GCS_VERBA)
            *out = FCommands[offset].verb;
        else if (type == GCS_HELPTEXTW)
            *out = StringToUtf8(FCommands[offset].caption);
        else
            return E_INVALIDARG;
        return S_OK;
    }

    HRESULT InvokeCommand(const CMINVOKECOMMANDINFO* info) override
    {
        if (!info) return E_INVALIDARG;
        std::string verb;
        if (IS_INTRESOURCE(info->lpVerb)) {
            const auto offset = reinterpret_cast<UINT_PTR>(info->lpVerb);
            if (offset >= FCommands.size()) return E_INVALIDARG;
            verb = FCommands[offset].verb;
        } else {
            verb = info->lpVerb;
        }
        const bool offered =
            std::any_of(FCommands.begin(), FCommands.end(), [&](const Command& c) { return verb == c.verb; });
        if (!offered) return E_INVALIDARG;
        if (verb == kOpen.verb) {
            for (const auto& n : FNodes) {
                const std::wstring path = Utf8ToString(n.path);
                const auto r = reinterpret_cast<LONG_PTR>(ShellExecuteW(
                    info->hwnd, L"open", path.c_str(), nullptr, nullptr, info->nShow ? info->nShow : SW_SHOWNORMAL));
                if (r <= 32) {
                    SetLastShellErrorText(L"Cannot open \"" + path + L"\"");
                    return E_FAIL;
                }
            }
            return S_OK;
        }
        if (verb == kDelete.verb) {
            for (const auto& n : FNodes)
                if (!MoveToTrash(n.path)) return E_FAIL;
            return S_OK;
        }
        return E_NOTIMPL;  // rename: the view edits the name
    }

private:
    std::vector<ShellNode> FNodes;
    std::vector<Command> FCommands;
};

}  // namespace

std::shared_ptr<IContextMenu> MakeItemMenu(std::vector<ShellNode> nodes)
{
    return std::make_shared<ItemMenu>(std::move(nodes));
}

}  // namespace vxwin
