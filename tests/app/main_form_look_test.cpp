// What the main window and its options dialog draw, in pixels, with the program's own skin: the
// preset combo's face keeps a long title on one line, the options' choices that exclude one
// another carry the skin's radio marks, and the preview slider's ruler and thumb span the control.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/presets/preset_catalogue.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/win/headless_api.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_slider.h"
#include "skin/core/button_records.h"
#include "skin/core/marks.h"
#include "skin/core/png_image_list.h"
#include "skin/core/skin_data.h"
#include "tests/app/main_window_fixture.h"

namespace {

// The pixels of a shown control as 0xRRGGBB.
struct TPixels {
    int W = 0, H = 0;
    std::vector<uint32_t> P;
    uint32_t At(int X, int Y) const { return P[size_t(Y) * size_t(W) + size_t(X)] & 0xFFFFFF; }
};

TPixels PixelsOf(TWinControl* AControl)
{
    TPixels p;
    p.P = vxwin::WindowPixels(AControl->Handle(), &p.W, &p.H);
    return p;
}

int Luma(uint32_t ARgb) { return (299 * int(ARgb >> 16) + 587 * int((ARgb >> 8) & 255) + 114 * int(ARgb & 255)) / 1000; }

class MainWindowLook : public MainWindowFixture {
protected:
    void ShowWindow()
    {
        Start();
        Main->Show();
        Pump();
    }
};

// The rows of R that hold text ink (pixels much darker than the face's lightest pixel on that
// row's left end), as the first and last such row; {-1, -1} when none.
std::pair<int, int> InkRows(const TPixels& AFace, const TRect& R)
{
    int first = -1, last = -1;
    for (int y = R.Top; y < R.Bottom; ++y) {
        int light = 0;
        for (int x = R.Left; x < R.Right; ++x) light = std::max(light, Luma(AFace.At(x, y)));
        for (int x = R.Left; x < R.Right; ++x)
            if (Luma(AFace.At(x, y)) < light - 96) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    }
    return {first, last};
}

TEST_F(MainWindowLook, APresetTitleTooLongForTheFaceStaysOnOneLine)
{
    ShowWindow();
    auto titled = [](const wchar_t* ATitle) {
        return FindPreset([ATitle](const TOutputPreset& APreset) { return String(APreset.Title) == ATitle; });
    };
    TbsSkinOfficeComboBox* presets = Main->bsSkinOfficeComboBox1;
    // The text of a face as a band of rows: a short title's, then the long one's.
    auto textRows = [&](const TPresetPosition& APosition) {
        Main->bsSkinOfficeComboBox2->SetItemIndex(APosition.CategoryIndex);
        presets->SetItemIndex(APosition.PresetIndex);
        Pump();
        TRect text = presets->ItemRect();
        text.Left += Main->ImageList2->Width() + 4;  // right of the item's picture
        return InkRows(PixelsOf(presets), text);
    };
    const TPresetPosition mp3 = titled(L"MP3 - MPEG Layer-3音频格式(*.mp3)");
    ASSERT_GE(mp3.CategoryIndex, 0);
    const TPresetPosition wav = titled(L"WAV - 波形音频格式(*.wav)");
    ASSERT_GE(wav.CategoryIndex, 0);
    const auto oneLine = textRows(wav);
    ASSERT_GE(oneLine.first, 0) << "the short title shows";
    const auto longTitle = textRows(mp3);
    ASSERT_GE(longTitle.first, 0) << "the long title shows";
    EXPECT_LE(longTitle.second - longTitle.first, oneLine.second - oneLine.first + 2)
        << "rows " << longTitle.first << ".." << longTitle.second << " against one line's " << oneLine.first << ".."
        << oneLine.second;
    EXPECT_EQ(presets->Items()->Items(mp3.PresetIndex)->Caption(), L"MP3 - MPEG Layer-3音频格式(*.mp3)")
        << "only the face shortens it";
}

TEST_F(MainWindowLook, TheOptionsChoicesThatExcludeOneAnotherShowRadioMarks)
{
    Start();
    TbsSkinData* skin = Main->bsSkinData1;
    const int index = skin->GetControlIndex(L"radiobox");
    ASSERT_GE(index, 0);
    auto* radio = dynamic_cast<TbsDataSkinCheckRadioControl*>(skin->CtrlList[size_t(index)]);
    ASSERT_NE(radio, nullptr);
    TBitmap* picture = skin->FActivePictures[size_t(radio->PictureIndex)];
    const TRect mark = radio->CheckImageRect;
    // The mark's own pixels (its lower-left pixel is the transparent colour).
    const uint32_t key = picture->PixelArgb(mark.Left, mark.Bottom - 1) & 0xFFFFFF;

    TbsSkinCheckRadioBox* const boxes[] = {
        Form5->bsSkinCheckRadioBox1, Form5->bsSkinCheckRadioBox2,  Form5->bsSkinCheckRadioBox3,
        Form5->bsSkinCheckRadioBox4, Form5->bsSkinCheckRadioBox5,  Form5->bsSkinCheckRadioBox6,
        Form5->bsSkinCheckRadioBox9, Form5->bsSkinCheckRadioBox10, Form5->bsSkinCheckRadioBox11,
        Form5->bsSkinCheckRadioBox12,
    };
    for (TbsSkinCheckRadioBox* box : boxes) {
        SCOPED_TRACE(StringToUtf8(box->Caption()));
        ASSERT_TRUE(box->Radio());
        TBitmap drawn(box->Width(), box->Height());
        box->PaintSkinTo(drawn.Canvas(), 0, 0, true);
        const int top = box->Height() / 2 - RectHeight(mark) / 2;
        int own = 0, differing = 0;
        for (int y = 0; y < RectHeight(mark); ++y)
            for (int x = 0; x < RectWidth(mark); ++x) {
                const uint32_t want = picture->PixelArgb(mark.Left + x, mark.Top + y) & 0xFFFFFF;
                if (want == key) continue;
                ++own;
                if ((drawn.PixelArgb(3 + x, top + y) & 0xFFFFFF) != want) ++differing;
            }
        ASSERT_GT(own, 0);
        EXPECT_EQ(differing, 0) << "of " << own << " pixels of the skin's checked radio mark";
    }
    // The two plain switches stay check boxes.
    EXPECT_EQ(Form5->bsSkinCheckRadioBox7->SkinDataName(), L"checkbox");
    EXPECT_EQ(Form5->bsSkinCheckRadioBox8->SkinDataName(), L"checkbox");
}

TEST_F(MainWindowLook, ThePreviewSliderSpansTheControl)
{
    ShowWindow();
    TbsSkinSlider* slider = Main->bsSkinSlider1;
    const int width = slider->Width();
    // Six pixels of margin at both ends; a file opened sets the range to the width.
    EXPECT_EQ(slider->RulerOrg().X, 6);
    EXPECT_EQ(slider->RulerWidth(), width - 12);
    slider->SetMaxValue(width);
    slider->SetValue(width);
    Pump();
    EXPECT_EQ(slider->ThumbRect().Right, width - 6);
    // On screen: the thumb at the right end, and the ruler under the middle of the control.
    const TPixels shown = PixelsOf(slider);
    const TRect thumb = slider->ThumbRect();
    const uint32_t background = shown.At(2, shown.H / 2);
    int thumbInk = 0;
    for (int x = thumb.Left; x < thumb.Right; ++x)
        if (shown.At(x, (thumb.Top + thumb.Bottom) / 2) != background) ++thumbInk;
    EXPECT_GT(thumbInk, RectWidth(thumb) / 2) << "the thumb is drawn at the right end";
    const int rulerY = slider->RulerOrg().Y + slider->RulerHeight() / 2;
    EXPECT_NE(shown.At(width * 3 / 4, rulerY), background) << "the ruler reaches past the middle";
}

}  // namespace
