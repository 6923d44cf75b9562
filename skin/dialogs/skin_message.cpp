#include "skin/dialogs/skin_message.h"

#include <memory>

#include "platform/framework/controls/image.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/graphics/icon.h"
#include "platform/win/user_api.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_check_radio_box.h"
#include "skin/controls/skin_std_label.h"
#include "skin/core/button_records.h"
#include "skin/core/resource_strings.h"
#include "skin/form/skin_form.h"

namespace {

constexpr int kButtonWidth = 70;
constexpr int kButtonGap = 10;
constexpr int kDefaultButtonHeight = 25;

struct ButtonInfo {
    const wchar_t* Name;
    const wchar_t* Key;
    const wchar_t* Fallback;
    TModalResult Result;
};
// In creation order, left to right; Help closes nothing.
constexpr ButtonInfo kButtons[] = {
    {L"Yes", L"MSG_BTN_YES", L"&Yes", 6},
    {L"No", L"MSG_BTN_NO", L"&No", 7},
    {L"OK", L"MSG_BTN_OK", L"OK", 1},
    {L"Cancel", L"MSG_BTN_CANCEL", L"Cancel", 2},
    {L"Abort", L"MSG_BTN_ABORT", L"&Abort", 3},
    {L"Retry", L"MSG_BTN_RETRY", L"&Retry", 4},
    {L"Ignore", L"MSG_BTN_IGNORE", L"&Ignore", 5},
    {L"All", L"MSG_BTN_ALL", L"&All", 8},
    {L"NoToAll", L"MSG_BTN_NOTOALL", L"N&oToAll", 9},
    {L"YesToAll", L"MSG_BTN_YESTOALL", L"&YesToAll", 10},
    {L"Help", L"MSG_BTN_HELP", L"&Help", 0},
    {L"Close", L"MSG_BTN_CLOSE", L"Close", 11},
};
constexpr int kButtonCount = 12;

struct TypeInfo {
    const wchar_t* Key;
    const wchar_t* Fallback;
    LPCWSTR Icon;
};
const TypeInfo kTypes[] = {
    {L"MSG_CAP_WARNING", L"Warning", IDI_EXCLAMATION},
    {L"MSG_CAP_ERROR", L"Error", IDI_HAND},
    {L"MSG_CAP_INFORMATION", L"Information", IDI_ASTERISK},
    {L"MSG_CAP_CONFIRM", L"Confirm", IDI_QUESTION},
    {nullptr, L"", nullptr},
};

constexpr const wchar_t* kShowFlagKey = L"MSG_CAP_SHOWFLAG";
constexpr const wchar_t* kShowFlagFallback = L"Do not display this message again";

TbsResourceStrData* TextTable(TbsSkinData* ASkinData) { return ASkinData ? ASkinData->ResourceStrData() : nullptr; }

}  // namespace

String GetButtonCaption(TMsgDlgBtn Button, TbsSkinData* ASkinData)
{
    const ButtonInfo& b = kButtons[Button];
    if (TbsResourceStrData* t = TextTable(ASkinData)) return t->GetResStr(b.Key);
    return b.Fallback;
}

String GetTypeCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData)
{
    const TypeInfo& t = kTypes[DlgType];
    if (!t.Key) return String();
    if (TbsResourceStrData* table = TextTable(ASkinData)) return table->GetResStr(t.Key);
    return t.Fallback;
}

// ---- the form ----

TbsMessageForm::TbsMessageForm(TComponent* AOwner, int X, int Y) : TForm(AOwner)
{
    SetBorderStyle(bsDialog);
    if (X < -10000) {
        SetPosition(poScreenCenter);
    } else {
        SetPosition(poDesigned);
        SetLeft(X);
        SetTop(Y);
    }
    AfterConstruction();
    BSF = new TbsSkinForm(this);
    BSF->SetBorderIcons(TbsBorderIcons{});
}

