#include "Profile.h"

#include "DataSet.h"

QStringList Profile::setNames() const
{
    QStringList names;
    for (const DataSet *set : allDataSets())
        if (sets.contains(set->name()))
            names << set->name();
    return names;
}

QString Profile::identity() const
{
    const QJsonObject fiscal = sets.value(QStringLiteral("fiscal")).toObject();
    if (fiscal.isEmpty())
        return {};
    return fiscal.value(QStringLiteral("cashRegisterSerial")).toString() + QStringLiteral(" / ") +
           fiscal.value(QStringLiteral("fiscalMemorySerial")).toString();
}
