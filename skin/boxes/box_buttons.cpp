#include "skin/boxes/box_buttons.h"

#include "skin/core/marks.h"

void DrawBoxButtonFrame(TCanvas* C, const TRect& R, TbsBoxButtonState State)
{
    TColor frame = clBtnShadow, fill = clBtnFace;
    if (State != bbsNormal) {
        frame = kBoxHotFrame;
        fill = State == bbsPressed ? kBoxDownFill : kBoxHotFill;
    }
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(frame);
    C->FrameRect(R);
    C->Brush()->SetColor(fill);
    C->FillRect(Rect(R.Left + 1, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

TBitmap* ButtonRecordPicture(TbsSkinData* SD, const TbsDataSkinButtonControl* Rec)
{
    if (!SD || !Rec || Rec->PictureIndex < 0 || Rec->PictureIndex >= static_cast<int>(SD->FActivePictures.size()))
        return nullptr;
    return SD->FActivePictures[static_cast<size_t>(Rec->PictureIndex)];
}

TbsDataSkinButtonControl* FindButtonRecord(TbsSkinData* SD, std::initializer_list<const wchar_t*> Names)
{
    if (!SD || SD->Empty) return nullptr;
    for (const wchar_t* name : Names) {
        const int i = SD->GetControlIndex(name);
        if (i < 0 || i >= static_cast<int>(SD->CtrlList.size())) continue;
        auto* rec = dynamic_cast<TbsDataSkinButtonControl*>(SD->CtrlList[static_cast<size_t>(i)]);
        if (rec && ButtonRecordPicture(SD, rec)) return rec;
    }
    return nullptr;
}

bool ComposeButtonRecord(TbsSkinData* SD, const TbsDataSkinButtonControl* Rec, TbsBoxButtonState State, TBitmap* B,
                         int W, int H, TColor& FontColor)
{
    TBitmap* picture = ButtonRecordPicture(SD, Rec);
    if (!picture || W <= 0 || H <= 0) return false;
    const TbsDataSkinButtonControl& d = *Rec;
    const TRect active = IsNullRect(d.ActiveSkinRect) ? d.SkinRect : d.ActiveSkinRect;
    const TRect down = IsNullRect(d.DownSkinRect) ? active : d.DownSkinRect;
    TRect src = d.SkinRect;
    FontColor = d.FontColor;
    if (State == bbsPressed) {
        src = down;
        FontColor = d.DownFontColor;
    } else if (State == bbsHot) {
        src = active;
        FontColor = d.ActiveFontColor;
    }
    if (IsNullRect(src)) return false;
    ComposeButtonLook(d, picture, src, W, H, B);
    return true;
}
