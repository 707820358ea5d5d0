#include "JsonFields.h"

#include "ToolText.h"

#include <cmath>

JsonFields::JsonFields(const QJsonValue &value, const QString &where) : where_(where)
{
    if (value.isObject())
        object_ = value.toObject();
    else
        error_ = QStringLiteral("%1: %2").arg(where, ToolText::JsonExpectedObject());
}

QJsonValue JsonFields::field(const QString &key)
{
    if (!error_.isEmpty())
        return {};
    const QJsonValue v = object_.value(key);
    if (v.isUndefined())
        fail(key, ToolText::JsonMissing());
    return v;
}

void JsonFields::fail(const QString &key, const QString &problem)
{
    if (error_.isEmpty())
        error_ = QStringLiteral("%1.%2: %3").arg(where_, key, problem);
}

QString JsonFields::string(const QString &key, int maxLength)
{
    const QJsonValue v = field(key);
    if (v.isUndefined())
        return {};
    if (!v.isString()) {
        fail(key, ToolText::JsonExpectedText());
        return {};
    }
    const QString s = v.toString();
    if (maxLength >= 0 && s.size() > maxLength) {
        fail(key, ToolText::JsonTooLong(maxLength));
        return {};
    }
    texts_.append(s);
    return s;
}

QString JsonFields::optionalString(const QString &key, const QString &fallback, int maxLength)
{
    if (error_.isEmpty() && !object_.contains(key))
        return fallback;
    return string(key, maxLength);
}

qint64 JsonFields::integer(const QString &key, qint64 min, qint64 max)
{
    const QJsonValue v = field(key);
    if (v.isUndefined())
        return min;
    const double d = v.toDouble();
    // The range is checked before the conversion: a number past what qint64 holds (1e24 in a
    // hand-edited file) has no integer value at all.
    if (!v.isDouble() || !(d >= double(min) && d <= double(max)) || std::abs(d) >= 0x1p63 || d != std::floor(d)) {
        fail(key, ToolText::JsonWholeNumber(min, max));
        return min;
    }
    return qint64(d);
}

bool JsonFields::boolean(const QString &key)
{
    const QJsonValue v = field(key);
    if (v.isUndefined())
        return false;
    if (!v.isBool()) {
        fail(key, ToolText::JsonTrueOrFalse());
        return false;
    }
    return v.toBool();
}

QJsonArray JsonFields::array(const QString &key, int maxSize)
{
    const QJsonValue v = field(key);
    if (v.isUndefined())
        return {};
    if (!v.isArray()) {
        fail(key, ToolText::JsonExpectedList());
        return {};
    }
    const QJsonArray a = v.toArray();
    if (maxSize >= 0 && a.size() > maxSize) {
        fail(key, ToolText::JsonTooMany(maxSize));
        return {};
    }
    return a;
}

QJsonObject JsonFields::object(const QString &key)
{
    const QJsonValue v = field(key);
    if (v.isUndefined())
        return {};
    if (!v.isObject()) {
        fail(key, ToolText::JsonExpectedObject());
        return {};
    }
    return v.toObject();
}
