// A fixture for the skinned form's tests: a form at (100, 80) with a TbsSkinForm on it, a skin
// model owned by the form, the form's saved window procedure recording what reaches it, the
// window's composed pixels (frame included) and screen points of the frame.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/core/skin_data.h"
#include "skin/form/frame_objects.h"
#include "skin/form/skin_form.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/support/application_fixture.h"
#include "tests/support/pixel_art.h"
#include "tests/support/user_input.h"

struct SkinFormFixture : ApplicationFixture {
    static constexpr int kLeft = 100, kTop = 80;

    TForm* Form = nullptr;
    TbsSkinForm* SF = nullptr;
    TbsSkinData* Model = nullptr;
    std::unique_ptr<skintest::SyntheticSkin> Def;
    // Messages that reached the form's saved procedure (since the last Send), as they arrived.
    std::vector<UINT> Saved;
    std::vector<TMessage> SavedFull;
    // Runs for each message before the saved procedure handles it.
    std::function<void(const TMessage&)> SavedHook;

    void TearDown() override
    {
        vxwin::SetClockAutoStep(1);
        ApplicationFixture::TearDown();
    }

    // The form (W x H, Style) and its skin form; nothing shown yet.
    void Make(int W = 300, int H = 200, TFormBorderStyle Style = bsSizeable)
    {
        Form = new TForm(Application);
        Form->SetBorderStyle(Style);
        Form->SetCaption(L"Form");
        Form->SetBounds(kLeft, kTop, W, H);
        Form->AfterConstruction();
        TForm* f = Form;
        Form->SetWindowProc([this, f](TMessage& M) {
            if (f == Form) {
                Saved.push_back(M.Msg);
                SavedFull.push_back(M);
                if (SavedHook) SavedHook(M);
            }
            static_cast<TControl*>(f)->WndProc(M);
        });
        Model = new TbsSkinData(Form);
        SF = new TbsSkinForm(Form);
    }
    void Show()
    {
        Form->Show();
        Pump();
    }
    // The synthetic frame skin applied to the form.
    void Skin(const skintest::FrameSkin& F = {})
    {
        Def = std::make_unique<skintest::SyntheticSkin>();
        skintest::AddFrame(*Def, F);
        Def->LoadInto(Model);
        SF->SetSkinData(Model);
        Pump();
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }
    static void Wait(unsigned Ms, unsigned Step = 10)
    {
        for (unsigned t = 0; t < Ms; t += Step) {
            vxwin::AdvanceClock(Step);
            Pump();
        }
    }

    // The message sent to the form; Saved holds what reached the saved procedure.
    LRESULT Send(UINT Msg, WPARAM W = 0, LPARAM L = 0)
    {
        Saved.clear();
        SavedFull.clear();
        return SendMessageW(Form->Handle(), Msg, W, L);
    }
    bool SawSaved(UINT Msg) const { return std::find(Saved.begin(), Saved.end(), Msg) != Saved.end(); }

    // Another form shown: it takes the activation from Form.
    static TForm* ActivateAnotherForm()
    {
        TForm* other = new TForm(Application);
        other->SetBounds(700, 600, 100, 100);
        other->AfterConstruction();
        other->Show();
        Pump();
        return other;
    }

    // The hit code of a point in frame coordinates.
    LRESULT Hit(int X, int Y) { return Send(WM_NCHITTEST, 0, MAKELPARAM(Form->Left() + X, Form->Top() + Y)); }
    // A screen point of the frame.
    TPoint Scr(int X, int Y) const { return Point(Form->Left() + X, Form->Top() + Y); }

    // 0xRRGGBB of a window pixel (frame coordinates) as composed.
    uint32_t Px(int X, int Y)
    {
        int w = 0, h = 0;
        auto px = vxwin::WindowPixels(Form->Handle(), &w, &h);
        if (X < 0 || Y < 0 || X >= w || Y >= h) return 0xDEADBEEF;
        return px[static_cast<size_t>(Y * w + X)] & 0xFFFFFF;
    }

    // The standard button with this command.
    TbsSkinStdButtonObject* Button(TbsStdCommand C) const
    {
        for (TbsActiveSkinObject* o : SF->ObjectList)
            if (auto* b = dynamic_cast<TbsSkinStdButtonObject*>(o); b && b->Command == C) return b;
        return nullptr;
    }
    // A point in the middle of an object, in frame coordinates.
    static TPoint Mid(const TbsActiveSkinObject* O)
    {
        return Point((O->ObjectRect.Left + O->ObjectRect.Right) / 2, (O->ObjectRect.Top + O->ObjectRect.Bottom) / 2);
    }
    // The mouse moved to a frame point, then the mouse timer given a tick.
    void MoveTo(int X, int Y)
    {
        vxwin::InjectMouseMove(Form->Left() + X, Form->Top() + Y);
        Pump();
        Wait(60);
    }
};
