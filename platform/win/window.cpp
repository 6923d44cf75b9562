// Window classes, creation and destruction, the window tree, window longs, properties, window
// procedures and object instances. See window.h and user_api.h.
#include "platform/win/window.h"

#include <algorithm>
#include <atomic>
#include <cwctype>
#include <unordered_map>

#include "platform/win/backend.h"
#include "platform/win/message_queue.h"
#include "platform/win/user_api.h"

namespace vxwin {

std::recursive_mutex& WindowLock()
{
    static std::recursive_mutex m;
    return m;
}

namespace {

std::vector<std::uintptr_t>& TopList()
{
    static std::vector<std::uintptr_t> v;
    return v;
}
std::vector<std::uintptr_t>& MessageOnlyList()
{
    static std::vector<std::uintptr_t> v;
    return v;
}

std::mutex& ClassLock()
{
    static std::mutex m;
    return m;
}
std::unordered_map<std::wstring, std::shared_ptr<WindowClass>>& Classes()
{
    static auto* m = new std::unordered_map<std::wstring, std::shared_ptr<WindowClass>>();
    return *m;
}
std::wstring ClassKey(LPCWSTR name)
{
    std::wstring k(name ? name : L"");
    for (auto& c : k) c = static_cast<wchar_t>(std::towlower(c));
    return k;
}

// Object instances: WNDPROC values that stand for a bound function.
std::mutex& InstanceLock()
{
    static std::mutex m;
    return m;
}
std::unordered_map<std::uintptr_t, std::shared_ptr<std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>>>& Instances()
{
    static auto* m =
        new std::unordered_map<std::uintptr_t, std::shared_ptr<std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>>>();
    return *m;
}
std::atomic<std::uintptr_t> g_nextInstance{0x7E0000000000ull};

std::atomic<unsigned> g_layoutGen{1};

}  // namespace

InputState& Input()
{
    static InputState s;
    return s;
}

void BumpLayout() { ++g_layoutGen; }
unsigned LayoutGeneration() { return g_layoutGen; }

std::shared_ptr<WindowObj> LookupWindow(HWND h) { return Lookup<WindowObj>(h); }

std::vector<std::uintptr_t> TopLevels()
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    return TopList();
}

std::vector<std::uintptr_t> MessageOnlyWindows()
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    return MessageOnlyList();
}

void RemoveTopLevel(std::uintptr_t h)
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    auto& v = TopList();
    v.erase(std::remove(v.begin(), v.end(), h), v.end());
}

// Inserts h after the window 'after' (0 = at the top of its band); topmost windows stay in front.
void InsertTopLevel(std::uintptr_t h, std::uintptr_t after)
{
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    auto& v = TopList();
    v.erase(std::remove(v.begin(), v.end(), h), v.end());
    auto w = LookupWindow(h);
    bool topmost = w && (w->exStyle & WS_EX_TOPMOST);
    size_t bandStart = 0, bandEnd = 0;
    for (size_t i = 0; i < v.size(); ++i) {
        auto o = LookupWindow(v[i]);
        if (o && (o->exStyle & WS_EX_TOPMOST)) bandEnd = i + 1;
    }
    if (!topmost) {
        bandStart = bandEnd;
        bandEnd = v.size();
    }
    size_t pos = bandStart;
    if (after == 1)
        pos = bandEnd;  // HWND_BOTTOM
    else if (after) {
        auto it = std::find(v.begin(), v.end(), after);
        if (it != v.end()) pos = std::clamp<size_t>(static_cast<size_t>(it - v.begin()) + 1, bandStart, bandEnd);
    }
    v.insert(v.begin() + static_cast<std::ptrdiff_t>(pos), h);
    BumpLayout();
}

bool IsChildWindow(const WindowObj& w) { return (w.style & WS_CHILD) && w.parent; }

std::shared_ptr<WindowObj> TopLevelOf(std::shared_ptr<WindowObj> w)
{
    while (w && IsChildWindow(*w)) {
        auto p = LookupWindow(w->parent);
        if (!p) break;
        w = p;
    }
    return w;
}

