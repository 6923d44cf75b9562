// How the file dialogs look under a skin of the controls: the tool buttons of the open, save and
// picture dialogs wear the skin's "resizetoolbutton" control record where it has one and the
// "toolbutton" record otherwise, seen on the tool bar's pixels; under the program's own skin the
// open dialog's file list and the folder dialog's tree, drawn skinned, show an icon on every row.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win/headless_api.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/controls/skin_tool_bar.h"
#include "skin/core/skin_data.h"
#include "skin/core/stored_skin.h"
#include "skin/default/default_skin.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/picture_dialogs.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "skin/dialogs/shell_list_view.h"
#include "skin/dialogs/shell_tree_view.h"
#include "tests/skin/dialogs/file_dialog_fixture.h"
#include "tests/skin/support/synthetic_skin.h"

namespace {

using namespace skintest;

// A skin of the controls with a tool bar, "toolbutton" in one colour and, when asked,
// "resizetoolbutton" in another; every record a solid block without markers.
void ToolButtonSkin(SyntheticSkin& S, bool WithResize)
{
    const int p = S.AddPicture(120, 40);
    S.Block(p, Rect(0, 0, 40, 40), kExtra3, false);
    S.Block(p, Rect(40, 0, 80, 40), kNormal, false);
    S.Block(p, Rect(80, 0, 120, 40), kExtra1, false);
    const std::string nine =
        "lefttoppoint=3,3\r\nrighttoppoint=37,3\r\nleftbottompoint=3,37\r\nrightbottompoint=37,37\r\n"
        "clientrect=3,3,37,37\r\n";
    S.Control("toolpanel", "panel", "pictureindex=0\r\nskinrect=0,0,40,40\r\n" + nine);
    auto button = [&](int Left) {
        const std::string r = std::to_string(Left) + ",0," + std::to_string(Left + 40) + ",40";
        return "pictureindex=0\r\nskinrect=" + r + "\r\nactiveskinrect=" + r + "\r\ndownskinrect=" + r + "\r\n" +
               "lefttoppoint=3,3\r\nrighttoppoint=37,3\r\nleftbottompoint=3,37\r\nrightbottompoint=37,37\r\n"
               "clientrect=3,3,37,37\r\nstretcheffect=1\r\n";
    };
    S.Control("toolbutton", "button", button(40));
    if (WithResize) S.Control("resizetoolbutton", "button", button(80));
}

// 0xRRGGBB of the tool bar as shown at a point near the top-left corner of a button on it.
uint32_t ButtonCornerPixel(TbsSkinToolBar* Bar, TControl* Button)
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(Bar->Handle(), &w, &h);
    const int x = Button->Left() + 2, y = Button->Top() + 2;
    if (x < 0 || y < 0 || x >= w || y >= h) return 0xDEADBEEF;
    return px[static_cast<size_t>(y * w + x)] & 0xFFFFFF;
}

// The program's own skin, as the main window's skin lists hold it.
TbsSkinData* ProgramSkin(TComponent* Owner)
{
    TbsCompressedSkinList list(nullptr);
    FillDefaultSkinItem(*list.Skins()->Add());
    auto* skin = new TbsSkinData(Owner);
    skin->LoadCompressedStoredSkin(list.Skins()->GetItem(0)->Skin());
    return skin;
}

// How many pixels of a 16 x 16 square at (X, Y) of a window differ from Background: a drawn icon
// covers well over half of its square, an empty gap none.
int InkIn(TWinControl* C, int X, int Y, TColor Background)
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(C->Handle(), &w, &h);
    const uint32_t bg = RgbOf(ColorToRGB(Background));
    int n = 0;
    for (int y = std::max(Y, 0); y < std::min(Y + 16, h); ++y)
        for (int x = std::max(X, 0); x < std::min(X + 16, w); ++x)
            n += (px[static_cast<size_t>(y * w + x)] & 0xFFFFFF) != bg ? 1 : 0;
    return n;
}

enum DialogKind { dkOpen, dkSave, dkPicture };

struct DialogLooksTest : FileDialogTest, ::testing::WithParamInterface<std::tuple<DialogKind, bool>> {};

}  // namespace

