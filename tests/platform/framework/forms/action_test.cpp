// Actions: a linked control takes the action's caption, enabling, hint and visibility and keeps
// following its changes; a click without OnClick runs the action; groups, shortcuts and the end
// of an action.
#include <gtest/gtest.h>

#include "platform/framework/controls/button.h"
#include "platform/framework/forms/action.h"
#include "platform/framework/forms/menus.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
using Actions = ApplicationFixture;
}  // namespace

TEST_F(Actions, LinkedControlsFollowTheActionAndRunIt)
{
    TForm* f = MakeForm(0, 0, 200, 100);
    auto* list = new TActionList(f);
    auto* act = new TAction(f);
    act->SetActionList(list);
    act->SetCaption(L"开始");
    act->SetHint(L"开始转换");
    int runs = 0;
    act->OnExecute = [&](TObject*) { ++runs; };
    auto* b = new TButton(f);
    b->SetParent(f);
    b->SetAction(act);
    EXPECT_EQ(b->Caption(), L"开始");
    EXPECT_EQ(b->Hint(), L"开始转换");
    act->SetEnabled(false);
    EXPECT_FALSE(b->Enabled());
    act->SetCaption(L"停止");
    EXPECT_EQ(b->Caption(), L"停止");
    b->Click();  // a disabled action does not run
    EXPECT_EQ(runs, 0);
    act->SetEnabled(true);
    b->Click();
    EXPECT_EQ(runs, 1);
    int own = 0;
    b->OnClick = [&](TObject*) { ++own; };  // an OnClick of its own wins
    b->Click();
    EXPECT_EQ(own, 1);
    EXPECT_EQ(runs, 1);

    // A group of checked actions; a shortcut through the list.
    auto* a2 = new TAction(f);
    a2->SetActionList(list);
    act->SetGroupIndex(1);
    a2->SetGroupIndex(1);
    act->SetChecked(true);
    a2->SetChecked(true);
    EXPECT_FALSE(act->Checked());
    act->SetShortCut(ShortCut(VK_F1 + 4, {}));
    TMessage key{WM_KEYDOWN, VK_F1 + 4, 0, 0};
    EXPECT_TRUE(list->IsShortCut(key));
    EXPECT_EQ(runs, 2);

    // The action's end leaves the control unlinked.
    act->Free();
    EXPECT_EQ(b->Action(), nullptr);
    EXPECT_EQ(list->ActionCount(), 1);
}
