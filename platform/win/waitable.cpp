// Events (eventfd) and folder change notifications (inotify), waited on in one poll. See
// waitable_api.h.
#include <dirent.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/utf.h"
#include "platform/win/handle_table.h"
#include "platform/win/waitable_api.h"

namespace vxwin {

namespace {

struct EventObject : Object {
    static constexpr ObjKind kKind = ObjKind::Event;
    EventObject() : Object(kKind) {}
    ~EventObject() override
    {
        if (fd >= 0) ::close(fd);
    }
    int fd = -1;
    bool manualReset = false;

    // Consumes the signal of an auto-reset event; false when another waiter took it first.
    bool Take()
    {
        if (manualReset) return true;
        eventfd_t v;
        return ::eventfd_read(fd, &v) == 0;
    }
};

// A folder's entry as a path.
std::string Below(const std::string& folder, const std::string& name)
{
    std::string out = folder == "/" ? std::string() : folder;
    out.push_back('/');
    out.append(name);
    return out;
}

constexpr DWORD kNameFilters = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF;
constexpr uint32_t kWriteEvents = IN_MODIFY | IN_CLOSE_WRITE;
// Enough for every folder of an ordinary subtree; a deeper tree is watched in part.
constexpr size_t kMaxWatches = 8192;

struct ChangeObject : Object {
    static constexpr ObjKind kKind = ObjKind::ChangeNotification;
    ChangeObject() : Object(kKind) {}
    ~ChangeObject() override
    {
        if (fd >= 0) ::close(fd);
    }

    int fd = -1;
    DWORD filter = 0;
    bool subtree = false;
    uint32_t mask = 0;
    std::mutex lock;
    bool pending = false;
    std::map<int, std::string> folders;  // watch descriptor -> folder

    bool Watch(const std::string& path, bool root)
    {
        if (folders.size() >= kMaxWatches) return false;
        const uint32_t m = mask | IN_ONLYDIR | (root ? 0 : IN_DONT_FOLLOW);
        const int wd = ::inotify_add_watch(fd, path.c_str(), m);
        if (wd < 0) return false;
        folders[wd] = path;
        if (subtree) WatchChildren(path);
        return true;
    }

    // Unreadable folders below are skipped: they run blind.
    void WatchChildren(const std::string& path)
    {
        DIR* d = ::opendir(path.c_str());
        if (!d) return;
        while (dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == "..") continue;
            const std::string child = Below(path, name);
            bool dir = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN) {
                struct stat st;
                dir = ::lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
            }
            if (dir) Watch(child, false);
        }
        ::closedir(d);
    }

    bool Relevant(const inotify_event& ev) const
    {
        if (ev.mask & IN_Q_OVERFLOW) return true;
        if (ev.mask & kNameEvents)
            return (filter & ((ev.mask & IN_ISDIR) ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) != 0;
        if (ev.mask & kSelfEvents) return (filter & kNameFilters) != 0;
        if (ev.mask & IN_ATTRIB) return (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) != 0;
        if (ev.mask & kWriteEvents) return (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) != 0;
        return false;
    }

    // Reads every change waiting; new folders of a watched subtree are watched at once. True
    // when a change the filter asks for was among them.
    bool ReadChanges()
    {
        alignas(inotify_event) char buf[16384];
        bool relevant = false;
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0) break;
            for (ssize_t off = 0; off < n;) {
                const auto* ev = reinterpret_cast<const inotify_event*>(buf + off);
                off += static_cast<ssize_t>(sizeof(inotify_event) + ev->len);
                if (Relevant(*ev)) relevant = true;
                const auto it = folders.find(ev->wd);
                if (ev->mask & IN_IGNORED) {
                    if (it != folders.end()) folders.erase(it);
                } else if (subtree && it != folders.end() && (ev->mask & IN_ISDIR) && ev->len &&
                           (ev->mask & (IN_CREATE | IN_MOVED_TO))) {
                    Watch(Below(it->second, ev->name), false);
                }
            }
        }
        return relevant;
    }
};

// The object behind a handle, or nullptr with ERROR_INVALID_HANDLE.
template <class T>
std::shared_ptr<T> Checked(HANDLE h)
{
    auto obj = Lookup<T>(h);
    if (!obj) SetLastError(ERROR_INVALID_HANDLE);
    return obj;
}

uint32_t MaskOf(DWORD filter, bool subtree)
{
    uint32_t m = 0;
    if (filter & kNameFilters) m |= kNameEvents | kSelfEvents;
    if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) m |= IN_ATTRIB;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) m |= kWriteEvents;
    if (subtree) m |= IN_CREATE | IN_MOVED_TO;  // to watch new folders
    return m;
}

}  // namespace

}  // namespace vxwin

