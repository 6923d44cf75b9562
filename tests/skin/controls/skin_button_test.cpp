// The skinned push button driven by injected input on the test clock: the event table's rows
// with their looks, the look fallbacks, glyph frames, morph, frame animation, auto-repeat,
// groups, checked mode, default and cancel buttons, click-to-focus and the glow window.
#include <gtest/gtest.h>

#include <functional>

#include "platform/framework/controls/edit.h"
#include "skin/controls/skin_button.h"
#include "skin/core/button_records.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

const std::string kLooks = "pictureindex=0\r\nskinrect=0,0,16,10\r\nclientrect=2,2,14,8\r\n";
const std::string kAllLooks = kLooks +
                              "activeskinrect=16,0,32,10\r\ndownskinrect=32,0,48,10\r\n"
                              "disabledskinrect=48,0,64,10\r\n";

// Looks side by side in picture 0; animation strips below them; glow pictures 1 and 2.
void AddButtonSkin(SyntheticSkin& s)
{
    int p = s.AddPicture(64, 80);
    s.Block(p, Rect(0, 0, 16, 10), kNormal);
    s.Block(p, Rect(16, 0, 32, 10), kHot);
    s.Block(p, Rect(32, 0, 48, 10), kDown);
    s.Block(p, Rect(48, 0, 64, 10), kDisabled);
    s.Block(p, Rect(0, 10, 16, 20), kFocused);
    // Four frames side by side, and four one under the other.
    const uint32_t frames[] = {kExtra1, kExtra2, kExtra3, kFocused};
    for (int i = 0; i < 4; ++i) {
        s.Block(p, Bounds(i * 16, 20, 16, 10), frames[i]);
        s.Block(p, Bounds(0, 30 + i * 10, 16, 10), frames[i]);
    }
    int glow = s.AddPicture(22, 16, 0xFFFFFF);
    s.AddPicture(22, 16, 0xFFFFFF);  // mask: all white, all shown
    (void)glow;
    s.Control("button", "button", kAllLooks + "fontcolor=0\r\ndisabledfontcolor=0\r\n");
    s.Control("plain", "button", kLooks);
    s.Control("hotonly", "button", kLooks + "activeskinrect=16,0,32,10\r\n");
    s.Control("focus", "button", kAllLooks + "focusedskinrect=0,10,16,20\r\n");
    s.Control("morph", "button", kAllLooks + "morphing=1\r\n");
    s.Control("across", "button", kAllLooks + "animateskinrect=0,20,64,30\r\nframecount=4\r\nanimateinterval=30\r\n");
    s.Control("down", "button", kAllLooks + "animateskinrect=0,30,16,70\r\nframecount=4\r\nanimateinterval=30\r\n");
    s.Control("glow", "button",
              kAllLooks +
                  "glowlayerpictureindex=1\r\nglowlayermaskpictureindex=2\r\nglowlayershowoffsetx=3\r\n"
                  "glowlayershowoffsety=2\r\n");
}

struct ButtonTest : SkinControlFixture {
    SyntheticSkin Skin;
    int Clicks = 0;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        AddButtonSkin(Skin);
        Skin.LoadInto(Model);
    }
    TbsSkinButton* Make(const String& Name, int X = 10, int Y = 10)
    {
        auto* b = new TbsSkinButton(Form);
        b->SetParent(Form);
        b->SetBounds(X, Y, 40, 20);
        b->SetSkinDataName(Name);
        b->OnClick = [this](TObject*) { ++Clicks; };
        if (!Name.empty()) b->SetSkinData(Model);
        return b;
    }
    // The look at the button's middle.
    static uint32_t Look(TbsSkinButton* B) { return PixelAt(B, 8, 5); }
    // Mouse actions at a point of the button, (8, 5) unless told otherwise (outside it for
    // negative coordinates).
    static void Move(TControl* B, int X = 8, int Y = 5) { MoveTo(B, X, Y); }
    static void Press(TControl* B, int X = 8, int Y = 5) { SkinControlFixture::Press(B, X, Y); }
    static void Release(TControl* B, int X = 8, int Y = 5) { SkinControlFixture::Release(B, X, Y); }
    static void Away()
    {
        vxwin::InjectMouseMove(190, 110);
        Pump();
    }
};

}  // namespace

