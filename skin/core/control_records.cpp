#include "skin/core/control_records.h"

#include "skin/core/button_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/panel_records.h"
#include "skin/core/range_records.h"
#include "skin/core/tab_grid_records.h"
#include "skin/core/view_menu_records.h"

TbsDataSkinControl::TbsDataSkinControl(const String& AIDName) : IDName(AIDName) {}

void TbsDataSkinControl::DefineKeys(TbsSkinKeys& K)
{
    K.Integer(L"pictureindex", PictureIndex, -1);
    K.Integer(L"maskpictureindex", MaskPictureIndex, -1);
    K.Rect(L"skinrect", SkinRect);
}

void TbsDataSkinControl::LoadFromFile(TCustomIniFile* IniFile)
{
    TbsSkinKeys keys;
    DefineKeys(keys);
    keys.Load(IniFile, IDName);
}

void TbsDataSkinControl::SaveToFile(TCustomIniFile* IniFile)
{
    IniFile->EraseSection(IDName);
    TbsSkinKeys keys;
    DefineKeys(keys);
    keys.Save(IniFile, IDName);
}

void TbsDataSkinCustomControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Point(L"lefttoppoint", LTPoint);
    K.Point(L"righttoppoint", RTPoint);
    K.Point(L"leftbottompoint", LBPoint);
    K.Point(L"rightbottompoint", RBPoint);
    K.Rect(L"clientrect", ClRect);
    K.Boolean(L"leftstretch", LeftStretch);
    K.Boolean(L"topstretch", TopStretch);
    K.Boolean(L"rightstretch", RightStretch);
    K.Boolean(L"bottomstretch", BottomStretch);
    K.Boolean(L"stretcheffect", StretchEffect);
    K.StretchType(L"stretchtype", StretchType);
}

int TbsDataSkinCustomControl::ResizeMode() const
{
    if (SkinRect.IsEmpty()) return -1;
    if (RBPoint.X != 0 && RBPoint.Y != 0) return 1;
    if (RTPoint.X != 0 || RTPoint.Y != 0) return 2;
    if (LBPoint.X != 0 || LBPoint.Y != 0) return 3;
    return 0;
}

void ArrowButtonKeys(TbsSkinKeys& K, TRect& Up, TRect& ActiveUp, TRect& DownUp, TRect& Down, TRect& ActiveDown,
                     TRect& DownDown)
{
    K.Rect(L"upbuttonrect", Up);
    K.Rect(L"activeupbuttonrect", ActiveUp);
    K.Rect(L"downupbuttonrect", DownUp);
    K.Rect(L"downbuttonrect", Down);
    K.Rect(L"activedownbuttonrect", ActiveDown);
    K.Rect(L"downdownbuttonrect", DownDown);
}

namespace {

struct ControlType {
    const wchar_t* Word;
    TbsDataSkinControl* (*Create)(const String& name);
    bool (*Is)(const TbsDataSkinControl* r);
};

template <class T>
constexpr ControlType Type(const wchar_t* word)
{
    return ControlType{word, [](const String& name) -> TbsDataSkinControl* { return new T(name); },
                       [](const TbsDataSkinControl* r) { return dynamic_cast<const T*>(r) != nullptr; }};
}

// In the order the reader tests the words; every class comes before its parent, so the writer
// finds a record's own word by testing in the same order.
const ControlType kControlTypes[] = {
    Type<TbsDataSkinPanelControl>(L"panel"),
    Type<TbsDataSkinExPanelControl>(L"expanel"),
    Type<TbsDataSkinMenuButtonControl>(L"menubutton"),
    Type<TbsDataSkinButtonControl>(L"button"),
    Type<TbsDataSkinCheckRadioControl>(L"checkradio"),
    Type<TbsDataSkinGaugeControl>(L"gauge"),
    Type<TbsDataSkinSplitterControl>(L"splitter"),
    Type<TbsDataSkinTrackBarControl>(L"trackbar"),
    Type<TbsDataSkinLabelControl>(L"label"),
    Type<TbsDataSkinStdLabelControl>(L"stdlabel"),
    Type<TbsDataSkinUpDownControl>(L"updown"),
    Type<TbsDataSkinGridControl>(L"grid"),
    Type<TbsDataSkinTabControl>(L"tab"),
    Type<TbsDataSkinMainMenuBar>(L"mainmenubar"),
    Type<TbsDataSkinControlBar>(L"controlbar"),
    Type<TbsDataSkinAppMenu>(L"appmenu"),
    Type<TbsDataSkinMemoControl>(L"memo"),
    Type<TbsDataSkinEditControl>(L"edit"),
    Type<TbsDataSkinCheckListBox>(L"checklistbox"),
    Type<TbsDataSkinListBox>(L"listbox"),
    Type<TbsDataSkinComboBox>(L"combobox"),
    Type<TbsDataSkinScrollBarControl>(L"scrollbar"),
    Type<TbsDataSkinSpinEditControl>(L"spinedit"),
    Type<TbsDataSkinScrollBoxControl>(L"scrollbox"),
    Type<TbsDataSkinTreeView>(L"treeview"),
    Type<TbsDataSkinBevel>(L"bevel"),
    Type<TbsDataSkinSlider>(L"slider"),
    Type<TbsDataSkinListView>(L"listview"),
    Type<TbsDataSkinRichEdit>(L"richedit"),
};

}  // namespace

TbsDataSkinControl* CreateSkinControlRecord(const String& TypeWord, const String& AIDName)
{
    for (const ControlType& t : kControlTypes)
        if (TypeWord == t.Word) return t.Create(AIDName);
    return nullptr;
}

const wchar_t* SkinControlTypeWord(const TbsDataSkinControl* Record)
{
    for (const ControlType& t : kControlTypes)
        if (t.Is(Record)) return t.Word;
    return L"";
}
