#include "tests/support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace fs = std::filesystem;

namespace quelvane::testing {

std::string fake_tool()
{
    return QUELVANE_FAKE_TOOL;
}

ScratchDir::ScratchDir()
{
    std::string pattern = (fs::path(QUELVANE_TEST_SCRATCH) / "run-XXXXXX").string();
    fs::create_directories(QUELVANE_TEST_SCRATCH);
    path_ = ::mkdtemp(pattern.data());
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchDir::write(const std::string &name, const std::string &text) const
{
    const std::string path = file(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

FakeScript::FakeScript(const ScratchDir &dir, const std::string &script)
    : path_(dir.write("script.fake", script))
{
    ::setenv("QUELVANE_FAKE_SCRIPT", path_.c_str(), 1);
}

FakeScript::~FakeScript()
{
    ::unsetenv("QUELVANE_FAKE_SCRIPT");
}

ToolPlace::ToolPlace(const std::string &target)
{
    const fs::path place = client_path();
    fs::create_directories(place.parent_path());
    std::error_code ignored;
    fs::remove(place, ignored);
    if (!target.empty())
        fs::create_symlink(target, place);
}

ToolPlace::~ToolPlace()
{
    std::error_code ignored;
    fs::remove(fs::path(client_path()), ignored);
}

std::vector<std::vector<std::string>> logged_calls(const std::string &log)
{
    std::ifstream in(log, std::ios::binary);
    std::vector<std::vector<std::string>> calls;
    std::string word;
    while (in >> word) {
        std::size_t count = 0;
        in >> count;
        in.get();
        std::vector<std::string> args;
        for (std::size_t i = 0; i < count; ++i) {
            std::size_t length = 0;
            in >> length;
            in.get(); // ':'
            std::string arg(length, '\0');
            in.read(arg.data(), static_cast<std::streamsize>(length));
            in.get(); // '\n'
            args.push_back(arg);
        }
        calls.push_back(args);
    }
    return calls;
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

} // namespace quelvane::testing
