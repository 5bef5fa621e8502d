#include "configtool/OvDeviceJob.h"

#include "catalogue/OvCatalogue.h"
#include "errors/OvErrors.h"
#include "snmp/OvSNMPRequest.h"
#include "snmp/OvSnmpEngine.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QSaveFile>

namespace {

// The device's target: the options' with its address; "host:port" names a port of its own.
OvSNMPTarget targetOf(const OvConfigOptions& options, const QString& address) {
    OvSNMPTarget target = options.Target;
    target.Device.Address = address;
    const int colon = address.lastIndexOf(QLatin1Char(':'));
    bool numeric = false;
    const uint port =
        colon > 0 && address.count(QLatin1Char(':')) == 1 ? address.mid(colon + 1).toUInt(&numeric) : 0;
    if (numeric && port > 0 && port < 65536) {
        target.Device.Address = address.left(colon);
        target.Device.Port = static_cast<quint16>(port);
    }
    return target;
}

} // namespace

OvDeviceJob::OvDeviceJob(const OvConfigOptions& options, const QString& address,
                         const OvConfigDocument* saved, QObject* parent)
    : QObject(parent), Address(address), Options(options), Saved(saved), Target(targetOf(options, address)) {}

OvDeviceJob::~OvDeviceJob() = default;

std::unique_ptr<OvSNMPRequest> OvDeviceJob::NewRequest(int group) const {
    auto r = std::make_unique<OvSNMPRequest>();
    r->Target = Target;
    r->VarList = OvSNMPVarList(ConfigGroups[group].Table, SVT_SV, 0);
    return r;
}

void OvDeviceJob::Start() {
    Read();
}

// Reads groups from `group` on into `into`, one request at a time; then goes on with `then`.
// Each next step is queued, so that no request is replaced inside its own completion.
void OvDeviceJob::ReadGroups(int group, Values* into, void (OvDeviceJob::*then)()) {
    if (group == ConfigGroupCount) {
        (this->*then)();
        return;
    }
    Request = NewRequest(group);
    try {
        Request->GetAsync(
            this,
            [this, group, into, then](const OvSNMPError& e, OvSNMPVarList& list) {
                if (e.Code != 0) {
                    const QString message = e.Message;
                    QMetaObject::invokeMethod(
                        this,
                        [this, group, message] {
                            Fail(QStringLiteral("error reading %1: %2")
                                     .arg(QLatin1String(ConfigGroups[group].Title), message));
                        },
                        Qt::QueuedConnection);
                    return;
                }
                std::vector<QString>& values = (*into)[static_cast<size_t>(group)];
                values.clear();
                for (int i = 0; i < list.Count(); ++i)
                    values.push_back(list.Item(i)->Value);
                QMetaObject::invokeMethod(
                    this, [this, group, into, then] { ReadGroups(group + 1, into, then); },
                    Qt::QueuedConnection);
            },
            true);
    } catch (const OvException& e) {
        Fail(QStringLiteral("error: ") + e.message());
    }
}

void OvDeviceJob::Read() {
    ReadGroups(0, &Current, &OvDeviceJob::ReadDone);
}

void OvDeviceJob::ReadDone() {
    switch (Options.Cmd) {
    case OvConfigOptions::Command::Backup:
        Backup();
        break;
    case OvConfigOptions::Command::Diff:
        Diff();
        break;
    default:
        Plan();
        break;
    }
}

QString OvDeviceJob::CurrentValue(const QString& oid) const {
    const OvCatalogueEntry e = OvCatalogueEntry::ByOid(oid);
    if (!e.Found())
        return QString();
    return Current[static_cast<size_t>(e.Group)][static_cast<size_t>(e.Row)];
}

