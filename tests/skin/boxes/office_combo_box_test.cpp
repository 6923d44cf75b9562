// The office combo box as the format panel holds it: a category combo whose change refills a
// preset combo, their events for every way of choosing, cancelling and moving, the drop-down's
// place and size, its layered fade-in, and the faces in each look.
#include <gtest/gtest.h>

#include "platform/win/user_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/controls/skin_scroll_bar.h"
#include "tests/skin/boxes/office_test_support.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;
using officetest::EventLog;
using officetest::MakePngList;

namespace {

std::vector<uint32_t> Colors(int N)
{
    std::vector<uint32_t> v;
    for (int i = 0; i < N; ++i) v.push_back(0x101010u * static_cast<uint32_t>(i % 15 + 1) + 0x000005u);
    return v;
}

struct FormatPanelTest : SkinControlFixture {
    TbsSkinOfficeComboBox* Cat = nullptr;
    TbsSkinOfficeComboBox* Pre = nullptr;
    TbsPngImageList* CatImages = nullptr;
    TbsPngImageList* PreImages = nullptr;
    EventLog Log;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 700, 900);
        Form->BeginLoading();
        CatImages = MakePngList(Form, 36, Colors(20));
        PreImages = MakePngList(Form, 32, {0xC02020, 0x20C020});
        Cat = Combo(10, 10, 131, 50, false, CatImages);
        Cat->SetListBoxWidth(130);
        for (int i = 0; i < 20; ++i) {
            auto* item = Cat->Items()->Add();
            item->SetCaption(L"cat " + IntToStr(i));
            item->SetImageIndex(i);
        }
        Cat->SetItemIndex(0);
        Pre = Combo(150, 10, 400, 60, true, PreImages);
        FillPresets(0);
        Form->EndLoading();
        Cat->OnClick = [this](TObject*) { Log("cc"); };
        Cat->OnChange = [this](TObject*) {
            Log("cch");
            FillPresets(Cat->ItemIndex());
        };
        Cat->OnCloseUp = [this](TObject*) { Log("ccu"); };
        Cat->OnDropDown = [this](TObject*) { Log("cdd"); };
        Cat->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { Log("cmu"); };
        Pre->OnClick = [this](TObject*) { Log("pc"); };
        Pre->OnChange = [this](TObject*) { Log("pch"); };
        ShowForm();
    }
    TbsSkinOfficeComboBox* Combo(int X, int Y, int W, int Rows, bool Titles, TCustomImageList* Images)
    {
        auto* c = new TbsSkinOfficeComboBox(Form);
        c->SetParent(Form);
        c->SetBounds(X, Y, W, 51);
        c->SetUseSkinSize(false);
        c->SetListBoxItemHeight(Rows);
        c->SetListBoxShowItemTitles(Titles);
        c->SetDropDownCount(4);
        c->SetImages(Images);
        return c;
    }
    // The catalogue's refill: clear, add captions and pictures, select the first.
    void FillPresets(int Category)
    {
        Pre->Items()->Clear();
        for (int i = 0; i < 15; ++i) {
            auto* item = Pre->Items()->Add();
            item->SetCaption(L"preset " + IntToStr(Category) + L"." + IntToStr(i) + L" (*.mkv)");
            item->SetImageIndex(i % 2);
        }
        Pre->SetItemIndex(0);
    }
    TbsPopupOfficeListBox* List() const { return Cat->ListBox(); }
    // The screen point of a row of the category's open list (built-in look: rows from 2).
    TPoint Row(int R) const
    {
        TRect b = List()->BoundsRect();
        return Point(b.Left + 40, b.Top + 2 + 50 * R - List()->ScrollOffset() + 25);
    }
    TPoint OnButton() const { return Screen(Cat, 131 - 8, 25); }
    void ClickScreen(TPoint P)
    {
        Click(P.X, P.Y);
        Pump();
    }
    void Key(int Vk, unsigned Mods = kNoMods)
    {
        PressKey(Vk, Mods);
        Pump();
    }
};

constexpr const char* kCategoryEvents = "cc cch pc pch";

}  // namespace

