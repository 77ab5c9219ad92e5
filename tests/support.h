// Helpers the core's tests share: the fake tool, the process table and open descriptors.
// The system's side of them is in support_posix.cpp and support_win32.cpp.
#pragma once

#include "client/run_client.h"

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

// Puts a program at the helper tool's place for as long as it lives (empty: nothing there).
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

// A pump that does nothing.
inline void no_pump() {}

} // namespace quelvane::testing
