// TListView in report style: columns with width limits, rows with sub-items, selection by program,
// mouse and keys with its events (deletes included), check boxes, scrolling, and the custom-draw
// hook colouring rows (pixels). In the icon, small-icon and list styles: item rectangles and
// scroll ranges per layout, hit tests, arrow keys between cells, whole-column scrolling, pixels.
#include <gtest/gtest.h>

#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/list_view_header.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/image_list.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct ListViews : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 400, 300, clBtnFace);
        lv = new TListView(f);
        lv->SetBounds(0, 0, 400, 200);
        lv->SetViewStyle(vsReport);
        lv->SetRowSelect(true);
        lv->SetReadOnly(true);
        lv->SetParent(f);
        const wchar_t* caps[] = {L"文件", L"时长", L"隐藏"};
        int widths[] = {150, 100, 0};
        for (int i = 0; i < 3; ++i) {
            TListColumn* c = lv->Columns()->Add();
            c->SetCaption(caps[i]);
            c->SetWidth(widths[i]);
        }
        lv->Column(2)->SetMaxWidth(1);
        lv->Items()->BeginUpdate();
        for (int i = 0; i < 20; ++i) {
            TListItem* it = lv->Items()->Add();
            it->SetCaption(L"file" + IntToStr(i) + L".avi");
            it->SubItems()->Add(L"00:00:" + IntToStr(10 + i));
            it->SubItems()->Add(IntToStr(i));
        }
        lv->Items()->EndUpdate();
        lv->OnSelectItem = [this](TObject*, TListItem* item, bool sel) {
            events.push_back((sel ? "+" : "-") + std::to_string(item->Index()));
        };
        f->Show();
        Pump();
    }
    // Screen point in the middle of row i's first column.
    TPoint RowPoint(int i)
    {
        TRect r = lv->Items()->Item(i)->DisplayRect(drBounds);
        return lv->ClientToScreen(Point(60, (r.Top + r.Bottom) / 2));
    }
    TForm* f = nullptr;
    TListView* lv = nullptr;
    std::vector<std::string> events;
};
}  // namespace

TEST_F(ListViews, RowsColumnsAndGeometry)
{
    EXPECT_EQ(lv->Items()->Count(), 20);
    EXPECT_EQ(lv->Items()->Item(3)->Caption(), L"file3.avi");
    EXPECT_EQ(lv->Items()->Item(3)->SubItems()->Get(0), L"00:00:13");
    lv->Items()->Item(3)->SubItems()->Put(1, L"changed");
    EXPECT_EQ(lv->Items()->Item(3)->SubItems()->Get(1), L"changed");
    EXPECT_EQ(lv->Column(2)->Width(), 0);
    lv->Column(2)->SetWidth(80);
    EXPECT_EQ(lv->Column(2)->Width(), 1);  // held by MaxWidth
    int rh = lv->RowHeight(), hh = lv->HeaderHeight();
    EXPECT_GT(hh, 0);
    EXPECT_EQ(lv->Items()->Item(2)->Top(), hh + 2 * rh);
    EXPECT_EQ(lv->GetItemAt(10, hh + 2 * rh + 1), lv->Items()->Item(2));
    EXPECT_EQ(lv->GetItemAt(10, hh - 1), nullptr);
    EXPECT_EQ(lv->ColumnAt(160), 1);
    EXPECT_THROW(lv->Items()->Item(20), EListError);
    // Scrolling moves the rows up.
    lv->Scroll(0, 5 * rh);
    EXPECT_EQ(lv->TopItem(), lv->Items()->Item(5));
    EXPECT_EQ(lv->Items()->Item(5)->Top(), hh);
    lv->Scroll(0, -100 * rh);
    EXPECT_EQ(lv->TopItem(), lv->Items()->Item(0));
    // A bigger font makes taller rows.
    lv->Font()->SetHeight(-30);
    EXPECT_GT(lv->RowHeight(), rh + 10);
}

