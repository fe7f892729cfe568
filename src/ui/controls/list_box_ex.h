// CListBoxEx: the owner-drawn list of the skinned windows. Rows show an optional small picture
// (a bitmap resource of the program, magenta see-through) and a text; rows can be added and
// renamed in place; the owner hears of committed edits and right clicks by posted messages.
#pragma once

#include <windows.h>

#include <string>

#include "base/window_messages.h"
#include "ui/framework/gdi.h"
#include "ui/framework/wnd.h"

namespace t30 {

class CListBoxEx : public CWnd {
  public:
    static constexpr int kRowHeight = 20;
    static constexpr int kIconSize = 16;

    // A list box child (owner-drawn with fixed rows, strings kept, notifications on) of parent,
    // which also becomes the owner; add WS_VSCROLL, WS_BORDER, WS_TABSTOP as wanted.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

    // Row value: low 16 bits the row's picture (0 none, 1 none, else a bitmap resource id),
    // high 16 bits the owner's.
    int AddRow(DWORD value, const std::wstring& text);
    int InsertRow(int index, DWORD value, const std::wstring& text);
    void DeleteRow(int index);
    int RowCount() const;
    void SelectRow(int index);
    int SelectedRow() const;
    std::wstring RowText(int index) const;
    DWORD RowValue(int index) const;

    void SetListId(int id) { listId_ = id; }
    int ListId() const { return listId_; }
    void SetColours(COLORREF background, COLORREF selection);
    void SetTextColours(COLORREF text, COLORREF selectedText);
    void SetEditable(bool on) { editable_ = on; }
    // Off: losing the focus to a window outside the owner hides and destroys the owner (a list
    // used as a pop-up).
    void SetKeepOwner(bool on) { keepOwner_ = on; }
    void SetArrowKeysOnly(bool on) { arrowKeysOnly_ = on; }

    // In-place edit of the selected row (digits only); a rename when the list is editable.
    bool StartRename();
    // Appends an empty row (value 0) and opens the in-place edit on it, unless one is open.
    bool StartNewRow();
    HWND EditWindow() const { return edit_.Hwnd(); }
    int EditRow() const { return editRow_; }

  protected:
    const MessageMap* GetMessageMap() const override;
    bool PreTranslateMessage(MSG& msg) override;

  private:
    // The in-place edit: sends Enter and Escape back to the list.
    class InPlaceEdit : public CWnd {
      public:
        explicit InPlaceEdit(CListBoxEx& list) : list_(list) {}
        // Called as the edit opens: a release of Enter or Escape whose press came before (the
        // Enter that chose the menu's Edit Pause) is not the user's answer to the edit.
        void IgnoreHeldKeys();

      protected:
        const MessageMap* GetMessageMap() const override;

      private:
        LRESULT OnKeyUp(WPARAM, LPARAM);
        LRESULT OnChar(WPARAM, LPARAM);
        LRESULT OnGetDlgCode(WPARAM, LPARAM);
        LRESULT OnKillFocus(WPARAM, LPARAM);
        CListBoxEx& list_;
        bool ignoreEnterUp_ = false;
        bool ignoreEscapeUp_ = false;
    };

    LRESULT OnDrawItem(WPARAM, LPARAM);
    LRESULT OnMeasureItem(WPARAM, LPARAM);
    LRESULT OnCtlColor(WPARAM, LPARAM);
    LRESULT OnDoubleClick(WPARAM, LPARAM);
    LRESULT OnMouseWheel(WPARAM, LPARAM);
    LRESULT OnRightButtonDown(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnKey(WPARAM, LPARAM);
    LRESULT OnChar(WPARAM, LPARAM);
    bool OpenEdit(int row, bool newRow, bool numbersOnly);
    // The focus went from the list or its edit to `next`: a pop-up list closes its owner.
    void FocusLeft(HWND next);
    void Commit(bool selectRow);
    void Cancel();
    void CloseEdit();
    void Post(UINT message, WPARAM wParam);

    Font font_;
    Brush background_;
    COLORREF selection_ = GetSysColor(COLOR_HIGHLIGHT);
    COLORREF text_ = GetSysColor(COLOR_WINDOWTEXT);
    COLORREF selectedText_ = GetSysColor(COLOR_HIGHLIGHTTEXT);
    int listId_ = 0;
    HWND owner_ = nullptr;
    bool editable_ = false;
    bool keepOwner_ = false;
    bool arrowKeysOnly_ = false;
    InPlaceEdit edit_{*this};
    int editRow_ = -1;
    bool newRow_ = false;
    bool renaming_ = false;
};

}  // namespace t30
