// The shell folder layer over real temporary trees: ID list routines, roots, folder objects and
// their names, attributes and levels, display-name texts, renaming, find data and column details,
// and the item menu with its owner's verb hook.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"
#include "skin/dialogs/shell_folder.h"
#include "skin/form/skin_form.h"
#include "tests/support/shell_home.h"

namespace {

LPITEMIDLIST Items(std::initializer_list<std::string> names)
{
    std::string bytes;
    for (const auto& n : names) {
        const WORD cb = static_cast<WORD>(n.size() + 3);
        bytes.append(reinterpret_cast<const char*>(&cb), 2);
        bytes += '\3';  // an entry
        bytes += n;
    }
    bytes.append(2, '\0');
    LPITEMIDLIST p = IdListAlloc(bytes.size());
    std::memcpy(p, bytes.data(), bytes.size());
    return p;
}

struct Owned {
    LPITEMIDLIST p;
    explicit Owned(LPITEMIDLIST q) : p(q) {}
    ~Owned() { IdListFree(p); }
};

bool SameBytes(LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    return IdListSize(a) == IdListSize(b) && std::memcmp(a, b, IdListSize(a)) == 0;
}

TEST(ShellIdList, Routines)
{
    Owned three(Items({"a", "bb", "ccc"}));
    Owned empty(IdListAlloc(2));
    EXPECT_EQ(IdListCount(three.p), 3);
    EXPECT_EQ(IdListSize(three.p), 4 + 5 + 6 + 2);
    EXPECT_EQ(IdListSize(empty.p), 2);
    EXPECT_EQ(IdListSize(nullptr), 0);
    EXPECT_EQ(IdListCount(empty.p), 0);
    EXPECT_EQ(reinterpret_cast<BYTE*>(IdListNext(three.p)), reinterpret_cast<BYTE*>(three.p) + 4);

    TList* anc = IdListAncestors(three.p);
    ASSERT_EQ(anc->Count(), 3);
    Owned first(Items({"a"})), firstTwo(Items({"a", "bb"}));
    EXPECT_TRUE(SameBytes(static_cast<LPITEMIDLIST>(anc->Items(0)), empty.p));
    EXPECT_TRUE(SameBytes(static_cast<LPITEMIDLIST>(anc->Items(1)), first.p));
    EXPECT_TRUE(SameBytes(static_cast<LPITEMIDLIST>(anc->Items(2)), firstTwo.p));
    IdListAncestorsFree(anc);
    anc = IdListAncestors(empty.p);
    EXPECT_EQ(anc->Count(), 0);
    IdListAncestorsFree(anc);
    IdListAncestorsFree(nullptr);

    Owned last(IdListLastItem(three.p)), lastWant(Items({"ccc"}));
    EXPECT_TRUE(SameBytes(last.p, lastWant.p));
    Owned joined(IdListJoin(first.p, last.p)), joinWant(Items({"a", "ccc"}));
    EXPECT_TRUE(SameBytes(joined.p, joinWant.p));
    Owned copy(IdListJoin(nullptr, three.p));
    EXPECT_TRUE(SameBytes(copy.p, three.p));

    Owned one(Items({"a"}));
    IdListDropLast(one.p);
    EXPECT_TRUE(SameBytes(one.p, empty.p));
    IdListDropLast(empty.p);
    EXPECT_EQ(IdListSize(empty.p), 2);
    Owned desktop(IdListDesktop());
    EXPECT_TRUE(SameBytes(desktop.p, empty.p));
    IdListDropLast(copy.p);
    EXPECT_TRUE(SameBytes(copy.p, firstTwo.p));

    EXPECT_EQ(ObjectTypesToFlags({otFolders}), SHCONTF_FOLDERS);
    EXPECT_EQ(ObjectTypesToFlags({otFolders, otNonFolders, otHidden}),
              SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
}

TEST(ShellIdList, DisplayNameTexts)
{
    Owned id(Items({"xyzname"}));
    STRRET r;
    r.uType = STRRET_OFFSET;
    r.uOffset = 6;  // inside the first item: count 2, kind 1, then "xyz"
    EXPECT_EQ(StrRetText(id.p, r), L"name");
    r.uType = STRRET_CSTR;
    std::strcpy(r.cStr, "\xd6\xd0\xce\xc4");  // GBK
    EXPECT_EQ(StrRetText(id.p, r), L"中文");
    r.uType = STRRET_WSTR;
    const struct {
        const wchar_t* in;
        const wchar_t* out;
    } cases[] = {{L"?1a?b?", L"1ab"}, {L"?a?b", L"?a?b"}, {L"?", L"?"}, {nullptr, L""}};
    for (const auto& c : cases) {
        r.pOleStr = const_cast<LPWSTR>(c.in);
        EXPECT_EQ(StrRetText(id.p, r), c.out);
    }
    EXPECT_EQ(ItemDisplayName(nullptr, id.p, SHGDN_NORMAL), L"parentfolder = nil");
}

class ShellFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FRoot = ShellTestHome::Get().NewFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string Make(const std::string& rel)
    {
        std::filesystem::create_directories(FRoot + "/" + rel);
        return FRoot + "/" + rel;
    }
    std::string Touch(const std::string& rel, const std::string& text = "x")
    {
        std::ofstream(FRoot + "/" + rel, std::ios::binary) << text;
        return FRoot + "/" + rel;
    }
    TbsShellFolder* Resolve(const std::string& path)
    {
        TRoot root = Utf8ToString(path);
        return ResolveRoot(nullptr, L"", root);
    }
    // The child of Parent with this in-folder name.
    static TbsShellFolder* Child(TbsShellFolder* Parent, const String& Name, DWORD Flags = 0xE0)
    {
        std::unique_ptr<IEnumIDList> e;
        if (!Parent->ShellFolder() || Parent->ShellFolder()->EnumObjects(nullptr, Flags, &e) != S_OK) return nullptr;
        LPITEMIDLIST id;
        ULONG got;
        while (e->Next(1, &id, &got) == S_OK) {
            Owned keep(id);
            if (ItemDisplayName(Parent->ShellFolder(), id, SHGDN_INFOLDER) == Name)
                return new TbsShellFolder(Parent, BindShellFolder(Parent->ShellFolder(), id, nullptr), id);
        }
        return nullptr;
    }
    std::string FRoot;
};

TEST_F(ShellFolderTest, RootsResolveByNameOrPathAndFailKeepingTheOldOne)
{
    TRoot root = L"RFMYCOMPUTER";
    std::unique_ptr<TbsShellFolder> computer(ResolveRoot(nullptr, L"", root));
    EXPECT_EQ(computer->DisplayName(), L"计算机");
    EXPECT_EQ(computer->PathName(), L"计算机");  // a virtual item's parsing name shows as its name
    EXPECT_EQ(computer->FullObjectName(), L"");
    EXPECT_EQ(computer->Parent(), DesktopFolder());
    EXPECT_EQ(computer->Level(), 0);
    EXPECT_TRUE(computer->IsFolder());
    EXPECT_EQ(RootFolderKind(L"rfmycomputer"), rfMyComputer);
    EXPECT_EQ(RootFolderKind(L"rfNowhere"), -1);

    root = L"rfDesktop";
    std::unique_ptr<TbsShellFolder> desk(ResolveRoot(nullptr, L"", root));
    EXPECT_EQ(desk->PathName(), L"桌面");
    EXPECT_EQ(IdListSize(desk->AbsoluteID()), 2);

    // A folder whose name ends in a colon is a path like any other.
    const std::string colon = Make("盘:");
    root = Utf8ToString(colon);
    TbsShellFolder* kept = ResolveRoot(nullptr, L"", root);
    EXPECT_EQ(StringToUtf8(kept->PathName()), colon);

    for (const String& bad :
         {String(L""), Utf8ToString(FRoot + "/missing"), String(L"rfNetwork"), String(L"relative")}) {
        SCOPED_TRACE(StringToUtf8(bad));
        root = bad;
        try {
            ResolveRoot(kept, L"previous", root);
            ADD_FAILURE() << "no exception";
        } catch (const EInvalidPath& e) {
            EXPECT_EQ(e.Message(), L"Error setting path: \"" + bad + L"\"");
        }
        EXPECT_EQ(root, L"previous");
        EXPECT_EQ(StringToUtf8(kept->PathName()), colon);  // the old folder stays whole
    }
    root = Utf8ToString(FRoot);
    std::unique_ptr<TbsShellFolder> next(ResolveRoot(kept, L"", root));  // frees the old one
    EXPECT_EQ(StringToUtf8(next->PathName()), FRoot);
}

TEST_F(ShellFolderTest, FolderObjectsNameAndDescribeTheirItems)
{
    Make("深 层/中间/底");
    Make("archive.zip");
    Touch("深 层/电影.MKV", "12345");
    Touch("深 层/.hidden");
    std::filesystem::create_symlink(FRoot + "/深 层/电影.MKV", FRoot + "/深 层/link");
    std::unique_ptr<TbsShellFolder> root(Resolve(FRoot));
    ASSERT_TRUE(root);
    EXPECT_EQ(root->Level(), 0);

    std::unique_ptr<TbsShellFolder> deep(Child(root.get(), L"深 层"));
    ASSERT_TRUE(deep);
    std::unique_ptr<TbsShellFolder> mid(Child(deep.get(), L"中间"));
    std::unique_ptr<TbsShellFolder> bottom(Child(mid.get(), L"底"));
    std::unique_ptr<TbsShellFolder> film(Child(deep.get(), L"电影.MKV"));
    std::unique_ptr<TbsShellFolder> hidden(Child(deep.get(), L".hidden"));
    std::unique_ptr<TbsShellFolder> link(Child(deep.get(), L"link"));
    std::unique_ptr<TbsShellFolder> zip(Child(root.get(), L"archive.zip"));
    ASSERT_TRUE(bottom && film && hidden && link && zip);
    EXPECT_EQ(deep->Level(), 1);
    EXPECT_EQ(bottom->Level(), 3);
    EXPECT_EQ(StringToUtf8(bottom->PathName()), FRoot + "/深 层/中间/底");
    EXPECT_EQ(bottom->FullObjectName(), bottom->PathName());
    EXPECT_EQ(bottom->DisplayName(), L"底");
    EXPECT_TRUE(IdListEqual(bottom->AbsoluteID(), bottom->AbsoluteID()));
    EXPECT_FALSE(IdListEqual(bottom->AbsoluteID(), mid->AbsoluteID()));

    EXPECT_TRUE(mid->IsFolder());
    EXPECT_TRUE(mid->SubFolders());
    EXPECT_TRUE(zip->IsFolder());  // a folder named like an archive opens like any folder
    EXPECT_FALSE(film->IsFolder());
    EXPECT_FALSE(film->ShellFolder());
    EXPECT_TRUE(film->Capabilities().Contains(fcCanRename));
    EXPECT_TRUE(film->Capabilities().Contains(fcCanDelete));
    EXPECT_FALSE(film->Capabilities().Contains(fcHasPropSheet));
    EXPECT_EQ(film->Properties(), (TbsShellFolderProperties{fpFileSystem}));
    EXPECT_EQ(hidden->Properties(), (TbsShellFolderProperties{fpFileSystem, fpCut}));
    EXPECT_EQ(link->Properties(), (TbsShellFolderProperties{fpFileSystem, fpIsLink}));
    EXPECT_EQ(film->ImageIndex(false), vxwin::siVideo);
    EXPECT_EQ(mid->ImageIndex(true), vxwin::siFolder);
    EXPECT_TRUE(FolderHasChildren(deep->ShellFolder(), SHCONTF_NONFOLDERS));
    EXPECT_FALSE(FolderHasChildren(bottom->ShellFolder(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS));
    EXPECT_FALSE(FolderHasChildren(nullptr, SHCONTF_FOLDERS));

    // Opening goes through the launcher with the absolute path.
    std::vector<String> opened;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        opened.push_back(c.file);
        return LONG_PTR{42};
    });
    EXPECT_TRUE(film->ExecuteDefault());
    vxwin::SetShellExecuteHook(nullptr);
    EXPECT_EQ(opened, std::vector<String>{film->PathName()});
}

