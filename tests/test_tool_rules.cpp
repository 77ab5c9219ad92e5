// The plain rules of the probe and the removal run: clock texts, progress and failure texts,
// gauges, the description parse, output names and the tool's arguments.
#include "client/output_path.h"
#include "client/probe.h"
#include "client/progress_line.h"
#include "client/text.h"
#include "client/tool_commands.h"
#include "client/tool_report.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace quelvane {
namespace {

TEST(ClockToSeconds, SplitsThreeUnsignedNumbersAndRefusesTheRest)
{
    struct Case {
        const char *text;
        bool ok;
        double seconds;
        const char *h, *m, *s;
    };
    const Case cases[] = {
        {"00:01:30.04", true, 90.04, "00", "01", "30.04"},
        {"01:02:03", true, 3723, "01", "02", "03"},
        {"00:00:00.00", true, 0, "00", "00", "00.00"},
        {"123:0:.5", true, 123 * 3600 + 0.5, "123", "0", ".5"},
        {"N/A", false, 0, "", "", ""},
        {"-00:00:00.07", false, 0, "", "", ""},
        {"00:00", false, 0, "", "", ""},
        {"00:00:", false, 0, "", "", ""},
        {"00:00:01.00 ", false, 0, "", "", ""},
        {"00:00:1:2", false, 0, "", "", ""},
        {"00:00:1e3", false, 0, "", "", ""},
        {"00:00:1.2.3", false, 0, "", "", ""},
        {"0x1:00:00", false, 0, "", "", ""},
        {"", false, 0, "", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const auto clock = clock_to_seconds(c.text);
        ASSERT_EQ(clock.has_value(), c.ok);
        if (!c.ok)
            continue;
        EXPECT_DOUBLE_EQ(clock->seconds, c.seconds);
        EXPECT_EQ(clock->hours, c.h);
        EXPECT_EQ(clock->minutes, c.m);
        EXPECT_EQ(clock->secs, c.s);
        EXPECT_EQ(clock_label(*clock),
                  std::string("Process ") + c.h + ":" + c.m + ":" + c.s + " ......");
    }
}

TEST(ProgressLine, RecognisesTheLineAndCutsItsClockText)
{
    struct Case {
        const char *chunk;
        bool progress;
        std::optional<std::string> clock;
    };
    const Case cases[] = {
        {"frame=   25 fps=0.0 q=-1.0 Lsize=      37kB time=00:00:00.88 bitrate= 341.3kbits/s "
         "speed=3.85x\n",
         true, "00:00:00.88"},
        {"size=N/A time=N/A bitrate=N/A speed=N/A\r", true, "N/A"},
        {"size=  1kB time=-00:00:00.07 bitrate=N/A", true, "-00:00:00.07"},
        {"frame=  1 size=  0kB time=00:00:0", true, std::nullopt},
        {"bitrate= 1kbits/s size=1kB time=00:00:01.00", true, std::nullopt},
        // Exactly one character is left out before "bitrate=": the blank the tool prints.
        {"size=1kB time=00:00:01.00bitrate=", true, "00:00:01.0"},
        {"size=1kB time=bitrate=", true, std::nullopt},
        {"video:37kB audio:0kB subtitle:0kB other streams:0kB", false, std::nullopt},
        {"frame=   1 fps=0.0 time=00:00:01.00 bitrate=N/A", false, "00:00:01.00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.chunk);
        EXPECT_EQ(is_progress_line(c.chunk), c.progress);
        const auto clock = progress_clock_text(c.chunk);
        EXPECT_EQ(clock ? std::optional<std::string>(*clock) : std::nullopt, c.clock);
    }
}

TEST(FailureReason, FirstFoundInTheFixedOrder)
{
    struct Case {
        const char *text;
        std::optional<std::string> reason;
    };
    const Case cases[] = {
        {"/in/none.mp4: No such file or directory", "No such file"},
        {"Assertion failed", "Assertion failed"},
        {"Assertion cur_size >= size failed at libavutil/fifo.c:270\n", "Assertion failed"},
        {"Assertion  failed at x.c:1", "Assertion failed"},
        {"Conversion failed!", "Conversion failed"},
        {"Conversion failed! No such file", "No such file"},
        {"Conversion failed!\nAssertion failed", "Assertion failed"},
        {"Conversion failed!\nAssertion x failed at y.c:2", "Assertion failed"},
        // The expression and "failed at" stay on one line.
        {"Assertion x\nfailed at y.c:2", std::nullopt},
        {"Assertion x failed", std::nullopt},
        {"no such file", std::nullopt},
        {"conversion failed", std::nullopt},
        {"frame= 1 size= 0kB time=00:00:00.04 bitrate=N/A", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(failure_reason(c.text), c.reason);
    }
}

TEST(ToolReport, LinesFramedOwnReportsAndWriteFailures)
{
    std::vector<std::string> lines;
    LineFramer framer;
    const LineFramer::LineHandler keep
        = [&](std::string_view line) { lines.emplace_back(line); };
    for (const char *chunk : {"a\nfr", "ame=1\rb", "", "\r\nc"})
        framer.feed(chunk, keep);
    framer.finish(keep);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "frame=1", "b", "", "c"}));
    lines.clear();
    framer.feed(std::string(LineFramer::kMaxLine + 5, 'x'), keep);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), LineFramer::kMaxLine);

    const std::vector<std::string> names = {"/in/No such file.mp4", "/out/No such file.mp4"};
    struct Case {
        const char *line;
        std::optional<std::string> report;
        bool write_failure;
    };
    const Case cases[] = {
        {"Input #0, mov, from '/in/No such file.mp4':", "Input #0, mov, from '':", false},
        {"    title           : Conversion failed!", std::nullopt, false},
        {"                    : No space left on device", std::nullopt, false},
        {"\tcomment: Error writing trailer", std::nullopt, false},
        {"Error writing trailer of /out/No such file.mp4: No space left on device",
         "Error writing trailer of : No space left on device", true},
        {"[out#0/mp4 @ 0x5] Error writing trailer: No space left on device",
         "[out#0/mp4 @ 0x5] Error writing trailer: No space left on device", true},
        {"Error closing file x.mkv: Input/output error",
         "Error closing file x.mkv: Input/output error", true},
        {"av_interleaved_write_frame(): Disk quota exceeded",
         "av_interleaved_write_frame(): Disk quota exceeded", true},
        {"[vost#0:0/mpeg4 @ 0x1] Error submitting a packet to the muxer: File too large",
         "[vost#0:0/mpeg4 @ 0x1] Error submitting a packet to the muxer: File too large", true},
        {"Error muxing a packet", "Error muxing a packet", true},
        {"Output #0, avi, to '/out/No space left on device.avi':",
         "Output #0, avi, to '/out/No space left on device.avi':", true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        const auto report = own_report(c.line, names);
        EXPECT_EQ(report, c.report);
        EXPECT_EQ(report && is_write_failure(*report), c.write_failure);
    }
    // The last row: only the names the tool was given are taken out.
    const std::string echo = "Output #0, avi, to '/o/No space left on device.avi':";
    EXPECT_FALSE(is_write_failure(*own_report(echo, {"/o/No space left on device.avi"})));
}

