#include "SimCatalogue.h"

#include "Cp1251.h"

#include <QJsonArray>

namespace {
constexpr uint8_t kReadTaxGroups = 0x70;
constexpr uint8_t kWriteTaxGroups = 0x75;
constexpr uint8_t kReadDepartments = 0xA0;
constexpr uint8_t kWriteDepartments = 0xA5;
constexpr int kTaxWriteLength = 29;
constexpr int kDepartmentWriteLength = 192;
constexpr uint16_t kUndefined = 0xFFFF;
constexpr uint16_t kFirstUndefined = 10000;
} // namespace

SimCatalogue::SimCatalogue()
{
    rates_.fill(kUndefined);
    rates_[0] = 2000;
    rates_[1] = 1000;
    rates_[2] = 0;
    for (int n = 1; n <= kDepartments; ++n)
        setDepartmentName(n, QStringLiteral("Одељење %1").arg(n));
}

QString SimCatalogue::departmentName(int n) const
{
    const QByteArray &f = departments_.at(size_t(n - 1));
    const qsizetype end = f.indexOf('\0');
    return Cp1251::decode(end < 0 ? f : f.left(end));
}

void SimCatalogue::setDepartmentName(int n, const QString &name)
{
    QByteArray f = Cp1251::encode(name).left(kNameField);
    f.append(QByteArray(kNameField - f.size(), '\0'));
    departments_.at(size_t(n - 1)) = f;
}

bool SimCatalogue::handle(SimulatedDevice &, const SimRequest &request, QByteArray &reply)
{
    if (request.longFrame)
        return false;
    switch (request.code) {
    case kReadTaxGroups:
        reply = readTaxGroups();
        return true;
    case kWriteTaxGroups:
        reply = writeTaxGroups(request);
        return true;
    case kReadDepartments:
        reply = readDepartments();
        return true;
    case kWriteDepartments:
        reply = writeDepartments(request);
        return true;
    default:
        return false;
    }
}

QByteArray SimCatalogue::readTaxGroups() const
{
    QByteArray d;
    for (uint16_t r : rates_)
        d.append(char(r & 0xFF)).append(char(r >> 8));
    d.append('\0'); // not used
    const bool known = lastChange_.isValid();
    const QDate date = lastChange_.date();
    const QTime time = lastChange_.time();
    d.append(char(known ? date.day() : 0));
    d.append(char(known ? date.month() : 0));
    d.append(char(known ? date.year() - 1900 : 0));
    d.append(char(changeCount_));
    d.append(char(known ? time.hour() : 0));
    d.append(char(known ? time.minute() : 0));
    return SimulatedDevice::shortReply(kReadTaxGroups, d);
}

QByteArray SimCatalogue::writeTaxGroups(const SimRequest &request)
{
    if (request.data.size() != kTaxWriteLength || request.byte(19) != kGroups)
        return SimulatedDevice::errorReply(kErrorWrongParameter);
    std::array<uint16_t, kGroups> rates{};
    for (int i = 0; i < kGroups; ++i) {
        rates[size_t(i)] = uint16_t(request.byte(2 * i) | (request.byte(2 * i + 1) << 8));
        if (rates[size_t(i)] >= kFirstUndefined && rates[size_t(i)] != kUndefined)
            return SimulatedDevice::errorReply(kErrorWrongParameter);
    }
    if (changeCount_ != kNeverChanged && changeCount_ >= kMaxChanges)
        return SimulatedDevice::errorReply(kErrorRatesFull);
    if (rates == rates_)
        return SimulatedDevice::errorReply(kErrorSameRates);
    rates_ = rates;
    letters_ = request.data.mid(20, kGroups);
    changeCount_ = changeCount_ == kNeverChanged ? 1 : uint8_t(changeCount_ + 1);
    lastChange_ = clock_ ? clock_() : QDateTime::currentDateTime();
    return SimulatedDevice::ack();
}

QByteArray SimCatalogue::readDepartments() const
{
    QByteArray d;
    for (const QByteArray &f : departments_)
        d.append(f);
    d.append(char(restaurantMode_ ? 0xCC : 0x33));
    return SimulatedDevice::shortReply(kReadDepartments, d);
}

QByteArray SimCatalogue::writeDepartments(const SimRequest &request)
{
    if (request.data.size() != kDepartmentWriteLength)
        return SimulatedDevice::errorReply(kErrorWrongParameter);
    for (int n = 0; n < kDepartments; ++n)
        departments_[size_t(n)] = request.data.mid(n * kNameField, kNameField);
    restaurantMode_ = request.byte(191) == 0xCC;
    return SimulatedDevice::ack();
}

QJsonObject SimCatalogue::save() const
{
    QJsonObject o;
    QJsonArray rates;
    for (uint16_t r : rates_)
        rates.append(int(r));
    o["rates"] = rates;
    o["changeCount"] = int(changeCount_);
    o["lastChange"] = lastChange_.isValid() ? lastChange_.toString(Qt::ISODate) : QString();
    o["letters"] = QString::fromLatin1(letters_.toHex());
    QJsonArray names;
    for (int n = 1; n <= kDepartments; ++n)
        names.append(departmentName(n));
    o["departments"] = names;
    o["restaurantMode"] = restaurantMode_;
    return o;
}

void SimCatalogue::load(const QJsonObject &o)
{
    const QJsonArray rates = o["rates"].toArray();
    for (int i = 0; i < kGroups && i < rates.size(); ++i)
        rates_[size_t(i)] = uint16_t(std::clamp(rates[i].toInt(kUndefined), 0, 0xFFFF));
    if (o.contains("changeCount"))
        changeCount_ = uint8_t(std::clamp(o["changeCount"].toInt(kNeverChanged), 0, 0xFF));
    if (o.contains("lastChange"))
        lastChange_ = QDateTime::fromString(o["lastChange"].toString(), Qt::ISODate);
    if (o.contains("letters"))
        letters_ = QByteArray::fromHex(o["letters"].toString().toLatin1());
    const QJsonArray names = o["departments"].toArray();
    for (int n = 1; n <= kDepartments && n <= names.size(); ++n)
        setDepartmentName(n, names[n - 1].toString());
    if (o.contains("restaurantMode"))
        restaurantMode_ = o["restaurantMode"].toBool();
}
