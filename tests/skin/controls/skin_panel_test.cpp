// Skinned panels: the seven looks by pixels, caption clicks, checked mode, roll-up, the
// transparent mode's parent-background pass, the group frame, the paint panel's event and the
// group box.
#include <gtest/gtest.h>

#include <functional>

#include "skin/controls/skin_paint_panel.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

const std::string kNine =
    "pictureindex=0\r\nlefttoppoint=4,4\r\nrighttoppoint=16,4\r\nleftbottompoint=4,16\r\n"
    "rightbottompoint=16,16\r\nclientrect=4,8,16,16\r\ncaptionrect=4,1,16,7\r\n";

void AddPanelSkin(SyntheticSkin& s)
{
    int p = s.AddPicture(60, 40);
    s.Block(p, Rect(0, 0, 20, 20), kNormal);
    s.Block(p, Rect(4, 8, 16, 16), kHot, false);    // the client piece
    s.Block(p, Rect(4, 1, 16, 7), kExtra1, false);  // the caption area
    s.Block(p, Rect(20, 0, 40, 20), kDown);         // "panel" for the resized caption
    s.Block(p, Rect(24, 8, 36, 16), kFocused, false);
    int bg = s.AddPicture(5, 5, kExtra2);
    (void)bg;
    s.Control("panel", "panel", kNine + "skinrect=0,0,20,20\r\n");
    s.Control("bgpanel", "panel", kNine + "skinrect=0,0,20,20\r\nbgpictureindex=1\r\n");
    s.Control("badbg", "panel", kNine + "skinrect=0,0,20,20\r\nbgpictureindex=9\r\n");
    s.Control("own", "panel", kNine + "skinrect=0,0,20,20\r\n");
    s.Control("stdlabel", "stdlabel", "fontcolor=255\r\n");  // red
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

struct PanelTest : SkinControlFixture {
    SyntheticSkin Skin;
    void SetUp() override
    {
        SkinControlFixture::SetUp();
        AddPanelSkin(Skin);
        Skin.LoadInto(Model);
    }
    template <class T = TbsSkinPanel>
    T* Make(const String& Name, int W = 60, int H = 50)
    {
        auto* p = new T(Form);
        p->SetParent(Form);
        p->SetBounds(10, 10, W, H);
        p->SetSkinDataName(Name);
        if (!Name.empty()) p->SetSkinData(Model);
        return p;
    }
};

}  // namespace

TEST_F(PanelTest, TheSevenLooks)
{
    const uint32_t shadow = Rgb(ColorToCOLORREF(clBtnShadow)), face = Rgb(ColorToCOLORREF(clBtnFace));
    struct Case {
        const char* what;
        const wchar_t* name;
        std::function<void(TbsSkinPanel*)> set;
        int x, y;
        uint32_t expected;
    } cases[] = {
        {"1 resized caption: the caption strip stretched from the own record", L"panel",
         [](TbsSkinPanel* p) {
             p->SetUseSkinSize(false);
             p->SetCaptionMode(true);
         },
         10, 12, kExtra1},
        {"1 resized caption: the body from the panel record", L"panel",
         [](TbsSkinPanel* p) {
             p->SetUseSkinSize(false);
             p->SetCaptionMode(true);
         },
         10, 30, kHot},
        {"2 transparent: the parent behind", L"panel", [](TbsSkinPanel* p) { p->SetTransparentMode(true); }, 10, 10,
         0xFFFFFF},
        {"2 transparent: a shadow outline", L"panel", [](TbsSkinPanel* p) { p->SetTransparentMode(true); }, 0, 20,
         shadow},
        {"3 transparent with caption: the group frame's left edge", L"panel",
         [](TbsSkinPanel* p) {
             p->SetTransparentMode(true);
             p->SetCaptionMode(true);
         },
         0, 40, shadow},
        {"4 no record: built in", L"nothing", [](TbsSkinPanel*) {}, 10, 10, face},
        {"4 no record: built-in frame", L"nothing", [](TbsSkinPanel*) {}, 0, 10, shadow},
        {"5 no border: the client piece over all", L"panel", [](TbsSkinPanel* p) { p->SetBorderStyle(bvNone); }, 0, 0,
         kHot},
        {"6 frame and tiled client", L"panel", [](TbsSkinPanel*) {}, 0, 0, kMarkTL},
        {"6 frame and tiled client: client", L"panel", [](TbsSkinPanel*) {}, 10, 20, kHot},
        {"6 a background index past the pictures: the same", L"badbg", [](TbsSkinPanel*) {}, 10, 20, kHot},
        {"7 background picture alone", L"bgpanel", [](TbsSkinPanel* p) { p->SetCaptionMode(true); }, 0, 0, kExtra2},
    };
    ShowForm();
    for (auto& k : cases) {
        SCOPED_TRACE(k.what);
        TbsSkinPanel* p = Make(k.name);
        k.set(p);
        p->Repaint();
        Pump();
        EXPECT_EQ(PixelAt(p, k.x, k.y), k.expected);
        p->Free();
        Pump();
    }
}

