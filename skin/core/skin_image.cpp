#include "skin/core/skin_image.h"

#include "platform/win/gdi_api.h"

namespace {

// Puts pieces of SB (rectangles relative to R) into B.
class Composer {
public:
    Composer(TBitmap* B, TBitmap* SB, const TRect& R) : FB(B), FSB(SB), FR(R) {}

    TRect Src(int L, int T, int Rt, int Bt) const { return Rect(FR.Left + L, FR.Top + T, FR.Left + Rt, FR.Top + Bt); }

    // One rectangle copy (scaled when the sizes differ).
    void Copy(const TRect& Dst, const TRect& SrcRel) const
    {
        if (Dst.IsEmpty() || SrcRel.IsEmpty()) return;
        FB->Canvas()->CopyRect(Dst, FSB->Canvas(), Offset(SrcRel));
    }

    // The piece copied into a picture of its own size, which is stretch-drawn into Dst.
    void Stretch(const TRect& Dst, const TRect& SrcRel) const
    {
        if (Dst.IsEmpty() || SrcRel.IsEmpty()) return;
        TBitmap piece;
        Piece(piece, SrcRel);
        FB->Canvas()->StretchDraw(Dst, &piece);
    }

    void Piece(TBitmap& P, const TRect& SrcRel) const
    {
        P.SetPixelFormat(FSB->PixelFormat());
        P.SetSize(SrcRel.Width(), SrcRel.Height());
        P.Canvas()->CopyRect(Rect(0, 0, SrcRel.Width(), SrcRel.Height()), FSB->Canvas(), Offset(SrcRel));
    }

    // Tiles of a piece of width SrcRel.Width() laid from x A to E with Step, rows Top..Bottom of
    // the destination; a tile cut by c takes the piece shortened by c.
    void TileX(const TRect& SrcRel, int Top, int Bottom, int A, int E, int Step) const
    {
        if (Step <= 0 || (E - A) / Step < 0) return;
        for (int i = 0, n = (E - A) / Step; i <= n; ++i) {
            int cut = std::max(A + (i + 1) * Step - E, 0);
            TRect dst = Rect(A + i * Step, Top, A + (i + 1) * Step - cut, Bottom);
            TRect src = Rect(SrcRel.Left, SrcRel.Top, SrcRel.Right - cut, SrcRel.Bottom);
            Copy(dst, src);
        }
    }

    void TileY(const TRect& SrcRel, int Left, int Right, int A, int E, int Step) const
    {
        if (Step <= 0 || (E - A) / Step < 0) return;
        for (int i = 0, n = (E - A) / Step; i <= n; ++i) {
            int cut = std::max(A + (i + 1) * Step - E, 0);
            TRect dst = Rect(Left, A + i * Step, Right, A + (i + 1) * Step - cut);
            TRect src = Rect(SrcRel.Left, SrcRel.Top, SrcRel.Right, SrcRel.Bottom - cut);
            Copy(dst, src);
        }
    }

    // An edge from A to E: stretched over it, or tiled with Step.
    void EdgeX(bool Stretched, const TRect& SrcRel, int Top, int Bottom, int A, int E, int Step) const
    {
        if (Stretched)
            Stretch(Rect(A, Top, E, Bottom), SrcRel);
        else
            TileX(SrcRel, Top, Bottom, A, E, Step);
    }

    void EdgeY(bool Stretched, const TRect& SrcRel, int Left, int Right, int A, int E, int Step) const
    {
        if (Stretched)
            Stretch(Rect(Left, A, Right, E), SrcRel);
        else
            TileY(SrcRel, Left, Right, A, E, Step);
    }

