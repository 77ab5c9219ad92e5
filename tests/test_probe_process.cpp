// The probe and the removal run at the tool's place, against the fake tool's scripted output.
#include "client/probe.h"
#include "client/process_file.h"
#include "client/tool_commands.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace quelvane {
namespace {

using testing::FakeScript;
using testing::FixedInputs;
using testing::RecordingSink;
using testing::ScratchDir;
using testing::tool_place;
using testing::ToolPlace;

// Logs the fake tool's calls for as long as it lives.
class CallLog {
public:
    explicit CallLog(const ScratchDir &dir) : path_(dir.file("calls.log"))
    {
        testing::set_environment("QUELVANE_FAKE_LOG", path_);
    }
    ~CallLog() { testing::unset_environment("QUELVANE_FAKE_LOG"); }
    std::vector<std::vector<std::string>> calls() const { return testing::logged_calls(path_); }

private:
    std::string path_;
};

// A path as a fake script writes it: its backslashes (Windows) escaped.
std::string scripted(const std::string &path)
{
    std::string text;
    for (const char c : path) {
        if (c == '\\')
            text += '\\';
        text += c;
    }
    return text;
}

TEST(ProbeFile, KeepsEveryChunkAsPrintedSoSplitMarkersAreFound)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    // Markers apart from their values, blanks at chunk ends, and one chunk printed twice.
    const FakeScript script(dir,
                            "[probe]\n"
                            "err Input #0, mov,mp4, from 'a.mp4':\\n\nsleep 30\n"
                            "err   Metadata:\\n\nsleep 30\n"
                            "err   Duration: \nsleep 30\n"
                            "err 00:00:10.00, start: 0.000000, bitrate: \nsleep 30\n"
                            "err 5120 kb/s\\n\nsleep 30\n"
                            "err   Metadata:\\n\nsleep 30\n"
                            "err     Stream #0:0: Video: h264, 1920x1080, 4987 kb/s\\n\n"
                            "exit 1\n");
    const CallLog log(dir);
    Tffinfo info;
    std::string accumulated = "left from the last probe";
    const Outcome result
        = probe_file(tool_place(), "/in/a b.mp4", info, accumulated, testing::no_pump);
    EXPECT_TRUE(result.ok) << result.reason;
    EXPECT_EQ(accumulated,
              "Input #0, mov,mp4, from 'a.mp4':\n  Metadata:\n  Duration: "
              "00:00:10.00, start: 0.000000, bitrate: 5120 kb/s\n  Metadata:\n"
              "    Stream #0:0: Video: h264, 1920x1080, 4987 kb/s\n");
    EXPECT_EQ(info.duration, "00:00:10.00");
    EXPECT_EQ(info.bitrate, "5120");
    EXPECT_EQ(info.video_bitrate, "4987");
    ASSERT_EQ(log.calls().size(), 1u);
    EXPECT_EQ(log.calls()[0], probe_arguments("/in/a b.mp4").list);
}

TEST(ProbeFile, RefusesAFileWithoutRunningTimeWithTheToolsReasonWhenItGaveOne)
{
    struct Case {
        const char *name;
        const char *script;
        const char *reason;
    };
    const Case cases[] = {
        {"not media",
         "err [mov @ 0x1] moov atom not found\\n/in/a.mp4: Invalid data found when processing "
         "input\\n\nexit 1\n",
         "/in/a.mp4: Invalid data found when processing input"},
        {"newer wording, no path",
         "err ffmpeg version 7.1\\n  built with gcc\\n[in#0 @ 0x2] Error opening input: No such "
         "file or directory\\nError opening input file /in/a.mp4.\\n\nexit 1\n",
         "Error opening input: No such file or directory"},
        {"described, without a running time",
         "err Input #0, avi, from '/in/a.mp4':\\n  Duration: N/A, start: 0.000000, bitrate: "
         "N/A\\n[avi @ 0x3] Could not find codec parameters\\n\nexit 1\n",
         "No duration!"},
        {"N/A", "err   Duration: N/A, start: 0.000000, bitrate: N/A\\n\nexit 1\n",
         "No duration!"},
        {"only the closing words",
         "err At least one output file must be specified\\n\nexit 1\n", "No duration!"},
        {"silent", "exit 0\n", "No duration!"},
    };
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const FakeScript script(dir, c.script);
        Tffinfo info;
        std::string accumulated;
        const Outcome result
            = probe_file(tool_place(), "/in/a.mp4", info, accumulated, testing::no_pump);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, c.reason);
    }
}

