// The platform's pipe and child process on their own: what the system sees of a child, and
// how long an idle wait lasts.
#include "client/run_client.h"
#include "platform/process.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>

namespace quelvane {
namespace {

using Clock = std::chrono::steady_clock;
using testing::FakeScript;
using testing::ScratchDir;

std::optional<platform::ChildProcess> start_fake(const platform::ToolPipe &pipe)
{
    return platform::ChildProcess::start(make_command(testing::fake_tool(), {}), pipe);
}

long long elapsed_ms(Clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
}

TEST(ChildProcess, IsSeenWhileItRunsAndGoneWithItsHandlesOnceTerminated)
{
    const ScratchDir dir;
    const FakeScript script(dir, "hang\n");
    const int handles = testing::open_descriptors();
    {
        auto pipe = platform::ToolPipe::create();
        ASSERT_TRUE(pipe);
        auto child = start_fake(*pipe);
        ASSERT_TRUE(child);
        const auto children = testing::child_processes();
        EXPECT_NE(std::find(children.begin(), children.end(), child->id()), children.end());
        EXPECT_GT(testing::open_descriptors(), handles);
        EXPECT_FALSE(child->has_ended());

        child->terminate();
        EXPECT_TRUE(child->has_ended());
#ifdef _WIN32
        // TerminateProcess gives the exit code it was asked for: a stopped run looks clean.
        EXPECT_EQ(child->exit().kind, platform::ChildExit::Kind::Exited);
        EXPECT_EQ(child->exit().code, 0);
#else
        EXPECT_EQ(child->exit().kind, platform::ChildExit::Kind::Signalled);
        EXPECT_EQ(child->exit().code, SIGKILL);
#endif
        child->close();
        EXPECT_TRUE(testing::child_processes().empty());
    }
    EXPECT_EQ(testing::open_descriptors(), handles);
}

TEST(ChildProcess, IdleWaitEndsWithTheChildOrAfterItsTimeOut)
{
    const ScratchDir dir;
    struct Case {
        const char *script;
        int wait_ms;
        long long at_least_ms, at_most_ms;
    };
    const Case cases[] = {
        {"hang\n", 40, 30, 1500},      // nothing happens: the time-out ends it
        {"sleep 100\n", 5000, 50, 2500}, // the child's end wakes it long before the time-out
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.script);
        const FakeScript script(dir, c.script);
        auto pipe = platform::ToolPipe::create();
        ASSERT_TRUE(pipe);
        auto child = start_fake(*pipe);
        ASSERT_TRUE(child);
        const auto start = Clock::now();
        child->wait_for_activity(*pipe, c.wait_ms);
        const long long waited = elapsed_ms(start);
        EXPECT_GE(waited, c.at_least_ms);
        EXPECT_LE(waited, c.at_most_ms);
    }
}

#ifdef _WIN32
// Inherited handles keep their values: the read end's value must not be among the pipes the
// tool holds. (The program's own standard handles do reach it when they are inheritable.)
TEST(ChildProcess, TheReadEndStaysWithTheProgram)
{
    const ScratchDir dir;
    const FakeScript script(dir, "fds\n");
    auto pipe = platform::ToolPipe::create();
    ASSERT_TRUE(pipe);
    auto child = start_fake(*pipe);
    ASSERT_TRUE(child);
    const auto start = Clock::now();
    while (!child->has_ended() && elapsed_ms(start) < 10000)
        child->wait_for_activity(*pipe, 10);
    std::string said;
    char buffer[kChunkSize];
    while (pipe->peek(buffer).value_or(0) > 0)
        said.append(buffer, pipe->read(buffer, sizeof buffer).value_or(0));

    const std::string read_end = std::to_string(pipe->read_end().get()) + ":pipe:";
    EXPECT_EQ(said.find(read_end), std::string::npos) << said;
}
#endif

} // namespace
} // namespace quelvane
