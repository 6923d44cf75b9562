// TStrings (the abstract list of strings with objects that controls and files share) and
// TStringList (the stored, optionally sorted list). Lines read from files may be UTF-8 (with or
// without BOM), UTF-16 with BOM, or GBK as written on Chinese Windows.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/framework/core/component.h"

class TStream;

class TStrings : public TPersistent {
public:
    // Storage, provided by descendants.
    virtual int Count() const = 0;
    virtual String Get(int index) const = 0;
    virtual void Put(int index, const String& s);
    virtual TObject* GetObject(int index) const;
    virtual void PutObject(int index, TObject* obj);
    virtual void Insert(int index, const String& s) = 0;
    virtual void InsertObject(int index, const String& s, TObject* obj);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int IndexOf(const String& s) const;
    virtual int Add(const String& s);
    virtual void Exchange(int a, int b);
    virtual void BeginUpdate();
    virtual void EndUpdate();

    String Strings(int index) const { return Get(index); }
    String operator[](int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }
    virtual int AddObject(const String& s, TObject* obj);
    void Append(const String& s) { Add(s); }
    void AddStrings(const TStrings* other);
    void Move(int from, int to);

    // NAME=VALUE lines: the name is what stands before the first separator.
    String Names(int index) const;
    String ValueFromIndex(int index) const;
    String Values(const String& name) const;
    void SetValue(const String& name, const String& value);  // "" removes the line
    int IndexOfName(const String& name) const;               // case-insensitive
    wchar_t NameValueSeparator = L'=';

    String Text() const;
    void SetText(const String& text);
    String CommaText() const;
    void SetCommaText(const String& text);
    String DelimitedText() const;
    void SetDelimitedText(const String& text);
    wchar_t Delimiter = L',';
    wchar_t QuoteChar = L'"';
    bool StrictDelimiter = false;
    String LineBreak = L"\r\n";

    void LoadFromFile(const String& fileName);      // EFOpenError when it cannot be read
    void SaveToFile(const String& fileName) const;  // UTF-8; EFCreateError, the old file kept whole
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
    void LoadFromBytes(const std::string& bytes);
    std::string SaveToBytes() const;
    bool WriteBOM = false;

    void Assign(TPersistent* Source) override;
    bool Equals(const TStrings& other) const;
    int UpdateCount() const { return FUpdateCount; }

protected:
    virtual void SetUpdateState(bool updating) {}
    virtual int CompareStrings(const String& a, const String& b) const;

private:
    int FUpdateCount = 0;
};

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;
    ~TStringList() override;

    int Count() const override { return static_cast<int>(FList.size()); }
    String Get(int index) const override;
    void Put(int index, const String& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* obj) override;
    void Insert(int index, const String& s) override;
    void InsertObject(int index, const String& s, TObject* obj) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const String& s) override { return AddObject(s, nullptr); }
    int AddObject(const String& s, TObject* obj) override;
    int IndexOf(const String& s) const override;
    void Exchange(int a, int b) override;

    bool Sorted() const { return FSorted; }
    void SetSorted(bool v);
    TDuplicates Duplicates = dupIgnore;
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool v);
    bool OwnsObjects = false;
    // Finds s in a sorted list: true with its index, else false with where it would go.
    bool Find(const String& s, int& index) const;
    void Sort();
    void CustomSort(const std::function<int(TStringList*, int, int)>& compare);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(const String& a, const String& b) const override;
    void Changed();
    void Changing();

private:
    struct Item {
        String s;
        TObject* obj = nullptr;
    };
    void Check(int index) const;
    void InsertItem(int index, const String& s, TObject* obj);
    std::vector<Item> FList;
    bool FSorted = false;
    bool FCaseSensitive = false;
};
