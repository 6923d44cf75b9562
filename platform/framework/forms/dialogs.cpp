#include "platform/framework/forms/dialogs.h"

#include <algorithm>
#include <memory>

#include "platform/framework/controls/button.h"
#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/label.h"
#include "platform/framework/controls/list_box.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/headless_api.h"

TFileDialogHandler FileDialogHandler;

namespace {
std::vector<String> SplitPatterns(const String& patterns)
{
    std::vector<String> out;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t semi = patterns.find(L';', start);
        String p = Trim(patterns.substr(start, semi == String::npos ? String::npos : semi - start));
        if (!p.empty()) out.push_back(p);
        if (semi == String::npos) break;
        start = semi + 1;
    }
    return out;
}
}  // namespace

TOpenDialog::TOpenDialog(TComponent* AOwner) : TCommonDialog(AOwner) {}

std::vector<std::pair<String, String>> TOpenDialog::FilterEntries() const
{
    std::vector<std::pair<String, String>> out;
    std::vector<String> parts;
    size_t start = 0;
    while (start < FFilter.size()) {
        size_t bar = FFilter.find(L'|', start);
        parts.push_back(FFilter.substr(start, bar == String::npos ? String::npos : bar - start));
        if (bar == String::npos) break;
        start = bar + 1;
    }
    for (size_t i = 0; i + 1 < parts.size(); i += 2) out.emplace_back(parts[i], parts[i + 1]);
    return out;
}

bool TOpenDialog::MatchesFilter(const String& Name, int Index) const
{
    auto entries = FilterEntries();
    if (Index < 1 || Index > static_cast<int>(entries.size())) return true;
    for (const String& p : SplitPatterns(entries[static_cast<size_t>(Index - 1)].second))
        if (MatchesMask(ExtractFileName(Name), p)) return true;
    return false;
}

bool TOpenDialog::AcceptNames(std::vector<String>& names)
{
    if (names.empty()) return false;
    String folder = FInitialDir.empty() ? GetCurrentDir() : FInitialDir;
    for (String& n : names) {
        if (n.empty()) return false;
        if (n[0] != PathDelim) n = IncludeTrailingPathDelimiter(folder) + n;
        if (!FDefaultExt.empty() && ExtractFileExt(n).empty() && !DirectoryExists(n)) {
            String ext = FDefaultExt[0] == L'.' ? FDefaultExt : L"." + FDefaultExt;
            n += ext;
        }
    }
    if (!FDefaultExt.empty()) {
        String want = FDefaultExt[0] == L'.' ? FDefaultExt : L"." + FDefaultExt;
        if (SameText(ExtractFileExt(names[0]), want))
            FOptions.Exclude(ofExtensionDifferent);
        else
            FOptions.Include(ofExtensionDifferent);
    }
    for (const String& n : names) {
        if ((FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist)) &&
            !DirectoryExists(ExtractFileDir(n))) {
            if (Application)
                Application->MessageBox(ExtractFileDir(n) + L"\n路径不存在。", FTitle, MB_OK | MB_ICONWARNING);
            return false;
        }
        if (FOptions.Contains(ofFileMustExist) && !FileExists(n)) {
            if (Application)
                Application->MessageBox(ExtractFileName(n) + L"\n文件不存在。", FTitle, MB_OK | MB_ICONWARNING);
            return false;
        }
    }
    if (IsSave() && FOptions.Contains(ofOverwritePrompt) && FileExists(names[0])) {
        if (!Application || Application->MessageBox(ExtractFileName(names[0]) + L" 已存在。\n要替换它吗？", FTitle,
                                                    MB_YESNO | MB_ICONWARNING) != IDYES)
            return false;
    }
    return true;
}

bool TOpenDialog::Execute()
{
    if (OnShow) OnShow(this);
    std::vector<String> names;
    bool ok = false;
    if (FileDialogHandler) {
        ok = FileDialogHandler(this, IsSave(), names) && AcceptNames(names);
    } else if (std::string(vxwin::BackendName()) != "headless") {
        ok = ShowPlainDialog(names);
    }
    if (ok) {
        FFiles.Clear();
        for (const String& n : names) FFiles.Add(n);
        FFileName = names.front();
        if (!FOptions.Contains(ofNoChangeDir)) FInitialDir = ExtractFileDir(FFileName);
    }
    if (OnClose) OnClose(this);
    return ok;
}

