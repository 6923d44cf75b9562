// The list view's header taken over and painted: taken at creation and again after a view
// switch (the destroyed one forgotten), 25 pixels wider than laid out, the pressed section only
// for a section press, the part right of the last section, the record's fallback, the section
// content (a centred image with a fitting or a shortened caption, or the program's own drawing)
// and the header painted into a given device context.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_list_view.h"
#include "skin/core/skin_messages.h"
#include "tests/skin/support/skin_control_fixture.h"

using namespace skintest;

namespace {

uint32_t Sys(TColor C) { return Rgb(ColorToRGB(C)); }

// A header button record: normal kNormal with a kExtra1 right cap, pressed kDown.
void AddHeaderSkin(SyntheticSkin& s, const std::string& Name = "resizetoolbutton")
{
    int p = s.AddPicture(40, 10);
    s.Block(p, Rect(0, 0, 20, 10), kNormal, false);
    s.Block(p, Rect(14, 0, 20, 10), kExtra1, false);
    s.Block(p, Rect(20, 0, 40, 10), kDown, false);
    s.Control(Name, "button",
              "pictureindex=0\r\nskinrect=0,0,20,10\r\nlefttoppoint=3,0\r\nrighttoppoint=14,0\r\n"
              "downskinrect=20,0,40,10\r\n");
}

struct HeaderTest : SkinControlFixture {
    TbsSkinListView* List = nullptr;

    void SetUp() override
    {
        SkinControlFixture::SetUp();
        Form->SetBounds(0, 0, 400, 300);
    }
    // Seven 40-pixel columns and one of none in a 300-pixel list.
    TbsSkinListView* Make(const String& HeaderName = L"resizetoolbutton")
    {
        List = new TbsSkinListView(Form);
        List->SetBounds(0, 0, 300, 150);
        List->SetViewStyle(vsReport);
        List->SetHeaderSkinDataName(HeaderName);
        for (int i = 0; i < 8; ++i) List->Columns()->Add()->SetWidth(i < 7 ? 40 : 0);
        List->SetParent(Form);
        return List;
    }
    HWND Header() { return List->TakenHeader(); }
    uint32_t HeaderPixel(int X, int Y)
    {
        int w = 0, h = 0;
        auto px = vxwin::WindowPixels(Header(), &w, &h);
        if (X < 0 || Y < 0 || X >= w || Y >= h) return 0xDEADBEEF;
        return px[static_cast<size_t>(Y * w + X)] & 0xFFFFFF;
    }
    int HeaderWidth()
    {
        RECT r;
        GetWindowRect(Header(), &r);
        return r.right - r.left;
    }
    void Mouse(int X, int Y, int Down)  // Down: 1 press, 0 release, -1 move only
    {
        POINT p{X, Y};
        ClientToScreen(Header(), &p);
        vxwin::InjectMouseMove(p.x, p.y);
        if (Down >= 0) vxwin::InjectMouseButton(0, Down == 1, p.x, p.y);
        Pump();
    }
};

}  // namespace

TEST_F(HeaderTest, TakenOverAtCreationAndAgainAfterAViewSwitch)
{
    Make();
    ShowForm();
    HWND first = Header();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, reinterpret_cast<HWND>(List->Perform(LVM_GETHEADER, 0, 0)));
    // 25 pixels wider than the list lays it out, at every resize.
    EXPECT_EQ(HeaderWidth(), List->ClientWidth() + 25);
    List->SetWidth(320);
    Pump();
    EXPECT_EQ(HeaderWidth(), List->ClientWidth() + 25);

    List->SetViewStyle(vsIcon);  // the list destroys its header: forgotten, not painted
    Pump();
    EXPECT_EQ(Header(), nullptr);
    List->SetViewStyle(vsReport);
    Pump();
    ASSERT_NE(Header(), nullptr);
    EXPECT_EQ(Header(), reinterpret_cast<HWND>(List->Perform(LVM_GETHEADER, 0, 0)));
    EXPECT_EQ(HeaderPixel(20, 5), Sys(clBtnFace));  // our built-in look paints it
    List->RecreateWnd();
    Pump();
    EXPECT_NE(Header(), nullptr);
    EXPECT_EQ(Header(), reinterpret_cast<HWND>(List->Perform(LVM_GETHEADER, 0, 0)));
}

