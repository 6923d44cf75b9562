// TForm5, the options dialog "选项": how a conversion run uses the processor (priority, files at
// once, live preview) and what happens around it (an existing output file, the end of the queue).
// It mirrors the [Options] section of option.ini: LoadOptions at creation, SaveOptions on "确定".
//
// Nothing is copied out of the dialog: the main window's start command and end-of-queue handler
// read its controls whenever they run, so a change applies at once. "取消" (or any close other
// than "确定") puts back the state the controls had when the dialog was shown.
#pragma once

#include <array>

#include "platform/framework/forms/forms.h"

class TButton;
class TCustomFFConverter;
class TbsSkinButton;
class TbsSkinCheckRadioBox;
class TbsSkinComboBox;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinGroupBox;
class TbsSkinPageControl;
class TbsSkinStdLabel;
class TbsSkinTabSheet;

class TForm5 : public TForm {
public:
    // ADERID: the task component whose Preview the live-preview box switches (may be nullptr).
    TForm5(TComponent* AOwner, TCustomFFConverter* ADERID);
    ~TForm5() override;

    // Dresses the frame and every skinned control with one skin model (nullptr: the plain look).
    void SetSkinData(TbsSkinData* Value);

    // Snapshots the controls, shows the dialog and restores the snapshot unless it closed by "确定".
    int ShowModal() override;

    // Reads [Options] into the controls, writing the default of any key that is missing or holds
    // an unknown value. A settings file that cannot be written leaves the controls as read.
    void LoadOptions();
    // Writes the controls into [Options]. Answers false when the file could not be written.
    bool SaveOptions();

    // ---- handlers ----
    void FormCreate(TObject* Sender);
    void Button1Click(TObject* Sender);               // LoadOptions
    void Button2Click(TObject* Sender);               // SaveOptions
    void bsSkinButton6Click(TObject* Sender);         // "确定": save, then close
    void bsSkinButton1Click(TObject* Sender);         // "取消": close
    void bsSkinCheckRadioBox7Click(TObject* Sender);  // the combo follows the multi-thread box
    void bsSkinCheckRadioBox8Click(TObject* Sender);  // the task component's live preview

    // ---- controls, as the main window reads them ----
    TbsSkinForm* bsSkinForm1;
    TbsSkinPageControl* bsSkinPageControl1;
    TbsSkinTabSheet* bsSkinTabSheet1;  // "CPU"
    TbsSkinTabSheet* bsSkinTabSheet2;  // "常规"
    TbsSkinGroupBox* bsSkinGroupBox1;  // "转换时CPU利用方式"
    TbsSkinGroupBox* bsSkinGroupBox2;  // "转换参数"
    TbsSkinGroupBox* bsSkinGroupBox3;  // "如果输出文件存在时"
    TbsSkinGroupBox* bsSkinGroupBox4;  // "转换工作完成后"
    // After the queue: open the output folder, shut down, play the sound, nothing.
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox1;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox2;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox4;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox5;
    // An existing output file: overwrite it, or rename the new one.
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox3;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox6;
    // Multi-thread mode (gates the thread count) and the live preview.
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox7;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox8;
    // Thread priority: idle, lowest, lower, normal.
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox9;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox10;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox11;
    TbsSkinCheckRadioBox* bsSkinCheckRadioBox12;
    TbsSkinComboBox* bsSkinComboBox2;  // files converted at once, "1" to "19"
    TbsSkinStdLabel* bsSkinStdLabel1;  // its label
    TbsSkinButton* bsSkinButton6;      // "确定"
    TbsSkinButton* bsSkinButton1;      // "取消"
    TButton* Button1;                  // hidden "读取ini"
    TButton* Button2;                  // hidden "写ini"

    TCustomFFConverter* DERID;

private:
    struct Snapshot;
    // The check and radio boxes by their number (index 0 unused).
    std::array<TbsSkinCheckRadioBox*, 13> NumberedBoxes() const;
    Snapshot TakeSnapshot() const;
    void RestoreSnapshot(const Snapshot& S);
    TbsSkinCheckRadioBox* NewBox(TWinControl* Parent, const String& Caption, int Left, int Top, int Width, bool Radio,
                                 int Group, bool Checked);
};

extern TForm5* Form5;
