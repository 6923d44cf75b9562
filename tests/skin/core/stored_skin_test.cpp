// Stored skins: the payload, the container, skin list items and compressed skin files.
#include "skin/core/stored_skin.h"

#include <gtest/gtest.h>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "skin_model_test_support.h"

namespace {

int32_t Int32At(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24));
}

std::string SavedText(TbsSkinData& d, SkinFolder& f, const std::string& name)
{
    d.SaveToFile(f.File(name));
    return ReadBytes(f.dir.file(name));
}

}  // namespace

TEST(StoredSkin, PayloadLayoutAndRoundTrip)
{
    SkinFolder f;
    TbsSkinData d(nullptr);
    d.LoadFromFile(MakeFolderSkin(f));
    TbsCompressedStoredSkin s(nullptr);
    s.LoadFromSkinData(&d);
    const std::vector<uint8_t> p = PayloadOf(s);
    EXPECT_EQ(Int32At(p, 0), 3);
    EXPECT_EQ(p[4], 0);  // the form picture follows
    const size_t form = StoredBitmapLength(p.data() + 5, p.size() - 5);
    EXPECT_EQ(p[5 + form], 1);      // no inactive picture
    EXPECT_EQ(p[5 + form + 1], 1);  // no mask
    EXPECT_EQ(Int32At(p, 5 + form + 2), 1);
    const size_t pic = StoredBitmapLength(p.data() + 5 + form + 6, p.size() - (5 + form + 6));
    const std::string text(p.begin() + static_cast<long>(5 + form + 6 + pic), p.end());
    EXPECT_EQ(text.rfind("[VERSION]\r\nver=1\r\n", 0), 0u);

    TbsSkinData back(nullptr);
    back.LoadCompressedStoredSkin(&s);
    EXPECT_TRUE(back.FInActivePicture->Empty());
    EXPECT_EQ(SavedText(back, f, "a.ini"), SavedText(d, f, "b.ini"));
}

TEST(StoredSkin, PayloadVersions)
{
    SkinFolder f;
    TbsCompressedStoredSkin s(nullptr);
    s.LoadFromIniFile(MakeFolderSkin(f));
    std::vector<uint8_t> p = PayloadOf(s);
    // Version 2: two more flag and picture pairs after the mask, read and dropped.
    const size_t form = StoredBitmapLength(p.data() + 5, p.size() - 5);
    const size_t afterMask = 5 + form + 2;
    std::vector<uint8_t> v2(p.begin(), p.begin() + static_cast<long>(afterMask));
    v2[0] = 2;
    v2.push_back(0);
    v2.insert(v2.end(), p.begin() + 5, p.begin() + static_cast<long>(5 + form));
    v2.push_back(1);
    v2.insert(v2.end(), p.begin() + static_cast<long>(afterMask), p.end());
    SetPayload(s, v2);
    TbsSkinData d(nullptr);
    d.LoadCompressedStoredSkin(&s);
    EXPECT_EQ(d.FActivePictures.size(), 1u);
    EXPECT_EQ(d.GetControlIndex(L"button"), 0);
    p[0] = 0xFF;  // -1: below 4, read as a skin
    p[1] = p[2] = p[3] = 0xFF;
    SetPayload(s, p);
    d.LoadCompressedStoredSkin(&s);
    EXPECT_FALSE(d.Empty);
}

