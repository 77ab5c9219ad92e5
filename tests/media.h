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

// Two seconds of 320x240 test picture with a tone; frames 10 to 35 repeat frame 10.
void make_clip(const std::string &path, int rate = 25);

// What ffprobe says of a file: the first value of each key.
struct Facts {
    std::map<std::string, std::string> values;
    std::string operator[](const std::string &key) const;
    int frames() const;
};
Facts probe_facts(const std::string &path);

} // namespace quelvane::testing
