// The shell namespace over real temporary trees: the desktop's and the computer's children,
// parsing and naming odd file names, attributes, the name order, renaming, special folders and
// the system icons.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <filesystem>

#include "shell_test_util.h"
#include "tests/support/unprivileged.h"

using namespace shelltest;
using vxwin::kShellItemEntry;
using vxwin::kShellItemVirtual;
using vxwin::kShellItemVolume;
using vxwin::ShellItems;

namespace {

class ShellNamespace : public ShellTest {};

TEST_F(ShellNamespace, DesktopHoldsHomeComputerAndTheDesktopFolder)
{
    WriteFile(FHome->Desktop() + "/笔记.txt");
    WriteFile(FHome->Desktop() + "/.hidden");
    std::filesystem::create_directories(FHome->Desktop() + "/项目");
    auto desk = Desktop();

    auto all = Names(desk.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS);
    ASSERT_GE(all.size(), 4u);
    EXPECT_EQ(all[0], L"主文件夹");
    EXPECT_EQ(all[1], L"计算机");
    std::sort(all.begin() + 2, all.end());
    EXPECT_EQ(std::vector<std::wstring>(all.begin() + 2, all.end()), (std::vector<std::wstring>{L"笔记.txt", L"项目"}));
    EXPECT_EQ(Names(desk.get(), SHCONTF_FOLDERS), (std::vector<std::wstring>{L"主文件夹", L"计算机", L"项目"}));
    auto hidden = Names(desk.get(), SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN);
    std::sort(hidden.begin(), hidden.end());
    EXPECT_EQ(hidden, (std::vector<std::wstring>{L".hidden", L"笔记.txt"}));

    // The desktop's own names; its virtual items parse as "::{", the home folder as its path.
    IdList empty(static_cast<LPITEMIDLIST>(std::calloc(1, 2)));
    EXPECT_EQ(Name(desk.get(), empty.p, SHGDN_NORMAL), L"桌面");
    EXPECT_EQ(Name(desk.get(), empty.p, SHGDN_FORPARSING).rfind(L"::{", 0), 0u);
    IdList home(vxwin::EncodeIdList({{kShellItemVirtual, "home"}}));
    EXPECT_EQ(Name(desk.get(), home.p, SHGDN_FORPARSING), Utf8ToString(FHome->Home()));
    WCHAR buf[MAX_PATH];
    EXPECT_FALSE(SHGetPathFromIDListW(empty.p, buf));
    EXPECT_EQ(buf[0], 0);

    // A desktop folder that is the home folder itself adds nothing.
    FHome->SetUserDirs(FHome->Home(), FHome->Documents(), "");
    EXPECT_EQ(Names(desk.get(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS),
              (std::vector<std::wstring>{L"主文件夹", L"计算机"}));
    FHome->SetUserDirs(FHome->Desktop(), FHome->Documents(), FHome->Templates());
}

TEST_F(ShellNamespace, ComputerListsRootThenVisibleVolumesWithTheirKinds)
{
    const std::string stick = AddVolume("stick", "vfat", true, "U\\x20盘", true);
    const std::string share = AddVolume("share", "nfs4", true);
    FMounts.back().device = "server:/export";
    const std::string disc = AddVolume("disc", "iso9660", true, "DVD");
    const std::string ram = AddVolume("ram", "tmpfs", true);
    const std::string data = AddVolume("data", "ext4", true);
    AddVolume("hidden", "ext4", false);
    FMounts.push_back({ram, FRoot + "/.dev/ram", "tmpfs", true});  // mounted twice: listed once, where last

    IdList computer;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer.p), S_OK);
    auto folder = Bind(computer.p);
    ASSERT_TRUE(folder);
    EXPECT_EQ(Names(folder.get(), SHCONTF_FOLDERS),
              (std::vector<std::wstring>{L"/", L"U 盘", L"share", L"DVD", L"data", L"ram"}));
    EXPECT_EQ(Names(folder.get(), SHCONTF_NONFOLDERS), std::vector<std::wstring>{});

