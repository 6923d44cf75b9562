// The main window's menus and small commands: the add menu items, quitting, the options dialog
// and the about box, help and the maker's links, choosing the output folder and the skin.
#include "app/about_form.h"
#include "app/main_form.h"
#include "app/maker_links.h"
#include "app/options_form.h"
#include "app/program_paths.h"
#include "platform/framework/core/files.h"
#include "platform/win/shell_api.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_list_view.h"
#include "skin/core/skin_data.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "skin/dialogs/select_skin_dialog.h"

namespace {

void OpenInShell(TForm1* AForm, const String& ATarget)
{
    ShellExecuteW(AForm->Handle(), L"open", ATarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

bool TForm1::OverwriteChosen() const { return Form5 && Form5->bsSkinCheckRadioBox3->Checked(); }

void TForm1::N21Click(TObject* Sender) { Button12Click(Sender); }
void TForm1::N2222Click(TObject* Sender) { Button8Click(Sender); }
void TForm1::N3331Click(TObject* Sender) { Button12Click(Sender); }

void TForm1::N4Click(TObject*) { Close(); }

void TForm1::ShowOptionsDialog()
{
    if (Form5) Form5->ShowModal();
}

void TForm1::N24Click(TObject*) { ShowOptionsDialog(); }
void TForm1::bsSkinButton19Click(TObject*) { ShowOptionsDialog(); }
void TForm1::bsSkinButton1Click(TObject*) { ShowOptionsDialog(); }
void TForm1::Button26Click(TObject*) { ShowOptionsDialog(); }
void TForm1::bsSkinSpeedButton1Click(TObject*) { ShowOptionsDialog(); }

void TForm1::N5Click(TObject*)
{
    if (Form2) Form2->ShowModal();
}

// The help shipped beside the program (an HTML page on Linux).
void TForm1::OpenHelpFile() { OpenInShell(this, ProgramFile(L"help/index.html")); }
void TForm1::Button1Click(TObject*) { OpenHelpFile(); }

void TForm1::N15Click(TObject*) { OpenInShell(this, kMakerQuestionPage); }
void TForm1::N19Click(TObject*) { OpenInShell(this, kMakerWebSite); }
void TForm1::EMAIL1Click(TObject*) { OpenInShell(this, kMakerSupportMail); }

// Only a confirmed folder that exists becomes the output folder: a cancel leaves it as it was.
void TForm1::ChooseOutputFolder()
{
    if (!bsSkinSelectDirectoryDialog2->Execute()) return;
    const String folder = bsSkinSelectDirectoryDialog2->Directory();
    if (folder.empty() || !DirectoryExists(folder)) return;
    Video_OutPut_Folder_Edit->SetText(folder);
    FileOutPutPath = folder;
    SaveOutputFolder();
    lvFiles->SetFocus();
}

void TForm1::bsSkinButton5Click(TObject*) { ChooseOutputFolder(); }

void TForm1::bsSkinButton6Click(TObject* Sender)
{
    Button20Click(Sender);
    lvFiles->SetFocus();
}

void TForm1::ChooseSkin()
{
    if (bsSelectSkinDialog1->Execute(bsSkinData1->SkinIndex()))
        bsSkinData1->SetSkinIndex(bsSelectSkinDialog1->SelectedSkinIndex());
    SaveSkinIndex();
    PlaceEmptyListPanel();
}

void TForm1::bsSkinButton9Click(TObject*) { ChooseSkin(); }
void TForm1::N23Click(TObject*) { ChooseSkin(); }
