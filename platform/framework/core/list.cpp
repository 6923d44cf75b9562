#include "platform/framework/core/list.h"

#include <algorithm>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

void TList::Check(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
}

void* TList::Items(int index) const
{
    Check(index);
    return FItems[static_cast<size_t>(index)];
}

void TList::SetItems(int index, void* item)
{
    Check(index);
    FItems[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item)
{
    FItems.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item)
{
    if (index < 0 || index > Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    FItems.insert(FItems.begin() + index, item);
}

void TList::Delete(int index)
{
    Check(index);
    FItems.erase(FItems.begin() + index);
}

int TList::IndexOf(const void* item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TList::Remove(void* item)
{
    const int i = IndexOf(item);
    if (i >= 0) Delete(i);
    return i;
}

void* TList::Extract(void* item) { return Remove(item) >= 0 ? item : nullptr; }

void TList::Exchange(int a, int b)
{
    Check(a);
    Check(b);
    std::swap(FItems[a], FItems[b]);
}

void TList::Move(int from, int to)
{
    if (from == to) return;
    Check(from);
    Check(to);
    void* item = FItems[from];
    FItems.erase(FItems.begin() + from);
    FItems.insert(FItems.begin() + to, item);
}

void TList::Pack() { FItems.erase(std::remove(FItems.begin(), FItems.end(), nullptr), FItems.end()); }

void TList::Sort(const std::function<int(void*, void*)>& compare)
{
    std::stable_sort(FItems.begin(), FItems.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}
