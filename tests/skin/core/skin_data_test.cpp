// The skin model: the notices around loads and switch changes, loads that fail, the skin list and
// index, look-ups, pictures, fonts and writing a skin back.
#include "skin/core/skin_data.h"

#include <gtest/gtest.h>

#include <cstring>

#include <functional>
#include <memory>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "skin/core/button_records.h"
#include "skin/core/object_records.h"
#include "skin/core/resource_strings.h"
#include "skin/core/window_records.h"
#include "skin_model_test_support.h"
#include "tests/support/application_fixture.h"
#include "tests/support/unprivileged.h"

#include <sys/stat.h>

namespace {

// Each table case frees what it left on the application through the fixture's TearDown.
struct SkinModel : ApplicationFixture {
    // Three forms A, B, C in screen order; the model belongs to Owner (C unless said otherwise).
    void MakeForms()
    {
        A = new TNoticeForm(&log, "A");
        B = new TNoticeForm(&log, "B");
        C = new TNoticeForm(&log, "C");
    }
    TbsSkinData* MakeModel(TComponent* owner)
    {
        auto* d = new TbsSkinData(owner);
        for (auto* f : {A, B, C})
            if (f) f->expectedModel = d;
        return d;
    }
    std::string Log() const
    {
        std::string s;
        for (auto& e : log) s += (s.empty() ? "" : " ") + e;
        return s;
    }

    std::vector<std::string> log;
    TNoticeForm* A = nullptr;
    TNoticeForm* B = nullptr;
    TNoticeForm* C = nullptr;
    SkinFolder folder;
};

}  // namespace

TEST_F(SkinModel, Notices)
{
    const std::string abcAll = "1225:A 1225:B 1225:C 1226:A 1226:B 1226:C 1227:A 1227:B 1227:C";
    struct Case {
        const char* name;
        std::function<void(SkinModel&, TbsSkinData*)> act;
        std::string want;
    };
    const Case cases[] = {
        {"folder load", [](SkinModel& t, TbsSkinData* d) { d->LoadFromFile(MakeFolderSkin(t.folder)); }, abcAll},
        {"stored skin",
         [](SkinModel& t, TbsSkinData* d) {
             TbsCompressedStoredSkin s(nullptr);
             s.LoadFromIniFile(MakeFolderSkin(t.folder));
             t.log.clear();
             d->LoadCompressedStoredSkin(&s);
         },
         abcAll},
        {"ClearSkin", [](SkinModel&, TbsSkinData* d) { d->ClearSkin(); }, abcAll},
        {"missing section",
         [](SkinModel& t, TbsSkinData* d) {
             t.folder.Text("bad.ini", "[VERSION]\n[PICTURES]\n[FORMINFO]\n[SKINOBJECTS]\n");
             d->LoadFromFile(t.folder.File("bad.ini"));
         },
         ""},
        {"missing file (no sections: not a skin)",
         [](SkinModel& t, TbsSkinData* d) { d->LoadFromFile(t.folder.File("none.ini")); }, ""},
        {"owner first",
         [](SkinModel& t, TbsSkinData* d) {
             d->SetShowLayeredBorders(false);
             t.log.clear();
             d->ClearSkin();
         },
         "1225:C 1225:A 1225:B 1226:C 1226:A 1226:B 1227:C 1227:A 1227:B"},
        {"reverse order with a layer frame",
         [](SkinModel& t, TbsSkinData* d) {
             d->LoadFromFile(MakeFolderSkin(t.folder, "L", "[LAYERFRAME]\r\npictureindex=0\r\n"));
         },
         "1225:A 1225:B 1225:C 1226:C 1226:B 1226:A 1227:C 1227:B 1227:A"},
        {"layered border window left out",
         [](SkinModel& t, TbsSkinData* d) {
             new TbsFormLayerWindow(&t.log, "layer");
             d->SendSkinDataMessage(WM_SKINDATA_CHANGE);
         },
         "1226:A 1226:B 1226:C"},
        {"SkinnableForm changed", [](SkinModel&, TbsSkinData* d) { d->SetSkinnableForm(false); },
         "1294:A 1294:B 1294:C"},
        {"SkinnableForm unchanged", [](SkinModel&, TbsSkinData* d) { d->SetSkinnableForm(true); }, ""},
        {"ShowLayeredBorders changed", [](SkinModel&, TbsSkinData* d) { d->SetShowLayeredBorders(false); },
         "1427:C 1427:A 1427:B"},
        {"ShowLayeredBorders unchanged", [](SkinModel&, TbsSkinData* d) { d->SetShowLayeredBorders(true); }, ""},
        {"AeroBlurEnabled changed", [](SkinModel&, TbsSkinData* d) { d->SetAeroBlurEnabled(false); },
         "1428:A 1428:B 1428:C"},
        {"AeroBlurEnabled unchanged", [](SkinModel&, TbsSkinData* d) { d->SetAeroBlurEnabled(true); }, ""},
        {"switches while loading",
         [](SkinModel&, TbsSkinData* d) {
             d->BeginLoading();
             d->SetSkinnableForm(false);
             d->SetShowLayeredBorders(false);
             d->SetAeroBlurEnabled(false);
             d->EndLoading();
         },
         ""},
        {"text table, every assignment",
         [](SkinModel&, TbsSkinData* d) {
             TbsResourceStrData t(nullptr);
             d->SetResourceStrData(&t);
             d->SetResourceStrData(&t);
             d->BeginLoading();
             d->SetResourceStrData(nullptr);
             d->EndLoading();
         },
         "1274:A 1274:B 1274:C 1274:A 1274:B 1274:C 1274:A 1274:B 1274:C"},
    };
    for (const Case& c : cases) {
        MakeForms();
        TbsSkinData* d = MakeModel(C);
        log.clear();
        c.act(*this, d);
        EXPECT_EQ(Log(), c.want) << c.name;
        TearDown();
        A = B = C = nullptr;
        log.clear();
    }
}

