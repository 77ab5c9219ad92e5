// Windows: the program passes names in the system's 8-bit code page; a name with a character
// outside it cannot be passed on.
#include "platform/qt/ui.h"

#include <QDir>
#include <QUrl>

namespace quelvane {

std::optional<std::string> dropped_path(const QUrl &url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    return exact_local(QDir::toNativeSeparators(QDir::cleanPath(url.toLocalFile())));
}

} // namespace quelvane
