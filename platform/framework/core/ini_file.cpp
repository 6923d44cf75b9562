#include "platform/framework/core/ini_file.h"

#include <algorithm>
#include <cstdio>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/core/text_codec.h"

namespace {

bool IsSectionLine(const String& line, String& name)
{
    const String t = Trim(line);
    if (t.size() < 2 || t[0] != L'[') return false;
    const size_t close = t.find(L']');
    name = Trim(t.substr(1, close == String::npos ? String::npos : close - 1));
    return true;
}

// A key line: "name=value" that is not a comment. Trims by index, so only the results are made.
bool SplitKeyLine(const String& line, String& key, String& value)
{
    size_t b = 0;
    while (b < line.size() && line[b] <= L' ') ++b;
    if (b == line.size() || line[b] == L';') return false;
    const size_t eq = line.find(L'=', b);
    if (eq == String::npos) return false;
    size_t ke = eq;
    while (ke > b && line[ke - 1] <= L' ') --ke;
    if (ke == b) return false;
    size_t vb = eq + 1, ve = line.size();
    while (vb < ve && line[vb] <= L' ') ++vb;
    while (ve > vb && line[ve - 1] <= L' ') --ve;
    key.assign(line, b, ke - b);
    value.assign(line, vb, ve - vb);
    return true;
}

// Reads at most limit bytes from the start of the file; whole tells whether that was all of it.
bool ReadFileHead(const String& name, size_t limit, std::string& out, bool& whole)
{
    whole = true;
    FILE* f = std::fopen(StringToUtf8(name).c_str(), "rb");
    if (!f) return false;
    out.clear();
    char buf[65536];
    // One byte past the limit tells a file of exactly limit bytes from a longer one.
    while (out.size() <= limit) {
        const size_t n = std::fread(buf, 1, std::min(sizeof buf, limit + 1 - out.size()), f);
        if (n == 0) break;
        out.append(buf, n);
    }
    const bool ok = !std::ferror(f);
    std::fclose(f);
    if (out.size() > limit) {
        out.resize(limit);
        whole = false;
    }
    return ok;
}

// Saves the lines through a temporary file; a failure names the file and keeps the old one whole.
void SaveIni(const String& fileName, const TIniData& data, bool bom)
{
    try {
        WriteFileAtomically(fileName, (bom ? "\xEF\xBB\xBF" : "") + StringToUtf8(data.Compose()));
    } catch (const Exception& e) {
        throw EIniFileException(L"Unable to write to " + fileName + L": " + e.Message());
    }
}

}  // namespace

// --- TIniData ---------------------------------------------------------------------------------

void TIniData::Clear()
{
    FPrelude.clear();
    FSections.clear();
    FSectionIndex.clear();
}

void TIniData::Section::Reindex()
{
    keys.clear();
    lastKey = String::npos;
    String k, v;
    for (size_t i = 0; i < lines.size(); ++i)
        if (SplitKeyLine(lines[i], k, v)) {
            keys.emplace(LowerCase(k), i);  // the first of duplicate keys is the one read
            lastKey = i;
        }
}

void TIniData::ReindexSections()
{
    FSectionIndex.clear();
    for (size_t i = 0; i < FSections.size(); ++i) FSectionIndex.emplace(LowerCase(FSections[i].name), i);
}

void TIniData::KeepKeyLinesOnly()
{
    auto keep = [](const String& line) {
        String k, v;
        if (!SplitKeyLine(line, k, v)) return false;
        for (wchar_t c : line)
            if ((c < 0x20 && c != L'\t') || c == 0x7F || c == 0xFFFD) return false;
        return true;
    };
    auto filter = [&](std::vector<String>& lines) {
        std::vector<String> kept;
        for (auto& l : lines)
            if (keep(l)) kept.push_back(l);
        lines.swap(kept);
    };
    filter(FPrelude);
    for (auto& s : FSections) {
        filter(s.lines);
        s.Reindex();
    }
}

void TIniData::Parse(const String& text)
{
    Clear();
    LineBreak = text.find(L"\r\n") != String::npos ? L"\r\n" : L"\n";
    std::vector<String>* target = &FPrelude;
    size_t i = 0;
    while (i < text.size()) {
        size_t j = i;
        while (j < text.size() && text[j] != L'\r' && text[j] != L'\n') ++j;
        String line = text.substr(i, j - i);
        if (j < text.size() && text[j] == L'\r') ++j;
        if (j < text.size() && text[j] == L'\n') ++j;
        i = j;
        String name;
        if (IsSectionLine(line, name)) {
            FSections.push_back(Section{name, {}, {}, String::npos});
            target = &FSections.back().lines;
        } else {
            target->push_back(std::move(line));
        }
    }
    for (auto& s : FSections) s.Reindex();
    ReindexSections();
}

