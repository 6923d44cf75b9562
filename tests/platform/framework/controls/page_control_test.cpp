// TPageControl and TTabSheet: pages and tabs (hidden tabs make tab and page indexes differ), the
// active page shown in the display area, user changes with OnChanging/OnChange, code changes
// without events, and removing the active page.
#include <gtest/gtest.h>

#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/page_control.h"
#include "platform/framework/graphics/image_list.h"
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

namespace {
// A descendant that keeps 10 more pixels at the top of the page area, as a skinned one does.
struct ShiftedPages : TPageControl {
    using TPageControl::TPageControl;
    void Dispatch(TMessage& m) override
    {
        TPageControl::Dispatch(m);
        if (m.Msg == TCM_ADJUSTRECT && !m.WParam && m.LParam) reinterpret_cast<RECT*>(m.LParam)->top += 10;
    }
};

int UpDownChildren(HWND Parent)
{
    int n = 0;
    EnumChildWindows(Parent, [&](HWND h) {
        wchar_t name[64] = {};
        GetClassNameW(h, name, 64);
        if (std::wstring(name) == L"msctls_updown32" && IsWindowVisible(h)) ++n;
        return TRUE;
    });
    return n;
}
}  // namespace

TEST_F(PageControls, PagesTakeThePlaceTheAdjustmentGives)
{
    auto* d = new ShiftedPages(f);
    d->SetBounds(10, 220, 300, 70);
    d->SetParent(f);
    auto* s = new TTabSheet(f);
    s->SetPageControl(d);
    Pump();
    RECT r{0, 0, d->ClientWidth(), d->ClientHeight()};
    SendMessageW(d->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(s->Top(), r.top);
    EXPECT_EQ(d->DisplayRect().Top, r.top);
    // Hit testing keeps the unadjusted layout.
    const TRect t = d->TabRect(0);
    EXPECT_EQ(d->IndexOfTabAt(t.Left + 2, t.Top + 2), 0);
}

TEST_F(PageControls, TabPositionsRowsAndScrolling)
{
    for (int i = 0; i < 8; ++i) {
        auto* s = new TTabSheet(f);
        s->SetCaption(L"一个很长的标签");
        s->SetPageControl(pc);
    }
    Pump();
    // One row too wide: scrolled by the first visible tab, with the arrows shown.
    ASSERT_GT(pc->TabRect(pc->TabCount() - 1).Right, pc->ClientWidth());
    EXPECT_EQ(UpDownChildren(pc->Handle()), 1);
    const int x1 = pc->TabRect(1).Left;
    SendMessageW(pc->Handle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0);
    EXPECT_EQ(pc->FirstVisibleTab(), 1);
    EXPECT_EQ(pc->TabRect(1).Left, 2);
    EXPECT_LT(pc->TabRect(1).Left, x1);
    // Wrapped into rows: no arrows, the pages below all rows.
    pc->SetMultiLine(true);
    pc->SetBounds(10, 10, 300, 201);
    Pump();
    EXPECT_EQ(UpDownChildren(pc->Handle()), 0);
    const int rowH = pc->TabRect(0).Height();
    int bottom = 0;
    for (int i = 0; i < pc->TabCount(); ++i) bottom = std::max(bottom, pc->TabRect(i).Bottom);
    EXPECT_GT(bottom, 2 * rowH);
    EXPECT_GE(pc->DisplayRect().Top, bottom);
    // Side tabs stand in a column at the left or right.
    pc->SetMultiLine(false);
    pc->SetTabPosition(tpLeft);
    EXPECT_EQ(pc->TabRect(0).Left, 2);
    EXPECT_GT(pc->TabRect(1).Top, pc->TabRect(0).Top);
    EXPECT_GE(pc->DisplayRect().Left, pc->TabRect(0).Right);
    pc->SetTabPosition(tpRight);
    EXPECT_EQ(pc->TabRect(0).Right, pc->ClientWidth() - 2);
}

TEST_F(PageControls, ImageRoomOnlyForSheetsWithAnImage)
{
    TImageList images(f);
    images.SetWidth(16);
    images.SetHeight(16);
    const int plain = pc->TabRect(0).Width();
    pc->SetImages(&images);
    EXPECT_EQ(sheets[0]->ImageIndex(), 0);
    EXPECT_EQ(pc->TabRect(0).Width(), plain + 20);
    sheets[0]->SetImageIndex(-1);
    EXPECT_EQ(pc->TabRect(0).Width(), plain);
    pc->SetImages(nullptr);
}
