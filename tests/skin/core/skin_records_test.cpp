// Skin records: every class reads and writes exactly the keys it declares, with the key defaults
// (not the constructor values) after a load, the special rules of a few classes, the words the
// writer gives each class, resize modes and the font change across all font-bearing records.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/framework/core/files.h"
#include "platform/framework/core/string_list.h"
#include "skin/core/button_records.h"
#include "skin/core/control_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/object_records.h"
#include "skin/core/panel_records.h"
#include "skin/core/range_records.h"
#include "skin/core/tab_grid_records.h"
#include "skin/core/view_menu_records.h"
#include "skin/core/window_records.h"
#include "skin_model_test_support.h"
#include "skin_record_key_names.h"

namespace {

const char* const kControlWords[] = {
    "panel",    "expanel",  "menubutton",   "button",   "checkradio", "gauge",       "splitter",   "trackbar",
    "label",    "stdlabel", "updown",       "grid",     "tab",        "mainmenubar", "controlbar", "appmenu",
    "memo",     "edit",     "checklistbox", "listbox",  "combobox",   "scrollbar",   "spinedit",   "scrollbox",
    "treeview", "bevel",    "slider",       "listview", "richedit"};
const char* const kObjectWords[] = {"menuitem", "mainmenubaritem", "stdbutton", "mainmenubarbutton",
                                    "button",   "caption",         "animate",   "userobject"};

// A value of the key's codec that no default has, different for each key index i.
String DistinctValue(const TbsSkinKeys::Key& k, int i)
{
    const int n = i * 5 + 1;
    switch (k.Codec) {
    case TbsKeyCodec::Integer: return IntToStr(1000 + n);
    case TbsKeyCodec::Boolean: return L"1";
    case TbsKeyCodec::Point: return IntToStr(n) + L"," + IntToStr(n + 1);
    case TbsKeyCodec::Rect:
    case TbsKeyCodec::RectOrFallback:
        return IntToStr(n) + L"," + IntToStr(n + 1) + L"," + IntToStr(n + 22) + L"," + IntToStr(n + 33);
    case TbsKeyCodec::Text: return L"text" + IntToStr(n);
    case TbsKeyCodec::FontStyle: return L"fsitalic,fsstrikeout";
    case TbsKeyCodec::Alignment: return L"taleftjustify";
    case TbsKeyCodec::StretchType: return L"stvert";
    case TbsKeyCodec::InActiveEffect: return L"ienoise";
    case TbsKeyCodec::MorphKind: return L"mkrightslide";
    case TbsKeyCodec::Command: return L"cmrollup";
    }
    return L"?";
}

// Writes the section of a record: every key of its table with a distinct value, except where a
// class's own rule fixes the value (an up-down's geometry, an animation's morphing).
void WriteDistinctSection(TCustomIniFile* ini, const String& section, const TbsSkinKeys& keys, const std::string& word)
{
    for (int i = 0; i < keys.Count(); ++i) {
        const TbsSkinKeys::Key& k = keys.Items()[static_cast<size_t>(i)];
        String v = DistinctValue(k, i);
        const String name = k.Name;
        if (word == "updown" && (k.Codec == TbsKeyCodec::Point || name == L"clientrect"))
            v = k.Codec == TbsKeyCodec::Point ? L"0,0" : L"0,0,0,0";
        if (word == "animate" && name == L"morphing") v = L"0";
        ini->WriteString(section, name, v);
    }
}

std::wstring SectionText(TCustomIniFile* ini, const String& section)
{
    TStringList values;
    ini->ReadSectionValues(section, &values);
    std::wstring out;
    for (int i = 0; i < values.Count(); ++i) out += values[i] + L"\n";
    return out;
}

// One record of any family, seen through the three things the tests need.
struct AnyRecord {
    std::function<void(TbsSkinKeys&)> keys;
    std::function<void(TCustomIniFile*)> load, save;
    String section;
};

AnyRecord Control(TbsDataSkinControl* r)
{
    return {[r](TbsSkinKeys& k) { r->DefineKeys(k); }, [r](TCustomIniFile* i) { r->LoadFromFile(i); },
            [r](TCustomIniFile* i) { r->SaveToFile(i); }, r->IDName};
}
AnyRecord Object(TbsDataSkinObject* r)
{
    return {[r](TbsSkinKeys& k) { r->DefineKeys(k); }, [r](TCustomIniFile* i) { r->LoadFromFile(i); },
            [r](TCustomIniFile* i) { r->SaveToFile(i); }, r->IDName};
}
template <class R>
AnyRecord Window(R* r, const wchar_t* section)
{
    return {[r](TbsSkinKeys& k) { r->DefineKeys(k); }, [r](TCustomIniFile* i) { r->LoadFromFile(i); },
            [r](TCustomIniFile* i) { r->SaveToFile(i); }, section};
}

// The record declares exactly the expected keys, in order; a section of distinct values loaded and
// written again comes back line for line.
void ExpectRoundTrip(const AnyRecord& r, const std::string& word, const skin_keys::Keys& expectedKeys)
{
    TbsSkinKeys keys;
    r.keys(keys);
    skin_keys::Keys names;
    for (const TbsSkinKeys::Key& k : keys.Items()) names.push_back(StringToUtf8(k.Name));
    EXPECT_EQ(names, expectedKeys) << word;
    TMemIniFile in(String{});
    WriteDistinctSection(&in, r.section, keys, word);
    r.load(&in);
    TMemIniFile out(String{});
    // Every writer but the colours' erases its section first (the model erases "SKINCOLORS").
    if (word != "SKINCOLORS") out.WriteString(r.section, L"stale", L"1");
    r.save(&out);
    EXPECT_EQ(SectionText(&out, r.section), SectionText(&in, r.section)) << word;
}

}  // namespace

