// The main window's stored layout, built in code in its stored order: the components (skins,
// skinned frame, menus, dialogs, engine), then the visible regions from the top (menu bar, tool
// bar, job list and preview, format panel and queue buttons), then the panels outside the
// client area (parameter combos, skin button, the player's options with the log, and the
// command buttons whose click handlers the program calls as subroutines).
#include <algorithm>
#include <memory>

#include "app/form_values.h"
#include "app/main_form.h"
#include "app/plain_panel.h"
#include "app/presets/preset_catalogue.h"
#include "app/program_icons.h"
#include "app/program_paths.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/image.h"
#include "platform/framework/controls/label.h"
#include "platform/framework/controls/list_box.h"
#include "platform/framework/controls/memo.h"
#include "platform/framework/controls/track_bar.h"
#include "platform/framework/core/files.h"
#include "platform/framework/forms/dialogs.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/office_items.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/boxes/skin_up_down.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_paint_panel.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_slider.h"
#include "skin/controls/skin_std_label.h"
#include "skin/controls/skin_tool_bar.h"
#include "skin/core/png_image_list.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "skin/default/default_skin.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "skin/dialogs/select_skin_dialog.h"
#include "skin/dialogs/skin_message.h"
#include "skin/form/main_menu_bar.h"
#include "skin/form/skin_form.h"
#include "skin/form/skin_hint.h"
#include "skin/form/skin_popup_menu.h"

namespace {

// Where the panels that the user never sees lie: right of the client area.
constexpr int OffScreenLeft = 900;
// The tool bar holds the 70-pixel "添加" button; the job list and the preview start below it.
constexpr int ToolBarHeight = 78;
constexpr int BodyTop = 22 + ToolBarHeight;

// The 42 entries of the open dialogs' filter, in order.
const wchar_t* const OpenFilterEntries[42][2] = {
    {L"所有文件格式 (*.*)", L"*.*"},
    {L"支持的视频/音频文件格式",
     L"*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;"
     L"*.TP;*.IFO;*.NSV;*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.SWF;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;"
     L"*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;"
     L"*.3gp2;*.qt"},
    {L"支持的视频文件格式",
     L"*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;"
     L"*.TP;*.IFO;*.NSV;*.SWF;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;"
     L"*.m4v;*.3gpp;*.3gp2;*.qt"},
    {L"支持的音频文件格式",
     L"*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;"
     L"*.AC3"},
    {L"AVI文件 (*.avi)", L"*.avi"},
    {L"Real视频文件格式 (*.rm;*.rmvb)", L"*.rm;*.rmvb"},
    {L"MP4视频格式 (*.mp4;*.m4v)", L"*.mp4;*.m4v"},
    {L"MPEG视频格式 (*.mpg;*.mpeg)", L"*.mpg;*.mpeg"},
    {L"DVD视频格式 (*.vob)", L"*.vob"},
    {L"VCD/SVCD视频格式 (*.dat;*.mpg)", L"*.dat;*.mpg"},
    {L"ASF微软视频格式 (*.asf)", L"*.asf"},
    {L"WMV微软视频格式 (*.wmv)", L"*.wmv"},
    {L"手机3GPP文件格式 (*.3gp;*.3gpp)", L"*.3gp;*.3gpp"},
    {L"手机3GPP2文件格式 (*.3g2;*.3gp2)", L"*.3g2;*.3gp2"},
    {L"Flash动画格式 (*.swf)", L"*.swf"},
    {L"Flash视频格式 (*.flv)", L"*.flv"},
    {L"MKV视频媒体格式 (*.mkv)", L"*.mkv"},
    {L"Quick Time视频文件格式 (*.mov;*.qt)", L"*.mov;*.qt"},
    {L"DV数字视频文件格式 (*.dv;*.dif)", L"*.dv;*.dif"},
    {L"Raw h261类型文件 (*.h261)", L"*.h261"},
    {L"Raw h264类型文件 (*.h264)", L"*.h264"},
    {L"YUV类型文件 (*.yuv)", L"*.yuv"},
    {L"GIF图片动画格式 (*.gif)", L"*.gif"},
    {L"MJPEG视频格式(*.mjpg;*.mjpeg)", L"*.mjpg;*.mjpeg"},
    {L"TS视频格式 (*.ts)", L"*.ts"},
    {L"WMV高清HD视频格式 (*.xwmv)", L"*.xwmv"},
    {L"微软数字视频格式( *.dvr-ms)", L"*.dvr-ms"},
    {L"iTunes视频格式 (*.m4v)", L"*.m4v"},
    {L"MP3音频格式 (*.mp3)", L"*.mp3"},
    {L"CD音频格式 (*.cda)", L"*.cda"},
    {L"WMA微软音频格式 (*.wma)", L"*.wma"},
    {L"WAVE音频格式 (*.wav)", L"*.wav"},
    {L"REAL音频格式 (*.ra;*.ram)", L"*.ra;*.ram"},
    {L"MP4音频格式 (*.m4a;*.mp4)", L"*.m4a;*.mp4"},
    {L"AAC高级音频格式 (*.aac)", L"*.aac"},
    {L"AC3音频格式 (*.ac3)", L"*.ac3"},
    {L"Monkey音频格式 (*.ape;*.cue)", L"*.ape;*.cue"},
    {L"Flac无损压缩音频格式　(*.flac)", L"*.flac"},
    {L"MPEG音频编码格式(*.mpa)", L"*.mpa"},
    {L"MPEG 2音频编码格式(*.mp2)", L"*.mp2"},
    {L"OGG音频编码格式(*.ogg)", L"*.ogg"},
    {L"AIFF音频编码格式(*.aif; *.aiff)", L"*.aif; *.aiff"},
};

TMenuItem* AddItem(TComponent* AOwner, TMenuItem* AParent, const String& AName, const String& ACaption,
                   TNotifyEvent AOnClick = nullptr, bool AEnabled = true)
{
    auto* item = new TMenuItem(AOwner);
    if (!AName.empty()) item->SetName(AName);
    item->SetCaption(ACaption);
    item->SetEnabled(AEnabled);
    item->OnClick = std::move(AOnClick);
    AParent->Add(item);
    return item;
}

void AddSeparator(TComponent* AOwner, TMenuItem* AParent) { AddItem(AOwner, AParent, L"", L"-"); }

// Every folder under "skins" beside the program that holds a skin.ini joins the skin list after
// the program's own skin, in name order; one that does not load is left out.
void AddSkinFolders(TbsCompressedSkinList* AList)
{
    const String root = ProgramFile(L"skins/");
    std::vector<String> folders = ListDirectories(root);
    std::sort(folders.begin(), folders.end());
    for (const String& folder : folders) {
        const String ini = root + folder + L"/skin.ini";
        if (!FileExists(ini)) continue;
        TbsSkinListItem* item = AList->Skins()->Add();
        try {
            item->Skin()->LoadFromIniFile(ini);
            item->SetName(folder);
            if (item->Description().empty()) item->SetDescription(folder);
        } catch (const std::exception&) {
            delete item;
        }
    }
}

}  // namespace

