// The MDI side of the skinned form. The main form's skin form arranges the children (tile,
// cascade, minimize, maximize, restore and close all), keeps two skinned scroll bars in place of
// the system's MDI scroll bars, paints the client window through its own procedure and lists the
// children in the window menu. The children's skin forms keep it informed through the private
// WM_MDICHILD_* messages, all sent synchronously; the window procedure routes them here.
#include <algorithm>
#include <cmath>

#include "platform/win/win_api.h"
#include "skin/controls/skin_scroll_bar.h"
#include "skin/core/skin_messages.h"
#include "skin/form/skin_form.h"

namespace {

constexpr wchar_t kChildItemSuffix[] = L"_BSFCHILDITEM";
constexpr wchar_t kClientProp[] = L"VxSkinFormMDIClient";
constexpr int kScrollBarSize = 17;
constexpr int kScrollArrowStep = 10;

TCustomForm* MainForm() { return Application ? Application->MainForm() : nullptr; }

// The main form when it is an MDI form.
TCustomForm* MDIMainForm()
{
    TCustomForm* main = MainForm();
    return main && main->FormStyle() == fsMDIForm ? main : nullptr;
}

std::vector<TCustomForm*> Children(TCustomForm* Main)
{
    std::vector<TCustomForm*> v;
    if (Main)
        for (int i = 0; TCustomForm* f = Main->MDIChildren(i); ++i) v.push_back(f);
    return v;
}

// The child's name in a window-menu entry's name: the name less its first suffix.
String ChildNameOfItem(const String& ItemName)
{
    String s = ItemName;
    const size_t p = s.find(kChildItemSuffix);
    if (p != String::npos) s.erase(p, std::char_traits<wchar_t>::length(kChildItemSuffix));
    return s;
}

LRESULT MDIClientProc(HWND H, UINT Msg, WPARAM W, LPARAM L)
{
    auto* f = static_cast<TbsSkinForm*>(GetPropW(H, kClientProp));
    if (!f) return DefWindowProcW(H, Msg, W, L);
    TMessage m{Msg, W, L, 0};
    f->MDIClientWndProc(m);
    return m.Result;
}

}  // namespace

// ---- the client area and the maximized child ---------------------------------------------------

TRect TbsSkinForm::GetMDIClientRect() const
{
    TCustomForm* main = MainForm();
    if (!main) return TRect{};
    TRect r = Rect(0, 0, main->ClientWidth(), main->ClientHeight());
    for (int i = 0; i < main->ControlCount(); ++i) {
        TControl* c = main->Controls(i);
        if (!c->Visible()) continue;
        switch (c->Align()) {
        case alLeft: r.Left = std::max(r.Left, c->Left() + c->Width()); break;
        case alTop: r.Top = std::max(r.Top, c->Top() + c->Height()); break;
        case alRight: r.Right = std::min(r.Right, c->Left()); break;
        case alBottom: r.Bottom = std::min(r.Bottom, c->Top()); break;
        default: break;
        }
    }
    return r;
}

TCustomForm* TbsSkinForm::MaximizedMDIChild() const
{
    TCustomForm* main = MainForm();
    if (!main) return nullptr;
    if (TCustomForm* a = main->ActiveMDIChild())
        if (TbsSkinForm* s = SkinFormOfForm(a); s && s->FWindowStateInit == wsMaximized) return a;
    for (TCustomForm* f : Children(main))
        if (TbsSkinForm* s = SkinFormOfForm(f); s && s->FWindowStateInit == wsMaximized) return f;
    return nullptr;
}

void TbsSkinForm::FitMDIChildren()
{
    for (TCustomForm* f : Children(MDIMainForm()))
        if (f->HandleAllocated()) SendMessageW(f->Handle(), WM_MDICHILD_FIT, 0, 0);
    if (!FShowMDIScrollBars) ArrangeMinimizedChildren();
}

void TbsSkinForm::ArrangeMinimizedChildren()
{
    for (TCustomForm* f : Children(MDIMainForm()))
        if (TbsSkinForm* s = SkinFormOfForm(f); s && s->FWindowStateInit == wsMinimized) {
            TPoint p;
            s->GetMinimizedPosition(p);
            f->SetBounds(p.X, p.Y, f->Width(), f->Height());
        }
}

// ---- arrangement ---------------------------------------------------------------------------------

void TbsSkinForm::Tile()
{
    if (FTileMode == tbHorizontal)
        TileHorizontal();
    else
        TileVertical();
}

