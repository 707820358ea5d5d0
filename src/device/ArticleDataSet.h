#pragma once
// The "articles" data set: the whole article table as JSON, read and written over the article chains.

class DataSet;

// The one instance, for the catalogue group's list of data sets.
const DataSet &articlesDataSet();
