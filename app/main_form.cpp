// The main window's construction, its creation handler (the start-up steps) and its side of
// "option.ini": the output folder ([OutPath]) and the skin in use ([Skin]).
#include "app/main_form.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>

#include "app/program_paths.h"
#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/dialogs.h"
#include "platform/framework/graphics/bitmap.h"
#include "skin/boxes/skin_edit.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/skin_message.h"

TForm1* Form1 = nullptr;

namespace {

// A settings value that counts as missing.
bool Missing(const String& AValue) { return AValue.empty() || AValue == L"Error"; }

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner)
{
    BeginLoading();
    BuildLayout();
    EndLoading();
}

TForm1::~TForm1()
{
    if (Form1 == this) Form1 = nullptr;
    RemoveScratchFolder();
}

// Each step runs on its own: an error in one is shown and the next one still runs, so a broken
// settings value never leaves the window without its presets or its folder.
void TForm1::FormCreate(TObject* Sender)
{
    const std::function<void()> steps[] = {
        [] { RemoveStaleScratchFolders(); },
        [this] { Button15Click(this); },
        [this] { Button17Click(this); },
        [this] { Button21Click(this); },
        [this] { Button3Click(this); },
        [this] { Button2Click(this); },
        [this] {
            cboScreens->Items()->Clear();
            cboScreens->Items()->Add(L"Panel6");
            for (int order = 0;; ++order) {
                TWinControl* found = nullptr;
                for (int i = 0; i < ControlCount() && !found; ++i) {
                    auto* child = dynamic_cast<TWinControl*>(Controls(i));
                    if (child && child->TabOrder() == order) found = child;
                }
                if (!found) break;
                cboScreens->Items()->Add(found->Name());
            }
            cboScreens->SetItemIndex(0);
        },
        [this] {
            SavePictureDialog1->SetOptions(
                {ofOverwritePrompt, ofHideReadOnly, ofExtensionDifferent, ofPathMustExist, ofEnableSizing});
            SavePictureDialog1->SetFilter(L"Bitmaps (*.bmp)|*.bmp|JPEG Image File |*.jpg;*.jpeg");
            SavePictureDialog1->SetDefaultExt(L"bmp");
        },
        [this] { bsSkinSlider1_down_UP = L"UP"; },
    };
    for (const auto& step : steps) {
        try {
            step();
        } catch (const Exception& e) {
            ShowFailure(L"程序启动时出错，部分设置未能载入：" + e.Message());
        } catch (const std::exception& e) {
            ShowFailure(L"程序启动时出错，部分设置未能载入：" + Utf8ToString(e.what()));
        }
    }
}

void TForm1::Button15Click(TObject*) { FreeAllSlots(OO1); }

void TForm1::Button21Click(TObject*) { SetOpenDialogFilters(); }

void TForm1::SetOpenDialogFilters()
{
    OpenDialog1->SetFilter(OpenFileFilter());
    OpenDialog2->SetFilter(OpenFileFilter());
}

void TForm1::Button17Click(TObject*) { LoadOutputFolder(); }
void TForm1::Button16Click(TObject*) { SaveOutputFolder(); }
void TForm1::Button3Click(TObject*)
{
    LoadSkinIndex();
    PlaceEmptyListPanel();
}
void TForm1::Button4Click(TObject*) { SaveSkinIndex(); }

namespace {

// Why a folder cannot take output files, or an empty text when it can: it is made when missing,
// and a file is created in it and removed again (a read-only disk, a file in the folder's place,
// a name too long and missing rights all fail here).
String OutputFolderProblem(const String& AFolder)
{
    if (AFolder.empty()) return L"empty";
    const std::string folder = StringToUtf8(AFolder);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return Utf8ToString(error.message());
    if (!std::filesystem::is_directory(folder, error)) return Utf8ToString(std::strerror(ENOTDIR));
    std::string probe = folder + "/.vexmora-XXXXXX";
    const int fd = ::mkstemp(probe.data());
    if (fd < 0) return Utf8ToString(std::strerror(errno));
    ::close(fd);
    ::unlink(probe.c_str());
    return String();
}

// A path as a box shows it: a very long one keeps its start and its end.
String ShortPath(const String& APath)
{
    const size_t keep = 60;
    return APath.size() <= 2 * keep + 3 ? APath : APath.substr(0, keep) + L"..." + APath.substr(APath.size() - keep);
}

}  // namespace

