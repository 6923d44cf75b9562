#include "skin/core/stored_skin.h"

#include <memory>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/string_list.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/core/text_codec.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/codecs/bmp_codec.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_files.h"
#include "skin/core/skin_ini.h"
#include "skin/core/zlib_streams.h"

namespace {

constexpr int32_t kContainerVersion = 3;
constexpr int32_t kPayloadVersion = 3;

uint32_t Get16(const uint8_t* p) { return p[0] | (p[1] << 8); }
uint32_t Get32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

void WriteInt32(TStream& s, int32_t v) { s.WriteBuffer(&v, 4); }

int32_t ReadInt32(TStream& s)
{
    int32_t v = 0;
    s.ReadBuffer(&v, 4);
    return v;
}

// A picture as it goes into a payload: the flag, then the BMP when there is one.
void WriteFlaggedBitmap(TStream& s, TBitmap* b)
{
    const uint8_t empty = b->Empty() ? 1 : 0;
    s.WriteBuffer(&empty, 1);
    if (!empty) WriteStoredBitmap(s, b);
}

}  // namespace

// ---- the payload -----------------------------------------------------------------------------

size_t StoredBitmapLength(const uint8_t* Data, size_t Size, uint64_t* Pixels)
{
    auto fail = [](const String& why) { throw EbsSkinDataError(L"Stored bitmap is not valid: " + why); };
    if (Size < 18 || Data[0] != 'B' || Data[1] != 'M') fail(L"no bitmap header");
    const uint32_t headerSize = Get32(Data + 14);
    const bool core = headerSize == 12;
    if (!(core || headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 || headerSize == 124))
        fail(L"unsupported header size " + IntToStr(headerSize));
    if (Size < 14 + static_cast<size_t>(headerSize)) fail(L"truncated header");
    const uint8_t* h = Data + 14;
    uint64_t width, height, bpp, compression = 0, imageSize = 0, colorsUsed = 0;
    if (core) {
        width = Get16(h + 4);
        height = Get16(h + 6);
        bpp = Get16(h + 10);
    } else {
        const auto w = static_cast<int32_t>(Get32(h + 4)), hh = static_cast<int32_t>(Get32(h + 8));
        width = w < 0 ? 0 : static_cast<uint64_t>(w);
        height = hh < 0 ? static_cast<uint64_t>(-static_cast<int64_t>(hh)) : static_cast<uint64_t>(hh);
        bpp = Get16(h + 14);
        compression = Get32(h + 16);
        imageSize = Get32(h + 20);
        colorsUsed = Get32(h + 32);
    }
    if (width == 0 || height == 0 || bpp == 0 || bpp > 32) fail(L"bad size or depth");

    uint64_t length = 14 + headerSize;
    const uint64_t entries = colorsUsed != 0 ? colorsUsed : (bpp <= 8 ? uint64_t(1) << bpp : 0);
    length += entries * (core ? 3 : 4);
    if (headerSize == 40 && compression == 3) length += 12;  // BI_BITFIELDS masks
    if (headerSize == 40 && compression == 6) length += 16;  // BI_ALPHABITFIELDS masks
    const bool uncompressed = compression == 0 || compression == 3 || compression == 6;
    if (uncompressed || imageSize == 0) {
        const uint64_t stride = (width * bpp + 31) / 32 * 4;
        if (height > (Size + stride) / stride) fail(L"pixels past the end of the data");
        length += stride * height;
    } else {
        length += imageSize;
    }
    if (length > Size)
        fail(L"needs " + IntToStr(static_cast<int64_t>(length)) + L" bytes, " + IntToStr(Size) + L" left");
    if (Pixels) *Pixels = width * height;
    return static_cast<size_t>(length);
}

void ReadStoredBitmap(TMemoryStream& Payload, TBitmap* Bitmap, uint64_t& PixelBudget)
{
    const int64_t pos = Payload.Position();
    const size_t left = static_cast<size_t>(Payload.Size() - pos);
    const uint8_t* data = Payload.Data().data() + pos;
    uint64_t pixels = 0;
    const size_t length = StoredBitmapLength(data, left, &pixels);
    if (pixels > PixelBudget)
        throw EbsSkinDataError(L"Skin pictures are larger than " + IntToStr(MaxStoredSkinPixels >> 20) +
                               L" megapixels together");
    PixelBudget -= pixels;
    Bitmap->AssignRasterImage(LoadBmp(data, length));
    Payload.SetPosition(pos + static_cast<int64_t>(length));
}

void WriteStoredBitmap(TStream& Payload, TBitmap* Bitmap) { Bitmap->SaveToStream(Payload); }

// ---- TbsCompressedStoredSkin -----------------------------------------------------------------

TbsCompressedStoredSkin::TbsCompressedStoredSkin(TComponent* AOwner)
    : TComponent(AOwner), FCompressedStream(new TMemoryStream)
{}

TbsCompressedStoredSkin::~TbsCompressedStoredSkin() { delete FCompressedStream; }

void TbsCompressedStoredSkin::SetCompressedData(const std::vector<uint8_t>& Data)
{
    FCompressedStream->Clear();
    if (!Data.empty()) FCompressedStream->WriteBuffer(Data.data(), static_cast<int64_t>(Data.size()));
    FCompressedStream->SetPosition(0);
}

void TbsCompressedStoredSkin::SetPayload(TMemoryStream& Payload)
{
    TMemoryStream packed;
    CompressStream(Payload, packed);
    FCompressedStream->Clear();
    FCompressedStream->WriteBuffer(packed.Memory(), packed.Size());
    FCompressedStream->SetPosition(0);
}

