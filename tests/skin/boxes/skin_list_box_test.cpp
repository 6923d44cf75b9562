// The skinned list box: its skin bars made and freed as the inner list's ranges demand, the
// inner list's offset, wheel and background answer, the three item painters, tabbed text, and
// the caption buttons with their repeat.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/framework/graphics/image_list.h"
#include "skin/boxes/skin_list_box.h"
#include "skin/core/marks.h"
#include "skin/core/skin_messages.h"
#include "skin/core/text_layout.h"
#include "tests/skin/boxes/box_fixture.h"

using namespace skintest;

namespace {

// Picture 0: a 40 x 40 frame (kNormal, its client kExtra1) and three item pictures of 20 x 10.
void AddListSkin(SyntheticSkin& s)
{
    const int p = s.AddPicture(60, 40);
    s.Block(p, Rect(0, 0, 40, 40), kNormal);
    s.Block(p, Rect(4, 4, 36, 36), kExtra1, false);
    s.Block(p, Rect(40, 0, 60, 10), kExtra2, false);
    s.Block(p, Rect(40, 10, 60, 20), kHot, false);
    s.Block(p, Rect(40, 20, 60, 30), kFocused, false);
    const std::string frame =
        "pictureindex=0\r\nskinrect=0,0,40,40\r\nlefttoppoint=4,4\r\nrighttoppoint=36,4\r\n"
        "leftbottompoint=4,36\r\nrightbottompoint=36,36\r\nclientrect=4,4,36,36\r\n";
    s.Control("listbox", "listbox",
              frame +
                  "itemrect=40,0,60,10\r\nactiveitemrect=40,10,60,20\r\nfocusitemrect=40,20,60,30\r\n"
                  "itemtextrect=2,1,18,9\r\nfontcolor=0\r\n");
    s.Control("nopicture", "listbox", "pictureindex=9\r\nskinrect=0,0,40,40\r\n");
}

struct ListBoxTest : BoxFixture {
    SyntheticSkin Skin;

    void SetUp() override
    {
        BoxFixture::SetUp();
        AddListSkin(Skin);
        Skin.LoadInto(Model);
        Form->SetBounds(0, 0, 300, 200);
    }
    TbsSkinListBox* Make(bool Skinned = false)
    {
        auto* l = new TbsSkinListBox(Form);
        l->SetParent(Form);
        l->SetBounds(10, 10, 120, 120);
        if (Skinned) l->SetSkinData(Model);
        return l;
    }
    static void Fill(TbsSkinListBox* L, int N, const String& Prefix = L"item ")
    {
        for (int i = 0; i < N; ++i) L->Items()->Add(Prefix + IntToStr(i));
        Pump();
    }
    // 0xRRGGBB at a point of the inner list.
    static uint32_t ItemPixel(TbsSkinListBox* L, int X, int Y) { return PixelAt(L->ListBox, X, Y); }
};

}  // namespace

TEST_F(ListBoxTest, TheVerticalBarComesPastOnePageAndGoesWhenCleared)
{
    TbsSkinListBox* l = Make();
    ShowForm();
    EXPECT_EQ(l->ScrollBar, nullptr) << "an empty list";
    Fill(l, 5);  // (120 - 4) / 20 rows fit
    EXPECT_EQ(l->ScrollBar, nullptr);
    l->Items()->Add(L"sixth");
    Pump();
    ASSERT_NE(l->ScrollBar, nullptr);
    EXPECT_EQ(l->ScrollBar->Kind(), sbVertical);
    EXPECT_EQ(l->ScrollBar->Max(), 5);
    EXPECT_EQ(l->ScrollBar->PageSize(), 5);
    EXPECT_EQ(l->ListBox->Left() + l->ListBox->Width(), l->ScrollBar->Left()) << "the list ends at the bar";
    // The bar scrolls the list.
    l->ScrollBar->SetPosition(1);
    EXPECT_EQ(l->TopIndex(), 1);
    l->Clear();
    Pump();
    EXPECT_EQ(l->ScrollBar, nullptr);
    EXPECT_EQ(l->ListBox->Width(), 116);
}

TEST_F(ListBoxTest, RowCountFitsItsRowsWithoutABar)
{
    TbsSkinListBox* l = Make();
    l->SetRowCount(5);
    ShowForm();
    EXPECT_EQ(l->Height(), 5 * 20 + 4);
    Fill(l, 5);
    EXPECT_EQ(l->ScrollBar, nullptr);
    l->Items()->Add(L"sixth");
    Pump();
    EXPECT_NE(l->ScrollBar, nullptr);
}

