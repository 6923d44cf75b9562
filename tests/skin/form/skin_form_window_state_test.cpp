// The skinned form's own window states and size limits: the frame-aware minimum and maximum
// sizes, maximize to the work area (or the whole screen), minimized forms parked at the bottom of
// the work area, restore to the saved bounds, roll-up and its refusals, the caption double click,
// a streamed state, switching the skinned frame while maximized, and dragging by the frame
// (move loop, magnetic edges, sizing limits, the shape following each step).
#include "platform/framework/forms/screen.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using skintest::FrameSkin;

struct SkinFormStates : SkinFormFixture {
    void TearDown() override
    {
        vxwin::SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 984});
        SkinFormFixture::TearDown();
    }
    TRect Bounds() const { return ::Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height()); }
};

TEST_F(SkinFormStates, MinimumAndMaximumSizes)
{
    struct Case {
        const char* What;
        bool Skinned;
        int FormMinWidth, FormMinHeight;
        int MinWidth, MinHeight;
        TFormBorderStyle Style;
        TWindowState State;
        bool RolledUp;
        int Width, Height;
    };
    const Case cases[] = {
        {"built-in, nothing set", false, 0, 0, 0, 0, bsSizeable, wsNormal, false, 120, 25},
        {"built-in tool window", false, 0, 0, 0, 0, bsToolWindow, wsNormal, false, 120, 21},
        {"built-in MinHeight above the frame", false, 0, 0, 150, 60, bsSizeable, wsNormal, false, 150, 60},
        {"skin: the picture's width and frame height", true, 0, 0, 0, 0, bsSizeable, wsNormal, false, 200, 36},
        {"skin: MinWidth below the picture", true, 0, 0, 150, 0, bsSizeable, wsNormal, false, 200, 36},
        {"skin: MinWidth above the picture wins over FormMinWidth", true, 300, 0, 250, 0, bsSizeable, wsNormal, false,
         250, 36},
        {"skin: FormMinWidth above MinWidth", true, 300, 0, 100, 0, bsSizeable, wsNormal, false, 300, 36},
        {"skin: minimized takes FormMinWidth", true, 300, 50, 250, 120, bsSizeable, wsMinimized, false, 300, 50},
        {"skin: MinHeight above FormMinHeight", true, 0, 50, 0, 120, bsSizeable, wsNormal, false, 200, 120},
        {"skin: rolled up ignores MinHeight", true, 0, 50, 0, 120, bsSizeable, wsNormal, true, 200, 50},
    };
    for (const Case& c : cases) {
        Make(400, 300, c.Style);
        if (c.Skinned) {
            FrameSkin f;
            f.MoreFormInfo = "formminwidth=" + std::to_string(c.FormMinWidth) +
                             "\r\nformminheight=" + std::to_string(c.FormMinHeight) + "\r\n";
            Skin(f);
        }
        SF->SetMinWidth(c.MinWidth);
        SF->SetMinHeight(c.MinHeight);
        Show();
        if (c.State != wsNormal) SF->SetWindowState(c.State);
        if (c.RolledUp) SF->SetRollUpState(true);
        EXPECT_EQ(SF->GetMinWidth(), c.Width) << c.What;
        EXPECT_EQ(SF->GetMinHeight(), c.Height) << c.What;
        Form->Free();
    }
    Make();
    Show();
    EXPECT_EQ(SF->GetMaxWidth(), 1280) << "the work area";
    EXPECT_EQ(SF->GetMaxHeight(), 984);
    SF->SetMaximizeOnFullScreen(true);
    EXPECT_EQ(SF->GetMaxHeight(), 1024);
    SF->SetMaxWidth(640);
    EXPECT_EQ(SF->GetMaxWidth(), 640);

    // Limits that changed reach the window: it takes them by being sized off and back.
    SF->SetMinWidth(350);
    SF->ReapplySizeLimits();
    EXPECT_EQ(Form->Width(), 350);
    SF->SetMinWidth(0);
    SF->SetMaxWidth(320);
    SF->ReapplySizeLimits();
    EXPECT_EQ(Form->Width(), 320);
}

