// What the tool reports of itself, told apart from what it echoes: its output framed into lines,
// the file names it was given taken out, the write failures, and its own error line as a reason.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelvane {

// Frames chunks into lines ended by "\n" or "\r"; keeps at most kMaxLine bytes of an unfinished
// line, so a tool that never ends a line cannot make it grow.
class LineFramer {
public:
    static constexpr std::size_t kMaxLine = 16 * 1024;
    using LineHandler = std::function<void(std::string_view line)>;

    // Hands on every line `chunk` completes; a line longer than kMaxLine goes on in pieces.
    void feed(std::string_view chunk, const LineHandler &line);
    // Hands on what is left of an unfinished line, if anything.
    void finish(const LineHandler &line);

private:
    std::string tail_;
};

// The line as the tool's own report: nothing for an indented line (the description's values
// and the file's metadata tags are indented), else the line with every occurrence of `names`
// (the paths it was given, which it echoes) taken out.
std::optional<std::string> own_report(std::string_view line, const std::vector<std::string> &names);

// The report tells that writing the output failed: a muxer, trailer or closing error, or a full
// disk, a quota or a size limit.
bool is_write_failure(std::string_view report);

// A line as a reason: the tool's "[context @ 0x...] " prefix gone, trimmed, one line of at most
// kMaxReason bytes (longer ones keep their start and end around "...").
inline constexpr std::size_t kMaxReason = 200;
std::string reason_line(std::string_view line);

// Finds the tool's own error line in its output, line by line, keeping only what it needs.
// The first line that names one of the files followed by ":"; else, after the last line of
// its description or progress, the last line from a named part of the tool ("[in#0 @ 0x...]"),
// else the first line of its own there.
class ErrorLineWatch {
public:
    explicit ErrorLineWatch(std::vector<std::string> names);
    void see(std::string_view line);
    // The reason, or nothing when the tool reported nothing of its own.
    std::optional<std::string> reason() const;
    // The tool described an input ("Input #..."): it could read it.
    bool described_input() const { return described_input_; }

private:
    std::vector<std::string> names_;
    std::optional<std::string> named_;
    std::optional<std::string> after_description_;
    std::optional<std::string> last_with_context_;
    bool described_input_ = false;
};

} // namespace quelvane