    struct Case {
        std::string mount;
        UINT type;
        DWORD caseFlags;
        int icon;
    } cases[] = {
        {stick, DRIVE_REMOVABLE, FILE_CASE_PRESERVED_NAMES, vxwin::siDriveRemovable},
        {share, DRIVE_REMOTE, FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES, vxwin::siDriveRemote},
        {disc, DRIVE_CDROM, FILE_CASE_PRESERVED_NAMES, vxwin::siDriveCdrom},
        {ram, DRIVE_RAMDISK, FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES, vxwin::siDriveRam},
        {data, DRIVE_FIXED, FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES, vxwin::siDriveFixed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mount);
        const std::wstring root = Utf8ToString(c.mount);
        EXPECT_EQ(GetDriveTypeW(root.c_str()), c.type);
        DWORD flags = 0;
        WCHAR label[64], fs[16];
        ASSERT_TRUE(GetVolumeInformationW(root.c_str(), label, 64, nullptr, nullptr, &flags, fs, 16));
        EXPECT_EQ(flags, c.caseFlags);
        IdList id(vxwin::EncodeIdList({{kShellItemVirtual, "computer"}, {kShellItemVolume, c.mount}}));
        EXPECT_EQ(vxwin::ShellIconIndexOf(id.p, false), c.icon);
    }
    EXPECT_EQ(GetDriveTypeW(Utf8ToString(FRoot).c_str()), DRIVE_NO_ROOT_DIR);
    EXPECT_EQ(GetDriveTypeW(L"/"), DRIVE_FIXED);
    EXPECT_EQ(Attributes(stick, SFGAO_REMOVABLE), SFGAO_REMOVABLE);
    EXPECT_EQ(Attributes(data, SFGAO_REMOVABLE), 0u);

    // The source of a remote volume, not of a local one; a short buffer asks for more.
    WCHAR src[64];
    DWORD len = 64;
    EXPECT_EQ(WNetGetConnectionW(Utf8ToString(share).c_str(), src, &len), NO_ERROR);
    EXPECT_STREQ(src, L"server:/export");
    len = 3;
    EXPECT_EQ(WNetGetConnectionW(Utf8ToString(share).c_str(), src, &len), ERROR_MORE_DATA);
    EXPECT_EQ(len, 15u);
    len = 64;
    EXPECT_EQ(WNetGetConnectionW(Utf8ToString(data).c_str(), src, &len), ERROR_NOT_CONNECTED);
}

TEST_F(ShellNamespace, OddNamesParseAndNameTheirWayBack)
{
    const std::string deep = Make("中文 目录/sub");
    const std::string names[] = {"中文 名字.mkv", "with space",          "new\nline",       "back\\slash", "star*?",
                                 ".leading",      std::string(255, 'n'), "bad\xff\xfeutf8", "\xe6\x96"};
    for (const auto& n : names) {
        SCOPED_TRACE(n);
        const std::string path = deep + "/" + n;
        WriteFile(path);
        IdList id;
        ASSERT_EQ(Parse(path, &id), S_OK);
        ShellItems items = id.Items();
        ASSERT_GE(items.size(), 3u);
        EXPECT_EQ(items[0], (vxwin::ShellItem{kShellItemVirtual, "computer"}));
        EXPECT_EQ(items[1], (vxwin::ShellItem{kShellItemVolume, "/"}));
        EXPECT_EQ(items.back(), (vxwin::ShellItem{kShellItemEntry, n}));

        auto desk = Desktop();
        const std::wstring parsing = Name(desk.get(), id.p, SHGDN_FORPARSING);
        EXPECT_EQ(StringToUtf8(parsing), path);
        EXPECT_EQ(StringToUtf8(Name(desk.get(), id.p, SHGDN_INFOLDER)), n);
        WCHAR buf[4097];
        ASSERT_TRUE(SHGetPathFromIDListEx(id.p, buf, 4097, 0));
        EXPECT_EQ(StringToUtf8(buf), path);

        // The parsing name parses to the same list again.
        IdList again;
        ASSERT_EQ(Desktop()->ParseDisplayName(nullptr, parsing.c_str(), nullptr, &again.p, nullptr), S_OK);
        EXPECT_EQ(HRESULT_CODE(Desktop()->CompareIDs(0, id.p, again.p)), 0);
    }
    // A path longer than the classic buffer has no classic path, never a cut one.
    IdList longId;
    ASSERT_EQ(Parse(deep + "/" + std::string(255, 'n'), &longId), S_OK);
    WCHAR small[MAX_PATH];
    EXPECT_FALSE(SHGetPathFromIDListW(longId.p, small));
}

