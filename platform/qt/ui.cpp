#include "platform/qt/ui.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWidget>

namespace quelvane {

std::optional<std::string> exact_local(const QString &text)
{
    std::string bytes = to_local(text);
    if (text.contains(QChar::ReplacementCharacter) || from_local(bytes) != text)
        return std::nullopt;
    return bytes;
}

QString shown_title(const QString &title)
{
    return title.isEmpty() ? QStringLiteral(" ") : title;
}

void pump_messages()
{
    QCoreApplication::processEvents();
}

QFont form_font()
{
    QFont font;
    font.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
    font.setPointSize(8);
    return font;
}

void center_on_screen(QWidget &window)
{
    const QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (screen)
        window.move(screen->availableGeometry().center() - window.rect().center());
}

void place_label(QLabel &label, int x, int y, int width)
{
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setGeometry(x, y, width, label.fontMetrics().height() + 2);
}

} // namespace quelvane
