// The office list: selection and its events, keyboard and page keys over headers and disabled
// rows, the mouse with check boxes, pixel scrolling with its bar, and the built-in and skinned
// rows as pixels.
#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"
#include "skin/boxes/office_list_box.h"
#include "skin/controls/skin_scroll_bar.h"
#include "tests/skin/boxes/office_test_support.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;
using officetest::EventLog;

namespace {

struct OfficeListTest : SkinControlFixture {
    TbsSkinOfficeListBox* L = nullptr;
    EventLog Log;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 400, 400);
        L = new TbsSkinOfficeListBox(Form);
        L->SetParent(Form);
        L->SetBounds(10, 10, 150, 154);  // a 150-pixel item area in the built-in look
        L->OnItemClick = [this](TObject* S) { Log(S == L ? "item" : "item?"); };
        L->OnItemCheckClick = [this](TObject*) { Log("check"); };
        ShowForm();
    }
    // One row per letter: i item, h header, x disabled item.
    void Fill(const std::string& Layout)
    {
        L->Items()->Clear();
        for (char c : Layout) {
            auto* item = L->Items()->Add();
            item->SetHeader(c == 'h');
            item->SetEnabled(c != 'x');
            const int n = item->Index();
            item->OnClick = [this, n](TObject* S) { Log((S == L ? "click" : "click?") + std::to_string(n)); };
        }
        Pump();
    }
    std::string Actives() const
    {
        std::string s;
        for (int i = 0; i < L->Items()->Count(); ++i) s += L->Items()->Items(i)->Active ? '1' : '0';
        return s;
    }
    void ClickList(int X, int Y, int Button = 0)
    {
        TPoint p = Screen(L, X, Y);
        Click(p.X, p.Y, Button);
        Pump();
    }
};

std::string Repeat(char C, int N) { return std::string(static_cast<size_t>(N), C); }

}  // namespace

TEST_F(OfficeListTest, KeysSkipHeadersAndDisabledRowsAndPageKeysMovePagePlusOne)
{
    struct Case {
        std::string Layout;
        int From;
        WORD Key;
        int Expect;
        std::string Events;
    } cases[] = {
        {Repeat('i', 20), 10, VK_PRIOR, 4, "click4 item"},
        {Repeat('i', 20), 10, VK_NEXT, 16, "click16 item"},
        {Repeat('i', 20), 17, VK_NEXT, 19, "click19 item"},
        {"iihii", 0, VK_NEXT, 3, "click3 item"},  // stops at the first row past the header
        {"iihii", 4, VK_PRIOR, 1, "click1 item"},
        {"ixi", 0, VK_DOWN, 2, "click2 item"},
        {"ixi", 2, VK_LEFT, 0, "click0 item"},
        {"hii", 1, VK_UP, 1, ""},     // nothing above the first selectable row
        {"iix", 1, VK_RIGHT, 1, ""},  // nor below the last
        {"iii", 2, VK_NEXT, 2, ""},
        {"iii", 0, VK_PRIOR, 0, ""},
        {"iii", 1, VK_HOME, 1, ""},
    };
    L->SetFocus();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Layout + " from " + std::to_string(c.From) + " key " + std::to_string(c.Key));
        Fill(c.Layout);
        L->SetItemIndex(c.From);
        Log.Take();
        PressKey(c.Key);
        Pump();
        EXPECT_EQ(L->ItemIndex(), c.Expect);
        EXPECT_EQ(Log.Take(), c.Events);
    }
}

TEST_F(OfficeListTest, SettingTheIndexFiresEveryTimeAndActiveItemNever)
{
    Fill("iiii");
    L->SetItemIndex(2);
    L->SetItemIndex(2);
    EXPECT_EQ(Log.Take(), "click2 item click2 item");
    EXPECT_EQ(Actives(), "0010");
    L->SetItemIndex(-1);  // only repaints: the flags stay
    EXPECT_EQ(L->ItemIndex(), -1);
    EXPECT_EQ(Actives(), "0010");
    L->SetActiveItem(1);
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_EQ(Actives(), "0100");
    EXPECT_EQ(Log.Take(), "");
    // Past the last item: refused before anything changes.
    EXPECT_THROW(L->SetItemIndex(4), EListError);
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_EQ(Actives(), "0100");
    EXPECT_EQ(Log.Take(), "");
}

