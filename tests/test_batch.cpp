// The batch through the real windows: Process, the progress dialog, Cancel and the messages,
// with the fake tool scripted per input file, and with each real FFmpeg release under test.
#include "batch/gauge.h"
#include "platform/paths.h"
#include "startup/application.h"
#include "tests/forms_fixture.h"
#include "tests/media.h"
#include "tests/support.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

#include <cstdlib>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace quelvane {
namespace {

namespace fs = std::filesystem;
using testing::logged_calls;
using testing::ScratchDir;
using testing::ToolPlace;

// The tool's description of a two-second clip, and a removal run that gets through it.
const std::string probe_ok =
        "[probe]\n"
        "err Input #0, avi, from 'clip.avi':\\n  Duration: 00:00:02.00, start: 0.000000, "
        "bitrate: 100 kb/s\\n    Stream #0:0: Video: mpeg4, yuv420p, 320x240, 90 kb/s, 25 fps\\n\n";
const std::string progress_line =
        "err frame=   25 fps=0.0 q=2.0 size=       1kB time=00:00:01.00 bitrate=   8.2kbits/s "
        "speed=10x\\r\n";
const std::string run_end =
        "sleep 20\n"
        "err frame=   50 fps=0.0 q=2.0 size=       2kB time=00:00:02.00 bitrate=   8.2kbits/s "
        "speed=10x\\r\n"
        "output no stills\n";
const std::string process_ok = "[process]\n" + progress_line + run_end;
const std::string good = probe_ok + process_ok;

class Batch : public testing::FormsTest {
protected:
    Batch()
    {
        fs::create_directories(in_);
        fs::create_directories(out_);
        testing::unset_environment("QUELVANE_FAKE_SCRIPT");
        testing::set_environment("QUELVANE_FAKE_LOG", log_);
    }
    ~Batch() override { testing::unset_environment("QUELVANE_FAKE_LOG"); }

    // An input file that holds the fake tool's script for its own calls.
    std::string input(const std::string &name, const std::string &script) const
    {
        const std::string path = in_ + "/" + name;
        fs::create_directories(fs::path(path).parent_path());
        dir_.write(path.substr(dir_.path().size() + 1), "#!fake\n" + script);
        return path;
    }

    void add(const std::vector<std::string> &paths)
    {
        files_answer.clear();
        for (const std::string &path : paths)
            files_answer.push_back(QString::fromStdString(path));
        click("btn_add");
    }

    // Process, with the output folder chosen; returns once the dialog has closed.
    void process()
    {
        folder_answer = QString::fromStdString(out_);
        QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    }

    // Runs the event loop a while so a message that is due would have come.
    static void settle() { QTest::qWait(100); }

    // Where the batch writes the copy of an input of this name.
    std::string output(const std::string &name) const
    {
        return out_ + platform::path_separator() + name;
    }

    // The tool's calls that named `path`: probes (just "-i" and the path) or removal runs.
    int probes_of(const std::string &path) const { return calls_of(path, true); }
    int runs_of(const std::string &path) const { return calls_of(path, false); }
    std::vector<std::string> outputs() const
    {
        std::vector<std::string> written;
        for (const auto &call : logged_calls(log_)) {
            if (call.size() > 2)
                written.push_back(call.back());
        }
        return written;
    }

    // Presses Cancel from inside the batch's message pump once `ready` holds.
    void cancel_when(std::function<bool()> ready)
    {
        QObject::connect(&canceller_, &QTimer::timeout, [this, ready] {
            if (!ready())
                return;
            canceller_.stop();
            QTest::mouseClick(find<QPushButton>("Button1", &progress), Qt::LeftButton);
            visible_after_cancel = progress.isVisible();
        });
        canceller_.start(5);
    }

    // The FFmpeg release under test at the tool's place, in place of the fake tool; false when
    // there is none.
    bool place_real_ffmpeg()
    {
        if (!fs::exists(testing::tool_ffmpeg()))
            return false;
        place_.reset();
        place_.emplace(testing::tool_ffmpeg());
        return true;
    }

