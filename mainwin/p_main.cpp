#include "mainwin/p_main.h"

#include "about/p_about.h"
#include "batch/p_progress.h"
#include "mainwin/choosers.h"
#include "mainwin/file_rules.h"
#include "platform/qt/message_box.h"
#include "platform/qt/ui.h"
#include "startup/application.h"
#include "version.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

using namespace quelvane;

namespace {

QIcon picture(const QString &name)
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/art/%1.png").arg(name));
    icon.addFile(QStringLiteral(":/art/%1@2x.png").arg(name));
    return icon;
}

template <class Button>
Button *picture_button(QWidget *parent, const char *name, const QString &hint,
                       const QString &art, const QRect &place)
{
    auto *button = new Button(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    button->setIcon(picture(art));
    button->setIconSize(QSize(24, 24));
    button->setGeometry(place);
    return button;
}

QString open_dialog_filter()
{
#ifdef Q_OS_WIN
    // The system's dialog already ignores letter case.
    QStringList patterns;
    for (const std::string &pattern : split_patterns(video_patterns))
        patterns << from_local(pattern);
    return QStringLiteral("Video Files (%1)").arg(patterns.join(QLatin1Char(' ')));
#else
    return QStringLiteral("Video Files (%1)").arg(from_local(case_blind_filter(video_patterns)));
#endif
}

} // namespace

