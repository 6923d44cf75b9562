// Bytes through the shell namespace: typed paths through parsing and naming, raw item names
// through ID lists, names and the name order. Errors are fine; crashes, hangs and broken
// invariants are not. Nothing is written: parsing and naming only read the file system.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/base/utf.h"
#include "platform/win/shell_folder_api.h"
#include "platform/win/shell_items.h"

namespace {

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

void Names(IShellFolder* desktop, LPCITEMIDLIST id)
{
    for (DWORD flags : {SHGDN_NORMAL, SHGDN_INFOLDER, SHGDN_FORPARSING, SHGDN_FORPARSING | SHGDN_INFOLDER}) {
        STRRET r;
        if (desktop->GetDisplayNameOf(id, flags, &r) == S_OK) std::free(r.pOleStr);
    }
    WCHAR buf[4097];
    SHGetPathFromIDListEx(id, buf, 4097, 0);
    ULONG attrs = SFGAO_FOLDER | SFGAO_LINK | SFGAO_READONLY | SFGAO_CANRENAME | SFGAO_REMOVABLE;
    desktop->GetAttributesOf(1, &id, &attrs);
    vxwin::ShellIconIndexOf(id, true);
    if (HRESULT_CODE(desktop->CompareIDs(0, id, id)) != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    std::shared_ptr<IShellFolder> desktop;
    SHGetDesktopFolder(&desktop);
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0: {  // a typed path
        const std::wstring typed = Utf8ToString(rest);
        LPITEMIDLIST id = nullptr;
        std::string norm;
        vxwin::NormalisePath(rest, &norm);
        if (typed.find(L'\0') == std::wstring::npos &&
            desktop->ParseDisplayName(nullptr, typed.c_str(), nullptr, &id, nullptr) == S_OK) {
            vxwin::ShellItems items;
            if (!vxwin::DecodeIdList(id, &items)) std::abort();
            LPITEMIDLIST again = vxwin::EncodeIdList(items);
            if (!again || HRESULT_CODE(desktop->CompareIDs(0, id, again)) != 0) std::abort();
            std::free(again);
            Names(desktop.get(), id);
        }
        std::free(id);
        break;
    }
    case 1: {  // items: kind, length, name bytes
        vxwin::ShellItems items;
        for (size_t i = 0; i + 2 <= rest.size();) {
            const uint8_t kind = static_cast<uint8_t>(rest[i]) % 4;
            const size_t len = std::min<size_t>(static_cast<uint8_t>(rest[i + 1]), rest.size() - i - 2);
            items.push_back({static_cast<BYTE>(kind ? kind : 1), std::string(rest.substr(i + 2, len))});
            i += 2 + len;
        }
        // Encoded lists of items with empty names are not lists the layer makes: skip them.
        for (const auto& it : items)
            if (it.name.empty()) return 0;
        LPITEMIDLIST id = vxwin::EncodeIdList(items);
        if (!id) return 0;
        vxwin::ShellItems back;
        if (!vxwin::DecodeIdList(id, &back) || !(back == items)) std::abort();
        vxwin::ShellNode node;
        vxwin::ResolveNode(items, &node);
        Names(desktop.get(), id);
        std::free(id);
        break;
    }
    default: {  // two names and their order
        const size_t cut = rest.find('\0');
        const std::string_view a = rest.substr(0, cut), b = cut == std::string_view::npos ? "" : rest.substr(cut + 1);
        const int ab = vxwin::CompareShellNames(a, b), ba = vxwin::CompareShellNames(b, a);
        if (Sign(ab) != -Sign(ba) || (ab == 0) != (a == b) || vxwin::CompareShellNames(a, a) != 0) std::abort();
        break;
    }
    }
    return 0;
}