    bool completed() const
    {
        return !shown.isEmpty()
                && shown.back().message.text == "The process completed successfully!";
    }
    int gauge(const char *name) const { return find<TGauge>(name, &progress)->value(); }

    ScratchDir dir_;
    const std::string in_ = dir_.file("in");
    const std::string out_ = dir_.file("out");
    const std::string log_ = dir_.file("calls.log");
    std::optional<ToolPlace> place_{testing::fake_tool()};
    bool visible_after_cancel = false;

private:
    int calls_of(const std::string &path, bool probe) const
    {
        int count = 0;
        for (const auto &call : logged_calls(log_)) {
            const bool is_probe = call.size() == 2 && call[0] == "-i";
            if (is_probe == probe && std::find(call.begin(), call.end(), path) != call.end())
                ++count;
        }
        return count;
    }

    QTimer canceller_;
};

TEST_F(Batch, AnEmptyListIsRefused)
{
    process();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].message.text, "Please add files at first!");
    EXPECT_EQ(shown[0].message.title, "Error");
    EXPECT_EQ(shown[0].message.icon, MessageIcon::Error);
    EXPECT_EQ(shown[0].message.owner, &main);
    EXPECT_TRUE(folder_starts.isEmpty());
}

TEST_F(Batch, ACancelledChooserLeavesEverythingAsItWas)
{
    add({input("a.avi", good)});
    main.stop_flag = true;
    main.output_folder = out_;
    folder_answer.reset();
    QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(folder_starts, QStringList{QString::fromStdString(out_)});
    EXPECT_TRUE(main.stop_flag);
    EXPECT_EQ(main.output_folder, out_);

    // A remembered folder that is gone is dropped, even when the user cancels.
    main.output_folder = dir_.file("gone");
    QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(folder_starts.back(), "");
    EXPECT_EQ(main.output_folder, "");

    settle();
    EXPECT_TRUE(logged_calls(log_).empty());
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(Batch, ThreeGoodFilesEndWithTheCompletionMessageAfterTheDialogHasGone)
{
    const std::vector<std::string> files = {input("a.avi", good), input("b.mkv", good),
                                            input("c.mp4", good)};
    add(files);
    process();
    EXPECT_FALSE(progress.isVisible());
    ASSERT_TRUE(wait_for([&] { return !shown.isEmpty(); }));
    settle();

    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(completed());
    EXPECT_EQ(shown[0].message.icon, MessageIcon::Warning);
    EXPECT_EQ(shown[0].message.title, "");
    EXPECT_EQ(shown[0].message.owner, &main);
    EXPECT_FALSE(shown[0].progress_visible);
    EXPECT_EQ(outputs(), (std::vector<std::string>{output("a.avi"), output("b.mkv"),
                                                    output("c.mp4")}));
    for (const std::string &output : outputs())
        EXPECT_TRUE(fs::exists(output)) << output;
    EXPECT_EQ(gauge("Gauge1"), 100);
    EXPECT_EQ(gauge("Gauge2"), 99); // 100 div 3 + 200 div 3
    EXPECT_TRUE(main.edit1.empty()); // the probes' text is let go once each file is probed
    EXPECT_EQ(find<QLabel>("label_filename", &progress)->text(),
              "Current File: " + QString::fromStdString(files[2]));
    EXPECT_EQ(find<QLabel>("Label1", &progress)->text(), "Process 00:00:02.00 ......");

    // The next Process opens the chooser at this batch's folder and starts from reset values.
    folder_starts.clear();
    folder_answer.reset();
    QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    EXPECT_EQ(folder_starts, QStringList{QString::fromStdString(out_)});
}

// On Windows the manifest makes UTF-8 the code page of the program's 8-bit texts and A calls.
TEST_F(Batch, ANameBeyondLatin1ReachesTheToolByteForByte)
{
    const std::string name = "Ünïcødé 日本.mp4";
    const std::string file = input(name, good);
    add({file});
    process();
    ASSERT_TRUE(wait_for([&] { return !shown.isEmpty(); }));
    EXPECT_TRUE(completed()) << shown[0].message.text.toStdString();
    EXPECT_EQ(probes_of(file), 1);
    EXPECT_EQ(runs_of(file), 1);
    EXPECT_EQ(outputs(), std::vector<std::string>{output(name)});
    EXPECT_TRUE(QFileInfo::exists(QString::fromUtf8(output(name))));
}

TEST_F(Batch, TwoInputsOfOneNameDoNotShareAnOutput)
{
    add({input("first/clip.avi", good), input("second/clip.avi", good)});
    process();
    ASSERT_TRUE(wait_for([&] { return completed(); }));
    EXPECT_EQ(outputs(), (std::vector<std::string>{output("clip.avi"), output("NEW_clip.avi")}));
}

TEST_F(Batch, ANameThatIsNoValidTextIsProcessedUnderItsOwnBytes)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows names are text: one that is no valid text cannot exist there";
#endif
    const std::string latin1 = input("one/caf\xe9.avi", good);
    // What the name reads as once its byte is replaced: another file, never to be touched.
    const std::string twin = input("caf\xef\xbf\xbd.avi", good);
    folder_answer = QString::fromLocal8Bit(in_ + "/one");
    click("btn_openfolder");
    ASSERT_EQ(main.file_count(), 1);
    process();
    ASSERT_TRUE(wait_for([&] { return completed(); }));

    EXPECT_EQ(probes_of(latin1), 1);
    EXPECT_EQ(runs_of(latin1), 1);
    EXPECT_EQ(probes_of(twin) + runs_of(twin), 0);
    EXPECT_EQ(outputs(), std::vector<std::string>{out_ + "/caf\xe9.avi"});
    EXPECT_TRUE(fs::exists(out_ + "/caf\xe9.avi"));
}

