#pragma once
// Reads the fields of a data set's JSON and says, in plain words, what is wrong and where.

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>

class JsonFields {
public:
    // `where` names the object for messages ("taxpayer", "articles[3]").
    JsonFields(const QJsonValue &value, const QString &where);

    // Each getter records the first problem and returns a neutral value; check ok() at the end.
    QString string(const QString &key, int maxLength = -1);
    qint64 integer(const QString &key, qint64 min, qint64 max);
    bool boolean(const QString &key);
    QJsonArray array(const QString &key, int maxSize = -1);
    QJsonObject object(const QString &key);
    // The same for a key that may be missing: `fallback` then.
    QString optionalString(const QString &key, const QString &fallback, int maxLength = -1);

    // Records a problem of the caller's own (a value out of its set, say).
    void fail(const QString &key, const QString &problem);
    // Every text read so far with string(): for the Windows-1251 check before anything is sent.
    const QStringList &texts() const { return texts_; }

    bool ok() const { return error_.isEmpty(); }
    // "taxpayer.address: expected a text", the first problem found.
    const QString &error() const { return error_; }

private:
    QJsonValue field(const QString &key);
    QJsonObject object_;
    QString where_;
    QString error_;
    QStringList texts_;
};
