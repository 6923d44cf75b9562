// The folder chooser driven inside its modal loop on real folders: the preset folder, a missing
// one, OK and Esc, the size carried to the next call, and the tool bar's path edit and New folder.
#include <gtest/gtest.h>

#include "platform/framework/core/files.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/core/png_image_list.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "skin/dialogs/shell_tree_view.h"
#include "skin/form/skin_form.h"
#include "tests/skin/dialogs/file_dialog_fixture.h"

namespace {

using Steps = std::vector<ModalScript::Step>;

TbsSelDirDlgForm* AsDirForm(TCustomForm* F)
{
    auto* f = dynamic_cast<TbsSelDirDlgForm*>(F);
    EXPECT_NE(f, nullptr);
    return f;
}

// The child node of Node captioned Text, or nullptr.
TTreeNode* ChildNode(TTreeNode* Node, const String& Text)
{
    for (int i = 0; Node && i < Node->Count(); ++i)
        if (Node->Item(i)->Text() == Text) return Node->Item(i);
    return nullptr;
}

// A click on a node's caption.
void ClickNode(TCustomTreeView* Tree, TTreeNode* Node)
{
    ASSERT_NE(Node, nullptr);
    const TRect r = Node->DisplayRect(true);
    const TPoint p = Tree->ClientToScreen(Point(r.Left + 4, (r.Top + r.Bottom) / 2));
    Click(p.X, p.Y);
}

struct SelectDirectoryTest : FileDialogTest {
    TbsSkinSelectDirectoryDialog* Dialog = nullptr;

    void SetUp() override
    {
        FileDialogTest::SetUp();
        Make("视频 素材/子目录");
        Make("视频 素材/.隐藏");
        Dialog = new TbsSkinSelectDirectoryDialog(Application);
        Dialog->SetDirectory(Path("视频 素材"));
    }
    bool Run(Steps S) { return RunDialog(Dialog, std::move(S)); }
};

}  // namespace

TEST_F(SelectDirectoryTest, OpensOnThePresetFolderAndEscKeepsDirectoryButNotTheSize)
{
    int shows = 0, closes = 0;
    Dialog->OnShow = [&](TObject* S) {
        EXPECT_EQ(S, Dialog);
        ++shows;
    };
    Dialog->OnClose = [&](TObject*) { ++closes; };
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
                          TbsSelDirDlgForm* f = AsDirForm(F);
                          EXPECT_EQ(shows, 1);
                          EXPECT_EQ(closes, 0);
                          EXPECT_EQ(f->Caption(), L"Select folder");
                          EXPECT_TRUE(f->BSF->BorderIcons().Empty());
                          EXPECT_EQ(f->ClientWidth(), 280);
                          EXPECT_EQ(f->ClientHeight(), 280);
                          EXPECT_EQ(f->DirTreeView->Path(), Path("视频 素材"));
                          EXPECT_EQ(f->OkButton->Caption(), L"OK");
                          EXPECT_EQ(f->CancelButton->Caption(), L"Cancel");
                          EXPECT_EQ(f->ToolPanel, nullptr);
                          // Hidden folders are shown.
                          f->DirTreeView->Selected()->Expand(false);
                          EXPECT_NE(ChildNode(f->DirTreeView->Selected(), L".隐藏"), nullptr);
                          f->SetClientSize(300, 320);
                          ClickNode(f->DirTreeView, ChildNode(f->DirTreeView->Selected(), L"子目录"));
                      },
                      [&](TCustomForm* F) {
                          EXPECT_EQ(AsDirForm(F)->DirTreeView->Path(), Path("视频 素材/子目录"));
                          PressEsc();
                      }}));
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(Dialog->Directory(), Path("视频 素材"));
    EXPECT_EQ(Dialog->DialogWidth(), 300);
    EXPECT_EQ(Dialog->DialogHeight(), 320);

    // The next call opens at the size left; a double click on a subfolder, then OK.
    EXPECT_TRUE(Run({[&](TCustomForm* F) {
                         TbsSelDirDlgForm* f = AsDirForm(F);
                         EXPECT_EQ(f->ClientWidth(), 300);
                         EXPECT_EQ(f->ClientHeight(), 320);
                         f->DirTreeView->Selected()->Expand(false);
                         TTreeNode* sub = ChildNode(f->DirTreeView->Selected(), L"子目录");
                         ClickNode(f->DirTreeView, sub);
                         ClickNode(f->DirTreeView, sub);
                     },
                     [&](TCustomForm* F) { ClickControl(AsDirForm(F)->OkButton); }}));
    EXPECT_EQ(Dialog->Directory(), Path("视频 素材/子目录"));
}

