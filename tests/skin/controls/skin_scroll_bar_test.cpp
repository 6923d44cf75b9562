// The skinned scroll bar with injected mouse, wheel and keys on the test clock: the built-in
// layout in pixels, the position setters' clamping, the press-and-hold states (arrow repeat with
// its pause and resume, track repeat until the thumb passes the pointer), thumb drags, keys and
// wheel with and without CanFocused, and the skinned look with its fallbacks.
#include <gtest/gtest.h>

#include <functional>

#include "skin/controls/skin_scroll_bar.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

uint32_t Sys(TColor C) { return Rgb(ColorToRGB(C)); }

struct ScrollBarTest : SkinControlFixture {
    std::vector<std::string> Log;
    int Changes = 0;

    TbsSkinScrollBar* Make(int Y = 0)
    {
        auto* b = new TbsSkinScrollBar(Form);
        b->SetParent(Form);
        b->SetBounds(0, Y, 200, 19);
        b->OnChange = [this, b](TObject*) {
            ++Changes;
            Log.push_back("change " + std::to_string(b->Position()));
        };
        return b;
    }
    // Row Y of the bar: '_' clBtnFace, 'S' clBtnShadow, '#' black, 'H' the hot or pressed frame,
    // 'o' the hot fill, 'D' the pressed fill.
    static std::string Row(TWinControl* B, int Y)
    {
        int w = 0, h = 0;
        auto px = Pixels(B, w, h);
        PixelLegend l = {
            {'_', Sys(clBtnFace)}, {'S', Sys(clBtnShadow)}, {'H', 0x3B6BB7}, {'o', 0xC1D4F3}, {'D', 0xA2BCE4}};
        return PixelArt(
            w, 1, [&](int x, int) { return px[static_cast<size_t>(Y * w + x)]; }, l);
    }
    // The times (ms after now, in 10 ms steps) at which Position changed during Ms.
    std::vector<int> ChangeTimes(TbsSkinScrollBar* B, int Ms, const std::function<void(int)>& At = {})
    {
        std::vector<int> t;
        for (int now = 10; now <= Ms; now += 10) {
            if (At) At(now);
            int before = Changes;
            vxwin::AdvanceClock(10);
            Pump();
            if (Changes != before) t.push_back(now);
        }
        return t;
    }
};

}  // namespace

TEST_F(ScrollBarTest, FreshBarInTheBuiltInLook)
{
    TbsSkinScrollBar* b = Make();
    ShowForm();
    EXPECT_EQ(b->Width(), 200);
    EXPECT_EQ(b->Height(), 19);
    EXPECT_EQ(b->Kind(), sbHorizontal);
    EXPECT_EQ(b->Min(), 0);
    EXPECT_EQ(b->Max(), 100);
    EXPECT_EQ(b->Position(), 0);
    EXPECT_EQ(b->PageSize(), 0);
    EXPECT_EQ(b->SkinDataName(), L"hscrollbar");
    EXPECT_FALSE(b->TabStop());
    // Down button x 1..16, thumb x 17..32, track, up button x 183..198; a black arrow in each
    // button; everything framed clBtnShadow.
    const std::string top = Row(b, 1);
    EXPECT_EQ(top.substr(0, 34), "_SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS_") << top;
    EXPECT_EQ(top.substr(180), "___SSSSSSSSSSSSSSSS_\n") << top;
    const std::string mid = Row(b, 9);
    EXPECT_EQ(mid[1], 'S');
    EXPECT_EQ(mid[16], 'S');
    EXPECT_EQ(mid[17], 'S');
    EXPECT_EQ(mid[32], 'S');
    EXPECT_EQ(mid.substr(18, 14), std::string(14, '_'));
    EXPECT_NE(mid.substr(2, 14).find('#'), std::string::npos);
    EXPECT_NE(mid.substr(184, 14).find('#'), std::string::npos);
    EXPECT_EQ(Row(b, 0), std::string(200, '_') + "\n");

    // The thumb moves with the position and goes while the bar is disabled.
    b->SetPosition(100);
    EXPECT_EQ(Row(b, 1).substr(160, 24), "_______SSSSSSSSSSSSSSSSS") << Row(b, 1);
    b->SetEnabled(false);
    EXPECT_EQ(Row(b, 1).substr(160, 23), std::string(23, '_'));
}

