// Frame objects beyond the standard caption buttons, driven through the form on the test clock:
// the animated object (its frames on hover and leave, pressed look, command, restore strip,
// frame timing against TimerInterval, looping, its menu), the menu button (its menu below it, held
// down while the menu is open, its glow on the right layer manager, no glow for a bad mask),
// the user object the application paints, and the system-menu button showing the form icon.
#include "skin/form/animate_object.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/core/layer_manager.h"
#include "tests/skin/form/frame_test_skins.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using frametest::kFrames;
using skintest::FrameSkin;
using skintest::SyntheticSkin;

// A skinned popup menu that records where it was asked to open.
class RecordingMenu : public TbsSkinPopupMenuBase {
public:
    using TbsSkinPopupMenuBase::TbsSkinPopupMenuBase;
    void PopupFromRect2(TControl*, const TRect& R, bool Up) override
    {
        Opened.push_back(R);
        OpenedUp = Up;
    }
    std::vector<TRect> Opened;
    bool OpenedUp = false;
};

struct ObjectsTest : SkinFormFixture {
    // The frame skin without caption buttons, plus what Add puts in.
    void SkinWith(const std::function<void(SyntheticSkin&)>& Add)
    {
        Def = std::make_unique<SyntheticSkin>();
        FrameSkin f;
        f.Buttons = false;
        skintest::AddFrame(*Def, f);
        Add(*Def);
        Def->LoadInto(Model);
        SF->SetSkinData(Model);
        Pump();
    }
    template <class T>
    T* Object(const wchar_t* Name)
    {
        const int i = SF->GetIndex(Name);
        return i < 0 ? nullptr : dynamic_cast<T*>(SF->ObjectList[static_cast<size_t>(i)]);
    }
    // The pixel in the middle of an object after each of N ticks of 25 ms.
    std::vector<uint32_t> Ticks(const TbsActiveSkinObject* O, int N)
    {
        std::vector<uint32_t> out;
        for (int i = 0; i < N; ++i) {
            Wait(25, 25);
            out.push_back(Px(Mid(O).X, Mid(O).Y));
        }
        return out;
    }
    // The mouse moved to a frame point and the form's mouse tracking run at once.
    void Track(const TPoint& P)
    {
        vxwin::InjectMouseMove(Form->Left() + P.X, Form->Top() + P.Y);
        Pump();
        SF->MouseTimerProc(nullptr);
    }
    void Press(const TPoint& P, bool Down)
    {
        vxwin::InjectMouseButton(0, Down, Form->Left() + P.X, Form->Top() + P.Y);
        Pump();
    }
};

TEST_F(ObjectsTest, ButtonStyleAnimationPlaysOnHoverBackOnLeaveAndRunsItsCommand)
{
    Make();
    SkinWith([](SyntheticSkin& S) { frametest::AddAnimate(S); });
    Show();
    auto* a = Object<TbsSkinAnimateObject>(L"anim");
    ASSERT_NE(a, nullptr);
    const TPoint m = Mid(a);
    EXPECT_EQ(Px(m.X, m.Y), kFrames[0]);

    Track(m);
    EXPECT_EQ(Ticks(a, 5), (std::vector<uint32_t>{kFrames[1], kFrames[2], kFrames[3], kFrames[3], kFrames[3]}))
        << "forward to the last frame, held there";
    Track(Point(100, 12));  // the caption
    EXPECT_EQ(Ticks(a, 4), (std::vector<uint32_t>{kFrames[2], kFrames[1], kFrames[0], kFrames[0]})) << "and back";

    MoveTo(m.X, m.Y);
    Press(m, true);
    EXPECT_EQ(Px(m.X, m.Y), skintest::kDown);
    Press(m, false);
    ASSERT_EQ(SF->WindowState(), wsMaximized) << "the release over it runs its command";
    const TPoint r = Mid(a);
    EXPECT_EQ(Px(r.X, r.Y), frametest::kRestoreFrame) << "the restore strip while maximized";
}