TEST_F(SkinFormStates, FirstShowCentresOnTheScreenOrTheWorkArea)
{
    struct Case {
        TbsPositionInMonitor Where;
        TPoint At;
    };
    const Case cases[] = {{bspDefault, {kLeft, kTop}}, {bspScreenCenter, {490, 412}}, {bspDesktopCenter, {490, 392}}};
    for (const Case& c : cases) {
        Make(301, 201);
        SF->SetPositionInMonitor(c.Where);
        Show();
        EXPECT_EQ(Point(Form->Left(), Form->Top()), c.At) << c.Where;
        Form->Free();
    }
}

TEST_F(SkinFormStates, MaximizeMinimizeAndRestoreToTheNormalBounds)
{
    Make();
    Skin();
    Show();
    const TRect normal = Bounds();
    int maximized = 0, minimized = 0, restored = 0;
    SF->OnMaximize = [&](TObject*) { ++maximized; };
    SF->OnMinimize = [&](TObject*) { ++minimized; };
    SF->OnRestore = [&](TObject*) { ++restored; };
    SF->SetWindowState(wsMaximized);
    EXPECT_EQ(Bounds(), Rect(0, 0, 1280, 984)) << "the work area";
    EXPECT_EQ(SF->WindowState(), wsMaximized);
    EXPECT_EQ(Form->WindowState(), wsNormal) << "the window itself stays normal";
    EXPECT_FALSE(IsZoomed(Form->Handle()));
    SF->SetWindowState(wsMinimized);
    EXPECT_EQ(Bounds(), Rect(0, 984 - 36, 200, 984)) << "a bare frame at the bottom-left of the work area";
    EXPECT_FALSE(IsIconic(Form->Handle()));
    SF->SetWindowState(wsNormal);
    EXPECT_EQ(Bounds(), normal) << "the bounds saved before maximizing";
    EXPECT_TRUE(SF->OldBoundsRect.IsEmpty());
    EXPECT_EQ(maximized + minimized + restored, 3);
}

TEST_F(SkinFormStates, MaximizedAreaWithAHiddenTaskBarAndOnTheFullScreen)
{
    Make();
    Show();
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 0, 1280, 1024}));
    Pump();
    SF->SetWindowState(wsMaximized);
    EXPECT_EQ(Bounds(), Rect(1, 1, 1279, 1023)) << "a pixel left on every side for the hidden task bar";
    SF->SetWindowState(wsNormal);
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 30, 1280, 1024}));
    SF->SetMaximizeOnFullScreen(true);
    SF->SetWindowState(wsMaximized);
    EXPECT_EQ(Bounds(), Rect(0, 0, 1280, 1024));
}

TEST_F(SkinFormStates, MainFormMinimizesThroughTheApplication)
{
    Make();
    Skin();
    Application->SetMainForm(Form);
    Show();
    int minimized = 0;
    Application->OnMinimize = [&](TObject*) { ++minimized; };
    SF->SetWindowState(wsMinimized);
    EXPECT_EQ(minimized, 1);
    EXPECT_TRUE(IsIconic(Form->Handle()));
    EXPECT_EQ(SF->WindowState(), wsNormal) << "the main form never takes the skinned minimized state";
    EXPECT_EQ(Form->Width(), 300);
    Application->Restore();
    EXPECT_FALSE(IsIconic(Form->Handle()));
    ASSERT_TRUE(Application->OnRestore) << "the main form's restore handler";
    Application->OnMinimize = nullptr;
    Form->Free();
    EXPECT_FALSE(Application->OnRestore) << "gone with the form";
    Application->SetMainForm(nullptr);
}

