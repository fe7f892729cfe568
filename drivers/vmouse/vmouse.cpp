// The virtual mouse: stands in for the VANTREL T-30 in the demo and in end-to-end tests.
//
//   vmouse serve [--window]   run until `vmouse quit`; --window pictures what the mouse holds
//   vmouse plug N | unplug N  N = 1 (0x1D57/0xFA60) or 2 (0x1D57/0xFA61)
//   vmouse event N CLASS VALUE
//   vmouse reports            every report received since serve or clear, one per line
//   vmouse clear
//   vmouse refuse N on|off    make SetFeature of identity N fail
//   vmouse quit
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "keys/button_functions.h"
#include "sim/vmouse_protocol.h"
#include "vmouse/report_view.h"

namespace vm = t30::vmouse;

namespace {

struct Server {
    bool plugged[3] = {};
    bool refuse[3] = {};
    std::vector<std::pair<int, std::vector<uint8_t>>> reports;
    vm::HeldReports held;
    HWND view = nullptr;
    HMODULE language = nullptr;
};
Server g_server;

std::wstring FunctionName(int code) {
    const t30::ButtonFunctionInfo* info = t30::FindButtonFunction(code);
    const auto id = t30::ButtonFunctionLabelId(code);
    wchar_t text[128] = {};
    if (info != nullptr && id && g_server.language != nullptr &&
        LoadStringW(g_server.language, *id, text, 128) > 0) {
        return text;
    }
    wchar_t buf[32];
    swprintf(buf, 32, L"function %d", code);
    return buf;
}

std::string ReportsText() {
    std::string text;
    char hex[4];
    for (const auto& [identity, bytes] : g_server.reports) {
        text += std::to_string(identity);
        for (uint8_t b : bytes) {
            std::snprintf(hex, sizeof hex, " %02X", b);
            text += hex;
        }
        text += '\n';
    }
    return text;
}

void NotifyClients(int identity, UINT notice, WPARAM wp, LPARAM lp) {
    HWND client = nullptr;
    while ((client = FindWindowExW(HWND_MESSAGE, client, vm::ClientClass(identity), nullptr))) {
        PostMessageW(client, notice, wp, lp);
    }
}

void Refresh() {
    if (g_server.view != nullptr) {
        InvalidateRect(g_server.view, nullptr, FALSE);
    }
}

bool ValidIdentity(const uint8_t* data, DWORD size) {
    return size >= 1 && (data[0] == 1 || data[0] == 2);
}

LRESULT Handle(HWND asker, const COPYDATASTRUCT& cds) {
    const auto* data = static_cast<const uint8_t*>(cds.lpData);
    const DWORD size = cds.lpData ? cds.cbData : 0;
    switch (cds.dwData) {
        case vm::kSetFeature: {
            if (!ValidIdentity(data, size) || size < 2) {
                return 0;
            }
            const int id = data[0];
            if (!g_server.plugged[id] || g_server.refuse[id]) {
                return 0;
            }
            std::vector<uint8_t> report(data + 1, data + size);
            g_server.held.Take(report);
            g_server.reports.emplace_back(id, std::move(report));
            Refresh();
            return 1;
        }
        case vm::kIsPlugged:
            return ValidIdentity(data, size) && g_server.plugged[data[0]];
        case vm::kPlug:
            if (!ValidIdentity(data, size) || size < 2) {
                return 0;
            }
            g_server.plugged[data[0]] = data[1] != 0;
            NotifyClients(data[0], vm::kNoticeStatus, data[1] != 0 ? 1 : 0, 0);
            Refresh();
            return 1;
        case vm::kEvent: {
            if (size < sizeof(vm::EventRequest)) {
                return 0;
            }
            vm::EventRequest e;
            std::memcpy(&e, data, sizeof e);
            if (e.identity != 1 && e.identity != 2) {
                return 0;
            }
            NotifyClients(e.identity, vm::kNoticeEvent, e.eventClass, e.value);
            return 1;
        }
        case vm::kRefuse:
            if (!ValidIdentity(data, size) || size < 2) {
                return 0;
            }
            g_server.refuse[data[0]] = data[1] != 0;
            Refresh();
            return 1;
        case vm::kReports: {
            const std::string text = ReportsText();
            COPYDATASTRUCT reply{vm::kReportsText, static_cast<DWORD>(text.size()),
                                 const_cast<char*>(text.data())};
            DWORD_PTR ignored = 0;
            return SendMessageTimeoutW(asker, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&reply),
                                       SMTO_ABORTIFHUNG, vm::kTimeoutMs, &ignored) != 0;
        }
        case vm::kClear:
            g_server.reports.clear();
            g_server.held = vm::HeldReports{};
            Refresh();
            return 1;
        case vm::kQuit:
            PostQuitMessage(0);
            return 1;
        default:
            return 0;
    }
}

LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        return Handle(reinterpret_cast<HWND>(wp), *reinterpret_cast<COPYDATASTRUCT*>(lp));
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void PaintView(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT rc;
    GetClientRect(hwnd, &rc);
    // Double-buffered so the frequent repaints during an apply do not flicker.
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bmp = CreateCompatibleBitmap(dc, rc.right, rc.bottom);
    HGDIOBJ oldBmp = SelectObject(mem, bmp);
    HBRUSH back = CreateSolidBrush(RGB(24, 24, 28));
    FillRect(mem, &rc, back);
    DeleteObject(back);
    HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                             CLEARTYPE_QUALITY, FIXED_PITCH, L"Courier New");
    HGDIOBJ oldFont = SelectObject(mem, font);
    SetBkMode(mem, TRANSPARENT);

    std::vector<std::wstring> lines;
    for (int id = 1; id <= 2; ++id) {
        wchar_t head[96];
        swprintf(head, 96, L"Identity %d (1D57:%04X): %ls%ls", id, vm::kProductIds[id],
                 g_server.plugged[id] ? L"plugged in" : L"unplugged",
                 g_server.refuse[id] ? L", refusing reports" : L"");
        lines.push_back(head);
    }
    wchar_t count[64];
    swprintf(count, 64, L"%u reports received", unsigned(g_server.reports.size()));
    lines.push_back(count);
    lines.push_back(L"");
    for (auto& l : vm::Describe(g_server.held, FunctionName)) {
        lines.push_back(std::move(l));
    }
    int y = 8;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        SetTextColor(mem, i < 2 ? RGB(230, 80, 80) : RGB(230, 230, 230));
        TextOutW(mem, 10, y, lines[i].c_str(), static_cast<int>(lines[i].size()));
        y += 16;
    }
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
    SelectObject(mem, oldFont);
    DeleteObject(font);
    SelectObject(mem, oldBmp);
    DeleteObject(bmp);
    DeleteDC(mem);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT:
            PaintView(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_CLOSE:
            return 0;  // the mouse lives until `vmouse quit`
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// Right of the utility's window (940 wide at the screen's top-left corner) where the screen has
// room, else against the screen's right edge.
int ViewLeft() {
    return std::max(0, std::min(950, GetSystemMetrics(SM_CXSCREEN) - 550));
}

int Serve(bool withWindow) {
    if (vm::FindServer() != nullptr) {
        std::fputs("vmouse: a virtual mouse is already running\n", stderr);
        return 1;
    }
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = ServerProc;
    wc.hInstance = instance;
    wc.lpszClassName = vm::kServerClass;
    RegisterClassW(&wc);
    HWND server = CreateWindowExW(0, vm::kServerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr);
    if (server == nullptr) {
        std::fputs("vmouse: cannot create the server window\n", stderr);
        return 1;
    }
    if (withWindow) {
        g_server.language =
            LoadLibraryExW((ExeFolder() + L"lan.dll").c_str(), nullptr,
                           LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        WNDCLASSW vc{};
        vc.lpfnWndProc = ViewProc;
        vc.hInstance = instance;
        vc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        vc.lpszClassName = L"T30VirtualMouseView";
        RegisterClassW(&vc);
        g_server.view =
            CreateWindowExW(0, vc.lpszClassName, L"VANTREL T-30 virtual mouse",
                            WS_OVERLAPPED | WS_CAPTION | WS_MINIMIZEBOX | WS_VISIBLE, ViewLeft(),
                            20, 540, 560, nullptr, nullptr, instance, nullptr);
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    if (g_server.view != nullptr) {
        DestroyWindow(g_server.view);
    }
    DestroyWindow(server);
    if (g_server.language != nullptr) {
        FreeLibrary(g_server.language);
    }
    return 0;
}

std::string g_replyText;
bool g_replied = false;

LRESULT CALLBACK AskerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        if (cds->dwData == vm::kReportsText) {
            g_replyText.assign(static_cast<const char*>(cds->lpData), cds->cbData);
            g_replied = true;
            return 1;
        }
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

int Usage() {
    std::fputs(
        "usage: vmouse serve [--window] | quit | plug N | unplug N | event N CLASS VALUE |\n"
        "       reports | clear | refuse N on|off      (N = 1 or 2)\n",
        stderr);
    return 2;
}

bool ParseNumber(const wchar_t* text, unsigned long& out) {
    wchar_t* end = nullptr;
    out = std::wcstoul(text, &end, 0);  // decimal or 0x hex
    return end != text && *end == 0;
}

bool ParseIdentity(const wchar_t* text, uint8_t& out) {
    unsigned long v = 0;
    if (!ParseNumber(text, v) || (v != 1 && v != 2)) {
        return false;
    }
    out = static_cast<uint8_t>(v);
    return true;
}

int Command(int argc, wchar_t** argv) {
    const std::wstring cmd = argv[1];
    std::vector<uint8_t> payload;
    vm::Request request;
    uint8_t id = 0;
    if ((cmd == L"plug" || cmd == L"unplug") && argc == 3 && ParseIdentity(argv[2], id)) {
        request = vm::kPlug;
        payload = {id, uint8_t(cmd == L"plug" ? 1 : 0)};
    } else if (cmd == L"refuse" && argc == 4 && ParseIdentity(argv[2], id) &&
               (std::wcscmp(argv[3], L"on") == 0 || std::wcscmp(argv[3], L"off") == 0)) {
        request = vm::kRefuse;
        payload = {id, uint8_t(std::wcscmp(argv[3], L"on") == 0 ? 1 : 0)};
    } else if (cmd == L"event" && argc == 5 && ParseIdentity(argv[2], id)) {
        unsigned long eventClass = 0, value = 0;
        if (!ParseNumber(argv[3], eventClass) || !ParseNumber(argv[4], value)) {
            return Usage();
        }
        vm::EventRequest e{id, static_cast<uint32_t>(eventClass), static_cast<uint32_t>(value)};
        payload.resize(sizeof e);
        std::memcpy(payload.data(), &e, sizeof e);
        request = vm::kEvent;
    } else if (cmd == L"reports" && argc == 2) {
        request = vm::kReports;
    } else if (cmd == L"clear" && argc == 2) {
        request = vm::kClear;
    } else if (cmd == L"quit" && argc == 2) {
        request = vm::kQuit;
    } else {
        return Usage();
    }

    HWND server = vm::FindServer();
    if (server == nullptr) {
        std::fputs("vmouse: no virtual mouse is running (start one with: vmouse serve)\n", stderr);
        return 1;
    }
    HWND asker = nullptr;
    if (request == vm::kReports) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = AskerProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"T30VirtualMouseAsker";
        RegisterClassW(&wc);
        asker = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                wc.hInstance, nullptr);
    }
    LRESULT answer = 0;
    if (!vm::Ask(server, request, payload.data(), static_cast<DWORD>(payload.size()), &answer,
                 asker)) {
        std::fputs("vmouse: the virtual mouse did not answer\n", stderr);
        return 1;
    }
    if (request == vm::kReports) {
        if (!g_replied) {
            std::fputs("vmouse: no reports came back\n", stderr);
            return 1;
        }
        std::fwrite(g_replyText.data(), 1, g_replyText.size(), stdout);
        std::fflush(stdout);
        DestroyWindow(asker);
    }
    return answer ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    // Report lines end in a bare LF, whatever reads them.
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        return Usage();
    }
    if (std::wcscmp(argv[1], L"serve") == 0) {
        if (argc > 3 || (argc == 3 && std::wcscmp(argv[2], L"--window") != 0)) {
            return Usage();
        }
        return Serve(argc == 3);
    }
    return Command(argc, argv);
}