TEST(ToolReport, TheToolsErrorLineAsAReasonOverItsReleases)
{
    struct Case {
        const char *name;
        const char *output;
        std::optional<std::string> reason;
        bool described = false;
    };
    const Case cases[] = {
        {"4.3 and 5.1, missing input",
         "ffmpeg version 5.1\n  built with gcc\n/in/a.mp4: No such file or directory\n",
         "/in/a.mp4: No such file or directory"},
        {"7.1 and 9, missing input",
         "ffmpeg version 7.1\n[in#0 @ 0x5] Error opening input: No such file or directory\n"
         "Error opening input file /in/a.mp4.\nError opening input files: No such file or "
         "directory\n",
         "Error opening input: No such file or directory"},
        {"5.1, empty input",
         "[mov,mp4 @ 0x5] moov atom not found\n/in/a.mp4: Invalid data found when processing "
         "input\n",
         "/in/a.mp4: Invalid data found when processing input"},
        {"9, empty input",
         "[in#0 @ 0x5] Format mov detected only with low score of 1, misdetection possible!\n"
         "[in#0 @ 0x5] moov atom not found\n"
         "[in#0 @ 0x6] Error opening input: Invalid data found when processing input\n"
         "Error opening input file /in/a.mp4.\n",
         "Error opening input: Invalid data found when processing input"},
        {"5.1, no video stream",
         "Input #0, mov, from '/in/a.mp4':\n  Duration: 00:00:02.00\n"
         "Output #0, mp4, to '/out/a.mp4':\nOutput file #0 does not contain any stream\n",
         "Output file #0 does not contain any stream", true},
        {"7.1, no video stream",
         "Input #0, mov, from '/in/a.mp4':\n  Duration: 00:00:02.00\nStream mapping:\n"
         "[out#0/mp4 @ 0x5] Output file does not contain any stream\n"
         "Error opening output file /out/a.mp4.\nError opening output files: Invalid argument\n",
         "Output file does not contain any stream", true},
        {"7.1, output not writable",
         "[out#0/mp4 @ 0x5] Error opening output /out/a.mp4: Permission denied\n"
         "Error opening output file /out/a.mp4.\n",
         "Error opening output /out/a.mp4: Permission denied"},
        {"a good probe's closing words",
         "Input #0, mov, from '/in/a.mp4':\n  Duration: 00:00:02.00\n"
         "At least one output file must be specified\n",
         std::nullopt, true},
        {"only a description",
         "Input #0, mov, from '/in/a.mp4':\n    title : Conversion failed\n", std::nullopt, true},
        {"progress, then a line", "frame=1 size=0kB time=00:00:01.00 bitrate=N/A\rvideo:1kB\n",
         std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ErrorLineWatch watch({"/in/a.mp4", "/out/a.mp4"});
        LineFramer framer;
        const LineFramer::LineHandler see = [&](std::string_view line) { watch.see(line); };
        framer.feed(c.output, see);
        framer.finish(see);
        EXPECT_EQ(watch.reason(), c.reason);
        EXPECT_EQ(watch.described_input(), c.described);
    }
}

TEST(ToolReport, AReasonIsOneShortLine)
{
    EXPECT_EQ(reason_line("  [in#0 @ 0x5] [x @ 0x6] Error\topening: Is a directory \r"),
              "Error opening: Is a directory");
    EXPECT_EQ(reason_line("[not a context] text"), "[not a context] text");
    const std::string long_name = "/out/NEW_" + std::string(300, 'a') + ".mp4: File name too long";
    const std::string reason = reason_line(long_name);
    EXPECT_EQ(reason.size(), kMaxReason);
    EXPECT_TRUE(reason.starts_with("/out/NEW_aaa"));
    EXPECT_TRUE(reason.ends_with("aaa.mp4: File name too long"));
    EXPECT_TRUE(contains(reason, "..."));
    // A cut never falls inside a character of several bytes.
    std::string accents;
    for (int i = 0; i < 150; ++i)
        accents += "\xC3\xA9";
    const std::string wide = reason_line("a" + accents);
    EXPECT_LE(wide.size(), kMaxReason);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        if (wide[i] == '\xC3') {
            EXPECT_EQ(wide[i + 1], '\xA9') << i;
        } else if (wide[i] == '\xA9') {
            EXPECT_EQ(wide[i - 1], '\xC3') << i;
        }
    }
}

