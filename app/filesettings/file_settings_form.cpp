// The per-file settings dialog: its controls built in code, its handlers as calls of the
// dialog's commands.
#include "app/filesettings/file_settings_form.h"

#include "app/form_values.h"
#include "app/presets/output_name.h"
#include "app/presets/parameter_combos.h"
#include "app/presets/preset_catalogue.h"
#include "platform/framework/controls/button.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_paint_panel.h"
#include "skin/controls/skin_std_label.h"
#include "skin/core/skin_data.h"
#include "skin/form/skin_form.h"

TForm7* Form7 = nullptr;

namespace {

constexpr int DialogWidth = 509;
constexpr int DialogHeight = 418;

// Where a parameter combo and its label sit in their group: two columns, two rows.
struct TComboPlace {
    const wchar_t* Label;
    bool AudioGroup;
    int Column;
    int Row;
};
TComboPlace ComboPlace(TPresetParameter parameter)
{
    switch (parameter) {
    case ppFrameSize: return {L"视频分辨率：", false, 0, 0};
    case ppVideoBitrate: return {L"视频比特率：", false, 1, 0};
    case ppFrameRate: return {L"视频帧率：", false, 0, 1};
    case ppAspectMode: return {L"视频缩放：", false, 1, 1};
    case ppAudioBitrate: return {L"音频比特率：", true, 0, 0};
    case ppSampleRate: return {L"音频采样率：", true, 1, 0};
    }
    return {L"", false, 0, 0};
}

// One of the two office combos at the top (category left, preset right).
TbsSkinOfficeComboBox* MakeOfficeCombo(TForm* form, int left, int width)
{
    auto* combo = new TbsSkinOfficeComboBox(form);
    combo->SetParent(form);
    combo->SetUseSkinSize(false);
    combo->SetBounds(left, 12, width, 51);
    combo->SetDropDownCount(6);
    return combo;
}

// A hidden command button right of the client area, running handler when clicked in code.
TButton* MakeCommandButton(TForm* form, const wchar_t* caption, int top, std::function<void(TObject*)> handler)
{
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetCaption(caption);
    button->SetBounds(DialogWidth + 20, top, 160, 25);
    button->SetVisible(false);
    button->OnClick = std::move(handler);
    return button;
}

}  // namespace