void OvDeviceJob::Backup() {
    OvConfigDocument d;
    d.Address = Address;
    d.Time = QDateTime::currentDateTime().toString(Qt::ISODate);
    for (int g = 0; g < ConfigGroupCount; ++g) {
        int r = 0;
        for (const TSNMPVarInfo* info = ConfigGroups[g].Table; info->Oid; ++info, ++r) {
            const QString name = QString::fromLatin1(info->Name);
            const OvCatalogueEntry e = OvCatalogueEntry::ByOid(QString::fromLatin1(info->Oid));
            const bool identity = OvConfigDocument::IdentityNames().contains(name);
            if (!e.Writable() && !identity)
                continue;
            const QString value = Current[static_cast<size_t>(g)][static_cast<size_t>(r)];
            d.Objects.push_back({QString::fromLatin1(ConfigGroups[g].Title), name,
                                 QString::fromLatin1(info->Oid), OvSyntaxName(info->Syntax), value});
            if (name == QLatin1String("dot11manufacturerProductName"))
                d.Product = value;
            else if (name == QLatin1String("dot11manufacturerProductVersion"))
                d.Version = value;
            else if (name == QLatin1String("dot11StationID"))
                d.Mac = value;
        }
    }
    const QByteArray json = d.ToJson();
    if (Options.File.isEmpty()) {
        Lines << QString::fromUtf8(json).trimmed();
        Finish(QStringLiteral("backed up %1 objects").arg(d.Objects.size()), 0);
        return;
    }
    const QString file = Options.FileFor(Address);
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(json) != json.size() || !out.commit()) {
        Fail(QStringLiteral("cannot write %1: %2").arg(file, out.errorString()));
        return;
    }
    Finish(QStringLiteral("backed up %1 objects to %2").arg(d.Objects.size()).arg(file), 0);
}

void OvDeviceJob::Diff() {
    int differing = 0;
    for (const OvConfigDocument::Object& o : Saved->Objects) {
        const QString now = CurrentValue(o.Oid);
        if (now == o.Value)
            continue;
        ++differing;
        Lines << QStringLiteral("%1: %2 -> %3").arg(o.Name, o.Value, now);
    }
    if (differing == 0)
        Finish(QStringLiteral("same as the backup"), 0);
    else
        Finish(QStringLiteral("%1 objects differ from the backup").arg(differing), 1);
}

void OvDeviceJob::Plan() {
    // Another device's settings are not put onto this one unless asked (cloning).
    const QString mac = CurrentValue(QString::fromLatin1(StationConfigTable[0].Oid)); // dot11StationID
    if (!Options.AllowOtherDevice && !Saved->Mac.isEmpty() && mac != Saved->Mac) {
        Fail(QStringLiteral("refused: the backup is of another device (MAC %1, this one %2); "
                            "--allow-other-device clones it")
                 .arg(Saved->Mac, mac));
        return;
    }
    ChangedGroups.clear();
    for (const OvConfigDocument::Object& o : Saved->Objects) {
        const OvCatalogueEntry e = OvCatalogueEntry::ByOid(o.Oid);
        if (!e.Writable())
            continue;
        const QString now = CurrentValue(o.Oid);
        if (now == o.Value)
            continue;
        Lines << QStringLiteral("%1 / %2: %3 -> %4")
                     .arg(QLatin1String(ConfigGroups[e.Group].Title), o.Name, now, o.Value);
        if (std::find(ChangedGroups.begin(), ChangedGroups.end(), e.Group) == ChangedGroups.end())
            ChangedGroups.push_back(e.Group);
    }
    std::sort(ChangedGroups.begin(), ChangedGroups.end()); // the windows' order
    if (ChangedGroups.empty()) {
        Finish(QStringLiteral("nothing to restore: the device holds the backup's values"), 0);
        return;
    }
    if (Options.DryRun) {
        Finish(QStringLiteral("dry run: %1 objects in %2 groups would be written")
                   .arg(Lines.size())
                   .arg(ChangedGroups.size()),
               0);
        return;
    }
    WriteGroup(0);
}

