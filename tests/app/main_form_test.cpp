// The main window as the program opens it: its size, its regions and controls, the start-up
// steps' results, and a headless paint of the whole window.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/framework/controls/button.h"
#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/office_items.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_panel.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/form/frame_objects.h"
#include "skin/form/skin_form.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/user_input.h"

namespace {

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, OpensWithItsRegionsAndPaints)
{
    Start();
    EXPECT_EQ(Main->ClientWidth(), 827);
    EXPECT_EQ(Main->ClientHeight(), 489);
    EXPECT_EQ(Main->Caption(), L"VexmoraMKV格式转换器");
    EXPECT_EQ(Main->lvFiles->Columns()->Count(), 25);
    EXPECT_EQ(Main->lvFiles->Column(0)->Caption(), L"输入文件");
    EXPECT_EQ(Main->lvFiles->Column(8)->Width(), 0);

    // Start-up: the first category and its first preset, the six lists of key 1600, the screen
    // list with Panel6 chosen, all slots free.
    EXPECT_EQ(Main->bsSkinOfficeComboBox2->ItemIndex(), 0);
    EXPECT_EQ(Main->bsSkinOfficeComboBox2->Items()->Items(0)->Caption(), L"MKV格式");
    EXPECT_EQ(Main->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_GT(Main->bsSkinComboBox1->Items()->Count(), 0);
    EXPECT_EQ(Main->cboScreens->Text(), L"Panel6");
    EXPECT_EQ(Main->OO1[0].AudioLanguage, L"kong");
    EXPECT_EQ(Main->OO1[500].AudioLanguage, L"kong");
    EXPECT_EQ(Main->bsSkinSlider1_down_UP, L"UP");

    // Only adding is possible on an empty list.
    EXPECT_TRUE(Main->btnAdd->Enabled());
    for (TbsSkinButton* b : {Main->bsSkinButton7, Main->bsSkinButton8, Main->bsSkinButton2, Main->bsSkinButton10,
                             Main->bsSkinButton11, Main->bsSkinButton21})
        EXPECT_FALSE(b->Enabled()) << StringToUtf8(b->Name());

    Main->Show();
    Pump();
    int w = 0, h = 0;
    const std::vector<uint32_t> pixels = vxwin::WindowPixels(Main->Handle(), &w, &h);
    ASSERT_GE(w, 827);
    ASSERT_GE(h, 489);
    // A skinned window: frame, panels, list and buttons give many colours, not one flat fill.
    std::set<uint32_t> colours(pixels.begin(), pixels.end());
    EXPECT_GT(colours.size(), 20u);
}

TEST_F(MainWindow, OpenFilterHasItsFortyTwoEntries)
{
    Start();
    const String filter = Main->OpenDialog1->Filter();
    EXPECT_EQ(filter, Main->OpenDialog2->Filter());
    EXPECT_EQ(std::count(filter.begin(), filter.end(), L'|'), 84);
    EXPECT_TRUE(filter.starts_with(L"所有文件格式 (*.*)|*.*|"));
    EXPECT_TRUE(filter.ends_with(L"|AIFF音频编码格式(*.aif; *.aiff)|*.aif; *.aiff|"));
    EXPECT_EQ(Main->OpenDialog1->FilterIndex(), 1);
}

// The empty-list panel covers only the rows: the job list's column header, with its captions, is
// what the window shows above it.
TEST_F(MainWindow, JobListHeaderStaysVisibleAboveTheEmptyListPanel)
{
    Start();
    Main->Show();
    Pump();
    HWND header = Main->lvFiles->HeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header, Main->lvFiles->TakenHeader());
    RECT hr, pr, lr, wr;
    GetWindowRect(header, &hr);
    GetWindowRect(Main->bsSkinPanel5->Handle(), &pr);
    GetWindowRect(Main->lvFiles->Handle(), &lr);
    GetWindowRect(Main->Handle(), &wr);
    EXPECT_EQ(hr.top, lr.top);
    EXPECT_EQ(hr.bottom - hr.top, Main->lvFiles->HeaderHeight());
    EXPECT_EQ(pr.top, hr.bottom);
    EXPECT_EQ(pr.bottom, lr.bottom);
    EXPECT_TRUE(IsWindowVisible(Main->bsSkinPanel5->Handle()));

    // The window shows, over the list's top, exactly the header as it paints itself, and its
    // first section carries the caption "输入文件" (more colours than the section's fill and edges).
    const int hw = hr.right - hr.left, hh = hr.bottom - hr.top;
    TBitmap painted(hw, hh);
    Main->lvFiles->PaintHeader(painted.Canvas()->Handle());
    int ww = 0, wh = 0;
    const std::vector<uint32_t> window = vxwin::WindowPixels(Main->Handle(), &ww, &wh);
    const int visible = std::min<int>(hw, lr.right - lr.left);
    int differing = 0;
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < visible; ++x)
            if (window[static_cast<size_t>((hr.top - wr.top + y) * ww + hr.left - wr.left + x)] !=
                (painted.PixelArgb(x, y) & 0xFFFFFFu))
                ++differing;
    EXPECT_EQ(differing, 0);
    std::set<uint32_t> caption;
    for (int y = 0; y < hh; ++y)
        for (int x = 0; x < Main->lvFiles->Column(0)->Width(); ++x) caption.insert(painted.PixelArgb(x, y));
    EXPECT_GT(caption.size(), 4u);
}

// Each form's caption shows the buttons its border icons give: the main window only minimise, the
// dialogs none (they close through their buttons and Esc). The main window still closes when the
// window manager asks it to (Alt+F4, its close request), through the close query.
TEST_F(MainWindow, CaptionButtonsFollowTheBorderIconsAndACloseRequestCloses)
{
    Start();
    Main->Show();
    Pump();
    const struct {
        const char* Form;
        TbsSkinForm* Frame;
        std::set<std::string> Buttons;
    } forms[] = {{"main window", Main->bsSkinForm1, {"minbutton"}},
                 {"选项", Form5->bsSkinForm1, {}},
                 {"关于", Form2->bsSkinForm1, {}},
                 {"选项设置", Form7->bsSkinForm1, {}}};
    for (const auto& f : forms) {
        std::set<std::string> shown;
        EXPECT_FALSE(f.Frame->ObjectList.empty()) << f.Form << ": the frame has no caption objects";
        for (TbsActiveSkinObject* o : f.Frame->ObjectList)
            if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o); b && b->Visible && b->Enabled)
                shown.insert(StringToUtf8(b->IDName));
        EXPECT_EQ(shown, f.Buttons) << f.Form;
    }
    bool asked = false;
    auto query = Main->OnCloseQuery;
    Main->OnCloseQuery = [&](TObject* Sender, bool& CanClose) {
        asked = true;
        query(Sender, CanClose);
    };
    PostMessageW(Main->Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(Main->Visible());
}

}  // namespace
