// TForm1: the program's main window. It holds the job list (one row per input file, its output
// settings in hidden columns, its engine records in one of 501 job slots), the format panel
// (category, preset and six parameter combos over the preset catalogue), the queue commands,
// the preview panel with snapshots, the menus, and the engine components DERID (tasks),
// FFPlayer (preview) and FFLogger (log).
//
// The window is built in code (main_form_layout.cpp) as its stored layout would create it;
// the handlers live in files by concern: start-up and settings (main_form.cpp), adding
// (main_form_add.cpp), editing the list (main_form_edit.cpp), the format panel
// (main_form_presets.cpp), menus and small commands (main_form_menus.cpp), the queue
// (main_form_queue.cpp) and the preview (main_form_preview.cpp). Everything runs on the UI
// thread; the engine hands its events there.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "app/job_data.h"
#include "app/presets/preset_settings.h"
#include "app/queue_outputs.h"
#include "engine/converter.h"
#include "engine/logger.h"
#include "engine/player.h"
#include "engine/task_options.h"
#include "platform/framework/forms/forms.h"

class TBitmap;
class TButton;
class TCheckBox;
class TComboBox;
class TEdit;
class TImage;
class TCustomImageList;
class TImageList;
class TLabel;
class TListBox;
class TListItem;
class TMemo;
class TMenuItem;
class TPanel;
class TSavePictureDialog;
class TStringList;
class TTrackBar;
class TbsCompressedSkinList;
class TbsPngImageList;
class TbsResourceStrData;
class TbsSelectSkinDialog;
class TbsSkinButton;
class TbsSkinComboBox;
class TbsSkinData;
class TbsSkinEdit;
class TbsSkinForm;
class TbsSkinGroupBox;
class TbsSkinHint;
class TbsSkinListView;
class TbsSkinMainMenu;
class TbsSkinMainMenuBar;
class TbsSkinMenuSpeedButton;
class TbsSkinMessage;
class TbsSkinOfficeComboBox;
class TbsSkinOpenDialog;
class TbsSkinPanel;
class TbsSkinToolBar;
class TbsSkinPopupMenu;
class TbsSkinSelectDirectoryDialog;
class TbsSkinSlider;
class TbsSkinStdLabel;

// The result of adding one file (`AddJob`).
enum TAddJobResult { ajAdded, ajSkipped, ajRefused };

class TForm1 : public TForm {
public:
    explicit TForm1(TComponent* AOwner);
    ~TForm1() override;

    // ---- components -----------------------------------------------------------------------
    TbsCompressedSkinList* bsCompressedSkinList1 = nullptr;  // the program's skin (item 0)
    TbsCompressedSkinList* bsCompressedSkinList2 = nullptr;  // the same skin for the controls
    TbsResourceStrData* bsResourceStrData1 = nullptr;        // the interface texts of both models
    TbsSkinData* bsSkinData1 = nullptr;                      // every window's skin model, the user's choice
    TbsSkinData* bsSkinData2 = nullptr;                      // the same skin for the controls naming it
    TbsSkinForm* bsSkinForm1 = nullptr;
    TbsSkinHint* bsSkinHint1 = nullptr;
    TbsSkinMainMenu* bsSkinMainMenu1 = nullptr;
    TbsSkinMainMenuBar* bsSkinMainMenuBar1 = nullptr;
    TbsSkinPopupMenu* bsSkinPopupMenu1 = nullptr;  // the "添加" button's menu
    TbsSkinPopupMenu* bsSkinPopupMenu2 = nullptr;  // the snapshot settings menu
    TbsSkinMessage* bsSkinMessage1 = nullptr;
    TbsSelectSkinDialog* bsSelectSkinDialog1 = nullptr;
    TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog1 = nullptr;  // "选择目录" (add a folder)
    TbsSkinSelectDirectoryDialog* bsSkinSelectDirectoryDialog2 = nullptr;  // "选择输出目录"
    TbsSkinOpenDialog* OpenDialog1 = nullptr;                              // one file
    TbsSkinOpenDialog* OpenDialog2 = nullptr;                              // several files
    TSavePictureDialog* SavePictureDialog1 = nullptr;
    TbsPngImageList* ImageList1 = nullptr;   // the preview buttons' glyphs (24 pixels)
    TbsPngImageList* ImageList2 = nullptr;   // the preset combo's two item pictures
    TbsPngImageList* ImageList3 = nullptr;   // the category pictures, image index = category code
    TbsPngImageList* ImageList4 = nullptr;   // the tool bar's glyphs (36 pixels), "添加" at 0
    TbsPngImageList* ImageList5 = nullptr;   // the tool bar's disabled glyphs
    TbsPngImageList* ImageList6 = nullptr;   // the job list buttons' glyphs (16 pixels), the disabled ones after them
    TbsPngImageList* ImageList7 = nullptr;   // the queue buttons' glyphs (32 pixels), the disabled ones after them
    TbsPngImageList* ImageList8 = nullptr;   // the empty job list's picture (48 pixels)
    TbsPngImageList* ImageList9 = nullptr;   // the program's picture and the idle preview screen's (80 pixels)
    TFFConverter* DERID = nullptr;
    TFFPlayer* FFPlayer = nullptr;
    TFFLogger* FFLogger = nullptr;

