// The skinned control bases: record look-up by exact name, the size each resize mode allows, the
// geometry for it, the window region from the mask, the nine-part picture, the built-in look,
// default sizes, 1284 passed to children and the skin-change protocol.
#include <gtest/gtest.h>

#include "skin/controls/skin_control.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

// A skin with one record per resize mode, a mask picture and a record of another family.
void AddProtocolSkin(SyntheticSkin& s)
{
    int p = s.AddPicture(40, 20);
    s.Block(p, Rect(0, 0, 12, 10), kNormal);
    s.Block(p, Rect(12, 0, 24, 10), kHot);
    s.Block(p, Rect(24, 0, 30, 12), kDown);
    s.Block(p, Rect(30, 0, 38, 6), kFocused);
    int mask = s.AddPicture(12, 10, 0x000000);
    s.Pixel(mask, 0, 0, 0xFFFFFF);  // the top-left pixel is cut off
    const std::string nine =
        "pictureindex=0\r\nskinrect=0,0,12,10\r\nlefttoppoint=3,3\r\nrighttoppoint=9,3\r\n"
        "leftbottompoint=3,7\r\nrightbottompoint=9,7\r\nclientrect=3,3,9,7\r\n";
    s.Control("nine", "panel", nine + "maskpictureindex=1\r\n");
    s.Control("stretchy", "panel", nine + "stretcheffect=1\r\n");
    s.Control(
        "horz", "panel",
        "pictureindex=0\r\nskinrect=12,0,24,10\r\nlefttoppoint=4,0\r\nrighttoppoint=8,0\r\nclientrect=4,0,8,10\r\n");
    s.Control(
        "vert", "panel",
        "pictureindex=0\r\nskinrect=24,0,30,12\r\nlefttoppoint=0,4\r\nleftbottompoint=0,8\r\nclientrect=0,4,6,8\r\n");
    s.Control("fixed", "panel", "pictureindex=0\r\nskinrect=30,0,38,6\r\nclientrect=1,1,7,5\r\n");
    s.Control("none", "panel", "pictureindex=0\r\nmaskpictureindex=1\r\nskinrect=0,0,0,0\r\n");
    s.Control("other", "stdlabel", "pictureindex=0\r\nskinrect=0,0,5,5\r\n");
}

bool HasRegion(TWinControl* C)
{
    HRGN r = CreateRectRgn(0, 0, 0, 0);
    int kind = GetWindowRgn(C->Handle(), r);
    DeleteObject(r);
    return kind != ERROR;
}

// A child that counts the parent-background notices it gets.
class TBgCounter : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Count = 0;

protected:
    void Dispatch(TMessage& m) override
    {
        if (m.Msg == WM_SKIN_PARENTBGCHANGED) ++Count;
        TCustomControl::Dispatch(m);
    }
};

struct SkinControlTest : SkinControlFixture {
    SyntheticSkin Skin;
    TbsSkinCustomControl* C = nullptr;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        AddProtocolSkin(Skin);
        Skin.LoadInto(Model);
        C = Make(L"nine");
    }
    TbsSkinCustomControl* Make(const String& Name)
    {
        auto* c = new TbsSkinCustomControl(Form);
        c->SetParent(Form);
        c->SetBounds(10, 10, 40, 30);
        c->SetSkinDataName(Name);
        return c;
    }
};

}  // namespace

TEST_F(SkinControlTest, EachResizeModeGivesItsSizeGeometryAndRegion)
{
    struct Case {
        const wchar_t* name;
        int mode, w, h;  // asked size
        int gotW, gotH;  // size taken
        TRect clRect;    // NewClRect
        bool region;
    } cases[] = {
        {L"nine", 1, 20, 16, 20, 16, Rect(3, 3, 17, 13), true},
        {L"nine", 1, 5, 4, 5, 4, Rect(3, 3, 2, 1), false},  // smaller than the corners: no region
        {L"horz", 2, 20, 16, 20, 10, Rect(4, 0, 16, 10), false},
        {L"vert", 3, 20, 16, 6, 16, Rect(0, 4, 6, 12), false},
        {L"fixed", 0, 20, 16, 8, 6, Rect(1, 1, 7, 5), false},
        {L"none", -1, 20, 16, 20, 16, Rect(0, 0, 0, 0), false},  // a mask, but no look: no region
    };
    ShowForm();
    for (const Case& k : cases) {
        SCOPED_TRACE(StringToUtf8(k.name) + " " + std::to_string(k.w));
        TbsSkinCustomControl* c = Make(k.name);
        c->SetSkinData(Model);
        c->SetBounds(0, 0, k.w, k.h);
        EXPECT_EQ(c->ResizeMode, k.mode);
        EXPECT_EQ(c->Width(), k.gotW);
        EXPECT_EQ(c->Height(), k.gotH);
        EXPECT_EQ(c->RealClientRect(), k.clRect);
        EXPECT_EQ(HasRegion(c), k.region);
        c->Free();
    }
}

