// The preview panel on a generated clip: the selected job opens paused in Panel6, the slider
// takes the panel's scale and seeks, and snapshots land in the snapshot folder in each picture
// type under base_N names, decoded back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/label.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/gif_image.h"
#include "platform/framework/graphics/jpeg_image.h"
#include "platform/framework/graphics/png_image.h"
#include "platform/win/shell_api.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_slider.h"
#include "tests/app/main_window_fixture.h"
#include "tests/engine/media_test_support.h"
#include "tests/support/file_bytes.h"

namespace {

class PreviewPanel : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        vxwin::SetShellExecuteHook([this](const vxwin::ShellExecuteCall& ACall) {
            ShellCalls.push_back(ACall.file);
            return LONG_PTR(42);
        });
    }
    void TearDown() override
    {
        if (Main) Main->FFPlayer->Stop(true);
        MainWindowFixture::TearDown();
        vxwin::SetShellExecuteHook(nullptr);
    }

    // The window with one job, a two-second clip, selected (which opens the preview).
    void OpenClip()
    {
        Start();
        ASSERT_TRUE(Main->DERID->LoadAVLib(ProgramFolder() + L"LibAV"));
        engine_test::TestMedia media;
        media.Width = 176;
        media.Height = 144;
        media.SampleRate = 48000;
        media.Frames = 50;
        Clip = Root.file("clip.mkv");
        ASSERT_EQ(engine_test::WriteTestMedia(Clip, media), "");
        ASSERT_EQ(Main->AddJob(Utf8ToString(Clip)), ajAdded);
        Main->Show();
        Main->lvFiles->SetSelected(Main->lvFiles->Items()->Item(0));
        ASSERT_TRUE(WaitFor([&] { return Main->FDuration > 0 && Frame().Width() > 0; }));
    }

    // The picture on screen now.
    TBitmap& Frame()
    {
        FFrame.SetSize(0, 0);
        if (const TFrameImage* frame = Main->FFPlayer->CurrentFrame(); frame && frame->Width > 0)
            FrameImageToBitmap(*frame, FFrame);
        return FFrame;
    }

    std::string SnapshotDir() const { return StringToUtf8(DefaultSnapshotFolder()); }
    std::string Snapshot(const std::string& AName) const { return SnapshotDir() + "/" + AName; }
    String IniValue(const String& AKey) const { return TIniFile(OptionIniPath()).ReadString(L"SnapShot", AKey, L""); }

    std::string Clip;
    std::vector<std::wstring> ShellCalls;

private:
    TBitmap FFrame;
};

TEST_F(PreviewPanel, TheSelectedJobOpensPausedAndTheSliderSeeks)
{
    OpenClip();
    EXPECT_EQ(Main->T_Movie_PLayer_FileName, Utf8ToString(Clip));
    EXPECT_EQ(Main->bsSkinSlider1->MaxValue(), Main->bsSkinSlider1->Width());
    EXPECT_EQ(Main->bsSkinSlider1->Value(), 0);
    EXPECT_NEAR(Main->FDuration, 2000000, 100000);
    EXPECT_NE(Main->mmoLog->Lines()->Text().find(L"duration: "), String::npos);
    // One video and one audio stream: the lists hold them and stay disabled.
    ASSERT_EQ(Main->cboVideo->Items()->Count(), 1);
    EXPECT_EQ(Main->cboVideo->Items()->Get(0), L"Video#0");
    EXPECT_FALSE(Main->cboVideo->Enabled());
    ASSERT_EQ(Main->cboAudio->Items()->Count(), 1);
    EXPECT_EQ(Main->cboAudio->Items()->Get(0), L"Audio#1");
    EXPECT_EQ(Main->cboSubtitle->Items()->Count(), 0);
    // Opened paused: no position moves on its own.
    for (int i = 0; i < 20; ++i) Application->ProcessMessages();
    EXPECT_EQ(Main->bsSkinSlider1->Value(), 0);

    // Held, the slider ignores the player; released at the middle, the preview seeks there and
    // plays on.
    Main->bsSkinSlider1MouseDown(Main->bsSkinSlider1, mbLeft, {}, 0, 0);
    Main->bsSkinSlider1->SetValue(Main->bsSkinSlider1->MaxValue() / 2);
    Main->FFPlayerPosition(Main->FFPlayer, 0);
    EXPECT_EQ(Main->bsSkinSlider1->Value(), Main->bsSkinSlider1->MaxValue() / 2);
    Main->bsSkinSlider1MouseUp(Main->bsSkinSlider1, mbLeft, {}, 0, 0);
    EXPECT_EQ(Main->bsSkinSlider1_down_UP, L"UP");
    ASSERT_TRUE(WaitFor([&] { return StrToFloat(Main->Label3->Caption()) >= 0.9; }))
        << StringToUtf8(Main->Label3->Caption());
    EXPECT_GE(Main->bsSkinSlider1->Value(), Main->bsSkinSlider1->MaxValue() * 2 / 5);
}

