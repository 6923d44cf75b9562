// The skinned splitter's thickness and look with and without a record, transparent, and
// aligned where the skin does not apply.
#include <gtest/gtest.h>

#include "skin/controls/skin_splitter.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

struct SplitterTest : SkinControlFixture {
    TbsSkinSplitter* S = nullptr;
    void SetUp() override
    {
        SkinControlFixture::SetUp();
        SyntheticSkin s;
        int p = s.AddPicture(30, 40);
        s.Block(p, Rect(0, 0, 6, 40), kNormal);
        s.Block(p, Rect(10, 0, 14, 6), kExtra1, false);  // gripper
        s.Control("vsplitter", "splitter",
                  "pictureindex=0\r\nskinrect=0,0,6,40\r\nlefttoppoint=0,4\r\nleftbottompoint=0,36\r\n"
                  "gripperrect=10,0,14,6\r\n");
        s.Control("hsplitter", "splitter", "pictureindex=7\r\nskinrect=0,0,40,6\r\n");
        s.LoadInto(Model);
        S = new TbsSkinSplitter(Form);
        S->SetParent(Form);
        S->SetAlign(alLeft);
    }
};

}  // namespace

TEST_F(SplitterTest, ThicknessByRecord)
{
    const int framework = S->Width();
    S->SetSkinDataName(L"missing");
    EXPECT_EQ(S->Width(), framework);  // no skin data yet: the framework's size
    S->SetSkinData(Model);
    EXPECT_EQ(S->Width(), 10);  // no record: DefaultSize
    S->SetSkinDataName(L"vsplitter");
    S->ChangeSkinData();
    EXPECT_EQ(S->Width(), 6);
    S->SetTransparent(true);
    S->ChangeSkinData();
    EXPECT_EQ(S->Width(), 10);
    S->SetAlign(alTop);
    EXPECT_EQ(S->SkinDataName(), L"vsplitter");  // the name stays at run time
}

TEST_F(SplitterTest, TheSkinLookWithItsGripper)
{
    S->SetSkinDataName(L"vsplitter");
    S->SetSkinData(Model);
    ShowForm();
    ASSERT_EQ(S->Height(), 120);
    EXPECT_EQ(PixelAt(Form, 0, 0), kMarkTL);    // the top cap
    EXPECT_EQ(PixelAt(Form, 3, 30), kNormal);   // the stretched middle
    EXPECT_EQ(PixelAt(Form, 3, 60), kExtra1);   // the gripper in the middle
    EXPECT_EQ(PixelAt(Form, 0, 119), kMarkBL);  // the bottom cap
}

TEST_F(SplitterTest, FrameworkLookWhereTheSkinDoesNotApply)
{
    S->SetColor(clLime);
    S->SetSkinDataName(L"hsplitter");  // its picture index is past the skin's pictures
    S->SetAlign(alTop);
    S->SetSkinData(Model);
    ShowForm();
    EXPECT_EQ(S->Height(), 6);
    EXPECT_EQ(PixelAt(Form, 20, 2), 0x00FF00u);
    S->SetAlign(alNone);
    S->SetSkinDataName(L"vsplitter");
    S->SetBounds(50, 50, 20, 20);
    S->Invalidate();
    Pump();
    EXPECT_EQ(PixelAt(Form, 60, 60), 0x00FF00u);
    // Transparent: nothing is painted over the form.
    S->SetTransparent(true);
    S->Invalidate();
    Pump();
    EXPECT_EQ(PixelAt(Form, 60, 60), 0xFFFFFFu);
}
