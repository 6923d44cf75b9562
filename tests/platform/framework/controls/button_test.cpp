// TButton, TCheckBox and TRadioButton: clicks by mouse, keys and dialog keys, ModalResult,
// programmatic Click whatever the Enabled state, check states and radio groups.
#include <gtest/gtest.h>

#include "platform/framework/controls/button.h"
#include "platform/framework/forms/message_box.h"
#include "tests/platform/framework/control_test_support.h"

namespace {
using Buttons = ApplicationFixture;
}  // namespace

TEST_F(Buttons, MouseKeysAndProgrammaticClicks)
{
    TForm* f = MakeForm(100, 100, 300, 200);
    auto* b = new TButton(f);
    b->SetBounds(10, 10, 75, 25);
    b->SetCaption(L"开始");
    b->SetParent(f);
    int clicks = 0;
    b->OnClick = [&](TObject*) { ++clicks; };
    f->Show();
    Pump();
    Click(120, 120);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(b->Focused());
    // Pressed inside, released outside: no click.
    Drag(120, 120, 250, 250);
    Pump();
    EXPECT_EQ(clicks, 1);
    PressKey(VK_SPACE);
    Pump();
    EXPECT_EQ(clicks, 2);
    // Disabled: the mouse does nothing, Click() still runs the handler.
    b->SetEnabled(false);
    Click(120, 120);
    Pump();
    EXPECT_EQ(clicks, 2);
    b->Click();
    EXPECT_EQ(clicks, 3);
}

TEST_F(Buttons, DefaultAndCancelAnswerEnterAndEscapeAndSetTheModalResult)
{
    TForm* dlg = MakeForm(100, 100, 300, 200);
    auto* ok = new TButton(dlg);
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    ok->SetParent(dlg);
    auto* cancel = new TButton(dlg);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->SetLeft(100);
    cancel->SetParent(dlg);
    auto* other = new TColorPanel(dlg);  // a focused control that is not a button
    other->SetTabStop(true);
    other->SetLeft(200);
    other->SetParent(dlg);
    dlg->SetActiveControl(other);
    PressKey(VK_RETURN);
    EXPECT_EQ(dlg->ShowModal(), mrOk);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
    // With the Cancel button focused, Enter clicks that one.
    dlg->SetActiveControl(cancel);
    PressKey(VK_RETURN);
    EXPECT_EQ(dlg->ShowModal(), mrCancel);
}

TEST_F(Buttons, CheckBoxStatesAndRadioGroups)
{
    TForm* f = MakeForm(100, 100, 300, 200);
    auto* chk = new TCheckBox(f);
    chk->SetBounds(10, 10, 100, 17);
    chk->SetParent(f);
    int clicks = 0;
    chk->OnClick = [&](TObject*) { ++clicks; };
    f->Show();
    Pump();
    Click(115, 118);
    Pump();
    EXPECT_TRUE(chk->Checked());
    EXPECT_EQ(clicks, 1);
    chk->SetChecked(false);  // a programmatic change clicks too
    EXPECT_EQ(clicks, 2);
    chk->SetChecked(false);
    EXPECT_EQ(clicks, 2);
    chk->SetAllowGrayed(true);
    PressKey(VK_SPACE);
    Pump();
    EXPECT_EQ(chk->State(), cbGrayed);

    auto* r1 = new TRadioButton(f);
    auto* r2 = new TRadioButton(f);
    auto* panel = new TColorPanel(f);
    auto* r3 = new TRadioButton(f);  // another parent, another group
    for (TControl* c : {static_cast<TControl*>(r1), static_cast<TControl*>(r2), static_cast<TControl*>(panel)})
        c->SetParent(f);
    r3->SetParent(panel);
    r3->SetChecked(true);
    r1->SetChecked(true);
    r2->SetChecked(true);
    EXPECT_FALSE(r1->Checked());
    EXPECT_TRUE(r2->Checked());
    EXPECT_TRUE(r3->Checked());

    // While a layout loads, stored states are set without clicks.
    auto* loading = new TCheckBox(nullptr);
    loading->BeginLoading();
    int loadClicks = 0;
    loading->OnClick = [&](TObject*) { ++loadClicks; };
    loading->SetChecked(true);
    loading->EndLoading();
    EXPECT_EQ(loadClicks, 0);
    EXPECT_TRUE(loading->Checked());
    loading->Free();
}

TEST_F(Buttons, PlainMessageBoxAnswersWithTheButtonChosen)
{
    PressKey(VK_RETURN);  // the first button is the default
    EXPECT_EQ(ShowPlainMessageBox(L"文件已存在，是否覆盖？", L"提示", MB_YESNO | MB_ICONQUESTION), IDYES);
    PressKey(VK_TAB);
    PressKey(VK_RETURN);
    EXPECT_EQ(ShowPlainMessageBox(L"x", L"提示", MB_YESNO), IDNO);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(ShowPlainMessageBox(L"x", L"提示", MB_OKCANCEL), IDCANCEL);
    PressKey(VK_ESCAPE);
    EXPECT_EQ(ShowPlainMessageBox(L"出错了", L"提示", MB_OK | MB_ICONSTOP), IDOK);
}
