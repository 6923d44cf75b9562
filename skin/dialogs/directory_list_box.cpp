#include "skin/dialogs/directory_list_box.h"

#include <limits.h>
#include <stdlib.h>

#include <algorithm>
#include <vector>

#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/file_api.h"
#include "skin/controls/skin_std_label.h"
#include "skin/core/text_layout.h"
#include "skin/dialogs/drive_combo_box.h"
#include "skin/dialogs/file_list_box.h"
#include "skin/dialogs/file_paths.h"

namespace vxdirs {

String StartDirectory()
{
    char buf[PATH_MAX];
    return ::getcwd(buf, sizeof buf) ? Utf8ToString(buf) : String(L"/");
}

String EnterFolder(const String& Base, const String& Path)
{
    String dir, file;
    SplitEditPath(Path, Base, dir, file);
    if (!file.empty()) dir = AppendPathPart(dir, file);  // a file named as a folder fails below
    if (dir.empty() || dir[0] != L'/') dir = AppendPathPart(Base.empty() ? String(L"/") : Base, dir);
    char real[PATH_MAX];
    if (!::realpath(StringToUtf8(dir).c_str(), real) || !IsExistingDirectory(Utf8ToString(real)))
        throw EInOutError(L"I/O error " + IntToStr(vxwin::ErrnoToWin32(errno ? errno : ENOTDIR)));
    return Utf8ToString(real);
}

String VolumeOf(const String& Path) { return Utf8ToString(vxwin::VolumeOfPath(StringToUtf8(Path)).mountPath); }

}  // namespace vxdirs

namespace {

// A 16x15 folder picture drawn in code: Body the folder's colour, open ones lighter.
TBitmap* FolderPicture(TColor Body, bool Open)
{
    auto* b = new TBitmap(16, 15);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(clFuchsia);
    c->FillRect(Rect(0, 0, 16, 15));
    c->Brush()->SetColor(RGB(128, 96, 0));
    c->FillRect(Rect(1, 2, 7, 4));
    c->FillRect(Rect(1, 3, 15, 14));
    c->Brush()->SetColor(Body);
    c->FillRect(Rect(2, 4, 14, 13));
    if (Open) {
        c->Brush()->SetColor(RGB(255, 240, 160));
        c->FillRect(Rect(3, 7, 15, 13));
    }
    // Bottom-left pixel stays the transparent colour.
    c->SetPixels(0, 14, clFuchsia);
    b->SetTransparent(true);
    return b;
}

}  // namespace

TbsSkinDirectoryListBox::TbsSkinDirectoryListBox(TComponent* AOwner) : TbsSkinListBox(AOwner)
{
    OnDrawItem = [this](TCanvas* C, int I, int W, int H, TRect R, TOwnerDrawState S) {
        DrawDirectoryItem(C, I, W, H, R, S);
    };
    SetWidth(145);
    SetSorted(false);
    LoadFolderBitmaps();
    StoreDirectory(vxdirs::StartDirectory());
}

TbsSkinDirectoryListBox::~TbsSkinDirectoryListBox()
{
    SetFileList(nullptr);
    if (FDriveCombo) FDriveCombo->FDirList = nullptr;
    delete ClosedBMP;
    delete OpenedBMP;
    delete CurrentBMP;
}

void TbsSkinDirectoryListBox::LoadFolderBitmaps()
{
    ClosedBMP = FolderPicture(RGB(240, 200, 80), false);
    OpenedBMP = FolderPicture(RGB(240, 200, 80), true);
    CurrentBMP = FolderPicture(RGB(120, 170, 240), true);
}

void TbsSkinDirectoryListBox::CreateWnd()
{
    TbsSkinListBox::CreateWnd();
    BuildDirectoryList();
}

void TbsSkinDirectoryListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFileList) FFileList = nullptr;
    if (AComponent == FDriveCombo) FDriveCombo = nullptr;
    if (AComponent == FDirLabel) FDirLabel = nullptr;
}

