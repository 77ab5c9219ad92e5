#include "startup/application.h"

#include "platform/qt/message_box.h"

#include <exception>

namespace quelvane {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

bool Application::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        report_error(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        report_error(tr("Unknown error"));
    }
    return false;
}

void report_error(const QString &text)
{
    show_message({nullptr, QString::fromLatin1(kProgramName), text, MessageIcon::Error});
}

} // namespace quelvane