TEST(Gauges, RoundTiesToEvenClampAndDivideWholeNumbers)
{
    struct FileCase {
        double seconds, total;
        int percent;
    };
    const FileCase file_cases[] = {
        {45, 90, 50}, {0, 90, 0},    {1, 200, 0},   {3, 200, 2},   {5, 200, 2},
        {7, 200, 4},  {2.2, 200, 1}, {90, 90, 100}, {95, 90, 100}, {1e300, 1e-300, 100},
        {10, 0, 0},   {0, 0, 0},     {10, -1, 0},
    };
    for (const FileCase &c : file_cases) {
        SCOPED_TRACE(::testing::Message() << c.seconds << " of " << c.total);
        EXPECT_EQ(file_gauge(c.seconds, c.total), c.percent);
    }

    struct OverallCase {
        int file_percent, index, count, overall;
    };
    const OverallCase overall_cases[] = {
        {50, 2, 4, 62},   {100, 2, 3, 99}, {100, 0, 1, 100}, {100, 1, 2, 100},
        {100, 3, 4, 100}, {0, 1, 3, 33},   {99, 0, 2, 49},   {0, 0, 0, 0},
    };
    for (const OverallCase &c : overall_cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.file_percent << "% of file " << c.index << "/" << c.count);
        EXPECT_EQ(overall_gauge(c.file_percent, c.index, c.count), c.overall);
    }
}

