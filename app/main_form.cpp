// The main window's construction, its creation handler (the start-up steps) and its side of
// "option.ini": the output folder ([OutPath]) and the skin in use ([Skin]).
#include "app/main_form.h"

#include <exception>

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
}

// Each step runs on its own: an error in one is shown and the next one still runs, so a broken
// settings value never leaves the window without its presets or its folder.
void TForm1::FormCreate(TObject* Sender)
{
    const std::function<void()> steps[] = {
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
        } catch (const std::exception& e) {
            Application->ShowException(e);
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

void TForm1::LoadOutputFolder()
{
    auto useDefault = [this] {
        const String folder = DefaultOutputFolder();
        ForceDirectories(folder);
        Video_OutPut_Folder_Edit->SetText(folder);
        FileOutPutPath = folder;
        // A settings file that cannot be written leaves the default in force for this run.
        try {
            TIniFile(OptionIniPath()).WriteString(L"OutPath", L"OutPath", folder);
        } catch (Exception&) {}
    };
    try {
        const String ini = OptionIniPath();
        if (!FileExists(ini)) return useDefault();
        const String folder = TIniFile(ini).ReadString(L"OutPath", L"OutPath", L"Error");
        if (Missing(folder)) return useDefault();
        // A folder that cannot be created is still the output folder.
        ForceDirectories(folder);
        Video_OutPut_Folder_Edit->SetText(folder);
        FileOutPutPath = folder;
    } catch (Exception&) {
        useDefault();
    }
}

void TForm1::SaveOutputFolder()
{
    if (DirectoryExists(FileOutPutPath)) TIniFile(OptionIniPath()).WriteString(L"OutPath", L"OutPath", FileOutPutPath);
}

void TForm1::LoadSkinIndex()
{
    const String ini = OptionIniPath();
    if (!FileExists(ini)) {
        TIniFile(ini).WriteString(L"Skin", L"SetSkin", L"0");
        bsSkinData1->SetSkinIndex(0);
        return;
    }
    const String value = TIniFile(ini).ReadString(L"Skin", L"SetSkin", L"Error");
    if (Missing(value)) {
        TIniFile(ini).WriteString(L"Skin", L"SetSkin", L"0");
        bsSkinData1->SetSkinIndex(0);
        return;
    }
    bsSkinData1->SetSkinIndex(StrToInt(value));
}

void TForm1::SaveSkinIndex()
{
    TIniFile(OptionIniPath()).WriteString(L"Skin", L"SetSkin", IntToStr(bsSkinData1->SkinIndex()));
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
