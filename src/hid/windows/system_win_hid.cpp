#include <windows.h>

#include <cfgmgr32.h>
#include <dbt.h>
#include <setupapi.h>

// hidusage.h first: hidpi.h needs its types.
// clang-format off
extern "C" {
#include <hidusage.h>
#include <hidpi.h>
#include <hidsdi.h>
}
// clang-format on

#include <initguid.h>

#include <hidclass.h>

#include <future>
#include <thread>

#include "hid/windows/win_hid_system.h"
#include "system/windows/wide_text.h"

namespace quorvel {

namespace {

// The device-interface notifications of cfgmgr32 (Windows 8 and later). The
// toolchain's headers lack them and older systems lack the calls, so they
// are looked up when the watch starts.
enum class NotifyFilterType : DWORD { DeviceInterface = 0 };
enum class NotifyAction : DWORD { InterfaceArrival = 0, InterfaceRemoval = 1 };

struct NotifyFilter {
    DWORD cbSize;
    DWORD flags;
    NotifyFilterType filterType;
    DWORD reserved;
    union {
        GUID interfaceClass;
        HANDLE target;
        WCHAR instanceId[200];
    } u;
};

struct NotifyEventData {
    NotifyFilterType filterType;
    DWORD reserved;
    GUID interfaceClass;
    WCHAR symbolicLink[1];
};

using NotifyCallback = DWORD(CALLBACK*)(void* notification, void* context, NotifyAction action,
                                        NotifyEventData* data, DWORD size);
using RegisterNotification = CONFIGRET(WINAPI*)(NotifyFilter*, void*, NotifyCallback, void**);
using UnregisterNotification = CONFIGRET(WINAPI*)(void*);

class DeviceHandle final : public WinHidSystem::Handle {
public:
    explicit DeviceHandle(HANDLE handle) : handle(handle) {}
    ~DeviceHandle() override { ::CloseHandle(handle); }
    HANDLE handle;
};

HANDLE Native(WinHidSystem::Handle& device) {
    return static_cast<DeviceHandle&>(device).handle;
}

class Event final : public WinHidSystem::WakeEvent {
public:
    Event() : handle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() override {
        if (handle != nullptr) {
            ::CloseHandle(handle);
        }
    }
    void set() override { ::SetEvent(handle); }
    void reset() override { ::ResetEvent(handle); }
    HANDLE handle;
};

class NotificationWatch final : public WinHidSystem::Watch {
public:
    NotificationWatch(std::function<void(bool, const std::string&)> changed,
                      UnregisterNotification unregister)
        : changed(std::move(changed)), unregister(unregister) {}
    ~NotificationWatch() override {
        if (notification != nullptr) {
            unregister(notification); // waits for a running callback
        }
    }
    // Null when cfgmgr32 lacks the notifications or refuses them.
    static std::unique_ptr<NotificationWatch>
    Start(const std::function<void(bool, const std::string&)>& changed) {
        HMODULE library = ::GetModuleHandleW(L"cfgmgr32.dll");
        if (library == nullptr) {
            library = ::LoadLibraryW(L"cfgmgr32.dll");
        }
        if (library == nullptr) {
            return nullptr;
        }
        const auto registerCall = reinterpret_cast<RegisterNotification>(
            reinterpret_cast<void*>(::GetProcAddress(library, "CM_Register_Notification")));
        const auto unregisterCall = reinterpret_cast<UnregisterNotification>(
            reinterpret_cast<void*>(::GetProcAddress(library, "CM_Unregister_Notification")));
        if (registerCall == nullptr || unregisterCall == nullptr) {
            return nullptr;
        }
        auto watch = std::make_unique<NotificationWatch>(changed, unregisterCall);
        NotifyFilter filter{};
        filter.cbSize = sizeof filter;
        filter.filterType = NotifyFilterType::DeviceInterface;
        filter.u.interfaceClass = GUID_DEVINTERFACE_HID;
        if (registerCall(&filter, watch.get(), &NotificationWatch::Callback, &watch->notification) !=
            CR_SUCCESS) {
            watch->notification = nullptr;
            return nullptr;
        }
        return watch;
    }
    static DWORD CALLBACK Callback(void*, void* context, NotifyAction action, NotifyEventData* data, DWORD) {
        auto* self = static_cast<NotificationWatch*>(context);
        if (data != nullptr && data->filterType == NotifyFilterType::DeviceInterface &&
            (action == NotifyAction::InterfaceArrival || action == NotifyAction::InterfaceRemoval)) {
            self->changed(action == NotifyAction::InterfaceArrival, Utf8FromWide(data->symbolicLink));
        }
        return ERROR_SUCCESS;
    }
    std::function<void(bool, const std::string&)> changed;
    UnregisterNotification unregister;
    void* notification = nullptr;
};

// Where cfgmgr32 has no notifications (Windows 7, Wine): a message-only
// window on a thread of its own, registered for the WM_DEVICECHANGE
// broadcasts of the HID interfaces.
class WindowWatch final : public WinHidSystem::Watch {
public:
    static constexpr const wchar_t* kClassName = L"QuorvelHidWatch";