TEST_F(ListBoxTest, WideItemsMakeTheHorizontalBarInStepsOfTheWidthOfZero)
{
    TbsSkinListBox* l = Make();
    l->SetHorizontalExtent(true);
    ShowForm();
    Fill(l, 2, L"short ");
    EXPECT_EQ(l->HScrollBar, nullptr);
    const String wide(40, L'W');
    l->Items()->Add(wide);
    Pump();
    ASSERT_NE(l->HScrollBar, nullptr);
    TCanvas* c = l->ListBoxCanvas();
    c->Font()->Assign(l->ListBox->Font());
    EXPECT_EQ(l->HScrollBar->Max(), c->TextWidth(wide));
    EXPECT_EQ(l->HScrollBar->SmallChange(), c->TextWidth(L"0"));
    EXPECT_EQ(l->HScrollBar->PageSize(), l->ListBox->Width() - 4);
    EXPECT_EQ(l->ListBox->Top() + l->ListBox->Height(), l->HScrollBar->Top()) << "the list ends above it";
    // Arrow keys and the wheel step by the width of "0".
    l->ListBox->SetFocus();
    Key(VK_RIGHT);
    EXPECT_EQ(l->ListBox->HorizontalExtentValue(), c->TextWidth(L"0"));
    SendMessageW(l->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(l->ListBox->HorizontalExtentValue(), 0);
    l->HScrollBar->SetPosition(30);
    EXPECT_EQ(l->ListBox->HorizontalExtentValue(), 30);
    l->Items()->Put(2, L"short again");
    Pump();
    EXPECT_EQ(l->HScrollBar, nullptr);
    EXPECT_EQ(l->ListBox->HorizontalExtentValue(), 0) << "the offset goes with the bar";
}

TEST_F(ListBoxTest, BothBarsShareTheCornerAndKeepItThroughASkinChange)
{
    TbsSkinListBox* l = Make();
    l->SetHorizontalExtent(true);
    ShowForm();
    Fill(l, 12, String(40, L'W') + L" ");
    ASSERT_NE(l->ScrollBar, nullptr);
    ASSERT_NE(l->HScrollBar, nullptr);
    EXPECT_TRUE(l->HScrollBar->Both());
    EXPECT_EQ(l->ListBox->Top() + l->ListBox->Height(), l->HScrollBar->Top());
    EXPECT_EQ(l->ScrollBar->Top() + l->ScrollBar->Height(), l->HScrollBar->Top() + 1);
    l->SkinChangeBegin();
    l->SkinChangeEnd();
    Pump();
    ASSERT_NE(l->HScrollBar, nullptr);
    EXPECT_TRUE(l->HScrollBar->Both());
}

TEST_F(ListBoxTest, TheInnerOffsetFollowsWidthChanges)
{
    TbsSkinListBox* l = Make();
    ShowForm();
    TbsListBox* in = l->ListBox;
    struct Row {
        int dw, offset;
    } rows[] = {{+30, 0}, {-30, 50}};
    for (const Row& r : rows) {
        in->SetHorizontalExtentValue(20);
        in->SetBounds(in->Left(), in->Top(), in->Width() + r.dw, in->Height());
        EXPECT_EQ(in->HorizontalExtentValue(), r.offset) << r.dw;
    }
}

TEST_F(ListBoxTest, AnEmptyListAnswersTheBackgroundRequest)
{
    TbsSkinListBox* l = Make();
    ShowForm();
    TBitmap b(50, 50);
    b.Canvas()->Brush()->SetColor(clRed);
    b.Canvas()->FillRect(Rect(0, 0, 50, 50));
    const WPARAM dc = reinterpret_cast<WPARAM>(b.Canvas()->Handle());
    HWND h = l->ListBox->Handle();
    EXPECT_EQ(SendMessageW(h, WM_SKIN_PAINTBACKGROUNDTODC, dc, 1), 0);
    EXPECT_EQ(Rgb(ColorToRGB(b.Canvas()->Pixels(5, 5))), 0xFF0000u);
    EXPECT_EQ(SendMessageW(h, WM_SKIN_PAINTBACKGROUNDTODC, dc, SKIN_PAINT_KEY), SKIN_PAINT_KEY);
    EXPECT_EQ(Rgb(ColorToRGB(b.Canvas()->Pixels(5, 5))), Shown(clWindow));
    Fill(l, 1);
    EXPECT_EQ(SendMessageW(h, WM_SKIN_PAINTBACKGROUNDTODC, dc, SKIN_PAINT_KEY), 0) << "only an empty list answers";
    EXPECT_EQ(SendMessageW(h, WM_SKIN_PAINTTODC, dc, 0), SKIN_PAINTTODC_DONE);
}

TEST_F(ListBoxTest, AWheelNotchScrollsOneLineWhateverItsSize)
{
    TbsSkinListBox* l = Make();
    ShowForm();
    Fill(l, 40);
    SendMessageW(l->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -360), 0);
    EXPECT_EQ(l->TopIndex(), 1);
    EXPECT_EQ(l->ScrollBar->Position(), 1);
    SendMessageW(l->ListBox->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(l->TopIndex(), 0);
}

TEST_F(ListBoxTest, BuiltInPainterAndBackground)
{
    TbsSkinListBox* l = Make();
    ShowForm();
    Fill(l, 2);
    l->SetItemIndex(1);
    Pump();
    EXPECT_EQ(ItemPixel(l, 100, 5), Shown(clWindow));
    EXPECT_EQ(ItemPixel(l, 100, 25), Shown(clHighlight));
    EXPECT_EQ(ItemPixel(l, 100, 80), Shown(clWindow)) << "below the items";
    EXPECT_EQ(PixelAt(l, 0, 0), Shown(clBtnShadow)) << "the built-in frame";
}

TEST_F(ListBoxTest, SkinPaintersByRecordAndSkinItemHeight)
{
    TbsSkinListBox* l = Make(true);
    ShowForm();
    Fill(l, 3);
    EXPECT_EQ(l->ListBox->ItemHeight(), 10) << "the skin's item height";
    l->SetItemIndex(1);
    Pump();
    EXPECT_EQ(ItemPixel(l, 50, 5), kExtra2);
    EXPECT_EQ(ItemPixel(l, 50, 15), kHot) << "selected without the focus";
    EXPECT_EQ(ItemPixel(l, 50, 40), kExtra1) << "the skin's client tiles below the items";
    l->ListBox->SetFocus();
    Pump();
    EXPECT_EQ(ItemPixel(l, 50, 15), kFocused);
    // Without the skin's item height the pictures stretch to the list's own.
    l->SetUseSkinItemHeight(false);
    l->SetDefaultItemHeight(16);
    Pump();
    EXPECT_EQ(ItemPixel(l, 50, 8), kExtra2);
    EXPECT_EQ(ItemPixel(l, 50, 30), kFocused);
    int drawnHeight = 0;
    l->OnDrawItem = [&](TCanvas*, int, int, int H, TRect, TOwnerDrawState) { drawnHeight = H; };
    l->ListBox->Repaint();
    EXPECT_EQ(drawnHeight, 10) << "the stretched painter hands on the skin item's height";
}

TEST_F(ListBoxTest, ImagesByItemIndexOrImageIndex)
{
    TbsSkinListBox* l = Make();
    auto* images = new TImageList(Form, 8, 8);
    for (TColor c : {clRed, clLime, clBlue}) {
        TBitmap b(8, 8);
        b.Canvas()->Brush()->SetColor(c);
        b.Canvas()->FillRect(Rect(0, 0, 8, 8));
        images->Add(&b, nullptr);
    }
    l->SetImages(images);
    ShowForm();
    Fill(l, 5);
    EXPECT_EQ(ItemPixel(l, 4, 20 + 10), 0x00FF00u) << "item 1 draws image 1";
    l->SetTopIndex(0);
    l->ListBox->SetBounds(0, 0, 116, 200);  // every item shown
    Pump();
    EXPECT_EQ(ItemPixel(l, 4, 4 * 20 + 10), Shown(clWindow)) << "item 4 has no image";
    l->SetImageIndex(2);
    Pump();
    EXPECT_EQ(ItemPixel(l, 4, 4 * 20 + 10), 0x0000FFu);
}

TEST_F(ListBoxTest, ARecordWithoutItsPictureDrawsTheBuiltInLook)
{
    TbsSkinListBox* l = Make();
    l->SetSkinDataName(L"nopicture");
    l->SetSkinData(Model);
    ShowForm();
    Fill(l, 2);
    EXPECT_EQ(l->SkinIndex(), -1);
    EXPECT_EQ(l->ListBox->ItemHeight(), 20);
    EXPECT_EQ(PixelAt(l, 0, 0), Shown(clBtnShadow));
}

TEST(TabbedText, EntriesCountOnlyWhenAllDigits)
{
    struct Row {
        const wchar_t* entry;
        int value;
    } rows[] = {{L"40", 40}, {L"12a", 0}, {L"", 0}, {L"-5", 0}, {L"007", 7}};
    for (const Row& r : rows) EXPECT_EQ(TabWidthValue(r.entry), r.value) << r.entry;
}

TEST_F(ListBoxTest, TabbedTextSitsAtItsStopsAndCentresLikeClippedText)
{
    // Each row drawn twice: by DrawTabbedText and by hand at the expected places.
    auto ink = [](TBitmap& b) {
        int lo = b.Width();
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if ((b.PixelArgb(x, y) & 0xFFFFFF) != 0xFFFFFF) lo = std::min(lo, x);
        return lo;
    };
    TStringList tabs;
    for (int i = 1; i <= 11; ++i) tabs.Add(IntToStr(i * 20));
    for (int height : {13, 14}) {
        TBitmap a(300, 21), b(300, 21);
        for (TBitmap* m : {&a, &b}) {
            m->Canvas()->Brush()->SetColor(clWhite);
            m->Canvas()->FillRect(Rect(0, 0, 300, 21));
            m->Canvas()->Font()->SetName(L"Tahoma");
            m->Canvas()->Font()->SetHeight(height);
            m->Canvas()->Brush()->SetStyle(bsClear);
        }
        const TRect r = Rect(0, 0, 300, 21);
        DrawTabbedText(a.Canvas(), &tabs, L"Ab", r, 3);
        DrawClippedTextIndent(b.Canvas(), L"Ab", r, 3);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 300; ++x)
                ASSERT_EQ(a.PixelArgb(x, y), b.PixelArgb(x, y)) << "height " << height << " at " << x << "," << y;
    }
    // Eleven stops are set, but only ten count: an eleventh tab goes on from the tenth stop (200)
    // by the default step of eight average characters, never to the eleventh stop (220).
    TBitmap c(400, 21);
    // White again, then text without a background.
    auto blank = [&c] {
        c.Canvas()->Brush()->SetStyle(bsSolid);
        c.Canvas()->Brush()->SetColor(clWhite);
        c.Canvas()->FillRect(Rect(0, 0, 400, 21));
        c.Canvas()->Brush()->SetStyle(bsClear);
    };
    blank();
    HDC dc = c.Canvas()->Handle();
    SelectObject(dc, c.Canvas()->Font()->Handle());
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    const int step = 8 * tm.tmAveCharWidth;
    ASSERT_GT(step, 0);
    ASSERT_EQ(tabs.Count(), 11);
    DrawTabbedText(c.Canvas(), &tabs, String(10, L'\t') + L"x", Rect(0, 0, 400, 21), 0);
    EXPECT_NEAR(ink(c), 200, 1) << "ten tabs reach the tenth stop";
    blank();
    DrawTabbedText(c.Canvas(), &tabs, String(11, L'\t') + L"x", Rect(0, 0, 400, 21), 0);
    EXPECT_NEAR(ink(c), (200 / step + 1) * step, 1) << "the eleventh stop ignored";
    EXPECT_GT(std::abs(ink(c) - 220), 1);
    TStringList bad;
    bad.Add(L"12a");
    blank();
    DrawTabbedText(c.Canvas(), &bad, L"\tx", Rect(0, 0, 400, 21), 0);
    EXPECT_NEAR(ink(c), 8 * tm.tmAveCharWidth, 1) << "\"12a\" counts as 0: the default step";
}

