#include "ui/framework/wnd.h"

#include <cstring>
#include <string>
#include <unordered_map>

namespace t30 {
namespace {

// The procedure the object stands in front of, for a window whose object let go while another
// subclass sat on top of it (the chain must keep working then).
constexpr wchar_t kOriginalProp[] = L"t30.CWnd.original";
constexpr wchar_t kDialogClass[] = L"#32770";

// The window being created on this thread and the class it must have (empty: any). Another
// window made by the system during the call (an input-method window, say) is not taken.
thread_local CWnd* tlPending = nullptr;
thread_local const wchar_t* tlPendingClass = nullptr;

// Every bound window's object. Each message looks its window's object up; a window property
// would cost a request to Wine's server every time (thousands while the main window is built).
class BoundWindows {
  public:
    void Add(HWND hwnd, CWnd* wnd) {
        AcquireSRWLockExclusive(&lock_);
        objects_[hwnd] = wnd;
        ReleaseSRWLockExclusive(&lock_);
    }
    void Remove(HWND hwnd) {
        AcquireSRWLockExclusive(&lock_);
        objects_.erase(hwnd);
        ReleaseSRWLockExclusive(&lock_);
    }
    CWnd* Find(HWND hwnd) {
        AcquireSRWLockShared(&lock_);
        const auto found = objects_.find(hwnd);
        CWnd* wnd = found == objects_.end() ? nullptr : found->second;
        ReleaseSRWLockShared(&lock_);
        return wnd;
    }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::unordered_map<HWND, CWnd*> objects_;
};

BoundWindows& Bound() {
    // Never destroyed: windows of objects that outlive it (statics) still get their last messages.
    static BoundWindows* const bound = new BoundWindows;
    return *bound;
}

bool IsReflectable(UINT message) {
    return message == WM_DRAWITEM || message == WM_MEASUREITEM || message == WM_COMPAREITEM ||
           message == WM_DELETEITEM ||
           (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC);
}

}  // namespace

// Sets the pending object for the span of one creation call, with the thread's CBT hook. The
// outermost creation installs the hook and creations nested in it (a dialog's controls) use the
// same one: under Wine each hook set, removed or passed on is a request to the server, and a
// dialog builds a hundred windows inside its own creation.
class CreationScope {
  public:
    CreationScope(CWnd* wnd, const wchar_t* className)
        : savedPending_(tlPending), savedClass_(tlPendingClass) {
        tlPending = wnd;
        tlPendingClass = className;
        if (tlHook == nullptr) {
            tlHook = SetWindowsHookExW(WH_CBT, &CWnd::CbtHook, nullptr, GetCurrentThreadId());
            ownsHook_ = tlHook != nullptr;
        }
    }
    ~CreationScope() {
        if (ownsHook_) {
            UnhookWindowsHookEx(tlHook);
            tlHook = nullptr;
        }
        tlPending = savedPending_;
        tlPendingClass = savedClass_;
    }
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

  private:
    static thread_local HHOOK tlHook;
    CWnd* savedPending_;
    const wchar_t* savedClass_;
    bool ownsHook_ = false;
};

thread_local HHOOK CreationScope::tlHook = nullptr;

CWnd::~CWnd() {
    if (hwnd_ == nullptr) {
        return;
    }
    if (created_) {
        ::DestroyWindow(hwnd_);  // runs WM_NCDESTROY, which unbinds
    }
    if (hwnd_ != nullptr) {
        UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return hwnd ? Bound().Find(hwnd) : nullptr;
}

LRESULT CALLBACK CWnd::CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && tlPending != nullptr) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        bool match = tlPendingClass == nullptr || IS_INTRESOURCE(tlPendingClass);
        if (!match) {
            wchar_t name[256] = {};
            GetClassNameW(hwnd, name, 256);
            match = lstrcmpiW(name, tlPendingClass) == 0;
        }
        if (match) {
            CWnd* wnd = tlPending;
            tlPending = nullptr;
            wnd->Attach(hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void CWnd::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    Bound().Add(hwnd, this);
    original_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::ThunkProc)));
}