TEST_F(ListViews, SelectionByProgramMouseAndKeysWithEvents)
{
    lv->SetSelected(lv->Items()->Item(1));
    EXPECT_EQ(lv->ItemIndex(), 1);
    lv->Items()->Item(4)->SetSelected(true);  // single select: the other one goes
    EXPECT_EQ(events, (std::vector<std::string>{"+1", "-1", "+4"}));
    EXPECT_EQ(lv->SelCount(), 1);
    events.clear();
    int clicks = 0, dbl = 0;
    lv->OnClick = [&](TObject*) { ++clicks; };
    lv->OnDblClick = [&](TObject*) { ++dbl; };
    TPoint p = RowPoint(2);
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(lv->Selected(), lv->Items()->Item(2));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(lv->Focused());
    Click(p.X, p.Y);  // the second click is a double click
    Pump();
    EXPECT_EQ(dbl, 1);
    PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(lv->ItemIndex(), 3);
    EXPECT_TRUE(lv->Focused());  // arrows stay in the list
    PressKey(VK_END);
    Pump();
    EXPECT_EQ(lv->ItemIndex(), 19);
    EXPECT_TRUE(lv->Items()->Item(19)->DisplayRect(drBounds).Bottom <= lv->ClientHeight());
    EXPECT_EQ(events, (std::vector<std::string>{"-4", "+2", "-2", "+3", "-3", "+19"}));

    // Deleting the selected row is announced, and nothing stays selected.
    events.clear();
    lv->Items()->Delete(19);
    EXPECT_EQ(events, (std::vector<std::string>{"-19"}));
    EXPECT_EQ(lv->Selected(), nullptr);
    EXPECT_EQ(lv->Items()->Count(), 19);
    lv->Items()->Clear();
    EXPECT_EQ(lv->ItemIndex(), -1);
}

// Single selection as a report list has it: a click on the empty area below the rows and a
// Ctrl+click on the selected row clear the selection (the click event sees none); a double-click
// handler that moves the focus (an edit over the row) keeps it there.
TEST_F(ListViews, ClicksBelowTheRowsAndCtrlClicksDeselect)
{
    while (lv->Items()->Count() > 3) lv->Items()->Delete(lv->Items()->Count() - 1);
    int selectedAtClick = -2;
    lv->OnClick = [&](TObject*) { selectedAtClick = lv->ItemIndex(); };
    auto* box = new TColorPanel(f);  // stands for the edit a double click opens
    box->SetBounds(0, 250, 50, 20);
    box->SetTabStop(true);
    box->SetParent(f);
    lv->OnDblClick = [&](TObject*) { box->SetFocus(); };
    const TPoint row = RowPoint(1);
    const TRect last = lv->Items()->Item(2)->DisplayRect(drBounds);
    const TPoint below = lv->ClientToScreen(Point(60, last.Bottom + 30));
    struct Step {
        const char* What;
        TPoint At;
        unsigned Mods;
        int Selected;
    } steps[] = {{"a row", row, kNoMods, 1},
                 {"below the rows", below, kNoMods, -1},
                 {"the row again", row, kNoMods, 1},
                 {"Ctrl below the rows keeps the selection", below, kCtrl, 1},
                 {"Ctrl on the selected row", row, kCtrl, -1},
                 {"Ctrl on a row not selected selects it", row, kCtrl, 1}};
    for (const Step& s : steps) {
        vxwin::AdvanceClock(2000);  // clicks apart, not double clicks
        if (s.Mods & kCtrl) vxwin::InjectKey(VK_CONTROL, true);
        Click(s.At.X, s.At.Y);
        if (s.Mods & kCtrl) vxwin::InjectKey(VK_CONTROL, false);
        Pump();
        EXPECT_EQ(lv->ItemIndex(), s.Selected) << s.What;
        EXPECT_EQ(selectedAtClick, s.Selected) << s.What;
    }
    vxwin::AdvanceClock(2000);
    Click(row.X, row.Y);
    Click(row.X, row.Y);
    Pump();
    EXPECT_EQ(lv->ItemIndex(), 1);
    EXPECT_TRUE(box->Focused()) << "the double click's second press took the focus back";
}

TEST_F(ListViews, MultiSelectAndCheckboxes)
{
    lv->SetMultiSelect(true);
    lv->SetCheckboxes(true);
    TPoint a = RowPoint(1), b = RowPoint(4);
    Click(a.X, a.Y);
    vxwin::AdvanceClock(2000);
    vxwin::InjectKey(VK_SHIFT, true);
    Click(b.X, b.Y);
    vxwin::InjectKey(VK_SHIFT, false);
    Pump();
    EXPECT_EQ(lv->SelCount(), 4);
    // The box at the row's left end toggles the check mark.
    TRect ic = lv->Items()->Item(6)->DisplayRect(drBounds);
    TPoint box = lv->ClientToScreen(Point(ic.Left + 8, (ic.Top + ic.Bottom) / 2));
    vxwin::AdvanceClock(2000);
    Click(box.X, box.Y);
    Pump();
    EXPECT_TRUE(lv->Items()->Item(6)->Checked());
    PressKey(VK_SPACE);
    Pump();
    EXPECT_FALSE(lv->Items()->Item(6)->Checked());
}

