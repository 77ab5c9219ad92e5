// The tool runner against the fake tool: framing, end of run, stop, failures and clean-up.
#include "client/run_client.h"
#include "client/text.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace quelvane {
namespace {

using testing::FakeScript;
using testing::ScratchDir;

struct Recorded {
    std::vector<std::string> chunks;
    std::string all() const
    {
        std::string text;
        for (const auto &chunk : chunks)
            text += chunk;
        return text;
    }
};

RunChoices plain_choices(int code_base = 40)
{
    RunChoices choices;
    choices.code_base = code_base;
    choices.pump = testing::no_pump;
    choices.normal_end = [](const platform::ChildExit &) { return Outcome::yes(); };
    return choices;
}

ChunkHandler recorder(Recorded &seen)
{
    return [&seen](std::string_view chunk) -> std::optional<Outcome> {
        seen.chunks.emplace_back(chunk);
        return std::nullopt;
    };
}

std::string flood_pattern(long total)
{
    std::string block;
    for (long i = 0; i < total; ++i)
        block += static_cast<char>('A' + (i * 7 + i / 26) % 26);
    return block;
}

TEST(Runner, DeliversEveryByteOnceInOrderInChunksOfAtMost512)
{
    const ScratchDir dir;
    const FakeScript script(dir, "out head\\n\nsleep 30\nout x\nsleep 30\nflood 3000000\n"
                                 "sleep 30\nout tail\n");
    Recorded seen;
    const Outcome result = run_tool(testing::fake_tool(), {}, recorder(seen), plain_choices());

    EXPECT_TRUE(result.ok);
    EXPECT_EQ(seen.all(), "head\nx" + flood_pattern(3000000) + "tail");
    for (const auto &chunk : seen.chunks) {
        ASSERT_LE(chunk.size(), kChunkSize);
        ASSERT_FALSE(chunk.empty());
    }
}

TEST(Runner, ZeroByteEndsTheChunksText)
{
    const ScratchDir dir;
    const FakeScript script(dir, "out before\\0after\n");
    Recorded seen;
    run_tool(testing::fake_tool(), {}, recorder(seen), plain_choices());
    ASSERT_EQ(seen.chunks.size(), 1u);
    EXPECT_EQ(seen.chunks[0], "before");
}

TEST(Runner, SilentChildEndsOnTheCallersNormalEndRuleWithItsExit)
{
    const ScratchDir dir;
    struct Case {
        const char *script;
        platform::ChildExit::Kind kind;
        int code;
    };
    const Case cases[] = {
        {"sleep 50\n", platform::ChildExit::Kind::Exited, 0},
        {"exit 3\n", platform::ChildExit::Kind::Exited, 3},
#ifdef _WIN32
        // An unhandled access violation: the exit code is the exception's status.
        {"crash\n", platform::ChildExit::Kind::Signalled, static_cast<int>(0xC0000005u)},
#else
        {"crash\n", platform::ChildExit::Kind::Signalled, SIGSEGV},
#endif
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        const FakeScript script(dir, c.script);
        std::optional<platform::ChildExit> how;
        RunChoices choices = plain_choices();
        choices.normal_end = [&](const platform::ChildExit &exit) {
            how = exit;
            return Outcome::no("ended");
        };
        Recorded seen;
        const Outcome result = run_tool(testing::fake_tool(), {}, recorder(seen), choices);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, "ended");
        EXPECT_TRUE(seen.chunks.empty());
        ASSERT_TRUE(how);
        EXPECT_EQ(how->kind, c.kind);
        EXPECT_EQ(how->code, c.code);
    }
}

TEST(Runner, StopTestTerminatesTheChildBeforeAnythingIsRead)
{
    const ScratchDir dir;
    const FakeScript script(dir, "out early\nhang\n");
    int asked = 0;
    RunChoices choices = plain_choices();
    choices.stop_test = [&] { return ++asked == 1; };
    choices.stopped = Outcome::yes();
    choices.start_action = [] { // the output is surely waiting
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    };
    Recorded seen;

    const Outcome result = run_tool(testing::fake_tool(), {}, recorder(seen), choices);

    EXPECT_TRUE(result.ok);
    EXPECT_TRUE(result.reason.empty());
    EXPECT_TRUE(seen.chunks.empty());
    EXPECT_TRUE(testing::child_processes().empty());
}

