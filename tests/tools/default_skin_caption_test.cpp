// The caption buttons of the program's own skin on a real skinned window, for each set of border
// icons the program's forms use: which buttons show, that a press on each reaches the button (not
// the caption's drag, which lies beside them), and that a click on the close button closes the form.
#include <gtest/gtest.h>

#include <ostream>
#include <set>
#include <string>

#include "default_skin_test_support.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/win_api.h"
#include "skin/form/caption_object.h"
#include "skin/form/frame_objects.h"
#include "skin/form/skin_form.h"
#include "tests/support/application_fixture.h"
#include "tests/support/user_input.h"

namespace {

struct IconsCase {
    const char* Name;
    TbsBorderIcons Icons;
    std::set<std::string> Shown;  // the caption buttons that show, by their skin names
};

void PrintTo(const IconsCase& C, std::ostream* Os) { *Os << C.Name; }

class DefaultSkinCaptionButtons : public ApplicationFixture, public ::testing::WithParamInterface<IconsCase> {};

void Pump()
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
}

TEST_P(DefaultSkinCaptionButtons, ShowByTheIconsAndTakeTheirOwnClicks)
{
    const IconsCase& c = GetParam();
    auto* form = new TForm(Application);
    form->SetBorderStyle(bsSingle);
    form->SetCaption(L"VexmoraMKV格式转换器");
    form->SetBounds(40, 30, 500, 300);
    form->AfterConstruction();
    auto* model = new TbsSkinData(form);
    auto* sf = new TbsSkinForm(form);
    TbsCompressedSkinList list(nullptr);
    TbsSkinListItem* item = list.Skins()->Add();
    FillDefaultSkinItem(*item);
    model->LoadCompressedStoredSkin(item->Skin());
    sf->SetBorderIcons(c.Icons);
    sf->SetSkinData(model);
    bool closed = false;
    form->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    form->Show();
    Pump();

    std::set<std::string> shown;
    TbsSkinStdButtonObject* close = nullptr;
    TbsSkinCaptionObject* caption = nullptr;
    auto hit = [&](const TRect& R) {
        const int x = form->Left() + (R.Left + R.Right) / 2, y = form->Top() + (R.Top + R.Bottom) / 2;
        return SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(x, y));
    };
    for (TbsActiveSkinObject* o : sf->ObjectList) {
        if (auto* cap = dynamic_cast<TbsSkinCaptionObject*>(o)) caption = cap;
        auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o);
        if (!b || !b->Visible) continue;
        const std::string name = StringToUtf8(b->IDName);
        shown.insert(name);
        EXPECT_TRUE(b->Enabled) << name;
        EXPECT_GT(b->ObjectRect.Width(), 0) << name;
        EXPECT_EQ(hit(b->ObjectRect), HTOBJECT) << name << ": the press would drag the caption";
        if (b->Command == cmClose) close = b;
    }
    EXPECT_EQ(shown, c.Shown);
    ASSERT_TRUE(caption);
    // The caption ends where the buttons begin and is dragged everywhere else.
    EXPECT_EQ(hit(caption->ObjectRect), HTCAPTION);
    if (!c.Shown.count("closebutton")) {
        // No system menu, no close button: the form closes through its own commands.
        EXPECT_EQ(close, nullptr);
        return;
    }
    ASSERT_TRUE(close);
    EXPECT_LE(caption->ObjectRect.Right, close->ObjectRect.Left);

    const TRect r = close->ObjectRect;
    Click(form->Left() + (r.Left + r.Right) / 2, form->Top() + (r.Top + r.Bottom) / 2);
    Pump();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(form->Visible());
}

// The main window asks for a minimise button alone, dialogs for none, the legacy form for all.
INSTANTIATE_TEST_SUITE_P(
    Icons, DefaultSkinCaptionButtons,
    ::testing::Values(IconsCase{"Dialog", TbsBorderIcons{}, {}},
                      IconsCase{"MainWindow", TbsBorderIcons{TbsBorderIcon::biMinimize}, {"minbutton"}},
                      IconsCase{"Legacy",
                                TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize,
                                               TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp},
                                {"closebutton", "maxbutton", "minbutton", "sysmenubutton"}}),
    [](const ::testing::TestParamInfo<IconsCase>& I) { return std::string(I.param.Name); });

}  // namespace
