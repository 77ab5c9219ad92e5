// Clocks, the process's own figures from the system, bare child processes and a summary of
// repeated measurements, for the benchmark.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace quelvane::bench {

// Seconds on the monotonic clock.
double now();

// Seconds since this process was created, by the system's record of its start (a tick of
// 10 ms; the start is rounded down, so the age is never short).
double process_age();

// User plus system time of this process and of its waited-for children, in seconds.
struct CpuTimes {
    double self = 0;
    double children = 0;
};
CpuTimes cpu_times();

// The peak resident memory, and its reset to the present size.
double peak_memory_mb();
void reset_peak_memory();

// Starts `program` with `args`, standard input, output and error on /dev/null, or output on
// `output` when given; the child's id.
int spawn(const std::string &program, const std::vector<std::string> &args, int output = -1);
// Waits for the child; yes when it exited with status 0.
bool wait_clean(int pid);
// The two together, as a bare loop runs a command line.
bool run_bare(const std::string &program, const std::vector<std::string> &args);

// The children of this process that are still there, zombies included.
std::vector<int> children();
// The process's argument list, joined by blanks.
std::string command_line(int pid);

// Notes from a thread of its own the moment a process ends (its exit, not its reaping).
class EndWatch {
public:
    explicit EndWatch(int pid);
    EndWatch(const EndWatch &) = delete;
    EndWatch &operator=(const EndWatch &) = delete;
    ~EndWatch();
    // Waits for the end; its time on now()'s clock.
    double ended();

private:
    int pidfd_ = -1;
    std::atomic<double> ended_ { 0 };
    std::thread thread_;
};

// Notes from a thread of its own when this process's first child starts and ends, without
// reaping it.
class FirstChildWatch {
public:
    FirstChildWatch();
    FirstChildWatch(const FirstChildWatch &) = delete;
    FirstChildWatch &operator=(const FirstChildWatch &) = delete;
    ~FirstChildWatch();
    // Its lifetime in seconds, 0 when none was seen; stops the watch.
    double lifetime();

private:
    std::atomic<bool> stop_ { false };
    std::atomic<double> started_ { 0 };
    std::atomic<double> ended_ { 0 };
    std::thread thread_;
};

struct Summary {
    double median = 0;
    double min = 0;
    double max = 0;
};
Summary summarize(std::vector<double> values);

} // namespace quelvane::bench
