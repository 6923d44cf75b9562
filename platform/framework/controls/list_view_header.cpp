#include "platform/framework/controls/list_view_header.h"

#include <algorithm>
#include <map>

#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/plain_draw.h"
#include "platform/framework/graphics/canvas.h"

namespace {
const wchar_t kHeaderClass[] = L"SysHeader32";
constexpr int kDividerSlack = 3;

struct HeaderState {
    TCustomListView* list = nullptr;
    WNDPROC instance = nullptr;
    int pressed = -1;  // section held down
    int sizing = -1;   // column whose divider is dragged
    int sizeStartX = 0;
    int sizeStartWidth = 0;
};

std::map<HWND, HeaderState*>& States()
{
    static std::map<HWND, HeaderState*> m;
    return m;
}

thread_local HeaderState* gCreating = nullptr;

RECT SectionRect(HeaderState& st, HWND h, int i)
{
    RECT cr;
    GetClientRect(h, &cr);
    int x = -st.list->HeaderScrollX();
    for (int k = 0; k < i; ++k) x += st.list->Columns()->Items(k)->Width();
    return RECT{x, 0, x + st.list->Columns()->Items(i)->Width(), cr.bottom};
}

// The section at x, and whether x lies on its right divider.
int HitTest(HeaderState& st, HWND h, int x, bool& divider)
{
    divider = false;
    int n = st.list->Columns()->Count();
    for (int i = n - 1; i >= 0; --i) {
        RECT r = SectionRect(st, h, i);
        if (x >= r.right - kDividerSlack && x < r.right + kDividerSlack && r.right > r.left) {
            divider = true;
            return i;
        }
    }
    for (int i = 0; i < n; ++i) {
        RECT r = SectionRect(st, h, i);
        if (x >= r.left && x < r.right) return i;
    }
    return -1;
}

void Paint(HeaderState& st, HWND h, HDC dc)
{
    RECT cr;
    GetClientRect(h, &cr);
    TCanvas c;
    c.SetHandle(dc);
    c.Brush()->SetColor(clBtnFace);
    c.FillRect(Rect(cr.left, cr.top, cr.right, cr.bottom));
    c.Font()->Assign(st.list->Font());
    static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    int right = 0;
    for (int i = 0; i < st.list->Columns()->Count(); ++i) {
        TListColumn* col = st.list->Columns()->Items(i);
        RECT r = SectionRect(st, h, i);
        right = std::max<int>(right, r.right);
        if (r.right <= r.left) continue;
        TRect tr = Rect(r.left, r.top, r.right, r.bottom);
        DrawButtonEdge(&c, tr, i == st.pressed);
        DrawTextIn(&c, col->Caption(), Rect(tr.Left + 4, tr.Top, tr.Right - 2, tr.Bottom),
                   kAlign[col->Alignment()] | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    }
    if (right < cr.right) {
        TRect rest = Rect(right, 0, cr.right, cr.bottom);
        DrawButtonEdge(&c, rest, false);
    }
    c.SetHandle(nullptr);
}

LRESULT HeaderProc(HeaderState& st, HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(h, &ps);
        Paint(st, h, dc);
        if (!wp) EndPaint(h, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return 1;
    case WM_SETCURSOR: {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(h, &p);
        bool divider = false;
        HitTest(st, h, p.x, divider);
        if (divider || st.sizing >= 0) {
            SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
            return 1;
        }
        break;
    }
    case WM_LBUTTONDOWN: {
        bool divider = false;
        int i = HitTest(st, h, GET_X_LPARAM(lp), divider);
        SetCapture(h);
        if (divider) {
            st.sizing = i;
            st.sizeStartX = GET_X_LPARAM(lp);
            st.sizeStartWidth = st.list->Columns()->Items(i)->Width();
        } else {
            st.pressed = i;
        }
        InvalidateRect(h, nullptr, FALSE);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (st.sizing >= 0) {
            int w = std::max(0, st.sizeStartWidth + GET_X_LPARAM(lp) - st.sizeStartX);
            st.list->Columns()->Items(st.sizing)->SetWidth(w);
            InvalidateRect(h, nullptr, FALSE);
        }
        return 0;
    case WM_LBUTTONUP: {
        int pressed = st.pressed;
        bool wasSizing = st.sizing >= 0;
        st.pressed = -1;
        st.sizing = -1;
        if (GetCapture() == h) ReleaseCapture();
        InvalidateRect(h, nullptr, FALSE);
        bool divider = false;
        if (!wasSizing && pressed >= 0 && HitTest(st, h, GET_X_LPARAM(lp), divider) == pressed &&
            GET_Y_LPARAM(lp) >= 0 && GET_Y_LPARAM(lp) < st.list->HeaderHeight())
            st.list->ColumnClick(pressed);
        return 0;
    }
    case WM_CAPTURECHANGED:
        st.pressed = -1;
        st.sizing = -1;
        return 0;
    case HDM_GETITEMCOUNT: return st.list->Columns()->Count();
    case HDM_GETITEMRECT: {
        int i = static_cast<int>(wp);
        if (i < 0 || i >= st.list->Columns()->Count() || !lp) return FALSE;
        *reinterpret_cast<RECT*>(lp) = SectionRect(st, h, i);
        return TRUE;
    }
    case HDM_HITTEST: {
        auto* info = reinterpret_cast<HDHITTESTINFO*>(lp);
        if (!info) return -1;
        bool divider = false;
        info->iItem = HitTest(st, h, info->pt.x, divider);
        info->flags = info->iItem < 0 ? HHT_NOWHERE : divider ? HHT_ONDIVIDER : HHT_ONHEADER;
        return info->iItem;
    }
    case HDM_GETORDERARRAY: {
        auto* order = reinterpret_cast<int*>(lp);
        int n = std::min(static_cast<int>(wp), st.list->Columns()->Count());
        for (int i = 0; order && i < n; ++i) order[i] = i;
        return order ? TRUE : FALSE;
    }
    default: break;
    }
    return DefWindowProcW(h, msg, wp, lp);
}

// The class procedure binds each new header to its state at the first message.
LRESULT InitHeaderProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
{
    HeaderState* st = gCreating;
    if (!st) return DefWindowProcW(h, msg, wp, lp);
    gCreating = nullptr;
    States()[h] = st;
    SetWindowLongPtrW(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(st->instance));
    return CallWindowProcW(st->instance, h, msg, wp, lp);
}
}  // namespace

HWND CreateListViewHeader(TCustomListView* ListView, HWND Parent, int Width, int Height)
{
    WNDCLASSW wc;
    if (!GetClassInfoW(nullptr, kHeaderClass, &wc)) {
        WNDCLASSW n;
        n.style = CS_DBLCLKS;
        n.lpfnWndProc = InitHeaderProc;
        n.lpszClassName = kHeaderClass;
        RegisterClassW(&n);
    }
    auto* st = new HeaderState;
    st->list = ListView;
    st->instance =
        MakeObjectInstance([st](HWND h, UINT msg, WPARAM wp, LPARAM lp) { return HeaderProc(*st, h, msg, wp, lp); });
    gCreating = st;
    HWND h = CreateWindowExW(0, kHeaderClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, Width, Height, Parent, nullptr, nullptr,
                             nullptr);
    gCreating = nullptr;
    if (!h || States().find(h) == States().end()) {
        if (h) DestroyWindow(h);
        FreeObjectInstance(st->instance);
        delete st;
        return nullptr;
    }
    return h;
}

void DestroyListViewHeader(HWND Header)
{
    auto it = States().find(Header);
    if (it == States().end()) return;
    HeaderState* st = it->second;
    States().erase(it);
    if (IsWindow(Header)) DestroyWindow(Header);
    FreeObjectInstance(st->instance);
    delete st;
}
