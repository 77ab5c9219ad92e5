#include "client/run_client.h"

#include "platform/paths.h"

#include <cstring>
#include <memory>

namespace quelvane {

namespace {

// An idle turn waits this long at most for output or the child's end, instead of spinning.
constexpr int kIdleWaitMs = 10;

// Everything one run owns. The destructor is the clean-up, in its order, on every way out.
struct RunState {
    std::unique_ptr<char[]> chunk; // kChunkSize bytes plus a terminating zero
    std::optional<platform::ToolPipe> pipe;
    std::optional<platform::ChildProcess> child;

    ~RunState()
    {
        if (child)
            child->terminate();
        if (pipe) {
            pipe->close_read();
            pipe->close_write();
        }
        if (child)
            child->close();
        chunk.reset();
    }
};

std::string_view chunk_text(const char *buffer, std::size_t length)
{
    return {buffer, ::strnlen(buffer, length)};
}

} // namespace

std::string error_code(int code_base, RunStep step)
{
    const std::string digits = std::to_string(code_base + static_cast<int>(step));
    return std::string(digits.size() < 3 ? 3 - digits.size() : 0, '0') + digits;
}

std::string client_path()
{
    const char sep = platform::path_separator();
    return platform::system_directory() + sep + "quelvanesvc" + sep + platform::tool_file_name();
}

platform::Command make_command(const std::string &program, const ToolArguments &arguments)
{
    return {program, arguments.list, program + arguments.text};
}

Outcome run_tool(const std::string &program, const ToolArguments &arguments,
                 const ChunkHandler &handler, const RunChoices &choices)
{
    const auto fail = [&](RunStep step) { return Outcome::no(error_code(choices.code_base, step)); };

    RunState run;
    const platform::Command command = make_command(program, arguments);
    run.chunk = std::make_unique<char[]>(kChunkSize + 1); // zero-filled
    char *const buffer = run.chunk.get();

    run.pipe = platform::ToolPipe::create();
    if (!run.pipe)
        return fail(RunStep::Pipe);
    run.child = platform::ChildProcess::start(command, *run.pipe);
    if (!run.child)
        return fail(RunStep::Start);
    if (choices.start_action)
        choices.start_action();

    // Hands one chunk from the pipe to the handler; a verdict ends the run.
    const auto read_chunk = [&]() -> std::optional<Outcome> {
        const auto got = run.pipe->read(buffer, kChunkSize);
        if (!got)
            return fail(RunStep::Read);
        buffer[*got] = '\0';
        if (handler)
            return handler(chunk_text(buffer, *got));
        return std::nullopt;
    };

    for (;;) {
        if (choices.stop_test && choices.stop_test()) {
            run.child->terminate();
            return choices.stopped;
        }

        const auto waiting = run.pipe->peek(buffer);
        if (!waiting)
            return fail(RunStep::Peek);

        const bool idle = *waiting == 0;
        if (!idle) {
            if (auto verdict = read_chunk())
                return *verdict;
        } else if (run.child->has_ended()) {
            // What the tool wrote just before it ended still counts.
            for (;;) {
                const auto left = run.pipe->peek(buffer);
                if (!left)
                    return fail(RunStep::Peek);
                if (*left == 0)
                    break;
                if (auto verdict = read_chunk())
                    return *verdict;
            }
            return choices.normal_end ? choices.normal_end(run.child->exit()) : Outcome::no();
        }

        // The wait comes before the pump: a stop asked for in the pump is tested straight
        // after it, not one idle wait later.
        if (idle)
            run.child->wait_for_activity(*run.pipe, kIdleWaitMs);
        if (choices.pump)
            choices.pump();
    }
}

} // namespace quelvane
