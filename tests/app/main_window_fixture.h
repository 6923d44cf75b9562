// The main window as the program starts it, inside a test: a temporary home (HOME and
// XDG_CONFIG_HOME) and a temporary program folder, so "option.ini" and the default folders land
// there; the forms created in the program's order (the main window, the about box, the options
// dialog, the per-file settings dialog) and set as the globals the main window reads.
#pragma once

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "app/about_form.h"
#include "app/filesettings/file_settings_form.h"
#include "app/legacy/legacy_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/presets/preset_catalogue.h"
#include "app/program_paths.h"
#include "app/program_start.h"
#include "engine/library_loader.h"
#include "engine/library_set.h"
#include "engine/unicode_file.h"
#include "platform/framework/forms/application.h"
#include "tests/engine/media_test_support.h"
#include "tests/support/application_fixture.h"
#include "tests/support/temp_dir.h"

// The first preset of the catalogue that passes the test, as combo positions ({-1, -1}: none).
inline TPresetPosition FindPreset(const std::function<bool(const TOutputPreset&)>& AWanted)
{
    for (int category = 0; category < CategoryCount; ++category) {
        const auto presets = PresetsOfCategory(CategoryCodeOf(category));
        for (size_t i = 0; i < presets.size(); ++i)
            if (AWanted(presets[i])) return {category, int(i)};
    }
    return {-1, -1};
}

class MainWindowFixture : public ApplicationFixture {
protected:
    void SetUp() override
    {
        FOldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
        ::setenv("HOME", Root.file("home").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", Root.file("config").c_str(), 1);
        std::filesystem::create_directories(Root.file("home"));
        std::filesystem::create_directories(Root.file("程序"));
        SetProgramFolder(Utf8ToString(Root.file("程序")));
    }

    void TearDown() override
    {
        ApplicationFixture::TearDown();
        Form1 = nullptr;
        SetProgramFolder(L"");
        ::setenv("HOME", FOldHome.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
    }

    // Creates the forms as the program's start does and pumps the loop once.
    void Start()
    {
        Form1 = Main = new TForm1(Application);
        Main->AfterConstruction();
        Form2 = new TForm2(Application);
        Form2->SetSkinData(Main->bsSkinData1);
        Form2->AfterConstruction();
        Form5 = new TForm5(Application, Main->DERID);
        Form5->SetSkinData(Main->bsSkinData1);
        Form5->AfterConstruction();
        Form6 = new TForm6(Application, Main->Settings, Main->bsSkinData1);
        Form6->AfterConstruction();
        Form7 = new TForm7(Application, &Main->Settings, Main->bsSkinData1);
        Form7->AfterConstruction();
        ConnectProgramForms();
        Pump();
    }

    static void Pump()
    {
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }

    // A clip written by the test (after Start, so the main window's log is the engine's); the
    // container follows the extension.
    std::string Clip(const std::string& APath, int AWidth = 176, int AHeight = 144, int ARate = 44100, int AFrames = 25)
    {
        EXPECT_TRUE(DefaultLoader().Load(ConverterLibraries)) << StringToUtf8(DefaultLoader().LastErrMsg());
        std::filesystem::create_directories(std::filesystem::path(APath).parent_path());
        engine_test::TestMedia m;
        m.Width = AWidth;
        m.Height = AHeight;
        m.SampleRate = ARate;
        m.Frames = AFrames;
        const std::string error = engine_test::WriteTestMedia(EncodeAVFileName(Utf8ToString(APath)), m);
        EXPECT_EQ(error, "") << APath;
        return APath;
    }

    // Serves the message loop until APredicate holds or two minutes pass.
    static bool WaitFor(const std::function<bool()>& APredicate)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
        while (!APredicate()) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    std::string ProgramDir() const { return Root.file("程序"); }
    std::string HomeDir() const { return Root.file("home"); }
    std::string OptionIni() const { return Root.file("程序") + "/option.ini"; }

    TempDir Root;
    TForm1* Main = nullptr;

private:
    std::string FOldHome;
};
