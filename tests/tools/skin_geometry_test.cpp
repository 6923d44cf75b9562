// The geometry and pixels of the program's own skin: every look lies inside its picture, every
// place and corner point inside its look, every state a record gives looks different from the
// normal one, and no pixel is a near miss of the key colour.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "default_skin_test_support.h"
#include "skin/core/button_records.h"
#include "skin/core/control_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/object_records.h"
#include "skin/core/panel_records.h"
#include "skin/core/range_records.h"
#include "skin/core/tab_grid_records.h"
#include "skin/core/view_menu_records.h"
#include "skin/core/window_records.h"

namespace {

struct Look {
    TBitmap* Picture;
    TRect R;
};

bool Inside(const TRect& Inner, int W, int H)
{
    return Inner.Left >= 0 && Inner.Top >= 0 && Inner.Right <= W && Inner.Bottom <= H;
}
bool Inside(const TPoint& P, int W, int H) { return P.X >= 0 && P.Y >= 0 && P.X <= W && P.Y <= H; }

bool Differs(Look A, Look B)
{
    if (A.R.Width() != B.R.Width() || A.R.Height() != B.R.Height()) return true;
    for (int y = 0; y < A.R.Height(); ++y)
        for (int x = 0; x < A.R.Width(); ++x)
            if ((A.Picture->PixelArgb(A.R.Left + x, A.R.Top + y) & 0xFFFFFF) !=
                (B.Picture->PixelArgb(B.R.Left + x, B.R.Top + y) & 0xFFFFFF))
                return true;
    return false;
}

// The rect keys of a record, by key name.
template <class Record>
std::map<String, TRect> RectKeys(Record* R)
{
    TbsSkinKeys keys;
    R->DefineKeys(keys);
    std::map<String, TRect> out;
    for (const auto& k : keys.Items())
        if (k.Codec == TbsKeyCodec::Rect || k.Codec == TbsKeyCodec::RectOrFallback)
            out[k.Name] = *static_cast<TRect*>(k.Field);
    return out;
}

// Keys that are places inside the record's own look rather than looks in its picture, and keys
// that are places inside another look of the record (key -> that look's key).
const std::map<String, std::set<String>> kPlaces = {
    {L"edit", {L"buttonrect"}},
    {L"combobox", {L"buttonrect"}},
    {L"listbox", {L"captionrect", L"upbuttonrect", L"downbuttonrect", L"checkbuttonrect", L"buttonsarea"}},
    {L"checklistbox", {L"captionrect", L"upbuttonrect", L"downbuttonrect", L"checkbuttonrect", L"buttonsarea"}},
    {L"scrollbar", {L"trackarea", L"upbuttonrect", L"downbuttonrect"}},
    {L"updown", {L"upbuttonrect", L"downbuttonrect"}},
    {L"checkradio", {L"checkimagearea", L"textarea"}},
    {L"menubutton", {L"trackbuttonrect"}},
    {L"panel", {L"captionrect"}},
    {L"mainmenubar", {L"itemsrect"}},
    {L"caption", {L"textrect"}},
    {L"menuitem", {L"textrect", L"imagerect"}},
    {L"mainmenubaritem", {L"textrect"}},
};
const std::map<String, std::map<String, String>> kNestedPlaces = {
    {L"combobox", {{L"itemtextrect", L"itemrect"}}},
    {L"listbox", {{L"itemtextrect", L"itemrect"}}},
    {L"checklistbox", {{L"itemtextrect", L"itemrect"}, {L"itemcheckrect", L"itemrect"}}},
    {L"panel", {{L"frametextrect", L"framerect"}}},
    {L"caption", {{L"frametextrect", L"framerect"}}},
};

// Checks one record's rects: looks inside the picture, places inside the look they belong to.
void CheckRects(const String& Type, const std::map<String, TRect>& Rects, TBitmap* Picture, const TRect& Skin,
                TBitmap* SkinPicture)
{
    const auto places = kPlaces.count(Type) ? kPlaces.at(Type) : std::set<String>{};
    const auto nested = kNestedPlaces.count(Type) ? kNestedPlaces.at(Type) : std::map<String, String>{};
    for (const auto& [key, r] : Rects) {
        if (r.IsEmpty()) continue;
        SCOPED_TRACE(StringToUtf8(key));
        if (key == L"clientrect" || places.count(key)) {
            EXPECT_TRUE(Inside(r, Skin.Width(), Skin.Height()));
        } else if (nested.count(key)) {
            const TRect in = Rects.at(nested.at(key));
            EXPECT_TRUE(Inside(r, in.Width(), in.Height()));
        } else {
            TBitmap* p = key == L"skinrect" ? SkinPicture : Picture;
            ASSERT_TRUE(p && !p->Empty());
            EXPECT_TRUE(Inside(r, p->Width(), p->Height()));
        }
    }
}

TBitmap* Active(TbsSkinData& S, int Index)
{
    return Index >= 0 && Index < static_cast<int>(S.FActivePictures.size()) ? S.FActivePictures[Index] : nullptr;
}

TEST(DefaultSkinGeometry, LooksInsidePicturesAndPlacesInsideLooks)
{
    auto skin = EmbeddedSkin();
    TbsSkinData& s = *skin;
    for (TbsDataSkinControl* c : s.CtrlList) {
        SCOPED_TRACE(StringToUtf8(c->IDName));
        const String type = SkinControlTypeWord(c);
        TBitmap* pic = Active(s, c->PictureIndex);
        if (!c->SkinRect.IsEmpty()) {
            ASSERT_TRUE(pic);
        }
        CheckRects(type, RectKeys(c), pic, c->SkinRect, pic);
        const int w = c->SkinRect.Width(), h = c->SkinRect.Height();
        std::vector<TPoint> points;
        if (auto* cc = dynamic_cast<TbsDataSkinCustomControl*>(c))
            points = {cc->LTPoint, cc->RTPoint, cc->LBPoint, cc->RBPoint};
        if (auto* t = dynamic_cast<TbsDataSkinTabControl*>(c))
            points = {t->LTPoint, t->RTPoint, t->LBPoint, t->RBPoint};
        for (TPoint p : points) EXPECT_TRUE(Inside(p, w, h));
    }
    for (TbsDataSkinObject* o : s.ObjectList) {
        SCOPED_TRACE(StringToUtf8(o->IDName));
        TBitmap* pic = Active(s, o->ActivePictureIndex);
        ASSERT_TRUE(pic);
        // Frame objects sit on the form picture unless their look is in a picture of its own;
        // menu items always cut theirs from their picture.
        const String type = SkinObjectTypeWord(o);
        const bool menu = type == L"menuitem" || type == L"mainmenubaritem";
        CheckRects(type, RectKeys(o), pic, o->SkinRect, o->SkinRectInAPicture || menu ? pic : s.FPicture);
    }
    // The form geometry, and the window records' within their window pictures.
    const int fw = s.FPicture->Width(), fh = s.FPicture->Height();
    for (TRect r : {s.ClRect, s.CaptionRect, s.ButtonsRect, s.MaskRectArea}) EXPECT_TRUE(Inside(r, fw, fh));
    for (TPoint p : {s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.HitTestLTPoint, s.HitTestRBPoint})
        EXPECT_TRUE(Inside(p, fw, fh));
    EXPECT_EQ(s.FMask->Width(), fw);
    EXPECT_EQ(s.FMask->Height(), fh);
    TBitmap* popup = Active(s, s.PopupWindow->WindowPictureIndex);
    TBitmap* hint = Active(s, s.HintWindow->WindowPictureIndex);
    ASSERT_TRUE(popup && hint);
    EXPECT_TRUE(Inside(s.PopupWindow->ItemsRect, popup->Width(), popup->Height()));
    EXPECT_TRUE(Inside(s.HintWindow->ClRect, hint->Width(), hint->Height()));
    for (auto [picture, mask] : {std::pair{popup, Active(s, s.PopupWindow->MaskPictureIndex)},
                                 std::pair{hint, Active(s, s.HintWindow->MaskPictureIndex)}}) {
        ASSERT_TRUE(mask);
        EXPECT_EQ(mask->Width(), picture->Width());
        EXPECT_EQ(mask->Height(), picture->Height());
    }
    EXPECT_EQ(s.LayerFrame->PictureIndex, -1);  // no layered border
}

template <class T>
T* Control(TbsSkinData& S, const wchar_t* Name)
{
    const int i = S.GetControlIndex(Name);
    return i < 0 ? nullptr : dynamic_cast<T*>(S.CtrlList[i]);
}
template <class T>
T* Object(TbsSkinData& S, const wchar_t* Name)
{
    const int i = S.GetIndex(Name);
    return i < 0 ? nullptr : dynamic_cast<T*>(S.ObjectList[i]);
}

// A place of a look, as a look of the same picture.
TRect At(const TRect& Skin, const TRect& Place)
{
    return Rect(Skin.Left + Place.Left, Skin.Top + Place.Top, Skin.Left + Place.Right, Skin.Top + Place.Bottom);
}

TEST(DefaultSkinGeometry, EveryStateHasItsOwnLook)
{
    auto skin = EmbeddedSkin();
    TbsSkinData& s = *skin;
    TBitmap* controls = Active(s, 1);
    TBitmap* objects = Active(s, 0);
    auto differ = [&](TBitmap* pic, const std::vector<TRect>& looks, const char* what) {
        for (size_t i = 0; i < looks.size(); ++i)
            for (size_t j = i + 1; j < looks.size(); ++j)
                EXPECT_TRUE(Differs({pic, looks[i]}, {pic, looks[j]})) << what << " looks " << i << " and " << j;
    };

    for (const wchar_t* name : {L"button", L"resizebutton", L"resizetoolbutton"}) {
        auto* b = Control<TbsDataSkinButtonControl>(s, name);
        ASSERT_TRUE(b);
        differ(controls, {b->SkinRect, b->ActiveSkinRect, b->DownSkinRect, b->DisabledSkinRect},
               StringToUtf8(name).c_str());
    }
    EXPECT_TRUE(Differs({controls, Control<TbsDataSkinButtonControl>(s, L"button")->SkinRect},
                        {controls, Control<TbsDataSkinButtonControl>(s, L"button")->FocusedSkinRect}));
    // Flat tool buttons: hot and pressed differ; disabled and focused are the flat normal look on
    // purpose (a focused tool button must not look as if the pointer were over it).
    for (const wchar_t* name : {L"toolbutton", L"toolmenubutton"}) {
        auto* b = Control<TbsDataSkinButtonControl>(s, name);
        ASSERT_TRUE(b);
        differ(controls, {b->SkinRect, b->ActiveSkinRect, b->DownSkinRect}, StringToUtf8(name).c_str());
        EXPECT_EQ(b->DisabledSkinRect, b->SkinRect);
        EXPECT_EQ(b->FocusedSkinRect, b->SkinRect);
    }
    auto* menu = Control<TbsDataSkinMenuButtonControl>(s, L"toolmenubutton");
    differ(controls, {menu->MenuMarkerRect, menu->MenuMarkerActiveRect, menu->MenuMarkerDownRect}, "markers");

    for (const wchar_t* name : {L"closebutton", L"maxbutton", L"minbutton", L"sysmenubutton"}) {
        auto* b = Object<TbsDataSkinStdButton>(s, name);
        ASSERT_TRUE(b);
        differ(objects, {b->SkinRect, b->ActiveSkinRect, b->DownRect, b->DisableSkinRect, b->InActiveSkinRect},
               StringToUtf8(name).c_str());
    }
    auto* max = Object<TbsDataSkinStdButton>(s, L"maxbutton");
    differ(objects,
           {max->SkinRect, max->RestoreRect, max->RestoreActiveRect, max->RestoreDownRect, max->RestoreInActiveRect},
           "restore");

    for (const wchar_t* name : {L"checkbox", L"radiobox"}) {
        auto* c = Control<TbsDataSkinCheckRadioControl>(s, name);
        ASSERT_TRUE(c);
        differ(controls,
               {c->CheckImageRect, c->UnCheckImageRect, c->ActiveCheckImageRect, c->ActiveUnCheckImageRect,
                c->UnEnabledCheckImageRect, c->UnEnabledUnCheckImageRect, c->GrayedCheckImageRect,
                c->ActiveGrayedCheckImageRect},
               StringToUtf8(name).c_str());
    }

    auto* edit = Control<TbsDataSkinEditControl>(s, L"buttonedit");
    differ(controls, {edit->SkinRect, edit->ActiveSkinRect}, "buttonedit");
    differ(
        controls,
        {At(edit->SkinRect, edit->ButtonRect), edit->ActiveButtonRect, edit->DownButtonRect, edit->UnEnabledButtonRect},
        "edit button");
    differ(controls,
           {Control<TbsDataSkinEditControl>(s, L"edit")->SkinRect,
            Control<TbsDataSkinEditControl>(s, L"edit")->ActiveSkinRect},
           "edit");
    auto* combo = Control<TbsDataSkinComboBox>(s, L"combobox");
    differ(controls, {combo->SkinRect, combo->ActiveSkinRect}, "combobox");
    differ(controls,
           {At(combo->SkinRect, combo->ButtonRect), combo->ActiveButtonRect, combo->DownButtonRect,
            combo->UnEnabledButtonRect},
           "combo button");
    differ(controls, {combo->SItemRect, combo->FocusItemRect}, "combo item");
    for (const wchar_t* name : {L"listbox", L"checklistbox"}) {
        auto* l = Control<TbsDataSkinListBox>(s, name);
        differ(controls, {l->SItemRect, l->ActiveItemRect, l->FocusItemRect}, StringToUtf8(name).c_str());
    }
    auto* checks = Control<TbsDataSkinCheckListBox>(s, L"checklistbox");
    differ(controls, {checks->CheckImageRect, checks->UnCheckImageRect}, "check list marks");

    for (const wchar_t* name : {L"hscrollbar", L"vscrollbar", L"bothhscrollbar"}) {
        auto* b = Control<TbsDataSkinScrollBarControl>(s, name);
        differ(controls, {At(b->SkinRect, b->UpButtonRect), b->ActiveUpButtonRect, b->DownUpButtonRect}, "up");
        differ(controls, {At(b->SkinRect, b->DownButtonRect), b->ActiveDownButtonRect, b->DownDownButtonRect}, "down");
        differ(controls, {b->ThumbRect, b->ActiveThumbRect, b->DownThumbRect}, "thumb");
    }
    for (const wchar_t* name : {L"hupdown", L"vupdown"}) {
        auto* u = Control<TbsDataSkinUpDownControl>(s, name);
        differ(controls, {At(u->SkinRect, u->UpButtonRect), u->ActiveUpButtonRect, u->DownUpButtonRect}, "up");
        differ(controls, {At(u->SkinRect, u->DownButtonRect), u->ActiveDownButtonRect, u->DownDownButtonRect}, "down");
    }
    auto* slider = Control<TbsDataSkinSlider>(s, L"slider");
    for (TRect t : {slider->HThumbRect, slider->VThumbRect}) {
        const int half = t.Width() / 2;
        differ(controls, {Bounds(t.Left, t.Top, half, t.Height()), Bounds(t.Left + half, t.Top, half, t.Height())},
               "slider thumb");
    }
    auto* tab = Control<TbsDataSkinTabControl>(s, L"tab");
    differ(controls, {tab->TabRect, tab->ActiveTabRect, tab->FocusTabRect, tab->MouseInTabRect}, "tabs");
    differ(controls, {tab->CloseButtonRect, tab->CloseButtonActiveRect, tab->CloseButtonDownRect}, "tab close");

    auto* item = Object<TbsDataSkinMenuItem>(s, L"menuitem");
    differ(objects, {item->SkinRect, item->ActiveSkinRect}, "menu item");
    differ(objects, {item->CheckImageRect, item->ActiveCheckImageRect}, "menu check");
    differ(objects, {item->RadioImageRect, item->ActiveRadioImageRect}, "menu radio");
    differ(objects, {item->ArrowImageRect, item->ActiveArrowImageRect}, "menu arrow");
    auto* barItem = Object<TbsDataSkinMainMenuBarItem>(s, L"mainmenubaritem");
    differ(objects, {barItem->SkinRect, barItem->ActiveSkinRect, barItem->DownRect}, "menu bar item");
}

bool NearKey(uint32_t Argb)
{
    const int r = (Argb >> 16) & 0xFF, g = (Argb >> 8) & 0xFF, b = Argb & 0xFF;
    return std::abs(r - 127) <= 40 && std::abs(g) <= 40 && std::abs(b - 127) <= 40;
}
constexpr uint32_t kKeyRgb = 0x7F007F;

// A bar moves its far arrow with its size only when the arrow starts past the corner point of its
// kept end; one starting on it stays where the picture has it and a long bar's far arrow is dead.
// The bar beside a vertical one ends in the corner square, past its far arrow.
TEST(DefaultSkinGeometry, ScrollBarArrowsFollowTheBarsSize)
{
    auto skin = BuiltSkin();
    for (const wchar_t* name : {L"hscrollbar", L"vscrollbar", L"bothhscrollbar"}) {
        auto* b = Control<TbsDataSkinScrollBarControl>(*skin, name);
        ASSERT_NE(b, nullptr) << StringToUtf8(name);
        const bool vertical = b->ResizeMode() == 3;
        const int corner = vertical ? b->LBPoint.Y : b->RTPoint.X;
        auto along = [&](const TRect& r) { return vertical ? r.Top : r.Left; };
        EXPECT_GT(along(b->UpButtonRect), corner) << StringToUtf8(name) << ": the far arrow moves";
        EXPECT_LE(along(b->DownButtonRect), corner) << StringToUtf8(name) << ": the near arrow stays";
        EXPECT_GE(along(b->UpButtonRect), vertical ? b->TrackArea.Bottom : b->TrackArea.Right) << StringToUtf8(name);
    }
    auto* both = Control<TbsDataSkinScrollBarControl>(*skin, L"bothhscrollbar");
    auto* v = Control<TbsDataSkinScrollBarControl>(*skin, L"vscrollbar");
    ASSERT_TRUE(both && v);
    EXPECT_EQ(both->SkinRect.Width() - both->UpButtonRect.Right, v->SkinRect.Width()) << "the corner square";
}

TEST(DefaultSkinGeometry, NoPixelIsANearMissOfTheKey)
{
    auto skin = EmbeddedSkin();
    ForEachPicture(*skin, [](const String& name, TBitmap* b) {
        if (b->PixelFormat() == pf1bit) return;  // masks are black and white
        int misses = 0;
        for (int y = 0; y < b->Height(); ++y)
            for (int x = 0; x < b->Width(); ++x) {
                const uint32_t p = b->PixelArgb(x, y) & 0xFFFFFF;
                if (p != kKeyRgb && NearKey(p)) ++misses;
            }
        EXPECT_EQ(misses, 0) << StringToUtf8(name);
    });
}

TEST(DefaultSkinGeometry, MasksCutExactlyTheKeyPixels)
{
    auto skin = EmbeddedSkin();
    TbsSkinData& s = *skin;
    const std::pair<TBitmap*, TBitmap*> shaped[] = {
        {s.FPicture, s.FMask},
        {Active(s, s.PopupWindow->WindowPictureIndex), Active(s, s.PopupWindow->MaskPictureIndex)},
        {Active(s, s.HintWindow->WindowPictureIndex), Active(s, s.HintWindow->MaskPictureIndex)}};
    for (auto [picture, mask] : shaped) {
        int cut = 0;
        for (int y = 0; y < picture->Height(); ++y)
            for (int x = 0; x < picture->Width(); ++x) {
                const bool key = (picture->PixelArgb(x, y) & 0xFFFFFF) == kKeyRgb;
                const bool black = (mask->PixelArgb(x, y) & 0xFFFFFF) == 0;
                EXPECT_EQ(black, !key) << x << "," << y;
                cut += key;
            }
        EXPECT_GT(cut, 0);  // rounded corners are cut
    }
    // The form's top corners are round, its bottom corners square.
    const int w = s.FPicture->Width(), h = s.FPicture->Height();
    EXPECT_EQ(s.FMask->PixelArgb(0, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(s.FMask->PixelArgb(w - 1, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(s.FMask->PixelArgb(0, h - 1) & 0xFFFFFF, 0u);
    EXPECT_EQ(s.FMask->PixelArgb(w - 1, h - 1) & 0xFFFFFF, 0u);
}

// Pieces the controls draw with the colour of their bottom-left pixel transparent carry the key
// there, so their surroundings are cut and never shown.
TEST(DefaultSkinGeometry, TransparentPiecesStartFromTheKey)
{
    auto skin = EmbeddedSkin();
    TbsSkinData& s = *skin;
    TBitmap* controls = Active(s, 1);
    TBitmap* objects = Active(s, 0);
    auto keyed = [](TBitmap* pic, const TRect& r, const char* what) {
        ASSERT_FALSE(r.IsEmpty()) << what;
        EXPECT_EQ(pic->PixelArgb(r.Left, r.Bottom - 1) & 0xFFFFFF, kKeyRgb) << what;
    };
    auto* check = Control<TbsDataSkinCheckRadioControl>(s, L"checkbox");
    auto* radio = Control<TbsDataSkinCheckRadioControl>(s, L"radiobox");
    for (auto* c : {check, radio})
        for (TRect r : {c->CheckImageRect, c->UnCheckImageRect, c->ActiveCheckImageRect, c->ActiveUnCheckImageRect,
                        c->UnEnabledCheckImageRect, c->UnEnabledUnCheckImageRect, c->GrayedCheckImageRect,
                        c->ActiveGrayedCheckImageRect})
            keyed(controls, r, "check mark");
    auto* list = Control<TbsDataSkinCheckListBox>(s, L"checklistbox");
    keyed(controls, list->CheckImageRect, "list check");
    keyed(controls, list->UnCheckImageRect, "list uncheck");
    auto* tree = Control<TbsDataSkinTreeView>(s, L"treeview");
    keyed(controls, tree->ExpandImageRect, "expand");
    keyed(controls, tree->NoExpandImageRect, "no expand");
    auto* slider = Control<TbsDataSkinSlider>(s, L"slider");
    keyed(controls, slider->HRulerRect, "ruler");
    keyed(controls, slider->VRulerRect, "ruler");
    for (TRect t : {slider->HThumbRect, slider->VThumbRect}) {
        keyed(controls, Bounds(t.Left, t.Top, t.Width() / 2, t.Height()), "thumb");
        keyed(controls, Bounds(t.Left + t.Width() / 2, t.Top, t.Width() / 2, t.Height()), "pressed thumb");
    }
    auto* item = Object<TbsDataSkinMenuItem>(s, L"menuitem");
    for (TRect r : {item->CheckImageRect, item->ActiveCheckImageRect, item->RadioImageRect, item->ActiveRadioImageRect,
                    item->ArrowImageRect, item->ActiveArrowImageRect})
        keyed(objects, r, "menu mark");
    // Pieces drawn with the key as their fixed transparent colour say so.
    auto* menu = Control<TbsDataSkinMenuButtonControl>(s, L"toolmenubutton");
    EXPECT_EQ(menu->MenuMarkerTransparentColor, 0x7F007F);
    EXPECT_EQ(Control<TbsDataSkinPanelControl>(s, L"statusbar")->GripperTransparentColor, 0x7F007F);
    EXPECT_EQ(Control<TbsDataSkinTabControl>(s, L"tab")->ButtonTransparentColor, 0x7F007F);
}

}  // namespace
