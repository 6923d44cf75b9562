// The skinned combo box through real messages: the order of its events for every way a value is
// set, picked or cancelled, the drop-down window (rows, placement, no activation, drag scrolling)
// and the built-in face.
#include <gtest/gtest.h>

#include "platform/base/main_thread.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/core/os_layers.h"
#include "tests/skin/boxes/box_fixture.h"

using namespace skintest;

namespace {

struct ComboTest : BoxFixture {
    std::vector<std::string> Log;
    TbsSkinComboBox* Other = nullptr;

    void SetUp() override
    {
        BoxFixture::SetUp();
        Form->SetBounds(100, 100, 300, 200);
    }
    // The options dialog's thread combo ("1" to "19") or a parameter combo, logging its events.
    TbsSkinComboBox* Make(int Count = 19, const String& Prefix = L"", int Top = 10)
    {
        auto* c = new TbsSkinComboBox(Form);
        c->SetParent(Form);
        c->SetBounds(10, Top, 120, 20);
        c->SetDropDownCount(8);
        for (int i = 0; i < Count; ++i) c->Items()->Add(Prefix + IntToStr(i + 1));
        c->OnChange = [this](TObject*) { Log.push_back("change"); };
        c->OnClick = [this](TObject*) { Log.push_back("click"); };
        c->OnCloseUp = [this](TObject*) { Log.push_back("closeup"); };
        c->OnDropDown = [this](TObject*) { Log.push_back("dropdown"); };
        c->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("mouseup"); };
        return c;
    }
    TbsSkinComboBox* Ready(TbsSkinComboBox* C)
    {
        ShowForm();
        C->SetFocus();
        Pump();
        Log.clear();
        return C;
    }
    std::string Events()
    {
        std::string s;
        for (const auto& e : Log) s += (s.empty() ? "" : " ") + e;
        Log.clear();
        return s;
    }
    // A client point of the drop-down's item.
    static TPoint ItemPoint(TbsSkinComboBox* C, int Index)
    {
        TbsListBox* inner = C->ListBox()->ListBox;
        const TRect r = inner->ItemRect(Index);
        return C->ScreenToClient(inner->ClientToScreen(Point(10, r.Top + r.Height() / 2)));
    }
};

}  // namespace

TEST_F(ComboTest, SettingItemIndexFiresChangeOnlyForANewText)
{
    TbsSkinComboBox* c = Make(4);
    c->Items()->Strings(2);
    c->Items()->Put(3, L"2");  // "1", "2", "3", "2"
    Ready(c);
    struct Row {
        int Index;
        const char* Events;
        const wchar_t* Text;
    };
    const Row rows[] = {
        {1, "change click", L"2"},  // another text
        {1, "click", L"2"},         // the same index
        {3, "click", L"2"},         // the same text at another index
        {-1, "click", L"2"},        // -1 keeps the text
        {7, "click", L"2"},         // past the items: refused, the index stays -1
        {0, "change click", L"1"},
    };
    for (const Row& r : rows) {
        c->SetItemIndex(r.Index);
        EXPECT_EQ(Events(), r.Events) << "index " << r.Index;
        EXPECT_EQ(c->Text(), String(r.Text)) << "index " << r.Index;
    }
    // While the form loads nothing but OnChange fires.
    Form->BeginLoading();
    c->SetItemIndex(2);
    Form->EndLoading();
    EXPECT_EQ(Events(), "change");
    // Clearing keeps the text; a refill and a set show the item.
    c->Items()->Clear();
    EXPECT_EQ(c->ItemIndex(), -1);
    EXPECT_EQ(c->Text(), L"3");
    c->Items()->Add(L"x");
    c->SetItemIndex(0);
    EXPECT_EQ(Events(), "change click");
    EXPECT_EQ(c->Text(), L"x");
}

