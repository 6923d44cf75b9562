// The skin INI: value codecs, the record lists, the form geometry's derivations and the text form.
#include "skin/core/skin_ini.h"

#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/string_list.h"
#include "skin/core/control_records.h"
#include "skin/core/object_records.h"
#include "skin_model_test_support.h"

namespace {

// Reads key "k" of section "s" with the named codec and describes the result as text.
std::string ReadAs(const std::string& codec, TCustomIniFile* ini)
{
    const String s = L"s", k = L"k";
    if (codec == "integer") return std::to_string(ini->ReadInteger(s, k, -7));
    if (codec == "boolean") return ReadBoolean(ini, s, k) ? "1" : "0";
    if (codec == "point") return StringToUtf8(PointToStr(ReadPoint(ini, s, k)));
    if (codec == "rect") return StringToUtf8(RectToStr(ReadRect(ini, s, k)));
    if (codec == "fontstyle") return std::to_string(ReadFontStyles(ini, s, k).Bits());
    if (codec == "alignment") return std::to_string(ReadAlignment(ini, s, k));
    if (codec == "stretch") return std::to_string(ReadStretchType(ini, s, k));
    if (codec == "effect") return std::to_string(ReadInActiveEffect(ini, s, k));
    if (codec == "morph") return std::to_string(ReadMorphKind(ini, s, k));
    if (codec == "command") return std::to_string(ReadStdCommand(ini, s, k));
    return "?";
}

// The lines of a list joined by "|".
std::wstring Joined(const TStrings& l)
{
    std::wstring out;
    for (int i = 0; i < l.Count(); ++i) out += (i ? L"|" : L"") + l.Get(i);
    return out;
}

}  // namespace

TEST(SkinIni, Codecs)
{
    struct Case {
        const char* value;  // nullptr: the key is absent
        const char* codec;
        const char* want;  // "error" when the read raises EConvertError
    };
    const Case cases[] = {
        {"0x10", "integer", "16"},
        {"-12", "integer", "-12"},
        {"12x", "integer", "-7"},
        {nullptr, "integer", "-7"},
        {"1", "boolean", "1"},
        {"0x1", "boolean", "1"},
        {"2", "boolean", "0"},
        {"true", "boolean", "0"},
        {nullptr, "boolean", "0"},
        {"5,3", "point", "5,3"},
        {"-5,3", "point", "-5,3"},
        {"x-5,3-", "point", "-5,3"},
        {"1 0,2x0", "point", "10,20"},
        {nullptr, "point", "0,0"},
        {"7", "point", "error"},
        {"", "point", "error"},
        {"-3,4,10,20", "rect", "-3,4,10,20"},
        {"2147483647,-2147483648,0,0", "rect", "2147483647,-2147483648,0,0"},
        {"1,2,,4", "rect", "error"},
        {"99999999999,0,1,1", "rect", "error"},
        {"2147483648,0,1,1", "rect", "error"},
        {"-,0,1,1", "rect", "error"},
        {nullptr, "rect", "0,0,0,0"},
        {"fsbold,fsunderline", "fontstyle", "5"},
        {"fsbolditalic", "fontstyle", "1"},
        {"fsstrikeout fsitalic", "fontstyle", "10"},
        {nullptr, "fontstyle", "0"},
        {nullptr, "alignment", "2"},
        {"taleftjustify", "alignment", "0"},
        {"tarightjustify", "alignment", "1"},
        {"TACENTER", "alignment", "1"},
        {nullptr, "stretch", "0"},
        {"stvert", "stretch", "2"},
        {"STFULL", "stretch", "1"},
        {"anything", "stretch", "1"},
        {nullptr, "effect", "0"},
        {"ieinvert", "effect", "5"},
        {"iebright", "effect", "2"},
        {"mkpush", "morph", "6"},
        {"MKPUSH", "morph", "0"},
        {nullptr, "morph", "0"},
        {"cmclose", "command", "0"},
        {"cmrollup", "command", "5"},
        {"CmClose", "command", "6"},
        {"cmminimizetotray", "command", "6"},
        {nullptr, "command", "4"},
    };
    for (const Case& c : cases) {
        TMemIniFile ini(String{});
        if (c.value) ini.WriteString(L"s", L"k", Utf8ToString(c.value));
        std::string got;
        try {
            got = ReadAs(c.codec, &ini);
        } catch (const EConvertError&) {
            got = "error";
        }
        EXPECT_EQ(got, c.want) << c.codec << " " << (c.value ? c.value : "(absent)");
    }
}