TEST_F(Batch, AProbeThatFailsOnceIsTriedAgain)
{
    const std::string flaky = input("b.avi", "[probe 1]\nerr not a description\\n\n" + good);
    add({input("a.avi", good), flaky});
    process();
    ASSERT_TRUE(wait_for([&] { return completed(); }));
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(probes_of(flaky), 2);
    EXPECT_EQ(runs_of(flaky), 1);
}

TEST_F(Batch, EscapeIsNoCancel)
{
    const std::string slow =
            input("a.avi", probe_ok + "[process]\n" + progress_line + "sleep 200\n" + run_end);
    add({slow});
    bool stayed = false;
    QTimer escape;
    QObject::connect(&escape, &QTimer::timeout, [&] {
        if (runs_of(slow) == 0)
            return;
        escape.stop();
        QTest::keyClick(&progress, Qt::Key_Escape);
        stayed = progress.isVisible();
    });
    escape.start(5);
    process();
    EXPECT_TRUE(stayed);
    EXPECT_FALSE(main.stop_flag);
    EXPECT_TRUE(wait_for([&] { return completed(); }));
}

TEST_F(Batch, TheFirstFailureStopsTheBatchWithItsMessage)
{
    const struct {
        const char *name;
        std::string second;
        const char *message;
    } cases[] = {
        {"both probes fail", "[probe]\nerr   Duration: N/A, start: 0.000000\\n\n",
         "File load error! No duration!"},
        {"the removal fails", probe_ok + "[process]\n" + progress_line + "err Conversion failed\\n\n",
         "Process error! Conversion failed"},
        {"the removal shows no progress", probe_ok + "[process]\nerr nothing to see\\n\n",
         "Process error! nothing to see"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        shown.clear();
        fs::remove(log_);
        click("btn_clear");
        const std::string third = input("c.avi", good);
        add({input("a.avi", good), input("b.avi", c.second), third});
        process();
        settle();

        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].message.text, c.message);
        EXPECT_EQ(shown[0].message.icon, MessageIcon::Error);
        EXPECT_EQ(shown[0].message.title, "");
        EXPECT_EQ(shown[0].message.owner, &progress);
        EXPECT_TRUE(shown[0].progress_visible);
        EXPECT_FALSE(progress.isVisible());
        EXPECT_EQ(probes_of(third) + runs_of(third), 0);
    }
}

