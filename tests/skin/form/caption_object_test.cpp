// The caption object on the composed frame: where its text goes (seen through the skin's text
// frame image, which sits at the text's measured place: alignments, the right margin, centring
// with quick buttons, the odd-height lift, "..." cuts), the activation animation with the text
// of the state being left, OnCaptionPaint in place of the text and over a composed background,
// and the quick buttons: hover faces, press and release on one button, menus, invisible items.
#include "skin/form/caption_object.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/controls/skin_menu_links.h"
#include "skin/core/text_layout.h"
#include "skin/form/quick_buttons.h"
#include "tests/skin/form/frame_test_skins.h"
#include "tests/skin/form/skin_form_test_support.h"

namespace {

using frametest::CaptionSkin;
using skintest::FrameSkin;
using skintest::SyntheticSkin;

class RecordingMenu : public TbsSkinPopupMenuBase {
public:
    using TbsSkinPopupMenuBase::TbsSkinPopupMenuBase;
    void PopupFromRect2(TControl*, const TRect& R, bool) override { Opened.push_back(R); }
    std::vector<TRect> Opened;
};

struct CaptionTest : SkinFormFixture {
    void SkinWith(const std::function<void(SyntheticSkin&)>& Add)
    {
        Def = std::make_unique<SyntheticSkin>();
        FrameSkin f;
        f.Buttons = false;
        skintest::AddFrame(*Def, f);
        Add(*Def);
        Def->LoadInto(Model);
        SF->SetSkinData(Model);
        Pump();
    }
    TbsSkinCaptionObject* Caption(int N = 0)
    {
        for (TbsActiveSkinObject* o : SF->ObjectList)
            if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o); c && N-- == 0) return c;
        return nullptr;
    }
    // The window's pixels (0xRRGGBB) inside R, read once.
    template <class F>
    void EachPixel(const TRect& R, F Fn)
    {
        int w = 0, h = 0;
        const auto px = vxwin::WindowPixels(Form->Handle(), &w, &h);
        for (int y = std::max(R.Top, 0); y < std::min(R.Bottom, h); ++y)
            for (int x = std::max(R.Left, 0); x < std::min(R.Right, w); ++x)
                Fn(x, y, px[static_cast<size_t>(y * w + x)] & 0xFFFFFF);
    }
    // Bounding box of the pixels of one colour inside R (frame coordinates); empty when none.
    TRect Find(uint32_t Rgb, const TRect& R)
    {
        TRect b{R.Right, R.Bottom, R.Left, R.Top};
        EachPixel(R, [&](int X, int Y, uint32_t C) {
            if (C != Rgb) return;
            b = Rect(std::min(b.Left, X), std::min(b.Top, Y), std::max(b.Right, X + 1), std::max(b.Bottom, Y + 1));
        });
        return b.IsEmpty() ? TRect{} : b;
    }
    int Count(uint32_t Rgb, const TRect& R)
    {
        int n = 0;
        EachPixel(R, [&](int, int, uint32_t C) { n += C == Rgb; });
        return n;
    }
    // Hovered: the form's tracking makes the caption the object under the mouse, and the next
    // move reaches it.
    void Hover(const TPoint& P)
    {
        MoveTo(P.X, P.Y);
        vxwin::InjectMouseMove(Form->Left() + P.X + 1, Form->Top() + P.Y);
        Pump();
    }
    // The caption font's text extent.
    static TSize Extent(const String& Text, int Height)
    {
        TBitmap b(10, 10);
        b.Canvas()->Font()->SetName(L"Arial");
        b.Canvas()->Font()->SetHeight(Height);
        b.Canvas()->Font()->SetStyle(TFontStyles{fsBold});
        return TSize{GetWideTextWidth(b.Canvas(), Text), GetWideTextHeight(b.Canvas(), Text)};
    }
    // Deactivates the form (another form comes to the front) or activates it again.
    TForm* Other = nullptr;
    void SetFormActive(bool A)
    {
        if (!Other) {
            Other = new TForm(Application);
            Other->SetBounds(700, 600, 100, 100);
            Other->AfterConstruction();
        }
        if (A)
            SetActiveWindow(Form->Handle());
        else
            Other->Show();
        Pump();
    }
    TImageList* QuickImages()
    {
        auto* list = new TImageList(Form, 16, 16);
        for (TColor c : {clYellow, clAqua, clLime}) {
            TBitmap b(16, 16);
            b.Canvas()->Brush()->SetColor(c);
            b.Canvas()->FillRect(Rect(0, 0, 16, 16));
            list->Add(&b, nullptr);
        }
        return list;
    }
};