void CWnd::Detach() {
    if (hwnd_ == nullptr) {
        return;
    }
    if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::ThunkProc)) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    } else {
        // Someone subclassed on top of us: the thunk stays in the chain and forwards to the
        // procedure kept with the window.
        SetPropW(hwnd_, kOriginalProp, reinterpret_cast<HANDLE>(original_));
    }
    Bound().Remove(hwnd_);
    hwnd_ = nullptr;
    original_ = nullptr;
    created_ = false;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    const RECT& rect, HWND parent, UINT id) {
    if (hwnd_ != nullptr) {
        return false;
    }
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = title;
    cs.style = static_cast<LONG>(style);
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
    cs.hInstance = GetModuleHandleW(nullptr);
    if (!PreCreateWindow(cs)) {
        return false;
    }
    HWND hwnd;
    {
        CreationScope scope(this, cs.lpszClass);
        hwnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                               static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                               cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (hwnd == nullptr) {
        Detach();  // bound but refused during creation
        return false;
    }
    created_ = true;
    return true;
}

bool CWnd::SubclassWindow(HWND hwnd) {
    if (hwnd_ != nullptr || hwnd == nullptr || FromHandle(hwnd) != nullptr) {
        return false;
    }
    Attach(hwnd);
    return true;
}

HWND CWnd::UnsubclassWindow() {
    HWND hwnd = hwnd_;
    Detach();
    return hwnd;
}

bool CWnd::DestroyWindow() {
    return hwnd_ != nullptr && ::DestroyWindow(hwnd_) != FALSE;
}

void CWnd::RemoveStyle(LONG_PTR bits) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
    if ((style & bits) != 0) {
        SetWindowLongPtrW(hwnd_, GWL_STYLE, style & ~bits);
    }
}

void CWnd::Invalidate(bool erase) const {
    if (IsWindowVisible(hwnd_)) {
        InvalidateRect(hwnd_, nullptr, erase ? TRUE : FALSE);
    }
}

bool CWnd::WalkPreTranslate(MSG& msg) {
    for (HWND h = msg.hwnd; h != nullptr;) {
        CWnd* wnd = FromHandle(h);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg)) {
            return true;
        }
        if ((GetWindowLongW(h, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
        h = GetParent(h);
    }
    return false;
}

const MessageMap* CWnd::GetMessageMap() const {
    static const MessageMap map{nullptr, {}};
    return &map;
}

bool CWnd::PreCreateWindow(CREATESTRUCTW&) {
    return true;
}

bool CWnd::PreTranslateMessage(MSG&) {
    return false;
}

bool CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageEntry& e : map->entries) {
            if (e.onCommand != nullptr && id >= e.firstId && id <= e.lastId) {
                (this->*e.onCommand)(id, HIWORD(wParam), reinterpret_cast<HWND>(lParam));
                return true;
            }
        }
    }
    return false;
}

bool CWnd::FindMessageHandler(UINT message, LRESULT& result, WPARAM wParam, LPARAM lParam) {
    for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
        for (const MessageEntry& e : map->entries) {
            if (e.onMessage != nullptr && e.message == message) {
                result = (this->*e.onMessage)(wParam, lParam);
                return true;
            }
        }
    }
    return false;
}

bool CWnd::Reflect(HWND control, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    CWnd* target = FromHandle(control);
    if (target == nullptr) {
        return false;
    }
    const Current saved = target->current_;
    target->current_ = {kReflect + message, wParam, lParam};
    const bool handled = target->FindMessageHandler(kReflect + message, result, wParam, lParam);
    target->current_ = saved;
    return handled;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && OnCommand(wParam, lParam)) {
        return 0;
    }
    LRESULT result = 0;
    if (FindMessageHandler(message, result, wParam, lParam)) {
        return result;
    }
    if (IsReflectable(message)) {
        HWND control = nullptr;
        switch (message) {
            case WM_DRAWITEM: {
                auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
                control = dis->CtlType == ODT_MENU ? nullptr : dis->hwndItem;
                break;
            }
            case WM_MEASUREITEM: {
                auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
                control = mis->CtlType == ODT_MENU ? nullptr : GetDlgItem(hwnd_, mis->CtlID);
                break;
            }
            case WM_COMPAREITEM:
                control = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam)->hwndItem;
                break;
            case WM_DELETEITEM:
                control = reinterpret_cast<DELETEITEMSTRUCT*>(lParam)->hwndItem;
                break;
            default:  // WM_CTLCOLOR*
                control = reinterpret_cast<HWND>(lParam);
                break;
        }
        if (control != nullptr && Reflect(control, message, wParam, lParam, result)) {
            return result;
        }
    }
    return Default();
}

