// The plain rules of the file list: which names count as video, how a size reads, and the
// accepted patterns as a file filter and a format list.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quelvane {

// The accepted patterns, each followed by ";".
inline constexpr std::string_view video_patterns =
        "*.AVI;*.MPG;*.MPEG;*.WMV;*.MP4;*.M4V;*.FLV;*.MKV;*.WEBM;*.MOV;*.VOB;*.ASF;*.TS;*.MTS;";

// The pieces between the ";", in order; no empty piece for the final ";".
std::vector<std::string> split_patterns(std::string_view patterns);

// The extension in capitals (a to z only) occurs somewhere in video_patterns; so a leading
// part of a listed extension, such as ".MP", passes too.
bool passes_extension_test(std::string_view path);

// Bytes to kilobytes, to the nearest with ties to even.
std::uint64_t kilobytes(std::uint64_t bytes);

// "1,234 KB".
std::string size_text(std::uint64_t bytes);

// "3 Files"; no singular form.
std::string count_text(std::size_t rows);

// The path trimmed and ending with one folder separator.
std::string folder_with_separator(std::string_view path);

// The patterns as a blank-separated filter list that matches in any letter case, also where
// the file dialogs compare names case-sensitively ("*.AVI" gives "*.[Aa][Vv][Ii]").
std::string case_blind_filter(std::string_view patterns);

// A file whose length could not be read; the text names the full path and the system's reason.
class FileOpenError : public std::runtime_error {
public:
    FileOpenError(const std::string &path, const std::string &reason);
};

// Why a name given as text (by a file or folder chooser) is refused: the system's
// exact name cannot be had from it, and another file may bear the name it reads as.
inline constexpr const char *kInexactFileName =
        "Its name is not in the system's encoding, so it cannot be passed on exactly; add it "
        "from its folder or drop it on the list";
inline constexpr const char *kInexactFolderName =
        "Its name is not in the system's encoding, so it cannot be passed on exactly";

// The file's length in bytes, opening it for reading; throws FileOpenError for a file that
// cannot be opened, a folder included, and without opening it for one that is no regular file.
std::uint64_t file_length(const std::string &path);

// The names of the folder's entries that pass the extension test, in the order the file system
// gives them; folders are skipped, subfolders not searched. Nothing for a path that is no folder.
std::vector<std::string> video_entries(const std::string &folder);

} // namespace quelvane
