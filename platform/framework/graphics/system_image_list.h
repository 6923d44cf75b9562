// The system image lists: the program's own 16- and 32-pixel icons of the shell namespace
// (folder, open folder, desktop, home, computer, volumes by type, file, video, audio, picture),
// drawn in code when first asked for (no icon theme), and SHGetFileInfoW, which answers them
// with an item's index. Called by the shell views of the dialogs.
#pragma once

#include "platform/framework/graphics/image_list.h"
#include "platform/win/win_api.h"

constexpr UINT SHGFI_LARGEICON = 0x0000;
constexpr UINT SHGFI_SMALLICON = 0x0001;
constexpr UINT SHGFI_OPENICON = 0x0002;
constexpr UINT SHGFI_PIDL = 0x0008;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

struct SHFILEINFOW {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    WCHAR szDisplayName[MAX_PATH] = {};
    WCHAR szTypeName[80] = {};
};

// With SHGFI_SYSICONINDEX: the small (SHGFI_SMALLICON) or large system image list, and in
// info->iIcon the item's icon (open with SHGFI_OPENICON). path is an absolute ID list with
// SHGFI_PIDL, else a file-system path (one that does not exist gets the plain file icon).
// 0 without SHGFI_SYSICONINDEX: nothing else is answered.
DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags);

// The lists themselves (made on first use, kept to the end of the program).
TCustomImageList* SystemImageList(bool large);
