// The open dialog as real X11 windows under Xvfb, driven with xdotool: a double click opens a
// folder, a Chinese name is typed into the name edit, Enter takes the file; a screenshot of the
// dialog is saved beside the test. Skipped with a message where Xvfb or xdotool is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <thread>

#include "platform/framework/graphics/bitmap.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/skin_edit.h"
#include "skin/dialogs/open_dialog.h"
#include "tests/skin/dialogs/file_dialog_fixture.h"
#include "tests/support/x11_skip.h"
#include "tests/support/xvfb.h"

namespace {

using OpenDialogX11 = FileDialogTest;

// Runs the loop for a while, so the server's events arrive and are handled.
void PumpFor(int Ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (std::chrono::steady_clock::now() < end) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The form's window as shown, saved as a bitmap file.
void SaveWindowShot(TCustomForm* F, const std::string& File)
{
    int w = 0, h = 0;
    const std::vector<uint32_t> px = vxwin::WindowPixels(F->Handle(), &w, &h);
    ASSERT_GT(w, 0);
    TBitmap b;
    b.SetPixelFormat(pf32bit);
    b.SetSize(w, h);
    for (int y = 0; y < h; ++y)
        std::memcpy(b.ScanLine(y), px.data() + static_cast<size_t>(y) * w, static_cast<size_t>(w) * 4);
    b.SaveToFile(Utf8ToString(File));
}

}  // namespace

TEST_F(OpenDialogX11, DoubleClickAFolderTypeAChineseNameAndPressEnter)
{
    const std::string xdotool = FindTool("xdotool");
    if (FindTool("Xvfb").empty() || xdotool.empty()) X11_TEST_UNAVAILABLE() << "Xvfb or xdotool is not installed";
    XvfbServer server;
    if (server.Display().empty()) X11_TEST_UNAVAILABLE() << "Xvfb could not be started";
    ASSERT_TRUE(vxwin::UseX11Backend(server.Display()));
    struct Back {
        ~Back() { vxwin::UseHeadlessBackend(); }
    } back;
    auto tool = [&](std::vector<std::string> Args) {
        Args.insert(Args.begin(), xdotool);
        EXPECT_EQ(RunTool(Args, server.Display()), 0);
        PumpFor(400);
    };
    auto at = [](TControl* C, int X, int Y) {
        const TPoint p = C->ClientToScreen(Point(X, Y));
        return std::vector<std::string>{"mousemove", std::to_string(p.X), std::to_string(p.Y)};
    };

    Make("视频 素材/子目录");
    Touch("视频 素材/子目录/剪辑 一.mkv");
    auto* dialog = new TbsSkinOpenDialog(Application);
    dialog->SetInitialDir(Path("视频 素材"));
    const std::string shot = (std::filesystem::current_path() / "open_dialog_x11.bmp").string();
    std::filesystem::remove(shot);

    ModalScript script({[&](TCustomForm* F) {
                            auto* f = static_cast<TbsOpenDlgForm*>(F);
                            PumpFor(500);
                            const TRect r =
                                f->FileListView->Items()->Item(RowOf(f->FileListView, L"子目录"))->DisplayRect(drLabel);
                            auto move = at(f->FileListView, r.Left + 4, (r.Top + r.Bottom) / 2);
                            move.insert(move.end(), {"click", "--repeat", "2", "--delay", "60", "1"});
                            tool(move);
                            EXPECT_EQ(f->FileListView->Path(), Path("视频 素材/子目录"));
                        },
                        [&](TCustomForm* F) {
                            auto* f = static_cast<TbsOpenDlgForm*>(F);
                            auto move = at(f->FileNameEdit, 10, f->FileNameEdit->Height() / 2);
                            move.insert(move.end(), {"click", "1"});
                            tool(move);
                            // Opening the folder put its first file's name in the edit: typing
                            // replaces it.
                            tool({"key", "End", "shift+Home"});
                            tool({"type", "--delay", "40", "剪辑 一.mkv"});
                            EXPECT_EQ(f->FileNameEdit->Text(), L"剪辑 一.mkv");
                            SaveWindowShot(F, shot);
                            tool({"key", "Return"});
                        }});
    EXPECT_TRUE(dialog->Execute());
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(dialog->FileName(), Path("视频 素材/子目录/剪辑 一.mkv"));
    EXPECT_TRUE(std::filesystem::exists(shot)) << "the screenshot " << shot;
}
