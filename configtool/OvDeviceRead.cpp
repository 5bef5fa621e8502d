#include "configtool/OvDeviceRead.h"

#include "configtool/OvConfigDocument.h"
#include "errors/OvErrors.h"
#include "snmp/OvSNMPRequest.h"

namespace {

int rowsOf(int group) {
    int rows = 0;
    while (ConfigGroups[group].Table[rows].Oid)
        ++rows;
    return rows;
}

// The item that the binding-th binding sent (1-based) stands for, or -1: items left out
// were not sent.
int itemOfBinding(const OvSNMPVarList& list, int binding) {
    for (int i = 0, sent = 0; i < list.Count(); ++i)
        if (list.IsReadable(i) && ++sent == binding)
            return i;
    return -1;
}

} // namespace

OvDeviceRead::OvDeviceRead(const OvSNMPTarget& target, QObject* context, Later later)
    : Target(target), Context(context), RunLater(std::move(later)) {}

OvDeviceRead::~OvDeviceRead() = default;

void OvDeviceRead::Start(OvGroupValues* into, std::function<void()> done, Failure failed) {
    Into = into;
    Done = std::move(done);
    Failed = std::move(failed);
    ReadAll();
}

void OvDeviceRead::Release() {
    if (Request && Request->Outstanding == 0)
        Request.reset();
}

void OvDeviceRead::Abandon() {
    if (Request)
        Request->LeaveOutstanding();
}

OvObjectAt OvDeviceRead::ObjectOf(const std::vector<int>& groups, int item) {
    for (int g : groups) {
        const int rows = rowsOf(g);
        if (item < rows)
            return {g, item};
        item -= rows;
    }
    return {groups.empty() ? 0 : groups.front(), -1}; // no object named: the first group
}

std::unique_ptr<OvSNMPRequest> OvDeviceRead::NewRequest(const std::vector<int>& groups) const {
    auto r = std::make_unique<OvSNMPRequest>();
    r->Target = Target;
    r->VarList = OvSNMPVarList(ConfigGroups[groups.front()].Table, SVT_SV, 0);
    for (size_t i = 1; i < groups.size(); ++i)
        r->VarList.AppendTable(ConfigGroups[groups[i]].Table);
    for (int i = 0; i < r->VarList.Count(); ++i)
        if (Lacking.count(ObjectOf(groups, i)))
            r->VarList.Item(i)->Access |= OvAccess::invalid; // not asked for again
    return r;
}

std::unique_ptr<OvSNMPRequest> OvDeviceRead::GroupRequest(int group) const {
    return NewRequest({group});
}

std::vector<QString> OvDeviceRead::ValuesOf(int group, OvSNMPVarList& list, int first) {
    std::vector<QString> values;
    for (int r = 0; ConfigGroups[group].Table[r].Oid; ++r) {
        if (!list.IsReadable(first + r)) {
            values.emplace_back(); // not on the device
            continue;
        }
        const QString& text = list.Item(first + r)->Value;
        QString canonical;
        const OvCatalogueEntry e = OvCatalogueEntry::At(group, r);
        values.push_back(e.Canonical(text, canonical) ? canonical : text);
    }
    return values;
}

void OvDeviceRead::Send(std::function<void(OvSNMPVarList&)> store, std::function<void()> again,
                        std::function<void(int item, int code, const QString& message)> failed) {
    try {
        Request->GetAsync(
            Context,
            [this, store, again, failed](const OvSNMPError& e, OvSNMPVarList& list) {
                const int item = itemOfBinding(list, e.ErrorIndex);
                if (e.Code == OvCode::NoSuchName && item >= 0) {
                    // Another firmware or device image: the rest is read without it.
                    Lacking.insert(ObjectOf(Groups, item));
                    RunLater(again);
                    return;
                }
                if (e.Code != 0) {
                    const int code = e.Code;
                    const QString message = e.Message;
                    RunLater([failed, item, code, message] { failed(item, code, message); });
                    return;
                }
                store(list);
            },
            true);
    } catch (const OvException& e) {
        failed(-1, e.code(), e.message());
    }
}

void OvDeviceRead::ReadAll() {
    Groups.clear();
    for (int g = 0; g < ConfigGroupCount; ++g)
        Groups.push_back(g);
    Request = NewRequest(Groups);
    Send(
        [this](OvSNMPVarList& list) {
            for (int g = 0, first = 0; g < ConfigGroupCount; ++g) {
                (*Into)[static_cast<size_t>(g)] = ValuesOf(g, list, first);
                first += rowsOf(g);
            }
            RunLater(Done);
        },
        [this] { ReadAll(); },
        [this](int item, int code, const QString& message) {
            if (code == OvCode::TooBig)
                ReadGroup(0); // one GET per group instead
            else
                Failed(ObjectOf(Groups, item).first, message);
        });
}

// Reads groups from `group` on, one request at a time.
void OvDeviceRead::ReadGroup(int group) {
    if (group == ConfigGroupCount) {
        Done();
        return;
    }
    Groups = {group};
    Request = NewRequest(Groups);
    Send(
        [this, group](OvSNMPVarList& list) {
            (*Into)[static_cast<size_t>(group)] = ValuesOf(group, list, 0);
            RunLater([this, group] { ReadGroup(group + 1); });
        },
        [this, group] { ReadGroup(group); },
        [this, group](int, int, const QString& message) { Failed(group, message); });
}