TEST_F(FormatPanelTest, SettingTheIndexFiresClickThenChangeEveryTimeButNotWhileLoading)
{
    EXPECT_EQ(Log.Take(), "");  // the loading sets fired nothing
    EXPECT_EQ(Pre->Items()->Count(), 15);
    Cat->SetItemIndex(3);
    EXPECT_EQ(Log.Take(), kCategoryEvents);
    Cat->SetItemIndex(3);
    EXPECT_EQ(Log.Take(), kCategoryEvents);
    EXPECT_EQ(Pre->ItemIndex(), 0);
    EXPECT_EQ(Pre->Items()->Items(14)->Caption(), L"preset 3.14 (*.mkv)");
    EXPECT_EQ(Cat->OldItemIndex(), 3);
}

TEST_F(FormatPanelTest, ReleasingAPressFromTheButtonOverARowAcceptsIt)
{
    TPoint b = OnButton();
    vxwin::InjectMouseMove(b.X, b.Y);
    vxwin::InjectMouseButton(0, true, b.X, b.Y);
    Pump();
    ASSERT_TRUE(Cat->IsPopupVisible());
    EXPECT_EQ(Log.Take(), "cdd");
    TPoint r = Row(2);
    vxwin::InjectMouseMove(r.X, r.Y);
    Pump();
    EXPECT_EQ(List()->ItemIndex(), 2);
    EXPECT_EQ(Cat->OldItemIndex(), 0);  // the face keeps the committed row
    vxwin::InjectMouseButton(0, false, r.X, r.Y);
    Pump();
    EXPECT_FALSE(Cat->IsPopupVisible());
    EXPECT_EQ(Log.Take(), "cc cch pc pch ccu cmu");
    EXPECT_EQ(Cat->ItemIndex(), 2);
    // A click on the button leaves the list open; a click on the chosen row accepts it again.
    ClickScreen(b);
    ASSERT_TRUE(Cat->IsPopupVisible());
    ClickScreen(Row(2));
    EXPECT_FALSE(Cat->IsPopupVisible());
    EXPECT_EQ(Log.Take(), "cdd cmu cc cch pc pch ccu cmu");
    EXPECT_EQ(Cat->ItemIndex(), 2);
}

TEST_F(FormatPanelTest, EscapeRestoresRowsChosenByMouseButKeepsRowsChosenByKeys)
{
    Cat->SetFocus();
    Key(VK_DOWN, kAlt);
    ASSERT_TRUE(Cat->IsPopupVisible());
    TPoint r = Row(3);
    vxwin::InjectMouseMove(r.X, r.Y);  // hovering selects in the list only
    Pump();
    EXPECT_EQ(List()->ItemIndex(), 3);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Cat->IsPopupVisible());
    EXPECT_EQ(Cat->ItemIndex(), 0);
    EXPECT_EQ(Log.Take(), "cdd");
    Key(VK_DOWN, kAlt);
    Key(VK_DOWN);  // commits at once, also while open
    EXPECT_EQ(Log.Take(), std::string("cdd ") + kCategoryEvents);
    EXPECT_TRUE(Cat->IsPopupVisible());
    Key(VK_ESCAPE);
    EXPECT_EQ(Cat->ItemIndex(), 1);
    EXPECT_EQ(Log.Take(), "");
    // Alt+Up cancels, Enter accepts the row the list shows.
    Key(VK_DOWN, kAlt);
    Key(VK_UP, kAlt);
    EXPECT_FALSE(Cat->IsPopupVisible());
    EXPECT_EQ(Log.Take(), "cdd");
    Key(VK_DOWN, kAlt);
    Key(VK_RETURN);
    EXPECT_FALSE(Cat->IsPopupVisible());
    EXPECT_EQ(Log.Take(), std::string("cdd ") + kCategoryEvents + " ccu");
}

TEST_F(FormatPanelTest, ArrowsAndPagesCommitAtOnceAndUpOnTheFirstRowStillFires)
{
    Cat->SetFocus();
    struct Case {
        int Vk;
        int Expect;
    } cases[] = {{VK_UP, 0}, {VK_RIGHT, 1}, {VK_NEXT, 4}, {VK_PRIOR, 1}, {VK_LEFT, 0}};
    // The list keeps its creation height (150, an area of 146: p = 2) until it first drops down.
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Vk);
        Key(c.Vk);
        EXPECT_EQ(Cat->ItemIndex(), c.Expect);
        EXPECT_EQ(Log.Take(), kCategoryEvents);
    }
}

