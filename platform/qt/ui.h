// What the windowing platform gives every form: the message pump, the forms' font, placement,
// and the 8-bit text of the core.
#pragma once

#include <QFont>
#include <QString>

#include <optional>
#include <string>

class QLabel;
class QUrl;
class QWidget;

namespace quelvane {

// A window's title as the window system is to show it: an empty one would show the program's
// file name there, so it becomes one blank.
QString shown_title(const QString &title);

// Handles every message that waits, then returns.
void pump_messages();

// Verdana 8 point where the machine has it, else a close sans-serif.
QFont form_font();

// Centres the window on the screen it is on.
void center_on_screen(QWidget &window);

// A label at its place, one line high, `width` wide: longer texts are cut at its end.
void place_label(QLabel &label, int x, int y, int width);

// The core's texts are in the system's 8-bit encoding, as file names are.
inline QString from_local(const std::string &text)
{
    return QString::fromLocal8Bit(text);
}

inline std::string to_local(const QString &text)
{
    return text.toLocal8Bit().toStdString();
}

// The system's exact bytes for a name given as text; nothing when the text cannot stand for
// them: a name that was no valid text shows U+FFFD in its place, and a character the system's
// encoding lacks comes back changed.
std::optional<std::string> exact_local(const QString &text);

// The exact path of a local file dropped as a URL; nothing when it cannot be had exactly.
// Backends local_path_posix.cpp and local_path_win32.cpp.
std::optional<std::string> dropped_path(const QUrl &url);

} // namespace quelvane