TForm7::TForm7(TComponent* AOwner, PresetSettings* AMainSettings, TbsSkinData* ASkinData) : TForm(AOwner)
{
    BeginLoading();
    SetCaption(L"选项设置");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    SetClientSize(DialogWidth, DialogHeight);
    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetBorderIcons({});
    SetStoredFormValues(bsSkinForm1);

    bsSkinOfficeComboBox2 = MakeOfficeCombo(this, 12, 150);
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(44);
    // The main window's twenty categories, image index = category code; it lends the pictures.
    for (int i = 0; i < CategoryCount; ++i) {
        TbsSkinOfficeItem* item = bsSkinOfficeComboBox2->Items()->Add();
        item->SetCaption(CategoryTable[i].Caption);
        item->SetImageIndex(CategoryTable[i].CategoryCode);
    }
    bsSkinOfficeComboBox2->SetItemIndex(0);  // while loading: no handler runs
    bsSkinOfficeComboBox1 = MakeOfficeCombo(this, 172, 325);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(40);

    bsSkinGroupBox1 = new TbsSkinGroupBox(this);
    bsSkinGroupBox1->SetParent(this);
    bsSkinGroupBox1->SetCaption(L"预置视频参数");
    bsSkinGroupBox1->SetBounds(12, 76, 485, 150);
    bsSkinGroupBox2 = new TbsSkinGroupBox(this);
    bsSkinGroupBox2->SetParent(this);
    bsSkinGroupBox2->SetCaption(L"预置音频参数");
    bsSkinGroupBox2->SetBounds(12, 238, 485, 92);

    TbsSkinComboBox** fields[PresetParameterCount] = {&bsSkinComboBox1, &bsSkinComboBox2, &bsSkinComboBox3,
                                                      &bsSkinComboBox4, &bsSkinComboBox9, &bsSkinComboBox10};
    for (TPresetParameter parameter : ChoiceCopyOrder) {
        TComboPlace place = ComboPlace(parameter);
        TbsSkinGroupBox* group = place.AudioGroup ? bsSkinGroupBox2 : bsSkinGroupBox1;
        const int left = 16 + place.Column * 236;
        const int top = 28 + place.Row * 58;
        auto* label = new TbsSkinStdLabel(this);
        label->SetParent(group);
        label->SetCaption(place.Label);
        label->SetBounds(left, top, 200, 16);
        Labels[parameter] = label;
        auto* combo = new TbsSkinComboBox(this);
        combo->SetParent(group);
        combo->SetUseSkinSize(false);
        combo->SetBounds(left, top + 18, 218, 20);
        combo->OnChange = [this, parameter](TObject*) { ParameterChange(parameter); };
        FCombos[parameter] = combo;
        *fields[parameter] = combo;
    }

    bsSkinButton2 = new TbsSkinButton(this);
    bsSkinButton2->SetParent(this);
    bsSkinButton2->SetCaption(L"确定");
    bsSkinButton2->SetCanFocused(true);
    bsSkinButton2->SetDefault(true);
    bsSkinButton2->SetBounds(338, 376, 75, 25);
    bsSkinButton2->OnClick = [this](TObject* s) { bsSkinButton2Click(s); };
    bsSkinButton3 = new TbsSkinButton(this);
    bsSkinButton3->SetParent(this);
    bsSkinButton3->SetCaption(L"取消");
    bsSkinButton3->SetCanFocused(true);
    bsSkinButton3->SetCancel(true);
    bsSkinButton3->SetBounds(422, 376, 75, 25);
    bsSkinButton3->OnClick = [this](TObject* s) { bsSkinButton3Click(s); };

    Button2 = MakeCommandButton(this, L"添加combox", 10, [this](TObject* s) { Button2Click(s); });
    Button18 = MakeCommandButton(this, L"根据combox添加预设选项", 40, [this](TObject* s) { Button18Click(s); });
    Button5 = MakeCommandButton(this, L"根据combox添加数据", 70, [this](TObject* s) { Button5Click(s); });
    Button13 = MakeCommandButton(this, L"确认预置选项数据", 100, [this](TObject* s) { Button13Click(s); });
    Button6 = MakeCommandButton(this, L"初始化数据", 130, [this](TObject* s) { Button6Click(s); });

    bsSkinOfficeComboBox2->OnChange = [this](TObject* s) { bsSkinOfficeComboBox2Change(s); };
    bsSkinOfficeComboBox1->OnChange = [this](TObject* s) { bsSkinOfficeComboBox1Change(s); };
    EndLoading();
    SetSkinData(ASkinData);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    // The creation step writes the main window's fields; afterwards only a run does.
    if (AMainSettings) FSettings = AMainSettings;
    AfterConstruction();
    FSettings = &FOwnSettings;
}

TForm7::~TForm7()
{
    if (Form7 == this) Form7 = nullptr;
}

void TForm7::SetSkinData(TbsSkinData* ASkinData)
{
    bsSkinForm1->SetSkinData(ASkinData);
    for (TbsSkinCustomControl* control :
         {static_cast<TbsSkinCustomControl*>(bsSkinOfficeComboBox2),
          static_cast<TbsSkinCustomControl*>(bsSkinOfficeComboBox1),
          static_cast<TbsSkinCustomControl*>(bsSkinGroupBox1), static_cast<TbsSkinCustomControl*>(bsSkinGroupBox2),
          static_cast<TbsSkinCustomControl*>(bsSkinButton2), static_cast<TbsSkinCustomControl*>(bsSkinButton3)})
        control->SetSkinData(ASkinData);
    for (TbsSkinComboBox* combo : FCombos) combo->SetSkinData(ASkinData);
    for (TbsSkinStdLabel* label : Labels) label->SetSkinData(ASkinData);
}

std::array<String, PresetParameterCount> TForm7::ShownTexts() const
{
    std::array<String, PresetParameterCount> texts;
    for (int p = 0; p < PresetParameterCount; ++p) texts[p] = FCombos[p]->Text();
    return texts;
}