TEST_F(CaptionTest, TextSitsByAlignmentKeepsTheRightMarginCentresWithQuickButtonsAndLiftsOddHeights)
{
    struct Case {
        const char* What;
        const char* Alignment;
        int FontHeight;
        bool Quick;
    };
    const Case cases[] = {
        {"left", "taleftjustify", 14, false},
        {"right", "tarightjustify", 14, false},
        {"centred", "tacenter", 14, false},
        {"left, but quick buttons centre it", "taleftjustify", 14, true},
        {"an odd height one pixel higher", "taleftjustify", 15, false},
    };
    const TRect fr = frametest::kFrameRect, ftr = frametest::kFrameTextRect, tr = frametest::kTextRct;
    for (const Case& c : cases) {
        Make(300, 200);
        CaptionSkin cs;
        cs.Alignment = c.Alignment;
        cs.FontHeight = c.FontHeight;
        cs.TextFrame = true;
        SkinWith([&](SyntheticSkin& S) { frametest::AddCaption(S, cs); });
        if (c.Quick) {
            SF->QuickButtons()->Add();  // an item is enough, image list or not
        }
        Show();
        TbsSkinCaptionObject* cap = Caption();
        ASSERT_NE(cap, nullptr) << c.What;
        const TRect o = cap->ObjectRect;
        const TSize e = Extent(L"Form", c.FontHeight);
        const TRect frame = Find(frametest::kTextFrame, o);
        ASSERT_FALSE(frame.IsEmpty()) << c.What;
        EXPECT_EQ(frame.Width(), fr.Width() + e.cx - ftr.Width()) << c.What << ": the frame fits the text";
        // The text area: the skin's text rectangle, its right margin kept, inside the frame's.
        const int tl = o.Left + tr.Left + ftr.Left, trt = o.Right - (180 - tr.Right) + ftr.Right - fr.Width();
        const int textX = frame.Left + ftr.Left;
        const std::string a = c.Alignment;
        if (c.Quick || a == "tacenter")
            EXPECT_EQ(textX, tl + (trt - tl) / 2 - e.cx / 2) << c.What;
        else if (a == "tarightjustify")
            EXPECT_EQ(textX + e.cx, trt) << c.What;
        else
            EXPECT_EQ(textX, tl) << c.What;
        const int tt = o.Top + tr.Top + ftr.Top, th = tr.Bottom - tr.Top - ftr.Top;
        const int centred = tt + th / 2 - e.cy / 2;
        EXPECT_EQ(frame.Top + ftr.Top, c.FontHeight % 2 ? centred - 1 : centred) << c.What;
        Form->Free();
    }
}

TEST_F(CaptionTest, LongTextEndsInDotsWithinItsArea)
{
    Make(300, 200);
    CaptionSkin cs;
    cs.TextFrame = true;
    SkinWith([&](SyntheticSkin& S) { frametest::AddCaption(S, cs); });
    const String text = L"VexmoraMKV格式转换器 - 一个非常非常长的窗口标题，比标题栏宽得多";
    Form->SetCaption(text);
    Show();
    const TRect o = Caption()->ObjectRect;
    const TRect frame = Find(frametest::kTextFrame, o);
    ASSERT_FALSE(frame.IsEmpty());
    EXPECT_LE(frame.Right, o.Right - (180 - frametest::kTextRct.Right)) << "the right margin holds";
    String fitted = text;
    TBitmap b(10, 10);
    b.Canvas()->Font()->SetName(L"Arial");
    b.Canvas()->Font()->SetHeight(14);
    b.Canvas()->Font()->SetStyle(TFontStyles{fsBold});
    const int avail = o.Width() - (180 - frametest::kTextRct.Right) + frametest::kFrameTextRect.Right -
                      frametest::kFrameRect.Width() - frametest::kTextRct.Left - frametest::kFrameTextRect.Left;
    FitWideTextToWidth(b.Canvas(), fitted, avail);
    ASSERT_NE(fitted, text);
    EXPECT_EQ(fitted.substr(fitted.size() - 3), L"...");
    EXPECT_EQ(frame.Width(),
              frametest::kFrameRect.Width() + GetWideTextWidth(b.Canvas(), fitted) - frametest::kFrameTextRect.Width());
}

