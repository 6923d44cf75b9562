// Global memory blocks and the clipboard. See clipboard_api.h.
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/win/backend.h"
#include "platform/win/clipboard_api.h"
#include "platform/win/gdi_api.h"
#include "platform/win/handle_table.h"

namespace vxwin {

namespace {

struct GlobalMem {
    std::vector<unsigned char> bytes;
    int locks = 0;
};

std::mutex& MemLock()
{
    static std::mutex m;
    return m;
}
std::map<std::uintptr_t, GlobalMem>& Blocks()
{
    static auto* b = new std::map<std::uintptr_t, GlobalMem>();
    return *b;
}
std::uintptr_t g_nextMem = 0x7D0000000000ull;

struct Clipboard {
    std::thread::id openBy;
    bool open = false;
    std::map<UINT, HANDLE> data;
    bool ownedByUs = false;  // set when this program put data there
};
Clipboard& Clip()
{
    static Clipboard c;
    return c;
}

void FreeData(UINT format, HANDLE h)
{
    if (format == CF_BITMAP)
        DeleteObject(h);
    else
        GlobalFree(h);
}

HGLOBAL TextToGlobal(const std::wstring& text)
{
    HGLOBAL g = GlobalAlloc(GHND, (text.size() + 1) * sizeof(wchar_t));
    auto* p = static_cast<wchar_t*>(GlobalLock(g));
    std::memcpy(p, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(g);
    return g;
}

}  // namespace

// The text on the clipboard, for the X11 back end serving other programs.
bool ClipboardText(std::wstring& out)
{
    std::lock_guard<std::mutex> lock(MemLock());
    auto& c = Clip();
    auto it = c.data.find(CF_UNICODETEXT);
    if (it == c.data.end()) return false;
    auto b = Blocks().find(reinterpret_cast<std::uintptr_t>(it->second));
    if (b == Blocks().end()) return false;
    out.assign(reinterpret_cast<const wchar_t*>(b->second.bytes.data()), b->second.bytes.size() / sizeof(wchar_t));
    out = out.c_str();
    return true;
}

// Another program took the clipboard over: what we held is dropped.
void ClipboardLostToOtherProgram()
{
    std::lock_guard<std::mutex> lock(MemLock());
    Clip().ownedByUs = false;
}

}  // namespace vxwin

using namespace vxwin;

HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes)
{
    std::lock_guard<std::mutex> lock(MemLock());
    std::uintptr_t h = g_nextMem;
    g_nextMem += 16;
    Blocks()[h].bytes.assign(bytes, 0);
    return reinterpret_cast<HGLOBAL>(h);
}

void* GlobalLock(HGLOBAL mem)
{
    std::lock_guard<std::mutex> lock(MemLock());
    auto it = Blocks().find(reinterpret_cast<std::uintptr_t>(mem));
    if (it == Blocks().end()) return nullptr;
    ++it->second.locks;
    static unsigned char empty[8];
    return it->second.bytes.empty() ? static_cast<void*>(empty) : it->second.bytes.data();
}

BOOL GlobalUnlock(HGLOBAL mem)
{
    std::lock_guard<std::mutex> lock(MemLock());
    auto it = Blocks().find(reinterpret_cast<std::uintptr_t>(mem));
    if (it == Blocks().end() || it->second.locks == 0) return FALSE;
    return --it->second.locks > 0;
}

std::size_t GlobalSize(HGLOBAL mem)
{
    std::lock_guard<std::mutex> lock(MemLock());
    auto it = Blocks().find(reinterpret_cast<std::uintptr_t>(mem));
    return it == Blocks().end() ? 0 : it->second.bytes.size();
}

HGLOBAL GlobalFree(HGLOBAL mem)
{
    std::lock_guard<std::mutex> lock(MemLock());
    return Blocks().erase(reinterpret_cast<std::uintptr_t>(mem)) ? nullptr : mem;
}

BOOL OpenClipboard(HWND)
{
    std::lock_guard<std::mutex> lock(MemLock());
    auto& c = Clip();
    if (c.open && c.openBy != std::this_thread::get_id()) return FALSE;
    c.open = true;
    c.openBy = std::this_thread::get_id();
    return TRUE;
}

BOOL CloseClipboard()
{
    bool announce;
    {
        std::lock_guard<std::mutex> lock(MemLock());
        auto& c = Clip();
        if (!c.open || c.openBy != std::this_thread::get_id()) return FALSE;
        c.open = false;
        announce = c.ownedByUs && !c.data.empty();
    }
    if (announce) CurrentBackend().ClipboardChanged();
    return TRUE;
}

BOOL EmptyClipboard()
{
    std::map<UINT, HANDLE> old;
    {
        std::lock_guard<std::mutex> lock(MemLock());
        auto& c = Clip();
        if (!c.open || c.openBy != std::this_thread::get_id()) return FALSE;
        old.swap(c.data);
        c.ownedByUs = true;
    }
    for (auto& [f, h] : old) FreeData(f, h);
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data)
{
    if (!data) return nullptr;
    if (format == CF_BITMAP ? !FindHandle(data) : GlobalSize(data) == 0) return nullptr;
    HANDLE old = nullptr;
    {
        std::lock_guard<std::mutex> lock(MemLock());
        auto& c = Clip();
        if (!c.open || c.openBy != std::this_thread::get_id()) return nullptr;
        auto it = c.data.find(format);
        if (it != c.data.end()) old = it->second;
        c.data[format] = data;
        c.ownedByUs = true;
    }
    if (old && old != data) FreeData(format, old);
    return data;
}

HANDLE GetClipboardData(UINT format)
{
    {
        std::lock_guard<std::mutex> lock(MemLock());
        auto& c = Clip();
        if (!c.open || c.openBy != std::this_thread::get_id()) return nullptr;
        if (c.ownedByUs || format != CF_UNICODETEXT) {
            auto it = c.data.find(format);
            return it == c.data.end() ? nullptr : it->second;
        }
    }
    // Text another program holds (X11): fetched now and kept until the clipboard changes again.
    std::wstring text;
    if (!CurrentBackend().ForeignClipboardText(text)) return nullptr;
    HGLOBAL g = TextToGlobal(text);
    std::lock_guard<std::mutex> lock(MemLock());
    auto& old = Clip().data[CF_UNICODETEXT];
    if (old) Blocks().erase(reinterpret_cast<std::uintptr_t>(old));
    old = g;
    return g;
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    {
        std::lock_guard<std::mutex> lock(MemLock());
        auto& c = Clip();
        if (c.ownedByUs || format != CF_UNICODETEXT) return c.data.count(format) ? TRUE : FALSE;
    }
    std::wstring text;
    return CurrentBackend().ForeignClipboardText(text) ? TRUE : FALSE;
}