TEST(SkinRecords, EveryClassRoundTripsItsOwnKeys)
{
    for (const char* word : kControlWords) {
        std::unique_ptr<TbsDataSkinControl> r(CreateSkinControlRecord(Utf8ToString(word), L"rec"));
        ASSERT_TRUE(r) << word;
        EXPECT_STREQ(SkinControlTypeWord(r.get()), Utf8ToString(word).c_str());
        ExpectRoundTrip(Control(r.get()), word, skin_keys::ControlKeys().at(word));
    }
    for (const char* word : kObjectWords) {
        std::unique_ptr<TbsDataSkinObject> r(CreateSkinObjectRecord(Utf8ToString(word), L"rec"));
        ASSERT_TRUE(r) << word;
        EXPECT_STREQ(SkinObjectTypeWord(r.get()), Utf8ToString(word).c_str());
        ExpectRoundTrip(Object(r.get()), word, skin_keys::ObjectKeys().at(word));
    }
    TbsDataSkinPopupWindow popup;
    TbsDataSkinHintWindow hint;
    TbsDataSkinLayerFrame layer;
    TbsSkinColors colors;
    ExpectRoundTrip(Window(&popup, L"POPUPWINDOW"), "POPUPWINDOW", skin_keys::kWindow_POPUPWINDOW);
    ExpectRoundTrip(Window(&hint, L"HINTWINDOW"), "HINTWINDOW", skin_keys::kWindow_HINTWINDOW);
    ExpectRoundTrip(Window(&layer, L"LAYERFRAME"), "LAYERFRAME", skin_keys::kWindow_LAYERFRAME);
    ExpectRoundTrip(Window(&colors, L"SKINCOLORS"), "SKINCOLORS", skin_keys::kWindow_SKINCOLORS);
    TbsDataSkinControl base(L"b");
    TbsDataSkinCustomControl custom(L"c");
    TbsDataSkinObject object(L"o");
    ExpectRoundTrip(Control(&base), "control base", skin_keys::kControlBase);
    ExpectRoundTrip(Control(&custom), "custom control base",
                    skin_keys::Join({skin_keys::kControlBase, skin_keys::kCustomGeometry}));
    ExpectRoundTrip(Object(&object), "object base", skin_keys::kObjectBase);
}

