#include "client/text.h"

namespace quelvane {

namespace {
bool is_blank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}
} // namespace

std::string_view trim(std::string_view text)
{
    while (!text.empty() && is_blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && is_blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace quelvane
