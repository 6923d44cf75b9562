#include "platform/framework/core/collection.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct TNamedItem : TCollectionItem {
    explicit TNamedItem(TCollection* C) : TCollectionItem(C) {}
    int Mark = 7;  // set by the derived constructor
};

// The owner hears of an added item only once the item is whole, so its update can read it.
TEST(Collection, UpdateComesAfterTheAddedItemIsBuilt)
{
    std::vector<int> seen;
    TCollection c([](TCollection* Owner) { return new TNamedItem(Owner); });
    c.OnUpdate = [&](TCollectionItem*) {
        for (int i = 0; i < c.Count(); ++i) seen.push_back(static_cast<TNamedItem*>(c.Items(i))->Mark);
    };
    c.Add();
    c.Insert(0);
    EXPECT_EQ(seen, (std::vector<int>{7, 7, 7, 7, 7}));  // one update per Add, one more for the move
    EXPECT_EQ(c.UpdateCount(), 0);
}

}  // namespace
