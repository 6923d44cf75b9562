// Applying a skin to the form: the frame objects made from the skin's records (or the six
// built-in caption buttons), the caption buttons' state and hints, mouse tracking over the
// objects, the three timers, activation changes, and the walks that pass a skin change on to
// the skinned controls of the form.
#include <algorithm>

#include "platform/win/win_api.h"
#include "skin/controls/skin_change_client.h"
#include "skin/core/layer_manager.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_messages.h"
#include "skin/core/window_records.h"
#include "skin/form/animate_object.h"
#include "skin/form/caption_object.h"
#include "skin/form/form_layer_border.h"
#include "skin/form/frame_objects.h"
#include "skin/form/quick_buttons.h"
#include "skin/form/skin_form.h"

namespace {

// The text of a caption-button hint: the skin's text table, else the built-in text.
String HintText(TbsSkinData* SD, const wchar_t* Key)
{
    if (SD && SD->ResourceStrData()) return SD->ResourceStrData()->GetResStr(Key);
    return GetBuiltInResStr(Key);
}

const wchar_t* HintKey(TbsStdCommand Command)
{
    switch (Command) {
    case cmClose: return L"CLOSEBUTTON_HINT";
    case cmMaximize: return L"MAXBUTTON_HINT";
    case cmMinimize: return L"MINBUTTON_HINT";
    case cmSysMenu: return L"MENUBUTTON_HINT";
    case cmRollUp: return L"ROLLUPBUTTON_HINT";
    case cmMinimizeToTray: return L"TRAYBUTTON_HINT";
    case cmDefault: break;
    }
    return nullptr;
}

}  // namespace

// ---- the skin change -------------------------------------------------------------------------

