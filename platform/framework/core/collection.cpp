#include "platform/framework/core/collection.h"

#include <algorithm>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem()
{
    if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection == FCollection) return;
    if (FCollection) FCollection->RemoveItem(this);
    if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection) return -1;
    auto& items = FCollection->FItems;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    const int cur = Index();
    if (cur < 0 || index == cur) return;
    auto& items = FCollection->FItems;
    if (index < 0 || index >= static_cast<int>(items.size()))
        throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    items.erase(items.begin() + cur);
    items.insert(items.begin() + index, this);
    Changed(true);
}

String TCollectionItem::DisplayName() const { return FDisplayName.empty() ? ClassName() : FDisplayName; }

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

TCollection::TCollection(ItemFactory factory, TPersistent* owner) : FFactory(std::move(factory)), FOwner(owner) {}

TCollection::~TCollection()
{
    FUpdateCount = 1;  // no change notices while tearing down
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int index) const
{
    if (index < 0 || index >= Count()) throw EListError(L"List index out of bounds (" + IntToStr(index) + L")");
    return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add()
{
    // An item joins from its base constructor, before a derived item is whole: the owner hears
    // of the change once the item is built.
    struct Deferred {
        TCollection* C;
        ~Deferred() { C->EndUpdate(); }
    } deferred{this};
    BeginUpdate();
    TCollectionItem* item = FFactory(this);
    if (item->FCollection != this) item->SetCollection(this);
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear()
{
    if (FItems.empty()) return;
    BeginUpdate();
    while (!FItems.empty()) delete FItems.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (auto* it : FItems)
        if (it->FID == id) return it;
    return nullptr;
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate()
{
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Assign(TPersistent* Source)
{
    if (auto* other = dynamic_cast<TCollection*>(Source)) {
        BeginUpdate();
        Clear();
        for (auto* src : other->FItems) Add()->Assign(src);
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

void TCollection::Update(TCollectionItem* item)
{
    if (OnUpdate) OnUpdate(item);
}

void TCollection::Changed()
{
    if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item)
{
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    FItems.erase(std::remove(FItems.begin(), FItems.end(), item), FItems.end());
    item->FCollection = nullptr;
    Changed();
}
