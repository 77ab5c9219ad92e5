// Not a test: writes pictures of the main window with a few rows and of the progress dialog
// under way into the folder given as the only argument.
#include "about/p_about.h"
#include "batch/p_progress.h"
#include "mainwin/p_main.h"
#include "startup/application.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

bool save(QWidget &window, const QString &path)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    QTest::qWait(200);
    return window.grab().save(path);
}

} // namespace

int main(int argc, char **argv)
{
    quelvane::Application app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshots FOLDER\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    QTemporaryDir scratch;
    QDir videos(scratch.path());
    videos.mkdir("Videos");
    videos.cd("Videos");
    const struct {
        const char *name;
        qint64 bytes;
    } files[] = {{"Holiday at the lake.mp4", 48'213'504}, {"garden-camera-0412.avi", 1'536'000},
                 {"Lecture 3 - Fourier series and the discrete transform, recorded in the main "
                  "hall on a Tuesday morning.mkv",
                  734'003'200},
                 {"doorbell.MOV", 512}};
    Tmain main;
    Tabout about;
    Tprogress progress(main, quelvane::client_path());
    main.set_dialogs(&about, &progress);
    for (const auto &file : files) {
        QFile video(videos.filePath(file.name));
        if (!video.open(QIODevice::WriteOnly) || !video.resize(file.bytes))
            return 1;
        video.close();
        main.add_file_b(QFile::encodeName(video.fileName()).toStdString());
    }

    bool ok = save(main, out.filePath("main-window.png"));

    // The dialog as a batch shows it on its way through the third file, without running one.
    progress.reset();
    progress.show();
    progress.findChild<QTimer *>("timer_do")->stop();
    progress.findChild<QLabel *>("label_filename")
            ->setText("Current File: " + videos.filePath(files[2].name));
    progress.set_label1("Process 00:12:41.36 ......");
    progress.set_gauge1(47);
    progress.set_gauge2(48);
    ok = save(progress, out.filePath("progress.png")) && ok;
    progress.hide();

    ok = save(about, out.filePath("about.png")) && ok;
    return ok ? 0 : 1;
}
