#include "skin/core/skin_ini.h"

#include <algorithm>
#include <climits>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/core/text_codec.h"
#include "skin/core/control_records.h"
#include "skin/core/object_records.h"
#include "skin/core/skin_data.h"
#include "skin/core/window_records.h"

namespace {

// One comma-separated field: the digits, negative when a minus sign comes before the first one.
int FieldToInt(const String& field)
{
    bool negative = false;
    bool digits = false;
    long long v = 0;
    for (wchar_t c : field) {
        if (c >= L'0' && c <= L'9') {
            digits = true;
            v = v * 10 + (c - L'0');
            if (v > static_cast<long long>(INT_MAX) + 1) break;
        } else if (c == L'-' && !digits) {
            negative = true;
        }
    }
    if (negative) v = -v;
    if (!digits || v > INT_MAX || v < INT_MIN) throw EConvertError(L"'" + field + L"' is not a valid integer value");
    return static_cast<int>(v);
}

// The first n comma-separated fields of S; missing ones are empty.
void SplitFields(const String& S, String* out, int n)
{
    size_t start = 0;
    for (int i = 0; i < n; ++i) {
        if (start > S.size()) {
            out[i].clear();
            continue;
        }
        const size_t comma = S.find(L',', start);
        out[i] = S.substr(start, comma == String::npos ? String::npos : comma - start);
        start = comma == String::npos ? S.size() + 1 : comma + 1;
    }
}

struct Word {
    const wchar_t* Text;
    int Value;
};

const Word kStretchWords[] = {{L"stfull", bsstFull}, {L"sthorz", bsstHorz}, {L"stvert", bsstVert}};
const Word kEffectWords[] = {{L"iebrightness", ieBrightness}, {L"iedarkness", ieDarkness},
                             {L"iegrayscale", ieGrayScale},   {L"ienoise", ieNoise},
                             {L"iesplitblur", ieSplitBlur},   {L"ieinvert", ieInvert}};
const Word kMorphWords[] = {{L"mkdefault", mkDefault},
                            {L"mkgradient", mkGradient},
                            {L"mkleftgradient", mkLeftGradient},
                            {L"mkrightgradient", mkRightGradient},
                            {L"mkleftslide", mkLeftSlide},
                            {L"mkrightslide", mkRightSlide},
                            {L"mkpush", mkPush}};
const Word kCommandWords[] = {{L"cmclose", cmClose},
                              {L"cmmaximize", cmMaximize},
                              {L"cmminimize", cmMinimize},
                              {L"cmsysmenu", cmSysMenu},
                              {L"cmdefault", cmDefault},
                              {L"cmrollup", cmRollUp},
                              {L"cmminimizetotray", cmMinimizeToTray}};
const Word kAlignmentWords[] = {
    {L"tacenter", taCenter}, {L"taleftjustify", taLeftJustify}, {L"tarightjustify", taRightJustify}};

template <size_t N>
bool FindWord(const Word (&words)[N], const String& text, int& value)
{
    for (const Word& w : words)
        if (text == w.Text) {
            value = w.Value;
            return true;
        }
    return false;
}

template <size_t N>
const wchar_t* WordOf(const Word (&words)[N], int value)
{
    for (const Word& w : words)
        if (w.Value == value) return w.Text;
    return words[0].Text;
}

const wchar_t* const kStyleWords[] = {L"fsbold", L"fsitalic", L"fsunderline", L"fsstrikeout"};

// How many of the keys "0" .. Count - 1 a record list needs to read: a missing key names no
// record, and none past the highest numbered key of the section exists, so a crafted count
// cannot make the reader spin.
int ListLength(TCustomIniFile* IniFile, const String& Section, int Count)
{
    if (Count <= 0) return 0;
    TStringList keys;
    IniFile->ReadSection(Section, &keys);
    int last = -1;
    for (int i = 0; i < keys.Count(); ++i) {
        const String& k = keys[i];
        int n = 0;
        if (!k.empty() && k.size() <= 9 && k.find_first_not_of(L"0123456789") == String::npos && TryStrToInt(k, n) &&
            n < Count && n > last)
            last = n;
    }
    return last + 1;
}

}  // namespace

// ---- value codecs --------------------------------------------------------------------------

TPoint StrToPoint(const String& S)
{
    String f[2];
    SplitFields(S, f, 2);
    return TPoint{FieldToInt(f[0]), FieldToInt(f[1])};
}

