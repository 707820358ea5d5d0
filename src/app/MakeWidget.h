#pragma once
// Creates a child control with its object name and fixed geometry, as every group box lays them out.

#include <QRect>
#include <QWidget>

template <typename W> W *makeWidget(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}