TEST_F(ListViews, CustomDrawColoursRowsAndSelectionIsHighlighted)
{
    lv->OnCustomDrawItem = [](TCustomListView* sender, TListItem* item, TCustomDrawState, bool& def) {
        if (item->Index() == 0) sender->Canvas()->Brush()->SetColor(clYellow);
        if (item->Index() == 2) def = false;  // drawn by nobody: stays the background
    };
    lv->SetFocus();
    lv->SetSelected(lv->Items()->Item(1));
    lv->Invalidate();
    Pump();
    auto px = [&](int row, int x) {
        TRect r = lv->Items()->Item(row)->DisplayRect(drBounds);
        return PixelOf(f, x, r.Top + 2);
    };
    EXPECT_EQ(px(0, 300), Rgb(clYellow));
    EXPECT_EQ(px(1, 300), Rgb(ColorToRGB(clHighlight)));
    EXPECT_EQ(px(2, 300), Rgb(ColorToRGB(clWindow)));
    EXPECT_EQ(px(3, 300), Rgb(ColorToRGB(clWindow)));
    // The header sits above the rows in the button face colour.
    EXPECT_EQ(PixelOf(f, 75, lv->HeaderHeight() / 2), Rgb(ColorToRGB(clBtnFace)));
}

TEST_F(ListViews, HeaderIsAChildWindowAParentCanTakeOver)
{
    // A fresh list: its parent hears of the header's creation, as a skinned list needs.
    auto* lv2 = new TListView(f);
    lv2->SetBounds(0, 210, 300, 80);
    lv2->SetViewStyle(vsReport);
    for (int w : {120, 80}) lv2->Columns()->Add()->SetWidth(w);
    String createdClass;
    HWND created = nullptr;
    TWndMethod saved = lv2->WindowProc();
    lv2->SetWindowProc([&](TMessage& m) {
        if (m.Msg == WM_PARENTNOTIFY && LOWORD(m.WParam) == WM_CREATE) {
            created = reinterpret_cast<HWND>(m.LParam);
            wchar_t buf[81] = {};
            GetClassNameW(created, buf, 80);
            createdClass = buf;
        }
        saved(m);
    });
    lv2->SetParent(f);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(createdClass, L"SysHeader32");
    EXPECT_EQ(lv2->HeaderHandle(), created);
    EXPECT_EQ(lv2->Perform(LVM_GETHEADER), reinterpret_cast<LRESULT>(created));
    EXPECT_EQ(SendMessageW(created, HDM_GETITEMCOUNT, 0, 0), 2);
    RECT r{};
    ASSERT_TRUE(SendMessageW(created, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.right, 200);
    HDHITTESTINFO hit;
    hit.pt = POINT{119, 5};
    EXPECT_EQ(SendMessageW(created, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 0);
    EXPECT_EQ(hit.flags, HHT_ONDIVIDER);

    // Taken over: the new procedure sees the header's messages and hands the rest on.
    int paints = 0;
    WNDPROC old = nullptr;
    WNDPROC mine = MakeObjectInstance([&](HWND h, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
        if (msg == WM_PAINT) ++paints;
        return CallWindowProcW(old, h, msg, wp, lp);
    });
    old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(created, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(mine)));
    InvalidateRect(created, nullptr, FALSE);
    Pump();
    EXPECT_GE(paints, 1);
    EXPECT_EQ(SendMessageW(created, HDM_GETITEMCOUNT, 0, 0), 2);
    SetWindowLongPtrW(created, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    FreeObjectInstance(mine);
    lv2->SetWindowProc(saved);
}

TEST_F(ListViews, HeaderClicksAndDividerDragsResizeColumns)
{
    HWND h = lv->HeaderHandle();
    ASSERT_NE(h, nullptr);
    int clicked = -1;
    lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c->Index(); };
    TPoint sec = lv->ClientToScreen(Point(200, 5));
    Click(sec.X, sec.Y);
    Pump();
    EXPECT_EQ(clicked, 1);
    TPoint div = lv->ClientToScreen(Point(150, 5));
    vxwin::AdvanceClock(2000);
    Drag(div.X, div.Y, div.X + 40, div.Y);
    Pump();
    EXPECT_EQ(lv->Column(0)->Width(), 190);
    EXPECT_EQ(clicked, 1);  // a drag is no click
    // The header window paints the sections.
    EXPECT_EQ(PixelOf(f, 100, lv->HeaderHeight() / 2), Rgb(ColorToRGB(clBtnFace)));
}

TEST_F(ListViews, StandardScrollBarsFollowTheRowsAndScrollTheList)
{
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(lv->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nMax, 19);
    EXPECT_EQ(static_cast<int>(si.nPage), lv->VisibleRowCount());
    EXPECT_EQ(si.nPos, 0);
    lv->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(lv->TopItem(), lv->Items()->Item(1));
    lv->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5));
    EXPECT_EQ(lv->TopItem(), lv->Items()->Item(5));
    GetScrollInfo(lv->Handle(), SB_VERT, &si);
    EXPECT_EQ(si.nPos, 5);
    lv->Perform(WM_VSCROLL, SB_BOTTOM);
    EXPECT_EQ(lv->TopItem()->Index() + lv->VisibleRowCount(), 20);
    // Columns wider than the list scroll sideways.
    lv->Column(1)->SetWidth(600);
    GetScrollInfo(lv->Handle(), SB_HORZ, &si);
    EXPECT_EQ(si.nMax, 150 + 600 - 1);
    lv->Perform(WM_HSCROLL, SB_LINEDOWN);
    EXPECT_EQ(lv->Items()->Item(0)->DisplayRect(drBounds).Left, -10);
    lv->Perform(WM_HSCROLL, SB_PAGEDOWN);  // a page, held where the last column ends at the edge
    EXPECT_EQ(lv->Items()->Item(0)->DisplayRect(drBounds).Left, -(750 - lv->ClientWidth()));
}