    // The centre: tiled from the target's top-left, or stretched by StretchType.
    void Centre(const TRect& SrcRel, const TRect& Target, bool StretchEffect, TbsStretchType Type) const
    {
        int f = SrcRel.Width(), g = SrcRel.Height(), nw = Target.Width(), nh = Target.Height();
        if (!StretchEffect) {
            if (f <= 0 || g <= 0 || nw / f < 0 || nh / g < 0) return;
            for (int i = 0; i <= nw / f; ++i)
                for (int j = 0; j <= nh / g; ++j) {
                    int cr = std::max(f + i * f - nw, 0), cb = std::max(g + j * g - nh, 0);
                    TRect dst = Rect(Target.Left + i * f, Target.Top + j * g, Target.Left + (i + 1) * f - cr,
                                     Target.Top + (j + 1) * g - cb);
                    Copy(dst, Rect(SrcRel.Left, SrcRel.Top, SrcRel.Right - cr, SrcRel.Bottom - cb));
                }
            return;
        }
        if (nw <= 0 || nh <= 0 || f <= 0 || g <= 0) return;
        TBitmap p;
        Piece(p, SrcRel);
        if (Type == bsstFull) {
            FB->Canvas()->StretchDraw(Target, &p);
            return;
        }
        TCanvas* c = FB->Canvas();
        HDC dc = c->Handle();
        int saved = SaveDC(dc);
        IntersectClipRect(dc, Target.Left, Target.Top, Target.Right, Target.Bottom);
        TBitmap buffer;
        buffer.SetPixelFormat(p.PixelFormat());
        if (Type == bsstHorz) {
            buffer.SetSize(p.Width(), nh);
            buffer.Canvas()->StretchDraw(Rect(0, 0, p.Width(), nh), &p);
            for (int k = 0; k <= nw / buffer.Width(); ++k)
                c->Draw(Target.Left + k * buffer.Width(), Target.Top, &buffer);
        } else {
            buffer.SetSize(nw, p.Height());
            buffer.Canvas()->StretchDraw(Rect(0, 0, nw, p.Height()), &p);
            for (int k = 0; k <= nh / buffer.Height(); ++k)
                c->Draw(Target.Left, Target.Top + k * buffer.Height(), &buffer);
        }
        RestoreDC(dc, saved);
        c->Refresh();
    }

private:
    TRect Offset(const TRect& SrcRel) const { return Src(SrcRel.Left, SrcRel.Top, SrcRel.Right, SrcRel.Bottom); }

    TBitmap* FB;
    TBitmap* FSB;
    TRect FR;
};

struct NinePart {
    TPoint LT, RT, LB, RB;
    TRect Cl;
    TPoint NLT, NRT, NLB, NRB;
    TRect NCl;
    int Rw, Rh, W, H;
};

void Corners(const Composer& C, const NinePart& G, std::initializer_list<int> Pieces)
{
    for (int piece : Pieces) switch (piece) {
        case 1: C.Copy(Rect(0, 0, G.NLT.X, G.NCl.Top), Rect(0, 0, G.LT.X, G.Cl.Top)); break;
        case 2: C.Copy(Rect(0, G.NCl.Top, G.NCl.Left, G.NLT.Y), Rect(0, G.Cl.Top, G.Cl.Left, G.LT.Y)); break;
        case 3: C.Copy(Rect(G.NRT.X, 0, G.W, G.NCl.Top), Rect(G.RT.X, 0, G.Rw, G.Cl.Top)); break;
        case 4: C.Copy(Rect(G.NCl.Right, G.NCl.Top, G.W, G.NRT.Y), Rect(G.Cl.Right, G.Cl.Top, G.Rw, G.RT.Y)); break;
        case 5: C.Copy(Rect(0, G.NLB.Y, G.NCl.Left, G.H), Rect(0, G.LB.Y, G.Cl.Left, G.Rh)); break;
        case 6: C.Copy(Rect(G.NCl.Left, G.NCl.Bottom, G.NLB.X, G.H), Rect(G.Cl.Left, G.Cl.Bottom, G.LB.X, G.Rh)); break;
        case 7: C.Copy(Rect(G.NRB.X, G.NCl.Bottom, G.W, G.H), Rect(G.RB.X, G.Cl.Bottom, G.Rw, G.Rh)); break;
        case 8:
            C.Copy(Rect(G.NCl.Right, G.NRB.Y, G.W, G.NCl.Bottom), Rect(G.Cl.Right, G.RB.Y, G.Rw, G.Cl.Bottom));
            break;
        }
}

void LeftEdge(const Composer& C, const NinePart& G, bool Stretch)
{
    C.EdgeY(Stretch, Rect(0, G.LT.Y, G.Cl.Left, G.LB.Y), 0, G.NCl.Left, G.NLT.Y, G.NLB.Y, G.LB.Y - G.LT.Y);
}

bool Prepare(TBitmap* B, TBitmap* SB, const NinePart& G)
{
    B->SetSize(G.W, G.H);
    return G.RB.X != G.LT.X && G.RB.Y != G.LT.Y && SB && !SB->Empty();
}

}  // namespace

void CreateSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect, TPoint NewLTPoint,
                     TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* B, TBitmap* SB,
                     TRect R, int W, int H, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                     bool BottomStretch, bool StretchEffect, TbsStretchType StretchType)
{
    NinePart g{LTPoint,    RTPoint,    LBPoint,   RBPoint,   ClRect,     NewLTPoint, NewRTPoint,
               NewLBPoint, NewRBPoint, NewClRect, R.Width(), R.Height(), W,          H};
    if (!Prepare(B, SB, g)) return;
    Composer c(B, SB, R);
    // Edges: top, bottom, left, right.
    c.EdgeX(TopStretch, Rect(g.LT.X, 0, g.RT.X, g.Cl.Top), 0, g.NCl.Top, g.NLT.X, g.NRT.X, g.RT.X - g.LT.X);
    c.EdgeX(BottomStretch, Rect(g.LB.X, g.Cl.Bottom, g.RB.X, g.Rh), g.NCl.Bottom, H, g.NLB.X, g.NRB.X, g.RB.X - g.LB.X);
    LeftEdge(c, g, LeftStretch);
    c.EdgeY(RightStretch, Rect(g.Cl.Right, g.RT.Y, g.Rw, g.RB.Y), g.NCl.Right, W, g.NRT.Y, g.NRB.Y, g.RB.Y - g.RT.Y);
    // Corners, later pieces over earlier ones.
    Corners(c, g, {1, 2, 3, 4, 5, 6, 7, 8});
    if (DrawClient) c.Centre(ClRect, NewClRect, StretchEffect, StretchType);
}