TEST(Runner, MissingOrUnstartableToolGivesTheStartCodeAndLeavesNoProcess)
{
    const ScratchDir dir;
    const std::string not_executable = dir.write("plain.txt", "not a program");
    for (const std::string &program : {dir.file("absent"), not_executable, dir.path()}) {
        SCOPED_TRACE(program);
        bool started = false;
        RunChoices choices = plain_choices(10);
        choices.start_action = [&] { started = true; };
        const int descriptors = testing::open_descriptors();
        const Outcome result = run_tool(program, {}, nullptr, choices);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, "012");
        EXPECT_FALSE(started);
        EXPECT_TRUE(testing::child_processes().empty());
        EXPECT_EQ(testing::open_descriptors(), descriptors);
    }
}

TEST(Runner, ExceptionsReachTheCallerOnlyAfterTheChildAndHandlesAreGone)
{
    const ScratchDir dir;
    const FakeScript script(dir, "out first\nhang\n");
    // The runtime keeps a few handles of its own once exceptions have been thrown (MinGW's):
    // they are not the run's.
    for (int i = 0; i < 3; ++i) {
        try {
            throw std::runtime_error("warm-up");
        } catch (const std::runtime_error &) {
        }
    }
    const int descriptors = testing::open_descriptors();

    enum class Thrower { Handler, Pump };
    for (Thrower where : {Thrower::Handler, Thrower::Pump}) {
        SCOPED_TRACE(static_cast<int>(where));
        RunChoices choices = plain_choices();
        const auto boom = [] { throw std::runtime_error("boom"); };
        if (where == Thrower::Pump)
            choices.pump = boom;
        const ChunkHandler handler = [&](std::string_view) -> std::optional<Outcome> {
            if (where == Thrower::Handler)
                boom();
            return std::nullopt;
        };
        EXPECT_THROW(run_tool(testing::fake_tool(), {}, handler, choices), std::runtime_error);
        EXPECT_TRUE(testing::child_processes().empty());
        EXPECT_EQ(testing::open_descriptors(), descriptors);
    }
}

TEST(Runner, HandlerVerdictEndsTheRunAndTheChildWithIt)
{
    const ScratchDir dir;
    const FakeScript script(dir, "out Conversion failed!\nhang\n");
    const ChunkHandler handler = [](std::string_view chunk) -> std::optional<Outcome> {
        if (chunk.find("failed") != std::string_view::npos)
            return Outcome::no("Conversion failed");
        return std::nullopt;
    };
    const Outcome result = run_tool(testing::fake_tool(), {}, handler, plain_choices());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "Conversion failed");
    EXPECT_TRUE(testing::child_processes().empty());
}

TEST(Runner, OutputWrittenJustBeforeTheEndIsAlwaysSeen)
{
    const ScratchDir dir;
    const FakeScript script(dir, "out Conversion failed!\\n\nexit 1\n");
    for (int round = 0; round < 50; ++round) {
        Recorded seen;
        RunChoices choices = plain_choices();
        run_tool(testing::fake_tool(), {}, recorder(seen), choices);
        ASSERT_EQ(seen.all(), "Conversion failed!\n") << "round " << round;
    }
}

TEST(Runner, StartActionRunsOnceBeforeTheFirstTurn)
{
    const ScratchDir dir;
    const FakeScript script(dir, "out x\n");
    std::vector<std::string> order;
    RunChoices choices = plain_choices();
    choices.start_action = [&] { order.push_back("start"); };
    choices.stop_test = [&] {
        order.push_back("turn");
        return false;
    };
    run_tool(testing::fake_tool(), {}, nullptr, choices);
    ASSERT_GE(order.size(), 2u);
    EXPECT_EQ(order[0], "start");
    EXPECT_EQ(std::count(order.begin(), order.end(), "start"), 1);
}