// The base of the menu bar item records has no word of its own; its table is the item's.
TEST(SkinRecords, MainMenuItemBaseKeys)
{
    TbsDataSkinMainMenuItem item(L"m");
    TbsSkinKeys keys;
    item.DefineKeys(keys);
    skin_keys::Keys names;
    for (const TbsSkinKeys::Key& k : keys.Items()) names.push_back(StringToUtf8(k.Name));
    EXPECT_EQ(names, skin_keys::ObjectKeys().at("mainmenubaritem"));
}

// What a loaded record holds where the key default and the constructor differ.
TEST(SkinRecords, KeyDefaultsNotConstructorValues)
{
    struct Case {
        const char* word;
        const char* field;
        std::function<std::wstring(TbsDataSkinControl*)> get;
        std::wstring constructed, loaded;
    };
    auto i = [](int v) { return std::to_wstring(v); };
    const Case cases[] = {
        {"panel", "GripperTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinPanelControl*>(r)->GripperTransparentColor); },
         i(0xFF00FF), i(0)},
        {"panel", "ButtonTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinPanelControl*>(r)->ButtonTransparentColor); },
         i(0xFF00FF), i(0)},
        {"splitter", "GripperTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinSplitterControl*>(r)->GripperTransparentColor); },
         i(0xFF00FF), i(0)},
        {"scrollbar", "ThumbTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinScrollBarControl*>(r)->ThumbTransparentColor); },
         i(0xFF00FF), i(0)},
        {"scrollbar", "GlyphTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinScrollBarControl*>(r)->GlyphTransparentColor); },
         i(0xFF00FF), i(0)},
        {"trackbar", "ButtonTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinTrackBarControl*>(r)->ButtonTransparentColor); },
         i(0xFF00FF), i(0)},
        {"gauge", "ProgressTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinGaugeControl*>(r)->ProgressTransparentColor); },
         i(0xFF00FF), i(0)},
        {"tab", "DividerTransparentColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinTabControl*>(r)->DividerTransparentColor); },
         i(0xFF00FF), i(0)},
        {"treeview", "BGColor", [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinTreeView*>(r)->BGColor); },
         i(0xFFFFFF), i(0)},
        {"listview", "BGColor", [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinListView*>(r)->BGColor); },
         i(0xFFFFFF), i(0)},
        {"richedit", "FontHeight",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinRichEdit*>(r)->FontHeight); }, i(14), i(13)},
        {"stdlabel", "ActiveFontColor",
         [&](TbsDataSkinControl* r) { return i(static_cast<TbsDataSkinStdLabelControl*>(r)->ActiveFontColor); },
         i(0xFF0000), i(0xFF0000)},
        {"listbox", "scroll bar names",
         [](TbsDataSkinControl* r) {
             auto* l = static_cast<TbsDataSkinListBox*>(r);
             return l->VScrollBarName + L"|" + l->HScrollBarName + L"|" + l->BothScrollBarName;
         },
         L"||", L"vscrollbar|hscrollbar|bothhscrollbar"},
        {"appmenu", "item offsets",
         [](TbsDataSkinControl* r) {
             auto* a = static_cast<TbsDataSkinAppMenu*>(r);
             return std::to_wstring(a->ItemOffset1) + L"," + std::to_wstring(a->ItemOffset2) + L"," +
                    std::to_wstring(a->PageItemOffset1) + L"," + std::to_wstring(a->PageItemOffset2) + L"," +
                    std::to_wstring(a->FontPageHeight) + L"," + a->FontName;
         },
         L"0,0,0,0,0,", L"3,3,10,10,16,Tahoma"},
        {"controlbar", "item offsets",
         [](TbsDataSkinControl* r) {
             auto* c = static_cast<TbsDataSkinControlBar*>(r);
             return std::to_wstring(c->ItemOffset1) + L"," + std::to_wstring(c->ItemOffset2);
         },
         L"0,0", L"3,3"},
        {"button", "AnimateInterval, glow alpha",
         [](TbsDataSkinControl* r) {
             auto* b = static_cast<TbsDataSkinButtonControl*>(r);
             return std::to_wstring(b->AnimateInterval) + L"," + std::to_wstring(b->GlowLayerAlphaBlendValue);
         },
         L"0,255", L"25,255"},
        {"combobox", "ListBoxName",
         [](TbsDataSkinControl* r) { return static_cast<TbsDataSkinComboBox*>(r)->ListBoxName + L"."; }, L".", L"."},
        {"bevel", "colours",
         [&](TbsDataSkinControl* r) {
             auto* b = static_cast<TbsDataSkinBevel*>(r);
             return i(b->LightColor) + L"," + i(b->DarkColor);
         },
         L"0,0", L"0,0"},
    };
    for (const Case& c : cases) {
        for (const char* source : {"[rec]\n", "[other]\nx=1\n"}) {
            std::unique_ptr<TbsDataSkinControl> r(CreateSkinControlRecord(Utf8ToString(c.word), L"rec"));
            EXPECT_EQ(c.get(r.get()), c.constructed) << c.word << " " << c.field;
            TMemIniFile ini(String{});
            SetSkinIniText(ini, source);
            r->LoadFromFile(&ini);
            EXPECT_EQ(c.get(r.get()), c.loaded) << c.word << " " << c.field << " from " << source;
            EXPECT_EQ(r->PictureIndex, -1);
            EXPECT_EQ(r->MaskPictureIndex, -1);
        }
    }
}

