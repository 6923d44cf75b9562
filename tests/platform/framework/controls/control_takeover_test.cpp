// A skinned control takes over a standard control's look and keeps its behaviour: the frame
// through the non-client messages, the colours through the colour queries, the background and
// text through a pass into its own DC, the list view's header by subclassing its window, the
// edit's text area and the tab layout through the standard messages.
#include <gtest/gtest.h>

#include "platform/framework/controls/edit.h"
#include "platform/framework/controls/list_box.h"
#include "platform/framework/controls/list_view.h"
#include "platform/framework/controls/page_control.h"
#include "tests/platform/framework/control_test_support.h"

namespace {

struct ControlTakeover : ApplicationFixture {};

constexpr COLORREF kFrame = RGB(0, 0, 255), kBack = RGB(0, 160, 0), kText = RGB(255, 0, 0);

// An edit dressed as the skinned one: a 3-pixel frame of its own in the non-client area, the
// background painted by its own erase, transparent text in the colour it answers.
class TDressedEdit : public TEdit {
public:
    using TEdit::TEdit;
    int queries = 0;

protected:
    void CreateParams(TCreateParams& p) override
    {
        TEdit::CreateParams(p);
        p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    }
    void WndProc(TMessage& m) override
    {
        switch (m.Msg) {
        case WM_NCCALCSIZE: {
            RECT* r = reinterpret_cast<RECT*>(m.LParam);
            *r = RECT{r->left + 3, r->top + 3, r->right - 3, r->bottom - 3};
            m.Result = 0;
            return;
        }
        case WM_NCPAINT: {
            HDC dc = GetWindowDC(Handle());
            RECT all{0, 0, Width(), Height()};
            HBRUSH b = CreateSolidBrush(kFrame);
            FillRect(dc, &all, b);
            DeleteObject(b);
            ReleaseDC(Handle(), dc);
            return;
        }
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(Handle(), &r);
            HBRUSH b = CreateSolidBrush(kBack);
            FillRect(reinterpret_cast<HDC>(m.WParam), &r, b);
            DeleteObject(b);
            m.Result = 1;
            return;
        }
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC:
            ++queries;
            SetBkMode(reinterpret_cast<HDC>(m.WParam), TRANSPARENT);
            SetTextColor(reinterpret_cast<HDC>(m.WParam), kText);
            m.Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
            return;
        }
        TEdit::WndProc(m);
    }
};

int CountNear(TWinControl* top, const TRect& r, unsigned rgb)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            unsigned p = PixelOf(top, x, y);
            bool near = true;
            for (int s : {0, 8, 16}) near = near && std::abs(int((p >> s) & 0xFF) - int((rgb >> s) & 0xFF)) < 40;
            if (near) ++n;
        }
    return n;
}

}  // namespace

TEST_F(ControlTakeover, EditFrameColoursAndBackgroundComeFromItsOwner)
{
    TForm* f = MakeForm(0, 0, 300, 120, clWhite);
    auto* plain = new TEdit(f);
    plain->SetBounds(10, 10, 120, 24);
    plain->SetParent(f);
    auto* dressed = new TDressedEdit(f);
    dressed->SetBounds(10, 60, 120, 24);
    dressed->SetParent(f);
    dressed->SetText(L"WWWW");
    f->Show();
    Pump();
    // The plain edit's sunken edge is its non-client frame; its client area is inside it.
    EXPECT_EQ(PixelOf(f, 10, 10), Rgb(ColorToRGB(clBtnShadow)));
    EXPECT_EQ(PixelOf(f, 11, 11), Rgb(ColorToRGB(cl3DDkShadow)));
    EXPECT_EQ(plain->ClientWidth(), 116);
    EXPECT_EQ(PixelOf(f, 60, 22), Rgb(ColorToRGB(clWindow)));
    // The dressed one: its frame, its background, its text colour; no edge of the plain look.
    EXPECT_EQ(dressed->ClientWidth(), 114);
    EXPECT_EQ(PixelOf(f, 11, 61), Rgb(static_cast<TColor>(kFrame)));
    EXPECT_EQ(PixelOf(f, 125, 72), Rgb(static_cast<TColor>(kBack)));
    EXPECT_GT(dressed->queries, 0);
    EXPECT_GT(CountNear(f, Rect(13, 63, 127, 81), 0xFF0000), 10);
    EXPECT_EQ(CountNear(f, Rect(13, 63, 127, 81), Rgb(ColorToRGB(clWindow))), 0);

    // An owner's off-screen pass: erase and paint into a memory DC.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, 114, 18);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bm);
    SendMessageW(dressed->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem), 0);
    SendMessageW(dressed->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
    int red = 0, green = 0;
    for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 114; ++x) {
            COLORREF c = GetPixel(mem, x, y);
            if (GetRValue(c) > 200 && GetGValue(c) < 100) ++red;
            if (c == kBack) ++green;
        }
    EXPECT_GT(red, 10);
    EXPECT_GT(green, 114 * 18 / 2);
    SelectObject(mem, old);
    DeleteObject(bm);
    DeleteDC(mem);

    // Typing still edits it (the behaviour stays with the edit; focus selects all).
    dressed->SetFocus();
    vxwin::InjectText(L"ab");
    Pump();
    EXPECT_EQ(dressed->Text(), L"ab");
}

