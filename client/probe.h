// The media probe: the tool describes one file; its running time and bitrates go to Tffinfo.
#pragma once

#include "client/ffinfo.h"
#include "client/outcome.h"
#include "client/run_client.h"

#include <string>
#include <string_view>

namespace quelvane {

// Runs " -i \"path\"" through the tool; `accumulated` (the main window's edit1) is emptied when
// the tool has started and receives everything it printed. Reasons: "011".."014", "No duration!".
Outcome probe_file(const std::string &path, Tffinfo &info, std::string &accumulated,
                   const MessagePump &pump);

// The parse of a whole description into `info`, and the verdict on its running time.
Outcome parse_description(std::string_view text, Tffinfo &info);

// The frame rate a video stream's line of the description gives, ready for the tool's "-r";
// empty when the line names none that can be trusted, or when the stream's rate varies and the
// tool `keeps_rate` itself: there the filter chain hands the rate on, and an output rate would
// repeat frames by the durations they had before the still frames went.
std::string frame_rate_of_stream(std::string_view line, bool keeps_rate = false);

// Whether the tool that printed the description hands the input's rate on through the filter
// chain by itself (FFmpeg 8 on, from the filter library's version in its banner).
bool tool_keeps_rate(std::string_view description);

} // namespace quelvane
