// TList: the framework's list of untyped pointers, with its index checks.
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/core/component.h"

class TList : public TObject {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    void* Items(int index) const;
    void SetItems(int index, void* item);
    void* operator[](int index) const { return Items(index); }
    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);  // index it had, -1 when absent
    void* Extract(void* item);
    int IndexOf(const void* item) const;
    void Exchange(int a, int b);
    void Move(int from, int to);
    void Clear() { FItems.clear(); }
    void Pack();  // drops nil entries
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }
    void Sort(const std::function<int(void*, void*)>& compare);
    std::vector<void*>& List() { return FItems; }

private:
    void Check(int index) const;
    std::vector<void*> FItems;
};