String OpenFileFilter()
{
    String filter;
    for (const auto& entry : OpenFilterEntries) filter += String(entry[0]) + L"|" + entry[1] + L"|";
    return filter;
}

void TForm1::BuildLayout()
{
    SetName(L"Form1");
    SetCaption(L"VexmoraMKV格式转换器");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poScreenCenter);
    SetClientSize(827, 489);
    Font()->SetName(L"Tahoma");
    Font()->SetHeight(13);
    BuildComponents();
    BuildMenus();
    BuildToolBar();
    BuildJobList();
    BuildPreview();
    BuildFormatPanel();
    BuildQueueButtons();
    BuildHiddenPanels();
    BuildCommandButtons();
    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnCloseQuery = [this](TObject* Sender, bool& CanClose) { FormCloseQuery(Sender, CanClose); };
}

void TForm1::BuildComponents()
{
    // A tab row that no longer fits scrolls with the skinned up-down, on every form.
    UseSkinUpDownTabScroller();
    // The program's skin, stored twice: the first model skins every window, menu, hint, box and
    // dialog and follows the user's skin choice; the second holds the same skin for the
    // controls that name it. The index is set before the list, so the list loads that skin at
    // once.
    bsCompressedSkinList1 = new TbsCompressedSkinList(this);
    bsCompressedSkinList1->SetName(L"bsCompressedSkinList1");
    FillDefaultSkinItem(*bsCompressedSkinList1->Skins()->Add());
    AddSkinFolders(bsCompressedSkinList1);
    bsCompressedSkinList2 = new TbsCompressedSkinList(this);
    bsCompressedSkinList2->SetName(L"bsCompressedSkinList2");
    FillDefaultSkinItem(*bsCompressedSkinList2->Skins()->Add());
    // The interface texts (the table's defaults, default character set), read by both models'
    // forms, menus and dialogs; assigning it tells every form that the texts changed.
    bsResourceStrData1 = new TbsResourceStrData(this);
    bsResourceStrData1->SetName(L"bsResourceStrData1");
    bsSkinData1 = new TbsSkinData(this);
    bsSkinData1->SetName(L"bsSkinData1");
    bsSkinData1->SetSkinIndex(0);
    bsSkinData1->SetSkinList(bsCompressedSkinList1);
    bsSkinData2 = new TbsSkinData(this);
    bsSkinData2->SetName(L"bsSkinData2");
    bsSkinData2->SetSkinIndex(0);
    bsSkinData2->SetSkinList(bsCompressedSkinList2);
    bsSkinData1->SetResourceStrData(bsResourceStrData1);
    bsSkinData2->SetResourceStrData(bsResourceStrData1);

    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetName(L"bsSkinForm1");
    // The client keeps its size whatever borders a skin draws.
    bsSkinForm1->SetClientWidth(827);
    bsSkinForm1->SetClientHeight(489);
    // Plain values before the skin, as a stored layout gives them: the skin applied next builds
    // the caption buttons from these icons.
    bsSkinForm1->SetBorderIcons({TbsBorderIcon::biMinimize});
    SetStoredFormValues(bsSkinForm1);
    bsSkinForm1->SetSkinData(bsSkinData1);
    bsSkinForm1->SetMenusSkinData(bsSkinData1);
    bsSkinHint1 = new TbsSkinHint(this);
    bsSkinHint1->SetName(L"bsSkinHint1");
    bsSkinHint1->SetSkinData(bsSkinData1);
    bsSkinForm1->SetSkinHint(bsSkinHint1);

    bsSkinMessage1 = new TbsSkinMessage(this);
    bsSkinMessage1->SetName(L"bsSkinMessage1");
    bsSkinMessage1->SetSkinData(bsSkinData1);
    bsSkinMessage1->SetCtrlSkinData(bsSkinData1);
    {
        TFont arial;
        arial.SetName(L"Arial");
        arial.SetHeight(14);
        bsSkinMessage1->SetDefaultFont(&arial);
        bsSkinMessage1->SetDefaultButtonFont(&arial);
        bsSkinMessage1->SetButtonSkinDataName(L"button");
        bsSkinMessage1->SetMessageLabelSkinDataName(L"stdlabel");
        bsSkinMessage1->SetUseSkinFont(true);
        bsSkinMessage1->SetAlphaBlendValue(200);
        bsSkinMessage1->SetShowAgainFlag(false);
    }
    bsSelectSkinDialog1 = new TbsSelectSkinDialog(this);
    bsSelectSkinDialog1->SetName(L"bsSelectSkinDialog1");
    bsSelectSkinDialog1->SetTitle(L"Select skin");
    bsSelectSkinDialog1->SetSkinList(bsCompressedSkinList1);
    bsSelectSkinDialog1->SetSkinData(bsSkinData1);
    bsSelectSkinDialog1->SetCtrlSkinData(bsSkinData1);
    auto openDialog = [this](const String& AName, bool AMany) {
        auto* d = new TbsSkinOpenDialog(this);
        d->SetName(AName);
        d->SetTitle(L"打开文件");
        d->SetSkinData(bsSkinData1);
        d->SetCtrlSkinData(bsSkinData1);
        d->SetCheckFileExists(true);
        d->SetMultiSelection(AMany);
        d->SetFilterIndex(1);
        return d;
    };
    auto folderDialog = [this](const String& AName, const String& ATitle) {
        auto* d = new TbsSkinSelectDirectoryDialog(this);
        d->SetName(AName);
        d->SetTitle(ATitle);
        d->SetSkinData(bsSkinData1);
        d->SetCtrlSkinData(bsSkinData1);
        return d;
    };
    bsSkinSelectDirectoryDialog1 = folderDialog(L"bsSkinSelectDirectoryDialog1", L"选择目录");
    bsSkinSelectDirectoryDialog2 = folderDialog(L"bsSkinSelectDirectoryDialog2", L"选择输出目录");
    OpenDialog1 = openDialog(L"OpenDialog1", false);
    OpenDialog2 = openDialog(L"OpenDialog2", true);
    SavePictureDialog1 = new TSavePictureDialog(this);
    SavePictureDialog1->SetName(L"SavePictureDialog1");

    // The buttons' glyphs: each list's image index order is the one the buttons below use; the
    // buttons that change state wear the grey twin list while disabled.
    ImageList1 = NewProgramImageList(this, L"ImageList1", 24,
                                     {"preview_play", "preview_pause", "preview_stop", "preview_mute",
                                      "preview_unmute", "preview_snapshot", "preview_settings", "preview_full"});
    ImageList2 = NewPresetImageList(this, L"ImageList2");
    ImageList3 = NewCategoryImageList(this, L"ImageList3");
    ImageList4 = NewProgramImageList(this, L"ImageList4", 36, {"tool_add", "tool_remove", "tool_clear", "tool_options"});
    ImageList5 = NewProgramImageList(this, L"ImageList5", 36,
                                     {"tool_add_off", "tool_remove_off", "tool_clear_off", "tool_options_off"});
    // The job list's and the queue's buttons find their grey twins after their own glyphs.
    ImageList6 = NewProgramImageList(this, L"ImageList6", 16,
                                     {"job_up", "job_down", "job_rename", "job_up_off", "job_down_off", "job_rename_off"});
    ImageList7 = NewProgramImageList(this, L"ImageList7", 32,
                                     {"queue_start", "queue_stop", "queue_pause", "queue_resume", "queue_start_off",
                                      "queue_stop_off", "queue_pause_off", "queue_resume_off"});
    // The larger pictures: the empty job list's, the about box's and the idle preview screen's.
    ImageList8 = NewProgramImageList(this, L"ImageList8", 48, {"list_empty"});
    ImageList9 = NewProgramImageList(this, L"ImageList9", 80, {"program_picture", "screen_idle"});

    DERID = new TFFConverter(this);
    DERID->SetName(L"DERID");
    DERID->SetOnProgress([this](TObject* Sender, PProgressInfo Info) { DERIDProgress(Sender, Info); });
    DERID->SetOnTerminate([this](TObject* Sender, const TTerminateInfo& Info) { DERIDTerminate(Sender, Info); });
    FFPlayer = new TFFPlayer(this);
    FFPlayer->SetName(L"FFPlayer");
    FFPlayer->OnFileOpen = [this](TObject* Sender, int64_t ADuration, int AWidth, int AHeight, int& AScreenWidth,
                                  int& AScreenHeight) {
        FFPlayerFileOpen(Sender, ADuration, AWidth, AHeight, AScreenWidth, AScreenHeight);
    };
    FFPlayer->OnPosition = [this](TObject* Sender, int64_t APTS) { FFPlayerPosition(Sender, APTS); };
    FFPlayer->OnState = [this](TObject* Sender, TPlayState AState) { FFPlayerState(Sender, AState); };
    FFPlayer->OnHook = [this](TObject* Sender, TBitmap* ABitmap, int64_t APTS) { FFPlayerHook(Sender, ABitmap, APTS); };
    FFLogger = new TFFLogger(this);
    FFLogger->SetName(L"FFLogger");
    FFLogger->SetOnLog([this](TObject* Sender, uint32_t AThreadID, TLogLevel ALevel, const String& AMsg) {
        FFLoggerLog(Sender, AThreadID, ALevel, AMsg);
    });
}

