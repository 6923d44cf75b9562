// A home of the test process's own for the shell namespace: HOME, XDG_CONFIG_HOME and
// XDG_DATA_HOME under one temporary folder, with a user-dirs.dirs naming the desktop
// ("桌面"), documents ("文档") and templates folders. GLib reads these once per process, so every
// test of a process shares one home (made on first use, before any GLib call) and makes its own
// folders inside it.
#pragma once

#include <glib.h>
#include <sys/stat.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/temp_dir.h"

class ShellTestHome {
public:
    static ShellTestHome& Get()
    {
        static ShellTestHome home;  // removed at exit
        return home;
    }

    const std::string& Home() const { return FHome; }
    std::string Config() const { return FRoot.path() + "/config"; }
    std::string Data() const { return FRoot.path() + "/data"; }
    std::string Desktop() const { return FHome + "/桌面"; }
    std::string Documents() const { return FHome + "/文档"; }
    std::string Templates() const { return FHome + "/模板"; }
    // The system folders that GLib searches first (XDG_DATA_DIRS, XDG_CONFIG_DIRS), ahead of the
    // machine's own: two data folders and one configuration folder.
    std::string SystemData(int i) const { return FRoot.path() + "/share" + std::to_string(i); }
    std::string SystemConfig() const { return FRoot.path() + "/etc-xdg"; }

    // Rewrites user-dirs.dirs (each value a path, or empty to leave the entry out) and makes
    // GLib read it again.
    void SetUserDirs(const std::string& desktop, const std::string& documents, const std::string& templates)
    {
        std::ofstream out(Config() + "/user-dirs.dirs", std::ios::trunc);
        if (!desktop.empty()) out << "XDG_DESKTOP_DIR=\"" << desktop << "\"\n";
        if (!documents.empty()) out << "XDG_DOCUMENTS_DIR=\"" << documents << "\"\n";
        if (!templates.empty()) out << "XDG_TEMPLATES_DIR=\"" << templates << "\"\n";
        out.close();
        g_reload_user_special_dirs_cache();
    }

    // A new empty folder inside the home for one test.
    std::string NewFolder(const std::string& name)
    {
        const std::string p = FHome + "/" + name;
        std::filesystem::remove_all(p);  // a repeated test starts empty too
        std::filesystem::create_directories(p);
        return p;
    }

private:
    ShellTestHome()
    {
        FHome = FRoot.path() + "/home";
        std::filesystem::create_directories(FHome);
        std::filesystem::create_directories(Config());
        std::filesystem::create_directories(Data());
        std::filesystem::create_directories(Desktop());
        std::filesystem::create_directories(Documents());
        ::setenv("HOME", FHome.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", Config().c_str(), 1);
        ::setenv("XDG_DATA_HOME", Data().c_str(), 1);
        ::setenv("XDG_CACHE_HOME", (FRoot.path() + "/cache").c_str(), 1);
        const char* data = std::getenv("XDG_DATA_DIRS");
        const char* config = std::getenv("XDG_CONFIG_DIRS");
        const std::string dataDirs = SystemData(0) + ":" + SystemData(1) + ":" +
                                     (data && *data ? data : "/usr/local/share:/usr/share");
        const std::string configDirs = SystemConfig() + ":" + (config && *config ? config : "/etc/xdg");
        ::setenv("XDG_DATA_DIRS", dataDirs.c_str(), 1);
        ::setenv("XDG_CONFIG_DIRS", configDirs.c_str(), 1);
        // Other users (the unprivileged checks) must reach the home's folders.
        ::chmod(FRoot.path().c_str(), 0755);
        SetUserDirs(Desktop(), Documents(), Templates());
    }

    TempDir FRoot;
    std::string FHome;
};