void TbsSkinForm::ChangeSkinData()
{
    ForgetPictures32();
    if (FUseRibbon) FSkinnableForm = false;
    OldActiveObject = ActiveObject = MouseCaptureObject = -1;
    FSkinSupport = HasSkin();
    if (FLayerManager->IsVisible) FLayerManager->Hide();
    if (FMenuLayerManager->IsVisible) FMenuLayerManager->Hide();
    if (FBorderLayer->FVisible) FBorderLayer->Hide();
    if (FSkinSupport && FSkinnableForm) {
        CreateObjects();
        UpdateCaptionButtons();
        if (!PreviewMode) FBorderLayer->InitFrame(FSD, FForm);
    } else {
        ClearObjects();
        FFormWidth = FForm->Width();
        FFormHeight = FForm->Height();
        SetFormRegion(true);
    }
    if (FSkinnableForm) {
        if (!FForm->BorderIcons().Empty()) FForm->SetBorderIcons(TBorderIcons{});
    } else {
        UpdateFormBorderIcons();
    }
    FInChangeSkinData = true;
    const int minW = GetMinWidth(), minH = GetMinHeight();
    if (FForm->Width() < minW && FForm->Height() < minH)
        FForm->SetBounds(FForm->Left(), FForm->Top(), minW, minH);
    else if (FForm->Height() < minH)
        FForm->SetHeight(minH);
    else if (FForm->Width() < minW)
        FForm->SetWidth(minW);
    else
        ReapplySizeLimits();
    if ((FRollUpState || FWindowState == wsMinimized) && FForm->Height() != GetMinHeight())
        FForm->SetHeight(GetMinHeight());
    if (FWindowState == wsMinimized && FForm->Width() != GetMinWidth()) FForm->SetWidth(GetMinWidth());
    FFormWidth = FForm->Width();
    FFormHeight = FForm->Height();
    if (FSkinSupport) UpdateSkinFrame(true);
    if (FForm->FormStyle() == fsMDIForm) {
        if (FForm->ClientHandle()) RedrawWindow(FForm->ClientHandle(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE);
        for (int i = 0; i < FForm->MDIChildCount(); ++i)
            if (FForm->MDIChildren(i)->HandleAllocated())
                SendMessageW(FForm->MDIChildren(i)->Handle(), WM_MDICHILD_FIT, 0, 0);
    } else {
        FForm->Repaint();
    }
    FormChangeActive(!(IsMDIChild() && FWindowStateInit == wsMaximized));
    MouseTimer->SetEnabled(true);
    if (OnChangeSkinData) OnChangeSkinData(this);
    FInChangeSkinData = false;
    if (LayeredBorderEnabled() && FForm->Visible()) {
        FBorderLayer->ShowWithForm();
        FForm->Show();
        FBorderLayer->SetBoundsWithForm();
    }
    RestoreFormBounds();
    if (!FRollUpState) {
        if (FClientWidth > 0) FForm->SetClientWidth(FClientWidth);
        if (FClientHeight > 0) FForm->SetClientHeight(FClientHeight);
    }
}

void TbsSkinForm::RestoreFormBounds()
{
    const TRect& b = FOldFormBounds;  // left, top, width, height
    if (LayeredBorderEnabled() && FBorderLayer->FullBorder() && FBorderLayer->FVisible && FOldFullBorder != -1) {
        const auto* l = FBorderLayer;
        FForm->SetBounds(b.Left + l->LeftSize, b.Top + l->TopSize, b.Right - l->LeftSize - l->RightSize,
                         b.Bottom - l->TopSize - l->BottomSize);
    } else if (FOldFullBorder == 1) {
        FForm->SetBounds(b.Left, b.Top, b.Right, FRollUpState ? GetMinHeight() : b.Bottom);
    }
}

// ---- the frame objects -----------------------------------------------------------------------

void TbsSkinForm::ClearObjects()
{
    std::vector<TbsActiveSkinObject*> objects;
    objects.swap(ObjectList);
    for (TbsActiveSkinObject* o : objects) delete o;
    ActiveObject = OldActiveObject = MouseCaptureObject = -1;
}

void TbsSkinForm::CreateObjects()
{
    ClearObjects();
    if (!FSD) return;
    for (TbsDataSkinObject* r : FSD->ObjectList) {
        // Menu records make no object; the standard button before the plain one it derives from.
        if (dynamic_cast<TbsDataSkinMainMenuItem*>(r) || dynamic_cast<TbsDataSkinMenuItem*>(r) ||
            dynamic_cast<TbsDataSkinMainMenuBarButton*>(r))
            continue;
        TbsActiveSkinObject* o = nullptr;
        if (dynamic_cast<TbsDataSkinStdButton*>(r))
            o = new TbsSkinStdButtonObject(this, r);
        else if (dynamic_cast<TbsDataSkinButton*>(r))
            o = new TbsSkinButtonObject(this, r);
        else if (dynamic_cast<TbsDataSkinCaption*>(r))
            o = new TbsSkinCaptionObject(this, r);
        else if (dynamic_cast<TbsDataSkinAnimate*>(r))
            o = new TbsSkinAnimateObject(this, r);
        else if (dynamic_cast<TbsDataUserObject*>(r))
            o = new TbsUserObject(this, r);
        if (o) ObjectList.push_back(o);
    }
}

void TbsSkinForm::CreateDefaultObjects()
{
    ClearObjects();
    static const struct {
        const wchar_t* Name;
        TbsStdCommand Command;
    } kDefaults[] = {{L"closebutton", cmClose},   {L"maxbutton", cmMaximize},    {L"minbutton", cmMinimize},
                     {L"rollupbutton", cmRollUp}, {L"sysmenubutton", cmSysMenu}, {L"traybutton", cmMinimizeToTray}};
    for (const auto& d : kDefaults) {
        auto* b = new TbsSkinStdButtonObject(this, nullptr);
        b->IDName = d.Name;
        b->Command = d.Command;
        b->SkinRectInAPicture = true;
        b->SkinRect = b->ActiveSkinRect = b->DownRect = Rect(0, 0, 1, 1);
        ObjectList.push_back(b);
    }
    UpdateCaptionButtons();
}

void TbsSkinForm::UpdateCaptionButtons()
{
    if (ObjectList.empty()) return;
    if (FHideCaptionButtons) {
        for (TbsActiveSkinObject* o : ObjectList)
            if (dynamic_cast<TbsSkinAnimateObject*>(o) || dynamic_cast<TbsSkinStdButtonObject*>(o)) {
                o->Enabled = false;
                o->Visible = !o->SkinRectInAPicture;
            }
        SetCaptionButtonHints();
        return;
    }
    auto apply = [](TbsActiveSkinObject* o, bool Enabled) {
        o->Enabled = Enabled;
        o->Visible = o->SkinRectInAPicture ? Enabled : true;
    };
    TbsActiveSkinObject* dialogClose = nullptr;
    for (TbsActiveSkinObject* o : ObjectList)
        if (o->IDName == L"dialogclosebutton") {
            dialogClose = o;
            break;
        }
    const bool dialog =
        FBorderIcons.Empty() || FBorderIcons.Bits() == TbsBorderIcons{TbsBorderIcon::biSystemMenu}.Bits();
    for (TbsActiveSkinObject* o : ObjectList) {
        TbsStdCommand cmd;
        auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o);
        auto* a = dynamic_cast<TbsSkinAnimateObject*>(o);
        if (s)
            cmd = s->Command;
        else if (a && a->ButtonStyle)
            cmd = a->Command;
        else
            continue;
        switch (cmd) {
        case cmMaximize: apply(o, FBorderIcons.Contains(TbsBorderIcon::biMaximize)); break;
        case cmMinimize: apply(o, FBorderIcons.Contains(TbsBorderIcon::biMinimize)); break;
        case cmRollUp: apply(o, FBorderIcons.Contains(TbsBorderIcon::biRollUp)); break;
        case cmMinimizeToTray: apply(o, FBorderIcons.Contains(TbsBorderIcon::biMinimizeToTray)); break;
        case cmSysMenu: apply(o, FBorderIcons.Contains(TbsBorderIcon::biSystemMenu) && !FDisableSystemMenu); break;
        case cmDefault: {
            bool v = false;
            if (OnActivateCustomObject) OnActivateCustomObject(o->IDName, v);
            o->Visible = v;
            break;
        }
        case cmClose:
            if (!s) break;
            // The close button belongs to the system menu icon: a form without it (a fixed main
            // window with only a minimise button, a dialog with no icons) shows none and is
            // closed its own way (its buttons, Esc, the window manager's close request).
            if (!FBorderIcons.Contains(TbsBorderIcon::biSystemMenu)) {
                apply(o, false);
                break;
            }
            if (dialogClose) {
                // A dialog's close button replaces the normal one when the form has no other icons.
                const bool isDialogClose = o == dialogClose;
                if (dialog) {
                    o->Enabled = o->Visible = isDialogClose;
                } else if (isDialogClose) {
                    o->Enabled = o->Visible = false;
                }
            }
            break;
        }
    }
    SetCaptionButtonHints();
}

