// The skinned list view in the job list's configuration (report view, 25 columns of which 18 are
// 0 wide, grid lines, row select, two external bars with the vertical one hidden at first, plain
// and skinned): the bars following rows and columns and scrolling the list, the row under the
// header, the skin's font and colours, and the DrawSkin painter's pixels (selected item, check
// pictures, grid lines, sub-items by the event). In the icon views the bars count pixels, in the
// list view whole columns.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_list_view.h"
#include "skin/core/marks.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

struct ListViewTest : SkinControlFixture {
    TbsSkinListView* List = nullptr;
    TbsSkinScrollBar* HBar = nullptr;
    TbsSkinScrollBar* VBar = nullptr;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 400, 300);
    }
    // The job list: 7 columns of 40 pixels and 18 of none, 300 x 150, bars below and right.
    TbsSkinListView* MakeJobList()
    {
        List = new TbsSkinListView(Form);
        List->SetBounds(0, 0, 300, 150);
        List->SetViewStyle(vsReport);
        List->SetGridLines(true);
        List->SetRowSelect(true);
        List->SetReadOnly(true);
        List->SetHeaderSkinDataName(L"resizetoolbutton");
        for (int i = 0; i < 25; ++i) {
            TListColumn* c = List->Columns()->Add();
            c->SetCaption(L"");
            c->SetWidth(i < 7 ? 40 : 0);
        }
        List->SetParent(Form);
        HBar = new TbsSkinScrollBar(Form);
        HBar->SetBounds(0, 150, 300, 19);
        HBar->SetParent(Form);
        VBar = new TbsSkinScrollBar(Form);
        VBar->SetKind(sbVertical);
        VBar->SetSkinDataName(L"vscrollbar");
        VBar->SetBounds(300, 0, 19, 150);
        VBar->SetParent(Form);
        List->SetHScrollBar(HBar);
        List->SetVScrollBar(VBar);
        return List;
    }
    void AddRows(int N)
    {
        for (int i = 0; i < N; ++i) {
            TListItem* it = List->Items()->Add();
            it->SetCaption(L"");
            for (int k = 0; k < 24; ++k) it->SubItems()->Add(L"");
        }
        Pump();
    }
    // A list of captions "item N" in another view style, with the same two bars.
    void MakeViewList(TViewStyle Style, int W, int H, int Count)
    {
        List = new TbsSkinListView(Form);
        List->SetBounds(0, 0, W, H);
        List->SetViewStyle(Style);
        List->SetParent(Form);
        HBar = new TbsSkinScrollBar(Form);
        HBar->SetBounds(0, H, W, 19);
        HBar->SetParent(Form);
        VBar = new TbsSkinScrollBar(Form);
        VBar->SetKind(sbVertical);
        VBar->SetBounds(W, 0, 19, H);
        VBar->SetParent(Form);
        List->SetHScrollBar(HBar);
        List->SetVScrollBar(VBar);
        ShowForm();
        for (int i = 0; i < Count; ++i) List->Items()->Add()->SetCaption(L"item " + IntToStr(i % 10));
        Pump();
    }
    int HeaderHeight()
    {
        RECT r;
        GetWindowRect(List->TakenHeader(), &r);
        return r.bottom - r.top;
    }
};

}  // namespace

namespace {
// Bar records of 10 pixels across: a horizontal "hscrollbar" and a vertical "vscrollbar", each a
// kNormal picture with a kExtra1 thumb.
void AddBarSkins(SyntheticSkin& s)
{
    int p = s.AddPicture(80, 70);
    s.Block(p, Rect(0, 0, 60, 10), kNormal, false);
    s.Block(p, Rect(0, 10, 10, 70), kNormal, false);
    s.Block(p, Rect(60, 0, 72, 10), kExtra1, false);
    s.Block(p, Rect(20, 20, 30, 32), kExtra1, false);
    s.Control("hscrollbar", "scrollbar",
              "pictureindex=0\r\nskinrect=0,0,60,10\r\nlefttoppoint=10,0\r\nrighttoppoint=50,0\r\n"
              "trackarea=10,0,50,10\r\nupbuttonrect=50,0,60,10\r\ndownbuttonrect=0,0,10,10\r\n"
              "thumbrect=60,0,72,10\r\n");
    s.Control("vscrollbar", "scrollbar",
              "pictureindex=0\r\nskinrect=0,10,10,70\r\nlefttoppoint=0,10\r\nleftbottompoint=0,50\r\n"
              "trackarea=0,10,10,50\r\n"
              "upbuttonrect=0,50,10,60\r\ndownbuttonrect=0,0,10,10\r\nthumbrect=20,20,30,32\r\n");
}

// The job list's bars plain and on a skin of their own: the list drives them the same way.
struct JobListBars : ListViewTest, testing::WithParamInterface<bool> {};
}  // namespace

