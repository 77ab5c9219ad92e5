// Measures the program's own CPU time while the tool runs quietly for five seconds.
// Not a test: it prints the figure; scripts/idle_cpu.sh runs it.
#include "client/run_client.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include <sys/resource.h>

int main()
{
    const char *script = "idle_cpu.fake";
    std::ofstream(script) << "out starting\\n\nsleep 5000\nout done\\n\n";
    ::setenv("QUELVANE_FAKE_SCRIPT", script, 1);

    quelvane::RunChoices choices;
    choices.pump = [] {};
    choices.normal_end = [](const quelvane::platform::ChildExit &) { return quelvane::Outcome::yes(); };
    quelvane::run_tool(QUELVANE_FAKE_TOOL, {}, nullptr, choices);

    rusage self {};
    ::getrusage(RUSAGE_SELF, &self);
    const double cpu = self.ru_utime.tv_sec + self.ru_utime.tv_usec / 1e6 + self.ru_stime.tv_sec
        + self.ru_stime.tv_usec / 1e6;
    std::printf("own CPU time during a 5 s quiet tool run: %.3f s (goal: under 0.1 s)\n", cpu);
    std::remove(script);
    return cpu < 0.1 ? 0 : 1;
}
