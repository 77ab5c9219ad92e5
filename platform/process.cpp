// What a child process is, whatever the system: moving, closing, and the end of its life.
#include "platform/process.h"

#include <utility>

namespace quelvane::platform {

ChildProcess::ChildProcess(ChildProcess &&other) noexcept
    : id_(std::exchange(other.id_, -1)),
      process_(std::move(other.process_)),
      thread_(std::move(other.thread_)),
      exit_(other.exit_),
      ended_(other.ended_)
{
}

ChildProcess &ChildProcess::operator=(ChildProcess &&other) noexcept
{
    if (this != &other) {
        close();
        id_ = std::exchange(other.id_, -1);
        process_ = std::move(other.process_);
        thread_ = std::move(other.thread_);
        exit_ = other.exit_;
        ended_ = other.ended_;
    }
    return *this;
}

ChildProcess::~ChildProcess()
{
    close();
}

void ChildProcess::close()
{
    terminate();
    process_.reset();
    thread_.reset();
}

} // namespace quelvane::platform
