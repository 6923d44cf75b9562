// A picture of the program's own skin for people to look at (written, not compared): a 640 x 400
// form composed from the skin with the composition routines - the frame with its caption and
// buttons, a menu bar, buttons in each state, check and radio boxes, labels,
// edits and combo boxes, a job list with its header and scroll bars, a group box with a slider,
// a status bar and an open context menu. The PNG goes to the test's output folder in the build tree and stays there.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "default_skin_test_support.h"
#include "platform/framework/graphics/codecs/png_codec.h"
#include "skin/core/button_records.h"
#include "skin/core/edit_list_records.h"
#include "skin/core/mask_region.h"
#include "skin/core/object_records.h"
#include "skin/core/panel_records.h"
#include "skin/core/range_records.h"
#include "skin/core/skin_image.h"
#include "skin/core/view_menu_records.h"
#include "skin/core/window_records.h"
#include "tests/support/file_bytes.h"

namespace {

constexpr TColor kDesktop = 0x7C6C60;  // a slate desktop behind the window

class Composer {
public:
    explicit Composer(TbsSkinData& S) : S(S) {}

    template <class T>
    T* Control(const wchar_t* Name)
    {
        return dynamic_cast<T*>(S.CtrlList.at(S.GetControlIndex(Name)));
    }
    template <class T>
    T* Object(const wchar_t* Name)
    {
        return dynamic_cast<T*>(S.ObjectList.at(S.GetIndex(Name)));
    }
    TBitmap* Active(int I) { return S.FActivePictures.at(I); }

    // A nine-part look of the record at (X, Y), W x H, from the look Src (SkinRect by default).
    void NinePart(TCanvas* C, TbsDataSkinCustomControl* R, TRect Src, int X, int Y, int W, int H)
    {
        TBitmap b;
        const TRect k = R->SkinRect;
        const int dw = W - k.Width(), dh = H - k.Height();
        const TRect cl = R->ClRect;
        CreateSkinImage(
            R->LTPoint, R->RTPoint, R->LBPoint, R->RBPoint, cl, R->LTPoint, Point(R->RTPoint.X + dw, R->RTPoint.Y),
            Point(R->LBPoint.X, R->LBPoint.Y + dh), Point(R->RBPoint.X + dw, R->RBPoint.Y + dh),
            Rect(cl.Left, cl.Top, cl.Right + dw, cl.Bottom + dh), &b, Active(R->PictureIndex), Src, W, H, true,
            R->LeftStretch, R->TopStretch, R->RightStretch, R->BottomStretch, R->StretchEffect, R->StretchType);
        C->Draw(X, Y, &b);
    }
    // A three-part look across, W wide, at the look's own height.
    void Across(TCanvas* C, TBitmap* Pic, TRect Src, int LO, int RO, bool Stretch, int X, int Y, int W)
    {
        TBitmap b;
        CreateHSkinImage(LO, RO, &b, Pic, Src, W, 0, Stretch);
        C->Draw(X, Y, &b);
    }
    void Across(TCanvas* C, TbsDataSkinCustomControl* R, TRect Src, int X, int Y, int W)
    {
        Across(C, Active(R->PictureIndex), Src, R->LTPoint.X, R->SkinRect.Width() - R->RTPoint.X, R->StretchEffect, X,
               Y, W);
    }
    void Down(TCanvas* C, TbsDataSkinCustomControl* R, TRect Src, int X, int Y, int H)
    {
        TBitmap b;
        CreateVSkinImage(R->LTPoint.Y, R->SkinRect.Height() - R->LBPoint.Y, &b, Active(R->PictureIndex), Src, 0, H,
                         R->StretchEffect);
        C->Draw(X, Y, &b);
    }
    // A piece copied as it is, or with the colour of its bottom-left pixel transparent.
    void Piece(TCanvas* C, TBitmap* Pic, TRect Src, int X, int Y, bool Transparent = false)
    {
        TBitmap b;
        b.SetPixelFormat(pf24bit);
        b.SetSize(Src.Width(), Src.Height());
        b.Canvas()->CopyRect(Rect(0, 0, Src.Width(), Src.Height()), Pic->Canvas(), Src);
        b.SetTransparent(Transparent);
        C->Draw(X, Y, &b);
    }
    void Font(TCanvas* C, const String& Name, int Height, TColor Color, TFontStyles Style = {})
    {
        C->Font()->SetName(Name);
        C->Font()->SetHeight(Height);
        C->Font()->SetColor(Color);
        C->Font()->SetStyle(Style);
        C->Brush()->SetStyle(bsClear);
    }
    // Text vertically centred in [Top, Bottom), from X, or centred across [X, Right) when Right > X.
    void Text(TCanvas* C, const String& T, int X, int Top, int Bottom, int Right = 0)
    {
        const int tw = C->TextWidth(T), th = C->TextHeight(T);
        C->TextOut(Right > X ? X + (Right - X - tw) / 2 : X, Top + (Bottom - Top - th) / 2, T);
    }