TEST(SkinRecords, ObjectAndWindowDefaults)
{
    TMemIniFile ini(String{});
    SetSkinIniText(ini, "[anim]\n[cap]\n");
    // The same key defaults from sections without keys and from missing sections.
    for (const char* suffix : {"", "-missing"}) {
        SCOPED_TRACE(suffix);
        TbsDataSkinAnimate anim(String(L"anim") + Utf8ToString(suffix));
        EXPECT_EQ(anim.CountFrames, 0);
        anim.LoadFromFile(&ini);
        EXPECT_EQ(anim.CountFrames, 1);
        EXPECT_EQ(anim.TimerInterval, 50);
        EXPECT_EQ(anim.Command, cmDefault);
        EXPECT_EQ(anim.GlowLayerAlphaBlendValue, 255);
        TbsDataSkinCaption cap(String(L"cap") + Utf8ToString(suffix));
        cap.LoadFromFile(&ini);
        EXPECT_EQ(cap.GlowSize, 3);
        EXPECT_EQ(cap.AnimateInterval, 25);
        EXPECT_EQ(cap.QuickButtonAlphaMaskPictureIndex, -1);
        EXPECT_EQ(cap.Alignment, taCenter);
        EXPECT_EQ(cap.FontName, L"Tahoma");
    }

    // Skin colours: 0 until the model first clears or loads, then the system colours.
    TbsSkinData d(nullptr);
    EXPECT_EQ(d.SkinColors()->cBtnFace(), 0);
    EXPECT_EQ(d.SkinColors()->cBtnShadow(), 0);
    d.ClearAll();
    EXPECT_EQ(d.SkinColors()->cBtnFace(), clBtnFace);
    EXPECT_EQ(d.SkinColors()->cHighLightText(), clHighlightText);
    TbsSkinColors colors;
    colors.LoadFromFile(&ini);
    EXPECT_EQ(colors.cBtnShadow(), -16777200);
    EXPECT_EQ(colors.cWindow(), -16777211);
    TMemIniFile other(String{});
    other.WriteString(L"SKINCOLORS", L"mine", L"1");
    colors.SaveToFile(&other);  // no erase: the model erases the section itself
    EXPECT_EQ(other.ReadString(L"SKINCOLORS", L"mine", L""), L"1");
    EXPECT_EQ(other.ReadString(L"SKINCOLORS", L"cbtnface", L""), L"-16777201");
}