POINT OffsetInTopLevel(const WindowObj& w)
{
    POINT p{0, 0};
    const WindowObj* cur = &w;
    std::shared_ptr<WindowObj> hold;
    while (IsChildWindow(*cur)) {
        hold = LookupWindow(cur->parent);
        if (!hold) break;
        p.x += cur->rect.left + hold->client.left;
        p.y += cur->rect.top + hold->client.top;
        cur = hold.get();
    }
    return p;
}

RECT ScreenRectOf(const WindowObj& w)
{
    auto top = TopLevelOf(LookupWindow(w.handle));
    POINT o = OffsetInTopLevel(w);
    int x = (top ? top->rect.left : 0) + o.x, y = (top ? top->rect.top : 0) + o.y;
    return RECT{x, y, x + (w.rect.right - w.rect.left), y + (w.rect.bottom - w.rect.top)};
}

bool IsReallyVisible(const WindowObj& w)
{
    const WindowObj* cur = &w;
    std::shared_ptr<WindowObj> hold;
    while (true) {
        if (!(cur->style & WS_VISIBLE)) return false;
        if (!IsChildWindow(*cur)) return true;
        hold = LookupWindow(cur->parent);
        if (!hold) return false;
        cur = hold.get();
    }
}

namespace {
Region WindowArea(const WindowObj& w, POINT off)
{
    Region r(RECT{off.x, off.y, off.x + (w.rect.right - w.rect.left), off.y + (w.rect.bottom - w.rect.top)});
    if (w.shape) {
        Region s = w.shape->rgn;
        s.Offset(off.x, off.y);
        r = r.Intersect(s);
    }
    return r;
}
}  // namespace

Region VisibleRegion(const WindowObj& w, bool clientOnly)
{
    if (!IsReallyVisible(w)) return Region();
    POINT off = OffsetInTopLevel(w);
    Region rgn = WindowArea(w, off);
    if (clientOnly) rgn = rgn.Intersect(RectOffset(w.client, off.x, off.y));
    std::shared_ptr<WindowObj> hold;
    const WindowObj* cur = &w;
    while (IsChildWindow(*cur)) {
        hold = LookupWindow(cur->parent);
        if (!hold) return Region();
        POINT poff = OffsetInTopLevel(*hold);
        rgn = rgn.Intersect(RectOffset(hold->client, poff.x, poff.y));
        if (hold->shape) {
            Region s = hold->shape->rgn;
            s.Offset(poff.x, poff.y);
            rgn = rgn.Intersect(s);
        }
        // Siblings above cur cover it.
        for (std::uintptr_t sib : hold->children) {
            if (sib == cur->handle) break;
            auto s = LookupWindow(sib);
            if (!s || !(s->style & WS_VISIBLE)) continue;
            rgn = rgn.Subtract(WindowArea(*s, OffsetInTopLevel(*s)));
        }
        cur = hold.get();
    }
    if (w.style & WS_CLIPCHILDREN) {
        for (std::uintptr_t c : w.children) {
            auto ch = LookupWindow(c);
            if (!ch || !(ch->style & WS_VISIBLE)) continue;
            rgn = rgn.Subtract(WindowArea(*ch, OffsetInTopLevel(*ch)));
        }
    }
    return rgn;
}

LRESULT CallProc(WNDPROC proc, HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!proc) return DefWindowProcW(h, msg, wp, lp);
    auto v = reinterpret_cast<std::uintptr_t>(proc);
    if (v >= 0x7E0000000000ull && v < 0x7F0000000000ull) {
        std::shared_ptr<std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>> fn;
        {
            std::lock_guard<std::mutex> lock(InstanceLock());
            auto it = Instances().find(v);
            if (it != Instances().end()) fn = it->second;
        }
        if (!fn) return 0;  // a freed instance
        return (*fn)(h, msg, wp, lp);
    }
    return proc(h, msg, wp, lp);
}

LRESULT SendTo(const std::shared_ptr<WindowObj>& w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (!w) return 0;
    return SendMessageW(w->hwnd(), msg, wp, lp);
}

void ForgetCaret(std::uintptr_t hwnd);

void ForgetWindowInput(std::uintptr_t h)
{
    ForgetCaret(h);
    auto& in = Input();
    if (in.active == h) in.active = 0;
    if (in.focus == h) in.focus = 0;
    if (in.capture == h) in.capture = 0;
    if (in.lastUnder == h) in.lastUnder = 0;
    if (in.lastDownWnd == h) in.lastDownWnd = 0;
    std::erase(in.outsideWatch, h);
}

}  // namespace vxwin

