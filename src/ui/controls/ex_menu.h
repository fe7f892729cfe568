// CExMenu: a pop-up menu whose items are all owner-drawn, dark with light text; and the
// thread-wide menu-frame hook that gives every pop-up menu window of the thread a thin dark frame
// with a red outer line.
//
//   MenuFont font;
//   CExMenu menu(font.Get());
//   menu.CreatePopup();
//   int width = 159;
//   menu.AppendItem(1001, L"Copy");  width = MeasureMenuText(L"Copy", width);
//   menu.AppendItem(CExMenu::kSeparator, L"");
//   menu.SetItemWidth(width);
//   TrackPopupMenu(menu.Handle(), ..., owner, nullptr);
//   // the owner's WM_MEASUREITEM / WM_DRAWITEM (ODT_MENU) call CExMenu::HandleMeasureItem /
//   // HandleDrawItem, which answer for the items of any live CExMenu.
#pragma once

#include <windows.h>

#include <objidl.h>  // IStream, which the GDI+ headers need

#include <gdiplus.h>

#include <string>
#include <vector>

namespace t30 {

struct MenuItemEntry {
    std::wstring text;
    UINT id;
};

class CExMenu {
  public:
    static constexpr UINT kSeparator = MF_SEPARATOR;  // 0x800 as a command id: a separator
    static constexpr int kSubMenuMark = 145;          // icon resource of the program

    // font: the owner's, kept alive by the owner while the menu is used.
    explicit CExMenu(const Gdiplus::Font* font);
    virtual ~CExMenu();
    CExMenu(const CExMenu&) = delete;
    CExMenu& operator=(const CExMenu&) = delete;

    // Creates the empty pop-up menu the object owns (replacing any it had).
    bool CreatePopup();
    // Takes ownership of an existing empty pop-up menu.
    void Attach(HMENU menu);
    HMENU Handle() const { return menu_; }

    // A separator for kSeparator, an entry opening subMenu when given, else a command item.
    // A sub-menu stays owned by whoever owns it (another CExMenu).
    bool AppendItem(UINT id, const std::wstring& text, HMENU subMenu = nullptr);
    void SetItemWidth(int width) { itemWidth_ = width; }
    void SetItemHeight(int height) { itemHeight_ = height; }
    const std::vector<MenuItemEntry>& Items() const { return items_; }

    // Owner-drawn menu messages of the owner window; true when the item was one of a CExMenu.
    static bool HandleMeasureItem(MEASUREITEMSTRUCT* mis);
    static bool HandleDrawItem(const DRAWITEMSTRUCT* dis);

  protected:
    virtual void DrawItem(const DRAWITEMSTRUCT& dis);
    virtual void MeasureItem(MEASUREITEMSTRUCT& mis);

  private:
    // The item the system asks to draw: our entry (none for the separators) and whether it
    // opens a sub-menu.
    struct FoundItem {
        const MenuItemEntry* entry = nullptr;
        bool opensSubMenu = false;
    };
    static CExMenu* FromItemData(ULONG_PTR data);
    FoundItem FindItem(UINT itemId) const;
    void DrawSeparator(HDC dc, const RECT& rc) const;
    void DrawTextItem(HDC dc, const RECT& rc, const FoundItem& item, bool selected) const;
    void DrawItemText(HDC dc, const RECT& rc, const std::wstring& text, COLORREF colour) const;
    void DestroyOwned();

    HMENU menu_ = nullptr;
    const Gdiplus::Font* font_;
    int itemHeight_ = 15;
    COLORREF normalBackground_ = RGB(30, 30, 30);
    COLORREF selectedBackground_ = RGB(255, 0, 0);
    COLORREF separator_ = RGB(255, 0, 0);
    COLORREF normalText_ = RGB(230, 230, 230);
    int itemWidth_ = 0;
    std::vector<MenuItemEntry> items_;
    std::vector<HMENU> subMenus_;
};

// The menus' text face, Arial 12 px. GDI+ starts with the first one rather than with the program,
// so its library is loaded when a menu first opens; it runs until StopGdiplus().
class MenuFont {
  public:
    MenuFont();
    const Gdiplus::Font* Get() const { return &font_; }

  private:
    struct GdiplusStarted {
        GdiplusStarted();
    };
    GdiplusStarted started_;  // before the font: a GDI+ object needs GDI+ running
    Gdiplus::Font font_;
};

// Ends GDI+ if a MenuFont started it; no GDI+ object may be alive then (the program's end).
void StopGdiplus();

// Width in pixels of text on one line in Arial 13 px regular, as the bounds of its outline; at
// least `minimum`. Needs GDI+ started.
int MeasureMenuText(const std::wstring& text, int minimum);

// The menu-frame hook of the calling (user-interface) thread. Every "#32768" window created on
// the thread is subclassed while it is shown (its old procedure kept in the "CoolMenu_oldProc"
// property) and framed dark with a red outer line; the hook that frames them is in place only
// while a menu window exists. Installing again does nothing.
bool InstallMenuFrameHook();
void RemoveMenuFrameHook();

// Tracks `menu` for `owner` at (x, y) until it closes, framed: the main window installs the hook
// only once it has painted, so the hook is installed here first. Afterwards an empty message is
// posted to the owner, so a menu opened from the notification area closes when it should.
void TrackFramedMenu(HMENU menu, UINT flags, int x, int y, HWND owner);
// Menu windows subclassed right now (for checks).
std::size_t FramedMenuCount();

}  // namespace t30
