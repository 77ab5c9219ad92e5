// Where the system keeps things and how it spells paths; backends paths_posix.cpp, paths_win32.cpp.
#pragma once

#include <string>

namespace quelvane::platform {

// The folder that holds quelvanesvc/: the Windows directory there, a folder fixed at build time
// elsewhere. Never ends with a separator.
std::string system_directory();

// The separator this system puts between the parts of a path.
char path_separator();

// The helper tool's own file name inside quelvanesvc/.
std::string tool_file_name();

} // namespace quelvane::platform