// What Debian's FFmpeg 5.1 prints for its own clips, cut to the lines that matter.
constexpr const char *kMp4Description
    = "Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'clip.mp4':\n"
      "  Metadata:\n    major_brand     : isom\n"
      "  Duration: 00:00:02.00, start: 0.000000, bitrate: 249 kb/s\n"
      "  Stream #0:0[0x1](und): Video: h264 (High) (avc1 / 0x31637661), yuv420p(progressive), "
      "320x240 [SAR 1:1 DAR 4:3], 166 kb/s, 25 fps, 25 tbr, 12800 tbn (default)\n"
      "  Stream #0:1[0x2](und): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, mono, fltp, 69 "
      "kb/s (default)\n"
      "At least one output file must be specified\n";
constexpr const char *kFlvDescription
    = "Input #0, flv, from 'clip.flv':\n"
      "  Duration: 00:00:02.03, start: 0.000000, bitrate: 711 kb/s\n"
      "  Stream #0:0: Audio: mp3, 44100 Hz, mono, fltp, 64 kb/s\n"
      "  Stream #0:1: Video: flv1, yuv420p, 320x240, 200 kb/s, 25 fps, 25 tbr, 1k tbn\n";
constexpr const char *kWmvDescription
    = "Input #0, asf, from 'clip.wmv':\n"
      "  Duration: 00:00:02.09, start: 0.000000, bitrate: 713 kb/s\n"
      "  Stream #0:0: Video: msmpeg4v3 (MP43 / 0x3334504D), yuv420p, 320x240, 25 fps\n"
      "  Stream #0:1: Audio: wmav2 (a[1][0][0] / 0x0161), 44100 Hz, mono, fltp, 128 kb/s\n";

