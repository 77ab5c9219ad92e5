// The operating system's anonymous pipe and child process, as the tool runner needs them.
// One interface; the backends are process_posix.cpp and process_win32.cpp.
#pragma once

#include "platform/unique_handle.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quelvane::platform {

// A file descriptor on POSIX (none is -1); on Windows the handle of a pipe, a process or a
// thread (none is a null handle: INVALID_HANDLE_VALUE is the file functions' failure, and
// elsewhere the current process's own pseudo handle). The backend says which and closes it.
struct NativeHandleTraits {
    using Type = std::intptr_t;
    static Type invalid() noexcept;
    static void close(Type handle) noexcept;
};
using NativeHandle = UniqueHandle<NativeHandleTraits>;

// What the child is started with. On Windows `command_line` is handed to the system as it
// stands; elsewhere `program` and `args` go to exec as a list and no shell ever sees them.
struct Command {
    std::string program;
    std::vector<std::string> args;
    std::string command_line;
};

// How a child ended, for the callers that care.
struct ChildExit {
    enum class Kind { Exited, Signalled, Unknown };
    Kind kind = Kind::Unknown;
    int code = 0; // exit status, or the signal number

    bool clean() const { return kind == Kind::Exited && code == 0; }
};

// An anonymous pipe: the read end is ours, the write end goes to the child. Both ends stay
// open for the whole run, so the pipe never reports its end; the child's end is tested apart.
class ToolPipe {
public:
    // Nothing when the system refused; no end of it is ever inherited by accident.
    static std::optional<ToolPipe> create();

    // How many bytes wait to be read; nothing when the system call failed. May write one
    // byte of what waits into `one_byte`, as the Windows peek does.
    std::optional<std::size_t> peek(char *one_byte) const;
    // Reads at most `max` of the bytes that wait; nothing when the system call failed.
    std::optional<std::size_t> read(char *buffer, std::size_t max) const;

    void close_read() { read_.reset(); }
    void close_write() { write_.reset(); }

    const NativeHandle &read_end() const { return read_; }
    const NativeHandle &write_end() const { return write_; }

private:
    NativeHandle read_;
    NativeHandle write_;
};

// A started child. Destroying one that still runs terminates it and reaps it.
class ChildProcess {
public:
    ChildProcess() = default;
    ChildProcess(ChildProcess &&other) noexcept;
    ChildProcess &operator=(ChildProcess &&other) noexcept;
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    ~ChildProcess();

    // Starts `command` with the pipe's write end as its standard output and standard error and
    // an empty standard input. Nothing on failure, a missing or unstartable tool included.
    static std::optional<ChildProcess> start(const Command &command, const ToolPipe &pipe);

    long id() const { return id_; }
    bool running() const { return id_ != -1 && !ended_; }
    // A test, never a wait: has the child ended? Reaps it when it has.
    bool has_ended();
    // How it ended, once has_ended() said yes or terminate() ran.
    ChildExit exit() const { return exit_; }
    // Ends a running child at once and reaps it; nothing when it already ended.
    void terminate();
    // Releases what the system handed out for the child; terminates it first if it still runs.
    void close();

    // An idle moment: returns after at most `ms` milliseconds, sooner when output waits on
    // `pipe` or the child ends.
    void wait_for_activity(const ToolPipe &pipe, int ms) const;

private:
    long id_ = -1;          // process id
    NativeHandle process_;  // Windows: the process handle; Linux: a pidfd, where there is one
    NativeHandle thread_;   // Windows: the main thread's handle
    ChildExit exit_;
    bool ended_ = false;
};

} // namespace quelvane::platform
