// The skinned edit: its frame geometry and heights with and without a record, the edit button's
// press-off-back-release, hover ending by the timer, the paint messages, recreation keeping what
// the user had, a disabled password edit, and the image buttons at the ends of the text (the text
// kept between them, clicks through their hit codes, their hot and down images).
#include <gtest/gtest.h>

#include "skin/boxes/skin_edit.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/boxes/box_fixture.h"
#include "tests/skin/form/mdi_test_support.h"

using namespace skintest;

namespace {

// Picture 0: a 40 x 20 frame (kNormal) with its client part (3, 4, 30, 16) in kExtra1, a hot look
// (kHot) below it, and a 6-pixel button look in kDown.
void AddEditSkin(SyntheticSkin& s)
{
    const int p = s.AddPicture(50, 40);
    s.Block(p, Rect(0, 0, 40, 20), kNormal, false);
    s.Block(p, Rect(3, 4, 30, 16), kExtra1, false);
    s.Block(p, Rect(0, 20, 40, 40), kHot, false);
    s.Block(p, Rect(40, 0, 46, 20), kDown, false);
    const std::string frame =
        "pictureindex=0\r\nskinrect=0,0,40,20\r\nlefttoppoint=3,4\r\nrighttoppoint=30,4\r\n"
        "leftbottompoint=3,16\r\nrightbottompoint=30,16\r\nclientrect=3,4,30,16\r\nactiveskinrect=0,20,40,40\r\n"
        "fontcolor=0\r\nactivefontcolor=0\r\n";
    s.Control("edit", "edit", frame);
    s.Control("buttonedit", "edit", frame + "buttonrect=32,2,38,18\r\ndownbuttonrect=40,0,46,20\r\n");
    s.Control("nopicture", "edit", "pictureindex=7\r\nskinrect=0,0,40,20\r\nclientrect=3,4,30,16\r\n");
}

struct SkinEditTest : BoxFixture {
    SyntheticSkin Skin;

    void SetUp() override
    {
        BoxFixture::SetUp();
        AddEditSkin(Skin);
        Skin.LoadInto(Model);
        Form->SetBounds(0, 0, 300, 200);
    }
    TbsSkinEdit* Make(const wchar_t* Record = nullptr, bool Button = false, bool UseSkinFont = true)
    {
        auto* e = new TbsSkinEdit(Form);
        e->SetParent(Form);
        e->SetUseSkinFont(UseSkinFont);
        e->SetButtonMode(Button);
        e->SetBounds(10, 10, 120, 20);
        if (Record) {
            e->SetSkinDataName(Record);
            e->SetSkinData(Model);
        }
        return e;
    }
    // Images 8 x 8: 0 red, 1 lime, 2 blue, 3 fuchsia.
    TImageList* Images()
    {
        auto* images = new TImageList(Form, 8, 8);
        for (TColor c : {clRed, clLime, clBlue, clFuchsia}) {
            TBitmap b(8, 8);
            b.Canvas()->Brush()->SetColor(c);
            b.Canvas()->FillRect(Rect(0, 0, 8, 8));
            images->Add(&b, nullptr);
        }
        return images;
    }
    // An edit without a record, red on the left (lime hot, blue down), fuchsia on the right.
    TbsSkinEdit* MakeImaged()
    {
        TbsSkinEdit* e = Make();
        e->SetImages(Images());
        e->SetLeftImageIndex(0);
        e->SetLeftImageHotIndex(1);
        e->SetLeftImageDownIndex(2);
        e->SetRightImageIndex(3);
        return e;
    }
    // 0xRRGGBB of a client pixel as shown.
    static uint32_t ClientPixel(TbsSkinEdit* E, int X, int Y)
    {
        RECT wr;
        GetWindowRect(E->Handle(), &wr);
        const TPoint o = E->ClientToScreen(Point(0, 0));
        return PixelAt(E, X + o.X - wr.left, Y + o.Y - wr.top);
    }
    // The middle of an image button, client coordinates.
    static TPoint Mid(const TbsCBButtonX& B) { return Point((B.R.Left + B.R.Right) / 2, (B.R.Top + B.R.Bottom) / 2); }
    static int TextHeight(TFont* F)
    {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, F->Handle());
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        return tm.tmHeight;
    }
};

}  // namespace