using namespace vxwin;

WNDPROC MakeObjectInstance(std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> fn)
{
    std::uintptr_t v = g_nextInstance.fetch_add(16);
    std::lock_guard<std::mutex> lock(InstanceLock());
    Instances()[v] = std::make_shared<std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>>(std::move(fn));
    return reinterpret_cast<WNDPROC>(v);
}

void FreeObjectInstance(WNDPROC proc)
{
    std::lock_guard<std::mutex> lock(InstanceLock());
    Instances().erase(reinterpret_cast<std::uintptr_t>(proc));
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    return CallProc(proc, hwnd, msg, wp, lp);
}

ATOM RegisterClassW(const WNDCLASSW* wc)
{
    if (!wc || !wc->lpszClassName || !*wc->lpszClassName) return 0;
    auto cls = std::make_shared<WindowClass>();
    cls->name = wc->lpszClassName;
    cls->style = wc->style;
    cls->proc = wc->lpfnWndProc;
    cls->cursor = wc->hCursor;
    cls->background = wc->hbrBackground;
    cls->icon = wc->hIcon;
    cls->wndExtra = std::max(0, wc->cbWndExtra);
    std::lock_guard<std::mutex> lock(ClassLock());
    auto key = ClassKey(wc->lpszClassName);
    if (Classes().count(key)) return 0;
    Classes()[key] = cls;
    return static_cast<ATOM>(0xC000 + (Classes().size() & 0x3FFF));
}

BOOL UnregisterClassW(LPCWSTR name, HINSTANCE)
{
    std::lock_guard<std::mutex> lock(ClassLock());
    return Classes().erase(ClassKey(name)) ? TRUE : FALSE;
}

BOOL GetClassInfoW(HINSTANCE, LPCWSTR name, WNDCLASSW* out)
{
    std::lock_guard<std::mutex> lock(ClassLock());
    auto it = Classes().find(ClassKey(name));
    if (it == Classes().end() || !out) return FALSE;
    out->style = it->second->style;
    out->lpfnWndProc = it->second->proc;
    out->hCursor = it->second->cursor;
    out->hbrBackground = it->second->background;
    out->hIcon = it->second->icon;
    out->cbWndExtra = it->second->wndExtra;
    out->lpszClassName = name;
    return TRUE;
}