TEST_F(SelectDirectoryTest, AMissingOrEmptyDirectoryOpensOnTheComputer)
{
    for (const String& dir : {Path("gone"), String()}) {
        Dialog->SetDirectory(dir);
        EXPECT_FALSE(Run({[&](TCustomForm* F) {
            TbsSelDirDlgForm* f = AsDirForm(F);
            TTreeNode* node = f->DirTreeView->Selected();
            ASSERT_NE(node, nullptr);
            EXPECT_EQ(node->Text(), L"计算机");
            EXPECT_TRUE(node->Expanded());
            // The computer is no file-system folder: New folder would make nothing (no tool bar
            // here, so called directly).
            f->NewFolderToolButtonClick(nullptr);
            ClickControl(f->CancelButton);
        }}));
        EXPECT_EQ(Dialog->Directory(), dir);
    }
}

TEST_F(SelectDirectoryTest, TheToolBarsEditFollowsTheTreeAndEnterOpensATypedFolder)
{
    Make("另一个/深处");
    Dialog->SetShowToolBar(true);
    EXPECT_TRUE(Run({[&](TCustomForm* F) {
        TbsSelDirDlgForm* f = AsDirForm(F);
        ASSERT_NE(f->DirEdit, nullptr);
        EXPECT_EQ(f->PngImgList->Count(), 1);
        EXPECT_EQ(f->NewFolderToolButton->Hint(), L"Create New Folder");
        EXPECT_EQ(f->DirEdit->Text(), Path("视频 素材"));
        // A text that is no folder is ignored.
        f->DirEdit->SetText(Path("另一个/无"));
        f->DirEdit->SetFocus();
        wchar_t enter = 13;
        f->DirEditKeyPress(f->DirEdit, enter);
        EXPECT_EQ(f->DirTreeView->Path(), Path("视频 素材"));
        // Enter in the edit opens the folder and, OK being the default button, accepts it.
        f->DirEdit->SetText(Path("另一个/深处"));
        PressEnter();
    }}));
    EXPECT_EQ(Dialog->Directory(), Path("另一个/深处"));
}

TEST_F(SelectDirectoryTest, NewFolderMakesOneFolderInTheSelectedOne)
{
    Dialog->SetShowToolBar(true);
    EXPECT_FALSE(Run({[&](TCustomForm* F) { ClickControl(AsDirForm(F)->NewFolderToolButton); },
                      [&](TCustomForm* F) {
                          TbsSelDirDlgForm* f = AsDirForm(F);
                          EXPECT_TRUE(DirectoryExists(Path("视频 素材/New Folder")));
                          f->DirTreeView->Selected()->Expand(false);
                          EXPECT_NE(ChildNode(f->DirTreeView->Selected(), L"New Folder"), nullptr);
                          // No numbering: a second click makes nothing.
                          ClickControl(f->NewFolderToolButton);
                      },
                      [&](TCustomForm*) {
                          EXPECT_FALSE(DirectoryExists(Path("视频 素材/New Folder(2)")));
                          EXPECT_EQ(ListDirectories(Path("视频 素材")).size(), 3u);
                          PressEsc();
                      }}));
}