namespace {
// A list of a thousand items that lives in the test's own vector.
struct OwnerDataLists : ListViews {
    void SetUp() override
    {
        ListViews::SetUp();
        lv->SetOwnerData(true);
        for (int i = 0; i < 1000; ++i) names.push_back(L"第" + IntToStr(i) + L"项");
        lv->OnData = [this](TObject*, TListItem* item) {
            ++fetches;
            const int i = item->Index();
            item->SetCaption(names[static_cast<size_t>(i)]);
            item->SetImageIndex(i % 3);
            item->SubItems()->Add(IntToStr(i * 10));
        };
        lv->Items()->SetCount(static_cast<int>(names.size()));
        Pump();
    }
    std::vector<String> names;
    int fetches = 0;
};
}  // namespace

TEST_F(OwnerDataLists, ItemsAreFetchedWhenUsedAndSelectedByIndex)
{
    EXPECT_EQ(lv->Items()->Count(), 1000);
    // A paint asks for the rows it shows, no more.
    fetches = 0;
    lv->Invalidate();
    Pump();
    EXPECT_GT(fetches, 0);
    EXPECT_LE(fetches, lv->VisibleRowCount() + 1);
    // The texts are the program's: changed there, the next use shows them.
    EXPECT_EQ(lv->Items()->Item(500)->Caption(), L"第500项");
    EXPECT_EQ(lv->Items()->Item(500)->SubItems()->Get(0), L"5000");
    names[500] = L"改过";
    EXPECT_EQ(lv->Items()->Item(500)->Caption(), L"改过");

    lv->SetItemIndex(700);
    EXPECT_EQ(lv->ItemIndex(), 700);
    EXPECT_EQ(lv->SelCount(), 1);
    EXPECT_EQ(lv->Selected()->Caption(), L"第700项");
    EXPECT_EQ(events, std::vector<std::string>{"+700"});
    lv->SetMultiSelect(true);
    lv->SelectAll();
    EXPECT_EQ(lv->SelCount(), 1000);
    lv->Items()->SetCount(10);  // fewer items: the selection past the end goes
    EXPECT_EQ(lv->SelCount(), 10);
    lv->Items()->Clear();
    EXPECT_EQ(lv->Items()->Count(), 0);
    EXPECT_EQ(lv->ItemIndex(), -1);
    EXPECT_THROW(lv->Items()->Add(), EListError);

    lv->SetOwnerData(false);  // an ordinary list again
    EXPECT_NE(lv->Items()->Add(), nullptr);
    EXPECT_THROW(lv->Items()->SetCount(5), EListError);
}