TEST_F(ScrollBarTest, SettersClampAndOnlySetPositionFires)
{
    struct Case {
        const char* what;
        std::function<void(TbsSkinScrollBar*)> act;
        int position, page, changes;
    } cases[] = {
        {"above the page end", [](TbsSkinScrollBar* b) { b->SetPosition(95); }, 91, 10, 1},
        {"below Min", [](TbsSkinScrollBar* b) { b->SetPosition(-5); }, 0, 10, 1},
        {"SetRange clamps silently", [](TbsSkinScrollBar* b) { b->SetRange(0, 100, 95, 10); }, 91, 10, 0},
        {"SimplySetPosition silently", [](TbsSkinScrollBar* b) { b->SimplySetPosition(40); }, 40, 10, 0},
        {"page too large for the position",
         [](TbsSkinScrollBar* b) {
             b->SimplySetPosition(60);
             b->SetPageSize(50);
         },
         60, 10, 0},
        {"page that fits", [](TbsSkinScrollBar* b) { b->SetPageSize(50); }, 50, 50, 0},
        {"Max lowers the position", [](TbsSkinScrollBar* b) { b->SetMax(40); }, 31, 10, 0},
        {"Min raises the position", [](TbsSkinScrollBar* b) { b->SetMin(70); }, 70, 10, 0},
        {"unchanged position", [](TbsSkinScrollBar* b) { b->SetPosition(50); }, 50, 10, 0},
        {"empty range: the upper bound wins", [](TbsSkinScrollBar* b) { b->SetRange(0, 5, 0, 10); }, -4, 10, 0},
    };
    TbsSkinScrollBar* b = Make();
    ShowForm();
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        b->SetRange(0, 100, 50, 10);
        Changes = 0;
        c.act(b);
        EXPECT_EQ(b->Position(), c.position);
        EXPECT_EQ(b->PageSize(), c.page);
        EXPECT_EQ(Changes, c.changes);
    }
}

TEST_F(ScrollBarTest, BothLeavesTheCornerAndSwitchesTheSkinName)
{
    TbsSkinScrollBar* b = Make();
    ShowForm();
    b->SetBoth(true);
    EXPECT_EQ(b->SkinDataName(), L"bothhscrollbar");
    // Up button x 164..179; the last 19 pixels plain clBtnFace.
    const std::string top = Row(b, 1);
    EXPECT_EQ(top.substr(160), "____" + std::string(16, 'S') + std::string(20, '_') + "\n") << top;
    EXPECT_EQ(Row(b, 9).substr(181), std::string(19, '_') + "\n");
    b->SetBothMarkerWidth(-1);  // ignored
    EXPECT_EQ(b->BothMarkerWidth(), 19);
    b->SetBoth(false);
    EXPECT_EQ(b->SkinDataName(), L"hscrollbar");
    // Kind changes nothing but the orientation at run time.
    b->SetKind(sbVertical);
    EXPECT_EQ(b->SkinDataName(), L"hscrollbar");
    EXPECT_EQ(b->Width(), 200);
}

TEST_F(ScrollBarTest, HeldArrowStepsRepeatsPausesAndResumes)
{
    TbsSkinScrollBar* b = Make();
    ShowForm();
    Press(b, 190, 9);
    EXPECT_EQ(b->Position(), 1);     // a step at the press
    EXPECT_EQ(Row(b, 9)[183], 'H');  // pressed look
    EXPECT_EQ(Row(b, 5)[185], 'D');
    EXPECT_EQ(ChangeTimes(b, 700), (std::vector<int>{550, 600, 650, 700}));
    EXPECT_EQ(b->Position(), 5);
    MoveTo(b, 190, 60);  // off the arrow while held: paused, not pressed-looking
    EXPECT_EQ(Row(b, 5)[185], '_');
    EXPECT_TRUE(ChangeTimes(b, 300).empty());
    MoveTo(b, 191, 9);  // back: resumes at the fast rate
    EXPECT_EQ(ChangeTimes(b, 100), (std::vector<int>{50, 100}));
    Release(b, 191, 9);
    EXPECT_TRUE(ChangeTimes(b, 300).empty());
    EXPECT_EQ(b->Position(), 7);

    // A handler replaces the step at the press and on every tick; the down button steps down.
    int clicks = 0;
    b->OnUpButtonClick = [&](TObject*) { ++clicks; };
    Press(b, 190, 9);
    ChangeTimes(b, 600);  // the press, then the ticks at 550 and 600
    Release(b, 190, 9);
    EXPECT_EQ(clicks, 3);
    EXPECT_EQ(b->Position(), 7);
    Press(b, 5, 9);
    Release(b, 5, 9);
    EXPECT_EQ(b->Position(), 6);
}

