#include "platform/qt/message_box.h"

#include "platform/qt/ui.h"

#include <QMessageBox>

namespace quelvane {

namespace {
MessageCapture *current_capture = nullptr;

QMessageBox::Icon qt_icon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MessageCapture::MessageCapture(Handler handler)
    : handler_(std::move(handler)), outer_(current_capture)
{
    current_capture = this;
}

MessageCapture::~MessageCapture()
{
    current_capture = outer_;
}

void show_message(const Message &message)
{
    if (current_capture) {
        current_capture->handler_(message);
        return;
    }
    QMessageBox box(qt_icon(message.icon), shown_title(message.title), message.text,
                    QMessageBox::Ok, message.owner);
    // A file name or a reason is shown as it reads, never taken for markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ShowMessage(const QString &text)
{
    show_message({nullptr, QString(), text, MessageIcon::None});
}

} // namespace quelvane
