#include "DepartmentsRecord.h"

#include "FieldEncodings.h"
#include "JsonFields.h"
#include "ToolText.h"

#include <QJsonArray>

DepartmentsRecord DepartmentsRecord::decode(const uint8_t *data)
{
    DepartmentsRecord r;
    for (int i = 0; i < kDepartments; ++i)
        r.names[size_t(i)] = ReadTextField(data + i * kField, kNameLength);
    r.restaurantMode = SwitchIsOn(data[kDepartments * kField]);
    return r;
}

QByteArray DepartmentsRecord::encode() const
{
    QByteArray out(kWriteSize, '\0');
    for (int i = 0; i < kDepartments; ++i) {
        const QByteArray b = TextFieldBytes(names[size_t(i)], kNameLength);
        out.replace(i * kField, b.size(), b);
    }
    // The mode is read from the byte after the names but written one byte further on.
    out[kDepartments * kField + 1] = char(SwitchByte(restaurantMode));
    return out;
}

bool DepartmentsRecord::valid() const
{
    for (const QString &name : names)
        if (name.size() < kMinNameLength)
            return false;
    return true;
}

QJsonObject DepartmentsRecord::toJson() const
{
    QJsonArray list;
    for (int i = 0; i < kDepartments; ++i)
        list.append(QJsonObject{{"number", i + 1}, {"name", names[size_t(i)]}});
    return QJsonObject{{"departments", list}, {"restaurantMode", restaurantMode}};
}

bool DepartmentsRecord::fromJson(const QJsonValue &json, DepartmentsRecord &record, QString &error, QStringList *texts)
{
    JsonFields top(json, QStringLiteral("departments"));
    const QJsonArray list = top.array(QStringLiteral("departments"), kDepartments);
    if (top.ok() && list.size() != kDepartments)
        top.fail(QStringLiteral("departments"), ToolText::catalogueExactItems(kDepartments));
    record.restaurantMode = top.boolean(QStringLiteral("restaurantMode"));
    if (!top.ok()) {
        error = top.error();
        return false;
    }
    for (int i = 0; i < kDepartments; ++i) {
        JsonFields d(list.at(i), QStringLiteral("departments.departments[%1]").arg(i));
        if (d.integer(QStringLiteral("number"), 1, kDepartments) != i + 1 && d.ok())
            d.fail(QStringLiteral("number"), ToolText::catalogueNumberExpected(i + 1));
        const QString name = d.string(QStringLiteral("name"), kNameLength);
        if (d.ok() && name.size() < kMinNameLength)
            d.fail(QStringLiteral("name"), ToolText::catalogueNameTooShort(kMinNameLength));
        if (!d.ok()) {
            error = d.error();
            return false;
        }
        record.names[size_t(i)] = name;
        if (texts)
            texts->append(name);
    }
    return true;
}