TEST_F(ShellNamespace, PathsParseBelowTheDeepestVolumeOnly)
{
    const std::string vol = AddVolume("vol", "ext4");
    Make("vol/a/b");
    IdList id;
    ASSERT_EQ(Parse(vol + "/./a/../a/b/", &id), S_OK);
    EXPECT_EQ(
        id.Items(),
        (ShellItems{
            {kShellItemVirtual, "computer"}, {kShellItemVolume, vol}, {kShellItemEntry, "a"}, {kShellItemEntry, "b"}}));
    IdList root;
    ASSERT_EQ(Parse("/", &root), S_OK);
    EXPECT_EQ(root.Items(), (ShellItems{{kShellItemVirtual, "computer"}, {kShellItemVolume, "/"}}));

    for (const char* bad : {"", "relative/path", "~/x", "/no/such/path/at/all"}) {
        SCOPED_TRACE(bad);
        IdList none;
        EXPECT_TRUE(FAILED(Parse(bad, &none)));
        EXPECT_EQ(none.p, nullptr);
    }
    // Only the desktop parses.
    auto folder = Bind(root.p);
    IdList none;
    EXPECT_EQ(folder->ParseDisplayName(nullptr, L"/", nullptr, &none.p, nullptr), E_NOTIMPL);
}

TEST_F(ShellNamespace, AttributesFollowTheFileSystem)
{
    Make("dir/sub");
    Make("empty");
    Touch("file.txt");
    Touch(".hidden");
    std::filesystem::create_directory_symlink(FRoot + "/dir", FRoot + "/dirlink");
    std::filesystem::create_symlink(FRoot + "/missing", FRoot + "/dangling");
    std::filesystem::create_symlink(FRoot + "/cycle2", FRoot + "/cycle1");
    std::filesystem::create_symlink(FRoot + "/cycle1", FRoot + "/cycle2");
    std::filesystem::create_directory_symlink(".", FRoot + "/loop");
    std::filesystem::create_directory_symlink("..", FRoot + "/dir/up");

    constexpr ULONG kFolder = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
    constexpr ULONG kChanges = SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANMOVE | SFGAO_CANCOPY;
    constexpr ULONG kAsk = kFolder | kChanges | SFGAO_FILESYSTEM | SFGAO_LINK | SFGAO_GHOSTED | SFGAO_READONLY;
    struct Case {
        const char* name;
        ULONG want;
    } cases[] = {
        {"dir", kFolder | kChanges | SFGAO_FILESYSTEM},
        {"empty", (kFolder & ~SFGAO_HASSUBFOLDER) | kChanges | SFGAO_FILESYSTEM},  // no "+" in a tree
        {"file.txt", kChanges | SFGAO_FILESYSTEM},
        {".hidden", kChanges | SFGAO_FILESYSTEM | SFGAO_GHOSTED},
        {"dirlink", kFolder | kChanges | SFGAO_FILESYSTEM | SFGAO_LINK},
        {"dangling", kChanges | SFGAO_FILESYSTEM | SFGAO_LINK},
        {"cycle1", kChanges | SFGAO_FILESYSTEM | SFGAO_LINK},
        {"loop", kChanges | SFGAO_FILESYSTEM | SFGAO_LINK},
        {"dir/up", kChanges | SFGAO_FILESYSTEM | SFGAO_LINK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Attributes(FRoot + "/" + c.name, kAsk), c.want);
    }
    // Only what is asked comes back.
    EXPECT_EQ(Attributes(FRoot + "/dir", SFGAO_FOLDER | SFGAO_LINK), SFGAO_FOLDER);

    // Enumeration: never "." or "..", links that lead back are files.
    IdList id;
    ASSERT_EQ(Parse(FRoot, &id), S_OK);
    auto folder = Bind(id.p);
    auto folders = Names(folder.get(), SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN);
    std::sort(folders.begin(), folders.end());
    EXPECT_EQ(folders, (std::vector<std::wstring>{L".dev", L".labels", L".sys", L"dir", L"dirlink", L"empty"}));
    auto files = Names(folder.get(), SHCONTF_NONFOLDERS);
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::wstring>{L"cycle1", L"cycle2", L"dangling", L"file.txt", L"loop"}));
    IdList loop;
    ASSERT_EQ(Parse(FRoot + "/loop", &loop), S_OK);
    std::shared_ptr<IShellFolder> none;
    EXPECT_TRUE(FAILED(Desktop()->BindToObject(loop.p, &none)));
    EXPECT_FALSE(none);
}

