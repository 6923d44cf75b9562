#include "skin/form/client_inactive_panel.h"

#include "platform/win/win_api.h"
#include "skin/core/color_filters.h"
#include "skin/core/skin_bitmap.h"
#include "skin/form/skin_form.h"

TbsClientInActivePanel::TbsClientInActivePanel(TComponent* AOwner) : TCustomControl(AOwner) { SetVisible(false); }

TbsClientInActivePanel::~TbsClientInActivePanel() { delete Buffer; }

void TbsClientInActivePanel::Paint()
{
    if (Buffer) Buffer->Draw(Canvas()->Handle(), 0, 0);
}

void TbsClientInActivePanel::ShowPanel(TCustomForm* AForm, TbsClientInActiveEffect AEffect)
{
    if (!AForm || !AForm->Visible() || AForm->ClientWidth() == 0 || AForm->ClientHeight() == 0) return;
    SetVisible(false);
    SetParent(AForm);
    SetBounds(0, 0, AForm->ClientWidth(), AForm->ClientHeight());
    delete Buffer;
    Buffer = new TbsBitmap;
    Buffer->SetSize(Width(), Height());
    HDC dc = GetDC(AForm->Handle());
    BitBlt(Buffer->DC(), 0, 0, Width(), Height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(AForm->Handle(), dc);
    Buffer->SetAlpha(255);
    if (AEffect == bsieBlur) {
        BlurBitmap(Buffer, 3);
    } else {
        TbsBitmap bg;
        bg.SetSize(Width(), Height());
        SendMessageW(AForm->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(bg.DC()), 0);
        bg.SetAlpha(170);
        bg.SetAlphaBlend(true);
        bg.CheckRGBA2();
        bg.Draw(Buffer, 0, 0);
        Buffer->SetAlpha(255);
    }
    SetVisible(true);
    BringToFront();
}

void TbsClientInActivePanel::HidePanel()
{
    SetVisible(false);
    delete Buffer;
    Buffer = nullptr;
}
