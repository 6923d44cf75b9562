// The skin engine's built-in vector marks (arrows, check and radio marks, dotted focus frame,
// 3D frame), caption-button glyphs, two colour helpers and the rectangle and point helpers the
// whole skin library uses. Lines paint their start point but not their end point.
#pragma once

#include "platform/framework/graphics/canvas.h"

// Each channel (C1 + C2) shr 1, system colours resolved.
TColor AverageColor(TColor C1, TColor C2);
// Each channel c - MulDiv(c, Percent, 100).
TColor DarkenColor(TColor Color, int Percent);

void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color);
// Kind 1 left, 2 right, 3 up, 4 down, 5 plus; others draw nothing.
void DrawArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind);
void DrawLargeArrowImage(TCanvas* Canvas, const TRect& R, TColor Color, int Kind);
void DrawCheckMark(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRadioMark(TCanvas* Canvas, int X, int Y, TColor Color);
// Dots in the font colour round R shrunk by one at right and bottom.
void DrawDottedFocusRect(TCanvas* Canvas, const TRect& R);
void Draw3DFrame(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor);

void DrawCloseGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMinimizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawMaximizeGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRestoreGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRollUpGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawRollDownGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawTrayGlyph(TCanvas* Canvas, int X, int Y, TColor Color);
void DrawSysMenuGlyph(TCanvas* Canvas, int X, int Y, TColor Color);

inline int RectWidth(const TRect& R) { return R.Right - R.Left; }
inline int RectHeight(const TRect& R) { return R.Bottom - R.Top; }
inline bool SameRect(const TRect& A, const TRect& B) { return A == B; }
inline void NullRect(TRect& R) { R = TRect{}; }
inline bool IsNullRect(const TRect& R) { return RectWidth(R) <= 0 || RectHeight(R) <= 0; }
inline bool IsNullPoint(const TPoint& P) { return P.X == 0 || P.Y == 0; }
// All four edges included.
inline bool PointInsideRect(const TRect& R, const TPoint& P)
{
    return P.X >= R.Left && P.X <= R.Right && P.Y >= R.Top && P.Y <= R.Bottom;
}
// A's top-left and bottom-right inside B, B's right and bottom edges excluded.
inline bool RectInsideRect(const TRect& A, const TRect& B)
{
    return PtInRect(B, Point(A.Left, A.Top)) && PtInRect(B, Point(A.Right, A.Bottom));
}
// A's top row or bottom row lies within B's rows.
inline bool RectPartlyInsideRect(const TRect& A, const TRect& B)
{
    return PtInRect(B, Point(B.Left + 1, A.Top)) || PtInRect(B, Point(B.Right - 1, A.Bottom));
}
inline int IntMax(int A, int B) { return A > B ? A : B; }
inline int IntMin(int A, int B) { return A < B ? A : B; }