TEST_F(ControlTakeover, EditTextAreaFollowsTheFormattingRectangleAndMargins)
{
    TForm* f = MakeForm(0, 0, 300, 80, clWhite);
    auto* e = new TEdit(f);
    e->SetBounds(10, 10, 200, 24);
    e->SetParent(f);
    e->SetText(L"WWWWWWWW");
    f->Show();
    Pump();
    auto firstInk = [&] {
        for (int x = 12; x < 208; ++x)
            for (int y = 14; y < 30; ++y)
                if (PixelOf(f, x, y) != Rgb(ColorToRGB(clWindow))) return x;
        return -1;
    };
    int plainStart = firstInk();
    ASSERT_GT(plainStart, 0);
    RECT area{40, 0, 150, 20};
    SendMessageW(e->Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&area));
    e->Invalidate();
    Pump();
    EXPECT_GE(firstInk(), 12 + 40);
    RECT got;
    SendMessageW(e->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_EQ(got.left, 40);
    SendMessageW(e->Handle(), EM_SETRECTNP, 0, 0);
    SendMessageW(e->Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(20, 0));
    Pump();
    EXPECT_EQ(firstInk(), plainStart + 19);
    // A click lands on the character under it, margins counted.
    TPoint p = e->ClientToScreen(Point(21, 10));
    Click(p.X, p.Y);
    Pump();
    EXPECT_EQ(e->SelStart(), 0);
}

namespace {

// A list box without frame or visible bars, its background from its own colour answer.
class TBareListBox : public TListBox {
public:
    using TListBox::TListBox;

protected:
    void CreateParams(TCreateParams& p) override
    {
        TListBox::CreateParams(p);
        p.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    }
    void WndProc(TMessage& m) override
    {
        if (m.Msg == WM_NCCALCSIZE) {
            m.Result = 0;  // no non-client area: the bars never show
            return;
        }
        if (m.Msg == CN_CTLCOLORLISTBOX) {
            m.Result = reinterpret_cast<LRESULT>(ColorBrush(clYellow));
            return;
        }
        TListBox::WndProc(m);
    }
};

}  // namespace

TEST_F(ControlTakeover, ListBoxWithoutNonClientAreaKeepsItsScrollState)
{
    TForm* f = MakeForm(0, 0, 200, 200, clWhite);
    auto* lb = new TBareListBox(f);
    lb->SetBounds(10, 10, 120, 100);
    lb->SetParent(f);
    f->Show();
    Pump();
    EXPECT_EQ(lb->ClientWidth(), 120);
    EXPECT_EQ(PixelOf(f, 60, 60), Rgb(clYellow));
    EXPECT_EQ(PixelOf(f, 127, 60), Rgb(clYellow));  // where the bar would be
    for (int i = 0; i < 40; ++i) lb->Items()->Add(L"条目 " + std::to_wstring(i));
    Pump();
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    ASSERT_TRUE(GetScrollInfo(lb->Handle(), SB_VERT, &si));
    EXPECT_EQ(si.nMax, 39);
    EXPECT_GT(si.nPage, 0u);
    SendMessageW(lb->Handle(), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10), 0);
    EXPECT_EQ(lb->TopIndex(), 10);
}

