// Win32 backend of platform/paths.h: the Windows directory, path spelling and file identity.
#include "platform/paths.h"

#include "platform/file_handle_win32.h"
#include "platform/windows.h"

#include <optional>

namespace quelvane::platform {

std::string system_directory()
{
    std::string dir(MAX_PATH, '\0');
    UINT length = ::GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size() + 1));
    if (length > dir.size()) {
        // Too small: the answer is the size needed, terminating zero included.
        dir.assign(length, '\0');
        length = ::GetWindowsDirectoryA(dir.data(), static_cast<UINT>(dir.size() + 1));
    }
    dir.resize(length <= dir.size() ? length : 0);
    while (!dir.empty() && dir.back() == '\\')
        dir.pop_back();
    return dir;
}

char path_separator()
{
    return '\\';
}

bool is_path_separator(char c)
{
    return c == '\\' || c == '/' || c == ':';
}

namespace {

struct FileIdentity {
    DWORD volume = 0;
    DWORD index_high = 0;
    DWORD index_low = 0;
};

std::optional<FileIdentity> identity_of(const std::string &path)
{
    // Asks for no access at all: a file that others hold open, or a folder, still answers.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    const FileHandle file(::CreateFileA(path.c_str(), 0, share, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info {};
    if (!file || !::GetFileInformationByHandle(file.get(), &info))
        return std::nullopt;
    return FileIdentity {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

} // namespace

bool same_file_on_disk(const std::string &a, const std::string &b)
{
    const auto first = identity_of(a);
    const auto second = identity_of(b);
    return first && second && first->volume == second->volume
        && first->index_high == second->index_high && first->index_low == second->index_low;
}

std::string tool_file_name()
{
    return "client.exe";
}

} // namespace quelvane::platform
