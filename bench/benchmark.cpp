// The program's own cost next to bare FFmpeg: a batch through the real windows against the same
// command lines run from a plain loop, its CPU and memory, Cancel, start-up, the probe's parse
// and a large folder. Not a test; scripts/benchmark.sh builds and runs it and it prints a table.
#include "about/p_about.h"
#include "batch/p_progress.h"
#include "bench/measure.h"
#include "client/output_path.h"
#include "client/probe.h"
#include "client/run_client.h"
#include "client/tool_commands.h"
#include "mainwin/choosers.h"
#include "mainwin/p_main.h"
#include "platform/qt/message_box.h"
#include "startup/application.h"
#include "startup/startup.h"
#include "tests/media.h"

#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace fs = std::filesystem;
using namespace quelvane;
using namespace quelvane::bench;

namespace {

using testing::kFfmpeg;
constexpr const char *kStartupMode = "--start-up-child";

int rounds = 5;
constexpr int kCancelRuns = 5;
constexpr int kStartupRuns = 5;
constexpr int kParseRuns = 7;
constexpr int kFolderRuns = 3;
constexpr int kFolderFiles = 2000;

[[noreturn]] void fail(const std::string &why)
{
    std::fprintf(stderr, "benchmark: %s\n", why.c_str());
    std::exit(1);
}

void note(const std::string &text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
}

// A test picture with a tone; the frames from `first` to `last` repeat frame `first`.
void make_clip(const std::string &path, const std::string &size, int seconds, int first, int last)
{
    const testing::Ran made = testing::make_shaped_clip(path,
        { .size = size, .seconds = seconds, .first = first, .last = last, .quick = true });
    if (!made.clean || !fs::exists(path))
        fail("could not make " + path + ": " + made.output);
}

// One command line of the batch, as the program hands it to the tool.
struct Call {
    std::vector<std::string> args;
};

// ---- Start-up, in a child process of its own -------------------------------------------

// The child: the real start-up with the real tool; prints its age at the main window shown,
// at the application object made, and the banner check's time.
int start_up_child()
{
    FirstChildWatch check;
    int argc = 1;
    char name[] = "quelvane";
    char *argv[] = { name, nullptr };
    Application app(argc, argv);
    const double at_app = process_age();
    std::string message;
    MessageCapture messages { [&](const Message &m) { message = m.text.toStdString(); } };

    const Forms forms = start_up(client_path());
    if (!forms.started()) {
        std::printf("%s\n", message.c_str()); // the parent passes it on
        return 1;
    }
    QWindow *window = forms.main->windowHandle();
    const double deadline = now() + 5;
    while (!(window && window->isExposed()) && now() < deadline) {
        QCoreApplication::processEvents();
        window = forms.main->windowHandle();
    }
    QCoreApplication::processEvents(); // its first paint
    const double shown = process_age();
    std::printf("%.6f %.6f %.6f\n", shown, at_app, check.lifetime());
    return 0;
}

struct StartupFigures {
    std::vector<double> shown, check, app;
};

StartupFigures measure_start_up(const std::string &self)
{
    StartupFigures figures;
    for (int run = 0; run < kStartupRuns; ++run) {
        int pipe_fds[2];
        if (::pipe(pipe_fds) != 0)
            fail("no pipe");
        const int pid = spawn(self, { kStartupMode }, pipe_fds[1]);
        ::close(pipe_fds[1]);
        std::string text;
        char buffer[256];
        for (ssize_t got; (got = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, static_cast<std::size_t>(got));
        ::close(pipe_fds[0]);
        double shown = 0, app = 0, check = 0;
        if (!wait_clean(pid) || std::sscanf(text.c_str(), "%lf %lf %lf", &shown, &app, &check) != 3)
            fail("the start-up failed: " + text);
        figures.shown.push_back(shown);
        figures.app.push_back(app);
        figures.check.push_back(check);
    }
    return figures;
}

// ---- The probe's accumulate-and-parse ----------------------------------------------------

// A description of `bytes` or a little more: many audio streams with metadata, the video
// stream last, so the parse walks all of it.
std::string synthetic_description(std::size_t bytes)
{
    std::string text = "ffmpeg version 5.1 Copyright (c) 2000-2024 the FFmpeg developers\n"
                       "Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'clip.mp4':\n"
                       "  Metadata:\n    major_brand     : isom\n"
                       "  Duration: 00:00:20.00, start: 0.000000, bitrate: 1234 kb/s\n";
    for (int n = 1; text.size() < bytes; ++n) {
        const std::string id = std::to_string(n);
        text += "  Stream #0:" + id
            + "(und): Audio: aac (LC) (mp4a / 0x6134706D), 48000 Hz, stereo, fltp, 128 kb/s\n"
              "    Metadata:\n      handler_name    : SoundHandler "
            + id + "\n      vendor_id       : [0][0][0][0]\n";
    }
    text += "  Stream #0:0(und): Video: h264 (High) (avc1 / 0x31637661), yuv420p(progressive), "
            "640x480 [SAR 1:1 DAR 4:3], 838 kb/s, 25 fps, 25 tbr, 12800 tbn (default)\n"
            "At least one output file must be specified\n";
    return text;
}

// Milliseconds for the chunks appended as the probe's handler does, then the parse.
std::vector<double> measure_parse(std::size_t bytes)
{
    const std::string text = synthetic_description(bytes);
    std::vector<double> times;
    for (int run = 0; run < kParseRuns; ++run) {
        std::string accumulated;
        Tffinfo info;
        const double start = now();
        for (std::size_t at = 0; at < text.size(); at += kChunkSize)
            accumulated.append(std::string_view(text).substr(at, kChunkSize));
        const Outcome parsed = parse_description(accumulated, info);
        times.push_back((now() - start) * 1000);
        if (!parsed.ok || info.duration != "00:00:20.00" || info.video_bitrate != "838")
            fail("the synthetic description did not parse");
    }
    return times;
}

// ---- The windows ---------------------------------------------------------------------------

class Windows {
public:
    Windows()
    {
        main.set_dialogs(&about, &progress);
        main.show();
        if (!QTest::qWaitForWindowExposed(&main))
            fail("the main window was not shown");
    }

    template <class T> T *find(const char *name, const QWidget *form = nullptr) const
    {
        T *found = (form ? form : &main)->findChild<T *>(name);
        if (!found)
            fail(std::string("no control ") + name);
        return found;
    }
    int rows() const { return find<QTableWidget>("ListView1")->rowCount(); }

    void clear_list()
    {
        QTest::mouseClick(find<QPushButton>("btn_clear"), Qt::LeftButton);
        if (rows() != 0)
            fail("the list was not cleared");
    }

    // Process with `folder` as the output folder; returns when the dialog has closed.
    void process(const std::string &folder)
    {
        folder_answer = QString::fromStdString(folder);
        messages.clear();
        QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    }

    bool completed() const
    {
        return messages.size() == 1 && messages.front() == "The process completed successfully!";
    }

    Tmain main;
    Tabout about;
    Tprogress progress { main, client_path() };

    std::vector<std::string> messages;
    std::function<void()> on_message;
    MessageCapture capture { [this](const Message &m) {
        messages.push_back(m.text.toStdString());
        if (on_message)
            on_message();
    } };
    std::optional<QString> folder_answer;
    ChooserCapture choosers { [this](const QString &, const QString &) { return folder_answer; },
        [](const QString &) { return QStringList(); } };
};

// ---- The batch, through the program and bare -----------------------------------------------

struct BatchFigures {
    std::vector<double> program_s, bare_s, ratio, cpu_ratio, peak_mb;
    std::vector<double> own_cpu_s, children_cpu_s, bare_cpu_s;
    std::vector<std::string> first_removal;
};

void empty_folder(const std::string &folder)
{
    fs::remove_all(folder);
    fs::create_directories(folder);
}

// The probe and the removal run of every input, as the batch asks them of the tool.
std::vector<Call> batch_calls(
    const std::vector<std::string> &inputs, const std::string &out, const Tmain &main)
{
    std::vector<Call> calls;
    std::vector<std::string> taken = inputs;
    for (const std::string &input : inputs) {
        Tffinfo info;
        std::string description;
        if (!probe_file(client_path(), input, info, description, [] {}).ok)
            fail("could not probe " + input);
        info.filename = input;
        const std::string output
            = output_path(input, out, main.convert_format(), main.format_text(), taken_by(taken));
        taken.push_back(output);
        calls.push_back({ probe_arguments(input).list });
        calls.push_back({ removal_arguments(info, output).list });
    }
    return calls;
}

void check_outputs(const std::vector<Call> &calls, const char *side)
{
    for (const Call &call : calls) {
        std::error_code error;
        if (call.args.size() > 2 && (fs::file_size(call.args.back(), error) == 0 || error))
            fail(std::string(side) + " wrote nothing to " + call.args.back());
    }
}

BatchFigures measure_batch(
    Windows &forms, const std::vector<std::string> &inputs, const std::string &out)
{
    forms.clear_list();
    for (const std::string &input : inputs)
        forms.main.add_file_b(input);
    const std::vector<Call> calls = batch_calls(inputs, out, forms.main);

    BatchFigures figures;
    figures.first_removal = calls.at(1).args;

    // B: the same command lines from a plain loop.
    const auto bare_batch = [&] {
        empty_folder(out);
        const CpuTimes before = cpu_times();
        const double start = now();
        for (const Call &call : calls)
            run_bare(kFfmpeg, call.args); // the probe ends with status 1 by design
        figures.bare_s.push_back(now() - start);
        figures.bare_cpu_s.push_back(cpu_times().children - before.children);
        check_outputs(calls, "the bare loop");
    };

    // B A B A ... B: each program run is set against the bare runs on both sides of it, so
    // that what changes on the machine over the runs weighs on both alike.
    bare_batch();
    for (int round = 1; round <= rounds; ++round) {
        // A: the program.
        empty_folder(out);
        double ended = 0;
        CpuTimes at_end;
        forms.on_message = [&] {
            ended = now();
            at_end = cpu_times();
        };
        reset_peak_memory();
        const CpuTimes at_start = cpu_times();
        const double started = now();
        forms.process(out);
        if (!QTest::qWaitFor([&] { return !forms.messages.empty(); }, 60000) || !forms.completed())
            fail("the batch did not complete: "
                + (forms.messages.empty() ? std::string("no message") : forms.messages.front()));
        forms.on_message = nullptr;
        figures.peak_mb.push_back(peak_memory_mb());
        check_outputs(calls, "the program");
        const double program = ended - started;
        const double own = at_end.self - at_start.self;
        const double children = at_end.children - at_start.children;

        bare_batch();
        const double bare = (figures.bare_s[round - 1] + figures.bare_s[round]) / 2;
        figures.program_s.push_back(program);
        figures.ratio.push_back(program / bare);
        figures.own_cpu_s.push_back(own);
        figures.children_cpu_s.push_back(children);
        figures.cpu_ratio.push_back(own / children);
        char line[160];
        std::snprintf(line, sizeof line,
            "round %d: program %.2f s, bare %.2f s before and %.2f s after; own CPU %.3f s, "
            "children's %.2f s",
            round, program, figures.bare_s[round - 1], figures.bare_s[round], own, children);
        note(line);
    }
    return figures;
}

// ---- Cancel --------------------------------------------------------------------------------

std::vector<double> measure_cancel(Windows &forms, const std::string &input, const std::string &out)
{
    forms.clear_list();
    forms.main.add_file_b(input);
    QPushButton *cancel = forms.find<QPushButton>("Button1", &forms.progress);

    std::vector<double> latencies;
    for (int run = 0; run < kCancelRuns; ++run) {
        empty_folder(out);
        std::optional<EndWatch> watch;
        double clicked = 0;
        double removal_seen = 0;
        // Presses Cancel from inside the batch's pump once the removal run is well under way.
        QTimer canceller;
        QObject::connect(&canceller, &QTimer::timeout, [&] {
            if (removal_seen == 0) {
                for (const int pid : children()) {
                    if (command_line(pid).find("mpdecimate") != std::string::npos) {
                        removal_seen = now();
                        watch.emplace(pid);
                    }
                }
                return;
            }
            if (now() - removal_seen < 0.8)
                return;
            canceller.stop();
            clicked = now();
            QTest::mouseClick(cancel, Qt::LeftButton);
        });
        canceller.start(5);
        forms.process(out);
        canceller.stop();
        if (!watch || clicked == 0)
            fail("Cancel was not pressed during the removal run");
        const double ended = watch->ended();
        QTest::qWait(50);
        if (!forms.messages.empty())
            fail("a message after Cancel: " + forms.messages.front());
        latencies.push_back((ended - clicked) * 1000);
    }
    return latencies;
}

// The same removal run started bare and killed: how long the tool itself takes to end.
std::vector<double> measure_kill(const std::vector<std::string> &removal, const std::string &out)
{
    std::vector<double> latencies;
    for (int run = 0; run < kCancelRuns; ++run) {
        empty_folder(out);
        const int pid = spawn(kFfmpeg, removal);
        if (pid < 0)
            fail("could not start the tool");
        std::this_thread::sleep_for(std::chrono::milliseconds(800));
        EndWatch watch(pid);
        const double killed = now();
        ::kill(pid, SIGKILL);
        latencies.push_back((watch.ended() - killed) * 1000);
        wait_clean(pid);
    }
    return latencies;
}

// ---- A large folder ------------------------------------------------------------------------

std::vector<double> measure_folder(Windows &forms, const std::string &folder)
{
    fs::create_directories(folder);
    for (int n = 0; n < kFolderFiles; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "/clip%04d.mp4", n);
        std::ofstream(folder + name) << "x";
    }
    QToolButton *button = forms.find<QToolButton>("btn_openfolder");
    std::vector<double> times;
    for (int run = 0; run < kFolderRuns; ++run) {
        forms.clear_list();
        forms.folder_answer = QString::fromStdString(folder);
        const double start = now();
        QTest::mouseClick(button, Qt::LeftButton);
        while (forms.rows() < kFolderFiles && now() - start < 60)
            QCoreApplication::processEvents();
        times.push_back(now() - start);
        if (forms.rows() != kFolderFiles)
            fail("the folder's files did not all reach the list");
    }
    forms.clear_list();
    return times;
}

// ---- The table -----------------------------------------------------------------------------

std::string first_line(const std::string &text)
{
    return text.substr(0, text.find('\n'));
}

void row(const char *label, const std::vector<double> &values, const char *format, double goal,
    const char *goal_text)
{
    const Summary s = summarize(values);
    char median[32], low[32], high[32];
    std::snprintf(median, sizeof median, format, s.median);
    std::snprintf(low, sizeof low, format, s.min);
    std::snprintf(high, sizeof high, format, s.max);
    const char *verdict = goal <= 0 ? "" : (s.median <= goal ? "met" : "MISSED");
    std::printf("%-48s %10s %10s %10s   %-9s %s\n", label, median, low, high, goal_text, verdict);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 && std::strcmp(argv[1], kStartupMode) == 0)
        return start_up_child();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc && std::atoi(argv[i + 1]) > 0) {
            rounds = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--rounds N]\n", argv[0]);
            return 2;
        }
    }

    std::error_code error;
    if (fs::canonical(client_path(), error) != fs::canonical(kFfmpeg))
        fail(client_path() + " is not " + kFfmpeg + " (scripts/benchmark.sh puts it there)");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string self = fs::canonical("/proc/self/exe").string();

    const std::string work = (fs::current_path() / "benchmark-work").string();
    fs::remove_all(work);
    const std::string in = work + "/in", out = work + "/out";
    fs::create_directories(in);

    note("making the clips");
    std::vector<std::string> inputs;
    for (int n = 1; n <= 3; ++n) {
        inputs.push_back(in + "/clip" + std::to_string(n) + ".mp4");
        make_clip(inputs.back(), "640x480", 20, 50 * n, 50 * n + 200);
    }
    inputs.push_back(in + "/clip4.webm");
    make_clip(inputs.back(), "320x240", 3, 25, 50);

    note("the probe's parse");
    const std::vector<double> parse1 = measure_parse(1 << 20);
    const std::vector<double> parse2 = measure_parse(2 << 20);
    const std::vector<double> parse4 = measure_parse(4 << 20);

    note("start-up");
    const StartupFigures startup = measure_start_up(self);

    int app_argc = 1;
    char app_name[] = "quelvane-benchmark";
    char *app_argv[] = { app_name, nullptr };
    Application app(app_argc, app_argv);
    Windows forms;

    note("the batch, bare (B) and through the program (A), B A B ... B, " + std::to_string(rounds)
        + " rounds");
    const BatchFigures batch = measure_batch(forms, inputs, out);
    note("Cancel");
    const std::vector<double> cancel = measure_cancel(forms, inputs.front(), out);
    const std::vector<double> kill = measure_kill(batch.first_removal, out);
    note("a folder of " + std::to_string(kFolderFiles) + " files");
    const std::vector<double> folder = measure_folder(forms, work + "/many");

    const std::string version = first_line(testing::run_program(kFfmpeg, { "-version" }).output);
    std::printf("\nQuelvane benchmark: %ld cores, %s\n", ::sysconf(_SC_NPROCESSORS_ONLN),
        version.substr(0, version.find(" Copyright")).c_str());
    std::printf("batch: 3 x 20 s 640x480 MP4 (H.264, 8 s frozen each) and 1 x 3 s 320x240 WEBM "
                "(VP9); %d rounds, B A B ... B\n\n",
        rounds);
    std::printf("%-48s %10s %10s %10s   %-9s %s\n", "figure", "median", "min", "max", "goal", "");
    row("1 batch wall time, program / bare around it", batch.ratio, "%.4f", 1.02, "<= 1.02");
    row("    program (s)", batch.program_s, "%.2f", 0, "");
    row("    bare (s), the runs before and after", batch.bare_s, "%.2f", 0, "");
    row("2 own CPU / children's CPU", batch.cpu_ratio, "%.5f", 0.01, "<= 0.01");
    row("    own CPU (s)", batch.own_cpu_s, "%.3f", 0, "");
    row("    children's CPU (s)", batch.children_cpu_s, "%.2f", 0, "");
    row("    children's CPU run bare (s)", batch.bare_cpu_s, "%.2f", 0, "");
    row("3 Cancel: click to the child's end (ms)", cancel, "%.1f", 50, "<= 50");
    row("    the tool's own end after SIGKILL, bare (ms)", kill, "%.1f", 0, "");
    row("4 start-up: process start to window shown (s)", startup.shown, "%.3f", 0.5, "<= 0.5");
    row("    of it the banner check (s)", startup.check, "%.3f", 0, "");
    row("    of it up to the application object (s)", startup.app, "%.3f", 0, "");
    row("5 peak resident memory in the batch (MB)", batch.peak_mb, "%.1f", 80, "<= 80");
    row("6 probe accumulate + parse, 1 MB (ms)", parse1, "%.2f", 0, "");
    row("    2 MB (ms)", parse2, "%.2f", 10, "<= 10");
    row("    4 MB (ms)", parse4, "%.2f", 0, "");
    row("  add a folder of 2,000 files (s)", folder, "%.3f", 1, "<= 1");

    fs::remove_all(work);
    return 0;
}
