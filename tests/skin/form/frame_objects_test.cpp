// The caption buttons of a skinned frame: their looks by state on the composed frame (normal,
// hover, pressed, the restore look of a maximized form and of a minimized one other than the
// main form, inactive and disabled), the command on a release over the button only, the close
// button's release before the close, morphing in steps of 0.2, and which buttons the form's
// border icons show.
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using skintest::FrameSkin;
using FrameObjects = SkinFormFixture;

TEST_F(FrameObjects, ButtonLooksFollowTheMouseAndTheWindowState)
{
    Make();
    Skin();
    Show();
    TbsSkinStdButtonObject* max = Button(cmMaximize);
    ASSERT_NE(max, nullptr);
    const TPoint m = Mid(max);
    EXPECT_EQ(Px(m.X, m.Y), skintest::kNormal);
    MoveTo(m.X, m.Y);
    EXPECT_EQ(Px(m.X, m.Y), skintest::kHot);
    vxwin::InjectMouseButton(0, true, Form->Left() + m.X, Form->Top() + m.Y);
    Pump();
    EXPECT_EQ(Px(m.X, m.Y), skintest::kDown);
    vxwin::InjectMouseButton(0, false, Form->Left() + m.X, Form->Top() + m.Y);
    Pump();
    ASSERT_EQ(SF->WindowState(), wsMaximized);
    const TPoint r = Mid(Button(cmMaximize));
    EXPECT_EQ(Px(r.X, r.Y), skintest::kExtra1) << "the restore look while maximized";
    MoveTo(r.X, r.Y);
    EXPECT_EQ(Px(r.X, r.Y), skintest::kExtra2) << "hovered restore look";
    EXPECT_EQ(Button(cmMaximize)->Hint, L"Restore");
}

TEST_F(FrameObjects, ReleaseOffTheButtonRunsNothing)
{
    Make();
    Skin();
    Show();
    const TPoint m = Mid(Button(cmMaximize));
    MoveTo(m.X, m.Y);
    vxwin::InjectMouseButton(0, true, Form->Left() + m.X, Form->Top() + m.Y);
    Pump();
    MoveTo(m.X - 60, m.Y + 40);
    vxwin::InjectMouseButton(0, false, Form->Left() + m.X - 60, Form->Top() + m.Y + 40);
    Pump();
    EXPECT_EQ(SF->WindowState(), wsNormal);
    EXPECT_FALSE(Button(cmMaximize)->Down());
    EXPECT_EQ(SF->MouseCaptureObject, -1);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameObjects, CloseButtonIsReleasedBeforeTheFormCloses)
{
    Make();
    Skin();
    Show();
    std::vector<std::string> log;
    SF->OnMouseUpEvent = [&](const String& Name, int, int, TRect, TMouseButton) {
        log.push_back("up " + StringToUtf8(Name));
    };
    Form->OnClose = [&](TObject*, TCloseAction&) {
        log.push_back(Button(cmClose)->Down() ? "close while pressed" : "close");
    };
    const TPoint c = Mid(Button(cmClose));
    MoveTo(c.X, c.Y);
    Click(Form->Left() + c.X, Form->Top() + c.Y);
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"up closebutton", "close"}));
    EXPECT_FALSE(Form->Visible());
}

TEST_F(FrameObjects, MorphStepsOfAFifthEndExactly)
{
    Make();
    FrameSkin f;
    f.MoreButtonKeys = "morphing=1\r\n";
    Skin(f);
    Show();
    TbsSkinStdButtonObject* b = Button(cmMinimize);
    ASSERT_TRUE(b->EnableMorphing());
    b->Active = true;
    b->FMorphKf = 0.8;
    SF->MorphTimer->SetEnabled(true);
    SF->MorphTimerProc(nullptr);
    EXPECT_EQ(b->MorphKf(), 1.0);
    SF->MorphTimerProc(nullptr);
    EXPECT_FALSE(SF->MorphTimer->Enabled()) << "nothing left to morph";
    b->Active = false;
    SF->MorphTimer->SetEnabled(true);
    std::vector<double> steps;
    while (SF->MorphTimer->Enabled()) {
        SF->MorphTimerProc(nullptr);
        steps.push_back(b->MorphKf());
    }
    EXPECT_EQ(steps.size(), 6u) << "five steps, then the timer finds nothing";
    EXPECT_NEAR(steps[0], 0.8, 1e-9);
    EXPECT_EQ(steps[4], 0.0);

    const TPoint m = Mid(b);
    MoveTo(m.X, m.Y);
    Wait(200);
    EXPECT_EQ(b->MorphKf(), 1.0) << "hovering morphs on the form's 25 ms timer";
    EXPECT_EQ(Px(m.X, m.Y), skintest::kHot);
}

