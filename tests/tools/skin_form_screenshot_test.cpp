// The program's own skin on a real skinned window: a form with a TbsSkinForm and the skinned
// controls the main window uses, all on the skin loaded from the container linked into the
// program. The window's composed pixels go to a PNG for people to look at (written, not
// compared); the test checks that every control found its record and that the frame and the
// controls show the skin's pictures, not the built-in look or unpainted pixels.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "default_skin_test_support.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/codecs/png_codec.h"
#include "platform/win/headless_api.h"
#include "platform/win/win_api.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/controls/skin_slider.h"
#include "skin/controls/skin_status_bar.h"
#include "skin/controls/skin_std_label.h"
#include "skin/core/button_records.h"
#include "skin/form/skin_form.h"
#include "tests/support/application_fixture.h"
#include "tests/support/file_bytes.h"

namespace {

constexpr int kW = 640, kH = 400;
constexpr uint32_t kDesktop = 0x606C7C;  // 0xRRGGBB of a slate desktop behind the window
// The form's own colour: a pixel of the client that shows it was painted by nobody but the form.
constexpr TColor kFormColor = static_cast<TColor>(0x00FF00);

struct DefaultSkinForm : ApplicationFixture {
    TForm* Form = nullptr;
    TbsSkinForm* SF = nullptr;
    TbsSkinData* Model = nullptr;

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }

    // The form at (20, 20), its skin form and a model holding the skin as the main window's skin
    // list item gives it.
    void Make()
    {
        Form = new TForm(Application);
        Form->SetBorderStyle(bsSizeable);
        Form->SetCaption(L"VexmoraMKV格式转换器");
        Form->SetColor(kFormColor);
        Form->SetBounds(20, 20, kW, kH);
        Form->AfterConstruction();
        Model = new TbsSkinData(Form);
        SF = new TbsSkinForm(Form);
        TbsCompressedSkinList list(nullptr);
        TbsSkinListItem* item = list.Skins()->Add();
        FillDefaultSkinItem(*item);
        Model->LoadCompressedStoredSkin(item->Skin());
        SF->SetSkinData(Model);
    }
    template <class T>
    T* Add(int X, int Y, int W, int H, const String& Caption = L"")
    {
        auto* c = new T(Form);
        c->SetParent(Form);
        c->SetBounds(X, Y, W, H);
        if (!Caption.empty()) c->SetCaption(Caption);
        return c;
    }

    // A window pixel (frame coordinates) as 0xRRGGBB.
    static uint32_t At(const std::vector<uint32_t>& Px, int W, int X, int Y)
    {
        return Px[static_cast<size_t>(Y * W + X)] & 0xFFFFFF;
    }
    // A picture pixel as 0xRRGGBB.
    static uint32_t At(TBitmap* B, int X, int Y) { return B->PixelArgb(X, Y) & 0xFFFFFF; }
};