// ---- caption buttons ----

namespace {
struct CaptionTest : ListBoxTest {
    TbsSkinListBox* MakeCaption()
    {
        TbsSkinListBox* l = Make();
        l->SetCaptionMode(true);
        l->SetCaption(L"Caption");
        Fill(l, 30);
        l->SetItemIndex(0);
        return l;
    }
};
}  // namespace

TEST_F(CaptionTest, ButtonSizesFollowTheCaptionHeight)
{
    TbsSkinListBox* l = MakeCaption();
    ShowForm();
    EXPECT_EQ(l->Buttons[0].R, Rect(120 - 17 - 2, 2, 118, 18));
    EXPECT_EQ(RectWidth(l->Buttons[1].R), 17);
    l->SetDefaultCaptionHeight(12);
    l->Repaint();
    EXPECT_EQ(RectWidth(l->Buttons[2].R), 9);
    EXPECT_EQ(l->ListBox->Top(), 13) << "the list starts under the caption";
}

TEST_F(CaptionTest, HoldingTheDownButtonWaitsThenRepeatsAndTheReleaseStepsOnce)
{
    StillTestClock clock;
    TbsSkinListBox* l = MakeCaption();
    ShowForm();
    const TRect down = l->Buttons[1].R;
    const int x = down.Left + 4, y = down.Top + 4;
    Press(l, x, y);
    Wait(590);
    EXPECT_EQ(l->ItemIndex(), 0) << "the 500 ms tick only ends the wait";
    Wait(20);
    EXPECT_EQ(l->ItemIndex(), 1);
    Wait(100);
    EXPECT_EQ(l->ItemIndex(), 2);
    Release(l, x, y);
    EXPECT_EQ(l->ItemIndex(), 3);
    Wait(300);
    EXPECT_EQ(l->ItemIndex(), 3);
    // Off the button and back: the repeat pauses, then goes on every 50 ms.
    Press(l, x, y);
    Wait(650);
    ASSERT_EQ(l->ItemIndex(), 4);
    MoveTo(l, 5, 60);
    Wait(200);
    EXPECT_EQ(l->ItemIndex(), 4);
    MoveTo(l, x, y);
    Wait(110);
    EXPECT_EQ(l->ItemIndex(), 6);
    // Released away from it, it still steps once.
    MoveTo(l, 5, 60);
    Release(l, 5, 60);
    EXPECT_EQ(l->ItemIndex(), 7);
}

