// Every form the program makes, driven from the keyboard alone: Tab walks every focusable control
// in tab order and comes back round to the first, Shift+Tab walks the same way back, Enter
// presses the form's default button and Esc its cancel button where the form has them.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/filesettings/file_settings_form.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/picture_dialogs.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "skin/dialogs/select_skin_dialog.h"
#include "skin/dialogs/skin_message.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/modal_script.h"
#include "tests/support/user_input.h"
#include "platform/win/headless_api.h"

namespace {

// The TabOrder of the control and of each of its parents up to the form, outermost first: the
// walk's order is these paths' order.
std::vector<int> TabPath(TWinControl* C, TCustomForm* F)
{
    std::vector<int> path;
    for (; C && C != F; C = C->Parent()) path.insert(path.begin(), C->TabOrder());
    return path;
}

// Every windowed control on the form that a Tab may reach (a tab stop that can take the focus),
// in tab order.
std::vector<TWinControl*> Focusable(TCustomForm* F)
{
    std::vector<TWinControl*> all;
    std::vector<TWinControl*> todo{F};
    while (!todo.empty()) {
        TWinControl* p = todo.back();
        todo.pop_back();
        for (int i = 0; i < p->ControlCount(); ++i)
            if (auto* w = dynamic_cast<TWinControl*>(p->Controls(i))) {
                todo.push_back(w);
                if (w->TabStop() && w->CanFocus()) all.push_back(w);
            }
    }
    std::sort(all.begin(), all.end(), [F](TWinControl* a, TWinControl* b) { return TabPath(a, F) < TabPath(b, F); });
    return all;
}

// The focused control as one of the list: itself or the nearest of its parents in the list (a
// combo box hands the focus to its edit).
TWinControl* FocusOf(TCustomForm* F, const std::vector<TWinControl*>& AList)
{
    for (TWinControl* c = F->ActiveControl(); c && c != F; c = c->Parent())
        if (std::find(AList.begin(), AList.end(), c) != AList.end()) return c;
    return nullptr;
}

// Records a walk: the focus before the first press and after each press.
struct Walk {
    std::vector<TWinControl*> Expected;
    std::vector<TWinControl*> Forward, Back;
};

constexpr int kPresses = 100;

// What the closing key pressed: a default button, a cancel button (both for one button that is
// both), or nothing.
struct Pressed {
    bool Any = false, Default = false, Cancel = false;
};

// ModalScript steps: the walk forward and back, then AKey (0: none) with a record of which
// button it pressed.
void AddWalkSteps(std::vector<ModalScript::Step>& S, Walk& W, int AKey, Pressed* APressed)
{
    S.push_back([&W](TCustomForm* F) {
        W.Expected = Focusable(F);
        W.Forward.push_back(FocusOf(F, W.Expected));
        PressKey(VK_TAB);
    });
    for (int i = 1; i < kPresses; ++i)
        S.push_back([&W](TCustomForm* F) {
            W.Forward.push_back(FocusOf(F, W.Expected));
            PressKey(VK_TAB);
        });
    for (int i = 0; i < kPresses; ++i)
        S.push_back([&W, i](TCustomForm* F) {
            // The first of these sees where the Tabs ended, which is where Shift+Tab starts.
            if (i == 0) W.Forward.push_back(FocusOf(F, W.Expected));
            W.Back.push_back(FocusOf(F, W.Expected));
            PressKey(VK_TAB, kShift);
        });
    S.push_back([&W, AKey, APressed](TCustomForm* F) {
        W.Back.push_back(FocusOf(F, W.Expected));
        if (!AKey) return;
        // The button the key is to press, seen by its click handler.
        for (TWinControl* c : Focusable(F))
            if (auto* b = dynamic_cast<TbsSkinButton*>(c))
                if ((AKey == VK_RETURN && b->Default()) || (AKey == VK_ESCAPE && b->Cancel())) {
                    auto old = b->OnClick;
                    b->OnClick = [b, old, APressed](TObject* Sender) {
                        *APressed = Pressed{true, b->Default(), b->Cancel()};
                        if (old) old(Sender);
                    };
                }
        // A focused button would take Enter itself: the keys are to act from another control.
        for (TWinControl* c : W.Expected)
            if (!dynamic_cast<TbsSkinButton*>(c)) {
                c->SetFocus();
                break;
            }
        PressKey(AKey, kNoMods, AKey == VK_RETURN ? L"\r" : L"\x1b");
    });
}

// Tab and Shift+Tab each went round the whole list in order, and back to where they started.
void CheckWalk(const Walk& W, const std::string& AForm)
{
    const int n = static_cast<int>(W.Expected.size());
    ASSERT_GT(n, 0) << AForm;
    ASSERT_LT(n, kPresses) << AForm;
    ASSERT_EQ(W.Forward.size(), size_t(kPresses) + 1) << AForm;
    ASSERT_GE(W.Back.size(), size_t(kPresses)) << AForm;
    auto at = [&](TWinControl* c) {
        return static_cast<int>(std::find(W.Expected.begin(), W.Expected.end(), c) - W.Expected.begin());
    };
    // Before the first Tab the focus may be nowhere yet: the first Tab goes to the first control.
    int i0 = W.Forward.front() ? at(W.Forward.front()) : -1;
    ASSERT_LT(i0, n) << AForm << ": the first focus is outside the tab order";
    for (int k = 1; k <= kPresses; ++k)
        ASSERT_EQ(at(W.Forward[size_t(k)]), ((i0 + k) % n + n) % n) << AForm << ": Tab press " << k;
    const int b0 = at(W.Forward.back());
    for (int k = 1; k < kPresses; ++k)
        ASSERT_EQ(at(W.Back[size_t(k)]), ((b0 - k) % n + n) % n) << AForm << ": Shift+Tab press " << k;
}

class FormKeyboard : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        Main->Show();
        Pump();
    }
};

}  // namespace