void TForm1::BuildMenus()
{
    auto click = [this](void (TForm1::*AHandler)(TObject*)) -> TNotifyEvent {
        return [this, AHandler](TObject* Sender) { (this->*AHandler)(Sender); };
    };
    bsSkinMainMenu1 = new TbsSkinMainMenu(this);
    bsSkinMainMenu1->SetName(L"bsSkinMainMenu1");
    TMenuItem* root = bsSkinMainMenu1->Items();
    N1 = AddItem(this, root, L"N1", L"文件");
    N2 = AddItem(this, N1, L"N2", L"添加一个文件", click(&TForm1::btnAddClick));
    N3 = AddItem(this, N1, L"N3", L"添加多个文件", click(&TForm1::Button8Click));
    N21 = AddItem(this, N1, L"N21", L"添加整个目录", click(&TForm1::N21Click));
    AddSeparator(this, N1);
    N4 = AddItem(this, N1, L"N4", L"退出", click(&TForm1::N4Click));
    N6 = AddItem(this, root, L"N6", L"编辑");
    N7 = AddItem(this, N6, L"N7", L"上移文件", click(&TForm1::bsSkinButton3Click));
    N8 = AddItem(this, N6, L"N8", L"下移文件", click(&TForm1::bsSkinButton4Click));
    AddSeparator(this, N6);
    N9 = AddItem(this, N6, L"N9", L"删除选择", click(&TForm1::bsSkinButton7Click), false);
    N10 = AddItem(this, N6, L"N10", L"清空文件", click(&TForm1::bsSkinButton8Click), false);
    AddSeparator(this, N6);
    N26 = AddItem(this, N6, L"N26", L"重新命名", click(&TForm1::N26Click), false);
    N11 = AddItem(this, root, L"N11", L"动作");
    N12 = AddItem(this, N11, L"N12", L"开始转换", click(&TForm1::bsSkinButton2Click), false);
    N13 = AddItem(this, N11, L"N13", L"停止转换", click(&TForm1::bsSkinButton10Click), false);
    AddSeparator(this, N11);
    N14 = AddItem(this, N11, L"N14", L"暂停转换", click(&TForm1::bsSkinButton11Click), false);
    N16 = AddItem(this, N11, L"N16", L"继续继续", click(&TForm1::bsSkinButton12Click), false);
    AddSeparator(this, N11);
    N24 = AddItem(this, N11, L"N24", L"转换选项", click(&TForm1::N24Click));
    N17 = AddItem(this, root, L"N17", L"帮助");
    N15 = AddItem(this, N17, L"N15", L"帮助系统", click(&TForm1::N15Click));
    N15->SetShortCut(ShortCut(VK_F1, {}));
    AddSeparator(this, N17);
    N19 = AddItem(this, N17, L"N19", L"官方网站", click(&TForm1::N19Click));
    EMAIL1 = AddItem(this, N17, L"EMAIL1", L"联系邮箱", click(&TForm1::EMAIL1Click));
    N5 = AddItem(this, N17, L"N5", L"关于软件", click(&TForm1::N5Click));

    bsSkinPopupMenu1 = new TbsSkinPopupMenu(this);
    bsSkinPopupMenu1->SetName(L"bsSkinPopupMenu1");
    bsSkinPopupMenu1->SetSkinData(bsSkinData1);
    N1111 = AddItem(this, bsSkinPopupMenu1->Items(), L"N1111", L"添加一个文件", click(&TForm1::btnAddClick));
    N2222 = AddItem(this, bsSkinPopupMenu1->Items(), L"N2222", L"添加多个文件", click(&TForm1::N2222Click));
    N3331 = AddItem(this, bsSkinPopupMenu1->Items(), L"N3331", L"添加整个目录", click(&TForm1::N3331Click));

    bsSkinPopupMenu2 = new TbsSkinPopupMenu(this);
    bsSkinPopupMenu2->SetName(L"bsSkinPopupMenu2");
    bsSkinPopupMenu2->SetSkinData(bsSkinData1);
    MenuItem1 = AddItem(this, bsSkinPopupMenu2->Items(), L"MenuItem1", L"打开快照目录", click(&TForm1::MenuItem1Click));
    MenuItem2 = AddItem(this, bsSkinPopupMenu2->Items(), L"MenuItem2", L"设置快照目录", click(&TForm1::MenuItem2Click));
    MenuItem3 = AddItem(this, bsSkinPopupMenu2->Items(), L"MenuItem3", L"快照保存类型");
    BMP1 = AddItem(this, MenuItem3, L"BMP1", L"BMP文件", click(&TForm1::BMP1Click));
    JPG1 = AddItem(this, MenuItem3, L"JPG1", L"JPG文件", click(&TForm1::JPG1Click));
    GIF1 = AddItem(this, MenuItem3, L"GIF1", L"GIF文件", click(&TForm1::GIF1Click));
    PNG1 = AddItem(this, MenuItem3, L"PNG1", L"PNG文件", click(&TForm1::PNG1Click));
    for (TMenuItem* item : {BMP1, JPG1, GIF1, PNG1}) {
        item->SetRadioItem(true);
        item->SetGroupIndex(1);
    }
    BMP1->SetChecked(true);

    bsSkinMainMenuBar1 = new TbsSkinMainMenuBar(this);
    bsSkinMainMenuBar1->SetName(L"bsSkinMainMenuBar1");
    bsSkinMainMenuBar1->SetParent(this);
    bsSkinMainMenuBar1->SetAlign(alTop);
    bsSkinMainMenuBar1->SetSkinData(bsSkinData1);
    bsSkinMainMenuBar1->SetSkinForm(bsSkinForm1);
    bsSkinMainMenuBar1->SetMainMenu(bsSkinMainMenu1);
    bsSkinForm1->SetMainMenuBar(bsSkinMainMenuBar1);
}