void TbsSkinForm::TileHorizontal()
{
    if (!MDIMainForm()) return;
    RestoreAll();
    const std::vector<TCustomForm*> c = Children(MDIMainForm());
    const int n = static_cast<int>(c.size());
    if (n == 0) return;
    const TRect area = GetMDIClientRect();
    const int W = area.Width(), H = area.Height();
    // Columns fill upwards from the bottom right, right to left; the last child ends bottom right.
    const int cols = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    int rows = n / cols;
    if (n > rows * cols) ++rows;
    const int cw = W / cols;
    int rh = H / std::max(1, rows);
    int x = W, y = H, left = cols;
    for (int i = n - 1; i >= 0; --i) {
        c[i]->SetBounds(std::max(x - cw, 0), std::max(y - rh, 0), cw, rh);
        y -= rh;
        if (y - rh < 0) {
            y = H;
            x -= cw;
            left = std::max(left - 1, 1);
            const int rc = std::max(1, (i + left - 1) / left);
            rh = H / rc;
        }
    }
}

void TbsSkinForm::TileVertical()
{
    if (!MDIMainForm()) return;
    RestoreAll();
    const std::vector<TCustomForm*> c = Children(MDIMainForm());
    const int n = static_cast<int>(c.size());
    if (n == 0) return;
    const TRect area = GetMDIClientRect();
    const int W = area.Width(), H = area.Height();
    // Columns fill downwards, left to right, from the first child.
    const int rows = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    const int cols = std::max(1, n / rows);
    const int cw = W / cols;
    int rh = H / rows;
    int x = 0, y = 0, left = cols;
    for (int i = 0; i < n; ++i) {
        c[i]->SetBounds(x, y, cw, rh);
        y += rh;
        if (y + rh > H) {
            y = 0;
            x += cw;
            left = std::max(left - 1, 1);
            const int rc = std::max(1, (n - i - 1) / left);
            rh = H / rc;
        }
    }
}

void TbsSkinForm::Cascade()
{
    if (!MDIMainForm()) return;
    if (Children(MDIMainForm()).empty()) return;
    RestoreAll();
    const std::vector<TCustomForm*> c = Children(MDIMainForm());
    const int n = static_cast<int>(c.size());
    const TRect area = GetMDIClientRect();
    const int W = area.Width(), H = area.Height();
    TbsSkinForm* main = SkinFormOfForm(MainForm());
    if (!main) main = this;
    int d;
    if (main->FSkinSupport) {
        d = main->NewClRect.Top;
    } else {
        const TFormBorderStyle bs = main->FForm->BorderStyle();
        d = (bs == bsToolWindow || bs == bsSizeToolWin ? 15 : 19) + 3;
    }
    // A skin whose client starts at the top gives no step; children still step by a pixel.
    d = std::max(d, 1);
    const int steps = (W - static_cast<int>(std::lround(W * 0.8))) / d;
    int cw, ch;
    if (steps > n) {
        cw = W - d * (n - 1);
        ch = H - d * (n - 1);
    } else {
        cw = W - d * steps;
        ch = H - d * steps;
    }
    cw = std::max(cw, main->GetMinWidth());
    ch = std::max(ch, main->GetMinHeight());
    int o = 0;
    for (int i = n - 1; i >= 0; --i) {
        int w = cw, h = ch;
        if (c[i]->BorderStyle() == bsSingle) {
            w = c[i]->Width();
            h = c[i]->Height();
        }
        if (o + w > W || o + h > H) o = 0;
        c[i]->SetBounds(o, o, w, h);
        o += d;
    }
}

void TbsSkinForm::MinimizeAll()
{
    for (TCustomForm* f : Children(MDIMainForm()))
        if (TbsSkinForm* s = SkinFormOfForm(f)) s->SetWindowState(wsMinimized);
}

void TbsSkinForm::MaximizeAll()
{
    for (TCustomForm* f : Children(MDIMainForm()))
        if (TbsSkinForm* s = SkinFormOfForm(f); s && s->FBorderIcons.Contains(TbsBorderIcon::biMaximize))
            s->SetWindowState(wsMaximized);
}

void TbsSkinForm::RestoreAll() { RestoreAllExcept(nullptr); }

void TbsSkinForm::RestoreAllExcept(HWND AFormHandle)
{
    for (TCustomForm* f : Children(MDIMainForm())) {
        if (AFormHandle && f->HandleAllocated() && f->Handle() == AFormHandle) continue;
        TbsSkinForm* s = SkinFormOfForm(f);
        if (!s) continue;
        if (s->FWindowStateInit != wsNormal) s->SetWindowState(wsNormal);
        if (s->FRollUpState && s->FWindowStateInit == wsNormal) s->SetRollUpState(false);
    }
}

