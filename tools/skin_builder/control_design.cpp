// The skin's control looks and records. Buttons, panels, lists and boxes are nine-part looks of
// any size; edits, combo boxes, check boxes and horizontal scroll bars are three-part across
// (their height fixed by the skin); vertical scroll bars three-part down; marks, arrows and the
// up-down pairs keep their size. Every look sits on the face colour (or on white inside fields
// and lists), and its rounded corners are antialiased against that colour only.
#include "skin/core/button_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/panel_records.h"
#include "skin/core/range_records.h"
#include "skin/core/tab_grid_records.h"
#include "skin/core/view_menu_records.h"
#include "tools/skin_builder/design_parts.h"
#include "tools/skin_builder/draw_kit.h"

using namespace palette;
using kit::Dir;

namespace {

constexpr Rgb kToolHotBorder{160, 196, 242};

// ---- geometry of the records -----------------------------------------------------------------

void Picture(TbsDataSkinControl* R, const TRect& Skin)
{
    R->PictureIndex = kControlsPicture;
    R->SkinRect = Skin;
}

// Corners of Corner pixels kept, the edges and the centre stretched.
void NinePart(TbsDataSkinCustomControl* R, const TRect& Skin, int Corner, const TRect& Client)
{
    Picture(R, Skin);
    const int w = Skin.Width(), h = Skin.Height();
    R->LTPoint = Point(Corner, Corner);
    R->RTPoint = Point(w - Corner, Corner);
    R->LBPoint = Point(Corner, h - Corner);
    R->RBPoint = Point(w - Corner, h - Corner);
    R->ClRect = Client;
    R->LeftStretch = R->TopStretch = R->RightStretch = R->BottomStretch = true;
    R->StretchEffect = true;
    R->StretchType = bsstFull;
}

// A left cap and a right cap kept, the middle stretched; the height is the skin's.
void AcrossPart(TbsDataSkinCustomControl* R, const TRect& Skin, int Left, int Right, const TRect& Client)
{
    Picture(R, Skin);
    R->LTPoint = Point(Left, 0);
    R->RTPoint = Point(Skin.Width() - Right, 0);
    R->LBPoint = R->RBPoint = Point(0, 0);
    R->ClRect = Client;
    R->StretchEffect = true;
}

// A top cap and a bottom cap kept, the middle stretched; the width is the skin's.
void DownPart(TbsDataSkinCustomControl* R, const TRect& Skin, int Top, int Bottom, const TRect& Client)
{
    Picture(R, Skin);
    R->LTPoint = Point(0, Top);
    R->RTPoint = R->RBPoint = Point(0, 0);
    R->LBPoint = Point(0, Skin.Height() - Bottom);
    R->ClRect = Client;
    R->StretchEffect = true;
}

template <class T>
void Font(T* R, int Height = kTextHeight)
{
    R->FontName = kFontName;
    R->FontHeight = Height;
    R->FontColor = ToColor(Text);
}

TRect Plain(SkinPicture& P, int W, int H, Rgb Fill)
{
    return P.Add(W, H, On(Fill), [](cairo_t*) {});
}

// ---- buttons ---------------------------------------------------------------------------------

struct StateLooks {
    TRect Normal, Hot, Down, Disabled, Focused;
};

// White buttons with a cool grey border and a faint gradient; accent tints when hot and pressed.
StateLooks PushLooks(SkinPicture& P, int W, int H)
{
    StateLooks s;
    auto box = [&](Rgb border, Rgb top, Rgb bottom) {
        return P.Add(W, H, On(Face),
                     [=](cairo_t* cr) { kit::FramedGradientBox(cr, 0, 0, W, H, 3, border, top, bottom); });
    };
    s.Normal = box(Border, White, ButtonBottom);
    s.Hot = box(Accent, Hot, Hot);
    s.Down = box(AccentDark, Down, Down);
    s.Disabled = box(BorderOff, FaceOff, FaceOff);
    s.Focused = box(Accent, White, ButtonBottom);
    return s;
}

// Tool buttons: flat on the face until the mouse comes; disabled they stay flat.
StateLooks ToolLooks(SkinPicture& P, int W, int H)
{
    StateLooks s;
    s.Normal = Plain(P, W, H, Face);
    s.Hot = P.Add(W, H, On(Face), [=](cairo_t* cr) { kit::FramedBox(cr, 0, 0, W, H, 3, kToolHotBorder, Hot); });
    s.Down = P.Add(W, H, On(Face), [=](cairo_t* cr) { kit::FramedBox(cr, 0, 0, W, H, 3, Accent, Down); });
    s.Disabled = s.Normal;
    // A tool button keeps no look of its own while it has the focus: the hot look would stay on
    // after a click whose dialog has closed, as if the pointer were still over the button.
    s.Focused = s.Normal;
    return s;
}

// The state looks and the caption font of a button record.
void ButtonStates(TbsDataSkinButtonControl* B, const StateLooks& L)
{
    B->ActiveSkinRect = L.Hot;
    B->DownSkinRect = L.Down;
    B->DisabledSkinRect = L.Disabled;
    B->FocusedSkinRect = L.Focused;
    Font(B);
    B->ActiveFontColor = B->DownFontColor = ToColor(Text);
    B->DisabledFontColor = ToColor(TextOff);
    B->AnimateInterval = 25;
}

void Button(TbsSkinData& S, const wchar_t* Name, const StateLooks& L, int Corner)
{
    auto* b = AddControl<TbsDataSkinButtonControl>(S, Name);
    NinePart(b, L.Normal, Corner, Rect(Corner, Corner, L.Normal.Width() - Corner, L.Normal.Height() - Corner));
    ButtonStates(b, L);
}

void DesignButtons(TbsSkinData& S, SkinPicture& P)
{
    // 26 pixels high: the height skinned message boxes give their buttons.
    const StateLooks push = PushLooks(P, 64, 26);
    Button(S, L"button", push, 4);
    Button(S, L"resizebutton", push, 4);

    const StateLooks tool = ToolLooks(P, 27, 25);
    Button(S, L"toolbutton", tool, 4);

    // Header sections of lists and the big tool bar buttons: a light header face with a divider
    // at the right; the tool bar draws flat buttons on its own face until the mouse comes.
    constexpr int hw = 40, hh = 24;
    StateLooks header;
    header.Normal = P.Add(hw, hh, On(Face), [](cairo_t* cr) {
        kit::FillBox(cr, 0, 0, hw, hh, 0, Header);
        kit::VLine(cr, hw - 1, 4, hh - 4, HeaderLine);
    });
    header.Hot = P.Add(hw, hh, On(Face), [](cairo_t* cr) { kit::FramedBox(cr, 0, 0, hw, hh, 3, kToolHotBorder, Hot); });
    header.Down = P.Add(hw, hh, On(Face), [](cairo_t* cr) { kit::FramedBox(cr, 0, 0, hw, hh, 3, Accent, Down); });
    header.Disabled = P.Add(hw, hh, On(Face), [](cairo_t* cr) {
        kit::FillBox(cr, 0, 0, hw, hh, 0, FaceOff);
        kit::VLine(cr, hw - 1, 4, hh - 4, BorderOff);
    });
    header.Focused = header.Hot;
    Button(S, L"resizetoolbutton", header, 4);

    // A tool button with a drop-down marker; across-only, so its track section keeps to the
    // right end at any width.
    constexpr int mw = 44, mh = 25;
    const StateLooks menu = ToolLooks(P, mw, mh);
    auto* m = AddControl<TbsDataSkinMenuButtonControl>(S, L"toolmenubutton");
    AcrossPart(m, menu.Normal, 4, 4, Rect(4, 3, mw - 4, mh - 3));
    ButtonStates(m, menu);
    m->TrackButtonRect = Rect(mw - 14, 0, mw, mh);
    auto marker = [&](Rgb under, Rgb c) {
        return P.Add(8, 8, KeyedOn(under), [=](cairo_t* cr) { kit::Chevron(cr, 4, 4, 3, Dir::Down, c, 1.4); });
    };
    m->MenuMarkerRect = marker(Face, TextSoft);
    m->MenuMarkerActiveRect = marker(Hot, Text);
    m->MenuMarkerDownRect = marker(Down, Text);
    m->MenuMarkerFlatRect = marker(Face, TextSoft);
    m->MenuMarkerTransparentColor = kKeyColor;
}

// ---- check and radio boxes -------------------------------------------------------------------

struct MarkLooks {
    TRect Check, Uncheck, ActiveCheck, ActiveUncheck, OffCheck, OffUncheck, Grayed, ActiveGrayed;
};

constexpr int kMark = 16;  // a 14-pixel mark with a key margin, so its bottom-left pixel is the key

// The eight looks of a mark in one shape: Outline draws the empty mark (border, fill), On the
// set one (fill), Grayed the inner sign of the third state.
struct MarkShape {
    void (*Outline)(cairo_t*, Rgb Border, Rgb Fill);
    void (*On)(cairo_t*, Rgb Fill);
    void (*Grayed)(cairo_t*, Rgb Colour);
};

MarkLooks Marks(SkinPicture& P, Rgb Under, const MarkShape& M)
{
    auto mark = [&](auto paint) { return P.Add(kMark, kMark, KeyedOn(Under), paint); };
    auto grayed = [&](Rgb c) {
        return mark([&](cairo_t* cr) {
            M.Outline(cr, c, White);
            M.Grayed(cr, c);
        });
    };
    MarkLooks m;
    m.Uncheck = mark([&](cairo_t* cr) { M.Outline(cr, Border, White); });
    m.Check = mark([&](cairo_t* cr) { M.On(cr, Accent); });
    m.ActiveUncheck = mark([&](cairo_t* cr) { M.Outline(cr, Accent, White); });
    m.ActiveCheck = mark([&](cairo_t* cr) { M.On(cr, AccentDark); });
    m.OffUncheck = mark([&](cairo_t* cr) { M.Outline(cr, BorderOff, FaceOff); });
    m.OffCheck = mark([&](cairo_t* cr) { M.On(cr, AccentOff); });
    m.Grayed = grayed(Accent);
    m.ActiveGrayed = grayed(AccentDark);
    return m;
}

// A rounded square with a white check mark when set, a small square when grayed.
const MarkShape kCheckShape = {
    [](cairo_t* cr, Rgb border, Rgb fill) { kit::FramedBox(cr, 1, 1, 14, 14, 3, border, fill); },
    [](cairo_t* cr, Rgb fill) {
        kit::FillBox(cr, 1, 1, 14, 14, 3, fill);
        kit::CheckMark(cr, 8, 8, 8, White, 1.7);
    },
    [](cairo_t* cr, Rgb c) { kit::FillBox(cr, 5, 5, 6, 6, 1, c); }};

// A ring, filled with a white dot in the middle when set, a dash when grayed.
const MarkShape kRadioShape = {[](cairo_t* cr, Rgb border, Rgb fill) {
                                   kit::Dot(cr, 8, 8, 7, border);
                                   kit::Dot(cr, 8, 8, 6, fill);
                               },
                               [](cairo_t* cr, Rgb fill) {
                                   kit::Dot(cr, 8, 8, 7, fill);
                                   kit::Dot(cr, 8, 8, 2.5, White);
                               },
                               [](cairo_t* cr, Rgb c) { kit::FillBox(cr, 5, 7, 6, 2, 1, c); }};

void CheckRadio(TbsSkinData& S, const wchar_t* Name, const TRect& Box, const MarkLooks& M)
{
    auto* r = AddControl<TbsDataSkinCheckRadioControl>(S, Name);
    const int w = Box.Width(), h = Box.Height();
    AcrossPart(r, Box, 20, 4, Rect(0, 0, w, h));
    r->ActiveSkinRect = Box;  // the box keeps its face; the marks show the mouse
    r->CheckImageArea = Rect(0, 0, 18, h);
    r->TextArea = Rect(22, 0, w, h);
    r->CheckImageRect = M.Check;
    r->UnCheckImageRect = M.Uncheck;
    r->ActiveCheckImageRect = M.ActiveCheck;
    r->ActiveUnCheckImageRect = M.ActiveUncheck;
    r->UnEnabledCheckImageRect = M.OffCheck;
    r->UnEnabledUnCheckImageRect = M.OffUncheck;
    r->GrayedCheckImageRect = M.Grayed;
    r->ActiveGrayedCheckImageRect = M.ActiveGrayed;
    Font(r);
    r->ActiveFontColor = r->FrameFontColor = ToColor(Text);
    r->UnEnabledFontColor = ToColor(TextOff);
}

void DesignChecks(TbsSkinData& S, SkinPicture& P, const MarkLooks& Checks)
{
    const TRect face = Plain(P, 80, 20, Face);
    CheckRadio(S, L"checkbox", face, Checks);
    CheckRadio(S, L"radiobox", face, Marks(P, palette::Face, kRadioShape));
}

// ---- edits, combo boxes, lists ---------------------------------------------------------------

constexpr int kFieldH = 22;  // edits and combo boxes
constexpr int kFieldButton = 20;

// The drop-down or edit button's state looks, each the size of its place inside the border.
struct FieldButton {
    TRect Hot, Down, Off;
};

FieldButton FieldButtonLooks(SkinPicture& P, void (*Glyph)(cairo_t*, double, double, Rgb))
{
    auto look = [&](bool filled, Rgb fill, Rgb glyph) {
        return P.Add(kFieldButton, kFieldButton, On(White), [=](cairo_t* cr) {
            if (filled) kit::FillBox(cr, 1, 1, kFieldButton - 2, kFieldButton - 2, 2, fill);
            Glyph(cr, kFieldButton / 2.0, kFieldButton / 2.0, glyph);
        });
    };
    FieldButton b;
    b.Hot = look(true, Hot, Text);
    b.Down = look(true, Down, AccentDark);
    b.Off = look(false, White, TextOff);
    return b;
}

void DropGlyph(cairo_t* cr, double cx, double cy, Rgb c) { kit::Chevron(cr, cx, cy, 4, Dir::Down, c); }
void DotsGlyph(cairo_t* cr, double cx, double cy, Rgb c) { kit::Ellipsis(cr, cx, cy, c); }

// A field look: white inside a border, the button's normal glyph at its place.
TRect FieldLook(SkinPicture& P, int W, Rgb BorderColor, void (*Glyph)(cairo_t*, double, double, Rgb))
{
    return P.Add(W, kFieldH, On(Face), [=](cairo_t* cr) {
        kit::FramedBox(cr, 0, 0, W, kFieldH, 3, BorderColor, White);
        if (Glyph) Glyph(cr, W - 1 - kFieldButton / 2.0, kFieldH / 2.0, TextSoft);
    });
}

void Edit(TbsSkinData& S, const wchar_t* Name, SkinPicture& P, bool WithButton)
{
    const int w = WithButton ? 80 : 60;
    auto* e = AddControl<TbsDataSkinEditControl>(S, Name);
    const TRect normal = FieldLook(P, w, Border, WithButton ? DotsGlyph : nullptr);
    const TRect active = FieldLook(P, w, Accent, WithButton ? DotsGlyph : nullptr);
    const int right = WithButton ? kFieldButton + 3 : 4;
    AcrossPart(e, normal, 4, right, Rect(5, 3, w - (WithButton ? right + 1 : 5), kFieldH - 3));
    e->ActiveSkinRect = active;
    Font(e);
    e->ActiveFontColor = ToColor(Text);
    e->DisabledFontColor = ToColor(TextOff);
    if (WithButton) {
        e->ButtonRect = Rect(w - 1 - kFieldButton, 1, w - 1, 1 + kFieldButton);
        const FieldButton b = FieldButtonLooks(P, DotsGlyph);
        e->ActiveButtonRect = b.Hot;
        e->DownButtonRect = b.Down;
        e->UnEnabledButtonRect = b.Off;
    }
}

struct ItemLooks {
    TRect Normal, Selected, Focused;
};

// List items: white, a pale accent when selected, a stronger one when the list has the focus.
ItemLooks Items(SkinPicture& P, int W, int H)
{
    ItemLooks i;
    i.Normal = Plain(P, W, H, White);
    i.Selected = P.Add(W, H, On(White), [=](cairo_t* cr) { kit::FillBox(cr, 0, 0, W, H, 3, SelectedIdle); });
    i.Focused = P.Add(W, H, On(White), [=](cairo_t* cr) { kit::FillBox(cr, 0, 0, W, H, 3, Selected); });
    return i;
}

void DesignCombo(TbsSkinData& S, SkinPicture& P)
{
    constexpr int w = 80;
    auto* c = AddControl<TbsDataSkinComboBox>(S, L"combobox");
    const TRect normal = FieldLook(P, w, Border, DropGlyph);
    const TRect active = FieldLook(P, w, Accent, DropGlyph);
    AcrossPart(c, normal, 4, kFieldButton + 2, Rect(4, 3, w - kFieldButton - 2, kFieldH - 3));
    c->ActiveSkinRect = active;
    c->ButtonRect = Rect(w - 1 - kFieldButton, 1, w - 1, 1 + kFieldButton);
    const FieldButton b = FieldButtonLooks(P, DropGlyph);
    c->ActiveButtonRect = b.Hot;
    c->DownButtonRect = b.Down;
    c->UnEnabledButtonRect = b.Off;
    // The shown item: white, and the accent tint while the combo box has the focus.
    const ItemLooks item = Items(P, 40, kFieldH - 6);
    c->SItemRect = c->ActiveItemRect = item.Normal;
    c->FocusItemRect = item.Focused;
    c->ItemLeftOffset = c->ItemRightOffset = 3;
    c->ItemTextRect = Rect(4, 0, 36, kFieldH - 6);
    c->ItemStretchEffect = c->FocusItemStretchEffect = true;
    Font(c);
    c->FocusFontColor = c->ActiveFontColor = ToColor(Text);
    c->ListBoxName = L"listbox";
}

template <class T>
T* ListBox(TbsSkinData& S, const wchar_t* Name, const TRect& Frame, const ItemLooks& Item, int TextLeft)
{
    auto* l = AddControl<T>(S, Name);
    NinePart(l, Frame, 4, Rect(2, 2, Frame.Width() - 2, Frame.Height() - 2));
    l->SItemRect = Item.Normal;
    l->ActiveItemRect = Item.Selected;
    l->FocusItemRect = Item.Focused;
    l->ItemLeftOffset = l->ItemRightOffset = 4;
    l->ItemTextRect = Rect(TextLeft, 0, Item.Normal.Width() - 6, Item.Normal.Height());
    Font(l);
    l->ActiveFontColor = l->FocusFontColor = ToColor(Text);
    l->CaptionFontName = kFontName;
    l->CaptionFontHeight = kTextHeight;
    l->CaptionFontColor = ToColor(Text);
    return l;
}

void DesignLists(TbsSkinData& S, SkinPicture& P, const MarkLooks& WhiteChecks)
{
    const TRect frame =
        P.Add(40, 40, On(Face), [](cairo_t* cr) { kit::FramedBox(cr, 0, 0, 40, 40, 3, Border, White); });
    const ItemLooks item = Items(P, 40, 22);
    ListBox<TbsDataSkinListBox>(S, L"listbox", frame, item, 6);

    const ItemLooks checkItem = Items(P, 60, 22);
    auto* c = ListBox<TbsDataSkinCheckListBox>(S, L"checklistbox", frame, checkItem, 24);
    c->ItemCheckRect = Rect(4, 3, 4 + kMark, 3 + kMark);
    c->CheckImageRect = WhiteChecks.Check;
    c->UnCheckImageRect = WhiteChecks.Uncheck;
}

void DesignUpDowns(TbsSkinData& S, SkinPicture& P)
{
    // A horizontal pair (down button left, up button right) and a vertical one (up on top).
    struct Pair {
        const wchar_t* Name;
        int BW, BH;  // one button
        bool Vertical;
    };
    for (const Pair& pair : {Pair{L"hupdown", 18, 18, false}, Pair{L"vupdown", 16, 12, true}}) {
        const int bw = pair.BW, bh = pair.BH;
        const Dir lower = pair.Vertical ? Dir::Down : Dir::Left, raise = pair.Vertical ? Dir::Up : Dir::Right;
        const double half = pair.Vertical ? 3 : 3.5;
        auto button = [&](cairo_t* cr, double x, double y, Rgb border, Rgb fill, Dir d, Rgb glyph) {
            kit::FramedBox(cr, x, y, bw, bh, 3, border, fill);
            kit::Chevron(cr, x + bw / 2.0, y + bh / 2.0, half, d, glyph, 1.4);
        };
        const int w = pair.Vertical ? bw : 2 * bw, h = pair.Vertical ? 2 * bh : bh;
        // Up is the right or the top button.
        const TRect upPlace = pair.Vertical ? Rect(0, 0, bw, bh) : Rect(bw, 0, 2 * bw, bh);
        const TRect downPlace = pair.Vertical ? Rect(0, bh, bw, 2 * bh) : Rect(0, 0, bw, bh);
        auto* u = AddControl<TbsDataSkinUpDownControl>(S, pair.Name);
        Picture(u, P.Add(w, h, On(Face), [&](cairo_t* cr) {
            button(cr, upPlace.Left, upPlace.Top, Border, White, raise, TextSoft);
            button(cr, downPlace.Left, downPlace.Top, Border, White, lower, TextSoft);
        }));
        u->UpButtonRect = upPlace;
        u->DownButtonRect = downPlace;
        auto state = [&](Rgb border, Rgb fill, Dir d, Rgb glyph) {
            return P.Add(bw, bh, On(Face), [&](cairo_t* cr) { button(cr, 0, 0, border, fill, d, glyph); });
        };
        u->ActiveUpButtonRect = state(Accent, Hot, raise, Text);
        u->DownUpButtonRect = state(AccentDark, Down, raise, AccentDark);
        u->ActiveDownButtonRect = state(Accent, Hot, lower, Text);
        u->DownDownButtonRect = state(AccentDark, Down, lower, AccentDark);
    }
}

// ---- scroll bars and the slider --------------------------------------------------------------

constexpr int kBar = 14;  // scroll bar thickness

// A scroll bar: the lowering arrow, the track, the raising arrow and, for the horizontal bar that
// sits beside a vertical one ("bothhscrollbar"), the corner square under that bar at the right
// end. The bar moves a button with its size only when the button starts past the corner point,
// so the kept right (bottom) part begins one track pixel before the raising arrow.
void ScrollBar(TbsSkinData& S, SkinPicture& P, const wchar_t* Name, bool Vertical, bool Corner = false)
{
    constexpr int len = 80, thumb = 30;
    const int corner = Corner ? kBar : 0;
    const int w = Vertical ? kBar : len + corner, h = Vertical ? len : kBar;
    const Dir lower = Vertical ? Dir::Up : Dir::Left, raise = Vertical ? Dir::Down : Dir::Right;
    const double c = kBar / 2.0;
    auto* s = AddControl<TbsDataSkinScrollBarControl>(S, Name);
    const TRect skin = P.Add(w, h, On(Face), [&](cairo_t* cr) {
        kit::FillBox(cr, 0, 0, w, h, 0, Track);
        kit::Chevron(cr, c, c, 3, lower, TextSoft, 1.3);
        kit::Chevron(cr, w - corner - c, h - c, 3, raise, TextSoft, 1.3);
    });
    if (Vertical)
        DownPart(s, skin, kBar, kBar + 1, Rect(0, kBar, w, h - kBar));
    else
        AcrossPart(s, skin, kBar, kBar + 1 + corner, Rect(kBar, 0, w - kBar - corner, h));
    s->TrackArea = s->ClRect;
    // The lowering button is the left or top one, the raising one the right or bottom one.
    s->DownButtonRect = Rect(0, 0, kBar, kBar);
    s->UpButtonRect = Rect(w - corner - kBar, h - kBar, w - corner, h);
    auto arrow = [&](Rgb fill, Dir d, Rgb glyph) {
        return P.Add(kBar, kBar, On(Track), [=](cairo_t* cr) {
            kit::FillBox(cr, 1, 1, kBar - 2, kBar - 2, 2, fill);
            kit::Chevron(cr, c, c, 3, d, glyph, 1.3);
        });
    };
    s->ActiveDownButtonRect = arrow(Hot, lower, Text);
    s->DownDownButtonRect = arrow(Down, lower, AccentDark);
    s->ActiveUpButtonRect = arrow(Hot, raise, Text);
    s->DownUpButtonRect = arrow(Down, raise, AccentDark);
    // A pill on the track; its rounded ends are the thumb's fixed caps.
    auto pill = [&](Rgb fill) {
        const int tw = Vertical ? kBar : thumb, th = Vertical ? thumb : kBar;
        return P.Add(tw, th, On(Track), [=](cairo_t* cr) {
            if (Vertical)
                kit::FillBox(cr, 3, 1, kBar - 6, thumb - 2, 4, fill);
            else
                kit::FillBox(cr, 1, 3, thumb - 2, kBar - 6, 4, fill);
        });
    };
    s->ThumbRect = pill(Thumb);
    s->ActiveThumbRect = pill(ThumbHot);
    s->DownThumbRect = pill(Accent);
    s->ThumbOffset1 = s->ThumbOffset2 = 6;
    s->ThumbStretchEffect = true;
    s->ThumbMinSize = 20;
}

void DesignScrollBars(TbsSkinData& S, SkinPicture& P)
{
    ScrollBar(S, P, L"hscrollbar", false);
    ScrollBar(S, P, L"vscrollbar", true);
    ScrollBar(S, P, L"bothhscrollbar", false, true);
}

void DesignSlider(TbsSkinData& S, SkinPicture& P)
{
    auto* s = AddControl<TbsDataSkinSlider>(S, L"slider");
    s->PictureIndex = kControlsPicture;
    // Rulers and thumbs are drawn with their bottom-left pixel's colour transparent: keyed.
    s->HRulerRect = P.Add(40, 8, KeyedOn(Face), [](cairo_t* cr) { kit::FillBox(cr, 0, 2, 40, 4, 2, Ruler); });
    s->VRulerRect = P.Add(8, 40, KeyedOn(Face), [](cairo_t* cr) { kit::FillBox(cr, 2, 0, 4, 40, 2, Ruler); });
    // Two states side by side: normal, then pressed or disabled.
    auto thumbs = [&](int tw, int th) {
        return P.Add(2 * tw, th, KeyedOn(Face), [=](cairo_t* cr) {
            const double cx = tw / 2.0, cy = th / 2.0;
            kit::Dot(cr, cx, cy, 6.5, Accent);
            kit::Dot(cr, cx, cy, 4.5, White);
            kit::Dot(cr, tw + cx, cy, 6.5, AccentDark);
            kit::Dot(cr, tw + cx, cy, 2.5, White);
        });
    };
    s->HThumbRect = thumbs(14, 16);
    s->VThumbRect = thumbs(16, 14);
    s->EdgeSize = 3;
    s->BGColor = ToColor(Face);
    s->PointsColor = ToColor(Border);
}

// ---- panels, labels, separators, views --------------------------------------------------------

TbsDataSkinPanelControl* Panel(TbsSkinData& S, const wchar_t* Name, const TRect& Skin, int Corner, const TRect& Client)
{
    auto* p = AddControl<TbsDataSkinPanelControl>(S, Name);
    NinePart(p, Skin, Corner, Client);
    Font(p);
    p->Alignment = taLeftJustify;
    return p;
}

void DesignPanels(TbsSkinData& S, SkinPicture& P, const MarkLooks& Checks)
{
    const TRect panel =
        P.Add(40, 40, On(Face), [](cairo_t* cr) { kit::FramedBox(cr, 0, 0, 40, 40, 3, PanelLine, Face); });
    auto* p = Panel(S, L"panel", panel, 4, Rect(2, 2, 38, 38));
    p->CheckImageRect = Checks.Check;
    p->UnCheckImageRect = Checks.Uncheck;

    // A group box: a frame whose top line runs through the caption, hidden behind the text by a
    // face-coloured text frame.
    constexpr int gw = 80, gh = 60, line = 10, caption = 21;
    const TRect group =
        P.Add(gw, gh, On(Face), [](cairo_t* cr) { kit::FramedBox(cr, 0, line, gw, gh - line, 4, Border, Face); });
    auto* g = AddControl<TbsDataSkinPanelControl>(S, L"groupbox");
    Picture(g, group);
    g->LTPoint = Point(12, 24);
    g->RTPoint = Point(gw - 12, 24);
    g->LBPoint = Point(12, gh - 8);
    g->RBPoint = Point(gw - 12, gh - 8);
    g->ClRect = Rect(6, caption + 1, gw - 6, gh - 6);
    g->LeftStretch = g->TopStretch = g->RightStretch = g->BottomStretch = g->StretchEffect = true;
    g->CaptionRect = Rect(8, 0, gw - 8, caption);
    Font(g);
    g->Alignment = taLeftJustify;
    g->FrameRect = Plain(P, 20, caption, Face);
    g->FrameTextRect = Rect(4, 0, 16, caption);
    g->FrameLeftOffset = g->FrameRightOffset = 4;
    g->CheckImageRect = Checks.Check;
    g->UnCheckImageRect = Checks.Uncheck;

    // Tool bars end in a separator line at the bottom, status bars start with one at the top.
    const TRect tool = P.Add(40, 40, On(Face), [](cairo_t* cr) { kit::HLine(cr, 0, 40, 39, Separator); });
    Panel(S, L"toolpanel", tool, 4, Rect(2, 2, 38, 38));
    const TRect status = P.Add(40, 24, On(Face), [](cairo_t* cr) { kit::HLine(cr, 0, 40, 0, Separator); });
    auto* st = Panel(S, L"statusbar", status, 4, Rect(4, 1, 36, 24));
    st->FontColor = ToColor(TextSoft);
    st->GripperRect = P.Add(12, 12, KeyedOn(Face), [](cairo_t* cr) {
        for (int row = 0; row < 3; ++row)
            for (int col = 2 - row; col < 3; ++col) kit::FillBox(cr, 1 + 4 * col, 1 + 4 * row, 2, 2, 0.5, Shadow);
    });
    st->GripperTransparent = true;
    st->GripperTransparentColor = kKeyColor;

    auto* box = AddControl<TbsDataSkinScrollBoxControl>(S, L"scrollbox");
    NinePart(box, P.Add(40, 40, On(Face), [](cairo_t* cr) { kit::FramedBox(cr, 0, 0, 40, 40, 3, Border, Face); }), 4,
             Rect(2, 2, 38, 38));

    // Menu headers and the headers of office lists.
    auto* l = AddControl<TbsDataSkinLabelControl>(S, L"label");
    NinePart(l, P.Add(60, 22, On(White), [](cairo_t* cr) { kit::FillBox(cr, 0, 1, 60, 20, 3, Header); }), 4,
             Rect(6, 2, 54, 20));
    Font(l);
    l->FontStyle = TFontStyles{fsBold};
    l->FontColor = ToColor(TextSoft);

    auto* plain = AddControl<TbsDataSkinStdLabelControl>(S, L"stdlabel");
    Font(plain);
    plain->ActiveFontColor = ToColor(Accent);

    auto* bevel = AddControl<TbsDataSkinBevel>(S, L"bevel");
    bevel->LightColor = ToColor(White);
    bevel->DarkColor = ToColor(Border);

    // Splitters: bars of the face with three grip dots in the middle.
    for (bool across : {true, false}) {
        auto* sp = AddControl<TbsDataSkinSplitterControl>(S, across ? L"hsplitter" : L"vsplitter");
        if (across)
            AcrossPart(sp, Plain(P, 40, 5, Face), 4, 4, Rect(0, 0, 40, 5));
        else
            DownPart(sp, Plain(P, 5, 40, Face), 4, 4, Rect(0, 0, 5, 40));
        const int gw2 = across ? 16 : 3, gh2 = across ? 3 : 16;
        sp->GripperRect = P.Add(gw2, gh2, KeyedOn(Face), [=](cairo_t* cr) {
            for (int i = 0; i < 3; ++i) kit::Dot(cr, across ? 3 + 5 * i : 1.5, across ? 1.5 : 3 + 5 * i, 1.1, Shadow);
        });
        sp->GripperTransparent = true;
        sp->GripperTransparentColor = kKeyColor;
    }
}

void DesignViews(TbsSkinData& S, SkinPicture& P)
{
    auto* lv = AddControl<TbsDataSkinListView>(S, L"listview");
    Font(lv);
    lv->BGColor = ToColor(White);

    auto* tv = AddControl<TbsDataSkinTreeView>(S, L"treeview");
    tv->PictureIndex = kControlsPicture;
    Font(tv);
    tv->BGColor = ToColor(White);
    // Square expand buttons, keyed: the tree draws them with their bottom-left pixel transparent
    // over its own box, which the opaque middle covers.
    auto expand = [&](bool collapsed) {
        return P.Add(13, 13, KeyedOn(White), [=](cairo_t* cr) {
            kit::FramedBox(cr, 1, 1, 11, 11, 2, Border, White);
            kit::Plus(cr, 6.5, 6.5, 3, TextSoft, collapsed);
        });
    };
    tv->ExpandImageRect = expand(false);
    tv->NoExpandImageRect = expand(true);

    // The menu bar: the face with a separator line below, items laid out in ItemsRect.
    auto* bar = AddControl<TbsDataSkinMainMenuBar>(S, L"mainmenubar");
    Picture(bar, P.Add(60, 26, On(Face), [](cairo_t* cr) { kit::HLine(cr, 0, 60, 25, Separator); }));
    bar->ItemsRect = Rect(4, 1, 56, 25);
    bar->MenuBarItem = L"mainmenubaritem";
    bar->TrackMarkColor = ToColor(TextSoft);
    bar->TrackMarkActiveColor = ToColor(Accent);
    bar->StretchEffect = true;
}

void DesignTabs(TbsSkinData& S, SkinPicture& P)
{
    constexpr int tw = 60, th = 26;
    auto* t = AddControl<TbsDataSkinTabControl>(S, L"tab");
    t->PictureIndex = kControlsPicture;
    auto tab = [&](Rgb fill, bool bar) {
        return P.Add(tw, th, On(Face), [=](cairo_t* cr) {
            kit::FramedTopBox(cr, 0, 0, tw, th, 4, Border, fill);
            if (bar) kit::FillBox(cr, 1, 1, tw - 2, 2, 1, Accent);
        });
    };
    t->TabRect = tab(Tab, false);
    t->ActiveTabRect = tab(Face, false);
    t->FocusTabRect = tab(Face, true);
    t->MouseInTabRect = tab(Hot, false);
    t->TabLeftOffset = t->TabRightOffset = 5;
    t->TabStretchEffect = true;
    t->TabsBGRect = Plain(P, 20, th, Face);
    // The page frame below the tabs.
    t->SkinRect = P.Add(60, 60, On(Face), [](cairo_t* cr) { kit::FramedBox(cr, 0, 0, 60, 60, 3, Border, Face); });
    t->ClRect = Rect(2, 2, 58, 58);
    t->LTPoint = Point(4, 4);
    t->RTPoint = Point(56, 4);
    t->LBPoint = Point(4, 56);
    t->RBPoint = Point(56, 56);
    t->LeftStretch = t->TopStretch = t->RightStretch = t->BottomStretch = t->StretchEffect = true;
    Font(t);
    t->FontColor = ToColor(TextSoft);
    t->ActiveFontColor = t->FocusFontColor = t->MouseInFontColor = ToColor(Text);
    t->UpDown = L"hupdown";
    // Close buttons of the MDI tab bar, drawn with the key colour transparent.
    auto close = [&](bool filled, Rgb fill, Rgb glyph) {
        return P.Add(14, 14, KeyedOn(Tab), [=](cairo_t* cr) {
            if (filled) kit::FillBox(cr, 0, 0, 14, 14, 3, fill);
            kit::Cross(cr, 7, 7, 3, glyph, 1.2);
        });
    };
    t->CloseButtonRect = close(false, Tab, TextSoft);
    t->CloseButtonActiveRect = close(true, Hot, Text);
    t->CloseButtonDownRect = close(true, Down, AccentDark);
    t->ButtonTransparent = true;
    t->ButtonTransparentColor = kKeyColor;
}

}  // namespace

void DesignControls(TbsSkinData& Skin, SkinSheets& Sheets)
{
    SkinPicture& p = Sheets.Controls;
    DesignButtons(Skin, p);
    const MarkLooks faceChecks = Marks(p, Face, kCheckShape);
    const MarkLooks whiteChecks = Marks(p, White, kCheckShape);
    DesignChecks(Skin, p, faceChecks);
    Edit(Skin, L"edit", p, false);
    Edit(Skin, L"buttonedit", p, true);
    DesignCombo(Skin, p);
    DesignLists(Skin, p, whiteChecks);
    DesignUpDowns(Skin, p);
    DesignScrollBars(Skin, p);
    DesignSlider(Skin, p);
    DesignPanels(Skin, p, faceChecks);
    DesignViews(Skin, p);
    DesignTabs(Skin, p);
}