void CreateSkinImage2(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect, TPoint NewLTPoint,
                      TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* B, TBitmap* SB,
                      TRect R, int W, int H, bool DrawClient, bool LeftStretch, bool TopStretch, bool RightStretch,
                      bool BottomStretch, bool StretchEffect, TbsStretchType StretchType)
{
    CreateSkinImage(LTPoint, RTPoint, LBPoint, RBPoint, ClRect, NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint,
                    NewClRect, B, SB, R, W, H, DrawClient, LeftStretch, TopStretch, RightStretch, BottomStretch,
                    StretchEffect, StretchType);
}

void CreateLeftSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                         TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                         TBitmap* B, TBitmap* SB, TRect R, int W, int H, bool DrawClient, bool LeftStretch,
                         bool TopStretch, bool, bool BottomStretch, bool StretchEffect, TbsStretchType StretchType)
{
    NinePart g{LTPoint,    RTPoint,    LBPoint,   RBPoint,   ClRect,     NewLTPoint, NewRTPoint,
               NewLBPoint, NewRBPoint, NewClRect, R.Width(), R.Height(), W,          H};
    if (!Prepare(B, SB, g)) return;
    Composer c(B, SB, R);
    // The top edge steps by RBPoint.X - LTPoint.X while its piece is RTPoint.X - LTPoint.X wide:
    // where the two differ each tile is scaled to the step.
    c.EdgeX(TopStretch, Rect(g.LT.X, 0, g.RT.X, g.Cl.Top), 0, g.NCl.Top, g.NLT.X, W, g.RB.X - g.LT.X);
    c.EdgeX(BottomStretch, Rect(g.LB.X, g.Cl.Bottom, g.RB.X, g.Rh), g.NCl.Bottom, H, g.NLB.X, W, g.RB.X - g.LB.X);
    LeftEdge(c, g, LeftStretch);
    Corners(c, g, {1, 2, 5, 6});
    if (DrawClient)
        c.Centre(ClRect, Rect(NewClRect.Left, NewClRect.Top, W, NewClRect.Bottom), StretchEffect, StretchType);
}

void CreateStretchImage(TBitmap* B, TBitmap* SB, TRect R, TRect ClRect, bool DrawClient)
{
    int rw = R.Width(), rh = R.Height(), w = B->Width(), h = B->Height();
    TRect ncl = Rect(ClRect.Left, ClRect.Top, w + ClRect.Right - rw, h + ClRect.Bottom - rh);
    CreateSkinImage(Point(ClRect.Left, ClRect.Top), Point(ClRect.Right, ClRect.Top), Point(ClRect.Left, ClRect.Bottom),
                    Point(ClRect.Right, ClRect.Bottom), ClRect, Point(ncl.Left, ncl.Top), Point(ncl.Right, ncl.Top),
                    Point(ncl.Left, ncl.Bottom), Point(ncl.Right, ncl.Bottom), ncl, B, SB, R, w, h, DrawClient, true,
                    true, true, true, true, bsstFull);
}

namespace {

// The horizontal three-part routines: caps as asked, the middle from X0 to X1.
void HorizontalParts(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewW, bool AStretch, bool LeftCap,
                     bool RightCap, int X0, int X1)
{
    int rh = R.Height(), rw = R.Width();
    B->SetSize(NewW, rh);
    if (!SB || SB->Empty()) return;
    Composer c(B, SB, R);
    if (LeftCap && LO != 0) c.Copy(Rect(0, 0, LO, rh), Rect(0, 0, LO, rh));
    if (RightCap && RO != 0) c.Copy(Rect(NewW - RO, 0, NewW, rh), Rect(rw - RO, 0, rw, rh));
    int w = rw - LO - RO;
    if (w == 0) w = 1;  // a middle of no width repeats the column after the left cap
    c.EdgeX(AStretch, Rect(LO, 0, LO + w, rh), 0, rh, X0, X1, w);
}

}  // namespace

void CreateHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewW, int, bool AStretch)
{
    HorizontalParts(LO, RO, B, SB, R, NewW, AStretch, true, true, LO, NewW - RO);
}

void CreateLeftHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewW, int, bool AStretch)
{
    HorizontalParts(LO, RO, B, SB, R, NewW, AStretch, true, false, LO, NewW);
}

void CreateMiddleHSkinImage(int LO, int RO, TBitmap* B, TBitmap* SB, TRect R, int NewW, int, bool AStretch)
{
    HorizontalParts(LO, RO, B, SB, R, NewW, AStretch, false, false, 0, NewW);
}

void CreateVSkinImage(int TO, int BO, TBitmap* B, TBitmap* SB, TRect R, int, int NewH, bool AStretch)
{
    int rw = R.Width(), rh = R.Height();
    B->SetSize(rw, NewH);
    if (!SB || SB->Empty()) return;
    Composer c(B, SB, R);
    if (TO != 0) c.Copy(Rect(0, 0, rw, TO), Rect(0, 0, rw, TO));
    if (BO != 0) c.Copy(Rect(0, NewH - BO, rw, NewH), Rect(0, rh - BO, rw, rh));
    c.EdgeY(AStretch, Rect(0, TO, rw, rh - BO), 0, rw, TO, NewH - BO, rh - BO - TO);  // no height: no tile
}

void CreateSkinBorderImages(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                            TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                            TBitmap* LeftB, TBitmap* TopB, TBitmap* RightB, TBitmap* BottomB, TBitmap* SB, TRect R,
                            int W, int H, bool LeftStretch, bool TopStretch, bool RightStretch, bool BottomStretch)
{
    if (!SB || SB->Empty()) return;
    const int rw = R.Width();
    // Top picture.
    int topH = NewClRect.Top;
    if (W > 0 && topH > 0 && RTPoint.X - LTPoint.X > 0) {
        TopB->SetSize(W, topH);
        Composer c(TopB, SB, R);
        TRect middle = Rect(LTPoint.X, 0, RTPoint.X, topH);
        if (TopStretch)
            c.Stretch(Rect(NewLTPoint.X, 0, NewRTPoint.X, topH), middle);
        else
            c.TileX(middle, 0, topH, 0, W, middle.Width());
        c.Copy(Rect(0, 0, NewLTPoint.X, topH), Rect(0, 0, LTPoint.X, topH));
        c.Copy(Rect(NewRTPoint.X, 0, W, topH), Rect(RTPoint.X, 0, rw, topH));
    }
    // Bottom picture: the bottom band rows of R.
    int band = H - NewClRect.Bottom;
    if (W > 0 && band > 0 && RBPoint.X - LBPoint.X > 0) {
        BottomB->SetSize(W, band);
        Composer c(BottomB, SB, Rect(R.Left, R.Bottom - band, R.Right, R.Bottom));
        TRect middle = Rect(LBPoint.X, 0, RBPoint.X, band);
        if (BottomStretch)
            c.Stretch(Rect(NewLBPoint.X, 0, NewRBPoint.X, band), middle);
        else
            c.TileX(middle, 0, band, 0, W, middle.Width());
        c.Copy(Rect(0, 0, NewLBPoint.X, band), Rect(0, 0, LBPoint.X, band));
        c.Copy(Rect(NewRBPoint.X, 0, W, band), Rect(RBPoint.X, 0, rw, band));
    }
    // The side pictures are as high as what the top and bottom pictures leave, as they are now.
    int m = H - BottomB->Height() - TopB->Height();
    auto side = [&](TBitmap* B, int w, int X0, int X1, int Y0, int Y1, bool Stretch) {
        B->SetSize(w, m);
        Composer c(B, SB, R);
        TRect middle = Rect(X0, Y0, X1, Y1);
        if (Stretch)
            c.Stretch(Rect(0, Y0 - ClRect.Top, w, m + Y1 - ClRect.Bottom), middle);
        else
            c.TileY(middle, 0, w, 0, m, middle.Height());
        if (Y0 - ClRect.Top > 0) c.Copy(Rect(0, 0, w, Y0 - ClRect.Top), Rect(X0, ClRect.Top, X1, Y0));
        if (ClRect.Bottom - Y1 > 0) c.Copy(Rect(0, m - (ClRect.Bottom - Y1), w, m), Rect(X0, Y1, X1, ClRect.Bottom));
    };
    if (NewClRect.Left > 0 && m > 0 && LBPoint.Y - LTPoint.Y > 0)
        side(LeftB, NewClRect.Left, 0, NewClRect.Left, LTPoint.Y, LBPoint.Y, LeftStretch);
    int rightW = W - NewClRect.Right;
    if (rightW >= 1 && m >= 1 && RBPoint.Y - RTPoint.Y >= 1)
        side(RightB, rightW, ClRect.Right, rw, RTPoint.Y, RBPoint.Y, RightStretch);
}
