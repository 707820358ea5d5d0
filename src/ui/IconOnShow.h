#pragma once
// Gives a button its icon the first time the button is shown. Looking up a desktop theme's icon
// searches the machine's icon folders, which costs more than building a whole page; the buttons of
// the pages that start hidden need theirs only once their page opens, not before the window appears.

#include <QIcon>

#include <functional>

class QAbstractButton;

void setIconOnFirstShow(QAbstractButton *button, std::function<QIcon(QAbstractButton *)> icon);