TEST_F(ScrollBarTest, LeavingBeforeTheFirstTickOnlySwitchesTheRate)
{
    TbsSkinScrollBar* b = Make();
    ShowForm();
    Press(b, 190, 9);
    MoveTo(b, 190, 60);
    ChangeTimes(b, 600);
    MoveTo(b, 190, 9);
    // The first tick after coming back switches to 50 ms without a step.
    EXPECT_EQ(ChangeTimes(b, 100), (std::vector<int>{100}));
    Release(b, 190, 9);
}

TEST_F(ScrollBarTest, TrackRepeatStopsPastThePointerOrOnLeavingTowardMax)
{
    struct Case {
        const char* what;
        int pressX, start;
        bool leave;
        int end;
    } cases[] = {
        // Thumb right edge = 33 + 1.5 x position: past x 100 at position 50.
        {"toward Max until the thumb passes", 100, 0, false, 50},
        // One step at the press, the tick at 550 would be the second: the pointer left first.
        {"toward Max, leaving the bar stops", 150, 0, true, 10},
        {"toward Min goes on after leaving", 30, 60, true, 0},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        TbsSkinScrollBar* b = Make();
        b->SetLargeChange(10);
        b->SetPosition(c.start);
        ShowForm();
        Log.clear();
        b->OnPageDown = [this](TObject*) { Log.push_back("page down"); };
        b->OnPageUp = [this](TObject*) { Log.push_back("page up"); };
        Press(b, c.pressX, 9);
        ASSERT_GE(Log.size(), 2u);
        // The step with its OnChange first, then the page event.
        EXPECT_EQ(Log[1], c.pressX > 50 ? "page down" : "page up");
        if (c.leave) {
            TPoint p = Screen(b, c.pressX, 60);
            vxwin::InjectMouseMove(p.X, p.Y);
            Pump();
        }
        ChangeTimes(b, 2000);
        EXPECT_EQ(b->Position(), c.end);
        Release(b, c.pressX, c.leave ? 60 : 9);
        delete b;
    }
}

TEST_F(ScrollBarTest, ThumbDragFiresPerPositionAndOneLastChange)
{
    TbsSkinScrollBar* b = Make();
    int last = 0;
    b->OnLastChange = [&](TObject*) { ++last; };
    ShowForm();
    Press(b, 25, 9);
    EXPECT_EQ(Row(b, 1)[20], 'H');  // pressed thumb
    MoveTo(b, 100, 9);                // half-way along the track: 50
    MoveTo(b, 100, 50);               // off the bar: the drag goes on
    MoveTo(b, 400, 9);                // past the end: Max
    Release(b, 400, 9);
    EXPECT_EQ(Log, (std::vector<std::string>{"change 50", "change 100"}));
    EXPECT_EQ(last, 1);
    // Unmoved, it still reports the end of the drag once.
    Press(b, 178, 9);
    Release(b, 178, 9);
    EXPECT_EQ(last, 2);
    EXPECT_EQ(Changes, 2);

    // A right press does nothing, and the moves after it drag nothing.
    Press(b, 178, 9, 1);
    MoveTo(b, 30, 9);
    Release(b, 30, 9, 1);
    Press(b, 190, 9, 1);
    Release(b, 190, 9, 1);
    EXPECT_EQ(b->Position(), 100);
    EXPECT_EQ(last, 2);
}

TEST_F(ScrollBarTest, KeysAndWheelOnlyWithCanFocused)
{
    for (bool canFocus : {false, true}) {
        SCOPED_TRACE(canFocus);
        TbsSkinScrollBar* b = Make();
        b->SetCanFocused(canFocus);
        EXPECT_EQ(b->TabStop(), canFocus);
        b->SetPosition(50);
        ShowForm();
        Press(b, 150, 9);  // the track: a page step and, with CanFocused, the focus
        Release(b, 150, 9);
        EXPECT_EQ(b->Focused(), canFocus);
        b->SetFocus();
        Pump();
        const int start = b->Position();
        PressKey(VK_RIGHT);
        PressKey(VK_DOWN);
        PressKey(VK_LEFT);
        Pump();
        EXPECT_EQ(b->Position(), start + (canFocus ? 1 : 0));
        TPoint p = Screen(b, 100, 9);
        vxwin::InjectMouseWheel(120, p.X, p.Y);  // away from the user: toward Min
        vxwin::InjectMouseWheel(120, p.X, p.Y);
        vxwin::InjectMouseWheel(-120, p.X, p.Y);
        Pump();
        EXPECT_EQ(b->Position(), start);
        vxwin::InjectMouseWheel(120, p.X, p.Y);
        Pump();
        EXPECT_EQ(b->Position(), start - (canFocus ? 1 : 0));
        delete b;
    }
}

