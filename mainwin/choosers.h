// The folder chooser and the open dialog; tests answer them through ChooserCapture.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace quelvane {

// The folder chooser. `path` is the folder to open at and, when the user chose one, the
// choice; a path that names no existing folder is emptied first, also when the user cancels.
// Throws std::runtime_error, naming the folder, for a choice whose exact name cannot be had.
bool browse_folder(const QString &title, std::string &path);

// The open dialog with multiple selection: the chosen files in the dialog's order, or none.
QStringList choose_files(QWidget *owner, const QString &filter);

// While one lives, the choosers ask it instead of the user (innermost wins). An empty answer
// function cancels.
class ChooserCapture {
public:
    using FolderAnswer = std::function<std::optional<QString>(const QString &title,
                                                              const QString &start)>;
    using FilesAnswer = std::function<QStringList(const QString &filter)>;
    explicit ChooserCapture(FolderAnswer folder, FilesAnswer files = {});
    ChooserCapture(const ChooserCapture &) = delete;
    ChooserCapture &operator=(const ChooserCapture &) = delete;
    ~ChooserCapture();

private:
    FolderAnswer folder_;
    FilesAnswer files_;
    ChooserCapture *outer_;
    friend bool browse_folder(const QString &title, std::string &path);
    friend QStringList choose_files(QWidget *owner, const QString &filter);
};

} // namespace quelvane
