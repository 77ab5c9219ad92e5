// What a removal run's output says: the clock texts, the progress lines, the failure texts, and
// the gauges' arithmetic.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quelvane {

// A clock text H:M:S split into its three parts, and its value in seconds.
struct Clock {
    double seconds = 0;
    std::string hours;
    std::string minutes;
    std::string secs;
};

// Nothing when the text does not split at its first two ":" into three unsigned decimal
// numbers (such as "N/A", a negative time, or a line cut short).
std::optional<Clock> clock_to_seconds(std::string_view text);

// A chunk that holds both "size=" and "time=".
bool is_progress_line(std::string_view chunk);

// The clock text of a progress line: what follows its first "time=", up to the blank before its
// first "bitrate=". Nothing when "bitrate=" does not follow with room for it.
std::optional<std::string_view> progress_clock_text(std::string_view line);

// The tool's failure text in `combined` (the previous chunk joined with this one), as the run's
// reason: "No such file", "Assertion failed" or "Conversion failed", first found in that order.
std::optional<std::string> failure_reason(std::string_view combined);

// The per-file percentage, rounded to the nearest (ties to even) and held within 0..100; 0 while
// the running time is not positive.
int file_gauge(double seconds, double total);

// The overall percentage for file `index` (from 0) of `count`: both divisions drop the remainder.
int overall_gauge(int file_percent, int index, int count);

// "Process H:M:S ......"
std::string clock_label(const Clock &clock);

} // namespace quelvane