TEST_F(PanelTest, WithoutAPanelRecordTheResizedCaptionShowsTheOwnPicture)
{
    SyntheticSkin s;
    int p = s.AddPicture(20, 20);
    s.Block(p, Rect(0, 0, 20, 20), kNormal);
    s.Block(p, Rect(4, 8, 16, 16), kHot, false);
    s.Control("own", "panel", kNine + "skinrect=0,0,20,20\r\n");
    auto* model = new TbsSkinData(Form);
    s.LoadInto(model);
    auto* panel = new TbsSkinGroupBox(Form);
    panel->SetParent(Form);
    panel->SetBounds(10, 10, 60, 50);
    panel->SetSkinDataName(L"own");
    panel->SetUseSkinSize(false);
    panel->SetSkinData(model);
    ShowForm();
    EXPECT_EQ(PixelAt(panel, 10, 30), kHot);
}

TEST_F(PanelTest, RollUpToTheCaptionAndBackExactly)
{
    TbsSkinPanel* p = Make(L"");
    p->SetBounds(10, 10, 80, 100);
    p->SetCaptionMode(true);
    p->SetRollUpMode(true);
    p->Constraints()->SetMinHeight(50);
    auto* child = new TbsSkinPanel(Form);
    child->SetParent(p);
    child->SetBounds(5, 30, 20, 20);
    int changes = 0;
    p->OnChangeRollUpState = [&](TObject*) { ++changes; };
    ShowForm();
    p->SetRollUpState(true);
    EXPECT_EQ(p->Height(), 21);
    EXPECT_EQ(p->RealHeight(), 100);
    EXPECT_FALSE(child->Visible());
    EXPECT_EQ(p->Constraints()->MinHeight(), 0);
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 100);
    EXPECT_EQ(p->RealHeight(), -1);
    EXPECT_TRUE(child->Visible());
    EXPECT_EQ(p->Constraints()->MinHeight(), 0);
    EXPECT_EQ(changes, 2);
    // A skin change while rolled up rolls up again and still remembers the full height.
    p->SetRollUpState(true);
    p->ChangeSkinData();
    EXPECT_EQ(p->Height(), 21);
    p->SetRollUpState(false);
    EXPECT_EQ(p->Height(), 100);
    child->SetAlign(alClient);  // alignment works again after the re-roll
    EXPECT_EQ(child->Height(), 100 - 2 - 20);
    // Outside roll-up mode the writer restores the saved constraints and stays False.
    p->SetRollUpMode(false);
    p->SetRollUpState(true);
    EXPECT_FALSE(p->RollUpState());
    EXPECT_EQ(p->Height(), 100);
}

TEST_F(PanelTest, OneCaptionClickChecksThenRolls)
{
    TbsSkinPanel* p = Make(L"");
    p->SetBounds(10, 10, 80, 100);
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    p->SetRollUpMode(true);
    auto* child = new TbsSkinPanel(Form);
    child->SetParent(p);
    child->SetBounds(5, 40, 20, 20);
    int checks = 0;
    p->OnChecked = [&](TObject*) { ++checks; };
    ShowForm();
    Click(30, 15);
    Pump();
    EXPECT_TRUE(p->Checked());
    EXPECT_TRUE(p->RollUpState());
    EXPECT_EQ(p->Height(), 21);
    EXPECT_EQ(checks, 1);
    EXPECT_TRUE(child->Enabled());
    // Every write fires OnChecked, and the children follow the value.
    p->SetChecked(false);
    p->SetChecked(false);
    EXPECT_EQ(checks, 3);
    EXPECT_FALSE(child->Enabled());
    // Below the caption nothing happens.
    p->SetRollUpState(false);
    Click(30, 60);
    Pump();
    EXPECT_EQ(checks, 3);
}

TEST_F(PanelTest, ARibbonCaptionIsClickedWhereItIsDrawn)
{
    TbsSkinPanel* p = Make(L"");
    p->SetBounds(10, 10, 80, 100);
    p->SetCaptionMode(true);
    p->SetCheckedMode(true);
    p->SetRibbonStyle(true);
    ShowForm();
    EXPECT_EQ(PixelAt(p, 40, 100 - 10), Rgb(ColorToCOLORREF(clBtnShadow)));  // the strip at the bottom
    Click(50, 15);
    Pump();
    EXPECT_FALSE(p->Checked());
    Click(50, 10 + 100 - 10);
    Pump();
    EXPECT_TRUE(p->Checked());
}

