#pragma once
// The factory number that long frames carry, read from the first line of "fkase.ini".

#include <QString>

class FactoryNumberFile {
public:
    // Reads the first line of `path` (by default "fkase.ini" in the current directory). A missing
    // or unreadable file gives an empty number; `note` then says why, as it does for a first line
    // that is no number of at most six digits (the number is still the line as it stands).
    static FactoryNumberFile read(const QString &path = QStringLiteral("fkase.ini"));

    QString number;
    // Empty when the number is the file's own, as it should be.
    QString note;
    // The file exists but could not be read; `reason` is the system's words for it.
    bool unreadable = false;
    QString reason;
};