void TbsCompressedStoredSkin::LoadFromSkinData(TbsSkinData* ASkinData)
{
    FCompressedStream->Clear();
    TMemoryStream payload;
    WriteInt32(payload, kPayloadVersion);
    WriteFlaggedBitmap(payload, ASkinData->FPicture);
    WriteFlaggedBitmap(payload, ASkinData->FInActivePicture);
    WriteFlaggedBitmap(payload, ASkinData->FMask);
    WriteInt32(payload, static_cast<int32_t>(ASkinData->FActivePictures.size()));
    for (TBitmap* b : ASkinData->FActivePictures) WriteStoredBitmap(payload, b);
    TMemIniFile ini(String{});
    ASkinData->WriteSkin(&ini);
    const std::string text = SkinIniBytes(ini);
    payload.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    SetPayload(payload);
}

void TbsCompressedStoredSkin::LoadFromIniFile(const String& AFileName)
{
    std::string bytes;
    if (!ReadFileBytes(AFileName, bytes))
        throw EFOpenError(L"Cannot open file \"" + AFileName + L"\". No such file or directory");
    TStringList lines;
    lines.SetText(DecodeText(bytes));
    TMemIniFile ini(String{});
    ini.SetStrings(&lines);
    if (!SkinIniCheck(&ini)) return;

    FCompressedStream->Clear();
    const String folder = ExtractFilePath(AFileName);
    TMemoryStream payload;
    WriteInt32(payload, kPayloadVersion);
    for (const wchar_t* key : {L"picture", L"inactivepicture", L"mask"}) {
        TBitmap b;
        const String name = ini.ReadString(L"PICTURES", key, String());
        if (!name.empty()) b.LoadFromFile(ResolveSkinFile(folder, name));
        WriteFlaggedBitmap(payload, &b);
    }
    TStringList names;
    ReadStrings(&ini, L"PICTURES", L"activepictures", &names);
    WriteInt32(payload, names.Count());
    for (int i = 0; i < names.Count(); ++i) {
        CheckSkinPictureName(names[i], i);
        TBitmap b;
        b.LoadFromFile(ResolveSkinFile(folder, names[i]));
        WriteStoredBitmap(payload, &b);
    }
    const std::string text = SkinIniBytes(lines);
    payload.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    SetPayload(payload);
}

void TbsCompressedStoredSkin::LoadFromCompressFile(const String& AFileName)
{
    FCompressedStream->Clear();
    TFileStream f(AFileName, fmOpenRead | fmShareDenyWrite);
    LoadFromCompressStream(f);
}

void TbsCompressedStoredSkin::LoadFromCompressStream(TStream& Stream)
{
    FCompressedStream->Clear();
    Stream.SetPosition(0);
    if (ReadInt32(Stream) > kContainerVersion) return;
    const int32_t size = ReadInt32(Stream);
    if (size < 0 || size > Stream.Size() - Stream.Position()) throw EReadError(L"Stream read error");
    if (size > 0) FCompressedStream->CopyFrom(Stream, size);
    FCompressedStream->SetPosition(0);
}

void TbsCompressedStoredSkin::SaveToCompressStream(TStream& Stream)
{
    WriteInt32(Stream, kContainerVersion);
    WriteInt32(Stream, static_cast<int32_t>(FCompressedStream->Size()));
    if (!Empty()) Stream.WriteBuffer(FCompressedStream->Memory(), FCompressedStream->Size());
}

void TbsCompressedStoredSkin::SaveToCompressFile(const String& AFileName)
{
    if (Empty()) return;
    TMemoryStream file;
    SaveToCompressStream(file);
    WriteFileAtomically(AFileName, std::string(static_cast<const char*>(file.Memory()), file.Data().size()));
}

void TbsCompressedStoredSkin::DeCompressToStream(TMemoryStream& S) { DecompressStream(S, *FCompressedStream); }

// ---- skin lists ------------------------------------------------------------------------------

TbsSkinListItem::TbsSkinListItem(TCollection* Collection)
    : TCollectionItem(Collection), FSkin(new TbsCompressedStoredSkin(nullptr)), FName(L"bsSkin" + IntToStr(Index()))
{}

TbsSkinListItem::~TbsSkinListItem() { delete FSkin; }

void TbsSkinListItem::Assign(TPersistent* Source)
{
    auto* other = dynamic_cast<TbsSkinListItem*>(Source);
    if (!other) {
        TCollectionItem::Assign(Source);
        return;
    }
    FName = other->FName;
    SetDescription(other->Description());
    SetFileName(other->FileName());
    SetCompressedFileName(other->CompressedFileName());
    TMemoryStream* from = other->FSkin->CompressedStream();
    FSkin->SetCompressedData(from->Data());
}

TbsSkinListItems::TbsSkinListItems(TbsCompressedSkinList* AOwner)
    : TCollection([](TCollection* c) -> TCollectionItem* { return new TbsSkinListItem(c); }, AOwner)
{}

TbsCompressedSkinList::TbsCompressedSkinList(TComponent* AOwner)
    : TComponent(AOwner), FSkins(new TbsSkinListItems(this))
{}

TbsCompressedSkinList::~TbsCompressedSkinList() { delete FSkins; }

void TbsCompressedSkinList::SetSkins(TbsSkinListItems* Value) { FSkins->Assign(Value); }
