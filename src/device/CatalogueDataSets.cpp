#include "DataSet.h"

#include "ArticleDataSet.h"

void addCatalogueDataSets(std::vector<const DataSet *> &sets)
{
    sets.push_back(&articlesDataSet());
}
