// The GDI side of the Windows stand-in: objects, regions, device contexts, blits, shapes and text,
// all on 32-bit BGRA pixels. Called by the framework's canvas and bitmap classes and by the skin
// engine. Every function checks its handles: a stale or foreign handle gives the error result
// (0, FALSE, ERROR or CLR_INVALID) and nothing else happens.
#pragma once

#include <functional>

#include "platform/win/win_consts.h"
#include "platform/win/win_types.h"

// ---- objects ----
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset);
HBITMAP CreateCompatibleBitmap(HDC hdc, int cx, int cy);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HFONT CreateFontIndirectW(const LOGFONTW* lf);
// Calls fn once per installed font family (fontconfig's families, and the Windows face names the
// layer maps onto them) until it returns 0; a face name in lf limits it to that family. The
// function object stands in for the callback; the result is fn's last answer.
using FONTENUMPROC_FN = std::function<int(const LOGFONTW* lf, const TEXTMETRICW* tm, DWORD fontType)>;
int EnumFontFamiliesExW(HDC hdc, const LOGFONTW* lf, const FONTENUMPROC_FN& fn, DWORD flags);
HGDIOBJ GetStockObject(int id);
BOOL DeleteObject(HGDIOBJ obj);
int GetObjectW(HGDIOBJ obj, int size, void* out);
DWORD GetObjectType(HGDIOBJ obj);

// ---- regions (rectangle lists) ----
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* r);
HRGN ExtCreateRegion(const void* xform, DWORD count, const RGNDATA* data);
int CombineRgn(HRGN dst, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
BOOL PtInRegion(HRGN rgn, int x, int y);
BOOL RectInRegion(HRGN rgn, const RECT* r);
BOOL EqualRgn(HRGN a, HRGN b);
int GetRgnBox(HRGN rgn, RECT* r);
BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
DWORD GetRegionData(HRGN rgn, DWORD size, RGNDATA* data);

// ---- device contexts ----
HDC CreateCompatibleDC(HDC hdc);
HDC CreateDCW(LPCWSTR driver, LPCWSTR device, LPCWSTR output, const void* init);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
int SaveDC(HDC hdc);
BOOL RestoreDC(HDC hdc, int saved);
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old);
BOOL GetViewportOrgEx(HDC hdc, POINT* p);
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, POINT* old);
BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old);
BOOL GetWindowOrgEx(HDC hdc, POINT* p);
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, POINT* old);
BOOL LPtoDP(HDC hdc, POINT* pts, int count);
BOOL DPtoLP(HDC hdc, POINT* pts, int count);
int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom);
int SelectClipRgn(HDC hdc, HRGN rgn);
int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode);
int GetClipBox(HDC hdc, RECT* r);
int GetClipRgn(HDC hdc, HRGN rgn);
int OffsetClipRgn(HDC hdc, int dx, int dy);
BOOL PtVisible(HDC hdc, int x, int y);
COLORREF SetTextColor(HDC hdc, COLORREF c);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF c);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);
int SetROP2(HDC hdc, int rop2);
int GetROP2(HDC hdc);
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
int SetPolyFillMode(HDC hdc, int mode);
UINT SetTextAlign(HDC hdc, UINT align);
UINT GetTextAlign(HDC hdc);
COLORREF SetDCBrushColor(HDC hdc, COLORREF c);
COLORREF SetDCPenColor(HDC hdc, COLORREF c);
int GetDeviceCaps(HDC hdc, int index);

