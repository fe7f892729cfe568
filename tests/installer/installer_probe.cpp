// What the installer scenario asks the Windows side, as a user's tools would see it:
//   installer_probe running     exit 0 while an instance holds the single-instance mutex; prints
//                               the image path of the process behind the window "VANTREL T-30"
//   installer_probe task NAME   exit 0 when Task Scheduler has the task NAME; prints its
//                               triggers, run level and command as the scheduler gives them back
//   installer_probe version FILE
//                               prints the product version of FILE's version resource
#include <windows.h>

#include <taskschd.h>

#include <cstdio>
#include <cwchar>
#include <vector>

#include "app/config_app.h"
#include "ui/framework/gdi.h"
#include "ui/windows/config_dlg.h"

namespace {

using t30::ComPtr;

int Running() {
    t30::KernelHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, t30::kSingleInstanceMutex));
    if (!mutex) {
        return 1;
    }
    DWORD pid = 0;
    if (HWND main = FindWindowW(nullptr, t30::kMainWindowTitle)) {
        GetWindowThreadProcessId(main, &pid);
    }
    t30::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    wchar_t path[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    if (process && QueryFullProcessImageNameW(process.Get(), 0, path, &size)) {
        std::wprintf(L"%ls\n", path);
    }
    return 0;
}

const wchar_t* TriggerName(TASK_TRIGGER_TYPE2 type) {
    switch (type) {
        case TASK_TRIGGER_LOGON:
            return L"logon";
        case TASK_TRIGGER_BOOT:
            return L"boot";
        case TASK_TRIGGER_TIME:
            return L"time";
        case TASK_TRIGGER_DAILY:
            return L"daily";
        default:
            return L"other";
    }
}

// Every getter hands out a reference the caller owns; this takes it over.
template <class Interface, class Call>
ComPtr<Interface> Take(Call call) {
    Interface* raw = nullptr;
    return ComPtr<Interface>(SUCCEEDED(call(&raw)) ? raw : nullptr);
}

int Task(const wchar_t* name) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
        return 2;
    }
    int result = 1;
    {
        auto service = Take<ITaskService>([](ITaskService** out) {
            return CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_ITaskService, reinterpret_cast<void**>(out));
        });
        VARIANT none{};
        VariantInit(&none);
        if (!service || FAILED(service.Get()->Connect(none, none, none, none))) {
            std::wprintf(L"no task scheduler\n");
            CoUninitialize();
            return 2;
        }
        BSTR root = SysAllocString(L"\\");
        BSTR taskName = SysAllocString(name);
        auto folder = Take<ITaskFolder>(
            [&](ITaskFolder** out) { return service.Get()->GetFolder(root, out); });
        auto task = folder ? Take<IRegisteredTask>([&](IRegisteredTask** out) {
            return folder.Get()->GetTask(taskName, out);
        })
                           : ComPtr<IRegisteredTask>();
        auto definition = task ? Take<ITaskDefinition>([&](ITaskDefinition** out) {
            return task.Get()->get_Definition(out);
        })
                               : ComPtr<ITaskDefinition>();
        if (definition) {
            result = 0;
            std::wprintf(L"registered\n");
            auto triggers = Take<ITriggerCollection>(
                [&](ITriggerCollection** out) { return definition.Get()->get_Triggers(out); });
            LONG count = 0;
            if (triggers && SUCCEEDED(triggers.Get()->get_Count(&count))) {
                for (LONG i = 1; i <= count; ++i) {
                    auto trigger = Take<ITrigger>(
                        [&](ITrigger** out) { return triggers.Get()->get_Item(i, out); });
                    TASK_TRIGGER_TYPE2 type{};
                    if (trigger && SUCCEEDED(trigger.Get()->get_Type(&type))) {
                        std::wprintf(L"trigger %ls\n", TriggerName(type));
                    }
                }
            }
            auto principal = Take<IPrincipal>(
                [&](IPrincipal** out) { return definition.Get()->get_Principal(out); });
            TASK_RUNLEVEL_TYPE level{};
            if (principal && SUCCEEDED(principal.Get()->get_RunLevel(&level))) {
                std::wprintf(L"run level %ls\n",
                             level == TASK_RUNLEVEL_HIGHEST ? L"highest" : L"least");
            }
            auto actions = Take<IActionCollection>(
                [&](IActionCollection** out) { return definition.Get()->get_Actions(out); });
            auto action =
                actions
                    ? Take<IAction>([&](IAction** out) { return actions.Get()->get_Item(1, out); })
                    : ComPtr<IAction>();
            auto exec = action ? Take<IExecAction>([&](IExecAction** out) {
                return action.Get()->QueryInterface(IID_IExecAction, reinterpret_cast<void**>(out));
            })
                               : ComPtr<IExecAction>();
            BSTR path = nullptr;
            if (exec && SUCCEEDED(exec.Get()->get_Path(&path)) && path != nullptr) {
                std::wprintf(L"command %ls\n", path);
                SysFreeString(path);
            }
        }
        SysFreeString(taskName);
        SysFreeString(root);
    }
    CoUninitialize();
    return result;
}

int Version(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (size == 0) {
        return 1;
    }
    std::vector<char> data(size);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!GetFileVersionInfoW(file, 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
        info == nullptr) {
        return 1;
    }
    std::wprintf(L"%lu.%lu.%lu.%lu\n", HIWORD(info->dwProductVersionMS),
                 LOWORD(info->dwProductVersionMS), HIWORD(info->dwProductVersionLS),
                 LOWORD(info->dwProductVersionLS));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"running") == 0) {
        return Running();
    }
    if (argc == 3 && std::wcscmp(argv[1], L"task") == 0) {
        return Task(argv[2]);
    }
    if (argc == 3 && std::wcscmp(argv[1], L"version") == 0) {
        return Version(argv[2]);
    }
    std::fwprintf(stderr, L"usage: installer_probe running | task NAME | version FILE\n");
    return 2;
}
