#include "batch/p_progress.h"

#include "batch/elided_label.h"
#include "batch/gauge.h"
#include "client/probe.h"
#include "mainwin/p_main.h"
#include "platform/qt/message_box.h"
#include "platform/qt/ui.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <utility>

using namespace quelvane;

Tprogress::Tprogress(Tmain &main, std::string tool, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      main_(main),
      tool_(std::move(tool)),
      label_filename(new ElidedLabel("Current File:", this)),
      Label1(new QLabel("Process ......", this)),
      Gauge1(new TGauge(QColor(192, 192, 192), this)),
      Label2(new QLabel("Overall Progress", this)),
      Gauge2(new TGauge(Qt::black, this)),
      Button1(new QPushButton("Cancel", this)),
      timer_do(new QTimer(this))
{
    setObjectName("progress");
    setWindowTitle(shown_title(QString()));
    setFont(form_font());
    setFixedSize(409, 145);
    setModal(true);

    label_filename->setObjectName("label_filename");
    place_label(*label_filename, 15, 5, 380); // ends with the gauges
    Label1->setObjectName("Label1");
    place_label(*Label1, 15, 22, 380);
    Gauge1->setObjectName("Gauge1");
    Gauge1->setGeometry(14, 41, 381, 19);
    Label2->setObjectName("Label2");
    place_label(*Label2, 14, 70, 381);
    Gauge2->setObjectName("Gauge2");
    Gauge2->setGeometry(14, 85, 381, 19);
    Button1->setObjectName("Button1");
    Button1->setGeometry(156, 110, 89, 28);
    for (QWidget *child : {static_cast<QWidget *>(label_filename), static_cast<QWidget *>(Label1),
                           static_cast<QWidget *>(Label2), static_cast<QWidget *>(Gauge1),
                           static_cast<QWidget *>(Gauge2)})
        child->setFocusPolicy(Qt::NoFocus);

    timer_do->setObjectName("timer_do");
    timer_do->setInterval(2);
    connect(timer_do, &QTimer::timeout, this, &Tprogress::timer_dotimer);
    connect(Button1, &QPushButton::clicked, this, &Tprogress::Button1Click);
    center_on_screen(*this);
}

Tprogress::~Tprogress() = default;

void Tprogress::reset()
{
    Label1->clear();
    label_filename->clear();
    Gauge1->setValue(0);
    Gauge2->setValue(0);
}

std::string Tprogress::output_folder() const
{
    return main_.output_folder;
}

bool Tprogress::convert_format() const
{
    return main_.convert_format();
}

std::string Tprogress::format_text() const
{
    return main_.format_text();
}

int Tprogress::file_count() const
{
    return main_.file_count();
}

bool Tprogress::stop_requested() const
{
    return main_.stop_flag;
}

std::vector<std::string> Tprogress::taken_paths() const
{
    std::vector<std::string> taken;
    for (int row = 0; row < main_.file_count(); ++row)
        taken.push_back(main_.file_path(row));
    taken.insert(taken.end(), written_.begin(), written_.end());
    return taken;
}

void Tprogress::set_gauge1(int percent)
{
    Gauge1->setValue(percent);
}

void Tprogress::set_gauge2(int percent)
{
    Gauge2->setValue(percent);
}

void Tprogress::set_label1(const std::string &text)
{
    Label1->setText(from_local(text));
}

void Tprogress::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void Tprogress::FormShow()
{
    timer_do->start();
}

void Tprogress::keyPressEvent(QKeyEvent *event)
{
    // Escape is no Cancel here; only the button stops a batch.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tprogress::closeEvent(QCloseEvent *event)
{
    // The window system's close request (there is no close box) stops the batch like Cancel.
    event->ignore();
    Button1Click();
}

void Tprogress::Button1Click()
{
    main_.stop_flag = true;
    // Closing from inside the batch's message pump would pull the loop from under the batch:
    // it closes the dialog itself when it returns.
    if (!running_) {
        timer_do->stop();
        done(QDialog::Rejected);
    }
}

void Tprogress::show_error(const QString &text)
{
    show_message({this, QString(), text, MessageIcon::Error});
}

void Tprogress::timer_dotimer()
{
    timer_do->stop();
    running_ = true;
    written_.clear();
    bool failed = false;
    bool finished = false;

    // Every way out, an exception included, ends the batch and closes the dialog.
    struct Ending {
        Tprogress &dialog;
        const bool &failed;
        const bool &finished;
        ~Ending()
        {
            dialog.running_ = false;
            if (finished && !failed && !dialog.main_.stop_flag)
                dialog.main_.Timer_endmsg->start();
            dialog.done(QDialog::Accepted);
        }
    } ending{*this, failed, finished};

    const int count = main_.file_count();
    for (int index = 0; index < count; ++index) {
        if (main_.stop_flag)
            return;
        const std::string path = main_.file_path(index);
        label_filename->setText("Current File: " + from_local(path));
        Label1->setText("Process ......");
        main_.ffinfo.clear();

        // Cancel ends a probe too: a tool that hangs on the file must not hang the batch.
        const StopTest stop = [this] { return main_.stop_flag; };
        Outcome probe = probe_file(tool_, path, main_.ffinfo, main_.edit1, pump_messages, stop);
        if (!probe.ok && !main_.stop_flag)
            probe = probe_file(tool_, path, main_.ffinfo, main_.edit1, pump_messages, stop);
        // What the probe printed served its turn; ffinfo keeps what the run needs.
        std::string().swap(main_.edit1);
        if (main_.stop_flag)
            return;
        if (!probe.ok) {
            failed = true;
            show_error("File load error! " + from_local(probe.reason));
            return;
        }

        main_.ffinfo.filename = path;
        file_index_ = index;
        const ProcessResult run = process_file(tool_, main_.ffinfo, *this, *this, pump_messages);
        written_.push_back(run.output);
        if (!run.outcome.ok) {
            failed = true;
            show_error("Process error! " + from_local(run.outcome.reason));
            return;
        }
    }
    finished = true;
}