TEST_F(CaptionTest, AnAssignedEventReplacesTheStep)
{
    TbsSkinListBox* l = MakeCaption();
    int clicks = 0;
    l->OnDownButtonClick = [&](TObject* s) {
        EXPECT_EQ(s, l);
        ++clicks;
    };
    ShowForm();
    const TRect down = l->Buttons[1].R;
    Press(l, down.Left + 4, down.Top + 4);
    Wait(900);
    Release(l, down.Left + 4, down.Top + 4);
    EXPECT_EQ(l->ItemIndex(), 0);
    EXPECT_EQ(clicks, 1);
    // Released off the button: no event, the step instead.
    Press(l, down.Left + 4, down.Top + 4);
    Release(l, 5, 60);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(l->ItemIndex(), 1);
}

TEST_F(CaptionTest, LeavingClearsTheHoverOfEveryButton)
{
    TbsSkinListBox* l = MakeCaption();
    ShowForm();
    const TRect check = l->Buttons[2].R;
    MoveTo(l, check.Left + 3, check.Top + 3);
    EXPECT_TRUE(l->Buttons[2].MouseIn);
    EXPECT_EQ(PixelAt(l, check.Left, check.Top), Rgb(kBoxHotFrame));
    vxwin::InjectMouseMove(290, 190);
    Pump();
    EXPECT_FALSE(l->Buttons[2].MouseIn);
    EXPECT_EQ(PixelAt(l, check.Left + 1, check.Top + 1), Shown(clBtnShadow));
}

