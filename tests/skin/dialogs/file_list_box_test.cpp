#include "skin/dialogs/file_list_box.h"

#include "skin/dialogs/filter_combo_box.h"
#include "tests/skin/dialogs/shell_view_fixture.h"

namespace {

class FileListBoxTest : public ShellViewTest {
protected:
    void SetUp() override
    {
        ShellViewTest::SetUp();
        Make("列表/子目录");
        Make("列表/.config");
        Touch("列表/报告.txt");
        Touch("列表/b.LOG");
        Touch("列表/README");
        Touch("列表/.隐藏.txt");
        Touch("列表/只读.txt");
    }
    String Listed(TbsSkinFileListBox* Files)
    {
        String out;
        for (int i = 0; i < Files->Items()->Count(); ++i) out += (i ? L"|" : L"") + Files->Items()->Get(i);
        return out;
    }
};

TEST_F(FileListBoxTest, ListsByMaskAndFileType)
{
    auto* files = Place(new TbsSkinFileListBox(FForm));
    files->ChangeDirectory(Path("列表"));
    const struct {
        const wchar_t* Mask;
        TbsFileType Type;
        const wchar_t* Want;
    } rows[] = {
        {L"*.*", {bsftNormal}, L"README|b.LOG|只读.txt|报告.txt"},   // no folders, nothing hidden
        {L"*.txt;*.LOG", {bsftNormal}, L"b.LOG|只读.txt|报告.txt"},  // both kinds, sorted together
        {L"*.*", {bsftDirectory}, L"[子目录]"},
        {L"*.*", {bsftNormal, bsftDirectory}, L"README|[子目录]|b.LOG|只读.txt|报告.txt"},
        {L"*.*", {bsftDirectory, bsftHidden}, L"[.config]|[子目录]|.隐藏.txt"},
        {L"*.doc", {bsftNormal}, L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(StringToUtf8(row.Mask));
        files->SetMask(row.Mask);
        files->SetFileType(row.Type);
        // Sorted as the list sorts; compare as sets by sorting the wanted names the same way.
        TStringList want;
        want.SetSorted(true);
        for (String rest = row.Want; !rest.empty();) {
            const size_t bar = rest.find(L'|');
            want.Add(rest.substr(0, bar));
            rest = bar == String::npos ? String() : rest.substr(bar + 1);
        }
        String wanted;
        for (int i = 0; i < want.Count(); ++i) wanted += (i ? L"|" : L"") + want.Strings(i);
        EXPECT_EQ(Listed(files), wanted);
    }
}

TEST_F(FileListBoxTest, FilePathsSelectEnterAndSetTheMask)
{
    auto* files = Place(new TbsSkinFileListBox(FForm));
    auto* filter = Place(new TbsSkinFilterComboBox(FForm), 200);
    filter->SetFilter(L"文本|*.txt|全部|*.*");
    filter->SetFileList(files);
    EXPECT_EQ(files->FilterCombo(), filter);
    files->SetDirectory(Path("列表"));
    EXPECT_EQ(files->Directory(), Path("列表"));
    filter->SetItemIndex(0);
    EXPECT_EQ(files->Mask(), L"*.txt");
    EXPECT_EQ(Listed(files).find(L"README"), String::npos);

    // A file the mask hides becomes the mask and is selected.
    files->SetFileName(Path("列表/README"));
    EXPECT_EQ(files->Mask(), L"README");
    EXPECT_EQ(files->FileName(), Path("列表/README"));
    // A wildcard part is the mask; a name is selected.
    files->SetFileName(L"*.txt");
    EXPECT_EQ(files->Mask(), L"*.txt");
    files->SetFileName(L"报告.txt");
    EXPECT_EQ(files->FileName(), Path("列表/报告.txt"));
    delete filter;
    EXPECT_EQ(files->FilterCombo(), nullptr);
}

}  // namespace
