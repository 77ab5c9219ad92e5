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

namespace {
// Moves the letters `from`..`from`+25 to `to`..; no other character changes.
std::string shift_letters(std::string_view text, char from, char to)
{
    std::string out(text);
    for (char &c : out) {
        if (c >= from && c <= from + 25)
            c = static_cast<char>(c - from + to);
    }
    return out;
}
} // namespace

std::string to_upper(std::string_view text)
{
    return shift_letters(text, 'a', 'A');
}

std::string to_lower(std::string_view text)
{
    return shift_letters(text, 'A', 'a');
}

} // namespace quelvane