TEST_F(ComboTest, MousePicksAcceptOnTheComboReleaseAndCancelOutside)
{
    TbsSkinComboBox* c = Ready(Make());
    c->SetItemIndex(0);
    Log.clear();
    // Press on the button, drag into the list, release on the third row.
    Press(c, 110, 10);
    ASSERT_TRUE(c->IsPopupVisible());
    EXPECT_EQ(Events(), "dropdown");
    TPoint p = ItemPoint(c, 2);
    MoveTo(c, p.X, p.Y);
    EXPECT_EQ(c->ItemIndex(), 2) << "hover selects";
    EXPECT_EQ(c->Text(), L"1") << "the face keeps the old value while open";
    Release(c, p.X, p.Y);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(Events(), "change click closeup mouseup");
    EXPECT_EQ(c->Text(), L"3");

    // Click to open, click on a row to pick.
    ClickAt(c, 110, 10);
    ASSERT_TRUE(c->IsPopupVisible()) << "a release without entering leaves it open";
    p = ItemPoint(c, 4);
    MoveTo(c, p.X, p.Y);
    ClickAt(c, p.X, p.Y);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(Events(), "dropdown mouseup change click closeup mouseup");
    EXPECT_EQ(c->ItemIndex(), 4);

    // Enter the list, then release outside it: cancelled, back to the old index silently.
    Press(c, 110, 10);
    p = ItemPoint(c, 1);
    MoveTo(c, p.X, p.Y);
    Release(c, 250, 150);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(Events(), "dropdown closeup mouseup");
    EXPECT_EQ(c->ItemIndex(), 4);
    EXPECT_EQ(c->Text(), L"5");
}

TEST_F(ComboTest, KeysStepOpenAcceptAndCancel)
{
    TbsSkinComboBox* c = Ready(Make(21));
    c->SetItemIndex(20);
    Log.clear();
    Key(VK_PRIOR);
    EXPECT_EQ(c->ItemIndex(), 11) << "a step of DropDownCount + 1";
    EXPECT_EQ(Events(), "change click");
    c->SetItemIndex(0);
    Key(VK_NEXT);
    EXPECT_EQ(c->ItemIndex(), 7);
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(c->ItemIndex(), 5);
    c->SetItemIndex(0);
    Log.clear();
    Key(VK_UP);
    EXPECT_EQ(Events(), "") << "nothing above the first item";
    Key(VK_RIGHT);
    EXPECT_EQ(c->ItemIndex(), 1);
    Log.clear();

    Key(VK_DOWN, kAlt);
    ASSERT_TRUE(c->IsPopupVisible());
    EXPECT_EQ(GetFocus(), c->Handle()) << "the combo keeps the focus";
    EXPECT_EQ(GetActiveWindow(), Form->Handle());
    Key(VK_UP, kAlt);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(Events(), "dropdown closeup");

    Key(VK_DOWN, kAlt);
    const TPoint p = ItemPoint(c, 3);
    MoveTo(c, p.X, p.Y);
    Key(VK_ESCAPE);
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(Events(), "dropdown closeup");

    Key(VK_DOWN, kAlt);
    MoveTo(c, p.X, p.Y + 1);
    Key(VK_RETURN);
    EXPECT_EQ(c->ItemIndex(), 3);
    EXPECT_EQ(Events(), "dropdown change click closeup");
}

TEST_F(ComboTest, WheelStepsTheValueClosedAndOnlyTheListOpen)
{
    TbsSkinComboBox* c = Ready(Make());
    c->SetItemIndex(3);
    Log.clear();
    const TPoint s = Screen(c, 50, 10);
    vxwin::InjectMouseMove(s.X, s.Y);
    vxwin::InjectMouseWheel(-120, s.X, s.Y);
    Pump();
    EXPECT_EQ(c->ItemIndex(), 4);
    EXPECT_EQ(Events(), "change click");
    Key(VK_DOWN, kAlt);
    Log.clear();
    vxwin::InjectMouseWheel(120, s.X, s.Y);
    Pump();
    EXPECT_EQ(c->ItemIndex(), 3);
    EXPECT_EQ(Events(), "");
    EXPECT_EQ(c->Text(), L"5");
}

