// POSIX backend of the pipe and child process: pipe2, fork/exec with an error pipe, FIONREAD, waitpid.
#include "platform/process.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#ifdef __linux__
#include <sys/prctl.h>
#include <sys/syscall.h>
#endif

namespace quelvane::platform {

NativeHandleTraits::Type NativeHandleTraits::invalid() noexcept
{
    return -1;
}

void NativeHandleTraits::close(Type handle) noexcept
{
    ::close(static_cast<int>(handle));
}

namespace {

int fd(const NativeHandle &handle)
{
    return static_cast<int>(handle.get());
}

bool make_pipe(NativeHandle &read_end, NativeHandle &write_end)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    read_end.reset(fds[0]);
    write_end.reset(fds[1]);
    return true;
}

int open_pidfd(pid_t pid)
{
#if defined(__linux__) && defined(SYS_pidfd_open)
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

ChildExit exit_from_status(int status)
{
    if (WIFEXITED(status))
        return {ChildExit::Kind::Exited, WEXITSTATUS(status)};
    if (WIFSIGNALED(status))
        return {ChildExit::Kind::Signalled, WTERMSIG(status)};
    return {};
}

// Runs in the forked child: only async-signal-safe calls, and never a return.
[[noreturn]] void exec_child(char *const argv[], int output, int error_report)
{
#ifdef __linux__
    // Should the program die, its tool goes with it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);

    const int input = ::open("/dev/null", O_RDONLY);
    if (input < 0 || ::dup2(input, 0) < 0 || ::dup2(output, 1) < 0 || ::dup2(output, 2) < 0) {
        const int err = errno;
        (void)!::write(error_report, &err, sizeof err);
        ::_exit(127);
    }
#if defined(__linux__) && defined(SYS_close_range)
    // Whatever else the program has open must not reach the tool.
    ::syscall(SYS_close_range, 3U, ~0U, 4U /* CLOSE_RANGE_CLOEXEC */);
#endif
    ::execv(argv[0], argv);
    const int err = errno;
    (void)!::write(error_report, &err, sizeof err);
    ::_exit(127);
}

} // namespace

std::optional<ToolPipe> ToolPipe::create()
{
    ToolPipe pipe;
    if (!make_pipe(pipe.read_, pipe.write_))
        return std::nullopt;
    return pipe;
}

std::optional<std::size_t> ToolPipe::peek(char *) const
{
    int waiting = 0;
    if (::ioctl(fd(read_), FIONREAD, &waiting) != 0 || waiting < 0)
        return std::nullopt;
    return static_cast<std::size_t>(waiting);
}

std::optional<std::size_t> ToolPipe::read(char *buffer, std::size_t max) const
{
    for (;;) {
        const ssize_t got = ::read(fd(read_), buffer, max);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            return std::nullopt;
    }
}

std::optional<ChildProcess> ChildProcess::start(const Command &command, const ToolPipe &pipe)
{
    std::vector<std::string> words;
    words.reserve(command.args.size() + 1);
    words.push_back(command.program);
    words.insert(words.end(), command.args.begin(), command.args.end());
    std::vector<char *> argv;
    for (std::string &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // The child reports a failed exec through this pipe; its write end closes on a good exec.
    NativeHandle report_read, report_write;
    if (!make_pipe(report_read, report_write))
        return std::nullopt;

    const pid_t pid = ::fork();
    if (pid < 0)
        return std::nullopt;
    if (pid == 0)
        exec_child(argv.data(), fd(pipe.write_end()), fd(report_write));

    report_write.reset();
    int child_errno = 0;
    ssize_t got;
    do {
        got = ::read(fd(report_read), &child_errno, sizeof child_errno);
    } while (got < 0 && errno == EINTR);

    ChildProcess child;
    child.id_ = pid;
    if (got != 0) {
        // exec failed: the child is already on its way out; reap it and report the failure.
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        child.id_ = -1;
        return std::nullopt;
    }
    child.process_.reset(open_pidfd(pid));
    return child;
}

bool ChildProcess::has_ended()
{
    if (!running())
        return true;
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(static_cast<pid_t>(id_), &status, WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got == 0)
        return false;
    ended_ = true;
    if (got > 0)
        exit_ = exit_from_status(status);
    return true;
}

void ChildProcess::terminate()
{
    if (!running())
        return;
    ::kill(static_cast<pid_t>(id_), SIGKILL);
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(static_cast<pid_t>(id_), &status, 0);
    } while (got < 0 && errno == EINTR);
    ended_ = true;
    if (got > 0)
        exit_ = exit_from_status(status);
}

void ChildProcess::wait_for_activity(const ToolPipe &pipe, int ms) const
{
    pollfd fds[2] = {{fd(pipe.read_end()), POLLIN, 0}, {fd(process_), POLLIN, 0}};
    const nfds_t count = process_.valid() && running() ? 2 : 1;
    ::poll(fds, count, ms);
}

} // namespace quelvane::platform