    // Null when the window or its registration cannot be made.
    static std::unique_ptr<WindowWatch> Start(std::function<void(bool, const std::string&)> changed) {
        auto watch = std::unique_ptr<WindowWatch>(new WindowWatch(std::move(changed)));
        std::promise<bool> started;
        std::future<bool> running = started.get_future();
        watch->thread_ =
            std::thread([self = watch.get(), started = std::move(started)]() mutable { self->run(started); });
        if (!running.get()) {
            watch->thread_.join();
            return nullptr;
        }
        return watch;
    }

    ~WindowWatch() override {
        ::PostMessageW(window_, WM_CLOSE, 0, 0); // ends the thread's message loop
        thread_.join();
    }

private:
    explicit WindowWatch(std::function<void(bool, const std::string&)> changed)
        : changed_(std::move(changed)) {}

    void run(std::promise<bool>& started) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &WindowWatch::Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        ::RegisterClassExW(&windowClass); // fails harmlessly when a watch registered it before
        window_ = ::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                    windowClass.hInstance, this);
        if (window_ == nullptr) {
            started.set_value(false);
            return;
        }
        DEV_BROADCAST_DEVICEINTERFACE_W filter{};
        filter.dbcc_size = sizeof filter;
        filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
        filter.dbcc_classguid = GUID_DEVINTERFACE_HID;
        registration_ = ::RegisterDeviceNotificationW(window_, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
        if (registration_ == nullptr) {
            ::DestroyWindow(window_);
            started.set_value(false);
            return;
        }
        started.set_value(true);
        MSG message;
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::DispatchMessageW(&message);
        }
    }

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<WindowWatch*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        switch (message) {
        case WM_DEVICECHANGE:
            if (self != nullptr && (wParam == DBT_DEVICEARRIVAL || wParam == DBT_DEVICEREMOVECOMPLETE)) {
                self->deviceChanged(wParam == DBT_DEVICEARRIVAL,
                                    reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam));
            }
            return TRUE;
        case WM_CLOSE:
            if (self != nullptr && self->registration_ != nullptr) {
                ::UnregisterDeviceNotification(self->registration_);
            }
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
    }

    void deviceChanged(bool arrived, const DEV_BROADCAST_HDR* header) {
        if (header == nullptr || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
            header->dbch_size < offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) {
            return;
        }
        const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(header);
        if (!::IsEqualGUID(broadcast->dbcc_classguid, GUID_DEVINTERFACE_HID)) {
            return;
        }
        // The name ends within the broadcast's own size even when its end mark is missing.
        const std::size_t room =
            (header->dbch_size - offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name)) / sizeof(wchar_t);
        const std::wstring_view name(broadcast->dbcc_name, ::wcsnlen(broadcast->dbcc_name, room));
        changed_(arrived, Utf8FromWide(name));
    }

    std::function<void(bool, const std::string&)> changed_;
    std::thread thread_;
    HWND window_ = nullptr;
    HDEVNOTIFY registration_ = nullptr;
};