    // ---- main menu (bsSkinMainMenu1) --------------------------------------------------------
    TMenuItem* N1 = nullptr;      // "文件"
    TMenuItem* N2 = nullptr;      // "添加一个文件"
    TMenuItem* N3 = nullptr;      // "添加多个文件"
    TMenuItem* N21 = nullptr;     // "添加整个目录"
    TMenuItem* N4 = nullptr;      // "退出"
    TMenuItem* N6 = nullptr;      // "编辑"
    TMenuItem* N7 = nullptr;      // "上移文件"
    TMenuItem* N8 = nullptr;      // "下移文件"
    TMenuItem* N9 = nullptr;      // "删除选择"
    TMenuItem* N10 = nullptr;     // "清空文件"
    TMenuItem* N26 = nullptr;     // "重新命名"
    TMenuItem* N11 = nullptr;     // "动作"
    TMenuItem* N12 = nullptr;     // "开始转换"
    TMenuItem* N13 = nullptr;     // "停止转换"
    TMenuItem* N14 = nullptr;     // "暂停转换"
    TMenuItem* N16 = nullptr;     // "继续继续"
    TMenuItem* N24 = nullptr;     // "转换选项"
    TMenuItem* N17 = nullptr;     // "帮助"
    TMenuItem* N15 = nullptr;     // "帮助系统" (F1)
    TMenuItem* N19 = nullptr;     // "官方网站"
    TMenuItem* EMAIL1 = nullptr;  // "联系邮箱"
    TMenuItem* N5 = nullptr;      // "关于软件"
    // ---- the "添加" popup (bsSkinPopupMenu1) -----------------------------------------------
    TMenuItem* N1111 = nullptr;  // "添加一个文件"
    TMenuItem* N2222 = nullptr;  // "添加多个文件"
    TMenuItem* N3331 = nullptr;  // "添加整个目录"
    // ---- the snapshot menu (bsSkinPopupMenu2) ------------------------------------------------
    TMenuItem* MenuItem1 = nullptr;  // "打开快照目录"
    TMenuItem* MenuItem2 = nullptr;  // "设置快照目录"
    TMenuItem* MenuItem3 = nullptr;  // "快照保存类型"
    TMenuItem* BMP1 = nullptr;
    TMenuItem* JPG1 = nullptr;
    TMenuItem* GIF1 = nullptr;
    TMenuItem* PNG1 = nullptr;

    // ---- tool bar ---------------------------------------------------------------------------
    TbsSkinToolBar* bsSkinPanel2 = nullptr;                    // the tool bar
    TbsSkinMenuSpeedButton* bsSkinMenuSpeedButton1 = nullptr;  // "添加", opens bsSkinPopupMenu1
    TbsSkinButton* bsSkinButton7 = nullptr;                    // "删除"
    TbsSkinButton* bsSkinButton8 = nullptr;                    // "清空"
    TbsSkinButton* bsSkinButton19 = nullptr;                   // "选项"

