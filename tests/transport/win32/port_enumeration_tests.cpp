#include "transport/win32/port_enumeration.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <setupapi.h>

#include <algorithm>
#include <string>

namespace orvane {
namespace {

const GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
constexpr wchar_t kTestEnumerator[] = L"ORVANETEST";
constexpr wchar_t kSerialCommMap[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";

// Devices of the Ports class made for a test and removed afterwards.
class TestPortDevices {
public:
    TestPortDevices() { removeLeftovers(); }
    ~TestPortDevices() { removeLeftovers(); }

    // `hardwareIds`: a list of strings, each ending in a null.
    void add(const std::wstring& portName, const std::wstring& friendlyName, const std::wstring& deviceDescription,
             const std::wstring& hardwareIds) {
        const HDEVINFO set = SetupDiCreateDeviceInfoList(&kPortsClass, nullptr);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        ASSERT_TRUE(SetupDiCreateDeviceInfoW(set, kTestEnumerator, &kPortsClass,
                                             deviceDescription.empty() ? nullptr : deviceDescription.c_str(), nullptr,
                                             DICD_GENERATE_ID, &device));
        ASSERT_TRUE(SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr));
        if (!friendlyName.empty()) setProperty(set, device, SPDRP_FRIENDLYNAME, friendlyName + L'\0');
        if (!hardwareIds.empty()) setProperty(set, device, SPDRP_HARDWAREID, hardwareIds + L'\0');
        const HKEY key = SetupDiCreateDevRegKeyW(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
        ASSERT_NE(key, INVALID_HANDLE_VALUE);
        RegSetValueExW(key, L"PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(portName.c_str()),
                       static_cast<DWORD>((portName.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        SetupDiDestroyDeviceInfoList(set);
    }

private:
    static void setProperty(HDEVINFO set, SP_DEVINFO_DATA& device, DWORD property, const std::wstring& value) {
        ASSERT_TRUE(SetupDiSetDeviceRegistryPropertyW(set, &device, property,
                                                      reinterpret_cast<const BYTE*>(value.c_str()),
                                                      static_cast<DWORD>(value.size() * sizeof(wchar_t))));
    }

    static void removeLeftovers() {
        const HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, 0);
        if (set == INVALID_HANDLE_VALUE) return;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
            wchar_t id[256] = {};
            SetupDiGetDeviceInstanceIdW(set, &device, id, 256, nullptr);
            if (std::wstring(id).starts_with(std::wstring(L"ROOT\\") + kTestEnumerator)) SetupDiRemoveDevice(set, &device);
        }
        SetupDiDestroyDeviceInfoList(set);
    }
};

// Values in the SERIALCOMM device map made for a test and removed afterwards.
class TestSerialCommEntries {
public:
    TestSerialCommEntries() {
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSerialCommMap, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &map, nullptr);
    }
    ~TestSerialCommEntries() {
        for (const std::wstring& name : names) RegDeleteValueW(map, name.c_str());
        RegCloseKey(map);
    }
    void add(const std::wstring& portName) {
        const std::wstring name = L"\\Device\\OrvaneTest" + std::to_wstring(names.size());
        ASSERT_EQ(RegSetValueExW(map, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(portName.c_str()),
                                 static_cast<DWORD>((portName.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
        names.push_back(name);
    }

private:
    HKEY map = nullptr;
    std::vector<std::wstring> names;
};

std::vector<std::wstring> namesOf(const std::vector<PortInfo>& ports) {
    std::vector<std::wstring> names;
    for (const PortInfo& port : ports) names.push_back(port.portName);
    return names;
}

bool sortedByNumber(const std::vector<PortInfo>& ports) {
    return std::is_sorted(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) {
        return portNumber(a.portName) < portNumber(b.portName);
    });
}

TEST(PortEnumeration, PortsClassDevicesAreListedSortedWithTheirDescriptions) {
    TestPortDevices devices;
    TestSerialCommEntries map;
    map.add(L"COM58");  // not consulted: the class has ports
    devices.add(L"COM10", L"Orvane Test A (COM10)", L"Generic port", std::wstring(L"ORVANE\\A") + L'\0' + L"SECOND");
    devices.add(L"COM2", L"", L"Orvane Test B", L"");
    devices.add(L"LPT1", L"Printer Port (LPT1)", L"", L"");
    devices.add(L"com7", L"Lower Case (COM7)", L"", L"");

    const std::vector<PortInfo> ports = enumerateSerialPorts();
    ASSERT_EQ(namesOf(ports), (std::vector<std::wstring>{L"COM2", L"com7", L"COM10"}));
    EXPECT_EQ(ports[0].description, L"Orvane Test B");  // no friendly name: the device description
    EXPECT_EQ(ports[0].hardwareId, L"");
    EXPECT_EQ(ports[2].description, L"Orvane Test A (COM10)");
    EXPECT_EQ(ports[2].hardwareId, L"ORVANE\\A");  // the first of the list
    EXPECT_EQ(portDisplayText(ports[2]), L"COM10  -  Orvane Test A");
}

TEST(PortEnumeration, WithoutAComPortInTheClassTheSerialCommMapIsListed) {
    TestPortDevices devices;
    devices.add(L"LPT2", L"Printer Port (LPT2)", L"", L"");  // no COM port in the class
    TestSerialCommEntries map;
    map.add(L"COM57");
    map.add(L"LPT3");
    map.add(L"com56");

    EXPECT_TRUE(portsOfPortsClass().empty());
    const std::vector<PortInfo> ports = enumerateSerialPorts();
    const std::vector<std::wstring> names = namesOf(ports);
    EXPECT_NE(std::find(names.begin(), names.end(), L"COM57"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), L"com56"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), L"LPT3"), names.end());
    EXPECT_TRUE(sortedByNumber(ports));
    for (const PortInfo& port : ports) {
        EXPECT_TRUE(port.description.empty());
        EXPECT_TRUE(port.hardwareId.empty());
    }
}

}  // namespace
}  // namespace orvane
