#include "ui/controls/ex_menu.h"

#include <cmath>
#include <memory>
#include <set>
#include <unordered_map>

#include "ui/framework/gdi.h"

namespace t30 {
namespace {

// The live menus, so item data can be trusted before it is used as a CExMenu.
std::set<const CExMenu*>& LiveMenus() {
    static std::set<const CExMenu*> menus;
    return menus;
}

constexpr float kMenuFontPixels = 12.0f;

ULONG_PTR gdiplusToken = 0;

Gdiplus::Color ToColor(COLORREF c) {
    return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c));
}

}  // namespace

MenuFont::GdiplusStarted::GdiplusStarted() {
    if (gdiplusToken == 0) {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr) != Gdiplus::Ok) {
            gdiplusToken = 0;  // the menus fall back to GDI text
        }
    }
}

MenuFont::MenuFont()
    : font_(L"Arial", kMenuFontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel) {}

void StopGdiplus() {
    if (gdiplusToken != 0) {
        Gdiplus::GdiplusShutdown(gdiplusToken);
        gdiplusToken = 0;
    }
}

CExMenu::CExMenu(const Gdiplus::Font* font) : font_(font) {
    LiveMenus().insert(this);
}

CExMenu::~CExMenu() {
    LiveMenus().erase(this);
    DestroyOwned();
}

void CExMenu::DestroyOwned() {
    if (menu_ == nullptr) {
        return;
    }
    // Sub-menus belong to their own objects: take them out so they are not destroyed with ours.
    for (int i = GetMenuItemCount(menu_) - 1; i >= 0; --i) {
        if (GetSubMenu(menu_, i) != nullptr) {
            RemoveMenu(menu_, static_cast<UINT>(i), MF_BYPOSITION);
        }
    }
    DestroyMenu(menu_);
    menu_ = nullptr;
    items_.clear();
    subMenus_.clear();
}

bool CExMenu::CreatePopup() {
    DestroyOwned();
    menu_ = CreatePopupMenu();
    return menu_ != nullptr;
}

void CExMenu::Attach(HMENU menu) {
    DestroyOwned();
    menu_ = menu;
}

bool CExMenu::AppendItem(UINT id, const std::wstring& text, HMENU subMenu) {
    if (menu_ == nullptr) {
        return false;
    }
    const ULONG_PTR self = reinterpret_cast<ULONG_PTR>(this);
    BOOL ok;
    if (id == kSeparator) {
        ok = AppendMenuW(menu_, MF_OWNERDRAW | MF_SEPARATOR, 0, reinterpret_cast<LPCWSTR>(self));
        id = 0;
    } else if (subMenu != nullptr) {
        // The item keeps the command id for lookups; the system knows it by its sub-menu.
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
        info.fType = MFT_OWNERDRAW;
        info.wID = id;
        info.hSubMenu = subMenu;
        info.dwItemData = self;
        ok = InsertMenuItemW(menu_, static_cast<UINT>(GetMenuItemCount(menu_)), TRUE, &info);
        if (ok) {
            subMenus_.push_back(subMenu);
        }
    } else {
        ok = AppendMenuW(menu_, MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(self));
    }
    if (ok) {
        items_.push_back(MenuItemEntry{text, id});
    }
    return ok != FALSE;
}

CExMenu* CExMenu::FromItemData(ULONG_PTR data) {
    auto* menu = reinterpret_cast<CExMenu*>(data);
    return LiveMenus().count(menu) ? menu : nullptr;
}

bool CExMenu::HandleMeasureItem(MEASUREITEMSTRUCT* mis) {
    if (mis == nullptr || mis->CtlType != ODT_MENU) {
        return false;
    }
    CExMenu* menu = FromItemData(mis->itemData);
    if (menu == nullptr) {
        return false;
    }
    menu->MeasureItem(*mis);
    return true;
}

bool CExMenu::HandleDrawItem(const DRAWITEMSTRUCT* dis) {
    if (dis == nullptr || dis->CtlType != ODT_MENU) {
        return false;
    }
    CExMenu* menu = FromItemData(dis->itemData);
    if (menu == nullptr) {
        return false;
    }
    menu->DrawItem(*dis);
    return true;
}