TEST_F(ListBoxTest, HiddenCaptionButtonsShowTheDisabledPictureOrTheStretchedStrip)
{
    // A frame whose right corner holds a caption button picture (kHot); the disabled buttons'
    // picture is kExtra3.
    SyntheticSkin s;
    const int p = s.AddPicture(60, 40);
    s.Block(p, Rect(0, 0, 40, 40), kNormal, false);
    s.Block(p, Rect(31, 2, 39, 10), kHot, false);
    s.Block(p, Rect(40, 30, 56, 38), kExtra3, false);
    const std::string frame =
        "pictureindex=0\r\nskinrect=0,0,40,40\r\nlefttoppoint=4,12\r\nrighttoppoint=30,12\r\n"
        "leftbottompoint=4,36\r\nrightbottompoint=30,36\r\nclientrect=4,12,30,36\r\nupbuttonrect=31,2,39,10\r\n"
        "itemrect=40,0,60,10\r\n";
    s.Control("buttons", "listbox", frame);
    s.Control("disabled", "listbox", frame + "disabledbuttonsrect=40,30,56,38\r\nbuttonsarea=23,2,39,10\r\n");
    s.LoadInto(Model);
    ShowForm();
    struct Row {
        const wchar_t* record;
        bool show;
        uint32_t at115;
    } rows[] = {{L"buttons", true, kHot}, {L"buttons", false, kNormal}, {L"disabled", false, kExtra3}};
    for (const Row& r : rows) {
        TbsSkinListBox* l = Make();
        l->SetSkinDataName(r.record);
        l->SetShowCaptionButtons(r.show);
        l->SetSkinData(Model);
        Pump();
        EXPECT_EQ(PixelAt(l, 115, 5), r.at115) << r.record << (r.show ? " shown" : " hidden");
        l->Free();
    }
}
