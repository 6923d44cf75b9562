// The handle table: every window, DC, bitmap, region, font, brush, pen and icon of the layer is an
// object behind an opaque handle value. Values are never reused, so a stale handle (or a foreign
// value) is simply not found: callers get an error result, never a crash. Objects are shared_ptr so
// a handle deleted on one thread cannot free an object another thread is still using.
// Internal to platform/win.
#pragma once

#include <cstdint>
#include <memory>

namespace vxwin {

enum class ObjKind {
    Window,
    Dc,
    Bitmap,
    Region,
    Font,
    Brush,
    Pen,
    Icon,
    Palette,
    DeferPos,
    Event,
    ChangeNotification,
    Find,
    Token
};

struct Object {
    explicit Object(ObjKind k) : kind(k) {}
    virtual ~Object() = default;
    ObjKind kind;
    std::uintptr_t handle = 0;
    bool stock = false;  // stock objects ignore DeleteObject
};

std::uintptr_t AddHandle(std::shared_ptr<Object> obj);
std::shared_ptr<Object> FindHandle(const void* handle);
bool RemoveHandle(const void* handle);
std::size_t LiveHandleCount();

template <class T>
std::shared_ptr<T> Lookup(const void* handle)
{
    auto obj = FindHandle(handle);
    if (!obj || obj->kind != T::kKind) return nullptr;
    return std::static_pointer_cast<T>(obj);
}

template <class H, class T>
H Register(const std::shared_ptr<T>& obj)
{
    return reinterpret_cast<H>(AddHandle(obj));
}

}  // namespace vxwin
