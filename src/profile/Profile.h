#pragma once
// A whole-device profile in memory: every data set as the command-line tool reads it, with where and when.

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

struct Profile {
    static constexpr const char *kFormat = "quorvel-profile";
    static constexpr int kVersion = 1;
    // The file name extension, without the dot.
    static constexpr const char *kExtension = "qvp";

    QString toolVersion;   // the tool that took it
    QDateTime taken;       // when the backup started
    QString factoryNumber; // the factory number the backup's long frames carried (may be empty)
    // False for a backup broken off by a fault or by the user: `sets` holds what was read before.
    bool complete = true;
    // Set name -> the set's JSON exactly as DataSet::read gives it ("taxpayer" -> {...}). The
    // clock is never in a profile. The logo is held here in its read form; the file stores it as PNG.
    QJsonObject sets;

    bool has(const QString &set) const { return sets.contains(set); }
    // The names in `sets`, in the order of allDataSets().
    QStringList setNames() const;
    // The printer's serial numbers from the "fiscal" set, "cash register / fiscal memory";
    // empty when the profile has no fiscal set.
    QString identity() const;
};

// Reading and writing profile files (UTF-8 JSON, extension .qvp):
//   {"format": "quorvel-profile", "version": 1, "tool": "quorvel 3.4.0", "taken": "2026-12-09T10:00:00Z",
//    "factoryNumber": "123456", "complete": true, "sets": {"taxpayer": {...}, "articles": {...}, ...}}
// Each set as `quorvel-cli read SET` prints it, except the logo: {"printed": bool, "png": "<base64>"}.
namespace ProfileFile {
// Writes `profile` to `path` atomically (a temporary file renamed over the old one); false with
// `error` in the tool's words when it could not be written (the old file is then untouched).
bool write(const Profile &profile, const QString &path, QString &error);
// The bytes write() stores: {"format": "quorvel-profile", "version": 1, ...}.
QByteArray encode(const Profile &profile);
// Reads a profile file. False with `error` saying what is wrong and where (not a profile, a newer
// version, broken JSON at which character, a set's field that does not check out) and `profile`
// untouched. Every set in the file is checked as its write would check it.
bool read(const QString &path, Profile &profile, QString &error);
bool decode(const QByteArray &bytes, Profile &profile, QString &error);
} // namespace ProfileFile
