// The main window and the About dialog through their real controls: the list and how it is
// filled, the count label, the menu, the layout.
#include "batch/gauge.h"
#include "mainwin/file_rules.h"
#include "startup/application.h"
#include "version.h"
#include "tests/forms_fixture.h"
#include "tests/support.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDesktopServices>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <filesystem>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace quelvane {
namespace {

using testing::ScratchDir;

// A file of `bytes` bytes; sparse, so big sizes cost nothing.
std::string sized_file(const ScratchDir &dir, const std::string &name, qint64 bytes)
{
    const std::string path = dir.file(name);
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(bytes));
    return path;
}

QString q(const std::string &text)
{
    return QString::fromStdString(text);
}

class MainWindow : public testing::FormsTest {
protected:
    // Sends a drop of `paths` (local files) onto `target` and tells whether the drag was taken.
    bool drop_on(QWidget *target, const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at(20, 20);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        return enter.isAccepted();
    }
    static QList<QUrl> local(const std::vector<std::string> &paths)
    {
        QList<QUrl> urls;
        for (const std::string &path : paths)
            urls.push_back(QUrl::fromLocalFile(q(path)));
        return urls;
    }
    QString count_label() const { return find<QLabel>("label_totalfiles")->text(); }
};

TEST_F(MainWindow, ControlsStandWhereTheyBelong)
{
    EXPECT_EQ(main.windowTitle(), "Quelvane " QUELVANE_VERSION);
    EXPECT_EQ(main.centralWidget()->size(), QSize(868, 401));
    EXPECT_EQ(main.minimumSize(), main.maximumSize());
    EXPECT_FALSE(main.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(main.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(main.font().pointSize(), 8);

    const struct {
        const char *name;
        QRect place;
        const char *hint;
    } controls[] = {
        {"ListView1", {5, 7, 786, 332}, "Drag audio files and drop here"},
        {"btn_add", {807, 20, 40, 40}, "Add"},
        {"btn_openfolder", {807, 72, 40, 40}, "Add Files from Folder"},
        {"btn_remove", {807, 139, 40, 40}, "Remove"},
        {"btn_clear", {807, 191, 40, 40}, "Clear"},
        {"BitBtn1", {345, 351, 139, 39}, ""},
        {"cbk_videoformatconverting", {529, 362, 168, 19}, ""},
    };
    for (const auto &c : controls) {
        SCOPED_TRACE(c.name);
        const QWidget *control = find<QWidget>(c.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), c.place);
        EXPECT_EQ(control->toolTip(), c.hint);
    }
    EXPECT_EQ(find<QWidget>("btn_openfolder")->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(find<QPushButton>("BitBtn1")->text(), " Process");
    EXPECT_FALSE(find<QPushButton>("BitBtn1")->icon().isNull());
    EXPECT_FALSE(find<QPushButton>("btn_add")->icon().isNull());
    EXPECT_EQ(find<QCheckBox>("cbk_videoformatconverting")->text(), "Video Format Converting");
    EXPECT_FALSE(find<QCheckBox>("cbk_videoformatconverting")->isChecked());
    EXPECT_EQ(find<QLabel>("label_totalfiles")->pos(), QPoint(17, 363));
    EXPECT_EQ(count_label(), "");
    const QWidget *formats = find<QWidget>("cb_videoformat");
    EXPECT_EQ(formats->pos(), QPoint(698, 360));
    EXPECT_EQ(formats->width(), 68);

    QTableWidget *files = list();
    EXPECT_EQ(files->horizontalHeaderItem(0)->text(), "Files");
    EXPECT_EQ(files->horizontalHeaderItem(1)->text(), "Size");
    EXPECT_EQ(files->columnWidth(0), 660);
    EXPECT_EQ(files->columnWidth(1), 110);
    EXPECT_EQ(files->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(files->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(files->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(files->isSortingEnabled());
    EXPECT_TRUE(files->showGrid());

    // The hint shows over the rows too.
    QHelpEvent help(QEvent::ToolTip, QPoint(30, 30), files->viewport()->mapToGlobal(QPoint(30, 30)));
    QApplication::sendEvent(files->viewport(), &help);
    EXPECT_EQ(QToolTip::text(), "Drag audio files and drop here");
    QToolTip::hideText();
}

TEST_F(MainWindow, TheFormatListHoldsTheFourteenPatterns)
{
    const auto *formats = find<QComboBox>("cb_videoformat");
    ASSERT_EQ(formats->count(), 14);
    EXPECT_FALSE(formats->isEditable());
    EXPECT_EQ(formats->maxVisibleItems(), 100);
    EXPECT_EQ(formats->currentText(), "*.AVI");
    const auto patterns = split_patterns(video_patterns);
    for (int i = 0; i < formats->count(); ++i)
        EXPECT_EQ(formats->itemText(i), q(patterns[static_cast<std::size_t>(i)]));
    find<QCheckBox>("cbk_videoformatconverting")->setChecked(true);
    EXPECT_EQ(main.format_text(), "*.AVI");
    EXPECT_TRUE(main.convert_format());
}

TEST_F(MainWindow, TheMenusAndTheirItems)
{
    const QList<QAction *> menus = main.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), " File ");
    EXPECT_EQ(menus[1]->text(), " Help ");
    const QList<QAction *> file_items = menus[0]->menu()->actions();
    ASSERT_EQ(file_items.size(), 3);
    EXPECT_EQ(file_items[0]->text(), "Load File");
    EXPECT_TRUE(file_items[1]->isSeparator());
    EXPECT_EQ(file_items[2]->text(), "Exit");
    const QList<QAction *> help_items = menus[1]->menu()->actions();
    ASSERT_EQ(help_items.size(), 1);
    EXPECT_EQ(help_items[0]->text(), "About");

    // Load File is the Add button's command.
    const ScratchDir dir;
    files_answer = {q(sized_file(dir, "menu.avi", 2048))};
    main.findChild<QAction *>("LoadFile1")->trigger();
    ASSERT_TRUE(wait_for([&] { return list()->rowCount() == 1; }));
    EXPECT_EQ(cell(0, 1), "2 KB");

    main.findChild<QAction *>("Exit1")->trigger();
    EXPECT_TRUE(wait_for([&] { return !main.isVisible(); }));
}

TEST_F(MainWindow, TheOpenDialogAddsEachChosenFileWithItsSize)
{
    const ScratchDir dir;
    files_answer = {q(sized_file(dir, "big.avi", 1'536'000)), q(sized_file(dir, "half.mkv", 512)),
                    q(sized_file(dir, "notes.txt", 1536)), q(sized_file(dir, "big.avi", 1'536'000))};
    click("btn_add");

    ASSERT_EQ(list()->rowCount(), 4);
    // No extension test here; the same file twice gives two rows.
    const QStringList sizes = {"1,500 KB", "0 KB", "2 KB", "1,500 KB"};
    for (int row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ(cell(row, 0), files_answer[row]);
        EXPECT_EQ(cell(row, 1), sizes[row]);
        EXPECT_EQ(list()->item(row, 1)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
    }
    EXPECT_EQ(selected_row(), 3);
    EXPECT_EQ(count_label(), "4 Files");
    EXPECT_TRUE(shown.isEmpty());

    // A cancelled dialog adds nothing.
    files_answer.clear();
    click("btn_add");
    EXPECT_EQ(list()->rowCount(), 4);
}

TEST_F(MainWindow, OneFileShowsOneFilesInTheCountLabel)
{
    const ScratchDir dir;
    files_answer = {q(sized_file(dir, "a.avi", 10))};
    click("btn_add");
    EXPECT_EQ(count_label(), "1 Files");
}

TEST_F(MainWindow, AFileThatCannotBeReadStopsTheDialogsFilesWithTheErrorReport)
{
    const ScratchDir dir;
    const std::string missing = dir.file("typed name.avi");
    files_answer = {q(sized_file(dir, "good.avi", 4096)), q(missing),
                    q(sized_file(dir, "after.avi", 4096))};
    click("btn_add");

    ASSERT_EQ(list()->rowCount(), 2);
    EXPECT_EQ(cell(0, 1), "4 KB");
    EXPECT_EQ(cell(1, 0), q(missing));
    EXPECT_EQ(cell(1, 1), "");
    EXPECT_EQ(selected_row(), 0);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].message.title, "Quelvane");
    EXPECT_EQ(shown[0].message.icon, MessageIcon::Error);
    EXPECT_EQ(shown[0].message.text,
              "Cannot open file \"" + q(missing) + "\". No such file or directory");

    // The program goes on as before.
    files_answer = {q(dir.file("after.avi"))};
    click("btn_add");
    ASSERT_EQ(list()->rowCount(), 3);
    EXPECT_EQ(cell(2, 1), "4 KB");
    EXPECT_EQ(selected_row(), 2);
    EXPECT_EQ(count_label(), "3 Files");
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(MainWindow, DropsOnTheListPassTheExtensionTestInOrder)
{
    const ScratchDir dir;
    std::filesystem::create_directory(dir.file("plain folder"));
    std::filesystem::create_directory(dir.file("clips.avi"));
    const std::string txt = sized_file(dir, "a.txt", 100);
    const std::string mp4 = sized_file(dir, "b.mp4", 2048);
    const std::string mp = sized_file(dir, "c.MP", 3072);
    const std::string avi = sized_file(dir, "d.avi", 1024);

    QList<QUrl> urls = local({txt, mp4, dir.file("plain folder"), mp});
    urls.insert(1, QUrl("https://example.org/e.avi"));
    EXPECT_TRUE(drop_on(list()->viewport(), urls));
    ASSERT_EQ(list()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), q(mp4));
    EXPECT_EQ(cell(0, 1), "2 KB");
    EXPECT_EQ(cell(1, 0), q(mp));
    EXPECT_EQ(cell(1, 1), "3 KB");
    EXPECT_EQ(count_label(), "2 Files");

    // A folder named like a video gets a row without size; the rest of the drop is skipped.
    drop_on(list()->viewport(), local({dir.file("clips.avi"), avi}));
    ASSERT_EQ(list()->rowCount(), 3);
    EXPECT_EQ(cell(2, 0), q(dir.file("clips.avi")));
    EXPECT_EQ(cell(2, 1), "");
    EXPECT_TRUE(shown.isEmpty());

    // Only drops on the list count.
    drop_on(main.centralWidget(), local({avi}));
    drop_on(find<QWidget>("btn_add"), local({avi}));
    EXPECT_EQ(list()->rowCount(), 3);

    // Text alone is no drop of files.
    QMimeData text;
    text.setText(q(avi));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list()->viewport(), &enter);
    EXPECT_FALSE(enter.isAccepted());
}

TEST_F(MainWindow, AFolderAddsItsVideoFilesButNotItsSubfolders)
{
    const ScratchDir dir;
    sized_file(dir, "one.avi", 1024);
    sized_file(dir, "two.WEBM", 2048);
    sized_file(dir, "readme.txt", 10);
    std::filesystem::create_directory(dir.file("clips.avi"));
    std::filesystem::create_directory(dir.file("sub"));
    sized_file(dir, "sub/deep.avi", 10);

    folder_answer = q(dir.path());
    click("btn_openfolder");

    EXPECT_EQ(folder_starts, QStringList{""});
    ASSERT_EQ(list()->rowCount(), 2);
    QStringList rows = {cell(0, 0), cell(1, 0)};
    rows.sort();
    EXPECT_EQ(rows, (QStringList{q(dir.file("one.avi")), q(dir.file("two.WEBM"))}));
    EXPECT_EQ(count_label(), "2 Files");

    // Cancelled, or a choice that is no folder: nothing added.
    folder_answer.reset();
    click("btn_openfolder");
    folder_answer = q(dir.file("one.avi"));
    click("btn_openfolder");
    EXPECT_EQ(list()->rowCount(), 2);
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(MainWindow, AFolderEntryThatCannotBeReadGoesToTheErrorReport)
{
#ifdef _WIN32
    GTEST_SKIP() << "Made with a dangling link, which Windows lets only privileged users make "
                    "and Wine does not make at all";
#endif
    const ScratchDir dir;
    std::filesystem::create_symlink(dir.file("gone"), dir.file("dangling.mov"));
    folder_answer = q(dir.path());
    click("btn_openfolder");

    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(cell(0, 1), "");
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].message.text, "Cannot open file \"" + q(dir.file("dangling.mov"))
                                             + "\". No such file or directory");
}

