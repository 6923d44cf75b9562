// The legacy preset form: every component at its stored place, the handlers as calls of the
// legacy commands.
#include "app/legacy/legacy_form.h"

#include <tuple>

#include "app/legacy/legacy_commands.h"
#include "app/presets/parameter_combos.h"
#include "engine/converter.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/image.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/image_list.h"
#include "platform/framework/graphics/picture.h"
#include "skin/boxes/office_combo_box.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_page_control.h"
#include "skin/controls/skin_panel.h"
#include "skin/controls/skin_tab_sheet.h"
#include "skin/controls/skin_text_label.h"
#include "skin/core/skin_data.h"
#include "skin/form/skin_form.h"

TForm6* Form6 = nullptr;

namespace {

void SetFontFace(TFont* font, const wchar_t* name, int height)
{
    font->SetName(name);
    font->SetHeight(height);
}

// A font given by its cell height (positive) or character height (negative).
void UseFont(TbsSkinCustomControl* control, const wchar_t* name, int height)
{
    TFont font;
    SetFontFace(&font, name, height);
    control->SetDefaultFont(&font);
}

TbsSkinTextLabel* MakeLabel(TComponent* owner, TWinControl* parent, const wchar_t* text, int left, int top)
{
    auto* label = new TbsSkinTextLabel(owner);
    label->SetParent(parent);
    label->Lines()->Add(text);
    label->SetBounds(left, top, 80, 16);
    TFont font;
    SetFontFace(&font, L"Arial", 14);
    label->SetDefaultFont(&font);
    return label;
}

TButton* MakeButton(TComponent* owner, TWinControl* parent, const wchar_t* caption, int left, int top, int width,
                    std::function<void(TObject*)> handler)
{
    auto* button = new TButton(owner);
    button->SetParent(parent);
    button->SetCaption(caption);
    button->SetBounds(left, top, width, 25);
    button->OnClick = std::move(handler);
    return button;
}

TbsSkinTabSheet* MakeSheet(TComponent* owner, TbsSkinPageControl* pages, const wchar_t* caption)
{
    auto* sheet = new TbsSkinTabSheet(owner);
    sheet->SetPageControl(pages);
    sheet->SetCaption(caption);
    return sheet;
}

// A plain square picture per category: the artwork is not part of the program.
void FillCategoryPictures(TImageList* list)
{
    list->SetSize(32, 32);
    for (int i = 0; i < 12; ++i) {
        TBitmap picture;
        picture.SetSize(32, 32);
        picture.Canvas()->Brush()->SetColor(static_cast<TColor>(0x303030 + 0x0F1020 * i));
        picture.Canvas()->FillRect(Rect(0, 0, 32, 32));
        list->Add(&picture, nullptr);
    }
}

}  // namespace