using namespace vxwin;

HANDLE CreateEventW(void*, BOOL manualReset, BOOL initialState, LPCWSTR)
{
    auto ev = std::make_shared<EventObject>();
    ev->fd = ::eventfd(initialState ? 1 : 0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (ev->fd < 0) {
        SetLastError(ErrnoToWin32(errno));
        return nullptr;
    }
    ev->manualReset = manualReset != FALSE;
    return Register<HANDLE>(ev);
}

BOOL SetEvent(HANDLE event)
{
    auto ev = Checked<EventObject>(event);
    if (!ev) return FALSE;
    // Writing once more to a set event changes nothing: it stays set until it is reset.
    eventfd_t v;
    if (::eventfd_read(ev->fd, &v) != 0) v = 0;
    return ::eventfd_write(ev->fd, 1) == 0;
}

BOOL ResetEvent(HANDLE event)
{
    auto ev = Checked<EventObject>(event);
    if (!ev) return FALSE;
    eventfd_t v;
    ::eventfd_read(ev->fd, &v);
    return TRUE;
}

BOOL CloseHandle(HANDLE handle)
{
    auto obj = FindHandle(handle);
    if (!obj ||
        (obj->kind != ObjKind::Event && obj->kind != ObjKind::ChangeNotification && obj->kind != ObjKind::Token)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return RemoveHandle(handle);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms)
{
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles || waitAll) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<Object>> objs;
    std::vector<pollfd> fds(count);
    for (DWORD i = 0; i < count; ++i) {
        auto obj = FindHandle(handles[i]);
        if (!obj || (obj->kind != ObjKind::Event && obj->kind != ObjKind::ChangeNotification)) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        fds[i].fd = obj->kind == ObjKind::Event ? static_cast<EventObject*>(obj.get())->fd
                                                : static_cast<ChangeObject*>(obj.get())->fd;
        fds[i].events = POLLIN;
        objs.push_back(std::move(obj));
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        for (DWORD i = 0; i < count; ++i) {
            if (objs[i]->kind != ObjKind::ChangeNotification) continue;
            auto* ch = static_cast<ChangeObject*>(objs[i].get());
            std::lock_guard<std::mutex> lock(ch->lock);
            if (ch->pending) return WAIT_OBJECT_0 + i;
        }
        int timeout = -1;
        if (ms != INFINITE) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            timeout = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        const int r = ::poll(fds.data(), count, timeout);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) {
            SetLastError(ErrnoToWin32(errno));
            return WAIT_FAILED;
        }
        if (r == 0) return WAIT_TIMEOUT;
        for (DWORD i = 0; i < count; ++i) {
            if (!(fds[i].revents & (POLLIN | POLLERR | POLLHUP))) continue;
            if (fds[i].revents & POLLNVAL) return WAIT_FAILED;
            if (objs[i]->kind == ObjKind::Event) {
                if (static_cast<EventObject*>(objs[i].get())->Take()) return WAIT_OBJECT_0 + i;
            } else {
                auto* ch = static_cast<ChangeObject*>(objs[i].get());
                std::lock_guard<std::mutex> lock(ch->lock);
                if (ch->ReadChanges()) ch->pending = true;
                if (ch->pending) return WAIT_OBJECT_0 + i;
            }
        }
    }
}

DWORD WaitForSingleObject(HANDLE handle, DWORD ms) { return WaitForMultipleObjects(1, &handle, FALSE, ms); }

HANDLE FindFirstChangeNotificationW(LPCWSTR path, BOOL watchSubtree, DWORD filter)
{
    if (!path || !*path) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto ch = std::make_shared<ChangeObject>();
    ch->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (ch->fd < 0) {
        SetLastError(ErrnoToWin32(errno));
        return INVALID_HANDLE_VALUE;
    }
    ch->filter = filter;
    ch->subtree = watchSubtree != FALSE;
    ch->mask = MaskOf(filter, ch->subtree);
    if (!ch->Watch(StringToUtf8(path), true)) {
        SetLastError(ErrnoToWin32(errno));
        return INVALID_HANDLE_VALUE;
    }
    return Register<HANDLE>(ch);
}

BOOL FindNextChangeNotification(HANDLE change)
{
    auto ch = Checked<ChangeObject>(change);
    if (!ch) return FALSE;
    std::lock_guard<std::mutex> lock(ch->lock);
    ch->pending = false;
    return TRUE;
}

BOOL FindCloseChangeNotification(HANDLE change) { return Checked<ChangeObject>(change) ? RemoveHandle(change) : FALSE; }
