// TbsSkinFilterComboBox: the file-type chooser of the open, save and picture dialogs. Its Filter
// alternates descriptions and masks, separated by "|" ("Videos|*.mkv;*.avi|All files|*.*"); the
// items are the descriptions, and Mask answers the chosen item's mask. The items are rebuilt
// from Filter once the window exists and whenever Filter changes while it does; before that
// there are none and Mask answers "*.*".
#pragma once

#include "platform/framework/core/string_list.h"
#include "skin/boxes/skin_combo_box.h"

class TbsSkinFileListBox;

class TbsSkinFilterComboBox : public TbsSkinComboBox {
    friend class TbsSkinFileListBox;

public:
    explicit TbsSkinFilterComboBox(TComponent* AOwner);
    ~TbsSkinFilterComboBox() override;

    const String& Filter() const { return FFilter; }
    // A text that differs only in letter case is ignored; any other is stored, the items are
    // rebuilt (when the window exists) and the Change hook runs.
    void SetFilter(const String& Value);
    // The chosen item's mask. With no item chosen the last one is chosen first (with the
    // notifications of ItemIndex); "*.*" when there are no items.
    String Mask();
    // The file list box whose mask follows the chosen item.
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);

protected:
    void CreateWnd() override;
    // A completed click on the control: the base handling, then the Change hook.
    void Click() override;
    // The linked file list box takes the chosen mask.
    void Change() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // The items and MaskList anew from Filter; the first item chosen.
    void BuildItems();

    // The combo box's own FFilter is its type-ahead text; this one is the file filter.
    String FFilter;
    TStringList* MaskList;
    TbsSkinFileListBox* FFileList = nullptr;
};
