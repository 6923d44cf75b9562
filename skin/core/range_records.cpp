#include "skin/core/range_records.h"

void TbsDataSkinScrollBarControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"trackarea", TrackArea);
    ArrowButtonKeys(K, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
                    DownDownButtonRect);
    K.Rect(L"thumbrect", ThumbRect);
    K.Rect(L"activethumbrect", ActiveThumbRect);
    K.Rect(L"downthumbrect", DownThumbRect);
    K.Integer(L"thumboffset1", ThumbOffset1);
    K.Integer(L"thumboffset2", ThumbOffset2);
    K.Rect(L"glyphrect", GlyphRect);
    K.Rect(L"activeglyphrect", ActiveGlyphRect);
    K.Rect(L"downglyphrect", DownGlyphRect);
    K.Boolean(L"glyphtransparent", GlyphTransparent);
    K.Integer(L"glyphtransparentcolor", GlyphTransparentColor);
    K.Boolean(L"thumbtransparent", ThumbTransparent);
    K.Integer(L"thumbtransparentcolor", ThumbTransparentColor);
    K.Boolean(L"thumbstretcheffect", ThumbStretchEffect);
    K.Integer(L"thumbminsize", ThumbMinSize);
    K.Integer(L"thumbminpagesize", ThumbMinPageSize);
}

void TbsDataSkinTrackBarControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"activeskinrect", ActiveSkinRect);
    K.Rect(L"trackarea", TrackArea);
    K.Rect(L"buttonrect", ButtonRect);
    K.Rect(L"activebuttonrect", ActiveButtonRect);
    K.Boolean(L"vertical", Vertical);
    K.Boolean(L"buttontransparent", ButtonTransparent);
    K.Integer(L"buttontransparentcolor", ButtonTransparentColor);
}

void TbsDataSkinSlider::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinControl::DefineKeys(K);
    K.Integer(L"bgcolor", BGColor);
    K.Rect(L"hrulerrect", HRulerRect);
    K.Rect(L"hthumbrect", HThumbRect);
    K.Rect(L"vrulerrect", VRulerRect);
    K.Rect(L"vthumbrect", VThumbRect);
    K.Integer(L"edgesize", EdgeSize);
    K.Integer(L"pointscolor", PointsColor);
}

void TbsDataSkinGaugeControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    K.Rect(L"progressarea", ProgressArea);
    K.Rect(L"progressrect", ProgressRect);
    K.Integer(L"beginoffset", BeginOffset);
    K.Integer(L"endoffset", EndOffset);
    K.Boolean(L"vertical", Vertical);
    K.Font(FontName, FontHeight, FontStyle, FontColor);
    K.Boolean(L"progresstransparent", ProgressTransparent);
    K.Integer(L"progresstransparentcolor", ProgressTransparentColor);
    K.Boolean(L"progressstretch", ProgressStretch);
    K.Rect(L"animationskinrect", AnimationSkinRect);
    K.Integer(L"animationcountframes", AnimationCountFrames);
    K.Integer(L"animationtimerinterval", AnimationTimerInterval);
    K.Rect(L"progressanimationskinrect", ProgressAnimationSkinRect);
    K.Integer(L"progressanimationcountframes", ProgressAnimationCountFrames);
    K.Integer(L"progressanimationtimerinterval", ProgressAnimationTimerInterval);
    K.Integer(L"animationbeginoffset", AnimationBeginOffset);
    K.Integer(L"animationendoffset", AnimationEndOffset);
}

void TbsDataSkinUpDownControl::ZeroGeometry()
{
    LTPoint = RTPoint = LBPoint = RBPoint = TPoint{};
    ClRect = TRect{};
}

void TbsDataSkinUpDownControl::LoadFromFile(TCustomIniFile* IniFile)
{
    TbsDataSkinCustomControl::LoadFromFile(IniFile);
    ZeroGeometry();
}

void TbsDataSkinUpDownControl::SaveToFile(TCustomIniFile* IniFile)
{
    ZeroGeometry();
    TbsDataSkinCustomControl::SaveToFile(IniFile);
}

void TbsDataSkinUpDownControl::DefineKeys(TbsSkinKeys& K)
{
    TbsDataSkinCustomControl::DefineKeys(K);
    ArrowButtonKeys(K, UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
                    DownDownButtonRect);
}
