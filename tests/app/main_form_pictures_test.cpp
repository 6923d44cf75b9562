// The main window's pictures: the category combos of the main window and of the per-file dialog
// show each category's own picture (image index = category code), also after the main window
// has copied its category into the dialog; the nine lists hold 59 distinct pictures in six sizes;
// the buttons, the empty job list and the idle preview screen show theirs.
#include <gtest/gtest.h>

#include <set>

#include "app/filesettings/file_settings_form.h"
#include "app/presets/presets.h"
#include "platform/framework/controls/list_view.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/office_items.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_paint_panel.h"
#include "skin/controls/skin_menu_speed_button.h"
#include "skin/controls/skin_tool_bar.h"
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

// Nine lists of 59 distinct 8-bit RGBA pictures in six sizes.
TEST_F(MainWindowPictures, TheListsHoldDistinctPicturesOfTheirSize)
{
    struct Case {
        TbsPngImageList* list;
        int count;
        int size;
    } cases[] = {{Main->ImageList1, 8, 24}, {Main->ImageList2, 2, 16}, {Main->ImageList3, 24, 16},
                 {Main->ImageList4, 4, 36}, {Main->ImageList5, 4, 36}, {Main->ImageList6, 6, 16},
                 {Main->ImageList7, 8, 32}, {Main->ImageList8, 1, 48}, {Main->ImageList9, 2, 80}};
    int total = 0;
    std::set<int> sizes;
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.list->Name()));
        ASSERT_EQ(c.list->Count(), c.count);
        EXPECT_EQ(c.list->Width(), c.size);
        EXPECT_EQ(c.list->Height(), c.size);
        total += c.count;
        sizes.insert(c.size);
        for (int i = 0; i < c.count; ++i) {
            TbsPngImage* a = c.list->PngImages()->Items(i)->PngImage();
            EXPECT_EQ(a->Header().ColorType, COLOR_RGBALPHA);
            EXPECT_EQ(a->Header().BitDepth, 8);
            EXPECT_EQ(a->Width(), c.size);
            for (int j = i + 1; j < c.count; ++j)
                EXPECT_FALSE(SamePng(a, c.list->PngImages()->Items(j)->PngImage())) << i << " and " << j;
        }
    }
    EXPECT_EQ(total, 59);
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 36, 48, 80}));
    int lists = 0;
    for (int i = 0; i < Main->ComponentCount(); ++i)
        if (dynamic_cast<TbsPngImageList*>(Main->Components(i))) ++lists;
    EXPECT_EQ(lists, 9);
}

