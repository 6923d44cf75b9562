// TForm7 "选项设置": the per-file output settings dialog. A second copy of the main window's
// format panel (category and preset office combos, the six parameter combos) for the job row
// selected in the main window. Every change writes at once into the main window's current
// output settings and that row, through the commands of file_settings_commands.h; the
// handlers here only read the combos and call them.
//
// The main window creates it once at start (after itself) and opens it from "设置..." with
// ExecuteForJob; the handlers work on the settings and row given there, for that run only.
// Outside a run they write a settings record of the dialog's own and no row. The main
// window also lends the category combo its 36-pixel pictures (bsSkinOfficeComboBox2->
// SetImages) and sets OnFocusJobList.
#pragma once

#include <array>
#include <functional>

#include "app/filesettings/file_settings_commands.h"
#include "platform/framework/forms/forms.h"

class TButton;
class TbsSkinButton;
class TbsSkinComboBox;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinGroupBox;
class TbsSkinOfficeComboBox;
class TbsSkinStdLabel;

// The dialog's choices as the main window copies them in and takes them back: category,
// preset, then the six parameter indexes in ChoiceCopyOrder.
using TFileSettingsIndexes = std::array<int, 2 + PresetParameterCount>;

class TForm7 : public TForm {
public:
    // Builds the dialog and runs its creation step (the preset list of category 0, whose
    // first preset fills the parameter combos). That step writes All_Trant_Number and
    // Video_DisableVideo into AMainSettings (the main window's settings) when given.
    explicit TForm7(TComponent* AOwner, PresetSettings* AMainSettings = nullptr, TbsSkinData* ASkinData = nullptr);
    ~TForm7() override;

    // "设置...": takes a snapshot of settings and row, copies indexes into the dialog (each
    // copy runs the dialog's handler, which with a row re-applies the choice to it), shows
    // the dialog modally. "确定": the dialog's indexes go back into indexes (same order) and
    // the answer is true; the main window then sets its own combos in that order. Cancel or
    // close: settings and row are put back as they were, and the answer is false.
    bool ExecuteForJob(TFileSettingsIndexes& indexes, PresetSettings& settings, TJobRow* row,
                       const String& outputFolder, bool overwrite);

    // The dialog's choices now, in the order ExecuteForJob uses.
    TFileSettingsIndexes ChoiceIndexes() const;
    // Copies indexes into the dialog's combos in that order (each runs its handler).
    void SetChoiceIndexes(const TFileSettingsIndexes& indexes);

    // The skin model of the dialog's frame and controls (the main window's).
    void SetSkinData(TbsSkinData* ASkinData);

    // The parameter combo of a parameter.
    TbsSkinComboBox* ParameterCombo(TPresetParameter parameter) const { return FCombos[parameter]; }
    // The texts the six combos show, indexed by TPresetParameter.
    std::array<String, PresetParameterCount> ShownTexts() const;

    // Makes the main window's job list its focused control; run after a change reached the
    // row. The main window sets it.
    std::function<void()> OnFocusJobList;

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void bsSkinButton2Click(TObject* Sender);  // "确定"
    void bsSkinButton3Click(TObject* Sender);  // "取消"
    void bsSkinOfficeComboBox1Change(TObject* Sender);
    void bsSkinOfficeComboBox2Change(TObject* Sender);
    void ParameterChange(TPresetParameter parameter);  // bsSkinComboBox1/2/3/4/9/10Change
    void Button2Click(TObject* Sender);                // FillPresetList
    void Button18Click(TObject* Sender);               // FillParameterChoices
    void Button5Click(TObject* Sender);                // ApplyPresetOptions
    void Button13Click(TObject* Sender);               // ReadParameterChoices
    void Button6Click(TObject* Sender);                // ResetPresetSettings

    // ---- components ----
    TbsSkinForm* bsSkinForm1 = nullptr;
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;       // category
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;       // preset
    TbsSkinGroupBox* bsSkinGroupBox1 = nullptr;                   // "预置视频参数"
    TbsSkinGroupBox* bsSkinGroupBox2 = nullptr;                   // "预置音频参数"
    TbsSkinComboBox* bsSkinComboBox1 = nullptr;                   // frame size
    TbsSkinComboBox* bsSkinComboBox2 = nullptr;                   // video bit rate
    TbsSkinComboBox* bsSkinComboBox9 = nullptr;                   // frame rate
    TbsSkinComboBox* bsSkinComboBox4 = nullptr;                   // aspect
    TbsSkinComboBox* bsSkinComboBox3 = nullptr;                   // audio bit rate
    TbsSkinComboBox* bsSkinComboBox10 = nullptr;                  // sample rate
    std::array<TbsSkinStdLabel*, PresetParameterCount> Labels{};  // indexed by TPresetParameter
    TbsSkinButton* bsSkinButton2 = nullptr;                       // "确定"
    TbsSkinButton* bsSkinButton3 = nullptr;                       // "取消"
    // Hidden command buttons, outside the client area.
    TButton* Button2 = nullptr;
    TButton* Button18 = nullptr;
    TButton* Button5 = nullptr;
    TButton* Button13 = nullptr;
    TButton* Button6 = nullptr;

private:
    void FocusJobList();

    std::array<TbsSkinComboBox*, PresetParameterCount> FCombos{};
    // The run's settings, row, folder and overwrite choice; FOwnSettings and no row outside.
    PresetSettings FOwnSettings;
    PresetSettings* FSettings = &FOwnSettings;
    TJobRow* FRow = nullptr;
    String FOutputFolder;
    bool FOverwrite = false;
};

// The one dialog of the program, made after the main window.
extern TForm7* Form7;
