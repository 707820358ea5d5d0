#pragma once
// The "articles" data set: the whole article table as JSON, read and written over the article chains.

#include "DataSet.h"

// The one instance, for the catalogue group's list of data sets.
const DataSet &articlesDataSet();

// The set's read and write over articles from..to only (1 <= from <= to <= 60000, checked by the
// caller): the read's JSON lists the differing articles within the range; the write sends only the
// range's rows, fresh ones for those the JSON does not list (entries outside the range are checked
// but not sent). Progress counts n of the range's size. The whole-table form is from 1 to 60000.
void readArticleRange(Device &device, int from, int to, const DataSet::Progress &progress, DataSet::ReadDone done);
void writeArticleRange(Device &device, const QJsonValue &data, int from, int to, const DataSet::Progress &progress,
                       DataSet::WriteDone done);
