// Every message box of the program goes through here, so tests can see and answer them.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace quelvane {

enum class MessageIcon { None, Error, Warning };

struct Message {
    QWidget *owner = nullptr; // nothing: centred on the screen
    QString title;
    QString text;
    MessageIcon icon = MessageIcon::None;
};

// Shows the message modally with an OK button and returns once it is dismissed.
void show_message(const Message &message);

// The platform's simple message dialog: the text and OK, no icon, centred on the screen.
void ShowMessage(const QString &text);

// While one lives, messages reach it instead of the screen (innermost wins).
class MessageCapture {
public:
    using Handler = std::function<void(const Message &)>;
    explicit MessageCapture(Handler handler);
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;
    ~MessageCapture();

private:
    Handler handler_;
    MessageCapture *outer_;
    friend void show_message(const Message &message);
};

} // namespace quelvane