TEST_F(FormatPanelTest, TheWheelTowardsTheUserSelectsThePreviousRowCommittingOnlyWhileClosed)
{
    Cat->SetFocus();
    Cat->SetItemIndex(2);
    Log.Take();
    TPoint p = Screen(Cat, 40, 25);
    vxwin::InjectMouseWheel(-120, p.X, p.Y);
    Pump();
    EXPECT_EQ(Cat->ItemIndex(), 1);
    EXPECT_EQ(Log.Take(), kCategoryEvents);
    Key(VK_DOWN, kAlt);
    vxwin::InjectMouseWheel(120, p.X, p.Y);
    Pump();
    EXPECT_EQ(List()->ItemIndex(), 2);
    EXPECT_EQ(Log.Take(), "cdd");
    Key(VK_ESCAPE);
    EXPECT_EQ(Cat->ItemIndex(), 1);
    EXPECT_EQ(Log.Take(), "");
}

TEST_F(FormatPanelTest, FocusLossAndCancelModeFromElsewhereCloseSilently)
{
    struct Case {
        const char* Name;
        std::function<void()> Cancel;
        bool StaysOpen;
    } cases[] = {
        {"focus to the preset combo", [this] { Pre->SetFocus(); }, false},
        {"cancel mode from the preset combo",
         [this] { Cat->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(Pre))); }, false},
        {"cancel mode without sender", [this] { Cat->Perform(CM_CANCELMODE, 0, 0); }, false},
        {"cancel mode from its own list",
         [this] { Cat->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(List()))); }, true},
        {"cancel mode from itself",
         [this] { Cat->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(static_cast<TControl*>(Cat))); }, true},
        {"a press elsewhere on the combo", [this] { ClickScreen(Screen(Cat, 1, 1)); }, false},
    };
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Cat->SetFocus();
        Key(VK_DOWN, kAlt);
        row = row % 3 + 1;  // another row each time: the list only hears moves to a new row
        TPoint r = Row(row);
        vxwin::InjectMouseMove(r.X, r.Y);
        Pump();
        ASSERT_EQ(List()->ItemIndex(), row);
        Log.Take();
        c.Cancel();
        Pump();
        EXPECT_EQ(Cat->IsPopupVisible(), c.StaysOpen);
        if (!c.StaysOpen) {
            EXPECT_EQ(Cat->ItemIndex(), 0);
        }
        EXPECT_EQ(Log.Take().find("cc"), std::string::npos);
        if (c.StaysOpen) Key(VK_ESCAPE);
    }
}

TEST_F(FormatPanelTest, DraggingPastTheListScrollsItOnTheTimerAndAReleaseOutsideCancels)
{
    TPoint b = OnButton();
    vxwin::InjectMouseMove(b.X, b.Y);
    vxwin::InjectMouseButton(0, true, b.X, b.Y);
    TPoint r = Row(1);
    vxwin::InjectMouseMove(r.X, r.Y);
    Pump();
    ASSERT_NE(List()->ScrollBar(), nullptr);  // 20 rows in 4
    TRect lb = List()->BoundsRect();
    vxwin::InjectMouseMove(r.X, lb.Bottom + 20);
    Pump();
    Wait(200);
    EXPECT_GE(List()->ItemIndex(), 4);
    EXPECT_GT(List()->ScrollOffset(), 0);
    EXPECT_EQ(Log.Take(), "cdd");
    vxwin::InjectMouseButton(0, false, r.X, lb.Bottom + 20);
    Pump();
    EXPECT_FALSE(Cat->IsPopupVisible());
    EXPECT_EQ(Cat->ItemIndex(), 0);
    EXPECT_EQ(Log.Take(), "cmu");
}