TEST(StoredSkin, ContainerAndFiles)
{
    SkinFolder f;
    f.Bmp("form.bmp", 30, 30);
    f.Bmp("pic0.bmp", 8, 8);
    f.Text("skin.ini", "; the test's own comment\r\n" + SkinIni() + "[UNUSED]\r\nz=9\r\n");
    TbsCompressedStoredSkin s(nullptr);
    s.LoadFromIniFile(f.File("skin.ini"));
    const std::vector<uint8_t> p = PayloadOf(s);
    const std::string all(p.begin(), p.end());
    EXPECT_NE(all.find("; the test's own comment\r\n[VERSION]"), std::string::npos);
    EXPECT_NE(all.find("[UNUSED]\r\nz=9\r\n"), std::string::npos);

    s.SaveToCompressFile(f.File("skin.skn"));
    const std::string file = ReadBytes(f.dir.file("skin.skn"));
    ASSERT_GT(file.size(), 10u);
    EXPECT_EQ(file.substr(0, 4), std::string("\x03\x00\x00\x00", 4));
    EXPECT_EQ(Int32At(std::vector<uint8_t>(file.begin(), file.end()), 4), static_cast<int32_t>(file.size() - 8));
    EXPECT_EQ(file.substr(8, 2), "\x78\xDA");

    TbsSkinData d(nullptr);
    d.LoadFromCompressedFile(f.File("skin.skn"));
    EXPECT_EQ(d.GetIndex(L"closebutton"), 0);
    d.SaveToCompressedFile(f.File("again.skn"));
    TbsSkinData d2(nullptr);
    d2.LoadFromCompressedFile(f.File("again.skn"));
    EXPECT_EQ(SavedText(d2, f, "a.ini"), SavedText(d, f, "b.ini"));

    struct Case {
        const char* name;
        std::string bytes;
        bool error;
    };
    const Case cases[] = {
        {"version 7", std::string("\x07\0\0\0\x02\0\0\0\x78\xDA", 10), false},
        {"size past the end", std::string("\x03\0\0\0\x09\0\0\0\x78\xDA", 10), true},
        {"negative size", std::string("\x03\0\0\0\xFF\xFF\xFF\xFF\x78\xDA", 10), true},
        {"short header", std::string("\x03\0\0", 3), true},
        {"size 0", std::string("\x03\0\0\0\0\0\0\0", 8), false},
    };
    for (const Case& c : cases) {
        f.Text("bad.skn", c.bytes);
        TbsCompressedStoredSkin bad(nullptr);
        bad.SetCompressedData({1, 2, 3});
        if (c.error)
            EXPECT_THROW(bad.LoadFromCompressFile(f.File("bad.skn")), EReadError) << c.name;
        else
            bad.LoadFromCompressFile(f.File("bad.skn"));
        EXPECT_TRUE(bad.Empty()) << c.name;
    }
    EXPECT_THROW(s.LoadFromCompressFile(f.File("missing.skn")), EFOpenError);

    TbsCompressedStoredSkin empty(nullptr);
    empty.SaveToCompressFile(f.File("empty.skn"));
    EXPECT_FALSE(FileExists(f.File("empty.skn")));
}

TEST(StoredSkin, FolderThatIsNoSkinOrLacksAPicture)
{
    SkinFolder f;
    TbsCompressedStoredSkin s(nullptr);
    s.SetCompressedData({9, 9});
    f.Text("notskin.ini", "[VERSION]\r\n");
    s.LoadFromIniFile(f.File("notskin.ini"));
    EXPECT_EQ(s.CompressedStream()->Size(), 2);  // unchanged
    f.Text("skin.ini", SkinIni());
    EXPECT_THROW(s.LoadFromIniFile(f.File("skin.ini")), EFOpenError);  // no pictures beside it
    EXPECT_TRUE(s.Empty());
}

TEST(StoredSkin, ListItems)
{
    TbsCompressedSkinList list(nullptr);
    TbsSkinListItem* empty = list.Skins()->Add();
    TMemoryStream m;
    empty->Skin()->SaveToCompressStream(m);
    EXPECT_EQ(m.Data(), (std::vector<uint8_t>{3, 0, 0, 0, 0, 0, 0, 0}));
    TbsSkinListItem* back = list.Skins()->Add();
    EXPECT_EQ(back->DisplayName(), L"bsSkin1");
    back->Skin()->SetCompressedData({1});
    back->Skin()->LoadFromCompressStream(m);
    EXPECT_TRUE(back->Skin()->Empty());

    SkinFolder f;
    back->Skin()->LoadFromIniFile(MakeFolderSkin(f));
    back->SetDescription(L"blue");
    TbsCompressedSkinList copy(nullptr);
    copy.SetSkins(list.Skins());
    ASSERT_EQ(copy.Skins()->Count(), 2);
    EXPECT_EQ(copy.Skins()->GetItem(1)->Description(), L"blue");
    EXPECT_EQ(copy.Skins()->GetItem(1)->Skin()->CompressedStream()->Data(), back->Skin()->CompressedStream()->Data());
}

TEST(StoredSkin, BitmapLengthRule)
{
    SkinFolder f;
    f.Bmp("mono.bmp", 9, 3, 0xFFFFFF, pf1bit);
    f.Bmp("rgb.bmp", 5, 3, 0x123456, pf24bit);
    for (const char* name : {"mono.bmp", "rgb.bmp"}) {
        const std::string b = ReadBytes(f.dir.file(name));
        const auto* d = reinterpret_cast<const uint8_t*>(b.data());
        EXPECT_EQ(StoredBitmapLength(d, b.size()), b.size()) << name;
        EXPECT_THROW(StoredBitmapLength(d, b.size() - 1), EbsSkinDataError) << name;
    }
    const std::string rgb = ReadBytes(f.dir.file("rgb.bmp"));
    // 14 + 40 header bytes, rows of 5 * 3 = 15 bytes rounded to 16.
    EXPECT_EQ(rgb.size(), 14u + 40u + 3u * 16u);
    std::string huge = rgb;
    huge[22] = '\xFF';  // height 0x7FFFFFxx: far past the data, refused before anything is made
    huge[23] = '\x7F';
    huge[24] = '\xFF';
    huge[25] = '\x7F';
    EXPECT_THROW(StoredBitmapLength(reinterpret_cast<const uint8_t*>(huge.data()), huge.size()), EbsSkinDataError);
}