void TbsMessageForm::Dispatch(TMessage& M)
{
    TForm::Dispatch(M);
    // A box whose buttons close nothing (none, or Help alone) could never be dismissed: Esc ends
    // it as Cancel would.
    if (M.Msg != CM_DIALOGKEY || M.WParam != VK_ESCAPE || M.Result != 0) return;
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* b = dynamic_cast<TbsSkinButton*>(Components(i)); b && b->ModalResult() != mrNone) return;
    SetModalResult(mrCancel);
    M.Result = 1;
}

// ---- the component ----

TbsSkinMessage::TbsSkinMessage(TComponent* AOwner) : TComponent(AOwner)
{
    for (TFont* f : {&FDefaultFont, &FDefaultButtonFont}) {
        f->SetName(L"Tahoma");
        f->SetHeight(13);
        f->SetStyle(TFontStyles{});
    }
}

TbsSkinMessage::~TbsSkinMessage()
{
    if (FSD) FSD->RemoveFreeNotification(this);
    if (FCtrlSD && FCtrlSD != FSD) FCtrlSD->RemoveFreeNotification(this);
}

void TbsSkinMessage::SetSkinData(TbsSkinData* Value)
{
    if (Value == FSD) return;
    if (FSD && FSD != FCtrlSD) FSD->RemoveFreeNotification(this);
    FSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMessage::SetCtrlSkinData(TbsSkinData* Value)
{
    if (Value == FCtrlSD) return;
    if (FCtrlSD && FCtrlSD != FSD) FCtrlSD->RemoveFreeNotification(this);
    FCtrlSD = Value;
    if (Value) Value->FreeNotification(this);
}

void TbsSkinMessage::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != opRemove) return;
    if (AComponent == FSD) FSD = nullptr;
    if (AComponent == FCtrlSD) FCtrlSD = nullptr;
}

int TbsSkinMessage::ButtonHeight() const
{
    if (!FCtrlSD || FCtrlSD->Empty) return kDefaultButtonHeight;
    const int i = FCtrlSD->GetControlIndex(FButtonSkinDataName);
    if (i < 0) return kDefaultButtonHeight;
    auto* r = dynamic_cast<TbsDataSkinButtonControl*>(FCtrlSD->CtrlList[static_cast<size_t>(i)]);
    return r ? r->SkinRect.Bottom - r->SkinRect.Top : kDefaultButtonHeight;
}

TbsMessageForm* TbsSkinMessage::Build(const String& Msg, TMsgDlgButtons Buttons, const Layout& L, int X, int Y)
{
    auto* f = new TbsMessageForm(Application, X, Y);
    try {
        BuildInto(f, Msg, Buttons, L);
    } catch (...) {
        f->Free();
        throw;
    }
    return f;
}

