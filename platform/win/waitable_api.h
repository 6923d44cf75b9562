// Waitable kernel objects of the Windows stand-in: events (an eventfd each) and folder change
// notifications (an inotify instance each), waited on together in one poll. Used by the folder
// change watcher of the shell controls.
#pragma once

#include "platform/base/wait.h"  // INFINITE
#include "platform/win/file_api.h"
#include "platform/win/win_types.h"

constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD MAXIMUM_WAIT_OBJECTS = 64;

HANDLE CreateEventW(void* attributes, BOOL manualReset, BOOL initialState, LPCWSTR name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);
// Closes an event, a change notification or an access token.
BOOL CloseHandle(HANDLE handle);

// Waits until one of the objects is signalled (waitAll must be FALSE): answers WAIT_OBJECT_0 +
// its index (the lowest when several are), WAIT_TIMEOUT, or WAIT_FAILED for an unknown handle.
// An auto-reset event is reset by the wait that reports it.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD ms);
DWORD WaitForSingleObject(HANDLE handle, DWORD ms);

constexpr DWORD FILE_NOTIFY_CHANGE_FILE_NAME = 0x001;
constexpr DWORD FILE_NOTIFY_CHANGE_DIR_NAME = 0x002;
constexpr DWORD FILE_NOTIFY_CHANGE_ATTRIBUTES = 0x004;
constexpr DWORD FILE_NOTIFY_CHANGE_SIZE = 0x008;
constexpr DWORD FILE_NOTIFY_CHANGE_LAST_WRITE = 0x010;
constexpr DWORD FILE_NOTIFY_CHANGE_SECURITY = 0x100;

// Watches a folder (and with watchSubtree each folder below it, folders made later included):
// names (file or folder, by the filter) created, deleted or moved, the folder itself deleted or
// moved; attributes and security as attribute changes; size and last write as writes. The
// handle is signalled while changes wait; FindNextChangeNotification re-arms it, and changes
// that arrived in between signal it again. Every change read in one go counts as one.
// INVALID_HANDLE_VALUE when the folder cannot be watched (missing, unreadable).
HANDLE FindFirstChangeNotificationW(LPCWSTR path, BOOL watchSubtree, DWORD filter);
BOOL FindNextChangeNotification(HANDLE change);
BOOL FindCloseChangeNotification(HANDLE change);
