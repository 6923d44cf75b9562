// The about box "关于". See about_form.h.
#include "app/about_form.h"

#include "app/form_values.h"
#include "app/maker_links.h"
#include "app/program_icons.h"
#include "app/program_icons_data.h"
#include "platform/framework/core/streams.h"
#include "platform/framework/controls/image.h"
#include "skin/boxes/link_label.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_std_label.h"
#include "skin/form/skin_form.h"

TForm2* Form2 = nullptr;

namespace {
// The program's picture, 80 pixels, from the program's own icons; its soft edges show the skin
// through.
void LoadPicture(TImage* AImage)
{
    const TProgramIconData* icon = FindProgramIcon("program_picture");
    if (!icon) return;
    TMemoryStream m;
    m.WriteBuffer(icon->Png, static_cast<int64_t>(icon->PngSize));
    m.SetPosition(0);
    AImage->Picture()->LoadFromStream(m);
    AImage->SetTransparent(true);
}
}  // namespace

TForm2::TForm2(TComponent* AOwner) : TForm(AOwner)
{
    SetCaption(L"关于");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    SetClientSize(368, 238);

    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetBorderIcons({});
    SetStoredFormValues(bsSkinForm1);
    // Centred on the work area, the icon in its caption, snapping to the screen's edges, never
    // blended.
    bsSkinForm1->SetPositionInMonitor(bspDesktopCenter);
    bsSkinForm1->SetShowIcon(true);
    bsSkinForm1->SetMagnetic(true);
    bsSkinForm1->SetMagneticSize(10);
    bsSkinForm1->SetAlphaBlendValue(0);
    bsSkinForm1->SetMenusAlphaBlendValue(0);

    Image1 = new TImage(this);
    Image1->SetParent(this);
    Image1->SetBounds(12, 24, 80, 80);
    LoadPicture(Image1);

    auto label = [this](const String& Caption, int Left, int Top) {
        auto* l = new TbsSkinStdLabel(this);
        l->SetParent(this);
        l->SetLeft(Left);
        l->SetTop(Top);
        l->SetCaption(Caption);
        return l;
    };
    auto link = [this](const String& Caption, const String& URL, int Left, int Top) {
        // A link label does not measure itself: it gets its size here.
        auto* l = new TbsSkinLinkLabel(this);
        l->SetParent(this);
        l->SetAutoSize(false);
        l->SetBounds(Left, Top, 240, 16);
        l->SetCaption(Caption);
        l->SetURL(URL);
        return l;
    };
    bsSkinStdLabel1 = label(L"VexmoraMKV格式转换器", 104, 28);
    bsSkinStdLabel2 = label(L"Ver:1.00.218", 104, 52);
    bsSkinStdLabel3 = label(L"了解更多请访问：", 104, 88);
    bsSkinLinkLabel1 = link(kMakerWebSite, kMakerWebSite, 104, 108);
    bsSkinStdLabel4 = label(L"联系邮箱：", 104, 132);
    bsSkinLinkLabel2 = link(kMakerSupportMailAddress, kMakerSupportMail, 104, 152);
    bsSkinStdLabel5 = label(kMakerName, 104, 176);

    bsSkinButton1 = new TbsSkinButton(this);
    bsSkinButton1->SetParent(this);
    bsSkinButton1->SetCaption(L"确定");
    bsSkinButton1->SetDefault(true);
    bsSkinButton1->SetCancel(true);
    bsSkinButton1->SetCanFocused(true);
    bsSkinButton1->SetBounds(276, 203, 80, 25);
    bsSkinButton1->OnClick = [this](TObject* S) { bsSkinButton1Click(S); };

    AfterConstruction();
}

TForm2::~TForm2()
{
    if (Form2 == this) Form2 = nullptr;
}

void TForm2::SetSkinData(TbsSkinData* Value)
{
    bsSkinForm1->SetSkinData(Value);
    bsSkinForm1->SetMenusSkinData(Value);
    for (TbsSkinStdLabel* l : {bsSkinStdLabel1, bsSkinStdLabel2, bsSkinStdLabel3, bsSkinStdLabel4, bsSkinStdLabel5})
        l->SetSkinData(Value);
    bsSkinLinkLabel1->SetSkinData(Value);
    bsSkinLinkLabel2->SetSkinData(Value);
    bsSkinButton1->SetSkinData(Value);
}

void TForm2::bsSkinButton1Click(TObject*)
{
    if (FormState().Contains(fsModal))
        SetModalResult(mrOk);
    else
        Close();
}
