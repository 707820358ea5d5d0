#include "ProfileComparison.h"

#include "ArticleRecord.h"
#include "DataSet.h"
#include "LogoBitmap.h"
#include "ToolText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <map>
#include <set>

namespace {

// How many differing articles are shown with their values, and how many numbers are listed.
constexpr int kArticlesShown = 5;
constexpr int kNumbersListed = 20;

QString shown(const QJsonValue &v)
{
    switch (v.type()) {
    case QJsonValue::String:
        return QStringLiteral("„%1“").arg(v.toString());
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Undefined:
        return ToolText::compareMissingValue();
    case QJsonValue::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(v.toDouble(), 'g', 17);
    case QJsonValue::Array:
        return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
    case QJsonValue::Object:
        return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
    }
    return {};
}

// One line per differing leaf, "path: profile → device". List entries that carry a "number" are
// named by it ("cashiers 4.name"), the others by their place ("groups[2].rate").
void diff(const QString &path, const QJsonValue &a, const QJsonValue &b, QStringList &out)
{
    const auto join = [&path](const QString &key) { return path.isEmpty() ? key : path + QLatin1Char('.') + key; };
    if (a.isObject() && b.isObject()) {
        const QJsonObject oa = a.toObject(), ob = b.toObject();
        std::set<QString> keys;
        for (auto it = oa.begin(); it != oa.end(); ++it)
            keys.insert(it.key());
        for (auto it = ob.begin(); it != ob.end(); ++it)
            keys.insert(it.key());
        for (const QString &key : keys)
            diff(join(key), oa.value(key), ob.value(key), out);
        return;
    }
    if (a.isArray() && b.isArray()) {
        const QJsonArray la = a.toArray(), lb = b.toArray();
        for (qsizetype i = 0; i < std::max(la.size(), lb.size()); ++i) {
            const QJsonValue ea = i < la.size() ? la.at(i) : QJsonValue(QJsonValue::Undefined);
            const QJsonValue eb = i < lb.size() ? lb.at(i) : QJsonValue(QJsonValue::Undefined);
            const QJsonValue na = ea.toObject().value(QStringLiteral("number"));
            const QString where = na.isDouble() && na == eb.toObject().value(QStringLiteral("number"))
                                      ? path + QLatin1Char(' ') + QString::number(na.toInteger())
                                      : path + QStringLiteral("[%1]").arg(i);
            diff(where, ea, eb, out);
        }
        return;
    }
    if (a != b)
        out << QStringLiteral("%1: %2 → %3").arg(path, shown(a), shown(b));
}

// The articles of a set's JSON by number (the rows not listed are fresh).
std::map<int, QJsonObject> articlesByNumber(const QJsonValue &set)
{
    std::map<int, QJsonObject> rows;
    for (const QJsonValue &v : set.toObject().value(QStringLiteral("articles")).toArray()) {
        const QJsonObject o = v.toObject();
        rows[int(o.value(QStringLiteral("number")).toInteger())] = o;
    }
    return rows;
}

void compareArticles(const QJsonValue &saved, const QJsonValue &device, SetComparison &out)
{
    const std::map<int, QJsonObject> a = articlesByNumber(saved), b = articlesByNumber(device);
    std::set<int> numbers;
    for (const auto &row : a)
        numbers.insert(row.first);
    for (const auto &row : b)
        numbers.insert(row.first);
    QStringList shownLines;
    for (const int n : numbers) {
        const QJsonObject fresh = ArticleRecord::fresh(n).toJson();
        const auto ia = a.find(n), ib = b.find(n);
        const QJsonObject ra = ia != a.end() ? ia->second : fresh;
        const QJsonObject rb = ib != b.end() ? ib->second : fresh;
        QStringList fields;
        diff({}, ra, rb, fields);
        if (fields.isEmpty())
            continue;
        out.articleNumbers.push_back(n);
        if (int(out.articleNumbers.size()) <= kArticlesShown)
            shownLines << ToolText::compareArticleLine(n, fields.join(QStringLiteral("; ")));
    }
    if (out.articleNumbers.empty())
        return;
    QStringList listed;
    for (size_t i = 0; i < out.articleNumbers.size() && int(i) < kNumbersListed; ++i)
        listed << QString::number(out.articleNumbers[i]);
    if (int(out.articleNumbers.size()) > kNumbersListed)
        listed << QStringLiteral("…");
    out.differences << ToolText::compareArticlesCount(int(out.articleNumbers.size()),
                                                      listed.join(QStringLiteral(", ")));
    out.differences << shownLines;
}

void compareLogo(const QJsonValue &saved, const QJsonValue &device, SetComparison &out)
{
    const QJsonObject a = saved.toObject(), b = device.toObject();
    diff(QStringLiteral("printed"), a.value(QStringLiteral("printed")), b.value(QStringLiteral("printed")),
         out.differences);
    const QJsonArray ra = a.value(QStringLiteral("rows")).toArray(), rb = b.value(QStringLiteral("rows")).toArray();
    int dots = 0;
    for (int y = 0; y < LogoBitmap::kHeight; ++y) {
        const QString la = ra.at(y).toString(), lb = rb.at(y).toString();
        for (int x = 0; x < LogoBitmap::kWidth; ++x)
            if ((x < la.size() ? la.at(x) : QChar()) != (x < lb.size() ? lb.at(x) : QChar()))
                ++dots;
    }
    if (dots > 0)
        out.differences << ToolText::compareLogoDots(dots);
}

} // namespace