TEST(ParseDescription, FindsRunningTimeAndBitratesAndJudgesTheRunningTime)
{
    struct Case {
        const char *name;
        std::string text;
        bool ok;
        const char *duration, *bitrate, *video_bitrate;
    };
    const Case cases[] = {
        {"mp4", kMp4Description, true, "00:00:02.00", "249", "166"},
        {"audio stream first", kFlvDescription, true, "00:00:02.03", "711", "200"},
        {"audio line after a video header", kWmvDescription, true, "00:00:02.09", "713", ""},
        {"worked reading",
         "Duration: 00:01:30.04, start: 0.000000, bitrate: 5120 kb/s\n"
         "    Stream #0:0: Video: h264, yuv420p, 1920x1080, 4987 kb/s, 25 fps\n",
         true, "00:01:30.04", "5120", "4987"},
        {"later video segment wins",
         "Duration: 00:00:05.00, bitrate: 900 kb/s\n Stream #0:0: Video: a, 300 kb/s\n"
         " Stream #0:1: Video: b, 400 kb/s\n",
         true, "00:00:05.00", "900", "400"},
        {"no comma in the segment", "Duration: 1, bitrate: 2 kb/s #0: Video:77 kb/s", true, "1",
         "2", "#0: Video:77"},
        {"zero clock accepted", "Duration: 00:00:00.00, start: 0", true, "00:00:00.00", "", ""},
        {"N/A", "Duration: N/A, start: 0.000000, bitrate: N/A\n", false, "N/A", "", ""},
        {"zero", "Duration: 0, start: 0", false, "0", "", ""},
        {"blank running time", "Duration:  , start: 0", false, "", "", ""},
        {"no comma after the running time", "Duration: 00:00:02.00", false, "", "", ""},
        {"no marker", "x.mp4: Invalid data found when processing input\n", false, "", "", ""},
        {"marker needs its blank", "Duration:00:00:10.00, start: 0", false, "", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Tffinfo info;
        const Outcome result = parse_description(c.text, info);
        EXPECT_EQ(result.ok, c.ok);
        EXPECT_EQ(result.reason, c.ok ? "" : "No duration!");
        EXPECT_EQ(info.duration, c.duration);
        EXPECT_EQ(info.bitrate, c.bitrate);
        EXPECT_EQ(info.video_bitrate, c.video_bitrate);
    }
}

TEST(ParseDescription, LeavesFieldsWithoutTheirMarkerAlone)
{
    Tffinfo info{"/in/a.mp4", "", "1", "2", "25"};
    EXPECT_FALSE(parse_description("nothing here", info).ok);
    EXPECT_EQ(info.frame_rate, "25");
    EXPECT_EQ(info.duration, "");
    EXPECT_EQ(info.bitrate, "1");
    EXPECT_EQ(info.video_bitrate, "2");
}

TEST(ParseDescription, FrameRateOfTheVideoStreamLine)
{
    struct Case {
        const char *name;
        const char *line;
        const char *rate;
        const char *rate_where_kept; // by a tool that hands the rate on itself
    };
    const Case cases[] = {
        {"tbr as printed",
         "Stream #0:0(und): Video: h264 (High), yuv420p, 320x240, 184 kb/s, 25 fps, 25 tbr, "
         "12800 tbn (default)",
         "25", "25"},
        {"variable rate: tbr, not the average",
         "Stream #0:0: Video: h264, yuv420p, 320x240, 17.52 fps, 30 tbr, 15360 tbn", "30", ""},
        {"field rate twice the frame rate",
         "Stream #0:0[0x1e0]: Video: mpeg1video, yuv420p(tv), 320x240 [SAR 1:1 DAR 4:3], 104857 "
         "kb/s, 25 fps, 50 tbr, 90k tbn",
         "25", "25"},
        {"time base in place of a rate",
         "Stream #0:0: Video: wmv2, yuv420p, 320x240, 25 fps, 1k tbr, 1k tbn", "25", "25"},
        {"NTSC film", "Stream #0:0: Video: h264, 23.98 fps, 23.98 tbr, 24k tbn", "24000/1001",
         "24000/1001"},
        {"NTSC video", "Stream #0:0: Video: h264, 29.97 fps, 29.97 tbr, 30k tbn", "30000/1001",
         "30000/1001"},
        {"NTSC double", "Stream #0:0: Video: h264, 59.94 fps, 59.94 tbr, 60k tbn", "60000/1001",
         "60000/1001"},
        {"NTSC tbr with another fps", "Stream #0:0: Video: h264, 29.5 fps, 29.97 tbr",
         "30000/1001", ""},
        {"average within rounding of tbr", "Stream #0:0: Video: h264, 29.98 fps, 30 tbr", "30",
         "30"},
        {"other decimal kept", "Stream #0:0: Video: h264, 12.50 fps, 12.50 tbr", "12.50",
         "12.50"},
        {"fps alone", "Stream #0:0: Video: msmpeg4v3, yuv420p, 320x240, 25 fps", "25", "25"},
        {"tbr alone", "Stream #0:0: Video: rawvideo, 320x240, 60 tbr, 60 tbn", "60", "60"},
        {"only a time base", "Stream #0:0: Video: h264, 320x240, 90k tbr, 90k tbn", "", ""},
        {"neither", "Stream #0:0: Video: h264, 320x240, 90k tbn", "", ""},
        {"not a number", "Stream #0:0: Video: h264, x fps, 1e3 tbr", "", ""},
        {"zero", "Stream #0:0: Video: h264, 0 fps, 0 tbr", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(frame_rate_of_stream(c.line), c.rate);
        EXPECT_EQ(frame_rate_of_stream(c.line, true), c.rate_where_kept);
    }

    // Only video lines of the input count, the later one winning, and never a cover picture.
    Tffinfo info;
    parse_description("Duration: 00:00:02.00, start: 0.0, bitrate: 900 kb/s\n"
                      "  Stream #0:0: Video: h264, 320x240, 30 fps, 30 tbr, 15360 tbn\n"
                      "  Stream #0:1: Audio: aac, 44100 Hz, 40 fps, 40 tbr\n"
                      "  Stream #0:2: Video: h264, 320x240, 50 fps, 50 tbr, 15360 tbn\n"
                      "  Stream #0:3: Video: mjpeg, 300x300, 90k tbr, 90k tbn (attached pic)\n"
                      "  Stream #0:4: Video: png, 300x300, 12 fps, 12 tbr (attached pic)\n",
                      info);
    EXPECT_EQ(info.frame_rate, "50");
}

TEST(OutputName, FileNamePartFormatChangeAndStem)
{
    struct Case {
        const char *input;
        bool convert;
        const char *format;
        const char *name;
    };
    const Case cases[] = {
        {"/in/clip.avi", false, "*.MP4", "clip.avi"},
        {"/in/clip.mp4", true, "*.AVI", "clip.avi"},
        {"/in/clip.avi", true, "*.AVI", "clip.avi"},
        {"/in/Clip.AVI", true, "*.MPEG", "Clip.mpeg"},
        {"/in/a.avi.x.avi", true, "*.MP4", "a.mp4"},
        {"/in/a.b.c", true, "*.TS", "a.b.ts"},
        {"/in/name", true, "*.AVI", "name.avi"},
        {"/in.d/name", true, "*.AVI", "name.avi"},
        {"/in/.hidden", true, "*.MKV", ".mkv"},
        {"/in/trailing.", true, "*.MKV", "trailing.mkv"},
        {"clip.webm", true, "*.MTS", "clip.mts"},
#ifdef _WIN32
        // "\\", "/" and a drive's ":" all end a folder part.
        {"C:\\in\\clip.avi", false, "*.MP4", "clip.avi"},
        {"C:\\in.d\\name", true, "*.AVI", "name.avi"},
        {"C:clip.mp4", true, "*.AVI", "clip.avi"},
        {"\\\\server\\share\\clip.mp4", false, "*.AVI", "clip.mp4"},
        {"C:\\in/a\\b.mp4", false, "*.AVI", "b.mp4"},
#else
        // Only "/" separates here; a backslash is part of the name.
        {"/in/a\\b.mp4", false, "*.AVI", "a\\b.mp4"},
#endif
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(output_file_name(c.input, c.convert, c.format), c.name);
    }

    struct Join {
        const char *folder, *path;
    };
#ifdef _WIN32
    // A drive root keeps its one "\\".
    const Join joins[] = {{"C:\\out", "C:\\out\\f.mp4"},
                          {"C:\\out\\", "C:\\out\\f.mp4"},
                          {"C:\\", "C:\\f.mp4"},
                          {"C:/out/", "C:/out/f.mp4"}};
#else
    const Join joins[] = {{"/out", "/out/f.mp4"}, {"/out/", "/out/f.mp4"}, {"/", "/f.mp4"}};
#endif
    for (const Join &j : joins) {
        SCOPED_TRACE(j.folder);
        EXPECT_EQ(join_folder(j.folder, "f.mp4"), j.path);
    }
}

TEST(OutputName, FormatChangeIsJudgedByExtensionInCapitals)
{
    EXPECT_FALSE(changes_format("/in/clip.avi", "/out/clip.AVI"));
    EXPECT_FALSE(changes_format("/in/clip.avi", "/in/NEW_clip.avi"));
    EXPECT_TRUE(changes_format("/in/clip.mp4", "/out/clip.avi"));
    EXPECT_TRUE(changes_format("/in/name", "/out/name.avi"));
    EXPECT_FALSE(changes_format("/in.x/name", "/out/name"));
}

TEST(OutputName, NewPrefixUntilTheNameIsFree)
{
    struct Case {
        const char *name;
        const char *input, *folder;
        bool convert;
        std::set<std::string> taken; // compared in small letters
        const char *output;
    };
    const Case cases[] = {
#ifdef _WIN32
        {"own folder", "C:\\in\\clip.avi", "C:\\in", false, {"C:\\in\\clip.avi"},
         "C:\\in\\NEW_clip.avi"},
        {"own folder in other letters", "C:\\in\\clip.avi", "C:\\IN", false,
         {"C:\\in\\clip.avi"}, "C:\\IN\\NEW_clip.avi"},
        {"drive root", "D:\\clip.avi", "D:\\", false, {"D:\\clip.avi"}, "D:\\NEW_clip.avi"},
        {"other folder", "C:\\in\\clip.avi", "C:\\out", false, {"C:\\in\\clip.avi"},
         "C:\\out\\clip.avi"},
        {"prefixed name taken too",
         "C:\\in\\a.mp4",
         "C:\\in",
         true,
         {"C:\\in\\a.mp4", "C:\\IN\\A.AVI", "c:\\in\\new_a.avi"},
         "C:\\in\\NEW_NEW_a.avi"},
#else
        {"own folder", "/in/clip.avi", "/in", false, {"/in/clip.avi"}, "/in/NEW_clip.avi"},
        {"other folder", "/in/clip.avi", "/out", false, {"/in/clip.avi"}, "/out/clip.avi"},
        {"root", "/clip.avi", "/", false, {"/clip.avi"}, "/NEW_clip.avi"},
        {"another input of the batch",
         "/in/a.mp4",
         "/in",
         true,
         {"/in/a.mp4", "/in/a.avi"},
         "/in/NEW_a.avi"},
        {"prefixed name taken too",
         "/in/a.mp4",
         "/in",
         true,
         {"/in/a.mp4", "/in/a.avi", "/in/new_a.avi"},
         "/in/NEW_NEW_a.avi"},
#endif
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TakenTest taken = taken_by({c.taken.begin(), c.taken.end()});
        EXPECT_EQ(output_path(c.input, c.folder, c.convert, "*.AVI", taken), c.output);
    }
}

TEST(SameFile, TextInSmallLettersOrOneFileToTheFileSystem)
{
    const testing::ScratchDir dir;
    namespace fs = std::filesystem;
    const std::string file = dir.write("clip.mp4", "bytes");
    const std::string other = dir.write("other.mp4", "bytes");
    fs::create_directory(dir.file("sub"));
    fs::create_hard_link(file, dir.file("sub/hard.mp4"));
#ifdef _WIN32
    dir.write("\xC9t\xE9.mp4", "bytes"); // "Été" in the ANSI code page
#else
    fs::create_symlink(file, dir.file("sub/link.mp4"));
    fs::create_directory_symlink(dir.path(), dir.file("folder-link"));
#endif

    struct Case {
        std::string a, b;
        bool same;
    };
    const Case cases[] = {
        {file, file, true},
        {file, other, false},
        {"/In/CLIP.mp4", "/in/clip.MP4", true}, // neither exists: the text decides
        {"/in/clip.mp4", "/in/clip.mp4 ", false},
        {dir.file("sub/hard.mp4"), file, true},
        {dir.file("missing.mp4"), file, false},
#ifdef _WIN32
        {dir.file("sub\\..\\clip.mp4"), file, true},
        {dir.path() + "\\.\\clip.mp4", file, true},
        {dir.path() + "/clip.mp4", file, true},
        {"C:\\IN\\CLIP.AVI", "c:\\in\\clip.avi", true},
        // Small letters for A to Z only; the file system finds the file in any spelling.
        {dir.file("\xC9t\xE9.mp4"), dir.file("\xE9t\xE9.mp4"), true},
#else
        {dir.file("sub/link.mp4"), file, true},
        {dir.file("sub/../clip.mp4"), file, true},
        {dir.path() + "/./clip.mp4", file, true},
        {dir.file("folder-link/clip.mp4"), file, true},
#endif
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        EXPECT_EQ(same_file(c.a, c.b), c.same);
        EXPECT_EQ(same_file(c.b, c.a), c.same);
    }
}

// How a Windows program splits its command line, for texts without quotes inside arguments.
std::vector<std::string> split_like_windows(const std::string &text)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false, in_word = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
            in_word = true;
        } else if (c == ' ' && !quoted) {
            if (in_word)
                words.push_back(word);
            word.clear();
            in_word = false;
        } else {
            word += c;
            in_word = true;
        }
    }
    if (in_word)
        words.push_back(word);
    return words;
}

