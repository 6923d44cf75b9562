// The layered border of a skinned form: a skin's layer frame picture (shadow, glow, or the whole
// frame with caption and caption buttons) shown as four layered windows around the form - top
// and bottom over the whole width, left and right between them - which follow it as it moves,
// sizes, changes activation and fades in. The windows take the mouse (unless the frame's
// BorderRect is empty: then they are click-through and the form's bounds are its own): their
// zones resize the form, and in full-border mode the top window carries the caption and caption
// buttons, tracked, pressed and drawn (DrawAlpha) there.
//
// The form owns one and calls it only while LayeredBorderEnabled holds; without a layer frame
// record every operation returns at once. Composition is off on this platform, so no blur is
// applied; the blur regions are still built from the skin's mask picture.
//
// Geometry, for the form's bounds F and the frame's source picture of SW x SH: the outer
// rectangle is (F.Left + LeftOffset - ClRect.Left, F.Top + TopOffset - ClRect.Top), of
// F.Width + WidthOffset + SW - ClRect width by F.Height + HeightOffset (RollUpFormHeight while
// rolled up) + SH - ClRect height.
#pragma once

#include "platform/framework/core/component.h"
#include "platform/framework/forms/forms.h"
#include "platform/framework/forms/timer.h"

class TbsSkinData;
class TbsSkinForm;
class TbsDataSkinLayerFrame;
class TbsBitmap;
class TbsFormLayerBorder;

enum TbsFormLayerBorderType { bsflLeft, bsflTop, bsflRight, bsflBottom };
enum TbsFormLayerBorderHit {
    bsflhNone,
    bsflhLeft,
    bsflhTop,
    bsflhRight,
    bsflhBottom,
    bsflhTopLeft,
    bsflhTopRight,
    bsflhBottomLeft,
    bsflhBottomRight,
    bsflCaption,
    bsflObject
};

// One of the border's four windows: a borderless layered form of the application's screen that
// never takes activation.
class TbsFormLayerWindow : public TForm {
public:
    // The window for AForm's border (AOwner); hidden until the border shows it.
    TbsFormLayerWindow(TbsFormLayerBorder* AOwner, TCustomForm* AForm, TbsFormLayerBorderType AType);

    // The zone under the screen cursor; X, Y: the point in the window's client coordinates.
    TbsFormLayerBorderHit HitTest(int X, int Y);

    bool FDown = false;
    TCustomForm* FForm;
    TbsFormLayerBorder* FLayerBorder;
    TPoint MousePos1{}, MousePos2{};
    TbsFormLayerBorderHit FHitMode = bsflhNone;
    bool FInProcessMessages = false;
    TbsFormLayerBorderType BorderType;

protected:
    void CreateParams(TCreateParams& Params) override;
    void Dispatch(TMessage& Message) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;

private:
    bool CanResize() const;
    void DoubleClick(int X, int Y);
    // A drag step by (DX, DY) in the zone FHitMode.
    void Drag(int DX, int DY);
    void DragCaption(int DX, int DY);
    // The form's new bounds applied: repainted at once first, the border windows moved first
    // when its top edge goes down.
    void ApplyBounds(int L, int T, int W, int H);
    // Pending messages, with the mouse moves they bring ignored.
    void PumpIgnoringMoves();
};

class TbsFormLayerBorder : public TComponent {
public:
    explicit TbsFormLayerBorder(TComponent* AOwner);
    ~TbsFormLayerBorder() override;

    // Takes the skin's layer frame record (none for an empty skin or a frame without source).
    void InitFrame(TbsSkinData* ASkinData, TCustomForm* AForm);
    // The windows at the outer rectangle (X, Y, AWidth, AHeight): made and shown, moved, or
    // republished in place.
    void Show(int X, int Y, int AWidth, int AHeight);
    void Hide();
    void SetBounds(int X, int Y, int AWidth, int AHeight);
    void Update(int X, int Y, int AWidth, int AHeight);
    // The same for the outer rectangle of the form's current bounds, of the form's position with
    // a given size, or of given form bounds.
    void ShowWithForm();
    void UpdateBorder();
    void SetBoundsWithForm();
    void SetBoundsWithForm2(int AW, int AH);
    void SetBoundsWithForm3(int ALeft, int ATop, int AWidth, int AHeight);
    // The windows moved with the form, images unchanged.
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    // The images for that size painted onto a canvas at (X, Y).
    void Draw(TCanvas* C, int X, int Y, int AWidth, int AHeight);
    // The current alpha applied to the visible windows; SetAlphaBlend2 also shows them again.
    void SetAlphaBlend();
    void SetAlphaBlend2();
    // The alpha the windows show at for the form's alpha, rounded half to even (AUpdate:
    // republished at once).
    void CheckFormAlpha(int AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    // Fades the windows in from alpha 0 to the current alpha, busy on the UI thread.
    void ShowWithFormAnimation();
    // A full border whose frame record is present.
    bool FullBorder() const;
    // The screen position of the top border window while it shows; false without one.
    bool TopBorderOrigin(TPoint& P) const;
    // The outer rectangle for form bounds.
    TRect OuterRect(int ALeft, int ATop, int AWidth, int AHeight, bool RolledUp) const;

    // Full-border object tracking in top-strip coordinates (the form's TrackObjects with the
    // border's own indexes); Force also while the form is inactive (deactivation).
    void TrackObjects(int X, int Y, bool Force = false);
    void MouseTimerProc(TObject* Sender);

    TbsSkinForm* BSF = nullptr;
    bool FIsAeroEnabled = false;
    TTimer* MouseTimer = nullptr;
    TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;
    TbsDataSkinLayerFrame* FData = nullptr;
    TbsBitmap* LeftImage = nullptr;
    TbsBitmap* TopImage = nullptr;
    TbsBitmap* RightImage = nullptr;
    TbsBitmap* BottomImage = nullptr;
    TbsFormLayerWindow* LeftBorder = nullptr;
    TbsFormLayerWindow* TopBorder = nullptr;
    TbsFormLayerWindow* RightBorder = nullptr;
    TbsFormLayerWindow* BottomBorder = nullptr;
    int FWidth = 0, FHeight = 0;
    int LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    int HitTopLeftX = 0, HitTopLeftY = 0, HitTopRightX = 0, HitTopRightY = 0;
    int HitBottomLeftX = 0, HitBottomLeftY = 0, HitBottomRightX = 0, HitBottomRightY = 0;
    int OldActiveObject = -1, ActiveObject = -1, MouseCaptureObject = -1;
    HRGN DataRgn1 = nullptr, DataRgn2 = nullptr, DataRgn3 = nullptr, DataRgn4 = nullptr;
    HRGN TopRgn = nullptr, BottomRgn = nullptr, RightRgn = nullptr, LeftRgn = nullptr;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1, FCurrentInActiveAlphaBlendValue = -1;

private:
    // The four strips for the outer size, in the active or inactive look.
    void CreateBorderImages(int AWidth, int AHeight);
    // Caption and caption buttons laid out on the top strip (full border).
    void PlaceObjects();
    void CreateBlurMaskRegions();
    void CreateBlurRegions();
    void FreeImages();
    void FreeWindows();
    void DeleteRegions(bool WindowRegionsOnly);
    int CurrentAlpha() const;
    // Publishes the images on the windows at their places (sides only when they have height).
    void Publish(int X, int Y, bool Show);
    // Reads the form's bounds.
    TRect FormOuterRect(bool RolledUp) const;
};

// One of the border's own windows (they are forms, but no form of the application).
bool IsFormLayerWindow(TCustomForm* AForm);