TbsSkinButton* TForm1::NewSkinButton(TWinControl* AParent, const String& AName, const String& ACaption, int ALeft,
                                     int ATop, int AWidth, int AHeight)
{
    auto* b = new TbsSkinButton(this);
    b->SetName(AName);
    b->SetParent(AParent);
    b->SetSkinData(bsSkinData1);
    b->SetSkinDataName(L"button");
    b->SetCaption(ACaption);
    b->SetBounds(ALeft, ATop, AWidth, AHeight);
    return b;
}

void TForm1::BuildToolBar()
{
    bsSkinPanel2 = new TbsSkinToolBar(this);
    bsSkinPanel2->SetName(L"bsSkinPanel2");
    bsSkinPanel2->SetParent(this);
    bsSkinPanel2->SetSkinData(bsSkinData1);
    bsSkinPanel2->SetSkinDataName(L"toolpanel");
    bsSkinPanel2->SetCaption(L"");
    bsSkinPanel2->SetAdjustControls(true);
    bsSkinPanel2->SetImages(ImageList4);
    bsSkinPanel2->SetDisabledImages(ImageList5);
    bsSkinPanel2->SetBounds(0, 22, 827, ToolBarHeight);

    bsSkinMenuSpeedButton1 = new TbsSkinMenuSpeedButton(this);
    bsSkinMenuSpeedButton1->SetName(L"bsSkinMenuSpeedButton1");
    bsSkinMenuSpeedButton1->SetParent(bsSkinPanel2);
    bsSkinMenuSpeedButton1->SetSkinData(bsSkinData1);
    bsSkinMenuSpeedButton1->SetSkinDataName(L"resizetoolbutton");
    bsSkinMenuSpeedButton1->SetFlat(true);
    bsSkinMenuSpeedButton1->SetTransparent(true);
    bsSkinMenuSpeedButton1->SetSpacing(1);
    bsSkinMenuSpeedButton1->SetCaption(L"添加");
    bsSkinMenuSpeedButton1->Font()->SetName(L"Arial");
    bsSkinMenuSpeedButton1->Font()->SetHeight(14);
    bsSkinMenuSpeedButton1->SetImageIndex(0);  // the tool bar's list
    bsSkinMenuSpeedButton1->SetBounds(6, 4, 108, 70);
    bsSkinMenuSpeedButton1->SetSkinPopupMenu(bsSkinPopupMenu1);
    bsSkinMenuSpeedButton1->SetPopupMenu(bsSkinPopupMenu1);

    bsSkinButton7 = NewSkinButton(bsSkinPanel2, L"bsSkinButton7", L"删除", 118, 4, 84, 70);
    bsSkinButton7->SetSkinDataName(L"toolbutton");
    bsSkinButton7->OnClick = [this](TObject* Sender) { bsSkinButton7Click(Sender); };
    SetButtonImages(bsSkinButton7, ImageList4, ImageList5, 1, false);
    bsSkinButton8 = NewSkinButton(bsSkinPanel2, L"bsSkinButton8", L"清空", 206, 4, 84, 70);
    bsSkinButton8->SetSkinDataName(L"toolbutton");
    bsSkinButton8->OnClick = [this](TObject* Sender) { bsSkinButton8Click(Sender); };
    SetButtonImages(bsSkinButton8, ImageList4, ImageList5, 2, false);
    bsSkinButton19 = NewSkinButton(bsSkinPanel2, L"bsSkinButton19", L"选项", 294, 4, 84, 70);
    bsSkinButton19->SetSkinDataName(L"toolbutton");
    bsSkinButton19->OnClick = [this](TObject* Sender) { bsSkinButton19Click(Sender); };
    SetButtonImages(bsSkinButton19, ImageList4, ImageList5, 3, true);
}

void TForm1::SetButtonImages(TbsSkinButton* AButton, TCustomImageList* AImages, TCustomImageList* ADisabledImages,
                             int AIndex, bool AEnabled, int ADisabledIndex)
{
    FButtonImages[AButton] = {AImages, AIndex, ADisabledImages, ADisabledIndex < 0 ? AIndex : ADisabledIndex};
    const bool disabled = !AEnabled && ADisabledImages;
    AButton->SetImageList(disabled ? ADisabledImages : AImages);
    AButton->SetImageIndex(disabled ? FButtonImages[AButton].DisabledIndex : AIndex);
    AButton->SetEnabled(AEnabled);
}

