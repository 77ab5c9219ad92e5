// The program's three forms for a window test, with every message box and chooser captured.
#pragma once

#include "about/p_about.h"
#include "batch/p_progress.h"
#include "mainwin/choosers.h"
#include "mainwin/p_main.h"
#include "platform/qt/message_box.h"
#include "tests/support.h"

#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace quelvane::testing {

struct Shown {
    Message message;
    bool progress_visible = false;
};

class FormsTest : public ::testing::Test {
protected:
    FormsTest()
    {
        main.set_dialogs(&about, &progress);
        main.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&main));
    }

    // A control of the main window, or of `form` (the dialogs share control names).
    template <class T>
    T *find(const char *name, const QWidget *form = nullptr) const
    {
        T *found = (form ? form : &main)->findChild<T *>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTableWidget *list() const { return find<QTableWidget>("ListView1"); }
    // Clicks the control and lets the command it posts run.
    void click(const char *name) const
    {
        QTest::mouseClick(find<QWidget>(name), Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    // Cell texts of the list, "" for a missing cell.
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = list()->item(row, column);
        return item ? item->text() : QString();
    }
    int selected_row() const
    {
        const auto rows = list()->selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.first().row();
    }

    // Lets the event loop run until `done` or a time-out.
    static bool wait_for(const std::function<bool()> &done, int ms = 5000)
    {
        return QTest::qWaitFor(done, ms);
    }

    Tmain main;
    Tabout about;
    Tprogress progress{main, tool_place()};

    QList<Shown> shown;
    MessageCapture messages{[this](const Message &m) { shown.push_back({m, progress.isVisible()}); }};

    // The choosers answer from these; folder_starts records where the folder chooser opened.
    std::optional<QString> folder_answer;
    QStringList folder_starts;
    QStringList files_answer;
    ChooserCapture choosers{[this](const QString &, const QString &start) {
                                folder_starts.push_back(start);
                                return folder_answer;
                            },
                            [this](const QString &) { return files_answer; }};
};

} // namespace quelvane::testing
