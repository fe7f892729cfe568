// The window layer on real windows: binding before the first message, message maps, modal dialogs
// from an empty template, reflection, and the GDI owners.
#include "ui/framework/wnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "ui/framework/gdi.h"
#include "win_test_support.h"

namespace t30 {
namespace {

constexpr UINT kPing = WM_APP + 1;
constexpr UINT kBaseOnly = WM_APP + 2;
constexpr UINT kUnmapped = WM_APP + 3;

// Records every message it sees, from the very first one.
class CRecorder : public CWnd {
  public:
    std::vector<UINT> seen;

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        seen.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(WindowBinding, TheObjectSeesTheFirstMessages) {
    CRecorder wnd;
    ASSERT_TRUE(wnd.CreateEx(0, test::TestWindowClass(), L"rec", WS_OVERLAPPEDWINDOW,
                             RECT{10, 10, 200, 150}, nullptr, 0));
    ASSERT_FALSE(wnd.seen.empty());
    EXPECT_EQ(wnd.seen.front(), static_cast<UINT>(WM_GETMINMAXINFO));
    auto has = [&](UINT m) {
        return std::find(wnd.seen.begin(), wnd.seen.end(), m) != wnd.seen.end();
    };
    EXPECT_TRUE(has(WM_NCCREATE));
    EXPECT_TRUE(has(WM_CREATE));
    EXPECT_EQ(CWnd::FromHandle(wnd.Hwnd()), &wnd);

    HWND hwnd = wnd.Hwnd();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_TRUE(has(WM_NCDESTROY));
    EXPECT_EQ(wnd.Hwnd(), nullptr) << "unbound after the last message";
    EXPECT_EQ(CWnd::FromHandle(hwnd), nullptr) << "a gone window's handle finds no object";
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WindowBinding, SystemClassesAndSubclassingWork) {
    CRecorder parent;
    ASSERT_TRUE(parent.CreateEx(0, test::TestWindowClass(), L"p", WS_POPUP, RECT{0, 0, 100, 100},
                                nullptr, 0));
    CRecorder button;  // a standard control made through the object
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"b", WS_CHILD | BS_PUSHBUTTON, RECT{0, 0, 50, 20},
                                parent.Hwnd(), 7));
    EXPECT_EQ(button.seen.front(), static_cast<UINT>(WM_NCCREATE));
    wchar_t text[8] = {};
    GetWindowTextW(button.Hwnd(), text, 8);
    EXPECT_STREQ(text, L"b") << "the control's own procedure still runs";

    // An existing control, bound later and given back.
    HWND edit = CreateWindowExW(0, L"EDIT", L"e", WS_CHILD, 0, 30, 50, 20, parent.Hwnd(), nullptr,
                                nullptr, nullptr);
    CRecorder sub;
    ASSERT_TRUE(sub.SubclassWindow(edit));
    EXPECT_FALSE(CRecorder().SubclassWindow(edit)) << "one object per window";
    SetWindowTextW(edit, L"xyz");
    EXPECT_NE(std::find(sub.seen.begin(), sub.seen.end(), static_cast<UINT>(WM_SETTEXT)),
              sub.seen.end());
    EXPECT_EQ(sub.UnsubclassWindow(), edit);
    EXPECT_EQ(CWnd::FromHandle(edit), nullptr);
    GetWindowTextW(edit, text, 8);
    EXPECT_STREQ(text, L"xyz");
}

WNDPROC gOuterOriginal = nullptr;
LRESULT CALLBACK OuterSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(gOuterOriginal, hwnd, message, wParam, lParam);
}

TEST(WindowBinding, LettingGoUnderAnotherSubclassKeepsTheControlWorking) {
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr,
                                nullptr);
    CRecorder ours;
    ASSERT_TRUE(ours.SubclassWindow(edit));
    gOuterOriginal = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterSubclass)));
    ours.UnsubclassWindow();
    ours.seen.clear();
    SendMessageW(edit, EM_SETLIMITTEXT, 5, 0);  // only the edit's own procedure knows these
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 5) << "the edit is still reached";
    EXPECT_TRUE(ours.seen.empty());
    DestroyWindow(edit);
}

