// The main menu bar's buttons for a maximized MDI child: while a child is maximized its caption
// lives in the main form's frame, and the bar carries its window buttons - the system-menu
// button at the left end of the items, minimize, restore and close at the right end. The main
// form's skin form switches the mode on WM_MDICHILD_MAXIMIZED and WM_MDICHILD_RESTORED.
#include <memory>

#include "platform/win/win_api.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/marks.h"
#include "skin/core/object_records.h"
#include "skin/form/main_menu_bar.h"
#include "skin/form/skin_form.h"

namespace {

constexpr TColor kButtonFrame = RGB(59, 107, 183);
constexpr TColor kButtonDown = RGB(162, 188, 228);
constexpr TColor kButtonHot = RGB(193, 212, 243);

}  // namespace

// ---- a button --------------------------------------------------------------------------------

TbsSkinMainMenuBarButton::TbsSkinMainMenuBarButton(TbsSkinMainMenuBar* AParent, TbsDataSkinObject* AData)
    : TbsMenuBarObject(AParent, AData)
{
    if (auto* r = dynamic_cast<TbsDataSkinStdButton*>(AData)) {
        Command = r->Command;
        DownRect = r->DownRect;
        FSkinSupport = true;
    }
}

void TbsSkinMainMenuBarButton::Draw(TCanvas* Cnvs)
{
    if (!FSkinSupport || !Picture) return DefaultDraw(Cnvs);
    if (FDown && FMouseIn && !DownRect.IsEmpty()) {
        Cnvs->CopyRect(ObjectRect, Picture->Canvas(), DownRect);
        return;
    }
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    const bool settled = (Active && FMorphKf >= 1) || (!Active && FMorphKf <= 0);
    if (EnableMorphing() && !settled && w > 0 && h > 0) {
        // Between the normal and the hot look, as far as the morph has come.
        TBitmap normal, hot;
        normal.SetSize(w, h);
        hot.SetSize(w, h);
        normal.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), SkinRect);
        hot.Canvas()->CopyRect(Rect(0, 0, w, h), Picture->Canvas(), ActiveSkinRect);
        std::unique_ptr<TbsEffectBmp> e1(TbsEffectBmp::CreateFromhWnd(normal.Handle()));
        std::unique_ptr<TbsEffectBmp> e2(TbsEffectBmp::CreateFromhWnd(hot.Handle()));
        e1->MorphBy(MorphKind, e2.get(), FMorphKf);
        e1->Draw(Cnvs->Handle(), ObjectRect.Left, ObjectRect.Top);
        return;
    }
    Cnvs->CopyRect(ObjectRect, Picture->Canvas(), Active && !ActiveSkinRect.IsEmpty() ? ActiveSkinRect : SkinRect);
}

void TbsSkinMainMenuBarButton::DefaultDraw(TCanvas* Cnvs)
{
    const int w = ObjectRect.Width(), h = ObjectRect.Height();
    if (w <= 0 || h <= 0) return;
    TBitmap b;
    b.SetWidth(w);
    b.SetHeight(h);
    TCanvas* c = b.Canvas();
    const bool pressed = FDown && FMouseIn;
    if (pressed || FMouseIn) {
        c->Brush()->SetColor(kButtonFrame);
        c->FillRect(Rect(0, 0, w, h));
        c->Brush()->SetColor(pressed ? kButtonDown : kButtonHot);
        c->FillRect(Rect(1, 1, w - 1, h - 1));
    } else {
        c->Brush()->SetColor(clBtnFace);
        c->FillRect(Rect(0, 0, w, h));
    }
    const int x = w / 2 - 5 + (pressed ? 1 : 0), y = h / 2 - 4 + (pressed ? 1 : 0);
    const TColor color = Enabled ? clBtnText : clBtnShadow;
    switch (Command) {
    case cmClose: DrawCloseGlyph(c, x, y, color); break;
    case cmMaximize: DrawRestoreGlyph(c, x, y, color); break;
    case cmMinimize: DrawMinimizeGlyph(c, x, y, color); break;
    case cmSysMenu: DrawSysMenuGlyph(c, x, y, color); break;
    default: break;
    }
    Cnvs->Draw(ObjectRect.Left, ObjectRect.Top, &b);
}