TEST(SkinIni, WritersGiveTheWordsReadersTake)
{
    TMemIniFile ini(String{});
    WriteRect(&ini, L"s", L"r", Rect(-3, 4, 10, 20));
    WritePoint(&ini, L"s", L"p", Point(-1, -2));
    WriteBoolean(&ini, L"s", L"b", true);
    WriteFontStyles(&ini, L"s", L"f", TFontStyles{fsStrikeOut, fsBold});
    WriteFontStyles(&ini, L"s", L"n", TFontStyles{});
    WriteAlignment(&ini, L"s", L"a", taRightJustify);
    WriteStretchType(&ini, L"s", L"t", bsstHorz);
    WriteInActiveEffect(&ini, L"s", L"e", ieSplitBlur);
    WriteMorphKind(&ini, L"s", L"m", mkRightSlide);
    WriteStdCommand(&ini, L"s", L"c", cmMinimizeToTray);
    TStringList values;
    ini.ReadSectionValues(L"s", &values);
    EXPECT_EQ(Joined(values),
              L"r=-3,4,10,20|p=-1,-2|b=1|f=fsbold,fsstrikeout|n=|a=tarightjustify|t=sthorz|"
              L"e=iesplitblur|m=mkrightslide|c=cmminimizetotray");
    EXPECT_EQ(ReadRect(&ini, L"s", L"r"), Rect(-3, 4, 10, 20));  // a written skin reads back the same
    EXPECT_EQ(ReadPoint(&ini, L"s", L"p"), Point(-1, -2));
}

TEST(SkinIni, StringLists)
{
    TMemIniFile ini(String{});
    ini.WriteString(L"PICTURES", L"activepicturescount", L"3");
    ini.WriteString(L"PICTURES", L"0", L"a.bmp");
    ini.WriteString(L"PICTURES", L"2", L"c.bmp");
    TStringList list;
    list.Add(L"kept");
    ReadStrings(&ini, L"PICTURES", L"activepictures", &list);
    EXPECT_EQ(Joined(list), L"kept|a.bmp||c.bmp");
    // A count past the numbered keys promises empty items, and gets them.
    ini.WriteString(L"PICTURES", L"activepicturescount", L"5");
    TStringList longer;
    ReadStrings(&ini, L"PICTURES", L"activepictures", &longer);
    EXPECT_EQ(Joined(longer), L"a.bmp||c.bmp||");
    TMemIniFile huge(String{});
    SetSkinIniText(huge,
                   "[P]\nactivepicturescount=2000000000\n0=a.bmp\n"
                   "[SKINCONTROLS]\ncount=2147483647\n1=b:button\n");
    TStringList one;
    // A crafted count neither spins nor fills memory: the reader refuses it.
    EXPECT_THROW(ReadStrings(&huge, L"P", L"activepictures", &one), EbsSkinDataError);
    EXPECT_EQ(one.Count(), 0);
    TbsSkinData d(nullptr);
    d.ReadSkinControls(&huge);
    EXPECT_EQ(d.CtrlList.size(), 1u);

    TMemIniFile out(String{});
    WriteStrings(&out, L"x", L"names", &list);
    TStringList values;
    out.ReadSectionValues(L"x", &values);
    EXPECT_EQ(Joined(values), L"namescount=4|0=kept|1=a.bmp|2=|3=c.bmp");
}

