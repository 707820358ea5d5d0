#include "ArticleTable.h"

#include "JsonFields.h"
#include "ToolText.h"

#include <QJsonArray>
#include <QJsonObject>

ArticleTable::ArticleTable()
{
    clear();
}

const ArticleRecord &ArticleTable::record(int n) const
{
    static const ArticleRecord none = ArticleRecord::fresh(0);
    return n >= 1 && n <= kArticles ? rows_[size_t(n - 1)] : none;
}

bool ArticleTable::set(const ArticleRecord &record)
{
    if (record.number < 1 || record.number > kArticles)
        return false;
    rows_[size_t(record.number - 1)] = record;
    return true;
}

void ArticleTable::clear()
{
    rows_.clear();
    rows_.reserve(kArticles);
    for (int n = 1; n <= kArticles; ++n)
        rows_.push_back(ArticleRecord::fresh(n));
}

std::vector<int> ArticleTable::changed() const
{
    std::vector<int> out;
    for (const ArticleRecord &r : rows_)
        if (!r.isFresh())
            out.push_back(r.number);
    return out;
}

QJsonValue ArticleTable::toJson() const
{
    QJsonArray list;
    for (int n : changed())
        list.append(record(n).toJson());
    return QJsonObject{{QStringLiteral("articles"), list}};
}

bool ArticleTable::fromJson(const QJsonValue &json, ArticleTable &table, QString &error)
{
    JsonFields top(json, QStringLiteral("articles"));
    const QJsonArray list = top.array(QStringLiteral("articles"), kArticles);
    if (!top.ok()) {
        error = top.error();
        return false;
    }
    ArticleTable read;
    // The entry that gave each number, to name it when another entry repeats the number.
    std::vector<int> givenBy(size_t(kArticles) + 1, -1);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString where = QStringLiteral("articles[%1]").arg(i);
        ArticleRecord r;
        if (!ArticleRecord::fromJson(list.at(i), where, r, error))
            return false;
        int &first = givenBy[r.number];
        if (first >= 0) {
            error = QStringLiteral("%1.number: %2")
                        .arg(where, ToolText::JsonArticleRepeated(QStringLiteral("articles[%1]").arg(first)));
            return false;
        }
        first = int(i);
        read.set(r);
    }
    table = std::move(read);
    return true;
}