bool ProfileComparison::equal() const
{
    for (const SetComparison &s : sets)
        if (s.state != SetComparison::State::Equal && s.state != SetComparison::State::NotInProfile)
            return false;
    return true;
}

QString ProfileComparison::text() const
{
    QString out;
    if (!identityNote.isEmpty())
        out += identityNote + QLatin1Char('\n');
    for (const SetComparison &s : sets) {
        QString state;
        switch (s.state) {
        case SetComparison::State::Equal:
            state = ToolText::compareEqual();
            break;
        case SetComparison::State::Different:
            state = ToolText::compareDifferent();
            break;
        case SetComparison::State::NotInProfile:
            state = ToolText::compareNotInProfile();
            break;
        case SetComparison::State::NotRead:
            state = ToolText::compareNotRead();
            break;
        }
        out += QStringLiteral("%1: %2\n").arg(s.set, state);
        for (const QString &line : s.differences)
            out += QStringLiteral("  ") + line + QLatin1Char('\n');
    }
    return out;
}

ProfileComparison compareProfiles(const Profile &saved, const Profile &device)
{
    ProfileComparison result;
    const QString a = saved.identity(), b = device.identity();
    if (!a.isEmpty() && !b.isEmpty() && a != b)
        result.identityNote = ToolText::compareOtherPrinter(a, b);
    for (const DataSet *set : allDataSets()) {
        const QString name = set->name();
        // The identity is written once and the clock is never kept: neither is a difference.
        if (!set->writable() || name == QStringLiteral("clock"))
            continue;
        const bool inSaved = saved.has(name), inDevice = device.has(name);
        if (!inSaved && !inDevice)
            continue;
        SetComparison c;
        c.set = name;
        if (!inSaved) {
            c.state = SetComparison::State::NotInProfile;
        } else if (!inDevice) {
            c.state = SetComparison::State::NotRead;
        } else {
            const QJsonValue va = saved.sets.value(name), vb = device.sets.value(name);
            if (name == QStringLiteral("articles")) {
                compareArticles(va, vb, c);
            } else if (name == QStringLiteral("logo")) {
                compareLogo(va, vb, c);
            } else if (name == QStringLiteral("taxgroups")) {
                // The remaining changes and the date of the last change are the device's own.
                diff(QStringLiteral("groups"), va.toObject().value(QStringLiteral("groups")),
                     vb.toObject().value(QStringLiteral("groups")), c.differences);
            } else {
                diff({}, va, vb, c.differences);
            }
            c.state = c.differences.isEmpty() ? SetComparison::State::Equal : SetComparison::State::Different;
        }
        result.sets.push_back(c);
    }
    return result;
}
