// The link label: its glow shift, underline, hot colours, embossed disabled text and the order of
// OnClick and the launcher.
#include <gtest/gtest.h>

#include "platform/base/utf.h"
#include "platform/win/shell_api.h"
#include "skin/boxes/link_label.h"
#include "skin/core/window_records.h"
#include "tests/skin/boxes/box_fixture.h"

using namespace skintest;

namespace {

constexpr uint32_t kText = 0xC00000;  // 0xRRGGBB
constexpr uint32_t kActive = 0x00C000;

struct LinkLabelTest : BoxFixture {
    void SetUp() override
    {
        BoxFixture::SetUp();
        Form->SetBounds(0, 0, 300, 100);
        Form->SetColor(clWhite);
    }
    TbsSkinLinkLabel* Make(const String& Caption = L"i i i i i i i i")
    {
        auto* l = new TbsSkinLinkLabel(Form);
        l->SetParent(Form);
        l->SetAutoSize(false);
        l->SetBounds(10, 10, 200, 40);
        l->SetCaption(Caption);
        return l;
    }
    void UseSkin()
    {
        SyntheticSkin s;
        s.AddPicture(4, 4);
        s.Control(
            "stdlabel", "stdlabel",
            "fontcolor=" + IniColor(kText) + "\r\nactivefontcolor=" + IniColor(kActive) + "\r\nfontheight=14\r\n");
        s.LoadInto(Model);
    }
    // Rows of the label's area: the first one holding a non-white pixel, and the longest run of
    // them in one row.
    void Measure(TbsSkinLinkLabel* L, int& Top, int& Run)
    {
        int w = 0, h = 0;
        const std::vector<uint32_t> px = Pixels(Form, w, h);
        Top = -1;
        Run = 0;
        for (int y = L->Top(); y < L->Top() + L->Height(); ++y) {
            int run = 0;
            for (int x = L->Left(); x < L->Left() + L->Width(); ++x) {
                if ((px[static_cast<size_t>(y * w + x)] & 0xFFFFFF) != 0xFFFFFF) {
                    if (Top < 0) Top = y;
                    Run = std::max(Run, ++run);
                } else {
                    run = 0;
                }
            }
        }
    }
    bool Holds(TbsSkinLinkLabel* L, uint32_t Rgb)
    {
        int w = 0, h = 0;
        const std::vector<uint32_t> px = Pixels(Form, w, h);
        for (int y = L->Top(); y < L->Top() + L->Height(); ++y)
            for (int x = L->Left(); x < L->Left() + L->Width(); ++x)
                if ((px[static_cast<size_t>(y * w + x)] & 0xFFFFFF) == Rgb) return true;
        return false;
    }
};

}  // namespace

TEST_F(LinkLabelTest, GlowLowersTheTextByGlowSizeHotOrNot)
{
    TbsSkinLinkLabel* l = Make();
    ShowForm();
    int plain = 0, glow = 0, hot = 0, run = 0;
    Measure(l, plain, run);
    l->SetGlowEffect(true);
    l->SetGlowSize(6);
    l->Invalidate();
    Pump();
    Measure(l, glow, run);
    EXPECT_EQ(glow, plain + 6);
    MoveTo(Form, l->Left() + 5, l->Top() + 20);
    ASSERT_TRUE(l->MouseIn());
    Measure(l, hot, run);
    EXPECT_LT(hot, glow) << "the glow reaches above the text";
    EXPECT_GE(hot, plain) << "but the text itself sits lower";
}

TEST_F(LinkLabelTest, UnderlineFollowsUseUnderLineAndADisabledLabelIsAlwaysUnderlined)
{
    struct Row {
        bool Enabled, UnderLine, Underlined;
    } rows[] = {{true, true, true}, {true, false, false}, {false, false, true}, {false, true, true}};
    TbsSkinLinkLabel* l = Make();
    ShowForm();
    for (const Row& r : rows) {
        l->SetEnabled(r.Enabled);
        l->SetUseUnderLine(r.UnderLine);
        l->Invalidate();
        Pump();
        int top = 0, run = 0;
        Measure(l, top, run);
        EXPECT_EQ(run > 20, r.Underlined) << "enabled " << r.Enabled << " underline " << r.UnderLine;
    }
}

TEST_F(LinkLabelTest, HotWithARecordTurnsTheActiveColourOrGlowsInIt)
{
    UseSkin();
    TbsSkinLinkLabel* l = Make(L"WWWW");
    l->SetSkinData(Model);
    ShowForm();
    EXPECT_TRUE(Holds(l, kText));
    MoveTo(Form, l->Left() + 5, l->Top() + 5);
    EXPECT_TRUE(Holds(l, kActive));
    EXPECT_FALSE(Holds(l, kText));
    l->SetGlowEffect(true);
    l->Invalidate();
    Pump();
    EXPECT_TRUE(Holds(l, kText)) << "the text keeps its colour inside the glow";
    MoveTo(Form, 290, 90);
    l->SetGlowEffect(false);
    l->SetEnabled(false);
    Pump();
    EXPECT_TRUE(Holds(l, Shown(Model->SkinColors()->cBtnShadow())));
    EXPECT_TRUE(Holds(l, Shown(Model->SkinColors()->cBtnHighLight()))) << "embossed";
}

TEST_F(LinkLabelTest, AClickFiresOnClickThenOpensTheUrl)
{
    std::vector<std::string> log;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        log.push_back("open " + StringToUtf8(c.file) + " " + StringToUtf8(c.operation));
        return LONG_PTR{42};
    });
    TbsSkinLinkLabel* l = Make(L"site");
    l->OnClick = [&](TObject*) { log.push_back("click"); };
    ShowForm();
    ClickAt(Form, l->Left() + 5, l->Top() + 5);
    l->SetURL(L"mailto:help@example.org");
    ClickAt(Form, l->Left() + 5, l->Top() + 5);
    vxwin::SetShellExecuteHook(nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"click", "click", "open mailto:help@example.org open"}));
}
