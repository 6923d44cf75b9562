#include "skin/core/layer_manager.h"

#include "platform/win/user_api.h"
#include "skin/core/os_layers.h"

TbsLayerWindow::TbsLayerWindow(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

void TbsLayerWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    Params.WindowClass.style |= CS_SAVEBITS;
}

void TbsLayerWindow::Dispatch(TMessage& Message)
{
    if (Message.Msg == WM_MOUSEACTIVATE) {
        Message.Result = MA_NOACTIVATE;
        return;
    }
    TCustomControl::Dispatch(Message);
}

TbsLayerManager::TbsLayerManager(TComponent* AOwner) : TComponent(AOwner)
{
    Timer = new TTimer(this);
    Timer->SetEnabled(false);
    Timer->SetInterval(25);
    Timer->OnTimer = [this](TObject* Sender) { FadeTimer(Sender); };
}

TbsLayerManager::~TbsLayerManager()
{
    delete Timer;
    Timer = nullptr;
    FreeWindow();
    delete Bmp;
    Bmp = nullptr;
}

void TbsLayerManager::FreeWindow()
{
    delete LayerWindow;
    LayerWindow = nullptr;
}

void TbsLayerManager::Show(int X, int Y, TBitmap* AImage, TBitmap* AImageMask, int AAlphaBlendValue)
{
    if (!IsWindows2000OrLater()) return;
    if (LayerWindow) Hide();
    IsVisible = true;
    LayerWindow = new TbsLayerWindow(this);
    LayerWindow->SetBounds(X, Y, AImage ? AImage->Width() : 0, AImage ? AImage->Height() : 0);
    HWND h = LayerWindow->Handle();
    SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LAYERED);
    delete Bmp;
    Bmp = new TbsBitmap;
    ImageMaskToAlphaBitmap(AImage, AImageMask, Bmp);
    UpdateLayeredFromBitmap(Bmp, 0, LayerWindow);
    SetWindowPos(h, TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, X, Y, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOSIZE);
    EndAlphaBlendValue = AAlphaBlendValue;
    StepAlphaBlendValue = AAlphaBlendValue / 10;
    StartTimer();
}

void TbsLayerManager::Hide()
{
    if (!IsWindows2000OrLater()) return;
    StopTimer();
    delete Bmp;
    Bmp = nullptr;
    IsVisible = false;
    if (LayerWindow) {
        SetWindowPos(LayerWindow->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
        FreeWindow();
    }
}

void TbsLayerManager::Update()
{
    if (!LayerWindow || !IsVisible) return;
    SetWindowPos(LayerWindow->Handle(), TopMostMode ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TbsLayerManager::StartTimer()
{
    BeginAlphaBlendValue = 0;
    Timer->SetEnabled(true);
}

void TbsLayerManager::StopTimer() { Timer->SetEnabled(false); }

void TbsLayerManager::FadeTimer(TObject*)
{
    if (!Bmp || !LayerWindow) return;
    BeginAlphaBlendValue += StepAlphaBlendValue;
    if (BeginAlphaBlendValue > EndAlphaBlendValue) BeginAlphaBlendValue = EndAlphaBlendValue;
    UpdateLayeredFromBitmap(Bmp, static_cast<BYTE>(BeginAlphaBlendValue), LayerWindow);
    if (BeginAlphaBlendValue == EndAlphaBlendValue) StopTimer();
}
