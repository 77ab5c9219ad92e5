// A stand-in for the helper tool that replays a script, so tests can shape its output exactly.
//
// The script comes from the file named by QUELVANE_FAKE_SCRIPT or, when that is not set, from
// the input named after "-i" if that file starts with the line "#!fake". One command a line:
//   out TEXT     write TEXT to standard output (escapes: \n \r \t \0 \\ \xHH)
//   err TEXT     the same on standard error
//   sleep MS     pause
//   flood N      write N bytes of a fixed pattern with no zero byte in it
//   output TEXT  write TEXT into the file named by the last argument (the output)
//   exit N       end with status N (the default is 0)
//   crash        die by SIGSEGV (Windows: by an unhandled access violation)
//   hang         sleep until killed
//   fds          write what its descriptors above 2 lead to, one "N:target" a line (Linux;
//                on Windows its pipe handles other than its standard ones, as "N:pipe:")
// Lines before any section apply to every use; "[banner]" (no arguments), "[probe]" (just
// "-i" and a path) and "[process]" (anything else) hold the commands of one use, and
// "[probe 1]" (or any use with a number) applies to that call of the use alone, counted per
// script. QUELVANE_FAKE_LOG names a file that gets each call's arguments appended.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include "platform/windows.h"

#include <fcntl.h>
#include <io.h>
#endif

namespace {

std::string unescape(const std::string &text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        switch (c) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        case 'x':
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
            break;
        default: out += c; break;
        }
    }
    return out;
}

std::string use_of(const std::vector<std::string> &args)
{
    if (args.empty())
        return "banner";
    if (args.size() == 2 && args[0] == "-i")
        return "probe";
    return "process";
}

std::string script_path(const std::vector<std::string> &args)
{
    if (const char *path = std::getenv("QUELVANE_FAKE_SCRIPT"))
        return path;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] != "-i")
            continue;
        std::ifstream input(args[i + 1]);
        std::string first;
        if (std::getline(input, first) && first == "#!fake")
            return args[i + 1];
    }
    return {};
}

// Counts this use's calls for one script in a file beside it.
int call_number(const std::string &script, const std::string &use)
{
    const std::string counter = script + ".calls-" + use;
    int calls = 0;
    std::ifstream(counter) >> calls;
    ++calls;
    std::ofstream(counter) << calls;
    return calls;
}

void log_arguments(const std::vector<std::string> &args)
{
    const char *path = std::getenv("QUELVANE_FAKE_LOG");
    if (!path)
        return;
    std::ofstream log(path, std::ios::app | std::ios::binary);
    log << "call " << args.size() << '\n';
    for (const std::string &arg : args)
        log << arg.size() << ':' << arg << '\n';
}

void write_all(std::FILE *stream, const std::string &bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

// What the tool holds open beyond its standard streams. Windows: its pipe handles other than
// its standard ones, which it can only have inherited. (Wine shows a Unix /proc as well: not
// the Windows program's.)
std::string descriptor_list()
{
    std::string list;
#ifdef _WIN32
    const HANDLE standard[] = {::GetStdHandle(STD_INPUT_HANDLE), ::GetStdHandle(STD_OUTPUT_HANDLE),
                               ::GetStdHandle(STD_ERROR_HANDLE)};
    for (std::uintptr_t value = 4; value < 0x4000; value += 4) {
        const HANDLE handle = reinterpret_cast<HANDLE>(value);
        DWORD flags = 0;
        if (std::find(std::begin(standard), std::end(standard), handle) != std::end(standard)
            || !::GetHandleInformation(handle, &flags) || ::GetFileType(handle) != FILE_TYPE_PIPE)
            continue;
        list += std::to_string(value) + ":pipe:\n";
    }
#else
    std::error_code ignored;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd", ignored)) {
        const std::string name = entry.path().filename().string();
        if (std::stoi(name) > 2)
            list += name + ':' + std::filesystem::read_symlink(entry.path(), ignored).string()
                + '\n';
    }
#endif
    return list;
}

void crash()
{
#ifdef _WIN32
    // The process ends with the exception's code, as a crashed program does, and no debugger
    // or error box steps in.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    ::SetUnhandledExceptionFilter(
        [](EXCEPTION_POINTERS *) -> LONG { return EXCEPTION_EXECUTE_HANDLER; });
    ::RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#else
    std::raise(SIGSEGV);
#endif
}

int run(const std::vector<std::string> &lines, const std::vector<std::string> &args)
{
    for (const std::string &line : lines) {
        const auto blank = line.find(' ');
        const std::string word = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (word == "out") {
            write_all(stdout, unescape(rest));
        } else if (word == "err") {
            write_all(stderr, unescape(rest));
        } else if (word == "sleep") {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::stoi(rest)));
        } else if (word == "flood") {
            const long total = std::stol(rest);
            std::string block;
            for (long i = 0; i < total; ++i)
                block += static_cast<char>('A' + (i * 7 + i / 26) % 26);
            write_all(stdout, block);
        } else if (word == "output") {
            if (!args.empty())
                std::ofstream(args.back(), std::ios::binary) << unescape(rest);
        } else if (word == "exit") {
            return std::stoi(rest);
        } else if (word == "crash") {
            crash();
        } else if (word == "fds") {
            write_all(stdout, descriptor_list());
        } else if (word == "hang") {
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        }
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
#ifdef _WIN32
    // The scripts say the bytes exactly: no "\n" turns into "\r\n" on the way out.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    log_arguments(args);

    const std::string path = script_path(args);
    std::ifstream script(path);
    if (path.empty() || !script) {
        std::fprintf(stderr, "fake tool: no script\n");
        return 2;
    }

    const std::string use = use_of(args);
    const std::string numbered = use + " " + std::to_string(call_number(path, use));
    std::vector<std::string> common, general, specific;
    std::vector<std::string> *target = &common;
    bool has_specific = false;
    std::string line;
    while (std::getline(script, line)) {
        if (line == "#!fake" || (!line.empty() && line[0] == '#' && line.rfind("#!", 0) != 0))
            continue;
        if (!line.empty() && line.front() == '[' && line.back() == ']') {
            const std::string section = line.substr(1, line.size() - 2);
            if (section == use) {
                target = &general;
            } else if (section == numbered) {
                target = &specific;
                has_specific = true;
            } else {
                target = nullptr;
            }
            continue;
        }
        if (target)
            target->push_back(line);
    }

    std::vector<std::string> lines = common;
    const auto &chosen = has_specific ? specific : general;
    lines.insert(lines.end(), chosen.begin(), chosen.end());
    return run(lines, args);
}
