// The probe and the removal run with a real FFmpeg at the tool's place (each release under test
// in turn), on small clips made here in each of the fourteen formats.
#include "client/probe.h"
#include "client/process_file.h"
#include "client/text.h"
#include "client/tool_report.h"
#include "tests/media.h"
#include "tests/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <numeric>
#include <sstream>

#ifndef _WIN32
#include <sys/mount.h>
#endif

namespace quelvane {
namespace {

namespace fs = std::filesystem;
using testing::Facts;
using testing::FixedInputs;
using testing::kFfprobe;
using testing::make_clip;
using testing::probe_facts;
using testing::RecordingSink;
using testing::ScratchDir;
using testing::tool_place;

// What the output of each format must look like: the demuxer's name, the video codec the
// muxer picks by default, and for the QuickTime family the brand that tells them apart.
struct Format {
    const char *ext;
    const char *format_name;
    const char *codec;
    const char *brand;
};
const Format kFormats[] = {
    {"avi", "avi", "mpeg4", ""},
    {"mpg", "mpeg", "mpeg1video", ""},
    {"mpeg", "mpeg", "mpeg1video", ""},
    {"wmv", "asf", "msmpeg4v3", ""},
    {"mp4", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "isom"},
    {"m4v", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "M4V "},
    {"flv", "flv", "flv1", ""},
    {"mkv", "matroska,webm", "h264", ""},
    {"webm", "matroska,webm", "vp9", ""},
    {"mov", "mov,mp4,m4a,3gp,3g2,mj2", "h264", "qt  "},
    {"vob", "mpeg", "mpeg2video", ""},
    {"asf", "asf", "msmpeg4v3", ""},
    {"ts", "mpegts", "mpeg2video", ""},
    {"mts", "mpegts", "mpeg2video", ""},
};

const Format &format_of(const std::string &ext)
{
    for (const Format &format : kFormats) {
        if (ext == format.ext)
            return format;
    }
    throw std::invalid_argument(ext);
}

std::string bytes_of(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// One file through the batch's two steps.
struct Processed {
    Outcome probe;
    Tffinfo info;
    ProcessResult result;
    RecordingSink sink;
};

Processed probe_and_process(const std::string &input, const FixedInputs &inputs)
{
    Processed done;
    std::string accumulated;
    done.probe = probe_file(tool_place(), input, done.info, accumulated, testing::no_pump);
    done.info.filename = input;
    if (done.probe.ok)
        done.result = process_file(tool_place(), done.info, inputs, done.sink, testing::no_pump);
    return done;
}

class RealFfmpeg : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (fs::exists(testing::tool_ffmpeg()) && fs::exists(kFfprobe))
            clips_ = new ScratchDir;
    }
    static void TearDownTestSuite()
    {
        delete clips_;
        clips_ = nullptr;
        made_.clear();
    }

    void SetUp() override
    {
        if (!clips_)
            GTEST_SKIP() << "Debian's ffmpeg is not installed (scripts/deps.sh installs it)";
        place_ = std::make_unique<testing::ToolPlace>(testing::tool_ffmpeg());
    }

    // The clip in format `ext`, made on first use and shared by the suite's tests.
    static std::string clip(const std::string &ext)
    {
        const auto it = made_.find(ext);
        if (it != made_.end())
            return it->second;
        const std::string path = clips_->file("clip." + ext);
        make_clip(path);
        made_.emplace(ext, path);
        return path;
    }

    // The processed file is a still-frame-free copy in the expected container, without audio.
    static void expect_stills_removed(const Processed &done, const std::string &expected_output,
                                      const Format &format)
    {
        ASSERT_TRUE(done.probe.ok) << done.probe.reason;
        EXPECT_FALSE(done.info.duration.empty());
        ASSERT_TRUE(done.result.outcome.ok) << done.result.outcome.reason;
        ASSERT_EQ(done.result.output, expected_output);
        const Facts in = probe_facts(done.info.filename);
        const Facts out = probe_facts(expected_output);
        std::cout << "frames " << fs::path(done.info.filename).filename().string() << " -> "
                  << fs::path(expected_output).filename().string() << ": " << in.frames() << " -> "
                  << out.frames() << '\n';
        EXPECT_GT(out.frames(), 0);
        EXPECT_LT(out.frames(), in.frames());
        EXPECT_EQ(out["nb_streams"], "1"); // the video stream alone
        EXPECT_EQ(out["format_name"], format.format_name);
        EXPECT_EQ(out["codec_name"], format.codec);
        if (*format.brand) {
            EXPECT_EQ(out["major_brand"], format.brand);
        }
        ASSERT_FALSE(done.sink.gauge1.empty());
        EXPECT_EQ(done.sink.gauge1.back(), 100);
        EXPECT_FALSE(done.sink.labels.empty());
    }