TEST_F(ComboTest, IncrementalSearchCyclesARepeatedLetterAfterAPause)
{
    TbsSkinComboBox* c = Make(0);
    for (const wchar_t* s : {L"apple", L"bb", L"banana", L"berry", L"cherry"}) c->Items()->Add(s);
    Ready(c);
    c->SetItemIndex(0);
    Type(L"b");
    EXPECT_EQ(c->Text(), L"bb");
    Type(L"b");
    EXPECT_EQ(c->Text(), L"bb") << "within 500 ms: a search for bb";
    Wait(500);
    Type(L"b");
    EXPECT_EQ(c->Text(), L"banana") << "after the pause: the next b";
    Wait(500);
    Type(L"B");
    EXPECT_EQ(c->Text(), L"berry");
    Wait(500);
    Type(L"z");
    EXPECT_EQ(c->Text(), L"berry");
}

TEST_F(ComboTest, TheDropDownShowsAtMostDropDownCountRowsAndOpensAboveNearTheBottom)
{
    TbsSkinComboBox* many = Make(20);
    TbsSkinComboBox* few = Make(3, L"", 50);
    ShowForm();
    many->DropDown();
    Pump();
    TbsPopupListBox* l = many->ListBox();
    EXPECT_EQ(l->ListBox->ClientHeight() / l->ListBox->ItemHeight(), 8);
    EXPECT_NE(l->ScrollBar, nullptr);
    EXPECT_EQ(l->Width(), 120);
    EXPECT_EQ(l->Top(), many->ClientToScreen(Point(0, 20)).Y) << "below the combo";
    many->CloseUp(false);
    few->DropDown();
    Pump();
    EXPECT_EQ(few->ListBox()->ListBox->ClientHeight() / few->ListBox()->ListBox->ItemHeight(), 3);
    EXPECT_EQ(few->ListBox()->ScrollBar, nullptr);
    EXPECT_EQ(GetWindowLongW(few->ListBox()->Handle(), GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
    EXPECT_TRUE(GetWindowLongW(few->ListBox()->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    few->CloseUp(false);

    TRect work;
    GetWindowMonitorRect(Form->Handle(), true, work);
    Form->SetBounds(100, work.Bottom - 80, 300, 60);
    Pump();
    many->DropDown();
    Pump();
    EXPECT_EQ(l->Top() + l->Height(), many->ClientToScreen(Point(0, 0)).Y) << "above the combo";
    EXPECT_EQ(l->Left(), many->ClientToScreen(Point(0, 0)).X);
}

TEST_F(ComboTest, DraggingAboveTheListScrollsEvery25Ms)
{
    StillTestClock clock;
    TbsSkinComboBox* c = Ready(Make());
    c->SetItemIndex(12);
    Press(c, 110, 10);
    const TPoint p = ItemPoint(c, 13);
    MoveTo(c, p.X, p.Y);
    const int start = c->ListBox()->ItemIndex();
    const TPoint top = c->ScreenToClient(c->ListBox()->ListBox->ClientToScreen(Point(10, -5)));
    MoveTo(c, top.X, top.Y);
    Wait(100, 5);
    EXPECT_EQ(c->ListBox()->ItemIndex(), start - 4);
    Release(c, top.X, top.Y);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 12) << "released outside the list";
}

TEST_F(ComboTest, FocusLossAndAPressOnAnotherControlClose)
{
    TbsSkinComboBox* c = Ready(Make());
    TbsSkinComboBox* other = Make(3, L"", 10);
    other->SetLeft(150);
    Pump();
    c->SetItemIndex(1);
    Key(VK_DOWN, kAlt);
    const TPoint p = ItemPoint(c, 3);
    MoveTo(c, p.X, p.Y);
    ASSERT_TRUE(c->IsPopupVisible());
    ASSERT_EQ(c->ListBox()->ItemIndex(), 3);
    Log.clear();
    Press(other, 50, 10);
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 1);
    EXPECT_EQ(Events(), "closeup dropdown") << "the press opens the other's list";
    Release(other, 50, 10);
    c->SetFocus();
    Key(VK_DOWN, kAlt);
    MoveTo(c, p.X, p.Y + 1);
    ASSERT_TRUE(c->IsPopupVisible());
    other->SetFocus();
    Pump();
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_EQ(c->ItemIndex(), 1);
}

TEST_F(ComboTest, TheBuiltInFaceInItsStates)
{
    TbsSkinComboBox* c = Make(3, L"item ");
    ShowForm();
    c->SetItemIndex(1);
    EXPECT_EQ(c->Button.R, Rect(101, 0, 120, 20));
    EXPECT_EQ(c->CBItem.R, Rect(2, 2, 100, 18));
    Pump();
    EXPECT_EQ(PixelAt(c, 0, 0), Shown(clBtnShadow)) << "frame";
    EXPECT_EQ(PixelAt(c, 1, 1), Shown(clWindow));
    EXPECT_EQ(PixelAt(c, 102, 2), Shown(clBtnFace)) << "normal button";
    EXPECT_EQ(PixelAt(c, 3, 3), Shown(clWindow)) << "unfocused item";
    MoveTo(c, 110, 3);
    EXPECT_EQ(PixelAt(c, 102, 2), Shown(kBoxHotFill)) << "hot button";
    EXPECT_EQ(PixelAt(c, 101, 0), Shown(kBoxHotFrame));
    c->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(c, 3, 3), Shown(clHighlight)) << "focused item";
    Press(c, 110, 3);
    EXPECT_EQ(PixelAt(c, 102, 2), Shown(kBoxDownFill)) << "pressed button";
    Release(c, 110, 3);
    c->CloseUp(false);
    MoveTo(c, 50, 100);
    c->SetEnabled(false);
    Pump();
    EXPECT_EQ(PixelAt(c, 102, 2), Shown(clBtnFace));
    bool grayArrow = false;
    for (int x = 102; x < 119; ++x)
        for (int y = 2; y < 18; ++y) grayArrow |= PixelAt(c, x, y) == Shown(clBtnShadow);
    EXPECT_TRUE(grayArrow) << "the disabled arrow";
}

namespace {
// Picture 0: a 40 x 20 face (kNormal, its item area kExtra1), an item look (kExtra2), a focused
// item look (kFocused), a hot and a disabled button (kHot, kDisabled).
void AddComboSkin(SyntheticSkin& s)
{
    const int p = s.AddPicture(80, 40);
    s.Block(p, Rect(0, 0, 40, 20), kNormal, false);
    s.Block(p, Rect(2, 2, 30, 18), kExtra1, false);
    s.Block(p, Rect(40, 0, 60, 12), kExtra2, false);
    s.Block(p, Rect(40, 16, 60, 28), kFocused, false);
    s.Block(p, Rect(60, 0, 70, 20), kHot, false);
    s.Block(p, Rect(70, 0, 80, 20), kDisabled, false);
    s.Control("combobox", "combobox",
              "pictureindex=0\r\nskinrect=0,0,40,20\r\nlefttoppoint=2,2\r\nrighttoppoint=30,2\r\n"
              "leftbottompoint=2,18\r\nrightbottompoint=30,18\r\nclientrect=2,2,30,18\r\n"
              "itemrect=40,0,60,12\r\nfocusitemrect=40,16,60,28\r\nitemtextrect=2,1,18,11\r\n"
              "buttonrect=30,0,40,20\r\nactivebuttonrect=60,0,70,20\r\nunenabledbuttonrect=70,0,80,20\r\n");
}
}  // namespace

TEST_F(ComboTest, SkinnedFacesFollowTheRecordWithAndWithoutUseSkinSize)
{
    SyntheticSkin skin;
    AddComboSkin(skin);
    skin.LoadInto(Model);
    TbsSkinComboBox* c = Make(3);
    TbsSkinComboBox* free = Make(3, L"", 40);
    free->SetUseSkinSize(false);
    c->SetSkinData(Model);
    free->SetSkinData(Model);
    free->SetBounds(10, 40, 120, 30);
    ShowForm();
    Pump();
    // With UseSkinSize: the button follows the right edge, the item look keeps its height.
    EXPECT_EQ(c->Height(), 20);
    EXPECT_EQ(c->Button.R, Rect(110, 0, 120, 20));
    EXPECT_EQ(c->CBItem.R, Rect(2, 2, 110, 18));
    EXPECT_EQ(PixelAt(c, 60, 10), kExtra2);
    EXPECT_EQ(PixelAt(c, 60, 16), kExtra1) << "below the 12-pixel item look";
    EXPECT_EQ(PixelAt(c, 115, 10), kNormal) << "the normal button is the background's";
    MoveTo(c, 115, 10);
    EXPECT_EQ(PixelAt(c, 115, 10), kHot);
    MoveTo(c, 50, 100);
    c->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(c, 60, 10), kFocused);
    c->SetEnabled(false);
    Pump();
    EXPECT_EQ(PixelAt(c, 115, 10), kDisabled);

    // Without it: the face stretches to 30 pixels and so does the item area.
    EXPECT_EQ(free->Height(), 30);
    EXPECT_EQ(free->CBItem.R, Rect(2, 2, 110, 28));
    EXPECT_EQ(PixelAt(free, 60, 26), kExtra2) << "stretched to the item area";
    EXPECT_EQ(PixelAt(free, 60, 1), kNormal);
}

