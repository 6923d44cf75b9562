// The program's own skin as the program holds it: the container linked in loads with one round of
// skin notices and the records the builder made, the folder form under resources/ is the same
// skin, and the container is the model's packer output.
#include <gtest/gtest.h>

#include "default_skin_test_support.h"
#include "platform/framework/forms/application.h"
#include "skin/core/control_records.h"
#include "skin/core/object_records.h"
#include "skin/core/window_records.h"
#include "skin/core/zlib_streams.h"
#include "tests/skin/core/skin_model_test_support.h"
#include "tests/support/application_fixture.h"

namespace {

using DefaultSkinForms = ApplicationFixture;

TEST_F(DefaultSkinForms, EmbeddedSkinLoadsFromASkinListWithOneRoundOfNotices)
{
    std::vector<std::string> log;
    new TNoticeForm(&log, "form");
    auto built = BuiltSkin();
    {
        // As the main window holds it: a skin list of one item, picked by the model's index.
        TbsCompressedSkinList list(nullptr);
        FillDefaultSkinItem(*list.Skins()->Add());
        TbsSkinData skin(nullptr);
        skin.SetSkinList(&list);
        EXPECT_FALSE(skin.Empty);
        EXPECT_FALSE(skin.ChangeSkinDataProcess);
        EXPECT_EQ(skin.SkinName, L"Vexmora Light");
        EXPECT_EQ(skin.ObjectList.size(), built->ObjectList.size());
        EXPECT_EQ(skin.CtrlList.size(), built->CtrlList.size());
        EXPECT_EQ(SkinText(skin), SkinText(*built));
    }
    std::string all;
    for (auto& e : log) all += e + " ";
    EXPECT_EQ(all, "1225:form 1226:form 1227:form ");
}

TEST(DefaultSkin, FolderFormIsTheSameSkin)
{
    auto embedded = EmbeddedSkin();
    TbsSkinData folder(nullptr);
    folder.LoadFromFile(Utf8ToString(SkinFolderPath() + "skin.ini"));
    ASSERT_FALSE(folder.Empty);
    EXPECT_EQ(SkinText(folder), SkinText(*embedded));
    ASSERT_EQ(folder.FActivePictures.size(), embedded->FActivePictures.size());
    EXPECT_TRUE(SamePixels(folder.FPicture, embedded->FPicture));
    EXPECT_TRUE(SamePixels(folder.FMask, embedded->FMask));
    EXPECT_TRUE(folder.FInActivePicture->Empty());
    for (size_t i = 0; i < folder.FActivePictures.size(); ++i)
        EXPECT_TRUE(SamePixels(folder.FActivePictures[i], embedded->FActivePictures[i])) << i;
    // Packed from the folder (the stored skin's folder load), the same skin again.
    TbsCompressedStoredSkin packed(nullptr);
    packed.LoadFromIniFile(Utf8ToString(SkinFolderPath() + "skin.ini"));
    TbsSkinData unpacked(nullptr);
    unpacked.LoadCompressedStoredSkin(&packed);
    EXPECT_EQ(SkinText(unpacked), SkinText(*embedded));
    EXPECT_TRUE(SamePixels(unpacked.FPicture, embedded->FPicture));
    // 24-bit pictures and a 1-bit mask, as written.
    EXPECT_EQ(folder.FPicture->PixelFormat(), pf24bit);
    EXPECT_EQ(folder.FMask->PixelFormat(), pf1bit);

    // The INI is the writer's own text: read and written again, it comes back byte for byte.
    TempDir dir;
    folder.SaveToFile(dir.File(L"skin.ini"));
    EXPECT_TRUE(ReadBytes(dir.file("skin.ini")) == ReadBytes(SkinFolderPath() + "skin.ini"));
}

// Text in the skin is in one face the layer maps to a font with Chinese glyphs, at character
// heights that keep Chinese captions legible; the skin colours are the faces the pictures use.
TEST(DefaultSkin, FontsAndColoursMatchTheLook)
{
    auto skin = EmbeddedSkin();
    auto check = [](TbsSkinKeys& keys, const std::string& who) {
        for (const auto& k : keys.Items()) {
            const String name = k.Name;
            if (k.Codec == TbsKeyCodec::Text && name.ends_with(L"fontname")) {
                EXPECT_EQ(*static_cast<String*>(k.Field), L"Microsoft YaHei") << who << " " << StringToUtf8(name);
            }
            if (k.Codec == TbsKeyCodec::Integer && name.ends_with(L"fontheight")) {
                const int h = *static_cast<int*>(k.Field);
                EXPECT_TRUE(h <= -12 && h >= -14) << who << " " << StringToUtf8(name) << " " << h;
            }
        }
    };
    int fonts = 0;
    for (TbsDataSkinControl* c : skin->CtrlList) {
        TbsSkinKeys keys;
        c->DefineKeys(keys);
        check(keys, StringToUtf8(c->IDName));
        for (const auto& k : keys.Items()) fonts += String(k.Name) == L"fontname";
    }
    for (TbsDataSkinObject* o : skin->ObjectList) {
        TbsSkinKeys keys;
        o->DefineKeys(keys);
        check(keys, StringToUtf8(o->IDName));
    }
    TbsSkinKeys hint;
    skin->HintWindow->DefineKeys(hint);
    check(hint, "HINTWINDOW");
    EXPECT_GE(fonts, 20);

    // The client piece of the form picture is the button face; list insides are the window colour.
    auto rgb = [](TColor c) {
        const auto v = static_cast<uint32_t>(ColorToRGB(c));
        return (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
    };
    const TRect cl = skin->ClRect;
    EXPECT_EQ(skin->FPicture->PixelArgb(cl.Left + 5, cl.Top + 5) & 0xFFFFFF, rgb(skin->SkinColors()->cBtnFace()));
    auto* list = skin->CtrlList[skin->GetControlIndex(L"listbox")];
    const TRect lr = list->SkinRect;
    EXPECT_EQ(skin->FActivePictures[list->PictureIndex]->PixelArgb(lr.Left + lr.Width() / 2, lr.Top + lr.Height() / 2) &
                  0xFFFFFF,
              rgb(skin->SkinColors()->cWindow()));
}

TEST(DefaultSkin, ContainerIsThePackersOutput)
{
    const std::span<const uint8_t> bytes = DefaultSkinContainer();
    ASSERT_GT(bytes.size(), 10u);
    const uint32_t size = bytes[4] | bytes[5] << 8 | bytes[6] << 16 | static_cast<uint32_t>(bytes[7]) << 24;
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4), (std::vector<uint8_t>{3, 0, 0, 0}));
    EXPECT_EQ(size, bytes.size() - 8);
    EXPECT_EQ(bytes[8], 0x78);  // zlib header of level 9
    EXPECT_EQ(bytes[9], 0xDA);

    // container -> stored skin -> model -> stored skin again: the payload comes back byte for byte.
    TbsCompressedStoredSkin first(nullptr);
    TMemoryStream in;
    in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    first.LoadFromCompressStream(in);
    TbsSkinData model(nullptr);
    model.LoadCompressedStoredSkin(&first);
    TbsCompressedStoredSkin second(nullptr);
    second.LoadFromSkinData(&model);
    TMemoryStream a, b;
    first.DeCompressToStream(a);
    second.DeCompressToStream(b);
    EXPECT_EQ(a.Data(), b.Data());
    EXPECT_EQ(second.CompressedStream()->Data(), first.CompressedStream()->Data());
}

}  // namespace
