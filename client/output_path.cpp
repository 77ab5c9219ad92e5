#include "client/output_path.h"

#include "client/text.h"
#include "platform/paths.h"

#include <algorithm>
#include <utility>

namespace quelvane {

std::string_view file_name_part(std::string_view path)
{
    return path.substr(platform::file_name_start(path));
}

std::string_view extension_of(std::string_view path)
{
    const std::string_view name = file_name_part(path);
    const auto dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string output_file_name(std::string_view input, bool convert, std::string_view format_text)
{
    const std::string_view name = file_name_part(input);
    if (!convert)
        return std::string(name);
    const std::string format = to_lower(format_text.size() > 2 ? format_text.substr(2) : "");
    const std::string_view extension = extension_of(input);
    if (extension.empty())
        return std::string(name) + "." + format;
    const std::string_view stem = name.substr(0, name.find(extension) + 1);
    return std::string(stem) + format;
}

std::string join_folder(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (path.empty() || !platform::is_path_separator(path.back()))
        path += platform::path_separator();
    path += name;
    return path;
}

std::string output_path(std::string_view input, std::string_view folder, bool convert,
                        std::string_view format_text, const TakenTest &taken)
{
    std::string output = join_folder(folder, output_file_name(input, convert, format_text));
    while (taken(output)) {
        const std::size_t start = platform::file_name_start(output);
        output.insert(start, "NEW_");
    }
    return output;
}

bool same_file(const std::string &a, const std::string &b)
{
    return to_lower(a) == to_lower(b) || platform::same_file_on_disk(a, b);
}

TakenTest taken_by(std::vector<std::string> paths)
{
    return [paths = std::move(paths)](const std::string &candidate) {
        return std::any_of(paths.begin(), paths.end(),
                           [&](const std::string &path) { return same_file(candidate, path); });
    };
}

bool changes_format(std::string_view input, std::string_view output)
{
    return to_upper(extension_of(input)) != to_upper(extension_of(output));
}

} // namespace quelvane