#ifndef Q_OS_WIN
TEST_F(MainWindow, ANameThatIsNoValidTextKeepsItsBytesOrIsRefused)
{
    const ScratchDir dir;
    // Written byte for byte: Qt's own file names would be text.
    const std::string latin1 = dir.write("caf\xe9.mp4", std::string(1024, 'a'));
    // The name the first one reads as, once its byte is replaced: another file.
    const std::string twin = dir.write("caf\xef\xbf\xbd.mp4", std::string(2048, 'b'));
    const QString shown_name = QString::fromLocal8Bit(latin1);
    ASSERT_TRUE(shown_name.contains(QChar::ReplacementCharacter));

    SCOPED_TRACE("from its folder, and dropped");
    folder_answer = q(dir.path());
    click("btn_openfolder");
    QList<QUrl> urls = {QUrl::fromEncoded("file://" + QByteArray::fromStdString(latin1)
                                                              .toPercentEncoding("/"))};
    drop_on(list()->viewport(), urls);
    ASSERT_EQ(list()->rowCount(), 3);
    std::vector<std::string> paths;
    for (int row = 0; row < 3; ++row)
        paths.push_back(main.file_path(row));
    std::sort(paths.begin(), paths.begin() + 2);
    EXPECT_EQ(paths, (std::vector<std::string>{latin1, twin, latin1}));
    EXPECT_EQ(cell(2, 0), shown_name);
    EXPECT_EQ(cell(2, 1), "1 KB");
    EXPECT_TRUE(shown.isEmpty());

    SCOPED_TRACE("from the open dialog, which gives text only");
    files_answer = {shown_name};
    click("btn_add");
    EXPECT_EQ(list()->rowCount(), 3);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].message.text, "Cannot open file \"" + shown_name + "\". "
                                             + QString::fromLatin1(kInexactFileName));

    SCOPED_TRACE("a folder of such a name");
    std::filesystem::create_directory(dir.file("d\xe9j\xe0"));
    folder_answer = QString::fromLocal8Bit(dir.file("d\xe9j\xe0"));
    click("btn_openfolder");
    EXPECT_EQ(list()->rowCount(), 3);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].message.text.startsWith("Cannot open folder \""));
    EXPECT_TRUE(shown[1].message.text.endsWith(QString::fromLatin1(kInexactFolderName)));

    SCOPED_TRACE("the same folder chosen for the output");
    QTest::mouseClick(find<QPushButton>("BitBtn1"), Qt::LeftButton);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[2].message.text, shown[1].message.text);
    EXPECT_FALSE(shown[2].progress_visible);
    EXPECT_EQ(main.output_folder, "");
}