TEST(WindowBinding, DestroyingTheObjectDestroysTheWindowItMade) {
    HWND hwnd;
    {
        CRecorder wnd;
        ASSERT_TRUE(wnd.CreateEx(0, test::TestWindowClass(), L"", WS_POPUP, RECT{0, 0, 10, 10},
                                 nullptr, 0));
        hwnd = wnd.Hwnd();
    }
    EXPECT_FALSE(IsWindow(hwnd));
}

// Maps: a base class and a derived class that overrides one of its entries.
class CBase : public CWnd {
  public:
    std::vector<std::string> calls;

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CWnd::GetMessageMap(),
                                    {
                                        OnMessage(kPing, &CBase::OnPingBase),
                                        OnMessage(kBaseOnly, &CBase::OnBaseOnly),
                                        OnCommandRange(100, 199, &CBase::OnBaseRange),
                                    }};
        return &map;
    }
    LRESULT OnPingBase(WPARAM, LPARAM) {
        calls.push_back("base ping");
        return 1;
    }
    LRESULT OnBaseOnly(WPARAM wParam, LPARAM) {
        calls.push_back("base only");
        return static_cast<LRESULT>(wParam) * 2;
    }
    void OnBaseRange(UINT id, UINT, HWND) { calls.push_back("base range " + std::to_string(id)); }
};

class CDerived : public CBase {
  public:
    bool claimCommand = false;

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CBase::GetMessageMap(),
                                    {
                                        OnMessage(kPing, &CDerived::OnPing),
                                        OnCommandRange(1000, 2000, &CDerived::OnPick),
                                        OnMessage(WM_SETTEXT, &CDerived::OnSetText),
                                    }};
        return &map;
    }
    bool OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (claimCommand && LOWORD(wParam) == 1500) {
            calls.push_back("virtual 1500");
            return true;
        }
        return CBase::OnCommand(wParam, lParam);
    }
    LRESULT OnPing(WPARAM, LPARAM) {
        calls.push_back("derived ping");
        return 42;
    }
    void OnPick(UINT id, UINT code, HWND control) {
        calls.push_back("pick " + std::to_string(id) + " " + std::to_string(code) +
                        (control ? " ctl" : ""));
    }
    // Handled, then passed on to the default behaviour.
    LRESULT OnSetText(WPARAM, LPARAM) {
        calls.push_back("settext");
        return Default();
    }
};