TEST_F(DefaultSkinForm, RealControlsWearTheSkinForPeopleToLookAt)
{
    Make();
    TbsSkinData* s = Model;
    ASSERT_FALSE(s->Empty);

    // ---- the controls, on the form's client area (about 632 x 364) ----
    TbsSkinButton* buttons[4];
    const wchar_t* captions[] = {L"添加文件", L"开始转换", L"停止", L"设置..."};
    for (int i = 0; i < 4; ++i) buttons[i] = Add<TbsSkinButton>(10 + 104 * i, 10, 96, 28, captions[i]);
    buttons[2]->SetEnabled(false);

    auto* check = Add<TbsSkinCheckRadioBox>(10, 50, 120, 20, L"完成后关机");
    check->SetChecked(true);
    auto* radio1 = Add<TbsSkinCheckRadioBox>(140, 50, 110, 20, L"MP4 视频");
    auto* radio2 = Add<TbsSkinCheckRadioBox>(260, 50, 110, 20, L"MKV 视频");
    for (auto* r : {radio1, radio2}) {
        r->SetSkinDataName(L"radiobox");
        r->SetRadio(true);
        r->SetGroupIndex(1);
    }
    radio1->SetChecked(true);

    auto* label = Add<TbsSkinStdLabel>(10, 86, 90, 20, L"视频分辨率：");
    auto* combo = Add<TbsSkinComboBox>(100, 82, 150, 20);
    for (const wchar_t* t : {L"640*480", L"1280*720", L"1920*1080"}) combo->Items()->Add(t);
    combo->SetItemIndex(0);
    auto* edit = Add<TbsSkinEdit>(270, 82, 240, 20);
    edit->SetText(L"/home/用户/视频/输出");

    // The job list as the main window has it: report view, a header from "resizetoolbutton",
    // external bars to the right and below; the one below runs under the other, whose corner
    // square it shows.
    auto* list = new TbsSkinListView(Form);
    list->SetBounds(10, 118, 420, 160);
    list->SetViewStyle(vsReport);
    list->SetGridLines(true);
    list->SetRowSelect(true);
    list->SetReadOnly(true);
    list->SetHeaderSkinDataName(L"resizetoolbutton");
    const std::pair<const wchar_t*, int> columns[] = {
        {L"文件名", 150}, {L"格式", 70}, {L"时长", 80}, {L"大小", 80}, {L"状态", 90}};
    for (auto [caption, width] : columns) {
        TListColumn* c = list->Columns()->Add();
        c->SetCaption(caption);
        c->SetWidth(width);
    }
    list->SetParent(Form);
    auto* hbar = Add<TbsSkinScrollBar>(10, 278, 434, 14);
    auto* vbar = new TbsSkinScrollBar(Form);
    vbar->SetKind(sbVertical);
    vbar->SetSkinDataName(L"vscrollbar");
    vbar->SetBounds(430, 118, 14, 160);
    vbar->SetParent(Form);
    list->SetHScrollBar(hbar);
    list->SetVScrollBar(vbar);
    for (int i = 0; i < 14; ++i) {
        TListItem* it = list->Items()->Add();
        it->SetCaption(L"视频片段_" + IntToStr(i + 1) + L".mkv");
        for (const wchar_t* t : {L"MKV", L"00:12:31", L"1.2 GB", i == 0 ? L"正在转换" : L"等待"})
            it->SubItems()->Add(t);
    }

    auto* slider = Add<TbsSkinSlider>(466, 130, 150, 40);
    slider->SetMinMax(0, 100);
    slider->SetValue(30);

    auto* status = new TbsSkinStatusBar(Form);
    status->SetParent(Form);
    status->SetSizeGrip(true);
    auto* ready = new TbsSkinStdLabel(Form);
    ready->SetParent(status);
    ready->SetBounds(8, 3, 200, 16);
    ready->SetCaption(L"就绪：14 个任务");

    for (TbsSkinControl* c : std::initializer_list<TbsSkinControl*>{
             buttons[0], buttons[1], buttons[2], buttons[3], check, radio1, radio2, combo, hbar, vbar, slider, status})
        c->SetSkinData(s);
    edit->SetSkinData(s);
    for (TbsSkinStdLabel* l : {label, ready}) l->SetSkinData(s);
    list->SetSkinData(s);
    Form->Show();
    Pump();

    // ---- every control found its record ----
    struct Found {
        const char* Who;
        String Name;
        int Index;
    } found[] = {
        {"button", buttons[0]->SkinDataName(), buttons[0]->SkinIndex()},
        {"check box", check->SkinDataName(), check->SkinIndex()},
        {"radio box", radio1->SkinDataName(), radio1->SkinIndex()},
        {"label", label->SkinDataName(), label->SkinIndex()},
        {"combo box", combo->SkinDataName(), combo->SkinIndex()},
        {"edit", edit->SkinDataName(), edit->SkinIndex()},
        {"list view", list->SkinDataName(), list->SkinIndex()},
        {"list header", L"resizetoolbutton", list->HeaderSkinIndex()},
        {"horizontal bar", hbar->SkinDataName(), hbar->SkinIndex()},
        {"vertical bar", vbar->SkinDataName(), vbar->SkinIndex()},
        {"slider", slider->SkinDataName(), slider->SkinIndex()},
        {"status bar", status->SkinDataName(), status->SkinIndex()},
    };
    for (const Found& f : found) {
        EXPECT_GE(f.Index, 0) << f.Who << " " << StringToUtf8(f.Name);
        EXPECT_EQ(f.Index, s->GetControlIndex(f.Name)) << f.Who;
    }
    EXPECT_TRUE(SF->FSkinSupport);
    EXPECT_GE(SF->ObjectList.size(), 4u) << "caption and three caption buttons";
    EXPECT_TRUE(hbar->Visible()) << "the columns are wider than the list";
    EXPECT_TRUE(vbar->Visible()) << "more rows than the list shows";
    // Beside the vertical bar the horizontal one takes the record with the corner square and keeps
    // its length; the bars keep the skin's thickness.
    EXPECT_TRUE(hbar->Both());
    EXPECT_EQ(hbar->SkinDataName(), L"bothhscrollbar");
    EXPECT_EQ(hbar->BoundsRect(), Rect(10, 278, 444, 292));
    EXPECT_EQ(vbar->BoundsRect(), Rect(430, 118, 444, 278));

    // ---- the window's pixels ----
    int w = 0, h = 0;
    const std::vector<uint32_t> px = vxwin::WindowPixels(Form->Handle(), &w, &h);
    ASSERT_EQ(w, kW);
    ASSERT_EQ(h, kH);

    // The caption row between the caption text and the buttons is the form picture's top strip
    // (rows above the client), stretched across: each row one colour of the picture's row.
    const TRect cl = s->ClRect;
    const int mid = (s->LTPoint.X + s->RTPoint.X) / 2;
    for (int y = 0; y < cl.Top; ++y)
        EXPECT_EQ(At(px, w, kW / 2 + 40, y), At(s->FPicture, mid, y)) << "caption row " << y;

    // A button's face: the middle of its top edge is the normal look's pixel there.
    {
        auto* r = dynamic_cast<TbsDataSkinButtonControl*>(s->CtrlList.at(buttons[0]->SkinIndex()));
        ASSERT_NE(r, nullptr);
        TBitmap* pic = s->FActivePictures.at(r->PictureIndex);
        const TPoint at = Form->ClientToScreen(Point(buttons[0]->Left(), buttons[0]->Top()));
        const int bx = at.X - Form->Left(), by = at.Y - Form->Top();
        for (int y = 0; y < r->ClRect.Top; ++y)
            EXPECT_EQ(At(px, w, bx + 2 * 96 / 3, by + y),
                      At(pic, r->SkinRect.Left + r->SkinRect.Width() / 2, r->SkinRect.Top + y))
                << "button row " << y;
    }

    // No pixel inside the window's region is left unpainted (the surface's zero) or shows the
    // form's own colour, which only the built-in look would leave in the client.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    const bool shaped = GetWindowRgn(Form->Handle(), rgn) != ERROR;
    int unpainted = 0, formColour = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (shaped && !PtInRegion(rgn, x, y)) continue;
            const uint32_t p = px[static_cast<size_t>(y * w + x)];
            unpainted += p == 0;
            formColour += (p & 0xFFFFFF) == 0x00FF00;
        }
    EXPECT_TRUE(shaped) << "the skin's mask rounds the window's corners";
    EXPECT_EQ(unpainted, 0);
    EXPECT_EQ(formColour, 0);

    // ---- the picture: the window on a desktop, cut by its region ----
    TBitmap desk;
    desk.SetPixelFormat(pf24bit);
    desk.SetSize(kW + 40, kH + 40);
    for (int y = 0; y < kH + 40; ++y)
        for (int x = 0; x < kW + 40; ++x) {
            const int fx = x - 20, fy = y - 20;
            const bool inside = fx >= 0 && fy >= 0 && fx < w && fy < h && (!shaped || PtInRegion(rgn, fx, fy));
            desk.SetPixelArgb(x, y, 0xFF000000 | (inside ? px[static_cast<size_t>(fy * w + fx)] : kDesktop));
        }
    DeleteObject(rgn);
    std::filesystem::create_directories(VX_SCREENSHOT_DIR);
    const std::string path = std::string(VX_SCREENSHOT_DIR) + "/default_skin_form.png";
    const std::vector<uint8_t> png = SavePng(desk.ToRasterImage());
    WriteBytes(path, std::string(png.begin(), png.end()));
    EXPECT_FALSE(ReadBytes(path).empty());
    std::printf("screenshot: %s\n", path.c_str());

    // The arrows at the far ends of the long bars step them: they moved with the bars' size.
    for (TbsSkinScrollBar* bar : {vbar, hbar}) {
        const bool vertical = bar == vbar;
        const int before = bar->Position();
        const int end = vertical ? bar->Height() : bar->Width() - 14;  // the corner square
        const TPoint p =
            bar->ClientToScreen(vertical ? Point(bar->Width() / 2, end - 4) : Point(end - 4, bar->Height() / 2));
        vxwin::InjectMouseMove(p.X, p.Y);
        vxwin::InjectMouseButton(0, true, p.X, p.Y);
        Pump();
        vxwin::InjectMouseButton(0, false, p.X, p.Y);
        Pump();
        EXPECT_GT(bar->Position(), before) << (vertical ? "vertical" : "horizontal");
    }
}

}  // namespace