TEST_F(SkinModel, AFormWithoutAWindowGetsOne)
{
    MakeForms();
    TbsSkinData* d = MakeModel(nullptr);
    auto* late = new TNoticeForm(&log, "late");
    late->expectedModel = d;
    log.clear();
    ASSERT_FALSE(late->HandleAllocated());
    d->SendSkinDataMessage(WM_SKINDATA_AFTERCHANGE);
    EXPECT_TRUE(late->HandleAllocated());
    EXPECT_EQ(Log(), "1227:A 1227:B 1227:C 1227:late");
    delete d;
}

TEST_F(SkinModel, LoadSequenceAndState)
{
    MakeForms();
    TbsSkinData* d = MakeModel(A);
    std::vector<std::string> seen;
    d->OnLoadData = [&](TObject* s) {
        EXPECT_EQ(s, d);
        EXPECT_FALSE(d->Empty);
        EXPECT_TRUE(d->ChangeSkinDataProcess);
        seen.push_back("load after " + log.back());
    };
    EXPECT_TRUE(d->Empty);
    d->LoadFromFile(MakeFolderSkin(folder));
    EXPECT_EQ(seen, std::vector<std::string>{"load after 1225:C"});
    EXPECT_FALSE(d->Empty);
    EXPECT_FALSE(d->ChangeSkinDataProcess);
    EXPECT_EQ(d->SkinName, L"Test");
    EXPECT_EQ(d->FPicture->Width(), 30);
    ASSERT_EQ(d->FActivePictures.size(), 1u);
    EXPECT_EQ(d->FActivePicturesNames->Get(0), L"pic0.bmp");
    EXPECT_EQ(d->GetControlIndex(L"button"), 0);
    EXPECT_EQ(d->GetIndex(L"closebutton"), 0);

    d->ClearSkin();
    EXPECT_TRUE(d->Empty);
    EXPECT_EQ(d->GetControlIndex(L"button"), -1);
    EXPECT_EQ(d->GetIndex(L"closebutton"), -1);
    EXPECT_TRUE(d->FPicture->Empty());
    EXPECT_EQ(d->SkinColors()->cBtnFace(), clBtnFace);
}