int GetClassNameW(HWND hwnd, LPWSTR buf, int max)
{
    auto w = LookupWindow(hwnd);
    if (!w || !buf || max <= 0) return 0;
    int n = std::min<int>(static_cast<int>(w->cls->name.size()), max - 1);
    std::copy_n(w->cls->name.c_str(), n, buf);
    buf[n] = 0;
    return n;
}

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y, int w, int h,
                     HWND parent, HMENU menu, HINSTANCE inst, LPVOID param)
{
    std::shared_ptr<WindowClass> cls;
    {
        std::lock_guard<std::mutex> lock(ClassLock());
        auto it = Classes().find(ClassKey(className));
        if (it == Classes().end()) return nullptr;
        cls = it->second;
    }
    auto wnd = std::make_shared<WindowObj>();
    wnd->cls = cls;
    wnd->proc = cls->proc;
    wnd->style = style & ~WS_VISIBLE;
    wnd->exStyle = exStyle;
    wnd->text = title ? title : L"";
    wnd->extra.assign(static_cast<size_t>((cls->wndExtra + 7) / 8), 0);
    wnd->queue = CurrentQueue();
    wnd->thread = std::this_thread::get_id();
    wnd->showState = SW_SHOWNORMAL;
    if (parent == HWND_MESSAGE) {
        wnd->messageOnly = true;
        wnd->style &= ~WS_CHILD;
    } else if (style & WS_CHILD) {
        auto p = LookupWindow(parent);
        if (!p) return nullptr;
        wnd->parent = p->handle;
        wnd->id = reinterpret_cast<LONG_PTR>(menu);
    } else if (parent) {
        auto o = LookupWindow(parent);
        if (!o) return nullptr;
        wnd->owner = TopLevelOf(o)->handle;
    }
    if (x == CW_USEDEFAULT) x = y = 100;
    if (w == CW_USEDEFAULT) {
        w = 640;
        h = 480;
    }
    wnd->rect = RECT{x, y, x + std::max(0, w), y + std::max(0, h)};
    wnd->client = RECT{0, 0, std::max(0, w), std::max(0, h)};
    wnd->restoreRect = wnd->rect;
    HWND hwnd = Register<HWND>(wnd);
    {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        if (wnd->parent) {
            auto p = LookupWindow(wnd->parent);
            p->children.insert(p->children.begin(), wnd->handle);
        } else if (!wnd->messageOnly) {
            InsertTopLevel(wnd->handle, 0);
        } else {
            MessageOnlyList().push_back(wnd->handle);
        }
    }
    BumpLayout();
    CREATESTRUCTW cs;
    cs.lpCreateParams = param;
    cs.hInstance = inst;
    cs.hMenu = menu;
    cs.hwndParent = parent;
    cs.cx = w;
    cs.cy = h;
    cs.x = x;
    cs.y = y;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = title;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    NCCALCSIZE_PARAMS nc;
    nc.rgrc[0] = wnd->rect;
    SendMessageW(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&nc.rgrc[0]));
    wnd->client = RectOffset(nc.rgrc[0], -wnd->rect.left, -wnd->rect.top);
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    wnd->created = true;
    if (wnd->parent && !(exStyle & 0x4 /* WS_EX_NOPARENTNOTIFY */))
        SendMessageW(reinterpret_cast<HWND>(wnd->parent), WM_PARENTNOTIFY,
                     MAKEWPARAM(WM_CREATE, static_cast<int>(wnd->id)), reinterpret_cast<LPARAM>(hwnd));
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                 MAKELPARAM(wnd->client.right - wnd->client.left, wnd->client.bottom - wnd->client.top));
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(wnd->rect.left + wnd->client.left, wnd->rect.top + wnd->client.top));
    if (!IsWindow(hwnd)) return nullptr;
    if (!wnd->parent && !wnd->messageOnly) CurrentBackend().WindowCreated(*wnd);
    if (style & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return hwnd;
}

namespace {

void SendDestroy(const std::shared_ptr<WindowObj>& w)
{
    SendMessageW(w->hwnd(), WM_DESTROY, 0, 0);
    auto kids = w->children;
    for (auto c : kids)
        if (auto ch = LookupWindow(c)) {
            ch->destroying = true;
            SendDestroy(ch);
        }
}

void FinishDestroy(const std::shared_ptr<WindowObj>& w)
{
    auto kids = w->children;
    for (auto c : kids)
        if (auto ch = LookupWindow(c)) FinishDestroy(ch);
    SendMessageW(w->hwnd(), WM_NCDESTROY, 0, 0);
    RemoveWindowTimers(w->handle);
    RemoveWindowMessages(w->handle);
    ForgetWindowInput(w->handle);
    {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        if (w->parent) {
            if (auto p = LookupWindow(w->parent))
                p->children.erase(std::remove(p->children.begin(), p->children.end(), w->handle), p->children.end());
        } else {
            RemoveTopLevel(w->handle);
            auto& m = MessageOnlyList();
            m.erase(std::remove(m.begin(), m.end(), w->handle), m.end());
        }
    }
    if (w->shape) {
        w->shape->ownerWindow = 0;
        RemoveHandle(reinterpret_cast<void*>(w->shape->handle));
        w->shape.reset();
    }
    if (!w->parent && !w->messageOnly)
        CurrentBackend().WindowDestroyed(*w);
    else if (w->parent)
        CurrentBackend().ChildDestroyed(*w);
    RemoveHandle(w->hwnd());
    BumpLayout();
}

}  // namespace

