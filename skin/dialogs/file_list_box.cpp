#include "skin/dialogs/file_list_box.h"

#include <dirent.h>

#include "platform/framework/controls/edit.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/screen.h"
#include "platform/win/file_api.h"
#include "skin/dialogs/directory_list_box.h"
#include "skin/dialogs/file_paths.h"
#include "skin/dialogs/filter_combo_box.h"

namespace {

// "*.*" stands for every name, also one without a dot.
bool MatchesFileMask(const String& Name, const String& Mask)
{
    return Mask == L"*.*" || Mask == L"*" || MatchesMask(Name, Mask);
}

}  // namespace

TbsSkinFileListBox::TbsSkinFileListBox(TComponent* AOwner) : TbsSkinListBox(AOwner)
{
    SetWidth(145);
    FDirectory = vxdirs::StartDirectory();
    SetMultiSelect(false);
    SetSorted(true);
}

TbsSkinFileListBox::~TbsSkinFileListBox()
{
    if (FDirList) FDirList->FFileList = nullptr;
    if (FFilterCombo) FFilterCombo->FFileList = nullptr;
}

void TbsSkinFileListBox::CreateWnd()
{
    TbsSkinListBox::CreateWnd();
    FillFileList();
}

void TbsSkinFileListBox::Notification(TComponent* AComponent, TOperation Operation)
{
    TbsSkinListBox::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FFileEdit) FFileEdit = nullptr;
    if (AComponent == FDirList) FDirList = nullptr;
    if (AComponent == FFilterCombo) FFilterCombo = nullptr;
}

String TbsSkinFileListBox::Drive() const { return vxdirs::VolumeOf(FDirectory); }

void TbsSkinFileListBox::SetMask(const String& Value)
{
    if (Value == FMask) return;
    FMask = Value;
    FillFileList();
}

void TbsSkinFileListBox::SetFileType(TbsFileType Value)
{
    if (Value.Bits() == FFileType.Bits()) return;
    FFileType = Value;
    FillFileList();
}

void TbsSkinFileListBox::SetFileEdit(TCustomEdit* Value)
{
    FFileEdit = Value;
    if (!FFileEdit) return;
    FFileEdit->FreeNotification(this);
    const String text = GetSelectedText();
    FFileEdit->SetText(text.empty() ? FMask : text);
}

void TbsSkinFileListBox::FillFileList()
{
    if (!HandleAllocated()) return;
    const DWORD attr = FFileType.Bits() & 0x3F;
    const DWORD asked = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    // The folder must still be there: the error reaches whoever asked for the listing.
    const String dir = vxdirs::EnterFolder(FDirectory, FDirectory);
    Clear();
    // A long listing shows the hourglass until it is complete.
    const TCursor cursor = Screen->Cursor();
    Items()->BeginUpdate();
    try {
        if (DIR* d = ::opendir(StringToUtf8(dir).c_str())) {
            while (dirent* e = ::readdir(d)) {
                const String name = Utf8ToString(e->d_name);
                if (name == L"." || name == L"..") continue;
                WIN32_FIND_DATAW data;
                HANDLE find = FindFirstFileW(AppendPathPart(dir, name).c_str(), &data);
                if (find == INVALID_HANDLE_VALUE) continue;  // gone since the folder was read
                FindClose(find);
                const DWORD a = data.dwFileAttributes;
                // Hidden, device and folder entries only when asked for.
                if (a & asked & ~attr) continue;
                if (!FFileType.Contains(bsftNormal) && !(a & attr)) continue;
                bool match = false;
                String masks = FMask;
                for (size_t semi; !match && !masks.empty(); masks.erase(0, semi == String::npos ? semi : semi + 1)) {
                    semi = masks.find(L';');
                    match = MatchesFileMask(name, masks.substr(0, semi));
                }
                if (match && Items()->Add(a & FILE_ATTRIBUTE_DIRECTORY ? L"[" + name + L"]" : name) == 100)
                    Screen->SetCursor(crHourGlass);
            }
            ::closedir(d);
        }
    } catch (...) {
        Items()->EndUpdate();
        Screen->SetCursor(cursor);
        throw;
    }
    Items()->EndUpdate();
    Screen->SetCursor(cursor);
    UpDateScrollBar();
    SelectionChanged();
}

String TbsSkinFileListBox::GetSelectedText()
{
    const int i = ItemIndex();
    if (i < 0 || i >= Items()->Count() || !GetSelected(i)) return String();
    return Items()->Get(i);
}

void TbsSkinFileListBox::SelectionChanged()
{
    FLastSel = ItemIndex();
    if (FFileEdit) {
        const String text = GetSelectedText();
        FFileEdit->SetText(text.empty() ? FMask : text);
        FFileEdit->SelectAll();
    }
    if (OnChange) OnChange(this);
}

void TbsSkinFileListBox::ListBoxClick()
{
    TbsSkinListBox::ListBoxClick();
    if (ItemIndex() != FLastSel) SelectionChanged();
}

String TbsSkinFileListBox::FileName()
{
    const String text = GetSelectedText();
    return text.empty() ? text : AppendPathPart(FDirectory, text);
}

void TbsSkinFileListBox::SelectFileName(const String& Name)
{
    if (Name == GetSelectedText()) return;
    int found = -1;
    for (int i = 0; i < Items()->Count() && found < 0; ++i)
        if (SameText(Items()->Get(i), Name)) found = i;
    SetItemIndex(found);
    SelectionChanged();
}

void TbsSkinFileListBox::ChangeDirectory(const String& NewDir)
{
    if (NewDir == FDirectory) return;
    FDirectory = vxdirs::EnterFolder(FDirectory, NewDir);
    FillFileList();
}

void TbsSkinFileListBox::ApplyFilePath(const String& EditText)
{
    if (EditText.empty() || EditText == FileName()) return;
    String dirPart, filePart;
    SplitEditPath(EditText, FDirectory, dirPart, filePart);
    if (FDirList)
        FDirList->SetDirectory(dirPart);
    else
        ChangeDirectory(dirPart);
    if (filePart.find_first_of(L"*?") != String::npos) {
        SetMask(filePart);
    } else if (!filePart.empty()) {
        SelectFileName(filePart);
        // A file the mask hides becomes the mask.
        if (GetSelectedText().empty() && FileExists(AppendPathPart(FDirectory, filePart))) {
            SetMask(filePart);
            SelectFileName(filePart);
        }
    }
}