TEST_F(Batch, CancelDuringTheSecondRemovalStopsQuietly)
{
    const std::string second = input("b.avi", probe_ok + "[process]\n" + progress_line + "hang\n");
    const std::string third = input("c.avi", good);
    add({input("a.avi", good), second, third});
    cancel_when([&] {
        return runs_of(second) == 1
                && find<QLabel>("Label1", &progress)->text() == "Process 00:00:01.00 ......";
    });
    process();
    settle();

    EXPECT_TRUE(visible_after_cancel); // the dialog waits for the batch to return
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(main.stop_flag);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(probes_of(third) + runs_of(third), 0);
    EXPECT_TRUE(testing::child_processes().empty());
}

TEST_F(Batch, CancelDuringAProbeThatNeverEndsStopsItAndStartsNothingMore)
{
    // The first probe of the second file fails and the second never ends; neither is waited
    // for once Cancel is pressed, and nothing is tried again.
    const std::string second = input("b.avi", "[probe 1]\nhang\n" + good);
    const std::string third = input("c.avi", good);
    add({input("a.avi", good), second, third});
    const int descriptors = testing::open_descriptors();
    cancel_when([&] { return probes_of(second) == 1; });
    process();
    settle();

    EXPECT_TRUE(visible_after_cancel);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(probes_of(second), 1);
    EXPECT_EQ(runs_of(second), 0);
    EXPECT_EQ(probes_of(third) + runs_of(third), 0);
    EXPECT_TRUE(main.edit1.empty());
    EXPECT_TRUE(testing::child_processes().empty());
    EXPECT_EQ(testing::open_descriptors(), descriptors);
}

#ifndef Q_OS_WIN
TEST_F(Batch, CancelEndsFfmpegWaitingOnAPipeNamedLikeAVideo)
{
    if (!place_real_ffmpeg())
        GTEST_SKIP() << "Debian's ffmpeg is not installed (scripts/deps.sh installs it)";
    // Listed while it was a file; by the batch it is a pipe nobody writes to, which the tool
    // waits on for ever.
    const std::string pipe = in_ + "/stream.mp4";
    dir_.write("in/stream.mp4", "x");
    add({pipe});
    fs::remove(pipe);
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int descriptors = testing::open_descriptors();
    cancel_when([] { return !testing::child_processes().empty(); });
    process();
    settle();

    EXPECT_TRUE(visible_after_cancel);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(testing::child_processes().empty());
    EXPECT_EQ(testing::open_descriptors(), descriptors);
    EXPECT_TRUE(fs::is_empty(out_));
}
#endif

TEST_F(Batch, AnErrorInsideTheBatchClosesTheDialogAndGoesToTheErrorReport)
{
    const std::string third = input("c.avi", good);
    add({input("a.avi", good), input("b.avi", "[probe]\nerr nothing\\n\n"), third});
    QList<Message> reported;
    const MessageCapture failing([&](const Message &m) {
        reported.push_back(m);
        if (reported.size() == 1)
            throw std::runtime_error("The message could not be shown");
    });
    process();
    settle();

    ASSERT_EQ(reported.size(), 2);
    EXPECT_EQ(reported[0].text, "File load error! nothing");
    EXPECT_EQ(reported[1].text, "The message could not be shown");
    EXPECT_EQ(reported[1].title, "Quelvane");
    EXPECT_EQ(reported[1].icon, MessageIcon::Error);
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(probes_of(third), 0);

    // The program goes on: the next batch runs.
    click("btn_clear");
    add({input("d.avi", good)});
    process();
    ASSERT_TRUE(wait_for([&] { return reported.size() == 3; }));
    EXPECT_EQ(reported[2].text, "The process completed successfully!");
}

