// The launcher (ShellExecuteW) and the item menu: which commands an item offers, "open" through
// the launcher, "delete" into the test's own trash (or a clear failure without one).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/win/shell_api.h"
#include "platform/win/win_consts.h"
#include "shell_test_util.h"
#include "tests/support/unprivileged.h"

using namespace shelltest;

namespace {

class ShellLaunch : public ShellTest {
protected:
    void TearDown() override
    {
        vxwin::SetShellExecuteHook(nullptr);
        ShellTest::TearDown();
    }

    std::shared_ptr<IContextMenu> Menu(const std::vector<std::string>& paths, std::vector<IdList>* keep = nullptr)
    {
        std::vector<IdList> ids(paths.size());
        std::vector<LPCITEMIDLIST> rel;
        for (size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(Parse(paths[i], &ids[i]), S_OK);
            rel.push_back(ids[i].p);
        }
        std::shared_ptr<IContextMenu> menu;
        EXPECT_EQ(Desktop()->GetUIObjectOf(nullptr, static_cast<UINT>(rel.size()), rel.data(), &menu), S_OK);
        return menu;
    }
    static std::vector<std::wstring> Captions(IContextMenu* m, UINT flags)
    {
        std::vector<std::wstring> c;
        const HRESULT count = m->QueryContextMenu(c, flags);
        EXPECT_EQ(count, static_cast<HRESULT>(c.size()));
        return c;
    }
    static HRESULT Invoke(IContextMenu* m, const char* verb)
    {
        CMINVOKECOMMANDINFO info;
        info.lpVerb = verb;
        info.nShow = SW_SHOWNORMAL;
        return m->InvokeCommand(&info);
    }
};

TEST_F(ShellLaunch, TheLauncherGetsAnAbsolutePathAndTheProcessStaysWhereItIs)
{
    const std::string bin = Make("bin");
    const std::string log = FRoot + "/launched.txt";
    WriteFile(bin + "/xdg-open", "#!/bin/sh\nprintf '%s|%s' \"$1\" \"$(pwd)\" > '" + log + "'\n");
    ::chmod((bin + "/xdg-open").c_str(), 0755);
    const std::string work = Make("工作 目录");
    const auto cwd = std::filesystem::current_path();
    const char* oldPath = std::getenv("PATH");
    const std::string keepPath = oldPath ? oldPath : "";

    ::setenv("PATH", bin.c_str(), 1);
    const std::wstring file = Utf8ToString(FRoot + "/电影 1.mkv");
    auto r = reinterpret_cast<LONG_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, Utf8ToString(work).c_str(), SW_SHOWNORMAL));
    EXPECT_GT(r, 32);
    for (int i = 0; i < 200 && ReadFile(log).empty(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ReadFile(log), FRoot + "/电影 1.mkv|" + work);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(ShellExecuteW(nullptr, L"print", file.c_str(), nullptr, nullptr, 1)),
              SE_ERR_NOASSOC);

    ::setenv("PATH", Make("empty").c_str(), 1);  // no launcher
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, 1)),
              SE_ERR_NOASSOC);
    ::setenv("PATH", keepPath.c_str(), 1);
    EXPECT_EQ(std::filesystem::current_path(), cwd);
}

TEST_F(ShellLaunch, ItemMenuOffersOpenRenameDelete)
{
    const std::string file = Touch("影片.avi");
    auto menu = Menu({file});
    EXPECT_EQ(Captions(menu.get(), CMF_EXPLORE | CMF_CANRENAME),
              (std::vector<std::wstring>{L"打开", L"重命名", L"删除"}));
    std::string verb;
    EXPECT_EQ(menu->GetCommandString(2, GCS_VERBA, &verb), S_OK);
    EXPECT_EQ(verb, "delete");
    EXPECT_EQ(menu->GetCommandString(3, GCS_VERBA, &verb), E_INVALIDARG);
    EXPECT_EQ(Captions(Menu({file}).get(), CMF_EXPLORE), (std::vector<std::wstring>{L"打开", L"删除"}));
    EXPECT_EQ(Captions(Menu({file, Touch("b")}).get(), CMF_CANRENAME), (std::vector<std::wstring>{L"打开", L"删除"}));

    // Virtual items have nothing to offer; a volume opens but stays.
    IdList comp(vxwin::EncodeIdList({{vxwin::kShellItemVirtual, "computer"}}));
    LPCITEMIDLIST one = comp.p;
    std::shared_ptr<IContextMenu> m;
    ASSERT_EQ(Desktop()->GetUIObjectOf(nullptr, 1, &one, &m), S_OK);
    EXPECT_EQ(Captions(m.get(), CMF_CANRENAME), std::vector<std::wstring>{});
    EXPECT_EQ(Captions(Menu({"/"}).get(), CMF_CANRENAME), std::vector<std::wstring>{L"打开"});

    // "open" hands the absolute path to the launcher, by verb or by offset; "rename" is the view's.
    std::vector<vxwin::ShellExecuteCall> calls;
    vxwin::SetShellExecuteHook([&](const vxwin::ShellExecuteCall& c) {
        calls.push_back(c);
        return LONG_PTR{42};
    });
    EXPECT_EQ(Invoke(menu.get(), "open"), S_OK);
    EXPECT_EQ(Invoke(menu.get(), MAKEINTRESOURCEA(0)), S_OK);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].operation, L"open");
    EXPECT_EQ(StringToUtf8(calls[0].file), file);
    EXPECT_EQ(Invoke(menu.get(), "rename"), E_NOTIMPL);
    EXPECT_EQ(Invoke(menu.get(), "properties"), E_INVALIDARG);
    vxwin::SetShellExecuteHook([](const vxwin::ShellExecuteCall&) { return LONG_PTR{SE_ERR_NOASSOC}; });
    EXPECT_EQ(Invoke(menu.get(), "open"), E_FAIL);
    EXPECT_NE(vxwin::LastShellErrorText().find(L"影片.avi"), std::wstring::npos);
}

TEST_F(ShellLaunch, DeleteMovesIntoTheTrash)
{
    const std::string file = Touch("旧 文件.txt", "keep me");
    const std::string folder = Make("old folder");
    Touch("old folder/inside");
    EXPECT_EQ(Invoke(Menu({file, folder}).get(), "delete"), S_OK);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(std::filesystem::exists(folder));
    const std::string trash = FHome->Data() + "/Trash";
    EXPECT_EQ(ReadFile(trash + "/files/旧 文件.txt"), "keep me");
    EXPECT_TRUE(std::filesystem::exists(trash + "/files/old folder/inside"));
    EXPECT_TRUE(std::filesystem::exists(trash + "/info/旧 文件.txt.trashinfo"));
}

TEST_F(ShellLaunch, DeleteWithoutATrashFailsAndKeepsTheFile)
{
    const std::string file = Touch("precious.txt", "data");
    ::chmod(FRoot.c_str(), 0777);
    ::chmod(FHome->Data().c_str(), 0555);  // no trash can be made there
    const int rc = RunUnprivileged([&] {
        if (Invoke(Menu({file}).get(), "delete") != E_FAIL) return 1;
        return vxwin::LastShellErrorText().find(L"precious.txt") != std::wstring::npos ? 0 : 2;
    });
    ::chmod(FHome->Data().c_str(), 0755);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(ReadFile(file), "data");
}

}  // namespace