TEST_F(OfficeListTest, LoadingSetsTheIndexSilently)
{
    Fill("iii");
    L->BeginLoading();
    L->SetItemIndex(1);
    L->EndLoading();
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_EQ(Log.Take(), "");
}

TEST_F(OfficeListTest, ClearKeepsTheIndexAndANewItemThereStartsActive)
{
    Fill("iii");
    L->SetItemIndex(1);
    L->Items()->Clear();
    EXPECT_EQ(L->ItemIndex(), 1);
    L->Items()->Add();
    auto* second = L->Items()->Add();
    EXPECT_FALSE(L->Items()->Items(0)->Active);
    EXPECT_TRUE(second->Active);
}

TEST_F(OfficeListTest, MouseSelectsOnReleaseAndTogglesChecksLeftOfTheCheckArea)
{
    struct Case {
        int Preselect;
        int Button;
        int X;  // pixels right of the row's left edge
        std::string Events;
        bool Checked;
    } cases[] = {
        {0, 0, 13, "click1 item check", true},  // selects, then toggles
        {0, 0, 15, "click1 item", false},       // only selects
        {1, 1, 5, "check", true},               // a right click toggles the selected row
        {0, 1, 5, "", false},                   // but neither selects nor toggles another
    };
    L->SetShowCheckBoxes(true);
    for (const auto& c : cases) {
        SCOPED_TRACE("button " + std::to_string(c.Button) + " x " + std::to_string(c.X));
        Fill("iii");
        L->SetItemIndex(c.Preselect);
        Log.Take();
        const TRect r = L->Items()->Items(1)->ItemRect;
        EXPECT_EQ(L->CheckOffset(), 14);
        ClickList(r.Left + c.X, r.Top + 10, c.Button);
        EXPECT_EQ(Log.Take(), c.Events);
        EXPECT_EQ(L->Items()->Items(1)->Checked(), c.Checked);
    }
}

TEST_F(OfficeListTest, HeadersAndDisabledRowsAreNotHitAndSpaceTogglesTheSelectedBox)
{
    Fill("hix");
    L->SetShowCheckBoxes(true);
    ClickList(60, 2 + 5);
    ClickList(60, 2 + 20 + 30 + 5);
    EXPECT_EQ(L->ItemIndex(), -1);
    EXPECT_EQ(Log.Take(), "");
    EXPECT_EQ(L->ItemAtPos(60, 2 + 20 + 30 + 5), -1);
    EXPECT_EQ(L->ItemAtPos(60, 2 + 20 + 5), 1);
    ClickList(60, 2 + 20 + 5);
    EXPECT_TRUE(L->Focused());
    EXPECT_EQ(Log.Take(), "click1 item");
    PressKey(VK_SPACE);
    Pump();
    EXPECT_EQ(Log.Take(), "check");
    EXPECT_TRUE(L->Items()->Items(1)->Checked());
}

TEST_F(OfficeListTest, PressAndDragSelectWithoutEventsUntilRelease)
{
    Fill(Repeat('i', 4));
    TPoint a = Screen(L, 50, 2 + 5), b = Screen(L, 50, 2 + 60 + 5);
    vxwin::InjectMouseMove(a.X, a.Y);
    vxwin::InjectMouseButton(0, true, a.X, a.Y);
    vxwin::InjectMouseMove(b.X, b.Y);
    Pump();
    EXPECT_EQ(L->ItemIndex(), 2);
    EXPECT_EQ(Log.Take(), "");
    vxwin::InjectMouseButton(0, false, b.X, b.Y);
    Pump();
    EXPECT_EQ(Log.Take(), "click2 item");
    // Hovering selects only with MouseMoveChangeIndex.
    TPoint c = Screen(L, 50, 2 + 30 + 5);
    vxwin::InjectMouseMove(c.X, c.Y);
    Pump();
    EXPECT_EQ(L->ItemIndex(), 2);
    L->SetMouseMoveChangeIndex(true);
    vxwin::InjectMouseMove(c.X, c.Y + 1);
    Pump();
    EXPECT_EQ(L->ItemIndex(), 1);
    EXPECT_EQ(Log.Take(), "");
}

