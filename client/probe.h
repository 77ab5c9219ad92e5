// The media probe: the tool describes one file; its running time and bitrates go to Tffinfo.
#pragma once

#include "client/ffinfo.h"
#include "client/outcome.h"
#include "client/run_client.h"

#include <functional>
#include <string>
#include <string_view>

namespace quelvane {

// At most this much of the tool's text is kept: a description is a few kilobytes, and one with
// hundreds of chapters, streams or long tags still tens; beyond it, only a flood.
inline constexpr std::size_t kMaxDescription = 1024 * 1024;

// Answers yes once the user asked to stop.
using StopTest = std::function<bool()>;

// Runs " -i \"path\"" through `tool`; `accumulated`, the description, is emptied when the
// tool has started and receives what it printed, up to kMaxDescription. Reasons:
// "011".."014", "No duration!", or the tool's own error line when it could not read the file.
// A yes from `stop` ends the tool at once with a "no" and no reason.
Outcome probe_file(const std::string &tool, const std::string &path, Tffinfo &info,
                   std::string &accumulated, const MessagePump &pump, const StopTest &stop = {});

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
