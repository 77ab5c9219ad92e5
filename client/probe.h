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

// Runs " -i \"path\"" through the tool; `accumulated` (the main window's edit1) is emptied when
// the tool has started and receives what it printed, up to kMaxDescription. Reasons:
// "011".."014", "No duration!", or the tool's own error line when it could not read the file.
// A yes from `stop` ends the tool at once with a "no" and no reason.
Outcome probe_file(const std::string &path, Tffinfo &info, std::string &accumulated,
                   const MessagePump &pump, const StopTest &stop = {});

// The parse of a whole description into `info`, and the verdict on its running time.
Outcome parse_description(std::string_view text, Tffinfo &info);

} // namespace quelvane