TEST_F(ShellNamespace, WithoutWritePermissionItemsAreReadOnlyAndFixedAndFoldersUnreadable)
{
    const std::string locked = Make("locked");
    Touch("locked/file");
    const std::string secret = Make("secret");
    Touch("secret/inside");
    ::chmod((locked + "/file").c_str(), 0444);
    ::chmod(locked.c_str(), 0555);
    ::chmod(secret.c_str(), 0311);
    const int rc = RunUnprivileged([&] {
        constexpr ULONG kAsk = SFGAO_READONLY | SFGAO_CANRENAME | SFGAO_CANDELETE;
        if (Attributes(locked + "/file", kAsk) != SFGAO_READONLY) return 1;
        if (Attributes(locked, SFGAO_READONLY) != SFGAO_READONLY) return 2;
        IdList id;
        if (Parse(secret, &id) != S_OK) return 3;
        auto folder = Bind(id.p);
        std::unique_ptr<IEnumIDList> e;
        if (folder->EnumObjects(nullptr, SHCONTF_FOLDERS | SHCONTF_NONFOLDERS, &e) !=
            HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED))
            return 4;
        return e ? 5 : 0;
    });
    EXPECT_EQ(rc, 0);
}

TEST_F(ShellNamespace, NamesSortNaturallyCaseBlindThenByBytes)
{
    const std::vector<std::string> sorted = {"1",  "2", "10",         "a",           "A1",      "a2",  "a10",
                                             "ab", "B", "file 2.txt", "file 10.txt", "file10b", "中文"};
    auto desk = Desktop();
    auto cmp = [&](const std::string& a, const std::string& b) {
        IdList ia(vxwin::EncodeIdList({{kShellItemEntry, a}})), ib(vxwin::EncodeIdList({{kShellItemEntry, b}}));
        return static_cast<short>(HRESULT_CODE(desk->CompareIDs(0, ia.p, ib.p)));
    };
    for (size_t i = 0; i < sorted.size(); ++i) {
        for (size_t j = 0; j < sorted.size(); ++j) {
            SCOPED_TRACE(sorted[i] + " vs " + sorted[j]);
            const short c = cmp(sorted[i], sorted[j]);
            EXPECT_EQ(c < 0, i < j);
            EXPECT_EQ(c == 0, i == j);
        }
    }
    // Names that differ in case or leading zeros only are still two items.
    EXPECT_NE(cmp("abc", "ABC"), 0);
    EXPECT_EQ(cmp("abc", "ABC"), -cmp("ABC", "abc"));
    EXPECT_NE(cmp("a01", "a1"), 0);

    // The desktop's own order: home, computer, then its entries; a prefix comes first.
    IdList home(vxwin::EncodeIdList({{kShellItemVirtual, "home"}}));
    IdList comp(vxwin::EncodeIdList({{kShellItemVirtual, "computer"}}));
    IdList entry(vxwin::EncodeIdList({{kShellItemEntry, "0"}}));
    IdList below(vxwin::EncodeIdList({{kShellItemVirtual, "computer"}, {kShellItemVolume, "/"}}));
    EXPECT_LT(static_cast<short>(HRESULT_CODE(desk->CompareIDs(0, home.p, comp.p))), 0);
    EXPECT_LT(static_cast<short>(HRESULT_CODE(desk->CompareIDs(0, comp.p, entry.p))), 0);
    EXPECT_LT(static_cast<short>(HRESULT_CODE(desk->CompareIDs(0, comp.p, below.p))), 0);
    EXPECT_EQ(HRESULT_CODE(desk->CompareIDs(0, below.p, below.p)), 0);
}

