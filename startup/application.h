// The application object: its one place that catches what escapes an event handler.
#pragma once

#include <QApplication>

namespace quelvane {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int &argc, char **argv);

    // An exception must never leave a Qt event handler: report it and keep running.
    bool notify(QObject *receiver, QEvent *event) override;
};

// The program's name, the title of the default error report. It is no display name of the
// application: Qt would put that after every window's own title.
inline constexpr const char *kProgramName = "Quelvane";

// The default error report: the program's name as its title, the error icon, OK and the text.
void report_error(const QString &text);

} // namespace quelvane
