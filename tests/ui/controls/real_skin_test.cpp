// The toolkit against the product's own skin set and language library: the warning dialog's
// skin, its OK and Cancel region buttons, and the texts they carry.
#include <gtest/gtest.h>

#include <cstdlib>

#include "string_ids.h"
#include "ui/controls/rgn_wnd.h"
#include "ui/framework/app_globals.h"
#include "ui/skin/skin_file.h"
#include "ui/skin/skin_win32.h"
#include "ui/skin/skin_window_win32.h"
#include "win_test_support.h"

namespace t30 {
namespace {

class CWarnLike : public CDialog {
  public:
    CWarnLike() { SetTemplateStyle(WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN); }
    CRgnButton ok, cancel;
    SkinWindowImages skin;
    std::vector<HWND> clicked;

  protected:
    const MessageMap* GetMessageMap() const override {
        static const MessageMap map{CDialog::GetMessageMap(),
                                    {
                                        OnMessage(WM_PAINT, &CWarnLike::OnPaint),
                                        OnMessage(WM_ERASEBKGND, &CWarnLike::OnErase),
                                        OnMessage(WM_COMMAND, &CWarnLike::OnCommandMsg),
                                    }};
        return &map;
    }
    BOOL OnInitDialog() override {
        auto button = [this](CRgnButton& b, const wchar_t* mask, UINT caption) {
            return
                [this, &b, mask, caption](const SkinEntry&, const RECT& r, const SkinPictures& p) {
                    b.SetMaskFile(App().skinFolder + mask);
                    b.Create(L"", r, Hwnd(), 0);
                    b.SetStateImages(p.Part(r));
                    b.SetCaption(LangString(caption));
                };
        };
        BuildSkinWindow(Hwnd(), L"skin_warn.ini", u"SCREEN",
                        {{1, button(ok, L"ok_mask.bmp", IDS_OK)},
                         {2, button(cancel, L"cancel_mask.bmp", IDS_CANCEL)}},
                        skin);
        return TRUE;
    }
    LRESULT OnPaint(WPARAM, LPARAM) {
        PaintSkinBackground(Hwnd(), skin);
        return 0;
    }
    LRESULT OnErase(WPARAM, LPARAM) { return 1; }
    LRESULT OnCommandMsg(WPARAM, LPARAM lParam) {
        clicked.push_back(reinterpret_cast<HWND>(lParam));
        return 0;
    }
};

class RealSkinSet : public ::testing::Test {
  protected:
    void SetUp() override {
        SetAppFolder(T30_REAL_APP);
        App().skinFolder = T30_REAL_SKINS;
        ASSERT_TRUE(LoadLanguageLibrary()) << "lan.dll of the product";
    }
    void TearDown() override { App().language.Reset(); }
};

TEST_F(RealSkinSet, TitleStringNamesTheProduct) {
    EXPECT_EQ(LangString(1111), L"VANTREL T-30") << "a second start looks for this title";
    EXPECT_FALSE(LangString(IDS_OK).empty());
    EXPECT_FALSE(LangString(IDS_WARN_TITLE).empty());
}

TEST_F(RealSkinSet, WarningDialogTakesItsShapeAndButtonsFromTheSkin) {
    const std::wstring skins = App().skinFolder;
    const SkinFile file(std::filesystem::path(skins + L"skin_warn.ini"));
    const SkinEntry okEntry = file.Entry(1);
    ASSERT_GT(okEntry.Width(), 0);
    Bitmap normal;
    const SIZE size = LoadSkinPicture(skins + ToWide(file.Pictures(u"SCREEN").normal), normal);
    ASSERT_GT(size.cx, 0);

    CWarnLike dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    SetForegroundWindow(dialog.Hwnd());
    test::PumpFor(100);
    RECT window;
    GetWindowRect(dialog.Hwnd(), &window);
    EXPECT_EQ(window.right - window.left, size.cx);
    EXPECT_EQ(window.bottom - window.top, size.cy);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(dialog.Hwnd(), shape), ERROR) << "shaped by the skin's mask";
    DeleteObject(shape);
    EXPECT_NE(dialog.ok.HitRegion(), nullptr) << "ok_mask.bmp gave the button its shape";

    const POINT okCentre{(okEntry.left + okEntry.right) / 2, (okEntry.top + okEntry.bottom) / 2};
    EXPECT_EQ(WindowFromPoint(okCentre), dialog.ok.Hwnd());
    test::MoveTo(okCentre.x, okCentre.y);
    test::LeftDown();
    test::LeftUp();
    EXPECT_TRUE(test::PumpUntil([&] { return !dialog.clicked.empty(); }));
    EXPECT_EQ(dialog.clicked.at(0), dialog.ok.Hwnd());

    if (const char* ms = std::getenv("T30_SHOWCASE_MS")) {  // time for a screenshot
        test::MoveTo(okCentre.x, okCentre.y + 1);
        test::PumpFor(static_cast<DWORD>(std::atoi(ms)));
    }
    dialog.DestroyWindow();
}

}  // namespace
}  // namespace t30
