// Small text rules shared by the tool runs: trimming and marker searches on 8-bit text.
#pragma once

#include <string>
#include <string_view>

namespace quelvane {

// Removes the characters with codes 32 or less at both ends.
std::string_view trim(std::string_view text);

inline bool contains(std::string_view text, std::string_view marker)
{
    return text.find(marker) != std::string_view::npos;
}

} // namespace quelvane
