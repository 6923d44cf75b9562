#include "skin/core/resource_strings.h"

#include "platform/framework/core/strings.h"

namespace {

// The defaults, in their order. The first 53 and the five file list columns marked below are
// also the built-in captions.
const wchar_t* const kDefaultStrings[] = {
    // window menu items
    L"MI_MINCAPTION=Mi&nimize",
    L"MI_MAXCAPTION=Ma&ximize",
    L"MI_CLOSECAPTION=&Close",
    L"MI_RESTORECAPTION=&Restore",
    L"MI_MINTOTRAYCAPTION=Minimize to &Tray",
    L"MI_ROLLUPCAPTION=Ro&llUp",
    // caption-button hints
    L"MINBUTTON_HINT=Minimize",
    L"MAXBUTTON_HINT=Maximize",
    L"CLOSEBUTTON_HINT=Close",
    L"TRAYBUTTON_HINT=Minimize to Tray",
    L"ROLLUPBUTTON_HINT=Roll Up",
    L"MENUBUTTON_HINT=System menu",
    L"RESTORE_HINT=Restore",
    // edit context menu
    L"EDIT_UNDO=Undo",
    L"EDIT_COPY=Copy",
    L"EDIT_CUT=Cut",
    L"EDIT_PASTE=Paste",
    L"EDIT_DELETE=Delete",
    L"EDIT_SELECTALL=Select All",
    // dialog buttons and button hints
    L"MSG_BTN_YES=&Yes",
    L"MSG_BTN_NO=&No",
    L"MSG_BTN_OK=OK",
    L"MSG_BTN_CANCEL=Cancel",
    L"MSG_BTN_ABORT=&Abort",
    L"MSG_BTN_RETRY=&Retry",
    L"MSG_BTN_IGNORE=&Ignore",
    L"MSG_BTN_ALL=&All",
    L"MSG_BTN_NOTOALL=N&oToAll",
    L"MSG_BTN_YESTOALL=&YesToAll",
    L"MSG_BTN_HELP=&Help",
    L"MSG_BTN_OPEN=&Open",
    L"MSG_BTN_SAVE=&Save",
    L"MSG_BTN_CLOSE=Close",
    L"MSG_BTN_BACK_HINT=Go To Last Folder Visited",
    L"MSG_BTN_UP_HINT=Up One Level",
    L"MSG_BTN_NEWFOLDER_HINT=Create New Folder",
    L"MSG_BTN_VIEWMENU_HINT=View Menu",
    L"MSG_BTN_STRETCH_HINT=Stretch Picture",
    // file dialog labels
    L"MSG_FILENAME=File name:",
    L"MSG_FILETYPE=File type:",
    L"MSG_NEWFOLDER=New Folder",
    L"MSG_LV_DETAILS=Details",
    L"MSG_LV_ICON=Large icons",
    L"MSG_LV_SMALLICON=Small icons",
    L"MSG_LV_LIST=List",
    // skin dialog and overwrite question
    L"MSG_PREVIEWSKIN=Preview",
    L"MSG_PREVIEWBUTTON=Button",
    L"MSG_OVERWRITE=Do you want to overwrite old file?",
    // message box captions
    L"MSG_CAP_WARNING=Warning",
    L"MSG_CAP_ERROR=Error",
    L"MSG_CAP_INFORMATION=Information",
    L"MSG_CAP_CONFIRM=Confirm",
    L"MSG_CAP_SHOWFLAG=Do not display this message again",
    // calculator, colour and font dialogs
    L"CALC_CAP=Calculator",
    L"ERROR=Error",
    L"COLORGRID_CAP=Basic colors",
    L"CUSTOMCOLORGRID_CAP=Custom colors",
    L"ADDCUSTOMCOLORBUTTON_CAP=Add to Custom Colors",
    L"FONTDLG_COLOR=Color:",
    L"FONTDLG_NAME=Name:",
    L"FONTDLG_SIZE=Size:",
    L"FONTDLG_HEIGHT=Height:",
    L"FONTDLG_EXAMPLE=Example:",
    L"FONTDLG_STYLE=Style:",
    L"FONTDLG_SCRIPT=Script:",
    // database questions and drives
    L"DB_DELETE_QUESTION=Delete record?",
    L"DB_MULTIPLEDELETE_QUESTION=Delete all selected records?",
    L"NODISKINDRIVE=There is no disk in Drive or Drive is not ready",
    L"NOVALIDDRIVEID=Not a valid Drive ID",
    // file list columns (the first five are built-in captions too)
    L"FLV_NAME=Name",
    L"FLV_SIZE=Size",
    L"FLV_TYPE=Type",
    L"FLV_LOOKIN=Look in: ",
    L"FLV_MODIFIED=Modified",
    L"FLV_ATTRIBUTES=Attributes",
    L"FLV_DISKSIZE=Disk Size",
    L"FLV_FREESPACE=Free Space",
    // print dialog
    L"PRNDLG_NAME=Name:",
    L"PRNDLG_PRINTER=Printer",
    L"PRNDLG_PROPERTIES=Properties...",
    L"PRNDLG_TYPE=Type:",
    L"PRNDLG_STATUS=Status:",
    L"PRNDLG_WHERE=Where:",
    L"PRNDLG_COMMENT=Comment:",
    L"PRNDLG_PRINTRANGE=Print range",
    L"PRNDLG_COPIES=Copies",
    L"PRNDLG_NUMCOPIES=Number of copies:",
    L"PRNDLG_COLLATE=Collate",
    L"PRNDLG_ALL=All",
    L"PRNDLG_PAGES=Pages",
    L"PRNDLG_SELECTION=Selection",
    L"PRNDLG_PRINTTOFILE=Print to file",
    L"PRNDLG_FROM=from:",
    L"PRNDLG_TO=to:",
    L"PRNDLG_ORIENTATION=Orientation",
    L"PRNDLG_PAPER=Paper",
    L"PRNDLG_PORTRAIT=Portrait",
    L"PRNDLG_LANDSCAPE=Landscape",
    L"PRNDLG_SOURCE=Source:",
    L"PRNDLG_SIZE=Size:",
    L"PRNDLG_MARGINS=Margins (millimeters)",
    L"PRNDLG_MARGINS_INCHES=Margins (inches)",
    L"PRNDLG_LEFT=Left:",
    L"PRNDLG_RIGHT=Right:",
    L"PRNDLG_TOP=Top:",
    L"PRNDLG_BOTTOM=Bottom:",
    L"PRNDLG_WARNING=There are no printers in your system!",
    // find and replace dialog
    L"FIND_NEXT=Find next",
    L"FIND_WHAT=Find what:",
    L"FIND_DIRECTION=Direction",
    L"FIND_DIRECTIONUP=Up",
    L"FIND_DIRECTIONDOWN=Down",
    L"FIND_MATCH_CASE=Match case",
    L"FIND_MATCH_WHOLE_WORD_ONLY=Match whole word only",
    L"FIND_REPLACE_WITH=Replace with:",
    L"FIND_REPLACE=Replace",
    L"FIND_REPLACE_All=Replace All",
    L"FIND_REPLACE_CLOSE=Close",
    // colour picker
    L"MORECOLORS=More colors...",
    L"AUTOCOLOR=Automatic",
    L"CUSTOMCOLOR=Custom...",
    // database navigator
    L"DBNAV_FIRST=FIRST",
    L"DBNAV_PRIOR=PRIOR",
    L"DBNAV_NEXT=NEXT",
    L"DBNAV_LAST=LAST",
    L"DBNAV_INSERT=INSERT",
    L"DBNAV_DELETE=DELETE",
    L"DBNAV_EDIT=EDIT",
    L"DBNAV_POST=POST",
    L"DBNAV_CANCEL=CANCEL",
    L"DBNAV_REFRESH=REFRESH",
};

constexpr int kBuiltInLeading = 53;   // "MI_MINCAPTION" .. "MSG_CAP_SHOWFLAG"
constexpr int kFileListColumns = 69;  // index of "FLV_NAME"; it and the next four are built in

// The value part of a NAME=value line whose name equals ResName; false for lines without "=".
bool MatchLine(const String& line, const String& ResName, String& value)
{
    const size_t eq = line.find(L'=');
    if (eq == String::npos || !SameText(line.substr(0, eq), ResName)) return false;
    value = line.substr(eq + 1);
    return true;
}

}  // namespace