TRect StrToRect(const String& S)
{
    String f[4];
    SplitFields(S, f, 4);
    return TRect{FieldToInt(f[0]), FieldToInt(f[1]), FieldToInt(f[2]), FieldToInt(f[3])};
}

String PointToStr(const TPoint& P) { return IntToStr(P.X) + L"," + IntToStr(P.Y); }

String RectToStr(const TRect& R)
{
    return IntToStr(R.Left) + L"," + IntToStr(R.Top) + L"," + IntToStr(R.Right) + L"," + IntToStr(R.Bottom);
}

bool ReadBoolean(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    return IniFile->ReadInteger(Section, Ident, 0) == 1;
}

void WriteBoolean(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value)
{
    IniFile->WriteString(Section, Ident, Value ? L"1" : L"0");
}

TPoint ReadPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    return StrToPoint(IniFile->ReadString(Section, Ident, L"0,0"));
}

void WritePoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& Value)
{
    IniFile->WriteString(Section, Ident, PointToStr(Value));
}

TRect ReadRect(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    return StrToRect(IniFile->ReadString(Section, Ident, L"0,0,0,0"));
}

void WriteRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& Value)
{
    IniFile->WriteString(Section, Ident, RectToStr(Value));
}

TFontStyles ReadFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    const String value = IniFile->ReadString(Section, Ident, String());
    TFontStyles styles;
    for (int i = 0; i < 4; ++i)
        if (value.find(kStyleWords[i]) != String::npos) styles.Include(static_cast<TFontStyle>(i));
    return styles;
}

void WriteFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFontStyles Value)
{
    String text;
    for (int i = 0; i < 4; ++i)
        if (Value.Contains(static_cast<TFontStyle>(i))) text += (text.empty() ? L"" : L",") + String(kStyleWords[i]);
    IniFile->WriteString(Section, Ident, text);
}

TAlignment ReadAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    const String value = IniFile->ReadString(Section, Ident, L"tacenter");
    if (value == L"tacenter") return taCenter;
    if (value == L"taleftjustify") return taLeftJustify;
    return taRightJustify;
}

void WriteAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident, TAlignment Value)
{
    IniFile->WriteString(Section, Ident, WordOf(kAlignmentWords, Value));
}

void ReadStrings(TCustomIniFile* IniFile, const String& Section, const String& Name, TStrings* Strings)
{
    const int count = IniFile->ReadInteger(Section, Name + L"count", 0);
    // A missing numbered key gives an empty item; a count no skin can mean is refused rather
    // than filled with empty items.
    if (count > MaxSkinListItems)
        throw EbsSkinDataError(L"The list \"" + Name + L"\" of section [" + Section + L"] counts " + IntToStr(count) +
                               L" items; a skin list holds at most " + IntToStr(MaxSkinListItems));
    for (int i = 0; i < count; ++i) Strings->Add(IniFile->ReadString(Section, IntToStr(i), String()));
}

void WriteStrings(TCustomIniFile* IniFile, const String& Section, const String& Name, TStrings* Strings)
{
    IniFile->WriteInteger(Section, Name + L"count", Strings->Count());
    for (int i = 0; i < Strings->Count(); ++i) IniFile->WriteString(Section, IntToStr(i), Strings->Get(i));
}

TbsStretchType ReadStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    const String value = IniFile->ReadString(Section, Ident, L"stfull");
    if (value == L"stfull") return bsstFull;
    if (value == L"stvert") return bsstVert;
    return bsstHorz;
}

void WriteStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsStretchType Value)
{
    IniFile->WriteString(Section, Ident, WordOf(kStretchWords, Value));
}

TbsInActiveEffect ReadInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    int v = ieGrayScale;
    FindWord(kEffectWords, IniFile->ReadString(Section, Ident, L"iebrightness"), v);
    return static_cast<TbsInActiveEffect>(v);
}

void WriteInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsInActiveEffect Value)
{
    IniFile->WriteString(Section, Ident, WordOf(kEffectWords, Value));
}

TbsMorphKind ReadMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    int v = mkDefault;
    FindWord(kMorphWords, IniFile->ReadString(Section, Ident, L"mkdefault"), v);
    return static_cast<TbsMorphKind>(v);
}

void WriteMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsMorphKind Value)
{
    IniFile->WriteString(Section, Ident, WordOf(kMorphWords, Value));
}

TbsStdCommand ReadStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident)
{
    int v = cmMinimizeToTray;
    FindWord(kCommandWords, IniFile->ReadString(Section, Ident, L"cmdefault"), v);
    return static_cast<TbsStdCommand>(v);
}

void WriteStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsStdCommand Value)
{
    IniFile->WriteString(Section, Ident, WordOf(kCommandWords, Value));
}

// ---- key tables ----------------------------------------------------------------------------

void TbsSkinKeys::Add(const wchar_t* Name, TbsKeyCodec Codec, void* Field, int Default, const wchar_t* Text,
                      const TRect* Fallback)
{
    FKeys.push_back(Key{Name, Codec, Field, Default, Text, Fallback});
}

void TbsSkinKeys::Integer(const wchar_t* Name, int& Field, int Default)
{
    Add(Name, TbsKeyCodec::Integer, &Field, Default);
}
void TbsSkinKeys::Boolean(const wchar_t* Name, bool& Field) { Add(Name, TbsKeyCodec::Boolean, &Field); }
void TbsSkinKeys::Point(const wchar_t* Name, TPoint& Field) { Add(Name, TbsKeyCodec::Point, &Field); }
void TbsSkinKeys::Rect(const wchar_t* Name, TRect& Field) { Add(Name, TbsKeyCodec::Rect, &Field); }
void TbsSkinKeys::RectOrFallback(const wchar_t* Name, TRect& Field, const TRect& Fallback)
{
    Add(Name, TbsKeyCodec::RectOrFallback, &Field, 0, nullptr, &Fallback);
}
void TbsSkinKeys::Text(const wchar_t* Name, String& Field, const wchar_t* Default)
{
    Add(Name, TbsKeyCodec::Text, &Field, 0, Default);
}
void TbsSkinKeys::FontStyle(const wchar_t* Name, TFontStyles& Field) { Add(Name, TbsKeyCodec::FontStyle, &Field); }
void TbsSkinKeys::Alignment(const wchar_t* Name, TAlignment& Field) { Add(Name, TbsKeyCodec::Alignment, &Field); }
void TbsSkinKeys::StretchType(const wchar_t* Name, TbsStretchType& Field)
{
    Add(Name, TbsKeyCodec::StretchType, &Field);
}
void TbsSkinKeys::InActiveEffect(const wchar_t* Name, TbsInActiveEffect& Field)
{
    Add(Name, TbsKeyCodec::InActiveEffect, &Field);
}
void TbsSkinKeys::MorphKind(const wchar_t* Name, TbsMorphKind& Field) { Add(Name, TbsKeyCodec::MorphKind, &Field); }
void TbsSkinKeys::Command(const wchar_t* Name, TbsStdCommand& Field) { Add(Name, TbsKeyCodec::Command, &Field); }

void TbsSkinKeys::Font(String& Name, int& Height, TFontStyles& Style, TColor& Color)
{
    Text(L"fontname", Name, L"Tahoma");
    Integer(L"fontheight", Height, 13);
    FontStyle(L"fontstyle", Style);
    Integer(L"fontcolor", Color);
}