TEST_F(ShellNamespace, RenameNeverReplacesAFile)
{
    Touch("a.txt", "A");
    Touch("b.txt", "B");
    IdList folderId;
    ASSERT_EQ(Parse(FRoot, &folderId), S_OK);
    auto folder = Bind(folderId.p);
    IdList a(vxwin::EncodeIdList({{kShellItemEntry, "a.txt"}}));

    IdList renamed;
    EXPECT_EQ(folder->SetNameOf(nullptr, a.p, L"b.txt", SHGDN_NORMAL, &renamed.p),
              HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(renamed.p, nullptr);
    EXPECT_EQ(ReadFile(FRoot + "/a.txt"), "A");
    EXPECT_EQ(ReadFile(FRoot + "/b.txt"), "B");

    for (const wchar_t* bad : {L"", L".", L"..", L"x/y"}) {
        SCOPED_TRACE(StringToUtf8(bad));
        EXPECT_EQ(folder->SetNameOf(nullptr, a.p, bad, SHGDN_NORMAL, nullptr), HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
    }
    EXPECT_EQ(folder->SetNameOf(nullptr, a.p, std::wstring(256, L'n').c_str(), SHGDN_NORMAL, nullptr),
              HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(folder->SetNameOf(nullptr, a.p, L"a.txt", SHGDN_NORMAL, nullptr), S_OK);  // unchanged: nothing to do

    ASSERT_EQ(folder->SetNameOf(nullptr, a.p, L"新 名字\\*.txt", SHGDN_NORMAL, &renamed.p), S_OK);
    EXPECT_EQ(renamed.Items(), (ShellItems{{kShellItemEntry, "新 名字\\*.txt"}}));
    EXPECT_EQ(ReadFile(FRoot + "/新 名字\\*.txt"), "A");
    EXPECT_FALSE(std::filesystem::exists(FRoot + "/a.txt"));

    // Virtual items and volumes keep their names.
    IdList home(vxwin::EncodeIdList({{kShellItemVirtual, "home"}}));
    EXPECT_EQ(Desktop()->SetNameOf(nullptr, home.p, L"x", SHGDN_NORMAL, nullptr), E_INVALIDARG);
}

TEST_F(ShellNamespace, SpecialFolders)
{
    std::filesystem::create_directories(FHome->Data() + "/fonts");
    std::filesystem::create_directories(FHome->Data() + "/Trash/files");
    auto path = [](int csidl) {
        IdList id;
        const HRESULT hr = SHGetSpecialFolderLocation(nullptr, csidl, &id.p);
        if (hr != S_OK) return std::string("<failed>");
        WCHAR buf[4097];
        return SHGetPathFromIDListEx(id.p, buf, 4097, 0) ? StringToUtf8(buf) : std::string("<virtual>");
    };
    EXPECT_EQ(path(CSIDL_DESKTOP), "<virtual>");
    EXPECT_EQ(path(CSIDL_DRIVES), "<virtual>");
    EXPECT_EQ(path(CSIDL_PERSONAL), FHome->Documents());
    EXPECT_EQ(path(CSIDL_DESKTOPDIRECTORY), FHome->Desktop());
    EXPECT_EQ(path(CSIDL_APPDATA), FHome->Config());
    EXPECT_EQ(path(CSIDL_FONTS), FHome->Data() + "/fonts");
    EXPECT_EQ(path(CSIDL_BITBUCKET), FHome->Data() + "/Trash/files");
    EXPECT_EQ(path(CSIDL_TEMPLATES), "<failed>");  // named but missing
    EXPECT_EQ(path(CSIDL_STARTUP), "<failed>");    // missing

    // The desktop entries' folders, autostart and recent files; the system's own folders are
    // the first of their search list that holds them.
    for (const std::string& d : {FHome->Data() + "/applications", FHome->Config() + "/autostart",
                                 FHome->Data() + "/RecentDocuments", FHome->SystemData(1) + "/applications",
                                 FHome->SystemConfig() + "/autostart"})
        std::filesystem::create_directories(d);
    const struct {
        int csidl;
        std::string want;
    } mapped[] = {
        {CSIDL_PROGRAMS, FHome->Data() + "/applications"},
        {CSIDL_STARTMENU, FHome->Data() + "/applications"},
        {CSIDL_STARTUP, FHome->Config() + "/autostart"},
        {CSIDL_RECENT, FHome->Data() + "/RecentDocuments"},
        {CSIDL_COMMON_PROGRAMS, FHome->SystemData(1) + "/applications"},
        {CSIDL_COMMON_STARTMENU, FHome->SystemData(1) + "/applications"},
        {CSIDL_COMMON_STARTUP, FHome->SystemConfig() + "/autostart"},
    };
    for (const auto& m : mapped) EXPECT_EQ(path(m.csidl), m.want) << m.csidl;
    // Internet, control panel, printers, favourites, "Send To", network, shared desktop, printer
    // links: no counterpart.
    for (int csidl : {1, 3, 4, 6, 9, 18, 25, 27}) {
        IdList id;
        EXPECT_EQ(SHGetSpecialFolderLocation(nullptr, csidl, &id.p), E_INVALIDARG) << csidl;
    }
    IdList desk;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desk.p), S_OK);
    EXPECT_EQ(desk.Items(), ShellItems{});
}

TEST_F(ShellNamespace, SystemIconsByKindAndExtension)
{
    Make("folder");
    struct Case {
        std::string name;
        bool open;
        int icon;
    } cases[] = {
        {"folder", false, vxwin::siFolder},  {"folder", true, vxwin::siFolderOpen}, {"film.MKV", false, vxwin::siVideo},
        {"song.mp3", false, vxwin::siAudio}, {"shot.png", false, vxwin::siPicture}, {"notes.txt", false, vxwin::siFile},
        {"noext", false, vxwin::siFile},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.icon != vxwin::siFolder && c.icon != vxwin::siFolderOpen) Touch(c.name);
        IdList id;
        ASSERT_EQ(Parse(FRoot + "/" + c.name, &id), S_OK);
        EXPECT_EQ(vxwin::ShellIconIndexOf(id.p, c.open), c.icon);
    }
    IdList desk(vxwin::EncodeIdList({}));
    IdList home(vxwin::EncodeIdList({{kShellItemVirtual, "home"}}));
    IdList comp(vxwin::EncodeIdList({{kShellItemVirtual, "computer"}}));
    EXPECT_EQ(vxwin::ShellIconIndexOf(desk.p, false), vxwin::siDesktop);
    EXPECT_EQ(vxwin::ShellIconIndexOf(home.p, false), vxwin::siHome);
    EXPECT_EQ(vxwin::ShellIconIndexOf(comp.p, false), vxwin::siComputer);
}

