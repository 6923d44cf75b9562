// The options dialog "选项". See options_form.h.
#include "app/options_form.h"

#include <array>
#include <cstdio>

#include "app/form_values.h"
#include "app/program_paths.h"
#include "engine/converter.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/core/exceptions.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/strings.h"
#include "skin/boxes/skin_combo_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_page_control.h"
#include "skin/controls/skin_paint_panel.h"
#include "skin/controls/skin_std_label.h"
#include "skin/controls/skin_tab_sheet.h"
#include "skin/form/skin_form.h"

TForm5* Form5 = nullptr;

namespace {
const wchar_t* const kSection = L"Options";
constexpr int kMaxThreads = 19;

// Radio groups: each group's boxes share a parent and a group index.
constexpr int kPriorityGroup = 1;
constexpr int kOverwriteGroup = 2;
constexpr int kAfterDoneGroup = 3;

// option.ini read and written one key at a time. A write that fails (a settings folder that
// takes no files) is reported once on stderr and otherwise ignored, so the dialog keeps working
// on what it shows.
class OptionsFile {
public:
    OptionsFile() : FIni(OptionIniPath()) {}

    bool Exists() const { return FileExists(FIni.FileName()); }
    // The value, or "" when it is missing (the file's "Error" placeholder counts as missing).
    String Read(const String& key)
    {
        String v;
        try {
            v = FIni.ReadString(kSection, key, L"Error");
        } catch (const Exception&) {
            return String();
        }
        return v == L"Error" ? String() : v;
    }
    void Write(const String& key, const String& value)
    {
        try {
            FIni.WriteString(kSection, key, value);
        } catch (const Exception& e) {
            if (FOk)
                std::fprintf(stderr, "vexmora: cannot write %s: %s\n", StringToUtf8(FIni.FileName()).c_str(),
                             StringToUtf8(e.Message()).c_str());
            FOk = false;
        }
    }
    bool Ok() const { return FOk; }

private:
    TIniFile FIni;
    bool FOk = true;
};
}  // namespace

// The controls' state as the dialog showed it, for "取消".
struct TForm5::Snapshot {
    std::array<bool, 13> Checked{};  // by box number, 1..12
    int ThreadIndex = 0;
};

