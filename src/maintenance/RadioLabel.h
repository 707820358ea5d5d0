#pragma once
// Caption label standing beside a radio button; a click on the caption chooses the button.

#include <QLabel>
#include <QPointer>

class QRadioButton;

class RadioLabel : public QLabel {
    Q_OBJECT
public:
    RadioLabel(QRadioButton *button, QWidget *parent);

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QPointer<QRadioButton> button_;
};