BOOL DestroyWindow(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    if (!w || w->destroying) return FALSE;
    if (w->thread != std::this_thread::get_id()) return FALSE;
    w->destroying = true;
    // Owned windows go first.
    for (auto t : TopLevels())
        if (auto o = LookupWindow(t); o && o->owner == w->handle) DestroyWindow(o->hwnd());
    if (w->style & WS_VISIBLE)
        SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    auto& in = Input();
    auto inTree = [&](std::uintptr_t h) {
        for (auto c = LookupWindow(h); c; c = IsChildWindow(*c) ? LookupWindow(c->parent) : nullptr)
            if (c->handle == w->handle) return true;
        return false;
    };
    if (in.capture && inTree(in.capture)) ReleaseCapture();
    if (in.focus && inTree(in.focus)) {
        HWND old = reinterpret_cast<HWND>(in.focus);
        in.focus = 0;
        if (IsWindow(old)) SendMessageW(old, WM_KILLFOCUS, 0, 0);
    }
    if (in.active == w->handle) {
        in.active = 0;
        // Activate the owner, else the next visible top-level window.
        HWND next = nullptr;
        if (w->owner && IsWindowVisible(reinterpret_cast<HWND>(w->owner))) next = reinterpret_cast<HWND>(w->owner);
        if (!next)
            for (auto t : TopLevels())
                if (t != w->handle && IsWindowVisible(reinterpret_cast<HWND>(t)) &&
                    !(LookupWindow(t)->exStyle & (WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW))) {
                    next = reinterpret_cast<HWND>(t);
                    break;
                }
        if (next) SetActiveWindow(next);
    }
    SendDestroy(w);
    FinishDestroy(w);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return LookupWindow(hwnd) ? TRUE : FALSE; }
BOOL IsWindowVisible(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    return w && IsReallyVisible(*w) ? TRUE : FALSE;
}
BOOL IsWindowEnabled(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}
BOOL EnableWindow(HWND hwnd, BOOL enable)
{
    auto w = LookupWindow(hwnd);
    if (!w) return FALSE;
    BOOL wasDisabled = (w->style & WS_DISABLED) ? TRUE : FALSE;
    if (enable == !wasDisabled) return wasDisabled;
    if (enable)
        w->style &= ~WS_DISABLED;
    else {
        w->style |= WS_DISABLED;
        if (Input().focus == w->handle) SetFocus(nullptr);
        if (Input().capture == w->handle) ReleaseCapture();
    }
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled;
}
BOOL IsChild(HWND parent, HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    auto p = reinterpret_cast<std::uintptr_t>(parent);
    while (w && IsChildWindow(*w)) {
        if (w->parent == p) return TRUE;
        w = LookupWindow(w->parent);
    }
    return FALSE;
}
BOOL IsIconic(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    return w && w->showState == SW_SHOWMINIMIZED;
}
BOOL IsZoomed(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    return w && w->showState == SW_SHOWMAXIMIZED;
}
HWND GetParent(HWND hwnd)
{
    auto w = LookupWindow(hwnd);
    if (!w) return nullptr;
    return reinterpret_cast<HWND>(IsChildWindow(*w) ? w->parent : w->owner);
}
HWND GetAncestor(HWND hwnd, UINT flags)
{
    auto w = LookupWindow(hwnd);
    if (!w) return nullptr;
    if (flags == GA_PARENT) return IsChildWindow(*w) ? reinterpret_cast<HWND>(w->parent) : nullptr;
    auto top = TopLevelOf(w);
    if (flags == GA_ROOTOWNER) {
        while (top && top->owner) {
            auto o = LookupWindow(top->owner);
            if (!o) break;
            top = TopLevelOf(o);
        }
    }
    return top ? top->hwnd() : nullptr;
}
HWND GetDesktopWindow() { return nullptr; }

HWND SetParent(HWND child, HWND parent)
{
    auto w = LookupWindow(child);
    if (!w) return nullptr;
    auto p = parent ? LookupWindow(parent) : nullptr;
    if (parent && !p) return nullptr;
    HWND old = GetParent(child);
    bool wasVisible = w->style & WS_VISIBLE;
    if (wasVisible) ShowWindow(child, SW_HIDE);
    {
        std::lock_guard<std::recursive_mutex> lock(WindowLock());
        if (IsChildWindow(*w)) {
            if (auto op = LookupWindow(w->parent))
                op->children.erase(std::remove(op->children.begin(), op->children.end(), w->handle),
                                   op->children.end());
        } else {
            RemoveTopLevel(w->handle);
            CurrentBackend().WindowDestroyed(*w);
        }
        if (p) {
            w->parent = p->handle;
            w->style |= WS_CHILD;
            w->style &= ~WS_POPUP;
            p->children.insert(p->children.begin(), w->handle);
        } else {
            w->parent = 0;
            w->style &= ~WS_CHILD;
            InsertTopLevel(w->handle, 0);
            CurrentBackend().WindowCreated(*w);
        }
        w->surface.reset();
    }
    BumpLayout();
    if (wasVisible) ShowWindow(child, SW_SHOWNA);
    return old;
}