TForm6::TForm6(TComponent* AOwner, PresetSettings& ASettings, TbsSkinData* ASkinData)
    : TForm(AOwner), FSettings(ASettings)
{
    BeginLoading();
    SetCaption(L"设置选项");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    SetClientSize(1078, 474);
    SetFontFace(Font(), L"Tahoma", -11);

    bsSkinPanel2 = new TbsSkinPanel(this);
    bsSkinPanel2->SetParent(this);
    bsSkinPanel2->SetBounds(157, 20, 625, 109);
    bsSkinPanel2->SetSkinDataName(L"panel");
    bsSkinPanel2->SetBorderStyle(bvFrame);
    bsSkinPanel2->SetCaptionMode(false);
    bsSkinPanel2->SetTabOrder(0);

    bsSkinTextLabel5 = MakeLabel(this, bsSkinPanel2, L"输出格式：", 17, 48);
    bsSkinTextLabel5->SetBounds(17, 48, 60, 13);

    bsSkinOfficeComboBox1 = new TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox1->SetParent(bsSkinPanel2);
    bsSkinOfficeComboBox1->SetUseSkinSize(false);
    bsSkinOfficeComboBox1->SetBounds(215, 33, 400, 51);
    bsSkinOfficeComboBox1->SetSkinDataName(L"combobox");
    bsSkinOfficeComboBox1->SetListBoxSkinDataName(L"listbox");
    bsSkinOfficeComboBox1->SetToolButtonStyle(true);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetListBoxShowLines(true);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetListBoxHeaderHeight(20);
    bsSkinOfficeComboBox1->SetDropDownCount(4);
    UseFont(bsSkinOfficeComboBox1, L"宋体", -12);
    bsSkinOfficeComboBox1->Items()->Add();  // the stored placeholder the creation replaces
    bsSkinOfficeComboBox1->SetItemIndex(0);

    ImageList1 = new TImageList(this);
    FillCategoryPictures(ImageList1);
    ImageList2 = new TImageList(this);
    ImageList2->SetSize(32, 32);

    bsSkinOfficeComboBox2 = new TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox2->SetParent(bsSkinPanel2);
    bsSkinOfficeComboBox2->SetUseSkinSize(false);
    bsSkinOfficeComboBox2->SetBounds(83, 33, 126, 51);
    bsSkinOfficeComboBox2->SetListBoxSkinDataName(L"resizetoolpanel");
    bsSkinOfficeComboBox2->SetListBoxShowItemTitles(false);
    bsSkinOfficeComboBox2->SetListBoxShowLines(false);
    bsSkinOfficeComboBox2->SetListBoxWidth(119);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetDropDownCount(4);
    bsSkinOfficeComboBox2->SetUseSkinFont(false);
    UseFont(bsSkinOfficeComboBox2, L"宋体", -12);
    bsSkinOfficeComboBox2->SetImages(ImageList1);
    for (int i = 0; i < LegacyCategoryCount; ++i) {
        TbsSkinOfficeItem* item = bsSkinOfficeComboBox2->Items()->Add();
        item->SetCaption(LegacyCategoryTable[i].Caption);
        item->SetImageIndex(i);
    }
    bsSkinOfficeComboBox2->SetItemIndex(0);  // while loading: no handler runs

    bsSkinButton1 = new TbsSkinButton(this);
    bsSkinButton1->SetParent(bsSkinPanel2);
    bsSkinButton1->SetCaption(L"设置");
    bsSkinButton1->SetSkinDataName(L"resizebutton");
    bsSkinButton1->SetBounds(621, 139, 55, 51);
    bsSkinButton1->SetVisible(false);

    Panel1 = MakeLegacyCommandPanel(this);
    Image1 = new TImage(this);
    Image1->SetParent(Panel1);
    Image1->SetBounds(46, 158, 171, 103);
    TBitmap* picture = Image1->Picture()->Bitmap();
    picture->SetSize(128, 128);
    picture->Canvas()->Brush()->SetColor(static_cast<TColor>(0xE0C8A0));
    picture->Canvas()->FillRect(Rect(0, 0, 128, 128));
    Button6 = MakeButton(this, Panel1, L"初始化数据", 32, 47, 75, [this](TObject* s) { Button6Click(s); });
    Button5 = MakeButton(this, Panel1, L"根据combox添加数据", 113, 47, 126, [this](TObject* s) { Button5Click(s); });
    Button7 = MakeButton(this, Panel1, L"确认oo数据", 230, 47, 75, nullptr);
    Button2 = MakeButton(this, Panel1, L"添加combox", 32, 78, 104, [this](TObject* s) { Button2Click(s); });
    Button13 = MakeButton(this, Panel1, L"确认预置选项数据", 32, 109, 113, [this](TObject* s) { Button13Click(s); });
    Button11 = MakeButton(this, Panel1, L"onchange用", 151, 78, 95, nullptr);
    Button18 =
        MakeButton(this, Panel1, L"根据combox添加预设选项", 42, 163, 143, [this](TObject* s) { Button18Click(s); });

    bsSkinPageControl1 = new TbsSkinPageControl(this);
    bsSkinPageControl1->SetParent(this);
    bsSkinPageControl1->SetBounds(38, 175, 625, 222);
    bsSkinPageControl1->SetSkinDataName(L"tab");
    bsSkinPageControl1->SetButtonTabSkinDataName(L"resizetoolbutton");
    bsSkinPageControl1->SetDefaultItemHeight(20);
    bsSkinPageControl1->SetTabOrder(2);
    {
        TFont font;
        SetFontFace(&font, L"Arial", 14);
        bsSkinPageControl1->SetDefaultFont(&font);
    }
    bsSkinTabSheet1 = MakeSheet(this, bsSkinPageControl1, L"标准参数设置");
    bsSkinTabSheet2 = MakeSheet(this, bsSkinPageControl1, L"剪辑设置");
    滤镜设置 = MakeSheet(this, bsSkinPageControl1, L"滤镜设置");
    bsSkinTabSheet3 = MakeSheet(this, bsSkinPageControl1, L"文字水印");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    for (auto [button, caption, left, order] :
         {std::tuple{&bsSkinButton3, L"取消", 594, 3}, std::tuple{&bsSkinButton2, L"确定", 480, 4}}) {
        auto* b = new TbsSkinButton(this);
        b->SetParent(this);
        b->SetCaption(caption);
        b->SetSkinDataName(L"button");
        b->SetDefaultHeight(25);
        b->SetBounds(left, 416, 69, 25);
        b->SetSpacing(10);
        b->SetTabOrder(order);
        UseFont(b, L"宋体", -12);
        *button = b;
    }
    bsSkinButton3->OnClick = [this](TObject* s) { bsSkinButton3Click(s); };
    bsSkinButton2->OnClick = [this](TObject* s) { bsSkinButton2Click(s); };

    BuildParameterPage();

    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetBorderIcons(
        {TbsBorderIcon::biSystemMenu, TbsBorderIcon::biMinimize, TbsBorderIcon::biMaximize, TbsBorderIcon::biRollUp});
    DERID = new TFFConverter(this);

    bsSkinOfficeComboBox1->OnClick = [this](TObject* s) { bsSkinOfficeComboBox1Click(s); };
    bsSkinOfficeComboBox2->OnChange = [this](TObject* s) { bsSkinOfficeComboBox2Change(s); };
    EndLoading();
    SetSkinData(ASkinData);

    OnCreate = [this](TObject* s) { FormCreate(s); };
    AfterConstruction();
}