#ifndef _WIN32
TEST(Runner, EachArgumentReachesTheToolWhole)
{
    const ScratchDir dir;
    const FakeScript script(dir, "exit 0\n");
    const std::string log = dir.file("calls.log");
    testing::set_environment("QUELVANE_FAKE_LOG", log);
    const std::vector<std::string> hostile = {
        "-i", "a \"quoted\" name.mp4", "$HOME and `date`", "back\\slash\\", "new\nline",
        "-y", "; rm -rf /", "*.mp4", "", "ünïcödé.mkv"};
    run_tool(testing::fake_tool(), {hostile, " whatever"}, nullptr, plain_choices());
    testing::unset_environment("QUELVANE_FAKE_LOG");

    const auto calls = testing::logged_calls(log);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], hostile);
}
#else
// Windows hands the tool one command line, which its C runtime splits into arguments.
TEST(Runner, TheArgumentTextIsTheToolsCommandLine)
{
    const ScratchDir dir;
    const FakeScript script(dir, "exit 0\n");
    const std::string log = dir.file("calls.log");
    testing::set_environment("QUELVANE_FAKE_LOG", log);
    const std::string text = " -i \"C:\\some dir\\a b.mp4\" -an  -y C:\\out\\NEW_a.mkv";
    run_tool(testing::fake_tool(), {{"ignored"}, text}, nullptr, plain_choices());
    testing::unset_environment("QUELVANE_FAKE_LOG");

    const auto calls = testing::logged_calls(log);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], (std::vector<std::string>{"-i", "C:\\some dir\\a b.mp4", "-an", "-y",
                                                  "C:\\out\\NEW_a.mkv"}));
}
#endif

TEST(Runner, TheToolInheritsNothingButItsStandardStreams)
{
#ifndef __linux__
    GTEST_SKIP() << "reads /proc; Windows: ChildProcess.TheReadEndStaysWithTheProgram";
#endif
    const ScratchDir dir;
    const FakeScript script(dir, "fds\n");
    Recorded seen;
    run_tool(testing::fake_tool(), {}, recorder(seen), plain_choices());
    // The fake tool's own script and folder listing may show; no pipe of ours may.
    EXPECT_FALSE(contains(seen.all(), "pipe:")) << seen.all();
}

TEST(Runner, CommandLineTextIsThePathUnquotedFollowedByTheArgumentText)
{
    const platform::Command command =
        make_command("/x/quelvanesvc/client", {{"-i", "a b.mp4"}, " -i \"a b.mp4\""});
    EXPECT_EQ(command.command_line, "/x/quelvanesvc/client -i \"a b.mp4\"");
    EXPECT_EQ(command.program, "/x/quelvanesvc/client");
    EXPECT_EQ(command.args, (std::vector<std::string>{"-i", "a b.mp4"}));
}

TEST(Runner, ErrorCodesNameTheCallersDecadeAndTheStep)
{
    EXPECT_EQ(error_code(0, RunStep::Pipe), "001");
    EXPECT_EQ(error_code(0, RunStep::Read), "004");
    EXPECT_EQ(error_code(10, RunStep::Start), "012");
    EXPECT_EQ(error_code(40, RunStep::Peek), "043");
}

TEST(Runner, ClientPathIsTheToolInsideTheSystemFolder)
{
    const std::string path = client_path();
#ifdef _WIN32
    // The Windows directory, as the environment also names it (Wine: C:\windows).
    const char *root = std::getenv("SystemRoot");
    ASSERT_NE(root, nullptr);
    std::string expected = std::string(root) + "\\quelvanesvc\\client.exe";
    const auto lower = [](std::string text) {
        for (char &c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    EXPECT_EQ(lower(path), lower(expected));
#else
    EXPECT_EQ(path, std::string(QUELVANE_SYSTEM_DIR_FOR_TESTS) + "/quelvanesvc/client");
#endif
}

} // namespace
} // namespace quelvane