// The larger pictures where they are shown: the empty job list's invitation to add files, and
// the idle preview screen's picture.
TEST_F(MainWindowPictures, TheEmptyListAndTheIdleScreenShowTheirPictures)
{
    ASSERT_TRUE(Main->bsSkinPanel5->Visible());
    EXPECT_TRUE(ShowsPicture(Main->bsSkinPanel5, Main->ImageList8->PngImages()->Items(0)->PngImage()));
    auto* screen = dynamic_cast<TWinControl*>(Main->FindComponent(L"Panel6"));
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(ShowsPicture(screen, Main->ImageList9->PngImages()->Items(1)->PngImage()));
    EXPECT_FALSE(ShowsPicture(screen, Main->ImageList9->PngImages()->Items(0)->PngImage()));
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

// Every glyph button shows its list's picture; the buttons that change state wear the grey twin
// while disabled and their own picture again once enabled.
TEST_F(MainWindowPictures, EachButtonShowsItsListsGlyphAndTheDisabledOneWhileDisabled)
{
    struct Case {
        TbsSkinButton* button;
        TbsPngImageList* images;
        int index;
        TbsPngImageList* disabled;  // nullptr: the button is never disabled
        int disabledIndex;
    } cases[] = {
        {Main->bsSkinButton7, Main->ImageList4, 1, Main->ImageList5, 1},
        {Main->bsSkinButton8, Main->ImageList4, 2, Main->ImageList5, 2},
        {Main->bsSkinButton19, Main->ImageList4, 3, Main->ImageList5, 3},
        {Main->bsSkinButton3, Main->ImageList6, 0, Main->ImageList6, 3},
        {Main->bsSkinButton4, Main->ImageList6, 1, Main->ImageList6, 4},
        {Main->bsSkinButton21, Main->ImageList6, 2, Main->ImageList6, 5},
        {Main->bsSkinButton2, Main->ImageList7, 0, Main->ImageList7, 4},
        {Main->bsSkinButton10, Main->ImageList7, 1, Main->ImageList7, 5},
        {Main->bsSkinButton11, Main->ImageList7, 2, Main->ImageList7, 6},
        {Main->bsSkinButton13, Main->ImageList1, 0, nullptr, 0},
        {Main->bsSkinButton14, Main->ImageList1, 1, nullptr, 0},
        {Main->bsSkinButton15, Main->ImageList1, 2, nullptr, 0},
        {Main->bsSkinButton16, Main->ImageList1, 3, nullptr, 0},
        {Main->bsSkinButton22, Main->ImageList1, 5, nullptr, 0},
        {Main->bsSkinButton23, Main->ImageList1, 6, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.button->Name()));
        TbsPngImage* glyph = c.images->PngImages()->Items(c.index)->PngImage();
        Main->SetButtonEnabled(c.button, true);
        EXPECT_EQ(c.button->ImageList(), c.images);
        EXPECT_EQ(c.button->ImageIndex(), c.index);
        EXPECT_TRUE(ShowsPicture(c.button, glyph));
        if (!c.disabled) continue;
        Main->SetButtonEnabled(c.button, false);
        EXPECT_EQ(c.button->ImageList(), c.disabled);
        EXPECT_EQ(c.button->ImageIndex(), c.disabledIndex);
        EXPECT_FALSE(ShowsPicture(c.button, glyph)) << "the enabled glyph on a disabled button";
        Main->SetButtonEnabled(c.button, true);
        EXPECT_EQ(c.button->ImageIndex(), c.index);
        EXPECT_TRUE(ShowsPicture(c.button, glyph));
    }
}

// "添加": 108 x 70 on the tool bar, wearing image 0 of the tool bar's list, the disabled list's
// picture while disabled; the taller tool bar leaves the job list and the preview below it.
TEST_F(MainWindowPictures, TheAddButtonWearsTheToolBarsFirstGlyphAtItsSize)
{
    TbsSkinMenuSpeedButton* add = Main->bsSkinMenuSpeedButton1;
    TbsSkinToolBar* bar = Main->bsSkinPanel2;
    EXPECT_EQ(add->Parent(), bar);
    EXPECT_EQ(add->Width(), 108);
    EXPECT_EQ(add->Height(), 70);
    EXPECT_GE(add->Top(), 0);
    EXPECT_LE(add->Top() + add->Height(), bar->ClientHeight());
    EXPECT_LE(bar->Top() + bar->Height(), Main->bsSkinPanel1->Top());
    EXPECT_LE(bar->Top() + bar->Height(), Main->bsSkinGroupBox1->Top());
    EXPECT_LE(Main->bsSkinButton7->Left(), bar->ClientWidth());
    EXPECT_GE(Main->bsSkinButton7->Left(), add->Left() + add->Width());
    EXPECT_EQ(bar->Images(), Main->ImageList4);
    EXPECT_EQ(bar->DisabledImages(), Main->ImageList5);
    EXPECT_EQ(add->ImageIndex(), 0);
    EXPECT_TRUE(ShowsPicture(bar, Main->ImageList4->PngImages()->Items(0)->PngImage()));
    Main->SetAddCommandsEnabled(false);
    EXPECT_TRUE(ShowsPicture(bar, Main->ImageList5->PngImages()->Items(0)->PngImage()));
    EXPECT_FALSE(ShowsPicture(bar, Main->ImageList4->PngImages()->Items(0)->PngImage()));
    Main->SetAddCommandsEnabled(true);
    EXPECT_TRUE(ShowsPicture(bar, Main->ImageList4->PngImages()->Items(0)->PngImage()));
}
