#pragma once
// A length limit for what the user types or pastes into a line edit; text the program puts in
// (from the device, a file, the scanner or the grid) is never cut by it.

#include <QObject>
#include <QString>

class QLineEdit;

class TypingLimit : public QObject {
    Q_OBJECT
public:
    // Limits typing in `edit` to `limit` characters.
    static void install(QLineEdit *edit, int limit);
    // Puts a text into the edit whole, however long. Typing may then shorten it but not lengthen
    // it, and once it is within the limit the limit holds again.
    static void setText(QLineEdit *edit, const QString &text);
    // The typing limit of `edit` (its plain length limit when none was installed).
    static int limitOf(const QLineEdit *edit);

private:
    TypingLimit(QLineEdit *edit, int limit);
    void follow(const QString &text);

    QLineEdit *edit_;
    int limit_;
};