TEST_F(FormatPanelTest, TheListOpensRightAlignedBelowOrAboveNearTheWorkAreasBottom)
{
    Cat->SetFocus();
    Key(VK_DOWN, kAlt);
    // 130 on 131: one pixel of the combo shows at the list's left.
    EXPECT_EQ(List()->BoundsRect(), Rect(11, 61, 141, 61 + 4 * 50 + 5));
    Key(VK_ESCAPE);
    // The preset combo 150 pixels above the work area's bottom: its 245-pixel list opens above.
    RECT wa{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &wa, 0);
    Pre->SetTop(wa.bottom - 150 - 51);
    Pre->SetFocus();
    Key(VK_DOWN, kAlt);
    EXPECT_EQ(Pre->ListBox()->BoundsRect(), Rect(150, wa.bottom - 150 - 51 - 245, 550, wa.bottom - 150 - 51));
    // No items: no drop-down.
    Key(VK_ESCAPE);
    Pre->Items()->Clear();
    Key(VK_DOWN, kAlt);
    EXPECT_FALSE(Pre->IsPopupVisible());
    EXPECT_EQ(Pre->ListBox()->CalcHeight(7), 5);
}

TEST_F(FormatPanelTest, TheListIsNeverActivatedAndFadesToItsAlphaWhenLayered)
{
    Cat->SetFocus();
    Cat->SetAlphaBlend(true);
    Cat->SetAlphaBlendAnimation(true);
    Cat->SetAlphaBlendValue(200);
    Key(VK_DOWN, kAlt);
    HWND h = List()->Handle();
    EXPECT_TRUE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, nullptr, &alpha, &flags));
    EXPECT_EQ(alpha, 200);
    EXPECT_TRUE(Cat->Focused());
    // A click in the list does not take the focus from the combo.
    ClickScreen(Row(1));
    EXPECT_TRUE(Cat->Focused());
    EXPECT_EQ(Cat->ItemIndex(), 1);
    Cat->SetAlphaBlend(false);
    Key(VK_DOWN, kAlt);
    EXPECT_FALSE(GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(GetWindowLongW(h, GWL_STYLE) & (WS_POPUP | WS_CHILD), static_cast<LONG>(WS_POPUP));
}

// ---- faces ----

TEST_F(FormatPanelTest, BuiltInFaceShowsTheCommittedItemsPictureAndFocus)
{
    Cat->SetItemIndex(3);
    Pump();
    const uint32_t pic3 = Colors(20)[3];
    // The 36 x 36 picture at the face's left, vertically centred in the 47-pixel item area.
    EXPECT_EQ(PixelAt(Cat, 2 + 2 + 10, 25), pic3);
    EXPECT_EQ(PixelAt(Cat, 1, 1), RgbOf(ColorToRGB(clWindow)));
    EXPECT_EQ(PixelAt(Cat, 0, 0), RgbOf(ColorToRGB(clBtnShadow)));
    // While open the face keeps showing the committed row.
    Cat->SetFocus();
    Key(VK_DOWN, kAlt);
    TPoint r = Row(6);
    vxwin::InjectMouseMove(r.X, r.Y);
    Pump();
    Cat->Repaint();
    EXPECT_EQ(PixelAt(Cat, 2 + 2 + 10, 25), pic3);
    // Focused: the item area highlighted.
    EXPECT_EQ(PixelAt(Cat, 2 + 1, 3), RgbOf(ColorToRGB(clHighlight)));
    Key(VK_ESCAPE);
}