TForm5::TForm5(TComponent* AOwner, TCustomFFConverter* ADERID) : TForm(AOwner), DERID(ADERID)
{
    SetCaption(L"选项");
    SetBorderStyle(bsSingle);
    SetBorderIcons({});
    SetPosition(poMainFormCenter);
    SetClientSize(526, 464);

    bsSkinForm1 = new TbsSkinForm(this);
    bsSkinForm1->SetBorderIcons({});
    SetStoredFormValues(bsSkinForm1);

    bsSkinPageControl1 = new TbsSkinPageControl(this);
    bsSkinPageControl1->SetParent(this);
    bsSkinPageControl1->SetBounds(8, 8, 510, 408);
    bsSkinTabSheet1 = new TbsSkinTabSheet(bsSkinPageControl1);
    bsSkinTabSheet1->SetPageControl(bsSkinPageControl1);
    bsSkinTabSheet1->SetCaption(L"CPU");
    bsSkinTabSheet2 = new TbsSkinTabSheet(bsSkinPageControl1);
    bsSkinTabSheet2->SetPageControl(bsSkinPageControl1);
    bsSkinTabSheet2->SetCaption(L"常规");

    auto group = [this](TWinControl* Parent, const String& Caption, int Top, int Height) {
        auto* g = new TbsSkinGroupBox(this);
        g->SetParent(Parent);
        g->SetBounds(12, Top, 480, Height);
        g->SetCaption(Caption);
        return g;
    };

    // ---- "CPU" ----
    bsSkinGroupBox1 = group(bsSkinTabSheet1, L"转换时CPU利用方式", 12, 150);
    bsSkinCheckRadioBox9 = NewBox(bsSkinGroupBox1, L"系统空闲时进行", 24, 30, 300, true, kPriorityGroup, false);
    bsSkinCheckRadioBox10 = NewBox(bsSkinGroupBox1, L"最低优先级进行", 24, 58, 300, true, kPriorityGroup, false);
    bsSkinCheckRadioBox11 = NewBox(bsSkinGroupBox1, L"较低优先级进行", 24, 86, 300, true, kPriorityGroup, false);
    bsSkinCheckRadioBox12 = NewBox(bsSkinGroupBox1, L"正常优先级进行", 24, 114, 300, true, kPriorityGroup, true);

    bsSkinGroupBox2 = group(bsSkinTabSheet1, L"转换参数", 174, 120);
    bsSkinStdLabel1 = new TbsSkinStdLabel(this);
    bsSkinStdLabel1->SetParent(bsSkinGroupBox2);
    bsSkinStdLabel1->SetBounds(24, 36, 170, 16);
    bsSkinStdLabel1->SetCaption(L"同时进行转换的文件个数");
    bsSkinComboBox2 = new TbsSkinComboBox(this);
    bsSkinComboBox2->SetParent(bsSkinGroupBox2);
    bsSkinComboBox2->SetBounds(200, 32, 80, 20);
    bsSkinComboBox2->SetStyle(bscbFixedStyle);
    for (int i = 1; i <= kMaxThreads; ++i) bsSkinComboBox2->Items()->Add(IntToStr(i));
    bsSkinComboBox2->SetItemIndex(0);
    bsSkinCheckRadioBox8 = NewBox(bsSkinGroupBox2, L"转换时进行实时视频预览", 24, 72, 300, false, 0, false);
    // Below the group's visible area: only the program changes it.
    bsSkinCheckRadioBox7 =
        NewBox(bsSkinGroupBox2, L"启用多线程模式   （同时进行转换的视频个数）", 24, 200, 400, false, 0, true);

    // ---- "常规" ----
    bsSkinGroupBox3 = group(bsSkinTabSheet2, L"如果输出文件存在时", 12, 100);
    bsSkinCheckRadioBox3 = NewBox(bsSkinGroupBox3, L"直接覆盖输出文件", 24, 30, 300, true, kOverwriteGroup, false);
    bsSkinCheckRadioBox6 = NewBox(bsSkinGroupBox3, L"自动重命名输出文件", 24, 58, 300, true, kOverwriteGroup, true);

    bsSkinGroupBox4 = group(bsSkinTabSheet2, L"转换工作完成后", 124, 150);
    bsSkinCheckRadioBox1 = NewBox(bsSkinGroupBox4, L"自动打开输出文件夹", 24, 30, 300, true, kAfterDoneGroup, true);
    bsSkinCheckRadioBox2 = NewBox(bsSkinGroupBox4, L"自动关闭计算机", 24, 58, 300, true, kAfterDoneGroup, false);
    bsSkinCheckRadioBox4 = NewBox(bsSkinGroupBox4, L" 播放提示音乐", 24, 86, 300, true, kAfterDoneGroup, false);
    bsSkinCheckRadioBox5 = NewBox(bsSkinGroupBox4, L"不进行任何操作", 24, 114, 300, true, kAfterDoneGroup, false);

    bsSkinPageControl1->SetActivePage(bsSkinTabSheet2);

    // ---- buttons ----
    bsSkinButton6 = new TbsSkinButton(this);
    bsSkinButton6->SetParent(this);
    bsSkinButton6->SetCaption(L"确定");
    bsSkinButton6->SetDefault(true);
    bsSkinButton6->SetCanFocused(true);
    bsSkinButton6->SetBounds(348, 428, 80, 25);
    bsSkinButton1 = new TbsSkinButton(this);
    bsSkinButton1->SetParent(this);
    bsSkinButton1->SetCaption(L"取消");
    bsSkinButton1->SetCancel(true);
    bsSkinButton1->SetCanFocused(true);
    bsSkinButton1->SetBounds(436, 428, 80, 25);

    // The commands as hidden buttons, below the client area.
    Button1 = new TButton(this);
    Button1->SetParent(this);
    Button1->SetCaption(L"读取ini");
    Button1->SetBounds(8, 480, 75, 25);
    Button1->SetVisible(false);
    Button2 = new TButton(this);
    Button2->SetParent(this);
    Button2->SetCaption(L"写ini");
    Button2->SetBounds(90, 480, 75, 25);
    Button2->SetVisible(false);

    // The handlers last, as a loaded layout assigns them after the boxes' states.
    bsSkinCheckRadioBox7->OnClick = [this](TObject* S) { bsSkinCheckRadioBox7Click(S); };
    bsSkinCheckRadioBox8->OnClick = [this](TObject* S) { bsSkinCheckRadioBox8Click(S); };
    bsSkinButton6->OnClick = [this](TObject* S) { bsSkinButton6Click(S); };
    bsSkinButton1->OnClick = [this](TObject* S) { bsSkinButton1Click(S); };
    Button1->OnClick = [this](TObject* S) { Button1Click(S); };
    Button2->OnClick = [this](TObject* S) { Button2Click(S); };
    OnCreate = [this](TObject* S) { FormCreate(S); };

    AfterConstruction();
}

TForm5::~TForm5()
{
    if (Form5 == this) Form5 = nullptr;
}