TEST_F(ShellFolderTest, RenameKeepsTheAbsoluteListInStepAndNeverReplaces)
{
    Make("a/b/c");
    Touch("a/b/c/old.txt", "old");
    Touch("a/b/c/taken.txt", "taken");
    std::unique_ptr<TbsShellFolder> root(Resolve(FRoot));
    std::unique_ptr<TbsShellFolder> a(Child(root.get(), L"a"));
    std::unique_ptr<TbsShellFolder> b(Child(a.get(), L"b"));
    std::unique_ptr<TbsShellFolder> c(Child(b.get(), L"c"));
    std::unique_ptr<TbsShellFolder> file(Child(c.get(), L"old.txt"));
    ASSERT_TRUE(file);

    try {
        file->Rename(L"taken.txt");
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), L"Rename to taken.txt failed");
    }
    std::ifstream taken(FRoot + "/a/b/c/taken.txt");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(taken), {}), "taken");

    ASSERT_TRUE(file->Rename(L"新 名.txt"));
    Owned want(IdListJoin(c->AbsoluteID(), file->RelativeID()));
    EXPECT_TRUE(SameBytes(file->AbsoluteID(), want.p));
    EXPECT_EQ(file->DisplayName(), L"新 名.txt");
    EXPECT_TRUE(std::filesystem::exists(FRoot + "/a/b/c/新 名.txt"));

    TRoot name = L"rfMyComputer";
    std::unique_ptr<TbsShellFolder> computer(ResolveRoot(nullptr, L"", name));
    EXPECT_FALSE(computer->Rename(L"x"));
}

