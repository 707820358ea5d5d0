#pragma once
// The device's 60000 articles without a window: every row a record, fresh as the window's table starts.

#include "ArticleRecord.h"

#include <QJsonValue>
#include <QString>

#include <vector>

class ArticleTable {
public:
    static constexpr int kArticles = 60000;

    ArticleTable();

    // The record of article n (1..60000); a fresh one for any other number.
    const ArticleRecord &record(int n) const;
    // Stores `record` as article record.number; false (nothing stored) outside 1..60000.
    bool set(const ArticleRecord &record);
    // Every row back to a fresh one.
    void clear();
    // Numbers of the articles that differ from a fresh row, in order.
    std::vector<int> changed() const;

    // {"articles": [...]}: the articles that differ from a fresh row, in number order.
    QJsonValue toJson() const;
    // Reads that form into `table` (the articles it does not list are fresh). Every entry is
    // checked: a number of 1..60000 given once, fields within their limits, Windows-1251 text.
    // False, with the first problem naming its entry, and `table` untouched.
    static bool fromJson(const QJsonValue &json, ArticleTable &table, QString &error);

private:
    std::vector<ArticleRecord> rows_;
};