namespace {

// A horizontal bar picture 60 x 10 (down button 0..10, track, up button 50..60) and the state
// pictures below it.
void AddBarSkin(SyntheticSkin& s)
{
    int p = s.AddPicture(60, 40);
    s.Block(p, Rect(0, 0, 60, 10), kNormal);
    s.Block(p, Rect(0, 10, 10, 20), kHot);      // hot up
    s.Block(p, Rect(10, 10, 20, 20), kDown);    // pressed up
    s.Block(p, Rect(20, 10, 30, 20), kHot);     // hot down; no pressed down
    s.Block(p, Rect(0, 20, 12, 30), kExtra1);   // thumb; no hot thumb
    s.Block(p, Rect(12, 20, 24, 30), kExtra2);  // pressed thumb
    s.Block(p, Rect(24, 20, 28, 24), kExtra3);  // glyph
    s.Block(p, Rect(30, 20, 44, 24), kExtra3);  // a glyph longer than the thumb
    const std::string keys =
        "pictureindex=0\r\nskinrect=0,0,60,10\r\nlefttoppoint=10,0\r\nrighttoppoint=48,0\r\n"
        "trackarea=10,0,50,10\r\nupbuttonrect=50,0,60,10\r\ndownbuttonrect=0,0,10,10\r\n"
        "activeupbuttonrect=0,10,10,20\r\ndownupbuttonrect=10,10,20,20\r\nactivedownbuttonrect=20,10,30,20\r\n"
        "thumbrect=0,20,12,30\r\ndownthumbrect=12,20,24,30\r\n";
    s.Control("hscrollbar", "scrollbar", keys + "glyphrect=24,20,28,24\r\n");
    s.Control("wideglyph", "scrollbar", keys + "glyphrect=30,20,44,24\r\n");
}

}  // namespace

TEST_F(ScrollBarTest, SkinnedLookShowsStatePicturesWithFallbacks)
{
    SyntheticSkin skin;
    AddBarSkin(skin);
    skin.LoadInto(Model);
    TbsSkinScrollBar* b = Make();
    b->SetSkinData(Model);
    b->OnUpButtonClick = [](TObject*) {};  // the thumb stays where it is
    b->OnDownButtonClick = [](TObject*) {};
    ShowForm();
    EXPECT_EQ(b->Height(), 10);  // the record's height
    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t up, down, thumb, glyph;
    } steps[] = {
        {"idle", [] {}, kNormal, kNormal, kExtra1, kExtra3},
        {"hot up", [&] { MoveTo(b, 195, 5); }, kHot, kNormal, kExtra1, kExtra3},
        {"pressed up", [&] { Press(b, 195, 5); }, kDown, kNormal, kExtra1, kExtra3},
        {"released", [&] { Release(b, 195, 5); }, kHot, kNormal, kExtra1, kExtra3},
        {"pressed down falls back to hot", [&] { Press(b, 5, 5); }, kNormal, kHot, kExtra1, kExtra3},
        {"hot thumb falls back to normal", [&] { Release(b, 5, 5), MoveTo(b, 11, 5); }, kNormal, kNormal, kExtra1,
         kExtra3},
        // The glyph has no pressed picture either: it falls back to the normal one.
        {"pressed thumb", [&] { Press(b, 11, 5); }, kNormal, kNormal, kExtra2, kExtra3},
        {"released thumb", [&] { Release(b, 11, 5), MoveTo(b, 100, 50); }, kNormal, kNormal, kExtra1, kExtra3},
        {"glyph longer than the thumb", [&] { b->SetSkinDataName(L"wideglyph"), b->Repaint(); }, kNormal, kNormal,
         kExtra1, kExtra1},
        {"disabled: no thumb", [&] { b->SetEnabled(false); }, kNormal, kNormal, kNormal, kNormal},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(PixelAt(b, 195, 5), s.up);
        EXPECT_EQ(PixelAt(b, 5, 5), s.down);
        EXPECT_EQ(PixelAt(b, 11, 5), s.thumb);  // thumb x 10..21
        EXPECT_EQ(PixelAt(b, 15, 4), s.glyph);  // glyph x 14..17, y 3..6
    }
    EXPECT_EQ(b->Position(), 0);
}