void TbsSkinMainMenuBarButton::MouseEnter()
{
    FMouseIn = Active = true;
    // The pressed system-menu button keeps its look while its menu is open.
    if (FDown && Command == cmSysMenu) return;
    if (FDown && EnableMorphing())
        Parent->DrawObject(this);
    else
        UpdateLook();
}

void TbsSkinMainMenuBarButton::MouseLeave()
{
    if (FDown && Command == cmSysMenu) {
        if (EnableMorphing()) FMorphKf = 1;
        FMouseIn = Active = false;
        return;
    }
    FMouseIn = Active = false;
    if (FDown && EnableMorphing())
        Parent->DrawObject(this);
    else
        UpdateLook();
}

void TbsSkinMainMenuBarButton::MouseDown(int, int, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft || FDown) return;
    FDown = true;
    if (EnableMorphing() && !DownRect.IsEmpty()) FMorphKf = 1;
    Parent->DrawObject(this);
    // The system menu opens on the press.
    if (Command == cmSysMenu) DoCommand();
}

void TbsSkinMainMenuBarButton::MouseUp(int X, int Y, TMouseButton Button)
{
    if (!Enabled || Button != mbLeft || Command == cmSysMenu) return;
    FDown = false;
    Parent->DrawObject(this);
    if (EnableMorphing()) UpdateLook();
    // Released off the button (the hover may not have caught up with the pointer): nothing runs.
    if (Active && X >= ObjectRect.Left && X < ObjectRect.Right && Y >= ObjectRect.Top && Y < ObjectRect.Bottom)
        DoCommand();
}

void TbsSkinMainMenuBarButton::DblClick()
{
    TbsSkinForm* child = MaximizedMDIChildSkinForm();
    if (!child || Command != cmSysMenu || !Parent->BSF) return;
    if (Parent->BSF->SkinMenuEngine()) Parent->BSF->SkinMenuEngine()->Hide();
    Parent->BSF->SkinMenuClose();
    child->Form()->Close();
}

void TbsSkinMainMenuBarButton::DoCommand()
{
    TbsSkinForm* child = MaximizedMDIChildSkinForm();
    if (!child) return;
    switch (Command) {
    case cmClose: child->Form()->Close(); break;
    case cmMaximize: child->SetWindowState(wsNormal); break;
    case cmMinimize: child->SetWindowState(wsMinimized); break;
    case cmSysMenu: {
        TbsSkinForm* host = Parent->BSF;
        Parent->Repaint();
        if (!host || !host->SkinMenuEngine() || !Parent->HandleAllocated()) return;
        POINT tl{ObjectRect.Left, ObjectRect.Top}, br{ObjectRect.Right, ObjectRect.Bottom};
        ClientToScreen(Parent->Handle(), &tl);
        ClientToScreen(Parent->Handle(), &br);
        TMenuItem* items = child->GetSysMenuItems();
        host->SkinMenuOpen();
        host->SkinMenuEngine()->Popup(Parent, host->MenusSkinData() ? host->MenusSkinData() : host->SkinData(), 0,
                                      Rect(tl.x, tl.y, br.x, br.y), items, Parent->PopupToUp);
        break;
    }
    default: break;
    }
}

// ---- the bar's MDI mode ------------------------------------------------------------------------

void TbsSkinMainMenuBar::MDIChildMaximize()
{
    if (FMDIChildMax) return;
    FMDIChildMax = true;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    CreateMDIButtons();
    if (TbsSkinForm* child = MaximizedMDIChildSkinForm()) EnableMDIButtons(child->BorderIcons());
    Redraw();
}