void TForm1::BuildJobList()
{
    bsSkinPanel1 = new TbsSkinPanel(this);
    bsSkinPanel1->SetName(L"bsSkinPanel1");
    bsSkinPanel1->SetParent(this);
    bsSkinPanel1->SetSkinData(bsSkinData1);
    bsSkinPanel1->SetSkinDataName(L"panel");
    bsSkinPanel1->SetCaption(L"");
    bsSkinPanel1->SetBounds(0, BodyTop, 520, 356 - BodyTop);
    bsSkinPanel1->OnClick = [this](TObject* Sender) { bsSkinPanel1Click(Sender); };

    lvFiles = new TbsSkinListView(this);
    lvFiles->SetName(L"lvFiles");
    lvFiles->SetParent(bsSkinPanel1);
    lvFiles->SetSkinData(bsSkinData1);
    lvFiles->SetSkinDataName(L"listview");
    lvFiles->SetBounds(6, 6, 508, 208);
    lvFiles->SetViewStyle(vsReport);
    lvFiles->SetReadOnly(true);
    lvFiles->SetRowSelect(true);
    lvFiles->SetGridLines(true);
    lvFiles->SetMultiSelect(false);
    lvFiles->SetHideSelection(false);
    for (const TJobColumn& c : JobColumns) {
        TListColumn* column = lvFiles->Columns()->Add();
        column->SetCaption(c.Caption);
        column->SetWidth(c.Width);
        if (c.Width == 0) column->SetMaxWidth(1);
    }
    lvFiles->OnSelectItem = [this](TObject* Sender, TListItem* Item, bool Selected) {
        lvFilesSelectItem(Sender, Item, Selected);
    };
    lvFiles->OnClick = [this](TObject* Sender) { lvFilesClick(Sender); };
    lvFiles->OnDblClick = [this](TObject* Sender) { lvFilesDblClick(Sender); };

    // Covers the list's rows while it is empty; the column header stays visible above it.
    bsSkinPanel5 = new TbsSkinPanel(this);
    bsSkinPanel5->SetName(L"bsSkinPanel5");
    bsSkinPanel5->SetParent(bsSkinPanel1);
    bsSkinPanel5->SetSkinData(bsSkinData1);
    bsSkinPanel5->SetSkinDataName(L"panel");
    bsSkinPanel5->SetCaption(L"请点击“添加”按钮添加需要转换的视频或音频文件");
    bsSkinPanel5->OnClick = [this](TObject* Sender) { bsSkinPanel1Click(Sender); };
    Image1 = new TImage(this);
    Image1->SetName(L"Image1");
    Image1->SetParent(bsSkinPanel5);
    PlaceEmptyListPanel();

    bsSkinButton3 = NewSkinButton(bsSkinPanel1, L"bsSkinButton3", L"", 6, 220, 30, 28);
    bsSkinButton3->SetHint(L"上移");
    bsSkinButton3->SetShowHint(true);
    bsSkinButton3->OnClick = [this](TObject* Sender) { bsSkinButton3Click(Sender); };
    SetButtonImages(bsSkinButton3, ImageList6, ImageList6, 0, true, 3);
    bsSkinButton4 = NewSkinButton(bsSkinPanel1, L"bsSkinButton4", L"", 40, 220, 30, 28);
    bsSkinButton4->SetHint(L"下移");
    bsSkinButton4->SetShowHint(true);
    bsSkinButton4->OnClick = [this](TObject* Sender) { bsSkinButton4Click(Sender); };
    SetButtonImages(bsSkinButton4, ImageList6, ImageList6, 1, true, 4);
    bsSkinButton21 = NewSkinButton(bsSkinPanel1, L"bsSkinButton21", L"", 74, 220, 30, 28);
    bsSkinButton21->SetHint(L"重命名");
    bsSkinButton21->SetShowHint(true);
    bsSkinButton21->OnClick = [this](TObject* Sender) { bsSkinButton21Click(Sender); };
    SetButtonImages(bsSkinButton21, ImageList6, ImageList6, 2, false, 5);

    // The rename box: a child of the list while a name is edited.
    edt = new TEdit(this);
    edt->SetName(L"edt");
    edt->SetParent(bsSkinPanel1);
    edt->SetBorderStyle(bsNone);
    edt->SetText(L"");
    edt->SetVisible(false);
    edt->OnExit = [this](TObject* Sender) { edtExit(Sender); };
    edt->OnKeyPress = [this](TObject* Sender, wchar_t& Key) { edtKeyPress(Sender, Key); };
}

void TForm1::BuildPreview()
{
    bsSkinGroupBox1 = new TbsSkinGroupBox(this);
    bsSkinGroupBox1->SetName(L"bsSkinGroupBox1");
    bsSkinGroupBox1->SetParent(this);
    bsSkinGroupBox1->SetSkinData(bsSkinData1);
    bsSkinGroupBox1->SetSkinDataName(L"groupbox");
    bsSkinGroupBox1->SetCaption(L"视频预览");
    bsSkinGroupBox1->SetBounds(522, BodyTop, 305, 356 - BodyTop);

    TWinControl* screen = NewPlainPanel(this, bsSkinGroupBox1, L"Panel6", 8, 24, 289, 160, 0x000000, &Panel6);
    // The player draws into the panel's window and does not hear that it was uncovered: the
    // panel's paint asks it to draw the paused picture again.
    screen->SetWindowProc([this, panelProc = screen->WindowProc()](TMessage& M) {
        if (M.Msg == WM_PAINT && FFPlayer && !(ComponentState() & csDestroying)) FFPlayer->HostWindowExposed();
        panelProc(M);
    });
    Image18 = new TImage(this);
    Image18->SetName(L"Image18");
    Image18->SetParent(screen);
    Image18->SetAlign(alClient);
    // The idle screen's picture, centred on the screen's black.
    Image18->SetCenter(true);
    TBitmap* idle = Image18->Picture()->Bitmap();
    idle->SetSize(ImageList9->Width(), ImageList9->Height());
    idle->Canvas()->Brush()->SetColor(TColor(0x000000));
    idle->Canvas()->FillRect(Rect(0, 0, idle->Width(), idle->Height()));
    ImageList9->Draw(idle->Canvas(), 0, 0, 1);

    bsSkinSlider1 = new TbsSkinSlider(this);
    bsSkinSlider1->SetName(L"bsSkinSlider1");
    bsSkinSlider1->SetParent(bsSkinGroupBox1);
    bsSkinSlider1->SetSkinData(bsSkinData1);
    bsSkinSlider1->SetSkinDataName(L"slider");
    bsSkinSlider1->SetBounds(8, 188, 289, 24);
    bsSkinSlider1->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        bsSkinSlider1MouseDown(Sender, Button, Shift, X, Y);
    };
    bsSkinSlider1->OnMouseUp = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        bsSkinSlider1MouseUp(Sender, Button, Shift, X, Y);
    };
    bsSkinSlider1->OnChange = [this](TObject* Sender) { bsSkinSlider1Change(Sender); };

    struct TPreviewButton {
        TbsSkinButton** Field;
        const wchar_t* Name;
        const wchar_t* Hint;
        int Image;  // in the preview's list
        int Left;
        void (TForm1::*Handler)(TObject*);
    };
    const TPreviewButton buttons[] = {
        {&bsSkinButton13, L"bsSkinButton13", L"播放", 0, 8, &TForm1::bsSkinButton13Click},
        {&bsSkinButton14, L"bsSkinButton14", L"暂停", 1, 42, &TForm1::bsSkinButton14Click},
        {&bsSkinButton15, L"bsSkinButton15", L"停止", 2, 76, &TForm1::bsSkinButton15Click},
        {&bsSkinButton16, L"bsSkinButton16", L"静音", 3, 110, &TForm1::bsSkinButton16Click},
        {&bsSkinButton20, L"bsSkinButton20", L"静音", 4, 110, &TForm1::bsSkinButton20Click},
        {&bsSkinButton22, L"bsSkinButton22", L"快照", 5, 233, &TForm1::bsSkinButton22Click},
        {&bsSkinButton23, L"bsSkinButton23", L"设置", 6, 267, &TForm1::bsSkinButton23Click},
        {&bsSkinButton17, L"bsSkinButton17", L"全屏", 7, 144, nullptr},
    };
    for (const TPreviewButton& p : buttons) {
        TbsSkinButton* b = NewSkinButton(bsSkinGroupBox1, p.Name, L"", p.Left, 218, 30, 30);
        b->SetHint(p.Hint);
        b->SetShowHint(true);
        SetButtonImages(b, ImageList1, nullptr, p.Image, true);
        if (p.Handler) {
            auto handler = p.Handler;
            b->OnClick = [this, handler](TObject* Sender) { (this->*handler)(Sender); };
        }
        *p.Field = b;
    }
    bsSkinButton20->SetVisible(false);
    bsSkinButton17->SetVisible(false);
    bsSkinButton23->SetPopupMenu(bsSkinPopupMenu2);
    bsSkinButton23->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y) {
        bsSkinButton23MouseDown(Sender, Button, Shift, X, Y);
    };
}

