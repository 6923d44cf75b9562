#include "platform/framework/controls/image.h"

#include <algorithm>

#include "platform/framework/graphics/bitmap.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner)
{
    FControlStyle.Include(csReplicatable);
    FWidth = 105;
    FHeight = 105;
    FPicture.OnChange = [this](TObject*) { PictureChanged(); };
}

void TImage::PictureChanged()
{
    if (TGraphic* g = FPicture.Graphic()) {
        if (FTransparent) g->SetTransparent(true);
    }
    if (FAutoSize && FPicture.Width() > 0 && FPicture.Height() > 0)
        SetBounds(FLeft, FTop, FPicture.Width(), FPicture.Height());
    bool opaque = FPicture.Graphic() && !FPicture.Graphic()->Transparent() &&
                  (FStretch || (FPicture.Width() >= FWidth && FPicture.Height() >= FHeight));
    if (opaque)
        FControlStyle.Include(csOpaque);
    else
        FControlStyle.Exclude(csOpaque);
    Invalidate();
}

void TImage::SetStretch(bool v)
{
    FStretch = v;
    PictureChanged();
}

void TImage::SetCenter(bool v) { SetAndInvalidate(FCenter, v); }

void TImage::SetProportional(bool v) { SetAndInvalidate(FProportional, v); }

void TImage::SetTransparent(bool v)
{
    FTransparent = v;
    if (TGraphic* g = FPicture.Graphic()) g->SetTransparent(v);
    PictureChanged();
}

bool TImage::CanAutoSize(int& NewWidth, int& NewHeight)
{
    if (FPicture.Width() > 0 && FPicture.Height() > 0) {
        NewWidth = FPicture.Width();
        NewHeight = FPicture.Height();
    }
    return true;
}

TRect TImage::DestRect()
{
    int pw = FPicture.Width(), ph = FPicture.Height();
    int cw = FWidth, ch = FHeight;
    if (pw <= 0 || ph <= 0) return TRect{};
    int w = pw, h = ph;
    if (FStretch || (FProportional && (pw > cw || ph > ch))) {
        if (FProportional) {
            // The largest size of the picture's shape that fits.
            if (static_cast<long long>(cw) * ph > static_cast<long long>(ch) * pw) {
                h = ch;
                w = static_cast<int>(static_cast<long long>(pw) * ch / ph);
            } else {
                w = cw;
                h = static_cast<int>(static_cast<long long>(ph) * cw / pw);
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    int x = 0, y = 0;
    if (FCenter) {
        x = (cw - w) / 2;
        y = (ch - h) / 2;
    }
    return Bounds(x, y, w, h);
}

void TImage::Paint()
{
    TGraphic* g = FPicture.Graphic();
    if (!g || g->Empty()) return;
    TRect r = DestRect();
    if (r.Width() == g->Width() && r.Height() == g->Height())
        Canvas()->Draw(r.Left, r.Top, g);
    else
        Canvas()->StretchDraw(r, g);
}