TEST_F(OfficeListTest, TheBarExistsExactlyWhileTheContentIsTaller)
{
    Fill(Repeat('i', 5));  // 150 pixels in 150: fits
    EXPECT_EQ(L->ScrollBar(), nullptr);
    L->Items()->Add();
    ASSERT_NE(L->ScrollBar(), nullptr);
    EXPECT_EQ(L->ScrollBar()->Max(), 180);
    EXPECT_EQ(L->ScrollBar()->PageSize(), 150);
    EXPECT_EQ(L->ScrollBar()->LargeChange(), 150);
    EXPECT_EQ(L->ScrollBar()->BoundsRect(), Rect(150 - 1 - 19, 1, 150 - 1, 154 - 1));
    // The rows leave room for the bar.
    EXPECT_EQ(L->Items()->Items(0)->ItemRect.Right, 150 - 2 - 18);
    L->Items()->Delete(5);
    EXPECT_EQ(L->ScrollBar(), nullptr);
    // Inside the update bracket the range waits for its end.
    L->BeginUpdateItems();
    for (int i = 0; i < 10; ++i) L->Items()->Add();
    EXPECT_EQ(L->ScrollBar(), nullptr);
    L->EndUpdateItems();
    EXPECT_NE(L->ScrollBar(), nullptr);
}

TEST_F(OfficeListTest, ScrollingToARowKeepsALeadingHeaderInView)
{
    Fill("h" + Repeat('i', 19));
    L->SetItemIndex(19);
    EXPECT_GT(L->ScrollOffset(), 0);
    L->SetItemIndex(1);
    EXPECT_EQ(L->ScrollOffset(), 0);
    Fill(Repeat('i', 20));
    L->SetItemIndex(19);
    // The last row's bottom one pixel above the area's bottom.
    EXPECT_EQ(L->ScrollOffset(), 2 + 600 + 2 - 154 + 1);
    L->SetItemIndex(1);
    EXPECT_EQ(L->ScrollOffset(), 30);
    EXPECT_EQ(L->ScrollBar()->Position(), 30);
}

TEST_F(OfficeListTest, GrowingClosesTheGapUnderScrolledContentButNeverPastTheTop)
{
    Fill(Repeat('i', 20));
    L->SetItemIndex(19);
    ASSERT_EQ(L->ScrollOffset(), 451);
    L->SetHeight(254);
    Pump();
    EXPECT_EQ(L->ScrollOffset(), 350);
    EXPECT_EQ(L->Items()->Items(19)->ItemRect.Bottom, 254 - 2);
    L->SetHeight(700);
    Pump();
    EXPECT_EQ(L->ScrollOffset(), 0);
    EXPECT_EQ(L->ScrollBar(), nullptr);
}

TEST_F(OfficeListTest, TheWheelTowardsTheUserScrollsOnByARow)
{
    Fill(Repeat('i', 20));
    L->SetFocus();
    TPoint p = Screen(L, 50, 50);
    vxwin::InjectMouseWheel(-120, p.X, p.Y);
    Pump();
    EXPECT_EQ(L->ScrollOffset(), 30);
    vxwin::InjectMouseWheel(120, p.X, p.Y);
    vxwin::InjectMouseWheel(120, p.X, p.Y);
    Pump();
    EXPECT_EQ(L->ScrollOffset(), 0);
    EXPECT_EQ(L->ItemIndex(), -1);
}