void TForm1::BuildFormatPanel()
{
    bsSkinGroupBox2 = new TbsSkinGroupBox(this);
    bsSkinGroupBox2->SetName(L"bsSkinGroupBox2");
    bsSkinGroupBox2->SetParent(this);
    bsSkinGroupBox2->SetSkinData(bsSkinData1);
    bsSkinGroupBox2->SetSkinDataName(L"groupbox");
    bsSkinGroupBox2->SetCaption(L"输出设置");
    bsSkinGroupBox2->SetBounds(0, 356, 620, 133);

    auto label = [this](const String& AName, const String& ACaption, int ALeft, int ATop) {
        auto* l = new TbsSkinStdLabel(this);
        l->SetName(AName);
        l->SetParent(bsSkinGroupBox2);
        l->SetSkinData(bsSkinData1);
        l->SetSkinDataName(L"stdlabel");
        l->SetCaption(ACaption);
        l->SetBounds(ALeft, ATop, 66, 16);
        return l;
    };
    bsSkinStdLabel1 = label(L"bsSkinStdLabel1", L"输出格式：", 10, 36);
    bsSkinOfficeComboBox2 = new TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox2->SetName(L"bsSkinOfficeComboBox2");
    bsSkinOfficeComboBox2->SetParent(bsSkinGroupBox2);
    bsSkinOfficeComboBox2->SetSkinData(bsSkinData1);
    bsSkinOfficeComboBox2->SetSkinDataName(L"combobox");
    bsSkinOfficeComboBox2->SetBounds(80, 32, 150, 24);
    for (const TPresetCategory& category : CategoryTable) {
        TbsSkinOfficeItem* item = bsSkinOfficeComboBox2->Items()->Add();
        item->SetCaption(category.Caption);
        item->SetImageIndex(category.CategoryCode);
    }
    bsSkinOfficeComboBox2->SetImages(ImageList3);
    bsSkinOfficeComboBox2->SetItemIndex(0);
    bsSkinOfficeComboBox2->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox2Change(Sender); };

    bsSkinOfficeComboBox1 = new TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox1->SetName(L"bsSkinOfficeComboBox1");
    bsSkinOfficeComboBox1->SetParent(bsSkinGroupBox2);
    bsSkinOfficeComboBox1->SetSkinData(bsSkinData1);
    bsSkinOfficeComboBox1->SetSkinDataName(L"combobox");
    bsSkinOfficeComboBox1->SetImages(ImageList2);
    bsSkinOfficeComboBox1->SetBounds(236, 32, 246, 24);
    bsSkinOfficeComboBox1->OnChange = [this](TObject* Sender) { bsSkinOfficeComboBox1Change(Sender); };

    bsSkinButton24 = NewSkinButton(bsSkinGroupBox2, L"bsSkinButton24", L"设置...", 488, 32, 122, 25);
    bsSkinButton24->OnClick = [this](TObject* Sender) { bsSkinButton24Click(Sender); };

    bsSkinStdLabel2 = label(L"bsSkinStdLabel2", L"输出目录：", 10, 80);
    Video_OutPut_Folder_Edit = new TbsSkinEdit(this);
    Video_OutPut_Folder_Edit->SetName(L"Video_OutPut_Folder_Edit");
    Video_OutPut_Folder_Edit->SetParent(bsSkinGroupBox2);
    Video_OutPut_Folder_Edit->SetSkinData(bsSkinData1);
    Video_OutPut_Folder_Edit->SetSkinDataName(L"edit");
    Video_OutPut_Folder_Edit->SetReadOnly(true);
    Video_OutPut_Folder_Edit->SetBounds(80, 76, 402, 22);
    Video_OutPut_Folder_Edit->OnClick = [this](TObject* Sender) { Video_OutPut_Folder_EditClick(Sender); };
    bsSkinButton5 = NewSkinButton(bsSkinGroupBox2, L"bsSkinButton5", L"浏览...", 488, 75, 60, 25);
    bsSkinButton5->OnClick = [this](TObject* Sender) { bsSkinButton5Click(Sender); };
    bsSkinButton6 = NewSkinButton(bsSkinGroupBox2, L"bsSkinButton6", L"打开", 552, 75, 58, 25);
    bsSkinButton6->OnClick = [this](TObject* Sender) { bsSkinButton6Click(Sender); };
}

void TForm1::BuildQueueButtons()
{
    bsSkinPanel3 = new TbsSkinPanel(this);
    bsSkinPanel3->SetName(L"bsSkinPanel3");
    bsSkinPanel3->SetParent(this);
    bsSkinPanel3->SetSkinData(bsSkinData1);
    bsSkinPanel3->SetSkinDataName(L"panel");
    bsSkinPanel3->SetCaption(L"");
    bsSkinPanel3->SetBounds(622, 356, 205, 133);
    bsSkinButton2 = NewSkinButton(bsSkinPanel3, L"bsSkinButton2", L"开始", 10, 14, 90, 44);
    bsSkinButton2->OnClick = [this](TObject* Sender) { bsSkinButton2Click(Sender); };
    SetButtonImages(bsSkinButton2, ImageList7, ImageList7, 0, false, 4);
    bsSkinButton10 = NewSkinButton(bsSkinPanel3, L"bsSkinButton10", L"停止", 105, 14, 90, 44);
    bsSkinButton10->OnClick = [this](TObject* Sender) { bsSkinButton10Click(Sender); };
    SetButtonImages(bsSkinButton10, ImageList7, ImageList7, 1, false, 5);
    bsSkinButton11 = NewSkinButton(bsSkinPanel3, L"bsSkinButton11", L"暂停", 10, 72, 90, 44);
    bsSkinButton11->OnClick = [this](TObject* Sender) { bsSkinButton11Click(Sender); };
    SetButtonImages(bsSkinButton11, ImageList7, ImageList7, 2, false, 6);
    bsSkinButton12 = NewSkinButton(bsSkinPanel3, L"bsSkinButton12", L"继续", 10, 72, 90, 44);
    bsSkinButton12->OnClick = [this](TObject* Sender) { bsSkinButton12Click(Sender); };
    SetButtonImages(bsSkinButton12, ImageList7, ImageList7, 3, false, 7);
    bsSkinButton12->SetVisible(false);
}

