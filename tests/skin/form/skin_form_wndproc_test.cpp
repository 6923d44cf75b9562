// The skinned form's window procedure: what each message answers and whether the form's saved
// procedure sees it, the client area it leaves in every frame, the paint-to-DC requests, the
// cursor rewrite, and the order of the saved procedure around the frame's rebuild.
#include "skin/core/skin_bitmap.h"
#include "skin/core/skin_messages.h"
#include "skin/form/main_menu_bar.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using SkinFormWndProc = SkinFormFixture;

TEST_F(SkinFormWndProc, AnswersAndTheSavedProcedureAsTabled)
{
    Make();
    Show();
    struct Case {
        const char* What;
        UINT Msg;
        WPARAM W;
        LPARAM L;
        LRESULT Answer;
        bool SavedRuns;
    };
    const Case cases[] = {
        {"WM_NCACTIVATE: the system draws no caption", WM_NCACTIVATE, 1, 0, 1, false},
        {"SC_KEYMENU: no system menu loop", WM_SYSCOMMAND, SC_KEYMENU, 0, 0, false},
        {"own-frame query on a skinnable form", WM_SKINFORM_QUERYOWNFRAME, 0, 0, SKINFORM_OWNFRAME, false},
        {"border to no DC still answers the key", WM_SKIN_PAINTBORDERTODC, 0, SKIN_PAINT_KEY, SKIN_PAINT_KEY, false},
        {"border request without the key", WM_SKIN_PAINTBORDERTODC, 0, 5, 0, true},
        {"paint to no DC paints nothing", WM_SKIN_PAINTTODC, 0, 0, 0, false},
        {"maximized-child query of a form that is no MDI form", WM_MDICHILD_QUERYMAXIMIZED, 0, 0, 0, false},
        {"menu command the form does not handle", WM_SKINMENU_COMMAND, 0, 0, 0, true},
        {"skin-change notices reach it after the form", WM_SKINDATA_AFTERCHANGE, 0, SKINDATA_LPARAM, 0, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Send(c.Msg, c.W, c.L), c.Answer) << c.What;
        EXPECT_EQ(SawSaved(c.Msg), c.SavedRuns) << c.What;
    }

    SF->SetSkinnableForm(false);
    EXPECT_EQ(Send(WM_SKINFORM_QUERYOWNFRAME), SKINFORM_SYSTEMFRAME) << "the layer reports 6.1";
    Send(WM_NCACTIVATE, 1);
    EXPECT_TRUE(SawSaved(WM_NCACTIVATE)) << "a form without the skinned frame leaves it to the system";
}

TEST_F(SkinFormWndProc, ClientAreaOfEachFrameNeverNegative)
{
    struct Case {
        const char* What;
        TFormBorderStyle Style;
        bool Skinned;
        RECT In, Out;
    };
    const Case cases[] = {
        {"no border: all client", bsNone, false, {0, 0, 300, 200}, {0, 0, 300, 200}},
        {"built-in frame", bsSizeable, false, {0, 0, 300, 200}, {3, 22, 297, 197}},
        {"built-in tool window", bsSizeToolWin, false, {0, 0, 300, 200}, {3, 18, 297, 197}},
        {"skin frame", bsSizeable, true, {0, 0, 300, 200}, {6, 30, 294, 194}},
        {"smaller than the built-in frame", bsSizeable, false, {0, 0, 4, 10}, {3, 10, 3, 10}},
        {"smaller than the skin frame", bsSizeable, true, {10, 10, 15, 40}, {15, 40, 15, 40}},
    };
    for (const Case& c : cases) {
        Make(300, 200, c.Style);
        if (c.Skinned) Skin();
        RECT r = c.In;
        EXPECT_EQ(Send(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r)), 0) << c.What;
        EXPECT_FALSE(SawSaved(WM_NCCALCSIZE)) << c.What;
        EXPECT_EQ(r.left, c.Out.left) << c.What;
        EXPECT_EQ(r.top, c.Out.top) << c.What;
        EXPECT_EQ(r.right, c.Out.right) << c.What;
        EXPECT_EQ(r.bottom, c.Out.bottom) << c.What;
        Form->Free();
        Saved.clear();
    }
}

