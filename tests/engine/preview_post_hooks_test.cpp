// Pictures after encoding handed to the preview: the cadence by the clock, the bitmap event
// before the window, and the live preview window of the window layer (headless): made on the
// first picture with that picture's size, titled with its time and showing its pixels, moved by
// a drag anywhere inside, and closed by the user without stopping the conversion.
#include <atomic>

#include "engine/media_utils.h"
#include "platform/base/main_thread.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "tests/engine/picture_test_support.h"
#include "tests/engine/preview_test_support.h"
#include "tests/engine/transcode_test_support.h"

namespace {

using engine_test::Near;
using engine_test::PaintYuv;
using engine_test::PreviewWindows;

// A clock that moves 40 ms on at every reading, as if pictures reached the encoder 40 ms apart.
int64_t FakeNow = 0;
int64_t FakeClock()
{
    int64_t now = FakeNow;
    FakeNow += 40000;
    return now;
}

class PreviewPostHooks : public engine_test::TranscodeFixture {
protected:
    void SetUp() override
    {
        engine_test::TranscodeFixture::SetUp();
        vxwin::UseHeadlessBackend();
    }
    // 176x144 of plain red, ten pictures.
    std::string Red()
    {
        std::string path = Dir.file("red.mkv");
        EXPECT_EQ(engine_test::WritePaintedVideo(
                      path, 176, 144, 10, [](AVFrame* f, int) { PaintYuv(f, 0, 0, 176, 144, engine_test::YuvRed); }),
                  "");
        return path;
    }
    TPreviewer* Previewer() const { return static_cast<TPreviewer*>(Task->FPostContext.Previewer); }
    // Runs something at each decoded picture (before it is encoded) without changing it.
    void AtEachPicture(std::function<void(int)> AAction)
    {
        Task->FOnCustomHook = [AAction](TObject*, TBitmap*, int AFrameNumber, int64_t, bool& AUpdate, bool&) {
            AUpdate = false;
            AAction(AFrameNumber);
        };
    }
};

// At most one picture per interval of clock time, measured from the last one delivered.
TEST_F(PreviewPostHooks, CadenceByTheClock)
{
    Prepare(Clip(), Dir.file("out.avi"), {{"vcodec", "mpeg4"}});
    FakeNow = 10000000;
    Task->FPostContext.Clock = FakeClock;
    Task->PreviewInterval = 100000;
    Task->SetPostHooks(PostHookSet(phBitmap));
    std::vector<int> numbers;
    std::vector<int64_t> times;
    Task->FOnPreviewBitmap = [&](TObject* Sender, TBitmap* ABitmap, int AFrameNumber, int64_t APTS) {
        EXPECT_EQ(Sender, Task.get());
        EXPECT_EQ(ABitmap->Width(), 176);
        EXPECT_EQ(ABitmap->Height(), 144);
        numbers.push_back(AFrameNumber);
        times.push_back(APTS);
    };
    ASSERT_EQ(Run(), "");
    EXPECT_EQ(numbers, (std::vector<int>{1, 4, 7, 10, 13, 16, 19, 22, 25}));
    ASSERT_EQ(times.size(), numbers.size());
    for (size_t i = 0; i < times.size(); ++i) EXPECT_EQ(times[i], int64_t(numbers[i] - 1) * 40000);
}

// The bitmap event, when assigned, takes the pictures: no window is made meanwhile. Without
// it the same set of hooks shows the window.
TEST_F(PreviewPostHooks, BitmapEventBeforeTheWindow)
{
    Prepare(Clip(), Dir.file("out.avi"), {{"vcodec", "mpeg4"}});
    Task->PreviewInterval = 0;
    Task->SetPostHooks(PostHookSet(phBitmap) | PostHookSet(phPreview));
    int events = 0;
    Task->FOnPreviewBitmap = [&](TObject*, TBitmap*, int, int64_t) {
        ++events;
        EXPECT_EQ(Previewer(), nullptr);
    };
    ASSERT_EQ(Run(), "");
    EXPECT_GT(events, 0);
    EXPECT_TRUE(PreviewWindows().empty());

    Task->ResetConverter();
    Prepare(Clip("in2.mkv"), Dir.file("out2.avi"), {{"vcodec", "mpeg4"}});
    Task->FOnPreviewBitmap = nullptr;
    Task->SetPostHooks(PostHookSet(phBitmap) | PostHookSet(phPreview));
    bool shown = false;
    AtEachPicture([&](int AFrameNumber) {
        if (AFrameNumber == 5) shown = Previewer() && IsWindowVisible(Previewer()->FormHandle());
    });
    ASSERT_EQ(Run(), "");
    EXPECT_TRUE(shown);
    // The clean-up of the task frees the window.
    EXPECT_TRUE(PreviewWindows().empty());
}

// The window: made on the first picture with its size, stay-on-top tool window, the picture's
// time as title and its pixels inside; a drag anywhere inside moves it.
TEST_F(PreviewPostHooks, WindowShowsThePicture)
{
    Prepare(Red(), Dir.file("out.avi"), {{"vcodec", "mpeg4"}, {"qscale", "2"}});
    Task->PreviewInterval = 0;
    Task->SetPostHooks(PostHookSet(phPreview));
    HWND window = nullptr;
    AtEachPicture([&](int AFrameNumber) {
        if (AFrameNumber == 1) {
            EXPECT_EQ(Previewer(), nullptr);
            return;
        }
        if (AFrameNumber != 4) return;
        ASSERT_NE(Previewer(), nullptr);
        window = Previewer()->FormHandle();
        ASSERT_TRUE(IsWindow(window));
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & LONG(WS_EX_TOPMOST), 0);
        EXPECT_NE(GetWindowLongW(window, GWL_EXSTYLE) & LONG(WS_EX_TOOLWINDOW), 0);
        RECT client;
        GetClientRect(window, &client);
        EXPECT_EQ(client.right, 176);
        EXPECT_EQ(client.bottom, 144);
        // The third picture was shown last (40 ms per picture).
        wchar_t title[64] = {};
        GetWindowTextW(window, title, 64);
        EXPECT_EQ(String(title), L"00:00:00.080");
        EXPECT_EQ(Previewer()->FrameNumber(), 3);
        // Its pixels, at the client area's place in the window.
        RECT frame;
        GetWindowRect(window, &frame);
        POINT origin{0, 0};
        ClientToScreen(window, &origin);
        int w = 0, h = 0;
        std::vector<uint32_t> pixels = vxwin::WindowPixels(window, &w, &h);
        ASSERT_EQ(size_t(w) * h, pixels.size());
        for (auto [x, y] : {std::pair{4, 4}, {170, 138}, {88, 72}}) {
            uint32_t pixel = pixels[size_t(origin.y - frame.top + y) * w + (origin.x - frame.left + x)];
            EXPECT_TRUE(Near(pixel & 0xFFFFFF, 0xFF0000)) << x << "," << y << std::hex << " " << pixel;
        }
        // A drag from inside the picture moves the window.
        vxwin::InjectMouseButton(0, true, origin.x + 50, origin.y + 50);
        vxwin::InjectMouseMove(origin.x + 70, origin.y + 60);
        vxwin::InjectMouseMove(origin.x + 80, origin.y + 75);
        vxwin::InjectMouseButton(0, false, origin.x + 80, origin.y + 75);
        vxwin::PumpMessages();
        RECT moved;
        GetWindowRect(window, &moved);
        EXPECT_EQ(moved.left - frame.left, 30);
        EXPECT_EQ(moved.top - frame.top, 25);
    });
    ASSERT_EQ(Run(), "");
    EXPECT_NE(window, nullptr);
    EXPECT_FALSE(IsWindow(window));
}