TEST_F(ButtonTest, MouseRowsOfTheEventTable)
{
    TbsSkinButton* b = Make(L"button");
    ShowForm();
    ASSERT_EQ(b->Width(), 16);  // a fixed-size record
    struct Step {
        const char* what;
        std::function<void()> act;
        bool mouseIn, down;
        int clicks;
        uint32_t look;
    } steps[] = {
        {"idle", [] {}, false, false, 0, kNormal},
        {"enter", [&] { Move(b); }, true, false, 0, kHot},
        {"press", [&] { Press(b); }, true, true, 0, kDown},
        {"release inside", [&] { Release(b); }, true, false, 1, kHot},
        {"press again", [&] { Press(b); }, true, true, 1, kDown},
        // Out while held: focused (the press focused it) but not hot.
        {"drag out", [&] { Move(b, 30, 5); }, false, true, 1, kHot},
        {"drag back in", [&] { Move(b); }, true, true, 1, kDown},
        {"drag out again", [&] { Move(b, 30, 5); }, false, true, 1, kHot},
        {"release outside", [&] { Release(b, 30, 5); }, false, false, 1, kHot},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(b->MouseIn(), s.mouseIn);
        EXPECT_EQ(b->Down(), s.down);
        EXPECT_EQ(Clicks, s.clicks);
        EXPECT_EQ(Look(b), s.look);
    }
}

TEST_F(ButtonTest, KeyAndFocusRowsOfTheEventTable)
{
    TbsSkinButton* b = Make(L"button");
    TbsSkinButton* other = Make(L"button", 60, 10);
    ShowForm();
    b->SetFocus();
    Pump();
    EXPECT_EQ(Look(b), kHot);  // focused
    vxwin::InjectKey(VK_SPACE, true);
    Pump();
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(Look(b), kDown);
    EXPECT_EQ(Clicks, 0);
    vxwin::InjectKey(VK_SPACE, false);
    Pump();
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Clicks, 1);
    // Enter is the focused button's dialog key.
    PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(Clicks, 2);
    // Focus lost while down: up without a click.
    vxwin::InjectKey(VK_SPACE, true);
    Pump();
    ASSERT_TRUE(b->Down());
    other->SetFocus();
    Pump();
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(Look(b), kNormal);
    // Disabled: the disabled look, and no hot state left.
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(Look(b), kDisabled);
    EXPECT_FALSE(b->MouseIn());
}

TEST_F(ButtonTest, LookFallbacksAndTheDisabledColour)
{
    TbsSkinButton* plain = Make(L"plain");
    TbsSkinButton* hotOnly = Make(L"hotonly", 60, 10);
    ShowForm();
    Move(plain);
    EXPECT_EQ(Look(plain), kNormal);  // hot falls back to normal
    Press(plain);
    EXPECT_EQ(Look(plain), kNormal);  // and pressed to hot
    Release(plain);
    Press(hotOnly);
    EXPECT_EQ(Look(hotOnly), kHot);  // pressed falls back to hot
    Release(hotOnly);
    plain->SetEnabled(false);
    Pump();
    EXPECT_EQ(Look(plain), kNormal);  // no disabled look: the normal one
    // A disabled colour equal to the normal one becomes 0x808080.
    TbsSkinButton* b = Make(L"button", 100, 10);
    b->GetSkinData();
    EXPECT_EQ(b->DisabledFontColor, TColor(0x808080));
    EXPECT_EQ(plain->DisabledFontColor, TColor(0x808080));  // both 0 by default
}

TEST_F(ButtonTest, TheFocusedLookWhenTheRecordHasOne)
{
    TbsSkinButton* b = Make(L"focus");
    ShowForm();
    b->SetFocus();
    Pump();
    EXPECT_EQ(Look(b), kFocused);
    Move(b);
    EXPECT_EQ(Look(b), kFocused);  // focus wins over hot
}

