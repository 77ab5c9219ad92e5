// The main window: the file list, the Process command and the state the batch shares.
#pragma once

#include "client/ffinfo.h"

#include <QMainWindow>

#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QMimeData;
class QPushButton;
class QTableWidget;
class QTimer;
class QToolButton;
class Tabout;
class Tprogress;

class Tmain : public QMainWindow {
    Q_OBJECT
public:
    explicit Tmain(QWidget *parent = nullptr);
    ~Tmain() override;

    // The dialogs are created after the main window; it is told of them once they exist.
    void set_dialogs(Tabout *about, Tprogress *progress);

    // Appends a row for `path` with its size and selects it. When the length cannot be read the
    // row stays with an empty size, the selection stays, and FileOpenError is thrown.
    void add_file_b(const std::string &path);

    // What the batch reads of the list and the format choice.
    int file_count() const;
    std::string file_path(int row) const;
    bool convert_format() const;
    std::string format_text() const;

    // Shared with the batch for as long as the program runs.
    std::string output_folder;
    bool stop_flag = false;
    std::string edit1; // everything the tool printed during the last probe
    Tffinfo ffinfo;
    QTimer *Timer_endmsg;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void btn_addClick();
    void btn_openfolderClick();
    void btn_removeClick();
    void btn_clearClick();
    void ListView1Change();
    void btn_fixClick();
    void Exit1Click();
    void About1Click();
    void Timer_endmsgTimer();
    void FormMouseDown();
    // Files dropped on the list.
    void dragAppMessage(const QMimeData &dropped);
    void show_count();

    QTableWidget *ListView1;
    QPushButton *btn_add;
    QToolButton *btn_openfolder;
    QPushButton *btn_remove;
    QPushButton *btn_clear;
    QLabel *label_totalfiles;
    QPushButton *BitBtn1;
    QCheckBox *cbk_videoformatconverting;
    QComboBox *cb_videoformat;

    Tabout *about_ = nullptr;
    Tprogress *progress_ = nullptr;
};