void TbsSkinForm::SetCaptionButtonHints()
{
    if (!FUseDefaultObjectHint || !FSD) return;
    const String restore = HintText(FSD, L"RESTORE_HINT");
    for (TbsActiveSkinObject* o : ObjectList) {
        if (auto* s = dynamic_cast<TbsSkinStdButtonObject*>(o)) {
            if (const wchar_t* key = HintKey(s->Command)) s->Hint = HintText(FSD, key);
            s->FTempHint = s->Hint;
            s->RestoreHint = restore;
        } else if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o)) {
            if (const wchar_t* key = HintKey(a->Command)) a->Hint = HintText(FSD, key);
            a->FTempHint = a->Hint;
            a->RestoreHint = restore;
        }
    }
}

TbsActiveSkinObject* TbsSkinForm::ObjectAt(int Index) const
{
    return Index >= 0 && Index < static_cast<int>(ObjectList.size()) ? ObjectList[static_cast<size_t>(Index)] : nullptr;
}

int TbsSkinForm::GetIndex(const String& AIDName) const
{
    for (size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == AIDName) return static_cast<int>(i);
    return -1;
}

void TbsSkinForm::SetEnabled(const String& AIDName, bool Value)
{
    if (TbsActiveSkinObject* o = ObjectAt(GetIndex(AIDName))) o->Enabled = Value;
}

void TbsSkinForm::UserObjectDraw(const String& AIDName)
{
    auto* u = dynamic_cast<TbsUserObject*>(ObjectAt(GetIndex(AIDName)));
    if (u) u->Draw(FForm->Canvas(), true);
}

// ---- activation ------------------------------------------------------------------------------

void TbsSkinForm::FormChangeActive(bool AnimateChange)
{
    const bool a = GetFormActive();
    if (FQuickButtons->Count() > 0 && !a)
        for (int i = 0; i < FQuickButtons->Count(); ++i) {
            FQuickButtons->Items(i)->Active = false;
            FQuickButtons->Items(i)->Down = false;
        }
    for (TbsActiveSkinObject* o : ObjectList) {
        auto* c = dynamic_cast<TbsSkinCaptionObject*>(o);
        if (!c || c->Active == a) continue;
        c->Active = a;
        if (AnimateChange) {
            if (c->EnableAnimation()) {
                c->FIncTime = 25;
                c->CurrentFrame = a ? 1 : (c->InActiveAnimation ? c->FrameCount : 0);
                AnimateTimer->SetEnabled(true);
            }
            if (FForm->HandleAllocated()) SendMessageW(FForm->Handle(), WM_NCPAINT, 0, 0);
            if (c->EnableMorphing()) MorphTimer->SetEnabled(true);
        } else if (c->EnableMorphing()) {
            c->FMorphKf = a ? 1.0 : 0.0;
        }
        break;
    }
    if (a) {
        if (OnActivate) OnActivate(this);
    } else if (OnDeActivate) {
        OnDeActivate(this);
    }
}

