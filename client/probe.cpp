#include "client/probe.h"

#include "client/text.h"
#include "client/tool_commands.h"
#include "client/tool_report.h"

#include <charconv>
#include <cmath>
#include <optional>

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

// A rate item of a stream line, such as "29.97 fps" or "1k tbr": its number as printed (the
// "k" meaning thousands) and its value.
struct RateItem {
    std::string text;
    double value = 0;
};

std::optional<RateItem> rate_item(std::string_view line, std::string_view unit)
{
    std::string_view rest = line;
    while (!rest.empty()) {
        const auto comma = rest.find(',');
        const std::string_view item = trim(rest.substr(0, comma));
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
        const auto blank = item.find(' ');
        if (blank == std::string_view::npos || item.substr(blank + 1) != unit)
            continue;
        std::string_view number = item.substr(0, blank);
        const bool thousands = number.ends_with('k');
        if (thousands)
            number.remove_suffix(1);
        double value = 0;
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(),
                                                  value, std::chars_format::fixed);
        if (error != std::errc() || end != number.data() + number.size() || !(value > 0))
            return std::nullopt;
        if (thousands)
            return RateItem{std::to_string(std::lround(value * 1000)), value * 1000};
        return RateItem{std::string(number), value};
    }
    return std::nullopt;
}

// The tool prints 24000/1001 as "23.98": the decimal drifts over a long clip, the fraction not.
std::string exact_rate(const RateItem &rate)
{
    if (rate.text.find('.') == std::string::npos)
        return rate.text;
    const double whole = std::round(rate.value * 1.001);
    if (whole >= 1 && std::abs(whole / 1.001 - rate.value) < 0.005)
        return std::to_string(static_cast<long long>(whole) * 1000) + "/1001";
    return rate.text;
}

// A line that describes the input's video stream, not a cover picture.
bool is_video_stream_line(std::string_view line)
{
    return contains(line, "#0:") && contains(line, ": Video:") && !contains(line, "(attached pic)");
}

} // namespace

bool tool_keeps_rate(std::string_view description)
{
    // "  libavfilter    12.  1.102 / 12.  1.102": 11 came with FFmpeg 8.0.
    constexpr std::string_view marker = "libavfilter";
    const auto at = description.find(marker);
    if (at == std::string_view::npos)
        return false;
    const std::string_view version = trim(description.substr(at + marker.size(), 8));
    int major = 0;
    std::from_chars(version.data(), version.data() + version.size(), major);
    return major >= 11;
}

std::string frame_rate_of_stream(std::string_view line, bool keeps_rate)
{
    const auto fps = rate_item(line, "fps");
    const auto tbr = rate_item(line, "tbr");
    if (!fps && !tbr)
        return {};
    // "tbr" is the rate the timestamps tick at: it follows variable-rate sources where "fps", an
    // average, loses frames. It is twice the frame rate for field-coded streams, and for some
    // containers the time base rather than any frame rate.
    constexpr double kHighestFrameRate = 210;
    const bool fields = fps && tbr && std::abs(tbr->value - 2 * fps->value) < 0.01;
    const bool time_base = fps && tbr && tbr->value > kHighestFrameRate && fps->value < 70;
    const RateItem &chosen = !tbr || fields || time_base ? *fps : *tbr;
    if (chosen.value > kHighestFrameRate)
        return {};
    const bool varies
        = fps && &chosen == &*tbr && std::abs(fps->value - tbr->value) > tbr->value / 200;
    if (varies && keeps_rate)
        return {};
    return exact_rate(chosen);
}

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

    const bool keeps_rate = tool_keeps_rate(text);
    for (std::string_view lines = text; !lines.empty();) {
        const auto end = lines.find('\n');
        const std::string_view line = lines.substr(0, end);
        lines = end == std::string_view::npos ? std::string_view() : lines.substr(end + 1);
        if (is_video_stream_line(line)) {
            if (std::string rate = frame_rate_of_stream(line, keeps_rate); !rate.empty())
                info.frame_rate = std::move(rate);
        }
    }

    const std::string_view duration = trim(info.duration);
    if (duration.empty() || duration == "0" || duration == "N/A")
        return Outcome::no("No duration!");
    return Outcome::yes();
}

Outcome probe_file(const std::string &tool, const std::string &path, Tffinfo &info,
                   std::string &accumulated, const MessagePump &pump, const StopTest &stop)
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
    return run_tool(tool, probe_arguments(path), handler, choices);
}

} // namespace quelvane
