// TbsSkinMessage: the skinned message box. Each call builds a fresh TbsMessageForm in code (a
// dialog with its own skinned frame, the message, an icon, one skinned button per requested
// button and, with ShowAgainFlag, a "do not show again" check box), shows it modally, reads the
// check box back and frees the form; the answer is the pressed button's modal result. All
// fourteen operations go through one builder; they differ in caption source (message type or an
// explicit caption), icon source (stock icon by type or an image list), placement (centred or a
// screen point, with OnSetShowPos), an explicit default button and a help file.
//
// Texts come from the text table of CtrlSkinData ("MSG_BTN_*", "MSG_CAP_*"); the built-in English
// ones only when that model or its table is missing. Users: the main window and options dialog
// (one component each), the file dialogs' overwrite prompts.
#pragma once

#include <exception>
#include <functional>

#include "platform/framework/forms/forms.h"
#include "platform/framework/graphics/graphics_objects.h"
#include "platform/framework/graphics/image_list.h"
#include "skin/core/skin_data.h"

class TbsSkinForm;
class TbsSkinCheckRadioBox;
class TbsSkinStdLabel;

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
using TMsgDlgButtons = TEnumSet<TMsgDlgBtn>;

// Lets the owner move a positioned box before it shows (screen coordinates of its corner).
using TbsSetShowPosEvent = std::function<void(int& AX, int& AY, int AWidth, int AHeight)>;

// The button's text from the model's text table (empty for a missing key), else the built-in one.
String GetButtonCaption(TMsgDlgBtn Button, TbsSkinData* ASkinData);
// The caption of a message type the same way; mtCustom has none.
String GetTypeCaption(TMsgDlgType DlgType, TbsSkinData* ASkinData);

// The box's form: a dialog placed at (X, Y), or centred on the screen when X < -10000.
class TbsMessageForm : public TForm {
public:
    TbsMessageForm(TComponent* AOwner, int X, int Y);

    TbsSkinForm* BSF = nullptr;
    TbsSkinCheckRadioBox* DisplayCheckBox = nullptr;
    TbsSkinStdLabel* Message = nullptr;
    // What the help system raised while the box was up; the caller gets it once the form is gone.
    std::exception_ptr HelpError;

protected:
    void Dispatch(TMessage& Message) override;
};

class TbsSkinMessage : public TComponent {
public:
    static constexpr int kCentred = -10001;

    explicit TbsSkinMessage(TComponent* AOwner);
    ~TbsSkinMessage() override;

    // ---- operations; each answers the box's modal result ----
    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int MessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                   TMsgDlgBtn DefaultButton);
    int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
    int MessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y,
                      TMsgDlgBtn DefaultButton);
    int MessageDlgHelp(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx,
                       const String& HelpFileName);
    int MessageDlg2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                    int HelpCtx);
    int MessageDlgHelp2(const String& Msg, const String& ACaption, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                        int HelpCtx, const String& HelpFileName);
    int CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                         TMsgDlgButtons Buttons, int HelpCtx);
    int CustomMessageDlg(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                         TMsgDlgButtons Buttons, int HelpCtx, TMsgDlgBtn DefaultButton);
    int CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                            TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);
    int CustomMessageDlgPos(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                            TMsgDlgButtons Buttons, int HelpCtx, int X, int Y, TMsgDlgBtn DefaultButton);
    int CustomMessageDlgHelp(const String& Msg, const String& ACaption, TCustomImageList* AImages, int AImageIndex,
                             TMsgDlgButtons Buttons, int HelpCtx, const String& HelpFileName);
    int WideMessageDlg(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx);
    int WideMessageDlgPos(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int HelpCtx, int X, int Y);

    // ---- layout routines: a built form owned by the application, not shown ----
    TbsMessageForm* CreateMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int X, int Y);
    TbsMessageForm* CreateMessageFormEx(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons,
                                        TMsgDlgBtn DefaultButton, int X, int Y);
    TbsMessageForm* CreateCaptionMessageForm(const String& Msg, const String& ACaption, TMsgDlgType DlgType,
                                             TMsgDlgButtons Buttons, int X, int Y);
    TbsMessageForm* CreateCustomMessageForm(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                            int AImageIndex, TMsgDlgButtons Buttons, int X, int Y);
    TbsMessageForm* CreateCustomMessageFormEx(const String& Msg, const String& ACaption, TCustomImageList* AImages,
                                              int AImageIndex, TMsgDlgButtons Buttons, TMsgDlgBtn DefaultButton, int X,
                                              int Y);
    TbsMessageForm* CreateWideMessageForm(const String& Msg, TMsgDlgType DlgType, TMsgDlgButtons Buttons, int X, int Y);

    // ---- properties ----
    bool ShowAgainFlag() const { return FShowAgainFlag; }
    void SetShowAgainFlag(bool Value) { FShowAgainFlag = Value; }
    bool ShowAgainFlagValue() const { return FShowAgainFlagValue; }
    void SetShowAgainFlagValue(bool Value) { FShowAgainFlagValue = Value; }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool Value) { FAlphaBlend = Value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool Value) { FAlphaBlendAnimation = Value; }
    uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(uint8_t Value) { FAlphaBlendValue = Value; }
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TbsSkinData* CtrlSkinData() const { return FCtrlSD; }
    void SetCtrlSkinData(TbsSkinData* Value);
    const String& ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const String& Value) { FButtonSkinDataName = Value; }
    const String& MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
    void SetMessageLabelSkinDataName(const String& Value) { FMessageLabelSkinDataName = Value; }
    TFont* DefaultFont() { return &FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont.Assign(Value); }
    TFont* DefaultButtonFont() { return &FDefaultButtonFont; }
    void SetDefaultButtonFont(TFont* Value) { FDefaultButtonFont.Assign(Value); }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool Value) { FUseSkinFont = Value; }

    TbsSetShowPosEvent OnSetShowPos;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    // What a layout routine varies.
    struct Layout {
        const String* Caption = nullptr;  // nullptr: by message type
        TMsgDlgType DlgType = mtCustom;
        TCustomImageList* Images = nullptr;  // with UseImages, the icon from this list
        bool UseImages = false;
        int ImageIndex = -1;
        const TMsgDlgBtn* DefaultButton = nullptr;  // nullptr: the usual choice
        bool CheckBox = true;
    };
    TbsMessageForm* Build(const String& Msg, TMsgDlgButtons Buttons, const Layout& L, int X, int Y);
    void BuildInto(TbsMessageForm* F, const String& Msg, TMsgDlgButtons Buttons, const Layout& L);
    int ButtonHeight() const;
    // Steps shared by every operation: help context and file, OnSetShowPos, the modal show, the
    // check box read back and the form freed, also when showing raises.
    int ShowForm(TbsMessageForm* F, int HelpCtx, const String* HelpFileName, bool CallSetShowPos);

    bool FShowAgainFlag = false;
    bool FShowAgainFlagValue = false;
    bool FAlphaBlend = false;
    bool FAlphaBlendAnimation = false;
    uint8_t FAlphaBlendValue = 200;
    TbsSkinData* FSD = nullptr;
    TbsSkinData* FCtrlSD = nullptr;
    String FButtonSkinDataName = L"button";
    String FMessageLabelSkinDataName = L"stdlabel";
    TFont FDefaultFont;
    TFont FDefaultButtonFont;
    bool FUseSkinFont = true;
};