INSTANTIATE_TEST_SUITE_P(PlainAndSkinned, JobListBars, testing::Bool());

TEST_P(JobListBars, FollowRowsAndColumnsAndScrollTheList)
{
    SyntheticSkin skin;
    AddBarSkins(skin);
    skin.LoadInto(Model);
    MakeJobList();
    if (GetParam()) {
        HBar->SetSkinData(Model);
        VBar->SetSkinData(Model);
        EXPECT_EQ(HBar->Height(), 10);  // the records' sizes
        EXPECT_EQ(VBar->Width(), 10);
    }
    ShowForm();
    EXPECT_FALSE(HBar->Visible());
    EXPECT_FALSE(VBar->Visible());
    const int rows = List->VisibleRowCount();
    ASSERT_GT(rows, 3);
    AddRows(rows);
    EXPECT_FALSE(VBar->Visible());  // they all fit
    AddRows(3);
    ASSERT_TRUE(VBar->Visible());
    if (GetParam()) {
        EXPECT_EQ(PixelAt(VBar, 5, VBar->Height() - 15), kNormal);  // the skin's track
    }
    EXPECT_EQ(VBar->PageSize(), rows);
    EXPECT_EQ(VBar->LargeChange(), rows);
    EXPECT_EQ(VBar->SmallChange(), 1);
    EXPECT_EQ(VBar->Max(), rows + 2);
    EXPECT_FALSE(HBar->Visible());  // 280 pixels of columns in 300

    // Moving the bar by 3 scrolls 3 rows; the list's own scrolling moves the bar silently.
    VBar->SetPosition(3);
    EXPECT_EQ(List->TopItem()->Index(), 3);
    List->SetFocus();
    PressKey(VK_HOME);
    Pump();
    EXPECT_EQ(List->TopItem()->Index(), 0);
    EXPECT_EQ(VBar->Position(), 0);

    // Wider columns show the horizontal bar, with the corner while the vertical bar shows.
    List->Column(6)->SetWidth(100);
    Pump();
    ASSERT_TRUE(HBar->Visible());
    EXPECT_TRUE(HBar->Both());
    EXPECT_EQ(HBar->PageSize(), List->Width());
    HBar->SetPosition(25);
    EXPECT_EQ(List->HeaderScrollX(), 25);

    // Removing rows hides the vertical bar and clears the corner.
    for (int i = 0; i < 3; ++i) List->Items()->Delete(0);
    Pump();
    EXPECT_FALSE(VBar->Visible());
    EXPECT_FALSE(HBar->Both());

    // A list 5 pixels high leaves its bars as they are.
    AddRows(5);
    ASSERT_TRUE(VBar->Visible());
    List->SetHeight(5);
    Pump();
    EXPECT_TRUE(VBar->Visible());
}

namespace {
struct ViewBarsCase {
    TViewStyle style;
    int w, h, count;
    bool vShown, hShown;
};
}  // namespace

