// Win32 backend of platform/process.h: the Win32 pipe and child-process calls, nothing else.
#include "platform/process.h"

#include "platform/windows.h"


namespace quelvane::platform {

namespace {

HANDLE handle_of(const NativeHandle &handle)
{
    return reinterpret_cast<HANDLE>(handle.get());
}

NativeHandle own(HANDLE handle)
{
    return NativeHandle(reinterpret_cast<NativeHandle::Type>(handle));
}

// Exit codes of the form 0xCxxxxxxx are the status of an exception that ended the process:
// the nearest thing Windows has to a death by signal.
ChildExit exit_from_code(DWORD code)
{
    if ((code & 0xC0000000u) == 0xC0000000u)
        return {ChildExit::Kind::Signalled, static_cast<int>(code)};
    return {ChildExit::Kind::Exited, static_cast<int>(code)};
}

// TerminateProcess only starts the end; this long at most for the child to be gone.
constexpr DWORD kTerminateWaitMs = 5000;

} // namespace

NativeHandleTraits::Type NativeHandleTraits::invalid() noexcept
{
    return 0;
}

void NativeHandleTraits::close(Type handle) noexcept
{
    ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}

std::optional<ToolPipe> ToolPipe::create()
{
    SECURITY_ATTRIBUTES attributes {};
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = nullptr;
    attributes.bInheritHandle = TRUE;

    HANDLE read_end = nullptr;
    HANDLE write_end = nullptr;
    if (!::CreatePipe(&read_end, &write_end, &attributes, 0))
        return std::nullopt;
    ToolPipe pipe;
    pipe.read_ = own(read_end);
    pipe.write_ = own(write_end);
    // Only the write end is the child's: a read end in the child would keep the pipe alive
    // behind our back.
    if (!::SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0))
        return std::nullopt;
    return pipe;
}

std::optional<std::size_t> ToolPipe::peek(char *one_byte) const
{
    DWORD got = 0;
    if (!::PeekNamedPipe(handle_of(read_), one_byte, 1, &got, nullptr, nullptr))
        return std::nullopt;
    return static_cast<std::size_t>(got);
}

std::optional<std::size_t> ToolPipe::read(char *buffer, std::size_t max) const
{
    DWORD got = 0;
    if (!::ReadFile(handle_of(read_), buffer, static_cast<DWORD>(max), &got, nullptr))
        return std::nullopt;
    return static_cast<std::size_t>(got);
}

std::optional<ChildProcess> ChildProcess::start(const Command &command, const ToolPipe &pipe)
{
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> line(command.command_line.begin(), command.command_line.end());
    line.push_back('\0');

    STARTUPINFOA startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    startup.hStdInput = nullptr;
    startup.hStdOutput = handle_of(pipe.write_end());
    startup.hStdError = handle_of(pipe.write_end());

    PROCESS_INFORMATION started {};
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &started))
        return std::nullopt;

    ChildProcess child;
    child.id_ = static_cast<long>(started.dwProcessId);
    child.process_ = own(started.hProcess);
    child.thread_ = own(started.hThread);
    return child;
}

bool ChildProcess::has_ended()
{
    if (!running())
        return true;
    const DWORD state = ::WaitForSingleObject(handle_of(process_), 0);
    if (state == WAIT_TIMEOUT)
        return false;
    ended_ = true;
    DWORD code = 0;
    if (state == WAIT_OBJECT_0 && ::GetExitCodeProcess(handle_of(process_), &code))
        exit_ = exit_from_code(code);
    return true;
}

void ChildProcess::terminate()
{
    if (!running())
        return;
    ::TerminateProcess(handle_of(process_), 0);
    // Once gone, the child holds no file open and shows in no process list.
    ::WaitForSingleObject(handle_of(process_), kTerminateWaitMs);
    ended_ = true;
    DWORD code = 0;
    if (::GetExitCodeProcess(handle_of(process_), &code) && code != STILL_ACTIVE)
        exit_ = exit_from_code(code);
}

void ChildProcess::wait_for_activity(const ToolPipe &, int ms) const
{
    // An anonymous pipe cannot be waited on: the child's end and user input wake the wait,
    // new output waits for the time-out.
    HANDLE process = handle_of(process_);
    const DWORD count = process_.valid() && running() ? 1 : 0;
    ::MsgWaitForMultipleObjects(count, count ? &process : nullptr, FALSE,
                                static_cast<DWORD>(ms), QS_ALLINPUT);
}

} // namespace quelvane::platform
