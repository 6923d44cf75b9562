// Skin records of text boxes and lists: edits ("edit") and memos ("memo"), spin edits
// ("spinedit"), list boxes ("listbox") and check list boxes ("checklistbox"), combo boxes
// ("combobox"): their looks, fonts, embedded buttons, item looks and scroll bar names.
#pragma once

#include "skin/core/control_records.h"

class TbsDataSkinEditControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect ActiveSkinRect{};
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, DisabledFontColor = 0, ActiveFontColor = 0;
    TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
};

class TbsDataSkinMemoControl : public TbsDataSkinEditControl {
public:
    using TbsDataSkinEditControl::TbsDataSkinEditControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TColor BGColor = 0, ActiveBGColor = 0;
};

class TbsDataSkinSpinEditControl : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect ActiveSkinRect{};
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, DisabledFontColor = 0;
    TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
    TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
};

class TbsDataSkinListBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect SItemRect{}, ActiveItemRect{}, FocusItemRect{};
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect{};
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect{};
    String CaptionFontName = L"Tahoma";
    TFontStyles CaptionFontStyle;
    int CaptionFontHeight = 13;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect{}, ActiveUpButtonRect{}, DownUpButtonRect{};
    TRect DownButtonRect{}, ActiveDownButtonRect{}, DownDownButtonRect{};
    TRect CheckButtonRect{}, ActiveCheckButtonRect{}, DownCheckButtonRect{};
    String HScrollBarName, VScrollBarName, BothScrollBarName;
    bool ShowFocus = false;
    TRect DisabledButtonsRect{}, ButtonsArea{};
};

class TbsDataSkinCheckListBox : public TbsDataSkinListBox {
public:
    using TbsDataSkinListBox::TbsDataSkinListBox;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect UnCheckImageRect{}, CheckImageRect{}, ItemCheckRect{};
};

class TbsDataSkinComboBox : public TbsDataSkinCustomControl {
public:
    using TbsDataSkinCustomControl::TbsDataSkinCustomControl;
    void DefineKeys(TbsSkinKeys& Keys) override;

    TRect SItemRect{}, ActiveItemRect{}, FocusItemRect{};
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect{};
    String FontName = L"Tahoma";
    TFontStyles FontStyle;
    int FontHeight = 13;
    TColor FontColor = 0, FocusFontColor = 0, ActiveFontColor = 0;
    TRect ButtonRect{}, ActiveButtonRect{}, DownButtonRect{}, UnEnabledButtonRect{};
    bool ItemStretchEffect = false, FocusItemStretchEffect = false;
    TRect ActiveSkinRect{};
    String ListBoxName;
    bool ShowFocus = false;
};