void TForm1::BuildHiddenPanels()
{
    // "预置选项": the six parameter combos.
    bsSkinGroupBox3 = new TbsSkinGroupBox(this);
    bsSkinGroupBox3->SetName(L"bsSkinGroupBox3");
    bsSkinGroupBox3->SetParent(this);
    bsSkinGroupBox3->SetSkinData(bsSkinData1);
    bsSkinGroupBox3->SetSkinDataName(L"groupbox");
    bsSkinGroupBox3->SetCaption(L"预置选项");
    bsSkinGroupBox3->SetBounds(OffScreenLeft, 0, 420, 130);
    struct TParameterBox {
        TbsSkinComboBox** Field;
        TbsSkinStdLabel** LabelField;
        const wchar_t* Name;
        const wchar_t* LabelName;
        const wchar_t* Caption;
        TPresetParameter Parameter;
    };
    const TParameterBox boxes[] = {
        {&bsSkinComboBox1, &bsSkinStdLabel3, L"bsSkinComboBox1", L"bsSkinStdLabel3", L"视频分辨率：", ppFrameSize},
        {&bsSkinComboBox2, &bsSkinStdLabel4, L"bsSkinComboBox2", L"bsSkinStdLabel4", L"视频比特率：", ppVideoBitrate},
        {&bsSkinComboBox3, &bsSkinStdLabel5, L"bsSkinComboBox3", L"bsSkinStdLabel5", L"音频比特率：", ppAudioBitrate},
        {&bsSkinComboBox4, &bsSkinStdLabel6, L"bsSkinComboBox4", L"bsSkinStdLabel6", L"视频缩放：", ppAspectMode},
        {&bsSkinComboBox9, &bsSkinStdLabel7, L"bsSkinComboBox9", L"bsSkinStdLabel7", L"视频帧率：", ppFrameRate},
        {&bsSkinComboBox10, &bsSkinStdLabel8, L"bsSkinComboBox10", L"bsSkinStdLabel8", L"音频采样率：", ppSampleRate},
    };
    for (int i = 0; i < 6; ++i) {
        const TParameterBox& p = boxes[i];
        const int left = 10 + (i % 2) * 205, top = 24 + (i / 2) * 34;
        auto* l = new TbsSkinStdLabel(this);
        l->SetName(p.LabelName);
        l->SetParent(bsSkinGroupBox3);
        l->SetSkinData(bsSkinData1);
        l->SetSkinDataName(L"stdlabel");
        l->SetCaption(p.Caption);
        l->SetBounds(left, top + 4, 72, 16);
        *p.LabelField = l;
        auto* c = new TbsSkinComboBox(this);
        c->SetName(p.Name);
        c->SetParent(bsSkinGroupBox3);
        c->SetSkinData(bsSkinData1);
        c->SetSkinDataName(L"combobox");
        c->SetBounds(left + 76, top, 120, 22);
        const TPresetParameter parameter = p.Parameter;
        c->OnChange = [this, parameter](TObject*) { ParameterChanged(parameter); };
        *p.Field = c;
    }

    // The skin button and the hidden options button.
    bsSkinPanel4 = new TbsSkinPanel(this);
    bsSkinPanel4->SetName(L"bsSkinPanel4");
    bsSkinPanel4->SetParent(this);
    bsSkinPanel4->SetSkinData(bsSkinData1);
    bsSkinPanel4->SetCaption(L"");
    bsSkinPanel4->SetBounds(OffScreenLeft, 140, 200, 40);
    bsSkinButton9 = NewSkinButton(bsSkinPanel4, L"bsSkinButton9", L"皮肤", 6, 6, 80, 28);
    bsSkinButton9->OnClick = [this](TObject* Sender) { bsSkinButton9Click(Sender); };
    bsSkinButton1 = NewSkinButton(bsSkinPanel4, L"bsSkinButton1", L"设置", 100, 6, 80, 28);
    bsSkinButton1->SetVisible(false);
    bsSkinButton1->OnClick = [this](TObject* Sender) { bsSkinButton1Click(Sender); };

    // The player's options and the log.
    TWinControl* options = NewPlainPanel(this, this, L"Panel5", OffScreenLeft, 190, 420, 300, clBtnFace, &Panel5);
    TrackBar1 = new TTrackBar(this);
    TrackBar1->SetName(L"TrackBar1");
    TrackBar1->SetParent(options);
    TrackBar1->SetBounds(4, 4, 150, 24);
    TrackBar1->OnChange = [this](TObject* Sender) { TrackBar1Change(Sender); };
    TrackBar2 = new TTrackBar(this);
    TrackBar2->SetName(L"TrackBar2");
    TrackBar2->SetParent(options);
    TrackBar2->SetBounds(160, 4, 150, 24);
    TrackBar2->SetParams(128, 0, 128);
    TrackBar2->OnChange = [this](TObject* Sender) { TrackBar2Change(Sender); };
    auto check = [this, options](const String& AName, const String& ACaption, int ALeft, int ATop, bool AChecked) {
        auto* c = new TCheckBox(this);
        c->SetName(AName);
        c->SetParent(options);
        c->SetCaption(ACaption);
        c->SetBounds(ALeft, ATop, 100, 20);
        c->SetChecked(AChecked);
        return c;
    };
    chkOpenPaused = check(L"chkOpenPaused", L"Open Paused", 4, 32, true);
    chkHook = check(L"chkHook", L"Hook", 108, 32, false);
    chkStayOnTop = check(L"chkStayOnTop", L"Stay On Top", 212, 32, false);
    chkMute = check(L"chkMute", L"Mute", 316, 32, false);
    chkThreadMode = check(L"chkThreadMode", L"Thread Mode", 4, 54, true);
    chkPreview = check(L"chkPreview", L"Preview", 108, 54, false);
    chkPreview->OnClick = [this](TObject* Sender) { chkPreviewClick(Sender); };
    auto combo = [this, options](const String& AName, int ALeft, int ATop,
                                 std::initializer_list<const wchar_t*> AItems) {
        auto* c = new TComboBox(this);
        c->SetName(AName);
        c->SetParent(options);
        c->SetStyle(csDropDownList);
        c->SetBounds(ALeft, ATop, 100, 22);
        for (const wchar_t* item : AItems) c->Items()->Add(item);
        if (AItems.size() > 0) c->SetItemIndex(0);
        return c;
    };
    cboScreens = combo(L"cboScreens", 4, 78, {});
    cboVideoDriver = combo(L"cboVideoDriver", 108, 78, {L"Default", L"DDraw", L"GDI"});
    cboAudioDriver = combo(L"cboAudioDriver", 212, 78, {L"Default", L"DSound", L"waveOut"});
    cboVideo = combo(L"cboVideo", 4, 104, {});
    cboAudio = combo(L"cboAudio", 108, 104, {});
    cboSubtitle = combo(L"cboSubtitle", 212, 104, {});
    Label2 = new TLabel(this);
    Label2->SetName(L"Label2");
    Label2->SetParent(options);
    Label2->SetCaption(L"0.0");
    Label2->SetBounds(316, 80, 80, 16);
    Label3 = new TLabel(this);
    Label3->SetName(L"Label3");
    Label3->SetParent(options);
    Label3->SetCaption(L"0.0");
    Label3->SetBounds(316, 104, 80, 16);
    btnCapture = new TButton(this);
    btnCapture->SetName(L"btnCapture");
    btnCapture->SetParent(options);
    btnCapture->SetCaption(L"Capture");
    btnCapture->SetBounds(316, 128, 80, 24);
    btnCapture->OnClick = [this](TObject* Sender) { btnCaptureClick(Sender); };
    mmoLog = new TMemo(this);
    mmoLog->SetName(L"mmoLog");
    mmoLog->SetParent(options);
    mmoLog->SetReadOnly(true);
    mmoLog->SetScrollBars(ssVertical);
    mmoLog->SetBounds(4, 156, 410, 110);
    ListBox1 = new TListBox(this);
    ListBox1->SetName(L"ListBox1");
    ListBox1->SetParent(options);
    ListBox1->SetBounds(4, 270, 410, 26);
}

