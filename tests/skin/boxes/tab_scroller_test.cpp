// The skinned up-down as the page control's tab scroller: registered, it appears at the right
// end of a single tab row that no longer fits (never the native arrows), scrolls the row and
// goes away when the row fits again.
#include <gtest/gtest.h>

#include "skin/boxes/skin_up_down.h"
#include "skin/controls/skin_page_control.h"
#include "skin/controls/skin_tab_scroller_link.h"
#include "tests/skin/boxes/box_fixture.h"

namespace {

struct TabScrollerTest : BoxFixture {
    TbsTabScrollerLink Saved;

    void SetUp() override
    {
        BoxFixture::SetUp();
        Saved = TabScrollerLink();
        UseSkinUpDownTabScroller();
    }
    void TearDown() override
    {
        TabScrollerLink() = Saved;
        BoxFixture::TearDown();
    }
    static int NativeArrows(TWinControl* C)
    {
        int n = 0;
        for (HWND h = GetWindow(C->Handle(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
            wchar_t name[32] = {};
            GetClassNameW(h, name, 32);
            n += String(name) == L"msctls_updown32";
        }
        return n;
    }
};

TEST_F(TabScrollerTest, NarrowRowShowsTheSkinnedScrollerAtItsEnd)
{
    auto* pc = new TbsSkinPageControl(Form);
    pc->SetParent(Form);
    pc->SetBounds(0, 0, 200, 100);
    for (int i = 0; i < 6; ++i) (new TbsSkinTabSheet(pc))->SetPageControl(pc);
    pc->SetTabHeight(20);
    pc->SetTabWidth(60);
    ShowForm();
    // Six tabs of 60 overflow 200: the scroller, 40 x 20, sits at the top right.
    auto* up = dynamic_cast<TbsSkinUpDown*>(pc->SkinUpDown());
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->BoundsRect(), Rect(160, 0, 200, 20));
    EXPECT_EQ(up->Max(), pc->HiddenTabsCount());
    EXPECT_EQ(NativeArrows(pc), 0);

    // Its right button scrolls the row by one tab.
    ClickAt(up, 30, 10);
    EXPECT_EQ(up->Position(), 1);
    EXPECT_EQ(pc->FirstVisibleTab(), 1);
    EXPECT_EQ(pc->ScrolledTabsCount(), 1);

    // Narrower still: the scroller follows the edge; wide enough: it goes.
    pc->SetWidth(150);
    Pump();
    ASSERT_NE(pc->SkinUpDown(), nullptr);
    EXPECT_EQ(pc->SkinUpDown()->Left(), 110);
    EXPECT_EQ(NativeArrows(pc), 0);
    Form->SetWidth(400);
    pc->SetWidth(400);
    Pump();
    EXPECT_EQ(pc->SkinUpDown(), nullptr);
    EXPECT_EQ(NativeArrows(pc), 0);
}

}  // namespace