TEST_F(ButtonTest, GlyphFramesByState)
{
    // A strip of four frames: up, disabled, down, hot.
    TBitmap glyph;
    glyph.SetPixelFormat(pf32bit);
    glyph.SetSize(16, 4);
    const uint32_t colours[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
    for (int x = 0; x < 16; ++x)
        for (int y = 0; y < 4; ++y) glyph.SetPixelArgb(x, y, 0xFF000000u | colours[x / 4]);
    for (int f = 0; f < 4; ++f) glyph.SetPixelArgb(f * 4, 3, 0xFF000000u);  // each frame's transparent colour
    TbsSkinButton* b = Make(L"");                                           // the built-in look
    b->SetBounds(10, 10, 20, 12);
    b->SetGlyph(&glyph);
    b->SetNumGlyphs(4);
    b->SetCanFocused(false);
    ShowForm();
    auto centre = [&] { return PixelAt(b, 10, 6); };
    EXPECT_EQ(centre(), 0xFF0000u);  // up
    Move(b, 2, 2);
    EXPECT_EQ(centre(), 0xFFFF00u);  // hot
    Press(b, 2, 2);
    EXPECT_EQ(centre(), 0x0000FFu);  // down
    Release(b, 2, 2);
    Away();
    b->SetEnabled(false);
    Pump();
    EXPECT_EQ(centre(), 0x00FF00u);  // disabled
}

TEST_F(ButtonTest, TheBuiltInLookByState)
{
    TbsSkinButton* b = Make(L"");
    b->SetCanFocused(false);
    ShowForm();
    const uint32_t face = Rgb(ColorToCOLORREF(clBtnFace)), shadow = Rgb(ColorToCOLORREF(clBtnShadow));
    EXPECT_EQ(PixelAt(b, 0, 0), shadow);
    EXPECT_EQ(PixelAt(b, 3, 3), face);
    Move(b, 3, 3);
    EXPECT_EQ(PixelAt(b, 0, 0), RgbOf(0xB76B3B));
    EXPECT_EQ(PixelAt(b, 3, 3), RgbOf(0xF3D4C1));
    Press(b, 3, 3);
    EXPECT_EQ(PixelAt(b, 3, 3), RgbOf(0xE4BCA2));
    Release(b, 3, 3);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ButtonTest, MorphStepsEvery20msAndEndsOnExactValues)
{
    TbsSkinButton* b = Make(L"morph");
    ShowForm();
    Move(b);
    ASSERT_TRUE(b->Morphing());
    EXPECT_EQ(Look(b), kNormal);
    uint32_t last = kNormal;
    for (int step = 1; step <= 5; ++step) {
        SCOPED_TRACE(step);
        vxwin::AdvanceClock(20);
        Pump();
        EXPECT_DOUBLE_EQ(b->MorphKf(), step * 0.2);
        uint32_t now = Look(b);
        EXPECT_NE(now, last);  // the blend moves at every tick
        last = now;
    }
    EXPECT_EQ(Look(b), kHot);
    vxwin::AdvanceClock(20);
    Pump();
    EXPECT_FALSE(b->Morphing());  // the last tick ends it
    Away();
    Wait(200, 20);
    EXPECT_EQ(b->MorphKf(), 0.0);  // exactly back
    EXPECT_FALSE(b->Morphing());
    EXPECT_EQ(Look(b), kNormal);
}

TEST_F(ButtonTest, WithEffectsOffTheLooksSwitchAtOnce)
{
    Model->SetEnableSkinEffects(false);
    TbsSkinButton* b = Make(L"morph");
    ShowForm();
    Move(b);
    EXPECT_FALSE(b->Morphing());
    EXPECT_EQ(Look(b), kHot);
}

TEST_F(ButtonTest, AnimationStripsPlayForwardAndBack)
{
    const uint32_t frames[] = {kExtra1, kExtra2, kExtra3, kFocused};
    for (const wchar_t* name : {L"across", L"down"}) {
        SCOPED_TRACE(StringToUtf8(name));
        TbsSkinButton* b = Make(name);
        b->SetCanFocused(false);
        ShowForm();
        Move(b);
        ASSERT_TRUE(b->Animating());
        for (int f = 0; f < 4; ++f) {
            EXPECT_EQ(Look(b), frames[f]) << "forward frame " << f + 1;
            vxwin::AdvanceClock(30);
            Pump();
        }
        EXPECT_FALSE(b->Animating());
        EXPECT_EQ(Look(b), kHot);
        Away();
        ASSERT_TRUE(b->Animating());
        for (int f = 3; f >= 0; --f) {
            EXPECT_EQ(Look(b), frames[f]) << "backward frame " << f + 1;
            vxwin::AdvanceClock(30);
            Pump();
        }
        EXPECT_FALSE(b->Animating());
        EXPECT_EQ(Look(b), kNormal);
        b->Free();
    }
}

TEST_F(ButtonTest, AutoRepeatWaitsThenClicksAtTheInterval)
{
    TbsSkinButton* b = Make(L"button");
    b->SetRepeatMode(true);
    b->SetRepeatInterval(100);
    ShowForm();
    // Short press: one click, on release.
    Press(b);
    Wait(300);
    EXPECT_EQ(Clicks, 0);
    Release(b);
    EXPECT_EQ(Clicks, 1);
    EXPECT_FALSE(b->Repeating());
    // Held for a second: clicks at 600, 700, 800, 900 and 1000 ms, then one on release.
    Clicks = 0;
    Press(b);
    Wait(590);
    EXPECT_EQ(Clicks, 0);
    Wait(10);
    EXPECT_EQ(Clicks, 1);
    Wait(400);
    EXPECT_EQ(Clicks, 5);
    Release(b);
    EXPECT_EQ(Clicks, 6);
    // Released outside: none at all.
    Clicks = 0;
    Press(b);
    Move(b, 30, 5);
    Wait(1000);
    Release(b, 30, 5);
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(b->Down());
}

TEST_F(ButtonTest, GroupsKeepOneButtonDown)
{
    TbsSkinButton* b1 = Make(L"button", 10, 10);
    TbsSkinButton* b2 = Make(L"button", 40, 10);
    TbsSkinButton* b3 = Make(L"button", 70, 10);
    for (auto* b : {b1, b2, b3}) b->SetGroupIndex(1);
    EXPECT_FALSE(b1->CanFocused());
    ShowForm();
    Press(b1);
    EXPECT_EQ(Clicks, 1);  // a group button clicks on the press
    Release(b1);
    EXPECT_TRUE(b1->Down());
    Press(b2);
    Release(b2);
    EXPECT_TRUE(b2->Down());
    EXPECT_FALSE(b1->Down());
    EXPECT_EQ(Look(b1), kNormal);
    // Pressing a down button does nothing without AllowAllUp.
    Press(b2);
    Release(b2);
    EXPECT_TRUE(b2->Down());
    EXPECT_EQ(Clicks, 2);
    // With it, the release raises it and clicks; and two can be down.
    for (auto* b : {b1, b2, b3}) b->SetAllowAllUp(true);
    Press(b2);
    Release(b2);
    EXPECT_FALSE(b2->Down());
    EXPECT_EQ(Clicks, 3);
    Press(b1);
    Release(b1);
    Press(b3);
    Release(b3);
    EXPECT_TRUE(b1->Down());
    EXPECT_TRUE(b3->Down());
}

TEST_F(ButtonTest, CheckedModeToggles)
{
    TbsSkinButton* b = Make(L"button");
    b->SetCheckedMode(true);
    EXPECT_EQ(b->GroupIndex(), -1);
    ShowForm();
    Press(b);
    EXPECT_EQ(Clicks, 1);
    Release(b);
    EXPECT_TRUE(b->Down());
    Press(b);
    EXPECT_EQ(Clicks, 1);
    Release(b);
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Clicks, 2);
    b->SetCheckedMode(false);
    EXPECT_EQ(b->GroupIndex(), 0);
}