TEST_F(ObjectsTest, FramesCountTicksAgainstTheIntervalLoopOrStopAndRunBackFromTheFirst)
{
    struct Case {
        const char* What;
        int Interval;
        bool Cycle, Backwards;
        std::vector<int> Frames;  // after each tick
        bool Ends;
    };
    const Case cases[] = {
        {"10 ms: a frame per 25 ms tick, stopping on the last", 10, false, false, {2, 3, 4, 4, 4}, true},
        {"100 ms: one frame per four ticks", 100, false, false, {1, 1, 1, 2, 2, 2, 2, 3}, false},
        {"a loop wraps to the first frame", 10, true, false, {2, 3, 4, 1, 2}, false},
        {"left at frame 1 it runs the whole strip back", 10, false, true, {4, 3, 2, 1, 1}, true},
    };
    for (const Case& c : cases) {
        Make();
        frametest::AnimateSkin as;
        as.TimerInterval = c.Interval;
        as.Cycle = c.Cycle;
        SkinWith([&](SyntheticSkin& S) { frametest::AddAnimate(S, as); });
        Show();
        auto* a = Object<TbsSkinAnimateObject>(L"anim");
        ASSERT_NE(a, nullptr) << c.What;
        EXPECT_EQ(a->TimerInterval, std::max(25, c.Interval)) << c.What;
        a->Start();
        if (c.Backwards) a->Increment = false;
        std::vector<int> frames;
        for (size_t i = 0; i < c.Frames.size(); ++i) {
            SF->AnimateTimerProc(nullptr);
            frames.push_back(a->Frame());
        }
        EXPECT_EQ(frames, c.Frames) << c.What;
        EXPECT_EQ(a->Active, !c.Ends) << c.What;
        if (c.Ends) {
            SF->AnimateTimerProc(nullptr);
            EXPECT_FALSE(SF->AnimateTimer->Enabled()) << c.What << ": nothing moved, the timer stops";
        }
        Form->Free();
    }
}

TEST_F(ObjectsTest, AnimatedMenuObjectOpensBelowItselfHoldsItsPressedLookAndPlaysBackWhenItCloses)
{
    Make();
    SF->OnActivateCustomObject = [](const String&, bool& Visible) { Visible = true; };
    frametest::AnimateSkin as;
    as.Command = "cmdefault";
    SkinWith([&](SyntheticSkin& S) { frametest::AddAnimate(S, as); });
    auto* menu = new RecordingMenu(Form);
    menu->Items()->Add(new TMenuItem(menu));
    SF->LinkMenu(L"anim", menu, false);
    Show();
    auto* a = Object<TbsSkinAnimateObject>(L"anim");
    ASSERT_NE(a, nullptr);
    const TPoint m = Mid(a);
    MoveTo(m.X, m.Y);
    Press(m, true);
    Press(m, false);
    ASSERT_EQ(menu->Opened.size(), 1u);
    EXPECT_EQ(menu->Opened[0], Rect(Form->Left() + a->ObjectRect.Left, Form->Top() + a->ObjectRect.Top,
                                    Form->Left() + a->ObjectRect.Right, Form->Top() + a->ObjectRect.Bottom));
    EXPECT_TRUE(a->FMenuTracking);
    vxwin::InjectMouseMove(Form->Left() + 100, Form->Top() + 12);
    Pump();
    Send(WM_NCPAINT);
    EXPECT_EQ(Px(m.X, m.Y), skintest::kDown) << "pressed while its menu is open, wherever the mouse is";

    SF->SkinMenuClose();
    EXPECT_FALSE(a->FMenuTracking);
    EXPECT_EQ(Ticks(a, 5), (std::vector<uint32_t>{kFrames[2], kFrames[1], kFrames[0], kFrames[0], kFrames[0]}));
}

TEST_F(ObjectsTest, MenuButtonStaysDownWhileItsMenuIsOpenAndGlowsOnTheMenuLayer)
{
    Make();
    const TRect place = Rect(24, 6, 40, 22);  // on the top strip, left of the caption
    SkinWith([&](SyntheticSkin& S) { frametest::AddMenuButton(S, place, true); });
    Show();
    auto* b = Object<TbsSkinButtonObject>(L"menubutton");
    ASSERT_NE(b, nullptr);
    const TPoint m = Mid(b);
    EXPECT_EQ(Px(m.X, m.Y), skintest::RgbOf(static_cast<TColor>(0x606060))) << "at rest: the frame picture";

    // Without a menu the glow goes on the caption buttons' layer.
    MoveTo(m.X, m.Y);
    EXPECT_EQ(Px(m.X, m.Y), skintest::kHot);
    EXPECT_TRUE(SF->FLayerManager->IsVisible);
    EXPECT_FALSE(SF->FMenuLayerManager->IsVisible);
    MoveTo(100, 12);
    EXPECT_FALSE(SF->FLayerManager->IsVisible);

    auto* menu = new RecordingMenu(Form);
    menu->Items()->Add(new TMenuItem(menu));
    SF->LinkMenu(L"menubutton", menu, true);
    MoveTo(m.X, m.Y);
    EXPECT_TRUE(SF->FMenuLayerManager->IsVisible) << "with a menu, on the menu's layer";
    Press(m, true);
    ASSERT_EQ(menu->Opened.size(), 1u) << "the menu opens on the press";
    EXPECT_TRUE(menu->OpenedUp);
    Press(m, false);
    MoveTo(100, 12);
    EXPECT_TRUE(b->Down());
    EXPECT_EQ(Px(m.X, m.Y), skintest::kDown) << "held while the menu is open";
    SF->SkinMenuClose();
    EXPECT_FALSE(b->Down());
    EXPECT_EQ(Px(m.X, m.Y), skintest::RgbOf(static_cast<TColor>(0x606060)));
    EXPECT_FALSE(SF->FMenuLayerManager->IsVisible);
}

