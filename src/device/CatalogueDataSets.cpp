#include "DataSet.h"

void addCatalogueDataSets(std::vector<const DataSet *> &sets)
{
    Q_UNUSED(sets);
}