// ---- blits ----
// StretchBlt, StretchDIBits and TransparentBlt sample by nearest neighbour with one rule in every
// stretch mode: for a destination extent d > 1 and source extent s, destination column k reads
// source column trunc(k * ((s - 1) / (d - 1))) with the scale held as a 32-bit float (the product
// taken in double precision); for d = 1 the
// middle column (s - 1) / 2. Negative extents mirror. This is the skin engine's own stretch rule, so
// a TransparentBlt and the engine's software transparent blit give the same pixels.
BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int xs, int ys, int cxs, int cys, DWORD rop);
BOOL PatBlt(HDC hdc, int x, int y, int cx, int cy, DWORD rop);
// Shows what was drawn so far now instead of at the message loop's next idle step.
BOOL GdiFlush();
// Pixels whose RGB equals the key are skipped; the others are stored with alpha 255.
BOOL TransparentBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int xs, int ys, int cxs, int cys, UINT key);
// Source-over with premultiplied source when AC_SRC_ALPHA is set, times the constant alpha.
BOOL AlphaBlend(HDC dst, int x, int y, int cx, int cy, HDC src, int xs, int ys, int cxs, int cys, BLENDFUNCTION bf);
int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT startScan, UINT lines,
                      const void* bits, const BITMAPINFO* bmi, UINT usage);
int StretchDIBits(HDC hdc, int xDest, int yDest, int destW, int destH, int xSrc, int ySrc, int srcW, int srcH,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop);
int GetDIBits(HDC hdc, HBITMAP bm, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage);
int SetDIBits(HDC hdc, HBITMAP bm, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage);

// ---- shapes ----
// GDI fills and lines store pixels with alpha 0, as on a 32-bit DIB section under GDI; BitBlt and
// StretchBlt copy all 32 bits.
int FillRect(HDC hdc, const RECT* r, HBRUSH brush);
int FrameRect(HDC hdc, const RECT* r, HBRUSH brush);
BOOL InvertRect(HDC hdc, const RECT* r);
BOOL DrawFocusRect(HDC hdc, const RECT* r);
BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush);
BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h);
BOOL PaintRgn(HDC hdc, HRGN rgn);
BOOL MoveToEx(HDC hdc, int x, int y, POINT* old);
BOOL LineTo(HDC hdc, int x, int y);
BOOL GetCurrentPositionEx(HDC hdc, POINT* p);
BOOL Polyline(HDC hdc, const POINT* pts, int count);
BOOL Polygon(HDC hdc, const POINT* pts, int count);
BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int w, int h);
BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c);
BOOL SetPixelV(HDC hdc, int x, int y, COLORREF c);
COLORREF GetPixel(HDC hdc, int x, int y);

// ---- text (Pango and Cairo) ----
BOOL TextOutW(HDC hdc, int x, int y, LPCWSTR text, int count);
BOOL ExtTextOutW(HDC hdc, int x, int y, UINT options, const RECT* r, LPCWSTR text, UINT count, const int* dx);
// Returns the height of the text; with DT_CALCRECT the rectangle is set to the text's extent.
int DrawTextW(HDC hdc, LPCWSTR text, int count, RECT* r, UINT format);
// DrawTextW with the text shrunk by the parameters' margins (none without parameters); the
// text is never modified, even with an ellipsis flag.
int DrawTextExW(HDC hdc, LPWSTR text, int count, RECT* r, UINT format, DRAWTEXTPARAMS* params);
BOOL GetTextExtentPoint32W(HDC hdc, LPCWSTR text, int count, SIZE* size);
// The text at (x, y) with each tab moved to the next tab stop: stops at origin + positions[i],
// every positions[0] with one position, every 8 average character widths with none, and past the
// last of several stops on at that default step. Answers the height (high word) and the width
// (low word) of what was drawn.
LONG TabbedTextOutW(HDC hdc, int x, int y, LPCWSTR text, int count, int nTabPositions, const INT* tabPositions,
                    int tabOrigin);
BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* tm);

// ---- rectangle helpers ----
BOOL SetRect(RECT* r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* r);
BOOL IsRectEmpty(const RECT* r);
BOOL PtInRect(const RECT* r, POINT p);
BOOL IntersectRect(RECT* out, const RECT* a, const RECT* b);
BOOL UnionRect(RECT* out, const RECT* a, const RECT* b);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL CopyRect(RECT* dst, const RECT* src);
int MulDiv(int number, int numerator, int denominator);
