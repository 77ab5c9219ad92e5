// Small clips made with Debian's FFmpeg and what ffprobe says of a file, for the tests that run
// the real tool.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace quelvane::testing {

// Debian's FFmpeg on this machine: it makes the clips and reads the outputs.
inline constexpr const char *kFfmpeg = "/usr/bin/ffmpeg";
inline constexpr const char *kFfprobe = "/usr/bin/ffprobe";

// The FFmpeg release under test, put at the tool's place: QUELVANE_TEST_FFMPEG when set (the
// test command runs the real-tool tests once per release), else Debian's FFmpeg on this machine.
std::string tool_ffmpeg();
// A name for that release in messages, such as "7.1.6".
std::string tool_release();

// Runs a program with an argument list, no shell; its output and whether it ended cleanly.
struct Ran {
    std::string output;
    bool clean = false;
};
Ran run_program(const std::string &program, const std::vector<std::string> &args);

// A clip of test picture with a tone: `seconds` long, at `size`, at `rate` frames a second (a
// number or a fraction such as "30000/1001"); frames `first` to `last` repeat frame `first`. A
// variable-rate clip has gaps in its timestamps where frames 40 to 44 and 50 to 54 were left out.
// A quick one is encoded faster and coarser, for long clips.
enum class Timing { constant, variable };
struct ClipShape {
    std::string size = "320x240";
    std::string rate = "25";
    int seconds = 2;
    int first = 10;
    int last = 35;
    Timing timing = Timing::constant;
    bool quick = false;
};
// Makes it at `path` with Debian's FFmpeg; what FFmpeg said, and whether it ended cleanly.
Ran make_shaped_clip(const std::string &path, const ClipShape &shape);
// The default shape at `rate` with `timing`, for a test: it fails when none was made.
void make_clip(const std::string &path, const std::string &rate = "25",
               Timing timing = Timing::constant);

// Two seconds of a tone without a picture, for a test: it fails when none was made.
void make_tone(const std::string &path);

// How many frames of `path` the still-frame filter keeps when `ffmpeg` runs it.
int frames_kept_by_mpdecimate(const std::string &ffmpeg, const std::string &path);

// A checksum of each decoded video frame of `path`, in order, none repeated or dropped by
// the reading.
std::vector<std::string> frame_checksums(const std::string &path);

// Mean PSNR in dB of `output`'s frames against the frames of `input` that the still-frame
// filter keeps, frame by frame; 0 when it cannot be measured.
double mean_psnr_of_kept_frames(const std::string &output, const std::string &input);

// A rate such as "30000/1001" or "25/1" as a number; 0 when it is none.
double rate_value(const std::string &rate);

// What ffprobe says of a file: the first value of each key.
struct Facts {
    std::map<std::string, std::string> values;
    std::string operator[](const std::string &key) const;
    int frames() const;
};
Facts probe_facts(const std::string &path);

} // namespace quelvane::testing
