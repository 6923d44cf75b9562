// Handle table. See handle_table.h.
#include "platform/win/handle_table.h"

#include <mutex>
#include <unordered_map>

namespace vxwin {

namespace {
std::mutex& TableLock()
{
    static std::mutex m;
    return m;
}
std::unordered_map<std::uintptr_t, std::shared_ptr<Object>>& Table()
{
    static auto* t = new std::unordered_map<std::uintptr_t, std::shared_ptr<Object>>();
    return *t;
}
// Handle values start high and step by 8 so they look like pointers and never repeat.
std::uintptr_t g_next = 0x10000;
}  // namespace

std::uintptr_t AddHandle(std::shared_ptr<Object> obj)
{
    std::lock_guard<std::mutex> lock(TableLock());
    std::uintptr_t h = g_next;
    g_next += 8;
    obj->handle = h;
    Table().emplace(h, std::move(obj));
    return h;
}

std::shared_ptr<Object> FindHandle(const void* handle)
{
    auto h = reinterpret_cast<std::uintptr_t>(handle);
    if (h == 0) return nullptr;
    std::lock_guard<std::mutex> lock(TableLock());
    auto it = Table().find(h);
    return it == Table().end() ? nullptr : it->second;
}

bool RemoveHandle(const void* handle)
{
    std::shared_ptr<Object> keep;  // released outside the lock
    std::lock_guard<std::mutex> lock(TableLock());
    auto it = Table().find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == Table().end()) return false;
    keep = std::move(it->second);
    Table().erase(it);
    return true;
}

std::size_t LiveHandleCount()
{
    std::lock_guard<std::mutex> lock(TableLock());
    return Table().size();
}

}  // namespace vxwin
