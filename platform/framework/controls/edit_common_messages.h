// The edit messages that a single-line edit and a memo answer alike (read-only, undo, modified
// flag, clipboard, the I-beam cursor). Each control calls this from its Dispatch for what its own
// switch does not handle; true when the message was answered.
#pragma once

#include "platform/framework/controls/control_types.h"
#include "platform/win/win_api.h"

template <class TEditControl>
bool DispatchCommonEditMessage(TEditControl& edit, TMessage& m)
{
    switch (m.Msg) {
    case EM_SETREADONLY:
        edit.SetReadOnly(m.WParam != 0);
        m.Result = 1;
        return true;
    case EM_CANUNDO: m.Result = edit.CanUndo(); return true;
    case EM_UNDO:
    case WM_UNDO:
        m.Result = edit.CanUndo();
        edit.Undo();
        return true;
    case EM_EMPTYUNDOBUFFER: edit.ClearUndo(); return true;
    case EM_GETMODIFY: m.Result = edit.Modified(); return true;
    case EM_SETMODIFY: edit.SetModified(m.WParam != 0); return true;
    case WM_CUT: edit.CutToClipboard(); return true;
    case WM_COPY: edit.CopyToClipboard(); return true;
    case WM_PASTE: edit.PasteFromClipboard(); return true;
    case WM_CLEAR: edit.ClearSelection(); return true;
    case WM_SETCURSOR:
        if (LOWORD(m.LParam) == HTCLIENT) {
            ::SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
            m.Result = 1;
            return true;
        }
        return false;
    default: return false;
    }
}
