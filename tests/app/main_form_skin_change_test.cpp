// A skin chosen through the skin chooser reaches every window of the program: the main window,
// the about box, the options and per-file dialogs, the popup menus, the hint and the message
// box. The second skin is the program's own with every picture's colours inverted (masks and the
// transparent key kept), so a pixel drawn from the skin turns into its inverse and one left in
// the old skin does not.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>

#include "app/filesettings/file_settings_form.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/skin_list_box.h"
#include "skin/controls/skin_button.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "skin/dialogs/select_skin_dialog.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_hint.h"
#include "skin/form/skin_menu.h"
#include "skin/form/skin_popup_menu.h"
#include "skin/form/skin_popup_window.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/modal_script.h"

namespace fs = std::filesystem;

namespace {

uint32_t Inverse(uint32_t P) { return (P & 0xFF000000u) | (~P & 0xFFFFFF); }

// The program's skin beside the program as a skin folder, its pictures inverted.
void WriteInvertedSkin(const std::string& AFolder)
{
    const char* src = std::getenv("VX_SOURCE_DIR");
    fs::copy(fs::path(src ? src : ".") / "resources/skins/light", AFolder, fs::copy_options::recursive);
    for (const auto& e : fs::directory_iterator(AFolder)) {
        if (e.path().extension() != ".bmp" || e.path().filename().string().find("mask") != std::string::npos) continue;
        TBitmap b;
        b.LoadFromFile(Utf8ToString(e.path().string()));
        const TPixelFormat format = b.PixelFormat();
        b.SetPixelFormat(pf32bit);
        for (int y = 0; y < b.Height(); ++y)
            for (int x = 0; x < b.Width(); ++x)
                if ((b.PixelArgb(x, y) & 0xFFFFFF) != 0x7F007F) b.SetPixelArgb(x, y, Inverse(b.PixelArgb(x, y)));
        b.SetPixelFormat(format);
        b.SaveToFile(Utf8ToString(e.path().string()));
    }
}

std::vector<uint32_t> Pixels(HWND AWindow, int& W, int& H)
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    return vxwin::WindowPixels(AWindow, &W, &H);
}

// Of the pixels far from mid-grey, the share that turned into their inverse.
double InvertedShare(const std::vector<uint32_t>& ABefore, const std::vector<uint32_t>& AAfter)
{
    int candidates = 0, swapped = 0;
    for (size_t i = 0; i < ABefore.size() && i < AAfter.size(); ++i) {
        const uint32_t b = ABefore[i] & 0xFFFFFF;
        if (std::abs(int((b >> 8) & 0xFF) - 128) < 40) continue;
        ++candidates;
        swapped += (AAfter[i] & 0xFFFFFF) == (~b & 0xFFFFFF) ? 1 : 0;
    }
    return candidates < 50 ? -1 : double(swapped) / candidates;
}

class MainWindowSkinChange : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        fs::create_directories(ProgramDir() + "/skins");
        WriteInvertedSkin(ProgramDir() + "/skins/inverted");
        Start();
        Application->SetMainForm(Main);  // as the program has it: its hint is the application's
        Main->Show();
        Pump();
    }
    void TearDown() override
    {
        Application->SetMainForm(nullptr);
        MainWindowFixture::TearDown();
    }

    // The pixels of every window: forms shown for the moment, the popup menu popped up, the
    // hint shown, the message box inside its modal loop.
    std::map<std::string, std::vector<uint32_t>> Capture()
    {
        std::map<std::string, std::vector<uint32_t>> out;
        int w = 0, h = 0;
        out["main window"] = Pixels(Main->Handle(), w, h);
        for (auto [name, form] : {std::pair<const char*, TForm*>{"about box", Form2}, {"options dialog", Form5},
                                  {"per-file dialog", Form7}}) {
            form->Show();
            out[name] = Pixels(form->Handle(), w, h);
            form->Hide();
        }
        Main->bsSkinPopupMenu1->Popup(200, 200);
        auto* engine = dynamic_cast<TbsSkinMenu*>(Main->bsSkinForm1->SkinMenuEngine());
        EXPECT_TRUE(engine && engine->PopupCount() == 1);
        if (engine && engine->PopupCount() == 1) out["popup menu"] = Pixels(engine->FPopupList[0]->Handle(), w, h);
        if (engine) engine->Hide();
        Pump();
        Main->bsSkinHint1->ActivateHint(Point(300, 300), L"提示");
        out["hint"] = Pixels(Main->bsSkinHint1->HW->Handle(), w, h);
        Main->bsSkinHint1->HideHint();
        ModalScript script({[&](TCustomForm* F) {
            int fw = 0, fh = 0;
            out["message box"] = Pixels(F->Handle(), fw, fh);
            F->SetModalResult(mrOk);
        }});
        Main->bsSkinMessage1->MessageDlg(L"消息", mtInformation, {mbOK}, 0);
        EXPECT_TRUE(script.Done());
        return out;
    }
};

}  // namespace

TEST_F(MainWindowSkinChange, TheChosenSkinReachesEveryFormMenuHintAndBox)
{
    ASSERT_EQ(Main->bsCompressedSkinList1->Skins()->Count(), 2);
    const auto before = Capture();

    ModalScript script({[](TCustomForm* F) {
        auto* f = dynamic_cast<TbsSelectSkinDlgForm*>(F);
        ASSERT_NE(f, nullptr);
        TbsListBox* inner = f->SkinsListBox->ListBox;
        const TRect r = inner->ItemRect(1);
        const TPoint p = inner->ClientToScreen(Point(r.Left + 10, (r.Top + r.Bottom) / 2));
        Click(p.X, p.Y);
    },
                        [](TCustomForm* F) { F->SetModalResult(mrOk); }});
    Main->bsSkinButton9Click(Main);
    ASSERT_TRUE(script.Done());
    ASSERT_EQ(Main->bsSkinData1->SkinIndex(), 1);

    const auto after = Capture();
    for (const auto& [name, pixels] : before) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(after.count(name));
        EXPECT_GT(InvertedShare(pixels, after.at(name)), 0.5);
    }
}

// Both skin models read the main window's interface-text table: a text changed there is the
// text the message box shows.
TEST_F(MainWindowSkinChange, BothModelsReadTheMainWindowsInterfaceTexts)
{
    ASSERT_NE(Main->bsResourceStrData1, nullptr);
    EXPECT_EQ(Main->bsSkinData1->ResourceStrData(), Main->bsResourceStrData1);
    EXPECT_EQ(Main->bsSkinData2->ResourceStrData(), Main->bsResourceStrData1);
    Main->bsResourceStrData1->ResStrings()->Insert(0, L"MSG_BTN_OK=好的");
    std::vector<String> captions;
    ModalScript script({[&](TCustomForm* F) {
        for (int i = 0; i < F->ComponentCount(); ++i)
            if (auto* b = dynamic_cast<TbsSkinButton*>(F->Components(i))) captions.push_back(b->Caption());
        F->SetModalResult(mrOk);
    }});
    Main->bsSkinMessage1->MessageDlg(L"消息", mtInformation, {mbOK}, 0);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(captions, std::vector<String>{L"好的"});
}
