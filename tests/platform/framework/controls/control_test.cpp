// TControl and TWinControl on the headless window layer: stacking and painting order of windowed
// and windowless children (pixels), alignment, anchors and constraints on resize, the message path
// with a replaced window procedure, handle re-creation, mouse enter/leave and capture.
#include <gtest/gtest.h>

#include <memory>

#include "platform/framework/controls/image.h"
#include "platform/framework/controls/tree_view.h"
#include "tests/platform/framework/control_test_support.h"

namespace {

using ControlTree = ApplicationFixture;
using ControlAlign = ApplicationFixture;
using ControlMouse = ApplicationFixture;
using ControlProperties = ApplicationFixture;

}  // namespace

TEST_F(ControlTree, ChildrenStackWindowlessBelowWindowedAndPaintInOrder)
{
    TForm* f = MakeForm(50, 50, 100, 100, clRed);
    auto* panel = new TColorPanel(f, clWhite);  // windowed, added first
    panel->SetBounds(20, 20, 20, 20);
    panel->SetParent(f);
    auto* a = new TColorBox(f, clBlue);
    a->SetBounds(10, 10, 40, 40);
    a->SetParent(f);
    auto* b = new TColorBox(f, clLime);
    b->SetBounds(30, 30, 40, 40);
    b->SetParent(f);
    // Windowless children come first in the control list, in stacking order.
    ASSERT_EQ(f->ControlCount(), 3);
    EXPECT_EQ(f->Controls(0), a);
    EXPECT_EQ(f->Controls(1), b);
    EXPECT_EQ(f->Controls(2), panel);
    EXPECT_EQ(a->Parent(), f);

    f->Show();
    Pump();
    EXPECT_EQ(PixelOf(f, 5, 5), Rgb(clRed));      // the form's own colour
    EXPECT_EQ(PixelOf(f, 15, 15), Rgb(clBlue));   // a
    EXPECT_EQ(PixelOf(f, 45, 45), Rgb(clLime));   // b above a
    EXPECT_EQ(PixelOf(f, 35, 35), Rgb(clWhite));  // the child window above both
    EXPECT_EQ(PixelOf(f, 65, 65), Rgb(clLime));

    a->BringToFront();
    Pump();
    EXPECT_EQ(f->Controls(1), a);
    EXPECT_EQ(PixelOf(f, 45, 45), Rgb(clBlue));
    EXPECT_EQ(PixelOf(f, 35, 35), Rgb(clWhite));

    b->Hide();
    Pump();
    EXPECT_EQ(PixelOf(f, 65, 65), Rgb(clRed));

    // Freeing a child takes it out of its parent and off the screen.
    a->Free();
    Pump();
    EXPECT_EQ(f->ControlCount(), 2);
    EXPECT_EQ(PixelOf(f, 15, 15), Rgb(clRed));
}

TEST_F(ControlTree, ParentFreesChildWindowsAndOwnerFreesTheRest)
{
    TForm* f = MakeForm(0, 0, 50, 50);
    auto* panel = new TColorPanel(f);
    panel->SetParent(f);
    auto* inner = new TColorBox(f);
    inner->SetParent(panel);
    f->HandleNeeded();
    HWND ph = panel->Handle();
    EXPECT_TRUE(IsWindow(ph));
    EXPECT_EQ(GetParent(ph), f->Handle());
    EXPECT_EQ(FindControl(ph), panel);
    panel->Free();  // a parent takes its child controls with it; the owner forgets both
    EXPECT_FALSE(IsWindow(ph));
    EXPECT_EQ(f->ControlCount(), 0);
    EXPECT_EQ(f->ComponentCount(), 0);
    // Freeing the owner frees a control it owns that sits on another form.
    TForm* other = MakeForm(0, 0, 50, 50);
    auto* lodger = new TColorBox(f);
    lodger->SetParent(other);
    f->Free();
    EXPECT_EQ(other->ControlCount(), 0);
    other->Free();
}

