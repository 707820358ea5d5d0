#include "Profile.h"

#include "DataSet.h"
#include "LogoBitmap.h"
#include "LogoPng.h"
#include "ToolText.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSaveFile>

#include <cmath>

namespace {

const QString kLogo = QStringLiteral("logo");
// The largest profile file read: 60000 articles with every field filled take about 12 MB.
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;

// The logo's read form {"printed", "rows"} as the file holds it: {"printed", "png"}.
QJsonObject logoToFile(const QJsonObject &logo)
{
    LogoBitmap bitmap;
    QStringList rows;
    for (const QJsonValue &v : logo.value(QStringLiteral("rows")).toArray())
        rows << v.toString();
    if (!LogoBitmap::fromRows(rows, bitmap))
        return logo; // not a read form after all: kept as it is, and checked when read back
    return QJsonObject{{QStringLiteral("printed"), logo.value(QStringLiteral("printed"))},
                       {QStringLiteral("png"), QString::fromLatin1(LogoPng::encode(bitmap).toBase64())}};
}

// The file's logo back to its read form; a file may also hold the read form itself.
bool logoFromFile(const QJsonValue &value, QJsonObject &logo, QString &error)
{
    const QJsonObject o = value.toObject();
    if (!value.isObject() || !o.contains(QStringLiteral("png"))) {
        logo = o;
        return true;
    }
    const QJsonValue png = o.value(QStringLiteral("png"));
    const auto decoded =
        QByteArray::fromBase64Encoding(png.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!png.isString() || !decoded) {
        error = QStringLiteral("logo.png: ") + ToolText::profilePngNotBase64();
        return false;
    }
    LogoBitmap bitmap;
    QString why;
    if (!LogoPng::decode(*decoded, bitmap, why)) {
        error = QStringLiteral("logo.png: ") + why;
        return false;
    }
    logo = QJsonObject{{QStringLiteral("printed"), o.value(QStringLiteral("printed"))},
                       {QStringLiteral("rows"), QJsonArray::fromStringList(bitmap.rows())}};
    for (auto it = o.begin(); it != o.end(); ++it)
        if (it.key() != QStringLiteral("printed") && it.key() != QStringLiteral("png"))
            logo.insert(it.key(), it.value()); // left for the check to name
    return true;
}

// Line and column (both from 1) of a byte offset into UTF-8 text.
void lineAndColumn(const QByteArray &bytes, qsizetype offset, int &line, int &column)
{
    line = 1;
    column = 1;
    offset = std::min(offset, bytes.size());
    for (qsizetype i = 0; i < offset; ++i) {
        const auto c = uchar(bytes.at(i));
        if (c == '\n') {
            ++line;
            column = 1;
        } else if ((c & 0xC0) != 0x80) { // continuation bytes belong to the character before
            ++column;
        }
    }
}

} // namespace

namespace ProfileFile {

QByteArray encode(const Profile &profile)
{
    QJsonObject sets;
    for (auto it = profile.sets.begin(); it != profile.sets.end(); ++it)
        sets.insert(it.key(), it.key() == kLogo ? QJsonValue(logoToFile(it.value().toObject())) : it.value());
    const QJsonObject top{{QStringLiteral("format"), QString::fromLatin1(Profile::kFormat)},
                          {QStringLiteral("version"), Profile::kVersion},
                          {QStringLiteral("tool"), profile.toolVersion},
                          {QStringLiteral("taken"), profile.taken.toUTC().toString(Qt::ISODate)},
                          {QStringLiteral("factoryNumber"), profile.factoryNumber},
                          {QStringLiteral("complete"), profile.complete},
                          {QStringLiteral("sets"), sets}};
    return QJsonDocument(top).toJson(QJsonDocument::Indented);
}

bool decode(const QByteArray &bytes, Profile &profile, QString &error)
{
    const auto refuse = [&error](const QString &why) {
        error = why;
        return false;
    };
    QJsonParseError parse{};
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        int line = 0, column = 0;
        lineAndColumn(bytes, parse.offset, line, column);
        return refuse(ToolText::profileNotJson(parse.errorString(), line, column));
    }
    const QJsonObject top = doc.object();
    if (!doc.isObject() || top.value(QStringLiteral("format")) != QString::fromLatin1(Profile::kFormat))
        return refuse(ToolText::profileNotAProfile());
    const QJsonValue version = top.value(QStringLiteral("version"));
    const double v = version.toDouble(-1);
    // A version is a small whole number; a fraction or a number past any version is none (and
    // could not be converted to an integer at all).
    if (!version.isDouble() || !(v >= 1 && v <= 1e9) || v != std::floor(v))
        return refuse(ToolText::profileBadField(QStringLiteral("version"), ToolText::JsonWholeNumber(1, 1)));
    if (v > Profile::kVersion)
        return refuse(ToolText::profileNewerVersion(qint64(v), Profile::kVersion));

