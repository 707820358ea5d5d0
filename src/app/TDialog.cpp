#include "TDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {
const QString kOk = QStringLiteral("У РЕДУ");
const QString kCancel = QStringLiteral("ОТКАЗ");
} // namespace

TDialog::TDialog(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint)
{
    setObjectName("Dialog");
    setWindowTitle(QString());
    setFixedSize(386, 137);
    setModal(true);
    QFont base("Arial", 10);

    Naslov = new QLabel(this);
    Naslov->setObjectName("Naslov");
    Naslov->setGeometry(8, 0, 361, 20);
    Naslov->setAlignment(Qt::AlignCenter);
    Naslov->setFont(base);
    Naslov->setAutoFillBackground(true);
    QPalette np = Naslov->palette();
    np.setColor(QPalette::WindowText, Qt::blue);
    np.setColor(QPalette::Window, palette().color(QPalette::Inactive, QPalette::Window));
    Naslov->setPalette(np);

    tekst = new QPlainTextEdit(this);
    tekst->setObjectName("tekst");
    tekst->setGeometry(8, 29, 361, 41);
    tekst->setReadOnly(true);
    tekst->setFrameShape(QFrame::NoFrame);
    tekst->setFont(base);
    tekst->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    tekst->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tekst->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tekst->setBackgroundVisible(false);
    QPalette tp = tekst->palette();
    tp.setColor(QPalette::Base, palette().color(QPalette::Inactive, QPalette::Window));
    tekst->setPalette(tp);

    Button1 = new QPushButton(kOk, this);
    Button1->setObjectName("Button1");
    Button1->setGeometry(152, 78, 80, 24);
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    connect(Button1, &QPushButton::clicked, this, &TDialog::Button1Click);

    Button2 = new QPushButton(kCancel, this);
    Button2->setObjectName("Button2");
    Button2->setGeometry(198, 78, 80, 24);
    Button2->setAutoDefault(false);
    Button2->setDefault(false);
    Button2->setVisible(false);
    connect(Button2, &QPushButton::clicked, this, &TDialog::Button2Click);

    setTabOrder(tekst, Button1);
    setTabOrder(Button1, Button2);
}

void TDialog::FormShow()
{
    dialogResult_ = 0;
    Button1->setText(kOk);
    Button2->setText(kCancel);
    Button2->setVisible(twoButtons_);
    Button1->move(twoButtons_ ? 103 : 152, 78);
}

void TDialog::showEvent(QShowEvent *event)
{
    FormShow();
    if (parentWidget()) {
        const QRect pr = parentWidget()->window()->frameGeometry();
        move(pr.center() - rect().center());
    }
    QDialog::showEvent(event);
    tekst->setFocus();
}

int TDialog::exec()
{
    if (responder_) {
        FormShow();
        dialogResult_ = responder_(*this) == 1 ? 1 : 0;
        return dialogResult_;
    }
    QDialog::exec();
    return dialogResult_;
}

int TDialog::ask(const QString &title, const QString &text, bool twoButtons)
{
    Naslov->setText(title);
    tekst->setPlainText(text);
    twoButtons_ = twoButtons;
    const int r = exec();
    twoButtons_ = false;
    return r;
}

void TDialog::keyPressEvent(QKeyEvent *event)
{
    // Neither button is default or cancel: Enter and Escape close nothing.
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TDialog::Button1Click()
{
    dialogResult_ = 1;
    done(1);
}

void TDialog::Button2Click()
{
    dialogResult_ = 0;
    done(0);
}
