// The preview panel: the selected job's input plays in Panel6 through the player, with the
// position slider, the play, pause, stop and mute buttons, and the volume.
#include "app/main_form.h"
#include "app/program_paths.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/label.h"
#include "platform/framework/controls/panel.h"
#include "platform/framework/controls/track_bar.h"
#include "platform/framework/core/format.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_slider.h"

TWinControl* TForm1::FindScreenControl(const String& AName) const
{
    for (int i = 0; i < ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(Controls(i));
        if (control && control->Name() == AName) return control;
    }
    return nullptr;
}

void TForm1::Button31Click(TObject*)
{
    if (!FFPlayer->AVLibLoaded() && !FFPlayer->LoadAVLib(ProgramFolder() + L"LibAV")) {
        LogLine(FFPlayer->LastErrMsg());
        return;
    }
    FScreenControl = FindScreenControl(cboScreens->Text());
    if (FScreenControl) FScreenControl->HandleNeeded();
    const int video = cboVideoDriver->ItemIndex(), audio = cboAudioDriver->ItemIndex();
    FFPlayer->SetVideoDriver(video == 1 ? vdDirectDraw : video == 2 ? vdGDI : vdDefault);
    FFPlayer->SetAudioDriver(audio == 1 ? adDirectSound : audio == 2 ? adWaveOut : adDefault);
    if (!FFPlayer->Open(T_Movie_PLayer_FileName, TScreenHandle(Panel6->Handle()), chkOpenPaused->Checked()))
        LogLine(FFPlayer->LastErrMsg());
}

void TForm1::FFPlayerFileOpen(TObject*, int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                              int& AScreenHeight)
{
    LogLine(Format(L"duration: %f, frame size: %dx%d", double(ADuration) / 1000000, AFrameWidth, AFrameHeight));
    if (FScreenControl) {
        AScreenWidth = FScreenControl->Width();
        AScreenHeight = FScreenControl->Height();
    }
    FDuration = ADuration;
    Label2->SetCaption(Format(L"%f", double(ADuration) / 1000000));
    Label3->SetCaption(L"0.0");
    bsSkinSlider1->SetIncrement(5);
    bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
    bsSkinSlider1->SetValue(0);
}

void TForm1::FFPlayerPosition(TObject*, int64_t APTS)
{
    if (bsSkinSlider1_down_UP != L"UP") return;
    Label3->SetCaption(Format(L"%f", double(APTS) / 1000000));
    if (APTS >= 0 && FDuration > 0) bsSkinSlider1->SetValue(int(int64_t(bsSkinSlider1->MaxValue()) * APTS / FDuration));
}

void TForm1::FFPlayerState(TObject*, TPlayState AState)
{
    static const wchar_t* const names[] = {L"Play", L"Pause", L"Resume", L"Step", L"Stop", L"End"};
    LogLine(names[AState]);
    if (AState == psEnd) {
        FFPlayer->Seek(int64_t(0), sfAny, false);
        FFPlayer->Pause();
    }
}

void TForm1::FFPlayerHook(TObject*, TBitmap*, int64_t) {}

void TForm1::bsSkinButton13Click(TObject*)
{
    FFPlayer->Resume();
    lvFiles->SetFocus();
}

void TForm1::bsSkinButton14Click(TObject*)
{
    FFPlayer->Pause();
    lvFiles->SetFocus();
}

void TForm1::bsSkinButton15Click(TObject*)
{
    if (!lvFiles->Selected()) return;
    FFPlayer->Stop(true);
    if (!FFPlayer->Open(T_Movie_PLayer_FileName, TScreenHandle(Panel6->Handle()), chkOpenPaused->Checked()))
        LogLine(FFPlayer->LastErrMsg());
    lvFiles->SetFocus();
}

void TForm1::bsSkinButton16Click(TObject*)
{
    FFPlayer->SetMute(true);
    bsSkinButton20->SetVisible(true);
    bsSkinButton16->SetVisible(false);
}

void TForm1::bsSkinButton20Click(TObject*)
{
    FFPlayer->SetMute(false);
    bsSkinButton16->SetVisible(true);
    bsSkinButton20->SetVisible(false);
}

void TForm1::bsSkinSlider1MouseDown(TObject*, TMouseButton, TShiftState, int, int)
{
    bsSkinSlider1_down_UP = L"Down";
    FFPlayer->Pause();
}

void TForm1::bsSkinSlider1MouseUp(TObject*, TMouseButton, TShiftState, int, int)
{
    FFPlayer->Pause();
    FFPlayer->Seek(FDuration * bsSkinSlider1->Value() / bsSkinSlider1->MaxValue(), 0, false);
    FFPlayer->Resume();
    bsSkinSlider1_down_UP = L"UP";
}

void TForm1::bsSkinSlider1Change(TObject*) {}
void TForm1::TrackBar1Change(TObject*) {}
void TForm1::TrackBar2Change(TObject*) { FFPlayer->SetAudioVolume(TrackBar2->Position()); }

void TForm1::WMWindowPosChanged(TMessage&)
{
    if (FFPlayer) FFPlayer->UpdateScreenPosition();
}

void TForm1::WMWindowPosChanging(TMessage&)
{
    if (FFPlayer) FFPlayer->UpdateScreenPosition();
}