TbsSkinCheckRadioBox* TForm5::NewBox(TWinControl* Parent, const String& Caption, int Left, int Top, int Width,
                                     bool Radio, int Group, bool Checked)
{
    auto* b = new TbsSkinCheckRadioBox(this);
    b->SetParent(Parent);
    b->SetBounds(Left, Top, Width, 20);
    b->SetCaption(Caption);
    b->SetRadio(Radio);
    // Choices that exclude one another are drawn round, from the skin's own radio record.
    if (Radio) b->SetSkinDataName(L"radiobox");
    b->SetChecked(Checked);
    b->SetGroupIndex(Group);
    return b;
}

void TForm5::SetSkinData(TbsSkinData* Value)
{
    bsSkinForm1->SetSkinData(Value);
    bsSkinForm1->SetMenusSkinData(Value);
    bsSkinPageControl1->SetSkinData(Value);
    for (TbsSkinCustomControl* c :
         {static_cast<TbsSkinCustomControl*>(bsSkinGroupBox1), static_cast<TbsSkinCustomControl*>(bsSkinGroupBox2),
          static_cast<TbsSkinCustomControl*>(bsSkinGroupBox3), static_cast<TbsSkinCustomControl*>(bsSkinGroupBox4),
          static_cast<TbsSkinCustomControl*>(bsSkinComboBox2), static_cast<TbsSkinCustomControl*>(bsSkinButton6),
          static_cast<TbsSkinCustomControl*>(bsSkinButton1)})
        c->SetSkinData(Value);
    for (TbsSkinCheckRadioBox* b :
         {bsSkinCheckRadioBox1, bsSkinCheckRadioBox2, bsSkinCheckRadioBox3, bsSkinCheckRadioBox4, bsSkinCheckRadioBox5,
          bsSkinCheckRadioBox6, bsSkinCheckRadioBox7, bsSkinCheckRadioBox8, bsSkinCheckRadioBox9, bsSkinCheckRadioBox10,
          bsSkinCheckRadioBox11, bsSkinCheckRadioBox12})
        b->SetSkinData(Value);
    bsSkinStdLabel1->SetSkinData(Value);
}

// ---- showing ----

std::array<TbsSkinCheckRadioBox*, 13> TForm5::NumberedBoxes() const
{
    return {nullptr,
            bsSkinCheckRadioBox1,
            bsSkinCheckRadioBox2,
            bsSkinCheckRadioBox3,
            bsSkinCheckRadioBox4,
            bsSkinCheckRadioBox5,
            bsSkinCheckRadioBox6,
            bsSkinCheckRadioBox7,
            bsSkinCheckRadioBox8,
            bsSkinCheckRadioBox9,
            bsSkinCheckRadioBox10,
            bsSkinCheckRadioBox11,
            bsSkinCheckRadioBox12};
}

TForm5::Snapshot TForm5::TakeSnapshot() const
{
    Snapshot s;
    const auto boxes = NumberedBoxes();
    for (size_t i = 1; i < s.Checked.size(); ++i) s.Checked[i] = boxes[i]->Checked();
    s.ThreadIndex = bsSkinComboBox2->ItemIndex();
    return s;
}

void TForm5::RestoreSnapshot(const Snapshot& S)
{
    const auto boxes = NumberedBoxes();
    // A radio is restored by selecting it (its group follows); an unselected one only when its
    // whole group was unselected. Check boxes are set only when they changed, which runs their
    // handlers (the combo's availability, the task component's preview).
    for (size_t i = 1; i < S.Checked.size(); ++i) {
        TbsSkinCheckRadioBox* b = boxes[i];
        if (b->Checked() == S.Checked[i]) continue;
        if (!b->Radio() || S.Checked[i]) b->SetChecked(S.Checked[i]);
    }
    for (size_t i = 1; i < S.Checked.size(); ++i)
        if (boxes[i]->Radio() && boxes[i]->Checked() != S.Checked[i]) boxes[i]->SetChecked(S.Checked[i]);
    bsSkinComboBox2->SetItemIndex(S.ThreadIndex);
}

int TForm5::ShowModal()
{
    const Snapshot shown = TakeSnapshot();
    const int result = TForm::ShowModal();
    if (result != mrOk) RestoreSnapshot(shown);
    return result;
}

// ---- option.ini ----