TEST(SkinIni, RecordLists)
{
    TMemIniFile ini(String{});
    SetSkinIniText(ini,
                   "[SKINCONTROLS]\ncount=7\n0=first:button\n1=Big:Edit\n2=a:b:button\n3=nocolon\n"
                   "4=first:panel\n5=second:memo\n6=:label\n"
                   "[FIRST]\nskinrect=1,2,3,4\n"
                   "[SKINOBJECTS]\ncount=2\n0=cap:caption\n");
    TbsSkinData d(nullptr);
    d.ReadSkinControls(&ini);
    ASSERT_EQ(d.CtrlList.size(), 4u);  // "Edit", "b:button" and the line without a colon are skipped
    EXPECT_EQ(d.CtrlList[0]->IDName, L"first");
    EXPECT_EQ(d.CtrlList[0]->SkinRect, Rect(1, 2, 3, 4));  // section names ignore case
    EXPECT_STREQ(SkinControlTypeWord(d.CtrlList[1]), L"panel");
    EXPECT_EQ(d.CtrlList[1]->SkinRect, Rect(1, 2, 3, 4));
    EXPECT_STREQ(SkinControlTypeWord(d.CtrlList[2]), L"memo");
    EXPECT_EQ(d.CtrlList[3]->IDName, L"");
    EXPECT_EQ(d.GetControlIndex(L"first"), 0);  // the first of two records of one name
    EXPECT_EQ(d.GetControlIndex(L"First"), -1);
    d.ReadSkinObjects(&ini);  // count 2, one line: the second is empty and skipped
    ASSERT_EQ(d.ObjectList.size(), 1u);
    EXPECT_EQ(d.GetIndex(L"cap"), 0);
    EXPECT_EQ(d.GetControlIndex(L"cap"), -1);

    String name, type;
    TbsSkinData::SplitNameAndType(L"a:b:button", name, type);
    EXPECT_EQ(name + L"|" + type, L"a|b:button");
    TbsSkinData::SplitNameAndType(L"plain", name, type);
    EXPECT_EQ(name + L"|" + type, L"|");
}

TEST(SkinIni, FormInfoDerivations)
{
    struct Case {
        const char* name;
        std::string formInfo;
        bool mask;
        TRect maskArea;
        TPoint lt, rt, lb, rb, hitLT, hitRB;
    };
    const std::string corners =
        "lefttoppoint=1,1\nrighttoppoint=50,1\nleftbottompoint=1,40\n"
        "rightbottompoint=50,40\nclientrect=5,20,45,35\n";
    const Case cases[] = {
        {"no geometry, mask", "clientrect=5,20,45,35\n", true, Rect(5, 20, 45, 35), Point(0, 0), Point(0, 0),
         Point(0, 0), Point(0, 0), Point(0, 0), Point(0, 0)},
        {"clamped, mask area widened, hit-test corners filled",
         corners + "maskrectarea=10,0,40,30\nhittestlefttoppoint=3,0\nhittestrightbottompoint=44,33\n", true,
         Rect(5, 0, 45, 35), Point(5, 20), Point(45, 20), Point(5, 35), Point(45, 35), Point(1, 1), Point(44, 33)},
        {"clamped without a mask", corners + "maskrectarea=10,0,40,30\n", false, Rect(10, 0, 40, 30), Point(5, 20),
         Point(45, 20), Point(5, 35), Point(45, 35), Point(0, 0), Point(0, 0)},
        {"same x is degenerate", "lefttoppoint=7,1\nrightbottompoint=7,40\nclientrect=10,10,20,20\n", false,
         Rect(0, 0, 0, 0), Point(7, 1), Point(0, 0), Point(0, 0), Point(7, 40), Point(0, 0), Point(0, 0)},
    };
    for (const Case& c : cases) {
        TMemIniFile ini(String{});
        SetSkinIniText(ini, "[FORMINFO]\n" + c.formInfo);
        TbsSkinData d(nullptr);
        d.FMaskName = c.mask ? L"mask.bmp" : L"";
        d.ReadFormInfo(&ini);
        EXPECT_EQ(d.MaskRectArea, c.maskArea) << c.name;
        EXPECT_EQ(d.LTPoint, c.lt) << c.name;
        EXPECT_EQ(d.RTPoint, c.rt) << c.name;
        EXPECT_EQ(d.LBPoint, c.lb) << c.name;
        EXPECT_EQ(d.RBPoint, c.rb) << c.name;
        EXPECT_EQ(d.HitTestLTPoint, c.hitLT) << c.name;
        EXPECT_EQ(d.HitTestRBPoint, c.hitRB) << c.name;
    }
}

