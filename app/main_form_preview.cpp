// The preview panel: the selected job's input plays in Panel6 through the player, with the
// position slider, the play, pause, stop and mute buttons, the volume, and the stream lists of
// the hidden player panel. Snapshots save the picture on screen into the snapshot folder as
// base_N.bmp/.jpg/.gif/.png (the first free N); the folder and the picture type are kept in the
// [SnapShot] section of option.ini and read anew for every snapshot.
#include <memory>

#include "app/main_form.h"
#include "app/program_paths.h"
#include "engine/media_utils.h"
#include "platform/framework/controls/button.h"
#include "platform/framework/controls/combo_box.h"
#include "platform/framework/controls/control_types.h"
#include "platform/framework/controls/label.h"
#include "platform/framework/controls/panel.h"
#include "platform/framework/controls/track_bar.h"
#include "platform/framework/core/files.h"
#include "platform/framework/core/format.h"
#include "platform/framework/core/ini_file.h"
#include "platform/framework/core/strings.h"
#include "platform/framework/forms/application.h"
#include "platform/framework/forms/dialogs.h"
#include "platform/framework/forms/menus.h"
#include "platform/framework/graphics/bitmap.h"
#include "platform/framework/graphics/canvas.h"
#include "platform/framework/graphics/gif_image.h"
#include "platform/framework/graphics/icon.h"
#include "platform/framework/graphics/jpeg_image.h"
#include "platform/framework/graphics/png_image.h"
#include "platform/win/headless_api.h"
#include "platform/win/shell_api.h"
#include "platform/win/system_api.h"
#include "platform/win/user_api.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/skin_list_view.h"
#include "skin/controls/skin_slider.h"
#include "skin/dialogs/select_directory_dialog.h"
#include "skin/form/skin_popup_menu.h"

namespace {

const wchar_t* const SnapshotSection = L"SnapShot";

// A value of option.ini's [SnapShot]; "" when missing (the "Error" placeholder counts as missing).
String ReadSnapshotKey(const String& AKey)
{
    const String value = TIniFile(OptionIniPath()).ReadString(SnapshotSection, AKey, L"Error");
    return value == L"Error" ? String() : value;
}

void WriteSnapshotKey(const String& AKey, const String& AValue)
{
    TIniFile(OptionIniPath()).WriteString(SnapshotSection, AKey, AValue);
}

// The picture on screen, copied (empty when nothing is shown or the file has no video).
std::unique_ptr<TBitmap> CopyCurrentFrame(TFFPlayer* APlayer)
{
    auto bitmap = std::make_unique<TBitmap>();
    if (const TFrameImage* frame = APlayer->CurrentFrame(); frame && frame->Width > 0 && frame->Height > 0)
        FrameImageToBitmap(*frame, *bitmap);
    return bitmap;
}

// Saves ABitmap as AFileName through a picture object of type T (its default settings).
template <class T>
void SaveAs(TBitmap* ABitmap, const String& AFileName)
{
    T picture;
    picture.Assign(ABitmap);
    picture.SaveToFile(AFileName);
}

}  // namespace

TScreenHandle TForm1::PreviewScreen() const
{
    // Under X11 the player draws into the panel's own native window; headless there is none and
    // the panel's handle stands in.
    const HWND panel = Panel6->Handle();
    if (const unsigned long native = vxwin::NativeWindowId(panel)) return native;
    return TScreenHandle(panel);
}

TWinControl* TForm1::FindScreenControl(const String& AName) const
{
    for (int i = 0; i < ControlCount(); ++i) {
        auto* control = dynamic_cast<TWinControl*>(Controls(i));
        if (control && control->Name() == AName) return control;
    }
    // The preview's own panel sits inside its group box, not on the form: without this the
    // picture would be sized to the whole desktop and show only its top-left corner.
    return dynamic_cast<TWinControl*>(FindComponent(AName));
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
    if (!FFPlayer->Open(T_Movie_PLayer_FileName, PreviewScreen(), chkOpenPaused->Checked()))
        LogLine(FFPlayer->LastErrMsg());
}

