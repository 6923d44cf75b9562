// The program's own skin, drawn and packed when the program is built (tools/skin_builder) and
// linked in as the bytes of a compressed skin container: int32 3, int32 size, the zlib data.
// Nothing is read from a file at run time.
#pragma once

#include <cstdint>
#include <span>

class TbsSkinListItem;

// The container's bytes.
std::span<const uint8_t> DefaultSkinContainer();
// Fills the item's stored skin from the container (LoadFromCompressStream), as the skin lists of
// the main window hold it.
void FillDefaultSkinItem(TbsSkinListItem& Item);
