// The still-frame removal run for the probed file, with its progress shown as it goes.
#pragma once

#include "client/ffinfo.h"
#include "client/outcome.h"
#include "client/run_client.h"

#include <string>
#include <vector>

namespace quelvane {

// What the run needs of the batch: where the copy goes, in which format, the file's place in
// the batch, and whether to stop.
class ProcessInputs {
public:
    virtual ~ProcessInputs() = default;
    virtual std::string output_folder() const = 0;
    virtual bool convert_format() const = 0;     // the copy takes the format of format_text
    virtual std::string format_text() const = 0; // such as "*.AVI"
    virtual int file_index() const = 0;          // 0-based position of the file in the batch
    virtual int file_count() const = 0;          // files in the batch
    virtual bool stop_requested() const = 0;     // the user asked to stop
    // Files the output must never be: every input of the batch and the outputs it wrote so far.
    virtual std::vector<std::string> taken_paths() const = 0;
};

// Where the run reports its progress: the file's percentage, the batch's, and the clock text.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void set_gauge1(int percent) = 0; // the file's; clamps to 0..100
    virtual void set_gauge2(int percent) = 0; // the batch's; clamps to 0..100
    virtual void set_label1(const std::string &text) = 0; // "Process H:M:S ......"
};

struct ProcessResult {
    Outcome outcome;
    std::string output; // the path the tool was asked to write
};

// Runs the removal through `tool`. Reasons: "041".."044", "No such file", "Assertion failed",
// "Conversion failed", or empty.
ProcessResult process_file(const std::string &tool, const Tffinfo &info,
                           const ProcessInputs &inputs, ProgressSink &sink, const MessagePump &pump);

} // namespace quelvane
