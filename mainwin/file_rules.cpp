#include "mainwin/file_rules.h"

#include "client/output_path.h"
#include "client/text.h"
#include "platform/paths.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace fs = std::filesystem;

namespace quelvane {

namespace {
std::string system_reason(int error)
{
    return std::generic_category().message(error);
}
} // namespace

std::vector<std::string> split_patterns(std::string_view patterns)
{
    std::vector<std::string> pieces;
    while (!patterns.empty()) {
        const auto end = patterns.find(';');
        pieces.emplace_back(patterns.substr(0, end));
        if (end == std::string_view::npos)
            break;
        patterns.remove_prefix(end + 1);
    }
    return pieces;
}

bool passes_extension_test(std::string_view path)
{
    const std::string_view extension = extension_of(path);
    if (extension.empty())
        return false;
    return contains(video_patterns, to_upper(extension));
}

std::uint64_t kilobytes(std::uint64_t bytes)
{
    const std::uint64_t whole = bytes / 1024;
    const std::uint64_t rest = bytes % 1024;
    if (rest > 512 || (rest == 512 && whole % 2 == 1))
        return whole + 1;
    return whole;
}

std::string size_text(std::uint64_t bytes)
{
    const std::string digits = std::to_string(kilobytes(bytes));
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        text += digits[i];
        const std::size_t after = digits.size() - i - 1;
        if (after > 0 && after % 3 == 0)
            text += ',';
    }
    return text + " KB";
}

std::string count_text(std::size_t rows)
{
    return std::to_string(rows) + " Files";
}

std::string folder_with_separator(std::string_view path)
{
    std::string folder(trim(path));
    if (folder.empty() || folder.back() != platform::path_separator())
        folder += platform::path_separator();
    return folder;
}

std::string case_blind_filter(std::string_view patterns)
{
    std::string filter;
    for (const std::string &pattern : split_patterns(patterns)) {
        if (!filter.empty())
            filter += ' ';
        const std::string upper = to_upper(pattern);
        const std::string lower = to_lower(pattern);
        for (std::size_t i = 0; i < pattern.size(); ++i) {
            if (upper[i] == lower[i]) {
                filter += pattern[i];
            } else {
                filter += '[';
                filter += upper[i];
                filter += lower[i];
                filter += ']';
            }
        }
    }
    return filter;
}

FileOpenError::FileOpenError(const std::string &path, const std::string &reason)
    : std::runtime_error("Cannot open file \"" + path + "\". " + reason)
{
}

std::uint64_t file_length(const std::string &path)
{
    // A folder is told apart first: POSIX opens one for reading, Windows refuses it as access
    // denied; either way its length is no file's length.
    std::error_code error;
    const fs::file_status status = fs::status(platform::fs_path(path), error);
    if (fs::is_directory(status))
        throw FileOpenError(path, system_reason(EISDIR));
    // A pipe, a socket or a device may block an open until someone writes to it, or never end.
    if (fs::exists(status) && !fs::is_regular_file(status))
        throw FileOpenError(path, "Not a regular file");
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> file(std::fopen(path.c_str(), "rb"),
                                                                 &std::fclose);
    if (!file)
        throw FileOpenError(path, system_reason(errno));
    const std::uintmax_t length = fs::file_size(platform::fs_path(path), error);
    if (error)
        throw FileOpenError(path, error.message());
    return length;
}

std::vector<std::string> video_entries(const std::string &folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(platform::fs_path(folder), error), end; !error && it != end;
         it.increment(error)) {
        std::error_code ignored;
        if (it->is_directory(ignored))
            continue;
        std::string name = platform::text_of(it->path().filename());
        if (passes_extension_test(name))
            names.push_back(std::move(name));
    }
    return names;
}

} // namespace quelvane