TEST_F(ShellFolderTest, FindDataAndColumnDetails)
{
    Make("dir");
    const std::string big = Touch("big.bin");
    ASSERT_EQ(::truncate(big.c_str(), 5LL << 30), 0);
    const std::string old = Touch("old.txt");
    utimbuf t{100, 100};  // 1970: no DOS date
    ::utime(old.c_str(), &t);
    Touch("gone.txt");
    std::unique_ptr<TbsShellFolder> root(Resolve(FRoot));
    std::unique_ptr<TbsShellFolder> dir(Child(root.get(), L"dir"));
    std::unique_ptr<TbsShellFolder> bigF(Child(root.get(), L"big.bin"));
    std::unique_ptr<TbsShellFolder> oldF(Child(root.get(), L"old.txt"));
    std::unique_ptr<TbsShellFolder> goneF(Child(root.get(), L"gone.txt"));

    const WIN32_FIND_DATAW bigData = bigF->ReadFindData();
    EXPECT_EQ(FindDataSize(bigData), 5LL << 30);
    EXPECT_EQ(FindDataText(bigData, 1), L"5368709120");
    EXPECT_EQ(FindDataText(bigData, 2), L".bin");
    EXPECT_GT(FindDataDate(bigData), 40000.0);  // this century
    EXPECT_EQ(FindDataText(bigData, 3).size(), 16u);
    EXPECT_EQ(FindDataText(bigData, 4), L"32");
    EXPECT_EQ(FindDataText(bigData, 5), L"");
    const WIN32_FIND_DATAW dirData = dir->ReadFindData();
    EXPECT_EQ(FindDataSize(dirData), -1);
    EXPECT_EQ(FindDataText(dirData, 1), L"");  // no size for a folder, never "-1"
    EXPECT_EQ(FindDataDate(dirData), -1.0);
    EXPECT_GT(FindDataDate(dirData, true), 40000.0);
    EXPECT_EQ(FindDataText(oldF->ReadFindData(), 3), L"");  // no date, never 1899
    EXPECT_EQ(FindDataDate(oldF->ReadFindData(), true), -1.0);

    EXPECT_THROW(bigF->DetailText(1), Exception);
    bigF->LoadColumnDetails(root.get(), nullptr, 4);
    EXPECT_EQ(bigF->DetailCount(), 4);
    EXPECT_EQ(bigF->DetailText(1), L"5368709120");
    EXPECT_EQ(bigF->DetailText(2), L".bin");

    std::filesystem::remove(FRoot + "/gone.txt");
    try {
        goneF->ReadFindData();
        ADD_FAILURE() << "no exception";
    } catch (const EInvalidPath& e) {
        EXPECT_EQ(e.Message(), L"Unable to retrieve folder details for \"gone.txt\". Error code $2");
    }
    goneF->LoadColumnDetails(root.get(), nullptr, 4);  // gone since listing: empty, no exception
    EXPECT_EQ(goneF->DetailCount(), 4);
    EXPECT_EQ(goneF->DetailText(1), L"");

    // Items of a folder that is no file-system folder get no details.
    TRoot name = L"rfDesktop";
    std::unique_ptr<TbsShellFolder> desk(ResolveRoot(nullptr, L"", name));
    std::unique_ptr<TbsShellFolder> home(Child(desk.get(), L"主文件夹"));
    ASSERT_TRUE(home);
    home->LoadColumnDetails(desk.get(), nullptr, 4);
    EXPECT_EQ(home->DetailCount(), 0);
}

