#include "platform/paths.h"

namespace quelvane::platform {

std::size_t file_name_start(std::string_view path)
{
    for (std::size_t end = path.size(); end > 0; --end) {
        if (is_path_separator(path[end - 1]))
            return end;
    }
    return 0;
}

} // namespace quelvane::platform