TEST(SkinRecords, SpecialRules)
{
    struct Case {
        const char* name;
        std::string section;  // of record "r"
        const char* word;     // object words start with "o:"
        std::function<std::string(TObject*)> loaded;
        std::string want;
        std::vector<std::string> written;  // key=value lines the save must hold
    };
    auto obj = [](TObject* o) { return static_cast<TbsDataSkinObject*>(o); };
    auto cmd = [](TObject* o) {
        if (auto* s = dynamic_cast<TbsDataSkinStdButton*>(o))
            return std::to_string(s->Command) + "|" + StringToUtf8(s->RestoreHint);
        auto* a = static_cast<TbsDataSkinAnimate*>(o);
        return std::to_string(a->Command) + "|" + StringToUtf8(a->RestoreHint);
    };
    const Case cases[] = {
        {"updown geometry",
         "lefttoppoint=4,4\nclientrect=2,2,10,10\nrightbottompoint=3,3\n",
         "updown",
         [](TObject* o) {
             auto* u = static_cast<TbsDataSkinUpDownControl*>(o);
             return StringToUtf8(PointToStr(u->LTPoint) + L" " + RectToStr(u->ClRect) + L" " + PointToStr(u->RBPoint));
         },
         "0,0 0,0,0,0 0,0",
         {"lefttoppoint=0,0", "clientrect=0,0,0,0"}},
        {"animate never morphs",
         "morphing=1\n",
         "o:animate",
         [obj](TObject* o) { return std::to_string(obj(o)->Morphing); },
         "0",
         {"morphing=0"}},
        {"command cmclose", "command=cmclose\n", "o:stdbutton", cmd, "0|", {"command=cmclose"}},
        {"command CmClose", "command=CmClose\n", "o:stdbutton", cmd, "6|", {"command=cmminimizetotray"}},
        {"command cmminimizetotray", "command=cmminimizetotray\n", "o:animate", cmd, "6|", {}},
        {"command missing", "", "o:mainmenubarbutton", cmd, "4|", {"command=cmdefault"}},
        {"restore hint Maximize",
         "hint=Maximize\ncommand=cmmaximize\n",
         "o:stdbutton",
         cmd,
         "1|Restore",
         {"restorehint=Restore"}},
        {"restore hint maximize", "hint=maximize\ncommand=cmmaximize\n", "o:stdbutton", cmd, "1|", {}},
        {"restore hint Minimize", "hint=Minimize\ncommand=cmminimize\n", "o:animate", cmd, "2|Restore", {}},
        {"restore hint Roll Up", "hint=Roll Up\ncommand=cmrollup\n", "o:stdbutton", cmd, "5|Restore", {}},
        {"restore hint RollUp", "hint=RollUp\ncommand=cmrollup\n", "o:stdbutton", cmd, "5|Restore", {}},
        {"restore hint of another command", "hint=Maximize\ncommand=cmclose\n", "o:stdbutton", cmd, "0|", {}},
        {"restore hint given",
         "hint=Maximize\ncommand=cmmaximize\nrestorehint=Back\n",
         "o:stdbutton",
         cmd,
         "1|Back",
         {}},
        {"menu item active marks",
         "checkimagerect=1,1,5,5\nactivecheckimagerect=0,0,0,9\narrowimagerect=2,2,6,6\n",
         "o:menuitem",
         [](TObject* o) {
             auto* m = static_cast<TbsDataSkinMenuItem*>(o);
             return StringToUtf8(RectToStr(m->ActiveCheckImageRect) + L" " + RectToStr(m->ActiveArrowImageRect) + L" " +
                                 RectToStr(m->ActiveRadioImageRect));
         },
         "1,1,5,5 2,2,6,6 0,0,0,0",
         {"arrowimagerect=2,2,6,6", "activearrowimagerect=2,2,6,6"}},
        {"userobject reads only its rect",
         "skinrect=1,2,3,4\nhint=h\nactivepictureindex=3\nmorphing=1\n",
         "o:userobject",
         [obj](TObject* o) {
             return StringToUtf8(RectToStr(obj(o)->SkinRect) + L" " + obj(o)->Hint + L" " +
                                 IntToStr(obj(o)->ActivePictureIndex));
         },
         "1,2,3,4  -1",
         {"skinrect=1,2,3,4"}},
        {"misspelt keys",
         "disableskinrsect=1,1,2,2\n",
         "o:button",
         [](TObject* o) { return StringToUtf8(RectToStr(static_cast<TbsDataSkinButton*>(o)->DisableSkinRect)); },
         "1,1,2,2",
         {"disableskinrsect=1,1,2,2"}},
        {"misspelt caption keys",
         "reflactioncolor=7\nreflactionactivecolor=8\n",
         "o:caption",
         [](TObject* o) {
             auto* c = static_cast<TbsDataSkinCaption*>(o);
             return std::to_string(c->ReflectionColor) + "," + std::to_string(c->ReflectionActiveColor);
         },
         "7,8",
         {"reflactioncolor=7", "reflactionactivecolor=8"}},
        {"misspelt menu bar item key",
         "unenabledfontcolor=9\n",
         "o:mainmenubaritem",
         [](TObject* o) { return std::to_string(static_cast<TbsDataSkinMainMenuItem*>(o)->UnEnabledFontColor); },
         "9",
         {"unenabledfontColor=9"}},
    };
    for (const Case& c : cases) {
        TMemIniFile in(String{});
        SetSkinIniText(in, "[r]\n" + c.section);
        TMemIniFile out(String{});
        std::string got;
        const std::string word = c.word;
        if (word.rfind("o:", 0) == 0) {
            std::unique_ptr<TbsDataSkinObject> r(CreateSkinObjectRecord(Utf8ToString(word.substr(2)), L"r"));
            r->LoadFromFile(&in);
            got = c.loaded(r.get());
            r->SaveToFile(&out);
        } else {
            std::unique_ptr<TbsDataSkinControl> r(CreateSkinControlRecord(Utf8ToString(word), L"r"));
            r->LoadFromFile(&in);
            got = c.loaded(r.get());
            r->SaveToFile(&out);
        }
        EXPECT_EQ(got, c.want) << c.name;
        TStringList lines;
        out.ReadSectionValues(L"r", &lines);
        for (const std::string& w : c.written) EXPECT_GE(lines.IndexOf(Utf8ToString(w)), 0) << c.name << ": " << w;
        if (word == "o:userobject") {
            EXPECT_EQ(lines.Count(), 1);
        }
    }
}