TEST_F(ListViews, TypeAheadSearchesOnFromTheFocusAndWraps)
{
    lv->Items()->Clear();
    for (const wchar_t* n : {L"apple", L"Banana", L"blueberry", L"cherry"}) lv->Items()->Add()->SetCaption(n);
    lv->SetItemIndex(3);
    lv->SetFocus();
    Pump();
    Type(L"b");
    EXPECT_EQ(lv->ItemIndex(), 1);  // wrapped past the end, letter case ignored
    Type(L"l");
    EXPECT_EQ(lv->ItemIndex(), 2);  // "bl" goes on from there
    vxwin::AdvanceClock(1500);
    Type(L"b");
    EXPECT_EQ(lv->ItemIndex(), 1);  // a new search after a pause starts after the focus
    Type(L"x");
    EXPECT_EQ(lv->ItemIndex(), 1);  // "bx" matches nothing
    EXPECT_EQ(lv->FindCaption(0, L"CHERRY", false, false), 3);
    EXPECT_EQ(lv->FindCaption(3, L"a", true, false), -1);
    EXPECT_EQ(lv->FindCaption(3, L"a", true, true), 0);
}

TEST_F(OwnerDataLists, TypeAheadAsksTheProgramWithStartAndWrap)
{
    std::vector<std::string> asked;
    lv->OnDataFind = [&](TObject*, TItemFind find, const String& text, const TPoint&, void*, int start,
                         TSearchDirection, bool wrap, int& index) {
        asked.push_back(std::to_string(find) + ":" + StringToUtf8(text) + ":" + std::to_string(start) +
                        (wrap ? ":wrap" : ""));
        index = 42;
    };
    lv->SetItemIndex(999);
    lv->SetFocus();
    Pump();
    Type(L"第");
    EXPECT_EQ(asked, std::vector<std::string>{"1:第:0:wrap"});  // after the last item: the first
    EXPECT_EQ(lv->ItemIndex(), 42);
}

TEST_F(ListViews, CaptionsAreEditedInPlace)
{
    lv->SetReadOnly(false);
    lv->SetFocus();
    std::vector<std::wstring> edited;
    lv->OnEdited = [&](TObject*, TListItem* item, String& s) {
        edited.push_back(item->Caption() + L"->" + s);
        s = L"[" + s + L"]";
    };
    EXPECT_NE(lv->Perform(LVM_EDITLABELW, 1), 0);
    EXPECT_EQ(lv->EditingIndex(), 1);
    Type(L"新 名字");
    Key(VK_RETURN);
    EXPECT_FALSE(lv->IsEditing());
    EXPECT_EQ(lv->Items()->Item(1)->Caption(), L"[新 名字]");
    EXPECT_EQ(edited, std::vector<std::wstring>{L"file1.avi->新 名字"});

    ASSERT_TRUE(lv->Items()->Item(2)->EditCaption());
    Type(L"dropped");
    Key(VK_ESCAPE);
    ASSERT_TRUE(lv->Items()->Item(2)->EditCaption());
    Type(L"dropped too");
    lv->Perform(LVM_EDITLABELW, static_cast<WPARAM>(-1));
    EXPECT_FALSE(lv->IsEditing());
    EXPECT_EQ(lv->Items()->Item(2)->Caption(), L"file2.avi");
    EXPECT_EQ(edited.size(), 1u);

    lv->OnEditing = [](TObject*, TListItem* item, bool& allow) { allow = item->Index() != 3; };
    EXPECT_EQ(lv->Perform(LVM_EDITLABELW, 3), 0);
    lv->SetReadOnly(true);
    EXPECT_FALSE(lv->Items()->Item(4)->EditCaption());
}

TEST_F(OwnerDataLists, AnEditedCaptionGoesToTheProgram)
{
    lv->SetReadOnly(false);
    int editedIndex = -1;
    lv->OnEdited = [&](TObject*, TListItem* item, String& s) {
        editedIndex = item->Index();
        names[static_cast<size_t>(item->Index())] = s;
    };
    ASSERT_TRUE(lv->Items()->Item(5)->EditCaption());
    Type(L"重命名");
    Key(VK_RETURN);
    EXPECT_EQ(editedIndex, 5);
    EXPECT_EQ(lv->Items()->Item(5)->Caption(), L"重命名");
}

