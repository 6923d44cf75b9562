// Skinned hints. TbsSkinHintWindow shows one hint (text of one or more lines, optionally a bold
// title and an image) on the skin's hint picture or in a plain built-in look, optionally
// translucent and fading in. TbsSkinHint makes every application hint use that window, carries
// the settings (skin, font, transparency, line separator) and offers programmatic hints, at once
// or after the application's hint pause. The first active TbsSkinHint of the main form is the one
// in charge of every hint window.
#pragma once

#include <memory>

#include "platform/framework/forms/application.h"
#include "platform/framework/forms/hint_window.h"
#include "platform/framework/forms/timer.h"
#include "skin/form/form_links.h"

class TbsSkinData;
class TbsSkinHint;
class TCustomImageList;

class TbsSkinHintWindow : public THintWindow {
public:
    explicit TbsSkinHintWindow(TComponent* AOwner);
    // Only Rect's left and top are used.
    void ActivateHint(TRect Rect, const String& AHint) override;
    void ActivateHintEx(TRect Rect, const String& AHintTitle, const String& AHint, int AImageIndex,
                        TCustomImageList* AImageList);
    void ActivateHintFromRect(TRect ARect, const String& AHint, bool ATop);

    TRect NewClRect{};
    TPoint NewLTPoint{}, NewRTPoint{}, NewLBPoint{}, NewRBPoint{};
    TbsSkinHint* FspHint = nullptr;
    TbsSkinData* FSD = nullptr;
    HRGN FRgn = nullptr;
    bool FOldAlphaBlend = false;
    uint8_t FOldAlphaBlendValue = 0;
    bool AExtendedStyle = false;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Paint() override;
    void Dispatch(TMessage& Message) override;

private:
    bool FindActiveSkinHint();
    void ReplaceLineSeparators(String Text);
    void Prepare();
    void CalcHintSize(int& W, int& H);
    void CalcHintSizeEx(const String& Title, int Index, TCustomImageList* List, int& W, int& H);
    void CornerAdjust(int& W, int& H);
    void Place(TRect R);
    void Translucency();
    void SetHintRegion();
    void ShowIt(const TRect& R);
    void PaintBackground(TCanvas* C);
    void PaintHintEx(TCanvas* C);
    TSize Measure(TCanvas* C, const String& Text);
};

class TbsSkinHint : public TComponent, public TbsFormHintLink {
public:
    explicit TbsSkinHint(TComponent* AOwner);
    ~TbsSkinHint() override;

    void ActivateHint(TPoint P, const String& AHint);
    void ActivateHintEx(TPoint P, const String& AHintTitle, const String& AHint, int AImageIndex,
                        TCustomImageList* AImageList);
    void ActivateHint2(const String& AHint) override;
    void ActivateHintEx2(const String& AHintTitle, const String& AHint, int AImageIndex, TCustomImageList* AImageList);
    void ActivateHint3(TRect AFromRect, const String& AHint, bool ATop);
    void HideHint() override;
    bool IsVisible() const;
    int GetCursorHeightMargin() const;

    bool Active() const { return FActive; }
    void SetActive(bool Value);
    TbsSkinData* SkinData() const { return FSD; }
    void SetSkinData(TbsSkinData* Value);
    TFont* DefaultFont() const { return FDefaultFont; }
    void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }

    TShowHintEvent OnShowHint;
    bool AlphaBlend = false;
    uint8_t AlphaBlendValue = 0;
    bool AlphaBlendAnimation = false;
    bool UseSkinFont = true;
    String LineSeparator = L"@";
    TbsSkinHintWindow* HW = nullptr;
    TTimer* HintTimer = nullptr;
    String HintText;
    TRect FromRect{};
    bool Top = false;
    String FHintTitle;
    int FHintImageIndex = 0;
    TCustomImageList* FHintImageList = nullptr;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ApplicationShowHint(String& HintStr, bool& CanShow, THintInfo& HintInfo);
    void InstallShowHint();
    void StartTimer(void (TbsSkinHint::*Handler)(TObject*));
    void HintTimerShow(TObject*);
    void HintTimerShowEx(TObject*);
    void HintTimerShowFromRect(TObject*);
    void HintTimerHide(TObject*);
    void ClearExtras();
    // The component's window shows only when a component was in charge of its activation.
    void ShowWindowIfLaidOut();

    bool FActive = true;
    TbsSkinData* FSD = nullptr;
    TFont* FDefaultFont;
    // Cleared when the component goes, so an application handler left behind does nothing.
    std::shared_ptr<TbsSkinHint*> FSelf;
    TTimer* FDeadTimer = nullptr;
};
