// The skin INI text: the value codecs every skin record reads and writes with, the key tables that
// bind a record's keys to its fields (one table drives both reading and writing, so the two cannot
// drift apart), the test for the five sections a skin must have, and the text form of a skin
// INI (UTF-8 or GBK read, a byte-order mark honoured; written as UTF-8, CR LF, no mark).
// The skin model's own sections ("VERSION" ... "SKINCONTROLS") are read and written in
// skin_ini.cpp as part of TbsSkinData.
#pragma once

#include <string>
#include <vector>

#include "platform/framework/controls/control_types.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/graphics/graphics_types.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/skin_types.h"

// ---- value codecs --------------------------------------------------------------------------

// Fields split at the commas; in each, a minus sign before the first digit and the digits count,
// everything else is dropped ("1 0,2x0" is (10, 20)). A field without digits, or one that does not
// fit 32 bits, raises EConvertError.
TPoint StrToPoint(const String& S);
TRect StrToRect(const String& S);
String PointToStr(const TPoint& P);
String RectToStr(const TRect& R);

// True only for the value 1; absent or anything else is false.
bool ReadBoolean(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteBoolean(TCustomIniFile* IniFile, const String& Section, const String& Ident, bool Value);
TPoint ReadPoint(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WritePoint(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TPoint& Value);
TRect ReadRect(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteRect(TCustomIniFile* IniFile, const String& Section, const String& Ident, const TRect& Value);
// A style is present when its word ("fsbold", "fsitalic", "fsunderline", "fsstrikeout") occurs
// anywhere in the value.
TFontStyles ReadFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteFontStyles(TCustomIniFile* IniFile, const String& Section, const String& Ident, TFontStyles Value);
// "tacenter" centre, "taleftjustify" left, anything else right; absent is centre.
TAlignment ReadAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteAlignment(TCustomIniFile* IniFile, const String& Section, const String& Ident, TAlignment Value);
// A list: key Name + "count", then keys "0", "1", ... in the same section. Reading appends count
// items, an empty one for each missing key; a count above MaxSkinListItems raises
// EbsSkinDataError (a crafted count must not fill memory with empty items).
constexpr int MaxSkinListItems = 65536;
void ReadStrings(TCustomIniFile* IniFile, const String& Section, const String& Name, TStrings* Strings);
void WriteStrings(TCustomIniFile* IniFile, const String& Section, const String& Name, TStrings* Strings);
// "stfull" full, "stvert" vertical, anything else horizontal; absent is full.
TbsStretchType ReadStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteStretchType(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsStretchType Value);
// The six effect words; an unknown word is ieGrayScale, absent is ieBrightness.
TbsInActiveEffect ReadInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteInActiveEffect(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsInActiveEffect Value);
// The seven morph words; anything else is mkDefault.
TbsMorphKind ReadMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteMorphKind(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsMorphKind Value);
// "cmclose" ... "cmrollup" compared exactly; absent is cmDefault, any other text cmMinimizeToTray.
TbsStdCommand ReadStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident);
void WriteStdCommand(TCustomIniFile* IniFile, const String& Section, const String& Ident, TbsStdCommand Value);

// ---- key tables ----------------------------------------------------------------------------

enum class TbsKeyCodec {
    Integer,         // decimal ("0x" hexadecimal read); a value that is no integer gives the default
    Boolean,         // "1" / "0"
    Point,           // "x,y"
    Rect,            // "left,top,right,bottom"
    RectOrFallback,  // a rect; one without area takes the value of another field
    Text,            // as it stands
    FontStyle,
    Alignment,
    StretchType,
    InActiveEffect,
    MorphKind,
    Command,
};

// The keys of one section in writing order, each bound to a field of a record. A record class
// adds its parent's keys, then its own; reading and writing both walk the same table.
class TbsSkinKeys {
public:
    struct Key {
        const wchar_t* Name;
        TbsKeyCodec Codec;
        void* Field;
        int Default;            // Integer
        const wchar_t* Text;    // Text
        const TRect* Fallback;  // RectOrFallback
    };

    void Integer(const wchar_t* Name, int& Field, int Default = 0);
    void Boolean(const wchar_t* Name, bool& Field);
    void Point(const wchar_t* Name, TPoint& Field);
    void Rect(const wchar_t* Name, TRect& Field);
    // Read as a rect; one with no area (width or height not positive) takes Fallback's value.
    void RectOrFallback(const wchar_t* Name, TRect& Field, const TRect& Fallback);
    void Text(const wchar_t* Name, String& Field, const wchar_t* Default = L"");
    void FontStyle(const wchar_t* Name, TFontStyles& Field);
    void Alignment(const wchar_t* Name, TAlignment& Field);
    void StretchType(const wchar_t* Name, TbsStretchType& Field);
    void InActiveEffect(const wchar_t* Name, TbsInActiveEffect& Field);
    void MorphKind(const wchar_t* Name, TbsMorphKind& Field);
    void Command(const wchar_t* Name, TbsStdCommand& Field);
    // The usual four font keys: "fontname" ("Tahoma"), "fontheight" (13), "fontstyle", "fontcolor".
    void Font(String& Name, int& Height, TFontStyles& Style, TColor& Color);

    // Every field from its key, or the key's default when the key is absent.
    void Load(TCustomIniFile* IniFile, const String& Section) const;
    // Every key with its field's value, in table order (the section is not erased here).
    void Save(TCustomIniFile* IniFile, const String& Section) const;

    const std::vector<Key>& Items() const { return FKeys; }
    int Count() const { return static_cast<int>(FKeys.size()); }

private:
    void Add(const wchar_t* Name, TbsKeyCodec Codec, void* Field, int Default = 0, const wchar_t* Text = nullptr,
             const TRect* Fallback = nullptr);
    std::vector<Key> FKeys;
};

// ---- the skin text -------------------------------------------------------------------------

// True when the INI has all five sections of a skin: "VERSION", "PICTURES", "FORMINFO",
// "SKINOBJECTS" and "SKINCONTROLS".
bool SkinIniCheck(TCustomIniFile* IniFile);

// The INI's lines as a skin file stores them: UTF-8 without byte-order mark, CR LF after each.
std::string SkinIniBytes(const TMemIniFile& IniFile);
std::string SkinIniBytes(const TStrings& Lines);
// Replaces the INI's content by a skin text (UTF-8 when valid, a byte-order mark honoured,
// else GBK).
void SetSkinIniText(TMemIniFile& IniFile, const std::string& Bytes);
