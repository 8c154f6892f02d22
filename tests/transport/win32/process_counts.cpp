#include "process_counts.h"

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <thread>
#include <vector>

namespace orvane::test {

namespace {

constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

struct HandleEntry {
    PVOID object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG attributes;
    ULONG reserved;
};

struct HandleTable {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntry handles[1];
};

using QuerySystemInformation = NTSTATUS(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

size_t countInSystemTable() {
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (query == nullptr) return 0;
    std::vector<unsigned char> buffer(1 << 20);
    NTSTATUS status;
    ULONG needed = 0;
    while ((status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                           &needed)) == kInfoLengthMismatch) {
        buffer.resize(buffer.size() * 2);
    }
    if (status != 0) return 0;
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    const ULONG_PTR self = GetCurrentProcessId();
    size_t count = 0;
    for (ULONG_PTR i = 0; i < table->count; ++i) count += table->handles[i].processId == self ? 1 : 0;
    return count;
}

}  // namespace

size_t processHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
    return countInSystemTable();
}

size_t processThreadCount() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    size_t count = 0;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == self ? 1 : 0;
    }
    CloseHandle(snapshot);
    return count;
}

ProcessCounts processCounts() {
    return {processHandleCount(), processThreadCount()};
}

bool nothingLeaked(const ProcessCounts& before, const ProcessCounts& after) {
    return after.threads <= before.threads && after.handles <= before.handles + kLazyHandleAllowance;
}

ProcessCounts lowestCountsOver(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    ProcessCounts lowest = processCounts();
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        const ProcessCounts now = processCounts();
        lowest = {std::min(lowest.handles, now.handles), std::min(lowest.threads, now.threads)};
    }
    return lowest;
}

ProcessCounts countsOnceSettled(const ProcessCounts& bound, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    ProcessCounts counts = processCounts();
    while (!nothingLeaked(bound, counts) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        counts = processCounts();
    }
    return counts;
}

}  // namespace orvane::test
