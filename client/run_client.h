// The console tool runner: starts the helper tool hidden, feeds its output to the caller in
// chunks of at most 512 bytes, runs the caller's message pump between reads, and cleans up on
// every way out.
#pragma once

#include "client/outcome.h"
#include "platform/process.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelvane {

inline constexpr std::size_t kChunkSize = 512;

// Handles every message that waits, then returns; the program passes Qt's, tests their own.
using MessagePump = std::function<void()>;

// The tool's arguments twice: as the list exec gets, and as the text that follows the tool's
// path on a Windows command line (beginning with a blank when not empty).
struct ToolArguments {
    std::vector<std::string> list;
    std::string text;
};

// Sees each chunk once, in order (its text ends at a zero byte); may end the run with a result.
using ChunkHandler = std::function<std::optional<Outcome>(std::string_view chunk)>;

// What differs between the tool's callers.
struct RunChoices {
    // First code of the caller's decade: 0 gives "001".."004", 10 "011".."014", 40 "041".."044".
    int code_base = 0;
    // Runs once, right after the child started, before the first turn.
    std::function<void()> start_action;
    // Asked at the top of every turn; yes terminates the child and ends the run with `stopped`.
    std::function<bool()> stop_test;
    // The result when the child ended and nothing waits.
    std::function<Outcome(const platform::ChildExit &how)> normal_end;
    Outcome stopped = Outcome::yes();
    MessagePump pump;
};

// The step that failed, as the caller's three-digit code.
enum class RunStep { Pipe = 1, Start = 2, Peek = 3, Read = 4 };
std::string error_code(int code_base, RunStep step);

// The full path of the helper tool, which the program hands to the core; tests hand it another.
std::string client_path();

// Builds the command for `program` with `arguments` (Windows text: the path, unquoted, then
// the argument text).
platform::Command make_command(const std::string &program, const ToolArguments &arguments);

// Runs `program`. Exceptions from the handler or the pump pass on to the caller once the child
// is gone and every handle is closed.
Outcome run_tool(const std::string &program, const ToolArguments &arguments,
                 const ChunkHandler &handler, const RunChoices &choices);

} // namespace quelvane