TEST_F(HeaderTest, PressedSectionOnlyForASectionPressNeverADivider)
{
    SyntheticSkin skin;
    AddHeaderSkin(skin);
    skin.LoadInto(Model);
    Make();
    List->SetSkinData(Model);
    ShowForm();
    struct Step {
        const char* what;
        std::function<void()> act;
        uint32_t section0, section1;
    } steps[] = {
        {"idle", [] {}, kNormal, kNormal},
        {"section pressed", [&] { Mouse(20, 5, 1); }, kDown, kNormal},
        {"still held off the section", [&] { Mouse(60, 5, -1); }, kDown, kNormal},
        {"released", [&] { Mouse(60, 5, 0); }, kNormal, kNormal},
        {"divider pressed", [&] { Mouse(39, 5, 1); }, kNormal, kNormal},
        {"divider dragged", [&] { Mouse(49, 5, -1); }, kNormal, kNormal},
        {"divider released", [&] { Mouse(49, 5, 0); }, kNormal, kNormal},
    };
    for (auto& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(HeaderPixel(20, 5), s.section0);
        EXPECT_EQ(HeaderPixel(65, 5), s.section1);
    }
    // The drag resized the first column; its section was repainted at the new width, right cap
    // last.
    EXPECT_EQ(List->Column(0)->Width(), 50);
    EXPECT_EQ(HeaderPixel(48, 5), kExtra1);
    EXPECT_EQ(HeaderPixel(42, 5), kNormal);
}

TEST_F(HeaderTest, PartRightOfTheLastSection)
{
    // Skinned: the normal picture without its right edge (no kExtra1 cap at the end).
    SyntheticSkin skin;
    AddHeaderSkin(skin);
    skin.LoadInto(Model);
    Make();
    List->SetSkinData(Model);
    ShowForm();
    EXPECT_EQ(HeaderPixel(278, 5), kExtra1);  // the last section's right cap
    EXPECT_EQ(HeaderPixel(285, 5), kNormal);
    EXPECT_EQ(HeaderPixel(298, 5), kNormal);
    // Built-in: clBtnFace in a clBtnShadow frame.
    List->SetHeaderSkinDataName(L"none");
    List->SetSkinData(nullptr);
    InvalidateRect(Header(), nullptr, TRUE);
    Pump();
    EXPECT_EQ(HeaderPixel(285, 5), Sys(clBtnFace));
    EXPECT_EQ(HeaderPixel(280, 5), Sys(clBtnShadow));
    EXPECT_EQ(HeaderPixel(285, 0), Sys(clBtnShadow));
}

TEST_F(HeaderTest, RecordFallsBackAndOtherClassesCountAsNone)
{
    struct Case {
        const char* what;
        std::function<void(SyntheticSkin&)> skin;
        bool expectResize;  // the "resizetoolbutton" record; otherwise none
    } cases[] = {
        {"no header record: resizetoolbutton", [](SyntheticSkin& s) { AddHeaderSkin(s); }, true},
        {"header of another class",
         [](SyntheticSkin& s) {
             AddHeaderSkin(s);
             s.Control("header", "checkradio", "pictureindex=0\r\n");
         },
         false},
        {"header without a picture",
         [](SyntheticSkin& s) {
             AddHeaderSkin(s);
             s.Control("header", "button", "pictureindex=7\r\nskinrect=0,0,20,10\r\n");
         },
         false},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.what);
        SyntheticSkin skin;
        c.skin(skin);
        auto* model = new TbsSkinData(Form);
        skin.LoadInto(model);
        auto* lv = new TbsSkinListView(Form);
        lv->SetSkinData(model);
        lv->GetHeaderSkinData();
        EXPECT_EQ(lv->HeaderSkinIndex(), c.expectResize ? model->GetControlIndex(L"resizetoolbutton") : -1);
        delete lv;
    }
}