void TForm6::BuildParameterPage()
{
    struct TPlace {
        TbsSkinTextLabel** Label;
        const wchar_t* Text;
        int LabelLeft, LabelTop;
        TbsSkinComboBox** Combo;
        TPresetParameter Parameter;
        int Left, Top, Width;
    };
    // In creation order; tab order follows the table's rows.
    const TPlace places[] = {
        {&bsSkinTextLabel3, L"视频分辨率：", 19, 24, &bsSkinComboBox1, ppFrameSize, 16, 43, 289},
        {&bsSkinTextLabel2, L"视频比特率：", 342, 24, &bsSkinComboBox2, ppVideoBitrate, 342, 43, 251},
        {&bsSkinTextLabel6, L"视频帧率：", 16, 69, &bsSkinComboBox9, ppFrameRate, 14, 88, 291},
        {&bsSkinTextLabel4, L"音频比特率：", 16, 114, &bsSkinComboBox3, ppAudioBitrate, 16, 133, 289},
        {&bsSkinTextLabel7, L"音频采样率：", 342, 114, &bsSkinComboBox10, ppSampleRate, 342, 133, 251},
        {&bsSkinTextLabel9, L"视频缩放：", 342, 69, &bsSkinComboBox4, ppAspectMode, 342, 88, 251},
    };
    int order = 0;
    for (const TPlace& place : places) {
        *place.Label = MakeLabel(this, bsSkinTabSheet1, place.Text, place.LabelLeft, place.LabelTop);
        auto* combo = new TbsSkinComboBox(this);
        combo->SetParent(bsSkinTabSheet1);
        combo->SetSkinDataName(L"combobox");
        combo->SetDropDownCount(8);
        combo->SetUseSkinSize(false);
        combo->SetBounds(place.Left, place.Top, place.Width, 20);
        combo->SetTabOrder(order++);
        UseFont(combo, L"Arial", 14);
        *place.Combo = combo;
        FCombos[place.Parameter] = combo;
    }
}