TEST_F(MainWindow, APipeIsNeverOpenedAndGetsTheErrorReport)
{
    const ScratchDir dir;
    const std::string pipe = dir.file("pipe.mp4");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const char *way : {"dialog", "folder"}) {
        SCOPED_TRACE(way);
        shown.clear();
        click("btn_clear");
        // Opening the pipe would block right here, with nobody to write to it.
        if (std::string(way) == "dialog") {
            files_answer = {q(pipe)};
            click("btn_add");
        } else {
            folder_answer = q(dir.path());
            click("btn_openfolder");
        }
        ASSERT_EQ(list()->rowCount(), 1);
        EXPECT_EQ(cell(0, 1), "");
        ASSERT_EQ(shown.size(), 1);
        EXPECT_EQ(shown[0].message.text,
                  "Cannot open file \"" + q(pipe) + "\". Not a regular file");
    }
}
#endif

TEST(MessageBox, ShowsItsTextAsPlainTextUnderTheTitleAsItReads)
{
    struct Seen {
        QString title, text;
        Qt::TextFormat format = Qt::AutoText;
    };
    const QString text
        = "Process error! /out/<b>bold</b> &amp; <img src=x>.mp4: Permission denied";
    for (const QString &title : {QString(), QString("Error")}) {
        SCOPED_TRACE(title.toStdString());
        std::optional<Seen> seen;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = Seen{box->windowTitle(), box->text(), box->textFormat()};
            box->accept();
        });
        show_message({nullptr, title, text, MessageIcon::Error});
        ASSERT_TRUE(seen);
        EXPECT_EQ(seen->format, Qt::PlainText);
        EXPECT_EQ(seen->text, text);
        // An empty title would show the program's file name on the title bar.
        EXPECT_EQ(seen->title, title.isEmpty() ? " " : title);
    }
}

