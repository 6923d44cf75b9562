// TPageControl and TTabSheet: pages and tabs (hidden tabs make tab and page indexes differ), the
// active page shown in the display area, user changes with OnChanging/OnChange, code changes
// without events, and removing the active page.
#include <gtest/gtest.h>

#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/page_control.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct PageControls : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 400, 300, clBtnFace);
        pc = new TPageControl(f);
        pc->SetBounds(10, 10, 300, 200);
        pc->SetParent(f);
        for (const wchar_t* c : {L"常规", L"隐藏", L"高级"}) {
            auto* s = new TTabSheet(f);
            s->SetCaption(c);
            s->SetPageControl(pc);
            sheets.push_back(s);
        }
        sheets[1]->SetTabVisible(false);
        f->Show();
        Pump();
    }
    TForm* f = nullptr;
    TPageControl* pc = nullptr;
    std::vector<TTabSheet*> sheets;
};
}  // namespace

TEST_F(PageControls, PagesTabsAndTheActivePage)
{
    EXPECT_EQ(pc->PageCount(), 3);
    EXPECT_EQ(pc->TabCount(), 2);
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_TRUE(sheets[0]->Visible());
    EXPECT_FALSE(sheets[2]->Visible());
    EXPECT_EQ(sheets[2]->PageIndex(), 2);
    EXPECT_EQ(sheets[2]->TabIndex(), 1);
    EXPECT_EQ(sheets[1]->TabIndex(), -1);
    EXPECT_EQ(pc->PageOfTab(1), sheets[2]);
    EXPECT_EQ(sheets[0]->BoundsRect(), pc->DisplayRect());
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    pc->SetTabIndex(1);  // in code: no events
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_TRUE(sheets[2]->Visible());
    EXPECT_FALSE(sheets[0]->Visible());
    EXPECT_EQ(changes, 0);
    sheets[2]->SetPageIndex(0);
    EXPECT_EQ(pc->Pages(0), sheets[2]);
    EXPECT_EQ(pc->TabIndex(), 0);
    // Removing the active page hands over to a neighbour with a visible tab.
    sheets[2]->Free();
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    EXPECT_EQ(pc->PageCount(), 2);
}

TEST_F(PageControls, UserChangesAskOnChangingAndRaiseOnChange)
{
    std::vector<std::string> log;
    bool allow = false;
    pc->OnChanging = [&](TObject*, bool& a) {
        log.push_back("changing");
        a = allow;
    };
    pc->OnChange = [&](TObject*) { log.push_back("change"); };
    TRect t = pc->TabRect(1);
    TPoint p = pc->ClientToScreen(Point((t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2));
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
    allow = true;
    vxwin::AdvanceClock(2000);
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(pc->ActivePage(), sheets[2]);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "changing", "change"}));
    // Ctrl+Tab from a control on a page turns to the next page with a visible tab.
    auto* e = new TEdit(f);
    e->SetParent(sheets[2]);
    e->SetFocus();
    Pump();
    PressKey(VK_TAB, kCtrl);
    Pump();
    EXPECT_EQ(pc->ActivePage(), sheets[0]);
}