// Waits for an overlapped transfer; cancels it when it does not end in time
// or the wake event comes first.
WinHidSystem::ReadResult Finish(HANDLE device, OVERLAPPED& overlapped, BOOL started,
                                std::chrono::milliseconds timeout, HANDLE wake) {
    using Status = WinHidSystem::ReadResult::Status;
    DWORD bytes = 0;
    if (!started && ::GetLastError() != ERROR_IO_PENDING) {
        return {Status::Failed, 0};
    }
    HANDLE handles[2] = {overlapped.hEvent, wake};
    const DWORD waited =
        ::WaitForMultipleObjects(wake != nullptr ? 2 : 1, handles, FALSE,
                                 timeout.count() < 0 ? INFINITE : static_cast<DWORD>(timeout.count()));
    Status status = Status::Done;
    if (waited != WAIT_OBJECT_0) {
        ::CancelIoEx(device, &overlapped);
        status = waited == WAIT_OBJECT_0 + 1 ? Status::Woken
                 : waited == WAIT_TIMEOUT    ? Status::TimedOut
                                             : Status::Failed;
    }
    // The transfer must be over before its buffer and OVERLAPPED go.
    const BOOL done = ::GetOverlappedResult(device, &overlapped, &bytes, TRUE);
    if (status == Status::Done && !done) {
        status = Status::Failed;
    }
    if (status != Status::Done && done) {
        status = Status::Done; // it ended just before the cancel
    }
    return {status, status == Status::Done ? bytes : 0};
}

class SystemWinHid final : public WinHidSystem {
public:
    std::vector<std::string> interfacePaths() override {
        std::vector<std::string> paths;
        HDEVINFO set = ::SetupDiGetClassDevsW(&GUID_DEVINTERFACE_HID, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
        if (set == INVALID_HANDLE_VALUE) {
            return paths;
        }
        SP_DEVICE_INTERFACE_DATA data{};
        data.cbSize = sizeof data;
        for (DWORD i = 0; ::SetupDiEnumDeviceInterfaces(set, nullptr, &GUID_DEVINTERFACE_HID, i, &data);
             ++i) {
            DWORD size = 0;
            ::SetupDiGetDeviceInterfaceDetailW(set, &data, nullptr, 0, &size, nullptr);
            if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) {
                continue;
            }
            std::vector<std::uint8_t> buffer(size);
            auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
            detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
            if (::SetupDiGetDeviceInterfaceDetailW(set, &data, detail, size, nullptr, nullptr)) {
                paths.push_back(Utf8FromWide(detail->DevicePath));
            }
        }
        ::SetupDiDestroyDeviceInfoList(set);
        return paths;
    }

    Opened open(const std::string& path, HidAccess access) override {
        DWORD rights = 0;
        if (access == HidAccess::Read || access == HidAccess::ReadWrite) {
            rights |= GENERIC_READ;
        }
        if (access == HidAccess::Write || access == HidAccess::ReadWrite) {
            rights |= GENERIC_WRITE;
        }
        HANDLE handle = ::CreateFileW(WideFromUtf8(path).c_str(), rights, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return {nullptr, ::GetLastError() == ERROR_ACCESS_DENIED ? HidOpenError::NoPermission
                                                                     : HidOpenError::Failed};
        }
        return {std::make_unique<DeviceHandle>(handle), HidOpenError::None};
    }

    std::optional<Attributes> attributes(Handle& device) override {
        HIDD_ATTRIBUTES attributes{};
        attributes.Size = sizeof attributes;
        if (!::HidD_GetAttributes(Native(device), &attributes)) {
            return std::nullopt;
        }
        return Attributes{attributes.VendorID, attributes.ProductID, attributes.VersionNumber};
    }

