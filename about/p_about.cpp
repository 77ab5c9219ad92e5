#include "about/p_about.h"

#include "platform/qt/ui.h"

#include <QDate>
#include <QDesktopServices>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>

using namespace quelvane;

namespace {
const QString web_address = QStringLiteral("https://quelvane.org");
const QString mail_address = QStringLiteral("support@quelvane.org");
const QString notice_prefix = QStringLiteral("Copyright \u00A9 The Quelvane Project, 2019-");
const QString legal_notice =
        QStringLiteral("Released under the MIT License, without warranty of any kind.");

QLabel *link_label(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setUnderline(true);
    label->setFont(font);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}
} // namespace

Tabout::Tabout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                              | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName("about");
    setWindowTitle("About");
    setFont(form_font());
    setFixedSize(387, 140);

    Label8 = new QLabel("Quelvane", this);
    Label8->setObjectName("Label8");
    QFont bold = Label8->font();
    bold.setBold(true);
    Label8->setFont(bold);
    place_label(*Label8, 7, 11, 371);

    Label5 = link_label(this, "Label5", web_address);
    place_label(*Label5, 7, 27, Label5->sizeHint().width());
    Label2 = link_label(this, "Label2", mail_address);
    place_label(*Label2, 7, 44, Label2->sizeHint().width());
    Label5->installEventFilter(this);
    Label2->installEventFilter(this);

    Label3 = new QLabel(this);
    Label3->setObjectName("Label3");
    place_label(*Label3, 8, 64, 371);

    Label1 = new QLabel(legal_notice, this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setGeometry(7, 81, 371, Label1->heightForWidth(371));

    Button1 = new QPushButton("OK", this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(291, 106, 81, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &Tabout::Button1Click);
    center_on_screen(*this);
}

void Tabout::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void Tabout::FormShow()
{
    Label3->setText(notice_prefix + QDate::currentDate().toString("yyyy"));
}

bool Tabout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == Label5) {
            Label5Click();
            return true;
        }
        if (watched == Label2) {
            Label2Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// Nothing is reported when no program takes the link.
void Tabout::Label5Click()
{
    QDesktopServices::openUrl(QUrl(web_address));
}

void Tabout::Label2Click()
{
    QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + mail_address));
}

void Tabout::Button1Click()
{
    accept();
}