void TbsSkinForm::CloseAll()
{
    const std::vector<TCustomForm*> c = Children(MDIMainForm());
    for (auto i = c.rbegin(); i != c.rend(); ++i) (*i)->Close();
}

// ---- the protocol, main-form side --------------------------------------------------------------

void TbsSkinForm::WMMDIChildMaximized(TMessage&)
{
    FMDIChildMaximized = true;
    UpDateFormNC();
    if (FMainMenuBar) FMainMenuBar->MDIChildMaximize();
    if (FSkinRibbon) FSkinRibbon->MDIChildMaximize();
    // The other children's own maximize messages arrive under the guard and change nothing.
    FInMaximizeAll = true;
    MaximizeAll();
    FInMaximizeAll = false;
    UpdateMDIScrollBars(true);
}

void TbsSkinForm::WMMDIChildRestored(TMessage&)
{
    if (!MaximizedMDIChild()) FMDIChildMaximized = false;
    MDIRestoredRefresh();
}

void TbsSkinForm::WMMDIChildRestoreAll(TMessage&)
{
    FInRestoreAll = true;
    RestoreAll();
    FInRestoreAll = false;
    FMDIChildMaximized = false;
    MDIRestoredRefresh();
}

void TbsSkinForm::WMMDIChildRestoreOthers(TMessage& M)
{
    FInRestoreAll = true;
    RestoreAllExcept(reinterpret_cast<HWND>(M.WParam));
    FInRestoreAll = false;
    FMDIChildMaximized = false;
    FForm->Next();
    MDIRestoredRefresh();
}

void TbsSkinForm::WMMDIChildMoved(TMessage& M)
{
    ChangeVisibleChildHanle = reinterpret_cast<HWND>(M.WParam);
    UpdateMDIScrollBars(true);
    ChangeVisibleChildHanle = nullptr;
}

void TbsSkinForm::MDIRestoredRefresh()
{
    UpDateFormNC();
    if (FMainMenuBar) FMainMenuBar->MDIChildRestore();
    if (FSkinRibbon) FSkinRibbon->MDIChildRestore();
    UpdateMDIScrollBars(true);
}

// ---- scroll bars ---------------------------------------------------------------------------------

void TbsSkinForm::CreateMDIScrollBars()
{
    if (ComponentState() & csDesigning) return;
    if (!FMDIHScrollBar) {
        auto* b = new TbsSkinScrollBar(this);
        b->SetVisible(false);
        b->SetKind(sbHorizontal);
        b->SetHeight(kScrollBarSize);
        b->SetSkinDataName(L"hscrollbar");
        b->SetSkinData(FSD);
        b->OnUpButtonClick = [this](TObject* S) { HScrollUpClick(S); };
        b->OnDownButtonClick = [this](TObject* S) { HScrollDownClick(S); };
        b->OnPageUp = b->OnPageDown = b->OnLastChange = [this](TObject*) { UpdateHScrollPosition(); };
        b->SetParent(FForm);
        FMDIHScrollBar = b;
        FOldHSrollBarPosition = 0;
    }
    if (!FMDIVScrollBar) {
        auto* b = new TbsSkinScrollBar(this);
        b->SetVisible(false);
        b->SetKind(sbVertical);
        b->SetWidth(kScrollBarSize);
        b->SetSkinDataName(L"vscrollbar");
        b->SetSkinData(FSD);
        b->OnUpButtonClick = [this](TObject* S) { VScrollUpClick(S); };
        b->OnDownButtonClick = [this](TObject* S) { VScrollDownClick(S); };
        b->OnPageUp = b->OnPageDown = b->OnLastChange = [this](TObject*) { UpdateVScrollPosition(); };
        b->SetParent(FForm);
        FMDIVScrollBar = b;
        FOldVSrollBarPosition = 0;
    }
}

void TbsSkinForm::HScrollUpClick(TObject*)
{
    FMDIHScrollBar->SetPosition(FMDIHScrollBar->Position() + kScrollArrowStep);
    UpdateHScrollPosition();
}

void TbsSkinForm::HScrollDownClick(TObject*)
{
    FMDIHScrollBar->SetPosition(FMDIHScrollBar->Position() - kScrollArrowStep);
    UpdateHScrollPosition();
}

