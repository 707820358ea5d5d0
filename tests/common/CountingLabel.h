#pragma once
// A label that counts its paint events and remembers the text each one showed.

#include <QLabel>
#include <QStringList>

class CountingLabel : public QLabel {
public:
    using QLabel::QLabel;
    int paints = 0;
    QStringList painted;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        ++paints;
        painted.append(text());
        QLabel::paintEvent(e);
    }
};
