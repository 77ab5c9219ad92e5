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

std::filesystem::path fs_path(const std::string &text)
{
    return std::u8string(text.begin(), text.end());
}

std::string text_of(const std::filesystem::path &path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace quelvane::platform
