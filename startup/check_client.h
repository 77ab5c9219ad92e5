// The start-up check: the helper tool starts and announces itself as FFmpeg.
#pragma once

#include "client/outcome.h"
#include "client/run_client.h"

namespace quelvane {

// Runs `program`. Yes once "ffmpeg version" shows in one chunk or in two neighbouring chunks
// joined; otherwise no with the failed step's code ("001".."004"), or with no reason when the
// banner never came.
Outcome check_tool(const std::string &program, const MessagePump &pump);

// The chunk rule alone: the previous chunk joined with this one, trimmed, holds the banner.
bool banner_seen(std::string_view previous, std::string_view chunk);

} // namespace quelvane