void TbsSkinMessage::BuildInto(TbsMessageForm* F, const String& Msg, TMsgDlgButtons Buttons, const Layout& L)
{
    F->BSF->SetSkinData(FSD);
    F->BSF->SetMenusSkinData(FCtrlSD);
    F->BSF->SetAlphaBlend(FAlphaBlend);
    F->BSF->SetAlphaBlendAnimation(FAlphaBlendAnimation);
    F->BSF->SetAlphaBlendValue(FAlphaBlendValue);

    const int buttonHeight = ButtonHeight();
    int n = 0;
    for (int i = 0; i < kButtonCount; ++i) n += Buttons.Contains(static_cast<TMsgDlgBtn>(i)) ? 1 : 0;
    const int buttonsWidth = n > 0 ? n * (kButtonWidth + kButtonGap) - kButtonGap : 0;

    if (L.Caption)
        F->SetCaption(*L.Caption);
    else if (L.DlgType == mtCustom)
        F->SetCaption(Application->Title());
    else
        F->SetCaption(GetTypeCaption(L.DlgType, FCtrlSD));

    auto* label = new TbsSkinStdLabel(F);
    F->Message = label;
    label->SetFont(&FDefaultFont);
    label->SetDefaultFont(&FDefaultFont);
    label->SetUseSkinFont(FUseSkinFont);
    label->SetSkinDataName(FMessageLabelSkinDataName);
    label->SetSkinData(FCtrlSD);
    label->SetName(L"Message");
    label->SetParent(F);
    label->SetAutoSize(true);
    label->SetCaption(Msg);
    label->SetLeft(50);
    label->SetTop(15);
    const int labelRight = label->Left() + label->Width();
    const int iconTop = label->Top() + label->Height() / 2 - 16;

    if (L.UseImages) {
        if (L.Images && L.ImageIndex >= 0 && L.ImageIndex < L.Images->Count()) {
            auto* image = new TImage(F);
            image->SetName(L"Image");
            image->SetParent(F);
            image->SetTransparent(true);
            image->SetBounds(5, iconTop, L.Images->Width(), L.Images->Height());
            L.Images->GetIcon(L.ImageIndex, image->Picture()->Icon());
        }
    } else if (LPCWSTR stock = kTypes[L.DlgType].Icon) {
        auto* image = new TImage(F);
        image->SetName(L"Image");
        image->SetParent(F);
        image->Picture()->Icon()->SetHandle(LoadIconW(nullptr, stock));
        image->SetBounds(5, iconTop < 10 ? 10 : iconTop, 32, 32);
    }

    int clientHeight = buttonHeight + label->Height() + 50;
    int clientWidth = (buttonsWidth > labelRight ? buttonsWidth : labelRight) + 40;

    if (FShowAgainFlag && L.CheckBox) {
        clientHeight += 40;
        auto* box = new TbsSkinCheckRadioBox(F);
        F->DisplayCheckBox = box;
        box->SetName(L"checkbox");
        box->SetDefaultHeight(30);
        box->SetChecked(!FShowAgainFlagValue);
        box->SetParent(F);
        box->SetDefaultFont(&FDefaultFont);
        box->SetUseSkinFont(FUseSkinFont);
        box->SetSkinData(FCtrlSD);
        const int top = clientHeight - buttonHeight - 50;
        String text = kShowFlagFallback;
        if (TbsResourceStrData* t = TextTable(FCtrlSD)) {
            text = t->GetResStr(kShowFlagKey);
            if (text.empty()) text = kShowFlagFallback;
        }
        box->SetCaption(text);
        TCanvas* c = F->Canvas();
        if (box->SkinIndex() != -1 && FUseSkinFont) {
            c->Font()->SetName(box->FontName);
            c->Font()->SetHeight(box->FontHeight);
        } else {
            c->Font()->Assign(&FDefaultFont);
        }
        const int w = c->TextWidth(text);
        if (clientWidth < w + 60) clientWidth = w + 60;
        box->SetBounds(5, top, w + 55, box->DefaultHeight());
    }

    F->SetClientHeight(clientHeight);
    F->SetClientWidth(clientWidth);
    if (F->BSF->GetMaxWidth() < F->Width())
        F->SetWidth(F->BSF->GetMaxWidth());
    else if (F->Width() < F->BSF->GetMinWidth())
        F->SetWidth(F->BSF->GetMinWidth());

    TMsgDlgBtn defaultButton = Buttons.Contains(mbOK) ? mbOK : Buttons.Contains(mbYes) ? mbYes : mbRetry;
    if (L.DefaultButton) defaultButton = *L.DefaultButton;
    const TMsgDlgBtn cancelButton = Buttons.Contains(mbCancel) ? mbCancel : Buttons.Contains(mbNo) ? mbNo : mbOK;

    int x = (F->ClientWidth() - buttonsWidth) / 2;
    const int top = F->ClientHeight() - buttonHeight - 10;
    for (int i = 0; i < kButtonCount; ++i) {
        const auto which = static_cast<TMsgDlgBtn>(i);
        if (!Buttons.Contains(which)) continue;
        auto* b = new TbsSkinButton(F);
        b->SetParent(F);
        b->SetName(kButtons[i].Name);
        b->SetCanFocused(true);
        b->SetCaption(GetButtonCaption(which, FCtrlSD));
        b->SetModalResult(kButtons[i].Result);
        if (which == defaultButton) {
            b->SetDefault(true);
            if (L.DefaultButton) F->SetActiveControl(b);
        }
        if (which == cancelButton) b->SetCancel(true);
        b->SetDefaultHeight(buttonHeight);
        b->SetBounds(x, top, kButtonWidth, buttonHeight);
        b->SetDefaultFont(&FDefaultButtonFont);
        b->SetUseSkinFont(FUseSkinFont);
        x += kButtonWidth + kButtonGap;
        if (which == mbHelp) {
            // Help keeps the box open; what the help system raises ends the box and reaches the
            // caller (a click handler's exception would only reach the error box).
            b->OnClick = [F](TObject*) {
                try {
                    Application->HelpContext(F->HelpContext());
                } catch (...) {
                    F->HelpError = std::current_exception();
                    F->SetModalResult(mrCancel);
                }
            };
        }
        b->SetSkinDataName(FButtonSkinDataName);
        b->SetSkinData(FCtrlSD);
    }
}

