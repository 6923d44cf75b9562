#include "platform/framework/controls/inplace_edit.h"

TInplaceEdit::TInplaceEdit(TWinControl* View) : TCustomEdit(View), FView(View)
{
    SetVisible(false);
    SetParent(View);
}

void TInplaceEdit::Start(const TRect& R, const String& Text)
{
    SetBounds(R.Left, R.Top, R.Width(), R.Height());
    SetText(Text);
    SelectAll();
    FActive = true;
    Show();
    BringToFront();
    if (CanFocus()) SetFocus();
}

void TInplaceEdit::Finish(bool Accept)
{
    if (!FActive) return;
    FActive = false;
    const bool hadFocus = Focused();
    const String text = Text();
    if (hadFocus && FView->CanFocus()) FView->SetFocus();
    Hide();
    if (OnFinish) OnFinish(Accept, text);
}

bool TInplaceEdit::WantsKey(WORD Key) { return Key == VK_RETURN || Key == VK_ESCAPE || TCustomEdit::WantsKey(Key); }

void TInplaceEdit::Dispatch(TMessage& m)
{
    switch (m.Msg) {
    case WM_GETDLGCODE: m.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; return;
    case WM_KEYDOWN:
        if (m.WParam == VK_RETURN || m.WParam == VK_ESCAPE) {
            Finish(m.WParam == VK_RETURN);
            return;
        }
        break;
    case WM_CHAR:
        if (m.WParam == L'\r' || m.WParam == 27) return;
        break;
    case WM_KILLFOCUS:
        TCustomEdit::Dispatch(m);
        Finish(true);
        return;
    default: break;
    }
    TCustomEdit::Dispatch(m);
}