void TbsSkinForm::VScrollUpClick(TObject*)
{
    FMDIVScrollBar->SetPosition(FMDIVScrollBar->Position() + kScrollArrowStep);
    UpdateVScrollPosition();
}

void TbsSkinForm::VScrollDownClick(TObject*)
{
    FMDIVScrollBar->SetPosition(FMDIVScrollBar->Position() - kScrollArrowStep);
    UpdateVScrollPosition();
}

void TbsSkinForm::UpdateHScrollPosition()
{
    if (!FMDIHScrollBar || FMDIHScrollBar->Position() == FOldHSrollBarPosition) return;
    const int delta = FOldHSrollBarPosition - FMDIHScrollBar->Position();
    FOldHSrollBarPosition = FMDIHScrollBar->Position();
    ShiftChildrenHorizontally(delta);
}

void TbsSkinForm::UpdateVScrollPosition()
{
    if (!FMDIVScrollBar || FMDIVScrollBar->Position() == FOldVSrollBarPosition) return;
    const int delta = FOldVSrollBarPosition - FMDIVScrollBar->Position();
    FOldVSrollBarPosition = FMDIVScrollBar->Position();
    ShiftChildrenVertically(delta);
}

void TbsSkinForm::ShiftChildrenHorizontally(int Delta)
{
    // The children's own move messages are ignored meanwhile: the range stays as it is.
    FStopCheckChildMove = true;
    for (TCustomForm* f : Children(MDIMainForm()))
        if (f->Visible()) f->SetBounds(f->Left() + Delta, f->Top(), f->Width(), f->Height());
    FStopCheckChildMove = false;
    UpdateMDIScrollBars(false);
}

void TbsSkinForm::ShiftChildrenVertically(int Delta)
{
    FStopCheckChildMove = true;
    for (TCustomForm* f : Children(MDIMainForm()))
        if (f->Visible()) f->SetBounds(f->Left(), f->Top() + Delta, f->Width(), f->Height());
    FStopCheckChildMove = false;
    UpdateMDIScrollBars(false);
}

void TbsSkinForm::AlignMDIScrollBars()
{
    const TRect a = GetMDIClientRect();
    auto* hb = FMDIHScrollBar;
    auto* vb = FMDIVScrollBar;
    if (hb->Visible()) {
        hb->SetBoth(vb->Visible());
        hb->SetBounds(a.Left, a.Bottom - hb->Height(), a.Width(), hb->Height());
    }
    if (vb->Visible())
        vb->SetBounds(a.Right - vb->Width(), a.Top, vb->Width(), a.Height() - (hb->Visible() ? hb->Height() : 0));
}

void TbsSkinForm::UpdateMDIScrollBars(bool ARangeUpdate)
{
    auto* hb = FMDIHScrollBar;
    auto* vb = FMDIVScrollBar;
    if (!hb || !vb) return;
    if (FMDIChildMaximized || !FShowMDIScrollBars || FForm->FormStyle() != fsMDIForm) {
        hb->SetVisible(false);
        vb->SetVisible(false);
        return;
    }
    // A change of visibility changes the area the others measure against: a few passes settle it.
    for (int pass = 0; pass < 4; ++pass) {
        const TRect a = GetMDIClientRect();
        const int W = a.Width(), H = a.Height();
        int minL = 100000, minT = 100000, maxR = -100000, maxB = -100000;
        for (TCustomForm* f : Children(MDIMainForm())) {
            if (!f->Visible() || (f->HandleAllocated() && f->Handle() == ChangeVisibleChildHanle)) continue;
            minL = std::min(minL, f->Left());
            minT = std::min(minT, f->Top());
            maxR = std::max(maxR, f->Left() + f->Width());
            maxB = std::max(maxB, f->Top() + f->Height());
        }
        bool needH = minL < 0 || maxR > W;
        bool needV = minT < 0 || maxB > H;
        if (needV && !needH) needH = minL < 0 || maxR > W - vb->Width();
        if (needH && !needV) needV = minT < 0 || maxB > H - hb->Height();
        bool changed = false;
        if (needH && !hb->Visible()) {
            hb->SetBounds(a.Left, a.Bottom - hb->Height(), W, hb->Height());
            hb->SetVisible(true);
            hb->BringToFront();
            changed = true;
        } else if (!needH && hb->Visible()) {
            hb->SetVisible(false);
            changed = true;
        }
        if (needV && !vb->Visible()) {
            vb->SetBounds(a.Right - vb->Width(), a.Top, vb->Width(), H - (needH ? hb->Height() : 0));
            vb->SetVisible(true);
            vb->BringToFront();
            changed = true;
        } else if (!needV && vb->Visible()) {
            vb->SetVisible(false);
            changed = true;
        }
        AlignMDIScrollBars();
        if (hb->Visible()) {
            maxR = std::max(maxR, W);
            if (ARangeUpdate) {
                const int page = W - (vb->Visible() ? vb->Width() : 0);
                const int pos = minL <= 0 ? -minL : 0;
                hb->SetRange(0, maxR + pos - 1, pos, page);
                FOldHSrollBarPosition = hb->Position();
            }
            hb->SetLargeChange(hb->PageSize());
        }
        if (vb->Visible()) {
            maxB = std::max(maxB, H);
            if (ARangeUpdate) {
                const int page = H - (hb->Visible() ? hb->Height() : 0);
                const int pos = minT <= 0 ? -minT : 0;
                vb->SetRange(0, maxB + pos - 1, pos, page);
                FOldVSrollBarPosition = vb->Position();
            }
            vb->SetLargeChange(vb->PageSize());
        }
        if (!changed || (!hb->Visible() && !vb->Visible())) break;
    }
}

