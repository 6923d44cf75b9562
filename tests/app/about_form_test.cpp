// The about box shown headless in the program's own skin: its texts, the program's picture, the links
// handed to the shell and "确定" closing it.
#include "app/about_form.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/maker_links.h"
#include "platform/framework/controls/image.h"
#include "platform/framework/forms/screen.h"
#include "platform/win/headless_api.h"
#include "platform/win/shell_api.h"
#include "platform/win/user_api.h"
#include "skin/boxes/link_label.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_std_label.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "skin/default/default_skin.h"
#include "skin/form/skin_form.h"
#include "tests/support/application_fixture.h"
#include "tests/support/modal_script.h"

namespace {

struct AboutForm : ApplicationFixture {
    void TearDown() override
    {
        vxwin::SetShellExecuteHook(nullptr);
        ApplicationFixture::TearDown();
    }
};

// 0xRRGGBB of a screen point inside a top-level form, as the form shows it.
uint32_t ShownPixel(TForm* F, TPoint P)
{
    RECT r{};
    GetWindowRect(F->Handle(), &r);
    int w = 0, h = 0;
    const std::vector<uint32_t> px = vxwin::WindowPixels(F->Handle(), &w, &h);
    const int x = P.X - r.left, y = P.Y - r.top;
    if (x < 0 || y < 0 || x >= w || y >= h) return 0xDEADBEEF;
    return px[static_cast<size_t>(y * w + x)] & 0xFFFFFF;
}

TEST_F(AboutForm, ShowsTheProductItsVersionAndTheMakersLinks)
{
    auto* model = new TbsSkinData(Application);
    TbsSkinListItem own(nullptr);
    FillDefaultSkinItem(own);
    model->LoadCompressedStoredSkin(own.Skin());

    auto* f = new TForm2(Application);
    f->SetSkinData(model);
    EXPECT_EQ(f->Caption(), L"关于");
    EXPECT_EQ(f->ClientWidth(), 368);
    EXPECT_EQ(f->ClientHeight(), 238);
    EXPECT_EQ(f->bsSkinStdLabel1->Caption(), L"VexmoraMKV格式转换器");
    EXPECT_EQ(f->bsSkinStdLabel2->Caption(), L"Ver:1.00.218");
    EXPECT_EQ(f->bsSkinStdLabel3->Caption(), L"了解更多请访问：");
    EXPECT_EQ(f->bsSkinStdLabel4->Caption(), L"联系邮箱：");
    EXPECT_EQ(f->bsSkinStdLabel5->Caption(), kMakerName);
    EXPECT_EQ(f->bsSkinButton1->Caption(), L"确定");

    std::vector<std::wstring> opened;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        opened.push_back(c.file);
        return LONG_PTR(42);
    });
    ModalScript script({[&](TCustomForm*) {
                            // The program's 80-pixel picture: its dark tile at the edge, the
                            // film's frame inside, and the skin through its rounded corner.
                            EXPECT_EQ(f->Image1->Width(), 80);
                            EXPECT_EQ(f->Image1->Height(), 80);
                            EXPECT_EQ(ShownPixel(f, f->Image1->ClientToScreen(Point(6, 40))), 0x1E3A5Fu);
                            EXPECT_EQ(ShownPixel(f, f->Image1->ClientToScreen(Point(20, 30))), 0xE05A2Bu);
                            EXPECT_NE(ShownPixel(f, f->Image1->ClientToScreen(Point(0, 0))), 0x1E3A5Fu);
                            // Each label is on the form and has a size of its own.
                            for (TControl* c : {static_cast<TControl*>(f->bsSkinStdLabel1),
                                                static_cast<TControl*>(f->bsSkinLinkLabel1),
                                                static_cast<TControl*>(f->bsSkinLinkLabel2)}) {
                                EXPECT_GT(c->Width(), 0);
                                EXPECT_LE(c->Left() + c->Width(), f->ClientWidth());
                            }
                            ClickControl(f->bsSkinLinkLabel1);
                        },
                        [&](TCustomForm*) { ClickControl(f->bsSkinLinkLabel2); },
                        [&](TCustomForm*) { ClickControl(f->bsSkinButton1); }});
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(opened, (std::vector<std::wstring>{kMakerWebSite, kMakerSupportMail}));
}

// Shown over a main window off to one side, the box still opens centred on the work area,
// with its icon and edge snapping.
TEST_F(AboutForm, OpensCentredOnTheWorkAreaWithItsIcon)
{
    auto* model = new TbsSkinData(Application);
    TbsSkinListItem own(nullptr);
    FillDefaultSkinItem(own);
    model->LoadCompressedStoredSkin(own.Skin());
    auto* main = new TForm(Application);
    main->SetBounds(0, 0, 300, 200);
    main->AfterConstruction();
    main->Show();
    auto* f = new TForm2(Application);
    f->SetSkinData(model);
    EXPECT_TRUE(f->bsSkinForm1->ShowIcon());
    EXPECT_TRUE(f->bsSkinForm1->Magnetic());
    EXPECT_EQ(f->bsSkinForm1->MagneticSize(), 10);
    EXPECT_EQ(f->bsSkinForm1->AlphaBlendValue(), 0);
    ModalScript script({[&](TCustomForm*) {
        RECT r{};
        GetWindowRect(f->Handle(), &r);
        const TRect work = Screen->WorkAreaRect();
        EXPECT_NEAR(r.left - work.Left, work.Right - r.right, 1);
        EXPECT_NEAR(r.top - work.Top, work.Bottom - r.bottom, 1);
        ClickControl(f->bsSkinButton1);
    }});
    EXPECT_EQ(f->ShowModal(), mrOk);
    EXPECT_TRUE(script.Done());
}

}  // namespace
