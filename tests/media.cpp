#include "tests/media.h"

#include "client/run_client.h"
#include "client/text.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace quelvane::testing {

std::string tool_ffmpeg()
{
    const char *chosen = std::getenv("QUELVANE_TEST_FFMPEG");
    return chosen && *chosen ? chosen : kFfmpeg;
}

std::string tool_release()
{
    static const std::string release = [] {
        const std::string banner = run_program(tool_ffmpeg(), {"-version"}).output;
        constexpr std::string_view marker = "ffmpeg version ";
        const auto at = banner.find(marker);
        if (at == std::string::npos)
            return std::string("unknown");
        const auto start = at + marker.size();
        return banner.substr(start, banner.find(' ', start) - start);
    }();
    return release;
}

Ran run_program(const std::string &program, const std::vector<std::string> &args)
{
    Ran ran;
    RunChoices choices;
    choices.pump = no_pump;
    choices.normal_end = [&](const platform::ChildExit &how) {
        ran.clean = how.clean();
        return Outcome::yes();
    };
    const ChunkHandler collect = [&](std::string_view chunk) -> std::optional<Outcome> {
        ran.output.append(chunk);
        return std::nullopt;
    };
    run_tool(program, ToolArguments{args, {}}, collect, choices);
    return ran;
}

Ran make_shaped_clip(const std::string &path, const ClipShape &shape)
{
    const std::string seconds = std::to_string(shape.seconds);
    const std::string first = std::to_string(shape.first);
    std::string graph = "[0:v]split[a][b];[a][b]freezeframes=first=" + first
                        + ":last=" + std::to_string(shape.last) + ":replace=" + first;
    if (shape.timing == Timing::variable)
        graph += ",select='not(between(n\\,40\\,44)+between(n\\,50\\,54))'";
    std::vector<std::string> args
        = {"-hide_banner",
           "-loglevel",
           "error",
           "-f",
           "lavfi",
           "-i",
           "testsrc2=size=" + shape.size + ":rate=" + shape.rate + ":duration=" + seconds,
           "-f",
           "lavfi",
           "-i",
           "sine=frequency=440:duration=" + seconds,
           "-filter_complex",
           graph + "[v]",
           "-map",
           "[v]",
           "-map",
           "1:a"};
    if (shape.timing == Timing::variable)
        args.insert(args.end(), {"-fps_mode", "vfr"});
    if (path.ends_with(".webm"))
        args.insert(args.end(), {"-deadline", "realtime", "-cpu-used", "8"});
    else if (shape.quick)
        args.insert(args.end(), {"-preset", "veryfast"});
    args.insert(args.end(), {"-y", path});
    return run_program(kFfmpeg, args);
}

void make_clip(const std::string &path, const std::string &rate, Timing timing)
{
    const Ran made = make_shaped_clip(path, {.rate = rate, .timing = timing});
    ASSERT_TRUE(made.clean && fs::exists(path)) << path << ": " << made.output;
}

void make_tone(const std::string &path)
{
    const Ran made = run_program(kFfmpeg, {"-loglevel", "error", "-f", "lavfi", "-i",
                                           "sine=duration=2", "-y", path});
    ASSERT_TRUE(made.clean) << path << ": " << made.output;
}

int frames_kept_by_mpdecimate(const std::string &ffmpeg, const std::string &path)
{
    // showinfo sees each frame the filter lets through, whatever the output's timing does.
    const Ran ran = run_program(ffmpeg, {"-hide_banner", "-i", path, "-an", "-vf",
                                         "mpdecimate,showinfo", "-f", "null", "-"});
    int frames = 0;
    std::istringstream lines(ran.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (contains(line, "Parsed_showinfo") && contains(line, "] n:"))
            ++frames;
    }
    return frames;
}

std::vector<std::string> frame_checksums(const std::string &path)
{
    const Ran ran = run_program(kFfmpeg, {"-v", "error", "-i", path, "-map", "0:v", "-fps_mode",
                                          "passthrough", "-f", "framemd5", "-"});
    std::vector<std::string> sums;
    std::istringstream lines(ran.output);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line.starts_with('#'))
            continue;
        sums.emplace_back(trim(line.substr(line.rfind(',') + 1)));
    }
    return sums;
}

double mean_psnr_of_kept_frames(const std::string &output, const std::string &input)
{
    // Both sides renumbered, so frame n of the output meets the n-th frame the filter keeps.
    const Ran ran = run_program(
        kFfmpeg, {"-hide_banner", "-i", output, "-i", input, "-filter_complex",
                  "[0:v]format=yuv420p,setpts=N/(25*TB)[out];"
                  "[1:v]mpdecimate,format=yuv420p,setpts=N/(25*TB)[in];[out][in]psnr",
                  "-f", "null", "-"});
    constexpr std::string_view marker = " average:";
    const auto at = ran.output.rfind(marker);
    return at == std::string::npos ? 0 : std::atof(ran.output.c_str() + at + marker.size());
}

double rate_value(const std::string &rate)
{
    const auto slash = rate.find('/');
    const double numerator = std::atof(rate.c_str());
    if (slash == std::string::npos)
        return numerator;
    const double denominator = std::atof(rate.c_str() + slash + 1);
    return denominator > 0 ? numerator / denominator : 0;
}

std::string Facts::operator[](const std::string &key) const
{
    const auto it = values.find(key);
    return it == values.end() ? "" : it->second;
}

int Facts::frames() const
{
    return std::atoi((*this)["nb_read_frames"].c_str());
}

Facts probe_facts(const std::string &path)
{
    const Ran ran = run_program(kFfprobe,
                                {"-v", "error", "-count_frames", "-select_streams", "v:0",
                                 "-show_entries",
                                 "stream=codec_name,nb_read_frames,r_frame_rate,avg_frame_rate:format=format_name,"
                                 "nb_streams:format_tags=major_brand",
                                 "-of", "default=nw=1", path});
    Facts facts;
    std::istringstream lines(ran.output);
    std::string line;
    while (std::getline(lines, line)) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string key = to_lower(line.substr(0, equals));
        if (key.starts_with("tag:"))
            key.erase(0, 4);
        facts.values.emplace(key, line.substr(equals + 1));
    }
    return facts;
}

} // namespace quelvane::testing