TEST(ProbeFile, AStopEndsAProbeThatNeverEndsAndAFloodIsNotAllKept)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const FakeScript script(dir,
                            "err   Duration: 00:00:02.00, start: 0.0\\n\nflood 3000000\nhang\n");
    const int descriptors = testing::open_descriptors();
    Tffinfo info;
    std::string accumulated;
    bool stop = false;
    // The stop comes once the flood is in, from inside the run as a Cancel click would.
    const MessagePump pump = [&] { stop = accumulated.size() >= kMaxDescription; };
    const Outcome result
        = probe_file(tool_place(), "/in/a.mp4", info, accumulated, pump, [&] { return stop; });
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "");
    EXPECT_EQ(accumulated.size(), kMaxDescription);
    EXPECT_TRUE(accumulated.starts_with("  Duration: 00:00:02.00"));
    EXPECT_TRUE(testing::child_processes().empty());
    EXPECT_EQ(testing::open_descriptors(), descriptors);
}

TEST(ProbeFile, MissingToolIsTheStartFailure)
{
    const ToolPlace nothing("");
    Tffinfo info;
    std::string accumulated = "kept";
    const Outcome result
        = probe_file(tool_place(), "/in/a.mp4", info, accumulated, testing::no_pump);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.reason, "012");
    EXPECT_EQ(accumulated, "kept");
}

Tffinfo probed(const std::string &filename, const std::string &duration = "00:01:30.00")
{
    return {filename, duration, "5120", "", ""};
}

TEST(ProcessFile, AsksTheToolForTheNamedOutputWithTheArgumentsBuilt)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const FakeScript script(dir, "err frame=1 size=0kB time=00:00:01.00 bitrate=N/A\\r\n"
                                 "output no stills\n");
    const CallLog log(dir);
    FixedInputs inputs;
    inputs.folder = dir.path();
    inputs.convert = true;
    inputs.format = "*.MKV";
    RecordingSink sink;
    const Tffinfo info = probed("/in/clip.mp4");
    const ProcessResult result = process_file(tool_place(), info, inputs, sink, testing::no_pump);
    EXPECT_TRUE(result.outcome.ok) << result.outcome.reason;
    EXPECT_EQ(result.output, dir.file("clip.mkv"));
    ASSERT_EQ(log.calls().size(), 1u);
    EXPECT_EQ(log.calls()[0], removal_arguments(info, dir.file("clip.mkv")).list);
}

TEST(ProcessFile, ProgressLinesDriveGaugesAndLabelAndAFinishedFileEndsAt100)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const FakeScript script(dir,
                            "err frame=  1 size=   0kB time=00:00:45.00 bitrate=N/A speed=1x\\r\n"
                            "sleep 30\n"
                            "err frame=  2 size=N/A time=N/A bitrate=N/A speed=N/A\\r\n"
                            "sleep 30\n"
                            "err frame=  3 size=   1kB time=-00:00:00.07 bitrate=N/A\\r\n"
                            "sleep 30\n"
                            "err frame=  4 size=   1kB time=00:00:54.00 bitrate=1.0kbits/s\\r\n"
                            "sleep 30\n"
                            "err video:37kB audio:0kB\\n\n"
                            "output no stills\n");
    FixedInputs inputs;
    inputs.folder = dir.path();
    inputs.index = 2;
    inputs.count = 4;
    RecordingSink sink;
    const ProcessResult result
        = process_file(tool_place(), probed("/in/clip.mp4"), inputs, sink, testing::no_pump);
    EXPECT_TRUE(result.outcome.ok) << result.outcome.reason;
    EXPECT_EQ(sink.gauge1, (std::vector<int>{50, 60, 100}));
    EXPECT_EQ(sink.gauge2, (std::vector<int>{62, 65, 75}));
    EXPECT_EQ(
        sink.labels,
        (std::vector<std::string>{"Process 00:00:45.00 ......", "Process 00:00:54.00 ......"}));
}

