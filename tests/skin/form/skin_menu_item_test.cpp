// Menu entries as they are painted: the three vector glyphs pixel by pixel, the built-in look
// (highlight, separator, header, check and window-command glyphs, a framed image), and the skin
// looks from a synthetic record (caps copied, the middle tiled or stretched).
#include "skin/core/marks.h"
#include "skin/core/object_records.h"
#include "tests/skin/form/menu_test_support.h"
#include "tests/skin/support/synthetic_menu_skin.h"

namespace {

using SkinMenuItems = MenuFixture;

uint32_t Sys(TColor C) { return Rgb(static_cast<uint32_t>(ColorToRGB(C))); }

std::string Glyph(void (*Draw)(TCanvas*, int, int, TColor), int W, int H)
{
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(W, H);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, W, H));
    Draw(b.Canvas(), 0, 0, clBlack);
    return PixelArt(b);
}

TEST(SkinMenuGlyphs, ExactPixels)
{
    EXPECT_EQ(Glyph(DrawCheckGlyph, 8, 8),
              "........\n"
              "......#.\n"
              ".....##.\n"
              "#...###.\n"
              "##.###..\n"
              "#####...\n"
              ".###....\n"
              "..#.....\n");
    EXPECT_EQ(Glyph(DrawSubMenuArrow, 5, 8),
              "#....\n"
              "##...\n"
              "###..\n"
              "####.\n"
              "###..\n"
              "##...\n"
              "#....\n"
              ".....\n");
    EXPECT_EQ(Glyph(DrawRadioGlyph, 7, 7),
              ".####..\n"
              "######.\n"
              "######.\n"
              "######.\n"
              "######.\n"
              ".####..\n"
              ".......\n");
}

// 0xRRGGBB of a level's pixel, in the coordinates of entry I.
uint32_t EntryPx(TbsSkinPopupWindow* W, int I, int X, int Y)
{
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(W->Handle(), &w, &h);
    const TRect r = W->Item(I)->ObjectRect;
    return px[static_cast<size_t>((r.Top + Y) * w + r.Left + X)] & 0xFFFFFF;
}

TEST_F(SkinMenuItems, BuiltInLook)
{
    TbsSkinPopupMenu* m = Menu({L"Active", L"-", L"-Head-", L"Checked", L"Close", L"Picture", L"-Word-"});
    TMenuItem* root = m->Items();
    root->Items(2)->SetEnabled(false);
    root->Items(3)->SetChecked(true);
    root->Items(4)->SetName(L"BSF_CLOSE");
    root->Items(4)->SetChecked(true);
    root->Items(5)->SetChecked(true);
    TBitmap* pic = root->Items(5)->Bitmap();
    pic->SetPixelFormat(pf24bit);
    pic->SetSize(8, 8);
    pic->Canvas()->Brush()->SetColor(clRed);
    pic->Canvas()->FillRect(Rect(0, 0, 8, 8));
    vxwin::InjectMouseMove(5, 5);
    m->Popup(100, 100);
    Pump();
    TbsSkinPopupWindow* w = Level(0);
    ASSERT_EQ(w->ItemCount(), 7);
    const int iw = RectWidth(w->Item(0)->ObjectRect);
    EXPECT_EQ(EntryPx(w, 0, iw - 4, 3), 0xC1D4F3u) << "the highlighted entry";
    EXPECT_EQ(EntryPx(w, 3, iw - 4, 3), Sys(clWindow));
    EXPECT_EQ(RectHeight(w->Item(1)->ObjectRect), 4);
    EXPECT_EQ(EntryPx(w, 1, 10, 2), Sys(clBtnShadow)) << "the separator's line";
    EXPECT_EQ(EntryPx(w, 1, 10, 1), Sys(clWindow));
    EXPECT_EQ(EntryPx(w, 2, iw - 4, 3), Sys(clBtnShadow)) << "a disabled -x- is a header";
    EXPECT_EQ(EntryPx(w, 6, iw - 4, 3), Sys(clWindow)) << "an enabled one is a plain entry";

    // The check mark at (R.Left + 3, middle - 4), R inset by 2; a close glyph in place of it.
    auto area = [&](int I) {
        return PixelArt(16, 16, [&](int x, int y) { return 0xFF000000u | EntryPx(w, I, x, y); },
                        {{'.', Sys(clWindow)}, {'#', Sys(clWindowText)}});
    };
    TBitmap ref;
    ref.SetPixelFormat(pf24bit);
    ref.SetSize(16, 16);
    auto expected = [&](auto Draw) {
        ref.Canvas()->Brush()->SetColor(clWindow);
        ref.Canvas()->FillRect(Rect(0, 0, 16, 16));
        Draw(ref.Canvas());
        return PixelArt(16, 16, [&](int x, int y) { return ref.PixelArgb(x, y); },
                        {{'.', Sys(clWindow)}, {'#', Sys(clWindowText)}});
    };
    const int mid = 16 / 2 + 2 - 4;
    const std::string check = expected([&](TCanvas* c) { DrawCheckGlyph(c, 5, mid, clWindowText); });
    // The caption starts at GW + 2 = 21: nothing of it in the first 16 columns.
    EXPECT_EQ(area(3), check);
    EXPECT_EQ(area(4), expected([&](TCanvas* c) { DrawCloseGlyph(c, 4, mid, clWindowText); }))
        << "BSF_CLOSE shows its glyph, not the check";
    // A checked entry with a picture: the picture framed, no mark.
    EXPECT_EQ(EntryPx(w, 5, 4, mid + 2), 0xFF0000u);
    EXPECT_EQ(EntryPx(w, 5, 3, mid + 2), Sys(clWindowText)) << "the frame's left edge";
    EXPECT_EQ(EntryPx(w, 5, 12, mid + 2), Sys(clWindowText)) << "its right edge";
    Engine->Hide();
}

