// The notices a control with something open relies on: WM_CONTEXTMENU from a right release and
// from the keyboard (its default showing the popup menu), and CM_CANCELMODE sent to the form's
// focused control by a press anywhere on the form (the pressed control as sender) and by moving
// or deactivating the form (no sender).
#include <gtest/gtest.h>

#include <vector>

#include "platform/framework/controls/edit.h"
#include "platform/framework/forms/menus.h"
#include "tests/platform/framework/control_test_support.h"

namespace {

// Records the context-menu requests and the cancel-mode notices it hears.
class TListener : public TEdit {
public:
    using TEdit::TEdit;
    std::vector<LPARAM> Menus;
    std::vector<TControl*> Cancels;
    bool TakeMenu = true;

protected:
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_CONTEXTMENU) {
            Menus.push_back(m.LParam);
            if (TakeMenu) return;
        }
        if (m.Msg == CM_CANCELMODE) Cancels.push_back(reinterpret_cast<TControl*>(m.LParam));
        TEdit::WndProc(m);
    }
};

struct CancelMode : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 300, 200, clBtnFace);
        focused = new TListener(f);
        focused->SetBounds(10, 10, 100, 20);
        focused->SetParent(f);
        other = new TColorPanel(f, clBlue);
        other->SetBounds(10, 50, 100, 40);
        other->SetParent(f);
        box = new TColorBox(f, clYellow);
        box->SetBounds(150, 50, 40, 40);
        box->SetParent(f);
        f->Show();
        focused->SetFocus();
        Pump();
    }
    TForm* f = nullptr;
    TListener* focused = nullptr;
    TColorPanel* other = nullptr;
    TColorBox* box = nullptr;
};

}  // namespace

TEST_F(CancelMode, ARightReleaseAndTheKeyboardAskForTheContextMenu)
{
    Click(100 + 30, 100 + 20, 1);
    Pump();
    ASSERT_EQ(focused->Menus.size(), 1u);
    EXPECT_EQ(focused->Menus[0], MAKELPARAM(130, 120));
    Key(VK_F10, kShift);
    Key(VK_APPS);
    ASSERT_EQ(focused->Menus.size(), 3u);
    EXPECT_EQ(focused->Menus[1], MAKELPARAM(-1, -1));
    EXPECT_EQ(focused->Menus[2], MAKELPARAM(-1, -1));
    Key(VK_F10);
    EXPECT_EQ(focused->Menus.size(), 3u) << "F10 alone is no request";
}

namespace {
class TRecordingPopup : public TPopupMenu {
public:
    using TPopupMenu::TPopupMenu;
    std::vector<TPoint> Shown;
    void Popup(int X, int Y) override { Shown.push_back(Point(X, Y)); }
};
}  // namespace

TEST_F(CancelMode, TheDefaultShowsThePopupMenuAtThePointOrTheCentre)
{
    auto* menu = new TRecordingPopup(f);
    focused->TakeMenu = false;
    focused->SetPopupMenu(menu);
    Click(100 + 30, 100 + 20, 1);
    Pump();
    Key(VK_APPS);
    ASSERT_EQ(menu->Shown.size(), 2u);
    EXPECT_EQ(menu->Shown[0], Point(130, 120));
    EXPECT_EQ(menu->Shown[1], focused->ClientToScreen(Point(50, 10)));
}

TEST_F(CancelMode, APressOnTheFormTellsTheFocusedControlWhoWasPressed)
{
    Click(100 + 30, 100 + 60);       // a windowed control
    Click(100 + 160, 100 + 60);      // a windowless one
    Click(100 + 250, 100 + 150, 2);  // the form itself, middle button
    Pump();
    ASSERT_EQ(focused->Cancels.size(), 3u);
    EXPECT_EQ(focused->Cancels[0], other);
    EXPECT_EQ(focused->Cancels[1], box);
    EXPECT_EQ(focused->Cancels[2], f);
    focused->Cancels.clear();
    f->SetBounds(120, 100, 300, 200);  // moved
    Pump();
    ASSERT_FALSE(focused->Cancels.empty());
    EXPECT_EQ(focused->Cancels.back(), nullptr);
    focused->Cancels.clear();
    TForm* g = MakeForm(500, 100, 100, 100);
    g->Show();
    Pump();
    ASSERT_FALSE(focused->Cancels.empty()) << "deactivated";
    EXPECT_EQ(focused->Cancels.back(), nullptr);
}
