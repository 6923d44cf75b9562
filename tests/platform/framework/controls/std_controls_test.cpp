// The smaller standard controls: TComboBox (choice by keys and the dropped list, events),
// TMemo (lines, the view following the end), TTrackBar (keys, channel clicks, dragging),
// TProgressBar, TSplitter (drag resizing with MinSize), TLabel (auto size, accelerator) and
// TPanel (bevels narrow the alignment area; pixels).
#include <gtest/gtest.h>

#include "platform/framework/controls/bevel.h"
#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/image.h"
#include "platform/framework/controls/label.h"
#include "platform/framework/controls/list_box.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/controls/panel.h"
#include "platform/framework/controls/progress_bar.h"
#include "platform/framework/controls/scroll_bar.h"
#include "platform/framework/controls/splitter.h"
#include "platform/framework/controls/track_bar.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
struct StdControls : ApplicationFixture {
    void SetUp() override
    {
        f = MakeForm(100, 100, 400, 300, clBtnFace);
        f->Show();
    }
    TForm* f = nullptr;
};
}  // namespace

TEST_F(StdControls, ComboBoxChoosesByKeysAndFromItsList)
{
    auto* cb = new TComboBox(f);
    cb->SetBounds(10, 10, 150, 21);
    cb->SetStyle(csDropDownList);
    cb->SetParent(f);
    cb->Items()->BeginUpdate();
    for (const wchar_t* s : {L"MKV格式", L"AVI格式", L"R&B"}) cb->Items()->Add(s);
    cb->Items()->EndUpdate();
    std::vector<std::string> log;
    cb->OnClick = [&](TObject*) { log.push_back("click"); };
    cb->OnChange = [&](TObject*) { log.push_back("change:" + std::to_string(cb->ItemIndex())); };
    cb->SetItemIndex(0);  // in code: no events
    EXPECT_EQ(cb->Text(), L"MKV格式");
    EXPECT_TRUE(log.empty());
    cb->SetFocus();
    Pump();
    PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(cb->ItemIndex(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"click", "change:1"}));
    // Dropped by a click; the third row (20 pixels each, from 2) is chosen.
    log.clear();
    TPoint below = cb->ClientToScreen(Point(0, cb->Height()));
    Click(120, 120);
    Click(below.X + 30, below.Y + 2 + 2 * 20 + 10);
    Pump();
    EXPECT_EQ(cb->ItemIndex(), 2);
    EXPECT_EQ(cb->Text(), L"R&B");
    EXPECT_EQ(log, (std::vector<std::string>{"click", "change:2"}));
    // Text finds its item; clearing the items drops the choice.
    cb->SetText(L"AVI格式");
    EXPECT_EQ(cb->ItemIndex(), 1);
    cb->Items()->Clear();
    EXPECT_EQ(cb->ItemIndex(), -1);
}

