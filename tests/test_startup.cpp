// Start-up through the real splash and windows, with the fake tool at the tool's place.
#include "mainwin/p_main.h"
#include "platform/qt/message_box.h"
#include "startup/p_flash.h"
#include "startup/startup.h"
#include "tests/support.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace quelvane {
namespace {

using testing::FakeScript;
using testing::ScratchDir;
using testing::tool_place;
using testing::ToolPlace;

template <class Form>
int visible_forms()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<Form *>(widget) && widget->isVisible();
    return count;
}

template <class Form>
int existing_forms()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<Form *>(widget) != nullptr;
    return count;
}

TEST(Startup, WithTheToolTheSplashGoesAndTheMainWindowShows)
{
    const ScratchDir dir;
    const ToolPlace place(testing::fake_tool());
    const FakeScript script(dir, "out ffmpeg version 5.1\\n\n");
    QList<Message> shown;
    const MessageCapture capture([&](const Message &m) { shown.push_back(m); });

    int splashes_when_main_shown = -1;
    struct Watch : QObject {
        int *seen;
        explicit Watch(int *s) : seen(s) {}
        bool eventFilter(QObject *object, QEvent *event) override
        {
            if (event->type() == QEvent::Show && qobject_cast<Tmain *>(object))
                *seen = visible_forms<Tflash>();
            return false;
        }
    } watch(&splashes_when_main_shown);
    qApp->installEventFilter(&watch);

    const auto forms = start_up(tool_place());
    qApp->removeEventFilter(&watch);

    ASSERT_TRUE(forms.started());
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(forms.main->isVisible());
    EXPECT_EQ(forms.main->objectName(), "main");
    EXPECT_EQ(splashes_when_main_shown, 0);
    EXPECT_EQ(existing_forms<Tflash>(), 0);
    // No display name: the window system would show it after every title.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

TEST(Startup, WithoutAWorkingToolOnlyTheMessageIsShown)
{
    struct Case {
        const char *name;
        const char *target; // nullptr: the fake tool
        const char *script;
        const char *message;
    };
    const Case cases[] = {
        {"tool prints something else", nullptr, "out hello\\n\n", "Client program error! "},
        {"no tool", "", "", "Client program error! 002"},
    };
    const ScratchDir dir;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const ToolPlace place(c.target ? c.target : testing::fake_tool());
        const FakeScript script(dir, c.script);
        QList<Message> shown;
        int splashes_during_message = -1;
        const MessageCapture capture([&](const Message &m) {
            shown.push_back(m);
            splashes_during_message = visible_forms<Tflash>();
        });

        const auto forms = start_up(tool_place());

        EXPECT_FALSE(forms.started());
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].text, c.message);
        EXPECT_EQ(shown[0].icon, MessageIcon::None);
        EXPECT_EQ(shown[0].owner, nullptr);
        EXPECT_EQ(splashes_during_message, 1);
        EXPECT_EQ(existing_forms<Tmain>(), 0);
    }
}

} // namespace
} // namespace quelvane