TEST(ToolArguments, BothTextsByteForByteAndTheSameWords)
{
    struct Case {
        const char *name;
        Tffinfo info;
        const char *output;
        std::string text;
        std::vector<std::string> list;
    };
    const std::string filter = "mpdecimate, setpts=N/FRAME_RATE/TB";
    const Case cases[] = {
        {"same format, video bitrate",
         {"/in/clip.mp4", "00:00:02.00", "5120", "4987", ""},
         "/out/clip.mp4",
         " -i \"/in/clip.mp4\" -c:a copy  -b:v 4987k -q:v 0 -y -vf "
         "\"mpdecimate, setpts=N/FRAME_RATE/TB\" -an \"/out/clip.mp4\"",
         {"-i", "/in/clip.mp4", "-c:a", "copy", "-b:v", "4987k", "-q:v", "0", "-y", "-vf", filter,
          "-an", "/out/clip.mp4"}},
        {"same format, overall bitrate",
         {"/in/clip.avi", "00:00:02.00", "5120", "", ""},
         "/out/clip.AVI",
         " -i \"/in/clip.avi\" -c:a copy  -b:v 5120k -q:v 0 -y -vf "
         "\"mpdecimate, setpts=N/FRAME_RATE/TB\" -an \"/out/clip.AVI\"",
         {"-i", "/in/clip.avi", "-c:a", "copy", "-b:v", "5120k", "-q:v", "0", "-y", "-vf", filter,
          "-an", "/out/clip.AVI"}},
        {"same format, no bitrate",
         {"/in/my clip.mkv", "00:00:02.00", "", "", ""},
         "/in/NEW_my clip.mkv",
         " -i \"/in/my clip.mkv\" -c:a copy  -q:v 0 -y -vf "
         "\"mpdecimate, setpts=N/FRAME_RATE/TB\" -an \"/in/NEW_my clip.mkv\"",
         {"-i", "/in/my clip.mkv", "-c:a", "copy", "-q:v", "0", "-y", "-vf", filter, "-an",
          "/in/NEW_my clip.mkv"}},
        {"format change",
         {"/in/clip.mp4", "00:00:02.00", "5120", "4987", ""},
         "/out/clip.avi",
         " -i \"/in/clip.mp4\" -q:a 0 -q:v 0 -y -vf \"mpdecimate, setpts=N/FRAME_RATE/TB\" -an "
         "\"/out/clip.avi\"",
         {"-i", "/in/clip.mp4", "-q:a", "0", "-q:v", "0", "-y", "-vf", filter, "-an",
          "/out/clip.avi"}},
        {"same format, frame rate known",
         {"/in/clip.mp4", "00:00:02.00", "5120", "4987", "30000/1001"},
         "/out/clip.mp4",
         " -i \"/in/clip.mp4\" -c:a copy  -b:v 4987k -q:v 0 -y -r 30000/1001 -vf "
         "\"mpdecimate, setpts=N/FRAME_RATE/TB\" -an \"/out/clip.mp4\"",
         {"-i", "/in/clip.mp4", "-c:a", "copy", "-b:v", "4987k", "-q:v", "0", "-y", "-r",
          "30000/1001", "-vf", filter, "-an", "/out/clip.mp4"}},
        {"format change, frame rate known",
         {"/in/clip.mp4", "00:00:02.00", "", "", "15"},
         "/out/clip.vob",
         " -i \"/in/clip.mp4\" -q:a 0 -q:v 0 -y -r 15 -vf \"mpdecimate, setpts=N/FRAME_RATE/TB\" "
         "-an \"/out/clip.vob\"",
         {"-i", "/in/clip.mp4", "-q:a", "0", "-q:v", "0", "-y", "-r", "15", "-vf", filter, "-an",
          "/out/clip.vob"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolArguments args = removal_arguments(c.info, c.output);
        EXPECT_EQ(args.text, c.text);
        EXPECT_EQ(args.list, c.list);
        EXPECT_EQ(split_like_windows(args.text), args.list);
    }

    const ToolArguments probe = probe_arguments("/in/my clip.mp4");
    EXPECT_EQ(probe.text, " -i \"/in/my clip.mp4\"");
    EXPECT_EQ(probe.list, (std::vector<std::string>{"-i", "/in/my clip.mp4"}));
}

} // namespace
} // namespace quelvane