TEST_F(MainWindow, RemoveSelectsTheNextRowAndClearEmptiesTheList)
{
    const ScratchDir dir;
    for (const char *name : {"a.avi", "b.avi", "c.avi"})
        files_answer.push_back(q(sized_file(dir, name, 1)));
    click("btn_add");
    list()->selectRow(1);

    click("btn_remove");
    ASSERT_EQ(list()->rowCount(), 2);
    EXPECT_EQ(cell(1, 0), q(dir.file("c.avi")));
    EXPECT_EQ(selected_row(), 1);
    EXPECT_EQ(count_label(), "2 Files");
    EXPECT_TRUE(list()->hasFocus());

    click("btn_remove"); // the last row: the new last one is selected
    ASSERT_EQ(list()->rowCount(), 1);
    EXPECT_EQ(selected_row(), 0);
    EXPECT_EQ(count_label(), "1 Files");

    click("btn_remove"); // the only row
    EXPECT_EQ(list()->rowCount(), 0);
    EXPECT_EQ(selected_row(), -1);
    EXPECT_EQ(count_label(), "0 Files");

    click("btn_add");
    list()->clearSelection();
    click("btn_remove"); // nothing selected: nothing happens
    EXPECT_EQ(list()->rowCount(), 3);

    click("btn_clear");
    EXPECT_EQ(list()->rowCount(), 0);
    EXPECT_EQ(count_label(), "0 Files");
}