TEST_F(SkinMenuItems, SkinLookFromTheRecord)
{
    for (bool stretch : {false, true}) {
        SCOPED_TRACE(stretch ? "stretched middle" : "tiled middle");
        Def = std::make_unique<skintest::SyntheticSkin>();
        skintest::MenuSkin ms;
        ms.InActiveStretch = stretch;
        skintest::AddMenuSkin(*Def, ms);
        Def->LoadInto(Model);
        SF->SetSkinData(Model);
        TbsSkinPopupMenu* m = Menu({L"Active", L"-", L"Normal entry with a long caption"});
        vxwin::InjectMouseMove(5, 5);
        m->Popup(100, 100);
        Pump();
        TbsSkinPopupWindow* w = Level(0);
        ASSERT_NE(w->PW, nullptr);
        ASSERT_NE(w->DSMI, nullptr);
        EXPECT_EQ(RectHeight(w->Item(2)->ObjectRect), 20) << "the skin's item height";
        EXPECT_EQ(RectHeight(w->Item(1)->ObjectRect), 4) << "the divider's height";
        EXPECT_EQ(w->Item(2)->ObjectRect.Left, skintest::kPopupFrame);
        const int iw = RectWidth(w->Item(2)->ObjectRect);
        ASSERT_GT(iw, 100);
        EXPECT_EQ(EntryPx(w, 2, 0, 0), skintest::kMarkTL) << "left cap copied";
        EXPECT_EQ(EntryPx(w, 2, iw - 1, 0), skintest::kMarkTR) << "right cap copied";
        EXPECT_EQ(EntryPx(w, 2, 4, 1), skintest::kExtra3) << "the middle starts with its stripe";
        // Tiled, the 42-pixel middle repeats the stripe; stretched it does not.
        EXPECT_EQ(EntryPx(w, 2, 46, 1), stretch ? skintest::kNormal : skintest::kExtra3);
        EXPECT_EQ(EntryPx(w, 0, iw - 2, 10), skintest::kHot) << "the preselected entry's active look";
        int ww = 0, wh = 0;
        auto px = vxwin::WindowPixels(w->Handle(), &ww, &wh);
        EXPECT_EQ(px[0] & 0xFFFFFF, skintest::kExtra1) << "the window picture's frame";
        EXPECT_EQ(wh, 3 + 20 + 20 + 4 + 3);
        Engine->Hide();
        m->Free();
        Pump();
    }
}

TEST_F(SkinMenuItems, BrokenRecordsFallBackToTheBuiltInLook)
{
    // A popup picture without an item record: built-in sizes and look.
    Def = std::make_unique<skintest::SyntheticSkin>();
    skintest::MenuSkin ms;
    ms.MenuItemRecord = false;
    skintest::AddMenuSkin(*Def, ms);
    Def->LoadInto(Model);
    SF->SetSkinData(Model);
    TbsSkinPopupMenu* m = Menu({L"A", L"B"});
    m->Popup(100, 100);
    EXPECT_EQ(Level(0)->PW, nullptr);
    EXPECT_EQ(Level(0)->Height(), 2 * 20 + 4);
    Engine->Hide();

    // An item record whose picture index is invalid empties the shared record's looks.
    Def = std::make_unique<skintest::SyntheticSkin>();
    ms = {};
    ms.MenuItemPicture = 99;
    skintest::AddMenuSkin(*Def, ms);
    Def->LoadInto(Model);
    m->SetSkinData(Model);
    m->Popup(100, 100);
    ASSERT_NE(Level(0)->DSMI, nullptr);
    EXPECT_TRUE(IsNullRect(Level(0)->DSMI->SkinRect));
    EXPECT_TRUE(IsNullRect(Level(0)->DSMI->ActiveSkinRect));
    Pump();
    Engine->Hide();
}

}  // namespace