void TbsSkinDirectoryListBox::StoreDirectory(const String& Dir)
{
    FDirectory = Dir;
    FLastDirs[vxdirs::VolumeOf(Dir)] = Dir;
}

String TbsSkinDirectoryListBox::Drive() const { return vxdirs::VolumeOf(FDirectory); }

void TbsSkinDirectoryListBox::SetDrive(const String& Value)
{
    if (Value != Drive()) SetDirectory(Value);
}

void TbsSkinDirectoryListBox::ChangeDrive(const String& NewDrive)
{
    if (NewDrive == Drive()) return;
    if (!NewDrive.empty()) {
        // The folder last shown there, else the mount point; a volume that can't be entered (no
        // medium, gone) leaves the folder as it is.
        const auto last = FLastDirs.find(NewDrive);
        for (const String& dir : {last == FLastDirs.end() ? String() : last->second, NewDrive}) {
            if (!dir.empty() && IsExistingDirectory(dir)) {
                StoreDirectory(dir);
                break;
            }
        }
    }
    if (!FInSetDir) {
        BuildDirectoryList();
        DirectoryChanged();
    }
}

void TbsSkinDirectoryListBox::SetDirectory(const String& NewDirectory)
{
    if (NewDirectory.empty() || FileCompareText(NewDirectory, FDirectory) == 0) return;
    const String target = vxdirs::EnterFolder(FDirectory, NewDirectory);
    const String drive = vxdirs::VolumeOf(target);
    if (drive != Drive()) {
        FInSetDir = true;
        try {
            if (FDriveCombo)
                FDriveCombo->SetDrive(drive);
            else
                ChangeDrive(drive);
        } catch (...) {
            FInSetDir = false;
            throw;
        }
        FInSetDir = false;
    }
    StoreDirectory(target);
    BuildDirectoryList();
    DirectoryChanged();
}

void TbsSkinDirectoryListBox::DirectoryChanged()
{
    if (FFileList) FFileList->ChangeDirectory(FDirectory);
    UpdateDirLabel();
    if (OnChange) OnChange(this);
}

void TbsSkinDirectoryListBox::UpdateList()
{
    BuildDirectoryList();
    DirectoryChanged();
}

void TbsSkinDirectoryListBox::SetFileList(TbsSkinFileListBox* Value)
{
    if (FFileList == Value) return;
    if (FFileList) {
        FFileList->FDirList = nullptr;
        FFileList->RemoveFreeNotification(this);
    }
    FFileList = Value;
    if (FFileList) {
        FFileList->FDirList = this;
        FFileList->FreeNotification(this);
    }
}

void TbsSkinDirectoryListBox::SetDirLabel(TbsSkinStdLabel* Value)
{
    FDirLabel = Value;
    if (FDirLabel) FDirLabel->FreeNotification(this);
    UpdateDirLabel();
}

void TbsSkinDirectoryListBox::UpdateDirLabel()
{
    if (!FDirLabel) return;
    const int width = FDirLabel->AutoSize() ? Width() : FDirLabel->Width();
    FDirLabel->SetCaption(ShortenPathToWidth(FDirectory, FDirLabel->Canvas(), width));
}

int TbsSkinDirectoryListBox::FileCompareText(const String& A, const String& B) const
{
    return FCaseSensitive ? CompareStr(A, B) : CompareText(A, B);
}

String TbsSkinDirectoryListBox::DisplayCase(const String& S) const
{
    return FPreserveCase || FCaseSensitive ? S : LowerCase(S);
}

