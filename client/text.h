// Small text rules shared by the tool runs: trimming and marker searches on 8-bit text.
#pragma once

#include <string>
#include <string_view>

namespace quelvane {

// Removes the characters with codes 32 or less at both ends.
std::string_view trim(std::string_view text);

// The letters a to z turned to capitals, or capitals to small letters; no other byte changes.
std::string to_upper(std::string_view text);
std::string to_lower(std::string_view text);

inline bool contains(std::string_view text, std::string_view marker)
{
    return text.find(marker) != std::string_view::npos;
}

} // namespace quelvane
