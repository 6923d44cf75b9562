// The picture dialogs driven inside their modal loop on real folders: a large bitmap made here
// previewed at full size with both bars and stretched without them, a folder emptying the
// preview, unreadable pictures leaving it empty, FileName previewed at once, what carries to the
// next call, and save-mode extensions.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/framework/controls/image.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/scroll_box.h"
#include "skin/boxes/skin_edit.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/controls/skin_speed_button.h"
#include "skin/core/png_image_list.h"
#include "skin/dialogs/filter_combo_box.h"
#include "skin/dialogs/picture_dialogs.h"
#include "tests/skin/dialogs/file_dialog_fixture.h"

namespace {

using Steps = std::vector<ModalScript::Step>;

constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;

TbsOpenPictureDlgForm* AsPictureForm(TCustomForm* F)
{
    auto* f = dynamic_cast<TbsOpenPictureDlgForm*>(F);
    EXPECT_NE(f, nullptr);
    return f;
}

// 0xRRGGBB of the preview box as shown, after the loop has run.
uint32_t PreviewPixel(TbsOpenPictureDlgForm* F, int X, int Y)
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    int w = 0, h = 0;
    auto px = vxwin::WindowPixels(F->ScrollBox->Handle(), &w, &h);
    if (X < 0) X += w;
    if (Y < 0) Y += h;
    if (X < 0 || Y < 0 || X >= w || Y >= h) return 0xDEADBEEF;
    return px[static_cast<size_t>(Y * w + X)] & 0xFFFFFF;
}

struct PictureDialogTest : FileDialogTest {
    TbsSkinOpenPictureDialog* Dialog = nullptr;

    void SetUp() override
    {
        FileDialogTest::SetUp();
        Make("图片 素材/子目录");
        // 1024 x 768: the top-left quarter red, the rest blue.
        TBitmap b;
        b.SetSize(1024, 768);
        b.Canvas()->Brush()->SetColor(0xFF0000);  // blue (BGR)
        b.Canvas()->FillRect(Rect(0, 0, 1024, 768));
        b.Canvas()->Brush()->SetColor(0x0000FF);
        b.Canvas()->FillRect(Rect(0, 0, 512, 384));
        b.SaveToFile(Path("图片 素材/大图.bmp"));
        std::ofstream(Root + "/图片 素材/damaged.png", std::ios::binary) << std::string("\x89PNG\r\n\x1a\nbroken", 14);
        Touch("图片 素材/drawing.wmf", "not a picture class here");
        Dialog = new TbsSkinOpenPictureDialog(Application);
        Dialog->SetInitialDir(Path("图片 素材"));
        Dialog->SetFilter(L"All|*.*");
    }
    bool Run(Steps S) { return RunDialog(Dialog, std::move(S)); }
};

}  // namespace

TEST_F(PictureDialogTest, PreviewsABitmapAtFullSizeThenStretchedAndAFolderEmptiesIt)
{
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
                          TbsOpenPictureDlgForm* f = AsPictureForm(F);
                          EXPECT_EQ(f->Caption(), L"Open picture");
                          EXPECT_EQ(f->ClientWidth(), 550);
                          EXPECT_EQ(f->ClientHeight(), 290);
                          EXPECT_EQ(f->ImagePanel->Width(), 190);
                          EXPECT_EQ(f->ImagePanel->Left() + f->ImagePanel->Width(), f->ClientWidth());
                          EXPECT_LT(f->FileListViewPanel->Left() + f->FileListViewPanel->Width(),
                                    f->ImagePanel->Left());
                          EXPECT_EQ(f->PngImgList->Count(), 5);
                          EXPECT_EQ(f->StretchButton->Hint(), L"Stretch Picture");
                          EXPECT_LT(f->StyleToolButton->Left(), f->StretchButton->Left());
                          // Fixed places in the bottom row.
                          EXPECT_EQ(f->OpenButton->Left(), 370);
                          EXPECT_EQ(f->FileNameEdit->Width(), 280);
                          EXPECT_FALSE(f->SBHScrollBar->Visible());
                          ClickRow(f->FileListView, L"大图.bmp");
                      },
                      [&](TCustomForm* F) {
                          TbsOpenPictureDlgForm* f = AsPictureForm(F);
                          EXPECT_EQ(f->FileNameEdit->Text(), L"大图.bmp");
                          EXPECT_EQ(f->Image->Width(), 1024);
                          EXPECT_EQ(f->Image->Height(), 768);
                          EXPECT_TRUE(f->SBHScrollBar->Visible());
                          EXPECT_TRUE(f->SBVScrollBar->Visible());
                          // At its own size the pane shows only the red quarter.
                          EXPECT_EQ(PreviewPixel(f, 5, 5), kRed);
                          EXPECT_EQ(PreviewPixel(f, -5, -5), kRed);
                          ClickControl(f->StretchButton);
                      },
                      [&](TCustomForm* F) {
                          TbsOpenPictureDlgForm* f = AsPictureForm(F);
                          EXPECT_TRUE(f->StretchButton->Down());
                          EXPECT_TRUE(f->Image->Stretch());
                          EXPECT_FALSE(f->SBHScrollBar->Visible());
                          EXPECT_FALSE(f->SBVScrollBar->Visible());
                          EXPECT_EQ(PreviewPixel(f, 5, 5), kRed);
                          EXPECT_EQ(PreviewPixel(f, -5, -5), kBlue);
                          ClickControl(f->StretchButton);
                      },
                      [&](TCustomForm* F) {
                          TbsOpenPictureDlgForm* f = AsPictureForm(F);
                          EXPECT_FALSE(f->Image->Stretch());
                          EXPECT_EQ(f->Image->Width(), 1024);
                          EXPECT_TRUE(f->SBHScrollBar->Visible());
                          ClickRow(f->FileListView, L"子目录");
                      },
                      [&](TCustomForm* F) {
                          TbsOpenPictureDlgForm* f = AsPictureForm(F);
                          EXPECT_EQ(f->FileNameEdit->Text(), L"");
                          EXPECT_EQ(f->Image->Width(), 0);
                          EXPECT_EQ(f->Image->Height(), 0);
                          EXPECT_FALSE(f->SBHScrollBar->Visible());
                          f->StretchButton->SetDown(true);
                          f->StretchButtonClick(nullptr);
                          f->ImagePanel->SetWidth(230);
                          f->SetClientSize(600, 320);
                          PressEsc();
                      }}));
    EXPECT_EQ(Dialog->PaneWidth(), 230);
    EXPECT_TRUE(Dialog->StretchState());
    EXPECT_EQ(Dialog->DialogWidth(), 600);

    // The next call starts as the user left it, FileName previewed before anything is done.
    Dialog->SetFileName(Path("图片 素材/大图.bmp"));
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenPictureDlgForm* f = AsPictureForm(F);
        EXPECT_EQ(f->ClientWidth(), 600);
        EXPECT_EQ(f->ImagePanel->Width(), 230);
        EXPECT_TRUE(f->StretchButton->Down());
        EXPECT_TRUE(f->Image->Stretch());
        EXPECT_EQ(f->FileNameEdit->Text(), L"大图.bmp");
        EXPECT_EQ(PreviewPixel(f, 5, 5), kRed);
        EXPECT_EQ(PreviewPixel(f, -5, -5), kBlue);
        ClickControl(f->CancelButton);
    }}));
}

