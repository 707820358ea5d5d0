#include "DataSet.h"

void addMaintenanceDataSets(std::vector<const DataSet *> &sets)
{
    Q_UNUSED(sets);
}