// A control that answers the item menu's verbs itself, as the views do.
class THookedPanel : public TCustomControl, public IShellVerbHook {
public:
    using TCustomControl::TCustomControl;
    void ExecuteCommand(const String& Verb, bool& Handled) override
    {
        Log.push_back(L"execute " + Verb);
        Handled = Verb == L"rename";
    }
    void CommandCompleted(const String& Verb, bool Succeeded) override
    {
        Log.push_back(L"completed " + Verb + (Succeeded ? L" ok" : L" failed"));
    }
    std::vector<String> Log;
};

TEST_F(ShellFolderTest, ItemMenuAsksItsOwnerFirst)
{
    Touch("film.avi", "data");
    std::unique_ptr<TbsShellFolder> root(Resolve(FRoot));
    std::unique_ptr<TbsShellFolder> film(Child(root.get(), L"film.avi"));
    TForm* form = new TForm(Application);
    form->SetBounds(0, 0, 200, 200);
    auto* owner = new THookedPanel(form);
    owner->SetParent(form);
    owner->SetBounds(10, 20, 100, 100);

    std::vector<String> shown;
    TPoint at;
    int choice = -1;
    SetShellMenuPopup([&](TWinControl*, const std::vector<String>& captions, TPoint screen) {
        shown = captions;
        at = screen;
        return choice;
    });
    ShowShellContextMenu(owner, film.get(), 5, 6);  // dismissed
    EXPECT_EQ(shown, (std::vector<String>{L"打开", L"重命名", L"删除"}));
    EXPECT_EQ(at, owner->ClientToScreen(Point(5, 6)));
    EXPECT_TRUE(owner->Log.empty());

    choice = 1;  // rename: the owner takes it
    ShowShellContextMenu(owner, film.get(), 5, 6);
    EXPECT_EQ(owner->Log, (std::vector<String>{L"execute rename", L"completed rename ok"}));
    owner->Log.clear();
    choice = 2;  // delete: the layer moves it to the trash
    ShowShellContextMenu(owner, film.get(), 5, 6);
    EXPECT_EQ(owner->Log, (std::vector<String>{L"execute delete", L"completed delete ok"}));
    EXPECT_FALSE(std::filesystem::exists(FRoot + "/film.avi"));
    EXPECT_TRUE(std::filesystem::exists(ShellTestHome::Get().Data() + "/Trash/files/film.avi"));

    ShowShellContextMenu(owner, nullptr, 0, 0);  // nothing for no folder
    SetShellMenuPopup(nullptr);
    form->Free();
}