TEST_F(PictureDialogTest, UnreadablePicturesLeaveThePreviewEmptyAndTheDialogUsable)
{
    // A FileName the loader cannot read does not stop the dialog.
    Dialog->SetFileName(Path("图片 素材/drawing.wmf"));
    EXPECT_TRUE(Run({[&](TCustomForm* F) {
                         TbsOpenPictureDlgForm* f = AsPictureForm(F);
                         EXPECT_EQ(f->Image->Picture()->Graphic(), nullptr);
                         EXPECT_EQ(f->FileNameEdit->Text(), L"drawing.wmf");
                         ClickRow(f->FileListView, L"大图.bmp");
                     },
                     [&](TCustomForm* F) {
                         TbsOpenPictureDlgForm* f = AsPictureForm(F);
                         EXPECT_EQ(f->Image->Width(), 1024);
                         ClickRow(f->FileListView, L"damaged.png");
                     },
                     [&](TCustomForm* F) {
                         TbsOpenPictureDlgForm* f = AsPictureForm(F);
                         EXPECT_EQ(f->FileNameEdit->Text(), L"damaged.png");
                         EXPECT_EQ(f->Image->Picture()->Graphic(), nullptr);
                         EXPECT_EQ(f->Image->Width(), 0);
                         EXPECT_FALSE(f->SBHScrollBar->Visible());
                         ClickRow(f->FileListView, L"drawing.wmf");
                     },
                     [&](TCustomForm* F) {
                         TbsOpenPictureDlgForm* f = AsPictureForm(F);
                         EXPECT_EQ(f->Image->Picture()->Graphic(), nullptr);
                         ClickControl(f->OpenButton);
                     }}));
    EXPECT_EQ(Dialog->FileName(), Path("图片 素材/drawing.wmf"));
}

TEST_F(PictureDialogTest, SaveModeNamesTakeTheFiltersExtension)
{
    auto* save = new TbsSkinSavePictureDialog(Application);
    save->SetInitialDir(Path("图片 素材"));
    Dialog = save;
    struct Case {
        String Filter, Expected;
    } cases[] = {
        {L"Bitmaps|*.bmp", L"shot.bmp"},
        {L"All|*.*", L"shot"},
        {L"Pictures|*.bmp;*.ico", L"shot.bmp"},
    };
    for (const Case& c : cases) {
        save->SetFilter(c.Filter);
        EXPECT_TRUE(Run({[&](TCustomForm* F) {
            TbsOpenPictureDlgForm* f = AsPictureForm(F);
            EXPECT_EQ(f->Caption(), L"Save file");
            EXPECT_EQ(f->OpenButton->Caption(), L"&Save");
            f->FileNameEdit->SetText(L"shot");
            f->FileNameEdit->SetFocus();
            PressEnter();
        }}));
        EXPECT_EQ(save->FileName(), Path("图片 素材/") + c.Expected) << StringToUtf8(c.Filter);
    }
}

TEST_F(PictureDialogTest, TheDefaultFilterListsBitmapsIconsAndMetafiles)
{
    auto* fresh = new TbsSkinOpenPictureDialog(Application);
    EXPECT_EQ(fresh->Filter(),
              L"All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
              L"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
    fresh->SetInitialDir(Path("图片 素材"));
    Dialog = fresh;
    EXPECT_FALSE(Run({[&](TCustomForm* F) {
        TbsOpenPictureDlgForm* f = AsPictureForm(F);
        EXPECT_EQ(Rows(f->FileListView), (std::vector<String>{L"子目录", L"drawing.wmf", L"大图.bmp"}));
        EXPECT_EQ(f->FilterComboBox->Items()->Count(), 5);
        PressEsc();
    }}));
}