int TbsSkinMessage::ShowForm(TbsMessageForm* F, int HelpCtx, const String* HelpFileName, bool CallSetShowPos)
{
    auto finish = [&] {
        if (F->DisplayCheckBox) FShowAgainFlagValue = !F->DisplayCheckBox->Checked();
        std::exception_ptr error = F->HelpError;
        F->Free();
        return error;
    };
    int result = 0;
    try {
        F->SetHelpContext(HelpCtx);
        if (HelpFileName) F->SetHelpFile(*HelpFileName);
        if (CallSetShowPos && OnSetShowPos) {
            int x = F->Left(), y = F->Top();
            OnSetShowPos(x, y, F->Width(), F->Height());
            F->SetLeft(x);
            F->SetTop(y);
        }
        result = F->ShowModal();
    } catch (...) {
        finish();
        throw;
    }
    if (std::exception_ptr error = finish()) std::rethrow_exception(error);
    return result;
}

// ---- layout routines ----

TbsMessageForm* TbsSkinMessage::CreateMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int X,
                                                  int Y)
{
    Layout l;
    l.DlgType = DlgType;
    return Build(Msg, Buttons, l, X, Y);
}

TbsMessageForm* TbsSkinMessage::CreateMessageFormEx(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                                    TMsgDlgBtn DefaultButton, int X, int Y)
{
    Layout l;
    l.DlgType = DlgType;
    l.DefaultButton = &DefaultButton;
    return Build(Msg, Buttons, l, X, Y);
}

TbsMessageForm* TbsSkinMessage::CreateCaptionMessageForm(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                                         TMsgDlgButtons Buttons, int X, int Y)
{
    Layout l;
    l.Caption = &ACaption;
    l.DlgType = DlgType;
    return Build(Msg, Buttons, l, X, Y);
}

TbsMessageForm* TbsSkinMessage::CreateCustomMessageForm(const String& Msg, const String& ACaption,
                                                        TCustomImageList* AImages, int AImageIndex,
                                                        TMsgDlgButtons Buttons, int X, int Y)
{
    Layout l;
    l.Caption = &ACaption;
    l.UseImages = true;
    l.Images = AImages;
    l.ImageIndex = AImageIndex;
    return Build(Msg, Buttons, l, X, Y);
}