bool TOpenDialog::ShowPlainDialog(std::vector<String>& names)
{
    std::unique_ptr<TForm> dlg(new TForm(nullptr));
    dlg->SetBorderStyle(bsDialog);
    dlg->SetCaption(!FTitle.empty() ? FTitle : IsSave() ? String(L"另存为") : String(L"打开"));
    dlg->SetPosition(poScreenCenter);
    dlg->SetClientSize(460, 330);
    String folder = ExcludeTrailingPathDelimiter(FInitialDir.empty() ? GetCurrentDir() : FInitialDir);
    auto* path = new TLabel(dlg.get());
    path->SetBounds(10, 10, 440, 17);
    path->SetParent(dlg.get());
    auto* list = new TListBox(dlg.get());
    list->SetBounds(10, 32, 440, 200);
    list->SetMultiSelect(FOptions.Contains(ofAllowMultiSelect));
    list->SetParent(dlg.get());
    auto* nameLabel = new TLabel(dlg.get());
    nameLabel->SetBounds(10, 244, 60, 17);
    nameLabel->SetCaption(L"文件名：");
    nameLabel->SetParent(dlg.get());
    auto* name = new TEdit(dlg.get());
    name->SetBounds(80, 240, 280, 21);
    name->SetParent(dlg.get());
    name->SetText(ExtractFileName(FFileName));
    auto* typeLabel = new TLabel(dlg.get());
    typeLabel->SetBounds(10, 274, 60, 17);
    typeLabel->SetCaption(L"文件类型：");
    typeLabel->SetParent(dlg.get());
    auto* types = new TComboBox(dlg.get());
    types->SetBounds(80, 270, 280, 21);
    types->SetStyle(csDropDownList);
    types->SetParent(dlg.get());
    auto entries = FilterEntries();
    for (auto& e : entries) types->Items()->Add(e.first);
    types->SetItemIndex(std::clamp(FFilterIndex, 1, std::max<int>(1, static_cast<int>(entries.size()))) - 1);
    auto* ok = new TButton(dlg.get());
    ok->SetBounds(375, 238, 75, 25);
    ok->SetCaption(IsSave() ? L"保存" : L"打开");
    ok->SetDefault(true);
    ok->SetParent(dlg.get());
    auto* cancel = new TButton(dlg.get());
    cancel->SetBounds(375, 268, 75, 25);
    cancel->SetCaption(L"取消");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    cancel->SetParent(dlg.get());

    auto fill = [&] {
        path->SetCaption(folder.empty() ? String(L"/") : folder);
        list->Items()->BeginUpdate();
        list->Items()->Clear();
        if (!folder.empty()) list->Items()->Add(L"../");
        for (const String& d : ListDirectories(folder.empty() ? L"/" : folder))
            if (FOptions.Contains(ofForceShowHidden) || d.empty() || d[0] != L'.') list->Items()->Add(d + L"/");
        for (const String& f : ListFiles(folder.empty() ? L"/" : folder))
            if (MatchesFilter(f, types->ItemIndex() + 1)) list->Items()->Add(f);
        list->Items()->EndUpdate();
    };
    auto enter = [&](const String& entry) {
        if (entry == L"../")
            folder = ExtractFileDir(folder);
        else
            folder = IncludeTrailingPathDelimiter(folder) + entry.substr(0, entry.size() - 1);
        if (folder.size() > 1) folder = ExcludeTrailingPathDelimiter(folder);
        fill();
    };
    list->OnClick = [&](TObject*) {
        int i = list->ItemIndex();
        if (i >= 0 && !EndsText(L"/", list->Items()->Get(i))) name->SetText(list->Items()->Get(i));
    };
    list->OnDblClick = [&](TObject*) {
        int i = list->ItemIndex();
        if (i < 0) return;
        String e = list->Items()->Get(i);
        if (EndsText(L"/", e))
            enter(e);
        else
            ok->Click();
    };
    types->OnChange = [&](TObject*) { fill(); };
    ok->OnClick = [&](TObject*) {
        std::vector<String> chosen;
        if (list->MultiSelect() && list->SelCount() > 1) {
            for (int i = 0; i < list->Count(); ++i)
                if (list->Selected(i) && !EndsText(L"/", list->Items()->Get(i)))
                    chosen.push_back(IncludeTrailingPathDelimiter(folder) + list->Items()->Get(i));
        } else if (!name->Text().empty()) {
            String n = name->Text();
            String full = n[0] == PathDelim ? n : IncludeTrailingPathDelimiter(folder) + n;
            if (DirectoryExists(full)) {
                folder = ExcludeTrailingPathDelimiter(full);
                name->SetText(L"");
                fill();
                return;
            }
            chosen.push_back(full);
        }
        if (chosen.empty()) return;
        String saveDir = FInitialDir;
        FInitialDir = folder;
        if (!AcceptNames(chosen)) {
            FInitialDir = saveDir;
            return;
        }
        names = chosen;
        FFilterIndex = types->ItemIndex() + 1;
        dlg->SetModalResult(mrOk);
    };
    fill();
    dlg->SetActiveControl(name);
    return dlg->ShowModal() == mrOk;
}

TOpenPictureDialog::TOpenPictureDialog(TComponent* AOwner) : TOpenDialog(AOwner)
{
    FFilter =
        L"所有图片 (*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.ico)|*.bmp;*.jpg;*.jpeg;*.png;*.gif;*.ico|"
        L"Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG (*.png)|*.png|GIF (*.gif)|*.gif";
}

TSavePictureDialog::TSavePictureDialog(TComponent* AOwner) : TSaveDialog(AOwner)
{
    FFilter = L"Bitmaps (*.bmp)|*.bmp|JPEG Image File (*.jpg;*.jpeg)|*.jpg;*.jpeg|PNG (*.png)|*.png|GIF (*.gif)|*.gif";
}