void TForm1::LoadOutputFolder()
{
    auto use = [this](const String& AFolder) {
        Video_OutPut_Folder_Edit->SetText(AFolder);
        FileOutPutPath = AFolder;
    };
    auto useDefault = [&] {
        const String folder = DefaultOutputFolder();
        ForceDirectories(folder);
        use(folder);
        // A settings file that cannot be written leaves the default in force for this run.
        try {
            TIniFile(OptionIniPath()).WriteString(L"OutPath", L"OutPath", folder);
        } catch (Exception&) {}
    };
    String folder;
    try {
        const String ini = OptionIniPath();
        if (!FileExists(ini)) return useDefault();
        folder = TIniFile(ini).ReadString(L"OutPath", L"OutPath", L"Error");
        if (Missing(folder)) return useDefault();
    } catch (Exception&) {
        return useDefault();
    }
    // A configured folder that cannot take files is reported and the default is used for this
    // run; the setting stays in the file (a disk that is not mounted now may be next time).
    const String problem = OutputFolderProblem(folder);
    if (problem.empty()) return use(folder);
    const String fallback = DefaultOutputFolder();
    ForceDirectories(fallback);
    use(fallback);
    ShowNotice(L"设置的输出目录“" + ShortPath(folder) + L"”无法使用，本次改用默认输出目录“" + fallback +
               L"”。\n原因：" + problem);
}

void TForm1::SaveOutputFolder()
{
    if (DirectoryExists(FileOutPutPath)) TIniFile(OptionIniPath()).WriteString(L"OutPath", L"OutPath", FileOutPutPath);
}

void TForm1::LoadSkinIndex()
{
    const String ini = OptionIniPath();
    int index = 0;
    // A value that is no whole number ("abc", binary bytes, 20 digits) counts as missing: the
    // default is written over it, so the next start reads a good value.
    if (!FileExists(ini) || !TryStrToInt(TIniFile(ini).ReadString(L"Skin", L"SetSkin", L"Error"), index)) {
        TIniFile(ini).WriteString(L"Skin", L"SetSkin", L"0");
        bsSkinData1->SetSkinIndex(0);
        return;
    }
    bsSkinData1->SetSkinIndex(index);
}

void TForm1::SaveSkinIndex()
{
    TIniFile(OptionIniPath()).WriteString(L"Skin", L"SetSkin", IntToStr(bsSkinData1->SkinIndex()));
}

void TForm1::ShowNotice(const String& AText, const String& ACaption)
{
    bsSkinMessage1->MessageDlg2(AText, ACaption, mtInformation, {mbOK}, 0);
}

void TForm1::ShowFailure(const String& AText)
{
    bsSkinMessage1->MessageDlg2(AText, Application->Title(), mtWarning, {mbOK}, 0);
}

void TForm1::LogLine(const String& ALine)
{
    TStrings* lines = mmoLog->Lines();
    lines->BeginUpdate();
    while (lines->Count() >= LogMemoLineLimit) lines->Delete(0);
    lines->Add(ALine);
    lines->EndUpdate();
}

void TForm1::WndProc(TMessage& Message)
{
    TForm::WndProc(Message);
    if (Message.Msg == WM_WINDOWPOSCHANGED) WMWindowPosChanged(Message);
    if (Message.Msg == WM_WINDOWPOSCHANGING) WMWindowPosChanging(Message);
}