TEST_P(DialogLooksTest, ToolButtonsWearTheResizeToolButtonRecordWhenTheSkinHasOne)
{
    const auto [kind, withResize] = GetParam();
    auto* model = new TbsSkinData(Application);
    SyntheticSkin s;
    ToolButtonSkin(s, withResize);
    s.LoadInto(model);
    ASSERT_EQ(model->GetControlIndex(L"resizetoolbutton") != -1, withResize);

    TbsSkinOpenDialog* dialog = nullptr;
    if (kind == dkOpen)
        dialog = new TbsSkinOpenDialog(Application);
    else if (kind == dkSave)
        dialog = new TbsSkinSaveDialog(Application);
    else
        dialog = new TbsSkinOpenPictureDialog(Application);
    dialog->SetCtrlSkinData(model);
    dialog->SetInitialDir(Path());
    const String expectedName = withResize ? L"resizetoolbutton" : L"toolbutton";
    const uint32_t expectedFace = withResize ? kExtra1 : kNormal;
    const bool resize = withResize;  // a structured binding cannot be captured by every compiler
    bool checked = false;
    ModalScript script({[&](TCustomForm* F) {
        auto* f = dynamic_cast<TbsOpenDlgForm*>(F);
        ASSERT_NE(f, nullptr);
        checked = true;
        for (TbsSkinSpeedButton* b : {f->BackToolButton, f->UpToolButton, f->NewFolderToolButton}) {
            EXPECT_EQ(b->SkinDataName(), expectedName) << StringToUtf8(b->Name());
            EXPECT_EQ(ButtonCornerPixel(f->ToolPanel, b), expectedFace) << StringToUtf8(b->Name());
        }
        EXPECT_EQ(f->StyleToolButton->SkinDataName(), resize ? L"resizetoolbutton" : L"toolmenubutton");
        if (auto* p = dynamic_cast<TbsOpenPictureDlgForm*>(F)) {
            EXPECT_EQ(p->StretchButton->SkinDataName(), resize ? L"resizetoolbutton" : L"toolbutton");
        }
        PressKey(VK_ESCAPE, kNoMods, L"\x1b");
    }});
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(script.Done());
    EXPECT_TRUE(checked);
}

INSTANTIATE_TEST_SUITE_P(OpenSaveAndPicture, DialogLooksTest,
                         ::testing::Combine(::testing::Values(dkOpen, dkSave, dkPicture), ::testing::Bool()));

struct DialogIconsTest : FileDialogTest {
    void SetUp() override
    {
        FileDialogTest::SetUp();
        Make("素材/有子目录/子");
        Make("素材/空目录");
        Touch("素材/clip.mkv");
        Touch("素材/song.mp3");
        Touch("素材/notes.txt");
    }
};

TEST_F(DialogIconsTest, TheOpenDialogsSkinnedListShowsAnIconOnEveryRow)
{
    auto* dialog = new TbsSkinOpenDialog(Application);
    dialog->SetCtrlSkinData(ProgramSkin(dialog));
    dialog->SetInitialDir(Path("素材"));
    ModalScript script({[&](TCustomForm* F) {
        auto* f = dynamic_cast<TbsOpenDlgForm*>(F);
        ASSERT_NE(f, nullptr);
        TbsSkinFileListView* list = f->FileListView;
        ASSERT_TRUE(list->DrawSkin());
        ASSERT_EQ(list->Items()->Count(), 5);
        for (TViewStyle style : {vsList, vsReport, vsSmallIcon, vsIcon}) {
            SCOPED_TRACE(static_cast<int>(style));
            list->SetViewStyle(style);
            const int size = style == vsIcon ? 32 : 16;
            for (int i = 0; i < list->Items()->Count(); ++i) {
                TListItem* item = list->Items()->Item(i);
                const TRect icon = item->DisplayRect(drIcon);
                const int x = style == vsIcon ? icon.Left + icon.Width() / 2 - size / 2 : icon.Left;
                const int y = style == vsIcon ? icon.Top + 2 : icon.Top;
                EXPECT_GT(InkIn(list, x, y, list->Color()) + InkIn(list, x + size - 16, y + size - 16, list->Color()),
                          100)
                    << StringToUtf8(item->Caption());
            }
        }
        PressKey(VK_ESCAPE, kNoMods, L"\x1b");
    }});
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(script.Done());
}

TEST_F(DialogIconsTest, TheFolderDialogsSkinnedTreeShowsAnIconOnEveryRowAndPlusOnlyWhereSubFoldersAre)
{
    auto* dialog = new TbsSkinSelectDirectoryDialog(Application);
    dialog->SetCtrlSkinData(ProgramSkin(dialog));
    dialog->SetDirectory(Path("素材"));
    ModalScript script({[&](TCustomForm* F) {
        auto* f = dynamic_cast<TbsSelDirDlgForm*>(F);
        ASSERT_NE(f, nullptr);
        TbsSkinDirTreeView* tree = f->DirTreeView;
        ASSERT_TRUE(tree->DrawSkin());
        tree->Selected()->Expand(false);
        int rows = 0;
        for (TTreeNode* n = tree->TopItem(); n; n = n->GetNextVisible()) {
            const TRect text = n->DisplayRect(true);
            if (text.Top >= tree->ClientHeight()) break;
            ++rows;
            EXPECT_GT(InkIn(tree, text.Left - 18, (text.Top + text.Bottom) / 2 - 8, tree->Color()), 60)
                << StringToUtf8(n->Text());
        }
        EXPECT_GE(rows, 3);
        TTreeNode* withSub = nullptr;
        TTreeNode* empty = nullptr;
        for (TTreeNode* n = tree->Selected()->GetFirstChild(); n; n = n->GetNextSibling()) {
            if (n->Text() == L"有子目录") withSub = n;
            if (n->Text() == L"空目录") empty = n;
        }
        ASSERT_TRUE(withSub && empty);
        EXPECT_TRUE(withSub->HasChildren());
        EXPECT_FALSE(empty->HasChildren());
        PressKey(VK_ESCAPE, kNoMods, L"\x1b");
    }});
    EXPECT_FALSE(dialog->Execute());
    EXPECT_TRUE(script.Done());
}
