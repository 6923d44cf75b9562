#include "app/program_start.h"

#include "app/about_form.h"
#include "app/filesettings/file_settings_form.h"
#include "app/legacy/legacy_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_list_view.h"
#include "skin/core/png_image_list.h"

void CreateProgramForms()
{
    Application->Initialize();
    Application->SetTitle(L"VexmoraMKV格式转换器");
    Application->SetHelpFile(L"help.chm");
    Application->CreateForm(Form1);
    // An error that escapes a command reaches the user in the program's own skinned box, after a
    // sentence that says the command failed.
    Application->OnException = [](TObject*, const std::exception& E) {
        auto* known = dynamic_cast<const Exception*>(&E);
        const String text = known ? known->Message() : Utf8ToString(E.what());
        if (Form1)
            Form1->ShowFailure(L"操作未能完成：" + text);
        else
            Application->ShowException(E);
    };
    Application->CreateForm(Form2);
    Form2->SetSkinData(Form1->bsSkinData1);
    Form5 = new TForm5(Application, Form1->DERID);
    Form5->SetSkinData(Form1->bsSkinData1);
    Application->RegisterForm(Form5);
    // The legacy preset form: created with the others, never shown.
    Form6 = new TForm6(Application, Form1->Settings, Form1->bsSkinData1);
    Application->RegisterForm(Form6);
    Form7 = new TForm7(Application, &Form1->Settings, Form1->bsSkinData1);
    Application->RegisterForm(Form7);
    ConnectProgramForms();
}

void ConnectProgramForms()
{
    Form6->OutputFolderText = [] { return Form1->Video_OutPut_Folder_Edit->Text(); };
    Form6->OverwriteChosen = [] { return Form1->OverwriteChosen(); };
    Form7->OnFocusJobList = [] { Form1->lvFiles->SetFocus(); };
    Form7->bsSkinOfficeComboBox2->SetImages(Form1->ImageList3);
}
