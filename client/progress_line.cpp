#include "client/progress_line.h"

#include "client/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quelvane {

namespace {

// Digits with at most one decimal point, at least one digit: no sign, no blanks, no exponent.
std::optional<double> unsigned_decimal(std::string_view text)
{
    bool digit = false;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit)
        return std::nullopt;
    double value = 0;
    const auto [end, error]
        = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// "Assertion <expression> failed at <file>:<line>", as the tool's own assertions print it.
bool has_assertion_report(std::string_view text)
{
    constexpr std::string_view head = "Assertion ";
    constexpr std::string_view tail = " failed at ";
    for (auto at = text.find(head); at != std::string_view::npos; at = text.find(head, at + 1)) {
        const std::string_view rest = text.substr(at + head.size());
        const std::string_view line = rest.substr(0, rest.find_first_of("\r\n"));
        if (contains(line, tail))
            return true;
    }
    return false;
}

} // namespace

std::optional<Clock> clock_to_seconds(std::string_view text)
{
    const auto first = text.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = text.substr(first + 1);
    const auto second = rest.find(':');
    if (second == std::string_view::npos)
        return std::nullopt;

    Clock clock{0, std::string(text.substr(0, first)), std::string(rest.substr(0, second)),
                std::string(rest.substr(second + 1))};
    const auto h = unsigned_decimal(clock.hours);
    const auto m = unsigned_decimal(clock.minutes);
    const auto s = unsigned_decimal(clock.secs);
    if (!h || !m || !s)
        return std::nullopt;
    clock.seconds = *h * 60 * 60 + *m * 60 + *s;
    return clock;
}

bool is_progress_line(std::string_view chunk)
{
    return contains(chunk, "size=") && contains(chunk, "time=");
}

std::optional<std::string_view> progress_clock_text(std::string_view line)
{
    const auto time = line.find("time=");
    const auto bitrate = line.find("bitrate=");
    if (time == std::string_view::npos || bitrate == std::string_view::npos)
        return std::nullopt;
    if (bitrate < time + 6)
        return std::nullopt;
    return line.substr(time + 5, bitrate - time - 6);
}

std::optional<std::string> failure_reason(std::string_view combined)
{
    if (contains(combined, "No such file"))
        return "No such file";
    if (contains(combined, "Assertion failed") || has_assertion_report(combined))
        return "Assertion failed";
    if (contains(combined, "Conversion failed"))
        return "Conversion failed";
    return std::nullopt;
}

int file_gauge(double seconds, double total)
{
    if (!(total > 0))
        return 0;
    const double percent = std::clamp(seconds / total * 100, 0.0, 100.0);
    // The default rounding mode rounds ties to the even neighbour.
    return static_cast<int>(std::nearbyint(percent));
}

int overall_gauge(int file_percent, int index, int count)
{
    if (count < 1)
        return file_percent;
    return file_percent / count + 100 * index / count;
}

std::string clock_label(const Clock &clock)
{
    return "Process " + clock.hours + ":" + clock.minutes + ":" + clock.secs + " ......";
}

} // namespace quelvane