TbsMessageForm* TbsSkinMessage::CreateCustomMessageFormEx(const String& Msg, const String& ACaption,
                                                          TCustomImageList* AImages, int AImageIndex,
                                                          TMsgDlgButtons Buttons, TMsgDlgBtn DefaultButton, int X,
                                                          int Y)
{
    Layout l;
    l.Caption = &ACaption;
    l.UseImages = true;
    l.Images = AImages;
    l.ImageIndex = AImageIndex;
    l.DefaultButton = &DefaultButton;
    return Build(Msg, Buttons, l, X, Y);
}

TbsMessageForm* TbsSkinMessage::CreateWideMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                                      int X, int Y)
{
    Layout l;
    l.DlgType = DlgType;
    l.CheckBox = false;
    return Build(Msg, Buttons, l, X, Y);
}

// ---- operations ----

int TbsSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    return ShowForm(CreateMessageForm(Msg, DlgType, Buttons, kCentred, kCentred), HelpCtx, nullptr, false);
}

int TbsSkinMessage::MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                               TMsgDlgBtn DefaultButton)
{
    return ShowForm(CreateMessageFormEx(Msg, DlgType, Buttons, DefaultButton, kCentred, kCentred), HelpCtx, nullptr,
                    false);
}

int TbsSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                                  int Y)
{
    return ShowForm(CreateMessageForm(Msg, DlgType, Buttons, X, Y), HelpCtx, nullptr, true);
}

int TbsSkinMessage::MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X,
                                  int Y, TMsgDlgBtn DefaultButton)
{
    return ShowForm(CreateMessageFormEx(Msg, DlgType, Buttons, DefaultButton, X, Y), HelpCtx, nullptr, true);
}

int TbsSkinMessage::MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                                   const String& HelpFileName)
{
    return ShowForm(CreateMessageForm(Msg, DlgType, Buttons, kCentred, kCentred), HelpCtx, &HelpFileName, false);
}

int TbsSkinMessage::MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                int HelpCtx)
{
    return ShowForm(CreateCaptionMessageForm(Msg, ACaption, DlgType, Buttons, kCentred, kCentred), HelpCtx, nullptr,
                    false);
}

int TbsSkinMessage::MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                    TMsgDlgButtons Buttons, int HelpCtx, const String& HelpFileName)
{
    return ShowForm(CreateCaptionMessageForm(Msg, ACaption, DlgType, Buttons, kCentred, kCentred), HelpCtx,
                    &HelpFileName, false);
}

int TbsSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                     int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx)
{
    return ShowForm(CreateCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, kCentred, kCentred), HelpCtx,
                    nullptr, false);
}

int TbsSkinMessage::CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                     int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx, TMsgDlgBtn DefaultButton)
{
    return ShowForm(
        CreateCustomMessageFormEx(Msg, ACaption, AImages, AImageIndex, Buttons, DefaultButton, kCentred, kCentred),
        HelpCtx, nullptr, false);
}

int TbsSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                        int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y)
{
    return ShowForm(CreateCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, X, Y), HelpCtx, nullptr,
                    true);
}

int TbsSkinMessage::CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                        int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y,
                                        TMsgDlgBtn DefaultButton)
{
    return ShowForm(CreateCustomMessageFormEx(Msg, ACaption, AImages, AImageIndex, Buttons, DefaultButton, X, Y),
                    HelpCtx, nullptr, true);
}

int TbsSkinMessage::CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                         int AImageIndex, TMsgDlgButtons Buttons, int HelpCtx,
                                         const String& HelpFileName)
{
    return ShowForm(CreateCustomMessageForm(Msg, ACaption, AImages, AImageIndex, Buttons, kCentred, kCentred), HelpCtx,
                    &HelpFileName, false);
}

int TbsSkinMessage::WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx)
{
    return ShowForm(CreateWideMessageForm(Msg, DlgType, Buttons, kCentred, kCentred), HelpCtx, nullptr, false);
}

int TbsSkinMessage::WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                                      int X, int Y)
{
    return ShowForm(CreateWideMessageForm(Msg, DlgType, Buttons, X, Y), HelpCtx, nullptr, false);
}
