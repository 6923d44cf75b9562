#include "skin/core/parent_background.h"

#include "platform/framework/controls/custom_control.h"
#include "platform/framework/forms/forms.h"
#include "platform/win/gdi_api.h"
#include "platform/win/user_api.h"

namespace {

// Reaches a parent's protected PaintWindow, as the control's own painting would.
struct PaintAccess : TWinControl {
    using TWinControl::PaintWindow;
};

// csPaintCopy on a control while it paints into the picture; removed also when painting raises.
class PaintCopyMark {
public:
    explicit PaintCopyMark(TControl* C) : FC(C) { FC->SetControlState(FC->ControlState().Include(csPaintCopy)); }
    ~PaintCopyMark() { FC->SetControlState(FC->ControlState().Exclude(csPaintCopy)); }

private:
    TControl* FC;
};

// The DC's state saved for one painter and restored however it ends.
class SavedDC {
public:
    explicit SavedDC(HDC DC) : FDC(DC), FSaved(SaveDC(DC)) {}
    ~SavedDC() { RestoreDC(FDC, FSaved); }

private:
    HDC FDC;
    int FSaved;
};

bool Overlap(const TRect& A, const TRect& B)
{
    return std::max(A.Left, B.Left) < std::min(A.Right, B.Right) &&
           std::max(A.Top, B.Top) < std::min(A.Bottom, B.Bottom);
}

}  // namespace

void PaintParentBackgroundRect(TWinControl* Control, const TRect& R, TCanvas* Canvas)
{
    if (!Control || !Control->Parent() || !Canvas) return;
    TWinControl* parent = Control->Parent();
    PaintCopyMark parentMark(parent);
    HDC dc = Canvas->Handle();
    {
        SavedDC saved(dc);
        SetViewportOrgEx(dc, -Control->Left() - R.Left, -Control->Top() - R.Top, nullptr);
        IntersectClipRect(dc, 0, 0, parent->ClientWidth(), parent->ClientHeight());
        auto* form = dynamic_cast<TCustomForm*>(parent);
        if (form && form->FormStyle() == fsMDIForm) {
            SendMessageW(form->ClientHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        } else {
            parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            if (!form) (parent->*(&PaintAccess::PaintWindow))(dc);
        }
    }
    Canvas->Refresh();
    const TRect bounds = Control->BoundsRect();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* child = parent->Controls(i);
        if (child == Control) break;
        if (!dynamic_cast<TGraphicControl*>(child) || !child->Visible() || !Overlap(child->BoundsRect(), bounds))
            continue;
        PaintCopyMark childMark(child);
        SavedDC saved(dc);
        SetViewportOrgEx(dc, child->Left() - Control->Left() - R.Left, child->Top() - Control->Top() - R.Top, nullptr);
        IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
    Canvas->Refresh();
}

void PaintParentBackground(TWinControl* Control, TCanvas* Canvas)
{
    PaintParentBackgroundRect(Control, TRect{}, Canvas);
}
