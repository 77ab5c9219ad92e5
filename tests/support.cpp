#include "tests/support.h"

#include "platform/paths.h"

#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace quelvane::testing {

ScratchDir::ScratchDir()
{
    const fs::path base = fs::absolute(QUELVANE_TEST_SCRATCH);
    fs::create_directories(base);
    std::random_device seed;
    std::mt19937 random(seed());
    const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (;;) {
        std::string name = "run-";
        for (int i = 0; i < 6; ++i)
            name += letters[random() % (sizeof letters - 1)];
        const fs::path candidate = base / name;
        if (fs::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string ScratchDir::file(const std::string &name) const
{
    return path_ + platform::path_separator() + name;
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
    set_environment("QUELVANE_FAKE_SCRIPT", path_);
}

FakeScript::~FakeScript()
{
    unset_environment("QUELVANE_FAKE_SCRIPT");
}

std::string tool_place()
{
    const fs::path place
        = fs::absolute(QUELVANE_TEST_SCRATCH) / "quelvanesvc" / platform::tool_file_name();
    return place.lexically_normal().make_preferred().string();
}

ToolPlace::ToolPlace(const std::string &target)
{
    const fs::path place = tool_place();
    fs::create_directories(place.parent_path());
    std::error_code ignored;
    fs::remove(place, ignored);
    if (!target.empty())
        place_program(target, place.string());
}

ToolPlace::~ToolPlace()
{
    std::error_code ignored;
    fs::remove(fs::path(tool_place()), ignored);
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

} // namespace quelvane::testing
