#include "client/probe.h"

#include "client/text.h"
#include "client/tool_commands.h"
#include "client/tool_report.h"

namespace quelvane {

namespace {

// What follows the first `marker` up to the first `end` after it, trimmed; empty without `end`.
std::optional<std::string> field_after(std::string_view text, std::string_view marker,
                                       std::string_view end)
{
    const auto at = text.find(marker);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = text.substr(at + marker.size());
    const auto stop = rest.find(end);
    if (stop == std::string_view::npos)
        return std::string();
    return std::string(trim(rest.substr(0, stop)));
}

// A stream header for the video stream, not an audio line that follows a video header.
bool is_video_segment(std::string_view segment)
{
    const auto video = segment.find(": Video:");
    if (!contains(segment, "#0:") || video == std::string_view::npos)
        return false;
    const auto audio = segment.find(": Audio:");
    return audio == std::string_view::npos || audio < video;
}

} // namespace

Outcome parse_description(std::string_view text, Tffinfo &info)
{
    if (auto duration = field_after(text, "Duration: ", ","))
        info.duration = std::move(*duration);
    if (auto bitrate = field_after(text, "bitrate: ", "kb/s"))
        info.bitrate = std::move(*bitrate);

    constexpr std::string_view unit = "kb/s";
    std::string_view rest = text;
    for (auto at = rest.find(unit); at != std::string_view::npos; at = rest.find(unit)) {
        const std::string_view segment = rest.substr(0, at);
        if (is_video_segment(segment)) {
            const auto comma = segment.rfind(',');
            const auto number
                = comma == std::string_view::npos ? segment : segment.substr(comma + 1);
            info.video_bitrate = std::string(trim(number));
        }
        // The unit and the one character after it go.
        rest = rest.substr(std::min(rest.size(), at + unit.size() + 1));
    }

    const std::string_view duration = trim(info.duration);
    if (duration.empty() || duration == "0" || duration == "N/A")
        return Outcome::no("No duration!");
    return Outcome::yes();
}

Outcome probe_file(const std::string &path, Tffinfo &info, std::string &accumulated,
                   const MessagePump &pump, const StopTest &stop)
{
    LineFramer lines;
    ErrorLineWatch error_line({path});
    const LineFramer::LineHandler see = [&](std::string_view line) { error_line.see(line); };

    RunChoices choices;
    choices.code_base = 10;
    choices.start_action = [&] { accumulated.clear(); };
    choices.stop_test = stop;
    choices.stopped = Outcome::no();
    // "ffmpeg -i" always ends with status 1: only the description counts.
    choices.normal_end = [&](const platform::ChildExit &) {
        lines.finish(see);
        Outcome verdict = parse_description(accumulated, info);
        // A tool that could not read the file says why; "No duration!" would hide it.
        if (!verdict.ok && !error_line.described_input()) {
            if (auto reason = error_line.reason())
                verdict.reason = std::move(*reason);
        }
        return verdict;
    };
    choices.pump = pump;

    // Every chunk as the tool wrote it: markers and their values often arrive in separate reads.
    const ChunkHandler handler = [&](std::string_view chunk) -> std::optional<Outcome> {
        if (accumulated.size() < kMaxDescription)
            accumulated.append(chunk.substr(0, kMaxDescription - accumulated.size()));
        lines.feed(chunk, see);
        return std::nullopt;
    };
    return run_client(probe_arguments(path), handler, choices);
}

} // namespace quelvane
