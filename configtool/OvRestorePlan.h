#pragma once

#include "configtool/OvConfigDocument.h"
#include "configtool/OvDeviceRead.h"

#include <QStringList>
#include <map>
#include <vector>

struct OvConfigOptions;

// What a restore writes onto one device: per group, in the windows' order, the rows whose
// backup value the device does not hold; the objects it skips because the device does
// not have them; and the values it refuses to send. Only writable objects the options
// select are planned.
class OvRestorePlan {
public:
    OvRestorePlan() = default;
    OvRestorePlan(const OvConfigDocument& saved, const OvConfigOptions& options, const OvGroupValues& current,
                  const OvDeviceRead& device);

    // "group / object: device value -> backup value", then one line per skipped object.
    QStringList Lines(const OvGroupValues& current) const;
    // The objects written to group, in its order.
    QStringList ObjectNames(int group) const;
    // The objects written to group that values (a read of it) hold, and those it does not.
    void Split(int group, const std::vector<QString>& values, QStringList& held, QStringList& other) const;
    // The rows of group to write, with the backup's object for each.
    const std::map<int, const OvConfigDocument::Object*>& Rows(int group) const { return Changes.at(group); }
    // The device's values of the planned rows that differ from the backup's, as
    // "object reads value".
    QStringList Mismatches(const OvGroupValues& read) const;

    std::vector<int> Groups; // with changes, in the windows' order
    QStringList Skipped;     // objects of the backup the device does not have
    QStringList Refused;     // "object: why", values that do not fit and would be written
    QStringList HeldUnfit;   // the same, for values the device holds already: nothing to send
    int Objects = 0;         // rows to write, all groups

    // What values holds for the object oid (empty for an object of no group).
    static QString ValueOf(const OvGroupValues& values, const QString& oid);

private:
    std::map<int, std::map<int, const OvConfigDocument::Object*>> Changes; // group, row: saved
};