TEST_F(OfficeListTest, HeightsAndTheItemHeightFloor)
{
    EXPECT_EQ(L->CalcHeight(7), 5);
    Fill("iii");
    EXPECT_EQ(L->CalcHeight(7), 95);
    EXPECT_EQ(L->CalcHeight(2), 65);
    L->SetItemHeight(0);
    EXPECT_EQ(L->ItemHeight(), 1);
    L->SetItemIndex(0);
    L->FindPageDown();  // p = 150 div 1
    EXPECT_EQ(L->ItemIndex(), 2);
}

// ---- pixels ----

TEST_F(OfficeListTest, BuiltInRowsFrameHighlightHeaderSeparatorAndFocus)
{
    Fill("hiix");
    L->SetShowLines(true);
    L->Items()->Items(0)->SetCaption(L"");
    L->SetItemIndex(1);
    Pump();
    auto rgb = [](TColor C) { return RgbOf(ColorToRGB(C)); };
    EXPECT_EQ(PixelAt(L, 0, 0), rgb(clBtnShadow));              // frame
    EXPECT_EQ(PixelAt(L, 1, 1), rgb(clWindow));                 // inside the frame
    EXPECT_EQ(PixelAt(L, 100, 2 + 10), rgb(clBtnShadow));       // header
    EXPECT_EQ(PixelAt(L, 100, 2 + 20 + 15), rgb(clHighlight));  // selected row
    EXPECT_EQ(PixelAt(L, 100, 2 + 50 + 15), rgb(clWindow));     // plain row
    EXPECT_EQ(PixelAt(L, 100, 2 + 80 - 1), rgb(clBtnFace));     // its separator
    EXPECT_EQ(PixelAt(L, 100, 2 + 110 + 5), rgb(clWindow));     // below the rows
    // Unfocused no focus rectangle; focused the selected row's corner changes.
    EXPECT_EQ(PixelAt(L, 2, 2 + 20), rgb(clHighlight));
    L->SetFocus();
    Pump();
    EXPECT_NE(PixelAt(L, 2, 2 + 20), rgb(clHighlight));
}

namespace {

// A list skin: the frame (normal), rows selected with focus (focused) and without (hot), a
// "menuheader" (extra 2), a "label" (extra 3) and "checklistbox" pictures whose bottom-left
// pixel (the mark colour) is their transparent key.
void ListSkin(SyntheticSkin& S, bool MenuHeader, bool Label, bool CheckList)
{
    int p = S.AddPicture(200, 80);
    S.Block(p, Rect(0, 0, 40, 40), kNormal);
    S.Block(p, Rect(60, 0, 80, 20), kHot);
    S.Block(p, Rect(80, 0, 100, 20), kFocused);
    S.Block(p, Rect(100, 0, 120, 20), kExtra2, false);
    S.Block(p, Rect(120, 0, 140, 20), kExtra3, false);
    // Check pictures 10 x 10: a down-coloured square in a ring of the key (extra 1).
    S.Block(p, Rect(0, 50, 10, 60), kExtra1, false);
    S.Block(p, Rect(2, 52, 8, 58), kDown, false);
    S.Block(p, Rect(10, 50, 20, 60), kExtra1, false);
    S.Block(p, Rect(12, 52, 18, 58), kDisabled, false);
    S.Control("listbox", "listbox",
              "pictureindex=0\nskinrect=0,0,40,40\nlefttoppoint=4,4\nrighttoppoint=36,4\nleftbottompoint=4,36\n"
              "rightbottompoint=36,36\nclientrect=4,4,36,36\nitemrect=40,0,60,20\nactiveitemrect=60,0,80,20\n"
              "focusitemrect=80,0,100,20\nitemtextrect=2,2,18,18\nfontcolor=" +
                  IniColor(0x000001));
    if (MenuHeader) S.Control("menuheader", "label", "pictureindex=0\nskinrect=100,0,120,20\nclientrect=2,2,18,18");
    if (Label) S.Control("label", "label", "pictureindex=0\nskinrect=120,0,140,20\nclientrect=2,2,18,18");
    if (CheckList)
        S.Control("checklistbox", "checklistbox",
                  "pictureindex=0\nskinrect=0,0,40,40\ncheckimagerect=0,50,10,60\nuncheckimagerect=10,50,20,60");
}

}  // namespace

