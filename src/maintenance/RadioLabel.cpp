#include "RadioLabel.h"

#include <QMouseEvent>
#include <QRadioButton>

RadioLabel::RadioLabel(QRadioButton *button, QWidget *parent) : QLabel(parent), button_(button)
{
    setBuddy(button);
}

void RadioLabel::mousePressEvent(QMouseEvent *event)
{
    if (button_ && button_->isEnabled() && event->button() == Qt::LeftButton) {
        button_->setChecked(true);
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}