void TbsSkinKeys::Load(TCustomIniFile* IniFile, const String& Section) const
{
    for (const Key& k : FKeys) {
        switch (k.Codec) {
        case TbsKeyCodec::Integer:
            *static_cast<int*>(k.Field) = IniFile->ReadInteger(Section, k.Name, k.Default);
            break;
        case TbsKeyCodec::Boolean: *static_cast<bool*>(k.Field) = ReadBoolean(IniFile, Section, k.Name); break;
        case TbsKeyCodec::Point: *static_cast<TPoint*>(k.Field) = ReadPoint(IniFile, Section, k.Name); break;
        case TbsKeyCodec::Rect: *static_cast<TRect*>(k.Field) = ReadRect(IniFile, Section, k.Name); break;
        case TbsKeyCodec::RectOrFallback: {
            const TRect r = ReadRect(IniFile, Section, k.Name);
            *static_cast<TRect*>(k.Field) = r.IsEmpty() ? *k.Fallback : r;
            break;
        }
        case TbsKeyCodec::Text: *static_cast<String*>(k.Field) = IniFile->ReadString(Section, k.Name, k.Text); break;
        case TbsKeyCodec::FontStyle:
            *static_cast<TFontStyles*>(k.Field) = ReadFontStyles(IniFile, Section, k.Name);
            break;
        case TbsKeyCodec::Alignment:
            *static_cast<TAlignment*>(k.Field) = ReadAlignment(IniFile, Section, k.Name);
            break;
        case TbsKeyCodec::StretchType:
            *static_cast<TbsStretchType*>(k.Field) = ReadStretchType(IniFile, Section, k.Name);
            break;
        case TbsKeyCodec::InActiveEffect:
            *static_cast<TbsInActiveEffect*>(k.Field) = ReadInActiveEffect(IniFile, Section, k.Name);
            break;
        case TbsKeyCodec::MorphKind:
            *static_cast<TbsMorphKind*>(k.Field) = ReadMorphKind(IniFile, Section, k.Name);
            break;
        case TbsKeyCodec::Command:
            *static_cast<TbsStdCommand*>(k.Field) = ReadStdCommand(IniFile, Section, k.Name);
            break;
        }
    }
}

void TbsSkinKeys::Save(TCustomIniFile* IniFile, const String& Section) const
{
    for (const Key& k : FKeys) {
        switch (k.Codec) {
        case TbsKeyCodec::Integer: IniFile->WriteInteger(Section, k.Name, *static_cast<int*>(k.Field)); break;
        case TbsKeyCodec::Boolean: WriteBoolean(IniFile, Section, k.Name, *static_cast<bool*>(k.Field)); break;
        case TbsKeyCodec::Point: WritePoint(IniFile, Section, k.Name, *static_cast<TPoint*>(k.Field)); break;
        case TbsKeyCodec::Rect:
        case TbsKeyCodec::RectOrFallback: WriteRect(IniFile, Section, k.Name, *static_cast<TRect*>(k.Field)); break;
        case TbsKeyCodec::Text: IniFile->WriteString(Section, k.Name, *static_cast<String*>(k.Field)); break;
        case TbsKeyCodec::FontStyle:
            WriteFontStyles(IniFile, Section, k.Name, *static_cast<TFontStyles*>(k.Field));
            break;
        case TbsKeyCodec::Alignment:
            WriteAlignment(IniFile, Section, k.Name, *static_cast<TAlignment*>(k.Field));
            break;
        case TbsKeyCodec::StretchType:
            WriteStretchType(IniFile, Section, k.Name, *static_cast<TbsStretchType*>(k.Field));
            break;
        case TbsKeyCodec::InActiveEffect:
            WriteInActiveEffect(IniFile, Section, k.Name, *static_cast<TbsInActiveEffect*>(k.Field));
            break;
        case TbsKeyCodec::MorphKind:
            WriteMorphKind(IniFile, Section, k.Name, *static_cast<TbsMorphKind*>(k.Field));
            break;
        case TbsKeyCodec::Command:
            WriteStdCommand(IniFile, Section, k.Name, *static_cast<TbsStdCommand*>(k.Field));
            break;
        }
    }
}

// ---- the skin text -------------------------------------------------------------------------

bool SkinIniCheck(TCustomIniFile* IniFile)
{
    for (const wchar_t* s : {L"VERSION", L"PICTURES", L"FORMINFO", L"SKINOBJECTS", L"SKINCONTROLS"})
        if (!IniFile->SectionExists(s)) return false;
    return true;
}

std::string SkinIniBytes(const TStrings& Lines)
{
    std::string out;
    for (int i = 0; i < Lines.Count(); ++i) out += StringToUtf8(Lines.Get(i)) + "\r\n";
    return out;
}

std::string SkinIniBytes(const TMemIniFile& IniFile)
{
    // As the lines' version gives it, without making a list of a skin's thousands of lines: every
    // line break (CR LF, CR or LF) becomes CR LF, and the last line ends with one.
    const std::string text = StringToUtf8(IniFile.Text());
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    if (!text.empty() && text.back() != '\r' && text.back() != '\n') out += "\r\n";
    return out;
}

void SetSkinIniText(TMemIniFile& IniFile, const std::string& Bytes)
{
    TStringList lines;
    lines.SetText(DecodeText(Bytes));
    IniFile.SetStrings(&lines);
}

// ---- the skin model's own sections -----------------------------------------------------------

