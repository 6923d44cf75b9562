// The main window's pictures: the category combos of the main window and of the per-file dialog
// show each category's own picture (image index = category code), also after the main window
// has copied its category into the dialog; the pictures themselves are 24 distinct ones for the
// categories and two for the preset items.
#include <gtest/gtest.h>

#include "app/filesettings/file_settings_form.h"
#include "app/presets/presets.h"
#include "platform/framework/controls/list_view.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/office_items.h"
#include "skin/controls/skin_list_view.h"
#include "skin/core/png_image_list.h"
#include "tests/app/main_window_fixture.h"
#include "tests/support/modal_script.h"

namespace {

// Whether the window shows the PNG somewhere: at some place every fully opaque pixel of the
// picture appears with its exact colour.
bool ShowsPicture(TWinControl* C, TPngImage* Png)
{
    for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    int w = 0, h = 0;
    const std::vector<uint32_t> px = vxwin::WindowPixels(C->Handle(), &w, &h);
    std::vector<std::tuple<int, int, uint32_t>> opaque;
    for (int y = 0; y < Png->Height(); ++y)
        for (int x = 0; x < Png->Width(); ++x)
            if (Png->AlphaScanline(y)[x] == 255) {
                const uint32_t c = static_cast<uint32_t>(Png->Pixels(x, y));
                opaque.emplace_back(x, y, ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
            }
    if (opaque.empty()) return false;
    for (int oy = 0; oy + Png->Height() <= h; ++oy)
        for (int ox = 0; ox + Png->Width() <= w; ++ox) {
            bool all = true;
            for (const auto& [x, y, rgb] : opaque)
                if ((px[static_cast<size_t>((oy + y) * w + ox + x)] & 0xFFFFFF) != rgb) {
                    all = false;
                    break;
                }
            if (all) return true;
        }
    return false;
}

bool SamePng(TPngImage* A, TPngImage* B)
{
    if (A->Width() != B->Width() || A->Height() != B->Height()) return false;
    for (int y = 0; y < A->Height(); ++y)
        for (int x = 0; x < A->Width(); ++x)
            if (A->Pixels(x, y) != B->Pixels(x, y) || A->AlphaScanline(y)[x] != B->AlphaScanline(y)[x]) return false;
    return true;
}

class MainWindowPictures : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        Start();
        Main->Show();
        Pump();
    }
    TbsPngImage* CategoryPicture(int ACode) { return Main->ImageList3->PngImages()->Items(ACode)->PngImage(); }
};

}  // namespace

TEST_F(MainWindowPictures, TheListsHoldDistinctPicturesOfTheirSize)
{
    struct Case {
        TbsPngImageList* list;
        int count;
    } cases[] = {{Main->ImageList3, 24}, {Main->ImageList2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.list->Name()));
        ASSERT_EQ(c.list->Count(), c.count);
        EXPECT_EQ(c.list->Width(), 16);
        for (int i = 0; i < c.count; ++i) {
            TbsPngImage* a = c.list->PngImages()->Items(i)->PngImage();
            EXPECT_EQ(a->Header().ColorType, COLOR_RGBALPHA);
            for (int j = i + 1; j < c.count; ++j)
                EXPECT_FALSE(SamePng(a, c.list->PngImages()->Items(j)->PngImage())) << i << " and " << j;
        }
    }
}

TEST_F(MainWindowPictures, EveryCategoryShowsItsOwnPictureInTheMainWindow)
{
    TbsSkinOfficeComboBox* combo = Main->bsSkinOfficeComboBox2;
    ASSERT_EQ(combo->Images(), Main->ImageList3);
    for (int i = 0; i < CategoryCount; ++i) {
        SCOPED_TRACE(StringToUtf8(CategoryTable[i].Caption));
        EXPECT_EQ(combo->Items()->Items(i)->ImageIndex(), CategoryTable[i].CategoryCode);
        combo->SetItemIndex(i);
        EXPECT_TRUE(ShowsPicture(combo, CategoryPicture(CategoryTable[i].CategoryCode)));
    }
    // The preset items alternate the two preset pictures.
    TbsSkinOfficeComboBox* presets = Main->bsSkinOfficeComboBox1;
    ASSERT_EQ(presets->Images(), Main->ImageList2);
    for (int i = 0; i < 2; ++i) {
        presets->SetItemIndex(i);
        EXPECT_TRUE(ShowsPicture(presets, Main->ImageList2->PngImages()->Items(i)->PngImage())) << i;
    }
}

// The dialog's category is the one the main window copies into it on every opening; its face
// keeps the category's picture, not only on the first opening.
TEST_F(MainWindowPictures, TheSettingsDialogShowsTheCopiedCategorysPictureOnEveryOpening)
{
    TListItem* item = Main->lvFiles->Items()->Add();
    item->SetCaption(L"/in/clip.mkv");
    TJobRow row{item->Caption(), *item->SubItems()};
    row.SetColumn(JobRowLastColumn, L"");
    row.SetColumn(PositionCodeColumn, L"0");
    row.SetColumn(SelectionCodeColumn, SelectionCode(Main->ParameterIndexes()));
    SetRowSlot(item, 0);
    Main->lvFiles->SetSelected(item);
    for (int position : {0, 1, 5, 7, 19}) {
        SCOPED_TRACE(position);
        Main->bsSkinOfficeComboBox2->SetItemIndex(position);
        ModalScript script({[&](TCustomForm*) {
            TbsSkinOfficeComboBox* combo = Form7->bsSkinOfficeComboBox2;
            ASSERT_EQ(combo->ItemIndex(), position);
            EXPECT_EQ(combo->Items()->Items(position)->ImageIndex(), CategoryTable[position].CategoryCode);
            EXPECT_TRUE(ShowsPicture(combo, CategoryPicture(CategoryTable[position].CategoryCode)));
            Form7->SetModalResult(mrCancel);
        }});
        Main->bsSkinButton24Click(Main);
        EXPECT_TRUE(script.Done());
    }
}
