// A skin change reaching a skinned form: the order of its steps, which sender reaches the frame
// and which the controls, every control visited once, skins that are broken in every way a
// user's skin file can be, the fade-in of the first show, and references dropped when the
// skin model goes.
#include "platform/framework/controls/panel.h"
#include "skin/controls/skin_change_client.h"
#include "skin/core/skin_messages.h"
#include "skin/form/client_inactive_panel.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using skintest::FrameSkin;
using SkinFormSkinChange = SkinFormFixture;

// A control that takes part in the skin-change walk and logs what it hears.
class LoggingControl : public TCustomControl, public TbsSkinChangeClient {
public:
    LoggingControl(TWinControl* AParent, TbsSkinData* AModel, std::vector<std::string>* ALog, std::string AName)
        : TCustomControl(AParent), Model(AModel), Log(ALog), Name(std::move(AName))
    {
        SetParent(AParent);
    }
    TbsSkinData* SkinChangeModel() const override { return Model; }
    void SkinChangeBegin() override { Log->push_back(Name + " begin"); }
    void SkinChangeEnd() override { Log->push_back(Name + " end"); }

    TbsSkinData* Model;
    std::vector<std::string>* Log;
    std::string Name;
};

TEST_F(SkinFormSkinChange, StepsInOrderWithPaintingStoppedBetween)
{
    Make();
    Show();
    std::vector<std::string> log;
    auto* c = new LoggingControl(Form, Model, &log, "control");
    SF->SetSkinData(Model);
    bool stoppedInBetween = false;
    SF->OnBeforeChangeSkinData = [&](TObject*) {
        log.push_back("before");
        stoppedInBetween =
            SF->FStopPainting && !SF->FSkinSupport && SF->ObjectList.empty() && !SF->MouseTimer->Enabled();
    };
    SF->OnChangeSkinData = [&](TObject*) { log.push_back("change"); };
    SF->OnAfterChangeSkinData = [&](TObject*) { log.push_back("after"); };
    skintest::SyntheticSkin s;
    skintest::AddFrame(s);
    s.LoadInto(Model);
    EXPECT_EQ(log, (std::vector<std::string>{"control begin", "before", "change", "control end", "after"}));
    EXPECT_TRUE(stoppedInBetween);
    EXPECT_FALSE(SF->FStopPainting);
    EXPECT_TRUE(SF->FSkinSupport);
    EXPECT_EQ(SF->ObjectList.size(), 3u) << "one object per record";
    EXPECT_EQ(Form->Width(), 300);
    (void)c;
}

TEST_F(SkinFormSkinChange, OwnModelReachesTheFrameAnyModelItsControls)
{
    Make();
    Skin();
    Show();
    auto* other = new TbsSkinData(Form);
    std::vector<std::string> log;
    auto* panel = new TPanel(Form);
    panel->SetParent(Form);
    new LoggingControl(Form, Model, &log, "own");
    new LoggingControl(panel, other, &log, "nested other");
    new LoggingControl(panel, nullptr, &log, "none");
    int frameChanges = 0, afterChanges = 0;
    SF->OnChangeSkinData = [&](TObject*) { ++frameChanges; };
    SF->OnAfterChangeSkinData = [&](TObject*) { ++afterChanges; };
    auto* before = SF->ObjectList.front();

    skintest::SyntheticSkin s;
    skintest::AddFrame(s);
    s.LoadInto(other);
    EXPECT_EQ(log, (std::vector<std::string>{"nested other end"})) << "the frame hears only its own model";
    EXPECT_EQ(frameChanges, 0);
    EXPECT_EQ(afterChanges, 1);
    EXPECT_EQ(SF->ObjectList.front(), before) << "the frame objects stay";

    log.clear();
    SF->ChangeSkinDataOfControls(nullptr, Form);
    std::sort(log.begin(), log.end());
    EXPECT_EQ(log, (std::vector<std::string>{"nested other end", "none end", "own end"}))
        << "no sender: every control, each once";
}

TEST_F(SkinFormSkinChange, BrokenSkinsNeverThrowDivideOrHang)
{
    struct Case {
        const char* What;
        std::string FormInfo;
        bool Mask;
        int MaskW = 0, MaskH = 0;  // the mask's size when not the frame picture's
    };
    const Case cases[] = {
        {"corner points outside the picture",
         "lefttoppoint=-50,-50\r\nrighttoppoint=900,-5\r\nleftbottompoint=-3,700\r\nrightbottompoint=999,999\r\n",
         false},
        {"client rectangle larger than the picture", "clientrect=-10,-10,400,300\r\n", true},
        {"negative border width", "borderwidth=-20\r\n", false},
        {"client rectangle of no size", "clientrect=50,50,50,50\r\n", false},
        {"background picture index outside the pictures", "bgpictureindex=7\r\nstretcheffect=1\r\n", false},
        {"a minimum size of zero", "formminwidth=-5\r\nformminheight=-40\r\n", true},
        {"a mask smaller than the frame picture", "", true, 40, 20},
        {"a mask larger than the frame picture", "", true, 320, 160},
        {"a mask narrower and taller than the frame picture", "", true, 10, 300},
    };
    for (const Case& c : cases) {
        Make(300, 200);
        FrameSkin f;
        f.Mask = c.Mask;
        f.MaskW = c.MaskW;
        f.MaskH = c.MaskH;
        f.MoreFormInfo = c.FormInfo;
        Skin(f);
        if (c.MaskW) {
            ASSERT_EQ(Model->FMask->Width(), c.MaskW) << c.What;
        }
        Show();
        for (int y = -2; y < 204; y += 7)
            for (int x = -2; x < 304; x += 7) Hit(x, y);
        Send(WM_NCPAINT);
        SF->SetWindowState(wsMaximized);
        SF->SetWindowState(wsMinimized);
        SF->SetWindowState(wsNormal);
        Form->SetBounds(10, 10, 1, 1);
        Pump();
        SUCCEED() << c.What;
        Form->Free();
    }
}