// Closing the window ends the previews of the task only: the conversion goes on, the hook
// leaves the set and the window is freed; setting the hook again opens a new window.
TEST_F(PreviewPostHooks, ClosingTheWindowKeepsConverting)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip(), out, {{"vcodec", "mpeg4"}});
    Task->PreviewInterval = 0;
    Task->SetPostHooks(PostHookSet(phPreview));
    HWND first = nullptr, second = nullptr;
    bool hookGone = false;
    AtEachPicture([&](int AFrameNumber) {
        if (AFrameNumber == 5) {
            ASSERT_NE(Previewer(), nullptr);
            first = Previewer()->FormHandle();
            SendMessageW(first, WM_CLOSE, 0, 0);
            EXPECT_TRUE(IsWindow(first));
            EXPECT_FALSE(IsWindowVisible(first));
            EXPECT_TRUE(Previewer()->Closed());
        } else if (AFrameNumber == 8) {
            hookGone = !PostHookIn(phPreview, Task->FPostHooks) && !Previewer() && !IsWindow(first);
            Task->SetPostHooksLocked(PostHookSet(phPreview));
        } else if (AFrameNumber == 12 && Previewer()) {
            second = Previewer()->FormHandle();
        }
    });
    ASSERT_EQ(Run(), "");
    EXPECT_TRUE(hookGone);
    EXPECT_NE(second, nullptr);
    EXPECT_NE(second, first);
    EXPECT_EQ(Facts(out).VideoPackets, 25);
}

// From a converting thread: the window is made and painted on the main thread while the
// conversion waits, and freed there when the task is cleaned up.
TEST_F(PreviewPostHooks, ConvertingThreadHandsPicturesToTheMainThread)
{
    std::string out = Dir.file("out.avi");
    Prepare(Clip("in.mkv", 176, 144, 48000, 50), out, {{"vcodec", "mpeg4"}});
    Task->PreviewInterval = 0;
    Task->SetPostHooks(PostHookSet(phPreview));
    bool seen = false;
    std::atomic<int> ended{0};
    Task->FOnTerminate = [&](TObject*) { ++ended; };
    TThread* thread = Task->StartConvert(true, tpNormal);
    ASSERT_NE(thread, nullptr);
    thread->Start();
    ASSERT_TRUE(WaitServingMainThread(
        [&] {
            for (HWND window : PreviewWindows()) seen = seen || IsWindowVisible(window);
            return ended.load() > 0;
        },
        5, 60000));
    Task->Stop(true);
    EXPECT_FALSE(Task->FFatalException) << StringToUtf8(Task->FFatalMessage);
    EXPECT_TRUE(seen);
    EXPECT_TRUE(PreviewWindows().empty());
    EXPECT_EQ(Facts(out).VideoPackets, 50);
}

}  // namespace