TEST_F(ControlTree, WindowProcCanBeReplacedAndChained)
{
    TForm* f = MakeForm(0, 0, 50, 50);
    std::vector<UINT> seen;
    TWndMethod saved = f->WindowProc();
    f->SetWindowProc([&](TMessage& m) {
        if (m.Msg == WM_USER + 7) {
            seen.push_back(m.Msg);
            m.Result = 42;
            return;
        }
        if (m.Msg == CM_TEXTCHANGED) seen.push_back(m.Msg);
        saved(m);
    });
    EXPECT_EQ(f->Perform(WM_USER + 7), 42);
    EXPECT_EQ(SendMessageW(f->Handle(), WM_USER + 7, 0, 0), 42);
    f->SetCaption(L"标题");
    EXPECT_EQ(seen, (std::vector<UINT>{WM_USER + 7, WM_USER + 7, CM_TEXTCHANGED}));
    wchar_t buf[16] = {};
    GetWindowTextW(f->Handle(), buf, 16);
    EXPECT_EQ(String(buf), L"标题");
    f->SetWindowProc(saved);
    EXPECT_EQ(f->Perform(WM_USER + 7), 0);
}

TEST_F(ControlTree, RecreateWndKeepsTextBoundsAndChildren)
{
    TForm* f = MakeForm(10, 10, 120, 80);
    f->SetCaption(L"x");
    auto* panel = new TColorPanel(f);
    panel->SetBounds(5, 6, 30, 20);
    panel->SetParent(f);
    HWND old = f->Handle();
    HWND oldPanel = panel->Handle();
    f->SetBorderStyle(bsSingle);  // a new window with the new frame
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(IsWindow(oldPanel));
    ASSERT_TRUE(f->HandleAllocated());
    EXPECT_NE(GetWindowLongW(f->Handle(), GWL_STYLE) & WS_CAPTION, 0);
    ASSERT_TRUE(panel->HandleAllocated());
    EXPECT_EQ(GetParent(panel->Handle()), f->Handle());
    RECT r;
    GetWindowRect(panel->Handle(), &r);
    POINT o{0, 0};
    ClientToScreen(f->Handle(), &o);
    EXPECT_EQ(r.left - o.x, 5);
    EXPECT_EQ(r.top - o.y, 6);
    EXPECT_EQ(f->Caption(), L"x");
    EXPECT_EQ(f->Width(), 120);
}

TEST_F(ControlAlign, SidesThenClientAndRealignOnResize)
{
    TForm* f = MakeForm(0, 0, 100, 80);
    auto add = [&](TAlign a, int w, int h) {
        auto* c = new TColorBox(f);
        c->SetBounds(0, 0, w, h);
        c->SetAlign(a);
        c->SetParent(f);
        return c;
    };
    auto* top = add(alTop, 10, 20);
    auto* bottom = add(alBottom, 10, 10);
    auto* left = add(alLeft, 15, 10);
    auto* right = add(alRight, 5, 10);
    auto* client = add(alClient, 1, 1);
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 100, 20));
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 70, 100, 10));
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 20, 15, 50));
    EXPECT_EQ(right->BoundsRect(), Bounds(95, 20, 5, 50));
    EXPECT_EQ(client->BoundsRect(), Bounds(15, 20, 80, 50));

    f->HandleNeeded();  // the window's size change realigns too
    f->SetBounds(0, 0, 120, 100);
    EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 90, 120, 10));
    EXPECT_EQ(right->BoundsRect(), Bounds(115, 20, 5, 70));
    EXPECT_EQ(client->BoundsRect(), Bounds(15, 20, 100, 70));

    // A second top control stacks below the first; hiding one gives its room back.
    auto* top2 = add(alTop, 10, 5);
    top2->SetTop(50);
    EXPECT_EQ(top2->BoundsRect(), Bounds(0, 20, 120, 5));
    EXPECT_EQ(left->Top(), 25);
    top->Hide();
    EXPECT_EQ(top2->Top(), 0);
    EXPECT_EQ(client->BoundsRect(), Bounds(15, 5, 100, 85));
}

TEST_F(ControlAlign, ConstraintsLimitAlignedAndPlainSizes)
{
    TForm* f = MakeForm(0, 0, 100, 80);
    auto* left = new TColorBox(f);
    left->Constraints()->SetMaxHeight(30);
    left->SetAlign(alLeft);
    left->SetWidth(10);
    left->SetParent(f);
    auto* client = new TColorBox(f);
    client->Constraints()->SetMaxWidth(50);
    client->SetAlign(alClient);
    client->SetParent(f);
    EXPECT_EQ(left->BoundsRect(), Bounds(0, 0, 10, 30));
    EXPECT_EQ(client->BoundsRect(), Bounds(10, 0, 50, 80));

    auto* plain = new TColorBox(f);
    plain->SetParent(f);
    plain->Constraints()->SetMinWidth(20);
    plain->Constraints()->SetMaxHeight(15);
    plain->SetBounds(1, 2, 5, 40);
    EXPECT_EQ(plain->BoundsRect(), Bounds(1, 2, 20, 15));
    // Setting a constraint applies it at once.
    plain->Constraints()->SetMaxWidth(12);
    EXPECT_EQ(plain->Width(), 12);
    EXPECT_EQ(plain->Constraints()->MinWidth(), 12);
}

