// POSIX backend of the path facts: the system folder is fixed when the program is built.
#include "platform/paths.h"

#ifndef QUELVANE_SYSTEM_DIR
#error "QUELVANE_SYSTEM_DIR must name the folder that holds quelvanesvc/"
#endif

namespace quelvane::platform {

std::string system_directory()
{
    std::string dir = QUELVANE_SYSTEM_DIR;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    return dir;
}

char path_separator()
{
    return '/';
}

bool is_path_separator(char c)
{
    return c == '/';
}

std::size_t file_name_start(std::string_view path)
{
    for (std::size_t end = path.size(); end > 0; --end) {
        if (is_path_separator(path[end - 1]))
            return end;
    }
    return 0;
}

std::string tool_file_name()
{
    return "client";
}

} // namespace quelvane::platform