TEST_F(CaptionTest, ActivationAnimatesFramesThenTheActivePictureWithTheLeftStatesText)
{
    Make(300, 200);
    CaptionSkin cs;
    cs.Animation = true;
    cs.InActiveAnimation = true;
    SkinWith([&](SyntheticSkin& S) {
        frametest::AddCaption(S, cs);
        CaptionSkin second;
        second.Name = "caption2";
        second.SkinRect = Rect(30, 86, 60, 98);  // on the bottom edge, out of the first one's way
        second.Animation = true;
        frametest::AddCaption(S, second);
    });
    Show();
    TbsSkinCaptionObject* cap = Caption();
    const TRect o = cap->ObjectRect;
    const TPoint bg = Point(o.Left + o.Width() / 2, o.Top + 1);
    auto step = [&] {
        SF->AnimateTimerProc(nullptr);
        return Px(bg.X, bg.Y);
    };
    while (cap->CurrentFrame >= 1 && cap->CurrentFrame <= 5) step();  // the first activation's run
    EXPECT_EQ(Px(bg.X, bg.Y), frametest::kActiveCaption);

    SetFormActive(false);
    ASSERT_EQ(cap->CurrentFrame, 5);
    std::vector<uint32_t> seen{Px(bg.X, bg.Y)};
    for (int i = 0; i < 5; ++i) seen.push_back(step());
    const uint32_t normal = skintest::RgbOf(static_cast<TColor>(0x606060));
    EXPECT_EQ(seen, (std::vector<uint32_t>{frametest::kCaptionFrames[4], frametest::kCaptionFrames[3],
                                           frametest::kCaptionFrames[2], frametest::kCaptionFrames[1],
                                           frametest::kCaptionFrames[0], normal}))
        << "with InActiveAnimation the frames run back to the normal picture";

    SetFormActive(true);
    ASSERT_EQ(cap->CurrentFrame, 1);
    seen = {Px(bg.X, bg.Y)};
    std::vector<int> activeText, inactiveText;
    for (int i = 0; i < 5; ++i) {
        activeText.push_back(Count(frametest::kActiveText, o));
        inactiveText.push_back(Count(frametest::kInactiveText, o));
        seen.push_back(step());
    }
    EXPECT_EQ(seen, (std::vector<uint32_t>{frametest::kCaptionFrames[0], frametest::kCaptionFrames[1],
                                           frametest::kCaptionFrames[2], frametest::kCaptionFrames[3],
                                           frametest::kCaptionFrames[4], frametest::kActiveCaption}))
        << "frames 1 to 5, then the active picture";
    for (int i = 0; i < 5; ++i) {
        EXPECT_GT(inactiveText[static_cast<size_t>(i)], 0) << "frame " << i + 1 << ": the inactive text";
        EXPECT_EQ(activeText[static_cast<size_t>(i)], 0) << "frame " << i + 1;
    }
    EXPECT_GT(Count(frametest::kActiveText, o), 0) << "after the animation the active text";
    EXPECT_EQ(Caption(1)->CurrentFrame, 0) << "only the first caption animates";
}

TEST_F(CaptionTest, WithoutInActiveAnimationTheNormalPictureReturnsAtOnce)
{
    Make(300, 200);
    CaptionSkin cs;
    cs.Animation = true;
    SkinWith([&](SyntheticSkin& S) { frametest::AddCaption(S, cs); });
    Show();
    SetFormActive(false);
    const TRect o = Caption()->ObjectRect;
    EXPECT_EQ(Caption()->CurrentFrame, 0);
    EXPECT_EQ(Px(o.Left + o.Width() / 2, o.Top + 1), skintest::RgbOf(static_cast<TColor>(0x606060)));
}

TEST_F(CaptionTest, CaptionPaintTakesThePlaceOfTheTextAndShowsOverAComposedBackground)
{
    Make(300, 200);
    SkinWith([](SyntheticSkin& S) { frametest::AddCaption(S); });
    std::vector<bool> actives;
    SF->OnCaptionPaint = [&](TCanvas* C, TRect R, bool A) {
        actives.push_back(A);
        C->Brush()->SetColor(static_cast<TColor>(0x00AA55));
        C->FillRect(Rect(R.Left + 40, R.Top + 4, R.Left + 60, R.Top + 10));
    };
    Show();
    const TRect o = Caption()->ObjectRect;
    ASSERT_FALSE(actives.empty());
    EXPECT_TRUE(actives.back());
    EXPECT_EQ(Px(o.Left + o.Width() / 2, o.Top + 1), frametest::kActiveCaption) << "a composed active background";
    EXPECT_EQ(Px(o.Left + 45, o.Top + 6), 0x55AA00u) << "the application's painting on top of it";
    EXPECT_EQ(Count(frametest::kActiveText, o), 0) << "and no text";
}