HWND GetWindow(HWND hwnd, UINT cmd)
{
    auto w = LookupWindow(hwnd);
    if (!w) return nullptr;
    std::lock_guard<std::recursive_mutex> lock(WindowLock());
    if (cmd == GW_CHILD) return w->children.empty() ? nullptr : reinterpret_cast<HWND>(w->children.front());
    if (cmd == GW_OWNER) return IsChildWindow(*w) ? nullptr : reinterpret_cast<HWND>(w->owner);
    std::vector<std::uintptr_t> sibs;
    if (IsChildWindow(*w)) {
        if (auto p = LookupWindow(w->parent)) sibs = p->children;
    } else {
        sibs = TopList();
    }
    auto it = std::find(sibs.begin(), sibs.end(), w->handle);
    switch (cmd) {
    case GW_HWNDFIRST: return sibs.empty() ? nullptr : reinterpret_cast<HWND>(sibs.front());
    case GW_HWNDLAST: return sibs.empty() ? nullptr : reinterpret_cast<HWND>(sibs.back());
    case GW_HWNDNEXT: return (it == sibs.end() || it + 1 == sibs.end()) ? nullptr : reinterpret_cast<HWND>(*(it + 1));
    case GW_HWNDPREV: return (it == sibs.end() || it == sibs.begin()) ? nullptr : reinterpret_cast<HWND>(*(it - 1));
    }
    return nullptr;
}

HWND GetTopWindow(HWND hwnd)
{
    if (!hwnd) {
        auto v = TopLevels();
        return v.empty() ? nullptr : reinterpret_cast<HWND>(v.front());
    }
    return GetWindow(hwnd, GW_CHILD);
}

BOOL EnumChildWindows(HWND parent, const WNDENUMPROC_FN& fn)
{
    auto p = LookupWindow(parent);
    if (!p) return FALSE;
    auto kids = p->children;
    for (auto c : kids) {
        if (!IsWindow(reinterpret_cast<HWND>(c))) continue;
        if (!fn(reinterpret_cast<HWND>(c))) return FALSE;
        if (!EnumChildWindows(reinterpret_cast<HWND>(c), fn)) return FALSE;
    }
    return TRUE;
}

BOOL EnumThreadWindows(const WNDENUMPROC_FN& fn)
{
    for (auto t : TopLevels()) {
        auto w = LookupWindow(t);
        if (!w || w->thread != std::this_thread::get_id()) continue;
        if (!fn(w->hwnd())) return FALSE;
    }
    return TRUE;
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* pid)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    if (pid) *pid = 1;
    return static_cast<DWORD>(std::hash<std::thread::id>()(w->thread) & 0x7FFFFFFF);
}

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    switch (index) {
    case GWL_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWL_STYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->style));
    case GWL_EXSTYLE: return static_cast<LONG_PTR>(static_cast<LONG>(w->exStyle));
    case GWL_USERDATA: return w->userData;
    case GWL_ID: return w->id;
    case GWL_HWNDPARENT: return static_cast<LONG_PTR>(IsChildWindow(*w) ? w->parent : w->owner);
    case GWL_HINSTANCE: return 0;
    }
    if (index >= 0 && static_cast<size_t>(index / 8) < w->extra.size() && index % 8 == 0) return w->extra[index / 8];
    return 0;
}

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    LONG_PTR old = GetWindowLongPtrW(hwnd, index);
    switch (index) {
    case GWL_WNDPROC: w->proc = reinterpret_cast<WNDPROC>(value); return old;
    case GWL_USERDATA: w->userData = value; return old;
    case GWL_ID: w->id = value; return old;
    case GWL_HWNDPARENT:
        if (!IsChildWindow(*w)) w->owner = static_cast<std::uintptr_t>(value);
        return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        struct {
            DWORD oldStyle, newStyle;
        } ss{static_cast<DWORD>(old), static_cast<DWORD>(value)};
        SendMessageW(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        DWORD nv = ss.newStyle;
        if (index == GWL_STYLE) {
            // The visible bit follows SetWindowPos/ShowWindow, not the style write.
            w->style = (nv & ~WS_VISIBLE) | (w->style & WS_VISIBLE);
        } else {
            DWORD was = w->exStyle;
            w->exStyle = nv;
            if ((was ^ nv) & WS_EX_LAYERED) {
                // Entering or leaving layered mode starts over with the painted content, fully opaque.
                w->layeredAlpha = 255;
                w->layeredColorKey = false;
                w->layeredContent.reset();
                w->layeredOpaque.Clear();
                if (!IsChildWindow(*w)) {
                    CurrentBackend().WindowLayeredChanged(*w);
                    InvalidateWindowArea(
                        w, Region(RECT{0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top}), true, true);
                    w->ncPending = true;
                }
            }
            if ((was ^ nv) & WS_EX_TOPMOST) {
                InsertTopLevel(w->handle, 0);
                if (!IsChildWindow(*w)) CurrentBackend().WindowTopmostChanged(*w);
            }
            // Click-through switched on or off: the back end's input shape follows.
            if (((was ^ nv) & WS_EX_TRANSPARENT) && (nv & WS_EX_LAYERED) && !((was ^ nv) & WS_EX_LAYERED) &&
                !IsChildWindow(*w))
                CurrentBackend().WindowShapeChanged(*w);
        }
        SendMessageW(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        BumpLayout();
        return old;
    }
    }
    if (index >= 0 && static_cast<size_t>(index / 8) < w->extra.size() && index % 8 == 0) w->extra[index / 8] = value;
    return old;
}