    std::optional<Caps> caps(Handle& device) override {
        PHIDP_PREPARSED_DATA preparsed = nullptr;
        if (!::HidD_GetPreparsedData(Native(device), &preparsed)) {
            return std::nullopt;
        }
        HIDP_CAPS caps{};
        const NTSTATUS status = ::HidP_GetCaps(preparsed, &caps);
        ::HidD_FreePreparsedData(preparsed);
        if (status != HIDP_STATUS_SUCCESS) {
            return std::nullopt;
        }
        return Caps{caps.UsagePage, caps.Usage, caps.InputReportByteLength, caps.OutputReportByteLength,
                    caps.FeatureReportByteLength};
    }

    // The feature requests of the HID class driver, overlapped, so that a
    // device that does not answer cannot hold the caller.
    bool setFeature(Handle& device, std::span<const std::uint8_t> report,
                    std::chrono::milliseconds timeout) override {
        std::vector<std::uint8_t> copy(report.begin(), report.end());
        return Control(device, IOCTL_HID_SET_FEATURE, copy, timeout);
    }

    bool getFeature(Handle& device, std::span<std::uint8_t> report,
                    std::chrono::milliseconds timeout) override {
        return Control(device, IOCTL_HID_GET_FEATURE, report, timeout);
    }

    bool write(Handle& device, std::span<const std::uint8_t> report,
               std::chrono::milliseconds timeout) override {
        Event done;
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.handle;
        const BOOL started = ::WriteFile(Native(device), report.data(), static_cast<DWORD>(report.size()),
                                         nullptr, &overlapped);
        const auto result = Finish(Native(device), overlapped, started, timeout, nullptr);
        return result.status == ReadResult::Status::Done && result.bytes == report.size();
    }

    ReadResult read(Handle& device, std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                    WakeEvent* wake) override {
        HANDLE wakeHandle = wake != nullptr ? static_cast<Event*>(wake)->handle : nullptr;
        if (wakeHandle != nullptr && ::WaitForSingleObject(wakeHandle, 0) == WAIT_OBJECT_0) {
            return {ReadResult::Status::Woken, 0};
        }
        Event done;
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.handle;
        const BOOL started = ::ReadFile(Native(device), report.data(), static_cast<DWORD>(report.size()),
                                        nullptr, &overlapped);
        return Finish(Native(device), overlapped, started, timeout, wakeHandle);
    }

    static bool Control(Handle& device, DWORD code, std::span<std::uint8_t> report,
                        std::chrono::milliseconds timeout) {
        Event done;
        OVERLAPPED overlapped{};
        overlapped.hEvent = done.handle;
        const auto size = static_cast<DWORD>(report.size());
        const BOOL started = code == IOCTL_HID_SET_FEATURE
                                 ? ::DeviceIoControl(Native(device), code, report.data(), size, nullptr, 0,
                                                     nullptr, &overlapped)
                                 : ::DeviceIoControl(Native(device), code, report.data(), size, report.data(),
                                                     size, nullptr, &overlapped);
        return Finish(Native(device), overlapped, started, timeout, nullptr).status ==
               ReadResult::Status::Done;
    }

    std::unique_ptr<WakeEvent> createWakeEvent() override {
        auto event = std::make_unique<Event>();
        return event->handle != nullptr ? std::move(event) : nullptr;
    }

    std::unique_ptr<Watch> watch(std::function<void(bool, const std::string&)> changed) override {
        if (auto watch = NotificationWatch::Start(changed)) {
            return watch;
        }
        return WindowWatch::Start(std::move(changed));
    }
};

} // namespace

std::shared_ptr<WinHidSystem> MakeSystemWinHid() {
    return std::make_shared<SystemWinHid>();
}

} // namespace quorvel
