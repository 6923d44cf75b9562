// Scripted steps inside a modal loop, for dialogs a call builds and shows itself: the steps wait
// for a modal form to show (a visible form in Screen's forms whose state holds fsModal), then run
// one at a time from the application's idle step, each once the input the step before injected
// has been handled. Each step gets the modal form; it injects keys, text and clicks, or reads
// the form. A modal form still up well after the last step fails the test and is closed with
// mrCancel, so a script that closes nothing cannot hang the run. The script holds OnIdle while
// it lives and restores it after.
//
//   ModalScript script({[](TCustomForm* f) { PressKey(VK_RETURN); }});
//   EXPECT_EQ(box->MessageDlg(...), mrOk);
//   EXPECT_TRUE(script.Done());
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "platform/base/main_thread.h"
#include "platform/framework/controls/control.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/screen.h"
#include "tests/support/user_input.h"

class ModalScript {
public:
    using Step = std::function<void(TCustomForm* Form)>;

    explicit ModalScript(std::vector<Step> Steps) : FSteps(std::move(Steps)), FSaved(Application->OnIdle)
    {
        Application->OnIdle = [this](TObject*) { Tick(); };
    }
    ~ModalScript() { Application->OnIdle = FSaved; }
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    // Every step has run.
    bool Done() const { return FNext >= FSteps.size(); }

    // The visible modal form on top, if any.
    static TCustomForm* ModalForm()
    {
        for (int i = 0; i < Screen->FormCount(); ++i) {
            TCustomForm* f = Screen->Forms(i);
            if (f->Visible() && f->FormState().Contains(fsModal)) return f;
        }
        return nullptr;
    }

private:
    void Tick()
    {
        TCustomForm* f = ModalForm();
        if (Done()) {
            if (!f || FGaveUp) return;
            if (++FIdleAfterLast > kIdleAfterLast) {
                ADD_FAILURE() << "the modal form is still up after the script's last step";
                FGaveUp = true;
                f->SetModalResult(mrCancel);
            }
        } else if (f) {
            FSteps[FNext++](f);
        }
        // A queued call keeps the loop from waiting: the next idle step comes after the input
        // just injected (or at once while the form is not up yet).
        QueueInMainThread([] {});
    }

    // Idle passes (each with nothing left to handle) the form may outlive the last step.
    static constexpr int kIdleAfterLast = 200;

    std::vector<Step> FSteps;
    size_t FNext = 0;
    int FIdleAfterLast = 0;
    bool FGaveUp = false;
    TNotifyEvent FSaved;
};

// The centre of a control on the screen.
inline TPoint ScreenCentre(TControl* C) { return C->ClientToScreen(Point(C->Width() / 2, C->Height() / 2)); }

// A left click, or two for a double click, in the middle of the control.
inline void ClickControl(TControl* C)
{
    const TPoint p = ScreenCentre(C);
    Click(p.X, p.Y);
}
inline void DoubleClickControl(TControl* C)
{
    const TPoint p = ScreenCentre(C);
    Click(p.X, p.Y);
    Click(p.X, p.Y);
}