TEST_F(SkinEditTest, FrameGeometryAndHeights)
{
    ShowForm();
    TbsSkinEdit* plain = Make();
    TbsSkinEdit* button = Make(nullptr, true);
    TbsSkinEdit* skinned = Make(L"edit");
    TbsSkinEdit* capped = Make(L"buttonedit", true);
    TbsSkinEdit* stretched = Make(L"edit", false, false);
    TbsSkinEdit* broken = Make(L"nopicture");
    Pump();
    const int th = TextHeight(plain->Font());
    // No record: 2 pixels in, the height from the font.
    EXPECT_EQ(plain->Height(), th + 6);
    RECT wr;
    GetWindowRect(plain->Handle(), &wr);
    EXPECT_EQ(plain->ClientToScreen(Point(0, 0)), Point(wr.left + 2, wr.top + 2));
    EXPECT_EQ(plain->ClientWidth(), 116);
    EXPECT_EQ(plain->ClientHeight(), plain->Height() - 4);
    // With the button: an H x H square, the client ends H + 2 before the right edge.
    const int h = button->Height();
    EXPECT_EQ(button->ClientWidth(), 120 - 2 - (h + 2));
    button->GetSkinData();
    EXPECT_EQ(button->FButtonRect, Rect(120 - h, 0, 120, h));
    // A record: its insets and its height, whatever size is asked.
    EXPECT_EQ(skinned->Height(), 20);
    EXPECT_EQ(skinned->ClientWidth(), 120 - 3 - 10);
    EXPECT_EQ(skinned->ClientHeight(), 12);
    skinned->SetBounds(10, 40, 200, 35);
    EXPECT_EQ(skinned->Height(), 20);
    // A button in the right cap keeps its distance from the right edge.
    capped->SetWidth(200);
    EXPECT_EQ(capped->FButtonRect, Rect(192, 2, 198, 18));
    // UseSkinFont off: the height follows the font plus the skin's frame.
    EXPECT_EQ(stretched->Height(), th + 8);
    // A record without its picture: the built-in look.
    EXPECT_EQ(broken->SkinIndex(), -1);
    EXPECT_EQ(broken->ClientWidth(), 116);
}

TEST_F(SkinEditTest, ThePaintMessagesDrawTheFrameOrStayUnanswered)
{
    TbsSkinEdit* e = Make(nullptr, true);
    e->SetColor(clYellow);
    ShowForm();
    EXPECT_EQ(SendMessageW(e->Handle(), WM_SKIN_PAINTTODC, 0, 0), 0) << "no context, no answer";
    TBitmap b(e->Width(), e->Height());
    EXPECT_EQ(SendMessageW(e->Handle(), WM_SKIN_PAINTTODC, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 0),
              SKIN_PAINTTODC_DONE);
    const int bx = e->FButtonRect.Left;
    EXPECT_EQ(RgbOf(b.Canvas()->Pixels(0, 0)), Shown(clBtnShadow));
    EXPECT_EQ(RgbOf(b.Canvas()->Pixels(1, 1)), Shown(clYellow)) << "the inner line in the control's colour";
    EXPECT_EQ(RgbOf(b.Canvas()->Pixels(3, 3)), Shown(clWindow));
    EXPECT_EQ(RgbOf(b.Canvas()->Pixels(bx + 3, 3)), Shown(clBtnFace)) << "the button";
    EXPECT_EQ(SendMessageW(e->Handle(), WM_SKIN_PAINTBORDERTODC, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 1), 0)
        << "without the key: the default path";
    EXPECT_EQ(SendMessageW(e->Handle(), WM_SKIN_PAINTBORDERTODC, 0, SKIN_PAINT_KEY), SKIN_PAINT_KEY);
}

TEST_F(SkinEditTest, TheButtonClicksOnAReleaseOverItAfterAPressOnIt)
{
    int clicks = 0;
    TbsSkinEdit* e = Make(nullptr, true);
    e->OnButtonClick = [&](TObject*) { ++clicks; };
    ShowForm();
    const int h = e->Height();
    const TPoint button = Point(120 - h / 2 - 2, h / 2 - 2);  // client coordinates (the frame is 2 in)
    // Press, off (still inside the edit), back, release.
    Press(e, button.X, button.Y);
    EXPECT_TRUE(e->FButtonDown);
    MoveTo(e, 20, 5);
    EXPECT_FALSE(e->FButtonActive);
    MoveTo(e, button.X, button.Y);
    Release(e, button.X, button.Y);
    EXPECT_EQ(clicks, 1);
    // A release over it without a press on it.
    Press(e, 20, 5);
    Release(e, button.X, button.Y);
    EXPECT_EQ(clicks, 1);
    // Press, leave the edit (the timer notices), come back and release: nothing.
    Press(e, button.X, button.Y);
    MoveTo(Form, 200, 150);
    Wait(100);
    EXPECT_FALSE(e->FMouseIn);
    EXPECT_FALSE(e->FButtonDown);
    Release(e, button.X, button.Y);
    EXPECT_EQ(clicks, 1);
}

