#pragma once
// Simulated device's commands and state for the 60000 article slots and the 64 cashiers.

#include "SimulatedDevice.h"

#include <QByteArray>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class SimArticles : public SimModule {
public:
    static constexpr int kArticles = 60000;
    static constexpr int kRecordSize = 50;
    static constexpr int kCashiers = 64;
    static constexpr int kCashierNameBytes = 32;
    // The number a reply carries when the device has no further article.
    static constexpr int kPastLastArticle = kArticles + 1;
    // Error code of a refused request (wrong parameter).
    static constexpr uint8_t kWrongParameter = 16;

    SimArticles();

    QString name() const override { return QStringLiteral("articles"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
    QJsonObject save() const override;
    void load(const QJsonObject &state) override;

    // Numbering step: the device keeps articles 1, 1 + step, 1 + 2·step ... A read request for n is
    // answered with the first of them at or after n; a write of any n is stored and asks next for
    // the first kept number after n. Step 1 (the default) answers every number as asked.
    int articleStep() const { return step_; }
    void setArticleStep(int step) { step_ = step < 1 ? 1 : step; }

    // The stored 50-byte record of article n (1..60000); an empty slot holds the blank record.
    QByteArray article(int n) const;
    // Stores a 50-byte record in slot n (its number field is set to n); false for a bad slot or size.
    bool setArticle(int n, const QByteArray &record);
    // The blank record of an article the device has never been given.
    static QByteArray blankArticle(int n);
    // Every slot back to the blank record.
    void clearArticles();
    // Every slot's record, made when the first article is stored (until then every slot holds its
    // blank record), so that a new device costs little. A printer that runs as a process of its own
    // makes them at start, so that its first write is answered as fast as the others (making them
    // takes some 15 ms, which a real printer never spends).
    void storeSlots();

    // Name bytes (Windows-1251) of cashier k (1..64), or nothing when the name is undefined.
    std::optional<QByteArray> cashier(int k) const;
    void setCashier(int k, const std::optional<QByteArray> &name);

    // Requests answered since start (for tests and benchmarks).
    int articleReads() const { return articleReads_; }
    int articleWrites() const { return articleWrites_; }
    int cashierReads() const { return cashierReads_; }
    int cashierWrites() const { return cashierWrites_; }

private:
    QByteArray readArticle(const SimRequest &request);
    QByteArray writeArticle(const SimRequest &request);
    QByteArray readCashier(const SimRequest &request);
    QByteArray writeCashier(const SimRequest &request);
    uint8_t *slot(int n) { return &records_[size_t(n - 1) * kRecordSize]; }
    const uint8_t *slot(int n) const { return &records_[size_t(n - 1) * kRecordSize]; }

    std::vector<uint8_t> records_;
    std::array<std::optional<QByteArray>, kCashiers> cashiers_;
    int step_ = 1;
    int articleReads_ = 0;
    int articleWrites_ = 0;
    int cashierReads_ = 0;
    int cashierWrites_ = 0;
};