TEST_F(FormKeyboard, TabWalksTheMainWindowBothWays)
{
    Walk w;
    w.Expected = Focusable(Main);
    w.Forward.push_back(FocusOf(Main, w.Expected));
    for (int i = 0; i < kPresses; ++i) {
        PressKey(VK_TAB);
        Pump();
        w.Forward.push_back(FocusOf(Main, w.Expected));
    }
    for (int i = 1; i < kPresses; ++i) {
        PressKey(VK_TAB, kShift);
        Pump();
        w.Back.push_back(FocusOf(Main, w.Expected));
    }
    w.Back.insert(w.Back.begin(), w.Forward.back());
    CheckWalk(w, "main window");
    EXPECT_TRUE(Main->Visible());
}

TEST_F(FormKeyboard, EveryDialogWalksWithTabAndAnswersEnterAndEsc)
{
    auto save = new TbsSkinSaveDialog(Main);
    auto openPicture = new TbsSkinOpenPictureDialog(Main);
    auto savePicture = new TbsSkinSavePictureDialog(Main);
    for (TbsSkinOpenDialog* d : {static_cast<TbsSkinOpenDialog*>(save), static_cast<TbsSkinOpenDialog*>(openPicture),
                                 static_cast<TbsSkinOpenDialog*>(savePicture)}) {
        d->SetSkinData(Main->bsSkinData1);
        d->SetCtrlSkinData(Main->bsSkinData1);
        d->SetInitialDir(Utf8ToString(HomeDir()));
    }
    struct Row {
        const char* Form;
        std::function<void()> Open;
        bool HasDefault, HasCancel;
    };
    const Row rows[] = {
        {"选项", [&] { Form5->ShowModal(); }, true, true},
        {"关于", [&] { Form2->ShowModal(); }, true, true},
        {"选项设置", [&] { Form7->ShowModal(); }, true, true},
        {"提示", [&] { Main->btnRemoveClick(Main); }, true, false},
        {"打开文件", [&] { Main->OpenDialog1->Execute(); }, false, true},
        {"另存为", [&] { save->Execute(); }, false, true},
        {"选择目录", [&] { Main->bsSkinSelectDirectoryDialog1->Execute(); }, true, true},
        {"皮肤", [&] { Main->bsSelectSkinDialog1->Execute(0); }, true, true},
        {"打开图片", [&] { openPicture->Execute(); }, false, true},
        {"保存图片", [&] { savePicture->Execute(); }, false, true},
    };
    for (const Row& r : rows) {
        for (int key : {VK_ESCAPE, VK_RETURN}) {
            const bool has = key == VK_RETURN ? r.HasDefault : r.HasCancel;
            if (!has) continue;
            SCOPED_TRACE(std::string(r.Form) + (key == VK_RETURN ? " / Enter" : " / Esc"));
            Walk w;
            Pressed pressed;
            std::vector<ModalScript::Step> steps;
            AddWalkSteps(steps, w, key, &pressed);
            {
                ModalScript script(steps);
                r.Open();
                EXPECT_TRUE(script.Done());
            }
            EXPECT_EQ(ModalScript::ModalForm(), nullptr) << "the key did not close the form";
            ASSERT_TRUE(pressed.Any) << "the key pressed no button";
            EXPECT_TRUE(key == VK_RETURN ? pressed.Default : pressed.Cancel);
            if (key == VK_ESCAPE) CheckWalk(w, r.Form);
            Pump();
        }
    }
}

