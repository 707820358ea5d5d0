#pragma once
// Creates a child control with its object name and fixed geometry, as every group box lays them out.

#include <QColor>
#include <QPalette>
#include <QRect>
#include <QWidget>

#include <initializer_list>

template <typename W> W *makeWidget(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(geometry);
    return w;
}

// Gives a control (and the children that inherit its palette) a colour for the enabled look only:
// disabled controls keep the greyed colours of the platform, so they look disabled.
inline void setEnabledColour(QWidget *w, std::initializer_list<QPalette::ColorRole> roles, const QColor &colour)
{
    QPalette p = w->palette();
    for (QPalette::ColorRole role : roles)
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            p.setColor(group, role, colour);
    w->setPalette(p);
}
