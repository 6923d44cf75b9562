#include "skin/controls/skin_tab_sheet.h"

#include "skin/controls/skin_page_control.h"
#include "skin/core/skin_messages.h"

TbsSkinCustomTabSheet::TbsSkinCustomTabSheet(TComponent* AOwner) : TTabSheet(AOwner)
{
    FAlign = alClient;
    FControlStyle.Include(csAcceptsControls);
    FControlStyle.Include(csNoDesignVisible);
    FVisible = false;
    FWallPaper = new TBitmap;
}

TbsSkinCustomTabSheet::~TbsSkinCustomTabSheet()
{
    // Off the page control first: it must not reach this page while the rest goes.
    SetPageControl(nullptr);
    delete FWallPaper;
    FWallPaper = nullptr;
}

void TbsSkinCustomTabSheet::CreateParams(TCreateParams& Params)
{
    TTabSheet::CreateParams(Params);
    Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

TbsSkinPageControl* TbsSkinCustomTabSheet::SkinPageControl() const
{
    return dynamic_cast<TbsSkinPageControl*>(PageControl());
}

void TbsSkinCustomTabSheet::SetWallPaper(TBitmap* Value)
{
    FWallPaper->Assign(Value);
    if (ComponentState() & csDesigning) Repaint();
}

void TbsSkinCustomTabSheet::PaintBG(HDC DC)
{
    if (Width() < 1 || Height() < 1 || !Parent() || !DC) return;
    TCanvas c;
    c.SetHandle(DC);
    TbsSkinPageControl* pc = SkinPageControl();
    if (pc) pc->GetSkinData();
    if (!FWallPaper->Empty()) {
        for (int y = 0; y < Height(); y += FWallPaper->Height())
            for (int x = 0; x < Width(); x += FWallPaper->Width()) c.Draw(x, y, FWallPaper);
    } else if (pc && pc->FIndex != -1 && pc->BGPictureIndex != -1 &&
               pc->BGPictureIndex < static_cast<int>(pc->FSD->FActivePictures.size())) {
        TBitmap* bg = pc->FSD->FActivePictures[static_cast<size_t>(pc->BGPictureIndex)];
        pc->FillWithPicture(&c, Width(), Height(), bg, Rect(0, 0, bg->Width(), bg->Height()));
    } else if (!pc || pc->FIndex == -1) {
        c.Brush()->SetStyle(bsSolid);
        c.Brush()->SetColor(clBtnFace);
        c.FillRect(Rect(0, 0, Width(), Height()));
    } else {
        pc->FillWithPicture(&c, Width(), Height(), pc->Picture, pc->ClientPiece());
    }
    c.SetHandle(nullptr);
}

void TbsSkinCustomTabSheet::Paint() { PaintBG(Canvas()->Handle()); }

void TbsSkinCustomTabSheet::WndProc(TMessage& m)
{
    switch (m.Msg) {
    case WM_SKIN_PAINTTODC: m.Result = SKIN_PAINTTODC_DONE; return;
    case WM_ERASEBKGND:
        PaintBG(reinterpret_cast<HDC>(m.WParam));
        m.Result = 1;
        return;
    default: break;
    }
    TTabSheet::WndProc(m);
    if (m.Msg == WM_SIZE) {
        Repaint();
        TbsSkinPageControl* pc = SkinPageControl();
        if (pc && pc->FSD && !pc->FSD->Empty && pc->StretchEffect) {
            // Children that show this page's stretched background repaint it.
            for (int i = 0; i < ControlCount(); ++i)
                if (auto* w = dynamic_cast<TWinControl*>(Controls(i)); w && w->HandleAllocated())
                    SendMessageW(w->Handle(), WM_SKIN_PARENTBGCHANGED, 0, 0);
        }
    }
}
