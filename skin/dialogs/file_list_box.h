// TbsSkinFileListBox: a skinned, sorted list of the entries of one folder that match its masks
// ("*.mkv;*.avi") and file types; folders read "[name]". A linked directory list box moves it, a
// linked filter combo box sets its mask, and a linked edit shows the selected name. The folder
// is kept by the control: the process's current directory is never changed.
#pragma once

#include "platform/framework/graphics/graphics_types.h"
#include "skin/boxes/skin_list_box.h"

class TCustomEdit;
class TbsSkinDirectoryListBox;
class TbsSkinFilterComboBox;

// Which entries are listed; the first six stand for the attribute bits 1, 2, 4, 8, 16 and 32.
enum TbsFileTypeItem { bsftReadOnly, bsftHidden, bsftSystem, bsftVolumeID, bsftDirectory, bsftArchive, bsftNormal };
using TbsFileType = TEnumSet<TbsFileTypeItem>;

class TbsSkinFileListBox : public TbsSkinListBox {
    friend class TbsSkinDirectoryListBox;
    friend class TbsSkinFilterComboBox;

public:
    explicit TbsSkinFileListBox(TComponent* AOwner);
    ~TbsSkinFileListBox() override;

    const String& Directory() const { return FDirectory; }
    void SetDirectory(const String& Value) { ApplyFilePath(Value); }
    // The mount point of the volume holding the folder listed.
    String Drive() const;
    const String& Mask() const { return FMask; }
    void SetMask(const String& Value);
    TbsFileType FileType() const { return FFileType; }
    void SetFileType(TbsFileType Value);
    TCustomEdit* FileEdit() const { return FFileEdit; }
    void SetFileEdit(TCustomEdit* Value);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    TbsSkinFilterComboBox* FilterCombo() const { return FFilterCombo; }

    // The selected entry's full path; empty when nothing is selected.
    virtual String FileName();
    void SetFileName(const String& Value) { ApplyFilePath(Value); }
    // Lists NewDir (taken against the folder listed) when it differs; EInOutError when it can't
    // be entered.
    void ChangeDirectory(const String& NewDir);
    // Selects the item named Name (case ignored; none when no item has that name).
    void SelectFileName(const String& Name);
    // A typed path: its folder is entered (through the linked directory list box when there is
    // one), a wildcard file part becomes the mask, a name is selected.
    virtual void ApplyFilePath(const String& EditText);
    // Lists the folder anew (not Update: that is the control's repaint).
    void UpdateList() { FillFileList(); }

    TNotifyEvent OnChange;

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void ListBoxClick() override;
    virtual void SelectionChanged();
    virtual void FillFileList();
    String GetSelectedText();

    String FDirectory;
    String FMask = L"*.*";
    TbsFileType FFileType{bsftNormal};
    TCustomEdit* FFileEdit = nullptr;
    TbsSkinDirectoryListBox* FDirList = nullptr;
    TbsSkinFilterComboBox* FFilterCombo = nullptr;
    int FLastSel = -1;
};
