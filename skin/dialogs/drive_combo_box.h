// TbsSkinDriveComboBox: a skinned combo box of the computer's volumes ("/" first), each with a
// picture of its kind and its label (a remote one its source). Choosing a volume moves a linked
// directory list box to the folder it last showed on that volume, else to the mount point.
#pragma once

#include <vector>

#include "skin/boxes/skin_combo_box.h"

class TbsSkinDirectoryListBox;

enum TTextCase { tcLowerCase, tcUpperCase };

class TbsSkinDriveComboBox : public TbsSkinComboBox {
    friend class TbsSkinDirectoryListBox;

public:
    explicit TbsSkinDriveComboBox(TComponent* AOwner);
    ~TbsSkinDriveComboBox() override;

    // The mount point of the chosen volume; empty for none.
    const String& Drive() const { return FDrive; }
    void SetDrive(const String& NewDrive);
    TbsSkinDirectoryListBox* DirList() const { return FDirList; }
    void SetDirList(TbsSkinDirectoryListBox* Value);
    // The letter case of the labels.
    TTextCase TextCase() const { return FTextCase; }
    void SetTextCase(TTextCase Value);
    // The mount point item Index stands for.
    String ItemDrive(int Index) const;

    TBitmap* FloppyBMP = nullptr;
    TBitmap* FixedBMP = nullptr;
    TBitmap* NetworkBMP = nullptr;
    TBitmap* CDROMBMP = nullptr;
    TBitmap* RAMBMP = nullptr;

protected:
    void CreateWnd() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void BuildDriveList();
    void SelectionTextChanged(TObject* Sender);
    void DrawDriveItem(TCanvas* Cnvs, int Index, int ItemWidth, int ItemHeight, TRect TxtRect, TOwnerDrawState State);

    TbsSkinDirectoryListBox* FDirList = nullptr;
    String FDrive;
    TTextCase FTextCase = tcLowerCase;
    // Mount points, one per item.
    std::vector<String> FVolumes;
};