TEST_F(ListViews, ImageListsSetByMessageAreDrawn)
{
    TImageList big(nullptr, 24, 24);
    TBitmap bmp;
    bmp.SetSize(24, 24);
    bmp.Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000FF));
    bmp.Canvas()->FillRect(Rect(0, 0, 24, 24));
    big.Add(&bmp, nullptr);
    lv->Items()->Item(0)->SetImageIndex(0);
    EXPECT_EQ(lv->Perform(LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(big.Handle())), 0);
    EXPECT_EQ(lv->SmallImages(), nullptr);
    EXPECT_EQ(lv->SmallImageList(), &big);
    EXPECT_GE(lv->RowHeight(), 26);
    Pump();
    TRect label = lv->Items()->Item(0)->DisplayRect(drLabel);
    TPoint p = f->ScreenToClient(lv->ClientToScreen(Point(label.Left - 2 - 12, (label.Top + label.Bottom) / 2)));
    EXPECT_EQ(PixelOf(f, p.X, p.Y), 0xFF0000u);
    lv->SetSmallImages(nullptr);
    EXPECT_EQ(lv->SmallImageList(), nullptr);
}

namespace {
// A list of captions "item 0" .. "item 9" over and over in the icon, small-icon and list styles.
// At the default font captions are 35 pixels wide, lines 14 high and rows 18: icon cells are
// 75 x 70 (a 32-pixel image with 2 above and below, two lines and their padding), small-icon and
// list cells 51 x 18 (2 + 35 + 6 of padding + 8 of gap). The standard bars take 17 pixels of the
// list's width and height.
struct ListLayouts : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 400, 300, clBtnFace);
        lv = new TListView(f);
        lv->SetParent(f);
        f->Show();
    }
    void Make(TViewStyle Style, int W, int H, int Count)
    {
        lv->SetBounds(0, 0, W, H);
        lv->SetViewStyle(Style);
        lv->Items()->BeginUpdate();
        lv->Items()->Clear();
        for (int i = 0; i < Count; ++i) lv->Items()->Add()->SetCaption(L"item " + IntToStr(i % 10));
        lv->Items()->EndUpdate();
        Pump();
    }
    SCROLLINFO Bar(int Which)
    {
        SCROLLINFO si;
        si.fMask = SIF_ALL;
        GetScrollInfo(lv->Handle(), Which, &si);
        return si;
    }
    TRect RectOf(int i, TDisplayCode Code = drBounds) { return lv->Items()->Item(i)->DisplayRect(Code); }
    TForm* f = nullptr;
    TListView* lv = nullptr;
};

struct LayoutCase {
    TViewStyle style;
    int w, h, count, item;
    TRect bounds;
    int vMax, vPage, hMax, hPage;
};
}  // namespace

TEST_F(ListLayouts, ItemRectsAndScrollRangesFollowTheStyle)
{
    const LayoutCase cases[] = {
        // Icons: three cells across 283 pixels, four rows of 70; bounds down to the caption's foot.
        {vsIcon, 300, 200, 10, 5, Rect(150, 70, 225, 122), 279, 183, 224, 283},
        // A list narrower than a cell: one column, scrolled sideways in pixels.
        {vsIcon, 60, 300, 3, 2, Rect(0, 140, 75, 192), 209, 283, 74, 43},
        // Small icons: five cells across, six rows.
        {vsSmallIcon, 300, 200, 30, 7, Rect(102, 18, 153, 36), 107, 183, 254, 283},
        {vsSmallIcon, 120, 60, 10, 7, Rect(51, 54, 102, 72), 89, 43, 101, 103},
        // List: four rows a column, eight columns of which five show; no vertical range.
        {vsList, 300, 100, 30, 7, Rect(51, 54, 102, 72), 0, 1, 7, 5},
        {vsList, 300, 200, 10, 7, Rect(0, 126, 51, 144), 0, 1, 0, 5},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " " << c.w << "x" << c.h << " count " << c.count);
        Make(c.style, c.w, c.h, c.count);
        EXPECT_EQ(RectOf(c.item), c.bounds);
        const SCROLLINFO v = Bar(SB_VERT), h = Bar(SB_HORZ);
        EXPECT_EQ(v.nMax, c.vMax);
        EXPECT_EQ(static_cast<int>(v.nPage), c.vPage);
        EXPECT_EQ(h.nMax, c.hMax);
        EXPECT_EQ(static_cast<int>(h.nPage), c.hPage);
    }
    // The parts of an icon: the image's strip across the cell, the caption centred under it; in
    // the small-icon style the caption's box ends with its text, in the list style with the cell.
    Make(vsIcon, 300, 200, 10);
    EXPECT_EQ(RectOf(5, drIcon), Rect(150, 70, 225, 106));
    EXPECT_EQ(RectOf(5, drLabel), Rect(167, 106, 208, 122));
    Make(vsSmallIcon, 300, 200, 10);
    EXPECT_EQ(RectOf(1, drLabel), Rect(53, 0, 94, 18));
    Make(vsList, 300, 200, 10);
    EXPECT_EQ(RectOf(1, drLabel), Rect(2, 18, 51, 36));
    // Back in the report view the rows are as they were.
    lv->SetViewStyle(vsReport);
    EXPECT_EQ(RectOf(1).Top, lv->HeaderHeight() + lv->RowHeight());
}

