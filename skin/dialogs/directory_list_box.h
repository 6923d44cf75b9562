// TbsSkinDirectoryListBox: a skinned list of one folder's chain and sub-folders. The chain runs
// from "/" (opened pictures) to the folder shown (the current picture), then its sub-folders
// (closed pictures, hidden ones left out). Opening an item (double click, Enter) shows that
// folder; a linked file list box follows, and a linked label shows the shortened path.
//
// The process's current directory is never touched: the control keeps its folder itself, and per
// volume the folder last shown there, so choosing a volume in a linked drive combo box returns to
// that folder (else to the volume's mount point).
#pragma once

#include <map>

#include "skin/boxes/skin_list_box.h"

class TbsSkinDriveComboBox;
class TbsSkinFileListBox;
class TbsSkinStdLabel;

class TbsSkinDirectoryListBox : public TbsSkinListBox {
    friend class TbsSkinDriveComboBox;
    friend class TbsSkinFileListBox;

public:
    explicit TbsSkinDirectoryListBox(TComponent* AOwner);
    ~TbsSkinDirectoryListBox() override;

    const String& Directory() const { return FDirectory; }
    // Typed text, relative parts taken against the folder shown; EInOutError when it can't be
    // entered (the list stays as it was).
    virtual void SetDirectory(const String& NewDirectory);
    // The mount point of the volume holding the folder shown.
    String Drive() const;
    // Enters the folder last shown on the volume mounted at Value, else its mount point.
    void SetDrive(const String& Value);
    TbsSkinFileListBox* FileList() const { return FFileList; }
    void SetFileList(TbsSkinFileListBox* Value);
    TbsSkinStdLabel* DirLabel() const { return FDirLabel; }
    void SetDirLabel(TbsSkinStdLabel* Value);
    bool PreserveCase() const { return FPreserveCase; }
    bool CaseSensitive() const { return FCaseSensitive; }

    // The folder an item stands for: "/" for item 0, the chain's folders, the sub-folders; empty
    // past the end.
    String GetItemPath(int Index);
    // Shows the selected item's folder.
    void OpenCurrent();
    // Rebuilds the list and tells the partners. (Not Update: that is the control's repaint,
    // which must not rebuild the list or fire OnChange.)
    void UpdateList();
    int FileCompareText(const String& A, const String& B) const;
    String DisplayCase(const String& S) const;

    TNotifyEvent OnChange;

    // Item pictures; the picture an item carries tells its kind.
    TBitmap* ClosedBMP = nullptr;
    TBitmap* OpenedBMP = nullptr;
    TBitmap* CurrentBMP = nullptr;

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    int GetItemWidth(int Index, TCanvas* C) override;
    void ListBoxDblClick() override;
    void ListBoxKeyPress(wchar_t& Key) override;
    virtual void DirectoryChanged();
    virtual void LoadFolderBitmaps();
    virtual void BuildDirectoryList();

    // The drive combo box's drive change: the remembered folder of the volume.
    void ChangeDrive(const String& NewDrive);
    void DrawDirectoryItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect,
                           TOwnerDrawState State);
    void UpdateDirLabel();
    int ItemIndent(int Index) const;

    TbsSkinFileListBox* FFileList = nullptr;
    TbsSkinDriveComboBox* FDriveCombo = nullptr;
    TbsSkinStdLabel* FDirLabel = nullptr;
    bool FInSetDir = false;
    bool FPreserveCase = true;
    bool FCaseSensitive = true;
    String FDirectory;
    // Mount point -> folder last shown on that volume.
    std::map<String, String> FLastDirs;

private:
    // FDirectory := Dir (remembered for its volume).
    void StoreDirectory(const String& Dir);
};

// Helpers the three file-system lists share.
namespace vxdirs {
// The folder the process started in, as an absolute path (the lists' first folder).
String StartDirectory();
// Path taken against Base and resolved to the real folder; EInOutError when it can't be entered.
String EnterFolder(const String& Base, const String& Path);
// The mount point of the volume holding Path.
String VolumeOf(const String& Path);
}  // namespace vxdirs
