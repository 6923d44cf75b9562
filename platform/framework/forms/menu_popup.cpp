#include "platform/framework/forms/menu_popup.h"

#include <algorithm>
#include <vector>

#include "platform/base/main_thread.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/menus.h"

namespace {
const wchar_t kPopupClass[] = L"VxPlainPopupMenu";
constexpr int kItemHeight = 20;
constexpr int kLineHeight = 8;
constexpr int kMargin = 2;     // frame and padding above the first item
constexpr int kTextLeft = 22;  // room for the check mark
constexpr int kSubArrow = 16;

struct PopupState {
    std::vector<TMenuItem*> items;
    std::vector<RECT> rects;
    int selected = -1;
    int width = 0;
    int height = 0;
};

int TextWidth(HDC dc, const String& s)
{
    SIZE sz;
    GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &sz);
    return sz.cx;
}

void Layout(PopupState& st, TMenuItem* parent)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int y = kMargin, textW = 60, scW = 0;
    // Automatic line reduction: no separator first, last or after another one.
    parent->RethinkLines();
    std::vector<TMenuItem*> shown;
    for (int i = 0; i < parent->Count(); ++i)
        if (parent->Items(i)->Visible()) shown.push_back(parent->Items(i));
    for (TMenuItem* it : shown) {
        int h = it->IsLine() ? kLineHeight : kItemHeight;
        st.items.push_back(it);
        st.rects.push_back(RECT{kMargin, y, 0, y + h});
        y += h;
        if (!it->IsLine()) {
            textW = std::max(textW, TextWidth(dc, StripHotkey(it->Caption())));
            if (it->ShortCut()) scW = std::max(scW, TextWidth(dc, ShortCutToText(it->ShortCut())) + 16);
        }
    }
    DeleteDC(dc);
    st.width = kMargin * 2 + kTextLeft + textW + scW + kSubArrow;
    st.height = y + kMargin;
    for (RECT& r : st.rects) r.right = st.width - kMargin;
}

int ItemAt(const PopupState& st, int x, int y)
{
    for (size_t i = 0; i < st.rects.size(); ++i) {
        const RECT& r = st.rects[i];
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return static_cast<int>(i);
    }
    return -1;
}

bool Selectable(TMenuItem* it) { return !it->IsLine() && it->Enabled(); }