TEST(SkinRecords, WrittenUnderTheirOwnWordsAndNames)
{
    TbsSkinData d(nullptr);
    for (const char* w : {"menubutton", "button", "memo", "edit", "checklistbox", "listbox"})
        d.CtrlList.push_back(CreateSkinControlRecord(Utf8ToString(w), Utf8ToString(w)));
    for (const char* w : {"mainmenubarbutton", "stdbutton", "button", "mainmenubaritem"})
        d.ObjectList.push_back(CreateSkinObjectRecord(Utf8ToString(w), Utf8ToString(w)));
    auto* first = new TbsDataSkinButtonControl(L"twin");
    auto* second = new TbsDataSkinButtonControl(L"twin");
    first->FontHeight = 10;
    second->FontHeight = 20;
    d.CtrlList.push_back(first);
    d.CtrlList.push_back(second);
    TMemIniFile ini(String{});
    d.WriteSkinControls(&ini);
    d.WriteSkinObjects(&ini);
    TStringList lines;
    ini.ReadSectionValues(L"SKINCONTROLS", &lines);
    EXPECT_EQ(lines.CommaText(),
              L"count=8,0=menubutton:menubutton,1=button:button,2=memo:memo,3=edit:edit,"
              L"4=checklistbox:checklistbox,5=listbox:listbox,6=twin:button,7=twin:button");
    ini.ReadSectionValues(L"SKINOBJECTS", &lines);
    EXPECT_EQ(lines.CommaText(),
              L"count=4,0=mainmenubarbutton:mainmenubarbutton,1=stdbutton:stdbutton,"
              L"2=button:button,3=mainmenubaritem:mainmenubaritem");
    EXPECT_EQ(ini.ReadString(L"twin", L"fontheight", L""), L"20");  // the second one's section
    EXPECT_EQ(d.GetControlIndex(L"twin"), 6);
    EXPECT_EQ(ini.ReadString(L"checklistbox", L"checkimagerect", L"none"), L"0,0,0,0");
    EXPECT_EQ(ini.ReadString(L"listbox", L"checkimagerect", L"none"), L"none");
}