TEST_F(SkinFormStates, MinimizedFormsParkSideBySide)
{
    std::vector<TForm*> forms;
    std::vector<TbsSkinForm*> skins;
    for (int i = 0; i < 3; ++i) {
        Make(300, 200);
        Show();
        forms.push_back(Form);
        skins.push_back(SF);
    }
    for (TbsSkinForm* s : skins) s->SetWindowState(wsMinimized);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(forms[static_cast<size_t>(i)]->Left(), i * 120) << i;
        EXPECT_EQ(forms[static_cast<size_t>(i)]->Top(), 984 - 25) << i;
        EXPECT_EQ(forms[static_cast<size_t>(i)]->Width(), 120) << i;
    }
    // The row full: the next one goes a row up.
    ASSERT_TRUE(vxwin::SetHeadlessScreen(RECT{0, 0, 1280, 1024}, RECT{0, 0, 300, 984}));
    skins[2]->SetWindowState(wsNormal);
    skins[2]->SetWindowState(wsMinimized);
    EXPECT_EQ(forms[2]->Left(), 0);
    EXPECT_EQ(forms[2]->Top(), 984 - 50);
}

TEST_F(SkinFormStates, RollUpAndItsRefusals)
{
    Make(300, 200);
    Skin();
    Show();
    int changes = 0;
    SF->OnChangeRollUpState = [&](TObject*) { ++changes; };
    SF->SetRollUpState(true);
    EXPECT_EQ(Form->Height(), 36) << "the caption alone";
    EXPECT_EQ(SF->RealHeight(), 200);
    SF->SetRollUpState(false);
    EXPECT_EQ(Form->Height(), 200);
    EXPECT_EQ(changes, 2);

    SF->SetWindowState(wsMinimized);
    SF->SetRollUpState(true);
    EXPECT_FALSE(SF->RollUpState()) << "refused while minimized";
    SF->SetWindowState(wsNormal);
    TbsBorderIcons icons = SF->BorderIcons();
    SF->SetBorderIcons(icons.Exclude(TbsBorderIcon::biRollUp));
    SF->SetRollUpState(true);
    EXPECT_FALSE(SF->RollUpState()) << "refused without the roll-up icon";
    EXPECT_EQ(changes, 2);
}

TEST_F(SkinFormStates, CaptionDoubleClickRules)
{
    struct Case {
        const char* What;
        TFormBorderStyle Style;
        bool RollUpIcon;
        TWindowState Before, After;
        bool RolledUp;
    };
    const Case cases[] = {
        {"sizeable: maximizes", bsSizeable, true, wsNormal, wsMaximized, false},
        {"sizeable and maximized: restores", bsSizeable, true, wsMaximized, wsNormal, false},
        {"sizeable and minimized: restores", bsSizeable, true, wsMinimized, wsNormal, false},
        {"single border: rolls up", bsSingle, true, wsNormal, wsNormal, true},
        {"single border without the roll-up icon: nothing", bsSingle, false, wsNormal, wsNormal, false},
    };
    for (const Case& c : cases) {
        Make(300, 200, c.Style);
        if (!c.RollUpIcon) SF->SetBorderIcons(SF->BorderIcons().Exclude(TbsBorderIcon::biRollUp));
        Show();
        if (c.Before != wsNormal) SF->SetWindowState(c.Before);
        const TPoint p = Scr(60, 10);
        Send(WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(p.X, p.Y));
        EXPECT_EQ(SF->WindowState(), c.After) << c.What;
        EXPECT_EQ(SF->RollUpState(), c.RolledUp) << c.What;
        Form->Free();
    }
}

TEST_F(SkinFormStates, StreamedMaximizedStateAppliedOnceLoaded)
{
    Form = new TForm(Application);
    Form->BeginLoading();
    Form->SetBounds(100, 80, 300, 200);
    SF = new TbsSkinForm(Form);
    SF->SetWindowState(wsMaximized);
    EXPECT_EQ(Form->Width(), 300) << "nothing happens while loading";
    Form->EndLoading();
    Form->AfterConstruction();
    EXPECT_EQ(SF->WindowState(), wsMaximized);
    EXPECT_EQ(Form->Width(), 1280);
    EXPECT_EQ(SF->OldBoundsRect, Rect(100, 80, 400, 280));
}

