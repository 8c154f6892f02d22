#include "transport/win32/port_enumeration.h"

#include <windows.h>
#include <setupapi.h>

#include <cwchar>
#include <new>
#include <string>

namespace orvane {

namespace {

// {4D36E978-E325-11CE-BFC1-08002BE10318}
constexpr GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

constexpr size_t kPortNameChars = 64;
// Device properties longer than this are not names anybody reads.
constexpr DWORD kMaxPropertyBytes = 64 * 1024;
constexpr size_t kMaxMapValueChars = 256;

std::wstring readPortName(HDEVINFO devices, SP_DEVINFO_DATA& device) {
    wchar_t name[kPortNameChars] = {};
    const HKEY key = SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return {};
    DWORD bytes = sizeof(name);
    const LONG result = RegQueryValueExW(key, L"PortName", nullptr, nullptr, reinterpret_cast<BYTE*>(name), &bytes);
    RegCloseKey(key);
    // A name too long for the buffer is no port name anybody uses.
    if (result != ERROR_SUCCESS) return {};
    return std::wstring(name, wcsnlen(name, kPortNameChars));
}

// A string property, or the first string of a list; empty when missing.
std::wstring readProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property) {
    DWORD bytes = 0;
    SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr, nullptr, 0, &bytes);
    if (bytes == 0 || bytes > kMaxPropertyBytes) return {};
    try {
        std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                               reinterpret_cast<BYTE*>(buffer.data()), bytes, nullptr)) {
            return {};
        }
        buffer.resize(wcsnlen(buffer.c_str(), buffer.size()));
        return buffer;
    } catch (const std::bad_alloc&) {
        return {};
    }
}

PortInfo describeDevice(HDEVINFO devices, SP_DEVINFO_DATA& device, std::wstring portName) {
    std::wstring description = readProperty(devices, device, SPDRP_FRIENDLYNAME);
    if (description.empty()) description = readProperty(devices, device, SPDRP_DEVICEDESC);
    return {std::move(portName), std::move(description), readProperty(devices, device, SPDRP_HARDWAREID)};
}

}  // namespace

std::vector<PortInfo> portsOfPortsClass() {
    std::vector<PortInfo> ports;
    const HDEVINFO devices = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (devices == INVALID_HANDLE_VALUE) return ports;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(devices, index, &device); ++index) {
        std::wstring portName = readPortName(devices, device);
        if (isComPortName(portName)) ports.push_back(describeDevice(devices, device, std::move(portName)));
    }
    SetupDiDestroyDeviceInfoList(devices);
    return ports;
}

std::vector<PortInfo> portsOfSerialCommMap() {
    std::vector<PortInfo> ports;
    HKEY map = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &map) != ERROR_SUCCESS) {
        return ports;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[kMaxMapValueChars];
        DWORD nameChars = kMaxMapValueChars;
        wchar_t portName[kPortNameChars] = {};
        DWORD bytes = sizeof(portName);
        DWORD type = 0;
        const LONG result = RegEnumValueW(map, index, valueName, &nameChars, nullptr, &type,
                                          reinterpret_cast<BYTE*>(portName), &bytes);
        if (result == ERROR_NO_MORE_ITEMS) break;
        if (result != ERROR_SUCCESS || type != REG_SZ) continue;
        std::wstring name(portName, wcsnlen(portName, kPortNameChars));
        if (isComPortName(name)) ports.push_back({std::move(name), {}, {}});
    }
    RegCloseKey(map);
    return ports;
}

std::vector<PortInfo> enumerateSerialPorts() {
    std::vector<PortInfo> ports = portsOfPortsClass();
    if (ports.empty()) ports = portsOfSerialCommMap();
    sortPorts(ports);
    return ports;
}

}  // namespace orvane
