#include "startup/startup.h"

#include "about/p_about.h"
#include "batch/p_progress.h"
#include "mainwin/p_main.h"
#include "platform/qt/message_box.h"
#include "platform/qt/ui.h"
#include "startup/application.h"
#include "startup/check_client.h"
#include "startup/p_flash.h"

namespace quelvane {

Forms::Forms() = default;
Forms::Forms(Forms &&) noexcept = default;
Forms::~Forms() = default;

Forms start_up(const std::string &tool)
{
    Forms forms;
    forms.splash = std::make_unique<Tflash>();
    forms.splash->show();
    pump_messages(); // painted before the check: the loop is not running yet

    const Outcome check = check_tool(tool, pump_messages);
    if (!check.ok) {
        ShowMessage(QStringLiteral("Client program error! ") + QString::fromLocal8Bit(check.reason));
        return forms;
    }

    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/art/quelvane-%1.png").arg(size));
    QGuiApplication::setWindowIcon(icon);
    forms.main = std::make_unique<Tmain>();
    forms.about = std::make_unique<Tabout>();
    forms.progress = std::make_unique<Tprogress>(*forms.main, tool);
    forms.main->set_dialogs(forms.about.get(), forms.progress.get());
    forms.splash.reset();
    forms.main->show();
    return forms;
}

int run_program(int argc, char **argv)
{
    Application app(argc, argv);
    // Lets the desktop match the window to the installed menu entry, on Wayland too.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quelvane.Quelvane"));
    // The one place the program takes the tool from.
    const Forms forms = start_up(client_path());
    if (forms.started())
        app.exec();
    return 0;
}

} // namespace quelvane