TEST_F(SkinFormStates, SwitchingTheSkinnedFrameKeepsAMaximizedForm)
{
    Make();
    Skin();
    Show();
    int shows = 0, hides = 0;
    Form->OnShow = [&](TObject*) { ++shows; };
    Form->OnHide = [&](TObject*) { ++hides; };
    SF->SetWindowState(wsMaximized);
    SF->SetSkinnableForm(false);
    EXPECT_EQ(Form->WindowState(), wsMaximized) << "maximized the system way";
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(shows, 1);
    SF->SetSkinnableForm(true);
    EXPECT_EQ(Form->WindowState(), wsNormal);
    EXPECT_EQ(SF->WindowState(), wsMaximized) << "maximized the skinned way";
    EXPECT_EQ(Bounds(), Rect(0, 0, 1280, 984));
}

// ---- drags -----------------------------------------------------------------------------------

TEST_F(SkinFormStates, CaptionDragRunsTheMoveLoop)
{
    Make();
    FrameSkin f;
    f.Caption = true;
    Skin(f);
    Show();
    const TPoint from = Scr(60, 12);
    Drag(from.X, from.Y, from.X + 40, from.Y + 25);
    Pump();
    EXPECT_EQ(Form->Left(), kLeft + 40);
    EXPECT_EQ(Form->Top(), kTop + 25);
    const auto enter = std::find(Saved.begin(), Saved.end(), static_cast<UINT>(WM_ENTERSIZEMOVE));
    const auto exit = std::find(Saved.begin(), Saved.end(), static_cast<UINT>(WM_EXITSIZEMOVE));
    ASSERT_NE(enter, Saved.end());
    ASSERT_NE(exit, Saved.end());
    EXPECT_LT(enter, exit);
    EXPECT_FALSE(SF->FSizeMove);
}

TEST_F(SkinFormStates, MagneticEdgeSnapsHoldsAndTearsLoose)
{
    Make();
    Show();
    SF->SetMagnetic(true);
    const TPoint grab = Scr(60, 10);
    vxwin::InjectMouseButton(0, true, grab.X, grab.Y);
    auto moveBy = [&](int Dx) { vxwin::InjectMouseMove(grab.X + Dx, grab.Y); };
    std::vector<int> lefts;
    SavedHook = [&](const TMessage& M) {
        RECT r;
        GetWindowRect(Form->Handle(), &r);
        if (M.Msg == WM_MOVE) lefts.push_back(r.left);
    };
    moveBy(-(kLeft - 4));   // the left edge 4 pixels from the work area's
    moveBy(-(kLeft - 9));   // 5 more: held
    moveBy(-(kLeft - 10));  // 6 more: loose
    vxwin::InjectMouseButton(0, false, grab.X - (kLeft - 10), grab.Y);
    Pump();
    EXPECT_EQ(lefts, (std::vector<int>{0, 10})) << "snapped to 0, held there, then following the cursor";
}

TEST_F(SkinFormStates, CornerDragStopsAtTheMinimumAndTheShapeFollowsEachStep)
{
    Make(400, 300);
    FrameSkin f;
    f.Mask = true;
    Skin(f);
    Show();
    std::vector<std::pair<int, int>> shapes;  // width, shape's right edge at each size change
    SavedHook = [&](const TMessage& M) {
        if (M.Msg != WM_SIZE) return;
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        RECT box{}, wr{};
        if (GetWindowRgn(Form->Handle(), r) != ERROR) GetRgnBox(r, &box);
        DeleteObject(r);
        GetWindowRect(Form->Handle(), &wr);
        shapes.push_back({wr.right - wr.left, box.right});
    };
    const TPoint corner = Scr(396, 290);  // beside the mask's cut corner, inside the shape
    vxwin::InjectMouseButton(0, true, corner.X, corner.Y);
    vxwin::InjectMouseMove(corner.X + 30, corner.Y + 10);
    vxwin::InjectMouseMove(corner.X - 60, corner.Y - 20);
    vxwin::InjectMouseMove(corner.X - 390, corner.Y - 285);
    vxwin::InjectMouseButton(0, false, corner.X - 390, corner.Y - 285);
    Pump();
    EXPECT_EQ(Form->Width(), 200) << "the frame picture's width";
    EXPECT_EQ(Form->Height(), 36);
    ASSERT_GE(shapes.size(), 3u);
    for (const auto& [w, right] : shapes) EXPECT_EQ(right, w) << "the shape is rebuilt for each size";
}

}  // namespace