TEST_F(ObjectsTest, GlowWithAMaskOutsideThePicturesShowsNothing)
{
    Make();
    SkinWith([](SyntheticSkin& S) { frametest::AddMenuButton(S, Rect(24, 6, 40, 22), true, true); });
    Show();
    auto* b = Object<TbsSkinButtonObject>(L"menubutton");
    ASSERT_NE(b, nullptr);
    MoveTo(Mid(b).X, Mid(b).Y);
    EXPECT_EQ(Px(Mid(b).X, Mid(b).Y), skintest::kHot);
    EXPECT_FALSE(SF->FLayerManager->IsVisible);
}

TEST_F(ObjectsTest, UserObjectIsPaintedByTheApplicationWhereverTheFrameGoes)
{
    Make();
    SkinWith([](SyntheticSkin& S) { frametest::AddUserObject(S, Rect(24, 6, 40, 22)); });
    std::vector<TRect> painted;
    SF->OnPaintEvent = [&](const String& Name, TCanvas* C, TRect R) {
        if (Name != L"userarea") return;
        painted.push_back(R);
        C->Brush()->SetColor(static_cast<TColor>(0x123456));
        C->FillRect(R);
    };
    Show();
    ASSERT_FALSE(painted.empty());
    const TRect r = SF->ObjectList[static_cast<size_t>(SF->GetIndex(L"userarea"))]->ObjectRect;
    EXPECT_EQ(painted.back(), r);
    EXPECT_EQ(Px(r.Left + 2, r.Top + 2), 0x563412u);
}

TEST_F(ObjectsTest, SystemMenuButtonInIconModeShowsTheFormIconAndNeitherGlowsNorMorphs)
{
    Make();
    SF->SetShowIcon(true);
    SkinWith([](SyntheticSkin& S) {
        const int p = S.AddPicture(32, 16);
        S.Block(p, Rect(0, 0, 16, 16), skintest::kNormal, false);
        S.Block(p, Rect(16, 0, 32, 16), skintest::kHot, false);
        const int g = S.AddPicture(24, 24, 0xFFFFFF);
        S.Object("sysmenubutton", "stdbutton",
                 "skinrectinapicture=1\r\nactivepictureindex=" + std::to_string(S.ActiveIndex(p)) +
                     "\r\nskinrect=0,0,16,16\r\nactiveskinrect=16,0,32,16\r\nmorphing=1\r\ncommand=cmsysmenu\r\n"
                     "glowlayerpictureindex=" +
                     std::to_string(S.ActiveIndex(g)) +
                     "\r\nglowlayermaskpictureindex=" + std::to_string(S.ActiveIndex(g)) + "\r\n");
    });
    Show();
    TbsSkinStdButtonObject* s = Button(cmSysMenu);
    ASSERT_NE(s, nullptr);
    ASSERT_TRUE(s->IconMode(true));
    const TRect r = s->ObjectRect;
    bool skinLook = true;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) skinLook = skinLook && Px(x, y) == skintest::kNormal;
    EXPECT_FALSE(skinLook) << "the form's icon, not the button's look";
    EXPECT_TRUE(s->PointInMask(0, 0));
    Track(Mid(s));
    EXPECT_EQ(SF->ActiveObject, SF->GetIndex(L"sysmenubutton"));
    EXPECT_FALSE(SF->FLayerManager->IsVisible) << "no glow";
    EXPECT_FALSE(s->CanMorphing());
    EXPECT_EQ(s->MorphKf(), 0.0);
    SF->ObjectDblClick();
    EXPECT_FALSE(Form->Visible()) << "a double click closes the form";
}

}  // namespace