LRESULT CWnd::Default() {
    return CallOriginal(current_.message, current_.wParam, current_.lParam);
}

LRESULT CWnd::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
    if (original_ != nullptr) {
        return CallWindowProcW(original_, hwnd_, message, wParam, lParam);
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::ThunkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = FromHandle(hwnd);
    if (wnd == nullptr) {
        auto original = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOriginalProp));
        if (message == WM_NCDESTROY) {
            RemovePropW(hwnd, kOriginalProp);
        }
        return original ? CallWindowProcW(original, hwnd, message, wParam, lParam)
                        : DefWindowProcW(hwnd, message, wParam, lParam);
    }
    const Current saved = wnd->current_;
    wnd->current_ = {message, wParam, lParam};
    const LRESULT result = wnd->WindowProc(message, wParam, lParam);
    wnd->current_ = saved;
    if (message == WM_NCDESTROY) {
        wnd->Detach();
        wnd->PostNcDestroy();  // may delete the object
    }
    return result;
}

// ---- CDialog

const MessageMap* CDialog::GetMessageMap() const {
    static const MessageMap map{CWnd::GetMessageMap(),
                                {OnMessage(WM_INITDIALOG, &CDialog::HandleInitDialog)}};
    return &map;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    return OnInitDialog();
}

std::vector<WORD> CDialog::BuildTemplate() const {
    // DLGTEMPLATE (style, extended style, no items, position and size 0), then empty menu,
    // class and title arrays. Word-aligned is enough for the standard template.
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    DLGTEMPLATE tpl{};
    tpl.style = style_;
    tpl.cdit = 0;
    std::memcpy(words.data(), &tpl, sizeof tpl);
    return words;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;  // everything was dispatched by the object in front of the dialog procedure
}

LRESULT CALLBACK CDialog::MessageFilter(int code, WPARAM wParam, LPARAM lParam) {
    if (code == MSGF_DIALOGBOX && WalkPreTranslate(*reinterpret_cast<MSG*>(lParam))) {
        return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CDialog::DoModal(HWND owner) {
    if (hwnd_ != nullptr) {
        return -1;
    }
    const std::vector<WORD> tpl = BuildTemplate();
    HHOOK filter =
        SetWindowsHookExW(WH_MSGFILTER, &CDialog::MessageFilter, nullptr, GetCurrentThreadId());
    modal_ = true;
    INT_PTR result;
    {
        CreationScope scope(this, kDialogClass);
        // DialogBox owns the window: EndDialog destroys it, which unbinds the object.
        result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                         reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), owner,
                                         &CDialog::DialogProc, 0);
    }
    modal_ = false;
    if (filter) {
        UnhookWindowsHookEx(filter);
    }
    return result;
}

bool CDialog::CreateModeless(HWND parent) {
    if (hwnd_ != nullptr) {
        return false;
    }
    const std::vector<WORD> tpl = BuildTemplate();
    HWND hwnd;
    {
        CreationScope scope(this, kDialogClass);
        hwnd = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                          reinterpret_cast<const DLGTEMPLATE*>(tpl.data()), parent,
                                          &CDialog::DialogProc, 0);
    }
    if (hwnd == nullptr) {
        Detach();
        return false;
    }
    created_ = true;
    return true;
}

void CDialog::EndDialog(INT_PTR result) {
    if (hwnd_ == nullptr) {
        return;
    }
    if (modal_) {
        ::EndDialog(hwnd_, result);
    } else {
        ::DestroyWindow(hwnd_);
    }
}

void CDialog::OnOK() {
    if (modal_) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    if (modal_) {
        EndDialog(IDCANCEL);
    }
}

bool CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) {
        return true;
    }
    if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
        if (LOWORD(wParam) == IDOK) {
            OnOK();
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            OnCancel();
            return true;
        }
    }
    return false;
}

}  // namespace t30