TEST_F(HeaderTest, CentredColumnWithAnImage)
{
    Make();
    auto* images = new TImageList(Form);
    images->SetSize(8, 8);
    TBitmap red(8, 8);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 8, 8));
    images->Add(&red, nullptr);
    List->SetSmallImages(images);
    TListColumn* c = List->Column(1);
    c->SetWidth(100);  // section x 40..140; inner text area 45..135
    c->SetImageIndex(0);
    c->SetAlignment(taCenter);
    c->SetCaption(L"");
    ShowForm();
    int h = 0;
    {
        RECT r;
        GetClientRect(Header(), &r);
        h = r.bottom;
    }
    const int y = h / 2 - 4 + 1;
    // A caption that fits: image and text centred as one block, 10 pixels apart.
    const int x = 40 + 5 + 90 / 2 - (8 + 10) / 2;
    EXPECT_EQ(HeaderPixel(x, y), 0xFF0000u);
    EXPECT_NE(HeaderPixel(x - 1, y), 0xFF0000u);
    // A caption that must be shortened: image and text start at the left.
    c->SetCaption(String(80, L'W'));
    Pump();
    EXPECT_EQ(HeaderPixel(45, y), 0xFF0000u);
    EXPECT_NE(HeaderPixel(44, y), 0xFF0000u);
}

TEST_F(HeaderTest, SectionsByTheEventAndPaintedIntoAGivenDC)
{
    Make();
    std::vector<std::string> drawn;
    List->OnDrawHeaderSection = [&](TCanvas* C, TListColumn* Column, bool Pressed, const TRect& R) {
        drawn.push_back(std::to_string(Column->Index()) + ":" + std::to_string(R.Width()) + (Pressed ? "p" : ""));
        C->Brush()->SetColor(Column->Index() == 1 ? clRed : clBlue);
        C->FillRect(R);
    };
    ShowForm();
    // The event paints each section's content on its own bitmap, over the built-in look.
    EXPECT_EQ(HeaderPixel(60, 5), 0xFF0000u);
    EXPECT_EQ(HeaderPixel(20, 5), 0x0000FFu);
    ASSERT_GE(drawn.size(), 7u);
    EXPECT_EQ(drawn[1], "1:40");
    Mouse(60, 5, 1);
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), "1:40p"), drawn.end());
    Mouse(60, 5, 0);

    // 45512 paints the header into the DC given; 45513 answers that the list paints itself, and
    // paints nothing.
    TBitmap b(300, 30);
    b.Canvas()->Brush()->SetColor(clLime);
    b.Canvas()->FillRect(Rect(0, 0, 300, 30));
    EXPECT_EQ(List->Perform(WM_SKIN_PAINTTODC, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 0), 12851);
    EXPECT_EQ(b.Canvas()->Pixels(60, 5), clLime);
    List->Perform(WM_SKIN_PAINTHEADERTODC, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 0);
    EXPECT_EQ(b.Canvas()->Pixels(60, 5), clRed);
    EXPECT_EQ(b.Canvas()->Pixels(20, 5), clBlue);
    // Without a header (icon view) there is nothing to paint.
    List->SetViewStyle(vsIcon);
    Pump();
    b.Canvas()->FillRect(Rect(0, 0, 300, 30));
    List->Perform(WM_SKIN_PAINTHEADERTODC, reinterpret_cast<WPARAM>(b.Canvas()->Handle()), 0);
    EXPECT_EQ(b.Canvas()->Pixels(60, 5), clLime);
}
