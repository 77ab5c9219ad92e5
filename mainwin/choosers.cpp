#include "mainwin/choosers.h"

#include "mainwin/file_rules.h"
#include "platform/qt/ui.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <stdexcept>

namespace quelvane {

namespace {
ChooserCapture *current_capture = nullptr;
} // namespace

ChooserCapture::ChooserCapture(FolderAnswer folder, FilesAnswer files)
    : folder_(std::move(folder)), files_(std::move(files)), outer_(current_capture)
{
    current_capture = this;
}

ChooserCapture::~ChooserCapture()
{
    current_capture = outer_;
}

bool browse_folder(const QString &title, std::string &path)
{
    if (!QFileInfo(from_local(path)).isDir())
        path.clear();
    const QString start = from_local(path);

    std::optional<QString> chosen;
    if (current_capture) {
        if (current_capture->folder_)
            chosen = current_capture->folder_(title, start);
    } else {
        // No owner: the chooser stands for the whole application, as a modal of its own.
        const QString folder = QFileDialog::getExistingDirectory(nullptr, title, start);
        if (!folder.isEmpty())
            chosen = folder;
    }
    if (!chosen || chosen->isEmpty())
        return false;
    // A root keeps its separator; other folders end without one.
    const QString folder = QDir::toNativeSeparators(QDir::cleanPath(*chosen));
    const auto exact = exact_local(folder);
    if (!exact)
        throw std::runtime_error("Cannot open folder \"" + to_local(folder) + "\". "
                                 + kInexactFolderName);
    path = *exact;
    return true;
}

QStringList choose_files(QWidget *owner, const QString &filter)
{
    if (current_capture)
        return current_capture->files_ ? current_capture->files_(filter) : QStringList();
    QStringList files = QFileDialog::getOpenFileNames(owner, QString(), QString(), filter, nullptr,
                                                      QFileDialog::HideNameFilterDetails);
    for (QString &file : files)
        file = QDir::toNativeSeparators(file);
    return files;
}

} // namespace quelvane