TEST_F(SkinEditTest, HoverEndsWhenTheTimerFindsAnotherWindowUnderTheCursor)
{
    std::vector<std::string> log;
    TbsSkinEdit* e = Make(L"edit");
    e->OnMouseEnter = [&](TObject*) { log.push_back("enter"); };
    e->OnMouseLeave = [&](TObject*) { log.push_back("leave"); };
    ShowForm();
    MoveTo(e, 10, 5);
    EXPECT_TRUE(e->FMouseIn);
    MoveTo(Form, 200, 150);
    Wait(50);
    EXPECT_TRUE(e->FMouseIn) << "before the tick";
    Wait(60);
    EXPECT_FALSE(e->FMouseIn);
    EXPECT_EQ(log, (std::vector<std::string>{"enter", "leave"}));
}

TEST_F(SkinEditTest, ASkinChangeKeepsTextSelectionAndReadOnly)
{
    TbsSkinEdit* e = Make();
    e->SetText(L"output folder");
    e->SetReadOnly(true);
    ShowForm();
    e->SetSelStart(2);
    e->SetSelLength(5);
    HWND before = e->Handle();
    e->SetSkinDataName(L"edit");
    e->SetSkinData(Model);
    Pump();
    EXPECT_NE(e->Handle(), before) << "a new window";
    EXPECT_EQ(e->Text(), L"output folder");
    EXPECT_EQ(e->SelStart(), 2);
    EXPECT_EQ(e->SelLength(), 5);
    EXPECT_TRUE(e->ReadOnly());
    e->SetFocus();
    Type(L"x");
    EXPECT_EQ(e->Text(), L"output folder");
}

TEST_F(SkinEditTest, ADisabledPasswordEditPaintsPasswordCharacters)
{
    TbsSkinEdit* secret = Make();
    secret->SetPasswordChar(L'*');
    secret->SetText(L"WWWW");
    TbsSkinEdit* shown = Make();
    shown->SetTop(50);
    shown->SetText(L"****");
    TbsSkinEdit* plain = Make();
    plain->SetTop(90);
    plain->SetText(L"WWWW");
    for (TbsSkinEdit* e : {secret, shown, plain}) e->SetEnabled(false);
    ShowForm();
    Pump();
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0, w3 = 0, h3 = 0;
    const auto a = Pixels(secret, w1, h1), b = Pixels(shown, w2, h2), c = Pixels(plain, w3, h3);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);
    // The text in the disabled grey (darker than the frame's shadow, never black).
    uint32_t darkest = 0xFF;
    for (uint32_t px : c) darkest = std::min(darkest, px & 0xFF);
    EXPECT_GE(darkest, Shown(clGrayText) & 0xFF);
    EXPECT_LT(darkest, 0xA0u);
}

