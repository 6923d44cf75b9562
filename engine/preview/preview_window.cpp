// The live preview window of a converting task (TPreviewer).
#include "engine/preview/preview_window.h"

#include <atomic>
#include <functional>

#include "platform/base/main_thread.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/win_api.h"

struct TPreviewState {
    HWND FFormHandle = nullptr;
    std::atomic<bool> FClosed{false};
    bool FFreed = false;              // the previewer is gone: no window is made any more
    TBitmap* FBitmap = nullptr;       // the caller's picture, valid during the hand-over only
    std::unique_ptr<TBitmap> FShown;  // a copy of what is shown, for repainting
    std::atomic<int> FFrameNumber{0};
    std::atomic<int64_t> FPTS{0};
    String FCaption;  // the title of the picture being handed over
};

const wchar_t* const PreviewWindowClassName = L"TPreviewForm";

namespace {

// The main thread runs AMethod: at once there, else while the caller waits.
void RunInMainThread(const std::function<void()>& AMethod)
{
    if (IsMainThread())
        AMethod();
    else
        RunInMainThreadSync(AMethod);
}

constexpr DWORD PreviewStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD PreviewExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

TPreviewState* StateOf(HWND AWnd) { return reinterpret_cast<TPreviewState*>(GetWindowLongPtrW(AWnd, GWL_USERDATA)); }

void DrawShown(TPreviewState& AState, HDC ADC)
{
    if (!AState.FShown || AState.FShown->Empty()) return;
    BitBlt(ADC, 0, 0, AState.FShown->Width(), AState.FShown->Height(), AState.FShown->Canvas()->Handle(), 0, 0,
           SRCCOPY);
}

LRESULT PreviewWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam)
{
    TPreviewState* state = StateOf(AWnd);
    switch (AMsg) {
    case WM_LBUTTONDOWN: {
        // The whole picture is a handle for moving the window.
        POINT p{GET_X_LPARAM(ALParam), GET_Y_LPARAM(ALParam)};
        ClientToScreen(AWnd, &p);
        SendMessageW(AWnd, WM_NCLBUTTONDOWN, WPARAM(HTCAPTION), MAKELPARAM(p.x, p.y));
        return 0;
    }
    case WM_CLOSE:
        // Closing only ends the previews of this task; the window goes with its previewer.
        if (state) state->FClosed = true;
        ShowWindow(AWnd, SW_HIDE);
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(AWnd, &ps);
        if (state) DrawShown(*state, dc);
        EndPaint(AWnd, &ps);
        return 0;
    }
    default: return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
    }
}

void RegisterPreviewClass()
{
    WNDCLASSW existing;
    if (GetClassInfoW(nullptr, PreviewWindowClassName, &existing)) return;
    WNDCLASSW wc;
    wc.lpfnWndProc = PreviewWindowProc;
    wc.lpszClassName = PreviewWindowClassName;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&wc);
}

void CreatePreviewForm(TPreviewState& AState, int AWidth, int AHeight)
{
    RegisterPreviewClass();
    RECT r{0, 0, AWidth, AHeight};
    AdjustWindowRectEx(&r, PreviewStyle, FALSE, PreviewExStyle);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND wnd = CreateWindowExW(PreviewExStyle, PreviewWindowClassName, L"", PreviewStyle, x, y, width, height, nullptr,
                               nullptr, nullptr, nullptr);
    if (!wnd) return;
    SetWindowLongPtrW(wnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&AState));
    AState.FFormHandle = wnd;
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

// On the main thread: the window on the first picture, then the picture and its time.
void PaintInMainThread(TPreviewState& AState)
{
    if (AState.FClosed || AState.FFreed || !AState.FBitmap || AState.FBitmap->Empty()) return;
    if (!AState.FFormHandle) CreatePreviewForm(AState, AState.FBitmap->Width(), AState.FBitmap->Height());
    if (!AState.FFormHandle) return;
    SetWindowTextW(AState.FFormHandle, AState.FCaption.c_str());
    if (!AState.FShown) AState.FShown = std::make_unique<TBitmap>();
    AState.FShown->Assign(AState.FBitmap);
    HDC dc = GetDC(AState.FFormHandle);
    DrawShown(AState, dc);
    ReleaseDC(AState.FFormHandle, dc);
    ValidateRect(AState.FFormHandle, nullptr);
}

void FreePreviewForm(TPreviewState& AState)
{
    AState.FFreed = true;
    if (AState.FFormHandle) {
        SetWindowLongPtrW(AState.FFormHandle, GWL_USERDATA, 0);
        DestroyWindow(AState.FFormHandle);
        AState.FFormHandle = nullptr;
    }
    AState.FShown.reset();
}

}  // namespace

TPreviewer::TPreviewer() : FState(std::make_shared<TPreviewState>()) {}

TPreviewer::~TPreviewer()
{
    std::shared_ptr<TPreviewState> state = FState;
    try {
        RunInMainThread([state] { FreePreviewForm(*state); });
    } catch (...) {}
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, int AFrameNumber, int64_t APTS, const String& ACaption)
{
    return PaintFrame(FState, ABitmap, AFrameNumber, APTS, ACaption);
}

bool TPreviewer::PaintFrame(const std::shared_ptr<TPreviewState>& AState, TBitmap* ABitmap, int AFrameNumber,
                            int64_t APTS, const String& ACaption)
{
    if (!AState || AState->FClosed) return false;
    std::shared_ptr<TPreviewState> state = AState;
    state->FFrameNumber = AFrameNumber;
    state->FPTS = APTS;
    try {
        RunInMainThread([state, ABitmap, &ACaption] {
            state->FBitmap = ABitmap;
            state->FCaption = ACaption;
            try {
                PaintInMainThread(*state);
            } catch (...) {
                state->FBitmap = nullptr;
                throw;
            }
            state->FBitmap = nullptr;
        });
    } catch (...) {
        // A window that cannot be painted shows nothing more; the conversion goes on.
        state->FClosed = true;
    }
    return !state->FClosed;
}

HWND TPreviewer::FormHandle() const { return FState->FFormHandle; }

bool TPreviewer::Closed() const { return FState->FClosed; }

int TPreviewer::FrameNumber() const { return FState->FFrameNumber; }

int64_t TPreviewer::PTS() const { return FState->FPTS; }