TEST_F(SkinControlTest, TheRegionFollowsTheMaskAndGoesWithTheLook)
{
    ShowForm();
    C->SetSkinData(Model);
    C->SetBounds(0, 0, 20, 16);
    ASSERT_TRUE(HasRegion(C));
    // The cut-off corner pixel belongs to the form behind the control.
    EXPECT_EQ(WindowFromPoint(POINT{0, 0}), Form->Handle());
    EXPECT_EQ(WindowFromPoint(POINT{1, 0}), C->Handle());
    // Setting the region again hands the window a new one; the old one was the window's.
    C->ChangeSkinData();
    C->ChangeSkinData();
    EXPECT_TRUE(HasRegion(C));
    // A record without a look takes the region away even though it names a mask.
    C->SetSkinDataName(L"none");
    C->ChangeSkinData();
    EXPECT_FALSE(HasRegion(C));
    // So does having no record.
    C->SetSkinDataName(L"nine");
    C->ChangeSkinData();
    ASSERT_TRUE(HasRegion(C));
    C->SetSkinDataName(L"missing");
    C->ChangeSkinData();
    EXPECT_FALSE(HasRegion(C));
}

TEST_F(SkinControlTest, ANinePartPictureKeepsItsCornersAtTheCorners)
{
    C->SetSkinData(Model);
    C->SetBounds(0, 0, 16, 12);
    ShowForm();
    // The mask cuts the top-left pixel off: the white form shows there.
    EXPECT_EQ(Art(C),
              ".nnnnnnnnnnnnnn2\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "nnnnnnnnnnnnnnnn\n"
              "3nnnnnnnnnnnnnn4\n");
}

TEST_F(SkinControlTest, WithoutARecordTheBuiltInLookAndTheDefaultSize)
{
    const uint32_t face = Rgb(ColorToCOLORREF(clBtnFace));
    // A name differing only in letter case finds nothing.
    C->SetSkinDataName(L"Nine");
    C->SetSkinData(Model);
    EXPECT_EQ(C->SkinIndex(), -1);
    ShowForm();
    EXPECT_EQ(PixelAt(C, 0, 0), face);
    EXPECT_EQ(PixelAt(C, 39, 29), face);

    C->SetDefaultWidth(0);
    EXPECT_EQ(C->Width(), 40);
    C->SetDefaultWidth(120);
    C->SetDefaultHeight(22);
    EXPECT_EQ(C->Width(), 120);
    EXPECT_EQ(C->Height(), 22);
    C->SetBounds(0, 0, 50, 50);
    C->ChangeSkinData();  // the default size comes back with every skin change
    EXPECT_EQ(C->Width(), 120);
    EXPECT_EQ(C->Height(), 22);
    // With a record the default width is stored only.
    C->SetSkinDataName(L"fixed");
    C->ChangeSkinData();
    C->SetDefaultWidth(90);
    EXPECT_EQ(C->Width(), 8);
}

TEST_F(SkinControlTest, ARecordOfAnotherFamilyHasAFixedBlankLook)
{
    C->SetSkinDataName(L"fixed");
    C->SetSkinData(Model);
    ASSERT_EQ(C->Width(), 8);
    C->SetSkinDataName(L"other");
    C->ChangeSkinData();
    EXPECT_NE(C->SkinIndex(), -1);
    EXPECT_EQ(C->ResizeMode, 0);
    EXPECT_EQ(C->Picture, nullptr);
    EXPECT_EQ(C->Width(), 8);  // the skin rectangle copied last
    EXPECT_EQ(C->Height(), 6);
}

