#include "platform/framework/controls/progress_bar.h"

#include <algorithm>

#include "platform/framework/controls/plain_draw.h"

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    FControlStyle = TControlStyle{csCaptureMouse, csClickEvents, csOpaque};
    FWidth = 150;
    FHeight = 16;
    FColor = clBtnFace;
}

void TProgressBar::SetMin(int v)
{
    if (v == FMin) return;
    FMin = v;
    if (FMax < v) FMax = v;
    SetPosition(FPosition);
    Invalidate();
}

void TProgressBar::SetMax(int v)
{
    if (v == FMax) return;
    FMax = v;
    if (FMin > v) FMin = v;
    SetPosition(FPosition);
    Invalidate();
}

void TProgressBar::SetPosition(int v)
{
    v = std::clamp(v, FMin, FMax);
    if (v == FPosition) return;
    FPosition = v;
    Invalidate();
}

void TProgressBar::StepIt()
{
    // Past the end the bar starts again from the beginning.
    int v = FPosition + FStep;
    if (v > FMax) v = FMin + (v - FMax) % std::max(1, FMax - FMin + 1);
    SetPosition(v);
}

void TProgressBar::SetSmooth(bool v) { SetAndInvalidate(FSmooth, v); }

int TProgressBar::FilledWidth()
{
    int inner = std::max(0, ClientWidth() - 4);
    if (FMax <= FMin) return 0;
    return static_cast<int>(static_cast<long long>(FPosition - FMin) * inner / (FMax - FMin));
}

void TProgressBar::Paint()
{
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    Frame3D(c, r, clBtnShadow, clBtnHighlight, 1);
    c->Brush()->SetColor(FColor);
    c->FillRect(r);
    r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    int filled = FilledWidth();
    c->Brush()->SetColor(clHighlight);
    if (FSmooth) {
        c->FillRect(Rect(r.Left, r.Top, r.Left + filled, r.Bottom));
        return;
    }
    int block = std::max(2, r.Height() * 2 / 3);
    for (int x = 0; x < filled; x += block + 2)
        c->FillRect(Rect(r.Left + x, r.Top, r.Left + std::min(filled, x + block), r.Bottom));
}
