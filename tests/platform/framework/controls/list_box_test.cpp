// TListBox as the skinned lists use it: indexes outside the items refused, the string messages
// (find with wrap-around, add, insert, delete), several columns scrolled sideways, type-ahead,
// a replaceable wheel, and rows that start at the client's left edge.
#include <gtest/gtest.h>

#include "platform/framework/controls/list_box.h"
#include "platform/framework/core/strings.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct ListBoxes : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 300, 200, clBtnFace);
        lb = new TListBox(f);
        lb->SetBounds(10, 10, 150, 100);
        lb->SetParent(f);
        lb->SetItemHeight(10);
        f->Show();
        Pump();
    }
    void Fill(std::initializer_list<const wchar_t*> items)
    {
        for (const wchar_t* s : items) lb->Items()->Add(s);
    }
    LRESULT Find(const wchar_t* s, int after)
    {
        return lb->Perform(LB_FINDSTRING, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(s));
    }
    TForm* f = nullptr;
    TListBox* lb = nullptr;
};
}  // namespace

TEST_F(ListBoxes, AnIndexOutsideTheItemsIsRefused)
{
    Fill({L"a", L"b", L"c"});
    lb->SetItemIndex(1);
    for (int bad : {3, 7, -2}) {
        lb->SetItemIndex(bad);
        EXPECT_EQ(lb->ItemIndex(), 1) << bad;
        EXPECT_EQ(lb->Perform(LB_SETCURSEL, static_cast<WPARAM>(bad)), LB_ERR) << bad;
        EXPECT_EQ(lb->ItemIndex(), 1) << bad;
    }
    EXPECT_EQ(lb->Perform(LB_SETCURSEL, 2), 2);
    lb->SetItemIndex(-1);
    EXPECT_EQ(lb->ItemIndex(), -1);
}

TEST_F(ListBoxes, FindStringIsACaseBlindPrefixSearchThatWraps)
{
    Fill({L"Apple", L"banana", L"Berry", L"cherry", L"blue"});
    struct Row {
        const wchar_t* text;
        int after;
        LRESULT found;
    } rows[] = {
        {L"b", -1, 1},      {L"B", 1, 2},
        {L"b", 2, 4},       {L"b", 4, 1},      // wraps past the end
        {L"BER", -1, 2},    {L"apple", 0, 0},  // the start item last
        {L"x", -1, LB_ERR}, {L"applesauce", -1, LB_ERR},
    };
    for (const Row& r : rows) EXPECT_EQ(Find(r.text, r.after), r.found) << r.text << " after " << r.after;
    EXPECT_EQ(lb->FindString(L"c", 3), 3);
}

TEST_F(ListBoxes, AddInsertAndDeleteAnswerWhereTheyActed)
{
    EXPECT_EQ(lb->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"m")), 0);
    EXPECT_EQ(lb->Perform(LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"a")), 0);
    EXPECT_EQ(lb->Perform(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(L"z")), 2);
    EXPECT_EQ(lb->Perform(LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(L"q")), LB_ERR);
    EXPECT_EQ(lb->Perform(LB_DELETESTRING, 0), 2);
    EXPECT_EQ(lb->Perform(LB_DELETESTRING, 5), LB_ERR);
    EXPECT_EQ(lb->Items()->Get(0), L"m");
    lb->SetSorted(true);
    EXPECT_EQ(lb->Perform(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"b")), 0) << "the sorted place";
    EXPECT_EQ(lb->Perform(LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"x")), 2);
}

TEST_F(ListBoxes, ColumnsFlowDownThenAcrossAndScrollSideways)
{
    for (int i = 0; i < 47; ++i) lb->Items()->Add(IntToStr(i));
    lb->SetColumns(3);
    Pump();
    const int rows = lb->ClientHeight() / 10;
    const int colW = lb->ClientWidth() / 3;
    EXPECT_EQ(lb->ItemRect(rows + 1), Rect(colW, 10, 2 * colW, 20));
    EXPECT_EQ(lb->ItemAtPos(Point(colW * 2 + 3, 15), true), 2 * rows + 1);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(lb->Handle(), SB_HORZ, &si));
    const int columns = (47 + rows - 1) / rows;
    EXPECT_EQ(si.nMax, columns - 1);
    EXPECT_EQ(si.nPage, 3u);
    lb->Perform(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(lb->TopIndex(), rows);
    lb->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 99));
    EXPECT_EQ(lb->TopIndex(), (columns - 3) * rows) << "the last columns fill the view";
    lb->SetTopIndex(rows + 2);
    EXPECT_EQ(lb->TopIndex(), rows) << "a column's first item";
}

TEST_F(ListBoxes, TypeAheadStepsThroughItemsAndSearchesWhatIsTypedTogether)
{
    Fill({L"bat", L"cat", L"bee", L"bell", L"bold"});
    lb->SetFocus();
    int clicks = 0;
    lb->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    vxwin::InjectText(L"b");
    Pump();
    EXPECT_EQ(lb->ItemIndex(), 0);
    vxwin::AdvanceClock(1500);
    vxwin::InjectText(L"b");
    Pump();
    EXPECT_EQ(lb->ItemIndex(), 2) << "a repeated letter steps on";
    vxwin::InjectText(L"o");
    Pump();
    EXPECT_EQ(lb->ItemIndex(), 4) << "\"bo\" typed together";
    EXPECT_EQ(clicks, 3);
}

namespace {
class TOneLineWheelList : public TListBox {
public:
    using TListBox::TListBox;

protected:
    void WheelScroll(WPARAM WParam) override
    {
        SetTopIndex(TopIndex() - (GET_WHEEL_DELTA_WPARAM(WParam) > 0 ? 1 : -1));
    }
};
}  // namespace

TEST_F(ListBoxes, TheWheelScrollsThreeRowsUnlessReplaced)
{
    for (int i = 0; i < 40; ++i) lb->Items()->Add(IntToStr(i));
    lb->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -120));
    EXPECT_EQ(lb->TopIndex(), 3);
    auto* one = new TOneLineWheelList(f);
    one->SetParent(f);
    for (int i = 0; i < 40; ++i) one->Items()->Add(IntToStr(i));
    one->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, -360));
    EXPECT_EQ(one->TopIndex(), 1);
}

TEST_F(ListBoxes, RowsStartAtTheClientEdge)
{
    Fill({L"a", L"b"});
    EXPECT_EQ(lb->ItemRect(0), Rect(0, 0, lb->ClientWidth(), 10));
    EXPECT_EQ(lb->ItemAtPos(Point(0, 0), true), 0);
}