void TbsSkinData::SplitNameAndType(const String& Line, String& Name, String& Type)
{
    const size_t colon = Line.find(L':');
    if (colon == String::npos) {
        Name.clear();
        Type.clear();
        return;
    }
    Name = Line.substr(0, colon);
    Type = Line.substr(colon + 1);
}

void TbsSkinData::DefineFormInfoKeys(TbsSkinKeys& K)
{
    K.Point(L"lefttoppoint", LTPoint);
    K.Point(L"righttoppoint", RTPoint);
    K.Point(L"leftbottompoint", LBPoint);
    K.Point(L"rightbottompoint", RBPoint);
    K.Rect(L"clientrect", ClRect);
    K.Integer(L"bgpictureindex", BGPictureIndex, -1);
    K.Integer(L"mdibgpictureindex", MDIBGPictureIndex, -1);
    K.Boolean(L"leftstretch", LeftStretch);
    K.Boolean(L"rightstretch", RightStretch);
    K.Boolean(L"topstretch", TopStretch);
    K.Boolean(L"bottomstretch", BottomStretch);
    K.Boolean(L"stretcheffect", StretchEffect);
    K.StretchType(L"stretchtype", StretchType);
    K.Boolean(L"mdibgstretcheffect", MDIBGStretchEffect);
    K.StretchType(L"mdibgstretchtype", MDIBGStretchType);
    K.Rect(L"maskrectarea", MaskRectArea);
    K.Point(L"hittestlefttoppoint", HitTestLTPoint);
    K.Point(L"hittestrighttoppoint", HitTestRTPoint);
    K.Point(L"hittestleftbottompoint", HitTestLBPoint);
    K.Point(L"hittestrightbottompoint", HitTestRBPoint);
    K.Rect(L"buttonsrect", ButtonsRect);
    K.Rect(L"captionrect", CaptionRect);
    K.Integer(L"buttonsoffset", ButtonsOffset);
    K.Boolean(L"buttonsinleft", CapButtonsInLeft);
    K.Boolean(L"mainmenupopupup", MainMenuPopupUp);
    K.Integer(L"borderwidth", BorderW);
    K.Boolean(L"autorenderinginactiveimage", AutoRenderingInActiveImage);
    K.InActiveEffect(L"inactiveeffect", InActiveEffect);
    K.Integer(L"formminwidth", FormMinWidth);
    K.Integer(L"formminheight", FormMinHeight);
    K.Boolean(L"mditabstransparent", MDITabsTransparent);
    K.Boolean(L"mainmenubartransparent", MainMenuBarTransparent);
}

void TbsSkinData::ReadFormInfo(TCustomIniFile* IniFile)
{
    TbsSkinKeys keys;
    DefineFormInfoKeys(keys);
    keys.Load(IniFile, L"FORMINFO");
    if (!FMaskName.empty()) {
        // The mask's area holds at least the client rect; unset hit-test corners take the corners.
        if (MaskRectArea.IsEmpty()) {
            MaskRectArea = ClRect;
        } else {
            MaskRectArea.Left = std::min(MaskRectArea.Left, ClRect.Left);
            MaskRectArea.Top = std::min(MaskRectArea.Top, ClRect.Top);
            MaskRectArea.Right = std::max(MaskRectArea.Right, ClRect.Right);
            MaskRectArea.Bottom = std::max(MaskRectArea.Bottom, ClRect.Bottom);
        }
        auto fill = [](TPoint& hit, const TPoint& corner) {
            if (hit.X == 0 || hit.Y == 0) hit = corner;
        };
        fill(HitTestLTPoint, LTPoint);
        fill(HitTestRTPoint, RTPoint);
        fill(HitTestLBPoint, LBPoint);
        fill(HitTestRBPoint, RBPoint);
    }
    // A skin without form geometry keeps its points; otherwise they are pulled into the client rect.
    if (RBPoint.X != LTPoint.X && RBPoint.Y != LTPoint.Y) {
        LTPoint.X = std::max(LTPoint.X, ClRect.Left);
        LTPoint.Y = std::max(LTPoint.Y, ClRect.Top);
        RTPoint.X = std::min(RTPoint.X, ClRect.Right);
        RTPoint.Y = std::max(RTPoint.Y, ClRect.Top);
        LBPoint.X = std::max(LBPoint.X, ClRect.Left);
        LBPoint.Y = std::min(LBPoint.Y, ClRect.Bottom);
        RBPoint.X = std::min(RBPoint.X, ClRect.Right);
        RBPoint.Y = std::min(RBPoint.Y, ClRect.Bottom);
    }
}

