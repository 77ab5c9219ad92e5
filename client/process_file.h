// The still-frame removal run for the probed file, with its progress shown as it goes.
#pragma once

#include "client/ffinfo.h"
#include "client/outcome.h"
#include "client/run_client.h"

#include <string>
#include <vector>

namespace quelvane {

// What the run reads from the main window and the progress dialog.
class ProcessInputs {
public:
    virtual ~ProcessInputs() = default;
    virtual std::string output_folder() const = 0;
    virtual bool convert_format() const = 0;     // "Video Format Converting" ticked
    virtual std::string format_text() const = 0; // such as "*.AVI"
    virtual int file_index() const = 0;          // 0-based position of the file in the list
    virtual int file_count() const = 0;          // files in the list
    virtual bool stop_requested() const = 0;     // stop_flag
    // Files the output must never be: every input of the batch and the outputs it wrote so far.
    virtual std::vector<std::string> taken_paths() const = 0;
};

// Where the run shows its progress; the progress dialog's gauges and clock label.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void set_gauge1(int percent) = 0; // clamps to 0..100
    virtual void set_gauge2(int percent) = 0; // clamps to 0..100
    virtual void set_label1(const std::string &text) = 0;
};

struct ProcessResult {
    Outcome outcome;
    std::string output; // the path the tool was asked to write
};

// Reasons: "041".."044", "No such file", "Assertion failed", "Conversion failed", or empty.
ProcessResult process_file(const Tffinfo &info, const ProcessInputs &inputs, ProgressSink &sink,
                           const MessagePump &pump);

} // namespace quelvane