TEST_F(PreviewPanel, SnapshotsInEachTypeUnderTheFirstFreeNumber)
{
    OpenClip();
    const int width = Frame().Width(), height = Frame().Height();
    // Without [SnapShot] keys the defaults are written and the folder made.
    Main->bsSkinButton22Click(nullptr);
    Main->bsSkinButton22Click(nullptr);
    EXPECT_EQ(IniValue(L"Dir"), DefaultSnapshotFolder());
    EXPECT_EQ(IniValue(L"Picture"), L"BMP");
    EXPECT_TRUE(std::filesystem::exists(Snapshot("clip_1.bmp")));
    EXPECT_TRUE(std::filesystem::exists(Snapshot("clip_2.bmp")));

    // A number already taken in a type is skipped.
    WriteBytes(Snapshot("clip_1.jpg"), "taken");
    struct TType {
        TMenuItem* Item;
        const char* Key;
        const char* File;
        std::unique_ptr<TGraphic> Reader;
    };
    TType types[] = {
        {Main->BMP1, "BMP", "clip_3.bmp", std::make_unique<TBitmap>()},
        {Main->JPG1, "JPG", "clip_2.jpg", std::make_unique<TJPEGImage>()},
        {Main->GIF1, "GIF", "clip_1.gif", std::make_unique<TGIFImage>()},
        {Main->PNG1, "PNG", "clip_1.png", std::make_unique<TPngImage>()},
    };
    for (TType& type : types) {
        type.Item->Click();
        EXPECT_TRUE(type.Item->Checked()) << type.Key;
        EXPECT_EQ(IniValue(L"Picture"), Utf8ToString(type.Key));
        Main->bsSkinButton22Click(nullptr);
        ASSERT_TRUE(std::filesystem::exists(Snapshot(type.File))) << type.File;
        type.Reader->LoadFromFile(Utf8ToString(Snapshot(type.File)));
        EXPECT_EQ(type.Reader->Width(), width) << type.File;
        EXPECT_EQ(type.Reader->Height(), height) << type.File;
    }
    EXPECT_EQ(ReadBytes(Snapshot("clip_1.jpg")), "taken");

    // An unknown type ("jpg" in lower case) is written back as BMP and the snapshot is a BMP.
    TIniFile(OptionIniPath()).WriteString(L"SnapShot", L"Picture", L"jpg");
    Main->bsSkinButton22Click(nullptr);
    EXPECT_EQ(IniValue(L"Picture"), L"BMP");
    EXPECT_TRUE(Main->BMP1->Checked());
    EXPECT_TRUE(std::filesystem::exists(Snapshot("clip_4.bmp")));

    // Another folder in option.ini is made when missing and used; the menu opens it.
    const String other = Utf8ToString(Root.file("快照/新"));
    TIniFile(OptionIniPath()).WriteString(L"SnapShot", L"Dir", other);
    Main->bsSkinButton22Click(nullptr);
    EXPECT_TRUE(std::filesystem::exists(Root.file("快照/新/clip_1.bmp")));
    Main->MenuItem1->Click();
    ASSERT_EQ(ShellCalls.size(), 1u);
    EXPECT_EQ(ShellCalls[0], other);
}

// What the process writes to its standard error while AAction runs.
std::string StandardErrorOf(const std::function<void()>& AAction)
{
    std::fflush(stderr);
    FILE* file = std::tmpfile();
    const int saved = ::dup(2);
    ::dup2(::fileno(file), 2);
    AAction();
    std::fflush(stderr);
    ::dup2(saved, 2);
    ::close(saved);
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;) text += char(c);
    std::fclose(file);
    return text;
}

// Opening the preview (also with the stop button, which opens it again) chooses the sound
// output quietly: where there is no sound device the sound library's complaints stay off the
// terminal.
TEST_F(PreviewPanel, OpeningThePreviewKeepsTheTerminalQuiet)
{
    const std::string said = StandardErrorOf([&] {
        OpenClip();
        Main->bsSkinButton15Click(nullptr);
        ASSERT_TRUE(WaitFor([&] { return Frame().Width() > 0; }));
    });
    EXPECT_EQ(said.find("ALSA lib"), std::string::npos) << said;
    EXPECT_GT(Main->FDuration, 0);
}

}  // namespace
