// The legacy preset form as a form: what creating it leaves in the main window's settings
// and its own lists, the low AMR bit rates of three keys in its combos, and "确定" applying
// a preset over the settings as they are, then reading the combos back.
#include "app/legacy/legacy_form.h"

#include <gtest/gtest.h>

#include "app/legacy/legacy_catalogue.h"
#include "platform/framework/core/strings.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "tests/app/presets/cluttered_settings.h"
#include "tests/support/application_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

std::vector<String> ComboItems(TbsSkinComboBox* combo)
{
    std::vector<String> items;
    for (int i = 0; i < combo->Items()->Count(); ++i) items.push_back(combo->Items()->Strings(i));
    return items;
}

// The six fields "确定" reads back from the combos after the apply.
constexpr TPresetFieldSet ReadBack =
    pfFrameSize | pfFrameRate | pfVideoBitrate | pfAudioSampleRate | pfAudioBitrate | pfFrameAspectRatio;

struct LegacyFormTest : ApplicationFixture {
    TempDir dir;
    String folder = Utf8ToString(dir.path());

    TForm6* Make(PresetSettings& settings)
    {
        auto* form = new TForm6(Application, settings);
        form->OutputFolderText = [this] { return folder; };
        return form;
    }
    // The user's choice of a preset: the category, then the preset item.
    static void Choose(TForm6* form, int key)
    {
        form->bsSkinOfficeComboBox2->SetItemIndex(key / 100);
        form->bsSkinOfficeComboBox1->SetItemIndex(key % 100);
    }
};

TEST_F(LegacyFormTest, CreationFillsTheFirstCategoryAndStoresDispatchValue100)
{
    PresetSettings settings = ClutteredSettings();
    const PresetSettings before = settings;
    TForm6* form = Make(settings);

    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->bsSkinOfficeComboBox2->Items()->Count(), LegacyCategoryCount);
    TbsSkinOfficeItems* presets = form->bsSkinOfficeComboBox1->Items();
    std::vector<TLegacyPresetItem> expected = LegacyFillPresetList(0);
    ASSERT_EQ(presets->Count(), 15);
    for (int i = 0; i < presets->Count(); ++i) {
        EXPECT_EQ(presets->Items(i)->Title(), expected[i].Title);
        EXPECT_EQ(presets->Items(i)->Caption(), expected[i].Caption);
        EXPECT_EQ(presets->Items(i)->ImageIndex(), i);
    }
    EXPECT_EQ(form->bsSkinOfficeComboBox1->ItemIndex(), 0);
    EXPECT_EQ(presets->Items(0)->Title(), L"AVI - 音频视频交错格式(*.avi)");

    const std::pair<TPresetParameter, const wchar_t*> shown[] = {
        {ppFrameSize, L"保持原分辨率"}, {ppVideoBitrate, L"816 kbps"}, {ppFrameRate, L"25.00"},
        {ppAudioBitrate, L"128 kbps"},  {ppSampleRate, L"44100"},      {ppAspectMode, L"保持原视频模式"},
    };
    for (auto [parameter, text] : shown) EXPECT_EQ(form->ParameterCombo(parameter)->Text(), text) << parameter;

    // Only the two fields of the fill changed.
    PresetSettings expectedSettings = before;
    expectedSettings.All_Trant_Number = 100;
    expectedSettings.Video_DisableVideo = false;
    EXPECT_EQ(settings, expectedSettings);
}

TEST_F(LegacyFormTest, AmrKeysOfferTheLowAudioBitRates)
{
    PresetSettings settings;
    TForm6* form = Make(settings);
    const std::vector<String> low = {L"5 kbps", L"6 kbps", L"7 kbps", L"8 kbps", L"10 kbps", L"12 kbps"};
    for (int key : {600, 601, 602, 604}) {
        SCOPED_TRACE(key);
        Choose(form, key);
        TbsSkinComboBox* rates = form->bsSkinComboBox3;
        if (key == 601) {
            EXPECT_EQ(ComboItems(rates), ParameterChoicesOfKey(601).Combos[ppAudioBitrate].Items);
        } else {
            EXPECT_EQ(ComboItems(rates), low);
            EXPECT_EQ(rates->Text(), L"12 kbps");
        }
        EXPECT_EQ(settings.All_Trant_Number, key + 100);
    }
}

TEST_F(LegacyFormTest, ConfirmOnTheAlacPresetNamesAnM4aAndReadsTheCombosBack)
{
    PresetSettings settings = ClutteredSettings();
    TForm6* form = Make(settings);
    Choose(form, 111);
    for (TPresetParameter parameter : AudioOnlyDisableOrder) {
        EXPECT_FALSE(form->ParameterCombo(parameter)->Enabled());
        EXPECT_EQ(form->ParameterCombo(parameter)->Items()->Count(), 1);
    }
    EXPECT_TRUE(form->bsSkinComboBox3->Enabled());

    form->bsSkinButton2->ButtonClick();
    EXPECT_EQ(settings.Video_OutPutFileName, folder + L"/clip.final.m4a");
    EXPECT_EQ(settings.Video_FileExt, L".alac");
    EXPECT_EQ(settings.Video_AudioCodec, L"alac");
    EXPECT_TRUE(settings.Video_DisableVideo);
    // No reset: the video fields outside the write set keep their values.
    EXPECT_EQ(settings.Video_VideoCodec, L"old");
    EXPECT_EQ(settings.Video_VideoFilters, L"old");
    // Read back from the no-video combos.
    EXPECT_EQ(settings.Video_FrameSize, L"");
    EXPECT_EQ(settings.Video_FrameRate, L"");
    EXPECT_EQ(settings.Video_VideoBitrate, -1000);
    EXPECT_EQ(settings.Video_FrameAspectRatio, L"");
    EXPECT_EQ(settings.All_Trant_Number, 211);
}

// "确定" writes the key's fields and the six read back, and nothing else.
TEST_F(LegacyFormTest, ConfirmWritesTheKeysFieldsOverTheSettingsAsTheyAre)
{
    constexpr TPresetFieldSet Video = AllPresetFields & ~pfDisableVideo;
    constexpr TPresetFieldSet Audio = pfFileExt | pfAudioCodec | pfAudioChannels | pfAudioSampleRate | pfAudioVolume |
                                      pfAudioBitrate | pfNormType | pfCopyTimestamp | pfFileFormat | pfTargetType;
    struct Case {
        int key;
        TPresetFieldSet written;
    };
    const Case cases[] = {
        {0, Video},
        {11, pfTargetType | pfNormType | pfAudioChannels | pfAudioSampleRate | pfFrameSize | pfFrameRate |
                 pfAudioVolume | pfFrameAspectRatio | pfVideoBitrate | pfAudioBitrate | pfFileFormat | pfVideoTag |
                 pfVideoCodec | pfAudioCodec},
        {14, pfVideoCodec | pfFrameSize | pfNormType | pfCopyTimestamp | pfFileFormat | pfTargetType},
        {205, Video & ~pfVideoTag},
        {303, Video & ~pfTargetType},
        {1102, Audio & ~pfFileExt},
    };
    PresetSettings settings;
    TForm6* form = Make(settings);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        settings = ClutteredSettings();
        const PresetSettings before = settings;
        Choose(form, c.key);
        form->bsSkinButton2->ButtonClick();
        EXPECT_EQ(ChangedFields(before, settings), c.written | ReadBack);
        EXPECT_EQ(settings.Video_AddFileName, before.Video_AddFileName);
        EXPECT_EQ(settings.Video_TimeStart, 7);
    }
}

}  // namespace