TEST_F(ControlAlign, AnchorsFollowTheParentsSize)
{
    TForm* f = MakeForm(0, 0, 200, 100);
    f->HandleNeeded();
    struct Case {
        TAnchors anchors;
        TRect after;
    };
    const Case cases[] = {
        {{akLeft, akTop}, Bounds(60, 40, 30, 20)},
        {{akRight, akBottom}, Bounds(110, 70, 30, 20)},
        {{akLeft, akTop, akRight}, Bounds(60, 40, 80, 20)},
        {{akLeft, akTop, akRight, akBottom}, Bounds(60, 40, 80, 50)},
        {{akTop}, Bounds(85, 40, 30, 20)},  // neither side: keeps its centre
    };
    std::vector<TControl*> boxes;
    for (const Case& c : cases) {
        auto* b = new TColorBox(f);
        b->SetParent(f);
        b->SetBounds(60, 40, 30, 20);
        b->SetAnchors(c.anchors);
        boxes.push_back(b);
    }
    f->SetBounds(0, 0, 250, 130);
    for (size_t i = 0; i < boxes.size(); ++i) EXPECT_EQ(boxes[i]->BoundsRect(), cases[i].after) << "case " << i;
    // Back to the first size: the original bounds return, not an accumulated drift.
    f->SetBounds(0, 0, 200, 100);
    for (TControl* b : boxes) EXPECT_EQ(b->BoundsRect(), Bounds(60, 40, 30, 20));
}

TEST_F(ControlAlign, LoadingDefersAlignmentUntilLoaded)
{
    TForm* f = new TForm(Application);
    f->BeginLoading();
    f->SetBorderStyle(bsNone);
    f->SetBounds(0, 0, 100, 100);
    auto* top = new TColorBox(f);
    top->SetBounds(7, 7, 10, 10);
    top->SetAlign(alTop);
    top->SetParent(f);
    EXPECT_EQ(top->BoundsRect(), Bounds(7, 7, 10, 10));
    auto* anchored = new TColorBox(f);
    anchored->SetParent(f);
    anchored->SetBounds(80, 80, 10, 10);
    anchored->SetAnchors(TAnchors{akRight, akBottom});
    f->SetBounds(0, 0, 150, 100);  // still loading: anchors are taken again at the end
    f->EndLoading();
    EXPECT_EQ(top->BoundsRect(), Bounds(0, 0, 150, 10));
    EXPECT_EQ(anchored->BoundsRect(), Bounds(80, 80, 10, 10));
    f->SetBounds(0, 0, 160, 100);
    EXPECT_EQ(anchored->Left(), 90);
}

TEST_F(ControlMouse, EnterAndLeaveForWindowedAndWindowlessControls)
{
    TForm* f = MakeForm(100, 100, 200, 200);
    auto* g = new TColorBox(f);
    g->SetBounds(10, 10, 50, 50);
    g->SetParent(f);
    auto* w = new TColorPanel(f);
    w->SetBounds(100, 100, 50, 50);
    w->SetParent(f);
    std::vector<std::string> log;
    auto watch = [&](TControl* c, const std::string& name) {
        c->OnMouseEnter = [&log, name](TObject*) { log.push_back("+" + name); };
        c->OnMouseLeave = [&log, name](TObject*) { log.push_back("-" + name); };
    };
    watch(f, "form");
    watch(g, "g");
    watch(w, "w");
    f->Show();
    Pump();
    vxwin::InjectMouseMove(120, 120);
    Pump();
    vxwin::InjectMouseMove(125, 125);
    Pump();
    vxwin::InjectMouseMove(220, 220);
    Pump();
    vxwin::InjectMouseMove(180, 180);
    Pump();
    vxwin::InjectMouseMove(500, 500);
    Pump();
    EXPECT_EQ(log, (std::vector<std::string>{"+g", "-g", "+w", "-w", "+form", "-form"}));
}

