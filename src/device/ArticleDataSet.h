#pragma once
// The "articles" data set: the whole article table as JSON, read and written over the article chains.

#include "DataSet.h"

#include <utility>
#include <vector>

// The one instance, for the catalogue group's list of data sets.
const DataSet &articlesDataSet();

// The set's read and write over articles from..to only (1 <= from <= to <= 60000, checked by the
// caller): the read's JSON lists the differing articles within the range; the write sends only the
// range's rows, fresh ones for those the JSON does not list (entries outside the range are checked
// but not sent). Progress counts n of the range's size. The whole-table form is from 1 to 60000.
void readArticleRange(Device &device, int from, int to, const DataSet::Progress &progress, DataSet::ReadDone done);
void writeArticleRange(Device &device, const QJsonValue &data, int from, int to, const DataSet::Progress &progress,
                       DataSet::WriteDone done);

// Consecutive article numbers joined into from..to blocks: {3,4,5,9} -> {3..5, 9..9}. The numbers
// must be in ascending order.
std::vector<std::pair<int, int>> articleBlocks(const std::vector<int> &numbers);
// The numbers of the articles whose records differ between two JSON forms of the set (`base`, for
// instance an earlier read, and `data`), in order, limited to from..to. False with `error` when
// either form does not check out as the write checks it; `baseFaulty` then says which one.
bool differingArticles(const QJsonValue &base, const QJsonValue &data, int from, int to, std::vector<int> &numbers,
                       QString &error, bool &baseFaulty);
// Writes only the given blocks of `data` (the set's JSON form, checked whole before anything is
// sent): one write chain over the blocks in order, each block as writeArticleRange writes its
// range, the next one begun as soon as the device asks past the last (ArticleOps::writeBlocks).
// Progress counts acknowledged articles over all blocks. No blocks: Done, nothing sent.
void writeArticleBlocks(Device &device, const QJsonValue &data, const std::vector<std::pair<int, int>> &blocks,
                        const DataSet::Progress &progress, DataSet::WriteDone done);