TEST(MessageMap, DispatchesByMessageAndByCommandRange) {
    CDerived wnd;
    ASSERT_TRUE(
        wnd.CreateEx(0, test::TestWindowClass(), L"", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    HWND h = wnd.Hwnd();
    EXPECT_EQ(SendMessageW(h, kPing, 0, 0), 42) << "derived entry wins";
    EXPECT_EQ(SendMessageW(h, kBaseOnly, 21, 0), 42) << "base entry still reached";
    EXPECT_EQ(SendMessageW(h, kUnmapped, 0, 0), 0) << "default procedure";

    struct Command {
        UINT id;
        std::string expected;
    };
    const Command commands[] = {
        {1000, "pick 1000 0"},
        {2000, "pick 2000 0"},
        {1500, "pick 1500 0"},
        {150, "base range 150"},
        {999, ""},
        {2001, ""},
    };
    for (const Command& c : commands) {
        wnd.calls.clear();
        SendMessageW(h, WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        EXPECT_EQ(wnd.calls.empty() ? "" : wnd.calls.front(), c.expected) << c.id;
    }
    wnd.calls.clear();
    SendMessageW(h, WM_COMMAND, MAKEWPARAM(1001, BN_CLICKED), reinterpret_cast<LPARAM>(h));
    EXPECT_EQ(wnd.calls.at(0), "pick 1001 0 ctl");

    wnd.claimCommand = true;
    wnd.calls.clear();
    SendMessageW(h, WM_COMMAND, 1500, 0);
    EXPECT_EQ(wnd.calls, std::vector<std::string>{"virtual 1500"}) << "the virtual comes first";

    wnd.calls.clear();
    SetWindowTextW(h, L"title");
    wchar_t text[16] = {};
    GetWindowTextW(h, text, 16);
    EXPECT_EQ(wnd.calls, std::vector<std::string>{"settext"});
    EXPECT_STREQ(text, L"title") << "Default() ran the original procedure";
}

// Owner-draw and colour messages reach the control's own object.
class COwnerDrawn : public CWnd {
  public:
    int drawn = 0;
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{
            CWnd::GetMessageMap(),
            {
                OnMessage(kReflect + WM_DRAWITEM, &COwnerDrawn::OnDraw),
                OnMessage(kReflect + WM_CTLCOLORBTN, &COwnerDrawn::OnColour),
            }};
        return &map;
    }
    LRESULT OnDraw(WPARAM, LPARAM lParam) {
        drawn += reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem == Hwnd();
        return TRUE;
    }
    LRESULT OnColour(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(brush); }
};

TEST(MessageMap, ReflectsOwnerDrawAndColourToTheControl) {
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, test::TestWindowClass(), L"", WS_POPUP, RECT{0, 0, 100, 100},
                                nullptr, 0));
    COwnerDrawn button;
    ASSERT_TRUE(button.CreateEx(0, L"BUTTON", L"", WS_CHILD | BS_OWNERDRAW, RECT{0, 0, 40, 20},
                                parent.Hwnd(), 0));
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = button.Hwnd();
    EXPECT_EQ(SendMessageW(parent.Hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), TRUE);
    EXPECT_EQ(button.drawn, 1);
    EXPECT_EQ(
        SendMessageW(parent.Hwnd(), WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(button.Hwnd())),
        reinterpret_cast<LRESULT>(button.brush));
    // A control that is not ours: the parent's default handling.
    HWND plain = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD, 0, 0, 5, 5, parent.Hwnd(), nullptr,
                                 nullptr, nullptr);
    dis.hwndItem = plain;
    EXPECT_EQ(SendMessageW(parent.Hwnd(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis)), 0);
}

// A modal dialog from the empty template that ends itself from its own message handlers.
class CTestDialog : public CDialog {
  public:
    bool initialised = false;
    bool filtered = false;
    SIZE sizeAtInit{-1, -1};
    wchar_t className[32] = {};

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CDialog::GetMessageMap(),
                                    {OnCommandRange(3001, 3100, &CTestDialog::OnFinish)}};
        return &map;
    }
    BOOL OnInitDialog() override {
        initialised = true;
        RECT r{};
        GetWindowRect(Hwnd(), &r);
        sizeAtInit = SIZE{r.right - r.left, r.bottom - r.top};
        GetClassNameW(Hwnd(), className, 32);
        SetWindowPos(Hwnd(), nullptr, 50, 50, 120, 80, SWP_NOZORDER);
        // Keys are filtered before dispatch; the filter then ends the dialog with a command.
        PostMessageW(Hwnd(), WM_KEYDOWN, 'K', 0);
        return TRUE;
    }
    bool PreTranslateMessage(MSG& msg) override {
        if (msg.message == WM_KEYDOWN && msg.wParam == 'K') {
            filtered = true;
            PostMessageW(Hwnd(), WM_COMMAND, 3050, 0);
            return true;
        }
        return false;
    }
    void OnFinish(UINT id, UINT, HWND) { EndDialog(static_cast<INT_PTR>(id) + 7); }
};