// A load that fails before its first notice keeps the old skin; one that fails after it ends
// with a cleared model and all three notices, and the error reaches the caller.
TEST_F(SkinModel, FailedLoads)
{
    struct Case {
        const char* name;
        std::function<void(SkinModel&, TbsSkinData*)> load;
        bool notices;
        const char* text;
    };
    auto storedWith = [](SkinModel& t, const std::function<void(std::vector<uint8_t>&)>& change) {
        auto s = std::make_shared<TbsCompressedStoredSkin>(nullptr);
        SkinFolder other;
        s->LoadFromIniFile(MakeFolderSkin(other, "New"));
        std::vector<uint8_t> p = PayloadOf(*s);
        change(p);
        SetPayload(*s, p);
        return s;
    };
    const Case cases[] = {
        {"payload version 4",
         [&](SkinModel& t, TbsSkinData* d) {
             d->LoadCompressedStoredSkin(storedWith(t, [](auto& p) { p[0] = 4; }).get());
         },
         false, "version 4"},
        {"corrupt zlib data",
         [](SkinModel&, TbsSkinData* d) {
             TbsCompressedStoredSkin s(nullptr);
             s.SetCompressedData({0x78, 0xDA, 1, 2, 3, 4, 5, 6, 7, 8});
             d->LoadCompressedStoredSkin(&s);
         },
         false, "compression error"},
        {"truncated zlib data",
         [](SkinModel&, TbsSkinData* d) {
             TbsCompressedStoredSkin s(nullptr);
             SkinFolder other;
             s.LoadFromIniFile(MakeFolderSkin(other, "New"));
             std::vector<uint8_t> data = s.CompressedStream()->Data();
             data.resize(data.size() / 2);
             s.SetCompressedData(data);
             d->LoadCompressedStoredSkin(&s);
         },
         false, "Stream read error"},
        {"missing picture",
         [](SkinModel&, TbsSkinData* d) {
             SkinFolder other;
             MakeFolderSkin(other, "New");
             DeleteFile(other.File("pic0.bmp"));
             d->LoadFromFile(other.File("skin.ini"));
         },
         true, "pic0.bmp"},
        {"rect with an empty field",
         [](SkinModel&, TbsSkinData* d) {
             SkinFolder other;
             MakeFolderSkin(other, "New");
             std::string ini = SkinIni("New");
             ini.replace(ini.find("skinrect=0,0,8,8"), 16, "skinrect=1,2,,4");
             other.Text("skin.ini", ini);
             d->LoadFromFile(other.File("skin.ini"));
         },
         true, "'' is not a valid integer value"},
        {"digits past 32 bits",
         [](SkinModel&, TbsSkinData* d) {
             SkinFolder other;
             MakeFolderSkin(other, "New");
             other.Text("skin.ini", SkinIni("New") + "[POPUPWINDOW]\r\nitemsrect=99999999999,0,1,1\r\n");
             d->LoadFromFile(other.File("skin.ini"));
         },
         true, "not a valid integer"},
        {"pictures past the pixel budget",
         [&](SkinModel& t, TbsSkinData* d) {
             d->LoadCompressedStoredSkin(
                 storedWith(t, [](auto& p) {
                     // A 1-bit form picture of 9000 x 8000: small as data, huge once decoded.
                     const uint32_t w = 9000, h = 8000, stride = (w + 31) / 32 * 4, size = 62 + stride * h;
                     std::vector<uint8_t> bmp(size, 0);
                     auto put = [&](size_t at, uint32_t v, int n) {
                         for (int i = 0; i < n; ++i) bmp[at + i] = static_cast<uint8_t>(v >> (8 * i));
                     };
                     bmp[0] = 'B', bmp[1] = 'M';
                     put(2, size, 4), put(10, 62, 4), put(14, 40, 4), put(18, w, 4), put(22, h, 4), put(26, 1, 2);
                     put(28, 1, 2);
                     p.erase(p.begin() + 5,
                             p.begin() + 5 + static_cast<long>(StoredBitmapLength(p.data() + 5, p.size() - 5)));
                     p.insert(p.begin() + 5, bmp.begin(), bmp.end());
                 }).get());
         },
         true, "megapixels"},
        {"picture count past the bytes left",
         [&](SkinModel& t, TbsSkinData* d) {
             d->LoadCompressedStoredSkin(storedWith(t, [](auto& p) {
                                             // Version, then three flagged pictures, then the count.
                                             size_t at = 4;
                                             for (int i = 0; i < 3; ++i) {
                                                 const bool empty = p[at++] != 0;
                                                 if (!empty) at += StoredBitmapLength(p.data() + at, p.size() - at);
                                             }
                                             const uint32_t count = 1000000;
                                             std::memcpy(p.data() + at, &count, 4);
                                         }).get());
         },
         true, "names 1000000 pictures but holds only"},
        {"picture list counting more pictures than it names",
         [](SkinModel&, TbsSkinData* d) {
             SkinFolder other;
             MakeFolderSkin(other, "New");
             std::string ini = SkinIni("New");
             ini.replace(ini.find("activepicturescount=1"), 21, "activepicturescount=2");
             other.Text("skin.ini", ini);
             d->LoadFromFile(other.File("skin.ini"));
         },
         true, "Picture 1 of the skin's picture list has no file name"},
        {"picture list count past any skin",
         [](SkinModel&, TbsSkinData* d) {
             SkinFolder other;
             MakeFolderSkin(other, "New");
             std::string ini = SkinIni("New");
             ini.replace(ini.find("activepicturescount=1"), 21, "activepicturescount=2000000000");
             other.Text("skin.ini", ini);
             d->LoadFromFile(other.File("skin.ini"));
         },
         true, "counts 2000000000 items; a skin list holds at most 65536"},
        {"cut bitmap in the payload",
         [&](SkinModel& t, TbsSkinData* d) {
             d->LoadCompressedStoredSkin(storedWith(t, [](auto& p) { p.resize(40); }).get());
         },
         true, "Stored bitmap is not valid"},
    };
    for (const Case& c : cases) {
        MakeForms();
        TbsSkinData* d = MakeModel(A);
        SkinFolder old;
        d->LoadFromFile(MakeFolderSkin(old, "Old"));
        log.clear();
        try {
            c.load(*this, d);
            ADD_FAILURE() << c.name << ": no error";
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.text), std::string::npos) << c.name << ": " << e.what();
        }
        if (c.notices) {
            EXPECT_EQ(Log(), "1225:A 1225:B 1225:C 1226:A 1226:B 1226:C 1227:A 1227:B 1227:C") << c.name;
            EXPECT_TRUE(d->Empty) << c.name;
            EXPECT_EQ(d->GetControlIndex(L"button"), -1) << c.name;
            EXPECT_TRUE(d->FPicture->Empty()) << c.name;
        } else {
            EXPECT_EQ(Log(), "") << c.name;
            EXPECT_FALSE(d->Empty) << c.name;
            EXPECT_EQ(d->SkinName, L"Old") << c.name;
            EXPECT_EQ(d->GetControlIndex(L"button"), 0) << c.name;
        }
        EXPECT_FALSE(d->ChangeSkinDataProcess) << c.name;
        TearDown();
        log.clear();
    }
}

