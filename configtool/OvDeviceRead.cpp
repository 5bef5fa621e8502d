#include "configtool/OvDeviceRead.h"

#include "configtool/OvConfigDocument.h"
#include "configtool/OvOpenFiles.h"
#include "errors/OvErrors.h"
#include "snmp/OvSNMPRequest.h"

namespace {

int rowsOf(int group) {
    int rows = 0;
    while (ConfigGroups[group].Table[rows].Oid)
        ++rows;
    return rows;
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

QString OvDeviceRead::ValueAt(int group, int row, OvSNMPVarList& list, int item) {
    const QString& text = list.Item(item)->Value;
    QString canonical;
    return OvCatalogueEntry::At(group, row).Canonical(text, canonical) ? canonical : text;
}

std::vector<QString> OvDeviceRead::ValuesOf(int group, OvSNMPVarList& list, int first) {
    std::vector<QString> values;
    for (int r = 0; ConfigGroups[group].Table[r].Oid; ++r)
        values.push_back(list.IsReadable(first + r) ? ValueAt(group, r, list, first + r)
                                                    : QString()); // not on the device
    return values;
}

void OvDeviceRead::Send(std::function<void(OvSNMPVarList&)> store, std::function<void()> again,
                        std::function<void(int item, int code, const QString& message)> failed) {
    try {
        Request->GetAsync(
            Context,
            [this, store, again, failed](const OvSNMPError& e, OvSNMPVarList& list) {
                const int item = list.ReadItemOfBinding(e.ErrorIndex);
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
        // The library says "bad address" when it cannot open the socket at all.
        const QString shortage =
            e.code() == OvCode::InvalidAddress ? OvOpenFiles::SocketShortage() : QString();
        failed(-1, e.code(), shortage.isEmpty() ? e.message() : shortage);
    }
}

void OvDeviceRead::ReadAll() {
    for (int g = 0; g < ConfigGroupCount; ++g)
        (*Into)[static_cast<size_t>(g)].assign(static_cast<size_t>(rowsOf(g)), QString());
    Next = 0;
    ReadNext();
}

// Reads the objects from the Next-th of those the device has on, as many as it takes in one
// GET: all at first, half as many after each tooBig.
void OvDeviceRead::ReadNext() {
    std::vector<OvObjectAt> objects;
    for (int g = 0; g < ConfigGroupCount; ++g)
        for (int r = 0; ConfigGroups[g].Table[r].Oid; ++r)
            if (!Lacks(g, r))
                objects.emplace_back(g, r);
    if (Next >= objects.size()) {
        Done();
        return;
    }
    const size_t size = std::min(objects.size() - Next, Batch > 0 ? Batch : objects.size());
    const std::set<OvObjectAt> chunk(objects.begin() + static_cast<std::ptrdiff_t>(Next),
                                     objects.begin() + static_cast<std::ptrdiff_t>(Next + size));
    Groups.clear();
    for (const auto& [g, r] : chunk)
        if (Groups.empty() || Groups.back() != g)
            Groups.push_back(g);
    Request = NewRequest(Groups);
    for (int i = 0; i < Request->VarList.Count(); ++i)
        if (!chunk.count(ObjectOf(Groups, i)))
            Request->VarList.Item(i)->Access |= OvAccess::invalid; // another GET's
    Send(
        [this, size](OvSNMPVarList& list) {
            for (int i = 0; i < list.Count(); ++i)
                if (list.IsReadable(i)) {
                    const auto [g, r] = ObjectOf(Groups, i);
                    (*Into)[static_cast<size_t>(g)][static_cast<size_t>(r)] = ValueAt(g, r, list, i);
                }
            Next += size;
            RunLater([this] { ReadNext(); });
        },
        [this] { ReadNext(); },
        [this, size](int item, int code, const QString& message) {
            if (code == OvCode::TooBig && size > 1) {
                Batch = (size + 1) / 2; // kept for the device's later reads
                ReadNext();
            } else {
                const auto [g, r] = ObjectOf(Groups, item);
                Failed(item >= 0 && r >= 0 ? QString::fromLatin1(ConfigGroups[g].Table[r].Name)
                                           : QStringLiteral("the device"),
                       message);
            }
        });
}
