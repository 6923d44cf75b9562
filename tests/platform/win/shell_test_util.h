// Helpers of the shell namespace tests: the test home, a mount table of the test's own (volumes
// are temporary folders), ID lists as item vectors, names and enumerations as texts.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/utf.h"
#include "platform/win/file_api.h"
#include "platform/win/shell_folder_api.h"
#include "platform/win/shell_items.h"
#include "tests/support/shell_home.h"

namespace shelltest {

struct IdList {
    LPITEMIDLIST p = nullptr;
    IdList() = default;
    explicit IdList(LPITEMIDLIST q) : p(q) {}
    IdList(const IdList&) = delete;
    IdList& operator=(const IdList&) = delete;
    ~IdList() { std::free(p); }
    vxwin::ShellItems Items() const
    {
        vxwin::ShellItems items;
        EXPECT_TRUE(vxwin::DecodeIdList(p, &items));
        return items;
    }
};

inline std::shared_ptr<IShellFolder> Desktop()
{
    std::shared_ptr<IShellFolder> d;
    EXPECT_EQ(SHGetDesktopFolder(&d), S_OK);
    return d;
}

inline std::wstring Name(IShellFolder* folder, LPCITEMIDLIST idl, DWORD flags)
{
    STRRET r;
    if (folder->GetDisplayNameOf(idl, flags, &r) != S_OK) return L"<failed>";
    std::wstring s = r.pOleStr ? r.pOleStr : L"";
    std::free(r.pOleStr);
    return s;
}

// The items of a folder by their in-folder names, in enumeration order.
inline std::vector<std::wstring> Names(IShellFolder* folder, DWORD flags)
{
    std::unique_ptr<IEnumIDList> e;
    std::vector<std::wstring> out;
    if (folder->EnumObjects(nullptr, flags, &e) != S_OK) return {L"<failed>"};
    LPITEMIDLIST item;
    ULONG got;
    while (e->Next(1, &item, &got) == S_OK && got == 1) {
        out.push_back(Name(folder, item, SHGDN_INFOLDER));
        std::free(item);
    }
    return out;
}

inline HRESULT Parse(const std::string& path, IdList* out)
{
    const std::wstring w = Utf8ToString(path);
    ULONG eaten = 0;
    return Desktop()->ParseDisplayName(nullptr, w.c_str(), &eaten, &out->p, nullptr);
}

inline std::shared_ptr<IShellFolder> Bind(LPCITEMIDLIST absolute)
{
    std::shared_ptr<IShellFolder> f;
    EXPECT_EQ(Desktop()->BindToObject(absolute, &f), S_OK);
    return f;
}

inline ULONG Attributes(const std::string& path, ULONG mask)
{
    IdList id;
    if (Parse(path, &id) != S_OK) return 0xDEAD;
    LPCITEMIDLIST one = id.p;
    ULONG a = mask;
    if (Desktop()->GetAttributesOf(1, &one, &a) != S_OK) return 0xDEAD;
    return a;
}

inline void WriteFile(const std::string& path, const std::string& text = "x")
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A test with the process's home and a mount table of its own: "/" plus the volumes the test
// adds (temporary folders), with labels and removable flags from folders of the test.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FHome = &ShellTestHome::Get();
        FRoot = FHome->NewFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(FRoot + "/.labels");
        std::filesystem::create_directories(FRoot + "/.sys");
        std::filesystem::create_directories(FRoot + "/.dev");
        FMounts.push_back({"/", "/dev/root", "ext4", false});
        vxwin::SetMountTableForTest([this] { return FMounts; }, FRoot + "/.labels", FRoot + "/.sys");
    }
    void TearDown() override { vxwin::SetMountTableForTest(nullptr); }

    // A volume mounted on a new folder of the test; device names a fake device of the test.
    std::string AddVolume(const std::string& name, const std::string& fsType, bool visible = true,
                          const std::string& label = {}, bool removable = false)
    {
        const std::string mount = Make(name);
        const std::string dev = FRoot + "/.dev/" + name;
        WriteFile(dev);
        if (!label.empty()) std::filesystem::create_symlink(dev, FRoot + "/.labels/" + label);
        std::filesystem::create_directories(FRoot + "/.sys/" + name);
        WriteFile(FRoot + "/.sys/" + name + "/removable", removable ? "1\n" : "0\n");
        FMounts.push_back({mount, dev, fsType, visible});
        return mount;
    }

    std::string Make(const std::string& rel)
    {
        std::filesystem::create_directories(FRoot + "/" + rel);
        return FRoot + "/" + rel;
    }
    std::string Touch(const std::string& rel, const std::string& text = "x")
    {
        WriteFile(FRoot + "/" + rel, text);
        return FRoot + "/" + rel;
    }

    ShellTestHome* FHome = nullptr;
    std::string FRoot;
    std::vector<vxwin::MountEntry> FMounts;
};

}  // namespace shelltest
