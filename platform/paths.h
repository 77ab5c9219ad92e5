// Where the system keeps things and how it spells paths; backends paths_posix.cpp, paths_win32.cpp.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace quelvane::platform {

// The folder that holds quelvanesvc/: the Windows directory there, a folder fixed at build time
// elsewhere. Never ends with a separator.
std::string system_directory();

// The separator this system puts between the parts of a path.
char path_separator();

// Whether `c` ends a folder part of a path here: "/" on POSIX; "\\", "/" and the drive's ":"
// on Windows.
bool is_path_separator(char c);

// Where the file-name part of `path` begins: just after its last separator, 0 when it has none.
std::size_t file_name_start(std::string_view path);

// Whether both paths lead to one existing file, whatever their spelling (links, "." and ".."
// parts): the same device and inode on POSIX, volume serial number and file index on Windows.
bool same_file_on_disk(const std::string &a, const std::string &b);

// A path of the program's 8-bit texts as std::filesystem takes it, and back. They are UTF-8:
// on Windows the manifest makes it the code page, which MinGW's std::filesystem does not use.
std::filesystem::path fs_path(const std::string &text);
std::string text_of(const std::filesystem::path &path);

// The helper tool's own file name inside quelvanesvc/.
std::string tool_file_name();

} // namespace quelvane::platform