TEST_F(FormatPanelTest, ToolButtonLooksFollowTheOpenList)
{
    Cat->SetToolButtonStyle(true);
    Pump();
    EXPECT_EQ(PixelAt(Cat, 5, 3), RgbOf(ColorToRGB(clBtnFace)));
    Cat->SetFocus();
    Key(VK_DOWN, kAlt);
    Cat->Repaint();
    EXPECT_EQ(PixelAt(Cat, 5, 3), 0xA2BCE4u);  // open: the pressed fill
    EXPECT_EQ(PixelAt(Cat, 0, 0), 0x3B6BB7u);
    Key(VK_ESCAPE);
    Cat->Repaint();
    EXPECT_EQ(PixelAt(Cat, 5, 3), 0xC1D4F3u);  // focused: the hot fill

    // Skinned: the whole control from "resizetoolbutton"; the list on a panel record keeps
    // drawing its rows from "listbox".
    SyntheticSkin s;
    int p = s.AddPicture(120, 40);
    s.Block(p, Rect(0, 0, 30, 20), kNormal);
    s.Block(p, Rect(30, 0, 60, 20), kHot);
    s.Block(p, Rect(60, 0, 90, 20), kDown);
    s.Block(p, Rect(90, 0, 120, 20), kExtra1);
    s.Block(p, Rect(0, 20, 20, 40), kExtra2);
    const std::string nine = "lefttoppoint=3,3\nrighttoppoint=27,3\nleftbottompoint=3,17\nrightbottompoint=27,17\n";
    s.Control("resizetoolbutton", "button",
              "pictureindex=0\nskinrect=0,0,30,20\nactiveskinrect=30,0,60,20\ndownskinrect=60,0,90,20\n" + nine +
                  "clientrect=3,3,27,17");
    s.Control("combobox", "combobox", "pictureindex=0\nskinrect=0,0,30,20\nclientrect=3,3,27,17");
    s.Control("resizetoolpanel", "panel", "pictureindex=0\nskinrect=90,0,120,20\n" + nine + "clientrect=3,3,27,17");
    s.Control("listbox", "listbox",
              "pictureindex=0\nskinrect=0,20,20,40\nitemrect=0,20,20,40\nactiveitemrect=0,20,20,40\n"
              "focusitemrect=0,20,20,40\nitemtextrect=2,2,18,18");
    s.LoadInto(Model);
    Cat->SetListBoxSkinDataName(L"resizetoolpanel");
    Cat->SetSkinData(Model);
    Pre->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(Cat, 60, 10), kNormal);
    Cat->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(Cat, 60, 10), kHot);
    Key(VK_DOWN, kAlt);
    Cat->Repaint();
    EXPECT_EQ(PixelAt(Cat, 60, 10), kDown);
    EXPECT_EQ(PixelAt(List(), 60, 1), kExtra1);  // the list's frame from the panel record
    Key(VK_ESCAPE);
}

TEST_F(FormatPanelTest, SkinnedFaceStretchesTheComboRecordAndCopiesItsButtonStates)
{
    SyntheticSkin s;
    int p = s.AddPicture(120, 60);
    s.Block(p, Rect(0, 0, 60, 30), kNormal);
    s.Block(p, Rect(0, 30, 60, 60), kHot);
    s.Block(p, Rect(60, 0, 80, 20), kExtra1, false);    // normal item
    s.Block(p, Rect(80, 0, 100, 20), kFocused, false);  // focused item
    s.Block(p, Rect(100, 0, 115, 30), kDown, false);    // pressed button
    s.Control("combobox", "combobox",
              "pictureindex=0\nskinrect=0,0,60,30\nactiveskinrect=0,30,60,60\nlefttoppoint=4,4\n"
              "righttoppoint=56,4\nclientrect=4,4,40,26\nitemrect=60,0,80,20\nfocusitemrect=80,0,100,20\n"
              "itemtextrect=2,2,18,18\nbuttonrect=45,0,60,30\ndownbuttonrect=100,0,115,30");
    s.LoadInto(Model);
    Cat->SetSkinData(Model);
    Pre->SetFocus();
    Pump();
    // 131 x 51 from a 60 x 30 picture: the item area (4, 4, 111, 47) holds the stretched item.
    EXPECT_EQ(Cat->ItemRect(), Rect(4, 4, 40 + 71, 26 + 21));
    EXPECT_EQ(PixelAt(Cat, 1, 1), kNormal);
    EXPECT_EQ(PixelAt(Cat, 100, 45), kExtra1);
    EXPECT_EQ(PixelAt(Cat, 131 - 2, 1), kNormal);  // no "combobutton" record: no button picture
    Cat->SetFocus();
    Pump();
    EXPECT_EQ(PixelAt(Cat, 1, 1), kHot);  // focused: the active look
    EXPECT_EQ(PixelAt(Cat, 100, 45), kFocused);
    // UseSkinSize: the skin's own button states, copied onto the button rectangle.
    Cat->SetUseSkinSize(true);
    Cat->SetHeight(30);
    TPoint b = Screen(Cat, 131 - 5, 10);
    vxwin::InjectMouseMove(b.X, b.Y);
    vxwin::InjectMouseButton(0, true, b.X, b.Y);
    Pump();
    Cat->Repaint();
    EXPECT_EQ(PixelAt(Cat, 131 - 5, 10), kDown);
    vxwin::InjectMouseButton(0, false, b.X, b.Y);
    Pump();
    Key(VK_ESCAPE);
}
