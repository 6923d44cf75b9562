#include "skin/boxes/memo_skin.h"

#include <algorithm>

#include "skin/core/edit_list_records.h"
#include "skin/core/marks.h"
#include "skin/core/resource_strings.h"

namespace {
// The record when the model holds one of the memo's class under its name; FIndex set either way.
TbsDataSkinMemoControl* MemoRecord(TbsMemoSkin& M)
{
    if (!M.SkinData) {
        M.FIndex = -1;
        return nullptr;
    }
    M.FIndex = M.SkinData->Empty ? -1 : M.SkinData->GetControlIndex(M.SkinDataName);
    if (M.FIndex == -1) return nullptr;
    return dynamic_cast<TbsDataSkinMemoControl*>(M.SkinData->CtrlList[static_cast<size_t>(M.FIndex)]);
}

void CopyFonts(TbsMemoSkin& M, const TbsDataSkinMemoControl* R)
{
    M.FontName = R->FontName;
    M.FontStyle = R->FontStyle;
    M.FontHeight = R->FontHeight;
    M.FontColor = R->FontColor;
    M.ActiveFontColor = R->ActiveFontColor;
    M.BGColor = R->BGColor;
    M.ActiveBGColor = R->ActiveBGColor;
}

void UpdateBar(TbsSkinScrollBar* Bar, TWinControl* Memo, int Which)
{
    if (!Bar) return;
    if (!Memo->Enabled()) {
        Bar->SetEnabled(false);
        return;
    }
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    if (Memo->HandleAllocated()) GetScrollInfo(Memo->Handle(), Which, &si);
    const bool scrolls =
        Which == SB_VERT ? static_cast<int>(si.nPage) < si.nMax + 1 : static_cast<int>(si.nPage) < si.nMax;
    if (scrolls) {
        Bar->SetRange(0, si.nMax, si.nPos, static_cast<int>(si.nPage));
        if (!Bar->Enabled()) Bar->SetEnabled(true);
    } else {
        Bar->SetRange(0, 0, 0, 0);
        if (Bar->Enabled()) Bar->SetEnabled(false);
    }
}

// Steps 1 to 5 of a skin change, shared by both memos.
void ApplyFontsAndBars(TbsMemoSkin& M, bool Framed)
{
    if (Framed)
        GetMemoSkinData(M);
    else
        GetFramelessMemoSkinData(M);
    TFont* f = M.Memo->Font();
    if (M.FIndex == -1) {
        if (M.DefaultFont) f->Assign(M.DefaultFont);
    } else {
        if (M.UseSkinFont) {
            f->SetName(M.FontName);
            f->SetStyle(M.FontStyle);
            f->SetHeight(M.FontHeight);
        } else if (M.DefaultFont) {
            f->Assign(M.DefaultFont);
        }
        if (M.UseSkinFontColor) f->SetColor(M.Memo->Focused() ? M.ActiveFontColor : M.FontColor);
        M.Memo->SetColor(M.BGColor);
    }
    f->SetCharset(M.SkinData && M.SkinData->ResourceStrData()
                      ? M.SkinData->ResourceStrData()->CharSet()
                      : (M.DefaultFont ? M.DefaultFont->Charset() : f->Charset()));
    UpdateMemoScrollBars(M);
    for (TbsSkinScrollBar* b : {M.VScrollBar, M.HScrollBar})
        if (b) b->SetAlign(b->Align());
}
}  // namespace

void GetMemoSkinData(TbsMemoSkin& M)
{
    TbsDataSkinMemoControl* r = MemoRecord(M);
    if (!r) return;
    const auto& pictures = M.SkinData->FActivePictures;
    M.Picture = r->PictureIndex >= 0 && r->PictureIndex < static_cast<int>(pictures.size())
                    ? pictures[static_cast<size_t>(r->PictureIndex)]
                    : nullptr;
    M.SkinRect = r->SkinRect;
    M.ActiveSkinRect = IsNullRect(r->ActiveSkinRect) ? r->SkinRect : r->ActiveSkinRect;
    M.LTPoint = r->LTPoint;
    M.RTPoint = r->RTPoint;
    M.LBPoint = r->LBPoint;
    M.RBPoint = r->RBPoint;
    M.ClRect = r->ClRect;
    CopyFonts(M, r);
    M.LeftStretch = r->LeftStretch;
    M.TopStretch = r->TopStretch;
    M.RightStretch = r->RightStretch;
    M.BottomStretch = r->BottomStretch;
    M.StretchEffect = r->StretchEffect;
    M.StretchType = r->StretchType;
}

void GetFramelessMemoSkinData(TbsMemoSkin& M)
{
    if (TbsDataSkinMemoControl* r = MemoRecord(M)) CopyFonts(M, r);
}

void UpdateMemoScrollBars(TbsMemoSkin& M)
{
    UpdateBar(M.VScrollBar, M.Memo, SB_VERT);
    UpdateBar(M.HScrollBar, M.Memo, SB_HORZ);
}

void SetMemoTextRect(TbsMemoSkin& M)
{
    if (!M.HasBorder) return;
    GetMemoSkinData(M);
    TRect r = M.Memo->ClientRect();
    if (M.FIndex == -1) {
        r = Rect(r.Left + (M.NarrowMargin ? 3 : 6), r.Top + 2, r.Right - 4, r.Bottom - 2);
    } else {
        const int sw = M.SkinRect.Width(), sh = M.SkinRect.Height();
        r = Rect(r.Left + M.ClRect.Left + (M.NarrowMargin ? 1 : 3), r.Top + M.ClRect.Top + (M.NarrowMargin ? 1 : 2),
                 r.Right - (sw - M.ClRect.Right + 3), r.Bottom - (sh - M.ClRect.Bottom + 2));
    }
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    M.TextRect = r;
    if (M.Memo->HandleAllocated()) {
        RECT rr{r.Left, r.Top, r.Right, r.Bottom};
        SendMessageW(M.Memo->Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rr));
    }
}

void ChangeMemoSkinData(TbsMemoSkin& M)
{
    ApplyFontsAndBars(M, true);
    TFont* f = M.Memo->Font();
    if (!M.Memo->Enabled())
        f->SetColor(clGrayText);
    else if (M.FIndex == -1 && M.DefaultFont)
        f->SetColor(M.DefaultFont->Color());
    else if (M.FIndex != -1 && M.UseSkinFontColor)
        f->SetColor(M.Memo->Focused() ? M.ActiveFontColor : M.FontColor);
    SetMemoTextRect(M);
}

void ChangeFramelessMemoSkinData(TbsMemoSkin& M) { ApplyFontsAndBars(M, false); }