TEST_F(ShellFolderTest, ItemMenuOnASkinnedFormIsTheFormsSkinnedMenu)
{
    Touch("film.avi", "data");
    std::unique_ptr<TbsShellFolder> root(Resolve(FRoot));
    std::unique_ptr<TbsShellFolder> film(Child(root.get(), L"film.avi"));
    TForm* form = new TForm(Application);
    form->SetBounds(0, 0, 200, 200);
    auto* sf = new TbsSkinForm(form);
    int skinMenus = 0;
    sf->OnSkinMenuClose = [&](TObject*) { ++skinMenus; };
    auto* owner = new THookedPanel(form);
    owner->SetParent(form);
    owner->SetBounds(10, 20, 100, 100);
    form->Show();
    Application->ProcessMessages();
    // Queued before: the keys reach the menu while it waits for a choice (Down, Return: rename).
    for (int vk : {VK_DOWN, VK_RETURN}) {
        vxwin::InjectKey(vk, true);
        vxwin::InjectKey(vk, false);
    }
    ShowShellContextMenu(owner, film.get(), 5, 6);
    EXPECT_EQ(skinMenus, 1) << "shown by the form's menu engine";
    EXPECT_EQ(owner->Log, (std::vector<String>{L"execute rename", L"completed rename ok"}));
    form->Free();
}

}  // namespace