void Paint(HWND h, PopupState& st)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT all{0, 0, st.width, st.height};
    FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
    FrameRect(dc, &all, GetSysColorBrush(COLOR_BTNSHADOW));
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (size_t i = 0; i < st.items.size(); ++i) {
        TMenuItem* it = st.items[i];
        RECT r = st.rects[i];
        if (it->IsLine()) {
            RECT line{r.left + 2, (r.top + r.bottom) / 2, r.right - 2, (r.top + r.bottom) / 2 + 1};
            FillRect(dc, &line, GetSysColorBrush(COLOR_BTNSHADOW));
            continue;
        }
        bool sel = static_cast<int>(i) == st.selected;
        if (sel) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        COLORREF text = !it->Enabled() ? GetSysColor(COLOR_GRAYTEXT)
                        : sel          ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                       : GetSysColor(COLOR_MENUTEXT);
        SetTextColor(dc, text);
        if (it->Checked()) {
            // A dot for radio items, a tick for check items.
            int cx = r.left + 10, cy = (r.top + r.bottom) / 2;
            HBRUSH b = CreateSolidBrush(text);
            if (it->RadioItem()) {
                RECT d{cx - 3, cy - 3, cx + 3, cy + 3};
                FillRect(dc, &d, b);
            } else {
                for (int k = 0; k < 3; ++k) {
                    RECT a{cx - 4 + k, cy + k - 1, cx - 3 + k, cy + k + 1};
                    FillRect(dc, &a, b);
                }
                for (int k = 0; k < 5; ++k) {
                    RECT a{cx - 1 + k, cy + 1 - k, cx + k, cy + 3 - k};
                    FillRect(dc, &a, b);
                }
            }
            DeleteObject(b);
        }
        RECT tr{r.left + kTextLeft, r.top, r.right - kSubArrow, r.bottom};
        String cap = it->Caption();
        DrawTextW(dc, cap.c_str(), static_cast<int>(cap.size()), &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        if (it->ShortCut()) {
            String sc = ShortCutToText(it->ShortCut());
            DrawTextW(dc, sc.c_str(), static_cast<int>(sc.size()), &tr,
                      DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        if (it->Count() > 0) {
            RECT ar{r.right - kSubArrow, r.top, r.right, r.bottom};
            DrawTextW(dc, L"\u25B8", 1, &ar, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    EndPaint(h, &ps);
}

void RegisterPopupClass()
{
    WNDCLASSW wc;
    if (GetClassInfoW(nullptr, kPopupClass, &wc)) return;
    WNDCLASSW n;
    n.style = CS_SAVEBITS;
    n.lpfnWndProc = DefWindowProcW;
    n.lpszClassName = kPopupClass;
    RegisterClassW(&n);
}

int NextSelectable(const PopupState& st, int from, int step)
{
    int n = static_cast<int>(st.items.size());
    for (int k = 1; k <= n; ++k) {
        int i = ((from + step * k) % n + n) % n;
        if (Selectable(st.items[static_cast<size_t>(i)])) return i;
    }
    return -1;
}
}  // namespace

TMenuItem* TrackPlainPopup(TMenuItem* Parent, int X, int Y)
{
    if (!Parent) return nullptr;
    PopupState st;
    Layout(st, Parent);
    if (st.items.empty()) return nullptr;
    RegisterPopupClass();
    // Keep the menu on the screen.
    int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    if (X + st.width > sw) X = std::max(0, sw - st.width);
    if (Y + st.height > sh) Y = std::max(0, sh - st.height);
    HWND h = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kPopupClass, L"", WS_POPUP, X, Y,
                             st.width, st.height, nullptr, nullptr, nullptr, nullptr);
    if (!h) return nullptr;
    WNDPROC inst = MakeObjectInstance([&st](HWND w, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_PAINT) {
            Paint(w, st);
            return 0;
        }
        if (msg == WM_ERASEBKGND) return 1;
        return DefWindowProcW(w, msg, wp, lp);
    });
    SetWindowLongPtrW(h, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(inst));
    ShowWindow(h, SW_SHOWNA);
    SetCapture(h);

    TMenuItem* chosen = nullptr;
    bool done = false;
    auto select = [&](int i) {
        if (i == st.selected) return;
        st.selected = i;
        InvalidateRect(h, nullptr, FALSE);
    };
    auto choose = [&](int i) {
        if (i < 0) return;
        TMenuItem* it = st.items[static_cast<size_t>(i)];
        if (!Selectable(it)) return;
        if (it->Count() > 0) {
            RECT r = st.rects[static_cast<size_t>(i)];
            ReleaseCapture();
            chosen = TrackPlainPopup(it, X + st.width - 2, Y + r.top);
            done = true;
            return;
        }
        chosen = it;
        done = true;
    };
    while (!done) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CheckSynchronize(0)) WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
            POINT p{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
            if (msg.hwnd != h) {
                ClientToScreen(msg.hwnd, &p);
                ScreenToClient(h, &p);
            }
            bool inside = p.x >= 0 && p.y >= 0 && p.x < st.width && p.y < st.height;
            int i = inside ? ItemAt(st, p.x, p.y) : -1;
            switch (msg.message) {
            case WM_MOUSEMOVE: select(i >= 0 && Selectable(st.items[static_cast<size_t>(i)]) ? i : -1); break;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
                if (!inside) done = true;  // a press elsewhere dismisses the menu
                break;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
                if (inside) choose(i);
                break;
            default: break;
            }
            continue;
        }
        if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
            switch (msg.wParam) {
            case VK_ESCAPE: done = true; break;
            case VK_DOWN: select(NextSelectable(st, st.selected < 0 ? -1 : st.selected, 1)); break;
            case VK_UP: select(NextSelectable(st, st.selected < 0 ? 0 : st.selected, -1)); break;
            case VK_RETURN:
            case VK_RIGHT: choose(st.selected); break;
            case VK_LEFT:
                if (Parent->Parent() && Parent->Parent()->Parent()) done = true;
                break;
            default:
                for (size_t k = 0; k < st.items.size(); ++k)
                    if (Selectable(st.items[k]) && IsAccel(static_cast<WORD>(msg.wParam), st.items[k]->Caption())) {
                        choose(static_cast<int>(k));
                        break;
                    }
            }
            continue;
        }
        if (msg.message == WM_CHAR || msg.message == WM_KEYUP || msg.message == WM_SYSCHAR ||
            msg.message == WM_SYSKEYUP)
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        if (GetCapture() != h && !done) SetCapture(h);
    }
    if (GetCapture() == h) ReleaseCapture();
    DestroyWindow(h);
    FreeObjectInstance(inst);
    return chosen;
}