Tmain::Tmain(QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                  | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                                  | Qt::WindowCloseButtonHint),
      Timer_endmsg(new QTimer(this))
{
    setObjectName("main");
    setWindowTitle("Quelvane " QUELVANE_VERSION);
    setFont(form_font());

    auto *client = new QWidget(this);
    client->setObjectName("client");
    client->setFixedSize(868, 401);
    setCentralWidget(client);

    ListView1 = new QTableWidget(0, 2, client);
    ListView1->setObjectName("ListView1");
    ListView1->setGeometry(5, 7, 786, 332);
    ListView1->setToolTip("Drag audio files and drop here");
    ListView1->setHorizontalHeaderItem(0, new QTableWidgetItem("Files"));
    auto *size_header = new QTableWidgetItem("Size");
    size_header->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ListView1->setHorizontalHeaderItem(1, size_header);
    ListView1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    ListView1->horizontalHeader()->setSectionsClickable(false);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->setColumnWidth(0, 660);
    ListView1->setColumnWidth(1, 110);
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setMinimumSectionSize(1);
    ListView1->verticalHeader()->setDefaultSectionSize(ListView1->fontMetrics().height() + 4);
    ListView1->setShowGrid(true);
    ListView1->setSortingEnabled(false);
    ListView1->setWordWrap(false);
    ListView1->setTextElideMode(Qt::ElideMiddle); // a long path keeps its file name in sight
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setTabKeyNavigation(false);
    ListView1->setCornerButtonEnabled(false);
    // The selection stays as plain to see when the list loses the focus.
    QPalette palette = ListView1->palette();
    for (const auto role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    ListView1->setPalette(palette);
    // Only drops on the list count.
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->viewport()->installEventFilter(this);

    btn_add = picture_button<QPushButton>(client, "btn_add", "Add", "add", {807, 20, 40, 40});
    btn_openfolder = picture_button<QToolButton>(client, "btn_openfolder", "Add Files from Folder",
                                                 "folder", {807, 72, 40, 40});
    btn_openfolder->setFocusPolicy(Qt::NoFocus);
    btn_remove = picture_button<QPushButton>(client, "btn_remove", "Remove", "remove",
                                             {807, 139, 40, 40});
    btn_clear = picture_button<QPushButton>(client, "btn_clear", "Clear", "clear",
                                            {807, 191, 40, 40});

    label_totalfiles = new QLabel(client);
    label_totalfiles->setObjectName("label_totalfiles");
    place_label(*label_totalfiles, 17, 363, 300);

    BitBtn1 = new QPushButton(" Process", client);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn1->setIcon(picture("process"));
    BitBtn1->setIconSize(QSize(20, 20));
    BitBtn1->setGeometry(345, 351, 139, 39);

    cbk_videoformatconverting = new QCheckBox("Video Format Converting", client);
    cbk_videoformatconverting->setObjectName("cbk_videoformatconverting");
    cbk_videoformatconverting->setGeometry(529, 362, 168, 19);

    cb_videoformat = new QComboBox(client);
    cb_videoformat->setObjectName("cb_videoformat");
    cb_videoformat->setMaxVisibleItems(100);
    for (const std::string &pattern : split_patterns(video_patterns))
        cb_videoformat->addItem(from_local(pattern));
    cb_videoformat->setCurrentIndex(0);
    cb_videoformat->setGeometry(698, 360, 68, cb_videoformat->sizeHint().height());

    Timer_endmsg->setObjectName("Timer_endmsg");
    Timer_endmsg->setInterval(2);

    QMenu *file_menu = menuBar()->addMenu(" File ");
    file_menu->setObjectName("File1");
    QAction *load_file = file_menu->addAction("Load File");
    load_file->setObjectName("LoadFile1");
    load_file->setShortcut(QKeySequence::Open);
    file_menu->addSeparator()->setObjectName("N1");
    QAction *exit = file_menu->addAction("Exit");
    exit->setObjectName("Exit1");
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu *help_menu = menuBar()->addMenu(" Help ");
    help_menu->setObjectName("Help1");
    QAction *about = help_menu->addAction("About");
    about->setObjectName("About1");
    about->setShortcut(QKeySequence::HelpContents);

    // The commands run from the event loop once the click or the menu is done with: a menu is
    // closed before a dialog opens, and an error a command raises (a file that cannot be read)
    // reaches the application's error report without crossing the button's or the menu's
    // event code, which is built without exception support.
    connect(load_file, &QAction::triggered, this, &Tmain::btn_addClick, Qt::QueuedConnection);
    connect(exit, &QAction::triggered, this, &Tmain::Exit1Click, Qt::QueuedConnection);
    connect(about, &QAction::triggered, this, &Tmain::About1Click, Qt::QueuedConnection);
    connect(btn_add, &QPushButton::clicked, this, &Tmain::btn_addClick, Qt::QueuedConnection);
    connect(btn_openfolder, &QToolButton::clicked, this, &Tmain::btn_openfolderClick,
            Qt::QueuedConnection);
    connect(btn_remove, &QPushButton::clicked, this, &Tmain::btn_removeClick);
    connect(btn_clear, &QPushButton::clicked, this, &Tmain::btn_clearClick);
    connect(BitBtn1, &QPushButton::clicked, this, &Tmain::btn_fixClick);
    connect(Timer_endmsg, &QTimer::timeout, this, &Tmain::Timer_endmsgTimer);
    connect(ListView1, &QTableWidget::itemSelectionChanged, this, &Tmain::ListView1Change);
    connect(ListView1->model(), &QAbstractItemModel::dataChanged, this, &Tmain::ListView1Change);

    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    center_on_screen(*this);
}

Tmain::~Tmain() = default;

void Tmain::set_dialogs(Tabout *about, Tprogress *progress)
{
    about_ = about;
    progress_ = progress;
}

void Tmain::add_file_b(const std::string &path)
{
    const int row = ListView1->rowCount();
    ListView1->insertRow(row);
    auto *caption = new QTableWidgetItem(from_local(path));
    caption->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    // The shown text may have lost bytes that are no valid text; the batch needs them all.
    caption->setData(Qt::UserRole, QByteArray::fromStdString(path));
    ListView1->setItem(row, 0, caption);
    auto *size = new QTableWidgetItem;
    size->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ListView1->setItem(row, 1, size);

    size->setText(from_local(size_text(file_length(path))));
    ListView1->selectRow(row);
    ListView1->scrollToItem(caption);
}

int Tmain::file_count() const
{
    return ListView1->rowCount();
}

std::string Tmain::file_path(int row) const
{
    const QTableWidgetItem *caption = ListView1->item(row, 0);
    return caption ? caption->data(Qt::UserRole).toByteArray().toStdString() : std::string();
}

bool Tmain::convert_format() const
{
    return cbk_videoformatconverting->isChecked();
}

std::string Tmain::format_text() const
{
    return to_local(cb_videoformat->currentText());
}

void Tmain::btn_addClick()
{
    for (const QString &file : choose_files(this, open_dialog_filter())) {
        const auto path = exact_local(file);
        if (!path)
            throw FileOpenError(to_local(file), kInexactFileName);
        add_file_b(*path);
    }
}

void Tmain::btn_openfolderClick()
{
    std::string path;
    if (!browse_folder(QString(), path))
        return;
    const std::string folder = folder_with_separator(path);
    if (!QFileInfo(from_local(folder)).isDir())
        return;
    for (const std::string &name : video_entries(folder))
        add_file_b(folder + name);
}

void Tmain::btn_removeClick()
{
    const QModelIndexList selected = ListView1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return;
    const int row = selected.first().row();
    ListView1->removeRow(row);
    if (row < ListView1->rowCount())
        ListView1->selectRow(row);
    else if (ListView1->rowCount() > 0)
        ListView1->selectRow(row - 1);
    ListView1->setFocus();
    show_count();
}

void Tmain::btn_clearClick()
{
    ListView1->setRowCount(0);
    show_count();
}

void Tmain::ListView1Change()
{
    if (ListView1->selectionModel()->hasSelection())
        show_count();
}

void Tmain::show_count()
{
    label_totalfiles->setText(from_local(count_text(ListView1->rowCount())));
}

void Tmain::btn_fixClick()
{
    if (ListView1->rowCount() == 0) {
        show_message({this, "Error", "Please add files at first!", MessageIcon::Error});
        return;
    }
    try {
        if (!browse_folder("Select an output folder for output files", output_folder))
            return;
    } catch (const std::exception &error) {
        // The button's signal code is no place for an exception to cross.
        report_error(QString::fromLocal8Bit(error.what()));
        return;
    }
    progress_->reset();
    stop_flag = false;
    progress_->exec();
}

void Tmain::Timer_endmsgTimer()
{
    Timer_endmsg->stop();
    show_message({this, QString(), "The process completed successfully!", MessageIcon::Warning});
}

void Tmain::Exit1Click()
{
    close();
}

void Tmain::About1Click()
{
    about_->exec();
}

void Tmain::mousePressEvent(QMouseEvent *event)
{
    FormMouseDown();
    event->accept();
}

void Tmain::FormMouseDown()
{
    // The window follows the mouse as if its title bar had been taken.
    if (QWindow *window = windowHandle())
        window->startSystemMove();
}

bool Tmain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != ListView1->viewport())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (drag->mimeData()->hasUrls())
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        drop->acceptProposedAction();
        dragAppMessage(*drop->mimeData());
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void Tmain::dragAppMessage(const QMimeData &dropped)
{
    try {
        for (const QUrl &url : dropped.urls()) {
            const auto path = dropped_path(url);
            if (path && passes_extension_test(*path))
                add_file_b(*path);
        }
    } catch (const FileOpenError &) {
        // A drop says nothing: the row stays with an empty size and the rest is skipped.
    }
}