// The icon views count their bars in pixels with steps of half an item, the list view its
// horizontal bar in whole columns with no vertical bar; the ranges are the list's own.
TEST_F(ListViewTest, IconAndListViewBarsFollowTheirLayouts)
{
    const ViewBarsCase cases[] = {
        {vsIcon, 300, 150, 3, false, false},                                            // one row of cells
        {vsIcon, 300, 150, 12, true, false},                                            // three rows
        {vsIcon, 60, 150, 4, true, true},                                               // narrower than a cell
        {vsSmallIcon, 300, 150, 6, false, false},                                       // one row
        {vsSmallIcon, 300, 150, 60, true, false}, {vsList, 300, 150, 5, false, false},  // one column
        {vsList, 300, 150, 60, false, true},
    };
    for (const ViewBarsCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "style " << c.style << " " << c.w << "x" << c.h << " count " << c.count);
        MakeViewList(c.style, c.w, c.h, c.count);
        EXPECT_EQ(VBar->Visible(), c.vShown);
        EXPECT_EQ(HBar->Visible(), c.hShown);
        EXPECT_EQ(HBar->Both(), c.vShown);  // the corner follows the vertical bar alone
        const TSize cell = List->CellSize();
        const int per = List->CellsPerLine(), lines = (c.count + per - 1) / per;
        const int step = List->Items()->Item(0)->DisplayRect(drBounds).Height() / 2;
        if (c.vShown) {
            EXPECT_EQ(VBar->Max(), lines * cell.cy - 1);
            EXPECT_EQ(VBar->PageSize(), c.h);
            EXPECT_EQ(VBar->SmallChange(), step);
            EXPECT_EQ(VBar->LargeChange(), step);
        }
        if (c.hShown && c.style == vsList) {
            EXPECT_EQ(HBar->Max(), lines - 1);
            EXPECT_EQ(HBar->PageSize(), c.w / cell.cx);
            EXPECT_EQ(HBar->SmallChange(), 1);
            EXPECT_EQ(HBar->LargeChange(), 1);
        } else if (c.hShown) {
            EXPECT_EQ(HBar->Max(), cell.cx - 1);
            EXPECT_EQ(HBar->PageSize(), c.w);
            EXPECT_EQ(HBar->SmallChange(), step);
        }
        for (TControl* k : {static_cast<TControl*>(List), static_cast<TControl*>(HBar), static_cast<TControl*>(VBar)})
            delete k;
        List = nullptr;
    }
}

TEST_F(ListViewTest, IconViewBarsScrollPixelsAndListViewBarsWholeColumns)
{
    MakeViewList(vsIcon, 300, 150, 12);
    ASSERT_TRUE(VBar->Visible());
    List->SetReadOnly(false);
    ASSERT_TRUE(List->Items()->Item(0)->EditCaption());
    VBar->SetPosition(20);  // pixels; the edit in progress is dropped
    EXPECT_FALSE(List->IsEditing());
    EXPECT_EQ(List->Items()->Item(0)->DisplayRect(drBounds).Top, -20);
    // The list's own scrolling moves the bar at the next paint, silently.
    int changes = 0;
    VBar->OnChange = [&](TObject*) { ++changes; };
    List->Perform(WM_VSCROLL, SB_TOP);
    List->Invalidate();
    Pump();
    EXPECT_EQ(VBar->Position(), 0);
    EXPECT_EQ(changes, 0);

    for (TControl* k : {static_cast<TControl*>(List), static_cast<TControl*>(HBar), static_cast<TControl*>(VBar)})
        delete k;
    MakeViewList(vsList, 300, 150, 60);
    ASSERT_TRUE(HBar->Visible());
    const int w0 = List->CellSize().cx;
    HBar->SetPosition(2);  // two columns on
    EXPECT_EQ(List->Items()->Item(0)->DisplayRect(drBounds).Left, -2 * w0);
    HBar->SetPosition(1);
    EXPECT_EQ(List->Items()->Item(0)->DisplayRect(drBounds).Left, -w0);
    // Keys move the focus across the columns and the bar follows.
    List->SetFocus();
    PressKey(VK_END);
    Pump();
    EXPECT_EQ(HBar->Position(), HBar->Max() - HBar->PageSize() + 1);

    // Back to the report view with the rows not fitting: the vertical bar by rows again.
    List->SetViewStyle(vsReport);
    List->Columns()->Add()->SetWidth(100);
    Pump();
    EXPECT_TRUE(VBar->Visible());
    EXPECT_EQ(VBar->Max(), 59);
    EXPECT_FALSE(HBar->Visible());
}

TEST_F(ListViewTest, RowUnderTheHeaderTakesTheListColour)
{
    MakeJobList();
    List->SetColor(clWhite);
    ShowForm();
    AddRows(3);
    const int hh = HeaderHeight();
    // A column boundary carries a grid line in every row but the one under the header.
    EXPECT_EQ(PixelAt(List, 39, hh), 0xFFFFFFu);
    EXPECT_NE(PixelAt(List, 39, hh + 2), 0xFFFFFFu);
}

