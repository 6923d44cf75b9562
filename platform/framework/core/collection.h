// TCollection and TCollectionItem: an owned, ordered list of items of one class (skin lists,
// image lists, column lists), telling its owner of changes through Update.
#pragma once

#include <functional>
#include <vector>

#include "platform/framework/core/component.h"

class TCollection;

class TCollectionItem : public TPersistent {
public:
    explicit TCollectionItem(TCollection* collection);
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    void SetCollection(TCollection* collection);
    int Index() const;
    void SetIndex(int index);
    int ID() const { return FID; }
    virtual String DisplayName() const;
    void SetDisplayName(const String& name)
    {
        FDisplayName = name;
        Changed(false);
    }

protected:
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int FID = 0;
    String FDisplayName;
};

class TCollection : public TPersistent {
public:
    using ItemFactory = std::function<TCollectionItem*(TCollection*)>;
    explicit TCollection(ItemFactory factory, TPersistent* owner = nullptr);
    ~TCollection() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    TCollectionItem* Items(int index) const;
    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem* FindItemID(int id) const;
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    TPersistent* GetOwner() const { return FOwner; }
    void Assign(TPersistent* Source) override;

    // Called after an item (or, with nullptr, the whole collection) changed.
    std::function<void(TCollectionItem*)> OnUpdate;

protected:
    virtual void Update(TCollectionItem* item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item);
    void RemoveItem(TCollectionItem* item);
    ItemFactory FFactory;
    TPersistent* FOwner;
    std::vector<TCollectionItem*> FItems;
    int FNextID = 0;
    int FUpdateCount = 0;
};
