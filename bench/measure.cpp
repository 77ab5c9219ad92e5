#include "bench/measure.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char **environ;

namespace fs = std::filesystem;

namespace quelvane::bench {

namespace {

    double clock_seconds(clockid_t clock)
    {
        timespec ts {};
        ::clock_gettime(clock, &ts);
        return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
    }

    double seconds(const timeval &tv)
    {
        return static_cast<double>(tv.tv_sec) + static_cast<double>(tv.tv_usec) / 1e6;
    }

    // The fields of /proc/<pid>/stat after the command name, which may hold blanks.
    std::vector<std::string> stat_fields(const std::string &pid)
    {
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string line;
        if (!std::getline(stat, line) || line.rfind(')') == std::string::npos)
            return {};
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        std::vector<std::string> fields;
        for (std::string field; rest >> field;)
            fields.push_back(field);
        return fields;
    }

} // namespace

double now()
{
    return clock_seconds(CLOCK_MONOTONIC);
}

double process_age()
{
    // Field 22 of the stat line, the start in ticks since boot; the third after the name.
    const std::vector<std::string> fields = stat_fields("self");
    const double started = std::stod(fields.at(19)) / static_cast<double>(::sysconf(_SC_CLK_TCK));
    return clock_seconds(CLOCK_BOOTTIME) - started;
}

CpuTimes cpu_times()
{
    rusage self {}, children {};
    ::getrusage(RUSAGE_SELF, &self);
    ::getrusage(RUSAGE_CHILDREN, &children);
    return { seconds(self.ru_utime) + seconds(self.ru_stime),
        seconds(children.ru_utime) + seconds(children.ru_stime) };
}

double peak_memory_mb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stod(line.substr(6)) / 1024.0;
    }
    rusage self {};
    ::getrusage(RUSAGE_SELF, &self);
    return static_cast<double>(self.ru_maxrss) / 1024.0;
}

void reset_peak_memory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

int spawn(const std::string &program, const std::vector<std::string> &args, int output)
{
    std::vector<std::string> words { program };
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (output >= 0)
        ::posix_spawn_file_actions_adddup2(&actions, output, 1);
    else
        ::posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

bool wait_clean(int pid)
{
    if (pid < 0)
        return false;
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool run_bare(const std::string &program, const std::vector<std::string> &args)
{
    return wait_clean(spawn(program, args));
}

std::vector<int> children()
{
    std::vector<int> found;
    const std::string self = std::to_string(::getpid());
    std::error_code error;
    for (fs::directory_iterator it("/proc", error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const std::vector<std::string> fields = stat_fields(name);
        if (fields.size() > 1 && fields[1] == self)
            found.push_back(std::stoi(name));
    }
    return found;
}

std::string command_line(int pid)
{
    std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::replace(text.begin(), text.end(), '\0', ' ');
    return text;
}

EndWatch::EndWatch(int pid) : pidfd_(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)))
{
    thread_ = std::thread([this] {
        if (pidfd_ >= 0) {
            pollfd fd { pidfd_, POLLIN, 0 };
            while (::poll(&fd, 1, -1) < 0 && errno == EINTR) { }
        }
        ended_ = now();
    });
}

EndWatch::~EndWatch()
{
    if (thread_.joinable())
        thread_.join();
    if (pidfd_ >= 0)
        ::close(pidfd_);
}

double EndWatch::ended()
{
    if (thread_.joinable())
        thread_.join();
    return ended_;
}

FirstChildWatch::FirstChildWatch()
{
    thread_ = std::thread([this] {
        // A test for an exited child that leaves it alone: "none yet" while there is no child
        // at all, a zero id while one runs.
        siginfo_t info {};
        while (!stop_) {
            info.si_pid = 0;
            if (::waitid(P_ALL, 0, &info, WEXITED | WNOHANG | WNOWAIT) == 0) {
                started_ = now();
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
        if (stop_)
            return;
        if (info.si_pid == 0) {
            // Blocks until it has exited; fails at once when it is already reaped.
            while (::waitid(P_ALL, 0, &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) { }
        }
        ended_ = now();
    });
}

FirstChildWatch::~FirstChildWatch()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

double FirstChildWatch::lifetime()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    return ended_ > 0 ? ended_ - started_ : 0;
}

Summary summarize(std::vector<double> values)
{
    if (values.empty())
        return {};
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return { median, values.front(), values.back() };
}

} // namespace quelvane::bench
