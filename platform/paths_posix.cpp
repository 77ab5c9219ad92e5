// POSIX backend of the path facts: the system folder is fixed when the program is built.
#include "platform/paths.h"

#include <sys/stat.h>

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

bool same_file_on_disk(const std::string &a, const std::string &b)
{
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string tool_file_name()
{
    return "client";
}

} // namespace quelvane::platform