TEST_F(ListLayouts, IconCaptionsWrapOverTwoLinesAtMost)
{
    Make(vsIcon, 300, 200, 2);
    lv->Items()->Item(0)->SetCaption(L"a caption long enough to need more than two lines here");
    lv->Items()->Item(1)->SetCaption(L"two words");
    const TRect icon = RectOf(0, drIcon), label = RectOf(0, drLabel);
    EXPECT_EQ(label.Top, icon.Bottom);
    EXPECT_EQ(label.Height(), 2 * 14 + 2);
    EXPECT_GE(label.Left, 0);
    EXPECT_LE(label.Right, 75);
    EXPECT_EQ(RectOf(1, drLabel).Height(), 14 + 2);  // fits one line
    lv->IconOptions()->SetWrapText(false);
    EXPECT_EQ(RectOf(0, drLabel).Height(), 14 + 2);
}

TEST_F(ListLayouts, IconViewHitsOnlyImageAndCaptionAndArrowsMoveBetweenCells)
{
    Make(vsIcon, 300, 200, 10);  // three cells a row, four rows
    // Item 4's cell is (75, 70)-(150, 140): its image 96-128 across the top 36 pixels, its caption
    // 92-133 below.
    EXPECT_EQ(lv->GetItemAt(110, 80), lv->Items()->Item(4));
    EXPECT_EQ(lv->GetItemAt(100, 110), lv->Items()->Item(4));
    EXPECT_EQ(lv->GetItemAt(80, 80), nullptr);    // beside the image
    EXPECT_EQ(lv->GetItemAt(140, 110), nullptr);  // beside the caption
    EXPECT_EQ(lv->GetItemAt(280, 10), nullptr);   // past the last cell of a row
    EXPECT_EQ(lv->GetItemAt(110, 215), nullptr);  // the empty cell after the last item
    TPoint p = lv->ClientToScreen(Point(110, 80));
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(lv->ItemIndex(), 4);
    ASSERT_TRUE(lv->Focused());

    std::vector<int> seen;
    for (int key : {VK_RIGHT, VK_RIGHT, VK_DOWN, VK_DOWN, VK_UP, VK_LEFT, VK_LEFT, VK_UP}) {
        Key(key);
        seen.push_back(lv->ItemIndex());
    }
    // Right stops at the row's end; down from a row whose cell below is empty takes the last item.
    EXPECT_EQ(seen, (std::vector<int>{5, 5, 8, 9, 6, 6, 6, 3}));
    // A page down reaches the last row and scrolls it into view, in pixels.
    Key(VK_NEXT);
    EXPECT_EQ(lv->ItemIndex(), 9);
    EXPECT_EQ(Bar(SB_VERT).nPos, 280 - 183);
    EXPECT_EQ(RectOf(9).Top, 210 - 97);
    lv->Perform(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(RectOf(0).Top, 0);

    // Check boxes sit left of the image's foot; a click there toggles the item.
    lv->SetCheckboxes(true);
    Pump();
    const TRect icon = RectOf(1, drIcon);
    p = lv->ClientToScreen(Point(icon.Left + (75 - 32) / 2 - 8, icon.Bottom - 8));
    vxwin::AdvanceClock(2000);
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(lv->ItemIndex(), 1);
    EXPECT_TRUE(lv->Items()->Item(1)->Checked());
}

TEST_F(ListLayouts, ListViewColumnsScrollByWholeColumns)
{
    Make(vsList, 300, 100, 30);  // four rows a column, eight columns, five shown
    EXPECT_EQ(lv->GetItemAt(61, 41), lv->Items()->Item(6));
    EXPECT_EQ(lv->GetItemAt(96, 41), nullptr);  // right of the caption's box
    EXPECT_EQ(lv->VisibleRowCount(), 4);
    lv->SetItemIndex(3);
    lv->SetFocus();
    Pump();
    std::vector<int> seen;
    for (int key : {VK_DOWN, VK_RIGHT, VK_LEFT, VK_LEFT, VK_LEFT, VK_UP}) {
        Key(key);
        seen.push_back(lv->ItemIndex());
    }
    // Down from a column's foot goes on at the next column's head; left and right keep the row.
    EXPECT_EQ(seen, (std::vector<int>{4, 8, 4, 0, 0, 0}));
    // The last item lies in the eighth column: the list turns three columns to show it.
    Key(VK_END);
    EXPECT_EQ(Bar(SB_HORZ).nPos, 3);
    EXPECT_EQ(RectOf(29), Rect(204, 18, 255, 36));
    Key(VK_RIGHT);
    EXPECT_EQ(lv->ItemIndex(), 29);
    lv->SetItemIndex(26);
    Key(VK_RIGHT);  // no item right of it: the last one, in the next column
    EXPECT_EQ(lv->ItemIndex(), 29);

    lv->Perform(WM_HSCROLL, SB_TOP);
    lv->Perform(WM_HSCROLL, SB_LINERIGHT);
    EXPECT_EQ(RectOf(0).Left, -51);
    lv->Perform(WM_HSCROLL, SB_PAGERIGHT);  // five columns on, held at the last page
    EXPECT_EQ(Bar(SB_HORZ).nPos, 3);
    lv->Perform(WM_HSCROLL, SB_LINELEFT);
    EXPECT_EQ(RectOf(0).Left, -2 * 51);
    lv->Perform(WM_VSCROLL, SB_LINEDOWN);  // nothing to scroll up or down
    EXPECT_EQ(RectOf(0).Top, 0);
    lv->Scroll(60, 0);  // pixels, taken as whole columns
    EXPECT_EQ(Bar(SB_HORZ).nPos, 3);
}

TEST_F(ListLayouts, SelectedCaptionsAreHighlightedAndImagesDrawn)
{
    TImageList big(nullptr, 32, 32);
    TBitmap bmp;
    bmp.SetSize(32, 32);
    bmp.Canvas()->Brush()->SetColor(static_cast<TColor>(0x0000FF));
    bmp.Canvas()->FillRect(Rect(0, 0, 32, 32));
    big.Add(&bmp, nullptr);
    lv->SetLargeImages(&big);
    Make(vsIcon, 300, 200, 4);
    lv->Items()->Item(1)->SetImageIndex(0);
    lv->SetFocus();
    lv->SetItemIndex(1);
    Pump();
    const uint32_t highlight = Rgb(ColorToRGB(clHighlight)), window = Rgb(ColorToRGB(clWindow));
    EXPECT_EQ(PixelOf(f, 75 + 37, 2 + 16), 0xFF0000u);  // the image centred in the cell's top
    EXPECT_EQ(PixelOf(f, 75 + 20, 2 + 16), window);
    TRect label = RectOf(1, drLabel);
    EXPECT_EQ(PixelOf(f, label.Left + 1, (label.Top + label.Bottom) / 2), highlight);
    EXPECT_EQ(PixelOf(f, label.Left - 1, (label.Top + label.Bottom) / 2), window);

    lv->SetViewStyle(vsList);
    Pump();
    label = RectOf(1, drLabel);
    EXPECT_EQ(PixelOf(f, label.Left + 1, (label.Top + label.Bottom) / 2), highlight);
    EXPECT_EQ(PixelOf(f, label.Left + 43, (label.Top + label.Bottom) / 2), window);  // past the text's box
    lv->SetLargeImages(nullptr);
}
