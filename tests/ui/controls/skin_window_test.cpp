// The skin window build procedure: a dialog made from a description file and five pictures.
#include "ui/skin/skin_window_win32.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "ui/controls/picture_wnd.h"
#include "ui/controls/rgn_wnd.h"
#include "ui/controls/text_label.h"
#include "ui/framework/app_globals.h"
#include "win_test_support.h"

namespace t30 {
namespace {

constexpr int kWidth = 320, kHeight = 200;
constexpr RECT kOk{200, 140, 300, 180};

bool InRoundedWindow(int x, int y) {
    // Window with corners of radius 24 cut away.
    const int r = 24;
    const int cx = x < r ? r : (x >= kWidth - r ? kWidth - r - 1 : x);
    const int cy = y < r ? r : (y >= kHeight - r ? kHeight - r - 1 : y);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
}

bool InButton(int x, int y) {  // an ellipse filling the OK rectangle
    const double dx = (x - (kOk.left + kOk.right) / 2.0) / ((kOk.right - kOk.left) / 2.0);
    const double dy = (y - (kOk.top + kOk.bottom) / 2.0) / ((kOk.bottom - kOk.top) / 2.0);
    return dx * dx + dy * dy <= 1.0;
}

// The whole window in one state: a dark panel with a title bar and the OK button's face.
COLORREF WindowPixel(int x, int y, COLORREF face) {
    if (InButton(x, y)) {
        return face;
    }
    if (y < 16) {
        return RGB(120, 20, 20);
    }
    const int shade = 30 + y / 8;
    return RGB(shade, shade, shade + 10);
}

class SkinWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        app_ = test::TempFolder(L"t30_skinwin");
        CreateDirectoryW((app_ + L"skins").c_str(), nullptr);
        SetAppFolder(app_);
        const std::wstring skins = App().skinFolder;
        ASSERT_TRUE(test::WriteBmp(skins + L"w_mask.bmp", kWidth, kHeight, [](int x, int y) {
            return InRoundedWindow(x, y) ? RGB(0, 0, 0) : RGB(255, 255, 255);
        }));
        const std::pair<const wchar_t*, COLORREF> states[] = {
            {L"w_normal.bmp", RGB(40, 90, 200)},
            {L"w_over.bmp", RGB(60, 160, 255)},
            {L"w_down.bmp", RGB(200, 40, 40)},
            {L"w_disable.bmp", RGB(100, 100, 100)},
        };
        for (const auto& [name, face] : states) {
            const COLORREF f = face;
            ASSERT_TRUE(test::WriteBmp(skins + name, kWidth, kHeight,
                                       [f](int x, int y) { return WindowPixel(x, y, f); }));
        }
        ASSERT_TRUE(test::WriteBmp(skins + L"ok_mask.bmp", 100, 40, [](int x, int y) {
            return InButton(x + kOk.left, y + kOk.top) ? RGB(0, 0, 0) : RGB(255, 255, 255);
        }));
        std::ofstream ini(std::string(skins.begin(), skins.end()) + "skin_test.ini",
                          std::ios::binary);
        ini << "[Screen]\r\nMask=w_mask.bmp\r\nNormal=w_normal.bmp\r\nOver=w_over.bmp\r\n"
               "Down=w_down.bmp\r\nDisable=w_disable.bmp\r\n"
               "[BUTTONPOS]\r\n1=ok,200,140,100,40\r\n2=title,20,40,180,24\r\n"
               "3=line,20,80,120,6\r\n";
    }

    std::wstring app_;
};

// The shape every skinned window has: a dialog that builds itself from the skin.
class CSkinnedDialog : public CDialog {
  public:
    explicit CSkinnedDialog(std::wstring file, bool withControls = true)
        : file_(std::move(file)), withControls_(withControls) {
        SetTemplateStyle(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
    }
    CRgnButton ok;
    CTextLabel title;
    CLineWnd line;
    SkinWindowImages skin;
    int okClicks = 0;

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CDialog::GetMessageMap(),
                                    {
                                        OnMessage(WM_PAINT, &CSkinnedDialog::OnPaint),
                                        OnMessage(WM_ERASEBKGND, &CSkinnedDialog::OnErase),
                                        OnMessage(WM_COMMAND, &CSkinnedDialog::OnCommandMsg),
                                    }};
        return &map;
    }
    BOOL OnInitDialog() override {
        const std::vector<SkinControl> controls = {
            {1,
             [this](const SkinEntry&, const RECT& r, const SkinPictures& p) {
                 ok.SetMaskFile(App().skinFolder + L"ok_mask.bmp");
                 ok.Create(L"", r, Hwnd(), 0);
                 ok.SetStateImages(p.Part(r));
                 ok.SetCaption(L"OK");
             }},
            {2,
             [this](const SkinEntry&, const RECT& r, const SkinPictures&) {
                 title.Create(r, Hwnd());
                 title.SetLabelText(L"VANTREL T-30");
             }},
            {3,
             [this](const SkinEntry&, const RECT& r, const SkinPictures&) {
                 line.Create(r, Hwnd(), 0);
                 line.SetPicture(App().skinFolder + L"w_over.bmp");
             }},
        };
        BuildSkinWindow(Hwnd(), file_, u"SCREEN",
                        withControls_ ? controls : std::vector<SkinControl>{}, skin);
        return TRUE;
    }
    LRESULT OnPaint(WPARAM, LPARAM) {
        PaintSkinBackground(Hwnd(), skin);
        return 0;
    }
    LRESULT OnErase(WPARAM, LPARAM) { return 1; }
    LRESULT OnCommandMsg(WPARAM, LPARAM lParam) {
        okClicks += reinterpret_cast<HWND>(lParam) == ok.Hwnd();
        return 0;
    }

  private:
    std::wstring file_;
    bool withControls_;
};

