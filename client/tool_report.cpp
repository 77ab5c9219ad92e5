#include "client/tool_report.h"

#include "client/progress_line.h"
#include "client/text.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace quelvane {

namespace {

bool is_line_end(char c)
{
    return c == '\n' || c == '\r';
}

bool starts_with_any(std::string_view text, std::initializer_list<std::string_view> heads)
{
    return std::any_of(heads.begin(), heads.end(),
                       [&](std::string_view head) { return text.starts_with(head); });
}

// The first byte of a character: a cut there leaves no piece of a UTF-8 sequence behind.
std::size_t character_start(std::string_view text, std::size_t at)
{
    while (at > 0 && at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

// The line without the tool's "[mp4 @ 0x55d0c3a4] " prefixes: which part of it spoke.
std::string_view without_context(std::string_view line)
{
    line = trim(line);
    while (line.starts_with('[')) {
        const auto close = line.find("] ");
        if (close == std::string_view::npos || !contains(line.substr(0, close), " @ "))
            break;
        line = trim(line.substr(close + 2));
    }
    return line;
}

} // namespace

void LineFramer::feed(std::string_view chunk, const LineHandler &line)
{
    for (;;) {
        const auto end = std::find_if(chunk.begin(), chunk.end(), is_line_end);
        const std::size_t length = static_cast<std::size_t>(end - chunk.begin());
        if (end == chunk.end()) {
            tail_.append(chunk);
            break;
        }
        tail_.append(chunk.substr(0, length));
        line(tail_);
        tail_.clear();
        chunk.remove_prefix(length + 1);
    }
    while (tail_.size() > kMaxLine) {
        line(std::string_view(tail_).substr(0, kMaxLine));
        tail_.erase(0, kMaxLine);
    }
}

void LineFramer::finish(const LineHandler &line)
{
    if (!tail_.empty())
        line(tail_);
    tail_.clear();
}

std::optional<std::string> own_report(std::string_view line, const std::vector<std::string> &names)
{
    if (!line.empty() && static_cast<unsigned char>(line.front()) <= 32)
        return std::nullopt;
    std::string report(line);
    for (const std::string &name : names) {
        if (name.empty())
            continue;
        for (auto at = report.find(name); at != std::string::npos; at = report.find(name, at))
            report.erase(at, name.size());
    }
    return report;
}

bool is_write_failure(std::string_view report)
{
    // FFmpeg's own texts, from its command-line tool's muxing code over the releases, and the
    // system's words for an output that cannot grow.
    static constexpr std::array<std::string_view, 9> texts = {
        "Error writing trailer",
        "Error closing file",
        "av_interleaved_write_frame()",
        "Error submitting a packet to the muxer",
        "Error muxing a packet",
        "Nothing was written into output file",
        "No space left on device",
        "Disk quota exceeded",
        "File too large",
    };
    return std::any_of(texts.begin(), texts.end(),
                       [&](std::string_view text) { return contains(report, text); });
}

std::string reason_line(std::string_view line)
{
    std::string text(without_context(line));
    for (char &c : text) {
        if (static_cast<unsigned char>(c) < 32)
            c = ' ';
    }
    if (text.size() <= kMaxReason)
        return text;
    constexpr std::string_view gap = "...";
    const std::size_t head = character_start(text, (kMaxReason - gap.size()) * 2 / 3);
    const std::size_t tail
        = character_start(text, text.size() - (kMaxReason - gap.size() - head));
    return text.substr(0, head) + std::string(gap) + text.substr(tail);
}

ErrorLineWatch::ErrorLineWatch(std::vector<std::string> names) : names_(std::move(names)) {}

void ErrorLineWatch::see(std::string_view line)
{
    if (trim(line).empty())
        return;
    const auto report = own_report(line, names_);
    const std::string_view said = report ? without_context(*report) : std::string_view();
    if (said.starts_with("Input #"))
        described_input_ = true;
    const bool description = !report || is_progress_line(line)
        || starts_with_any(said, {"Input #", "Output #", "Stream mapping:", "Press [q]",
                                  "ffmpeg version", "frame=", "video:"});
    if (description) {
        after_description_.reset();
        last_with_context_.reset();
        return;
    }
    // The tool's closing words say that it failed, never why.
    if (said.empty() || starts_with_any(said, {"Conversion failed",
                                               "At least one output file must be specified",
                                               "Exiting normally"}))
        return;
    if (!named_) {
        const bool names_a_file = std::any_of(names_.begin(), names_.end(), [&](const auto &name) {
            return !name.empty() && contains(line, name + ":");
        });
        if (names_a_file)
            named_ = reason_line(line);
    }
    if (!after_description_)
        after_description_ = reason_line(line);
    // Newer releases end with summaries of their own after the line from the part that failed.
    if (trim(*report).size() != said.size())
        last_with_context_ = reason_line(line);
}

std::optional<std::string> ErrorLineWatch::reason() const
{
    if (named_)
        return named_;
    if (last_with_context_)
        return last_with_context_;
    return after_description_;
}

} // namespace quelvane