void CExMenu::MeasureItem(MEASUREITEMSTRUCT& mis) {
    if (mis.itemID == 0) {
        mis.itemHeight = 5;
    } else if (mis.itemID == 1) {
        mis.itemHeight = 0;  // the invisible item
    } else {
        mis.itemHeight = static_cast<UINT>(itemHeight_ + 5);
    }
    mis.itemWidth = static_cast<UINT>(itemWidth_);
}

void CExMenu::DrawItem(const DRAWITEMSTRUCT& dis) {
    const FoundItem item = FindItem(dis.itemID);
    if (dis.itemID == 0 && !item.opensSubMenu) {
        DrawSeparator(dis.hDC, dis.rcItem);
    } else if (dis.itemID != 1) {
        DrawTextItem(dis.hDC, dis.rcItem, item, (dis.itemState & ODS_SELECTED) != 0);
    }
    // Nothing the system draws afterwards (its sub-menu arrow) may cover the item.
    ExcludeClipRect(dis.hDC, dis.rcItem.left, dis.rcItem.top, dis.rcItem.right, dis.rcItem.bottom);
}

CExMenu::FoundItem CExMenu::FindItem(UINT itemId) const {
    // A sub-menu entry is known to the system by its sub-menu handle.
    for (int i = 0, n = GetMenuItemCount(menu_); i < n; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &info)) {
            continue;
        }
        const bool match =
            info.hSubMenu != nullptr
                ? reinterpret_cast<UINT_PTR>(info.hSubMenu) == itemId || info.wID == itemId
                : info.wID == itemId && !(info.fType & MFT_SEPARATOR);
        if (match) {
            FoundItem found;
            found.opensSubMenu = info.hSubMenu != nullptr;
            if (static_cast<std::size_t>(i) < items_.size()) {
                found.entry = &items_[static_cast<std::size_t>(i)];
            }
            return found;
        }
    }
    return {};
}

void CExMenu::DrawSeparator(HDC dc, const RECT& rc) const {
    Brush fill(CreateSolidBrush(normalBackground_));
    FillRect(dc, &rc, fill.Get());
    Pen pen(CreatePen(PS_SOLID, 1, separator_));
    SelectGuard keep(dc, pen.Get());
    const int y = (rc.top + rc.bottom) / 2;
    MoveToEx(dc, rc.left, y, nullptr);
    LineTo(dc, rc.right, y);
}

void CExMenu::DrawTextItem(HDC dc, const RECT& rc, const FoundItem& item, bool selected) const {
    {
        Brush fill(CreateSolidBrush(selected ? selectedBackground_ : normalBackground_));
        FillRect(dc, &rc, fill.Get());
    }
    if (item.entry != nullptr && !item.entry->text.empty()) {
        DrawItemText(dc, rc, item.entry->text, selected ? RGB(0, 0, 0) : normalText_);
    }
    if (item.opensSubMenu) {
        HICON mark =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kSubMenuMark),
                                          IMAGE_ICON, 0, 0, LR_SHARED));  // its own size
        if (mark != nullptr) {
            DrawIconEx(dc, rc.right - 19, rc.top - 5, mark, 0, 0, 0, nullptr, DI_NORMAL);
        }
    }
}