// A window shown over a still pointer takes the mouse-over from the control under it at the next
// idle step, as a modal dialog opened by a click does; the pointer unchanged keeps it.
TEST_F(ControlMouse, AWindowShownOverAStillPointerEndsTheMouseOver)
{
    TForm* f = MakeForm(100, 100, 200, 200);
    auto* g = new TColorBox(f);
    g->SetBounds(10, 10, 50, 50);
    g->SetParent(f);
    std::vector<std::string> log;
    g->OnMouseEnter = [&log](TObject*) { log.push_back("+g"); };
    g->OnMouseLeave = [&log](TObject*) { log.push_back("-g"); };
    f->Show();
    Pump();
    vxwin::InjectMouseMove(120, 120);
    Pump();
    Application->CheckMouseControl();
    EXPECT_EQ(log, (std::vector<std::string>{"+g"})) << "still under the pointer";
    TForm* over = MakeForm(50, 50, 200, 200);
    over->Show();
    Pump();
    Application->CheckMouseControl();
    EXPECT_EQ(log, (std::vector<std::string>{"+g", "-g"}));
    EXPECT_EQ(GetMouseControl(), nullptr);
}

TEST_F(ControlMouse, CaptureKeepsTheMouseUntilReleaseAndClickNeedsReleaseInside)
{
    TForm* f = MakeForm(100, 100, 200, 200);
    auto* g = new TColorBox(f);
    g->SetBounds(10, 10, 50, 50);
    g->SetParent(f);
    int clicks = 0;
    std::vector<TPoint> moves, ups;
    g->OnClick = [&](TObject*) { ++clicks; };
    g->OnMouseMove = [&](TObject*, TShiftState, int x, int y) { moves.push_back(Point(x, y)); };
    g->OnMouseUp = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
        EXPECT_EQ(b, mbLeft);
        ups.push_back(Point(x, y));
    };
    f->Show();
    Pump();
    Click(130, 130);
    Pump();
    EXPECT_EQ(clicks, 1);

    vxwin::InjectMouseButton(0, true, 130, 130);
    Pump();
    EXPECT_EQ(GetCaptureControl(), g);
    vxwin::InjectMouseMove(400, 420);  // outside the form: the control still hears it
    Pump();
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), Point(400 - 110, 420 - 110));
    vxwin::InjectMouseButton(0, false, 400, 420);
    Pump();
    EXPECT_EQ(GetCaptureControl(), nullptr);
    EXPECT_EQ(clicks, 1);
    ASSERT_EQ(ups.size(), 2u);
    EXPECT_EQ(ups.back(), Point(290, 310));
}

// A control holding the capture hears the pointer leave and come back while the button is held;
// the controls it crosses hear nothing until the release.
TEST_F(ControlMouse, CapturedControlHearsLeaveAndEnterOthersNothing)
{
    TForm* f = MakeForm(100, 100, 200, 200);
    auto* g = new TColorBox(f);
    g->SetBounds(10, 10, 50, 50);
    g->SetParent(f);
    auto* w = new TColorPanel(f);
    w->SetBounds(100, 100, 50, 50);
    w->SetParent(f);
    std::vector<std::string> log;
    auto watch = [&](TControl* c, const std::string& name) {
        c->OnMouseEnter = [&log, name](TObject*) { log.push_back("+" + name); };
        c->OnMouseLeave = [&log, name](TObject*) { log.push_back("-" + name); };
    };
    watch(f, "form");
    watch(g, "g");
    watch(w, "w");
    f->Show();
    Pump();
    for (TControl* held : {static_cast<TControl*>(w), static_cast<TControl*>(g)}) {
        log.clear();
        TPoint in = held->ClientToScreen(Point(5, 5));
        vxwin::InjectMouseMove(in.X, in.Y);
        vxwin::InjectMouseButton(0, true, in.X, in.Y);
        Pump();
        ASSERT_EQ(GetCaptureControl(), held);
        TControl* otherControl = held == w ? static_cast<TControl*>(g) : w;
        TPoint other = otherControl->ClientToScreen(Point(5, 5));
        vxwin::InjectMouseMove(other.X, other.Y);  // out, across the other control
        Pump();
        vxwin::InjectMouseMove(in.X + 1, in.Y);  // back
        Pump();
        vxwin::InjectMouseMove(500, 500);  // out again, released there
        vxwin::InjectMouseButton(0, false, 500, 500);
        Pump();
        const std::string n = held == w ? "w" : "g";
        EXPECT_EQ(log, (std::vector<std::string>{"+" + n, "-" + n, "+" + n, "-" + n})) << n;
    }
}