#ifndef Q_OS_WIN
TEST_F(Batch, RealFfmpegEachFailureNamesItsReasonAndNoSuccessFollows)
{
    if (!place_real_ffmpeg())
        GTEST_SKIP() << "Debian's ffmpeg is not installed (scripts/deps.sh installs it)";
    const std::string clip = in_ + "/clip.mp4";
    ASSERT_NO_FATAL_FAILURE(testing::make_clip(clip));
    const std::string tone = in_ + "/tone.mp4";
    ASSERT_NO_FATAL_FAILURE(testing::make_tone(tone));
    const std::string gone = in_ + "/gone.mp4";
    fs::copy_file(clip, gone);

    // A good run first: its copy's size tells how small a disk is too small.
    add({clip});
    process();
    ASSERT_TRUE(wait_for([&] { return completed(); }, 60000));
    const std::uintmax_t room = (fs::file_size(out_ + "/clip.mp4") - 1) / 4096 * 4096;
    const testing::TinyDisk tiny(dir_.file("tiny"), room);

    struct Case {
        const char *name;
        std::string input;
        std::string folder;
        std::string prefix;
        std::vector<std::string> words; // the tool's, as every release words them
    };
    std::vector<Case> cases = {
        {"an input without video", tone, out_, "Process error! ", {"does not contain any stream"}},
        {"an input deleted once listed", gone, out_, "File load error! ",
         {"No such file or directory"}},
        {"an output folder removed before the batch", clip, dir_.file("removed"),
         "Process error! ", {"/removed/clip.mp4: No such file or directory"}},
    };
    if (tiny.mounted())
        cases.push_back(
                {"a full disk", clip, dir_.file("tiny"), "Process error! Conversion failed", {}});
    else
        std::cout << "mounting a small tmpfs needs root: the full disk is not tried\n";
    const auto bytes_of = [](const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string clip_bytes = bytes_of(clip);
    const std::string tone_bytes = bytes_of(tone);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        shown.clear();
        click("btn_clear");
        add({c.input});
        if (c.input == gone)
            fs::remove(gone);
        folder_answer = QString::fromStdString(c.folder);
        QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
        settle();
        ASSERT_EQ(shown.size(), 1);
        const std::string text = shown[0].message.text.toStdString();
        EXPECT_TRUE(text.starts_with(c.prefix)) << text;
        for (const std::string &word : c.words)
            EXPECT_NE(text.find(word), std::string::npos) << text;
        EXPECT_TRUE(testing::child_processes().empty());
        EXPECT_EQ(bytes_of(clip), clip_bytes);
        EXPECT_EQ(bytes_of(tone), tone_bytes);
    }
}
#endif

TEST_F(Batch, RealFfmpegRemovesTheStillsOfThreeClips)
{
#ifdef _WIN32
    GTEST_SKIP() << "Debian's FFmpeg is a Linux program, which Windows (and Wine) cannot start";
#endif
    if (!place_real_ffmpeg() || !fs::exists(testing::kFfprobe))
        GTEST_SKIP() << "Debian's ffmpeg is not installed (scripts/deps.sh installs it)";
    std::vector<std::string> clips;
    for (const char *name : {"one.avi", "two.avi", "three.avi"}) {
        clips.push_back(in_ + "/" + name);
        ASSERT_NO_FATAL_FAILURE(testing::make_clip(clips.back()));
    }
    add(clips);
    process();
    ASSERT_TRUE(wait_for([&] { return !shown.isEmpty(); }, 60000)) << testing::tool_release();
    EXPECT_TRUE(completed()) << testing::tool_release() << ": "
                             << shown[0].message.text.toStdString();
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(gauge("Gauge2"), 99);

    for (const std::string &clip : clips) {
        const std::string output = out_ + "/" + fs::path(clip).filename().string();
        SCOPED_TRACE(output);
        const int before = testing::probe_facts(clip).frames();
        const int after = testing::probe_facts(output).frames();
        EXPECT_GT(after, 0);
        EXPECT_LT(after, before);
    }
}

} // namespace
} // namespace quelvane
