// INI files: sections and keys found case-insensitively, values kept as written. TIniFile works
// on the file itself (each read sees the file, each write is saved at once, through a temporary
// file so a failed write leaves the old file whole); TMemIniFile keeps the lines in memory until
// UpdateFile. Comment and blank lines survive rewrites. Files may be UTF-8 or GBK.
//
// A settings file is small: TIniFile reads at most IniFileReadLimit bytes of it (up to the last
// whole line) and takes what parses there. A file longer than that is never rewritten into
// something larger: a write keeps what was read, else only its key lines, else the first of
// those, whichever first fits under the limit with the change made.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/framework/core/component.h"

class TStrings;

// The parsed lines of an INI text; shared by both file classes.
class TIniData {
public:
    void Parse(const String& text);
    String Compose() const;

    bool FindValue(const String& section, const String& ident, String& value) const;
    void SetValue(const String& section, const String& ident, const String& value);
    bool SectionExists(const String& section) const;
    void EraseSection(const String& section);
    void DeleteKey(const String& section, const String& ident);
    void Keys(const String& section, TStrings* out) const;
    void Sections(TStrings* out) const;
    void SectionValues(const String& section, TStrings* out) const;
    void Clear();
    // Drops every line but section headers and key lines without control characters.
    void KeepKeyLinesOnly();

    String LineBreak = L"\n";

private:
    // Keys and sections are found through maps from their case-folded names, so reading or
    // writing a key costs the same however many keys a file holds (a skin writes thousands).
    struct Section {
        String name;                // as written
        std::vector<String> lines;  // verbatim lines after the header
        std::unordered_map<String, size_t> keys;  // folded key -> line of its first occurrence
        size_t lastKey = String::npos;            // line of the last key
        void Reindex();
    };
    Section* Find(const String& name);
    const Section* Find(const String& name) const;
    void ReindexSections();
    std::vector<String> FPrelude;  // lines before the first section
    std::vector<Section> FSections;
    std::unordered_map<String, size_t> FSectionIndex;  // folded name -> its first section
};

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const String& fileName) : FFileName(fileName) {}
    const String& FileName() const { return FFileName; }

    virtual String ReadString(const String& section, const String& ident, const String& def) = 0;
    virtual void WriteString(const String& section, const String& ident, const String& value) = 0;
    virtual void ReadSection(const String& section, TStrings* strings) = 0;
    virtual void ReadSections(TStrings* strings) = 0;
    virtual void ReadSectionValues(const String& section, TStrings* strings) = 0;
    virtual void EraseSection(const String& section) = 0;
    virtual void DeleteKey(const String& section, const String& ident) = 0;
    virtual void UpdateFile() = 0;

    int ReadInteger(const String& section, const String& ident, int def);  // "0x" hex; def otherwise
    void WriteInteger(const String& section, const String& ident, int value);
    bool ReadBool(const String& section, const String& ident, bool def);
    void WriteBool(const String& section, const String& ident, bool value);
    double ReadFloat(const String& section, const String& ident, double def);
    void WriteFloat(const String& section, const String& ident, double value);
    bool SectionExists(const String& section);
    bool ValueExists(const String& section, const String& ident);

protected:
    String FFileName;
};

class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const String& fileName);  // an empty name gives an empty, file-less INI

    String ReadString(const String& section, const String& ident, const String& def) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    void ReadSection(const String& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const String& section, TStrings* strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    void UpdateFile() override;  // EIniFileException when the file cannot be written

    void GetStrings(TStrings* list) const;
    String Text() const { return FData.Compose(); }  // the lines as they would be written
    void SetStrings(const TStrings* list);
    void Clear() { FData.Clear(); }

private:
    TIniData FData;
    bool FHadBom = false;
};

constexpr size_t IniFileReadLimit = 1 << 20;

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const String& fileName) : TCustomIniFile(fileName) {}

    String ReadString(const String& section, const String& ident, const String& def) override;
    void WriteString(const String& section, const String& ident, const String& value) override;
    void ReadSection(const String& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void ReadSectionValues(const String& section, TStrings* strings) override;
    void EraseSection(const String& section) override;
    void DeleteKey(const String& section, const String& ident) override;
    void UpdateFile() override {}

private:
    struct Loaded {
        TIniData Data;
        bool HadBom = false;
        bool Whole = true;  // the file was read to its end (or does not exist)
    };
    Loaded Load() const;
    // Writes the loaded lines with the change made to them.
    void Save(const Loaded& loaded, const std::function<void(TIniData&)>& change);
};
