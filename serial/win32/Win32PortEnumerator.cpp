#include "serial/win32/Win32PortEnumerator.h"

#include <optional>
#include <string>

#include <windows.h>

#include <setupapi.h>

#include "serial/win32/WideText.h"

namespace orvane {

namespace {

// The COM-port device interface class, {86E0D1E0-8089-11D0-9CE4-08003E301F73}.
constexpr GUID kComPortInterface{
    0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};

using CustomPropertyCall = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, LPCWSTR, DWORD, PDWORD, PBYTE,
                                         DWORD, PDWORD);

// Looked up at run time: not every setupapi has it, and without it the port name comes
// from the friendly name.
CustomPropertyCall CustomPropertyFunction() {
    const HMODULE setupapi = GetModuleHandleW(L"setupapi.dll");
    if (setupapi == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<CustomPropertyCall>(
        reinterpret_cast<void*>(GetProcAddress(setupapi, "SetupDiGetCustomDevicePropertyW")));
}

// A text property from a buffer of UTF-16 characters; missing when empty or unreadable.
std::optional<std::string> TextOf(const std::wstring& buffer, DWORD bytes) {
    std::wstring text = buffer.substr(0, bytes / sizeof(wchar_t));
    text = text.substr(0, text.find(L'\0'));
    if (text.empty()) {
        return std::nullopt;
    }
    return Narrow(text);
}

std::optional<std::string> RegistryText(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property) {
    std::wstring buffer(256, L'\0');
    DWORD bytes = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(
            set, &device, property, nullptr, reinterpret_cast<PBYTE>(buffer.data()),
            static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &bytes)) {
        return std::nullopt;
    }
    return TextOf(buffer, bytes);
}

std::optional<std::string> PortNameOf(CustomPropertyCall call, HDEVINFO set,
                                      SP_DEVINFO_DATA& device) {
    if (call == nullptr) {
        return std::nullopt;
    }
    std::wstring buffer(64, L'\0');
    DWORD bytes = 0;
    if (!call(set, &device, L"PortName", 0, nullptr, reinterpret_cast<PBYTE>(buffer.data()),
              static_cast<DWORD>(buffer.size() * sizeof(wchar_t)), &bytes)) {
        return std::nullopt;
    }
    return TextOf(buffer, bytes);
}

} // namespace

std::vector<PortDevice> Win32PortEnumerator::EnumeratePorts() {
    std::vector<PortDevice> devices;
    const DWORD flags = DIGCF_DEVICEINTERFACE | (m_presentOnly ? DIGCF_PRESENT : 0);
    const HDEVINFO set = SetupDiGetClassDevsA(&kComPortInterface, nullptr, nullptr, flags);
    if (set == INVALID_HANDLE_VALUE) {
        return devices;
    }
    const CustomPropertyCall customProperty = CustomPropertyFunction();
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        PortDevice found;
        found.portName = PortNameOf(customProperty, set, device);
        found.friendlyName = RegistryText(set, device, SPDRP_FRIENDLYNAME);
        found.service = RegistryText(set, device, SPDRP_SERVICE);
        devices.push_back(std::move(found));
    }
    SetupDiDestroyDeviceInfoList(set);
    return devices;
}

} // namespace orvane
