#include "TypingLimit.h"

#include <QLineEdit>

namespace {
TypingLimit *limitObjectOf(const QLineEdit *edit)
{
    return edit->findChild<TypingLimit *>(QString(), Qt::FindDirectChildrenOnly);
}
} // namespace

TypingLimit::TypingLimit(QLineEdit *edit, int limit) : QObject(edit), edit_(edit), limit_(limit)
{
    connect(edit, &QLineEdit::textChanged, this, &TypingLimit::follow);
    follow(edit->text());
}

void TypingLimit::install(QLineEdit *edit, int limit)
{
    if (TypingLimit *existing = limitObjectOf(edit)) {
        existing->limit_ = limit;
        existing->follow(edit->text());
        return;
    }
    new TypingLimit(edit, limit);
}

void TypingLimit::setText(QLineEdit *edit, const QString &text)
{
    // Qt cuts a text to the edit's length limit, also when the program sets it: make room first.
    if (edit->maxLength() < text.size())
        edit->setMaxLength(int(text.size()));
    edit->setText(text);
    if (TypingLimit *l = limitObjectOf(edit))
        l->follow(edit->text());
}

int TypingLimit::limitOf(const QLineEdit *edit)
{
    const TypingLimit *l = limitObjectOf(edit);
    return l ? l->limit_ : edit->maxLength();
}

void TypingLimit::follow(const QString &text)
{
    // After any change the edit takes no more than the limit, or than a longer text it now holds.
    edit_->setMaxLength(std::max<int>(limit_, int(text.size())));
}