TEST_F(ButtonTest, TheDefaultButtonWhileAnEditHasTheFocus)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 60, 60, 20);
    TbsSkinButton* ok = Make(L"button", 10, 10);
    TbsSkinButton* other = Make(L"button", 60, 10);
    int okClicks = 0;
    ok->OnClick = [&](TObject*) { ++okClicks; };
    ok->SetDefault(true);
    ShowForm();
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->MouseIn());
    EXPECT_EQ(Look(ok), kHot);
    PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(okClicks, 1);
    // The mouse passing over and out keeps the default button hot.
    Move(ok);
    Away();
    EXPECT_EQ(Look(ok), kHot);
    // Another button focused: the default one is plain, and Enter is the other's.
    other->SetFocus();
    Pump();
    EXPECT_FALSE(ok->MouseIn());
    EXPECT_EQ(Look(ok), kNormal);
    PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(okClicks, 1);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ButtonTest, CancelAnswersEscapeAndClicksSetTheModalResult)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 60, 60, 20);
    TbsSkinButton* cancel = Make(L"button");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    ShowForm();
    edit->SetFocus();
    Pump();
    PressKey(VK_ESCAPE);
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
}

TEST_F(ButtonTest, AClickThatCannotFocusTheButtonIsDropped)
{
    auto* edit = new TEdit(Form);
    edit->SetParent(Form);
    edit->SetBounds(10, 60, 60, 20);
    // The edit takes the focus back whenever it loses it.
    edit->OnExit = [&](TObject*) { edit->SetFocus(); };
    TbsSkinButton* b = Make(L"button");
    ShowForm();
    edit->SetFocus();
    Pump();
    Press(b);
    Release(b);
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(b->Down());
    // Unfocusable buttons click without the focus.
    b->SetCanFocused(false);
    Press(b);
    Release(b);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(ButtonTest, StopAnimateSkipsTheNextFocusEffect)
{
    TbsSkinButton* b = Make(L"morph");
    ShowForm();
    b->FStopAnimate = true;
    b->SetFocus();
    Pump();
    EXPECT_FALSE(b->FStopAnimate);
    EXPECT_FALSE(b->Morphing());
    Form->SetFocus();
    b->SetFocus();
    Pump();
    EXPECT_TRUE(b->Morphing());
}

TEST_F(ButtonTest, TheGlowFollowsTheMouse)
{
    TbsSkinButton* b = Make(L"glow", 20, 20);
    ShowForm();
    Move(b);
    TbsLayerManager* glow = b->LayerManager();
    ASSERT_TRUE(glow->IsVisible);
    RECT r;
    GetWindowRect(glow->LayerWindow->Handle(), &r);
    EXPECT_EQ(r.left, 20 - 3);
    EXPECT_EQ(r.top, 20 - 2);
    Away();
    EXPECT_FALSE(glow->IsVisible);
    // Switched off in the model: no glow.
    Model->SetShowButtonGlowFrames(false);
    Move(b);
    EXPECT_FALSE(glow->IsVisible);
    b->SetAlwaysShowLayeredFrame(true);
    Away();
    Move(b);
    EXPECT_TRUE(glow->IsVisible);
}

TEST_F(ButtonTest, ASkinChangeStopsTheEffectsAndKeepsTheHotState)
{
    TbsSkinButton* b = Make(L"morph");
    ShowForm();
    Move(b);
    ASSERT_TRUE(b->Morphing());
    b->SkinChangeBegin();
    b->SkinChangeEnd();
    EXPECT_FALSE(b->Morphing());
    EXPECT_EQ(b->MorphKf(), 1.0);
    EXPECT_EQ(Look(b), kHot);
    b->RefreshButton();
    EXPECT_FALSE(b->MouseIn());
    EXPECT_EQ(b->MorphKf(), 0.0);
}