    // ---- job list ---------------------------------------------------------------------------
    TbsSkinPanel* bsSkinPanel1 = nullptr;  // the job list's panel
    TbsSkinListView* lvFiles = nullptr;
    TbsSkinPanel* bsSkinPanel5 = nullptr;     // covers the empty list
    TImage* Image1 = nullptr;                 // its picture
    TbsSkinButton* bsSkinButton3 = nullptr;   // "上移"
    TbsSkinButton* bsSkinButton4 = nullptr;   // "下移"
    TbsSkinButton* bsSkinButton21 = nullptr;  // "重命名"
    TEdit* edt = nullptr;                     // the rename box

    // ---- preview ----------------------------------------------------------------------------
    TbsSkinGroupBox* bsSkinGroupBox1 = nullptr;  // "视频预览"
    TPanel* Panel6 = nullptr;                    // the player's screen
    TImage* Image18 = nullptr;                   // seen while nothing is drawn
    TbsSkinSlider* bsSkinSlider1 = nullptr;
    TbsSkinButton* bsSkinButton13 = nullptr;  // "播放"
    TbsSkinButton* bsSkinButton14 = nullptr;  // "暂停"
    TbsSkinButton* bsSkinButton15 = nullptr;  // "停止"
    TbsSkinButton* bsSkinButton16 = nullptr;  // "静音" (mute)
    TbsSkinButton* bsSkinButton20 = nullptr;  // "静音" (unmute), hidden at start
    TbsSkinButton* bsSkinButton22 = nullptr;  // "快照"
    TbsSkinButton* bsSkinButton23 = nullptr;  // "设置" (snapshot settings)
    TbsSkinButton* bsSkinButton17 = nullptr;  // "全屏", hidden

    // ---- format panel -----------------------------------------------------------------------
    TbsSkinGroupBox* bsSkinGroupBox2 = nullptr;              // the format panel
    TbsSkinStdLabel* bsSkinStdLabel1 = nullptr;              // "输出格式："
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;  // category
    TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;  // preset
    TbsSkinButton* bsSkinButton24 = nullptr;                 // "设置..."
    TbsSkinStdLabel* bsSkinStdLabel2 = nullptr;              // "输出目录："
    TbsSkinEdit* Video_OutPut_Folder_Edit = nullptr;
    TbsSkinButton* bsSkinButton5 = nullptr;  // "浏览..."
    TbsSkinButton* bsSkinButton6 = nullptr;  // "打开"

    // ---- queue buttons ----------------------------------------------------------------------
    TbsSkinPanel* bsSkinPanel3 = nullptr;
    TbsSkinButton* bsSkinButton2 = nullptr;   // "开始"
    TbsSkinButton* bsSkinButton10 = nullptr;  // "停止"
    TbsSkinButton* bsSkinButton11 = nullptr;  // "暂停"
    TbsSkinButton* bsSkinButton12 = nullptr;  // "继续", on the same spot

    // ---- outside the client area: the parameter panel "预置选项" -----------------------------
    TbsSkinGroupBox* bsSkinGroupBox3 = nullptr;
    TbsSkinComboBox* bsSkinComboBox1 = nullptr;   // frame size
    TbsSkinComboBox* bsSkinComboBox2 = nullptr;   // video bit rate
    TbsSkinComboBox* bsSkinComboBox3 = nullptr;   // audio bit rate
    TbsSkinComboBox* bsSkinComboBox4 = nullptr;   // aspect mode
    TbsSkinComboBox* bsSkinComboBox9 = nullptr;   // frame rate
    TbsSkinComboBox* bsSkinComboBox10 = nullptr;  // sample rate
    TbsSkinStdLabel* bsSkinStdLabel3 = nullptr;   // "视频分辨率："
    TbsSkinStdLabel* bsSkinStdLabel4 = nullptr;   // "视频比特率："
    TbsSkinStdLabel* bsSkinStdLabel5 = nullptr;   // "音频比特率："
    TbsSkinStdLabel* bsSkinStdLabel6 = nullptr;   // "视频缩放："
    TbsSkinStdLabel* bsSkinStdLabel7 = nullptr;   // "视频帧率："
    TbsSkinStdLabel* bsSkinStdLabel8 = nullptr;   // "音频采样率："

