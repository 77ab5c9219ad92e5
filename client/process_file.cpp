#include "client/process_file.h"

#include "client/output_path.h"
#include "client/progress_line.h"
#include "client/text.h"
#include "client/tool_commands.h"

#include <algorithm>

namespace quelvane {

ProcessResult process_file(const Tffinfo &info, const ProcessInputs &inputs, ProgressSink &sink,
                           const MessagePump &pump)
{
    const auto running_time = clock_to_seconds(info.duration);
    const double total = running_time ? running_time->seconds : 0;

    std::vector<std::string> taken = inputs.taken_paths();
    taken.push_back(info.filename);
    const TakenTest is_taken = [&taken](const std::string &candidate) {
        return std::any_of(taken.begin(), taken.end(),
                           [&](const std::string &path) { return same_file(candidate, path); });
    };

    ProcessResult result;
    result.output = output_path(info.filename, inputs.output_folder(), inputs.convert_format(),
                                inputs.format_text(), is_taken);

    std::string previous;
    bool progress_seen = false;
    const auto show = [&](int file_percent) {
        sink.set_gauge1(file_percent);
        sink.set_gauge2(overall_gauge(file_percent, inputs.file_index(), inputs.file_count()));
    };

    RunChoices choices;
    choices.code_base = 40;
    choices.start_action = [&] { previous.clear(); };
    choices.stop_test = [&] { return inputs.stop_requested(); };
    choices.stopped = Outcome::yes();
    choices.normal_end = [&](const platform::ChildExit &how) {
        if (!progress_seen)
            return Outcome::no();
        // A tool that dies after it started writing has not finished the file.
        if (!how.clean())
            return Outcome::no("Conversion failed");
        // The last progress line tells the output's length, short of the input's once stills go.
        show(100);
        return Outcome::yes();
    };
    choices.pump = pump;

    const ChunkHandler handler = [&](std::string_view chunk) -> std::optional<Outcome> {
        const std::string combined = previous + std::string(chunk);
        if (auto reason = failure_reason(trim(combined)))
            return Outcome::no(std::move(*reason));
        if (is_progress_line(chunk)) {
            progress_seen = true;
            const auto text = progress_clock_text(chunk);
            if (const auto clock = text ? clock_to_seconds(*text) : std::nullopt) {
                show(file_gauge(clock->seconds, total));
                sink.set_label1(clock_label(*clock));
            }
        }
        previous.assign(chunk);
        return std::nullopt;
    };

    result.outcome = run_client(removal_arguments(info, result.output), handler, choices);
    return result;
}

} // namespace quelvane
