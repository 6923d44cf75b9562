// An MDI main form with a skin form, its client area 800 x 600 without a skin, and shown
// skinned children made by name; the application's main form for the test's length.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/win_api.h"
#include "skin/core/skin_data.h"
#include "skin/form/skin_form.h"
#include "tests/skin/support/synthetic_skin.h"
#include "tests/support/application_fixture.h"

struct MdiFixture : ApplicationFixture {
    static constexpr int W = 800, H = 600;
    TForm* Main = nullptr;
    TbsSkinForm* MSF = nullptr;
    TbsSkinData* Model = nullptr;
    std::unique_ptr<skintest::SyntheticSkin> Def;

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }

    // The main form, its client area W x H without a skin, shown.
    void SetUp() override
    {
        Main = new TForm(Application);
        Main->SetFormStyle(fsMDIForm);
        Main->SetCaption(L"main");
        Main->SetBounds(0, 0, W + 100, H + 100);
        Main->AfterConstruction();
        Application->SetMainForm(Main);
        Model = new TbsSkinData(Main);
        MSF = new TbsSkinForm(Main);
        Main->Show();
        Pump();
        Main->SetClientWidth(W);
        Main->SetClientHeight(H);
        Pump();
    }
    void TearDown() override
    {
        Application->SetMainForm(nullptr);
        ApplicationFixture::TearDown();
    }

    // A shown skinned child; Max: its skin form allows maximizing.
    TForm* Child(const String& Name, int X = 10, int Y = 10, int CW = 200, int CH = 150, bool Max = true)
    {
        auto* f = new TForm(Application);
        f->SetFormStyle(fsMDIChild);
        f->SetName(Name);
        f->SetCaption(Name);
        f->SetBounds(X, Y, CW, CH);
        f->AfterConstruction();
        auto* s = new TbsSkinForm(f);
        if (!Max) s->SetBorderIcons(TbsBorderIcons{TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize});
        f->Show();
        Pump();
        return f;
    }
    static TbsSkinForm* S(TCustomForm* F) { return SkinFormOfForm(F); }
    static TRect BoundsOf(TCustomForm* F) { return Bounds(F->Left(), F->Top(), F->Width(), F->Height()); }
    TRect ClientSize() const
    {
        RECT r{};
        GetClientRect(Main->ClientHandle(), &r);
        return Rect(0, 0, r.right, r.bottom);
    }
};
