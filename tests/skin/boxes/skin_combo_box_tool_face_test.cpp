// The skinned combo box's list and edit properties passed through, its tool-button style (the
// whole face one button, built-in and skinned) and PaintSkinTo, which draws the face with a given
// text elsewhere.
#include <gtest/gtest.h>

#include "skin/boxes/box_buttons.h"
#include "skin/boxes/skin_combo_box.h"
#include "tests/skin/boxes/box_fixture.h"

using namespace skintest;

namespace {

struct ComboToolFace : BoxFixture {
    TbsSkinComboBox* C = nullptr;
    void SetUp() override
    {
        BoxFixture::SetUp();
        Form->SetBounds(100, 100, 300, 200);
        C = new TbsSkinComboBox(Form);
        C->SetParent(Form);
        C->SetBounds(10, 10, 120, 20);
        for (const wchar_t* s : {L"One", L"Two"}) C->Items()->Add(s);
        C->SetItemIndex(0);
    }
    uint32_t Face(int X, int Y)
    {
        C->Repaint();
        return PixelAt(C, X, Y);
    }
};

}  // namespace

TEST_F(ComboToolFace, ListAndEditPropertiesReachTheirControls)
{
    TbsPopupListBox* list = C->ListBox();
    C->SetHorizontalExtent(true);
    EXPECT_TRUE(list->HorizontalExtent());
    C->SetListBoxCaption(L"Pick one");
    EXPECT_EQ(list->Caption(), L"Pick one");
    C->SetListBoxCaptionMode(true);
    EXPECT_TRUE(list->CaptionMode());
    C->SetListBoxCaptionAlignment(taCenter);
    EXPECT_EQ(list->Alignment(), taCenter);
    TFont f;
    f.SetName(L"Arial");
    f.SetHeight(17);
    C->SetListBoxDefaultFont(&f);
    EXPECT_EQ(list->DefaultFont()->Height(), 17);
    C->SetListBoxDefaultCaptionFont(&f);
    EXPECT_EQ(list->DefaultCaptionFont()->Name(), L"Arial");
    EXPECT_EQ(C->ListBoxDefaultFont(), list->DefaultFont());

    // CharCase reaches an edit made afterwards and one that exists.
    C->SetCharCase(ecUpperCase);
    C->SetStyle(bscbEditStyle);
    ASSERT_NE(C->Edit(), nullptr);
    EXPECT_EQ(C->Edit()->CharCase(), ecUpperCase);
    C->SetCharCase(ecLowerCase);
    EXPECT_EQ(C->Edit()->CharCase(), ecLowerCase);

    // The tool-button style takes the fixed style and frees the size from the skin.
    C->SetToolButtonStyle(true);
    EXPECT_TRUE(C->ToolButtonStyle());
    EXPECT_EQ(C->Style(), bscbFixedStyle);
    EXPECT_EQ(C->Edit(), nullptr);
    EXPECT_FALSE(C->UseSkinSize());
}

TEST_F(ComboToolFace, BuiltInToolFaceIsOneButtonThatShowsItsState)
{
    C->SetToolButtonStyle(true);
    ShowForm();
    EXPECT_EQ(C->Button.R, Rect(101, 0, 120, 20));
    EXPECT_EQ(C->CBItem.R, Rect(2, 2, 100, 18));
    EXPECT_EQ(Face(0, 0), Shown(clBtnShadow));
    EXPECT_EQ(Face(1, 1), Shown(clBtnFace)) << "one face, no separate item area";
    EXPECT_EQ(Face(110, 1), Shown(clBtnFace));
    C->SetFocus();
    Pump();
    EXPECT_EQ(Face(0, 0), Shown(kBoxHotFrame)) << "focused";
    EXPECT_EQ(Face(1, 1), Shown(kBoxHotFill));
    C->DropDown();
    Pump();
    EXPECT_EQ(Face(1, 1), Shown(kBoxDownFill)) << "dropped down";
    C->CloseUp(false);
}

TEST_F(ComboToolFace, SkinnedToolFaceComesFromTheToolButtonRecord)
{
    SyntheticSkin s;
    const int p = s.AddPicture(120, 40);
    s.Block(p, Rect(0, 0, 30, 20), kExtra1);  // the combo box's own record
    s.Block(p, Rect(30, 0, 50, 20), kNormal, false);
    s.Block(p, Rect(50, 0, 70, 20), kHot, false);
    s.Block(p, Rect(70, 0, 90, 20), kDown, false);
    s.Control("combobox", "combobox", "pictureindex=0\nskinrect=0,0,30,20\nclientrect=3,3,27,17\nlistboxname=listbox");
    s.Control("resizetoolbutton", "button",
              "pictureindex=0\nskinrect=30,0,50,20\nclientrect=3,3,17,17\nlefttoppoint=3,3\nrighttoppoint=17,3\n"
              "leftbottompoint=3,17\nrightbottompoint=17,17\nactiveskinrect=50,0,70,20\ndownskinrect=70,0,90,20");
    s.LoadInto(Model);
    C->SetSkinData(Model);
    C->SetToolButtonStyle(true);
    ShowForm();
    ASSERT_NE(C->SkinIndex(), -1);
    EXPECT_EQ(Face(1, 1), kNormal);
    EXPECT_EQ(Face(C->Width() - 2, C->Height() - 2), kNormal) << "stretched over the whole control";
    C->SetFocus();
    Pump();
    EXPECT_EQ(Face(1, 1), kHot);
    C->DropDown();
    Pump();
    EXPECT_EQ(Face(1, 1), kDown);
    C->CloseUp(false);
}

TEST_F(ComboToolFace, PaintSkinToDrawsTheFaceWithTheGivenTextAndKeepsItsOwn)
{
    ShowForm();
    int changes = 0;
    C->OnChange = [&](TObject*) { ++changes; };
    TBitmap b(140, 40);
    b.Canvas()->Brush()->SetColor(clWhite);
    b.Canvas()->FillRect(Rect(0, 0, 140, 40));
    C->PaintSkinTo(b.Canvas(), 5, 10, L"Other text");
    EXPECT_EQ(C->Text(), L"One") << "its own text comes back";
    auto at = [&](int X, int Y) { return b.PixelArgb(X, Y) & 0xFFFFFF; };
    EXPECT_EQ(at(5, 10), Shown(clBtnShadow)) << "the frame at (X, Y)";
    EXPECT_EQ(at(4, 10), 0xFFFFFFu);
    EXPECT_EQ(at(5 + 101, 10 + 10), Shown(clBtnShadow)) << "the button's frame";
    bool ink = false;
    for (int x = 5 + 2; x < 5 + 100; ++x)
        for (int y = 10 + 2; y < 10 + 18; ++y) ink |= at(x, y) != Shown(clWindow);
    EXPECT_TRUE(ink) << "the text in the item area";
    // The tool-button style draws its own face.
    C->SetToolButtonStyle(true);
    C->PaintSkinTo(b.Canvas(), 5, 10, L"Other text");
    EXPECT_EQ(at(6, 11), Shown(clBtnFace));
    EXPECT_EQ(C->Text(), L"One");
}