void TForm1::FFPlayerFileOpen(TObject*, int64_t ADuration, int AFrameWidth, int AFrameHeight, int& AScreenWidth,
                              int& AScreenHeight)
{
    TAVProbe* probe = FFPlayer->AVProbe();
    LogLine(probe->FileInfoText());
    LogLine(Format(L"duration: %f, frame size: %dx%d", double(ADuration) / 1000000, AFrameWidth, AFrameHeight));
    if (FScreenControl) {
        AScreenWidth = FScreenControl->Width();
        AScreenHeight = FScreenControl->Height();
    } else {
        AScreenWidth = GetSystemMetrics(SM_CXSCREEN);
        AScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    FDuration = ADuration;
    Label2->SetCaption(Format(L"%f", double(ADuration) / 1000000));
    Label3->SetCaption(L"0.0");
    bsSkinSlider1->SetIncrement(5);
    bsSkinSlider1->SetMaxValue(bsSkinSlider1->Width());
    bsSkinSlider1->SetValue(0);

    TComboBox* const lists[] = {cboVideo, cboAudio, cboSubtitle};
    for (TComboBox* list : lists) list->Items()->BeginUpdate();
    try {
        for (TComboBox* list : lists) list->Items()->Clear();
        for (int i = 0; i < probe->StreamCount(); ++i) {
            if (probe->IsVideoStream(i))
                cboVideo->Items()->Add(Format(L"Video#%d", i));
            else if (probe->IsAudioStream(i))
                cboAudio->Items()->Add(Format(L"Audio#%d", i));
            else if (probe->IsSubtitleStream(i))
                cboSubtitle->Items()->Add(Format(L"Subtitle#%d", i));
        }
        const int videoIndex = FFPlayer->VideoStreamIndex();
        cboVideo->SetEnabled(cboVideo->Items()->Count() >= 2 && videoIndex >= 0);
        cboVideo->SetItemIndex(cboVideo->Items()->IndexOf(Format(L"Video#%d", videoIndex)));
        cboAudio->SetEnabled(cboAudio->Items()->Count() >= 2 && FFPlayer->AudioStreamIndex() >= 0);
        cboAudio->SetItemIndex(cboAudio->Items()->IndexOf(Format(L"Audio#%d", FFPlayer->AudioStreamIndex())));
        cboSubtitle->SetEnabled(cboSubtitle->Items()->Count() >= 1 && videoIndex >= 0);
        if (cboSubtitle->Enabled()) {
            cboSubtitle->Items()->Insert(0, L"Subtitle#-1");
            cboSubtitle->SetItemIndex(
                cboSubtitle->Items()->IndexOf(Format(L"Subtitle#%d", FFPlayer->SubtitleStreamIndex())));
        }
    } catch (...) {
        for (TComboBox* list : lists) list->Items()->EndUpdate();
        throw;
    }
    for (TComboBox* list : lists) list->Items()->EndUpdate();
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
    switch (AState) {
    case psPlay:
    case psResume:
        if (chkStayOnTop->Checked() && FormStyle() != fsStayOnTop) SetFormStyle(fsStayOnTop);
        break;
    case psPause:
    case psStep:
        if (FormStyle() != fsNormal) SetFormStyle(fsNormal);
        break;
    case psStop:
        if (FormStyle() != fsNormal) SetFormStyle(fsNormal);
        // The host panel paints its own background and picture over the last frame.
        if (FFPlayer->ScreenHandle() && Panel6->HandleAllocated()) {
            PostMessageW(Panel6->Handle(), CM_INVALIDATE, 0, 0);
            UpdateWindow(Panel6->Handle());
        }
        break;
    case psEnd:
        // At its end the preview goes back to the start and waits there.
        FFPlayer->Seek(int64_t(0), sfAny, false);
        FFPlayer->Pause();
        break;
    }
}

void TForm1::FFPlayerHook(TObject*, TBitmap* ABitmap, int64_t APTS)
{
    TCanvas* canvas = ABitmap->Canvas();
    canvas->Font()->SetColor(TColor(0xFFFFFF));
    canvas->Font()->SetName(L"Tahoma");
    canvas->Font()->SetSize(12);
    canvas->Font()->SetStyle(TFontStyles{fsBold, fsUnderline});
    canvas->TextOut(10, 10, Format(L"DERID - Time Stamp: %d", APTS));
    if (TIcon* icon = Application->Icon(); icon && !icon->Empty())
        canvas->Draw(ABitmap->Width() - icon->Width() - 10, ABitmap->Height() - icon->Height() - 10, icon);
}

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
    try {
        FFPlayer->Stop(true);
        if (!FFPlayer->Open(T_Movie_PLayer_FileName, PreviewScreen(), chkOpenPaused->Checked()))
            LogLine(FFPlayer->LastErrMsg());
        lvFiles->SetFocus();
    } catch (const Exception&) {
        FFPlayer->Stop(true);
    }
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
    // Without a known duration there is nowhere to seek to; the preview plays on from where it is.
    if (FDuration > 0 && bsSkinSlider1->MaxValue() > 0)
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

// ---- snapshots ------------------------------------------------------------------------------

String TForm1::SnapshotFolder()
{
    String folder = FileExists(OptionIniPath()) ? ReadSnapshotKey(L"Dir") : String();
    if (folder.empty()) {
        folder = DefaultSnapshotFolder();
        WriteSnapshotKey(L"Dir", folder);
    }
    if (!DirectoryExists(folder)) ForceDirectories(folder);
    return folder;
}

String TForm1::SnapshotType()
{
    struct TType {
        const wchar_t* Name;
        TMenuItem* Item;
    };
    const TType types[] = {{L"BMP", BMP1}, {L"JPG", JPG1}, {L"GIF", GIF1}, {L"PNG", PNG1}};
    const String value = FileExists(OptionIniPath()) ? ReadSnapshotKey(L"Picture") : String();
    for (const TType& type : types)
        if (value == type.Name) {
            type.Item->SetChecked(true);
            return value;
        }
    WriteSnapshotKey(L"Picture", L"BMP");
    BMP1->SetChecked(true);
    return L"BMP";
}

void TForm1::bsSkinButton22Click(TObject*)
{
    std::unique_ptr<TBitmap> bitmap = CopyCurrentFrame(FFPlayer);
    const String folder = SnapshotFolder();
    const String type = SnapshotType();
    if (bitmap->Width() <= 0) return;
    const String base = ChangeFileExt(ExtractFileName(T_Movie_PLayer_FileName), L"");
    const String ext = L"." + LowerCase(type);
    String name;
    for (int n = 1;; ++n) {
        name = IncludeTrailingPathDelimiter(folder) + base + L"_" + IntToStr(int64_t(n)) + ext;
        if (!FileExists(name)) break;
    }
    if (type == L"JPG")
        SaveAs<TJPEGImage>(bitmap.get(), name);
    else if (type == L"GIF")
        SaveAs<TGIFImage>(bitmap.get(), name);
    else if (type == L"PNG")
        SaveAs<TPngImage>(bitmap.get(), name);
    else
        bitmap->SaveToFile(name);
}

void TForm1::bsSkinButton23Click(TObject*) { SnapshotType(); }

void TForm1::bsSkinButton23MouseDown(TObject*, TMouseButton Button, TShiftState, int, int)
{
    if (Button != mbLeft) return;
    POINT cursor{};
    GetCursorPos(&cursor);
    bsSkinPopupMenu2->Popup(cursor.x, cursor.y);
}

void TForm1::MenuItem1Click(TObject*)
{
    const String folder = SnapshotFolder();
    ShellExecuteW(Handle(), nullptr, folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TForm1::MenuItem2Click(TObject*)
{
    bsSkinSelectDirectoryDialog2->Execute();
    const String folder = bsSkinSelectDirectoryDialog2->Directory();
    if (!folder.empty() && DirectoryExists(folder)) WriteSnapshotKey(L"Dir", folder);
}

void TForm1::BMP1Click(TObject*)
{
    WriteSnapshotKey(L"Picture", L"BMP");
    BMP1->SetChecked(true);
}

void TForm1::JPG1Click(TObject*)
{
    WriteSnapshotKey(L"Picture", L"JPG");
    JPG1->SetChecked(true);
}

void TForm1::GIF1Click(TObject*)
{
    WriteSnapshotKey(L"Picture", L"GIF");
    GIF1->SetChecked(true);
}

void TForm1::PNG1Click(TObject*)
{
    WriteSnapshotKey(L"Picture", L"PNG");
    PNG1->SetChecked(true);
}

void TForm1::btnCaptureClick(TObject*)
{
    std::unique_ptr<TBitmap> bitmap = CopyCurrentFrame(FFPlayer);
    if (bitmap->Width() <= 0 || !SavePictureDialog1->Execute()) return;
    const String name = SavePictureDialog1->FileName();
    if (LowerCase(ExtractFileExt(name)) == L".bmp")
        bitmap->SaveToFile(name);
    else
        SaveAs<TJPEGImage>(bitmap.get(), name);
}