void TbsSkinMainMenuBar::MDIChildRestore()
{
    TbsSkinForm* child = MaximizedMDIChildSkinForm();
    if (!child && FMDIChildMax) {
        FMDIChildMax = false;
        ClearMDIButtons();
        Redraw();
    } else if (child) {
        EnableMDIButtons(child->BorderIcons());
    }
}

void TbsSkinMainMenuBar::CreateMDIButtons()
{
    ButtonsCount = 0;
    const bool skinned = FIndex != -1;
    struct Slot {
        String Name;
        TbsStdCommand Command;
    };
    // Minimize first: each goes to the head of the list, so the system-menu button ends first.
    const Slot slots[] = {{skinned ? MinButton : L"MinButton", cmMinimize},
                          {skinned ? MaxButton : L"MaxButton", cmMaximize},
                          {skinned ? CloseButton : L"CloseButton", cmClose},
                          {skinned ? SysMenuButton : L"SysMenuButton", cmSysMenu}};
    for (const Slot& s : slots) {
        TbsDataSkinObject* rec = nullptr;
        if (FSD && !FSD->Empty)
            if (const int i = FSD->GetIndex(s.Name); i != -1) rec = FSD->ObjectList[static_cast<size_t>(i)];
        auto* b = new TbsSkinMainMenuBarButton(this, rec);
        // A slot whose record is missing keeps the slot's own command (never the zero value,
        // which would make a minimize slot close the child).
        if (!b->FSkinSupport) b->Command = s.Command;
        b->IDName = s.Name;
        ObjectList.insert(ObjectList.begin(), b);
        ++ButtonsCount;
    }
}

void TbsSkinMainMenuBar::EnableMDIButtons(TbsBorderIcons Icons)
{
    for (int i = 0; i < ButtonsCount && i < static_cast<int>(ObjectList.size()); ++i) {
        auto* b = dynamic_cast<TbsSkinMainMenuBarButton*>(ObjectList[static_cast<size_t>(i)]);
        if (!b) continue;
        b->Enabled = true;
        if (b->Command == cmMinimize && !Icons.Contains(TbsBorderIcon::biMinimize)) b->Enabled = false;
        if (b->Command == cmSysMenu && !Icons.Contains(TbsBorderIcon::biSystemMenu)) b->Enabled = false;
    }
}

void TbsSkinMainMenuBar::ClearMDIButtons()
{
    for (int i = 0; i < ButtonsCount && !ObjectList.empty(); ++i) {
        ActiveObject = MouseCaptureObject = -1;
        delete ObjectList.front();
        ObjectList.erase(ObjectList.begin());
    }
    ButtonsCount = 0;
}

void TbsSkinMainMenuBar::ReleaseSysMenuButton()
{
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        auto* b = dynamic_cast<TbsSkinMainMenuBarButton*>(ObjectList[i]);
        if (!b || b->Command != cmSysMenu || !b->FDown) continue;
        if (static_cast<int>(i) != ActiveObject) b->Active = b->FMouseIn = false;
        b->FDown = false;
        b->UpdateLook();
    }
}

void TbsSkinMainMenuBar::PlaceMDIButtons()
{
    if (!FMDIChildMax || ButtonsCount != 4 || ObjectList.size() < 4) return;
    TRect& r = NewItemsRect;
    auto place = [&](TbsSkinMainMenuBarButton* b, bool AtLeft) {
        int w, t, h;
        if (b->FSkinSupport) {
            w = b->SkinRect.Width();
            h = b->SkinRect.Height();
            t = r.Top + r.Height() / 2 - h / 2;
        } else {
            w = r.Height();
            h = r.Height();
            t = r.Top;
        }
        if (AtLeft) {
            b->ObjectRect = Rect(r.Left, t, r.Left + w, t + h);
            r.Left += w + 2;
        } else {
            b->ObjectRect = Rect(r.Right - w, t, r.Right, t + h);
            r.Right -= w + 2;
        }
    };
    for (int i = 0; i < 4; ++i)
        if (auto* b = dynamic_cast<TbsSkinMainMenuBarButton*>(ObjectList[static_cast<size_t>(i)])) place(b, i == 0);
}
