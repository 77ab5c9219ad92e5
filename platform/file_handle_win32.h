// Windows only: an open file. The file functions fail with INVALID_HANDLE_VALUE, where the
// pipe, process and thread functions give a null handle (NativeHandle's none).
#pragma once

#include "platform/unique_handle.h"
#include "platform/windows.h"

namespace quelvane::platform {

struct FileHandleTraits {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type handle) noexcept { ::CloseHandle(handle); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

} // namespace quelvane::platform
