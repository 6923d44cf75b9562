// TForm6 "设置选项": the legacy preset form, the earlier edition of the format panel over
// the legacy catalogue. The program creates it at start-up (after the options dialog, before
// the per-file settings dialog) and never shows it; creating it fills the preset list with
// category 0 and the parameter combos with key 0, which leaves All_Trant_Number 100 and
// Video_DisableVideo false in the main window's settings. Were it shown, "确定" would apply
// the chosen preset over those settings and read the combos back; it never touches a job.
//
// Handlers are thin calls of legacy_commands.h; commands run by clicking the plain buttons
// on Panel1, as the form's combos and "确定" do.
#pragma once

#include <array>
#include <functional>

#include "app/presets/parameter_choices.h"
#include "app/presets/preset_settings.h"
#include "platform/framework/forms/forms.h"

class TButton;
class TCustomImageList;
class TFFConverter;
class TImage;
class TImageList;
class TbsSkinButton;
class TbsSkinComboBox;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinOfficeComboBox;
class TbsSkinPageControl;
class TbsSkinPanel;
class TbsSkinTabSheet;
class TbsSkinTextLabel;

class TForm6 : public TForm {
public:
    // ASettings: the main window's current output settings, which the form's commands write
    // for its whole life. ASkinData: the main window's skin model (may be null).
    TForm6(TComponent* AOwner, PresetSettings& ASettings, TbsSkinData* ASkinData = nullptr);
    ~TForm6() override;

    // Read when a preset is applied: the text of the main window's output folder edit and the
    // options dialog's overwrite choice. Unset: an empty folder and no overwrite.
    std::function<String()> OutputFolderText;
    std::function<bool()> OverwriteChosen;

    void SetSkinData(TbsSkinData* ASkinData);
    // The parameter combo of a parameter.
    TbsSkinComboBox* ParameterCombo(TPresetParameter parameter) const { return FCombos[parameter]; }

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void bsSkinOfficeComboBox2Change(TObject* Sender);  // category
    void bsSkinOfficeComboBox1Click(TObject* Sender);   // preset
    void Button2Click(TObject* Sender);                 // FillPresetList
    void Button18Click(TObject* Sender);                // FillParameterChoices
    void Button5Click(TObject* Sender);                 // ApplyPresetOptions
    void Button13Click(TObject* Sender);                // ReadParameterChoices
    void Button6Click(TObject* Sender);                 // ResetPresetSettings
    void bsSkinButton2Click(TObject* Sender);           // "确定"
    void bsSkinButton3Click(TObject* Sender);           // "取消"

    // ---- components, in creation order ----
    TbsSkinForm* bsSkinForm1 = nullptr;
    TbsSkinPanel* bsSkinPanel2 = nullptr;
    TbsSkinTextLabel* bsSkinTextLabel5 = nullptr;
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;  // preset list
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;  // category list
    TbsSkinButton* bsSkinButton1 = nullptr;                  // "设置", invisible
    TCustomControl* Panel1 = nullptr;                        // a plain TPanel
    TButton* Button6 = nullptr;
    TButton* Button5 = nullptr;
    TButton* Button7 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button13 = nullptr;
    TButton* Button11 = nullptr;
    TButton* Button18 = nullptr;
    TFFConverter* DERID = nullptr;  // never called
    TImageList* ImageList1 = nullptr;
    TImageList* ImageList2 = nullptr;
    TbsSkinPageControl* bsSkinPageControl1 = nullptr;
    TbsSkinTabSheet* bsSkinTabSheet1 = nullptr;  // "标准参数设置"
    TbsSkinTabSheet* bsSkinTabSheet2 = nullptr;  // "剪辑设置"
    TbsSkinTabSheet* 滤镜设置 = nullptr;         // the third page
    TbsSkinButton* bsSkinButton3 = nullptr;      // "取消"
    TbsSkinButton* bsSkinButton2 = nullptr;      // "确定"
    TbsSkinTextLabel* bsSkinTextLabel3 = nullptr;
    TbsSkinComboBox* bsSkinComboBox1 = nullptr;  // frame size
    TbsSkinTextLabel* bsSkinTextLabel2 = nullptr;
    TbsSkinTextLabel* bsSkinTextLabel6 = nullptr;
    TbsSkinComboBox* bsSkinComboBox2 = nullptr;  // video bit rate
    TbsSkinComboBox* bsSkinComboBox9 = nullptr;  // frame rate
    TbsSkinTextLabel* bsSkinTextLabel4 = nullptr;
    TbsSkinTextLabel* bsSkinTextLabel7 = nullptr;
    TbsSkinComboBox* bsSkinComboBox3 = nullptr;   // audio bit rate
    TbsSkinComboBox* bsSkinComboBox10 = nullptr;  // sample rate
    TbsSkinTextLabel* bsSkinTextLabel9 = nullptr;
    TbsSkinComboBox* bsSkinComboBox4 = nullptr;  // aspect
    TbsSkinTabSheet* bsSkinTabSheet3 = nullptr;  // "文字水印"
    TImage* Image1 = nullptr;

private:
    std::array<String, PresetParameterCount> ShownTexts() const;
    void BuildParameterPage();

    PresetSettings& FSettings;
    std::array<TbsSkinComboBox*, PresetParameterCount> FCombos{};  // indexed by TPresetParameter
};

// Makes the form's Panel1 (the plain panel the command buttons sit on).
TCustomControl* MakeLegacyCommandPanel(TForm6* form);

// The one legacy form, made at start-up.
extern TForm6* Form6;
