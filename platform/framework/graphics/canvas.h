// TCanvas: drawing with a font, brush and pen on a device context of the window layer. A canvas
// either owns nothing and is attached to an external DC (SetHandle; 0 detaches, deselecting its
// objects), or a descendant makes its DC on demand (CreateHandle: the bitmap's memory DC, a
// control's window DC). The font, brush and pen are selected into the DC when an operation
// needs them and again after they change. Used by TBitmap, the controls and the skin engine.
#pragma once

#include <mutex>
#include <vector>

#include "platform/framework/graphics/graphics_objects.h"

class TGraphic;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The DC; a canvas without one asks CreateHandle, and raises EInvalidOperation ("Canvas
    // does not allow drawing") when none comes.
    HDC Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    // Attaches to an external DC (not owned); nullptr detaches and deselects the objects.
    void SetHandle(HDC Value);

    TFont* Font() { return &FFont; }
    TBrush* Brush() { return &FBrush; }
    TPen* Pen() { return &FPen; }
    void SetFont(TFont* Value) { FFont.Assign(Value); }
    void SetBrush(TBrush* Value) { FBrush.Assign(Value); }
    void SetPen(TPen* Value) { FPen.Assign(Value); }
    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    TPoint PenPos();
    void SetPenPos(const TPoint& Value) { MoveTo(Value.X, Value.Y); }
    // The clip box of the DC.
    TRect ClipRect();

    // Lines exclude their end point; the pen position moves to it.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);
    void Polygon(const std::vector<TPoint>& Points);
    // Outlined with the pen, filled with the brush; right and bottom exclusive.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    // With the brush only.
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    void DrawFocusRect(const TRect& R);

    // Text in the font colour; with a solid brush the text background is filled in the brush
    // colour, with bsClear it is left. TextOut moves the pen position to the end of the text.
    void TextOut(int X, int Y, const String& Text);
    // TextOut clipped to R (with a solid brush R is filled first).
    void TextRect(const TRect& R, int X, int Y, const String& Text);
    TSize TextExtent(const String& Text);
    int TextWidth(const String& Text) { return TextExtent(Text).cx; }
    int TextHeight(const String& Text) { return TextExtent(Text).cy; }

    // The graphic at its own size; a transparent bitmap leaves its transparent colour out.
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    // A blit from another canvas with CopyMode; stretched when the sizes differ.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);

    // RGB colour of a pixel (CLR_INVALID outside); setting stores it.
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);

    // Serialises drawing from several threads (nested locks by one thread are allowed).
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return FLockCount; }

    // Deselects the objects so that the next operation selects them anew.
    void Refresh();

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();
    // Makes the objects and DC state the next operation needs current.
    enum : unsigned { csHandleValid = 1, csFontValid = 2, csPenValid = 4, csBrushValid = 8 };
    void RequiredState(unsigned State);
    // For descendants that own their DC: drop it without touching it further.
    void DeselectHandles();

private:
    void FontChanged(TObject*);
    void PenChanged(TObject*);
    void BrushChanged(TObject*);

    HDC FHandle = nullptr;
    unsigned FState = 0;
    TFont FFont;
    TBrush FBrush;
    TPen FPen;
    TCopyMode FCopyMode = cmSrcCopy;
    HGDIOBJ FOldFont = nullptr;
    HGDIOBJ FOldPen = nullptr;
    HGDIOBJ FOldBrush = nullptr;
    std::recursive_mutex FLock;
    int FLockCount = 0;
};