TEST_F(FrameObjects, InactiveLookOnlyWhileEnabled)
{
    Make();
    FrameSkin f;
    f.MoreButtonKeys = "inactiveskinrect=" + skintest::IniRect(Rect(48, 0, 64, 16)) + "\r\n";
    Skin(f);
    Show();
    ActivateAnotherForm();
    const TPoint c = Mid(Button(cmClose));
    EXPECT_EQ(Px(c.X, c.Y), skintest::kExtra1) << "the inactive look";
    SF->SetEnabled(L"closebutton", false);
    Send(WM_NCPAINT);
    EXPECT_EQ(Px(c.X, c.Y), skintest::kNormal) << "a disabled button never takes it";
}

TEST_F(FrameObjects, MainFormMinimizeButtonNeverTakesTheRestoreLook)
{
    // Every minimize button has a restore look here. Another form shows it while parked; the
    // main form minimizes through the application, and while it does its skinned state reads
    // minimized, but its button keeps the plain look.
    for (bool isMain : {false, true}) {
        Make();
        FrameSkin f;
        f.MoreButtonKeys = "restorerect=" + skintest::IniRect(Rect(48, 16, 64, 32)) + "\r\n";
        Skin(f);
        if (isMain) Application->SetMainForm(Form);
        Show();
        TWindowState state = wsNormal;
        bool restoreLook = true;
        uint32_t look = 0;
        auto probe = [&] {
            TbsSkinStdButtonObject* min = Button(cmMinimize);
            state = SF->WindowState();
            restoreLook = min->RestoreLook();
            TBitmap b;
            b.SetPixelFormat(pf32bit);
            b.SetSize(Form->Width(), Form->Height());
            min->Draw(b.Canvas(), false);
            const TPoint m = Mid(min);
            look = b.PixelArgb(m.X, m.Y) & 0xFFFFFF;
        };
        Application->OnMinimize = [&](TObject*) { probe(); };
        SF->SetWindowState(wsMinimized);
        Application->OnMinimize = nullptr;
        if (!isMain) probe();
        EXPECT_EQ(state, wsMinimized) << "main form: " << isMain;
        EXPECT_EQ(restoreLook, !isMain) << "main form: " << isMain;
        EXPECT_EQ(look, isMain ? skintest::kNormal : skintest::kExtra1) << "main form: " << isMain;
        if (isMain) Application->SetMainForm(nullptr);
        Form->Free();
    }
}

TEST_F(FrameObjects, BorderIconsDecideTheButtons)
{
    struct Case {
        const char* What;
        std::initializer_list<TbsBorderIcon> Icons;
        bool Hide;
        bool Close, DialogClose, Max;
    };
    const Case cases[] = {
        {"no icons: no caption button at all", {}, false, false, false, false},
        {"system menu alone: the dialog's close button alone", {TbsBorderIcon::biSystemMenu}, false, false, true, false},
        {"minimize icon alone: no close button", {TbsBorderIcon::biMinimize}, false, false, false, false},
        {"system menu and minimize: the normal close button",
         {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize},
         false,
         true,
         false,
         false},
        {"maximize icon", {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMaximize}, false, true, false, true},
        {"maximize without the system menu: no close button", {TbsBorderIcon::biMaximize}, false, false, false, true},
        {"hidden caption buttons", {TbsBorderIcon::biMaximize}, true, false, false, false},
    };
    for (const Case& c : cases) {
        Make();
        SF->SetHideCaptionButtons(c.Hide);
        auto s = std::make_unique<skintest::SyntheticSkin>();
        skintest::AddFrame(*s);
        s->Object("dialogclosebutton", "stdbutton",
                  "skinrectinapicture=1\r\nactivepictureindex=0\r\nskinrect=0,0,16,16\r\ncommand=cmclose\r\n");
        s->LoadInto(Model);
        TbsBorderIcons icons;
        for (auto i : c.Icons) icons.Include(i);
        SF->SetBorderIcons(icons);
        SF->SetSkinData(Model);
        Show();
        const auto* close = Button(cmClose);
        const auto* dialog = SF->ObjectList[static_cast<size_t>(SF->GetIndex(L"dialogclosebutton"))];
        EXPECT_EQ(close->Visible && close->Enabled, c.Close) << c.What;
        EXPECT_EQ(dialog->Visible && dialog->Enabled, c.DialogClose) << c.What;
        EXPECT_EQ(Button(cmMaximize)->Visible, c.Max) << c.What;
        Form->Free();
    }
}

}  // namespace
