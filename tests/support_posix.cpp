// The POSIX side of the test support: /proc, the environment, rusage and symbolic links.
#include "tests/support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace quelvane::testing {

std::string fake_tool()
{
    return QUELVANE_FAKE_TOOL;
}

void set_environment(const std::string &name, const std::string &value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

void unset_environment(const std::string &name)
{
    ::unsetenv(name.c_str());
}

void place_program(const std::string &target, const std::string &place)
{
    fs::create_symlink(target, place);
}

std::vector<int> child_processes()
{
    std::vector<int> children;
    const std::string self = std::to_string(::getpid());
    for (const auto &entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        if (!std::getline(stat, line))
            continue;
        // pid (comm) state ppid ...: the name may hold blanks, so read after the last ')'.
        std::istringstream rest(line.substr(line.rfind(')') + 1));
        std::string state, ppid;
        rest >> state >> ppid;
        if (ppid == self)
            children.push_back(std::stoi(name));
    }
    return children;
}

int open_descriptors()
{
    int count = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator("/proc/self/fd"))
        ++count;
    return count;
}

TinyDisk::TinyDisk(const std::string &folder, std::uintmax_t bytes) : folder_(folder)
{
    fs::create_directories(folder);
    if (::geteuid() != 0)
        return;
    const std::string size = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) == 0;
}

TinyDisk::~TinyDisk()
{
    if (mounted_)
        ::umount2(folder_.c_str(), MNT_DETACH);
}

double own_cpu_seconds()
{
    rusage self {};
    ::getrusage(RUSAGE_SELF, &self);
    return self.ru_utime.tv_sec + self.ru_utime.tv_usec / 1e6 + self.ru_stime.tv_sec
        + self.ru_stime.tv_usec / 1e6;
}

} // namespace quelvane::testing
