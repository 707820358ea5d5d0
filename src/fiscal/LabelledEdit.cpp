#include "LabelledEdit.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace {
LabelledEdit *helperOf(QLineEdit *edit)
{
    return edit->findChild<LabelledEdit *>(QString(), Qt::FindDirectChildrenOnly);
}
} // namespace

LabelledEdit::LabelledEdit(QLineEdit *edit, QLabel *label, int typingLimit, bool labelFollowsEnabled)
    : QObject(edit), edit_(edit), label_(label), typingLimit_(typingLimit)
{
    if (labelFollowsEnabled)
        edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, &LabelledEdit::onEdited);
}

QLineEdit *LabelledEdit::create(QWidget *parent, const char *name, const QString &caption, const QPoint &labelPos,
                                const QRect &editRect, int maxLength, bool labelFollowsEnabled)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Label"));
    label->move(labelPos);
    label->adjustSize();
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(editRect);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    label->setBuddy(edit);
    new LabelledEdit(edit, label, maxLength > 0 ? maxLength : edit->maxLength(), labelFollowsEnabled);
    return edit;
}

QLabel *LabelledEdit::labelOf(QLineEdit *edit)
{
    LabelledEdit *h = helperOf(edit);
    return h ? h->label_ : nullptr;
}

void LabelledEdit::setTextUncut(QLineEdit *edit, const QString &text)
{
    LabelledEdit *h = helperOf(edit);
    const int limit = h ? h->typingLimit_ : edit->maxLength();
    edit->setMaxLength(std::max<int>(limit, int(text.size())));
    edit->setText(text);
}

void LabelledEdit::onEdited()
{
    // A text longer than the limit came from the device; typing may shorten it but not lengthen it.
    const int allowed = std::max<int>(typingLimit_, int(edit_->text().size()));
    if (allowed < edit_->maxLength())
        edit_->setMaxLength(allowed);
}

bool LabelledEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edit_ && event->type() == QEvent::EnabledChange)
        label_->setEnabled(edit_->isEnabled());
    return QObject::eventFilter(watched, event);
}