TEST_F(ListViewTest, SkinFontAndColoursAndDefaultsWithoutARecord)
{
    SyntheticSkin skin;
    skin.Control("listview", "listview",
                 "fontname=Arial\r\nfontheight=15\r\nfontcolor=" + IniColor(0x102030) +
                     "\r\nbgcolor=" + IniColor(0xF0E0D0) + "\r\n");
    skin.LoadInto(Model);
    MakeJobList();
    List->SetDefaultColor(clYellow);  // no record yet: applies at once
    EXPECT_EQ(List->Color(), clYellow);
    List->SetSkinData(Model);
    EXPECT_EQ(RgbOf(List->Color()), 0xF0E0D0u);
    EXPECT_EQ(List->Font()->Name(), L"Arial");
    EXPECT_EQ(RgbOf(List->Font()->Color()), 0x102030u);
    List->SetDefaultColor(clRed);  // with a record: only stored
    EXPECT_EQ(RgbOf(List->Color()), 0xF0E0D0u);
    List->SetSkinDataName(L"none");
    List->ChangeSkinData();
    EXPECT_EQ(List->Color(), clRed);
    EXPECT_EQ(List->Font()->Name(), L"Tahoma");
}

namespace {

// Item pictures (active kHot, focused kFocused), check pictures (checked kExtra1, unchecked
// kExtra2) and a list record whose grid line colour is one eighth from white toward black.
void AddItemSkin(SyntheticSkin& s)
{
    int p = s.AddPicture(40, 20);
    s.Block(p, Rect(0, 0, 20, 10), kHot, false);
    s.Block(p, Rect(20, 0, 40, 10), kFocused, false);
    s.Block(p, Rect(0, 10, 8, 18), kExtra1, false);
    s.Block(p, Rect(8, 10, 16, 18), kExtra2, false);
    s.Pixel(p, 0, 17, kKey);  // the bottom-left pixel names the transparent colour
    s.Pixel(p, 8, 17, kKey);
    s.Control("listbox", "listbox",
              "pictureindex=0\r\nitemrect=0,0,20,10\r\nactiveitemrect=0,0,20,10\r\nfocusitemrect=20,0,40,10\r\n"
              "itemtextrect=2,2,18,8\r\n");
    s.Control("checkbox", "checkradio",
              "pictureindex=0\r\ncheckimagerect=0,10,8,18\r\nuncheckimagerect=8,10,16,18\r\n");
    s.Control("listview", "listview", "fontcolor=0\r\nbgcolor=" + IniColor(0xFFFFFF) + "\r\n");
}

}  // namespace

TEST_F(ListViewTest, DrawSkinPaintsSelectionChecksAndGridLines)
{
    SyntheticSkin skin;
    AddItemSkin(skin);
    skin.LoadInto(Model);
    MakeJobList();
    List->SetGridLines(false);
    List->SetFullDrag(true);
    List->SetDrawSkin(true);
    EXPECT_FALSE(List->FullDrag());
    List->SetDrawSkinLines(true);
    List->SetCheckboxes(true);
    List->SetSkinData(Model);
    ShowForm();
    AddRows(3);
    List->Items()->Item(0)->SetChecked(true);
    List->Items()->Item(1)->SetSelected(true);
    Pump();
    const TRect r0 = List->Items()->Item(0)->DisplayRect(drBounds);
    const TRect r1 = List->Items()->Item(1)->DisplayRect(drBounds);
    const int midY = (r1.Top + r1.Bottom) / 2;
    // The selected row on the active picture while the list is not focused, the focused one
    // after; the other rows on the list colour.
    EXPECT_EQ(PixelAt(List, 100, midY), kHot);
    List->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(List, 100, midY), kFocused);
    EXPECT_EQ(PixelAt(List, 100, (r0.Top + r0.Bottom) / 2), 0xFFFFFFu);
    // Check pictures left of the icon rectangle, centred on the row.
    const TRect ic = List->Items()->Item(0)->DisplayRect(drIcon);
    const int cx = ic.Left - 8 - 1 + 4;
    EXPECT_EQ(PixelAt(List, cx, (r0.Top + r0.Bottom) / 2 - 1), kExtra1);
    EXPECT_EQ(PixelAt(List, cx, (List->Items()->Item(2)->DisplayRect(drBounds).Top + r0.Height() / 2) - 1), kExtra2);
    // Grid lines in the skin's line colour at the column edges and under each row.
    const uint32_t line = Rgb(ColorToRGB(AverageColor(AverageColor(AverageColor(0, clWhite), clWhite), clWhite)));
    EXPECT_EQ(PixelAt(List, 40, (r0.Top + r0.Bottom) / 2), line);
    EXPECT_EQ(PixelAt(List, 250, r0.Bottom - 1), line);
    EXPECT_EQ(PixelAt(List, 290, r0.Bottom - 1), line);  // on to the list's right edge
}

