// Start-up: splash, the helper tool check, then the windows.
#pragma once

#include <memory>
#include <string>

class Tflash;
class Tmain;
class Tabout;
class Tprogress;

namespace quelvane {

// The program's windows, created once at start-up in this order, living until it ends; or,
// when the tool check failed, the splash alone, which stays until the program ends.
struct Forms {
    std::unique_ptr<Tflash> splash;
    std::unique_ptr<Tmain> main;
    std::unique_ptr<Tabout> about;
    std::unique_ptr<Tprogress> progress;

    Forms();
    Forms(Forms &&) noexcept;
    ~Forms();
    bool started() const { return main != nullptr; }
};

// Shows the splash and checks `tool`, the program the batch will run. On success: the
// application title set, the windows created, the splash gone and the main window shown. On
// failure: "Client program error! " and the reason shown, and no window but the splash.
Forms start_up(const std::string &tool);

// The whole program; the process's exit code.
int run_program(int argc, char **argv);

} // namespace quelvane