String TIniData::Compose() const
{
    String out;
    for (auto& l : FPrelude) out += l + LineBreak;
    for (auto& s : FSections) {
        out += L"[" + s.name + L"]" + LineBreak;
        for (auto& l : s.lines) out += l + LineBreak;
    }
    return out;
}

TIniData::Section* TIniData::Find(const String& name)
{
    const auto it = FSectionIndex.find(LowerCase(name));
    return it == FSectionIndex.end() ? nullptr : &FSections[it->second];
}

const TIniData::Section* TIniData::Find(const String& name) const { return const_cast<TIniData*>(this)->Find(name); }

bool TIniData::FindValue(const String& section, const String& ident, String& value) const
{
    const Section* s = Find(section);
    if (!s) return false;
    const auto it = s->keys.find(LowerCase(ident));
    if (it == s->keys.end()) return false;
    String k;
    SplitKeyLine(s->lines[it->second], k, value);
    return true;
}

void TIniData::SetValue(const String& section, const String& ident, const String& value)
{
    Section* s = Find(section);
    if (!s) {
        // A new section goes at the end, after a blank line when the text has content.
        if (!FSections.empty() && !FSections.back().lines.empty() && !Trim(FSections.back().lines.back()).empty())
            FSections.back().lines.push_back(String());
        else if (FSections.empty() && !FPrelude.empty() && !Trim(FPrelude.back()).empty())
            FPrelude.push_back(String());
        FSections.push_back(Section{section, {}, {}, String::npos});
        FSectionIndex.emplace(LowerCase(section), FSections.size() - 1);
        s = &FSections.back();
    }
    if (const auto it = s->keys.find(LowerCase(ident)); it != s->keys.end()) {
        String k, v;
        SplitKeyLine(s->lines[it->second], k, v);
        s->lines[it->second] = k + L"=" + value;
        return;
    }
    // After the section's last key, or before its trailing blank lines.
    size_t at = s->lastKey != String::npos ? s->lastKey + 1 : s->lines.size();
    if (s->lastKey == String::npos)
        while (at > 0 && Trim(s->lines[at - 1]).empty()) --at;
    s->lines.insert(s->lines.begin() + static_cast<long>(at), ident + L"=" + value);
    if (at + 1 < s->lines.size())
        for (auto& [key, line] : s->keys)
            if (line >= at) ++line;
    // The line counts as written (an odd name, say with blanks around it, reads back trimmed).
    String k, v;
    if (SplitKeyLine(s->lines[at], k, v)) {
        s->keys.emplace(LowerCase(k), at);
        s->lastKey = at;
    }
}

bool TIniData::SectionExists(const String& section) const { return Find(section) != nullptr; }

void TIniData::EraseSection(const String& section)
{
    const size_t before = FSections.size();
    std::erase_if(FSections, [&](const Section& s) { return SameText(s.name, section); });
    if (FSections.size() != before) ReindexSections();
}

void TIniData::DeleteKey(const String& section, const String& ident)
{
    Section* s = Find(section);
    if (!s) return;
    const auto it = s->keys.find(LowerCase(ident));
    if (it == s->keys.end()) return;
    s->lines.erase(s->lines.begin() + static_cast<long>(it->second));
    s->Reindex();  // a later line of the same key, if any, is the one read now
}

void TIniData::Keys(const String& section, TStrings* out) const
{
    out->BeginUpdate();
    out->Clear();
    if (const Section* s = Find(section)) {
        String k, v;
        for (auto& l : s->lines)
            if (SplitKeyLine(l, k, v)) out->Add(k);
    }
    out->EndUpdate();
}

void TIniData::Sections(TStrings* out) const
{
    out->BeginUpdate();
    out->Clear();
    for (auto& s : FSections) out->Add(s.name);
    out->EndUpdate();
}

void TIniData::SectionValues(const String& section, TStrings* out) const
{
    out->BeginUpdate();
    out->Clear();
    if (const Section* s = Find(section)) {
        String k, v;
        for (auto& l : s->lines)
            if (SplitKeyLine(l, k, v)) out->Add(k + L"=" + v);
    }
    out->EndUpdate();
}

// --- TCustomIniFile ---------------------------------------------------------------------------

int TCustomIniFile::ReadInteger(const String& section, const String& ident, int def)
{
    const String s = ReadString(section, ident, String());
    int v;
    return TryStrToInt(s, v) ? v : def;
}