TEST_F(CaptionTest, QuickButtonsHoverPressAndClickOnOneButtonOnly)
{
    Make(300, 200);
    SkinWith([](SyntheticSkin& S) {
        frametest::AddCaption(S);
        frametest::AddQuickButtonFaces(S);
    });
    SF->SetQuickImageList(QuickImages());
    std::vector<std::string> clicks;
    for (int i = 0; i < 3; ++i) {
        TbsQuickButtonItem* item = SF->QuickButtons()->Add();
        item->SetImageIndex(i);
        item->OnClick = [&clicks, i, this](TObject* Sender) {
            clicks.push_back(std::string(1, static_cast<char>('A' + i)) +
                             (Sender == Caption() ? " by the caption" : ""));
        };
    }
    SF->QuickButtons()->Items(1)->SetVisible(false);
    Show();
    TbsQuickButtonItem* a = SF->QuickButtons()->Items(0);
    TbsQuickButtonItem* c = SF->QuickButtons()->Items(2);
    EXPECT_EQ(c->ItemRect.Left, a->ItemRect.Right + 4) << "an invisible item leaves no gap";
    EXPECT_EQ(a->ItemRect.Width(), 20);

    auto at = [this](TbsQuickButtonItem* I) { return Point(I->ItemRect.Left + 10, I->ItemRect.Top + 10); };
    const TPoint pa = at(a), pc = at(c);
    EXPECT_EQ(Px(pa.X, pa.Y), 0xFFFF00u) << "its image";
    EXPECT_NE(Px(a->ItemRect.Left, a->ItemRect.Top), skintest::kExtra1);
    Hover(pa);
    EXPECT_TRUE(a->Active);
    EXPECT_EQ(Px(a->ItemRect.Left, a->ItemRect.Top), skintest::kExtra1) << "the hover face";
    vxwin::InjectMouseButton(0, true, Form->Left() + pa.X, Form->Top() + pa.Y);
    Pump();
    EXPECT_TRUE(a->Down);
    EXPECT_EQ(Px(a->ItemRect.Left, a->ItemRect.Top), skintest::kExtra2) << "the pressed face";
    // Released over another button: nothing clicked, the first one released.
    vxwin::InjectMouseMove(Form->Left() + pc.X, Form->Top() + pc.Y);
    Pump();
    vxwin::InjectMouseButton(0, false, Form->Left() + pc.X, Form->Top() + pc.Y);
    Pump();
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(a->Down);
    EXPECT_TRUE(c->Active);

    vxwin::InjectMouseButton(0, true, Form->Left() + pc.X, Form->Top() + pc.Y);
    vxwin::InjectMouseButton(0, false, Form->Left() + pc.X, Form->Top() + pc.Y);
    Pump();
    EXPECT_EQ(clicks, (std::vector<std::string>{"C by the caption"}));
    EXPECT_EQ(SF->WindowState(), wsNormal) << "no caption double-click, no move";
}

TEST_F(CaptionTest, QuickButtonMenuOpensOnThePressBelowTheButtonOnce)
{
    Make(300, 200);
    SkinWith([](SyntheticSkin& S) { frametest::AddCaption(S); });
    SF->SetQuickImageList(QuickImages());
    TbsQuickButtonItem* item = SF->QuickButtons()->Add();
    item->SetImageIndex(0);
    auto* menu = new RecordingMenu(Form);
    item->SetPopupMenu(menu);
    Show();
    const TPoint p = Point(item->ItemRect.Left + 10, item->ItemRect.Top + 10);
    Hover(p);
    vxwin::InjectMouseButton(0, true, Form->Left() + p.X, Form->Top() + p.Y);
    Pump();
    ASSERT_EQ(menu->Opened.size(), 1u) << "on the press, not the release";
    EXPECT_EQ(menu->Opened[0], Rect(Form->Left() + item->ItemRect.Left, Form->Top() + item->ItemRect.Top,
                                    Form->Left() + item->ItemRect.Right, Form->Top() + item->ItemRect.Bottom));
    vxwin::InjectMouseButton(0, false, Form->Left() + p.X, Form->Top() + p.Y);
    vxwin::InjectMouseButton(0, true, Form->Left() + p.X, Form->Top() + p.Y);
    Pump();
    EXPECT_EQ(menu->Opened.size(), 1u) << "an open menu is not opened again";
    EXPECT_TRUE(item->Down);
    SF->SkinMenuClose();
    EXPECT_FALSE(item->Down);
    EXPECT_EQ(Caption()->PopupMenuQuickButton, -1);
}

}  // namespace