TEST_F(ComboTest, TheEditStyleCompletesTypedTextAfterAPause)
{
    TbsSkinComboBox* c = Make(0);
    c->Items()->Add(L"apple");
    c->Items()->Add(L"apricot");
    c->SetStyle(bscbEditStyle);
    TbsCustomEdit* edit = c->Edit();
    ASSERT_NE(edit, nullptr);
    c->SetStyle(bscbEditStyle);
    EXPECT_EQ(c->Edit(), edit) << "the edit is made once";
    Ready(c);
    EXPECT_EQ(GetFocus(), edit->Handle()) << "the combo hands the focus on";
    Wait(250);
    Key('A', kNoMods, L"a");
    Wait(250);
    Key('P', kNoMods, L"p");
    EXPECT_EQ(edit->Text(), L"apple");
    EXPECT_EQ(c->Text(), L"apple");
    EXPECT_EQ(edit->SelStart(), 2);
    EXPECT_EQ(edit->SelLength(), 3);
    // Within 200 ms of the last completion: what was typed stays.
    edit->SetText(L"");
    Key('A', kNoMods, L"a");
    EXPECT_EQ(edit->Text(), L"a");

    // Up and Down step through the items with the whole text selected; the edit never sees them.
    c->SetItemIndex(0);
    Log.clear();
    Key(VK_DOWN);
    EXPECT_EQ(edit->Text(), L"apricot");
    EXPECT_EQ(edit->SelLength(), 7);
    EXPECT_EQ(Events(), "change click");
    Key(VK_UP);
    EXPECT_EQ(edit->Text(), L"apple");

    c->SetStyle(bscbFixedStyle);
    EXPECT_EQ(c->Edit(), nullptr);
    EXPECT_EQ(c->Text(), L"apple");
}

TEST_F(ComboTest, TheFadeInReachesItsAlphaAndStopsWhenHiddenOrFreedMeanwhile)
{
    TbsSkinComboBox* c = Ready(Make());
    c->SetAlphaBlend(true);
    c->SetAlphaBlendValue(200);
    c->SetAlphaBlendAnimation(true);
    c->DropDown();
    HWND list = c->ListBox()->Handle();
    EXPECT_TRUE(GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(c->ListBox()->CurrentAlpha(), 200);
    c->CloseUp(false);

    // Hidden by a message the fade runs.
    PostMessageW(c->Handle(), CM_CANCELMODE, 0, 0);
    c->DropDown();
    EXPECT_FALSE(c->IsPopupVisible());
    EXPECT_LT(c->ListBox()->CurrentAlpha(), 200);

    // Freed (and its list with it) by what the fade runs.
    QueueInMainThread([c] { c->Free(); });
    c->DropDown();
    Pump();

    c = Ready(Make());
    c->SetAlphaBlend(false);
    c->DropDown();
    EXPECT_FALSE(GetWindowLongW(c->ListBox()->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}