void TbsSkinDirectoryListBox::BuildDirectoryList()
{
    FStopUpDateHScrollBar = true;
    Items()->BeginUpdate();
    int selected = 0;
    try {
        Items()->Clear();
        // Case flags of the volume; a volume that doesn't answer keeps names as they are.
        DWORD flags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
        const String root = Drive();
        if (!GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0))
            flags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES;
        FPreserveCase = (flags & 3) != 0;
        FCaseSensitive = (flags & 1) != 0;
        // The chain: "/", each folder on the way (opened), the folder shown (current).
        std::vector<String> parts;
        for (size_t at = 1; at < FDirectory.size();) {
            const size_t slash = std::min(FDirectory.find(L'/', at), FDirectory.size());
            if (slash > at) parts.push_back(FDirectory.substr(at, slash - at));
            at = slash + 1;
        }
        Items()->AddObject(L"/", parts.empty() ? CurrentBMP : OpenedBMP);
        for (size_t i = 0; i < parts.size(); ++i)
            Items()->AddObject(parts[i], i + 1 == parts.size() ? CurrentBMP : OpenedBMP);
        selected = Items()->Count() - 1;
        // Sub-folders, hidden ones left out, in case-blind order.
        std::vector<String> subs;
        for (const String& name : ListDirectories(FDirectory))
            if (name[0] != L'.') subs.push_back(name);
        std::stable_sort(subs.begin(), subs.end(),
                         [](const String& a, const String& b) { return CompareText(a, b) < 0; });
        for (const String& name : subs) Items()->AddObject(name, ClosedBMP);
    } catch (...) {
        Items()->EndUpdate();
        FStopUpDateHScrollBar = false;
        throw;
    }
    Items()->EndUpdate();
    FStopUpDateHScrollBar = false;
    if (HandleAllocated()) {
        SetItemIndex(selected);
        UpDateScrollBar();
    }
}

String TbsSkinDirectoryListBox::GetItemPath(int Index)
{
    if (Index < 0 || Index >= Items()->Count()) return String();
    TObject* kind = Items()->Objects(Index);
    if (Index == 0) return L"/";
    if (kind == ClosedBMP) return AppendPathPart(FDirectory, Items()->Get(Index));
    if (kind == CurrentBMP) return FDirectory;
    // An ancestor: the path up to the separator that ends its level.
    int count = 0;
    for (size_t i = 0; i < FDirectory.size(); ++i)
        if (FDirectory[i] == L'/' && ++count == Index + 1) return FDirectory.substr(0, i);
    return FDirectory;
}

void TbsSkinDirectoryListBox::OpenCurrent() { SetDirectory(GetItemPath(ItemIndex())); }

void TbsSkinDirectoryListBox::ListBoxDblClick()
{
    TbsSkinListBox::ListBoxDblClick();
    OpenCurrent();
}

void TbsSkinDirectoryListBox::ListBoxKeyPress(wchar_t& Key)
{
    TbsSkinListBox::ListBoxKeyPress(Key);
    if (Key == 13) OpenCurrent();
}

int TbsSkinDirectoryListBox::ItemIndent(int Index) const
{
    if (const_cast<TbsSkinDirectoryListBox*>(this)->Items()->Objects(Index) == ClosedBMP)
        return (FDirectory == L"/" ? 1 : CountPathSeparators(FDirectory) + 1) * 4 + 2;
    return Index * 4 + 2;
}

int TbsSkinDirectoryListBox::GetItemWidth(int Index, TCanvas* C)
{
    auto* picture = static_cast<TBitmap*>(Items()->Objects(Index));
    return TbsSkinListBox::GetItemWidth(Index, C) + ItemIndent(Index) + (picture ? picture->Width() : 16) + 4;
}

void TbsSkinDirectoryListBox::DrawDirectoryItem(TCanvas* Cnvs, int Index, int, int, TRect TxtRect, TOwnerDrawState)
{
    if (Index < 0 || Index >= Items()->Count()) return;
    const int scroll = ListBox->HorizontalExtentValue();
    int glyphWidth = 16;
    const int indent = ItemIndent(Index);
    if (auto* picture = static_cast<TBitmap*>(Items()->Objects(Index))) {
        glyphWidth = picture->Width();
        Cnvs->Draw(TxtRect.Left + indent - scroll, (TxtRect.Top + TxtRect.Bottom - picture->Height()) / 2, picture);
    }
    Cnvs->Brush()->SetStyle(bsClear);
    DrawClippedTextIndent(Cnvs, Items()->Get(Index), TxtRect, glyphWidth + indent + 4 - scroll);
}