void TbsSkinData::WriteFormInfo(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(L"FORMINFO");
    TbsSkinKeys keys;
    DefineFormInfoKeys(keys);
    keys.Save(IniFile, L"FORMINFO");
}

void TbsSkinData::ReadSkinObjects(TCustomIniFile* IniFile)
{
    const int count = ListLength(IniFile, L"SKINOBJECTS", IniFile->ReadInteger(L"SKINOBJECTS", L"count", 0));
    for (int i = 0; i < count; ++i) {
        String name, type;
        SplitNameAndType(IniFile->ReadString(L"SKINOBJECTS", IntToStr(i), String()), name, type);
        TbsDataSkinObject* r = CreateSkinObjectRecord(type, name);
        if (!r) continue;
        ObjectList.push_back(r);
        r->LoadFromFile(IniFile);
        r->InitAlphaImages(this);
    }
}

void TbsSkinData::ReadSkinControls(TCustomIniFile* IniFile)
{
    const int count = ListLength(IniFile, L"SKINCONTROLS", IniFile->ReadInteger(L"SKINCONTROLS", L"count", 0));
    for (int i = 0; i < count; ++i) {
        String name, type;
        SplitNameAndType(IniFile->ReadString(L"SKINCONTROLS", IntToStr(i), String()), name, type);
        TbsDataSkinControl* r = CreateSkinControlRecord(type, name);
        if (!r) continue;
        CtrlList.push_back(r);
        r->LoadFromFile(IniFile);
    }
}

void TbsSkinData::WriteSkinObjects(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(L"SKINOBJECTS");
    IniFile->WriteInteger(L"SKINOBJECTS", L"count", static_cast<int>(ObjectList.size()));
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TbsDataSkinObject* r = ObjectList[i];
        IniFile->WriteString(L"SKINOBJECTS", IntToStr(static_cast<int64_t>(i)),
                             r->IDName + L":" + SkinObjectTypeWord(r));
        r->SaveToFile(IniFile);
    }
}

void TbsSkinData::WriteSkinControls(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(L"SKINCONTROLS");
    IniFile->WriteInteger(L"SKINCONTROLS", L"count", static_cast<int>(CtrlList.size()));
    for (size_t i = 0; i < CtrlList.size(); ++i) {
        TbsDataSkinControl* r = CtrlList[i];
        IniFile->WriteString(L"SKINCONTROLS", IntToStr(static_cast<int64_t>(i)),
                             r->IDName + L":" + SkinControlTypeWord(r));
        r->SaveToFile(IniFile);
    }
}

void TbsSkinData::WriteActivePictureNames(TCustomIniFile* IniFile)
{
    WriteStrings(IniFile, L"PICTURES", L"activepictures", FActivePicturesNames);
}

void TbsSkinData::WriteSkin(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(L"VERSION");
    IniFile->WriteInteger(L"VERSION", L"ver", 1);
    IniFile->WriteString(L"VERSION", L"skinname", SkinName);
    IniFile->WriteString(L"VERSION", L"skinauthor", SkinAuthor);
    IniFile->WriteString(L"VERSION", L"authoremail", AuthorEmail);
    IniFile->WriteString(L"VERSION", L"authorurl", AuthorURL);
    IniFile->WriteString(L"VERSION", L"skincomments", SkinComments);
    IniFile->EraseSection(L"PICTURES");
    IniFile->WriteString(L"PICTURES", L"picture", FPictureName);
    IniFile->WriteString(L"PICTURES", L"inactivepicture", FInActivePictureName);
    IniFile->WriteString(L"PICTURES", L"mask", FMaskName);
    WriteActivePictureNames(IniFile);
    WriteFormInfo(IniFile);
    PopupWindow->SaveToFile(IniFile);
    LayerFrame->SaveToFile(IniFile);
    HintWindow->SaveToFile(IniFile);
    IniFile->EraseSection(L"SKINCOLORS");
    FSkinColors->SaveToFile(IniFile);
    WriteSkinObjects(IniFile);
    WriteSkinControls(IniFile);
}