TEST_F(StdControls, MemoKeepsLinesAndFollowsTheEnd)
{
    auto* m = new TMemo(f);
    m->SetBounds(10, 10, 200, 60);
    m->SetParent(f);
    for (int i = 0; i < 50; ++i) m->Lines()->Add(L"第" + IntToStr(i) + L"行");
    EXPECT_EQ(m->Lines()->Count(), 50);
    EXPECT_EQ(m->TopLine() + m->VisibleLineCount(), 50);
    m->SetScrollBars(ssVertical);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(m->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nMax, 49);
    EXPECT_EQ(si.nPos, m->TopLine());
    m->Perform(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(m->TopLine(), 0);
    EXPECT_EQ(m->Text(), m->Lines()->Text());
    m->SetText(L"a\r\nb");
    EXPECT_EQ(m->Lines()->Count(), 2);
    EXPECT_EQ(m->Lines()->Get(1), L"b");
    m->SetFocus();
    m->SetSelStart(static_cast<int>(m->Text().size()));  // typing goes in at the caret
    Pump();
    vxwin::InjectText(L"c\rd");
    Pump();
    EXPECT_EQ(m->Lines()->Count(), 3);
    EXPECT_EQ(m->Lines()->Get(1), L"bc");
    EXPECT_EQ(m->Lines()->Get(2), L"d");
}

TEST_F(StdControls, TrackBarMovesByKeysClicksAndDragging)
{
    auto* tb = new TTrackBar(f);
    tb->SetBounds(10, 10, 150, 40);
    tb->SetParent(f);
    tb->SetMax(128);
    tb->SetPosition(128);
    int changes = 0;
    tb->OnChange = [&](TObject*) { ++changes; };
    tb->SetPosition(200);  // held at Max
    EXPECT_EQ(tb->Position(), 128);
    EXPECT_EQ(changes, 0);
    tb->SetFocus();
    Pump();
    PressKey(VK_LEFT);
    PressKey(VK_HOME);
    Pump();
    EXPECT_EQ(tb->Position(), 0);
    EXPECT_EQ(changes, 2);
    // A click on the channel right of the thumb pages towards it.
    TRect t = tb->ThumbRect();
    TPoint right = tb->ClientToScreen(Point(t.Right + 40, t.Top + 5));
    Click(right.X, right.Y);
    Pump();
    EXPECT_EQ(tb->Position(), tb->PageSize());
    // Dragging the thumb to the far end reaches Max.
    t = tb->ThumbRect();
    TPoint on = tb->ClientToScreen(Point(t.Left + 2, t.Top + 5));
    vxwin::AdvanceClock(2000);
    Drag(on.X, on.Y, on.X + 500, on.Y);
    Pump();
    EXPECT_EQ(tb->Position(), 128);
}

TEST_F(StdControls, ProgressBarFillsInProportion)
{
    auto* pb = new TProgressBar(f);
    pb->SetBounds(10, 100, 104, 16);
    pb->SetParent(f);
    pb->SetSmooth(true);
    pb->SetPosition(50);
    EXPECT_EQ(pb->FilledWidth(), 50);
    pb->SetPosition(150);
    EXPECT_EQ(pb->Position(), 100);
    pb->SetPosition(0);
    pb->SetStep(30);
    for (int i = 0; i < 4; ++i) pb->StepIt();
    EXPECT_EQ(pb->Position(), 20);  // 120 wraps past the end
    pb->SetPosition(50);
    Pump();
    EXPECT_EQ(PixelOf(f, 10 + 2 + 10, 108), Rgb(ColorToRGB(clHighlight)));
    EXPECT_NE(PixelOf(f, 10 + 2 + 70, 108), Rgb(ColorToRGB(clHighlight)));
}

TEST_F(StdControls, SplitterResizesItsNeighbourWithinMinSize)
{
    auto* left = new TColorBox(f);
    left->SetWidth(100);
    left->SetAlign(alLeft);
    left->SetParent(f);
    auto* split = new TSplitter(f);
    split->SetLeft(150);  // right of the left box
    split->SetParent(f);
    auto* client = new TColorBox(f, clLime);
    client->SetAlign(alClient);
    client->SetParent(f);
    EXPECT_EQ(split->Left(), 100);
    EXPECT_EQ(split->FindControl(), left);
    int moved = 0;
    split->OnMoved = [&](TObject*) { ++moved; };
    Pump();
    int sx = 100 + 101, sy = 100 + 50;
    Drag(sx, sy, sx + 60, sy);
    Pump();
    EXPECT_EQ(left->Width(), 160);
    EXPECT_EQ(split->Left(), 160);
    EXPECT_EQ(client->Left(), 163);
    EXPECT_EQ(moved, 1);
    // Never narrower than MinSize, and the other side keeps MinSize too.
    sx = 100 + 161;
    Drag(sx, sy, sx - 500, sy);
    Pump();
    EXPECT_EQ(left->Width(), split->MinSize());
    sx = 100 + split->MinSize() + 1;
    Drag(sx, sy, sx + 1000, sy);
    Pump();
    EXPECT_EQ(client->Width(), split->MinSize());
}

TEST_F(StdControls, LabelSizesToItsTextAndItsAcceleratorFocusesAControl)
{
    auto* l = new TLabel(f);
    l->SetParent(f);
    l->SetCaption(L"输出目录：");
    int w1 = l->Width();
    EXPECT_GT(w1, 20);
    l->SetCaption(L"输出目录：输出目录：");
    EXPECT_GT(l->Width(), w1 + 20);
    l->SetAutoSize(false);
    l->SetCaption(L"x");
    EXPECT_GT(l->Width(), w1 + 20);
    auto* e = new TEdit(f);
    e->SetTop(50);
    e->SetParent(f);
    l->SetCaption(L"&Name");
    l->SetFocusControl(e);
    Pump();
    PressKey('N', kAlt, L"n");
    Pump();
    EXPECT_TRUE(e->Focused());
    e->Free();
    EXPECT_EQ(l->FocusControl(), nullptr);
}

TEST_F(StdControls, PanelBevelsNarrowTheAlignmentAreaAndPaint)
{
    auto* p = new TPanel(f);
    p->SetBounds(0, 0, 200, 100);
    p->SetBevelOuter(bvRaised);
    p->SetBevelInner(bvLowered);
    p->SetBorderWidth(3);
    p->SetParent(f);
    auto* inner = new TColorBox(p, clBlue);
    inner->SetAlign(alClient);
    inner->SetParent(p);
    EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, 195, 95));
    auto* bevel = new TBevel(f);
    bevel->SetBounds(250, 10, 50, 50);
    bevel->SetParent(f);
    Pump();
    EXPECT_EQ(PixelOf(f, 0, 50), Rgb(ColorToRGB(clBtnHighlight)));  // raised outer bevel
    EXPECT_EQ(PixelOf(f, 199, 50), Rgb(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(PixelOf(f, 100, 50), Rgb(clBlue));
    EXPECT_EQ(PixelOf(f, 250, 30), Rgb(ColorToRGB(clBtnShadow)));  // lowered box
    EXPECT_EQ(PixelOf(f, 299, 30), Rgb(ColorToRGB(clBtnHighlight)));
}

TEST_F(StdControls, ListBoxSelectsByMouseAndKeysAndAnswersItsMessages)
{
    auto* lb = new TListBox(f);
    lb->SetBounds(10, 10, 150, 100);
    lb->SetParent(f);
    for (int i = 0; i < 30; ++i) lb->Items()->Add(L"行" + IntToStr(i));
    int clicks = 0;
    lb->OnClick = [&](TObject*) { ++clicks; };
    Pump();
    TRect r = lb->ItemRect(2);
    TPoint p = lb->ClientToScreen(Point(20, (r.Top + r.Bottom) / 2));
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(lb->ItemIndex(), 2);
    EXPECT_EQ(clicks, 1);
    PressKey(VK_END);
    Pump();
    EXPECT_EQ(lb->ItemIndex(), 29);
    EXPECT_EQ(lb->TopIndex(), 30 - (lb->ClientHeight() - 4) / lb->ItemHeight());
    EXPECT_EQ(lb->Perform(LB_GETCOUNT), 30);
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(lb->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nMax, 29);
    EXPECT_EQ(si.nPos, lb->TopIndex());
    lb->Perform(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(lb->TopIndex(), 0);
    lb->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(lb->TopIndex(), 1);
    EXPECT_EQ(lb->Perform(LB_GETCURSEL), 29);
    lb->Perform(LB_SETCURSEL, 5);
    EXPECT_EQ(lb->ItemIndex(), 5);
    EXPECT_EQ(clicks, 2);  // setting it in code does not click
    lb->SetMultiSelect(true);
    lb->SetSelected(7, true);
    lb->SetSelected(9, true);
    EXPECT_EQ(lb->SelCount(), 3);
    EXPECT_EQ(lb->Perform(LB_GETSELCOUNT), 3);
    lb->Items()->Delete(29);
    EXPECT_EQ(lb->Count(), 29);
    // Owner drawing: the handler paints the rows.
    lb->SetStyle(lbOwnerDrawFixed);
    lb->OnDrawItem = [lb](TWinControl*, int, const TRect& rr, TOwnerDrawState) {
        lb->Canvas()->Brush()->SetColor(clYellow);
        lb->Canvas()->FillRect(rr);
    };
    lb->SetTopIndex(0);
    Pump();
    EXPECT_EQ(PixelOf(f, 10 + 100, 10 + lb->ItemRect(0).Top + 2), Rgb(clYellow));
}

TEST_F(StdControls, ImageDrawsItsPictureAtSizeStretchedOrCentred)
{
    TBitmap bmp(4, 4);
    bmp.Canvas()->Brush()->SetColor(clRed);
    bmp.Canvas()->FillRect(Rect(0, 0, 4, 4));
    auto* img = new TImage(f);
    img->SetBounds(200, 150, 40, 40);
    img->SetParent(f);
    img->Picture()->SetGraphic(&bmp);
    Pump();
    EXPECT_EQ(PixelOf(f, 201, 151), Rgb(clRed));
    EXPECT_EQ(PixelOf(f, 230, 180), Rgb(ColorToRGB(clBtnFace)));
    img->SetStretch(true);
    Pump();
    EXPECT_EQ(PixelOf(f, 230, 180), Rgb(clRed));
    img->SetStretch(false);
    img->SetCenter(true);
    Pump();
    EXPECT_EQ(img->DestRect(), Bounds(18, 18, 4, 4));
    EXPECT_EQ(PixelOf(f, 219, 169), Rgb(clRed));
    EXPECT_EQ(PixelOf(f, 201, 151), Rgb(ColorToRGB(clBtnFace)));
    img->SetAutoSize(true);
    EXPECT_EQ(img->Width(), 4);
    EXPECT_EQ(img->Height(), 4);
}

TEST_F(StdControls, ScrollBarMovesByArrowsPagesAndThumb)
{
    auto* sb = new TScrollBar(f);
    sb->SetBounds(10, 200, 200, 17);
    sb->SetParent(f);
    sb->SetParams(0, 0, 99);
    sb->SetPageSize(10);
    sb->SetLargeChange(10);
    std::vector<TScrollCode> codes;
    sb->OnScroll = [&](TObject*, TScrollCode c, int&) { codes.push_back(c); };
    Pump();
    TPoint arrow = sb->ClientToScreen(Point(195, 8));
    Click(arrow.X, arrow.Y);  // the right arrow
    Pump();
    EXPECT_EQ(sb->Position(), 1);
    vxwin::AdvanceClock(2000);
    TPoint page = sb->ClientToScreen(Point(150, 8));
    Click(page.X, page.Y);  // right of the thumb: a page
    Pump();
    EXPECT_EQ(sb->Position(), 11);
    sb->SetPosition(500);
    EXPECT_EQ(sb->Position(), 90);  // the last page fills the bar
    TRect t = sb->ThumbRect();
    TPoint on = sb->ClientToScreen(Point(t.Left + 2, 8));
    vxwin::AdvanceClock(2000);
    Drag(on.X, on.Y, on.X - 1000, on.Y);
    Pump();
    EXPECT_EQ(sb->Position(), 0);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), scEndScroll);
    EXPECT_NE(std::find(codes.begin(), codes.end(), scTrack), codes.end());
}