TEST_F(SkinModel, SkinListAndIndex)
{
    MakeForms();
    TbsSkinData* d = MakeModel(A);
    auto* list = new TbsCompressedSkinList(A);
    SkinFolder f0;
    list->Skins()->Add()->Skin()->LoadFromIniFile(MakeFolderSkin(f0, "First"));
    EXPECT_EQ(list->Skins()->GetItem(0)->Name(), L"bsSkin0");

    // Streamed in: the index comes before the list is resolved and is kept as it is.
    d->BeginLoading();
    d->SetSkinIndex(1);
    EXPECT_EQ(d->SkinIndex(), 1);
    d->SetSkinList(list);  // index 1 of one item: nothing loads
    d->EndLoading();
    EXPECT_EQ(d->SkinIndex(), 1);
    EXPECT_TRUE(d->Empty);
    d->SetSkinIndex(1);  // unchanged: still nothing
    EXPECT_TRUE(d->Empty);
    EXPECT_EQ(Log(), "");

    d->SetSkinIndex(0);
    EXPECT_EQ(d->SkinName, L"First");
    log.clear();
    d->SetSkinIndex(0);  // the same value does not reload
    d->SetSkinIndex(1);  // out of range with a list: ignored
    d->SetSkinIndex(-1);
    EXPECT_EQ(d->SkinIndex(), 0);
    EXPECT_EQ(Log(), "");
    d->SetSkinList(list);  // every assignment of a list loads the item in range
    EXPECT_EQ(log.size(), 9u);

    SkinFolder f1;
    list->Skins()->Add()->Skin()->LoadFromIniFile(MakeFolderSkin(f1, "Second"));
    d->SetSkinIndex(1);
    EXPECT_EQ(d->SkinName, L"Second");

    // Removing the list forgets only the reference.
    list->Free();
    EXPECT_EQ(d->SkinList(), nullptr);
    EXPECT_FALSE(d->Empty);
    d->SetSkinIndex(5);  // without a list any value is stored
    EXPECT_EQ(d->SkinIndex(), 5);

    auto* stored = new TbsCompressedStoredSkin(A);
    stored->LoadFromIniFile(f0.File("skin.ini"));
    d->SetCompressedStoredSkin(stored);
    EXPECT_EQ(d->SkinName, L"First");
    stored->Free();
    EXPECT_EQ(d->CompressedStoredSkin(), nullptr);
}