TEST(ProcessFile, ThreeFilesEndAt99AndAZeroRunningTimeShows0UntilTheEnd)
{
    struct Case {
        const char *duration;
        std::vector<int> gauge1, gauge2;
    };
    const Case cases[] = {
        {"00:00:10.00", {10, 100}, {69, 99}},
        {"00:00:00.00", {0, 100}, {66, 99}},
        {"not a clock", {0, 100}, {66, 99}},
    };
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const FakeScript script(dir, "err size=0kB time=00:00:01.00 bitrate=N/A\\r\n"
                                 "output no stills\n");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.duration);
        FixedInputs inputs;
        inputs.folder = dir.path();
        inputs.index = 2;
        inputs.count = 3;
        RecordingSink sink;
        const ProcessResult result = process_file(
            tool_place(), probed("/in/clip.mp4", c.duration), inputs, sink, testing::no_pump);
        EXPECT_TRUE(result.outcome.ok) << result.outcome.reason;
        EXPECT_EQ(sink.gauge1, c.gauge1);
        EXPECT_EQ(sink.gauge2, c.gauge2);
    }
}

TEST(ProcessFile, FailureTextsAndEndsThatAreFailures)
{
    struct Case {
        std::string name;
        std::string script;
        bool ok;
        std::string reason;
    };
    const ScratchDir dir;
    const std::string output = dir.file("clip.mp4");
    const std::string progress = "err frame=1 size=0kB time=00:00:01.00 bitrate=N/A\\r\nsleep 30\n";
    const Case cases[] = {
        {"no progress line", "err Press [q] to stop\\n\n", false, "Conversion failed"},
        {"no progress line, status 1", "exit 1\n", false, "Conversion failed"},
        {"no progress line, the tool's error line",
         "err Output #0, mp4, to 'x':\\n[out#0/mp4 @ 0x55d] Output file does not contain any "
         "stream\\nError opening output files: Invalid argument\\n\nexit 1\n",
         false, "Output file does not contain any stream"},
        {"no progress line, the line that names the file",
         "err   Stream #0:0: Audio: aac\\n[mov @ 0x1] moov atom not found\\n"
         "/in/clip.mp4: Invalid data found when processing input\\n\nexit 1\n",
         false, "/in/clip.mp4: Invalid data found when processing input"},
        {"the output's folder is missing",
         "err " + scripted(output) + ": No such file or directory\\n\nexit 1\n", false,
         output + ": No such file or directory"},
        {"missing input split over two chunks",
         "err /in/clip.mp4: No su\nsleep 60\nerr ch file or directory\\n\nexit 1\n", false,
         "No such file"},
        {"assertion text", "err Assertion failed\\n\nhang\n", false, "Assertion failed"},
        {"assertion report",
         "err Assertion cur_size >= size failed at libavutil/fifo.c:270\\n\n"
         "crash\n",
         false, "Assertion failed"},
        {"conversion failed", "err Error while opening encoder\\nConversion failed!\\n\nhang\n",
         false, "Conversion failed"},
        {"order of the texts", "err Conversion failed! No such file\\n\nexit 1\n", false,
         "No such file"},
        {"order of the texts, assertion", "err Conversion failed! Assertion failed\\n\nexit 1\n",
         false, "Assertion failed"},
        {"no progress line, failure text", "err Conversion failed!\\n\nexit 1\n", false,
         "Conversion failed"},
    };
    const Case late_cases[] = {
        {"conversion failed written last",
         "err frame=0 size=N/A time=N/A bitrate=N/A\\r\nerr Conversion failed!\\n\nexit 1\n", false,
         "Conversion failed"},
        {"crash after progress", "crash\n", false, "Conversion failed"},
        {"status 1 after progress", "exit 1\n", false, "Conversion failed"},
        {"status 0 after progress", "output no stills\nexit 0\n", true, ""},
        {"status 0, no output written", "exit 0\n", false, "Conversion failed"},
        {"status 0, an empty output", "output\nexit 0\n", false, "Conversion failed"},
        {"status 0, the trailer not written",
         "output part\nerr Error writing trailer of x: No space left on device\\n\nexit 0\n",
         false, "Conversion failed"},
        {"status 0, the file not closed",
         "output part\nerr [out#0/mp4 @ 0x1] Error closing file: Disk quota exceeded\\n\n",
         false, "Conversion failed"},
    };

    const ToolPlace place(testing::fake_tool());
    const auto check = [&](const Case &c, const std::string &script_text) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(output);
        const FakeScript script(dir, script_text);
        FixedInputs inputs;
        inputs.folder = dir.path();
        RecordingSink sink;
        const ProcessResult result
            = process_file(tool_place(), probed("/in/clip.mp4"), inputs, sink, testing::no_pump);
        EXPECT_EQ(result.outcome.ok, c.ok);
        EXPECT_EQ(result.outcome.reason, c.reason);
        EXPECT_TRUE(testing::child_processes().empty());
        if (!c.ok) {
            EXPECT_TRUE(sink.gauge1.empty() || sink.gauge1.back() != 100);
        }
    };
    for (const Case &c : cases)
        check(c, c.script);
    for (const Case &c : late_cases)
        check(c, progress + c.script);
}