TbsResourceStrData::TbsResourceStrData(TComponent* AOwner) : TComponent(AOwner), FResStrs(new TStringList)
{
    AddDefaultStrings();
}

TbsResourceStrData::~TbsResourceStrData() { delete FResStrs; }

void TbsResourceStrData::AddDefaultStrings()
{
    for (const wchar_t* line : kDefaultStrings) FResStrs->Add(line);
}

void TbsResourceStrData::SetResStrings(TStrings* Value)
{
    if (Value)
        FResStrs->Assign(Value);
    else
        FResStrs->Clear();
}

String TbsResourceStrData::GetResStr(const String& ResName) const
{
    String value;
    for (int i = 0; i < FResStrs->Count(); ++i)
        if (MatchLine(FResStrs->Get(i), ResName, value)) return value;
    return String();
}

String GetBuiltInResStr(const String& ResName)
{
    static_assert(sizeof kDefaultStrings / sizeof kDefaultStrings[0] == 131);
    String value;
    for (int i = 0; i < kBuiltInLeading; ++i)
        if (MatchLine(kDefaultStrings[i], ResName, value)) return value;
    for (int i = kFileListColumns; i < kFileListColumns + 5; ++i)
        if (MatchLine(kDefaultStrings[i], ResName, value)) return value;
    return String();
}
