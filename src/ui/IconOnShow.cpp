#include "IconOnShow.h"

#include <QAbstractButton>
#include <QEvent>

namespace {
class IconOnShow : public QObject {
public:
    IconOnShow(QAbstractButton *button, std::function<QIcon(QAbstractButton *)> icon)
        : QObject(button), button_(button), icon_(std::move(icon))
    {
        button->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The show event comes before the button's first paint.
        if (watched == button_ && event->type() == QEvent::Show) {
            button_->removeEventFilter(this);
            button_->setIcon(icon_(button_));
            deleteLater();
        }
        return false;
    }

private:
    QAbstractButton *button_;
    std::function<QIcon(QAbstractButton *)> icon_;
};
} // namespace

void setIconOnFirstShow(QAbstractButton *button, std::function<QIcon(QAbstractButton *)> icon)
{
    if (button->isVisible())
        button->setIcon(icon(button));
    else
        new IconOnShow(button, std::move(icon));
}