    // ---- outside the client area: the skin button ------------------------------------------
    TbsSkinPanel* bsSkinPanel4 = nullptr;
    TbsSkinButton* bsSkinButton9 = nullptr;  // "皮肤"
    TbsSkinButton* bsSkinButton1 = nullptr;  // "设置" (options dialog)

    // ---- outside the client area: the player's options and the log (Panel5) -----------------
    TPanel* Panel5 = nullptr;
    TTrackBar* TrackBar1 = nullptr;
    TTrackBar* TrackBar2 = nullptr;  // volume 0..128
    TCheckBox* chkOpenPaused = nullptr;
    TCheckBox* chkHook = nullptr;
    TCheckBox* chkStayOnTop = nullptr;
    TCheckBox* chkMute = nullptr;
    TCheckBox* chkThreadMode = nullptr;
    TCheckBox* chkPreview = nullptr;
    TComboBox* cboScreens = nullptr;
    TComboBox* cboVideoDriver = nullptr;
    TComboBox* cboAudioDriver = nullptr;
    TComboBox* cboVideo = nullptr;
    TComboBox* cboAudio = nullptr;
    TComboBox* cboSubtitle = nullptr;
    TLabel* Label2 = nullptr;  // duration, seconds
    TLabel* Label3 = nullptr;  // position, seconds
    TButton* btnCapture = nullptr;
    TMemo* mmoLog = nullptr;
    TListBox* ListBox1 = nullptr;  // the files of a folder being added

    // ---- outside the client area: the command buttons --------------------------------------
    TPanel* Panel1 = nullptr;
    TButton* btnAdd = nullptr;
    TButton* btnRemove = nullptr;
    TButton* btnClear = nullptr;
    TButton* btnStart = nullptr;
    TButton* btnStop = nullptr;
    TButton* btnPause = nullptr;
    TButton* btnResume = nullptr;
    TButton* btnWebSite = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;
    TButton* Button3 = nullptr;
    TButton* Button4 = nullptr;
    TButton* Button5 = nullptr;
    TButton* Button6 = nullptr;
    TButton* Button7 = nullptr;
    TButton* Button8 = nullptr;
    TButton* Button11 = nullptr;
    TButton* Button12 = nullptr;
    TButton* Button13 = nullptr;
    TButton* Button14 = nullptr;
    TButton* Button15 = nullptr;
    TButton* Button16 = nullptr;
    TButton* Button17 = nullptr;
    TButton* Button18 = nullptr;
    TButton* Button19 = nullptr;
    TButton* Button20 = nullptr;
    TButton* Button21 = nullptr;
    TButton* Button22 = nullptr;
    TButton* Button23 = nullptr;
    TButton* Button24 = nullptr;
    TButton* Button25 = nullptr;
    TButton* Button26 = nullptr;
    TButton* Button27 = nullptr;
    TButton* button28 = nullptr;
    TButton* Button29 = nullptr;
    TButton* Button31 = nullptr;

    // ---- job data ---------------------------------------------------------------------------
    // The 501 job slots: entry i of IO1 and of OO1, marked in OO1[i].AudioLanguage.
    TInputOptions IO1[JobSlotCount];
    TOutputOptions OO1[JobSlotCount];
    // The current output settings of the format panel (the `Video_` fields, All_Trant_Number).
    PresetSettings Settings;
    TOutputOptions AOO;              // spare record (Button7Click)
    String FileOutPutPath;           // the output folder
    String T_Movie_PLayer_FileName;  // the file the preview plays
    // The preview.
    String bsSkinSlider1_down_UP = L"UP";
    int64_t FDuration = 0;
    TWinControl* FScreenControl = nullptr;
    // The queue run: the row of each engine task (tasks follow the rows that could be added),
    // a run active, a stop being handled, and a run the user stopped.
    std::vector<TListItem*> FTaskRows;
    bool FQueueRunning = false;
    bool FQueueStopping = false;
    bool FQueueStopped = false;
    // The files the queue's runs wrote for the rows: a row converted again replaces its own.
    TWrittenOutputs FWrittenOutputs;
    // Notes the files task ATaskIndex of the run wrote for its row.
    void NoteWrittenOutputs(int ATaskIndex);
    // Esc in the rename box: the box closes without renaming.
    bool FRenameCancelled = false;