TEST_F(MainWindow, TheProgressDialogAndItsGauges)
{
    EXPECT_EQ(progress.size(), QSize(409, 145));
    EXPECT_EQ(progress.windowTitle(), " "); // shown as empty; "" would show the file's name
    EXPECT_FALSE(progress.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(progress.windowFlags() & Qt::WindowSystemMenuHint);
    const struct {
        const char *name;
        QRect place;
    } controls[] = {
        {"Gauge1", {14, 41, 381, 19}},
        {"Gauge2", {14, 85, 381, 19}},
        {"Button1", {156, 110, 89, 28}},
    };
    for (const auto &c : controls) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(find<QWidget>(c.name, &progress)->geometry(), c.place);
    }
    EXPECT_EQ(find<QLabel>("label_filename", &progress)->text(), "Current File:");
    EXPECT_EQ(find<QLabel>("Label1", &progress)->text(), "Process ......");
    EXPECT_EQ(find<QLabel>("Label2", &progress)->text(), "Overall Progress");
    EXPECT_EQ(find<QPushButton>("Button1", &progress)->text(), "Cancel");
    EXPECT_EQ(find<QTimer>("timer_do", &progress)->interval(), 2);
    EXPECT_FALSE(find<QTimer>("timer_do", &progress)->isActive());

    // A gauge shows the nearest end for a value outside its range.
    TGauge gauge(Qt::black);
    const struct {
        int given;
        int shown;
    } values[] = {{42, 42}, {-5, 0}, {100, 100}, {150, 100}, {0, 0}};
    for (const auto &v : values) {
        gauge.setValue(v.given);
        EXPECT_EQ(gauge.value(), v.shown) << v.given;
    }

    progress.set_gauge1(70);
    progress.set_label1("Process 00:00:01.00 ......");
    progress.reset();
    EXPECT_EQ(find<TGauge>("Gauge1", &progress)->value(), 0);
    EXPECT_EQ(find<QLabel>("Label1", &progress)->text(), "");
    EXPECT_EQ(find<QLabel>("label_filename", &progress)->text(), "");
}

// Takes the links the About dialog hands to the desktop.
class LinkCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.push_back(url); }
};

TEST_F(MainWindow, AboutShowsTheYearAndOpensItsLinks)
{
    LinkCatcher links;
    QDesktopServices::setUrlHandler("https", &links, "open");
    QDesktopServices::setUrlHandler("mailto", &links, "open");

    QString notice;
    bool was_modal = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (!about.isVisible())
            return;
        answer.stop();
        was_modal = about.isModal();
        notice = about.findChild<QLabel *>("Label3")->text();
        QTest::mouseClick(about.findChild<QLabel *>("Label5"), Qt::LeftButton);
        QTest::mouseClick(about.findChild<QLabel *>("Label2"), Qt::LeftButton);
        QTest::keyClick(&about, Qt::Key_Return); // OK is the default button
    });
    answer.start(5);
    main.findChild<QAction *>("About1")->trigger();
    ASSERT_TRUE(wait_for([&] { return was_modal && !about.isVisible(); }));

    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("mailto");
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.size(), QSize(387, 140));
    EXPECT_EQ(about.findChild<QLabel *>("Label8")->text(), "Quelvane");
    EXPECT_TRUE(about.findChild<QLabel *>("Label8")->font().bold());
    EXPECT_TRUE(notice.endsWith(QDate::currentDate().toString("yyyy")));
    ASSERT_EQ(links.opened.size(), 2);
    EXPECT_EQ(links.opened[0], QUrl(about.findChild<QLabel *>("Label5")->text()));
    EXPECT_EQ(links.opened[1], QUrl("mailto:" + about.findChild<QLabel *>("Label2")->text()));
    EXPECT_EQ(about.findChild<QPushButton *>("Button1")->text(), "OK");
}

} // namespace
} // namespace quelvane

#include "test_main_window.moc"
