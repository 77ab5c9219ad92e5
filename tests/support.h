// Helpers the core's tests share: the fake tool, the process table and open descriptors.
// The system's side of them is in support_posix.cpp and support_win32.cpp.
#pragma once

#include "client/process_file.h"
#include "client/run_client.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quelvane::testing {

// The fake tool built with the tests.
std::string fake_tool();

// This process's environment, which the children it starts inherit.
void set_environment(const std::string &name, const std::string &value);
void unset_environment(const std::string &name);

// A folder of its own below the build tree for one test; removed at the end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string &path() const { return path_; }
    std::string file(const std::string &name) const;
    // Writes `text` to a file in the folder and returns its path.
    std::string write(const std::string &name, const std::string &text) const;

private:
    std::string path_;
};

// Points the fake tool at a script for as long as it lives.
class FakeScript {
public:
    FakeScript(const ScratchDir &dir, const std::string &script);
    ~FakeScript();
    const std::string &path() const { return path_; }

private:
    std::string path_;
};

// The tests' place for the helper tool, inside the build tree: the program they hand the core
// where the program itself hands it client_path().
std::string tool_place();

// Puts a program at tool_place() for as long as it lives (empty: nothing there).
class ToolPlace {
public:
    explicit ToolPlace(const std::string &target);
    ~ToolPlace();
};

// The argument lists the fake tool was called with, read from its log.
std::vector<std::vector<std::string>> logged_calls(const std::string &log);

// Processes whose parent is this process (zombies included).
std::vector<int> child_processes();
// The number of open file descriptors (Windows: handles) of this process.
int open_descriptors();
// The processor time this process has used so far, user and system, in seconds.
double own_cpu_seconds();

// Makes `target` the program at `place`: a symbolic link, or on Windows a copy.
void place_program(const std::string &target, const std::string &place);

#ifndef _WIN32
// A tmpfs of `bytes` (whole pages) mounted on `folder`, made if need be, for as long as it
// lives; nothing is mounted when this process may not mount.
class TinyDisk {
public:
    TinyDisk(const std::string &folder, std::uintmax_t bytes);
    ~TinyDisk();
    TinyDisk(const TinyDisk &) = delete;
    TinyDisk &operator=(const TinyDisk &) = delete;
    bool mounted() const { return mounted_; }

private:
    std::string folder_;
    bool mounted_ = false;
};
#endif

// The main window's and the progress dialog's side of a removal run, as plain fields.
struct FixedInputs : ProcessInputs {
    std::string folder;
    bool convert = false;
    std::string format = "*.AVI";
    int index = 0;
    int count = 1;
    bool stop = false;
    std::vector<std::string> taken;

    std::string output_folder() const override { return folder; }
    bool convert_format() const override { return convert; }
    std::string format_text() const override { return format; }
    int file_index() const override { return index; }
    int file_count() const override { return count; }
    bool stop_requested() const override { return stop; }
    std::vector<std::string> taken_paths() const override { return taken; }
};

// Keeps every value the run shows; can ask for a stop once a gauge moved.
struct RecordingSink : ProgressSink {
    std::vector<int> gauge1;
    std::vector<int> gauge2;
    std::vector<std::string> labels;
    FixedInputs *stop_on_progress = nullptr;

    void set_gauge1(int percent) override
    {
        gauge1.push_back(percent);
        if (stop_on_progress)
            stop_on_progress->stop = true;
    }
    void set_gauge2(int percent) override { gauge2.push_back(percent); }
    void set_label1(const std::string &text) override { labels.push_back(text); }
};

// A pump that does nothing.
inline void no_pump() { }

} // namespace quelvane::testing