TEST(ShellIdLists, MalformedListsAndNamesAreRefused)
{
    // A count below the item's least size, an unknown kind.
    const BYTE shortItem[] = {3, 0, 3, 0, 0};
    const BYTE badKind[] = {4, 0, 9, 'x', 0, 0};
    ShellItems items;
    EXPECT_FALSE(vxwin::DecodeIdList(reinterpret_cast<LPCITEMIDLIST>(shortItem), &items));
    EXPECT_FALSE(vxwin::DecodeIdList(reinterpret_cast<LPCITEMIDLIST>(badKind), &items));
    // Items in places that name nothing.
    vxwin::ShellNode node;
    for (const ShellItems& bad :
         {ShellItems{{kShellItemVolume, "/"}}, ShellItems{{kShellItemVirtual, "computer"}, {kShellItemEntry, "x"}},
          ShellItems{{kShellItemVirtual, "computer"}, {kShellItemVolume, "rel"}},
          ShellItems{{kShellItemVirtual, "computer"}, {kShellItemVolume, "/a/../b"}},
          ShellItems{{kShellItemVirtual, "home"}, {kShellItemEntry, ".."}},
          ShellItems{{kShellItemVirtual, "home"}, {kShellItemEntry, "a/b"}},
          ShellItems{{kShellItemVirtual, "nowhere"}}}) {
        EXPECT_FALSE(vxwin::ResolveNode(bad, &node));
        IdList id(vxwin::EncodeIdList(bad));
        STRRET r;
        EXPECT_EQ(Desktop()->GetDisplayNameOf(id.p, SHGDN_NORMAL, &r), E_INVALIDARG);
    }
}

}  // namespace