TEST_F(ControlProperties, SettersRepaintOnlyWhenTheValueChanges)
{
    TForm* f = MakeForm(50, 50, 200, 100, clBtnFace);
    auto* tree = new TTreeView(f);  // windowed: repaints its own window
    tree->SetBounds(0, 0, 100, 100);
    tree->SetParent(f);
    auto* image = new TImage(f);  // windowless: repaints its part of the form
    image->SetBounds(120, 10, 40, 40);
    image->SetParent(f);
    f->Show();
    Pump();
    auto dirty = [](TWinControl* c) { return GetUpdateRect(c->Handle(), nullptr, FALSE) != FALSE; };
    ASSERT_FALSE(dirty(tree));
    ASSERT_FALSE(dirty(f));

    tree->SetShowLines(tree->ShowLines());
    image->SetCenter(image->Center());
    EXPECT_FALSE(dirty(tree));
    EXPECT_FALSE(dirty(f));

    tree->SetShowLines(!tree->ShowLines());
    image->SetCenter(!image->Center());
    EXPECT_TRUE(dirty(tree));
    EXPECT_TRUE(dirty(f));
}

TEST_F(ControlProperties, BiDiModeComesFromTheParentUntilSetAndShapesTextFlags)
{
    TForm* f = MakeForm(50, 50, 200, 100, clBtnFace);
    auto* panel = new TColorPanel(f);
    panel->SetParent(f);
    auto* box = new TColorBox(f);
    box->SetParent(panel);
    auto* own = new TColorBox(f);
    own->SetBiDiMode(bdRightToLeftReadingOnly);
    own->SetParent(panel);
    EXPECT_EQ(box->BiDiMode(), bdLeftToRight);
    EXPECT_TRUE(box->ParentBiDiMode());
    EXPECT_FALSE(own->ParentBiDiMode());

    // A change runs down the tree to every child still taking its parent's mode.
    f->SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(panel->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(box->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(box->ParentBiDiMode());
    EXPECT_EQ(own->BiDiMode(), bdRightToLeftReadingOnly);
    // A child added later takes it too; turning ParentBiDiMode back on takes it again.
    auto* late = new TColorBox(f);
    late->SetParent(panel);
    EXPECT_EQ(late->BiDiMode(), bdRightToLeft);
    own->SetParentBiDiMode(true);
    EXPECT_EQ(own->BiDiMode(), bdRightToLeft);

    struct Case {
        TBiDiMode mode;
        UINT in, out;
        bool align, reading;
    } cases[] = {
        {bdLeftToRight, DT_LEFT | DT_WORDBREAK, DT_LEFT | DT_WORDBREAK, false, false},
        {bdLeftToRight, DT_RIGHT, DT_RIGHT, false, false},
        {bdRightToLeft, DT_LEFT | DT_WORDBREAK, DT_RIGHT | DT_WORDBREAK | DT_RTLREADING, true, true},
        {bdRightToLeft, DT_RIGHT | DT_SINGLELINE, DT_LEFT | DT_SINGLELINE | DT_RTLREADING, true, true},
        {bdRightToLeft, DT_CENTER, DT_CENTER | DT_RTLREADING, true, true},
        {bdRightToLeftNoAlign, DT_LEFT, DT_LEFT | DT_RTLREADING, false, true},
        {bdRightToLeftReadingOnly, DT_RIGHT, DT_RIGHT | DT_RTLREADING, false, true},
    };
    for (const Case& c : cases) {
        box->SetBiDiMode(c.mode);
        EXPECT_EQ(box->DrawTextBiDiModeFlags(c.in), c.out) << c.mode << " " << c.in;
        EXPECT_EQ(box->DrawTextBiDiModeFlagsReadingOnly(), c.reading ? DT_RTLREADING : 0u) << c.mode;
        EXPECT_EQ(box->UseRightToLeftAlignment(), c.align) << c.mode;
        EXPECT_EQ(box->UseRightToLeftReading(), c.reading) << c.mode;
    }
    EXPECT_FALSE(box->ParentBiDiMode());
}