TEST(ProcessFile, FailureTextsInEchoedNamesAndTagsAreNoFailure)
{
    const char *names[] = {"No such file.mp4", "Conversion failed.mp4",
                           "Assertion x failed at y.c.mp4", "Error writing trailer.mp4"};
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    for (const char *name : names) {
        SCOPED_TRACE(name);
        const std::string input = "/in/" + std::string(name);
        const std::string output = dir.file(name);
        std::filesystem::remove(output);
        const FakeScript script(
            dir, "err Input #0, mov,mp4, from '" + scripted(input) + "':\\n  Metadata:\\n"
                 "    title           : " + name
                 + "\\n    comment         : Conversion failed!\\n"
                 "                    : No such file\\n"
                 "Output #0, mp4, to '" + scripted(output) + "':\\n\n"
                 "err frame=1 size=0kB time=00:00:01.00 bitrate=N/A\\r\n"
                 "err [mp4 @ 0x1] Starting second pass: moving the moov atom to "
                 + scripted(output) + "\\n\noutput no stills\n");
        FixedInputs inputs;
        inputs.folder = dir.path();
        RecordingSink sink;
        const ProcessResult result
            = process_file(tool_place(), probed(input), inputs, sink, testing::no_pump);
        EXPECT_EQ(result.output, output);
        EXPECT_TRUE(result.outcome.ok) << result.outcome.reason;
    }
}

TEST(ProcessFile, AnOutputFolderRemovedWhileTheToolWritesIsAFailure)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const std::string folder = dir.file("out");
    std::filesystem::create_directories(folder);
    // The tool writes nothing once its folder is gone, and still ends with status 0.
    const FakeScript script(dir, "err frame=1 size=0kB time=00:00:01.00 bitrate=N/A\\r\n"
                                 "sleep 200\noutput no stills\nexit 0\n");
    FixedInputs inputs;
    inputs.folder = folder;
    RecordingSink sink;
    const MessagePump remove_folder = [&] {
        if (!sink.gauge1.empty())
            std::filesystem::remove_all(folder);
    };
    const ProcessResult result
        = process_file(tool_place(), probed("/in/clip.mp4"), inputs, sink, remove_folder);
    EXPECT_FALSE(std::filesystem::exists(result.output));
    EXPECT_FALSE(result.outcome.ok);
    EXPECT_EQ(result.outcome.reason, "Conversion failed");
}

TEST(ProcessFile, StopTerminatesTheToolAndIsNoFailure)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const FakeScript script(dir, "err frame=1 size=0kB time=00:00:09.00 bitrate=N/A\\r\nhang\n");

    {
        SCOPED_TRACE("stop asked before the run");
        FixedInputs inputs;
        inputs.folder = dir.path();
        inputs.stop = true;
        RecordingSink sink;
        const ProcessResult result
            = process_file(tool_place(), probed("/in/clip.mp4"), inputs, sink, testing::no_pump);
        EXPECT_TRUE(result.outcome.ok);
        EXPECT_EQ(result.outcome.reason, "");
        EXPECT_TRUE(sink.gauge1.empty());
    }
    {
        SCOPED_TRACE("stop asked while the tool works");
        FixedInputs inputs;
        inputs.folder = dir.path();
        RecordingSink sink;
        sink.stop_on_progress = &inputs;
        const ProcessResult result
            = process_file(tool_place(), probed("/in/clip.mp4"), inputs, sink, testing::no_pump);
        EXPECT_TRUE(result.outcome.ok);
        EXPECT_EQ(result.outcome.reason, "");
        EXPECT_EQ(sink.gauge1, std::vector<int>{10});
    }
    EXPECT_TRUE(testing::child_processes().empty());
}

TEST(ProcessFile, MissingToolIsTheStartFailure)
{
    const ToolPlace nothing("");
    FixedInputs inputs;
    inputs.folder = "/out";
    RecordingSink sink;
    const ProcessResult result
        = process_file(tool_place(), probed("/in/clip.mp4"), inputs, sink, testing::no_pump);
    EXPECT_FALSE(result.outcome.ok);
    EXPECT_EQ(result.outcome.reason, "042");
}

} // namespace
} // namespace quelvane