TEST_F(ListViewTest, DrawSkinSubItemsByTheEventOnTheListAndOnTheSelectionPicture)
{
    SyntheticSkin skin;
    AddItemSkin(skin);
    skin.LoadInto(Model);
    MakeJobList();
    List->SetGridLines(false);
    List->SetDrawSkin(true);
    List->SetSkinData(Model);
    std::vector<std::string> calls;
    List->OnDrawSkinSubItem = [&](TObject*, TListItem* Item, int Sub, TCustomDrawState, TCanvas* C, const TRect& R) {
        if (Sub != 0) return;
        calls.push_back(std::to_string(Item->Index()) + ":" + std::to_string(R.Left) + "," + std::to_string(R.Width()));
        C->Brush()->SetColor(clRed);
        C->FillRect(R);
    };
    ShowForm();
    AddRows(2);
    List->Items()->Item(1)->SetSelected(true);
    calls.clear();
    List->Invalidate();
    Pump();
    const TRect r0 = List->Items()->Item(0)->DisplayRect(drBounds);
    const TRect r1 = List->Items()->Item(1)->DisplayRect(drBounds);
    const int label = List->Items()->Item(1)->DisplayRect(drLabel).Left;
    // Column 1 lies at 40..80: the cell 3 pixels in on each side, on the list's canvas for a
    // plain row, on the selection picture (its own coordinates) for the selected one.
    EXPECT_NE(std::find(calls.begin(), calls.end(), "0:43,34"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "1:" + std::to_string(43 - label) + ",34"), calls.end());
    EXPECT_EQ(PixelAt(List, 60, (r0.Top + r0.Bottom) / 2), 0xFF0000u);
    EXPECT_EQ(PixelAt(List, 41, (r0.Top + r0.Bottom) / 2), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(List, 60, (r1.Top + r1.Bottom) / 2), 0xFF0000u);
    EXPECT_EQ(PixelAt(List, 41, (r1.Top + r1.Bottom) / 2), kHot);
}

// The painter in the other views: the selection picture under the caption's box only (the icon
// view's label, the list view's caption with 4 pixels more), the rest of the cell the list's.
TEST_F(ListViewTest, DrawSkinSelectsTheCaptionInTheIconAndListViews)
{
    SyntheticSkin skin;
    AddItemSkin(skin);
    skin.LoadInto(Model);
    for (TViewStyle style : {vsIcon, vsList}) {
        SCOPED_TRACE(testing::Message() << "style " << style);
        MakeViewList(style, 300, 150, 6);
        List->SetDrawSkin(true);
        List->SetSkinData(Model);
        List->Items()->Item(1)->SetSelected(true);
        Pump();
        const TRect label = List->Items()->Item(1)->DisplayRect(drLabel);
        const int y = label.Top + 1;
        EXPECT_EQ(PixelAt(List, label.Left + 1, y), kHot);
        const int end = style == vsIcon ? label.Right : label.Left + List->Canvas()->TextWidth(L"item 1") + 2 + 4;
        EXPECT_EQ(PixelAt(List, end - 1, y), kHot);
        EXPECT_EQ(PixelAt(List, end + 1, y), 0xFFFFFFu);
        for (TControl* k : {static_cast<TControl*>(List), static_cast<TControl*>(HBar), static_cast<TControl*>(VBar)})
            delete k;
        List = nullptr;
    }
}
