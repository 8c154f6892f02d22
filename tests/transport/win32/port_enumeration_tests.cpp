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

const BYTE* bytesOf(const std::wstring& text) {
    return reinterpret_cast<const BYTE*>(text.c_str());
}
DWORD sizeWithNull(const std::wstring& text) {
    return static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
}

// Devices of the Ports class and values of the SERIALCOMM device map made
// for a test, removed afterwards.
class TestPorts {
public:
    TestPorts() {
        removeDevices();
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, nullptr, REG_OPTION_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &map, nullptr);
    }
    ~TestPorts() {
        removeDevices();
        for (const std::wstring& name : mapNames) RegDeleteValueW(map, name.c_str());
        RegCloseKey(map);
    }

    // `hardwareIds`: a list of strings, each ending in a null.
    void addDevice(const std::wstring& portName, const std::wstring& friendlyName, const std::wstring& description,
                   const std::wstring& hardwareIds) {
        const HDEVINFO set = SetupDiCreateDeviceInfoList(&kPortsClass, nullptr);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        ASSERT_TRUE(SetupDiCreateDeviceInfoW(set, kTestEnumerator, &kPortsClass,
                                             description.empty() ? nullptr : description.c_str(), nullptr,
                                             DICD_GENERATE_ID, &device));
        ASSERT_TRUE(SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr));
        for (const auto& [property, value] :
             {std::pair{SPDRP_FRIENDLYNAME, friendlyName}, {SPDRP_HARDWAREID, hardwareIds}}) {
            if (value.empty()) continue;
            SetupDiSetDeviceRegistryPropertyW(set, &device, property, bytesOf(value), sizeWithNull(value));
        }
        const HKEY key = SetupDiCreateDevRegKeyW(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
        ASSERT_NE(key, INVALID_HANDLE_VALUE);
        RegSetValueExW(key, L"PortName", 0, REG_SZ, bytesOf(portName), sizeWithNull(portName));
        RegCloseKey(key);
        SetupDiDestroyDeviceInfoList(set);
    }
    void addMapEntry(const std::wstring& portName) {
        mapNames.push_back(L"\\Device\\OrvaneTest" + std::to_wstring(mapNames.size()));
        ASSERT_EQ(RegSetValueExW(map, mapNames.back().c_str(), 0, REG_SZ, bytesOf(portName), sizeWithNull(portName)),
                  ERROR_SUCCESS);
    }

private:
    static void removeDevices() {
        const HDEVINFO set = SetupDiGetClassDevsW(&kPortsClass, nullptr, nullptr, 0);
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof(device);
        for (DWORD i = 0; set != INVALID_HANDLE_VALUE && SetupDiEnumDeviceInfo(set, i, &device); ++i) {
            wchar_t id[256] = {};
            SetupDiGetDeviceInstanceIdW(set, &device, id, 256, nullptr);
            if (std::wstring(id).starts_with(std::wstring(L"ROOT\\") + kTestEnumerator)) {
                SetupDiRemoveDevice(set, &device);
            }
        }
        SetupDiDestroyDeviceInfoList(set);
    }

    HKEY map = nullptr;
    std::vector<std::wstring> mapNames;
};

std::vector<std::wstring> namesOf(const std::vector<PortInfo>& ports) {
    std::vector<std::wstring> names;
    for (const PortInfo& port : ports) names.push_back(port.portName);
    return names;
}

TEST(PortEnumeration, PortsClassDevicesAreListedSortedWithTheirDescriptions) {
    TestPorts test;
    test.addMapEntry(L"COM58");  // not consulted: the class has ports
    test.addDevice(L"COM10", L"Orvane Test A (COM10)", L"Generic port", std::wstring(L"ORVANE\\A") + L'\0' + L"SECOND");
    test.addDevice(L"COM2", L"", L"Orvane Test B", L"");
    test.addDevice(L"LPT1", L"Printer Port (LPT1)", L"", L"");
    test.addDevice(L"com7", L"Lower Case (COM7)", L"", L"");

    const std::vector<PortInfo> ports = enumerateSerialPorts();
    ASSERT_EQ(namesOf(ports), (std::vector<std::wstring>{L"COM2", L"com7", L"COM10"}));
    // Without a friendly name the device description; the first hardware id.
    EXPECT_EQ(ports[0], (PortInfo{L"COM2", L"Orvane Test B", L""}));
    EXPECT_EQ(ports[2], (PortInfo{L"COM10", L"Orvane Test A (COM10)", L"ORVANE\\A"}));
}

TEST(PortEnumeration, WithoutAComPortInTheClassTheSerialCommMapIsListed) {
    TestPorts test;
    test.addDevice(L"LPT2", L"Printer Port (LPT2)", L"", L"");  // no COM port in the class
    for (const wchar_t* name : {L"COM57", L"LPT3", L"com56"}) test.addMapEntry(name);

    EXPECT_TRUE(portsOfPortsClass().empty());
    const std::vector<PortInfo> ports = enumerateSerialPorts();
    const std::vector<std::wstring> names = namesOf(ports);
    EXPECT_NE(std::find(names.begin(), names.end(), L"COM57"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), L"com56"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), L"LPT3"), names.end());
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end(), [](const PortInfo& a, const PortInfo& b) {
        return portNumber(a.portName) < portNumber(b.portName);
    }));
    for (const PortInfo& port : ports) EXPECT_EQ(port, (PortInfo{port.portName, L"", L""}));
}

}  // namespace
}  // namespace orvane
