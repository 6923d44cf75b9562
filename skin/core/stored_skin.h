// Stored skins: a skin as one zlib-compressed block - the payload of its bitmaps and INI text -
// held by a TbsCompressedStoredSkin (saved with a form's layout as "CompressedData", the bare zlib
// stream), by the items of a TbsCompressedSkinList (each saved as "Skin" in the container form)
// or in a compressed skin file (container: int32 3, int32 size, the zlib data).
//
// Payload: int32 version (3 written; below 4 read), then for the form picture, the inactive
// picture and the mask a flag byte (nonzero: empty) and, when 0, a BMP file; for version 2 two more
// such pairs, discarded; int32 count of active pictures and that many BMP files; the INI text to
// the end.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/framework/core/collection.h"
#include "platform/framework/core/component.h"
#include "platform/framework/core/streams.h"

class TbsSkinData;
class TBitmap;

class TbsCompressedStoredSkin : public TComponent {
public:
    explicit TbsCompressedStoredSkin(TComponent* AOwner);
    ~TbsCompressedStoredSkin() override;

    // Replaces the data by the payload built from a skin model.
    void LoadFromSkinData(TbsSkinData* ASkinData);
    // Replaces the data by the payload built from a skin folder; an INI that is not a skin leaves
    // it unchanged. The INI's own lines (comments and foreign sections too) become the text.
    void LoadFromIniFile(const String& AFileName);
    // A compressed skin file; a container version above 3 leaves the stored skin empty.
    void LoadFromCompressFile(const String& AFileName);
    // Nothing, and no file, when Empty; written through a temporary file.
    void SaveToCompressFile(const String& AFileName);
    // The container read from the start of Stream; a size past the bytes left raises EReadError.
    void LoadFromCompressStream(TStream& Stream);
    // The container at Stream's position (an empty skin as version 3, size 0).
    void SaveToCompressStream(TStream& Stream);
    // Appends the inflated payload to S; corrupt data raises EDecompressionError, data cut short
    // EReadError.
    void DeCompressToStream(TMemoryStream& S);

    bool Empty() const { return FCompressedStream->Size() == 0; }
    // The bare zlib stream ("CompressedData" of a stored layout).
    TMemoryStream* CompressedStream() const { return FCompressedStream; }
    void SetCompressedData(const std::vector<uint8_t>& Data);

    const String& Description() const { return FDescription; }
    void SetDescription(const String& v) { FDescription = v; }
    // At run time these only store the text.
    const String& FileName() const { return FFileName; }
    void SetFileName(const String& v) { FFileName = v; }
    const String& CompressedFileName() const { return FCompressedFileName; }
    void SetCompressedFileName(const String& v) { FCompressedFileName = v; }

private:
    // Compresses the payload into the data at the strongest level.
    void SetPayload(TMemoryStream& Payload);

    TMemoryStream* FCompressedStream;
    String FFileName, FCompressedFileName, FDescription;
};

class TbsSkinListItem : public TCollectionItem {
public:
    explicit TbsSkinListItem(TCollection* Collection);
    ~TbsSkinListItem() override;

    // Copies another item: its texts and its compressed skin.
    void Assign(TPersistent* Source) override;
    String DisplayName() const override { return FName; }

    TbsCompressedStoredSkin* Skin() const { return FSkin; }
    const String& Description() const { return FSkin->Description(); }
    void SetDescription(const String& v) { FSkin->SetDescription(v); }
    const String& FileName() const { return FSkin->FileName(); }
    void SetFileName(const String& v) { FSkin->SetFileName(v); }
    const String& CompressedFileName() const { return FSkin->CompressedFileName(); }
    void SetCompressedFileName(const String& v) { FSkin->SetCompressedFileName(v); }
    const String& Name() const { return FName; }
    void SetName(const String& v) { FName = v; }

private:
    TbsCompressedStoredSkin* FSkin;
    String FName;
};

class TbsCompressedSkinList;

class TbsSkinListItems : public TCollection {
public:
    explicit TbsSkinListItems(TbsCompressedSkinList* AOwner);
    TbsSkinListItem* GetItem(int Index) const { return static_cast<TbsSkinListItem*>(Items(Index)); }
    TbsSkinListItem* Add() { return static_cast<TbsSkinListItem*>(TCollection::Add()); }
};

class TbsCompressedSkinList : public TComponent {
public:
    explicit TbsCompressedSkinList(TComponent* AOwner);
    ~TbsCompressedSkinList() override;

    TbsSkinListItems* Skins() const { return FSkins; }
    // Replaces the items by copies of Value's.
    void SetSkins(TbsSkinListItems* Value);

private:
    TbsSkinListItems* FSkins;
};

// ---- the payload -----------------------------------------------------------------------------

// The length of the BMP file at Data by its headers (file header, info header, colour table,
// pixel bytes); EbsSkinDataError when it is no bitmap or runs past Size. Pixels receives its
// width times height.
size_t StoredBitmapLength(const uint8_t* Data, size_t Size, uint64_t* Pixels = nullptr);
// The pixels all pictures of one stored skin may have together (a 1-bit picture of a few
// megabytes could otherwise claim gigabytes once decoded).
constexpr uint64_t MaxStoredSkinPixels = uint64_t(64) << 20;
// Reads one stored BMP from the payload's position into Bitmap and moves past it; its pixels are
// taken from PixelBudget, and one that does not fit raises EbsSkinDataError.
void ReadStoredBitmap(TMemoryStream& Payload, TBitmap* Bitmap, uint64_t& PixelBudget);
void WriteStoredBitmap(TStream& Payload, TBitmap* Bitmap);
