#include "client/tool_commands.h"

#include "client/output_path.h"

namespace quelvane {

namespace {

std::string quoted(const std::string &text)
{
    return '"' + text + '"';
}

} // namespace

ToolArguments probe_arguments(const std::string &path)
{
    return {{"-i", path}, " -i " + quoted(path)};
}

std::string bitrate_value(const Tffinfo &info)
{
    if (!info.video_bitrate.empty())
        return info.video_bitrate;
    return info.bitrate;
}

ToolArguments removal_arguments(const Tffinfo &info, const std::string &output)
{
    ToolArguments args;
    args.list = {"-i", info.filename};
    args.text = " -i " + quoted(info.filename);
    if (changes_format(info.filename, output)) {
        args.list.insert(args.list.end(), {"-q:a", "0", "-q:v", "0", "-y"});
        args.text += " -q:a 0 -q:v 0 -y";
    } else {
        const std::string bitrate = bitrate_value(info);
        args.list.insert(args.list.end(), {"-c:a", "copy"});
        args.text += " -c:a copy ";
        if (!bitrate.empty()) {
            args.list.insert(args.list.end(), {"-b:v", bitrate + "k"});
            args.text += " -b:v " + bitrate + "k";
        }
        args.list.insert(args.list.end(), {"-q:v", "0", "-y"});
        args.text += " -q:v 0 -y";
    }
    // Without the input's rate some releases (7.x) let the filter chain lose it, and the
    // encoder falls back to 25 frames a second, dropping or repeating frames.
    if (!info.frame_rate.empty()) {
        args.list.insert(args.list.end(), {"-r", info.frame_rate});
        args.text += " -r " + info.frame_rate;
    }
    args.list.insert(args.list.end(), {"-vf", kStillFrameFilter, "-an", output});
    args.text += " -vf " + quoted(kStillFrameFilter) + " -an " + quoted(output);
    return args;
}

} // namespace quelvane