// An open drop-down takes Esc itself: the list closes and the dialog stays; a second Esc then
// cancels the dialog.
TEST_F(FormKeyboard, EscClosesAnOpenDropDownAndLeavesTheDialog)
{
    TbsSkinFilterComboBox* filter = nullptr;
    bool openAfterDrop = false, openAfterEsc = true;
    TCustomForm* dialogAfterEsc = nullptr;
    ModalScript script({[&](TCustomForm* F) {
                            filter = static_cast<TbsOpenDlgForm*>(F)->FilterComboBox;
                            filter->SetFocus();
                            PressKey(VK_DOWN, kAlt);
                        },
                        [&](TCustomForm*) {
                            openAfterDrop = filter->IsPopupVisible();
                            PressKey(VK_ESCAPE, kNoMods, L"\x1b");
                        },
                        [&](TCustomForm*) {
                            openAfterEsc = filter->IsPopupVisible();
                            dialogAfterEsc = ModalScript::ModalForm();
                            PressKey(VK_ESCAPE, kNoMods, L"\x1b");
                        }});
    EXPECT_FALSE(Main->OpenDialog1->Execute());
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(openAfterDrop);
    EXPECT_FALSE(openAfterEsc);
    EXPECT_NE(dialogAfterEsc, nullptr) << "Esc closed the dialog with the list";

    // The same on the main window's combo boxes: the list closes, the row chosen before stays.
    auto* category = Main->bsSkinOfficeComboBox2;
    auto* size = Main->bsSkinComboBox1;
    const int categoryBefore = category->ItemIndex(), sizeBefore = size->ItemIndex();
    category->SetFocus();
    category->DropDown();
    Pump();
    ASSERT_TRUE(category->DroppedDown());
    PressKey(VK_ESCAPE, kNoMods, L"\x1b");
    Pump();
    EXPECT_FALSE(category->DroppedDown());
    EXPECT_EQ(category->OldItemIndex(), categoryBefore);
    size->SetFocus();
    size->DropDown();
    Pump();
    ASSERT_TRUE(size->IsPopupVisible());
    PressKey(VK_ESCAPE, kNoMods, L"\x1b");
    Pump();
    EXPECT_FALSE(size->IsPopupVisible());
    EXPECT_EQ(size->ItemIndex(), sizeBefore);
    EXPECT_TRUE(Main->Visible());
}

// The wheel over an open list moves the list's selection, and only the list's; a closed combo
// steps its own choice.
TEST_F(FormKeyboard, TheWheelMovesAnOpenList)
{
    auto* category = Main->bsSkinOfficeComboBox2;
    category->SetFocus();
    category->DropDown();
    Pump();
    ASSERT_TRUE(category->DroppedDown());
    const int committed = category->OldItemIndex();
    const TPoint over = ScreenCentre(category->ListBox());
    const int before = category->ItemIndex();
    for (int i = 0; i < 3; ++i) vxwin::InjectMouseWheel(WHEEL_DELTA, over.X, over.Y);
    Pump();
    EXPECT_TRUE(category->DroppedDown());
    EXPECT_NE(category->ItemIndex(), before) << "the wheel did not move the open list";
    EXPECT_EQ(category->OldItemIndex(), committed);
    PressKey(VK_ESCAPE, kNoMods, L"\x1b");
    Pump();

    auto* size = Main->bsSkinComboBox1;
    size->SetFocus();
    size->DropDown();
    Pump();
    ASSERT_TRUE(size->IsPopupVisible());
    const TPoint list = ScreenCentre(size->ListBox());
    const int chosen = size->ItemIndex(), listBefore = size->ListBox()->ItemIndex();
    vxwin::InjectMouseWheel(-WHEEL_DELTA, list.X, list.Y);
    Pump();
    EXPECT_EQ(size->ListBox()->ItemIndex(), listBefore + 1) << "the wheel did not move the open list";
    PressKey(VK_ESCAPE, kNoMods, L"\x1b");
    Pump();
    EXPECT_EQ(size->ItemIndex(), chosen) << "Esc returns to the row chosen before";
}