TEST_F(ControlTakeover, ListViewHeaderTakenOverBySubclassingKeepsColumnClicks)
{
    struct Taken {
        HWND header = nullptr;
        WNDPROC old = nullptr;
    };
    static Taken taken;
    taken = Taken{};
    class TTakingListView : public TListView {
    public:
        using TListView::TListView;

    protected:
        void WndProc(TMessage& m) override
        {
            if (m.Msg == WM_PARENTNOTIFY && LOWORD(m.WParam) == WM_CREATE) {
                wchar_t cls[32] = {};
                HWND child = reinterpret_cast<HWND>(m.LParam);
                GetClassNameW(child, cls, 32);
                if (std::wstring(cls) == L"SysHeader32") {
                    taken.header = child;
                    taken.old = reinterpret_cast<WNDPROC>(
                        SetWindowLongPtrW(child, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&HeaderProc)));
                }
            }
            TListView::WndProc(m);
        }
        static LRESULT HeaderProc(HWND h, UINT msg, WPARAM wp, LPARAM lp)
        {
            if (msg == WM_PAINT) {
                PAINTSTRUCT ps;
                HDC dc = wp ? reinterpret_cast<HDC>(wp) : BeginPaint(h, &ps);
                RECT r;
                ::GetClientRect(h, &r);
                HBRUSH b = CreateSolidBrush(RGB(255, 0, 255));
                FillRect(dc, &r, b);
                DeleteObject(b);
                if (!wp) EndPaint(h, &ps);
                return 0;
            }
            return CallWindowProcW(taken.old, h, msg, wp, lp);
        }
    };
    TForm* f = MakeForm(0, 0, 300, 200, clWhite);
    auto* lv = new TTakingListView(f);
    lv->SetBounds(10, 10, 250, 150);
    lv->SetViewStyle(vsReport);
    lv->Columns()->Add()->SetCaption(L"文件");
    lv->Column(0)->SetWidth(120);
    lv->SetParent(f);
    int clicked = -1;
    lv->OnColumnClick = [&](TObject*, TListColumn* c) { clicked = c->Index(); };
    f->Show();
    Pump();
    ASSERT_NE(taken.header, nullptr);
    RECT hr;
    GetWindowRect(taken.header, &hr);
    EXPECT_EQ(PixelOf(f, hr.left + 30, hr.top + 5), 0xFF00FFu);
    Click(hr.left + 30, hr.top + 5);
    Pump();
    EXPECT_EQ(clicked, 0);
}

TEST_F(ControlTakeover, PageControlAnswersTheTabControlMessages)
{
    TForm* f = MakeForm(0, 0, 300, 200, clWhite);
    auto* pc = new TPageControl(f);
    pc->SetBounds(10, 10, 250, 150);
    pc->SetParent(f);
    for (const wchar_t* caption : {L"常规", L"视频", L"音频"}) {
        auto* sheet = new TTabSheet(f);
        sheet->SetCaption(caption);
        sheet->SetPageControl(pc);
    }
    int changes = 0;
    pc->OnChange = [&](TObject*) { ++changes; };
    f->Show();
    Pump();
    RECT r;
    ASSERT_TRUE(SendMessageW(pc->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r)));
    TRect want = pc->TabRect(1);
    EXPECT_EQ(r.left, want.Left);
    EXPECT_EQ(r.right, want.Right);
    EXPECT_FALSE(SendMessageW(pc->Handle(), TCM_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&r)));
    RECT area{0, 0, pc->ClientWidth(), pc->ClientHeight()};
    SendMessageW(pc->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    TRect shown = pc->DisplayRect();
    EXPECT_EQ(area.top, shown.Top);
    EXPECT_EQ(area.bottom, shown.Bottom);
    SendMessageW(pc->Handle(), TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&area));
    EXPECT_EQ(area.top, 0);
    EXPECT_EQ(SendMessageW(pc->Handle(), TCM_SETCURSEL, 2, 0), 0);
    EXPECT_EQ(SendMessageW(pc->Handle(), TCM_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(pc->ActivePageIndex(), 2);
    EXPECT_EQ(changes, 0);
    SendMessageW(pc->Handle(), TCM_SETITEMSIZE, 0, MAKELPARAM(80, 30));
    EXPECT_EQ(pc->TabHeight(), 30);
}