TEST_F(OfficeListTest, SkinnedSelectedRowsFollowTheFocusAndHeadersFallBackToLabel)
{
    SyntheticSkin s;
    ListSkin(s, true, true, false);
    s.LoadInto(Model);
    L->SetSkinData(Model);
    Fill("hii");
    L->SetItemIndex(1);
    Pump();
    // Area from (4, 4); the header 20 high, rows 30.
    EXPECT_EQ(PixelAt(L, 1, 1), kNormal);
    EXPECT_EQ(PixelAt(L, 60, 4 + 10), kExtra2);       // "menuheader"
    EXPECT_EQ(PixelAt(L, 60, 4 + 20 + 15), kHot);     // selected, not focused
    EXPECT_EQ(PixelAt(L, 60, 4 + 50 + 15), kNormal);  // plain rows show the frame's client
    L->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(L, 60, 4 + 20 + 15), kFocused);
    // Without "menuheader" the header comes from "label"; with neither it stays blank.
    L->SetHeaderSkinDataName(L"none");
    L->Repaint();
    EXPECT_EQ(PixelAt(L, 60, 4 + 10), kExtra3);
}

TEST_F(OfficeListTest, SkinnedCheckPicturesAreKeyedByTheirBottomLeftPixel)
{
    SyntheticSkin s;
    ListSkin(s, false, false, true);
    s.LoadInto(Model);
    L->SetSkinData(Model);
    L->SetShowCheckBoxes(true);
    Fill("ii");
    L->Items()->Items(0)->SetChecked(true);
    Pump();
    // Content from (4 + 2, row top + 2); the picture centred in the row's 26 pixels.
    const int x = 6, y0 = 4 + 2 + 13 - 5, y1 = 4 + 30 + 2 + 13 - 5;
    EXPECT_EQ(PixelAt(L, x + 4, y0 + 4), kDown);      // checked picture
    EXPECT_EQ(PixelAt(L, x + 4, y1 + 4), kDisabled);  // unchecked picture
    EXPECT_EQ(PixelAt(L, x, y0), kNormal);            // its key ring shows the frame behind
    EXPECT_EQ(L->CheckOffset(), 15);
    // A click 14 pixels in toggles (inside the 15-pixel check area).
    ClickList(4 + 14, 4 + 30 + 10);
    EXPECT_EQ(Log.Take(), "click1 item check");
    EXPECT_TRUE(L->Items()->Items(1)->Checked());
}

TEST_F(OfficeListTest, SkinnedWithoutCheckRecordDrawsTheMarkAndRowsWithoutItemRecordStayBlank)
{
    SyntheticSkin s;
    ListSkin(s, false, false, false);
    s.LoadInto(Model);
    L->SetSkinData(Model);
    L->SetShowCheckBoxes(true);
    Fill("i");
    L->Items()->Items(0)->SetChecked(true);
    Pump();
    EXPECT_EQ(L->CheckOffset(), 14);
    int marks = 0;
    for (int y = 4; y < 34; ++y)
        for (int x = 6; x < 18; ++x) marks += PixelAt(L, x, y) != kNormal;
    EXPECT_GT(marks, 5);
    L->SetItemSkinDataName(L"missing");
    L->Repaint();
    marks = 0;
    for (int y = 4; y < 34; ++y)
        for (int x = 6; x < 18; ++x) marks += PixelAt(L, x, y) != kNormal;
    EXPECT_EQ(marks, 0);
}