TFileSettingsIndexes TForm7::ChoiceIndexes() const
{
    TFileSettingsIndexes indexes{bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex()};
    for (int i = 0; i < PresetParameterCount; ++i) indexes[2 + i] = FCombos[ChoiceCopyOrder[i]]->ItemIndex();
    return indexes;
}

void TForm7::SetChoiceIndexes(const TFileSettingsIndexes& indexes)
{
    bsSkinOfficeComboBox2->SetItemIndex(indexes[0]);
    bsSkinOfficeComboBox1->SetItemIndex(indexes[1]);
    for (int i = 0; i < PresetParameterCount; ++i) FCombos[ChoiceCopyOrder[i]]->SetItemIndex(indexes[2 + i]);
}

bool TForm7::ExecuteForJob(TFileSettingsIndexes& indexes, PresetSettings& settings, TJobRow* row,
                           const String& outputFolder, bool overwrite)
{
    // The run's targets are forgotten on every way out, also when a handler throws.
    struct TRunEnd {
        TForm7* Form;
        ~TRunEnd()
        {
            Form->FSettings = &Form->FOwnSettings;
            Form->FRow = nullptr;
        }
    } runEnd{this};
    FSettings = &settings;
    FRow = row;
    FOutputFolder = outputFolder;
    FOverwrite = overwrite;

    const TFileSettingsSnapshot snapshot = TakeFileSettingsSnapshot(settings, row);
    SetModalResult(mrNone);
    SetChoiceIndexes(indexes);
    if (ShowModal() == mrOk) {
        indexes = ChoiceIndexes();
        return true;
    }
    // Cancel takes back what the dialog wrote: the job keeps the settings it had.
    RestoreFileSettingsSnapshot(snapshot, settings, row);
    return false;
}

void TForm7::FocusJobList()
{
    if (OnFocusJobList) OnFocusJobList();
}

// ---- handlers ----

void TForm7::FormCreate(TObject*) { Button2->Click(); }

void TForm7::bsSkinButton2Click(TObject*) { SetModalResult(mrOk); }

void TForm7::bsSkinButton3Click(TObject*) { SetModalResult(mrCancel); }

void TForm7::bsSkinOfficeComboBox2Change(TObject*) { Button2->Click(); }

void TForm7::bsSkinOfficeComboBox1Change(TObject*)
{
    Button18->Click();
    if (!FRow) return;
    const int category = bsSkinOfficeComboBox2->ItemIndex();
    const int preset = bsSkinOfficeComboBox1->ItemIndex();
    if (preset < 0 || preset >= bsSkinOfficeComboBox1->Items()->Count()) return;
    const String caption = bsSkinOfficeComboBox1->Items()->Items(preset)->Caption();
    ApplyPresetToJobRow(category, preset, caption, ShownTexts(), FOutputFolder, FOverwrite, *FSettings, *FRow);
    FocusJobList();
}

void TForm7::ParameterChange(TPresetParameter parameter)
{
    TbsSkinComboBox* combo = FCombos[parameter];
    ApplyParameterChange(parameter, combo->ItemIndex(), combo->Text(), *FSettings, FRow);
    if (FRow) FocusJobList();
}

void TForm7::Button2Click(TObject*)
{
    TbsSkinOfficeItems* items = bsSkinOfficeComboBox1->Items();
    items->Clear();
    const std::vector<String> titles = FillPresetList(bsSkinOfficeComboBox2->ItemIndex());
    for (size_t i = 0; i < titles.size(); ++i) {
        TbsSkinOfficeItem* item = items->Add();
        item->SetCaption(titles[i]);
        item->SetImageIndex(static_cast<int>(i % 2));
    }
    bsSkinOfficeComboBox1->Repaint();
    bsSkinOfficeComboBox1->SetItemIndex(0);
}

void TForm7::Button18Click(TObject*)
{
    const TParameterChoices choices =
        DialogParameterChoices(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(), *FSettings);
    FillParameterCombos(choices, FCombos);
}

void TForm7::Button5Click(TObject*)
{
    DialogApplyPresetOptions(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(), FOutputFolder,
                             FOverwrite, *FSettings, FRow);
}

void TForm7::Button13Click(TObject*) { ReadParameterChoices(ShownTexts(), *FSettings); }

void TForm7::Button6Click(TObject*) { ResetPresetSettings(*FSettings); }
