#pragma once
// What differs between a profile and what a device holds now, set by set.

#include "Profile.h"

#include <QString>
#include <QStringList>

#include <vector>

struct SetComparison {
    enum class State { Equal, Different, NotInProfile, NotRead };
    QString set;
    State state = State::Equal;
    // One line per differing field, "field: profile value → device value" ("address: „A“ → „B“").
    QStringList differences;
    // Articles only: every differing article number, in order (differences then holds the first few
    // with their old and new values).
    std::vector<int> articleNumbers;
};

struct ProfileComparison {
    // Every set of the profile and of the device reading, in the order of allDataSets().
    std::vector<SetComparison> sets;
    // Said once above the table, not counted as a difference: the two printers' identities when
    // they differ (a profile of another printer).
    QString identityNote;

    bool equal() const;
    // The plain-text report: one block per set, as `quorvel-cli compare` prints it.
    QString text() const;
};

// Compares what a restore would write: the writable sets present in `saved`, field by field.
// The fiscal identity and the device's own counters (remaining tax-rate changes, date of the last
// change) are not differences; a set missing from `device` is NotRead.
ProfileComparison compareProfiles(const Profile &saved, const Profile &device);
