// The probe's and the removal run's arguments, as an exec list and as the Windows command text.
#pragma once

#include "client/ffinfo.h"
#include "client/run_client.h"

#include <string>

namespace quelvane {

inline constexpr const char *kStillFrameFilter = "mpdecimate, setpts=N/FRAME_RATE/TB";

// " -i \"path\""
ToolArguments probe_arguments(const std::string &path);

// The target video bitrate: the video stream's when known, else the overall one, else empty.
std::string bitrate_value(const Tffinfo &info);

// The removal of still frames from `info.filename` into `output`. With a format change the
// audio quality option replaces the audio copy and the bitrate. The input's frame rate, when
// the probe found one, is given as the output's.
ToolArguments removal_arguments(const Tffinfo &info, const std::string &output);

} // namespace quelvane
