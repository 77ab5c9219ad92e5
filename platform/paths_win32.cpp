// Win32 backend of the path facts: the tool lives under the Windows directory. Only Win32
// calls live here.
#include "platform/paths.h"

#include "platform/windows.h"

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

std::string tool_file_name()
{
    return "client.exe";
}

} // namespace quelvane::platform
