#include "DataSet.h"

const std::vector<const DataSet *> &allDataSets()
{
    static const std::vector<const DataSet *> sets = [] {
        std::vector<const DataSet *> s;
        addFiscalDataSets(s);
        addCatalogueDataSets(s);
        addMaintenanceDataSets(s);
        return s;
    }();
    return sets;
}

const DataSet *findDataSet(const QString &name)
{
    for (const DataSet *set : allDataSets())
        if (set->name() == name)
            return set;
    return nullptr;
}