TEST(ModalDialog, RunsFromAnEmptyTemplateAndEndsWithItsResult) {
    CTestDialog dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), 3057);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_TRUE(dialog.filtered) << "PreTranslateMessage saw the key inside the modal loop";
    EXPECT_EQ(dialog.sizeAtInit.cx, 0);
    EXPECT_EQ(dialog.sizeAtInit.cy, 0);
    EXPECT_STREQ(dialog.className, L"#32770");
    EXPECT_EQ(dialog.Hwnd(), nullptr) << "the window is gone with the loop";

    // The same object runs again; Escape's IDCANCEL ends it by default.
    class CCancelled : public CDialog {
        BOOL OnInitDialog() override {
            PostMessageW(Hwnd(), WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    } cancelled;
    EXPECT_EQ(cancelled.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(cancelled.DoModal(nullptr), IDCANCEL);
}

TEST(GdiOwners, ReleaseAndRestoreWhatTheyHold) {
    Bitmap a(CreateCompatibleBitmap(test::ScreenDc(), 4, 4));
    HBITMAP raw = a.Get();
    ASSERT_EQ(GetObjectType(raw), static_cast<DWORD>(OBJ_BITMAP));
    Bitmap b(std::move(a));
    EXPECT_FALSE(a);
    EXPECT_EQ(b.Get(), raw);
    b = Bitmap(CreateCompatibleBitmap(test::ScreenDc(), 2, 2));
    EXPECT_EQ(GetObjectType(raw), 0u) << "move-assigning released the old bitmap";
    HBITMAP kept = b.Release();
    b.Reset();
    EXPECT_EQ(GetObjectType(kept), static_cast<DWORD>(OBJ_BITMAP)) << "released, not deleted";
    DeleteObject(kept);

    MemoryDC dc(CreateCompatibleDC(nullptr));
    HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_FONT);
    {
        Font font(MakeArialFont(14));
        SelectGuard keep(dc.Get(), font.Get());
        EXPECT_TRUE(keep.Ok());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font.Get());
        SelectGuard moved(std::move(keep));
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), original) << "restored once, by the new owner";

    // The off-screen buffer reaches its target when it goes.
    Bitmap targetBitmap(CreateCompatibleBitmap(test::ScreenDc(), 8, 8));
    MemoryDC target(CreateCompatibleDC(nullptr));
    SelectGuard targetSel(target.Get(), targetBitmap.Get());
    {
        OffscreenBuffer buffer(target.Get(), 8, 8);
        ASSERT_TRUE(buffer.Ok());
        Brush red(CreateSolidBrush(RGB(255, 0, 0)));
        RECT all{0, 0, 8, 8};
        FillRect(buffer.Dc(), &all, red.Get());
        EXPECT_NE(GetPixel(target.Get(), 3, 3), RGB(255, 0, 0)) << "nothing drawn directly";
    }
    EXPECT_EQ(GetPixel(target.Get(), 3, 3), RGB(255, 0, 0));
}

// Paints with every kind of owner, so a leak in any of them shows in the counts.
class CPainter : public CWnd {
  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CWnd::GetMessageMap(),
                                    {OnMessage(WM_PAINT, &CPainter::OnPaint)}};
        return &map;
    }
    LRESULT OnPaint(WPARAM, LPARAM) {
        PaintDC dc(Hwnd());
        OffscreenBuffer buffer(dc.Get(), 60, 40);
        Brush brush(CreateSolidBrush(RGB(1, 2, 3)));
        Pen pen(CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
        Font font(MakeArialFont(14));
        Region clip(CreateRectRgn(0, 0, 30, 30));
        SelectGuard p(buffer.Dc(), pen.Get());
        SelectGuard f(buffer.Dc(), font.Get());
        RECT r{0, 0, 60, 40};
        FillRect(buffer.Dc(), &r, brush.Get());
        DrawTextW(buffer.Dc(), L"x", 1, &r, DT_SINGLELINE);
        return 0;
    }
};

TEST(GdiOwners, ThousandWindowsLeaveNoHandlesBehind) {
    auto counts = [] {
        return std::pair<DWORD, DWORD>(test::GdiObjectCount(), test::WindowCount());
    };
    auto cycle = [] {
        CPainter wnd;
        wnd.CreateEx(0, test::TestWindowClass(), L"", WS_POPUP | WS_VISIBLE, RECT{0, 0, 60, 40},
                     nullptr, 0);
        UpdateWindow(wnd.Hwnd());
    };
    cycle();  // first-use allocations (classes, stock objects) before the baseline
    test::Pump();
    const auto before = counts();
    ASSERT_GT(before.first, 0u) << "no way to count GDI objects here";
    for (int i = 0; i < 1000; ++i) {
        cycle();
        if (i % 50 == 0) {
            test::Pump();
        }
    }
    test::Pump();
    const auto after = counts();
    EXPECT_EQ(after.first, before.first) << "GDI objects";
    EXPECT_EQ(after.second, before.second) << "windows";
}

}  // namespace
}  // namespace t30