TEST_F(SkinModel, FolderTextsAndPictureNames)
{
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::string body =
        "[PICTURES]\r\npicture=Form.BMP\r\nactivepicturescount=1\r\n0=Sub\\PIC0.bmp\r\n"
        "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n";
    std::string utf16 = "\xFF\xFE";
    for (wchar_t c : Utf8ToString("[VERSION]\r\nskinname=皮肤\r\n" + body)) {
        utf16 += static_cast<char>(c & 0xFF);
        utf16 += static_cast<char>(c >> 8);
    }
    const Case cases[] = {
        {"utf-8", "[VERSION]\r\nskinname=\xE7\x9A\xAE\xE8\x82\xA4\r\n" + body},
        {"utf-8 with mark", "\xEF\xBB\xBF[VERSION]\r\nskinname=\xE7\x9A\xAE\xE8\x82\xA4\r\n" + body},
        {"gbk", "[VERSION]\r\nskinname=\xC6\xA4\xB7\xF4\r\n" + body},
        {"utf-16 with mark", utf16},
    };
    folder.Bmp("form.bmp", 12, 10);
    ForceDirectories(folder.File("sub"));
    folder.Bmp("sub/pic0.bmp", 3, 2);
    for (const Case& c : cases) {
        folder.Text("skin.ini", c.bytes);
        TbsSkinData d(nullptr);
        d.LoadFromFile(folder.File("skin.ini"));
        EXPECT_EQ(d.SkinName, L"皮肤") << c.name;
        EXPECT_EQ(d.FPicture->Width(), 12) << c.name;
        ASSERT_EQ(d.FActivePictures.size(), 1u) << c.name;
        EXPECT_EQ(d.FActivePictures[0]->Width(), 3) << c.name;
        EXPECT_EQ(d.FActivePicturesNames->Get(0), L"Sub\\PIC0.bmp") << c.name;
    }
}

