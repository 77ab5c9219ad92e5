// The parsers on what real FFmpeg releases printed (tests/fixtures/ffmpeg-*, made by
// tests/fixtures/record.sh): the banner, descriptions of a few clips, a removal run's output.
#include "client/probe.h"
#include "client/progress_line.h"
#include "startup/check_client.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quelvane {
namespace {

namespace fs = std::filesystem;

const char *const kReleases[] = {"4.3", "5.1", "7.1", "9.0"};

std::string recorded(const std::string &release, const std::string &name)
{
    const fs::path path = fs::path(QUELVANE_FIXTURES) / ("ffmpeg-" + release) / name;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return {std::istreambuf_iterator<char>(in), {}};
}

// The pieces the runner would hand on: at most 512 bytes each.
std::vector<std::string_view> chunks_of(std::string_view text)
{
    std::vector<std::string_view> chunks;
    for (size_t at = 0; at < text.size(); at += 512)
        chunks.push_back(text.substr(at, 512));
    return chunks;
}

TEST(RecordedOutput, BannerIsRecognisedInItsFirstChunks)
{
    for (const char *release : kReleases) {
        SCOPED_TRACE(release);
        const std::string banner = recorded(release, "banner.txt");
        std::string_view previous;
        bool seen = false;
        for (std::string_view chunk : chunks_of(banner)) {
            if ((seen = banner_seen(previous, chunk)))
                break;
            previous = chunk;
        }
        EXPECT_TRUE(seen);
    }
}

TEST(RecordedOutput, DescriptionsGiveRunningTimeBitratesAndFrameRate)
{
    struct Case {
        const char *file;
        const char *duration;
        const char *bitrate;
        bool video_bitrate; // the stream line names one
        const char *frame_rate;
        const char *frame_rate_from_8; // where the tool hands the rate on itself
    };
    const Case cases[] = {
        {"probe-clip-mp4.txt", "00:00:02.00", "", true, "30000/1001", "30000/1001"},
        // "25 fps, 50 tbr" on some releases
        {"probe-clip-mpg.txt", "", "", true, "25", "25"},
        {"probe-clip-mkv.txt", "00:00:02.01", "310", false, "24000/1001", "24000/1001"},
        {"probe-clip-wmv.txt", "00:00:02.09", "603", false, "30", "30"},
        // "25 fps, 30 tbr": frames left out
        {"probe-variable-mp4.txt", "", "", true, "30", ""},
    };
    for (const char *release : kReleases) {
        const bool from_8 = std::string(release) >= "8";
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(release) + " " + c.file);
            const std::string description = recorded(release, c.file);
            EXPECT_EQ(tool_keeps_rate(description), from_8);
            Tffinfo info;
            const Outcome outcome = parse_description(description, info);
            EXPECT_TRUE(outcome.ok) << outcome.reason;
            EXPECT_TRUE(clock_to_seconds(info.duration).has_value()) << info.duration;
            if (*c.duration) {
                EXPECT_EQ(info.duration, c.duration);
            }
            EXPECT_FALSE(info.bitrate.empty());
            if (*c.bitrate) {
                EXPECT_EQ(info.bitrate, c.bitrate);
            }
            EXPECT_EQ(!info.video_bitrate.empty(), c.video_bitrate) << info.video_bitrate;
            EXPECT_EQ(info.frame_rate, from_8 ? c.frame_rate_from_8 : c.frame_rate);
        }
    }
}

TEST(RecordedOutput, RemovalRunShowsProgressToItsEndAndNoFailure)
{
    for (const char *release : kReleases) {
        SCOPED_TRACE(release);
        const std::string output = recorded(release, "removal.txt");
        EXPECT_EQ(failure_reason(output), std::nullopt);
        // The tool ends each progress line with a carriage return and flushes it alone.
        double last = -1;
        int lines = 0;
        for (size_t start = 0; start < output.size();) {
            const size_t end = std::min(output.find_first_of("\r\n", start), output.size());
            const std::string_view line = std::string_view(output).substr(start, end - start);
            start = end + 1;
            if (!is_progress_line(line))
                continue;
            ++lines;
            const auto text = progress_clock_text(line);
            ASSERT_TRUE(text.has_value()) << line;
            if (const auto clock = clock_to_seconds(*text))
                last = clock->seconds;
        }
        EXPECT_GE(lines, 1);
        // Two seconds of moving picture.
        EXPECT_GT(last, 1.5);
        EXPECT_LT(last, 2.1);
    }
}

} // namespace
} // namespace quelvane