// Whether the window carries a region of its own.
bool HasRegion(HWND window) {
    Region probe(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(window, probe.Get()) != ERROR;
}

RECT ChildRect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(SkinWindow, BuildsShapeControlsAndBackgroundFromTheSkin) {
    CSkinnedDialog dialog(L"skin_test.ini");
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    SetForegroundWindow(dialog.Hwnd());
    test::PumpFor(100);

    RECT window;
    GetWindowRect(dialog.Hwnd(), &window);
    EXPECT_TRUE(SameRect(window, RECT{0, 0, kWidth, kHeight})) << "at (0, 0), Normal's size";
    EXPECT_EQ(dialog.skin.size.cx, kWidth);
    EXPECT_TRUE(HasRegion(dialog.Hwnd()));
    EXPECT_NE(dialog.skin.Background(), nullptr);

    EXPECT_NE(WindowFromPoint(POINT{2, 2}), dialog.Hwnd()) << "corner cut away by the mask";
    EXPECT_EQ(WindowFromPoint(POINT{30, 120}), dialog.Hwnd());
    EXPECT_EQ(WindowFromPoint(POINT{250, 160}), dialog.ok.Hwnd());
    EXPECT_NE(WindowFromPoint(POINT{202, 142}), dialog.ok.Hwnd()) << "outside the ellipse";

    EXPECT_TRUE(SameRect(ChildRect(dialog.ok.Hwnd()), kOk));
    EXPECT_TRUE(SameRect(ChildRect(dialog.title.Hwnd()), RECT{20, 40, 200, 64}));
    EXPECT_TRUE(SameRect(ChildRect(dialog.line.Hwnd()), RECT{20, 80, 140, 86}));

    // The background is the Normal picture; the button shows its own cut-out.
    {
        WindowDC dc(dialog.Hwnd());
        EXPECT_EQ(GetPixel(dc.Get(), 100, 5), RGB(120, 20, 20));
        WindowDC okDc(dialog.ok.Hwnd());
        EXPECT_EQ(GetPixel(okDc.Get(), 20, 20), RGB(40, 90, 200));
    }

    test::MoveTo(250, 165);
    test::LeftDown();
    test::LeftUp();
    EXPECT_TRUE(test::PumpUntil([&] { return dialog.okClicks == 1; }));

    if (const char* ms = std::getenv("T30_SHOWCASE_MS")) {  // time for a screenshot
        test::MoveTo(250, 160);
        test::PumpFor(static_cast<DWORD>(std::atoi(ms)));
    }
    dialog.DestroyWindow();
}

// Pages have no controls of their own in the skin: shape and background all the same.
TEST_F(SkinWindow, WindowWithoutControlsIsShapedAndPainted) {
    CSkinnedDialog dialog(L"skin_test.ini", false);
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    test::PumpFor(100);
    RECT window;
    GetWindowRect(dialog.Hwnd(), &window);
    EXPECT_TRUE(SameRect(window, RECT{0, 0, kWidth, kHeight}));
    EXPECT_TRUE(HasRegion(dialog.Hwnd()));
    EXPECT_NE(WindowFromPoint(POINT{2, 2}), dialog.Hwnd()) << "corner cut away by the mask";
    EXPECT_EQ(WindowFromPoint(POINT{30, 120}), dialog.Hwnd());
    EXPECT_EQ(dialog.ok.Hwnd(), nullptr);
    WindowDC dc(dialog.Hwnd());
    EXPECT_EQ(GetPixel(dc.Get(), 100, 5), RGB(120, 20, 20));
    dialog.DestroyWindow();
}

TEST_F(SkinWindow, MissingSkinFileGivesAnEmptyWindowAndNoCrash) {
    CSkinnedDialog dialog(L"no_such_skin.ini");
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    test::PumpFor(50);
    RECT window;
    GetWindowRect(dialog.Hwnd(), &window);
    EXPECT_EQ(window.right - window.left, 0);
    EXPECT_FALSE(HasRegion(dialog.Hwnd()));
    EXPECT_EQ(dialog.skin.Background(), nullptr);
    ASSERT_NE(dialog.ok.Hwnd(), nullptr) << "controls are still made, with no size";
    const RECT ok = ChildRect(dialog.ok.Hwnd());
    EXPECT_EQ(ok.right - ok.left, 0);
    dialog.DestroyWindow();
}

}  // namespace
}  // namespace t30
