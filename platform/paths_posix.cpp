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

std::string tool_file_name()
{
    return "client";
}

} // namespace quelvane::platform