void CExMenu::DrawItemText(HDC dc, const RECT& rc, const std::wstring& text,
                           COLORREF colour) const {
    if (font_ == nullptr || font_->GetLastStatus() != Gdiplus::Ok) {
        // The owner's font could not be made (a face GDI+ does not know): GDI's Arial.
        Font font(MakeArialFont(12, FW_NORMAL));
        SelectGuard keep(dc, font.Get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colour);
        RECT textRect = rc;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_WORD_ELLIPSIS | DT_NOPREFIX);
        return;
    }
    Gdiplus::Graphics graphics(dc);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
    Gdiplus::StringFormat format;
    format.SetAlignment(Gdiplus::StringAlignmentNear);
    format.SetLineAlignment(Gdiplus::StringAlignmentCenter);
    format.SetTrimming(Gdiplus::StringTrimmingEllipsisWord);
    format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
    Gdiplus::SolidBrush brush(ToColor(colour));
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rc.left),
                                static_cast<Gdiplus::REAL>(rc.top),
                                static_cast<Gdiplus::REAL>(rc.right - rc.left),
                                static_cast<Gdiplus::REAL>(rc.bottom - rc.top));
    graphics.DrawString(text.c_str(), static_cast<INT>(text.size()), font_, layout, &format,
                        &brush);
}

int MeasureMenuText(const std::wstring& text, int minimum) {
    int width = 0;
    {
        // Where GDI+ does not know "Arial" by that name, its generic sans-serif face stands in.
        Gdiplus::FontFamily arial(L"Arial");
        const Gdiplus::FontFamily* family =
            arial.GetLastStatus() == Gdiplus::Ok ? &arial : Gdiplus::FontFamily::GenericSansSerif();
        Gdiplus::GraphicsPath path;
        Gdiplus::StringFormat format;
        format.SetFormatFlags(Gdiplus::StringFormatFlagsNoWrap);
        path.AddString(text.c_str(), static_cast<INT>(text.size()), family,
                       Gdiplus::FontStyleRegular, 13.0f, Gdiplus::PointF(0, 0), &format);
        Gdiplus::RectF bounds;
        if (path.GetBounds(&bounds) == Gdiplus::Ok) {
            width = static_cast<int>(std::ceil(bounds.Width));
        }
    }
    if (width <= 0 && !text.empty()) {
        // No outline to be had (GDI+ not started, no face): the text's GDI extent.
        WindowDC screen(nullptr);
        Font font(MakeArialFont(13, FW_NORMAL));
        SelectGuard keep(screen.Get(), font.Get());
        SIZE size{};
        GetTextExtentPoint32W(screen.Get(), text.c_str(), static_cast<int>(text.size()), &size);
        width = size.cx;
    }
    return width > minimum ? width : minimum;
}

// ---- Menu-frame hook

namespace {

constexpr wchar_t kOldProcProp[] = L"CoolMenu_oldProc";
constexpr wchar_t kMenuClass[] = L"#32768";
constexpr UINT kMenuSizeWindow = 0x1E2;  // MN_SIZEWINDOW

struct FrameRecord {
    WNDPROC oldProc;
};

// Two hooks: the window-procedure hook frames menu windows, but under Wine it makes every message
// sent on the thread three requests to the server dearer (most of the work of showing the main
// window again). So it is in place only while a menu window exists: a CBT hook, called only when
// a window is made, activated or focused, puts it in as a menu window is being created (it then
// sees that window's WM_CREATE), and it goes when the last framed menu window goes.
struct HookState {
    HHOOK watch = nullptr;  // CBT
    HHOOK hook = nullptr;   // window procedure
    std::unordered_map<HWND, std::unique_ptr<FrameRecord>> frames;
};

HookState& Hook() {
    static HookState state;
    return state;
}

void Outline(HDC dc, int inset, int width, int height, COLORREF colour) {
    Brush brush(CreateSolidBrush(colour));
    const RECT rc{inset, inset, width - inset, height - inset};
    FrameRect(dc, &rc, brush.Get());
}

void DrawMenuFrame(HWND hwnd, HDC dc) {
    RECT window;
    GetWindowRect(hwnd, &window);
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    Outline(dc, 0, w, h, RGB(255, 0, 0));
    Outline(dc, 1, w, h, RGB(30, 30, 30));
    Outline(dc, 2, w, h, RGB(30, 30, 30));
}

WNDPROC OldProc(HWND hwnd) {
    return reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOldProcProp));
}

bool IsMenuWindow(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpW(name, kMenuClass) == 0;
}

