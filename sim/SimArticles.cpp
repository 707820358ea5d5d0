#include "SimArticles.h"

#include "Cp1251.h"

#include <QJsonArray>

#include <cstring>

namespace {
constexpr uint8_t kReadArticle = 0x80;
constexpr uint8_t kWriteArticle = 0x85;
constexpr uint8_t kReadCashier = 0x90;
constexpr uint8_t kWriteCashier = 0x95;
constexpr int kDepartmentOffset = 35;
constexpr int kTaxOffset = 41;
constexpr int kCashierField = 33;

void putNumber(uint8_t *p, int n)
{
    p[0] = uint8_t(n & 0xFF);
    p[1] = uint8_t((n >> 8) & 0xFF);
}

QByteArray numberBytes(int n)
{
    QByteArray b(2, '\0');
    putNumber(reinterpret_cast<uint8_t *>(b.data()), n);
    return b;
}
} // namespace

SimArticles::SimArticles() = default;

namespace {
void putBlank(uint8_t *p, int n)
{
    std::memset(p, 0, SimArticles::kRecordSize);
    putNumber(p, n);
    std::memset(p + 42, 0xFF, 8); // no barcode, and the last reserved byte
}
} // namespace

QByteArray SimArticles::blankArticle(int n)
{
    QByteArray r(kRecordSize, '\0');
    putBlank(reinterpret_cast<uint8_t *>(r.data()), n);
    return r;
}

void SimArticles::clearArticles()
{
    records_.clear();
}

void SimArticles::storeSlots()
{
    if (!records_.empty())
        return;
    records_.resize(size_t(kArticles) * kRecordSize);
    for (int n = 1; n <= kArticles; ++n)
        putBlank(slot(n), n);
}

QByteArray SimArticles::article(int n) const
{
    if (n < 1 || n > kArticles)
        return {};
    if (records_.empty())
        return blankArticle(n);
    return QByteArray(reinterpret_cast<const char *>(slot(n)), kRecordSize);
}

bool SimArticles::setArticle(int n, const QByteArray &record)
{
    if (n < 1 || n > kArticles || record.size() != kRecordSize)
        return false;
    storeSlots();
    std::memcpy(slot(n), record.constData(), kRecordSize);
    putNumber(slot(n), n);
    return true;
}

std::optional<QByteArray> SimArticles::cashier(int k) const
{
    if (k < 1 || k > kCashiers)
        return std::nullopt;
    return cashiers_[size_t(k - 1)];
}

void SimArticles::setCashier(int k, const std::optional<QByteArray> &name)
{
    if (k < 1 || k > kCashiers)
        return;
    cashiers_[size_t(k - 1)] = name ? std::optional<QByteArray>(name->left(kCashierNameBytes)) : std::nullopt;
}

bool SimArticles::handle(SimulatedDevice &, const SimRequest &request, QByteArray &reply)
{
    if (request.longFrame)
        return false;
    switch (request.code) {
    case kReadArticle:
        reply = readArticle(request);
        return true;
    case kWriteArticle:
        reply = writeArticle(request);
        return true;
    case kReadCashier:
        reply = readCashier(request);
        return true;
    case kWriteCashier:
        reply = writeCashier(request);
        return true;
    default:
        return false;
    }
}

QByteArray SimArticles::readArticle(const SimRequest &request)
{
    if (request.data.size() < 2)
        return SimulatedDevice::errorReply(kWrongParameter);
    const int asked = request.byte(0) | (request.byte(1) << 8);
    if (asked < 1 || asked > kArticles)
        return SimulatedDevice::errorReply(kWrongParameter);
    ++articleReads_;
    // The first article the device keeps at or after the one asked for.
    const int k = (asked - 1 + step_ - 1) / step_;
    const long long n = 1 + (long long)k * step_;
    if (n > kArticles)
        return SimulatedDevice::shortReply(kReadArticle, blankArticle(kPastLastArticle));
    return SimulatedDevice::shortReply(kReadArticle, article(int(n)));
}

QByteArray SimArticles::writeArticle(const SimRequest &request)
{
    if (request.data.size() < kRecordSize)
        return SimulatedDevice::errorReply(kWrongParameter);
    const int n = request.byte(0) | (request.byte(1) << 8);
    if (n < 1 || n > kArticles || request.byte(kDepartmentOffset) > 9 || request.byte(kTaxOffset) > 8)
        return SimulatedDevice::errorReply(kWrongParameter);
    ++articleWrites_;
    setArticle(n, request.data.left(kRecordSize));
    // The next number the device keeps after the one written: a chain may start at any number,
    // on or off the step's grid.
    const long long next = 1 + ((long long)n - 1) / step_ * step_ + step_;
    return SimulatedDevice::shortReply(kWriteArticle, numberBytes(next > kArticles ? kPastLastArticle : int(next)));
}

QByteArray SimArticles::readCashier(const SimRequest &request)
{
    const int k = request.byte(0);
    if (request.data.isEmpty() || k < 1 || k > kCashiers)
        return SimulatedDevice::errorReply(kWrongParameter);
    ++cashierReads_;
    QByteArray data(1 + kCashierNameBytes, '\0');
    data[0] = char(k);
    if (const auto &name = cashiers_[size_t(k - 1)])
        data.replace(1, name->size(), *name);
    else
        data[1] = data[2] = char(0xFF);
    return SimulatedDevice::shortReply(kReadCashier, data);
}

QByteArray SimArticles::writeCashier(const SimRequest &request)
{
    const int k = request.byte(0);
    if (request.data.size() < 1 + kCashierField || k < 1 || k > kCashiers)
        return SimulatedDevice::errorReply(kWrongParameter);
    ++cashierWrites_;
    QByteArray name = request.data.mid(1, kCashierNameBytes);
    const qsizetype zero = name.indexOf('\0');
    if (zero >= 0)
        name.truncate(zero);
    cashiers_[size_t(k - 1)] = name;
    // The last cashier is acknowledged without asking for another one, so the chain ends quietly.
    if (k == kCashiers)
        return SimulatedDevice::ack();
    return SimulatedDevice::shortReply(kWriteCashier, QByteArray(1, char(k + 1)));
}

QJsonObject SimArticles::save() const
{
    // Only the slots that differ from the blank record are kept, each as [number, base64 record].
    QJsonArray articles;
    for (int n = 1; n <= kArticles; ++n) {
        const QByteArray r = article(n);
        if (r != blankArticle(n))
            articles.append(QJsonArray{n, QString::fromLatin1(r.toBase64())});
    }
    QJsonArray cashiers;
    for (const auto &c : cashiers_)
        cashiers.append(c ? QJsonValue(Cp1251::decode(*c)) : QJsonValue());
    return QJsonObject{{"articles", articles}, {"cashiers", cashiers}};
}

void SimArticles::load(const QJsonObject &state)
{
    if (state.contains("articles")) {
        clearArticles();
        for (const QJsonValue &v : state["articles"].toArray()) {
            const QJsonArray entry = v.toArray();
            if (entry.size() != 2)
                continue;
            setArticle(entry.at(0).toInt(), QByteArray::fromBase64(entry.at(1).toString().toLatin1()));
        }
    }
    if (state.contains("cashiers")) {
        const QJsonArray cashiers = state["cashiers"].toArray();
        for (int k = 1; k <= kCashiers; ++k) {
            const QJsonValue v = k - 1 < cashiers.size() ? cashiers.at(k - 1) : QJsonValue();
            setCashier(k, v.isString() ? std::optional<QByteArray>(Cp1251::encode(v.toString())) : std::nullopt);
        }
    }
}