TButton* TForm1::NewCommandButton(const String& AName, const String& ACaption, TNotifyEvent AOnClick)
{
    auto* b = new TButton(this);
    b->SetName(AName);
    b->SetParent(FCommandPanel);
    b->SetCaption(ACaption);
    const int i = FCommandButtonCount++;
    b->SetBounds(4 + (i % 4) * 104, 4 + (i / 4) * 26, 100, 24);
    b->OnClick = std::move(AOnClick);
    return b;
}

void TForm1::BuildCommandButtons()
{
    FCommandPanel = NewPlainPanel(this, this, L"Panel1", OffScreenLeft, 500, 420, 270, clBtnFace, &Panel1);
    auto on = [this](void (TForm1::*AHandler)(TObject*)) -> TNotifyEvent {
        return [this, AHandler](TObject* Sender) { (this->*AHandler)(Sender); };
    };
    btnAdd = NewCommandButton(L"btnAdd", L"Open添加一个文件", on(&TForm1::btnAddClick));
    btnRemove = NewCommandButton(L"btnRemove", L"Remove", on(&TForm1::btnRemoveClick));
    btnRemove->SetEnabled(false);
    btnClear = NewCommandButton(L"btnClear", L"Clear", on(&TForm1::btnClearClick));
    btnClear->SetEnabled(false);
    btnStart = NewCommandButton(L"btnStart", L"Start", on(&TForm1::btnStartClick));
    btnStart->SetEnabled(false);
    btnStop = NewCommandButton(L"btnStop", L"Stop", on(&TForm1::btnStopClick));
    btnStop->SetEnabled(false);
    btnPause = NewCommandButton(L"btnPause", L"Pause", on(&TForm1::btnPauseClick));
    btnPause->SetEnabled(false);
    btnResume = NewCommandButton(L"btnResume", L"Resume", on(&TForm1::btnResumeClick));
    btnResume->SetEnabled(false);
    btnWebSite = NewCommandButton(L"btnWebSite", L"Web Site", nullptr);
    Button1 = NewCommandButton(L"Button1", L"help", on(&TForm1::Button1Click));
    Button2 = NewCommandButton(L"Button2", L"添加combox", on(&TForm1::Button2Click));
    Button3 = NewCommandButton(L"Button3", L"读入皮肤ini", on(&TForm1::Button3Click));
    Button4 = NewCommandButton(L"Button4", L"写入皮肤ini", on(&TForm1::Button4Click));
    Button5 = NewCommandButton(L"Button5", L"根据combox添加数据", on(&TForm1::Button5Click));
    Button6 = NewCommandButton(L"Button6", L"初始化数据", on(&TForm1::Button6Click));
    Button7 = NewCommandButton(L"Button7", L"确认oo数据", on(&TForm1::Button7Click));
    Button8 = NewCommandButton(L"Button8", L"打开多个文件", on(&TForm1::Button8Click));
    Button11 = NewCommandButton(L"Button11", L"onchange用", on(&TForm1::Button11Click));
    Button12 = NewCommandButton(L"Button12", L"添加整个目录", on(&TForm1::Button12Click));
    Button13 = NewCommandButton(L"Button13", L"确认预置选项数据", on(&TForm1::Button13Click));
    Button14 = NewCommandButton(L"Button14", L"添加", on(&TForm1::Button14Click));
    Button15 = NewCommandButton(L"Button15", L"初始化数值", on(&TForm1::Button15Click));
    Button16 = NewCommandButton(L"Button16", L"写ini文件", on(&TForm1::Button16Click));
    Button17 = NewCommandButton(L"Button17", L"读ini文件", on(&TForm1::Button17Click));
    Button18 = NewCommandButton(L"Button18", L"根据combox添加预设选项", on(&TForm1::Button18Click));
    Button19 = NewCommandButton(L"Button19", L"Button19", on(&TForm1::Button19Click));
    Button20 = NewCommandButton(L"Button20", L"转换后打开文件夹", on(&TForm1::Button20Click));
    Button21 = NewCommandButton(L"Button21", L"OpenDialog1", on(&TForm1::Button21Click));
    Button22 = NewCommandButton(L"Button22", L"工作中设置为不能", on(&TForm1::Button22Click));
    Button23 = NewCommandButton(L"Button23", L"工作完成设置为能", on(&TForm1::Button23Click));
    Button24 = NewCommandButton(L"Button24", L"刷新皮肤", on(&TForm1::Button24Click));
    Button25 = NewCommandButton(L"Button25", L"关机", on(&TForm1::Button25Click));
    Button26 = NewCommandButton(L"Button26", L"Button26", on(&TForm1::Button26Click));
    Button27 = NewCommandButton(L"Button27", L"Button27", on(&TForm1::Button27Click));
    button28 = NewCommandButton(L"button28", L"新添加", on(&TForm1::button28Click));
    Button29 = NewCommandButton(L"Button29", L" 播放提示音", on(&TForm1::Button29Click));
    Button31 = NewCommandButton(L"Button31", L"打开播放视频", on(&TForm1::Button31Click));
}

void TForm1::SetButtonEnabled(TbsSkinButton* AButton, bool AEnabled)
{
    AButton->SetEnabled(AEnabled);
    auto found = FButtonImages.find(AButton);
    if (found != FButtonImages.end() && found->second.DisabledImages) {
        const TButtonImages& images = found->second;
        AButton->SetImageList(AEnabled ? images.Images : images.DisabledImages);
        AButton->SetImageIndex(AEnabled ? images.Index : images.DisabledIndex);
    }
    AButton->RefreshButton();
}

void TForm1::PlaceEmptyListPanel()
{
    const int header = lvFiles->HeaderHeight();
    bsSkinPanel5->SetBounds(lvFiles->Left(), lvFiles->Top() + header, lvFiles->Width(), lvFiles->Height() - header);
    if (!Image1) return;
    // The empty list's picture: the 48-pixel invitation to add files over the panel's caption,
    // drawn at the panel's size on the list's own background.
    const int w = bsSkinPanel5->Width(), h = bsSkinPanel5->Height();
    Image1->SetBounds(0, 0, w, h);
    TBitmap* b = Image1->Picture()->Bitmap();
    b->SetWidth(w);
    b->SetHeight(h);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(ColorToRGB(lvFiles->Color()));
    c->FillRect(Rect(0, 0, w, h));
    const int cx = w / 2, cy = h / 2 - 18;
    ImageList8->Draw(c, cx - ImageList8->Width() / 2, cy - ImageList8->Height() / 2, 0);
    c->Brush()->SetStyle(bsClear);
    c->Font()->SetColor(TColor(0x606060));
    const String text = bsSkinPanel5->Caption();
    c->TextOut(cx - c->TextWidth(text) / 2, cy + 40, text);
    Image1->Invalidate();
}
