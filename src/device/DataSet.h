#pragma once
// One data set as the command-line tool and profiles see it: its name, its JSON form, a read and a write.

#include "OpResult.h"

#include <QJsonValue>
#include <QString>

#include <functional>
#include <vector>

class Device;

class DataSet {
public:
    using Progress = std::function<void(int done, int total)>;
    using ReadDone = std::function<void(const OpResult &result, const QJsonValue &data)>;
    using WriteDone = std::function<void(const OpResult &result)>;

    virtual ~DataSet() = default;

    // The name on the command line and in profiles ("taxpayer").
    virtual QString name() const = 0;
    // False for a set that is only read (the fiscal identity is written once, in the window).
    virtual bool writable() const { return true; }
    // About how many request frames a read and a write take: the weights of a whole-device run's progress.
    virtual int readFrames() const { return 1; }
    virtual int writeFrames() const { return 1; }
    // A question to ask before writing (empty: none); the tax groups' write uses one of the
    // device's limited rate changes.
    virtual QString writeQuestion() const { return {}; }

    // Reads the set from the device. `done` is called exactly once, later, from the event loop;
    // with the set as JSON when the result is Done. `progress` (may be empty) is told n of total.
    virtual void read(Device &device, const Progress &progress, ReadDone done) const = 0;
    // Checks `data` as a stored copy (a profile) without a device: the form read gives, field limits
    // and Windows-1251; false with `error` naming the set and the field. Whatever read() gives passes;
    // write() may refuse more (rules of the device's write, such as the order of named cashiers).
    virtual bool check(const QJsonValue &data, QString &error) const = 0;
    // Checks `data` (the JSON form that read gives) and writes it. Data that fail the checks, or
    // hold characters Windows-1251 cannot store, end as Invalid with nothing sent. `done` is
    // called exactly once, later, from the event loop.
    virtual void write(Device &device, const QJsonValue &data, const Progress &progress, WriteDone done) const = 0;
};

// Every data set, in the order a whole-device run takes them:
// fiscal taxpayer clock lines logo taxgroups departments articles cashiers network parameters.
const std::vector<const DataSet *> &allDataSets();
// The set of that name, or nullptr.
const DataSet *findDataSet(const QString &name);

// Each group adds its sets, in order (DataSets.cpp calls them in the order above).
void addFiscalDataSets(std::vector<const DataSet *> &sets);
void addCatalogueDataSets(std::vector<const DataSet *> &sets);
void addMaintenanceDataSets(std::vector<const DataSet *> &sets);