TEST_F(SkinFormSkinChange, BackgroundPictureWithoutSizeDrawsNoTiles)
{
    // A background picture of no width or height has no tiles; its counts would divide by zero.
    for (const char* stretch : {"stretcheffect=0\r\n", "stretcheffect=1\r\nstretchtype=sthorz\r\n",
                                "stretcheffect=1\r\nstretchtype=stvert\r\n"}) {
        Make();
        FrameSkin f;
        f.MoreFormInfo = stretch;
        Skin(f);
        Model->FActivePictures.push_back(new TBitmap);
        Model->BGPictureIndex = static_cast<int>(Model->FActivePictures.size()) - 1;
        Show();
        Form->Repaint();
        SUCCEED() << stretch;
        Form->Free();
    }
}

TEST_F(SkinFormSkinChange, InactiveClientShowsItsSnapshotUntilActiveAgain)
{
    Make();
    Skin();
    Show();
    SF->SetClientInActiveEffect(true);
    for (TbsClientInActiveEffect effect : {bsieSemiTransparent, bsieBlur}) {
        SF->SetClientInActiveEffectType(effect);
        TForm* other = ActivateAnotherForm();
        ASSERT_NE(SF->FInActivePanel, nullptr) << effect;
        EXPECT_TRUE(SF->FInActivePanel->Visible());
        EXPECT_EQ(SF->FInActivePanel->Width(), Form->ClientWidth());
        SetActiveWindow(Form->Handle());
        Pump();
        EXPECT_EQ(SF->FInActivePanel, nullptr) << effect;
        other->Free();
    }
}

TEST_F(SkinFormSkinChange, FrameWithoutAPictureStillParksMinimizedForms)
{
    // A skin whose frame picture has no width: its minimized forms would take slots of no width.
    std::vector<TForm*> forms;
    for (int i = 0; i < 2; ++i) {
        Make(300, 200);
        skintest::SyntheticSkin s;
        s.FormInfo = "clientrect=0,0,0,0\r\n";
        s.Controls.push_back({"x", "panel", ""});
        s.LoadInto(Model);
        SF->SetSkinData(Model);
        Show();
        ASSERT_TRUE(SF->FSkinSupport);
        ASSERT_EQ(SF->GetMinWidth(), 0);
        SF->SetWindowState(wsMinimized);
        forms.push_back(Form);
    }
    EXPECT_NE(forms[0]->Left(), forms[1]->Left()) << "the slots still move on";
}

TEST_F(SkinFormSkinChange, FadeInEndsAtTheAlphaItWasAskedFor)
{
    struct Case {
        const char* What;
        bool AlphaBlend, Animation;
        BYTE Alpha;
        bool Layered;
    };
    const Case cases[] = {
        {"AlphaBlend 200 stays layered at 200", true, false, 200, true},
        {"an animation ends opaque and not layered", false, true, 255, false},
        {"both: the animation runs up to 200", true, true, 200, true},
    };
    for (const Case& c : cases) {
        Make();
        Skin();
        SF->SetAlphaBlendValue(200);
        SF->SetAlphaBlend(c.AlphaBlend);
        SF->SetAlphaBlendAnimation(c.Animation);
        vxwin::SetClockAutoStep(1);  // the fade's busy loop reads GetTickCount
        Form->Show();
        BYTE alpha = 0;
        DWORD flags = 0;
        GetLayeredWindowAttributes(Form->Handle(), nullptr, &alpha, &flags);
        EXPECT_EQ(alpha, 0) << c.What << ": the form shows transparent first";
        Wait(20);
        const LONG ex = GetWindowLongW(Form->Handle(), GWL_EXSTYLE);
        EXPECT_EQ((ex & WS_EX_LAYERED) != 0, c.Layered) << c.What;
        if (c.Layered) {
            GetLayeredWindowAttributes(Form->Handle(), nullptr, &alpha, &flags);
            EXPECT_EQ(alpha, c.Alpha) << c.What;
        }
        Form->Free();
    }
}

TEST_F(SkinFormSkinChange, FreedModelLeavesBothReferencesNil)
{
    Make();
    Skin();
    SF->SetMenusSkinData(Model);
    ASSERT_EQ(SF->SkinData(), Model);
    Model->Free();
    EXPECT_EQ(SF->SkinData(), nullptr);
    EXPECT_EQ(SF->MenusSkinData(), nullptr);
    Show();
    Send(WM_NCPAINT);
    EXPECT_EQ(Hit(1, 1), HTTOPLEFT) << "the built-in frame again";
}

}  // namespace