TForm6::~TForm6()
{
    if (Form6 == this) Form6 = nullptr;
}

void TForm6::SetSkinData(TbsSkinData* ASkinData)
{
    bsSkinForm1->SetSkinData(ASkinData);
    for (TbsSkinCustomControl* control :
         {static_cast<TbsSkinCustomControl*>(bsSkinPanel2), static_cast<TbsSkinCustomControl*>(bsSkinOfficeComboBox1),
          static_cast<TbsSkinCustomControl*>(bsSkinOfficeComboBox2), static_cast<TbsSkinCustomControl*>(bsSkinButton2),
          static_cast<TbsSkinCustomControl*>(bsSkinButton3)})
        control->SetSkinData(ASkinData);
    for (TbsSkinComboBox* combo : FCombos) combo->SetSkinData(ASkinData);
    for (TbsSkinTextLabel* label : {bsSkinTextLabel5, bsSkinTextLabel3, bsSkinTextLabel2, bsSkinTextLabel6,
                                    bsSkinTextLabel4, bsSkinTextLabel7, bsSkinTextLabel9})
        label->SetSkinData(ASkinData);
    bsSkinPageControl1->SetSkinData(ASkinData);
}

std::array<String, PresetParameterCount> TForm6::ShownTexts() const
{
    std::array<String, PresetParameterCount> texts;
    for (int p = 0; p < PresetParameterCount; ++p) texts[p] = FCombos[p]->Text();
    return texts;
}

// ---- handlers ----

void TForm6::FormCreate(TObject*) { Button2->Click(); }

void TForm6::bsSkinOfficeComboBox2Change(TObject*) { Button2->Click(); }

void TForm6::bsSkinOfficeComboBox1Click(TObject*) { Button18->Click(); }

void TForm6::Button2Click(TObject*)
{
    TbsSkinOfficeItems* items = bsSkinOfficeComboBox1->Items();
    items->Clear();
    for (const TLegacyPresetItem& preset : LegacyFillPresetList(bsSkinOfficeComboBox2->ItemIndex())) {
        TbsSkinOfficeItem* item = items->Add();
        item->SetTitle(preset.Title);
        item->SetCaption(preset.Caption);
        item->SetImageIndex(preset.ImageIndex);
    }
    bsSkinOfficeComboBox1->Repaint();
    bsSkinOfficeComboBox1->SetItemIndex(0);
}

void TForm6::Button18Click(TObject*)
{
    FillParameterCombos(
        LegacyFillParameterChoices(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(), FSettings),
        FCombos);
}

void TForm6::Button5Click(TObject*)
{
    LegacyApplyPresetOptions(bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
                             OutputFolderText ? OutputFolderText() : String(),
                             OverwriteChosen ? OverwriteChosen() : false, FSettings);
}

void TForm6::Button13Click(TObject*) { ReadParameterChoices(ShownTexts(), FSettings); }

void TForm6::Button6Click(TObject*) { ResetPresetSettings(FSettings); }

void TForm6::bsSkinButton2Click(TObject*)
{
    Button5->Click();
    Button13->Click();
    Close();
}

void TForm6::bsSkinButton3Click(TObject*) { Close(); }
