// The memo skin routines on a test-only framed memo (a framework memo with two skin bars): the
// bars following the window's scroll state, a disabled memo, the record's font and background,
// and a text rectangle that never turns negative.
#include <gtest/gtest.h>

#include "platform/framework/controls/memo.h"
#include "skin/boxes/memo_skin.h"
#include "tests/skin/boxes/box_fixture.h"

using namespace skintest;

namespace {

struct MemoSkinTest : BoxFixture {
    TMemo* Memo = nullptr;
    TFont Default;
    TbsMemoSkin M;

    void SetUp() override
    {
        BoxFixture::SetUp();
        SyntheticSkin s;
        s.AddPicture(40, 40);
        s.Control("memo", "memo",
                  "pictureindex=0\r\nskinrect=0,0,40,40\r\nclientrect=4,5,34,33\r\nfontname=Arial\r\nfontheight=15\r\n"
                  "fontcolor=" +
                      IniColor(0x102030) + "\r\nbgcolor=" + IniColor(0xF0E0D0) + "\r\n");
        s.LoadInto(Model);
        Form->SetBounds(0, 0, 300, 300);
        Memo = new TMemo(Form);
        Memo->SetParent(Form);
        Memo->SetScrollBars(ssBoth);
        Memo->SetBounds(10, 10, 200, 100);
        Default.SetColor(clMaroon);
        M.Memo = Memo;
        M.DefaultFont = &Default;
        for (bool vertical : {true, false}) {
            auto* bar = new TbsSkinScrollBar(Form);
            bar->SetParent(Form);
            if (vertical) bar->SetKind(sbVertical);
            (vertical ? M.VScrollBar : M.HScrollBar) = bar;
        }
        ShowForm();
        // The framework memo never scrolls sideways; a multi-line edit window would say so.
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL;
        si.nPage = 1;
        SetScrollInfo(Memo->Handle(), SB_HORZ, &si, FALSE);
    }
};

}  // namespace

TEST_F(MemoSkinTest, BarsFollowTheScrollStateAndADisabledMemo)
{
    Memo->Lines()->Add(L"one line");
    Pump();
    ChangeMemoSkinData(M);
    for (TbsSkinScrollBar* b : {M.VScrollBar, M.HScrollBar}) {
        EXPECT_EQ(b->Max(), 0);
        EXPECT_EQ(b->PageSize(), 0);
        EXPECT_FALSE(b->Enabled());
    }
    EXPECT_EQ(Memo->Font()->Color(), clMaroon) << "no skin: the default font's colour";
    for (int i = 0; i < 40; ++i) Memo->Lines()->Add(L"line " + IntToStr(i));
    Pump();
    ChangeMemoSkinData(M);
    EXPECT_TRUE(M.VScrollBar->Enabled());
    EXPECT_EQ(M.VScrollBar->Max(), 40);
    EXPECT_GT(M.VScrollBar->PageSize(), 0);
    EXPECT_FALSE(M.HScrollBar->Enabled());

    Memo->SetEnabled(false);
    M.VScrollBar->SetRange(0, 5, 0, 1);
    ChangeMemoSkinData(M);
    EXPECT_FALSE(M.VScrollBar->Enabled());
    EXPECT_EQ(M.VScrollBar->Max(), 5) << "disabled without reading the scroll state";
    EXPECT_EQ(Memo->Font()->Color(), clGrayText);
}

TEST_F(MemoSkinTest, TheRecordSetsFontBackgroundAndTextRectangle)
{
    M.SkinData = Model;
    ChangeMemoSkinData(M);
    EXPECT_EQ(M.FIndex, 0);
    EXPECT_EQ(Memo->Font()->Name(), L"Arial");
    EXPECT_EQ(Memo->Font()->Height(), 15);
    EXPECT_EQ(RgbOf(Memo->Font()->Color()), 0x102030u);
    EXPECT_EQ(RgbOf(Memo->Color()), 0xF0E0D0u);
    const TRect c = Memo->ClientRect();
    EXPECT_EQ(M.TextRect, Rect(c.Left + 4 + 3, c.Top + 5 + 2, c.Right - (40 - 34 + 3), c.Bottom - (40 - 33 + 2)));
    // However small: never a negative width or height.
    for (const TSize& s : {TSize{1, 1}, TSize{12, 8}}) {
        Memo->SetBounds(10, 10, s.cx, s.cy);
        SetMemoTextRect(M);
        EXPECT_GE(M.TextRect.Width(), 0);
        EXPECT_GE(M.TextRect.Height(), 0);
    }
    M.SkinData = nullptr;
    M.NarrowMargin = true;
    Memo->SetBounds(10, 10, 200, 100);
    GetMemoSkinData(M);
    EXPECT_EQ(M.FIndex, -1);
    SetMemoTextRect(M);
    const TRect c2 = Memo->ClientRect();
    EXPECT_EQ(M.TextRect, Rect(c2.Left + 3, c2.Top + 2, c2.Right - 4, c2.Bottom - 2));
}