TEST_F(SkinModel, SaveToFileKeepsForeignSectionsAndComments)
{
    TbsSkinData d(nullptr);
    d.LoadFromFile(MakeFolderSkin(folder));
    folder.Text("out.ini", "\xEF\xBB\xBF; made by hand\n[FOREIGN]\nx=1\n[VERSION]\nskinname=old\nstale=1\n");
    d.SaveToFile(folder.File("out.ini"));
    const std::string text = ReadBytes(folder.dir.file("out.ini"));
    EXPECT_EQ(text.rfind("; made by hand\r\n[FOREIGN]\r\nx=1\r\n", 0), 0u) << text;
    EXPECT_EQ(text.find("stale"), std::string::npos);
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    const std::string order[] = {"[VERSION]",     "[PICTURES]",     "[FORMINFO]",   "[POPUPWINDOW]",
                                 "[LAYERFRAME]",  "[HINTWINDOW]",   "[SKINCOLORS]", "[SKINOBJECTS]",
                                 "[closebutton]", "[SKINCONTROLS]", "[button]"};
    size_t at = 0;
    for (const std::string& s : order) {
        const size_t p = text.find(s);
        EXPECT_NE(p, std::string::npos) << s;
        EXPECT_GT(p, at) << s;
        at = p;
    }
    EXPECT_NE(text.find("[VERSION]\r\nver=1\r\nskinname=Test\r\n"), std::string::npos);

    // What was written loads as the same skin and writes the same text again.
    TbsSkinData again(nullptr);
    again.LoadFromFile(folder.File("out.ini"));
    again.SaveToFile(folder.File("out2.ini"));
    const std::string text2 = ReadBytes(folder.dir.file("out2.ini"));
    EXPECT_EQ(text2, text.substr(text.find("[VERSION]")));
}

TEST_F(SkinModel, PicturesAddDeleteAndStore)
{
    TbsSkinData d(nullptr);
    d.LoadFromFile(MakeFolderSkin(folder));
    folder.Bmp("extra.bmp", 4, 4);
    d.AddBitMap(folder.File("extra.bmp"));
    ASSERT_EQ(d.FActivePictures.size(), 2u);
    EXPECT_EQ(d.FActivePicturesNames->Get(1), L"extra.bmp");
    EXPECT_THROW(d.AddBitMap(folder.File("missing.bmp")), EFOpenError);
    EXPECT_EQ(d.FActivePictures.size(), 2u);  // names and pictures stay in step
    EXPECT_EQ(d.FActivePicturesNames->Count(), 2);
    EXPECT_THROW(d.DeleteBitMap(2), EListError);
    d.DeleteBitMap(0);
    EXPECT_EQ(d.FActivePicturesNames->Get(0), L"extra.bmp");
    EXPECT_EQ(d.FActivePictures[0]->Width(), 4);

    // Names that climb out of the folder are written under their file name part.
    d.FActivePicturesNames->Put(0, L"..\\..\\escape.bmp");
    d.FPictureName = L"/abs/form.bmp";
    SkinFolder out;
    ForceDirectories(out.File("inner"));
    d.StoreToDisk(out.File("inner/skin.ini"));
    EXPECT_TRUE(FileExists(out.File("inner/escape.bmp")));
    EXPECT_TRUE(FileExists(out.File("inner/form.bmp")));
    EXPECT_FALSE(FileExists(out.File("escape.bmp")));
    TbsSkinData back(nullptr);
    back.LoadFromFile(out.File("inner/skin.ini"));
    EXPECT_EQ(back.FPicture->Width(), 30);
    EXPECT_EQ(back.FActivePictures[0]->Width(), 4);

    // A folder that cannot be made or written gives a clear error and leaves the old file whole.
    out.Text("plainfile", "x");
    EXPECT_THROW(d.SaveToFile(out.File("plainfile/skin.ini")), EFCreateError);
    const std::string before = ReadBytes(out.dir.file("inner/skin.ini"));
    ::chmod(out.dir.file("inner").c_str(), 0555);
    const int rc = RunUnprivileged([&] {
        try {
            d.SaveToFile(out.File("inner/skin.ini"));
        } catch (const EFCreateError&) {
            return 0;
        }
        return 1;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ReadBytes(out.dir.file("inner/skin.ini")), before);
}
