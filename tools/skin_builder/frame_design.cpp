// The window frame of the skin: the form picture (a light face, a 1-pixel outline, top corners of
// radius 6 shaped by the mask), its geometry, the caption and the caption buttons laid out in the
// button row, the menu bar item and menu item looks, and the popup menu and hint windows.
#include "skin/core/object_records.h"
#include "skin/core/window_records.h"
#include "tools/skin_builder/design_parts.h"
#include "tools/skin_builder/draw_kit.h"

using namespace palette;
using kit::Dir;

namespace {

constexpr int kCaptionBand = 32;  // the caption band, outline included
constexpr int kBorder = 4;        // left, right and bottom border: the outline and 3 face pixels
constexpr int kButtonW = 34, kButtonH = 24;
constexpr int kSysButton = 22;

// A window picture whose shape the mask gives: the outline and the face, cut where the shape
// covers half a pixel or less; edge pixels inside blend with the outline, not with the key.
void WindowShape(SkinPicture& P, double TopRadius, double BottomRadius, Rgb Outline, Rgb Fill)
{
    const int w = P.Width(), h = P.Height();
    P.Draw(Rect(0, 0, w, h), KeyedOn(Outline, 0.5), [&](cairo_t* cr) {
        kit::RoundRectPath(cr, 0, 0, w, h, TopRadius, TopRadius, BottomRadius, BottomRadius);
        kit::SetColor(cr, Outline);
        cairo_fill(cr);
        const double tr = std::max(0.0, TopRadius - 1), br = std::max(0.0, BottomRadius - 1);
        kit::RoundRectPath(cr, 1, 1, w - 2, h - 2, tr, tr, br, br);
        kit::SetColor(cr, Fill);
        cairo_fill(cr);
    });
}

void DesignForm(TbsSkinData& S, SkinPicture& Form)
{
    WindowShape(Form, 6, 0, Frame, Face);
    const int w = Form.Width(), h = Form.Height();
    S.ClRect = Rect(kBorder, kCaptionBand, w - kBorder, h - kBorder);
    S.LTPoint = Point(10, 40);
    S.RTPoint = Point(w - 10, 40);
    S.LBPoint = Point(10, h - 10);
    S.RBPoint = Point(w - 10, h - 10);
    // The border strips are even along their length: stretched, they look the same at any size.
    S.LeftStretch = S.RightStretch = S.TopStretch = S.BottomStretch = true;
    S.StretchEffect = false;  // the client piece is one colour: tiled
    S.MaskRectArea = S.ClRect;
    S.HitTestLTPoint = S.LTPoint;
    S.HitTestRTPoint = S.RTPoint;
    S.HitTestLBPoint = S.LBPoint;
    S.HitTestRBPoint = S.RBPoint;
    // No separate button row: the buttons line up from the caption rectangle's right edge (5
    // pixels in, 4 down) and the caption object then ends at the last shown button, so a press on
    // a button reaches the button and not the caption's drag.
    S.CaptionRect = Rect(8, 4, w - 5, 4 + kButtonH);
    S.ButtonsOffset = 2;
    S.BorderW = kBorder;
    S.FormMinWidth = 220;
    S.FormMinHeight = kCaptionBand + kBorder;
}

// The five looks of a caption button: normal, hot, pressed, disabled, inactive form.
struct ButtonLooks {
    TRect Normal, Hot, Down, Disabled, Inactive;
};

using GlyphFn = void (*)(cairo_t*, int, int, Rgb);

ButtonLooks CaptionButton(SkinPicture& P, GlyphFn Glyph, bool CloseButton, bool WithDisabled = true)
{
    const int cx = kButtonW / 2, cy = kButtonH / 2;
    auto look = [&](Rgb fill, bool filled, Rgb glyph) {
        return P.Add(kButtonW, kButtonH, On(Face), [=](cairo_t* cr) {
            if (filled) kit::FillBox(cr, 0, 0, kButtonW, kButtonH, 4, fill);
            Glyph(cr, cx, cy, glyph);
        });
    };
    ButtonLooks b;
    b.Normal = look(Face, false, TextSoft);
    b.Hot = CloseButton ? look(Accent, true, White) : look(Hot, true, Text);
    b.Down = CloseButton ? look(AccentDark, true, White) : look(Down, true, Text);
    if (WithDisabled) b.Disabled = look(Face, false, TextOff);
    b.Inactive = look(Face, false, GlyphInactive);
    return b;
}

TbsDataSkinStdButton* StdButton(TbsSkinData& S, const wchar_t* Name, TbsStdCommand Command, const String& Hint,
                                const ButtonLooks& L)
{
    auto* b = AddObject<TbsDataSkinStdButton>(S, Name);
    b->Command = Command;
    b->Hint = Hint;
    b->SkinRectInAPicture = true;  // laid out in the button row, its looks in the objects picture
    b->ActivePictureIndex = kObjectsPicture;
    b->SkinRect = L.Normal;
    b->ActiveSkinRect = L.Hot;
    b->DownRect = L.Down;
    b->DisableSkinRect = L.Disabled;
    b->InActiveSkinRect = L.Inactive;
    return b;
}

void RestoreLooks(TbsDataSkinStdButton* B, const ButtonLooks& L, const String& Hint)
{
    B->RestoreRect = L.Normal;
    B->RestoreActiveRect = L.Hot;
    B->RestoreDownRect = L.Down;
    B->RestoreInActiveRect = L.Inactive;
    B->RestoreHint = Hint;
}

void DesignCaption(TbsSkinData& S, SkinSheets& Sh)
{
    const int w = Sh.Form.Width();
    auto* c = AddObject<TbsDataSkinCaption>(S, L"caption");
    // Its place on the form picture: the caption band inside the outline, growing with the form.
    c->SkinRect = Rect(kBorder, 1, w - kBorder, kCaptionBand);
    c->ActivePictureIndex = kObjectsPicture;
    // The text starts after the system menu button; the object itself ends where the buttons
    // begin, whichever of them the form shows.
    c->TextRct = Rect(4, 0, c->SkinRect.Width() - 4, kCaptionBand - 1);
    c->FontName = kFontName;
    c->FontHeight = kCaptionTextHeight;
    c->FontColor = ToColor(GlyphInactive);
    c->ActiveFontColor = ToColor(Text);
    c->Alignment = taLeftJustify;
    c->QuickButtonAlphaMaskPictureIndex = -1;
}

void DesignCaptionButtons(TbsSkinData& S, SkinPicture& P)
{
    const ButtonLooks close = CaptionButton(P, kit::CloseGlyph, true);
    const ButtonLooks max = CaptionButton(P, kit::MaximizeGlyph, false);
    const ButtonLooks restore = CaptionButton(P, kit::RestoreGlyph, false, false);
    const ButtonLooks min = CaptionButton(P, kit::MinimizeGlyph, false);

    StdButton(S, L"closebutton", cmClose, L"关闭", close);
    RestoreLooks(StdButton(S, L"maxbutton", cmMaximize, L"最大化", max), restore, L"还原");
    RestoreLooks(StdButton(S, L"minbutton", cmMinimize, L"最小化", min), restore, L"还原");

    auto sys = [&](Rgb fill, bool filled, Rgb square) {
        return P.Add(kSysButton, kSysButton, On(Face), [=](cairo_t* cr) {
            if (filled) kit::FillBox(cr, 0, 0, kSysButton, kSysButton, 4, fill);
            kit::AppGlyph(cr, 3, 3, 16, square, White);
        });
    };
    ButtonLooks sysLooks;
    sysLooks.Normal = sys(Face, false, Accent);
    sysLooks.Hot = sys(Hot, true, Accent);
    sysLooks.Down = sys(Down, true, AccentDark);
    sysLooks.Disabled = sys(Face, false, TextOff);
    sysLooks.Inactive = sys(Face, false, AccentInactive);
    StdButton(S, L"sysmenubutton", cmSysMenu, L"窗口菜单", sysLooks);
    // Shown instead of the close button by dialogs without caption buttons.
    StdButton(S, L"dialogclosebutton", cmClose, L"关闭", close);
}

void DesignMenuBarItem(TbsSkinData& S, SkinPicture& P)
{
    constexpr int w = 40, h = 24;
    auto look = [&](Rgb fill, bool filled) {
        return P.Add(w, h, On(Face), [=](cairo_t* cr) {
            if (filled) kit::FillBox(cr, 0, 0, w, h, 3, fill);
        });
    };
    auto* m = AddObject<TbsDataSkinMainMenuBarItem>(S, L"mainmenubaritem");
    m->ActivePictureIndex = kObjectsPicture;
    m->SkinRect = look(Face, false);
    m->ActiveSkinRect = look(Hot, true);
    m->DownRect = look(Down, true);
    m->ItemLO = m->ItemRO = 4;
    m->StretchEffect = true;
    // The bar draws the caption from the top of TextRct: 4 pixels down centres the 15-pixel line
    // of the 12-pixel font.
    m->TextRct = Rect(8, 4, w - 8, h - 4);
    m->FontName = kFontName;
    m->FontHeight = kTextHeight;
    m->FontColor = m->ActiveFontColor = m->DownFontColor = ToColor(Text);
    m->UnEnabledFontColor = ToColor(TextOff);
}

void DesignMenuItem(TbsSkinData& S, SkinPicture& P)
{
    constexpr int w = 100, h = 24, divider = 9, glyph = 16;
    auto* m = AddObject<TbsDataSkinMenuItem>(S, L"menuitem");
    m->ActivePictureIndex = kObjectsPicture;
    m->SkinRect = P.Add(w, h, On(White), [](cairo_t*) {});
    m->ActiveSkinRect = P.Add(w, h, On(White), [](cairo_t* cr) { kit::FillBox(cr, 0, 0, w, h, 3, Hot); });
    m->DividerRect =
        P.Add(w, divider, On(White), [](cairo_t* cr) { kit::HLine(cr, 8, w - 8, divider / 2, Separator); });
    m->ItemLO = m->ItemRO = 5;
    m->DividerLO = m->DividerRO = 8;
    m->StretchEffect = m->InActiveStretchEffect = m->DividerStretchEffect = true;
    m->ImageRct = Rect(6, 4, 26, 20);
    m->TextRct = Rect(30, 0, w - 8, h);
    m->FontName = kFontName;
    m->FontHeight = kTextHeight;
    m->FontColor = m->ActiveFontColor = ToColor(Text);
    m->UnEnabledFontColor = ToColor(TextOff);
    // Marks drawn on the key colour: the item copies them with their bottom-left pixel's colour
    // transparent, over the normal item or the highlighted one.
    auto mark = [&](Rgb under, auto paint) { return P.Add(glyph, glyph, KeyedOn(under), paint); };
    const double c = glyph / 2.0;
    m->CheckImageRect = mark(White, [=](cairo_t* cr) { kit::CheckMark(cr, c, c, 10, Accent); });
    m->ActiveCheckImageRect = mark(Hot, [=](cairo_t* cr) { kit::CheckMark(cr, c, c, 10, AccentDark); });
    m->RadioImageRect = mark(White, [=](cairo_t* cr) { kit::Dot(cr, c, c, 3.5, Accent); });
    m->ActiveRadioImageRect = mark(Hot, [=](cairo_t* cr) { kit::Dot(cr, c, c, 3.5, AccentDark); });
    m->ArrowImageRect = mark(White, [=](cairo_t* cr) { kit::Chevron(cr, c, c, 4, Dir::Right, TextSoft); });
    m->ActiveArrowImageRect = mark(Hot, [=](cairo_t* cr) { kit::Chevron(cr, c, c, 4, Dir::Right, Text); });
}

// The geometry both window records share: corners of Corner pixels kept, edges and the centre
// stretched, the window's picture and mask.
template <class Record>
void WindowRecord(Record* R, const SkinPicture& P, int Corner, int PictureIndex, int MaskIndex)
{
    const int w = P.Width(), h = P.Height();
    R->WindowPictureIndex = PictureIndex;
    R->MaskPictureIndex = MaskIndex;
    R->LTPoint = Point(Corner, Corner);
    R->RTPoint = Point(w - Corner, Corner);
    R->LBPoint = Point(Corner, h - Corner);
    R->RBPoint = Point(w - Corner, h - Corner);
    R->LeftStretch = R->RightStretch = R->TopStretch = R->BottomStretch = true;
    R->StretchEffect = true;
}

// Popup menus and hints: white windows with a 1-pixel border, corners of radius 5 and 4 cut by
// their masks.
void DesignPopupAndHint(TbsSkinData& S, SkinSheets& Sh)
{
    WindowShape(Sh.Popup, 5, 5, Border, White);
    TbsDataSkinPopupWindow* p = S.PopupWindow;
    WindowRecord(p, Sh.Popup, 8, kPopupPicture, kPopupMask);
    p->ItemsRect = Rect(4, 4, Sh.Popup.Width() - 4, Sh.Popup.Height() - 4);
    p->ScrollMarkerColor = ToColor(TextSoft);
    p->ScrollMarkerActiveColor = ToColor(Accent);

    WindowShape(Sh.Hint, 4, 4, Border, White);
    TbsDataSkinHintWindow* h = S.HintWindow;
    WindowRecord(h, Sh.Hint, 6, kHintPicture, kHintMask);
    h->ClRect = Rect(6, 4, Sh.Hint.Width() - 6, Sh.Hint.Height() - 4);
    h->FontName = kFontName;
    h->FontHeight = kTextHeight;
    h->FontColor = ToColor(Text);
}

}  // namespace

void DesignFrame(TbsSkinData& Skin, SkinSheets& Sheets)
{
    DesignForm(Skin, Sheets.Form);
    DesignCaption(Skin, Sheets);
    DesignCaptionButtons(Skin, Sheets.Objects);
    DesignMenuBarItem(Skin, Sheets.Objects);
    DesignMenuItem(Skin, Sheets.Objects);
    DesignPopupAndHint(Skin, Sheets);
}
