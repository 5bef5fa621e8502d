#pragma once

#include "configtool/OvConfigDocument.h"
#include "configtool/OvDeviceRead.h"

#include <QStringList>
#include <map>
#include <vector>

struct OvConfigOptions;

// What a restore writes onto one device: per group, in the windows' order, the rows whose
// backup value the device does not hold; and the objects it skips because the device does
// not have them. Only writable objects the options select are planned.
class OvRestorePlan {
public:
    OvRestorePlan() = default;
    OvRestorePlan(const OvConfigDocument& saved, const OvConfigOptions& options, const OvGroupValues& current,
                  const OvDeviceRead& device);

    // "group / object: device value -> backup value", then one line per skipped object.
    QStringList Lines(const OvGroupValues& current) const;
    // The objects written to group, in its order.
    QStringList ObjectNames(int group) const;
    // Whether values (a read of group) hold the backup's values for the rows written.
    bool Holds(int group, const std::vector<QString>& values) const;
    // The rows of group to write, with the backup's object for each.
    const std::map<int, const OvConfigDocument::Object*>& Rows(int group) const { return Changes.at(group); }
    // The device's values of the planned rows that differ from the backup's, as
    // "object reads value".
    QStringList Mismatches(const OvGroupValues& read) const;

    std::vector<int> Groups; // with changes, in the windows' order
    QStringList Skipped;     // objects of the backup the device does not have
    int Objects = 0;         // rows to write, all groups

    // What values holds for the object oid (empty for an object of no group).
    static QString ValueOf(const OvGroupValues& values, const QString& oid);

private:
    std::map<int, std::map<int, const OvConfigDocument::Object*>> Changes; // group, row: saved
};