void OvDeviceJob::WriteGroup(size_t next) {
    if (next == ChangedGroups.size()) {
        ReadBack();
        return;
    }
    const int group = ChangedGroups[next];
    Request = NewRequest(group);
    OvSNMPVarList& list = Request->VarList;
    for (int i = 0; i < list.Count(); ++i) {
        OvSNMPVarItem* item = list.Item(i);
        const OvConfigDocument::Object* saved = Saved->Find(item->Oid);
        const OvCatalogueEntry e = OvCatalogueEntry::ByOid(item->Oid);
        const QString now = Current[static_cast<size_t>(group)][static_cast<size_t>(i)];
        if (saved && e.Writable() && saved->Value != now)
            item->Value = saved->Value;
        else
            item->Access |= OvAccess::invalid; // only what differs is written
    }
    auto failed = [this, group](const QString& message) {
        QStringList notWritten;
        for (int g : ChangedGroups)
            if (!Written.contains(QLatin1String(ConfigGroups[g].Title)))
                notWritten << QLatin1String(ConfigGroups[g].Title);
        Fail(QStringLiteral("error writing %1: %2; written: %3; not written: %4")
                 .arg(QLatin1String(ConfigGroups[group].Title), message,
                      Written.isEmpty() ? QStringLiteral("none") : Written.join(QStringLiteral(", ")),
                      notWritten.join(QStringLiteral(", "))));
    };
    try {
        Request->SetAsync(
            this,
            [this, group, next, failed](const OvSNMPError& e, OvSNMPVarList&) {
                const QString message = e.Message;
                const int code = e.Code;
                QMetaObject::invokeMethod(
                    this,
                    [this, group, next, failed, code, message] {
                        if (code != 0) {
                            failed(message);
                            return;
                        }
                        Written << QLatin1String(ConfigGroups[group].Title);
                        WriteGroup(next + 1);
                    },
                    Qt::QueuedConnection);
            },
            false);
    } catch (const OvException& e) {
        failed(e.message());
    }
}

void OvDeviceJob::ReadBack() {
    ReadGroups(0, &After, &OvDeviceJob::Confirm);
}

void OvDeviceJob::Confirm() {
    int written = 0;
    QStringList wrong;
    for (const OvConfigDocument::Object& o : Saved->Objects) {
        const OvCatalogueEntry e = OvCatalogueEntry::ByOid(o.Oid);
        if (!e.Writable() || CurrentValue(o.Oid) == o.Value)
            continue;
        ++written;
        const QString now = After[static_cast<size_t>(e.Group)][static_cast<size_t>(e.Row)];
        if (now != o.Value)
            wrong << QStringLiteral("%1 reads %2").arg(o.Name, now);
    }
    if (!wrong.isEmpty()) {
        Fail(QStringLiteral("written, but the device does not hold the backup's values: ") +
             wrong.join(QStringLiteral("; ")));
        return;
    }
    Finish(
        QStringLiteral("restored %1 objects in %2 groups, read back").arg(written).arg(ChangedGroups.size()),
        0);
}

void OvDeviceJob::Fail(const QString& summary) {
    Finish(summary, 1);
}

void OvDeviceJob::Finish(const QString& summary, int code) {
    // Its socket goes now: a fleet holds only the sockets of the devices in hand.
    if (OvSnmpEngine* engine = TSNMPSession::Engine())
        engine->Release(Target);
    Summary = summary;
    ExitCode = code;
    Q_EMIT Finished();
}

OvJobRunner::OvJobRunner(std::vector<OvDeviceJob*> jobs, int inFlight)
    : Jobs(std::move(jobs)), InFlight(inFlight) {}

int OvJobRunner::Run() {
    QEventLoop loop;
    for (OvDeviceJob* job : Jobs)
        connect(job, &OvDeviceJob::Finished, this, [this, &loop] {
            --Running;
            if (Next < Jobs.size())
                StartNext();
            else if (Running == 0)
                loop.quit();
        });
    if (Jobs.empty())
        return 0;
    while (Running < InFlight && Next < Jobs.size())
        StartNext();
    if (Running > 0)
        loop.exec();
    int worst = 0;
    for (OvDeviceJob* job : Jobs)
        worst = std::max(worst, job->ExitCode);
    return worst;
}

void OvJobRunner::StartNext() {
    OvDeviceJob* job = Jobs[Next++];
    ++Running;
    QMetaObject::invokeMethod(job, &OvDeviceJob::Start, Qt::QueuedConnection);
}