// A skin whose client rectangle reaches far past its picture leaves the client area inside the
// window: the bar aligned to its top stays as wide as the form and paints.
TEST_F(SkinFormWndProc, ClientAreaStaysInsideTheWindowWhateverTheSkinSays)
{
    Make(300, 200, bsSizeable);
    Skin();
    auto* bar = new TbsSkinMainMenuBar(Form);
    bar->SetParent(Form);
    bar->SetSkinForm(SF);
    bar->SetSkinData(Model);
    const TRect sane = Model->ClRect;
    for (const TRect& hostile : {Rect(-500, -500, 190000, 190000), Rect(6, 30, 190000, 94), Rect(400, 300, 2, 2)}) {
        Model->ClRect = hostile;
        RECT r{0, 0, 300, 200};
        Send(WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&r));
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom && r.right <= 300 &&
                    r.bottom <= 200)
            << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        Form->SetBounds(100, 80, 301, 200);
        Form->SetBounds(100, 80, 300, 200);
        EXPECT_LE(bar->Width(), 300);
        EXPECT_NO_THROW(bar->DrawBar(nullptr));
    }
    Model->ClRect = sane;
}

TEST_F(SkinFormWndProc, PaintToDCDrawsTheFrameIntoTheGivenDC)
{
    Make();
    Show();
    TbsBitmap b;
    b.SetSize(300, 200);
    b.Clear(0xFF123456);
    EXPECT_EQ(Send(WM_SKIN_PAINTTODC, reinterpret_cast<WPARAM>(b.DC())), SKIN_PAINTTODC_DONE);
    EXPECT_EQ(b.Pixel(0, 0) & 0xFFFFFF, skintest::RgbOf(static_cast<TColor>(GetSysColor(COLOR_3DDKSHADOW))));
    EXPECT_EQ(b.Pixel(150, 100) & 0xFFFFFF, 0x123456u) << "the client area is left alone";
    b.Clear(0xFF123456);
    EXPECT_EQ(Send(WM_SKIN_PAINTBORDERTODC, reinterpret_cast<WPARAM>(b.DC()), SKIN_PAINT_KEY), SKIN_PAINT_KEY);
    EXPECT_NE(b.Pixel(0, 0) & 0xFFFFFF, 0x123456u);
}

TEST_F(SkinFormWndProc, FormCursorReplacesEveryFrameCodeButTheSizingBorders)
{
    Make();
    Show();
    SF->SetUseFormCursorInNCArea(true);
    const struct {
        WORD In, Out;
    } cases[] = {
        {HTCAPTION, HTCLIENT}, {19, HTCLIENT}, {HTCLIENT, HTCLIENT}, {HTLEFT, HTLEFT}, {HTBOTTOMRIGHT, HTBOTTOMRIGHT}};
    for (const auto& c : cases) {
        Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(Form->Handle()), MAKELPARAM(c.In, WM_MOUSEMOVE));
        ASSERT_FALSE(SavedFull.empty());
        EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(SavedFull.back().LParam)), c.Out) << c.In;
        EXPECT_EQ(HIWORD(static_cast<DWORD_PTR>(SavedFull.back().LParam)), WM_MOUSEMOVE);
    }
    SF->SetUseFormCursorInNCArea(false);
    Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(Form->Handle()), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
    EXPECT_EQ(LOWORD(static_cast<DWORD_PTR>(SavedFull.back().LParam)), HTCAPTION);
}

TEST_F(SkinFormWndProc, SavedProcedureRunsBeforeTheRebuildAndTwiceAroundAFullDragSizing)
{
    Make();
    Skin();
    Show();
    int widthAtSaved = -1;
    SavedHook = [&](const TMessage& M) {
        if (M.Msg == WM_SIZE) widthAtSaved = SF->FFormWidth;
    };
    Form->SetWidth(360);
    EXPECT_EQ(widthAtSaved, 300) << "WM_SIZE reaches the form before the frame is rebuilt";
    EXPECT_EQ(SF->FFormWidth, 360);
    EXPECT_EQ(SF->NewClRect.Right, 194 + 160);

    Send(WM_ENTERSIZEMOVE);
    ASSERT_TRUE(SF->FSizeMove && SF->FFullDrag);
    RECT r{Form->Left(), Form->Top(), Form->Left() + 400, Form->Top() + 250};
    Send(WM_SIZING, 8 /* WMSZ_BOTTOMRIGHT */, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(std::count(Saved.begin(), Saved.end(), static_cast<UINT>(WM_SIZING)), 2);
    EXPECT_EQ(SF->FFormWidth, 400) << "the frame is rebuilt for the proposed size";
    EXPECT_EQ(SF->NewClRect.Right, 394);
    Send(WM_EXITSIZEMOVE);
    EXPECT_FALSE(SF->FSizeMove);
}

}  // namespace

// A skinned form deleted without Free (as plain C++ code may) goes the way Free takes: the
// frame hears the window go while the form is still whole.
TEST_F(SkinFormWndProc, AFormDeletedWithoutFreeTakesItsFrameWithIt)
{
    Make();
    Form->Show();
    Pump();
    ASSERT_TRUE(Form->HandleAllocated());
    TForm* f = Form;
    Form = nullptr;
    SF = nullptr;
    delete f;  // the sanitizer stops here if the frame reaches into a half-destroyed form
    Pump();
}
