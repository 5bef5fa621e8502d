#pragma once

#include "catalogue/OvCatalogue.h"
#include "snmp/OvSNMPTarget.h"

#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <set>
#include <utility>
#include <vector>

class OvSNMPRequest;
class OvSNMPVarList;
class QObject;

// What a device holds, per configuration group and row, each value in its canonical
// spelling; empty where the device does not have the object.
using OvGroupValues = std::array<std::vector<QString>, ConfigGroupCount>;
// An object by its configuration group and row.
using OvObjectAt = std::pair<int, int>;

// Reads every configuration group of one device: one GET for all, or, when the agent finds
// the answer too big, GETs of half as many objects until it takes them (remembered for the
// device's later reads). An object the device does not have (another
// firmware or device image) is noted and the read is sent again without it, so that
// everything else is still read.
class OvDeviceRead {
public:
    // Runs a step from the event loop, so that no request is replaced inside its own
    // completion (and not at all once the caller has ended).
    using Later = std::function<void(std::function<void()>)>;
    // what: the object the device named, or "the device" when a GET of many failed whole.
    using Failure = std::function<void(const QString& what, const QString& message)>;

    // Answers reach the read only while context lives.
    OvDeviceRead(const OvSNMPTarget& target, QObject* context, Later later);
    ~OvDeviceRead();

    // Reads into `into`, then runs done, or failed with what could not be read.
    // Objects found lacking by an earlier read are not asked for again.
    void Start(OvGroupValues* into, std::function<void()> done, Failure failed);
    bool Lacks(int group, int row) const { return Lacking.count({group, row}) > 0; }
    // A read of one group, the objects the device lacks left out.
    std::unique_ptr<OvSNMPRequest> GroupRequest(int group) const;
    // Lets go of the request unless its answer is still awaited (destroying it would wait).
    void Release();
    // Gives the device up: an answer still on its way is not waited for.
    void Abandon();

    // What the device answered for group, from item first of list on.
    static std::vector<QString> ValuesOf(int group, OvSNMPVarList& list, int first);

private:
    void ReadAll();
    void ReadNext();
    static QString ValueAt(int group, int row, OvSNMPVarList& list, int item);
    // Sends Request; a missing object is noted and `again` runs, success runs `store`.
    void Send(std::function<void(OvSNMPVarList&)> store, std::function<void()> again,
              std::function<void(int item, int code, const QString& message)> failed);
    // The object of the item-th entry of a request of groups, in order.
    static OvObjectAt ObjectOf(const std::vector<int>& groups, int item);
    std::unique_ptr<OvSNMPRequest> NewRequest(const std::vector<int>& groups) const;

    const OvSNMPTarget Target;
    QObject* Context;
    Later RunLater;
    std::unique_ptr<OvSNMPRequest> Request; // the one outstanding request
    std::vector<int> Groups;                // those Request reads
    std::set<OvObjectAt> Lacking;
    size_t Batch = 0; // the most objects the device takes in one GET, once it said; 0: all
    size_t Next = 0;  // the first object ReadNext reads, of those the device has
    OvGroupValues* Into = nullptr;
    std::function<void()> Done;
    Failure Failed;
};
