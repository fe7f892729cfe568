// The program's small window layer: one C++ object per window, bound before the window's first
// message, with a static message map per class.
//
//   class CHello : public t30::CDialog {
//   protected:
//       const t30::MessageMap* GetMessageMap() const override {
//           static const t30::MessageMap map{CDialog::GetMessageMap(), {
//               t30::OnMessage(WM_PAINT, &CHello::OnPaint),          // by message
//               t30::OnCommandRange(6001, 6002, &CHello::OnMenu),    // by command id range
//           }};
//           return &map;
//       }
//       BOOL OnInitDialog() override { /* build the window */ return TRUE; }
//       LRESULT OnPaint(WPARAM, LPARAM) { t30::PaintDC dc(Hwnd()); /* ... */ return 0; }
//       void OnMenu(UINT id, UINT /*code*/, HWND /*control*/) { EndDialog(id); }
//   };
//   CHello dlg;  INT_PTR result = dlg.DoModal(owner);   // empty in-memory dialog template
//
// Rules of dispatch (CWnd::WindowProc):
// - WM_COMMAND goes to the virtual OnCommand first; its default looks up the command-range
//   entries of the maps, most derived class first.
// - Any message then goes to the first map entry for it, most derived class first; the handler's
//   result is the message's result. A handler that also wants the default behaviour calls
//   Default() (the window's original procedure for the message being handled).
// - Unhandled WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM and WM_CTLCOLOR* are
//   reflected to the control's own object as kReflect + message when that control is ours; its
//   map may handle them (WM_DRAWITEM must return TRUE, WM_CTLCOLOR* a brush).
// - Everything else goes to Default().
// Binding: Create / DoModal / CreateModeless set a thread-local pointer and a thread CBT hook
// around the creation call, so the object is bound when the window exists and sees every
// message from the first one (WM_GETMINMAXINFO, WM_NCCREATE, ...). The object subclasses the
// window, so windows of any class (system classes, "Rgn Button" with the default procedure)
// are handled alike. SubclassWindow binds an existing window (a standard control of a dialog).
// Lifetime: an object destroys the window it made when it dies (children declared as members die
// first). Its own handlers no longer run at that point, so a window that must see its
// WM_DESTROY calls DestroyWindow() in its own destructor or earlier.
// Key filtering: PreTranslateMessage sees every message of a modal dialog's loop (through a
// message-filter hook) for the dialog and its children; other loops call WalkPreTranslate.
// Pages and other child dialogs: SetTemplateStyle(WS_CHILD | ...) then CreateModeless(parent).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace t30 {

class CWnd;

using MessageHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);
using CommandHandler = void (CWnd::*)(UINT id, UINT code, HWND control);

struct MessageEntry {
    UINT message;          // for command ranges: WM_COMMAND
    UINT firstId, lastId;  // command ids, inclusive; only with onCommand
    MessageHandler onMessage;
    CommandHandler onCommand;
};

// One class's table and the table of its base class (nullptr at the root).
struct MessageMap {
    const MessageMap* base;
    std::vector<MessageEntry> entries;
};

template <class T>
MessageEntry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
    return MessageEntry{message, 0, 0, static_cast<MessageHandler>(handler), nullptr};
}
template <class T>
MessageEntry OnCommandRange(UINT firstId, UINT lastId, void (T::*handler)(UINT, UINT, HWND)) {
    return MessageEntry{WM_COMMAND, firstId, lastId, nullptr, static_cast<CommandHandler>(handler)};
}

class CWnd {
  public:
    // Reflected messages arrive at the control as kReflect + the original message.
    static constexpr UINT kReflect = WM_USER + 0x1C00;

    CWnd() = default;
    // Destroys a window it created; gives a subclassed one back to its old procedure.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND Hwnd() const { return hwnd_; }
    // The object bound to a window, or nullptr.
    static CWnd* FromHandle(HWND hwnd);

    // CreateWindowExW with this object bound from the first message. PreCreateWindow may change
    // the parameters (and register the class) first. False if no window was made.
    bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                  const RECT& rect, HWND parent, UINT id);
    // Binds an existing window (for example a dialog's standard control).
    bool SubclassWindow(HWND hwnd);
    // Unbinds without destroying; returns the window.
    HWND UnsubclassWindow();
    bool DestroyWindow();

    // Takes style bits off; asks nothing of the window manager when none of them is set (under
    // Wine every change is a request to the server, even one that changes nothing).
    void RemoveStyle(LONG_PTR bits);
    // Marks the whole window for painting. A window that cannot be seen is painted whole when it
    // shows, so nothing is asked of the window manager for it until then.
    void Invalidate(bool erase = false) const;

    // Walks from msg.hwnd up its parents and gives each bound object's PreTranslateMessage the
    // message; true when one of them consumed it. Message loops call this before dispatching.
    static bool WalkPreTranslate(MSG& msg);

  protected:
    virtual const MessageMap* GetMessageMap() const;
    // Window-creation preparation: adjust the parameters, register the class.
    virtual bool PreCreateWindow(CREATESTRUCTW& cs);
    // WM_COMMAND; true if handled. The default dispatches the maps' command ranges.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    // Key filtering: true to consume the message before it is dispatched.
    virtual bool PreTranslateMessage(MSG& msg);
    // Called after the last message (WM_NCDESTROY); the object is unbound by then.
    virtual void PostNcDestroy() {}
    // Every message of the window.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The original procedure for the message being handled now.
    LRESULT Default();
    // The original procedure for any message.
    LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    friend class CDialog;
    struct Current {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };
    static LRESULT CALLBACK ThunkProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam);
    friend class CreationScope;
    void Attach(HWND hwnd);
    void Detach();
    bool FindMessageHandler(UINT message, LRESULT& result, WPARAM wParam, LPARAM lParam);
    static bool Reflect(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    HWND hwnd_ = nullptr;
    WNDPROC original_ = nullptr;
    bool created_ = false;  // made by CreateEx / DoModal: destroyed with the object
    Current current_{};
};

// Dialogs from an empty in-memory template (no controls, no font, size 0 x 0): windows build
// their content in OnInitDialog from the skin.
class CDialog : public CWnd {
  public:
    // Runs the dialog modally; returns what EndDialog was given, or -1 if it could not start.
    INT_PTR DoModal(HWND owner);
    // A modeless dialog (pages, child windows of a dialog with WS_CHILD in the style).
    bool CreateModeless(HWND parent);
    void EndDialog(INT_PTR result);
    // Template style; the default is a plain pop-up without caption or border.
    void SetTemplateStyle(DWORD style) { style_ = style; }

  protected:
    const MessageMap* GetMessageMap() const override;
    // WM_INITDIALOG: return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Enter and Escape of IsDialogMessage (IDOK / IDCANCEL commands). Default: end the dialog
    // with that id (modal) or nothing (modeless).
    virtual void OnOK();
    virtual void OnCancel();
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

  private:
    LRESULT HandleInitDialog(WPARAM, LPARAM);
    std::vector<WORD> BuildTemplate() const;
    static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK MessageFilter(int code, WPARAM wParam, LPARAM lParam);

    DWORD style_ = WS_POPUP | WS_CLIPCHILDREN;
    bool modal_ = false;
};

}  // namespace t30