TEST(SkinIni, FormInfoDefaultsAndWordsRoundTrip)
{
    TMemIniFile ini(String{});
    SetSkinIniText(ini, "[FORMINFO]\nstretchtype=STFULL\ninactiveeffect=nope\nbuttonsinleft=2\nmainmenupopupup=true\n");
    TbsSkinData d(nullptr);
    d.ReadFormInfo(&ini);
    EXPECT_EQ(d.StretchType, bsstHorz);
    EXPECT_EQ(d.InActiveEffect, ieGrayScale);
    EXPECT_FALSE(d.CapButtonsInLeft);
    EXPECT_FALSE(d.MainMenuPopupUp);
    EXPECT_EQ(d.BGPictureIndex, -1);
    EXPECT_EQ(d.MDIBGStretchType, bsstFull);
    TMemIniFile out(String{});
    d.WriteFormInfo(&out);
    TStringList keys;
    out.ReadSection(L"FORMINFO", &keys);
    EXPECT_EQ(keys.Count(), 32);
    EXPECT_EQ(keys[0], L"lefttoppoint");
    EXPECT_EQ(keys[31], L"mainmenubartransparent");
    EXPECT_EQ(out.ReadString(L"FORMINFO", L"inactiveeffect", L""), L"iegrayscale");
}

TEST(SkinIni, TextFormIsUtf8WithCrLfAndNoMark)
{
    TMemIniFile ini(String{});
    SetSkinIniText(ini, "\xEF\xBB\xBF[A]\nk=\xE7\x9A\xAE\xE8\x82\xA4\n");
    EXPECT_EQ(ini.ReadString(L"A", L"k", L""), L"皮肤");
    EXPECT_EQ(SkinIniBytes(ini), "[A]\r\nk=\xE7\x9A\xAE\xE8\x82\xA4\r\n");
    SetSkinIniText(ini, std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xAE\x76\n\0", 18));
    EXPECT_EQ(ini.ReadString(L"A", L"k", L""), L"皮");
    SetSkinIniText(ini, "[A]\r\nk=\xC6\xA4\xB7\xF4\r\n");  // GBK
    EXPECT_EQ(ini.ReadString(L"A", L"k", L""), L"皮肤");
}

// The INI's bytes are made straight from its text; they must equal those of its lines.
TEST(SkinIni, BytesOfTheIniMatchThoseOfItsLines)
{
    TMemIniFile ini(String{});
    for (const char* text : {"", "[A]\nk=v\n", "; top\r\n[A]\r\nk=v\r\n\r\n[B]\r\n", "[A]\n\n\nx=\xE7\x9A\xAE\n"}) {
        SetSkinIniText(ini, text);
        ini.WriteString(L"A", L"multi", L"one\rtwo\nthree\r\nfour");  // a value with breaks of each kind
        TStringList lines;
        ini.GetStrings(&lines);
        EXPECT_EQ(SkinIniBytes(ini), SkinIniBytes(lines)) << text;
    }
}

TEST(SkinIni, SkinCheckNeedsTheFiveSections)
{
    TMemIniFile ini(String{});
    SetSkinIniText(ini, SkinIni());
    EXPECT_TRUE(SkinIniCheck(&ini));
    for (const wchar_t* s : {L"VERSION", L"PICTURES", L"FORMINFO", L"SKINOBJECTS", L"SKINCONTROLS"}) {
        TMemIniFile without(String{});
        SetSkinIniText(without, SkinIni());
        without.EraseSection(s);
        EXPECT_FALSE(SkinIniCheck(&without)) << StringToUtf8(s);
    }
}