TEST_F(SkinControlTest, SkinDataOnAnEmptyModelWaitsForTheChange)
{
    auto* empty = new TbsSkinData(Form);
    C->SetSkinDataName(L"fixed");
    C->SetSkinData(empty);
    EXPECT_EQ(C->Width(), 40);  // an empty model runs no ChangeSkinData
    SyntheticSkin s;
    AddProtocolSkin(s);
    s.LoadInto(empty);
    EXPECT_EQ(C->Width(), 40);  // no skinned form walks this one
    ShowForm();
    EXPECT_EQ(PixelAt(C, 0, 0), kMarkTL);  // but the next paint finds the record
    EXPECT_EQ(PixelAt(C, 3, 3), kFocused);
    // ChangeSkinData works without BeforeChangeSkinData first.
    C->ChangeSkinData();
    EXPECT_EQ(C->Width(), 8);
    EXPECT_EQ(C->Height(), 6);
    // A skin model being freed is forgotten.
    empty->Free();
    EXPECT_EQ(C->SkinData(), nullptr);
    C->Repaint();
}

TEST_F(SkinControlTest, BeforeChangeForgetsTheRecordUntilTheChange)
{
    C->SetSkinData(Model);
    ASSERT_NE(C->SkinIndex(), -1);
    C->SkinChangeBegin();
    EXPECT_EQ(C->SkinIndex(), -1);
    EXPECT_EQ(C->SkinChangeModel(), Model);
    C->SkinChangeEnd();
    EXPECT_NE(C->SkinIndex(), -1);
    EXPECT_TRUE(C->SkinCancelModeClient());
}

TEST_F(SkinControlTest, AStretchedBackgroundTellsItsChildrenOnEverySetBounds)
{
    C->SetSkinDataName(L"stretchy");
    C->SetSkinData(Model);
    auto* child = new TBgCounter(Form);
    child->SetParent(C);
    child->SetBounds(1, 1, 4, 4);
    ShowForm();
    int before = child->Count;
    C->SetBounds(C->Left(), C->Top(), C->Width(), C->Height());  // unchanged bounds
    EXPECT_EQ(child->Count, before + 1);
    C->SetSkinDataName(L"nine");  // no stretch effect: nothing passed on
    C->SetBounds(C->Left(), C->Top(), C->Width() + 2, C->Height());
    EXPECT_EQ(child->Count, before + 1);
    C->CheckControlsBackground();
    EXPECT_EQ(child->Count, before + 2);
}

TEST_F(SkinControlTest, MapSkinRectInThreePartAcross)
{
    C->SetSkinDataName(L"horz");
    C->SetSkinData(Model);
    C->SetBounds(0, 0, 20, 10);  // 8 wider than the record
    struct {
        TRect in, out;
    } cases[] = {
        {Rect(9, 2, 11, 5), Rect(17, 2, 19, 5)},  // in the right cap: moved
        {Rect(2, 1, 9, 3), Rect(2, 1, 17, 3)},    // from the left cap into the right one: widened
        {Rect(0, 0, 3, 3), Rect(0, 0, 3, 3)},     // in the left cap
        {Rect(5, 0, 7, 3), Rect(5, 0, 7, 3)},     // in the middle
    };
    for (auto& k : cases) {
        TRect r;
        C->MapSkinRect(k.in, r);
        EXPECT_EQ(r, k.out);
    }
}

TEST_F(SkinControlTest, MapSkinRectInNineParts)
{
    C->SetSkinData(Model);
    C->SetBounds(0, 0, 20, 16);  // 8 wider, 6 higher
    struct {
        TRect in, out;
    } cases[] = {
        {Rect(0, 0, 2, 2), Rect(0, 0, 2, 2)},        // top-left corner
        {Rect(10, 0, 11, 2), Rect(18, 0, 19, 2)},    // top-right corner
        {Rect(0, 8, 2, 9), Rect(0, 14, 2, 15)},      // bottom-left corner
        {Rect(10, 8, 11, 9), Rect(18, 14, 19, 15)},  // bottom-right corner
        {Rect(1, 1, 10, 8), Rect(1, 1, 18, 14)},     // top-left to bottom-right
        {Rect(1, 1, 10, 3), Rect(1, 1, 18, 3)},      // across the top
        {Rect(1, 1, 2, 8), Rect(1, 1, 2, 14)},       // down the left
    };
    for (auto& k : cases) {
        TRect r;
        C->MapSkinRect(k.in, r);
        EXPECT_EQ(r, k.out);
    }
}
