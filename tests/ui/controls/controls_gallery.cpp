// Lays every control out on a dark window in each state it can show, opens a dark menu with a
// sub-menu over it, and stays up for the given number of seconds, for screenshots.
//   controls_gallery.exe [seconds] [menu]
#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <cwchar>
#include <string>

#include "controls_test_support.h"
#include "ui/controls/bmp_edit.h"
#include "ui/controls/ex_menu.h"
#include "ui/controls/list_box_ex.h"
#include "ui/controls/slider.h"
#include "ui/controls/spin_wnd.h"
#include "ui/framework/gdi.h"
#include "win_test_support.h"

using namespace t30;

namespace {

constexpr COLORREF kDark = RGB(24, 24, 24);
constexpr int kWidth = 760, kHeight = 460;

// Whole-window pictures of the spin's states: a panel with two arrows at the spin's place.
Bitmap SpinPicture(const RECT& at, COLORREF panel, COLORREF arrow) {
    Bitmap picture = test::SolidPicture(kWidth, kHeight, kDark);
    WindowDC screen(nullptr);
    MemoryDC dc(CreateCompatibleDC(screen.Get()));
    SelectGuard keep(dc.Get(), picture.Get());
    Brush fill(CreateSolidBrush(panel));
    FillRect(dc.Get(), &at, fill.Get());
    Brush mark(CreateSolidBrush(arrow));
    Pen none(CreatePen(PS_NULL, 0, 0));
    SelectGuard brushSel(dc.Get(), mark.Get());
    SelectGuard penSel(dc.Get(), none.Get());
    const int cx = (at.left + at.right) / 2;
    POINT up[3] = {{cx - 5, at.top + 14}, {cx + 6, at.top + 14}, {cx, at.top + 7}};
    POINT down[3] = {{cx - 5, at.top + 29}, {cx + 6, at.top + 29}, {cx, at.top + 36}};
    Polygon(dc.Get(), up, 3);
    Polygon(dc.Get(), down, 3);
    return picture;
}

Bitmap TrackPicture() {
    Bitmap picture = test::SolidPicture(kWidth, kHeight, kDark);
    WindowDC screen(nullptr);
    MemoryDC dc(CreateCompatibleDC(screen.Get()));
    SelectGuard keep(dc.Get(), picture.Get());
    Brush groove(CreateSolidBrush(RGB(80, 80, 80)));
    for (int i = 0; i < 3; ++i) {
        RECT line{30, 60 + i * 40 + 8, 330, 60 + i * 40 + 12};
        FillRect(dc.Get(), &line, groove.Get());
    }
    return picture;
}

class CGallery : public test::CRecorder {};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int seconds = argc > 1 ? _wtoi(argv[1]) : 5;
    const bool showMenu = argc > 2 && std::wcscmp(argv[2], L"menu") == 0;
    test::GdiplusScope gdiplus;
    if (!(argc > 3 && std::wcscmp(argv[3], L"nohook") == 0)) {
        InstallMenuFrameHook();
    }
    {
        CGallery window;
        window.CreateAt(20, 20, kWidth, kHeight);
        SetWindowPos(window.Hwnd(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetClassLongPtrW(window.Hwnd(), GCLP_HBRBACKGROUND,
                         reinterpret_cast<LONG_PTR>(GetStockObject(BLACK_BRUSH)));
        InvalidateRect(window.Hwnd(), nullptr, TRUE);

        const std::wstring folder = test::TempFolder(L"t30_gallery");
        const std::wstring knob = folder + L"knob.bmp";
        test::WriteBmp(knob, 11, 20, [](int x, int y) {
            const bool corner = (x == 0 || x == 10) && (y == 0 || y == 19);
            return corner ? RGB(255, 255, 255) : RGB(220, 40, 40);
        });
        Bitmap track = TrackPicture();
        CClickHSlider sliders[3];
        for (int i = 0; i < 3; ++i) {
            const RECT rect{30, 60 + i * 40, 330, 80 + i * 40};
            sliders[i].Create(knob, rect, window.Hwnd(), 200 + i);
            sliders[i].SetTrackImage(
                SkinPart(StatePictures::Copying(track.Get(), nullptr, nullptr, nullptr), rect));
            sliders[i].SetRange(1, 11);
            sliders[i].SetValue(i == 0 ? 1 : (i == 1 ? 6 : 11));
        }

        // Edits: grey field, focused numeric field, black-on-white field of the advanced page.
        CBmpEdit edits[3];
        const wchar_t* texts[3] = {L"Shift + A", L"125", L"3"};
        for (int i = 0; i < 3; ++i) {
            edits[i].Create(WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | (i == 1 ? ES_CENTER : 0),
                            RECT{30 + i * 110, 200, 130 + i * 110, 226}, window.Hwnd(), 0);
            edits[i].SetNumericFilter(i > 0);
            edits[i].ApplyFont();
            SetWindowTextW(edits[i].Hwnd(), texts[i]);
        }
        edits[2].SetBackgroundColour(RGB(255, 255, 255));
        edits[2].SetTextColour(RGB(0, 0, 0));

        // Spins: enabled and disabled.
        const RECT spinRects[2] = {{370, 60, 390, 103}, {410, 60, 430, 103}};
        Bitmap pictures[2][4];
        CSpinWnd spins[2];
        for (int s = 0; s < 2; ++s) {
            pictures[s][0] = SpinPicture(spinRects[s], RGB(60, 60, 60), RGB(230, 230, 230));
            pictures[s][1] = SpinPicture(spinRects[s], RGB(90, 90, 90), RGB(255, 80, 80));
            pictures[s][2] = SpinPicture(spinRects[s], RGB(120, 0, 0), RGB(255, 255, 255));
            pictures[s][3] = SpinPicture(spinRects[s], RGB(45, 45, 45), RGB(110, 110, 110));
            spins[s].Create(spinRects[s], window.Hwnd(), 400 + s);
            spins[s].SetStateImages(
                SkinPart(StatePictures::Copying(pictures[s][0].Get(), pictures[s][1].Get(),
                                                pictures[s][2].Get(), pictures[s][3].Get()),
                         spinRects[s]));
            spins[s].SetRange(1, 11);
            spins[s].SetValue(6);
        }
        EnableWindow(spins[1].Hwnd(), FALSE);
        EnableWindow(spins[1].UpButton().Hwnd(), FALSE);
        EnableWindow(spins[1].DownButton().Hwnd(), FALSE);

        // Lists: dark skin list with every row picture, a selection and an open new row; the
        // macro selection dialog's white list.
        CListBoxEx lists[2];
        lists[0].Create(WS_VISIBLE | WS_VSCROLL | WS_TABSTOP, RECT{460, 40, 740, 250},
                        window.Hwnd(), 0);
        lists[0].SetKeepOwner(true);
        lists[0].SetListId(4097);
        lists[0].SetColours(RGB(34, 34, 34), RGB(150, 20, 20));
        lists[0].SetTextColours(RGB(220, 220, 220), RGB(255, 255, 255));
        lists[0].AddRow(137, L"A press");
        lists[0].AddRow(135, L"250 ms");
        lists[0].AddRow(138, L"A release");
        lists[0].AddRow(146, L"Macro with a name long enough to be cut at the end");
        lists[0].AddRow(1, L"Reserved picture: text only");
        lists[0].AddRow(0, L"No picture");
        EnableWindow(lists[0].Hwnd(), TRUE);
        lists[0].SelectRow(1);
        lists[1].Create(WS_VISIBLE | WS_BORDER | WS_VSCROLL, RECT{460, 270, 740, 440},
                        window.Hwnd(), 0);
        lists[1].SetKeepOwner(true);
        lists[1].SetEditable(true);
        lists[1].SetListId(4096);
        lists[1].SetColours(RGB(255, 255, 255), GetSysColor(COLOR_HIGHLIGHT));
        lists[1].SetTextColours(RGB(0, 0, 0), RGB(255, 255, 255));
        lists[1].AddRow(146, L"Macro 1");
        lists[1].AddRow(146, L"Macro 2");
        lists[1].SelectRow(0);
        lists[1].StartNewRow();
        SendMessageW(lists[1].EditWindow(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"New macro"));

        SetFocus(edits[1].Hwnd());
        SetForegroundWindow(window.Hwnd());

        Gdiplus::Font font(L"Arial", 12, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
        CExMenu sub(&font);
        CExMenu menu(&font);
        if (showMenu) {
            sub.CreatePopup();
            int subWidth = 159;
            for (auto [id, text] : {std::pair<UINT, const wchar_t*>{3001, L"Ctrl + C"},
                                    {3002, L"Ctrl + V"},
                                    {3003, L"A shortcut with a very long name that is cut"}}) {
                sub.AppendItem(id, text);
                subWidth = MeasureMenuText(text, subWidth);
            }
            sub.SetItemWidth(subWidth);
            menu.CreatePopup();
            int width = 159;
            menu.AppendItem(1001, L"Left button");
            menu.AppendItem(1, L"invisible");
            menu.AppendItem(1002, L"Right button");
            menu.AppendItem(CExMenu::kSeparator, L"");
            menu.AppendItem(1003, L"Shortcuts", sub.Handle());
            menu.AppendItem(1004, L"Disabled-looking? no: plain");
            width = MeasureMenuText(L"Disabled-looking? no: plain", width);
            menu.SetItemWidth(width);
        }

        const DWORD end = GetTickCount() + static_cast<DWORD>(seconds) * 1000;
        if (showMenu) {
            SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000,
                     [](HWND, UINT, UINT_PTR, DWORD) { EndMenu(); });
            test::PumpFor(500);
            TrackPopupMenu(menu.Handle(), TPM_LEFTALIGN | TPM_TOPALIGN, 60, 300, 0, window.Hwnd(),
                           nullptr);
        }
        while (GetTickCount() < end) {
            test::PumpFor(50);
        }

        DeleteFileW(knob.c_str());
        RemoveDirectoryW(folder.c_str());
    }
    RemoveMenuFrameHook();
    return 0;
}