void TCustomIniFile::WriteInteger(const String& section, const String& ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(const String& section, const String& ident, bool def)
{
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& section, const String& ident, bool value)
{
    WriteString(section, ident, value ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const String& section, const String& ident, double def)
{
    return StrToFloatDef(ReadString(section, ident, String()), def);
}

void TCustomIniFile::WriteFloat(const String& section, const String& ident, double value)
{
    WriteString(section, ident, FloatToStr(value));
}

bool TCustomIniFile::SectionExists(const String& section)
{
    TStringList keys;
    ReadSection(section, &keys);
    if (keys.Count() > 0) return true;
    TStringList sections;
    ReadSections(&sections);
    return sections.IndexOf(section) >= 0;
}

bool TCustomIniFile::ValueExists(const String& section, const String& ident)
{
    TStringList keys;
    ReadSection(section, &keys);
    return keys.IndexOf(ident) >= 0;
}

// --- TMemIniFile ------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const String& fileName) : TCustomIniFile(fileName)
{
    std::string bytes;
    if (!fileName.empty() && ReadFileBytes(fileName, bytes)) FData.Parse(DecodeText(bytes, &FHadBom));
}

String TMemIniFile::ReadString(const String& section, const String& ident, const String& def)
{
    String v;
    return FData.FindValue(section, ident, v) ? v : def;
}

void TMemIniFile::WriteString(const String& section, const String& ident, const String& value)
{
    FData.SetValue(section, ident, value);
}

void TMemIniFile::ReadSection(const String& section, TStrings* strings) { FData.Keys(section, strings); }
void TMemIniFile::ReadSections(TStrings* strings) { FData.Sections(strings); }
void TMemIniFile::ReadSectionValues(const String& section, TStrings* strings) { FData.SectionValues(section, strings); }
void TMemIniFile::EraseSection(const String& section) { FData.EraseSection(section); }
void TMemIniFile::DeleteKey(const String& section, const String& ident) { FData.DeleteKey(section, ident); }

void TMemIniFile::UpdateFile() { SaveIni(FFileName, FData, FHadBom); }

void TMemIniFile::GetStrings(TStrings* list) const
{
    TStringList lines;
    lines.SetText(FData.Compose());
    list->Assign(&lines);
}

void TMemIniFile::SetStrings(const TStrings* list)
{
    String text;
    for (int i = 0; i < list->Count(); ++i) text += list->Get(i) + L"\n";
    FData.Parse(text);
}

// --- TIniFile ---------------------------------------------------------------------------------

TIniFile::Loaded TIniFile::Load() const
{
    Loaded loaded;
    std::string bytes;
    if (!ReadFileHead(FFileName, IniFileReadLimit, bytes, loaded.Whole)) return loaded;
    // A cut file keeps its whole lines only.
    if (!loaded.Whole) {
        const size_t end = bytes.find_last_of("\r\n");
        bytes.resize(end == std::string::npos ? 0 : end + 1);
    }
    loaded.Data.Parse(DecodeText(bytes, &loaded.HadBom));
    return loaded;
}

void TIniFile::Save(const Loaded& loaded, const std::function<void(TIniData&)>& change)
{
    TIniData data = loaded.Data;
    change(data);
    if (loaded.Whole) return SaveIni(FFileName, data, loaded.HadBom);
    // A cut file: what was read, else its key lines, else the first of them that leave room for
    // the change; the change itself always lands.
    auto bytes = [](const TIniData& d) { return StringToUtf8(d.Compose()); };
    if (bytes(data).size() < IniFileReadLimit) return SaveIni(FFileName, data, loaded.HadBom);
    TIniData keys = loaded.Data;
    keys.KeepKeyLinesOnly();
    TIniData changed = keys;
    change(changed);
    if (bytes(changed).size() >= IniFileReadLimit) {
        std::string text = bytes(keys);
        const size_t end = text.rfind('\n', IniFileReadLimit / 2);
        text.resize(end == std::string::npos ? 0 : end + 1);
        changed.Parse(Utf8ToString(text));
        change(changed);
    }
    SaveIni(FFileName, changed, loaded.HadBom);
}

String TIniFile::ReadString(const String& section, const String& ident, const String& def)
{
    String v;
    return Load().Data.FindValue(section, ident, v) ? v : def;
}

void TIniFile::WriteString(const String& section, const String& ident, const String& value)
{
    Save(Load(), [&](TIniData& data) { data.SetValue(section, ident, value); });
}

void TIniFile::ReadSection(const String& section, TStrings* strings) { Load().Data.Keys(section, strings); }
void TIniFile::ReadSections(TStrings* strings) { Load().Data.Sections(strings); }
void TIniFile::ReadSectionValues(const String& section, TStrings* strings)
{
    Load().Data.SectionValues(section, strings);
}

void TIniFile::EraseSection(const String& section)
{
    const Loaded loaded = Load();
    if (!loaded.Data.SectionExists(section)) return;
    Save(loaded, [&](TIniData& data) { data.EraseSection(section); });
}

void TIniFile::DeleteKey(const String& section, const String& ident)
{
    const Loaded loaded = Load();
    String v;
    if (!loaded.Data.FindValue(section, ident, v)) return;
    Save(loaded, [&](TIniData& data) { data.DeleteKey(section, ident); });
}
