// The About dialog: the program's name, the maker's site and support address.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class Tabout : public QDialog {
    Q_OBJECT
public:
    explicit Tabout(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void Label5Click();
    void Label2Click();
    void Button1Click();

    QLabel *Label8;
    QLabel *Label5;
    QLabel *Label2;
    QLabel *Label3;
    QLabel *Label1;
    QPushButton *Button1;
};