// ---- mouse tracking --------------------------------------------------------------------------

void TbsSkinForm::TrackObjects(int X, int Y, bool InFrame)
{
    if (ObjectList.empty() || !GetFormActive() || FSizeMove || FBorderLayerChangeSize || PreviewMode ||
        IsMDIChildMaximized() || FForm->BorderStyle() == bsNone || (FullLayeredFrameInUse() && FBorderLayer->FVisible))
        return;
    OldActiveObject = ActiveObject;
    int hit = -1;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i];
        if (o->Enabled && o->Visible && PtInRect(o->ObjectRect, Point(X, Y)) &&
            o->PointInMask(X - o->ObjectRect.Left, Y - o->ObjectRect.Top)) {
            hit = static_cast<int>(i);
            break;
        }
    }
    ActiveObject = InFrame && hit != -1 ? hit : -1;
    // Another object holding the capture keeps every other one from activating.
    if (MouseCaptureObject != -1 && MouseCaptureObject != hit) ActiveObject = -1;
    if (ActiveObject >= static_cast<int>(ObjectList.size())) ActiveObject = -1;
    if (OldActiveObject == ActiveObject) return;
    if (TbsActiveSkinObject* old = ObjectAt(OldActiveObject); old && old->Enabled && old->Visible) {
        old->MouseLeave();
        if (FShowObjectHint && FSkinHint && !old->Hint.empty()) FSkinHint->HideHint();
    }
    if (TbsActiveSkinObject* now = ObjectAt(ActiveObject); now && now->Enabled && now->Visible) {
        now->MouseEnter();
        if (FShowObjectHint && FSkinHint && !now->Hint.empty()) FSkinHint->ActivateHint2(now->Hint);
    }
}

void TbsSkinForm::MouseTimerProc(TObject*)
{
    // An inactive form tracks nothing, so the timer stops rather than tick all day in the
    // background; the next hit test over an object starts it again.
    if (!GetFormActive() || !FForm->HandleAllocated()) {
        MouseTimer->SetEnabled(false);
        return;
    }
    POINT p;
    GetCursorPos(&p);
    if (WindowFromPoint(p) != FForm->Handle()) {
        MouseTimer->SetEnabled(false);
        TrackObjects(-1, -1, false);
        return;
    }
    if (FSizeMove || FBorderLayerChangeSize) {
        MouseTimer->SetEnabled(false);
        return;
    }
    TPoint fp = Point(p.x, p.y);
    PointToFrame(fp);
    if (!PtInRect(NewClRect, fp))
        TrackObjects(fp.X, fp.Y, true);
    else if (ActiveObject != -1)
        TrackObjects(-1, -1, true);
}

void TbsSkinForm::MorphTimerProc(TObject*)
{
    bool stepped = false;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i];
        if (o->EnableMorphing() && o->CanMorphing()) {
            o->DoMorphing();
            stepped = true;
        }
    }
    if (!stepped) MorphTimer->SetEnabled(false);
}

void TbsSkinForm::AnimateTimerProc(TObject*)
{
    bool work = false;
    for (size_t i = 0; i < ObjectList.size(); ++i) {
        TbsActiveSkinObject* o = ObjectList[i];
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o)) {
            if (a->Active && (!a->FDown || a->DownSkinRect.IsEmpty())) {
                a->ChangeFrame();
                work = true;
            }
        } else if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o); c && c->EnableAnimation()) {
            if (c->FIncTime < c->AnimateInterval) {
                c->FIncTime += 25;
                work = true;
            } else if (c->Active && c->CurrentFrame <= c->FrameCount) {
                ++c->CurrentFrame;
                DrawSkinObject(c);
                c->FIncTime = 25;
                work = true;
            } else if (!c->Active && c->CurrentFrame > 0) {
                --c->CurrentFrame;
                DrawSkinObject(c);
                c->FIncTime = 25;
                work = true;
            }
        }
    }
    if (!work) AnimateTimer->SetEnabled(false);
}