void Unframe(HWND hwnd) {
    WNDPROC old = OldProc(hwnd);
    if (old != nullptr) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
        RemovePropW(hwnd, kOldProcProp);
    }
    HookState& state = Hook();
    state.frames.erase(hwnd);
    if (state.frames.empty() && state.hook != nullptr) {
        UnhookWindowsHookEx(state.hook);
        state.hook = nullptr;
    }
}

LRESULT CALLBACK MenuFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WNDPROC old = OldProc(hwnd);
    if (old == nullptr) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_NCPAINT: {
            HDC dc = GetWindowDC(hwnd);
            if (dc != nullptr) {
                DrawMenuFrame(hwnd, dc);
                ReleaseDC(hwnd, dc);
            }
            return 0;
        }
        case WM_PAINT: {
            // Some menu implementations draw their own edge inside the client area; the frame
            // goes over it once the items are painted.
            const LRESULT result = CallWindowProcW(old, hwnd, message, wParam, lParam);
            HDC dc = GetWindowDC(hwnd);
            if (dc != nullptr) {
                DrawMenuFrame(hwnd, dc);
                ReleaseDC(hwnd, dc);
            }
            return result;
        }
        case WM_PRINT: {
            const LRESULT result = CallWindowProcW(old, hwnd, message, wParam, lParam);
            DrawMenuFrame(hwnd, reinterpret_cast<HDC>(wParam));
            return result;
        }
        case WM_SHOWWINDOW:
            if (wParam != 0) {
                break;
            }
            [[fallthrough]];
        case WM_NCDESTROY:
            Unframe(hwnd);
            return CallWindowProcW(old, hwnd, message, wParam, lParam);
        default:
            break;
    }
    return CallWindowProcW(old, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK MenuFrameHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && msg != nullptr &&
        (msg->message == WM_CREATE || msg->message == kMenuSizeWindow)) {
        if (IsMenuWindow(msg->hwnd) && GetPropW(msg->hwnd, kOldProcProp) == nullptr) {
            auto record = std::make_unique<FrameRecord>();
            record->oldProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(msg->hwnd, GWLP_WNDPROC));
            SetPropW(msg->hwnd, kOldProcProp, reinterpret_cast<HANDLE>(record->oldProc));
            if (SetWindowLongPtrW(msg->hwnd, GWLP_WNDPROC,
                                  reinterpret_cast<LONG_PTR>(&MenuFrameProc)) == 0) {
                RemovePropW(msg->hwnd, kOldProcProp);
            } else {
                Hook().frames[msg->hwnd] = std::move(record);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK MenuWatchHook(int code, WPARAM wParam, LPARAM lParam) {
    HookState& state = Hook();
    if (code == HCBT_CREATEWND && state.hook == nullptr &&
        IsMenuWindow(reinterpret_cast<HWND>(wParam))) {
        state.hook =
            SetWindowsHookExW(WH_CALLWNDPROC, &MenuFrameHook, nullptr, GetCurrentThreadId());
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool InstallMenuFrameHook() {
    HookState& state = Hook();
    if (state.watch != nullptr) {
        return true;
    }
    state.frames.clear();
    state.frames.reserve(1000);
    state.watch = SetWindowsHookExW(WH_CBT, &MenuWatchHook, nullptr, GetCurrentThreadId());
    return state.watch != nullptr;
}

void RemoveMenuFrameHook() {
    HookState& state = Hook();
    for (auto& [hwnd, record] : state.frames) {
        if (IsWindow(hwnd)) {
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->oldProc));
            RemovePropW(hwnd, kOldProcProp);
        }
    }
    state.frames.clear();
    for (HHOOK* hook : {&state.hook, &state.watch}) {
        if (*hook != nullptr) {
            UnhookWindowsHookEx(*hook);
            *hook = nullptr;
        }
    }
}

void TrackFramedMenu(HMENU menu, UINT flags, int x, int y, HWND owner) {
    InstallMenuFrameHook();
    TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr);
    PostMessageW(owner, WM_NULL, 0, 0);
}

std::size_t FramedMenuCount() {
    return Hook().frames.size();
}

}  // namespace t30
