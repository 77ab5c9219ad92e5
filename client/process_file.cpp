#include "client/process_file.h"

#include "client/output_path.h"
#include "client/progress_line.h"
#include "client/text.h"
#include "client/tool_commands.h"
#include "client/tool_report.h"
#include "platform/paths.h"

#include <filesystem>
#include <utility>

namespace quelvane {

namespace {

// A file that holds something: the tool's output once it really wrote one.
bool has_content(const std::string &path)
{
    std::error_code error;
    const std::filesystem::path file = platform::fs_path(path);
    const auto size = std::filesystem::file_size(file, error);
    return !error && size > 0 && std::filesystem::is_regular_file(file, error);
}

} // namespace

ProcessResult process_file(const std::string &tool, const Tffinfo &info,
                           const ProcessInputs &inputs, ProgressSink &sink, const MessagePump &pump)
{
    const auto running_time = clock_to_seconds(info.duration);
    const double total = running_time ? running_time->seconds : 0;

    std::vector<std::string> taken = inputs.taken_paths();
    taken.push_back(info.filename);

    ProcessResult result;
    result.output = output_path(info.filename, inputs.output_folder(), inputs.convert_format(),
                                inputs.format_text(), taken_by(std::move(taken)));

    // The tool echoes the paths it was given: texts in them are no report of its own.
    const std::vector<std::string> names = {info.filename, result.output};
    LineFramer lines;
    ErrorLineWatch error_line(names);
    std::optional<Outcome> failure;
    bool write_failed = false;
    const LineFramer::LineHandler judge_line = [&](std::string_view line) {
        error_line.see(line);
        const auto report = own_report(line, names);
        if (!report || failure)
            return;
        if (auto reason = failure_reason(*report)) {
            // The output's folder is gone, not the input: the tool's own line says so.
            if (*reason == "No such file" && contains(line, result.output))
                reason = reason_line(line);
            failure = Outcome::no(std::move(*reason));
        } else if (is_write_failure(*report)) {
            write_failed = true;
        }
    };
    bool progress_seen = false;
    const auto show = [&](int file_percent) {
        sink.set_gauge1(file_percent);
        sink.set_gauge2(overall_gauge(file_percent, inputs.file_index(), inputs.file_count()));
    };

    RunChoices choices;
    choices.code_base = 40;
    choices.stop_test = [&] { return inputs.stop_requested(); };
    choices.stopped = Outcome::yes();
    choices.normal_end = [&](const platform::ChildExit &how) {
        lines.finish(judge_line);
        if (failure)
            return *failure;
        if (!progress_seen)
            return Outcome::no(error_line.reason().value_or("Conversion failed"));
        // A tool that dies after it started writing has not finished the file; one that says
        // it could not write, or leaves no output, has not either, whatever its status.
        if (!how.clean() || write_failed || !has_content(result.output))
            return Outcome::no("Conversion failed");
        // The last progress line tells the output's length, short of the input's once stills go.
        show(100);
        return Outcome::yes();
    };
    choices.pump = pump;

    const ChunkHandler handler = [&](std::string_view chunk) -> std::optional<Outcome> {
        lines.feed(chunk, judge_line);
        if (failure)
            return failure;
        if (is_progress_line(chunk)) {
            progress_seen = true;
            const auto text = progress_clock_text(chunk);
            if (const auto clock = text ? clock_to_seconds(*text) : std::nullopt) {
                show(file_gauge(clock->seconds, total));
                sink.set_label1(clock_label(*clock));
            }
        }
        return std::nullopt;
    };

    result.outcome = run_tool(tool, removal_arguments(info, result.output), handler, choices);
    return result;
}

} // namespace quelvane
