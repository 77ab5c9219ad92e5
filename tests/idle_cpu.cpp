// Measures the program's own CPU time while the tool runs quietly for five seconds.
// Not a test: it prints the figure; scripts/idle_cpu.sh runs it.
#include "client/run_client.h"
#include "tests/support.h"

#include <cstdio>
#include <fstream>

int main()
{
    using namespace quelvane;
    const char *script = "idle_cpu.fake";
    std::ofstream(script) << "out starting\\n\nsleep 5000\nout done\\n\n";
    testing::set_environment("QUELVANE_FAKE_SCRIPT", script);

    RunChoices choices;
    choices.pump = [] {};
    choices.normal_end = [](const platform::ChildExit &) { return Outcome::yes(); };
    run_tool(testing::fake_tool(), {}, nullptr, choices);

    const double cpu = testing::own_cpu_seconds();
    std::printf("own CPU time during a 5 s quiet tool run: %.3f s (goal: under 0.1 s)\n", cpu);
    std::remove(script);
    return cpu < 0.1 ? 0 : 1;
}
