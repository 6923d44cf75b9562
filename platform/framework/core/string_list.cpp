#include "platform/framework/core/string_list.h"

#include <algorithm>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/core/text_codec.h"

// --- TStrings ---------------------------------------------------------------------------------

void TStrings::Put(int index, const String& s)
{
    TObject* obj = GetObject(index);
    Delete(index);
    InsertObject(index, s, obj);
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int index, const String& s, TObject* obj)
{
    Insert(index, s);
    PutObject(index, obj);
}

int TStrings::Add(const String& s)
{
    const int i = Count();
    Insert(i, s);
    return i;
}

int TStrings::AddObject(const String& s, TObject* obj)
{
    const int i = Add(s);
    PutObject(i, obj);
    return i;
}

void TStrings::AddStrings(const TStrings* other)
{
    if (!other) return;
    BeginUpdate();
    for (int i = 0; i < other->Count(); ++i) AddObject(other->Get(i), other->GetObject(i));
    EndUpdate();
}

int TStrings::CompareStrings(const String& a, const String& b) const { return CompareText(a, b); }

int TStrings::IndexOf(const String& s) const
{
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

void TStrings::Exchange(int a, int b)
{
    BeginUpdate();
    const String sa = Get(a), sb = Get(b);
    TObject* oa = GetObject(a);
    TObject* ob = GetObject(b);
    Put(a, sb);
    Put(b, sa);
    PutObject(a, ob);
    PutObject(b, oa);
    EndUpdate();
}

void TStrings::Move(int from, int to)
{
    if (from == to) return;
    BeginUpdate();
    const String s = Get(from);
    TObject* obj = GetObject(from);
    Delete(from);
    InsertObject(to, s, obj);
    EndUpdate();
}

void TStrings::BeginUpdate()
{
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

String TStrings::Names(int index) const
{
    const String s = Get(index);
    const size_t p = s.find(NameValueSeparator);
    return p == String::npos ? String() : s.substr(0, p);
}

String TStrings::ValueFromIndex(int index) const
{
    const String s = Get(index);
    const size_t p = s.find(NameValueSeparator);
    return p == String::npos ? String() : s.substr(p + 1);
}

int TStrings::IndexOfName(const String& name) const
{
    for (int i = 0; i < Count(); ++i) {
        const String s = Get(i);
        const size_t p = s.find(NameValueSeparator);
        if (p != String::npos && SameText(s.substr(0, p), name)) return i;
    }
    return -1;
}

String TStrings::Values(const String& name) const
{
    const int i = IndexOfName(name);
    return i < 0 ? String() : ValueFromIndex(i);
}

void TStrings::SetValue(const String& name, const String& value)
{
    const int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(name + NameValueSeparator + value);
    } else {
        Put(i, name + NameValueSeparator + value);
    }
}

String TStrings::Text() const
{
    String r;
    for (int i = 0; i < Count(); ++i) r += Get(i) + LineBreak;
    return r;
}

void TStrings::SetText(const String& text)
{
    BeginUpdate();
    Clear();
    size_t i = 0;
    while (i < text.size()) {
        size_t j = i;
        while (j < text.size() && text[j] != L'\r' && text[j] != L'\n') ++j;
        Add(text.substr(i, j - i));
        if (j < text.size() && text[j] == L'\r') ++j;
        if (j < text.size() && text[j] == L'\n') ++j;
        i = j;
    }
    EndUpdate();
}

String TStrings::DelimitedText() const
{
    String r;
    for (int i = 0; i < Count(); ++i) {
        const String s = Get(i);
        bool quote = s.empty() && Count() > 1;
        for (wchar_t c : s)
            if (c == QuoteChar || c == Delimiter || (!StrictDelimiter && c <= L' ')) quote = true;
        if (i > 0) r += Delimiter;
        r += quote ? AnsiQuotedStr(s, QuoteChar) : s;
    }
    return r;
}

void TStrings::SetDelimitedText(const String& text)
{
    BeginUpdate();
    Clear();
    size_t i = 0;
    auto isSep = [&](wchar_t c) { return c == Delimiter || (!StrictDelimiter && c > 0 && c <= L' '); };
    auto skipBlanks = [&] {
        while (!StrictDelimiter && i < text.size() && text[i] > 0 && text[i] <= L' ') ++i;
    };
    skipBlanks();
    while (i < text.size()) {
        String item;
        if (text[i] == QuoteChar) {
            ++i;
            while (i < text.size()) {
                if (text[i] == QuoteChar) {
                    if (i + 1 < text.size() && text[i + 1] == QuoteChar) {
                        item += QuoteChar;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < text.size() && !isSep(text[i])) item += text[i++];
        }
        Add(item);
        skipBlanks();
        if (i < text.size() && text[i] == Delimiter) {
            ++i;
            skipBlanks();
            if (i >= text.size()) Add(String());
        }
    }
    EndUpdate();
}

String TStrings::CommaText() const
{
    // Always a comma and double quotes, whatever the delimiter settings are.
    auto* self = const_cast<TStrings*>(this);
    const wchar_t d = Delimiter, q = QuoteChar;
    const bool strict = StrictDelimiter;
    self->Delimiter = L',';
    self->QuoteChar = L'"';
    self->StrictDelimiter = false;
    String r = DelimitedText();
    self->Delimiter = d;
    self->QuoteChar = q;
    self->StrictDelimiter = strict;
    return r;
}

void TStrings::SetCommaText(const String& text)
{
    const wchar_t d = Delimiter, q = QuoteChar;
    const bool strict = StrictDelimiter;
    Delimiter = L',';
    QuoteChar = L'"';
    StrictDelimiter = false;
    SetDelimitedText(text);
    Delimiter = d;
    QuoteChar = q;
    StrictDelimiter = strict;
}

void TStrings::LoadFromBytes(const std::string& bytes)
{
    bool bom = false;
    SetText(DecodeText(bytes, &bom));
}

std::string TStrings::SaveToBytes() const
{
    std::string out = WriteBOM ? "\xEF\xBB\xBF" : "";
    return out + StringToUtf8(Text());
}

void TStrings::LoadFromFile(const String& fileName)
{
    std::string bytes;
    if (!ReadFileBytes(fileName, bytes)) throw EFOpenError(L"Cannot open file \"" + fileName + L"\".");
    LoadFromBytes(bytes);
}

void TStrings::SaveToFile(const String& fileName) const { WriteFileAtomically(fileName, SaveToBytes()); }

void TStrings::LoadFromStream(TStream& stream)
{
    const int64_t n = stream.Size() - stream.Position();
    std::string bytes(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) stream.ReadBuffer(bytes.data(), n);
    LoadFromBytes(bytes);
}

void TStrings::SaveToStream(TStream& stream) const
{
    const std::string bytes = SaveToBytes();
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TStrings::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TStrings*>(Source)) {
        BeginUpdate();
        Clear();
        NameValueSeparator = other->NameValueSeparator;
        AddStrings(other);
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings& other) const
{
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

// --- TStringList ------------------------------------------------------------------------------

TStringList::~TStringList()
{
    if (OwnsObjects)
        for (auto& it : FList) delete it.obj;
}

void TStringList::Check(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
}

String TStringList::Get(int index) const
{
    Check(index);
    return FList[static_cast<size_t>(index)].s;
}

void TStringList::Put(int index, const String& s)
{
    if (FSorted) throw EListError(L"Operation not allowed on sorted list");
    Check(index);
    Changing();
    FList[static_cast<size_t>(index)].s = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const
{
    Check(index);
    return FList[static_cast<size_t>(index)].obj;
}

void TStringList::PutObject(int index, TObject* obj)
{
    Check(index);
    Changing();
    FList[static_cast<size_t>(index)].obj = obj;
    Changed();
}

void TStringList::InsertItem(int index, const String& s, TObject* obj)
{
    Changing();
    FList.insert(FList.begin() + index, Item{s, obj});
    Changed();
}

void TStringList::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const String& s, TObject* obj)
{
    if (FSorted) throw EListError(L"Operation not allowed on sorted list");
    if (index < 0 || index > Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    InsertItem(index, s, obj);
}

int TStringList::AddObject(const String& s, TObject* obj)
{
    if (!FSorted) {
        InsertItem(Count(), s, obj);
        return Count() - 1;
    }
    int index;
    if (Find(s, index)) {
        if (Duplicates == dupIgnore) return index;
        if (Duplicates == dupError) throw EListError(L"String list does not allow duplicates");
    }
    InsertItem(index, s, obj);
    return index;
}

void TStringList::Delete(int index)
{
    Check(index);
    Changing();
    if (OwnsObjects) delete FList[static_cast<size_t>(index)].obj;
    FList.erase(FList.begin() + index);
    Changed();
}

void TStringList::Clear()
{
    if (FList.empty()) return;
    Changing();
    if (OwnsObjects)
        for (auto& it : FList) delete it.obj;
    FList.clear();
    Changed();
}

int TStringList::CompareStrings(const String& a, const String& b) const
{
    return FCaseSensitive ? CompareStr(a, b) : CompareText(a, b);
}

bool TStringList::Find(const String& s, int& index) const
{
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = CompareStrings(FList[static_cast<size_t>(mid)].s, s);
        if (c < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (c == 0) {
                found = true;
                if (Duplicates != dupAccept) lo = mid;
            }
        }
    }
    index = lo;
    return found;
}

int TStringList::IndexOf(const String& s) const
{
    if (!FSorted) return TStrings::IndexOf(s);
    int index;
    return Find(s, index) ? index : -1;
}

void TStringList::Exchange(int a, int b)
{
    Check(a);
    Check(b);
    Changing();
    std::swap(FList[a], FList[b]);
    Changed();
}

void TStringList::Sort()
{
    CustomSort([](TStringList* l, int a, int b) { return l->CompareStrings(l->Get(a), l->Get(b)); });
}

void TStringList::CustomSort(const std::function<int(TStringList*, int, int)>& compare)
{
    if (Count() < 2) return;
    Changing();
    // Sort an index permutation through the caller's comparison of positions.
    std::vector<Item> original = FList;
    std::vector<int> order(FList.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    for (size_t i = 0; i < order.size(); ++i) FList[i] = original[static_cast<size_t>(order[i])];
    Changed();
}

void TStringList::SetSorted(bool v)
{
    if (v == FSorted) return;
    if (v) Sort();
    FSorted = v;
}

void TStringList::SetCaseSensitive(bool v)
{
    if (v == FCaseSensitive) return;
    FCaseSensitive = v;
    if (FSorted) Sort();
}

void TStringList::SetUpdateState(bool updating)
{
    if (updating)
        Changing();
    else
        Changed();
}

void TStringList::Changing()
{
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed()
{
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}