TEST_F(SkinEditTest, ImagesNarrowTheTextWhichNeverRunsUnderThem)
{
    TbsSkinEdit* e = MakeImaged();
    e->SetText(std::wstring(40, L'W'));
    ShowForm();
    e->SetFocus();
    Key(VK_END);
    const int cw = e->ClientWidth(), ch = e->ClientHeight();
    EXPECT_EQ(cw, 116);
    EXPECT_EQ(e->LeftButton.R, Rect(0, 0, 8, ch));
    EXPECT_EQ(e->RightButton.R, Rect(cw - 8, 0, cw, ch));
    RECT text{};
    SendMessageW(e->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(Rect(text.left, text.top, text.right, text.bottom), Rect(10, 0, cw - 10, ch));
    // Every pixel of both images is the image's, the long text scrolled to its end notwithstanding.
    const int top = std::max(0, ch / 2 - 4);
    for (int y = top; y < top + 8; ++y)
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(ClientPixel(e, x, y), 0xFF0000u) << x << "," << y;
            EXPECT_EQ(ClientPixel(e, cw - 8 + x, y), 0xFF00FFu) << x << "," << y;
        }
    // A skin change makes a new window: the text stays between the images.
    e->SetSkinDataName(L"edit");
    e->SetSkinData(Model);
    Pump();
    SendMessageW(e->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(Rect(text.left, text.top, text.right, text.bottom),
              Rect(10, 0, e->ClientWidth() - 10, e->ClientHeight()));
    // Without the images the text has the whole client again.
    e->SetImages(nullptr);
    SendMessageW(e->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(text.left, 0);
    EXPECT_EQ(text.right, e->ClientWidth());
}

TEST_F(SkinEditTest, TheImageButtonsAnswerTheirHitCodesAndClickOnAReleaseAfterAPress)
{
    std::vector<std::string> log;
    TbsSkinEdit* e = MakeImaged();
    e->OnLeftButtonClick = [&](TObject*) { log.push_back("left"); };
    e->OnRightButtonClick = [&](TObject*) { log.push_back("right"); };
    auto* other = Make();
    other->SetTop(60);
    ShowForm();
    other->SetFocus();
    const TPoint left = Mid(e->LeftButton), right = Mid(e->RightButton);
    auto hit = [&](TPoint c) {
        const TPoint p = Screen(e, c.X, c.Y);
        return SendMessageW(e->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y));
    };
    EXPECT_EQ(hit(left), 104);
    EXPECT_EQ(hit(right), 105);
    EXPECT_EQ(hit(Point(60, left.Y)), HTCLIENT);
    ClickAt(e, left.X, left.Y);
    EXPECT_TRUE(e->Focused()) << "a press on an image takes the focus";
    ClickAt(e, right.X, right.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"left", "right"}));
    // Pressed on one image, released on the other: nothing.
    Press(e, left.X, left.Y);
    Release(e, right.X, right.Y);
    // Pressed, off to the text and back: a click.
    Press(e, right.X, right.Y);
    MoveTo(e, 60, right.Y);
    Release(e, right.X, right.Y);
    // Pressed, out of the edit (the timer notices), back and released: nothing.
    Press(e, left.X, left.Y);
    MoveTo(Form, 250, 150);
    Wait(120);
    EXPECT_FALSE(e->LeftButton.Down);
    Release(e, left.X, left.Y);
    EXPECT_EQ(log, (std::vector<std::string>{"left", "right", "right"}));
}

TEST_F(SkinEditTest, HotAndDownImagesAndNoImagesWhileDisabled)
{
    TbsSkinEdit* e = MakeImaged();
    ShowForm();
    const TPoint left = Mid(e->LeftButton), right = Mid(e->RightButton);
    auto leftColour = [&] { return ClientPixel(e, 4, left.Y); };
    auto rightColour = [&] { return ClientPixel(e, right.X, right.Y); };
    EXPECT_EQ(leftColour(), 0xFF0000u);
    MoveTo(e, left.X, left.Y);
    EXPECT_EQ(leftColour(), 0x00FF00u) << "hot";
    Press(e, left.X, left.Y);
    EXPECT_EQ(leftColour(), 0x0000FFu) << "down";
    MoveTo(e, 60, left.Y);
    EXPECT_EQ(leftColour(), 0xFF0000u) << "pressed but not over it";
    Release(e, 60, left.Y);
    MoveTo(e, left.X, left.Y);
    EXPECT_EQ(leftColour(), 0x00FF00u) << "the release elsewhere ended the press";
    MoveTo(e, right.X, right.Y);
    EXPECT_EQ(rightColour(), 0xFF00FFu) << "no hot image: the normal one";
    // A hot index past the list falls back too.
    e->SetLeftImageHotIndex(9);
    MoveTo(e, left.X, left.Y);
    EXPECT_EQ(leftColour(), 0xFF0000u);
    MoveTo(Form, 250, 150);
    Wait(120);
    e->SetEnabled(false);
    Pump();
    EXPECT_EQ(leftColour(), Shown(clWindow)) << "a disabled edit shows no images";
    EXPECT_EQ(rightColour(), Shown(clWindow));
}

// An MDI main form closing its menus cancels the modes of its visible, enabled skinned edits.
namespace {

struct SkinEditMdi : MdiFixture {};

TEST_F(SkinEditMdi, MenuClosingOnTheMdiFormReachesItsVisibleEnabledEdits)
{
    struct Case {
        bool visible, enabled;
        int want;
    };
    for (const Case c : {Case{true, true, 1}, Case{false, true, 0}, Case{true, false, 0}}) {
        auto* e = new TbsSkinEdit(Main);
        e->SetParent(Main);
        e->SetVisible(c.visible);
        e->SetEnabled(c.enabled);
        int calls = 0;
        e->OnEditCancelMode = [&](TControl*) { ++calls; };
        SendMessageW(Main->Handle(), WM_CANCELMODE, 0, 0);
        EXPECT_EQ(calls, c.want) << c.visible << c.enabled;
        e->OnEditCancelMode = nullptr;
        e->Free();
    }
}

}  // namespace
