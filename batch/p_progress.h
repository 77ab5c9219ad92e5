// The progress dialog: runs the whole batch inside its modal loop and shows how far it came.
#pragma once

#include "client/process_file.h"

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTimer;
class TGauge;
class Tmain;

class Tprogress : public QDialog,
                  public quelvane::ProcessInputs,
                  public quelvane::ProgressSink {
    Q_OBJECT
public:
    // `tool`: the program that probes and processes the files.
    Tprogress(Tmain &main, std::string tool, QWidget *parent = nullptr);
    ~Tprogress() override;

    // Labels emptied and gauges at 0, before the dialog is shown for a batch.
    void reset();

    // What the removal run reads.
    std::string output_folder() const override;
    bool convert_format() const override;
    std::string format_text() const override;
    int file_index() const override { return file_index_; }
    int file_count() const override;
    bool stop_requested() const override;
    std::vector<std::string> taken_paths() const override;

    // Where it shows its progress.
    void set_gauge1(int percent) override;
    void set_gauge2(int percent) override;
    void set_label1(const std::string &text) override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormShow();
    void timer_dotimer();
    void Button1Click();
    void show_error(const QString &text);

    Tmain &main_;
    const std::string tool_;
    QLabel *label_filename;
    QLabel *Label1;
    TGauge *Gauge1;
    QLabel *Label2;
    TGauge *Gauge2;
    QPushButton *Button1;
    QTimer *timer_do;

    int file_index_ = 0;
    bool running_ = false;
    std::vector<std::string> written_; // outputs of this batch so far
};
