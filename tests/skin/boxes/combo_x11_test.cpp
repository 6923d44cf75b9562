// The options dialog's thread list as a real X11 window under Xvfb, driven with xdotool: an item
// picked with two clicks, then the list opened and a click outside the program, which closes it
// without taking another value. Skipped with a message where Xvfb or xdotool is missing.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/framework/core/strings.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/skin_combo_box.h"
#include "tests/support/application_fixture.h"
#include "tests/support/x11_skip.h"
#include "tests/support/xvfb.h"

namespace {

using ComboX11 = ApplicationFixture;

void PumpFor(int Ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(Ms);
    while (std::chrono::steady_clock::now() < end) {
        Application->ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace

TEST_F(ComboX11, PicksAnItemAndClosesOnAClickOutsideTheProgram)
{
    const std::string xvfb = FindTool("Xvfb"), xdotool = FindTool("xdotool");
    if (xvfb.empty() || xdotool.empty()) X11_TEST_UNAVAILABLE() << "Xvfb or xdotool is not installed";
    XvfbServer server;
    if (server.Display().empty()) X11_TEST_UNAVAILABLE() << "Xvfb could not be started";
    ASSERT_TRUE(vxwin::UseX11Backend(server.Display()));
    auto click = [&](const TPoint& P) {
        ASSERT_EQ(
            RunTool({xdotool, "mousemove", std::to_string(P.X), std::to_string(P.Y), "click", "1"}, server.Display()),
            0);
        PumpFor(300);
    };

    auto* form = new TForm(Application);
    form->SetBorderStyle(bsSingle);
    form->SetBounds(40, 40, 300, 240);
    form->AfterConstruction();
    auto* combo = new TbsSkinComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(20, 20, 120, 20);
    for (int i = 1; i <= 19; ++i) combo->Items()->Add(IntToStr(i));
    int changes = 0;
    combo->OnChange = [&](TObject*) { ++changes; };
    combo->SetItemIndex(0);
    changes = 0;
    form->Show();
    PumpFor(500);

    const TPoint button = combo->ClientToScreen(Point(110, 10));
    click(button);
    ASSERT_TRUE(combo->IsPopupVisible());
    TbsListBox* inner = combo->ListBox()->ListBox;
    const TRect r = inner->ItemRect(3);
    click(inner->ClientToScreen(Point(20, r.Top + r.Height() / 2)));
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(combo->Text(), L"4");

    click(button);
    ASSERT_TRUE(combo->IsPopupVisible());
    click(Point(600, 450));  // the bare desktop, outside every window of the program
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 3);
    EXPECT_EQ(changes, 1) << "one value taken";
    form->Free();
    vxwin::UseHeadlessBackend();
}