    // ---- start-up and settings (main_form.cpp) ---------------------------------------------
    void FormCreate(TObject* Sender);
    void Button15Click(TObject* Sender);  // all job slots free
    void Button21Click(TObject* Sender);  // SetOpenDialogFilters
    void SetOpenDialogFilters();
    void Button17Click(TObject* Sender);  // LoadOutputFolder
    void LoadOutputFolder();
    void Button16Click(TObject* Sender);  // SaveOutputFolder
    void SaveOutputFolder();
    void Button3Click(TObject* Sender);  // LoadSkinIndex
    void LoadSkinIndex();
    void Button4Click(TObject* Sender);  // SaveSkinIndex
    void SaveSkinIndex();
    // Appends one line to the log memo, dropping the oldest past LogMemoLineLimit.
    void LogLine(const String& ALine);
    // A skinned box with an OK button: information titled "提示" by default; an error (a
    // failed task, a failed start-up step) is a warning titled as the program.
    void ShowNotice(const String& AText, const String& ACaption = L"提示");
    void ShowFailure(const String& AText);
    // The "直接覆盖输出文件" choice of the options dialog.
    bool OverwriteChosen() const;

    // ---- adding (main_form_add.cpp) ---------------------------------------------------------
    void btnAddClick(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    TAddJobResult AddJob(const String& AFileName);
    // Every file (not folder) of FilePath matching ExtMask, in the order the folder lists them
    // (nullptr when the folder does not exist; the caller owns the list).
    static TStringList* GetFilenames(const String& FilePath, const String& ExtMask);
    // The same with each sub-folder's files in its place, one level deep.
    static TStringList* GetFilenamesEx(const String& FilePath, const String& ExtMask);
    static String GenerateOutputFileName(const String& AFileName, const String& AFileExt);

    // ---- editing the list (main_form_edit.cpp) ----------------------------------------------
    void bsSkinButton21Click(TObject* Sender);        // rename
    void N26Click(TObject* Sender);                   // rename
    void lvFilesDblClick(TObject* Sender);            // rename
    void edtExit(TObject* Sender);                    // finish renaming
    void edtKeyPress(TObject* Sender, wchar_t& Key);  // Enter finishes, Esc cancels
    void bsSkinButton3Click(TObject* Sender);         // move up
    void bsSkinButton4Click(TObject* Sender);         // move down
    void Button27Click(TObject* Sender);              // move up exchanging the slots at the positions
    void btnRemoveClick(TObject* Sender);
    void bsSkinButton7Click(TObject* Sender);
    void btnClearClick(TObject* Sender);
    void bsSkinButton8Click(TObject* Sender);
    void bsSkinButton24Click(TObject* Sender);  // per-file settings
    void lvFilesSelectItem(TObject* Sender, TListItem* Item, bool Selected);
    void lvFilesClick(TObject* Sender);
    void Video_OutPut_Folder_EditClick(TObject* Sender);
    void bsSkinCheckRadioBox1Click(TObject* Sender);
    void bsSkinCheckRadioBox2Click(TObject* Sender);
    void bsSkinPanel1Click(TObject* Sender);
    // The selected row, nullptr when none.
    TListItem* SelectedRow() const;
    // Remove, rename, clear and start together (each button with its picture).
    void SetJobCommandsEnabled(bool AEnabled);
    // The three add commands: the "添加" button, btnAdd and the six menu and popup items.
    void SetAddCommandsEnabled(bool AEnabled);
    // Puts the empty-list panel over the list's rows, below its column header, which stays in
    // sight; run again when the header's height may have changed (a new skin font).
    void PlaceEmptyListPanel();

    // ---- the format panel (main_form_presets.cpp) -------------------------------------------
    void bsSkinComboBox1Change(TObject* Sender);
    void bsSkinComboBox2Change(TObject* Sender);
    void bsSkinComboBox3Change(TObject* Sender);
    void bsSkinComboBox4Change(TObject* Sender);
    void bsSkinComboBox9Change(TObject* Sender);
    void bsSkinComboBox10Change(TObject* Sender);
    void bsSkinOfficeComboBox1Change(TObject* Sender);  // preset
    void bsSkinOfficeComboBox2Change(TObject* Sender);  // category
    void Button2Click(TObject* Sender);                 // FillPresetList
    void Button5Click(TObject* Sender);                 // ApplyPresetOptions
    void Button6Click(TObject* Sender);                 // ResetPresetSettings
    void Button7Click(TObject* Sender);                 // the settings into AOO
    void Button13Click(TObject* Sender);                // ReadParameterChoices
    void Button18Click(TObject* Sender);                // FillParameterChoices
    void FillPresetList();
    void FillParameterChoices();
    void ApplyPresetOptions();
    void ReadParameterChoices();
    // The combo of a parameter, and the six texts they show (by TPresetParameter).
    TbsSkinComboBox* ParameterCombo(TPresetParameter AParameter) const;
    std::array<String, PresetParameterCount> ParameterTexts() const;
    std::array<int, PresetParameterCount> ParameterIndexes() const;
    void ParameterChanged(TPresetParameter AParameter);

    // ---- menus, links, folders and skins (main_form_menus.cpp) -------------------------------
    void N21Click(TObject* Sender);
    void N2222Click(TObject* Sender);
    void N3331Click(TObject* Sender);
    void N4Click(TObject* Sender);
    void N24Click(TObject* Sender);
    void N15Click(TObject* Sender);
    void N19Click(TObject* Sender);
    void EMAIL1Click(TObject* Sender);
    void N5Click(TObject* Sender);
    void N23Click(TObject* Sender);
    void bsSkinButton19Click(TObject* Sender);
    void bsSkinButton1Click(TObject* Sender);
    void Button26Click(TObject* Sender);
    void bsSkinSpeedButton1Click(TObject* Sender);
    void bsSkinButton5Click(TObject* Sender);  // ChooseOutputFolder
    void bsSkinButton6Click(TObject* Sender);  // open the output folder
    void bsSkinButton9Click(TObject* Sender);  // ChooseSkin
    void Button1Click(TObject* Sender);        // OpenHelpFile
    void ShowOptionsDialog();
    void OpenHelpFile();
    void ChooseOutputFolder();
    void ChooseSkin();

    // ---- the queue (main_form_queue.cpp) ----------------------------------------------------
    void btnStartClick(TObject* Sender);
    void bsSkinButton2Click(TObject* Sender);
    void btnStopClick(TObject* Sender);
    void bsSkinButton10Click(TObject* Sender);
    void btnPauseClick(TObject* Sender);
    void bsSkinButton11Click(TObject* Sender);
    void btnResumeClick(TObject* Sender);
    void bsSkinButton12Click(TObject* Sender);
    void button28Click(TObject* Sender);  // rebuild the tasks from the rows
    void Button14Click(TObject* Sender);  // rebuild from the slots
    void Button20Click(TObject* Sender);  // open the output folder
    void Button22Click(TObject* Sender);  // lock the format panel
    void Button23Click(TObject* Sender);  // unlock it
    void Button25Click(TObject* Sender);  // shut down
    void Button29Click(TObject* Sender);  // completion sound
    void Button11Click(TObject* Sender);
    void Button19Click(TObject* Sender);
    void Button24Click(TObject* Sender);
    void chkPreviewClick(TObject* Sender);
    void DERIDProgress(TObject* Sender, PProgressInfo AProgressInfo);
    void DERIDTerminate(TObject* Sender, const TTerminateInfo& ATerminateInfo);
    void FFLoggerLog(TObject* Sender, uint32_t AThreadID, TLogLevel ALogLevel, const String& ALogMsg);
    void FormCloseQuery(TObject* Sender, bool& CanClose);
    bool SetPrivilege(const String& APrivilegeName, bool AEnable);
    // The row of an engine task of this run; nullptr when none (a row gone since the start).
    TListItem* TaskRow(int ATaskIndex) const;

    // ---- the preview (main_form_preview.cpp) ------------------------------------------------
    void Button31Click(TObject* Sender);
    void FFPlayerFileOpen(TObject* Sender, int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                          int& AScreenHeight);
    void FFPlayerPosition(TObject* Sender, int64_t APTS);
    void FFPlayerState(TObject* Sender, TPlayState AState);
    void FFPlayerHook(TObject* Sender, TBitmap* ABitmap, int64_t APTS);
    void bsSkinButton13Click(TObject* Sender);
    void bsSkinButton14Click(TObject* Sender);
    void bsSkinButton15Click(TObject* Sender);
    void bsSkinButton16Click(TObject* Sender);
    void bsSkinButton20Click(TObject* Sender);
    void bsSkinSlider1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void bsSkinSlider1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void bsSkinSlider1Change(TObject* Sender);
    void TrackBar1Change(TObject* Sender);
    void TrackBar2Change(TObject* Sender);
    void WMWindowPosChanged(TMessage& Message);
    void WMWindowPosChanging(TMessage& Message);
    void bsSkinButton22Click(TObject* Sender);  // snapshot
    void bsSkinButton23Click(TObject* Sender);
    void bsSkinButton23MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
    void MenuItem1Click(TObject* Sender);
    void MenuItem2Click(TObject* Sender);
    void BMP1Click(TObject* Sender);
    void JPG1Click(TObject* Sender);
    void GIF1Click(TObject* Sender);
    void PNG1Click(TObject* Sender);
    void btnCaptureClick(TObject* Sender);
    TWinControl* FindScreenControl(const String& AName) const;
    // The window the preview player draws into: Panel6's.
    TScreenHandle PreviewScreen() const;
    // The snapshot folder and picture type ("BMP", "JPG", "GIF", "PNG") from option.ini's
    // [SnapShot], missing or unusable values written back as the defaults; the folder is created
    // when missing and the type's menu item marked.
    String SnapshotFolder();
    String SnapshotType();

    // ---- skinned buttons with an enabled and a disabled picture ----------------------------
    // Sets Enabled and the matching picture, then repaints the button.
    void SetButtonEnabled(TbsSkinButton* AButton, bool AEnabled);

protected:
    void WndProc(TMessage& Message) override;

private:
    // main_form_layout.cpp: the stored layout, region by region.
    void BuildLayout();
    void BuildComponents();
    void BuildMenus();
    void BuildToolBar();
    void BuildJobList();
    void BuildPreview();
    void BuildFormatPanel();
    void BuildQueueButtons();
    void BuildHiddenPanels();
    void BuildCommandButtons();
    TbsSkinButton* NewSkinButton(TWinControl* AParent, const String& AName, const String& ACaption, int ALeft, int ATop,
                                 int AWidth, int AHeight);
    TButton* NewCommandButton(const String& AName, const String& ACaption, TNotifyEvent AOnClick);
    // A skinned button's glyph: image AIndex of AImages; while the button is disabled, image
    // ADisabledIndex (-1: AIndex) of ADisabledImages when that is given.
    void SetButtonImages(TbsSkinButton* AButton, TCustomImageList* AImages, TCustomImageList* ADisabledImages,
                         int AIndex, bool AEnabled, int ADisabledIndex = -1);
    // The enabled and disabled glyphs of the skinned buttons.
    struct TButtonImages {
        TCustomImageList* Images;
        int Index;
        TCustomImageList* DisabledImages;  // nullptr: the button keeps its glyph while disabled
        int DisabledIndex;
    };
    std::map<TbsSkinButton*, TButtonImages> FButtonImages;
    int FCommandButtonCount = 0;
    TWinControl* FCommandPanel = nullptr;
};

// The global main window (Application's first form).
extern TForm1* Form1;

// The 42 entries of the open dialogs' filter: description "|" patterns "|", in order.
String OpenFileFilter();

// The log memo keeps this many lines; older ones are dropped.
constexpr int LogMemoLineLimit = 5000;
