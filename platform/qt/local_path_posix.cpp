// POSIX: a file name is bytes, and a file URL carries them percent-encoded, also those that
// are no valid text.
#include "platform/qt/ui.h"

#include <QUrl>

namespace quelvane {

std::optional<std::string> dropped_path(const QUrl &url)
{
    if (!url.isLocalFile())
        return std::nullopt;
    std::string path
        = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

} // namespace quelvane
