#pragma once
// An edit with its caption label ("<edit>Label"); the label greys out with the edit unless told otherwise.

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

class LabelledEdit : public QObject {
    Q_OBJECT
public:
    // Creates the label at `labelPos` and the edit at `editRect`, both children of `parent`.
    // `maxLength` limits typing (0 for no limit).
    static QLineEdit *create(QWidget *parent, const char *name, const QString &caption, const QPoint &labelPos,
                             const QRect &editRect, int maxLength, bool labelFollowsEnabled = true);
    static QLabel *labelOf(QLineEdit *edit);

    // Puts a text from the device into the edit without cutting it to the typing limit; once the
    // user shortens it, the limit applies again.
    static void setTextUncut(QLineEdit *edit, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    LabelledEdit(QLineEdit *edit, QLabel *label, int typingLimit, bool labelFollowsEnabled);
    void onEdited();

    QLineEdit *edit_;
    QLabel *label_;
    int typingLimit_;
};