LONG GetWindowLongW(HWND hwnd, int index) { return static_cast<LONG>(GetWindowLongPtrW(hwnd, index)); }
LONG SetWindowLongW(HWND hwnd, int index, LONG value)
{
    // Procedures and pointers do not fit 32 bits here: those indices go through the pointer form.
    return static_cast<LONG>(SetWindowLongPtrW(
        hwnd, index,
        static_cast<LONG_PTR>(index == GWL_STYLE || index == GWL_EXSTYLE ? static_cast<DWORD>(value) : value)));
}

ULONG_PTR GetClassLongPtrW(HWND hwnd, int index)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    switch (index) {
    case GCL_STYLE: return w->cls->style;
    case GCL_HCURSOR: return reinterpret_cast<ULONG_PTR>(w->cls->cursor);
    case GCL_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(w->cls->background);
    }
    return 0;
}
ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value)
{
    auto w = LookupWindow(hwnd);
    if (!w) return 0;
    ULONG_PTR old = GetClassLongPtrW(hwnd, index);
    switch (index) {
    case GCL_STYLE: w->cls->style = static_cast<UINT>(value); break;
    case GCL_HCURSOR: w->cls->cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCL_HBRBACKGROUND: w->cls->background = reinterpret_cast<HBRUSH>(value); break;
    default: return 0;
    }
    return old;
}
DWORD GetClassLongW(HWND hwnd, int index) { return static_cast<DWORD>(GetClassLongPtrW(hwnd, index)); }
DWORD SetClassLongW(HWND hwnd, int index, LONG value)
{
    return static_cast<DWORD>(SetClassLongPtrW(hwnd, index, index == GCL_STYLE ? static_cast<DWORD>(value) : value));
}

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data)
{
    auto w = LookupWindow(hwnd);
    if (!w || !name) return FALSE;
    w->props[name] = data;
    return TRUE;
}
HANDLE GetPropW(HWND hwnd, LPCWSTR name)
{
    auto w = LookupWindow(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(name);
    return it == w->props.end() ? nullptr : it->second;
}
HANDLE RemovePropW(HWND hwnd, LPCWSTR name)
{
    auto w = LookupWindow(hwnd);
    if (!w || !name) return nullptr;
    auto it = w->props.find(name);
    if (it == w->props.end()) return nullptr;
    HANDLE v = it->second;
    w->props.erase(it);
    return v;
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text)
{
    if (!IsWindow(hwnd)) return FALSE;
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : L"")) ? TRUE : FALSE;
}
int GetWindowTextW(HWND hwnd, LPWSTR buf, int max)
{
    if (!IsWindow(hwnd) || !buf || max <= 0) return 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(buf)));
}
int GetWindowTextLengthW(HWND hwnd)
{
    if (!IsWindow(hwnd)) return 0;
    return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
