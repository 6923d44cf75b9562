#include "skin/dialogs/drive_combo_box.h"

#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/file_api.h"
#include "skin/dialogs/directory_list_box.h"
#include "skin/dialogs/file_paths.h"

namespace {

// A small volume picture drawn in code: a box of Body's colour with a light stripe.
TBitmap* VolumePicture(int Height, TColor Body)
{
    auto* b = new TBitmap(16, Height);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 16, Height));
    c->Brush()->SetColor(RGB(64, 64, 64));
    c->FillRect(Rect(1, 2, 15, Height - 1));
    c->Brush()->SetColor(Body);
    c->FillRect(Rect(2, 3, 14, Height - 2));
    c->Brush()->SetColor(RGB(240, 240, 240));
    c->FillRect(Rect(3, Height - 5, 13, Height - 4));
    b->SetTransparent(true);
    return b;
}

}  // namespace

TbsSkinDriveComboBox::TbsSkinDriveComboBox(TComponent* AOwner) : TbsSkinComboBox(AOwner)
{
    OnChange = [this](TObject* Sender) { SelectionTextChanged(Sender); };
    auto draw = [this](TCanvas* C, int I, int W, int H, TRect R, TOwnerDrawState S) {
        DrawDriveItem(C, I, W, H, R, S);
    };
    SetOnListBoxDrawItem(draw);
    OnComboBoxDrawItem = draw;
    FloppyBMP = VolumePicture(16, RGB(80, 80, 200));
    FixedBMP = VolumePicture(16, RGB(160, 160, 160));
    NetworkBMP = VolumePicture(16, RGB(60, 160, 60));
    CDROMBMP = VolumePicture(16, RGB(220, 200, 80));
    RAMBMP = VolumePicture(11, RGB(60, 140, 60));
    FDrive = vxdirs::VolumeOf(vxdirs::StartDirectory());
}

TbsSkinDriveComboBox::~TbsSkinDriveComboBox()
{
    SetDirList(nullptr);
    delete FloppyBMP;
    delete FixedBMP;
    delete NetworkBMP;
    delete CDROMBMP;
    delete RAMBMP;
}

void TbsSkinDriveComboBox::CreateWnd()
{
    TbsSkinComboBox::CreateWnd();
    BuildDriveList();
    SetDrive(FDrive);
}

void TbsSkinDriveComboBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinComboBox::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FDirList) FDirList = nullptr;
}

void TbsSkinDriveComboBox::SetDirList(TbsSkinDirectoryListBox* Value)
{
    if (FDirList == Value) return;
    if (FDirList) {
        FDirList->FDriveCombo = nullptr;
        FDirList->RemoveFreeNotification(this);
    }
    FDirList = Value;
    if (FDirList) {
        FDirList->FDriveCombo = this;
        FDirList->FreeNotification(this);
    }
}

void TbsSkinDriveComboBox::SetTextCase(TTextCase Value)
{
    if (Value == FTextCase) return;
    FTextCase = Value;
    const String drive = FDrive;
    BuildDriveList();
    SetDrive(drive);
}

String TbsSkinDriveComboBox::ItemDrive(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(FVolumes.size()) ? FVolumes[Index] : String();
}

void TbsSkinDriveComboBox::BuildDriveList()
{
    Items()->Clear();
    FVolumes.clear();
    for (const vxwin::ShellVolume& volume : vxwin::ListVolumes()) {
        const String root = Utf8ToString(volume.mountPath);
        String label;
        TBitmap* picture = nullptr;
        switch (GetDriveTypeW(root.c_str())) {
        case DRIVE_REMOVABLE: picture = FloppyBMP; break;  // no medium is read
        case DRIVE_FIXED:
            label = DriveVolumeLabel(volume);
            picture = FixedBMP;
            break;
        case DRIVE_REMOTE:
            label = NetworkDriveName(volume);
            picture = NetworkBMP;
            break;
        case DRIVE_CDROM:
            label = DriveVolumeLabel(volume);
            picture = CDROMBMP;
            break;
        case DRIVE_RAMDISK:
            label = DriveVolumeLabel(volume);
            picture = RAMBMP;
            break;
        default: continue;
        }
        // Mount points are names on disk: only the label takes the letter case.
        label = FTextCase == tcUpperCase ? UpperCase(label) : LowerCase(label);
        Items()->AddObject(label.empty() ? root : root + L" " + label, picture);
        FVolumes.push_back(root);
    }
}

void TbsSkinDriveComboBox::SetDrive(const String& NewDrive)
{
    if (ItemIndex() >= 0 && NewDrive == FDrive) return;
    if (NewDrive.empty()) {
        FDrive.clear();
        SetItemIndex(-1);
    } else {
        FDrive = NewDrive;
        for (size_t i = 0; i < FVolumes.size(); ++i) {
            if (FVolumes[i] == FDrive) {
                SetItemIndex(static_cast<int>(i));
                break;
            }
        }
    }
    if (FDirList) FDirList->ChangeDrive(FDrive);
    Change();
}

void TbsSkinDriveComboBox::SelectionTextChanged(TObject*)
{
    if (ItemIndex() >= 0) SetDrive(ItemDrive(ItemIndex()));
}

void TbsSkinDriveComboBox::DrawDriveItem(TCanvas* Cnvs, int Index, int, int, TRect TxtRect, TOwnerDrawState)
{
    if (Index < 0 || Index >= Items()->Count()) return;
    int x = TxtRect.Left + 6;
    if (auto* picture = static_cast<TBitmap*>(Items()->Objects(Index))) {
        Cnvs->Draw(TxtRect.Left, (TxtRect.Top + TxtRect.Bottom - picture->Height()) / 2, picture);
        x += picture->Width();
    }
    Cnvs->TextOut(x, TxtRect.Top + (TxtRect.Bottom - TxtRect.Top) / 2 - Cnvs->TextHeight(L"Wg") / 2,
                  Items()->Get(Index));
}
