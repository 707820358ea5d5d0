#pragma once
// Simulated device's commands and state for tax groups and departments.

#include "SimulatedDevice.h"

#include <QDateTime>

#include <array>
#include <functional>

class SimCatalogue : public SimModule {
public:
    static constexpr int kGroups = 9;
    static constexpr int kDepartments = 10;
    static constexpr int kNameField = 19;
    static constexpr int kMaxChanges = 30;
    static constexpr uint8_t kNeverChanged = 0xFF;
    // Error codes of the device's refusals.
    static constexpr uint8_t kErrorWrongParameter = 16;
    static constexpr uint8_t kErrorRatesFull = 40;
    static constexpr uint8_t kErrorSameRates = 70;

    SimCatalogue();

    QString name() const override { return QStringLiteral("catalogue"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
    QJsonObject save() const override;
    void load(const QJsonObject &state) override;

    // Rate of group 0..8 in hundredths of a percent; 10000 and above (0xFFFF) = undefined.
    uint16_t rate(int group) const { return rates_.at(size_t(group)); }
    void setRate(int group, uint16_t value) { rates_.at(size_t(group)) = value; }
    // Number of rate changes so far; 0xFF = never changed.
    uint8_t changeCount() const { return changeCount_; }
    void setChangeCount(uint8_t count) { changeCount_ = count; }
    QDateTime lastChange() const { return lastChange_; }
    void setLastChange(const QDateTime &when) { lastChange_ = when; }
    // Letters the last write carried (Windows-1251 bytes).
    QByteArray letters() const { return letters_; }

    // Name field of department 1..10 (19 bytes as stored) and its text.
    QByteArray departmentField(int n) const { return departments_.at(size_t(n - 1)); }
    QString departmentName(int n) const;
    void setDepartmentName(int n, const QString &name);
    bool restaurantMode() const { return restaurantMode_; }
    void setRestaurantMode(bool on) { restaurantMode_ = on; }

    // The device's clock for the time stamp of a change (the PC clock unless set).
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

private:
    QByteArray readTaxGroups() const;
    QByteArray writeTaxGroups(const SimRequest &request);
    QByteArray readDepartments() const;
    QByteArray writeDepartments(const SimRequest &request);

    std::array<uint16_t, kGroups> rates_{};
    uint8_t changeCount_ = kNeverChanged;
    QDateTime lastChange_;
    QByteArray letters_;
    std::array<QByteArray, kDepartments> departments_;
    bool restaurantMode_ = false;
    std::function<QDateTime()> clock_;
};