    ScratchDir out_;

private:
    std::unique_ptr<testing::ToolPlace> place_;
    static inline ScratchDir *clips_ = nullptr;
    static inline std::map<std::string, std::string> made_;
};

TEST_F(RealFfmpeg, EveryFormatProbesAndLosesItsStillsInItsOwnContainer)
{
    for (const Format &format : kFormats) {
        SCOPED_TRACE(format.ext);
        FixedInputs inputs;
        inputs.folder = out_.path();
        const Processed done = probe_and_process(clip(format.ext), inputs);
        expect_stills_removed(done, out_.file(std::string("clip.") + format.ext), format);
    }
}

TEST_F(RealFfmpeg, FormatChangeFromMp4ToEveryOther)
{
    for (const Format &format : kFormats) {
        if (std::string(format.ext) == "mp4")
            continue;
        SCOPED_TRACE(format.ext);
        FixedInputs inputs;
        inputs.folder = out_.path();
        inputs.convert = true;
        inputs.format = "*." + to_upper(format.ext);
        const Processed done = probe_and_process(clip("mp4"), inputs);
        expect_stills_removed(done, out_.file(std::string("clip.") + format.ext), format);
    }
}

TEST_F(RealFfmpeg, FormatChangeFromEveryOtherToMp4)
{
    for (const Format &format : kFormats) {
        if (std::string(format.ext) == "mp4")
            continue;
        SCOPED_TRACE(format.ext);
        const ScratchDir out;
        FixedInputs inputs;
        inputs.folder = out.path();
        inputs.convert = true;
        inputs.format = "*.MP4";
        const Processed done = probe_and_process(clip(format.ext), inputs);
        expect_stills_removed(done, out.file("clip.mp4"), format_of("mp4"));
    }
}

// Each frame the filter keeps, once, at the input's rate and in the quality the encoder gives
// at that rate. Without the input's rate some releases let the encoder fall back to 25 frames
// a second: moving frames dropped, stills put back, or the target refusing the rate.
TEST_F(RealFfmpeg, KeepsEachMovingFrameOnceAtTheInputsRate)
{
    using testing::Timing;
    struct Case {
        const char *rate;
        Timing timing;
        const char *target; // the format to change to, "" for MP4's own
        double psnr_floor;  // dB, a few below what Debian 12's FFmpeg gives
    };
    const Case cases[] = {
        {"15", Timing::constant, "", 32},
        {"24000/1001", Timing::constant, "", 32},
        {"25", Timing::constant, "", 32},
        {"30000/1001", Timing::constant, "", 32},
        {"30", Timing::constant, "", 32},
        {"50", Timing::constant, "", 32},
        {"60", Timing::constant, "", 32},
        {"30", Timing::variable, "", 32},
        {"30", Timing::constant, "avi", 22},
        {"30", Timing::constant, "mpg", 46},
        {"30", Timing::constant, "mpeg", 46},
        {"30", Timing::constant, "wmv", 43},
        {"30", Timing::constant, "m4v", 40},
        {"30", Timing::constant, "flv", 45},
        {"30", Timing::constant, "mkv", 40},
        {"30", Timing::constant, "webm", 41},
        {"30", Timing::constant, "mov", 40},
        {"30", Timing::constant, "vob", 46},
        {"30", Timing::constant, "asf", 43},
        {"30", Timing::constant, "ts", 46},
        {"30", Timing::constant, "mts", 46},
    };
    const ScratchDir work;
    std::map<std::string, std::string> made;
    int row = 0;
    for (const Case &c : cases) {
        const bool variable = c.timing == Timing::variable;
        const std::string name = std::string(c.rate) + (variable ? " variable" : "") + " fps to "
                + (*c.target ? c.target : "mp4");
        SCOPED_TRACE(testing::tool_release() + ": " + name);
        std::string input_name = std::string(c.rate) + (variable ? "v" : "") + ".mp4";
        std::replace(input_name.begin(), input_name.end(), '/', '_');
        std::string &input = made[input_name];
        if (input.empty()) {
            input = work.file(input_name);
            ASSERT_NO_FATAL_FAILURE(make_clip(input, c.rate, c.timing));
        }
        FixedInputs inputs;
        inputs.folder = work.file("out" + std::to_string(row++));
        fs::create_directories(inputs.folder);
        inputs.convert = *c.target != '\0';
        inputs.format = "*." + to_upper(c.target);
        const Processed done = probe_and_process(input, inputs);
        ASSERT_TRUE(done.probe.ok) << done.probe.reason;
        ASSERT_TRUE(done.result.outcome.ok) << done.result.outcome.reason;

        const int kept = testing::frames_kept_by_mpdecimate(testing::tool_ffmpeg(), input);
        const std::vector<std::string> sums = testing::frame_checksums(done.result.output);
        const int repeats = static_cast<int>(std::inner_product(
            sums.begin() + std::min<size_t>(1, sums.size()), sums.end(), sums.begin(), 0,
            std::plus<>(), std::equal_to<>()));
        const Facts in = probe_facts(input);
        const Facts out = probe_facts(done.result.output);
        const double psnr = testing::mean_psnr_of_kept_frames(done.result.output, input);
        std::cout << testing::tool_release() << " " << name << ": " << sums.size() << " frames of "
                  << kept << " kept, " << repeats << " repeated, " << out["avg_frame_rate"]
                  << " fps, " << psnr << " dB\n";
        EXPECT_NEAR(static_cast<double>(sums.size()), kept, 1);
        EXPECT_EQ(repeats, 0);
        EXPECT_NEAR(testing::rate_value(out["avg_frame_rate"]),
                    testing::rate_value(in["r_frame_rate"]),
                    testing::rate_value(in["r_frame_rate"]) / 100)
            << out["avg_frame_rate"] << " against " << in["r_frame_rate"];
        EXPECT_EQ(out["nb_streams"], "1");
        EXPECT_GE(psnr, c.psnr_floor);
    }
}

TEST_F(RealFfmpeg, NeverWritesOntoAFileOfTheBatch)
{
    struct Case {
        const char *name;
        const char *folder; // relative to the work folder
        bool convert;
        const char *expected; // relative to the work folder
    };
    const Case cases[] = {
        {"own folder", "in", false, "in/NEW_clip.mp4"},
        {"own folder spelled with ./", "in/.", false, "in/./NEW_clip.mp4"},
        {"own folder through a symbolic link", "in-link", false, "in-link/NEW_clip.mp4"},
        {"symbolic link with the output's name", "symlinked", false, "symlinked/NEW_clip.mp4"},
        {"hard link with the output's name", "hardlinked", false, "hardlinked/NEW_clip.mp4"},
        {"another input of the batch", "in", true, "in/NEW_clip.avi"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ScratchDir work;
        fs::create_directories(work.file("in"));
        const std::string source = work.file("in/clip.mp4");
        const std::string other_input = work.file("in/clip.avi");
        fs::copy_file(clip("mp4"), source);
        fs::copy_file(clip("avi"), other_input);
        fs::create_directory_symlink(work.file("in"), work.file("in-link"));
        fs::create_directories(work.file("symlinked"));
        fs::create_symlink(source, work.file("symlinked/clip.mp4"));
        fs::create_directories(work.file("hardlinked"));
        fs::create_hard_link(source, work.file("hardlinked/clip.mp4"));
        const std::string source_bytes = bytes_of(source);
        const std::string other_bytes = bytes_of(other_input);

        FixedInputs inputs;
        inputs.folder = work.file(c.folder);
        inputs.convert = c.convert;
        inputs.format = "*.AVI";
        inputs.taken = {source, other_input};
        const Processed done = probe_and_process(source, inputs);
        expect_stills_removed(done, work.file(c.expected), format_of(c.convert ? "avi" : "mp4"));
        EXPECT_EQ(bytes_of(source), source_bytes);
        EXPECT_EQ(bytes_of(other_input), other_bytes);
    }
}

TEST_F(RealFfmpeg, FailuresGiveTheirReasons)
{
    const std::string text_file = out_.write("x.mp4", "not a video\n");
    {
        SCOPED_TRACE("text file named x.mp4");
        Tffinfo info;
        std::string accumulated;
        const Outcome probe
            = probe_file(tool_place(), text_file, info, accumulated, testing::no_pump);
        EXPECT_FALSE(probe.ok);
        // The tool's own line; its wording around the library's error text differs by release.
        EXPECT_TRUE(probe.reason.ends_with("Invalid data found when processing input"))
            << probe.reason;
    }

    const std::string slow = out_.file("slow.mp4");
    make_clip(slow, "15");
    struct Case {
        const char *name;
        std::string input;
        std::string folder;
        const char *format;
        const char *reason;
    };
    const Case cases[] = {
        {"missing input", out_.file("none.mp4"), out_.path(), "*.AVI", "No such file"},
        {"missing output folder", clip("mp4"), out_.file("no/such/folder"), "*.AVI",
         "/no/such/folder/clip.avi: No such file or directory"},
        {"15 frames a second to MPG", slow, out_.path(), "*.MPG", "Conversion failed"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FixedInputs inputs;
        inputs.folder = c.folder;
        inputs.convert = true;
        inputs.format = c.format;
        RecordingSink sink;
        // What the batch knows of the input: the frame rate decides MPEG-1's verdict.
        Tffinfo info{c.input, "00:00:02.00", "", "", ""};
        std::string accumulated;
        if (fs::exists(c.input))
            probe_file(tool_place(), c.input, info, accumulated, testing::no_pump);
        const ProcessResult result
            = process_file(tool_place(), info, inputs, sink, testing::no_pump);
        EXPECT_FALSE(result.outcome.ok);
        // A line of the tool's own keeps its words; only their ending is the same everywhere.
        if (std::string_view(c.reason).starts_with("/"))
            EXPECT_TRUE(result.outcome.reason.ends_with(c.reason)) << result.outcome.reason;
        else
            EXPECT_EQ(result.outcome.reason, c.reason);
    }
}

TEST_F(RealFfmpeg, NamesThatNeedCareOnACommandLine)
{
    const char *names[] = {
        "with  blanks .mp4",
        "it's \"quoted\".mp4",
        "cost $HOME $(date) `id`.mp4",
        "-i leading dash.mp4",
        "\xC4\x8D"
        "aj \xC3\xBCn\xC3\xAF"
        "c\xC3\xB6"
        "d\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.mp4",
        "caf\xE9 no valid text.mp4",
    };
    const ScratchDir in;
    const std::string folder = out_.file("out $dir 'x'");
    fs::create_directories(folder);
    for (const char *name : names) {
        SCOPED_TRACE(name);
        const std::string input = in.file(name);
        fs::copy_file(clip("mp4"), input);
        FixedInputs inputs;
        inputs.folder = folder;
        const Processed done = probe_and_process(input, inputs);
        expect_stills_removed(done, folder + "/" + name, format_of("mp4"));
    }
}

#ifndef _WIN32
TEST_F(RealFfmpeg, AFullDiskIsAFailureWhateverTheToolsStatus)
{
    // The copy's size in a roomy folder, then a disk a page short of it: the tool fails while
    // it writes the data or the file's end, which it may not count as a failure itself.
    FixedInputs roomy;
    roomy.folder = out_.path();
    const Processed first = probe_and_process(clip("mp4"), roomy);
    ASSERT_TRUE(first.result.outcome.ok) << first.result.outcome.reason;
    const std::uintmax_t size = fs::file_size(first.result.output);
    const std::uintmax_t page = 4096;
    const std::uintmax_t room = (size - 1) / page * page;
    ASSERT_GT(room, 0u);

    const std::string source_bytes = bytes_of(clip("mp4"));
    const testing::TinyDisk disk(out_.file("tiny"), room);
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root: the full disk is not tried";
    FixedInputs inputs;
    inputs.folder = out_.file("tiny");
    const Processed done = probe_and_process(clip("mp4"), inputs);
    EXPECT_TRUE(done.probe.ok);
    EXPECT_FALSE(done.result.outcome.ok);
    EXPECT_EQ(done.result.outcome.reason, "Conversion failed");
    EXPECT_EQ(bytes_of(clip("mp4")), source_bytes);
    EXPECT_TRUE(testing::child_processes().empty());
}

TEST_F(RealFfmpeg, FailuresNameTheToolsOwnReason)
{
    // Each reason is the tool's line; only the system's or the library's words at its end, or
    // a phrase every release uses, are checked, since the releases word the rest differently.
    const std::string audio = out_.file("tone.mp4");
    ASSERT_NO_FATAL_FAILURE(testing::make_tone(audio));
    const std::string long_name = out_.file(std::string(250, 'n') + ".mp4");
    fs::copy_file(clip("mp4"), long_name);
    const testing::TinyDisk read_only(out_.file("ro"), 65536);
    if (read_only.mounted())
        ::mount(nullptr, out_.file("ro").c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr);
    else
        fs::permissions(out_.file("ro"), fs::perms::owner_read | fs::perms::owner_exec);

    struct Case {
        const char *name;
        std::string input;
        std::string folder;
        std::vector<std::string> words; // the reason holds each
    };
    const Case cases[] = {
        {"an input without video", audio, out_.file("out"), {"does not contain any stream"}},
        {"a name too long once NEW_ goes before it", long_name, out_.path(),
         {"NEW_nnn", "File name too long"}},
        {"a folder that cannot be written", clip("mp4"), out_.file("ro"),
         {"clip.mp4: ", read_only.mounted() ? "Read-only file system" : "Permission denied"}},
    };
    fs::create_directories(out_.file("out"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        FixedInputs inputs;
        inputs.folder = c.folder;
        inputs.taken = {c.input};
        const Processed done = probe_and_process(c.input, inputs);
        ASSERT_TRUE(done.probe.ok) << done.probe.reason;
        EXPECT_FALSE(done.result.outcome.ok);
        for (const std::string &word : c.words)
            EXPECT_TRUE(contains(done.result.outcome.reason, word)) << done.result.outcome.reason;
        EXPECT_LE(done.result.outcome.reason.size(), kMaxReason);
    }

    const std::string zero = out_.write("zero.mp4", "");
    fs::create_directories(out_.file("folder.mp4"));
    const struct {
        const char *name;
        std::string input;
        const char *ending;
    } probes[] = {
        {"an input deleted", out_.file("deleted.mp4"), "No such file or directory"},
        {"an input that is a folder", out_.file("folder.mp4"), "Is a directory"},
        {"an input cut to zero bytes", zero, "Invalid data found when processing input"},
    };
    for (const auto &p : probes) {
        SCOPED_TRACE(p.name);
        Tffinfo info;
        std::string accumulated;
        const Outcome probe
            = probe_file(tool_place(), p.input, info, accumulated, testing::no_pump);
        EXPECT_FALSE(probe.ok);
        EXPECT_TRUE(probe.reason.ends_with(p.ending)) << probe.reason;
    }
    EXPECT_TRUE(testing::child_processes().empty());
}
#endif

TEST_F(RealFfmpeg, FailureTextsInNamesAndTagsAreNoFailure)
{
    const ScratchDir in;
    std::vector<std::string> inputs_made;
    for (const char *name :
         {"No such file.mp4", "Conversion failed.mp4", "Assertion x failed at y.c.mp4"}) {
        inputs_made.push_back(in.file(name));
        fs::copy_file(clip("mp4"), inputs_made.back());
    }
    // A clip whose tags hold the texts, as the description shows them.
    const std::string tagged = in.file("tagged.mkv");
    ASSERT_TRUE(testing::run_program(testing::kFfmpeg,
                                     {"-loglevel", "error", "-i", clip("mkv"), "-c", "copy",
                                      "-metadata", "title=No such file", "-metadata",
                                      "comment=Assertion x failed at y.c:1\nConversion failed!",
                                      "-y", tagged})
                        .clean);
    inputs_made.push_back(tagged);

    for (const std::string &input : inputs_made) {
        SCOPED_TRACE(input);
        const std::string before = bytes_of(input);
        FixedInputs inputs;
        inputs.folder = out_.path();
        const Processed done = probe_and_process(input, inputs);
        const std::string ext = fs::path(input).extension().string().substr(1);
        expect_stills_removed(done, out_.file(fs::path(input).filename().string()), format_of(ext));
        EXPECT_EQ(bytes_of(input), before);
    }
}

} // namespace
} // namespace quelvane