TEST(SkinRecords, ResizeModes)
{
    struct Case {
        TRect skin;
        TPoint lt, rt, lb, rb;
        int mode;
    };
    const Case cases[] = {
        {Rect(0, 0, 0, 10), {}, {}, {}, Point(3, 5), -1},
        {Rect(0, 0, 10, 10), {}, {}, {}, Point(3, 5), 1},
        {Rect(0, 0, 10, 10), {}, Point(3, 0), {}, Point(0, 5), 2},
        {Rect(0, 0, 10, 10), Point(2, 2), {}, Point(0, 7), {}, 3},
        {Rect(0, 0, 10, 10), Point(2, 2), {}, {}, {}, 0},
    };
    for (const Case& c : cases) {
        TbsDataSkinCustomControl r(L"r");
        r.SkinRect = c.skin;
        r.LTPoint = c.lt;
        r.RTPoint = c.rt;
        r.LBPoint = c.lb;
        r.RBPoint = c.rb;
        EXPECT_EQ(r.ResizeMode(), c.mode) << c.mode;
    }
}

TEST(SkinRecords, TabFillsItsCloseButtonLooks)
{
    TMemIniFile ini(String{});
    SetSkinIniText(ini, "[tab]\ncloserect=0\nclosebuttonrect=1,1,9,9\n");
    TbsDataSkinTabControl tab(L"tab");
    tab.LoadFromFile(&ini);
    tab.FillCloseButtonRects();
    TMemIniFile out(String{});
    tab.SaveToFile(&out);
    EXPECT_EQ(out.ReadString(L"tab", L"closebuttonactiverect", L""), L"1,1,9,9");
    EXPECT_EQ(out.ReadString(L"tab", L"closebuttondownrect", L""), L"1,1,9,9");
    tab.CloseButtonActiveRect = Rect(2, 2, 4, 4);
    tab.CloseButtonDownRect = TRect{};
    tab.FillCloseButtonRects();
    EXPECT_EQ(tab.CloseButtonDownRect, Rect(2, 2, 4, 4));
}

TEST(SkinRecords, GlobalChangeFontReachesEveryFontBearingRecord)
{
    TbsSkinData d(nullptr);
    const char* fonted[] = {"treeview", "listview",     "richedit",   "tab",        "grid",  "appmenu",  "combobox",
                            "listbox",  "checklistbox", "spinedit",   "edit",       "memo",  "stdlabel", "label",
                            "gauge",    "button",       "menubutton", "checkradio", "panel", "expanel"};
    for (const char* w : fonted) d.CtrlList.push_back(CreateSkinControlRecord(Utf8ToString(w), L"r"));
    d.CtrlList.push_back(CreateSkinControlRecord(L"slider", L"untouched"));
    for (const char* w : {"menuitem", "mainmenubaritem", "caption", "stdbutton"})
        d.ObjectList.push_back(CreateSkinObjectRecord(Utf8ToString(w), L"o"));
    TMemIniFile empty(String{});
    for (auto* r : d.CtrlList) r->LoadFromFile(&empty);
    for (auto* r : d.ObjectList) r->LoadFromFile(&empty);

    d.GlobalChangeFont(L"Arial", 2);
    EXPECT_EQ(d.HintWindow->FontName, L"Arial");
    EXPECT_EQ(d.HintWindow->FontHeight, 15);
    for (auto* r : d.CtrlList) {
        TbsSkinKeys keys;
        r->DefineKeys(keys);
        for (const auto& k : keys.Items()) {
            const String name = k.Name;
            if (name == L"fontname" || name == L"fixedfontname" || name == L"captionfontname") {
                EXPECT_EQ(*static_cast<String*>(k.Field), L"Arial") << SkinControlTypeWord(r) << " " << k.Name;
            }
            if (name == L"fontheight" || name == L"fixedfontheight" || name == L"captionfontheight") {
                EXPECT_EQ(*static_cast<int*>(k.Field), 15) << SkinControlTypeWord(r) << " " << k.Name;
            }
            if (name == L"fontpageheight") {
                EXPECT_EQ(*static_cast<int*>(k.Field), 16);  // only the main height is corrected
            }
        }
    }
    for (auto* r : d.ObjectList) {
        TbsSkinKeys keys;
        r->DefineKeys(keys);
        for (const auto& k : keys.Items())
            if (String(k.Name) == L"fontname") {
                EXPECT_EQ(*static_cast<String*>(k.Field), L"Arial");
            }
    }
}