    TbsSkinData& S;
};

// Copies Src onto Dst at (X, Y) where the nine-part window mask keeps the window.
void DrawShaped(TBitmap& Dst, TBitmap& Src, int X, int Y, TBitmap* Mask, TPoint LT, TPoint RT, TPoint LB, TPoint RB,
                TRect Cl)
{
    const int w = Src.Width(), h = Src.Height(), dw = w - Mask->Width(), dh = h - Mask->Height();
    const TPoint nrt = Point(RT.X + dw, RT.Y), nlb = Point(LB.X, LB.Y + dh), nrb = Point(RB.X + dw, RB.Y + dh);
    const TRect ncl = Rect(Cl.Left, Cl.Top, Cl.Right + dw, Cl.Bottom + dh);
    TBitmap top, left, right, bottom;
    CreateSkinMask(LT, RT, LB, RB, Cl, LT, nrt, nlb, nrb, ncl, Mask, &top, &left, &right, &bottom, w, h);
    auto inside = [&](int x, int y) {
        auto black = [](TBitmap& m, int mx, int my) {
            return mx >= 0 && my >= 0 && mx < m.Width() && my < m.Height() && (m.PixelArgb(mx, my) & 0xFFFFFF) == 0;
        };
        if (PtInRect(ncl, Point(x, y))) return true;
        if (y < ncl.Top) return black(top, x, y);
        if (y >= ncl.Bottom) return black(bottom, x, y - ncl.Bottom);
        return x < ncl.Left ? black(left, x, y - ncl.Top) : black(right, x - ncl.Right, y - ncl.Top);
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (inside(x, y)) Dst.SetPixelArgb(X + x, Y + y, Src.PixelArgb(x, y));
}

TBitmap* Bitmap(int W, int H)
{
    auto* b = new TBitmap;
    b->SetPixelFormat(pf24bit);
    b->SetSize(W, H);
    return b;
}

TEST(DefaultSkinScreenshot, ComposesAFormForPeopleToLookAt)
{
    auto skin = EmbeddedSkin();
    TbsSkinData& s = *skin;
    Composer k(s);
    constexpr int W = 640, H = 400;
    std::unique_ptr<TBitmap> form(Bitmap(W, H));
    TCanvas* c = form->Canvas();

    // ---- the frame: four border strips and the client tiled from the client piece ----
    const int dw = W - s.FPicture->Width(), dh = H - s.FPicture->Height();
    const TPoint nrt = Point(s.RTPoint.X + dw, s.RTPoint.Y), nlb = Point(s.LBPoint.X, s.LBPoint.Y + dh),
                 nrb = Point(s.RBPoint.X + dw, s.RBPoint.Y + dh);
    const TRect ncl = Rect(s.ClRect.Left, s.ClRect.Top, s.ClRect.Right + dw, s.ClRect.Bottom + dh);
    {
        TBitmap top, left, right, bottom;
        CreateSkinBorderImages(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.ClRect, s.LTPoint, nrt, nlb, nrb, ncl,
                               &left, &top, &right, &bottom, s.FPicture,
                               Rect(0, 0, s.FPicture->Width(), s.FPicture->Height()), W, H, s.LeftStretch, s.TopStretch,
                               s.RightStretch, s.BottomStretch);
        c->Draw(0, 0, &top);
        c->Draw(0, top.Height(), &left);
        c->Draw(W - right.Width(), top.Height(), &right);
        c->Draw(0, H - bottom.Height(), &bottom);
        const TRect piece = s.ClRect;
        for (int y = ncl.Top; y < ncl.Bottom; y += piece.Height())
            for (int x = ncl.Left; x < ncl.Right; x += piece.Width())
                c->CopyRect(
                    Rect(x, y, std::min(x + piece.Width(), ncl.Right), std::min(y + piece.Height(), ncl.Bottom)),
                    s.FPicture->Canvas(),
                    Bounds(piece.Left, piece.Top, std::min(piece.Width(), ncl.Right - x),
                           std::min(piece.Height(), ncl.Bottom - y)));
    }
    // ---- caption, system menu button and the button row, laid out as the frame lays them ----
    TBitmap* objects = k.Active(0);
    TBitmap* controls = k.Active(1);
    auto* close = k.Object<TbsDataSkinStdButton>(L"closebutton");
    auto* max = k.Object<TbsDataSkinStdButton>(L"maxbutton");
    auto* min = k.Object<TbsDataSkinStdButton>(L"minbutton");
    auto* sys = k.Object<TbsDataSkinStdButton>(L"sysmenubutton");
    // Without a button row of its own the buttons line up from the caption rectangle's right edge.
    const TRect row = Rect(s.CaptionRect.Left, s.CaptionRect.Top, s.CaptionRect.Right + dw, s.CaptionRect.Bottom);
    int x = row.Right;
    for (auto [b, look] :
         {std::pair{close, close->ActiveSkinRect}, std::pair{max, max->SkinRect}, std::pair{min, min->SkinRect}}) {
        x -= b->SkinRect.Width();
        k.Piece(c, objects, look, x, row.Top);
        x -= s.ButtonsOffset;
    }
    const int sysTop = s.CaptionRect.Height() / 2 + s.CaptionRect.Top - sys->SkinRect.Height() / 2;
    k.Piece(c, objects, sys->SkinRect, s.CaptionRect.Left, sysTop);
    auto* cap = k.Object<TbsDataSkinCaption>(L"caption");
    const int capLeft = s.CaptionRect.Left + sys->SkinRect.Width();
    const int capRight = cap->SkinRect.Right + dw;
    k.Font(c, cap->FontName, cap->FontHeight, cap->ActiveFontColor);
    k.Text(c, L"VexmoraMKV格式转换器", capLeft + cap->TextRct.Left, cap->SkinRect.Top + cap->TextRct.Top,
           cap->SkinRect.Top + cap->TextRct.Bottom);
    (void)capRight;

    // ---- client content; origin at the client's top-left ----
    const int cx = ncl.Left, cy = ncl.Top, cw = ncl.Width(), ch = ncl.Height();
    auto* bar = k.Control<TbsDataSkinMainMenuBar>(L"mainmenubar");
    k.Across(c, controls, bar->SkinRect, bar->ItemsRect.Left, bar->SkinRect.Width() - bar->ItemsRect.Right,
             bar->StretchEffect, cx, cy, cw);
    auto* item = k.Object<TbsDataSkinMainMenuBarItem>(L"mainmenubaritem");
    int ix = cx + bar->ItemsRect.Left;
    const String menus[] = {L"文件", L"编辑", L"选项", L"帮助"};
    for (int i = 0; i < 4; ++i) {
        k.Font(c, item->FontName, item->FontHeight, item->FontColor);
        const int iw = item->SkinRect.Width() + item->TextRct.Left - item->TextRct.Right + c->TextWidth(menus[i]) + 2;
        const TRect look = i == 1 ? item->ActiveSkinRect : i == 2 ? item->DownRect : item->SkinRect;
        k.Across(c, objects, look, item->ItemLO, item->ItemRO, item->StretchEffect, ix, cy + bar->ItemsRect.Top, iw);
        c->TextOut(ix + item->TextRct.Left, cy + bar->ItemsRect.Top + item->TextRct.Top, menus[i]);
        ix += iw;
    }

    // Buttons in their five states.
    auto* button = k.Control<TbsDataSkinButtonControl>(L"button");
    struct State {
        const wchar_t* Caption;
        TRect Look;
        TColor Color;
    } states[] = {{L"添加文件", button->SkinRect, button->FontColor},
                  {L"开始转换", button->ActiveSkinRect, button->ActiveFontColor},
                  {L"暂停", button->DownSkinRect, button->DownFontColor},
                  {L"停止", button->DisabledSkinRect, button->DisabledFontColor},
                  {L"设置...", button->FocusedSkinRect, button->FontColor}};
    int bx = cx + 10;
    const int by = cy + 40;
    for (const State& st : states) {
        k.NinePart(c, button, st.Look, bx, by, 96, 28);
        k.Font(c, button->FontName, button->FontHeight, st.Color);
        k.Text(c, st.Caption, bx, by, by + 28, bx + 96);
        bx += 104;
    }

    // Check boxes and radio buttons.
    auto box = [&](const wchar_t* name, TRect mark, const String& caption, int x0, int y0, bool enabled) {
        auto* r = k.Control<TbsDataSkinCheckRadioControl>(name);
        const int w = 116;
        k.Across(c, r, r->SkinRect, x0, y0, w);
        const TRect area = r->CheckImageArea;
        k.Piece(c, controls, mark, x0 + area.Left + area.Width() / 2 - mark.Width() / 2,
                y0 + area.Top + area.Height() / 2 - mark.Height() / 2, true);
        k.Font(c, r->FontName, r->FontHeight, enabled ? r->FontColor : r->UnEnabledFontColor);
        k.Text(c, caption, x0 + r->TextArea.Left, y0 + r->TextArea.Top, y0 + r->TextArea.Bottom);
    };
    auto* cb = k.Control<TbsDataSkinCheckRadioControl>(L"checkbox");
    auto* rb = k.Control<TbsDataSkinCheckRadioControl>(L"radiobox");
    const int ry = cy + 80;
    box(L"checkbox", cb->UnCheckImageRect, L"完成后关机", cx + 10, ry, true);
    box(L"checkbox", cb->CheckImageRect, L"打开输出目录", cx + 130, ry, true);
    box(L"checkbox", cb->ActiveUnCheckImageRect, L"播放提示音", cx + 250, ry, true);
    box(L"checkbox", cb->GrayedCheckImageRect, L"部分选中", cx + 370, ry, true);
    box(L"checkbox", cb->UnEnabledCheckImageRect, L"不可用", cx + 490, ry, false);
    box(L"radiobox", rb->CheckImageRect, L"MP4 视频", cx + 10, ry + 24, true);
    box(L"radiobox", rb->UnCheckImageRect, L"MKV 视频", cx + 130, ry + 24, true);
    box(L"radiobox", rb->ActiveUnCheckImageRect, L"AVI 视频", cx + 250, ry + 24, true);
    box(L"radiobox", rb->UnEnabledUnCheckImageRect, L"FLV 视频", cx + 370, ry + 24, false);

    // Labels with combo boxes and edits.
    auto* label = k.Control<TbsDataSkinStdLabelControl>(L"stdlabel");
    auto* combo = k.Control<TbsDataSkinComboBox>(L"combobox");
    auto comboBox = [&](int x0, int y0, int w, const String& text, bool focused, bool hot) {
        const int h = combo->SkinRect.Height(), grow = w - combo->SkinRect.Width();
        k.Across(c, combo, focused || hot ? combo->ActiveSkinRect : combo->SkinRect, x0, y0, w);
        const TRect item =
            Rect(combo->ClRect.Left, combo->ClRect.Top, combo->ClRect.Right + grow, combo->ClRect.Bottom);
        const TRect face = focused ? combo->FocusItemRect : combo->SItemRect;
        k.Across(c, controls, face, combo->ItemLeftOffset, combo->ItemRightOffset, combo->FocusItemStretchEffect,
                 x0 + item.Left, y0 + item.Top, item.Width());
        if (hot)
            k.Piece(c, controls, combo->ActiveButtonRect, x0 + combo->ButtonRect.Left + grow,
                    y0 + combo->ButtonRect.Top);
        k.Font(c, combo->FontName, combo->FontHeight, focused ? combo->FocusFontColor : combo->FontColor);
        k.Text(c, text, x0 + item.Left + combo->ItemTextRect.Left, y0 + item.Top, y0 + item.Top + face.Height());
        (void)h;
    };
    auto* edit = k.Control<TbsDataSkinEditControl>(L"edit");
    auto* bedit = k.Control<TbsDataSkinEditControl>(L"buttonedit");
    auto editBox = [&](TbsDataSkinEditControl* e, int x0, int y0, int w, const String& text, bool active) {
        k.Across(c, e, active ? e->ActiveSkinRect : e->SkinRect, x0, y0, w);
        k.Font(c, e->FontName, e->FontHeight, e->FontColor);
        k.Text(c, text, x0 + e->ClRect.Left + 1, y0 + e->ClRect.Top, y0 + e->ClRect.Bottom);
    };
    const int fy = cy + 136;
    k.Font(c, label->FontName, label->FontHeight, label->FontColor);
    k.Text(c, L"视频分辨率：", cx + 10, fy, fy + combo->SkinRect.Height());
    comboBox(cx + 96, fy, 150, L"640*480", false, true);
    k.Font(c, label->FontName, label->FontHeight, label->FontColor);
    k.Text(c, L"音频采样率：", cx + 264, fy, fy + combo->SkinRect.Height());
    comboBox(cx + 350, fy, 120, L"44100", true, false);
    const int ey = fy + 30;
    k.Font(c, label->FontName, label->FontHeight, label->FontColor);
    k.Text(c, L"输出目录：", cx + 10, ey, ey + bedit->SkinRect.Height());
    editBox(bedit, cx + 96, ey, 240, L"/home/用户/视频/输出", false);
    k.Font(c, label->FontName, label->FontHeight, label->FontColor);
    k.Text(c, L"文件名：", cx + 350, ey, ey + edit->SkinRect.Height());
    editBox(edit, cx + 410, ey, 200, L"第一集.mkv", true);

    // The job list: a header of tool button sections, rows, and external scroll bars.
    const int lx = cx + 10, ly = ey + 34, lw = 400, lh = 150;
    auto* list = k.Control<TbsDataSkinListBox>(L"listbox");
    k.NinePart(c, list, list->SkinRect, lx, ly, lw, lh);
    auto* header = k.Control<TbsDataSkinButtonControl>(L"resizetoolbutton");
    auto* vbar = k.Control<TbsDataSkinScrollBarControl>(L"vscrollbar");
    // Beside the vertical bar the horizontal one ends in the corner square under it.
    auto* hbar = k.Control<TbsDataSkinScrollBarControl>(L"bothhscrollbar");
    const int inL = lx + list->ClRect.Left, inT = ly + list->ClRect.Top;
    const int inR = lx + lw - (list->SkinRect.Width() - list->ClRect.Right);
    const int inB = ly + lh - (list->SkinRect.Height() - list->ClRect.Bottom);
    const int bar2 = vbar->SkinRect.Width();
    const String cols[] = {L"文件名", L"时长", L"大小", L"进度"};
    const int colW[] = {150, 70, 70, 70};
    int hx = inL;
    const int hh = header->SkinRect.Height();
    for (int i = 0; i < 4; ++i) {
        k.NinePart(c, header, i == 0 ? header->DownSkinRect : header->SkinRect, hx, inT, colW[i], hh);
        k.Font(c, header->FontName, header->FontHeight, header->FontColor);
        k.Text(c, cols[i], hx + 6, inT, inT + hh);
        hx += colW[i];
    }
    k.NinePart(c, header, header->SkinRect, hx, inT, inR - bar2 - hx, hh);
    const String rows[][4] = {{L"旅行记录.mp4", L"00:12:31", L"245 MB", L"100%"},
                              {L"会议录像.avi", L"01:02:10", L"1.2 GB", L"37%"},
                              {L"家庭聚会.mov", L"00:45:02", L"880 MB", L""},
                              {L"毕业典礼.mkv", L"02:10:44", L"3.4 GB", L""}};
    const int rowH = list->SItemRect.Height();
    for (int r = 0; r < 4; ++r) {
        const int y0 = inT + hh + r * rowH;
        if (r == 1)
            k.Across(c, controls, list->FocusItemRect, list->ItemLeftOffset, list->ItemRightOffset, true, inL, y0,
                     inR - bar2 - inL);
        int tx = inL;
        k.Font(c, list->FontName, list->FontHeight, list->FontColor);
        for (int col = 0; col < 4; ++col) {
            k.Text(c, rows[r][col], tx + 6, y0, y0 + rowH);
            tx += colW[col];
        }
    }
    k.Down(c, vbar, vbar->SkinRect, inR - bar2, inT, inB - inT - bar2);
    {
        TBitmap thumb;
        CreateVSkinImage(vbar->ThumbOffset1, vbar->ThumbOffset2, &thumb, controls, vbar->ThumbRect, 0, 50,
                         vbar->ThumbStretchEffect);
        c->Draw(inR - bar2, inT + vbar->SkinRect.Width() + 4, &thumb);
    }
    k.Across(c, hbar, hbar->SkinRect, inL, inB - bar2, inR - inL);
    {
        TBitmap thumb;
        CreateHSkinImage(hbar->ThumbOffset1, hbar->ThumbOffset2, &thumb, controls, hbar->ActiveThumbRect, 200, 0,
                         hbar->ThumbStretchEffect);
        c->Draw(inL + hbar->SkinRect.Height() + 30, inB - bar2, &thumb);
    }

    // A group box with a slider.
    auto* group = k.Control<TbsDataSkinPanelControl>(L"groupbox");
    const int gx = lx + lw + 12, gy = ly - 4, gw = cx + cw - 10 - gx, gh = lh + 4;
    k.NinePart(c, group, group->SkinRect, gx, gy, gw, gh);
    k.Font(c, group->FontName, group->FontHeight, group->FontColor);
    const String gcap = L"预览位置";
    const int tw = c->TextWidth(gcap);
    const TRect fr = group->FrameRect;
    const int tx0 = gx + group->CaptionRect.Left;
    k.Across(c, controls, fr, group->FrameLeftOffset, group->FrameRightOffset, false, tx0, gy + group->CaptionRect.Top,
             fr.Width() - group->FrameTextRect.Width() + tw);
    k.Text(c, gcap, tx0 + group->FrameTextRect.Left, gy + group->CaptionRect.Top, gy + group->CaptionRect.Bottom);
    auto* slider = k.Control<TbsDataSkinSlider>(L"slider");
    {
        TBitmap ruler;
        CreateHSkinImage(slider->EdgeSize, slider->EdgeSize, &ruler, controls, slider->HRulerRect, gw - 40, 0, false);
        ruler.SetTransparent(true);
        c->Draw(gx + 20, gy + 50, &ruler);
        const TRect t = slider->HThumbRect;
        k.Piece(c, controls, Bounds(t.Left, t.Top, t.Width() / 2, t.Height()), gx + 60, gy + 50 + 4 - t.Height() / 2,
                true);
        k.Font(c, label->FontName, label->FontHeight, label->FontColor);
        k.Text(c, L"00:03:12 / 00:12:31", gx + 20, gy + 70, gy + 94);
    }

    // The status bar along the bottom of the client.
    auto* status = k.Control<TbsDataSkinPanelControl>(L"statusbar");
    const int sh = status->SkinRect.Height(), sy = cy + ch - sh;
    k.NinePart(c, status, status->SkinRect, cx, sy, cw, sh);
    k.Font(c, status->FontName, status->FontHeight, status->FontColor);
    k.Text(c, L"就绪：4 个任务，1 个正在转换", cx + 8, sy, sy + sh);
    k.Piece(c, controls, status->GripperRect, cx + cw - status->GripperRect.Width() - 2,
            sy + sh - status->GripperRect.Height() - 2, true);

    // A context menu open over the job list: the popup picture shaped by its mask, and items.
    {
        auto* pw = s.PopupWindow;
        auto* mi = k.Object<TbsDataSkinMenuItem>(L"menuitem");
        TBitmap* pic = k.Active(pw->WindowPictureIndex);
        const int mw = 170, itemH = mi->SkinRect.Height(), div = mi->DividerRect.Height();
        const int mh = pic->Height() - pw->ItemsRect.Height() + 4 * itemH + div;
        const int dx2 = mw - pic->Width(), dy2 = mh - pic->Height();
        const TRect items =
            Rect(pw->ItemsRect.Left, pw->ItemsRect.Top, pw->ItemsRect.Right + dx2, pw->ItemsRect.Bottom + dy2);
        std::unique_ptr<TBitmap> menu(Bitmap(mw, mh));
        {
            TBitmap b;
            CreateSkinImage2(pw->LTPoint, pw->RTPoint, pw->LBPoint, pw->RBPoint, pw->ItemsRect, pw->LTPoint,
                             Point(pw->RTPoint.X + dx2, pw->RTPoint.Y), Point(pw->LBPoint.X, pw->LBPoint.Y + dy2),
                             Point(pw->RBPoint.X + dx2, pw->RBPoint.Y + dy2), items, &b, pic,
                             Rect(0, 0, pic->Width(), pic->Height()), mw, mh, true, pw->LeftStretch, pw->TopStretch,
                             pw->RightStretch, pw->BottomStretch, pw->StretchEffect, pw->StretchType);
            menu->Canvas()->Draw(0, 0, &b);
        }
        TCanvas* m = menu->Canvas();
        struct Entry {
            const wchar_t* Caption;
            bool Hot, Checked, Sub, Divider;
        } entries[] = {{L"添加文件...", false, false, false, false},
                       {L"添加文件夹...", true, false, false, false},
                       {L"", false, false, false, true},
                       {L"显示预览", false, true, false, false},
                       {L"输出格式", false, false, true, false}};
        int y0 = items.Top;
        for (const Entry& e : entries) {
            if (e.Divider) {
                k.Across(m, objects, mi->DividerRect, mi->DividerLO, mi->DividerRO, true, items.Left, y0,
                         items.Width());
                y0 += div;
                continue;
            }
            k.Across(m, objects, e.Hot ? mi->ActiveSkinRect : mi->SkinRect, mi->ItemLO, mi->ItemRO, true, items.Left,
                     y0, items.Width());
            const TRect tr = Rect(items.Left + mi->TextRct.Left, y0 + mi->TextRct.Top,
                                  items.Left + items.Width() - (mi->SkinRect.Width() - mi->TextRct.Right), y0 + itemH);
            k.Font(m, mi->FontName, mi->FontHeight, e.Hot ? mi->ActiveFontColor : mi->FontColor);
            k.Text(m, e.Caption, tr.Left, tr.Top, tr.Bottom);
            const TRect img = Rect(items.Left + mi->ImageRct.Left, y0 + mi->ImageRct.Top,
                                   items.Left + mi->ImageRct.Right, y0 + mi->ImageRct.Bottom);
            if (e.Checked) {
                const TRect g = mi->CheckImageRect;
                k.Piece(m, objects, g, img.Left + img.Width() / 2 - g.Width() / 2,
                        img.Top + img.Height() / 2 - g.Height() / 2, true);
            }
            if (e.Sub) {
                const TRect g = mi->ArrowImageRect;
                k.Piece(m, objects, g, tr.Right - g.Width() - 5, tr.Top + tr.Height() / 2 - g.Height() / 2, true);
            }
            y0 += itemH;
        }
        DrawShaped(*form, *menu, lx + 180, ly + 56, k.Active(pw->MaskPictureIndex), pw->LTPoint, pw->RTPoint,
                   pw->LBPoint, pw->RBPoint, pw->ItemsRect);
    }

    // The window on a desktop, shaped by the form mask.
    std::unique_ptr<TBitmap> desk(Bitmap(W + 40, H + 40));
    desk->Canvas()->Brush()->SetColor(kDesktop);
    desk->Canvas()->FillRect(Rect(0, 0, W + 40, H + 40));
    DrawShaped(*desk, *form, 20, 20, s.FMask, s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.MaskRectArea);

    std::filesystem::create_directories(VX_SCREENSHOT_DIR);
    const std::string path = std::string(VX_SCREENSHOT_DIR) + "/default_skin.png";
    const std::vector<uint8_t> png = SavePng(desk->ToRasterImage());
    WriteBytes(path, std::string(png.begin(), png.end()));
    EXPECT_FALSE(ReadBytes(path).empty());
    std::printf("screenshot: %s\n", path.c_str());
}

}  // namespace