// ---- the client window -----------------------------------------------------------------------

void TbsSkinForm::InstallMDIClientProc()
{
    if (ComponentState() & csDesigning) return;
    if (FForm->FormStyle() != fsMDIForm) return;
    HWND client = FForm->ClientHandle();
    if (!client || client == FClientWnd) return;
    RemoveMDIClientProc();
    FClientWnd = client;
    SetPropW(client, kClientProp, this);
    FPrevClientProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(client, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&MDIClientProc)));
    // The client edge goes: the children's area is the whole window.
    SetWindowPos(client, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TbsSkinForm::RemoveMDIClientProc()
{
    if (!FClientWnd) return;
    if (IsWindow(FClientWnd)) {
        RemovePropW(FClientWnd, kClientProp);
        if (FPrevClientProc) SetWindowLongPtrW(FClientWnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(FPrevClientProc));
        SetWindowPos(FClientWnd, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    FClientWnd = nullptr;
    FPrevClientProc = nullptr;
}

void TbsSkinForm::MDIClientWndProc(TMessage& M)
{
    HWND h = FClientWnd;
    auto prev = [&] {
        M.Result = FPrevClientProc ? CallWindowProcW(FPrevClientProc, h, M.Msg, M.WParam, M.LParam)
                                   : DefWindowProcW(h, M.Msg, M.WParam, M.LParam);
    };
    switch (M.Msg) {
    case WM_SIZE: {
        prev();
        const LRESULT answer = M.Result;
        FitMDIChildren();
        const bool skin = HasSkin();
        bool sized = !FLogoBitMap->Empty();
        if (skin && FLogoBitMap->Empty() && FSD->StretchEffect && FSD->MDIBGPictureIndex == -1) sized = true;
        if (skin && FSD->MDIBGStretchEffect && FSD->MDIBGPictureIndex != -1) sized = true;
        if (sized) {
            RECT r{0, 0, FForm->ClientWidth(), FForm->ClientHeight()};
            RedrawWindow(h, &r, nullptr, RDW_ERASE | RDW_INVALIDATE);
        }
        UpdateMDIScrollBars(true);
        M.Result = answer;
        return;
    }
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(M.WParam);
        if (!HasSkin())
            PaintMDIBGDefault(dc);
        else if (FSD->MDIBGPictureIndex != -1)
            PaintBG3(dc);
        else if (FSD->BGPictureIndex == -1)
            PaintBG(dc);
        else
            PaintBG2(dc);
        M.Result = 0;
        return;
    }
    case WM_NCCALCSIZE:
    case WM_NCPAINT: M.Result = 0; return;
    case WM_NCACTIVATE: M.Result = 1; return;
    case WM_NCDESTROY: {
        prev();
        const LRESULT answer = M.Result;
        RemovePropW(h, kClientProp);
        FClientWnd = nullptr;
        FPrevClientProc = nullptr;
        M.Result = answer;
        return;
    }
    default: prev(); return;
    }
}

// ---- the window menu ---------------------------------------------------------------------------

void TbsSkinForm::AddChildToMenu(TCustomForm* Child)
{
    TCustomForm* main = MDIMainForm();
    if (!main || !Child || !SkinFormOfForm(main) || !main->WindowMenu()) return;
    TbsSkinForm* owner = SkinFormOfForm(Child);
    if (!owner) owner = this;
    auto* item = new TMenuItem(owner);
    item->SetName(Child->Name() + kChildItemSuffix);
    item->SetCaption(Child->Caption());
    item->OnClick = [owner](TObject* S) { owner->MDIItemClick(S); };
    main->WindowMenu()->Add(item);
}

namespace {
// The window-menu entries of the children, in menu order.
std::vector<TMenuItem*> ChildEntries(TMenuItem* Menu)
{
    std::vector<TMenuItem*> v;
    for (int i = 0; i < Menu->Count(); ++i)
        if (Menu->Items(i)->Name().find(kChildItemSuffix) != String::npos) v.push_back(Menu->Items(i));
    return v;
}
}  // namespace

void TbsSkinForm::DeleteChildFromMenu(TCustomForm* Child)
{
    TCustomForm* main = MDIMainForm();
    if (!main || !Child || !SkinFormOfForm(main) || !main->WindowMenu()) return;
    for (TMenuItem* i : ChildEntries(main->WindowMenu()))
        if (ChildNameOfItem(i->Name()) == Child->Name()) {
            i->Free();
            break;
        }
    if (main->MDIChildCount() == 0)
        if (auto rest = ChildEntries(main->WindowMenu()); !rest.empty()) rest.front()->Free();
}

void TbsSkinForm::UpDateChildCaptionInMenu(TCustomForm* Child)
{
    TCustomForm* main = MDIMainForm();
    if (!main || !Child || !SkinFormOfForm(main) || !main->WindowMenu()) return;
    for (TMenuItem* i : ChildEntries(main->WindowMenu()))
        if (ChildNameOfItem(i->Name()) == Child->Name()) {
            i->SetCaption(Child->Caption());
            break;
        }
}

void TbsSkinForm::UpDateChildActiveInMenu()
{
    TCustomForm* main = MDIMainForm();
    if (!main || !SkinFormOfForm(main) || !main->WindowMenu()) return;
    TCustomForm* active = main->ActiveMDIChild();
    for (TMenuItem* i : ChildEntries(main->WindowMenu()))
        i->SetChecked(active && ChildNameOfItem(i->Name()) == active->Name());
}

void TbsSkinForm::MDIItemClick(TObject* Sender)
{
    auto* item = dynamic_cast<TMenuItem*>(Sender);
    TCustomForm* main = MDIMainForm();
    if (!item || !main) return;
    const String name = ChildNameOfItem(item->Name());
    for (TCustomForm* f : Children(main)) {
        if (f->Name() != name) continue;
        if (TbsSkinForm* s = SkinFormOfForm(f); s && s->FWindowStateInit == wsMinimized) s->SetWindowState(wsNormal);
        f->Show();
    }
}

// ---- the tabs bar and the menu bar -------------------------------------------------------------

void TbsSkinForm::AddChildToBar(TCustomForm* Child)
{
    TbsSkinForm* main = SkinFormOfForm(MDIMainForm());
    TbsFormMDITabsLink* bar = main ? main->MDITabsLink() : nullptr;
    if (!bar || !Child) return;
    bool accept = true;
    if (OnAcceptToMDITabsBar) OnAcceptToMDITabsBar(accept);
    if (accept) bar->AddTab(Child);
}

void TbsSkinForm::DeleteChildFromBar(TCustomForm* Child)
{
    TbsSkinForm* main = SkinFormOfForm(MDIMainForm());
    if (TbsFormMDITabsLink* bar = main ? main->MDITabsLink() : nullptr; bar && Child) bar->DeleteTab(Child);
}

void TbsSkinForm::RefreshMDIBarTab(TCustomForm* Child)
{
    TbsSkinForm* main = SkinFormOfForm(MDIMainForm());
    if (TbsFormMDITabsLink* bar = main ? main->MDITabsLink() : nullptr; bar && Child) bar->RefreshTab(Child);
}

void TbsSkinForm::RefreshMDITabsBar()
{
    TbsSkinForm* main = SkinFormOfForm(MDIMainForm());
    if (TbsFormMDITabsLink* bar = main ? main->MDITabsLink() : nullptr) bar->UpdateActiveTab();
}

void TbsSkinForm::RefreshMDIMenuBar()
{
    TbsSkinForm* main = SkinFormOfForm(MDIMainForm());
    if (TbsFormMenuBarLink* bar = main ? main->MenuBarLink() : nullptr; bar && bar->ShowsChildMenu())
        bar->UpDateItems();
}
