// The start-up check at the tool's real place: the fake tool's banners and Debian's FFmpeg.
#include "startup/check_client.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quelvane {
namespace {

using testing::FakeScript;
using testing::ScratchDir;
using testing::tool_place;
using testing::ToolPlace;

TEST(CheckClient, BannerRule)
{
    struct Case {
        const char *name;
        const char *script;
        bool ok;
    };
    const Case cases[] = {
        {"banner in one chunk", "out ffmpeg version 5.1.6 Copyright\\n\n", true},
        {"banner after other output", "out hello\\n\nsleep 60\nout ffmpeg version 7\\n\n", true},
        {"split over two chunks", "out   ffmpeg ver\nsleep 80\nout sion 5.1\\n\n", true},
        {"spread over three chunks", "out ffm\nsleep 80\nout peg ver\nsleep 80\nout sion\n", false},
        {"other output", "out usage: client [options]\\n\nexit 1\n", false},
        {"silent", "exit 0\n", false},
        {"letter case counts", "out FFmpeg Version 5\\n\n", false},
    };
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FakeScript script(dir, c.script);
        const Outcome result = check_tool(tool_place(), testing::no_pump);
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.reason, "");
    }
}

TEST(CheckClient, BannerEndsTheRunWithoutWaitingForTheTool)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const FakeScript script(dir, "out ffmpeg version 6\\n\nhang\n");
    EXPECT_TRUE(check_tool(tool_place(), testing::no_pump).ok);
    EXPECT_TRUE(testing::child_processes().empty());
}

TEST(CheckClient, MissingToolIsTheStartFailure)
{
    const ToolPlace nothing("");
    const Outcome result = check_tool(tool_place(), testing::no_pump);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "002");
}

TEST(CheckClient, RecognisesDebiansFfmpeg)
{
#ifdef _WIN32
    GTEST_SKIP() << "a Linux FFmpeg cannot be started from Windows";
#endif
    if (!std::filesystem::exists("/usr/bin/ffmpeg"))
        GTEST_SKIP() << "Debian's ffmpeg is not installed";
    const ToolPlace place("/usr/bin/ffmpeg");
    const Outcome result = check_tool(tool_place(), testing::no_pump);
    EXPECT_TRUE(result.ok) << result.reason;
}

} // namespace
} // namespace quelvane