    Profile out;
    const QJsonValue tool = top.value(QStringLiteral("tool"));
    const QJsonValue taken = top.value(QStringLiteral("taken"));
    const QJsonValue factory = top.value(QStringLiteral("factoryNumber"));
    const QJsonValue complete = top.value(QStringLiteral("complete"));
    const QJsonValue sets = top.value(QStringLiteral("sets"));
    if (!tool.isString())
        return refuse(ToolText::profileBadField(QStringLiteral("tool"), ToolText::JsonExpectedText()));
    out.toolVersion = tool.toString();
    out.taken = QDateTime::fromString(taken.toString(), Qt::ISODate);
    // The time is written back in UTC, which can carry a time at the calendar's edges past year
    // 9999 or before year 1, where it has no written form; such a time is none.
    const int takenYear = out.taken.toUTC().date().year();
    if (!taken.isString() || !out.taken.isValid() || takenYear < 1 || takenYear > 9999)
        return refuse(ToolText::profileBadField(QStringLiteral("taken"), ToolText::profileExpectedTime()));
    if (!factory.isUndefined() && !factory.isString())
        return refuse(ToolText::profileBadField(QStringLiteral("factoryNumber"), ToolText::JsonExpectedText()));
    out.factoryNumber = factory.toString();
    if (!complete.isBool())
        return refuse(ToolText::profileBadField(QStringLiteral("complete"), ToolText::JsonTrueOrFalse()));
    out.complete = complete.toBool();
    if (!sets.isObject())
        return refuse(ToolText::profileBadField(QStringLiteral("sets"), ToolText::JsonExpectedObject()));

    const QJsonObject inFile = sets.toObject();
    for (auto it = inFile.begin(); it != inFile.end(); ++it) {
        const DataSet *set = findDataSet(it.key());
        // The clock is never kept: a profile restored later would set a time long past.
        if (!set || it.key() == QStringLiteral("clock"))
            return refuse(ToolText::profileUnknownSet(it.key()));
        QJsonValue data = it.value();
        QString why;
        if (it.key() == kLogo) {
            QJsonObject logo;
            if (!logoFromFile(data, logo, why))
                return refuse(ToolText::profileSetInvalid(it.key(), why));
            data = logo;
        }
        if (!set->check(data, why))
            return refuse(ToolText::profileSetInvalid(it.key(), why));
        out.sets.insert(it.key(), data);
    }
    profile = out;
    return true;
}

bool write(const Profile &profile, const QString &path, QString &error)
{
    QSaveFile file(path);
    const QByteArray bytes = encode(profile);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        error = ToolText::profileFileUnwritable(path, file.errorString());
        return false;
    }
    return true;
}

bool read(const QString &path, Profile &profile, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = ToolText::profileFileUnreadable(path, file.errorString());
        return false;
    }
    if (file.size() > kMaxFileBytes) {
        error = ToolText::profileInFile(path, ToolText::profileTooBig(int(kMaxFileBytes / (1024 * 1024))));
        return false;
    }
    const QByteArray bytes = file.read(kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        error = ToolText::profileFileUnreadable(path, file.errorString());
        return false;
    }
    if (bytes.size() > kMaxFileBytes) {
        error = ToolText::profileInFile(path, ToolText::profileTooBig(int(kMaxFileBytes / (1024 * 1024))));
        return false;
    }
    QString why;
    if (!decode(bytes, profile, why)) {
        error = ToolText::profileInFile(path, why);
        return false;
    }
    return true;
}

} // namespace ProfileFile
