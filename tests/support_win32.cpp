// The Windows side of the test support: Toolhelp snapshots, handle counts, process times.
#include "tests/support.h"

#include "platform/windows.h"

#include <filesystem>
#include <vector>

#include <tlhelp32.h>
#include <winternl.h>

namespace fs = std::filesystem;

namespace quelvane::testing {

namespace {

// The folder of the running test program; the fake tool is built beside it.
fs::path own_folder()
{
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length
            = ::GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return fs::path(path).parent_path();
        }
        path.resize(path.size() * 2);
    }
}

// One row of the system's handle table, as NtQuerySystemInformation lists it.
struct HandleEntry {
    ULONG process_id;
    UCHAR object_type;
    UCHAR attributes;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};
struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

int handles_in_system_table()
{
    std::vector<char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = ::NtQuerySystemInformation(
            kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0)
            return -1;
        break;
    }
    const auto *table = reinterpret_cast<const HandleTable *>(buffer.data());
    const DWORD self = ::GetCurrentProcessId();
    int count = 0;
    for (ULONG i = 0; i < table->count; ++i)
        count += (table->entries[i].process_id & 0xFFFF) == (self & 0xFFFF);
    return count;
}

} // namespace

std::string fake_tool()
{
    return (own_folder() / QUELVANE_FAKE_TOOL_NAME).string();
}

void set_environment(const std::string &name, const std::string &value)
{
    ::SetEnvironmentVariableA(name.c_str(), value.c_str());
}

void unset_environment(const std::string &name)
{
    ::SetEnvironmentVariableA(name.c_str(), nullptr);
}

void place_program(const std::string &target, const std::string &place)
{
    // Symbolic links need a privilege on Windows; a copy runs the same.
    fs::copy_file(target, place, fs::copy_options::overwrite_existing);
}

std::vector<int> child_processes()
{
    std::vector<int> children;
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return children;
    const DWORD self = ::GetCurrentProcessId();
    PROCESSENTRY32 entry {};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more;
         more = ::Process32Next(snapshot, &entry)) {
        if (entry.th32ParentProcessID == self && entry.th32ProcessID != self)
            children.push_back(static_cast<int>(entry.th32ProcessID));
    }
    ::CloseHandle(snapshot);
    return children;
}

int open_descriptors()
{
    // Wine answers 0 here; its handle table has the real count.
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0)
        return static_cast<int>(count);
    return handles_in_system_table();
}

double own_cpu_seconds()
{
    FILETIME created, ended, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user))
        return 0;
    const auto seconds = [](const FILETIME &time) {
        const ULONGLONG ticks = (ULONGLONG(time.dwHighDateTime) << 32) | time.dwLowDateTime;
        return ticks / 1e7; // 100-nanosecond ticks
    };
    return seconds(kernel) + seconds(user);
}

} // namespace quelvane::testing
