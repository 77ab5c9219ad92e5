// How the removal run names its output: the file-name part, the format change with its stem,
// the folder join, and the "NEW_" prefix that keeps the tool off files it must not write.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quelvane {

// What follows the last path separator of this system (all of `path` when it has none).
std::string_view file_name_part(std::string_view path);

// From the last "." of the file-name part on, the dot included; empty when it has no ".".
std::string_view extension_of(std::string_view path);

// The output's file name: the input's own, or when `convert` its stem (up to and
// including the dot that starts the first occurrence of its extension) followed by the
// format's extension in small letters ("*.AVI" gives avi). A name without an extension gets
// a dot before the new extension.
std::string output_file_name(std::string_view input, bool convert, std::string_view format_text);

// The folder, one separator, the name: a folder that ends with a separator (a root) gets no second.
std::string join_folder(std::string_view folder, std::string_view name);

// Does writing `candidate` put the tool onto a file it must leave alone?
using TakenTest = std::function<bool(const std::string &candidate)>;

// The output for `input` in `folder`; while it is taken, "NEW_" goes before its file name again.
std::string output_path(std::string_view input, std::string_view folder, bool convert,
                        std::string_view format_text, const TakenTest &taken);

// The same file: equal texts when compared in small letters, or one file to the file system
// (links, "." and ".." parts, other spellings).
bool same_file(const std::string &a, const std::string &b);

// Taken: the same file (as same_file says) as one of `paths`.
TakenTest taken_by(std::vector<std::string> paths);

// The output's extension differs from the input's, compared in capitals.
bool changes_format(std::string_view input, std::string_view output);

} // namespace quelvane