TEST_F(PanelTest, OnlyATransparentPanelPassesTheParentBackgroundOn)
{
    TbsSkinPanel* p = Make(L"panel");
    auto* child = new TBgCounter(Form);
    child->SetParent(p);
    child->SetBounds(5, 20, 10, 10);
    ShowForm();
    int before = child->Count;
    SendMessageW(p->Handle(), WM_SKIN_PARENTBGCHANGED, 0, 0);
    EXPECT_EQ(child->Count, before);
    p->SetTransparentMode(true);  // the switch itself passes it on
    EXPECT_EQ(child->Count, before + 1);
    SendMessageW(p->Handle(), WM_SKIN_PARENTBGCHANGED, 0, 0);
    EXPECT_EQ(child->Count, before + 2);
}

TEST_F(PanelTest, TheGroupFrameLeavesAGapForTheCaption)
{
    TbsSkinPanel* p = Make(L"panel");
    p->SetTransparentMode(true);
    p->SetCaptionMode(true);
    ShowForm();
    const uint32_t shadow = Rgb(ColorToCOLORREF(clBtnShadow));
    // An empty caption: the text height + 5 high strip, the line at its middle.
    TBitmap probe(1, 1);
    probe.Canvas()->Font()->Assign(p->DefaultFont());
    const int y = (probe.Canvas()->TextHeight(L"") + 5) / 2;
    std::string line;
    for (int x = 0; x < 12; ++x) line += PixelAt(p, x, y) == shadow ? '#' : '.';
    EXPECT_EQ(line, "####....####");
    // With the roll-up marker the line starts after it, and the marker takes the stdlabel colour.
    p->SetRollUpMode(true);
    p->Repaint();
    line.clear();
    bool red = false;
    for (int x = 0; x < 20; ++x) line += PixelAt(p, x, y) == shadow ? '#' : '.';
    for (int x = 8; x < 15; ++x)
        for (int yy = 0; yy < 2 * y; ++yy) red |= PixelAt(p, x, yy) == 0xFF0000u;
    EXPECT_EQ(line.substr(0, 4), "####");
    EXPECT_EQ(line.substr(17), "###");
    EXPECT_EQ(line.substr(15, 2), "..");
    EXPECT_TRUE(red);
}

TEST_F(PanelTest, ThePaintPanelEventRunsOncePerPaintOnTheFinishedImage)
{
    auto* p = Make<TbsSkinPaintPanel>(L"panel");
    int events = 0;
    TRect seen{};
    p->OnPanelPaint = [&](TCanvas* C, TRect& R) {
        ++events;
        seen = R;
        C->Brush()->SetColor(clBlack);
        C->FillRect(Rect(R.Left, R.Top, R.Left + 2, R.Top + 2));
    };
    ShowForm();
    for (bool transparent : {false, true}) {
        SCOPED_TRACE(transparent);
        p->SetTransparentMode(transparent);
        events = 0;
        p->Repaint();
        EXPECT_EQ(events, 1);
        EXPECT_EQ(seen, p->GetSkinClientRect());
        EXPECT_EQ(PixelAt(p, seen.Left, seen.Top), 0u);
    }
    // A background picture is all the panel paints.
    p->SetTransparentMode(false);
    p->SetSkinDataName(L"bgpanel");
    events = 0;
    p->Repaint();
    EXPECT_EQ(events, 0);
}

TEST_F(PanelTest, TheGroupBox)
{
    auto* g = new TbsSkinGroupBox(Form);
    g->SetParent(Form);
    g->SetBounds(10, 10, 60, 50);
    EXPECT_TRUE(g->CaptionMode());
    EXPECT_EQ(g->SkinDataName(), L"groupbox");
    ShowForm();
    EXPECT_EQ(PixelAt(g, 10, 10), Rgb(ColorToCOLORREF(clBtnShadow)));  // the built-in strip on top
    // A record with its client area above its caption switches the forced background off for good.
    SyntheticSkin s;
    int p = s.AddPicture(20, 20);
    s.Block(p, Rect(0, 0, 20, 20), kNormal);
    s.Control("groupbox", "panel",
              "pictureindex=0\r\nskinrect=0,0,20,20\r\nclientrect=2,2,18,4\r\ncaptionrect=2,10,18,16\r\n");
    auto* model = new TbsSkinData(Form);
    s.LoadInto(model);
    EXPECT_TRUE(g->ForcebackGround());
    g->SetSkinData(model);
    EXPECT_FALSE(g->ForcebackGround());
    g->SetSkinData(Model);  // no such record
    g->SetSkinData(nullptr);
    g->ChangeSkinData();
    EXPECT_FALSE(g->ForcebackGround());
}