void TForm5::LoadOptions()
{
    OptionsFile ini;
    if (!ini.Exists()) {
        ini.Write(L"After_Done", L"0");
        bsSkinCheckRadioBox1->SetChecked(true);
        ini.Write(L"Show_Preview", L"0");
        bsSkinCheckRadioBox8->SetChecked(false);
        ini.Write(L"Thread_Priority", L"3");
        bsSkinCheckRadioBox12->SetChecked(true);
        ini.Write(L"Overwrite_File", L"1");
        bsSkinCheckRadioBox6->SetChecked(true);
        bsSkinComboBox2->SetItemIndex(0);
        return;
    }

    // Each key: a known value selects its control, anything else writes the default and selects
    // the default control.
    struct Choice {
        const wchar_t* Value;
        TbsSkinCheckRadioBox* Box;
    };
    auto radios = [&ini](const wchar_t* Key, std::initializer_list<Choice> Choices, const Choice& Default) {
        const String v = ini.Read(Key);
        for (const Choice& c : Choices)
            if (v == c.Value) {
                c.Box->SetChecked(true);
                return;
            }
        ini.Write(Key, Default.Value);
        Default.Box->SetChecked(true);
    };
    radios(L"After_Done",
           {{L"0", bsSkinCheckRadioBox1},
            {L"1", bsSkinCheckRadioBox2},
            {L"2", bsSkinCheckRadioBox4},
            {L"3", bsSkinCheckRadioBox5}},
           {L"0", bsSkinCheckRadioBox1});
    radios(L"Thread_Priority",
           {{L"0", bsSkinCheckRadioBox9},
            {L"1", bsSkinCheckRadioBox10},
            {L"2", bsSkinCheckRadioBox11},
            {L"3", bsSkinCheckRadioBox12}},
           {L"3", bsSkinCheckRadioBox12});
    radios(L"Overwrite_File", {{L"0", bsSkinCheckRadioBox3}, {L"1", bsSkinCheckRadioBox6}},
           {L"1", bsSkinCheckRadioBox6});

    const String preview = ini.Read(L"Show_Preview");
    if (preview == L"1" || preview == L"0") {
        bsSkinCheckRadioBox8->SetChecked(preview == L"1");
    } else {
        ini.Write(L"Show_Preview", L"0");
        bsSkinCheckRadioBox8->SetChecked(false);
    }

    // The thread count saved with the multi-thread box; anything but "1".."19" gives "1". It is
    // not written back here: only a save with the box ticked stores it.
    const int count = StrToIntDef(ini.Read(L"Thread_Count"), 0);
    bsSkinComboBox2->SetItemIndex(count >= 1 && count <= kMaxThreads ? count - 1 : 0);
}

bool TForm5::SaveOptions()
{
    OptionsFile ini;
    if (bsSkinCheckRadioBox7->Checked()) ini.Write(L"Thread_Count", bsSkinComboBox2->Text());
    if (bsSkinCheckRadioBox1->Checked()) ini.Write(L"After_Done", L"0");
    if (bsSkinCheckRadioBox2->Checked()) ini.Write(L"After_Done", L"1");
    if (bsSkinCheckRadioBox4->Checked()) ini.Write(L"After_Done", L"2");
    if (bsSkinCheckRadioBox5->Checked()) ini.Write(L"After_Done", L"3");
    ini.Write(L"Show_Preview", bsSkinCheckRadioBox8->Checked() ? L"1" : L"0");
    if (bsSkinCheckRadioBox9->Checked()) ini.Write(L"Thread_Priority", L"0");
    if (bsSkinCheckRadioBox10->Checked()) ini.Write(L"Thread_Priority", L"1");
    if (bsSkinCheckRadioBox11->Checked()) ini.Write(L"Thread_Priority", L"2");
    if (bsSkinCheckRadioBox12->Checked()) ini.Write(L"Thread_Priority", L"3");
    if (bsSkinCheckRadioBox3->Checked()) ini.Write(L"Overwrite_File", L"0");
    if (bsSkinCheckRadioBox6->Checked()) ini.Write(L"Overwrite_File", L"1");
    return ini.Ok();
}

// ---- handlers ----

void TForm5::FormCreate(TObject*) { LoadOptions(); }

void TForm5::Button1Click(TObject*) { LoadOptions(); }

void TForm5::Button2Click(TObject*) { SaveOptions(); }

void TForm5::bsSkinButton6Click(TObject*)
{
    SaveOptions();
    if (FormState().Contains(fsModal))
        SetModalResult(mrOk);
    else
        Close();
}

void TForm5::bsSkinButton1Click(TObject*)
{
    if (FormState().Contains(fsModal))
        SetModalResult(mrCancel);
    else
        Close();
}

void TForm5::bsSkinCheckRadioBox7Click(TObject*) { bsSkinComboBox2->SetEnabled(bsSkinCheckRadioBox7->Checked()); }

void TForm5::bsSkinCheckRadioBox8Click(TObject*)
{
    if (DERID) DERID->SetPreview(bsSkinCheckRadioBox8->Checked());
}
