#include "TDialog.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QWindow>

#include <algorithm>

namespace {
const QString kOk = QStringLiteral("У РЕДУ");
const QString kCancel = QStringLiteral("ОТКАЗ");
// Lines of text the box shows without scrolling: enough for the longest question of the tool.
constexpr int kVisibleLines = 3;
constexpr int kTextMargin = 1;
// An empty window title makes the platform show the program's name instead; a lone zero-width
// space is a title that shows nothing.
const QString kBlankCaption = QStringLiteral("\u200B");
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

    tekst = new QTextEdit(this);
    tekst->setObjectName("tekst");
    tekst->setGeometry(8, 29, 361, 41);
    tekst->setReadOnly(true);
    tekst->setAcceptRichText(false);
    tekst->setFrameShape(QFrame::NoFrame);
    tekst->setFont(base);
    tekst->setLineWrapMode(QTextEdit::WidgetWidth);
    tekst->document()->setDocumentMargin(kTextMargin);
    // A text longer than the box (a list of device errors) can be scrolled; a short one shows no bar.
    tekst->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tekst->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Callers put the text in directly, also while the dialog is open.
    connect(tekst, &QTextEdit::textChanged, this, &TDialog::fitLinesToTextBox);
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
    fitLinesToTextBox();
}

void TDialog::fitLinesToTextBox()
{
    // Arial 10 needs 15 pixels a line, so three lines would overflow the 41-pixel box. Lines as
    // close as the capitals allow keep the longest question readable whole.
    const QFontMetrics fm(tekst->font());
    const int room = (tekst->height() - 2 * kTextMargin) / kVisibleLines;
    const int lineHeight = std::min(fm.lineSpacing(), std::max(room, fm.ascent() + 1));
    const QSignalBlocker quiet(tekst); // the format change is no new text
    QTextBlockFormat format;
    format.setLineHeight(lineHeight, QTextBlockFormat::FixedHeight);
    QTextCursor all(tekst->document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(format);
    tekst->moveCursor(QTextCursor::Start);
}

void TDialog::showEvent(QShowEvent *event)
{
    FormShow();
    if (QWindow *w = windowHandle())
        w->setTitle(kBlankCaption);
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
