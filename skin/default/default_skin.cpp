#include "skin/default/default_skin.h"

#include "platform/framework/core/streams.h"
#include "skin/core/stored_skin.h"

extern const uint8_t kDefaultSkinContainer[];
extern const size_t kDefaultSkinContainerSize;

std::span<const uint8_t> DefaultSkinContainer() { return {kDefaultSkinContainer, kDefaultSkinContainerSize}; }

void FillDefaultSkinItem(TbsSkinListItem& Item)
{
    TMemoryStream m;
    m.WriteBuffer(kDefaultSkinContainer, static_cast<int64_t>(kDefaultSkinContainerSize));
    Item.Skin()->LoadFromCompressStream(m);
}