void TbsSkinForm::ResetObjectsState()
{
    for (TbsActiveSkinObject* o : ObjectList) {
        if (auto* a = dynamic_cast<TbsSkinAnimateObject*>(o)) {
            a->FMouseIn = false;
            a->Active = false;
            a->FFrame = 1;
        } else if (!dynamic_cast<TbsSkinCaptionObject*>(o)) {
            o->Active = false;
            o->FMouseIn = false;
            o->FMorphKf = 0;
        }
    }
}

void TbsSkinForm::ObjectMouseMove(int X, int Y)
{
    if (TbsActiveSkinObject* o = ObjectAt(MouseCaptureObject))
        o->MouseMove(X, Y);
    else if (TbsActiveSkinObject* a = ObjectAt(ActiveObject))
        a->MouseMove(X, Y);
}

void TbsSkinForm::ObjectDblClick()
{
    if (TbsActiveSkinObject* o = ObjectAt(ActiveObject)) o->DblClick();
}

void TbsSkinForm::ObjectMouseDown(TMouseButton Button, int X, int Y)
{
    TbsActiveSkinObject* o = ObjectAt(ActiveObject);
    if (!o) return;
    if (!dynamic_cast<TbsSkinCaptionObject*>(o) && FForm->HandleAllocated()) SetCapture(FForm->Handle());
    MouseCaptureObject = ActiveObject;
    o->MouseDown(X, Y, Button);
}

void TbsSkinForm::ObjectMouseUp(TMouseButton Button, int X, int Y)
{
    TbsActiveSkinObject* o = ObjectAt(MouseCaptureObject);
    if (!o) return;
    if (!dynamic_cast<TbsSkinCaptionObject*>(o)) ReleaseCapture();
    // The object may close the form or change the skin: the capture is given up first.
    MouseCaptureObject = -1;
    o->MouseUp(X, Y, Button);
}

// ---- object events ---------------------------------------------------------------------------

void TbsSkinForm::DoPaintEvent(const String& IDName, TCanvas* Canvas, const TRect& ObjectRect)
{
    if (OnPaintEvent) OnPaintEvent(IDName, Canvas, ObjectRect);
}

void TbsSkinForm::DoMouseUpEvent(const String& IDName, int X, int Y, const TRect& ObjectRect, TMouseButton Button)
{
    if (OnMouseUpEvent) OnMouseUpEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinForm::DoMouseDownEvent(const String& IDName, int X, int Y, const TRect& ObjectRect, TMouseButton Button)
{
    if (OnMouseDownEvent) OnMouseDownEvent(IDName, X, Y, ObjectRect, Button);
}

void TbsSkinForm::DoMouseMoveEvent(const String& IDName, int X, int Y, const TRect& ObjectRect)
{
    if (OnMouseMoveEvent) OnMouseMoveEvent(IDName, X, Y, ObjectRect);
}

void TbsSkinForm::DoMouseEnterEvent(const String& IDName)
{
    if (OnMouseEnterEvent) OnMouseEnterEvent(IDName);
}

void TbsSkinForm::DoMouseLeaveEvent(const String& IDName)
{
    if (OnMouseLeaveEvent) OnMouseLeaveEvent(IDName);
}

// ---- the walks over the controls -------------------------------------------------------------

namespace {

// AControl, then its children in child order; windowed children recursively.
template <class Visit>
void WalkControls(TControl* AControl, const Visit& V)
{
    if (!AControl) return;
    V(AControl);
    auto* w = dynamic_cast<TWinControl*>(AControl);
    if (!w) return;
    std::vector<TControl*> children;
    for (int i = 0; i < w->ControlCount(); ++i) children.push_back(w->Controls(i));
    for (TControl* c : children) WalkControls(c, V);
}

}  // namespace

void TbsSkinForm::BeforeChangeSkinDataOfControls(TbsSkinData* ASkinData, TControl* AControl)
{
    WalkControls(AControl, [ASkinData](TControl* c) {
        auto* client = dynamic_cast<TbsSkinChangeClient*>(c);
        if (client && (!ASkinData || client->SkinChangeModel() == ASkinData)) client->SkinChangeBegin();
    });
}

void TbsSkinForm::ChangeSkinDataOfControls(TbsSkinData* ASkinData, TControl* AControl)
{
    WalkControls(AControl, [ASkinData](TControl* c) {
        auto* client = dynamic_cast<TbsSkinChangeClient*>(c);
        if (client && (!ASkinData || client->SkinChangeModel() == ASkinData)) client->SkinChangeEnd();
    });
}