// A skin with every control word, object word and window section, each with distinct values,
// loads and saves unchanged.
TEST(SkinRecords, FullSkinLoadsAndSavesUnchanged)
{
    TMemIniFile ini(String{});
    TbsSkinData fresh(nullptr);
    fresh.SkinName = L"Full";
    fresh.WriteSkin(&ini);  // the model's own sections, in their order
    ini.EraseSection(L"POPUPWINDOW");
    ini.EraseSection(L"LAYERFRAME");
    ini.EraseSection(L"HINTWINDOW");
    ini.EraseSection(L"SKINCOLORS");
    ini.EraseSection(L"SKINOBJECTS");
    ini.EraseSection(L"SKINCONTROLS");
    TbsDataSkinPopupWindow popup;
    TbsDataSkinHintWindow hint;
    TbsDataSkinLayerFrame layer;
    TbsSkinColors colors;
    for (auto [r, section] :
         std::initializer_list<std::pair<AnyRecord, const wchar_t*>>{{Window(&popup, L"POPUPWINDOW"), L"POPUPWINDOW"},
                                                                     {Window(&layer, L"LAYERFRAME"), L"LAYERFRAME"},
                                                                     {Window(&hint, L"HINTWINDOW"), L"HINTWINDOW"},
                                                                     {Window(&colors, L"SKINCOLORS"), L"SKINCOLORS"}}) {
        TbsSkinKeys keys;
        r.keys(keys);
        WriteDistinctSection(&ini, section, keys, "");
    }
    auto list = [&](const wchar_t* section, const std::vector<const char*>& words, auto create) {
        ini.WriteInteger(section, L"count", static_cast<int>(words.size()));
        int i = 0;
        for (const char* w : words) {
            const String name = String(section) + L"_" + Utf8ToString(w);
            ini.WriteString(section, IntToStr(i++), name + L":" + Utf8ToString(w));
            auto r = create(Utf8ToString(w), name);
            TbsSkinKeys keys;
            r->DefineKeys(keys);
            WriteDistinctSection(&ini, name, keys, w);
        }
    };
    list(L"SKINOBJECTS", {std::begin(kObjectWords), std::end(kObjectWords)}, [](const String& w, const String& n) {
        return std::unique_ptr<TbsDataSkinObject>(CreateSkinObjectRecord(w, n));
    });
    list(L"SKINCONTROLS", {std::begin(kControlWords), std::end(kControlWords)}, [](const String& w, const String& n) {
        return std::unique_ptr<TbsDataSkinControl>(CreateSkinControlRecord(w, n));
    });
    SkinFolder f;
    const std::string text = SkinIniBytes(ini);
    f.Text("full.ini", text);
    TbsSkinData d(nullptr);
    d.LoadFromFile(f.File("full.ini"));
    EXPECT_EQ(d.ObjectList.size(), std::size(kObjectWords));
    EXPECT_EQ(d.CtrlList.size(), std::size(kControlWords));
    f.Text("saved.ini", "");
    d.SaveToFile(f.File("saved.ini"));
    EXPECT_EQ(ReadBytes(f.dir.file("saved.ini")), text);
}
