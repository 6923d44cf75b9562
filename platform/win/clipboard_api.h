// The clipboard and global memory of the Windows stand-in: text (CF_UNICODETEXT) and bitmaps
// (CF_BITMAP, CF_DIB). Called by the framework's edit controls and TClipboard. Within the program
// the clipboard is kept in memory; under X11 the program also owns the CLIPBOARD selection, so text
// copied here can be pasted in other programs and text copied there is read on GetClipboardData.
#pragma once

#include "platform/win/win_types.h"

using HGLOBAL = HANDLE;
constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;
constexpr UINT GHND = GMEM_MOVEABLE | GMEM_ZEROINIT;
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);
void* GlobalLock(HGLOBAL mem);
BOOL GlobalUnlock(HGLOBAL mem);
std::size_t GlobalSize(HGLOBAL mem);
HGLOBAL GlobalFree(HGLOBAL mem);

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_DIB = 8;
constexpr UINT CF_UNICODETEXT = 13;
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
// The clipboard takes the data (an HGLOBAL, or an HBITMAP for CF_BITMAP) and frees it later.
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
